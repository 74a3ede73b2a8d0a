// The drop-down edit control: the value between prefix and suffix, the
// caption label, the edit rectangle beside the button, borders and focus.
#include "AdvDropDown.h"
#include "GdiHandles.h"
#include "ImgList.h"
#include "PlatformProbe.h"
#include <algorithm>

namespace {

// A canvas lent a DC for the length of one drawing.
class TLentCanvas {
public:
    explicit TLentCanvas(HDC DC) : canvas_(New<TCanvas>()) { canvas_->SetHandle(DC); }
    ~TLentCanvas() { canvas_->SetHandle(nullptr); }
    TLentCanvas(const TLentCanvas&) = delete;
    TLentCanvas& operator=(const TLentCanvas&) = delete;
    TCanvas* operator->() const { return canvas_.get(); }
    TCanvas* get() const { return canvas_.get(); }

private:
    TOwned<TCanvas> canvas_;
};

void FrameOnce(TCanvas* Canvas, TRect& R, TColor Color)
{
    Canvas->GetBrush()->SetColor(Color);
    Canvas->FrameRect(R);
    InflateRect(&R, -1, -1);
}

bool HasBorder(TAdvCustomDropDown* Edit)
{
    return Edit->GetBorderStyle() != bsNone;
}

} // namespace

TAdvCustomDropDown::TAdvCustomDropDown(TComponent* AOwner)
    : TCustomMaskEdit(AOwner),
      FDropDownHeader(New<THeaderAppearance>(this)),
      FButtonAppearance(New<TAdvButtonAppearance>()),
      FDropDownFooter(New<TFooterAppearance>(this)),
      FLabelFont(New<TFont>())
{
    SetBounds(GetLeft(), GetTop(), 200, 21);
}

void TAdvCustomDropDown::AfterConstruction()
{
    TCustomMaskEdit::AfterConstruction();
    if (!ComponentState().Contains(csDesigning))
        CreateDropDownForm();
    CreateDropDownButton();
    ControlStyle.Exclude(csSetCaption);
    SetReadOnly(false);
    SetText(String());
    FOldText.clear();
    FDropDownHeader->OnChange = [this](TObject* s) { HeaderChanged(s); };
    FDropDownHeader->OnButtonsChanged = [this](TObject* s) { HeaderChanged(s); };
    FDropDownFooter->OnChange = [this](TObject* s) { FooterChanged(s); };
    FDropDownFooter->OnButtonsChanged = [this](TObject* s) { FooterChanged(s); };
    const TPlatformProbe& probe = PlatformProbe();
    FIsWinXP = probe.WindowsMajor > 5 || (probe.WindowsMajor == 5 && probe.WindowsMinor > 0);
    FIsThemed = probe.ComCtlMajor > 5;
    SetSelectionColorStyle(scOffice2007);
    SetComponentStyle(tsOffice2007Luna);
    FLabelFont->OnChange = [this](TObject* s) { LabelFontChanged(s); };
}

void TAdvCustomDropDown::BeforeDestruction()
{
    // The popup goes first, hidden and cut loose: its deactivation would
    // otherwise call back into an editor that is half gone.
    if (FDropDownForm) {
        FDropDownForm->SetAdvDropDown(nullptr);
        FDropDownForm->OnHide = nullptr;
        FDropDownForm->OnDestroy = nullptr;
        if (FDropDownForm->HandleAllocated())
            ShowWindow(FDropDownForm->Handle(), SW_HIDE);
        TDropDownForm* form = FDropDownForm;
        FDropDownForm = nullptr;
        form->Free();
    }
    FDroppedDown = false;
    TCustomMaskEdit::BeforeDestruction();
}

TAdvCustomDropDown::~TAdvCustomDropDown() = default;

HRESULT STDMETHODCALLTYPE TAdvCustomDropDown::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IPackStyle))
        *ppv = static_cast<IPackStyle*>(this);
    else if (riid == __uuidof(IPackTones))
        *ppv = static_cast<IPackTones*>(this);
    else {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return S_OK;
}

Cardinal TAdvCustomDropDown::GetVersionNr() const
{
    return (1u << 24) | (4u << 16) | (1u << 8) | 1u;
}

String TAdvCustomDropDown::GetVersion() const
{
    const Cardinal v = GetVersionNr();
    return IntToStr(v >> 24) + L"." + IntToStr((v >> 16) & 0xFF) + L"." + IntToStr((v >> 8) & 0xFF) + L"." +
           IntToStr(v & 0xFF);
}

void TAdvCustomDropDown::CreateDropDownButton()
{
    if (FButton)
        return;
    FButton = New<TDropDownEditButton>(this);
    FButton->SetParent(this);
    FButton->OnClick = [this](TObject* s) { DropDownButtonClick(s); };
    if (ComponentState().Contains(csDesigning))
        FButton->SetColor(clBtnFace);
    UpdateDropDownButton();
}

void TAdvCustomDropDown::UpdateDropDownButton()
{
    if (!FButton)
        return;
    // The container keeps its own width; it has to be this one.
    FButton->SetButtonWidth(FButtonWidth);
    FButton->SetBounds(FButton->GetLeft(), FButton->GetTop(), FButtonWidth, 17);
    FButton->SetVisible(true);
    FButton->SetFocusControl(this);
}

// ---------------------------------------------------------------------------
// Text.

String TAdvCustomDropDown::GetText() const
{
    String s = TCustomMaskEdit::GetTextBuf();
    if (!FPrefix.empty() && s.compare(0, FPrefix.size(), FPrefix) == 0)
        s.erase(0, FPrefix.size());
    // Only a suffix that is there: a raw text written for a grid cell has none.
    if (!FSuffix.empty() && s.size() >= FSuffix.size() &&
        s.compare(s.size() - FSuffix.size(), FSuffix.size(), FSuffix) == 0)
        s.erase(s.size() - FSuffix.size());
    return s;
}

void TAdvCustomDropDown::WriteValue(const String& Value)
{
    TControl::SetText(FPrefix + Value + FSuffix);
}

void TAdvCustomDropDown::SetText(const String& Value)
{
    String v = Value;
    if (v.empty() && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
        v = L"0";
    if (FPrecision > 0 && !v.empty() && v != L"Error") {
        // Money groups thousands; every other type formats only a number.
        const bool money = FEditType == etMoney;
        if (money || FEditType == etFloat || DetectNumberKind(v) <= nkFloat)
            v = ::Format(String(L"%.") + IntToStr(FPrecision) + (money ? L"n" : L"f"),
                       {static_cast<double>(TextToFloat(v))});
    }
    if (FEditType == etHex)
        v = AnsiUpperCase(v);
    WriteValue(v);
    FOldText = v;
    SetModifiedFlag(false);
}

void TAdvCustomDropDown::SelectionRange(int& Start, int& End)
{
    DWORD s = 0, e = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    Start = static_cast<int>(s);
    End = static_cast<int>(e);
}

void TAdvCustomDropDown::SetSelection(int Start, int End)
{
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(Start), static_cast<LPARAM>(End));
}

void TAdvCustomDropDown::SelectAll()
{
    const int lv = static_cast<int>(GetText().size());
    SetSelection(0, lv);
    int start = 0, end = 0;
    SelectionRange(start, end);
    if ((!FPrefix.empty() && start < Lp()) || !FSuffix.empty())
        SetSelection(Lp(), Lp() + lv);
}

void TAdvCustomDropDown::SelectAfterDecimal()
{
    const String v = GetText();
    const size_t p = v.find(FormatSettings.DecimalSeparator);
    const int caret = p == String::npos ? Lp() : static_cast<int>(p) + 1 + Lp();
    SetSelection(caret, caret);
}

void TAdvCustomDropDown::SelectBeforeDecimal()
{
    const String v = GetText();
    const size_t p = v.find(FormatSettings.DecimalSeparator);
    const int caret = p == String::npos ? Lp() : static_cast<int>(p) + Lp();
    SetSelection(caret, caret);
}

// ---------------------------------------------------------------------------
// Properties.

void TAdvCustomDropDown::SetDropDownWidth(int Value)
{
    if (Value == FDropDownWidth)
        return;
    FDropDownWidth = Value;
    FUserDropDownWidth = -1;
}

void TAdvCustomDropDown::SetDropDownHeight(int Value)
{
    if (Value == FDropDownHeight || Value < 0)
        return;
    FDropDownHeight = Value;
    FUserDropDownHeight = -1;
}

void TAdvCustomDropDown::ResetUserDropDownSize()
{
    FUserDropDownWidth = -1;
    FUserDropDownHeight = -1;
}

TSize TAdvCustomDropDown::GetDropDownSize() const
{
    if (FDropDownWidth != 0 && FDropDownHeight != 0)
        return {FDropDownWidth, FDropDownHeight};
    if (FDropDownForm)
        return {FDropDownForm->GetWidth(), FDropDownForm->GetHeight()};
    if (FControl)
        return {FControl->GetWidth(), FControl->GetHeight()};
    return {0, 0};
}

void TAdvCustomDropDown::SetDropDownButtonWidth(int Value)
{
    if (!FButton || Value == FButtonWidth)
        return;
    FButtonWidth = Value;
    FButton->SetButtonWidth(Value);
    if (FButton->HandleAllocated())
        UpdateLayout();
}

void TAdvCustomDropDown::SetDropDownButtonHint(const String& Value)
{
    if (Value == FButtonHint)
        return;
    FButtonHint = Value;
    if (FButton) {
        FButton->SetHint(Value);
        FButton->SetShowHint(!Value.empty());
    }
}

void TAdvCustomDropDown::SetDropDownButtonGlyph(TBitmap* Value)
{
    if (FButton)
        FButton->SetGlyph(Value);
}

void TAdvCustomDropDown::SetDropDownEnabled(bool Value)
{
    FDropDownEnabled = Value;
    if (FButton)
        FButton->SetEnabled(Value);
}

void TAdvCustomDropDown::SetEditorEnabled(bool Value)
{
    FEditorEnabled = Value;
    if (Value)
        ControlStyle.Include(csDoubleClicks);
    else
        ControlStyle.Exclude(csDoubleClicks);
}

void TAdvCustomDropDown::SetBorderColor(TColor Value)
{
    if (Value == FBorderColor)
        return;
    FBorderColor = Value;
    Invalidate();
    if (FButton)
        FButton->GetSpeedButton()->Invalidate();
}

void TAdvCustomDropDown::SetDisabledBorder(bool Value)
{
    if (Value == FDisabledBorder)
        return;
    FDisabledBorder = Value;
    Invalidate();
}

void TAdvCustomDropDown::SetImages(TCustomImageList* Value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TAdvCustomDropDown::SetControl(TControl* Value)
{
    if (Value == FControl)
        return;
    if (FControl)
        FControl->RemoveFreeNotification(this);
    FControl = Value;
    if (Value)
        Value->FreeNotification(this);
    if (!ComponentState().Contains(csDesigning))
        PlaceControl();
}

void TAdvCustomDropDown::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TAdvCustomDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != opRemove || ComponentState().Contains(csDestroying))
        return;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (AComponent == FControl) {
        FControl = nullptr;
        PlaceControl();
    }
    if (AComponent == FFocusControl)
        FFocusControl = nullptr;
    if (AComponent == FLabel)
        FLabel = nullptr;
    if (AComponent == FButton)
        FButton = nullptr;
    if (AComponent == FDropDownForm)
        FDropDownForm = nullptr;
}

void TAdvCustomDropDown::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TAdvCustomDropDown*>(Source);
    if (!src) {
        TCustomMaskEdit::Assign(Source);
        return;
    }
    FFocusDraw = src->FFocusDraw;
    FForceShadow = src->FForceShadow;
    FDropDownEnabled = src->FDropDownEnabled;
    FDropDownColor = src->FDropDownColor;
    FDropDownColorTo = src->FDropDownColorTo;
    FDropDownGradient = src->FDropDownGradient;
    FDropDownBorderColor = src->FDropDownBorderColor;
    FDropDownBorderWidth = src->FDropDownBorderWidth;
    FDropDownShadow = src->FDropDownShadow;
    FDropDownWidth = src->FDropDownWidth;
    FDropDownHeight = src->FDropDownHeight;
    FDropDownSizeable = src->FDropDownSizeable;
    FEditType = src->FEditType;
    FReturnIsTab = src->FReturnIsTab;
    FLengthLimit = src->FLengthLimit;
    FPrecision = src->FPrecision;
    FPrefix = src->FPrefix;
    FSuffix = src->FSuffix;
    FDefaultHandling = src->FDefaultHandling;
    FCanUndo = src->FCanUndo;
    FExcelStyleDecimalSeparator = src->FExcelStyleDecimalSeparator;
    FValidChars = src->FValidChars;
    FSigned = src->FSigned;
    FAutoThousandSeparator = src->FAutoThousandSeparator;
    FButtonAppearance->Assign(src->FButtonAppearance.get());
    FDropDownHeader->Assign(src->FDropDownHeader.get());
    FDropDownFooter->Assign(src->FDropDownFooter.get());
    FDropPosition = src->FDropPosition;
    FFlat = src->FFlat;
    SetDropDownButtonWidth(src->FButtonWidth);
    SetDropDownButtonHint(src->FButtonHint);
    FEditorEnabled = src->FEditorEnabled;
    if (FButton && src->FButton) {
        FButton->SetGlyph(src->FButton->GetGlyph());
        FButton->SetButtonCaption(src->FButton->GetButtonCaption());
    }
    FEtched = src->FEtched;
    SetImages(src->FImages);
    FSelectionColorStyle = src->FSelectionColorStyle;
    FSelectionColor = src->FSelectionColor;
    FSelectionColorTo = src->FSelectionColorTo;
}

void TAdvCustomDropDown::WriteExtraValues(TWriter& Writer) const
{
    Writer.WritePropName(L"SelectionColorStyle");
    Writer.WriteInteger(FSelectionColorStyle);
    Writer.WritePropName(L"PackStyle");
    Writer.WriteInteger(FPackStyle);
}

bool TAdvCustomDropDown::ReadExtraValue(const String& Name, TReader& Reader)
{
    if (Name == L"SelectionColorStyle") {
        const Integer v = Reader.ReadInteger();
        if (v < scCustom || v > scWindows7)
            throw EReadError(L"Invalid property value");
        FSelectionColorStyle = static_cast<TSelectionColorStyle>(v);
        return true;
    }
    if (Name == L"PackStyle") {
        const Integer v = Reader.ReadInteger();
        if (v < tsOffice2003Blue || v > tsOffice2016Black)
            throw EReadError(L"Invalid property value");
        FPackStyle = static_cast<TPackStyle>(v);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Window, layout and label.

void TAdvCustomDropDown::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    // A multi-line edit honours the formatting rectangle.
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TAdvCustomDropDown::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
    UpdateLabel();
}

void TAdvCustomDropDown::SetEditRect()
{
    if (!HandleAllocated())
        return;
    RECT r{};
    SendMessageW(Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    r.bottom = GetClientHeight() + 1;
    r.right = GetClientWidth() - FButtonWidth - 3;
    if (HasBorder(this)) {
        r.left = 1;
        r.top = 1;
    } else {
        r.left = 2;
        r.top = 3;
    }
    FEditRect = r;
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int TAdvCustomDropDown::GetMinHeight()
{
    TEXTMETRICW screen{}, own{};
    TWindowDC dc(nullptr);
    GetTextMetricsW(dc.Get(), &screen);
    {
        TSelectObject font(dc.Get(), GetFont()->GetHandle());
        GetTextMetricsW(dc.Get(), &own);
    }
    return own.tmHeight + std::min(screen.tmHeight, own.tmHeight) / 4;
}

void TAdvCustomDropDown::UpdateLayout()
{
    int m = HasBorder(this) ? 4 : 2;
    if (FFlat)
        m = 3;
    const int c = 0;
    if (GetHeight() < GetMinHeight()) {
        SetHeight(GetMinHeight());
    } else if (FButton) {
        if (PlatformProbe().ThemeActive && HasBorder(this))
            FButton->SetBounds(GetWidth() - FButtonWidth - m - c, FFlat ? 2 : 0, FButtonWidth, GetHeight() - m);
        else
            FButton->SetBounds(GetWidth() - FButtonWidth - c, 1, FButtonWidth, GetHeight() - 2);
        SetEditRect();
    }
    Invalidate();
}

void TAdvCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->GetParent())
        UpdateLabel();
}

void TAdvCustomDropDown::SetParent(TWinControl* AParent)
{
    TCustomMaskEdit::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TAdvCustomDropDown::Loaded()
{
    TCustomMaskEdit::Loaded();
    FParentFnt = GetParentFont();
    SetEditRect();
    UpdateLayout();
    if (FButton)
        FButton->SetEnabled(GetEnabled());
    if (FLabel && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(GetEnabled());
    UpdateLabel();
    if (GetParentFont())
        FLabelFont->Assign(GetFont());
}

String TAdvCustomDropDown::GetLabelCaption() const
{
    return FLabel ? FLabel->GetCaption() : String();
}

void TAdvCustomDropDown::SetLabelCaption(const String& Value)
{
    if (!FLabel) {
        FLabel = New<TLabel>(this);
        FLabel->SetParent(GetParent());
        FLabel->SetFocusControl(this);
        FLabel->SetFont(FLabelFont.get());
        FLabel->OnClick = [this](TObject*) { DoLabelClick(); };
        FLabel->OnDblClick = [this](TObject*) { DoLabelDblClick(); };
        FLabel->SetParentFont(GetParentFont());
    }
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TAdvCustomDropDown::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    UpdateLabel();
}

void TAdvCustomDropDown::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    UpdateLabel();
}

void TAdvCustomDropDown::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    UpdateLabel();
}

void TAdvCustomDropDown::SetLabelFont(TFont* Value)
{
    if (!GetParentFont())
        FLabelFont->Assign(Value);
    UpdateLabel();
}

void TAdvCustomDropDown::LabelFontChanged(TObject*)
{
    UpdateLabel();
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SetParentFont(false);
}

void TAdvCustomDropDown::DoLabelClick()
{
    if (OnLabelClick)
        OnLabelClick(this);
}

void TAdvCustomDropDown::DoLabelDblClick()
{
    if (OnLabelDblClick)
        OnLabelDblClick(this);
}

void TAdvCustomDropDown::UpdateLabel()
{
    if (!FLabel)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->SetFont(FParentFnt ? GetFont() : FLabelFont.get());
    int w = 0;
    if (FLabel->GetParent() && FLabel->GetParent()->HandleAllocated()) {
        TWindowDC dc(FLabel->GetParent()->Handle());
        TSelectObject font(dc.Get(), FLabel->GetFont()->GetHandle());
        RECT r{0, 0, 1000, 255};
        const String caption = FLabel->GetCaption();
        DrawTextW(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &r, DT_CALCRECT | DT_HIDEPREFIX);
        w = r.right;
    }
    const int l = GetLeft(), t = GetTop(), wd = GetWidth(), h = GetHeight();
    const int lw = FLabel->GetWidth(), lh = FLabel->GetHeight(), m = FLabelMargin;
    const int vCentre = lh < h ? t + (h - lh) / 2 : t - (lh - h) / 2;
    const int hCentre = lw < wd ? l + (wd - lw) / 2 : l - (lw - wd) / 2;
    int top = t, left = l;
    switch (FLabelPosition) {
    case lpLeftTop: top = t; left = l - w - m; break;
    case lpLeftCenter: top = vCentre; left = l - w - m; break;
    case lpLeftBottom: top = t + h - lh; left = l - w - m; break;
    case lpTopLeft: top = t - lh - m; left = l; break;
    case lpBottomLeft: top = t + h + m; left = l; break;
    case lpLeftTopLeft: top = t; left = l - m; break;
    case lpLeftCenterLeft: top = vCentre; left = l - m; break;
    case lpLeftBottomLeft: top = t + h - lh; left = l - m; break;
    case lpTopCenter: top = t - lh - m; left = hCentre; break;
    case lpBottomCenter: top = t + h + m; left = hCentre; break;
    case lpRightTop: top = t; left = l + wd + m; break;
    case lpRightCenter: top = vCentre; left = l + wd + m; break;
    case lpRighBottom: top = t + h - lh; left = l + wd + m; break;
    case lpTopRight: top = t - lh - m; left = l + wd - lw; break;
    case lpBottomRight: top = t + h + m; left = l + wd - lw; break;
    }
    FLabel->SetBounds(left, top, lw, lh);
    FLabel->SetVisible(GetVisible());
}

// ---------------------------------------------------------------------------
// Borders and the focused look without typing.

bool TAdvCustomDropDown::IsHot()
{
    if (ComponentState().Contains(csDesigning))
        return false;
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

void TAdvCustomDropDown::UpdateButtonFocus()
{
    if (!FButton)
        return;
    FButton->GetSpeedButton()->SetFocused(ComponentState().Contains(csDesigning) ? GetEnabled() : IsHot());
}

void TAdvCustomDropDown::DrawBorders()
{
    if (!HandleAllocated())
        return;
    if (GetEnabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    TWindowDC dc(Handle(), true);
    DrawControlBorder(dc.Get());
    UpdateButtonFocus();
}

void TAdvCustomDropDown::DrawControlBorder(HDC DC)
{
    if (ComponentState().Contains(csDesigning))
        return;
    RECT wr{};
    GetWindowRect(Handle(), &wr);
    TRect r(0, 0, wr.right - wr.left, wr.bottom - wr.top);
    TLentCanvas canvas(DC);
    const bool focused = Focused();
    if (!GetEnabled() && FIsThemed && FDisabledBorder) {
        FrameOnce(canvas.get(), r, clSilver);
        return;
    }
    if (FBorderColor != clNone) {
        if (!focused || FFocusBorderColor == clNone)
            FrameOnce(canvas.get(), r, FBorderColor);
        return;
    }
    if (FFocusBorderColor != clNone) {
        if (focused)
            FrameOnce(canvas.get(), r, FFocusBorderColor);
        return;
    }
    if (IsHot()) {
        DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameOnce(canvas.get(), r, clBtnFace);
    } else {
        const TColor parentColor = GetParent() ? GetParent()->GetBrush()->GetColor() : clBtnFace;
        FrameOnce(canvas.get(), r, parentColor);
        FrameOnce(canvas.get(), r, parentColor);
    }
}

void TAdvCustomDropDown::PaintEditArea()
{
    if (FEditorEnabled || !HandleAllocated() || !Focused() || ComponentState().Contains(csDesigning) ||
        !FFocusDraw)
        return;
    TWindowDC dc(Handle());
    TLentCanvas canvas(dc.Get());
    canvas->GetPen()->SetColor(clBlack);
    canvas->GetBrush()->SetColor(clHighlight);
    TRect r(2, 2, GetWidth() - FButtonWidth - 1, GetHeight() - 2);
    canvas->Rectangle(r);
    r.left += 2;
    r.right -= 3;
    TSelectObject font(dc.Get(), GetFont()->GetHandle());
    SetTextColor(dc.Get(), ColorToRGB(clHighlightText));
    SetBkMode(dc.Get(), TRANSPARENT);
    const String value = GetText();
    DrawTextW(dc.Get(), value.c_str(), static_cast<int>(value.size()), &r, DT_SINGLELINE | DT_VCENTER);
}
