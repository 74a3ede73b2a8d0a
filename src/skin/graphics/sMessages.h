// The library command message and its commands, the background request
// that travels with command 34, and the names of the skin sections and
// images that come in groups (tabs by layout and side, scroll parts, check
// boxes ...), resolved by the skin manager.
#pragma once

#include "Graphics.h"

// ---------------------------------------------------------------------------
// The library command message: the command number in the high word of
// wParam, a sub-argument in the low word, an argument or a pointer in
// lParam; the answer is the result, 0 when no receiver handled it.
constexpr UINT SkinCommandMessage = 0xA100;

constexpr int SKC_SKIN_LOADED = 1;          // lParam: the manager
constexpr int SKC_SKIN_REMOVED = 2;         // lParam: the manager
constexpr int SKC_REPAINT_SKIN = 3;         // lParam: the manager; sub-argument 1: a section name changed
constexpr int SKC_QUERY_PROVIDER = 4;
constexpr int SKC_ASK_FORM = 5;             // only an MDI client passes it to its form
constexpr int SKC_UPDATE_FINISHED = 6;
constexpr int SKC_QUERY_HANDLED = 7;        // 1 from every window the library handles
constexpr int SKC_SET_UPDATING = 8;         // sub-argument 1 or 0
constexpr int SKC_QUERY_SKIN_INDEX = 9;     // section index + 1
constexpr int SKC_QUERY_UPDATING = 10;
constexpr int SKC_QUERY_HALF_VISIBLE = 11;
constexpr int SKC_QUERY_HANDLER = 12;
constexpr int SKC_SECTION_CHANGED = 13;     // lParam: a section name
constexpr int SKC_MENU_BORDER_DRAWN = 14;   // to a popup menu window before its frame is painted
constexpr int SKC_SET_SECTION = 15;         // lParam: a section name
constexpr int SKC_RELOAD_DATA = 16;
constexpr int SKC_BG_INVALID = 17;
constexpr int SKC_REPAINT = 18;
constexpr int SKC_QUERY_COMPLEX_BG = 19;
constexpr int SKC_PARENT_MOVED = 20;        // sub-argument 1: redraw
constexpr int SKC_QUERY_COLOR = 21;         // lParam 0xFF00FF
constexpr int SKC_SET_HALF_VISIBLE = 22;
constexpr int SKC_BUILD_CACHE = 23;
constexpr int SKC_ADAPT_CONTROL = 25;       // lParam: a control or 0
constexpr int SKC_FILL_SKIN_INDEX = 26;     // lParam: a record whose second 32-bit field is filled
constexpr int SKC_QUERY_MANAGER = 27;       // a group box answers its caption height instead
constexpr int SKC_INIT_CHILD_WINDOWS = 28;
constexpr int SKC_MOUSE_IN = 29;
constexpr int SKC_MOUSE_OUT = 30;
constexpr int SKC_UPDATE_BEGIN = 31;
constexpr int SKC_UPDATE_END = 32;
constexpr int SKC_DROP_CACHES = 33;
constexpr int SKC_QUERY_BACKGROUND = 34;    // lParam: a TacBGRequest
constexpr int SKC_FONTS_CHANGED = 36;
constexpr int SKC_QUERY_SKIN_DATA = 37;
constexpr int SKC_SET_PRINTING = 38;        // lParam: a DC or 0
constexpr int SKC_PAINT_OUTER_EFFECT = 40;
constexpr int SKC_REDRAW_OFF = 51;
constexpr int SKC_REDRAW_ON = 52;
constexpr int SKC_SCROLLBARS_CHANGED = 53;
constexpr int SKC_QUERY_GLOW_COLOR = 54;    // lParam: a TColor to fill
constexpr int SKC_QUERY_APPLICATION = 60;
constexpr int SKC_QUERY_CLIENT_OFFSET = 61;
constexpr int SKC_TITLE_CHANGED = 62;
constexpr int SKC_SET_COUPLED = 63;
constexpr int SKC_QUERY_COUPLED = 64;
constexpr int SKC_SET_FORM_ALPHA = 65;
constexpr int SKC_QUERY_STATE_SECTION = 66;
constexpr int SKC_QUERY_FRAME_WIDTH = 67;
constexpr int SKC_SET_SCALE = 68;
constexpr int SKC_QUERY_SCALE = 69;
constexpr int SKC_QUERY_BOUNDS = 70;
constexpr int SKC_APPLY_PREVIEW_SKIN = 71;
constexpr int SKC_POPUP_FORM = 72;
constexpr int SKC_POPUP_ANIM_BOUNDS = 73;
constexpr int SKC_SKIN_CHANGED_NOTIFY = 74;
constexpr int SKC_SKIN_LIST_CHANGED = 75;
constexpr int SKC_FORM_IMAGE_READY = 76;
constexpr int SKC_FORM_SKIN_UPDATED = 77;
constexpr int SKC_FORM_ALPHA_CHANGED = 78;
constexpr int SKC_EXBORDERS_SHOWING = 79;   // answer: the window the border window goes after
constexpr int SKC_EXBORDERS_SHOWN = 80;
constexpr int SKC_MOVE_BLEND_START = 81;
constexpr int SKC_MOVE_BLEND_BORDER = 82;
constexpr int SKC_SET_NC_SKINNING = 83;     // lParam 1 or 0

// wParam of a command without sub-argument.
constexpr WPARAM SkinCommandWParam(int Command, Word SubArgument = 0)
{
    return (static_cast<WPARAM>(static_cast<Cardinal>(Command)) << 16) | SubArgument;
}

// ---------------------------------------------------------------------------
// The background request (command 34): the asker fills Offset, R, PleaseDraw
// and DrawDC; the answerer sets BgKind and Color or Bmp, adding its own
// position to Offset.
enum TacBGKind : Byte { bgNone, bgColor, bgImage, bgNotReady };

struct TacBGRequest {
    TBitmap* Bmp = nullptr;     // kind 2: the bitmap holding the background
    TColor Color = 0;           // kind 1
    TPoint Offset;              // where R lies in the answer's coordinates
    TRect R;
    TRect FillRect;             // border strips of a bitmap that is not ready
    Byte BgKind = bgNone;
    Byte PleaseDraw = 0;
    HDC DrawDC = nullptr;
};

struct TacSectionInfo {
    String siName;
    Integer siSkinIndex = 0;
    bool siRepaintNeeded = false;
};

// By layout (first, last, middle, single), then by side (left, top, right, bottom).
constexpr const wchar_t* TabSectionNames[16] = {
    L"TABLEFTFIRST",  L"TABTOPFIRST",  L"TABRIGHTFIRST",  L"TABBOTTOMFIRST",
    L"TABLEFTLAST",   L"TABTOPLAST",   L"TABRIGHTLAST",   L"TABBOTTOMLAST",
    L"TABLEFTMIDDLE", L"TABTOPMIDDLE", L"TABRIGHTMIDDLE", L"TABBOTTOMMIDDLE",
    L"TABLEFT",       L"TABTOP",       L"TABRIGHT",       L"TABBOTTOM",
};
constexpr const wchar_t* ScrollBtnSectionNames[4] = {L"SCROLLBTNLEFT", L"SCROLLBTNTOP",
                                                     L"SCROLLBTNRIGHT", L"SCROLLBTNBOTTOM"};
constexpr const wchar_t* ScrollBarSectionNames[4] = {L"SCROLLBAR1H", L"SCROLLBAR1V", L"SCROLLBAR2H",
                                                     L"SCROLLBAR2V"};
// The right-hand name has no underscore in skins.
constexpr const wchar_t* UpDownBtnSectionNames[4] = {L"UPDOWNBTN_LEFT", L"UPDOWNBTN_TOP",
                                                     L"UPDOWNBTNRIGHT", L"UPDOWNBTN_BOTTOM"};
constexpr const wchar_t* ScrollSliderSectionNames[2] = {L"SCROLLSLIDERH", L"SCROLLSLIDERV"};
constexpr const wchar_t* RadioSectionNames[2] = {L"RADIOUNCHECKED", L"RADIOCHECKED"};
constexpr const wchar_t* CheckBoxSectionNames[3] = {L"BOXUNCHECKED", L"BOXCHECKED", L"BOXGRAYED"};
constexpr const wchar_t* SmallCheckBoxSectionNames[3] = {L"SMALLUNCHECKED", L"SMALLCHECKED",
                                                         L"SMALLGRAYED"};
