// What the mini-HTML engine costs for a typical marked-up cell text: the
// time to measure it (CheckHeight) and to draw it with the grid variant and
// with the panel variant, each against DrawText of the same characters as
// plain text on the same canvas in the same run (DT_CALCRECT for measuring,
// DT_CALCRECT then drawing for drawing), and their ratios. The engine lays each line
// out twice and switches fonts at tags, so a small multiple is expected.
//
// Run: scripts/build x86_64 bench_HTMLBench, then under the project's Wine
// prefix: wine build/x86_64/bench/bench_HTMLBench.exe
#include <windows.h>
#include <cstdio>
#include <vector>
#include "AdvGDIP.h"
#include "AdvXPVS.h"
#include "BenchClock.h"
#include "GdiHandles.h"
#include "GridHTML.h"
#include "Graphics.h"
#include "PanelHTML.h"
#include "SysUtils.h"

namespace {

using bench::Median;
using bench::Seconds;

constexpr int Rounds = 2000;
constexpr int Samples = 7;

const wchar_t* const MarkedUp =
    L"<b>PC-0042</b> 16 GB <font color=\"clRed\">2 disks</font> <a href=\"x\">details</a>";
const wchar_t* const Plain = L"PC-0042 16 GB 2 disks details";

struct TOutputs {
    String AnchorVal, StripVal, FocusAnchor, AnchorHint, ControlID, ControlValue, ControlType;
    int XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = 0;
    TRect HoverRect, ControlRect;
};

bool Grid(TCanvas* canvas, const TRect& rect, bool measure, TOutputs& o)
{
    return GridHTMLDraw(canvas, MarkedUp, rect, nullptr, -1, -1, -1, -1, 1, false, measure, false, false, true,
                        false, true, false, String(), 1.0, clBlue, clNone, clNone, clGray, o.AnchorVal,
                        o.StripVal, o.FocusAnchor, o.AnchorHint, o.XSize, o.YSize, o.HyperLinks, o.MouseLink,
                        o.HoverRect, o.ControlRect, o.ControlID, o.ControlValue, o.ControlType, nullptr, nullptr,
                        nullptr, bdLeftToRight);
}

bool Panel(TCanvas* canvas, const TRect& rect, bool measure, TOutputs& o)
{
    return PanelHTMLDraw(canvas, MarkedUp, rect, nullptr, -1, -1, -1, -1, 1, false, measure, false, false, true,
                         false, true, 1.0, clBlue, clNone, clNone, clGray, o.AnchorVal, o.StripVal,
                         o.FocusAnchor, o.XSize, o.YSize, o.HyperLinks, o.MouseLink, o.HoverRect, nullptr,
                         nullptr, 0, bdLeftToRight);
}

// Milliseconds for Rounds calls, the middle of Samples tries.
template <class F>
double Time(F call)
{
    std::vector<double> samples;
    for (int s = 0; s < Samples; ++s) {
        const double start = Seconds();
        for (int i = 0; i < Rounds; ++i)
            call();
        samples.push_back((Seconds() - start) * 1000);
    }
    return Median(samples);
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    AdvGDIP_Initialize();
    AdvXPVS_Initialize();
    GridHTML_Initialize();
    {
        TOwned<TBitmap> bitmap(New<TBitmap>());
        bitmap->SetPixelFormat(pf32bit);
        bitmap->SetSize(400, 60);
        TCanvas* canvas = bitmap->GetCanvas();
        canvas->GetFont()->SetName(L"Tahoma");
        canvas->GetFont()->SetSize(8);
        const TRect rect(0, 0, 400, 60);
        HDC dc = canvas->GetHandle();
        TOutputs o;

        const double plainMeasure = Time([&] {
            RECT rc = rect;
            TSelectObject font(dc, canvas->GetFont()->GetHandle());
            DrawTextW(dc, Plain, -1, &rc, DT_SINGLELINE | DT_BOTTOM | DT_CALCRECT);
        });
        const double plainDraw = Time([&] {
            RECT rc = rect;
            TSelectObject font(dc, canvas->GetFont()->GetHandle());
            DrawTextW(dc, Plain, -1, &rc, DT_SINGLELINE | DT_BOTTOM | DT_CALCRECT);
            rc = rect;
            DrawTextW(dc, Plain, -1, &rc, DT_SINGLELINE | DT_BOTTOM);
        });
        const double gridMeasure = Time([&] { Grid(canvas, rect, true, o); });
        const int gridWidth = o.XSize;
        const double gridDraw = Time([&] { Grid(canvas, rect, false, o); });
        const double panelMeasure = Time([&] { Panel(canvas, rect, true, o); });
        const int panelWidth = o.XSize;
        const double panelDraw = Time([&] { Panel(canvas, rect, false, o); });

        std::printf("Text: %ls\n", MarkedUp);
        std::printf("%d calls each, median of %d tries\n", Rounds, Samples);
        std::printf("DrawText DT_CALCRECT (plain text):  %7.2f ms\n", plainMeasure);
        std::printf("DrawText DT_CALCRECT, then drawing: %7.2f ms\n", plainDraw);
        std::printf("GridHTMLDraw measure (CheckHeight): %7.2f ms  ratio %5.1f  (XSize %d)\n", gridMeasure,
                    gridMeasure / plainMeasure, gridWidth);
        std::printf("GridHTMLDraw draw:                  %7.2f ms  ratio %5.1f\n", gridDraw, gridDraw / plainDraw);
        std::printf("PanelHTMLDraw measure (CheckHeight):%7.2f ms  ratio %5.1f  (XSize %d)\n", panelMeasure,
                    panelMeasure / plainMeasure, panelWidth);
        std::printf("PanelHTMLDraw draw:                 %7.2f ms  ratio %5.1f\n", panelDraw,
                    panelDraw / plainDraw);
    }
    GridHTML_Finalize();
    AdvXPVS_Finalize();
    AdvGDIP_Finalize();
    SysUtils_Finalize();
    return 0;
}
