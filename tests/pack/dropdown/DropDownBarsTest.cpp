// The popup's header and footer bars as they paint and behave: background,
// border, image, caption, the footer's size grip, the buttons' places and
// their colours per state, clicks that rebuild the bar under the clicked
// button, and the pointer list the bars keep their buttons in.
#include "AdvDropDown.h"
#include "../controls/PackControlsTestSupport.h"

using namespace pack_test;

namespace {

void MoveTo(TControl* Control, POINT P)
{
    const POINT screen = Control->ClientToScreen(P);
    SetCursorPos(screen.x, screen.y);
    Pump();
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &move, sizeof(move));
    Pump();
}

void MouseButton(DWORD Flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Flags;
    SendInput(1, &in, sizeof(in));
    Pump();
}

void ClickAt(TControl* Control, POINT P)
{
    MoveTo(Control, P);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

// Watches a component and notes when it is freed.
class TFreeWatch : public TComponent {
public:
    explicit TFreeWatch(TComponent* Watched) : TComponent(nullptr), watched_(Watched) { Watched->FreeNotification(this); }
    ~TFreeWatch() override
    {
        if (watched_)
            watched_->RemoveFreeNotification(this);
    }
    bool Freed() const { return watched_ == nullptr; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == watched_)
            watched_ = nullptr;
    }

private:
    TComponent* watched_;
};

class DropDownBarsTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        edit = New<TAdvDropDown>(form);
        edit->SetBounds(20, 20, 150, 21);
        edit->SetParent(form);
        edit->SetDropDownWidth(PopupWidth);
        edit->SetDropDownHeight(120);
        // Plain colours, so that every pixel has one expected value.
        TDropDownBarAppearance* const bars[] = {edit->GetDropDownHeader(), edit->GetDropDownFooter()};
        for (TDropDownBarAppearance* bar : bars) {
            bar->SetColor(clYellow);
            bar->SetColorTo(clNone);
            bar->SetBorderColor(clBlue);
            bar->GetFont()->SetColor(clNavy);
        }
        TAdvButtonAppearance* buttons = edit->GetButtonAppearance();
        buttons->SetColor(clSilver);
        buttons->SetColorTo(clNone);
        buttons->SetBorderColor(clMaroon);
        ShowForm();
    }
    void Open()
    {
        edit->ShowDropDown();
        Pump();
        ASSERT_TRUE(edit->GetDroppedDown());
    }
    TAdvHeader* Header() const { return edit->GetDropDownForm()->GetHeader(); }
    TAdvFooter* Footer() const { return edit->GetDropDownForm()->GetFooter(); }
    static TAdvButton* ButtonOf(TAdvBar* Bar, int Index)
    {
        return static_cast<TAdvButton*>(Bar->GetButtonList()->GetItem(Index));
    }

    static constexpr int PopupWidth = 200;
    TAdvDropDown* edit = nullptr;
};

TEST_F(DropDownBarsTest, HeaderPaintsBackgroundBorderImageAndCentredCaption)
{
    edit->SetImages(NewImageList(form, 16, 16, {clLime}));
    edit->GetDropDownHeader()->SetImageIndex(0);
    Open();
    TAdvHeader* header = Header();
    ASSERT_NE(header, nullptr);
    const int w = header->GetWidth(), h = header->GetHeight();
    ASSERT_EQ(h, 22);
    const TColor light = ColorToRGB(BlendColor(clBlue, clWhite, 20));
    {
        // Without a caption: background, border and image only.
        TSnapshot bare(header);
        EXPECT_EQ(bare.Pixel(w / 2, h - 1), clBlue) << "the line along the bottom";
        EXPECT_EQ(bare.Pixel(w / 2, 0), light) << "the light outline";
        EXPECT_EQ(bare.Pixel(0, h / 2), light);
        EXPECT_EQ(bare.Pixel(w - 1, h / 2), light);
        EXPECT_EQ(bare.Pixel(w / 2, h - 2), light) << "raised by the border's width";
        EXPECT_EQ(bare.Extent(clLime, TRect(0, 0, w, h)), TRect(5, 3, 21, 19)) << "4 from the border, centred";
        EXPECT_EQ(bare.Count(clYellow, TRect(1, 1, w - 1, h - 2)), (w - 2) * (h - 3) - 16 * 16);
    }
    edit->GetDropDownHeader()->SetCaption(L"<b>Wide header caption</b>");
    edit->HideDropDown(false);
    Open();
    TSnapshot captioned(header);
    const TRect text = captioned.Extent(clNavy, TRect(0, 0, w, h));
    ASSERT_FALSE(text.IsEmpty()) << "the caption in the appearance's font colour";
    EXPECT_GE(text.left, 1 + 16 + 8) << "8 after the image";
    // Centred in the bar: as much room above as below, give or take the
    // font's descent.
    EXPECT_LE(std::abs((text.top - 1) - (h - 2 - text.bottom)), 4) << text.top << ".." << text.bottom;
}

TEST_F(DropDownBarsTest, TextEventAndBackgroundEventTakeOver)
{
    edit->GetDropDownFooter()->SetCaption(L"ignored");
    edit->OnGetFooterText = [](TObject* Sender, String& Text) {
        EXPECT_NE(dynamic_cast<TAdvFooter*>(Sender), nullptr);
        Text = L"<b>Replaced</b>";
    };
    Open();
    TAdvFooter* footer = Footer();
    const int w = footer->GetWidth(), h = footer->GetHeight();
    {
        TSnapshot replaced(footer);
        EXPECT_GT(replaced.Count(clNavy, TRect(0, 0, w, h)), 0);
    }
    std::vector<TRect> asked;
    edit->OnDrawFooter = [&](TObject* Sender, TCanvas* ACanvas, TRect ARect) {
        EXPECT_EQ(Sender, footer);
        asked.push_back(ARect);
        ACanvas->GetBrush()->SetColor(clFuchsia);
        ACanvas->FillRect(ARect);
    };
    edit->HideDropDown(false);
    Open();
    TSnapshot drawn(footer);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), TRect(0, 0, w, h));
    EXPECT_EQ(drawn.Count(clFuchsia, TRect(0, 0, w, h)), w * h) << "no caption, border or size grip of the bar's";
}

TEST_F(DropDownBarsTest, FooterGripShowsOnlyForASizeablePopupAndSetsTheCursor)
{
    struct Case {
        bool sizeable;
        bool grip;
    };
    const Case cases[] = {{true, true}, {false, false}};
    edit->GetDropDownFooter()->GetButtons()->Add()->SetCaption(L"OK");
    // A sizing drag elsewhere may have left the screen cursor turned.
    Screen->SetCursor(crDefault);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sizeable);
        edit->SetDropDownSizeable(c.sizeable);
        Open();
        TAdvFooter* footer = Footer();
        const int w = footer->GetWidth(), h = footer->GetHeight();
        EXPECT_EQ(footer->SizeGripActive(), c.grip);
        {
            TSnapshot painted(footer);
            EXPECT_EQ(painted.Pixel(w / 2, 0), clBlue) << "the line along the top";
            EXPECT_EQ(painted.Pixel(w / 2, 1), ColorToRGB(BlendColor(clBlue, clWhite, 20)));
            // Six dots, each three white pixels beside its shadow.
            const TRect grip(w - 1 - 16, 1, w - 2, h);
            EXPECT_EQ(painted.Count(clWhite, grip), c.grip ? 18 : 0);
            if (c.grip) {
                EXPECT_EQ(painted.Pixel(grip.left + 6, h - 3), clWhite);
                EXPECT_EQ(painted.Pixel(grip.left + 4, h - 5), clBlue) << "the dot's shadow";
            }
        }
        // The buttons end where the grip begins, or 2 from the edge.
        TAdvButton* ok = ButtonOf(footer, 0);
        EXPECT_EQ(ok->GetLeft() + ok->GetWidth(), w - (c.grip ? 14 : 2));
        // Only an active grip turns the cursor.
        const TCursor before = Screen->GetCursor();
        MoveTo(footer, {w / 2 - 30, h / 2});
        MoveTo(footer, {w - 4, h - 4});
        EXPECT_EQ(Screen->GetCursor(), c.grip ? crSizeNWSE : before);
        MoveTo(footer, {w / 2 - 30, h / 2});
        EXPECT_EQ(Screen->GetCursor(), before) << "and back";
        SetCursorPos(0, 0);
        edit->HideDropDown(false);
        Pump();
    }
}

TEST_F(DropDownBarsTest, ButtonsLineUpAtTheirEdgeWithinTheBar)
{
    THeaderButtons* items = edit->GetDropDownHeader()->GetButtons();
    items->Add()->SetCaption(L"First");
    items->Add()->SetCaption(L"A much longer second");
    THeaderButton* tall = items->Add();
    tall->SetCaption(L"Tall");
    tall->SetHeight(40);
    THeaderButton* wide = items->Add();
    wide->SetCaption(L"W");
    wide->SetWidth(50);
    edit->SetDropDownWidth(400);
    Open();
    TAdvHeader* header = Header();
    const int w = header->GetWidth();
    ASSERT_EQ(header->GetButtonList()->Count(), 4);
    TAdvButton* first = ButtonOf(header, 0);
    TAdvButton* second = ButtonOf(header, 1);
    EXPECT_EQ(first->GetLeft() + first->GetWidth(), w - 2) << "the first item rightmost";
    EXPECT_EQ(second->GetLeft() + second->GetWidth(), first->GetLeft()) << "no gap";
    EXPECT_GT(second->GetWidth(), first->GetWidth()) << "sized to the caption";
    EXPECT_EQ(ButtonOf(header, 2)->GetHeight(), 17) << "no higher than the button area";
    EXPECT_EQ(ButtonOf(header, 2)->GetTop(), 2);
    EXPECT_EQ(ButtonOf(header, 3)->GetWidth(), 50);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ButtonOf(header, i)->GetTag(), i);
    // Left-aligned they run the other way from the left edge.
    edit->HideDropDown(false);
    edit->GetDropDownHeader()->SetButtonAlignment(baLeft);
    Open();
    EXPECT_EQ(ButtonOf(header, 0)->GetLeft(), 2);
    EXPECT_EQ(ButtonOf(header, 1)->GetLeft(), ButtonOf(header, 0)->GetWidth() + 2);
    // The caption stops before the buttons.
    edit->GetDropDownHeader()->SetCaption(L"<b>A caption long enough to run under the buttons of the bar</b>");
    edit->GetDropDownHeader()->SetButtonAlignment(baRight);
    edit->HideDropDown(false);
    Open();
    TSnapshot painted(header);
    const TAdvButton* last = ButtonOf(header, 3);
    const TRect text = painted.Extent(clNavy, TRect(0, 0, last->GetLeft(), header->GetHeight()));
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_LE(text.right, last->GetLeft() - 2);
}

TEST_F(DropDownBarsTest, ButtonFacesFollowTheirState)
{
    TAdvButtonAppearance* a = edit->GetButtonAppearance();
    a->SetColorHot(clLime);
    a->SetBorderColorHot(clGreen);
    a->SetColorDown(clAqua);
    a->SetBorderColorDown(clTeal);
    a->SetColorChecked(clRed);
    a->SetBorderColorChecked(clPurple);
    a->SetColorDisabled(clGray);
    a->SetColorDisabledTo(clNone);
    a->SetBorderColorDisabled(clBlack);
    TFooterButtons* items = edit->GetDropDownFooter()->GetButtons();
    items->Add()->SetCaption(L"Normal");
    items->Add()->SetEnabled(false);
    Open();
    TAdvButton* normal = ButtonOf(Footer(), 0);
    TAdvButton* disabled = ButtonOf(Footer(), 1);
    auto face = [](TAdvButton* B) {
        TSnapshot s(B);
        return std::make_pair(s.Pixel(1, 1), s.Pixel(0, 0));
    };
    EXPECT_EQ(face(normal), std::make_pair(TColor(clSilver), TColor(clMaroon)));
    EXPECT_EQ(face(disabled), std::make_pair(TColor(clGray), TColor(clBlack)));
    MoveTo(normal, {3, 3});
    EXPECT_TRUE(normal->MouseInControl);
    EXPECT_EQ(face(normal), std::make_pair(TColor(clLime), TColor(clGreen))) << "hot";
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(face(normal), std::make_pair(TColor(clAqua), TColor(clTeal))) << "pressed";
    MouseButton(MOUSEEVENTF_LEFTUP);
    // A check button latches on each release inside it and shows it.
    normal->Style = tasCheck;
    for (bool down : {true, false, true}) {
        ClickAt(normal, {3, 3});
        EXPECT_EQ(normal->GetDown(), down);
    }
    MoveTo(Header(), {2, 2});
    EXPECT_EQ(face(normal), std::make_pair(TColor(clRed), TColor(clPurple))) << "checked";
    // The image goes 4 from the left.
    SetCursorPos(0, 0);
}

TEST_F(DropDownBarsTest, AClickThatRebuildsTheBarFreesTheClickedButtonAfterwards)
{
    struct Case {
        const char* change;
        std::function<void(TDropDownBarButton*)> apply;
    };
    const Case cases[] = {
        {"caption", [](TDropDownBarButton* b) { b->SetCaption(b->GetCaption() + L"+"); }},
        {"width", [](TDropDownBarButton* b) { b->SetWidth(b->GetWidth() + 10); }},
        {"enabled", [](TDropDownBarButton* b) {
             // The clicked one stays enabled; its neighbour changes.
             auto* other = static_cast<TDropDownBarButton*>(b->GetCollection()->GetItem(1));
             other->SetEnabled(!other->GetEnabled());
         }},
    };
    THeaderButtons* items = edit->GetDropDownHeader()->GetButtons();
    items->Add()->SetCaption(L"Click");
    items->Add()->SetCaption(L"Other");
    TFooterButtons* footerItems = edit->GetDropDownFooter()->GetButtons();
    footerItems->Add()->SetCaption(L"Stay");  // no modal result: the popup stays open
    footerItems->Add()->SetCaption(L"Other");
    Open();
    for (const Case& c : cases) {
        for (bool footer : {false, true}) {
            SCOPED_TRACE(std::string(c.change) + (footer ? " in the footer" : " in the header"));
            TAdvBar* bar = footer ? static_cast<TAdvBar*>(Footer()) : Header();
            TDropDownBarButtons* barItems =
                footer ? static_cast<TDropDownBarButtons*>(footerItems) : static_cast<TDropDownBarButtons*>(items);
            TAdvButton* clicked = ButtonOf(bar, 0);
            const TFreeWatch watch(clicked);
            int clicks = 0;
            TDropDownButtonItemClick handler = [&](TObject*, int Index) {
                ++clicks;
                EXPECT_EQ(Index, 0);
                c.apply(static_cast<TDropDownBarButton*>(barItems->GetItem(Index)));
                EXPECT_NE(ButtonOf(bar, 0), clicked) << "rebuilt inside the click";
            };
            edit->OnDropDownHeaderButtonClick = footer ? nullptr : handler;
            edit->OnDropDownFooterButtonClick = footer ? handler : nullptr;
            ClickAt(clicked, {3, 3});
            Pump();
            EXPECT_EQ(clicks, 1);
            EXPECT_TRUE(watch.Freed()) << "freed once the click has returned";
            EXPECT_TRUE(edit->GetDroppedDown());
            ASSERT_EQ(bar->GetButtonList()->Count(), 2);
            EXPECT_EQ(bar->ComponentCount(), 2) << "no button left over";
            TAdvButton* rebuilt = ButtonOf(bar, 0);
            EXPECT_EQ(rebuilt->GetCaption(), static_cast<TDropDownBarButton*>(barItems->GetItem(0))->GetCaption());
            EXPECT_EQ(ButtonOf(bar, 1)->GetEnabled(),
                      static_cast<TDropDownBarButton*>(barItems->GetItem(1))->GetEnabled());
        }
    }
    SetCursorPos(0, 0);
}

TEST(DbgListTest, ReadsPastTheEndRaiseAndAssignCopiesInOrder)
{
    int a = 1, b = 2, c = 3;
    TList source;
    source.Add(&a);
    source.Add(&b);
    source.Add(&c);
    TDbgList list;
    list.Add(&c);
    list.AssignList(&source);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetItem(0), &a);
    EXPECT_EQ(list.GetItem(2), &c);
    try {
        list.GetItem(3);
        ADD_FAILURE() << "no error past the end";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list read access");
    }
}

} // namespace
