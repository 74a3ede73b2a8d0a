// Captions of the text encodings the library's dialogs offer.
#pragma once

#include "System.h"

// ANSI, ASCII, Unicode, big-endian Unicode, UTF-8, UTF-7.
extern String EncodingCaptions[6];

void acEncodings_Initialize();
void acEncodings_Finalize();
