// COM support: reference-counted interface pointers, automation objects by
// ProgID, and collections walked through their enumerator.
#pragma once

#include "Variants.h"
#include <functional>
#include <objbase.h>

// Owns one reference to a COM interface.
template <class I>
class TComPtr {
public:
    TComPtr() = default;
    TComPtr(I* p) : p_(p)
    {
        if (p_)
            p_->AddRef();
    }
    TComPtr(const TComPtr& o) : TComPtr(o.p_) {}
    TComPtr(TComPtr&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    TComPtr& operator=(TComPtr o) noexcept
    {
        std::swap(p_, o.p_);
        return *this;
    }
    ~TComPtr() { Release(); }

    I* Get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void Release()
    {
        if (p_) {
            I* p = p_;
            p_ = nullptr;
            p->Release();
        }
    }
    // Releases what is held and gives the address for an out parameter.
    I** ReleaseAndGetAddressOf()
    {
        Release();
        return &p_;
    }
    // Takes over a reference the caller already owns.
    void Attach(I* p)
    {
        Release();
        p_ = p;
    }
    I* Detach()
    {
        I* p = p_;
        p_ = nullptr;
        return p;
    }
    // The same object through another interface; empty when it has none.
    template <class J>
    TComPtr<J> As() const
    {
        TComPtr<J> result;
        if (p_)
            p_->QueryInterface(__uuidof(J), reinterpret_cast<void**>(result.ReleaseAndGetAddressOf()));
        return result;
    }

private:
    I* p_ = nullptr;
};

// COM on the calling thread for the life of the object. A thread that is
// already in another apartment keeps it, and COM is used as it is.
class TComInitializer {
public:
    explicit TComInitializer(DWORD CoInit = COINIT_APARTMENTTHREADED) : result_(CoInitializeEx(nullptr, CoInit)) {}
    ~TComInitializer()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    TComInitializer(const TComInitializer&) = delete;
    TComInitializer& operator=(const TComInitializer&) = delete;

private:
    HRESULT result_;
};

// Initializes COM for the calling thread (apartment threaded) and undoes it.
void ComObj_Initialize();
void ComObj_Finalize();

// Raises EOleSysError with the system's text when Result is a failure.
void OleCheck(HRESULT Result);

// Creates the automation object of a ProgID ("Scripting.Dictionary"), or
// attaches to the running one; raises EOleSysError when there is none.
Variant CreateOleObject(const String& ClassName);
Variant GetActiveOleObject(const String& ClassName);

// Calls Action for every item of an automation collection (its _NewEnum).
void ForEachItem(const Variant& Collection, const std::function<void(const Variant& Item)>& Action);
