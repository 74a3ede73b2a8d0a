#include "sWindowHelpers.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include "ProcBinding.h"
#include "ScopeExit.h"
#include "UniqueHandle.h"
#include "acntUtils.h"
#include "sAlphaGraph.h"
#include "sVclUtils.h"
#include <algorithm>

TSetWindowTheme SetWindowThemeProc = nullptr;
TRects SkinChangeRects;

namespace {

TModuleHandle uxTheme;

using TAnimateWindow = BOOL(WINAPI*)(HWND, DWORD, DWORD);
TAnimateWindow animateWindowProc = nullptr;

TWinControl* AsWinControl(TControl* Control) { return dynamic_cast<TWinControl*>(Control); }

bool InDesignOrLoading(const TControl* Control)
{
    const TComponentState state = Control->ComponentState();
    return state.Contains(csLoading) || state.Contains(csDesigning);
}

// The title section's normal or hot state, when the skin has that section.
const TsGenState* SectionState(const TsSkinManager* Manager, TacSection Section, int State)
{
    const int index = Manager->ConstData.Sections[Section];
    if (index < 0 || !Manager->IsValidSkinIndex(index))
        return nullptr;
    return &Manager->gd[static_cast<std::size_t>(index)].Props[State];
}

bool SkinColorOfConstant(const TsSkinManager* m, Cardinal Color, TColor& Result)
{
    static const struct {
        Cardinal Value;
        TacPaletteColors Entry;
    } table[] = {
        {0xFF00006C, pcEditText_Alert},    {0xFF003E0A, pcEditText_Ok},     {0xFF004C4C, pcEditText_Warning},
        {0xFFC9FFD2, pcEditBG_Ok},         {0xFFBAFFFF, pcEditBG_Warning},  {0xFFDBDBFF, pcEditBG_Alert},
        {0xFFD5D5FF, pcBtnToneRed},        {0xFFBDBDFF, pcBtnToneRedActive}, {0xFFE1FFD2, pcBtnToneGreen},
        {0xFFCDFFB4, pcBtnToneGreenActive}, {0xFFFFEDC9, pcBtnToneBlue},    {0xFFFFE9BE, pcBtnToneBlueActive},
        {0xFF0000B4, pcBtnRedText},        {0xFF0000A2, pcBtnRedTextActive}, {0xFF28851A, pcBtnGreenText},
        {0xFF008E00, pcBtnGreenTextActive}, {0xFFAE7400, pcBtnBlueText},    {0xFF916000, pcBtnBlueTextActive},
    };
    for (const auto& entry : table)
        if (entry.Value == Color) {
            Result = m->Palette[entry.Entry];
            return true;
        }
    return false;
}

TColor SkinColorOfSystem(const TsSkinManager* m, TColor Color)
{
    const TColor* p = m->Palette;
    const TsGenState* titleHot = SectionState(m, ssFormTitle, 1);
    const TsGenState* titleNormal = SectionState(m, ssFormTitle, 0);
    const TsGenState* hint = SectionState(m, ssHint, 0);
    switch (Color & 0xFF) {
    case COLOR_SCROLLBAR: case COLOR_BACKGROUND: case COLOR_MENU: case COLOR_APPWORKSPACE:
    case COLOR_BTNFACE: case COLOR_MENUBAR:
        return p[pcMainColor];
    case COLOR_ACTIVECAPTION: case COLOR_GRADIENTACTIVECAPTION:
        return titleHot ? titleHot->Color : p[pcMainColor];
    case COLOR_INACTIVECAPTION: case COLOR_GRADIENTINACTIVECAPTION:
        return titleNormal ? titleNormal->Color : p[pcMainColor];
    case COLOR_WINDOW:
        return p[pcEditBG];
    case COLOR_WINDOWFRAME: case COLOR_ACTIVEBORDER: case COLOR_INACTIVEBORDER:
        return p[pcBorder];
    case COLOR_MENUTEXT: case COLOR_BTNTEXT:
        return p[pcLabelText];
    case COLOR_WINDOWTEXT:
        return p[pcEditText];
    case COLOR_CAPTIONTEXT:
        return titleHot ? titleHot->FontColor.Color : p[pcLabelText];
    case COLOR_HIGHLIGHT: case COLOR_MENUHILIGHT:
        return p[pcSelectionBG_Focused];
    case COLOR_HIGHLIGHTTEXT:
        return p[pcSelectionText_Focused];
    case COLOR_BTNSHADOW: case COLOR_3DDKSHADOW:
        return static_cast<TColor>(MixColors(p[pcMainColor], 0, 180));
    case COLOR_GRAYTEXT:
        return static_cast<TColor>(MixColors(p[pcMainColor], p[pcLabelText], 127));
    case COLOR_INACTIVECAPTIONTEXT:
        return titleNormal ? titleNormal->FontColor.Color : p[pcLabelText];
    case COLOR_BTNHIGHLIGHT:
        return static_cast<TColor>(MixColors(p[pcMainColor], p[pcSelectionBG_Focused], 127));
    case COLOR_3DLIGHT:
        return static_cast<TColor>(MixColors(p[pcMainColor], 0xFFFFFF, 180));
    case COLOR_INFOTEXT:
        return hint ? hint->FontColor.Color : p[pcEditText];
    case COLOR_INFOBK:
        return hint ? hint->Color : p[pcEditBG];
    case COLOR_HOTLIGHT:
        return p[pcWebTextHot];
    default:
        return static_cast<TColor>(ColorToRGB(Color));
    }
}

void PaintHiddenControl(TBitmap* Bitmap, TControl* Control, int X, int Y)
{
    TacBGRequest request;
    request.Offset = TPoint(0, 0);
    request.R = ControlRect(Control);
    GetControlBGInfo(request, Control->GetParent(), false);
    HDC dc = Bitmap->GetCanvas()->GetHandle();
    if (request.BgKind == bgImage && request.Bmp) {
        BitBlt(dc, X, Y, Control->GetWidth(), Control->GetHeight(), request.Bmp->GetCanvas()->GetHandle(),
               Control->GetLeft() + request.Offset.x, Control->GetTop() + request.Offset.y, SRCCOPY);
    } else {
        PaintSolidRect(dc, Bounds(X, Y, Control->GetWidth(), Control->GetHeight()), request.Color);
    }
}

void PaintVisibleControl(TBitmap* Bitmap, TControl* Control, TsSkinProvider* Provider)
{
    TCanvas* canvas = Bitmap->GetCanvas();
    canvas->Lock();
    const TScopeExit unlock([canvas] { canvas->Unlock(); });
    HDC dc = canvas->GetHandle();
    // The clip stays with this call: the caller's DC goes on unclipped.
    const TSavedDC saved(dc);
    if (!Provider || !Provider->BorderForm)
        IntersectClipRect(dc, 0, 0, Control->GetWidth(), Control->GetHeight());
    const LPARAM dcParam = reinterpret_cast<LPARAM>(dc);
    if (TWinControl* win = AsWinControl(Control)) {
        HWND wnd = win->GetHandle();
        LRESULT answer = SendWndCommand(wnd, SKC_SET_PRINTING, dcParam);
        if (answer == 1 || HasSkinHandler(wnd)) {
            answer = SendWndMessage(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
            SendWndCommand(wnd, SKC_SET_PRINTING, 0);
        } else {
            win->PaintTo(dc, 0, 0);
        }
        if (answer != -2)
            PaintChildWindowsToBitmap(win, Bitmap);
        if (Provider) {
            if (Provider->BorderForm) {
                TRect r = win->GetClientRect();
                OffsetRect(&r, Provider->OffsetX(), Provider->OffsetY());
                r.bottom = std::min<LONG>(r.bottom, Bitmap->GetHeight() - 1);
                SetBitmap32Alpha(Bitmap, r, 255, clNone);
            }
            SendWndCommand(wnd, SKC_FORM_IMAGE_READY, reinterpret_cast<LPARAM>(Bitmap));
        }
    } else {
        Control->Perform(SkinCommandMessage, SkinCommandWParam(SKC_SET_PRINTING), dcParam);
        Control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
        Control->Perform(SkinCommandMessage, SkinCommandWParam(SKC_SET_PRINTING), 0);
    }
}

} // namespace

// ---------------------------------------------------------------------------
TOutputWindow::TOutputWindow(TComponent*) : TCustomControl(nullptr) {}

void TOutputWindow::AfterConstruction()
{
    TCustomControl::AfterConstruction();
    SetCaption(L"acOutputWindow");
    SetVisible(false);
    SetColor(clFuchsia);
    SetTag(NoSkinTag);
}

void TOutputWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    if (!GetParent() && !GetParentWindow()) {
        Params.Style = WS_POPUP;
        Params.WndParent = Application ? Application->GetHandle() : nullptr;
    }
}

void TOutputWindow::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case WM_NCPAINT:
        Message.Result = 0;
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
void GetMousePos(TPoint& Point)
{
    POINT p;
    Point = GetCursorPos(&p) ? TPoint(p) : TPoint(0, 0);
}

TColor ColorToSkinColor(TColor Color, TsSkinManager* Manager)
{
    if (Color >= 0)
        return static_cast<TColor>(ColorToRGB(Color));
    TsSkinManager* m = Manager ? Manager : DefaultManager;
    if (m && m->CommonSkinData.Active) {
        TColor result = 0;
        if (SkinColorOfConstant(m, static_cast<Cardinal>(Color), result))
            return result;
        if (m->Options.ChangeSysColors)
            return SkinColorOfSystem(m, Color);
        return static_cast<TColor>(ColorToRGB(Color));
    }
    const Cardinal low = static_cast<Cardinal>(Color) & 0xFFFFFF;
    return low > 100 ? static_cast<TColor>(low) : static_cast<TColor>(ColorToRGB(Color));
}

HWND GetTopParentWnd(HWND Wnd)
{
    while (HWND parent = GetParent(Wnd))
        Wnd = parent;
    return Wnd;
}

bool IsSameOrChildWindow(HWND Wnd, HWND Ancestor)
{
    for (; Wnd; Wnd = GetParent(Wnd))
        if (Wnd == Ancestor)
            return true;
    return false;
}

bool IsMouseOverWindow(HWND Wnd)
{
    if (!Wnd)
        return false;
    TWindowDC dc(Wnd, true);
    RECT clip;
    if (!dc.Get() || GetClipBox(dc.Get(), &clip) != SIMPLEREGION)
        return false;
    RECT window;
    GetWindowRect(Wnd, &window);
    OffsetRect(&clip, window.left, window.top);
    TPoint p;
    GetMousePos(p);
    return PtInRect(&clip, p) != 0;
}

bool IsMouseOverControl(TControl* Control)
{
    if (!Control)
        return false;
    TPoint cursor;
    GetMousePos(cursor);
    TWinControl* win = AsWinControl(Control);
    if (win) {
        if (!win->HandleAllocated())
            return false;
        RECT r;
        GetWindowRect(win->GetHandle(), &r);
        if (!PtInRect(&r, cursor))
            return false;
        HWND under = WindowFromPoint(cursor);
        return !under || IsSameOrChildWindow(under, win->GetHandle());
    }
    TWinControl* parent = Control->GetParent();
    if (!parent || !parent->HandleAllocated() || !IsWindowEnabled(GetTopParentWnd(parent->GetHandle())))
        return false;
    const TPoint local = Control->ScreenToClient(cursor);
    if (!TRect(0, 0, Control->GetWidth(), Control->GetHeight()).Contains(local))
        return false;
    TWindowDC dc(parent->GetHandle());
    RECT clip;
    if (!dc.Get() || GetClipBox(dc.Get(), &clip) == ERROR)
        return false;
    return local.x >= clip.left - Control->GetLeft() && local.y >= clip.top - Control->GetTop();
}

TControl* FindControlUnderMouse()
{
    if (DefaultManager && DefaultManager->GetActiveGraphControl())
        return DefaultManager->GetActiveGraphControl();
    TPoint cursor;
    GetMousePos(cursor);
    TControl* found = FindVCLWindow(cursor);
    TWinControl* win = AsWinControl(found);
    if (!win)
        return found;
    const TPoint local = win->ScreenToClient(cursor);
    for (int i = win->ControlCount() - 1; i >= 0; --i) {
        TControl* child = win->Controls(i);
        if (TRect(child->GetBoundsRect()).Contains(local))
            return child;
    }
    return win;
}

void RequestControlAdapter(TControl* Control)
{
    if (!Control || InDesignOrLoading(Control))
        return;
    if (TCustomForm* form = GetParentForm(Control, true))
        SendControlCommand(form, SKC_ADAPT_CONTROL, reinterpret_cast<LPARAM>(Control));
}

void ForEachChildControl(TWinControl* Parent, void* Data, const TChildControlProc& Proc)
{
    if (!Parent)
        return;
    int i = 0;
    while (i < Parent->ControlCount()) {
        TControl* child = Parent->Controls(i);
        Proc(child, Data);
        const bool stillHere = i < Parent->ControlCount() && Parent->Controls(i) == child;
        if (stillHere) {
            if (TWinControl* win = AsWinControl(child))
                ForEachChildControl(win, Data, Proc);
            ++i;
        } else if (Parent->ContainsControl(child)) {
            // Moved elsewhere in the list: it was visited, go on with the next slot.
            ++i;
        }
        // Freed or taken away: the next child has moved into slot i.
    }
}

void PaintControlToBitmap(TBitmap* Bitmap, TControl* Control, int X, int Y, TsSkinProvider* Provider,
                          bool WithSiblings)
{
    if (!Bitmap || !Control)
        return;
    TWinControl* parent = Control->GetParent();
    if (Provider || !parent || Control->GetVisible() || Control->ComponentState().Contains(csDesigning))
        PaintVisibleControl(Bitmap, Control, Provider);
    else
        PaintHiddenControl(Bitmap, Control, X, Y);
    if (!WithSiblings || !parent)
        return;
    const TRect bounds = Control->GetBoundsRect();
    HDC dc = Bitmap->GetCanvas()->GetHandle();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        if (parent->Controls(i) != Control)
            continue;
        for (int k = i + 1; k < parent->ControlCount(); ++k) {
            TControl* sibling = parent->Controls(k);
            RECT overlap;
            const TRect siblingBounds = sibling->GetBoundsRect();
            if (dynamic_cast<TOutputWindow*>(sibling) || !sibling->GetVisible() ||
                !IntersectRect(&overlap, &siblingBounds, &bounds))
                continue;
            const int dx = sibling->GetLeft() - Control->GetLeft(), dy = sibling->GetTop() - Control->GetTop();
            POINT org;
            GetWindowOrgEx(dc, &org);
            SetWindowOrgEx(dc, org.x - dx, org.y - dy, nullptr);
            const TScopeExit back([dc, org] { SetWindowOrgEx(dc, org.x, org.y, nullptr); });
            PaintControlToBitmap(Bitmap, sibling, X + dx, Y + dy, nullptr, false);
        }
        break;
    }
}

void PaintChildWindowsToBitmap(TWinControl* Control, TBitmap* Bitmap)
{
    if (!Control || !Bitmap)
        return;
    for (int i = 0; i < Control->ControlCount(); ++i) {
        TWinControl* child = AsWinControl(Control->Controls(i));
        if (!child || !(child->GetVisible() || child->ComponentState().Contains(csDesigning)) ||
            !child->HandleAllocated())
            continue;
        HDC dc = Bitmap->GetCanvas()->GetHandle();
        const TSavedDC saved(dc);
        auto* form = dynamic_cast<TCustomForm*>(child);
        if (!form || child->GetParent()) {
            POINT org;
            GetWindowOrgEx(dc, &org);
            SetWindowOrgEx(dc, org.x - child->GetLeft(), org.y - child->GetTop(), nullptr);
        }
        PaintControlToBitmap(Bitmap, child, child->GetLeft(), child->GetTop(), nullptr, false);
    }
}

void MoveControlBehind(TControl* Control, TControl* Sibling)
{
    TWinControl* parent = Control ? Control->GetParent() : nullptr;
    if (!parent)
        return;
    int own = -1, sibling = -1;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        if (parent->Controls(i) == Control)
            own = i;
        if (parent->Controls(i) == Sibling)
            sibling = i;
    }
    if (sibling < 0 || own < 0 || own == sibling)
        return;
    // Taking the control out first shifts a later sibling one place down.
    parent->SetChildOrder(Control, own < sibling ? sibling : sibling + 1);
}

void ClearBitmapRects(const TRects& Rects, TBitmap* Bitmap)
{
    for (const TRect& r : Rects)
        FillBitmap32Rect(Bitmap, r, 0, 0);
}

bool SetWindowLayered(HWND Wnd, bool Layered, Byte Alpha)
{
    if (Layered && LayeredWindowsAvailable()) {
        bool added = false;
        const LONG exStyle = GetWindowLongW(Wnd, GWL_EXSTYLE);
        if (!(exStyle & WS_EX_LAYERED)) {
            SetWindowLongW(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
            added = true;
        }
        if (auto setAttributes = LayoutBindings().SetLayeredWindowAttributes)
            setAttributes(Wnd, clNone, Alpha, LWA_ALPHA);
        return added;
    }
    SetWindowLongW(Wnd, GWL_STYLE, GetWindowLongW(Wnd, GWL_STYLE) & ~WS_VISIBLE);
    SetWindowLongW(Wnd, GWL_EXSTYLE, GetWindowLongW(Wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    return false;
}

void PaintLayeredWindow(HWND Wnd, TBitmap* Bitmap, Byte Alpha, const TPoint* Position)
{
    TOwned<TBitmap> own;
    if (!Bitmap) {
        RECT r;
        GetWindowRect(Wnd, &r);
        own.reset(MakeBitmap32(r.right - r.left, r.bottom - r.top));
        Bitmap = own.get();
    }
    BLENDFUNCTION blend;
    InitBlendFunction(blend, Alpha);
    SIZE size{Bitmap->GetWidth(), Bitmap->GetHeight()};
    POINT source{0, 0};
    const TWindowDC screen(nullptr);
    const LONG exStyle = GetWindowLongW(Wnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) {
        const bool aero = IsAeroEnabled();
        if (!aero)
            SetWindowLongW(Wnd, GWL_STYLE, GetWindowLongW(Wnd, GWL_STYLE) & ~WS_VISIBLE);
        SetWindowLongW(Wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        if (!aero) {
            RECT r;
            GetWindowRect(Wnd, &r);
            RedrawWindow(GetDesktopWindow(), &r, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
            SetWindowLongW(Wnd, GWL_STYLE, GetWindowLongW(Wnd, GWL_STYLE) | WS_VISIBLE);
        }
    }
    if (auto update = LayoutBindings().UpdateLayeredWindow) {
        POINT position = Position ? POINT(*Position) : POINT{};
        update(Wnd, screen.Get(), Position ? &position : nullptr, &size, Bitmap->GetCanvas()->GetHandle(), &source,
               clNone, &blend, ULW_ALPHA);
    }
}

THintWindow* ShowHintAt(const String& Text, const TRect& R)
{
    const TPoint at(R.left, R.top);
    if (AlphaHints && AlphaHints->Active()) {
        AlphaHints->ShowHint(at, Text, Application ? Application->GetHintHidePause() : 2500);
        return AlphaHints->HintWindow();
    }
    if (Text.empty())
        return nullptr;
    TOwned<THintWindow> hint(HintWindowClass(nullptr));
    hint->SetVisible(false);
    hint->SetColor(clInfoBk);
    TRect r = hint->CalcHintRect(800, Text, nullptr);
    OffsetRect(&r, at.x + 8, at.y + 16);
    TRect work;
    GetWorkAreaAt(at, work);
    if (!work.IsEmpty()) {
        if (r.right > work.right)
            OffsetRect(&r, work.right - r.right, 0);
        if (r.bottom > work.bottom)
            OffsetRect(&r, 0, work.bottom - r.bottom);
    }
    HWND wnd = hint->GetHandle();
    if (QueryWndCommand(wnd, SKC_QUERY_HANDLED)) {
        hint->ActivateHint(r, Text);
        return hint.release();
    }
    hint->SetCaption(Text);
    r.bottom += 4;
    hint->SetParentWindow(Application ? Application->GetHandle() : nullptr);
    hint->SetBoundsRect(r);
    // A new parent window may have made a new window.
    wnd = hint->GetHandle();
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BOOL animation = FALSE, fade = FALSE;
    if (Text.size() < 100 && animateWindowProc && SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0) &&
        animation && SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0) && fade)
        animateWindowProc(wnd, 200, AW_BLEND);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    InvalidateRect(wnd, nullptr, TRUE);
    return hint.release();
}

void GetFormWorkArea(TCustomForm* Form, TRect& R)
{
    TMonitor* monitor = Screen && Form ? Screen->MonitorFromWindow(Form->GetHandle()) : nullptr;
    R = monitor ? TRect(monitor->WorkareaRect()) : TRect();
}

void GetWorkAreaAt(const TPoint& Point, TRect& R)
{
    R = TRect();
    if (!Screen)
        return;
    for (int i = 0; i < Screen->MonitorCount(); ++i) {
        const TRect work = Screen->Monitors(i)->WorkareaRect();
        if (work.Contains(Point)) {
            R = work;
            return;
        }
    }
}

int SumAlignedChildSizes(TWinControl* Parent, TAlign Alignment, bool WithGraphicControls)
{
    const bool vertical = Alignment == alTop || Alignment == alBottom;
    if (!Parent || !(vertical || Alignment == alLeft || Alignment == alRight))
        return 0;
    int sum = 0;
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* child = Parent->Controls(i);
        if (!child->GetVisible() || child->GetAlign() != Alignment || (!WithGraphicControls && !AsWinControl(child)))
            continue;
        sum += vertical ? child->GetHeight() : child->GetWidth();
    }
    return sum;
}

bool AreThemesEnabled()
{
    return PlatformProbe().ThemeActive;
}

HMODULE UxThemeModule()
{
    return uxTheme.Get();
}

void sWindowHelpers_Initialize()
{
    HMODULE module = LoadLibraryW(L"UXTHEME");
    // Old systems answered failures with small values instead of null.
    if (reinterpret_cast<ULONG_PTR>(module) > 32) {
        uxTheme.Reset(module);
        BindProc(SetWindowThemeProc, module, "SetWindowTheme");
    }
    animateWindowProc = BindProc<TAnimateWindow>(GetModuleHandleW(L"user32.dll"), "AnimateWindow");
}

void sWindowHelpers_Finalize()
{
    SetWindowThemeProc = nullptr;
    uxTheme.Reset();
    SkinChangeRects.clear();
}
