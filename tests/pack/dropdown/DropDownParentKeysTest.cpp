// Enter and Escape typed in the edit, passed on to the parent window or kept,
// by DefaultHandling, CanUndo and the form's KeyPreview.
#include "AdvDropDown.h"
#include "../controls/PackControlsTestSupport.h"

using namespace pack_test;

namespace {

void Key(WORD Vk)
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = Vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump();
}

// A parent that writes down the Enter and Escape messages it gets.
class TKeyPanel : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<std::string> Keys;

protected:
    void Dispatch(TMessage& Message) override
    {
        if ((Message.Msg == WM_KEYDOWN || Message.Msg == WM_KEYUP) &&
            (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE))
            Keys.push_back(std::string(Message.WParam == VK_RETURN ? "Enter" : "Escape") +
                           (Message.Msg == WM_KEYDOWN ? " down" : " up"));
        TPanel::Dispatch(Message);
    }
};

class DropDownParentKeysTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        panel = New<TKeyPanel>(form);
        panel->SetBounds(10, 10, 300, 100);
        panel->SetParent(form);
        edit = New<TAdvDropDown>(form);
        edit->SetBounds(10, 10, 150, 21);
        edit->SetParent(panel);
        ShowForm();
    }
    TKeyPanel* panel = nullptr;
    TAdvDropDown* edit = nullptr;
};

TEST_F(DropDownParentKeysTest, EnterAndEscapeReachTheParentByTheSettings)
{
    struct Case {
        WORD key;
        bool defaultHandling, canUndo, keyPreview;
        std::vector<std::string> parent;
        bool undone;  // the value selected and no longer modified, also after the Escape character
    };
    const Case cases[] = {
        {VK_ESCAPE, true, true, false, {"Escape down", "Escape up"}, true},
        {VK_ESCAPE, true, true, true, {}, false},
        {VK_ESCAPE, true, false, false, {}, false},
        {VK_ESCAPE, false, true, false, {"Escape down", "Escape up"}, true},
        {VK_ESCAPE, false, false, false, {"Escape down", "Escape up"}, false},
        {VK_ESCAPE, false, true, true, {}, false},
        {VK_RETURN, true, true, false, {}, false},
        {VK_RETURN, false, true, false, {"Enter down", "Enter up"}, false},
        {VK_RETURN, false, true, true, {"Enter down"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.key == VK_RETURN ? "Enter" : "Escape") << " default "
                                        << c.defaultHandling << " undo " << c.canUndo << " preview " << c.keyPreview);
        edit->SetDefaultHandling(c.defaultHandling);
        edit->SetCanUndo(c.canUndo);
        form->SetKeyPreview(c.keyPreview);
        edit->SetText(L"value");
        edit->SetFocus();
        Pump();
        SendMessageW(edit->Handle(), EM_SETSEL, 5, 5);
        TypeChars(L"ab");
        ASSERT_TRUE(edit->GetModifiedFlag());
        int presses = 0;
        edit->OnKeyPress = [&](TObject*, wchar_t& k) { presses += k == VK_RETURN; };
        panel->Keys.clear();
        Key(c.key);
        Pump();
        EXPECT_EQ(panel->Keys, c.parent);
        EXPECT_EQ(edit->GetText(), L"valueab") << "neither key changes the value";
        DWORD start = 0, end = 0;
        SendMessageW(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(!edit->GetModifiedFlag(), c.undone);
        if (c.undone)
            EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD(0), DWORD(7))) << "the whole value";
        if (c.key == VK_RETURN && !c.keyPreview)
            EXPECT_EQ(presses, 1) << "OnKeyPress sees Enter once";
        edit->OnKeyPress = nullptr;
    }
    form->SetKeyPreview(false);
}

TEST_F(DropDownParentKeysTest, EscapeIsTheEditorsWhileThePopupIsOpen)
{
    edit->SetFocus();
    Pump();
    EXPECT_EQ(edit->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
    edit->ShowDropDown();
    Pump();
    ASSERT_TRUE(edit->GetDroppedDown());
    EXPECT_EQ(edit->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1) << "no dialog key while open";
    edit->HideDropDown(false);
    Pump();
}

} // namespace
