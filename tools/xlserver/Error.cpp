#include "Error.h"
#include <windows.h>

namespace xlsx {

Error::Error(const std::wstring& message) : std::runtime_error(ToUtf8(message)), message_(message) {}

std::string ToUtf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(std::string_view text, bool strict)
{
    if (text.empty())
        return {};
    const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int n = MultiByteToWideChar(CP_UTF8, flags, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
    if (n == 0)
        throw Error(L"The text is not valid UTF-8.");
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, flags, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

} // namespace xlsx
