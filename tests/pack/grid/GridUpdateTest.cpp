// The update lock counted in real WM_PAINT messages, the validation of an
// edit when it ends, the grid timer's work, and column scaling on resize.
#include "AdvGrid.h"
#include "DataGridSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;
using testing_support::PumpMessages;

namespace {

// Counts the paint messages that reach the grid and the paints it does.
struct TCountingGrid : TAdvStringGrid {
    using TAdvStringGrid::TAdvStringGrid;
    int paintMessages = 0;
    int paints = 0;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_PAINT)
            ++paintMessages;
        TAdvStringGrid::WndProc(Message);
    }
    void Paint() override
    {
        ++paints;
        TAdvStringGrid::Paint();
    }
};

struct UpdateLock : testing::Test {
    TShownGrid<TCountingGrid> g{4, 30};
    void Settle()
    {
        PumpMessages();
        g->paintMessages = 0;
        g->paints = 0;
    }
    // Asks for a repaint of everything and lets the messages through.
    void Change()
    {
        g->SetCells(1, 1, L"changed");
        g->Invalidate();
        PumpMessages();
    }
};

} // namespace

TEST_F(UpdateLock, BeginAndEndUpdateNestAndRepaintOnceAtTheEnd)
{
    Settle();
    g->BeginUpdate();
    g->BeginUpdate();
    EXPECT_TRUE(g->GetLockUpdate());
    Change();
    Change();
    g->EndUpdate();
    Change();
    EXPECT_EQ(g->paints, 0) << "still locked after the inner EndUpdate";
    g->EndUpdate();
    EXPECT_FALSE(g->GetLockUpdate());
    PumpMessages();
    EXPECT_EQ(g->paintMessages, 1);
    EXPECT_EQ(g->paints, 1);

    // More EndUpdates than BeginUpdates leave the count at 0.
    g->EndUpdate();
    EXPECT_EQ(g->UpdateCount(), 0);
    Settle();
    Change();
    EXPECT_EQ(g->paints, 1);
}

TEST_F(UpdateLock, AHiddenGridNeverCounts)
{
    g->SetVisible(false);
    g->BeginUpdate();
    EXPECT_FALSE(g->GetLockUpdate());
    g->SetLockUpdate(true);
    EXPECT_EQ(g->UpdateCount(), 0);
    g->SetVisible(true);
    g->SetLockUpdate(true);
    EXPECT_EQ(g->UpdateCount(), 1);
    g->SetLockUpdate(false);
    EXPECT_EQ(g->UpdateCount(), 0);
}

TEST_F(UpdateLock, StartUpdateRefusesPaintsAndResetUpdateOwesThem)
{
    Settle();
    g->StartUpdate();
    Change();
    EXPECT_GE(g->paintMessages, 1) << "without WM_SETREDRAW the paint message still comes";
    EXPECT_EQ(g->paints, 0);
    const int refused = g->paintMessages;
    PumpMessages();
    EXPECT_EQ(g->paintMessages, refused) << "a refused paint is not asked for again and again";
    g->ResetUpdate();
    PumpMessages();
    EXPECT_EQ(g->paints, 1) << "the area refused meanwhile is painted once the lock is off";
}

// ---------------------------------------------------------------------------

namespace {

struct Validation : testing::Test {
    TShownGrid<> g{4, 6};
    std::vector<String> validated;
    int changes = 0;
    void SetUp() override
    {
        g->SetOptions(g->GetOptions() + goEditing);
        g->OnCellsChanged = [this](TObject*, const TRect&) { ++changes; };
        g->GotoCell(2, 3);
    }
};

} // namespace

TEST_F(Validation, WithoutAnOpenEditNothingIsValidated)
{
    g->OnCellValidate = [this](TObject*, int, int, String& v, bool&) { validated.push_back(v); };
    EXPECT_TRUE(g->ValidateCell(L"other"));
    EXPECT_TRUE(validated.empty());
    EXPECT_EQ(g->GetCells(2, 3), CellName(2, 3));
}

TEST_F(Validation, TheSameTextAsksNoOneUnlessAlwaysValidate)
{
    g->OnCellValidate = [this](TObject*, int, int, String& v, bool&) { validated.push_back(v); };
    g->ShowInplaceEdit();
    EXPECT_TRUE(g->ValidateCell(CellName(2, 3)));
    EXPECT_TRUE(validated.empty());
    EXPECT_EQ(changes, 0);

    g->SetAlwaysValidate(true);
    g->ShowInplaceEdit();
    EXPECT_TRUE(g->ValidateCell(CellName(2, 3)));
    EXPECT_EQ(validated.size(), 1u);
    EXPECT_EQ(changes, 0) << "validated, but nothing changed";
}

TEST_F(Validation, AValidValueIsWrittenMarkedAndAnnounced)
{
    g->OnCellValidate = [this](TObject*, int c, int r, String& v, bool&) {
        validated.push_back(IntToStr(c) + L"," + IntToStr(r) + L":" + v);
        v = v + L"!";
    };
    g->ShowInplaceEdit();
    EXPECT_TRUE(g->ValidateCell(L"typed"));
    EXPECT_EQ(validated, (std::vector<String>{L"2,3:typed"}));
    EXPECT_EQ(g->GetCells(2, 3), L"typed!");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(g->GetGridModified());
    EXPECT_TRUE(g->GetRowModified(3));
    EXPECT_FALSE(g->IsEditing());
}

TEST_F(Validation, ARefusalGivesTheOldTextBackOrKeepsTheCorrection)
{
    g->SetInvalidEntryTitle(L"Wrong");
    g->SetInvalidEntryText(L"Numbers only");
    bool correct = false;
    g->OnCellValidate = [&](TObject*, int, int, String& v, bool& valid) {
        valid = false;
        if (correct)
            v = L"42";
    };
    g->ShowInplaceEdit();
    EXPECT_FALSE(g->ValidateCell(L"abc"));
    EXPECT_EQ(g->GetCells(2, 3), CellName(2, 3)) << "the old text is back";
    EXPECT_TRUE(g->IsEditing()) << "the editor is open again";
    EXPECT_TRUE(g->GetEditorMode());
    EXPECT_EQ(changes, 0);

    correct = true;
    EXPECT_FALSE(g->ValidateCell(L"abc"));
    EXPECT_EQ(g->GetCells(2, 3), L"42") << "the corrected text stays for more editing";
    EXPECT_EQ(g->InplaceEditor()->GetText(), L"42");
    EXPECT_TRUE(g->IsEditing());
}

TEST_F(Validation, AHandlerThatEndsTheEditAgainIsNotValidatedTwice)
{
    int calls = 0;
    g->OnCellValidate = [&](TObject*, int, int, String&, bool&) {
        ++calls;
        EXPECT_TRUE(g->ValidateCell(L"inner"));
    };
    g->ShowInplaceEdit();
    EXPECT_TRUE(g->ValidateCell(L"outer"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(g->GetCells(2, 3), L"outer");
}

TEST_F(Validation, AnExceptionFromTheHandlerStillEndsTheValidation)
{
    g->OnCellValidate = [](TObject*, int, int, String&, bool&) { throw Exception(L"handler failed"); };
    g->ShowInplaceEdit();
    EXPECT_THROW(g->ValidateCell(L"x"), Exception);
    g->OnCellValidate = nullptr;
    g->ShowInplaceEdit();
    EXPECT_TRUE(g->ValidateCell(L"y")) << "not stuck in validation";
    EXPECT_EQ(g->GetCells(2, 3), L"y");
}

TEST_F(Validation, WideTextIsValidatedWithItsOwnEvent)
{
    int narrow = 0;
    g->OnCellValidate = [&](TObject*, int, int, String&, bool&) { ++narrow; };
    g->OnCellValidateWide = [](TObject*, int, int, String& v, bool& valid) { valid = v != L"\u0416"; };
    g->ShowInplaceEdit();
    EXPECT_TRUE(g->ValidateCellWide(L"\u042F"));
    EXPECT_EQ(g->GetCellWideText(2, 3), L"\u042F");
    g->ShowInplaceEdit();
    EXPECT_FALSE(g->ValidateCellWide(L"\u0416"));
    EXPECT_EQ(g->GetCellWideText(2, 3), L"\u042F");
    EXPECT_EQ(narrow, 0);
}

// ---------------------------------------------------------------------------

TEST(GridTimer, TheIncrementalSearchTextGoesOnTheFourthTick)
{
    TShownGrid<> g(3, 5);
    g->GetNavigation()->SetAutoGotoIncremental(true);
    g->SetIncrSearchText(L"ab");
    for (int tick = 1; tick <= 3; ++tick) {
        SendMessageW(g->GetHandle(), WM_TIMER, 111, 0);
        EXPECT_EQ(g->GetIncrSearchText(), L"ab") << "tick " << tick;
    }
    SendMessageW(g->GetHandle(), WM_TIMER, 111, 0);
    EXPECT_EQ(g->GetIncrSearchText(), L"");
}

TEST(GridTimer, HoveringMakesTheNormalCellUnderTheMouseCurrent)
{
    TShownGrid<> g(5, 10);
    g->SetHovering(true);
    g->FocusCell(1, 1);
    POINT saved{};
    GetCursorPos(&saved);
    auto hover = [&](int c, int r) {
        const TRect rect = g->TStringGrid::CellRect(c, r);
        POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(g->GetHandle(), &p);
        SetCursorPos(p.x, p.y);
        SendMessageW(g->GetHandle(), WM_TIMER, 111, 0);
    };
    hover(3, 4);
    EXPECT_EQ(g->GetCol(), 3);
    EXPECT_EQ(g->GetRow(), 4);
    hover(0, 2);
    hover(2, 0);
    EXPECT_EQ(g->GetCol(), 3) << "fixed cells are not taken";
    EXPECT_EQ(g->GetRow(), 4);
    SetCursorPos(saved.x, saved.y);
}

TEST(GridResize, ColumnsFollowTheGridsWidthFromTheirRememberedSizes)
{
    TShownGrid<> g(4, 5);
    g->SetBorderStyle(bsSingle);
    for (int c = 0; c < 4; ++c)
        g->SetColWidths(c, 50 + c);
    g->InitOrigColSizes();
    const int oldWidth = g->GetWidth();
    g->GetColumnSize()->SetSynchWithGrid(true);
    g->SetBounds(0, 0, oldWidth * 2 - 2, 300);
    RECT client{};
    GetClientRect(g->GetHandle(), &client);
    const double factor = (client.right + 2) / double(oldWidth);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(g->GetColWidths(c), static_cast<int>((50 + c) * factor)) << "column " << c;
}

TEST(GridResize, AStretchedColumnFillsTheClientWidth)
{
    TShownGrid<> g(4, 5);
    for (int c = 0; c < 4; ++c)
        g->SetColWidths(c, 60);
    auto filled = [&] {
        int right = 0;
        for (int c = 0; c < 4; ++c)
            right += g->GetColWidths(c) + g->GetGridLineWidth();
        return right;
    };
    g->GetColumnSize()->SetStretchColumn(2);
    g->GetColumnSize()->SetStretch(true);
    EXPECT_EQ(filled(), g->GetClientWidth());
    EXPECT_EQ(g->GetColWidths(1), 60);
    EXPECT_GT(g->GetColWidths(2), 60);

    // Growing the grid widens the same column again.
    const int before = g->GetColWidths(2);
    g->SetBounds(0, 0, g->GetWidth() + 50, g->GetHeight());
    EXPECT_EQ(g->GetColWidths(2), before + 50);
    EXPECT_EQ(filled(), g->GetClientWidth());
}
