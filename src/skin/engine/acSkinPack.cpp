// Reading packed skins, the preview block, the skins stored in a form, and
// the packed load of the manager.
//
// A packed file is untrusted: every length is checked in 64 bits against
// the bytes left before anything is allocated for it, and every entry must
// inflate to exactly its stated length. The inflated data grows as it
// arrives and is never sized from the stated length, so a forged length
// costs nothing.
#include "acSkinPack.h"
#include "ScopeExit.h"
#include "acMessageBox.h"
#include "acSkinList.h"
#include "acZLibEx.h"
#include "sSkinLoader.h"
#include "sSkinManager.h"
#include <array>
#include <cstring>

const wchar_t* const NotPackedSkinText = L"Loaded data is not a packed skin file";

namespace {

// Deflate cannot compress better than about 1032 to 1: a stated length
// beyond that of the bytes left is a forgery.
constexpr Int64 MaxInflateRatio = 1032;
// No skin file comes near this; anything larger is refused outright.
constexpr Int64 MaxEntrySize = 256ll * 1024 * 1024;

class EPackedSkin : public Exception {
public:
    using Exception::Exception;
};

std::int32_t ReadInt32(TStream* Stream)
{
    std::int32_t value = 0;
    if (Stream->Read(&value, 4) != 4)
        throw EPackedSkin(NotPackedSkinText);
    return value;
}

// Inflates one entry of exactly Size bytes from the stream's position.
TOwned<TMemoryStream> InflateEntry(TMemoryStream* Packed, Int64 Size)
{
    TOwned<TMemoryStream> out(New<TMemoryStream>());
    TZDecompressionStream inflater(Packed);
    std::array<Byte, 65536> buffer;
    Int64 left = Size;
    while (left > 0) {
        const int got = inflater.Read(buffer.data(), static_cast<int>(std::min<Int64>(left, buffer.size())));
        if (got <= 0)
            throw EPackedSkin(NotPackedSkinText);   // cut short
        out->WriteBuffer(buffer.data(), got);
        left -= got;
    }
    // Data to spare, or a stream that ends without its checksum.
    Byte extra = 0;
    if (inflater.Read(&extra, 1) != 0 || !inflater.Finished())
        throw EPackedSkin(NotPackedSkinText);
    out->SetPosition(0);
    return out;
}

} // namespace

TacFileType FileTypeOfName(const String& Name)
{
    const String ext = UpperCase(ExtractFileExt(Name));
    if (ext == L".BMP")
        return ftBmp;
    if (ext == L".TTF" || ext == L".OTF")
        return ftFont;
    return ftOther;
}

TacSkinConvertor::~TacSkinConvertor()
{
    Clear();
}

void TacSkinConvertor::Clear()
{
    Files.clear();
    Options.reset();
    PackedData = nullptr;
    FileCount = 0;
}

TacFileItem* TacSkinConvertor::FindFile(const String& UpperName)
{
    for (TacFileItem& item : Files)
        if (UpperCase(item.Name) == UpperName)
            return &item;
    return nullptr;
}

String TacSkinConvertor::OptionsText() const
{
    if (!Options)
        return String();
    const auto* data = static_cast<const Byte*>(Options->Memory());
    return SkinTextOfBytes(std::vector<Byte>(data, data + Options->GetSize()));
}

bool ReadPackedSkin(TacSkinConvertor* Package, TsSkinManager* Manager)
{
    TMemoryStream* packed = Package->PackedData;
    Package->Files.clear();
    Package->Options.reset();
    try {
        if (!packed)
            throw EPackedSkin(NotPackedSkinText);
        packed->SetPosition(0);
        const Int64 size = packed->GetSize();
        char signature[4] = {};
        if (size < 8 || packed->Read(signature, 4) != 4 || std::memcmp(signature, "ASzf", 4) != 0)
            throw EPackedSkin(NotPackedSkinText);
        const std::int32_t count = ReadInt32(packed);
        // Each entry takes at least its two lengths and a zlib header.
        if (count < 1 || static_cast<Int64>(count) * 10 > size - 8)
            throw EPackedSkin(NotPackedSkinText);
        Package->FileCount = count - 1;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t nameLength = ReadInt32(packed);
            if (nameLength < 0 || nameLength > size - packed->GetPosition() - 4)
                throw EPackedSkin(NotPackedSkinText);
            std::string name(static_cast<std::size_t>(nameLength), '\0');
            packed->ReadBuffer(name.data(), nameLength);
            const std::int32_t dataSize = ReadInt32(packed);
            const Int64 left = size - packed->GetPosition();
            if (dataSize < 0 || dataSize > MaxEntrySize || dataSize > left * MaxInflateRatio)
                throw EPackedSkin(NotPackedSkinText);
            TOwned<TMemoryStream> data = InflateEntry(packed, dataSize);
            const String entryName = String(name.begin(), name.end());
            if (UpperCase(entryName) == L"OPTIONS.DAT")
                Package->Options = std::move(data);   // a second one replaces the first
            else
                Package->Files.push_back({entryName, FileTypeOfName(entryName), std::move(data)});
        }
        return true;
    } catch (const Exception&) {
        Package->Files.clear();
        Package->Options.reset();
        TacSkinningRules rules = Manager ? Manager->GetSkinningRules() : TacSkinningRules();
        const bool sysColors = Manager && Manager->Options.ChangeSysColors;
        TScopeExit back([&] {
            if (Manager) {
                Manager->SetSkinningRules(rules);
                Manager->Options.ChangeSysColors = sysColors;
            }
        });
        if (Manager) {
            TacSkinningRules without = rules;
            without.Exclude(srStdDialogs);
            Manager->SetSkinningRules(without);
            Manager->Options.ChangeSysColors = false;
        }
        ShowMessageBox(NotPackedSkinText, mtError, TMsgDlgButtons{mbOK}, 0);
        return false;
    }
}

bool LoadPackedFile(const String& FileName, TacSkinConvertor* Package, TsSkinManager* Manager)
{
    if (!FileExists(FileName))
        return false;
    Package->Clear();
    TOwned<TMemoryStream> bytes(New<TMemoryStream>());
    bytes->LoadFromFile(FileName);
    Package->PackedData = bytes.get();
    TScopeExit release([&] { Package->PackedData = nullptr; });
    return ReadPackedSkin(Package, Manager);
}

bool ReadSkinPreview(TStream* Target, TStream* Source)
{
    static const char pattern[] = "previewimg";
    constexpr int m = 10;
    const Int64 size = Source->GetSize();
    std::vector<Byte> bytes(static_cast<std::size_t>(std::max<Int64>(size, 0)));
    Source->SetPosition(0);
    if (size > 0)
        Source->ReadBuffer(bytes.data(), size);
    // Boyer-Moore-Horspool: skips by the byte under the pattern's end.
    std::array<int, 256> skip;
    skip.fill(m);
    for (int i = 0; i < m - 1; ++i)
        skip[static_cast<Byte>(pattern[i])] = m - 1 - i;
    const Int64 n = size;
    for (Int64 at = 0; at + m <= n;) {
        int j = m - 1;
        while (j >= 0 && bytes[at + j] == static_cast<Byte>(pattern[j]))
            --j;
        if (j < 0) {
            const Int64 lengthAt = at + m;
            if (lengthAt + 4 > n)
                return false;
            std::int32_t length = 0;
            std::memcpy(&length, bytes.data() + lengthAt, 4);
            if (length < 0 || length > n - lengthAt - 4)
                return false;
            Target->SetSize(0);
            Target->SetPosition(0);
            Target->WriteBuffer(bytes.data() + lengthAt + 4, length);
            Target->SetPosition(0);
            return true;
        }
        at += skip[bytes[at + m - 1]];
    }
    return false;
}

bool ReadSkinPreview(TStream* Target, const String& FileName)
{
    if (!FileExists(FileName))
        return false;
    TOwned<TMemoryStream> bytes(New<TMemoryStream>());
    bytes->LoadFromFile(FileName);
    return ReadSkinPreview(Target, bytes.get());
}

// ---------------------------------------------------------------------------
void TsSkinManager::ReloadPackedSkin()
{
    if (!FActive)
        return;
    const bool wasChanging = SkinChanging;
    SkinChanging = true;
    TScopeExit flag([&] { SkinChanging = wasChanging; });
    TOwned<TacSkinConvertor> package(New<TacSkinConvertor>());
    // The resolved directory, as every other skin path.
    const String fileName = GetFullSkinDirectory() + FSkinName + L".asz";
    LoadPackedFile(fileName, package.get(), this);
    if (!package->Options) {
        ShowWarningMessage(L"Internal format error in the \"" + FSkinName +
                           L"\" skin. Please, update this skin to latest version.");
        return;
    }
    const TacSkinIni ini(package->OptionsText());
    TacSkinSource source;
    source.Ini = &ini;
    source.Package = package.get();
    source.Path = GetFullSkinDirectory();
    SkinIsPacked = true;
    LoadSkinTables(source);
}

// ---------------------------------------------------------------------------
TsStoredSkin::TsStoredSkin(TCollection* Collection) : TCollectionItem(Collection) {}

void TsStoredSkin::AfterConstruction()
{
    MasterBitmap.reset(New<TBitmap>());
    PackedData.reset(New<TMemoryStream>());
    TCollectionItem::AfterConstruction();
    if (auto* skins = dynamic_cast<TsStoredSkins*>(GetCollection()); skins && skins->Manager())
        if (TacSkinListController* list = skins->Manager()->SkinListController())
            list->ResetList(true);
}

void TsStoredSkin::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TsStoredSkin*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    // The whole stream, wherever the source stands; its position stays.
    PackedData->Clear();
    const Int64 size = other->PackedData->GetSize();
    if (size > 0)
        PackedData->WriteBuffer(other->PackedData->Memory(), size);
    PackedData->SetPosition(0);
    MasterBitmap->Assign(other->MasterBitmap.get());
    Name = other->Name;
    Author = other->Author;
    Version = other->Version;
    BorderColor = other->BorderColor;
    Description = other->Description;
    Shadow1Color = other->Shadow1Color;
    Shadow1Offset = other->Shadow1Offset;
    Shadow1Blur = other->Shadow1Blur;
    Shadow1Transparency = other->Shadow1Transparency;
}

void TsStoredSkin::WriteData(TWriter& Writer)
{
    Writer.WritePropName(L"Name");
    Writer.WriteString(Name);
    Writer.WritePropName(L"Shadow1Color");
    Writer.WriteInteger(Shadow1Color);
    Writer.WritePropName(L"Shadow1Offset");
    Writer.WriteInteger(Shadow1Offset);
    Writer.WritePropName(L"Shadow1Blur");
    Writer.WriteInteger(Shadow1Blur);
    Writer.WritePropName(L"Shadow1Transparency");
    Writer.WriteInteger(Shadow1Transparency);
    Writer.WritePropName(L"BorderColor");
    Writer.WriteInteger(BorderColor);
    Writer.WritePropName(L"Version");
    Writer.WriteFloat(Version);
    Writer.WritePropName(L"Author");
    Writer.WriteString(Author);
    Writer.WritePropName(L"Description");
    Writer.WriteString(Description);
    Writer.WritePropName(L"Data");
    Writer.WriteBinary(PackedData->Memory(), PackedData->GetSize());
    Writer.WritePropName(L"OriginName");
    Writer.WriteString(OrigName);
}

bool TsStoredSkin::ReadProperty(TReader& Reader, const String& Name_)
{
    if (Name_ == L"Name")
        Name = Reader.ReadString();
    else if (Name_ == L"Shadow1Color")
        Shadow1Color = Reader.ReadInteger();
    else if (Name_ == L"Shadow1Offset")
        Shadow1Offset = Reader.ReadInteger();
    else if (Name_ == L"Shadow1Blur")
        Shadow1Blur = Reader.ReadInteger();
    else if (Name_ == L"Shadow1Transparency")
        Shadow1Transparency = Reader.ReadInteger();
    else if (Name_ == L"BorderColor")
        BorderColor = Reader.ReadInteger();
    else if (Name_ == L"Version")
        Version = Reader.ReadFloat();
    else if (Name_ == L"Author")
        Author = Reader.ReadString();
    else if (Name_ == L"Description")
        Description = Reader.ReadString();
    else if (Name_ == L"Data") {
        const std::vector<Byte> bytes = Reader.ReadBinary();
        PackedData->Clear();
        if (!bytes.empty())
            PackedData->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
        PackedData->SetPosition(0);
    } else if (Name_ == L"OriginName")
        OrigName = Reader.ReadString();
    else
        return false;
    return true;
}

TsStoredSkins::TsStoredSkins(TsSkinManager* Owner)
    : TCollection(TCollection::ItemClass<TsStoredSkin>(), Owner), FManager(Owner)
{
}

int TsStoredSkins::IndexOf(const String& SkinName) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Name == SkinName)
            return i;
    return -1;
}

void TsStoredSkins::Assign(TPersistent*) {}

void TsStoredSkins::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (FManager && FManager->OnSkinListChanged)
        FManager->OnSkinListChanged(FManager);
}

void TsStoredSkins::WriteCollection(TWriter& Writer)
{
    WriteCollectionValue(Writer, Count(), [&](int i) { Items(i)->WriteData(Writer); });
}

void TsStoredSkins::ReadCollection(TReader& Reader)
{
    ReadCollectionValue(Reader, *this, [this] { return AddSkin(); });
}
