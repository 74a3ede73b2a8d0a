// What the grid paints besides its cells: the frame round a cell being
// edited, the picture or gradient in the area the cells leave empty, and,
// while designing, the quick configuration box in the bottom-right corner.
#include "AdvGrid.h"
#include "AdvDropDown.h"
#include "GdiHandles.h"
#include <algorithm>

namespace {

constexpr int DesignBoxWidth = 150;

} // namespace

void TAdvStringGrid::Paint()
{
    TCanvas* canvas = GetCanvas();
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetBrush()->SetStyle(bsSolid);
    TBaseGrid::Paint();
    if (GetEditorMode() && GetCol() < GetColCount() && GetRow() < GetRowCount()) {
        const TGridOptions options = GetOptions();
        const bool lines = options.Contains(goHorzLine) || options.Contains(goVertLine);
        canvas->GetPen()->SetColor(GetGridLineWidth() < 1 || !lines ? GetColor() : GetGridLineColor());
        canvas->GetBrush()->SetStyle(bsClear);
        const TRect r = CellRect(GetCol(), GetRow());
        canvas->Rectangle(r.left, r.top, r.right, r.bottom);
        canvas->GetBrush()->SetStyle(bsSolid);
    }
    canvas->GetPen()->SetColor(clBlack);
    if (!FBackGround->GetBitmap()->GetEmpty() || FBackGround->GetColorTo() != clNone)
        PaintBackgroundOutsideCells();
    PaintDesignHelper();
    if (OnPainted)
        OnPainted(this);
}

void TAdvStringGrid::PaintBackgroundOutsideCells()
{
    const int rows = GetRowCount();
    const int cols = GetColCount();
    if (rows == 0 || cols == 0)
        return;
    if (GetTopRow() + GetVisibleRowCount() < rows && GetLeftCol() + GetVisibleColCount() < cols)
        return;
    const TBackGroundDisplay display = FBackGround->GetDisplay();
    const bool gradient = display == bdGradientHorz || display == bdGradientVert;
    if (gradient && FBackGround->GetColorTo() == clNone)
        return;

    const TRect client = GetClientRect();
    const int lw = GetGridLineWidth();
    TRegionHandle area(CreateRectRgn(0, 0, 0, 0));
    bool any = false;
    if (GetLeftCol() + GetVisibleColCount() >= cols) {
        const TRect last = CellRect(cols - 1, GetTopRow());
        const int right = last.right + lw;
        if (last.right > last.left && right < client.right) {
            TRegionHandle band(CreateRectRgn(right, client.top, client.right, client.bottom));
            CombineRgn(area.Get(), area.Get(), band.Get(), RGN_OR);
            any = true;
        }
    }
    if (GetTopRow() + GetVisibleRowCount() >= rows) {
        const TRect last = CellRect(GetLeftCol(), rows - 1);
        const int bottom = last.bottom + lw;
        if (last.bottom > last.top && bottom < client.bottom) {
            TRegionHandle band(CreateRectRgn(client.left, bottom, client.right, client.bottom));
            CombineRgn(area.Get(), area.Get(), band.Get(), RGN_OR);
            any = true;
        }
    }
    if (!any)
        return;

    TRect r = client;
    if (FSearchFooter->GetVisible())
        r.bottom -= 32;
    if (FFloatingFooter->GetVisible() && FFooterPanel)
        r.bottom -= FFooterPanel->GetHeight();
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    const TSavedDC saved(dc);
    // Clip regions are in device units: follow a shifted origin (the grid
    // painted into another control's DC).
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    OffsetRgn(area.Get(), origin.x, origin.y);
    ExtSelectClipRgn(dc, area.Get(), RGN_AND);
    TBitmap* picture = FBackGround->GetBitmap();
    if (picture->GetEmpty()) {
        if (gradient)
            DrawStepGradient(canvas, FBackGround->GetColor(), FBackGround->GetColorTo(), 128, r,
                             display == bdGradientHorz);
    } else if (display != bdTile) {
        PaintBackgroundPictureFixed(r);
    } else if (FBackGround->GetCells() != bcFixed) {
        TRect tile = r;
        if (FBackGround->GetCells() == bcNormal && GetFixedCols() < cols && GetFixedRows() < rows) {
            const TRect first = CellRect(GetFixedCols(), GetFixedRows());
            tile.left = first.left;
            tile.top = first.top;
        }
        tile.left += FXYOffset.x;
        tile.top += FXYOffset.y;
        PaintBackgroundPictureTiled(tile);
    }
}

void TAdvStringGrid::PaintBackgroundPictureFixed(const TRect& R)
{
    TBitmap* picture = FBackGround->GetBitmap();
    const TRect place(FBackGround->GetLeft(), FBackGround->GetTop(), FBackGround->GetLeft() + picture->GetWidth(),
                      FBackGround->GetTop() + picture->GetHeight());
    RECT overlap{};
    const RECT a = place;
    const RECT b = R;
    if (!IntersectRect(&overlap, &a, &b))
        return;
    HDC dc = GetCanvas()->GetHandle();
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    BitBlt(dc, overlap.left, overlap.top, overlap.right - overlap.left, overlap.bottom - overlap.top,
           picture->GetCanvas()->GetHandle(), overlap.left - place.left, overlap.top - place.top, SRCCOPY);
    SetBkMode(dc, oldMode);
}

void TAdvStringGrid::PaintBackgroundPictureTiled(const TRect& R)
{
    TBitmap* picture = FBackGround->GetBitmap();
    const int w = picture->GetWidth();
    const int h = picture->GetHeight();
    if (w <= 0 || h <= 0)
        return;
    HDC dc = GetCanvas()->GetHandle();
    HDC source = picture->GetCanvas()->GetHandle();
    for (int y = R.top - 1; y < R.bottom; y += h)
        for (int x = R.left - 1; x < R.right; x += w)
            BitBlt(dc, x, y, std::min(w, static_cast<int>(R.right) - x), std::min(h, static_cast<int>(R.bottom) - y),
                   source, 0, 0, SRCCOPY);
}

// --- the design box -----------------------------------------------------------------------------

namespace {

struct TDesignFont {
    explicit TDesignFont(TCanvas* Canvas) : canvas(Canvas)
    {
        saved.reset(New<TFont>());
        saved->Assign(Canvas->GetFont());
        Canvas->GetFont()->SetName(L"Tahoma");
        Canvas->GetFont()->SetSize(8);
    }
    ~TDesignFont() { canvas->GetFont()->Assign(saved.get()); }
    TCanvas* canvas;
    TOwned<TFont> saved;
};

} // namespace

void TAdvStringGrid::PaintDesignHelper()
{
    if (!FShowDesignHelper || !DesignTime())
        return;
    TCanvas* canvas = GetCanvas();
    const TDesignFont font(canvas);
    const int h = canvas->TextHeight(L"gh");
    const TRect client = GetClientRect();
    const TRect box(client.right - DesignBoxWidth, client.bottom - (4 * h + 18), client.right, client.bottom);
    canvas->GetBrush()->SetColor(clInfoBk);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetPen()->SetColor(0x808080);
    canvas->Rectangle(box.left, box.top, box.right, box.bottom);
    canvas->GetFont()->SetColor(0x800000);
    canvas->GetBrush()->SetStyle(bsClear);
    auto line = [&](int item, int x, int y, const String& text) {
        TFontStyles style;
        if (FLastDesignChoice == item)
            style << fsUnderline;
        canvas->GetFont()->SetStyle(style);
        canvas->TextOut(x, y, text);
    };
    line(0, box.left + 4, box.top + 4, L"Quick config [v" + GetVersionString() + L"]");
    if (HBITMAP close = LoadBitmapW(HInstance(), L"ASGCLOSE")) {
        const TBitmapHandle owned(close);
        const TMemoryDC memory(canvas->GetHandle());
        const TSelectObject select(memory.Get(), close);
        BitBlt(canvas->GetHandle(), box.right - 16, box.top + 2, 16, 16, memory.Get(), 0, 0, SRCCOPY);
    }
    DrawCheckBox(canvas, TRect(box.left + 4, box.top + h + 4, box.left + 20, box.top + h + 20),
                 GetOptions().Contains(goEditing), cbUnchecked, false, AdvGrid::csWinXP, false, true);
    line(1, box.left + 22, box.top + h + 6, L"Allow edit");
    DrawCheckBox(canvas, TRect(box.left + 4, box.top + 2 * h + 6, box.left + 20, box.top + 2 * h + 22),
                 FShowColNrs, cbUnchecked, false, AdvGrid::csWinXP, false, true);
    line(2, box.left + 22, box.top + 2 * h + 8, L"Column numbers");
    String caption;
    GetLookCaption(FLook, caption);
    line(3, box.left + 4, box.top + 3 * h + 10, L"Set look: " + caption);
    canvas->GetFont()->SetStyle(TFontStyles());
    canvas->GetBrush()->SetStyle(bsSolid);
}

int TAdvStringGrid::DesignHelperHitTest(int X, int Y)
{
    TCanvas* canvas = GetCanvas();
    const TDesignFont font(canvas);
    const int h = canvas->TextHeight(L"gh");
    const int band = h + 2;
    const TRect client = GetClientRect();
    const int right = client.right;
    const int top = client.bottom - (4 * h + 18);
    if (X < right - DesignBoxWidth || Y < top || Y >= client.bottom)
        return -1;
    const int y = Y - top;
    if (X > right - 16 && y < 16)
        return 4;
    String caption;
    GetLookCaption(FLook, caption);
    if (y >= band && y < 2 * band && X > right - DesignBoxWidth && X < right - 132 + canvas->TextWidth(L"Allow edit"))
        return 1;
    if (y >= 2 * band && y < 3 * band && X > right - DesignBoxWidth &&
        X < right - 132 + canvas->TextWidth(L"Column numbers"))
        return 2;
    if (y >= 3 * band && y < 4 * band + 4 && X < right - DesignBoxWidth + canvas->TextWidth(L"Set look: " + caption))
        return 3;
    return -1;
}

void TAdvStringGrid::DesignHelperClick(int X, int Y)
{
    const int item = DesignHelperHitTest(X, Y);
    switch (item) {
    case 1:
        if (GetOptions().Contains(goEditing))
            SetOptions(GetOptions() - goEditing);
        else
            SetOptions(GetOptions() + goEditing);
        break;
    case 2:
        FShowColNrs = !FShowColNrs;
        Invalidate();
        break;
    case 3: {
        struct TLookItem {
            const wchar_t* caption;
            int command;
        };
        static constexpr TLookItem items[] = {
            {L"Standard", 1}, {L"Soft", 2},         {L"Classic", 3},      {L"Pack", 4},      {L"ListView", 6},
            {L"Office 2007", 9}, {L"Windows XP", 5}, {L"Windows Vista", 7}, {L"Windows 7", 8},
        };
        HMENU menu = CreatePopupMenu();
        for (const TLookItem& i : items)
            AppendMenuW(menu, MF_STRING | (static_cast<int>(FLook) == i.command - 1 ? MF_CHECKED : 0),
                        static_cast<UINT_PTR>(i.command), i.caption);
        POINT p{X, Y};
        ::ClientToScreen(GetHandle(), &p);
        const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, GetHandle(), nullptr);
        DestroyMenu(menu);
        if (chosen > 0)
            SetLook(static_cast<TGridLook>(chosen - 1));
        break;
    }
    case 4:
        FShowDesignHelper = false;
        Invalidate();
        break;
    default:
        return;
    }
    if (item >= 1 && item <= 3)
        if (TCustomForm* form = GetParentForm(this)) {
            // The designer notices a change by the form's size.
            form->SetWidth(form->GetWidth() - 1);
            form->SetWidth(form->GetWidth() + 1);
        }
}

void TAdvStringGrid::HandleCMDesignHitTest(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
    if (!DesignTime() || !FShowDesignHelper)
        return;
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(GetHandle(), &p);
    const int item = DesignHelperHitTest(p.x, p.y);
    if (item != FLastDesignChoice) {
        const TRect client = GetClientRect();
        RECT r{client.right - DesignBoxWidth, client.bottom - 70, client.right, client.bottom};
        ::InvalidateRect(GetHandle(), &r, FALSE);
    }
    FLastDesignChoice = item;
    if (item >= 1 && item <= 4)
        Message.Result = 1;
}
