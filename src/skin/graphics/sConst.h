// Constants, shared types, localized captions and cached system metrics of
// the skin library. Every other skin unit includes this one.
#pragma once

#include "Graphics.h"
#include <functional>
#include <vector>

// ---------------------------------------------------------------------------
// Shared types.

// A 32-bit colour or pixel. The byte names follow TColor order (red in byte
// 0); a pixel read from a bitmap has blue in byte 0, so per-pixel code
// addresses the bytes by position.
union TsColor {
    TColor C;
    struct {
        Byte R, G, B, A;
    };
    Integer I;
};
static_assert(sizeof(TsColor) == 4);

// Whole-degree angle, 0..359.
using TAngle = int;
// A percentage, 0..100.
using TPercent = Byte;

// One stop of a skin gradient.
#pragma pack(push, 1)
struct TsGradPoint {
    Word Index = 0;      // position of the stop in its array
    Integer Mode = 0;    // bits 0..1: 0 vertical, 1 horizontal, 2 four corners; 0x10 alpha band; 0x20 path gradient
    TsColor Color{};     // TColor byte order, alpha in byte 3
    TPercent Percent = 0;
};
#pragma pack(pop)
static_assert(sizeof(TsGradPoint) == 11);
using TsGradArray = std::vector<TsGradPoint>;

// The parent background as skin painters receive it.
struct TCacheInfo {
    TBitmap* Bmp = nullptr;     // the parent's painted bitmap, or null
    int X = 0;                  // position in Bmp of the painted area's origin
    int Y = 0;
    TColor FillColor = clFuchsia; // plain parent colour; fuchsia means none
    TRect FillRect;             // strips of Bmp holding real content while not Ready
    bool Ready = false;         // Bmp holds the finished parent background
};

enum TacArrowsStyle { arsSolid1, arsLines1, arsSolid2, arsLines2, arsDefault };
enum TacOuterVisibility { ovNone, ovAlways };
enum TacSide { asLeft, asTop, asRight, asBottom };
enum TacTabLayout { tlFirst, tlLast, tlMiddle, tlSingle };
enum TacAnimType { atFading, atAero, atDropDown };
enum TacBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
using TacBtnEvents = Set<TacBtnEvent, 4>;
enum TacImgType { itisaBorder, itisaTexture, itisaGlyph, itisaGlow, itisaPngGlyph };
// In ShowWindow order.
enum TsWindowShowMode {
    soHide, soNormal, soShowMinimized, soMaximize, soShowNoActivate, soShow, soMinimize,
    soShowMinNoActive, soShowNA, soRestore, soDefault
};
enum TacOptimizingPriority { opSpeed, opMemory };

enum TacSection {
    ssMenuItem, ssCheckBox, ssSpeedButton, ssSpeedButton_Small, ssToolButton, ssTransparent,
    ssGroupBox, ssDivider, ssWebBtn, ssButton, ssComboNoEdit, ssButtonHuge, ssToolBar, ssEdit,
    ssGauge, ssSelection, ssStatusBar, ssPanel, ssPanelLow, ssTrackBar, ssProgressV, ssDragBar,
    ssGripH, ssGripV, ssProgressH, ssTabSheet, ssUpDown, ssComboBox, ssCaption, ssMainMenu,
    ssSplitter, ssComboBtn, ssFormTitle, ssHint, ssDividerV, ssPageControl, ssTabTop, ssBarPanel,
    ssBarTitle, ssMenuCaption, ssDialogTitle, ssMenuButton, ssMenuLine, ssFormHeader, ssTBBtn,
    ssTBMenuBtn, ssTBTab, ssColHeader, ssColHeaderA, ssColHeaderL, ssColHeaderR, ssSlider_Off,
    ssSlider_On
};
constexpr int SectionCount = ssSlider_On + 1;

enum TacTitleGlyph {
    tgCloseAlone, tgClose, tgMax, tgMin, tgNormal, tgHelp, tgSmallClose, tgSmallMax, tgSmallMin,
    tgSmallNormal, tgSmallHelp, tgUser, tgNone
};
constexpr int TitleGlyphCount = tgNone + 1;

// ---------------------------------------------------------------------------
// Library constants and switches. Those marked scaled are multiplied by the
// skin manager when the scale changes.

// A component whose Tag contains these bits is never skinned.
constexpr int NoSkinTag = 256;
constexpr int ScalePercents[4] = {100, 125, 150, 200};
// Appended to an image name to find its variant for scale step 0..3.
constexpr const wchar_t* ScaleSuffixes[4] = {L"", L"*125", L"*150", L"*200"};
// Appended to "PAGECONTROL" by tab position (top, bottom, left, right).
constexpr const wchar_t* TabPosSuffixes[4] = {L"", L"BOTTOM", L"LEFT", L"RIGHT"};

extern int ArrowWidth;        // scaled
extern int ArrowHeight;       // scaled
extern int ArrowGlyphSize;    // scaled
extern int ArrowLineWidth;
// False: the class library's own PNG class is unregistered before the library's is registered.
extern bool KeepStdPngClass;
// How strongly the parent shows through a disabled control's image (0..255).
extern Byte DisabledBlend;
// Saturation change of a disabled control's image in percent; -100 is grey.
extern int DisabledSaturation;

// ---------------------------------------------------------------------------
// Windows version level: 8 for 6.2 and anything after 6.x, else the major version.
extern int WinVersionLevel;
int WinVersionLevelOf(DWORD Major, DWORD Minor);

// Cached system metrics; SysCaptionHeight < 0 means "not read yet".
extern int SysScrollArrowWidth;
extern int SysFrameWidth;
extern int SysDlgFrameWidth;
extern int SysCaptionHeight;
extern int SysSmallCaptionHeight;

// Reads the metrics unless they are cached already.
void CacheSystemMetrics();

// ---------------------------------------------------------------------------
// Localized captions, taken from Windows modules with fallbacks.
extern String StrOK, StrCancel, StrHelp, StrClose;
extern String StrAddToCustomColors;
extern String StrDefineColors, StrAdditionalColors, StrDecimal, StrRoot, StrCreate;
extern String StrRestore, StrSize, StrMove, StrMaximize, StrMinimize;
extern String StrCalculator;
extern String StrFileOpen, StrSelectDirectory, StrRed, StrGreen, StrBlue;
extern String StrColor, StrHex;
extern String StrFont, StrFontColor;
extern String StrInvalidDate, StrAvailableStyles, StrInternal;
extern String StrDirWithSkins, StrSelectSkin, StrSkinPreview, StrFrameAdapterNotOnFrame;

// The library's own string table; empty for an unknown identifier.
String LibraryString(int Ident);

// Module loaded: S := string Id of Module, plus Suffix when that is not
// empty; an empty S then receives LibraryString(DefaultIdent) (without
// suffix) unless DefaultIdent is 0. Without a module S falls back the same way.
void LoadSystemString(String& S, HMODULE Module, int Id, int DefaultIdent, const String& Suffix);
// The same with a fallback text.
void LoadSystemStringDef(String& S, HMODULE Module, int Id, const String& DefaultText,
                         const String& Suffix);

// Loads the modules the captions come from; tests replace it to take a
// module away. The default is LoadLibraryW.
using TModuleLoader = std::function<HMODULE(const wchar_t* ModuleName)>;
// Fills all captions, loading each module through Loader and freeing it again.
void LoadLocalizedCaptions(const TModuleLoader& Loader);

void sConst_Initialize();
void sConst_Finalize();
