// What the library's colour dialogs take from start-up: the pipette cursor
// in the screen's cursor table and the custom colour slots.
#pragma once

#include "Controls.h"

// Loaded from the program's cursor resource "CRASPIPETTE".
constexpr TCursor crPipette = -50;

constexpr int CustomColorSlotCount = 18;
// Colours as hexadecimal text, "FFFFFF" each after start-up; null before.
extern TStringList* CustomColorSlots;

void acColorTools_Initialize();
void acColorTools_Finalize();
