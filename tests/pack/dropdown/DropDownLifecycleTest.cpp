// An editor's life: what it refers to may go first, it may go with its popup
// open, and creating, opening, closing and freeing it leaves no GDI or USER
// objects behind.
#include "AdvDropDown.h"
#include "../controls/PackControlsTestSupport.h"

using namespace pack_test;

namespace {

class DropDownLifecycleTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ShowForm();
    }
    TAdvDropDown* NewEditor()
    {
        auto* edit = New<TAdvDropDown>(form);
        edit->SetBounds(20, 20, 150, 21);
        edit->SetParent(form);
        return edit;
    }
};

TEST_F(DropDownLifecycleTest, ComponentsItRefersToMayBeFreedFirst)
{
    TAdvDropDown* edit = NewEditor();
    auto* images = NewImageList(form, 16, 16, {clRed});
    auto* content = New<TEdit>(form);
    content->SetBounds(0, 0, 120, 50);
    auto* focus = New<TEdit>(form);
    edit->SetImages(images);
    edit->SetControl(content);
    edit->SetFocusControl(focus);
    edit->GetDropDownHeader()->SetImageIndex(0);
    edit->ShowDropDown();
    Pump();
    ASSERT_TRUE(edit->GetDroppedDown());
    edit->HideDropDown(false);
    Pump();
    edit->GetDropDownHeader()->SetVisible(false);
    edit->GetDropDownFooter()->SetVisible(false);
    images->Free();
    content->Free();
    focus->Free();
    EXPECT_EQ(edit->GetImages(), nullptr);
    EXPECT_EQ(edit->GetControl(), nullptr);
    EXPECT_EQ(edit->GetFocusControl(), nullptr);
    // And the popup still opens and paints with none of them.
    Sleep(260);
    edit->ShowDropDown();
    Pump();
    EXPECT_TRUE(edit->GetDroppedDown());
    TSnapshot painted(edit->GetDropDownForm());
    EXPECT_EQ(painted.Pixel(1, painted.Height() / 2), ColorToRGB(edit->GetDropDownColor()))
        << "the background where the content was";
    edit->HideDropDown(false);
    Pump();
}

TEST_F(DropDownLifecycleTest, AnEditorFreedWithItsPopupOpenCallsNothingOnTheWay)
{
    auto* other = New<TEdit>(form);
    other->SetBounds(10, 200, 80, 21);
    other->SetParent(form);
    TAdvDropDown* edit = NewEditor();
    int calls = 0;
    edit->OnBeforeDropUp = [&](TObject*) { ++calls; };
    edit->OnDropUp = [&](TObject*, bool) { ++calls; };
    edit->SetFocus();
    edit->ShowDropDown();
    Pump();
    ASSERT_TRUE(edit->GetDroppedDown());
    HWND popup = edit->GetDropDownForm()->Handle();
    edit->Free();
    Pump();
    EXPECT_EQ(calls, 0) << "no closing events from an editor being freed";
    EXPECT_FALSE(IsWindow(popup));
    other->SetFocus();
    Pump();
}

TEST_F(DropDownLifecycleTest, CreatingOpeningClosingAndFreeingLeavesNoObjects)
{
    auto cycle = [this] {
        TAdvDropDown* edit = NewEditor();
        edit->GetDropDownHeader()->SetCaption(L"<b>Header</b>");
        edit->GetDropDownHeader()->GetButtons()->Add()->SetCaption(L"H");
        edit->GetDropDownFooter()->GetButtons()->Add()->SetCaption(L"OK");
        edit->SetImages(NewImageList(edit, 16, 16, {clRed}));
        edit->ShowDropDown();
        Pump();
        EXPECT_TRUE(edit->GetDroppedDown());
        TSnapshot painted(edit->GetDropDownForm());
        edit->HideDropDown(true);
        Pump();
        edit->Free();
        Pump();
    };
    // The first round loads what the platform keeps for good (fonts, styles).
    cycle();
    const DWORD gdi = testing_support::GdiObjectCount();
    const DWORD user = testing_support::UserObjectCount();
    for (int i = 0; i < 3; ++i)
        cycle();
    EXPECT_EQ(testing_support::GdiObjectCount(), gdi);
    EXPECT_EQ(testing_support::UserObjectCount(), user);
}

} // namespace
