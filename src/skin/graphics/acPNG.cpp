// The PNG reader: chunks, the image data through the LZ77 decoder, row
// filters and Adam7 passes into the bitmap's scanlines, and the picture
// registry entry.
//
// Every length read from the file is checked against the bytes the stream
// still holds before anything is allocated or skipped, in 64 bits, so that a
// forged length can neither reserve gigabytes nor step back onto its own header.
#include "acPNG.h"
#include "PngImage.h"
#include "sConst.h"
#include "sGraphUtils.h"
#include "sGraphUtilsRows.h"
#include <algorithm>
#include <array>
#include <cstring>

namespace {

const wchar_t PngName[] = L"PNG";
const wchar_t InvalidImage[] = L"Cannot load image. Invalid or unexpected %s image format.";
const wchar_t UnsupportedFeature[] = L"Cannot load image. %s not supported for %s files.";
const wchar_t CompressionScheme[] = L"The compression scheme is";
const wchar_t CRCError[] = L"Cannot load image. CRC error found in %s file.";
const wchar_t InvalidPalette[] = L"Cannot load image. Palette in %s file is invalid.";
const wchar_t InvalidColorFormat[] = L"Invalid color format in %s file.";
const wchar_t CompressionError[] = L"Cannot load image. Compression error found in %s file.";
const wchar_t ExtraCompressedData[] = L"Cannot load image. Extra compressed data found in %s file.";
const wchar_t UnknownCriticalChunk[] = L"Cannot load PNG image. Unexpected but critical chunk detected.";
const wchar_t LZ77Error[] = L"LZ77 decompression error.";
// The class library's own text for a stream that ends too early.
const wchar_t StreamReadError[] = L"Stream read error";

constexpr Byte Signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

[[noreturn]] void RaiseGraphic(const wchar_t* Fmt) { throw EInvalidGraphic(Format(Fmt, {PngName})); }

Cardinal BigEndian32(const Byte* p)
{
    return (Cardinal(p[0]) << 24) | (Cardinal(p[1]) << 16) | (Cardinal(p[2]) << 8) | p[3];
}
Word BigEndian16(const Byte* p) { return static_cast<Word>((p[0] << 8) | p[1]); }

// The reflected CRC-32 of PNG and zlib, its table built on first use from
// the polynomial's terms.
const std::array<Cardinal, 256>& CRCTable()
{
    static const std::array<Cardinal, 256> table = [] {
        constexpr int terms[] = {0, 1, 2, 4, 5, 7, 8, 10, 11, 12, 16, 22, 23, 26};
        Cardinal polynomial = 0;
        for (int term : terms)
            polynomial |= 1u << (31 - term);
        std::array<Cardinal, 256> t{};
        for (Cardinal n = 0; n < 256; ++n) {
            Cardinal c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? polynomial ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

Cardinal UpdateCRC(Cardinal crc, const Byte* p, size_t count)
{
    const auto& table = CRCTable();
    for (size_t i = 0; i < count; ++i)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

struct TPass {
    int FirstRow, RowStep, FirstColumn, ColumnStep;
    Byte Mask;
};
constexpr TPass Adam7[7] = {
    {0, 8, 0, 8, 0x80}, {0, 8, 4, 8, 0x08}, {4, 8, 0, 4, 0x88}, {0, 4, 2, 4, 0x22},
    {2, 4, 0, 2, 0xAA}, {0, 2, 1, 2, 0x55}, {1, 2, 0, 1, 0xFF},
};

Byte PaethPredictor(int a, int b, int c)
{
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return static_cast<Byte>(a);
    return static_cast<Byte>(pb <= pc ? b : c);
}

// The value of pixel X of a 1-, 4- or 8-bit row.
unsigned PackedValue(const Byte* row, int x, int bits)
{
    if (bits == 8)
        return row[x];
    size_t bit = static_cast<size_t>(x) * bits;
    return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

int BitsOf(TPixelFormat format) { return format == pf1bit ? 1 : format == pf4bit ? 4 : format == pf8bit ? 8 : 0; }

} // namespace

// ---------------------------------------------------------------------------
TLZ77Decoder::TLZ77Decoder(int FlushMode, bool AutoReset) : FFlushMode(FlushMode), FAutoReset(AutoReset) {}

TLZ77Decoder::~TLZ77Decoder()
{
    if (FInitialized)
        inflateEnd(&FStream);
}

void TLZ77Decoder::DecodeInit()
{
    if (InflateInit(FStream) < 0)
        throw EGraphicCompression(LZ77Error);
    FInitialized = true;
}

void TLZ77Decoder::Decode(const Byte*& Source, Byte*& Dest, Cardinal PackedSize, Cardinal UnpackedSize)
{
    FStream.next_in = const_cast<Bytef*>(Source);
    FStream.avail_in = PackedSize;
    if (FAutoReset)
        FZLibResult = inflateReset(&FStream);
    if (FZLibResult != Z_OK)
        return;
    FStream.next_out = Dest;
    FStream.avail_out = UnpackedSize;
    FZLibResult = inflate(&FStream, FFlushMode);
    Source = FStream.next_in;
    Dest = FStream.next_out;
}

void TLZ77Decoder::DecodeEnd()
{
    if (!FInitialized)
        return;
    FInitialized = false;
    if (inflateEnd(&FStream) < 0)
        throw EGraphicCompression(LZ77Error);
}

// ---------------------------------------------------------------------------
TPNGGraphic::TPNGGraphic() : FColorManager(New<TColorManager>()) {}

TPNGGraphic::~TPNGGraphic() = default;

void TPNGGraphic::Assign(TPersistent* Source)
{
    if (auto* png = dynamic_cast<TPNGGraphic*>(Source))
        FImageProperties = png->FImageProperties;
    TBitmap::Assign(Source);
}

bool TPNGGraphic::CanLoad(const String& FileName)
{
    TOwned<TFileStream> stream(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
    return CanLoad(stream.get());
}

bool TPNGGraphic::CanLoad(TStream* Stream)
{
    Int64 position = Stream->GetPosition();
    bool result = false;
    if (Stream->GetSize() - position > 8) {
        Byte head[8];
        result = Stream->Read(head, 8) == 8 && std::memcmp(head, Signature, 8) == 0;
        Stream->SetPosition(position);
    }
    return result;
}

// ---------------------------------------------------------------------------
// Chunk access.
Int64 TPNGGraphic::BytesLeft() { return std::max<Int64>(FStreamSize - FStream->GetPosition(), 0); }

void TPNGGraphic::ReadChunkHeader()
{
    Byte raw[8];
    FStream->ReadBuffer(raw, 8);
    FHeader.Length = BigEndian32(raw);
    std::memcpy(FHeader.ChunkType, raw + 4, 4);
    FCurrentCRC = UpdateCRC(0xFFFFFFFF, raw + 4, 4);
}

void TPNGGraphic::ReadChunkData()
{
    // A chunk reaching past the end of the stream ends inside it.
    if (Int64(FHeader.Length) + 4 > BytesLeft())
        throw EReadError(StreamReadError);
    FRawBuffer.resize(FHeader.Length);
    if (FHeader.Length > 0)
        FStream->ReadBuffer(FRawBuffer.data(), FHeader.Length);
    Byte crc[4];
    FStream->ReadBuffer(crc, 4);
    FCurrentCRC = UpdateCRC(FCurrentCRC, FRawBuffer.data(), FRawBuffer.size()) ^ 0xFFFFFFFF;
    if (FCurrentCRC != BigEndian32(crc))
        RaiseGraphic(CRCError);
}

void TPNGGraphic::SkipChunk()
{
    FStream->Seek(std::min<Int64>(Int64(FHeader.Length) + 4, BytesLeft()), soCurrent);
}

bool TPNGGraphic::IsChunk(const char* Name) const
{
    for (int i = 0; i < 4; ++i)
        if ((FHeader.ChunkType[i] & ~0x20) != (Name[i] & ~0x20))
            return false;
    return true;
}

// ---------------------------------------------------------------------------
bool TPNGGraphic::ReadImageProperties(TStream* Stream, Cardinal)
{
    FImageProperties = TImageProperties();
    FStream = Stream;
    FStreamSize = Stream->GetSize();
    Byte head[8];
    if (Stream->Read(head, 8) != 8 || std::memcmp(head, Signature, 8) != 0)
        return false;
    ReadChunkHeader();
    if (!IsChunk("IHDR"))
        return false;
    FImageProperties.Options = {ioBigEndian};
    ReadChunkData();
    if (FRawBuffer.size() < 13)
        return false;
    Cardinal width = BigEndian32(FRawBuffer.data()), height = BigEndian32(FRawBuffer.data() + 4);
    // Sizes past 2^31 - 1 are not PNG sizes, and the bitmap's are signed.
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    const Byte* header = FRawBuffer.data();
    FImageProperties.Width = width;
    FImageProperties.Compression = header[10] == 0 ? ctLZ77 : ctUnknown;
    FImageProperties.BitsPerSample = header[8];
    FImageProperties.SamplesPerPixel = 1;
    switch (header[9]) {
    case 0: FImageProperties.ColorScheme = csG; break;
    case 2:
        FImageProperties.ColorScheme = csRGB;
        FImageProperties.SamplesPerPixel = 3;
        break;
    case 3: FImageProperties.ColorScheme = csIndexed; break;
    case 4: FImageProperties.ColorScheme = csGA; break;
    case 6:
        FImageProperties.ColorScheme = csRGBA;
        FImageProperties.SamplesPerPixel = 4;
        break;
    default: FImageProperties.ColorScheme = csUnknown; break;
    }
    for (;;) {
        ReadChunkHeader();
        if (IsChunk("gAMA")) {
            ReadChunkData();
            break;
        }
        SkipChunk();
        if (IsChunk("IEND"))
            break;
    }
    return true;
}

void TPNGGraphic::LoadProgress(TProgressStage Stage, const String& Msg)
{
    Progress(this, Stage, 0, false, FProgressRect, Msg);
}

// Ends the decoder, lets the chunk buffer go and tells that loading ended,
// on every path out of loading.
class TPNGGraphic::TLoadGuard {
public:
    explicit TLoadGuard(TPNGGraphic* Owner) : owner_(Owner) {}
    ~TLoadGuard()
    {
        if (!done_)
            Finish(false);
    }
    void Finish(bool Checked)
    {
        done_ = true;
        TOwned<TLZ77Decoder> decoder = std::move(owner_->FDecoder);
        std::vector<Byte>().swap(owner_->FRawBuffer);
        owner_->FCurrentSource = nullptr;
        if (Checked) {
            owner_->LoadProgress(psEnding, String());
            if (decoder)
                decoder->DecodeEnd();
            return;
        }
        // Already leaving with an error: a failing handler must not end the process.
        try {
            owner_->LoadProgress(psEnding, String());
        } catch (...) {
        }
    }

private:
    TPNGGraphic* owner_;
    bool done_ = false;
};

void TPNGGraphic::LoadFromStream(TStream* Stream)
{
    SetHandle(nullptr);
    SetPixelFormat(pfDevice);
    FBasePosition = Stream->GetPosition();
    if (!ReadImageProperties(Stream, 0))
        RaiseGraphic(InvalidImage);
    Stream->SetPosition(FBasePosition + 8);
    FProgressRect = TRect(0, 0, static_cast<int>(FImageProperties.Width), 1);
    LoadProgress(psStarting, L"Preparing...");

    FPalette.Reset();
    FTransparency.clear();
    FFileColors.clear();
    FBackgroundColor = 0xFFFFFF;
    FTransparentColor = clNone;
    FColorManager->SourceOptions = {coNeedByteSwap};
    // The gamma of an earlier file must not colour one that has none.
    FColorManager->TargetOptions.Exclude(coApplyGamma);
    SetTransparent(false);
    SetTransparentColor(clDefault);

    ReadChunkHeader();
    TLoadGuard guard(this);
    ReadChunkData();
    Byte imageHeader[13];
    std::memcpy(imageHeader, FRawBuffer.data(), 13);
    FBitDepth = imageHeader[8];
    FColorType = imageHeader[9];
    if (FImageProperties.Compression != ctLZ77)
        throw EInvalidGraphic(Format(UnsupportedFeature, {CompressionScheme, PngName}));
    FDecoder.reset(New<TLZ77Decoder>(Z_PARTIAL_FLUSH, false));
    FDecoder->DecodeInit();

    for (;;) {
        ReadChunkHeader();
        if (IsChunk("IDAT")) {
            LoadProgress(psEnding, String());
            LoadIDAT(imageHeader);
        } else if (IsChunk("PLTE")) {
            if (FHeader.Length % 3 != 0)
                RaiseGraphic(InvalidPalette);
            ReadChunkData();
            FFileColors.clear();
            for (size_t i = 0; i + 2 < FRawBuffer.size(); i += 3)
                FFileColors.push_back(RGBQUAD{FRawBuffer[i + 2], FRawBuffer[i + 1], FRawBuffer[i], 0});
            if (FColorType == 3) {
                FSourceBPP = SetupColorDepth(FColorType, FBitDepth);
                // A second palette chunk replaces the first; the owner frees it.
                FPalette.Reset(FColorManager->CreateColorPalette({FRawBuffer.data()}, 0,
                                                                 static_cast<int>(FRawBuffer.size() / 3), false));
            }
            continue;
        } else if (IsChunk("gAMA")) {
            ReadChunkData();
            // A short gamma chunk says nothing and is passed over.
            if (FRawBuffer.size() >= 4) {
                float fileGamma = static_cast<float>(BigEndian32(FRawBuffer.data()) / 100000.0);
                FColorManager->SetGamma(fileGamma, 2.2f);
                FColorManager->TargetOptions.Include(coApplyGamma);
                FImageProperties.Options.Include(ioUseGamma);
            }
            continue;
        } else if (IsChunk("bKGD")) {
            ReadBackground(FColorType, FBitDepth);
            continue;
        } else if (IsChunk("tRNS")) {
            ReadTransparency(FColorType, FBitDepth);
            continue;
        }
        SkipChunk();
        if (IsChunk("IEND"))
            break;
        if (!(FHeader.ChunkType[0] & 0x20))
            throw EInvalidGraphic(UnknownCriticalChunk);
    }
    guard.Finish(true);
}

// ---------------------------------------------------------------------------
int TPNGGraphic::SetupColorDepth(int ColorType, int BitDepth)
{
    auto depthIn = [&](std::initializer_list<int> depths) {
        return std::find(depths.begin(), depths.end(), BitDepth) != depths.end();
    };
    bool valid = (ColorType == 0 && depthIn({1, 2, 4, 8, 16})) || (ColorType == 2 && depthIn({8, 16})) ||
                 (ColorType == 3 && depthIn({1, 2, 4, 8})) || (ColorType == 4 && depthIn({8, 16})) ||
                 (ColorType == 6 && depthIn({8, 16}));
    if (!valid)
        RaiseGraphic(InvalidColorFormat);
    TColorManager& cm = *FColorManager;
    auto depth = static_cast<Byte>(BitDepth);
    switch (ColorType) {
    case 0:
        cm.SetSourceColorScheme(csG);
        cm.SetTargetColorScheme(csG);
        cm.SetSourceSamplesPerPixel(1);
        cm.SetTargetSamplesPerPixel(1);
        cm.SetSourceBitsPerSample(depth);
        cm.SetTargetBitsPerSample(depth == 2 ? 4 : depth == 16 ? 8 : depth);
        SetPixelFormat(cm.GetTargetPixelFormat());
        FPalette.Reset(cm.CreateGrayscalePalette(false));
        return (BitDepth + 7) / 8;
    case 2:
        cm.SetSourceColorScheme(csRGB);
        cm.SetTargetColorScheme(csBGR);
        cm.SetSourceSamplesPerPixel(3);
        cm.SetTargetSamplesPerPixel(3);
        cm.SetSourceBitsPerSample(depth);
        cm.SetTargetBitsPerSample(8);
        SetPixelFormat(pf24bit);
        return BitDepth * 3 / 8;
    case 3:
        cm.SetSourceColorScheme(csIndexed);
        cm.SetTargetColorScheme(csIndexed);
        cm.SetSourceSamplesPerPixel(1);
        cm.SetTargetSamplesPerPixel(1);
        cm.SetSourceBitsPerSample(depth);
        cm.SetTargetBitsPerSample(depth == 2 ? 4 : depth);
        SetPixelFormat(cm.GetTargetPixelFormat());
        return 1;
    case 4:
        cm.SetSourceColorScheme(csGA);
        cm.SetTargetColorScheme(csIndexed);
        cm.SetSourceSamplesPerPixel(1);
        cm.SetTargetSamplesPerPixel(1);
        cm.SetSourceBitsPerSample(depth);
        cm.SetTargetBitsPerSample(8);
        SetPixelFormat(pf8bit);
        FPalette.Reset(cm.CreateGrayscalePalette(false));
        return BitDepth * 2 / 8;
    default:
        cm.SetSourceColorScheme(csRGBA);
        cm.SetTargetColorScheme(csBGRA);
        cm.SetSourceSamplesPerPixel(4);
        cm.SetTargetSamplesPerPixel(4);
        cm.SetSourceBitsPerSample(depth);
        cm.SetTargetBitsPerSample(8);
        SetPixelFormat(pf32bit);
        return BitDepth * 4 / 8;
    }
}

void TPNGGraphic::SetPaletteOfBitmap()
{
    if (!FPalette || BitsOf(GetPixelFormat()) == 0)
        return;
    PALETTEENTRY entries[256];
    UINT count = GetPaletteEntries(FPalette.Get(), 0, 256, entries);
    RGBQUAD colours[256];
    for (UINT i = 0; i < count; ++i)
        colours[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    SetDIBColorTable(GetCanvas()->GetHandle(), 0, count, colours);
}

void TPNGGraphic::ReadBackground(int ColorType, int BitDepth)
{
    ReadChunkData();
    const Byte* data = FRawBuffer.data();
    size_t size = FRawBuffer.size();
    // Chunks too short for their colour type are passed over.
    if ((ColorType == 2 || ColorType == 6) && size >= 6) {
        auto channel = [&](int i) {
            Word sample = BigEndian16(data + 2 * i);
            return static_cast<Byte>(BitDepth == 16 ? sample * 255u / 65535u : sample & 0xFF);
        };
        FBackgroundColor = static_cast<TColor>(RGB(channel(0), channel(1), channel(2)));
    } else if ((ColorType == 0 || ColorType == 4) && size >= 2 && BitDepth >= 1 && BitDepth <= 16) {
        unsigned maxSample = (1u << BitDepth) - 1;
        auto grey = static_cast<Byte>(std::min<unsigned>(BigEndian16(data), maxSample) * 255u / maxSample);
        FBackgroundColor = static_cast<TColor>(RGB(grey, grey, grey));
    } else if (ColorType == 3 && size >= 1 && data[0] < FFileColors.size()) {
        const RGBQUAD& c = FFileColors[data[0]];
        FBackgroundColor = static_cast<TColor>(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
    }
}

void TPNGGraphic::ReadTransparency(int ColorType, int BitDepth)
{
    ReadChunkData();
    const Byte* data = FRawBuffer.data();
    size_t size = FRawBuffer.size();
    switch (ColorType) {
    case 0:
        if (size >= 2 && BitDepth >= 1 && BitDepth <= 16) {
            // Grey as the bitmap's palette holds it: levels spread over 0 to 255.
            unsigned maxSample = (1u << BitDepth) - 1;
            auto grey = static_cast<Byte>(std::min<unsigned>(BigEndian16(data), maxSample) * 255u / maxSample);
            FTransparentColor = static_cast<TColor>(RGB(grey, grey, grey));
        }
        break;
    case 2:
        if (size >= 6) {
            auto channel = [&](int i) {
                Word sample = BigEndian16(data + 2 * i);
                return static_cast<Byte>(BitDepth == 16 ? sample * 255u / 65535u : sample & 0xFF);
            };
            FTransparentColor = static_cast<TColor>(RGB(channel(0), channel(1), channel(2)));
        }
        break;
    case 4:
    case 6:
        break;
    default:
        FTransparency.assign(256, 255);
        std::copy_n(data, std::min<size_t>(size, 256), FTransparency.begin());
        break;
    }
}

// ---------------------------------------------------------------------------
// Image data.
void TPNGGraphic::ReadRow(Byte* Dest, Cardinal Count)
{
    Byte* end = Dest + Count;
    while (Dest < end) {
        Cardinal available =
            FCurrentSource ? static_cast<Cardinal>(FRawBuffer.data() + FIDATSize - FCurrentSource) : 0;
        if (available == 0) {
            do {
                // Image data that ends early leaves the row as far as it got.
                if (!IsChunk("IDAT"))
                    return;
                ReadChunkData();
                FIDATSize = FHeader.Length;
                FCurrentSource = FRawBuffer.data();
                ReadChunkHeader();
            } while (FIDATSize == 0);
            available = FIDATSize;
        }
        FDecoder->Decode(FCurrentSource, Dest, available, static_cast<Cardinal>(end - Dest));
        int result = FDecoder->ZLibResult();
        if (result == Z_STREAM_END) {
            if (FDecoder->AvailableOutput() > 0 || FDecoder->AvailableInput() > 0)
                RaiseGraphic(ExtraCompressedData);
            return;
        }
        if (result != Z_OK)
            RaiseGraphic(CompressionError);
    }
}

void TPNGGraphic::ApplyFilter(Byte Filter, Byte* Line, const Byte* PrevLine, Cardinal Count)
{
    const Cardinal bpp = static_cast<Cardinal>(FSourceBPP);
    switch (Filter) {
    case 1:
        for (Cardinal i = bpp; i < Count; ++i)
            Line[i] = static_cast<Byte>(Line[i] + Line[i - bpp]);
        break;
    case 2:
        for (Cardinal i = 0; i < Count; ++i)
            Line[i] = static_cast<Byte>(Line[i] + PrevLine[i]);
        break;
    case 3:
        for (Cardinal i = 0; i < Count; ++i) {
            int left = i >= bpp ? Line[i - bpp] : 0;
            Line[i] = static_cast<Byte>(Line[i] + ((left + PrevLine[i]) >> 1));
        }
        break;
    case 4:
        for (Cardinal i = 0; i < Count; ++i) {
            int left = i >= bpp ? Line[i - bpp] : 0;
            int upperLeft = i >= bpp ? PrevLine[i - bpp] : 0;
            Line[i] = static_cast<Byte>(Line[i] + PaethPredictor(left, PrevLine[i], upperLeft));
        }
        break;
    default:
        // None, or a filter value PNG does not define: the row stays as read.
        break;
    }
}

void TPNGGraphic::LoadIDAT(const Byte* ImageHeader)
{
    LoadProgress(psStarting, L"Transfering...");
    if (GetPixelFormat() == pfDevice)
        FSourceBPP = SetupColorDepth(FColorType, FBitDepth);
    const int bitDepth = FBitDepth;
    const Int64 samples = bitDepth == 16 ? FSourceBPP / 2 : FSourceBPP;
    const Int64 width = FImageProperties.Width;
    const int height = static_cast<int>(BigEndian32(ImageHeader + 4));
    // Row sizes are worked out in 64 bits: in 32 a wide image wraps to a
    // tiny buffer that the converter would read across.
    const Int64 rowSize = (width * bitDepth + 7) / 8 * samples + 1;
    if (rowSize > 0x7FFFFFFF)
        RaiseGraphic(InvalidImage);

    SetSize(static_cast<int>(width), height);
    SetPaletteOfBitmap();
    {
        TCanvas* canvas = GetCanvas();
        canvas->Lock();
        struct TUnlock {
            TCanvas* c;
            ~TUnlock() { c->Unlock(); }
        } unlock{canvas};
        canvas->GetBrush()->SetColor(FBackgroundColor);
        canvas->FillRect(TRect(0, 0, static_cast<int>(width), height));
    }
    if (FTransparentColor != clNone) {
        SetTransparentColor(FTransparentColor);
        SetTransparent(true);
    }

    std::vector<Byte> current(static_cast<size_t>(rowSize)), previous(static_cast<size_t>(rowSize));
    const auto count = static_cast<Cardinal>(width);
    auto decodeRow = [&](Cardinal size, int y, Byte mask) {
        ReadRow(current.data(), size);
        ApplyFilter(current[0], current.data() + 1, previous.data() + 1, size - 1);
        FColorManager->ConvertRow({current.data() + 1}, GetScanLine(y), count, mask);
        current.swap(previous);
    };
    if (ImageHeader[12] == 1) {
        for (int pass = 0; pass < 7; ++pass) {
            const TPass& p = Adam7[pass];
            if (width <= p.FirstColumn)
                continue;
            Int64 columns = (width + p.ColumnStep - p.FirstColumn - 1) / p.ColumnStep;
            auto passRowSize = static_cast<Cardinal>((columns * bitDepth + 7) / 8 * samples + 1);
            std::fill_n(previous.begin(), passRowSize, Byte(0));
            for (int y = p.FirstRow; y < height; y += p.RowStep) {
                decodeRow(passRowSize, y, p.Mask);
                if (pass == 6)
                    OffsetRect(&FProgressRect, 0, 1);
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            decodeRow(static_cast<Cardinal>(rowSize), y, 0xFF);
            OffsetRect(&FProgressRect, 0, 1);
        }
    }
    Changed(this);
    while (IsChunk("IDAT")) {
        ReadChunkData();
        ReadChunkHeader();
    }
}

// ---------------------------------------------------------------------------
void ApplyPngAlpha(TBitmap* Bmp, TPNGGraphic* Png)
{
    if (!Bmp || !Png)
        return;
    bool wasTransparent = Bmp->GetTransparent();
    Bmp->Assign(Png);
    if (Png->GetEmpty() || Bmp->GetEmpty())
        return;
    const int width = Bmp->GetWidth(), height = Bmp->GetHeight();
    const TImageProperties& properties = Png->GetImageProperties();
    const int pngBits = BitsOf(Png->GetPixelFormat());
    auto alphaOf = [&](TBitmap* bmp, int y) { return static_cast<Byte*>(bmp->GetScanLine(y)); };

    if (properties.ColorScheme == csIndexed && !Png->Transparency().empty() && pngBits > 0) {
        Bmp->SetPixelFormat(pf32bit);
        // A 2-bit image sits in a 4-bit bitmap as 0, 5, 10, 15; its alpha
        // table follows the file's indexes 0 to 3.
        const unsigned fileMax = (1u << std::min<int>(Png->FileBitDepth(), pngBits)) - 1;
        const unsigned storedMax = (1u << pngBits) - 1;
        for (int y = 0; y < height; ++y) {
            const auto* row = static_cast<const Byte*>(Png->GetScanLine(y));
            Byte* pixels = alphaOf(Bmp, y);
            for (int x = 0; x < width; ++x) {
                unsigned index = PackedValue(row, x, pngBits) * fileMax / storedMax;
                pixels[4 * x + 3] = Png->Transparency()[index];
            }
        }
        return;
    }
    if (Bmp->GetPixelFormat() == pf32bit)
        return;
    Bmp->SetPixelFormat(pf32bit);
    const bool useGamma = properties.Options.Contains(ioUseGamma);
    if (useGamma && Png->ColorManager()->GetSourcePixelFormat() != pf24bit && pngBits > 0) {
        const Byte* gamma = Png->ColorManager()->GetGammaTable();
        for (int y = 0; y < height; ++y) {
            const auto* row = static_cast<const Byte*>(Png->GetScanLine(y));
            Byte* pixels = alphaOf(Bmp, y);
            for (int x = 0; x < width; ++x) {
                Byte value = gamma[PackedValue(row, x, pngBits)];
                pixels[4 * x] = pixels[4 * x + 1] = pixels[4 * x + 2] = 0;
                pixels[4 * x + 3] = static_cast<Byte>(255 - value);
            }
        }
        return;
    }
    Cardinal key = 0;
    bool keyed = !useGamma && wasTransparent;
    if (keyed)
        key = *reinterpret_cast<const Cardinal*>(alphaOf(Bmp, height - 1)) & 0xFFFFFF;
    for (int y = 0; y < height; ++y) {
        auto* pixels = reinterpret_cast<Cardinal*>(alphaOf(Bmp, y));
        for (int x = 0; x < width; ++x)
            if (!keyed || (pixels[x] & 0xFFFFFF) != key)
                pixels[x] |= 0xFF000000;
    }
}

// ---------------------------------------------------------------------------
namespace {

// The image's colours over the target by its own alpha at full opacity, as
// the skin library's general copy mixes them, the target keeping the larger
// alpha.
void BlendOnto(TBitmap* Target, TBitmap* Source)
{
    const TRect area(0, 0, std::min(Target->GetWidth(), Source->GetWidth()),
                     std::min(Target->GetHeight(), Source->GetHeight()));
    CopyRectWithAlpha(area, area, Target, false, 0, clNone, false, TCacheInfo(), Source);
}

// An 8-bit bitmap whose colour table is a grey ramp, so that stretching it
// carries the byte values through unchanged.
TOwned<TBitmap> ByteBitmap(int Width, int Height)
{
    TOwned<TBitmap> bmp(New<TBitmap>());
    bmp->SetPixelFormat(pf8bit);
    bmp->SetSize(Width, Height);
    RGBQUAD ramp[256];
    for (int i = 0; i < 256; ++i)
        ramp[i] = RGBQUAD{Byte(i), Byte(i), Byte(i), 0};
    SetDIBColorTable(bmp->GetCanvas()->GetHandle(), 0, 256, ramp);
    return bmp;
}

void StretchInto(TBitmap* Target, TBitmap* Source)
{
    HDC dc = Target->GetCanvas()->GetHandle();
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, Target->GetWidth(), Target->GetHeight(), Source->GetCanvas()->GetHandle(), 0, 0,
               Source->GetWidth(), Source->GetHeight(), SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    GdiFlush();
}

} // namespace

void TPNGGraphic::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (GetPixelFormat() != pf32bit || GetEmpty()) {
        TBitmap::Draw(ACanvas, Rect);
        return;
    }
    int w = Rect.Width(), h = Rect.Height();
    if (w <= 0 || h <= 0)
        return;
    TOwned<TBitmap> work(MakeBitmap32(w, h));
    if (work->GetEmpty())
        return;
    HDC canvasDC = ACanvas->GetHandle();
    BitBlt(work->GetCanvas()->GetHandle(), 0, 0, w, h, canvasDC, Rect.left, Rect.top, SRCCOPY);
    GdiFlush();
    if (w == GetWidth() && h == GetHeight()) {
        BlendOnto(work.get(), this);
    } else {
        TOwned<TBitmap> stretched(New<TBitmap>());
        stretched->SetSize(w, h);
        StretchInto(stretched.get(), this);
        stretched->SetPixelFormat(pf32bit);
        TOwned<TBitmap> alpha(ByteBitmap(GetWidth(), GetHeight()));
        TransferChannel8(this, alpha.get(), 3, true);
        TOwned<TBitmap> stretchedAlpha(ByteBitmap(w, h));
        StretchInto(stretchedAlpha.get(), alpha.get());
        TransferChannel8(stretched.get(), stretchedAlpha.get(), 3, false);
        BlendOnto(work.get(), stretched.get());
    }
    ACanvas->Changing();
    BitBlt(canvasDC, Rect.left, Rect.top, w, h, work->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    ACanvas->Changed();
}

// ---------------------------------------------------------------------------
void acPNG_Initialize()
{
    if (!KeepStdPngClass)
        TPicture::UnregisterGraphicClass(GraphicClass<TPngImage>());
    TPicture::RegisterFileFormat(L"png", L"Portable network graphics (skin library)", GraphicClass<TPNGGraphic>());
    if (!KeepStdPngClass)
        TPicture::RegisterFileFormat(L"PNG", L"Portable Network Graphics", GraphicClass<TPngImage>());
}

void acPNG_Finalize() { TPicture::UnregisterGraphicClass(GraphicClass<TPNGGraphic>()); }
