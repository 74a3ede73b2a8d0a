// Labels, edits and memos.
#include "StdCtrls.h"
#include "ScopeExit.h"
#include <algorithm>

wchar_t GetHotkey(const String& Text)
{
    for (std::size_t i = 0; i + 1 < Text.size(); ++i) {
        if (Text[i] == L'&') {
            if (Text[i + 1] == L'&') {
                ++i;
                continue;
            }
            return Text[i + 1];
        }
    }
    return 0;
}

bool IsAccel(Word Key, const String& Text)
{
    wchar_t hot = GetHotkey(Text);
    if (!hot)
        return false;
    wchar_t a[2] = {hot, 0}, b[2] = {static_cast<wchar_t>(Key), 0};
    CharUpperW(a);
    CharUpperW(b);
    return a[0] == b[0];
}

void DrawDisabledText(HDC DC, const String& Text, RECT Rect, UINT Flags)
{
    RECT shifted = Rect;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(DC, ColorToRGB(clBtnHighlight));
    DrawTextW(DC, Text.c_str(), -1, &shifted, Flags);
    SetTextColor(DC, ColorToRGB(clBtnShadow));
    DrawTextW(DC, Text.c_str(), -1, &Rect, Flags);
}

// ---------------------------------------------------------------------------
TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
    SetBounds(0, 0, 65, 17);
    TControl::SetAutoSize(true);
}

void TCustomLabel::SetFocusControl(TWinControl* value)
{
    focusControl_ = value;
    if (value)
        value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_)
        focusControl_ = nullptr;
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    if (alignment_ == value)
        return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value)
{
    if (layout_ == value)
        return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value)
{
    if (wordWrap_ == value)
        return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value)
{
    if (transparent_ == value)
        return;
    transparent_ = value;
    if (value)
        ControlStyle >> csOpaque;
    else
        ControlStyle << csOpaque;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value)
{
    if (showAccelChar_ == value)
        return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value)
{
    TControl::SetAutoSize(value);
    AdjustBounds();
}

void TCustomLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags)
{
    String text = GetCaption();
    if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&")))
        text = L" ";
    if (!showAccelChar_)
        Flags |= DT_NOPREFIX;
    TCanvas* canvas = GetCanvas();
    canvas->SetFont(GetFont());
    HDC dc = canvas->GetHandle();
    TSelectObject font(dc, GetFont()->GetHandle());
    SetBkMode(dc, TRANSPARENT);
    if (!GetEnabled() && !(Flags & DT_CALCRECT)) {
        DrawDisabledText(dc, text, Rect, Flags);
    } else {
        SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
        DrawTextW(dc, text.c_str(), -1, &Rect, Flags);
    }
}

void TCustomLabel::Paint()
{
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TCanvas* canvas = GetCanvas();
    TRect r(0, 0, GetWidth(), GetHeight());
    if (!transparent_) {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->FillRect(r);
    }
    UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | alignments[alignment_];
    if (layout_ != tlTop) {
        TRect calc = r;
        DoDrawText(calc, flags | DT_CALCRECT);
        int offset = r.Height() - calc.Height();
        r.top += layout_ == tlBottom ? offset : offset / 2;
    }
    DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds()
{
    if (ComponentState().Contains(csLoading) || !GetAutoSize())
        return;
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    TRect r(0, 0, wordWrap_ ? GetWidth() : 0, 0);
    TWindowDC screen;
    TCanvas* canvas = GetCanvas();
    bool borrowed = !canvas->HandleAllocated();
    if (borrowed)
        canvas->SetHandle(screen.Get());
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0) | alignments[alignment_]);
    if (borrowed)
        canvas->SetHandle(nullptr);
    int x = GetLeft();
    // A right-aligned label keeps its right edge.
    if (alignment_ == taRightJustify)
        x += GetWidth() - r.Width();
    SetBounds(x, GetTop(), r.Width(), r.Height());
}

void TCustomLabel::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(Message);
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (focusControl_ && GetEnabled() && showAccelChar_ && IsAccel(static_cast<Word>(Message.WParam), GetCaption()) &&
            focusControl_->CanFocus()) {
            focusControl_->SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    TControl::SetAutoSize(true);
}

void TCustomEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"EDIT");
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (borderStyle_ == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (readOnly_)
        Params.Style |= ES_READONLY;
    if (!hideSelection_)
        Params.Style |= ES_NOHIDESEL;
    if (charCase_ == ecUpperCase)
        Params.Style |= ES_UPPERCASE;
    else if (charCase_ == ecLowerCase)
        Params.Style |= ES_LOWERCASE;
}

void TCustomEdit::CreateWnd()
{
    {
        creating_ = true;
        const TScopeExit created([this] { creating_ = false; });
        TWinControl::CreateWnd();
    }
    SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (passwordChar_)
        SendMessageW(handle_, EM_SETPASSWORDCHAR, passwordChar_, 0);
    SendMessageW(handle_, EM_SETMODIFY, modified_, 0);
}

void TCustomEdit::DestroyWnd()
{
    modified_ = GetModified();
    TWinControl::DestroyWnd();
}

bool TCustomEdit::CanAutoSize(int&, int& NewHeight)
{
    // An edit is as tall as its font's text plus the frame.
    TWindowDC dc;
    TSelectObject font(dc.Get(), GetFont()->GetHandle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    int frame = borderStyle_ == bsSingle ? GetSystemMetrics(SM_CYEDGE) * 2 + 4 : 2;
    NewHeight = tm.tmHeight + frame;
    return true;
}

void TCustomEdit::SetMaxLength(int value)
{
    maxLength_ = std::max(0, value);
    if (handle_)
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    if (handle_)
        SendMessageW(handle_, EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetPasswordChar(wchar_t value)
{
    passwordChar_ = value;
    if (handle_) {
        SendMessageW(handle_, EM_SETPASSWORDCHAR, value, 0);
        Invalidate();
    }
}

void TCustomEdit::SetCharCase(TEditCharCase value)
{
    if (charCase_ == value)
        return;
    charCase_ = value;
    RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value)
{
    if (borderStyle_ == value)
        return;
    borderStyle_ = value;
    RecreateWnd();
    AdjustSize();
}

void TCustomEdit::SetHideSelection(bool value)
{
    if (hideSelection_ == value)
        return;
    hideSelection_ = value;
    RecreateWnd();
}

bool TCustomEdit::GetModified() const
{
    if (handle_)
        return SendMessageW(handle_, EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TCustomEdit::SetModified(bool value)
{
    modified_ = value;
    if (handle_)
        SendMessageW(handle_, EM_SETMODIFY, value, 0);
}

int TCustomEdit::GetSelStart()
{
    DWORD start = 0, end = 0;
    SendMessageW(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value)
{
    SendMessageW(GetHandle(), EM_SETSEL, value, value);
}

int TCustomEdit::GetSelLength()
{
    DWORD start = 0, end = 0;
    SendMessageW(GetHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value)
{
    int start = GetSelStart();
    SendMessageW(GetHandle(), EM_SETSEL, start, start + value);
}

String TCustomEdit::GetSelText()
{
    String text = GetText();
    int start = std::clamp(GetSelStart(), 0, static_cast<int>(text.size()));
    int len = std::clamp(GetSelLength(), 0, static_cast<int>(text.size()) - start);
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(len));
}

void TCustomEdit::SetSelText(const String& value)
{
    SendMessageW(GetHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll()
{
    SendMessageW(GetHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection()
{
    SendMessageW(GetHandle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard()
{
    SendMessageW(GetHandle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard()
{
    SendMessageW(GetHandle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard()
{
    SendMessageW(GetHandle(), WM_PASTE, 0, 0);
}

bool TCustomEdit::CanUndo()
{
    return SendMessageW(GetHandle(), EM_CANUNDO, 0, 0) != 0;
}

void TCustomEdit::Undo()
{
    SendMessageW(GetHandle(), WM_UNDO, 0, 0);
}

void TCustomEdit::Change()
{
    // CM_CHANGED lets containers and actions hear about it too.
    TControl::Changed();
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::DoEnter()
{
    // A memo keeps its caret: selecting all its lines would let the next key
    // replace them.
    const bool multiLine = (GetWindowLongW(Handle(), GWL_STYLE) & ES_MULTILINE) != 0;
    if (autoSelect_ && !multiLine && !(GetKeyState(VK_LBUTTON) < 0))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        // The window's own text setting during creation is no user change.
        if (HIWORD(Message.WParam) == EN_CHANGE && !creating_)
            Change();
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        TWinControl::Dispatch(Message);
        return;
    case CM_TEXTCHANGED:
        // Text set without a window is a change as well, and so is text set
        // into a multi-line window, which sends no EN_CHANGE for it.
        if (!handle_ || (GetWindowLongW(handle_, GWL_STYLE) & ES_MULTILINE))
            Change();
        break;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(Message);
        AdjustSize();
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
std::vector<String> TMemoStrings::Lines() const
{
    TStringList list;
    list.SetText(memo_->GetText());
    std::vector<String> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list.Get(i));
    return lines;
}

void TMemoStrings::SetLines(const std::vector<String>& lines)
{
    String text;
    for (const String& l : lines)
        text += l + L"\r\n";
    memo_->SetText(text);
}

int TMemoStrings::Count() const
{
    return static_cast<int>(Lines().size());
}

String TMemoStrings::Get(int index) const
{
    auto lines = Lines();
    if (index < 0 || index >= static_cast<int>(lines.size()))
        Error(L"List index out of bounds (%d)", index);
    return lines[static_cast<std::size_t>(index)];
}

void TMemoStrings::Put(int index, const String& s)
{
    auto lines = Lines();
    if (index < 0 || index >= static_cast<int>(lines.size()))
        Error(L"List index out of bounds (%d)", index);
    lines[static_cast<std::size_t>(index)] = s;
    SetLines(lines);
}

void TMemoStrings::Insert(int index, const String& s)
{
    auto lines = Lines();
    if (index < 0 || index > static_cast<int>(lines.size()))
        Error(L"List index out of bounds (%d)", index);
    lines.insert(lines.begin() + index, s);
    SetLines(lines);
}

void TMemoStrings::Delete(int index)
{
    auto lines = Lines();
    if (index < 0 || index >= static_cast<int>(lines.size()))
        Error(L"List index out of bounds (%d)", index);
    lines.erase(lines.begin() + index);
    SetLines(lines);
}

void TMemoStrings::Clear()
{
    memo_->SetText(String());
}

String TMemoStrings::GetText() const
{
    return memo_->GetText();
}

void TMemoStrings::SetText(const String& text)
{
    // Lines from any line break become the memo's CR LF lines. A text that
    // ends in a line break keeps it: "a CR LF CR LF" is the line "a" and an
    // empty line, which reading the lines back would lose without it.
    TStringList list;
    list.SetText(text);
    String joined;
    for (int i = 0; i < list.Count(); ++i)
        joined += (i ? L"\r\n" : L"") + list.Get(i);
    if (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
        joined += L"\r\n";
    memo_->SetText(joined);
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner)
{
    ControlStyle >> csFixedHeight;
    TControl::SetAutoSize(false);
    SetBounds(0, 0, 185, 89);
    lines_.reset(New<TMemoStrings>(this));
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params)
{
    TCustomEdit::CreateParams(Params);
    static const DWORD alignments[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    Params.Style &= ~ES_AUTOHSCROLL;
    Params.Style |= ES_MULTILINE | alignments[alignment_];
    if (!wordWrap_)
        Params.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        Params.Style |= WS_HSCROLL;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        Params.Style |= WS_VSCROLL;
    // A horizontal bar makes no sense with wrapped lines.
    if (wordWrap_)
        Params.Style &= ~WS_HSCROLL;
}

void TCustomMemo::SetScrollBars(TScrollStyle value)
{
    if (scrollBars_ == value)
        return;
    scrollBars_ = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value)
{
    if (wordWrap_ == value)
        return;
    wordWrap_ = value;
    RecreateWnd();
}

void TCustomMemo::SetAlignment(TAlignment value)
{
    if (alignment_ == value)
        return;
    alignment_ = value;
    RecreateWnd();
}

POINT TCustomMemo::GetCaretPos()
{
    DWORD start = 0, end = 0;
    HWND wnd = GetHandle();
    SendMessageW(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    LONG line = static_cast<LONG>(SendMessageW(wnd, EM_LINEFROMCHAR, end, 0));
    LONG col = static_cast<LONG>(end - SendMessageW(wnd, EM_LINEINDEX, line, 0));
    return {col, line};
}

void TCustomMemo::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        TCustomEdit::Dispatch(Message);
        // The memo takes Enter and Tab only when asked to.
        if (!wantTabs_)
            Message.Result &= ~DLGC_WANTTAB;
        if (!wantReturns_)
            Message.Result &= ~DLGC_WANTALLKEYS;
        return;
    }
    if (Message.Msg == CM_WANTSPECIALKEY) {
        TCustomEdit::Dispatch(Message);
        if ((Message.WParam == VK_RETURN && wantReturns_) || (Message.WParam == VK_TAB && wantTabs_))
            Message.Result = 1;
        return;
    }
    TCustomEdit::Dispatch(Message);
}
