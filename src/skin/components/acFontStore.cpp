#include "acFontStore.h"
#include "ScopeExit.h"
#include <iterator>

const wchar_t* const acBuiltInIconFontName = L"FontAwesome";

namespace {

// Receives AddFontMemResourceEx's count of installed faces.
DWORD fontCount = 0;

Cardinal BigEndian32(const Byte* p)
{
    return (Cardinal(p[0]) << 24) | (Cardinal(p[1]) << 16) | (Cardinal(p[2]) << 8) | Cardinal(p[3]);
}

Word BigEndian16(const Byte* p)
{
    return static_cast<Word>((p[0] << 8) | p[1]);
}

constexpr Cardinal Tag(const char (&name)[5])
{
    return (Cardinal(Byte(name[0])) << 24) | (Cardinal(Byte(name[1])) << 16) | (Cardinal(Byte(name[2])) << 8) |
           Cardinal(Byte(name[3]));
}

constexpr Cardinal RequiredTables[] = {Tag("cmap"), Tag("head"), Tag("hhea"), Tag("hmtx"), Tag("maxp"), Tag("name")};
constexpr Cardinal HeadMagic = 0x5F0F3CF5;

// One font's table directory at At: a known version, at least one table, every
// record and table inside the data, the tables every face needs present.
bool IsWellFormedFace(const Byte* data, Int64 size, Int64 at)
{
    if (at < 0 || at + 12 > size)
        return false;
    const Cardinal version = BigEndian32(data + at);
    if (version != 0x00010000 && version != Tag("OTTO") && version != Tag("true"))
        return false;
    const Int64 tables = BigEndian16(data + at + 4);
    const Int64 directoryEnd = at + 12 + 16 * tables;
    if (tables == 0 || directoryEnd > size)
        return false;
    unsigned found = 0;
    for (Int64 i = 0; i < tables; ++i) {
        const Byte* record = data + at + 12 + 16 * i;
        const Cardinal tag = BigEndian32(record);
        const Int64 offset = BigEndian32(record + 8);
        const Int64 length = BigEndian32(record + 12);
        if (offset < 12 || offset + length > size)
            return false;
        if (tag == Tag("head") && (length < 54 || BigEndian32(data + offset + 12) != HeadMagic))
            return false;
        for (std::size_t r = 0; r < std::size(RequiredTables); ++r)
            if (tag == RequiredTables[r])
                found |= 1u << r;
    }
    return found == (1u << std::size(RequiredTables)) - 1;
}

} // namespace

bool acIsWellFormedFont(const void* Data, Int64 Size)
{
    const auto* data = static_cast<const Byte*>(Data);
    // AddFontMemResourceEx takes a 32-bit size.
    if (!data || Size < 12 || Size > Int64(MAXDWORD))
        return false;
    if (BigEndian32(data) != Tag("ttcf"))
        return IsWellFormedFace(data, Size, 0);
    const Int64 faces = BigEndian32(data + 8);
    if (faces == 0 || 12 + 4 * faces > Size)
        return false;
    for (Int64 i = 0; i < faces; ++i)
        if (!IsWellFormedFace(data, Size, BigEndian32(data + 12 + 4 * i)))
            return false;
    return true;
}

// ---------------------------------------------------------------------------
TacEmbeddedFont::TacEmbeddedFont(TCollection* Collection) : TCollectionItem(Collection) {}

TacEmbeddedFontsKind TacEmbeddedFont::Kind() const
{
    const auto* fonts = dynamic_cast<const TacEmbeddedFonts*>(GetCollection());
    return fonts ? fonts->Kind() : efkSkinManager;
}

void TacEmbeddedFont::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TacEmbeddedFont*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    if (source == this)
        return;
    FFileName = source->FFileName;
    FFontName = source->FFontName;
    // The skin manager's fonts keep their data when the source has none.
    if (Kind() == efkCharImageList || source->FontData->GetSize() != 0) {
        // The data is replaced whole: writing at the current position would
        // leave the tail of a longer old file behind the new one.
        FontData->Clear();
        if (source->FontData->GetSize() != 0)
            FontData->WriteBuffer(source->FontData->Memory(), source->FontData->GetSize());
        FontData->SetPosition(0);
    }
}

void TacEmbeddedFont::AssignTo(TPersistent* Dest)
{
    if (auto* dest = dynamic_cast<TacEmbeddedFont*>(Dest))
        dest->Assign(this);
    else
        TCollectionItem::AssignTo(Dest);
}

void TacEmbeddedFont::LoadFont()
{
    Handle = nullptr;
    const Int64 size = FontData->GetSize();
    // A malformed file is refused here rather than handed to the font
    // rasterizer, which reads the table directory as it stands.
    if (size == 0 || !acIsWellFormedFont(FontData->Memory(), size))
        return;
    fontCount = 1;
    Handle = AddFontMemResourceEx(FontData->Memory(), static_cast<DWORD>(size), nullptr, &fontCount);
}

void TacEmbeddedFont::UnLoadFont()
{
    if (Handle || Kind() == efkSkinManager)
        RemoveFontMemResourceEx(Handle);
    Handle = nullptr;
}

void TacEmbeddedFont::WriteProperties(TWriter& Writer) const
{
    Writer.WritePropName(L"FileName");
    Writer.WriteString(FFileName);
    Writer.WritePropName(L"FontName");
    Writer.WriteString(FFontName);
    Writer.WritePropName(L"FontData");
    Writer.WriteBinary(FontData->Memory(), FontData->GetSize());
}

bool TacEmbeddedFont::ReadProperty(TReader& Reader, const String& Name)
{
    if (Name == L"FileName")
        FFileName = Reader.ReadString();
    else if (Name == L"FontName")
        FFontName = Reader.ReadString();
    else if (Name == L"FontData") {
        // Read whole before the item's data changes.
        const std::vector<Byte> bytes = Reader.ReadBinary();
        FontData->Clear();
        if (!bytes.empty())
            FontData->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
        FontData->SetPosition(0);
    } else
        return false;
    return true;
}

// ---------------------------------------------------------------------------
TacEmbeddedFonts::TacEmbeddedFonts(TPersistent* AOwner, TacEmbeddedFontsKind AKind)
    : TCollection(ItemClass<TacEmbeddedFont>(), AOwner), FOwner(AOwner), FKind(AKind)
{
}

TPersistent* TacEmbeddedFonts::GetOwner() const
{
    return FKind == efkCharImageList ? FOwner : nullptr;
}

void TacEmbeddedFonts::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TacEmbeddedFonts*>(Source);
    if (!source || source == this) {
        TCollection::Assign(Source);
        return;
    }
    BeginUpdate();
    const TScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    // A char image list's fonts always start with the built-in icon font,
    // which start-up installs and which therefore carries no data.
    if (FKind == efkCharImageList && (source->Count() == 0 || source->Items(0)->FontData->GetSize() != 0))
        Add()->SetFontName(acBuiltInIconFontName);
    for (int i = 0; i < source->Count(); ++i)
        Add()->Assign(source->Items(i));
}

void TacEmbeddedFonts::WriteItems(TWriter& Writer) const
{
    WriteCollectionValue(Writer, Count(), [&](int i) { Items(i)->WriteProperties(Writer); });
}

void TacEmbeddedFonts::ReadItems(TReader& Reader)
{
    ReadCollectionValue(Reader, *this, [this] { return Add(); });
}

// ---------------------------------------------------------------------------
namespace {

HANDLE iconFont = nullptr;

} // namespace

void acFontStore_Initialize()
{
    if (iconFont)
        return;
    // Resource names match without regard to case.
    TOwned<TResourceStream> stream(New<TResourceStream>(HInstance(), L"awFont", RT_RCDATA));
    fontCount = 1;
    iconFont = AddFontMemResourceEx(stream->Memory(), static_cast<DWORD>(stream->GetSize()), nullptr, &fontCount);
}

void acFontStore_Finalize()
{
    if (iconFont)
        RemoveFontMemResourceEx(iconFont);
    iconFont = nullptr;
}

HANDLE acIconFontHandle()
{
    return iconFont;
}
