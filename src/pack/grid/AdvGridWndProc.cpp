// The data grid's window procedure: the registered editor messages, focus,
// cursor, timer, paint and size, the mouse wheel with its own row step,
// Ctrl+wheel zoom and the parent's veto, middle-button panning, and the
// balloon tooltip.
#include "AdvGrid.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include <algorithm>
#include <cmath>
#include <commctrl.h>

namespace {

constexpr UINT_PTR GridTimerID = 111;
constexpr UINT_PTR PanTimerID = 999;
constexpr UINT CM_MOUSEWHEEL_MSG = 0xB043;

bool IsTextEditor(TEditorType e)
{
    return e == edNormal || e == edCapital || e == edMixedCase || e == edLowerCase || e == edUpperCase ||
           e == edValidChars;
}

// The grid's own cursors when the program carries them, else the system's
// nearest.
HCURSOR GridCursor(int id, LPCWSTR fallback)
{
    if (HCURSOR own = LoadCursorW(HInstance(), MAKEINTRESOURCEW(id)))
        return own;
    return LoadCursorW(nullptr, fallback);
}

} // namespace

void TAdvStringGrid::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_DESTROY) {
        if (FGridTimerID && HandleAllocated())
            KillTimer(GetHandle(), GridTimerID);
        FGridTimerID = 0;
        if (wheelpan)
            StopPanning();
        if (FocusedGrid == this)
            FocusedGrid = nullptr;
        WatchOfficeTheme(false);
    }
    if (Destroying()) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (Message.Msg == WM_NOTIFY) {
        HandleWMNotify(Message);
        return;
    }
    if (Message.Msg == WM_NCPAINT) {
        HandleWMNCPaint(Message);
        return;
    }
    if (Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL) {
        ScrollBarMessage(Message);
        return;
    }
    const int oldRow = GetRow();
    if (Message.Msg != 0 && Message.Msg == GridEditShowMessage()) {
        ShowInplaceEdit();
        return;
    }
    if (Message.Msg != 0 && Message.Msg == GridEditDoneMessage()) {
        if (OnEditCellDone)
            OnEditCellDone(this, static_cast<int>(Message.WParam), static_cast<int>(Message.LParam));
        if (FMouseActions->GetEditOnDblClickOnly()) {
            HideInplaceEdit();
            SetEditorMode(false);
            SetOptions(GetOptions() - goEditing);
        }
        return;
    }
    if (Message.Msg == CM_MOUSELEAVE)
        TrackHoverButton(-1, -1, 0, 0);
    if ((Message.Msg == WM_THEMECHANGED || Message.Msg == WM_OFFICE_THEME_CHANGED) && FAutoThemeAdapt)
        AdaptStyleToOfficeTheme();
    switch (Message.Msg) {
    case WM_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE && FShowEditProcess && GetEditorMode() && InplaceEditor() &&
            InplaceEditor()->HandleAllocated() && reinterpret_cast<HWND>(Message.LParam) == InplaceEditor()->GetHandle()) {
            // The cell repaints under the editor: keep the editor from
            // flickering meanwhile.
            const HWND edit = InplaceEditor()->GetHandle();
            SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
            SetEditText(GetCol(), GetRow(), InplaceEditor()->GetText());
            SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
        }
        break;
    case WM_SETFOCUS:
        SetFocusMessage(Message);
        return;
    case WM_GETDLGCODE:
        GetDlgCodeMessage(Message);
        return;
    case CM_DESIGNHITTEST:
        HandleCMDesignHitTest(Message);
        return;
    case WM_KILLFOCUS:
        KillFocusMessage(Message);
        return;
    case WM_SETCURSOR:
        SetCursorMessage(Message);
        return;
    case WM_TIMER:
        TimerMessage(Message);
        return;
    case WM_PAINT:
        if (FUpdateCount > 0) {
            // Declining leaves the area owed; ResetUpdate asks for it again.
            ValidateRect(GetHandle(), nullptr);
            FPaintSkipped = true;
            Message.Result = 0;
            return;
        }
        FPaintCount = 1;
        break;
    case WM_SIZE:
        if (!FInWMSize) {
            SizeMessage(Message);
            return;
        }
        break;
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
        if (wheelpan) {
            StopPanning();
            if (Message.Msg == WM_MBUTTONDOWN)
                return;
        } else if (Message.Msg == WM_MBUTTONDOWN && StartPanning(Message)) {
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        TBaseGrid::WndProc(Message);
        Invalidate();
        return;
    case CM_COLORCHANGED:
        TBaseGrid::WndProc(Message);
        if (FFloatingFooter->GetVisible())
            FFooterPanel->Invalidate();
        return;
    case CM_DIALOGCHAR:
        // The search bar's accelerators; otherwise the children may take it.
        if (SearchFooterDialogChar(static_cast<wchar_t>(Message.WParam))) {
            Message.Result = 1;
            return;
        }
        break;
    case CM_CURSORCHANGED:
        TBaseGrid::WndProc(Message);
        if (!Invokedchange)
            FMouseSelectMode = msNormal;
        Invokedchange = false;
        return;
    default:
        break;
    }
    if (wheelmsg != 0 && Message.Msg == wheelmsg && WheelMessage(Message))
        return;
    if (KeyMessage(Message))
        return;
    TBaseGrid::WndProc(Message);
    if (GetRow() != oldRow && FSyncGrid->GetGrid() && FSyncGrid->GetSelectionRow())
        FSyncGrid->GetGrid()->SetRow(GetRow());
}

void TAdvStringGrid::DestroyWnd()
{
    TBaseGrid::DestroyWnd();
    if (!DesignTime())
        BalloonDone();
}

// --- focus, cursor, timer, size ------------------------------------------------------------

void TAdvStringGrid::SetFocusMessage(TMessage& Message)
{
    if (InvokedFocusChange)
        return;
    TBaseGrid::WndProc(Message);
    if (FNavigation->GetAlwaysEdit() && !GetEditorMode()) {
        bool canEdit = true;
        QueryCellEditable(GetCol(), GetRow(), canEdit);
        const bool visible = GetRow() >= GetTopRow() && GetRow() < GetTopRow() + GetVisibleRowCount() + 1;
        TEditorType editor = FDefaultEditor;
        DoGetEditorType(GetCol(), GetRow(), editor);
        if (visible && canEdit && InplaceEditor() && IsTextEditor(editor)) {
            ShowInplaceEdit();
            return;
        }
        if (visible && canEdit && !InplaceEditor() && !FMouseActions->GetDirectEdit() &&
            !FControlLook->GetDropDownAlwaysVisible() && DoHasComboBox(GetCol(), GetRow(), edNone)) {
            ShowInplaceEdit();
            return;
        }
    }
    if (IsMergedCell(RealColIndex(GetCol()), GetRow()))
        TBaseGrid::RepaintCell(GetCol(), GetRow());
}

void TAdvStringGrid::KillFocusMessage(TMessage& Message)
{
    if (FBlockKill) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WndProc(Message);
    if (GetCol() < GetColCount() && GetRow() < GetRowCount() && IsMergedCell(RealColIndex(GetCol()), GetRow()))
        TBaseGrid::RepaintCell(GetCol(), GetRow());
    if (FHoverButtons->GetEnabled())
        HideHoverButtons();
}

void TAdvStringGrid::SetCursorMessage(TMessage& Message)
{
    const bool sizing = GridState() == gsColSizing || GridState() == gsRowSizing;
    if (FMouseSelectMode != msNormal && FMouseSelectMode != msURL && !sizing) {
        switch (FMouseSelectMode) {
        case msColumn: ::SetCursor(GridCursor(8011, IDC_ARROW)); break;
        case msRow: ::SetCursor(GridCursor(8010, IDC_ARROW)); break;
        default: ::SetCursor(GridCursor(8012, IDC_SIZEALL)); break;
        }
        Message.Result = 1;
        return;
    }
    TBaseGrid::WndProc(Message);
    POINT pt{};
    GetCursorPos(&pt);
    int col = -1;
    int row = -1;
    ScreenToCell(pt, col, row);
    if (col >= 0 && row >= 0) {
        ::ScreenToClient(GetHandle(), &pt);
        DoGetCellCursor(col, row, pt.x, pt.y);
    }
}

void TAdvStringGrid::TimerMessage(TMessage& Message)
{
    if (Message.WParam == PanTimerID) {
        if (wheelpan)
            PanStep();
        return;
    }
    if (Message.WParam != GridTimerID) {
        // The class library's drag-scroll timer; it may scroll a partly
        // shown row into view, which NoScrollOnPartialRow forbids.
        const int top = GetTopRow();
        const int row = GetRow();
        TBaseGrid::WndProc(Message);
        if (FMouseActions->GetNoScrollOnPartialRow()) {
            if (GetTopRow() != top)
                SetTopRowEx(top);
            if (GetRow() != row && row >= 0 && row < GetRowCount())
                SetRowEx(row);
        }
        return;
    }
    ++FTimerTicks;
    if (FNavigation->GetAutoGotoIncremental()) {
        if (SearchTics == 3) {
            FIncrSearchText.clear();
            SearchTics = 0;
        } else {
            ++SearchTics;
        }
    }
    if (FHovering && !DesignTime()) {
        POINT pt{};
        GetCursorPos(&pt);
        if (WindowFromPoint(pt) == GetHandle()) {
            int col = -1;
            int row = -1;
            ScreenToCell(pt, col, row);
            if (col >= GetFixedCols() && row >= GetFixedRows() && col < GetColCount() && row < GetRowCount()) {
                if (CanFocus() && !Focused())
                    SetFocus();
                if (col != GetCol() || row != GetRow())
                    FocusCell(col, row);
            }
        }
    }
    if (FEnableBlink) {
        FGridBlink = !FGridBlink;
        const auto blinks = [this](int c, int r) {
            const String text = GetRawCell(RealColIndex(c), r);
            String upper = text;
            std::transform(upper.begin(), upper.end(), upper.begin(), ::towupper);
            return upper.find(L"<BLI") != String::npos;
        };
        const int lastRow = std::min(GetRowCount() - 1, GetTopRow() + GetVisibleRowCount());
        const int lastCol = std::min(GetColCount() - 1, GetLeftCol() + GetVisibleColCount());
        for (int r = 0; r <= lastRow; ++r) {
            if (r >= GetFixedRows() && r < GetTopRow())
                continue;
            for (int c = 0; c <= lastCol; ++c) {
                if (c >= GetFixedCols() && c < GetLeftCol())
                    continue;
                if (blinks(c, r))
                    RepaintCell(c, r);
            }
        }
    }
}

void TAdvStringGrid::SizeMessage(TMessage& Message)
{
    const int newWidth = LOWORD(Message.LParam);
    if (FSearchPanel->GetVisible()) {
        FSearchPanel->SetHeight(33);
        FSearchPanel->SetHeight(32);
    }
    if (FOldSize > 0 && FColumnSize->GetSynchWithGrid()) {
        HideInplaceEdit();
        const double factor = (newWidth + (GetBorderStyle() == bsSingle ? 2 : 0)) / static_cast<double>(FOldSize);
        const bool normalOnly = FColumnSize->GetSynchNormalCellsOnly();
        const int from = normalOnly ? GetFixedCols() : 0;
        const int to = normalOnly ? GetColCount() - FFixedRightCols : GetColCount();
        for (int c = from; c < to && c < FOrigColSizes->Count(); ++c)
            SetColWidths(c, static_cast<int>(std::trunc(FOrigColSizes->GetItem(c) * factor)));
    }
    if (!FColumnSize->GetStretch() || FScrollBarAlways == saHorz || FScrollBarAlways == saBoth) {
        TBaseGrid::WndProc(Message);
        const TScrollStyle bars = GetScrollBars();
        if (bars != ssHorizontal && bars != ssBoth)
            ShowScrollBar(GetHandle(), SB_HORZ, FALSE);
        if (bars != ssVertical && bars != ssBoth)
            ShowScrollBar(GetHandle(), SB_VERT, FALSE);
        Message.Result = 1;
        return;
    }
    FInWMSize = true;
    const int stretchCol = FColumnSize->GetStretchColumn();
    const int stretched = stretchCol >= 0 && stretchCol < GetColCount() ? stretchCol : GetColCount() - 1;
    int others = 0;
    for (int c = 0; c < GetColCount(); ++c)
        if (c != stretched)
            others += GetColWidths(c);
    // Equal shares follow the width either way; one column only grows.
    const bool stretchNow = FColumnSize->GetStretchAll() || others < newWidth;
    if (stretchNow)
        StretchOnNotice(stretchCol, newWidth);
    TBaseGrid::WndProc(Message);
    FInWMSize = false;
    if (stretchNow && FScrollBarAlways == saNone)
        FireEvent(OnGridResize, this);
    Message.Result = 1;
}

// --- the wheel ---------------------------------------------------------------------------

bool TAdvStringGrid::WheelMessage(TMessage& Message)
{
    if (wheelpan || DesignTime())
        return false;
    const short delta = static_cast<short>(HIWORD(Message.WParam));
    POINT mouse{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    POINT client = mouse;
    ::ScreenToClient(GetHandle(), &client);
    if (FScrollBar && FScrollBar->HandleAllocated())
        FScrollBar->SetVisible(false);
    if (FMouseActions->GetWheelActive() == waMouseOver) {
        const RECT r = GetClientRect();
        if (!PtInRect(&r, client))
            return true;
    }
    if (TWinControl* parent = GetParent(); parent && parent->HandleAllocated() &&
                                           SendMessageW(parent->GetHandle(), CM_MOUSEWHEEL_MSG, Message.WParam,
                                                        Message.LParam) != 0)
        return true;
    if ((LOWORD(Message.WParam) & MK_CONTROL) && FIntelliZoom) {
        Zoom(delta < 0 ? -wheelscrl : wheelscrl);
        DoIntelliZoom();
        return true;
    }
    if (!FEnableWheel || (FFixedRowAlways && GetRowCount() == 1))
        return true;

    const TGridRect oldSelection = GetSelection();
    const int step = FMouseActions->GetWheelIncrement() < 1 ? wheelscrl : FMouseActions->GetWheelIncrement();
    const bool scrollOnly = FMouseActions->GetWheelAction() == waScroll;
    const int firstRow = GetFixedRows();
    const int lastRow = GetRowCount() - FFixedFooters - 1;
    int target = GetRow();
    if (scrollOnly) {
        if (delta < 0) {
            if (GetTopRow() < GetRowCount() - GetVisibleRowCount())
                SetTopRowEx(std::min(GetTopRow() + step, GetRowCount() - GetVisibleRowCount()));
        } else if (GetTopRow() > firstRow) {
            SetTopRowEx(std::max(GetTopRow() - step, firstRow));
        }
    } else {
        target = delta < 0 ? GetRow() + step : GetRow() - step;
    }
    target = std::clamp(target, firstRow, std::max(firstRow, lastRow));
    if (GetCol() < GetFixedCols() || GetCol() >= GetColCount())
        FocusCell(std::clamp(GetCol(), GetFixedCols(), GetColCount() - 1), std::clamp(GetRow(), firstRow, lastRow));

    int moved = 0;
    if (!scrollOnly && target >= firstRow && target <= lastRow) {
        const int leftCol = GetLeftCol();
        StartUpdate();
        if (FMouseActions->GetDisjunctRowSelect())
            ClearDisjunctRowSelect();
        const int startRow = GetRow();
        const int direction = target < startRow ? -1 : 1;
        SetRowEx(target);
        // A refused row (disabled, say) does not stop the wheel: it goes on
        // past it in the same direction while rows remain.
        int next = target;
        while (GetRow() != next) {
            next += direction;
            if (next < firstRow || next > lastRow)
                break;
            SetRowEx(next);
        }
        if (GetOptions().Contains(goRowSelect) && FNavigation->GetKeepHorizScroll())
            SetLeftCol(leftCol);
        moved = GetRow() - startRow;
        ResetUpdate();
    }
    bool handled = false;
    ConfirmMessageHandled(moved, handled);
    if (handled) {
        Message.Result = 1;
        const bool disjunct = FMouseActions->GetDisjunctRowSelect();
        const TShiftState shift = disjunct ? KeyboardStateToShiftState() : TShiftState();
        const POINT pos = disjunct ? mouse : (FMouseActions->GetWheelActive() == waMouseOver ? client : POINT{0, 0});
        bool wheelHandled = false;
        if (delta < 0 && OnMouseWheelDown)
            OnMouseWheelDown(this, shift, pos, wheelHandled);
        else if (delta >= 0 && OnMouseWheelUp)
            OnMouseWheelUp(this, shift, pos, wheelHandled);
    }
    const TGridRect sel = GetSelection();
    if (sel != oldSelection)
        DoSelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
    return true;
}

bool TAdvStringGrid::HandleWheelDown(TShiftState Shift, POINT MousePos)
{
    if (FDropList->GetVisible() || FDropCheckList->GetVisible())
        return false;
    if (FMouseActions->GetWheelAction() == waScroll || !FEnableWheel) {
        bool handled = false;
        if (OnMouseWheelDown)
            OnMouseWheelDown(this, Shift, MousePos, handled);
        return handled;
    }
    const bool directEdit = FMouseActions->GetDirectEdit();
    FMouseActions->SetDirectEdit(false);
    const bool editing = GetEditorMode();
    const bool result = TBaseGrid::HandleWheelDown(Shift, MousePos);
    if (editing && CanFocus())
        SetFocus();
    FMouseActions->SetDirectEdit(directEdit);
    return result;
}

bool TAdvStringGrid::HandleWheelUp(TShiftState Shift, POINT MousePos)
{
    if (FDropList->GetVisible() || FDropCheckList->GetVisible())
        return false;
    if (FMouseActions->GetWheelAction() == waScroll || !FEnableWheel) {
        bool handled = false;
        if (OnMouseWheelUp)
            OnMouseWheelUp(this, Shift, MousePos, handled);
        return handled;
    }
    if (GetCol() >= GetColCount() || GetRow() >= GetRowCount())
        return true;
    const bool directEdit = FMouseActions->GetDirectEdit();
    FMouseActions->SetDirectEdit(false);
    const bool editing = GetEditorMode();
    const bool result = TBaseGrid::HandleWheelUp(Shift, MousePos);
    if (editing && CanFocus())
        SetFocus();
    FMouseActions->SetDirectEdit(directEdit);
    return result;
}

// --- middle-button panning ------------------------------------------------------------------

bool TAdvStringGrid::StartPanning(const TMessage& Message)
{
    if (wheelmsg == 0 || FIntelliPan == ipNone || GetRowCount() <= GetFixedRows())
        return false;
    FICursor = GridCursor(8000, IDC_SIZEALL);
    prevcurs = ::SetCursor(FICursor);
    wheelpan = true;
    SetTimer(GetHandle(), PanTimerID, 10, nullptr);
    wheelpanpos = {static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    SetCapture(GetHandle());
    SetShowHint(false);
    return true;
}

void TAdvStringGrid::StopPanning()
{
    ReleaseCapture();
    if (HandleAllocated())
        KillTimer(GetHandle(), PanTimerID);
    ::SetCursor(prevcurs);
    SetShowHint(true);
    wheelpan = false;
    if (HandleAllocated()) {
        RECT glyph{wheelpanpos.x, wheelpanpos.y, wheelpanpos.x + 32, wheelpanpos.y + 32};
        ::InvalidateRect(GetHandle(), &glyph, TRUE);
    }
}

void TAdvStringGrid::PanStep()
{
    POINT m{};
    GetCursorPos(&m);
    ::ScreenToClient(GetHandle(), &m);
    int v = m.y < wheelpanpos.y - 5 ? -1 : (m.y > wheelpanpos.y + 5 ? 1 : 0);
    int h = m.x < wheelpanpos.x - 5 ? -1 : (m.x > wheelpanpos.x + 5 ? 1 : 0);
    if (FIntelliPan == ipHorizontal)
        v = 0;
    if (FIntelliPan == ipVertical)
        h = 0;
    // Neutral, down, left, right, up, up-right, up-left, down-right, down-left.
    int cursor = 8000;
    if (v == 0 && h == 0)
        cursor = 8000;
    else if (v == 1 && h == 0)
        cursor = 8001;
    else if (v == 0 && h == -1)
        cursor = 8002;
    else if (v == 0 && h == 1)
        cursor = 8003;
    else if (v == -1 && h == 0)
        cursor = 8004;
    else if (v == -1 && h == 1)
        cursor = 8005;
    else if (v == -1 && h == -1)
        cursor = 8006;
    else if (v == 1 && h == 1)
        cursor = 8007;
    else
        cursor = 8008;
    FPanCursor = cursor;
    ::SetCursor(cursor == 8000 ? FICursor : GridCursor(cursor, IDC_SIZEALL));

    const TGridRect oldSelection = GetSelection();
    const int lastRow = GetRowCount() - FFixedFooters - 1;
    const int lastCol = GetColCount() - FFixedRightCols - 1;
    if (GetRow() < GetFixedRows() || GetRow() > lastRow || GetCol() < GetFixedCols() || GetCol() > lastCol)
        FocusCell(std::clamp(GetCol(), GetFixedCols(), std::max(GetFixedCols(), lastCol)),
                  std::clamp(GetRow(), GetFixedRows(), std::max(GetFixedRows(), lastRow)));
    if (FMouseActions->GetWheelAction() == waScroll) {
        if (h == -1 && GetLeftCol() > GetFixedCols())
            SetLeftCol(GetLeftCol() - 1);
        if (h == 1 && GetLeftCol() < GetColCount() - GetVisibleColCount())
            SetLeftCol(GetLeftCol() + 1);
        if (v == -1 && GetTopRow() > GetFixedRows())
            SetTopRowEx(GetTopRow() - 1);
        if (v == 1 && GetTopRow() < GetRowCount() - GetVisibleRowCount())
            SetTopRowEx(GetTopRow() + 1);
    } else {
        if (h == -1 && GetCol() > GetFixedCols())
            SetCol(GetCol() - 1);
        if (h == 1 && GetCol() < lastCol)
            SetCol(GetCol() + 1);
        if (v == -1 && GetRow() > GetFixedRows())
            SetRowEx(GetRow() - 1);
        if (v == 1 && GetRow() < lastRow)
            SetRowEx(GetRow() + 1);
    }
    const TGridRect sel = GetSelection();
    if (sel != oldSelection)
        DoSelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
}

// --- zoom ------------------------------------------------------------------------------------

void TAdvStringGrid::Zoom(int x)
{
    const int zoom = FZoomFactor + x;
    if (zoom < -20 || zoom > 20)
        return;
    FScrollLock = true;
    FZoomFactor = zoom;
    const auto lock = UpdateLock();
    // Released before the update lock, whose end repaints.
    const TScopeExit unlockScroll([this] { FScrollLock = false; });
    // Hidden columns and rows (size 0) stay hidden.
    for (int c = 0; c < GetColCount(); ++c)
        if (GetColWidths(c) > 0 && GetColWidths(c) + x > 0)
            SetColWidths(c, GetColWidths(c) + x);
    for (int r = 0; r < GetRowCount(); ++r)
        if (GetRowHeights(r) > 0 && GetRowHeights(r) + x > 0)
            SetRowHeights(r, GetRowHeights(r) + x);
}

// --- balloon tooltip ----------------------------------------------------------------------------

void TAdvStringGrid::BalloonInit()
{
    if (FBalloonInitialised || !HandleAllocated())
        return;
    FBalloonInitialised = true;
    FHToolTip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetHandle(), nullptr, HInstance(), nullptr);
    if (!FHToolTip)
        return;
    SetWindowPos(FHToolTip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetHandle();
    info.uId = reinterpret_cast<UINT_PTR>(GetHandle());
    info.rect = GetClientRect();
    info.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(FHToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    wchar_t title[256] = {};
    const String caption = L"ToolTipText";
    caption.copy(title, std::min<size_t>(caption.size(), 255));
    SendMessageW(FHToolTip, TTM_SETTITLEW, 3, reinterpret_cast<LPARAM>(title));
    const TBalloonSettings* b = FBalloonSettings.get();
    if (b->GetInitialDelay() != -1)
        SendMessageW(FHToolTip, TTM_SETDELAYTIME, TTDT_INITIAL, b->GetInitialDelay());
    if (b->GetReshowDelay() != -1)
        SendMessageW(FHToolTip, TTM_SETDELAYTIME, TTDT_RESHOW, b->GetReshowDelay());
    if (b->GetAutoHideDelay() != -1)
        SendMessageW(FHToolTip, TTM_SETDELAYTIME, TTDT_AUTOPOP, b->GetAutoHideDelay());
    if (b->GetTransparency() != 0 && PlatformProbe().LayeredWindows) {
        SetWindowLongPtrW(FHToolTip, GWL_EXSTYLE, GetWindowLongPtrW(FHToolTip, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(FHToolTip, 0, static_cast<BYTE>(255 - b->GetTransparency()), LWA_ALPHA);
    }
}

void TAdvStringGrid::BalloonDone()
{
    if (FBalloonInitialised && FHToolTip)
        DestroyWindow(FHToolTip);
    FHToolTip = nullptr;
    FBalloonInitialised = false;
}
