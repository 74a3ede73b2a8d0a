// skingen: writes a skin folder from one of the project's test skin
// descriptions: "Options.dat" with the sections, palette and image entries,
// the master bitmap "MASTER.BMP", and the external BMP and PNG files.
//
//     skingen tests\fixtures\skins\Blocks.skin out\Blocks
#include "PngWriter.h"
#include "SkinDescription.h"
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using skindesc::Image;
using skindesc::Skin;

// A 24-bit bottom-up BMP file.
std::string BmpFile(int width, int height, const std::vector<uint32_t>& rgb)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string out(reinterpret_cast<const char*>(&file), sizeof(file));
    out.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const uint32_t c = rgb[static_cast<size_t>(y) * width + x];   // 0x00RRGGBB
            row[x * 3] = static_cast<char>(c & 0xFF);
            row[x * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
        out += row;
    }
    return out;
}

// TColor to 0x00RRGGBB.
uint32_t Rgb(uint32_t color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// The image's pixels as 0x00RRGGBB: colours, then a black mask for a masked image.
void DrawImage(const Image& image, std::vector<uint32_t>& rgb, int stride, int left, int top)
{
    for (int y = 0; y < image.TotalHeight(); ++y)
        for (int x = 0; x < image.TotalWidth(); ++x)
            rgb[static_cast<size_t>(top + y) * stride + left + x] =
                y < image.Height ? Rgb(skindesc::PixelColor(image, x, y)) : 0;
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Field(int value, int width)
{
    char buf[16];
    std::snprintf(buf, sizeof(buf), "%0*d", width, value);
    return buf;
}

std::string Rect(const Image& im)
{
    return Field(im.Left, 4) + "," + Field(im.Top, 4) + "," + Field(im.Left + im.TotalWidth(), 4) + "," +
           Field(im.Top + im.TotalHeight(), 4);
}

// The option file's value of an image entry.
std::string EntryValue(const Image& im)
{
    const std::string kind = std::to_string(static_cast<int>(im.ImgKind));
    if (!im.File.empty())
        return "!" + Upper(im.File) + "!" + std::to_string(im.Frames) + "!" + std::to_string(im.Mask) + "!" + kind +
               "!" + std::to_string(im.Margins) + "!" + std::to_string(im.Margins) + "!" + std::to_string(im.Margins) +
               "!" + std::to_string(im.Margins) + "!" + std::to_string(im.Draw);
    switch (im.ImgKind) {
    case skindesc::Glyph:
        return "@" + Rect(im) + "," + std::to_string(im.Frames) + "," + std::to_string(im.Mask);
    case skindesc::Texture:
        return "~" + Rect(im) + "," + Field(im.Draw, 2) + "," + std::to_string(im.Mask);
    default:
        return "^" + Rect(im) + "," + Field(im.Margins, 4) + "," + Field(im.Margins, 4) + "," + Field(im.Margins, 4) +
               "," + Field(im.Margins, 4) + "," + std::to_string(im.Frames) + "," + std::to_string(im.Mask) + "," +
               std::to_string(im.Draw) + "," + std::to_string(im.BorderWidth) + "!" + kind + "!" + kind + "!" + kind;
    }
}

std::string OptionText(const Skin& skin)
{
    std::ostringstream out;
    const char* stateColor[] = {"COLOR", "HOTCOLOR", "COLOR2"};
    const char* stateFont[] = {"FONTCOLOR", "HOTFONTCOLOR", "FONTCOLOR2"};
    const char* stateTransparency[] = {"TRANSPARENCY", "HOTTRANSPARENCY", "TRANSPARENCY2"};
    bool globalWritten = false;
    auto images = [&](const std::string& section) {
        for (const Image& im : skin.Images)
            if (im.Section == section)
                out << im.Key << "=" << EntryValue(im) << "\r\n";
    };
    auto global = [&] {
        out << "[GLOBALINFO]\r\n";
        out << "VERSION=" << skin.Version << "\r\n";
        if (!skin.Author.empty())
            out << "AUTHOR=" << skin.Author << "\r\n";
        out << "DESCRIPTION=" << skin.Name << "\r\n";
        if (skin.MasterHeight > 0)
            out << "MASTERBITMAP=MASTER.BMP\r\n";
        for (const auto& [key, color] : skin.Palette)
            out << key << "=" << color << "\r\n";
        images("GLOBALINFO");
        out << "\r\n";
        globalWritten = true;
    };
    for (const skindesc::Section& s : skin.Sections) {
        if (s.Name == "GLOBALINFO") {
            global();
            continue;
        }
        out << "[" << s.Name << "]\r\n";
        if (!s.Parent.empty())
            out << "PARENTCLASS=" << s.Parent << "\r\n";
        out << "STATES=" << s.States << "\r\n";
        for (size_t i = 0; i < s.Colors.size() && i < 3; ++i)
            out << stateColor[i] << "=" << s.Colors[i] << "\r\n";
        for (size_t i = 0; i < s.Fonts.size() && i < 3; ++i)
            out << stateFont[i] << "=" << s.Fonts[i] << "\r\n";
        for (int i = 0; i < 3; ++i)
            out << stateTransparency[i] << "=" << s.Transparency << "\r\n";
        if (s.Colors.size() > 2)
            out << "USESTATE2=1\r\n";
        images(s.Name);
        out << "\r\n";
    }
    if (!globalWritten)
        global();
    return out.str();
}

bool WriteFile(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string PngFile(const Image& image)
{
    pngwriter::Image png;
    png.Width = static_cast<uint32_t>(image.TotalWidth());
    png.Height = static_cast<uint32_t>(image.TotalHeight());
    png.ColorType = 6;
    png.BitDepth = 8;
    png.Filter = 0;
    for (int y = 0; y < image.TotalHeight(); ++y)
        for (int x = 0; x < image.TotalWidth(); ++x) {
            const uint32_t c = y < image.Height ? skindesc::PixelColor(image, x, y) : 0;
            const bool key = y < image.Height && c == 0xFF00FF;
            png.Samples.push_back(static_cast<uint16_t>(c & 0xFF));
            png.Samples.push_back(static_cast<uint16_t>((c >> 8) & 0xFF));
            png.Samples.push_back(static_cast<uint16_t>((c >> 16) & 0xFF));
            png.Samples.push_back(key ? 0 : 255);
        }
    return pngwriter::Encode(png);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen DESCRIPTION OUTPUT-FOLDER\n");
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in)
            throw std::runtime_error("cannot read the description");
        const Skin skin = skindesc::Parse(in);
        const std::wstring folder = argv[2];
        CreateDirectoryW(folder.c_str(), nullptr);
        bool ok = WriteFile(folder + L"\\Options.dat", OptionText(skin));
        if (skin.MasterHeight > 0) {
            std::vector<uint32_t> master(static_cast<size_t>(skin.MasterWidth) * skin.MasterHeight, 0xFF00FF);
            for (const Image& im : skin.Images)
                if (im.File.empty())
                    DrawImage(im, master, skin.MasterWidth, im.Left, im.Top);
            ok = ok && WriteFile(folder + L"\\MASTER.BMP", BmpFile(skin.MasterWidth, skin.MasterHeight, master));
        }
        for (const Image& im : skin.Images) {
            if (im.File.empty())
                continue;
            const std::wstring name = folder + L"\\" + std::wstring(im.File.begin(), im.File.end());
            if (Upper(im.File).find(".PNG") != std::string::npos)
                ok = ok && WriteFile(name, PngFile(im));
            else {
                std::vector<uint32_t> rgb(static_cast<size_t>(im.TotalWidth()) * im.TotalHeight());
                DrawImage(im, rgb, im.TotalWidth(), 0, 0);
                ok = ok && WriteFile(name, BmpFile(im.TotalWidth(), im.TotalHeight(), rgb));
            }
        }
        if (!ok)
            throw std::runtime_error("cannot write the skin folder");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
