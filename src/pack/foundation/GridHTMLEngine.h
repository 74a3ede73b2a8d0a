// Inside the mini-HTML engine: the state of one draw call and the line
// renderer, shared by the files that make up the engine. The grid variant
// and the panel variant are this one engine with different options.
#pragma once

#include "GridHTML.h"
#include "HTMLControls.h"

namespace gridhtml {

// The caller's arguments and where the results go.
struct TDrawCall {
    TCanvas* Canvas;
    String Text;
    TRect Rect;
    TCustomImageList* Images;
    int HitX, HitY;
    int FocusLink, HoverLink, ShadowOffset;
    bool CheckHotSpot, CheckHeight, Print, Selected, Blink, HoverStyle, WordWrap, CtrlDown;
    String CtrlDownID;
    double ResFactor;
    TColor URLColor, HoverColor, HoverFontColor, ShadowColor;
    THTMLPictureCache* PictureCache;
    TPictureContainer* PictureContainer;
    HWND OwnerWindow;
    TBiDiMode BiDiMode;

    String& AnchorVal;
    String& StripVal;
    String& FocusAnchor;
    String& AnchorHint;
    int& XSize;
    int& YSize;
    int& HyperLinks;
    int& MouseLink;
    TRect& HoverRect;
    TRect& ControlRect;
    String& ControlID;
    String& ControlValue;
    String& ControlType;

    // The panel variant (PanelHTML.h): no form controls and no named
    // characters; gradients, corner pictures, marker types, hanging offsets,
    // picture wrapping and spacing between lines.
    bool Panel = false;
    int LineSpacing = 0;
};

// Everything tags switch on and off. A line is laid out twice, and both
// passes start from the state in force at the start of the line.
struct TTagState {
    bool Shadow = false;
    bool Sub = false;
    bool Sup = false;
    bool Highlight = false;
    bool ErrorLine = false;
    bool Hidden = false;
    bool ParagraphFill = false;
    bool Rotated = false;
    TColor Background = clNone;     // text background; clNone draws none
    TColor FontBackground = clNone; // restored by </FONT>
    TColor SpanBackground = clNone;
    TColor ParagraphBackground = clNone; // restored by </P>
    TColor HighlightFont = clNone;
    TColor HighlightBackground = clNone;

    bool InAnchor = false;
    bool AnchorHasRef = false;
    String Href;
    String Title;
    int AnchorCount = 0;
    int AnchorNumber = 0; // of the anchor we are in
    TColor AnchorBackground = clNone;
    TColor AnchorFont = clNone;

    int ListLevel = 0;
    bool Ordered = false;
    int ItemNumber = 1;
    int PictureCount = 0;
};

// The metrics of one line that the passes hand to each other.
struct TLineMetrics {
    int Width = 0;
    int Height = 0;
    int SubExtra = 0;
    int SupExtra = 0;
    int Baseline = 0;
};

// One pass of the line renderer.
struct TLinePass {
    bool Measuring = true;
    TRect Line;        // its left edge moves as items are drawn
    int LineLeft = 0;  // where the line starts, for hit tests and anchor rectangles
    int Width = 0;     // usable width
    int Offset = 0;    // the hanging offset in force at the start of the line
    int X = 0;         // position within the line
    bool Ended = false;
    bool Full = false;
    bool HasContent = false;    // text, a picture or a control
    bool HasRun = false;        // a text run was kept
    bool EndsWithBlank = true;  // the line's last run ended with a blank
    int TrailingBlank = 0;
    bool ListItemSeen = false;
    bool AnchorTextHit = false;
    bool ItemHit = false; // a picture or a form control
    String Source;        // the text this pass consumed
};

// The picture an IMG source names, and its own size.
struct TPictureRef {
    enum TKind { pkNone, pkImageList, pkSystemIcon, pkGraphic };
    TKind Kind = pkNone;
    TCustomImageList* Images = nullptr;
    HIMAGELIST SystemList = nullptr;
    int Index = 0;
    TGraphic* Graphic = nullptr;
    int Width = 0;
    int Height = 0;
};

class TEngine {
public:
    explicit TEngine(TDrawCall& Call);
    ~TEngine();
    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;

    bool Run();

private:
    // Line renderer (GridHTMLDraw.cpp).
    void RenderLine(TLinePass& pass, String& text, TLineMetrics& m);
    void TextRun(TLinePass& pass, String& text, TLineMetrics& m);
    void DrawRun(TLinePass& pass, const String& run, const TLineMetrics& m);
    void EndPass(TLinePass& pass, TLineMetrics& m);

    // Tags (GridHTMLTags.cpp). Returns False when the line is full and the
    // tag must wait for the next line.
    bool Tag(TLinePass& pass, const String& tag, TLineMetrics& m);
    bool OpeningTag(TLinePass& pass, const String& tag, const String& upper, TLineMetrics& m);
    void ClosingTag(TLinePass& pass, const String& upper, TLineMetrics& m);
    void Anchor(TLinePass& pass, const String& tag);
    void AnchorEnd(TLinePass& pass, TLineMetrics& m);
    void Font(TLinePass& pass, const String& tag);
    void Paragraph(const TLinePass& pass, const String& tag);
    void Body(const String& tag);
    void PanelBody(const TLinePass& pass, const String& tag);
    void Rule(const TLinePass& pass, const String& tag);
    bool ListItem(TLinePass& pass, const String& tag);
    void DrawMarker(TLinePass& pass, const String& tag, int level);
    void HangingOffset(TLinePass& pass, const String& tag);
    void CloseFocusRect(TLinePass& pass, const TLineMetrics& m);

    // Pictures (GridHTMLPictures.cpp).
    bool Picture(TLinePass& pass, const String& tag, TLineMetrics& m);
    TPictureRef FindPicture(const String& source, bool listsToo);
    void DrawPicture(const TPictureRef& picture, const TRect& rect, bool sized);
    void TileBackground(const String& source);
    void CornerPicture(const TLinePass& pass, const String& source, bool right);

    // Form controls (GridHTMLControls.cpp).
    bool Control(TLinePass& pass, const String& tag, TLineMetrics& m);
    void DrawControl(const TLinePass& pass, const THTMLControlTag& control, int lineHeight);

    // Canvas helpers (GridHTMLDraw.cpp).
    int TextHeight();
    int MeasureText(const String& text, const TRect& rect);
    void DrawText(const String& text, TRect rect, TColor color, TColor background, UINT flags);
    void FillArea(const TRect& rect, TColor color);
    void SetFontColor(TColor color);
    bool Drawing(const TLinePass& pass) const { return !pass.Measuring; }
    bool Panel() const { return call_.Panel; }

    TDrawCall& call_;
    TCanvas* canvas_;
    TOwned<TFont> baseFont_;      // the canvas font at the start of the call
    TOwned<TFont> lineFont_;      // the canvas font at the start of the line
    TOwned<TFont> rotationFont_;  // the font before an R tag
    bool rotated_ = false;
    TColor startBrushColor_ = clNone;
    UINT flags_ = 0;
    bool themed_ = false;

    TTagState state_;
    int alignment_ = 0; // 0 left, 1 right, 2 centre
    int indent_ = 0;
    int hanging_ = 0; // panel: the offset of the lines after an OF tag
    int hoverPicture_ = -1;
    bool pendingHover_ = false;
    int anchorStartX_ = 0;
    int anchorStartTop_ = 0;
    TRect focusRect_;
    bool inFocusAnchor_ = false;
};

// The HI tag's colours, set process-wide by SetHTMLHighlightColors.
TColor HighlightColor();
TColor HighlightTextColor();
// Whether the platform draws visual styles, noted at unit start-up.
bool PlatformThemes();

} // namespace gridhtml
