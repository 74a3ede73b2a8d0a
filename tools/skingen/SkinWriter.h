// Writes the files of a test skin from its description: "Options.dat",
// the master bitmap and the external images, and the packed form of a set
// of skin files (".asz": "ASzf", the entry count, then per entry the name
// length, the name, the inflated length and one zlib stream). Shared by
// the skin generator and the tests, which also damage these files on
// purpose.
#pragma once

#include "PngWriter.h"
#include "SkinDescription.h"
#include <windows.h>
#include <zlib.h>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace skinwriter {

using skindesc::Image;
using skindesc::Skin;

// A 24-bit bottom-up BMP file.
inline std::string BmpFile(int width, int height, const std::vector<uint32_t>& rgb)
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
inline uint32_t Rgb(uint32_t color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// The image's pixels as 0x00RRGGBB: colours, then a black mask for a masked image.
inline void DrawImage(const Image& image, std::vector<uint32_t>& rgb, int stride, int left, int top)
{
    for (int y = 0; y < image.TotalHeight(); ++y)
        for (int x = 0; x < image.TotalWidth(); ++x)
            rgb[static_cast<size_t>(top + y) * stride + left + x] =
                y < image.Height ? Rgb(skindesc::PixelColor(image, x, y)) : skindesc::MaskPixel(image, x, y - image.Height);
}

inline std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

inline std::string Field(int value, int width)
{
    char buf[16];
    std::snprintf(buf, sizeof(buf), "%0*d", width, value);
    return buf;
}

inline std::string Rect(const Image& im)
{
    if (!im.Rect.empty()) {
        std::string fields, item;
        std::stringstream in(im.Rect);
        while (std::getline(in, item, ','))
            fields += (fields.empty() ? "" : ",") + Field(std::stoi(item), 4);
        return fields;
    }
    return Field(im.Left, 4) + "," + Field(im.Top, 4) + "," + Field(im.Left + im.TotalWidth(), 4) + "," +
           Field(im.Top + im.TotalHeight(), 4);
}

// The option file's value of an image entry.
inline std::string EntryValue(const Image& im)
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

inline std::string OptionText(const Skin& skin)
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
        for (const auto& [key, value] : skin.Globals)
            out << key << "=" << value << "\r\n";
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
        if (s.Glow > 0)
            out << "GLOW=" << s.Glow << "\r\nGLOWMARGIN=" << s.GlowMargin << "\r\n";
        if (s.Reserved)
            out << "RESERVEDBOOLEAN=1\r\n";
        for (const auto& [key, value] : s.Keys)
            out << key << "=" << value << "\r\n";
        images(s.Name);
        out << "\r\n";
    }
    if (!globalWritten)
        global();
    return out.str();
}

inline std::string PngFile(const Image& image)
{
    pngwriter::Image png;
    png.Width = static_cast<uint32_t>(image.TotalWidth());
    png.Height = static_cast<uint32_t>(image.TotalHeight());
    png.ColorType = 6;
    png.BitDepth = 8;
    png.Filter = 0;
    for (int y = 0; y < image.TotalHeight(); ++y)
        for (int x = 0; x < image.TotalWidth(); ++x) {
            const uint32_t c =
                y < image.Height ? skindesc::PixelColor(image, x, y) : Rgb(skindesc::MaskPixel(image, x, y - image.Height));
            const bool key = y < image.Height && c == 0xFF00FF;
            png.Samples.push_back(static_cast<uint16_t>(c & 0xFF));
            png.Samples.push_back(static_cast<uint16_t>((c >> 8) & 0xFF));
            png.Samples.push_back(static_cast<uint16_t>((c >> 16) & 0xFF));
            png.Samples.push_back(key ? 0 : 255);
        }
    return pngwriter::Encode(png);
}


// Every file of the skin folder, by name.
inline std::vector<std::pair<std::string, std::string>> SkinFiles(const Skin& skin)
{
    std::vector<std::pair<std::string, std::string>> files;
    files.emplace_back("Options.dat", OptionText(skin));
    if (skin.MasterHeight > 0) {
        std::vector<uint32_t> master(static_cast<size_t>(skin.MasterWidth) * skin.MasterHeight, 0xFF00FF);
        for (const Image& im : skin.Images)
            if (im.File.empty())
                DrawImage(im, master, skin.MasterWidth, im.Left, im.Top);
        files.emplace_back("MASTER.BMP", BmpFile(skin.MasterWidth, skin.MasterHeight, master));
    }
    for (const Image& im : skin.Images) {
        if (im.File.empty())
            continue;
        bool known = false;
        for (const auto& f : files)
            known = known || f.first == im.File;
        if (known)
            continue;
        if (Upper(im.File).find(".PNG") != std::string::npos)
            files.emplace_back(im.File, PngFile(im));
        else if (Upper(im.File).find(".BMP") != std::string::npos) {
            std::vector<uint32_t> rgb(static_cast<size_t>(im.TotalWidth()) * im.TotalHeight());
            DrawImage(im, rgb, im.TotalWidth(), 0, 0);
            files.emplace_back(im.File, BmpFile(im.TotalWidth(), im.TotalHeight(), rgb));
        }
    }
    return files;
}

inline void PutLE32(std::string& s, int32_t v)
{
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

inline std::string Deflate(const std::string& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
}

// One entry of a packed skin.
inline std::string PackedEntry(const std::string& name, const std::string& data)
{
    std::string s;
    PutLE32(s, static_cast<int32_t>(name.size()));
    s += name;
    PutLE32(s, static_cast<int32_t>(data.size()));
    s += Deflate(data);
    return s;
}

// The packed skin; a preview picture (PNG bytes) is appended when given.
inline std::string PackedSkin(const std::vector<std::pair<std::string, std::string>>& files,
                              const std::string& preview = std::string())
{
    std::string s = "ASzf";
    PutLE32(s, static_cast<int32_t>(files.size()));
    for (const auto& [name, data] : files)
        s += PackedEntry(name, data);
    if (!preview.empty()) {
        s += "previewimg";
        PutLE32(s, static_cast<int32_t>(preview.size()));
        s += preview;
    }
    return s;
}

} // namespace skinwriter
