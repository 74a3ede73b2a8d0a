// The toolbar messages, the screen scale and the ARGB conversion.
#include "ToolBarMessages.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include <cmath>

UINT WM_TBCOMPACTWINHIDE = 0;
UINT WM_TBSETAEROVISTA = 0;
UINT WM_TBPSETIGNOREALT = 0;
UINT WM_TBFUPDATECONTEXTMENU = 0;
UINT WM_TBSETMETRO = 0;
UINT WM_TBREVERTMETRO = 0;
UINT WM_TBSETOFFICE2013 = 0;
UINT WM_TBSHOWSHORTCUTHINT = 0;

TColorTones ToolBarMetroTones;
TColorTones ToolBarOffice2013Tones;

namespace {

bool initialized = false;
// Nothing switches scaling off; the switch is kept for its meaning.
const bool scalingEnabled = true;
float cachedScale = 1.0f;
bool scaleComputed = false;

} // namespace

int FontTextHeightAtDPI(int PixelsPerInch, int Size)
{
    TWindowDC screen;
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(screen.Get());
    // The canvas lets go of the DC before the screen DC is released.
    const TScopeExit detach([&] { canvas->SetHandle(nullptr); });
    TFont* font = canvas->GetFont();
    font->SetPixelsPerInch(PixelsPerInch);
    font->SetHeight(-MulDiv(Size, PixelsPerInch, 72));
    return canvas->TextHeight(L"0");
}

float CalcDPIScaleAt(int PixelsPerInch)
{
    if (PixelsPerInch == 96)
        return 1.0f;
    const int designed = FontTextHeightAtDPI(96, 9);
    // No font could be realised: sizes stay as designed.
    if (designed <= 0)
        return 1.0f;
    return static_cast<float>(FontTextHeightAtDPI(PixelsPerInch, 9)) / static_cast<float>(designed);
}

float CalcDPIScale(HDC DC)
{
    if (!scalingEnabled)
        return 1.0f;
    if (DC)
        return CalcDPIScaleAt(GetDeviceCaps(DC, LOGPIXELSX));
    TWindowDC screen;
    return CalcDPIScaleAt(GetDeviceCaps(screen.Get(), LOGPIXELSX));
}

float GetDPIScale()
{
    if (!scaleComputed) {
        cachedScale = CalcDPIScale(nullptr);
        scaleComputed = true;
    }
    return cachedScale;
}

float GetGlowDPIScale()
{
    return GetDPIScale();
}

ARGB ColorToARGB(TColor Color)
{
    return ColorToGPColor(Color);
}

void ToolBarMessages_Initialize()
{
    if (initialized)
        return;
    initialized = true;
    ClearColorTones(ToolBarMetroTones);
    ClearColorTones(ToolBarOffice2013Tones);
    struct Registration {
        UINT* Message;
        const wchar_t* Name;
    };
    const Registration messages[] = {
        {&WM_TBCOMPACTWINHIDE, L"TBCompactWinHide"},   {&WM_TBSETAEROVISTA, L"TBSetAeroVista"},
        {&WM_TBPSETIGNOREALT, L"TBPSetIgnoreALT"},     {&WM_TBFUPDATECONTEXTMENU, L"TBFUpdateContextMenu"},
        {&WM_TBSETMETRO, L"TBSetMetro"},               {&WM_TBREVERTMETRO, L"TBRevertMetro"},
        {&WM_TBSETOFFICE2013, L"TBSetOffice2013"},     {&WM_TBSHOWSHORTCUTHINT, L"TBShowShortCutHint"},
    };
    // Registered numbers are 16-bit values.
    for (const Registration& r : messages)
        *r.Message = static_cast<Word>(RegisterWindowMessageW(r.Name));
}

void ToolBarMessages_Finalize()
{
    initialized = false;
}
