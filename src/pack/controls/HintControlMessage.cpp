#include "HintControlMessage.h"

namespace {
UINT message = 0;
int starts = 0;
} // namespace

UINT HintControlMessage::Message()
{
    return message;
}

void HintControlMessage_Initialize()
{
    if (starts++ > 0)
        return;
    message = RegisterWindowMessageW(L"ClearHintControl");
}

void HintControlMessage_Finalize()
{
    if (starts > 0)
        --starts;
}
