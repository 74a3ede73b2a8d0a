// What the graphics units need of the skin engine before the engine itself
// exists: the composition query, the skin manager's tables, the per-control
// skin state found through the window property "ACSDATA", and the loader's
// image record. The engine builds on these declarations instead of declaring
// its own; until a manager exists (never, in this program) the default
// manager is null and every painter that needs one returns early.
#pragma once

#include "Controls.h"
#include "sStyleSimply.h"

class TBitmap;
class TsSkinManager;
class TacOuterEffects;
class TacThreadedTimer;

// Whether desktop composition is on: never before Windows 6.
bool IsAeroEnabled();

// One image as the skin loader reads it.
struct TacExtFileData {
    TBitmap* Bmp = nullptr;
    String FileName;
    Integer MaskType = 0;
};

// ---------------------------------------------------------------------------
// The skin manager's tables.

// Text colour of a paint state and its one-pixel contour; -1: no contour on that side.
struct TsFontColor {
    TColor Color = 0;
    TColor Left = -1;
    TColor Top = -1;
    TColor Right = -1;
    TColor Bottom = -1;
};

// One paint state of a skin section.
struct TsGenState {
    Integer GlowSize = 0;
    Integer ImagePercent = 0;
    Integer TextureIndex = -1;
    Integer Transparency = 0;      // 100: the parent shows through
    Integer GradientPercent = 0;
    TColor Color = 0xFFFFFF;
    TColor GlowColor = 0xFFFFFF;
    TsFontColor FontColor;
    TsGradArray GradientArray;
};

// One skin section: 0 normal, 1 hot, 2 pressed or focused (only with UseState2).
struct TsGeneralData {
    String ParentClass;
    String ClassName;
    TsGenState Props[3];
    bool UseState2 = false;
    bool GiveOwnFont = false;
    bool ShiftOnClick = false;
    bool ReservedBoolean = false;
    Integer States = 3;
    Integer ScrollBorderOffset = -2;
    Integer GlowCount = 0;
    Integer GlowMargin = 0;
    Integer GlowSize = 0;
    Integer HotGlowSize = 0;
    TColor HotGlowColor = 0;
    TColor GlowColor = 0;
    Integer BorderIndex = -1;
    Integer ImgTL = -1;
    Integer ImgTR = -1;
    Integer ImgBL = -1;
    Integer ImgBR = -1;
    Integer OuterMode = 2;
    Integer OuterMask = -1;
    Integer OuterOpacity = 200;
    TRect OuterOffset{-1, -1, -1, -1};
};

// One skin image: its own bitmap, or (Bmp null) rectangle R of the manager's
// MasterBitmap. ImageCount frames lie side by side in R.
struct TsMaskData {
    TBitmap* Bmp = nullptr;
    String ClassName;
    String PropertyName;
    TRect R;
    std::int16_t ImageCount = 0;
    std::int16_t MaskType = 0;       // -1 no rows, 0 plain, 1 lower half is a mask, n > 1: n + 1 bands
    std::int16_t BorderWidth = 0;
    std::int16_t DrawMode = 0;
    TacImgType ImgType = itisaBorder;
    TsSkinManager* Manager = nullptr;
    std::int16_t WL = 0;
    std::int16_t WT = 0;
    std::int16_t WR = 0;
    std::int16_t WB = 0;
    Integer CornerType = 0;
    Integer SkinIndex = 0;
    Integer Width = 0;           // of one frame
    Integer Height = 0;
};

enum TacPaletteColors {
    pcMainColor, pcLabelText, pcWebText, pcWebTextHot, pcEditText, pcEditBG, pcSelectionBG,
    pcSelectionText, pcSelectionBG_Focused, pcSelectionText_Focused, pcEditBG_Inverted,
    pcEditText_Inverted, pcEditBG_OddRow, pcEditBG_EvenRow, pcEditText_Ok, pcEditText_Warning,
    pcEditText_Alert, pcEditText_Caution, pcEditText_Bypassed, pcEditBG_Ok, pcEditBG_Warning,
    pcEditBG_Alert, pcEditBG_Caution, pcEditBG_Bypassed, pcEditText_Highlight1,
    pcEditText_Highlight2, pcEditText_Highlight3, pcBtnColor1Active, pcBtnColor2Active,
    pcBtnBorderActive, pcBtnFontActive, pcBtnColor1Normal, pcBtnColor2Normal, pcBtnBorderNormal,
    pcBtnFontNormal, pcBtnColor1Pressed, pcBtnColor2Pressed, pcBtnBorderPressed, pcBtnFontPressed,
    pcBtnToneRed, pcBtnToneRedActive, pcBtnToneGreen, pcBtnToneGreenActive, pcBtnToneBlue,
    pcBtnToneBlueActive, pcBtnRedText, pcBtnRedTextActive, pcBtnGreenText, pcBtnGreenTextActive,
    pcBtnBlueText, pcBtnBlueTextActive, pcBorder, pcGrid, pcHintBG, pcHintText
};
constexpr int PaletteColorCount = pcHintText + 1;
static_assert(PaletteColorCount == 55);

// The manager's published Boolean options, by index for GetBoolProp.
struct TacOptions {
    bool CheckEmptyAlpha = false;
    bool NoMouseHover = false;
    bool NativeBordersMaximized = false;
    bool StdGlyphsOrder = false;
    bool ChangeSysColors = false;
    bool StdImgTransparency = false;
    bool DrawNonClientArea = true;

    // 0 CheckEmptyAlpha ... 6 DrawNonClientArea; false for any other index.
    bool GetBoolProp(int Index) const;
};

// The skin-wide values of the loaded skin that the painters read.
struct TsSkinData {
    bool Active = false;
    bool UseAeroBluring = false;
    Integer ExTitleHeight = 0;
    Integer ExMaxHeight = 0;
};

class TsSkinManager : public TComponent {
public:
    using TComponent::TComponent;

    std::vector<TsGeneralData> gd;   // skin sections
    std::vector<TsMaskData> ma;      // skin images
    TBitmap* MasterBitmap = nullptr; // images without a bitmap of their own lie here
    TacOptions Options;
    TsSkinData CommonSkinData;
    TColor Palette[PaletteColorCount] = {};
    TConstantSkinData ConstData;
    TControl* FActiveGraphControl = nullptr;
    Integer SysFontScale = 0;

    bool IsValidSkinIndex(int SkinIndex) const { return SkinIndex >= 0 && SkinIndex < static_cast<int>(gd.size()); }
    bool IsValidImgIndex(int ImageIndex) const { return ImageIndex >= 0 && ImageIndex < static_cast<int>(ma.size()); }
    bool IsDefault() const;
    TColor GetGlobalColor() const { return Palette[pcMainColor]; }
};

// The manager painters use when given none; null while no manager exists.
extern TsSkinManager* DefaultManager;

// ---------------------------------------------------------------------------
// The skin state of one skinned thing. Its window carries the state's address
// in the property "ACSDATA"; messages to that window then go straight to
// WndProc (see SendWndMessage).
class TsCommonData : public TPersistent {
public:
    // Takes a TControl owner as FOwnerControl, and a windowed owner's current
    // WindowProc as WndProc. Publishing the property is the owner's business.
    explicit TsCommonData(TObject* AOwner);

    bool FCustomFont = false;
    bool FCustomColor = false;
    TBitmap* FOuterCache = nullptr;
    String FSkinSection;
    TsSkinManager* FSkinManager = nullptr;
    TacOuterEffects* FOuterEffects = nullptr;
    TColor FColorTone = clNone;
    TColor SavedColor = clNone;
    TColor SavedFontColor = clNone;
    bool FFocused = false;
    bool FUpdating = false;
    bool FMouseAbove = false;
    bool HalfVisible = false;
    bool Loading = true;
    Byte COC = 0;
    Integer GlowID = -1;
    Integer FHUEOffset = 0;
    Integer FSaturation = 0;
    Integer BorderIndex = -1;
    Integer ScalePercent = 100;
    Integer FUpdateCount = 0;
    Integer DefFontHeight = 0;
    HDC PrintDC = nullptr;
    TBitmap* FCacheBmp = nullptr;
    HWND FSWHandle = nullptr;
    TWndMethod WndProc;
    TObject* FOwnerObject = nullptr;
    TacThreadedTimer* AnimTimer = nullptr;
    Word BGType = 0;
    Cardinal CtrlSkinState = 0;
    TRect InvalidRectH;
    TRect InvalidRectV;
    bool BGChanged = true;
    Integer SkinIndex = -1;
    TControl* FOwnerControl = nullptr;

    // The assigned manager, else the default one (may be null).
    TsSkinManager* GetSkinManager() const { return FSkinManager ? FSkinManager : DefaultManager; }
    // A manager exists, SkinIndex is one of its sections and the owner is not
    // going; with CheckSkinActive its skin must be active too.
    bool Skinned(bool CheckSkinActive = false) const;
};

// The skin state published on the window, or null.
TsCommonData* GetWndSkinData(HWND Wnd);
// The window is skinned already: "ACSDATA", "ACSBSC" or an answer 1 to command 7.
bool HasSkinHandler(HWND Wnd);
// A windowed control with a handle: its "ACSDATA" state (with CheckSkinned:
// and skinned), else its "ACSBSC" handler, else its answer to command 7;
// other controls: their answer to command 7.
bool IsControlSkinned(TControl* Control, bool CheckSkinned = false);
