// Typed and pasted input filtered by edit type, the caret kept out of the
// prefix and suffix, and the text read and written as numbers.
//
// Positions count characters of the whole edit text: the value occupies
// Lp .. Lp + Lv. A refused key or character is swallowed with the text,
// caret and change count as they were.
#include "AdvDropDown.h"
#include "AdvUtil.h"
#include "Clipbrd.h"
#include <algorithm>
#include <cmath>

namespace {

bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

bool IsAsciiLetterOrDigit(wchar_t ch)
{
    return IsDigit(ch) || (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z');
}

bool CtrlDown()
{
    return GetKeyState(VK_CONTROL) < 0;
}

bool ShiftDown()
{
    return GetKeyState(VK_SHIFT) < 0;
}

bool IsNumberType(TDropDownEditType t)
{
    return t == etNumeric || t == etFloat || t == etMoney;
}

// A number as the user's locale writes it: an optional minus in front, ASCII
// digits with the locale's thousand separators between groups of three, and
// with AllowDecimals one decimal separator followed by digits.
bool IsLocaleNumber(const String& S, bool AllowDecimals)
{
    const wchar_t thousand = FormatSettings.ThousandSeparator;
    const wchar_t decimal = FormatSettings.DecimalSeparator;
    size_t i = 0;
    if (i < S.size() && S[i] == L'-')
        ++i;
    size_t digits = 0, group = 0;
    bool grouped = false;
    for (; i < S.size() && S[i] != decimal; ++i) {
        if (IsDigit(S[i])) {
            ++digits;
            ++group;
        } else if (S[i] == thousand && thousand != 0 && group > 0 && (!grouped || group == 3) && group <= 3) {
            grouped = true;
            group = 0;
        } else {
            return false;
        }
    }
    if (digits == 0 || (grouped && group != 3))
        return false;
    if (i == S.size())
        return true;
    if (!AllowDecimals)
        return false;
    ++i;
    if (i == S.size())
        return false;
    for (; i < S.size(); ++i)
        if (!IsDigit(S[i]))
            return false;
    return true;
}

// Digits grouped in threes from the right with the locale's separator.
String GroupDigits(const String& Digits)
{
    String out;
    const size_t n = Digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0 && FormatSettings.ThousandSeparator != 0)
            out += FormatSettings.ThousandSeparator;
        out += Digits[i];
    }
    return out;
}

} // namespace

// ---------------------------------------------------------------------------
// Message routing.

void TAdvCustomDropDown::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
        HandleWMKeyDown(Message);
        return;
    case WM_CHAR:
        HandleWMChar(Message);
        return;
    case CM_WANTSPECIALKEY:
        HandleCMWantSpecialKey(Message);
        return;
    case CN_COMMAND:
        HandleCNCommand(Message);
        return;
    case CM_TEXTCHANGED:
        // A text written while a change is blocked (the money reformatting)
        // is no change of the user's.
        if (FBlockChange) {
            FBlockChange = false;
            return;
        }
        break;
    case WM_PASTE:
        HandleWMPaste(Message);
        return;
    case WM_CUT:
        HandleWMCut(Message);
        return;
    case WM_COPY:
        HandleWMCopy(Message);
        return;
    case WM_KILLFOCUS:
        if (ComponentState().Contains(csLoading))
            return;
        HandleWMKillFocus(Message);
        return;
    case WM_SETFOCUS:
        HandleSetFocus(Message);
        return;
    case WM_GETDLGCODE:
        // The window's own answer: a multi-line edit wants Enter and Escape,
        // which the editor turns into closing the popup.
        DefaultHandler(Message);
        return;
    case WM_LBUTTONDOWN:
        HandleLButtonDown(Message);
        return;
    case WM_LBUTTONUP:
        HandleLButtonUp(Message);
        return;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(Message);
        UpdateLayout();
        return;
    case WM_PAINT:
        TCustomMaskEdit::Dispatch(Message);
        if (FBorderColor != clNone || FFocusBorderColor != clNone || (!GetEnabled() && FDisabledBorder))
            DrawBorders();
        PaintEditArea();
        return;
    case WM_NCPAINT:
        TCustomMaskEdit::Dispatch(Message);
        if (FBorderColor != clNone || FFocusBorderColor != clNone)
            DrawBorders();
        return;
    case CM_ENTER:
        if (GetAutoSelect() && GetKeyState(VK_LBUTTON) >= 0)
            SelectAll();
        TCustomMaskEdit::Dispatch(Message);
        SetEditRect();
        DrawBorders();
        return;
    case CM_EXIT:
        TCustomMaskEdit::Dispatch(Message);
        DrawBorders();
        return;
    case CM_MOUSEENTER:
        TCustomMaskEdit::Dispatch(Message);
        if (GetEnabled()) {
            FMouseInControl = true;
            DrawBorders();
        }
        return;
    case CM_MOUSELEAVE:
        TCustomMaskEdit::Dispatch(Message);
        if (GetEnabled()) {
            FMouseInControl = false;
            DrawBorders();
        }
        return;
    case CM_ENABLEDCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        if (FButton)
            FButton->SetEnabled(GetEnabled());
        return;
    case EM_SETREADONLY:
        TCustomMaskEdit::Dispatch(Message);
        if (FButton)
            FButton->GetSpeedButton()->Invalidate();
        return;
    case CM_FONTCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        if (HandleAllocated())
            SetEditRect();
        return;
    case CM_VISIBLECHANGED:
        TCustomMaskEdit::Dispatch(Message);
        if (FLabel && !FLabel->GetCaption().empty())
            FLabel->SetVisible(GetVisible());
        return;
    case CM_PARENTFONTCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        if (GetParentFont())
            FLabelFont->Assign(GetFont());
        UpdateLabel();
        return;
    case WM_MOUSEWHEEL: {
        TCustomMaskEdit::Dispatch(Message);
        if (static_cast<short>(HIWORD(Message.WParam)) < 0)
            WheelDown();
        else
            WheelUp();
        return;
    }
    default:
        break;
    }
    TCustomMaskEdit::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Derived values.

void TAdvCustomDropDown::SetModifiedFlag(bool Value)
{
    if (ComponentState().Contains(csLoading) || !FEditorEnabled || GetReadOnly())
        return;
    SetModified(Value);
    FIsModified = Value;
}

void TAdvCustomDropDown::MarkModified()
{
    SetModifiedFlag(true);
}

int TAdvCustomDropDown::IntegerPartLength(const String& S) const
{
    const String plain = RemoveThousandSeparators(S);
    const size_t p = plain.find(FormatSettings.DecimalSeparator);
    int n = p == String::npos ? static_cast<int>(plain.size()) + 1 : static_cast<int>(p) + 1;
    if (FSigned && IsNumberType(FEditType) && S.find(L'-') != String::npos)
        --n;
    return n;
}

int TAdvCustomDropDown::DecimalSeparatorPos()
{
    const String v = GetText();
    const size_t p = v.find(FormatSettings.DecimalSeparator);
    if (p == String::npos)
        return static_cast<int>(v.size()) + Lp() + static_cast<int>(FSuffix.size()) + 1;
    return Lp() + static_cast<int>(p) + 1;
}

bool TAdvCustomDropDown::IsMinusAllowed(wchar_t ch) const
{
    return FSigned && IsNumberType(FEditType) && ch == L'-';
}

bool TAdvCustomDropDown::IsDecimalPartFull(const String& Value, int Caret) const
{
    const int c = Caret - Lp();
    if (FPrecision <= 0 || static_cast<int>(Value.size()) - c > FPrecision)
        return false;
    const size_t p = Value.find(FormatSettings.DecimalSeparator);
    if (p == String::npos)
        return false;
    const int sep = static_cast<int>(p) + 1;
    return c >= sep && static_cast<int>(Value.size()) - sep >= FPrecision;
}

bool TAdvCustomDropDown::IsBadSeparatorPosition(const String& Value, int Caret) const
{
    const wchar_t thousand = FormatSettings.ThousandSeparator;
    int c = Caret - Lp();
    if (Value.find(thousand) == String::npos)
        return false;
    String rest = Value;
    int smallest = 1 << 30;
    size_t t0;
    while ((t0 = rest.find(thousand)) != String::npos) {
        const int t = static_cast<int>(t0) + 1;
        const int d = std::abs(t - c);
        smallest = std::min(smallest, d);
        if (d < 3)
            return true;
        if (c > t)
            c -= t;
        rest.erase(0, t0 + 1);
    }
    return smallest > 3;
}

// ---------------------------------------------------------------------------
// Keys.

void TAdvCustomDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (FDroppedDown)
            CloseDropDown(false);
        else
            OpenDropDown();
    }
}

void TAdvCustomDropDown::KeyPress(wchar_t& Key)
{
    TCustomMaskEdit::KeyPress(Key);
    if (Key == VK_RETURN)
        Key = 0;
}

void TAdvCustomDropDown::HandleWMKeyDown(TMessage& Message)
{
    if (ComponentState().Contains(csDesigning)) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    Word key = static_cast<Word>(Message.WParam);
    const bool popupVisible = FDropDownForm && FDropDownForm->GetVisible();
    auto popupKeys = [&] {
        if (key == VK_RETURN)
            CloseDropDown(false);
        else if (key == VK_ESCAPE)
            CloseDropDown(true);
        else if (key == VK_F4) {
            if (popupVisible)
                CloseDropDown(false);
            else
                OpenDropDown();
        }
    };
    if (!FEditorEnabled) {
        if (!GetEnabled())
            return;
        if (!GetReadOnly())
            popupKeys();
        if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE)
            TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (CtrlDown() && (key == VK_TAB || key == VK_RETURN)) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        Message.WParam = VK_TAB;
        if (IsWindowVisible(Handle()))
            PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    const String value = GetText();
    const int lp = Lp();
    const int lv = static_cast<int>(value.size());
    int selStart = 0, selEnd = 0;
    SelectionRange(selStart, selEnd);
    if (key == VK_RIGHT && !FSuffix.empty() && selEnd >= lp + lv)
        return;
    if (key == VK_DELETE && !FSuffix.empty()) {
        if (selEnd >= lp + lv && selStart == selEnd)
            return;
        MarkModified();
    }
    if (key == VK_LEFT && !FPrefix.empty() && selEnd <= lp)
        return;
    if (key == VK_END && !FSuffix.empty()) {
        if (ShiftDown())
            SetSelection(selStart, lp + lv);
        else
            SetSelection(lp + lv, lp + lv);
        return;
    }
    if (key == VK_HOME && !FPrefix.empty()) {
        if (ShiftDown())
            SetSelection(lp + lv, lp);
        else
            SetSelection(lp, lp);
        return;
    }
    if (key == VK_BACK && !FPrefix.empty()) {
        if (selStart <= lp + 1)
            return;
        MarkModified();
    }
    if (key == VK_DELETE && selStart >= lp) {
        // The value after the deletion, its positions held inside the value.
        String after = value;
        const int from = std::clamp(selStart - lp, 0, lv);
        const int to = std::clamp(selEnd - lp, 0, lv);
        if (to > from)
            after.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
        else if (from < lv)
            after.erase(static_cast<size_t>(from), 1);
        if (FLengthLimit > 0 && IntegerPartLength(after) - 1 > FLengthLimit)
            return;
        MarkModified();
    }
    TCustomMaskEdit::Dispatch(Message);
    if (key == VK_DELETE && FEditType == etMoney)
        FormatMoneyText();
    SelectionRange(selStart, selEnd);
    if (selStart < lp && selEnd <= lp)
        SetSelection(lp, lp);
    popupKeys();
}

void TAdvCustomDropDown::HandleCMWantSpecialKey(TMessage& Message)
{
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    const Word key = static_cast<Word>(Message.WParam);
    if (!form->GetKeyPreview()) {
        if (key == VK_ESCAPE && FCanUndo) {
            SelectAll();
            SetModifiedFlag(false);
            Message.WParam = 0;
            if (FDefaultHandling && GetParent()) {
                PostMessageW(GetParent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageW(GetParent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
            }
        } else if (key == VK_RETURN && FDefaultHandling && GetParent() && GetParent()->Focused()) {
            PostMessageW(GetParent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(GetParent()->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
    }
    TCustomMaskEdit::Dispatch(Message);
    if (key == VK_ESCAPE && FDropDownForm && FDropDownForm->GetVisible())
        Message.Result = 1;
}

void TAdvCustomDropDown::ToggleSign(bool WholeSelected)
{
    const String value = GetText();
    const int lp = Lp();
    int selStart = 0, selEnd = 0;
    SelectionRange(selStart, selEnd);
    if (WholeSelected) {
        WriteValue(L"-");
        SetSelection(lp + 1, lp + 1);
    } else if (value.find(L'-') != String::npos) {
        WriteValue(value.substr(1));
        const int caret = std::max(lp, selStart - 1);
        SetSelection(caret, caret);
    } else {
        WriteValue(L"-" + value);
        SetSelection(selStart + 1, selStart + 1);
    }
    MarkModified();
}

void TAdvCustomDropDown::HandleWMChar(TMessage& Message)
{
    wchar_t key = static_cast<wchar_t>(Message.WParam);
    // A refused character leaves no blocked notification behind: the next
    // real change must reach OnChange.
    auto refuse = [&] {
        FBlockChange = false;
        Message.Result = 0;
    };
    auto pass = [&] {
        Message.WParam = key;
        TCustomMaskEdit::Dispatch(Message);
    };
    if (!FEditorEnabled) {
        refuse();
        return;
    }
    const wchar_t decimal = FormatSettings.DecimalSeparator;
    const wchar_t thousand = FormatSettings.ThousandSeparator;
    const int lp = Lp();
    String value = GetText();
    const int lv = static_cast<int>(value.size());
    int selStart = 0, selEnd = 0;
    SelectionRange(selStart, selEnd);
    const int selLength = selEnd - selStart;
    const bool wholeSelected = selLength == lv;
    if (wholeSelected && !value.empty())
        FBlockChange = true;
    if (key == VK_RETURN && CtrlDown()) {
        refuse();
        Message.Result = 1;
        return;
    }
    if (key == VK_RETURN) {
        FBlockChange = false;
        if (OnKeyPress)
            OnKeyPress(this, key);
        if (FDefaultHandling)
            return;
        if (GetParent()) {
            PostMessageW(GetParent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            TCustomForm* form = GetParentForm(this);
            if (form && form->GetKeyPreview())
                TCustomMaskEdit::Dispatch(Message);
            else
                PostMessageW(GetParent()->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
        return;
    }
    if (key == VK_ESCAPE && !FDefaultHandling && GetParent()) {
        FBlockChange = false;
        TCustomForm* form = GetParentForm(this);
        if (form && form->GetKeyPreview()) {
            TCustomMaskEdit::Dispatch(Message);
            return;
        }
        PostMessageW(GetParent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(GetParent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        if (!FCanUndo) {
            TCustomMaskEdit::Dispatch(Message);
            return;
        }
    }
    if (key == VK_ESCAPE) {
        // Escape inserts nothing: it must not mark the value modified again
        // right after the undo selected it and cleared the mark.
        FBlockChange = false;
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (key == 3 || key == 22 || key == 24) {
        FBlockChange = false;
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (FExcelStyleDecimalSeparator && (key == L'.' || key == L',') && (Message.LParam & (1 << 22)))
        key = decimal;
    if (key == VK_BACK && !FPrefix.empty() && selStart <= lp && selLength == 0) {
        refuse();
        return;
    }
    if (FLengthLimit > 0 && IntegerPartLength(value) > FLengthLimit && selLength == 0 && key != VK_BACK &&
        key != decimal && !IsMinusAllowed(key) && selStart < DecimalSeparatorPos()) {
        refuse();
        return;
    }
    if (key == VK_BACK) {
        // The value as the deletion leaves it, its positions held inside the value.
        String after = value;
        const int at = selStart - lp - 1;
        const int count = selLength == 0 ? 1 : selLength;
        if (at >= 0 && at < lv)
            after.erase(static_cast<size_t>(at), static_cast<size_t>(std::min(count, lv - at)));
        pass();
        if (GetText().empty() && !after.empty())
            Change();
        FBlockChange = false;
        return;
    }
    // Overtyping a selection is one notification here: let it through.
    FBlockChange = false;
    if (key == 10) {
        refuse();
        return;
    }
    if (IsNumberType(FEditType) && !FSigned && key == L'-') {
        refuse();
        return;
    }
    auto isNavigation = [](wchar_t ch) { return ch == VK_BACK || ch == VK_TAB || ch == VK_RETURN; };
    switch (FEditType) {
    case etString:
    case etPassword:
        MarkModified();
        pass();
        break;
    case etNumeric:
        if (key == L'-') {
            ToggleSign(wholeSelected);
            return;
        }
        if (isNavigation(key) || IsDigit(key) || CtrlDown())
            pass();
        else {
            refuse();
            return;
        }
        break;
    case etFloat:
    case etMoney: {
        const bool money = FEditType == etMoney;
        if (money) {
            if (key == decimal && (value.find(decimal) != String::npos || FPrecision == 0)) {
                if (FPrecision > 0) {
                    if (wholeSelected)
                        SetText(L"0");
                    SelectAfterDecimal();
                }
                refuse();
                return;
            }
            if (!isNavigation(key) && key != L'-' && !IsDigit(key) && key != decimal) {
                refuse();
                return;
            }
        } else {
            if ((key == L',' || key == L'.') && key != decimal && key != thousand) {
                refuse();
                return;
            }
            if (!isNavigation(key) && key != L',' && key != L'-' && key != L'.' && !IsDigit(key)) {
                refuse();
                return;
            }
            const String selected = value.substr(static_cast<size_t>(std::clamp(selStart - lp, 0, lv)),
                                                 static_cast<size_t>(std::max(selLength, 0)));
            if (key == decimal && selected.find(decimal) == String::npos &&
                (value.find(decimal) != String::npos || FPrecision == 0)) {
                if (FPrecision > 0)
                    SelectAfterDecimal();
                refuse();
                return;
            }
            if (key == L',' && thousand != L',') {
                String outside = value;
                outside.erase(static_cast<size_t>(std::clamp(selStart - lp, 0, lv)),
                              static_cast<size_t>(std::max(selLength, 0)));
                if (outside.find(L',') != String::npos) {
                    refuse();
                    return;
                }
            }
        }
        if ((key == thousand || key == decimal) && IsBadSeparatorPosition(value, selStart)) {
            refuse();
            return;
        }
        if (IsDecimalPartFull(value, selStart) && (IsDigit(key) || key == decimal) && selLength == 0) {
            const size_t sep = value.find(decimal);
            const int sepPos = lp + static_cast<int>(sep);
            if (FPrecision < 1 || selStart <= sepPos || !IsDigit(key) || selStart >= lp + lv) {
                refuse();
                return;
            }
            SetSelection(selStart, selStart + 1);
        }
        if (key == decimal && value.empty() && selStart == lp) {
            const short precision = FPrecision;
            FPrecision = 0;
            WriteValue(String(L"0") + decimal);
            FPrecision = precision;
            SetSelection(lp + 2, lp + 2);
            MarkModified();
            return;
        }
        if (key == L'-' && selLength == 0) {
            ToggleSign(false);
            return;
        }
        if (key == L'-' && wholeSelected) {
            ToggleSign(true);
            return;
        }
        pass();
        if (money) {
            const String now = GetText();
            if (!now.empty() && now != L"-" && key != decimal) {
                FIsModified = GetModified();
                FormatMoneyText();
            }
        }
        break;
    }
    case etUppercase:
        key = AnsiUpperCase(String(1, key))[0];
        pass();
        break;
    case etLowerCase:
        key = AnsiLowerCase(String(1, key))[0];
        pass();
        break;
    case etMixedCase: {
        pass();
        // Writing the capitalised value would clear what the typing set.
        const bool typed = GetModified();
        const String capitalized = CapitalizeName(GetText());
        FBlockChange = capitalized != GetText();
        WriteValue(capitalized);
        FBlockChange = false;
        SetModified(typed);
        SetSelection(selStart + 1, selStart + 1);
        break;
    }
    case etRange: {
        if (!(isNavigation(key) || IsDigit(key) || IsRangeSeparator(key))) {
            refuse();
            return;
        }
        if (IsRangeSeparator(key)) {
            const String shown = TCustomMaskEdit::GetTextBuf() + L" ";
            const bool leftIsSeparator = selStart >= 1 && IsRangeSeparator(shown[static_cast<size_t>(selStart - 1)]);
            const bool rightIsSeparator =
                selStart < static_cast<int>(shown.size()) && IsRangeSeparator(shown[static_cast<size_t>(selStart)]);
            if (selStart <= lp || leftIsSeparator || rightIsSeparator) {
                refuse();
                return;
            }
        }
        MarkModified();
        pass();
        break;
    }
    case etHex:
        if (!(isNavigation(key) || key == L'-' || IsDigit(key) || (key >= L'A' && key <= L'F') ||
              (key >= L'a' && key <= L'f'))) {
            refuse();
            return;
        }
        MarkModified();
        pass();
        break;
    case etAlphaNumeric:
        if (!(isNavigation(key) || IsAsciiLetterOrDigit(key))) {
            refuse();
            return;
        }
        MarkModified();
        pass();
        break;
    case etValidChars:
        if (!(key == VK_BACK || FValidChars.find(key) != String::npos)) {
            refuse();
            return;
        }
        MarkModified();
        pass();
        break;
    }
    if (GetModified())
        FIsModified = true;
}

void TAdvCustomDropDown::HandleCNCommand(TMessage& Message)
{
    if (HIWORD(Message.WParam) == EN_CHANGE && FBlockChange) {
        FBlockChange = false;
        return;
    }
    TCustomMaskEdit::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Clipboard.

void TAdvCustomDropDown::HandleWMPaste(TMessage&)
{
    if (GetReadOnly() || !IsClipboardFormatAvailable(CF_UNICODETEXT))
        return;
    const String pasted = Clipboard()->GetAsText();
    if (pasted.empty())
        return;
    const String value = GetText();
    const int lp = Lp();
    const int lv = static_cast<int>(value.size());
    int selStart = 0, selEnd = 0;
    SelectionRange(selStart, selEnd);
    // Positions inside the prefix or suffix count as the value's ends.
    const int a = std::clamp(selStart - lp, 0, lv);
    const int b = std::clamp(selEnd - lp, a, lv);
    const int selLength = b - a;
    String newValue = value;
    newValue.replace(static_cast<size_t>(a), static_cast<size_t>(selLength), pasted);
    const int pl = static_cast<int>(pasted.size());
    const int caretStart = selLength > 0 ? a + lp : a + pl + lp;
    const int caretEnd = a + pl + lp;
    bool allow = true;
    if (OnClipboardPaste)
        OnClipboardPaste(this, newValue, allow);
    if (!allow)
        return;
    // Without MaxLength the window's own limit holds the whole text.
    const auto own = static_cast<unsigned long long>(static_cast<DWORD>(SendMessageW(Handle(), EM_GETLIMITTEXT, 0, 0)));
    const long long limit = GetMaxLength() > 0
                                ? GetMaxLength()
                                : static_cast<long long>(own) - static_cast<long long>(FPrefix.size() + FSuffix.size());
    if (pl + lv - selLength > limit)
        return;
    const bool hasMinus = pasted.find(L'-') != String::npos;
    bool accepted = false;
    switch (FEditType) {
    case etString:
    case etPassword:
        SetText(newValue);
        accepted = true;
        break;
    case etNumeric:
        if (IsLocaleNumber(newValue, false) && (FSigned || !hasMinus)) {
            SetText(newValue);
            MarkModified();
            accepted = true;
        }
        break;
    case etFloat:
    case etMoney:
        if (IsLocaleNumber(newValue, FPrecision != 0) && (FSigned || !hasMinus)) {
            SetText(newValue);
            SetFloatValue(GetFloatValue());
            MarkModified();
            accepted = true;
        }
        break;
    case etUppercase:
        SetText(AnsiUpperCase(newValue));
        accepted = true;
        break;
    case etLowerCase:
        SetText(AnsiLowerCase(newValue));
        accepted = true;
        break;
    case etMixedCase:
        SetText(CapitalizeName(newValue));
        accepted = true;
        break;
    case etAlphaNumeric:
        if (std::all_of(pasted.begin(), pasted.end(), IsAsciiLetterOrDigit)) {
            SetText(newValue);
            MarkModified();
            accepted = true;
        }
        break;
    case etValidChars:
        if (std::all_of(pasted.begin(), pasted.end(),
                        [this](wchar_t ch) { return FValidChars.find(ch) != String::npos; })) {
            SetText(newValue);
            MarkModified();
            accepted = true;
        }
        break;
    case etRange:
    case etHex:
        break;
    }
    if (!accepted)
        return;
    if (FEditType == etMoney && GetText().size() > 3)
        SelectAll();
    else
        SetSelection(caretStart, caretEnd);
    if (FEditType == etString || FEditType == etUppercase || FEditType == etMixedCase ||
        FEditType == etLowerCase || FEditType == etPassword)
        MarkModified();
}

bool TAdvCustomDropDown::ClipboardEventAllows(const TClipboardEvent& Event)
{
    bool allow = true;
    if (!Event)
        return allow;
    const String value = GetText();
    const int lv = static_cast<int>(value.size());
    int selStart = 0, selEnd = 0;
    SelectionRange(selStart, selEnd);
    const int a = std::clamp(selStart - Lp(), 0, lv);
    const int b = std::clamp(selEnd - Lp(), a, lv);
    Event(this, value.substr(static_cast<size_t>(a), static_cast<size_t>(b - a)), allow);
    return allow;
}

void TAdvCustomDropDown::HandleWMCut(TMessage& Message)
{
    if (!FEditorEnabled || GetReadOnly())
        return;
    FBlockCopy = true;
    const bool allow = ClipboardEventAllows(OnClipboardCut);
    if (allow)
        TCustomMaskEdit::Dispatch(Message);
    FBlockCopy = false;
}

void TAdvCustomDropDown::HandleWMCopy(TMessage& Message)
{
    bool allow = true;
    if (!FBlockCopy)
        allow = ClipboardEventAllows(OnClipboardCopy);
    FBlockCopy = false;
    if (allow)
        TCustomMaskEdit::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Focus and the mouse.

void TAdvCustomDropDown::HandleSetFocus(TMessage& Message)
{
    if (ComponentState().Contains(csLoading))
        return;
    TCustomMaskEdit::Dispatch(Message);
    if (FEditorEnabled) {
        FOldString = GetText();
        if (GetAutoSelect())
            SelectAll();
        else if (FEditType == etFloat || FEditType == etMoney)
            SelectBeforeDecimal();
    } else {
        HideCaret(Handle());
        Invalidate();
    }
}

void TAdvCustomDropDown::HandleWMKillFocus(TMessage& Message)
{
    const String value = GetText();
    const bool floatType = FEditType == etFloat || FEditType == etMoney;
    if (floatType && FPrecision > 0 && (!value.empty() || !FAllowNumericNullValue)) {
        const bool modified = FIsModified;
        SetFloatValue(GetFloatValue());
        SetModifiedFlag(modified);
    }
    if (FEditType == etNumeric && value.empty() && !FAllowNumericNullValue)
        SetText(L"0");
    if (floatType && value.empty() && !FAllowNumericNullValue)
        SetFloatValue(0);
    TCustomMaskEdit::Dispatch(Message);
    if (!FEditorEnabled)
        Invalidate();
}

void TAdvCustomDropDown::HandleLButtonDown(TMessage& Message)
{
    if (!FEditorEnabled) {
        TCustomMaskEdit::Dispatch(Message);
        DropDownButtonClick(this);
        return;
    }
    const int pos = LOWORD(SendMessageW(Handle(), EM_CHARFROMPOS, 0, Message.LParam));
    int selStart = 0, selEnd = 0;
    SelectionRange(selStart, selEnd);
    if (Focused() && selEnd > selStart && pos >= selStart && pos <= selEnd) {
        FButtonDown = true;
        return;
    }
    TCustomMaskEdit::Dispatch(Message);
}

void TAdvCustomDropDown::HandleLButtonUp(TMessage& Message)
{
    if (!FEditorEnabled || GetReadOnly())
        PaintEditArea();
    if (FButtonDown) {
        const int pos = LOWORD(SendMessageW(Handle(), EM_CHARFROMPOS, 0, Message.LParam));
        SetSelection(pos, pos);
    }
    FButtonDown = false;
    TCustomMaskEdit::Dispatch(Message);
    if (!HandleAllocated())
        return;
    const int lp = Lp();
    const int end = lp + static_cast<int>(GetText().size());
    int selStart = 0, selEnd = 0;
    SelectionRange(selStart, selEnd);
    if (selStart < lp)
        SetSelection(lp, end);
    else if (selStart > end)
        SetSelection(end, end);
    else if (selEnd > end)
        SetSelection(selStart, end);
}

// ---------------------------------------------------------------------------
// Numbers.

long double TAdvCustomDropDown::TextToFloat(const String& S) const
{
    const String plain = RemoveThousandSeparators(S);
    double v = 0;
    if (!TryStrToFloat(plain, v))
        return 0;
    return v;
}

double TAdvCustomDropDown::GetFloatValue()
{
    const String value = GetText();
    switch (FEditType) {
    case etString: {
        double v = 0;
        return TryStrToFloat(value, v, TFormatSettings::Invariant()) ? v : 0;
    }
    case etNumeric:
    case etFloat:
        if (value.empty() || value == L"Error" || value == L"-")
            return 0;
        return static_cast<double>(TextToFloat(value));
    case etMoney: {
        if (value.empty())
            return 0;
        String s = RemoveThousandSeparators(value);
        if (!s.empty() && s.back() == FormatSettings.DecimalSeparator)
            s.pop_back();
        if (s.empty() || s == L"-")
            return 0;
        return static_cast<double>(TextToFloat(s));
    }
    case etHex:
        return value.empty() ? 0 : HexToInt(value);
    default:
        return 0;
    }
}

void TAdvCustomDropDown::SetFloatValue(double x)
{
    const String fixed = String(L"%.") + IntToStr(FPrecision);
    switch (FEditType) {
    case etString:
    case etFloat:
        SetText(FPrecision < 0 ? ::Format(L"%g", {x}) : ::Format(fixed + L"f", {x}));
        break;
    case etNumeric:
        SetText(FPrecision < 0 ? ::Format(L"%g", {x}) : ::Format(fixed + L"n", {x}));
        break;
    case etMoney:
        SetText(FPrecision < 0 ? ::Format(L"%g", {x}) : ::Format(fixed + L"f", {x}));
        FormatMoneyText();
        break;
    case etHex:
        SetText(IntToHex(static_cast<Int64>(std::trunc(x)), 0));
        break;
    default:
        break;
    }
    MarkModified();
}

void TAdvCustomDropDown::SetIntValue(int n)
{
    switch (FEditType) {
    case etNumeric:
    case etFloat:
        SetText(IntToStr(n));
        break;
    case etMoney:
        SetText(IntToStr(n));
        FormatMoneyText();
        break;
    case etHex:
        SetText(IntToHex(n, 0));
        break;
    default:
        break;
    }
    MarkModified();
}

void TAdvCustomDropDown::FormatMoneyText()
{
    String s = GetText();
    if (s.empty())
        return;
    const int oldLength = static_cast<int>(s.size());
    int selStart = 0, selEnd = 0;
    if (HandleAllocated())
        SelectionRange(selStart, selEnd);
    String sign;
    if (s[0] == L'-') {
        sign = L"-";
        s.erase(0, 1);
    }
    const size_t dp = s.find(FormatSettings.DecimalSeparator);
    const String decimals = dp == String::npos ? String() : s.substr(dp, 255);
    // The typed digits themselves, grouped: a detour through a double would
    // change them past fifteen digits.
    String digits;
    for (wchar_t ch : s.substr(0, dp))
        if (IsDigit(ch))
            digits += ch;
    digits.erase(0, std::min(digits.find_first_not_of(L'0'), digits.empty() ? 0 : digits.size() - 1));
    if (digits.empty())
        digits = L"0";
    const String integer = FAutoThousandSeparator ? GroupDigits(digits) : digits;
    const String newValue = sign + integer + decimals;
    const String newText = FPrefix + newValue + FSuffix;
    FBlockChange = newText != TCustomMaskEdit::GetTextBuf();
    const short precision = FPrecision;
    const bool typed = GetModified();
    FPrecision = 0;
    WriteValue(newValue);
    FPrecision = precision;
    FBlockChange = false;
    SetModified(typed);
    if (HandleAllocated()) {
        const int caret = std::max(Lp(), static_cast<int>(newValue.size()) + selStart - oldLength);
        SetSelection(caret, caret);
    }
}

void TAdvCustomDropDown::SetEditType(TDropDownEditType Value)
{
    if (Value == FEditType)
        return;
    FEditType = Value;
    if (Value == etPassword) {
        SetPasswordChar(L'*');
        FCanUndo = false;
        RecreateWnd();
    } else {
        SetPasswordChar(0);
    }
    const int kind = DetectNumberKind(GetText());
    if (Value == etNumeric && kind != nkInteger)
        SetIntValue(0);
    else if ((Value == etFloat || Value == etMoney) && kind != nkInteger && kind != nkFloat)
        SetFloatValue(0);
    else if (Value == etHex && kind != nkInteger && kind != nkHex)
        SetIntValue(0);
    if (ComponentState().Contains(csDesigning) && Value == etFloat && FPrecision == 0)
        SetPrecision(2);
}

void TAdvCustomDropDown::SetPrecision(int Value)
{
    if (Value == FPrecision)
        return;
    if (FEditType != etString && FEditType != etFloat && FEditType != etMoney)
        return;
    FPrecision = static_cast<short>(Value);
    const int kind = DetectNumberKind(GetText());
    if (kind == nkText || kind == nkHex)
        SetFloatValue(0);
    else
        SetFloatValue(GetFloatValue());
}

int SteppedItemIndex(int Count, int Index, TItemStep Step)
{
    constexpr int PageSize = 10;
    if (Count <= 0)
        return -1;
    if (Step == TItemStep::Last)
        return Count - 1;
    if (Step == TItemStep::First || Index < 0)
        return 0;
    switch (Step) {
    case TItemStep::Next: return Index + 1 < Count ? Index + 1 : -1;
    case TItemStep::Previous: return Index > 0 ? Index - 1 : -1;
    case TItemStep::NextPage: return std::min(Index + PageSize, Count - 1);
    case TItemStep::PreviousPage: return std::max(Index - PageSize, 0);
    default: return -1;
    }
}
