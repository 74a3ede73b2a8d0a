// What the skin library's HTML text costs: measuring and drawing a
// marked-up text of about 2,000 characters with TsHtml, against DrawTextW
// of its plain text with the same font and width (DT_CALCRECT, then
// drawing), in the same run, and their ratios.
//
// Run: scripts/build x86_64 bench_SkinHtmlBench, then under the project's Wine
// prefix: wine build/x86_64/bench/bench_SkinHtmlBench.exe
#include <windows.h>
#include <cstdio>
#include "BenchClock.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "Graphics.h"
#include "SysUtils.h"
#include "sHtmlParse.h"

namespace {

constexpr int Width = 400;
constexpr int Rounds = 50;
constexpr int Samples = 7;

void Texts(String& MarkedUp, String& Plain)
{
    const wchar_t* const words[] = {L"inventory", L"computer", L"memory", L"disk", L"network", L"user"};
    int i = 0;
    while (Plain.size() < 2000) {
        const String w = words[i % 6];
        switch (i % 5) {
        case 0:
            MarkedUp += L"<B>" + w + L"</B> ";
            break;
        case 1:
            MarkedUp += L"<FONT COLOR=#C00000>" + w + L"</FONT> ";
            break;
        case 2:
            MarkedUp += L"<A HREF='http://x.test/'>" + w + L"</A> ";
            break;
        case 3:
            MarkedUp += w + L"&nbsp;";
            break;
        default:
            MarkedUp += L"<I>" + w + L"</I> ";
        }
        Plain += w + (i % 5 == 3 ? L"\u00A0" : L" ");
        ++i;
    }
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    String markedUp, plain;
    Texts(markedUp, plain);
    TOwned<TBitmap> bmp(New<TBitmap>());
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(Width, 2000);
    TFont* font = bmp->GetCanvas()->GetFont();
    font->SetName(L"Tahoma");
    font->SetSize(9);
    TOwned<TFont> base(New<TFont>());
    base->Assign(font);

    auto html = [&] {
        return bench::Best(Samples, [&] {
            const double start = bench::Seconds();
            for (int r = 0; r < Rounds; ++r) {
                font->Assign(base.get());
                TsHtml measure;
                measure.Init(bmp.get(), markedUp, -1, -1, TRect(0, 0, Width, 0));
                TacLinks links;
                measure.HTMLText(links, true);
                font->Assign(base.get());
                TsHtml draw;
                draw.Init(bmp.get(), markedUp, -1, -1, TRect(0, 0, Width, 0));
                draw.HTMLText(links, false);
            }
            return (bench::Seconds() - start) / Rounds;
        });
    };
    auto plainText = [&] {
        return bench::Best(Samples, [&] {
            const double start = bench::Seconds();
            for (int r = 0; r < Rounds; ++r) {
                font->Assign(base.get());
                HDC dc = bmp->GetCanvas()->GetHandle();
                const TSelectObject selected(dc, font->GetHandle());
                RECT calc{0, 0, Width, 0};
                DrawTextW(dc, plain.c_str(), -1, &calc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                RECT drawn{0, 0, Width, calc.bottom};
                DrawTextW(dc, plain.c_str(), -1, &drawn, DT_WORDBREAK | DT_NOPREFIX);
            }
            return (bench::Seconds() - start) / Rounds;
        });
    };
    const double h = html();
    const double p = plainText();
    std::printf("marked-up text of %zu characters (%zu plain), width %d, best of %d x %d rounds:\n",
                markedUp.size(), plain.size(), Width, Samples, Rounds);
    std::printf("  TsHtml measure + draw: %8.1f us\n", h * 1e6);
    std::printf("  DrawTextW calc + draw: %8.1f us\n", p * 1e6);
    std::printf("  ratio TsHtml / DrawTextW: %.2f\n", h / p);
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
