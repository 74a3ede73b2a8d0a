#include "WmiClient.h"
#include "ComObj.h"
#include <wbemidl.h>
#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <cwctype>

// ---------------------------------------------------------------------------
// TWmiValue

String TWmiValue::AsText() &&
{
    return kind_ == wvText ? std::move(text_) : static_cast<const TWmiValue&>(*this).AsText();
}

String TWmiValue::AsText() const&
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

// A text as the BSTR that WMI's calls take, owned by a variant.
BSTR AsBstr(const Variant& text) { return V_BSTR(&text.Raw()); }

TWmiValue ToWmiValue(const Variant& v, CIMTYPE cimType)
{
    if (v.IsArray()) {
        std::vector<TWmiValue> items;
        if (VarArrayDimCount(v) == 1)
            for (int i = VarArrayLowBound(v, 1); i <= VarArrayHighBound(v, 1); ++i)
                items.push_back(ToWmiValue(VarArrayGet(v, {i}), cimType & ~CIM_FLAG_ARRAY));
        return TWmiValue(std::move(items));
    }
    const VARIANT& raw = v.Raw();
    switch (v.VarType()) {
    case VT_EMPTY:
    case VT_NULL:
        return {};
    case VT_BOOL:
        return TWmiValue(V_BOOL(&raw) != VARIANT_FALSE);
    case VT_BSTR:
        return TWmiValue(v.ToString());
    case VT_I1:
        return TWmiValue(V_I1(&raw));
    case VT_UI1:
        return TWmiValue(V_UI1(&raw));
    case VT_I2:
        return cimType == CIM_UINT16 ? TWmiValue(static_cast<Word>(V_I2(&raw)))
                                     : TWmiValue(V_I2(&raw));
    case VT_UI2:
        return TWmiValue(V_UI2(&raw));
    case VT_I4:
    case VT_INT:
        // Automation has no unsigned 32-bit type: WMI hands uint32 over as a
        // signed value, so 4 GB of video memory would read as negative.
        return cimType == CIM_UINT32 ? TWmiValue(static_cast<Cardinal>(V_I4(&raw)))
                                     : TWmiValue(V_I4(&raw));
    case VT_UI4:
    case VT_UINT:
        return TWmiValue(V_UI4(&raw));
    case VT_I8:
        return TWmiValue(V_I8(&raw));
    case VT_UI8:
        return TWmiValue(static_cast<Int64>(V_UI8(&raw)));
    default:
        return TWmiValue(v.ToString());
    }
}

class TWbemObject : public TWmiObject {
public:
    explicit TWbemObject(IWbemClassObject* object) : object_(object) {}

    TWmiValue Get(const wchar_t* name) const override
    {
        Variant value;
        CIMTYPE cimType = CIM_EMPTY;
        HRESULT hr = object_->Get(name, 0, value.Ptr(), &cimType, nullptr);
        if (hr == static_cast<HRESULT>(WBEM_E_NOT_FOUND))
            return {};
        if (FAILED(hr))
            RaiseWmiError(hr, String(L"Reading property ") + name);
        return ToWmiValue(value, cimType);
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
    TWbemConnection(TComPtr<IWbemServices> cimv2, TComPtr<IWbemServices> wmi)
        : cimv2_(std::move(cimv2)), wmi_(std::move(wmi))
    {
    }

    void ExecQuery(TWmiNamespace ns, const String& wql, const TWmiVisitor& visit) override
    {
        IWbemServices* services = ns == wnWmi ? wmi_.Get() : cimv2_.Get();
        Variant language(L"WQL");
        Variant query(wql);
        TComPtr<IEnumWbemClassObject> objects;
        HRESULT hr = services->ExecQuery(AsBstr(language), AsBstr(query), WBEM_FLAG_FORWARD_ONLY,
                                         nullptr, objects.ReleaseAndGetAddressOf());
        if (FAILED(hr))
            RaiseWmiError(hr, L"Query \"" + wql + L"\"");
        AllowImpersonation(objects.Get());
        for (;;) {
            TComPtr<IWbemClassObject> object;
            ULONG returned = 0;
            hr = objects->Next(static_cast<LONG>(WBEM_INFINITE), 1, object.ReleaseAndGetAddressOf(),
                               &returned);
            if (FAILED(hr))
                RaiseWmiError(hr, L"Reading the answer of \"" + wql + L"\"");
            if (returned == 0)
                break;
            visit(TWbemObject(object.Get()));
        }
    }

private:
    TComPtr<IWbemServices> cimv2_;
    TComPtr<IWbemServices> wmi_;
};

TComPtr<IWbemServices> ConnectNamespace(IWbemLocator* locator, const String& computer,
                                        const String& ns)
{
    String path = computer.empty() ? ns : L"\\\\" + computer + L"\\" + ns;
    Variant resource(path);
    TComPtr<IWbemServices> services;
    HRESULT hr = locator->ConnectServer(AsBstr(resource), nullptr, nullptr, nullptr, 0, nullptr,
                                        nullptr, services.ReleaseAndGetAddressOf());
    if (FAILED(hr))
        RaiseWmiError(hr, L"Connecting to " + path);
    AllowImpersonation(services.Get());
    return services;
}

} // namespace

std::unique_ptr<IWmiConnection> TWbemClient::Connect(const String& computer)
{
    TComPtr<IWbemLocator> locator;
    HRESULT hr =
        CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                         reinterpret_cast<void**>(locator.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        RaiseWmiError(hr, L"Creating the WMI locator");
    TComPtr<IWbemServices> cimv2 = ConnectNamespace(locator.Get(), computer, L"root\\cimv2");
    TComPtr<IWbemServices> wmi = ConnectNamespace(locator.Get(), computer, L"root\\wmi");
    return std::make_unique<TWbemConnection>(std::move(cimv2), std::move(wmi));
}
