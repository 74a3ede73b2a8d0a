// The PNG reader against the platform's own decoder: files of every colour
// type, depth, filter and interlace made by the tests' writer must give
// WIC's pixels; then the reader's own rules (palettes, transparency,
// progress, alpha, drawing, registration).
#include "PngTestHelpers.h"
#include "BitmapHelpers.h"
#include "TestSupport.h"

namespace {

struct Fixture {
    int ColorType;
    int Depth;
};
const Fixture Fixtures[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                            {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

struct Shape {
    uint32_t Width, Height;
    int Interlace;
    int Filter;
};
// Odd sizes reach every Adam7 pass; the narrow ones skip passes 2, 4 and 6.
const Shape Shapes[] = {{37, 29, 0, -1}, {37, 29, 1, -1}, {13, 11, 0, 0}, {13, 11, 0, 1}, {13, 11, 0, 2},
                        {13, 11, 0, 3}, {13, 11, 0, 4},  {13, 11, 1, 4}, {4, 9, 1, -1},  {1, 7, 1, -1},
                        {1, 1, 0, -1},  {9, 1, 1, -1}};

TEST(PngReader, EveryTypeDepthFilterAndPassGivesThePlatformsPixels)
{
    for (const auto& f : Fixtures) {
        for (const auto& s : Shapes) {
            SCOPED_TRACE(testing::Message() << "type " << f.ColorType << " depth " << f.Depth << " " << s.Width
                                            << "x" << s.Height << " interlace " << s.Interlace << " filter "
                                            << s.Filter);
            pngwriter::Image image = pngwriter::MakeImage(s.Width, s.Height, f.ColorType, f.Depth,
                                                          s.Width * 31 + f.ColorType * 7 + f.Depth);
            image.Interlace = s.Interlace;
            image.Filter = s.Filter;
            if (f.ColorType == 3)
                image.Transparency = std::string("\x00\x80\xFF", 3); // the rest stays opaque
            const std::string file = pngwriter::Encode(image, 97);

            TOwned<TPngImage> wic(New<TPngImage>());
            auto stream = MemoryOf(file);
            wic->LoadFromStream(stream.get());
            auto png = LoadPng(file);
            ASSERT_EQ(png->GetWidth(), static_cast<int>(s.Width));
            ASSERT_EQ(png->GetHeight(), static_cast<int>(s.Height));

            // 16-bit samples narrow to 8 bits with truncation here, rounding there.
            const int tolerance = f.Depth == 16 ? 1 : 0;
            std::vector<Cardinal> colours = ColoursOf(png.get());
            TOwned<TBitmap> alpha(New<TBitmap>());
            ApplyPngAlpha(alpha.get(), png.get());
            int mismatches = 0;
            for (uint32_t y = 0; y < s.Height; ++y)
                for (uint32_t x = 0; x < s.Width; ++x) {
                    TColor c = wic->GetPixel(static_cast<int>(x), static_cast<int>(y));
                    Cardinal expected = SwapRedBlue(static_cast<Cardinal>(c)) & 0xFFFFFF;
                    // Grey with alpha keeps only its grey; the rest keep their alpha.
                    // Wine's codec drops the alpha table of 1-bit indexed images.
                    const bool alphaToo = f.ColorType == 6 || (f.ColorType == 3 && f.Depth > 1);
                    if (alphaToo)
                        expected |= Cardinal(wic->GetAlpha(static_cast<int>(x), static_cast<int>(y))) << 24;
                    Cardinal actual = colours[y * s.Width + x];
                    if (alphaToo)
                        actual |= GetBitmap32Pixel(alpha.get(), static_cast<int>(x), static_cast<int>(y)) & 0xFF000000;
                    if (!PixelNear(actual, expected, tolerance) && ++mismatches <= 3)
                        ADD_FAILURE() << "at " << x << "," << y << ": " << PixelNear(actual, expected, tolerance).message();
                }
        }
    }
}

TEST(PngReader, BitmapFormatsPalettesAndTables)
{
    {
        // 2-bit grey: a 4-bit bitmap with a 16-step ramp; samples on 0, 5, 10, 15.
        pngwriter::Image image = pngwriter::MakeImage(4, 1, 0, 2);
        image.Samples = {0, 1, 2, 3};
        auto png = LoadPng(pngwriter::Encode(image));
        EXPECT_EQ(png->GetPixelFormat(), pf4bit);
        const auto* row = static_cast<const Byte*>(png->GetScanLine(0));
        EXPECT_EQ(row[0], 0x05);
        EXPECT_EQ(row[1], 0xAF);
        RGBQUAD table[16];
        ASSERT_EQ(GetDIBColorTable(png->GetCanvas()->GetHandle(), 0, 16, table), 16u);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(table[i].rgbGreen, i * 17) << i;
    }
    {
        // An alpha table of 3 entries: the others are opaque.
        pngwriter::Image image = pngwriter::MakeImage(5, 5, 3, 8);
        image.Transparency = std::string("\x10\x20\x30", 3);
        auto png = LoadPng(pngwriter::Encode(image));
        EXPECT_EQ(png->GetPixelFormat(), pf8bit);
        ASSERT_EQ(png->Transparency().size(), 256u);
        EXPECT_EQ(png->Transparency()[2], 0x30);
        for (size_t i = 3; i < 256; ++i)
            EXPECT_EQ(png->Transparency()[i], 255) << i;
    }
    const struct {
        int ColorType, Depth;
        TPixelFormat Format;
    } formats[] = {{0, 1, pf1bit}, {0, 4, pf4bit}, {0, 16, pf8bit}, {2, 8, pf24bit},
                   {3, 1, pf1bit}, {3, 2, pf4bit}, {4, 16, pf8bit}, {6, 16, pf32bit}};
    for (const auto& f : formats) {
        EXPECT_EQ(LoadPng(pngwriter::Encode(pngwriter::MakeImage(3, 3, f.ColorType, f.Depth)))->GetPixelFormat(),
                  f.Format)
            << f.ColorType << "/" << f.Depth;
    }
}

std::string WithChunk(const pngwriter::Image& image, const pngwriter::Chunk& extra, size_t before = 1)
{
    auto chunks = pngwriter::Chunks(image);
    chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(before), extra);
    return pngwriter::FileOf(chunks);
}

TEST(PngReader, BackgroundAndTransparentColours)
{
    const struct {
        int ColorType, Depth;
        std::string Data;
        TColor Background;
    } backgrounds[] = {
        {2, 8, std::string("\x00\x10\x00\x20\x00\x30", 6), 0x302010},
        {6, 16, std::string("\xFF\xFF\x80\x00\x00\x00", 6), static_cast<TColor>(0x00 << 16 | (0x8000 * 255 / 65535) << 8 | 0xFF)},
        {0, 2, std::string("\x00\x02", 2), 0xAAAAAA},
        {4, 16, std::string("\xFF\xFF", 2), 0xFFFFFF},
        {3, 2, std::string("\x01", 1), 0}, // palette entry 1, filled in below
        {2, 8, std::string("\x00\x10", 2), 0xFFFFFF}, // too short: passed over
    };
    for (const auto& b : backgrounds) {
        pngwriter::Image image = pngwriter::MakeImage(3, 2, b.ColorType, b.Depth);
        TColor expected = b.Background;
        if (b.ColorType == 3)
            expected = RGB(Byte(image.Palette[3]), Byte(image.Palette[4]), Byte(image.Palette[5]));
        size_t at = image.Palette.empty() ? 1 : 2;
        auto png = LoadPng(WithChunk(image, {"bKGD", b.Data}, at));
        EXPECT_EQ(png->BackgroundColor(), expected) << b.ColorType << "/" << b.Depth;
    }
    const struct {
        int ColorType, Depth;
        std::string Data;
        TColor Transparent; // clNone: not transparent
    } keys[] = {
        {0, 8, std::string("\x00\x40", 2), 0x404040},
        {0, 16, std::string("\xFF\xFF", 2), 0xFFFFFF},
        {0, 4, std::string("\x00\x05", 2), 0x555555},
        {2, 8, std::string("\x00\x01\x00\x02\x00\x03", 6), 0x030201},
        {2, 8, std::string("\x00", 1), clNone},
        {6, 8, std::string("\x00\x01\x00\x02\x00\x03", 6), clNone},
    };
    for (const auto& k : keys) {
        pngwriter::Image image = pngwriter::MakeImage(3, 2, k.ColorType, k.Depth);
        auto png = LoadPng(WithChunk(image, {"tRNS", k.Data}));
        EXPECT_EQ(png->GetTransparent(), k.Transparent != clNone) << k.ColorType << "/" << k.Depth;
        if (k.Transparent != clNone) {
            EXPECT_EQ(png->GetTransparentColor(), k.Transparent);
        }
    }
}

TEST(PngReader, ApplyPngAlphaBranches)
{
    // Indexed, 2 bits: the 4-bit bitmap holds 0, 5, 10, 15; the alpha table
    // follows the file's indexes.
    pngwriter::Image indexed = pngwriter::MakeImage(4, 1, 3, 2);
    indexed.Samples = {3, 2, 1, 0};
    indexed.Transparency = std::string("\x00\x55\xAA\xFF", 4);
    auto png = LoadPng(pngwriter::Encode(indexed));
    TOwned<TBitmap> bmp(New<TBitmap>());
    ApplyPngAlpha(bmp.get(), png.get());
    ASSERT_EQ(bmp->GetPixelFormat(), pf32bit);
    const Byte alphas[4] = {0xFF, 0xAA, 0x55, 0x00};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), x, 0) >> 24, alphas[x]) << x;

    // Grey with a gamma chunk: a black mask, opaque where the image is dark.
    pngwriter::Image grey = pngwriter::MakeImage(2, 1, 0, 8);
    grey.Samples = {0, 255};
    std::string gamma;
    pngwriter::PutBE32(gamma, 45455);
    png = LoadPng(WithChunk(grey, {"gAMA", gamma}));
    ApplyPngAlpha(bmp.get(), png.get());
    const Byte* table = png->ColorManager()->GetGammaTable();
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), Cardinal(255 - table[0]) << 24);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), Cardinal(255 - table[255]) << 24);

    // RGB with gamma: opaque everywhere.
    png = LoadPng(WithChunk(pngwriter::MakeImage(3, 3, 2, 8), {"gAMA", gamma}));
    ApplyPngAlpha(bmp.get(), png.get());
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), x, 2) >> 24, 255u);

    // A transparent target bitmap: the bottom-left colour stays clear.
    pngwriter::Image rgb = pngwriter::MakeImage(2, 2, 2, 8);
    rgb.Samples = {9, 9, 9, 200, 100, 50, 9, 9, 9, 1, 2, 3};
    png = LoadPng(pngwriter::Encode(rgb));
    TOwned<TBitmap> keyed(New<TBitmap>());
    keyed->SetTransparent(true);
    ApplyPngAlpha(keyed.get(), png.get());
    EXPECT_EQ(GetBitmap32Pixel(keyed.get(), 0, 1) >> 24, 0u);
    EXPECT_EQ(GetBitmap32Pixel(keyed.get(), 0, 0) >> 24, 0u);
    EXPECT_EQ(GetBitmap32Pixel(keyed.get(), 1, 0) >> 24, 255u);
    EXPECT_EQ(GetBitmap32Pixel(keyed.get(), 1, 1) & 0xFFFFFF, 0x010203u);
    // An RGBA image keeps its decoded alpha.
    pngwriter::Image rgba = pngwriter::MakeImage(1, 1, 6, 8);
    rgba.Samples = {1, 2, 3, 77};
    png = LoadPng(pngwriter::Encode(rgba));
    ApplyPngAlpha(bmp.get(), png.get());
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0x4D010203u);
}

TEST(PngReader, ChunkRulesAndShortChunks)
{
    pngwriter::Image image = pngwriter::MakeImage(6, 4, 2, 8);
    auto chunks = pngwriter::Chunks(image);
    // "iend" in lower case ends the file; a text chunk after the image data
    // and an ancillary chunk with a wrong CRC are passed over.
    chunks.back().Type = "iend";
    chunks.insert(chunks.end() - 1, {"tEXt", "Comment\0hi", true});
    chunks.insert(chunks.begin() + 1, {"gAMA", "\x01\x02", false});
    chunks.insert(chunks.begin() + 1, {"bKGD", "\x01", false});
    chunks.insert(chunks.begin() + 1, {"tRNS", "", false});
    chunks.push_back({"JUNK", "never read"});
    auto png = LoadPng(pngwriter::FileOf(chunks));
    EXPECT_FALSE(png->GetImageProperties().Options.Contains(ioUseGamma));
    EXPECT_EQ(png->BackgroundColor(), 0xFFFFFF);
    EXPECT_FALSE(png->GetTransparent());
    std::vector<Cardinal> colours = ColoursOf(png.get());
    EXPECT_EQ(colours[0], Cardinal(image.Sample(0, 0, 0)) << 16 | image.Sample(0, 0, 1) << 8 | image.Sample(0, 0, 2));

    // A signature alone is no image.
    auto signature = MemoryOf(pngwriter::Signature());
    EXPECT_FALSE(TPNGGraphic::CanLoad(signature.get()));
    auto whole = MemoryOf(pngwriter::Encode(image));
    whole->SetPosition(0);
    EXPECT_TRUE(TPNGGraphic::CanLoad(whole.get()));
    EXPECT_EQ(whole->GetPosition(), 0);
}

TEST(PngReader, ProgressOrderAndLoadingAgain)
{
    pngwriter::Image image = pngwriter::MakeImage(5, 3, 3, 4);
    TOwned<TPNGGraphic> png(New<TPNGGraphic>());
    std::vector<std::wstring> steps;
    png->OnProgress = [&](TObject*, TProgressStage stage, Byte, bool, const TRect&, const String& msg) {
        steps.push_back((stage == psStarting ? L"starting " : stage == psEnding ? L"ending " : L"running ") + msg);
    };
    auto stream = MemoryOf(pngwriter::Encode(image));
    png->LoadFromStream(stream.get());
    const std::vector<std::wstring> expected = {L"starting Preparing...", L"ending ", L"starting Transfering...",
                                                L"ending "};
    EXPECT_EQ(steps, expected);
    // A second load on the same object starts from an empty bitmap: an RGB
    // image after an indexed one is 24-bit.
    steps.clear();
    auto rgb = MemoryOf(pngwriter::Encode(pngwriter::MakeImage(2, 2, 2, 8)));
    png->LoadFromStream(rgb.get());
    EXPECT_EQ(png->GetPixelFormat(), pf24bit);
    EXPECT_TRUE(png->Transparency().empty());
    // Nor do an earlier file's gamma and transparent colour stay.
    pngwriter::Image grey = pngwriter::MakeImage(4, 4, 2, 8);
    std::string gamma;
    pngwriter::PutBE32(gamma, 45455);
    auto withGamma = pngwriter::Chunks(grey);
    withGamma.insert(withGamma.begin() + 1, {"gAMA", gamma});
    withGamma.insert(withGamma.begin() + 1, {"tRNS", std::string("\0\1\0\2\0\3", 6)});
    auto first = MemoryOf(pngwriter::FileOf(withGamma));
    png->LoadFromStream(first.get());
    EXPECT_TRUE(png->GetTransparent());
    auto plain = MemoryOf(pngwriter::Encode(grey));
    png->LoadFromStream(plain.get());
    EXPECT_FALSE(png->GetTransparent());
    EXPECT_EQ(ColoursOf(png.get()), ColoursOf(LoadPng(pngwriter::Encode(grey)).get()));
    // A failing load still ends its progress.
    steps.clear();
    auto chunks = pngwriter::Chunks(image);
    chunks[chunks.size() - 2].BadCRC = true;
    auto broken = MemoryOf(pngwriter::FileOf(chunks));
    EXPECT_ANY_THROW(png->LoadFromStream(broken.get()));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), L"ending ");
}

TEST(PngReader, RegisteredForPngAtStartUp)
{
    EXPECT_EQ(TPicture::FileFormatClass(L"png"), GraphicClass<TPNGGraphic>());
    testing_support::TempDir dir;
    pngwriter::Image image = pngwriter::MakeImage(7, 5, 6, 8);
    testing_support::WriteBytes(dir.File(L"glyph.png"), pngwriter::Encode(image));
    TOwned<TPicture> picture(New<TPicture>());
    picture->LoadFromFile(dir.File(L"glyph.png"));
    auto* png = dynamic_cast<TPNGGraphic*>(picture->GetGraphic());
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->GetWidth(), 7);
    EXPECT_TRUE(TPNGGraphic::CanLoad(dir.File(L"glyph.png")));
}

TEST(PngReader, DrawsWithAlphaOverTheCanvasAtAnySize)
{
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    {
        pngwriter::Image image = pngwriter::MakeImage(4, 4, 6, 8);
        for (uint32_t y = 0; y < 4; ++y)
            for (uint32_t x = 0; x < 4; ++x) {
                size_t i = (y * 4 + x) * 4;
                // Left half opaque red, right half clear blue.
                image.Samples[i] = x < 2 ? 255 : 0;
                image.Samples[i + 1] = 0;
                image.Samples[i + 2] = x < 2 ? 0 : 255;
                image.Samples[i + 3] = x < 2 ? 255 : 0;
            }
        auto png = LoadPng(pngwriter::Encode(image));
        // Full alpha mixes to within 1 of the image's colour.
        auto canvas = Bitmap32(20, 10, 0xFF00FF00);
        canvas->GetCanvas()->Draw(1, 1, png.get());
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvas.get(), 1, 1) & 0xFFFFFF, 0xFF0000, 1));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvas.get(), 4, 4) & 0xFFFFFF, 0x00FF00));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvas.get(), 0, 0) & 0xFFFFFF, 0x00FF00));
        // Stretched to 8 x 8 from (10, 1): twice as wide halves.
        canvas->GetCanvas()->StretchDraw(TRect(10, 1, 18, 9), png.get());
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvas.get(), 11, 2) & 0xFFFFFF, 0xFF0000, 1));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvas.get(), 13, 8) & 0xFFFFFF, 0xFF0000, 1));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvas.get(), 15, 8) & 0xFFFFFF, 0x00FF00));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvas.get(), 18, 5) & 0xFFFFFF, 0x00FF00));
        // A 24-bit image draws as any bitmap.
        auto rgb = LoadPng(pngwriter::Encode(pngwriter::MakeImage(2, 2, 2, 8)));
        canvas->GetCanvas()->Draw(0, 0, rgb.get());
        EXPECT_EQ(GetBitmap32Pixel(canvas.get(), 0, 0) & 0xFFFFFF, ColoursOf(rgb.get())[0]);
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

TEST(PngReader, RepeatedPalettesLeaveNoGdiObjects)
{
    pngwriter::Image image = pngwriter::MakeImage(8, 8, 3, 8);
    auto chunks = pngwriter::Chunks(image);
    chunks.insert(chunks.begin() + 2, {"PLTE", image.Palette});
    const std::string twoPalettes = pngwriter::FileOf(chunks);
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    for (int i = 0; i < 20; ++i) {
        LoadPng(twoPalettes);
        // A load that fails after the palette frees it too.
        EXPECT_ANY_THROW(LoadPng(twoPalettes.substr(0, twoPalettes.size() - 30)));
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

} // namespace
