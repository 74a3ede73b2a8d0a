// The image-list base with its process-wide register, and the alpha image
// list: items hold the source files, the native list is always rebuilt from
// them at the size and scale in use.
#include "acAlphaImageList.h"
#include "ComObj.h"
#include "Dialogs.h"
#include "ProcBinding.h"
#include "ScopeExit.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include "sSkinText.h"
#include <shellapi.h>

namespace {

// Every image list alive, in creation order.
std::unique_ptr<std::vector<TacImageList*>> imageLists;

// The manager's scale table: 100, 125, 150 and 200 percent.
int ScaleBy(int Value, int Step)
{
    switch (Step) {
    case 1: return Value + Value / 4;
    case 2: return Value + Value / 2;
    case 3: return Value * 2;
    default: return Value;
    }
}

bool AllAlphaZero(TBitmap* Bmp)
{
    for (int y = 0; y < Bmp->GetHeight(); ++y) {
        const auto* row = static_cast<const Cardinal*>(Bmp->GetScanLine(y));
        for (int x = 0; x < Bmp->GetWidth(); ++x)
            if (row[x] >> 24)
                return false;
    }
    return true;
}

// The pixels of a device bitmap as 32-bit rows, top row first.
std::vector<Cardinal> BitmapPixels(HBITMAP Bitmap, int Width, int Height)
{
    std::vector<Cardinal> pixels(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    TMemoryDC dc;
    if (!GetDIBits(dc.Get(), Bitmap, 0, static_cast<UINT>(Height), pixels.data(), &info, DIB_RGB_COLORS))
        pixels.clear();
    return pixels;
}

// An icon as a 32-bit bitmap. Icons without alpha take it from their mask
// (WithMask), or keep their colour image as it is.
TOwned<TBitmap> IconToBitmap32(HICON Icon, bool WithMask)
{
    TIconInfo info(Icon);
    if (!info.Valid || !info.Color)
        return nullptr;
    BITMAP bm{};
    GetObjectW(info.Color.Get(), sizeof bm, &bm);
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    std::vector<Cardinal> colour = BitmapPixels(info.Color.Get(), bm.bmWidth, bm.bmHeight);
    if (colour.empty())
        return nullptr;
    TOwned<TBitmap> bmp(MakeBitmap32(bm.bmWidth, bm.bmHeight));
    bool anyAlpha = false;
    for (Cardinal c : colour)
        anyAlpha = anyAlpha || (c >> 24) != 0;
    std::vector<Cardinal> mask;
    if (!anyAlpha && WithMask && info.Mask)
        mask = BitmapPixels(info.Mask.Get(), bm.bmWidth, bm.bmHeight);
    for (int y = 0; y < bm.bmHeight; ++y) {
        auto* row = static_cast<Cardinal*>(bmp->GetScanLine(y));
        for (int x = 0; x < bm.bmWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(bm.bmWidth) +
                                  static_cast<std::size_t>(x);
            Cardinal c = colour[i];
            if (!mask.empty())
                c = (mask[i] & 0xFFFFFF) ? 0 : (c | 0xFF000000u);
            row[x] = c;
        }
    }
    return bmp;
}

// A copy of Bmp made 32-bit: every pixel opaque, or with Transparent all
// but those of KeyColor.
TOwned<TBitmap> Opaque32(TBitmap* Bmp, bool Transparent, TColor KeyColor)
{
    TOwned<TBitmap> copy(New<TBitmap>());
    copy->Assign(Bmp);
    if (copy->GetPixelFormat() == pf32bit)
        return copy;
    copy->SetPixelFormat(pf32bit);
    const Cardinal key = SwapRedBlue(static_cast<Cardinal>(ColorToRGB(KeyColor))) & 0xFFFFFF;
    for (int y = 0; y < copy->GetHeight(); ++y) {
        auto* row = static_cast<Cardinal*>(copy->GetScanLine(y));
        for (int x = 0; x < copy->GetWidth(); ++x)
            row[x] = (Transparent && (row[x] & 0xFFFFFF) == key) ? (row[x] & 0xFFFFFF) : (row[x] | 0xFF000000u);
    }
    return copy;
}

TOwned<TBitmap> Copy32(TBitmap* Bmp)
{
    TOwned<TBitmap> copy(New<TBitmap>());
    copy->Assign(Bmp);
    copy->SetPixelFormat(pf32bit);
    return copy;
}

bool SameSize(TBitmap* Bmp, int Width, int Height)
{
    return Bmp && Bmp->GetWidth() == Width && Bmp->GetHeight() == Height;
}

void WriteBytes(TMemoryStream* Target, TStream* Source)
{
    Target->Clear();
    Target->LoadFromStream(Source);
    Target->SetPosition(0);
}

} // namespace

// ---------------------------------------------------------------------------
TsImgListItem::TsImgListItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TsImgListItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TsImgListItem*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    if (source == this)
        return;
    FImageFormat = source->FImageFormat;
    FImageName = source->FImageName;
    FPixelFormat = source->FPixelFormat;
    FText = source->FText;
    OrigWidth = source->OrigWidth;
    OrigHeight = source->OrigHeight;
    CacheBmp.reset();
    source->ImgData->SetPosition(0);
    WriteBytes(ImgData, source->ImgData);
}

void TsImgListItem::WriteProperties(TWriter& Writer) const
{
    static const wchar_t* const formats[] = {L"ifPNG", L"ifICO", L"ifBMP32"};
    if (!FText.empty()) {
        Writer.WritePropName(L"Text");
        Writer.WriteString(FText);
    }
    if (!FImageName.empty()) {
        Writer.WritePropName(L"ImageName");
        Writer.WriteString(FImageName);
    }
    Writer.WritePropName(L"ImageFormat");
    Writer.WriteIdent(formats[FImageFormat]);
    Writer.WritePropName(L"ImgData");
    Writer.WriteBinary(ImgData->Memory(), ImgData->GetSize());
}

bool TsImgListItem::ReadProperty(TReader& Reader, const String& Name)
{
    if (Name == L"Text")
        FText = Reader.ReadString();
    else if (Name == L"ImageName")
        FImageName = Reader.ReadString();
    else if (Name == L"ImageFormat") {
        const String ident = Reader.ReadIdent();
        if (ident == L"ifPNG")
            FImageFormat = ifPNG;
        else if (ident == L"ifICO")
            FImageFormat = ifICO;
        else if (ident == L"ifBMP32")
            FImageFormat = ifBMP32;
        else
            throw EReadError(L"Invalid property value " + ident);
    } else if (Name == L"ImgData") {
        // Read whole before the item's data changes.
        const std::vector<Byte> bytes = Reader.ReadBinary();
        ImgData->Clear();
        if (!bytes.empty())
            ImgData->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
        ImgData->SetPosition(0);
        CacheBmp.reset();
    } else
        return false;
    return true;
}

TsImgListItems::TsImgListItems(TsAlphaImageList* AOwner) : TCollection(ItemClass<TsImgListItem>(), AOwner) {}

void TsImgListItems::WriteItems(TWriter& Writer) const
{
    WriteCollectionValue(Writer, Count(), [&](int i) { Items(i)->WriteProperties(Writer); });
}

void TsImgListItems::ReadItems(TReader& Reader)
{
    ReadCollectionValue(Reader, *this, [this] { return Add(); });
}

// ---------------------------------------------------------------------------
TacImageList::TacImageList(TComponent* AOwner) : TImageList(AOwner)
{
    if (!imageLists)
        imageLists = std::make_unique<std::vector<TacImageList*>>();
    imageLists->push_back(this);
}

TacImageList::~TacImageList()
{
    if (imageLists)
        std::erase(*imageLists, this);
}

void ForEachImageList(TacImageListProc Proc, void* Data)
{
    if (!imageLists)
        return;
    // A list may go while the others are visited.
    const std::vector<TacImageList*> lists = *imageLists;
    for (TacImageList* list : lists)
        if (std::find(imageLists->begin(), imageLists->end(), list) != imageLists->end())
            Proc(list, Data);
}

TSize TacImageList::GlyphSize(int)
{
    return {TCustomImageList::GetWidth(), TCustomImageList::GetHeight()};
}

bool TacImageList::ScalingApplies(bool AllowScale, bool Loaded)
{
    return AllowScale && Loaded && DefaultManager && !ComponentState().Contains(csDesigning) && Count() > 0;
}

void TacImageList::WriteData(TStream* Stream)
{
    using WriteEx = HRESULT(WINAPI*)(HIMAGELIST, DWORD, IStream*);
    TImageListHandle empty(ImageList_Create(1, 1, ILC_COLOR4, 0, 1));
    TComPtr<IStream> memory;
    if (!empty || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, memory.ReleaseAndGetAddressOf())))
        return;
    const auto writeEx = BindProc<WriteEx>(GetModuleHandleW(L"comctl32.dll"), "ImageList_WriteEx");
    const bool written = writeEx ? SUCCEEDED(writeEx(empty.Get(), 1 /* ILP_DOWNLEVEL */, memory.Get()))
                                 : ImageList_Write(empty.Get(), memory.Get()) != FALSE;
    HGLOBAL global = nullptr;
    if (!written || FAILED(GetHGlobalFromStream(memory.Get(), &global)))
        return;
    STATSTG stat{};
    memory->Stat(&stat, STATFLAG_NONAME);
    TGlobalLock bytes(global);
    Stream->WriteBuffer(bytes.Data(), static_cast<Int64>(stat.cbSize.QuadPart));
}

void TacImageList::AfterConstruction()
{
    TImageList::AfterConstruction();
    if (!ComponentState().Contains(csLoading))
        FLoaded = true;
}

void TacImageList::CreateImageList()
{
    if (!SavedWidth && FLoaded) {
        SavedWidth = TCustomImageList::GetWidth();
        SavedHeight = TCustomImageList::GetHeight();
    }
    if (SavedWidth && SavedHeight) {
        const int step = IsScaling() ? FSavedScale : 0;
        const bool changing = AcChanging;
        AcChanging = true;
        const TScopeExit restore([&] { AcChanging = changing; });
        TCustomImageList::SetSize(ScaleBy(SavedWidth, step), ScaleBy(SavedHeight, step));
    }
    TImageList::CreateImageList();
}

void TacImageList::SetNewDimensions(HIMAGELIST Value)
{
    int width = 0, height = 0;
    if (Value && ImageList_GetIconSize(Value, &width, &height) && width > 0 && height > 0)
        TCustomImageList::SetSize(width, height);
}

void TacImageList::AcEndUpdate(bool DoChange)
{
    AcChanging = false;
    if (DoChange) {
        GenerateStdList();
        Change();
    }
}

void TacImageList::SetWidth(int Value)
{
    SetListSize(Value, SavedHeight ? SavedHeight : TCustomImageList::GetHeight());
}

void TacImageList::SetHeight(int Value)
{
    SetListSize(SavedWidth ? SavedWidth : TCustomImageList::GetWidth(), Value);
}

void TacImageList::SetBkColor(TColor Value)
{
    FBkColor = Value;
    TImageList::SetBkColor(Value);
}

void TacImageList::AssignListSettings(TacImageList* Source)
{
    if (HandleAllocated())
        ImageList_Remove(GetHandle(), -1);
    SetMasked(Source->GetMasked());
    SetImageType(Source->GetImageType());
    SetDrawingStyle(Source->GetDrawingStyle());
    SetShareImages(Source->GetShareImages());
    SetNewDimensions(Source->GetHandle());
    SavedWidth = Source->SavedWidth;
    SavedHeight = Source->SavedHeight;
    FSavedScale = Source->FSavedScale;
    FreeImageList();
    GetHandle();
    const COLORREF bk = ImageList_GetBkColor(Source->GetHandle());
    SetBkColor(bk == CLR_NONE ? clNone : bk == CLR_DEFAULT ? clDefault : static_cast<TColor>(bk));
    SetBlendColor(Source->GetBlendColor());
}

int TacImageList::AddBitmap32ToList(TBitmap* Bmp, int Index)
{
    int width = 0, height = 0;
    ImageList_GetIconSize(GetHandle(), &width, &height);
    TOwned<TBitmap> fitted;
    TBitmap* source = Bmp;
    if (!SameSize(Bmp, width, height)) {
        fitted.reset(MakeBitmap32(width, height));
        const bool tooSmall = !Bmp || Bmp->GetWidth() < 2 || Bmp->GetHeight() < 2;
        if (!tooSmall)
            Bmp->SetPixelFormat(pf32bit);
        // Centres coincide; a larger source is cropped.
        const int dx = tooSmall ? 0 : (Bmp->GetWidth() - width) / 2;
        const int dy = tooSmall ? 0 : (Bmp->GetHeight() - height) / 2;
        for (int y = 0; y < height; ++y) {
            auto* row = static_cast<Cardinal*>(fitted->GetScanLine(y));
            for (int x = 0; x < width; ++x) {
                const int sx = x + dx, sy = y + dy;
                if (tooSmall)
                    row[x] = 0x01000000u;
                else if (sx >= 0 && sy >= 0 && sx < Bmp->GetWidth() && sy < Bmp->GetHeight())
                    row[x] = static_cast<const Cardinal*>(Bmp->GetScanLine(sy))[sx];
                else
                    row[x] = 0;
            }
        }
        source = fitted.get();
    }
    // The 32-bit image goes in as it is, alpha included; going through an
    // icon (ImageList_ReplaceIcon) costs several times as much and stores the same.
    source->SetPixelFormat(pf32bit);
    HBITMAP image = source->GetHandle();
    if (Index < 0)
        return ImageList_Add(GetHandle(), image, nullptr);
    return ImageList_Replace(GetHandle(), Index, image, nullptr) ? Index : -1;
}

// ---------------------------------------------------------------------------
TsAlphaImageList::TsAlphaImageList(TComponent* AOwner) : TacImageList(AOwner), FItems(New<TsImgListItems>(this))
{
    SetColorDepth(cd32Bit);
}

TsAlphaImageList::~TsAlphaImageList()
{
    AcChanging = true;
}

void TsAlphaImageList::FreeNativeList()
{
    FreeImageList();
    if (!AcChanging)
        Change();
}

void TsAlphaImageList::Loaded()
{
    TacImageList::Loaded();
    FLoaded = true;
    if (SavedWidth) {
        FreeNativeList();
    } else if (TCustomImageList::GetWidth() == 16 && TCustomImageList::GetHeight() == 16) {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        FreeNativeList();
        SavedWidth = SavedHeight = 16;
    }
    if (!SavedWidth)
        SavedWidth = TCustomImageList::GetWidth();
    if (!SavedHeight)
        SavedHeight = TCustomImageList::GetHeight();
    if (!StdListIsGenerated) {
        GenerateStdList();
        StdListIsGenerated = true;
        Change();
    }
}

TOwned<TBitmap> TsAlphaImageList::Decode(TsImgListItem* Item, TBitmap* Like)
{
    Item->ImgData->SetPosition(0);
    TOwned<TBitmap> bmp;
    try {
        switch (Item->GetImageFormat()) {
        case ifPNG:
            bmp.reset(New<TBitmap>());
            if (Like)
                bmp->SetTransparent(Like->GetTransparent());
            LoadPngStreamToBitmap(bmp.get(), Item->ImgData);
            break;
        case ifBMP32:
            bmp.reset(New<TBitmap>());
            bmp->LoadFromStream(Item->ImgData);
            if (bmp->GetPixelFormat() != pf32bit) {
                bmp->SetPixelFormat(pf32bit);
                MakeAlphaFromCorner(bmp.get());
            }
            break;
        case ifICO: {
            TOwned<TIcon> icon(New<TIcon>());
            // A file with several sizes gives the one nearest the list's.
            icon->SetWidth(TCustomImageList::GetWidth());
            icon->SetHeight(TCustomImageList::GetHeight());
            icon->LoadFromStream(Item->ImgData);
            bmp = IconToBitmap32(icon->GetHandle(), true);
            break;
        }
        }
    } catch (const Exception&) {
        bmp.reset();
    }
    Item->ImgData->SetPosition(0);
    if (!bmp || bmp->GetWidth() <= 0 || bmp->GetHeight() <= 0)
        return nullptr;
    bmp->SetPixelFormat(pf32bit);
    Item->OrigWidth = bmp->GetWidth();
    Item->OrigHeight = bmp->GetHeight();
    return bmp;
}

void TsAlphaImageList::AppendNative(TsImgListItem* Item)
{
    if (Item->GetImageFormat() == ifICO) {
        // The icon file itself, so that its own size for the list is chosen.
        try {
            Item->ImgData->SetPosition(0);
            TOwned<TIcon> icon(New<TIcon>());
            icon->SetWidth(TCustomImageList::GetWidth());
            icon->SetHeight(TCustomImageList::GetHeight());
            icon->LoadFromStream(Item->ImgData);
            Item->ImgData->SetPosition(0);
            Item->OrigWidth = icon->GetWidth();
            Item->OrigHeight = icon->GetHeight();
            if (ImageList_ReplaceIcon(GetHandle(), -1, icon->GetHandle()) >= 0)
                return;
        } catch (const Exception&) {
        }
    } else if (TOwned<TBitmap> bmp = Decode(Item)) {
        if (AddBitmap32ToList(bmp.get(), -1) >= 0)
            return;
    }
    // Data that does not decode still takes its place, so that native
    // indexes keep matching the items.
    TOwned<TBitmap> empty(MakeBitmap32(TCustomImageList::GetWidth(), TCustomImageList::GetHeight()));
    AddBitmap32ToList(empty.get(), -1);
}

void TsAlphaImageList::GenerateStdList()
{
    if (!SavedHeight && TCustomImageList::GetWidth() == 16 && TCustomImageList::GetHeight() == 16 &&
        GetUpdateCount() == 0) {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        FreeImageList();
        SavedWidth = SavedHeight = 16;
    }
    if (!SavedHeight)
        return;
    const bool changing = AcChanging;
    AcChanging = true;
    const TScopeExit restore([&] { AcChanging = changing; });
    HIMAGELIST list = GetHandle();
    ImageList_Remove(list, -1);
    for (int i = 0; i < FItems->Count(); ++i)
        AppendNative(FItems->Items(i));
    if (FItems->Count() > 0)
        StdListIsGenerated = true;
}

void TsAlphaImageList::Change()
{
    if (AcChanging || !HandleAllocated() || ComponentState().Contains(csLoading) || !StdListIsGenerated)
        return;
    const int items = FItems->Count();
    const int native = NativeCount();
    const bool designing = ComponentState().Contains(csDesigning);
    if (items < native || designing) {
        TacImageList::Change();
        if (designing)
            return;
    }
    if (items >= native) {
        if (native < items) {
            AcChanging = true;
            const TScopeExit release([this] { AcChanging = false; });
            GenerateStdList();
        }
        TacImageList::Change();
        return;
    }
    // Images added through the plain image-list methods: those without any
    // alpha become opaque except where they are fuchsia.
    for (int i = 0; i < native; ++i) {
        TIconHandle icon(ImageList_GetIcon(GetHandle(), i, ILD_NORMAL));
        TOwned<TBitmap> bmp = icon ? IconToBitmap32(icon.Get(), false) : nullptr;
        if (!bmp || !AllAlphaZero(bmp.get()))
            continue;
        for (int y = 0; y < bmp->GetHeight(); ++y) {
            auto* row = static_cast<Cardinal*>(bmp->GetScanLine(y));
            for (int x = 0; x < bmp->GetWidth(); ++x)
                if (row[x] != 0x00FF00FFu)
                    row[x] |= 0xFF000000u;
        }
        TIconInfo info(icon.Get());
        ICONINFO made{TRUE, 0, 0, info.Mask.Get(), bmp->GetHandle()};
        TIconHandle replaced(CreateIconIndirect(&made));
        if (replaced)
            ImageList_ReplaceIcon(GetHandle(), i, replaced.Get());
    }
}

int TsAlphaImageList::Count()
{
    const int native = NativeCount();
    if (FItems->Count() < native && (FItems->Count() == 0 || FItems->Items(0)->GetImageFormat() == ifICO))
        UpdateFromStd();
    return FItems->Count();
}

void TsAlphaImageList::UpdateFromStd()
{
    FItems->Clear();
    const int native = NativeCount();
    for (int i = 0; i < native; ++i) {
        TOwned<TIcon> icon(New<TIcon>());
        icon->SetHandle(ImageList_GetIcon(GetHandle(), i, ILD_NORMAL));
        if (!icon->HandleAllocated())
            continue;
        TsImgListItem* item = FItems->Add();
        item->SetImageFormat(ifICO);
        icon->SaveToStream(item->ImgData);
        item->ImgData->SetPosition(0);
        item->OrigWidth = icon->GetWidth();
        item->OrigHeight = icon->GetHeight();
    }
}

TOwned<TBitmap> TsAlphaImageList::NativeColorBitmap(int Index, bool UseMask)
{
    if (Index < 0 || Index >= NativeCount())
        return nullptr;
    TIconHandle icon(ImageList_GetIcon(GetHandle(), Index, ILD_NORMAL));
    return icon ? IconToBitmap32(icon.Get(), UseMask) : nullptr;
}

bool TsAlphaImageList::GetBitmap32(int Index, TBitmap* Image, int)
{
    if (!HandleAllocated() || !Image || Index < 0 || Index >= Count())
        return false;
    TsImgListItem* item = FItems->Items(Index);
    if (item->ImgData->GetSize() == 0 || item->GetImageFormat() == ifICO) {
        TOwned<TBitmap> bmp = NativeColorBitmap(Index, item->ImgData->GetSize() == 0);
        if (!bmp)
            return false;
        Image->Assign(bmp.get());
        return true;
    }
    const int width = Image->GetWidth(), height = Image->GetHeight();
    if (FUseCache && SameSize(item->CacheBmp.get(), width, height)) {
        Image->Assign(item->CacheBmp.get());
        return true;
    }
    item->CacheBmp.reset();
    TOwned<TBitmap> decoded = Decode(item, Image);
    if (!decoded)
        return false;
    if (SameSize(decoded.get(), width, height)) {
        Image->Assign(decoded.get());
    } else {
        Image->SetPixelFormat(pf32bit);
        ResampleBitmap(decoded.get(), Image, width, height, 6);
    }
    if (Image->GetPixelFormat() != pf32bit) {
        Image->SetPixelFormat(pf32bit);
        MakeAlphaFromCorner(Image);
    }
    if (FUseCache && SameSize(Image, TCustomImageList::GetWidth(), TCustomImageList::GetHeight()))
        item->CacheBmp = Copy32(Image);
    return true;
}

TBitmap* TsAlphaImageList::CreateBitmap32(int Index, int aWidth, int aHeight)
{
    if (!HandleAllocated() || Index < 0 || Index >= Count())
        return nullptr;
    TsImgListItem* item = FItems->Items(Index);
    if (item->ImgData->GetSize() == 0 || item->GetImageFormat() == ifICO)
        return NativeColorBitmap(Index, item->ImgData->GetSize() == 0).release();
    if (FUseCache && SameSize(item->CacheBmp.get(), aWidth, aHeight))
        return Copy32(item->CacheBmp.get()).release();
    TOwned<TBitmap> decoded = Decode(item);
    if (!decoded)
        return nullptr;
    TOwned<TBitmap> result;
    if (SameSize(decoded.get(), aWidth, aHeight)) {
        result = std::move(decoded);
    } else {
        result.reset(MakeBitmap32(aWidth, aHeight));
        ResampleBitmap(decoded.get(), result.get(), aWidth, aHeight, 6);
    }
    if (FUseCache)
        item->CacheBmp = Copy32(result.get());
    return result.release();
}

int TsAlphaImageList::Add(TBitmap* Image, TBitmap*)
{
    if (!Image || Image->GetEmpty())
        return -1;
    TOwned<TBitmap> bmp = Opaque32(Image, Image->GetTransparent(), Image->GetTransparentColor());
    TsImgListItem* item = FItems->Add();
    item->SetImageFormat(ifBMP32);
    item->SetPixelFormat(pf32bit);
    bmp->SaveToStream(item->ImgData);
    item->ImgData->SetPosition(0);
    item->OrigWidth = bmp->GetWidth();
    item->OrigHeight = bmp->GetHeight();
    int index = -1;
    {
        const bool changing = AcChanging;
        AcChanging = true;
        const TScopeExit restore([&] { AcChanging = changing; });
        index = AddBitmap32ToList(bmp.get(), -1);
    }
    Change();
    return index;
}

int TsAlphaImageList::AddImage(TCustomImageList* Value, int Index)
{
    auto* source = dynamic_cast<TsAlphaImageList*>(Value);
    if (!source)
        return TacImageList::AddImage(Value, Index);
    if (Index < 0 || Index >= source->FItems->Count())
        return -1;
    AcBeginUpdate();
    FItems->Add()->Assign(source->FItems->Items(Index));
    AcEndUpdate(true);
    return FItems->Count() - 1;
}

void TsAlphaImageList::Replace(int AIndex, TBitmap* ABmp32)
{
    if (!HandleAllocated() || !ABmp32 || AIndex < 0 || AIndex >= FItems->Count())
        return;
    try {
        TOwned<TBitmap> bmp = Opaque32(ABmp32, false, clNone);
        TsImgListItem* item = FItems->Items(AIndex);
        item->CacheBmp.reset();
        item->ImgData->Clear();
        bmp->SaveToStream(item->ImgData);
        item->ImgData->SetPosition(0);
        item->SetImageFormat(ifBMP32);
        {
            AcChanging = true;
            const TScopeExit release([this] { AcChanging = false; });
            AddBitmap32ToList(bmp.get(), AIndex);
            GenerateStdList();
        }
        Change();
    } catch (const Exception&) {
    }
}

void TsAlphaImageList::MoveItem(int CurIndex, int NewIndex)
{
    const int count = FItems->Count();
    if (CurIndex < 0 || CurIndex >= count || NewIndex < 0 || NewIndex >= count || CurIndex == NewIndex)
        return;
    FItems->Items(CurIndex)->SetIndex(NewIndex);
    AcChanging = true;
    const TScopeExit release([this] { AcChanging = false; });
    if (HandleAllocated() && NativeCount() == count)
        TacImageList::Move(CurIndex, NewIndex);
}

void TsAlphaImageList::Clear()
{
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Items(i)->ImgData->Clear();
    FItems->Clear();
    TacImageList::Clear();
}

void TsAlphaImageList::CopyImages(TsAlphaImageList* ImgList)
{
    if (!HandleAllocated() || !ImgList || ImgList == this)
        return;
    if (ImgList->HandleAllocated())
        ImageList_SetBkColor(ImgList->GetHandle(), CLR_NONE);
    FItems->Clear();
    for (int i = 0; i < ImgList->FItems->Count(); ++i)
        FItems->Add()->Assign(ImgList->FItems->Items(i));
    GenerateStdList();
}

void TsAlphaImageList::Assign(TPersistent* Source)
{
    if (!Source) {
        FreeNativeList();
        return;
    }
    auto* source = dynamic_cast<TsAlphaImageList*>(Source);
    if (!source) {
        TacImageList::Assign(Source);
        return;
    }
    if (source == this)
        return;
    AcBeginUpdate();
    const TScopeExit end([this] { AcEndUpdate(false); });
    AssignListSettings(source);
    CopyImages(source);
}

int TsAlphaImageList::GetWidth()
{
    if (IsScaling() && !ComponentState().Contains(csLoading) && SavedWidth)
        SetScaleValue(DefaultManager->GetScale());
    return TCustomImageList::GetWidth();
}

int TsAlphaImageList::GetHeight()
{
    GetWidth();
    return TCustomImageList::GetHeight();
}

void TsAlphaImageList::SetListSize(int AWidth, int AHeight)
{
    if (FLoaded) {
        SavedWidth = AWidth;
        SavedHeight = AHeight;
        FSavedScale = IsScaling() ? DefaultManager->GetScale() : 0;
    }
    const int step = IsScaling() ? FSavedScale : 0;
    TCustomImageList::SetSize(ScaleBy(AWidth, step), ScaleBy(AHeight, step));
}

void TsAlphaImageList::SetUseCache(bool Value)
{
    FUseCache = Value;
    for (int i = 0; i < FItems->Count(); ++i)
        FItems->Items(i)->CacheBmp.reset();
}

void TsAlphaImageList::SetScaleValue(int Value)
{
    if (Value == FSavedScale || !IsScaling())
        return;
    const bool updating = GetUpdateCount() > 0;
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        FSavedScale = Value;
        if (HandleAllocated())
            ImageList_Remove(GetHandle(), -1);
        FreeImageList();
        GenerateStdList();
    }
    if (!updating)
        TacImageList::Change();
}

// ---------------------------------------------------------------------------
bool TsAlphaImageList::TryLoadFromFile(const String& FileName)
{
    if (!HandleAllocated())
        GenerateStdList();
    // The first bytes tell the format; a file no longer than a signature is none.
    Byte head[8] = {};
    Int64 size = 0;
    TOwned<TMemoryStream> bytes(New<TMemoryStream>());
    try {
        TOwned<TFileStream> file(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
        size = file->GetSize();
        file->Read(head, static_cast<int>(std::min<Int64>(size, sizeof head)));
        file->SetPosition(0);
        bytes->LoadFromStream(file.get());
    } catch (const Exception&) {
        return false;
    }
    static const Byte pngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    TsImageFormat format;
    if (size > 8 && std::equal(std::begin(pngSignature), std::end(pngSignature), head))
        format = ifPNG;
    else if (size > 2 && head[0] == 0 && head[1] == 0 && LowerCase(ExtractFileExt(FileName)) == L".ico")
        format = ifICO;
    else if (size > 2 && head[0] == 'B' && head[1] == 'M')
        format = ifBMP32;
    else
        return false;

    TOwned<TsImgListItem> probe(New<TsImgListItem>(nullptr));
    probe->SetImageFormat(format);
    bytes->SetPosition(0);
    WriteBytes(probe->ImgData, bytes.get());
    TIconHandle icon;
    TPixelFormat pixelFormat = pf32bit;
    if (format == ifICO) {
        icon.Reset(ExtractIconW(HInstance(), FileName.c_str(), 0));
        // ExtractIcon answers 1 for a file that is not an icon file.
        if (reinterpret_cast<UINT_PTR>(icon.Get()) <= 1) {
            (void)icon.Release();
            return false;
        }
        TOwned<TBitmap> colour = IconToBitmap32(icon.Get(), false);
        if (!colour)
            return false;
        probe->OrigWidth = colour->GetWidth();
        probe->OrigHeight = colour->GetHeight();
        pixelFormat = AllAlphaZero(colour.get()) ? pf24bit : pf32bit;
    } else {
        TOwned<TBitmap> bmp;
        if (format == ifPNG) {
            bmp = Decode(probe.get());
        } else {
            // A bitmap without alpha is opaque but for the colour of its bottom-left pixel.
            try {
                bmp.reset(New<TBitmap>());
                bmp->LoadFromStream(probe->ImgData);
                if (bmp->GetWidth() <= 0 || bmp->GetHeight() <= 0)
                    bmp.reset();
                else if (bmp->GetPixelFormat() != pf32bit) {
                    const TColor key = bmp->GetCanvas()->GetPixels(0, bmp->GetHeight() - 1);
                    bmp = Opaque32(bmp.get(), true, key);
                }
            } catch (const Exception&) {
                bmp.reset();
            }
            if (bmp) {
                probe->OrigWidth = bmp->GetWidth();
                probe->OrigHeight = bmp->GetHeight();
            }
        }
        if (!bmp)
            return false;
        icon.Reset(CreateIconFromAlphaBitmap(bmp.get()));
    }
    if (!icon)
        return false;
    {
        AcChanging = true;
        const TScopeExit release([this] { AcChanging = false; });
        if (ImageList_ReplaceIcon(GetHandle(), -1, icon.Get()) < 0)
            return false;
    }
    TsImgListItem* item = FItems->Add();
    item->Assign(probe.get());
    item->OrigWidth = probe->OrigWidth;
    item->OrigHeight = probe->OrigHeight;
    item->SetPixelFormat(pixelFormat);
    // The name without its folder and its four-character extension.
    const String name = ExtractFileName(FileName);
    item->SetImageName(name.size() < 4 ? String() : name.substr(0, name.size() - 4));
    StdListIsGenerated = true;
    Change();
    return true;
}

void TsAlphaImageList::LoadFromFile(const String& FileName)
{
    if (!TryLoadFromFile(FileName))
        MessageDlg(L"Cannot load " + FileName + L"\r\nInvalid or unexpected image format.", mtError, {mbOK});
}

bool TsAlphaImageList::TryLoadFromPngStream(TStream* Stream)
{
    if (!HandleAllocated())
        GenerateStdList();
    try {
        TOwned<TsImgListItem> probe(New<TsImgListItem>(nullptr));
        probe->SetImageFormat(ifPNG);
        WriteBytes(probe->ImgData, Stream);
        TOwned<TBitmap> bmp = Decode(probe.get());
        if (!bmp)
            return false;
        TIconHandle icon(CreateIconFromAlphaBitmap(bmp.get()));
        if (!icon)
            return false;
        {
            AcChanging = true;
            const TScopeExit release([this] { AcChanging = false; });
            if (ImageList_ReplaceIcon(GetHandle(), -1, icon.Get()) < 0)
                return false;
        }
        TsImgListItem* item = FItems->Add();
        item->Assign(probe.get());
        StdListIsGenerated = true;
        Change();
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void TsAlphaImageList::LoadFromPngStream(TStream* Stream)
{
    if (!TryLoadFromPngStream(Stream))
        MessageDlg(L"Cannot load from stream\r\nInvalid or unexpected image format.", mtError, {mbOK});
}

void TsAlphaImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT, bool)
{
    if (!HandleAllocated() || !Canvas || Index < 0)
        return;
    const int width = TCustomImageList::GetWidth(), height = TCustomImageList::GetHeight();
    HDC dc = Canvas->GetHandle();
    if (Index < FItems->Count() && FItems->Items(Index)->GetImageFormat() != ifICO &&
        FItems->Items(Index)->ImgData->GetSize() != 0) {
        TOwned<TBitmap> image(CreateBitmap32(Index, width, height));
        if (!image)
            return;
        TOwned<TBitmap> area(MakeBitmap32(width, height));
        BitBlt(area->GetCanvas()->GetHandle(), 0, 0, width, height, dc, X, Y, SRCCOPY);
        const TRect all(0, 0, width, height);
        CopyRectWithAlpha(all, all, area.get(), false, 0, clNone, false, TCacheInfo{}, image.get());
        BitBlt(dc, X, Y, width, height, area->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
        return;
    }
    if (Index >= NativeCount())
        return;
    ImageList_SetBkColor(GetHandle(), CLR_NONE);
    TIconHandle icon(ImageList_GetIcon(GetHandle(), Index, ILD_NORMAL));
    if (icon)
        DrawIconEx(dc, X, Y, icon.Get(), width, height, 0, nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------
void acAlphaImageList_Initialize()
{
    if (!imageLists)
        imageLists = std::make_unique<std::vector<TacImageList*>>();
    // The icon font is installed by now (the embedded-fonts unit starts first).
    BuildDefaultCharImageList();
}

void acAlphaImageList_Finalize()
{
    FreeAndNil(DefaultCharImageList);
    imageLists.reset();
}
