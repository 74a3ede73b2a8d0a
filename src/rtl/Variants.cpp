// Variant values, conversions and arrays.
#include "Variants.h"

const Variant Unassigned;

namespace {

String TypeName(VARTYPE vt)
{
    static const struct {
        VARTYPE vt;
        const wchar_t* name;
    } names[] = {
        {VT_EMPTY, L"Empty"},   {VT_NULL, L"Null"},       {VT_I2, L"Smallint"},   {VT_I4, L"Integer"},
        {VT_R4, L"Single"},     {VT_R8, L"Double"},       {VT_CY, L"Currency"},   {VT_DATE, L"Date"},
        {VT_BSTR, L"OleStr"},   {VT_DISPATCH, L"Dispatch"}, {VT_ERROR, L"Error"}, {VT_BOOL, L"Boolean"},
        {VT_VARIANT, L"Variant"}, {VT_UNKNOWN, L"Unknown"}, {VT_DECIMAL, L"Decimal"}, {VT_I1, L"ShortInt"},
        {VT_UI1, L"Byte"},      {VT_UI2, L"Word"},        {VT_UI4, L"LongWord"},  {VT_I8, L"Int64"},
        {VT_UI8, L"UInt64"},
    };
    String prefix = vt & VT_ARRAY ? L"Array " : L"";
    for (const auto& n : names)
        if (n.vt == (vt & VT_TYPEMASK))
            return prefix + n.name;
    return prefix + L"$" + IntToHex(vt & VT_TYPEMASK, 4);
}

VARIANT Converted(const VARIANT& from, VARTYPE to)
{
    VARIANT out;
    VariantInit(&out);
    HRESULT hr = VariantChangeTypeEx(&out, const_cast<VARIANT*>(&from), LOCALE_USER_DEFAULT, 0, to);
    if (FAILED(hr))
        throw EVariantError(L"Could not convert variant of type (" + TypeName(V_VT(&from)) +
                            L") into type (" + TypeName(to) + L")");
    return out;
}

SAFEARRAY* ArrayOf(const Variant& a)
{
    const VARIANT& v = a.Raw();
    if (!(V_VT(&v) & VT_ARRAY))
        throw EVariantError(L"Variant is not an array");
    return V_VT(&v) & VT_BYREF ? *V_ARRAYREF(&v) : V_ARRAY(&v);
}

std::vector<LONG> IndexVector(const SAFEARRAY* sa, std::initializer_list<int> indexes)
{
    if (indexes.size() != sa->cDims)
        throw EVariantError(L"Variant array index out of bounds");
    return std::vector<LONG>(indexes.begin(), indexes.end());
}

} // namespace

Variant::Variant(const Variant& other)
{
    VariantInit(&v_);
    VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
}

Variant::Variant(Variant&& other) noexcept
{
    v_ = other.v_;
    VariantInit(&other.v_);
}

Variant& Variant::operator=(const Variant& other)
{
    if (this != &other)
        VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept
{
    if (this != &other) {
        VariantClear(&v_);
        v_ = other.v_;
        VariantInit(&other.v_);
    }
    return *this;
}

Variant::Variant(const VARIANT& value)
{
    VariantInit(&v_);
    VariantCopy(&v_, const_cast<VARIANT*>(&value));
}

Variant::Variant(int value) : Variant()
{
    V_VT(&v_) = VT_I4;
    V_I4(&v_) = value;
}

Variant::Variant(long value) : Variant(static_cast<int>(value)) {}

Variant::Variant(unsigned value) : Variant()
{
    V_VT(&v_) = VT_UI4;
    V_UI4(&v_) = value;
}

Variant::Variant(Int64 value) : Variant()
{
    V_VT(&v_) = VT_I8;
    V_I8(&v_) = value;
}

Variant::Variant(double value) : Variant()
{
    V_VT(&v_) = VT_R8;
    V_R8(&v_) = value;
}

Variant::Variant(bool value) : Variant()
{
    V_VT(&v_) = VT_BOOL;
    V_BOOL(&v_) = value ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(const wchar_t* value) : Variant(String(value ? value : L"")) {}

Variant::Variant(const String& value) : Variant()
{
    V_VT(&v_) = VT_BSTR;
    V_BSTR(&v_) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
}

Variant::Variant(IDispatch* value) : Variant()
{
    V_VT(&v_) = VT_DISPATCH;
    V_DISPATCH(&v_) = value;
    if (value)
        value->AddRef();
}

Variant Variant::FromDateTime(TDateTime value)
{
    Variant r;
    V_VT(&r.v_) = VT_DATE;
    V_DATE(&r.v_) = value;
    return r;
}

Variant Variant::Null()
{
    Variant r;
    V_VT(&r.v_) = VT_NULL;
    return r;
}

Variant Variant::ByRef(Variant& target)
{
    Variant r;
    V_VT(&r.v_) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&r.v_) = &target.v_;
    return r;
}

Variant Variant::Attach(VARIANT& value)
{
    Variant r;
    r.v_ = value;
    VariantInit(&value);
    return r;
}

VARIANT Variant::Detach()
{
    VARIANT out = v_;
    VariantInit(&v_);
    return out;
}

String Variant::ToString() const
{
    switch (VarType()) {
    case VT_EMPTY:
    case VT_NULL:
        return String();
    case VT_BSTR:
        return String(V_BSTR(&v_), SysStringLen(V_BSTR(&v_)));
    case VT_BOOL:
        return V_BOOL(&v_) ? L"True" : L"False";
    default: {
        VARIANT text = Converted(v_, VT_BSTR);
        String r(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
        VariantClear(&text);
        return r;
    }
    }
}

Integer Variant::ToInteger() const
{
    VARIANT r = Converted(v_, VT_I4);
    return V_I4(&r);
}

Int64 Variant::ToInt64() const
{
    VARIANT r = Converted(v_, VT_I8);
    return V_I8(&r);
}

double Variant::ToDouble() const
{
    VARIANT r = Converted(v_, VT_R8);
    return V_R8(&r);
}

bool Variant::ToBool() const
{
    VARIANT r = Converted(v_, VT_BOOL);
    return V_BOOL(&r) != VARIANT_FALSE;
}

TDateTime Variant::ToDateTime() const
{
    VARIANT r = Converted(v_, VT_DATE);
    return V_DATE(&r);
}

IDispatch* Variant::ToDispatch() const
{
    if (VarType() == VT_DISPATCH)
        return V_DISPATCH(&v_);
    if (VarType() == (VT_DISPATCH | VT_BYREF))
        return *V_DISPATCHREF(&v_);
    if (VarType() == (VT_VARIANT | VT_BYREF))
        return Variant(*V_VARIANTREF(&v_)).ToDispatch();
    throw EVariantError(L"Could not convert variant of type (" + TypeName(VarType()) +
                        L") into type (Dispatch)");
}

String VarToStr(const Variant& V) { return V.ToString(); }
bool VarIsEmpty(const Variant& V) { return V.IsEmpty(); }
bool VarIsNull(const Variant& V) { return V.IsNull(); }
bool VarIsArray(const Variant& V) { return V.IsArray(); }
VARTYPE VarType(const Variant& V) { return V.VarType(); }

Variant VarArrayCreate(std::initializer_list<int> Bounds, VARTYPE VarType)
{
    if (Bounds.size() == 0 || Bounds.size() % 2 != 0)
        throw EVariantError(L"Invalid variant array bounds");
    std::vector<SAFEARRAYBOUND> bounds;
    for (auto it = Bounds.begin(); it != Bounds.end(); it += 2) {
        if (it[1] < it[0] - 1)
            throw EVariantError(L"Invalid variant array bounds");
        bounds.push_back(SAFEARRAYBOUND{static_cast<ULONG>(it[1] - it[0] + 1), it[0]});
    }
    SAFEARRAY* sa = SafeArrayCreate(VarType, static_cast<UINT>(bounds.size()), bounds.data());
    if (!sa)
        throw EVariantError(L"Could not create variant array");
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = static_cast<VARTYPE>(VT_ARRAY | VarType);
    V_ARRAY(&v) = sa;
    return Variant::Attach(v);
}

int VarArrayDimCount(const Variant& A)
{
    return static_cast<int>(SafeArrayGetDim(ArrayOf(A)));
}

int VarArrayLowBound(const Variant& A, int Dim)
{
    LONG b = 0;
    if (FAILED(SafeArrayGetLBound(ArrayOf(A), static_cast<UINT>(Dim), &b)))
        throw EVariantError(L"Variant array index out of bounds");
    return b;
}

int VarArrayHighBound(const Variant& A, int Dim)
{
    LONG b = 0;
    if (FAILED(SafeArrayGetUBound(ArrayOf(A), static_cast<UINT>(Dim), &b)))
        throw EVariantError(L"Variant array index out of bounds");
    return b;
}

Variant VarArrayGet(const Variant& A, std::initializer_list<int> Indexes)
{
    SAFEARRAY* sa = ArrayOf(A);
    std::vector<LONG> index = IndexVector(sa, Indexes);
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetVartype(sa, &vt);
    VARIANT out;
    VariantInit(&out);
    HRESULT hr;
    if (vt == VT_VARIANT) {
        hr = SafeArrayGetElement(sa, index.data(), &out);
    } else {
        // Elements of a typed array are read into a variant of that type.
        V_VT(&out) = vt;
        hr = SafeArrayGetElement(sa, index.data(), &V_I8(&out));
    }
    if (FAILED(hr))
        throw EVariantError(L"Variant array index out of bounds");
    return Variant::Attach(out);
}

void VarArrayPut(Variant& A, const Variant& Value, std::initializer_list<int> Indexes)
{
    SAFEARRAY* sa = ArrayOf(A);
    std::vector<LONG> index = IndexVector(sa, Indexes);
    VARTYPE vt = VT_EMPTY;
    SafeArrayGetVartype(sa, &vt);
    HRESULT hr;
    if (vt == VT_VARIANT) {
        hr = SafeArrayPutElement(sa, index.data(), const_cast<VARIANT*>(&Value.Raw()));
    } else {
        VARIANT typed = Converted(Value.Raw(), vt);
        void* data = vt == VT_BSTR || vt == VT_DISPATCH || vt == VT_UNKNOWN
                         ? reinterpret_cast<void*>(V_BSTR(&typed))
                         : static_cast<void*>(&V_I8(&typed));
        hr = SafeArrayPutElement(sa, index.data(), data);
        VariantClear(&typed);
    }
    if (FAILED(hr))
        throw EVariantError(L"Variant array index out of bounds");
}
