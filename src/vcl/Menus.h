// Menus: items in a tree, the form's menu bar and pop-up menus, built into
// real menu handles.
#pragma once

#include "Controls.h"
#include <vector>

class TMenu;

using TShortCut = Word;
// A key with Shift, Ctrl and Alt as a shortcut value (scCtrl + 'S' ...).
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(Word Key, TShiftState Shift);

using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    void BeforeDestruction() override;

    // The tree.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* GetParent() const { return parent_; }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    int IndexOf(TMenuItem* Item) const;
    int GetMenuIndex() const { return parent_ ? parent_->IndexOf(const_cast<TMenuItem*>(this)) : -1; }
    TMenu* GetParentMenu() const;
    TMenuItem* Find(const String& ACaption) const;

    // Properties.
    String GetCaption() const { return caption_; }
    void SetCaption(const String& value);
    bool IsLine() const { return caption_ == L"-"; }
    bool GetChecked() const { return checked_; }
    void SetChecked(bool value);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool GetVisible() const { return visible_; }
    void SetVisible(bool value);
    bool GetRadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    bool GetDefault() const { return default_; }
    void SetDefault(bool value);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }
    TShortCut GetShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    String GetHint() const { return hint_; }
    void SetHint(const String& value) { hint_ = value; }
    bool GetAutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool value) { autoCheck_ = value; }
    UINT Command() const { return command_; }
    // The submenu's handle (built on demand) for items that have children.
    HMENU GetHandle();

    virtual void Click();
    void DrawItem(DRAWITEMSTRUCT* dis);
    void MeasureItem(MEASUREITEMSTRUCT* mis);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

private:
    friend class TMenu;
    void Changed();
    void AppendTo(HMENU menu, bool ownerDraw);
    void FreeHandle();

    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    String caption_;
    String hint_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool radioItem_ = false;
    bool default_ = false;
    bool autoCheck_ = false;
    int groupIndex_ = 0;
    int imageIndex_ = -1;
    TShortCut shortCut_ = scNone;
    UINT command_ = 0;
    HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    void BeforeDestruction() override;

    TMenuItem* GetItems() const { return items_; }
    HMENU GetHandle();
    bool GetOwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    // Runs the item with this command id; false when it is not ours.
    bool DispatchCommand(UINT id);
    TMenuItem* FindItem(UINT id) const;
    // The item of any menu with this command id.
    static TMenuItem* FindItemForCommand(UINT id);
    // Finds the item whose shortcut this is and clicks it.
    bool IsShortCut(Word Key, TShiftState Shift);

protected:
    friend class TMenuItem;
    virtual void MenuChanged();
    virtual HMENU CreateMenuHandle() = 0;
    // Builds the handle anew and returns the old one, for the caller to
    // destroy once nothing shows it any more.
    HMENU RebuildHandle();

    TMenuItem* items_ = nullptr;
    HMENU handle_ = nullptr;
    bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;

protected:
    void MenuChanged() override;
    HMENU CreateMenuHandle() override { return CreateMenu(); }
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    // Shows the menu at a screen point and runs the chosen item.
    virtual void Popup(int X, int Y);
    TComponent* GetPopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value) { popupComponent_ = value; }
    TPopupAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    bool GetAutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    // Runs a command of any pop-up menu (their commands reach windows too).
    static bool DispatchPopupCommand(UINT id);

    TNotifyEvent OnPopup;
    TNotifyEvent OnClose;

protected:
    HMENU CreateMenuHandle() override { return CreatePopupMenu(); }
    virtual void DoPopup();

private:
    TComponent* popupComponent_ = nullptr;
    TPopupAlignment alignment_ = paLeft;
    bool autoPopup_ = true;
};

// A new menu item with the given caption and click handler.
TMenuItem* NewItem(TComponent* Owner, const String& ACaption, TShortCut AShortCut, bool AChecked,
                   bool AEnabled, TNotifyEvent AOnClick);
TMenuItem* NewLine(TComponent* Owner);
