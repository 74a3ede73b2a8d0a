#include "LayeredWindowFunctions.h"
#include "ProcBinding.h"
#include "UniqueHandle.h"

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
    const TModuleHandle user32(LoadLibraryW(L"user32.dll"));
    if (!user32)
        return;
    BindProc(lw::UpdateLayeredWindow, user32.Get(), "UpdateLayeredWindow");
    BindProc(lw::SetLayeredWindowAttributes, user32.Get(), "SetLayeredWindowAttributes");
    // The program links user32 itself, so the addresses outlive this reference.
    lw::available = lw::SetLayeredWindowAttributes != nullptr;
}

void LayeredWindowFunctions_Finalize()
{
    if (LayeredWindowFunctions::starts > 0)
        --LayeredWindowFunctions::starts;
}
