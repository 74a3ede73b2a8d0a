// Masked edits.
#include "Mask.h"
#include <algorithm>
#include <cwctype>

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const String& value)
{
    String old = IsMasked() ? GetTextBuf() : GetText();
    editMask_ = value;
    ParseMask();
    if (IsMasked()) {
        SetMaxLength(static_cast<int>(slots_.size()));
        SetTextBuf(old);
    } else {
        SetMaxLength(0);
    }
}

void TCustomMaskEdit::ParseMask()
{
    slots_.clear();
    saveLiterals_ = true;
    blank_ = L'_';
    String mask = editMask_;
    // The two trailing fields: whether Text keeps the literals, the blank.
    auto last = mask.rfind(L';');
    if (last != String::npos && last > 0) {
        auto prev = mask.rfind(L';', last - 1);
        if (prev != String::npos) {
            saveLiterals_ = mask.substr(prev + 1, last - prev - 1) != L"0";
            if (last + 1 < mask.size())
                blank_ = mask[last + 1];
            mask.erase(prev);
        } else {
            saveLiterals_ = mask.substr(last + 1) != L"0";
            mask.erase(last);
        }
    }
    CaseMode caseMode = cmNone;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        wchar_t c = mask[i];
        Slot s;
        switch (c) {
        case L'!': continue;  // blank placement, not a position
        case L'>':
            if (i + 1 < mask.size() && mask[i + 1] == L'<') {
                caseMode = cmNone;
                ++i;
            } else {
                caseMode = cmUpper;
            }
            continue;
        case L'<': caseMode = cmLower; continue;
        case L'\\':
            if (++i < mask.size())
                s.literal = mask[i];
            break;
        case L'L': s.kind = skLetter; s.required = true; break;
        case L'l': s.kind = skLetter; break;
        case L'A': s.kind = skAlnum; s.required = true; break;
        case L'a': s.kind = skAlnum; break;
        case L'C': s.kind = skAny; s.required = true; break;
        case L'c': s.kind = skAny; break;
        case L'0': s.kind = skDigit; s.required = true; break;
        case L'9': s.kind = skDigit; break;
        case L'#': s.kind = skDigitSign; break;
        case L':': s.literal = L':'; break;
        case L'/': s.literal = L'/'; break;
        default: s.literal = c; break;
        }
        s.caseMode = caseMode;
        slots_.push_back(s);
    }
}

bool TCustomMaskEdit::Accepts(const Slot& s, wchar_t& ch) const
{
    switch (s.kind) {
    case skLiteral: return false;
    case skLetter:
        if (!IsCharAlphaW(ch))
            return false;
        break;
    case skAlnum:
        if (!IsCharAlphaNumericW(ch))
            return false;
        break;
    case skAny:
        if (ch < L' ')
            return false;
        break;
    case skDigit:
        if (!std::iswdigit(ch))
            return false;
        break;
    case skDigitSign:
        if (!std::iswdigit(ch) && ch != L'+' && ch != L'-')
            return false;
        break;
    }
    wchar_t buf[2] = {ch, 0};
    if (s.caseMode == cmUpper)
        CharUpperW(buf);
    else if (s.caseMode == cmLower)
        CharLowerW(buf);
    ch = buf[0];
    return true;
}

String TCustomMaskEdit::Blank() const
{
    String text;
    for (const Slot& s : slots_)
        text += s.kind == skLiteral ? s.literal : blank_;
    return text;
}

String TCustomMaskEdit::Format(const String& value, bool withLiterals) const
{
    // Fills the positions in order from Value; a value with literals keeps
    // them in place, one without has only the input characters.
    String text = Blank();
    std::size_t v = 0;
    for (std::size_t i = 0; i < slots_.size() && v < value.size(); ++i) {
        const Slot& s = slots_[i];
        if (s.kind == skLiteral) {
            if (withLiterals && value[v] == s.literal)
                ++v;
            continue;
        }
        wchar_t ch = value[v++];
        if (ch == L' ' || ch == blank_)
            continue;
        if (Accepts(s, ch))
            text[i] = ch;
    }
    return text;
}

String TCustomMaskEdit::GetEditText() const
{
    if (!IsMasked())
        return TCustomEdit::GetTextBuf();
    return handle_ ? TCustomEdit::GetTextBuf() : (editText_.empty() ? Blank() : editText_);
}

void TCustomMaskEdit::SetEditText(const String& value)
{
    if (!IsMasked()) {
        TCustomEdit::SetTextBuf(value);
        return;
    }
    editText_ = Format(value, true);
    TCustomEdit::SetTextBuf(editText_);
}

String TCustomMaskEdit::GetTextBuf() const
{
    if (!IsMasked())
        return TCustomEdit::GetTextBuf();
    String shown = GetEditText();
    if (saveLiterals_) {
        std::replace(shown.begin(), shown.end(), blank_, L' ');
        return shown;
    }
    String text;
    for (std::size_t i = 0; i < slots_.size() && i < shown.size(); ++i)
        if (slots_[i].kind != skLiteral)
            text += shown[i] == blank_ ? L' ' : shown[i];
    return text;
}

void TCustomMaskEdit::SetTextBuf(const String& value)
{
    if (!IsMasked()) {
        TCustomEdit::SetTextBuf(value);
        return;
    }
    editText_ = Format(value, saveLiterals_);
    TCustomEdit::SetTextBuf(editText_);
}

void TCustomMaskEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    if (IsMasked() && GetEditText().size() != slots_.size())
        TCustomEdit::SetTextBuf(editText_.empty() ? Blank() : editText_);
}

int TCustomMaskEdit::NextInput(int pos) const
{
    while (pos < static_cast<int>(slots_.size()) && slots_[static_cast<std::size_t>(pos)].kind == skLiteral)
        ++pos;
    return pos;
}

int TCustomMaskEdit::PreviousInput(int pos) const
{
    --pos;
    while (pos >= 0 && slots_[static_cast<std::size_t>(pos)].kind == skLiteral)
        --pos;
    return pos;
}

void TCustomMaskEdit::SetCaret(int pos)
{
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(pos), pos);
}

void TCustomMaskEdit::KeyPress(wchar_t& Key)
{
    TCustomEdit::KeyPress(Key);
    if (!IsMasked() || Key == 0 || GetReadOnly())
        return;
    if (Key == 27 || Key == L'\r' || Key == L'\t' || Key == 3 || Key == 22 || Key == 24)
        return;  // Escape, Enter, Tab and the clipboard keys keep their meaning
    String text = GetEditText();
    int pos = GetSelStart();
    if (Key == L'\b') {
        int prev = PreviousInput(pos);
        if (prev >= 0) {
            text[static_cast<std::size_t>(prev)] = blank_;
            TCustomEdit::SetTextBuf(text);
            SetModified(true);
            SetCaret(prev);
        }
        Key = 0;
        return;
    }
    int at = NextInput(pos);
    wchar_t ch = Key;
    Key = 0;
    if (at >= static_cast<int>(slots_.size()) || !Accepts(slots_[static_cast<std::size_t>(at)], ch)) {
        MessageBeep(0);
        return;
    }
    text[static_cast<std::size_t>(at)] = ch;
    TCustomEdit::SetTextBuf(text);
    SetModified(true);
    SetCaret(NextInput(at + 1));
}

void TCustomMaskEdit::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (!IsMasked() || Key != VK_DELETE || GetReadOnly())
        return;
    // Delete blanks the position instead of pulling the rest left.
    String text = GetEditText();
    int at = NextInput(GetSelStart());
    if (at < static_cast<int>(slots_.size())) {
        text[static_cast<std::size_t>(at)] = blank_;
        TCustomEdit::SetTextBuf(text);
        SetModified(true);
        SetCaret(at);
    }
    Key = 0;
}

void TCustomMaskEdit::ValidateEdit()
{
    if (!IsMasked())
        return;
    String text = GetEditText();
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].required && (i >= text.size() || text[i] == blank_ || text[i] == L' ')) {
            if (handle_)
                SetCaret(static_cast<int>(i));
            ValidateError();
        }
    }
}

void TCustomMaskEdit::ValidateError()
{
    MessageBeep(0);
    throw EDBEditError(L"Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_EXIT:
        // Leaving a changed field checks it first.
        if (IsMasked() && GetModified())
            ValidateEdit();
        break;
    case WM_PASTE:
        if (IsMasked()) {
            TCustomEdit::Dispatch(Message);
            SetEditText(GetEditText());
            return;
        }
        break;
    default:
        break;
    }
    TCustomEdit::Dispatch(Message);
}
