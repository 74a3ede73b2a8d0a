// The window's pictures, drawn once at creation: the two language flags of
// the picker and the glyphs of the glow buttons.
#include "Unit1.h"
#include <functional>

namespace {

// Drawn on this colour, which the image lists take as transparent.
constexpr TColor MaskColor = clFuchsia;

using TPainter = std::function<void(TCanvas* Canvas)>;

void AddPicture(TImageList* Images, const TPainter& Paint)
{
    TOwned<TBitmap> picture(New<TBitmap>());
    picture->SetPixelFormat(pf24bit);
    picture->SetSize(Images->GetWidth(), Images->GetHeight());
    TCanvas* canvas = picture->GetCanvas();
    canvas->GetBrush()->SetColor(MaskColor);
    canvas->FillRect(TRect(0, 0, Images->GetWidth(), Images->GetHeight()));
    Paint(canvas);
    Images->AddMasked(picture.get(), MaskColor);
}

void Line(TCanvas* Canvas, TColor Color, int Width, int X1, int Y1, int X2, int Y2)
{
    Canvas->GetPen()->SetColor(Color);
    Canvas->GetPen()->SetWidth(Width);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

void Fill(TCanvas* Canvas, TColor Color, const TRect& R)
{
    Canvas->GetBrush()->SetColor(Color);
    Canvas->FillRect(R);
}

// A flag of 37 x 25 pixels with a thin frame, centred in a 41 x 32 image.
const TRect FlagRect = Bounds(2, 3, 37, 25);

void FlagFrame(TCanvas* Canvas)
{
    Canvas->GetBrush()->SetColor(clGray);
    TRect frame = FlagRect;
    InflateRect(&frame, 1, 1);
    Canvas->FrameRect(frame);
}

void RussianFlag(TCanvas* Canvas)
{
    const int stripe = FlagRect.Height() / 3;
    Fill(Canvas, clWhite, Bounds(FlagRect.left, FlagRect.top, FlagRect.Width(), stripe));
    Fill(Canvas, 0xA63900, Bounds(FlagRect.left, FlagRect.top + stripe, FlagRect.Width(), stripe));
    Fill(Canvas, 0x1E2BD5, TRect(FlagRect.left, FlagRect.top + 2 * stripe, FlagRect.right, FlagRect.bottom));
    FlagFrame(Canvas);
}

void EnglishFlag(TCanvas* Canvas)
{
    // Drawn on its own bitmap, so that the wide diagonal pens stop at its edges.
    TOwned<TBitmap> flag(New<TBitmap>());
    flag->SetPixelFormat(pf24bit);
    const int w = FlagRect.Width(), h = FlagRect.Height();
    flag->SetSize(w, h);
    TCanvas* c = flag->GetCanvas();
    constexpr TColor blue = 0x692101, red = 0x2E10C8;
    Fill(c, blue, TRect(0, 0, w, h));
    Line(c, clWhite, 5, 0, 0, w, h);
    Line(c, clWhite, 5, w, 0, 0, h);
    Line(c, red, 2, 0, 0, w, h);
    Line(c, red, 2, w, 0, 0, h);
    Fill(c, clWhite, TRect(w / 2 - 4, 0, w / 2 + 5, h));
    Fill(c, clWhite, TRect(0, h / 2 - 4, w, h / 2 + 5));
    Fill(c, red, TRect(w / 2 - 2, 0, w / 2 + 3, h));
    Fill(c, red, TRect(0, h / 2 - 2, w, h / 2 + 3));
    Canvas->Draw(FlagRect.left, FlagRect.top, flag.get());
    FlagFrame(Canvas);
}

void ClearGlyph(TCanvas* Canvas)
{
    Line(Canvas, 0x2020C0, 3, 3, 3, 12, 12);
    Line(Canvas, 0x2020C0, 3, 12, 3, 3, 12);
}

void SaveGlyph(TCanvas* Canvas)
{
    Fill(Canvas, 0x803010, TRect(1, 1, 15, 15));
    Fill(Canvas, clWhite, TRect(4, 2, 12, 7));
    Fill(Canvas, clSilver, TRect(5, 10, 11, 15));
    Fill(Canvas, 0x803010, TRect(9, 11, 10, 14));
}

void ExcelGlyph(TCanvas* Canvas)
{
    constexpr TColor green = 0x467321;
    Fill(Canvas, green, TRect(1, 1, 15, 15));
    Fill(Canvas, clWhite, TRect(3, 3, 13, 13));
    for (int y : {6, 9})
        Line(Canvas, green, 1, 3, y, 13, y);
    Line(Canvas, green, 1, 7, 3, 7, 13);
}

void HTMLGlyph(TCanvas* Canvas)
{
    Canvas->GetPen()->SetColor(0x8A4A10);
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetBrush()->SetColor(0xC86E1E);
    Canvas->Ellipse(1, 1, 16, 16);
    Canvas->GetPen()->SetColor(clWhite);
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->Ellipse(5, 1, 12, 16);
    Line(Canvas, clWhite, 1, 2, 8, 15, 8);
    Line(Canvas, clWhite, 1, 3, 5, 14, 5);
    Line(Canvas, clWhite, 1, 3, 11, 14, 11);
    Canvas->GetBrush()->SetStyle(bsSolid);
}

} // namespace

void TForm1::DrawPictures()
{
    // Image 0 stands for Russian, image 1 for English.
    for (const TPainter& paint : {TPainter(RussianFlag), TPainter(EnglishFlag)})
        AddPicture(ImageList1, paint);
    // In the order of the buttons' image indexes.
    for (const TPainter& paint : {TPainter(ClearGlyph), TPainter(SaveGlyph), TPainter(ExcelGlyph),
                                  TPainter(HTMLGlyph)})
        AddPicture(ButtonImages, paint);
}
