// Drives a program's windows from a script, as a person at the screen would.
//
// wintool wait <caption> [seconds]        exits 0 once a visible top-level window
//                                         with that caption exists and has painted
// wintool close <caption>                 posts WM_CLOSE to it and waits until it is gone
// wintool closeall <caption> [seconds]    posts WM_CLOSE to every top-level window of the
//                                         program that shows it, hidden ones included, as a
//                                         shutdown or a task manager does, and waits until
//                                         the program has ended
// wintool click <top> <class> [text] [n]  clicks the middle of the first (or n-th from the
//                                         left) visible child window of that class (and
//                                         text, "" for none) of <top>
// wintool clickat <top> <class> <x> <y>   clicks a point of such a child's client area
// wintool type <top> <class> <text>      focuses that child with a click and types the
//                                         text and Enter on the keyboard; exits 0 once
//                                         the child's text holds what was typed
// wintool text <top> <class>              prints the text of that child
// wintool rect <top> <class> [text]       prints that child's screen rectangle as
//                                         "left top right bottom"
// wintool pointat <top> <class> [text]    moves the real mouse pointer onto the middle of
//                                         that child and prints its screen rectangle as
//                                         rect does
// wintool waitenabled <top> <class> <text> <0|1> [seconds]
//                                         waits until that child is disabled (0) or
//                                         enabled (1)
// wintool lists <top> <class>             prints the items of every visible list box of
//                                         that class, left to right, one line each,
//                                         items separated by " | "
// wintool dialog [seconds]                waits for a dialog box (class #32770) and
//                                         prints its title and message
// wintool save <path> [seconds]           waits for a file dialog, types the path as
//                                         the file name and presses its OK button
// wintool press <id>                      presses the button <id> of the dialog box
//                                         (1 OK, 2 Cancel, 6 Yes, 7 No)
// wintool keys <top> <class> <key>...     brings <top> forward and presses the keys on
//                                         the keyboard, to whichever of its controls has
//                                         the focus, once that child has it: Left, Right,
//                                         Up, Down, Home, End, or Ctrl+ a letter
//
// A window whose caption changes with its language is named by its class instead.
// Clicks are posted: a click that opens a modal dialog does not hold the tool.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// The file dialog's name box: a combo box in the explorer style, an edit in
// the old one.
constexpr int FileNameCombo = 0x47c;
constexpr int FileNameEdit = 0x480;
constexpr int MessageTextId = 0xFFFF;
constexpr DWORD SendTimeout = 5000;

HWND FindTopLevel(const wchar_t* name)
{
    HWND wnd = FindWindowW(nullptr, name);
    return wnd ? wnd : FindWindowW(name, nullptr);
}

HWND FindVisible(const wchar_t* name)
{
    const HWND found[] = {FindWindowW(nullptr, name), FindWindowW(name, nullptr)};
    for (HWND wnd : found)
        if (wnd && IsWindowVisible(wnd))
            return wnd;
    return nullptr;
}

std::size_t TextLength(HWND wnd)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, SendTimeout, &length);
    return length;
}

std::wstring TextOf(HWND wnd)
{
    std::wstring text(TextLength(wnd) + 1, L'\0');
    DWORD_PTR length = 0;
    SendMessageTimeoutW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, SendTimeout,
                        &length);
    text.resize(std::min<std::size_t>(length, text.size() - 1));
    return text;
}

std::wstring ClassOf(HWND wnd)
{
    wchar_t name[256] = {};
    GetClassNameW(wnd, name, 256);
    return name;
}

struct TChildSearch {
    const wchar_t* Class;
    const wchar_t* Text;
    std::vector<HWND> Found;
};

BOOL CALLBACK NoteChild(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<TChildSearch*>(param);
    if (IsWindowVisible(wnd) && ClassOf(wnd) == search->Class && (!search->Text || TextOf(wnd) == search->Text))
        search->Found.push_back(wnd);
    return TRUE;
}

// Every visible descendant of Top of the class (and text, when given).
std::vector<HWND> Children(HWND Top, const wchar_t* Class, const wchar_t* Text = nullptr)
{
    TChildSearch search{Class, Text, {}};
    EnumChildWindows(Top, NoteChild, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The Nth (from 1) of those children, left to right.
HWND Child(const wchar_t* Top, const wchar_t* Class, const wchar_t* Text = nullptr, int N = 1)
{
    HWND top = FindVisible(Top);
    if (!top)
        return nullptr;
    std::vector<HWND> found = Children(top, Class, Text);
    if (N > 1)
        std::stable_sort(found.begin(), found.end(), [](HWND a, HWND b) {
            RECT ra{}, rb{};
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.left < rb.left;
        });
    return N >= 1 && static_cast<std::size_t>(N) <= found.size() ? found[static_cast<std::size_t>(N) - 1] : nullptr;
}

// Waits for a visible dialog box of another program, up to Seconds.
HWND WaitForDialog(int Seconds)
{
    for (int i = 0; i < Seconds * 20; ++i) {
        HWND wnd = nullptr;
        while ((wnd = FindWindowExW(nullptr, wnd, L"#32770", nullptr)) != nullptr)
            if (IsWindowVisible(wnd))
                return wnd;
        Sleep(50);
    }
    return nullptr;
}

int Wait(const wchar_t* caption, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        if (HWND wnd = FindVisible(caption)) {
            // A round trip through the window's thread means it has handled
            // the messages that came before, including its first paint.
            DWORD_PTR result = 0;
            SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, SendTimeout, &result);
            Sleep(300);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

int Close(const wchar_t* caption)
{
    HWND wnd = FindVisible(caption);
    if (!wnd)
        wnd = FindTopLevel(caption);
    if (!wnd)
        return 1;
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(wnd); ++i)
        Sleep(50);
    return IsWindow(wnd) ? 1 : 0;
}

struct TProgramWindows {
    DWORD Process;
    std::vector<HWND> Found;
};

BOOL CALLBACK NoteProgramWindow(HWND wnd, LPARAM param)
{
    auto* windows = reinterpret_cast<TProgramWindows*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    if (process == windows->Process)
        windows->Found.push_back(wnd);
    return TRUE;
}

int CloseAll(const wchar_t* caption, int seconds)
{
    HWND wnd = FindVisible(caption);
    if (!wnd)
        wnd = FindTopLevel(caption);
    if (!wnd)
        return 1;
    TProgramWindows windows{0, {}};
    GetWindowThreadProcessId(wnd, &windows.Process);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, windows.Process);
    if (!process)
        return 1;
    EnumWindows(NoteProgramWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND each : windows.Found)
        PostMessageW(each, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process, static_cast<DWORD>(seconds) * 1000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended ? 0 : 1;
}

// Output in UTF-8, whatever the console's code page.
void PrintLine(const std::wstring& Text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, Text.c_str(), static_cast<int>(Text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text.c_str(), static_cast<int>(Text.size()), bytes.data(), size, nullptr,
                        nullptr);
    bytes += '\n';
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    fflush(stdout);
}

int ClickAt(HWND wnd, int x, int y)
{
    if (!wnd)
        return 1;
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(wnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(wnd, WM_LBUTTONUP, 0, at);
    return 0;
}

// Clicks the middle of the client area.
int Click(HWND wnd)
{
    RECT client{};
    if (wnd)
        GetClientRect(wnd, &client);
    return ClickAt(wnd, client.right / 2, client.bottom / 2);
}

// Presses and releases a key through the system's keyboard input, the way a
// keyboard does: the program's message loop translates it into characters.
void AddKey(std::vector<INPUT>& Keys, WORD Vk, WORD Scan, DWORD Flags)
{
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = Vk;
        key.ki.wScan = Scan;
        key.ki.dwFlags = Flags | up;
        Keys.push_back(key);
    }
}

// The keys that type Ch on the current layout, shift and the like held
// around it; a character no key makes comes as the character itself.
void AddCharacter(std::vector<INPUT>& Keys, wchar_t Ch)
{
    static constexpr struct {
        int Bit;
        WORD Vk;
    } Modifiers[] = {{1, VK_SHIFT}, {2, VK_CONTROL}, {4, VK_MENU}};
    const SHORT scan = VkKeyScanW(Ch);
    if (scan == -1) {
        AddKey(Keys, 0, Ch, KEYEVENTF_UNICODE);
        return;
    }
    const WORD vk = LOBYTE(scan);
    const int held = HIBYTE(scan);
    const auto modifier = [&](DWORD Flags) {
        for (const auto& m : Modifiers)
            if (held & m.Bit) {
                INPUT key{};
                key.type = INPUT_KEYBOARD;
                key.ki.wVk = m.Vk;
                key.ki.dwFlags = Flags;
                Keys.push_back(key);
            }
    };
    modifier(0);
    AddKey(Keys, vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), 0);
    modifier(KEYEVENTF_KEYUP);
}

// Waits until Wnd is the focus of the active window on the screen.
bool WaitForFocus(HWND wnd)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(wnd, nullptr);
    for (int i = 0; i < 100; ++i) {
        if (GetGUIThreadInfo(thread, &info) && info.hwndFocus == wnd &&
            GetForegroundWindow() == GetAncestor(wnd, GA_ROOT))
            return true;
        Sleep(50);
    }
    return false;
}

int Type(HWND wnd, const std::wstring& text)
{
    if (!wnd)
        return 1;
    // Keyboard input goes to the focus of the foreground window, so the
    // window is brought forward and the control clicked, as a person would.
    SetForegroundWindow(GetAncestor(wnd, GA_ROOT));
    Click(wnd);
    if (!WaitForFocus(wnd))
        return 1;
    const std::size_t before = TextLength(wnd);
    std::vector<INPUT> keys;
    for (wchar_t ch : text)
        AddCharacter(keys, ch);
    AddKey(keys, VK_RETURN, static_cast<WORD>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)), 0);
    if (SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) != keys.size())
        return 1;
    // The keys are handled when the program gets to them: done once its text
    // has grown by them, Enter's line break included where there are lines.
    const bool lines = (GetWindowLongPtrW(wnd, GWL_STYLE) & ES_MULTILINE) != 0;
    const std::size_t expected = before + text.size() + (lines ? 2 : 0);
    for (int i = 0; i < 200; ++i) {
        if (TextLength(wnd) == expected && TextOf(wnd).find(text) != std::wstring::npos)
            return 0;
        Sleep(50);
    }
    return 1;
}

// Presses named keys on the keyboard once Wnd has the focus of the foreground window.
int Keys(HWND wnd, int count, wchar_t** names)
{
    if (!wnd)
        return 1;
    SetForegroundWindow(GetAncestor(wnd, GA_ROOT));
    if (!WaitForFocus(wnd))
        return 1;
    static const std::pair<const wchar_t*, WORD> named[] = {
        {L"Left", VK_LEFT}, {L"Right", VK_RIGHT}, {L"Up", VK_UP}, {L"Down", VK_DOWN}, {L"Home", VK_HOME}, {L"End", VK_END}};
    for (int i = 0; i < count; ++i) {
        const std::wstring name = names[i];
        std::vector<INPUT> keys;
        const bool ctrl = name.rfind(L"Ctrl+", 0) == 0;
        const std::wstring key = ctrl ? name.substr(5) : name;
        WORD vk = 0;
        for (const auto& [text, code] : named)
            if (key == text)
                vk = code;
        if (vk == 0 && key.size() == 1)
            vk = static_cast<WORD>(towupper(key[0]));
        if (vk == 0)
            return 2;
        const DWORD extended = vk >= VK_PRIOR && vk <= VK_DOWN ? KEYEVENTF_EXTENDEDKEY : 0;
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        if (ctrl) {
            in.ki.wVk = VK_CONTROL;
            keys.push_back(in);
        }
        AddKey(keys, vk, static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), extended);
        if (ctrl) {
            in.ki.dwFlags = KEYEVENTF_KEYUP;
            keys.push_back(in);
        }
        if (SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) != keys.size())
            return 1;
        Sleep(300);
    }
    return 0;
}

int Text(HWND wnd)
{
    if (!wnd)
        return 1;
    PrintLine(TextOf(wnd));
    return 0;
}

int Rect(HWND wnd)
{
    RECT rect{};
    if (!wnd || !GetWindowRect(wnd, &rect))
        return 1;
    PrintLine(std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " + std::to_wstring(rect.right) +
              L" " + std::to_wstring(rect.bottom));
    return 0;
}

// The pointer itself moves, so the program sees the mouse arrive as from a
// person's hand (enter, hover, timers), not a posted message.
int PointAt(HWND wnd)
{
    RECT rect{};
    if (!wnd || !GetWindowRect(wnd, &rect))
        return 1;
    if (!SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2))
        return 1;
    return Rect(wnd);
}

int WaitEnabled(const wchar_t* top, const wchar_t* cls, const wchar_t* text, bool enabled, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        HWND wnd = Child(top, cls, text);
        if (wnd && (IsWindowEnabled(wnd) != FALSE) == enabled)
            return 0;
        Sleep(50);
    }
    return 1;
}

int Lists(const wchar_t* top, const wchar_t* cls)
{
    HWND topWnd = FindVisible(top);
    if (!topWnd)
        return 1;
    std::vector<HWND> lists = Children(topWnd, cls);
    std::sort(lists.begin(), lists.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    for (HWND list : lists) {
        DWORD_PTR count = 0;
        SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, SendTimeout, &count);
        std::wstring line;
        for (DWORD_PTR i = 0; i < count; ++i) {
            wchar_t item[1024] = {};
            DWORD_PTR length = 0;
            SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_NORMAL, SendTimeout,
                                &length);
            line += (i ? L" | " : L"") + std::wstring(item);
        }
        PrintLine(line);
    }
    return 0;
}

int Dialog(int seconds)
{
    HWND box = WaitForDialog(seconds);
    if (!box)
        return 1;
    Sleep(200);
    HWND message = GetDlgItem(box, MessageTextId);
    PrintLine(TextOf(box));
    PrintLine(message ? TextOf(message) : std::wstring());
    return 0;
}

int Save(const wchar_t* path, int seconds)
{
    HWND dialog = WaitForDialog(seconds);
    if (!dialog)
        return 1;
    Sleep(300);
    HWND name = GetDlgItem(dialog, FileNameCombo);
    if (!name)
        name = GetDlgItem(dialog, FileNameEdit);
    if (!name)
        return 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path), SMTO_NORMAL, SendTimeout, &result);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

int Press(int id)
{
    HWND box = WaitForDialog(1);
    if (!box)
        return 1;
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(id), 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i)
        Sleep(50);
    return IsWindow(box) ? 1 : 0;
}

int Usage()
{
    fwprintf(stderr, L"usage: wintool wait|close|closeall|click|clickat|type|text|rect|pointat|waitenabled|lists|dialog|save|press|keys ...\n");
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Usage();
    const std::wstring command = argv[1];
    const auto seconds = [&](int index, int fallback) { return argc > index ? _wtoi(argv[index]) : fallback; };
    if (command == L"wait" && argc >= 3)
        return Wait(argv[2], seconds(3, 30));
    if (command == L"close" && argc >= 3)
        return Close(argv[2]);
    if (command == L"closeall" && argc >= 3)
        return CloseAll(argv[2], seconds(3, 30));
    if (command == L"click" && argc >= 4)
        return Click(Child(argv[2], argv[3], argc >= 5 ? argv[4] : nullptr, argc >= 6 ? _wtoi(argv[5]) : 1));
    if (command == L"clickat" && argc >= 6)
        return ClickAt(Child(argv[2], argv[3]), _wtoi(argv[4]), _wtoi(argv[5]));
    if (command == L"type" && argc >= 5)
        return Type(Child(argv[2], argv[3]), argv[4]);
    if (command == L"keys" && argc >= 5)
        return Keys(Child(argv[2], argv[3]), argc - 4, argv + 4);
    if (command == L"text" && argc >= 4)
        return Text(Child(argv[2], argv[3]));
    if (command == L"rect" && argc >= 4)
        return Rect(Child(argv[2], argv[3], argc >= 5 ? argv[4] : nullptr));
    if (command == L"pointat" && argc >= 4)
        return PointAt(Child(argv[2], argv[3], argc >= 5 ? argv[4] : nullptr));
    if (command == L"waitenabled" && argc >= 6)
        return WaitEnabled(argv[2], argv[3], argv[4], _wtoi(argv[5]) != 0, seconds(6, 30));
    if (command == L"lists" && argc >= 4)
        return Lists(argv[2], argv[3]);
    if (command == L"dialog")
        return Dialog(seconds(2, 30));
    if (command == L"save" && argc >= 3)
        return Save(argv[2], seconds(3, 30));
    if (command == L"press" && argc >= 3)
        return Press(_wtoi(argv[2]));
    return Usage();
}
