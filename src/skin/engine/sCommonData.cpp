// Sections, indexes, updating and the hot state of a skin state.
#include "sCommonData.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "acLibraryGlobals.h"
#include "acProviderServices.h"
#include "sGraphUtils.h"
#include "sSkinManager.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"

namespace {

bool HasState(const TComponent* Component, TComponentStateItem Item)
{
    return Component && Component->ComponentState().Contains(Item);
}

void HideGlow(Integer& ID)
{
    if (ID >= 0 && HideGlowEffectProc)
        HideGlowEffectProc(ID, false);
}

// Sends a command to the owner: a control by Perform, a provider through its form.
void TellOwner(TsCommonData& Data, int Command)
{
    const WPARAM wParam = SkinCommandWParam(Command);
    if (Data.FOwnerControl)
        Data.FOwnerControl->Perform(SkinCommandMessage, wParam, 0);
    else if (auto* provider = dynamic_cast<TsSkinProvider*>(Data.FOwnerObject);
             provider && provider->Form)
        provider->Form->Perform(SkinCommandMessage, wParam, 0);
}

// Codes whose owners name their own section through command 9.
constexpr std::pair<int, int> SelfNamingCodes[] = {
    {2, 10},   {12, 14},  {32, 34},  {51, 51},   {53, 54},   {57, 59},   {74, 76},   {78, 78},  {81, 85},
    {92, 94},  {132, 141}, {143, 143}, {151, 151}, {161, 161}, {165, 165}, {226, 227},
};

struct TFixedSection {
    Byte Code;
    const wchar_t* Name;
};
constexpr TFixedSection FixedSections[] = {
    {18, L"COMBOBOX"}, {19, L"BAR"},      {20, L"BARTITLE"},   {50, L"CHECKBOX"},
    {152, L"CHECKBOX"}, {56, L"DRAGBAR"}, {98, L"TOOLBUTTON"}, {230, L"EDIT"},
};

} // namespace

// ---------------------------------------------------------------------------
TsScrollWndData::TsScrollWndData(TObject* AOwner, bool CreateCacheBmp) : TsCommonData(AOwner, CreateCacheBmp)
{
    FHorzScrollData = New<TacScrollData>(this);
    FVertScrollData = New<TacScrollData>(this);
}

TsScrollWndData::~TsScrollWndData()
{
    FreeAndNil(FHorzScrollData);
    FreeAndNil(FVertScrollData);
}

void TacScrollData::SetIntProp(int Index, Integer Value)
{
    Integer& field = Index == 0 ? FScrollWidth : FButtonsSize;
    if (field == Value)
        return;
    field = Value;
    auto* winControl = FOwner ? dynamic_cast<TWinControl*>(FOwner->FOwnerControl) : nullptr;
    if (!winControl || HasState(winControl, csLoading) || !winControl->HandleAllocated())
        return;
    if (Index == 0)
        SetWindowPos(winControl->GetHandle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                         SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    else
        SendWndMessage(winControl->GetHandle(), WM_NCPAINT, 0, 0);
}

void TacOuterEffects::SetVisibility(TacOuterVisibility Value)
{
    if (FVisibility == Value)
        return;
    FVisibility = Value;
    if (!FOwner || !HasState(FOwner->FOwnerControl, csLoading))
        Invalidate();
}

void TacOuterEffects::Invalidate()
{
    TControl* owner = FOwner ? FOwner->FOwnerControl : nullptr;
    TWinControl* parent = owner ? owner->GetParent() : nullptr;
    if (!parent || !parent->HandleAllocated() || HasState(parent, csLoading) || HasState(parent, csDestroying))
        return;
    SendWndCommand(parent->GetHandle(), SKC_REPAINT, 0);
    FOwner->Invalidate(false);
}

// ---------------------------------------------------------------------------
void TsCommonData::Loaded(bool UpdateColors)
{
    Loading = false;
    ResolveSkinSection();
    if (Skinned(false) && FOwnerControl && FOwnerControl->GetParent() && !HasState(FOwnerControl, csLoading)) {
        if (dynamic_cast<TWinControl*>(FOwnerControl))
            RequestControlAdapter(FOwnerControl);
        if (UpdateColors)
            UpdateControlColors(false);
    }
    InitCommonProp();
    if (TsSkinManager* manager = GetSkinManager(); manager && FOwnerControl && !HasState(FOwnerControl, csLoading))
        manager->UpdateFontName(FOwnerControl);
}

void TsCommonData::SetSkinManager(TsSkinManager* Value)
{
    TsSkinManager* stored = Value == DefaultManager ? nullptr : Value;
    if (stored == FSkinManager)
        return;
    FSkinManager = stored;
    if (HasState(FOwnerControl, csLoading))
        return;
    TsSkinManager* manager = GetSkinManager();
    const bool hasSections = manager && !manager->gd.empty();
    if (hasSections)
        UpdateIndexes(true);
    else
        SkinIndex = -1;
    if (dynamic_cast<TsSkinProvider*>(FOwnerObject) || !FOwnerControl || !FOwnerControl->GetParent() ||
        HasState(FOwnerControl, csDestroying))
        return;
    const bool repaint = hasSections && manager->IsValidSkinIndex(SkinIndex);
    FOwnerControl->Perform(SkinCommandMessage, SkinCommandWParam(repaint ? SKC_REPAINT_SKIN : SKC_SKIN_REMOVED),
                           reinterpret_cast<LPARAM>(manager));
}

void TsCommonData::SetSkinSection(const String& Value)
{
    // The comparison is exact: "Edit" against a stored "EDIT" is a change.
    if (Value == FSkinSection)
        return;
    HideGlow(GlowID);
    FSkinSection = AnsiUpperCase(Value);
    TsSkinManager* manager = GetSkinManager();
    if (manager && !manager->gd.empty())
        UpdateIndexes(true);
    else
        SkinIndex = -1;
    if (dynamic_cast<TsSkinProvider*>(FOwnerObject))
        BGChanged = true;
    TControl* owner = FOwnerControl;
    if (!owner || !owner->GetParent() || HasState(owner, csLoading) || HasState(owner, csReading) ||
        HasState(owner, csDestroying))
        return;
    if (auto* winControl = dynamic_cast<TWinControl*>(owner)) {
        if (FCacheBmp)
            FCacheBmp->SetSize(0, 0);
        TMessage message{SkinCommandMessage, SkinCommandWParam(SKC_BG_INVALID, 1), 0, 0};
        BroadcastToChildren(winControl, message);
    }
    if (FUpdating || Loading) {
        if (!Loading)
            ApplySectionColors(false);
        return;
    }
    const bool repaint = manager && !manager->gd.empty() && manager->IsValidSkinIndex(SkinIndex);
    owner->Perform(SkinCommandMessage, SkinCommandWParam(repaint ? SKC_REPAINT_SKIN : SKC_SKIN_REMOVED, repaint ? 1 : 0),
                   reinterpret_cast<LPARAM>(manager));
}

void TsCommonData::UpdateIndexes(bool UpdateMain)
{
    BGChanged = true;
    TsSkinManager* manager = GetSkinManager();
    if (UpdateMain) {
        if (!manager || !manager->GetActive())
            SkinIndex = -1;
        else if (!FSkinSection.empty())
            SkinIndex = manager->GetSkinIndex(FSkinSection);
        else if (auto* winControl = dynamic_cast<TWinControl*>(FOwnerControl); winControl && winControl->HandleAllocated())
            SkinIndex = static_cast<Integer>(SendControlCommand(winControl, SKC_QUERY_SKIN_INDEX, 0)) - 1;
        else if (FOwnerControl && !dynamic_cast<TWinControl*>(FOwnerControl))
            SkinIndex = static_cast<Integer>(
                            FOwnerControl->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_SKIN_INDEX), 0)) -
                        1;
        else
            SkinIndex = -1;
        if (SkinIndex < -1)
            SkinIndex = -1;
    }
    UpdateBGType();
    BorderIndex = manager && manager->IsValidSkinIndex(SkinIndex) ? manager->gd[SkinIndex].BorderIndex : -1;
}

void TsCommonData::ResolveSkinSection()
{
    if (!FSkinSection.empty()) {
        UpdateIndexes(true);
        return;
    }
    for (const auto& range : SelfNamingCodes)
        if (COC >= range.first && COC <= range.second) {
            UpdateIndexes(true);
            return;
        }
    for (const TFixedSection& fixed : FixedSections)
        if (fixed.Code == COC) {
            SetSkinSection(fixed.Name);
            return;
        }
    if (FOwnerObject)
        SetSkinSection(FOwnerObject->ClassName());
}

void TsCommonData::FindSectionIndex(const String* Names, int High)
{
    TsSkinManager* manager = GetSkinManager();
    if (!manager) {
        SkinIndex = -1;
        return;
    }
    Integer found = -1;
    for (int i = 0; i <= High; ++i) {
        if (Names[i].empty())
            continue;
        found = manager->GetSkinIndex(Names[i]);
        if (found >= 0) {
            SkinIndex = found;
            UpdateIndexes(false);
            return;
        }
    }
    SkinIndex = found;
}

void TsCommonData::UpdateBGType()
{
    BGType = 0;
    TsSkinManager* manager = GetSkinManager();
    if (!manager || !manager->IsValidSkinIndex(SkinIndex))
        return;
    const TsGenState& normal = manager->gd[SkinIndex].Props[0];
    if (normal.ImagePercent > 0 && manager->IsValidImgIndex(normal.TextureIndex)) {
        const int mode = manager->ma[normal.TextureIndex].DrawMode;
        auto in = [mode](std::initializer_list<int> modes) {
            for (int m : modes)
                if (m == mode)
                    return true;
            return false;
        };
        if (in({1, 4, 5, 8, 9, 11, 12}))
            BGType |= 0x04;
        if (in({0, 1, 3, 5, 10, 12}))
            BGType |= 0x10;
        if (in({0, 1, 7, 9, 10, 12}))
            BGType |= 0x40;
        if (in({0, 1, 2, 4, 10, 11}))
            BGType |= 0x20;
        if (in({0, 1, 6, 8, 10, 11}))
            BGType |= 0x80;
    }
    if (!normal.GradientArray.empty() && (normal.GradientPercent > 0 || (normal.GradientArray[0].Mode & 0x20))) {
        static constexpr Word gradientBits[] = {0x02, 0x01, 0x03, 0};
        BGType |= gradientBits[normal.GradientArray[0].Mode & 3];
    }
}

bool TsCommonData::BGNeedsRepaintOnSize() const
{
    return ((CtrlSkinState & 0x8000) && (BGType & 0xA5)) || ((CtrlSkinState & 0x10000) && (BGType & 0x56));
}

void TsCommonData::EnsureCacheBmp()
{
    if (!FCacheBmp) {
        FCacheBmp = MakeBitmap32(0, 0);
        FCacheBmp->GetCanvas()->OnChange = nullptr;
        FCacheBmp->GetCanvas()->OnChanging = nullptr;
    } else {
        FCacheBmp->SetPixelFormat(pf32bit);
        if (FCacheBmp->GetHandleType() == bmDDB)
            FCacheBmp->SetHandleType(bmDIB);
    }
    if (FOwnerControl)
        FCacheBmp->SetSize(std::max(0, FOwnerControl->GetWidth()), std::max(0, FOwnerControl->GetHeight()));
}

// ---------------------------------------------------------------------------
void TsCommonData::BeginUpdate()
{
    ++FUpdateCount;
    FUpdating = true;
    CtrlSkinState |= 0x800;
    TellOwner(*this, SKC_UPDATE_BEGIN);
}

void TsCommonData::EndUpdate(bool Repaint)
{
    --FUpdateCount;
    // An inner pair must not end an outer update.
    if (FUpdateCount > 0)
        return;
    FUpdating = false;
    CtrlSkinState &= ~0x800u;
    TellOwner(*this, SKC_UPDATE_END);
    if (Repaint)
        Invalidate(true);
}

bool TsCommonData::GetUpdating() const
{
    if (FOwnerControl && HasState(FOwnerControl, csDesigning))
        return false;
    if (!GetSkinManager())
        return false;
    if (FUpdating)
        return true;
    if (FOwnerControl) {
        if (HasState(FOwnerControl, csDestroying))
            return false;
        if (TWinControl* parent = FOwnerControl->GetParent())
            return QueryControlCommand(parent, SKC_QUERY_UPDATING) != 0;
        return false;
    }
    if (auto* provider = dynamic_cast<TsSkinProvider*>(FOwnerObject); provider && provider->Form)
        if (TWinControl* parent = provider->Form->GetParent())
            return QueryControlCommand(parent, SKC_QUERY_UPDATING) != 0;
    return false;
}

bool TsCommonData::CheckUpdating(bool Reset)
{
    if (Reset)
        FUpdating = false;
    if (GetUpdating()) {
        FUpdating = true;
        return true;
    }
    return false;
}

Integer TsCommonData::GetHotState() const
{
    TControl* owner = FOwnerControl;
    if (!owner || HasState(owner, csDesigning) || HasState(owner, csDestroying) || !owner->GetEnabled())
        return 0;
    if (FFocused)
        return 1;
    if (auto* winControl = dynamic_cast<TWinControl*>(owner);
        winControl && winControl->HandleAllocated() && winControl->GetHandle() == GetFocus())
        return dynamic_cast<TCustomPanel*>(owner) ? 0 : 1;
    if (!FMouseAbove)
        return 0;
    if (TsSkinManager* manager = GetSkinManager(); manager && manager->Options.NoMouseHover)
        return 0;
    if (IsNoHoverKind(COC))
        return 0;
    if (IsHoverEditKind(COC) && !HoverEditColors)
        return 0;
    return 1;
}

bool TsCommonData::IsMouseInside() const
{
    HWND wnd = nullptr;
    RECT rect{};
    POINT point{};
    GetCursorPos(&point);
    if (auto* winControl = dynamic_cast<TWinControl*>(FOwnerControl)) {
        if (!winControl->HandleAllocated())
            return false;
        wnd = winControl->GetHandle();
        if (!IsWindowVisible(wnd))
            return false;
        GetClientRect(wnd, &rect);
        ScreenToClient(wnd, &point);
    } else {
        wnd = OwnerHandle();
        if (!wnd || !IsWindowVisible(wnd))
            return false;
        RECT window{};
        GetWindowRect(wnd, &window);
        point.x -= window.left;
        point.y -= window.top;
        RECT client{};
        GetClientRect(wnd, &client);
        rect = {0, 0, client.right, client.bottom};
    }
    if (!PtInRect(&rect, point))
        return false;
    {
        const TWindowDC dc(wnd, false);
        RECT clip{};
        GetClipBox(dc.Get(), &clip);
        if (!PtInRect(&clip, point))
            return false;
    }
    if (auto* under = dynamic_cast<TWinControl*>(FindControlUnderMouse());
        under && under != FOwnerControl && under->HandleAllocated())
        return IsSameOrChildWindow(under->GetHandle(), wnd);
    return true;
}
