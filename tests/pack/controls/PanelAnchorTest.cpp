// Anchors in a panel's text under the real mouse: hovering marks them (the
// hand cursor, the hover colours, the enter and exit events, the hint), and
// a click hands web and mail addresses to the shell, which the prefix's
// browser launcher receives, and every other anchor to OnAnchorClick: panel
// texts come from files beside the program, so no anchor may start one.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"
#include <algorithm>
#include <fstream>

using namespace pack_test;
using testing_support::TempDir;

namespace {

struct TAnchorCase {
    const wchar_t* Anchor;
    bool ToLauncher;
};
const TAnchorCase AnchorCases[] = {
    {L"http://example.org/a", true},
    {L"https://example.org/b", true},
    {L"ftp://example.org/c", true},
    {L"mailto:someone@example.org", true},
    {L"details", false},
    // Would have reached the shell for the "://" alone.
    {L"file://C:/windows/notepad.exe", false},
    {L"notepad.exe x://y", false},
    {L"x-mailto:someone@example.org", false},
};

const wchar_t* const LauncherKey = L"Software\\Wine\\WineBrowser";

// Points the prefix's browser and mail launchers at a shell command that
// notes each address it is given in a file of Folder, and puts back what
// was there, however the test ends.
class TNotingLauncher {
public:
    explicit TNotingLauncher(const TempDir& Folder) : notes_(Folder.File(L"opened.txt"))
    {
        const std::string unixNotes = UnixPath(notes_);
        // Commas separate the launcher's candidates: the command has none.
        const std::string command = "/bin/sh -c \"printf '%s\\n' \\\"$0\\\" >> '" + unixNotes + "'\"";
        const std::wstring value(command.begin(), command.end());
        for (const wchar_t* name : {L"Browsers", L"Mailers"}) {
            saved_.push_back({name, Read(name)});
            RegSetKeyValueW(HKEY_CURRENT_USER, LauncherKey, name, REG_SZ, value.c_str(),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        }
    }
    ~TNotingLauncher()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                RegSetKeyValueW(HKEY_CURRENT_USER, LauncherKey, name.c_str(), REG_SZ, value->c_str(),
                                static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
            else
                RegDeleteKeyValueW(HKEY_CURRENT_USER, LauncherKey, name.c_str());
        }
    }
    TNotingLauncher(const TNotingLauncher&) = delete;
    TNotingLauncher& operator=(const TNotingLauncher&) = delete;

    // The addresses noted so far, one a line.
    std::vector<std::string> Noted() const
    {
        std::vector<std::string> lines;
        std::ifstream in(UnixPath(notes_));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    // Waits (without a time limit of its own beyond a generous one) until
    // Count addresses are noted; the launcher runs in processes of its own.
    std::vector<std::string> WaitFor(std::size_t Count) const
    {
        for (int i = 0; i < 600 && Noted().size() < Count; ++i) {
            Pump();
            Sleep(100);
        }
        return Noted();
    }

private:
    static std::optional<std::wstring> Read(const wchar_t* Name)
    {
        wchar_t buffer[1024]{};
        DWORD size = sizeof(buffer);
        if (RegGetValueW(HKEY_CURRENT_USER, LauncherKey, Name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(buffer);
    }
    // The host's name of a file of the prefix, through the platform's own export.
    static std::string UnixPath(const std::wstring& Path)
    {
        using TUnixName = char*(CDECL*)(LPCWSTR);
        auto unixName = reinterpret_cast<TUnixName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        if (!unixName)
            return std::string();
        char* name = unixName(Path.c_str());
        if (!name)
            return std::string();
        std::string result(name);
        HeapFree(GetProcessHeap(), 0, name);
        return result;
    }

    std::wstring notes_;
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

class PanelAnchors : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        panel = New<TAdvPanel>(form);
        panel->SetBounds(20, 20, 300, 240);
        panel->SetColor(clWhite);
        panel->SetBevelOuter(bvNone);
        panel->GetFont()->SetName(L"Tahoma");
        panel->GetFont()->SetHeight(-11);
        panel->GetFont()->SetColor(clBlack);
        panel->GetFont()->SetQuality(fqNonAntialiased);
        panel->SetLineSpacing(6);
        String text;
        for (const TAnchorCase& c : AnchorCases)
            text += L"<A href=\"" + String(c.Anchor) + L"\">link</A> text<BR>";
        panel->SetText(text);
        panel->SetParent(form);
        ShowForm();
    }
    // Where each anchor's ink lies: the rows of blue ink, from the top, and
    // each row's horizontal extent.
    std::vector<TRect> AnchorPlaces()
    {
        TSnapshot picture(panel);
        std::vector<TRect> places;
        for (int y = 0; y < picture.Height(); ++y) {
            const TRect row = picture.Extent(clBlue, TRect(0, y, picture.Width(), y + 1));
            if (row.IsEmpty())
                continue;
            // The underline lies a row or two below its text.
            if (places.empty() || y - places.back().bottom > 2)
                places.push_back(row);
            TRect& place = places.back();
            place.left = std::min(place.left, row.left);
            place.right = std::max(place.right, row.right);
            place.bottom = y + 1;
        }
        return places;
    }
    static POINT Middle(const TRect& R) { return {(R.left + R.right) / 2, (R.top + R.bottom) / 2}; }
    void MoveTo(POINT At)
    {
        const POINT screen = panel->ClientToScreen(At);
        SetCursorPos(screen.x, screen.y);
        INPUT move{};
        move.type = INPUT_MOUSE;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &move, sizeof(move));
        Pump();
    }
    TAdvPanel* panel = nullptr;
};

TEST_F(PanelAnchors, HoverMarksTheAnchorUnderTheMouse)
{
    const std::vector<TRect> places = AnchorPlaces();
    ASSERT_EQ(places.size(), std::size(AnchorCases)) << "one row of anchor ink per line";
    std::vector<String> entered, exited;
    panel->OnAnchorEnter = [&](TObject*, const String& a) { entered.push_back(a); };
    panel->OnAnchorExit = [&](TObject*, const String& a) { exited.push_back(a); };
    panel->SetHover(true);
    panel->SetHoverColor(clYellow);
    panel->SetHoverFontColor(clRed);

    MoveTo(Middle(places[0]));
    EXPECT_EQ(entered, (std::vector<String>{AnchorCases[0].Anchor}));
    EXPECT_EQ(panel->GetCursor(), crHandPoint);
    {
        TSnapshot hovered(panel);
        EXPECT_GT(hovered.Count(clYellow, places[0]), 10) << "the hover background";
        EXPECT_GT(hovered.Count(clRed, places[0]), 5) << "the hover text colour";
        EXPECT_EQ(hovered.Count(clBlue, places[0]), 0);
        EXPECT_GT(hovered.Count(clBlue, places[1]), 5) << "the next anchor is not hovered";
    }
    // Within the same anchor nothing new happens.
    MoveTo({Middle(places[0]).x + 2, Middle(places[0]).y});
    EXPECT_EQ(entered.size(), 1u);

    // To the next anchor: entered, without leaving the hand cursor.
    MoveTo(Middle(places[1]));
    EXPECT_EQ(entered, (std::vector<String>{AnchorCases[0].Anchor, AnchorCases[1].Anchor}));
    EXPECT_TRUE(exited.empty());

    // Off the anchors: exited, the cursor back, no hovered anchor painted.
    MoveTo({places[1].right + 80, places[1].top + 2});
    EXPECT_EQ(exited, (std::vector<String>{AnchorCases[1].Anchor}));
    EXPECT_EQ(panel->GetCursor(), crDefault);
    TSnapshot after(panel);
    EXPECT_EQ(after.Count(clYellow, TRect(0, 0, after.Width(), after.Height())), 0);
    EXPECT_GT(after.Count(clBlue, places[1]), 5);

    // The hint names the anchor under the mouse, as OnAnchorHint may change it.
    panel->SetAnchorHint(true);
    panel->OnAnchorHint = [](TObject*, String& a) { a = L"[" + a + L"]"; };
    THintInfo info;
    info.CursorPos = Middle(places[2]);
    EXPECT_EQ(panel->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, L"[" + String(AnchorCases[2].Anchor) + L"]");
    const POINT screen = panel->ClientToScreen(info.CursorPos);
    EXPECT_EQ(info.HintPos.x, screen.x + 10);
    EXPECT_EQ(info.HintPos.y, screen.y - 10);
}

TEST_F(PanelAnchors, OnlyWebAndMailAddressesReachTheLauncher)
{
    const std::vector<TRect> places = AnchorPlaces();
    ASSERT_EQ(places.size(), std::size(AnchorCases));
    TempDir folder;
    const TNotingLauncher launcher(folder);
    std::vector<String> clicked;
    panel->OnAnchorClick = [&](TObject*, const String& a) { clicked.push_back(a); };

    std::vector<String> toEvent;
    std::vector<std::string> toLauncher;
    for (std::size_t i = 0; i < places.size(); ++i) {
        ClickWithMouse(panel, Middle(places[i]), Middle(places[i]));
        const String anchor = AnchorCases[i].Anchor;
        if (AnchorCases[i].ToLauncher)
            toLauncher.emplace_back(anchor.begin(), anchor.end());
        else
            toEvent.push_back(anchor);
    }
    EXPECT_EQ(clicked, toEvent) << "every other anchor goes to the event, in click order";

    std::vector<std::string> noted = launcher.WaitFor(toLauncher.size());
    // Each launcher runs in a process of its own: the order is theirs.
    std::sort(noted.begin(), noted.end());
    std::sort(toLauncher.begin(), toLauncher.end());
    EXPECT_EQ(noted, toLauncher);
}

TEST_F(PanelAnchors, CaptionAnchorsAreHoveredAndClickedToo)
{
    panel->GetCaption()->SetVisible(true);
    panel->GetCaption()->SetColor(clWhite);
    panel->GetCaption()->GetFont()->Assign(panel->GetFont());
    panel->GetCaption()->SetText(L"<A href=\"caption-anchor\">title</A>");
    panel->SetText(L"");
    Pump();
    TSnapshot picture(panel);
    const TRect ink = picture.Extent(clBlue, TRect(0, 0, picture.Width(), 20));
    ASSERT_FALSE(ink.IsEmpty());
    std::vector<String> entered, clicked;
    int captionClicks = 0;
    panel->OnAnchorEnter = [&](TObject*, const String& a) { entered.push_back(a); };
    panel->OnAnchorClick = [&](TObject*, const String& a) { clicked.push_back(a); };
    panel->OnCaptionClick = [&](TObject*) { ++captionClicks; };
    MoveTo(Middle(ink));
    EXPECT_EQ(entered, (std::vector<String>{L"caption-anchor"}));
    EXPECT_EQ(panel->GetCursor(), crHandPoint);
    ClickWithMouse(panel, Middle(ink), Middle(ink));
    EXPECT_EQ(clicked, (std::vector<String>{L"caption-anchor"}));
    EXPECT_EQ(captionClicks, 1) << "a click in the caption is a caption click as well";
    MoveTo({ink.right + 60, 40});
    EXPECT_EQ(panel->GetCursor(), crDefault);
}

} // namespace
