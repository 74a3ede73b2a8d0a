// The main window of Tavelin.
#pragma once

void Unit1_Initialize();
void Unit1_Finalize();

// Shows the main window and runs the message loop until it closes.
int RunMainWindow();
