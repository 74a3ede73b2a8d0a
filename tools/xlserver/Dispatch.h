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

// The full path of a file name a caller gave; fails for an empty or bad name.
std::wstring FullPath(const std::wstring& name);

enum class Kind { Method, Get, Put };

// A call's arguments in the member's order (the put value last): positional
// ones as the caller wrote them, named ones at their parameter's place.
class Args {
public:
    // Slots: for each parameter, its index in the caller's rgvarg.
    Args(const DISPPARAMS& params, std::vector<UINT> slots) : params_(params), slots_(std::move(slots)) {}
    UINT Count() const { return static_cast<UINT>(slots_.size()); }
    // The argument with VT_BYREF and variant-in-variant taken away.
    const VARIANT& Value(UINT i) const;
    // Whether a parameter of a member with names was given.
    bool Has(UINT i) const { return i < slots_.size() && slots_[i] != NotGiven; }
    static constexpr UINT NotGiven = ~0u;
    std::wstring String(UINT i) const;
    long Integer(UINT i) const;
    bool Boolean(UINT i) const;

private:
    [[noreturn]] void Mismatch(UINT i) const;
    const DISPPARAMS& params_;
    std::vector<UINT> slots_;
};

class Result {
public:
    explicit Result(VARIANT* out) : out_(out) {}
    void Object(IDispatch* object); // takes over the reference
    void Integer(long value);
    void String(const std::wstring& value);
    void Double(double value);
    void Boolean(bool value);
    // Takes over the variant (an array, an error value).
    void Variant(VARIANT& value);

private:
    VARIANT* out_;
};

// What every object of one server shares: the connection count that decides when
// the server process ends, and whether the application has quit.
struct ServerState {
    long connections = 0;
    bool quit = false;
    std::function<void()> onIdle; // the last external connection went away
    std::function<void()> onQuit; // the application quit: leave the running object table
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
        // Names of the parameters, for callers that pass them by name; a
        // member with names takes up to `args` of them, by place or by name.
        std::vector<const wchar_t*> params = {};
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
