// TPngImage over the platform's imaging component (WIC).
#include "PngImage.h"
#include "ComObj.h"
#include <cstring>
#include <wincodec.h>

namespace {

constexpr const wchar_t* InvalidPng = L"PNG image is not valid";

TComPtr<IWICImagingFactory> ImagingFactory()
{
    TComPtr<IWICImagingFactory> factory;
    OleCheck(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf())));
    return factory;
}

// Decodes PNG bytes into a 32-bit bitmap with straight alpha.
TOwned<TBitmap> DecodePng(const std::vector<Byte>& bytes)
{
    TComInitializer com; // WIC needs COM on this thread
    TComPtr<IWICImagingFactory> factory = ImagingFactory();
    TComPtr<IWICStream> stream;
    TComPtr<IWICBitmapDecoder> decoder;
    TComPtr<IWICBitmapFrameDecode> frame;
    TComPtr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    bool decoded = SUCCEEDED(factory->CreateStream(stream.ReleaseAndGetAddressOf())) &&
                   SUCCEEDED(stream->InitializeFromMemory(const_cast<Byte*>(bytes.data()),
                                                          static_cast<DWORD>(bytes.size()))) &&
                   SUCCEEDED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr,
                                                    decoder.ReleaseAndGetAddressOf())) &&
                   SUCCEEDED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) &&
                   SUCCEEDED(decoder->GetFrame(0, frame.ReleaseAndGetAddressOf())) &&
                   SUCCEEDED(factory->CreateFormatConverter(converter.ReleaseAndGetAddressOf())) &&
                   SUCCEEDED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                                   WICBitmapDitherTypeNone, nullptr, 0,
                                                   WICBitmapPaletteTypeCustom)) &&
                   SUCCEEDED(converter->GetSize(&width, &height)) && width > 0 && height > 0;
    if (!decoded)
        throw EInvalidGraphic(InvalidPng);

    TOwned<TBitmap> image(New<TBitmap>());
    image->SetPixelFormat(pf32bit);
    image->SetSize(static_cast<int>(width), static_cast<int>(height));
    const UINT stride = width * 4;
    for (UINT y = 0; y < height; ++y) {
        WICRect row{0, static_cast<INT>(y), static_cast<INT>(width), 1};
        if (FAILED(converter->CopyPixels(&row, stride, stride, static_cast<BYTE*>(image->GetScanLine(static_cast<int>(y))))))
            throw EInvalidGraphic(InvalidPng);
    }
    image->SetAlphaFormat(afDefined);
    return image;
}

std::vector<Byte> EncodePng(TBitmap* image)
{
    TComInitializer com; // WIC needs COM on this thread
    TComPtr<IWICImagingFactory> factory = ImagingFactory();
    TComPtr<IStream> stream;
    OleCheck(CreateStreamOnHGlobal(nullptr, TRUE, stream.ReleaseAndGetAddressOf()));
    TComPtr<IWICBitmapEncoder> encoder;
    TComPtr<IWICBitmapFrameEncode> frame;
    OleCheck(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.ReleaseAndGetAddressOf()));
    OleCheck(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache));
    OleCheck(encoder->CreateNewFrame(frame.ReleaseAndGetAddressOf(), nullptr));
    OleCheck(frame->Initialize(nullptr));
    const UINT width = static_cast<UINT>(image->GetWidth()), height = static_cast<UINT>(image->GetHeight());
    OleCheck(frame->SetSize(width, height));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    OleCheck(frame->SetPixelFormat(&format));
    if (format != GUID_WICPixelFormat32bppBGRA)
        throw EInvalidGraphic(L"PNG encoder does not take 32-bit pixels");
    const UINT stride = width * 4;
    for (UINT y = 0; y < height; ++y)
        OleCheck(frame->WritePixels(1, stride, stride, static_cast<BYTE*>(image->GetScanLine(static_cast<int>(y)))));
    OleCheck(frame->Commit());
    OleCheck(encoder->Commit());

    HGLOBAL memory = nullptr;
    OleCheck(GetHGlobalFromStream(stream.Get(), &memory));
    STATSTG stat{};
    OleCheck(stream->Stat(&stat, STATFLAG_NONAME));
    TGlobalLock lock(memory);
    auto* bytes = static_cast<const Byte*>(lock.Data());
    if (!bytes)
        throw EOutOfResources(L"Out of system resources");
    return {bytes, bytes + stat.cbSize.QuadPart};
}

bool AnyTranslucent(TBitmap* image)
{
    for (int y = 0; y < image->GetHeight(); ++y) {
        const auto* row = static_cast<const Byte*>(image->GetScanLine(y));
        for (int x = 0; x < image->GetWidth(); ++x)
            if (row[x * 4 + 3] != 255)
                return true;
    }
    return false;
}

} // namespace

TPngImage::TPngImage() = default;

TPngImage::~TPngImage() = default;

bool TPngImage::GetEmpty() const { return !image_ || image_->GetEmpty(); }

int TPngImage::GetWidth() const { return image_ ? image_->GetWidth() : 0; }

int TPngImage::GetHeight() const { return image_ ? image_->GetHeight() : 0; }

void TPngImage::TakeImage(TOwned<TBitmap> image)
{
    image_ = std::move(image);
    hasAlpha_ = image_ && !image_->GetEmpty() && AnyTranslucent(image_.get());
    if (image_)
        image_->SetAlphaFormat(hasAlpha_ ? afDefined : afIgnored);
}

void TPngImage::SetSize(int AWidth, int AHeight)
{
    if (AWidth == GetWidth() && AHeight == GetHeight())
        return;
    TOwned<TBitmap> resized(New<TBitmap>());
    resized->SetPixelFormat(pf32bit);
    if (image_)
        resized->Assign(image_.get());
    // The new area starts fully transparent.
    resized->GetCanvas()->GetBrush()->SetColor(clBlack);
    resized->SetSize(AWidth, AHeight);
    data_.clear();
    TakeImage(std::move(resized));
    Changed(this);
}

const DWORD* TPngImage::Pixel(int X, int Y) const
{
    if (GetEmpty() || X < 0 || Y < 0 || X >= GetWidth() || Y >= GetHeight())
        throw EInvalidGraphicOperation(L"Pixel index out of range");
    return static_cast<const DWORD*>(image_->GetScanLine(Y)) + X;
}

TColor TPngImage::GetPixel(int X, int Y) const
{
    DWORD p = *Pixel(X, Y);
    return static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
}

Byte TPngImage::GetAlpha(int X, int Y) const { return static_cast<Byte>(*Pixel(X, Y) >> 24); }

void TPngImage::LoadFromStream(TStream* Stream)
{
    Int64 size = Stream->GetSize() - Stream->GetPosition();
    if (size <= 0)
        throw EInvalidGraphic(InvalidPng);
    std::vector<Byte> bytes(static_cast<size_t>(size));
    Stream->ReadBuffer(bytes.data(), size);
    TakeImage(DecodePng(bytes));
    data_ = std::move(bytes);
    Changed(this);
}

void TPngImage::SaveToStream(TStream* Stream)
{
    if (GetEmpty())
        return;
    if (data_.empty())
        data_ = EncodePng(image_.get());
    Stream->WriteBuffer(data_.data(), static_cast<Int64>(data_.size()));
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!GetEmpty())
        ACanvas->StretchDraw(Rect, image_.get());
}

void TPngImage::Assign(TPersistent* Source)
{
    if (!Source) {
        image_.reset();
        data_.clear();
        hasAlpha_ = false;
        Changed(this);
    } else if (auto* png = dynamic_cast<TPngImage*>(Source)) {
        if (png == this)
            return;
        TOwned<TBitmap> copy;
        if (png->image_) {
            copy.reset(New<TBitmap>());
            copy->Assign(png->image_.get());
        }
        TakeImage(std::move(copy));
        data_ = png->data_;
        Changed(this);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        // A bitmap's fourth byte is alpha only when the bitmap says so.
        bool keepAlpha = bitmap->GetPixelFormat() == pf32bit && bitmap->GetAlphaFormat() != afIgnored;
        TOwned<TBitmap> copy(New<TBitmap>());
        copy->Assign(bitmap);
        copy->SetPixelFormat(pf32bit);
        copy->SetAlphaFormat(afIgnored);
        if (!copy->GetEmpty()) {
            for (int y = 0; y < copy->GetHeight(); ++y) {
                auto* row = static_cast<Byte*>(copy->GetScanLine(y));
                for (int x = 0; x < copy->GetWidth(); ++x) {
                    Byte* p = row + x * 4;
                    if (!keepAlpha)
                        p[3] = 255;
                    else if (bitmap->GetAlphaFormat() == afPremultiplied && p[3] != 0)
                        for (int c = 0; c < 3; ++c)
                            p[c] = static_cast<Byte>(std::min(255, p[c] * 255 / p[3]));
                }
            }
        }
        data_.clear();
        TakeImage(std::move(copy));
        Changed(this);
    } else {
        TGraphic::Assign(Source);
    }
}

void TPngImage::AssignTo(TPersistent* Dest)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
        if (GetEmpty())
            bitmap->Assign(nullptr);
        else
            bitmap->Assign(image_.get());
    } else {
        TGraphic::AssignTo(Dest);
    }
}

// ---------------------------------------------------------------------------
void PngImage_Initialize()
{
    TPicture::RegisterFileFormat(L"png", L"Portable Network Graphics", GraphicClass<TPngImage>());
}

void PngImage_Finalize() { TPicture::UnregisterGraphicClass(GraphicClass<TPngImage>()); }
