// The manager's option objects, the foreign-control class lists, and the
// manager's component image (its published values in streaming order, the
// option objects' values under dotted names).
#include "sSkinManager.h"
#include "acLibraryGlobals.h"
#include "sFormRegistry.h"
#include "sMessages.h"
#include "sVclUtils.h"

namespace {

bool OldGlyphsModeValue = false;

void BroadcastCommand(int Command, LPARAM LParam)
{
    TMessage m{};
    m.Msg = SkinCommandMessage;
    m.WParam = SkinCommandWParam(Command);
    m.LParam = LParam;
    BroadcastToApplicationForms(m);
}

} // namespace

// ---------------------------------------------------------------------------
void TacOptions::SetBoolProp(int Index, bool Value)
{
    bool* fields[] = {&CheckEmptyAlpha, &NoMouseHover,    &NativeBordersMaximized, &StdGlyphsOrder,
                      &ChangeSysColors, &StdImgTransparency, &DrawNonClientArea};
    if (Index < 0 || Index >= static_cast<int>(std::size(fields)))
        return;
    const bool changed = *fields[Index] != Value;
    *fields[Index] = Value;
    // The system colour patch of index 4 comes with the application hooks.
    if (Index == 6 && changed && !FManager->ComponentState().Contains(csDesigning)) {
        TMessage m{};
        m.Msg = SkinCommandMessage;
        m.WParam = SkinCommandWParam(SKC_SET_NC_SKINNING);
        m.LParam = Value ? 1 : 0;
        BroadcastToSkinnedForms(m);
    }
}

void TacOptions::SetArrowsStyle(TacArrowsStyle Value)
{
    if (Value == FArrowsStyle)
        return;
    FArrowsStyle = Value;
    FManager->UpdateSkin(true);
}

TacArrowsStyle TacOptions::ActualArrowStyle() const
{
    return FArrowsStyle == arsDefault ? FManager->CommonSkinData.ArrowStyle : FArrowsStyle;
}

void TacOptions::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacOptions*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    for (int i = 0; i < 7; ++i)
        SetBoolProp(i, s->GetBoolProp(i));
    SetScaleMode(s->FScaleMode);
    SetArrowsStyle(s->FArrowsStyle);
    OptimizingPriority = s->OptimizingPriority;
}

void TacSkinEffects::SetBoolProp(int Index, bool Value)
{
    bool& field = Index == 0 ? FAllowOuterEffects : FDiscoloredGlyphs;
    if (field == Value)
        return;
    field = Value;
    if (!Manager->ComponentState().Contains(csLoading) && !Manager->NoAutoUpdate)
        Manager->RepaintForms(false);
}

void TacSkinEffects::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacSkinEffects*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    AllowAnimation = s->AllowAnimation;
    AllowAeroBluring = s->AllowAeroBluring;
    AllowGlowing = s->AllowGlowing;
    SetBoolProp(0, s->GetBoolProp(0));
    SetBoolProp(1, s->GetBoolProp(1));
}

void TacFormAnimation::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacFormAnimation*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    Active = s->Active;
    Time = s->Time;
    Mode = s->Mode;
}

void TacBlendOnMoving::Assign(TPersistent* Source)
{
    TacFormAnimation::Assign(Source);
    if (auto* s = dynamic_cast<TacBlendOnMoving*>(Source))
        BlendValue = s->BlendValue;
}

void TacBtnEffects::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacBtnEffects*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    Events = s->Events;
}

TacAnimEffects::TacAnimEffects(TsSkinManager* AManager)
    : Manager(AManager), BlendOnMoving(New<TacBlendOnMoving>()), Buttons(New<TacBtnEffects>()),
      DialogShow(New<TacDialogShow>()), FormShow(New<TacFormShow>()), FormHide(New<TacFormHide>()),
      DialogHide(New<TacFormHide>()), Minimizing(New<TacMinimizing>()), PageChange(New<TacPageChange>()),
      SkinChanging(New<TacSkinChanging>())
{
}

void TacAnimEffects::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacAnimEffects*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    BlendOnMoving->Assign(s->BlendOnMoving.get());
    Buttons->Assign(s->Buttons.get());
    DialogShow->Assign(s->DialogShow.get());
    FormShow->Assign(s->FormShow.get());
    FormHide->Assign(s->FormHide.get());
    DialogHide->Assign(s->DialogHide.get());
    Minimizing->Assign(s->Minimizing.get());
    PageChange->Assign(s->PageChange.get());
    SkinChanging->Assign(s->SkinChanging.get());
}

bool TacButtonsSupport::GetOldGlyphsMode()
{
    return OldGlyphsModeValue;
}

void TacButtonsSupport::SetOldGlyphsMode(bool Value)
{
    if (Value == OldGlyphsModeValue)
        return;
    OldGlyphsModeValue = Value;
    if (!FOwner->ComponentState().Contains(csDesigning))
        FOwner->RepaintForms(true);
}

void TacButtonsSupport::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacButtonsSupport*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    ShowFocusRect = s->ShowFocusRect;
    ShiftContentOnClick = s->ShiftContentOnClick;
    ModalButtonsColoring = s->ModalButtonsColoring;
}

void TacLabelsSupport::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacLabelsSupport*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    TransparentAlways = s->TransparentAlways;
}

void TacScrollBarsSupport::SetIntProp(int Index, Integer Value)
{
    Integer& field = Index == 0 ? FButtonsSize : FScrollSize;
    if (field == Value)
        return;
    field = Value;
    if (FOwner->ComponentState().Contains(csLoading))
        return;
    if (Index == 0)
        FOwner->RepaintForms(false);
    else
        BroadcastCommand(SKC_SCROLLBARS_CHANGED, 0);
}

void TacScrollBarsSupport::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacScrollBarsSupport*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    SetIntProp(0, s->FButtonsSize);
    SetIntProp(1, s->FScrollSize);
}

TsThirdPartyList::TsThirdPartyList()
{
    for (int i = 0; i < ThirdPartyKindCount; ++i)
        FLists[i] = ThirdPartyDefaults[i];
}

const wchar_t* TsThirdPartyList::PropertyName(int Index)
{
    static const wchar_t* const names[ThirdPartyKindCount] = {
        L"ThirdEdits",        L"ThirdButtons",     L"ThirdBitBtns",       L"ThirdCheckBoxes",
        L"ThirdComboBoxes",   L"ThirdGrids",       L"ThirdGroupBoxes",    L"ThirdListViews",
        L"ThirdPanels",       L"ThirdTreeViews",   L"ThirdWWEdits",       L"ThirdGridEh",
        L"ThirdVirtualTrees", L"ThirdPageControl", L"ThirdTabControl",    L"ThirdToolBar",
        L"ThirdStatusBar",    L"ThirdSpeedButton", L"ThirdScrollControl", L"ThirdUpDown",
        L"ThirdScrollBar",    L"ThirdStaticText",  L"ThirdNativePaint",
    };
    return names[Index];
}

void TsThirdPartyList::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TsThirdPartyList*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    for (int i = 0; i < ThirdPartyKindCount; ++i)
        FLists[i] = s->FLists[i];
}

void TacFonts::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacFonts*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    SetMainFont(s->FMainFont);
    SetMainMode(s->FMainMode);
}

void TacMenuSupport::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TacMenuSupport*>(Source);
    if (!s)
        return TPersistent::Assign(Source);
    IcoLineSkin = s->IcoLineSkin;
    CustomFontName = s->CustomFontName;
}

void UpdateThirdLists(TsSkinManager* Manager, bool ResetToDefaults)
{
    TsThirdPartyList* third = Manager->ThirdParty();
    for (int i = 0; i < ThirdPartyKindCount; ++i) {
        if (ResetToDefaults || third->GetString(i).empty())
            third->SetString(i, ThirdPartyDefaults[i]);
        Manager->ThirdLists(i)->SetText(third->GetString(i));
    }
}

void SaveThirdLists(TsSkinManager* Manager)
{
    for (int i = 0; i < ThirdPartyKindCount; ++i)
        Manager->ThirdParty()->SetString(i, Manager->ThirdLists(i)->GetText());
}

TacAnimSetting ReadManagerAnimSetting(const TsSkinManager* Manager, TacAnimKind Kind)
{
    const TacAnimEffects* effects = Manager ? Manager->AnimEffects() : nullptr;
    if (!effects)
        return {};
    const TacFormAnimation* animations[] = {effects->FormShow.get(), effects->FormHide.get(),
                                            effects->DialogShow.get(), effects->DialogHide.get(),
                                            effects->SkinChanging.get()};
    const TacFormAnimation* a = animations[Kind];
    return a ? TacAnimSetting{a->Active, a->Time, a->Mode} : TacAnimSetting{};
}
