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

// --- values in texts, as the grid's sort and sizing judge them

// Value unchanged when Min = Max; otherwise capped by a positive Max, then
// raised to a positive Min.
int ApplyMinMaxLimits(int Value, int Min, int Max);

// The kind of value a text holds, with the locale's separators. The sort
// takes the three number kinds as numbers.
enum : Byte {
    vkInteger = 0,
    vkFloat = 1,
    vkText = 2,
    vkDate = 3,
    vkTime = 4,
    vkFloatExponent = 5
};
Byte DetectValueKind(const String& s);

// ASCII digits and the digits of other scripts.
bool IsNumericChar(wchar_t ch);

// Runs of digits compare by value ("file2" before "file10"); negative, 0 or
// positive.
int CompareStrLogical(const String& s1, const String& s2);

// Month, day and year (day first for DMY) separated by "/", "." or "-", the
// same one twice; a two-digit year up to 25 is 20xx, otherwise 19xx. 0 when
// the text does not parse.
TDateTime ParseDateMDY(const String& s);
TDateTime ParseDateDMY(const String& s);

// --- what a cell text holds

enum : Byte {
    ctkPlain = 0,
    ctkHTML = 1,
    ctkRTF = 2,
    ctkFormula = 3,
    ctkURL = 4,
    ctkPackedWide = 5
};
// A leading "=" is a formula, "|\" packed wide text, "{\" rich text; then,
// with DetectHTML, a text holding "</", "<IM", "<BR" or "<CO" (any case) is
// HTML; "://" or "mailto:" make a URL; anything else is plain.
Byte ClassifyCellText(const String& Text, bool DetectHTML);

// A number text made convertible: the characters before the number dropped
// (a minus or an opening parenthesis among them makes it negative), the
// locale's thousand separators removed and its decimal separator made ".",
// and the text cut at the first character no number holds.
String NormalizeNumberText(const String& s);
