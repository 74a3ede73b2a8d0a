#include "System.h"
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

namespace {

String Demangled(const std::type_info& type)
{
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string text = status == 0 && name ? name : type.name();
    std::free(name);
    // Units keep clashing names in namespaces; the class name is the last part.
    std::size_t pos = text.rfind("::");
    if (pos != std::string::npos)
        text = text.substr(pos + 2);
    return String(text.begin(), text.end());
}

// Walks the base classes of a polymorphic type through the ABI's type info.
bool DerivesFrom(const std::type_info& type, const String& name)
{
    if (Demangled(type) == name)
        return true;
    if (auto* si = dynamic_cast<const abi::__si_class_type_info*>(&type))
        return DerivesFrom(*si->__base_type, name);
    if (auto* vmi = dynamic_cast<const abi::__vmi_class_type_info*>(&type)) {
        for (unsigned i = 0; i < vmi->__base_count; ++i)
            if (DerivesFrom(*vmi->__base_info[i].__base_type, name))
                return true;
    }
    return false;
}

} // namespace

String TObject::ClassName() const
{
    return Demangled(typeid(*this));
}

bool TObject::InheritsFrom(const String& className) const
{
    return DerivesFrom(typeid(*this), className);
}

void TObject::Free()
{
    BeforeDestruction();
    delete this;
}

HINSTANCE HInstance()
{
    return GetModuleHandleW(nullptr);
}
