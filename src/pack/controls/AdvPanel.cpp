// The panel's model: the caption, status bar, position and auto-size
// companions, the change wiring between them and the panel, its properties,
// copying, auto-size and the style interfaces.
#include "AdvPanel.h"
#include "HTMLUtils.h"
#include "ImgList.h"
#include "PanelHTML.h"
#include "PictureContainer.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include "System.h"

TPanelCaption::TPanelCaption()
    : FFont(New<TFont>()), FMinGlyph(New<TBitmap>()), FCloseMinGlyph(New<TBitmap>()),
      FCloseMaxGlyph(New<TBitmap>()), FMaxGlyph(New<TBitmap>()), FBackground(New<TBitmap>()),
      FOfficeHint(New<TAdvHintInfo>())
{
    FFont->SetColor(clHighlightText);
    FFont->OnChange = [this](TObject*) {
        if (OnFontChange)
            OnFontChange(this);
    };
}

TPanelCaption::~TPanelCaption() = default;

void TPanelCaption::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TPanelCaption*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetBackground(src->FBackground.get());
    SetButtonPosition(src->FbuttonPosition);
    SetColor(src->FColor);
    SetColorTo(src->FColorTo);
    SetCloseColor(src->FCloseColor);
    SetCloseButton(src->FCloseButton);
    SetCloseButtonColor(src->FCloseButtonColor);
    SetCloseButtonHoverColor(src->FCloseButtonHoverColor);
    SetCloseMinGlyph(src->FCloseMinGlyph.get());
    SetCloseMaxGlyph(src->FCloseMaxGlyph.get());
    SetFlat(src->FFlat);
    SetFont(src->FFont.get());
    SetHeight(src->FHeight);
    SetIndent(src->FIndent);
    SetMaxGlyph(src->FMaxGlyph.get());
    SetMinGlyph(src->FMinGlyph.get());
    SetMinMaxButton(src->FMinMaxButton);
    SetMinMaxButtonColor(src->FMinMaxButtonColor);
    SetMinMaxButtonHoverColor(src->FMinMaxButtonHoverColor);
    SetShadeLight(src->FShadeLight);
    SetShadeGrain(src->FShadeGrain);
    SetShadeType(src->FShadeType);
    SetShape(src->FShape);
    SetGradientDirection(src->FGradientDirection);
}

void TPanelCaption::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TPanelCaption::ShadeChanged()
{
    if (OnShadeChange)
        OnShadeChange(this);
    Changed();
}

void TPanelCaption::SetText(const String& Value)
{
    FText = Value;
    Changed();
}

void TPanelCaption::SetVisible(bool Value)
{
    FVisible = Value;
    Changed();
    if (OnStateChange)
        OnStateChange(this);
}

void TPanelCaption::SetHeight(int Value)
{
    if (StoreChanged(FHeight, Value))
        Changed();
}

void TPanelCaption::SetPosition(TCaptionPosition Value)
{
    if (StoreChanged(FPosition, Value) && OnPositionChange)
        OnPositionChange(this);
}

void TPanelCaption::SetColor(TColor Value)
{
    if (StoreChanged(FColor, Value))
        ShadeChanged();
}

void TPanelCaption::SetColorTo(TColor Value)
{
    FColorTo = Value;
    Changed();
}

void TPanelCaption::SetGradientDirection(TGradientDirection Value)
{
    FGradientDirection = Value;
    Changed();
}

void TPanelCaption::SetFont(TFont* Value)
{
    // The font's own change notification reports the font change.
    FFont->Assign(Value);
    Changed();
}

void TPanelCaption::SetIndent(int Value)
{
    if (StoreChanged(FIndent, Value))
        Changed();
}

void TPanelCaption::SetTopIndent(int Value)
{
    if (StoreChanged(FTop, Value))
        Changed();
}

void TPanelCaption::SetCloseButton(bool Value)
{
    if (StoreChanged(FCloseButton, Value))
        Changed();
}

void TPanelCaption::SetMinMaxButton(bool Value)
{
    if (StoreChanged(FMinMaxButton, Value))
        Changed();
}

void TPanelCaption::SetCloseButtonColor(TColor Value)
{
    if (StoreChanged(FCloseButtonColor, Value))
        Changed();
}

void TPanelCaption::SetMinMaxButtonColor(TColor Value)
{
    if (StoreChanged(FMinMaxButtonColor, Value))
        Changed();
}

void TPanelCaption::SetCloseColor(TColor Value)
{
    if (StoreChanged(FCloseColor, Value))
        Changed();
}

void TPanelCaption::SetCloseMinGlyph(TBitmap* Value)
{
    FCloseMinGlyph->Assign(Value);
    Changed();
}

void TPanelCaption::SetCloseMaxGlyph(TBitmap* Value)
{
    FCloseMaxGlyph->Assign(Value);
    Changed();
}

void TPanelCaption::SetFlat(bool Value)
{
    FFlat = Value;
    ShadeChanged();
}

void TPanelCaption::SetShape(TCaptionShape Value)
{
    FShape = Value;
    ShadeChanged();
}

void TPanelCaption::SetShadeType(TShadeType Value)
{
    FShadeType = Value;
    ShadeChanged();
}

void TPanelCaption::SetShadeLight(int Value)
{
    FShadeLight = std::max(Value, 200);
    ShadeChanged();
}

void TPanelCaption::SetShadeGrain(Byte Value)
{
    FShadeGrain = Value;
    ShadeChanged();
}

void TPanelCaption::SetBackground(TBitmap* Value)
{
    FBackground->Assign(Value);
    ShadeChanged();
}

// ---------------------------------------------------------------------------
TPanelStatusBar::TPanelStatusBar() : FFont(New<TFont>())
{
    FFont->SetName(L"Tahoma");
    FFont->OnChange = [this](TObject*) {
        if (OnChange)
            OnChange(this);
    };
}

TPanelStatusBar::~TPanelStatusBar() = default;

template <class T>
void TPanelStatusBar::Store(T& Field, const T& Value)
{
    if (StoreChanged(Field, Value) && OnChange)
        OnChange(this);
}

void TPanelStatusBar::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TPanelStatusBar*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(src->FColor);
    SetColorTo(src->FColorTo);
    SetGradientDirection(src->FGradientDirection);
    SetBorderStyle(src->FBorderStyle);
    SetBorderColor(src->FBorderColor);
    SetFont(src->FFont.get());
    SetTopIndent(src->FTopIndent);
}

void TPanelStatusBar::SetBevelInner(bool Value) { Store(FBevelInner, Value); }
void TPanelStatusBar::SetBorderColor(TColor Value) { Store(FBorderColor, Value); }
void TPanelStatusBar::SetBorderStyle(TBorderStyle Value) { Store(FBorderStyle, Value); }
void TPanelStatusBar::SetImageIndex(int Value) { Store(FImageIndex, Value); }
void TPanelStatusBar::SetText(const String& Value) { Store(FText, Value); }
void TPanelStatusBar::SetColor(TColor Value) { Store(FColor, Value); }
void TPanelStatusBar::SetColorTo(TColor Value) { Store(FColorTo, Value); }
void TPanelStatusBar::SetGradientDirection(TGradientDirection Value) { Store(FGradientDirection, Value); }
void TPanelStatusBar::SetHeight(int Value) { Store(FHeight, Value); }
void TPanelStatusBar::SetTopIndent(int Value) { Store(FTopIndent, Value); }
void TPanelStatusBar::SetVisible(bool Value) { Store(FVisible, Value); }

// ---------------------------------------------------------------------------
void TPanelPosition::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TPanelPosition*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FSave = src->FSave;
    FKey = src->FKey;
    FSection = src->FSection;
    FLocation = src->FLocation;
}

void TAutoSize::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TAutoSize*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FHeight = src->FHeight;
    FWidth = src->FWidth;
    SetEnabled(src->FEnabled);
}

void TAutoSize::SetEnabled(bool Value)
{
    FEnabled = Value;
    if (Value && FOwner)
        FOwner->DoAutoSize();
}

// ---------------------------------------------------------------------------
TCustomAdvPanel::TCustomAdvPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FCaption(New<TPanelCaption>()), FStatusBar(New<TPanelStatusBar>()),
      FImage(New<TAdvImage>()), FImageCache(New<THTMLPictureCache>()), FShadedHeader(New<TBitmap>()),
      FOfficeHint(New<TAdvHintInfo>())
{
    FPosition.reset(New<TPanelPosition>(this));
    FAutoSize.reset(New<TAutoSize>(this));
    ControlStyle >> csSetCaption;
    FImage->OnChange = [this](TObject*) { BackgroundChanged(); };
    FCaption->OnChange = [this](TObject*) { CaptionChanged(); };
    FCaption->OnShadeChange = [this](TObject*) { BuildShadedHeader(); };
    FCaption->OnStateChange = [this](TObject*) { PanelStateChanged(); };
    FCaption->OnPositionChange = [this](TObject*) { CaptionPositionChanged(); };
    FCaption->OnFontChange = [this](TObject*) { CaptionFontChanged(); };
    FStatusBar->OnChange = [this](TObject*) { Invalidate(); };
    SetDoubleBuffered(true);
    SetWidth(300);
    SetHeight(200);
    FOldColor = GetColor();
    FDesignTime = ComponentState().Contains(csDesigning) && AOwner &&
                  !AOwner->ComponentState().Contains(csReading) &&
                  !AOwner->ComponentState().Contains(csLoading);
    OSVERSIONINFOW version{sizeof(version)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    FIsWinXP = version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion != 0);
}

TCustomAdvPanel::~TCustomAdvPanel() = default;

HRESULT STDMETHODCALLTYPE TCustomAdvPanel::QueryInterface(REFIID Riid, void** Object)
{
    if (!Object)
        return E_POINTER;
    if (Riid == __uuidof(IPackTones) || Riid == __uuidof(IUnknown))
        *Object = static_cast<IPackTones*>(this);
    else if (Riid == __uuidof(IPackOfficeHint))
        *Object = static_cast<IPackOfficeHint*>(this);
    else {
        *Object = nullptr;
        return E_NOINTERFACE;
    }
    return S_OK;
}

void TCustomAdvPanel::CaptionChanged()
{
    if (ControlCount() > 0)
        Realign();
    Invalidate();
}

void TCustomAdvPanel::CaptionPositionChanged()
{
    DoAutoSize();
    BuildShadedHeader();
    Invalidate();
}

void TCustomAdvPanel::CaptionFontChanged()
{
    if (GetParentFont() && FDesignTime)
        SetParentFont(FCaption->GetFont()->GetHandle() == GetFont()->GetHandle());
}

void TCustomAdvPanel::BackgroundChanged()
{
    Invalidate();
}

void TCustomAdvPanel::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TCustomAdvPanel*>(Source);
    if (!src)
        throw EInvalidCast(L"Invalid class typecast");
    SetAnchorHint(src->FAnchorHint);
    SetAutoHideChildren(src->FAutoHideChildren);
    SetBackground(src->FImage.get());
    SetBackgroundPosition(src->FBackgroundPosition);
    SetBevelInner(src->GetBevelInner());
    SetBevelOuter(src->GetBevelOuter());
    SetBevelWidth(src->GetBevelWidth());
    SetBorderColor(src->FBorderColor);
    SetBorderShadow(src->FBorderShadow);
    SetBorderStyle(src->GetBorderStyle());
    SetCanMove(src->FCanMove);
    SetCanSize(src->FCanSize);
    SetCaption(src->FCaption.get());
    SetCollapsColor(src->FCollapsColor);
    SetCollapsDelay(src->FCollapsDelay);
    SetCollapsSteps(src->FCollapsSteps);
    SetColor(src->GetColor());
    SetColorTo(src->FColorTo);
    SetColorMirror(src->FColorMirror);
    SetColorMirrorTo(src->FColorMirrorTo);
    SetCursor(src->GetCursor());
    SetEnabled(src->GetEnabled());
    SetFont(src->GetFont());
    SetFixedTop(src->FFixedTop);
    SetFixedLeft(src->FFixedLeft);
    SetFixedHeight(src->FFixedHeight);
    SetFixedWidth(src->FFixedWidth);
    SetFreeOnClose(src->FFreeOnClose);
    SetHeight(src->GetHeight());
    SetHint(src->GetHint());
    SetHover(src->FHover);
    SetHoverColor(src->FHoverColor);
    SetHoverFontColor(src->FHoverFontColor);
    SetImages(src->FImages);
    SetParentColor(src->GetParentColor());
    SetParentFont(src->GetParentFont());
    SetParentShowHint(src->GetParentShowHint());
    SetPictureContainer(src->FContainer);
    SetPopupMenu(src->GetPopupMenu());
    SetPosition(src->FPosition.get());
    SetStatusBar(src->FStatusBar.get());
    SetShadowColor(src->FShadowColor);
    SetShadowOffset(src->FShadowOffset);
    SetShowHint(src->GetShowHint());
    SetShowMoveCursor(src->FShowMoveCursor);
    SetTabStop(src->GetTabStop());
    SetTop(src->GetTop());
    SetText(src->FText);
    SetTextVAlign(src->FTextVAlign);
    SetURLColor(src->FURLColor);
    SetVisible(src->GetVisible());
}

void TCustomAdvPanel::SetText(const String& Value)
{
    FText = Value;
    Invalidate();
    DoAutoSize();
}

String TCustomAdvPanel::GetRawText() const
{
    return PanelHTMLToText(FText);
}

void TCustomAdvPanel::SetAutoSizeSettings(TAutoSize* Value)
{
    if (Value && !ComponentState().Contains(csLoading))
        FAutoSize->Assign(Value);
}

void TCustomAdvPanel::SetBackground(TAdvImage* Value)
{
    FImage->Assign(Value);
    Invalidate();
}

namespace {
// Stores Value and repaints the panel when it differs.
template <class T>
void StoreAndInvalidate(TControl* Panel, T& Field, const T& Value)
{
    Field = Value;
    Panel->Invalidate();
}
} // namespace

void TCustomAdvPanel::SetBackgroundPosition(TBackGroundPosition Value) { StoreAndInvalidate(this, FBackgroundPosition, Value); }
void TCustomAdvPanel::SetURLColor(TColor Value) { StoreAndInvalidate(this, FURLColor, Value); }
void TCustomAdvPanel::SetShadowColor(TColor Value) { StoreAndInvalidate(this, FShadowColor, Value); }
void TCustomAdvPanel::SetShadowOffset(int Value) { StoreAndInvalidate(this, FShadowOffset, Value); }
void TCustomAdvPanel::SetCanSize(bool Value) { StoreAndInvalidate(this, FCanSize, Value); }
void TCustomAdvPanel::SetBorderColor(TColor Value) { StoreAndInvalidate(this, FBorderColor, Value); }
void TCustomAdvPanel::SetBorderShadow(bool Value) { StoreAndInvalidate(this, FBorderShadow, Value); }
void TCustomAdvPanel::SetGradientDirection(TGradientDirection Value) { StoreAndInvalidate(this, FGradientDirection, Value); }
void TCustomAdvPanel::SetEllipsis(bool Value) { StoreAndInvalidate(this, FEllipsis, Value); }
void TCustomAdvPanel::SetIndent(int Value) { StoreAndInvalidate(this, FIndent, Value); }
void TCustomAdvPanel::SetTopIndent(int Value) { StoreAndInvalidate(this, FTopIndent, Value); }
void TCustomAdvPanel::SetLineSpacing(int Value) { StoreAndInvalidate(this, FLineSpacing, Value); }
void TCustomAdvPanel::SetTextVAlign(TTextVAlignment Value) { StoreAndInvalidate(this, FTextVAlign, Value); }

void TCustomAdvPanel::SetImages(TCustomImageList* Value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
    Invalidate();
}

void TCustomAdvPanel::SetPictureContainer(TPictureContainer* Value)
{
    if (FContainer)
        FContainer->RemoveFreeNotification(this);
    FContainer = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TCustomAdvPanel::SetColorTo(TColor Value)
{
    if (StoreChanged(FColorTo, Value))
        Invalidate();
}

void TCustomAdvPanel::SetColorMirror(TColor Value)
{
    if (StoreChanged(FColorMirror, Value))
        Invalidate();
}

void TCustomAdvPanel::SetColorMirrorTo(TColor Value)
{
    if (StoreChanged(FColorMirrorTo, Value))
        Invalidate();
}

void TCustomAdvPanel::SetWidth(int Value)
{
    TCustomPanel::SetWidth(Value);
    if (!FCollaps && !FIsCollapsing && FCaption->GetPosition() != cpTop)
        FFullHeight = GetWidth();
}

void TCustomAdvPanel::SetHeight(int Value)
{
    TCustomPanel::SetHeight(Value);
    if (!FCollaps && !FIsCollapsing && FCaption->GetPosition() == cpTop)
        FFullHeight = GetHeight();
}

void TCustomAdvPanel::SetCursor(TCursor ACursor)
{
    FOldCursor = ACursor;
    TCustomPanel::SetCursor(ACursor);
}

void TCustomAdvPanel::Loaded()
{
    TCustomPanel::Loaded();
    if (FPosition->GetSave())
        LoadPosition();
    if (HandleAllocated())
        FTopLeft = GetClientOrigin();
    FWidthHeight = TPoint(GetWidth(), GetHeight());
    FOldCursor = GetCursor();
    FOldColor = GetColor();
    if (FStyler)
        ApplySettings(FStyler->GetSettings());
}

void TCustomAdvPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomPanel::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        FImages = nullptr;
    if (AComponent == FContainer)
        FContainer = nullptr;
    if (AComponent == FStyler)
        FStyler = nullptr;
}

void TCustomAdvPanel::ChangeScale(int M, int D)
{
    TCustomPanel::ChangeScale(M, D);
    FCaption->SetHeight(MulDiv(FCaption->GetHeight(), M, D));
    FCaption->GetFont()->SetSize(MulDiv(FCaption->GetFont()->GetSize(), M, D));
}

void TCustomAdvPanel::AssignSettings(TAdvPanelSettings* Settings)
{
    ApplySettings(Settings);
    SetHeight(Settings->GetHeight());
    SetWidth(Settings->GetWidth());
    SetHint(Settings->GetHint());
}

bool TCustomAdvPanel::DrawHTML(TCanvas* ACanvas, const String& Text, const TRect& R, int HoverLink,
                               bool WordWrap, bool CheckHotSpot, bool CheckHeight, int& XSize, int& YSize)
{
    String anchor, strip, focusAnchor;
    int links = 0, mouseLink = -1;
    TRect hoverRect;
    return PanelHTMLDraw(ACanvas, Text, R, FImages, 0, 0, -1, HoverLink, FShadowOffset, CheckHotSpot,
                         CheckHeight, false, false, false, FHover, WordWrap, 1.0, FURLColor, FHoverColor,
                         FHoverFontColor, FShadowColor, anchor, strip, focusAnchor, XSize, YSize, links,
                         mouseLink, hoverRect, FImageCache.get(), FContainer, FLineSpacing, bdLeftToRight);
}

TSize TCustomAdvPanel::GetHTMLSize()
{
    TRect r = GetClientRect();
    if (FBorderShadow)
        r.right -= 2;
    const int inset = GetBorderWidth() + 1;
    r.left += inset + FIndent;
    r.right -= inset;
    int xsize = 0, ysize = 0;
    GetCanvas()->GetFont()->Assign(GetFont());
    DrawHTML(GetCanvas(), FText, r, -1, true, true, false, xsize, ysize);
    return TSize(xsize, ysize);
}

void TCustomAdvPanel::DoAutoSize()
{
    if (!FAutoSize->GetEnabled() || ComponentState().Contains(csLoading))
        return;
    const int bevel2 = 2 * GetBevelWidth();
    const int bw = GetBorderWidth();
    const int w = FAutoSize->GetWidth() ? 0xFFFF : GetWidth() - bevel2 - (FBorderShadow ? 2 : 0);
    const int h = FAutoSize->GetHeight() ? 0xFFFF : GetHeight() - bevel2;
    TOwned<TBitmap> measure(New<TBitmap>(1, 1));
    TCanvas* canvas = measure->GetCanvas();
    canvas->GetFont()->Assign(GetFont());
    int tw = 0, th = 0;
    DrawHTML(canvas, FText, TRect(0, 0, w, h), -1, !FEllipsis, false, true, tw, th);
    tw += 2 * bw + (FBorderShadow ? 2 : 0);
    th += 2 * bw + (FBorderShadow ? 2 : 0);
    const bool captionShown = FCaption->GetVisible();
    const int statusHeight = FStatusBar->GetVisible() ? FStatusBar->GetHeight() : 0;
    const TCaptionPosition position = FCaption->GetPosition();
    if (FAutoSize->GetWidth()) {
        if (position == cpTop)
            SetWidth(bevel2 + tw + FIndent);
        else if (captionShown)
            SetWidth(FCaption->GetHeight() + tw + statusHeight + bevel2 + FIndent);
        else
            SetWidth(statusHeight + tw + bevel2 + FIndent);
    }
    if (FAutoSize->GetHeight()) {
        if (position != cpTop)
            SetHeight(bevel2 + th + FTopIndent);
        else if (captionShown && FStatusBar->GetVisible())
            SetHeight(FCaption->GetHeight() + th + FStatusBar->GetHeight() + bevel2 + FTopIndent + 2 * bw);
        else if (captionShown)
            SetHeight(FCaption->GetHeight() + th + bevel2 + FTopIndent);
        else
            SetHeight(statusHeight + th + bevel2 + FTopIndent);
    }
    Synchronize();
}

void STDMETHODCALLTYPE TCustomAdvPanel::SetColorTones(TColorTones ATones)
{
    FCaption->SetColor(ATones.Selected.BrushColor);
    FCaption->SetCloseColor(ATones.Selected.BrushColor);
    FCaption->SetColorTo(clNone);
    FCaption->GetFont()->SetName(GetDefaultUIFontName());
    FCaption->GetFont()->SetColor(ATones.Selected.TextColor);
    FCaption->SetFlat(true);
    FCaption->SetShadeType(stNormal);
    SetColor(ATones.Background.BrushColor);
    SetColorTo(clNone);
    GetFont()->SetName(GetDefaultUIFontName());
    GetFont()->SetColor(ATones.Background.TextColor);
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetBorderStyle(bsNone);
    FStatusBar->GetFont()->SetName(GetDefaultUIFontName());
    FStatusBar->GetFont()->SetColor(ATones.Foreground.TextColor);
    FStatusBar->SetColor(ATones.Foreground.BrushColor);
    FStatusBar->SetColorTo(clNone);
    SetOptimizePaint(true);
}

TAdvHintInfo* STDMETHODCALLTYPE TCustomAdvPanel::GetOfficeHint(TPoint Pt)
{
    if (FCaption->GetVisible() && Pt.y < FCaption->GetHeight() && !FCaption->GetOfficeHint()->IsEmpty())
        return FCaption->GetOfficeHint();
    return FOfficeHint.get();
}

void TCustomAdvPanel::BeginUpdate()
{
    if (HandleAllocated())
        SendMessageW(GetHandle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomAdvPanel::EndUpdate()
{
    if (!HandleAllocated())
        return;
    SendMessageW(GetHandle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

void TCustomAdvPanel::Synchronize()
{
    if (auto* group = dynamic_cast<TAdvPanelGroup*>(GetParent()))
        group->ChildPanelChanged(this);
}
