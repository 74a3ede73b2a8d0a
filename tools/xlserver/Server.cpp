// xlserver: the spreadsheet stand-in's program.
//   xlserver /regserver     registers it as "excel.application" for this Windows (or Wine prefix)
//   xlserver /unregserver   removes that registration again
//   xlserver /automation    how COM starts it: serves one application object
#include "Objects.h"
#include "StandIn.h"
#include <shellapi.h>

namespace {

using namespace xlserver;

constexpr wchar_t Description[] = L"Tavelin spreadsheet stand-in";

void Say(const std::wstring& text)
{
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (!err || err == INVALID_HANDLE_VALUE)
        return;
    const std::wstring line = text + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, bytes.data(), n, nullptr, nullptr);
    DWORD done = 0;
    WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size() - 1), &done, nullptr);
}

std::wstring ClsidText()
{
    wchar_t text[40];
    StringFromGUID2(StandInClsid, text, 40);
    return text;
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring DefaultValue(const std::wstring& key)
{
    wchar_t value[MAX_PATH * 2]{};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return {};
    return value;
}

bool SetDefault(const std::wstring& key, const std::wstring& value)
{
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Whose the ProgID is: ours, nobody's (empty), or another server's.
std::wstring ProgIdOwner() { return DefaultValue(std::wstring(ProgId) + L"\\CLSID"); }

// Wine's COM reads classes from the machine part only (HKEY_CLASSES_ROOT), so the
// registration goes there; under Wine that is the prefix the caller runs in.
int Register()
{
    const std::wstring clsid = ClsidText();
    const std::wstring owner = ProgIdOwner();
    if (!owner.empty() && !SameText(owner, clsid)) {
        Say(std::wstring(L"\"") + ProgId + L"\" belongs to another server (" + owner +
            L"); it is left as it is.");
        return 3;
    }
    std::wstring exe(MAX_PATH, L'\0');
    exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
    const std::wstring classKey = L"CLSID\\" + clsid;
    const bool ok = SetDefault(classKey, Description) &&
                    SetDefault(classKey + L"\\LocalServer32", L"\"" + exe + L"\" /automation") &&
                    SetDefault(classKey + L"\\ProgID", ProgId) && SetDefault(ProgId, Description) &&
                    SetDefault(std::wstring(ProgId) + L"\\CLSID", clsid);
    if (!ok) {
        Say(L"The registration could not be written (is the registry writable here?).");
        return 1;
    }
    return 0;
}

int Unregister()
{
    const std::wstring clsid = ClsidText();
    if (SameText(ProgIdOwner(), clsid))
        RegDeleteTreeW(HKEY_CLASSES_ROOT, ProgId);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str());
    return SameText(ProgIdOwner(), clsid) ? 1 : 0;
}

// Serves one application, as the product does: a second CoCreateInstance starts a
// second process. The application enters the running object table (weakly, so
// that the table alone does not keep the server alive) until it quits.
class Factory : public IClassFactory {
public:
    explicit Factory(std::shared_ptr<AppState> app) : app_(std::move(app)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // The factory lives on the server's stack for the whole run.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (created_)
            return CO_E_SERVER_STOPPING;
        created_ = true;
        IDispatch* application = NewApplication(app_);
        app_->onQuit = [this] { LeaveTable(); };
        app_->onIdle = [this] {
            LeaveTable();
            PostQuitMessage(0);
        };
        RegisterActiveObject(application, StandInClsid, ACTIVEOBJECT_WEAK, &tableEntry_);
        const HRESULT hr = application->QueryInterface(riid, object);
        application->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    bool Created() const { return created_; }

    void LeaveTable()
    {
        if (tableEntry_)
            RevokeActiveObject(tableEntry_, nullptr);
        tableEntry_ = 0;
    }

private:
    std::shared_ptr<AppState> app_;
    bool created_ = false;
    DWORD tableEntry_ = 0;
};

int Serve()
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    auto app = std::make_shared<AppState>();
    Factory factory(app);
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(StandInClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE,
                                     &cookie))) {
        CoUninitialize();
        return 1;
    }
    // Started by COM but never connected to (the caller gave up): do not linger.
    const UINT_PTR timer = SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer) {
            KillTimer(nullptr, timer);
            if (app->connections == 0)
                break;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CoRevokeClassObject(cookie);
    factory.LeaveTable();
    app->onQuit = nullptr;
    app->onIdle = nullptr;
    CoUninitialize();
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    enum { None, Reg, Unreg, Automation } action = None;
    for (int i = 1; argv && i < argc; ++i) {
        const wchar_t* word = argv[i];
        if (*word == L'/' || *word == L'-')
            ++word;
        if (SameText(word, L"regserver"))
            action = Reg;
        else if (SameText(word, L"unregserver"))
            action = Unreg;
        else if (SameText(word, L"automation") || SameText(word, L"embedding"))
            action = Automation;
    }
    LocalFree(argv);
    switch (action) {
    case Reg: return Register();
    case Unreg: return Unregister();
    case Automation: return Serve();
    case None: break;
    }
    Say(L"xlserver /regserver | /unregserver: registers or removes the spreadsheet stand-in "
        L"(\"excel.application\"); COM starts it with /automation.");
    return 2;
}
