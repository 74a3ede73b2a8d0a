// What programs and tests need to know of the spreadsheet stand-in server:
// its ProgID and class, where it is built, and how to register it.
#pragma once
#include <windows.h>
#include <string>

namespace xlserver {

inline constexpr wchar_t ProgId[] = L"excel.application";
extern const CLSID StandInClsid;
inline constexpr wchar_t WordProgId[] = L"word.application";
extern const CLSID WordClsid;
inline constexpr wchar_t AdoConnectionProgId[] = L"ADODB.Connection";
extern const CLSID AdoConnectionClsid;
inline constexpr wchar_t AdoRecordSetProgId[] = L"ADODB.RecordSet";
extern const CLSID AdoRecordSetClsid;
inline constexpr wchar_t SpreadsheetServer[] = L"xlserver.exe";
inline constexpr wchar_t WordServer[] = L"wordserver.exe";
inline constexpr wchar_t AdoServer[] = L"adoserver.exe";
// Where the database stand-in counts its open connections and record sets
// (HKEY_CURRENT_USER, value "Open", a DWORD).
inline constexpr wchar_t AdoCounterKey[] = L"Software\\Tavelin\\AdoStandIn";

// tools\<server> of the build the calling program belongs to (a test program
// sits in <build>\tests, the servers in <build>\tools).
std::wstring StandInServerPath(const wchar_t* server = SpreadsheetServer);

// Runs the server with one switch ("/regserver", "/unregserver") and waits for it;
// its exit code, or a negative value when it could not be started.
long RunStandInServer(const std::wstring& switchText, const wchar_t* server = SpreadsheetServer);

// Registers a stand-in for its lifetime, in the prefix the caller runs in, and
// unregisters it afterwards (also when a test fails half-way).
class StandInRegistration {
public:
    explicit StandInRegistration(const wchar_t* server = SpreadsheetServer);
    ~StandInRegistration();
    StandInRegistration(const StandInRegistration&) = delete;
    StandInRegistration& operator=(const StandInRegistration&) = delete;
    bool Registered() const { return registered_; }

private:
    const wchar_t* server_;
    bool registered_ = false;
};

} // namespace xlserver
