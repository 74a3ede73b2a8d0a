// The start-up cost of the skin library's graphics units, the skin manager's unit and the
// skinned components' units: each unit's
// initialization and finalization timed over many rounds, with its share of
// the whole start-up, and the cost of the whole against a bare window.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <utility>
#include "BenchClock.h"
#include "Forms.h"
#include "SysUtils.h"
#include "acColorTools.h"
#include "acEncodings.h"
#include "acComponentsStartup.h"
#include "acGdiPlus.h"
#include "acPNG.h"
#include "acGraphicsStartup.h"
#include "acntUtils.h"
#include "sConst.h"
#include "sGradient.h"
#include "sFormRegistry.h"
#include "sGraphUtils.h"
#include "sSkinManagerStartup.h"
#include "sWindowHelpers.h"

namespace {

template <class F>
double MedianMicroseconds(int rounds, F&& round)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = bench::Seconds();
        round();
        times.push_back((bench::Seconds() - start) * 1e6);
    }
    return bench::Median(std::move(times));
}

struct TUnit {
    const char* name;
    void (*initialize)();
    void (*finalize)();
};

} // namespace

int wmain()
{
    // The run time as the program starts it: the screen takes the pipette cursor.
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    const TUnit units[] = {
        {"constants, metrics, captions", sConst_Initialize, sConst_Finalize},
        {"encoding captions", acEncodings_Initialize, acEncodings_Finalize},
        {"GDI+ binding and start", acGdiPlus_Initialize, acGdiPlus_Finalize},
        {"gradient-fill binding", sGradient_Initialize, sGradient_Finalize},
        {"shell icons", sFormRegistry_Initialize, sFormRegistry_Finalize},
        {"PNG registration", acPNG_Initialize, acPNG_Finalize},
        {"layout and layered-window binding", sGraphUtils_Initialize, sGraphUtils_Finalize},
        {"theme binding", sWindowHelpers_Initialize, sWindowHelpers_Finalize},
        {"pipette cursor and colour slots", acColorTools_Initialize, acColorTools_Finalize},
        {"kernel and shell bindings", acntUtils_Initialize, acntUtils_Finalize},
        {"skin manager (/acver, DPI binding)", sSkinManager_Initialize, sSkinManager_Finalize},
        {"icon font install", acFontStore_Initialize, acFontStore_Finalize},
        {"image-list register, default glyph list", acAlphaImageList_Initialize, acAlphaImageList_Finalize},
        {"edit label class registration", sLabel_Initialize, sLabel_Finalize},
        {"default hint template", acAlphaHints_Initialize, acAlphaHints_Finalize},
        {"shell: desktop item, OLE, system images", acShellCtrls_Initialize, acShellCtrls_Finalize},
    };
    const int rounds = 200;

    // The first start loads modules from disk; later ones find them mapped.
    // The shell's first call (its modules, the desktop, the system image
    // list) is part of it and is shown on its own too.
    const double started = bench::Seconds();
    SkinGraphics_Initialize();
    sSkinManager_Initialize();
    acFontStore_Initialize();
    acAlphaImageList_Initialize();
    const double shellStarted = bench::Seconds();
    acShellCtrls_Initialize();
    const double firstShell = (bench::Seconds() - shellStarted) * 1e6;
    const double first = (bench::Seconds() - started) * 1e6;
    acShellCtrls_Finalize();
    acAlphaImageList_Finalize();
    acFontStore_Finalize();
    sSkinManager_Finalize();
    SkinGraphics_Finalize();

    std::vector<double> costs;
    double total = 0;
    for (const TUnit& unit : units) {
        double cost = MedianMicroseconds(rounds, [&] {
            unit.initialize();
            unit.finalize();
        });
        costs.push_back(cost);
        total += cost;
    }
    double whole = MedianMicroseconds(rounds, [] {
        SkinGraphics_Initialize();
        sSkinManager_Initialize();
        acFontStore_Initialize();
        acAlphaImageList_Initialize();
        sLabel_Initialize();
        acAlphaHints_Initialize();
        acAlphaHints_Finalize();
        sLabel_Finalize();
        acShellCtrls_Initialize();
        acShellCtrls_Finalize();
        acAlphaImageList_Finalize();
        acFontStore_Finalize();
        sSkinManager_Finalize();
        SkinGraphics_Finalize();
    });
    double window = MedianMicroseconds(rounds, [] {
        HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        DestroyWindow(wnd);
    });

    std::printf("skin library start-up, median of %d rounds (initialize + finalize):\n", rounds);
    for (size_t i = 0; i < costs.size(); ++i)
        std::printf("  %-36s %9.1f us  %5.1f%%\n", units[i].name, costs[i], 100.0 * costs[i] / total);
    std::printf("  %-36s %9.1f us\n", "all units in order", whole);
    std::printf("  %-36s %9.1f us\n", "first start of the process", first);
    std::printf("  %-36s %9.1f us  %5.1f%% of the first start\n", "of it the shell's first call", firstShell,
                100.0 * firstShell / first);
    std::printf("ratio of the whole start-up to creating one window: %.1f\n", whole / window);
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
