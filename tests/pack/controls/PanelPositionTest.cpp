// A panel's saved position: written to a real INI file or registry key when
// its window goes, read back when a panel with the same place is loaded (a
// collapsed panel comes back collapsed, with its expanded size), and nothing
// written or read without a key. A group saves and loads the positions of
// its panels under their names.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"
#include <algorithm>
#include <string>

using namespace pack_test;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

using enum TPanelPositionLocation;

const wchar_t* const RegistryKey = L"Software\\TavelinTest\\PanelPositions";

class PanelPositions : public FormTest {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
        FormTest::SetUp();
        ShowForm();
    }
    void TearDown() override
    {
        FormTest::TearDown();
        RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
    }
    String Key(TPanelPositionLocation Location) const
    {
        return Location == clInifile ? String(folder.File(L"panels.ini")) : String(RegistryKey);
    }
    // A panel that keeps its position at Key, section Section, loaded as a
    // form loads it; it starts at (0, 0, 100, 100).
    TAdvPanel* LoadedPanel(TPanelPositionLocation Location, const String& KeyName, const String& Section)
    {
        auto* panel = New<TAdvPanel>(form);
        panel->BeginLoading();
        panel->SetBounds(0, 0, 100, 100);
        panel->GetCaption()->SetVisible(true);
        panel->GetPosition()->SetLocation(Location);
        panel->GetPosition()->SetKey(KeyName);
        panel->GetPosition()->SetSection(Section);
        panel->GetPosition()->SetSave(true);
        panel->SetParent(form);
        panel->EndLoading();
        return panel;
    }
    // What the store holds for a value (-1 when it holds nothing).
    int Stored(TPanelPositionLocation Location, const String& Section, const wchar_t* Name) const
    {
        if (Location == clInifile)
            return static_cast<int>(GetPrivateProfileIntW(Section.c_str(), Name, -1, Key(clInifile).c_str()));
        // Integers are DWORDs; how the registry class keeps a Boolean is its
        // own: a DWORD or a number as text both read as integers.
        const String path = String(RegistryKey) + L"\\" + Section;
        wchar_t text[32]{};
        DWORD type = 0, size = sizeof(text);
        if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), Name, RRF_RT_REG_DWORD | RRF_RT_REG_SZ, &type, text,
                         &size) != ERROR_SUCCESS)
            return -1;
        if (type == REG_DWORD)
            return static_cast<int>(*reinterpret_cast<const DWORD*>(text));
        return std::stoi(text);
    }
    TempDir folder;
};

TEST_F(PanelPositions, CollapsedPanelComesBackCollapsed)
{
    for (TPanelPositionLocation location : {clInifile, clRegistry}) {
        SCOPED_TRACE(location == clInifile ? "INI file" : "registry");
        TAdvPanel* saved = LoadedPanel(location, Key(location), L"Details");
        EXPECT_EQ(saved->GetBoundsRect(), Bounds(0, 0, 100, 100)) << "nothing stored yet";
        saved->SetBounds(30, 40, 220, 160);
        saved->SetHeight(160);
        saved->SetCollaps(true);
        ASSERT_EQ(saved->GetHeight(), 18);
        // Written as its window goes.
        saved->Free();
        Pump();
        const std::pair<const wchar_t*, int> values[] = {{L"Top", 40},   {L"Left", 30},       {L"Height", 18},
                                                         {L"Width", 220}, {L"FullHeight", 160}, {L"Collaps", 1}};
        for (const auto& [name, value] : values)
            EXPECT_EQ(Stored(location, L"Details", name), value) << String(name).c_str();

        TAdvPanel* loaded = LoadedPanel(location, Key(location), L"Details");
        EXPECT_EQ(loaded->GetBoundsRect(), Bounds(30, 40, 220, 18));
        EXPECT_TRUE(loaded->GetCollaps());
        EXPECT_EQ(loaded->GetFullHeight(), 160);
        loaded->SetCollaps(false);
        EXPECT_EQ(loaded->GetHeight(), 160) << "expands to the saved full height";
        // Only a panel that saves writes: this one leaves the store as it is.
        loaded->GetPosition()->SetSave(false);
        loaded->Free();
        EXPECT_EQ(Stored(location, L"Details", L"Collaps"), 1);
    }
}

TEST_F(PanelPositions, OnlyOneMeansCollapsed)
{
    const struct {
        const char* Collaps;
        bool Collapsed;
    } cases[] = {{"1", true}, {"2", false}, {"0", false}, {"-1", false}, {"yes", false}};
    for (const auto& c : cases) {
        const std::wstring file = folder.File(L"hand.ini");
        WriteBytes(file, std::string("[Panel]\r\nTop=12\r\nLeft=14\r\nHeight=90\r\nWidth=110\r\nFullHeight=130\r\n") +
                             "Collaps=" + c.Collaps + "\r\n");
        TAdvPanel* panel = LoadedPanel(clInifile, file, L"Panel");
        EXPECT_EQ(panel->GetCollaps(), c.Collapsed) << c.Collaps;
        EXPECT_EQ(panel->GetLeft(), 14) << c.Collaps;
        EXPECT_EQ(panel->GetTop(), 12) << c.Collaps;
        EXPECT_EQ(panel->GetWidth(), 110) << c.Collaps;
        EXPECT_EQ(panel->GetHeight(), c.Collapsed ? 18 : 90) << c.Collaps;
        EXPECT_EQ(panel->GetFullHeight(), 130) << c.Collaps;
        panel->GetPosition()->SetSave(false);
        panel->Free();
    }
}

TEST_F(PanelPositions, NothingIsKeptWithoutAKeyOrSection)
{
    const String unique = L"TavelinPanelWithoutKey";
    for (TPanelPositionLocation location : {clInifile, clRegistry}) {
        TAdvPanel* panel = LoadedPanel(location, L"", unique);
        panel->SetBounds(5, 6, 170, 80);
        panel->SavePosition();
        panel->Free();
    }
    // With an empty key the profile functions would use the system's own
    // file, and the registry class the user's root key.
    wchar_t found[16]{};
    EXPECT_EQ(GetProfileStringW(unique.c_str(), L"Top", L"", found, 16), 0u);
    HKEY opened = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, unique.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    if (opened)
        RegCloseKey(opened);

    TAdvPanel* noSection = LoadedPanel(clInifile, Key(clInifile), L"");
    noSection->SetBounds(5, 6, 170, 80);
    noSection->Free();
    EXPECT_EQ(GetFileAttributesW(Key(clInifile).c_str()), INVALID_FILE_ATTRIBUTES) << "no file written";
}

// A group keeps its panels' positions in its own store, each under the
// panel's name, and gives each panel its own place back afterwards.
TEST_F(PanelPositions, GroupKeepsItsPanelsUnderTheirNames)
{
    auto* group = New<TAdvPanelGroup>(form);
    group->SetBounds(0, 0, 200, 360);
    group->SetParent(form);
    group->GetPosition()->SetLocation(clInifile);
    group->GetPosition()->SetKey(Key(clInifile));
    group->GetPosition()->SetSection(L"Group");
    group->GetDefaultPanel()->GetCaption()->SetVisible(true);
    TCustomAdvPanel* first = group->AddPanel();
    first->SetName(L"First");
    TCustomAdvPanel* second = group->AddPanel();
    second->SetName(L"Second");
    second->SetHeight(90);
    second->GetPosition()->SetKey(L"own.ini");
    second->GetPosition()->SetSection(L"Own");
    second->GetPosition()->SetLocation(clRegistry);
    group->ArrangePanels();
    second->SetCollaps(true);
    ASSERT_EQ(second->GetTop(), 8 + 120 + 8);

    group->SavePanelPositions();
    // The file's sections, as the profile functions list them.
    wchar_t names[256]{};
    const DWORD length = GetPrivateProfileSectionNamesW(names, 256, Key(clInifile).c_str());
    std::vector<String> sections;
    for (const wchar_t* name = names; name < names + length && *name; name += wcslen(name) + 1)
        sections.emplace_back(name);
    std::sort(sections.begin(), sections.end());
    EXPECT_EQ(sections, (std::vector<String>{L"First", L"Second"})) << "the group's own section is not used";
    EXPECT_EQ(Stored(clInifile, L"First", L"Top"), 8);
    EXPECT_EQ(Stored(clInifile, L"First", L"Height"), 120);
    EXPECT_EQ(Stored(clInifile, L"Second", L"Top"), 136);
    EXPECT_EQ(Stored(clInifile, L"Second", L"Collaps"), 1);
    EXPECT_EQ(Stored(clInifile, L"Second", L"FullHeight"), 90);
    // Its own place is the panel's again.
    EXPECT_EQ(second->GetPosition()->GetKey(), L"own.ini");
    EXPECT_EQ(second->GetPosition()->GetSection(), L"Own");
    EXPECT_EQ(second->GetPosition()->GetLocation(), clRegistry);

    second->SetCollaps(false);
    first->SetHeight(60);
    ASSERT_EQ(second->GetHeight(), 90);
    group->LoadPanelPositions();
    EXPECT_EQ(first->GetHeight(), 120);
    EXPECT_TRUE(second->GetCollaps());
    EXPECT_EQ(second->GetFullHeight(), 90);
    EXPECT_EQ(second->GetTop(), 136) << "arranged under the first again";
    EXPECT_EQ(second->GetPosition()->GetSection(), L"Own");
}

} // namespace
