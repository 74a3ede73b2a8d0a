// The nine-part skin image painter drawing a control's frame against a
// plain StretchBlt of the same state image to the same size: the price of
// keeping corners sharp and edges tiled or masked.
#include <windows.h>
#include <cstdio>
#include "BenchClock.h"
#include "Forms.h"
#include "SysUtils.h"
#include "acGraphicsStartup.h"
#include "sSkinImage.h"

namespace {

struct TImage {
    TOwned<TBitmap> Bmp;
    TsMaskData Mask;
};

// Three states of 24 x 24 with 4-pixel margins; masked ones carry their mask below.
TImage MakeImage(TsSkinManager* Manager, bool Masked, int DrawMode)
{
    TImage image;
    const int w = 24, h = 24, states = 3;
    image.Bmp.reset(MakeBitmap32(w * states, Masked ? 2 * h : h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * states; ++x) {
            SetBitmap32Pixel(image.Bmp.get(), x, y, 0xFF000000u | (Cardinal(x * 3) << 8) | Cardinal(y * 9));
            if (Masked)
                SetBitmap32Pixel(image.Bmp.get(), x, y + h, (x + y) % 5 == 0 ? 0xFFFFFFFFu : 0xFF000000u);
        }
    SetBitmap32Pixel(image.Bmp.get(), 0, 0, FuchsiaPixel);
    TsMaskData& m = image.Mask;
    m.Bmp = image.Bmp.get();
    m.Manager = Manager;
    m.R = TRect(0, 0, w * states, Masked ? 2 * h : h);
    m.ImageCount = states;
    m.MaskType = Masked ? 1 : 0;
    m.Width = w;
    m.Height = h;
    m.WL = m.WT = m.WR = m.WB = 4;
    m.DrawMode = static_cast<std::int16_t>(DrawMode | dmCentre);
    return image;
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    {
        TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
        const struct {
            const char* Name;
            int Width, Height, Rounds;
        } sizes[] = {{"button", 75, 25, 400}, {"edit", 121, 21, 400}, {"panel", 185, 41, 200}, {"form frame", 800, 600, 10}};
        std::printf("%-11s %-7s %-9s %12s %12s %8s\n", "target", "image", "parts", "painter us", "StretchBlt us",
                    "ratio");
        for (bool masked : {false, true})
            for (int drawMode : {0, dmStretch}) {
                TImage image = MakeImage(manager.get(), masked, drawMode);
                for (const auto& size : sizes) {
                    TOwned<TBitmap> target(MakeBitmap32(size.Width, size.Height));
                    const TRect r(0, 0, size.Width, size.Height);
                    const double painter =
                        bench::MicrosecondsPerRound(size.Rounds, [&] { PaintSkinImage(target.get(), r, TCacheInfo(), image.Mask, 1, false); });
                    HDC dst = target->GetCanvas()->GetHandle(), src = image.Bmp->GetCanvas()->GetHandle();
                    const double plain = bench::MicrosecondsPerRound(size.Rounds, [&] {
                        SetStretchBltMode(dst, COLORONCOLOR);
                        StretchBlt(dst, 0, 0, size.Width, size.Height, src, 24, 0, 24, 24, SRCCOPY);
                    });
                    std::printf("%-11s %-7s %-9s %12.1f %12.1f %8.2f\n", size.Name, masked ? "masked" : "keyed",
                                drawMode ? "stretched" : "tiled", painter, plain, painter / plain);
                }
            }
    }
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
