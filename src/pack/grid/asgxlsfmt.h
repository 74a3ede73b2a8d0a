// Spreadsheet number formats: a value shown as a spreadsheet shows a cell by
// a format string such as "0.00;[Red]-0.00", "[h]:mm", "dd/mm/yyyy" or "@".
// Formats come from workbooks and event handlers, so any text is accepted:
// a malformed format renders what it can and never reads past its end.
#pragma once

#include "Graphics.h"
#include "SysUtils.h"
#include "Variants.h"

// The full renderer. Settings may be null (the user's default locale is
// used); HasTime and HasDate tell whether a time or a date part was shown;
// Color changes only when the chosen section starts with a colour name.
String FormatExcelValueEx(const Variant& Value, const String& Format, bool Date1904,
                          const TFormatSettings* Settings, bool& HasTime, bool& HasDate, TColor& Color);
String FormatExcelValueColor(const Variant& Value, const String& Format, bool Date1904,
                             const TFormatSettings* Settings, TColor& Color);
// Date1904 off, the default settings, the colour discarded.
String FormatExcelValue(const Variant& Value, const String& Format);

// The unit's start-up and shut-down; finalization frees the cached locale.
void asgxlsfmt_Initialize();
void asgxlsfmt_Finalize();
