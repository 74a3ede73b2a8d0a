// The format sniffer and the rotating GDI+ picture of hint info and glow buttons.
#include "GDIPicture.h"

#include "SysUtils.h"
#include <cstring>

namespace {

Word WordAt(const Byte* data, std::size_t at) { return static_cast<Word>(data[at] | (data[at + 1] << 8)); }

Cardinal LongAt(const Byte* data, std::size_t at)
{
    return Cardinal(data[at]) | (Cardinal(data[at + 1]) << 8) | (Cardinal(data[at + 2]) << 16) |
           (Cardinal(data[at + 3]) << 24);
}

bool StreamEmpty(TMemoryStream* stream) { return !stream || stream->GetSize() == 0; }

} // namespace

TPictureFormat SniffPictureFormat(const void* Data, std::size_t Size)
{
    if (!Data || Size < 44)
        return pfNone;
    const Byte* bytes = static_cast<const Byte*>(Data);
    const Word w = WordAt(bytes, 0);
    const Word v = WordAt(bytes, 2);
    switch (w) {
    case 0x4949:
        return v == 42 ? pfTiff : pfNone;
    case 0x4D42:
        return pfBMP;
    case 0x4D4D:
        return v == 0x2A00 ? pfTiff : pfNone;
    case 0xD8FF:
        return pfJPG;
    default:
        break;
    }
    static constexpr Byte png[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(bytes, png, 8) == 0)
        return pfPNG;
    const Cardinal first = LongAt(bytes, 0);
    if (first == 0x9AC6CDD7u || (first == 1 && LongAt(bytes, 40) == 0x464D4520u))
        return pfMetaFile;
    if (std::memcmp(bytes, "GIF", 3) == 0)
        return pfGIF;
    if (v == 1)
        return pfICO;
    return pfNone;
}

// ---------------------------------------------------------------------------
TGDIPPicture::TGDIPPicture() : FDatastream(New<TMemoryStream>()) {}

TGDIPPicture::~TGDIPPicture() = default;

void TGDIPPicture::TakeBytes(TStream* Stream)
{
    FDatastream->Clear();
    Stream->SetPosition(0);
    FDatastream->LoadFromStream(Stream);
}

void TGDIPPicture::Assign(TPersistent* Source)
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
    if (auto* other = dynamic_cast<TGDIPPicture*>(Source)) {
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
            FIsEmpty = dynamic_cast<TBitmap*>(graphic) ? StreamEmpty(FDatastream.get()) : false;
            Changed(this);
        }
    }
    GetImageSizes();
}

void TGDIPPicture::LoadFromFile(const String& FileName)
{
    try {
        TOwned<TFileStream> file(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
        FFileName = FileName;
        TakeBytes(file.get());
        FIsEmpty = false;
        if (OnClear)
            OnClear(this);
        GetImageSizes();
        Changed(this);
    } catch (const std::exception&) {
        FIsEmpty = true;
    }
}

void TGDIPPicture::LoadFromStream(TStream* Stream)
{
    if (!Stream)
        return;
    TakeBytes(Stream);
    FIsEmpty = false;
    GetImageSizes();
    Changed(this);
}

void TGDIPPicture::SaveToStream(TStream* Stream)
{
    if (Stream && FDatastream->GetSize() > 0)
        Stream->WriteBuffer(FDatastream->Memory(), FDatastream->GetSize());
}

void TGDIPPicture::ReadData(TStream* Stream)
{
    if (!Stream)
        return;
    TakeBytes(Stream);
    FIsEmpty = false;
}

void TGDIPPicture::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGDIPPicture::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    if (!FindResourceW(Instance, ResName.c_str(), RT_RCDATA))
        return;
    TOwned<TResourceStream> stream(New<TResourceStream>(Instance, ResName, RT_RCDATA));
    LoadFromStream(stream.get());
}

void TGDIPPicture::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
    TOwned<TResourceStream> stream(New<TResourceStream>(Instance, ResID, RT_RCDATA));
    LoadFromStream(stream.get());
}

void TGDIPPicture::LoadFromURL(const String& url) { LoadPictureFromURL(*this, url); }

bool TGDIPPicture::GetImageSizes()
{
    return !FIsEmpty && DecodedImageSize(FDatastream.get(), FWidth, FHeight);
}

TPictureFormat TGDIPPicture::GetPictureFormat() const
{
    return SniffPictureFormat(FDatastream->Memory(), static_cast<std::size_t>(FDatastream->GetSize()));
}

void TGDIPPicture::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (FIsEmpty || StreamEmpty(FDatastream.get()))
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    TGPImage* image = decoded.Image();
    if (!image)
        return;
    if (image->GetFormat() == ifBMP && FTransparentBitmap) {
        TOwned<TBitmap> bitmap(New<TBitmap>());
        FDatastream->SetPosition(0);
        bitmap->LoadFromStream(FDatastream.get());
        bitmap->SetTransparentMode(tmAuto);
        bitmap->SetTransparent(true);
        ACanvas->StretchDraw(Rect, bitmap.get());
        return;
    }
    FWidth = static_cast<int>(image->GetWidth());
    FHeight = static_cast<int>(image->GetHeight());
    TGPGraphics graphics(ACanvas->GetHandle());
    if (FAngle != 0) {
        // About the image's own centre set at the target's top-left corner.
        const float cx = static_cast<float>(Rect.left) + FWidth / 2.0f;
        const float cy = static_cast<float>(Rect.top) + FHeight / 2.0f;
        graphics.TranslateTransform(cx, cy);
        graphics.RotateTransform(static_cast<float>(FAngle));
        graphics.TranslateTransform(-cx, -cy);
    }
    graphics.DrawImageRect(image, Rect.left, Rect.top, Rect.Width(), Rect.Height());
    if (FAngle != 0)
        graphics.ResetTransform();
}

void TGDIPPicture::DrawImage(TGPGraphics* Graphics, int X, int Y)
{
    if (!Graphics || FIsEmpty || StreamEmpty(FDatastream.get()))
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    if (decoded.Image())
        Graphics->DrawImage(decoded.Image(), X, Y);
}

void TGDIPPicture::DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H)
{
    if (!Graphics || FIsEmpty || StreamEmpty(FDatastream.get()))
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    if (decoded.Image())
        Graphics->DrawImageRect(decoded.Image(), X, Y, W, H);
}
