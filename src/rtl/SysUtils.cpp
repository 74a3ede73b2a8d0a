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

namespace {

int LocaleCompare(const String& a, const String& b, DWORD flags)
{
    int r = CompareStringW(LOCALE_USER_DEFAULT, flags, a.c_str(), static_cast<int>(a.size()),
                           b.c_str(), static_cast<int>(b.size()));
    return r == 0 ? 0 : r - CSTR_EQUAL;
}

wchar_t AsciiUpper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
}

} // namespace

int AnsiCompareStr(const String& a, const String& b) { return LocaleCompare(a, b, 0); }
int AnsiCompareText(const String& a, const String& b) { return LocaleCompare(a, b, NORM_IGNORECASE); }
bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }

int CompareText(const String& a, const String& b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int d = static_cast<int>(AsciiUpper(a[i])) - static_cast<int>(AsciiUpper(b[i]));
        if (d != 0)
            return d;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const String& a, const String& b) { return CompareText(a, b) == 0; }

String IntToStr(Int64 value) { return std::to_wstring(value); }
