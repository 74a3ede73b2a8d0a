#include "TypInfo.h"
#include <algorithm>

namespace {

struct TClassProperties {
    std::type_index Class;
    bool (*IsInstance)(const TObject*);
    std::vector<TPropInfo> Properties;
};

std::vector<TClassProperties>& Registry()
{
    static std::vector<TClassProperties> classes;
    return classes;
}

bool IsOrdinal(const TPropInfo* PropInfo)
{
    return PropInfo->Kind == tkInteger || PropInfo->Kind == tkEnumeration || PropInfo->Kind == tkSet;
}

} // namespace

void RegisterPublishedProperties(std::type_index Class, bool (*IsInstance)(const TObject*),
                                 std::vector<TPropInfo> Properties)
{
    UnregisterPublishedProperties(Class);
    Registry().push_back({Class, IsInstance, std::move(Properties)});
}

void UnregisterPublishedProperties(std::type_index Class)
{
    auto& classes = Registry();
    classes.erase(std::remove_if(classes.begin(), classes.end(),
                                 [&](const TClassProperties& c) { return c.Class == Class; }),
                  classes.end());
}

const TPropInfo* GetPropInfo(const TObject* Instance, const String& PropName)
{
    if (!Instance)
        return nullptr;
    const auto& classes = Registry();
    // Descendants register after their ancestors: the newest match is the most derived.
    for (auto c = classes.rbegin(); c != classes.rend(); ++c) {
        if (!c->IsInstance(Instance))
            continue;
        for (const TPropInfo& info : c->Properties)
            if (SameText(info.Name, PropName))
                return &info;
    }
    return nullptr;
}

bool IsPublishedProp(const TObject* Instance, const String& PropName)
{
    return GetPropInfo(Instance, PropName) != nullptr;
}

Int64 GetOrdProp(TObject* Instance, const TPropInfo* PropInfo)
{
    if (!IsOrdinal(PropInfo))
        throw EPropertyError(L"Property " + PropInfo->Name + L" is not of an ordinal type");
    return PropInfo->GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo* PropInfo, Int64 Value)
{
    if (!IsOrdinal(PropInfo))
        throw EPropertyError(L"Property " + PropInfo->Name + L" is not of an ordinal type");
    if (!PropInfo->SetOrd)
        throw EPropertyError(L"Property " + PropInfo->Name + L" is read-only");
    bool inRange = PropInfo->Kind == tkSet
                       ? (Value & ~PropInfo->MaxValue) == 0
                       : PropInfo->MinValue <= Value && Value <= PropInfo->MaxValue;
    if (!inRange)
        throw ERangeError(L"Value " + IntToStr(Value) + L" is out of range for property " + PropInfo->Name);
    PropInfo->SetOrd(Instance, Value);
}

TObject* GetObjectProp(TObject* Instance, const TPropInfo* PropInfo)
{
    if (PropInfo->Kind != tkClass)
        throw EPropertyError(L"Property " + PropInfo->Name + L" does not hold an object");
    return PropInfo->GetObject(Instance);
}

String GetEnumName(const TPropInfo* PropInfo, int Value)
{
    const auto& names = PropInfo->ValueNames;
    return Value >= 0 && static_cast<size_t>(Value) < names.size() ? names[static_cast<size_t>(Value)]
                                                                   : String();
}

int GetEnumValue(const TPropInfo* PropInfo, const String& Name)
{
    const auto& names = PropInfo->ValueNames;
    auto it = std::find(names.begin(), names.end(), Name);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}
