// What every handler kind shares: fonts from the system or the skin, the
// hot-look test, published properties of foreign controls, the geometry
// snapshot, the control's cache image with its transparent border corners,
// and the unit's start-up (the system entry points bound by name).
#include "acSBUtils.h"
#include "acntUtils.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include "sSkinSection.h"
#include "sSkinText.h"
#include "sVclUtils.h"

TGetScrollBarInfo acGetScrollBarInfo = nullptr;
TFlatSBSwitch acInitializeFlatSB = nullptr;
TFlatSBSwitch acUninitializeFlatSB = nullptr;
std::vector<TacMainWnd*> MenuWndHandlers;
std::vector<TacMainWnd*> PageHandlers;
bool acHoverForEdits = false;

namespace {

HMODULE User32Module = nullptr;
HMODULE ComCtl32Module = nullptr;
// The font SelectSkinMainFont last made; kept until the next call.
TFontHandle SkinMainFont;

} // namespace

// ---------------------------------------------------------------------------
// Fonts.

void GetNonClientFont(Integer Kind, LOGFONTW& LogFont)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        LogFont.lfHeight = 0;
        return;
    }
    switch (Kind) {
    case 1: LogFont = metrics.lfCaptionFont; break;
    case 2: LogFont = metrics.lfSmCaptionFont; break;
    case 3: LogFont = metrics.lfMenuFont; break;
    case 4: LogFont = metrics.lfStatusFont; break;
    default: LogFont = metrics.lfMessageFont; break;
    }
}

void GetSkinMainFontName(String& Name)
{
    if (!DefaultManager || !DefaultManager->Fonts())
        return;
    switch (DefaultManager->Fonts()->GetMainMode()) {
    case fmFromSkin: Name = DefaultManager->CommonSkinData.MainFont; break;
    case fmCustom: Name = DefaultManager->Fonts()->GetMainFont(); break;
    default: break;
    }
}

void ApplySkinFontName(LOGFONTW& LogFont)
{
    String name;
    GetSkinMainFontName(name);
    if (name.empty())
        return;
    std::fill(std::begin(LogFont.lfFaceName), std::end(LogFont.lfFaceName), L'\0');
    name.copy(LogFont.lfFaceName, LF_FACESIZE - 1);
}

void ApplySkinFontToFont(TFont* Font)
{
    String name;
    GetSkinMainFontName(name);
    if (!name.empty())
        Font->SetName(name);
}

void SelectSystemFont(TCanvas* Canvas, Integer Kind)
{
    LOGFONTW logFont{};
    GetNonClientFont(Kind, logFont);
    if (logFont.lfHeight == 0)
        return;
    ApplySkinFontName(logFont);
    Canvas->GetFont()->SetHandle(CreateFontIndirectW(&logFont));
    SelectObject(Canvas->GetHandle(), Canvas->GetFont()->GetHandle());
}

void InitCacheFont(TacMainWnd* Handler, bool SendToWnd)
{
    TsCommonData* data = Handler->SkinData;
    if (!data)
        return;
    data->EnsureCacheBmp();
    TCanvas* canvas = data->FCacheBmp->GetCanvas();
    if (TControl* control = data->FOwnerControl) {
        if (TFont* font = control->GetFont())
            canvas->GetFont()->Assign(font);
        ApplySkinFontToFont(canvas->GetFont());
        SelectObject(canvas->GetHandle(), canvas->GetFont()->GetHandle());
        return;
    }
    auto windowFont = reinterpret_cast<HFONT>(SendWndMessage(Handler->CtrlHandle, WM_GETFONT, 0, 0));
    if (windowFont && windowFont == Handler->CacheFont.Get())
        windowFont = Handler->WindowFont;
    if (!windowFont) {
        SelectSystemFont(canvas, 0);
        return;
    }
    LOGFONTW logFont{};
    GetObjectW(windowFont, sizeof(logFont), &logFont);
    ApplySkinFontName(logFont);
    if (logFont.lfCharSet == ANSI_CHARSET && !wcsstr(logFont.lfFaceName, L"MS Shell Dlg"))
        logFont.lfCharSet = DEFAULT_CHARSET;
    // One font per handler, made again only when the window's font or the
    // skin's face changed: a list view asks on every paint.
    if (!Handler->CacheFont || memcmp(&logFont, &Handler->CacheFontSource, sizeof(logFont)) != 0) {
        TFontHandle fresh(CreateFontIndirectW(&logFont));
        if (!fresh)
            return;
        Handler->CacheFontSource = logFont;
        Handler->WindowFont = windowFont;
        TFontHandle old = std::move(Handler->CacheFont);
        Handler->CacheFont = std::move(fresh);
        canvas->GetFont()->SetHandle(CreateFontIndirectW(&logFont));
        if (SendToWnd)
            SendMessageW(Handler->CtrlHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Handler->CacheFont.Get()), 0);
        // The old font is deleted only now that the window holds the new one.
    } else if (SendToWnd && windowFont != Handler->CacheFont.Get() &&
               reinterpret_cast<HFONT>(SendMessageW(Handler->CtrlHandle, WM_GETFONT, 0, 0)) != Handler->CacheFont.Get())
        SendMessageW(Handler->CtrlHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Handler->CacheFont.Get()), 0);
    SelectObject(canvas->GetHandle(), canvas->GetFont()->GetHandle());
}

HFONT HandlerCacheFont(const TacMainWnd* Handler) { return Handler->CacheFont.Get(); }

void ReleaseCacheFont(TacMainWnd* Handler)
{
    if (!Handler->CacheFont)
        return;
    if (IsWindow(Handler->CtrlHandle) &&
        reinterpret_cast<HFONT>(SendMessageW(Handler->CtrlHandle, WM_GETFONT, 0, 0)) == Handler->CacheFont.Get())
        SendMessageW(Handler->CtrlHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Handler->WindowFont), 0);
    Handler->CacheFont.Reset();
    Handler->WindowFont = nullptr;
}

void SelectSkinMainFont(HDC DC)
{
    String name;
    GetSkinMainFontName(name);
    if (name.empty())
        return;
    LOGFONTW logFont{};
    GetObjectW(GetCurrentObject(DC, OBJ_FONT), sizeof(logFont), &logFont);
    std::fill(std::begin(logFont.lfFaceName), std::end(logFont.lfFaceName), L'\0');
    name.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    TFontHandle font(CreateFontIndirectW(&logFont));
    SelectObject(DC, font.Get());
    SkinMainFont = std::move(font);
}

// ---------------------------------------------------------------------------
// Messages and state.

void BroadcastSkinMessage(TControl* OwnerControl, HWND Wnd, TMessage& Message)
{
    if (auto* parent = dynamic_cast<TWinControl*>(OwnerControl))
        BroadcastToChildren(parent, Message);
    else if (!OwnerControl)
        BroadcastToChildWindows(Wnd, Message);
}

bool HasHotLook(TsCommonData* SkinData, bool ForHover)
{
    if (!SkinData)
        return false;
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (!manager || SkinData->SkinIndex < 0 || SkinData->BorderIndex < 0)
        return false;
    if (ForHover) {
        if (IsEditKind(SkinData->COC) && !acHoverForEdits)
            return false;
        if (manager->Options.NoMouseHover)
            return false;
    }
    const bool oneImage = !manager->IsValidImgIndex(SkinData->BorderIndex) ||
                          manager->ma[SkinData->BorderIndex].ImageCount <= 1;
    const bool oneState = !manager->IsValidSkinIndex(SkinData->SkinIndex) ||
                          manager->gd[SkinData->SkinIndex].States <= 1;
    return !(oneImage && oneState);
}

void SetCtrlOrdProp(TControl* Control, const String& PropName, Integer Value)
{
    if (Control && HasProperty(Control, PropName))
        SetOrdPropByName(Control, PropName, Value);
}

Integer GetCtrlOrdProp(TControl* Control, const String& PropName)
{
    return Control && HasProperty(Control, PropName) ? GetOrdPropByName(Control, PropName) : 0;
}

TColor GetCtrlColorProp(TControl* Control, const String& PropName)
{
    return Control && HasProperty(Control, PropName) ? ColorToRGB(GetOrdPropByName(Control, PropName)) : 0;
}

void GetWindowGeometry(HWND Wnd, HWND& Parent, TRect& WindowRect, TPoint& Pos, TPoint& Size, TRect& ParentRect)
{
    GetWindowRect(Wnd, &WindowRect);
    Parent = GetParent(Wnd);
    ParentRect = TRect();
    if (Parent)
        GetWindowRect(Parent, &ParentRect);
    Size = TPoint(std::max<LONG>(0, WindowRect.Width()), std::max<LONG>(0, WindowRect.Height()));
    POINT topLeft{WindowRect.left, WindowRect.top};
    if (Parent)
        ScreenToClient(Parent, &topLeft);
    Pos = TPoint(topLeft.x, topLeft.y);
}

// ---------------------------------------------------------------------------
// The cache.

void PrepareCtrlCache(TsCommonData* SkinData, HWND Wnd, bool Plain)
{
    if (!SkinData || !SkinData->BGChanged || !Wnd)
        return;
    TRect windowRect;
    GetWindowRect(Wnd, &windowRect);
    SkinData->EnsureCacheBmp();
    HWND parent = GetParent(Wnd);
    TCacheInfo info;
    if (parent) {
        TacBGRequest request;
        GetWindowBGInfo(request, parent, false);
        if (request.BgKind == bgNotReady) {
            SkinData->FUpdating = true;
            return;
        }
        request.R = TRect();
        info = BGInfoToCacheInfo(request);
    }
    SkinData->FCacheBmp->SetPixelFormat(pf32bit);
    SkinData->FCacheBmp->SetSize(windowRect.Width(), windowRect.Height());
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (Plain && DefaultManager && DefaultManager->Palette[pcBorder] != clFuchsia) {
        HDC dc = SkinData->FCacheBmp->GetCanvas()->GetHandle();
        RECT all{0, 0, windowRect.Width(), windowRect.Height()};
        TBrushHandle fill(CreateSolidBrush(ColorToRGB(clWindow)));
        FillRect(dc, &all, fill.Get());
        TBrushHandle frame(CreateSolidBrush(ColorToRGB(DefaultManager->Palette[pcBorder])));
        FrameRect(dc, &all, frame.Get());
    } else {
        if (!parent)
            return;
        POINT pos{windowRect.left, windowRect.top};
        if (!ScreenToClient(parent, &pos))
            return;
        if (info.Bmp && (GetWindowLongPtrW(parent, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) {
            HDC parentDC = GetDC(parent);
            const bool rtl = parentDC && (GetDCLayout(parentDC) & LAYOUT_RTL);
            if (parentDC)
                ReleaseDC(parent, parentDC);
            if (rtl) {
                pos.x = info.Bmp->GetWidth() - pos.x;
                if (manager && manager->GetExtendedBorders())
                    pos.x -= 2 * info.X;
            }
        }
        if (manager && manager->IsValidSkinIndex(SkinData->SkinIndex)) {
            const int state = (SkinData->FFocused || SkinData->FMouseAbove) && HasHotLook(SkinData, true) ? 1 : 0;
            const TRect r(0, 0, windowRect.Width(), windowRect.Height());
            auto* edit = dynamic_cast<TCustomEdit*>(SkinData->FOwnerControl);
            if (edit && edit->GetBorderStyle() == bsNone)
                PaintControlBackground(SkinData, info, state, r, TPoint(pos.x, pos.y), SkinData->FCacheBmp);
            else
                PaintControlSkin(SkinData, info, state, r, TPoint(pos.x, pos.y), SkinData->FCacheBmp, !Plain);
        }
    }
    SkinData->BGChanged = false;
}

void PaintBorderCorners(TsCommonData* SkinData, Integer State, TacMainWnd* Handler)
{
    TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
    if (!manager || (Handler && Handler->DlgMode) || !manager->IsValidImgIndex(SkinData->BorderIndex) ||
        !SkinData->FCacheBmp)
        return;
    TBitmap* cache = SkinData->FCacheBmp;
    const int width = cache->GetWidth(), height = cache->GetHeight();
    if (width <= 1 || height <= 1)
        return;
    TCacheInfo parentInfo;
    GetParentWndCacheInfo(Handler ? Handler->CtrlHandle : SkinData->OwnerHandle(), parentInfo);
    if (parentInfo.Bmp && Handler) {
        parentInfo.X += Handler->WndPos.x;
        parentInfo.Y += Handler->WndPos.y;
    } else if (!parentInfo.Bmp && parentInfo.FillColor == clFuchsia)
        return;
    TsMaskData m = manager->ma[SkinData->BorderIndex];
    if (m.ImageCount == 0 && m.Bmp) {
        m.MaskType = 1;
        m.ImageCount = 3;
        m.R = TRect(0, 0, m.Bmp->GetWidth(), m.Bmp->GetHeight());
    }
    if (m.ImageCount <= 0)
        return;
    State = std::clamp<Integer>(State, 0, m.ImageCount - 1);
    TBitmap* source = m.Bmp ? m.Bmp : manager->MasterBitmap;
    if (!source)
        return;
    const int frameLeft = m.R.left + State * m.Width;
    const DWORD fill = [&] {
        const TColor rgb = ColorToRGB(parentInfo.FillColor);
        return static_cast<DWORD>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }();
    struct TCorner {
        int SrcX, SrcY, DstX, DstY, W, H;
    };
    const int bottomTop = m.MaskType == 0 ? m.R.bottom - m.WB : m.R.top + m.Height - m.WB;
    const TCorner corners[4] = {
        {frameLeft, m.R.top, 0, 0, m.WL, m.WT},
        {frameLeft, bottomTop, 0, height - m.WB, m.WL, m.WB},
        {frameLeft + m.Width - m.WR, bottomTop, width - m.WR, height - m.WB, m.WR, m.WB},
        {frameLeft + m.Width - m.WR, m.R.top, width - m.WR, 0, m.WR, m.WT},
    };
    for (const TCorner& c : corners)
        for (int y = 0; y < c.H; ++y)
            for (int x = 0; x < c.W; ++x) {
                const int sx = c.SrcX + x, sy = c.SrcY + y, dx = c.DstX + x, dy = c.DstY + y;
                if (sx < 0 || sy < 0 || sx >= source->GetWidth() || sy >= source->GetHeight() || dx < 0 || dy < 0 ||
                    dx >= width || dy >= height)
                    continue;
                const DWORD pixel = reinterpret_cast<const DWORD*>(source->GetScanLine(sy))[sx] & 0xFFFFFF;
                if (pixel != 0xFF00FF)
                    continue;
                DWORD& target = reinterpret_cast<DWORD*>(cache->GetScanLine(dy))[dx];
                if (parentInfo.Bmp) {
                    const int px = dx + parentInfo.X, py = dy + parentInfo.Y;
                    if (px >= 0 && py >= 0 && px < parentInfo.Bmp->GetWidth() && py < parentInfo.Bmp->GetHeight())
                        target = reinterpret_cast<const DWORD*>(parentInfo.Bmp->GetScanLine(py))[px];
                } else
                    target = fill;
            }
}

// ---------------------------------------------------------------------------
// Start-up and shut-down.

void acSBUtils_Initialize()
{
    User32Module = LoadLibraryW(L"user32.dll");
    if (User32Module)
        acGetScrollBarInfo =
            reinterpret_cast<TGetScrollBarInfo>(reinterpret_cast<void*>(GetProcAddress(User32Module, "GetScrollBarInfo")));
    ComCtl32Module = LoadLibraryW(L"comctl32.dll");
    if (ComCtl32Module) {
        acUninitializeFlatSB = reinterpret_cast<TFlatSBSwitch>(
            reinterpret_cast<void*>(GetProcAddress(ComCtl32Module, "UninitializeFlatSB")));
        acInitializeFlatSB = reinterpret_cast<TFlatSBSwitch>(
            reinterpret_cast<void*>(GetProcAddress(ComCtl32Module, "InitializeFlatSB")));
    }
}

void acSBUtils_Finalize()
{
    for (TacMainWnd*& handler : MenuWndHandlers)
        FreeAndNil(handler);
    MenuWndHandlers.clear();
    acGetScrollBarInfo = nullptr;
    acInitializeFlatSB = nullptr;
    acUninitializeFlatSB = nullptr;
    if (User32Module)
        FreeLibrary(User32Module);
    if (ComCtl32Module)
        FreeLibrary(ComCtl32Module);
    User32Module = ComCtl32Module = nullptr;
    for (TacMainWnd*& handler : PageHandlers)
        FreeAndNil(handler);
    PageHandlers.clear();
    SkinMainFont.Reset();
}
