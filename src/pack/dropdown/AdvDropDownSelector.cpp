// The item selector. Every item has the same size; ArrangeItems lays them out
// row by row and sizes the panel with the top-left margins repeated at the
// bottom and right. Rectangles are valid only after ArrangeItems, which every
// change of items, type, box size, images or columns runs, and which clears
// the hot item. A hot or selection change redraws only the two items
// concerned: the old one by invalidation, the new one at once.
#include "AdvDropDownSelector.h"

#include "AdvUtil.h"
#include "HTMLUtils.h"
#include "ImgList.h"
#include "SysUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Items.

TSelectorItem::TSelectorItem(TCollection* Collection) : TCollectionItem(Collection), image_(New<TPicture>()) {}

void TSelectorItem::Notify()
{
    if (auto* items = dynamic_cast<TSelectorItems*>(GetCollection()); items && items->OnChange)
        items->OnChange(this);
}

void TSelectorItem::SetCaption(const String& Value)
{
    if (Value == caption_)
        return;
    caption_ = Value;
    Notify();
}

void TSelectorItem::SetColor(TColor Value)
{
    if (Value == color_)
        return;
    color_ = Value;
    Notify();
}

void TSelectorItem::SetImageIndex(int Value)
{
    if (Value == imageIndex_)
        return;
    imageIndex_ = Value;
    Notify();
}

TGraphic* TSelectorItem::OwnGraphic() const
{
    TGraphic* graphic = image_->GetGraphic();
    return graphic && !graphic->GetEmpty() ? graphic : nullptr;
}

void TSelectorItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TSelectorItem*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(source->caption_);
    SetColor(source->color_);
    SetImageIndex(source->imageIndex_);
    image_->Assign(source->image_.get());
    enabled_ = source->enabled_;
    hint_ = source->hint_;
}

// ---------------------------------------------------------------------------
// Appearance.

namespace {

struct TItemPreset {
    TSelectionColorStyle Style;
    TColor Hot, HotTo, MirrorHot, MirrorHotTo, BorderTop, BorderBottom, Border, Edge, Selected, SelectedTo,
        MirrorSelected, MirrorSelectedTo;
};

constexpr TItemPreset ItemPresets[] = {
    {scOffice2007, 0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4,
     0x15C1FB, 0x68E3F9},
    {scWindowsVista, 0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4,
     clNone, clNone},
    {scWindows7, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2,
     clNone, clNone},
};

} // namespace

TItemAppearance::TItemAppearance(TComponent* AOwner) : owner_(AOwner), font_(New<TFont>())
{
    font_->SetName(L"Tahoma");
    SetColorStyle(scOffice2007);
    ColorSelectedText = 0;
    ColorHotText = 0;
    BorderColorHot = clNone;
    BorderColorSelected = clNone;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value)
{
    if (Value == ColorStyle)
        return;
    ColorStyle = Value;
    for (const TItemPreset& p : ItemPresets) {
        if (p.Style != Value)
            continue;
        ColorHot = p.Hot;
        ColorHotTo = p.HotTo;
        ColorMirrorHot = p.MirrorHot;
        ColorMirrorHotTo = p.MirrorHotTo;
        BorderColorTop = p.BorderTop;
        BorderColorBottom = p.BorderBottom;
        BorderColor = p.Border;
        EdgeColor = p.Edge;
        ColorSelected = p.Selected;
        ColorSelectedTo = p.SelectedTo;
        ColorMirrorSelected = p.MirrorSelected;
        ColorMirrorSelectedTo = p.MirrorSelectedTo;
    }
}

void TItemAppearance::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TItemAppearance*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    ColorMirrorHotTo = source->ColorMirrorHotTo;
    BorderColor = source->BorderColor;
    ColorMirrorHot = source->ColorMirrorHot;
    ColorSelectedTo = source->ColorSelectedTo;
    ColorSelected = source->ColorSelected;
    EdgeColor = source->EdgeColor;
    ColorHotTo = source->ColorHotTo;
    BorderColorBottom = source->BorderColorBottom;
    ColorHot = source->ColorHot;
    BorderColorTop = source->BorderColorTop;
    ColorMirrorSelectedTo = source->ColorMirrorSelectedTo;
    ColorMirrorSelected = source->ColorMirrorSelected;
    font_->Assign(source->font_.get());
    // A different preset style overwrites the colours just copied.
    SetColorStyle(source->ColorStyle);
    ColorSelectedText = source->ColorSelectedText;
    ColorHotText = source->ColorHotText;
    BorderColorHot = source->BorderColorHot;
    BorderColorSelected = source->BorderColorSelected;
}

// ---------------------------------------------------------------------------
// The panel.

TCustomItemSelector::TCustomItemSelector(TComponent* AOwner) : TCustomControl(AOwner)
{
    AdvItemSelector = dynamic_cast<TAdvCustomItemSelector*>(AOwner);
    if (!AdvItemSelector)
        throw EInvalidOperation(L"Invalid parent");
    SetParentColor(true);
}

bool TCustomItemSelector::IsDisabledItem(int Index) const
{
    TSelectorItems* items = AdvItemSelector->GetItems();
    return Index >= 0 && Index < items->Count() && !items->GetItem(Index)->GetEnabled();
}

TRect TCustomItemSelector::ItemRect(int Index) const
{
    TSelectorItems* items = AdvItemSelector->GetItems();
    if (Index < 0 || Index >= items->Count())
        return TRect(-1, -1, -1, -1);
    return items->GetItem(Index)->GetRect();
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const
{
    TSelectorItems* items = AdvItemSelector->GetItems();
    for (int i = 0; i < items->Count(); ++i)
        if (PtInRect(&items->GetItem(i)->GetRect(), POINT{X, Y}))
            return i;
    return -1;
}

void TCustomItemSelector::GetContentRect(TRect& R)
{
    R = GetClientRect();
    InflateRect(&R, -OffSetX, -OffSetY);
}

void TCustomItemSelector::GetItemSize(TSize& Size)
{
    if (AdvItemSelector->OnItemSize) {
        AdvItemSelector->OnItemSize(this, Size);
        return;
    }
    TSelectorItems* items = AdvItemSelector->GetItems();
    TCustomImageList* images = AdvItemSelector->GetImages();
    const bool colorBoxes = AdvItemSelector->GetSelectorType() == stColor;
    int bw = colorBoxes ? AdvItemSelector->GetColorBoxWidth() : 0;
    int bh = colorBoxes ? AdvItemSelector->GetColorBoxHeight() : 0;
    int tw = 0, th = 0;
    GetCanvas()->GetFont()->Assign(AdvItemSelector->GetItemAppearance()->GetFont());
    for (int i = 0; i < items->Count(); ++i) {
        TSelectorItem* item = items->GetItem(i);
        if (!colorBoxes) {
            if (TGraphic* graphic = item->OwnGraphic()) {
                bw = std::max(bw, graphic->GetWidth());
                bh = std::max(bh, graphic->GetHeight());
            } else if (images && item->GetImageIndex() >= 0) {
                bw = std::max(bw, images->GetWidth());
                bh = std::max(bh, images->GetHeight());
            }
        }
        const TSize text =
            DrawHTMLText(GetCanvas(), item->GetCaption(), TRect(0, 0, 1000, 500), images, false, Handle());
        tw = std::max<int>(tw, text.cx);
        th = std::max<int>(th, text.cy);
    }
    if (tw > 0)
        tw += 4;
    switch (AdvItemSelector->GetItemLayout()) {
    case ilCaptionLeft:
    case ilCaptionRight:
        Size.cx = 2 * ItemOffSetX + (bw > 0 ? bw : 0) + (bw > 0 && tw > 0 ? CaptionGap : 0) + tw;
        Size.cy = std::max(th, bh) + 2 * ItemOffSetY;
        break;
    case ilCaptionTop:
    case ilCaptionBottom:
        Size.cx = std::max(tw, bw) + 2 * ItemOffSetX;
        Size.cy = 2 * ItemOffSetY + (bh > 0 ? bh : 0) + (bh > 0 && th > 0 ? CaptionGap : 0) + th;
        break;
    }
}

void TCustomItemSelector::ArrangeItems()
{
    TSelectorItems* items = AdvItemSelector->GetItems();
    if (items->Count() == 0) {
        SetHeight(50);
        SetWidth(100);
        return;
    }
    ItemHot = -1;
    TSize size{};
    GetItemSize(size);
    TRect area;
    GetContentRect(area);
    const int columns = AdvItemSelector->GetColumns();
    int x = area.left, y = area.top, column = 0, maxX = 0;
    for (int i = 0; i < items->Count(); ++i) {
        items->GetItem(i)->SetRect(TRect(x, y, x + size.cx, y + size.cy));
        ++column;
        if (i == items->Count() - 1)
            break;
        if (columns > column) {
            x += size.cx;
        } else {
            maxX = std::max(maxX, x);
            x = area.left;
            y += size.cy;
            column = 0;
        }
    }
    maxX = std::max(maxX, x);
    SetHeight(y + size.cy + area.top);
    SetWidth(maxX + size.cx + area.left);
}

void TCustomItemSelector::InvalidateItem(int Index)
{
    TSelectorItems* items = AdvItemSelector->GetItems();
    if (Index < 0 || Index >= items->Count() || !HandleAllocated())
        return;
    const TRect r = items->GetItem(Index)->GetRect();
    InvalidateRect(Handle(), &r, TRUE);
}

void TCustomItemSelector::Paint()
{
    TCustomControl::Paint();
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
    for (int i = 0; i < AdvItemSelector->GetItems()->Count(); ++i)
        DrawItem(i, canvas);
}

namespace {

// The picture's graphic or the list's image of an item, and its size.
TSize ItemImageSize(TSelectorItem* Item, TCustomImageList* Images)
{
    if (TGraphic* graphic = Item->OwnGraphic())
        return {graphic->GetWidth(), graphic->GetHeight()};
    if (Images && Item->GetImageIndex() >= 0)
        return {Images->GetWidth(), Images->GetHeight()};
    return {0, 0};
}

// Draws the item's image at (X, Y); false when it has none.
bool DrawItemImage(TCanvas* Canvas, TSelectorItem* Item, TCustomImageList* Images, int X, int Y)
{
    if (TGraphic* graphic = Item->OwnGraphic()) {
        Canvas->Draw(X, Y, graphic);
        return true;
    }
    if (Images && Item->GetImageIndex() >= 0) {
        Images->Draw(Canvas, X, Y, Item->GetImageIndex(), Item->GetEnabled());
        return true;
    }
    return false;
}

void DrawColorBox(TCanvas* Canvas, TRect& B, int bw, int bh, TColor Color)
{
    B.right = B.left + bw;
    B.bottom = B.top + bh;
    Canvas->GetPen()->SetColor(clBlack);
    Canvas->GetBrush()->SetColor(Color);
    Canvas->Rectangle(B);
}

} // namespace

void TCustomItemSelector::DrawItem(int Index, TCanvas* ACanvas)
{
    TSelectorItems* items = AdvItemSelector->GetItems();
    if (Index < 0 || Index >= items->Count() || !ACanvas)
        return;
    TSelectorItem* item = items->GetItem(Index);
    TRect R = item->GetRect();
    if (R.left < 0 && R.right < 0)
        return;
    TItemAppearance* app = AdvItemSelector->GetItemAppearance();
    TColor border = app->BorderColor, topLine = app->BorderColorTop, bottomLine = app->BorderColorBottom,
           edge = app->EdgeColor;
    TColor from = clNone, to = clNone, mirrorFrom = clNone, mirrorTo = clNone;
    bool decorated = false;
    auto useBorder = [&](TColor Special) {
        if (Special == clNone)
            return;
        border = Special;
        topLine = bottomLine = edge = clNone;
    };
    if (Index == ItemHot) {
        from = app->ColorHot;
        to = app->ColorHotTo;
        mirrorFrom = app->ColorMirrorHot;
        mirrorTo = app->ColorMirrorHotTo;
        useBorder(app->BorderColorHot);
        decorated = true;
    }
    if (Index == ItemIndex) {
        from = app->ColorSelected;
        to = app->ColorSelectedTo;
        mirrorFrom = app->ColorMirrorSelected;
        mirrorTo = app->ColorMirrorSelectedTo;
        border = app->BorderColor;
        topLine = app->BorderColorTop;
        bottomLine = app->BorderColorBottom;
        edge = app->EdgeColor;
        useBorder(app->BorderColorSelected);
        decorated = true;
    }
    TCanvas* canvas = GetCanvas();
    if (decorated && topLine != clNone) {
        DrawStyledSelectionRect(canvas, from, to, mirrorFrom, mirrorTo, topLine, bottomLine, border, edge, GetColor(),
                                R, 0);
    } else if (decorated) {
        FillGradientRect(canvas, R, from, to, border, 1, AdvDropDown::gdVertical);
    } else {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->FillRect(R);
    }
    if (AdvItemSelector->OnDrawItem) {
        AdvItemSelector->OnDrawItem(this, canvas, R, Index);
        return;
    }

    TCustomImageList* images = AdvItemSelector->GetImages();
    const bool colorBox = AdvItemSelector->GetSelectorType() == stColor;
    TRect T = R;
    InflateRect(&T, -ItemOffSetX, -ItemOffSetY);
    TRect B = T;
    const TSize box = colorBox ? TSize{AdvItemSelector->GetColorBoxWidth(), AdvItemSelector->GetColorBoxHeight()}
                               : ItemImageSize(item, images);
    const int bw = box.cx, bh = box.cy;
    canvas->GetFont()->Assign(app->GetFont());
    if (Index == ItemHot)
        canvas->GetFont()->SetColor(app->ColorHotText);
    if (Index == ItemIndex)
        canvas->GetFont()->SetColor(app->ColorSelectedText);
    canvas->GetBrush()->SetStyle(bsClear);
    const String& caption = item->GetCaption();
    const HWND wnd = Handle();
    auto centreCaption = [&](TRect& Area) {
        const TSize size = DrawHTMLText(canvas, caption, Area, images, false, wnd);
        if (Area.Height() > size.cy)
            Area.top += (Area.Height() - size.cy) / 2;
        DrawHTMLText(canvas, caption, Area, images, true, wnd);
        return size;
    };
    switch (AdvItemSelector->GetItemLayout()) {
    case ilCaptionLeft:
        if (!caption.empty()) {
            T.right -= bw;
            const TSize size = centreCaption(T);
            B.left = T.left + size.cx + CaptionGap;
        }
        if (colorBox)
            DrawColorBox(canvas, B, bw, bh, item->GetColor());
        else
            DrawItemImage(canvas, item, images, B.left, B.top + (B.Height() - bh) / 2);
        break;
    case ilCaptionRight:
        if (colorBox) {
            DrawColorBox(canvas, B, bw, bh, item->GetColor());
            T.left = B.left + bw + CaptionGap;
        } else if (DrawItemImage(canvas, item, images, B.left, B.top + (B.Height() - bh) / 2)) {
            T.left = B.left + bw + CaptionGap;
        }
        if (!caption.empty())
            centreCaption(T);
        break;
    case ilCaptionTop:
        if (!caption.empty()) {
            T.bottom -= bh;
            const TSize size = DrawHTMLText(canvas, caption, T, images, true, wnd);
            B.top = T.top + size.cy + CaptionGap;
        } else {
            B.top += (B.Height() - bh) / 2;
        }
        B.left += (B.Width() - bw) / 2;
        if (colorBox)
            DrawColorBox(canvas, B, bw, bh, item->GetColor());
        else
            DrawItemImage(canvas, item, images, B.left, B.top);
        break;
    case ilCaptionBottom:
        if (caption.empty())
            B.top += (B.Height() - bh) / 2;
        B.left += (B.Width() - bw) / 2;
        // The caption goes below the box as well as below an image: the
        // item's size reserves that room for both.
        if (colorBox) {
            DrawColorBox(canvas, B, bw, bh, item->GetColor());
            T.top = B.top + bh + CaptionGap;
        } else if (DrawItemImage(canvas, item, images, B.left, B.top)) {
            T.top = B.top + bh + CaptionGap;
        }
        if (!caption.empty())
            DrawHTMLText(canvas, caption, T, images, true, wnd);
        break;
    }
    canvas->GetBrush()->SetStyle(bsSolid);
}

void TCustomItemSelector::SetItemIndex(int Value)
{
    if (IsDisabledItem(Value))
        return;
    if (ItemIndex >= 0 && ItemIndex != Value) {
        const int old = ItemIndex;
        ItemIndex = -1;
        InvalidateItem(old);
    }
    ItemIndex = Value;
    if (Value >= 0) {
        if (HandleAllocated())
            DrawItem(Value, GetCanvas());
        if (OnItemSelect)
            OnItemSelect(this);
    }
}

void TCustomItemSelector::SetItemHot(int Value)
{
    if (Value == ItemHot || IsDisabledItem(Value))
        return;
    if (ItemHot >= 0) {
        const int old = ItemHot;
        ItemHot = -1;
        InvalidateItem(old);
    }
    ItemHot = Value;
    if (Value >= 0 && HandleAllocated())
        DrawItem(Value, GetCanvas());
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i >= 0 && !IsDisabledItem(i))
        SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i < 0) {
        if (ItemHot >= 0)
            SetItemHot(-1);
        return;
    }
    if (i == ItemHot)
        return;
    SetItemHot(IsDisabledItem(i) ? -1 : i);
    SetHint(AdvItemSelector->GetItems()->GetItem(i)->GetHint());
    Application->CancelHint();
}

void TCustomItemSelector::MouseLeave()
{
    TCustomControl::MouseLeave();
    if (ItemHot >= 0)
        SetItemHot(-1);
}

namespace {

bool StepIndex(int Count, int& Index, int Delta)
{
    if (Count == 0)
        return false;
    if (Index < 0) {
        Index = 0;
        return true;
    }
    const int next = Index + Delta;
    if (next < 0 || next >= Count)
        return false;
    Index = next;
    return true;
}

} // namespace

void TCustomItemSelector::SelectFirst()
{
    if (AdvItemSelector->GetItems()->Count() > 0)
        SetItemIndex(0);
}

void TCustomItemSelector::SelectLast()
{
    if (const int n = AdvItemSelector->GetItems()->Count(); n > 0)
        SetItemIndex(n - 1);
}

void TCustomItemSelector::SelectNext()
{
    int i = ItemIndex;
    if (StepIndex(AdvItemSelector->GetItems()->Count(), i, 1))
        SetItemIndex(i);
}

void TCustomItemSelector::SelectPrevious()
{
    int i = ItemIndex;
    if (StepIndex(AdvItemSelector->GetItems()->Count(), i, -1))
        SetItemIndex(i);
}

void TCustomItemSelector::HotNext()
{
    int i = ItemHot;
    if (StepIndex(AdvItemSelector->GetItems()->Count(), i, 1))
        SetItemHot(i);
}

void TCustomItemSelector::HotPrevious()
{
    int i = ItemHot;
    if (StepIndex(AdvItemSelector->GetItems()->Count(), i, -1))
        SetItemHot(i);
}

bool TCustomItemSelector::LookupItem(const String& s)
{
    TSelectorItems* items = AdvItemSelector->GetItems();
    // A plain "starts with" would let the empty text match every item.
    if (items->Count() == 0 || s.empty())
        return false;
    auto matches = [&](int i) {
        const String key = AnsiUpperCase(Trim(GridHTMLToText(items->GetItem(i)->GetCaption())));
        return key.compare(0, s.size(), s) == 0;
    };
    const int start = std::max(0, ItemIndex);
    for (int i = start; i < items->Count(); ++i)
        if (i != ItemIndex && matches(i)) {
            SetItemIndex(i);
            return true;
        }
    if (start > 0)
        for (int i = 0; i < items->Count(); ++i)
            if (matches(i)) {
                SetItemIndex(i);
                return true;
            }
    return false;
}

// ---------------------------------------------------------------------------
// The host.

TAdvCustomItemSelector::TAdvCustomItemSelector(TComponent* AOwner)
    : TScrollingWinControl(AOwner), Items(New<TSelectorItems>(this)), ItemAppearance(New<TItemAppearance>(this))
{
    Items->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
    ItemAppearance->OnChange = [](TObject*) {};
    SetAutoScroll(true);
    SetAutoSize(false);
    ItemSelectorPanel = New<TCustomItemSelector>(this);
    ItemSelectorPanel->SetParent(this);
    ItemSelectorPanel->OnItemSelect = [this](TObject*) {
        if (OnItemSelect)
            OnItemSelect(this);
    };
    UpdateSelectorPanel();
}

TAdvCustomItemSelector::~TAdvCustomItemSelector() = default;

void TAdvCustomItemSelector::SetSelectorType(TSelectorType Value)
{
    if (Value == SelectorType)
        return;
    SelectorType = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColumns(int Value)
{
    if (Value <= 0 || Value == Columns)
        return;
    Columns = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxWidth(int Value)
{
    if (Value == ColorBoxWidth)
        return;
    ColorBoxWidth = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxHeight(int Value)
{
    if (Value == ColorBoxHeight)
        return;
    ColorBoxHeight = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetImages(TCustomImageList* Value)
{
    if (Value == Images)
        return;
    if (Images)
        Images->RemoveFreeNotification(this);
    Images = Value;
    if (Images)
        Images->FreeNotification(this);
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation)
{
    TScrollingWinControl::Notification(AComponent, Operation);
    // The panel goes with its parent, before the items it reads.
    if (Operation == opRemove && AComponent == ItemSelectorPanel)
        ItemSelectorPanel = nullptr;
    if (Operation == opRemove && AComponent == Images && !ComponentState().Contains(csDestroying))
        Images = nullptr;
}

int TAdvCustomItemSelector::GetItemIndex() const
{
    return ItemSelectorPanel ? ItemSelectorPanel->GetItemIndex() : -1;
}

void TAdvCustomItemSelector::SetItemIndex(int Value)
{
    if (!ItemSelectorPanel)
        return;
    ItemSelectorPanel->SetItemIndex(Value);
    ScrollItemInView(ItemSelectorPanel->GetItemIndex());
}

int TAdvCustomItemSelector::GetItemHot() const
{
    return ItemSelectorPanel ? ItemSelectorPanel->GetItemHot() : -1;
}

void TAdvCustomItemSelector::UpdateSelectorPanel()
{
    if (ItemSelectorPanel)
        ItemSelectorPanel->ArrangeItems();
}

void TAdvCustomItemSelector::SelectFirst()
{
    if (!ItemSelectorPanel)
        return;
    ItemSelectorPanel->SelectFirst();
    ScrollItemInView(GetItemIndex());
}

void TAdvCustomItemSelector::SelectLast()
{
    if (!ItemSelectorPanel)
        return;
    ItemSelectorPanel->SelectLast();
    ScrollItemInView(GetItemIndex());
}

void TAdvCustomItemSelector::SelectNext()
{
    if (!ItemSelectorPanel)
        return;
    ItemSelectorPanel->SelectNext();
    ScrollItemInView(GetItemIndex());
}

void TAdvCustomItemSelector::SelectPrevious()
{
    if (!ItemSelectorPanel)
        return;
    ItemSelectorPanel->SelectPrevious();
    ScrollItemInView(GetItemIndex());
}

void TAdvCustomItemSelector::HotNext()
{
    if (!ItemSelectorPanel)
        return;
    ItemSelectorPanel->HotNext();
    ScrollItemInView(GetItemHot());
}

void TAdvCustomItemSelector::HotPrevious()
{
    if (!ItemSelectorPanel)
        return;
    ItemSelectorPanel->HotPrevious();
    ScrollItemInView(GetItemHot());
}

bool TAdvCustomItemSelector::LookupItem(const String& s)
{
    return ItemSelectorPanel && ItemSelectorPanel->LookupItem(s);
}

void TAdvCustomItemSelector::ScrollItemInView(int Index)
{
    if (!ItemSelectorPanel || Index < 0 || Index >= Items->Count())
        return;
    TControlScrollBar* bar = GetVertScrollBar();
    if (!bar->IsScrollBarVisible())
        return;
    TRect R = ItemSelectorPanel->ItemRect(Index);
    const int itemHeight = R.Height();
    OffsetRect(&R, ItemSelectorPanel->GetLeft(), ItemSelectorPanel->GetTop());
    const int clientHeight = GetClientHeight();
    if (R.top < 0) {
        bar->SetPosition(bar->GetPosition() + R.top);
    } else if (R.bottom > clientHeight) {
        if (itemHeight > clientHeight)
            R.bottom = clientHeight + R.top;
        bar->SetPosition(bar->GetPosition() + R.bottom - clientHeight);
    }
}

int TAdvCustomItemSelector::GetVisibleItemCount()
{
    if (!ItemSelectorPanel || Items->Count() == 0)
        return 0;
    int h = GetHeight();
    if (GetHorzScrollBar()->IsScrollBarVisible())
        h -= 20;
    // An item without height (an OnItemSize of 0) makes no page.
    const int itemHeight = Items->GetItem(0)->GetRect().Height();
    if (itemHeight <= 0)
        return 0;
    return h / itemHeight * Columns;
}

void TAdvCustomItemSelector::GetSelectorSize(TSize& Size)
{
    if (!ItemSelectorPanel) {
        Size = {100, 50};
        return;
    }
    Size = {ItemSelectorPanel->GetWidth(), ItemSelectorPanel->GetHeight()};
}

void TAdvCustomItemSelector::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        return;
    }
    TScrollingWinControl::Dispatch(Message);
}

bool TAdvCustomItemSelector::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
    return TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos);
}
