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
// Takes even an empty stream, which leaves no bytes.
TGDIPPicture::TGDIPPicture() : TGDIPEncodedPicture(false) {}

void TGDIPPicture::MeasureLoadedFile(const String& FileName)
{
    FFileName = FileName;
    GetImageSizes();
}

TPictureFormat TGDIPPicture::GetPictureFormat() const
{
    return SniffPictureFormat(FDatastream->Memory(), static_cast<std::size_t>(FDatastream->GetSize()));
}

void TGDIPPicture::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!HasBytes())
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
    if (!Graphics || !HasBytes())
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    if (decoded.Image())
        Graphics->DrawImage(decoded.Image(), X, Y);
}

void TGDIPPicture::DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H)
{
    if (!Graphics || !HasBytes())
        return;
    const TGPDecodedImage decoded(FDatastream.get());
    if (decoded.Image())
        Graphics->DrawImageRect(decoded.Image(), X, Y, W, H);
}
