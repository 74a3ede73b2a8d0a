// Variants over the platform's VARIANT: values of any automation type,
// arrays (SAFEARRAY) of one or more dimensions, and late-bound calls on a
// variant that holds an automation object.
#pragma once

#include "SysUtils.h"
#include <oaidl.h>
#include <initializer_list>
#include <vector>

class Variant;
using OleVariant = Variant;

// One argument of a late-bound call; a Name makes it a named argument.
struct TOleArg;

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant() { VariantClear(&v_); }

    // Copies the VARIANT (arrays and strings deeply, interfaces add a reference).
    explicit Variant(const VARIANT& value);
    Variant(int value);
    Variant(long value);
    Variant(unsigned value);
    Variant(Int64 value);
    Variant(double value);
    Variant(bool value);
    Variant(const wchar_t* value);
    Variant(const String& value);
    // Holds a reference to the object (null gives an empty dispatch variant).
    Variant(IDispatch* value);
    static Variant FromDateTime(TDateTime value);
    static Variant Null();
    // A variant that refers to target (VT_BYREF | VT_VARIANT) for servers
    // that want an argument by reference; target must outlive the call.
    static Variant ByRef(Variant& target);
    // Takes over a VARIANT without copying it.
    static Variant Attach(VARIANT& value);

    VARTYPE VarType() const { return V_VT(&v_); }
    bool IsEmpty() const { return VarType() == VT_EMPTY; }
    bool IsNull() const { return VarType() == VT_NULL; }
    bool IsArray() const { return (VarType() & VT_ARRAY) != 0; }
    bool IsDispatch() const { return VarType() == VT_DISPATCH && V_DISPATCH(&v_); }

    // Conversions; a value that does not convert raises EVariantError.
    // Empty and Null give the empty text.
    String ToString() const;
    Integer ToInteger() const;
    Int64 ToInt64() const;
    double ToDouble() const;
    bool ToBool() const;
    TDateTime ToDateTime() const;
    IDispatch* ToDispatch() const;   // no added reference

    const VARIANT& Raw() const { return v_; }
    VARIANT* Ptr() { return &v_; }
    // Empties this variant and gives its content to the caller.
    VARIANT Detach();

    // Late-bound calls on the automation object this variant holds. The
    // member is looked up by name; the server's error raises EOleException,
    // a member it does not know EOleError.
    Variant OleFunction(const String& Name, std::initializer_list<Variant> Args = {}) const;
    void OleProcedure(const String& Name, std::initializer_list<Variant> Args = {}) const;
    Variant OlePropertyGet(const String& Name, std::initializer_list<Variant> Args = {}) const;
    // Args are the property's indexes, when it has any.
    void OlePropertySet(const String& Name, const Variant& Value,
                        std::initializer_list<Variant> Args = {}) const;
    // The general form: any of DISPATCH_METHOD, DISPATCH_PROPERTYGET,
    // DISPATCH_PROPERTYPUT, with positional and named arguments in order.
    Variant Invoke(const String& Name, WORD Flags, const std::vector<TOleArg>& Args) const;

private:
    VARIANT v_;
};

struct TOleArg {
    TOleArg(Variant value) : Value(std::move(value)) {}
    TOleArg(String name, Variant value) : Name(std::move(name)), Value(std::move(value)) {}
    String Name;
    Variant Value;
};

extern const Variant Unassigned;

// The class library's helpers for variants.
String VarToStr(const Variant& V);
bool VarIsEmpty(const Variant& V);
bool VarIsNull(const Variant& V);
bool VarIsArray(const Variant& V);
VARTYPE VarType(const Variant& V);

// Arrays: Bounds holds a low and a high bound for each dimension in order,
// so {0, R - 1, 0, C - 1} makes R rows of C columns; Indexes follow the same
// order. VarType is the element type (VT_VARIANT for mixed values).
Variant VarArrayCreate(std::initializer_list<int> Bounds, VARTYPE VarType);
int VarArrayDimCount(const Variant& A);
int VarArrayLowBound(const Variant& A, int Dim);
int VarArrayHighBound(const Variant& A, int Dim);
Variant VarArrayGet(const Variant& A, std::initializer_list<int> Indexes);
void VarArrayPut(Variant& A, const Variant& Value, std::initializer_list<int> Indexes);
