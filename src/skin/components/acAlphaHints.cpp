// Hint templates, the "AShh" template stream and the default template.
#include "acAlphaHints.h"
#include "Dialogs.h"
#include "Forms.h"
#include "SysUtils.h"
#include "acMessageBox.h"
#include <cstring>

TacHintTemplate* DefaultHintTemplate = nullptr;

namespace {

// A change reported while another is being reported is not reported again.
bool ReportingChange = false;

constexpr char Magic[4] = {'A', 'S', 'h', 'h'};

[[noreturn]] void Corrupt()
{
    throw EReadError(L"Invalid stream format");
}

// Reads the stream's bytes; every count is checked against what is left
// before anything is taken or allocated.
class TTemplateReader {
public:
    explicit TTemplateReader(std::vector<Byte> Bytes) : bytes_(std::move(Bytes)) {}
    Int64 Left() const { return static_cast<Int64>(bytes_.size()) - pos_; }
    bool AtEnd() const { return Left() <= 0; }
    const Byte* Take(Int64 Count)
    {
        if (Count < 0 || Count > Left())
            throw EReadError(L"Stream read error");
        const Byte* at = bytes_.data() + pos_;
        pos_ += static_cast<std::size_t>(Count);
        return at;
    }
    Byte ReadByte() { return *Take(1); }
    Integer ReadInt()
    {
        Integer v = 0;
        std::memcpy(&v, Take(4), 4);
        return v;
    }
    // A size of the picture record: negative reads as 0, past the bound is corrupt.
    Integer ReadSize()
    {
        const Integer v = ReadInt();
        if (v > MaxHintImageSize)
            Corrupt();
        return v < 0 ? 0 : v;
    }

private:
    std::vector<Byte> bytes_;
    std::size_t pos_ = 0;
};

// Top, Left, Right, Bottom: the order of every size set in the stream.
void ReadSizes(TTemplateReader& Reader, TacBordersSizes* Sizes)
{
    const Integer top = Reader.ReadSize();
    const Integer left = Reader.ReadSize();
    const Integer right = Reader.ReadSize();
    const Integer bottom = Reader.ReadSize();
    Sizes->SetValues(left, top, right, bottom);
}

void WriteInt(TStream* Stream, Integer Value)
{
    Stream->WriteBuffer(&Value, 4);
}

void WriteSizes(TStream* Stream, const TacBordersSizes* Sizes)
{
    WriteInt(Stream, Sizes->GetTop());
    WriteInt(Stream, Sizes->GetLeft());
    WriteInt(Stream, Sizes->GetRight());
    WriteInt(Stream, Sizes->GetBottom());
}

TacBorderDrawMode ReadMode(TTemplateReader& Reader)
{
    const Byte b = Reader.ReadByte();
    if (b > 1)
        Corrupt();
    return static_cast<TacBorderDrawMode>(b);
}

void ReadPictureRecord(TTemplateReader& Reader, TacHintImage* Image)
{
    TacBorderDrawModes* modes = Image->GetBorderDrawModes();
    modes->SetTop(ReadMode(Reader));
    modes->SetLeft(ReadMode(Reader));
    modes->SetRight(ReadMode(Reader));
    modes->SetBottom(ReadMode(Reader));
    modes->SetCenter(ReadMode(Reader));
    ReadSizes(Reader, Image->GetBordersWidths());
    ReadSizes(Reader, Image->GetClientMargins());
    ReadSizes(Reader, Image->GetShadowSizes());
    const Byte kind = Reader.ReadByte();
    if (kind != '0' && kind != '1')
        Corrupt();
    const Integer m = Reader.ReadInt();
    if (m < 0 || m > Reader.Left())
        Corrupt();
    const Byte* bytes = Reader.Take(m);
    TOwned<TMemoryStream> data(New<TMemoryStream>());
    if (m > 0)
        data->WriteBuffer(bytes, m);
    data->SetPosition(0);
    try {
        if (kind == '0') {
            TOwned<TBitmap> bmp(New<TBitmap>());
            bmp->LoadFromStream(data.get());
            Image->GetImage()->Assign(bmp.get());
            Image->GetImageData()->Clear();
        } else {
            Image->GetImageData()->Clear();
            if (m > 0) {
                Image->GetImageData()->LoadFromStream(data.get());
                Image->GetImageData()->SetPosition(0);
                Image->GetImage()->LoadFromStream(Image->GetImageData());
                Image->GetImageData()->SetPosition(0);
            } else {
                Image->GetImage()->Assign(nullptr);
            }
        }
    } catch (const EReadError&) {
        throw;
    } catch (const Exception&) {
        // A picture that its reader refuses makes the stream corrupt.
        Corrupt();
    }
}

void WritePictureRecord(TStream* Stream, TacHintImage* Image)
{
    const TacBorderDrawModes* modes = Image->GetBorderDrawModes();
    const Byte modeBytes[5] = {static_cast<Byte>(modes->GetTop()), static_cast<Byte>(modes->GetLeft()),
                               static_cast<Byte>(modes->GetRight()), static_cast<Byte>(modes->GetBottom()),
                               static_cast<Byte>(modes->GetCenter())};
    Stream->WriteBuffer(modeBytes, 5);
    WriteSizes(Stream, Image->GetBordersWidths());
    WriteSizes(Stream, Image->GetClientMargins());
    WriteSizes(Stream, Image->GetShadowSizes());
    TOwned<TMemoryStream> bytes(New<TMemoryStream>());
    Byte kind = '1';
    if (Image->GetImageData()->GetSize() > 0) {
        bytes->CopyFrom(Image->GetImageData(), 0);
    } else {
        kind = '0';
        TOwned<TBitmap> bmp(New<TBitmap>());
        bmp->Assign(Image->GetImage());
        bmp->SaveToStream(bytes.get());
    }
    Stream->WriteBuffer(&kind, 1);
    WriteInt(Stream, static_cast<Integer>(bytes->GetSize()));
    if (bytes->GetSize() > 0)
        Stream->WriteBuffer(bytes->Memory(), bytes->GetSize());
}

// The name in the system ANSI code page, cut at a character boundary so
// that it takes at most MaxHintFontNameBytes bytes.
std::string AnsiFontName(const String& Name)
{
    String name = Name;
    for (;;) {
        const int n = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), nullptr, 0,
                                          nullptr, nullptr);
        if (n <= MaxHintFontNameBytes) {
            std::string bytes(static_cast<std::size_t>(n), '\0');
            if (n > 0)
                WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), bytes.data(), n,
                                    nullptr, nullptr);
            return bytes;
        }
        name.pop_back();
        if (!name.empty() && IS_HIGH_SURROGATE(name.back()))
            name.pop_back();
    }
}

} // namespace

// ---------------------------------------------------------------------------
void TacBordersSizes::SetField(Integer& Field, Integer Value)
{
    if (Field == Value)
        return;
    Field = Value;
    if (FOwner && !ReportingChange) {
        ReportingChange = true;
        try {
            FOwner->Changed();
        } catch (...) {
            ReportingChange = false;
            throw;
        }
        ReportingChange = false;
    }
}

void TacBordersSizes::SetValues(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
{
    SetLeft(ALeft);
    SetTop(ATop);
    SetRight(ARight);
    SetBottom(ABottom);
}

void TacBordersSizes::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<TacBordersSizes*>(Dest);
    if (!dest)
        return TPersistent::AssignTo(Dest);
    dest->SetValues(FLeft, FTop, FRight, FBottom);
}

void TacBorderDrawModes::SetField(TacBorderDrawMode& Field, TacBorderDrawMode Value)
{
    Field = Value;
    if (FOwner)
        FOwner->Changed();
}

void TacBorderDrawModes::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<TacBorderDrawModes*>(Dest);
    if (!dest)
        return TPersistent::AssignTo(Dest);
    dest->SetTop(FTop);
    dest->SetLeft(FLeft);
    dest->SetRight(FRight);
    dest->SetCenter(FCenter);
    dest->SetBottom(FBottom);
}

// ---------------------------------------------------------------------------
TacHintImage::TacHintImage(TacHintTemplate* AOwner)
    : FShadowSizes(New<TacBordersSizes>(this)),
      FClientMargins(New<TacBordersSizes>(this)),
      FBordersWidths(New<TacBordersSizes>(this)),
      FBorderDrawModes(New<TacBorderDrawModes>(this)),
      FOwner(AOwner),
      FImage(New<TPNGGraphic>()),
      FImageData(New<TMemoryStream>())
{
}

TacHintImage::~TacHintImage() = default;

acAlphaHints::TsAlphaHints* TacHintImage::Component() const
{
    return FOwner ? FOwner->Component() : nullptr;
}

void TacHintImage::Changed()
{
    if (auto* hints = Component())
        hints->Changed();
}

void TacHintImage::SetOffsetHorz(Integer Value)
{
    FOffsetHorz = Value;
    Changed();
}

void TacHintImage::SetOffsetVert(Integer Value)
{
    FOffsetVert = Value;
    Changed();
}

void TacHintImage::SetImage(TBitmap* Value)
{
    FImage->Assign(Value);
    ImageChanged();
    Changed();
}

void TacHintImage::ImageChanged()
{
    const Integer w = GetImageWidth(), h = GetImageHeight();
    const Integer horz = (w - 1) / 2, vert = (h - 1) / 2;
    FBordersWidths->SetValues(horz, vert, horz, vert);
    FClientMargins->SetValues(horz, vert, horz, vert);
}

void TacHintImage::StreamChanged()
{
    if (FImageData->GetSize() > 0) {
        TOwned<TPNGGraphic> png(New<TPNGGraphic>());
        FImageData->SetPosition(0);
        png->LoadFromStream(FImageData.get());
        FImage->Assign(png.get());
    }
    Changed();
}

void TacHintImage::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<TacHintImage*>(Dest);
    if (!dest)
        return TPersistent::AssignTo(Dest);
    dest->FImage->Assign(FImage.get());
    dest->FImageData->Clear();
    if (FImageData->GetSize() > 0) {
        dest->FImageData->CopyFrom(FImageData.get(), 0);
        dest->FImageData->SetPosition(0);
    }
    dest->SetOffsetHorz(FOffsetHorz);
    dest->SetOffsetVert(FOffsetVert);
    dest->FClientMargins->Assign(FClientMargins.get());
    dest->FBorderDrawModes->Assign(FBorderDrawModes.get());
    dest->FBordersWidths->Assign(FBordersWidths.get());
    dest->FShadowSizes->Assign(FShadowSizes.get());
}

// ---------------------------------------------------------------------------
TacHintTemplate::TacHintTemplate(TCollection* Collection)
    : TCollectionItem(Collection),
      FImageDefault(New<TacHintImage>(this)),
      FImageRightTop(New<TacHintImage>(this)),
      FImageLeftBottom(New<TacHintImage>(this)),
      FImageRightBottom(New<TacHintImage>(this)),
      FFont(New<TFont>())
{
}

TacHintTemplate::~TacHintTemplate() = default;

acAlphaHints::TsAlphaHints* TacHintTemplate::Component() const
{
    auto* templates = dynamic_cast<TacHintTemplates*>(GetCollection());
    return templates ? templates->Hints() : nullptr;
}

TacHintImage* TacHintTemplate::ImageFor(TacMousePosition Position) const
{
    switch (Position) {
    case mpLeftBottom:
        return FImageLeftBottom.get();
    case mpRightTop:
        return FImageRightTop.get();
    case mpRightBottom:
        return FImageRightBottom.get();
    default:
        return FImageDefault.get();
    }
}

void TacHintTemplate::SetFont(TFont* Value)
{
    FFont->Assign(Value);
    if (auto* hints = Component())
        hints->Changed();
}

void TacHintTemplate::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<TacHintTemplate*>(Dest);
    if (!dest)
        return TCollectionItem::AssignTo(Dest);
    dest->FImageDefault->Assign(FImageDefault.get());
    dest->FImageLeftBottom->Assign(FImageLeftBottom.get());
    dest->FImageRightBottom->Assign(FImageRightBottom.get());
    dest->FImageRightTop->Assign(FImageRightTop.get());
    dest->FHintAlign = FHintAlign;
    dest->FFont->Assign(FFont.get());
    dest->FName = FName;
}

// ---------------------------------------------------------------------------
TacHintTemplates::TacHintTemplates(acAlphaHints::TsAlphaHints* AOwner)
    : TCollection(TCollection::ItemClass<TacHintTemplate>(), AOwner), FOwner(AOwner)
{
}

void TacHintTemplates::AssignTo(TPersistent* Dest)
{
    auto* dest = dynamic_cast<TacHintTemplates*>(Dest);
    if (!dest)
        return TCollection::AssignTo(Dest);
    dest->Clear();
    for (int i = 0; i < Count(); ++i)
        dest->Add()->Assign(Items(i));
}

// ---------------------------------------------------------------------------
void WriteHintTemplate(TacHintTemplate* Template, TStream* Stream)
{
    if (!Template)
        return;
    Stream->WriteBuffer(Magic, 4);
    const Byte version = '1';
    Stream->WriteBuffer(&version, 1);
    TFont* font = Template->GetFont();
    WriteInt(Stream, font->GetColor() < 0 ? 0 : font->GetColor());
    WriteInt(Stream, font->GetSize());
    const TFontStyles styles = font->GetStyle();
    const Byte style = (styles.Contains(fsBold) ? 1 : 0) | (styles.Contains(fsItalic) ? 2 : 0) |
                       (styles.Contains(fsUnderline) ? 4 : 0) | (styles.Contains(fsStrikeOut) ? 8 : 0);
    Stream->WriteBuffer(&style, 1);
    const std::string name = AnsiFontName(font->GetName());
    WriteInt(Stream, static_cast<Integer>(name.size()));
    if (!name.empty())
        Stream->WriteBuffer(name.data(), static_cast<Int64>(name.size()));
    WritePictureRecord(Stream, Template->GetImageDefault());
    if (!Template->SingleImageUsed()) {
        WritePictureRecord(Stream, Template->GetImg_RightTop());
        WritePictureRecord(Stream, Template->GetImg_RightBottom());
        WritePictureRecord(Stream, Template->GetImg_LeftBottom());
    }
}

bool ReadHintTemplate(TStream* Stream, TacHintTemplate* Template)
{
    Stream->SetPosition(0);
    const Int64 size = Stream->GetSize();
    if (size < 4)
        return false;
    std::vector<Byte> bytes(static_cast<std::size_t>(size));
    Stream->ReadBuffer(bytes.data(), size);
    if (std::memcmp(bytes.data(), Magic, 4) != 0)
        return false;
    TTemplateReader reader(std::move(bytes));
    reader.Take(4);
    const Byte version = reader.ReadByte();
    if (version != '0' && version != '1')
        Corrupt();
    TFont* font = Template->GetFont();
    const Integer colour = reader.ReadInt();
    const Integer points = reader.ReadInt();
    if (points > MaxHintImageSize || points < -MaxHintImageSize)
        Corrupt();
    const Byte style = reader.ReadByte();
    const Integer nameLength = reader.ReadInt();
    if (nameLength < 0 || nameLength > MaxHintFontNameBytes || nameLength > reader.Left())
        Corrupt();
    const Byte* nameBytes = reader.Take(nameLength);
    String name;
    if (nameLength > 0) {
        const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(nameBytes), nameLength, nullptr, 0);
        name.resize(static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(nameBytes), nameLength, name.data(), n);
    }
    font->SetColor(colour < 0 ? 0 : colour);
    font->SetSize(points);
    TFontStyles styles;
    if (style & 1)
        styles.Include(fsBold);
    if (style & 2)
        styles.Include(fsItalic);
    if (style & 4)
        styles.Include(fsUnderline);
    if (style & 8)
        styles.Include(fsStrikeOut);
    font->SetStyle(styles);
    if (!name.empty())
        font->SetName(name);
    ReadPictureRecord(reader, Template->GetImageDefault());
    if (version == '1' && !reader.AtEnd()) {
        ReadPictureRecord(reader, Template->GetImg_RightTop());
        ReadPictureRecord(reader, Template->GetImg_RightBottom());
        ReadPictureRecord(reader, Template->GetImg_LeftBottom());
    }
    return true;
}

// ---------------------------------------------------------------------------
namespace acAlphaHints {

TsAlphaHints::TsAlphaHints(TComponent* AOwner)
    : ::TsAlphaHints(AOwner), FTemplates(New<TacHintTemplates>(this))
{
}

TsAlphaHints::~TsAlphaHints() = default;

void TsAlphaHints::ShowHint(const TPoint&, const String&, int)
{
    // The component shows hints only as the application's hint provider,
    // which it does not become without its hint windows.
}

void TsAlphaHints::SetTemplateName(const String& Value)
{
    FTemplateName = Value;
    FTemplateIndex = -1;
    for (int i = 0; i < FTemplates->Count(); ++i)
        if (SameText(FTemplates->Items(i)->GetName(), Value)) {
            FTemplateIndex = i;
            break;
        }
}

TacHintTemplate* TsAlphaHints::CurrentTemplate() const
{
    if (FTemplateIndex >= 0 && FTemplateIndex < FTemplates->Count())
        return FTemplates->Items(FTemplateIndex);
    return DefaultHintTemplate;
}

void TsAlphaHints::Changed()
{
    if (OnChange && !ComponentState().Contains(csLoading))
        OnChange(this);
}

void TsAlphaHints::SaveToStream(TMemoryStream* AStream)
{
    TacHintTemplate* source = CurrentTemplate();
    if (!source)
        return;
    AStream->SetSize(0);
    WriteHintTemplate(source, AStream);
}

TacHintTemplate* TsAlphaHints::LoadFromStream(TStream* AStream)
{
    TOwned<TacHintTemplate> detached(New<TacHintTemplate>(nullptr));
    if (!ReadHintTemplate(AStream, detached.get())) {
        ShowMessageBox(L"Unknown file format", mtError, TMsgDlgButtons{mbOK}, 0);
        return nullptr;
    }
    // Only a whole, good stream reaches the collection.
    TacHintTemplate* added = FTemplates->Add();
    try {
        added->Assign(detached.get());
    } catch (...) {
        FTemplates->Delete(added->GetIndex());
        throw;
    }
    return added;
}

void TsAlphaHints::SaveToFile(const String& FileName)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    SaveToStream(stream.get());
    const String temporary = FileName + L".tmp" + IntToStr(static_cast<Integer>(GetCurrentProcessId()));
    try {
        stream->SaveToFile(temporary);
    } catch (...) {
        DeleteFileW(temporary.c_str());
        throw;
    }
    if (!MoveFileExW(temporary.c_str(), FileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        throw EFCreateError(L"Cannot create file \"" + FileName + L"\". " + SysErrorMessage(error));
    }
}

TacHintTemplate* TsAlphaHints::LoadFromFile(const String& FileName)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->LoadFromFile(FileName);
    TacHintTemplate* loaded = LoadFromStream(stream.get());
    if (loaded) {
        String name = ExtractFileName(FileName);
        const auto dot = name.find(L'.');
        if (dot != String::npos)
            name.erase(dot);
        loaded->SetName(name);
    }
    return loaded;
}

} // namespace acAlphaHints

// ---------------------------------------------------------------------------
void acAlphaHints_Initialize()
{
    if (DefaultHintTemplate)
        return;
    TOwned<TacHintTemplate> created(New<TacHintTemplate>(nullptr));
    TOwned<TResourceStream> resource(New<TResourceStream>(HInstance(), L"ACHINT", RT_RCDATA));
    TOwned<TPNGGraphic> png(New<TPNGGraphic>());
    png->LoadFromStream(resource.get());
    TacHintImage* image = created->GetImageDefault();
    image->SetImage(png.get());
    image->GetBordersWidths()->SetValues(11, 10, 14, 15);
    image->GetShadowSizes()->SetValues(6, 5, 7, 8);
    image->GetClientMargins()->SetValues(11, 8, 16, 15);
    DefaultHintTemplate = created.release();
}

void acAlphaHints_Finalize()
{
    TOwned<TacHintTemplate> freed(DefaultHintTemplate);
    DefaultHintTemplate = nullptr;
}
