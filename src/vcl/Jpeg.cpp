// TJPEGImage over libjpeg.
#include "Jpeg.h"
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// jconfig.h takes "boolean" from the platform headers when they came first.
extern "C" {
#include <jpeglib.h>
}

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
// It jumps back to the caller's setjmp, so no C++ object may live between
// the setjmp and the library calls; the helpers below keep to plain data.
struct TJpegError {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info)
{
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    info->err->format_message(info, error->Message);
    std::longjmp(error->Jump, 1);
}

// Warnings (a truncated file, for one) leave a usable image; stay quiet.
void OutputMessage(j_common_ptr) {}

String WideMessage(const char* message)
{
    return L"JPEG error: " + String(message, message + std::strlen(message));
}

struct THeader {
    int Width;
    int Height;
};

// Reads the header only; false with a message when the data is no JPEG.
bool ReadJpegHeader(const Byte* data, size_t size, THeader* header, TJpegError* error)
{
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&error->Manager);
    error->Manager.error_exit = ErrorExit;
    error->Manager.output_message = OutputMessage;
    if (setjmp(error->Jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<Byte*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    header->Width = static_cast<int>(info.image_width);
    header->Height = static_cast<int>(info.image_height);
    jpeg_destroy_decompress(&info);
    return true;
}

struct TDecodeTarget {
    int Denominator;   // 1, 2, 4 or 8
    bool Grayscale;
    bool Fast;
    // Filled by the first call (Rows null) with the output size.
    int Width;
    int Height;
    Byte** Rows;       // one BGR row per output line, top first
};

bool DecodeJpeg(const Byte* data, size_t size, TDecodeTarget* target, TJpegError* error)
{
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&error->Manager);
    error->Manager.error_exit = ErrorExit;
    error->Manager.output_message = OutputMessage;
    // volatile: it changes between setjmp and a possible longjmp.
    Byte* volatile greyRow = nullptr;
    if (setjmp(error->Jump)) {
        std::free(greyRow);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<Byte*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(target->Denominator);
    info.out_color_space = target->Grayscale ? JCS_GRAYSCALE : JCS_EXT_BGR;
    if (target->Fast) {
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
    }
    if (!target->Rows) {
        jpeg_calc_output_dimensions(&info);
        target->Width = static_cast<int>(info.output_width);
        target->Height = static_cast<int>(info.output_height);
        jpeg_destroy_decompress(&info);
        return true;
    }
    jpeg_start_decompress(&info);
    if (target->Grayscale)
        greyRow = static_cast<Byte*>(std::malloc(info.output_width));
    while (info.output_scanline < info.output_height) {
        Byte* row = target->Rows[info.output_scanline];
        JSAMPROW into = target->Grayscale ? greyRow : row;
        jpeg_read_scanlines(&info, &into, 1);
        if (target->Grayscale)
            for (JDIMENSION x = 0; x < info.output_width; ++x)
                row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = greyRow[x];
    }
    jpeg_finish_decompress(&info);
    std::free(greyRow);
    jpeg_destroy_decompress(&info);
    return true;
}

struct TEncodeSource {
    int Width;
    int Height;
    Byte** Rows; // BGR, top first
    int Quality;
    bool Grayscale;
    bool Progressive;
    // The result, allocated by libjpeg with malloc.
    unsigned char* Output;
    unsigned long OutputSize;
};

bool EncodeJpeg(TEncodeSource* source, TJpegError* error)
{
    jpeg_compress_struct info{};
    info.err = jpeg_std_error(&error->Manager);
    error->Manager.error_exit = ErrorExit;
    error->Manager.output_message = OutputMessage;
    if (setjmp(error->Jump)) {
        jpeg_destroy_compress(&info);
        std::free(source->Output);
        source->Output = nullptr;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &source->Output, &source->OutputSize);
    info.image_width = static_cast<JDIMENSION>(source->Width);
    info.image_height = static_cast<JDIMENSION>(source->Height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, source->Quality, TRUE);
    if (source->Grayscale)
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (source->Progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = source->Rows[info.next_scanline];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

int Denominator(TJPEGScale scale) { return 1 << static_cast<int>(scale); }

} // namespace

// ---------------------------------------------------------------------------
TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::GetEmpty() const { return data_.empty() && (!bitmap_ || bitmap_->GetEmpty()); }

int TJPEGImage::GetWidth() const
{
    if (bitmap_)
        return bitmap_->GetWidth();
    return (storedWidth_ + Denominator(scale_) - 1) / Denominator(scale_);
}

int TJPEGImage::GetHeight() const
{
    if (bitmap_)
        return bitmap_->GetHeight();
    return (storedHeight_ + Denominator(scale_) - 1) / Denominator(scale_);
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }

void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }

void TJPEGImage::DropBitmap()
{
    // Only a bitmap decoded from the bytes can be made again; one that the
    // image came from is all there is until it has been encoded.
    if (!data_.empty())
        bitmap_.reset();
}

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange Value)
{
    quality_ = std::clamp(Value, 1, 100);
}

void TJPEGImage::SetGrayscale(bool Value)
{
    if (!StoreChanged(grayscale_, Value))
        return;
    DropBitmap();
    Changed(this);
}

void TJPEGImage::SetPerformance(TJPEGPerformance Value)
{
    if (!StoreChanged(performance_, Value))
        return;
    DropBitmap();
    Changed(this);
}

void TJPEGImage::SetScale(TJPEGScale Value)
{
    if (!StoreChanged(scale_, Value))
        return;
    DropBitmap();
    Changed(this);
}

void TJPEGImage::ReadHeader()
{
    THeader header{};
    TJpegError error{};
    if (!ReadJpegHeader(data_.data(), data_.size(), &header, &error))
        throw EInvalidGraphic(WideMessage(error.Message));
    storedWidth_ = header.Width;
    storedHeight_ = header.Height;
}

void TJPEGImage::LoadFromStream(TStream* Stream)
{
    Int64 size = Stream->GetSize() - Stream->GetPosition();
    std::vector<Byte> bytes(static_cast<size_t>(std::max<Int64>(size, 0)));
    if (!bytes.empty())
        Stream->ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    THeader header{};
    TJpegError error{};
    if (bytes.empty() || !ReadJpegHeader(bytes.data(), bytes.size(), &header, &error))
        throw EInvalidGraphic(bytes.empty() ? String(L"JPEG image is empty") : WideMessage(error.Message));
    data_ = std::move(bytes);
    storedWidth_ = header.Width;
    storedHeight_ = header.Height;
    bitmap_.reset();
    Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream)
{
    JPEGNeeded();
    if (!data_.empty())
        Stream->WriteBuffer(data_.data(), static_cast<Int64>(data_.size()));
}

void TJPEGImage::DIBNeeded()
{
    if (bitmap_ || data_.empty())
        return;
    TDecodeTarget target{Denominator(scale_), grayscale_, performance_ == jpBestSpeed, 0, 0, nullptr};
    TJpegError error{};
    if (!DecodeJpeg(data_.data(), data_.size(), &target, &error))
        throw EInvalidGraphic(WideMessage(error.Message));
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(target.Width, target.Height);
    std::vector<Byte*> rows(static_cast<size_t>(target.Height));
    for (int y = 0; y < target.Height; ++y)
        rows[static_cast<size_t>(y)] = static_cast<Byte*>(bitmap->GetScanLine(y));
    target.Rows = rows.data();
    if (!DecodeJpeg(data_.data(), data_.size(), &target, &error))
        throw EInvalidGraphic(WideMessage(error.Message));
    bitmap_ = std::move(bitmap);
}

void TJPEGImage::Compress()
{
    if (!bitmap_ || bitmap_->GetEmpty())
        return;
    TOwned<TBitmap> rgb(New<TBitmap>());
    rgb->Assign(bitmap_.get());
    rgb->SetPixelFormat(pf24bit);
    std::vector<Byte*> rows(static_cast<size_t>(rgb->GetHeight()));
    for (int y = 0; y < rgb->GetHeight(); ++y)
        rows[static_cast<size_t>(y)] = static_cast<Byte*>(rgb->GetScanLine(y));
    TEncodeSource source{rgb->GetWidth(), rgb->GetHeight(), rows.data(), quality_, grayscale_,
                         progressive_, nullptr, 0};
    TJpegError error{};
    if (!EncodeJpeg(&source, &error))
        throw EInvalidGraphic(WideMessage(error.Message));
    data_.assign(source.Output, source.Output + source.OutputSize);
    std::free(source.Output);
    ReadHeader();
}

void TJPEGImage::JPEGNeeded()
{
    if (data_.empty())
        Compress();
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    DIBNeeded();
    if (bitmap_)
        ACanvas->StretchDraw(Rect, bitmap_.get());
}

void TJPEGImage::Assign(TPersistent* Source)
{
    if (!Source) {
        data_.clear();
        bitmap_.reset();
        storedWidth_ = storedHeight_ = 0;
        Changed(this);
    } else if (auto* jpeg = dynamic_cast<TJPEGImage*>(Source)) {
        if (jpeg == this)
            return;
        data_ = jpeg->data_;
        storedWidth_ = jpeg->storedWidth_;
        storedHeight_ = jpeg->storedHeight_;
        quality_ = jpeg->quality_;
        grayscale_ = jpeg->grayscale_;
        progressive_ = jpeg->progressive_;
        performance_ = jpeg->performance_;
        scale_ = jpeg->scale_;
        bitmap_.reset();
        if (jpeg->bitmap_) {
            bitmap_.reset(New<TBitmap>());
            bitmap_->Assign(jpeg->bitmap_.get());
        }
        Changed(this);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        // Encoded when the bytes are first needed, with the settings of then.
        TOwned<TBitmap> copy(New<TBitmap>());
        copy->Assign(bitmap);
        copy->SetPixelFormat(pf24bit);
        data_.clear();
        storedWidth_ = copy->GetWidth();
        storedHeight_ = copy->GetHeight();
        bitmap_ = std::move(copy);
        Changed(this);
    } else {
        TGraphic::Assign(Source);
    }
}

void TJPEGImage::AssignTo(TPersistent* Dest)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
        DIBNeeded();
        bitmap->Assign(bitmap_.get());
    } else {
        TGraphic::AssignTo(Dest);
    }
}

// ---------------------------------------------------------------------------
void Jpeg_Initialize()
{
    for (const wchar_t* ext : {L"jpeg", L"jpg", L"jpe", L"jfif"})
        TPicture::RegisterFileFormat(ext, L"JPEG Image File", GraphicClass<TJPEGImage>());
}

void Jpeg_Finalize() { TPicture::UnregisterGraphicClass(GraphicClass<TJPEGImage>()); }
