// The image picker: items from an image list and from a folder of real
// files (good, damaged and mislabelled ones), selection by image index, the
// keys, the wheel and type-ahead with the popup open or closed, Escape, and
// the chosen image centred in the edit.
#include "AdvImagePickerDropDown.h"
#include "DropDownInput.h"
#include "PngImage.h"
#include "PngWriter.h"
#include "SysUtils.h"

#include <chrono>

using namespace pack_test;
using namespace dropdown_input;
using testing_support::TempDir;

namespace {

template <class F>
bool PumpUntil(F Done)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    return true;
}

class ImagePickerDropDownTest : public FormTest {
protected:
    static void SetUpTestSuite()
    {
        registeredPng = TPicture::FileFormatClass(L"png") == nullptr;
        if (registeredPng)
            PngImage_Initialize();
    }
    static void TearDownTestSuite()
    {
        if (registeredPng)
            PngImage_Finalize();
    }
    void SetUp() override
    {
        FormTest::SetUp();
        edit = New<TAdvImagePickerDropDown>(form);
        edit->SetBounds(20, 20, 120, 24);
        edit->SetParent(form);
        edit->SetTabStop(true);
        edit->OnChange = [this](TObject*) { events.push_back("OnChange"); };
        edit->OnSelect = [this](TObject*) { events.push_back("OnSelect"); };
        ShowForm();
        edit->SetFocus();
        Pump();
    }
    void AddCaptions(std::initializer_list<const wchar_t*> Captions)
    {
        for (const wchar_t* caption : Captions) {
            TImageItem* item = edit->GetItems()->Add();
            item->SetCaption(caption);
            item->SetImageIndex(edit->GetItems()->Count() - 1);
        }
    }
    void Open()
    {
        edit->ShowDropDown();
        Pump();
    }
    TAdvImagePickerDropDown* edit = nullptr;
    std::vector<std::string> events;
    static inline bool registeredPng = false;
};

TEST_F(ImagePickerDropDownTest, StartsEmptyAndDownSelectsTheFirstItem)
{
    EXPECT_EQ(edit->GetItems()->Count(), 0);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    EXPECT_EQ(edit->GetImageIndex(), -1);
    EXPECT_FALSE(edit->GetEditorEnabled());
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    AddCaptions({L"one", L"two"});
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 1) << "no step past the last item";
    Key(VK_HOME);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    Key(VK_END);
    EXPECT_EQ(edit->GetItemIndex(), 1);
}

TEST_F(ImagePickerDropDownTest, ItemsFromAnImageListFollowExistingOnes)
{
    TImageList* images = NewImageList(form, 16, 16, {clRed, clLime, clBlue, clYellow, clAqua});
    edit->SetImages(images);
    edit->GetItems()->Add()->SetCaption(L"first");
    edit->AddImagesFromImageList();
    ASSERT_EQ(edit->GetItems()->Count(), 6);
    EXPECT_EQ(edit->GetItems()->GetItem(0)->GetImageIndex(), -1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(edit->GetItems()->GetItem(i + 1)->GetImageIndex(), i);
        EXPECT_TRUE(edit->GetItems()->GetItem(i + 1)->GetCaption().empty());
    }
}

TEST_F(ImagePickerDropDownTest, ImageIndexSelectsTheFirstItemWithIt)
{
    for (int index : {3, 7, 3, 5})
        edit->GetItems()->Add()->SetImageIndex(index);
    edit->SetImageIndex(3);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    edit->SetImageIndex(5);
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_EQ(edit->GetImageIndex(), 5);
    events.clear();
    edit->SetImageIndex(42);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    EXPECT_EQ(edit->GetImageIndex(), -1);
    EXPECT_EQ(events, (std::vector<std::string>{"OnChange", "OnSelect"}));
    events.clear();
    edit->SetItemIndex(4);
    EXPECT_EQ(edit->GetItemIndex(), -1) << "an index past the items is ignored";
    EXPECT_TRUE(events.empty());
}

TEST_F(ImagePickerDropDownTest, AFolderGivesOneItemPerFileAndEmptyItemsForBadOnes)
{
    TempDir dir;
    {
        TOwned<TBitmap> bitmap(New<TBitmap>());
        bitmap->SetSize(16, 12);
        bitmap->GetCanvas()->GetBrush()->SetColor(clRed);
        bitmap->GetCanvas()->FillRect(TRect(0, 0, 16, 12));
        bitmap->SaveToFile(dir.File(L"good.bmp"));
    }
    const std::string png = pngwriter::Encode(pngwriter::MakeImage(10, 8, 2, 8));
    testing_support::WriteBytes(dir.File(L"good.png"), png);
    testing_support::WriteBytes(dir.File(L"cut.png"), png.substr(0, png.size() / 2));
    testing_support::WriteBytes(dir.File(L"text.bmp"), "This file is no bitmap at all.\r\n");
    ASSERT_TRUE(CreateDirectoryW(dir.File(L"sub").c_str(), nullptr));
    edit->GetItems()->Add()->SetCaption(L"kept");

    edit->AddImagesFromFolder(dir.Path() + L"\\*.*", true);

    ASSERT_EQ(edit->GetItems()->Count(), 5) << "four files after the existing item; no folder entries";
    std::map<std::wstring, std::pair<int, int>> loaded;
    int empty = 0;
    for (int i = 1; i < edit->GetItems()->Count(); ++i) {
        TImageItem* item = edit->GetItems()->GetItem(i);
        TGraphic* g = item->GetImage()->GetGraphic();
        if (g && !g->GetEmpty()) {
            loaded[item->GetCaption()] = {g->GetWidth(), g->GetHeight()};
        } else {
            ++empty;
            EXPECT_TRUE(item->GetCaption().empty()) << "a file that fails keeps no caption";
        }
    }
    EXPECT_EQ(empty, 2);
    EXPECT_EQ(loaded, (std::map<std::wstring, std::pair<int, int>>{{L"good.bmp", {16, 12}}, {L"good.png", {10, 8}}}));
}

TEST_F(ImagePickerDropDownTest, ArrowsMoveByColumnsInTheOpenPopup)
{
    for (int i = 0; i < 10; ++i)
        AddCaptions({L"x"});
    edit->SetColumns(4);
    edit->SetItemIndex(1);
    Open();
    ASSERT_TRUE(edit->GetDroppedDown());
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 5);
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 9);
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 9) << "the last row goes no further";
    Key(VK_UP);
    EXPECT_EQ(edit->GetItemIndex(), 5);
    Key(VK_LEFT);
    EXPECT_EQ(edit->GetItemIndex(), 4);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(edit->GetItemIndex(), 6);
    Key(VK_HOME);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    Key(VK_END);
    EXPECT_EQ(edit->GetItemIndex(), 9);
    EXPECT_TRUE(edit->GetDroppedDown()) << "moves by keys keep the popup open";
    Key(VK_RETURN);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetItemIndex(), 9);
}

TEST_F(ImagePickerDropDownTest, EscapeRestoresTheItemChosenBeforeOpening)
{
    AddCaptions({L"a", L"b", L"c", L"d"});
    edit->SetItemIndex(1);
    Open();
    Key(VK_DOWN);
    Key(VK_DOWN);
    ASSERT_EQ(edit->GetItemIndex(), 3);
    Key(VK_ESCAPE);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetItemIndex(), 1);
}

TEST_F(ImagePickerDropDownTest, TypedKeysLookUpCaptionsAndOtherKeysAddNothing)
{
    AddCaptions({L"Apple", L"Bread", L"Blue", L"Cherry"});
    Open();
    ASSERT_TRUE(edit->GetDroppedDown());
    Key('B');
    Key(VK_SHIFT);
    Key(VK_F5);
    Key(VK_CONTROL);
    Key('L');
    EXPECT_EQ(edit->GetSearchText(), L"BL");
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_TRUE(edit->GetDroppedDown());
    ASSERT_TRUE(PumpUntil([&] { return edit->GetSearchText().empty(); }));
    EXPECT_FALSE(edit->GetKeyTimer()->GetEnabled());
    Key('C');
    EXPECT_EQ(edit->GetItemIndex(), 3);
    edit->HideDropDown(false);
    Pump();
}

TEST_F(ImagePickerDropDownTest, TheWheelSelectsWhenClosedAndMovesTheHotItemWhenOpen)
{
    AddCaptions({L"a", L"b", L"c"});
    Open();
    edit->HideDropDown(false);
    Pump();
    MoveMouse(edit, {20, 10});
    Wheel(-1);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    Wheel(-1);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    Wheel(1);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    Open();
    ASSERT_TRUE(edit->GetDroppedDown());
    const int hot = edit->GetItemSelector()->GetItemHot();
    Wheel(-1);
    EXPECT_EQ(edit->GetItemIndex(), 0) << "open, the wheel moves only the hot item";
    EXPECT_NE(edit->GetItemSelector()->GetItemHot(), hot);
    const int picked = edit->GetItemSelector()->GetItemHot();
    Key(VK_RETURN);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetItemIndex(), picked);
}

TEST_F(ImagePickerDropDownTest, TheChosenImageIsCentredInTheEdit)
{
    edit->SetImages(NewImageList(form, 16, 16, {clRed, clBlue}));
    edit->AddImagesFromImageList();
    edit->SetItemIndex(1);
    form->SetFocus();
    Pump();
    const TRect r = edit->GetEditRect();
    ASSERT_GT(r.Width(), 16);
    RECT window{};
    GetWindowRect(edit->Handle(), &window);
    const POINT client = edit->ClientToScreen(POINT{0, 0});
    const int dx = client.x - window.left, dy = client.y - window.top;
    TSnapshot picture(edit->Handle());
    const int left = dx + r.left + (r.Width() - 16) / 2;
    const int top = dy + r.top + (r.Height() - 16) / 2;
    EXPECT_EQ(picture.Pixel(left + 1, top + 1), clBlue);
    EXPECT_EQ(picture.Pixel(left + 14, top + 14), clBlue);
    EXPECT_NE(picture.Pixel(left - 2, top + 8), clBlue) << "left of the image";
    EXPECT_NE(picture.Pixel(left + 18, top + 8), clBlue) << "right of the image";
    EXPECT_EQ(picture.Count(clBlue, TRect(0, 0, picture.Width(), picture.Height())), 256);
}

} // namespace
