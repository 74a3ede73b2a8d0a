// The colour box selector: boxes in columns, where the boxes of a shade strip
// touch and only a row holding a stand-alone box is followed by a gap. The
// hot and the selected box are framed in two colours; the others are edged
// by their place in the strip.
#include "AdvColorPickerDropDown.h"

#include <algorithm>

namespace {

struct PaletteRow {
    TItemPos pos;
    unsigned colors[10];
};

constexpr PaletteRow DefaultPalette[] = {
    {ipStandAlone,
     {0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0xC0504D, 0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646}},
    {ipTop, {0xF2F2F2, 0x7F7F7F, 0xDDD9C3, 0xC2CEDA, 0xDBE5F1, 0xF2DCDB, 0xEBF1DD, 0xE5E0EC, 0xDBEEF3, 0xFDEADA}},
    {ipMiddle, {0xD8D8D8, 0x595959, 0xC4BD97, 0x8DB3E2, 0xB8CCE4, 0xE5B9B7, 0xD7E3BC, 0xCCC1D9, 0xB7DDE8, 0xFBD5B5}},
    {ipMiddle, {0xBFBFBF, 0x3F3F3F, 0x938953, 0x548DD4, 0x95B3D7, 0xD99694, 0xC3D69B, 0xB2A2C7, 0x92CDDC, 0xFAC08F}},
    {ipMiddle, {0xA5A5A5, 0x262626, 0x494429, 0x17365D, 0x366092, 0x953734, 0x76923C, 0x5F497A, 0x31859B, 0xE36C09}},
    {ipBottom, {0x7F7F7F, 0x0C0C0C, 0x1D1B10, 0x0F243E, 0x244061, 0x632423, 0x4F6128, 0x3F3151, 0x205867, 0x974806}},
};

} // namespace

void TColorBoxAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorBoxAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    BorderColor = s->BorderColor;
    OuterBorderColorHot = s->OuterBorderColorHot;
    InnerBorderColorHot = s->InnerBorderColorHot;
    OuterBorderColorSelected = s->OuterBorderColorSelected;
    InnerBorderColorSelected = s->InnerBorderColorSelected;
}

void TColorBoxItem::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    if (auto* items = dynamic_cast<TColorBoxItems*>(GetCollection()))
        items->DoChange();
}

void TColorBoxItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorBoxItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetColor(s->FColor);
    FEnabled = s->FEnabled;
}

TCustomColorSelector::TCustomColorSelector(TComponent* AOwner)
    : TAdvCustomColorSelectorPanel(AOwner),
      FColorBoxAppearance(New<TColorBoxAppearance>()),
      FItems(New<TColorBoxItems>(this))
{
    SetParentColor(true);
    FItemColorStyle = scOffice2007;
}

void TCustomColorSelector::AddDefaultColorBoxes()
{
    FItems->Clear();
    for (const PaletteRow& row : DefaultPalette)
        for (unsigned c : row.colors) {
            TColorBoxItem* item = FItems->Add();
            item->SetColor(RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
            item->SetColorBoxPos(row.pos);
        }
}

void TCustomColorSelector::GetItemArea(TRect& Rect)
{
    Rect = GetClientRect();
    Rect.left += FOffSetX;
    Rect.right -= FOffSetX;
    Rect.top += FOffSetY;
    Rect.bottom -= FOffSetY;
}

void TCustomColorSelector::GetBoxSize(TSize& Size) { Size = {FColorBoxWidth, FColorBoxHeight}; }

void TCustomColorSelector::ArrangeItems()
{
    if (FItems->Count() == 0) {
        SetBounds(GetLeft(), GetTop(), 100, 50);
        return;
    }
    FItemHot = -1;
    TSize s;
    GetBoxSize(s);
    TRect a;
    GetItemArea(a);
    int x = a.left, y = a.top, column = 0, widest = 0;
    bool gapRow = false;
    const int last = FItems->Count() - 1;
    for (int i = 0; i <= last; ++i) {
        TColorBoxItem* item = FItems->GetItem(i);
        item->SetRect(TRect(x, y, x + s.cx, y + s.cy));
        ++column;
        if (i == last)
            break;
        if (item->GetColorBoxPos() == ipStandAlone)
            gapRow = true;
        if (column >= FColumns) {
            widest = std::max(widest, x);
            x = a.left;
            y += s.cy + (gapRow ? FColumnGap : 0);
            column = 0;
            gapRow = false;
        } else {
            x += s.cx + FColumnGap;
        }
    }
    widest = std::max(widest, x);
    // The area's margins are the selector's own: the size does not depend
    // on the size it has now.
    SetBounds(GetLeft(), GetTop(), widest + s.cx + FOffSetX + 1, y + s.cy + FOffSetY);
}

TRect TCustomColorSelector::GetItemRect(int Index) const
{
    return IsItem(Index) ? FItems->GetItem(Index)->GetRect() : TRect(-1, -1, -1, -1);
}

int TCustomColorSelector::ItemAtPos(int X, int Y) const
{
    for (int i = 0; i < FItems->Count(); ++i) {
        const TRect& r = FItems->GetItem(i)->GetRect();
        if (X >= r.left && X < r.right && Y >= r.top && Y < r.bottom)
            return i;
    }
    return -1;
}

void TCustomColorSelector::InvalidateItem(int Index)
{
    if (!IsItem(Index) || !HandleAllocated())
        return;
    const TRect r = GetItemRect(Index);
    InvalidateRect(Handle(), &r, TRUE);
}

void TCustomColorSelector::DrawItem(int Index, TCanvas* Canvas)
{
    if (!IsItem(Index) || !Canvas)
        return;
    TColorBoxItem* item = FItems->GetItem(Index);
    TRect r = item->GetRect();
    if (r.left < 0 && r.right < 0)
        return;
    TColorBoxAppearance* a = FColorBoxAppearance.get();
    TColor outer = a->BorderColor, inner = clNone;
    bool framed = false;
    if (Index == FItemHot) {
        outer = a->OuterBorderColorHot;
        inner = a->InnerBorderColorHot;
        framed = true;
    }
    if (Index == FItemIndex) {
        outer = a->OuterBorderColorSelected;
        inner = a->InnerBorderColorSelected;
        framed = true;
    }
    if (item->GetColor() != clNone) {
        Canvas->GetPen()->SetColor(item->GetColor());
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetBrush()->SetColor(item->GetColor());
        Canvas->Rectangle(r);
    }
    if (framed) {
        Canvas->GetBrush()->SetStyle(bsClear);
        if (outer != clNone) {
            Canvas->GetPen()->SetColor(outer);
            Canvas->Rectangle(r);
            InflateRect(&r, -1, -1);
        }
        if (inner != clNone) {
            Canvas->GetPen()->SetColor(inner);
            Canvas->Rectangle(r);
        }
        Canvas->GetBrush()->SetStyle(bsSolid);
        return;
    }
    Canvas->GetPen()->SetColor(a->BorderColor);
    const int l = r.left, t = r.top, rt = r.right, b = r.bottom;
    switch (item->GetColorBoxPos()) {
    case ipStandAlone:
        Canvas->MoveTo(l, b);
        Canvas->LineTo(l, t);
        Canvas->LineTo(rt, t);
        Canvas->LineTo(rt, b);
        Canvas->LineTo(l, b);
        break;
    case ipTop:
        Canvas->MoveTo(l, b);
        Canvas->LineTo(l, t);
        Canvas->LineTo(rt, t);
        Canvas->LineTo(rt, b);
        break;
    case ipMiddle:
        Canvas->MoveTo(l, t);
        Canvas->LineTo(l, b);
        Canvas->MoveTo(rt, t);
        Canvas->LineTo(rt, b);
        break;
    case ipBottom:
        Canvas->MoveTo(l, t);
        Canvas->LineTo(l, b);
        Canvas->LineTo(rt, b);
        Canvas->MoveTo(rt, t);
        Canvas->LineTo(rt, b + 1);
        break;
    }
}

void TCustomColorSelector::Paint()
{
    TAdvCustomColorSelectorPanel::Paint();
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
    for (int i = 0; i < FItems->Count(); ++i)
        DrawItem(i, canvas);
}

void TCustomColorSelector::SetItemIndex(int Value)
{
    // An index past the boxes names nothing that could be drawn or read.
    if (Value >= FItems->Count() || IsDisabled(Value))
        return;
    if (FItemIndex >= 0 && Value != FItemIndex) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = Value;
    if (Value < 0)
        return;
    FSelectedColor = FItems->GetItem(Value)->GetColor();
    if (HandleAllocated())
        DrawItem(Value, GetCanvas());
    if (OnItemSelect)
        OnItemSelect(this);
}

void TCustomColorSelector::SetItemHot(int Value)
{
    if (Value == FItemHot || Value >= FItems->Count() || IsDisabled(Value))
        return;
    if (FItemHot >= 0) {
        const int old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = Value;
    if (Value >= 0 && HandleAllocated())
        DrawItem(Value, GetCanvas());
}

void TCustomColorSelector::SelectFirst()
{
    if (FItems->Count() > 0)
        SetItemIndex(0);
}

void TCustomColorSelector::SelectLast()
{
    if (FItems->Count() > 0)
        SetItemIndex(FItems->Count() - 1);
}

void TCustomColorSelector::SelectNext()
{
    if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious()
{
    if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext()
{
    if (FItemHot + 1 < FItems->Count())
        SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious()
{
    if (FItemHot - 1 >= 0)
        SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleKey(Word Key, bool EditorEnabled, bool DroppedDown)
{
    if (!GetEnabled())
        return;
    auto step = [&](int Direction) {
        const int target = FItemIndex < 0 ? 0 : FItemIndex + Direction * FColumns;
        if (IsItem(target))
            SetItemIndex(target);
    };
    switch (Key) {
    case VK_PRIOR:
    case VK_HOME:
        SelectFirst();
        break;
    case VK_NEXT:
    case VK_END:
        SelectLast();
        break;
    case VK_LEFT:
        if (!(EditorEnabled && !DroppedDown))
            SelectPrevious();
        break;
    case VK_RIGHT:
        if (!(EditorEnabled && !DroppedDown))
            SelectNext();
        break;
    case VK_UP:
        if (DroppedDown)
            step(-1);
        else
            SelectPrevious();
        break;
    case VK_DOWN:
        if (DroppedDown)
            step(1);
        else
            SelectNext();
        break;
    default:
        break;
    }
}

void TCustomColorSelector::SetSelectedColor(TColor Value)
{
    if (Value == FSelectedColor)
        return;
    FSelectedColor = Value;
    if (Value == clNone) {
        SetItemIndex(-1);
        return;
    }
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->GetItem(i)->GetColor() == Value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle Value)
{
    if (Value == FItemColorStyle)
        return;
    FItemColorStyle = Value;
    if (Value == scCustom)
        return;
    TColorBoxAppearance defaults;
    FColorBoxAppearance->Assign(&defaults);
}

void TCustomColorSelector::SetColumns(int Value)
{
    if (Value == FColumns)
        return;
    FColumns = Value;
    ArrangeItems();
}

void TCustomColorSelector::SetColumnGap(int Value)
{
    if (Value == FColumnGap)
        return;
    FColumnGap = Value;
    ArrangeItems();
}

void TCustomColorSelector::SetColorBoxHeight(int Value)
{
    if (Value == FColorBoxHeight)
        return;
    FColorBoxHeight = Value;
    ArrangeItems();
}

void TCustomColorSelector::SetColorBoxWidth(int Value)
{
    if (Value == FColorBoxWidth)
        return;
    FColorBoxWidth = Value;
    ArrangeItems();
}

void TCustomColorSelector::MouseMove(TShiftState Shift, int X, int Y)
{
    TAdvCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    SetItemHot(i >= 0 && !IsDisabled(i) ? i : -1);
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i >= 0 && !IsDisabled(i))
        SetItemIndex(i);
}

void TCustomColorSelector::MouseLeave()
{
    TAdvCustomColorSelectorPanel::MouseLeave();
    SetItemHot(-1);
}
