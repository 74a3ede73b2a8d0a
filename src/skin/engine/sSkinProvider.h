// The skin provider of a form (TsSkinProvider, declared in
// acProviderServices.h where the graphics units can reach it) and the
// measurements every skinned frame shares: border widths, caption heights,
// the window region that cuts the skin's transparent corners out of a form,
// and the thin wrappers of the desktop window manager.
//
// Split by topic: sSkinProvider.cpp (creation, the form hook, the foreign
// control lists, the skin editor hand-shake), sSkinProviderMetrics.cpp
// (metrics, geometry and regions), sDwmApi.cpp (desktop composition).
#pragma once

#include "Forms.h"
#include "acProviderServices.h"
#include "sCommonData.h"

// ---------------------------------------------------------------------------
// Metrics of any window; BF is the window's extended border window or null.
int GetWndBorderWidth(HWND W, TacBorderForm* BF, bool AllowExtended);
int GetNativeBorderWidth(HWND W, TacBorderForm* BF, bool AllowExtended);
int GetSysCaptionHeight(TCustomForm* Form);
// The caption heights read once; the provider forgets them when it re-reads
// the system metrics.
void ResetSysCaptionHeights();
int WindowRectWidth(HWND W);
int WindowRectHeight(HWND W);
int ClientRectWidth(HWND W);
int ClientRectHeight(HWND W);
// 0 for a null BF.
int BorderFormSkinTitleHeight(TacBorderForm* BF);
int BorderFormSkinBorderWidth(TacBorderForm* BF);
int BorderFormExtraTitleHeight(TacBorderForm* BF);
int BorderFormExtraBorderWidth(TacBorderForm* BF, HWND Owner);
bool IsSingleImageMask(Integer ImageIndex, TsSkinManager* Manager);
int DefaultIconSize(int Height);
int SnapOffset(int Value, int Edge, int Distance);

// ---------------------------------------------------------------------------
// Desktop composition. The entry points of "DWMAPI.DLL" are bound by name on
// first use into one table; tests put their own functions in it.
struct TDwmBindings {
    HRESULT(WINAPI* IsCompositionEnabled)(BOOL* Enabled) = nullptr;
    HRESULT(WINAPI* SetWindowAttribute)(HWND W, DWORD Attribute, LPCVOID Value, DWORD Size) = nullptr;
    HRESULT(WINAPI* EnableBlurBehindWindow)(HWND W, const void* BlurBehind) = nullptr;
    HRESULT(WINAPI* SetIconicThumbnail)(HWND W, HBITMAP Bitmap, DWORD Flags) = nullptr;
    HRESULT(WINAPI* SetIconicLivePreviewBitmap)(HWND W, HBITMAP Bitmap, POINT* Client, DWORD Flags) = nullptr;
    HRESULT(WINAPI* InvalidateIconicBitmaps)(HWND W) = nullptr;
    // Set once the library was asked for (whether it loaded or not).
    bool Loaded = false;
    HMODULE Module = nullptr;
};
TDwmBindings& DwmBindings();
// Binds every entry point of the library now (loading it once).
void BindDwmApi();

HRESULT DwmSetWindowAttributeSafe(HWND W, DWORD Attribute, LPCVOID Value, DWORD Size);
void DisableDwmTransitions(HWND W, bool Disable);
// Region, when given, is deleted in every case.
void EnableBlurBehind(HWND W, bool Enable, HRGN Region);
bool SetIconicThumbnail(HWND W, TsSkinProvider* Provider, int MaxWidth, int MaxHeight);
bool SetLivePreviewBitmap(HWND W, TsSkinProvider* Provider);
void InvalidateIconicBitmaps(HWND W);
HWND FindTaskbarWindow();
HWND HwndTopMost();

// ---------------------------------------------------------------------------
// The message with which a dialog keeps its own window region.
constexpr UINT KeepRegionMessage = 0xBC4D;
constexpr WPARAM KeepRegionCode = 0x41A2;
// The skin editor's message.
constexpr UINT SkinEditorMessage = 0xA400;
// How long the hand-shake waits for a skin editor that does not answer.
constexpr UINT SkinEditorTimeoutMs = 300;

// Whether a command line (its parameters after the program name) asks for a
// skin editor's preview: the first one is exactly "/acpreview".
bool PreviewRequested(const std::vector<String>& Params);

// The unit's start-up: no preview announced.
void sSkinProvider_Initialize();
void sSkinProvider_Finalize();
