// The glyph drawing routines: one image of any image list, one state of a
// strip, blended into a 32-bit bitmap or onto a device context.
#include "acAlphaImageList.h"
#include "sGraphUtils.h"

void TacImageList::TakeFontColor(TFont* Font, int)
{
    ForeColor = Font->GetColor();
}

TSize DrawImageListGlyph(TCustomImageList* List, TBitmap* Bmp, int Left, int Top, int Index, int StateCount,
                         int State, bool Reflection, int Transparency, TColor KeyColor)
{
    if (!Bmp || Bmp->GetWidth() == 0 || !List || !List->HandleAllocated() || Index < 0)
        return {};
    auto* acList = dynamic_cast<TacImageList*>(List);
    const TSize glyph = acList ? acList->GlyphSize(Index) : TSize(List->GetWidth(), List->GetHeight());
    const int states = std::max(1, StateCount);
    const int stateWidth = glyph.cx / states;
    const int state = std::clamp(State, 0, states - 1);
    TRect dst = Bounds((List->GetWidth() - glyph.cx) / 2 + Left, Top, stateWidth, glyph.cy);
    TRect src = Bounds(state * stateWidth, 0, stateWidth, glyph.cy);
    const TSize drawn(stateWidth, glyph.cy);
    Bmp->SetPixelFormat(pf32bit);
    if (List->GetBkColor() != clNone)
        PaintSolidRect(Bmp->GetCanvas()->GetHandle(), dst, List->GetBkColor());

    if (!acList) {
        // Any other list draws itself over a copy of the target area.
        TOwned<TBitmap> area(MakeBitmap32(dst.Width(), dst.Height()));
        HDC target = Bmp->GetCanvas()->GetHandle();
        BitBlt(area->GetCanvas()->GetHandle(), 0, 0, dst.Width(), dst.Height(), target, dst.left, dst.top, SRCCOPY);
        area->GetCanvas()->GetFont()->SetColor(Bmp->GetCanvas()->GetFont()->GetColor());
        List->Draw(area->GetCanvas(), -src.left, 0, Index);
        BitBlt(target, dst.left, dst.top, dst.Width(), dst.Height(), area->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
        return drawn;
    }

    acList->TakeFontColor(Bmp->GetCanvas()->GetFont(), Index);
    TOwned<TBitmap> image(acList->CreateBitmap32(Index, glyph.cx, glyph.cy));
    acList->ForeColor = clNone;
    if (!image)
        return drawn;
    // A destination left of or above the target takes the source along.
    if (dst.left < 0) {
        src.left -= dst.left;
        dst.left = 0;
    }
    if (dst.top < 0) {
        src.top -= dst.top;
        dst.top = 0;
    }
    src.right = std::min<LONG>(src.right, image->GetWidth());
    src.bottom = std::min<LONG>(src.bottom, image->GetHeight());
    dst.right = dst.left + std::max<LONG>(0, src.Width());
    dst.bottom = dst.top + std::max<LONG>(0, src.Height());
    if (src.IsEmpty())
        return drawn;
    if (acList->IgnoreTransparency) {
        // The pixels as they are, alpha included.
        for (int y = 0; y < image->GetHeight(); ++y)
            for (int x = 0; x < image->GetWidth(); ++x)
                SetBitmap32Pixel(Bmp, dst.left + x, dst.top + y, GetBitmap32Pixel(image.get(), x, y));
    } else {
        CopyRectWithAlpha(dst, src, Bmp, Reflection, Transparency, KeyColor, false, TCacheInfo{}, image.get());
    }
    return drawn;
}

TSize DrawImageListGlyphDC(TCustomImageList* List, HDC DC, int X, int Y, int Index, int StateCount, int State,
                           bool Reflection, int Transparency, TColor FontColor)
{
    if (!List || !List->HandleAllocated() || Index < 0)
        return {};
    auto* acList = dynamic_cast<TacImageList*>(List);
    const TSize glyph = acList ? acList->GlyphSize(Index) : TSize(List->GetWidth(), List->GetHeight());
    const int width = glyph.cx / std::max(1, StateCount);
    const bool glyphList = acList && acList->InheritsFrom(L"TsCharImageList");
    const int height = glyph.cy + (glyphList && Reflection ? glyph.cy / 2 : 0);
    if (width <= 0 || height <= 0)
        return {};
    TOwned<TBitmap> area(MakeBitmap32(width, height));
    HDC work = area->GetCanvas()->GetHandle();
    BitBlt(work, 0, 0, width, height, DC, X, Y, SRCCOPY);
    area->GetCanvas()->GetFont()->SetColor(glyphList && acList->ForeColor != clNone ? acList->ForeColor : FontColor);
    // Drawn at the bitmap's left edge whatever the list's cell.
    const int left = acList ? (glyph.cx - List->GetWidth()) / 2 : 0;
    const TSize drawn = DrawImageListGlyph(List, area.get(), left, 0, Index, StateCount, State, Reflection,
                                           Transparency, clNone);
    BitBlt(DC, X, Y, width, height, area->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    return drawn;
}
