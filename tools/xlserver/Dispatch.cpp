#include "Dispatch.h"
#include "Error.h"
#include <climits>
#include <new>

namespace xlserver {

namespace {

constexpr const wchar_t* ErrorSource = L"Spreadsheet stand-in";

bool SameName(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

WORD FlagOf(Kind kind)
{
    switch (kind) {
    case Kind::Method: return DISPATCH_METHOD;
    case Kind::Get: return DISPATCH_PROPERTYGET;
    case Kind::Put: return DISPATCH_PROPERTYPUT;
    }
    return 0;
}

HRESULT Report(const AutomationError& error, EXCEPINFO* excep, UINT* argErr)
{
    if (error.code == DISP_E_TYPEMISMATCH && argErr)
        *argErr = error.argument;
    if (error.code != DISP_E_EXCEPTION)
        return error.code;
    if (excep) {
        *excep = EXCEPINFO{};
        excep->bstrSource = SysAllocString(ErrorSource);
        excep->bstrDescription = SysAllocString(error.message.c_str());
        excep->scode = error.scode;
    }
    return DISP_E_EXCEPTION;
}

} // namespace

void Fail(const std::wstring& message, HRESULT scode)
{
    throw AutomationError{DISP_E_EXCEPTION, message, scode};
}

const VARIANT& Args::Value(UINT i) const
{
    const VARIANT* v = &params_.rgvarg[Slot(i)];
    while (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v))
        v = V_VARIANTREF(v);
    return *v;
}

void Args::Mismatch(UINT i) const
{
    throw AutomationError{DISP_E_TYPEMISMATCH, {}, E_FAIL, Slot(i)};
}

std::wstring Args::String(UINT i) const
{
    const VARIANT& v = Value(i);
    if (V_VT(&v) == VT_BSTR)
        return V_BSTR(&v) ? std::wstring(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : std::wstring();
    if (V_VT(&v) == (VT_BYREF | VT_BSTR) && V_BSTRREF(&v))
        return *V_BSTRREF(&v) ? std::wstring(*V_BSTRREF(&v), SysStringLen(*V_BSTRREF(&v)))
                              : std::wstring();
    Mismatch(i);
}

long Args::Integer(UINT i) const
{
    const VARIANT& v = Value(i);
    VARIANT copy;
    VariantInit(&copy);
    switch (V_VT(&v) & ~VT_BYREF) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_INT: case VT_UINT:
        // Converting to VT_I4 also takes VT_BYREF away, and fails on values out of range.
        if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&v), 0, VT_I4)))
            return V_I4(&copy);
        break;
    }
    Mismatch(i);
}

void Result::Object(IDispatch* object)
{
    if (!out_) {
        object->Release();
        return;
    }
    V_VT(out_) = VT_DISPATCH;
    V_DISPATCH(out_) = object;
}

void Result::Integer(long value)
{
    if (out_) {
        V_VT(out_) = VT_I4;
        V_I4(out_) = value;
    }
}

void Result::String(const std::wstring& value)
{
    if (!out_)
        return;
    BSTR text = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    if (!text)
        throw std::bad_alloc();
    V_VT(out_) = VT_BSTR;
    V_BSTR(out_) = text;
}

HRESULT DispatchBase::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch)
        *object = static_cast<IDispatch*>(this);
    else if (riid == IID_IExternalConnection)
        *object = static_cast<IExternalConnection*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG DispatchBase::AddRef() { return InterlockedIncrement(&refs_); }

ULONG DispatchBase::Release()
{
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0)
        delete this;
    return refs;
}

HRESULT DispatchBase::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchBase::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

const std::vector<DispatchBase::Member>& DispatchBase::Table()
{
    if (table_.empty())
        table_ = Members();
    return table_;
}

HRESULT DispatchBase::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    // No member has named parameters, so only the member name itself can be known.
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const auto& table = Table();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (names[0] && SameName(names[0], table[i].name)) {
            ids[0] = static_cast<DISPID>(i + 1);
            break;
        }
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT DispatchBase::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* excep, UINT* argErr)
{
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    const auto& table = Table();
    if (id < 1 || static_cast<std::size_t>(id) > table.size())
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none{};
    if (!params)
        params = &none;

    // The member's forms of the kinds the caller asked for; a caller may ask for
    // several kinds at once (method and property get) and let the object choose.
    const Member* chosen = nullptr;
    bool kindMatched = false;
    for (const Member& member : table) {
        if (!SameName(member.name, table[id - 1].name) || !(flags & FlagOf(member.kind)))
            continue;
        kindMatched = true;
        if (member.args == params->cArgs)
            chosen = &member;
    }
    if (!chosen)
        return kindMatched ? DISP_E_BADPARAMCOUNT : DISP_E_MEMBERNOTFOUND;
    if (chosen->kind == Kind::Put) {
        if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
    } else if (params->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }

    if (result)
        VariantInit(result);
    try {
        if (server_->quit)
            Fail(L"The application has quit.", CO_E_OBJNOTCONNECTED);
        Args args(*params);
        Result out(chosen->kind == Kind::Put ? nullptr : result);
        chosen->call(args, out);
        return S_OK;
    } catch (const AutomationError& error) {
        return Report(error, excep, argErr);
    } catch (const xlsx::Error& error) {
        return Report(AutomationError{DISP_E_EXCEPTION, error.Message()}, excep, argErr);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

DWORD DispatchBase::AddConnection(DWORD type, DWORD)
{
    return type & EXTCONN_STRONG ? ++server_->connections : 0;
}

DWORD DispatchBase::ReleaseConnection(DWORD type, DWORD, BOOL)
{
    if (!(type & EXTCONN_STRONG))
        return 0;
    const long left = --server_->connections;
    if (left == 0 && server_->onIdle)
        server_->onIdle();
    return left;
}

} // namespace xlserver
