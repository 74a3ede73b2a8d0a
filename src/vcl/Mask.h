// An edit whose text follows a mask ("!99/99/0000;1;_"): literals stay in
// place, typed characters go to the positions that accept them.
#pragma once

#include "StdCtrls.h"

TAVELIN_EXCEPTION(EDBEditError, Exception)

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    // "mask;save literals (0/1);blank character".
    String GetEditMask() const { return editMask_; }
    void SetEditMask(const String& value);
    bool IsMasked() const { return !slots_.empty(); }
    // The text as shown, literals and blanks included.
    String GetEditText() const;
    void SetEditText(const String& value);
    // Raises EDBEditError when a required position is blank.
    virtual void ValidateEdit();
    // The text as Text gives it: without literals unless the mask saves them.
    String GetTextBuf() const override;
    void SetTextBuf(const String& value) override;

protected:
    void Dispatch(TMessage& Message) override;
    void KeyPress(wchar_t& Key) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void CreateWnd() override;
    virtual void ValidateError();

private:
    enum SlotKind { skLiteral, skLetter, skAlnum, skAny, skDigit, skDigitSign };
    enum CaseMode { cmNone, cmUpper, cmLower };
    struct Slot {
        SlotKind kind = skLiteral;
        bool required = false;
        CaseMode caseMode = cmNone;
        wchar_t literal = 0;
    };
    void ParseMask();
    bool Accepts(const Slot& s, wchar_t& ch) const;
    int NextInput(int pos) const;
    int PreviousInput(int pos) const;
    String Blank() const;
    String Format(const String& value, bool withLiterals) const;
    void SetCaret(int pos);

    String editMask_;
    std::vector<Slot> slots_;
    bool saveLiterals_ = true;
    wchar_t blank_ = L'_';
    String editText_;  // while there is no window
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};
