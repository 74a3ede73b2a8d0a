// The value encoding of binary component streams.
#include "Classes.h"
#include <cfloat>
#include <cstring>
#include <limits>

static_assert(LDBL_MANT_DIG == 64, "extended values need the 80-bit long double");

namespace {

const char Signature[4] = {'T', 'P', 'F', '0'};
constexpr int ExtendedSize = 10;

bool IsSevenBit(const String& s)
{
    for (wchar_t ch : s)
        if (ch >= 0x80)
            return false;
    return true;
}

[[noreturn]] void InvalidValue()
{
    throw EReadError(L"Invalid property value");
}

} // namespace

// ---------------------------------------------------------------------------
// TWriter

void TWriter::Put(const void* Data, Int64 Count)
{
    stream_->WriteBuffer(Data, Count);
}

void TWriter::WriteSignature()
{
    Put(Signature, sizeof Signature);
}

void TWriter::WriteStr(const String& Value)
{
    const AnsiString narrow = WideToAnsi(Value);
    if (narrow.size() > 255)
        throw EWriteError(L"Name too long for a component stream: " + Value);
    const Byte length = static_cast<Byte>(narrow.size());
    Put(&length, 1);
    Put(narrow.data(), length);
}

void TWriter::WriteValue(TValueType Value)
{
    const Byte code = static_cast<Byte>(Value);
    Put(&code, 1);
}

void TWriter::WriteInteger(Int64 Value)
{
    if (Value >= std::numeric_limits<std::int8_t>::min() && Value <= std::numeric_limits<std::int8_t>::max()) {
        WriteValue(vaInt8);
        const auto v = static_cast<std::int8_t>(Value);
        Put(&v, sizeof v);
    } else if (Value >= std::numeric_limits<std::int16_t>::min() && Value <= std::numeric_limits<std::int16_t>::max()) {
        WriteValue(vaInt16);
        const auto v = static_cast<std::int16_t>(Value);
        Put(&v, sizeof v);
    } else if (Value >= std::numeric_limits<Integer>::min() && Value <= std::numeric_limits<Integer>::max()) {
        WriteValue(vaInt32);
        const auto v = static_cast<Integer>(Value);
        Put(&v, sizeof v);
    } else {
        WriteValue(vaInt64);
        Put(&Value, sizeof Value);
    }
}

void TWriter::WriteString(const String& Value)
{
    if (IsSevenBit(Value)) {
        const std::string narrow(Value.begin(), Value.end());
        if (narrow.size() <= 255) {
            WriteValue(vaString);
            const Byte length = static_cast<Byte>(narrow.size());
            Put(&length, 1);
        } else {
            WriteValue(vaLString);
            const auto length = static_cast<Integer>(narrow.size());
            Put(&length, sizeof length);
        }
        Put(narrow.data(), static_cast<Int64>(narrow.size()));
        return;
    }
    WriteValue(vaWString);
    const auto length = static_cast<Integer>(Value.size());
    Put(&length, sizeof length);
    Put(Value.data(), static_cast<Int64>(Value.size() * sizeof(wchar_t)));
}

void TWriter::WriteFloat(double Value)
{
    WriteValue(vaExtended);
    const long double extended = Value;
    Byte bytes[sizeof(long double)] = {};
    std::memcpy(bytes, &extended, sizeof extended);
    Put(bytes, ExtendedSize);
}

void TWriter::WriteIdent(const String& Ident)
{
    if (SameText(Ident, L"False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, L"True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, L"nil"))
        WriteValue(vaNil);
    else if (SameText(Ident, L"Null"))
        WriteValue(vaNull);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteSet(const std::vector<String>& Members)
{
    WriteValue(vaSet);
    for (const String& member : Members)
        WriteStr(member);
    WriteStr(String());
}

void TWriter::WriteBinary(const void* Data, Int64 Count)
{
    if (Count > std::numeric_limits<Integer>::max())
        throw EWriteError(L"Binary value too large for a component stream");
    WriteValue(vaBinary);
    const auto length = static_cast<Integer>(Count);
    Put(&length, sizeof length);
    Put(Data, Count);
}

// ---------------------------------------------------------------------------
// TReader

Int64 TReader::Remaining()
{
    return stream_->GetSize() - stream_->GetPosition();
}

void TReader::Get(void* Data, Int64 Count)
{
    if (Count > Remaining())
        throw EReadError(L"Stream read error");
    stream_->ReadBuffer(Data, Count);
}

void TReader::ReadSignature()
{
    char bytes[sizeof Signature] = {};
    if (Remaining() < static_cast<Int64>(sizeof bytes))
        throw EReadError(L"Invalid stream format");
    Get(bytes, sizeof bytes);
    if (std::memcmp(bytes, Signature, sizeof bytes) != 0)
        throw EReadError(L"Invalid stream format");
}

String TReader::ReadStr()
{
    Byte length = 0;
    Get(&length, 1);
    AnsiString narrow(length, '\0');
    Get(narrow.data(), length);
    return AnsiToWide(narrow);
}

TValueType TReader::ReadValue()
{
    Byte code = 0;
    Get(&code, 1);
    if (code > vaDouble)
        throw EReadError(L"Invalid stream format");
    return static_cast<TValueType>(code);
}

TValueType TReader::NextValue()
{
    const TValueType type = ReadValue();
    stream_->Seek(-1, soCurrent);
    return type;
}

bool TReader::EndOfList()
{
    Byte next = 0;
    Get(&next, 1);
    stream_->Seek(-1, soCurrent);
    return next == vaNull;
}

void TReader::CheckValue(TValueType Expected)
{
    if (ReadValue() != Expected)
        InvalidValue();
}

Int64 TReader::ReadInt64()
{
    switch (ReadValue()) {
    case vaInt8: {
        std::int8_t v = 0;
        Get(&v, sizeof v);
        return v;
    }
    case vaInt16: {
        std::int16_t v = 0;
        Get(&v, sizeof v);
        return v;
    }
    case vaInt32: {
        Integer v = 0;
        Get(&v, sizeof v);
        return v;
    }
    case vaInt64: {
        Int64 v = 0;
        Get(&v, sizeof v);
        return v;
    }
    default:
        InvalidValue();
    }
}

Integer TReader::ReadInteger()
{
    const Int64 value = ReadInt64();
    if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max())
        InvalidValue();
    return static_cast<Integer>(value);
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case vaTrue:
        return true;
    case vaFalse:
        return false;
    default:
        InvalidValue();
    }
}

Int64 TReader::ReadLength(Int64 UnitSize)
{
    Integer length = 0;
    Get(&length, sizeof length);
    if (length < 0)
        InvalidValue();
    // Checked before the buffer is made, so that a bad length costs no memory.
    if (length * UnitSize > Remaining())
        throw EReadError(L"Stream read error");
    return length;
}

String TReader::ReadStringOf(TValueType Type)
{
    switch (Type) {
    case vaString:
        return ReadStr();
    case vaLString:
    case vaUTF8String: {
        const Int64 length = ReadLength(1);
        AnsiString narrow(static_cast<std::size_t>(length), '\0');
        Get(narrow.data(), length);
        return Type == vaUTF8String ? UTF8ToString(narrow) : AnsiToWide(narrow);
    }
    case vaWString: {
        const Int64 length = ReadLength(sizeof(wchar_t));
        String wide(static_cast<std::size_t>(length), L'\0');
        Get(wide.data(), length * static_cast<Int64>(sizeof(wchar_t)));
        return wide;
    }
    default:
        InvalidValue();
    }
}

String TReader::ReadString()
{
    return ReadStringOf(ReadValue());
}

double TReader::ReadFloat()
{
    switch (NextValue()) {
    case vaExtended: {
        ReadValue();
        Byte bytes[sizeof(long double)] = {};
        Get(bytes, ExtendedSize);
        long double extended = 0;
        std::memcpy(&extended, bytes, sizeof extended);
        return static_cast<double>(extended);
    }
    case vaDouble: {
        ReadValue();
        double v = 0;
        Get(&v, sizeof v);
        return v;
    }
    case vaSingle: {
        ReadValue();
        float v = 0;
        Get(&v, sizeof v);
        return v;
    }
    default:
        return static_cast<double>(ReadInt64());
    }
}

String TReader::ReadIdent()
{
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return L"False";
    case vaTrue:
        return L"True";
    case vaNil:
        return L"nil";
    case vaNull:
        return L"Null";
    default:
        InvalidValue();
    }
}

std::vector<String> TReader::ReadSet()
{
    CheckValue(vaSet);
    std::vector<String> members;
    for (String member = ReadStr(); !member.empty(); member = ReadStr())
        members.push_back(member);
    return members;
}

std::vector<Byte> TReader::ReadBinary()
{
    CheckValue(vaBinary);
    const Int64 length = ReadLength(1);
    std::vector<Byte> bytes(static_cast<std::size_t>(length));
    Get(bytes.data(), length);
    return bytes;
}
