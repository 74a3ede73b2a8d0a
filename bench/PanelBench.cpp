// What a panel group's paint and a caption shade's generation cost. First
// one paint of a 183 x 153 detail group with its bold title (as the main
// window has four) into a 32-bit DIB, against FillRect of the same area
// and DrawText of the title in the bold font on the same DIB in the same
// run. Then each generated caption shade for a 1000 x 20 caption, against
// a FillRect of a bitmap of that size, which is what the plain caption
// costs; the ratios are the figures to compare between runs.
//
// Run: scripts/build x86_64 bench_PanelBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_PanelBench.exe
#include <windows.h>
#include <cstdio>
#include <vector>
#include "AdvPanel.h"
#include "BenchClock.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "SysUtils.h"

namespace {

using bench::Median;
using bench::Seconds;

constexpr int Samples = 7;

// Milliseconds for Rounds calls, the middle of Samples tries.
template <class F>
double Time(int Rounds, F call)
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

// The shade generator is the panel's own protected step; the benchmark
// calls it directly so that nothing else is timed with it.
class TShadePanel : public TAdvPanel {
public:
    using TAdvPanel::TAdvPanel;
    void Build() { BuildShadedHeader(); }
};

const struct {
    TShadeType Type;
    const char* Name;
} Shades[] = {
    {stNoise, "stNoise"},       {stDiagShade, "stDiagShade"}, {stHShade, "stHShade"},
    {stVShade, "stVShade"},     {stHBump, "stHBump"},         {stVBump, "stVBump"},
    {stSoftBump, "stSoftBump"}, {stHardBump, "stHardBump"},   {stLMetal, "stLMetal"},
    {stRMetal, "stRMetal"},     {stIRadial, "stIRadial"},     {stORadial, "stORadial"},
    {stHShadeInv, "stHShadeInv"}, {stVShadeInv, "stVShadeInv"},
};

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    {
        auto* form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 300, 240);
        auto* group = New<TAdvPanelGroup>(form);
        group->SetBounds(10, 8, 183, 153);
        group->SetText(L"<B> Shared Folders</B>");
        group->SetTopIndent(5);
        group->SetColumns(2);
        group->SetFullHeight(15);
        group->SetParent(form);
        form->Show();
        Application->ProcessMessages();

        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(bi.bmiHeader), 183, -153, 1, 32, BI_RGB};
        void* bits = nullptr;
        const TMemoryDC dc(nullptr);
        const TBitmapHandle dib(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        const TSelectObject selectDib(dc.Get(), dib.Get());
        TOwned<TFont> bold(New<TFont>());
        bold->Assign(group->GetFont());
        bold->SetStyle(TFontStyles() << fsBold);
        const TSelectObject selectFont(dc.Get(), bold->GetHandle());
        const TBrushHandle face(CreateSolidBrush(ColorToRGB(clBtnFace)));

        constexpr int paintRounds = 300;
        const double panel = Time(paintRounds, [&] { group->PaintTo(dc.Get(), 0, 0); });
        const double plain = Time(paintRounds, [&] {
            RECT r{0, 0, 183, 153};
            FillRect(dc.Get(), &r, face.Get());
            SetBkMode(dc.Get(), TRANSPARENT);
            RECT text{1, 6, 182, 152};
            DrawTextW(dc.Get(), L" Shared Folders", -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
        });
        std::printf("group paint, 183 x 153 with its title: %.3f ms; FillRect + DrawText: %.3f ms; ratio %.1f\n",
                    panel / paintRounds, plain / paintRounds, panel / plain);
        // The same group without its title: what the frame, background and
        // off-screen buffer cost on their own.
        const String title = group->GetText();
        group->SetText(L"");
        const double untitled = Time(paintRounds, [&] { group->PaintTo(dc.Get(), 0, 0); });
        group->SetText(title);
        std::printf("the same group without its title: %.3f ms; ratio %.1f\n", untitled / paintRounds,
                    untitled / plain);
        form->Free();
        Application->ProcessMessages();
    }
    {
        TOwned<TShadePanel> panel(New<TShadePanel>(nullptr));
        panel->SetBounds(0, 0, 1000, 200);
        panel->GetCaption()->SetHeight(20);
        panel->GetCaption()->SetColor(0xC08040);
        TOwned<TBitmap> plain(New<TBitmap>());
        plain->SetSize(1000, 20);
        constexpr int shadeRounds = 20;
        const double fill = Time(shadeRounds, [&] {
            plain->GetCanvas()->GetBrush()->SetColor(0xC08040);
            plain->GetCanvas()->FillRect(TRect(0, 0, 1000, 20));
        });
        std::printf("FillRect of a 1000 x 20 bitmap: %.4f ms\n", fill / shadeRounds);
        for (const auto& shade : Shades) {
            panel->GetCaption()->SetShadeType(shade.Type);
            const double built = Time(shadeRounds, [&] { panel->Build(); });
            std::printf("  %-12s %.3f ms; ratio %.0f\n", shade.Name, built / shadeRounds, built / fill);
        }
    }
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
