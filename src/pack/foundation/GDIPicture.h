// A picture that keeps its encoded bytes exactly as loaded and draws them
// through GDI+, with rotation; the picture of hint info and glow buttons.
// The format sniffer of encoded bytes lives here too.
#pragma once

#include "AdvGDIP.h"

enum TPictureFormat { pfBMP, pfGIF, pfJPG, pfPNG, pfICO, pfTiff, pfMetaFile, pfNone };

// The format of encoded picture bytes by their first bytes; pfNone for fewer
// than 44 bytes or an unknown signature.
TPictureFormat SniffPictureFormat(const void* Data, std::size_t Size);

class TGDIPPicture : public TGDIPEncodedPicture {
public:
    TGDIPPicture();

    // The image at its own size at (X, Y), or scaled into a rectangle.
    void DrawImage(TGPGraphics* Graphics, int X, int Y);
    void DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H);

    TPictureFormat GetPictureFormat() const;
    const String& GetFileName() const { return FFileName; }
    TColor GetBackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
    // A BMP is drawn as a class-library bitmap keyed by its bottom-left pixel.
    bool GetTransparentBitmap() const { return FTransparentBitmap; }
    void SetTransparentBitmap(bool Value) { FTransparentBitmap = Value; }
    // Degrees, clockwise, about the image's centre placed at the target's top-left.
    int GetAngle() const { return FAngle; }
    void SetAngle(int Value) { FAngle = Value; }

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void MeasureLoadedFile(const String& FileName) override;

private:
    String FFileName;
    TColor FBackgroundColor = clNone;
    bool FTransparentBitmap = true;
    int FAngle = 0;
};
