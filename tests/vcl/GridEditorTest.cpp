// The in-place editor through real messages: F2 and Enter open and commit,
// Escape cancels, a typed character opens the editor with that character,
// cell-moving keys go back to the grid, and losing the focus writes back.
#include <gtest/gtest.h>
#include "GridTestSupport.h"

using namespace grid_test;

namespace {

struct GridEditor : GridFixture {
    std::vector<String> written;
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->SetRowCount(10);
        grid->SetOptions(grid->GetOptions() << goEditing);
        grid->SetCells(2, 3, L"before");
        grid->FocusCell(2, 3, true);
        grid->OnSetEditText = [this](TObject*, int c, int r, const String& v) {
            written.push_back(IntToStr(c) + L"," + IntToStr(r) + L"=" + v);
        };
    }
    HWND Editor()
    {
        TInplaceEdit* edit = grid->InplaceEditor();
        return edit && edit->Visible() ? edit->GetHandle() : nullptr;
    }
    void Type(const String& text)
    {
        for (wchar_t ch : text)
            Char(GetFocus(), ch);
    }
};

TEST_F(GridEditor, F2OpensOverTheCellAndEnterCommits)
{
    Key(VK_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(grid->GetEditorMode());
    EXPECT_EQ(GetFocus(), Editor());
    EXPECT_EQ(grid->InplaceEditor()->GetText(), L"before");
    const TRect cell = grid->CellRect(2, 3);
    EXPECT_EQ(grid->InplaceEditor()->GetBoundsRect(), cell);

    SendMessageW(Editor(), EM_SETSEL, 0, -1);
    Type(L"after");
    EXPECT_EQ(grid->GetCells(2, 3), L"before") << "nothing is written while typing";
    Key(Editor(), VK_RETURN);
    Char(Editor(), L'\r');
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_FALSE(grid->GetEditorMode());
    EXPECT_EQ(grid->GetCells(2, 3), L"after");
    EXPECT_EQ(written, (std::vector<String>{L"2,3=after"}));
    EXPECT_EQ(GetFocus(), Wnd()) << "the grid has the keyboard again";

    // Enter on the grid opens it again, F2 in the editor closes it.
    Char(Wnd(), L'\r');
    ASSERT_NE(Editor(), nullptr);
    Key(Editor(), VK_F2);
    EXPECT_EQ(Editor(), nullptr);
}

TEST_F(GridEditor, EscapeCancelsAndATypedCharacterOpensTheEditor)
{
    Char(Wnd(), L'x');
    ASSERT_NE(Editor(), nullptr);
    vcl_test::Pump();  // the character reaches the editor through the queue
    EXPECT_EQ(grid->InplaceEditor()->GetText(), L"x") << "the typed character replaces the text";
    Type(L"yz");
    Char(Editor(), 27);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid->GetCells(2, 3), L"before");
    EXPECT_TRUE(written.empty());
}

TEST_F(GridEditor, MovingKeysCommitAndMoveTheCell)
{
    Key(VK_F2);
    SendMessageW(Editor(), EM_SETSEL, 0, -1);
    Type(L"moved");
    Key(Editor(), VK_DOWN);
    EXPECT_EQ(grid->GetRow(), 4);
    EXPECT_EQ(grid->GetCells(2, 3), L"moved");
    EXPECT_EQ(Editor(), nullptr) << "without goAlwaysShowEditor the editor closes on a move";

    // With goAlwaysShowEditor the editor follows the current cell.
    grid->SetCells(2, 5, L"five");
    grid->SetOptions(grid->GetOptions() << goAlwaysShowEditor);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(grid->InplaceEditor()->GetText(), L"");
    Key(Editor(), VK_DOWN);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(grid->GetRow(), 5);
    EXPECT_EQ(grid->InplaceEditor()->GetText(), L"five");
    EXPECT_EQ(grid->InplaceEditor()->GetBoundsRect(), grid->CellRect(2, 5));
}

TEST_F(GridEditor, LosingTheFocusWritesBackAndGetsNoEditorWithoutGoEditing)
{
    Key(VK_F2);
    SendMessageW(Editor(), EM_SETSEL, 0, -1);
    Type(L"left");
    TJournalGrid* other = New<TJournalGrid>(form);
    other->SetBounds(0, 250, 200, 100);
    other->SetParent(form);
    other->SetFocus();
    EXPECT_EQ(grid->GetCells(2, 3), L"left");
    EXPECT_EQ(Editor(), nullptr);

    grid->SetFocus();
    grid->SetOptions(grid->GetOptions() >> goEditing);
    Key(VK_F2);
    Char(Wnd(), L'q');
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(grid->GetCells(2, 3), L"left");
}

} // namespace

namespace {

// The grid hands the cell's edit mask and length limit to the editor.
class TLimitedGrid : public TJournalGrid {
public:
    using TJournalGrid::TJournalGrid;

protected:
    int GetEditLimit() override { return 4; }
};

TEST_F(GridEditor, TheEditorTakesTheCellsMaskAndLimit)
{
    grid->OnGetEditMask = [](TObject*, int c, int, String& mask) {
        if (c == 2)
            mask = L"99;0;_";
    };
    Key(VK_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(grid->InplaceEditor()->GetEditMask(), L"99;0;_");
    SendMessageW(Editor(), EM_SETSEL, 0, -1);
    Type(L"a7");
    Char(Editor(), L'\r');
    const String cell = grid->GetCells(2, 3);
    EXPECT_EQ(cell.substr(0, 1), L"7");
    EXPECT_EQ(cell.find(L'a'), String::npos) << "the mask refused the letter";

    TLimitedGrid* limited = New<TLimitedGrid>(form);
    limited->SetBounds(0, 250, 300, 100);
    limited->SetParent(form);
    limited->SetOptions(limited->GetOptions() << goEditing);
    limited->SetFocus();
    SendMessageW(limited->GetHandle(), WM_KEYDOWN, VK_F2, 1);
    ASSERT_NE(limited->InplaceEditor(), nullptr);
    EXPECT_EQ(limited->InplaceEditor()->GetMaxLength(), 4);
    EXPECT_EQ(limited->InplaceEditor()->GetEditMask(), L"");
}

} // namespace
