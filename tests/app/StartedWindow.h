// The main window as the program starts it, in a program folder the test
// chose, and files written there byte for byte.
#pragma once

#include <gtest/gtest.h>
#include "TestSupport.h"
#include "Unit1.h"

using testing_support::WriteBytes;

// A press and release of the left button at a point of the control's client
// area; Click presses its middle.
inline void ClickAt(TWinControl* Control, int X, int Y)
{
    const LPARAM at = MAKELPARAM(X, Y);
    SendMessageW(Control->Handle(), WM_MOUSEMOVE, 0, at);
    SendMessageW(Control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(Control->Handle(), WM_LBUTTONUP, 0, at);
    testing_support::PumpMessages();
}

inline void Click(TWinControl* Control)
{
    ClickAt(Control, Control->GetWidth() / 2, Control->GetHeight() / 2);
}

// Runs the message loop until Done holds; false after the time-out.
inline bool PumpUntil(const std::function<bool()>& Done, DWORD Timeout = 30000)
{
    const DWORD start = GetTickCount();
    while (!Done()) {
        if (GetTickCount() - start > Timeout)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        testing_support::PumpMessages();
    }
    return true;
}

// Runs the inventory of List through Client from the window's own button,
// until the run and its worker have ended.
inline void RunInventory(TForm1* Form, std::shared_ptr<IWmiClient> Client, const String& List)
{
    Form->WmiClient = std::move(Client);
    Form->Memo2->SetText(List);
    Click(Form->BtnHDD);
    ASSERT_TRUE(PumpUntil([Form] { return !Form->BtnStop->GetEnabled(); }));
    ASSERT_TRUE(Form->InventoryRun()->WaitForWorker(10000));
}

// Presses OK on every message box of this thread while it lives and notes
// its text, so that a box nobody expected fails the test instead of waiting
// for a person. File dialogs are boxes of the same class: arm it once they
// are gone.
class TAnsweredBoxes {
public:
    TAnsweredBoxes() : timer_(SetTimer(nullptr, 0, 50, Tick)) { current_ = this; }
    ~TAnsweredBoxes()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    TAnsweredBoxes(const TAnsweredBoxes&) = delete;
    TAnsweredBoxes& operator=(const TAnsweredBoxes&) = delete;
    std::vector<String> Texts;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND box = FindWindowW(L"#32770", nullptr);
        if (!current_ || !box || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId())
            return;
        current_->Texts.push_back(testing_support::MessageBoxText(box));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    static inline TAnsweredBoxes* current_ = nullptr;
    UINT_PTR timer_;
};

// The window created, shown and activated.
class TStartedWindow {
public:
    explicit TStartedWindow(const String& Folder) : form_(New<TForm1>(nullptr, Folder))
    {
        form_->Show();
        SetForegroundWindow(form_->Handle());
        testing_support::PumpMessages();
    }
    ~TStartedWindow() { form_->Free(); }
    TStartedWindow(const TStartedWindow&) = delete;
    TStartedWindow& operator=(const TStartedWindow&) = delete;

    TForm1* operator->() const { return form_; }
    TForm1* Form() const { return form_; }
    void Close()
    {
        form_->Close();
        testing_support::PumpMessages();
    }

private:
    TForm1* form_;
};
