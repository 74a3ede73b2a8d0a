// A picture that keeps its encoded bytes exactly as loaded and draws them
// through GDI+, with rotation; the picture of hint info and glow buttons.
// The format sniffer of encoded bytes lives here too.
#pragma once

#include "AdvGDIP.h"

enum TPictureFormat { pfBMP, pfGIF, pfJPG, pfPNG, pfICO, pfTiff, pfMetaFile, pfNone };

// The format of encoded picture bytes by their first bytes; pfNone for fewer
// than 44 bytes or an unknown signature.
TPictureFormat SniffPictureFormat(const void* Data, std::size_t Size);

class TGDIPPicture : public TGraphic {
public:
    TGDIPPicture();
    ~TGDIPPicture() override;
    // nil empties the picture (OnChange, then OnClear); another picture's
    // bytes are copied; any graphic or picture holder gives its file format.
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override { return FIsEmpty; }
    int GetWidth() const override { return FWidth; }
    void SetWidth(int) override {}
    int GetHeight() const override { return FHeight; }
    void SetHeight(int) override {}

    // Any failure leaves the picture empty; nothing is raised.
    void LoadFromFile(const String& FileName);
    // The whole stream from its start, even an empty one; nothing for nil.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    // A missing resource raises EResNotFound.
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // "RES://name" from the program's resources, "FILE://path", any case.
    void LoadFromURL(const String& url);
    void LoadFromClipboardFormat(Word, HANDLE, HPALETTE) override {}
    void SaveToClipboardFormat(Word&, HANDLE&, HPALETTE&) override {}

    // Decodes the bytes and records the size; false when there is no image.
    bool GetImageSizes();
    // The image at its own size at (X, Y), or scaled into a rectangle.
    void DrawImage(TGPGraphics* Graphics, int X, int Y);
    void DrawImageRect(TGPGraphics* Graphics, int X, int Y, int W, int H);

    TPictureFormat GetPictureFormat() const;
    const String& GetFileName() const { return FFileName; }
    bool GetDoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    TColor GetBackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { FBackgroundColor = Value; }
    // A BMP is drawn as a class-library bitmap keyed by its bottom-left pixel.
    bool GetTransparentBitmap() const { return FTransparentBitmap; }
    void SetTransparentBitmap(bool Value) { FTransparentBitmap = Value; }
    // Degrees, clockwise, about the image's centre placed at the target's top-left.
    int GetAngle() const { return FAngle; }
    void SetAngle(int Value) { FAngle = Value; }
    TMemoryStream* GetDataStream() const { return FDatastream.get(); }

    TNotifyEvent OnClear;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    // The "Data" of a form stream: all stored bytes.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

private:
    void TakeBytes(TStream* Stream);

    String FFileName;
    TOwned<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    int FWidth = 0;
    int FHeight = 0;
    bool FDoubleBuffered = false;
    TColor FBackgroundColor = clNone;
    bool FTransparentBitmap = true;
    int FAngle = 0;
};
