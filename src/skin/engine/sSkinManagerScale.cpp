// Scaling to the four fixed scales and the application font.
//
// A rescale hides the control, turns aligning off and loosens anchors while
// the class library scales it; all of that is put back on every exit, also
// when the control raises in its own scaling.
#include "sSkinManager.h"
#include "ScopeExit.h"
#include "acLibraryGlobals.h"
#include "sFormRegistry.h"
#include "sVclUtils.h"

Integer TsSkinManager::GetScale() const
{
    if (ComponentState().Contains(csDesigning))
        return 0;
    switch (Options.GetScaleMode()) {
    case smOldMode: return 0;
    case smAuto: return std::clamp<Integer>(SysFontScale, 0, 3);
    default: return static_cast<Integer>(Options.GetScaleMode());
    }
}

Integer TsSkinManager::ScaleInt(Integer Value, Integer SysScale) const
{
    if (Options.GetScaleMode() == smOldMode)
        return Value;
    const Integer current = GetScale();
    if (SysScale > 0)
        return SysScale < current ? Value * ScalePercents[std::min<Integer>(SysScale, 3)] / 100 : Value;
    switch (current) {
    case 1: return Value + Value / 4;
    case 2: return Value + Value / 2;
    case 3: return Value * 2;
    default: return Value;
    }
}

Integer TsSkinManager::GetScrollBarWidth() const
{
    const Integer scrollSize = FScrollsOptions->GetScrollSize();
    if (scrollSize >= 0)
        return scrollSize;
    const int system = GetSystemMetrics(SM_CXVSCROLL);
    const TacScaleMode mode = Options.GetScaleMode();
    if (mode == smAuto || mode == smOldMode)
        return system;
    return MulDiv(system, ScalePercents[GetScale()], ScalePercents[std::clamp<Integer>(SysFontScale, 0, 3)]);
}

Integer TsSkinManager::GetMaxScrollBarWidth() const
{
    return std::max<Integer>(GetSystemMetrics(SM_CXVSCROLL), GetScrollBarWidth());
}

namespace {

void CollectAnchors(TWinControl* Parent, std::vector<std::pair<TControl*, TAnchors>>& Saved)
{
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* child = Parent->Controls(i);
        Saved.emplace_back(child, child->GetAnchors());
        TAnchors loose = child->GetAnchors();
        if (loose.Contains(akLeft) && loose.Contains(akRight))
            loose.Exclude(akRight);
        if (loose.Contains(akTop) && loose.Contains(akBottom))
            loose.Exclude(akBottom);
        child->SetAnchors(loose);
        if (auto* win = dynamic_cast<TWinControl*>(child))
            CollectAnchors(win, Saved);
    }
}

TRect ScreenBounds(TControl* Control)
{
    TRect r = Control->GetBoundsRect();
    TWinControl* parent = Control->GetParent();
    if (parent && parent->HandleAllocated())
        MapWindowPoints(parent->GetHandle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

void TsSkinManager::UpdateScale(TWinControl* Ctrl, Integer iCurrentScale)
{
    StoreDefFont();
    LRESULT answer = Ctrl->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_SCALE), 0);
    // Any negative answer means the control does not scale.
    if (answer < 0)
        return;
    const Integer current = answer == 0 ? iCurrentScale : static_cast<Integer>(answer);
    const Integer target = ScalePercents[GetScale()];
    if (target == current || current <= 0)
        return;
    const TRect oldBounds = ScreenBounds(Ctrl);
    const int left = Ctrl->GetLeft(), top = Ctrl->GetTop();
    const int newWidth = MulDiv(Ctrl->GetWidth(), target, current);
    const int newHeight = MulDiv(Ctrl->GetHeight(), target, current);

    TacSkinEffects* effects = FEffects.get();
    const bool allowAnimation = effects->AllowAnimation;
    effects->AllowAnimation = false;
    TScopeExit restoreAnimation([&] { effects->AllowAnimation = allowAnimation; });

    HWND wnd = Ctrl->HandleAllocated() ? Ctrl->GetHandle() : nullptr;
    const bool hidden = wnd && IsWindowVisible(wnd);
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (hidden)
        SetWindowPos(wnd, nullptr, 0, 0, 0, 0, keep | SWP_HIDEWINDOW);
    TScopeExit show([&] {
        if (hidden)
            SetWindowPos(wnd, nullptr, 0, 0, 0, 0, keep | SWP_SHOWWINDOW);
    });

    std::vector<std::pair<TControl*, TAnchors>> anchors;
    Ctrl->DisableAlign();
    TScopeExit restoreAlign([&] {
        for (auto& [control, saved] : anchors)
            control->SetAnchors(saved);
        Ctrl->EnableAlign();
    });
    CollectAnchors(Ctrl, anchors);

    // Public as a TControl; the form narrows it.
    static_cast<TControl*>(Ctrl)->ChangeScale(target, current);
    Ctrl->SetBounds(left, top, newWidth, newHeight);
    Ctrl->Perform(SkinCommandMessage, SkinCommandWParam(SKC_SET_SCALE), target);

    if (target < current)
        InvalidateRect(nullptr, &oldBounds, TRUE);
}

void TsSkinManager::UpdateAllScale()
{
    // Image lists rescale themselves through the image-list unit when present.
    for (std::size_t i = 0; i < SkinnedForms.size(); ++i)
        if (auto* form = dynamic_cast<TForm*>(SkinnedForms[i]))
            UpdateScale(form, 100);
}

void TsSkinManager::RescaleLibraryMetrics(Integer OldPercent, Integer NewPercent)
{
    if (!IsDefault())
        return;
    TLibraryMetrics& m = LibraryMetrics;
    m.ArrowSize = MulDiv(7, NewPercent, 100);
    m.ArrowHalf = (m.ArrowSize + 1) / 2;
    m.SmallMargin = MulDiv(4, NewPercent, 100);
    m.SmallMargin2 = MulDiv(5, NewPercent, 100);
    for (int& size : m.Sizes)
        size = MulDiv(size, NewPercent, OldPercent);
    m.MessageFontSize = MulDiv(m.MessageFontSize, NewPercent, OldPercent);
}

void TacOptions::SetScaleMode(TacScaleMode Value)
{
    if (Value == FScaleMode)
        return;
    TsSkinManager* m = FManager;
    m->ManagerState.Include(msScaleChanging);
    TScopeExit done([m] { m->ManagerState.Exclude(msScaleChanging); });
    const Integer oldPercent = ScalePercents[m->GetScale()];
    const Integer newIndex = Value == smAuto ? std::clamp<Integer>(m->SysFontScale, 0, 3)
                             : Value == smOldMode ? 0 : static_cast<Integer>(Value);
    const Integer newPercent = ScalePercents[newIndex];
    const bool designing = m->ComponentState().Contains(csDesigning);
    if (!designing && m->OnScaleModeChange) {
        TScaleChangeData data{FScaleMode, Value, oldPercent, newPercent};
        m->OnScaleModeChange(m, data);
    }
    if (designing || m->ComponentState().Contains(csLoading)) {
        FScaleMode = Value;
        m->RescaleLibraryMetrics(oldPercent, newPercent);
        return;
    }
    m->BeginUpdate();
    bool ended = false;
    TScopeExit endUpdate([&] {
        if (!ended)
            m->NoAutoUpdate = false;
    });
    FScaleMode = Value;
    m->RescaleLibraryMetrics(oldPercent, newPercent);
    m->UpdateAllScale();
    if (m->GetActive())
        m->SetSkinName(m->GetSkinName());
    if (m->OnScaleChanged)
        m->OnScaleChanged(this);
    ended = true;
    m->EndUpdate(true, false);
}

// ---------------------------------------------------------------------------
// The application font.

void TsSkinManager::StoreDefFont()
{
    if (!DefStoredFontName.empty())
        return;
    TCustomForm* mainForm = Application ? Application->GetMainForm() : nullptr;
    if (mainForm)
        DefStoredFontName = mainForm->GetFont()->GetName();
    else {
        TOwned<TFont> font(New<TFont>());
        DefStoredFontName = font->GetName();
    }
    DefOldFontName = DefStoredFontName;
}

void TsSkinManager::ChangeAppFont(const String& FontName, bool DoLockForms)
{
    if (ComponentState().Contains(csDesigning) || FontName == DefOldFontName)
        return;
    ManagerState.Include(msFontChanging);
    bool unlocked = !DoLockForms;
    TScopeExit done([&] {
        if (!unlocked)
            UnlockFormsAfterSkinUpdate(this, 0);
        ManagerState.Exclude(msFontChanging);
    });
    if (DoLockForms)
        LockFormsForSkinUpdate(this);
    DefNewFontName = FontName;
    FMenuSupport->SetCustomFont(FMenuSupport->CustomFontName);
    StoreDefFont();
    TMessage m{};
    m.Msg = SkinCommandMessage;
    m.WParam = SkinCommandWParam(SKC_FONTS_CHANGED);
    m.LParam = reinterpret_cast<LPARAM>(this);
    BroadcastToApplicationForms(m);
    if (OnFontChanged)
        OnFontChanged(this, DefOldFontName, FontName);
    DefOldFontName = FontName;
    if (DoLockForms) {
        unlocked = true;
        UnlockFormsAfterSkinUpdate(this, NoAutoUpdate ? 0 : 1);
    }
}

bool TsSkinManager::UpdateFontName(TControl* Ctrl)
{
    const String& name = CommonSkinData.Active ? DefNewFontName : DefStoredFontName;
    if (Ctrl->GetParent() && Ctrl->GetParentFont())
        return false;
    const String& own = Ctrl->GetFont()->GetName();
    if (own != DefOldFontName && own != DefStoredFontName)
        return false;
    auto* win = dynamic_cast<TWinControl*>(Ctrl);
    if ((win && win->HandleAllocated()) || (!win && Ctrl->GetParent())) {
        Ctrl->GetFont()->SetName(name);
        return true;
    }
    return false;
}

void TacFonts::SetMainFont(const String& Value)
{
    if (Value == FMainFont)
        return;
    FMainFont = Value;
    if (!Manager->ComponentState().Contains(csLoading) && FMainMode == fmCustom)
        Manager->ChangeAppFont(FMainFont, true);
}

void TacFonts::SetMainMode(TacFontMode Value)
{
    if (Value == FMainMode)
        return;
    FMainMode = Value;
    if (Manager->ComponentState().Contains(csLoading))
        return;
    switch (Value) {
    case fmDefault:
        if (!Manager->DefStoredFontName.empty())
            Manager->ChangeAppFont(Manager->DefStoredFontName, true);
        break;
    case fmFromSkin:
        Manager->ChangeAppFont(Manager->CommonSkinData.MainFont.empty() ? Manager->DefStoredFontName
                                                                         : Manager->CommonSkinData.MainFont,
                               true);
        break;
    case fmCustom: Manager->ChangeAppFont(FMainFont, true); break;
    }
}
