// The option text, the folder load and the swap of the tables.
//
// A load never writes into the tables that controls index: the manager's
// tables are moved aside, the passes fill empty ones, and only when every
// pass has succeeded are the old ones freed. A pass that raises leaves the
// partial tables freed and the previous skin back in place, indexes and
// brushes included, so nothing announced afterwards is half filled.
#include "sSkinLoader.h"
#include "ScopeExit.h"
#include "acFontStore.h"
#include "acMessageBox.h"
#include "acSkinPack.h"
#include "sSkinManager.h"
#include <cstring>

const wchar_t* const SkinNewerVersionText =
    L"This version of the skin has not complete support by used skin library package release.\r\n"
    L"Components must be updated to latest version for using this skin.";

String SkinOldVersionText(const String& SkinName)
{
    return L"You are using an old version of the \"" + SkinName + L"\" skin. " +
           L"Please, update skins to latest or contact the skin library support for upgrading of existing skin." +
           L"\r\n\r\n" +
           L"This notification occurs in design-time only for your information and will not be shown in real-time.";
}

// ---------------------------------------------------------------------------
void TacSkinIni::SetText(const String& Text)
{
    FSections.clear();
    FIndex.clear();
    TSection* current = nullptr;
    std::size_t pos = 0;
    while (pos <= Text.size()) {
        std::size_t end = Text.find_first_of(L"\r\n", pos);
        if (end == String::npos)
            end = Text.size();
        String line = Text.substr(pos, end - pos);
        pos = end + 1;
        if (end < Text.size() && Text[end] == L'\r' && pos < Text.size() && Text[pos] == L'\n')
            ++pos;
        line = Trim(line);
        if (line.empty() || line[0] == L';')
            continue;
        if (line.front() == L'[' && line.back() == L']') {
            const String name = line.substr(1, line.size() - 2);
            auto found = FIndex.find(name);
            if (found != FIndex.end())
                current = &FSections[found->second];
            else {
                FIndex.emplace(name, FSections.size());
                FSections.push_back({name, {}, {}});
                current = &FSections.back();
            }
            continue;
        }
        if (!current)
            continue;
        const std::size_t eq = line.find(L'=');
        if (eq == String::npos)
            continue;
        String key = TrimRight(line.substr(0, eq));
        if (current->Index.count(key))
            continue;
        current->Index.emplace(key, current->Keys.size());
        current->Keys.push_back({std::move(key), TrimLeft(line.substr(eq + 1))});
    }
}

int TacSkinIni::FindSection(const String& Name) const
{
    auto found = FIndex.find(Name);
    return found == FIndex.end() ? -1 : static_cast<int>(found->second);
}

bool TacSkinIni::Find(int SectionIndex, const String& Key, String& Value) const
{
    if (SectionIndex < 0 || SectionIndex >= SectionCount())
        return false;
    const TSection& section = FSections[SectionIndex];
    auto found = section.Index.find(Key);
    if (found == section.Index.end())
        return false;
    Value = section.Keys[found->second].Value;
    return true;
}

bool TacSkinIni::Find(const String& SectionName, const String& Key, String& Value) const
{
    return Find(FindSection(SectionName), Key, Value);
}

String TacSkinIni::ReadString(const String& SectionName, const String& Key, const String& Default) const
{
    String value;
    return Find(SectionName, Key, value) ? value : Default;
}

Integer TacSkinIni::ReadInteger(const String& SectionName, const String& Key, Integer Default) const
{
    String value;
    return Find(SectionName, Key, value) ? StrToIntDef(value, Default) : Default;
}

String SkinTextOfBytes(const std::vector<Byte>& Bytes)
{
    const std::size_t n = Bytes.size();
    if (n >= 2 && Bytes[0] == 0xFF && Bytes[1] == 0xFE) {
        String text;
        text.reserve((n - 2) / 2);
        for (std::size_t i = 2; i + 1 < n; i += 2)
            text.push_back(static_cast<wchar_t>(Bytes[i] | (Bytes[i + 1] << 8)));
        return text;
    }
    UINT codePage = CP_ACP;
    std::size_t start = 0;
    if (n >= 3 && Bytes[0] == 0xEF && Bytes[1] == 0xBB && Bytes[2] == 0xBF) {
        codePage = CP_UTF8;
        start = 3;
    }
    if (n == start)
        return String();
    const int count = MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(Bytes.data() + start),
                                          static_cast<int>(n - start), nullptr, 0);
    String text(static_cast<std::size_t>(std::max(count, 0)), L'\0');
    if (count > 0)
        MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(Bytes.data() + start),
                            static_cast<int>(n - start), text.data(), count);
    return text;
}

// ---------------------------------------------------------------------------
namespace {

struct TSkinTables {
    std::vector<TsGeneralData> gd;
    std::vector<TsMaskData> ma;
    std::vector<TacOutEffData> oe;
    std::vector<TacExtFileData> ExtArray;
    TBitmap* MasterBitmap = nullptr;
    TColor Palette[PaletteColorCount] = {};
    TConstantSkinData ConstData;
    TsSkinData CommonSkinData;
};

void SwapTables(TsSkinManager& m, TSkinTables& t)
{
    std::swap(m.gd, t.gd);
    std::swap(m.ma, t.ma);
    std::swap(m.oe, t.oe);
    std::swap(m.ExtArray, t.ExtArray);
    std::swap(m.MasterBitmap, t.MasterBitmap);
    std::swap(m.Palette, t.Palette);
    std::swap(m.ConstData, t.ConstData);
    std::swap(m.CommonSkinData, t.CommonSkinData);
}

} // namespace

void TsSkinManager::LoadSkinTables(const TacSkinSource& Source)
{
    TSkinTables previous;
    SwapTables(*this, previous);
    // The skin-wide values and the palette start from the previous skin's:
    // a skin keeps what it does not set.
    std::copy(std::begin(previous.Palette), std::end(previous.Palette), std::begin(Palette));
    // The values only: the new skin's shadows are made from its own.
    static_cast<TsSkinDataValues&>(CommonSkinData) = previous.CommonSkinData;
    ConstData = TConstantSkinData();
    FVersionNotice = 0;
    TOwned<TacEmbeddedFonts> previousFonts;
    bool done = false;
    TScopeExit restore([&] {
        if (done)
            return;
        FreeSkinTables();
        oe.clear();
        SwapTables(*this, previous);
        if (previousFonts) {
            UnloadFonts(FEmbeddedFonts.get());
            FEmbeddedFonts = std::move(previousFonts);
        }
        CreateBrushes();
    });
    LoadAllMasks(Source);
    previousFonts = std::move(FEmbeddedFonts);
    LoadFonts(Source);
    LoadAllGeneralData(Source);
    InitConstantIndexes();
    done = true;

    // The previous skin goes only now.
    SwapTables(*this, previous);
    FreeSkinTables();
    oe.clear();
    SwapTables(*this, previous);
    UnloadFonts(previousFonts.get());
    previousFonts.reset();
    if (OnSkinLoading)
        OnSkinLoading(this);
    CheckVersion();
}

void TsSkinManager::CheckVersion()
{
    // Shown once the new tables are in place: a dialog's message loop may
    // repaint forms, which must not meet tables being filled.
    const int notice = FVersionNotice;
    FVersionNotice = 0;
    if (notice < 0 && ComponentState().Contains(csDesigning))
        ShowWarningMessage(SkinOldVersionText(FSkinName));
    else if (notice > 0) {
        const TacSkinningRules rules = FSkinningRules;
        TScopeExit back([&] { FSkinningRules = rules; });
        FSkinningRules.Exclude(srStdDialogs);
        ShowMessageBox(SkinNewerVersionText, mtWarning, TMsgDlgButtons{mbOK}, 0);
    }
}

void TsSkinManager::ReloadSkin()
{
    if (!FActive)
        return;
    const bool wasChanging = SkinChanging;
    SkinChanging = true;
    TScopeExit flag([&] { SkinChanging = wasChanging; });

    const String path = GetFullSkinDirectory() + FSkinName + L"\\";
    const String optionFile = path + L"Options.dat";
    TacSkinIni ini;
    TOwned<TacSkinConvertor> package;
    TacSkinSource source;
    source.Path = path;
    bool hasText = false;
    if (FileExists(optionFile)) {
        SkinIsPacked = false;
        TOwned<TMemoryStream> bytes(New<TMemoryStream>());
        bytes->LoadFromFile(optionFile);
        const auto* data = static_cast<const Byte*>(bytes->Memory());
        ini.SetText(SkinTextOfBytes(std::vector<Byte>(data, data + bytes->GetSize())));
        hasText = true;
    } else {
        source.Path.clear();
        TsStoredSkins* stored = FInternalSkins.get();
        int index = stored ? stored->IndexOf(FSkinName) : -1;
        if (index < 0 && stored && stored->Count() > 0)
            index = 0;
        if (index < 0) {
            FActive = false;
            return;
        }
        TsStoredSkin* skin = stored->Items(index);
        FSkinName = skin->Name;
        if (skin->PackedData->GetSize() > 0) {
            SkinIsPacked = true;
            package.reset(New<TacSkinConvertor>());
            // The stored skin keeps its own stream.
            package->PackedData = skin->PackedData.get();
            if (ReadPackedSkin(package.get(), this) && package->Options) {
                ini.SetText(package->OptionsText());
                hasText = true;
            }
            package->PackedData = nullptr;
        }
    }
    source.Ini = hasText ? &ini : nullptr;
    source.Package = package.get();
    LoadSkinTables(source);
}
