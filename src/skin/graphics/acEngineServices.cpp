#include "acEngineServices.h"
#include "PlatformProbe.h"
#include "sMessages.h"
#include "sGraphUtils.h"
#include "sVclUtils.h"

TsSkinManager* DefaultManager = nullptr;

bool IsAeroEnabled()
{
    const TPlatformProbe& probe = PlatformProbe();
    return probe.IsVistaOrLater() && probe.CompositionEnabled;
}

bool TacOptions::GetBoolProp(int Index) const
{
    const bool values[] = {CheckEmptyAlpha,    NoMouseHover,       NativeBordersMaximized,
                           StdGlyphsOrder,     ChangeSysColors,    StdImgTransparency,
                           DrawNonClientArea};
    return Index >= 0 && Index < static_cast<int>(std::size(values)) && values[Index];
}

bool TsSkinManager::IsDefault() const
{
    return this == DefaultManager;
}

// ---------------------------------------------------------------------------
TsCommonData::TsCommonData(TObject* AOwner, bool CreateCacheBmp) : FOwnerObject(AOwner)
{
    FOwnerControl = dynamic_cast<TControl*>(AOwner);
    if (auto* winControl = dynamic_cast<TWinControl*>(AOwner))
        WndProc = winControl->WindowProc;
    FOuterEffects = New<TacOuterEffects>(this);
    if (CreateCacheBmp) {
        FCacheBmp = MakeBitmap32(0, 0);
        FCacheBmp->GetCanvas()->OnChange = nullptr;
    }
    InitCommonProp();
}

bool TsCommonData::Skinned(bool CheckSkinActive) const
{
    const TsSkinManager* manager = GetSkinManager();
    if (!manager || manager->ComponentState().Contains(csDestroying) || !manager->IsValidSkinIndex(SkinIndex))
        return false;
    auto* ownerComponent = dynamic_cast<TComponent*>(FOwnerObject);
    if (ownerComponent && ownerComponent->ComponentState().Contains(csDestroying))
        return false;
    return !CheckSkinActive || manager->CommonSkinData.Active;
}

TsCommonData* GetWndSkinData(HWND Wnd)
{
    return Wnd ? static_cast<TsCommonData*>(GetPropW(Wnd, L"ACSDATA")) : nullptr;
}

bool HasSkinHandler(HWND Wnd)
{
    return GetPropW(Wnd, L"ACSDATA") || GetPropW(Wnd, L"ACSBSC") || QueryWndCommand(Wnd, SKC_QUERY_HANDLED);
}

bool IsControlSkinned(TControl* Control, bool CheckSkinned)
{
    if (!Control)
        return false;
    auto* winControl = dynamic_cast<TWinControl*>(Control);
    if (!winControl || !winControl->HandleAllocated())
        return Control->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_HANDLED), 0) == 1;
    HWND wnd = winControl->GetHandle();
    if (TsCommonData* data = GetWndSkinData(wnd))
        return !CheckSkinned || data->Skinned(false);
    if (GetPropW(wnd, L"ACSBSC")) {
        if (!CheckSkinned)
            return true;
        // The handler's type belongs to the window handlers; its skin data
        // is reached through the command every handler answers.
        auto* data = reinterpret_cast<TsCommonData*>(SendWndCommand(wnd, SKC_QUERY_SKIN_DATA, 0));
        return data && data->Skinned(false);
    }
    return QueryWndCommand(wnd, SKC_QUERY_HANDLED);
}
