// The project's test skins, described in a small readable text: sections
// with parents, states and colours, and images made of solid blocks whose
// colour tells the frame (state) that painted it. The skin generator writes
// a skin folder from a description; the tests fill a manager's tables from
// the same description. Both place the images the same way: one below the
// other in the master bitmap, external images in files of their own.
//
// Lines ("#" starts a comment; colours are #RRGGBB):
//   skin NAME version=13.0 author=TEXT
//   palette KEY=#RRGGBB ...                (keys of GLOBALINFO: COLOR, FONTCOLOR, BORDERCOLOR ...)
//   global KEY=VALUE ...                   (other keys of GLOBALINFO, written as they are)
//   section NAME [parent=NAME] [states=N] [colors=#..,#..,#..] [fonts=#..,#..,#..] [transparency=N]
//           [glow=N glowmargin=N]          (hover glow: its image is the section's GLOW0)
//           [reserved=1]                   (the section flag RESERVEDBOOLEAN: a scroll arrow's
//                                           image larger than 17 pixels overlaps the track)
//           [set=KEY:VALUE,KEY:VALUE]      (further keys of the section, written as they are)
//   image SECTION KEY KIND frames=N size=WxH [mask=0|1] [draw=N] [margins=N] [border=N]
//         [color=#RRGGBB] [keycorner=N] [maskcenters=N,N,..] [rect=L,T,R,B]
//         [file=NAME.BMP|NAME.PNG]
//     KIND: border, texture, glyph. Frame f is filled with the image's colour
//     whose blue byte is raised by 16 x f; keycorner=N makes the top-left N x N
//     pixels of each frame the key colour #FF00FF; a masked image (mask=1)
//     has a black (opaque) mask below its colours, whose centre pixel of frame
//     f is grey N (0..255) with maskcenters. rect= writes that rectangle into
//     the entry instead of the image's place (a damaged skin).
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace skindesc {

struct Section {
    std::string Name;
    std::string Parent;
    int States = 3;
    std::vector<uint32_t> Colors;   // TColor (0x00BBGGRR) per state
    std::vector<uint32_t> Fonts;
    int Transparency = 0;
    int Glow = 0;
    int GlowMargin = 0;
    int Reserved = 0;
    std::vector<std::pair<std::string, std::string>> Keys;
};

enum Kind { Border = 0, Texture = 1, Glyph = 2 };

struct Image {
    std::string Section;
    std::string Key;
    Kind ImgKind = Border;
    int Frames = 1;
    int Width = 0;      // of one frame
    int Height = 0;     // of the colour part
    int Mask = 0;
    int Draw = 0;
    int Margins = 0;
    int BorderWidth = 0;
    uint32_t Color = 0; // TColor
    int KeyCorner = 0;
    std::vector<int> MaskCenters;   // grey of each frame's mask centre
    std::string Rect;               // written in place of the image's rectangle
    std::string File;   // empty: in the master bitmap
    // Placement in its source bitmap (the master bitmap, or its own file).
    int Left = 0, Top = 0;
    int TotalWidth() const { return Width * Frames; }
    int TotalHeight() const { return Height * (Mask + 1); }
};

struct Skin {
    std::string Name;
    std::string Version = "13.0";
    std::string Author;
    std::vector<std::pair<std::string, uint32_t>> Palette;
    std::vector<std::pair<std::string, std::string>> Globals;
    std::vector<Section> Sections;
    std::vector<Image> Images;
    int MasterWidth = 0, MasterHeight = 0;

    int SectionIndex(const std::string& name) const
    {
        for (size_t i = 0; i < Sections.size(); ++i)
            if (Sections[i].Name == name)
                return static_cast<int>(i);
        return -1;
    }
};

// #RRGGBB as a TColor (0x00BBGGRR).
inline uint32_t ParseColor(const std::string& text)
{
    if (text.size() != 7 || text[0] != '#')
        throw std::runtime_error("bad colour " + text);
    const uint32_t rgb = static_cast<uint32_t>(std::stoul(text.substr(1), nullptr, 16));
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

inline std::vector<uint32_t> ParseColors(const std::string& text)
{
    std::vector<uint32_t> colors;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        colors.push_back(ParseColor(item));
    return colors;
}

// The mask (0x00RRGGBB) of pixel (x, y) of a masked image; y within the mask part.
inline uint32_t MaskPixel(const Image& image, int x, int y)
{
    const int frame = x / image.Width;
    if (frame < static_cast<int>(image.MaskCenters.size()) && x % image.Width == image.Width / 2 &&
        y == image.Height - image.Height / 2) {
        const uint32_t grey = static_cast<uint32_t>(image.MaskCenters[frame]) & 0xFF;
        return grey | (grey << 8) | (grey << 16);
    }
    return 0;
}

// The colour (TColor) of pixel (x, y) of an image's colour part; x within all frames.
inline uint32_t PixelColor(const Image& image, int x, int y)
{
    const int frame = x / image.Width;
    const int fx = x % image.Width;
    if (fx < image.KeyCorner && y < image.KeyCorner)
        return 0xFF00FF;
    const uint32_t blue = ((image.Color >> 16) & 0xFF) + 16u * static_cast<uint32_t>(frame);
    return (image.Color & 0xFFFF) | ((blue & 0xFF) << 16);
}

inline Skin Parse(std::istream& in)
{
    Skin skin;
    int top = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::stringstream words(line);
        std::string word;
        words >> word;
        std::vector<std::string> rest;
        for (std::string w; words >> w;)
            rest.push_back(w);
        auto value = [](const std::string& item, const std::string& key, std::string& out) {
            if (item.rfind(key + "=", 0) != 0)
                return false;
            out = item.substr(key.size() + 1);
            return true;
        };
        std::string v;
        if (word == "skin") {
            skin.Name = rest.at(0);
            for (size_t i = 1; i < rest.size(); ++i) {
                if (value(rest[i], "version", v))
                    skin.Version = v;
                else if (value(rest[i], "author", v))
                    skin.Author = v;
            }
        } else if (word == "palette") {
            for (const std::string& item : rest) {
                const size_t eq = item.find('=');
                skin.Palette.emplace_back(item.substr(0, eq), ParseColor(item.substr(eq + 1)));
            }
        } else if (word == "global") {
            for (const std::string& item : rest) {
                const size_t eq = item.find('=');
                skin.Globals.emplace_back(item.substr(0, eq), item.substr(eq + 1));
            }
        } else if (word == "section") {
            Section s;
            s.Name = rest.at(0);
            for (size_t i = 1; i < rest.size(); ++i) {
                if (value(rest[i], "parent", v))
                    s.Parent = v;
                else if (value(rest[i], "states", v))
                    s.States = std::stoi(v);
                else if (value(rest[i], "colors", v))
                    s.Colors = ParseColors(v);
                else if (value(rest[i], "fonts", v))
                    s.Fonts = ParseColors(v);
                else if (value(rest[i], "transparency", v))
                    s.Transparency = std::stoi(v);
                else if (value(rest[i], "glowmargin", v))
                    s.GlowMargin = std::stoi(v);
                else if (value(rest[i], "glow", v))
                    s.Glow = std::stoi(v);
                else if (value(rest[i], "reserved", v))
                    s.Reserved = std::stoi(v);
                else if (value(rest[i], "set", v)) {
                    std::stringstream items(v);
                    for (std::string item; std::getline(items, item, ',');)
                        s.Keys.emplace_back(item.substr(0, item.find(':')), item.substr(item.find(':') + 1));
                }
            }
            skin.Sections.push_back(s);
        } else if (word == "image") {
            Image im;
            im.Section = rest.at(0);
            im.Key = rest.at(1);
            const std::string& kind = rest.at(2);
            im.ImgKind = kind == "texture" ? Texture : kind == "glyph" ? Glyph : Border;
            for (size_t i = 3; i < rest.size(); ++i) {
                if (value(rest[i], "frames", v))
                    im.Frames = std::stoi(v);
                else if (value(rest[i], "size", v)) {
                    im.Width = std::stoi(v.substr(0, v.find('x')));
                    im.Height = std::stoi(v.substr(v.find('x') + 1));
                } else if (value(rest[i], "mask", v))
                    im.Mask = std::stoi(v);
                else if (value(rest[i], "draw", v))
                    im.Draw = std::stoi(v);
                else if (value(rest[i], "margins", v))
                    im.Margins = std::stoi(v);
                else if (value(rest[i], "border", v))
                    im.BorderWidth = std::stoi(v);
                else if (value(rest[i], "color", v))
                    im.Color = ParseColor(v);
                else if (value(rest[i], "keycorner", v))
                    im.KeyCorner = std::stoi(v);
                else if (value(rest[i], "maskcenters", v)) {
                    std::stringstream items(v);
                    for (std::string item; std::getline(items, item, ',');)
                        im.MaskCenters.push_back(std::stoi(item));
                } else if (value(rest[i], "rect", v))
                    im.Rect = v;
                else if (value(rest[i], "file", v))
                    im.File = v;
            }
            if (im.File.empty()) {
                im.Top = top;
                top += im.TotalHeight();
                skin.MasterWidth = std::max(skin.MasterWidth, im.TotalWidth());
            }
            skin.Images.push_back(im);
        } else
            throw std::runtime_error("unknown line: " + line);
    }
    skin.MasterHeight = top;
    return skin;
}

inline Skin ParseFile(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Parse(in);
}

} // namespace skindesc
