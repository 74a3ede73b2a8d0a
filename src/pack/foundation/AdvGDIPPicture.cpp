// The picture of the GDI+ unit: encoded bytes kept as loaded, decoded through
// GDI+ for each draw or measure, and the file-header probes that size a
// picture loaded from a file without decoding it.
#include "AdvGDIPAccess.h"
#include "SysUtils.h"
#include <cstdlib>

// ---------------------------------------------------------------------------
TGPDecodedImage::TGPDecodedImage(TMemoryStream* Data)
    : TGPDecodedImage(Data ? Data->Memory() : nullptr, Data ? static_cast<std::size_t>(Data->GetSize()) : 0)
{
}

TGPDecodedImage::TGPDecodedImage(const void* Data, std::size_t Size)
{
    if (!Data || Size == 0)
        return;
    TGlobalMemory block(GMEM_MOVEABLE, Size);
    if (!block)
        throw Exception(L"Could not allocate memory for image");
    if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream_.ReleaseAndGetAddressOf())))
        return;
    // The stream frees the block from now on.
    block.Release();
    ULONG written = 0;
    if (FAILED(stream_->Write(Data, static_cast<ULONG>(Size), &written)) || written != Size)
        return;
    image_ = std::make_unique<TGPImage>(Stream(), false);
}

TGPDecodedImage::~TGPDecodedImage() = default;

IStream* TGPDecodedImage::Stream() const
{
    if (stream_) {
        const LARGE_INTEGER start{};
        stream_->Seek(start, STREAM_SEEK_SET, nullptr);
    }
    return stream_.Get();
}

// ---------------------------------------------------------------------------
namespace {

// Reads a file's header a piece at a time; a short read sets Failed.
class TProbeReader {
public:
    explicit TProbeReader(const String& fileName)
        : stream_(New<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite))
    {
    }

    bool Failed() const { return failed_; }
    Int64 Size() { return stream_->GetSize(); }
    Int64 Position() { return stream_->GetPosition(); }
    void Seek(Int64 at)
    {
        if (at < 0 || at > Size())
            failed_ = true;
        else
            stream_->SetPosition(at);
    }
    void Skip(Int64 count) { Seek(Position() + count); }
    bool Read(void* buffer, int count)
    {
        if (failed_ || stream_->Read(buffer, count) != count)
            failed_ = true;
        return !failed_;
    }
    Byte ReadByte()
    {
        Byte b = 0;
        Read(&b, 1);
        return b;
    }
    Word ReadBigEndianWord()
    {
        Byte b[2] = {};
        Read(b, 2);
        return static_cast<Word>((b[0] << 8) | b[1]);
    }
    Cardinal ReadBigEndianLong()
    {
        Byte b[4] = {};
        Read(b, 4);
        return (Cardinal(b[0]) << 24) | (Cardinal(b[1]) << 16) | (Cardinal(b[2]) << 8) | b[3];
    }
    Word ReadWord()
    {
        Byte b[2] = {};
        Read(b, 2);
        return static_cast<Word>(b[0] | (b[1] << 8));
    }
    Cardinal ReadLong()
    {
        Byte b[4] = {};
        Read(b, 4);
        return Cardinal(b[0]) | (Cardinal(b[1]) << 8) | (Cardinal(b[2]) << 16) | (Cardinal(b[3]) << 24);
    }

private:
    TOwned<TFileStream> stream_;
    bool failed_ = false;
};

struct TProbedSize {
    int Width = 0;
    int Height = 0;
};

int Magnitude(Cardinal value) { return static_cast<int>(std::abs(static_cast<Int64>(static_cast<Integer>(value)))); }

TProbedSize ProbeJPEG(TProbeReader& in)
{
    if (in.ReadByte() != 0xFF || in.ReadByte() != 0xD8)
        return {};
    Byte b = in.ReadByte();
    while (b == 0xFF && !in.Failed()) {
        const Byte marker = in.ReadByte();
        if (in.Failed())
            break;
        if (marker == 0xFF)
            continue;
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            in.Skip(3);
            const Word height = in.ReadBigEndianWord();
            const Word width = in.ReadBigEndianWord();
            if (in.Failed())
                return {};
            return {width, height};
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            b = 0xFF;
            continue;
        }
        // A segment length counts its own two bytes; less cannot be right and
        // would step backwards for ever.
        const Word length = in.ReadBigEndianWord();
        if (in.Failed() || length < 2)
            return {};
        in.Skip(length - 2);
        b = in.ReadByte();
    }
    return {};
}

TProbedSize ProbePNG(TProbeReader& in)
{
    static constexpr Byte signature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    Byte head[8] = {};
    if (!in.Read(head, 8) || std::memcmp(head, signature, 8) != 0)
        return {};
    in.Seek(16);
    const Cardinal width = in.ReadBigEndianLong();
    const Cardinal height = in.ReadBigEndianLong();
    if (in.Failed())
        return {};
    return {Magnitude(width), Magnitude(height)};
}

TProbedSize ProbeBMP(TProbeReader& in)
{
    if (in.ReadByte() != 'B' || in.ReadByte() != 'M')
        return {};
    in.Skip(12);
    const Cardinal headerSize = in.ReadLong();
    const Cardinal width = in.ReadLong();
    if (in.Failed())
        return {};
    // The old core header holds two 16-bit sizes in one value.
    if (headerSize == 12)
        return {LOWORD(width), HIWORD(width)};
    const Cardinal height = in.ReadLong();
    if (in.Failed())
        return {};
    // A negative height marks rows stored top-down.
    return {Magnitude(width), Magnitude(height)};
}

TProbedSize ProbeGIF(TProbeReader& in)
{
    Byte header[13] = {};
    if (!in.Read(header, 13) || std::memcmp(header, "GIF", 3) != 0)
        return {};
    if (header[10] & 0x80)
        in.Skip(3 * (1 << ((header[10] & 7) + 1)));
    // Extensions come as blocks of sub-blocks; walking them, rather than
    // looking for the first 0x2C byte, keeps a delay or colour index of 44
    // from passing for the image separator.
    while (!in.Failed()) {
        const Byte introducer = in.ReadByte();
        if (in.Failed() || introducer == 0x3B)
            return {};
        if (introducer == 0x2C) {
            in.Skip(4);
            const Word width = in.ReadWord();
            const Word height = in.ReadWord();
            if (in.Failed())
                return {};
            return {width, height};
        }
        if (introducer != 0x21)
            return {};
        in.ReadByte(); // label
        for (Byte size = in.ReadByte(); size != 0 && !in.Failed(); size = in.ReadByte())
            in.Skip(size);
    }
    return {};
}

TProbedSize ProbeTIFF(TProbeReader& in)
{
    in.Skip(4);
    const Cardinal directory = in.ReadLong();
    if (in.Failed())
        return {};
    in.Seek(directory);
    const Word entries = in.ReadWord();
    TProbedSize size;
    bool haveWidth = false, haveHeight = false;
    // Only the entries the directory declares, and none past the file's end.
    for (Word i = 0; i < entries && !(haveWidth && haveHeight); ++i) {
        const Word tag = in.ReadWord();
        in.Skip(6);
        const Cardinal value = in.ReadLong();
        if (in.Failed())
            return {};
        if (tag == 256) {
            size.Width = Magnitude(value);
            haveWidth = true;
        } else if (tag == 257) {
            size.Height = Magnitude(value);
            haveHeight = true;
        }
    }
    return size;
}

bool StreamEmpty(TMemoryStream* stream) { return !stream || stream->GetSize() == 0; }

} // namespace

// ---------------------------------------------------------------------------
TGDIPEncodedPicture::TGDIPEncodedPicture(bool IgnoreEmptyStreams)
    : FDatastream(New<TMemoryStream>()), FIgnoreEmptyStreams(IgnoreEmptyStreams)
{
}

TGDIPEncodedPicture::~TGDIPEncodedPicture() = default;

void TGDIPEncodedPicture::TakeBytes(TStream* Stream)
{
    FDatastream->Clear();
    Stream->SetPosition(0);
    FDatastream->LoadFromStream(Stream);
}

void TGDIPEncodedPicture::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    FIsEmpty = true;
    if (!Source) {
        FDatastream->Clear();
        Changed(this);
        if (OnClear)
            OnClear(this);
        return;
    }
    if (auto* other = dynamic_cast<TGDIPEncodedPicture*>(Source)) {
        TakeBytes(other->FDatastream.get());
        FIsEmpty = StreamEmpty(FDatastream.get());
        Changed(this);
    } else {
        TGraphic* graphic = dynamic_cast<TGraphic*>(Source);
        if (auto* picture = dynamic_cast<TPicture*>(Source))
            graphic = picture->GetGraphic();
        if (graphic) {
            TOwned<TMemoryStream> saved(New<TMemoryStream>());
            graphic->SaveToStream(saved.get());
            TakeBytes(saved.get());
            // An empty bitmap saves nothing and stays an empty picture.
            FIsEmpty = dynamic_cast<TBitmap*>(graphic) ? StreamEmpty(FDatastream.get()) : false;
            Changed(this);
        }
    }
    GetImageSizes();
}

void TGDIPEncodedPicture::LoadFromFile(const String& FileName)
{
    try {
        TOwned<TFileStream> file(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
        TakeBytes(file.get());
        FIsEmpty = false;
        if (OnClear)
            OnClear(this);
        MeasureLoadedFile(FileName);
        Changed(this);
    } catch (const std::exception&) {
        FIsEmpty = true;
    }
}

void TGDIPEncodedPicture::MeasureLoadedFile(const String&) { GetImageSizes(); }

void TGDIPEncodedPicture::LoadFromStream(TStream* Stream)
{
    if (!Stream || (FIgnoreEmptyStreams && Stream->GetSize() == 0))
        return;
    TakeBytes(Stream);
    FIsEmpty = false;
    GetImageSizes();
    Changed(this);
}

void TGDIPEncodedPicture::SaveToStream(TStream* Stream)
{
    if (Stream && FDatastream->GetSize() > 0)
        Stream->WriteBuffer(FDatastream->Memory(), FDatastream->GetSize());
}

void TGDIPEncodedPicture::ReadData(TStream* Stream)
{
    if (!Stream || (FIgnoreEmptyStreams && Stream->GetSize() == 0))
        return;
    TakeBytes(Stream);
    FIsEmpty = false;
    GetImageSizes();
}

void TGDIPEncodedPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGDIPEncodedPicture::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    if (!FindResourceW(Instance, ResName.c_str(), RT_RCDATA))
        return;
    TOwned<TResourceStream> stream(New<TResourceStream>(Instance, ResName, RT_RCDATA));
    LoadFromStream(stream.get());
}

void TGDIPEncodedPicture::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
    TOwned<TResourceStream> stream(New<TResourceStream>(Instance, ResID, RT_RCDATA));
    LoadFromStream(stream.get());
}

void TGDIPEncodedPicture::LoadFromURL(const String& url)
{
    const String upper = UpperCase(url);
    if (upper.compare(0, 6, L"RES://") == 0) {
        if (url.size() > 6)
            LoadFromResourceName(HInstance(), url.substr(6));
    } else if (upper.compare(0, 7, L"FILE://") == 0) {
        if (url.size() > 7)
            LoadFromFile(url.substr(7));
    }
}

bool TGDIPEncodedPicture::GetImageSizes()
{
    return !FIsEmpty && DecodedImageSize(FDatastream.get(), FWidth, FHeight);
}

bool DecodedImageSize(TMemoryStream* Data, int& Width, int& Height)
{
    if (StreamEmpty(Data))
        return false;
    const TGPDecodedImage decoded(Data);
    if (!decoded.Image())
        return false;
    Width = static_cast<int>(decoded.Image()->GetWidth());
    Height = static_cast<int>(decoded.Image()->GetHeight());
    return true;
}

// ---------------------------------------------------------------------------
TAdvGDIPPicture::TAdvGDIPPicture() : TGDIPEncodedPicture(true) {}

bool TAdvGDIPPicture::GetImageSizesFromFileName(const String& FileName)
{
    if (!HasBytes())
        return false;
    const String ext = UpperCase(ExtractFileExt(FileName));
    TProbedSize (*probe)(TProbeReader&) = nullptr;
    if (ext == L".JPG" || ext == L".JPEG")
        probe = ProbeJPEG;
    else if (ext == L".PNG")
        probe = ProbePNG;
    else if (ext == L".BMP")
        probe = ProbeBMP;
    else if (ext == L".TIFF" || ext == L".TIF")
        probe = ProbeTIFF;
    else if (ext == L".GIF")
        probe = ProbeGIF;
    TProbedSize size;
    if (probe) {
        try {
            TProbeReader reader(FileName);
            size = probe(reader);
        } catch (const std::exception&) {
            size = {};
        }
    }
    FWidth = size.Width;
    FHeight = size.Height;
    return probe && size.Width > 0 && size.Height > 0;
}

void TAdvGDIPPicture::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!HasBytes())
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    TGPImage* image = decoded.Image();
    if (!image)
        return;
    if (image->GetFormat() == ifBMP) {
        TOwned<TBitmap> bitmap(New<TBitmap>());
        FDatastream->SetPosition(0);
        bitmap->LoadFromStream(FDatastream.get());
        bitmap->SetTransparentMode(tmAuto);
        bitmap->SetTransparent(true);
        ACanvas->Draw(Rect.left, Rect.top, bitmap.get());
        return;
    }
    FWidth = static_cast<int>(image->GetWidth());
    FHeight = static_cast<int>(image->GetHeight());
    TGPGraphics graphics(ACanvas->GetHandle());
    graphics.DrawImageRect(image, Rect.left, Rect.top, Rect.Width(), Rect.Height());
}

void TAdvGDIPPicture::GDIPDraw(TGPGraphics* Graphics, const TRect& Rect)
{
    DrawDecoded(Graphics, TGPRectF{static_cast<float>(Rect.left), static_cast<float>(Rect.top),
                                   static_cast<float>(Rect.Width()), static_cast<float>(Rect.Height())});
}

void TAdvGDIPPicture::GDIPDraw(TGPGraphics* Graphics, const TGPRectF& Rect)
{
    if (FDrawing)
        return;
    struct TDrawingFlag {
        bool& flag;
        explicit TDrawingFlag(bool& f) : flag(f) { flag = true; }
        ~TDrawingFlag() { flag = false; }
    } drawing(FDrawing);
    DrawDecoded(Graphics, Rect);
}

void TAdvGDIPPicture::DrawDecoded(TGPGraphics* Graphics, const TGPRectF& Rect)
{
    if (!Graphics || !HasBytes())
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    TGPImage* image = decoded.Image();
    if (!image)
        return;
    FHasAlpha = image->HasAlphaChannel();
    FHasPalette = image->HasPalette();
    FPixelDepth = image->GetPixelDepth();
    FPixelFormat = image->GetPixelFormat();
    FWidth = static_cast<int>(image->GetWidth());
    FHeight = static_cast<int>(image->GetHeight());
    if (image->GetFormat() == ifBMP && GetTransparent()) {
        ARGB key = ColorToGPColorAlpha(255, FBitmapTransparentColor);
        if (FBitmapTransparentMode == tmAuto) {
            TGPBitmap pixels(decoded.Stream());
            pixels.GetPixel(0, FHeight - 1, key);
        }
        TGPImageAttributes attributes;
        attributes.SetColorKey(key, key, ColorAdjustTypeDefault);
        Graphics->DrawImage(image, Rect, 0, 0, static_cast<float>(FWidth), static_cast<float>(FHeight), UnitPixel,
                            &attributes);
        return;
    }
    Graphics->DrawImage(image, Rect);
}

void TAdvGDIPPicture::FillRect(TGPGraphics* graphics, const TGPRectF& R)
{
    if (!graphics || !HasBytes())
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    if (!decoded.Image())
        return;
    TGPTextureBrush brush(decoded.Image(), WrapModeTile);
    graphics->FillRectangle(&brush, R);
}

void TAdvGDIPPicture::FillPath(TGPGraphics* graphics, TGPGraphicsPath* Path)
{
    if (!graphics || !HasBytes())
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    if (!decoded.Image())
        return;
    TGPTextureBrush brush(decoded.Image(), WrapModeTile);
    graphics->FillPath(&brush, Path);
}
