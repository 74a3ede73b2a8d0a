#include "sVclUtils.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "acntUtils.h"
#include "sGraphUtils.h"
#include <utility>
#include <vector>

bool SkinChangeAnimating = false;
TBroadcastFilter BroadcastChildFilter = nullptr;

namespace {

bool IsGoing(const TComponent* Component)
{
    return Component->ComponentState().Contains(csDestroying);
}

// Clears a flag on every way out.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& Flag) : flag_(Flag) { flag_ = true; }
    ~TFlagGuard() { flag_ = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& flag_;
};

bool paintingGraphicControls = false;

} // namespace

// ---------------------------------------------------------------------------
LRESULT SendWndMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TsCommonData* data = GetWndSkinData(Wnd);
    if (data && data->WndProc) {
        TMessage message{Msg, WParam, LParam, 0};
        data->WndProc(message);
        return message.Result;
    }
    return SendMessageW(Wnd, Msg, WParam, LParam);
}

LRESULT SendControlMessage(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (!Control)
        return 0;
    auto* winControl = dynamic_cast<TWinControl*>(Control);
    if (!winControl)
        return Control->Perform(Msg, WParam, LParam);
    if (IsGoing(winControl) || !winControl->HandleAllocated())
        return 0;
    return SendWndMessage(winControl->GetHandle(), Msg, WParam, LParam);
}

LRESULT SendWndCommand(HWND Wnd, int Command, LPARAM LParam)
{
    return SendWndMessage(Wnd, SkinCommandMessage, SkinCommandWParam(Command), LParam);
}

LRESULT SendControlCommand(TControl* Control, int Command, LPARAM LParam)
{
    return SendControlMessage(Control, SkinCommandMessage, SkinCommandWParam(Command), LParam);
}

LRESULT QueryControlCommand(TControl* Control, int Command)
{
    return SendControlCommand(Control, Command, 0);
}

bool QueryWndCommand(HWND Wnd, int Command)
{
    return SendWndCommand(Wnd, Command, 0) == 1;
}

void SetWindowRedraw(HWND Wnd, WPARAM Redraw)
{
    SendWndMessage(Wnd, WM_SETREDRAW, Redraw, 0);
}

// ---------------------------------------------------------------------------
void RefreshChildControls(TWinControl* Parent)
{
    if (!Parent || Parent->ComponentState().Contains(csDesigning) || SkinChangeAnimating)
        return;
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* child = Parent->Controls(i);
        if (IsGoing(child))
            continue;
        if (auto* winChild = dynamic_cast<TWinControl*>(child)) {
            if (winChild->HandleAllocated() && winChild->Showing())
                SendWndCommand(winChild->GetHandle(), SKC_UPDATE_FINISHED, 0);
        } else {
            child->Perform(SkinCommandMessage, SkinCommandWParam(SKC_UPDATE_FINISHED), 0);
        }
    }
}

void RefreshChildWindows(HWND ParentWnd)
{
    for (HWND child = GetTopWindow(ParentWnd); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongW(child, GWL_STYLE) & WS_CHILD)
            SendWndCommand(child, SKC_UPDATE_FINISHED, 0);
}

void BroadcastToChildren(TWinControl* Parent, TMessage& Message)
{
    if (!Parent)
        return;
    // The count is read at every step: a handler may add or remove children.
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* child = Parent->Controls(i);
        if (IsGoing(child))
            return;
        auto* winChild = dynamic_cast<TWinControl*>(child);
        if (!winChild || !winChild->HandleAllocated()) {
            Message.Result = child->Perform(Message.Msg, Message.WParam, Message.LParam);
            continue;
        }
        HWND wnd = winChild->GetHandle();
        Message.Result = SendWndMessage(wnd, Message.Msg, Message.WParam, Message.LParam);
        if (!HasSkinHandler(wnd) && !(BroadcastChildFilter && BroadcastChildFilter(winChild)))
            BroadcastToChildren(winChild, Message);
    }
}

namespace {

struct TChildWindowsBroadcast {
    HWND Parent;
    const TMessage* Message;
};

BOOL CALLBACK SendToDirectChild(HWND Wnd, LPARAM Param)
{
    auto* broadcast = reinterpret_cast<TChildWindowsBroadcast*>(Param);
    if (GetParent(Wnd) == broadcast->Parent)
        SendWndMessage(Wnd, broadcast->Message->Msg, broadcast->Message->WParam, broadcast->Message->LParam);
    return TRUE;
}

} // namespace

void BroadcastToChildWindows(HWND ParentWnd, const TMessage& Message)
{
    TChildWindowsBroadcast broadcast{ParentWnd, &Message};
    EnumChildWindows(ParentWnd, SendToDirectChild, reinterpret_cast<LPARAM>(&broadcast));
}

// ---------------------------------------------------------------------------
TColor GetControlColor(TControl* Control)
{
    if (!Control)
        return clFuchsia;
    if (IsControlSkinned(Control))
        return ColorToRGB(static_cast<TColor>(
            Control->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_COLOR), clFuchsia)));
    return ColorToRGB(Control->GetColor());
}

TColor GetWindowColor(HWND Wnd)
{
    if (!Wnd)
        return clFuchsia;
    return ColorToRGB(static_cast<TColor>(
        SendWndMessage(Wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_COLOR), clFuchsia)));
}

// ---------------------------------------------------------------------------
bool IsControlReady(TControl* Control)
{
    if (!Control || !Control->GetParent())
        return false;
    if (auto* winControl = dynamic_cast<TWinControl*>(Control); winControl && !winControl->HandleAllocated())
        return false;
    TComponentState state = Control->ComponentState();
    return !state.Contains(csLoading) && !state.Contains(csDestroying) &&
           !Control->ControlState.Contains(csReadingState) && !Control->ControlState.Contains(csCreating);
}

TCustomForm* FindOwnerForm(TComponent* Component)
{
    for (TComponent* c = Component; c; c = c->GetOwner())
        if (auto* form = dynamic_cast<TCustomForm*>(c))
            return form;
    return nullptr;
}

UINT TextFlagsForAlignment(TControl* Control, TAlignment Alignment)
{
    // The class library here reads left to right only, so the control's
    // bidirectional mode adds nothing.
    (void)Control;
    static constexpr UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    return alignments[Alignment] | DT_EXPANDTABS | DT_VCENTER;
}

void GetClientRectInWindow(HWND Wnd, TRect& R)
{
    GetClientRect(Wnd, &R);
    POINT origin{0, 0};
    ClientToScreen(Wnd, &origin);
    RECT window{};
    GetWindowRect(Wnd, &window);
    OffsetRect(&R, origin.x - window.left, origin.y - window.top);
}

void GetWndClassName(HWND Wnd, String& Name)
{
    wchar_t buffer[129] = {};
    int length = GetClassNameW(Wnd, buffer, 129);
    Name.assign(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool FontNeedsStoring(TControl* Control, TFont* Font, bool CompareColor)
{
    TOwned<TFont> reference(New<TFont>());
    if (Control && Control->GetParent()) {
        reference->Assign(Control->GetParent()->GetFont());
        if (!CompareColor)
            reference->SetColor(Control->GetFont()->GetColor());
    } else if (!CompareColor) {
        reference->SetColor(Font->GetColor());
    }
    return Font->GetStyle() != reference->GetStyle() || Font->GetSize() != reference->GetSize() ||
           Font->GetColor() != reference->GetColor() || Font->GetName() != reference->GetName();
}

// ---------------------------------------------------------------------------
namespace {

bool IsPaintableChild(HDC DC, TControl* Child, const TPoint& Offset)
{
    if (!dynamic_cast<TGraphicControl*>(Child) || IsGoing(Child))
        return false;
    if (!Child->GetVisible() && !Child->ComponentState().Contains(csDesigning))
        return false;
    if (Child->GetWidth() <= 0 || Child->GetHeight() <= 0 || Child->ControlStyle.Contains(csNoDesignVisible))
        return false;
    RECT bounds = Child->GetBoundsRect();
    // The child lands at its bounds moved by Offset: that is the part of DC to test.
    OffsetRect(&bounds, Offset.x, Offset.y);
    return RectVisible(DC, &bounds) != FALSE;
}

// The parent's background under one child, into the memory DC.
void LayBackground(HDC MemDC, TControl* Child, const TacBGRequest& Request)
{
    TRect r = Child->GetBoundsRect();
    if (Child->ControlStyle.Contains(csOpaque)) {
        PaintSolidRect(MemDC, r, GetControlColor(Child));
        return;
    }
    if (!Request.Bmp) {
        PaintSolidRect(MemDC, r, Request.Color);
        return;
    }
    HDC imageDC = Request.Bmp->GetCanvas()->GetHandle();
    const int dx = Request.Offset.x, dy = Request.Offset.y;
    if (Request.BgKind == bgImage) {
        BitBlt(MemDC, r.left, r.top, r.Width(), r.Height(), imageDC, r.left + dx, r.top + dy, SRCCOPY);
        return;
    }
    // An image that is not ready holds real content only in its border strips.
    PaintSolidRect(MemDC, r, Request.Color);
    const int w = Request.Bmp->GetWidth(), h = Request.Bmp->GetHeight();
    const TRect& fill = Request.FillRect;
    const TRect inImage = OffsetRectCopy(r, dx, dy);
    const TRect strips[] = {
        {inImage.left, inImage.top, inImage.right, fill.top},
        {inImage.left, inImage.top, fill.left, inImage.bottom},
        {inImage.left, h - fill.bottom, inImage.right, inImage.bottom},
        {w - fill.right, inImage.top, inImage.right, inImage.bottom},
    };
    for (const TRect& strip : strips) {
        TRect part;
        if (IntersectRect(&part, &strip, &inImage))
            BitBlt(MemDC, part.left - dx, part.top - dy, part.Width(), part.Height(), imageDC, part.left,
                   part.top, SRCCOPY);
    }
}

void PaintChild(HDC MemDC, TWinControl* Parent, TControl* Child)
{
    TSavedDC saved(MemDC);
    POINT origin{};
    GetWindowOrgEx(MemDC, &origin);
    SetWindowOrgEx(MemDC, origin.x - Child->GetLeft(), origin.y - Child->GetTop(), nullptr);
    IntersectClipRect(MemDC, 0, 0, Child->GetWidth(), Child->GetHeight());
    const bool lend = Parent->ControlState.Contains(csCustomPaint) && !Child->ControlState.Contains(csCustomPaint);
    if (lend)
        Child->ControlState << csCustomPaint;
    struct TTakeBack {
        TControl* Child;
        bool Lent;
        ~TTakeBack()
        {
            if (Lent)
                Child->ControlState >> csCustomPaint;
        }
    } takeBack{Child, lend};
    Child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(MemDC), 0);
}

} // namespace

void PaintGraphicControlsToDC(HDC DC, TWinControl* Parent, const TPoint& Offset, bool OnlyIfVisible)
{
    if (paintingGraphicControls || !Parent)
        return;
    TFlagGuard guard(paintingGraphicControls);
    if (OnlyIfVisible && !Parent->GetVisible() && !Parent->ComponentState().Contains(csDesigning))
        return;
    if (Parent->ControlCount() == 0)
        return;
    RECT clip{};
    int clipKind = GetClipBox(DC, &clip);
    if (clipKind == NULLREGION || IsRectEmpty(&clip)) {
        SendControlCommand(Parent, SKC_SET_HALF_VISIBLE, 0);
        return;
    }
    TacBGRequest request;
    GetControlBGInfo(request, Parent, false);

    auto* form = dynamic_cast<TCustomForm*>(Parent);
    const bool mdiMain = form && form->GetFormStyle() == fsMDIForm;
    std::vector<TControl*> paintable;
    // The DC goes first, letting go of the bitmap selected into it.
    TBitmapHandle bitmap;
    TMemoryDC memDC;
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* child = Parent->Controls(i);
        if (!IsPaintableChild(DC, child, Offset))
            continue;
        if (mdiMain && child->GetAlign() != alNone)
            child->Perform(SkinCommandMessage, SkinCommandWParam(SKC_REPAINT), 0);
        if (paintable.empty()) {
            TWindowDC screen(nullptr);
            bitmap.Reset(CreateCompatibleBitmap(screen.Get(), Parent->GetWidth(), Parent->GetHeight()));
            if (!bitmap || !memDC)
                return;
            SelectObject(memDC.Get(), bitmap.Get());
            for (int j = i; j < Parent->ControlCount(); ++j) {
                TControl* later = Parent->Controls(j);
                if (IsPaintableChild(DC, later, Offset))
                    LayBackground(memDC.Get(), later, request);
            }
        }
        paintable.push_back(child);
        PaintChild(memDC.Get(), Parent, child);
    }
    for (TControl* child : paintable) {
        // A child that left its area transparent keeps what DC shows.
        if (GetPixel(memDC.Get(), child->GetLeft(), child->GetTop()) == 0xFF00FF)
            continue;
        BitBlt(DC, child->GetLeft() + Offset.x, child->GetTop() + Offset.y, child->GetWidth(), child->GetHeight(),
               memDC.Get(), child->GetLeft(), child->GetTop(), SRCCOPY);
    }
}

// ---------------------------------------------------------------------------
namespace {

// Steps shared by both requests: the asker's origin moved so that the
// answerer paints R where the asker wants it.
template <class Send>
void DrawBackgroundInto(TacBGRequest& Request, Send SendPaint)
{
    TSavedDC saved(Request.DrawDC);
    OffsetViewportOrgEx(Request.DrawDC, -Request.Offset.x, -Request.Offset.y, nullptr);
    OffsetRect(&Request.R, Request.Offset.x, Request.Offset.y);
    IntersectClipRect(Request.DrawDC, Request.R.left, Request.R.top, Request.R.right, Request.R.bottom);
    SendPaint(WM_ERASEBKGND, reinterpret_cast<WPARAM>(Request.DrawDC));
    SendPaint(WM_PAINT, reinterpret_cast<WPARAM>(Request.DrawDC));
}

} // namespace

bool GetWindowBGInfo(TacBGRequest& Request, HWND Wnd, bool PleaseDraw)
{
    Request.BgKind = bgNone;
    Request.PleaseDraw = PleaseDraw;
    Request.FillRect = TRect();
    SendWndCommand(Wnd, SKC_QUERY_BACKGROUND, reinterpret_cast<LPARAM>(&Request));
    if (Request.BgKind != bgNone)
        return true;
    if (PleaseDraw) {
        DrawBackgroundInto(Request, [Wnd](UINT msg, WPARAM dc) { SendMessageW(Wnd, msg, dc, 0); });
        return false;
    }
    TsSkinManager* manager = DefaultManager;
    Request.Color = manager && manager->CommonSkinData.Active ? manager->GetGlobalColor() : clBtnFace;
    Request.BgKind = bgColor;
    return false;
}

bool GetControlBGInfo(TacBGRequest& Request, TControl* Control, bool PleaseDraw)
{
    Request.Bmp = nullptr;
    Request.BgKind = bgNone;
    Request.PleaseDraw = PleaseDraw;
    Request.FillRect = TRect();
    SendControlCommand(Control, SKC_QUERY_BACKGROUND, reinterpret_cast<LPARAM>(&Request));
    if (Request.BgKind != bgNone)
        return true;
    if (PleaseDraw) {
        DrawBackgroundInto(Request, [Control](UINT msg, WPARAM dc) { Control->Perform(msg, dc, 0); });
    } else {
        Request.BgKind = bgColor;
        auto answer = static_cast<TColor>(Control->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_COLOR), 0));
        Request.Color = answer != 0 ? answer : ColorToRGB(Control->GetColor());
    }
    return true;
}

TCacheInfo BGInfoToCacheInfo(const TacBGRequest& Request)
{
    if (Request.BgKind == bgImage)
        return MakeCacheInfo(Request.Bmp, Request.Offset.x, Request.Offset.y);
    TCacheInfo info;
    info.Bmp = Request.Bmp;
    info.X = Request.Offset.x;
    info.Y = Request.Offset.y;
    info.Ready = false;
    info.FillColor = ColorToRGB(Request.Color);
    info.FillRect = Request.FillRect;
    return info;
}
