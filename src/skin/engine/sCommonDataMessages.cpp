// The common answers of a skinned window to the library command and to the
// shared window messages, its hover glow and its outer effect.
//
// The command message can come from any process and any thread: a command
// whose lParam is a pointer does nothing for lParam 0, and is refused when
// it was sent from another thread (the pointer would be another address
// space's, or a stack that is not ours).
#include "sCommonData.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include "StdCtrls.h"
#include "acLibraryGlobals.h"
#include "acProviderServices.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include "sSkinImage.h"
#include "sSkinManager.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"
#include <uxtheme.h>
#include <algorithm>

namespace {

bool HasState(const TComponent* Component, TComponentStateItem Item)
{
    return Component && Component->ComponentState().Contains(Item);
}

// A pointer argument this thread may follow.
bool PointerArgument(const TMessage& Message)
{
    return Message.LParam != 0 && !InSendMessage();
}

constexpr UINT FrameChangeFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                                  SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

TWinControl* WinOwner(const TsCommonData& Data)
{
    return dynamic_cast<TWinControl*>(Data.FOwnerControl);
}

HWND WinOwnerHandle(const TsCommonData& Data)
{
    TWinControl* w = WinOwner(Data);
    return w && w->HandleAllocated() ? w->GetHandle() : nullptr;
}

bool CacheEmpty(const TsCommonData& Data)
{
    return !Data.FCacheBmp || Data.FCacheBmp->GetWidth() == 0 || Data.FCacheBmp->GetHeight() == 0;
}

void EmptyCache(TsCommonData& Data)
{
    if (Data.FCacheBmp)
        Data.FCacheBmp->SetSize(0, 0);
}

bool BothFullyTransparent(const TsCommonData& Data)
{
    const TsGeneralData& section = Data.GetSkinManager()->gd[Data.SkinIndex];
    return section.Props[0].Transparency == 100 && section.Props[1].Transparency == 100;
}

// Writes the state's colours into the owner (each only when it differs);
// true when anything changed.
bool WriteStateColors(TsCommonData& Data, int State)
{
    TControl* owner = Data.FOwnerControl;
    const TsGenState& props = Data.GetSkinManager()->gd[Data.SkinIndex].Props[State];
    bool changed = false;
    if (!Data.FCustomColor && owner->GetColor() != props.Color) {
        owner->SetColor(props.Color);
        changed = true;
    }
    if (!Data.FCustomFont && owner->GetFont()->GetColor() != props.FontColor.Color) {
        Data.CtrlSkinState |= 0x2000;
        owner->GetFont()->SetColor(props.FontColor.Color);
        Data.CtrlSkinState &= ~0x2000u;
        changed = true;
    }
    return changed;
}

void HideGlow(TsCommonData& Data, bool Animate)
{
    if (Data.GlowID >= 0 && HideGlowEffectProc)
        HideGlowEffectProc(Data.GlowID, Animate);
}

void SendParentMovedToChildren(TWinControl* Owner)
{
    for (int i = 0; i < Owner->ControlCount(); ++i) {
        TControl* child = Owner->Controls(i);
        if (!HasState(child, csDestroying))
            child->Perform(SkinCommandMessage, SkinCommandWParam(SKC_PARENT_MOVED, 1), 0);
    }
}

LRESULT QueryColor(TsCommonData& Data)
{
    TControl* owner = Data.FOwnerControl;
    if (!Data.Skinned(false))
        return ColorToRGB(owner->GetColor());
    const TsGenState& normal = Data.GetSkinManager()->gd[Data.SkinIndex].Props[0];
    const TColor s = normal.Color;
    const Integer t = normal.Transparency;
    TWinControl* parent = owner->GetParent();
    if (t <= 0)
        return s;
    if (t >= 100) {
        if (!parent)
            return ColorToRGB(owner->GetColor());
        if (parent->HandleAllocated() && HasSkinHandler(parent->GetHandle()))
            return SendWndMessage(parent->GetHandle(), SkinCommandMessage, SkinCommandWParam(SKC_QUERY_COLOR), 0);
        return parent->GetColor();
    }
    // A system colour index answered by an unskinned parent is turned into
    // its colour before the channels are mixed.
    // A parent that does not answer the command gives its own colour.
    Cardinal p;
    if (parent && parent->HandleAllocated() && HasSkinHandler(parent->GetHandle()))
        p = static_cast<Cardinal>(ColorToRGB(static_cast<TColor>(
            SendWndMessage(parent->GetHandle(), SkinCommandMessage, SkinCommandWParam(SKC_QUERY_COLOR), 0))));
    else if (parent)
        p = static_cast<Cardinal>(ColorToRGB(parent->GetColor()));
    else
        p = static_cast<Cardinal>(ColorToRGB(owner->GetColor()));
    const int w = t * 255 / 100;
    const auto sc = static_cast<Cardinal>(s);
    Cardinal result = p & 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int sv = static_cast<int>((sc >> shift) & 0xFF);
        const int pv = static_cast<int>((p >> shift) & 0xFF);
        result |= static_cast<Cardinal>(((sv * 256 + (pv - sv) * w) >> 8) & 0xFF) << shift;
    }
    return static_cast<LRESULT>(result);
}

void StateSectionQuery(TMessage& Message, TsCommonData& Data)
{
    if (!Data.Skinned(false) || !PointerArgument(Message))
        return;
    auto* request = reinterpret_cast<TacStateSectionRequest*>(Message.LParam);
    if (Data.ShowsParentAt(request->State)) {
        request->SkinIndex = Data.SkinIndex;
        if (Data.FOwnerControl)
            Message.Result = QueryParentSkinIndex(Data.FOwnerControl->GetParent(), *request);
        else if (Data.FSWHandle)
            Message.Result = QueryWndParentSkinIndex(GetParent(Data.FSWHandle), *request);
        return;
    }
    request->SkinIndex = Data.SkinIndex;
    Message.Result = 1;
}

void SkinRemoved(TsCommonData& Data)
{
    Data.StopAnimation();
    if (TsSkinManager* manager = Data.GetSkinManager(); manager && HasState(manager, csDestroying))
        Data.FSkinManager = nullptr;
    Data.BorderIndex = -1;
    Data.SkinIndex = -1;
    Data.FUpdating = true;
    EmptyCache(Data);
    TWinControl* winOwner = WinOwner(Data);
    if (!winOwner)
        return;
    if (winOwner->HandleAllocated())
        SetClassLongPtrW(winOwner->GetHandle(), GCLP_HBRBACKGROUND,
                         reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
    if (dynamic_cast<TCustomEdit*>(winOwner)) {
        if (!Data.FCustomColor)
            winOwner->SetColor(clWindow);
        if (!Data.FCustomFont)
            winOwner->GetFont()->SetColor(clWindowText);
        if (winOwner->HandleAllocated())
            RedrawWindow(winOwner->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_FRAME);
        return;
    }
    for (int i = 0; i < winOwner->ControlCount(); ++i)
        if (auto* label = dynamic_cast<TLabel*>(winOwner->Controls(i)))
            label->GetFont()->SetColor(clWindowText);
}

void QueryUpdating(TMessage& Message, TsCommonData& Data)
{
    if (Data.CheckUpdating(false)) {
        Message.Result = 1;
        return;
    }
    if (Data.FCustomColor) {
        Message.Result = 0;
        return;
    }
    TWinControl* winOwner = WinOwner(Data);
    if (!winOwner) {
        Message.Result = 0;
        return;
    }
    if (CacheEmpty(Data) || Data.BGChanged) {
        if (winOwner->HandleAllocated())
            SendWndCommand(winOwner->GetHandle(), SKC_BUILD_CACHE, 0);
        Message.Result = CacheEmpty(Data) ? 1 : 0;
        return;
    }
    Message.Result = Data.FCacheBmp->GetWidth() != winOwner->GetWidth() ||
                             Data.FCacheBmp->GetHeight() != winOwner->GetHeight()
                         ? 1
                         : 0;
}

} // namespace

// ---------------------------------------------------------------------------
bool HandleSkinCommand(TMessage& Message, TsCommonData* SkinData)
{
    if (!SkinData || Message.Msg != SkinCommandMessage)
        return true;
    TsCommonData& data = *SkinData;
    const int command = HIWORD(Message.WParam);
    const Word low = LOWORD(Message.WParam);
    TsSkinManager* manager = data.GetSkinManager();
    const bool fromManager = Message.LParam == reinterpret_cast<LPARAM>(manager);
    TWinControl* winOwner = WinOwner(data);

    switch (command) {
    case SKC_SKIN_LOADED:
        if (fromManager) {
            data.StopAnimation();
            data.ResolveSkinSection();
            const String name = data.FSkinSection;
            data.FindSectionIndex(&name, 0);
            EmptyCache(data);
        }
        return true;
    case SKC_SKIN_REMOVED:
        if (fromManager && data.SkinIndex >= 0)
            SkinRemoved(data);
        return true;
    case SKC_REPAINT_SKIN:
        if (fromManager) {
            data.StopAnimation();
            data.BGChanged = true;
            data.FUpdating = false;
            data.UpdateControlColors(true);
            if (HWND wnd = WinOwnerHandle(data); wnd && IsFrameRepaintKind(data.COC))
                SetWindowPos(wnd, nullptr, 0, 0, 0, 0, FrameChangeFlags);
        }
        return true;
    case SKC_UPDATE_FINISHED:
        if (data.FUpdating && winOwner) {
            if (!data.CheckUpdating(true) && winOwner->HandleAllocated())
                RedrawWindow(winOwner->GetHandle(), nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            RefreshChildControls(winOwner);
        }
        return true;
    case SKC_QUERY_HANDLED:
        Message.Result = 1;
        return true;
    case SKC_SET_UPDATING:
        data.FUpdating = low == 1;
        return true;
    case SKC_QUERY_UPDATING:
        QueryUpdating(Message, data);
        return true;
    case SKC_QUERY_HALF_VISIBLE:
        Message.Result = data.HalfVisible ? 1 : 0;
        return true;
    case SKC_SECTION_CHANGED:
        if (PointerArgument(Message) &&
            AnsiUpperCase(data.FSkinSection) == String(reinterpret_cast<const wchar_t*>(Message.LParam)))
            data.Invalidate(false);
        return true;
    case SKC_SET_SECTION:
        if (PointerArgument(Message)) {
            data.SetSkinSection(*reinterpret_cast<const String*>(Message.LParam));
            Message.Result = 1;
        } else {
            Message.Result = 0;
        }
        return true;
    case SKC_RELOAD_DATA:
        data.StopAnimation();
        return true;
    case SKC_BG_INVALID:
        data.BGChanged = true;
        return true;
    case SKC_REPAINT:
        data.Invalidate(false);
        return true;
    case SKC_QUERY_COMPLEX_BG:
        Message.Result = data.ChildRepaintNeeded() ? 1 : 0;
        return true;
    case SKC_PARENT_MOVED: {
        const bool moved = data.RepaintIfMoved();
        data.BGChanged = data.BGChanged || moved;
        data.StopAnimation();
        if (winOwner) {
            if (low == 1 && winOwner->HandleAllocated())
                RedrawWindow(winOwner->GetHandle(), nullptr, nullptr,
                             RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
            if (moved)
                SendParentMovedToChildren(winOwner);
        }
        return true;
    }
    case SKC_QUERY_COLOR:
        if (data.FOwnerControl)
            Message.Result = QueryColor(data);
        return true;
    case SKC_SET_HALF_VISIBLE:
        data.HalfVisible = true;
        return true;
    case SKC_BUILD_CACHE:
        data.BGChanged = false;
        return true;
    case SKC_FILL_SKIN_INDEX:
        if (PointerArgument(Message))
            reinterpret_cast<Integer*>(Message.LParam)[1] = data.SkinIndex;
        else
            Message.Result = 0;
        return true;
    case SKC_DROP_CACHES:
        if (data.FCacheBmp) {
            if (winOwner)
                for (int i = 0; i < winOwner->ControlCount(); ++i)
                    if (auto* child = dynamic_cast<TWinControl*>(winOwner->Controls(i)); child && child->HandleAllocated())
                        SendWndCommand(child->GetHandle(), SKC_DROP_CACHES, 0);
            EmptyCache(data);
            data.BGChanged = true;
        }
        return true;
    case SKC_QUERY_BACKGROUND:
        if (PointerArgument(Message)) {
            const int state = data.FFocused || (data.FMouseAbove && !IsNoGlowKind(data.COC)) ? 1 : 0;
            data.AnswerBGRequest(*reinterpret_cast<TacBGRequest*>(Message.LParam), state, data.OwnerHandle());
        } else {
            Message.Result = 0;
        }
        return true;
    case SKC_FONTS_CHANGED:
        if (fromManager) {
            data.BGChanged = true;
            TControl* c = data.FOwnerControl;
            if (auto* provider = dynamic_cast<TsSkinProvider*>(data.FOwnerObject))
                c = provider->Form;
            if (c && manager) {
                manager->UpdateFontName(c);
                if (auto* w = dynamic_cast<TWinControl*>(c))
                    BroadcastToChildren(w, Message);
            }
        }
        return true;
    case SKC_QUERY_SKIN_DATA:
        Message.Result = reinterpret_cast<LRESULT>(&data);
        return true;
    case SKC_SET_PRINTING:
        if (Message.LParam)
            data.CtrlSkinState |= 0x200;
        else
            data.CtrlSkinState &= ~0x200u;
        data.PrintDC = reinterpret_cast<HDC>(Message.LParam);
        return true;
    case SKC_PAINT_OUTER_EFFECT:
        if (PointerArgument(Message))
            data.PaintOuterEffect(*reinterpret_cast<const TacBGRequest*>(Message.LParam), low);
        else
            Message.Result = 0;
        return true;
    case SKC_SCROLLBARS_CHANGED:
        if (winOwner) {
            if (winOwner->HandleAllocated())
                SetWindowPos(winOwner->GetHandle(), nullptr, 0, 0, 0, 0, FrameChangeFlags);
            BroadcastToChildren(winOwner, Message);
        }
        return true;
    case SKC_QUERY_APPLICATION:
        Message.Result = reinterpret_cast<LRESULT>(Application);
        return true;
    case SKC_QUERY_STATE_SECTION:
        StateSectionQuery(Message, data);
        return true;
    case SKC_SET_SCALE:
        data.ScalePercent = static_cast<Integer>(Message.LParam);
        if (winOwner)
            BroadcastToChildren(winOwner, Message);
        return false;
    case SKC_QUERY_SCALE:
        Message.Result = data.ScalePercent;
        return true;
    case SKC_QUERY_BOUNDS:
        if (PointerArgument(Message))
            *reinterpret_cast<RECT*>(Message.LParam) = data.FOwnerControl ? data.FOwnerControl->GetBoundsRect() : RECT{};
        else
            Message.Result = 0;
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
namespace {

bool CanTakeFocusHere(const TsCommonData& Data)
{
    TWinControl* w = WinOwner(Data);
    return w && w->CanFocus() && w->GetTabStop();
}

void SetFocusColors(TsCommonData& Data)
{
    if (!Data.Skinned(false) || !CanTakeFocusHere(Data) || BothFullyTransparent(Data))
        return;
    Data.BGChanged = true;
    Data.FFocused = true;
    const TsGeneralData& section = Data.GetSkinManager()->gd[Data.SkinIndex];
    HWND wnd = WinOwnerHandle(Data);
    if (IsEditKind(Data.COC) && section.States > 1) {
        if (WriteStateColors(Data, 1) && wnd)
            RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (wnd)
            SendWndMessage(wnd, WM_NCPAINT, 0, 0);
    }
}

// Back to the normal colours once neither focus nor hover holds the hot ones.
void RestoreNormalColors(TsCommonData& Data, bool Invalidate)
{
    bool changed = false;
    if (IsEditKind(Data.COC) && Data.GetHotState() == 0 && !BothFullyTransparent(Data))
        changed = WriteStateColors(Data, 0);
    HWND wnd = WinOwnerHandle(Data);
    if (Data.FOwnerControl->GetVisible() && IsEditKind(Data.COC) && wnd) {
        Data.BGChanged = true;
        if (changed) {
            if (Invalidate)
                InvalidateRect(wnd, nullptr, TRUE);
            else
                RedrawWindow(wnd, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        SendWndMessage(wnd, WM_NCPAINT, 0, 0);
    }
}

void MouseEnter(TsCommonData& Data)
{
    if (!Data.Skinned(false) || Data.FMouseAbove)
        return;
    TsSkinManager* manager = Data.GetSkinManager();
    TWinControl* winOwner = WinOwner(Data);
    HWND wnd = WinOwnerHandle(Data);
    if (!HasState(manager, csDesigning) && !manager->Options.NoMouseHover && !BothFullyTransparent(Data) &&
        winOwner && !HasState(winOwner, csDesigning)) {
        if (!IsNoHoverKind(Data.COC))
            Data.FMouseAbove = true;
        if (DefaultManager && wnd)
            DefaultManager->SetActiveControl(wnd);
        if (!IsNoGlowKind(Data.COC) && !IsOwnGlowKind(Data.COC))
            Data.UpdateGlow(false, wnd, -1, true, manager->Effects()->AllowAnimation ? 0 : 255);
        const TsGeneralData& section = manager->gd[Data.SkinIndex];
        if (IsHoverEditKind(Data.COC) && HoverEditColors && section.States > 1) {
            Data.BGChanged = true;
            if (WriteStateColors(Data, 1) && wnd)
                InvalidateRect(wnd, nullptr, TRUE);
            if (wnd)
                SendWndMessage(wnd, WM_NCPAINT, 0, 0);
        }
        return;
    }
    if (DefaultManager && wnd)
        DefaultManager->SetActiveControl(wnd);
    if (!IsNoHoverKind(Data.COC))
        Data.FMouseAbove = true;
}

void MouseLeave(TsCommonData& Data)
{
    if (!Data.Skinned(false) || !Data.FOwnerControl)
        return;
    TsSkinManager* manager = Data.GetSkinManager();
    if (manager->Options.NoMouseHover || HasState(manager, csDesigning) || Data.IsMouseInside())
        return;
    if (!IsNoHoverKind(Data.COC))
        Data.FMouseAbove = false;
    if (!IsNoGlowKind(Data.COC) && !IsOwnGlowKind(Data.COC))
        HideGlow(Data, true);
    RestoreNormalColors(Data, true);
}

} // namespace

bool HandleSkinMessage(TMessage& Message, TsCommonData* SkinData)
{
    if (!SkinData)
        return false;
    TsCommonData& data = *SkinData;
    TWinControl* winOwner = WinOwner(data);
    switch (Message.Msg) {
    case SkinCommandMessage:
        return HandleSkinCommand(Message, SkinData);
    case WM_CREATE:
    case WM_NCCREATE:
        data.InitCommonProp();
        return false;
    case WM_MOVE:
        if (data.Skinned(false)) {
            if (data.OuterEffectsAllowed())
                data.RebuildParentCache();
            if (data.RepaintIfMoved()) {
                data.BGChanged = true;
                if (data.FOwnerControl)
                    data.FOwnerControl->Perform(SkinCommandMessage, SkinCommandWParam(SKC_PARENT_MOVED, 1), 0);
            }
            HideGlow(data, false);
        }
        return false;
    case WM_SIZE:
        if (data.Skinned(false)) {
            data.BGChanged = true;
            if (data.OuterEffectsAllowed())
                data.RebuildParentCache();
            if (data.BGNeedsRepaintOnSize()) {
                if (winOwner)
                    SendParentMovedToChildren(winOwner);
                data.CtrlSkinState &= ~(0x8000u | 0x10000u);
            }
            if (!data.IsAnimating())
                HideGlow(data, false);
        }
        return false;
    case WM_WINDOWPOSCHANGING: {
        RECT r{};
        HWND wnd = data.OwnerHandle();
        if (wnd && Message.LParam && GetWindowRect(wnd, &r)) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
            if (!(pos->flags & SWP_NOSIZE)) {
                if (pos->cx != r.right - r.left)
                    data.CtrlSkinState |= 0x8000;
                if (pos->cy != r.bottom - r.top)
                    data.CtrlSkinState |= 0x10000;
            }
        }
        return false;
    }
    case WM_SETFOCUS:
        SetFocusColors(data);
        return false;
    case WM_KILLFOCUS:
        if (data.Skinned(false) && CanTakeFocusHere(data) && !BothFullyTransparent(data)) {
            data.BGChanged = true;
            data.FFocused = false;
            RestoreNormalColors(data, false);
        }
        return false;
    case WM_SHOWWINDOW:
        data.StopAnimation();
        return false;
    case WM_FONTCHANGE:
    case CM_ENABLEDCHANGED:
        data.FMouseAbove = false;
        data.FFocused = false;
        data.BGChanged = true;
        if (data.FOwnerControl && !data.FOwnerControl->GetEnabled())
            HideGlow(data, false);
        return false;
    case WM_UPDATEUISTATE:
        if (data.Skinned(false))
            return true;
        if (PlatformProbe().ThemeActive && winOwner && winOwner->HandleAllocated())
            SetWindowTheme(winOwner->GetHandle(), nullptr, nullptr);
        return false;
    case WM_PARENTNOTIFY:
        if (winOwner && LOWORD(Message.WParam) == WM_CREATE)
            RequestControlAdapter(winOwner);
        return false;
    case WM_PRINT:
        if (!data.Skinned(false) && Message.WParam && winOwner && winOwner->HandleAllocated()) {
            const bool edge = GetWindowLongW(winOwner->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE;
            PaintGraphicControlsToDC(reinterpret_cast<HDC>(Message.WParam), winOwner,
                                     edge ? TPoint(2, 2) : TPoint(0, 0), true);
            return true;
        }
        return false;
    case CM_VISIBLECHANGED: {
        if (Message.WParam == 0)
            HideGlow(data, false);
        TsSkinManager* manager = data.GetSkinManager();
        if (!manager || manager->Options.OptimizingPriority != opMemory || !data.FOwnerControl ||
            HasState(data.FOwnerControl, csDestroying) || !data.FCacheBmp)
            return false;
        if (Message.WParam) {
            data.FUpdating = false;
        } else {
            data.FCacheBmp->SetSize(0, 0);
            if (winOwner)
                for (int i = 0; i < winOwner->ControlCount(); ++i) {
                    TControl* child = winOwner->Controls(i);
                    if (auto* w = dynamic_cast<TWinControl*>(child); w && w->HandleAllocated())
                        SendWndCommand(w->GetHandle(), SKC_DROP_CACHES, 0);
                    else if (!dynamic_cast<TWinControl*>(child))
                        child->Perform(SkinCommandMessage, SkinCommandWParam(SKC_DROP_CACHES), 0);
                }
        }
        data.BGChanged = true;
        return false;
    }
    case CM_MOUSEENTER:
        MouseEnter(data);
        return false;
    case CM_MOUSELEAVE:
        MouseLeave(data);
        return false;
    case CM_SHOWINGCHANGED:
        if (data.FOwnerControl && data.FOwnerControl->GetVisible())
            data.Loaded(true);
        return false;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
void TsCommonData::UpdateGlow(bool HideOnly, HWND Wnd, Integer ASkinIndex, bool Animate, Byte Alpha)
{
    TsSkinManager* manager = GetSkinManager();
    const Integer index = ASkinIndex < 0 ? SkinIndex : ASkinIndex;
    if (!manager || !manager->Effects()->AllowGlowing || !manager->IsValidSkinIndex(index) ||
        manager->Options.NoMouseHover || GetCapture() || manager->gd[index].GlowCount < 1)
        return;
    const TsGeneralData& section = manager->gd[index];
    if (!FOwnerControl) {
        if (!Wnd)
            return;
        if (FMouseAbove && !HideOnly) {
            if (GlowID >= 0 || !ShowGlowEffectProc)
                return;
            RECT clip{};
            {
                const TWindowDC dc(Wnd, true);
                GetClipBox(dc.Get(), &clip);
            }
            RECT window{};
            GetWindowRect(Wnd, &window);
            OffsetRect(&clip, window.left, window.top);
            GlowID = ShowGlowEffectProc(TRect(clip), FSkinSection, L"GLOW", section.GlowMargin, Alpha,
                                        GetAncestor(Wnd, GA_ROOT), this);
        } else {
            HideGlow(*this, false);
        }
        return;
    }
    if (!FMouseAbove) {
        HideGlow(*this, Animate);
        return;
    }
    if (FOwnerControl->ControlState.Contains(csLButtonDown))
        return;
    if (HideOnly && GlowID >= 0)
        return;
    TCustomForm* form = GetParentForm(FOwnerControl);
    if (!form)
        return;
    if (!manager->Effects()->AllowAnimation)
        Animate = false;
    if (Animate)
        Alpha = 0;
    const bool wasShown = GlowID >= 0;
    if (!wasShown && ShowGlowEffectProc) {
        HWND parentWnd = form->GetParent() && form->GetParent()->HandleAllocated() ? form->GetParent()->GetHandle()
                                                                                  : form->GetHandle();
        if (auto* winControl = dynamic_cast<TWinControl*>(FOwnerControl); winControl && winControl->HandleAllocated()) {
            HWND wnd = winControl->GetHandle();
            RECT window{}, clip{};
            GetWindowRect(wnd, &window);
            {
                const TWindowDC dc(wnd, true);
                GetClipBox(dc.Get(), &clip);
            }
            OffsetRect(&clip, window.left, window.top);
            RECT r{};
            IntersectRect(&r, &window, &clip);
            GlowID = ShowGlowEffectProc(TRect(r), section.ClassName, L"GLOW", section.GlowMargin, Alpha, parentWnd,
                                        this);
        } else if (TWinControl* parent = FOwnerControl->GetParent(); parent && parent->HandleAllocated()) {
            RECT bounds = FOwnerControl->GetBoundsRect();
            MapWindowPoints(parent->GetHandle(), nullptr, reinterpret_cast<POINT*>(&bounds), 2);
            RECT clip{};
            GetClientRect(parent->GetHandle(), &clip);
            MapWindowPoints(parent->GetHandle(), nullptr, reinterpret_cast<POINT*>(&clip), 2);
            RECT r{};
            IntersectRect(&r, &bounds, &clip);
            GlowID = ShowGlowEffectProc(TRect(r), FSkinSection, L"GLOW", section.GlowMargin, Alpha, parentWnd, this);
        }
    }
    if (Animate && GlowID >= 0 && StartGlowFadeProc) {
        BGChanged = false;
        StartGlowFadeProc(this);
        if (AnimTimer)
            AnimTimer->ThreadType = 1;
    }
}

void TsCommonData::PaintOuterEffect(const TacBGRequest& Request, Word Flags)
{
    TsSkinManager* manager = GetSkinManager();
    if (!Skinned(false) || !FOuterEffects || FOuterEffects->FVisibility != ovAlways)
        return;
    const TsGeneralData& section = manager->gd[SkinIndex];
    if (section.OuterMode < 1)
        return;
    Integer mask;
    TRect margins;
    Integer opacity;
    if (section.OuterMask >= 0) {
        mask = section.OuterMask;
        margins = section.OuterOffset;
        opacity = section.OuterOpacity;
    } else {
        const std::size_t entry = static_cast<std::size_t>(section.OuterMode - 1);
        if (entry >= manager->oe.size() || manager->oe[entry].Source == 0)
            return;
        const TacOutEffData& effect = manager->oe[entry];
        mask = effect.Mask;
        margins = TRect(effect.OffsetL, effect.OffsetT, effect.OffsetR, effect.OffsetB);
        opacity = effect.Opacity;
    }
    if (!manager->IsValidImgIndex(mask))
        return;
    TBitmap* target = Request.Bmp;
    TControl* control = FOwnerControl;
    if (auto* provider = dynamic_cast<TsSkinProvider*>(FOwnerObject))
        control = provider->Form;
    if (!target || !control)
        return;
    RECT bounds = control->GetBoundsRect();
    OffsetRect(&bounds, Request.Offset.x, Request.Offset.y);
    const TRect e(bounds.left - margins.left, bounds.top - margins.top, bounds.right + margins.right,
                  bounds.bottom + margins.bottom);
    if (e.Width() <= 0 || e.Height() <= 0)
        return;
    const TsMaskData& image = manager->ma[mask];
    const Byte alpha = static_cast<Byte>(std::clamp(opacity, 0, 255));
    TCacheInfo info;
    if ((Flags & 0x100) && FOuterCache) {
        // The old outer cache holds the background saved last time; the new
        // one saves what lies under the effect now.
        TOwned<TBitmap> old(FOuterCache);
        FOuterCache = MakeBitmap32(e.Width(), e.Height());
        BitBlt(FOuterCache->GetCanvas()->GetHandle(), 0, 0, e.Width(), e.Height(), target->GetCanvas()->GetHandle(),
               e.left, e.top, SRCCOPY);
        PaintSkinImageWithMargins(old.get(), TRect(0, 0, FOuterCache->GetWidth(), FOuterCache->GetHeight()), info,
                                  image, 0, margins, alpha);
        BitBlt(target->GetCanvas()->GetHandle(), e.left, e.top, old->GetWidth(), old->GetHeight(),
               old->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
        return;
    }
    if (!FOuterCache)
        FOuterCache = MakeBitmap32(e.Width(), e.Height());
    else
        FOuterCache->SetSize(e.Width(), e.Height());
    BitBlt(FOuterCache->GetCanvas()->GetHandle(), 0, 0, e.Width(), e.Height(), target->GetCanvas()->GetHandle(),
           e.left, e.top, SRCCOPY);
    PaintSkinImageWithMargins(target, e, info, image, 0, margins, alpha);
}

void TsCommonData::PaintOuterEffects(TWinControl* OwnerCtrl, const TPoint& Offset)
{
    TsSkinManager* manager = GetSkinManager();
    if (!OwnerCtrl || !Skinned(false) || !manager->Effects()->GetBoolProp(0))
        return;
    TacBGRequest request;
    request.Bmp = FCacheBmp;
    request.Offset = Offset;
    for (int i = 0; i < OwnerCtrl->ControlCount(); ++i) {
        TControl* child = OwnerCtrl->Controls(i);
        if (IsControlReady(child) && child->GetVisible())
            SendControlMessage(child, SkinCommandMessage, SkinCommandWParam(SKC_PAINT_OUTER_EFFECT),
                               reinterpret_cast<LPARAM>(&request));
    }
}

// ---------------------------------------------------------------------------
namespace {

int ResolveParentSkinIndexBridge(TControl* Control, int SkinIndex, TsSkinManager* Manager, int State)
{
    return EngineResolveParentSkinIndex(Control, SkinIndex, Manager, State);
}

} // namespace

void sCommonData_Initialize()
{
    ResolveParentSkinIndexProc = ResolveParentSkinIndexBridge;
}

void sCommonData_Finalize()
{
    ResolveParentSkinIndexProc = nullptr;
}
