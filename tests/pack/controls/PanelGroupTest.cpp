// The panel and the panel group: defaults, the detail group of the main
// window with its list box, the plain texts, and how a group stacks its
// child panels.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"
#include "PlatformProbe.h"
#include "StdCtrls.h"
#include <algorithm>

using namespace pack_test;

namespace {

TEST(AdvPanel, NewPanelDefaults)
{
    TOwned<TAdvPanel> panel(New<TAdvPanel>(nullptr));
    EXPECT_EQ(panel->GetWidth(), 300);
    EXPECT_EQ(panel->GetHeight(), 200);
    EXPECT_EQ(panel->GetFullHeight(), 200);
    panel->SetHeight(120);
    EXPECT_EQ(panel->GetFullHeight(), 120);
    panel->SetBounds(0, 0, 300, 80);
    EXPECT_EQ(panel->GetFullHeight(), 120);
    panel->SetHeight(200);
    EXPECT_TRUE(panel->GetDoubleBuffered());
    EXPECT_FALSE(panel->ControlStyle.Contains(csSetCaption));
    EXPECT_EQ(panel->GetColor(), clBtnFace);
    EXPECT_EQ(panel->GetBevelOuter(), bvRaised);
    EXPECT_EQ(panel->GetBevelInner(), bvNone);
    EXPECT_EQ(panel->GetBevelWidth(), 1);
    EXPECT_EQ(panel->GetBorderStyle(), bsNone);
    EXPECT_EQ(panel->GetText(), L"");
    EXPECT_EQ(panel->GetIndent(), 0);
    EXPECT_EQ(panel->GetTopIndent(), 0);
    EXPECT_EQ(panel->GetIndex(), 0);
    EXPECT_EQ(panel->GetVersion(), L"2.4.1.0");
    const TPanelCaption* caption = panel->GetCaption();
    EXPECT_FALSE(caption->GetVisible());
    EXPECT_EQ(caption->GetHeight(), 20);
    EXPECT_EQ(caption->GetColor(), clHighlight);
    EXPECT_EQ(caption->GetFont()->GetColor(), clHighlightText);
    EXPECT_EQ(caption->GetText(), L"");
    EXPECT_EQ(caption->GetIndent(), 0);
    EXPECT_EQ(caption->GetTopIndent(), 0);
}

TEST(AdvPanel, GroupDefaultsAndDoubleBufferingBeforeVistaOnly)
{
    struct Case {
        DWORD major, minor;
        bool doubleBuffered;
    } cases[] = {{5, 1, true}, {6, 0, false}, {10, 0, false}};
    for (const Case& c : cases) {
        PlatformProbe().WindowsMajor = c.major;
        PlatformProbe().WindowsMinor = c.minor;
        TOwned<TAdvPanelGroup> group(New<TAdvPanelGroup>(nullptr));
        EXPECT_EQ(group->GetDoubleBuffered(), c.doubleBuffered) << c.major << "." << c.minor;
        EXPECT_EQ(group->GetColumns(), 1);
        EXPECT_EQ(group->GetHorzPadding(), 8);
        EXPECT_EQ(group->GetVertPadding(), 8);
        EXPECT_EQ(group->GetGroupStyle(), gsVertical);
        EXPECT_TRUE(group->ControlStyle.Contains(csAcceptsControls));
        EXPECT_FALSE(group->ControlStyle.Contains(csSetCaption));
    }
    ResetPlatformProbe();
}

TEST(AdvPanel, CaptionAssignCopiesLookButNotTextOrPlace)
{
    TOwned<TPanelCaption> source(New<TPanelCaption>());
    TOwned<TPanelCaption> target(New<TPanelCaption>());
    source->SetText(L"Title");
    source->SetVisible(true);
    source->SetTopIndent(4);
    source->SetColor(clRed);
    source->SetHeight(30);
    source->SetIndent(6);
    source->GetFont()->SetHeight(-15);
    target->Assign(source.get());
    EXPECT_EQ(target->GetColor(), clRed);
    EXPECT_EQ(target->GetHeight(), 30);
    EXPECT_EQ(target->GetIndent(), 6);
    EXPECT_EQ(target->GetFont()->GetHeight(), -15);
    EXPECT_EQ(target->GetText(), L"");
    EXPECT_FALSE(target->GetVisible());
    EXPECT_EQ(target->GetTopIndent(), 0);
}

// One of the main window's four detail groups, built as the form builds it.
class DetailGroup : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        form->BeginLoading();
        group = New<TAdvPanelGroup>(form);
        group->SetName(L"AdvPanelGroupShares");
        group->SetBounds(10, 8, 183, 153);
        group->SetText(L"<B> Shared Folders</B>");
        group->SetTopIndent(5);
        group->SetColumns(2);
        group->SetGroupStyle(gsVertical);
        group->SetHorzPadding(8);
        group->SetVertPadding(8);
        group->SetFullHeight(15);
        group->GetCaption()->SetColor(clHighlight);
        group->GetFont()->SetColor(clBlack);
        group->GetFont()->SetQuality(fqNonAntialiased);
        group->SetParent(form);
        list = New<TListBox>(form);
        list->SetName(L"LBShares");
        list->SetBounds(0, 0, 181, 100);
        list->SetAlign(alBottom);
        list->SetColor(clInfoBk);
        list->SetParent(group);
        form->EndLoading();
        ShowForm();
    }
    TAdvPanelGroup* group = nullptr;
    TListBox* list = nullptr;
};

TEST_F(DetailGroup, HoldsItsListBoxAlignedToTheBottom)
{
    EXPECT_EQ(group->GetFullHeight(), 15);
    EXPECT_EQ(group->GetRawText(), L" Shared Folders");
    // Inside the one-pixel raised bevel.
    EXPECT_EQ(list->GetBoundsRect(), TRect(1, 52, 182, 152));

    // Arranging concerns panels only: the list box stays where alignment put it.
    group->SetColumns(1);
    group->SetVertPadding(20);
    group->ArrangePanels();
    group->SetBounds(10, 8, 183, 173);
    EXPECT_EQ(list->GetBoundsRect(), TRect(1, 72, 182, 172));
}

// The title as TextOut draws it at (1, 6) in the group's font, bold or not.
std::unique_ptr<TSnapshot> TitleDrawn(TAdvPanelGroup* Group, bool Bold)
{
    auto expected = std::make_unique<TSnapshot>(183, 52);
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(expected->DC());
    canvas->GetBrush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 183, 52));
    canvas->GetFont()->Assign(Group->GetFont());
    if (Bold)
        canvas->GetFont()->SetStyle(TFontStyles() << fsBold);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(1, 6, L" Shared Folders");
    canvas->SetHandle(nullptr);
    return expected;
}

int InkDifference(const TSnapshot& Expected, const TSnapshot& Picture, int Right = 182)
{
    int differing = 0;
    for (int y = 1; y < 52; ++y)
        for (int x = 1; x < Right; ++x)
            differing += (Expected.Pixel(x, y) == clBlack) != (Picture.Pixel(x, y) == clBlack);
    return differing;
}

TEST_F(DetailGroup, ShowsItsBoldTitleAboveTheList)
{
    TSnapshot picture(group);
    // The title starts one pixel inside the bevel, TopIndent lower.
    // The renderer lays the words out one by one; its blank between them is
    // its own, so the first word is compared pixel for pixel.
    EXPECT_EQ(InkDifference(*TitleDrawn(group, true), picture, 46), 0);
    EXPECT_GT(InkDifference(*TitleDrawn(group, false), picture, 46), 10) << "bold, not plain";
    EXPECT_GT(picture.Count(clBlack, TRect(1, 1, 182, 52)), 30);
    EXPECT_EQ(picture.Count(clBlack, TRect(1, 1, 182, 6)), 0) << "nothing above the top indent";
    // The raised bevel on button face, and no caption bar.
    EXPECT_EQ(picture.Pixel(0, 20), static_cast<TColor>(ColorToRGB(clBtnHighlight)));
    EXPECT_EQ(picture.Pixel(182, 20), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(picture.Pixel(150, 3), static_cast<TColor>(ColorToRGB(clBtnFace)));
    // The list box's window is painted over the group's lower part.
    EXPECT_EQ(picture.Pixel(90, 100), static_cast<TColor>(ColorToRGB(clInfoBk)));
}

TEST_F(DetailGroup, VisibleCaptionTakesItsBandFromAlignedChildren)
{
    group->GetCaption()->SetText(L"<I>Shares</I>");
    group->GetCaption()->GetFont()->SetColor(clYellow);
    group->GetCaption()->GetFont()->SetQuality(fqNonAntialiased);
    group->GetCaption()->SetVisible(true);
    list->SetAlign(alClient);
    Pump();
    // The band is 20 high less two, inside the bevel.
    EXPECT_EQ(list->GetBoundsRect(), TRect(1, 19, 182, 152));

    list->SetVisible(false);
    TSnapshot picture(group);
    EXPECT_EQ(picture.Pixel(150, 3), static_cast<TColor>(ColorToRGB(clHighlight)));
    EXPECT_GT(picture.Count(clYellow, TRect(1, 1, 182, 19)), 10) << "caption text";
    EXPECT_EQ(picture.Count(clYellow, TRect(0, 19, 183, 153)), 0);
    EXPECT_EQ(picture.Count(clBlack, TRect(0, 0, 183, 19)), 0) << "the body text starts under the band";
    EXPECT_GT(picture.Count(clBlack, TRect(0, 19, 183, 50)), 30);
}

// A group of 300 x 400 with three child panels of heights 50, 80 and 60.
class GroupArrangement : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        group = New<TAdvPanelGroup>(form);
        group->SetBounds(0, 0, 300, 400);
        group->SetParent(form);
        group->OnArrangedControls = [this](TObject*) { ++arranged; };
        int top = 0;
        for (int height : {50, 80, 60}) {
            auto* p = New<TAdvPanel>(form);
            p->SetBounds(0, top++, 100, height);
            p->SetParent(group);
            panels.push_back(p);
        }
        ShowForm();
    }
    void ExpectPlaces(const std::vector<TRect>& expected, const char* what)
    {
        for (std::size_t i = 0; i < panels.size(); ++i)
            EXPECT_EQ(panels[i]->GetBoundsRect(), expected[i]) << what << ", panel " << i;
    }
    TAdvPanelGroup* group = nullptr;
    std::vector<TAdvPanel*> panels;
    int arranged = 0;
};

TEST_F(GroupArrangement, StacksPanelsInColumnsAndRows)
{
    group->SetColumns(2);
    // Column width (300 - 8) div 2 = 146; panel width (300 - 3 * 8) div 2 = 138.
    ExpectPlaces({Bounds(8, 8, 138, 50), Bounds(154, 8, 138, 80), Bounds(8, 96, 138, 60)}, "two columns");

    group->SetColumns(0);
    group->SetColumns(-1);
    EXPECT_EQ(group->GetColumns(), 2);

    group->SetColumns(1);
    ExpectPlaces({Bounds(8, 8, 284, 50), Bounds(8, 66, 284, 80), Bounds(8, 154, 284, 60)}, "one column");

    // A hidden panel keeps its slot but adds no height.
    panels[1]->SetVisible(false);
    group->ArrangePanels();
    ExpectPlaces({Bounds(8, 8, 284, 50), Bounds(8, 66, 284, 80), Bounds(8, 66, 284, 60)}, "hidden middle");
}

TEST_F(GroupArrangement, OrdersByPositionOrByIndex)
{
    // By position: the panel placed highest comes first.
    panels[2]->SetTop(-50);
    group->SetVertPadding(4);
    ExpectPlaces({Bounds(8, 68, 284, 50), Bounds(8, 122, 284, 80), Bounds(8, 4, 284, 60)}, "by top");

    panels[0]->SetIndex(2);
    panels[1]->SetIndex(0);
    panels[2]->SetIndex(1);
    group->ArrangePanels();
    ExpectPlaces({Bounds(8, 152, 284, 50), Bounds(8, 4, 284, 80), Bounds(8, 88, 284, 60)}, "by index");
}

TEST_F(GroupArrangement, HorizontalStyleLaysPanelsSideBySide)
{
    panels[1]->SetWidth(50);
    group->SetGroupStyle(gsHorizontal);
    ExpectPlaces({Bounds(8, 8, 100, 384), Bounds(116, 8, 50, 384), Bounds(174, 8, 100, 384)}, "horizontal");
}

TEST_F(GroupArrangement, VisibleCaptionStartsTheStackBelowIt)
{
    group->GetCaption()->SetVisible(true);
    EXPECT_EQ(panels[0]->GetTop(), 8 + 20);
}

TEST_F(GroupArrangement, UpdatesArrangeOnceAtTheOutermostEnd)
{
    arranged = 0;
    group->BeginUpdate();
    group->BeginUpdate();
    group->SetColumns(3);
    group->SetHorzPadding(10);
    group->EndUpdate();
    EXPECT_EQ(arranged, 0);
    EXPECT_NE(panels[1]->GetLeft(), 10 + (300 - 10) / 3) << "not arranged yet";
    group->EndUpdate();
    EXPECT_EQ(arranged, 1);
    EXPECT_EQ(panels[1]->GetLeft(), 10 + (300 - 10) / 3);
    group->EndUpdate();
    EXPECT_EQ(arranged, 1) << "an extra EndUpdate is ignored";
    group->SetHorzPadding(10);
    EXPECT_EQ(arranged, 1) << "unchanged padding";
}

// A group that makes its own panels from DefaultPanel (each 120 high).
class GroupPanels : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        group = New<TAdvPanelGroup>(form);
        group->SetBounds(0, 0, 300, 200);
        group->SetParent(form);
        ShowForm();
    }
    TCustomAdvPanel* Named(TCustomAdvPanel* Panel, const wchar_t* Name)
    {
        Panel->SetText(Name);
        return Panel;
    }
    // The panels' texts from the top down, and their list order.
    String Shown()
    {
        std::vector<TCustomAdvPanel*> panels;
        for (int i = 0; i < group->PanelCount(); ++i)
            panels.push_back(group->Panel(i));
        std::sort(panels.begin(), panels.end(), [](auto* a, auto* b) { return a->GetTop() < b->GetTop(); });
        String all;
        for (auto* p : panels)
            all += p->GetText();
        return all;
    }
    String Listed()
    {
        String all;
        for (int i = 0; i < group->PanelCount(); ++i)
            all += group->Panel(i)->GetText() + std::to_wstring(group->Panel(i)->GetIndex());
        return all;
    }
    TAdvPanelGroup* group = nullptr;
};

TEST_F(GroupPanels, AddAppendInsertMoveAndRemove)
{
    group->GetDefaultPanel()->GetCaption()->SetVisible(true);
    group->GetDefaultPanel()->SetColor(clYellow);
    for (const wchar_t* name : {L"A", L"B", L"C"})
        Named(group->AddPanel(), name);
    EXPECT_EQ(Listed(), L"A0B1C2");
    // Arranged by position, a new panel starts at the top.
    EXPECT_EQ(Shown(), L"CBA");
    group->ArrangePanels();
    EXPECT_EQ(Shown(), L"ABC");
    EXPECT_TRUE(group->Panel(0)->GetCaption()->GetVisible()) << "the template's caption visibility";
    EXPECT_EQ(group->Panel(0)->GetColor(), clYellow);
    EXPECT_EQ(group->Panel(0)->GetHeight(), 120);

    Named(group->AppendPanel(), L"D");
    group->ArrangePanels();
    EXPECT_EQ(Listed(), L"D4A3B2C1");
    EXPECT_EQ(Shown(), L"CBAD");

    const int children = group->ControlCount();
    group->MovePanel(4, 0);
    group->MovePanel(-1, 0);
    group->RemovePanel(group->PanelCount());
    group->RemovePanel(-1);
    EXPECT_EQ(group->InsertPanel(5), nullptr);
    EXPECT_EQ(group->InsertPanel(-1), nullptr);
    EXPECT_EQ(Listed(), L"D4A3B2C1") << "out-of-range indexes do nothing";
    EXPECT_EQ(group->ControlCount(), children) << "and make no panel";

    group->MovePanel(0, 3);
    EXPECT_EQ(Listed(), L"C4D3A2B1");
    EXPECT_EQ(Shown(), L"BADC");

    Named(group->InsertPanel(1), L"E");
    EXPECT_EQ(Listed(), L"C0E1D2A3B4");
    group->RemovePanel(1);
    EXPECT_EQ(Listed(), L"C0D1A2B3");

    // A panel freed by someone else leaves the list.
    group->Panel(0)->Free();
    EXPECT_EQ(Listed(), L"D1A2B3");
    group->RemovePanel(0);
    EXPECT_EQ(Listed(), L"A0B1");
    group->Clear();
    EXPECT_EQ(group->PanelCount(), 0);
    EXPECT_EQ(group->ControlCount(), 1) << "the scroll bar";
}

TEST_F(GroupPanels, ScrollBarAndWheel)
{
    auto wheel = [&](int delta) {
        const POINT center = group->ClientToScreen({100, 100});
        return SendMessageW(group->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(center.x, center.y));
    };
    TCustomAdvPanel* first = group->AddPanel();
    EXPECT_FALSE(group->ScrollBar()->GetVisible()) << "8 + 120 + 8 fits in 200";
    wheel(-120);
    EXPECT_EQ(first->GetTop(), 8) << "no scroll bar: the wheel is not the group's";

    group->AddPanel();
    group->AddPanel();
    group->ArrangePanels();
    TScrollBar* bar = group->ScrollBar();
    ASSERT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetMax(), 8 + 3 * 128);
    EXPECT_EQ(bar->GetPageSize(), 200);
    EXPECT_EQ(first->GetWidth(), 300 - 2 * 8 - bar->GetWidth()) << "room for the bar";

    wheel(-120);
    EXPECT_EQ(bar->GetPosition(), 4);
    EXPECT_EQ(first->GetTop(), 8 - 4);
    wheel(120);
    EXPECT_EQ(first->GetTop(), 8);

    group->SetScrollPosition(1000);
    EXPECT_EQ(group->GetScrollPosition(), 392 - 200) << "held at max - page size";
    EXPECT_EQ(first->GetTop(), 8 - 192);

    group->SetMouseWheelDelta(10);
    group->SetScrollPosition(0);
    wheel(-120);
    EXPECT_EQ(first->GetTop(), 8 - 20);
}

TEST_F(GroupPanels, WheelWithoutScrollBarGoesToTheParent)
{
    std::vector<int> formWheel;
    form->OnMouseWheel = [&](TObject*, TShiftState, int delta, POINT, bool& handled) {
        formWheel.push_back(delta);
        handled = true;
    };
    auto wheel = [&](int delta) {
        const POINT center = group->ClientToScreen({100, 100});
        SendMessageW(group->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(center.x, center.y));
    };
    TCustomAdvPanel* first = group->AddPanel();
    ASSERT_FALSE(group->ScrollBar()->GetVisible());
    wheel(-120);
    wheel(120);
    EXPECT_EQ(formWheel, (std::vector<int>{-120, 120})) << "the inherited handling passes it on";
    EXPECT_EQ(first->GetTop(), 8);

    group->AddPanel();
    ASSERT_TRUE(group->ScrollBar()->GetVisible());
    wheel(-120);
    EXPECT_EQ(formWheel.size(), 2u) << "a group with a shown bar keeps the wheel";
    EXPECT_EQ(group->GetScrollPosition(), 4);
}

TEST_F(GroupPanels, HorizontalStyleScrollsSideways)
{
    group->GetDefaultPanel()->SetWidth(120);
    group->SetGroupStyle(gsHorizontal);
    group->AddPanel();
    EXPECT_FALSE(group->ScrollBar()->GetVisible()) << "8 + 120 + 8 fits in 300";
    group->AddPanel();
    group->AddPanel();
    TScrollBar* bar = group->ScrollBar();
    ASSERT_TRUE(bar->GetVisible());
    EXPECT_EQ(bar->GetKind(), sbHorizontal);
    EXPECT_EQ(bar->GetAlign(), alBottom);
    EXPECT_EQ(bar->GetHeight(), 16);
    EXPECT_EQ(bar->GetMax(), 8 + 3 * 128);
    EXPECT_EQ(bar->GetPageSize(), 300);
    EXPECT_EQ(bar->GetLargeChange(), 100);
    auto lefts = [&] {
        std::vector<int> all;
        for (int i = 0; i < group->PanelCount(); ++i)
            all.push_back(group->Panel(i)->GetLeft());
        std::sort(all.begin(), all.end());
        return all;
    };
    EXPECT_EQ(lefts(), (std::vector<int>{8, 136, 264}));
    for (int i = 0; i < group->PanelCount(); ++i) {
        EXPECT_EQ(group->Panel(i)->GetTop(), 8);
        EXPECT_EQ(group->Panel(i)->GetHeight(), 200 - 2 * 8 - 16) << "room for the bar below";
    }

    const POINT center = group->ClientToScreen({100, 100});
    SendMessageW(group->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(center.x, center.y));
    EXPECT_EQ(bar->GetPosition(), 4);
    EXPECT_EQ(lefts(), (std::vector<int>{4, 132, 260}));
    group->SetScrollPosition(1000);
    EXPECT_EQ(group->GetScrollPosition(), 392 - 300) << "held at max - page size";
    EXPECT_EQ(lefts(), (std::vector<int>{8 - 92, 136 - 92, 264 - 92}));

    // Back to columns: the bar turns upright on the right.
    group->SetScrollPosition(0);
    group->SetGroupStyle(gsVertical);
    EXPECT_EQ(bar->GetKind(), sbVertical);
    EXPECT_EQ(bar->GetAlign(), alRight);
    EXPECT_EQ(bar->GetWidth(), 16);
}

} // namespace
