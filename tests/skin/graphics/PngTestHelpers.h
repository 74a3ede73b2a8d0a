// Loading PNG bytes through the reader and through the platform's codecs,
// for the PNG reader's tests.
#pragma once

#include <gtest/gtest.h>
#include "PngImage.h"
#include "PngWriter.h"
#include "acPNG.h"
#include "sGraphUtils.h"

inline TOwned<TMemoryStream> MemoryOf(const std::string& bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

inline TOwned<TPNGGraphic> LoadPng(const std::string& bytes)
{
    TOwned<TPNGGraphic> png(New<TPNGGraphic>());
    auto stream = MemoryOf(bytes);
    png->LoadFromStream(stream.get());
    return png;
}

// How a load ended: "ok", or the exception's class and message.
inline std::string LoadOutcome(const std::string& bytes)
{
    try {
        LoadPng(bytes);
        return "ok";
    } catch (const Exception& e) {
        std::wstring text = e.ClassName() + L": " + e.Message();
        return std::string(text.begin(), text.end());
    }
}

// The picture's colours as 0x00RRGGBB, whatever its pixel format.
inline std::vector<Cardinal> ColoursOf(TBitmap* bmp)
{
    TOwned<TBitmap> copy(New<TBitmap>());
    copy->Assign(bmp);
    copy->SetPixelFormat(pf32bit);
    std::vector<Cardinal> colours;
    for (int y = 0; y < copy->GetHeight(); ++y)
        for (int x = 0; x < copy->GetWidth(); ++x)
            colours.push_back(GetBitmap32Pixel(copy.get(), x, y) & 0xFFFFFF);
    return colours;
}
