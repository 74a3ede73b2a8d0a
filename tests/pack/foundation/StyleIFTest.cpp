// Style vocabulary, platform probes, Office theme detection from the
// registry of the project's Wine prefix, and colour shading.
#include <gtest/gtest.h>

#include "AdvStyleIF.h"
#include "PlatformProbe.h"
#include "Registry.h"
#include "XPVSLoader.h"

namespace {

const wchar_t* const OfficeRoot = L"Software\\Microsoft\\Office";

// Writes Office settings under HKEY_CURRENT_USER and removes them again.
// The prefix has no Office; a test never touches keys it did not create.
class OfficeRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        reg_.reset(New<TRegistry>());
        reg_->SetRootKey(HKEY_CURRENT_USER);
        if (reg_->KeyExists(OfficeRoot))
            GTEST_SKIP() << "an Office key exists already; it is left alone";
        created_ = true;
    }
    void TearDown() override
    {
        if (created_)
            reg_->DeleteKey(L"\\Software\\Microsoft\\Office");
        xpvs::ResetLibraryCalls();
        ResetPlatformProbe();
    }
    void CreateKey(const String& version, const String& sub = L"Common\\General")
    {
        ASSERT_TRUE(reg_->CreateKey(L"\\Software\\Microsoft\\Office\\" + version + L"\\" + sub));
    }
    void SetTheme(const String& version, const String& name, Integer value)
    {
        ASSERT_TRUE(reg_->OpenKey(L"\\Software\\Microsoft\\Office\\" + version + L"\\Common", true));
        reg_->WriteInteger(name, value);
        reg_->CloseKey();
    }
    void RemoveOffice()
    {
        reg_->DeleteKey(L"\\Software\\Microsoft\\Office");
    }

    TOwned<TRegistry> reg_;
    bool created_ = false;
};

TEST_F(OfficeRegistryTest, InstalledVersionIsTheNewestGeneralKey)
{
    EXPECT_EQ(GetInstalledOfficeVersion(), 0);
    CreateKey(L"11.0");
    EXPECT_EQ(GetInstalledOfficeVersion(), 0);
    CreateKey(L"12.0");
    EXPECT_EQ(GetInstalledOfficeVersion(), 1);
    CreateKey(L"15.0");
    EXPECT_EQ(GetInstalledOfficeVersion(), 3);
    RemoveOffice();
    CreateKey(L"14.0");
    EXPECT_EQ(GetInstalledOfficeVersion(), 2);
    RemoveOffice();
    CreateKey(L"15.0", L"Common"); // the theme key alone does not count
    EXPECT_EQ(GetInstalledOfficeVersion(), 0);
}

TEST_F(OfficeRegistryTest, ThemeComesFromTheNewestGenerationThatRecordsOne)
{
    const struct {
        const wchar_t* Version;
        const wchar_t* Name;
        Integer Value;
        TOfficeTheme Expected;
    } cases[] = {
        {L"16.0", L"UI Theme", 0, ot2016White}, {L"16.0", L"UI Theme", 1, ot2016White},
        {L"16.0", L"UI Theme", 2, ot2016Gray},  {L"16.0", L"UI Theme", 3, ot2016Black},
        {L"16.0", L"UI Theme", 7, ot2003Blue},  {L"15.0", L"UI Theme", 0, ot2013White},
        {L"15.0", L"UI Theme", 1, ot2013Silver}, {L"15.0", L"UI Theme", 2, ot2013Gray},
        {L"15.0", L"UI Theme", 3, ot2003Blue},  {L"14.0", L"Theme", 1, ot2010Blue},
        {L"14.0", L"Theme", 2, ot2010Silver},   {L"14.0", L"Theme", 3, ot2010Black},
        {L"14.0", L"Theme", 0, ot2003Blue},     {L"12.0", L"Theme", 1, ot2007Blue},
        {L"12.0", L"Theme", 2, ot2007Silver},   {L"12.0", L"Theme", 3, ot2007Black},
        {L"12.0", L"Theme", -1, ot2003Blue},
    };
    for (const auto& c : cases) {
        SetTheme(c.Version, c.Name, c.Value);
        EXPECT_EQ(DetectOfficeTheme(), c.Expected) << c.Version << " " << c.Value;
        RemoveOffice();
    }

    // The newest recorded value decides, whatever the older ones say.
    SetTheme(L"15.0", L"UI Theme", 1);
    SetTheme(L"16.0", L"UI Theme", 7);
    EXPECT_EQ(DetectOfficeTheme(), ot2003Blue);
    RemoveOffice();
    SetTheme(L"12.0", L"Theme", 3);
    SetTheme(L"14.0", L"Theme", 1);
    EXPECT_EQ(DetectOfficeTheme(), ot2010Blue);
    // A generation's key without its value, or with a value of another
    // type, passes the decision on.
    CreateKey(L"16.0", L"Common");
    ASSERT_TRUE(reg_->OpenKey(L"\\Software\\Microsoft\\Office\\15.0\\Common", true));
    reg_->WriteString(L"UI Theme", L"2");
    reg_->CloseKey();
    EXPECT_EQ(DetectOfficeTheme(), ot2010Blue);
}

// Stand-ins for a visual-styles library that reports a colour scheme,
// which the Wine prefix cannot have.
const wchar_t* reportedScheme = L"";
HRESULT WINAPI ReportScheme(LPWSTR, int, LPWSTR colorName, int colorChars, LPWSTR, int)
{
    lstrcpynW(colorName, reportedScheme, colorChars);
    return S_OK;
}
FARPROC LookupWithScheme(HMODULE module, LPCSTR name)
{
    if (strcmp(name, "GetCurrentThemeName") == 0)
        return reinterpret_cast<FARPROC>(ReportScheme);
    return GetProcAddress(module, name);
}

void ProbeThemedXP()
{
    PlatformProbe().WindowsMajor = 5;
    PlatformProbe().WindowsMinor = 1;
    PlatformProbe().ComCtlMajor = 6;
    PlatformProbe().ThemeActive = true;
}

TEST_F(OfficeRegistryTest, WithoutOfficeTheWindowsColourSchemeDecides)
{
    // The platform's own answer: this prefix has no active visual style.
    EXPECT_EQ(GetXPThemeColorScheme(), 0);
    EXPECT_EQ(DetectOfficeTheme(), ot2003Classic);
    ProbeThemedXP();
    EXPECT_EQ(GetXPThemeColorScheme(), 0);

    xpvs::LibraryCalls().GetProcAddress = LookupWithScheme;
    const struct {
        const wchar_t* Scheme;
        Byte Number;
        TOfficeTheme Theme;
    } cases[] = {
        {L"NormalColor", 1, ot2003Blue},  {L"HomeStead", 2, ot2003Olive},
        {L"Metallic", 3, ot2003Silver},   {L"homestead", 0, ot2003Classic},
        {L"Royale", 0, ot2003Classic},    {L"HomeStead Metallic", 2, ot2003Olive},
    };
    for (const auto& c : cases) {
        reportedScheme = c.Scheme;
        EXPECT_EQ(GetXPThemeColorScheme(), c.Number) << c.Scheme;
        EXPECT_EQ(DetectOfficeTheme(), c.Theme) << c.Scheme;
    }

    // Each condition of the scheme query on its own.
    reportedScheme = L"HomeStead";
    for (auto change : {+[] { PlatformProbe().ThemeActive = false; },
                        +[] { PlatformProbe().ComCtlMajor = 5; },
                        +[] { PlatformProbe().WindowsMinor = 0; }}) {
        ProbeThemedXP();
        change();
        EXPECT_EQ(GetXPThemeColorScheme(), 0);
        EXPECT_EQ(DetectOfficeTheme(), ot2003Classic);
    }
    ProbeThemedXP();
    SetTheme(L"12.0", L"Theme", 2);
    EXPECT_EQ(DetectOfficeTheme(), ot2007Silver);
}

TEST(PlatformProbes, WindowsAndCommonControlsVersions)
{
    const struct {
        DWORD Major, Minor;
        bool XP, Vista;
        const wchar_t* Font;
    } cases[] = {
        {4, 10, false, false, L"Tahoma"}, {5, 0, false, false, L"Tahoma"},
        {5, 1, true, false, L"Tahoma"},   {5, 2, true, false, L"Tahoma"},
        {6, 0, true, true, L"Segoe UI"},  {10, 0, true, true, L"Segoe UI"},
    };
    for (const auto& c : cases) {
        PlatformProbe().WindowsMajor = c.Major;
        PlatformProbe().WindowsMinor = c.Minor;
        EXPECT_EQ(IsWindowsXPOrLater(), c.XP) << c.Major << "." << c.Minor;
        EXPECT_EQ(IsWindowsVistaOrLater(), c.Vista) << c.Major << "." << c.Minor;
        EXPECT_EQ(GetDefaultUIFontName(), c.Font) << c.Major << "." << c.Minor;
    }
    PlatformProbe().ComCtlMajor = 5;
    EXPECT_FALSE(IsComCtl6OrLater());
    PlatformProbe().ComCtlMajor = 6;
    EXPECT_TRUE(IsComCtl6OrLater());
    ResetPlatformProbe();
}

TEST(ColorShading, ScalesEachChannel)
{
    const struct {
        TColor Color;
        Integer Percent;
        TColor Expected;
    } cases[] = {
        {RGB(200, 100, 50), -60, RGB(255, 160, 80)},
        {RGB(200, 100, 50), 20, RGB(160, 80, 40)},
        {RGB(5, 7, 255), 50, RGB(2, 4, 128)},  // halves round to even
        {RGB(10, 20, 30), 0, RGB(10, 20, 30)},
        {RGB(10, 20, 30), 100, RGB(0, 0, 0)},
        {RGB(10, 20, 30), 150, RGB(0, 0, 0)},  // beyond black stays black
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShadeColor(c.Color, c.Percent), c.Expected) << std::hex << c.Color << " " << std::dec << c.Percent;

    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(ShadeColor(clWindow, 0), static_cast<TColor>(window));
    EXPECT_EQ(ScaleColorComponents(clWindow, 50), ShadeColor(clWindow, 50));
}

TEST(ColorTones, ClearingSetsEveryColourToNone)
{
    TColorTones tones;
    tones.Hover.TextColor = clRed;
    ClearColorTones(tones);
    for (const TColorTone& t : {tones.Background, tones.Foreground, tones.Selected, tones.Hover, tones.Disabled}) {
        EXPECT_EQ(t.BrushColor, clNone);
        EXPECT_EQ(t.BorderColor, clNone);
        EXPECT_EQ(t.TextColor, clNone);
    }
}

TEST(StyleInterfaces, IdentifiersAndStoredValues)
{
    auto text = [](const GUID& id) {
        wchar_t buffer[40] = {};
        StringFromGUID2(id, buffer, 40);
        return String(buffer);
    };
    EXPECT_EQ(text(__uuidof(IPackStyle)), L"{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
    EXPECT_EQ(text(__uuidof(IPackStyleEx)), L"{037BA87F-7CBD-4FDD-854E-2B3F0BCC06AE}");
    EXPECT_EQ(text(__uuidof(IPackTones)), L"{1F492643-6699-4F25-8B34-3233FA735036}");
    // Controls store these numbers.
    EXPECT_EQ(tsCustom, 8);
    EXPECT_EQ(tsOffice2007Silver, 9);
    EXPECT_EQ(tsWindowsVista, 10);
    EXPECT_EQ(tsOffice2016Black, 23);
    EXPECT_EQ(otUnknown, 16);
}

} // namespace
