// The skin generator: the folder it writes from the "Blocks" description
// holds the option file in the loader's key and entry formats, the master
// bitmap with every image at its place, and the external BMP and PNG files.
#include <gtest/gtest.h>
#include "IniFiles.h"
#include "TestSupport.h"
#include "SkinDescription.h"
#include <zlib.h>
#include <sstream>

namespace {

std::wstring ToolPath(const wchar_t* name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L'\\'));
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"tools\\" + name;
}

DWORD RunCommand(std::wstring command)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// 0x00RRGGBB of a pixel of a BMP file.
uint32_t BmpPixel(const std::wstring& file, int x, int y, SIZE* size = nullptr)
{
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bmp)
        return 0xFFFFFFFF;
    DIBSECTION dib{};
    GetObjectW(bmp, sizeof(dib), &dib);
    if (size)
        *size = {dib.dsBm.bmWidth, dib.dsBm.bmHeight};
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const int row = dib.dsBmih.biHeight > 0 ? dib.dsBm.bmHeight - 1 - y : y;
    const uint8_t* p = bits + static_cast<size_t>(row) * dib.dsBm.bmWidthBytes + x * 3;
    const uint32_t rgb = (p[2] << 16) | (p[1] << 8) | p[0];
    DeleteObject(bmp);
    return rgb;
}

uint32_t BE32(const std::string& s, size_t at)
{
    return (static_cast<uint8_t>(s[at]) << 24) | (static_cast<uint8_t>(s[at + 1]) << 16) |
           (static_cast<uint8_t>(s[at + 2]) << 8) | static_cast<uint8_t>(s[at + 3]);
}

TEST(SkinGen, WritesAFolderTheLoaderReads)
{
    const std::wstring description = testing_support::SourceDir() + L"\\tests\\fixtures\\skins\\Blocks.skin";
    std::istringstream text(testing_support::FileBytes(description));
    const skindesc::Skin skin = skindesc::Parse(text);
    testing_support::TempDir dir;
    const std::wstring out = dir.File(L"Blocks");
    ASSERT_EQ(RunCommand(L"\"" + ToolPath(L"skingen.exe") + L"\" \"" + description + L"\" \"" + out + L"\""), 0u);

    TOwned<TMemIniFile> ini(New<TMemIniFile>(out + L"\\Options.dat"));
    EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"MASTERBITMAP", L""), L"MASTER.BMP");
    EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"VERSION", L""), L"13.0");
    EXPECT_EQ(ini->ReadInteger(L"GLOBALINFO", L"COLOR", -1), 0xC08020) << "#2080C0 as a colour value";
    EXPECT_EQ(ini->ReadInteger(L"BUTTON", L"COLOR", -1), 0x3030C0);
    EXPECT_EQ(ini->ReadInteger(L"BUTTON", L"HOTCOLOR", -1), 0x4040D0);
    EXPECT_EQ(ini->ReadInteger(L"BUTTON", L"FONTCOLOR2", -1), 0x230000);
    EXPECT_EQ(ini->ReadInteger(L"BUTTON", L"USESTATE2", 0), 1);
    EXPECT_EQ(ini->ReadString(L"TOOLBUTTON", L"PARENTCLASS", L""), L"BUTTON");
    EXPECT_EQ(ini->ReadInteger(L"PANEL_LOW", L"STATES", 0), 2);

    // A border entry at the loader's columns.
    const String border = ini->ReadString(L"BUTTON", L"BORDERSMASK", L"");
    ASSERT_GE(border.size(), 48u);
    const skindesc::Image* button = nullptr;
    for (const auto& im : skin.Images)
        if (im.Section == "BUTTON" && im.Key == "BORDERSMASK")
            button = &im;
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(border[0], L'^');
    EXPECT_EQ(std::stoi(border.substr(1, 4)), button->Left);
    EXPECT_EQ(std::stoi(border.substr(6, 4)), button->Top);
    EXPECT_EQ(std::stoi(border.substr(11, 4)), button->Left + 48);
    EXPECT_EQ(std::stoi(border.substr(16, 4)), button->Top + 32) << "colours and mask";
    EXPECT_EQ(std::stoi(border.substr(21, 4)), 4) << "WL";
    EXPECT_EQ(border[41], L'3') << "ImageCount";
    EXPECT_EQ(border[43], L'1') << "MaskType";
    const String glyph = ini->ReadString(L"MENUITEM", L"GLYPHMASK", L"");
    EXPECT_EQ(glyph[0], L'@');
    EXPECT_EQ(glyph[21], L'3');
    const String pattern = ini->ReadString(L"PANEL", L"PATTERN", L"");
    EXPECT_EQ(pattern[0], L'~');
    EXPECT_EQ(pattern.substr(21, 2), L"01") << "DrawMode";
    EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"GRIPIMAGE", L"").substr(0, 10), L"!GRIP.PNG!");

    // The master bitmap: frame f of an image has its colour with blue + 16 f.
    SIZE size{};
    EXPECT_EQ(BmpPixel(out + L"\\MASTER.BMP", button->Left + 16 + 8, button->Top + 8, &size), 0xA01020u) << "#A01010, blue raised by 16 in frame 1";
    EXPECT_EQ(size.cx, skin.MasterWidth);
    EXPECT_EQ(size.cy, skin.MasterHeight);
    EXPECT_EQ(BmpPixel(out + L"\\MASTER.BMP", button->Left + 16, button->Top), 0xFF00FFu) << "key corner";
    EXPECT_EQ(BmpPixel(out + L"\\MASTER.BMP", button->Left + 8, button->Top + 20), 0u) << "opaque mask";

    EXPECT_EQ(BmpPixel(out + L"\\CheckBox.bmp", 13 + 5, 5, &size), 0x0000D0u);
    EXPECT_EQ(size.cx, 26);

    const std::string png = testing_support::FileBytes(out + L"\\Grip.png");
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(BE32(png, 16), 12u);
    EXPECT_EQ(BE32(png, 20), 12u);
    const size_t idat = png.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    std::string raw(12 * (1 + 12 * 4), '\0');
    uLongf rawSize = static_cast<uLongf>(raw.size());
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                         reinterpret_cast<const Bytef*>(png.data() + idat + 4), BE32(png, idat - 4)),
              Z_OK);
    EXPECT_EQ(raw.substr(0, 5), std::string("\0\x80\x80\x00\xFF", 5)) << "filter 0, #808000, opaque";
}

TEST(SkinGen, WritesThePackedFormOfTheSameFiles)
{
    const std::wstring description = testing_support::SourceDir() + L"\\tests\\fixtures\\skins\\Blocks.skin";
    testing_support::TempDir dir;
    const std::wstring folder = dir.File(L"Blocks"), packed = dir.File(L"Blocks.asz");
    for (const std::wstring& out : {folder, packed})
        ASSERT_EQ(RunCommand(L"\"" + ToolPath(L"skingen.exe") + L"\" \"" + description + L"\" \"" + out + L"\""), 0u);
    const std::string bytes = testing_support::FileBytes(packed);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(0, 4), "ASzf");
    auto le32 = [&](size_t at) {
        return static_cast<int32_t>(static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8) |
                                    (static_cast<uint8_t>(bytes[at + 2]) << 16) | (static_cast<uint8_t>(bytes[at + 3]) << 24));
    };
    // Every entry inflates to the folder's file of that name.
    const int32_t count = le32(4);
    EXPECT_EQ(count, 4) << "Options.dat, MASTER.BMP, CheckBox.bmp, Grip.png";
    size_t at = 8;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t nameLength = le32(at);
        const std::string name = bytes.substr(at + 4, static_cast<size_t>(nameLength));
        const int32_t size = le32(at + 4 + nameLength);
        at += 8 + static_cast<size_t>(nameLength);
        z_stream z{};
        ASSERT_EQ(inflateInit(&z), Z_OK);
        std::string out(static_cast<size_t>(size), '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + at));
        z.avail_in = static_cast<uInt>(bytes.size() - at);
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << name;
        at += z.total_in;
        inflateEnd(&z);
        EXPECT_EQ(out, testing_support::FileBytes(folder + L"\\" + std::wstring(name.begin(), name.end()))) << name;
    }
    EXPECT_EQ(at, bytes.size());
}

} // namespace
