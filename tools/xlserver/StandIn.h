// What programs and tests need to know of the spreadsheet stand-in server:
// its ProgID and class, where it is built, and how to register it.
#pragma once
#include <windows.h>
#include <string>

namespace xlserver {

inline constexpr wchar_t ProgId[] = L"excel.application";
extern const CLSID StandInClsid;

// tools\xlserver.exe of the build the calling program belongs to (a test program
// sits in <build>\tests, the server in <build>\tools).
std::wstring StandInServerPath();

// Runs the server with one switch ("/regserver", "/unregserver") and waits for it;
// its exit code, or a negative value when it could not be started.
long RunStandInServer(const std::wstring& switchText);

// Registers the stand-in for its lifetime, in the prefix the caller runs in, and
// unregisters it afterwards (also when a test fails half-way).
class StandInRegistration {
public:
    StandInRegistration();
    ~StandInRegistration();
    StandInRegistration(const StandInRegistration&) = delete;
    StandInRegistration& operator=(const StandInRegistration&) = delete;
    bool Registered() const { return registered_; }

private:
    bool registered_ = false;
};

} // namespace xlserver
