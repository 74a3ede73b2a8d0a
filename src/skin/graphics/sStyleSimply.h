// The name of every standard skin section and title glyph, the fallbacks of
// the newer sections, and the record of their resolved indexes.
#pragma once

#include "sConst.h"
#include <vector>

// By TacSection.
constexpr const wchar_t* SectionNames[SectionCount] = {
    L"MENUITEM",    L"CHECKBOX",   L"SPEEDBUTTON", L"SPEEDBUTTON_SMALL", L"TOOLBUTTON",
    L"TRANSPARENT", L"GROUPBOX",   L"DIVIDER",     L"WEBBUTTON",         L"BUTTON",
    L"COMBONOEDIT", L"BUTTON_HUGE", L"TOOLBAR",    L"EDIT",              L"GAUGE",
    L"SELECTION",   L"STATUSBAR",  L"PANEL",       L"PANEL_LOW",         L"TRACKBAR",
    L"PROGRESSV",   L"DRAGBAR",    L"GRIPH",       L"GRIPV",             L"PROGRESSH",
    L"TABSHEET",    L"UPDOWNBTN",  L"COMBOBOX",    L"CAPTION",           L"MAINMENU",
    L"SPLITTER",    L"COMBOBTN",   L"FORMTITLE",   L"HINT",              L"DIVIDERV",
    L"PAGECONTROL", L"TABTOP",     L"BARPANEL",    L"BARTITLE",          L"MENUCAPTION",
    L"DIALOGTITLE", L"MENUBTN",    L"MENULINE",    L"FORMHEADER",        L"TB_BTN",
    L"TB_MENUBTN",  L"TB_TAB",     L"COLHEADER",   L"COLHEADERA",        L"COLHEADERL",
    L"COLHEADERR",  L"SLIDER_OFF", L"SLIDER_ON",
};

// By TacTitleGlyph; tgNone has no image.
constexpr const wchar_t* TitleGlyphNames[TitleGlyphCount] = {
    L"BICLOSEALONE", L"BICONCLOSE", L"BICONMAX",  L"BICONMIN",   L"BICONNORM",
    L"BICONHELP",    L"SICONCLOSE", L"SICONMAX",  L"SICONMIN",   L"SICONNORM",
    L"SICONHELP",    L"TITLEBUTTON", L"",
};

constexpr const wchar_t* ProgressMaskNames[2] = {L"PROGVERT", L"PROGHORZ"};
constexpr const wchar_t* TickImageNames[2] = {L"TICKVERT", L"TICKHORZ"};

// The section each newer section falls back to when a skin lacks it, for
// ssMenuCaption .. ssSlider_On; a section naming itself has no fallback.
constexpr TacSection FirstFallbackSection = ssMenuCaption;
constexpr Byte SectionFallbacks[SectionCount - FirstFallbackSection] = {
    ssToolBar,    // ssMenuCaption
    ssFormTitle,  // ssDialogTitle
    ssSpeedButton, // ssMenuButton
    ssMenuLine,   // ssMenuLine
    ssFormHeader, // ssFormHeader
    ssToolButton, // ssTBBtn
    ssTBMenuBtn,  // ssTBMenuBtn
    ssTabTop,     // ssTBTab
    ssButton,     // ssColHeader
    ssColHeader,  // ssColHeaderA
    ssColHeader,  // ssColHeaderL
    ssColHeader,  // ssColHeaderR
    ssPanelLow,   // ssSlider_Off
    ssPanelLow,   // ssSlider_On
};

// The resolved indexes of one standard element.
struct TacConstElementData {
    Integer SkinIndex = -1;
    Integer MaskIndex = -1;
    Integer GlyphIndex = -1;
    Integer BGIndex[2] = {-1, -1};   // background images, normal and hot
    String SkinSection;
};

// The title glyphs that have glow frames: tgCloseAlone .. tgNormal.
constexpr int GlowTitleGlyphCount = tgNormal + 1;

// The images of a track bar of one orientation.
struct TacTrackBarData {
    Integer SkinIndex = -1;        // "TRACKBAR"
    Integer MaskIndex = -1;        // its border image
    Integer SliderIndex = -1;
    Integer BGIndex = -1;          // "PATTERN"
    Integer HotBGIndex = -1;       // "HOTPATTERN"
    Integer Reserved = 0;
    Integer TickIndex = -1;
    Integer ProgressIndex = -1;
    Integer ChannelIndex = -1;     // "SLIDERCHANNEL"
};

// The standard indexes of the loaded skin, filled by the skin manager.
struct TConstantSkinData {
    Integer IndexGLobalInfo = -1;
    Integer Sections[SectionCount] = {};
    TacConstElementData Tabs[16];      // order of TabSectionNames
    TacConstElementData Scrolls[4];    // by side
    TacConstElementData ScrollBtns[4];
    TacConstElementData UpDownBtns[4];
    TacConstElementData Sliders[2];
    TacConstElementData MenuItem;
    TacConstElementData ComboBtn;
    // Per large title glyph (tgCloseAlone .. tgNormal): the image indexes of
    // its glow frames, sized by the skin loader, and its glow margin.
    std::vector<Integer> TitleGlows[GlowTitleGlyphCount];
    Integer GlowMargins[GlowTitleGlyphCount] = {};
    Integer TitleGlyphs[TitleGlyphCount] = {};
    Integer RadioButton[2] = {-1, -1};
    Integer CheckBox[3] = {-1, -1, -1};
    Integer SmallCheckBox[3] = {-1, -1, -1};
    TacTrackBarData TrackBar[2];       // vertical, horizontal
    Integer ExBorder = -1;
    Integer GripRightBottom = -1;
    Integer GripHorizontal = -1;
    Integer GripVertical = -1;
};
