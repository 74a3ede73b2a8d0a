// Threads and the queue of calls for the main thread.
#include "Classes.h"
#include <condition_variable>
#include <deque>
#include <mutex>

std::function<void()> WakeMainThread;
DWORD MainThreadID = GetCurrentThreadId();

namespace {

struct TSyncCall {
    TThread* thread = nullptr;
    TThreadMethod method;
    bool waiting = false;   // a Synchronize caller waits for done
    bool done = false;
    std::exception_ptr error;
};

std::mutex& SyncLock()
{
    static std::mutex lock;
    return lock;
}

std::condition_variable& SyncDone()
{
    static std::condition_variable done;
    return done;
}

std::deque<std::shared_ptr<TSyncCall>>& SyncQueue()
{
    static std::deque<std::shared_ptr<TSyncCall>> queue;
    return queue;
}

// Signalled while calls are waiting, so the main thread can wait for them.
HANDLE SyncEvent()
{
    static HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

// Runs Method at once on the main thread (and gives null); elsewhere puts
// it into the queue, wakes the main thread and gives the queued call.
std::shared_ptr<TSyncCall> Post(TThread* thread, const TThreadMethod& method, bool waiting)
{
    if (GetCurrentThreadId() == MainThreadID) {
        method();
        return nullptr;
    }
    auto call = std::make_shared<TSyncCall>();
    call->thread = thread;
    call->method = method;
    call->waiting = waiting;
    {
        std::lock_guard<std::mutex> guard(SyncLock());
        SyncQueue().push_back(call);
        SetEvent(SyncEvent());
    }
    if (WakeMainThread)
        WakeMainThread();
    return call;
}

} // namespace

bool CheckSynchronize(int Timeout)
{
    if (GetCurrentThreadId() != MainThreadID)
        throw EThread(L"CheckSynchronize called from thread $" + IntToHex(GetCurrentThreadId(), 8) +
                      L", which is NOT the main thread");
    if (Timeout > 0)
        WaitForSingleObject(SyncEvent(), static_cast<DWORD>(Timeout));
    bool ran = false;
    for (;;) {
        std::shared_ptr<TSyncCall> call;
        {
            std::lock_guard<std::mutex> guard(SyncLock());
            auto& queue = SyncQueue();
            if (queue.empty()) {
                ResetEvent(SyncEvent());
                return ran;
            }
            call = queue.front();
            queue.pop_front();
        }
        ran = true;
        if (!call->waiting) {
            // A queued call's error belongs to the main thread's caller.
            call->method();
            continue;
        }
        try {
            call->method();
        } catch (...) {
            call->error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> guard(SyncLock());
            call->done = true;
        }
        SyncDone().notify_all();
    }
}

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended)
{
    handle_.Reset(CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &threadId_));
    if (!handle_)
        throw EThread(L"Thread creation error: " + SysErrorMessage(GetLastError()));
}

void TThread::AfterConstruction()
{
    if (!createSuspended_)
        Start();
}

void TThread::Start()
{
    if (started_.exchange(true))
        return;
    ResumeThread(handle_.Get());
}

void TThread::BeforeDestruction()
{
    // A thread that frees itself at its end must not wait for itself.
    if (GetCurrentThreadId() != threadId_ && !finished_) {
        Terminate();
        Start();
        WaitFor();
    }
    RemoveQueuedEvents(this);
}

DWORD WINAPI TThread::ThreadProc(LPVOID self)
{
    auto* thread = static_cast<TThread*>(self);
    if (!thread->terminated_) {
        try {
            thread->Execute();
        } catch (...) {
            thread->FatalException = std::current_exception();
        }
    }
    const bool freeIt = thread->freeOnTerminate_;
    DWORD result = static_cast<DWORD>(thread->ReturnValue);
    try {
        thread->DoTerminate();
    } catch (...) {
        if (!thread->FatalException)
            thread->FatalException = std::current_exception();
    }
    thread->finished_ = true;
    if (freeIt)
        thread->Free();
    return result;
}

void TThread::DoTerminate()
{
    if (OnTerminate)
        Synchronize([this] { OnTerminate(this); });
}

int TThread::WaitFor()
{
    if (GetCurrentThreadId() == threadId_)
        throw EThread(L"Cannot call WaitFor on the thread itself");
    if (GetCurrentThreadId() == MainThreadID) {
        HANDLE handles[] = {handle_.Get(), SyncEvent()};
        for (;;) {
            DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
            if (r == WAIT_OBJECT_0 || r == WAIT_FAILED)
                break;
            if (r == WAIT_OBJECT_0 + 1) {
                CheckSynchronize();
            } else {
                // Lets messages sent from other threads through.
                MSG msg;
                PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            }
        }
    } else {
        WaitForSingleObject(handle_.Get(), INFINITE);
    }
    DWORD code = 0;
    GetExitCodeThread(handle_.Get(), &code);
    return static_cast<int>(code);
}

namespace {

const int priorities[] = {THREAD_PRIORITY_IDLE,         THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                          THREAD_PRIORITY_NORMAL,       THREAD_PRIORITY_ABOVE_NORMAL,
                          THREAD_PRIORITY_HIGHEST,      THREAD_PRIORITY_TIME_CRITICAL};

} // namespace

TThreadPriority TThread::GetPriority() const
{
    int p = GetThreadPriority(handle_.Get());
    for (int i = 0; i <= tpTimeCritical; ++i)
        if (priorities[i] == p)
            return static_cast<TThreadPriority>(i);
    return tpNormal;
}

void TThread::SetPriority(TThreadPriority Value)
{
    SetThreadPriority(handle_.Get(), priorities[Value]);
}

void TThread::Synchronize(TThread* AThread, const TThreadMethod& Method)
{
    auto call = Post(AThread, Method, true);
    if (!call)
        return;
    std::unique_lock<std::mutex> lock(SyncLock());
    SyncDone().wait(lock, [&] { return call->done; });
    lock.unlock();
    if (call->error)
        std::rethrow_exception(call->error);
}

void TThread::Queue(TThread* AThread, const TThreadMethod& Method)
{
    Post(AThread, Method, false);
}

void TThread::RemoveQueuedEvents(TThread* AThread)
{
    std::lock_guard<std::mutex> guard(SyncLock());
    auto& queue = SyncQueue();
    for (auto it = queue.begin(); it != queue.end();) {
        if ((*it)->thread == AThread && !(*it)->waiting)
            it = queue.erase(it);
        else
            ++it;
    }
}
