// Text encodings: system code pages, UTF-8 and UTF-16 with their marks.
#include "SysUtils.h"
#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <mutex>

namespace {

// The platform's conversions count in an int: a longer text would wrap
// around to a negative or small count.
void CheckConvertible(std::size_t Count, const wchar_t* What)
{
    if (Count > static_cast<std::size_t>(INT_MAX))
        throw EEncodingError(String(What) + L" of " + IntToStr(static_cast<Int64>(Count)) +
                             L" units is more than can be converted at once");
}

} // namespace

bool TEncoding::CanEncode(const String& S) const
{
    return GetString(GetBytes(S)) == S;
}

TBytes TMBCSEncoding::GetBytes(const String& S) const
{
    if (S.empty())
        return {};
    CheckConvertible(S.size(), L"A text");
    const int len = static_cast<int>(S.size());
    int n = WideCharToMultiByte(codePage_, 0, S.c_str(), len, nullptr, 0, nullptr, nullptr);
    TBytes out(static_cast<std::size_t>(n));
    WideCharToMultiByte(codePage_, 0, S.c_str(), len, reinterpret_cast<char*>(out.data()), n,
                        nullptr, nullptr);
    return out;
}

String TMBCSEncoding::GetString(const Byte* Bytes, std::size_t Count) const
{
    if (Count == 0)
        return String();
    CheckConvertible(Count, L"A text");
    auto* src = reinterpret_cast<const char*>(Bytes);
    int n = MultiByteToWideChar(codePage_, 0, src, static_cast<int>(Count), nullptr, 0);
    String out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage_, 0, src, static_cast<int>(Count), out.data(), n);
    return out;
}

TBytes TUTF8Encoding::GetPreamble() const
{
    return bom_ ? TBytes{0xEF, 0xBB, 0xBF} : TBytes{};
}

TBytes TUnicodeEncoding::GetBytes(const String& S) const
{
    TBytes out;
    out.reserve(S.size() * 2);
    for (wchar_t c : S) {
        Byte lo = static_cast<Byte>(c & 0xFF), hi = static_cast<Byte>((c >> 8) & 0xFF);
        out.push_back(bigEndian_ ? hi : lo);
        out.push_back(bigEndian_ ? lo : hi);
    }
    return out;
}

String TUnicodeEncoding::GetString(const Byte* Bytes, std::size_t Count) const
{
    String out;
    out.reserve(Count / 2);
    for (std::size_t i = 0; i + 1 < Count; i += 2) {
        unsigned first = Bytes[i], second = Bytes[i + 1];
        out += static_cast<wchar_t>(bigEndian_ ? (first << 8) | second : (second << 8) | first);
    }
    return out;
}

TBytes TUnicodeEncoding::GetPreamble() const
{
    return bigEndian_ ? TBytes{0xFE, 0xFF} : TBytes{0xFF, 0xFE};
}

// The standard encodings live for the whole process.
TEncoding* TEncoding::Default()
{
    static TMBCSEncoding encoding(GetACP());
    return &encoding;
}

TEncoding* TEncoding::UTF8()
{
    static TUTF8Encoding encoding(true);
    return &encoding;
}

TEncoding* TEncoding::Unicode()
{
    static TUnicodeEncoding encoding(false);
    return &encoding;
}

TEncoding* TEncoding::BigEndianUnicode()
{
    static TUnicodeEncoding encoding(true);
    return &encoding;
}

TEncoding* TEncoding::ASCII()
{
    static TMBCSEncoding encoding(IsValidCodePage(20127) ? 20127 : 437);
    return &encoding;
}

TEncoding* TEncoding::OEM()
{
    static TMBCSEncoding encoding(GetOEMCP());
    return &encoding;
}

TEncoding* TEncoding::GetEncoding(UINT CodePage)
{
    switch (CodePage) {
    case CP_UTF8:
        return New<TUTF8Encoding>(true);
    case 1200:
        return New<TUnicodeEncoding>(false);
    case 1201:
        return New<TUnicodeEncoding>(true);
    default:
        if (CodePage != CP_ACP && CodePage != CP_OEMCP && !IsValidCodePage(CodePage))
            throw EEncodingError(L"Invalid code page " + IntToStr(CodePage));
        return New<TMBCSEncoding>(CodePage);
    }
}

bool TEncoding::IsStandardEncoding(const TEncoding* Encoding)
{
    return Encoding == Default() || Encoding == UTF8() || Encoding == Unicode() ||
           Encoding == BigEndianUnicode() || Encoding == ASCII() || Encoding == OEM();
}

int TEncoding::GetBufferEncoding(const TBytes& Buffer, TEncoding*& Encoding)
{
    auto startsWith = [&](const TBytes& mark) {
        return !mark.empty() && Buffer.size() >= mark.size() &&
               std::equal(mark.begin(), mark.end(), Buffer.begin());
    };
    if (!Encoding) {
        for (TEncoding* candidate : {UTF8(), Unicode(), BigEndianUnicode()})
            if (startsWith(candidate->GetPreamble())) {
                Encoding = candidate;
                return static_cast<int>(candidate->GetPreamble().size());
            }
        Encoding = Default();
        return 0;
    }
    TBytes mark = Encoding->GetPreamble();
    return startsWith(mark) ? static_cast<int>(mark.size()) : 0;
}

TEncoding* TEncoding::Shared(const TEncoding* Encoding)
{
    if (!Encoding || IsStandardEncoding(Encoding))
        return const_cast<TEncoding*>(Encoding);
    static std::mutex lock;
    static std::map<std::pair<UINT, std::size_t>, TOwned<TEncoding>> cache;
    std::lock_guard<std::mutex> guard(lock);
    auto key = std::make_pair(Encoding->GetCodePage(), Encoding->GetPreamble().size());
    auto& slot = cache[key];
    if (!slot) {
        slot.reset(GetEncoding(key.first));
        if (key.first == CP_UTF8 && key.second == 0)
            slot.reset(New<TUTF8Encoding>(false));
    }
    return slot.get();
}
