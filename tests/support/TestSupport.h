// Helpers shared by every test suite.
#pragma once
#include <windows.h>
#include <functional>
#include <string>

namespace testing_support {

// A fresh folder under the system temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// A file's bytes as they are on disk, and a file written with exactly these
// bytes; a file that cannot be read or written fails the test.
std::string FileBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// The process's GDI and USER object counts, to prove a test leaves none behind.
DWORD GdiObjectCount();
DWORD UserObjectCount();

// Dispatches posted and sent messages until the queue is empty.
void PumpMessages();

// Answers the next message box this thread shows, the way a user would:
// once the box is up, Read looks at it and returns the button to press.
// Call it before the call that shows the box.
void AnswerNextMessageBox(std::function<int(HWND box)> Read);
// A window's text; a message box's message.
std::wstring WindowText(HWND wnd);
std::wstring MessageBoxText(HWND box);

// The repository's folder, for fixtures (set by CTest; empty when run by hand).
std::wstring SourceDir();

// The address of the test directory server that ./test starts (empty when the
// tests run without it). Its domains resolve only inside ./test's namespace.
std::wstring TestDirectoryAddress();

// The Office settings of the current user in the project's Wine prefix,
// which has no Office: a test writes the values it needs and the key goes
// again at the end. When an Office key exists already it is left alone and
// Usable() is false.
class TOfficeSettings {
public:
    TOfficeSettings();
    ~TOfficeSettings();
    TOfficeSettings(const TOfficeSettings&) = delete;
    TOfficeSettings& operator=(const TOfficeSettings&) = delete;
    bool Usable() const { return usable_; }
    // Writes a DWORD under "Software\Microsoft\Office\" + SubKey.
    void SetValue(const std::wstring& SubKey, const std::wstring& Name, DWORD Value);

private:
    bool usable_ = false;
};

} // namespace testing_support
