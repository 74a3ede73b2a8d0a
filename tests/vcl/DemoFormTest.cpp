// A small form like the program's main window, used the way a person
// would: it shows, takes input, lays itself out again and closes, and
// leaves no window or GDI object behind.
#include <gtest/gtest.h>
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* AOwner) : TForm(AOwner)
    {
        BeginLoading();
        SetName(L"DemoForm");
        SetCaption(L"Demo");
        SetBounds(100, 100, 600, 420);
        SetPosition(poScreenCenter);
        GetConstraints()->SetMinWidth(400);
        GetConstraints()->SetMinHeight(300);

        left = MakePanel(this, alLeft, 180);
        names = New<TMemo>(this);
        names->SetBounds(8, 8, 160, 200);
        names->SetScrollBars(ssBoth);
        names->SetWordWrap(false);
        names->SetParent(left);
        servers = MakeCheck(left, L"&Servers", 220);
        workstations = MakeCheck(left, L"&Workstations", 240);
        count = New<TLabel>(this);
        count->SetBounds(8, 262, 50, 13);
        count->SetParent(left);

        right = MakePanel(this, alClient, 0);
        details = MakePanel(right, alBottom, 120);
        splitter = New<TSplitter>(this);
        splitter->SetAlign(alBottom);
        splitter->SetHeight(4);
        splitter->SetTop(10);
        splitter->SetBeveled(true);
        splitter->SetCursor(crVSplit);
        splitter->SetParent(right);
        shares = New<TListBox>(this);
        shares->SetAlign(alClient);
        shares->SetColor(clInfoBk);
        shares->SetParent(details);
        table = MakePanel(right, alClient, 0);

        names->OnChange = [this](TObject*) { count->SetCaption(IntToStr(names->GetLines()->Count())); };
        OnClose = [this](TObject*, TCloseAction&) { closedWithLines = names->GetLines()->Count(); };
    }

    TPanel* left = nullptr;
    TPanel* right = nullptr;
    TPanel* details = nullptr;
    TPanel* table = nullptr;
    TMemo* names = nullptr;
    TCheckBox* servers = nullptr;
    TCheckBox* workstations = nullptr;
    TLabel* count = nullptr;
    TSplitter* splitter = nullptr;
    TListBox* shares = nullptr;
    int closedWithLines = -1;

private:
    TPanel* MakePanel(TWinControl* parent, TAlign align, int size)
    {
        auto* p = New<TPanel>(this);
        if (align == alLeft)
            p->SetWidth(size);
        if (align == alBottom)
            p->SetHeight(size);
        p->SetAlign(align);
        p->SetBevelOuter(bvNone);
        p->SetParent(parent);
        return p;
    }
    TCheckBox* MakeCheck(TWinControl* parent, const String& caption, int top)
    {
        auto* c = New<TCheckBox>(this);
        c->SetBounds(8, top, 150, 17);
        c->SetCaption(caption);
        c->SetChecked(true);
        c->SetParent(parent);
        return c;
    }
};

// Shows the demo form, works with it and closes it.
void RunDemoForm()
{
    auto* form = New<TDemoForm>(nullptr);
    // Checked while loading: no click ran, the state is there.
    EXPECT_TRUE(form->servers->GetChecked());
    form->Show();
    Pump();
    ASSERT_TRUE(IsWindowVisible(form->Handle()));
    RECT client = form->GetClientRect();
    EXPECT_EQ(form->left->GetHeight(), client.bottom);
    EXPECT_EQ(form->right->GetWidth(), client.right - 180);
    EXPECT_EQ(form->splitter->GetTop() + 4, form->details->GetTop());

    form->names->SetFocus();
    for (wchar_t ch : String(L"pc-01\rpc-02"))
        SendMessageW(form->names->Handle(), WM_CHAR, ch, 1);
    EXPECT_EQ(form->names->GetLines()->Count(), 2);
    EXPECT_EQ(form->count->GetCaption(), L"2");
    SendMessageW(form->servers->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(form->servers->GetChecked());
    form->shares->GetItems()->Add(L"C$");
    form->shares->GetItems()->Add(L"ADMIN$");
    form->shares->SetItemIndex(1);

    // Larger, then smaller than the limits allow.
    form->SetBounds(form->GetLeft(), form->GetTop(), 800, 600);
    Pump();
    EXPECT_EQ(form->right->GetWidth(), form->GetClientWidth() - 180);
    form->SetBounds(form->GetLeft(), form->GetTop(), 100, 100);
    EXPECT_EQ(form->GetWidth(), 400);
    EXPECT_EQ(form->GetHeight(), 300);
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();

    form->Close();
    EXPECT_EQ(form->closedWithLines, 2);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    form->Free();
    Pump();
}

TEST(DemoForm, ShowsWorksAndClosesWithoutLeavingWindowsOrGdiObjects)
{
    // The first round registers window classes and fills caches once.
    RunDemoForm();
    DWORD gdiBefore = testing_support::GdiObjectCount();
    int windowsBefore = ThreadWindowCount();
    for (int round = 0; round < 3; ++round)
        RunDemoForm();
    EXPECT_EQ(ThreadWindowCount(), windowsBefore);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

} // namespace
