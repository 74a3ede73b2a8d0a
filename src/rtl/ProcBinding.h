// Binding to a function that a system library may lack, at run time.
#pragma once

#include <windows.h>

// The named export of a module as a typed function pointer; null when the
// module is null or does not export it. The cast goes through void* because
// FARPROC and the target type are unrelated function pointer types.
template <class F>
F BindProc(HMODULE module, const char* name) noexcept
{
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// The same, written into an existing pointer; true when it was found.
template <class F>
bool BindProc(F& target, HMODULE module, const char* name) noexcept
{
    target = BindProc<F>(module, name);
    return target != nullptr;
}
