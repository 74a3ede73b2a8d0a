// TJPEGImage: JPEG pictures over libjpeg, decoded on demand and encoded
// from a bitmap when saved.
#pragma once

#include "Graphics.h"

enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
// Decoding at a fraction of the stored size.
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
using TJPEGQualityRange = int; // 1 .. 100

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override;
    // The size after Scale.
    int GetWidth() const override;
    int GetHeight() const override;
    // A JPEG image cannot be resized in place; EInvalidGraphicOperation.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;

    // The JPEG bytes (from the stream's position to its end) or, when the
    // image came from a bitmap, the bitmap encoded with the settings below.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

    // Makes the decoded bitmap, or the encoded bytes, exist.
    void DIBNeeded();
    void JPEGNeeded();
    // Encodes the bitmap again with the current settings.
    void Compress();

    TJPEGQualityRange GetCompressionQuality() const { return quality_; }
    void SetCompressionQuality(TJPEGQualityRange Value);
    bool GetGrayscale() const { return grayscale_; }
    void SetGrayscale(bool Value);
    bool GetProgressiveEncoding() const { return progressive_; }
    void SetProgressiveEncoding(bool Value) { progressive_ = Value; }
    TJPEGPerformance GetPerformance() const { return performance_; }
    void SetPerformance(TJPEGPerformance Value);
    TJPEGScale GetScale() const { return scale_; }
    void SetScale(TJPEGScale Value);

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void AssignTo(TPersistent* Dest) override;

private:
    void ReadHeader();
    void DropBitmap();

    std::vector<Byte> data_;
    TOwned<TBitmap> bitmap_;
    int storedWidth_ = 0; // full size from the JPEG header
    int storedHeight_ = 0;
    TJPEGQualityRange quality_ = 90;
    bool grayscale_ = false;
    bool progressive_ = false;
    TJPEGPerformance performance_ = jpBestQuality;
    TJPEGScale scale_ = jsFullSize;
};

// Registers "jpg", "jpeg", "jpe" and "jfif" with the picture registry.
void Jpeg_Initialize();
void Jpeg_Finalize();
