// Basic types of the class library stand-in: strings, the root object,
// two-phase creation, Pascal-style sets and event types.
#pragma once

#include <windows.h>
#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>

using String = std::wstring;      // UTF-16, as the platform's wide API
using AnsiString = std::string;   // 8-bit text in the system code page
using Byte = std::uint8_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;
using Integer = std::int32_t;
using Int64 = std::int64_t;
using TDateTime = double;         // days since 1899-12-30, time as the fraction

class TObject;

// The root of every class-library object. ClassName() gives the class's own
// name without namespaces, since some code chooses behaviour by it.
class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // Runs after the C++ constructor of the most derived class, so that work
    // depending on overrides (as a Pascal constructor would do) can go here.
    virtual void AfterConstruction() {}
    // Runs before destruction while the whole object is still alive.
    virtual void BeforeDestruction() {}

    String ClassName() const;
    bool InheritsFrom(const String& className) const;

    // Destroys the object the way the class library does: BeforeDestruction
    // on the complete object, then the destructors.
    void Free();
};

// Frees an object created with New (null is allowed).
inline void FreeAndNil(TObject*& obj)
{
    TObject* o = obj;
    obj = nullptr;
    if (o)
        o->Free();
}
template <class T>
void FreeAndNil(T*& obj)
{
    T* o = obj;
    obj = nullptr;
    if (o)
        o->Free();
}

// Two-phase creation: the constructor, then AfterConstruction on the
// complete object. Every class-library object is created through this.
template <class T, class... Args>
T* New(Args&&... args)
{
    // Not Free: BeforeDestruction would run on an object never completed.
    std::unique_ptr<T> obj(new T(std::forward<Args>(args)...));
    obj->AfterConstruction();
    return obj.release();
}

// Deleter for std::unique_ptr of objects that must be destroyed with Free.
struct TObjectDeleter {
    void operator()(TObject* obj) const
    {
        if (obj)
            obj->Free();
    }
};
template <class T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

// A Pascal set over an enumeration whose values are 0..N-1 (N <= 256).
template <class E, std::size_t N = 256>
class Set {
public:
    Set() = default;
    Set(std::initializer_list<E> items)
    {
        for (E e : items)
            bits_.set(Index(e));
    }

    bool Contains(E e) const { return bits_.test(Index(e)); }
    Set& Include(E e)
    {
        bits_.set(Index(e));
        return *this;
    }
    Set& Exclude(E e)
    {
        bits_.reset(Index(e));
        return *this;
    }
    bool Empty() const { return bits_.none(); }
    void Clear() { bits_.reset(); }

    Set operator+(const Set& o) const { return Set(bits_ | o.bits_); }
    Set operator-(const Set& o) const { return Set(bits_ & ~o.bits_); }
    Set operator*(const Set& o) const { return Set(bits_ & o.bits_); }
    Set& operator+=(const Set& o)
    {
        bits_ |= o.bits_;
        return *this;
    }
    Set& operator-=(const Set& o)
    {
        bits_ &= ~o.bits_;
        return *this;
    }
    Set operator+(E e) const { return Set(*this).Include(e); }
    Set operator-(E e) const { return Set(*this).Exclude(e); }
    Set& operator<<(E e) { return Include(e); }
    Set& operator>>(E e) { return Exclude(e); }
    bool operator==(const Set& o) const { return bits_ == o.bits_; }
    bool operator!=(const Set& o) const { return bits_ != o.bits_; }
    // True when every member of this set is in the other one (Pascal <=).
    bool SubsetOf(const Set& o) const { return (bits_ & ~o.bits_).none(); }

    // Raw bits, for streaming a set as Pascal does (lowest member in bit 0).
    unsigned long long ToInt() const { return (bits_ & std::bitset<N>(~0ULL)).to_ullong(); }
    static Set FromInt(unsigned long long v) { return Set(std::bitset<N>(v)); }

private:
    explicit Set(std::bitset<N> b) : bits_(b) {}
    static std::size_t Index(E e) { return static_cast<std::size_t>(e); }
    std::bitset<N> bits_;
};

// A setter's first step: stores value in field when it differs and answers
// whether it did, so that the caller repaints or notifies only on a change.
template <class T>
bool StoreChanged(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// Method-pointer events of the class library.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Fires an event that may be unassigned.
inline void FireEvent(const TNotifyEvent& event, TObject* sender)
{
    if (event)
        event(sender);
}

// The instance handle of the program (or of the test executable).
HINSTANCE HInstance();
