// Actions, action lists and their links.
#include "ActnList.h"
#include "ImgList.h"
#include <algorithm>

TBasicAction::~TBasicAction()
{
    // Links outlive their action only as empty links.
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        link->FAction = nullptr;
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link)
{
    FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

// ---------------------------------------------------------------------------
template <class F>
void TCustomAction::ForEachLink(F f)
{
    for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
        f(link);
}

bool TCustomAction::Execute()
{
    if (!FEnabled)
        return false;
    if (FAutoCheck)
        SetChecked(!FChecked);
    return TBasicAction::Execute();
}

void TCustomAction::SetActionList(TCustomActionList* Value)
{
    if (FActionList == Value)
        return;
    if (FActionList) {
        auto& list = FActionList->FActions;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FActionList = Value;
    if (FActionList)
        FActionList->FActions.push_back(this);
}

void TCustomAction::SetCaption(const String& Value)
{
    if (FCaption == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetCaption(Value); });
    FCaption = Value;
}

void TCustomAction::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetChecked(Value); });
    FChecked = Value;
    if (Value && FGroupIndex > 0 && FActionList)
        for (TCustomAction* other : FActionList->FActions)
            if (other != this && other->FGroupIndex == FGroupIndex)
                other->SetChecked(false);
}

void TCustomAction::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetEnabled(Value); });
    FEnabled = Value;
}

void TCustomAction::SetGroupIndex(int Value)
{
    if (FGroupIndex == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetGroupIndex(Value); });
    FGroupIndex = Value;
}

void TCustomAction::SetImageIndex(int Value)
{
    if (FImageIndex == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetImageIndex(Value); });
    FImageIndex = Value;
}

void TCustomAction::SetHelpContext(int Value)
{
    if (FHelpContext == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetHelpContext(Value); });
    FHelpContext = Value;
}

void TCustomAction::SetHelpKeyword(const String& Value)
{
    if (FHelpKeyword == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetHelpKeyword(Value); });
    FHelpKeyword = Value;
}

void TCustomAction::SetHelpType(THelpType Value)
{
    if (FHelpType == Value)
        return;
    ForEachLink([&](TBasicActionLink* l) { l->SetHelpType(Value); });
    FHelpType = Value;
}

// ---------------------------------------------------------------------------
TCustomActionList::~TCustomActionList()
{
    for (TCustomAction* action : std::vector<TCustomAction*>(FActions))
        action->FActionList = nullptr;
}

void TCustomActionList::SetImages(TCustomImageList* Value)
{
    if (FImages == Value)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

// ---------------------------------------------------------------------------
TBasicActionLink::~TBasicActionLink()
{
    if (FAction)
        FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value)
{
    if (FAction == Value)
        return;
    if (FAction)
        FAction->UnRegisterChanges(this);
    FAction = Value;
    if (FAction) {
        FAction->RegisterChanges(this);
        ActionChanged();
    }
}

bool TBasicActionLink::Execute(TComponent*)
{
    return FAction && FAction->Execute();
}

bool TBasicActionLink::IsCaptionLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
bool TBasicActionLink::IsCheckedLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
bool TBasicActionLink::IsEnabledLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
bool TBasicActionLink::IsGroupIndexLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
bool TBasicActionLink::IsImageIndexLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
bool TBasicActionLink::IsHelpLinked() { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }

// ---------------------------------------------------------------------------
bool TControlActionLink::IsCaptionLinked()
{
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    return action && FClient->GetCaption() == action->GetCaption();
}

bool TControlActionLink::IsEnabledLinked()
{
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    return action && FClient->GetEnabled() == action->GetEnabled();
}

void TControlActionLink::SetCaption(const String& Value)
{
    if (IsCaptionLinked())
        FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value)
{
    if (IsEnabledLinked())
        FClient->SetEnabled(Value);
}
