// Real input for the editor tests: the mouse moved and clicked with
// SendInput, keys pressed through the system's queue.
#pragma once
#include "../controls/PackControlsTestSupport.h"
#include <vector>

namespace dropdown_input {

using pack_test::Pump;

// Moves the real mouse to a point of a control (client coordinates).
inline void MoveMouse(TControl* Control, POINT P)
{
    const POINT s = Control->ClientToScreen(P);
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((s.x * 65535 + (w - 1) / 2) / (w - 1));
    in.mi.dy = static_cast<LONG>((s.y * 65535 + (h - 1) / 2) / (h - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    Pump();
}

inline void MouseButton(DWORD Flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Flags;
    SendInput(1, &in, sizeof(in));
    Pump();
}

inline void Click(TControl* Control, POINT P)
{
    MoveMouse(Control, P);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

// One wheel notch over the control under the cursor; negative: towards the user.
inline void Wheel(int Notches)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = static_cast<DWORD>(Notches * WHEEL_DELTA);
    SendInput(1, &in, sizeof(in));
    Pump();
}

// A key pressed and released through the system's input, with an optional
// modifier held around it.
inline void Key(WORD Vk, WORD Modifier = 0)
{
    std::vector<INPUT> in;
    auto add = [&](WORD k, DWORD flags) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    if (Modifier)
        add(Modifier, 0);
    add(Vk, 0);
    add(Vk, KEYEVENTF_KEYUP);
    if (Modifier)
        add(Modifier, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    Pump();
}

// Letters and digits typed as their keys (Shift for upper-case letters).
inline void TypeKeys(const std::wstring& Text)
{
    for (wchar_t c : Text) {
        if (c >= L'A' && c <= L'Z')
            Key(static_cast<WORD>(c), VK_SHIFT);
        else if (c >= L'a' && c <= L'z')
            Key(static_cast<WORD>(c - L'a' + L'A'));
        else
            Key(static_cast<WORD>(c));
    }
}

} // namespace dropdown_input
