// AdvUtil: plain routines shared by the grid, its editors and the drop-down
// controls: texts and the values they hold, filter expressions, and the GDI
// drawing of backgrounds, bars, glyphs and shapes.
#pragma once

#include "AdvStyleIF.h"
#include "Graphics.h"
#include "System.h"

class TStrings;
class TWinControl;

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

// ---------------------------------------------------------------------------
// More drawing: colours, bars, glyphs and shapes. Colours are TColor values;
// clNone means no colour. Pen, brush and font stay changed.

// Each channel from ColorFrom towards ColorTo by Step of the steps from
// StepFrom to StepTo; ColorFrom when ColorTo is clNone or the two steps are
// equal.
TColor InterpolateColor(TColor ColorFrom, TColor ColorTo, int StepFrom, int StepTo, int Step);
// Each channel halved.
TColor HalveColor(TColor Color);
// Each channel c becomes c + c * Percent / 100, kept within 0..255.
TColor BrightenColor(TColor Color, int Percent);
void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color);
// A filled triangle pointing down from (X - 3, Y) and (X + 3, Y) to (X, Y + 3).
void DrawSmallDownArrow(TCanvas* Canvas, int X, int Y, TColor Color);
// Bitmap at R's top-left at its own size, its top-left pixel's colour shown
// as BackColor.
void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, const TRect& R);
// The same for a bitmap resource of the program's module; nothing when the
// resource does not exist.
void DrawResourceBitmapTransparent(TCanvas* Canvas, TColor BackColor, const TRect& R, const String& ResourceName);

// How the button-like glyphs are drawn: 0 with the visual styles (classic
// where there are none), 1 classic, 2 flat, 3 from a colour-tone record.
// States: 0 normal, 1 hot, 2 down, 3 disabled.
// Window is the one whose visual styles draw kind 0.
void DrawDropDownButton(TCanvas* Canvas, HWND Window, const TRect& R, int Kind, int State,
                        const TColorTones& Tones);
void DrawButtonFace(TCanvas* Canvas, HWND Window, const TRect& R, int Kind, int State, const TColorTones& Tones,
                    bool ShowPrefix, const String& Caption);
void DrawSpinButtons(TCanvas* Canvas, HWND Window, const TRect& R, int Kind, int State, const TColorTones& Tones);

// A bar filled from the left to the value's percentage, its text centred
// (or just below the centre) and changing colour at the fill's edge. With
// a Format the text is the formatted value and the percentage is taken
// between Min and Max (an empty bar when they are equal); without one the
// value is the percentage and the text that number with "%".
void DrawProgressBar(TCanvas* Canvas, const TRect& R, TColor FillColor, TColor FillTextColor, TColor EmptyColor,
                     TColor EmptyTextColor, double Value, int MarginX, int MarginY, double Min, double Max,
                     const String& Format, TColor BorderColor, bool TextBelowCentre);

struct TProgressBarParams {
    TColor Level0Color = clLime;
    TColor Level0ColorTo = clNone;
    TColor Level1Color = clYellow;
    TColor Level1ColorTo = clNone;
    TColor Level2Color = 0x0080FF;
    TColor Level2ColorTo = clNone;
    TColor Level3Color = clRed;
    TColor Level3ColorTo = clNone;
    int Level1Perc = 70;
    int Level2Perc = 90;
    TColor BorderColor = clBlack;
    bool ShowBorder = false;
    bool Stacked = false;
    bool ShowPercentage = false;
    TFont* Font = nullptr;
    TColor CompleteFontColor = clBlue;
    bool CompletionSmooth = true;
    bool ShowGradient = false;
    int Steps = 16;
    TColor UncompleteFontColor = clWindowText; // not read by the drawing
    TColor BackgroundColor = clWhite;
    bool Vertical = false;
};
// A bar in level colours (stacked, or one pair chosen by Percent), smooth
// or in blocks; Percent is taken within 0..100.
void DrawLevelProgressBar(TCanvas* Canvas, const TRect& R, int Percent, const TProgressBarParams& Params);
// A bar from the centre, left for negative values, its length Value of
// MaxValue on either side; no bar when MaxValue is not positive.
void DrawBalanceBar(TCanvas* Canvas, const TRect& R, int Value, int MaxValue, bool ShowValue,
                    TColor NegativeColor, TColor PositiveColor);
// A grey circle with the wedge of Percent, clockwise from the top, flood
// filled in Color.
void DrawPieGlyph(TCanvas* Canvas, const TRect& R, TColor Color, int Percent, bool FillAbove);

enum TCellShape {
    csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown, csDiamond,
    csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar, csArrowUp, csArrowDown,
    csArrowLeft, csArrowRight, csHalfStar
};
// Nothing for a shape beyond csHalfStar.
void DrawCellShape(TCanvas* Canvas, int X, int Y, int Width, int Height, int Shape, TColor BrushColor,
                   TColor PenColor);

// A red zig-zag under Length characters of Text from character index Start
// (0-based), where an edit control of the canvas's font placed over R shows
// them; OffsetY moves it down from the characters' top.
void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const String& Text, const TRect& R, int OffsetY,
                        int Start, int Length);

// ---------------------------------------------------------------------------
// Locale, characters, integers and strings. Positions are 1-based, 0 is "not
// found"; a number character is a decimal digit of any script.

wchar_t GetDecimalSeparatorChar();
wchar_t GetThousandSeparatorChar();
wchar_t GetDateSeparatorChar();
wchar_t GetTimeSeparatorChar();
String GetShortDateFormatText();

bool IsNumberChar(wchar_t ch);
bool IsNumberOrMinusChar(wchar_t ch);
// Number character, thousand or decimal separator, "e" or "E".
bool IsFloatTextChar(wchar_t ch);
// IsFloatTextChar, "+" or "-".
bool IsSignedFloatChar(wchar_t ch);
// Number character or one of "+-.Ee".
bool IsNumberSyntaxChar(wchar_t ch);
// A key a numeric editor takes: number character, separators, "-",
// backspace, tab, enter and escape.
bool IsNumericEditKey(wchar_t ch);
// " ", "'", ",", "-" and ".".
bool IsWordBreakChar(wchar_t ch);

int IntMax(int A, int B);
int IntMin(int A, int B);
int ClampInt(int Value, int Min, int Max);
bool CellInGridRect(const TRect& R, int Col, int Row);

int CharPos(wchar_t Ch, const String& S);
int FindCharPos(wchar_t Ch, const String& S, int& Pos);
int FindSubstrPos(const String& Substr, const String& S, int& Pos);
// Substr in the upper-cased S (Substr taken as it is).
int PosInUpperCase(const String& Substr, const String& S);
int WidePos(const String& Substr, const String& S);
int CountChar(wchar_t Ch, const String& S);
int CountCharOccurrences(wchar_t Ch, wchar_t Delimiter, const String& S);
// The last of a run of Ch of odd length (doubled characters are literal),
// or a Ch that ends S; 0 when none.
int FindSingleChar(wchar_t Ch, const String& S, int& Pos);
int CountSingleChars(wchar_t Ch, const String& S);
// The texts between the delimiters, the last one always, even when empty.
void SplitStringToList(wchar_t Delimiter, const String& S, TStrings* List);
// Token: the text before the first delimiter, cut from S with it; empty,
// and S unchanged, without a delimiter.
void ExtractToken(String& S, wchar_t Delimiter, String& Token);
String ConcatStrings(TStrings* List);
String DoubleQuoteChars(const String& S);
String UndoubleChar(wchar_t Ch, const String& S);
void FillStringChars(String& S, wchar_t Ch);
// To and from 8-bit text in the OEM code page, one character per byte.
void StringToOEM(String& S);
void OEMToString(String& S);
// Accented letters reduced to their base letters; characters from U+0100
// on are dropped.
String RemoveDiacritics(const String& S);
// "mcdonald" -> "McDonald", "JOHN SMITH III" -> "John Smith III".
String CapitalizeName(const String& S);

// --- line breaks and quotes (CR 13, LF 10, VT 11)

String CRToBRTags(const String& S);
String EscapedNToCR(const String& S);
String CRToEscapedN(const String& S);
void VTToCRLF(String& S);
void CRLFToLF(String& S);
void CRToTilde(String& S);
void TildeToCRLF(String& S);
String RemoveCRChars(const String& S);
String CRToLF(const String& S);
// Line breaks as characters 9 and 8 (and 0 as 1), so that the text survives
// a line-based store; nothing changes in a text without CR.
String EncodeLineBreakChars(const String& S);
// Back again, the whole text when MultiLine, else its first line.
String DecodeLineBreakChars(const String& S, bool MultiLine);
// Line: the text before the first CR, cut from S with the CR and a LF after
// it; S is left empty when it has no CR or KeepRest is false.
void TakeFirstLine(String& S, bool KeepRest, String& Line);
// The line of S widest in the canvas's font.
String GetWidestLine(TCanvas* Canvas, const String& S);

// --- addresses

bool ContainsURL(const String& S);
// Cuts everything through "://" or else through "mailto:".
void StripURLScheme(String& S);
// Html: Text with "<" and ">" escaped and its first address starting with
// Prefix (given upper-case, found in any case) made a link; false when
// Text holds no such address.
bool InsertURLLink(const String& Text, const String& Prefix, String& Html);

// --- values

// "RRGGBB" of a colour value whose low byte is red.
String ColorToHTMLHex(COLORREF Rgb);
// "R<row>C<col>", any case: Cell.x the column, Cell.y the row.
bool ParseR1C1CellRef(const String& Text, TPoint& Cell);
// The date separator at position 2 or later, and again later but not right after.
bool HasDateSeparators(const String& S);
// Date moved by whole years, months or days when only one of them is given,
// else by Increment days.
TDateTime StepDate(int Years, int Months, int Days, TDateTime Date, double Increment);

// --- clipboard HTML and layered windows

// Html wrapped into the clipboard's "HTML Format" block. The offsets count
// the bytes of the block written as UTF-8, the form it goes to the clipboard in.
void WrapCFHTML(String& Html);
// The user32 functions looked up at each call; true without a call where
// the platform has none.
bool CallUpdateLayeredWindow(HWND Window, HDC DstDC, POINT* DstPoint, SIZE* Size, HDC SrcDC, POINT* SrcPoint,
                             COLORREF Key, BLENDFUNCTION* Blend, DWORD Flags);
bool CallSetLayeredWindowAttributes(HWND Window, COLORREF Key, BYTE Alpha, DWORD Flags);

// ---------------------------------------------------------------------------
// Filter expressions of the grid's filters and search footer: conditions
// such as "Smith", "A*", ">100", "<=31-12-2020", "!test", joined by "&"
// (and) and "|", ";", "^" (or) strictly left to right, with groups in
// parentheses; a group without its ")" runs to the end.
bool MatchFilterExpression(const String& Filter, const String& Value, bool CaseSensitive);
// One condition; "" (two double quotes) matches the empty value only.
bool MatchFilterCondition(const String& Condition, const String& Value, bool CaseSensitive);
// A comparison (">", ">=", "<", "<=" against a number, a date-time or a text)
// or a wildcard pattern ("*", "?", "!" negates, double quotes quote).
bool MatchFilterPattern(const wchar_t* Pattern, const wchar_t* Value);
// A date-time in the short date format's order of day, month and year, with
// an optional time "h:m[:s]".
bool ParseLocaleDateTime(const String& S, TDateTime& DateTime);

String RemoveSpacesOutsideQuotes(const String& S);
int FindClosingParenthesis(const String& S);
// The first operator character outside double quotes; false (Op 0, Pos -1) when none.
bool FindOperatorOutsideQuotes(const String& Operators, const String& S, wchar_t& Op, int& Pos);
String NumberTextToDotDecimal(const String& S);
