// One owner type for every kind of handle: TUniqueHandle<Traits> holds one
// handle and releases it on every path, exceptions included. A kind of
// handle is a traits struct naming the handle type, the value that means
// "none" and the call that releases it; the kinds the run time uses are
// below, the GDI and USER kinds in src/vcl/GdiHandles.h.
#pragma once

#include <windows.h>
#include <utility>

// Traits: using Handle = ...; static Handle Invalid(); static bool IsValid(Handle);
// static void Close(Handle).
template <class Traits>
class TUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    TUniqueHandle() noexcept = default;
    // Takes over a handle that we own (an invalid one is allowed).
    explicit TUniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::IsValid(handle_); }
    // Gives up ownership without releasing.
    Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    // Releases the handle held (unless it is the one given) and takes the new one.
    void Reset(Handle handle = Traits::Invalid()) noexcept
    {
        Handle old = std::exchange(handle_, handle);
        if (Traits::IsValid(old) && old != handle)
            Traits::Close(old);
    }
    // For an API that returns the handle through a pointer: releases the one
    // held and hands out the slot.
    Handle* Put() noexcept
    {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Invalid();
};

// Traits for handles whose "none" is null; Close is the one release call.
template <class H>
struct TNullHandleTraits {
    using Handle = H;
    static constexpr Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle handle) noexcept { return handle != nullptr; }
};

// A kernel object (event, thread, process, file, mapping). The file API
// answers INVALID_HANDLE_VALUE where the others answer null: neither is owned.
struct TKernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static bool IsValid(Handle handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

// A module from LoadLibrary (GetModuleHandle's are not ours to free).
struct TModuleTraits : TNullHandleTraits<HMODULE> {
    static void Close(Handle module) noexcept { FreeLibrary(module); }
};

// A registry key that we opened or created (never a predefined root).
struct TRegKeyTraits : TNullHandleTraits<HKEY> {
    static void Close(Handle key) noexcept { RegCloseKey(key); }
};

// A hook from SetWindowsHookEx.
struct THookTraits : TNullHandleTraits<HHOOK> {
    static void Close(Handle hook) noexcept { UnhookWindowsHookEx(hook); }
};

using TKernelHandle = TUniqueHandle<TKernelHandleTraits>;
using TModuleHandle = TUniqueHandle<TModuleTraits>;
using TRegKeyHandle = TUniqueHandle<TRegKeyTraits>;
using THookHandle = TUniqueHandle<THookTraits>;
