// Embedded fonts: how the two collections copy their items, the "FontData"
// property in a component stream, and installing font files privately,
// malformed ones refused. The font bytes are a real TrueType file of the
// platform (Wine's Marlett in the prefix's font folder).
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "acFontStore.h"
#include <cstring>
#include <random>

namespace {

std::string PlatformFontBytes()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return testing_support::FileBytes(std::wstring(windows) + L"\\Fonts\\marlett.ttf");
}

void SetData(TacEmbeddedFont* item, const std::string& bytes)
{
    item->FontData->Clear();
    if (!bytes.empty())
        item->FontData->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    item->FontData->SetPosition(0);
}

std::string Data(const TacEmbeddedFont* item)
{
    return std::string(static_cast<const char*>(item->FontData->Memory()),
                       static_cast<std::size_t>(item->FontData->GetSize()));
}

void PutBigEndian(std::string& bytes, std::size_t at, Cardinal value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * (width - 1 - i)));
}

} // namespace

TEST(FontStore, InstallsAWellFormedFontAndRefusesMalformedOnes)
{
    const std::string font = PlatformFontBytes();
    ASSERT_GT(font.size(), 1000u);
    std::mt19937 random(49);
    std::string noise(font.size(), '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    std::string offsetPastEnd = font;   // the first table record's offset
    PutBigEndian(offsetPastEnd, 12 + 8, static_cast<Cardinal>(font.size()), 4);
    std::string lengthPastEnd = font;   // the first table record's length
    PutBigEndian(lengthPastEnd, 12 + 12, 0xFFFFFFF0u, 4);
    std::string noTables = font;
    PutBigEndian(noTables, 4, 0, 2);
    std::string hugeCount = font;
    PutBigEndian(hugeCount, 4, 0xFFFF, 2);
    std::string collectionPastEnd = "ttcf";
    collectionPastEnd += std::string("\0\1\0\0\0\0\0\1\0\0\0\0", 12);
    PutBigEndian(collectionPastEnd, 12, 0x7FFFFFF0u, 4);

    const struct {
        const char* name;
        std::string bytes;
    } malformed[] = {
        {"empty", ""},
        {"random bytes", noise},
        {"cut font", font.substr(0, font.size() / 2)},
        {"header only", font.substr(0, 12)},
        {"table offset past the end", offsetPastEnd},
        {"table length past the end", lengthPastEnd},
        {"zero tables", noTables},
        {"huge table count", hugeCount},
        {"collection entry past the end", collectionPastEnd},
    };
    for (TacEmbeddedFontsKind kind : {efkSkinManager, efkCharImageList}) {
        TOwned<TacEmbeddedFonts> fonts(New<TacEmbeddedFonts>(nullptr, kind));
        for (const auto& row : malformed) {
            SCOPED_TRACE(row.name);
            TacEmbeddedFont* item = fonts->Add();
            item->SetFontName(L"Marlett");
            SetData(item, row.bytes);
            item->LoadFont();
            EXPECT_EQ(item->Handle, nullptr);
            EXPECT_EQ(Data(item), row.bytes);
            EXPECT_EQ(item->GetFontName(), L"Marlett");
        }

        TacEmbeddedFont* good = fonts->Add();
        SetData(good, font);
        good->LoadFont();
        EXPECT_NE(good->Handle, nullptr);
        EXPECT_EQ(Data(good), font);
        good->UnLoadFont();
        EXPECT_EQ(good->Handle, nullptr);
    }
}

TEST(FontStore, CharListCollectionAlwaysStartsWithTheBuiltInFont)
{
    const std::string font = PlatformFontBytes();
    TOwned<TacEmbeddedFonts> target(New<TacEmbeddedFonts>(nullptr, efkCharImageList));

    // An empty source gives the data-less built-in item alone.
    TOwned<TacEmbeddedFonts> empty(New<TacEmbeddedFonts>(nullptr, efkCharImageList));
    target->Assign(empty.get());
    ASSERT_EQ(target->Count(), 1);
    EXPECT_EQ(target->Items(0)->GetFontName(), L"FontAwesome");
    EXPECT_EQ(target->Items(0)->FontData->GetSize(), 0);

    // A source headed by the built-in item is copied as it is.
    TOwned<TacEmbeddedFonts> headed(New<TacEmbeddedFonts>(nullptr, efkCharImageList));
    headed->Assign(empty.get());
    TacEmbeddedFont* extra = headed->Add();
    extra->SetFontName(L"Marlett");
    extra->SetFileName(L"marlett.ttf");
    SetData(extra, font);
    target->Assign(headed.get());
    ASSERT_EQ(target->Count(), 2);
    EXPECT_EQ(target->Items(0)->GetFontName(), L"FontAwesome");
    EXPECT_EQ(target->Items(1)->GetFontName(), L"Marlett");
    EXPECT_EQ(target->Items(1)->GetFileName(), L"marlett.ttf");
    EXPECT_EQ(Data(target->Items(1)), font);

    // A source whose first item carries data gets the built-in item in front.
    TOwned<TacEmbeddedFonts> dataFirst(New<TacEmbeddedFonts>(nullptr, efkSkinManager));
    dataFirst->Add()->Assign(extra);
    target->Assign(dataFirst.get());
    ASSERT_EQ(target->Count(), 2);
    EXPECT_EQ(target->Items(0)->GetFontName(), L"FontAwesome");
    EXPECT_EQ(Data(target->Items(1)), font);

    // The skin manager's collection copies exactly what it is given.
    TOwned<TacEmbeddedFonts> skinFonts(New<TacEmbeddedFonts>(nullptr, efkSkinManager));
    skinFonts->Assign(empty.get());
    EXPECT_EQ(skinFonts->Count(), 0);
    skinFonts->Assign(headed.get());
    EXPECT_EQ(skinFonts->Count(), 2);
}

TEST(FontStore, ItemDataCopiesFollowTheCollection)
{
    const std::string longer = "0123456789abcdef";
    const std::string shorter = "xyz";
    const struct {
        TacEmbeddedFontsKind kind;
        std::string target, source, expected;
    } rows[] = {
        // The skin manager's items keep their data when the source has none.
        {efkSkinManager, longer, "", longer},
        {efkCharImageList, longer, "", ""},
        // A shorter file replaces a longer one whole, with no old tail left.
        {efkSkinManager, longer, shorter, shorter},
        {efkCharImageList, longer, shorter, shorter},
    };
    for (const auto& row : rows) {
        TOwned<TacEmbeddedFonts> fonts(New<TacEmbeddedFonts>(nullptr, row.kind));
        TacEmbeddedFont* source = fonts->Add();
        source->SetFontName(L"New");
        source->SetFileName(L"new.ttf");
        SetData(source, row.source);
        TacEmbeddedFont* target = fonts->Add();
        SetData(target, row.target);
        target->FontData->Seek(0, soEnd);
        target->Assign(source);
        EXPECT_EQ(Data(target), row.expected);
        EXPECT_EQ(target->GetFontName(), L"New");
        EXPECT_EQ(target->GetFileName(), L"new.ttf");
    }
    TOwned<TacEmbeddedFonts> fonts(New<TacEmbeddedFonts>(nullptr, efkSkinManager));
    EXPECT_THROW(fonts->Add()->Assign(nullptr), EConvertError);
}

TEST(FontStore, FontDataTravelsThroughAComponentStreamByteForByte)
{
    const std::string font = PlatformFontBytes();
    TOwned<TacEmbeddedFonts> fonts(New<TacEmbeddedFonts>(nullptr, efkSkinManager));
    TacEmbeddedFont* item = fonts->Add();
    item->SetFileName(L"C:\\fonts\\marlett.ttf");
    item->SetFontName(L"Marlett");
    SetData(item, font);
    fonts->Add()->SetFontName(L"Empty");

    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    TWriter writer(stream.get());
    fonts->WriteItems(writer);
    const std::string image(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->GetSize()));

    // The binary property is the filer's framing (value type, 32-bit length)
    // around the file's bytes, with nothing of the item's own.
    const std::size_t name = image.find("\x08" "FontData");
    ASSERT_NE(name, std::string::npos);
    const std::size_t value = name + 9;
    EXPECT_EQ(image[value], static_cast<char>(vaBinary));
    Cardinal length = 0;
    std::memcpy(&length, image.data() + value + 1, 4);
    EXPECT_EQ(length, font.size());
    EXPECT_EQ(image.substr(value + 5, font.size()), font);

    stream->SetPosition(0);
    TReader reader(stream.get());
    TOwned<TacEmbeddedFonts> read(New<TacEmbeddedFonts>(nullptr, efkSkinManager));
    read->ReadItems(reader);
    ASSERT_EQ(read->Count(), 2);
    EXPECT_EQ(read->Items(0)->GetFileName(), L"C:\\fonts\\marlett.ttf");
    EXPECT_EQ(read->Items(0)->GetFontName(), L"Marlett");
    EXPECT_EQ(Data(read->Items(0)), font);
    EXPECT_EQ(read->Items(0)->FontData->GetPosition(), 0);
    EXPECT_EQ(read->Items(0)->Handle, nullptr);   // reading installs nothing
    EXPECT_EQ(read->Items(1)->GetFontName(), L"Empty");
    EXPECT_EQ(read->Items(1)->FontData->GetSize(), 0);
}

TEST(FontStore, BadFontDataValueRaisesAndLeavesTheItem)
{
    // A length prefix past the bytes left, and one that is negative.
    std::string pastEnd("\x0A", 1);
    pastEnd += std::string("\xFF\xFF\xFF\x00", 4) + "abc";
    std::string negative("\x0A", 1);
    negative += std::string("\xFF\xFF\xFF\xFF", 4) + "abc";
    const std::string wrongType = std::string("\x06\x03", 2) + "abc";
    for (const std::string& bytes : {pastEnd, negative, wrongType}) {
        TOwned<TacEmbeddedFonts> fonts(New<TacEmbeddedFonts>(nullptr, efkCharImageList));
        TacEmbeddedFont* item = fonts->Add();
        SetData(item, "kept");
        TOwned<TMemoryStream> stream(New<TMemoryStream>());
        stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
        stream->SetPosition(0);
        TReader reader(stream.get());
        EXPECT_THROW(item->ReadProperty(reader, L"FontData"), EReadError);
        EXPECT_EQ(Data(item), "kept");
    }
}
