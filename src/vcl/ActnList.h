// Actions: a command with its caption, checked state, group, image and help,
// kept in an action list (or an action manager with its image lists) and
// linked to the controls that show it.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include <vector>

class TCustomImageList;
class TCustomActionList;
class TBasicActionLink;

enum THelpType { htKeyword, htContext };

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
    ~TBasicAction() override;
    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    void RegisterChanges(TBasicActionLink* Link);
    void UnRegisterChanges(TBasicActionLink* Link);

    TNotifyEvent OnExecute;

protected:
    std::vector<TBasicActionLink*> FClients;
};

class TCustomAction : public TBasicAction {
    friend class TCustomActionList;
public:
    explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    bool Execute() override;

    TCustomActionList* GetActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* Value);
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool GetChecked() const { return FChecked; }
    // Checking one action of a group unchecks the others of its list.
    void SetChecked(bool Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool GetAutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value);
    const String& GetHelpKeyword() const { return FHelpKeyword; }
    void SetHelpKeyword(const String& Value);
    THelpType GetHelpType() const { return FHelpType; }
    void SetHelpType(THelpType Value);

private:
    template <class F>
    void ForEachLink(F f);
    TCustomActionList* FActionList = nullptr;
    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    bool FAutoCheck = false;
    int FHelpContext = 0;
    String FHelpKeyword;
    THelpType FHelpType = htKeyword;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
};

class TCustomActionList : public TComponent {
public:
    explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TCustomActionList() override;
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TCustomAction* GetAction(int Index) const { return FActions[static_cast<std::size_t>(Index)]; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomAction;
    std::vector<TCustomAction*> FActions;
    TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
};

// An action list with images for disabled and large commands too.
class TActionManager : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
    TCustomImageList* GetDisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* Value) { FDisabledImages = Value; }
    TCustomImageList* GetLargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* Value) { FLargeImages = Value; }
    TCustomImageList* GetLargeDisabledImages() const { return FLargeDisabledImages; }
    void SetLargeDisabledImages(TCustomImageList* Value) { FLargeDisabledImages = Value; }

private:
    TCustomImageList* FDisabledImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FLargeDisabledImages = nullptr;
};

// The tie between an action and one client. The action tells each link of
// a change before it stores the new value, so a link compares the client
// with the old value to decide whether the property is linked.
class TBasicActionLink : public TObject {
public:
    TBasicActionLink() = default;
    ~TBasicActionLink() override;
    TBasicAction* GetAction() const { return FAction; }
    void SetAction(TBasicAction* Value);
    virtual bool Execute(TComponent* AComponent);

    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsGroupIndexLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsHelpLinked();
    virtual void SetCaption(const String&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(int) {}
    virtual void SetImageIndex(int) {}
    virtual void SetHelpContext(int) {}
    virtual void SetHelpKeyword(const String&) {}
    virtual void SetHelpType(THelpType) {}
    // Called when the action goes away.
    TNotifyEvent OnChange;

protected:
    // The action's own values, pushed to the client when it links.
    virtual void ActionChanged() {}

private:
    friend class TBasicAction;
    TBasicAction* FAction = nullptr;
};

// A control's link: caption and enabled state follow the action.
class TControlActionLink : public TBasicActionLink {
public:
    explicit TControlActionLink(TControl* AClient) : FClient(AClient) {}
    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    void SetCaption(const String& Value) override;
    void SetEnabled(bool Value) override;

protected:
    TControl* FClient;
};
