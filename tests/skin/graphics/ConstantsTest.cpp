// Start-up metrics, the Windows version level and the localized captions.
#include <gtest/gtest.h>
#include "PlatformProbe.h"
#include "acEngineServices.h"
#include "sConst.h"

namespace {

struct ProbeGuard {
    ~ProbeGuard() { ResetPlatformProbe(); }
};

TEST(WinVersionLevel, FollowsMajorAndMinorVersion)
{
    struct Case {
        DWORD major, minor;
        int level;
    } cases[] = {{5, 1, 5}, {6, 0, 6}, {6, 1, 6}, {6, 2, 8}, {6, 3, 6}, {10, 0, 8}, {7, 0, 8}};
    for (const Case& c : cases)
        EXPECT_EQ(WinVersionLevelOf(c.major, c.minor), c.level) << c.major << "." << c.minor;
}

TEST(WinVersionLevel, StartUpReadsTheProbe)
{
    ProbeGuard guard;
    String savedOK = StrOK;
    PlatformProbe().WindowsMajor = 6;
    PlatformProbe().WindowsMinor = 2;
    sConst_Initialize();
    EXPECT_EQ(WinVersionLevel, 8);
    PlatformProbe().WindowsMinor = 1;
    sConst_Initialize();
    EXPECT_EQ(WinVersionLevel, 6);
    EXPECT_EQ(StrOK, savedOK);
}

TEST(SystemMetrics, AreReadOnceUntilTheMarkerIsCleared)
{
    CacheSystemMetrics();
    EXPECT_EQ(SysCaptionHeight, GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(SysScrollArrowWidth, GetSystemMetrics(SM_CXHSCROLL));

    SysFrameWidth = 999;
    SysSmallCaptionHeight = 999;
    CacheSystemMetrics();
    EXPECT_EQ(SysFrameWidth, 999) << "cached metrics must not be read again";

    SysCaptionHeight = -1;
    CacheSystemMetrics();
    EXPECT_EQ(SysFrameWidth, GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(SysDlgFrameWidth, GetSystemMetrics(SM_CXDLGFRAME));
    EXPECT_EQ(SysSmallCaptionHeight, GetSystemMetrics(SM_CYSMCAPTION));
    EXPECT_EQ(SysCaptionHeight, GetSystemMetrics(SM_CYCAPTION));
}

String RawModuleString(HMODULE module, UINT id)
{
    wchar_t buffer[256] = {};
    int length = LoadStringW(module, id, buffer, 256);
    return String(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

TEST(LoadSystemString, TakesTheModuleTextWithSuffixElseTheFallback)
{
    // Of the captions' modules, Wine's comdlg32 carries the colour names.
    HMODULE comdlg32 = LoadLibraryW(L"comdlg32.dll");
    String raw = RawModuleString(comdlg32, 1049);
    ASSERT_FALSE(raw.empty());

    String s = L"old";
    LoadSystemString(s, comdlg32, 1049, 58955, L":");
    EXPECT_EQ(s, raw + L":");

    // A string the module lacks: the library's own, without the suffix.
    LoadSystemString(s, comdlg32, 0xFFF0, 58991, L":");
    EXPECT_EQ(s, L"Cancel");
    LoadSystemString(s, comdlg32, 0xFFF0, 0, L":");
    EXPECT_EQ(s, L"");

    // No module at all falls back the same way.
    LoadSystemString(s, nullptr, 800, 58934, L":");
    EXPECT_EQ(s, L"Font");

    LoadSystemStringDef(s, nullptr, 5273, L"Font color:", L":");
    EXPECT_EQ(s, L"Font color:");
    LoadSystemStringDef(s, comdlg32, 1049, L"unused", L" - ");
    EXPECT_EQ(s, raw + L" - ");
    LoadSystemStringDef(s, comdlg32, 0xFFF0, String(), L":");
    EXPECT_EQ(s, L"");
    FreeLibrary(comdlg32);
}

TEST(LocalizedCaptions, FallBackForModulesTheSystemLacks)
{
    std::vector<std::wstring> asked;
    LoadLocalizedCaptions([&](const wchar_t* name) -> HMODULE {
        asked.push_back(name);
        return std::wstring(name) == L"inetres.dll" ? nullptr : LoadLibraryW(name);
    });
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"user32.dll", L"colorui.dll", L"shell32.dll",
                                                 L"comctl32.dll", L"comdlg32.dll", L"compstui.dll",
                                                 L"inetres.dll"}));
    EXPECT_EQ(StrFont, L"Font");
    EXPECT_EQ(StrFontColor, L"Font color:");
    EXPECT_EQ(StrCalculator, L"Calculator");
    EXPECT_EQ(StrHex, L"Hex - ");
    EXPECT_EQ(StrInvalidDate, L"Invalid date");
    EXPECT_EQ(StrInternal, L"(internal)");
    EXPECT_EQ(StrSelectSkin, L"Select skin");
    EXPECT_EQ(StrFrameAdapterNotOnFrame, L"TsFrameAdapter adapter must be placed on the handled frame");
    HMODULE comdlg32 = LoadLibraryW(L"comdlg32.dll");
    EXPECT_EQ(StrRed, RawModuleString(comdlg32, 1049) + L":");
    FreeLibrary(comdlg32);

    // With no module at all every caption still reads as English text.
    LoadLocalizedCaptions([](const wchar_t*) -> HMODULE { return nullptr; });
    EXPECT_EQ(StrOK, L"OK");
    EXPECT_EQ(StrMinimize, L"Minimize");
    EXPECT_EQ(StrAdditionalColors, L"Additional colors :");
    EXPECT_EQ(StrRoot, L"Root:");
    EXPECT_EQ(StrAddToCustomColors, L"Add to custom colors set");

    sConst_Initialize();
}

TEST(LocalizedCaptions, NoneIsEmptyAfterStartUp)
{
    const String* captions[] = {
        &StrOK, &StrCancel, &StrHelp, &StrClose, &StrAddToCustomColors, &StrDefineColors,
        &StrAdditionalColors, &StrDecimal, &StrRoot, &StrCreate, &StrRestore, &StrSize, &StrMove,
        &StrMaximize, &StrMinimize, &StrCalculator, &StrFileOpen, &StrSelectDirectory, &StrRed,
        &StrGreen, &StrBlue, &StrColor, &StrHex, &StrFont, &StrFontColor, &StrInvalidDate,
        &StrAvailableStyles, &StrInternal, &StrDirWithSkins, &StrSelectSkin, &StrSkinPreview,
        &StrFrameAdapterNotOnFrame};
    for (size_t i = 0; i < std::size(captions); ++i)
        EXPECT_FALSE(captions[i]->empty()) << "caption " << i;
}

TEST(EngineServices, CompositionNeedsWindowsSix)
{
    ProbeGuard guard;
    struct Case {
        DWORD major;
        bool composition, aero;
    } cases[] = {{5, true, false}, {6, true, true}, {6, false, false}, {10, true, true}};
    for (const Case& c : cases) {
        PlatformProbe().WindowsMajor = c.major;
        PlatformProbe().CompositionEnabled = c.composition;
        EXPECT_EQ(IsAeroEnabled(), c.aero) << c.major << " " << c.composition;
    }
}

} // namespace
