// TIcon: .ico files and icon resources, drawn with their own transparency.
#include "Graphics.h"
#include <algorithm>
#include <cstring>

namespace {

constexpr const wchar_t* InvalidIcon = L"Icon image is not valid";

#pragma pack(push, 1)
struct TIconDir {
    WORD Reserved;
    WORD Type; // 1 for icons
    WORD Count;
};
struct TIconDirEntry {
    BYTE Width; // 0 means 256
    BYTE Height;
    BYTE ColorCount;
    BYTE Reserved;
    WORD Planes;
    WORD BitCount;
    DWORD BytesInRes;
    DWORD ImageOffset;
};
#pragma pack(pop)

int EntrySize(BYTE size) { return size == 0 ? 256 : size; }

// Colour depth of an entry: its own field, else its image's header.
int EntryDepth(const TIconDirEntry& entry, const std::vector<Byte>& file)
{
    if (entry.BitCount)
        return entry.BitCount;
    const Byte* image = file.data() + entry.ImageOffset;
    static constexpr Byte pngSignature[4] = {0x89, 'P', 'N', 'G'};
    if (entry.BytesInRes >= 4 && std::memcmp(image, pngSignature, 4) == 0)
        return 32;
    if (entry.BytesInRes >= sizeof(BITMAPINFOHEADER))
        return reinterpret_cast<const BITMAPINFOHEADER*>(image)->biBitCount;
    return 0;
}

// The image of the wanted size with the most colours; else the nearest
// larger one (scaled down looks better than scaled up); else the largest.
const TIconDirEntry* ChooseEntry(const std::vector<TIconDirEntry>& entries, const std::vector<Byte>& file,
                                 int wantWidth, int wantHeight)
{
    const TIconDirEntry* best = nullptr;
    auto better = [&](const TIconDirEntry& e) {
        if (!best)
            return true;
        auto fit = [&](const TIconDirEntry& x) {
            int w = EntrySize(x.Width), h = EntrySize(x.Height);
            if (w == wantWidth && h == wantHeight)
                return 0;
            if (w >= wantWidth && h >= wantHeight)
                return 1;
            return 2;
        };
        int fe = fit(e), fb = fit(*best);
        if (fe != fb)
            return fe < fb;
        int we = EntrySize(e.Width), wb = EntrySize(best->Width);
        if (we != wb)
            return fe == 2 ? we > wb : we < wb;
        return EntryDepth(e, file) > EntryDepth(*best, file);
    };
    for (const auto& e : entries)
        if (better(e))
            best = &e;
    return best;
}

} // namespace

TIcon::TIcon() = default;

TIcon::~TIcon() = default;

int TIcon::GetWidth() const
{
    if (width_)
        return width_;
    return requestedWidth_ ? requestedWidth_ : GetSystemMetrics(SM_CXICON);
}

int TIcon::GetHeight() const
{
    if (height_)
        return height_;
    return requestedHeight_ ? requestedHeight_ : GetSystemMetrics(SM_CYICON);
}

void TIcon::RequestSize(int& field, int value)
{
    if (handle_ && value != field)
        throw EInvalidGraphicOperation(L"Cannot change the size of an icon");
    field = value;
}

void TIcon::SetWidth(int Value) { RequestSize(handle_ ? width_ : requestedWidth_, Value); }

void TIcon::SetHeight(int Value) { RequestSize(handle_ ? height_ : requestedHeight_, Value); }

HICON TIcon::GetHandle() { return handle_.Get(); }

void TIcon::SetHandle(HICON Value)
{
    if (Value == handle_.Get())
        return;
    data_.clear();
    handle_.Reset(Value);
    width_ = height_ = 0;
    TIconInfo info(Value);
    if (info.Valid) {
        BITMAP bm{};
        if (info.Color && GetObjectW(info.Color.Get(), sizeof(bm), &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight;
        } else if (info.Mask && GetObjectW(info.Mask.Get(), sizeof(bm), &bm)) {
            // A monochrome icon's mask holds the AND and XOR halves.
            width_ = bm.bmWidth;
            height_ = bm.bmHeight / 2;
        }
    }
    Changed(this);
}

HICON TIcon::ReleaseHandle()
{
    HICON handle = handle_.Release();
    data_.clear();
    width_ = height_ = 0;
    Changed(this);
    return handle;
}

void TIcon::Assign(TPersistent* Source)
{
    if (!Source) {
        handle_.Reset();
        data_.clear();
        width_ = height_ = 0;
        Changed(this);
        return;
    }
    auto* src = dynamic_cast<TIcon*>(Source);
    if (!src) {
        TGraphic::Assign(Source);
        return;
    }
    if (src == this)
        return;
    HICON copy = src->handle_ ? static_cast<HICON>(CopyImage(src->handle_.Get(), IMAGE_ICON, 0, 0, 0)) : nullptr;
    if (src->handle_ && !copy)
        throw EOutOfResources(L"Out of system resources");
    handle_.Reset(copy);
    data_ = src->data_;
    width_ = src->width_;
    height_ = src->height_;
    requestedWidth_ = src->requestedWidth_;
    requestedHeight_ = src->requestedHeight_;
    Changed(this);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!handle_)
        return;
    ACanvas->Changing();
    DrawIconEx(ACanvas->GetHandle(), Rect.left, Rect.top, handle_.Get(), Rect.Width(), Rect.Height(), 0,
               nullptr, DI_NORMAL);
    ACanvas->Changed();
}

void TIcon::LoadFromStream(TStream* Stream)
{
    TIconDir dir{};
    Int64 start = Stream->GetPosition();
    Int64 available = Stream->GetSize() - start;
    if (available < static_cast<Int64>(sizeof(dir)))
        throw EInvalidGraphic(InvalidIcon);
    Stream->ReadBuffer(&dir, sizeof(dir));
    if (dir.Reserved != 0 || dir.Type != 1 || dir.Count == 0)
        throw EInvalidGraphic(InvalidIcon);
    size_t directorySize = sizeof(dir) + dir.Count * sizeof(TIconDirEntry);
    if (static_cast<Int64>(directorySize) > available)
        throw EInvalidGraphic(InvalidIcon);
    std::vector<TIconDirEntry> entries(dir.Count);
    Stream->ReadBuffer(entries.data(), static_cast<Int64>(entries.size() * sizeof(TIconDirEntry)));
    Int64 total = static_cast<Int64>(directorySize);
    for (const auto& e : entries) {
        if (e.ImageOffset < directorySize || e.BytesInRes == 0)
            throw EInvalidGraphic(InvalidIcon);
        total = std::max(total, static_cast<Int64>(e.ImageOffset) + e.BytesInRes);
    }
    if (total > available)
        throw EInvalidGraphic(InvalidIcon);

    std::vector<Byte> file(static_cast<size_t>(total));
    std::memcpy(file.data(), &dir, sizeof(dir));
    std::memcpy(file.data() + sizeof(dir), entries.data(), entries.size() * sizeof(TIconDirEntry));
    Stream->ReadBuffer(file.data() + directorySize, total - static_cast<Int64>(directorySize));

    const TIconDirEntry* entry = ChooseEntry(entries, file, GetWidth(), GetHeight());
    int width = EntrySize(entry->Width), height = EntrySize(entry->Height);
    HICON icon = CreateIconFromResourceEx(file.data() + entry->ImageOffset, entry->BytesInRes, TRUE,
                                          0x00030000, width, height, LR_DEFAULTCOLOR);
    if (!icon)
        throw EInvalidGraphic(InvalidIcon);
    handle_.Reset(icon);
    data_ = std::move(file);
    width_ = width;
    height_ = height;
    Changed(this);
}

void TIcon::SaveToStream(TStream* Stream)
{
    if (!data_.empty()) {
        Stream->WriteBuffer(data_.data(), static_cast<Int64>(data_.size()));
        return;
    }
    if (!handle_)
        return;
    // An icon made from a handle is written as a one-image file: 32-bit colour
    // (alpha kept) or 1-bit for monochrome icons, then the AND mask.
    TIconInfo info(handle_.Get());
    if (!info.Valid)
        throw EInvalidGraphic(InvalidIcon);
    int width = width_, height = height_;
    bool mono = !info.Color;
    TWindowDC screen;
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[2];
    } bi{};
    bi.Header.biSize = sizeof(BITMAPINFOHEADER);
    bi.Header.biWidth = width;
    bi.Header.biPlanes = 1;
    std::vector<Byte> pixels;
    if (mono) {
        bi.Header.biHeight = height * 2;
        bi.Header.biBitCount = 1;
        pixels.resize(static_cast<size_t>(((width + 31) / 32) * 4) * height * 2);
        GetDIBits(screen.Get(), info.Mask.Get(), 0, static_cast<UINT>(height * 2), pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
    } else {
        bi.Header.biHeight = height;
        bi.Header.biBitCount = 32;
        std::vector<Byte> color(static_cast<size_t>(width) * height * 4);
        GetDIBits(screen.Get(), info.Color.Get(), 0, static_cast<UINT>(height), color.data(),
                  reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
        struct {
            BITMAPINFOHEADER Header;
            RGBQUAD Colors[2];
        } maskInfo{};
        maskInfo.Header = bi.Header;
        maskInfo.Header.biBitCount = 1;
        maskInfo.Header.biClrUsed = 0;
        std::vector<Byte> mask(static_cast<size_t>(((width + 31) / 32) * 4) * height);
        GetDIBits(screen.Get(), info.Mask.Get(), 0, static_cast<UINT>(height), mask.data(),
                  reinterpret_cast<BITMAPINFO*>(&maskInfo), DIB_RGB_COLORS);
        pixels = std::move(color);
        pixels.insert(pixels.end(), mask.begin(), mask.end());
    }
    // In a file the header's height covers both the colour and the mask rows.
    BITMAPINFOHEADER header = bi.Header;
    header.biHeight = height * 2;
    header.biSizeImage = 0;
    header.biClrUsed = 0;
    size_t tableSize = mono ? sizeof(bi.Colors) : 0;
    TIconDir dir{0, 1, 1};
    TIconDirEntry entry{};
    entry.Width = static_cast<BYTE>(width >= 256 ? 0 : width);
    entry.Height = static_cast<BYTE>(height >= 256 ? 0 : height);
    entry.Planes = 1;
    entry.BitCount = header.biBitCount;
    entry.BytesInRes = static_cast<DWORD>(sizeof(header) + tableSize + pixels.size());
    entry.ImageOffset = sizeof(dir) + sizeof(entry);
    Stream->WriteBuffer(&dir, sizeof(dir));
    Stream->WriteBuffer(&entry, sizeof(entry));
    Stream->WriteBuffer(&header, sizeof(header));
    if (mono) {
        const RGBQUAD blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
        Stream->WriteBuffer(blackWhite, sizeof(blackWhite));
    }
    Stream->WriteBuffer(pixels.data(), static_cast<Int64>(pixels.size()));
}

void TIcon::Load(LPCWSTR name, HINSTANCE instance, const String& displayName)
{
    int width = requestedWidth_ ? requestedWidth_ : GetSystemMetrics(SM_CXICON);
    int height = requestedHeight_ ? requestedHeight_ : GetSystemMetrics(SM_CYICON);
    auto icon = static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (!icon)
        throw EResNotFound(L"Resource " + displayName + L" not found");
    SetHandle(icon);
}

void TIcon::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    Load(ResName.c_str(), Instance, ResName);
}

void TIcon::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
    Load(MAKEINTRESOURCEW(ResID), Instance, IntToStr(ResID));
}
