// Loading a large generated skin (hundreds of sections, a 1024 x 1024
// master bitmap, dozens of external PNG files) against its floor: reading
// its files and decoding its images with the same readers; the packed form
// against the same floor plus a plain zlib inflate of its entries. Prints
// the times and the ratios the loader is held to (each within 1.5).
#include <windows.h>
#include <zlib.h>
#include <cstdio>
#include <algorithm>
#include <vector>
#include "BenchClock.h"
#include "Forms.h"
#include "SkinWriter.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "acGraphicsStartup.h"
#include "sSkinManager.h"
#include "sSkinText.h"

namespace {

constexpr int LargeSectionCount = 400;
constexpr int PngCount = 48;

skindesc::Skin LargeSkin()
{
    skindesc::Skin skin;
    skin.Name = "Large";
    skin.Author = "bench";
    skin.MasterWidth = 1024;
    skin.MasterHeight = 1024;
    skin.Palette = {{"COLOR", 0x808080}, {"FONTCOLOR", 0x101010}};
    skin.Sections.push_back({"GLOBALINFO", "", 3, {}, {}, 0});
    for (int i = 0; i < LargeSectionCount; ++i) {
        skindesc::Section s;
        s.Name = "SECTION" + std::to_string(i);
        s.Parent = i % 3 ? "SECTION" + std::to_string(i - i % 3) : "";
        s.Colors = {uint32_t(0x100000 + i), uint32_t(0x200000 + i), uint32_t(0x300000 + i)};
        s.Fonts = {uint32_t(i), uint32_t(i + 1), uint32_t(i + 2)};
        skin.Sections.push_back(s);
    }
    // Border images of the master bitmap in rows of 48 x 32 cells.
    for (int i = 0; i < LargeSectionCount; ++i) {
        skindesc::Image im;
        im.Section = "SECTION" + std::to_string(i);
        im.Key = "BORDERSMASK";
        im.ImgKind = skindesc::Border;
        im.Frames = 3;
        im.Width = 16;
        im.Height = 16;
        im.Mask = 1;
        im.Margins = 4;
        im.Color = uint32_t(0x102030 + i * 0x10);
        im.KeyCorner = i % 2;
        im.Left = (i % 21) * 48;
        im.Top = (i / 21) * 32;
        skin.Images.push_back(im);
    }
    for (int i = 0; i < PngCount; ++i) {
        skindesc::Image im;
        im.Section = "SECTION" + std::to_string(i * 5);
        im.Key = "GLYPHMASK";
        im.ImgKind = skindesc::Glyph;
        im.Frames = 2;
        im.Width = 48;
        im.Height = 48;
        im.Color = uint32_t(0x405060 + i);
        im.File = "GLYPH" + std::to_string(i) + ".PNG";
        skin.Images.push_back(im);
    }
    return skin;
}

TOwned<TMemoryStream> ReadFile(const std::wstring& path)
{
    TOwned<TMemoryStream> data(New<TMemoryStream>());
    data->LoadFromFile(path);
    return data;
}

// The floor's image work: the master bitmap and every PNG through the
// loader's readers.
void DecodeImages(const std::vector<std::pair<std::string, TMemoryStream*>>& files)
{
    for (const auto& [name, data] : files) {
        TOwned<TBitmap> bmp(New<TBitmap>());
        data->SetPosition(0);
        if (name.find(".PNG") != std::string::npos)
            LoadPngStreamToBitmap(bmp.get(), data);
        else if (name.find(".BMP") != std::string::npos)
            bmp->LoadFromStream(data);
    }
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    sSkinManager_Initialize();
    {
        testing_support::TempDir dir;
        const auto files = skinwriter::SkinFiles(LargeSkin());
        const std::wstring folder = dir.File(L"Large");
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const auto& [name, bytes] : files)
            testing_support::WriteBytes(folder + L"\\" + std::wstring(name.begin(), name.end()), bytes);
        const std::string packed = skinwriter::PackedSkin(files);
        testing_support::WriteBytes(dir.File(L"Packed.asz"), packed);

        TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
        manager->SetSkinDirectory(dir.Path());
        constexpr int rounds = 9;
        auto folderFloorRound = [&] {
            std::vector<TOwned<TMemoryStream>> held;
            std::vector<std::pair<std::string, TMemoryStream*>> read;
            for (const auto& [name, bytes] : files) {
                held.push_back(ReadFile(folder + L"\\" + std::wstring(name.begin(), name.end())));
                read.emplace_back(name, held.back().get());
            }
            DecodeImages(read);
        };
        std::vector<std::string> deflated;
        for (const auto& [name, bytes] : files)
            deflated.push_back(skinwriter::Deflate(bytes));
        auto packedFloorRound = [&] {
            TOwned<TMemoryStream> file = ReadFile(dir.File(L"Packed.asz"));
            std::vector<TOwned<TMemoryStream>> held;
            std::vector<std::pair<std::string, TMemoryStream*>> read;
            for (std::size_t i = 0; i < files.size(); ++i) {
                // A plain inflate of the entry into a buffer of its size.
                std::string out(files[i].second.size(), '\0');
                uLongf size = static_cast<uLongf>(out.size());
                uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                           reinterpret_cast<const Bytef*>(deflated[i].data()), static_cast<uLong>(deflated[i].size()));
                TOwned<TMemoryStream> entry(New<TMemoryStream>());
                entry->WriteBuffer(out.data(), static_cast<Int64>(size));
                held.push_back(std::move(entry));
                read.emplace_back(files[i].first, held.back().get());
            }
            DecodeImages(read);
        };
        // Each load beside its floor, round by round, so that both see the
        // same machine; the best of each counts.
        std::vector<double> folderLoads, folderFloors, packedLoads, packedFloors;
        auto time = [](auto&& f) {
            const double start = bench::Seconds();
            f();
            return bench::Seconds() - start;
        };
        for (int i = 0; i < rounds; ++i) {
            folderLoads.push_back(time([&] { manager->SetSkinName(L"Large"); }));
            folderFloors.push_back(time(folderFloorRound));
            packedLoads.push_back(time([&] { manager->SetSkinName(L"Packed"); }));
            packedFloors.push_back(time(packedFloorRound));
        }
        const double folderLoad = *std::min_element(folderLoads.begin(), folderLoads.end());
        const double folderFloor = *std::min_element(folderFloors.begin(), folderFloors.end());
        const double packedLoad = *std::min_element(packedLoads.begin(), packedLoads.end());
        const double packedFloor = *std::min_element(packedFloors.begin(), packedFloors.end());

        std::printf("skin: %d sections, %zu images, master 1024 x 1024, %d PNG files, %zu bytes packed\n",
                    LargeSectionCount + 3, manager->ma.size(), PngCount, packed.size());
        std::printf("%-8s %10s %10s %7s\n", "form", "load ms", "floor ms", "ratio");
        std::printf("%-8s %10.2f %10.2f %7.2f\n", "folder", folderLoad * 1000, folderFloor * 1000, folderLoad / folderFloor);
        std::printf("%-8s %10.2f %10.2f %7.2f\n", "packed", packedLoad * 1000, packedFloor * 1000,
                    packedLoad / packedFloor);
        std::printf("held to: each ratio within 1.5\n");
    }
    sSkinManager_Finalize();
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
