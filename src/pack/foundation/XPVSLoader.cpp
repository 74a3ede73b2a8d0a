#include "XPVSLoader.h"

#include "SysUtils.h"
#include "UniqueHandle.h"

namespace xpvs {

namespace {

HMODULE PlatformLoadLibrary(LPCWSTR name) { return ::LoadLibraryW(name); }
FARPROC PlatformGetProcAddress(HMODULE module, LPCSTR name) { return ::GetProcAddress(module, name); }

constexpr TLibraryCalls PlatformCalls{PlatformLoadLibrary, PlatformGetProcAddress};
TLibraryCalls calls = PlatformCalls;

void UnbindAll(const TUnit& unit)
{
    for (std::size_t i = 0; i < unit.SlotCount; ++i)
        unit.Slots[i].Bind(nullptr);
}

} // namespace

TLibraryCalls& LibraryCalls() { return calls; }
void ResetLibraryCalls() { calls = PlatformCalls; }

void Load(TUnit& Unit)
{
    if (Unit.Loaded)
        return;
    HMODULE library = calls.LoadLibrary(L"UXTHEME.DLL");
    if (reinterpret_cast<UINT_PTR>(library) < 32) {
        Unit.Loaded = false;
        return;
    }
    Unit.Library = library;
    Unit.Loaded = true;
    for (std::size_t i = 0; i < Unit.SlotCount; ++i) {
        FARPROC address = calls.GetProcAddress(library, Unit.Slots[i].Name);
        Unit.Slots[i].Bind(address);
        if (!address)
            throw EAssertionFailed(Format(L"Assertion failure (%s, line %d)", Unit.SourceName,
                                          Unit.FirstLine + 3 * static_cast<int>(i)));
    }
}

void Unload(TUnit& Unit)
{
    if (!Unit.Loaded)
        return;
    TModuleHandle(std::exchange(Unit.Library, nullptr)).Reset();
    Unit.Loaded = false;
    // Calls after the library is gone must find nothing rather than stale addresses.
    UnbindAll(Unit);
}

} // namespace xpvs
