// Timing helpers shared by the benchmark programs.
#pragma once
#include <windows.h>
#include <algorithm>

namespace bench {

// Seconds on the performance counter.
inline double Seconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// The best of several tries: the machine may be busy with other work.
template <class F>
double Best(int tries, F measure)
{
    double best = measure();
    for (int i = 1; i < tries; ++i)
        best = std::min(best, measure());
    return best;
}

} // namespace bench
