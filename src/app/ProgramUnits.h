// Start-up and shut-down of every unit of the program in link order: the
// run time and class library, the skin library, the component pack, then
// the application unit; shut-down in reverse.
#pragma once

void InitializeProgramUnits();
// Runs after the program's forms are gone, since their controls stand on
// the units it shuts down.
void FinalizeProgramUnits();
