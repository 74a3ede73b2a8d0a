// TPngImage: PNG pictures decoded and encoded by the platform's imaging
// codecs, drawn with their alpha channel.
#pragma once

#include "Graphics.h"

class TPngImage : public TGraphic {
public:
    TPngImage();
    ~TPngImage() override;
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override;
    int GetWidth() const override;
    int GetHeight() const override;
    // Resizing keeps the overlap; the rest is transparent.
    void SetWidth(int Value) override { SetSize(Value, GetHeight()); }
    void SetHeight(int Value) override { SetSize(GetWidth(), Value); }
    void SetSize(int AWidth, int AHeight) override;
    // True when any pixel is not fully opaque.
    bool GetTransparent() const override { return hasAlpha_; }

    // A PNG file from the stream's position; saved as read until changed.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

    // The colour and alpha of one pixel.
    TColor GetPixel(int X, int Y) const;
    Byte GetAlpha(int X, int Y) const;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void AssignTo(TPersistent* Dest) override;

private:
    void TakeImage(TOwned<TBitmap> image);
    const DWORD* Pixel(int X, int Y) const;

    // 32-bit, straight alpha.
    TOwned<TBitmap> image_;
    std::vector<Byte> data_;
    bool hasAlpha_ = false;
};

// Registers "png" with the picture registry.
void PngImage_Initialize();
void PngImage_Finalize();
