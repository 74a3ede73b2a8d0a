// General helpers of the skin library: rectangles, values, words, INI-style
// section lists, files and paths, system probes and timing.
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include "SysUtils.h"
#include <shellapi.h>
#include <bitset>
#include <initializer_list>

class TControl;

// ---------------------------------------------------------------------------
// Rectangles, points and sizes (TRect is Left, Top, Right, Bottom).
inline int GetRectWidth(const TRect& R, bool NonNegative = false)
{
    int w = R.right - R.left;
    return NonNegative && w < 0 ? 0 : w;
}
inline int GetRectHeight(const TRect& R, bool NonNegative = false)
{
    int h = R.bottom - R.top;
    return NonNegative && h < 0 ? 0 : h;
}
inline TRect RectLTRB(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
inline TRect MakeRect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
// Right and Bottom are Width and Height themselves: callers pass Left = Top = 0
// for a Width x Height rectangle at the origin.
inline TRect RectOfSize(int Width, int Height, int Left = 0, int Top = 0)
{
    return {Left, Top, Width, Height};
}
TRect BitmapRect(const TGraphic* Graphic);
TPoint BitmapSize(const TGraphic* Graphic);
// (0, 0, Width, Height) and (Left, Top) of a control.
TRect ControlRect(const TControl* Control);
TPoint ControlPos(const TControl* Control);
inline TRect SizeToRect(const TPoint& P) { return {0, 0, P.x, P.y}; }
inline TRect SizeToRect(const TSize& S) { return {0, 0, S.cx, S.cy}; }
inline TPoint RectSize(const TRect& R) { return {GetRectWidth(R, true), GetRectHeight(R, true)}; }
inline TPoint MakePoint(int X, int Y) { return {X, Y}; }
inline TSize MakeSize(int X, int Y) { return {X, Y}; }
// All four edges moved by D.
inline TRect ShiftRect(const TRect& R, int D) { return {R.left + D, R.top + D, R.right + D, R.bottom + D}; }
inline TRect OffsetRectCopy(const TRect& R, int DX, int DY)
{
    return {R.left + DX, R.top + DY, R.right + DX, R.bottom + DY};
}
// Not normalized: disjoint rectangles give an inverted result.
TRect IntersectRects(const TRect& A, const TRect& B);
bool RectsOverlap(const TRect& Bounds, const TRect& R);
// Whole: Inner lies inside Outer, edges included; else the two touch or overlap.
bool RectInRect(const TRect& Outer, const TRect& Inner, bool Whole);

// ---------------------------------------------------------------------------
// Values.
inline String ChooseStr(bool Condition, const String& A, const String& B) { return Condition ? A : B; }
inline int ChooseInt(bool Condition, int A, int B) { return Condition ? A : B; }
inline int LargerOf(int A, int B) { return A > B ? A : B; }
inline int SmallerOf(int A, int B) { return A < B ? A : B; }
inline int ClampValue(int Value, int Low, int High)
{
    return Value < Low ? Low : Value > High ? High : Value;
}
inline void SwapInts(int& A, int& B)
{
    int t = A;
    A = B;
    B = t;
}
// Low <= Value <= High; with AllowReversed a range given as High <= Low works too.
bool ValueBetween(int Value, int Low, int High, bool AllowReversed);
inline bool IndexInRange(int Index, int Count, int Low = 0) { return Low <= Index && Index < Count; }
// Hexadecimal digits with an optional trailing "H"; 0 for any other character.
Int64 HexToInt64(const AnsiString& Text);
// Source-over blending with per-pixel alpha and the given constant alpha.
void InitBlendFunction(BLENDFUNCTION& Blend, Byte Alpha);

// ---------------------------------------------------------------------------
// Words: maximal runs of characters outside a set of 8-bit delimiters.
class TSysCharSet {
public:
    TSysCharSet() = default;
    TSysCharSet(std::initializer_list<char> chars)
    {
        for (char c : chars)
            bits_.set(static_cast<unsigned char>(c));
    }
    bool Contains(unsigned ch) const { return ch < 256 && bits_.test(ch); }

private:
    std::bitset<256> bits_;
};

inline bool CharInByteSet(wchar_t Ch, const TSysCharSet& Set) { return Set.Contains(Ch); }
// 1-based position of the first character of word N; 0 when there are fewer words.
int FindNthWordW(int N, const String& S, const TSysCharSet& Delimiters);
int FindNthWordA(int N, const AnsiString& S, const TSysCharSet& Delimiters);
String GetNthWordW(int N, const String& S, const TSysCharSet& Delimiters);
AnsiString GetNthWordA(int N, const AnsiString& S, const TSysCharSet& Delimiters);
int CountWordsW(const String& S, const TSysCharSet& Delimiters);
int CountWordsA(const AnsiString& S, const TSysCharSet& Delimiters);
String RemoveChar(const String& S, wchar_t Ch);
// Replaces every occurrence, left to right, without searching replaced text again.
String ReplaceAllStr(const String& S, const String& OldText, const String& NewText);

// ---------------------------------------------------------------------------
// INI-style option text of skins. ParseIniSections puts each "[name]" into
// Sections with a new TStringList of its lines as the object; the caller
// frees those lists.
void ParseIniSections(TStrings* Lines, TStrings* Sections);
String ReadIniSectionStr(TStrings* Sections, const String& SectionName, const String& KeyName,
                         const String& Default);
// "0x1F" is read as hexadecimal.
int ReadIniSectionInt(TStrings* Sections, const String& SectionName, const String& KeyName,
                      int Default);

// The DWORD value ValueName of Key under RootKey, read-only; 0 when the key
// or value is missing or holds another type.
int ReadRegistryInt(HKEY RootKey, const String& Key, const String& ValueName);

// ---------------------------------------------------------------------------
// Published properties by name, through the classes' registered type
// information; a name the class lacks means no such property, and none of
// these raise for it.
bool HasProperty(TObject* Instance, const String& PropName);
// Null when missing or not an object property.
TObject* GetObjectPropByName(TObject* Instance, const String& PropName);
// -1 when missing or not ordinal.
int GetOrdPropByName(TObject* Instance, const String& PropName);
// Writes only a value the property can hold.
void SetOrdPropByName(TObject* Instance, const String& PropName, int Value);
// For a set property: whether the member named ElementName (exactly) is in it.
bool SetPropHasElement(TObject* Instance, const String& PropName, const String& ElementName);
// Adds or removes the member named ElementName; nothing for a name the set
// does not have or when the member is already so.
void ChangeSetPropElement(TObject* Instance, const String& PropName, const String& ElementName,
                          bool Include);

// ---------------------------------------------------------------------------
// Files, paths and the system.
String AddPathDelimiter(const String& Path);
bool FolderExists(const String& Path);
int FirstFileMatch(const String& Path, int Attr, TSearchRec& F);
int NextFileMatch(TSearchRec& F);
void CloseFileSearch(TSearchRec& F);
String GetAppFolder();
// The shell's icon of an existing file (SHGFI_ICON is added to Flags); null
// when the file is missing, the shell entry is not bound or it gives no icon.
TIcon* LoadFileIcon(const String& FileName, UINT Flags);
// Binds the shell's file information entry once.
void LoadShellFileInfo();
bool IsWinXPOrLater();
bool IsWow64();
// True when the entry point is missing: the caller then takes the cautious path.
bool IsDebuggerAttached();
bool IsMinAnimationOn();
void SetMinAnimation(bool Enable);
int GetCaptionFontHeight();
// The caller owns the font; 0 when the metrics cannot be read.
HFONT CreateCaptionFont();

// Handles the application's messages until Milliseconds have passed.
void DelayWithMessages(DWORD Milliseconds);
// Busy-waits without message processing until Interval ms after StartTick.
void WaitUntilTick(DWORD StartTick, DWORD Interval);

// Entry points bound by name at start-up; null when the system lacks them.
// Tests clear them to take the fallback paths.
using TIsDebuggerPresent = BOOL(WINAPI*)();
using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
using TSHGetFileInfoW = DWORD_PTR(WINAPI*)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);
struct TKernelBindings {
    TIsDebuggerPresent IsDebuggerPresent = nullptr;
    TIsWow64Process IsWow64Process = nullptr;
    TSHGetFileInfoW SHGetFileInfoW = nullptr;
};
TKernelBindings& KernelBindings();

// Set at start-up: no text glow on dialog captions under WOW64 without composition.
extern bool NoTitleGlow;

void acntUtils_Initialize();
void acntUtils_Finalize();
