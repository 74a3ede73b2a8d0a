// The skin manager's option objects and the unit's start-up. The manager
// itself is declared with the tables the painters read (acEngineServices.h);
// its work is split by topic: sMaskData.cpp (tables and constant indexes),
// sSkinManager.cpp (life cycle, skin changes, notifications, hot control),
// sSkinManagerScale.cpp (scale and fonts), sSkinManagerOptions.cpp (option
// objects and the component image).
#pragma once

#include "Classes.h"
#include "acEngineServices.h"
#include "acProviderServices.h"
#include "acThirdPartyKinds.h"
#include "sSkinManagerStartup.h"

// A component picture of the manager's effect switches.
class TacSkinEffects : public TPersistent {
public:
    explicit TacSkinEffects(TsSkinManager* AManager) : Manager(AManager) {}
    TsSkinManager* Manager;
    bool AllowAnimation = true;
    bool AllowAeroBluring = true;
    bool AllowGlowing = true;
    // 0 AllowOuterEffects, 1 DiscoloredGlyphs.
    bool GetBoolProp(int Index) const { return Index == 0 ? FAllowOuterEffects : FDiscoloredGlyphs; }
    void SetBoolProp(int Index, bool Value);
    void Assign(TPersistent* Source) override;

private:
    bool FAllowOuterEffects = true;
    bool FDiscoloredGlyphs = false;
};

class TacFormAnimation : public TPersistent {
public:
    TacFormAnimation(bool AActive, Word ATime, TacAnimType AMode) : Active(AActive), Time(ATime), Mode(AMode) {}
    bool Active;
    Word Time;
    TacAnimType Mode;
    void Assign(TPersistent* Source) override;
};

class TacBlendOnMoving : public TacFormAnimation {
public:
    TacBlendOnMoving() : TacFormAnimation(false, 1000, atAero) {}
    Byte BlendValue = 170;
    void Assign(TPersistent* Source) override;
};
class TacDialogShow : public TacFormAnimation {
public:
    TacDialogShow() : TacFormAnimation(true, 0, atAero) {}
};
class TacFormShow : public TacFormAnimation {
public:
    TacFormShow() : TacFormAnimation(true, 0, atAero) {}
};
class TacFormHide : public TacFormAnimation {
public:
    TacFormHide() : TacFormAnimation(true, 0, atAero) {}
};
class TacMinimizing : public TacFormAnimation {
public:
    TacMinimizing() : TacFormAnimation(true, 120, atAero) {}
};
class TacPageChange : public TacFormAnimation {
public:
    TacPageChange() : TacFormAnimation(true, 0, atAero) {}
};
class TacSkinChanging : public TacFormAnimation {
public:
    TacSkinChanging() : TacFormAnimation(true, 100, atFading) {}
};

class TacBtnEffects : public TPersistent {
public:
    TacBtnEvents Events{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
    void Assign(TPersistent* Source) override;
};

class TacAnimEffects : public TPersistent {
public:
    explicit TacAnimEffects(TsSkinManager* AManager);
    TsSkinManager* Manager;
    TOwned<TacBlendOnMoving> BlendOnMoving;
    TOwned<TacBtnEffects> Buttons;
    TOwned<TacDialogShow> DialogShow;
    TOwned<TacFormShow> FormShow;
    TOwned<TacFormHide> FormHide;
    TOwned<TacFormHide> DialogHide;
    TOwned<TacMinimizing> Minimizing;
    TOwned<TacPageChange> PageChange;
    TOwned<TacSkinChanging> SkinChanging;
    void Assign(TPersistent* Source) override;
};

enum TacModalButtonColoring { bcBackground, bcGlyph, bcText };
using TacModalButtonsColoring = Set<TacModalButtonColoring, 3>;

class TacButtonsSupport : public TPersistent {
public:
    explicit TacButtonsSupport(TsSkinManager* AOwner) : FOwner(AOwner) {}
    // One value for every manager of the process.
    static bool GetOldGlyphsMode();
    void SetOldGlyphsMode(bool Value);
    bool ShowFocusRect = true;
    bool ShiftContentOnClick = true;
    TacModalButtonsColoring ModalButtonsColoring{bcGlyph};
    void Assign(TPersistent* Source) override;

private:
    TsSkinManager* FOwner;
};

class TacLabelsSupport : public TPersistent {
public:
    bool TransparentAlways = true;
    void Assign(TPersistent* Source) override;
};

class TacScrollBarsSupport : public TPersistent {
public:
    explicit TacScrollBarsSupport(TsSkinManager* AOwner) : FOwner(AOwner) {}
    // -1: the system's size. 0 ButtonsSize, 1 ScrollSize.
    Integer GetIntProp(int Index) const { return Index == 0 ? FButtonsSize : FScrollSize; }
    void SetIntProp(int Index, Integer Value);
    Integer GetButtonsSize() const { return FButtonsSize; }
    Integer GetScrollSize() const { return FScrollSize; }
    void Assign(TPersistent* Source) override;

private:
    TsSkinManager* FOwner;
    Integer FButtonsSize = -1;
    Integer FScrollSize = -1;
};

// The class names of foreign controls per handler kind, as multi-line texts.
class TsThirdPartyList : public TPersistent {
public:
    TsThirdPartyList();
    String GetString(int Index) const { return FLists[Index]; }
    void SetString(int Index, const String& Value) { FLists[Index] = Value; }
    void Assign(TPersistent* Source) override;
    static const wchar_t* PropertyName(int Index);

private:
    String FLists[ThirdPartyKindCount];
};

enum TacFontMode { fmDefault, fmFromSkin, fmCustom };

class TacFonts : public TPersistent {
public:
    explicit TacFonts(TsSkinManager* AManager) : Manager(AManager) {}
    TsSkinManager* Manager;
    TacFontMode GetMainMode() const { return FMainMode; }
    void SetMainMode(TacFontMode Value);
    const String& GetMainFont() const { return FMainFont; }
    void SetMainFont(const String& Value);
    void Assign(TPersistent* Source) override;

private:
    TacFontMode FMainMode = fmDefault;
    String FMainFont;
};

// What the manager keeps of the skinned menus' settings; the menus unit
// applies them.
class TacMenuSupport : public TPersistent {
public:
    String IcoLineSkin;
    // Re-applied by the manager when the application font changes; the
    // skinned menus take it from here.
    String CustomFontName;
    Integer CustomFontApplied = 0;   // how often the font was applied
    void SetCustomFont(const String& Value)
    {
        CustomFontName = Value;
        ++CustomFontApplied;
    }
    void Assign(TPersistent* Source) override;
};

// A manager's animation setting of one kind; the graphics reach it through
// ReadAnimSettingProc once the unit has started.
TacAnimSetting ReadManagerAnimSetting(const TsSkinManager* Manager, TacAnimKind Kind);

// The foreign-control support sets these when it is present.
extern void (*ForeignSkinStateProc)(bool SkinActive);
extern void (*ForeignSkinLoadedProc)();
// Set while a skin is being loaded or changed.
extern bool SkinChanging;
// The system is of the NT family.
extern bool IsNTFamily;

// Runs UpdateThirdLists of the manager: every list that is empty (or, with
// ResetToDefaults, every list) takes its default, then the manager's string
// lists take the texts.
void UpdateThirdLists(TsSkinManager* Manager, bool ResetToDefaults);
void SaveThirdLists(TsSkinManager* Manager);

// A skin directory as the manager resolves it: relative to the folder of
// the executable (AppFolder, with its trailing backslash), never to the
// current directory; the result ends with a backslash.
String ResolveSkinDirectory(const String& Directory, const String& AppFolder);

// Scale index 0..3 from the registry value "AppliedDPI" of the current user.
Integer ReadSysFontScale();
