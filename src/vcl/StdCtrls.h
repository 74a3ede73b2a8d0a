// Standard controls: labels, edits, memos, list and combo boxes, buttons,
// check boxes, radio buttons, scroll bars and group boxes. All but the label
// and the group box are the system's own windows.
#pragma once

#include "Controls.h"
#include "Forms.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, TRect Rect, UINT State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;
// Owner-draw states, as the platform's ODS_ flags.
constexpr UINT odSelected = ODS_SELECTED;
constexpr UINT odGrayed = ODS_GRAYED;
constexpr UINT odDisabled = ODS_DISABLED;
constexpr UINT odChecked = ODS_CHECKED;
constexpr UINT odFocused = ODS_FOCUS;
constexpr UINT odComboBoxEdit = ODS_COMBOBOXEDIT;

// ---------------------------------------------------------------------------
// A caption painted on the parent; an accelerator focuses FocusControl.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    TWinControl* GetFocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout GetLayout() const { return layout_; }
    void SetLayout(TTextLayout value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool GetShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    void SetAutoSize(bool value) override;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    // Draws (or with DT_CALCRECT measures) the caption in Rect.
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    void AdjustBounds();

private:
    TWinControl* focusControl_ = nullptr;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};
class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// ---------------------------------------------------------------------------
class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    wchar_t GetPasswordChar() const { return passwordChar_; }
    void SetPasswordChar(wchar_t value);
    TEditCharCase GetCharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool GetAutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool GetModified() const;
    void SetModified(bool value);
    int GetSelStart();
    void SetSelStart(int value);
    int GetSelLength();
    void SetSelLength(int value);
    String GetSelText();
    void SetSelText(const String& value);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(String()); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool CanUndo();
    void Undo();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Change();
    void DoEnter() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    wchar_t passwordChar_ = 0;
    TEditCharCase charCase_ = ecNormal;
    TBorderStyle borderStyle_ = bsSingle;
    bool autoSelect_ = true;
    bool hideSelection_ = true;
    bool modified_ = false;  // kept while there is no window
    bool creating_ = false;
};
class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// ---------------------------------------------------------------------------
class TCustomMemo;
// The memo's text seen as lines.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* Memo) : memo_(Memo) {}
    int Count() const override;
    String Get(int index) const override;
    void Put(int index, const String& s) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    void Clear() override;
    String GetText() const override;
    void SetText(const String& text) override;

private:
    std::vector<String> Lines() const;
    void SetLines(const std::vector<String>& lines);
    TCustomMemo* memo_;
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    TStrings* GetLines() const { return lines_.get(); }
    void SetLines(TStrings* value) { lines_->Assign(value); }
    TScrollStyle GetScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool GetWordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool GetWantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    bool GetWantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // Line and column of the caret.
    POINT GetCaretPos();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    bool CanAutoSize(int&, int&) override { return false; }

private:
    TOwned<TMemoStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    TAlignment alignment_ = taLeftJustify;
};
class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------
// Items of a list or combo box: the window's items once it exists, a
// string list before (and between windows).
class TWinItemStrings : public TStrings {
public:
    struct Messages {
        UINT getCount, getText, getTextLen, addString, insertString, deleteString, resetContent,
            getItemData, setItemData, err;
    };
    TWinItemStrings(TWinControl* Owner, const Messages& Msgs) : owner_(Owner), msgs_(Msgs) {}
    ~TWinItemStrings() override;
    int Count() const override;
    String Get(int index) const override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    int Add(const String& s) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(const String& s) const override;
    bool GetSorted() const { return sorted_; }
    void SetSorted(bool value) { sorted_ = value; }

    // The window's items move into the list when it goes, and back when it comes.
    void SaveFromWindow();
    void RestoreToWindow();

protected:
    void SetUpdateState(bool updating) override;

private:
    bool Live() const;
    LRESULT Send(UINT msg, WPARAM w, LPARAM l) const;
    void CheckIndex(int index) const;
    TWinControl* owner_;
    Messages msgs_;
    TOwned<TStringList> saved_;
    bool sorted_ = false;
};

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };

class TCustomListBox : public TWinControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;
    TStrings* GetItems() const { return items_.get(); }
    void SetItems(TStrings* value) { items_->Assign(value); }
    int Count() const { return items_->Count(); }
    int GetItemIndex();
    void SetItemIndex(int value);
    int GetItemHeight();
    void SetItemHeight(int value);
    TListBoxStyle GetStyle() const { return style_; }
    void SetStyle(TListBoxStyle value);
    bool GetMultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool GetSelected(int index);
    void SetSelected(int index, bool value);
    int SelCount();
    bool GetSorted() const { return sorted_; }
    void SetSorted(bool value);
    int GetTopIndex();
    void SetTopIndex(int value);
    int GetColumns() const { return columns_; }
    void SetColumns(int value);
    bool GetIntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    void Clear() { items_->Clear(); }
    void ClearSelection();
    void SelectAll();
    int ItemAtPos(POINT Pos, bool Existing);
    TRect ItemRect(int Index);
    TCanvas* GetCanvas() const { return canvas_.get(); }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void DrawItem(int Index, TRect Rect, UINT State);
    virtual void MeasureItem(int Index, int& Height);
    void CNDrawItem(TMessage& M);
    void CNMeasureItem(TMessage& M);

    TOwned<TWinItemStrings> items_;

private:
    TOwned<TControlCanvas> canvas_;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
    int itemIndex_ = -1;  // kept while there is no window
    bool multiSelect_ = false;
    bool sorted_ = false;
    int columns_ = 0;
    bool integralHeight_ = false;
    TBorderStyle borderStyle_ = bsSingle;
};
class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

// ---------------------------------------------------------------------------
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;
    TStrings* GetItems() const { return items_.get(); }
    void SetItems(TStrings* value) { items_->Assign(value); }
    int GetItemIndex();
    void SetItemIndex(int value);
    TComboBoxStyle GetStyle() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    int GetItemHeight();
    void SetItemHeight(int value);
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    bool GetDroppedDown();
    void SetDroppedDown(bool value);
    bool GetSorted() const { return sorted_; }
    void SetSorted(bool value);
    int GetMaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    int GetSelStart();
    void SetSelStart(int value);
    int GetSelLength();
    void SetSelLength(int value);
    void SelectAll();
    void Clear();
    TCanvas* GetCanvas() const { return canvas_.get(); }
    // The inner edit (for styles with one) and the drop-down list window.
    HWND EditHandle() const { return editHandle_; }
    HWND ListHandle() const { return listHandle_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    // Messages of the inner edit pass here first; the base hands keys to the
    // combo's key events and everything to the edit's own procedure.
    virtual void EditWndProc(TMessage& Message);
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(int Index, TRect Rect, UINT State);
    virtual void MeasureItem(int Index, int& Height);
    bool CanAutoSize(int&, int&) override { return false; }

private:
    friend LRESULT CALLBACK ComboEditProc(HWND, UINT, WPARAM, LPARAM);
    TOwned<TWinItemStrings> items_;
    TOwned<TControlCanvas> canvas_;
    TComboBoxStyle style_ = csDropDown;
    int itemHeight_ = 16;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
    bool sorted_ = false;
    int maxLength_ = 0;
    HWND editHandle_ = nullptr;
    HWND listHandle_ = nullptr;
    WNDPROC editDefProc_ = nullptr;
};
class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

// ---------------------------------------------------------------------------
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);
    bool GetDefault() const { return default_; }
    void SetDefault(bool value);
    bool GetCancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;

private:
    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    bool GetChecked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState() const { return state_; }
    void SetState(TCheckBoxState value);
    bool GetAllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Toggle();

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};
class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    bool GetChecked() const { return checked_; }
    void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;

private:
    bool checked_ = false;
};

// ---------------------------------------------------------------------------
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind GetKind() const { return kind_; }
    void SetKind(TScrollBarKind value);
    int GetMin() const { return min_; }
    int GetMax() const { return max_; }
    int GetPosition() const { return position_; }
    int GetPageSize() const { return pageSize_; }
    void SetMin(int value) { SetParams(position_, value, max_); }
    void SetMax(int value) { SetParams(position_, min_, value); }
    void SetPosition(int value) { SetParams(value, min_, max_); }
    void SetPageSize(int value);
    void SetParams(int APosition, int AMin, int AMax);
    int GetSmallChange() const { return smallChange_; }
    void SetSmallChange(int value) { smallChange_ = value; }
    int GetLargeChange() const { return largeChange_; }
    void SetLargeChange(int value) { largeChange_ = value; }

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

private:
    void UpdateInfo();
    void DoScroll(int code);
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
    int smallChange_ = 1, largeChange_ = 1;
};

// ---------------------------------------------------------------------------
// A frame with a caption around other controls.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    void AdjustClientRect(RECT& Rect) override;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
};
class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
};

// Draws text as disabled text looks: a light copy one pixel below right,
// the shadow colour on top.
void DrawDisabledText(HDC DC, const String& Text, RECT Rect, UINT Flags);

// The accelerator character of a caption ("&File" gives 'F'), or 0.
wchar_t GetHotkey(const String& Text);
// Whether Key is the accelerator of Text.
bool IsAccel(Word Key, const String& Text);
