// skingen: writes a skin folder from one of the project's test skin
// descriptions: "Options.dat" with the sections, palette and image entries,
// the master bitmap "MASTER.BMP", and the external BMP and PNG files; with
// a file name ending in ".asz" the same files packed into one skin file.
//
//     skingen tests\fixtures\skins\Blocks.skin out\Blocks
//     skingen tests\fixtures\skins\Blocks.skin out\Blocks.asz
#include "SkinWriter.h"
#include <fstream>

namespace {

bool WriteFile(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen DESCRIPTION OUTPUT-FOLDER|OUTPUT.asz\n");
        return 2;
    }
    try {
        std::ifstream in(argv[1]);
        if (!in)
            throw std::runtime_error("cannot read the description");
        const skindesc::Skin skin = skindesc::Parse(in);
        const std::wstring target = argv[2];
        const auto files = skinwriter::SkinFiles(skin);
        bool ok = true;
        if (target.size() > 4 && target.compare(target.size() - 4, 4, L".asz") == 0)
            ok = WriteFile(target, skinwriter::PackedSkin(files));
        else {
            CreateDirectoryW(target.c_str(), nullptr);
            for (const auto& [name, bytes] : files)
                ok = ok && WriteFile(target + L"\\" + std::wstring(name.begin(), name.end()), bytes);
        }
        if (!ok)
            throw std::runtime_error("cannot write the skin");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
