// File dialogs and message boxes, answered the way a user would.
#include <gtest/gtest.h>
#include "Dialogs.h"
#include "TestSupport.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

TEST(Dialogs, MessageBoxesWithOneOkButton)
{
    struct Case {
        TMsgDlgType type;
        const wchar_t* caption;
    };
    const Case cases[] = {{mtInformation, L"Information"}, {mtError, L"Error"}, {mtWarning, L"Warning"}};
    for (const Case& c : cases) {
        MessageBoxReader::Arm();
        EXPECT_EQ(MessageDlg(L"The list was saved.", c.type, {mbOK}), mrOk);
        EXPECT_EQ(MessageBoxReader::caption, c.caption);
        EXPECT_EQ(MessageBoxReader::text, L"The list was saved.");
        EXPECT_EQ(MessageBoxReader::hasCancelOrNo, false);
    }
    String title = Application->GetTitle();
    Application->SetTitle(L"Tavelin");
    MessageBoxReader::Arm();
    ShowMessage(L"Done");
    Application->SetTitle(title);
    EXPECT_EQ(MessageBoxReader::caption, L"Tavelin");
    EXPECT_EQ(MessageBoxReader::text, L"Done");
}

TEST(Dialogs, SaveDialogAddsTheDefaultExtensionAndFiresOnShow)
{
    testing_support::TempDir dir;
    auto* dialog = New<TSaveDialog>(nullptr);
    dialog->DefaultExt = L"xlsx";
    dialog->Filter = L"Excel file|*.xlsx";
    dialog->InitialDir = dir.Path();
    dialog->FileName = L"inventory";
    bool shown = false, closed = false;
    dialog->OnShow = [&](TObject*) {
        shown = true;
        // Accept what the dialog offers, as a user pressing Save would.
        PostMessageW(dialog->GetHandle(), WM_COMMAND, IDOK, 0);
    };
    dialog->OnClose = [&](TObject*) { closed = true; };
    ASSERT_TRUE(dialog->Execute());
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed);
    EXPECT_EQ(dialog->GetHandle(), nullptr);
    String name = dialog->FileName;
    ASSERT_GE(name.size(), 15u);
    EXPECT_EQ(name.substr(name.size() - 15), L"\\inventory.xlsx");
    EXPECT_EQ(dialog->Files()->Count(), 1);

    // Cancel leaves the name alone.
    dialog->OnShow = [&](TObject*) { PostMessageW(dialog->GetHandle(), WM_COMMAND, IDCANCEL, 0); };
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(dialog->FileName, name);
    dialog->Free();
}

} // namespace
