// The PNG reader: TPNGGraphic loads a PNG file into a plain bitmap whose
// pixel format follows the image's colour type, through the colour manager,
// which converts decoded rows straight into the bitmap's scanlines.
#pragma once

#include "Graphics.h"
#include "GdiHandles.h"
#include "acZLibEx.h"
#include <initializer_list>
#include <vector>

// ---------------------------------------------------------------------------
// Colour manager: rows of samples from a source layout into a target layout.
enum TColorScheme {
    csUnknown, csIndexed, csG, csGA, csRGB, csRGBA, csBGR, csBGRA, csCMY, csCMYK, csCIELab, csYCbCr, csPhotoYCC
};
enum TConvertOption { coAlpha, coApplyGamma, coNeedByteSwap, coLabByteRange, coLabChromaOffset };
using TConvertOptions = Set<TConvertOption, 8>;

TAVELIN_EXCEPTION(EColorConversionError, Exception)

class TColorManager : public TObject {
public:
    TColorManager();

    // Source: one pointer for interleaved samples, or one per sample plane.
    // Mask bit 7 stands for the first pixel of every group of eight; only
    // pixels whose bit is set are written, taking source pixels in turn.
    void ConvertRow(std::initializer_list<const void*> Source, void* Target, Cardinal Count, Byte Mask);
    // A value not above 0 becomes 1.0 (main) or 2.2 (display).
    void SetGamma(float MainGamma, float DisplayGamma = 2.2f);
    // The caller owns the palettes.
    HPALETTE CreateGrayscalePalette(bool MinimumIsWhite);
    HPALETTE CreateColorPalette(std::initializer_list<const void*> Data, int DataFormat, int ColorCount,
                                bool BlueFirst);
    [[noreturn]] void Error(const String& Msg);

    Byte GetSourceBitsPerSample() const { return FSourceBPS; }
    void SetSourceBitsPerSample(Byte Value);
    Byte GetTargetBitsPerSample() const { return FTargetBPS; }
    void SetTargetBitsPerSample(Byte Value);
    Byte GetSourceSamplesPerPixel() const { return FSourceSPP; }
    void SetSourceSamplesPerPixel(Byte Value);
    Byte GetTargetSamplesPerPixel() const { return FTargetSPP; }
    void SetTargetSamplesPerPixel(Byte Value);
    TColorScheme GetSourceColorScheme() const { return FSourceScheme; }
    void SetSourceColorScheme(TColorScheme Value);
    TColorScheme GetTargetColorScheme() const { return FTargetScheme; }
    void SetTargetColorScheme(TColorScheme Value);
    TPixelFormat GetSourcePixelFormat() const;
    TPixelFormat GetTargetPixelFormat() const;
    const Byte* GetGammaTable() const { return FGammaTable; }

    TConvertOptions SourceOptions;
    TConvertOptions TargetOptions;

private:
    struct TRowArgs;
    using TConversionMethod = void (TColorManager::*)(const TRowArgs& Row);

    void PrepareConversion();
    void BuildYCbCrTables();
    void RowPackedToPacked(const TRowArgs& Row);
    void RowIndexed16To16(const TRowArgs& Row);
    void RowIndexed16ToPacked(const TRowArgs& Row);
    void RowIndexedPackedTo16(const TRowArgs& Row);
    void RowGray(const TRowArgs& Row);
    void RowChannels(const TRowArgs& Row);
    void RowCMYK(const TRowArgs& Row);
    void RowCIELab(const TRowArgs& Row);
    void RowYCbCr(const TRowArgs& Row);

    bool FChanged = true;
    Byte FSourceBPS = 8;
    Byte FTargetBPS = 8;
    Byte FSourceSPP = 3;
    Byte FTargetSPP = 3;
    float FMainGamma = 1.0f;
    float FDisplayGamma = 2.2f;
    Byte FGammaTable[256]{};
    float FYCbCrCoefficients[3] = {0.299f, 0.587f, 0.114f};
    std::vector<int> FCrToRedTable;
    std::vector<int> FCbToBlueTable;
    std::vector<int> FCrToGreenTable;
    std::vector<int> FCbToGreenTable;
    TColorScheme FSourceScheme = csRGB;
    TColorScheme FTargetScheme = csBGR;
    TConversionMethod FRowConversion = nullptr;
    bool FSwapRedBlue = false;
};

// ---------------------------------------------------------------------------
// The zlib wrapper of the image data.
TAVELIN_EXCEPTION(EGraphicCompression, Exception)

class TLZ77Decoder : public TObject {
public:
    TLZ77Decoder(int FlushMode, bool AutoReset);
    ~TLZ77Decoder() override;
    void DecodeInit();
    // Inflates from Source into Dest; both move on to where zlib stopped.
    void Decode(const Byte*& Source, Byte*& Dest, Cardinal PackedSize, Cardinal UnpackedSize);
    void DecodeEnd();
    int ZLibResult() const { return FZLibResult; }
    Cardinal AvailableInput() const { return FStream.avail_in; }
    Cardinal AvailableOutput() const { return FStream.avail_out; }

private:
    TZStreamRec FStream{};
    int FZLibResult = 0;
    int FFlushMode = 0;
    bool FAutoReset = false;
    bool FInitialized = false;
};

// ---------------------------------------------------------------------------
enum TImageOption { ioBigEndian, ioUseGamma };
using TImageOptions = Set<TImageOption, 8>;
enum TCompressionType { ctUnknown, ctNone, ctLZ77 };

struct TImageProperties {
    TImageOptions Options;
    Cardinal Width = 0;
    TColorScheme ColorScheme = csUnknown;
    Byte BitsPerSample = 0;
    Byte SamplesPerPixel = 0;
    TCompressionType Compression = ctUnknown;
};

struct TPNGChunkHeader {
    Cardinal Length = 0; // machine order once read
    char ChunkType[4]{};
};

class TPNGGraphic : public TBitmap {
public:
    TPNGGraphic();
    ~TPNGGraphic() override;
    // The image properties of a TPNGGraphic, then the bitmap.
    void Assign(TPersistent* Source) override;

    static bool CanLoad(const String& FileName);
    // More than 8 bytes left and the next 8 the signature; the position stays.
    static bool CanLoad(TStream* Stream);
    bool ReadImageProperties(TStream* Stream, Cardinal ImageIndex);
    void LoadFromStream(TStream* Stream) override;

    TColorManager* ColorManager() const { return FColorManager.get(); }
    const TImageProperties& GetImageProperties() const { return FImageProperties; }
    void SetImageProperties(const TImageProperties& Value) { FImageProperties = Value; }
    // The alpha table of an indexed image (256 entries), empty without one.
    const std::vector<Byte>& Transparency() const { return FTransparency; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    // The file's colour type and bit depth, as the last load read them.
    Byte FileColorType() const { return FColorType; }
    Byte FileBitDepth() const { return FBitDepth; }

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    class TLoadGuard;
    void ReadChunkHeader();
    void ReadChunkData();
    void SkipChunk();
    bool IsChunk(const char* Name) const;
    Int64 BytesLeft();
    int SetupColorDepth(int ColorType, int BitDepth);
    void LoadIDAT(const Byte* ImageHeader);
    void ReadRow(Byte* Dest, Cardinal Count);
    void ApplyFilter(Byte Filter, Byte* Line, const Byte* PrevLine, Cardinal Count);
    void ReadBackground(int ColorType, int BitDepth);
    void ReadTransparency(int ColorType, int BitDepth);
    void SetPaletteOfBitmap();
    void LoadProgress(TProgressStage Stage, const String& Msg);

    TOwned<TColorManager> FColorManager;
    TRect FProgressRect;
    Int64 FBasePosition = 0;
    Int64 FStreamSize = 0;
    TStream* FStream = nullptr;
    TImageProperties FImageProperties;
    TOwned<TLZ77Decoder> FDecoder;
    Cardinal FIDATSize = 0;
    std::vector<Byte> FRawBuffer;
    const Byte* FCurrentSource = nullptr;
    TPNGChunkHeader FHeader;
    Cardinal FCurrentCRC = 0;
    int FSourceBPP = 1;
    TPaletteHandle FPalette;
    std::vector<Byte> FTransparency;
    TColor FTransparentColor = clNone;
    TColor FBackgroundColor = 0xFFFFFF;
    std::vector<RGBQUAD> FFileColors;
    Byte FColorType = 0;
    Byte FBitDepth = 0;
};

// Gives Bmp, which is to show the loaded Png, a 32-bit format with alpha.
void ApplyPngAlpha(TBitmap* Bmp, TPNGGraphic* Png);

void acPNG_Initialize();
void acPNG_Finalize();
