// The fill's stored forms: the INI section, hexadecimal picture text, the
// component stream and the real clipboard.
#include "Clipbrd.h"
#include "GDIPFill.h"
#include "PackControlsTestSupport.h"
#include "PngWriter.h"

using namespace pack_test;
using testing_support::FileBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::string TwoByTwoPng(uint32_t Seed)
{
    return pngwriter::Encode(pngwriter::MakeImage(2, 2, 2, 8, Seed));
}

void LoadPicture(TAdvGDIPPicture* Picture, const std::string& Bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    stream->SetPosition(0);
    Picture->LoadFromStream(stream.get());
}

std::string PictureBytes(TAdvGDIPPicture* Picture)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    Picture->SaveToStream(stream.get());
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->GetSize()));
}

std::string StreamBytes(TGDIPFill* Fill)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    SaveFillToStream(stream.get(), Fill);
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->GetSize()));
}

String Hex(const std::string& Bytes)
{
    String text;
    for (unsigned char c : Bytes)
        text += IntToHex(c, 2);
    return text;
}

// A fill with a value off its default in every kind of property and both pictures.
void MakeUnusual(TGDIPFill* Fill)
{
    Fill->SetColor(0x123456);
    Fill->SetColorTo(clNone);
    Fill->SetColorMirror(clRed);
    Fill->SetColorMirrorTo(0x010203);
    Fill->SetGradientType(gtHatch);
    Fill->SetGradientMirrorType(gtAngle);
    Fill->SetHatchStyle(HatchStyleSolidDiamond);
    Fill->SetHatchStyleMirror(HatchStyleCross);
    Fill->SetBackGroundPictureAspectRatio(true);
    Fill->SetBackGroundPictureMode(pmInsideFill);
    Fill->SetBackGroundPicturePosition(GDIPFill::ppCustom);
    Fill->SetBackGroundPictureLeft(-3);
    Fill->SetBackGroundPictureTop(70000);
    Fill->SetBackGroundPictureAspectMode(pmNormal);
    Fill->SetPicturePosition(GDIPFill::ppCenterRight);
    Fill->SetPictureLeft(4);
    Fill->SetPictureTop(5);
    Fill->SetPictureSize(psCustom);
    Fill->SetPictureWidth(33);
    Fill->SetPictureHeight(44);
    Fill->SetPictureAspectRatio(true);
    Fill->SetPictureAspectMode(pmNormal);
    Fill->SetOpacity(1);
    Fill->SetOpacityTo(2);
    Fill->SetOpacityMirror(3);
    Fill->SetOpacityMirrorTo(0);
    Fill->SetBorderColor(clBtnFace);
    Fill->SetBorderOpacity(200);
    Fill->SetBorderWidth(2);
    Fill->SetRounding(6);
    Fill->SetRoundingType(rtRight);
    Fill->SetShadowColor(clBlack);
    Fill->SetShadowOffset(3);
    Fill->SetShadowType(stSurround);
    Fill->SetAngle(45);
    Fill->SetGlow(gmRadialGradient);
    Fill->SetGlowGradientColor(0xABCDEF);
    Fill->SetGlowRadialColor(clYellow);
    LoadPicture(Fill->GetPicture(), TwoByTwoPng(1));
    LoadPicture(Fill->GetBackGroundPicture(), TwoByTwoPng(2));
}

// Every stored value of two fills, for comparing them.
std::string Values(TGDIPFill* Fill)
{
    TOwned<TGDIPFill> copy(New<TGDIPFill>());
    copy->Assign(Fill);
    return StreamBytes(copy.get());
}

TEST(GDIPFillStore, HexTextBothWays)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    HexTextToStream(L"0aFf7", stream.get());
    ASSERT_EQ(stream->GetSize(), 2) << "the odd character is ignored";
    EXPECT_EQ(static_cast<const Byte*>(stream->Memory())[0], 0x0A);
    EXPECT_EQ(static_cast<const Byte*>(stream->Memory())[1], 0xFF);
    stream->SetPosition(2);
    EXPECT_EQ(StreamToHexText(stream.get()), L"0AFF") << "from the start, whatever the position";
    for (const wchar_t* bad : {L"0G", L"-1", L" 0", L"0\u0660"}) {
        try {
            HexTextToStream(bad, stream.get());
            ADD_FAILURE() << "no error for text " << testing::PrintToString(String(bad));
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), L"No Hex-Number");
        }
    }
}

TEST(GDIPFillStore, IniSectionAgainstItsFixtureAndBack)
{
    TempDir dir;
    TOwned<TGDIPFill> fill(New<TGDIPFill>());
    MakeUnusual(fill.get());
    const std::wstring file = dir.File(L"fill.ini");
    fill->SaveToFile(file, L"Fill");
    const std::string fixture =
        FileBytes(testing_support::SourceDir() + L"\\tests\\fixtures\\pack\\controls\\fill.ini");
    EXPECT_EQ(FileBytes(file), fixture);

    TOwned<TGDIPFill> loaded(New<TGDIPFill>());
    int changes = 0;
    loaded->OnChange = [&](TObject*) { ++changes; };
    WriteBytes(dir.File(L"fixture.ini"), fixture);
    loaded->LoadFromFile(dir.File(L"fixture.ini"), L"Fill");
    EXPECT_GE(changes, 1);
    EXPECT_LE(changes, 3) << "once, and once per picture";
    EXPECT_EQ(PictureBytes(loaded->GetPicture()), TwoByTwoPng(1));
    EXPECT_EQ(PictureBytes(loaded->GetBackGroundPicture()), TwoByTwoPng(2));
    // The picture size mode has no key of its own.
    EXPECT_EQ(loaded->GetPictureSize(), psOriginal);
    loaded->SetPictureSize(psCustom);
    // Nor has the shadow type.
    loaded->SetShadowType(stSurround);
    // Nor have the two aspect settings of each picture.
    loaded->SetBackGroundPictureAspectRatio(true);
    loaded->SetBackGroundPictureAspectMode(pmNormal);
    loaded->SetPictureAspectRatio(true);
    loaded->SetPictureAspectMode(pmNormal);
    EXPECT_EQ(Values(loaded.get()), Values(fill.get()));
}

TEST(GDIPFillStore, EmptyPicturesAndPartialSections)
{
    TempDir dir;
    const std::wstring file = dir.File(L"fill.ini");
    TOwned<TGDIPFill> empty(New<TGDIPFill>());
    empty->SaveToFile(file, L"Empty");
    TOwned<TIniFile> ini(New<TIniFile>(file));
    EXPECT_TRUE(ini->ValueExists(L"Empty", L"Picture"));
    EXPECT_EQ(ini->ReadString(L"Empty", L"Picture", L"x"), L"");
    EXPECT_EQ(ini->ReadInteger(L"Empty", L"PictureSize", -1), 0);
    EXPECT_EQ(ini->ReadString(L"Empty", L"BackgroundPicture", L"x"), L"");
    EXPECT_EQ(ini->ReadInteger(L"Empty", L"BackgroundPictureSize", -1), 0);
    EXPECT_EQ(ini->ReadInteger(L"Empty", L"ColorMirror", 0), 536870911);

    TOwned<TGDIPFill> fill(New<TGDIPFill>());
    MakeUnusual(fill.get());
    const std::string before = Values(fill.get());
    fill->LoadFromFile(file, L"Empty");
    EXPECT_EQ(PictureBytes(fill->GetPicture()), TwoByTwoPng(1)) << "an empty picture text leaves the picture";
    EXPECT_EQ(fill->GetColor(), 0xC0C0C0);

    MakeUnusual(fill.get());
    ini->WriteInteger(L"Only", L"Color", clLime);
    fill->LoadFromFile(ini.get(), L"Only");
    TOwned<TGDIPFill> expected(New<TGDIPFill>());
    MakeUnusual(expected.get());
    expected->SetColor(clLime);
    EXPECT_EQ(Values(fill.get()), Values(expected.get())) << "a section holding only Color";
    EXPECT_NE(before, Values(fill.get()));
}

TEST(GDIPFillStore, BadSectionsLoadCleanly)
{
    const std::string png = TwoByTwoPng(3);
    const String hex = Hex(png);
    struct Case {
        const char* name;
        std::vector<std::pair<String, String>> keys;
        std::function<void(TGDIPFill*)> expect;
    } cases[] = {
        {"picture size -1", {{L"Picture", hex}, {L"PictureSize", L"-1"}},
         [](TGDIPFill* f) { EXPECT_TRUE(f->GetPicture()->GetEmpty()); }},
        {"picture size 2147483647", {{L"Picture", hex}, {L"PictureSize", L"2147483647"}},
         [&](TGDIPFill* f) { EXPECT_EQ(PictureBytes(f->GetPicture()), png); }},
        {"picture size longer than the text", {{L"Picture", hex}, {L"PictureSize", IntToStr(int(hex.size()) + 40)}},
         [&](TGDIPFill* f) { EXPECT_EQ(PictureBytes(f->GetPicture()), png); }},
        {"picture size shorter than the text", {{L"Picture", hex}, {L"PictureSize", L"4"}},
         [&](TGDIPFill* f) { EXPECT_EQ(PictureBytes(f->GetPicture()), png); }},
        {"background picture with size but no text", {{L"BackgroundPictureSize", L"10"}},
         [](TGDIPFill* f) { EXPECT_TRUE(f->GetBackGroundPicture()->GetEmpty()); }},
        {"ordinal 99", {{L"GradientType", L"99"}, {L"Glow", L"99"}, {L"HatchStyle", L"-1"}, {L"Angle", L"99"}},
         [](TGDIPFill* f) {
             EXPECT_EQ(f->GetGradientType(), gtVertical);
             EXPECT_EQ(f->GetGlow(), gmNone);
             EXPECT_EQ(f->GetHatchStyle(), HatchStyleHorizontal);
             EXPECT_EQ(f->GetAngle(), 99);
         }},
        {"opacity 300", {{L"Opacity", L"300"}, {L"OpacityTo", L"-1"}, {L"BorderOpacity", L"7"}},
         [](TGDIPFill* f) {
             EXPECT_EQ(f->GetOpacity(), 255);
             EXPECT_EQ(f->GetOpacityTo(), 255);
             EXPECT_EQ(f->GetBorderOpacity(), 7);
         }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        TOwned<TIniFile> ini(New<TIniFile>(dir.File(L"bad.ini")));
        for (const auto& [key, value] : c.keys)
            ini->WriteString(L"Bad", key, value);
        TOwned<TGDIPFill> fill(New<TGDIPFill>());
        EXPECT_NO_THROW(fill->LoadFromFile(ini.get(), L"Bad")) << c.name;
        c.expect(fill.get());
    }
    // Text that is not hexadecimal raises; values read before it stay.
    TempDir dir;
    TOwned<TIniFile> ini(New<TIniFile>(dir.File(L"bad.ini")));
    ini->WriteInteger(L"Bad", L"Color", clRed);
    ini->WriteString(L"Bad", L"Picture", L"89PNGX");
    ini->WriteInteger(L"Bad", L"PictureSize", 6);
    TOwned<TGDIPFill> fill(New<TGDIPFill>());
    EXPECT_THROW(fill->LoadFromFile(ini.get(), L"Bad"), EConvertError);
    EXPECT_EQ(fill->GetColor(), clRed);
}

TEST(GDIPFillStore, ComponentStreamByteForByte)
{
    TOwned<TGDIPFill> fill(New<TGDIPFill>());
    // A new fill writes only the values that are always written.
    const std::string expected = std::string("TPF0\x06TSaver\x00", 12) +
                                 "\x16SaveObject.ColorMirror\x07\x06" "clNone" +
                                 "\x18SaveObject.ColorMirrorTo\x07\x06" "clNone" +
                                 "\x17SaveObject.GradientType\x07\x0agtVertical" +
                                 "\x1dSaveObject.GradientMirrorType\x07\x07gtSolid" +
                                 "\x16SaveObject.BorderColor\x07\x06" "clNone" +
                                 std::string("\x13SaveObject.Rounding\x02\x00", 22) +
                                 std::string("\x17SaveObject.ShadowOffset\x02\x00", 26) +
                                 "\x0fSaveObject.Glow\x07\x06gmNone" + std::string("\x00\x00", 2);
    EXPECT_EQ(StreamBytes(fill.get()), expected);

    // Changed values in their declaration order, the pictures as Data.
    fill->SetColor(clRed);
    fill->SetOpacity(128);
    fill->SetColorTo(0x123456);
    fill->SetAngle(-2);
    fill->SetPictureAspectRatio(true);
    const std::string png = TwoByTwoPng(4);
    LoadPicture(fill->GetPicture(), png);
    const std::string bytes = StreamBytes(fill.get());
    auto at = [&](const std::string& s) { return bytes.find(s); };
    EXPECT_NE(at("\x10SaveObject.Color\x07\x05" "clRed"), std::string::npos);
    EXPECT_NE(at(std::string("\x12SaveObject.ColorTo\x04\x56\x34\x12\x00", 24)), std::string::npos);
    EXPECT_NE(at(std::string("\x12SaveObject.Opacity\x03\x80\x00", 22)), std::string::npos);
    EXPECT_NE(at("\x10SaveObject.Angle\x02\xfe"), std::string::npos);
    EXPECT_NE(at("\x1dSaveObject.PictureAspectRatio\x09"), std::string::npos);
    const std::string data = "\x17SaveObject.Picture.Data\x0a" + std::string(1, char(png.size())) +
                             std::string("\x00\x00\x00", 3) + png;
    EXPECT_NE(at(data), std::string::npos);
    EXPECT_LT(at("SaveObject.ColorTo"), at("SaveObject.Picture.Data"));
    EXPECT_LT(at("SaveObject.Picture.Data"), at("SaveObject.PicturePosition"));
    EXPECT_LT(at("SaveObject.PictureAspectRatio"), at("SaveObject.Opacity"));
    EXPECT_EQ(at("SaveObject.BackGroundPicture"), std::string::npos) << "an empty picture";

    // And back, into a fill that had other values.
    MakeUnusual(fill.get());
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    SaveFillToStream(stream.get(), fill.get());
    stream->SetPosition(0);
    TOwned<TGDIPFill> read(New<TGDIPFill>());
    LoadFillFromStream(stream.get(), read.get());
    EXPECT_EQ(StreamBytes(read.get()), StreamBytes(fill.get()));
    EXPECT_EQ(PictureBytes(read->GetBackGroundPicture()), TwoByTwoPng(2));

    EXPECT_THROW(SaveFillToStream(stream.get(), nullptr), EAssertionFailed);
    EXPECT_THROW(LoadFillFromStream(stream.get(), nullptr), EAssertionFailed);
}

class FillClipboard : public testing::Test {
protected:
    void TearDown() override { Clipboard()->Clear(); }
};

TEST_F(FillClipboard, PasteEqualsTheCopy)
{
    ASSERT_NE(GDIPFillClipboardFormat(), 0);
    TOwned<TGDIPFill> copied(New<TGDIPFill>());
    MakeUnusual(copied.get());
    copied->SetBorderColor(clNone);
    copied->SaveToClipBoard();
    EXPECT_TRUE(Clipboard()->HasFormat(GDIPFillClipboardFormat()));

    // The target had values the copy leaves out as defaults.
    TOwned<TGDIPFill> pasted(New<TGDIPFill>());
    pasted->SetShadowColor(clLime);
    pasted->SetOpacityTo(17);
    LoadPicture(pasted->GetPicture(), TwoByTwoPng(9));
    copied->SetShadowColor(0x808080);
    copied->SetOpacityTo(255);
    copied->GetPicture()->Assign(nullptr);
    copied->SaveToClipBoard();
    int changes = 0;
    pasted->OnChange = [&](TObject*) { ++changes; };
    pasted->LoadFromClipBoard();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(StreamBytes(pasted.get()), StreamBytes(copied.get()));
    EXPECT_EQ(pasted->GetShadowColor(), 0x808080);
    EXPECT_EQ(pasted->GetOpacityTo(), 255);
    EXPECT_TRUE(pasted->GetPicture()->GetEmpty());
    EXPECT_EQ(PictureBytes(pasted->GetBackGroundPicture()), TwoByTwoPng(2));
}

TEST_F(FillClipboard, MalformedOrMissingBlocksChangeNothing)
{
    TOwned<TGDIPFill> fill(New<TGDIPFill>());
    MakeUnusual(fill.get());
    const std::string before = StreamBytes(fill.get());
    int changes = 0;
    fill->OnChange = [&](TObject*) { ++changes; };

    Clipboard()->SetAsText(L"not a fill");
    fill->LoadFromClipBoard();
    EXPECT_EQ(StreamBytes(fill.get()), before) << "no block";

    // Whole blocks that do not read: another class, a value of another
    // type, an unknown property, an opacity past a byte, a cut-off stream.
    TOwned<TGDIPFill> plain(New<TGDIPFill>());
    plain->SetColor(clRed);
    const std::string good = StreamBytes(plain.get());
    std::string otherClass = good;
    otherClass.replace(5, 6, "TSaveX");
    std::string badOpacity = good;
    const std::string opacity = "\x12SaveObject.Opacity\x03\x2c\x01";
    badOpacity.insert(badOpacity.size() - 2, opacity);
    std::string unknown = good;
    unknown.insert(unknown.size() - 2, std::string("\x11SaveObject.Colour\x02\x00", 20));
    std::string wrongType = good;
    wrongType.replace(wrongType.find("\x07\x05" "clRed"), 7, "\x06\x05" "clRed");
    for (const std::string& block : {otherClass, badOpacity, unknown, wrongType, good.substr(0, good.size() - 9),
                                     std::string("TPF0")}) {
        Clipboard()->SetBuffer(GDIPFillClipboardFormat(), block.data(), static_cast<int>(block.size()));
        EXPECT_THROW(fill->LoadFromClipBoard(), EReadError) << block.size();
        EXPECT_EQ(StreamBytes(fill.get()), before);
        // The clipboard was closed again: another program can open it.
        EXPECT_TRUE(OpenClipboard(nullptr));
        CloseClipboard();
    }
    EXPECT_EQ(changes, 0);
    Clipboard()->SetBuffer(GDIPFillClipboardFormat(), good.data(), static_cast<int>(good.size()));
    fill->LoadFromClipBoard();
    EXPECT_EQ(fill->GetColor(), clRed);
}

} // namespace
