// The value encoding of binary component streams: each value's bytes, values
// read back, and streams that end early or hold a value of another type.
#include <gtest/gtest.h>
#include "Classes.h"
#include <functional>

namespace {

std::string Bytes(TMemoryStream* m)
{
    return std::string(static_cast<const char*>(m->Memory()), static_cast<std::size_t>(m->GetSize()));
}

std::string Written(const std::function<void(TWriter&)>& write)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    TWriter writer(m.get());
    write(writer);
    return Bytes(m.get());
}

TMemoryStream* StreamOf(const std::string& bytes)
{
    auto* m = New<TMemoryStream>();
    m->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    m->SetPosition(0);
    return m;
}

struct EncodingCase {
    const char* what;
    std::function<void(TWriter&)> write;
    std::string bytes;
};

} // namespace

TEST(ComponentStreamValues, EachValueHasItsBytes)
{
    using namespace std::string_literals;
    const EncodingCase cases[] = {
        {"signature", [](TWriter& w) { w.WriteSignature(); }, "TPF0"},
        {"short string", [](TWriter& w) { w.WriteStr(L"Col"); }, "\x03" "Col"},
        {"list end", [](TWriter& w) { w.WriteListEnd(); }, "\x00"s},
        {"int8", [](TWriter& w) { w.WriteInteger(-128); }, "\x02\x80"},
        {"int16", [](TWriter& w) { w.WriteInteger(300); }, "\x03\x2C\x01"},
        {"int32", [](TWriter& w) { w.WriteInteger(70000); }, "\x04\x70\x11\x01\x00"s},
        {"int64", [](TWriter& w) { w.WriteInteger(0x100000000LL); }, "\x13\x00\x00\x00\x00\x01\x00\x00\x00"s},
        {"booleans", [](TWriter& w) { w.WriteBoolean(false); w.WriteBoolean(true); }, "\x08\x09"},
        {"ASCII text", [](TWriter& w) { w.WriteString(L"a&b"); }, "\x06\x03" "a&b"},
        {"long ASCII text", [](TWriter& w) { w.WriteString(String(256, L'x')); },
         "\x0C\x00\x01\x00\x00"s + std::string(256, 'x')},
        {"wide text", [](TWriter& w) { w.WriteString(L"\u00FC"); }, "\x12\x01\x00\x00\x00\xFC\x00"s},
        {"empty text", [](TWriter& w) { w.WriteString(L""); }, "\x06\x00"s},
        {"extended 1.5", [](TWriter& w) { w.WriteFloat(1.5); }, "\x05\x00\x00\x00\x00\x00\x00\x00\xC0\xFF\x3F"s},
        {"identifier", [](TWriter& w) { w.WriteIdent(L"taCenter"); }, "\x07\x08" "taCenter"},
        {"True as identifier", [](TWriter& w) { w.WriteIdent(L"True"); }, "\x09"},
        {"set", [](TWriter& w) { w.WriteSet({L"fsBold", L"fsItalic"}); }, "\x0B\x06" "fsBold" "\x08" "fsItalic" "\x00"s},
        {"binary", [](TWriter& w) { w.WriteBinary("ab", 2); }, "\x0A\x02\x00\x00\x00" "ab"s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Written(c.write), c.bytes) << c.what;
}

TEST(ComponentStreamValues, ValuesReadBackAsWritten)
{
    const String wide = L"Z\u00FCrich \U0001F600";
    const std::string bytes = Written([&](TWriter& w) {
        w.WriteSignature();
        w.WriteStr(L"TGridCellIO");
        w.WriteInteger(-5);
        w.WriteInteger(65535);
        w.WriteInteger(-3000000000LL);
        w.WriteBoolean(true);
        w.WriteString(wide);
        w.WriteString(String(300, L'q'));
        w.WriteFloat(-0.1);
        w.WriteIdent(L"ctBitmap");
        w.WriteSet({});
        w.WriteBinary("\x00\x01", 2);
        w.WriteListBegin();
        w.WriteListEnd();
    });
    TOwned<TMemoryStream> m(StreamOf(bytes));
    TReader r(m.get());
    r.ReadSignature();
    EXPECT_EQ(r.ReadStr(), L"TGridCellIO");
    EXPECT_EQ(r.ReadInteger(), -5);
    EXPECT_EQ(r.ReadInteger(), 65535);
    EXPECT_EQ(r.ReadInt64(), -3000000000LL);
    EXPECT_TRUE(r.ReadBoolean());
    EXPECT_EQ(r.ReadString(), wide);
    EXPECT_EQ(r.ReadString(), String(300, L'q'));
    EXPECT_EQ(r.ReadFloat(), -0.1) << "an extended value holds every double exactly";
    EXPECT_EQ(r.ReadIdent(), L"ctBitmap");
    EXPECT_TRUE(r.ReadSet().empty());
    EXPECT_EQ(r.ReadBinary(), (std::vector<Byte>{0, 1}));
    r.ReadListBegin();
    EXPECT_TRUE(r.EndOfList());
    r.ReadListEnd();
    EXPECT_EQ(r.Remaining(), 0);

    // A property name after a list is no value type, and no end either.
    const std::string named = Written([](TWriter& w) { w.WritePropName(String(25, L'P')); });
    TOwned<TMemoryStream> n(StreamOf(named));
    TReader names(n.get());
    EXPECT_FALSE(names.EndOfList());
    EXPECT_EQ(names.ReadPropName(), String(25, L'P'));
}

TEST(ComponentStreamValues, BadStreamsRaiseReadErrors)
{
    using namespace std::string_literals;
    struct Case {
        const char* what;
        std::string bytes;
        std::function<void(TReader&)> read;
    };
    const Case cases[] = {
        {"another signature", "TPF1", [](TReader& r) { r.ReadSignature(); }},
        {"a short signature", "TP", [](TReader& r) { r.ReadSignature(); }},
        {"text where an integer belongs", "\x06\x01x", [](TReader& r) { r.ReadInteger(); }},
        {"an integer past 32 bits", "\x13\x00\x00\x00\x00\x01\x00\x00\x00"s, [](TReader& r) { r.ReadInteger(); }},
        {"a value type past the last", "\x16", [](TReader& r) { r.ReadBoolean(); }},
        {"a truncated integer", "\x04\x01\x02", [](TReader& r) { r.ReadInteger(); }},
        {"a text length past the end", "\x0C\xFF\xFF\xFF\x7F" "abc", [](TReader& r) { r.ReadString(); }},
        {"a negative text length", "\x12\xFF\xFF\xFF\xFF", [](TReader& r) { r.ReadString(); }},
        {"a binary length past the end", "\x0A\x10\x00\x00\x00" "ab"s, [](TReader& r) { r.ReadBinary(); }},
        {"a short name past the end", "\x09" "abc", [](TReader& r) { r.ReadStr(); }},
        {"a set without its end", "\x0B\x03" "abc", [](TReader& r) { r.ReadSet(); }},
        {"nothing at all", "", [](TReader& r) { r.ReadValue(); }},
    };
    for (const auto& c : cases) {
        TOwned<TMemoryStream> m(StreamOf(c.bytes));
        TReader r(m.get());
        EXPECT_THROW(c.read(r), EReadError) << c.what;
    }
}
