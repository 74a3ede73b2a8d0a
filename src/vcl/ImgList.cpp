// TCustomImageList over a comctl32 image list.
#include "ImgList.h"
#include "ScopeExit.h"
#include <algorithm>

namespace {

COLORREF ListColor(TColor color)
{
    if (color == clNone)
        return CLR_NONE;
    if (color == clDefault)
        return CLR_DEFAULT;
    return ColorToRGB(color);
}

constexpr UINT DrawingStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
constexpr UINT ImageTypes[] = {0, ILD_MASK};
constexpr UINT ColorDepths[] = {ILC_COLORDDB, ILC_COLOR4, ILC_COLOR8, ILC_COLOR16, ILC_COLOR24, ILC_COLOR32};

// Raster operation PSDPxax: the pattern where the source is 0, the destination where it is 1.
constexpr DWORD PaintWhereSourceClear = 0x00B8074A;
// DSna: the destination where the source is 0, black where it is 1.
constexpr DWORD BlackWhereSourceSet = 0x00220326;

[[noreturn]] void InvalidIndex() { throw EInvalidOperation(L"Invalid ImageList Index"); }

} // namespace

// ---------------------------------------------------------------------------
TChangeLink::~TChangeLink()
{
    if (sender_)
        sender_->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    FireEvent(OnChange, sender_);
}

// ---------------------------------------------------------------------------
TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TComponent(AOwner)
{
    SetSize(AWidth, AHeight);
}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : links_)
        link->SetSender(nullptr);
    links_.clear();
    FreeImageList();
}

void TCustomImageList::CreateImageList()
{
    UINT flags = ColorDepths[colorDepth_] | (masked_ ? ILC_MASK : 0u);
    HIMAGELIST list = ImageList_Create(width_, height_, flags, 0, std::max(allocBy_, 1));
    if (!list)
        throw EOutOfResources(L"Out of system resources");
    handle_.Reset(list);
    ImageList_SetBkColor(list, ListColor(bkColor_));
}

void TCustomImageList::FreeImageList()
{
    if (shareImages_)
        handle_.Release();
    else
        handle_.Reset();
}

HIMAGELIST TCustomImageList::GetHandle()
{
    if (!handle_)
        CreateImageList();
    return handle_.Get();
}

void TCustomImageList::SetHandle(HIMAGELIST Value)
{
    if (Value == handle_.Get())
        return;
    FreeImageList();
    handle_.Reset(Value);
    if (Value) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(Value, &cx, &cy);
        width_ = cx;
        height_ = cy;
        bkColor_ = [&] {
            COLORREF bk = ImageList_GetBkColor(Value);
            return bk == CLR_NONE ? clNone : static_cast<TColor>(bk);
        }();
    }
    Change();
}

int TCustomImageList::Count() { return handle_ ? ImageList_GetImageCount(handle_.Get()) : 0; }

int TCustomImageList::CheckedIndex(int index, const wchar_t* what)
{
    if (index < 0)
        throw EInvalidOperation(what);
    Change();
    return index;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask)
{
    if (!Image || Image->GetEmpty())
        throw EInvalidOperation(L"Unable to add an empty image");
    HBITMAP mask = Mask ? Mask->GetHandle() : nullptr;
    // Without a mask the platform can leave the new image's mask bits as it
    // finds them, so stray pixels draw transparent: give it an opaque one.
    TBitmapHandle opaque;
    if (!mask && masked_) {
        BITMAP info{};
        GetObjectW(Image->GetHandle(), sizeof(info), &info);
        opaque.Reset(CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
        TMemoryDC dc;
        HGDIOBJ old = SelectObject(dc.Get(), opaque.Get());
        PatBlt(dc.Get(), 0, 0, info.bmWidth, info.bmHeight, BLACKNESS);
        SelectObject(dc.Get(), old);
        mask = opaque.Get();
    }
    int index = ImageList_Add(GetHandle(), Image->GetHandle(), mask);
    return CheckedIndex(index, L"Unable to add image");
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor)
{
    if (!Image || Image->GetEmpty())
        throw EInvalidOperation(L"Unable to add an empty image");
    if (MaskColor == clDefault)
        MaskColor = Image->GetTransparentColor() & 0xFFFFFF;
    // ImageList_AddMasked blackens the masked pixels of the bitmap it is given.
    TOwned<TBitmap> copy(New<TBitmap>());
    copy->Assign(Image);
    int index = ImageList_AddMasked(GetHandle(), copy->GetHandle(), ColorToRGB(MaskColor));
    return CheckedIndex(index, L"Unable to add image");
}

int TCustomImageList::AddIcon(TIcon* Image)
{
    if (!Image || !Image->GetHandle())
        throw EInvalidOperation(L"Unable to add an empty image");
    return CheckedIndex(ImageList_ReplaceIcon(GetHandle(), -1, Image->GetHandle()), L"Unable to add image");
}

int TCustomImageList::AddImage(TCustomImageList* Value, int Index)
{
    if (!Value || Index < 0 || Index >= Value->Count())
        InvalidIndex();
    // As an icon the image keeps its mask.
    TIconHandle icon(ImageList_GetIcon(Value->GetHandle(), Index, ILD_NORMAL));
    if (!icon)
        InvalidIndex();
    return CheckedIndex(ImageList_ReplaceIcon(GetHandle(), -1, icon.Get()), L"Unable to add image");
}

void TCustomImageList::Updating(const std::function<void()>& work)
{
    BeginUpdate();
    const TScopeExit endUpdate([this] { EndUpdate(); });
    work();
}

void TCustomImageList::AddImages(TCustomImageList* Value)
{
    if (!Value || Value == this)
        return;
    Updating([&] {
        for (int i = 0, n = Value->Count(); i < n; ++i)
            AddImage(Value, i);
    });
}

void TCustomImageList::InsertAt(int Index, const std::function<int()>& add)
{
    if (Index < 0 || Index > Count())
        InvalidIndex();
    // Added at the end, then moved into place.
    Updating([&] { Move(add(), Index); });
}

void TCustomImageList::Insert(int Index, TBitmap* Image, TBitmap* Mask)
{
    InsertAt(Index, [&] { return Add(Image, Mask); });
}

void TCustomImageList::InsertMasked(int Index, TBitmap* Image, TColor MaskColor)
{
    InsertAt(Index, [&] { return AddMasked(Image, MaskColor); });
}

void TCustomImageList::InsertIcon(int Index, TIcon* Image)
{
    InsertAt(Index, [&] { return AddIcon(Image); });
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask)
{
    if (Index < 0 || Index >= Count())
        InvalidIndex();
    if (!Image || !ImageList_Replace(handle_.Get(), Index, Image->GetHandle(), Mask ? Mask->GetHandle() : nullptr))
        throw EInvalidOperation(L"Unable to Replace Image");
    Change();
}

void TCustomImageList::ReplaceMasked(int Index, TBitmap* NewImage, TColor MaskColor)
{
    if (Index < 0 || Index >= Count())
        InvalidIndex();
    if (!NewImage || NewImage->GetEmpty())
        throw EInvalidOperation(L"Unable to Replace Image");
    TOwned<TBitmap> image(New<TBitmap>());
    image->Assign(NewImage);
    image->SetTransparentColor(MaskColor == clDefault ? NewImage->GetTransparentColor() & 0xFFFFFF : MaskColor);
    TOwned<TBitmap> mask(New<TBitmap>());
    mask->Assign(image.get());
    mask->Mask(image->GetTransparentColor());
    // Masked pixels of the image must be black, as ImageList_AddMasked makes them.
    {
        HDC dc = image->GetCanvas()->GetHandle();
        TMonochromeColors monochrome(dc);
        BitBlt(dc, 0, 0, image->GetWidth(), image->GetHeight(), mask->GetCanvas()->GetHandle(), 0, 0,
               BlackWhereSourceSet);
    }
    if (!ImageList_Replace(handle_.Get(), Index, image->GetHandle(), mask->GetHandle()))
        throw EInvalidOperation(L"Unable to Replace Image");
    Change();
}

void TCustomImageList::ReplaceIcon(int Index, TIcon* Image)
{
    if (Index < 0 || Index >= Count())
        InvalidIndex();
    if (!Image || ImageList_ReplaceIcon(handle_.Get(), Index, Image->GetHandle()) < 0)
        throw EInvalidOperation(L"Unable to Replace Image");
    Change();
}

void TCustomImageList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        InvalidIndex();
    ImageList_Remove(handle_.Get(), Index);
    Change();
}

void TCustomImageList::Clear()
{
    if (handle_)
        ImageList_Remove(handle_.Get(), -1);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex)
{
    int count = Count();
    if (CurIndex < 0 || CurIndex >= count || NewIndex < 0 || NewIndex >= count)
        InvalidIndex();
    if (CurIndex == NewIndex)
        return;
    // Wine's ImageList_Copy does not swap images reliably; the images are
    // taken out as icons (mask included) and put back in the new order.
    std::vector<TIconHandle> icons;
    for (int i = 0; i < count; ++i) {
        icons.emplace_back(ImageList_GetIcon(handle_.Get(), i, ILD_NORMAL));
        if (!icons.back())
            throw EOutOfResources(L"Out of system resources");
    }
    TIconHandle moving = std::move(icons[static_cast<size_t>(CurIndex)]);
    icons.erase(icons.begin() + CurIndex);
    icons.insert(icons.begin() + NewIndex, std::move(moving));
    for (int i = 0; i < count; ++i)
        ImageList_ReplaceIcon(handle_.Get(), i, icons[static_cast<size_t>(i)].Get());
    Change();
}

// ---------------------------------------------------------------------------
void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled)
{
    Draw(Canvas, X, Y, Index, drawingStyle_, imageType_, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled)
{
    if (handle_ && Canvas)
        DoDraw(Index, Canvas, X, Y, DrawingStyles[ADrawingStyle] | ImageTypes[AImageType], Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled)
{
    if (!handle_ || Index < 0 || Index >= Count())
        return;
    Canvas->Changing();
    if (Enabled)
        ImageList_DrawEx(handle_.Get(), Index, Canvas->GetHandle(), X, Y, 0, 0, ListColor(bkColor_),
                         ListColor(blendColor_), Style);
    else
        DrawDisabled(Index, Canvas, X, Y);
    Canvas->Changed();
}

void TCustomImageList::DrawDisabled(int Index, TCanvas* Canvas, int X, int Y)
{
    // The shape of the image, embossed: highlight one pixel down and right,
    // shadow over it.
    TBitmapHandle shape(CreateBitmap(width_, height_, 1, 1, nullptr));
    TMemoryDC shapeDC;
    TSelectObject selectShape(shapeDC.Get(), shape.Get());
    if (masked_) {
        PatBlt(shapeDC.Get(), 0, 0, width_, height_, WHITENESS);
        ImageList_DrawEx(handle_.Get(), Index, shapeDC.Get(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    } else {
        PatBlt(shapeDC.Get(), 0, 0, width_, height_, BLACKNESS);
    }
    HDC dc = Canvas->GetHandle();
    TMonochromeColors monochrome(dc);
    const std::pair<int, int> layers[] = {{COLOR_BTNHIGHLIGHT, 1}, {COLOR_BTNSHADOW, 0}};
    for (auto [color, offset] : layers) {
        TBrushHandle brush(CreateSolidBrush(GetSysColor(color)));
        TSelectObject selectBrush(dc, brush.Get());
        BitBlt(dc, X + offset, Y + offset, width_, height_, shapeDC.Get(), 0, 0, PaintWhereSourceClear);
    }
}

bool TCustomImageList::GetBitmap(int Index, TBitmap* Image)
{
    if (!Image || !handle_ || Index < 0 || Index >= Count())
        return false;
    Image->SetSize(width_, height_);
    Image->GetCanvas()->FillRect(Rect(0, 0, width_, height_));
    Draw(Image->GetCanvas(), 0, 0, Index);
    return true;
}

bool TCustomImageList::GetIcon(int Index, TIcon* Image)
{
    if (!Image || !handle_ || Index < 0 || Index >= Count())
        return false;
    HICON icon = ImageList_GetIcon(handle_.Get(), Index, ILD_NORMAL);
    if (!icon)
        return false;
    Image->SetHandle(icon);
    return true;
}

// ---------------------------------------------------------------------------
void TCustomImageList::SetSize(int AWidth, int AHeight)
{
    if (AWidth <= 0 || AHeight <= 0 || AWidth > 32768 || AHeight > 32768)
        throw EInvalidOperation(L"Invalid image size");
    if (AWidth == width_ && AHeight == height_)
        return;
    width_ = AWidth;
    height_ = AHeight;
    // The native list drops its images when its size changes.
    if (handle_)
        ImageList_SetIconSize(handle_.Get(), width_, height_);
    Change();
}

void TCustomImageList::SetBkColor(TColor Value)
{
    if (Value == bkColor_)
        return;
    bkColor_ = Value;
    if (handle_)
        ImageList_SetBkColor(handle_.Get(), ListColor(bkColor_));
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value)
{
    if (StoreChanged(drawingStyle_, Value))
        Change();
}

void TCustomImageList::SetImageType(TImageType Value)
{
    if (StoreChanged(imageType_, Value))
        Change();
}

void TCustomImageList::RecreateImageList()
{
    if (handle_) {
        // A new native list of the new kind with the same images.
        TOwned<TCustomImageList> old(New<TCustomImageList>(nullptr));
        old->SetHandle(handle_.Release());
        CreateImageList();
        AddImages(old.get());
    }
    Change();
}

void TCustomImageList::SetMasked(bool Value)
{
    if (StoreChanged(masked_, Value))
        RecreateImageList();
}

void TCustomImageList::SetColorDepth(TColorDepth Value)
{
    if (StoreChanged(colorDepth_, Value))
        RecreateImageList();
}

void TCustomImageList::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TCustomImageList*>(Source);
    if (!src) {
        TComponent::Assign(Source);
        return;
    }
    if (src == this)
        return;
    FreeImageList();
    width_ = src->width_;
    height_ = src->height_;
    bkColor_ = src->bkColor_;
    blendColor_ = src->blendColor_;
    drawingStyle_ = src->drawingStyle_;
    imageType_ = src->imageType_;
    masked_ = src->masked_;
    colorDepth_ = src->colorDepth_;
    allocBy_ = src->allocBy_;
    shareImages_ = false;
    if (src->handle_)
        handle_.Reset(ImageList_Duplicate(src->handle_.Get()));
    Change();
}

// ---------------------------------------------------------------------------
void TCustomImageList::RegisterChanges(TChangeLink* Value)
{
    if (!Value || std::find(links_.begin(), links_.end(), Value) != links_.end())
        return;
    if (Value->GetSender() && Value->GetSender() != this)
        Value->GetSender()->UnRegisterChanges(Value);
    Value->SetSender(this);
    links_.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value)
{
    auto it = std::find(links_.begin(), links_.end(), Value);
    if (it == links_.end())
        return;
    links_.erase(it);
    Value->SetSender(nullptr);
}

void TCustomImageList::BeginUpdate() { ++updateCount_; }

void TCustomImageList::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0 && changed_)
        Change();
}

void TCustomImageList::Change()
{
    if (updateCount_ > 0) {
        changed_ = true;
        return;
    }
    changed_ = false;
    // A link may unregister itself from its handler.
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end())
            link->Change();
    FireEvent(OnChange, this);
}
