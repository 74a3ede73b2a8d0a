// A child's background request answered from its parent's cache (command
// 34 with PleaseDraw, delivered straight to the parent's skin state) against
// a plain BitBlt of the same rectangle from the same bitmap: the price of
// asking instead of copying.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include "BenchClock.h"
#include "Forms.h"
#include "SysUtils.h"
#include "acGraphicsStartup.h"
#include "sCommonData.h"
#include "sGraphUtils.h"
#include "sSkinManagerStartup.h"
#include "sVclUtils.h"

namespace {

// A parent whose skin state holds its painted image.
class TCachedParent : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void AfterConstruction() override
    {
        TCustomControl::AfterConstruction();
        Data.reset(New<TsCommonData>(this, true));
    }
    ~TCachedParent() override { Data.reset(); }
    TOwned<TsCommonData> Data;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Data && HandleSkinMessage(Message, Data.get()))
            return;
        TCustomControl::WndProc(Message);
    }
};

double Microseconds(int Rounds, const std::function<void()>& Round)
{
    return bench::Best(5, [&] {
        const double start = bench::Seconds();
        for (int i = 0; i < Rounds; ++i)
            Round();
        return (bench::Seconds() - start) * 1e6 / Rounds;
    });
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    sSkinManager_Initialize();
    {
        TOwned<TForm> form(New<TForm>(nullptr));
        form->SetBounds(0, 0, 900, 700);
        auto* parent = New<TCachedParent>(form.get());
        parent->SetParent(form.get());
        parent->SetBounds(0, 0, 820, 620);
        parent->HandleNeeded();
        parent->Data->Loading = false;
        parent->Data->EnsureCacheBmp();
        for (int y = 0; y < 620; y += 7)
            for (int x = 0; x < 820; x += 5)
                SetBitmap32Pixel(parent->Data->FCacheBmp, x, y, 0xFF000000u | Cardinal(x * 7 + y));
        parent->Data->BGChanged = false;
        HWND wnd = parent->GetHandle();
        HDC cache = parent->Data->FCacheBmp->GetCanvas()->GetHandle();

        const struct {
            const char* Name;
            int Width, Height, Rounds;
        } sizes[] = {{"button", 75, 25, 2000}, {"edit", 121, 21, 2000}, {"panel", 400, 300, 300}, {"page", 800, 600, 100}};
        std::printf("%-8s %14s %12s %8s\n", "child", "request us", "BitBlt us", "ratio");
        for (const auto& size : sizes) {
            TOwned<TBitmap> target(MakeBitmap32(size.Width, size.Height));
            HDC dc = target->GetCanvas()->GetHandle();
            TacBGRequest request;
            request.PleaseDraw = 1;
            request.DrawDC = dc;
            request.R = TRect(0, 0, size.Width, size.Height);
            request.Offset = TPoint(10, 10);
            const double asked = Microseconds(size.Rounds, [&] {
                SendWndCommand(wnd, SKC_QUERY_BACKGROUND, reinterpret_cast<LPARAM>(&request));
            });
            const double copied = Microseconds(size.Rounds, [&] {
                BitBlt(dc, 0, 0, size.Width, size.Height, cache, 10, 10, SRCCOPY);
            });
            std::printf("%-8s %14.2f %12.2f %8.2f\n", size.Name, asked, copied, asked / copied);
            // With BENCH_PARTS set: what the request's steps cost on their own
            // (the window property look-up is a call into the window server here).
            if (getenv("BENCH_PARTS")) {
                const double ism = Microseconds(size.Rounds, [&] { InSendMessage(); });
                const double canvas = Microseconds(size.Rounds, [&] { parent->Data->FCacheBmp->GetCanvas()->GetHandle(); });
                const double prop = Microseconds(size.Rounds, [&] { GetPropW(wnd, L"ACSDATA"); });
                std::printf("  InSendMessage %.2f canvas %.2f prop %.2f\n", ism, canvas, prop);
            }
        }
    }
    sSkinManager_Finalize();
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
