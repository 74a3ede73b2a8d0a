// The grid's plain-text formats: reading, splitting and writing whole texts.
#include "AdvGridTextIO.h"
#include "AdvGrid.h"
#include "Forms.h"
#include <climits>

namespace advgrid_text {

namespace {

// The platform's conversions count bytes in an int.
constexpr Int64 MaxTextBytes = INT_MAX;

String DecodeBytes(const TBytes& Bytes, TEncoding* Encoding)
{
    TEncoding* encoding = Encoding;
    const int skip = TEncoding::GetBufferEncoding(Bytes, encoding);
    return encoding->GetString(Bytes.data() + skip, Bytes.size() - static_cast<std::size_t>(skip));
}

} // namespace

String ReadStreamText(TStream* Stream, TEncoding* Encoding)
{
    const Int64 size = Stream->GetSize() - Stream->GetPosition();
    if (size > MaxTextBytes)
        throw EEncodingError(L"A text of " + IntToStr(size) + L" bytes is more than can be read at once");
    TBytes bytes(static_cast<std::size_t>(std::max<Int64>(size, 0)));
    if (!bytes.empty())
        Stream->ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    return DecodeBytes(bytes, Encoding);
}

String ReadFileText(const String& FileName, TEncoding* Encoding, bool* Empty)
{
    TOwned<TFileStream> file(New<TFileStream>(FileName, fmOpenRead | fmShareDenyNone));
    if (Empty)
        *Empty = file->GetSize() == 0;
    return ReadStreamText(file.get(), Encoding);
}

std::vector<TLineSpan> SplitLines(const String& Text)
{
    std::vector<TLineSpan> lines;
    std::size_t start = 0;
    const std::size_t size = Text.size();
    while (start < size) {
        std::size_t end = start;
        while (end < size && Text[end] != L'\r' && Text[end] != L'\n')
            ++end;
        lines.push_back({start, end - start});
        start = end + 1;
        if (end < size && Text[end] == L'\r' && start < size && Text[start] == L'\n')
            ++start;
    }
    return lines;
}

void WriteStreamText(TStream* Stream, const String& Text, TEncoding* Encoding, bool WriteBOM)
{
    if (WriteBOM) {
        const TBytes mark = Encoding->GetPreamble();
        if (!mark.empty())
            Stream->WriteBuffer(mark.data(), static_cast<Int64>(mark.size()));
    }
    const TBytes bytes = Encoding->GetBytes(Text);
    if (!bytes.empty())
        Stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void WriteFileText(const String& FileName, const String& Text, TEncoding* Encoding, bool WriteBOM)
{
    TOwned<TFileStream> file(New<TFileStream>(FileName, fmCreate));
    WriteStreamText(file.get(), Text, Encoding, WriteBOM);
}

TOwned<TFileStream> CreateTextFile(const String& FileName)
{
    try {
        return TOwned<TFileStream>(New<TFileStream>(FileName, fmCreate));
    } catch (const EStreamError&) {
        throw EAdvGridError(L"Cannot Create file " + FileName);
    }
}

String EncodeLineBreakChars(const String& S)
{
    // A lone LF would end the line of the file as surely as CR does.
    if (S.find_first_of(L"\r\n") == String::npos)
        return S;
    String out = S;
    for (wchar_t& ch : out)
        if (ch == L'\r')
            ch = 9;
        else if (ch == L'\n')
            ch = 8;
        else if (ch == 0)
            ch = 1;
    return out;
}

String DecodeLineBreakChars(const String& S, bool MultiLine)
{
    if (S.find(wchar_t(8)) == String::npos)
        return S;
    String out = S;
    for (wchar_t& ch : out)
        if (ch == 9)
            ch = L'\r';
        else if (ch == 8)
            ch = L'\n';
        else if (ch == 1)
            ch = 0;
    if (!MultiLine) {
        const std::size_t end = out.find_first_of(L"\r\n");
        if (end != String::npos)
            out.resize(end);
    }
    return out;
}

bool ReadInteger(const String& S, Int64& Value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < S.size() && (S[i] == L'-' || S[i] == L'+'))
        negative = S[i++] == L'-';
    if (i == S.size())
        return false;
    Int64 value = 0;
    for (; i < S.size(); ++i) {
        if (S[i] < L'0' || S[i] > L'9')
            return false;
        // Far beyond any count; stops the sum before it overflows.
        if (value > (Int64(1) << 40))
            return false;
        value = value * 10 + (S[i] - L'0');
    }
    Value = negative ? -value : value;
    return true;
}

String ExtractToken(String& S, wchar_t Delimiter)
{
    const std::size_t at = S.find(Delimiter);
    if (at == String::npos)
        return String();
    String token = S.substr(0, at);
    S.erase(0, at + 1);
    return token;
}

String StringToOEM(const String& S)
{
    return AnsiToWide(WideToAnsi(S, CP_OEMCP), CP_ACP);
}

String OEMToString(const String& S)
{
    return AnsiToWide(WideToAnsi(S, CP_ACP), CP_OEMCP);
}

THourGlass::THourGlass() : saved_(Screen->GetCursor())
{
    Screen->SetCursor(crHourGlass);
}

THourGlass::~THourGlass()
{
    Screen->SetCursor(saved_);
}

} // namespace advgrid_text
