// The OLE picture graphic: bytes kept as loaded, decoded by oleaut32.
#include "AdvImage.h"
#include "ExtCtrls.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include <cstring>

TAdvImage::TAdvImage() : FDatastream(New<TMemoryStream>()) {}

TAdvImage::~TAdvImage() = default;

void TAdvImage::MakeEmpty()
{
    FIsEmpty = true;
    gpPicture.Release();
    FDatastream->Clear();
}

void TAdvImage::TakeBytes(TStream* Stream, Int64 Count)
{
    FDatastream->Clear();
    if (Count > 0)
        FDatastream->CopyFrom(Stream, Count);
    FIsEmpty = false;
}

void TAdvImage::Decode()
{
    // Whatever fails below, bytes that cannot be drawn are not kept as a picture.
    bool decoded = false;
    const TScopeExit emptyOnFailure([this, &decoded] {
        if (!decoded)
            MakeEmpty();
    });
    const SIZE_T size = static_cast<SIZE_T>(FDatastream->GetSize());
    TGlobalMemory block(GMEM_MOVEABLE, size);
    if (!block)
        throw Exception(L"Could not allocate memory for image");
    if (size > 0) {
        const TGlobalLock target(block.Get());
        if (target.Data())
            std::memcpy(target.Data(), FDatastream->Memory(), size);
    }
    TComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream.ReleaseAndGetAddressOf())))
        throw Exception(L"Could not create image stream");
    block.Release(); // the stream frees it when released
    if (!stream)
        throw Exception(L"Empty image stream created");
    gpPicture.Release();
    const HRESULT hr = OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(gpPicture.ReleaseAndGetAddressOf()));
    if (FAILED(hr))
        throw Exception(L"Could not load image. Invalid format");
    if (!gpPicture)
        throw Exception(L"Could not load image");
    decoded = true;
}

void TAdvImage::Assign(TPersistent* Source)
{
    FIsEmpty = true;
    gpPicture.Release();
    TGraphic* graphic = nullptr;
    if (!Source) {
        FDatastream->Clear();
        Changed(this);
        return;
    }
    if (auto* image = dynamic_cast<TAdvImage*>(Source)) {
        if (image == this)
            return;
        if (image->FIsEmpty) {
            FDatastream->Clear();
        } else {
            image->FDatastream->SetPosition(0);
            TakeBytes(image->FDatastream.get(), image->FDatastream->GetSize());
            Decode();
        }
        Changed(this);
        return;
    }
    if (auto* control = dynamic_cast<TImage*>(Source))
        graphic = control->GetPicture()->GetGraphic();
    else if (auto* picture = dynamic_cast<TPicture*>(Source))
        graphic = picture->GetGraphic();
    else if (auto* other = dynamic_cast<TGraphic*>(Source))
        graphic = other;
    else {
        TGraphic::Assign(Source);
        return;
    }
    FDatastream->Clear();
    if (graphic && !graphic->GetEmpty()) {
        TOwned<TMemoryStream> bytes(New<TMemoryStream>());
        graphic->SaveToStream(bytes.get());
        bytes->SetPosition(0);
        TakeBytes(bytes.get(), bytes->GetSize());
        Decode();
    }
    Changed(this);
}

int TAdvImage::GetWidth() const
{
    OLE_XSIZE_HIMETRIC width = 0;
    if (!gpPicture || FAILED(gpPicture->get_Width(&width)))
        return 0;
    return MulDiv(width, FLogPixX, 2540);
}

int TAdvImage::GetHeight() const
{
    OLE_YSIZE_HIMETRIC height = 0;
    if (!gpPicture || FAILED(gpPicture->get_Height(&height)))
        return 0;
    return MulDiv(height, fLogPixY, 2540);
}

void TAdvImage::LoadFromStream(TStream* Stream)
{
    if (!Stream)
        return;
    Stream->SetPosition(0);
    TakeBytes(Stream, Stream->GetSize());
    Decode();
    Changed(this);
}

void TAdvImage::LoadFromFile(const String& FileName)
{
    try {
        TOwned<TMemoryStream> bytes(New<TMemoryStream>());
        bytes->LoadFromFile(FileName);
        LoadFromStream(bytes.get());
    } catch (const Exception&) {
        MakeEmpty();
    }
}

void TAdvImage::SaveToStream(TStream* Stream)
{
    if (Stream && FDatastream->GetSize() > 0)
        Stream->WriteBuffer(FDatastream->Memory(), FDatastream->GetSize());
}

void TAdvImage::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    TOwned<TResourceStream> resource(New<TResourceStream>(Instance, ResName, RT_RCDATA));
    LoadFromStream(resource.get());
}

void TAdvImage::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
    TOwned<TResourceStream> resource(New<TResourceStream>(Instance, ResID, RT_RCDATA));
    LoadFromStream(resource.get());
}

void TAdvImage::ReadData(TStream* Stream)
{
    if (!Stream)
        return;
    TakeBytes(Stream, Stream->GetSize() - Stream->GetPosition());
    Decode();
}

void TAdvImage::WriteData(TStream* Stream)
{
    SaveToStream(Stream);
}

void TAdvImage::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (FIsEmpty || !gpPicture)
        return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    gpPicture->get_Width(&width);
    gpPicture->get_Height(&height);
    // HIMETRIC runs upwards: the source starts at its bottom edge with a
    // negative height, which puts the picture upright in Rect.
    gpPicture->Render(ACanvas->GetHandle(), Rect.left, Rect.top, Rect.right - Rect.left,
                      Rect.bottom - Rect.top, 0, height, width, -height, &Rect);
}
