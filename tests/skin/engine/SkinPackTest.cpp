// Packed skin files and skins stored in the form: the same skin from a
// folder, a packed file and a stored skin gives the same tables; damaged
// packed files fail cleanly; stored skins survive streaming, assigning and
// extraction; the skin list names what is there, with previews.
#include <gtest/gtest.h>
#include "PngWriter.h"
#include "SkinFiles.h"
#include "TestSupport.h"
#include "acFontStore.h"
#include "acSkinList.h"
#include "acSkinPack.h"
#include "acntTypes.h"
#include <chrono>

namespace {

using testing_support::TempDir;

std::string PackedBlocks(const std::string& Preview = std::string())
{
    return skinwriter::PackedSkin(DescribedSkinFiles("Blocks"), Preview);
}

// A small PNG of one colour.
std::string PreviewPng(int Width, int Height, uint8_t Red)
{
    pngwriter::Image png;
    png.Width = static_cast<uint32_t>(Width);
    png.Height = static_cast<uint32_t>(Height);
    png.ColorType = 2;
    png.BitDepth = 8;
    png.Filter = 0;
    for (int i = 0; i < Width * Height; ++i)
        png.Samples.insert(png.Samples.end(), {Red, 0x40, 0x20});
    return pngwriter::Encode(png);
}

TOwned<TMemoryStream> StreamOf(const std::string& Bytes)
{
    TOwned<TMemoryStream> s(New<TMemoryStream>());
    if (!Bytes.empty())
        s->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    s->SetPosition(0);
    return s;
}

// Reads the packed bytes; the error box's text in Box.
bool ReadPacked(const std::string& Bytes, TacSkinConvertor& Package, std::wstring& Box)
{
    TOwned<TMemoryStream> data = StreamOf(Bytes);
    Package.PackedData = data.get();
    bool ok = false;
    Box = AnsweringBoxes([&] { ok = ReadPackedSkin(&Package, nullptr); });
    Package.PackedData = nullptr;
    return ok;
}

void PutLE32At(std::string& s, size_t At, int32_t V)
{
    std::string le;
    skinwriter::PutLE32(le, V);
    s.replace(At, 4, le);
}

} // namespace

TEST(SkinPack, TheSameSkinFromAFolderAPackedFileAndTheForm)
{
    TempDir dir;
    WriteSkinFolder(dir.File(L"Folder"), DescribedSkinFiles("Blocks"));
    testing_support::WriteBytes(dir.File(L"Packed.asz"), PackedBlocks());
    auto m = NewManager();
    m->SetSkinDirectory(dir.Path());
    TsStoredSkin* stored = m->InternalSkins()->AddSkin();
    stored->Name = L"Stored";
    const std::string packed = PackedBlocks();
    stored->PackedData->WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));

    for (const wchar_t* name : {L"Folder", L"Packed", L"Stored"}) {
        EXPECT_EQ(AnsweringBoxes([&] { m->SetSkinName(name); }), L"") << name;
        EXPECT_EQ(m->GetSkinName(), name);
        EXPECT_EQ(m->SkinIsPacked, String(name) != L"Folder") << name;
        ExpectTablesOfDescription(*m, "Blocks");
        EXPECT_EQ(stored->PackedData->GetSize(), static_cast<Int64>(packed.size())) << "the stored skin keeps its data";
    }
    // An unknown name with stored skins present takes the first of them.
    m->SetSkinName(L"Unknown");
    EXPECT_EQ(m->GetSkinName(), L"Stored");
    EXPECT_TRUE(m->GetActive());
}

TEST(SkinPack, EntriesByNameAndKind)
{
    TacSkinConvertor package;
    std::wstring box;
    // One lower-case option entry alone is a skin without images.
    ASSERT_TRUE(ReadPacked(skinwriter::PackedSkin({{"options.dat", "[GLOBALINFO]\r\nVERSION=13\r\n"}}), package, box));
    EXPECT_EQ(box, L"");
    ASSERT_NE(package.Options, nullptr);
    EXPECT_EQ(package.OptionsText(), L"[GLOBALINFO]\r\nVERSION=13\r\n");
    EXPECT_TRUE(package.Files.empty());
    EXPECT_EQ(package.FileCount, 0);

    ASSERT_TRUE(ReadPacked(skinwriter::PackedSkin({{"Options.dat", "first"},
                                                   {"Icons.TTF", "font"},
                                                   {"notes.txt", "text"},
                                                   {"A.bmp", "bmp"},
                                                   {"Options.dat", "second"}}),
                           package, box));
    EXPECT_EQ(package.OptionsText(), L"second") << "the last option entry counts";
    ASSERT_EQ(package.Files.size(), 3u);
    EXPECT_EQ(package.Files[0].FileType, ftFont);
    EXPECT_EQ(package.Files[1].FileType, ftOther);
    EXPECT_EQ(package.Files[2].FileType, ftBmp);
    EXPECT_EQ(package.FindFile(L"ICONS.TTF"), &package.Files[0]);
    EXPECT_EQ(package.Files[1].Stream->GetSize(), 4);
}

TEST(SkinPack, DamagedPackedDataFailsWithItsMessage)
{
    const std::string good = skinwriter::PackedSkin({{"Options.dat", "[GLOBALINFO]\r\nVERSION=13\r\n"}, {"A.txt", "abc"}});
    const size_t firstName = 8, firstSize = 8 + 4 + 11, firstData = firstSize + 4;
    const std::string options = "[GLOBALINFO]\r\nVERSION=13\r\n";
    const size_t firstEnd = firstData + skinwriter::Deflate(options).size();
    struct Case {
        const char* what;
        std::function<std::string()> bytes;
    } cases[] = {
        {"a short header", [&] { return good.substr(0, 6); }},
        {"another signature", [&] { return "ASzg" + good.substr(4); }},
        {"a negative entry count", [&] { std::string b = good; PutLE32At(b, 4, -1); return b; }},
        {"a huge entry count", [&] { std::string b = good; PutLE32At(b, 4, 0x7FFFFFFF); return b; }},
        {"more entries than present", [&] { std::string b = good; PutLE32At(b, 4, 3); return b; }},
        {"a negative name length", [&] { std::string b = good; PutLE32At(b, firstName, -5); return b; }},
        {"a huge name length", [&] { std::string b = good; PutLE32At(b, firstName, 0x7FFFFFF0); return b; }},
        {"a name past the end", [&] { std::string b = good; PutLE32At(b, firstName, static_cast<int32_t>(b.size())); return b; }},
        {"a negative size", [&] { std::string b = good; PutLE32At(b, firstSize, -1); return b; }},
        {"a huge size", [&] { std::string b = good; PutLE32At(b, firstSize, 0x7FFFFFFF); return b; }},
        {"a size beyond the data", [&] { std::string b = good; PutLE32At(b, firstSize, static_cast<int32_t>(options.size() + 1)); return b; }},
        {"data to spare", [&] { std::string b = good; PutLE32At(b, firstSize, static_cast<int32_t>(options.size() - 1)); return b; }},
        {"a cut file", [&] { return good.substr(0, good.size() - 5); }},
        {"a bad zlib header", [&] { std::string b = good; b[firstData] = 0x12; return b; }},
        {"a bad checksum", [&] { std::string b = good; b[firstEnd - 1] ^= 0x55; return b; }},
        {"a truncated zlib stream", [&] { return good.substr(0, firstEnd - 3); }},
        {"a bomb", [&] {
             // A megabyte of zeros stated as 100 bytes.
             std::string b = "ASzf";
             skinwriter::PutLE32(b, 1);
             skinwriter::PutLE32(b, 11);
             b += "Options.dat";
             skinwriter::PutLE32(b, 100);
             return b + skinwriter::Deflate(std::string(1 << 20, '\0'));
         }},
    };
    TacSkinConvertor package;
    std::wstring box;
    ReadPacked(cases[0].bytes(), package, box);   // the first box's resources
    const DWORD gdi = testing_support::GdiObjectCount();
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(ReadPacked(c.bytes(), package, box)) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.what;
        EXPECT_EQ(box, NotPackedSkinText) << c.what;
        EXPECT_EQ(package.Options, nullptr) << c.what << ": no option text";
        EXPECT_TRUE(package.Files.empty()) << c.what;
        EXPECT_EQ(testing_support::GdiObjectCount(), gdi) << c.what;
    }
    EXPECT_TRUE(ReadPacked(good, package, box)) << "the undamaged data reads";
}

TEST(SkinPack, ADamagedPackedSkinLeavesThePreviousOne)
{
    TempDir dir;
    WriteSkinFolder(dir.File(L"Blocks"), DescribedSkinFiles("Blocks"));
    std::string bad = PackedBlocks();
    bad.resize(bad.size() / 2);
    testing_support::WriteBytes(dir.File(L"Cut.asz"), bad);
    auto m = NewManager();
    m->SetSkinDirectory(dir.Path());
    m->SetSkinName(L"Blocks");
    const std::size_t images = m->ma.size();
    const TacSkinningRules rules = m->GetSkinningRules();
    const std::wstring boxes = AnsweringBoxes([&] { m->SetSkinName(L"Cut"); });
    EXPECT_EQ(boxes, std::wstring(NotPackedSkinText) + L"|Internal format error in the \"Cut\" skin. Please, update this skin to latest version.");
    EXPECT_EQ(m->ma.size(), images);
    EXPECT_TRUE(m->CommonSkinData.Active);
    EXPECT_EQ(m->GetSkinningRules(), rules) << "the rules are back after the box";
    EXPECT_FALSE(SkinChanging);
    ExpectTablesOfDescription(*m, "Blocks");
}

TEST(SkinPack, StoredSkinsStreamAssignAndExtract)
{
    TempDir dir;
    auto m = NewManager();
    m->SetActive(false);
    const std::string packed = PackedBlocks(PreviewPng(140, 100, 0x90));
    for (const wchar_t* name : {L"Twin", L"Other", L"Twin"}) {
        TsStoredSkin* skin = m->InternalSkins()->AddSkin();
        skin->Name = name;
        skin->Author = L"tests";
        skin->Shadow1Blur = 4;
        skin->OrigName = L"Blocks.asz";
        skin->PackedData->WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
    }
    EXPECT_EQ(m->InternalSkins()->IndexOf(L"Other"), 1);
    EXPECT_EQ(m->InternalSkins()->IndexOf(L"other"), -1);

    // Through the form's component image.
    TOwned<TMemoryStream> image(New<TMemoryStream>());
    m->WriteComponent(image.get());
    image->SetPosition(0);
    auto copy = NewManager();
    copy->SetActive(false);
    copy->ReadComponent(image.get());
    ASSERT_EQ(copy->InternalSkins()->Count(), 3);
    TsStoredSkin* read = copy->InternalSkins()->Items(1);
    EXPECT_EQ(read->Name, L"Other");
    EXPECT_EQ(read->Author, L"tests");
    EXPECT_EQ(read->Shadow1Blur, 4);
    EXPECT_EQ(read->OrigName, L"Blocks.asz");
    ASSERT_EQ(read->PackedData->GetSize(), static_cast<Int64>(packed.size()));
    EXPECT_EQ(std::memcmp(read->PackedData->Memory(), packed.data(), packed.size()), 0);
    // The read skin loads: no folder of that name, so the stored skin.
    copy->SetSkinDirectory(dir.Path());
    copy->SetActive(true);
    EXPECT_EQ(AnsweringBoxes([&] { copy->SetSkinName(L"Other"); }), L"");
    EXPECT_EQ(copy->GetSkinName(), L"Other");
    EXPECT_TRUE(copy->SkinIsPacked);
    ExpectTablesOfDescription(*copy, "Blocks");
    copy->SetActive(false);

    // Assign copies the whole stream wherever the source stands.
    TsStoredSkin* source = m->InternalSkins()->Items(0);
    source->PackedData->Seek(0, soEnd);
    TsStoredSkin* target = copy->InternalSkins()->AddSkin();
    target->Assign(source);
    EXPECT_EQ(target->PackedData->GetSize(), static_cast<Int64>(packed.size()));
    EXPECT_EQ(source->PackedData->GetPosition(), static_cast<Int64>(packed.size())) << "the source keeps its position";
    EXPECT_EQ(target->Name, L"Twin");
    const int before = copy->InternalSkins()->Count();
    copy->InternalSkins()->Assign(m->InternalSkins());
    EXPECT_EQ(copy->InternalSkins()->Count(), before) << "assigning the collection changes nothing";

    // Extraction writes the packed form byte for byte; both "Twin" skins
    // write the same file in turn.
    EXPECT_EQ(AnsweringBoxes([&] { m->ExtractInternalSkin(L"Twin", dir.Path()); }), L"");
    EXPECT_EQ(testing_support::FileBytes(dir.File(L"Twin extracted.asz")), packed);
    EXPECT_EQ(AnsweringBoxes([&] { m->ExtractInternalSkin(L"None", dir.Path()); }), L"Skin does not exists.");
    EXPECT_EQ(AnsweringBoxes([&] { m->ExtractInternalSkin(L"Other", dir.File(L"missing")); }),
              L"Directory does not exists.");
    m->InternalSkins()->Items(1)->Name = L"..\\escape";
    m->ExtractByIndex(1, dir.Path());
    EXPECT_EQ(GetFileAttributesW((dir.Path() + L"\\..\\escape extracted.asz").c_str()), INVALID_FILE_ATTRIBUTES)
        << "a name with a path is refused";
}

TEST(SkinPack, TheSkinListNamesPreviewsAndRandomChoice)
{
    TempDir dir;
    testing_support::WriteBytes(dir.File(L"Zeta.asz"), PackedBlocks(PreviewPng(140, 100, 0xC0)));
    testing_support::WriteBytes(dir.File(L"Alpha.asz"), PackedBlocks(PreviewPng(70, 50, 0x30)));
    testing_support::WriteBytes(dir.File(L"Blue.ASZ"), PackedBlocks());
    testing_support::WriteBytes(dir.File(L"Cut.asz"), PackedBlocks(PreviewPng(4, 4, 1)).substr(0, 40) + "previewimg" +
                                                         std::string("\xFF\xFF\x00\x00", 4));
    testing_support::WriteBytes(dir.File(L"Two.asz.asz"), PackedBlocks());
    CreateDirectoryW(dir.File(L"Dir.asz").c_str(), nullptr);
    auto m = NewManager();
    m->SetActive(false);
    m->SetSkinDirectory(dir.Path());
    TsStoredSkin* stored = m->InternalSkins()->AddSkin();
    stored->Name = L"Middle";
    const std::string packed = PackedBlocks(PreviewPng(140, 100, 0x50));
    stored->PackedData->WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));

    TOwned<TStringList> names(New<TStringList>());
    EXPECT_EQ(m->GetSkinNames(names.get(), true, 2), L"Alpha");
    EXPECT_EQ(names->GetText(), L"Alpha\r\nCut\r\nMiddle\r\nTwo.asz\r\nZeta\r\n")
        << "Blue.ASZ and the folder are not listed; only the final extension goes";
    for (int i = 0; i < names->Count(); ++i) {
        auto* data = dynamic_cast<TacItemDrawData*>(names->GetObject(i));
        ASSERT_NE(data, nullptr);
        const bool hasPreview = (*names)[i] != L"Cut" && (*names)[i] != L"Two.asz";
        EXPECT_EQ(data->ImageIndex >= 0, hasPreview) << (*names)[i];
        if (hasPreview) {
            TBitmap* preview = m->SkinListController()->ImgList.Image(data->ImageIndex);
            EXPECT_EQ(preview->GetWidth(), 140);
            EXPECT_EQ(preview->GetHeight(), 100);
        }
        data->Free();
    }
    m->GetSkinNames(names.get(), false, 1);
    EXPECT_EQ(names->GetText(), L"Middle\r\n") << "the stored skins only";
    EXPECT_EQ(m->GetExternalSkinNames(names.get()), L"Alpha");
    EXPECT_EQ(names->Count(), 4);
    const String random = m->GetRandomSkin();
    EXPECT_TRUE(random == L"Alpha" || random == L"Cut" || random == L"Middle" || random == L"Two.asz" || random == L"Zeta")
        << random;

    // "Blue.ASZ" is not listed but loads by its name.
    m->SetActive(true);
    EXPECT_EQ(AnsweringBoxes([&] { m->SetSkinName(L"Blue"); }), L"");
    EXPECT_TRUE(m->SkinIsPacked);
    ExpectTablesOfDescription(*m, "Blocks");

    // A control that left the list leaves an empty slot that is skipped.
    TacSkinListController* list = m->SkinListController();
    TOwned<TControl> viewer(New<TControl>(nullptr));
    list->AddControl(viewer.get());
    list->DelControl(viewer.get());
    EXPECT_EQ(list->CtrlIndex(viewer.get()), -1);
    list->SendListChanged();
    list->SendSkinChanged();
    EXPECT_EQ(list->Controls.size(), 1u);
}
