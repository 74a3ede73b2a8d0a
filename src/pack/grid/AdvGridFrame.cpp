// What the grid draws round its cells: the border in BorderColor on the
// window DC, the XOR lines that follow a column or row being sized, and the
// glowing layered frame round the current cell.
#include "AdvGrid.h"
#include "AdvGridOverlays.h"
#include "AdvUtil.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include <algorithm>

namespace {

// The grid whose focus frame shows; one at a time in the program.
TAdvStringGrid* FocusFrameGrid = nullptr;

constexpr TColor FocusFrameColor = 0xFDD397;
constexpr Byte FocusFrameOpacity = 230;

bool BorderLook(TGridLook Look) { return Look == glSoft || Look >= glPack; }

} // namespace

TGridFocusWindow* TAdvStringGrid::FocusWindow()
{
    if (!FFocusWindow)
        FFocusWindow = New<TGridFocusWindow>(this);
    return FFocusWindow;
}

void TAdvStringGrid::UpdateLayeredFromMask(TWinControl* Window, TGridAlphaMask* Mask)
{
    if (!Window || !Mask || Mask->GetHeight() <= 0)
        return;
    HWND handle = Window->GetHandle();
    SetWindowLongW(handle, GWL_EXSTYLE, GetWindowLongW(handle, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetWindowPos(handle, nullptr, 0, 0, Mask->GetWidth(), Mask->GetHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT place{};
    GetWindowRect(handle, &place);
    POINT position{place.left, place.top};
    SIZE size{Mask->GetWidth(), Mask->GetHeight()};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, Mask->GetOpacity(), AC_SRC_ALPHA};
    const TWindowDC screen;
    CallUpdateLayeredWindow(handle, screen.Get(), &position, &size, Mask->GetCanvas()->GetHandle(), &origin, 0,
                            &blend, ULW_ALPHA);
}

void TAdvStringGrid::ShowFocusWindow(const TRect& CellRect)
{
    if (!HandleAllocated())
        return;
    const int cellWidth = CellRect.right - CellRect.left;
    const int cellHeight = CellRect.bottom - CellRect.top;
    const int W = cellWidth + 9;
    const int H = cellHeight + 9;
    TGridFocusWindow* window = FocusWindow();
    HideFocusWindow();
    window->SetBounds(window->GetLeft(), window->GetTop(), W, H);

    TOwned<TBitmap> mask(New<TBitmap>());
    CreateRoundRectMask(mask.get(), W, H, 3, 5, 4);
    TOwned<TBitmap> colour(New<TBitmap>());
    colour->SetPixelFormat(pf24bit);
    colour->SetSize(W, H);
    colour->GetCanvas()->GetPen()->SetColor(FocusFrameColor);
    colour->GetCanvas()->GetBrush()->SetColor(FocusFrameColor);
    colour->GetCanvas()->Rectangle(0, 0, W, H);
    TOwned<TGridAlphaMask> alpha(New<TGridAlphaMask>());
    alpha->MergeMask(mask.get(), colour.get(), clNone);
    alpha->SetOpacity(FocusFrameOpacity);
    UpdateLayeredFromMask(window, alpha.get());

    // A ring: the cell's own area stays clear for the editor under it.
    TRegionHandle outer(CreateRectRgn(0, 0, W, H));
    TRegionHandle inner(CreateRectRgn(4, 4, 4 + cellWidth, 4 + cellHeight));
    HRGN ring = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(ring, outer.Get(), inner.Get(), RGN_XOR);
    if (!SetWindowRgn(window->GetHandle(), ring, TRUE))
        DeleteObject(ring);

    POINT origin{CellRect.left, CellRect.top};
    ::ClientToScreen(GetHandle(), &origin);
    SetWindowPos(window->GetHandle(), HWND_TOPMOST, origin.x - 4, origin.y - 4, W, H,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FocusFrameGrid = this;
}

void TAdvStringGrid::MoveFocusWindow()
{
    if (!FFocusWindow || !HandleAllocated())
        return;
    const bool visible = GetCol() >= GetLeftCol() && GetCol() < GetLeftCol() + GetVisibleColCount() &&
                         GetRow() >= GetTopRow() && GetRow() < GetTopRow() + GetVisibleRowCount();
    if (!visible) {
        HideFocusWindow();
        return;
    }
    const TRect cell = CellRect(GetCol(), GetRow());
    POINT origin{cell.left, cell.top};
    ::ClientToScreen(GetHandle(), &origin);
    SetWindowPos(FFocusWindow->GetHandle(), nullptr, origin.x - 4, origin.y - 4, cell.right - cell.left + 9,
                 cell.bottom - cell.top + 9, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAdvStringGrid::HideFocusWindow()
{
    if (FocusFrameGrid == this)
        FocusFrameGrid = nullptr;
    if (FFocusWindow && FFocusWindow->HandleAllocated())
        ShowWindow(FFocusWindow->GetHandle(), SW_HIDE);
}

TGridFocusWindow* TAdvStringGrid::GetFocusWindow() const { return FFocusWindow; }

void TAdvStringGrid::SetArrowColor(TColor Value)
{
    for (TArrowWindow* arrow : {ArwU, ArwD, ArwL, ArwR})
        if (arrow)
            arrow->SetColor(Value);
}

void TAdvStringGrid::ForgetFocusFrame()
{
    if (FocusFrameGrid == this)
        FocusFrameGrid = nullptr;
}

// --- border and sizing lines -------------------------------------------------------------------

void TAdvStringGrid::DrawBorderFrame()
{
    if (!HandleAllocated())
        return;
    const TWindowDC window(GetHandle(), true);
    if (window.Get())
        DrawBorderFrame(window.Get());
}

void TAdvStringGrid::DrawBorderFrame(HDC dc)
{
    if (!BorderLook(FLook) || GetBorderStyle() != bsSingle || FBorderColor == clNone)
        return;
    if (GetFlat() && FLook != glCustom)
        return;
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(FBorderColor)));
    const TSelectObject selectPen(dc, pen.Get());
    const TSelectObject selectBrush(dc, GetStockObject(NULL_BRUSH));
    const int width = GetWidth();
    const int height = GetHeight();
    if (FFitCellsInGrid) {
        Rectangle(dc, 1, 1, width - 1, height - 1);
        const TColor parentColor = GetParent() ? GetParent()->GetColor() : clBtnFace;
        TPenHandle parentPen(CreatePen(PS_SOLID, 1, ColorToRGB(parentColor)));
        const TSelectObject selectParent(dc, parentPen.Get());
        Rectangle(dc, 0, 0, width, height);
    } else if (PlatformProbe().ComCtl6()) {
        Rectangle(dc, 0, 0, width, height);
    }
}

void TAdvStringGrid::HandleWMNCPaint(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
    if (FUpdateCount == 0) {
        DrawBorderFrame();
        Message.Result = 0;
    }
}

namespace {

void DrawXorLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2)
{
    HDC dc = Canvas->GetHandle();
    // A black pen under XOR changes no pixel; white inverts, and a second
    // pass restores what was there.
    TPenHandle pen(CreatePen(PS_DOT, 1, RGB(255, 255, 255)));
    const TSelectObject selectPen(dc, pen.Get());
    const int oldRop = SetROP2(dc, R2_XORPEN);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, X1, Y1, nullptr);
    LineTo(dc, X2, Y2);
    SetBkMode(dc, oldMode);
    SetROP2(dc, oldRop);
}

} // namespace

void TAdvStringGrid::DrawColSizingLine(int X)
{
    int bottom = GetHeight();
    if (GetRowCount() > 0) {
        const TRect last = CellRect(0, GetRowCount() - 1);
        bottom = std::max(bottom, static_cast<int>(last.bottom));
    }
    DrawXorLine(GetCanvas(), X, 0, X, bottom);
}

void TAdvStringGrid::DrawRowSizingLine(int Y)
{
    int right = GetWidth();
    if (GetColCount() > 0) {
        const TRect last = CellRect(GetColCount() - 1, 0);
        right = std::max(right, static_cast<int>(last.right));
    }
    DrawXorLine(GetCanvas(), 0, Y, right, Y);
}

void TAdvStringGrid::DrawSizingLineAt(TGridState State, int Pos)
{
    if (State == gsColSizing)
        DrawColSizingLine(Pos);
    else if (State == gsRowSizing)
        DrawRowSizingLine(Pos);
}
