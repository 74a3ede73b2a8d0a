#include "SkinFiles.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <sstream>

TSkinFiles DescribedSkinFiles(const std::string& Name)
{
    return skinwriter::SkinFiles(DescribedSkin(Name));
}

std::string& FileOf(TSkinFiles& Files, const std::string& Name)
{
    for (auto& [name, bytes] : Files)
        if (name == Name)
            return bytes;
    Files.emplace_back(Name, std::string());
    return Files.back().second;
}

void RemoveFile(TSkinFiles& Files, const std::string& Name)
{
    for (auto it = Files.begin(); it != Files.end(); ++it)
        if (it->first == Name) {
            Files.erase(it);
            return;
        }
}

namespace {

// Lines of the option text; the section's range [first key line, end).
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

void EditOption(TSkinFiles& Files, const std::string& Section, const std::string& Key, const std::string* Value)
{
    std::string& text = FileOf(Files, "Options.dat");
    std::vector<std::string> lines = Lines(text);
    size_t header = lines.size();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == "[" + Section + "]")
            header = i;
    if (header == lines.size()) {
        if (!Value)
            return;
        lines.push_back("[" + Section + "]");
    }
    size_t end = header + 1;
    while (end < lines.size() && !(lines[end].size() > 1 && lines[end][0] == '['))
        ++end;
    for (size_t i = header + 1; i < end; ++i)
        if (lines[i].rfind(Key + "=", 0) == 0) {
            if (Value)
                lines[i] = Key + "=" + *Value;
            else
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            text = Join(lines);
            return;
        }
    if (Value)
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(header + 1), Key + "=" + *Value);
    text = Join(lines);
}

} // namespace

void SetOption(TSkinFiles& Files, const std::string& Section, const std::string& Key, const std::string& Value)
{
    EditOption(Files, Section, Key, &Value);
}

void RemoveOption(TSkinFiles& Files, const std::string& Section, const std::string& Key)
{
    EditOption(Files, Section, Key, nullptr);
}

void WriteSkinFolder(const std::wstring& Folder, const TSkinFiles& Files)
{
    CreateDirectoryW(Folder.c_str(), nullptr);
    for (const auto& [name, bytes] : Files)
        testing_support::WriteBytes(Folder + L"\\" + std::wstring(name.begin(), name.end()), bytes);
}

std::string RenamedFontFile()
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::string font = testing_support::FileBytes(std::wstring(windows) + L"\\Fonts\\marlett.ttf");
    // The family name in the name table, in 8-bit and in UTF-16BE records.
    auto replace = [&](const std::string& from, const std::string& to) {
        for (size_t at = font.find(from); at != std::string::npos; at = font.find(from, at + to.size()))
            font.replace(at, from.size(), to);
    };
    replace("Marlett", "Blockfn");
    replace(std::string("\0M\0a\0r\0l\0e\0t\0t", 14), std::string("\0B\0l\0o\0c\0k\0f\0n", 14));
    return font;
}

namespace {

std::wstring boxTexts;
HWND lastBox = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || box == lastBox || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId())
        return;
    lastBox = box;
    if (!boxTexts.empty())
        boxTexts += L"|";
    boxTexts += testing_support::MessageBoxText(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace

std::wstring AnsweringBoxes(const std::function<void()>& Action)
{
    boxTexts.clear();
    lastBox = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, AnswerBox);
    struct Stop {
        UINT_PTR id;
        ~Stop() { KillTimer(nullptr, id); }
    } stop{timer};
    Action();
    return boxTexts;
}

TOwned<TsSkinManager> NewManager(TacScaleMode Mode)
{
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    manager->BeginLoading();
    manager->Options.SetScaleMode(Mode);
    manager->EndLoading();
    return manager;
}

DWORD Pixel(TBitmap* Bmp, int X, int Y)
{
    return static_cast<DWORD*>(Bmp->GetScanLine(Y))[X];
}

static TBitmap* SourceOf(const TsSkinManager& m, const TsMaskData& image)
{
    return image.Bmp ? image.Bmp : m.MasterBitmap;
}

const TsMaskData* FindImage(const TsSkinManager& m, const String& Section, const String& Key)
{
    const Integer index = const_cast<TsSkinManager&>(m).GetMaskIndex(Section, Key);
    return index < 0 ? nullptr : &m.ma[index];
}

void ExpectTablesOfDescription(const TsSkinManager& loaded, const std::string& Name)
{
    const skindesc::Skin skin = DescribedSkin(Name);
    auto expected = NewManager();
    FillManager(*expected, skin);
    for (std::size_t i = 0; i < skin.Sections.size(); ++i) {
        ASSERT_LT(i, loaded.gd.size());
        const TsGeneralData& got = loaded.gd[i];
        const TsGeneralData& want = expected->gd[i];
        EXPECT_EQ(got.ClassName, want.ClassName);
        EXPECT_EQ(got.ParentClass, want.ParentClass) << want.ClassName;
        EXPECT_EQ(got.States, want.States) << want.ClassName;
        EXPECT_EQ(got.UseState2, want.UseState2) << want.ClassName;
        for (int s = 0; s < 3; ++s) {
            if (skin.Sections[i].Colors.empty())
                continue;
            EXPECT_EQ(got.Props[s].Color, want.Props[s].Color) << want.ClassName << " state " << s;
            EXPECT_EQ(got.Props[s].FontColor.Color, want.Props[s].FontColor.Color) << want.ClassName << " state " << s;
            EXPECT_EQ(got.Props[s].Transparency, want.Props[s].Transparency) << want.ClassName;
        }
    }
    for (const TsMaskData& want : expected->ma) {
        const TsMaskData* got = FindImage(loaded, want.ClassName, want.PropertyName);
        const bool scaledVariant = want.PropertyName.find(L'*') != String::npos;
        if (scaledVariant && want.ImgType == itisaBorder) {
            EXPECT_EQ(got, nullptr) << "a scaled border entry is no image of its own";
            continue;
        }
        ASSERT_NE(got, nullptr) << want.ClassName << " " << want.PropertyName;
        EXPECT_EQ(got->ImgType, want.ImgType) << want.PropertyName;
        EXPECT_EQ(got->ImageCount, want.ImageCount) << want.PropertyName;
        EXPECT_EQ(got->MaskType, want.MaskType) << want.PropertyName;
        EXPECT_EQ(got->DrawMode, want.DrawMode) << want.PropertyName;
        EXPECT_EQ(got->R.Width(), want.R.Width()) << want.PropertyName;
        EXPECT_EQ(got->R.Height(), want.R.Height()) << want.PropertyName;
        EXPECT_EQ((std::vector<int>{got->WL, got->WT, got->WR, got->WB}),
                  (std::vector<int>{want.WL, want.WT, want.WR, want.WB}))
            << want.PropertyName;
        TBitmap* gotBmp = SourceOf(loaded, *got);
        TBitmap* wantBmp = SourceOf(*expected, want);
        int differing = 0;
        for (int y = 0; y < want.R.Height(); ++y)
            for (int x = 0; x < want.R.Width(); ++x)
                differing += Pixel(gotBmp, got->R.left + x, got->R.top + y) !=
                             Pixel(wantBmp, want.R.left + x, want.R.top + y);
        EXPECT_EQ(differing, 0) << want.ClassName << " " << want.PropertyName;
    }
    for (TacPaletteColors entry : {pcMainColor, pcLabelText, pcBorder, pcGrid, pcEditText, pcEditBG, pcSelectionBG,
                                   pcSelectionText, pcSelectionBG_Focused, pcSelectionText_Focused})
        EXPECT_EQ(loaded.Palette[entry], expected->Palette[entry]) << "palette entry " << entry;
}

