// The colour cube and the spectrum panel. The cube's cells are circles of
// radius 6 for hit tests (the hexagon corners beyond hit nothing, the lower
// index wins where two circles overlap). The spectrum's pick reads the
// picture's own pixel under the pointer, which is what the panel shows there
// and which stays right while another window covers the panel.
#include "AdvColorPickerDropDown.h"

#include "Forms.h"
#include "SysUtils.h"

namespace {

// The honeycomb's rows, top to bottom, as RRGGBB.
constexpr unsigned CubeRows[13][13] = {
    {0x003366, 0x336699, 0x3366CC, 0x003399, 0x000099, 0x0000CC, 0x000066},
    {0x006666, 0x006699, 0x0099CC, 0x0066CC, 0x0033CC, 0x0000FF, 0x3333FF, 0x333399},
    {0x008080, 0x009999, 0x33CCCC, 0x00CCFF, 0x0099FF, 0x0066FF, 0x3366FF, 0x3333CC, 0x666699},
    {0x339966, 0x00CC99, 0x00FFCC, 0x00FFFF, 0x33CCFF, 0x3399FF, 0x6699FF, 0x6666FF, 0x6600FF, 0x6600CC},
    {0x339933, 0x00CC66, 0x00FF99, 0x66FFCC, 0x66FFFF, 0x66CCFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9900FF},
    {0x006600, 0x00CC00, 0x00FF00, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCECFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC00FF,
     0x9900CC},
    {0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
     0xCC00CC, 0x660066},
    {0x336600, 0x009900, 0x66FF33, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF33CC, 0xCC0099,
     0x800080},
    {0x333300, 0x669900, 0x99FF33, 0xCCFF66, 0xFFFF99, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xCC3399, 0x990099},
    {0x666633, 0x99CC00, 0xCCFF33, 0xFFFF66, 0xFFCC66, 0xFF9966, 0xFF7C80, 0xFF0066, 0xD60093, 0x993366},
    {0x808000, 0xCCCC00, 0xFFFF00, 0xFFCC00, 0xFF9933, 0xFF6600, 0xFF5050, 0xCC0066, 0x660033},
    {0x996633, 0xCC9900, 0xFF9900, 0xCC6600, 0xFF3300, 0xFF0000, 0xCC0000, 0x990033},
    {0x663300, 0x996600, 0xCC3300, 0x993300, 0x990000, 0x800000, 0xA50021},
};

TColor FromRRGGBB(unsigned v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }

} // namespace

// ---------------------------------------------------------------------------
// The cube.

TAdvColorCubePanel::TAdvColorCubePanel(TComponent* AOwner) : TAdvCustomColorSelectorPanel(AOwner)
{
    InitCells();
    SetShowRGBHint(true);
}

void TAdvColorCubePanel::InitCells()
{
    FCubeSize = {6, 3};
    int index = 1;
    for (int r = 1; r <= 13; ++r) {
        const int count = r <= 7 ? 6 + r : 20 - r;
        const int y = 20 + 10 * (r - 1);
        const int firstX = r <= 7 ? 55 - 6 * (r - 1) : 19 + 6 * (r - 7);
        for (int c = 0; c < count; ++c, ++index) {
            FCubeCells[index].center = {firstX + c * 2 * FCubeSize.x, y};
            FCubeCells[index].color = FromRRGGBB(CubeRows[r - 1][c]);
        }
    }
}

void TAdvColorCubePanel::ResetHotCell()
{
    FHotIndex = -1;
    SetBounds(GetLeft(), GetTop(), 182, 160);
}

void TAdvColorCubePanel::SetShowRGBHint(bool Value)
{
    FShowRGBHint = Value;
    SetShowHint(Value);
}

void TAdvColorCubePanel::SelectCell(TColor Color, int Index)
{
    FSelectedColor = Color;
    if (IsCell(Index)) {
        FSelectedIndex = Index;
        return;
    }
    FSelectedIndex = -1;
    for (int i = 1; i <= CellCount; ++i)
        if (FCubeCells[i].color == Color) {
            FSelectedIndex = i;
            return;
        }
}

POINT TAdvColorCubePanel::GetCellCenter(int Index) const
{
    return IsCell(Index) ? FCubeCells[Index].center : POINT{-1, -1};
}

TColor TAdvColorCubePanel::GetCellColor(int Index) const { return IsCell(Index) ? FCubeCells[Index].color : clNone; }

bool TAdvColorCubePanel::PointInCell(int Index, int X, int Y) const
{
    if (!IsCell(Index))
        return false;
    const long dx = FCubeCells[Index].center.x - X, dy = FCubeCells[Index].center.y - Y;
    return dx * dx + dy * dy <= static_cast<long>(FCubeSize.x) * FCubeSize.x;
}

int TAdvColorCubePanel::CellAtPos(int X, int Y) const
{
    for (int i = 1; i <= CellCount; ++i)
        if (PointInCell(i, X, Y))
            return i;
    return -1;
}

void TAdvColorCubePanel::DrawHexagon(TCanvas* Canvas, POINT Center, int X, int Y)
{
    const long cx = Center.x, cy = Center.y;
    const std::vector<TPoint> points = {TPoint(cx - X, cy - Y), TPoint(cx, cy - 2 * Y), TPoint(cx + X, cy - Y),
                                        TPoint(cx + X, cy + Y), TPoint(cx, cy + 2 * Y), TPoint(cx - X, cy + Y)};
    Canvas->Polygon(points);
}

void TAdvColorCubePanel::DrawFrame(TCanvas* Canvas, POINT Center, TColor Outer)
{
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->GetPen()->SetColor(Outer);
    DrawHexagon(Canvas, Center, FCubeSize.x - 1, FCubeSize.y);
    Canvas->GetPen()->SetColor(clWhite);
    DrawHexagon(Canvas, Center, FCubeSize.x - 2, FCubeSize.y - 1);
    Canvas->GetBrush()->SetStyle(bsSolid);
}

void TAdvColorCubePanel::DrawCell(int Index)
{
    if (!IsCell(Index) || !HandleAllocated())
        return;
    TCanvas* canvas = GetCanvas();
    const Cell& cell = FCubeCells[Index];
    canvas->GetPen()->SetColor(cell.color);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(cell.color);
    DrawHexagon(canvas, cell.center, FCubeSize.x, FCubeSize.y);
    if (Index == FHotIndex)
        DrawFrame(canvas, cell.center, RGB(255, 0, 0));
    if (Index == FSelectedIndex)
        DrawFrame(canvas, cell.center, RGB(0, 0, 0));
}

void TAdvColorCubePanel::DrawCells()
{
    for (int i = 1; i <= CellCount; ++i)
        DrawCell(i);
}

void TAdvColorCubePanel::Paint()
{
    TAdvCustomColorSelectorPanel::Paint();
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
    DrawCells();
}

void TAdvColorCubePanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int i = CellAtPos(X, Y);
    if (i >= 1) {
        if (i == FHotIndex)
            return;
        const int old = FHotIndex;
        FHotIndex = i;
        DrawCell(old);
        DrawCell(i);
        if (FShowRGBHint) {
            const COLORREF c = ColorToRGB(FCubeCells[i].color);
            SetHint(::Format(L"Red: %d,  Green: %d,  Blue: %d", {GetRValue(c), GetGValue(c), GetBValue(c)}));
            if (Application)
                Application->CancelHint();
        }
    } else if (FShowRGBHint) {
        SetHint(String());
        if (Application)
            Application->CancelHint();
    }
}

void TAdvColorCubePanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int i = CellAtPos(X, Y);
    if (i < 1)
        return;
    const int old = FSelectedIndex;
    FSelectedIndex = -1;
    DrawCell(old);
    SelectCell(FCubeCells[i].color, i);
    DrawCell(i);
    if (OnSelect)
        OnSelect(this);
}

void TAdvColorCubePanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    ShouldHide();
}

// ---------------------------------------------------------------------------
// The spectrum.

TAdvColorSpectrumPanel::TAdvColorSpectrumPanel(TComponent* AOwner) : TAdvCustomColorSelectorPanel(AOwner)
{
    FSpectrumImage = New<TImage>(this);
    FSpectrumImage->SetParent(this);
    FSpectrumImage->SetBounds(0, 0, 128, 128);
    FSpectrumImage->GetPicture()->GetBitmap()->LoadFromResourceName(HInstance(), L"PACK_SPECTRUM");
    FSpectrumImage->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { ImageMouseMove(s, sh, x, y); };
    FSpectrumImage->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ImageMouseDown(s, b, sh, x, y);
    };
    FSpectrumImage->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ImageMouseUp(s, b, sh, x, y);
    };
    FHotColor = clNone;
    FSelectedColor = clWhite;
    // A private copy, not the shared resource cursor: the screen destroys
    // the cursor it replaces.
    if (Screen)
        if (HCURSOR pointer =
                static_cast<HCURSOR>(LoadImageW(HInstance(), L"PACK_POINTER", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)))
            Screen->SetCursors(crPackPointer, pointer);
    FSpectrumImage->SetCursor(crPackPointer);
}

void TAdvColorSpectrumPanel::ArrangeSpectrum()
{
    SetBounds(GetLeft(), GetTop(), 150, 174);
    FSpectrumImage->SetBounds((GetWidth() - 128) / 2, 10, 128, 128);
    const int p = FSpectrumImage->GetLeft();
    const int b = FSpectrumImage->GetTop() + FSpectrumImage->GetHeight();
    FSelectedRect = TRect(p - 1, b + 8, p + 128 / 2 - 2, b + 28);
    FHotRect = TRect(FSelectedRect.right + 4, b + 8, p + 128 + 1, b + 28);
    FHotColor = clNone;
    Invalidate();
}

void TAdvColorSpectrumPanel::DrawSwatch(const TRect& R, TColor Color)
{
    if (!HandleAllocated())
        return;
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetPen()->SetColor(RGB(128, 128, 128));
    canvas->Rectangle(TRect(R.left - 1, R.top - 1, R.right + 1, R.bottom + 1));
    canvas->GetPen()->SetColor(clWhite);
    // Before the first move there is no hot colour: the swatch shows the
    // panel's own colour.
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(Color == clNone ? GetColor() : Color);
    canvas->Rectangle(R);
}

void TAdvColorSpectrumPanel::DrawHotSwatch() { DrawSwatch(FHotRect, FHotColor); }

void TAdvColorSpectrumPanel::DrawSelectedSwatch() { DrawSwatch(FSelectedRect, FSelectedColor); }

void TAdvColorSpectrumPanel::Paint()
{
    TAdvCustomColorSelectorPanel::Paint();
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
    const TRect picture = FSpectrumImage->GetBoundsRect();
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->GetPen()->SetColor(clWhite);
    canvas->Rectangle(TRect(picture.left - 1, picture.top - 1, picture.right + 1, picture.bottom + 1));
    canvas->GetPen()->SetColor(RGB(128, 128, 128));
    canvas->Rectangle(TRect(picture.left - 2, picture.top - 2, picture.right + 2, picture.bottom + 2));
    canvas->GetBrush()->SetStyle(bsSolid);
    DrawSelectedSwatch();
    DrawHotSwatch();
}

void TAdvColorSpectrumPanel::ImageMouseMove(TObject*, TShiftState, int X, int Y)
{
    TBitmap* bitmap = FSpectrumImage->GetPicture()->GetBitmap();
    if (X < 0 || Y < 0 || X >= bitmap->GetWidth() || Y >= bitmap->GetHeight())
        return;
    FHotColor = bitmap->GetCanvas()->GetPixels(X, Y);
    DrawHotSwatch();
}

void TAdvColorSpectrumPanel::ImageMouseDown(TObject* Sender, TMouseButton, TShiftState Shift, int X, int Y)
{
    // A press without a move before it still picks the pixel under it.
    ImageMouseMove(Sender, Shift, X, Y);
    SetSelectedColor(FHotColor);
    DrawSelectedSwatch();
    if (OnSelect)
        OnSelect(this);
}

void TAdvColorSpectrumPanel::ImageMouseUp(TObject*, TMouseButton, TShiftState, int, int) { ShouldHide(); }

void TAdvColorSpectrumPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    ShouldHide();
}
