// Real keyboard input for the grid's tests: keys go through SendInput, so the
// keyboard state (Ctrl, Shift, Alt) is what the handlers read.
#pragma once

#include "Forms.h"
#include <initializer_list>
#include <vector>
#include <windows.h>

namespace datagrid_test {

inline void PumpKeys()
{
    for (int i = 0; i < 3; ++i)
        Application->ProcessMessages();
}

inline bool IsExtendedKey(WORD vk)
{
    return vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_LEFT || vk == VK_RIGHT ||
           vk == VK_UP || vk == VK_DOWN || vk == VK_INSERT || vk == VK_DELETE;
}

// Keys pressed in order and released in reverse, then the queue emptied.
inline void PressChord(std::initializer_list<WORD> Keys)
{
    std::vector<INPUT> inputs;
    const auto add = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(in);
    };
    for (WORD k : Keys)
        add(k, false);
    for (auto it = std::rbegin(Keys); it != std::rend(Keys); ++it)
        add(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpKeys();
}

// Characters typed as the keyboard sends them.
inline void TypeText(const std::wstring& Text)
{
    for (wchar_t ch : Text) {
        INPUT in[2]{};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = ch;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof(INPUT));
        PumpKeys();
    }
}

} // namespace datagrid_test
