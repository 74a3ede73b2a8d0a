// The change thread against Wine's directory change notifications: changes
// reach the main thread, new options take effect after a wake-up, an idle
// worker costs no processor time, and destruction ends the worker even
// while it waits on the main thread.
#include <gtest/gtest.h>
#include <windows.h>
#include "Classes.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "acShellCtrls.h"

using testing_support::TempDir;

namespace {

constexpr DWORD fileNames = FILE_NOTIFY_CHANGE_FILE_NAME;

struct TRecorder {
    int calls = 0;
    DWORD thread = 0;
};

// Creates new files in Folder until the recorder has seen a call (each file
// is a change; the first may come before the worker watches). Waiting on a
// separate program is no timing check: the limit only keeps a broken build
// from hanging.
bool CreateFilesUntilCalled(const String& Folder, const TRecorder& Recorder)
{
    static int serial = 0;
    for (int i = 0; i < 400 && Recorder.calls == 0; ++i) {
        if (i % 4 == 0)
            testing_support::WriteBytes(Folder + L"\\new" + IntToStr(++serial) + L".txt", "x");
        CheckSynchronize(50);
    }
    return Recorder.calls > 0;
}

ULONGLONG ThreadCpuTime(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

TacShellChangeThread* NewWatcher(TRecorder& recorder)
{
    return New<TacShellChangeThread>([&recorder] {
        ++recorder.calls;
        recorder.thread = GetCurrentThreadId();
    });
}

} // namespace

TEST(ShellChangeThread, AFileCreatedCallsChangeEventOnTheMainThread)
{
    TempDir dir;
    TRecorder recorder;
    TOwned<TacShellChangeThread> watcher(NewWatcher(recorder));
    EXPECT_NE(std::find(ShellChangeThreads.begin(), ShellChangeThreads.end(), watcher.get()),
              ShellChangeThreads.end());
    watcher->SetDirectoryOptions(dir.Path(), false, fileNames);
    watcher->Start();
    ASSERT_TRUE(CreateFilesUntilCalled(dir.Path(), recorder));
    EXPECT_EQ(recorder.thread, GetCurrentThreadId());
    TacShellChangeThread* const address = watcher.get();
    watcher.reset();
    EXPECT_EQ(std::find(ShellChangeThreads.begin(), ShellChangeThreads.end(), address), ShellChangeThreads.end());
}

TEST(ShellChangeThread, NewOptionsTakeEffectAfterAWakeUp)
{
    TempDir first, second;
    TRecorder recorder;
    TOwned<TacShellChangeThread> watcher(NewWatcher(recorder));
    watcher->SetDirectoryOptions(first.Path(), false, fileNames);
    watcher->Start();
    ASSERT_TRUE(CreateFilesUntilCalled(first.Path(), recorder));
    // Changes inside a sub-folder would need the sub-tree flag, which
    // Wine's notifications do not honour: the new folder is watched itself.
    watcher->SetDirectoryOptions(second.Path(), true, fileNames);
    recorder.calls = 0;
    EXPECT_TRUE(CreateFilesUntilCalled(second.Path(), recorder));
    watcher.reset();
    CheckSynchronize(0);
}

TEST(ShellChangeThread, AnIdleWorkerUsesNoProcessorTime)
{
    TempDir dir;
    TRecorder recorder;
    TOwned<TacShellChangeThread> watcher(NewWatcher(recorder));
    watcher->SetDirectoryOptions(dir.Path(), false, fileNames);
    watcher->Start();
    // Woken once with the same options: it must go back to waiting.
    watcher->SetDirectoryOptions(dir.Path(), false, fileNames);
    Sleep(100);
    const ULONGLONG before = ThreadCpuTime(watcher->GetHandle());
    Sleep(1000);
    const ULONGLONG used = ThreadCpuTime(watcher->GetHandle()) - before;
    // In 100 ns units: well under a tenth of the second it stood idle.
    EXPECT_LT(used, 1000000u);
    EXPECT_FALSE(watcher->GetFinished());
}

TEST(ShellChangeThread, DestroyEndsTheWorkerAlsoDuringAPendingSynchronize)
{
    TempDir dir;
    TRecorder recorder;
    TOwned<TacShellChangeThread> watcher(NewWatcher(recorder));
    watcher->SetDirectoryOptions(dir.Path(), false, fileNames);
    watcher->Start();
    // Changes while the main thread does not run queued calls: the worker
    // ends up waiting in Synchronize.
    for (int i = 0; i < 10; ++i) {
        testing_support::WriteBytes(dir.File(L"pending" + IntToStr(i) + L".txt"), "x");
        Sleep(50);
    }
    watcher.reset();
    // The event of a thread being destroyed does not run.
    EXPECT_EQ(recorder.calls, 0);

    // A thread never started is freed as well.
    TOwned<TacShellChangeThread> idle(NewWatcher(recorder));
    idle.reset();
}
