// The combo box base's attached label: where each of the 13 places puts
// it, the room an aligned control leaves it, and how it follows the
// control's visibility, enabled state, font and focus.
#include "AdvCombo.h"
#include "ExtCtrls.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

class ComboLabel : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        combo = New<TAdvCustomCombo>(form);
        combo->SetStyle(csDropDown);
        combo->SetBounds(200, 150, 120, 25);
        combo->SetParent(form);
        ShowForm();
    }
    TAdvCustomCombo* combo = nullptr;
};

TEST_F(ComboLabel, ThirteenPlaces)
{
    combo->SetLabelMargin(6);
    combo->SetLabelCaption(L"Language");
    TLabel* label = combo->GetComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetParent(), form);
    const int l = combo->GetLeft(), t = combo->GetTop(), w = combo->GetWidth(), h = combo->GetHeight();
    const int lw = label->GetWidth(), lh = label->GetHeight();
    TOwned<TBitmap> measure(New<TBitmap>());
    measure->GetCanvas()->GetFont()->Assign(label->GetFont());
    const int text = measure->GetCanvas()->TextWidth(L"Language");
    ASSERT_GT(lw, 20);
    ASSERT_GT(lh, 5);
    const int middle = t + (h - lh) / 2, bottom = t + h - lh;
    const struct {
        TLabelPosition position;
        int left, top;
    } places[] = {
        {lpLeftTop, l - text - 6, t},
        {lpLeftCenter, l - text - 6, middle},
        {lpLeftBottom, l - text - 6, bottom},
        {lpTopLeft, l, t - lh - 6},
        {lpBottomLeft, l, t + h + 6},
        {lpLeftTopLeft, l - 6, t},
        {lpLeftCenterLeft, l - 6, middle},
        {lpLeftBottomLeft, l - 6, bottom},
        {lpTopCenter, l + (w - lw) / 2, t - lh - 6},
        {lpBottomCenter, l + (w - lw) / 2, t + h + 6},
        {lpRightTop, l + w + 6, t},
        {lpRightCenter, l + w + 6, middle},
        {lpRighBottom, l + w + 6, bottom},
    };
    for (const auto& p : places) {
        combo->SetLabelPosition(p.position);
        EXPECT_EQ(label->GetLeft(), p.left) << "place " << p.position;
        EXPECT_EQ(label->GetTop(), p.top) << "place " << p.position;
    }

    // It moves with the control.
    combo->SetLabelPosition(lpRightTop);
    combo->SetLeft(100);
    EXPECT_EQ(label->GetLeft(), 100 + w + 6);
}

TEST_F(ComboLabel, CentredBesideAHigherControl)
{
    combo->SetLabelCaption(L"Language");
    TLabel* label = combo->GetComboLabel();
    label->SetAutoSize(false);
    // Five pixels lower than the control: half of it, truncated.
    label->SetHeight(combo->GetHeight() - 5);
    combo->SetLabelPosition(lpLeftCenter);
    EXPECT_EQ(label->GetTop(), combo->GetTop() + 2);
}

TEST_F(ComboLabel, AlignedControlLeavesRoomForItsLabel)
{
    auto* panel = New<TPanel>(form);
    panel->SetBounds(0, 0, 400, 60);
    panel->SetParent(form);
    auto* aligned = New<TAdvCustomCombo>(form);
    aligned->SetParent(panel);
    aligned->SetLabelCaption(L"Name");
    aligned->SetLabelMargin(4);
    TLabel* label = aligned->GetComboLabel();
    const int room = label->GetWidth() + 4;
    // Where the aligned control stands with a label that takes no room.
    aligned->SetLabelPosition(lpBottomLeft);
    aligned->SetAlign(alTop);
    panel->Realign();
    const int left = aligned->GetLeft(), top = aligned->GetTop(), width = aligned->GetWidth();
    ASSERT_GT(width, 300);
    const struct {
        TLabelPosition position;
        TAlign align;
        int left, top, width;
    } cases[] = {
        {lpLeftTop, alTop, left + room, top, width - room},
        {lpLeftCenter, alBottom, left + room, -1, width - room},
        {lpTopLeft, alTop, left, top + label->GetHeight(), width},
        {lpTopCenter, alTop, left, top + label->GetHeight(), width},
        {lpRightTop, alTop, left, top, width - room},
        {lpRighBottom, alTop, left, top, width - room},
        {lpBottomLeft, alTop, left, top, width},
        {lpLeftTopLeft, alTop, left, top, width},
    };
    for (const auto& c : cases) {
        aligned->SetAlign(alNone);
        aligned->SetLabelPosition(c.position);
        aligned->SetAlign(c.align);
        panel->Realign();
        EXPECT_EQ(aligned->GetLeft(), c.left) << "place " << c.position;
        if (c.top >= 0)
            EXPECT_EQ(aligned->GetTop(), c.top) << "place " << c.position;
        EXPECT_EQ(aligned->GetWidth(), c.width) << "place " << c.position;
    }
}

TEST_F(ComboLabel, FollowsVisibilityEnabledStateFontAndFocus)
{
    auto* other = New<TEdit>(form);
    other->SetBounds(10, 10, 80, 21);
    other->SetParent(form);
    combo->SetLabelCaption(L"Language");
    TLabel* label = combo->GetComboLabel();

    combo->SetVisible(false);
    EXPECT_FALSE(label->GetVisible());
    combo->SetVisible(true);
    EXPECT_TRUE(label->GetVisible());

    combo->SetEnabled(false);
    EXPECT_FALSE(label->GetEnabled());
    combo->SetEnabled(true);
    EXPECT_TRUE(label->GetEnabled());
    combo->SetLabelAlwaysEnabled(true);
    combo->SetEnabled(false);
    EXPECT_TRUE(label->GetEnabled());
    combo->SetEnabled(true);

    // The label takes the control's font, or its own when told.
    combo->GetFont()->SetSize(14);
    EXPECT_EQ(label->GetFont()->GetSize(), 14);
    TOwned<TFont> own(New<TFont>());
    own->SetSize(9);
    combo->SetLabelFont(own.get());
    combo->SetParentFnt(false);
    EXPECT_EQ(label->GetFont()->GetSize(), 9);
    combo->SetParentFnt(true);

    // Bold while the control has the focus.
    other->SetFocus();
    Pump();
    combo->SetFocusLabel(true);
    EXPECT_FALSE(label->GetFont()->GetStyle().Contains(fsBold));
    combo->SetFocus();
    Pump();
    EXPECT_TRUE(label->GetFont()->GetStyle().Contains(fsBold));
    other->SetFocus();
    Pump();
    EXPECT_FALSE(label->GetFont()->GetStyle().Contains(fsBold));

    // Freed with the control.
    combo->Free();
    EXPECT_EQ(form->ControlCount(), 1);
}

} // namespace
