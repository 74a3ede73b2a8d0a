// Threads: start, stop and wait; calls handed to the main thread.
#include <gtest/gtest.h>
#include "Classes.h"
#include <atomic>
#include <vector>

namespace {

// A thread whose body is a function, for the cases below.
class TTestThread : public TThread {
public:
    TTestThread(std::function<void(TTestThread&)> body, bool suspended = false)
        : TThread(suspended), body_(std::move(body))
    {
    }
    ~TTestThread() override
    {
        if (destroyed)
            *destroyed = true;
    }
    using TThread::Terminated;
    void SetReturn(int v) { ReturnValue = v; }
    std::atomic<bool>* destroyed = nullptr;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TTestThread&)> body_;
};

// Pumps the main thread's queue until done() or about five seconds.
template <class F>
bool ServeUntil(F done)
{
    for (int i = 0; i < 500 && !done(); ++i)
        CheckSynchronize(10);
    return done();
}

class WakeCounter {
public:
    WakeCounter()
    {
        WakeMainThread = [this] { ++wakes; };
    }
    ~WakeCounter() { WakeMainThread = nullptr; }
    std::atomic<int> wakes{0};
};

} // namespace

TEST(Thread, RunsTerminatesAndReportsItsResult)
{
    std::atomic<int> loops{0};
    TOwned<TTestThread> t(New<TTestThread>([&](TTestThread& self) {
        while (!self.Terminated()) {
            ++loops;
            Sleep(1);
        }
        self.SetReturn(42);
    }));
    EXPECT_FALSE(t->GetSuspended());
    while (loops < 3)
        Sleep(1);
    EXPECT_FALSE(t->GetFinished());
    t->Terminate();
    EXPECT_EQ(t->WaitFor(), 42);
    EXPECT_TRUE(t->GetFinished());
}

TEST(Thread, SuspendedThreadWaitsForStartAndKeepsItsPriority)
{
    std::atomic<DWORD> ranOn{0};
    TOwned<TTestThread> t(New<TTestThread>([&](TTestThread&) { ranOn = GetCurrentThreadId(); }, true));
    EXPECT_TRUE(t->GetSuspended());
    t->SetPriority(tpLower);
    EXPECT_EQ(t->GetPriority(), tpLower);
    Sleep(20);
    EXPECT_EQ(ranOn, 0u) << "nothing runs before Start";
    t->Start();
    t->WaitFor();
    EXPECT_EQ(ranOn, t->GetThreadID());
    EXPECT_NE(ranOn, GetCurrentThreadId());
}

TEST(Thread, SynchronizeRunsOnTheMainThreadAndHandsBackErrors)
{
    WakeCounter counter;
    std::atomic<DWORD> syncThread{0};
    std::atomic<bool> errorSeen{false};
    TOwned<TTestThread> t(New<TTestThread>([&](TTestThread& self) {
        self.Synchronize([&] { syncThread = GetCurrentThreadId(); });
        try {
            self.Synchronize([] { throw EConvertError(L"bad value"); });
        } catch (const EConvertError& e) {
            errorSeen = e.Message() == L"bad value";
        }
    }));
    EXPECT_TRUE(ServeUntil([&] { return t->GetFinished(); }));
    EXPECT_EQ(syncThread, GetCurrentThreadId());
    EXPECT_TRUE(errorSeen);
    EXPECT_GE(counter.wakes, 2) << "every call wakes the main thread";
    EXPECT_FALSE(t->FatalException);
}

TEST(Thread, QueuedCallsRunInOrderWithoutHoldingTheThread)
{
    WakeCounter counter;
    std::vector<int> order;
    TOwned<TTestThread> t(New<TTestThread>([&](TTestThread& self) {
        for (int i = 0; i < 5; ++i)
            self.Queue([&order, i] { order.push_back(i); });
    }));
    while (!t->GetFinished())
        Sleep(1);
    EXPECT_TRUE(order.empty()) << "queued calls wait for the main thread";
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_FALSE(CheckSynchronize()) << "nothing left";

    // Calls of a thread that is freed before they run are dropped.
    std::atomic<bool> ran{false};
    auto* dropped = New<TTestThread>([&](TTestThread& self) { self.Queue([&] { ran = true; }); });
    while (counter.wakes < 6)
        Sleep(1);
    dropped->Free();
    CheckSynchronize();
    EXPECT_FALSE(ran);
}

TEST(Thread, FreeingARunningThreadStopsItEvenInsideSynchronize)
{
    std::atomic<bool> inLoop{false};
    std::atomic<bool> synced{false};
    auto* t = New<TTestThread>([&](TTestThread& self) {
        inLoop = true;
        while (!self.Terminated())
            Sleep(1);
        // Freeing waits on the main thread; this call must still get through.
        self.Synchronize([&] { synced = true; });
    });
    while (!inLoop)
        Sleep(1);
    t->Free();
    EXPECT_TRUE(synced);

    // Never started: freeing it ends it without running its body.
    std::atomic<bool> ran{false};
    New<TTestThread>([&](TTestThread&) { ran = true; }, true)->Free();
    EXPECT_FALSE(ran);
}

TEST(Thread, FreeOnTerminateAndOnTerminateOnTheMainThread)
{
    std::atomic<bool> destroyed{false};
    DWORD terminateThread = 0;
    auto* t = New<TTestThread>([](TTestThread&) {}, true);
    t->destroyed = &destroyed;
    t->SetFreeOnTerminate(true);
    t->OnTerminate = [&](TObject* sender) {
        terminateThread = GetCurrentThreadId();
        EXPECT_EQ(sender, t);
    };
    t->Start();
    EXPECT_TRUE(ServeUntil([&] { return destroyed.load(); }));
    EXPECT_EQ(terminateThread, GetCurrentThreadId());
}

TEST(Thread, ErrorsEscapingExecuteAreKept)
{
    TOwned<TTestThread> t(New<TTestThread>([](TTestThread&) { throw EListError(L"lost"); }));
    t->WaitFor();
    ASSERT_TRUE(t->FatalException);
    EXPECT_THROW(std::rethrow_exception(t->FatalException), EListError);
}

TEST(Thread, WakeHookCanPostToAMessageLoop)
{
    // What the application does: the hook posts a message, the loop drains the queue.
    const UINT wakeMessage = WM_APP + 7;
    const DWORD mainId = GetCurrentThreadId();
    WakeMainThread = [=] { PostThreadMessageW(mainId, wakeMessage, 0, 0); };
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);   // the thread's queue exists
    int value = 0;
    TOwned<TTestThread> t(New<TTestThread>([&](TTestThread& self) { self.Synchronize([&] { value = 5; }); }));
    bool woke = false;
    for (int i = 0; i < 500 && !woke; ++i) {
        if (PeekMessageW(&msg, nullptr, wakeMessage, wakeMessage, PM_REMOVE))
            woke = CheckSynchronize();
        else
            Sleep(10);
    }
    WakeMainThread = nullptr;
    EXPECT_TRUE(woke);
    EXPECT_EQ(value, 5);
    t->WaitFor();
}

TEST(Thread, OnlyTheMainThreadServesTheQueue)
{
    std::atomic<bool> refused{false};
    TOwned<TTestThread> t(New<TTestThread>([&](TTestThread&) {
        try {
            CheckSynchronize();
        } catch (const EThread&) {
            refused = true;
        }
    }));
    t->WaitFor();
    EXPECT_TRUE(refused);
}
