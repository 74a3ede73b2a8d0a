#include "LayeredWindowFunctions.h"

namespace LayeredWindowFunctions {
decltype(&::UpdateLayeredWindow) UpdateLayeredWindow = nullptr;
decltype(&::SetLayeredWindowAttributes) SetLayeredWindowAttributes = nullptr;
namespace {
bool available = false;
int starts = 0;
} // namespace

bool Available()
{
    return available;
}
} // namespace LayeredWindowFunctions

void LayeredWindowFunctions_Initialize()
{
    namespace lw = LayeredWindowFunctions;
    if (lw::starts++ > 0)
        return;
    HMODULE user32 = LoadLibraryW(L"user32.dll");
    if (!user32)
        return;
    lw::UpdateLayeredWindow = reinterpret_cast<decltype(lw::UpdateLayeredWindow)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
    lw::SetLayeredWindowAttributes = reinterpret_cast<decltype(lw::SetLayeredWindowAttributes)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    // The program links user32 itself, so the addresses outlive this reference.
    FreeLibrary(user32);
    lw::available = lw::SetLayeredWindowAttributes != nullptr;
}

void LayeredWindowFunctions_Finalize()
{
    if (LayeredWindowFunctions::starts > 0)
        --LayeredWindowFunctions::starts;
}
