// The overlay windows and the masks of the focus frame.
//
// The masks trust nothing about their inputs: a merge of a mask of another
// depth or of a smaller size changes nothing, and copying between masks of
// different sizes copies only the part both have, since a row read past
// either end would walk off the pixels.
#include "AdvGridOverlays.h"
#include "AdvGrid.h"
#include "GridHTML.h"
#include "GdiHandles.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

// --- arrows ------------------------------------------------------------------------------

namespace {

constexpr POINT ArrowPoints[4][7] = {
    {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}},   // arrUp
    {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}},    // arrDown
    {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}},   // arrLeft: points right
    {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}},   // arrRight: points left
};

} // namespace

TArrowWindow::TArrowWindow(TComponent* AOwner) : TPanel(AOwner) {}

void TArrowWindow::Init(TWinControl* AOwner, TArrowDirection Direction)
{
    dir_ = Direction;
    SetColor(0x00FF00);
    SetVisible(false);
    SetParent(AOwner);
}

void TArrowWindow::CreateParams(TCreateParams& Params)
{
    TPanel::CreateParams(Params);
    Params.Style = WS_POPUP;
}

void TArrowWindow::CreateWnd()
{
    TPanel::CreateWnd();
    HRGN region = CreatePolygonRgn(ArrowPoints[dir_], 7, WINDING);
    // The window owns the region once it is set.
    if (region && !SetWindowRgn(GetHandle(), region, TRUE))
        DeleteObject(region);
}

void TArrowWindow::Paint()
{
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
}

// --- the focus window ------------------------------------------------------------------------

TGridFocusWindow::TGridFocusWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetWidth(0);
    SetHeight(0);
    SetColor(0x0000FF);
}

void TGridFocusWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_DISABLED;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WndParent = GetDesktopWindow();
}

// --- the alpha mask -----------------------------------------------------------------------------

TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(pf32bit); }

void TGridAlphaMask::Assign(TPersistent* Source)
{
    if (auto* mask = dynamic_cast<TGridAlphaMask*>(Source)) {
        FOpacity = mask->FOpacity;
        SetPixelFormat(pf32bit);
        const int rows = std::min(GetHeight(), mask->GetHeight());
        const int bytes = std::min(GetWidth(), mask->GetWidth()) * 4;
        for (int y = 0; y < rows && bytes > 0; ++y)
            std::memcpy(GetScanLine(y), mask->GetScanLine(y), static_cast<size_t>(bytes));
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor)
{
    if (!Mask || !Bitmap || Bitmap->GetPixelFormat() != pf24bit || Mask->GetPixelFormat() != pf24bit)
        return;
    const int width = Bitmap->GetWidth();
    const int height = Bitmap->GetHeight();
    if (Mask->GetWidth() < width || Mask->GetHeight() < height)
        return;
    SetPixelFormat(pf32bit);
    SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        const auto* source = static_cast<const Byte*>(Bitmap->GetScanLine(y));
        const auto* alpha = static_cast<const Byte*>(Mask->GetScanLine(y));
        auto* target = static_cast<Byte*>(GetScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = alpha[3 * x + 2];
            for (int k = 0; k < 3; ++k)
                target[4 * x + k] = static_cast<Byte>(std::lround(source[3 * x + k] * a / 255.0));
            target[4 * x + 3] = static_cast<Byte>(a);
        }
    }
}

// --- mask routines -------------------------------------------------------------------------------

namespace {

Byte ClampToByte(int Low, int High, double X)
{
    if (X < Low)
        return static_cast<Byte>(Low);
    if (X >= High)
        return static_cast<Byte>(High);
    return static_cast<Byte>(static_cast<int>(X));
}

// Weights for offsets -S .. S (index k + S), S the kept half-width.
std::vector<double> BlurKernel(double Radius, int& S)
{
    constexpr int Max = 10;
    double w[2 * Max + 1];
    double sum = 0;
    for (int i = -Max; i <= Max; ++i) {
        w[i + Max] = std::exp(-(i / Radius) * (i / Radius) / 2);
        sum += w[i + Max];
    }
    for (double& v : w)
        v /= sum;
    S = Max;
    double dropped = 0;
    while (S > 1 && dropped + 2 * w[S + Max] < 1.0 / 510) {
        dropped += 2 * w[S + Max];
        --S;
    }
    std::vector<double> kernel(w + Max - S, w + Max + S + 1);
    double kept = 0;
    for (double v : kernel)
        kept += v;
    for (double& v : kernel)
        v /= kept;
    return kernel;
}

// Pixels are 3 bytes apart by Step bytes; N of them.
void BlurLine(Byte* First, ptrdiff_t Step, int N, const std::vector<double>& Kernel, int S, std::vector<Byte>& Buffer)
{
    Buffer.resize(static_cast<size_t>(N) * 3);
    for (int x = 0; x < N; ++x)
        for (int c = 0; c < 3; ++c) {
            double v = 0;
            for (int k = -S; k <= S; ++k) {
                const int at = std::clamp(x - k, 0, N - 1);
                v += Kernel[k + S] * First[at * Step + c];
            }
            // A sum meant as 255 may fall a hair short in floating point.
            Buffer[static_cast<size_t>(3 * x + c)] = ClampToByte(0, 255, v + 1e-9);
        }
    for (int x = 0; x < N; ++x)
        for (int c = 0; c < 3; ++c)
            First[x * Step + c] = Buffer[static_cast<size_t>(3 * x + c)];
}

} // namespace

void BlurBitmap(TBitmap* Bitmap, double Radius)
{
    if (!Bitmap || Bitmap->GetPixelFormat() != pf24bit)
        throw Exception(L"Blur only works for 24-bit bitmaps");
    // A radius of zero has no kernel: the bitmap stays as it is.
    if (!(Radius > 0))
        return;
    const int width = Bitmap->GetWidth();
    const int height = Bitmap->GetHeight();
    if (width <= 0 || height <= 0)
        return;
    int S = 0;
    const std::vector<double> kernel = BlurKernel(Radius, S);
    std::vector<Byte> buffer;
    constexpr int Band = 20;
    constexpr int Sample = 15;

    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<Byte*>(Bitmap->GetScanLine(y));
        if (y <= Band || y >= height - Band || Sample >= height)
            BlurLine(row, 3, width, kernel, S, buffer);
        else
            std::memcpy(row, Bitmap->GetScanLine(Sample), static_cast<size_t>(width) * 3);
    }
    // Rows of a bottom-up DIB lie backwards in memory: step by the real distance.
    const ptrdiff_t stride = height > 1 ? static_cast<Byte*>(Bitmap->GetScanLine(1)) -
                                              static_cast<Byte*>(Bitmap->GetScanLine(0))
                                        : 0;
    for (int x = 0; x < width; ++x) {
        if (x <= Band || x >= width - Band || Sample >= width) {
            BlurLine(static_cast<Byte*>(Bitmap->GetScanLine(0)) + 3 * x, stride, height, kernel, S, buffer);
        } else {
            for (int y = 0; y < height; ++y) {
                auto* row = static_cast<Byte*>(Bitmap->GetScanLine(y));
                std::memcpy(row + 3 * x, row + 3 * Sample, 3);
            }
        }
    }
}

void CreateRoundRectMask(TBitmap* Bitmap, int Width, int Height, double BlurRadius, int Rounding, int PenWidth)
{
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    TCanvas* canvas = Bitmap->GetCanvas();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBlack);
    canvas->FillRect(TRect(0, 0, Width, Height));
    const int d = PenWidth / 2;
    canvas->GetPen()->SetColor(clWhite);
    if (PenWidth < 1) {
        canvas->GetPen()->SetWidth(1);
        canvas->GetBrush()->SetColor(clWhite);
    } else {
        canvas->GetPen()->SetWidth(PenWidth);
        canvas->GetBrush()->SetColor(clBlack);
    }
    canvas->RoundRect(d + 2, d + 2, Width - d - 2, Height - d - 2, Rounding, Rounding);
    canvas->GetPen()->SetWidth(1);
    if (BlurRadius > 0)
        BlurBitmap(Bitmap, BlurRadius);
}

// --- the header drag button ------------------------------------------------------------------

THeaderDragButton::THeaderDragButton(TComponent* AOwner) : TCustomControl(AOwner) { SetColor(clBtnFace); }

void THeaderDragButton::SetCaption(const String& Value)
{
    FCaption = Value;
    Invalidate();
}

void THeaderDragButton::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.WindowClass.style |= CS_SAVEBITS;
    Params.WndParent = GetDesktopWindow();
}

void THeaderDragButton::Paint()
{
    TCanvas* canvas = GetCanvas();
    const TRect client = GetClientRect();
    if (FGrid && FGrid->GetColCount() > 0 && FGrid->GetRowCount() > 0) {
        FGrid->PaintCellExt(canvas, 0, 0, client, TGridDrawState{});
    } else {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->FillRect(client);
    }
    canvas->GetBrush()->SetStyle(bsClear);
    if (FCaption.find(L"</") == String::npos) {
        RECT r = client;
        DrawTextW(canvas->GetHandle(), FCaption.c_str(), static_cast<int>(FCaption.size()), &r,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    } else {
        String anchor, strip, focusAnchor, hint, controlID, controlValue, controlType;
        int xsize = 0, ysize = 0, links = 0, mouseLink = 0;
        TRect hoverRect, controlRect;
        GridHTMLDraw(canvas, FCaption, client, FGrid ? FGrid->GetGridImages() : nullptr, 0, 0, -1, -1, 1, false,
                     false, false, false, false, false, true, false, L"", 0.0, clBlue, clNone, clNone, 0x808080, anchor,
                     strip, focusAnchor, hint, xsize, ysize, links, mouseLink, hoverRect, controlRect, controlID,
                     controlValue, controlType, FGrid ? FGrid->GetImageCache() : nullptr, nullptr, GetHandle(),
                     bdLeftToRight);
    }
    canvas->GetBrush()->SetStyle(bsSolid);
}

// --- the slim scroller -------------------------------------------------------------------------
//
// The view never pages into the fixed rows (columns): when every row fits,
// count - visible lies below the fixed ones and the fixed count wins. A
// track no longer than the fixed header drags nothing, as it has no length
// to map the mouse onto.

TScrollControl::TScrollControl(TComponent* AOwner) : TCustomControl(AOwner)
{
    ControlStyle << csCaptureMouse;
}

TAdvStringGrid* TScrollControl::Grid() const { return dynamic_cast<TAdvStringGrid*>(GetParent()); }

void TScrollControl::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    Invalidate();
}

namespace {

struct TScrollAxis {
    int count;
    int fixed;
    int visible;
    int first;
    int fixedExtent;   // the fixed header along the track
    int footerExtent;  // fixed footer rows at the end
    int firstExtent;   // row 0's height (column 0's width)
};

TScrollAxis AxisOf(TAdvStringGrid* g, bool vertical)
{
    TScrollAxis a{};
    if (vertical) {
        a.count = g->GetRowCount();
        a.fixed = g->GetFixedRows();
        a.visible = g->GetVisibleRowCount();
        a.first = g->GetTopRow();
        for (int r = 0; r < a.fixed && r < a.count; ++r)
            a.fixedExtent += g->GetRowHeights(r);
        for (int r = std::max(0, a.count - g->GetFixedFooters()); r < a.count; ++r)
            a.footerExtent += g->GetRowHeights(r);
        a.firstExtent = a.count > 0 ? g->GetRowHeights(0) : 0;
    } else {
        a.count = g->GetColCount();
        a.fixed = g->GetFixedCols();
        a.visible = g->GetVisibleColCount();
        a.first = g->GetLeftCol();
        for (int c = 0; c < a.fixed && c < a.count; ++c)
            a.fixedExtent += g->GetColWidths(c);
        a.firstExtent = a.count > 0 ? g->GetColWidths(0) : 0;
    }
    return a;
}

bool EmptyRect(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

int ClampFirst(const TScrollAxis& a, int first)
{
    return std::max(a.fixed, std::min(first, a.count - a.visible));
}

void SetFirst(TAdvStringGrid* g, bool vertical, int first)
{
    if (vertical)
        g->SetTopRow(first);
    else
        g->SetLeftCol(first);
}

} // namespace

TRect TScrollControl::ThumbRect()
{
    TAdvStringGrid* g = Grid();
    if (!g)
        return {};
    const bool vertical = FDirection == sdVertical;
    const TScrollAxis a = AxisOf(g, vertical);
    if (a.visible >= a.count - a.fixed)
        return {};
    const int length = vertical ? GetHeight() : GetWidth();
    const int track = length - a.fixedExtent - a.footerExtent;
    const double V = a.visible / static_cast<double>(std::max(1, a.count));
    const double P = (a.first - a.fixed) / static_cast<double>(std::max(1, a.count - a.fixed));
    int pos = a.fixedExtent + static_cast<int>(std::lround(track * P));
    const int size = std::max(20, static_cast<int>(std::lround(track * V)));
    if (pos + size > length)
        pos = length - size;
    return vertical ? TRect(0, pos, FScrollWidth, pos + size) : TRect(pos, 0, pos + size, FScrollWidth);
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    TAdvStringGrid* g = Grid();
    if (!g || Button != mbLeft)
        return;
    const bool vertical = FDirection == sdVertical;
    const TScrollAxis a = AxisOf(g, vertical);
    const TRect thumb = ThumbRect();
    if (EmptyRect(thumb))
        return;
    const int at = vertical ? Y : X;
    const int start = vertical ? thumb.top : thumb.left;
    const int end = vertical ? thumb.bottom : thumb.right;
    if (at < start) {
        SetFirst(g, vertical, ClampFirst(a, a.first - a.visible));
    } else if (at >= end) {
        SetFirst(g, vertical, ClampFirst(a, a.first + a.visible));
    } else {
        FDragging = true;
        FPressAt = at;
        FPressFirst = a.first;
    }
    Invalidate();
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    TAdvStringGrid* g = Grid();
    if (!g || !FDragging)
        return;
    const bool vertical = FDirection == sdVertical;
    const TScrollAxis a = AxisOf(g, vertical);
    const int span = (vertical ? GetHeight() : GetWidth()) - a.firstExtent;
    if (span <= 0)
        return;
    const int moved = (vertical ? Y : X) - FPressAt;
    const int first = static_cast<int>(std::lround(moved / static_cast<double>(span) * a.count)) + FPressFirst;
    SetFirst(g, vertical, ClampFirst(a, first));
    Invalidate();
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FDragging = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TScrollControl::Paint()
{
    TAdvStringGrid* g = Grid();
    if (!g)
        return;
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    if (g->HandleAllocated()) {
        // The grid's own pixels under the scroller: it looks transparent.
        const TSavedDC saved(dc);
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x - GetLeft(), origin.y - GetTop(), nullptr);
        g->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        g->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    const TRect thumb = ThumbRect();
    if (EmptyRect(thumb))
        return;
    canvas->GetPen()->SetColor(FColor);
    canvas->GetBrush()->SetColor(FColor);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->Rectangle(thumb.left, thumb.top, thumb.right, thumb.bottom);
}
