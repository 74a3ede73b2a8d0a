// The five visual-styles loaders against the platform's library, without
// it, and with a library that lacks a function.
#include <gtest/gtest.h>

#include "ACXPVS.h"
#include "APXPVS.h"
#include "ATXPVS.h"
#include "AdvTBXPVS.h"
#include "AdvXPVS.h"
#include "SysUtils.h"

namespace {

struct LoaderUnit {
    const char* Name;
    void (*Initialize)();
    void (*Finalize)();
    bool (*Loaded)();
    const void* (*OpenThemeData)();
    const void* (*EnableTheming)();
    const wchar_t* FirstCheck;
    const wchar_t* LastCheck;
};

#define LOADER_UNIT(Unit, First, Last)                                              \
    LoaderUnit                                                                      \
    {                                                                               \
        #Unit, Unit##_Initialize, Unit##_Finalize, Unit::Loaded,                    \
            [] { return reinterpret_cast<const void*>(Unit::OpenThemeData); },      \
            [] { return reinterpret_cast<const void*>(Unit::EnableTheming); }, First, Last \
    }

const LoaderUnit Units[] = {
    LOADER_UNIT(AdvXPVS, L"Assertion failure (AdvXPVS.pas, line 1533)", L"Assertion failure (AdvXPVS.pas, line 1665)"),
    LOADER_UNIT(ATXPVS, L"Assertion failure (ATXPVS.pas, line 1537)", L"Assertion failure (ATXPVS.pas, line 1669)"),
    LOADER_UNIT(APXPVS, L"Assertion failure (APXPVS.pas, line 1552)", L"Assertion failure (APXPVS.pas, line 1687)"),
    LOADER_UNIT(AdvTBXPVS, L"Assertion failure (AdvTBXPVS.pas, line 1780)", L"Assertion failure (AdvTBXPVS.pas, line 1912)"),
    LOADER_UNIT(ACXPVS, L"Assertion failure (ACXPVS.pas, line 1537)", L"Assertion failure (ACXPVS.pas, line 1669)"),
};

// The name the platform's library must not have in a test, and how many
// times the library was loaded.
const char* hiddenFunction = nullptr;
int libraryLoads = 0;

HMODULE CountingLoadLibrary(LPCWSTR name)
{
    ++libraryLoads;
    return LoadLibraryW(name);
}
HMODULE NoLibrary(LPCWSTR) { return nullptr; }
FARPROC LookupWithoutHidden(HMODULE module, LPCSTR name)
{
    return strcmp(name, hiddenFunction) == 0 ? nullptr : GetProcAddress(module, name);
}

// The suite's start-up has loaded every unit; each test starts unloaded and
// leaves the units loaded again with the platform's library.
class XPVSLoaderTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& u : Units)
            u.Finalize();
        libraryLoads = 0;
        xpvs::LibraryCalls().LoadLibrary = CountingLoadLibrary;
    }
    void TearDown() override
    {
        xpvs::ResetLibraryCalls();
        for (const auto& u : Units) {
            u.Finalize();
            u.Initialize();
        }
    }
};

TEST_F(XPVSLoaderTest, BindsThePlatformLibraryAndLetsItGo)
{
    for (const auto& u : Units) {
        SCOPED_TRACE(u.Name);
        u.Initialize();
        EXPECT_TRUE(u.Loaded());
        EXPECT_NE(u.OpenThemeData(), nullptr);
        EXPECT_NE(u.EnableTheming(), nullptr);
        u.Initialize(); // loaded already: nothing more
        u.Finalize();
        EXPECT_FALSE(u.Loaded());
        EXPECT_EQ(u.OpenThemeData(), nullptr);
    }
    EXPECT_EQ(libraryLoads, 5);
    APXPVS_Initialize();
    EXPECT_NE(reinterpret_cast<void*>(APXPVS::GetThemePartSize), nullptr);
    EXPECT_EQ(AdvXPVS::IsThemeActive, nullptr);
}

TEST_F(XPVSLoaderTest, BoundFunctionsWorkThroughTheVariables)
{
    AdvXPVS_Initialize();
    ASSERT_TRUE(AdvXPVS::Loaded());
    // The project's prefix runs without a visual style, and the library says so.
    EXPECT_FALSE(AdvXPVS::IsThemeActive());
    EXPECT_EQ(AdvXPVS::OpenThemeData(nullptr, L"button"), nullptr);
    wchar_t file[MAX_PATH] = L"x";
    EXPECT_NE(AdvXPVS::GetCurrentThemeName(file, MAX_PATH, nullptr, 0, nullptr, 0), S_OK);
}

TEST_F(XPVSLoaderTest, WithoutTheLibraryTheVariablesStayUnset)
{
    xpvs::LibraryCalls().LoadLibrary = NoLibrary;
    for (const auto& u : Units) {
        SCOPED_TRACE(u.Name);
        EXPECT_NO_THROW(u.Initialize());
        EXPECT_FALSE(u.Loaded());
        EXPECT_EQ(u.OpenThemeData(), nullptr);
        EXPECT_NO_THROW(u.Finalize());
    }
    EXPECT_EQ(AdvTBXPVS::ReferenceCount(), 0);
}

TEST_F(XPVSLoaderTest, AMissingFunctionStopsTheStartWithItsCheck)
{
    xpvs::LibraryCalls().GetProcAddress = LookupWithoutHidden;
    for (const auto& [function, first] : {std::pair{"EnableTheming", false}, std::pair{"OpenThemeData", true}}) {
        hiddenFunction = function;
        for (const auto& u : Units) {
            SCOPED_TRACE(String(u.Name, u.Name + strlen(u.Name)) + L" without " +
                         String(function, function + strlen(function)));
            try {
                u.Initialize();
                ADD_FAILURE() << "no assertion";
            } catch (const EAssertionFailed& e) {
                EXPECT_EQ(e.Message(), first ? u.FirstCheck : u.LastCheck);
            }
            u.Finalize();
            EXPECT_FALSE(u.Loaded());
        }
    }
}

TEST_F(XPVSLoaderTest, ToolbarLoaderCountsItsLoads)
{
    AdvTBXPVS_Initialize();
    EXPECT_EQ(AdvTBXPVS::ReferenceCount(), 1);
    AdvTBXPVS_Initialize();
    EXPECT_EQ(AdvTBXPVS::ReferenceCount(), 1);
    AdvTBXPVS_Finalize();
    EXPECT_EQ(AdvTBXPVS::ReferenceCount(), 0);
    EXPECT_FALSE(AdvTBXPVS::Loaded());

    // A failed lookup still counts the load, so the shut-down frees the library.
    xpvs::LibraryCalls().GetProcAddress = LookupWithoutHidden;
    hiddenFunction = "GetThemeSysFont";
    EXPECT_THROW(AdvTBXPVS_Initialize(), EAssertionFailed);
    EXPECT_TRUE(AdvTBXPVS::Loaded());
    EXPECT_EQ(AdvTBXPVS::ReferenceCount(), 1);
    AdvTBXPVS_Finalize();
    EXPECT_FALSE(AdvTBXPVS::Loaded());
    EXPECT_EQ(AdvTBXPVS::ReferenceCount(), 0);
}

} // namespace
