#include "AdvStyleIF.h"

#include "PlatformProbe.h"
#include "Registry.h"
#include "UniqueHandle.h"
#include "XPVSLoader.h"
#include <algorithm>

namespace {

const wchar_t* const OfficeGeneralKeys[] = {
    L"Software\\Microsoft\\Office\\12.0\\Common\\General",
    L"Software\\Microsoft\\Office\\14.0\\Common\\General",
    L"Software\\Microsoft\\Office\\15.0\\Common\\General",
};

// One Office generation's theme value and the theme of each number 0..3;
// any other number gives ot2003Blue.
struct TOfficeThemeSource {
    const wchar_t* Key;
    const wchar_t* Value;
    TOfficeTheme Themes[4];
};

const TOfficeThemeSource OfficeThemeSources[] = {
    {L"Software\\Microsoft\\Office\\16.0\\Common", L"UI Theme",
     {ot2016White, ot2016White, ot2016Gray, ot2016Black}},
    {L"Software\\Microsoft\\Office\\15.0\\Common", L"UI Theme",
     {ot2013White, ot2013Silver, ot2013Gray, ot2003Blue}},
    {L"Software\\Microsoft\\Office\\14.0\\Common", L"Theme",
     {ot2003Blue, ot2010Blue, ot2010Silver, ot2010Black}},
    {L"Software\\Microsoft\\Office\\12.0\\Common", L"Theme",
     {ot2003Blue, ot2007Blue, ot2007Silver, ot2007Black}},
};

bool CurrentUserKeyExists(const wchar_t* key)
{
    TOwned<TRegistry> reg(New<TRegistry>(KEY_READ));
    reg->SetRootKey(HKEY_CURRENT_USER);
    return reg->KeyExists(key);
}

// A value that is missing, or not an integer, counts as absent.
bool ReadCurrentUserInteger(const wchar_t* key, const wchar_t* name, Integer& value)
{
    TOwned<TRegistry> reg(New<TRegistry>(KEY_READ));
    reg->SetRootKey(HKEY_CURRENT_USER);
    if (!reg->OpenKeyReadOnly(key) || reg->GetDataType(name) != rdInteger)
        return false;
    value = reg->ReadInteger(name);
    return true;
}

class TLoadedLibrary {
public:
    explicit TLoadedLibrary(LPCWSTR name)
    {
        HMODULE module = xpvs::LibraryCalls().LoadLibrary(name);
        if (reinterpret_cast<UINT_PTR>(module) >= 32)
            module_.Reset(module);
    }
    bool Valid() const { return static_cast<bool>(module_); }
    FARPROC Find(LPCSTR name) const { return xpvs::LibraryCalls().GetProcAddress(module_.Get(), name); }

private:
    TModuleHandle module_;
};

} // namespace

void ClearColorTones(TColorTones& Tones)
{
    for (TColorTone* tone : {&Tones.Background, &Tones.Foreground, &Tones.Selected, &Tones.Hover,
                             &Tones.Disabled})
        *tone = {clNone, clNone, clNone};
}

bool IsWindowsVistaOrLater()
{
    return PlatformProbe().IsVistaOrLater();
}

bool IsWindowsXPOrLater()
{
    const TPlatformProbe& probe = PlatformProbe();
    return probe.WindowsMajor > 5 || (probe.WindowsMajor == 5 && probe.WindowsMinor != 0);
}

bool IsComCtl6OrLater()
{
    return PlatformProbe().ComCtlMajor > 5;
}

String GetDefaultUIFontName()
{
    return IsWindowsVistaOrLater() ? L"Segoe UI" : L"Tahoma";
}

Byte GetInstalledOfficeVersion()
{
    Byte version = 0;
    for (Byte i = 0; i < std::size(OfficeGeneralKeys); ++i)
        if (CurrentUserKeyExists(OfficeGeneralKeys[i]))
            version = i + 1;
    return version;
}

Byte GetXPThemeColorScheme()
{
    if (!IsWindowsXPOrLater())
        return 0;
    TLoadedLibrary uxtheme(L"uxtheme.dll");
    if (!uxtheme.Valid() || !uxtheme.Find("IsThemeActive") || !PlatformProbe().ThemeActive ||
        !IsComCtl6OrLater())
        return 0;
    auto getCurrentThemeName = reinterpret_cast<decltype(&::GetCurrentThemeName)>(uxtheme.Find("GetCurrentThemeName"));
    if (!getCurrentThemeName)
        return 0;
    wchar_t fileName[256] = {}, colorScheme[256] = {}, sizeName[256] = {};
    getCurrentThemeName(fileName, 255, colorScheme, 255, sizeName, 255);
    const String scheme = colorScheme;
    if (scheme.find(L"NormalColor") != String::npos)
        return 1;
    if (scheme.find(L"HomeStead") != String::npos)
        return 2;
    if (scheme.find(L"Metallic") != String::npos)
        return 3;
    return 0;
}

TOfficeTheme DetectOfficeTheme()
{
    for (const auto& source : OfficeThemeSources) {
        Integer value = 0;
        if (!ReadCurrentUserInteger(source.Key, source.Value, value))
            continue;
        return value >= 0 && value < 4 ? source.Themes[value] : ot2003Blue;
    }
    constexpr TOfficeTheme bySchemes[] = {ot2003Classic, ot2003Blue, ot2003Olive, ot2003Silver};
    return bySchemes[GetXPThemeColorScheme()];
}

TColor ScaleColorComponents(TColor Color, Integer Percent)
{
    const COLORREF rgb = ColorToRGB(Color);
    COLORREF result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double c = (rgb >> shift) & 0xFF;
        const Int64 scaled = std::clamp<Int64>(Round((100 - Percent) * c / 100), 0, 255);
        result |= static_cast<COLORREF>(scaled) << shift;
    }
    return static_cast<TColor>(result);
}

TColor ShadeColor(TColor Color, Integer Percent)
{
    return ScaleColorComponents(Color, Percent);
}
