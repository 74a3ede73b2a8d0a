// Looks up the window manager's layered-window functions at start. Nothing
// else calls them through here: the layered windows of the pack look them
// up themselves.
#pragma once

#include <windows.h>

namespace LayeredWindowFunctions {
extern decltype(&::UpdateLayeredWindow) UpdateLayeredWindow;
extern decltype(&::SetLayeredWindowAttributes) SetLayeredWindowAttributes;
// "SetLayeredWindowAttributes" was found.
bool Available();
} // namespace LayeredWindowFunctions

// Counted: only the first start-up acts; shut-down does nothing else.
void LayeredWindowFunctions_Initialize();
void LayeredWindowFunctions_Finalize();
