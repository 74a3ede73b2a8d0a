// What a filter costs: MatchFilterExpression of "*abc*" (no case) over
// 100,000 cell texts, against std::wstring::find of "ABC" on the same texts
// upper-cased the same way, and the ratio of the two (the filter also reads
// operators and comparisons, so a small multiple is expected).
//
// Run: scripts/build x86_64 bench_FilterBench, then under the project's Wine
// prefix: wine build/x86_64/bench/bench_FilterBench.exe
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "AdvUtil.h"
#include "BenchClock.h"
#include "SysUtils.h"

namespace {

using bench::Best;
using bench::Seconds;

constexpr int Texts = 100000;

// Texts like an inventory's cells: names, models and versions, about one in
// ten holding "abc" in some case.
std::vector<String> MakeTexts()
{
    std::vector<String> texts;
    texts.reserve(Texts);
    wchar_t text[64];
    for (int i = 0; i < Texts; ++i) {
        const wchar_t* middle = i % 10 == 0 ? L"aBc" : i % 3 == 0 ? L"xyz" : L"ab-c";
        std::swprintf(text, 64, L"WS-%05d %ls Model %d.%d build %d", i, middle, i % 17, i % 7, i * 31 % 1000);
        texts.emplace_back(text);
    }
    return texts;
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    const std::vector<String> texts = MakeTexts();
    int filterHits = 0, findHits = 0;
    const double filter = Best(5, [&] {
        const double start = Seconds();
        filterHits = 0;
        for (const String& t : texts)
            filterHits += MatchFilterExpression(L"*abc*", t, false) ? 1 : 0;
        return Seconds() - start;
    });
    const double find = Best(5, [&] {
        const double start = Seconds();
        findHits = 0;
        for (const String& t : texts)
            findHits += AnsiUpperCase(t).find(L"ABC") != String::npos ? 1 : 0;
        return Seconds() - start;
    });
    std::printf("MatchFilterExpression \"*abc*\": %d texts, %d matches, %.1f ms\n", Texts, filterHits, filter * 1000);
    std::printf("std::wstring::find \"ABC\" on upper-cased texts: %d matches, %.1f ms\n", findHits, find * 1000);
    std::printf("ratio filter / find: %.2f\n", filter / find);
    SysUtils_Finalize();
    return filterHits == findHits ? 0 : 1;
}
