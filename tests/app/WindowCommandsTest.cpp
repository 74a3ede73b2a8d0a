// The language picker's restart notice and the next start in the chosen
// language, and the link label: its hand cursor and the page it opens.
#include <gtest/gtest.h>
#include "StartedWindow.h"
#include <optional>

using testing_support::PumpMessages;
using testing_support::SourceDir;
using testing_support::TempDir;

namespace {

const wchar_t* const EnglishNotice = L"Restart the program to take effect!";
const wchar_t* const RussianNotice = L"Для смены языка перезапустите программу!";

// A program folder with the shipped language file.
class TLanguageFolder {
public:
    TLanguageFolder()
    {
        const String shipped = SourceDir() + L"\\resources\\languages.lng";
        EXPECT_TRUE(CopyFileW(shipped.c_str(), folder.File(L"languages.lng").c_str(), FALSE));
    }
    TempDir folder;
};

// A key pressed and released on the focused window, through the loop.
void PressKey(WORD Key)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(Key, MAPVK_VK_TO_VSC)) << 16;
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, Key, scan | 1);
    PostMessageW(focus, WM_KEYUP, Key, scan | 1 | (1u << 30) | (1u << 31));
    PumpMessages();
}

TEST(LanguagePicker, AChangeShowsTheNoticeAndTheNextStartSpeaksTheChosenLanguage)
{
    struct TStep {
        WORD Key;
        int Index;
        const wchar_t* Notice;
    };
    struct TStart {
        const char* Name;
        const wchar_t* Language;      // at this start
        const wchar_t* StartCaption;  // "Start inventory" in that language
        std::vector<TStep> Steps;     // the picker's changes before closing
    };
    const TStart starts[] = {
        {"first start", L"ru", L"Инвентаризация",
         {{VK_DOWN, 1, EnglishNotice}, {VK_UP, 0, RussianNotice}, {VK_DOWN, 1, EnglishNotice}}},
        {"after choosing English", L"en", L"Start inventory", {{VK_UP, 0, RussianNotice}}},
        {"after choosing Russian", L"ru", L"Инвентаризация", {}},
    };
    TLanguageFolder languages;
    for (const TStart& start : starts) {
        SCOPED_TRACE(start.Name);
        TStartedWindow window(languages.folder.Path());
        EXPECT_EQ(LanguageCode, start.Language);
        EXPECT_EQ(window->BtnHDD->GetCaption(), start.StartCaption);
        EXPECT_EQ(window->ImagePicker1->GetItemIndex(), LanguageCode == L"en" ? 1 : 0);
        EXPECT_FALSE(window->Label11->GetVisible());

        window->ImagePicker1->SetFocus();
        PumpMessages();
        for (const TStep& step : start.Steps) {
            PressKey(step.Key);
            ASSERT_EQ(window->ImagePicker1->GetItemIndex(), step.Index);
            EXPECT_TRUE(window->Label11->GetVisible());
            EXPECT_EQ(window->Label11->GetCaption(), step.Notice);
            // The running window keeps its language until the restart.
            EXPECT_EQ(LanguageCode, start.Language);
            EXPECT_EQ(window->BtnHDD->GetCaption(), start.StartCaption);
        }
        window.Close();
    }
}

// The link label in a window of each language: the hand over it, the
// default cursor off it, and a click that hands the maker's page to the shell.
TEST(LinkLabel, TheHandShowsOverItAndAClickOpensItsPageWithoutTakingTheFocus)
{
    struct TOpened {
        String Verb;
        String Target;
        int Show = -1;
    };
    for (const char* settings : {"", "[options]\r\nlanguage=english\r\n"}) {
        SCOPED_TRACE(*settings ? "English" : "Russian");
        TLanguageFolder languages;
        WriteBytes(languages.folder.File(L"settings.ini"), settings);
        TStartedWindow window(languages.folder.Path());
        std::vector<TOpened> opened;
        window->ShellOpen = [&](const String& Verb, const String& Target, int Show) {
            opened.push_back({Verb, Target, Show});
        };
        TLabel* label = window->Label18;
        TWinControl* panel = label->GetParent();
        const String address = *settings ? EnglishSiteAddress : RussianSiteAddress;
        ASSERT_EQ(label->GetCaption(), address);

        const POINT onLabel{label->GetLeft() + label->GetWidth() / 2, label->GetTop() + label->GetHeight() / 2};
        const POINT offLabel{label->GetLeft() + label->GetWidth() / 2, label->GetTop() - 4};
        ASSERT_GE(offLabel.y, 0);
        const auto move = [&](POINT at) {
            SendMessageW(panel->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
            PumpMessages();
        };
        move(offLabel);
        EXPECT_EQ(Screen->GetCursor(), crDefault);
        move(onLabel);
        EXPECT_EQ(Screen->GetCursor(), crHandPoint);
        EXPECT_TRUE(opened.empty()) << "moving over the label opens nothing";

        ClickAt(panel, onLabel.x, onLabel.y);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0].Verb, L"");
        // Either text of the label opens the same page.
        EXPECT_EQ(opened[0].Target, MakerPageAddress);
        EXPECT_EQ(opened[0].Show, SW_SHOWNOACTIVATE);

        move(offLabel);
        EXPECT_EQ(Screen->GetCursor(), crDefault);
        // A click beside the label opens nothing.
        ClickAt(panel, offLabel.x, offLabel.y);
        EXPECT_EQ(opened.size(), 1u);
    }
}

} // namespace
