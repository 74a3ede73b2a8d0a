// Printing of the class library stand-in: the page orientation that print
// settings name.
#pragma once

enum TPrinterOrientation { poPortrait, poLandscape };
