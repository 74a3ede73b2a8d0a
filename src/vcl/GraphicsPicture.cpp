// TPicture and the registry of picture file and clipboard formats.
#include "Graphics.h"
#include "TypInfo.h"
#include <algorithm>
#include <cstring>

namespace {

struct TFileFormat {
    String Extension; // lower case, without the dot
    String Description;
    TGraphicClass GraphicClass;
};

struct TClipboardFormat {
    Word Format;
    TGraphicClass GraphicClass;
};

// The registries the class library keeps; later entries win.
std::vector<TFileFormat>& FileFormats()
{
    static std::vector<TFileFormat> formats;
    return formats;
}

std::vector<TClipboardFormat>& ClipboardFormats()
{
    static std::vector<TClipboardFormat> formats;
    return formats;
}

String NormalExtension(const String& extension)
{
    return LowerCase(!extension.empty() && extension[0] == L'.' ? extension.substr(1) : extension);
}

// The extension whose files start like Header, or empty.
String ExtensionBySignature(const Byte* header, size_t size)
{
    auto startsWith = [&](std::initializer_list<Byte> sig, size_t at = 0) {
        return size >= at + sig.size() && std::equal(sig.begin(), sig.end(), header + at);
    };
    if (startsWith({'B', 'M'}))
        return L"bmp";
    if (startsWith({0, 0, 1, 0}))
        return L"ico";
    if (startsWith({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return L"png";
    if (startsWith({0xFF, 0xD8, 0xFF}))
        return L"jpg";
    if (startsWith({'G', 'I', 'F', '8'}))
        return L"gif";
    if (startsWith({'I', 'I', 0x2A, 0}) || startsWith({'M', 'M', 0, 0x2A}))
        return L"tif";
    if (startsWith({0xD7, 0xCD, 0xC6, 0x9A}) || startsWith({1, 0, 9, 0, 0, 3}))
        return L"wmf";
    if (startsWith({1, 0, 0, 0}) && startsWith({' ', 'E', 'M', 'F'}, 40))
        return L"emf";
    return {};
}

bool InheritsFromClass(TGraphicClass cls, TGraphicClass base)
{
    if (!base || cls == base)
        return true;
    TOwned<TGraphic> probe(cls->Create());
    return probe->InheritsFrom(base->ClassName);
}

// The registered extensions a filter lists: each once, with the description
// of the class that wins it.
std::vector<const TFileFormat*> FilterFormats(TGraphicClass base)
{
    std::vector<const TFileFormat*> result;
    for (const auto& format : FileFormats()) {
        const TFileFormat* winner = nullptr;
        for (const auto& other : FileFormats())
            if (other.Extension == format.Extension)
                winner = &other;
        bool listed = std::any_of(result.begin(), result.end(),
                                  [&](const TFileFormat* f) { return f->Extension == format.Extension; });
        if (!listed && InheritsFromClass(winner->GraphicClass, base))
            result.push_back(winner);
    }
    return result;
}

} // namespace

// ---------------------------------------------------------------------------
void TPicture::RegisterFileFormat(const String& AExtension, const String& ADescription,
                                  TGraphicClass AGraphicClass)
{
    if (!AGraphicClass || NormalExtension(AExtension).empty())
        throw EInvalidGraphic(L"Invalid picture file format registration");
    FileFormats().push_back({NormalExtension(AExtension), ADescription, AGraphicClass});
}

void TPicture::RegisterClipboardFormat(Word AFormat, TGraphicClass AGraphicClass)
{
    if (!AGraphicClass)
        throw EInvalidGraphic(L"Invalid picture clipboard format registration");
    ClipboardFormats().push_back({AFormat, AGraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass AClass)
{
    auto& files = FileFormats();
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const TFileFormat& f) { return f.GraphicClass == AClass; }),
                files.end());
    auto& clips = ClipboardFormats();
    clips.erase(std::remove_if(clips.begin(), clips.end(),
                               [&](const TClipboardFormat& f) { return f.GraphicClass == AClass; }),
                clips.end());
}

TGraphicClass TPicture::FileFormatClass(const String& AExtension)
{
    String ext = NormalExtension(AExtension);
    const auto& formats = FileFormats();
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (it->Extension == ext)
            return it->GraphicClass;
    return nullptr;
}

bool TPicture::SupportsClipboardFormat(Word AFormat)
{
    const auto& formats = ClipboardFormats();
    return std::any_of(formats.begin(), formats.end(), [&](const TClipboardFormat& f) { return f.Format == AFormat; });
}

String GraphicFilter(TGraphicClass GraphicClass)
{
    String all, each;
    for (const TFileFormat* format : FilterFormats(GraphicClass)) {
        String mask = L"*." + format->Extension;
        all += (all.empty() ? L"" : L";") + mask;
        each += L"|" + format->Description + L" (" + mask + L")|" + mask;
    }
    if (all.empty())
        return {};
    return L"All (" + all + L")|" + all + each;
}

String GraphicExtension(TGraphicClass GraphicClass)
{
    for (const auto& format : FileFormats())
        if (format.GraphicClass == GraphicClass)
            return format.Extension;
    return {};
}

String GraphicFileMask(TGraphicClass GraphicClass)
{
    String mask;
    for (const TFileFormat* format : FilterFormats(GraphicClass))
        mask += (mask.empty() ? L"*." : L";*.") + format->Extension;
    return mask;
}

// ---------------------------------------------------------------------------
TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*)
{
    FireEvent(OnChange, this);
}

TProgressEvent TPicture::ForwardProgress()
{
    return [this](TObject* sender, TProgressStage stage, Byte percent, bool redraw, const TRect& r,
                  const String& msg) {
        if (OnProgress)
            OnProgress(sender, stage, percent, redraw, r, msg);
    };
}

void TPicture::TakeGraphic(TGraphic* graphic)
{
    TOwned<TGraphic> taken(graphic);
    if (taken) {
        taken->OnChange = [this](TObject* sender) { Changed(sender); };
        taken->OnProgress = ForwardProgress();
    }
    graphic_ = std::move(taken);
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value)
{
    if (Value == graphic_.get())
        return;
    if (!Value) {
        TakeGraphic(nullptr);
        return;
    }
    TGraphicClass cls = GraphicClassOf(Value);
    if (!cls)
        throw EInvalidGraphic(L"Unknown picture class " + Value->ClassName());
    TOwned<TGraphic> copy(cls->Create());
    copy->Assign(Value);
    TakeGraphic(copy.release());
}

TBitmap* TPicture::GetBitmap()
{
    auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get());
    if (!bitmap) {
        bitmap = New<TBitmap>();
        TakeGraphic(bitmap);
    }
    return bitmap;
}

TIcon* TPicture::GetIcon()
{
    auto* icon = dynamic_cast<TIcon*>(graphic_.get());
    if (!icon) {
        icon = New<TIcon>();
        TakeGraphic(icon);
    }
    return icon;
}

void TPicture::Assign(TPersistent* Source)
{
    if (!Source)
        SetGraphic(nullptr);
    else if (auto* picture = dynamic_cast<TPicture*>(Source))
        SetGraphic(picture->graphic_.get());
    else if (auto* graphic = dynamic_cast<TGraphic*>(Source))
        SetGraphic(graphic);
    else
        TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest)
{
    if (auto* graphic = dynamic_cast<TGraphic*>(Dest))
        graphic->Assign(graphic_.get());
    else
        TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const String& FileName)
{
    String ext = NormalExtension(ExtractFileExt(FileName));
    TGraphicClass cls = FileFormatClass(ext);
    if (!cls)
        throw EInvalidGraphic(L"Unknown picture file extension (." + ext + L")");
    // The old picture stays when the new one cannot be read.
    TOwned<TGraphic> graphic(cls->Create());
    graphic->OnProgress = ForwardProgress();
    graphic->LoadFromFile(FileName);
    TakeGraphic(graphic.release());
}

void TPicture::SaveToFile(const String& FileName)
{
    if (graphic_)
        graphic_->SaveToFile(FileName);
}

void TPicture::LoadFromStream(TStream* Stream)
{
    Byte header[48] = {};
    Int64 start = Stream->GetPosition();
    int read = Stream->Read(header, sizeof(header));
    Stream->SetPosition(start);
    String ext = ExtensionBySignature(header, static_cast<size_t>(std::max(read, 0)));
    TGraphicClass cls = ext.empty() ? nullptr : FileFormatClass(ext);
    if (!cls && ext == L"jpg")
        cls = FileFormatClass(L"jpeg");
    if (!cls)
        throw EInvalidGraphic(L"Unsupported picture format");
    TOwned<TGraphic> graphic(cls->Create());
    graphic->LoadFromStream(Stream);
    TakeGraphic(graphic.release());
}

void TPicture::SaveToStream(TStream* Stream)
{
    if (graphic_)
        graphic_->SaveToStream(Stream);
}

void TPicture::LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette)
{
    const auto& formats = ClipboardFormats();
    auto it = std::find_if(formats.rbegin(), formats.rend(),
                           [&](const TClipboardFormat& f) { return f.Format == AFormat; });
    if (it == formats.rend())
        throw EInvalidGraphic(L"Unsupported clipboard format");
    TOwned<TGraphic> graphic(it->GraphicClass->Create());
    graphic->LoadFromClipboardFormat(AFormat, AData, APalette);
    TakeGraphic(graphic.release());
}

void TPicture::SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette)
{
    AFormat = 0;
    AData = nullptr;
    APalette = nullptr;
    if (graphic_)
        graphic_->SaveToClipboardFormat(AFormat, AData, APalette);
}

void TPicture::WriteData(TStream* Stream)
{
    // The class name as a short string: a length byte and ANSI characters.
    String name = graphic_ ? graphic_->ClassName() : String();
    std::string narrow(name.begin(), name.end());
    Byte length = static_cast<Byte>(std::min<size_t>(narrow.size(), 255));
    Stream->WriteBuffer(&length, 1);
    Stream->WriteBuffer(narrow.data(), length);
    if (graphic_)
        graphic_->WriteData(Stream);
}

void TPicture::ReadData(TStream* Stream)
{
    Byte length = 0;
    Stream->ReadBuffer(&length, 1);
    std::string narrow(length, '\0');
    Stream->ReadBuffer(narrow.data(), length);
    if (narrow.empty()) {
        SetGraphic(nullptr);
        return;
    }
    String name(narrow.begin(), narrow.end());
    TGraphicClass cls = graphics_detail::FindGraphicClass(name);
    if (!cls)
        throw EInvalidGraphic(L"Unknown picture class " + name);
    TOwned<TGraphic> graphic(cls->Create());
    graphic->ReadData(Stream);
    TakeGraphic(graphic.release());
}

// ---------------------------------------------------------------------------
void Graphics_Initialize()
{
    TPicture::RegisterFileFormat(L"bmp", L"Bitmaps", GraphicClass<TBitmap>());
    TPicture::RegisterFileFormat(L"ico", L"Icons", GraphicClass<TIcon>());
    TPicture::RegisterClipboardFormat(CF_BITMAP, GraphicClass<TBitmap>());
    TPicture::RegisterClipboardFormat(CF_DIB, GraphicClass<TBitmap>());
    RegisterPublishedProperties<TFont>({
        IntegerProperty(L"Color", &TFont::GetColor, &TFont::SetColor),
        IntegerProperty(L"Height", &TFont::GetHeight, &TFont::SetHeight),
        IntegerProperty(L"Size", &TFont::GetSize, &TFont::SetSize),
        SetProperty(L"Style", &TFont::GetStyle, &TFont::SetStyle,
                    {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"}),
    });
}

void Graphics_Finalize()
{
    UnregisterPublishedProperties<TFont>();
    TPicture::UnregisterGraphicClass(GraphicClass<TBitmap>());
    TPicture::UnregisterGraphicClass(GraphicClass<TIcon>());
}
