// The settings objects' setters that reach the grid: tree looks that repaint
// it, column stretching, the colours by sign and their change events, and
// the print settings' strict Assign.
#include "AdvGridObjects.h"
#include "Forms.h"
#include <gtest/gtest.h>

namespace {

// A windowed control standing in for the owner grid: it counts the repaints
// asked of it.
class TOwnerGrid : public TCustomControl {
public:
    explicit TOwnerGrid(TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 300, 120); }
    void Invalidate() override
    {
        ++Invalidates;
        TCustomControl::Invalidate();
    }
    int Invalidates = 0;
};

// ---------------------------------------------------------------------------
// TCellNode

TEST(CellNode, ChangesOfTheTreesLookRepaintTheGrid)
{
    struct Case {
        const char* name;
        std::function<void(TCellNode&)> write;
        int repaints;
    };
    const Case cases[] = {
        {"NodeType changed", [](TCellNode& n) { n.SetNodeType(cnFlat); }, 1},
        {"NodeType unchanged", [](TCellNode& n) { n.SetNodeType(cnXP); }, 0},
        {"ShowTree changed", [](TCellNode& n) { n.SetShowTree(false); }, 1},
        {"ShowTree unchanged", [](TCellNode& n) { n.SetShowTree(true); }, 0},
        {"ShowTreeFull changed", [](TCellNode& n) { n.SetShowTreeFull(false); }, 1},
        {"ShowTreeFull unchanged", [](TCellNode& n) { n.SetShowTreeFull(true); }, 0},
        {"TreeColor changed", [](TCellNode& n) { n.SetTreeColor(clRed); }, 1},
        {"TreeColor unchanged", [](TCellNode& n) { n.SetTreeColor(0x808080); }, 0},
        {"NodeIndent changed", [](TCellNode& n) { n.SetNodeIndent(20); }, 1},
        {"NodeIndent unchanged", [](TCellNode& n) { n.SetNodeIndent(12); }, 0},
        {"Color", [](TCellNode& n) { n.SetColor(clRed); }, 0},
        {"NodeColor", [](TCellNode& n) { n.SetNodeColor(clRed); }, 0},
        {"ExpandOne", [](TCellNode& n) { n.SetExpandOne(true); }, 0},
        {"ExpandGlyph",
         [](TCellNode& n) {
             TOwned<TBitmap> glyph(New<TBitmap>(9, 9));
             n.SetExpandGlyph(glyph.get());
             n.SetContractGlyph(glyph.get());
         },
         0},
        {"Assign",
         [](TCellNode& n) {
             TOwned<TCellNode> other(New<TCellNode>(nullptr));
             other->SetNodeType(cnGlyph);
             other->SetNodeIndent(30);
             n.Assign(other.get());
             EXPECT_EQ(n.GetNodeIndent(), 30);
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TOwnerGrid> grid(New<TOwnerGrid>(nullptr));
        TOwned<TCellNode> node(New<TCellNode>(grid.get()));
        EXPECT_EQ(node->GetOwner(), grid.get());
        c.write(*node);
        EXPECT_EQ(grid->Invalidates, c.repaints);
    }
}

TEST(CellNode, WithoutAControlOwnerNothingIsRepainted)
{
    TOwned<TComponent> owner(New<TComponent>(nullptr));
    TOwned<TCellNode> node(New<TCellNode>(owner.get()));
    node->SetNodeIndent(16);
    node->SetTreeColor(clBlue);
    EXPECT_EQ(node->GetNodeIndent(), 16);
    EXPECT_EQ(node->GetTreeColor(), clBlue);
}

// ---------------------------------------------------------------------------
// TColumnSize

struct StretchCall {
    int column;
    int width;
    bool operator==(const StretchCall&) const = default;
};

TEST(ColumnSize, StretchSettingsStretchTheGridsColumns)
{
    struct Case {
        const char* name;
        bool parented;
        std::function<void(TColumnSize&)> setup;
        std::function<void(TColumnSize&)> write;
        std::vector<StretchCall> calls;
        int stretchColumn;
    };
    const auto none = [](TColumnSize&) {};
    const Case cases[] = {
        {"Stretch without a parent", false, none, [](TColumnSize& s) { s.SetStretch(true); }, {}, -1},
        {"Stretch on a parent", true, [](TColumnSize& s) { s.SetStretchColumn(2); },
         [](TColumnSize& s) { s.SetStretch(true); }, {{2, 300}}, 2},
        {"Stretch off on a parent", true, [](TColumnSize& s) { s.SetStretch(true); },
         [](TColumnSize& s) { s.SetStretch(false); }, {{-1, 300}}, -1},
        {"StretchAll on resets the column", false, [](TColumnSize& s) { s.SetStretchColumn(2); },
         [](TColumnSize& s) { s.SetStretchAll(true); }, {{-1, 300}}, -1},
        {"StretchAll on a parent", true, none, [](TColumnSize& s) { s.SetStretchAll(true); }, {{-1, 300}}, -1},
        {"StretchAll unchanged", true, [](TColumnSize& s) { s.SetStretchColumn(2); },
         [](TColumnSize& s) { s.SetStretchAll(false); }, {}, 2},
        {"StretchAll off keeps the column",
         true,
         [](TColumnSize& s) {
             s.SetStretchAll(true);
             s.SetStretchColumn(3);
         },
         [](TColumnSize& s) { s.SetStretchAll(false); }, {{-1, 300}}, 3},
        {"StretchColumn", true, none, [](TColumnSize& s) { s.SetStretchColumn(1); }, {}, 1},
        {"Assign", true, none,
         [](TColumnSize& s) {
             TOwned<TColumnSize> other(New<TColumnSize>(nullptr));
             other->SetStretch(true);
             other->SetStretchColumn(4);
             s.Assign(other.get());
             EXPECT_TRUE(s.GetStretch());
         },
         {}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TForm> form(New<TForm>(nullptr));
        auto* grid = New<TOwnerGrid>(form.get());
        if (c.parented)
            grid->SetParent(form.get());
        TOwned<TColumnSize> size(New<TColumnSize>(grid));
        c.setup(*size);
        std::vector<StretchCall> calls;
        size->OnStretch = [&](int column, int width) { calls.push_back({column, width}); };
        c.write(*size);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(size->GetStretchColumn(), c.stretchColumn);
    }
}

TEST(ColumnSize, StretchingWithoutTheGridConnectedChangesOnlyTheSettings)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    auto* grid = New<TOwnerGrid>(form.get());
    grid->SetParent(form.get());
    TOwned<TColumnSize> size(New<TColumnSize>(grid));
    size->SetStretchColumn(2);
    size->SetStretch(true);
    size->SetStretchAll(true);
    EXPECT_TRUE(size->GetStretch());
    EXPECT_EQ(size->GetStretchColumn(), -1);
    EXPECT_EQ(size->GetOwner(), grid);
}

// ---------------------------------------------------------------------------
// TAutoColor and TColorSetting

TEST(AutoColor, ActiveWhenAnyColourIsSet)
{
    const std::function<void(TAutoColor&)> writes[] = {
        [](TAutoColor& a) { a.GetNegativeNumber()->SetTextColor(clRed); },
        [](TAutoColor& a) { a.GetNegativeNumber()->SetBkgColor(clRed); },
        [](TAutoColor& a) { a.GetPositiveNumber()->SetTextColor(clBlack); },
        [](TAutoColor& a) { a.GetPositiveNumber()->SetBkgColor(clBlack); },
    };
    for (const auto& write : writes) {
        TOwned<TAutoColor> colors(New<TAutoColor>());
        EXPECT_FALSE(colors->IsActive());
        int changes = 0;
        colors->OnChange = [&](TObject* sender) {
            EXPECT_EQ(sender, colors.get());
            ++changes;
        };
        write(*colors);
        EXPECT_TRUE(colors->IsActive());
        EXPECT_EQ(changes, 1);
        // The same colour again is no change.
        write(*colors);
        EXPECT_EQ(changes, 1);
    }
}

TEST(AutoColor, CopyingSettingsFiresNothing)
{
    TOwned<TColorSetting> negative(New<TColorSetting>());
    negative->SetTextColor(clRed);
    negative->SetBkgColor(clYellow);
    TOwned<TAutoColor> colors(New<TAutoColor>());
    int changes = 0;
    colors->OnChange = [&](TObject*) { ++changes; };

    colors->SetNegativeNumber(negative.get());
    EXPECT_EQ(colors->GetNegativeNumber()->GetTextColor(), clRed);
    EXPECT_EQ(colors->GetNegativeNumber()->GetBkgColor(), clYellow);
    EXPECT_NE(colors->GetNegativeNumber(), negative.get());

    TOwned<TAutoColor> copy(New<TAutoColor>());
    copy->SetPositiveNumber(negative.get());
    colors->Assign(copy.get());
    EXPECT_EQ(colors->GetNegativeNumber()->GetTextColor(), clNone);
    EXPECT_EQ(colors->GetPositiveNumber()->GetBkgColor(), clYellow);
    EXPECT_EQ(changes, 0);

    // The inner settings still report to their owner after being copied into.
    colors->GetPositiveNumber()->SetTextColor(clGreen);
    EXPECT_EQ(changes, 1);
}

// ---------------------------------------------------------------------------
// TPrintSettings

TEST(PrintSettings, AssignFromAnotherClassRaisesAndChangesNothing)
{
    TOwned<TPrintSettings> print(New<TPrintSettings>(nullptr));
    print->SetTitleText(L"Inventory");
    print->SetBorders(pbDouble);
    print->GetFont()->SetName(L"Arial");
    TOwned<THTMLSettings> html(New<THTMLSettings>());

    EXPECT_THROW(print->Assign(html.get()), EInvalidCast);
    EXPECT_EQ(print->GetTitleText(), L"Inventory");
    EXPECT_EQ(print->GetBorders(), pbDouble);
    EXPECT_EQ(print->GetFont()->GetName(), L"Arial");

    EXPECT_NO_THROW(print->Assign(nullptr));
    EXPECT_EQ(print->GetTitleText(), L"Inventory");
}

// ---------------------------------------------------------------------------
// Hover buttons

TEST(HoverButtons, ButtonsAreCopiedItemByItem)
{
    TOwned<THoverButtons> source(New<THoverButtons>(nullptr));
    for (const wchar_t* caption : {L"Edit", L"Delete"}) {
        THoverButtonsCollectionItem* button = source->GetButtons()->Add();
        button->SetCaption(caption);
        button->SetImageIndex(2);
    }
    TOwned<THoverButtons> target(New<THoverButtons>(nullptr));
    target->GetButtons()->Add()->SetCaption(L"Old");
    target->SetButtons(source->GetButtons());

    ASSERT_EQ(target->GetButtons()->Count(), 2);
    EXPECT_EQ(target->GetButtons()->GetItem(0)->GetCaption(), L"Edit");
    EXPECT_EQ(target->GetButtons()->GetItem(1)->GetCaption(), L"Delete");
    // An item's Assign leaves the image index as it was.
    EXPECT_EQ(target->GetButtons()->GetItem(1)->GetImageIndex(), -1);
    EXPECT_EQ(target->GetButtons()->GetItem(1)->GetCollection(), target->GetButtons());
}

} // namespace
