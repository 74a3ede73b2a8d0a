// The library's message box: icon and buttons by dialog type and button
// set, default captions, and a real box that keeps the program's windows
// disabled while it shows.
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "acMessageBox.h"
#include <vector>

namespace {

TEST(MessageBoxStyle, IconAndButtonGroup)
{
    struct Case {
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        UINT style;
    } cases[] = {
        {mtWarning, {mbOK}, MB_ICONWARNING | MB_OK},
        {mtError, {mbOK, mbCancel}, MB_ICONERROR | MB_OKCANCEL},
        {mtInformation, {mbYes, mbNo, mbCancel}, MB_ICONINFORMATION | MB_YESNOCANCEL},
        {mtConfirmation, {mbYes, mbNo}, MB_ICONQUESTION | MB_YESNO},
        {mtConfirmation, {mbNo}, MB_ICONQUESTION | MB_YESNO},
        {mtCustom, {mbHelp}, MB_OK | MB_HELP},
        {mtCustom, {mbAbort, mbRetry, mbIgnore}, MB_ABORTRETRYIGNORE},
        {mtCustom, {mbIgnore}, MB_ABORTRETRYIGNORE},
        {mtCustom, {mbRetry, mbCancel}, MB_RETRYCANCEL},
        {mtCustom, {mbOK, mbYes, mbNo}, MB_OK},          // OK decides first
        {mtCustom, {mbAbort, mbYes}, MB_ABORTRETRYIGNORE}, // then Abort or Ignore
        {mtCustom, {mbCancel}, MB_OK},
        {mtCustom, {}, MB_OK},
        {mtCustom, {mbYes, mbHelp}, MB_YESNO | MB_HELP},
        {static_cast<TMsgDlgType>(9), {mbOK}, MB_OK}, // an unknown type has no icon
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageBoxStyle(c.type, c.buttons), c.style) << c.type << " " << c.buttons.ToInt();

    const wchar_t* captions[] = {L"Warning", L"Error", L"Information", L"Confirm", L""};
    for (int type = mtWarning; type <= mtCustom; ++type)
        EXPECT_EQ(DefaultMessageCaption(static_cast<TMsgDlgType>(type)), captions[type]);
    EXPECT_EQ(DefaultMessageCaption(static_cast<TMsgDlgType>(9)), L"");
}

// What a user sees in a box, read while it shows.
struct TBoxSeen {
    String caption, text;
    std::vector<int> buttons;
    HWND owner = nullptr;
    bool programEnabled = true;
    int x = 0, y = 0;
};
TBoxSeen seen;

// Reads the next box and presses Answer; Program is a window of the program.
void AnswerNextBox(int Answer, HWND Program)
{
    seen = {};
    testing_support::AnswerNextMessageBox([Answer, Program](HWND box) {
        seen.caption = testing_support::WindowText(box);
        seen.text = testing_support::MessageBoxText(box);
        for (int button : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDHELP}) {
            HWND item = GetDlgItem(box, button);
            if (item && IsWindowVisible(item))
                seen.buttons.push_back(button);
        }
        seen.owner = GetWindow(box, GW_OWNER);
        seen.programEnabled = IsWindowEnabled(Program);
        seen.x = MessageBoxX;
        seen.y = MessageBoxY;
        return Answer;
    });
}

class RealMessageBox : public testing::Test {
protected:
    void SetUp() override
    {
        form->SetBounds(50, 50, 240, 160);
        form->Show();
        SetActiveWindow(form->Handle());
        testing_support::PumpMessages();
    }
    TOwned<TForm> form{New<TForm>(nullptr)};
};

TEST_F(RealMessageBox, AnswersAndDisablesTheProgramWhileShowing)
{
    AnswerNextBox(IDNO, form->Handle());
    int answer = MessageBoxCore(L"", L"Save the list?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0, 40, 50);
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(seen.caption, L"Confirm");
    EXPECT_EQ(seen.text, L"Save the list?");
    EXPECT_EQ(seen.buttons, std::vector<int>({IDCANCEL, IDYES, IDNO}));
    EXPECT_EQ(seen.owner, form->Handle()) << "the active form owns the box";
    EXPECT_FALSE(seen.programEnabled);
    EXPECT_EQ(seen.x, 40);
    EXPECT_EQ(seen.y, 50);

    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(MessageBoxX, -1);
    EXPECT_EQ(MessageBoxY, -1);
    EXPECT_EQ(GetActiveWindow(), form->Handle());
}

TEST_F(RealMessageBox, ShortcutsUseTheDefaultCaptionsAndOneButton)
{
    struct Case {
        void (*show)(const String&);
        const wchar_t* caption;
    } cases[] = {
        {ShowWarningMessage, L"Warning"},
        {ShowErrorMessage, L"Error"},
        {ShowAlert, L"Warning"},
    };
    for (const Case& c : cases) {
        AnswerNextBox(IDOK, form->Handle());
        c.show(L"The disk is full.");
        EXPECT_EQ(seen.caption, c.caption);
        EXPECT_EQ(seen.text, L"The disk is full.");
        EXPECT_EQ(seen.buttons, std::vector<int>({IDOK}));
        EXPECT_EQ(seen.x, -1);
    }

    AnswerNextBox(IDOK, form->Handle());
    EXPECT_EQ(MessageBoxCore(L"Tavelin", L"Help is near.", mtCustom, {mbHelp}, 77, -1, -1), IDOK);
    EXPECT_EQ(seen.caption, L"Tavelin");
    EXPECT_EQ(seen.buttons, std::vector<int>({IDOK, IDHELP}));
}

} // namespace
