// The kinds of foreign controls the skin manager keeps class lists for, and
// the class names each list starts with.
#pragma once

constexpr int ThirdPartyKindCount = 23;

constexpr const wchar_t* ThirdPartyCaptions[ThirdPartyKindCount] = {
    L"Edit",       L"Button",      L"BitBtn",     L"CheckBox",    L"ComboBox",      L"Grid",
    L"GroupBox",   L"ListView",    L"Panel",      L"TreeView",    L"wwEdit",        L"GridEh",
    L"VirtualTree", L"PageControl", L"TabControl", L"ToolBar",    L"StatusBar",     L"SpeedButton",
    L"ScrollControl", L"UpDownBtn", L"ScrollBar", L"StaticText",  L"NativePaint",
};

// One blank means "no classes"; only plain buttons are skinned by default.
constexpr const wchar_t* ThirdPartyDefaults[ThirdPartyKindCount] = {
    L" ", L"TButton", L" ", L" ", L" ", L" ", L" ", L" ", L" ", L" ", L" ", L" ",
    L" ", L" ",       L" ", L" ", L" ", L" ", L" ", L" ", L" ", L" ", L" ",
};
