// Colours of a skin state's owner, its answers to background requests, the
// sections that show through transparent states, and cache copies that
// leave children out.
#include "sCommonData.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "acLibraryGlobals.h"
#include "acProviderServices.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include "sSkinImage.h"
#include "sSkinManager.h"
#include "sSkinSection.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"
#include <algorithm>

namespace {

bool HasState(const TComponent* Component, TComponentStateItem Item)
{
    return Component && Component->ComponentState().Contains(Item);
}

// The section and state entry a caller may read; null for an index outside
// the table (an index answered by another window is not trusted).
const TsGeneralData* SectionOf(const TsSkinManager* Manager, Integer SkinIndex)
{
    return Manager && Manager->IsValidSkinIndex(SkinIndex) ? &Manager->gd[static_cast<std::size_t>(SkinIndex)]
                                                           : nullptr;
}

Integer ClampState(const TsGeneralData& Section, Integer State)
{
    return std::clamp(std::min(State, Section.States - 1), 0, 2);
}

bool BothFullyTransparent(const TsGeneralData& Section)
{
    return Section.Props[0].Transparency == 100 && Section.Props[1].Transparency == 100;
}

TColor Adjusted(TColor Color, const TsCommonData& Data)
{
    return static_cast<TColor>(ChangeSaturation(ChangeHue(Data.FHUEOffset, Color), Data.FSaturation));
}

TCustomForm* ProviderForm(const TsCommonData& Data)
{
    auto* provider = dynamic_cast<TsSkinProvider*>(Data.FOwnerObject);
    return provider ? provider->Form : nullptr;
}

HWND ParentWindowOf(HWND Wnd)
{
    return (GetWindowLongW(Wnd, GWL_STYLE) & WS_CHILD) ? GetParent(Wnd) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
void TsCommonData::UpdateControlColors(bool Repaint)
{
    TControl* owner = FOwnerControl;
    auto* winControl = dynamic_cast<TWinControl*>(owner);
    if (!owner || (winControl && !winControl->HandleAllocated()))
        return;
    TsSkinManager* manager = GetSkinManager();
    if (Skinned(false)) {
        const TsGeneralData& section = manager->gd[SkinIndex];
        if (IsEditKind(COC) && !BothFullyTransparent(section)) {
            if (!FCustomColor) {
                const TColor color = Adjusted(section.Props[0].Color, *this);
                if (owner->GetColor() != color)
                    owner->SetColor(color);
            }
            if (!FCustomFont && !(COC == 10 && !HoverEditColors)) {
                const TColor color = Adjusted(section.Props[0].FontColor.Color, *this);
                if (owner->GetFont()->GetColor() != color)
                    owner->GetFont()->SetColor(color);
            }
        }
        if (winControl)
            SetClassLongPtrW(winControl->GetHandle(), GCLP_HBRBACKGROUND,
                             reinterpret_cast<LONG_PTR>(manager->Brushes[0].Get()));
    } else if (winControl && COC != 142) {
        SetClassLongPtrW(winControl->GetHandle(), GCLP_HBRBACKGROUND,
                         reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
    }
    if (Repaint)
        Invalidate(true);
}

void TsCommonData::ApplySectionColors(bool NoRedrawLock)
{
    TControl* owner = FOwnerControl;
    if (!owner)
        return;
    auto* winControl = dynamic_cast<TWinControl*>(owner);
    const bool lock = !NoRedrawLock && owner->GetVisible() && winControl && winControl->HandleAllocated();
    if (lock)
        SendMessageW(winControl->GetHandle(), WM_SETREDRAW, 0, 0);
    const TsGeneralData* section = SectionOf(GetSkinManager(), SkinIndex);
    if (section) {
        const Integer state = GetHotState() & 0x7F;
        const TsGenState& props = section->Props[std::min(state, 2)];
        if (!FCustomColor)
            owner->SetColor(props.Color);
        if (!FCustomFont && props.FontColor.Color != owner->GetFont()->GetColor()) {
            CtrlSkinState |= 0x2000;
            owner->GetFont()->SetColor(props.FontColor.Color);
            CtrlSkinState &= ~0x2000u;
        }
    }
    if (lock)
        SendMessageW(winControl->GetHandle(), WM_SETREDRAW, 1, 0);
}

void TsCommonData::SetBoolProp(int Index, bool Value)
{
    bool& flag = Index == 0 ? FCustomColor : FCustomFont;
    if (flag == Value)
        return;
    flag = Value;
    if (FOwnerControl && !HasState(FOwnerControl, csLoading) && !Loading) {
        TColor& saved = Index == 0 ? SavedColor : SavedFontColor;
        if (Value) {
            if (saved != clNone) {
                if (Index == 0)
                    FOwnerControl->SetColor(saved);
                else
                    FOwnerControl->GetFont()->SetColor(saved);
            }
        } else {
            saved = Index == 0 ? FOwnerControl->GetColor() : FOwnerControl->GetFont()->GetColor();
        }
    }
    UpdateControlColors(true);
}

void TsCommonData::SetColorTone(TColor Value)
{
    if (FColorTone == Value)
        return;
    FColorTone = Value;
    Loaded(true);
    Invalidate(false);
}

void TsCommonData::SetIntProp(int Index, Integer Value)
{
    Integer& field = Index == 0 ? FHUEOffset : FSaturation;
    if (field == Value)
        return;
    field = Value;
    Loaded(true);
    Invalidate(false);
}

TColor TsCommonData::BackgroundColor(Integer State, HWND Wnd) const
{
    if (Skinned(false) && !FCustomColor) {
        const TsGeneralData& section = GetSkinManager()->gd[SkinIndex];
        const TsGenState& props = section.Props[State > 0 && section.States > 1 ? 1 : 0];
        const Integer t = props.Transparency;
        auto parentColor = [&](TColor Fallback) -> TColor {
            if (FOwnerControl)
                return GetControlColor(FOwnerControl->GetParent());
            if (Wnd)
                return GetWindowColor(ParentWindowOf(Wnd));
            return Fallback;
        };
        if (t >= 100)
            return parentColor(props.Color);
        if (t > 0)
            return static_cast<TColor>(MixColors(parentColor(static_cast<TColor>(0xFF00000F)), props.Color,
                                                 static_cast<Byte>(t * 255 / 100)));
        return props.Color;
    }
    if (FOwnerControl)
        return FOwnerControl->GetColor();
    if (TCustomForm* form = ProviderForm(*this))
        return form->GetColor();
    return static_cast<TColor>(0xFF00000F);
}

void TsCommonData::GetParentCacheInfo(TCacheInfo& Info)
{
    if (Skinned(false) && FOwnerControl) {
        TacBGRequest request;
        request.PleaseDraw = 0;
        bool asked = false;
        if (TWinControl* parent = FOwnerControl->GetParent()) {
            GetControlBGInfo(request, parent, false);
            asked = true;
        } else if (auto* winControl = dynamic_cast<TWinControl*>(FOwnerControl);
                   winControl && winControl->HandleAllocated()) {
            asked = GetWindowBGInfo(request, ParentWindowOf(winControl->GetHandle()), false);
        }
        if (asked) {
            if (request.BgKind == bgNotReady) {
                Info = TCacheInfo();
                Info.FillColor = clFuchsia;
                Info.Ready = false;
            } else {
                Info = BGInfoToCacheInfo(request);
            }
            return;
        }
    }
    Info = TCacheInfo();
    Info.X = Info.Y = 0;
    Info.FillColor = BackgroundColor(0, nullptr);
    Info.Ready = false;
}

void TsCommonData::AnswerBGRequest(TacBGRequest& Request, Integer State, HWND Wnd)
{
    auto drawFromCache = [&]() {
        if (Request.DrawDC && FCacheBmp)
            BitBlt(Request.DrawDC, Request.R.left, Request.R.top, Request.R.Width(), Request.R.Height(),
                   FCacheBmp->GetCanvas()->GetHandle(), Request.Offset.x, Request.Offset.y, SRCCOPY);
        Request.BgKind = bgImage;
    };
    auto cacheEmpty = [&]() { return !FCacheBmp || FCacheBmp->GetWidth() == 0 || FCacheBmp->GetHeight() == 0; };

    if (Request.PleaseDraw) {
        if (BGChanged && FOwnerControl)
            FOwnerControl->Perform(SkinCommandMessage, SkinCommandWParam(SKC_BUILD_CACHE), 0);
        if (!BGChanged)
            drawFromCache();
        Request.BgKind = bgImage;
        return;
    }

    Request.Bmp = nullptr;
    TsSkinManager* manager = GetSkinManager();
    if (!Skinned(false) || FCustomColor) {
        Request.BgKind = bgColor;
        if (FOwnerControl)
            Request.Color = ColorToRGB(FOwnerControl->GetColor());
        else if (TCustomForm* form = ProviderForm(*this))
            Request.Color = ColorToRGB(form->GetColor());
        return;
    }
    const TsGeneralData& section = manager->gd[SkinIndex];
    const Integer state = ClampState(section, State);
    const TsGenState& props = section.Props[state];
    const Integer t = props.Transparency;
    const Integer imagePercent = props.ImagePercent;
    auto* provider = dynamic_cast<TsSkinProvider*>(FOwnerObject);

    auto buildCache = [&]() {
        if (FOwnerControl)
            SendControlCommand(FOwnerControl, SKC_BUILD_CACHE, 0);
        else if (provider && provider->Form && !(provider->FFormState & 0x80))
            SendControlCommand(provider->Form, SKC_BUILD_CACHE, 0);
    };

    if (t <= 0) {
        const bool noCorners = section.ImgTL < 0 && section.ImgTR < 0 && section.ImgBL < 0 && section.ImgBR < 0;
        if (props.GradientPercent < 1 && imagePercent < 1 && noCorners && !OuterEffectsAllowed()) {
            Request.BgKind = bgColor;
            Request.Color = BackgroundColor(state, nullptr);
            if (manager->IsValidImgIndex(section.BorderIndex)) {
                const TsMaskData& border = manager->ma[section.BorderIndex];
                if (!(border.DrawMode & 2)) {
                    Request.FillRect = TRect(border.WL, border.WT, border.WR, border.WB);
                    Request.Bmp = FCacheBmp;
                    Request.Offset = TPoint(0, 0);
                }
            }
            return;
        }
        Request.Color = manager->GetGlobalColor();
        const bool sizeDiffers = FOwnerControl && FCacheBmp &&
                                 (FCacheBmp->GetWidth() != FOwnerControl->GetWidth() ||
                                  FCacheBmp->GetHeight() != FOwnerControl->GetHeight());
        if (BGChanged || cacheEmpty() || sizeDiffers) {
            BGChanged = true;
            if (FCacheBmp)
                FCacheBmp->SetSize(0, 0);
            buildCache();
        }
        if (cacheEmpty()) {
            Request.BgKind = bgNotReady;
            return;
        }
        Request.BgKind = bgImage;
        Request.Bmp = FCacheBmp;
        Request.Offset = TPoint(0, 0);
        return;
    }
    if (t < 100) {
        if (!FCacheBmp) {
            Request.BgKind = bgColor;
            Request.Color = clFuchsia;
            return;
        }
        if (cacheEmpty()) {
            if (BGChanged)
                buildCache();
            if (cacheEmpty()) {
                FUpdating = true;
                Request.BgKind = bgNotReady;
                return;
            }
        }
        Request.BgKind = bgImage;
        Request.Bmp = FCacheBmp;
        Request.Offset = TPoint(0, 0);
        return;
    }
    // A transparent section without a cache of its own asks its parent,
    // moving the request into the parent's coordinates.
    if (!FCacheBmp) {
        TControl* control = FOwnerControl ? FOwnerControl : (provider ? provider->Form : nullptr);
        if (control && control->GetParent()) {
            GetControlBGInfo(Request, control->GetParent(), false);
            if (Request.Bmp) {
                Request.Offset.x += control->GetLeft();
                Request.Offset.y += control->GetTop();
                Request.FillRect.left -= control->GetLeft();
                Request.FillRect.top -= control->GetTop();
            }
            return;
        }
        HWND parentWnd = Wnd ? ParentWindowOf(Wnd) : nullptr;
        if (parentWnd && GetWindowBGInfo(Request, parentWnd, false)) {
            if (Request.BgKind == bgImage) {
                RECT r{};
                GetWindowRect(Wnd, &r);
                MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
                Request.Offset.x += r.left;
                Request.Offset.y += r.top;
            }
            return;
        }
        Request.BgKind = bgColor;
        Request.Color = DefaultManager ? DefaultManager->GetGlobalColor() : manager->GetGlobalColor();
        return;
    }
    if (BGChanged)
        buildCache();
    if (BGChanged) {
        Request.BgKind = bgColor;
        Request.Bmp = nullptr;
        Request.Color = BackgroundColor(0, nullptr);
        return;
    }
    Request.BgKind = bgImage;
    Request.Bmp = FCacheBmp;
    Request.Offset = TPoint(0, 0);
}

// ---------------------------------------------------------------------------
bool TsCommonData::RepaintIfMoved()
{
    if (!Skinned(false) || !FOwnerControl || !FOwnerControl->GetEnabled())
        return true;
    const TsGeneralData& section = GetSkinManager()->gd[SkinIndex];
    if (section.Props[0].Transparency > 0)
        if (TWinControl* parent = FOwnerControl->GetParent(); parent && parent->HandleAllocated())
            return SendWndCommand(parent->GetHandle(), SKC_QUERY_COMPLEX_BG, 0) != 0;
    return false;
}

bool TsCommonData::OuterEffectsAllowed() const
{
    if (!dynamic_cast<TsSkinProvider*>(FOwnerObject) && !dynamic_cast<TWinControl*>(FOwnerControl))
        return false;
    TsSkinManager* manager = GetSkinManager();
    return manager && manager->Effects()->GetBoolProp(0);
}

void TsCommonData::RebuildParentCache()
{
    if (CheckUpdating(false))
        return;
    TWinControl* parent = FOwnerControl ? FOwnerControl->GetParent() : nullptr;
    if (!parent || !parent->HandleAllocated())
        return;
    SendWndMessage(parent->GetHandle(), SkinCommandMessage, SkinCommandWParam(SKC_BG_INVALID), 0);
    SendWndCommand(parent->GetHandle(), SKC_BUILD_CACHE, 0);
}

bool TsCommonData::ShowsParentAt(Integer State) const
{
    return IsStateSeeThrough(GetSkinManager(), SkinIndex, State, FOwnerControl);
}

// ---------------------------------------------------------------------------
bool ContentShiftsOnClick(Integer SkinIndex, TsSkinManager* Manager)
{
    if (!Manager)
        Manager = DefaultManager;
    if (!Manager || !Manager->IsValidSkinIndex(SkinIndex))
        return true;
    return Manager->ButtonsOptions()->ShiftContentOnClick || Manager->gd[SkinIndex].ShiftOnClick;
}

bool IsStateSeeThrough(TsSkinManager* Manager, Integer SkinIndex, Integer State, TControl* Control)
{
    if ((Control && !Control->GetParent()) || SkinIndex < 0)
        return false;
    const TsGeneralData* section = SectionOf(Manager, SkinIndex);
    if (!section)
        return false;
    State = std::max(0, std::min(State, section->States - 1));
    const Integer s = std::min(State, 2);
    if (section->Props[s].Transparency <= 50)
        return false;
    if (!Manager->IsValidImgIndex(section->BorderIndex))
        return true;
    const TsMaskData& mask = Manager->ma[section->BorderIndex];
    if (State == 0)
        return !(mask.DrawMode & 4) || (mask.DrawMode & 2);
    if (!(mask.DrawMode & 4))
        return true;
    if (mask.MaskType == 0)
        return false;
    // The centre of the state's frame in the mask half, read where the skin
    // file placed it: outside the bitmap the state is not see-through.
    TBitmap* bmp = mask.Bmp ? mask.Bmp : Manager->MasterBitmap;
    const int x = mask.R.left + State * mask.Width + mask.Width / 2;
    const int y = mask.R.bottom - mask.Height / 2;
    if (!bmp || bmp->GetPixelFormat() != pf32bit || x < 0 || y < 0 || x >= bmp->GetWidth() || y >= bmp->GetHeight())
        return false;
    const auto* row = static_cast<const Byte*>(bmp->GetScanLine(y));
    return row[x * 4] > 127;
}

Integer EngineResolveParentSkinIndex(TControl* Control, Integer SkinIndex, TsSkinManager* Manager, Integer State)
{
    const Integer s = std::clamp(State, 0, 2);
    if (!Control)
        return SkinIndex;
    if (const TsGeneralData* section = SectionOf(Manager, SkinIndex);
        section && s > 0 && State < section->States && section->Props[s].Transparency <= 39)
        return SkinIndex;
    TacStateSectionRequest request;
    request.State = State;
    request.SkinIndex = 0;
    request.R = TRect(Control->GetBoundsRect());
    request.SkinManager = Manager;
    const LRESULT answer = Control->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_STATE_SECTION),
                                            reinterpret_cast<LPARAM>(&request));
    if (answer == -1)
        return SkinIndex;
    if (answer == 0)
        return -1;
    return request.SkinIndex >= 0 && (!Manager || Manager->IsValidSkinIndex(request.SkinIndex)) ? request.SkinIndex
                                                                                                : SkinIndex;
}

Integer QueryParentSkinIndex(TControl* Control, TacStateSectionRequest& Request)
{
    if (!Control)
        return 0;
    if (Control->GetParent())
        OffsetRect(&Request.R, Control->GetLeft(), Control->GetTop());
    LRESULT answer;
    const WPARAM wParam = SkinCommandWParam(SKC_QUERY_STATE_SECTION);
    if (auto* winControl = dynamic_cast<TWinControl*>(Control); winControl && winControl->HandleAllocated())
        answer = SendWndMessage(winControl->GetHandle(), SkinCommandMessage, wParam, reinterpret_cast<LPARAM>(&Request));
    else
        answer = Control->Perform(SkinCommandMessage, wParam, reinterpret_cast<LPARAM>(&Request));
    if (answer != 0 || HasState(Control, csDesigning))
        return static_cast<Integer>(answer);
    return Request.SkinIndex;
}

Integer QueryWndParentSkinIndex(HWND Wnd, TacStateSectionRequest& Request)
{
    return static_cast<Integer>(SendMessageW(Wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_STATE_SECTION),
                                             reinterpret_cast<LPARAM>(&Request)));
}

TColor GetSkinFontColor(TControl* Control, Integer SkinIndex, TsSkinManager* Manager, TsCommonData* SkinData,
                        Integer State)
{
    if (SkinData && SkinData->FCustomFont && Control)
        return Control->GetFont()->GetColor();
    const Integer s = std::clamp(State, 0, 2);
    const TsGeneralData* section = SectionOf(Manager, SkinIndex);
    if (Control && (!section || State >= section->States || section->Props[s].Transparency > 39)) {
        TacStateSectionRequest request;
        request.State = State;
        request.R = TRect(Control->GetBoundsRect());
        request.SkinManager = Manager;
        const LRESULT answer = Control->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_STATE_SECTION),
                                                reinterpret_cast<LPARAM>(&request));
        if (answer == 0)
            return Control->GetParent() ? Control->GetParent()->GetFont()->GetColor() : Control->GetFont()->GetColor();
        if (answer != -1 && request.SkinIndex >= 0)
            SkinIndex = request.SkinIndex;
    }
    TColor color;
    if (Manager && Manager->CommonSkinData.Active) {
        section = SectionOf(Manager, SkinIndex);
        color = section ? section->Props[ClampState(*section, s)].FontColor.Color : Manager->Palette[pcLabelText];
    } else {
        color = Control ? Control->GetFont()->GetColor() : clBtnText;
    }
    if (Control && !Control->GetEnabled())
        color = static_cast<TColor>(MixColors(ColorToRGB(color), GetControlColor(Control->GetParent()), DisabledFontBlend));
    return color;
}

TColor GetWndSkinFontColor(HWND Wnd, Integer SkinIndex, TsSkinManager* Manager, Integer State)
{
    const Integer s = std::clamp(State, 0, 2);
    const TsGeneralData* section = SectionOf(Manager, SkinIndex);
    if (State == 0 || !section || State >= section->States || section->Props[s].Transparency > 39) {
        TacStateSectionRequest request;
        request.State = State;
        request.SkinManager = Manager;
        const LRESULT answer = SendWndMessage(Wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_STATE_SECTION),
                                              reinterpret_cast<LPARAM>(&request));
        if (answer == 0)
            return static_cast<TColor>(0xFF000012);
        if (answer != -1 && request.SkinIndex >= 0)
            SkinIndex = request.SkinIndex;
    }
    if (!Manager || !Manager->CommonSkinData.Active)
        return static_cast<TColor>(0xFF000012);
    section = SectionOf(Manager, SkinIndex);
    return section ? section->Props[ClampState(*section, s)].FontColor.Color : Manager->Palette[pcLabelText];
}

void GetParentWndCacheInfo(HWND Wnd, TCacheInfo& Info)
{
    HWND parent = Wnd ? ParentWindowOf(Wnd) : nullptr;
    TacBGRequest request;
    if (parent && GetWindowBGInfo(request, parent, false)) {
        Info = BGInfoToCacheInfo(request);
        return;
    }
    Info = TCacheInfo();
    Info.Bmp = nullptr;
    Info.X = Info.Y = -99;
    Info.FillColor = clFuchsia;
    Info.Ready = false;
}

void ApplyColorAdjustments(TBitmap* Bmp, TsCommonData* SkinData, TColor Tone, Integer State)
{
    if (!Bmp || !SkinData)
        return;
    TColor tone = SkinData->FColorTone;
    if (SkinData->COC == 93 || SkinData->COC == 94)
        tone = Tone == 0 ? clNone : Tone;
    if (tone != clNone)
        ForEachBitmapPixel(Bmp, TonePixelProc, ColorToSkinColor(tone, SkinData->GetSkinManager()), clFuchsia);
    if (SkinData->FHUEOffset != 0)
        ForEachBitmapPixel(Bmp, HuePixelProc, SkinData->FHUEOffset, clFuchsia);
    if (SkinData->FSaturation != 0)
        ForEachBitmapPixel(Bmp, SaturationPixelProc, std::clamp(SkinData->FSaturation * 255 / 100, -255, 255),
                           clFuchsia);
    PaintControlCorners(SkinData, State, 15);
}

void ClearTransparentCorners(Integer SkinIndex, TBitmap* Bmp, TsSkinManager* Manager)
{
    const TsGeneralData* section = SectionOf(Manager, SkinIndex);
    if (!section || !Bmp || !Manager->IsValidImgIndex(section->BorderIndex))
        return;
    const TsMaskData& border = Manager->ma[section->BorderIndex];
    TRects rects;
    AddCornerKeyRects(rects, Bmp->GetWidth(), border, false, 0);
    AddCornerKeyRects(rects, Bmp->GetWidth(), border, true, Bmp->GetHeight() - border.WB);
    for (const TRect& r : rects)
        FillBitmap32Rect(Bmp, r, 0, 0);
}

void FinishAnimTimer(TacThreadedTimer* Timer)
{
    if (!Timer || Timer->Destroyed || Timer->ComponentState().Contains(csDestroying))
        return;
    Timer->Iteration = Timer->Iterations - 1;
    Timer->Glow = Timer->State <= 0 ? 0 : 255;
    Timer->SetEnabled(false);
    Timer->TimeHandler();
    Timer->BmpOut.reset();
}

// ---------------------------------------------------------------------------
void PaintCacheExceptChildren(TWinControl* Control, TsCommonData* SkinData, const TRect& SrcRect, int DY, int DX,
                              bool RepaintCorners, HDC DC, const TRect& ClipRect)
{
    TBitmap* cache = SkinData ? SkinData->FCacheBmp : nullptr;
    if (!cache || cache->GetWidth() == 0 || cache->GetHeight() == 0)
        return;
    if (RepaintCorners)
        PaintControlCorners(SkinData, 0, 15);
    const TSavedDC saved(DC);
    IntersectClipRect(DC, ClipRect.left, ClipRect.top, ClipRect.right, ClipRect.bottom);
    TsSkinManager* manager = SkinData->GetSkinManager();
    const bool skipGraphic = manager && manager->Options.StdImgTransparency;
    for (int i = 0; Control && i < Control->ControlCount(); ++i) {
        TControl* child = Control->Controls(i);
        const bool graphic = !dynamic_cast<TWinControl*>(child);
        if (!child->GetVisible() || (graphic && skipGraphic))
            continue;
        if (!graphic && !child->ControlStyle.Contains(csOpaque))
            continue;
        RECT bounds = child->GetBoundsRect();
        OffsetRect(&bounds, DX, DY);
        RECT common;
        if (IntersectRect(&common, &bounds, &ClipRect))
            ExcludeClipRect(DC, bounds.left, bounds.top, bounds.right, bounds.bottom);
    }
    BitBlt(DC, ClipRect.left, ClipRect.top, ClipRect.Width(), ClipRect.Height(), cache->GetCanvas()->GetHandle(),
           SrcRect.left, SrcRect.top, SRCCOPY);
}

void PaintCacheExceptChildWnds(HWND Wnd, TsCommonData* SkinData, const TRect& SrcRect, int DY, int DX,
                               bool RepaintCorners, HDC DC, const TRect& ClipRect)
{
    TBitmap* cache = SkinData ? SkinData->FCacheBmp : nullptr;
    if (!cache || cache->GetWidth() == 0 || cache->GetHeight() == 0)
        return;
    if (RepaintCorners)
        PaintControlCorners(SkinData, 0, 15);
    const TSavedDC saved(DC);
    IntersectClipRect(DC, ClipRect.left, ClipRect.top, ClipRect.right, ClipRect.bottom);
    RECT parent{};
    GetWindowRect(Wnd, &parent);
    // The group box's side strips come from the default manager's group-box
    // section; without one only its caption strip is left out.
    const TsMaskData* groupBorder = nullptr;
    if (DefaultManager) {
        const Integer groupIndex = DefaultManager->ConstData.Sections[6];
        if (const TsGeneralData* section = SectionOf(DefaultManager, groupIndex);
            section && DefaultManager->IsValidImgIndex(section->BorderIndex))
            groupBorder = &DefaultManager->ma[section->BorderIndex];
    }
    for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT r{};
        GetWindowRect(child, &r);
        OffsetRect(&r, -parent.left - DX, -parent.top - DY);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const bool groupBox = (style & 7) == 7 && !(GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        if (!groupBox) {
            ExcludeClipRect(DC, r.left, r.top, r.right, r.bottom);
            continue;
        }
        const int caption = static_cast<int>(SendWndCommand(child, SKC_QUERY_MANAGER, 0));
        ExcludeClipRect(DC, r.left, r.top, r.right, r.top + std::max(0, caption));
        if (groupBorder) {
            ExcludeClipRect(DC, r.left, r.top, r.left + groupBorder->WL, r.bottom);
            ExcludeClipRect(DC, r.right - groupBorder->WR, r.top, r.right, r.bottom);
            ExcludeClipRect(DC, r.left, r.bottom - groupBorder->WB, r.right, r.bottom);
        }
    }
    BitBlt(DC, ClipRect.left, ClipRect.top, ClipRect.Width(), ClipRect.Height(), cache->GetCanvas()->GetHandle(),
           SrcRect.left, SrcRect.top, SRCCOPY);
}
