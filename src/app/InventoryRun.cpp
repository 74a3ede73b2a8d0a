#include "InventoryRun.h"
#include "ComObj.h"
#include "ScopeExit.h"
#include "UniqueHandle.h"
#include <objbase.h>
#include <atomic>
#include <mutex>
#include <utility>

// ---------------------------------------------------------------------------
// TInventoryChannel: what one run shares between its worker and the main
// thread. The worker writes into it as its target; the main thread takes the
// changes out. Once closed it drops every further change, so a worker that
// outlives Cancel (a query in flight) cannot reach the window.

class TInventoryChannel : public TInventoryTarget {
public:
    // Without the event nobody could tell when the worker is done: the run
    // does not start.
    TInventoryChannel() : finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        if (!finished_)
            RaiseLastOSError();
    }
    TInventoryChannel(const TInventoryChannel&) = delete;
    TInventoryChannel& operator=(const TInventoryChannel&) = delete;

    // The run's input, set before the worker starts and read only by it.
    std::vector<String> Names;
    TInventoryTexts Texts;
    TFormatSettings Settings;
    TLongestTexts Longest;
    std::shared_ptr<IWmiClient> Client;

    // Worker side.
    void SetCellText(int ACol, int ARow, const String& Value) override
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (!closed_)
            pending_.AddCellText(ACol, ARow, Value);
    }
    void SetColWidth(int ACol, int Value) override { Push(TInventoryChange::icColWidth, ACol, Value); }
    void SetGaugeMaximum(int Value) override { Push(TInventoryChange::icGaugeMaximum, 0, Value); }
    void SetGaugePosition(int Value) override { Push(TInventoryChange::icGaugePosition, 0, Value); }
    void SetGaugeVisible(bool Value) override
    {
        Push(TInventoryChange::icGaugeVisible, 0, Value ? 1 : 0);
    }
    void SetCancelEnabled(bool Value) override
    {
        Push(TInventoryChange::icCancelEnabled, 0, Value ? 1 : 0);
    }
    void EndRun() { Push(TInventoryChange::icRunEnded, 0, 0); }
    bool Closed() const { return closed_.load(); }
    void SignalFinished() { SetEvent(finished_.Get()); }

    // Main side. Both hand over the waiting changes for an empty batch,
    // whose room the worker fills next.
    void Take(TInventoryChanges& Into)
    {
        std::lock_guard<std::mutex> lock(lock_);
        std::swap(pending_, Into);
    }
    // Closes the channel and hands back what was still waiting.
    void Close(TInventoryChanges& Rest)
    {
        std::lock_guard<std::mutex> lock(lock_);
        closed_ = true;
        std::swap(pending_, Rest);
    }
    bool WaitFinished(DWORD timeout) const
    {
        return WaitForSingleObject(finished_.Get(), timeout) == WAIT_OBJECT_0;
    }

private:
    void Push(TInventoryChange::TKind kind, int col, int value)
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (!closed_)
            pending_.Add(kind, col, 0, value);
    }

    std::mutex lock_;
    TInventoryChanges pending_;
    std::atomic<bool> closed_{false};
    TKernelHandle finished_;
};

// ---------------------------------------------------------------------------
// TMainThread

namespace {

int Progress(int done, int count)
{
    return static_cast<int>(Round(static_cast<double>(done) / count * 100));
}

} // namespace

TMainThread::TMainThread(std::shared_ptr<TInventoryChannel> Channel)
    : TThread(false), channel_(std::move(Channel))
{
    SetFreeOnTerminate(true);
}

void TMainThread::Execute()
{
    TInventoryChannel& run = *channel_;
    TScopeExit signal([&run] { run.SignalFinished(); });

    const int count = static_cast<int>(run.Names.size());
    const auto stopped = [&run] { return run.Closed(); };
    for (int row = 1; row <= count && !run.Closed(); ++row) {
        // COM for one computer, undone on every way out, failures included.
        TComInitializer com(COINIT_MULTITHREADED);
        run.SetGaugeMaximum(100);
        const String& name = run.Names[static_cast<std::size_t>(row - 1)];
        TComputerInventory computer(run, row, run.Texts, run.Longest, run.Settings);
        computer.WriteName(name);
        try {
            // The connection goes before COM does.
            std::unique_ptr<IWmiConnection> connection = run.Client->Connect(name);
            computer.Run(*connection, name, stopped);
        } catch (...) {
            if (run.Closed())
                break;
            computer.WriteFailure();
        }
        run.SetGaugePosition(Progress(row, count));
    }
    if (!run.Closed()) {
        run.SetCancelEnabled(false);
        run.SetGaugeVisible(false);
        run.EndRun();
    }
}

// ---------------------------------------------------------------------------
// TInventoryRun

namespace {

const wchar_t DrainClassName[] = L"TInventoryRunDrain";

} // namespace

TInventoryRun::TInventoryRun(TInventoryTarget& Target, std::shared_ptr<IWmiClient> Client)
    : target_(Target), client_(std::move(Client))
{
    static const ATOM drainClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DrainProc;
        wc.hInstance = HInstance();
        wc.lpszClassName = DrainClassName;
        return RegisterClassW(&wc);
    }();
    drainWindow_ = CreateWindowExW(0, MAKEINTATOM(drainClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                   nullptr, HInstance(), nullptr);
    if (!drainWindow_)
        throw EOutOfResources(L"Cannot create the inventory run's window: " +
                              SysErrorMessage(GetLastError()));
    SetWindowLongPtrW(drainWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TInventoryRun::~TInventoryRun()
{
    Close();
    DestroyWindow(drainWindow_);
}

LRESULT CALLBACK TInventoryRun::DrainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        auto* run = reinterpret_cast<TInventoryRun*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        try {
            if (run)
                run->ApplyChanges();
        } catch (...) {
            // A target that fails must not take the message loop down with it.
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

bool TInventoryRun::Start(std::vector<String> Names, const TInventoryTexts& Texts)
{
    if (Running())
        return false;
    auto channel = std::make_shared<TInventoryChannel>();
    channel->Names = std::move(Names);
    channel->Texts = Texts;
    channel->Settings = FormatSettings;
    channel->Client = client_;

    New<TMainThread>(channel);
    channel_ = channel;
    lastWorker_ = channel;
    currentRow_ = 1;
    SetTimer(drainWindow_, 1, ApplyInterval, nullptr);
    return true;
}

void TInventoryRun::ApplyChanges()
{
    // A target that pumps messages may bring us back here; the outer call
    // goes on with the queue, which keeps the order.
    if (applying_)
        return;
    applying_ = true;
    TScopeExit reset([this] { applying_ = false; });

    for (;;) {
        if (next_ == taken_.Changes.size()) {
            if (!channel_)
                break;
            taken_.Clear();
            next_ = 0;
            channel_->Take(taken_);
            if (taken_.Changes.empty())
                break;
        }
        ApplyNext();
    }
}

void TInventoryRun::Cancel()
{
    if (!channel_)
        return;
    TInventoryChanges rest;
    channel_->Close(rest);
    Ended();
    while (ApplyNext()) {
    }
    taken_ = std::move(rest);
    next_ = 0;
    while (ApplyNext()) {
    }
    target_.SetGaugePosition(100);
    target_.SetCancelEnabled(false);
}

bool TInventoryRun::WaitForWorker(DWORD Timeout) const
{
    return !lastWorker_ || lastWorker_->WaitFinished(Timeout);
}

namespace {

// What the exception being handled says.
String FailureText()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return UTF8ToString(e.what());
    } catch (...) {
        return L"Unknown error";
    }
}

} // namespace

// Applies the next taken change, if any. The change is copied out first: a
// target that pumps messages may come back for the next one, or Cancel.
// A change the window refuses stops nothing: its row shows why in column 1,
// where a computer that failed shows its failure.
bool TInventoryRun::ApplyNext()
{
    if (next_ == taken_.Changes.size())
        return false;
    const TInventoryChange change = taken_.Changes[next_++];
    if (change.Kind == TInventoryChange::icCellText)
        currentRow_ = change.Row;
    try {
        Apply(change);
    } catch (...) {
        const String failure = FailureText();
        try {
            target_.SetCellText(FailureColumn, currentRow_, failure);
        } catch (...) {
            // A window that takes no text at all has nowhere to show it.
        }
    }
    return true;
}

void TInventoryRun::Apply(const TInventoryChange& change)
{
    switch (change.Kind) {
    case TInventoryChange::icCellText:
        target_.SetCellText(change.Col, change.Row, taken_.Text(change));
        break;
    case TInventoryChange::icColWidth:
        target_.SetColWidth(change.Col, change.Value);
        break;
    case TInventoryChange::icGaugeMaximum:
        target_.SetGaugeMaximum(change.Value);
        break;
    case TInventoryChange::icGaugePosition:
        target_.SetGaugePosition(change.Value);
        break;
    case TInventoryChange::icGaugeVisible:
        target_.SetGaugeVisible(change.Value != 0);
        break;
    case TInventoryChange::icCancelEnabled:
        target_.SetCancelEnabled(change.Value != 0);
        break;
    case TInventoryChange::icRunEnded:
        Ended();
        break;
    }
}

void TInventoryRun::Ended()
{
    channel_ = nullptr;
    KillTimer(drainWindow_, 1);
}

void TInventoryRun::Close()
{
    if (channel_) {
        TInventoryChanges dropped;
        channel_->Close(dropped);
    }
    Ended();
    taken_.Clear();
    next_ = 0;
}
