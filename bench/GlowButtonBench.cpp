// What one paint of a glow button costs: a 169 x 40 hot button (the main
// window's "Start inventory") painted into a 32-bit DIB, against a classic
// push button of the same size drawn by DrawFrameControl with DrawText of
// the same caption on the same DIB in the same run, and their ratio. The
// glow button fills two gradient halves and a path through GDI+, so a small
// multiple is expected. Then the hover fade as the timer drives it: how far
// apart its repaints come (the interval is 20 ms).
//
// Run: scripts/build x86_64 bench_GlowButtonBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_GlowButtonBench.exe
#include <windows.h>
#include <cstdio>
#include <vector>
#include "AdvGDIP.h"
#include "AdvGlowButton.h"
#include "BenchClock.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "SysUtils.h"
#include "ToolBarMessages.h"

namespace {

using bench::Median;
using bench::Seconds;

constexpr int Rounds = 300;
constexpr int Samples = 7;
const wchar_t* const Caption = L"Start inventory";

// Milliseconds for Rounds calls, the middle of Samples tries.
template <class F>
double Time(F call)
{
    std::vector<double> samples;
    for (int s = 0; s < Samples; ++s) {
        const double start = Seconds();
        for (int i = 0; i < Rounds; ++i)
            call();
        GdiFlush();
        samples.push_back((Seconds() - start) * 1000);
    }
    return Median(samples);
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    AdvGDIP_Initialize();
    ToolBarMessages_Initialize();
    Application->Initialize();
    {
        auto* form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 300, 200);
        auto* button = New<TAdvGlowButton>(form);
        button->SetBounds(15, 15, 169, 40);
        button->SetCaption(Caption);
        button->GetFont()->SetStyle({fsBold});
        button->SetParent(form);
        form->Show();
        Application->ProcessMessages();

        // Hot at once: no fade while measuring the paint.
        SetGlowFadeInterval(0);
        button->Perform(CM_MOUSEENTER, 0, 0);

        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(bi.bmiHeader), 169, -40, 1, 32, BI_RGB};
        void* bits = nullptr;
        const TMemoryDC dc(nullptr);
        const TBitmapHandle dib(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        const TSelectObject selectDib(dc.Get(), dib.Get());
        const TSelectObject selectFont(dc.Get(), button->GetFont()->GetHandle());

        const double glow = Time([&] { button->PaintTo(dc.Get(), 0, 0); });
        const double classic = Time([&] {
            RECT r{0, 0, 169, 40};
            DrawFrameControl(dc.Get(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
            SetBkMode(dc.Get(), TRANSPARENT);
            DrawTextW(dc.Get(), Caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        });
        std::printf("glow button paint, 169 x 40 hot: %.3f ms; DrawFrameControl + DrawText: %.3f ms; ratio %.1f\n",
                    glow / Rounds, classic / Rounds, glow / classic);
        // The same button at rest: linear gradients instead of radial ones.
        button->Perform(CM_MOUSELEAVE, 0, 0);
        const double rest = Time([&] { button->PaintTo(dc.Get(), 0, 0); });
        std::printf("the same button at rest (linear halves): %.3f ms; ratio %.1f\n", rest / Rounds,
                    rest / classic);

        // The hover fade as its timer drives it.
        SetGlowFadeInterval(20);
        button->Perform(CM_MOUSEENTER, 0, 0);
        button->Perform(CM_MOUSELEAVE, 0, 0);
        while (button->GetFading()) {
            Application->ProcessMessages();
            Sleep(1);
        }
        std::vector<double> paints;
        button->OnDrawButton = [&](TObject*, TCanvas*, TRect, AdvGlowButton::TGlowButtonState) {
            paints.push_back(Seconds());
        };
        const double start = Seconds();
        button->Perform(CM_MOUSEENTER, 0, 0);
        while (button->GetFading() && Seconds() - start < 2) {
            Application->ProcessMessages();
            Sleep(1);
        }
        std::vector<double> gaps;
        for (std::size_t i = 1; i < paints.size(); ++i)
            gaps.push_back((paints[i] - paints[i - 1]) * 1000);
        std::printf("hover fade: %zu repaints in %.0f ms, %.1f ms apart (median; the interval is 20 ms)\n",
                    paints.size(), (Seconds() - start) * 1000, gaps.empty() ? 0.0 : Median(gaps));
        form->Free();
    }
    ToolBarMessages_Finalize();
    AdvGDIP_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
