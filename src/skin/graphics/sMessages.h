// Names of the skin sections and images that come in groups (tabs by layout
// and side, scroll parts, check boxes ...), resolved by the skin manager.
#pragma once

#include "System.h"

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
