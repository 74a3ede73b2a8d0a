// The colour picker drop-down. Its popup holds one of four choosers; the
// list exists from construction, the other three are made the first time
// their style is used and then kept, hidden while another style is active.
// Selections the picker makes itself (keys, wheel, a cancel) run with
// FInternalCall set, so that the choosers' events do not close the popup.
#include "AdvColorPickerDropDown.h"

#include "GdiHandles.h"
#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>

namespace {

// A canvas drawing on a DC it does not own.
class TBorrowedCanvas {
public:
    explicit TBorrowedCanvas(HDC DC) : canvas_(New<TCanvas>()) { canvas_->SetHandle(DC); }
    ~TBorrowedCanvas() { canvas_->SetHandle(nullptr); }
    TBorrowedCanvas(const TBorrowedCanvas&) = delete;
    TBorrowedCanvas& operator=(const TBorrowedCanvas&) = delete;
    TCanvas* operator->() const { return canvas_.get(); }
    TCanvas* Get() const { return canvas_.get(); }

private:
    TOwned<TCanvas> canvas_;
};

// What a key adds to the type-ahead text: letters, digits (those of the
// number pad too) and space. Escape, arrows and the like type nothing.
wchar_t TypeAheadChar(WPARAM Key)
{
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9') || Key == VK_SPACE)
        return static_cast<wchar_t>(Key);
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return static_cast<wchar_t>(L'0' + (Key - VK_NUMPAD0));
    return 0;
}

struct NamedColor {
    const wchar_t* caption;
    unsigned rgb;
};

constexpr NamedColor DefaultColors[] = {
    {L"Black", 0x000000}, {L"Maroon", 0x800000}, {L"Green", 0x008000},  {L"Olive", 0x808000},
    {L"Navy", 0x000080},  {L"Purple", 0x800080}, {L"Teal", 0x008080},   {L"Gray", 0x808080},
    {L"Silver", 0xC0C0C0}, {L"Red", 0xFF0000},   {L"Lime", 0x00FF00},   {L"Yellow", 0xFFFF00},
    {L"Blue", 0x0000FF},  {L"Fuchsia", 0xFF00FF}, {L"Aqua", 0x00FFFF},  {L"White", 0xFFFFFF},
};

} // namespace

// ---------------------------------------------------------------------------
// Colour items.

void TColorItem::ItemChanged()
{
    if (auto* items = dynamic_cast<TColorItems*>(GetCollection()))
        items->DoChange();
}

void TColorItem::SetCaption(const String& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    ItemChanged();
}

void TColorItem::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    ItemChanged();
}

void TColorItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorItem*>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetColor(s->FColor);
    FEnabled = s->FEnabled;
    FHint = s->FHint;
}

// ---------------------------------------------------------------------------
// Construction.

TAdvColorPickerDropDown::TAdvColorPickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FColors(New<TColorItems>(this)), FItemAppearance(New<TItemAppearance>(this))
{
    FColors->OnChange = [](TObject*) {};
}

void TAdvColorPickerDropDown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    SetAutoSize(false);
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FKeyTimer = New<TTimer>(this);
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(500);
    FKeyTimer->OnTimer = [this](TObject* Sender) { KeyTimerExpired(Sender); };
    TComponent* owner = GetOwner();
    FDesignTime = ComponentState().Contains(csDesigning) &&
                  !(owner && (owner->ComponentState().Contains(csReading) ||
                              owner->ComponentState().Contains(csLoading)));
    SetDropDownHeight(200);
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
    SetCursor(crArrow);
}

TAdvColorPickerDropDown::~TAdvColorPickerDropDown()
{
    if (FKeyTimer)
        FKeyTimer->SetEnabled(false);
}

void TAdvColorPickerDropDown::KeyTimerExpired(TObject*)
{
    FKeyTimer->SetEnabled(false);
    FCurSearch.clear();
}

void TAdvColorPickerDropDown::AddDefaultColors()
{
    FColors->Clear();
    for (const NamedColor& c : DefaultColors) {
        TColorItem* item = FColors->Add();
        item->SetCaption(c.caption);
        item->SetColor(RGB((c.rgb >> 16) & 0xFF, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF));
    }
}

void TAdvColorPickerDropDown::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        RefillItemSelector();
}

void TAdvColorPickerDropDown::Loaded()
{
    TAdvCustomDropDown::Loaded();
    if (FDesignTime)
        AddDefaultColors();
    RefillItemSelector();
    ConfigureItemSelector();
}

void TAdvColorPickerDropDown::CreateWnd()
{
    TAdvCustomDropDown::CreateWnd();
    if (FDesignTime && FColors->Count() == 0) {
        FDesignTime = false;
        AddDefaultColors();
        RefillItemSelector();
    }
}

// ---------------------------------------------------------------------------
// The value.

void TAdvColorPickerDropDown::SetItemIndex(int Value)
{
    if (Value >= FColors->Count())
        return;
    FItemIndex = Value;
    if (Value >= 0)
        FSelectedColor = FColors->GetItem(Value)->GetColor();
    // The list keeps in step, so that its own steps (the wheel on the closed
    // edit) go on from the current colour.
    if (FItemSelector && Value < FItemSelector->GetItems()->Count() && FItemSelector->GetItemIndex() != Value) {
        TNotifyEvent select = std::move(FItemSelector->OnItemSelect);
        FItemSelector->OnItemSelect = nullptr;
        FItemSelector->SetItemIndex(Value);
        FItemSelector->OnItemSelect = std::move(select);
    }
    Invalidate();
    if (OnSelect)
        OnSelect(this);
}

void TAdvColorPickerDropDown::SetSelectedColor(TColor Value)
{
    if (Value == FSelectedColor)
        return;
    FSelectedColor = static_cast<TColor>(ColorToRGB(Value));
    for (int i = 0; i < FColors->Count(); ++i)
        if (static_cast<TColor>(ColorToRGB(FColors->GetItem(i)->GetColor())) == FSelectedColor) {
            SetItemIndex(i);
            break;
        }
    Invalidate();
}

void TAdvColorPickerDropDown::SetShowText(bool Value)
{
    if (Value == FShowText)
        return;
    FShowText = Value;
    Invalidate();
}

void TAdvColorPickerDropDown::SetColorValueText(TColorValueText Value)
{
    FColorValueText = Value;
    Invalidate();
}

String TAdvColorPickerDropDown::GetColorValueText()
{
    if (FColorSelectionStyle == csList && FItemIndex >= 0 && FItemIndex < FColors->Count())
        return FColors->GetItem(FItemIndex)->GetCaption();
    const COLORREF rgb = ColorToRGB(FSelectedColor);
    switch (FColorValueText) {
    case cvtHex:
        return IntToHex(static_cast<Int64>(static_cast<unsigned>(FSelectedColor)), 6);
    case cvtWebName:
        return ColorToWebColorName(FSelectedColor);
    case cvtRGB:
        return L"Red:" + IntToStr(GetRValue(rgb)) + L",Green:" + IntToStr(GetGValue(rgb)) + L",Blue:" +
               IntToStr(GetBValue(rgb));
    case cvtHTML:
        return L"#" + IntToHex(GetRValue(rgb), 2) + IntToHex(GetGValue(rgb), 2) + IntToHex(GetBValue(rgb), 2);
    case cvtNone:
    default:
        return String();
    }
}

// ---------------------------------------------------------------------------
// The choosers.

void TAdvColorPickerDropDown::CreateItemSelector()
{
    if (!FDropDownForm)
        return;
    if (!FItemSelector) {
        FItemSelector = New<TAdvCustomItemSelector>(this);
        FItemSelector->SetParent(FDropDownForm);
        FItemSelector->SetSelectorType(stColor);
        FItemSelector->SetHeight(150);
        FItemSelector->UpdateSelectorPanel();
        // Connected from the start: a picker built in code, which no
        // loading configures, steps through its list before it first opens.
        FItemSelector->OnItemSelect = [this](TObject* Sender) { ItemSelectorSelect(Sender); };
    }
    // Aligned to the popup last time; its own size counts again.
    FItemSelector->SetAlign(alNone);
    FItemSelector->SetParent(FDropDownForm);
    FItemSelector->SetBounds(0, 0, FItemSelector->GetWidth(), FItemSelector->GetHeight());
    FItemSelector->SetColor(FDropDownColor);
    SetControl(FItemSelector);
}

void TAdvColorPickerDropDown::CreateColorSelector()
{
    if (!FDropDownForm)
        return;
    if (!FColorSelector) {
        FColorSelector = New<TCustomColorSelector>(this);
        FColorSelector->SetParent(FDropDownForm);
        FColorSelector->AddDefaultColorBoxes();
    }
    // Aligned to the popup last time; its own size counts again.
    FColorSelector->SetAlign(alNone);
    FColorSelector->SetParent(FDropDownForm);
    FColorSelector->SetBounds(0, 0, FColorSelector->GetWidth(), FColorSelector->GetHeight());
    FColorSelector->SetColor(FDropDownColor);
    FColorSelector->ArrangeItems();
    SetControl(FColorSelector);
}

void TAdvColorPickerDropDown::CreateCubePanel()
{
    if (!FDropDownForm)
        return;
    if (!FColorCubePanel) {
        FColorCubePanel = New<TAdvColorCubePanel>(this);
        FColorCubePanel->SetParent(FDropDownForm);
    }
    // Aligned to the popup last time; its own size counts again.
    FColorCubePanel->SetAlign(alNone);
    FColorCubePanel->SetParent(FDropDownForm);
    FColorCubePanel->SetBounds(0, 0, FColorCubePanel->GetWidth(), FColorCubePanel->GetHeight());
    FColorCubePanel->SetColor(FDropDownColor);
    SetControl(FColorCubePanel);
}

void TAdvColorPickerDropDown::CreateSpectrumPanel()
{
    if (!FDropDownForm)
        return;
    if (!FSpectrumPanel) {
        FSpectrumPanel = New<TAdvColorSpectrumPanel>(this);
        FSpectrumPanel->SetParent(FDropDownForm);
    }
    // Aligned to the popup last time; its own size counts again.
    FSpectrumPanel->SetAlign(alNone);
    FSpectrumPanel->SetParent(FDropDownForm);
    FSpectrumPanel->SetBounds(0, 0, FSpectrumPanel->GetWidth(), FSpectrumPanel->GetHeight());
    FSpectrumPanel->SetColor(FDropDownColor);
    SetControl(FSpectrumPanel);
}

void TAdvColorPickerDropDown::CreateStyleChooser()
{
    switch (FColorSelectionStyle) {
    case csList:
        CreateItemSelector();
        break;
    case csDiscrete:
        CreateColorSelector();
        break;
    case csColorCube:
        CreateCubePanel();
        break;
    case csSpectrum:
        CreateSpectrumPanel();
        break;
    }
}

void TAdvColorPickerDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    CreateStyleChooser();
}

TControl* TAdvColorPickerDropDown::StyleChooser() const
{
    switch (FColorSelectionStyle) {
    case csList:
        return FItemSelector;
    case csDiscrete:
        return FColorSelector;
    case csColorCube:
        return FColorCubePanel;
    case csSpectrum:
        return FSpectrumPanel;
    }
    return nullptr;
}

void TAdvColorPickerDropDown::RefillItemSelector()
{
    if (!FItemSelector)
        return;
    TSelectorItems* list = FItemSelector->GetItems();
    // One layout once all items are in, not one per caption written.
    TNotifyEvent relayout = std::move(list->OnChange);
    list->OnChange = nullptr;
    TScopeExit reconnect([&] { list->OnChange = std::move(relayout); });
    list->BeginUpdate();
    list->Clear();
    for (int i = 0; i < FColors->Count(); ++i) {
        TColorItem* source = FColors->GetItem(i);
        TSelectorItem* item = list->Add();
        item->SetCaption(source->GetCaption());
        item->SetColor(source->GetColor());
        item->SetHint(source->GetHint());
    }
    list->EndUpdate();
    FItemSelector->UpdateSelectorPanel();
}

void TAdvColorPickerDropDown::ConfigureItemSelector()
{
    if (!FItemSelector)
        return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(FColumns);
    FItemSelector->SetImages(FImages);
    FItemSelector->SetItemLayout(FLayout);
    FItemSelector->SetColor(FDropDownColor);
    RefillItemSelector();
    FItemSelector->SetColorBoxHeight(FColorBoxHeight);
    FItemSelector->SetColorBoxWidth(FColorBoxWidth);
    FItemSelector->SetItemAppearance(FItemAppearance.get());
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject* Sender) { ItemSelectorSelect(Sender); };
    FItemSelector->SetShowHint(GetShowHint());
}

void TAdvColorPickerDropDown::InstallStyle()
{
    auto hide = [](TControl* Control) {
        if (Control)
            Control->SetVisible(false);
    };
    switch (FColorSelectionStyle) {
    case csList:
        CreateItemSelector();
        hide(FColorCubePanel);
        hide(FSpectrumPanel);
        hide(FColorSelector);
        ConfigureItemSelector();
        if (FItemSelector) {
            if (OnDrawColor)
                FItemSelector->OnDrawItem = [this](TObject*, TCanvas* Canvas, TRect R, int Index) {
                    if (OnDrawColor)
                        OnDrawColor(this, Canvas, R, Index);
                };
            else
                FItemSelector->OnDrawItem = nullptr;
            FItemSelector->SetVisible(true);
        }
        FOldItemIndex = FItemIndex;
        break;
    case csDiscrete:
        CreateColorSelector();
        hide(FItemSelector);
        hide(FSpectrumPanel);
        hide(FColorCubePanel);
        if (FColorSelector) {
            FColorSelector->OnItemSelect = nullptr;
            FColorSelector->SetSelectedColor(FSelectedColor);
            FColorSelector->ArrangeItems();
            FColorSelector->OnItemSelect = [this](TObject* Sender) { ColorSelectorSelect(Sender); };
            FColorSelector->SetItemColorStyle(FSelectionColorStyle);
            FColorSelector->SetVisible(true);
        }
        FOldItemIndex = FItemIndex;
        break;
    case csColorCube:
        CreateCubePanel();
        hide(FItemSelector);
        hide(FSpectrumPanel);
        hide(FColorSelector);
        if (FColorCubePanel) {
            FColorCubePanel->SetSelectedColor(FSelectedColor);
            FColorCubePanel->InitCells();
            FColorCubePanel->ResetHotCell();
            FColorCubePanel->OnSelect = [this](TObject* Sender) { CubeSelect(Sender); };
            FColorCubePanel->SetVisible(true);
        }
        break;
    case csSpectrum:
        CreateSpectrumPanel();
        hide(FItemSelector);
        hide(FColorSelector);
        hide(FColorCubePanel);
        if (FSpectrumPanel) {
            FSpectrumPanel->SetSelectedColor(FSelectedColor);
            FSpectrumPanel->ArrangeSpectrum();
            FSpectrumPanel->OnSelect = [this](TObject* Sender) { SpectrumSelect(Sender); };
            FSpectrumPanel->SetVisible(true);
        }
        break;
    }
}

void TAdvColorPickerDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    InstallStyle();
    FOldSelectedColor = FSelectedColor;
}

void TAdvColorPickerDropDown::SetColorSelectionStyle(TColorSelectionStyle Value)
{
    if (Value == FColorSelectionStyle)
        return;
    FColorSelectionStyle = Value;
    ResetUserDropDownSize();
    if (ComponentState().Contains(csDesigning))
        return;
    if (TControl* previous = StyleChooser())
        previous->SetAlign(alNone);
    InstallStyle();
    if (TControl* chooser = StyleChooser()) {
        chooser->SetAlign(alNone);
        if (FColorSelectionStyle == csList)
            chooser->SetVisible(true);
        SizeForChooser();
        chooser->SetAlign(alClient);
    }
    FOldSelectedColor = FSelectedColor;
    if (FDropDownForm)
        FDropDownForm->Invalidate();
}

void TAdvColorPickerDropDown::SizeForChooser() { AdjustDropDownSize(); }

// ---------------------------------------------------------------------------
// Choosing.

void TAdvColorPickerDropDown::ItemSelectorSelect(TObject*)
{
    const int index = FItemSelector ? FItemSelector->GetItemIndex() : -1;
    // A list left over from before the colours changed may name no colour.
    if (index < 0 || index >= FColors->Count())
        return;
    SetItemIndex(index);
    if (!FInternalCall)
        CloseDropDown(false);
}

void TAdvColorPickerDropDown::ColorSelectorSelect(TObject*)
{
    if (!FColorSelector)
        return;
    SetSelectedColor(FColorSelector->GetSelectedColor());
    SetItemIndex(-1);
    if (!FInternalCall)
        CloseDropDown(false);
}

void TAdvColorPickerDropDown::CubeSelect(TObject*)
{
    SetSelectedColor(FColorCubePanel->GetSelectedColor());
    SetItemIndex(-1);
    CloseDropDown(false);
}

void TAdvColorPickerDropDown::SpectrumSelect(TObject*)
{
    SetSelectedColor(FSpectrumPanel->GetSelectedColor());
    SetItemIndex(-1);
    CloseDropDown(false);
}

// ---------------------------------------------------------------------------
// Popup size and closing.

void TAdvColorPickerDropDown::PlaceControl()
{
    TAdvCustomDropDown::PlaceControl();
    if (FColorSelectionStyle != csList && FDropDownForm)
        FDropDownForm->SetSizeable(false);
}

void TAdvColorPickerDropDown::AdjustDropDownSize()
{
    if (FColorSelectionStyle == csList) {
        if (!FItemSelector) {
            TAdvCustomDropDown::AdjustDropDownSize();
            return;
        }
        FItemSelector->SetAlign(alNone);
        TSize size;
        FItemSelector->GetSelectorSize(size);
        if (FDropDownWidth <= 0)
            FItemSelector->SetWidth(size.cx);
        if (FDropDownHeight <= 0)
            FItemSelector->SetHeight(size.cy);
        TAdvCustomDropDown::AdjustDropDownSize();
        if (FDropDownForm && FItemSelector->GetVertScrollBar()->IsScrollBarVisible())
            FDropDownForm->SetWidth(FDropDownForm->GetWidth() + GetSystemMetrics(SM_CXVSCROLL));
        return;
    }
    if (!FDropDownForm)
        return;
    TControl* chooser = StyleChooser();
    const bool visible = chooser && chooser->GetVisible();
    const int w = visible ? chooser->GetWidth() + 2 * FDropDownBorderWidth : GetWidth();
    int h = 2 * FDropDownBorderWidth;
    if (FDropDownHeader->GetVisible())
        h += FDropDownHeader->GetHeight();
    if (FDropDownFooter->GetVisible())
        h += FDropDownFooter->GetHeight();
    if (visible)
        h += chooser->GetHeight();
    FDropDownForm->SetBounds(FDropDownForm->GetLeft(), FDropDownForm->GetTop(), w, h);
}

void TAdvColorPickerDropDown::CloseDropDown(bool Cancel)
{
    const bool open = FDropDownForm && FDropDownForm->GetVisible();
    TAdvCustomDropDown::CloseDropDown(Cancel);
    if (!Cancel || !open)
        return;
    // A cancel gives back what the popup opened with, whether or not a list
    // item or a box has that colour.
    FInternalCall = true;
    TScopeExit done([this] { FInternalCall = false; });
    if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        TNotifyEvent select = std::move(FColorSelector->OnItemSelect);
        FColorSelector->OnItemSelect = nullptr;
        FColorSelector->SetSelectedColor(FOldSelectedColor);
        FColorSelector->OnItemSelect = std::move(select);
    }
    if (FItemIndex == FOldItemIndex && FSelectedColor == FOldSelectedColor)
        return;
    FItemIndex = FOldItemIndex < FColors->Count() ? FOldItemIndex : -1;
    FSelectedColor = FOldSelectedColor;
    if (FItemSelector && FColorSelectionStyle == csList) {
        TNotifyEvent select = std::move(FItemSelector->OnItemSelect);
        FItemSelector->OnItemSelect = nullptr;
        FItemSelector->SetItemIndex(FItemIndex);
        FItemSelector->OnItemSelect = std::move(select);
    }
    Invalidate();
    if (OnSelect)
        OnSelect(this);
}

void TAdvColorPickerDropDown::DropDownFormDestroyed()
{
    TAdvCustomDropDown::DropDownFormDestroyed();
    if (ComponentState().Contains(csDestroying))
        return;
    // The popup destroyed the choosers as its children.
    FItemSelector = nullptr;
    FColorSelector = nullptr;
    FColorCubePanel = nullptr;
    FSpectrumPanel = nullptr;
}

// ---------------------------------------------------------------------------
// Styles.

void STDMETHODCALLTYPE TAdvColorPickerDropDown::SetComponentStyle(TPackStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(FItemAppearance.get(), AStyle);
}

void TAdvColorPickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector)
        FItemSelector->GetItemAppearance()->SetColorStyle(Value);
}

// ---------------------------------------------------------------------------
// Keys and wheel.

void TAdvColorPickerDropDown::SelectInList(int Index)
{
    if (!FItemSelector || Index < 0 || Index >= FItemSelector->GetItems()->Count())
        return;
    FInternalCall = true;
    TScopeExit done([this] { FInternalCall = false; });
    FItemSelector->SetItemIndex(Index);
    FItemSelector->ScrollItemInView(Index);
}

void TAdvColorPickerDropDown::SelectFirstColor()
{
    if (FColors->Count() > 0)
        SetItemIndex(0);
}

void TAdvColorPickerDropDown::SelectLastColor()
{
    if (FColors->Count() > 0)
        SetItemIndex(FColors->Count() - 1);
}

void TAdvColorPickerDropDown::SelectNextColor()
{
    if (FColors->Count() == 0)
        return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < FColors->Count())
        SetItemIndex(FItemIndex + 1);
}

void TAdvColorPickerDropDown::SelectPreviousColor()
{
    if (FColors->Count() == 0)
        return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TAdvColorPickerDropDown::HandleColorKeyDown(TMessage& Message)
{
    const WPARAM key = Message.WParam;
    bool handled = false;
    if (GetEnabled() && FDroppedDown && key == VK_RETURN) {
        if (FColorSelectionStyle == csList && FItemSelector && FItemSelector->GetItemHot() >= 0) {
            FItemSelector->SetItemIndex(FItemSelector->GetItemHot());
            handled = true;
        } else if (FColorSelectionStyle == csDiscrete && FColorSelector && FColorSelector->GetItemHot() >= 0) {
            FColorSelector->SetItemIndex(FColorSelector->GetItemHot());
            handled = true;
        }
    }
    TAdvCustomDropDown::Dispatch(Message);
    if (!GetEnabled() || GetKeyState(VK_MENU) < 0)
        return;
    const bool open = FDroppedDown && FDropDownForm && FDropDownForm->GetVisible();
    if (FColorSelectionStyle == csList && FItemSelector) {
        auto inSelector = [this](auto Step) {
            FInternalCall = true;
            TScopeExit done([this] { FInternalCall = false; });
            Step();
        };
        auto pageStep = [&](int Direction) {
            if (FItemSelector->GetItems()->Count() != FColors->Count())
                RefillItemSelector();
            const int n = FItemSelector->GetVisibleItemCount();
            if (n <= 0)
                return;
            const int index = FItemSelector->GetItemIndex();
            SelectInList(Direction < 0 ? std::max(index - n, 0) : std::min(index + n, FColors->Count() - 1));
        };
        switch (key) {
        case VK_RETURN:
            if (!handled && OnSelect)
                OnSelect(this);
            return;
        case VK_PRIOR:
            pageStep(-1);
            return;
        case VK_NEXT:
            pageStep(1);
            return;
        case VK_HOME:
            if (open)
                inSelector([this] { FItemSelector->SelectFirst(); });
            else
                SelectFirstColor();
            return;
        case VK_END:
            if (open)
                inSelector([this] { FItemSelector->SelectLast(); });
            else
                SelectLastColor();
            return;
        case VK_LEFT:
        case VK_RIGHT:
            if (open && !FEditorEnabled)
                inSelector([this, key] {
                    if (key == VK_LEFT)
                        FItemSelector->SelectPrevious();
                    else
                        FItemSelector->SelectNext();
                });
            return;
        case VK_UP:
        case VK_DOWN:
            if (open) {
                const int index = FItemSelector->GetItemIndex();
                const int target = index < 0 ? 0 : index + (key == VK_UP ? -FColumns : FColumns);
                if (target >= 0 && target < FColors->Count())
                    SelectInList(target);
            } else if (key == VK_UP) {
                SelectPreviousColor();
            } else {
                SelectNextColor();
            }
            return;
        default:
            break;
        }
        if (GetKeyState(VK_CONTROL) < 0)
            return;
        const wchar_t ch = TypeAheadChar(key);
        if (!ch)
            return;
        FCurSearch += ch;
        {
            FInternalCall = true;
            TScopeExit done([this] { FInternalCall = false; });
            if (FItemSelector->LookupItem(FCurSearch)) {
                const int index = FItemSelector->GetItemIndex();
                if (index >= 0 && index < FColors->Count() && index != FItemIndex)
                    SetItemIndex(index);
            }
        }
        FKeyTimer->SetEnabled(true);
        return;
    }
    if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        {
            FInternalCall = true;
            TScopeExit done([this] { FInternalCall = false; });
            FColorSelector->HandleKey(static_cast<Word>(key), FEditorEnabled, open);
        }
        if (key == VK_RETURN && !handled && OnSelect)
            OnSelect(this);
    }
}

void TAdvColorPickerDropDown::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_KEYDOWN) {
        HandleColorKeyDown(Message);
        return;
    }
    TAdvCustomDropDown::Dispatch(Message);
}

void TAdvColorPickerDropDown::WheelDown()
{
    TAdvCustomDropDown::WheelDown();
    if (!GetEnabled() || GetReadOnly())
        return;
    FInternalCall = true;
    TScopeExit done([this] { FInternalCall = false; });
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (FDroppedDown)
            FItemSelector->HotNext();
        else
            FItemSelector->SelectNext();
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (FDroppedDown)
            FColorSelector->HotNext();
        else
            FColorSelector->SelectNext();
    }
}

void TAdvColorPickerDropDown::WheelUp()
{
    TAdvCustomDropDown::WheelUp();
    if (!GetEnabled() || GetReadOnly())
        return;
    FInternalCall = true;
    TScopeExit done([this] { FInternalCall = false; });
    if (FColorSelectionStyle == csList && FItemSelector) {
        if (FDroppedDown)
            FItemSelector->HotPrevious();
        else
            FItemSelector->SelectPrevious();
    } else if (FColorSelectionStyle == csDiscrete && FColorSelector) {
        if (FDroppedDown)
            FColorSelector->HotPrevious();
        else
            FColorSelector->SelectPrevious();
    }
}

// ---------------------------------------------------------------------------
// The edit area.

void TAdvColorPickerDropDown::PaintEditArea()
{
    TAdvCustomDropDown::PaintEditArea();
    PaintSelectedColor();
}

void TAdvColorPickerDropDown::PaintSelectedColor()
{
    if (!HandleAllocated())
        return;
    TWindowDC dc(Handle());
    TBorrowedCanvas canvas(dc.Get());
    TRect r(1, 1, GetWidth() - FButtonWidth - 2, GetHeight() - 2);
    if (OnDrawSelectedColor) {
        OnDrawSelectedColor(this, canvas.Get(), r);
        return;
    }
    const bool focusLook = !FEditorEnabled && Focused();
    int boxRight = r.left + 4;
    if (FSelectedColor != clNone) {
        if (focusLook) {
            TRect f = r;
            InflateRect(&f, -2, -2);
            canvas->GetPen()->SetColor(clHighlight);
            canvas->GetBrush()->SetColor(clHighlight);
            canvas->Rectangle(f);
        }
        const int top = r.top + (GetHeight() - FColorBoxHeight) / 2;
        canvas->GetPen()->SetColor(clBlack);
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(FSelectedColor);
        canvas->Rectangle(TRect(r.left + 4, top, r.left + 4 + FColorBoxWidth, top + FColorBoxHeight));
        boxRight = r.left + 4 + FColorBoxWidth;
    }
    if (!FShowText)
        return;
    canvas->GetFont()->Assign(GetFont());
    if (focusLook)
        canvas->GetFont()->SetColor(clHighlightText);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(focusLook ? clHighlight : GetColor());
    TRect tr(boxRight + 4, r.top, r.right, r.bottom);
    const String text = GetColorValueText();
    DrawTextW(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &tr,
              DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
