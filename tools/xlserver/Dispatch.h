// Late-bound automation objects without type libraries: each class lists its
// members (name, kind, argument count) and IDispatch answers exactly those.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace xlserver {

// Raised by a member; Invoke turns it into the IDispatch result. DISP_E_EXCEPTION
// carries the message to the caller, any other code is returned as it is.
struct AutomationError {
    HRESULT code = DISP_E_EXCEPTION;
    std::wstring message;
    HRESULT scode = E_FAIL; // for DISP_E_EXCEPTION: the error inside EXCEPINFO
    UINT argument = 0;      // for DISP_E_TYPEMISMATCH: the offending rgvarg index
};

[[noreturn]] void Fail(const std::wstring& message, HRESULT scode = E_FAIL);

enum class Kind { Method, Get, Put };

// A call's arguments in the order the caller wrote them (the put value last).
class Args {
public:
    explicit Args(const DISPPARAMS& params) : params_(params) {}
    UINT Count() const { return params_.cArgs; }
    // The argument with VT_BYREF and variant-in-variant taken away.
    const VARIANT& Value(UINT i) const;
    std::wstring String(UINT i) const;
    long Integer(UINT i) const;

private:
    UINT Slot(UINT i) const { return params_.cArgs - 1 - i; }
    [[noreturn]] void Mismatch(UINT i) const;
    const DISPPARAMS& params_;
};

class Result {
public:
    explicit Result(VARIANT* out) : out_(out) {}
    void Object(IDispatch* object); // takes over the reference
    void Integer(long value);
    void String(const std::wstring& value);

private:
    VARIANT* out_;
};

// What every object of one server shares: the connection count that decides when
// the server process ends, and whether the application has quit.
struct ServerState {
    long connections = 0;
    bool quit = false;
    std::function<void()> onIdle; // the last external connection went away
};

class DispatchBase : public IDispatch, public IExternalConnection {
public:
    explicit DispatchBase(std::shared_ptr<ServerState> server) : server_(std::move(server)) {}
    virtual ~DispatchBase() = default;
    DispatchBase(const DispatchBase&) = delete;
    DispatchBase& operator=(const DispatchBase&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

    DWORD STDMETHODCALLTYPE AddConnection(DWORD type, DWORD) override;
    DWORD STDMETHODCALLTYPE ReleaseConnection(DWORD type, DWORD, BOOL) override;

protected:
    struct Member {
        const wchar_t* name;
        Kind kind;
        UINT args;
        std::function<void(const Args&, Result&)> call;
    };
    // The members, in a table built once per object; a name may appear once per kind.
    virtual std::vector<Member> Members() = 0;

    ServerState& Server() const { return *server_; }
    const std::shared_ptr<ServerState>& SharedServer() const { return server_; }

private:
    const std::vector<Member>& Table();

    std::shared_ptr<ServerState> server_;
    std::vector<Member> table_;
    LONG refs_ = 1;
};

} // namespace xlserver
