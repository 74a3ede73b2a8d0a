// AdvUtil: plain text routines shared by the grid, its editors and the
// drop-down controls.
#pragma once

#include "System.h"

// Packed wide text lets 16-bit text live in 8-bit cell storage and files:
// "|\" followed, for every UTF-16 unit, by its high byte and its low byte as
// two characters.
String PackWideText(const String& Text);
// Reads packed wide text back; any other text comes back unchanged. An odd
// last character is ignored.
String UnpackWideText(const String& S);
