// The skinned-form list: registration order, broadcasts whose handlers make
// and free forms, the provider walk that leaves minimized forms out, and
// the shell icons taken at start-up.
#include <gtest/gtest.h>
#include "Forms.h"
#include "TestSupport.h"
#include "sFormRegistry.h"
#include "sMessages.h"

namespace {

constexpr UINT TestMessage = WM_APP + 47;

// A provider that only says which form it belongs to.
class TTestProvider : public TsSkinProvider {
public:
    explicit TTestProvider(TComponent* AOwner) : TsSkinProvider(Bare, AOwner) {}
    void SetFormState(Cardinal Value) override { FFormState = Value; }
    void PaintAll() override {}
    TBitmap* CreateFormBitmap(bool) override { return nullptr; }
    void FindTransparentCorners() override {}
    void ApplyFormRegion(bool, bool) override {}
    HRGN BuildFormRegion(int, int) override { return nullptr; }
    int SkinTitleHeight(bool) override { return 0; }
    int CaptionHeight(bool) override { return 0; }
    int OffsetX() override { return 0; }
    int OffsetY() override { return 0; }
    TRect ShadowSize() override { return TRect(); }
};

class TRegisteredForm : public TForm {
public:
    using TForm::TForm;
    void AfterConstruction() override
    {
        TForm::AfterConstruction();
        RegisterSkinnedForm(this);
    }
    void BeforeDestruction() override
    {
        UnregisterSkinnedForm(this);
        TForm::BeforeDestruction();
    }
    std::function<void()> OnTest;
    TsSkinProvider* Provider = nullptr;
    int Received = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == TestMessage) {
            ++Received;
            if (OnTest)
                OnTest();
            Message.Result = 1;
            return;
        }
        if (Message.Msg == SkinCommandMessage && HIWORD(Message.WParam) == SKC_QUERY_PROVIDER) {
            Message.Result = reinterpret_cast<LRESULT>(Provider);
            return;
        }
        TForm::WndProc(Message);
    }
};

TEST(FormRegistry, UnregisteringMovesTheLastEntryIntoTheGap)
{
    ASSERT_TRUE(SkinnedForms.empty());
    TOwned<TComponent> a(New<TComponent>(nullptr)), b(New<TComponent>(nullptr)), c(New<TComponent>(nullptr)),
        never(New<TComponent>(nullptr));
    for (TComponent* x : {a.get(), b.get(), c.get()})
        RegisterSkinnedForm(x);
    UnregisterSkinnedForm(never.get());
    EXPECT_EQ(SkinnedForms, (std::vector<TComponent*>{a.get(), b.get(), c.get()}));
    UnregisterSkinnedForm(a.get());
    EXPECT_EQ(SkinnedForms, (std::vector<TComponent*>{c.get(), b.get()}));
    UnregisterSkinnedForm(b.get());
    EXPECT_EQ(SkinnedForms, (std::vector<TComponent*>{c.get()}));
    UnregisterSkinnedForm(c.get());
    EXPECT_TRUE(SkinnedForms.empty());
}

TEST(FormRegistry, BroadcastsSurviveHandlersThatMakeAndFreeForms)
{
    TRegisteredForm* first = New<TRegisteredForm>(nullptr);
    TRegisteredForm* second = New<TRegisteredForm>(nullptr);
    TRegisteredForm* third = New<TRegisteredForm>(nullptr);
    TRegisteredForm* made = nullptr;
    for (TRegisteredForm* f : {first, second, third})
        f->GetHandle();
    // The first frees the second (whose slot the third takes) and makes a new one.
    first->OnTest = [&] {
        if (second) {
            second->Free();
            second = nullptr;
            made = New<TRegisteredForm>(nullptr);
            made->GetHandle();
        }
    };
    TMessage message{TestMessage, 0, 0, 0};
    BroadcastToSkinnedForms(message);
    EXPECT_EQ(first->Received, 1);
    EXPECT_EQ(third->Received, 1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Received, 1);
    EXPECT_EQ(SkinnedForms.size(), 3u);
    for (TRegisteredForm* f : {first, third, made})
        f->Free();
    EXPECT_TRUE(SkinnedForms.empty());
}

TEST(FormRegistry, ProviderWalkLeavesMinimizedAndForeignFormsOut)
{
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr)), other(New<TsSkinManager>(nullptr));
    TOwned<TRegisteredForm> normal(New<TRegisteredForm>(nullptr)), minimized(New<TRegisteredForm>(nullptr)),
        foreign(New<TRegisteredForm>(nullptr)), hidden(New<TRegisteredForm>(nullptr));
    std::vector<TOwned<TTestProvider>> providers;
    std::vector<TOwned<TsCommonData>> data;
    for (TRegisteredForm* f : {normal.get(), minimized.get(), foreign.get(), hidden.get()}) {
        providers.emplace_back(New<TTestProvider>(nullptr));
        data.emplace_back(new TsCommonData(providers.back().get()));
        data.back()->FSkinManager = f == foreign.get() ? other.get() : manager.get();
        providers.back()->FCommonData = data.back().get();
        providers.back()->Form = f;
        f->Provider = providers.back().get();
        f->SetBounds(10, 10, 120, 80);
        if (f != hidden.get())
            f->Show();
        else
            f->GetHandle();
    }
    minimized->SetWindowState(wsMinimized);
    testing_support::PumpMessages();

    std::vector<TCustomForm*> seen;
    ForEachSkinProvider(manager.get(), [&](TsSkinProvider* p, void*) { seen.push_back(p->Form); }, nullptr);
    EXPECT_EQ(seen, (std::vector<TCustomForm*>{normal.get()}));

    // The minimized form still hears the broadcasts.
    TMessage message{TestMessage, 0, 0, 0};
    BroadcastToSkinnedForms(message);
    EXPECT_EQ(minimized->Received, 1);
    EXPECT_EQ(hidden->Received, 1);
}

TEST(FormRegistry, ApplicationFormsWithoutSkinHandlingHearFirst)
{
    TForm* plain = New<TForm>(Application);
    plain->GetHandle();
    std::vector<UINT> order;
    TOwned<TRegisteredForm> skinned(New<TRegisteredForm>(nullptr));
    skinned->GetHandle();
    skinned->OnTest = [&] { order.push_back(2); };
    // The plain form answers through its window procedure chain.
    const TWndMethod previous = plain->WindowProc;
    plain->WindowProc = [&](TMessage& m) {
        if (m.Msg == TestMessage)
            order.push_back(1);
        previous(m);
    };
    TMessage message{TestMessage, 0, 0, 0};
    BroadcastToApplicationForms(message);
    EXPECT_EQ(order, (std::vector<UINT>{1, 2}));
    plain->WindowProc = previous;
    plain->Free();
}

TEST(FormRegistry, SectionIndexTest)
{
    const int sections[] = {4, 8, 15, 16, 23, 42};
    EXPECT_TRUE(IndexInSections(sections, 6, 15, 0, 5));
    EXPECT_FALSE(IndexInSections(sections, 6, 15, 3, 5));
    EXPECT_FALSE(IndexInSections(sections, 6, 4, 1, 0));
    EXPECT_FALSE(IndexInSections(sections, 6, 99, 0, 9));
}

TEST(FormRegistry, StartUpTakesTheShellIcons)
{
    ASSERT_NE(AppSmallIcon, nullptr);
    ASSERT_NE(AppLargeIcon, nullptr);
    ICONINFO small{}, large{};
    ASSERT_TRUE(GetIconInfo(AppSmallIcon->GetHandle(), &small));
    ASSERT_TRUE(GetIconInfo(AppLargeIcon->GetHandle(), &large));
    BITMAP sb{}, lb{};
    GetObjectW(small.hbmColor ? small.hbmColor : small.hbmMask, sizeof(sb), &sb);
    GetObjectW(large.hbmColor ? large.hbmColor : large.hbmMask, sizeof(lb), &lb);
    EXPECT_LT(sb.bmWidth, lb.bmWidth);
    TBitmapHandle(small.hbmColor).Reset();
    TBitmapHandle(small.hbmMask).Reset();
    TBitmapHandle(large.hbmColor).Reset();
    TBitmapHandle(large.hbmMask).Reset();
}

} // namespace
