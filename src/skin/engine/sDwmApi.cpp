// The desktop window manager as the skin library uses it: every entry point
// bound by name from "DWMAPI.DLL" on first use, every wrapper quiet when the
// library or the entry point is missing. Composition itself is read through
// the platform probe (IsAeroEnabled), which tests set.
#include "sSkinProvider.h"
#include "PlatformProbe.h"
#include "ScopeExit.h"
#include "sGraphUtils.h"
#include <cmath>

namespace {

// The blur-behind record of the platform.
struct TDwmBlurBehind {
    DWORD Flags;
    BOOL Enable;
    HRGN RgnBlur;
    BOOL TransitionOnMaximized;
};

template <class T>
void Bind(T& Entry, HMODULE Module, const char* Name)
{
    if (!Entry && Module)
        Entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Module, Name)));
}

void LoadDwmModule()
{
    TDwmBindings& dwm = DwmBindings();
    if (dwm.Loaded)
        return;
    dwm.Loaded = true;
    dwm.Module = LoadLibraryW(L"DWMAPI.DLL");
}

bool VistaOrLater()
{
    return PlatformProbe().IsVistaOrLater();
}

// The image DWM is given: the minimize animation's saved picture belongs to
// the minimize animation; here it is the provider's cache.
TBitmap* ThumbnailSource(TsSkinProvider* Provider)
{
    TBitmap* cache = Provider && Provider->FCommonData ? Provider->FCommonData->FCacheBmp : nullptr;
    return cache && cache->GetWidth() > 0 && cache->GetHeight() > 0 ? cache : nullptr;
}

} // namespace

TDwmBindings& DwmBindings()
{
    static TDwmBindings bindings;
    return bindings;
}

void BindDwmApi()
{
    LoadDwmModule();
    TDwmBindings& dwm = DwmBindings();
    Bind(dwm.IsCompositionEnabled, dwm.Module, "DwmIsCompositionEnabled");
    Bind(dwm.SetWindowAttribute, dwm.Module, "DwmSetWindowAttribute");
    Bind(dwm.EnableBlurBehindWindow, dwm.Module, "DwmEnableBlurBehindWindow");
    Bind(dwm.SetIconicThumbnail, dwm.Module, "DwmSetIconicThumbnail");
    Bind(dwm.SetIconicLivePreviewBitmap, dwm.Module, "DwmSetIconicLivePreviewBitmap");
    Bind(dwm.InvalidateIconicBitmaps, dwm.Module, "DwmInvalidateIconicBitmaps");
}

HRESULT DwmSetWindowAttributeSafe(HWND W, DWORD Attribute, LPCVOID Value, DWORD Size)
{
    TDwmBindings& dwm = DwmBindings();
    if (!dwm.SetWindowAttribute) {
        LoadDwmModule();
        Bind(dwm.SetWindowAttribute, dwm.Module, "DwmSetWindowAttribute");
        Bind(dwm.EnableBlurBehindWindow, dwm.Module, "DwmEnableBlurBehindWindow");
    }
    if (!dwm.SetWindowAttribute)
        return E_NOTIMPL;
    return dwm.SetWindowAttribute(W, Attribute, Value, Size);
}

void DisableDwmTransitions(HWND W, bool Disable)
{
    const BOOL value = Disable ? TRUE : FALSE;
    DwmSetWindowAttributeSafe(W, 3 /* DWMWA_TRANSITIONS_FORCEDISABLED */, &value, sizeof(value));
}

void EnableBlurBehind(HWND W, bool Enable, HRGN Region)
{
    const TScopeExit dropRegion([Region] {
        if (Region)
            DeleteObject(Region);
    });
    TDwmBindings& dwm = DwmBindings();
    if (!dwm.Loaded || !IsAeroEnabled() || !dwm.EnableBlurBehindWindow)
        return;
    const TDwmBlurBehind blur{Region ? 3u : 1u, Enable ? TRUE : FALSE, Region, FALSE};
    dwm.EnableBlurBehindWindow(W, &blur);
}

bool SetIconicThumbnail(HWND W, TsSkinProvider* Provider, int MaxWidth, int MaxHeight)
{
    if (!VistaOrLater() || MaxWidth <= 0 || MaxHeight <= 0)
        return false;
    TDwmBindings& dwm = DwmBindings();
    if (!dwm.SetIconicThumbnail) {
        LoadDwmModule();
        Bind(dwm.SetIconicThumbnail, dwm.Module, "DwmSetIconicThumbnail");
    }
    if (!dwm.SetIconicThumbnail)
        return false;
    TBitmap* source = ThumbnailSource(Provider);
    if (!source)
        return false;
    const double width = source->GetWidth(), height = source->GetHeight();
    if (static_cast<double>(MaxWidth) / MaxHeight > width / height)
        MaxWidth = static_cast<int>(std::lround(MaxHeight * width / height));
    else
        MaxHeight = static_cast<int>(std::lround(MaxWidth * height / width));
    if (MaxWidth == 0 || MaxHeight == 0)
        return false;
    // The taskbar image is made with bit 0x800 set; it is cleared on every
    // way out, and every bitmap made here is freed.
    Provider->FFormState |= 0x800;
    const TScopeExit clearBit([Provider] { Provider->FFormState &= ~0x800u; });
    TOwned<TBitmap> thumb(MakeBitmap32(MaxWidth, MaxHeight));
    ResampleBitmap(source, thumb.get(), MaxWidth, MaxHeight, 0);
    if (FAILED(dwm.SetIconicThumbnail(W, thumb->GetHandle(), 0)))
        return false;
    TOwned<TBitmap> whole(Provider->CreateFormBitmap(false));
    if (whole && whole->GetWidth() > 0 && whole->GetHeight() > 0) {
        ResampleBitmap(whole.get(), thumb.get(), MaxWidth, MaxHeight, 0);
        dwm.SetIconicThumbnail(W, thumb->GetHandle(), 0);
        if (Provider->BorderForm)
            Provider->BorderForm->UpdateExBordersPos(false, 255);
    }
    return true;
}

bool SetLivePreviewBitmap(HWND W, TsSkinProvider* Provider)
{
    if (!VistaOrLater())
        return false;
    TDwmBindings& dwm = DwmBindings();
    if (!dwm.SetIconicLivePreviewBitmap) {
        LoadDwmModule();
        Bind(dwm.SetIconicLivePreviewBitmap, dwm.Module, "DwmSetIconicLivePreviewBitmap");
    }
    if (!dwm.SetIconicLivePreviewBitmap)
        return false;
    TBitmap* source = ThumbnailSource(Provider);
    if (!source)
        return false;
    Provider->FFormState |= 0x800;
    const TScopeExit clearBit([Provider] { Provider->FFormState &= ~0x800u; });
    POINT client{0, 0};
    TOwned<TBitmap> whole(Provider->CreateFormBitmap(false));
    TBitmap* shown = whole && whole->GetWidth() > 0 ? whole.get() : source;
    const bool done = SUCCEEDED(dwm.SetIconicLivePreviewBitmap(W, shown->GetHandle(), &client, 1));
    if (whole && Provider->BorderForm)
        Provider->BorderForm->UpdateExBordersPos(false, 255);
    return done;
}

void InvalidateIconicBitmaps(HWND W)
{
    if (!VistaOrLater())
        return;
    TDwmBindings& dwm = DwmBindings();
    if (!dwm.InvalidateIconicBitmaps && dwm.Module)
        Bind(dwm.InvalidateIconicBitmaps, dwm.Module, "DwmInvalidateIconicBitmaps");
    if (dwm.InvalidateIconicBitmaps)
        dwm.InvalidateIconicBitmaps(W);
}

HWND FindTaskbarWindow()
{
    return FindWindowW(L"Shell_TrayWnd", nullptr);
}

HWND HwndTopMost()
{
    return HWND_TOPMOST;
}
