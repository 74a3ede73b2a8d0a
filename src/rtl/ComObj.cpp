// COM start-up, automation objects by ProgID and late-bound calls.
#include "ComObj.h"

void ComObj_Initialize()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
}

void ComObj_Finalize()
{
    CoUninitialize();
}

namespace {

String HResultText(HRESULT hr)
{
    String text = SysErrorMessage(static_cast<DWORD>(hr));
    return text.empty() ? L"OLE error " + IntToHex(static_cast<std::uint32_t>(hr), 8) : text;
}

CLSID ClassID(const String& className)
{
    CLSID clsid{};
    HRESULT hr = CLSIDFromProgID(className.c_str(), &clsid);
    if (FAILED(hr))
        throw EOleSysError(HResultText(hr), hr);
    return clsid;
}

Variant DispatchVariant(IUnknown* unknown)
{
    TComPtr<IDispatch> dispatch;
    HRESULT hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        throw EOleSysError(HResultText(hr), hr);
    return Variant(dispatch.Get());
}

[[noreturn]] void RaiseServerError(EXCEPINFO& info)
{
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    auto take = [](BSTR& b) {
        String s = b ? String(b, SysStringLen(b)) : String();
        SysFreeString(b);
        b = nullptr;
        return s;
    };
    String message = Trim(take(info.bstrDescription));
    String source = take(info.bstrSource);
    String helpFile = take(info.bstrHelpFile);
    HRESULT code = info.scode ? info.scode : info.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info.wCode) : E_FAIL;
    // Some servers leave the exception record empty and describe the
    // error through the thread's error object instead.
    if (message.empty()) {
        TComPtr<IErrorInfo> error;
        if (GetErrorInfo(0, error.ReleaseAndGetAddressOf()) == S_OK && error) {
            BSTR text = nullptr;
            if (SUCCEEDED(error->GetDescription(&text)))
                message = Trim(take(text));
            if (source.empty() && SUCCEEDED(error->GetSource(&text)))
                source = take(text);
        }
    }
    if (message.empty())
        message = HResultText(code);
    throw EOleException(message, code, source, helpFile, static_cast<int>(info.dwHelpContext));
}

// Calls a member by DISPID. Named arguments go first in the platform's
// argument array, positional ones after them in reverse order.
Variant InvokeId(IDispatch* disp, DISPID id, WORD flags, const std::vector<const VARIANT*>& positional,
                 const std::vector<std::pair<DISPID, const VARIANT*>>& named)
{
    std::vector<VARIANT> args;
    std::vector<DISPID> namedIds;
    for (const auto& n : named) {
        args.push_back(*n.second);
        namedIds.push_back(n.first);
    }
    for (auto it = positional.rbegin(); it != positional.rend(); ++it)
        args.push_back(**it);
    DISPPARAMS params{};
    params.rgvarg = args.empty() ? nullptr : args.data();
    params.cArgs = static_cast<UINT>(args.size());
    params.rgdispidNamedArgs = namedIds.empty() ? nullptr : namedIds.data();
    params.cNamedArgs = static_cast<UINT>(namedIds.size());

    VARIANT result;
    VariantInit(&result);
    EXCEPINFO info{};
    UINT argError = 0;
    HRESULT hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                              flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF) ? nullptr : &result,
                              &info, &argError);
    if (hr == DISP_E_EXCEPTION)
        RaiseServerError(info);
    if (FAILED(hr))
        throw EOleSysError(HResultText(hr), hr);
    return Variant::Attach(result);
}

} // namespace

void OleCheck(HRESULT Result)
{
    if (FAILED(Result))
        throw EOleSysError(HResultText(Result), Result);
}

Variant CreateOleObject(const String& ClassName)
{
    CLSID clsid = ClassID(ClassName);
    TComPtr<IUnknown> unknown;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(unknown.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        throw EOleSysError(HResultText(hr), hr);
    return DispatchVariant(unknown.Get());
}

Variant GetActiveOleObject(const String& ClassName)
{
    CLSID clsid = ClassID(ClassName);
    TComPtr<IUnknown> unknown;
    HRESULT hr = GetActiveObject(clsid, nullptr, unknown.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        throw EOleSysError(HResultText(hr), hr);
    return DispatchVariant(unknown.Get());
}

Variant Variant::Invoke(const String& Name, WORD Flags, const std::vector<TOleArg>& Args) const
{
    IDispatch* disp = ToDispatch();
    if (!disp)
        throw EVariantError(L"Variant does not reference an automation object");

    // A property put passes its new value as the last argument.
    const bool put = (Flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    const std::size_t valueIndex = put && !Args.empty() ? Args.size() - 1 : Args.size();

    std::vector<String> names{Name};
    std::vector<const VARIANT*> positional;
    std::vector<const VARIANT*> namedValues;
    for (std::size_t i = 0; i < Args.size(); ++i) {
        if (i == valueIndex)
            continue;
        if (Args[i].Name.empty()) {
            positional.push_back(&Args[i].Value.Raw());
        } else {
            names.push_back(Args[i].Name);
            namedValues.push_back(&Args[i].Value.Raw());
        }
    }
    std::vector<LPOLESTR> namePtrs;
    for (String& n : names)
        namePtrs.push_back(n.data());
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    HRESULT hr = disp->GetIDsOfNames(IID_NULL, namePtrs.data(), static_cast<UINT>(namePtrs.size()),
                                     LOCALE_USER_DEFAULT, ids.data());
    if (FAILED(hr)) {
        if (ids[0] == DISPID_UNKNOWN)
            throw EOleError(L"Method '" + Name + L"' not supported by automation object");
        for (std::size_t i = 1; i < ids.size(); ++i)
            if (ids[i] == DISPID_UNKNOWN)
                throw EOleError(L"Named argument '" + names[i] + L"' not supported by method '" + Name + L"'");
        throw EOleSysError(HResultText(hr), hr);
    }
    std::vector<std::pair<DISPID, const VARIANT*>> named;
    if (put && valueIndex < Args.size())
        named.emplace_back(DISPID_PROPERTYPUT, &Args[valueIndex].Value.Raw());
    for (std::size_t i = 0; i < namedValues.size(); ++i)
        named.emplace_back(ids[i + 1], namedValues[i]);
    return InvokeId(disp, ids[0], Flags, positional, named);
}

namespace {

std::vector<TOleArg> ArgList(std::initializer_list<Variant> args)
{
    return std::vector<TOleArg>(args.begin(), args.end());
}

} // namespace

Variant Variant::OleFunction(const String& Name, std::initializer_list<Variant> Args) const
{
    return Invoke(Name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, ArgList(Args));
}

void Variant::OleProcedure(const String& Name, std::initializer_list<Variant> Args) const
{
    Invoke(Name, DISPATCH_METHOD, ArgList(Args));
}

Variant Variant::OlePropertyGet(const String& Name, std::initializer_list<Variant> Args) const
{
    return Invoke(Name, DISPATCH_PROPERTYGET, ArgList(Args));
}

void Variant::OlePropertySet(const String& Name, const Variant& Value, std::initializer_list<Variant> Args) const
{
    std::vector<TOleArg> args = ArgList(Args);
    args.emplace_back(Value);
    Invoke(Name, DISPATCH_PROPERTYPUT, args);
}

void ForEachItem(const Variant& Collection, const std::function<void(const Variant& Item)>& Action)
{
    IDispatch* disp = Collection.ToDispatch();
    if (!disp)
        throw EVariantError(L"Variant does not reference an automation object");
    Variant enumerator = InvokeId(disp, DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, {});
    IUnknown* unknown = enumerator.VarType() == VT_UNKNOWN ? V_UNKNOWN(&enumerator.Raw())
                        : enumerator.VarType() == VT_DISPATCH ? V_DISPATCH(&enumerator.Raw())
                                                              : nullptr;
    if (!unknown)
        throw EOleError(L"The collection gives no enumerator");
    TComPtr<IEnumVARIANT> items;
    OleCheck(unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.ReleaseAndGetAddressOf())));
    for (;;) {
        VARIANT item;
        VariantInit(&item);
        ULONG fetched = 0;
        if (items->Next(1, &item, &fetched) != S_OK || fetched == 0)
            break;
        Variant value = Variant::Attach(item);
        Action(value);
    }
}
