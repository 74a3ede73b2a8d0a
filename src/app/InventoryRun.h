// The inventory run: one worker thread visits the listed computers one after
// the other and hands every change for the main window to the main thread.
//
// How the main window uses it:
//  - It implements TInventoryTarget over its controls (table cells, column
//    widths, the gauge, the "Cancel" button) and owns one TInventoryRun,
//    created and used on the main thread.
//  - "Start inventory": ignore the command while Running(); otherwise do the
//    window's own steps (empty list message, clear the table, enable Cancel,
//    show the gauge at 0, set the row count), then Start with a copy of the
//    list and the language texts.
//  - "Cancel": Cancel. Closing the window: destroy the run (or Cancel) before
//    the controls go; nothing of the run reaches the target afterwards.
//  - The changes reach the target through the main thread's message loop
//    (any loop, modal ones included): while a run goes on, a timer of the
//    run's own hidden window applies what the worker has made since the last
//    tick. Waking the main thread for each change would cost the worker more
//    than its own work.
#pragma once

#include "Classes.h"
#include "WmiQueries.h"
#include <functional>
#include <memory>
#include <vector>

class TInventoryChannel;

// A change for the main window, as the worker made it.
struct TInventoryChange {
    enum TKind {
        icCellText, icColWidth, icGaugeMaximum, icGaugePosition, icGaugeVisible,
        icCancelEnabled, icRunEnded
    };
    TKind Kind = icCellText;
    int Col = 0;
    int Row = 0;
    int Value = 0;
    // A cell's text, in the texts of the changes it belongs to.
    std::size_t TextStart = 0;
    std::size_t TextLength = 0;
};

// Changes in the worker's order. Their texts share one buffer, and a batch
// handed back empty keeps its room: a change costs no allocation of its own.
struct TInventoryChanges {
    std::vector<TInventoryChange> Changes;
    String Texts;

    void Add(TInventoryChange::TKind Kind, int Col, int Row, int Value)
    {
        Changes.push_back({Kind, Col, Row, Value, 0, 0});
    }
    void AddCellText(int Col, int Row, const String& Text)
    {
        Changes.push_back({TInventoryChange::icCellText, Col, Row, 0, Texts.size(), Text.size()});
        Texts += Text;
    }
    String Text(const TInventoryChange& Change) const
    {
        return Texts.substr(Change.TextStart, Change.TextLength);
    }
    void Clear()
    {
        Changes.clear();
        Texts.clear();
    }
};

// The worker of one run. It frees itself when it ends, so a worker that a
// query in flight keeps alive after Cancel needs nobody to wait for it. Its
// body visits each listed name: COM for the thread, the name into column 0,
// the query series, the failure text and the progress; at the end Cancel
// disabled and the gauge hidden. It writes only to its channel.
class TMainThread : public TThread {
public:
    explicit TMainThread(std::shared_ptr<TInventoryChannel> Channel);

protected:
    void Execute() override;

private:
    std::shared_ptr<TInventoryChannel> channel_;
};

class TInventoryRun {
public:
    TInventoryRun(TInventoryTarget& Target, std::shared_ptr<IWmiClient> Client);
    // Closes a running run without touching the target.
    ~TInventoryRun();
    TInventoryRun(const TInventoryRun&) = delete;
    TInventoryRun& operator=(const TInventoryRun&) = delete;

    // Starts a worker over a copy of the names (row r is name r-1), with the
    // longest-text counters reset; the texts and the current FormatSettings
    // are copied too. Returns false, doing nothing, while a run is going on.
    bool Start(std::vector<String> Names, const TInventoryTexts& Texts);
    // True from Start until the run's last change has been applied or Cancel.
    bool Running() const { return channel_ != nullptr; }

    // Applies the waiting changes to the target in the worker's order. Main
    // thread only.
    void ApplyChanges();

    // Ends the run at once: the changes already made are applied, then the
    // gauge shows 100 and stays visible and Cancel is disabled. A query in
    // flight may finish in the background; nothing of this run reaches the
    // target after Cancel returns. Does nothing when no run is going on.
    void Cancel();

    // Waits until the worker of the latest run has ended (also after Cancel);
    // false on time-out.
    bool WaitForWorker(DWORD Timeout) const;

    // How often a running run applies its changes, in milliseconds.
    static constexpr UINT ApplyInterval = 15;

private:
    static LRESULT CALLBACK DrainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool ApplyNext();
    void Apply(const TInventoryChange& change);
    void Ended();
    void Close();

    TInventoryTarget& target_;
    HWND drainWindow_ = nullptr;
    std::shared_ptr<IWmiClient> client_;
    std::shared_ptr<TInventoryChannel> channel_;     // of the run going on
    std::shared_ptr<TInventoryChannel> lastWorker_;  // of the latest worker
    TInventoryChanges taken_;  // taken from the channel, applied up to next_
    std::size_t next_ = 0;
    bool applying_ = false;
    // The row of the latest cell change: a change that fails shows there.
    int currentRow_ = 1;
    static constexpr int FailureColumn = 1;
};
