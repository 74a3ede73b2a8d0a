// The pack's panel, whose body text is mini-HTML, with an optional caption
// bar (top, left or right edge) carrying a close and a collapse button, an
// optional status bar, a background picture, gradient backgrounds, a drop
// shadow border, animated collapsing, moving and sizing by mouse and a saved
// position; the settings bundle and styler that style panels; and the panel
// group, which stacks its child panels in columns or side by side.
//
// AdvPanel.cpp holds the model and its companions, AdvPanelPaint.cpp the
// painting, AdvPanelShade.cpp the caption shades, AdvPanelMouse.cpp the
// run-time behaviour, AdvPanelStyler.cpp the settings and styler, and
// AdvPanelGroup.cpp the group.
#pragma once

#include "AdvHintInfo.h"
#include "AdvImage.h"
#include "AdvStyleIF.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"

class TCustomImageList;
class TPictureContainer;
class THTMLPictureCache;
class TCustomAdvPanel;
class TAdvPanelSettings;
class TAdvPanelStyler;

enum TBackGroundPosition { bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched, bpCenter };
enum TTextVAlignment { tvaTop, tvaCenter, tvaBottom };
enum TGradientDirection { gdVertical, gdHorizontal };
enum TCaptionPosition { cpTop, cpLeft, cpRight };
enum TCaptionButtonPosition { cbpRight, cbpLeft };
enum TCaptionShape { csRectangle, csRounded, csSemiRounded };
enum TShadeType {
    stNormal, stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump, stHardBump,
    stLMetal, stRMetal, stIRadial, stORadial, stHShadeInv, stVShadeInv, stXPCaption, stBitmap,
    stBitmapRStretch, stBitmapLStretch
};
// Scoped: the grid's column-size location has the same names.
enum class TPanelPositionLocation { clRegistry, clInifile };

using TAnchorEvent = std::function<void(TObject* Sender, const String& Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, String& Anchor)>;
using TPaintEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect)>;

// ---------------------------------------------------------------------------
// The caption bar's settings. The panel wires the five notifications.
class TPanelCaption : public TPersistent {
public:
    TPanelCaption();
    ~TPanelCaption() override;
    // Copies the look; the text, visibility, position, top indent, the
    // caption-click toggle and the hint stay.
    void Assign(TPersistent* Source) override;

    String GetText() const { return FText; }
    void SetText(const String& Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    TCaptionPosition GetPosition() const { return FPosition; }
    void SetPosition(TCaptionPosition Value);
    TCaptionButtonPosition GetButtonPosition() const { return FbuttonPosition; }
    void SetButtonPosition(TCaptionButtonPosition Value) { FbuttonPosition = Value; }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TGradientDirection GetGradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value);
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value);
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    int GetTopIndent() const { return FTop; }
    void SetTopIndent(int Value);
    bool GetCloseButton() const { return FCloseButton; }
    void SetCloseButton(bool Value);
    bool GetMinMaxButton() const { return FMinMaxButton; }
    void SetMinMaxButton(bool Value);
    TColor GetCloseButtonColor() const { return FCloseButtonColor; }
    void SetCloseButtonColor(TColor Value);
    TColor GetMinMaxButtonColor() const { return FMinMaxButtonColor; }
    void SetMinMaxButtonColor(TColor Value);
    TColor GetCloseButtonHoverColor() const { return FCloseButtonHoverColor; }
    void SetCloseButtonHoverColor(TColor Value) { FCloseButtonHoverColor = Value; }
    TColor GetMinMaxButtonHoverColor() const { return FMinMaxButtonHoverColor; }
    void SetMinMaxButtonHoverColor(TColor Value) { FMinMaxButtonHoverColor = Value; }
    // The caption's colour while the panel is collapsed.
    TColor GetCloseColor() const { return FCloseColor; }
    void SetCloseColor(TColor Value);
    TBitmap* GetCloseMinGlyph() const { return FCloseMinGlyph.get(); }
    void SetCloseMinGlyph(TBitmap* Value);
    TBitmap* GetCloseMaxGlyph() const { return FCloseMaxGlyph.get(); }
    void SetCloseMaxGlyph(TBitmap* Value);
    TBitmap* GetMinGlyph() const { return FMinGlyph.get(); }
    void SetMinGlyph(TBitmap* Value) { FMinGlyph->Assign(Value); }
    TBitmap* GetMaxGlyph() const { return FMaxGlyph.get(); }
    void SetMaxGlyph(TBitmap* Value) { FMaxGlyph->Assign(Value); }
    // A click in the caption toggles the collapsed state.
    bool GetMinMaxCaption() const { return FMinMaxCaption; }
    void SetMinMaxCaption(bool Value) { FMinMaxCaption = Value; }
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    TCaptionShape GetShape() const { return FShape; }
    void SetShape(TCaptionShape Value);
    TShadeType GetShadeType() const { return FShadeType; }
    void SetShadeType(TShadeType Value);
    // Values below 200 are stored as 200; only the low 8 bits shade.
    int GetShadeLight() const { return FShadeLight; }
    void SetShadeLight(int Value);
    Byte GetShadeGrain() const { return FShadeGrain; }
    void SetShadeGrain(Byte Value);
    TBitmap* GetBackground() const { return FBackground.get(); }
    void SetBackground(TBitmap* Value);
    TAdvHintInfo* GetOfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }

    TNotifyEvent OnChange;
    TNotifyEvent OnStateChange;
    // Fired before OnChange when an input of the generated shade changes.
    TNotifyEvent OnShadeChange;
    TNotifyEvent OnPositionChange;
    TNotifyEvent OnFontChange;

private:
    void Changed();
    void ShadeChanged();

    int FHeight = 20;
    String FText;
    TColor FColor = clHighlight;
    TOwned<TFont> FFont;
    bool FVisible = false;
    bool FCloseButton = false;
    bool FMinMaxButton = false;
    TColor FMinMaxButtonColor = 0xFFFFFF;
    TColor FCloseButtonColor = 0xFFFFFF;
    TOwned<TBitmap> FMinGlyph;
    TOwned<TBitmap> FCloseMinGlyph;
    TOwned<TBitmap> FCloseMaxGlyph;
    TOwned<TBitmap> FMaxGlyph;
    TColor FCloseColor = clBtnFace;
    int FShadeLight = 200;
    Byte FShadeGrain = 32;
    TShadeType FShadeType = stNormal;
    TCaptionShape FShape = csRectangle;
    bool FFlat = false;
    TOwned<TBitmap> FBackground;
    int FIndent = 0;
    int FTop = 0;
    TCaptionButtonPosition FbuttonPosition = cbpRight;
    TColor FColorTo = clNone;
    TCaptionPosition FPosition = cpTop;
    bool FMinMaxCaption = false;
    TColor FCloseButtonHoverColor = clNone;
    TColor FMinMaxButtonHoverColor = clNone;
    TGradientDirection FGradientDirection = gdHorizontal;
    TOwned<TAdvHintInfo> FOfficeHint;
};

// The status bar's settings; every change fires OnChange.
class TPanelStatusBar : public TPersistent {
public:
    TPanelStatusBar();
    ~TPanelStatusBar() override;
    // Copies the colours, gradient direction, border, font and top indent.
    void Assign(TPersistent* Source) override;

    bool GetBevelInner() const { return FBevelInner; }
    void SetBevelInner(bool Value);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    String GetText() const { return FText; }
    void SetText(const String& Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TGradientDirection GetGradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    int GetTopIndent() const { return FTopIndent; }
    void SetTopIndent(int Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);

    TNotifyEvent OnChange;

private:
    template <class T>
    void Store(T& Field, const T& Value);

    int FImageIndex = -1;
    String FText;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    TGradientDirection FGradientDirection = gdHorizontal;
    bool FVisible = false;
    int FHeight = 18;
    bool FBevelInner = false;
    TOwned<TFont> FFont;
    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = 0;
    int FTopIndent = 0;
};

// Where a panel keeps its position: an INI file or a registry key path.
class TPanelPosition : public TPersistent {
public:
    explicit TPanelPosition(TComponent* AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return FOwner; }

    bool GetSave() const { return FSave; }
    void SetSave(bool Value) { FSave = Value; }
    String GetKey() const { return FKey; }
    void SetKey(const String& Value) { FKey = Value; }
    String GetSection() const { return FSection; }
    void SetSection(const String& Value) { FSection = Value; }
    TPanelPositionLocation GetLocation() const { return FLocation; }
    void SetLocation(TPanelPositionLocation Value) { FLocation = Value; }

private:
    TComponent* FOwner;
    bool FSave = false;
    String FKey;
    String FSection;
    TPanelPositionLocation FLocation = TPanelPositionLocation::clRegistry;
};

// Whether a panel fits its size to its text.
class TAutoSize : public TPersistent {
public:
    explicit TAutoSize(TCustomAdvPanel* AOwner) : FOwner(AOwner) {}
    void Assign(TPersistent* Source) override;

    bool GetEnabled() const { return FEnabled; }
    // True sizes the panel at once.
    void SetEnabled(bool Value);
    bool GetHeight() const { return FHeight; }
    void SetHeight(bool Value) { FHeight = Value; }
    bool GetWidth() const { return FWidth; }
    void SetWidth(bool Value) { FWidth = Value; }

private:
    TCustomAdvPanel* FOwner;
    bool FEnabled = false;
    bool FHeight = true;
    bool FWidth = true;
};


// Band gradients and colour mixing of the panels.
// Percent 100 gives Color1 unchanged, else each channel rounds
// Percent% of Color1 plus the rest of Color2.
TColor BlendColors(TColor Color1, TColor Color2, int Percent);
// Bands solid rectangles (1 .. 32) from FromColor to ToColor, along x
// when Horizontal.
void DrawBandGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal,
                      const TRect& Rect, int Bands);
// FromColor -> ToColor over the first half, MirrorFromColor ->
// MirrorToColor over the second, split across Direction.
void DrawMirrorGradient(TCanvas* Canvas, const TRect& Rect, TColor FromColor, bool Fill,
                        TColor FrameColor, TGradientDirection Direction, TColor MirrorToColor,
                        TColor MirrorFromColor, TColor ToColor);

// ---------------------------------------------------------------------------
class TCustomAdvPanel : public TCustomPanel, public IPackTones, public IPackOfficeHint {
public:
    explicit TCustomAdvPanel(TComponent* AOwner);
    ~TCustomAdvPanel() override;
    // Copies another panel's settings through its setters; any other source
    // raises EInvalidCast.
    void Assign(TPersistent* Source) override;

    // The body text, mini-HTML; setting it repaints and runs the auto-size.
    String GetText() const { return FText; }
    void SetText(const String& Value);
    // The body text without its markup.
    String GetRawText() const;

    TPanelCaption* GetCaption() const { return FCaption.get(); }
    void SetCaption(TPanelCaption* Value) { FCaption->Assign(Value); }
    TPanelStatusBar* GetStatusBar() const { return FStatusBar.get(); }
    void SetStatusBar(TPanelStatusBar* Value) { FStatusBar->Assign(Value); }
    TPanelPosition* GetPosition() const { return FPosition.get(); }
    void SetPosition(TPanelPosition* Value) { FPosition->Assign(Value); }
    TAutoSize* GetAutoSizeSettings() const { return FAutoSize.get(); }
    void SetAutoSizeSettings(TAutoSize* Value);
    TAdvImage* GetBackground() const { return FImage.get(); }
    void SetBackground(TAdvImage* Value);
    TBackGroundPosition GetBackgroundPosition() const { return FBackgroundPosition; }
    void SetBackgroundPosition(TBackGroundPosition Value);
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TPictureContainer* GetPictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* Value);
    TColor GetURLColor() const { return FURLColor; }
    void SetURLColor(TColor Value);
    bool GetHover() const { return FHover; }
    void SetHover(bool Value) { FHover = Value; }
    TColor GetHoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor Value) { FHoverColor = Value; }
    TColor GetHoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(TColor Value) { FHoverFontColor = Value; }
    TColor GetShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor Value);
    int GetShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int Value);
    bool GetAnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool Value) { FAnchorHint = Value; }
    bool GetCanMove() const { return FCanMove; }
    void SetCanMove(bool Value) { FCanMove = Value; }
    bool GetCanSize() const { return FCanSize; }
    void SetCanSize(bool Value);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool GetBorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(bool Value);
    bool GetBuffered() const { return FBuffered; }
    void SetBuffered(bool Value) { FBuffered = Value; }
    // Collapses or expands (animated with CollapsSteps above 0).
    bool GetCollaps() const { return FCollaps; }
    void SetCollaps(bool Value);
    TColor GetCollapsColor() const { return FCollapsColor; }
    void SetCollapsColor(TColor Value) { FCollapsColor = Value; }
    int GetCollapsDelay() const { return FCollapsDelay; }
    void SetCollapsDelay(int Value) { FCollapsDelay = Value; }
    int GetCollapsSteps() const { return FCollapsSteps; }
    void SetCollapsSteps(int Value) { FCollapsSteps = Value; }
    bool GetAutoHideChildren() const { return FAutoHideChildren; }
    void SetAutoHideChildren(bool Value) { FAutoHideChildren = Value; }
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor GetColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor Value);
    TColor GetColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor Value);
    TGradientDirection GetGradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection Value);
    bool GetEllipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value);
    bool GetFixedTop() const { return FFixedTop; }
    void SetFixedTop(bool Value) { FFixedTop = Value; }
    bool GetFixedLeft() const { return FFixedLeft; }
    void SetFixedLeft(bool Value) { FFixedLeft = Value; }
    bool GetFixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(bool Value) { FFixedHeight = Value; }
    bool GetFixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(bool Value) { FFixedWidth = Value; }
    bool GetFreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
    // Offsets of the body text from the left and from the top.
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    int GetTopIndent() const { return FTopIndent; }
    void SetTopIndent(int Value);
    int GetLineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int Value);
    TTextVAlignment GetTextVAlign() const { return FTextVAlign; }
    void SetTextVAlign(TTextVAlignment Value);
    bool GetShowMoveCursor() const { return FShowMoveCursor; }
    void SetShowMoveCursor(bool Value) { FShowMoveCursor = Value; }
    TAdvHintInfo* GetOfficeHintInfo() const { return FOfficeHint.get(); }
    void SetOfficeHintInfo(TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }
    TAdvPanelStyler* GetStyler() const { return FStyler; }
    virtual void SetStyler(TAdvPanelStyler* Value);
    // Width and height as properties: when neither collapsed nor collapsing,
    // they also set the expanded extent (bounds set at once leave it alone).
    void SetWidth(int Value);
    void SetHeight(int Value);
    // The expanded extent (height for a top caption, width for a side one),
    // kept with the form as "FullHeight".
    int GetFullHeight() const { return FFullHeight; }
    void SetFullHeight(int Value) { FFullHeight = Value; }
    String GetVersion() const { return L"2.4.1.0"; }
    void SetVersion(const String&) {}
    // Order key of a group's ordered arrangement.
    int GetIndex() const { return FIndex; }
    void SetIndex(int Value) { FIndex = Value; }
    bool GetOptimizePaint() const { return FOptimizePaint; }
    void SetOptimizePaint(bool Value) { FOptimizePaint = Value; }
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    bool IsCollapsing() const { return FIsCollapsing; }
    // The generated caption shade.
    TBitmap* GetShadedHeader() const { return FShadedHeader.get(); }

    // Copies a settings bundle (ApplySettings), then its Height, Width and Hint.
    void AssignSettings(TAdvPanelSettings* Settings);
    virtual void ApplySettings(TAdvPanelSettings* Settings);
    // The laid-out size of the body text.
    TSize GetHTMLSize();
    // Switch redrawing off and on again (then repaint).
    void BeginUpdate();
    void EndUpdate();
    // Tells a parent group that this panel's layout changed.
    void Synchronize();
    // Sets the cursor and remembers it as the one to go back to after an anchor.
    void SetCursor(TCursor ACursor);
    void SavePosition();
    void LoadPosition();
    // True when visual styles draw the caption.
    bool IsThemed() const;

    // IUnknown of a component: no reference counting.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void STDMETHODCALLTYPE SetColorTones(TColorTones ATones) override;
    TAdvHintInfo* STDMETHODCALLTYPE GetOfficeHint(TPoint Pt) override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TAnchorEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    TAnchorHintEvent OnAnchorHint;
    TNotifyEvent OnCaptionClick;
    TNotifyEvent OnCaptionDBlClick;
    TNotifyEvent OnClose;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnMaximize;
    TNotifyEvent OnEndMoveSize;
    TNotifyEvent OnEndCollapsExpand;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TPaintEvent OnPaint;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ChangeScale(int M, int D) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Paint() override;
    void AlignControls(TControl* AControl, RECT& Rect) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Resize() override;
    void DblClick() override;
    // Regenerates the caption shade bitmap.
    virtual void BuildShadedHeader();
    // Runs after every collapse or expand and after the caption's visibility changes.
    virtual void PanelStateChanged() {}
    // Draws the caption strip for every shade type but stNormal.
    void DrawShadedCaption(TCanvas* ACanvas, const TRect& Strip);
    void DoAutoSize() override;

    String FText;
    TOwned<TPanelCaption> FCaption;
    TOwned<TPanelStatusBar> FStatusBar;
    TOwned<TPanelPosition> FPosition;
    bool FCollaps = false;
    bool FIsCollapsing = false;
    int FFullHeight = 0;
    int FIndex = 0;

private:
    friend class TAutoSize;
    void CaptionChanged();
    void CaptionPositionChanged();
    void CaptionFontChanged();
    void BackgroundChanged();
    // The inputs of PanelHTMLDraw that painting uses, in one place.
    bool DrawHTML(TCanvas* ACanvas, const String& Text, const TRect& R, int HoverLink, bool WordWrap,
                  bool CheckHotSpot, bool CheckHeight, int& XSize, int& YSize);
    void PaintBackground(TCanvas* ACanvas, TRect& CR);
    void PaintBody(TCanvas* ACanvas);
    void PaintCaption(TCanvas* ACanvas);
    void PaintStatusBar(TCanvas* ACanvas);
    void PaintSizeGrip(TCanvas* ACanvas);
    void PaintAll(TCanvas* ACanvas);
    // The caption buttons' hit-test size.
    int ButtonSize() const;
    TRect CaptionBand() const;
    // The close button and, after its room is taken, the collapse button.
    void ButtonRects(TRect& Close, TRect& MinMax, TRect& Band, bool ForHover) const;
    String GetAnchorAt(int X, int Y, TRect& AnchorRect);
    void AnchorEnter(const String& Anchor, const TRect& AnchorRect);
    void InvalidateHoverRect(const TRect& R, bool Erase);
    void OpenAnchor(const String& Anchor);
    void SetChildrenVisible(bool Show);
    void CollapseTo(bool Value);
    void ReleaseAfterClose();
    void WMNCHitTest(TMessage& Message);
    void WMSizing(TMessage& Message);
    void WMMoving(TMessage& Message);
    void WMEnterSizeMove(TMessage& Message);
    void WMExitSizeMove(TMessage& Message);
    void EndMoveSize();
    void WMSizeMessage(TMessage& Message);
    void CMHintShowMessage(TMessage& Message);
    void PumpStep();

    TOwned<TAdvImage> FImage;
    TBackGroundPosition FBackgroundPosition = bpTopLeft;
    TCustomImageList* FImages = nullptr;
    TColor FURLColor = clBlue;
    TColor FOldColor = clBtnFace;
    String FAnchor;
    int FHoverHyperLink = -1;
    int FOldHoverHyperLink = -1;
    int FCaptionHoverHyperLink = -1;
    TRect FCurrHoverRect;
    TRect FCaptionCurrHoverRect;
    bool FAnchorHint = false;
    bool FHover = false;
    TColor FHoverColor = clNone;
    TColor FHoverFontColor = clNone;
    int FShadowOffset = 2;
    TColor FShadowColor = 0x808080;
    bool FCanSize = false;
    bool FCanMove = false;
    bool FShowSizeMoveGrip = true;
    TTextVAlignment FTextVAlign = tvaTop;
    bool FFixedHeight = false;
    bool FFixedLeft = false;
    bool FFixedWidth = false;
    bool FFixedTop = false;
    TPoint FTopLeft;
    TPoint FWidthHeight;
    TCursor FOldCursor = crDefault;
    bool FInMove = false;
    TPictureContainer* FContainer = nullptr;
    TOwned<THTMLPictureCache> FImageCache;
    bool FShowMoveCursor = false;
    TOwned<TBitmap> FShadedHeader;
    bool FIsWinXP = false;
    bool FFreeOnClose = false;
    int FCollapsDelay = 20;
    int FCollapsSteps = 0;
    TColor FCollapsColor = 0x808080;
    TOwned<TAutoSize> FAutoSize;
    bool FAutoHideChildren = true;
    bool FCanUpdate = true;
    TColor FColorTo = clNone;
    TColor FBorderColor = 0;
    bool FBuffered = true;
    bool FBorderShadow = false;
    int FIndent = 0;
    int FTopIndent = 0;
    int FLineSpacing = 0;
    bool FEllipsis = false;
    TAdvPanelStyler* FStyler = nullptr;
    int FOldWidth = -1;
    int FOldHeight = -1;
    TGradientDirection FGradientDirection = gdVertical;
    bool FHoverCloseBtn = false;
    bool FHoverMinMaxBtn = false;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    bool FOptimizePaint = false;
    std::vector<TControl*> FHideList;
    int FOldLeft = -1;
    int FImageIndex = 0;
    TOwned<TAdvHintInfo> FOfficeHint;
    int FPrevY = 0;
    bool FDesignTime = false;
    // A close asked to free the panel while its own handlers still run.
    bool FReleasePending = false;
};

class TAdvPanel : public TCustomAdvPanel {
public:
    using TCustomAdvPanel::TCustomAdvPanel;
};

// ---------------------------------------------------------------------------
// A bundle of panel settings that can be copied onto any panel.
class TAdvPanelSettings : public TPersistent {
public:
    TAdvPanelSettings();
    ~TAdvPanelSettings() override;
    // Copies another bundle's fields directly (the caption through its own
    // copy); any other source is ignored.
    void Assign(TPersistent* Source) override;
    // Changes reach OnChange only outside BeginUpdate/EndUpdate; the
    // outermost EndUpdate reports once; an extra EndUpdate is ignored.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

#define TAVELIN_SETTING(Type, Name)                                                                \
    Type Get##Name() const { return F##Name; }                                                     \
    void Set##Name(Type Value)                                                                     \
    {                                                                                              \
        F##Name = Value;                                                                           \
        Changed();                                                                                 \
    }
#define TAVELIN_SETTING_IF_CHANGED(Type, Name)                                                     \
    Type Get##Name() const { return F##Name; }                                                     \
    void Set##Name(Type Value)                                                                     \
    {                                                                                              \
        if (StoreChanged(F##Name, Value))                                                          \
            Changed();                                                                             \
    }
#define TAVELIN_FIELD(Type, Name)                                                                  \
    Type Get##Name() const { return F##Name; }                                                     \
    void Set##Name(Type Value) { F##Name = Value; }
    TAVELIN_SETTING(bool, AnchorHint)
    TAVELIN_SETTING(bool, AutoHideChildren)
    TAVELIN_SETTING(TBevelCut, BevelInner)
    TAVELIN_SETTING(TBevelCut, BevelOuter)
    TAVELIN_SETTING(int, BevelWidth)
    TAVELIN_SETTING(TColor, BorderColor)
    TAVELIN_SETTING(bool, BorderShadow)
    TAVELIN_SETTING(TBorderStyle, BorderStyle)
    TAVELIN_SETTING(int, BorderWidth)
    TAVELIN_SETTING(bool, CanMove)
    TAVELIN_SETTING(bool, CanSize)
    TAVELIN_SETTING(bool, Collaps)
    TAVELIN_SETTING(TColor, CollapsColor)
    TAVELIN_SETTING(int, CollapsDelay)
    TAVELIN_SETTING(int, CollapsSteps)
    TAVELIN_SETTING_IF_CHANGED(TColor, Color)
    TAVELIN_SETTING_IF_CHANGED(TColor, ColorTo)
    TAVELIN_SETTING_IF_CHANGED(TColor, ColorMirror)
    TAVELIN_SETTING_IF_CHANGED(TColor, ColorMirrorTo)
    TAVELIN_SETTING(TCursor, Cursor)
    TAVELIN_FIELD(bool, FixedTop)
    TAVELIN_FIELD(bool, FixedLeft)
    TAVELIN_FIELD(bool, FixedHeight)
    TAVELIN_FIELD(bool, FixedWidth)
    TAVELIN_FIELD(int, Height)
    TAVELIN_FIELD(String, Hint)
    TAVELIN_SETTING(bool, Hover)
    TAVELIN_SETTING(TColor, HoverColor)
    TAVELIN_SETTING(TColor, HoverFontColor)
    TAVELIN_SETTING(int, Indent)
    TAVELIN_FIELD(TPanelPosition*, Position)
    TAVELIN_FIELD(TColor, ShadowColor)
    TAVELIN_FIELD(int, ShadowOffset)
    TAVELIN_FIELD(bool, ShowHint)
    TAVELIN_FIELD(bool, ShowMoveCursor)
    TAVELIN_SETTING(String, Text)
    TAVELIN_SETTING(TTextVAlignment, TextVAlign)
    TAVELIN_SETTING(int, TopIndent)
    TAVELIN_SETTING(TColor, URLColor)
    TAVELIN_FIELD(int, Width)
#undef TAVELIN_SETTING
#undef TAVELIN_SETTING_IF_CHANGED
#undef TAVELIN_FIELD
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value);
    TPanelCaption* GetCaption() const { return FCaption.get(); }
    void SetCaption(TPanelCaption* Value);
    TPanelStatusBar* GetStatusBar() const { return FStatusBar.get(); }
    void SetStatusBar(TPanelStatusBar* Value);

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    bool FFixedHeight = false, FCanMove = false, FFixedWidth = false, FHover = false;
    bool FAutoHideChildren = true, FAnchorHint = false, FFixedLeft = false, FCanSize = false;
    bool FShowHint = false, FFixedTop = false, FCollaps = false, FShowMoveCursor = false;
    int FCollapsDelay = 0, FBevelWidth = 1, FCollapsSteps = 0, FHeight = 120, FShadowOffset = 0;
    String FText, FHint;
    TBevelCut FBevelOuter = bvNone, FBevelInner = bvNone;
    TColor FHoverColor = clNone, FCollapsColor = clBtnFace, FBorderColor = 0, FHoverFontColor = clNone;
    TColor FShadowColor = 0, FColor = clBtnFace, FColorTo = clNone, FColorMirror = clNone;
    TColor FColorMirrorTo = clNone, FURLColor = clBlue;
    TOwned<TFont> FFont;
    TOwned<TPanelCaption> FCaption;
    TPanelPosition* FPosition = nullptr;
    TTextVAlignment FTextVAlign = tvaTop;
    TBorderStyle FBorderStyle = bsSingle;
    TCursor FCursor = crDefault;
    bool FBorderShadow = false;
    int FIndent = 0, FTopIndent = 0;
    int FWidth = 0, FUpdateCount = 0, FBorderWidth = 0;
    TOwned<TPanelStatusBar> FStatusBar;
};

// Scoped: psCustom is also a picture size of the GDI+ fill.
enum class TAdvPanelStyle {
    psXP, psFlat, psPack, psClassic, psOffice2003Blue, psOffice2003Olive, psOffice2003Silver,
    psOffice2003Classic, psOffice2007Luna, psOffice2007Obsidian, psWhidbey, psWindowsXP, psCustom,
    psOffice2007Silver, psWindowsVista, psWindows7, psTerminal, psOffice2010Blue, psOffice2010Silver,
    psOffice2010Black, psWindows8, psOffice2013White, psOffice2013LightGray, psOffice2013Gray,
    psWindows10, psOffice2016White, psOffice2016Gray, psOffice2016Black
};

namespace advpanel {
// A hidden window that reports the desktop's theme changes (WM_THEMECHANGED).
class TThemeNotifierWindow : public TWinControl {
public:
    using TWinControl::TWinControl;
    TNotifyEvent OnThemeChange;

protected:
    void WndProc(TMessage& Message) override;
};
} // namespace advpanel

// Fills a settings bundle from a style preset, the desktop's Office theme or
// a colour-tone set, and pushes it onto every panel of its owner that names
// it as Styler.
class TAdvPanelStyler : public TComponent, public IPackStyleEx, public IPackTones {
public:
    explicit TAdvPanelStyler(TComponent* AOwner);
    ~TAdvPanelStyler() override;

    TAdvPanelSettings* GetSettings() const { return FSettings.get(); }
    void SetSettings(TAdvPanelSettings* Value) { FSettings->Assign(Value); }
    TAdvPanelStyle GetStyle() const { return FStyle; }
    void SetStyle(TAdvPanelStyle Value);
    // Follows the Office theme found on the desktop.
    bool GetAutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    String GetComments() const { return FComments; }
    void SetComments(const String& Value) { FComments = Value; }
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    advpanel::TThemeNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Riid, void** Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;
    void STDMETHODCALLTYPE SetComponentStyleAndAppColor(TPackStyle AStyle, TColor AppColor) override;
    void STDMETHODCALLTYPE SetColorTones(TColorTones ATones) override;

protected:
    void Loaded() override;

private:
    void ApplyPreset(TAdvPanelStyle AStyle, TColor AppColor);
    void ThemeChanged();
    void PushToPanels();

    TOwned<TAdvPanelSettings> FSettings;
    String FComments;
    int FTag = 0;
    advpanel::TThemeNotifierWindow* FNotifierWnd = nullptr;
    TAdvPanelStyle FStyle = TAdvPanelStyle::psXP;
    bool FAutoThemeAdapt = false;
};

// ---------------------------------------------------------------------------
enum TGroupStyle { gsVertical, gsHorizontal };

// Stacks the panels among its children in columns from the top or side by
// side, with its own scroll bar when they do not fit (other controls are
// left to the class library's alignment), and makes, moves and removes
// panels from a template.
class TAdvPanelGroup : public TAdvPanel {
public:
    explicit TAdvPanelGroup(TComponent* AOwner);
    ~TAdvPanelGroup() override;
    void BeforeDestruction() override;

    // Panels per row in the vertical style; values below 1 are ignored.
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    TGroupStyle GetGroupStyle() const { return FGroupStyle; }
    void SetGroupStyle(TGroupStyle Value);
    // Gaps between the panels and to the group's edges.
    int GetHorzPadding() const { return FHorzPadding; }
    void SetHorzPadding(int Value);
    int GetVertPadding() const { return FVertPadding; }
    void SetVertPadding(int Value);
    TAdvPanelSettings* GetDefaultPanel() const { return FDefaultPanel.get(); }
    void SetDefaultPanel(TAdvPanelSettings* Value) { FDefaultPanel->Assign(Value); }
    bool GetScrollSmooth() const { return FScrollSmooth; }
    void SetScrollSmooth(bool Value) { FScrollSmooth = Value; }
    int GetMouseWheelDelta() const { return FMouseWheelDelta; }
    void SetMouseWheelDelta(int Value);
    int PanelCount() const { return static_cast<int>(FPanels.size()); }
    TCustomAdvPanel* Panel(int Index) const { return FPanels[Index]; }
    int GetScrollPosition() const { return FScrollBar->GetPosition(); }
    void SetScrollPosition(int Value);
    TScrollBar* ScrollBar() const { return FScrollBar; }

    // Arranges once, ordered by the panels' Index.
    void ArrangePanels();
    // Arrange, update the scroll bar, then make the class library realign.
    void UpdateGroup();
    void ChildPanelChanged(TCustomAdvPanel* APanel);
    // Arranging waits until the outermost EndUpdate; an extra EndUpdate is ignored.
    void BeginUpdate();
    void EndUpdate();
    void OpenAllPanels();
    void CloseAllPanels();
    // Frees every child panel.
    void Clear();
    // The panel list from the child panels, numbered in child order.
    void InitPanels();
    // A new panel from DefaultPanel at the end of the list.
    TCustomAdvPanel* AddPanel();
    // As AddPanel, then the new panel moves to the front of the list.
    TCustomAdvPanel* AppendPanel();
    // A new panel at Index; an index outside 0 .. PanelCount does nothing
    // and gives null.
    TCustomAdvPanel* InsertPanel(int Index);
    // Out-of-range indexes do nothing.
    void RemovePanel(int Index);
    void MovePanel(int FromIndex, int ToIndex);
    void LoadPanelPositions();
    void SavePanelPositions();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // After every arrangement.
    TNotifyEvent OnArrangedControls;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void AlignControls(TControl* AControl, RECT& Rect) override;
    void Dispatch(TMessage& Message) override;
    bool DoMouseWheelDown(TShiftState Shift, POINT MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, POINT MousePos) override;
    void PanelStateChanged() override;
    virtual void DoArrangedControls();

private:
    void Arrange();
    void ArrangeVertical();
    void ArrangeHorizontal();
    void UpdateScrollBar();
    int ContentExtent() const;
    void ScrollBarScroll(TScrollCode ScrollCode, int& ScrollPos);
    void Renumber(bool Reversed);
    void CollapseAll(bool Collapsed);
    TCustomAdvPanel* NewPanel();
    bool Wheel(int Direction);
    // The group is being freed (its scroll bar may be gone).
    bool Gone() const;
    std::vector<TCustomAdvPanel*> ChildPanels() const;

    int FUpdateCount = 0;
    int FHorzPadding = 8;
    int FVertPadding = 8;
    TGroupStyle FGroupStyle = gsVertical;
    bool FIsArranging = false;
    // No owner: it goes with the group as its child window.
    TScrollBar* FScrollBar = nullptr;
    std::vector<TCustomAdvPanel*> FPanels;
    TOwned<TAdvPanelSettings> FDefaultPanel;
    int FColumns = 1;
    bool FCode = false;
    bool FScrollSmooth = false;
    int FOldWidth = -1;
    int FOldHeight = -1;
    int FMouseWheelDelta = 0;
};
