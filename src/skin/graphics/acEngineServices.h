// What the graphics units need of the skin engine before the engine itself
// exists: the composition query, the skin manager's tables, the per-control
// skin state found through the window property "ACSDATA", and the loader's
// image record. The engine builds on these declarations instead of declaring
// its own; until a manager exists (never, in this program) the default
// manager is null and every painter that needs one returns early.
#pragma once

#include "Controls.h"
#include "GdiHandles.h"
#include "sConst.h"
#include "sMessages.h"
#include "sStyleSimply.h"
#include <functional>
#include <vector>

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
    // Turned into its scaled form already: a second look-up must not scale it again.
    bool Scaled = false;
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

// The outer effect of a skin: entry 0 the light outline, entry 1 the shadow.
struct TacOutEffData {
    TColor ColorL = 0, ColorT = 0, ColorR = 0, ColorB = 0;
    Integer OffsetL = 0, OffsetT = 0, OffsetR = 0, OffsetB = 0;
    Integer WidthL = 0, WidthT = 0, WidthR = 0, WidthB = 0;
    Integer Blur = 0;
    Integer Radius = 0;
    Integer Mask = -1;
    Integer Source = 0;            // 0 none, 1 an image of "GLOBALINFO", 2 a generated shadow
    Integer Opacity = 0;
};

// Scale modes: a fixed scale, the system's scale, or no scaling at all.
enum TacScaleMode { sm100, sm125, sm150, sm200, smAuto, smOldMode };

// The manager's published switches. The Boolean ones are read by index too.
class TacOptions : public TPersistent {
public:
    explicit TacOptions(TsSkinManager* AManager) : FManager(AManager) {}

    bool CheckEmptyAlpha = false;
    bool NoMouseHover = false;
    bool NativeBordersMaximized = false;
    bool StdGlyphsOrder = false;
    bool ChangeSysColors = false;
    bool StdImgTransparency = false;
    bool DrawNonClientArea = true;

    // 0 CheckEmptyAlpha ... 6 DrawNonClientArea; false for any other index.
    bool GetBoolProp(int Index) const;
    void SetBoolProp(int Index, bool Value);

    TacScaleMode GetScaleMode() const { return FScaleMode; }
    void SetScaleMode(TacScaleMode Value);
    TacArrowsStyle GetArrowsStyle() const { return FArrowsStyle; }
    void SetArrowsStyle(TacArrowsStyle Value);
    TacOptimizingPriority OptimizingPriority = opSpeed;
    // ArrowsStyle, or the skin's own style when that is arsDefault.
    TacArrowsStyle ActualArrowStyle() const;

    void Assign(TPersistent* Source) override;

private:
    friend class TsSkinManager;
    TsSkinManager* FManager;
    TacScaleMode FScaleMode = smOldMode;
    TacArrowsStyle FArrowsStyle = arsDefault;
};

// The skin-wide values of the loaded skin.
// The skin-wide values a skin sets; the skin data adds what it makes of them.
struct TsSkinDataValues {
    bool Active = false;
    bool UseAeroBluring = false;
    String Author;
    String SkinPath;
    String MainFont;
    String Description;
    Integer Shadow1Offset = 0, Shadow1Blur = 0, Shadow1Transparency = 0;
    Integer ExBorderWidth = 0;
    Integer ExTitleHeight = 0;
    Integer ExMaxHeight = 0;
    Integer ExContentOffs = 0, ExCenterOffs = 0, ExDrawMode = 0;
    Integer ExShadowOffs = 0, ExShadowOffsR = 0, ExShadowOffsT = 0, ExShadowOffsB = 0;
    Integer BISpacing = 0, BIVAlign = 0, BIRightMargin = 0, BILeftMargin = 0, BITopMargin = 0,
            BIKeepHUE = 0;
    Integer ComboBoxMargin = 0, SliderMargin = 0, BrightMin = 0, BrightMax = 0;
    TacArrowsStyle ArrowStyle = arsSolid1;
    Byte TabsCovering = 0, RibbonCovering = 0;
    TColor FXColor = 0;
    TColor Shadow1Color = 0;
    TColor SysInactiveBorderColor = 0;
    double Version = 0;
    Integer WndShadowRadius = 0, WndShadowSize = 0, WndShadowOffset = 0;
    TColor WndShadowColorN = 0, WndShadowColorA = 0;   // alpha in the top byte
};

struct TsSkinData : TsSkinDataValues {
    // The shadows of active and inactive windows, made from the values above
    // on first request; the skin data owns them.
    TBitmap* GetActiveShadow();
    TBitmap* GetPassiveShadow();
    // Inactive, and the shadows dropped so that the next request makes them anew.
    void Reset();
    TsSkinData() = default;
    TsSkinData(TsSkinData&&) = default;
    TsSkinData& operator=(TsSkinData&&) = default;
    ~TsSkinData();

private:
    TOwned<TBitmap> rsta, rsti;
};

enum TacSkinsFilterItem { sfiInternal, sfiExternal };
using TacSkinsFilter = Set<TacSkinsFilterItem, 2>;
enum TacSkinningRule { srStdForms, srStdDialogs, srThirdParty };
using TacSkinningRules = Set<TacSkinningRule, 3>;
enum TacManagerStateItem { msFontChanging, msSkinLoading, msScaleChanging };
using TacManagerState = Set<TacManagerStateItem, 3>;
enum TacShowAction { saIgnore, saRestore, saMinimize };

struct TScaleChangeData {
    TacScaleMode OldScaleMode = smOldMode;
    TacScaleMode NewScaleMode = smOldMode;
    Integer OldScalePercent = 100;
    Integer NewScalePercent = 100;
};
using TScaleChangeEvent = std::function<void(TObject* Sender, TScaleChangeData& Data)>;
using TFontChanged = std::function<void(TObject* Sender, const String& DefOldFontName, const String& FontName)>;

class TacSkinEffects;
class TacAnimEffects;
class TacButtonsSupport;
class TacLabelsSupport;
class TacScrollBarsSupport;
class TsThirdPartyList;
class TacFonts;
class TacMenuSupport;
class TStringList;
class TTimer;
class TReader;
class TWriter;
class TsStoredSkins;
class TacSkinListController;
class TacEmbeddedFonts;
struct TacSkinSource;

// The skin manager: the loaded skin as tables, its announcement to every
// form, the control under the mouse, scaling, the application font and the
// library-wide options. Declared here because the painters read its tables;
// everything else is the skin engine's (src/skin/engine, sSkinManager.h).
class TsSkinManager : public TComponent {
public:
    explicit TsSkinManager(TComponent* AOwner);
    ~TsSkinManager() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // --- Tables -----------------------------------------------------------
    std::vector<TsGeneralData> gd;   // skin sections
    std::vector<TsMaskData> ma;      // skin images
    std::vector<TacOutEffData> oe;   // outer effects
    std::vector<TacExtFileData> ExtArray; // external image files; they own their bitmaps
    TBitmap* MasterBitmap = nullptr; // images without a bitmap of their own lie here; owned
    TColor Palette[PaletteColorCount] = {};
    TBrushHandle Brushes[6];         // of the first six palette colours
    TConstantSkinData ConstData;
    TsSkinData CommonSkinData;

    Integer GetSkinIndex(const String& SkinSection) const;
    bool IsValidSkinIndex(int SkinIndex) const { return SkinIndex >= 0 && SkinIndex < static_cast<int>(gd.size()); }
    bool IsValidImgIndex(int ImageIndex) const { return ImageIndex >= 0 && ImageIndex < static_cast<int>(ma.size()); }
    Integer GetMaskIndex(const String& SkinSection, const String& Mask) const;
    Integer GetMaskIndex(Integer SkinIndex, const String& Mask) const;
    Integer GetMaskIndex(Integer SkinIndex, const String& SkinSection, const String& Mask) const;
    Integer GetTextureIndex(Integer aSkinIndex, const String& SkinSection, const String& PropName) const;
    Integer GetTextureIndex(Integer aSkinIndex, const String& PropName) const;
    void GetSkinSections(TStrings* sl) const;
    Integer AddNewSection(const String& AName, Integer AParentSection, Integer AStates,
                          Integer ATransparency, TColor AColor, TColor AFontColor);
    Integer MakeNewItem(Integer SkinIndex, const String& PropertyName, const String& AClassName,
                        TacImgType ImgType, const TRect& R, Integer Count, Integer DrawMode,
                        Integer Masktype);
    TPoint GetMaskSize(Integer ImageIndex) const;

    TColor GetGlobalColor() const { return Palette[pcMainColor]; }
    TColor GetGlobalFontColor() const { return Palette[pcLabelText]; }
    TColor GetActiveEditColor() const { return Palette[pcEditBG]; }
    TColor GetActiveEditFontColor() const { return Palette[pcEditText]; }
    TColor GetHighLightColor(bool Focused = true) const
    {
        return Palette[Focused ? pcSelectionBG_Focused : pcSelectionBG];
    }
    TColor GetHighLightFontColor(bool Focused = true) const
    {
        return Palette[Focused ? pcSelectionText_Focused : pcSelectionText];
    }

    void InitMaskIndexes();
    void InitConstantIndexes();
    // Solid brushes of the first six palette colours, the old ones deleted.
    void CreateBrushes();
    // Frees every image, external file and the master bitmap and empties gd.
    void FreeSkinTables();

    // --- The component ----------------------------------------------------
    bool GetActive() const { return FActive; }
    void SetActive(bool Value);
    const String& GetSkinName() const { return FSkinName; }
    void SetSkinName(const String& Value);
    const String& GetSkinDirectory() const { return FSkinDirectory; }
    void SetSkinDirectory(const String& Value);
    TacSkinsFilter GetSkinsFilter() const { return FSkinsFilter; }
    void SetSkinsFilter(TacSkinsFilter Value);
    TacSkinningRules GetSkinningRules() const { return FSkinningRules; }
    void SetSkinningRules(TacSkinningRules Value);
    bool GetExtendedBorders() const;
    void SetExtendedBorders(bool Value);
    bool IsDefault() const;
    void SetIsDefault(bool Value);
    bool GetSkinnedPopups() const { return FSkinnedPopups; }
    void SetSkinnedPopups(bool Value);
    // Each change reloads the skin with the new adjustment (sSkinColors.cpp);
    // Brightness is limited to -100..100.
    Integer GetBrightness() const { return FBrightness; }
    void SetBrightness(Integer Value);
    Integer GetHueOffset() const { return FHueOffset; }
    void SetHueOffset(Integer Value);
    Integer GetSaturation() const { return FSaturation; }
    void SetSaturation(Integer Value);
    TStringList* GetCommonSections() const { return FCommonSections.get(); }
    void SetCommonSections(TStrings* Value);
    String GetSkinInfo() const;
    static String GetVersion() { return L"13.11"; }

    TacOptions Options;
    TacSkinEffects* Effects() const { return FEffects.get(); }
    TacAnimEffects* AnimEffects() const { return FAnimEffects.get(); }
    TacButtonsSupport* ButtonsOptions() const { return FButtonsOptions.get(); }
    TacLabelsSupport* LabelsOptions() const { return FLabelsOptions.get(); }
    TacScrollBarsSupport* ScrollsOptions() const { return FScrollsOptions.get(); }
    TsThirdPartyList* ThirdParty() const { return FThirdParty.get(); }
    TacFonts* Fonts() const { return FFonts.get(); }
    TacMenuSupport* MenuSupport() const { return FMenuSupport.get(); }

    TNotifyEvent OnActivate, OnDeactivate, OnSkinLoading, OnBeforeChange, OnAfterChange,
        OnSkinListChanged, OnScaleChanged;
    TScaleChangeEvent OnScaleModeChange;
    TFontChanged OnFontChanged;

    // The skinned window under the mouse, and the graphic control under it.
    HWND GetActiveControl() const { return FActiveControl; }
    void SetActiveControl(HWND Value);
    TControl* GetActiveGraphControl() const { return FActiveGraphControl; }
    void SetActiveGraphControl(TControl* Value);
    Integer GroupIndex = 0;

    void BeginUpdate();
    void EndUpdate(bool Repaint = false, bool AllowAnimation = true);
    void UpdateSkin(bool Repaint = true);
    void UpdateSkinSection(const String& SectionName);
    void RepaintForms(bool DoLockForms = true);
    String GetFullSkinDirectory() const;
    // The skin's folder or packed file was found under SkinDirectory.
    bool SkinIsPacked = false;
    bool SkinRemoving = false;

    // --- Scale and fonts --------------------------------------------------
    Integer GetScale() const;
    Integer ScaleInt(Integer Value, Integer SysScale = 0) const;
    Integer GetScrollBarWidth() const;
    Integer GetMaxScrollBarWidth() const;
    void UpdateScale(TWinControl* Ctrl, Integer iCurrentScale);
    void UpdateAllScale();
    void StoreDefFont();
    void ChangeAppFont(const String& FontName, bool DoLockForms);
    bool UpdateFontName(TControl* Ctrl);
    Integer SysFontScale = 0;
    String DefStoredFontName, DefOldFontName, DefNewFontName;

    // --- Internal state ---------------------------------------------------
    TacManagerState ManagerState;
    bool NoAutoUpdate = false;
    TacShowAction ShowState = saIgnore;
    bool GlobalHookInstalled = false;
    TRect FormShadowSize;
    Integer FHueOffset = 0, FSaturation = 0, FBrightness = 0;
    TStringList* ThirdLists(int Index) const { return FThirdLists[Index].get(); }

    void SendNewSkin(bool Repaint);
    void SendRemoveSkin();
    void UpdateDialogRule();
    void CheckHotControl();
    // Application hooks of the default manager.
    void InstallHook();
    void UninstallHook();
    // Load SkinName from its folder or its packed file; a folder without
    // "Options.dat" turns Active off.
    void ReloadSkin();
    void ReloadPackedSkin();

    // --- Loading (sSkinLoader*.cpp, acSkinPack.cpp, acSkinList.cpp,
    // sSkinColors.cpp) ------------------------------------------------------
    TsStoredSkins* InternalSkins() const { return FInternalSkins.get(); }
    TacEmbeddedFonts* EmbeddedFonts() const { return FEmbeddedFonts.get(); }
    TacSkinListController* SkinListController() const { return FSkinListController.get(); }
    // The form shadow images of active and inactive forms (32-bit), null
    // without extended borders.
    TBitmap* ShdaTemplate() const { return FShdaTemplate.get(); }
    TBitmap* ShdiTemplate() const { return FShdiTemplate.get(); }
    void CheckShadows();
    void ReloadColorAdjusted();
    void ChangeSkinHue(Integer Degrees);
    void ChangeSkinSaturation(Integer Percent);
    void ChangeSkinBrightness(Integer Percent);
    // The names of the available skins (SkinType 0 the skin directory's, 1
    // the internal ones, 2 all), sorted; the first name, empty for none.
    String GetSkinNames(TStrings* sl, bool CreateDataObject = false, int SkinType = 2);
    String GetExternalSkinNames(TStrings* sl, bool CreateDataObject = false, int SkinType = 2);
    String GetRandomSkin();
    void ExtractByIndex(Integer Index, const String& DestDir);
    void ExtractInternalSkin(const String& NameOfSkin, const String& DestDir);
    // The load passes over the current option text (and package).
    void LoadAllMasks(const TacSkinSource& Source);
    void LoadFonts(const TacSkinSource& Source);
    void LoadAllGeneralData(const TacSkinSource& Source);

    // The component image: signature, class, name, the published values
    // (option objects as dotted names), end marks.
    void WriteComponent(TStream* Stream);
    void ReadComponent(TStream* Stream);

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TacOptions;
    // The scaled form of an image of the section (or of "GLOBALINFO");
    // see sMaskData.cpp.
    Integer GetScaledImage(const String& Name, Integer SectionIndex, bool NewBitmap);
    void FillElement(TacConstElementData& Element, const String& Name, const wchar_t* Fallback1,
                     const wchar_t* Fallback2, bool ScaledGlyph);
    void RescaleLibraryMetrics(Integer OldPercent, Integer NewPercent);
    void WriteProperties(TWriter& Writer);
    void ReadProperty(TReader& Reader, const String& Name);

    bool FActive = true;
    String FSkinName;
    String FSkinDirectory;
    TacSkinsFilter FSkinsFilter{sfiInternal, sfiExternal};
    TacSkinningRules FSkinningRules{srStdForms, srStdDialogs, srThirdParty};
    bool FExtendedBorders = false;
    bool FSkinnedPopups = true;
    HWND FActiveControl = nullptr;
    TControl* FActiveGraphControl = nullptr;
    TOwned<TStringList> FCommonSections;
    TOwned<TacSkinEffects> FEffects;
    TOwned<TacAnimEffects> FAnimEffects;
    TOwned<TacButtonsSupport> FButtonsOptions;
    TOwned<TacLabelsSupport> FLabelsOptions;
    TOwned<TacScrollBarsSupport> FScrollsOptions;
    TOwned<TsThirdPartyList> FThirdParty;
    TOwned<TacFonts> FFonts;
    TOwned<TacMenuSupport> FMenuSupport;
    TOwned<TStringList> FThirdLists[23];
    TOwned<TTimer> TimerCheckHot;
    bool FHookedApplication = false;

    // Fills fresh tables from Source and puts them in place of the current
    // ones only when every pass succeeded (sSkinLoader.cpp).
    void LoadSkinTables(const TacSkinSource& Source);
    void CheckVersion();
    TOwned<TsStoredSkins> FInternalSkins;
    TOwned<TacEmbeddedFonts> FEmbeddedFonts;
    TOwned<TacSkinListController> FSkinListController;
    TOwned<TBitmap> FShdaTemplate;
    TOwned<TBitmap> FShdiTemplate;
    // CheckVersion's finding, shown once the new tables are in place.
    int FVersionNotice = 0;
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
    // WindowProc as WndProc; with CreateCacheBmp an empty 32-bit cache. Last,
    // the owner's window (when it has one) gets the property "ACSDATA".
    explicit TsCommonData(TObject* AOwner, bool CreateCacheBmp = false);

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

    // Frees the running state animation and hides the owner's glow.
    ~TsCommonData() override;
    // The owner's window: a provider's form or a windowed owner control when
    // its handle exists, else FSWHandle for a bare window; 0 otherwise.
    HWND OwnerHandle() const;
    // The cache is out of date; the owner repaints (at once with UpdateNow).
    void Invalidate(bool UpdateNow = false);
    // A running state animation stops where it is and drops its images.
    void StopAnimation();
    bool IsAnimating() const;

    // --- The window property ------------------------------------------------
    // Sets "ACSDATA" on OwnerHandle (and, for a provider, points WndProc at
    // its form's handling first).
    void InitCommonProp();
    // Removes "ACSDATA" from the window it was set on, while it still names
    // this state.
    void RemoveCommonProp();
    void ClearLinks();
    // The window "ACSDATA" was last set on.
    HWND PropWnd = nullptr;

    // --- Sections and indexes (sCommonData.cpp) -----------------------------
    void Loaded(bool UpdateColors = true);
    const String& GetSkinSection() const { return FSkinSection; }
    void SetSkinSection(const String& Value);
    void SetSkinManager(TsSkinManager* Value);
    bool IsSkinManagerStored() const { return FSkinManager != nullptr; }
    void UpdateIndexes(bool UpdateMain = true);
    void ResolveSkinSection();
    void FindSectionIndex(const String* Names, int High);
    void UpdateBGType();
    bool BGNeedsRepaintOnSize() const;
    void EnsureCacheBmp();

    // --- Updating and state ---------------------------------------------------
    void BeginUpdate();
    void EndUpdate(bool Repaint = false);
    bool GetUpdating() const;
    bool CheckUpdating(bool Reset = false);
    Integer GetHotState() const;
    bool IsMouseInside() const;
    Integer GetScalePercent() const { return ScalePercent; }

    // --- Colours (sCommonDataColors.cpp) --------------------------------------
    void UpdateControlColors(bool Repaint = false);
    void ApplySectionColors(bool NoRedrawLock = false);
    bool GetCustomColor() const { return FCustomColor; }
    bool GetCustomFont() const { return FCustomFont; }
    // Index 0 CustomColor, 1 CustomFont.
    void SetBoolProp(int Index, bool Value);
    TColor GetColorTone() const { return FColorTone; }
    void SetColorTone(TColor Value);
    // Index 0 HUEOffset, 1 Saturation.
    void SetIntProp(int Index, Integer Value);
    TColor BackgroundColor(Integer State, HWND Wnd) const;
    void AnswerBGRequest(TacBGRequest& Request, Integer State, HWND Wnd);
    void GetParentCacheInfo(TCacheInfo& Info);

    // --- Other answers -----------------------------------------------------------
    bool RepaintIfMoved();
    bool ChildRepaintNeeded() const { return true; }
    bool OuterEffectsAllowed() const;
    void RebuildParentCache();
    bool ShowsParentAt(Integer State) const;

    // --- Glow and outer effects (sCommonDataMessages.cpp) -----------------------
    void UpdateGlow(bool HideOnly, HWND Wnd, Integer ASkinIndex, bool Animate, Byte Alpha);
    // The request names the target bitmap and the owner's origin in it.
    void PaintOuterEffect(const TacBGRequest& Request, Word Flags);
    void PaintOuterEffects(TWinControl* OwnerCtrl, const TPoint& Offset);
};

// Whether the outer effect of a skinned control is painted around it.
class TacOuterEffects : public TPersistent {
public:
    explicit TacOuterEffects(TsCommonData* AOwner) : FOwner(AOwner) {}
    TacOuterVisibility GetVisibility() const { return FVisibility; }
    void SetVisibility(TacOuterVisibility Value);
    // The owner's parent repaints, and the owner's state is out of date.
    void Invalidate();
    TsCommonData* FOwner;
    TacOuterVisibility FVisibility = ovNone;
};

// The skin state published on the window, or null.
TsCommonData* GetWndSkinData(HWND Wnd);
// The window is skinned already: "ACSDATA", "ACSBSC" or an answer 1 to command 7.
bool HasSkinHandler(HWND Wnd);
// A windowed control with a handle: its "ACSDATA" state (with CheckSkinned:
// and skinned), else its "ACSBSC" handler, else its answer to command 7;
// other controls: their answer to command 7.
bool IsControlSkinned(TControl* Control, bool CheckSkinned = false);
