#include "ServerMain.h"
#include <shellapi.h>
#include <string>

namespace xlserver {

namespace {

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

std::wstring ClsidText(const CLSID& clsid)
{
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return text;
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring ValueOf(const std::wstring& key, const wchar_t* name = nullptr)
{
    wchar_t value[MAX_PATH * 2]{};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

bool SetValue(const std::wstring& key, const std::wstring& value, const wchar_t* name = nullptr)
{
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Whose the ProgID is: ours, nobody's (empty), or another server's.
std::wstring ProgIdOwner(const ServedClass& served) { return ValueOf(std::wstring(served.progId) + L"\\CLSID"); }

// Wine's COM reads classes from the machine part only (HKEY_CLASSES_ROOT), so the
// registration goes there; under Wine that is the prefix the caller runs in.
int Register(const ServerProgram& program)
{
    std::wstring exe(MAX_PATH, L'\0');
    exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
    for (std::size_t n = 0; n < program.classes.size(); ++n) {
        const ServedClass& served = program.classes[n];
        const std::wstring clsid = ClsidText(served.clsid);
        const std::wstring classKey = L"CLSID\\" + clsid;
        const std::wstring owner = ProgIdOwner(served);
        const bool foreign = !owner.empty() && !SameText(owner, clsid);
        if (foreign && !program.mayReplace) {
            Say(std::wstring(L"\"") + served.progId + L"\" belongs to another server (" + owner +
                L"); it is left as it is.");
            return 3;
        }
        bool ok = SetValue(classKey, served.description) &&
                  SetValue(classKey + L"\\LocalServer32", L"\"" + exe + L"\" /automation " + std::to_wstring(n)) &&
                  SetValue(classKey + L"\\ProgID", served.progId);
        // The owner it replaces is kept with our class, to be given back.
        if (ok && foreign)
            ok = SetValue(classKey, owner, L"Replaced");
        if (ok && owner.empty())
            ok = SetValue(served.progId, served.description);
        ok = ok && SetValue(std::wstring(served.progId) + L"\\CLSID", clsid);
        if (!ok) {
            Say(L"The registration could not be written (is the registry writable here?).");
            return 1;
        }
    }
    return 0;
}

int Unregister(const ServerProgram& program)
{
    int result = 0;
    for (const ServedClass& served : program.classes) {
        const std::wstring clsid = ClsidText(served.clsid);
        const std::wstring classKey = L"CLSID\\" + clsid;
        if (SameText(ProgIdOwner(served), clsid)) {
            const std::wstring replaced = ValueOf(classKey, L"Replaced");
            if (!replaced.empty())
                SetValue(std::wstring(served.progId) + L"\\CLSID", replaced);
            else
                RegDeleteTreeW(HKEY_CLASSES_ROOT, served.progId);
        }
        RegDeleteTreeW(HKEY_CLASSES_ROOT, classKey.c_str());
        if (SameText(ProgIdOwner(served), clsid))
            result = 1;
    }
    return result;
}

// Serves one application, as the products do: a second CoCreateInstance starts a
// second process. The application enters the running object table (weakly, so
// that the table alone does not keep the server alive) until it quits.
class Factory : public IClassFactory {
public:
    explicit Factory(const ServedClass& served) : served_(served) {}

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
        IDispatch* application = nullptr;
        try {
            application = served_.create(state_);
            if (!application || !state_)
                return E_UNEXPECTED;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        state_->onQuit = [this] { LeaveTable(); };
        state_->onIdle = [this] {
            LeaveTable();
            PostQuitMessage(0);
        };
        RegisterActiveObject(application, served_.clsid, ACTIVEOBJECT_WEAK, &tableEntry_);
        const HRESULT hr = application->QueryInterface(riid, object);
        application->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    long Connections() const { return state_ ? state_->connections : 0; }
    void Detach()
    {
        if (state_) {
            state_->onQuit = nullptr;
            state_->onIdle = nullptr;
        }
    }

    void LeaveTable()
    {
        if (tableEntry_)
            RevokeActiveObject(tableEntry_, nullptr);
        tableEntry_ = 0;
    }

private:
    const ServedClass& served_;
    std::shared_ptr<ServerState> state_;
    bool created_ = false;
    DWORD tableEntry_ = 0;
};

int Serve(const ServedClass& served)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    Factory factory(served);
    DWORD cookie = 0;
    if (FAILED(CoRegisterClassObject(served.clsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_SINGLEUSE, &cookie))) {
        CoUninitialize();
        return 1;
    }
    // Started by COM but never connected to (the caller gave up): do not linger.
    const UINT_PTR timer = SetTimer(nullptr, 0, 60000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == timer) {
            KillTimer(nullptr, timer);
            if (factory.Connections() == 0)
                break;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CoRevokeClassObject(cookie);
    factory.LeaveTable();
    factory.Detach();
    CoUninitialize();
    return 0;
}

} // namespace

int RunServerProgram(const ServerProgram& program)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    enum { None, Reg, Unreg, Automation } action = None;
    std::size_t served = 0;
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
        else if (action == Automation && *word >= L'0' && *word <= L'9')
            served = std::wcstoul(word, nullptr, 10);
    }
    LocalFree(argv);
    switch (action) {
    case Reg: return Register(program);
    case Unreg: return Unregister(program);
    case Automation: return served < program.classes.size() ? Serve(program.classes[served]) : 2;
    case None: break;
    }
    Say(program.usage);
    return 2;
}

} // namespace xlserver
