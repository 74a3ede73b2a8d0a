// Registers the window message "ClearHintControl" at start.
#pragma once

#include <windows.h>

namespace HintControlMessage {
// The message's number; 0 before start-up.
UINT Message();
} // namespace HintControlMessage

// Counted: only the first start-up acts; shut-down does nothing else.
void HintControlMessage_Initialize();
void HintControlMessage_Finalize();
