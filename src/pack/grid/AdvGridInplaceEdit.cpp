// The grid's text editor. Every key goes through WM_KEYDOWN here first:
// Escape gives back the text the cell had when it became current, Enter,
// Tab and the cursor keys that leave the cell validate before anything
// moves, and a refused validation keeps the editor open with the text the
// validation left. Characters and pastes pass one rule per editor kind;
// losing the focus to another window validates as Enter does.
#include "AdvGridEditing.h"
#include "AdvGrid.h"
#include "AdvUtil.h"
#include <algorithm>

namespace {

// Holds a flag up for a scope.
struct TFlagRaise {
    bool& flag;
    explicit TFlagRaise(bool& f) : flag(f) { flag = true; }
    ~TFlagRaise() { flag = false; }
    TFlagRaise(const TFlagRaise&) = delete;
    TFlagRaise& operator=(const TFlagRaise&) = delete;
};

bool KeyHeld(int vk)
{
    return GetKeyState(vk) < 0;
}

// The characters edValidChars admits: ValidChars, or ValidCharSet when it is empty.
const String& ValidSet(TAdvStringGrid* Grid)
{
    return Grid->GetValidChars().empty() ? Grid->GetValidCharSet() : Grid->GetValidChars();
}

// The clipboard's text as Unicode; false when it holds none or cannot be read.
bool ClipboardUnicodeText(HWND Owner, String& Text)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_UNICODETEXT))
        return false;
    if (!OpenClipboard(Owner))
        return false;
    bool ok = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            Text = p;
            GlobalUnlock(data);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

} // namespace

TAdvInplaceEdit::TAdvInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner)
{
    FGrid = dynamic_cast<TAdvStringGrid*>(AOwner);
    FAltBack = false;
}

TAdvStringGrid* TAdvInplaceEdit::AdvGrid() const
{
    return FGrid;
}

void TAdvInplaceEdit::SetVAlign(bool Value)
{
    if (FValign == Value)
        return;
    FValign = Value;
    RecreateWnd();
}

void TAdvInplaceEdit::SetWordWrap(bool Value)
{
    if (FWordWrap == Value)
        return;
    FWordWrap = Value;
    RecreateWnd();
}

int TAdvInplaceEdit::CaretPos()
{
    DWORD start = 0, end = 0;
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TAdvInplaceEdit::CaretLine()
{
    return static_cast<int>(Perform(EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
}

int TAdvInplaceEdit::LineCount()
{
    return static_cast<int>(Perform(EM_GETLINECOUNT, 0, 0));
}

// --- window ---------------------------------------------------------------------------------

void TAdvInplaceEdit::CreateParams(TCreateParams& Params)
{
    TInplaceEdit::CreateParams(Params);
    if (FGrid)
        FWordWrap = FGrid->GetWordWrap();
    if (FValign)
        Params.Style |= ES_RIGHT;
    if (FGrid && FGrid->EditControl == edPassword) {
        Params.Style |= ES_PASSWORD;
        Params.Style &= ~ES_MULTILINE;
    }
    if (FWordWrap)
        Params.Style &= ~ES_AUTOHSCROLL;
    Params.Style |= ES_WANTRETURN;
    GotKey = false;
    Workmode = true;
}

void TAdvInplaceEdit::CreateWnd()
{
    TInplaceEdit::CreateWnd();
    if (!FGrid)
        return;
    if (FGrid->EditControl == edPassword) {
        const wchar_t ch = FGrid->GetPasswordChar() ? FGrid->GetPasswordChar() : L'*';
        Perform(EM_SETPASSWORDCHAR, ch, 0);
    }
    FLengthLimit = FGrid->GetMaxEditLength();
}

void TAdvInplaceEdit::LoadAppearance()
{
    if (!FGrid)
        return;
    const int col = FGrid->GetCol();
    const int row = FGrid->GetRow();
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    TCanvas* canvas = FGrid->GetCanvas();
    FGrid->GetVisualProperties(col, row, state, false, false, true, canvas->GetBrush(), colorTo, mirror, mirrorTo,
                               canvas->GetFont(), ha, va, ww, gd);
    SetColor(canvas->GetBrush()->GetColor());
    GetFont()->Assign(canvas->GetFont());
    FColE = col;
    FRowE = row;
}

void TAdvInplaceEdit::UpdateContents()
{
    if (!FGrid) {
        TInplaceEdit::UpdateContents();
        return;
    }
    // Styles that only a new window takes: right alignment and the password kind.
    const int col = FGrid->GetCol();
    const int row = FGrid->GetRow();
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    FGrid->DoGetAlignment(col, row, ha, va);
    FValign = ha == taRightJustify;
    if (HandleAllocated()) {
        const LONG style = GetWindowLongW(GetHandle(), GWL_STYLE);
        const bool isPassword = (style & ES_PASSWORD) != 0;
        const bool isRight = (style & ES_RIGHT) != 0;
        if (isPassword != (FGrid->EditControl == edPassword) || isRight != FValign)
            RecreateWnd();
    }
    {
        const bool noChange = FGrid->FNoEditChange;
        FGrid->FNoEditChange = true;
        const TScopeExit restore([this, noChange] { FGrid->FNoEditChange = noChange; });
        TInplaceEdit::UpdateContents();
    }
    LoadAppearance();
    FGrid->DoGetEditorProp(col, row, nullptr);
    if (HandleAllocated() && AdvGrid_GridEditPropMessage() != 0)
        PostMessageW(GetHandle(), AdvGrid_GridEditPropMessage(), 0, 0);
}

void TAdvInplaceEdit::BoundsChanged()
{
    if (!FGrid || !HandleAllocated()) {
        TInplaceEdit::BoundsChanged();
        return;
    }
    const int col = FGrid->GetCol();
    const int row = FGrid->GetRow();
    // A merged cell's editor covers the whole block.
    TRect R = FGrid->CellRect(col, row);
    const TPoint span = FGrid->CellSpan(FGrid->RealColIndex(col), row);
    if (span.x > 0 || span.y > 0) {
        const TRect last = FGrid->CellRect(std::min<int>(col + std::max<int>(0, span.x), FGrid->GetColCount() - 1),
                                           std::min<int>(row + std::max<int>(0, span.y), FGrid->GetRowCount() - 1));
        if (!last.IsEmpty())
            R = TRect(std::min(R.left, last.left), R.top, std::max(R.right, last.right), last.bottom);
    }
    if (FGrid->UseRightToLeftAlignment())
        R.left += 1;
    const int lineWidth = FGrid->GetGridLineWidth();
    const int inset = lineWidth >= 2 ? lineWidth / 2 + 1 : 1;
    SetBounds(R.left, R.top, R.Width() - inset, R.Height() - inset);

    FCellHeight = R.Height();
    SetFormatRect();
    if (lineWidth > 1)
        FGrid->Invalidate();
    if (FGrid->HandleAllocated() && ::GetFocus() == FGrid->GetHandle() && IsWindowVisible(GetHandle()))
        ::SetFocus(GetHandle());
}

// The text stands 2 pixels in and, without word wrap, moves down for a
// centred or bottom-aligned cell.
void TAdvInplaceEdit::SetFormatRect()
{
    int V = 0;
    if (!FGrid->GetWordWrap()) {
        TCanvas* canvas = FGrid->GetCanvas();
        canvas->GetFont()->Assign(GetFont());
        const int textHeight = canvas->TextHeight(L"gh");
        switch (FGrid->GetVAlignment()) {
        case vtaCenter: V = (FCellHeight - (textHeight + 2)) / 2; break;
        case vtaBottom: V = FCellHeight - textHeight - 4; break;
        default: break;
        }
    }
    RECT fmt{2, V + 2, GetWidth() - 4, GetHeight()};
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&fmt));
}

void TAdvInplaceEdit::WndProc(TMessage& Message)
{
    if (Message.Msg != 0 && Message.Msg == AdvGrid_GridEditPropMessage()) {
        // Changes made while the editor was being shown take effect now.
        if (FGrid && FGrid->GetEditorMode()) {
            LoadAppearance();
            FGrid->DoGetEditorProp(FGrid->GetCol(), FGrid->GetRow(), nullptr);
            // A new font resets the edit's formatting rectangle to its window.
            if (Visible())
                SetFormatRect();
        }
        return;
    }
    if (Message.Msg == WM_SYSKEYDOWN && Message.WParam == VK_BACK)
        FAltBack = true;
    if (Message.Msg == WM_SYSKEYUP && Message.WParam == VK_BACK)
        FAltBack = false;
    TInplaceEdit::WndProc(Message);
}

void TAdvInplaceEdit::Dispatch(TMessage& Message)
{
    if (!FGrid) {
        TInplaceEdit::Dispatch(Message);
        return;
    }
    switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
        if (Message.WParam == VK_TAB && FGrid->EditorWantsTab()) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        TInplaceEdit::Dispatch(Message);
        if (FGrid->EditorWantsTab())
            Message.Result |= DLGC_WANTTAB;
        return;
    case WM_KEYDOWN: WMKeyDown(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_PASTE: WMPaste(); return;
    case WM_COPY: {
        bool allow = true;
        if (FGrid->OnClipboardCopy)
            FGrid->OnClipboardCopy(this, allow);
        if (allow)
            TInplaceEdit::Dispatch(Message);
        return;
    }
    case WM_CUT: {
        bool allow = true;
        if (FGrid->OnClipboardCut)
            FGrid->OnClipboardCut(this, allow);
        if (allow)
            TInplaceEdit::Dispatch(Message);
        return;
    }
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_LBUTTONDBLCLK:
        TInplaceEdit::Dispatch(Message);
        if (FGrid->OnDblClickCell)
            FGrid->OnDblClickCell(FGrid, FGrid->GetRow(), FGrid->GetCol());
        return;
    case WM_KEYUP: {
        TInplaceEdit::Dispatch(Message);
        const int caret = CaretPos();
        if (caret > 0) {
            const LRESULT at = Perform(EM_POSFROMCHAR, static_cast<WPARAM>(caret - 1), 0);
            FGrid->EditCaretMoved(GetText(), TPoint(LOWORD(at), HIWORD(at)), caret);
        }
        const String text = GetText();
        FGrid->FormulaEditing(!text.empty() && text[0] == L'=');
        return;
    }
    default:
        break;
    }
    TInplaceEdit::Dispatch(Message);
}

// --- focus ---------------------------------------------------------------------------------

void TAdvInplaceEdit::WMSetFocus(TMessage& Message)
{
    TInplaceEdit::Dispatch(Message);
    FGotFocus = true;
    FGrid->FNoEditChange = false;
    FLengthLimit = FGrid->GetMaxEditLength();
    SetMaxLength(std::max(0, FLengthLimit));
    if (IsMasked() && FGrid->GetNavigation()->GetImproveMaskSel()) {
        Perform(EM_SETSEL, 0, 1);
        return;
    }
    if (FGrid->GetNavigation()->GetEditSelectAll())
        SelectAll();
    else
        Perform(EM_SETSEL, static_cast<WPARAM>(-1), -1);
}

void TAdvInplaceEdit::WMKillFocus(TMessage& Message)
{
    TAdvStringGrid* grid = FGrid;
    // Windows going away take the focus with them: nothing is edited then.
    if (grid->ComponentState().Contains(csDestroying) || ComponentState().Contains(csDestroying) ||
        !grid->HandleAllocated()) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    grid->FStartEditChar = 0;
    const String text = GetText();
    if (grid->GetLookupHistory() && grid->GetLookupItems()->IndexOf(text) < 0)
        grid->GetLookupItems()->Add(text);
    grid->FormulaEditing(false);
    // The class library's own ending is not wanted: the grid decides here.
    TCustomMaskEdit::Dispatch(Message);
    // Hidden by a validation that is reopening the editor: nothing ends.
    if (grid->FValidating || FAltBack)
        return;
    const HWND to = reinterpret_cast<HWND>(Message.WParam);
    const bool toGrid = grid->HandleAllocated() && to == grid->GetHandle();
    if (!toGrid && grid->FEditing) {
        // Another window took the focus: the edit is validated as Enter
        // validates it; a refusal writes the old text back and leaves the
        // focus where the user put it.
        const String oldText = grid->FOldCellText;
        const int realCol = grid->RealColIndex(FColE);
        bool accepted = true;
        try {
            accepted = grid->ValidateCell(text);
        } catch (...) {
            accepted = false;
        }
        if (!accepted) {
            grid->SetCellText(realCol, FRowE, oldText);
            grid->FLastValidation = true;
        }
        const TFlagRaise blockFocus(grid->FBlockFocus);
        if (grid->GetEditorMode())
            grid->HideInplaceEdit();
        grid->FEditing = false;
        grid->EditMode = false;
        if (grid->GetEditorMode())
            grid->HideEditor();
        if (FColE >= 0 && FRowE >= 0 && FColE < grid->GetColCount() && FRowE < grid->GetRowCount())
            grid->CanSelectCell(FColE, FRowE);
    } else if (!toGrid) {
        if (grid->GetEditorMode())
            grid->HideInplaceEdit();
        grid->EditMode = false;
    }
    {
        const bool noChange = grid->FNoEditChange;
        grid->FNoEditChange = true;
        const TScopeExit restore([grid, noChange] { grid->FNoEditChange = noChange; });
        if (FColE >= 0 && FRowE >= 0)
            SetText(grid->GetEditText(FColE, FRowE));
    }
    grid->EditCaretMoved(GetText(), TPoint(-1, -1), -1);
    if (FGotFocus) {
        FGotFocus = false;
        if (!grid->FEditCellSet && FColE >= 0)
            grid->EditDone(grid->RealColIndex(FColE), FRowE);
    }
}

// --- keys ----------------------------------------------------------------------------------

void TAdvInplaceEdit::RefusedText(const String& OldText)
{
    SetText(FGrid->FNewCellText);
    if (FGrid->GetNavigation()->GetEditSelectAll())
        SelectAll();
    else
        Perform(EM_SETSEL, static_cast<WPARAM>(-1), -1);
    FGrid->FOldCellText = OldText;
}

void TAdvInplaceEdit::WMKeyDown(TMessage& Message)
{
    TAdvStringGrid* grid = FGrid;
    grid->InplaceWMKeyDown(Message);
    FSkipEnterChar = false;
    FOldSelStart = CaretPos();
    const Word key = static_cast<Word>(Message.WParam);
    const bool ctrl = KeyHeld(VK_CONTROL);
    const bool shift = KeyHeld(VK_SHIFT);
    TShiftState shiftState;
    if (shift)
        shiftState << ssShift;
    if (ctrl)
        shiftState << ssCtrl;
    TNavigation* nav = grid->GetNavigation();
    const bool multiLine = grid->GetWordWrap() || grid->GetMultilineCells();

    if (key == VK_ESCAPE) {
        SetText(grid->FCellCache);
        TInplaceEdit::Dispatch(Message);
        grid->HideInplaceEdit();
        return;
    }
    if (key == 'A' && ctrl && !KeyHeld(VK_RMENU)) {
        SelectAll();
        return;
    }
    if (key == VK_RETURN && ctrl && !(nav->GetAllowCtrlEnter() && multiLine)) {
        grid->FireKeyDown(VK_RETURN, TShiftState{ssCtrl});
        return;
    }
    const String T = GetText();
    const String O = grid->FOldCellText;
    const int caret = CaretPos();
    const int length = static_cast<int>(T.size());

    if (key == VK_TAB && grid->EditorWantsTab()) {
        if (grid->ValidateCell(T)) {
            SetText(grid->FNewCellText);
            grid->HideInplaceEdit();
            if (grid->GetOptions().Contains(goTabs))
                grid->TabKeyPressed(shift);
            else if (grid->HandleAllocated())
                PostMessageW(grid->GetHandle(), WM_KEYDOWN, VK_TAB, 0);
        } else {
            RefusedText(O);
            grid->FireKeyDown(VK_TAB, shiftState);
        }
        return;
    }
    if (shift && nav->GetCursorWalkEditor() &&
        ((key == VK_LEFT && caret == 0) || (key == VK_RIGHT && caret == length))) {
        {
            const TFlagRaise validating(grid->FValidating);
            grid->SetCellText(grid->GetRealCol(), grid->GetRow(), T);
        }
        if (grid->ValidateCell(T)) {
            SetText(grid->FNewCellText);
            grid->HideInplaceEdit();
            if (grid->CanFocus())
                grid->SetFocus();
        } else {
            RefusedText(O);
            grid->Invalidate();
        }
        return;
    }
    bool leaving = false;
    if ((key == VK_UP && CaretLine() == 0) || (key == VK_DOWN && CaretLine() >= LineCount() - 1)) {
        {
            const TFlagRaise validating(grid->FValidating);
            grid->SetCellText(grid->GetRealCol(), grid->GetRow(), T);
        }
        if (!grid->ValidateCell(T)) {
            RefusedText(O);
            grid->Invalidate();
            return;
        }
        SetText(grid->FNewCellText);
        leaving = true;
    }
    if (key == VK_RETURN && !nav->GetLineFeedOnEnter() && !ctrl) {
        if (!grid->ValidateCell(T)) {
            RefusedText(O);
            FSkipEnterChar = true;
            return;
        }
        SetText(grid->FNewCellText);
    }
    if ((key == VK_HOME || key == VK_END) && !ctrl && !shift) {
        const WPARAM at = key == VK_HOME ? 0 : static_cast<WPARAM>(GetText().size());
        Perform(EM_SETSEL, at, static_cast<LPARAM>(at));
        return;
    }
    if (key == VK_RETURN && ctrl && nav->GetLineFeedOnEnter()) {
        wchar_t enter = L'\r';
        TInplaceEdit::KeyPress(enter);
        return;
    }
    TInplaceEdit::Dispatch(Message);
    if (leaving && grid->GetMouseActions()->GetDisjunctRowSelect()) {
        grid->ClearDisjunctRowSelect();
        grid->SetRowSelect(grid->GetRow(), true);
    }
}

void TAdvInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    FSelKeyDown = CaretPos();
    if (Key == VK_BACK || Key == VK_DELETE)
        Workmode = false;
    else if (Key != VK_RETURN && Key != VK_UP && Key != VK_DOWN)
        Workmode = true;
    if (!FGrid) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_RETURN && !FGrid->GetNavigation()->GetAllowCtrlEnter() &&
        (FGrid->GetWordWrap() || FGrid->GetMultilineCells()))
        FGrid->FEditing = false;
    // Moving between the lines of a multi-line text stays with the edit.
    if ((Key == VK_UP && CaretLine() > 0) || (Key == VK_DOWN && CaretLine() < LineCount() - 1))
        return;
    FGrid->InplaceKeyDown(Key, Shift);
    if (Key == 0)
        return;
    TInplaceEdit::KeyDown(Key, Shift);
}

bool TAdvInplaceEdit::CharPasses(wchar_t& Ch)
{
    const bool ctrl = KeyHeld(VK_CONTROL);
    const String text = GetText();
    const String sel = GetSelText();
    const int caret = CaretPos();
    const bool control = Ch == 8 || Ch == 9 || Ch == 13 || Ch == 27;
    switch (FGrid->EditControl) {
    case edNumeric:
    case edPositiveNumeric:
        if (ctrl || control || (Ch >= L'0' && Ch <= L'9'))
            return true;
        if (FGrid->EditControl == edNumeric && Ch == L'-' && caret == 0 && text.find(L'-') == String::npos)
            return true;
        MessageBeep(0);
        return false;
    case edFloat:
    case edPositiveFloat: {
        const bool numericKey = IsNumericEditKey(Ch) && !(Ch == L'-' && FGrid->EditControl == edPositiveFloat);
        if (!numericKey)
            return ctrl;
        const wchar_t dec = GetDecimalSeparatorChar();
        const wchar_t thou = GetThousandSeparatorChar();
        if (Ch == dec)
            return text.find(dec) == String::npos || sel.find(dec) != String::npos;
        if (Ch == thou)
            return false;
        if (Ch == L'-') {
            if ((caret == 0 && text.find(L'-') == String::npos) || sel.find(L'-') != String::npos)
                return true;
            MessageBeep(0);
            return false;
        }
        return true;
    }
    case edCapital:
    case edUpperCase:
        Ch = AnsiUpperCase(String(1, Ch))[0];
        return true;
    case edLowerCase:
        Ch = AnsiLowerCase(String(1, Ch))[0];
        return true;
    case edValidChars:
        if (ctrl || ValidSet(FGrid).find(Ch) != String::npos || Ch == 8 || Ch == 10 || Ch == 13)
            return true;
        MessageBeep(0);
        return false;
    default:
        return true;
    }
}

void TAdvInplaceEdit::WMChar(TMessage& Message)
{
    TAdvStringGrid* grid = FGrid;
    TNavigation* nav = grid->GetNavigation();
    wchar_t ch = static_cast<wchar_t>(Message.WParam);
    if (ch == 13 && FSkipEnterChar) {
        FSkipEnterChar = false;
        return;
    }
    if (ch == L'.' && (Message.LParam & (1 << 22)) && grid->GetExcelStyleDecimalSeparator())
        ch = GetDecimalSeparatorChar();
    const bool multiLine = grid->GetWordWrap() || grid->GetMultilineCells();
    if (ch == 1 || (ch == 10 && !(nav->GetAllowCtrlEnter() && multiLine)))
        return;
    const int length = GetWindowTextLengthW(GetHandle());
    if (FLengthLimit > 0 && length >= FLengthLimit && GetSelLength() == 0 && ch != 8 && ch != 27 && ch != 13)
        return;
    const TEditorType kind = grid->EditControl;
    if (ch == 13 && nav->GetLineFeedOnEnter() &&
        (kind == edNormal || kind == edCapital || kind == edMixedCase || kind == edLowerCase ||
         kind == edUpperCase || kind == edValidChars)) {
        DefaultHandler(Message);
        return;
    }
    if (!CharPasses(ch))
        return;
    Message.WParam = ch;
    const int caretBefore = CaretPos();
    TInplaceEdit::Dispatch(Message);
    if (kind == edMixedCase && ch >= L' ') {
        SetText(CapitalizeName(GetText()));
        Perform(EM_SETSEL, static_cast<WPARAM>(caretBefore + 1), static_cast<LPARAM>(caretBefore + 1));
    }
    const int maxLength = grid->GetMaxEditLength();
    if (nav->GetAdvanceAuto() && nav->GetAdvanceOnEnter() && maxLength > 0 && ch != 13 && HandleAllocated()) {
        const int now = GetWindowTextLengthW(GetHandle());
        if (now == maxLength && GetSelLength() == 0 && CaretPos() == now) {
            wchar_t enter = L'\r';
            grid->HandleKeyPress(enter);
        }
    }
}

void TAdvInplaceEdit::KeyPress(wchar_t& Key)
{
    if (!FGrid) {
        TInplaceEdit::KeyPress(Key);
        return;
    }
    TNavigation* nav = FGrid->GetNavigation();
    const bool enter = Key == L'\r' && !nav->GetLineFeedOnEnter();
    if (enter && !FGrid->ValidateCell(GetText())) {
        SetText(FGrid->GetRawCell(FGrid->GetRealCol(), FGrid->GetRow()));
        Key = 0;
        return;
    }
    TInplaceEdit::KeyPress(Key);
    // The next cell's editor opens once this Enter has been handled.
    if (enter && nav->GetAdvanceOnEnter() && nav->GetAdvanceAutoEdit() && FGrid->HandleAllocated())
        PostMessageW(FGrid->GetHandle(), TAdvStringGrid::GridEditShowMessage(), 0, 0);
    if (nav->GetAdvanceAuto() && Key != 0 && IsMasked() && HandleAllocated()) {
        const String text = GetText();
        if (text.find(L' ') == String::npos && CaretPos() == static_cast<int>(text.size())) {
            Key = L'\r';
            FGrid->HandleKeyPress(Key);
        }
    }
}

void TAdvInplaceEdit::KeyUp(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TInplaceEdit::KeyUp(Key, Shift);
        return;
    }
    TNavigation* nav = FGrid->GetNavigation();
    const int caret = CaretPos();
    const int length = GetWindowTextLengthW(GetHandle());
    const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
    const bool walkLeft = Key == VK_LEFT && caret == 0 && GetSelLength() == 0 && plain && FSelKeyDown == 0;
    const bool walkRight = Key == VK_RIGHT && caret == length && GetSelLength() == 0 && plain && FSelKeyDown == length;
    if ((walkLeft || walkRight) && nav->GetCursorWalkEditor()) {
        Key = 0;
        TAdvStringGrid* grid = FGrid;
        if (grid->ValidateCell(GetText())) {
            if (walkLeft)
                grid->HideInplaceEdit();
            const TAdvanceDirection dir = nav->GetAdvanceDirection();
            if (dir == adTopBottom || dir == adTopBottomInCol)
                nav->SetAdvanceDirection(adLeftRight);
            const TScopeExit restore([nav, dir] { nav->SetAdvanceDirection(dir); });
            grid->AdvanceEditCell(grid->GetCol(), grid->GetRow(), true, false, walkRight, true, true);
            if (nav->GetCursorWalkAlwaysEdit())
                grid->ShowInplaceEdit();
            else
                grid->HideInplaceEdit();
        } else {
            SetText(grid->FNewCellText);
            SelectAll();
        }
        return;
    }
    if (Key == VK_LEFT || Key == VK_RIGHT)
        return;
    TInplaceEdit::KeyUp(Key, Shift);
    DoChange();
    if (FGrid->GetSizeWhileTyping()->GetWidth())
        FGrid->FitColumnToContents(FGrid->GetCol(), true);
}

// --- change, lookup and paste ----------------------------------------------------------------

void TAdvInplaceEdit::Change()
{
    TInplaceEdit::Change();
    if (FGrid && !FGrid->FNoEditChange && FGrid->OnEditChange)
        FGrid->OnEditChange(FGrid, FGrid->GetCol(), FGrid->GetRow(), GetText());
}

void TAdvInplaceEdit::DoChange()
{
    if (!FGrid || !Workmode || GetSelLength() != 0)
        return;
    const bool caseSensitive = FGrid->GetLookupCaseSensitive();
    const String text = GetText();
    const int caret = CaretPos();
    String typed = text.substr(0, static_cast<size_t>(caret));
    if (!caseSensitive)
        typed = AnsiUpperCase(typed);
    TStringList* items = FGrid->GetLookupItems();
    if (!items || items->Count() == 0 || !FGrid->GetLookup() || typed.empty())
        return;
    for (int i = 0; i < items->Count(); ++i) {
        const String item = items->Get(i);
        const String compared = caseSensitive ? item : AnsiUpperCase(item);
        if (compared.compare(0, typed.size(), typed) != 0)
            continue;
        const String completed = text.substr(0, typed.size()) + item.substr(typed.size(), 255);
        SetText(completed);
        Perform(EM_SETSEL, typed.size(), static_cast<LPARAM>(completed.size()));
        GotKey = false;
        return;
    }
}

void TAdvInplaceEdit::WMPaste()
{
    TAdvStringGrid* grid = FGrid;
    String S;
    if (!ClipboardUnicodeText(GetHandle(), S))
        return;
    bool allow = true;
    if (grid->OnClipboardPaste)
        grid->OnClipboardPaste(this, allow);
    if (allow && grid->OnClipboardBeforePasteCell)
        grid->OnClipboardBeforePasteCell(this, grid->GetCol(), grid->GetRow(), S, allow);
    if (!allow)
        return;
    const bool limited = FLengthLimit > 0;
    if (limited && static_cast<int>(S.size()) > FLengthLimit)
        return;
    // One trailing line break goes.
    const size_t crlf = S.find(L"\r\n");
    if (crlf != String::npos && crlf + 2 == S.size())
        S.erase(crlf);
    const String text = GetText();
    DWORD selStart = 0, selEnd = 0;
    Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const bool replaced = selEnd > selStart;
    String N = text.substr(0, selStart) + S + text.substr(selEnd);
    if (limited && static_cast<int>(N.size()) > FLengthLimit)
        return;
    Integer asInt = 0;
    double asFloat = 0;
    bool take = true;
    switch (grid->EditControl) {
    case edNumeric:
    case edPositiveNumeric:
        take = TryStrToInt(N, asInt) && !(grid->EditControl == edPositiveNumeric && N.find(L'-') != String::npos);
        break;
    case edFloat:
    case edPositiveFloat:
        take = (TryStrToInt(N, asInt) || TryStrToFloat(N, asFloat)) &&
               !(grid->EditControl == edPositiveFloat && N.find(L'-') != String::npos);
        break;
    case edMixedCase: N = CapitalizeName(N); break;
    case edLowerCase: N = AnsiLowerCase(N); break;
    case edUpperCase: N = AnsiUpperCase(N); break;
    case edValidChars: {
        const String& valid = ValidSet(grid);
        take = std::all_of(N.begin(), N.end(), [&](wchar_t c) { return valid.find(c) != String::npos; });
        break;
    }
    default: break;
    }
    if (take) {
        SetText(N);
        if (replaced)
            Perform(EM_SETSEL, selStart, static_cast<LPARAM>(selStart + S.size()));
        else
            Perform(EM_SETSEL, selStart + S.size(), static_cast<LPARAM>(selStart + S.size()));
    }
    if (grid->OnClipboardAfterPasteCell)
        grid->OnClipboardAfterPasteCell(this, grid->GetCol(), grid->GetRow(), GetText());
}
