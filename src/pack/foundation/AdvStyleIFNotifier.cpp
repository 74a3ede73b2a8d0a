// The theme notifier: the registry-watching thread, its hidden window and
// the process's one notifier.
#include "AdvStyleIF.h"

#include "Forms.h"
#include "Registry.h"

namespace {

TThemeNotifier* themeNotifier = nullptr;

const wchar_t* const WatchedKeys[] = {
    L"Software\\Microsoft\\Office\\12.0\\Common",
    L"Software\\Microsoft\\Office\\14.0\\Common",
    L"Software\\Microsoft\\Office\\15.0\\Common",
};

} // namespace

void THandleList::DeleteValue(HWND Value)
{
    const int index = IndexOf(Value);
    if (index >= 0)
        Delete(index);
}

// ---------------------------------------------------------------------------
TRegMonitorThread::TRegMonitorThread()
    : TThread(true), reg_(New<TRegistry>(KEY_READ)), winList_(New<THandleList>())
{
    // Made here rather than in Execute, so that Stop works before the thread runs.
    event_.Reset(CreateEventW(nullptr, TRUE, FALSE, L"RegMonitorChange"));
}

void TRegMonitorThread::AddWindow(HWND Wnd)
{
    std::lock_guard<std::mutex> lock(winListLock_);
    if (!winList_->HasValue(Wnd))
        winList_->Add(Wnd);
}

void TRegMonitorThread::RemoveWindow(HWND Wnd)
{
    std::lock_guard<std::mutex> lock(winListLock_);
    winList_->DeleteValue(Wnd);
}

void TRegMonitorThread::Stop()
{
    Terminate();
    if (event_)
        SetEvent(event_.Get());
}

void TRegMonitorThread::Execute()
{
    reg_->SetRootKey(rootKey_);
    if (!reg_->OpenKeyReadOnly(key_))
        throw Exception(L"Unable to open registry key " + key_);
    auto arm = [this] {
        RegNotifyChangeKeyValue(reg_->GetCurrentKey(), watchSub_, static_cast<DWORD>(GetFilter()), event_.Get(), TRUE);
    };
    arm();
    while (!Terminated()) {
        if (WaitForSingleObject(event_.Get(), INFINITE) != WAIT_OBJECT_0)
            continue;
        if (Terminated())
            break;
        const WPARAM root = reinterpret_cast<WPARAM>(rootKey_);
        const LPARAM path = reinterpret_cast<LPARAM>(key_.c_str());
        if (wnd_)
            SendMessageW(wnd_, WM_OFFICE_THEME_CHANGED, root, path);
        // The main thread may change the list meanwhile; send to a copy, outside
        // the lock, since the receivers run on that thread.
        std::vector<HWND> windows;
        {
            std::lock_guard<std::mutex> lock(winListLock_);
            for (int i = 0; i < winList_->Count(); ++i)
                windows.push_back(winList_->GetHandleItem(i));
        }
        for (HWND window : windows)
            SendMessageW(window, WM_OFFICE_THEME_CHANGED, root, path);
        ResetEvent(event_.Get());
        arm();
    }
}

// ---------------------------------------------------------------------------
void TThemeNotifierWindow::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_OFFICE_THEME_CHANGED && FOnOfficeThemeChange)
        FOnOfficeThemeChange(this);
    TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TThemeNotifier::TThemeNotifier(TComponent* AOwner) : TComponent(AOwner) {}

void TThemeNotifier::AfterConstruction()
{
    TComponent::AfterConstruction();
    TComponent* owner = GetOwner();
    if (owner && owner->ComponentState().Contains(csDesigning))
        return;
    const Byte version = GetInstalledOfficeVersion();
    if (version == 0)
        return;

    notifier_ = New<TThemeNotifierWindow>(this);
    notifier_->SetVisible(false);
    // Without a windowed owner the window still needs a parent: a message-only one.
    if (auto* parent = dynamic_cast<TWinControl*>(owner))
        notifier_->SetParent(parent);
    else
        notifier_->SetParentWindow(HWND_MESSAGE);
    notifier_->FOnOfficeThemeChange = [this](TObject*) { DoOfficeThemeChange(); };

    // The notifier frees the thread itself, so that nothing points at a
    // thread that ended on its own (a watched key that went away).
    regMonitorThread_ = New<TRegMonitorThread>();
    regMonitorThread_->SetWnd(notifier_->GetHandle());
    regMonitorThread_->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
    regMonitorThread_->SetKey(WatchedKeys[version - 1]);
    regMonitorThread_->SetRootKey(HKEY_CURRENT_USER);
    regMonitorThread_->SetWatchSub(true);
    regMonitorThread_->Start();
}

void TThemeNotifier::BeforeDestruction()
{
    if (regMonitorThread_) {
        regMonitorThread_->Stop();
        FreeAndNil(regMonitorThread_);
    }
    if (themeNotifier == this)
        themeNotifier = nullptr;
    TComponent::BeforeDestruction();
}

void TThemeNotifier::RegisterWindow(HWND Hwnd)
{
    if (regMonitorThread_)
        regMonitorThread_->AddWindow(Hwnd);
}

void TThemeNotifier::UnRegisterWindow(HWND Hwnd)
{
    if (regMonitorThread_)
        regMonitorThread_->RemoveWindow(Hwnd);
}

void TThemeNotifier::DoOfficeThemeChange()
{
    if (OnOfficeThemeChange)
        OnOfficeThemeChange(this);
}

TThemeNotifier* GetThemeNotifier(TComponent* AOwner)
{
    if (themeNotifier)
        return themeNotifier;
    TComponent* owner = AOwner;
    if (Application && Application->GetMainForm() && Application->GetMainForm()->HandleAllocated())
        owner = Application->GetMainForm();
    themeNotifier = New<TThemeNotifier>(owner);
    return themeNotifier;
}
