// String lists: sorting rules and files in every encoding.
#include <gtest/gtest.h>
#include "Classes.h"
#include "TestSupport.h"
#include <fstream>
#include <iterator>

using testing_support::TempDir;

namespace {

std::vector<String> Lines(TStrings& list)
{
    std::vector<String> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

std::string FileBytes(const String& name)
{
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const String& name, const std::string& bytes)
{
    std::ofstream out(name.c_str(), std::ios::binary);
    out << bytes;
}

} // namespace

TEST(StringListSort, CaseDuplicatesAndLocaleOrder)
{
    TStringList list;
    for (const wchar_t* s : {L"cherry", L"Banana", L"apple", L"яблоко", L"ель", L"Жук", L"ёж"})
        list.Add(s);
    list.SetSorted(true);
    // The user's collation: case ignored, and "ё" counts as a form of "е"
    // (by code point it would follow "я").
    EXPECT_EQ(Lines(list), (std::vector<String>{L"apple", L"Banana", L"cherry", L"ёж", L"ель",
                                                L"Жук", L"яблоко"}));

    EXPECT_EQ(list.Add(L"BANANA"), 1) << "dupIgnore answers the existing index";
    EXPECT_EQ(list.Count(), 7);
    EXPECT_EQ(list.IndexOf(L"ЯБЛОКО"), 6);
    list.Duplicates = dupError;
    EXPECT_THROW(list.Add(L"Apple"), EStringListError);
    list.Duplicates = dupAccept;
    list.Add(L"Apple");
    EXPECT_EQ(list.Count(), 8);
    EXPECT_EQ(Lines(list)[0] + Lines(list)[1] + Lines(list)[2], L"AppleappleBanana")
        << "a duplicate joins its equals";

    TStringList exact;
    exact.SetCaseSensitive(true);
    for (const wchar_t* s : {L"b", L"B", L"a", L"A"})
        exact.Add(s);
    exact.SetSorted(true);
    EXPECT_EQ(Lines(exact), (std::vector<String>{L"a", L"A", L"b", L"B"}))
        << "case-sensitive locale order keeps lower case first within a letter";
    EXPECT_EQ(exact.IndexOf(L"B"), 3);
    exact.Duplicates = dupError;
    EXPECT_NO_THROW(exact.Add(L"Ab"));
    EXPECT_THROW(exact.Add(L"A"), EStringListError);
    EXPECT_THROW(exact.Insert(0, L"z"), EStringListError) << "a sorted list places items itself";
}

TEST(StringListFile, EveryEncodingRoundTripsItsText)
{
    TempDir temp;
    const String cyrillic = L"Привет, мир";
    const String latin = L"Grüße";
    TOwned<TEncoding> cp1251(TEncoding::GetEncoding(1251));
    TOwned<TEncoding> oem437(TEncoding::GetEncoding(437));

    struct Case {
        const wchar_t* name;
        TEncoding* encoding;
        String text;
        std::string head;    // the first bytes of the file
        String loaded;       // what comes back (lossy encodings replace)
    } cases[] = {
        {L"utf8", TEncoding::UTF8(), cyrillic, "\xEF\xBB\xBF\xD0\x9F", cyrillic},
        {L"utf16", TEncoding::Unicode(), cyrillic, std::string("\xFF\xFE\x1F\x04", 4), cyrillic},
        {L"utf16be", TEncoding::BigEndianUnicode(), cyrillic, std::string("\xFE\xFF\x04\x1F", 4), cyrillic},
        {L"cp1251", cp1251.get(), cyrillic, "\xCF\xF0", cyrillic},
        {L"ascii", TEncoding::ASCII(), cyrillic + L" ok", "??????", L"??????, ??? ok"},
        {L"oem437", oem437.get(), latin, "Gr\x81", latin},
    };
    for (const auto& c : cases) {
        const String file = temp.File(String(c.name) + L".txt");
        TStringList out;
        out.Add(c.text);
        out.Add(L"second line");
        out.SaveToFile(file, c.encoding);
        EXPECT_EQ(FileBytes(file).substr(0, c.head.size()), c.head) << c.name;

        // A byte-order mark is found by itself; plain code pages are named.
        TStringList in;
        bool hasMark = !c.encoding->GetPreamble().empty();
        in.LoadFromFile(file, hasMark ? nullptr : c.encoding);
        EXPECT_EQ(Lines(in), (std::vector<String>{c.loaded, L"second line"})) << c.name;
        if (hasMark) {
            EXPECT_EQ(in.GetEncoding()->GetCodePage(), c.encoding->GetCodePage()) << c.name;
        }
    }
}

TEST(StringListFile, SavingKeepsTheEncodingFoundOnLoading)
{
    TempDir temp;
    const String file = temp.File(L"keep.txt");
    WriteBytes(file, "\xEF\xBB\xBF\xD0\xB0\r\nb");
    TStringList list;
    list.LoadFromFile(file);
    EXPECT_EQ(Lines(list), (std::vector<String>{L"а", L"b"}));
    list.Add(L"ж");
    list.SaveToFile(file);
    EXPECT_EQ(FileBytes(file), "\xEF\xBB\xBF\xD0\xB0\r\nb\r\n\xD0\xB6\r\n");

    list.WriteBOM = false;
    list.SaveToFile(file, TEncoding::Unicode());
    EXPECT_EQ(FileBytes(file).substr(0, 2), std::string("\x30\x04", 2)) << "no mark when WriteBOM is off";

    // Without a mark the system code page is assumed.
    WriteBytes(file, "plain\nlines\r\n");
    list.LoadFromFile(file);
    EXPECT_EQ(list.GetEncoding(), TEncoding::Default());
    EXPECT_EQ(Lines(list), (std::vector<String>{L"plain", L"lines"}));
    EXPECT_THROW(list.LoadFromFile(temp.File(L"missing.txt")), EFOpenError);
}

TEST(StringListFile, StreamsLoadFromTheirPosition)
{
    TOwned<TStringStream> stream(New<TStringStream>(L"skip|один\nдва"));
    EXPECT_EQ(stream->DataString(), L"skip|один\nдва");
    stream->SetPosition(5);
    TStringList list;
    list.LoadFromStream(stream.get(), TEncoding::UTF8());
    EXPECT_EQ(Lines(list), (std::vector<String>{L"один", L"два"}));

    TOwned<TMemoryStream> out(New<TMemoryStream>());
    list.SaveToStream(out.get(), TEncoding::Unicode());
    EXPECT_EQ(out->GetSize(), 2 + 2 * 11);
}
