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

std::wstring FullPath(const std::wstring& name)
{
    if (name.empty())
        Fail(L"A file name is needed.", E_INVALIDARG);
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    std::wstring path(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(name.c_str(), size, path.data(), nullptr) : 0;
    if (length == 0 || length >= size)
        Fail(L"\"" + name + L"\" is not a valid file name.", E_INVALIDARG);
    path.resize(length);
    return path;
}

const VARIANT& Args::Value(UINT i) const
{
    if (!Has(i))
        throw AutomationError{DISP_E_PARAMNOTFOUND};
    const VARIANT* v = &params_.rgvarg[slots_[i]];
    while (V_VT(v) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(v))
        v = V_VARIANTREF(v);
    return *v;
}

void Args::Mismatch(UINT i) const
{
    throw AutomationError{DISP_E_TYPEMISMATCH, {}, E_FAIL, slots_.at(i)};
}

bool Args::Boolean(UINT i) const
{
    const VARIANT& v = Value(i);
    VARIANT copy;
    VariantInit(&copy);
    if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&v), 0, VT_BOOL)))
        return V_BOOL(&copy) != VARIANT_FALSE;
    Mismatch(i);
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

void Result::Double(double value)
{
    if (out_) {
        V_VT(out_) = VT_R8;
        V_R8(out_) = value;
    }
}

void Result::Boolean(bool value)
{
    if (out_) {
        V_VT(out_) = VT_BOOL;
        V_BOOL(out_) = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
}

void Result::Variant(VARIANT& value)
{
    if (out_)
        *out_ = value;
    else
        VariantClear(&value);
    VariantInit(&value);
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
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const auto& table = Table();
    for (std::size_t i = 0; i < table.size(); ++i)
        if (names[0] && SameName(names[0], table[i].name)) {
            ids[0] = static_cast<DISPID>(i + 1);
            break;
        }
    if (ids[0] == DISPID_UNKNOWN)
        return DISP_E_UNKNOWNNAME;
    // A parameter's id is its place among the names of some form of the member.
    bool known = true;
    for (UINT n = 1; n < count; ++n) {
        for (const Member& member : table)
            if (SameName(member.name, table[ids[0] - 1].name))
                for (std::size_t p = 0; p < member.params.size() && ids[n] == DISPID_UNKNOWN; ++p)
                    if (names[n] && SameName(names[n], member.params[p]))
                        ids[n] = static_cast<DISPID>(p);
        known = known && ids[n] != DISPID_UNKNOWN;
    }
    return known ? S_OK : DISP_E_UNKNOWNNAME;
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
        // An exact count wins over a member whose named parameters may be left out.
        if (member.args == params->cArgs)
            chosen = &member;
        else if (!chosen && !member.params.empty() && params->cArgs <= member.args)
            chosen = &member;
    }
    if (!chosen)
        return kindMatched ? DISP_E_BADPARAMCOUNT : DISP_E_MEMBERNOTFOUND;
    // Where each parameter is among the caller's arguments (given last to first).
    std::vector<UINT> slots;
    const UINT positional = params->cArgs - params->cNamedArgs;
    for (UINT i = 0; i < positional; ++i)
        slots.push_back(params->cArgs - 1 - i);
    if (chosen->kind == Kind::Put) {
        if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
        slots.push_back(0);
    } else if (params->cNamedArgs != 0) {
        if (chosen->params.empty())
            return DISP_E_NONAMEDARGS;
        slots.resize(chosen->params.size(), Args::NotGiven);
        for (UINT n = 0; n < params->cNamedArgs; ++n) {
            const DISPID place = params->rgdispidNamedArgs[n];
            if (place < static_cast<DISPID>(positional) || place >= static_cast<DISPID>(slots.size()) ||
                slots[place] != Args::NotGiven)
                return DISP_E_PARAMNOTFOUND;
            slots[place] = n;
        }
    }

    if (result)
        VariantInit(result);
    try {
        if (server_->quit)
            Fail(L"The application has quit.", CO_E_OBJNOTCONNECTED);
        Args args(*params, std::move(slots));
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
