// AdvUtil: plain routines shared by the grid, its editors and the drop-down
// controls: texts and the values they hold, and the GDI drawing of cell
// backgrounds and selection bands.
#pragma once

#include "Graphics.h"
#include "System.h"

// Packed wide text lets 16-bit text live in 8-bit cell storage and files:
// "|\" followed, for every UTF-16 unit, by its high byte and its low byte as
// two characters.
String PackWideText(const String& Text);
// The text opens with the mark of packed wide text.
bool IsPackedWideText(const String& S);
// Reads packed wide text back; any other text comes back unchanged. An odd
// last character is ignored.
String UnpackWideText(const String& S);

// ---------------------------------------------------------------------------
// Drawing. The routines leave the canvas's pen and brush changed.

// A linear gradient over R in Steps bands (at most one per pixel), left to
// right when Horizontal, else top to bottom; the last pixel takes ColorTo.
// With one colour clNone, R is filled with the other.
void DrawGradientRect(TCanvas* Canvas, TColor ColorFrom, TColor ColorTo, int Steps, const TRect& R,
                      bool Horizontal);

// A cell background: Color alone, a 128-band gradient to ColorTo, or, with a
// MirrorColor, two gradients split at the middle (of the height when
// Vertical, else of the width). Then a frame in BorderColor (only the left
// and right lines when SidesOnly) unless that is clNone.
void DrawCellBackground(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor MirrorColor,
                        TColor MirrorColorTo, bool Vertical, TColor BorderColor, bool SidesOnly, bool Fill);

// One cell of a selection band with rounded ends. Part: 0 a single cell,
// 1 the left end, 2 the right end, 3 a middle cell (higher values: a middle
// cell inset at both ends). The band leaves the last column and the last
// row of R to the grid lines; BackgroundColor shows through the corners.
void DrawStyledSelectionRect(TCanvas* Canvas, TColor Color, TColor ColorTo, TColor MirrorColor,
                             TColor MirrorColorTo, TColor InnerTopColor, TColor InnerBottomColor,
                             TColor BorderColor, TColor CornerColor, TColor BackgroundColor, const TRect& R,
                             int Part);

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

// --- lines of a cell text

// 1 unless MultiLine; otherwise 1 plus every CR (taken together with the
// character after it) that more text follows.
int CountTextLines(const String& S, bool MultiLine);
// For pasting into a spreadsheet: every CR LF becomes a vertical tab and the
// text is put in double quotes.
void QuoteMultilineCell(String& S);
