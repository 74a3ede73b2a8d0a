#include "SysUtils.h"
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>
#include <algorithm>

void Exception::UpdateNarrow()
{
    int len = WideCharToMultiByte(CP_UTF8, 0, message_.c_str(), static_cast<int>(message_.size()),
                                  nullptr, 0, nullptr, nullptr);
    narrow_.assign(static_cast<std::size_t>(len > 0 ? len : 0), '\0');
    if (len > 0)
        WideCharToMultiByte(CP_UTF8, 0, message_.c_str(), static_cast<int>(message_.size()),
                            narrow_.data(), len, nullptr, nullptr);
}

String Exception::ClassName() const
{
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
    std::string text = status == 0 && name ? name : typeid(*this).name();
    std::free(name);
    return String(text.begin(), text.end());
}

[[noreturn]] void Abort()
{
    throw EAbort(L"Operation aborted");
}

String SysErrorMessage(DWORD ErrorCode)
{
    wchar_t* buffer = nullptr;
    DWORD len = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                               nullptr, ErrorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0,
                               nullptr);
    String text = len && buffer ? String(buffer, len) : String();
    if (buffer)
        LocalFree(buffer);
    return TrimRight(text);
}

[[noreturn]] void RaiseLastOSError(DWORD LastError)
{
    if (LastError == 0)
        throw EOSError(L"A call to an OS function failed");
    throw EOSError(L"System Error.  Code: " + IntToStr(LastError) + L".\r\n" +
                   SysErrorMessage(LastError));
}

[[noreturn]] void RaiseLastOSError()
{
    RaiseLastOSError(GetLastError());
}
