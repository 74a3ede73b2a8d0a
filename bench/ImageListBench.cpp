// The skinned image lists against the platform doing the same work:
// - rebuilding an alpha image list of 200 PNG items at 24 x 24 against
//   decoding the same files with WIC, scaling them and adding them with
//   ImageList_Add;
// - rendering one icon-font glyph with its coverage turned into alpha
//   against a plain DrawTextW of the same character into a DIB of the same size;
// - one cross-fade frame of a state animation (CrossFadeStep, painted into
//   the window DC) at button and form sizes against one AlphaBlend of the
//   same bitmaps.
#include <windows.h>
#include <wincodec.h>
#include <shlwapi.h>
#include <cstdio>
#include <vector>
#include "BenchClock.h"
#include "ComObj.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "PngWriter.h"
#include "SysUtils.h"
#include "acAlphaImageList.h"
#include "acThdTimer.h"
#include "acGraphicsStartup.h"
#include "sGraphUtils.h"

namespace {

template <class F>
double MedianSeconds(int rounds, F&& round)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = bench::Seconds();
        round();
        times.push_back(bench::Seconds() - start);
    }
    return bench::Median(std::move(times));
}

std::string PngFile(uint32_t seed)
{
    pngwriter::Image image = pngwriter::MakeImage(32, 32, 6, 8, seed);
    return pngwriter::Encode(image);
}

// WIC: decode, convert to premultiplied-free BGRA, scale to Size and add.
void AddWithWic(IWICImagingFactory* factory, HIMAGELIST list, const std::string& file, int size)
{
    TComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(reinterpret_cast<const BYTE*>(file.data()), static_cast<UINT>(file.size())));
    TComPtr<IWICBitmapDecoder> decoder;
    TComPtr<IWICBitmapFrameDecode> frame;
    TComPtr<IWICFormatConverter> converter;
    TComPtr<IWICBitmapScaler> scaler;
    if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.ReleaseAndGetAddressOf())) ||
        FAILED(decoder->GetFrame(0, frame.ReleaseAndGetAddressOf())) ||
        FAILED(factory->CreateFormatConverter(converter.ReleaseAndGetAddressOf())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(factory->CreateBitmapScaler(scaler.ReleaseAndGetAddressOf())) ||
        FAILED(scaler->Initialize(converter.Get(), static_cast<UINT>(size), static_cast<UINT>(size),
                                  WICBitmapInterpolationModeFant)))
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib)
        return;
    scaler->CopyPixels(nullptr, static_cast<UINT>(size * 4), static_cast<UINT>(size * size * 4), static_cast<BYTE*>(bits));
    ImageList_Add(list, dib.Get(), nullptr);
}

// One frame of each at a button's and a form's size, on a shown form.
void CrossFadeFrames()
{
    std::printf("cross-fade frame against one AlphaBlend of the same bitmaps (median of 7):\n");
    const struct { const char* name; int width, height; } sizes[] = {{"button", 80, 25}, {"form", 800, 600}};
    for (const auto& size : sizes) {
        TOwned<TForm> form(New<TForm>(nullptr));
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, size.width, size.height);
        form->Show();
        TOwned<TsCommonData> data(New<TsCommonData>(form.get()));
        PrepareAnimTimer(data->AnimTimer, form.get(), 1);
        TacThreadedTimer* timer = data->AnimTimer;
        TacThreadedTimer::CopyFrom(timer->BmpFrom, nullptr, TRect(0, 0, size.width, size.height));
        TacThreadedTimer::CopyFrom(timer->BmpTo, nullptr, TRect(0, 0, size.width, size.height));
        timer->AnimData = data.get();
        timer->State = 1;
        timer->Iterations = 1 << 30;
        timer->Glow = 128;
        timer->GlowStep = 0;
        const int frames = size.width > 100 ? 50 : 2000;
        const double fade = MedianSeconds(7, [&] {
            for (int i = 0; i < frames; ++i)
                CrossFadeStep(data.get(), 1);
            GdiFlush();
        });
        TOwned<TBitmap> out(MakeBitmap32(size.width, size.height));
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, 0};
        const double plain = MedianSeconds(7, [&] {
            for (int i = 0; i < frames; ++i)
                AlphaBlend(out->GetCanvas()->GetHandle(), 0, 0, size.width, size.height,
                           timer->BmpTo->GetCanvas()->GetHandle(), 0, 0, size.width, size.height, blend);
            GdiFlush();
        });
        std::printf("  %-6s %4d x %-4d CrossFadeStep %8.4f ms, AlphaBlend %8.4f ms, ratio %.2f\n", size.name,
                    size.width, size.height, fade / frames * 1e3, plain / frames * 1e3, fade / plain);
        timer->Free();
        data.reset();
    }
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    acFontStore_Initialize();
    acAlphaImageList_Initialize();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    // 200 PNG items at 24 x 24.
    const int count = 200, size = 24;
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i)
        files.push_back(PngFile(static_cast<uint32_t>(i + 1)));
    TOwned<TsAlphaImageList> list(New<TsAlphaImageList>(nullptr));
    list->SetWidth(size);
    list->SetHeight(size);
    for (const std::string& file : files) {
        TOwned<TMemoryStream> stream(New<TMemoryStream>());
        stream->WriteBuffer(file.data(), static_cast<Int64>(file.size()));
        stream->SetPosition(0);
        list->TryLoadFromPngStream(stream.get());
    }
    const double generate = MedianSeconds(7, [&] { list->GenerateStdList(); });

    TComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf()));
    const double wic = MedianSeconds(7, [&] {
        TImageListHandle native(ImageList_Create(size, size, ILC_COLOR32, 0, 4));
        for (const std::string& file : files)
            AddWithWic(factory.Get(), native.Get(), file, size);
    });
    std::printf("alpha image list of %d PNG items at %d x %d (median of 7):\n", list->Count(), size, size);
    std::printf("  GenerateStdList                 %9.2f ms\n", generate * 1e3);
    std::printf("  WIC decode + scale + ImageList_Add %6.2f ms\n", wic * 1e3);
    std::printf("ratio GenerateStdList / WIC: %.2f\n", generate / wic);

    // One glyph of the icon font at 24 x 24.
    TOwned<TsCharImageList> chars(New<TsCharImageList>(nullptr));
    TacCharItemData check;
    check.Char = 0xF00C;
    chars->AddItem(check);
    TOwned<TBitmap> target(MakeBitmap32(size, size));
    const int glyphs = 2000;
    const double render = MedianSeconds(7, [&] {
        for (int i = 0; i < glyphs; ++i)
            chars->RenderCharGlyph(target.get(), 0, 0, size);
    });
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TMemoryDC dc;
    TSelectObject selectBitmap(dc.Get(), dib.Get());
    TFontHandle font(CreateFontW(size, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"FontAwesome"));
    TSelectObject selectFont(dc.Get(), font.Get());
    const wchar_t character = 0xF00C;
    const double plain = MedianSeconds(7, [&] {
        for (int i = 0; i < glyphs; ++i) {
            RECT r{0, 0, size, size};
            DrawTextW(dc.Get(), &character, 1, &r, DT_VCENTER | DT_NOCLIP | DT_EXTERNALLEADING | DT_NOPREFIX);
        }
        GdiFlush();
    });
    std::printf("icon-font glyph at %d x %d, %d renderings (median of 7):\n", size, size, glyphs);
    std::printf("  RenderCharGlyph                 %9.2f ms\n", render * 1e3);
    std::printf("  DrawTextW into a DIB            %9.2f ms\n", plain * 1e3);
    std::printf("ratio RenderCharGlyph / DrawTextW: %.2f\n", render / plain);

    CrossFadeFrames();

    chars.reset();
    list.reset();
    factory.Release();
    CoUninitialize();
    acAlphaImageList_Finalize();
    acFontStore_Finalize();
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
