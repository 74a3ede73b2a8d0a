// A graphic that keeps a picture file's bytes as they are and draws them
// through the platform's OLE picture object: BMP, JPEG, GIF, PNG, ICO, WMF
// and EMF, whatever oleaut32's loader reads. Panels use it for their
// background picture.
#pragma once

#include "Graphics.h"
#include "ComObj.h"
#include <olectl.h>

class TAdvImage : public TGraphic {
public:
    TAdvImage();
    ~TAdvImage() override;

    // Takes another TAdvImage's bytes, or the file form of a TImage's,
    // TPicture's or any graphic's picture, and decodes them at once. An empty
    // or missing source leaves the image empty. One OnChange per call.
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override { return FIsEmpty; }
    // The picture's size in pixels at 96 dpi; 0 without a picture.
    int GetWidth() const override;
    int GetHeight() const override;
    // The size is the picture's own: both do nothing.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // Copies the whole stream (nothing for none) and decodes it; bytes that
    // are not a picture raise and leave the image empty.
    void LoadFromStream(TStream* Stream) override;
    // As LoadFromStream, but any failure only leaves the image empty.
    void LoadFromFile(const String& FileName);
    // The bytes unchanged.
    void SaveToStream(TStream* Stream) override;
    // RCDATA resources, through LoadFromStream.
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // No clipboard format: both do nothing.
    void LoadFromClipboardFormat(Word, HANDLE, HPALETTE) override {}
    void SaveToClipboardFormat(Word&, HANDLE&, HPALETTE&) override {}

    // The form stream's "Data" (ReadData fires no OnChange).
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    // Replaces the bytes with Count bytes of Stream from its position.
    void TakeBytes(TStream* Stream, Int64 Count);
    // Turns the bytes into the picture object; raises on failure, leaving
    // the image empty.
    void Decode();
    void MakeEmpty();

    TOwned<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    TComPtr<IPicture> gpPicture;
    int FLogPixX = 96;
    int fLogPixY = 96;
};
