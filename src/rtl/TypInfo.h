// Published properties by name: the part of the class library's run-time
// type information that lets code read and write properties of classes it
// does not know at compile time. A class registers its published properties
// once, from its unit's start-up; a lookup finds them on instances of that
// class and of its descendants. Names compare without regard to ASCII case.
#pragma once

#include "SysUtils.h"
#include <initializer_list>
#include <limits>
#include <type_traits>
#include <typeindex>
#include <vector>

TAVELIN_EXCEPTION(EPropertyError, Exception)

// Booleans are enumerations (False, True), as in the class library.
enum TTypeKind { tkInteger, tkEnumeration, tkSet, tkClass };

struct TPropInfo {
    String Name;
    TTypeKind Kind = tkInteger;
    // Enumerations: the value names by ordinal. Sets: the member names by bit.
    std::vector<String> ValueNames;
    // The ordinal values a write accepts (for a set, the bits of its members).
    Int64 MinValue = 0;
    Int64 MaxValue = 0;
    std::function<Int64(TObject*)> GetOrd;        // ordinal kinds
    std::function<void(TObject*, Int64)> SetOrd;  // ordinal kinds; empty when read-only
    std::function<TObject*(TObject*)> GetObject;  // tkClass
};

// A class registers after its ancestors, so that a property it declares
// again is the one found. Registering a class again replaces its list.
void RegisterPublishedProperties(std::type_index Class, bool (*IsInstance)(const TObject*),
                                 std::vector<TPropInfo> Properties);
void UnregisterPublishedProperties(std::type_index Class);

template <class T>
void RegisterPublishedProperties(std::vector<TPropInfo> Properties)
{
    RegisterPublishedProperties(
        typeid(T), [](const TObject* o) { return dynamic_cast<const T*>(o) != nullptr; },
        std::move(Properties));
}
template <class T>
void UnregisterPublishedProperties()
{
    UnregisterPublishedProperties(typeid(T));
}

// Null when Instance is null or its class publishes no property of that name.
const TPropInfo* GetPropInfo(const TObject* Instance, const String& PropName);
bool IsPublishedProp(const TObject* Instance, const String& PropName);

// Raise EPropertyError for a property of another kind or an instance of
// another class, ERangeError for a value the property cannot hold, and
// EPropertyError for a write to a read-only property.
Int64 GetOrdProp(TObject* Instance, const TPropInfo* PropInfo);
void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, Int64 Value);
TObject* GetObjectProp(TObject* Instance, const TPropInfo* PropInfo);

// The name of an enumeration value or set member; empty when out of range.
String GetEnumName(const TPropInfo* PropInfo, int Value);
// The ordinal of a value or member name (exact comparison); -1 when unknown.
int GetEnumValue(const TPropInfo* PropInfo, const String& Name);

// ---------------------------------------------------------------------------
// Building the entries from a class's getters and setters.
namespace typinfo_detail {

template <class V>
struct IsSet : std::false_type {};
template <class E, std::size_t N>
struct IsSet<Set<E, N>> : std::true_type {};

template <class V>
Int64 ToOrd(const V& value)
{
    if constexpr (IsSet<V>::value)
        return static_cast<Int64>(value.ToInt());
    else
        return static_cast<Int64>(value);
}

template <class V>
V FromOrd(Int64 value)
{
    if constexpr (IsSet<V>::value)
        return V::FromInt(static_cast<unsigned long long>(value));
    else
        return static_cast<V>(value);
}

template <class T>
T* Cast(TObject* Instance, const String& Name)
{
    T* object = dynamic_cast<T*>(Instance);
    if (!object)
        throw EPropertyError(L"The object has no property " + Name);
    return object;
}

template <class T, class V, class A>
TPropInfo Ordinal(const wchar_t* Name, TTypeKind Kind, V (T::*Get)() const, void (T::*Put)(A),
                  std::vector<String> Names, Int64 Min, Int64 Max)
{
    using Value = std::remove_cvref_t<A>;
    static_assert(std::is_same_v<std::remove_cvref_t<V>, Value>, "getter and setter types differ");
    TPropInfo info;
    info.Name = Name;
    info.Kind = Kind;
    info.ValueNames = std::move(Names);
    info.MinValue = Min;
    info.MaxValue = Max;
    String name = Name;
    info.GetOrd = [Get, name](TObject* o) { return ToOrd<Value>((Cast<T>(o, name)->*Get)()); };
    info.SetOrd = [Put, name](TObject* o, Int64 v) { (Cast<T>(o, name)->*Put)(FromOrd<Value>(v)); };
    return info;
}

} // namespace typinfo_detail

// An integer property (a colour, a size, a count).
template <class T, class V, class A>
TPropInfo IntegerProperty(const wchar_t* Name, V (T::*Get)() const, void (T::*Put)(A))
{
    using Value = std::remove_cvref_t<V>;
    static_assert(std::is_integral_v<Value> && !std::is_same_v<Value, bool>);
    return typinfo_detail::Ordinal(Name, tkInteger, Get, Put, {}, std::numeric_limits<Value>::min(),
                                   std::numeric_limits<Value>::max());
}

template <class T, class A>
TPropInfo BooleanProperty(const wchar_t* Name, bool (T::*Get)() const, void (T::*Put)(A))
{
    return typinfo_detail::Ordinal(Name, tkEnumeration, Get, Put, {L"False", L"True"}, 0, 1);
}

// Names: the enumeration's value names in ordinal order.
template <class T, class V, class A>
TPropInfo EnumProperty(const wchar_t* Name, V (T::*Get)() const, void (T::*Put)(A),
                       std::initializer_list<const wchar_t*> Names)
{
    static_assert(std::is_enum_v<std::remove_cvref_t<V>>);
    return typinfo_detail::Ordinal(Name, tkEnumeration, Get, Put, {Names.begin(), Names.end()}, 0,
                                   static_cast<Int64>(Names.size()) - 1);
}

// Names: the member enumeration's value names in ordinal order (at most 63).
template <class T, class V, class A>
TPropInfo SetProperty(const wchar_t* Name, V (T::*Get)() const, void (T::*Put)(A),
                      std::initializer_list<const wchar_t*> Names)
{
    static_assert(typinfo_detail::IsSet<std::remove_cvref_t<V>>::value);
    return typinfo_detail::Ordinal(Name, tkSet, Get, Put, {Names.begin(), Names.end()}, 0,
                                   static_cast<Int64>((1ULL << Names.size()) - 1));
}

// A property holding an object (a font, a scroll bar); read-only here.
template <class T, class C>
TPropInfo ObjectProperty(const wchar_t* Name, C* (T::*Get)() const)
{
    static_assert(std::is_base_of_v<TObject, C>);
    TPropInfo info;
    info.Name = Name;
    info.Kind = tkClass;
    String name = Name;
    info.GetObject = [Get, name](TObject* o) -> TObject* {
        return (typinfo_detail::Cast<T>(o, name)->*Get)();
    };
    return info;
}
