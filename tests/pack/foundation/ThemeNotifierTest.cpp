// The theme notifier with real registry change notifications in the
// project's Wine prefix and real windows receiving its message.
#include <gtest/gtest.h>

#include "AdvStyleIF.h"
#include "Registry.h"
#include "TestSupport.h"

namespace {

// A message-only window that counts the notifier's messages.
class TRecorder : public TWinControl {
public:
    explicit TRecorder(TComponent* AOwner) : TWinControl(AOwner) { SetParentWindow(HWND_MESSAGE); }
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == WM_OFFICE_THEME_CHANGED) {
            ++Received;
            RootKey = reinterpret_cast<HKEY>(Message.WParam);
            Path = reinterpret_cast<const wchar_t*>(Message.LParam);
        }
        TWinControl::Dispatch(Message);
    }
    int Received = 0;
    HKEY RootKey = nullptr;
    String Path;
};

// Lets messages sent from other threads in until Done or the time is up.
template <class Done>
bool WaitFor(Done done, DWORD milliseconds = 5000)
{
    const DWORD until = GetTickCount() + milliseconds;
    while (!done() && GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        testing_support::PumpMessages();
    }
    return done();
}

class ThemeNotifierTest : public testing::Test {
protected:
    void SetUp() override
    {
        reg_.reset(New<TRegistry>());
        reg_->SetRootKey(HKEY_CURRENT_USER);
        if (reg_->KeyExists(L"Software\\Microsoft\\Office"))
            GTEST_SKIP() << "an Office key exists already; it is left alone";
        created_ = true;
        owner_.reset(New<TRecorder>(nullptr));
        owner_->HandleNeeded();
    }
    void TearDown() override
    {
        owner_.reset();
        if (created_)
            reg_->DeleteKey(L"\\Software\\Microsoft\\Office");
    }
    void WriteTheme(Integer value)
    {
        ASSERT_TRUE(reg_->OpenKey(L"\\Software\\Microsoft\\Office\\15.0\\Common", true));
        reg_->WriteInteger(L"UI Theme", value);
        reg_->CloseKey();
    }

    TOwned<TRegistry> reg_;
    TOwned<TRecorder> owner_;
    bool created_ = false;
};

TEST_F(ThemeNotifierTest, WithoutOfficeNothingWatches)
{
    TOwned<TThemeNotifier> notifier(New<TThemeNotifier>(owner_.get()));
    EXPECT_EQ(notifier->RegMonitorThread(), nullptr);
    EXPECT_EQ(notifier->Notifier(), nullptr);
    EXPECT_NO_THROW(notifier->RegisterWindow(owner_->Handle()));
    EXPECT_NO_THROW(notifier->UnRegisterWindow(owner_->Handle()));
}

TEST_F(ThemeNotifierTest, AnOwnerWithoutAWindowGetsAMessageOnlyNotifier)
{
    ASSERT_TRUE(reg_->CreateKey(L"\\Software\\Microsoft\\Office\\12.0\\Common\\General"));
    TOwned<TComponent> plain(New<TComponent>(nullptr));
    TOwned<TThemeNotifier> notifier(New<TThemeNotifier>(plain.get()));
    ASSERT_NE(notifier->Notifier(), nullptr);
    EXPECT_NE(notifier->Notifier()->Handle(), nullptr);
    EXPECT_EQ(notifier->RegMonitorThread()->GetKey(), L"Software\\Microsoft\\Office\\12.0\\Common");
}

TEST_F(ThemeNotifierTest, ChangesReachTheNotifierAndRegisteredWindows)
{
    ASSERT_TRUE(reg_->CreateKey(L"\\Software\\Microsoft\\Office\\15.0\\Common\\General"));
    TOwned<TThemeNotifier> notifier(New<TThemeNotifier>(owner_.get()));
    TRegMonitorThread* thread = notifier->RegMonitorThread();
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->GetKey(), L"Software\\Microsoft\\Office\\15.0\\Common");
    EXPECT_EQ(thread->GetFilter(), REG_NOTIFY_CHANGE_LAST_SET);
    EXPECT_TRUE(thread->GetWatchSub());
    EXPECT_EQ(GetParent(notifier->Notifier()->Handle()), owner_->Handle());
    EXPECT_FALSE(IsWindowVisible(notifier->Notifier()->Handle()));

    int events = 0;
    notifier->OnOfficeThemeChange = [&events, expected = notifier.get()](TObject* sender) {
        EXPECT_EQ(sender, expected);
        ++events;
    };
    TOwned<TRecorder> listener(New<TRecorder>(nullptr));
    notifier->RegisterWindow(listener->Handle());
    notifier->RegisterWindow(listener->Handle());
    EXPECT_EQ(thread->GetWinList()->Count(), 1);

    // The thread arms its watch once it runs, so write until a change
    // arrives; then let the messages still on their way in.
    Integer theme = 0;
    auto changeUntil = [&](auto arrived) {
        const bool ok = WaitFor([&] {
            WriteTheme(++theme);
            return arrived();
        });
        WaitFor([] { return false; }, 300);
        return ok;
    };
    ASSERT_TRUE(changeUntil([&] { return listener->Received > 0; }));
    EXPECT_EQ(listener->Received, events);
    EXPECT_EQ(listener->RootKey, HKEY_CURRENT_USER);
    EXPECT_EQ(listener->Path, L"Software\\Microsoft\\Office\\15.0\\Common");

    notifier->UnRegisterWindow(listener->Handle());
    const int heard = listener->Received;
    const int before = events;
    ASSERT_TRUE(changeUntil([&] { return events > before; }));
    EXPECT_EQ(listener->Received, heard);
    notifier.reset(); // stops the watch and lets the thread go
}

TEST_F(ThemeNotifierTest, TheProcessHasOneNotifier)
{
    TThemeNotifier* first = GetThemeNotifier(owner_.get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetOwner(), owner_.get());
    TOwned<TRecorder> other(New<TRecorder>(nullptr));
    EXPECT_EQ(GetThemeNotifier(other.get()), first);
    first->Free();
    TThemeNotifier* second = GetThemeNotifier(other.get());
    EXPECT_EQ(second->GetOwner(), other.get());
    second->Free();
}

TEST(RegMonitorThread, FilterDefaultsAndAKeyThatCannotBeOpened)
{
    TOwned<TRegMonitorThread> thread(New<TRegMonitorThread>());
    EXPECT_EQ(thread->GetFilter(), 15);
    thread->SetFilter(4);
    EXPECT_EQ(thread->GetFilter(), 4);
    thread->SetKey(L"Software\\Tavelin\\No such key");
    thread->Start();
    thread->WaitFor();
    ASSERT_TRUE(thread->FatalException);
    try {
        std::rethrow_exception(thread->FatalException);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Unable to open registry key Software\\Tavelin\\No such key");
    }

    // Stopped before it runs, it ends without waiting for a change.
    TOwned<TRegMonitorThread> stopped(New<TRegMonitorThread>());
    stopped->SetKey(L"Software");
    stopped->Stop();
    stopped->Start();
    EXPECT_EQ(stopped->WaitFor(), 0);
}

TEST(HandleList, KeepsWindowHandles)
{
    TOwned<THandleList> list(New<THandleList>());
    HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20);
    list->Add(a);
    list->Add(b);
    list->Insert(0, b);
    EXPECT_TRUE(list->HasValue(a));
    list->DeleteValue(b);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ(list->GetHandleItem(0), a);
    EXPECT_EQ(list->GetHandleItem(1), b);
    list->DeleteValue(reinterpret_cast<HWND>(0x30));
    EXPECT_EQ(list->Count(), 2);
    list->Delete(0);
    EXPECT_FALSE(list->HasValue(a));
}

} // namespace
