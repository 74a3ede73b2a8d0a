#include "WmiClient.h"
#include <wbemidl.h>
#include <wrl/client.h>
#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <cwctype>

using Microsoft::WRL::ComPtr;

// ---------------------------------------------------------------------------
// TWmiValue

String TWmiValue::AsText() const
{
    switch (kind_) {
    case wvNull:
        return {};
    case wvBoolean:
        return integer_ ? L"True" : L"False";
    case wvInteger:
        return IntToStr(integer_);
    case wvText:
        return text_;
    case wvArray:
        break;
    }
    throw EVariantError(L"Could not convert an array to text");
}

Int64 TWmiValue::AsInteger() const
{
    if (kind_ == wvInteger)
        return integer_;
    if (kind_ == wvText && !text_.empty()) {
        const wchar_t* begin = text_.c_str();
        wchar_t* end = nullptr;
        errno = 0;
        Int64 value = 0;
        if (begin[0] == L'-')
            value = std::wcstoll(begin, &end, 10);
        else
            // Unsigned 64-bit counts above the signed range keep their bits.
            value = static_cast<Int64>(std::wcstoull(begin, &end, 10));
        if (errno == 0 && end != begin && *end == L'\0' && !std::iswspace(begin[0]))
            return value;
    }
    throw EConvertError(L"'" + AsTextOrKind() + L"' is not a valid integer value");
}

bool TWmiValue::AsBoolean() const
{
    if (kind_ == wvBoolean || kind_ == wvInteger)
        return integer_ != 0;
    if (kind_ == wvText) {
        if (SameText(text_, L"True"))
            return true;
        if (SameText(text_, L"False"))
            return false;
    }
    throw EConvertError(L"'" + AsTextOrKind() + L"' is not a valid Boolean value");
}

const std::vector<TWmiValue>& TWmiValue::Items() const
{
    if (kind_ != wvArray)
        throw EVariantError(L"The value is not an array");
    return items_;
}

String TWmiValue::AsTextOrKind() const
{
    switch (kind_) {
    case wvNull:
        return L"(null)";
    case wvArray:
        return L"(array)";
    default:
        return AsText();
    }
}

// ---------------------------------------------------------------------------
// TWbemClient

namespace {

[[noreturn]] void RaiseWmiError(HRESULT hr, const String& what)
{
    wchar_t code[16];
    std::swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    throw EOleSysError(what + L" failed with WMI error " + code);
}

struct TBstrDeleter {
    void operator()(BSTR s) const { SysFreeString(s); }
};
using TBstr = std::unique_ptr<OLECHAR, TBstrDeleter>;

TBstr MakeBstr(const String& s)
{
    TBstr result(SysAllocStringLen(s.data(), static_cast<UINT>(s.size())));
    if (!result)
        throw EOutOfResources(L"Out of memory");
    return result;
}

// A VARIANT that clears itself.
struct TVariantHolder {
    VARIANT v;
    TVariantHolder() { VariantInit(&v); }
    ~TVariantHolder() { VariantClear(&v); }
    TVariantHolder(const TVariantHolder&) = delete;
    TVariantHolder& operator=(const TVariantHolder&) = delete;
};

TWmiValue ToWmiValue(const VARIANT& v, CIMTYPE cimType);

TWmiValue ArrayToWmiValue(const VARIANT& v, CIMTYPE cimType)
{
    SAFEARRAY* array = (v.vt & VT_BYREF) ? *v.pparray : v.parray;
    std::vector<TWmiValue> items;
    if (!array || SafeArrayGetDim(array) != 1)
        return TWmiValue(std::move(items));
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    VARTYPE elementType = v.vt & VT_TYPEMASK;
    for (LONG i = lower; i <= upper; ++i) {
        TVariantHolder element;
        HRESULT hr;
        if (elementType == VT_VARIANT) {
            hr = SafeArrayGetElement(array, &i, &element.v);
        } else {
            // Every member of the VARIANT's value union starts at one address.
            hr = SafeArrayGetElement(array, &i, &element.v.llVal);
            if (SUCCEEDED(hr))
                element.v.vt = elementType;
        }
        if (FAILED(hr))
            RaiseWmiError(hr, L"Reading an array element");
        items.push_back(ToWmiValue(element.v, cimType & ~CIM_FLAG_ARRAY));
    }
    return TWmiValue(std::move(items));
}

TWmiValue ToWmiValue(const VARIANT& v, CIMTYPE cimType)
{
    if (v.vt & VT_ARRAY)
        return ArrayToWmiValue(v, cimType);
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_BOOL:
        return TWmiValue(v.boolVal != VARIANT_FALSE);
    case VT_BSTR:
        return TWmiValue(String(v.bstrVal ? v.bstrVal : L"", SysStringLen(v.bstrVal)));
    case VT_I1:
        return TWmiValue(v.cVal);
    case VT_UI1:
        return TWmiValue(v.bVal);
    case VT_I2:
        return cimType == CIM_UINT16 ? TWmiValue(static_cast<Word>(v.iVal)) : TWmiValue(v.iVal);
    case VT_UI2:
        return TWmiValue(v.uiVal);
    case VT_I4:
    case VT_INT:
        // Automation has no unsigned 32-bit type: WMI hands uint32 over as a
        // signed value, so 4 GB of video memory would read as negative.
        return cimType == CIM_UINT32 ? TWmiValue(static_cast<Cardinal>(v.lVal)) : TWmiValue(v.lVal);
    case VT_UI4:
    case VT_UINT:
        return TWmiValue(v.ulVal);
    case VT_I8:
        return TWmiValue(v.llVal);
    case VT_UI8:
        return TWmiValue(static_cast<Int64>(v.ullVal));
    default:
        break;
    }
    TVariantHolder text;
    HRESULT hr = VariantChangeType(&text.v, const_cast<VARIANT*>(&v), 0, VT_BSTR);
    if (FAILED(hr))
        RaiseWmiError(hr, L"Converting a property value");
    return TWmiValue(String(text.v.bstrVal ? text.v.bstrVal : L"", SysStringLen(text.v.bstrVal)));
}

class TWbemObject : public TWmiObject {
public:
    explicit TWbemObject(IWbemClassObject* object) : object_(object) {}

    TWmiValue Get(const String& name) const override
    {
        TVariantHolder value;
        CIMTYPE cimType = CIM_EMPTY;
        HRESULT hr = object_->Get(name.c_str(), 0, &value.v, &cimType, nullptr);
        if (hr == static_cast<HRESULT>(WBEM_E_NOT_FOUND))
            return {};
        if (FAILED(hr))
            RaiseWmiError(hr, L"Reading property " + name);
        return ToWmiValue(value.v, cimType);
    }

private:
    IWbemClassObject* object_;
};

// The proxies of a remote computer need impersonation to run queries as the
// caller; an in-process provider has no proxy, and then this fails harmlessly.
void AllowImpersonation(IUnknown* proxy)
{
    CoSetProxyBlanket(proxy, RPC_C_AUTHN_DEFAULT, RPC_C_AUTHZ_DEFAULT, COLE_DEFAULT_PRINCIPAL,
                      RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

class TWbemConnection : public IWmiConnection {
public:
    TWbemConnection(ComPtr<IWbemServices> cimv2, ComPtr<IWbemServices> wmi)
        : cimv2_(std::move(cimv2)), wmi_(std::move(wmi))
    {
    }

    void ExecQuery(TWmiNamespace ns, const String& wql, const TWmiVisitor& visit) override
    {
        IWbemServices* services = ns == wnWmi ? wmi_.Get() : cimv2_.Get();
        TBstr language = MakeBstr(L"WQL");
        TBstr query = MakeBstr(wql);
        ComPtr<IEnumWbemClassObject> objects;
        HRESULT hr = services->ExecQuery(language.get(), query.get(), WBEM_FLAG_FORWARD_ONLY,
                                         nullptr, objects.GetAddressOf());
        if (FAILED(hr))
            RaiseWmiError(hr, L"Query \"" + wql + L"\"");
        AllowImpersonation(objects.Get());
        for (;;) {
            ComPtr<IWbemClassObject> object;
            ULONG returned = 0;
            hr = objects->Next(static_cast<LONG>(WBEM_INFINITE), 1, object.GetAddressOf(), &returned);
            if (FAILED(hr))
                RaiseWmiError(hr, L"Reading the answer of \"" + wql + L"\"");
            if (returned == 0)
                break;
            visit(TWbemObject(object.Get()));
        }
    }

private:
    ComPtr<IWbemServices> cimv2_;
    ComPtr<IWbemServices> wmi_;
};

ComPtr<IWbemServices> ConnectNamespace(IWbemLocator* locator, const String& computer,
                                       const String& ns)
{
    String path = computer.empty() ? ns : L"\\\\" + computer + L"\\" + ns;
    TBstr resource = MakeBstr(path);
    ComPtr<IWbemServices> services;
    HRESULT hr = locator->ConnectServer(resource.get(), nullptr, nullptr, nullptr, 0, nullptr,
                                        nullptr, services.GetAddressOf());
    if (FAILED(hr))
        RaiseWmiError(hr, L"Connecting to " + path);
    AllowImpersonation(services.Get());
    return services;
}

} // namespace

std::unique_ptr<IWmiConnection> TWbemClient::Connect(const String& computer)
{
    ComPtr<IWbemLocator> locator;
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, reinterpret_cast<void**>(locator.GetAddressOf()));
    if (FAILED(hr))
        RaiseWmiError(hr, L"Creating the WMI locator");
    ComPtr<IWbemServices> cimv2 = ConnectNamespace(locator.Get(), computer, L"root\\cimv2");
    ComPtr<IWbemServices> wmi = ConnectNamespace(locator.Get(), computer, L"root\\wmi");
    return std::make_unique<TWbemConnection>(std::move(cimv2), std::move(wmi));
}
