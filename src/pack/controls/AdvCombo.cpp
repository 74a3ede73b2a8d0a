// The combo box base: properties, focus and hover, the edit part and the
// attached label. Its painting is in AdvComboPaint.cpp.
#include "AdvCombo.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include "System.h"
#include <utility>

TAdvCustomCombo::TAdvCustomCombo(TComponent* AOwner) : TCustomComboBox(AOwner)
{
    const TPlatformProbe& platform = PlatformProbe();
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FOldWin = platform.WindowsMajor == 5;
    FLabelFont.reset(New<TFont>());
    FLoadedColor = GetColor();
    FNormalColor = GetColor();
}

void TAdvCustomCombo::BeforeDestruction()
{
    // The label stands on the parent; it goes first, while the control is
    // whole (the owner's clean-up would drop the notice that clears FLabel).
    if (TLabel* label = std::exchange(FLabel, nullptr))
        label->Free();
    TCustomComboBox::BeforeDestruction();
}

namespace {

// Single-line width of Text in Font.
int TextWidthOf(const String& Text, TFont* Font)
{
    TWindowDC screen(nullptr);
    TSelectObject selectFont(screen.Get(), Font->GetHandle());
    SIZE extent{};
    GetTextExtentPoint32W(screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &extent);
    return extent.cx;
}

} // namespace

// ---------------------------------------------------------------------------
// Version and selection.
void TAdvCustomCombo::SelectItem(const String& AString)
{
    const int index = GetItems()->IndexOf(AString);
    if (index < 0)
        return;
    SetItemIndex(index);
    Change();
}

int TAdvCustomCombo::GetComponentVersion() const
{
    return (1 << 24) | (6 << 16) | (1 << 8) | 2;
}

String TAdvCustomCombo::GetVersion() const
{
    const int v = GetComponentVersion();
    return IntToStr((v >> 24) & 0xFF) + L"." + IntToStr((v >> 16) & 0xFF) + L"." + IntToStr((v >> 8) & 0xFF) +
           L"." + IntToStr(v & 0xFF);
}

// ---------------------------------------------------------------------------
// Look.
void TAdvCustomCombo::SetFlat(bool Value)
{
    if (!StoreChanged(FFlat, Value))
        return;
    if (ComponentState().Contains(csLoading))
        return;
    if (FFlat) {
        // The colour before the flat look comes back when it ends.
        FLoadedColor = GetColor();
        if (FFlatParentColor && GetParent())
            SetColor(GetParent()->GetBrush()->GetColor());
    } else {
        SetColor(FLoadedColor);
    }
    Invalidate();
}

void TAdvCustomCombo::SetEtched(bool Value)
{
    if (StoreChanged(FEtched, Value))
        Invalidate();
}

void TAdvCustomCombo::SetFocusBorder(bool Value)
{
    if (StoreChanged(FFocusBorder, Value))
        Invalidate();
}

void TAdvCustomCombo::SetFlatLineColor(TColor Value)
{
    if (StoreChanged(FFlatLineColor, Value))
        Invalidate();
}

void TAdvCustomCombo::SetFlatParentColor(bool Value)
{
    if (StoreChanged(FFlatParentColor, Value))
        Invalidate();
}

void TAdvCustomCombo::SetBorderColor(TColor Value)
{
    if (StoreChanged(FBorderColor, Value))
        Invalidate();
}

void TAdvCustomCombo::SetFocusBorderColor(TColor Value)
{
    if (StoreChanged(FFocusBorderColor, Value))
        Invalidate();
}

void TAdvCustomCombo::SetDisabledBorder(bool Value)
{
    if (StoreChanged(FDisabledBorder, Value))
        Invalidate();
}

void TAdvCustomCombo::SetButtonColor(TColor Value)
{
    if (StoreChanged(FButtonColor, Value))
        Invalidate();
}

void TAdvCustomCombo::SetButtonColorHot(TColor Value)
{
    if (StoreChanged(FButtonColorHot, Value))
        Invalidate();
}

void TAdvCustomCombo::SetButtonColorDown(TColor Value)
{
    if (StoreChanged(FButtonColorDown, Value))
        Invalidate();
}

void TAdvCustomCombo::SetButtonBorderColor(TColor Value)
{
    if (StoreChanged(FButtonBorderColor, Value))
        Invalidate();
}

void TAdvCustomCombo::SetButtonTextColor(TColor Value)
{
    if (StoreChanged(FButtonTextColor, Value))
        Invalidate();
}

void TAdvCustomCombo::SetButtonTextColorHot(TColor Value)
{
    if (StoreChanged(FButtonTextColorHot, Value))
        Invalidate();
}

void TAdvCustomCombo::SetButtonTextColorDown(TColor Value)
{
    if (StoreChanged(FButtonTextColorDown, Value))
        Invalidate();
}

void TAdvCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    ApplyDropWidth();
}

void TAdvCustomCombo::ApplyDropWidth()
{
    if (FDropWidth > 0 && HandleAllocated() && !ComponentState().Contains(csLoading))
        SendMessageW(GetHandle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
}

void TAdvCustomCombo::SetEmptyText(const String& Value)
{
    if (StoreChanged(FEmptyText, Value) && EditHandle())
        InvalidateRect(EditHandle(), nullptr, TRUE);
}

void TAdvCustomCombo::SetEmptyTextStyle(TFontStyles Value)
{
    if (StoreChanged(FEmptyTextStyle, Value) && EditHandle())
        InvalidateRect(EditHandle(), nullptr, TRUE);
}

void TAdvCustomCombo::SetEmptyTextFocused(bool Value)
{
    if (StoreChanged(FEmptyTextFocused, Value) && EditHandle())
        InvalidateRect(EditHandle(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// Window, loading and notifications.
void TAdvCustomCombo::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    ApplyDropWidth();
}

void TAdvCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    ApplyDropWidth();
    if (FFlat && FFlatParentColor && GetParent())
        SetColor(GetParent()->GetBrush()->GetColor());
    if (FLabel) {
        FLabel->SetEnabled(GetEnabled() || FLabelAlwaysEnabled);
        LabelFollowsFont();
        PlaceLabel();
    }
    FNormalColor = GetColor();
}

void TAdvCustomCombo::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FLabel)
        FLabel = nullptr;
}

void TAdvCustomCombo::DropDown()
{
    TCustomComboBox::DropDown();
    RepaintButtonArea();
}

void TAdvCustomCombo::CloseUp()
{
    TCustomComboBox::CloseUp();
    RepaintButtonArea();
    if (OnDropUp)
        OnDropUp(this);
}

void TAdvCustomCombo::RepaintButtonArea()
{
    if (!HandleAllocated())
        return;
    RECT area{};
    ::GetClientRect(GetHandle(), &area);
    area.left = area.right - FButtonWidth;
    InvalidateRect(GetHandle(), &area, FALSE);
}

void TAdvCustomCombo::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (!DrawsOwnLook())
            break;
        if (HDC given = reinterpret_cast<HDC>(Message.WParam)) {
            PaintOwnLook(given, false);
        } else {
            TPaintDC dc(GetHandle());
            PaintOwnLook(dc.Get(), true);
        }
        Message.Result = 0;
        return;
    case WM_MOUSEMOVE:
        TCustomComboBox::Dispatch(Message);
        UpdateButtonHover(static_cast<short>(LOWORD(Message.LParam)));
        return;
    case CM_MOUSEENTER:
        TCustomComboBox::Dispatch(Message);
        MouseInControlChanged(true);
        return;
    case CM_MOUSELEAVE:
        TCustomComboBox::Dispatch(Message);
        MouseInControlChanged(false);
        return;
    case CM_ENTER:
        FocusChanged(true);
        break;
    case CM_EXIT:
        FocusChanged(false);
        break;
    case CM_ENABLEDCHANGED:
        TCustomComboBox::Dispatch(Message);
        EnabledChanged();
        return;
    case CM_VISIBLECHANGED:
        TCustomComboBox::Dispatch(Message);
        if (FLabel)
            FLabel->SetVisible(GetVisible());
        return;
    case CM_COLORCHANGED:
        if (ComponentState().Contains(csLoading))
            FLoadedColor = GetColor();
        break;
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
        TCustomComboBox::Dispatch(Message);
        LabelFollowsFont();
        return;
    case CM_WANTSPECIALKEY:
        // Tab in the edit while the list is down closes the list first (see
        // EditWndProc), so it must reach the edit instead of the form.
        if (static_cast<Word>(Message.WParam) == VK_TAB && EditHandle() && GetDroppedDown()) {
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomComboBox::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Focus, hover and enabled state.
void TAdvCustomCombo::FocusChanged(bool Focused)
{
    if (FHasFocus == Focused)
        return;
    FHasFocus = Focused;
    if (Focused) {
        if (FFocusColor != clNone) {
            FNormalColor = GetColor();
            SetColor(FFocusColor);
        }
        if (FFocusFontColor != clNone) {
            FFontColor = GetFont()->GetColor();
            GetFont()->SetColor(FFocusFontColor);
        }
    } else {
        if (FFocusColor != clNone)
            SetColor(FNormalColor);
        if (FFocusFontColor != clNone)
            GetFont()->SetColor(FFontColor);
    }
    LabelFollowsFont();
    RedrawBorders();
    // The edit shows or hides the empty text.
    if (EditHandle())
        InvalidateRect(EditHandle(), nullptr, TRUE);
}

void TAdvCustomCombo::MouseInControlChanged(bool Inside)
{
    if (FMouseInControl == Inside)
        return;
    FMouseInControl = Inside;
    if (!Inside)
        FButtonHover = false;
    RedrawBorders();
    if (Inside && FAutoFocus && GetEnabled() && !FHasFocus)
        if (TCustomForm* form = GetParentForm(this))
            if (GetActiveWindow() == form->GetHandle() && CanFocus())
                SetFocus();
}

void TAdvCustomCombo::UpdateButtonHover(int X)
{
    const bool over = X >= GetClientWidth() - FButtonWidth;
    if (FButtonHover == over)
        return;
    FButtonHover = over;
    RepaintButtonArea();
}

void TAdvCustomCombo::RedrawBorders()
{
    if (HandleAllocated())
        InvalidateRect(GetHandle(), nullptr, FALSE);
}

void TAdvCustomCombo::SetEnabled(bool Value)
{
    const bool changed = Value != GetEnabled();
    TCustomComboBox::SetEnabled(Value);
    if (changed && FLabel && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Value);
}

void TAdvCustomCombo::EnabledChanged()
{
    if (FFlat && !ComponentState().Contains(csLoading)) {
        if (!GetEnabled()) {
            FOldColor = GetColor();
            FOldParentColor = GetParentColor();
            SetParentColor(true);
        } else {
            SetColor(FOldColor);
            SetParentColor(FOldParentColor);
        }
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// The edit part.
void TAdvCustomCombo::EditWndProc(TMessage& Message)
{
    const bool empty = GetWindowTextLengthW(EditHandle()) == 0;
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        if (empty && !FEmptyText.empty() && FEmptyTextFocused) {
            SetFocus();
            InvalidateRect(EditHandle(), nullptr, TRUE);
            Message.Result = 0;
            return;
        }
        break;
    case WM_CHAR:
        if ((Message.WParam == VK_RETURN && FReturnIsTab) || (Message.WParam == VK_TAB && GetDroppedDown())) {
            Message.Result = 0;
            return;
        }
        break;
    default:
        break;
    }
    TCustomComboBox::EditWndProc(Message);
    switch (Message.Msg) {
    case WM_KEYUP:
        if (Message.WParam == VK_TAB && GetDroppedDown() && !FOldWin) {
            // Close the list, keep the item it showed, then move on.
            PostMessageW(GetHandle(), CB_SHOWDROPDOWN, FALSE, 0);
            PostMessageW(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(GetItemIndex()), 0);
            PostMessageW(EditHandle(), WM_KEYDOWN, VK_TAB, 0);
        } else if (Message.WParam == VK_RETURN && FReturnIsTab) {
            PostMessageW(EditHandle(), WM_KEYDOWN, VK_TAB, 0);
        }
        break;
    case WM_KEYDOWN:
        if (Message.WParam == VK_TAB && GetDroppedDown())
            Message.Result = 1;
        break;
    case WM_PAINT:
        ShowEmptyText();
        break;
    default:
        break;
    }
}

void TAdvCustomCombo::ShowEmptyText()
{
    HWND edit = EditHandle();
    if (!edit || FEmptyText.empty() || GetWindowTextLengthW(edit) != 0 || (FHasFocus && !FEmptyTextFocused))
        return;
    TOwned<TFont> font(New<TFont>());
    font->Assign(GetFont());
    font->SetStyle(FEmptyTextStyle);
    TWindowDC dc(edit);
    TSavedDC saved(dc.Get());
    SelectObject(dc.Get(), font->GetHandle());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), 8421504);
    TextOutW(dc.Get(), 3, 1, FEmptyText.c_str(), static_cast<int>(FEmptyText.size()));
}

// ---------------------------------------------------------------------------
// The attached label.
String TAdvCustomCombo::GetLabelCaption() const
{
    return FLabel ? FLabel->GetCaption() : String();
}

void TAdvCustomCombo::SetLabelCaption(const String& Value)
{
    if (!FLabel) {
        FLabel = New<TLabel>(this);
        FLabel->FreeNotification(this);
        FLabel->SetTransparent(FLabelTransparent);
        FLabel->SetEnabled(GetEnabled() || FLabelAlwaysEnabled);
        FLabel->SetVisible(GetVisible());
        LabelFollowsFont();
    }
    FLabel->SetCaption(Value);
    PlaceLabel();
}

void TAdvCustomCombo::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    PlaceLabel();
}

void TAdvCustomCombo::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    PlaceLabel();
}

void TAdvCustomCombo::SetLabelFont(TFont* Value)
{
    FLabelFont->Assign(Value);
    LabelFollowsFont();
    PlaceLabel();
}

void TAdvCustomCombo::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    if (FLabel)
        FLabel->SetTransparent(Value);
    PlaceLabel();
}

void TAdvCustomCombo::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    if (FLabel)
        FLabel->SetEnabled(GetEnabled() || FLabelAlwaysEnabled);
    PlaceLabel();
}

void TAdvCustomCombo::SetFocusLabel(bool Value)
{
    FFocusLabel = Value;
    LabelFollowsFont();
}

void TAdvCustomCombo::SetParentFnt(bool Value)
{
    FParentFnt = Value;
    LabelFollowsFont();
    PlaceLabel();
}

void TAdvCustomCombo::LabelFollowsFont()
{
    if (!FLabel)
        return;
    TOwned<TFont> font(New<TFont>());
    font->Assign(FParentFnt ? GetFont() : FLabelFont.get());
    if (FFocusLabel && FHasFocus)
        font->SetStyle(font->GetStyle() + fsBold);
    FLabel->GetFont()->Assign(font.get());
    PlaceLabel();
}

void TAdvCustomCombo::ChangeScale(int M, int D)
{
    TCustomComboBox::ChangeScale(M, D);
    FLabelFont->SetSize(GetFont()->GetSize());
    LabelFollowsFont();
}

void TAdvCustomCombo::PlaceLabel()
{
    if (!FLabel)
        return;
    if (FLabel->GetParent() != GetParent())
        FLabel->SetParent(GetParent());
    FLabel->SetVisible(GetVisible());
    const int textWidth = TextWidthOf(FLabel->GetCaption(), FLabel->GetFont());
    const int labelWidth = FLabel->GetWidth();
    const int labelHeight = FLabel->GetHeight();
    const int left = GetLeft(), top = GetTop(), width = GetWidth(), height = GetHeight();

    int labelTop = top;
    switch (FLabelPosition) {
    case lpLeftCenter: case lpLeftCenterLeft: case lpRightCenter:
        labelTop = top + (height - labelHeight) / 2;
        break;
    case lpLeftBottom: case lpLeftBottomLeft: case lpRighBottom:
        labelTop = top + height - labelHeight;
        break;
    case lpTopLeft: case lpTopCenter:
        labelTop = top - labelHeight - FLabelMargin;
        break;
    case lpBottomLeft: case lpBottomCenter:
        labelTop = top + height + FLabelMargin;
        break;
    default:
        break;
    }
    int labelLeft = left;
    switch (FLabelPosition) {
    case lpLeftTop: case lpLeftCenter: case lpLeftBottom:
        labelLeft = left - textWidth - FLabelMargin;
        break;
    case lpLeftTopLeft: case lpLeftCenterLeft: case lpLeftBottomLeft:
        labelLeft = left - FLabelMargin;
        break;
    case lpTopCenter: case lpBottomCenter:
        labelLeft = left + (width - labelWidth) / 2;
        break;
    case lpRightTop: case lpRightCenter: case lpRighBottom:
        labelLeft = left + width + FLabelMargin;
        break;
    default:
        break;
    }
    FLabel->SetBounds(labelLeft, labelTop, labelWidth, labelHeight);
}

void TAdvCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // An aligned control leaves room for its label.
    const TAlign align = GetAlign();
    if (FLabel && align != alNone) {
        const int room = FLabel->GetWidth() + FLabelMargin;
        const bool acrossTop = align == alTop || align == alBottom || align == alClient;
        switch (FLabelPosition) {
        case lpLeftTop: case lpLeftCenter: case lpLeftBottom:
            if (acrossTop) {
                ALeft += room;
                AWidth -= room;
            }
            break;
        case lpTopLeft: case lpTopCenter:
            if (align == alTop || align == alLeft || align == alRight || align == alClient)
                ATop += FLabel->GetHeight();
            break;
        case lpRightTop: case lpRightCenter: case lpRighBottom:
            if (acrossTop)
                AWidth -= room;
            break;
        default:
            break;
        }
    }
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    PlaceLabel();
}
