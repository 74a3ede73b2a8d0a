// The WMI client the inventory runs its queries through: one interface, the
// platform's WMI behind one implementation and a scripted table behind another.
#pragma once

#include "SysUtils.h"
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

// One property value as WMI hands it back: null (also for a property the
// object does not have), a Boolean, an integer, a text or an array of values.
class TWmiValue {
public:
    enum TKind { wvNull, wvBoolean, wvInteger, wvText, wvArray };

    TWmiValue() = default;
    TWmiValue(bool value) : kind_(wvBoolean), integer_(value ? 1 : 0) {}
    template <class I, std::enable_if_t<std::is_integral_v<I> && !std::is_same_v<I, bool>, int> = 0>
    TWmiValue(I value) : kind_(wvInteger), integer_(static_cast<Int64>(value))
    {
    }
    TWmiValue(const wchar_t* value) : kind_(wvText), text_(value) {}
    TWmiValue(String value) : kind_(wvText), text_(std::move(value)) {}
    TWmiValue(std::vector<TWmiValue> items) : kind_(wvArray), items_(std::move(items)) {}

    TKind Kind() const { return kind_; }
    bool IsNull() const { return kind_ == wvNull; }

    // Text as a late-bound caller sees it: integers in decimal, Booleans as
    // "True"/"False", null as empty. An array raises EVariantError. A value
    // about to go hands its text over instead of copying it.
    String AsText() const&;
    String AsText() &&;
    // Integers as they are, texts holding a decimal integer (WMI hands 64-bit
    // values over as text); anything else raises EConvertError.
    Int64 AsInteger() const;
    // Booleans, integers (non-zero is true) and the texts "True"/"False".
    bool AsBoolean() const;
    // The elements of an array; anything else raises EVariantError.
    const std::vector<TWmiValue>& Items() const;

private:
    String AsTextOrKind() const;  // for error messages

    TKind kind_ = wvNull;
    Int64 integer_ = 0;
    String text_;
    std::vector<TWmiValue> items_;
};

// One object of a query's answer.
class TWmiObject {
public:
    virtual ~TWmiObject() = default;
    // The named property (names compare without regard to case); null when
    // the object has no such property.
    virtual TWmiValue Get(const wchar_t* name) const = 0;
};

enum TWmiNamespace { wnCimv2, wnWmi };  // "root\cimv2" and "root\wmi"

// Called once per returned object, in the order WMI gives them.
using TWmiVisitor = std::function<void(const TWmiObject& object)>;

// Both namespaces of one computer.
class IWmiConnection {
public:
    virtual ~IWmiConnection() = default;
    // Runs a WQL query forward-only and walks its answer. A failure of the
    // query or of the walk raises EOleSysError; objects visited before it stay visited.
    virtual void ExecQuery(TWmiNamespace ns, const String& wql, const TWmiVisitor& visit) = 0;
};

class IWmiClient {
public:
    virtual ~IWmiClient() = default;
    // Connects to "root\cimv2" and "root\wmi" of the named computer (empty:
    // this computer) with the caller's own credentials; raises EOleSysError.
    // The real client needs COM initialised on the calling thread, and the
    // connection must be released before COM is uninitialised.
    virtual std::unique_ptr<IWmiConnection> Connect(const String& computer) = 0;
};

// The platform's WMI through IWbemLocator and IWbemServices.
class TWbemClient : public IWmiClient {
public:
    std::unique_ptr<IWmiConnection> Connect(const String& computer) override;
};
