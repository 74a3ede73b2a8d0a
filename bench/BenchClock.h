// Timing helpers shared by the benchmark programs.
#pragma once
#include <windows.h>
#include <algorithm>
#include <vector>

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

// Microseconds per call of Round over Rounds calls, the best of Tries runs.
template <class F>
double MicrosecondsPerRound(int Rounds, F&& Round, int Tries = 5)
{
    return Best(Tries, [&] {
        const double start = Seconds();
        for (int i = 0; i < Rounds; ++i)
            Round();
        return (Seconds() - start) * 1e6 / Rounds;
    });
}

// The middle of several samples: unlike the best, it does not follow one
// lucky sample, and unlike a single sample, not one unlucky one.
inline double Median(std::vector<double> samples)
{
    auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

} // namespace bench
