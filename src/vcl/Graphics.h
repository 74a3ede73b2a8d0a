// Colours, fonts, pens, brushes, the canvas over a device context, and the
// graphic classes (bitmap, icon, picture) of the class library stand-in.
#pragma once

#include "Classes.h"
#include "GdiHandles.h"
#include <mutex>
#include <typeinfo>
#include <vector>

class TStream;
class TCanvas;
class TBitmap;
class TGraphic;

// ---------------------------------------------------------------------------
// Geometry: the platform's records with the class library's helpers.
struct TPoint : POINT {
    constexpr TPoint() : POINT{0, 0} {}
    constexpr TPoint(LONG X, LONG Y) : POINT{X, Y} {}
    constexpr TPoint(const POINT& p) : POINT(p) {}
    bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const TPoint& o) const { return !(*this == o); }
};

struct TSize : SIZE {
    constexpr TSize() : SIZE{0, 0} {}
    constexpr TSize(LONG CX, LONG CY) : SIZE{CX, CY} {}
    constexpr TSize(const SIZE& s) : SIZE(s) {}
    bool operator==(const TSize& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const TSize& o) const { return !(*this == o); }
};

struct TRect : RECT {
    constexpr TRect() : RECT{0, 0, 0, 0} {}
    constexpr TRect(LONG Left, LONG Top, LONG Right, LONG Bottom) : RECT{Left, Top, Right, Bottom} {}
    constexpr TRect(const RECT& r) : RECT(r) {}
    constexpr LONG Width() const { return right - left; }
    constexpr LONG Height() const { return bottom - top; }
    constexpr TPoint TopLeft() const { return {left, top}; }
    constexpr TPoint BottomRight() const { return {right, bottom}; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(const POINT& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const TRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const TRect& o) const { return !(*this == o); }
};

constexpr TPoint Point(LONG X, LONG Y) { return {X, Y}; }
constexpr TRect Rect(LONG Left, LONG Top, LONG Right, LONG Bottom) { return {Left, Top, Right, Bottom}; }
constexpr TRect Bounds(LONG Left, LONG Top, LONG Width, LONG Height)
{
    return {Left, Top, Left + Width, Top + Height};
}

// ---------------------------------------------------------------------------
// Colours: 0x00BBGGRR, or 0xFF0000nn for system colour nn.
using TColor = Integer;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
// No colour: the paint step that would use it is skipped.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = TColor(0xFF000000);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

// The named web colours (the CSS colour keywords).
constexpr TColor clWebAliceBlue = 0xFFF8F0;
constexpr TColor clWebAntiqueWhite = 0xD7EBFA;
constexpr TColor clWebAqua = 0xFFFF00;
constexpr TColor clWebAquamarine = 0xD4FF7F;
constexpr TColor clWebAzure = 0xFFFFF0;
constexpr TColor clWebBeige = 0xDCF5F5;
constexpr TColor clWebBisque = 0xC4E4FF;
constexpr TColor clWebBlack = 0x000000;
constexpr TColor clWebBlanchedAlmond = 0xCDEBFF;
constexpr TColor clWebBlue = 0xFF0000;
constexpr TColor clWebBlueViolet = 0xE22B8A;
constexpr TColor clWebBrown = 0x2A2AA5;
constexpr TColor clWebBurlyWood = 0x87B8DE;
constexpr TColor clWebCadetBlue = 0xA09E5F;
constexpr TColor clWebChartreuse = 0x00FF7F;
constexpr TColor clWebChocolate = 0x1E69D2;
constexpr TColor clWebCoral = 0x507FFF;
constexpr TColor clWebCornflowerBlue = 0xED9564;
constexpr TColor clWebCornsilk = 0xDCF8FF;
constexpr TColor clWebCrimson = 0x3C14DC;
constexpr TColor clWebCyan = 0xFFFF00;
constexpr TColor clWebDarkBlue = 0x8B0000;
constexpr TColor clWebDarkCyan = 0x8B8B00;
constexpr TColor clWebDarkGoldenRod = 0x0B86B8;
constexpr TColor clWebDarkGray = 0xA9A9A9;
constexpr TColor clWebDarkGreen = 0x006400;
constexpr TColor clWebDarkKhaki = 0x6BB7BD;
constexpr TColor clWebDarkMagenta = 0x8B008B;
constexpr TColor clWebDarkOliveGreen = 0x2F6B55;
constexpr TColor clWebDarkOrange = 0x008CFF;
constexpr TColor clWebDarkOrchid = 0xCC3299;
constexpr TColor clWebDarkRed = 0x00008B;
constexpr TColor clWebDarkSalmon = 0x7A96E9;
constexpr TColor clWebDarkSeaGreen = 0x8FBC8F;
constexpr TColor clWebDarkSlateBlue = 0x8B3D48;
constexpr TColor clWebDarkSlateGray = 0x4F4F2F;
constexpr TColor clWebDarkTurquoise = 0xD1CE00;
constexpr TColor clWebDarkViolet = 0xD30094;
constexpr TColor clWebDeepPink = 0x9314FF;
constexpr TColor clWebDeepSkyBlue = 0xFFBF00;
constexpr TColor clWebDimGray = 0x696969;
constexpr TColor clWebDodgerBlue = 0xFF901E;
constexpr TColor clWebFireBrick = 0x2222B2;
constexpr TColor clWebFloralWhite = 0xF0FAFF;
constexpr TColor clWebForestGreen = 0x228B22;
constexpr TColor clWebFuchsia = 0xFF00FF;
constexpr TColor clWebGainsboro = 0xDCDCDC;
constexpr TColor clWebGhostWhite = 0xFFF8F8;
constexpr TColor clWebGold = 0x00D7FF;
constexpr TColor clWebGoldenRod = 0x20A5DA;
constexpr TColor clWebGray = 0x808080;
constexpr TColor clWebGreen = 0x008000;
constexpr TColor clWebGreenYellow = 0x2FFFAD;
constexpr TColor clWebHoneyDew = 0xF0FFF0;
constexpr TColor clWebHotPink = 0xB469FF;
constexpr TColor clWebIndianRed = 0x5C5CCD;
constexpr TColor clWebIndigo = 0x82004B;
constexpr TColor clWebIvory = 0xF0FFFF;
constexpr TColor clWebKhaki = 0x8CE6F0;
constexpr TColor clWebLavender = 0xFAE6E6;
constexpr TColor clWebLavenderBlush = 0xF5F0FF;
constexpr TColor clWebLawnGreen = 0x00FC7C;
constexpr TColor clWebLemonChiffon = 0xCDFAFF;
constexpr TColor clWebLightBlue = 0xE6D8AD;
constexpr TColor clWebLightCoral = 0x8080F0;
constexpr TColor clWebLightCyan = 0xFFFFE0;
constexpr TColor clWebLightGoldenRodYellow = 0xD2FAFA;
constexpr TColor clWebLightGray = 0xD3D3D3;
constexpr TColor clWebLightGreen = 0x90EE90;
constexpr TColor clWebLightPink = 0xC1B6FF;
constexpr TColor clWebLightSalmon = 0x7AA0FF;
constexpr TColor clWebLightSeaGreen = 0xAAB220;
constexpr TColor clWebLightSkyBlue = 0xFACE87;
constexpr TColor clWebLightSlateGray = 0x998877;
constexpr TColor clWebLightSteelBlue = 0xDEC4B0;
constexpr TColor clWebLightYellow = 0xE0FFFF;
constexpr TColor clWebLime = 0x00FF00;
constexpr TColor clWebLimeGreen = 0x32CD32;
constexpr TColor clWebLinen = 0xE6F0FA;
constexpr TColor clWebMagenta = 0xFF00FF;
constexpr TColor clWebMaroon = 0x000080;
constexpr TColor clWebMediumAquamarine = 0xAACD66;
constexpr TColor clWebMediumBlue = 0xCD0000;
constexpr TColor clWebMediumOrchid = 0xD355BA;
constexpr TColor clWebMediumPurple = 0xDB7093;
constexpr TColor clWebMediumSeaGreen = 0x71B33C;
constexpr TColor clWebMediumSlateBlue = 0xEE687B;
constexpr TColor clWebMediumSpringGreen = 0x9AFA00;
constexpr TColor clWebMediumTurquoise = 0xCCD148;
constexpr TColor clWebMediumVioletRed = 0x8515C7;
constexpr TColor clWebMidnightBlue = 0x701919;
constexpr TColor clWebMintCream = 0xFAFFF5;
constexpr TColor clWebMistyRose = 0xE1E4FF;
constexpr TColor clWebMoccasin = 0xB5E4FF;
constexpr TColor clWebNavajoWhite = 0xADDEFF;
constexpr TColor clWebNavy = 0x800000;
constexpr TColor clWebOldLace = 0xE6F5FD;
constexpr TColor clWebOlive = 0x008080;
constexpr TColor clWebOliveDrab = 0x238E6B;
constexpr TColor clWebOrange = 0x00A5FF;
constexpr TColor clWebOrangeRed = 0x0045FF;
constexpr TColor clWebOrchid = 0xD670DA;
constexpr TColor clWebPaleGoldenRod = 0xAAE8EE;
constexpr TColor clWebPaleGreen = 0x98FB98;
constexpr TColor clWebPaleTurquoise = 0xEEEEAF;
constexpr TColor clWebPaleVioletRed = 0x9370DB;
constexpr TColor clWebPapayaWhip = 0xD5EFFF;
constexpr TColor clWebPeachPuff = 0xB9DAFF;
constexpr TColor clWebPeru = 0x3F85CD;
constexpr TColor clWebPink = 0xCBC0FF;
constexpr TColor clWebPlum = 0xDDA0DD;
constexpr TColor clWebPowderBlue = 0xE6E0B0;
constexpr TColor clWebPurple = 0x800080;
constexpr TColor clWebRed = 0x0000FF;
constexpr TColor clWebRosyBrown = 0x8F8FBC;
constexpr TColor clWebRoyalBlue = 0xE16941;
constexpr TColor clWebSaddleBrown = 0x13458B;
constexpr TColor clWebSalmon = 0x7280FA;
constexpr TColor clWebSandyBrown = 0x60A4F4;
constexpr TColor clWebSeaGreen = 0x578B2E;
constexpr TColor clWebSeaShell = 0xEEF5FF;
constexpr TColor clWebSienna = 0x2D52A0;
constexpr TColor clWebSilver = 0xC0C0C0;
constexpr TColor clWebSkyBlue = 0xEBCE87;
constexpr TColor clWebSlateBlue = 0xCD5A6A;
constexpr TColor clWebSlateGray = 0x908070;
constexpr TColor clWebSnow = 0xFAFAFF;
constexpr TColor clWebSpringGreen = 0x7FFF00;
constexpr TColor clWebSteelBlue = 0xB48246;
constexpr TColor clWebTan = 0x8CB4D2;
constexpr TColor clWebTeal = 0x808000;
constexpr TColor clWebThistle = 0xD8BFD8;
constexpr TColor clWebTomato = 0x4763FF;
constexpr TColor clWebTurquoise = 0xD0E040;
constexpr TColor clWebViolet = 0xEE82EE;
constexpr TColor clWebWheat = 0xB3DEF5;
constexpr TColor clWebWhite = 0xFFFFFF;
constexpr TColor clWebWhiteSmoke = 0xF5F5F5;
constexpr TColor clWebYellow = 0x00FFFF;
constexpr TColor clWebYellowGreen = 0x32CD9A;

// The RGB value of a colour: system colours are looked up, others pass unchanged.
COLORREF ColorToRGB(TColor Color);
// "clRed", "clBtnFace" ... for named colours, else "$00BBGGRR".
String ColorToString(TColor Color);
// The inverse: a colour name or an integer ("$FF", "255"); EConvertError otherwise.
TColor StringToColor(const String& S);
bool ColorToIdent(TColor Color, String& Ident);
bool IdentToColor(const String& Ident, TColor& Color);
// "clWebSnow" ... for a named web colour, else "#RRGGBB" in upper case.
String ColorToWebColorName(TColor Color);
// The web colour of an identifier ("clWebSnow" or "Snow", any case); false when unknown.
bool WebColorNameToColor(const String& Name, TColor& Color);

// ---------------------------------------------------------------------------
// Screen resolution. Sizes are designed at 96 pixels per inch and scaled.
int ScreenPixelsPerInch();
// Lets tests try another resolution; 0 goes back to the screen's own.
void SetScreenPixelsPerInch(int ppi);
// Value designed at 96 pixels per inch, scaled to the screen.
int ScaleToScreen(int value);

// ---------------------------------------------------------------------------
// Fonts, pens and brushes: descriptions that create their handle on demand
// and report every change through OnChange.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle, 4>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality {
    fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural
};
using TFontCharset = Byte;
using TFontName = String;

class TFont : public TGraphicsObject {
public:
    TFont();
    void Assign(TPersistent* Source) override;

    // The font's handle; created when first asked for, kept until the font changes.
    HFONT GetHandle();
    // Takes over the description of Value (the caller keeps Value).
    void SetHandle(HFONT Value);
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    const TFontName& GetName() const { return name_; }
    void SetName(const TFontName& Value);
    // Points; negative for a character height, positive for a cell height.
    int GetSize() const;
    void SetSize(int Value);
    // Pixels; negative for a character height (the usual case).
    int GetHeight() const { return height_; }
    void SetHeight(int Value);
    TFontStyles GetStyle() const { return style_; }
    void SetStyle(TFontStyles Value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    TFontCharset GetCharset() const { return charset_; }
    void SetCharset(TFontCharset Value);
    // Tenths of a degree, counter-clockwise.
    int GetOrientation() const { return orientation_; }
    void SetOrientation(int Value);
    TFontPitch GetPitch() const { return pitch_; }
    void SetPitch(TFontPitch Value);
    TFontQuality GetQuality() const { return quality_; }
    void SetQuality(TFontQuality Value);
    // The resolution Size converts at; it does not change Height.
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int Value);

    // The LOGFONT the handle is made from.
    LOGFONTW GetLogFont() const;

protected:
    void Changed() override;

private:
    TFontName name_;
    int height_ = 0;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    int orientation_ = 0;
    TFontPitch pitch_ = fpDefault;
    TFontQuality quality_ = fqDefault;
    int pixelsPerInch_ = 96;
    TFontHandle handle_;
    bool stale_ = false;
};

enum TPenStyle {
    psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate
};
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    void Assign(TPersistent* Source) override;

    HPEN GetHandle();
    void SetHandle(HPEN Value);
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    int GetWidth() const { return width_; }
    void SetWidth(int Value);
    TPenStyle GetStyle() const { return style_; }
    void SetStyle(TPenStyle Value);
    // The raster operation the canvas draws lines with (SetROP2).
    TPenMode GetMode() const { return mode_; }
    void SetMode(TPenMode Value);

protected:
    void Changed() override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    TPenHandle handle_;
    bool stale_ = false;
};

enum TBrushStyle {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

class TBrush : public TGraphicsObject {
public:
    void Assign(TPersistent* Source) override;

    HBRUSH GetHandle();
    void SetHandle(HBRUSH Value);
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    TBrushStyle GetStyle() const { return style_; }
    void SetStyle(TBrushStyle Value);

protected:
    void Changed() override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBrushHandle handle_;
    bool stale_ = false;
};

// ---------------------------------------------------------------------------
// TCanvas: drawing on a device context with the canvas's pen, brush and font.
enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = Set<TCanvasStates, 4>;
enum TFillStyle { fsSurface, fsBorder };
using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The DC drawn on. Reading it may create it (CreateHandle); setting it
    // lends the canvas another DC, which the canvas never frees.
    HDC GetHandle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return handle_ != nullptr; }

    // Serialises drawing from several threads; Lock may nest.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return lockCount_; }

    // Shapes, drawn with the pen and filled with the brush.
    void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& Rect) { Ellipse(Rect.left, Rect.top, Rect.right, Rect.bottom); }
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& Rect) { Rectangle(Rect.left, Rect.top, Rect.right, Rect.bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Polygon(const TPoint* Points, int Count);
    void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), static_cast<int>(Points.size())); }
    void Polyline(const TPoint* Points, int Count);
    void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), static_cast<int>(Points.size())); }
    void PolyBezier(const std::vector<TPoint>& Points);
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    TPoint GetPenPos();
    void SetPenPos(const TPoint& Value) { MoveTo(Value.x, Value.y); }

    // Brush-only fills and frames.
    void FillRect(const TRect& Rect);
    void FrameRect(const TRect& Rect);
    void DrawFocusRect(const TRect& Rect);
    void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

    TColor GetPixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);

    // Text in the canvas's font; the brush paints the background unless bsClear.
    void TextOut(int X, int Y, const String& Text);
    void TextRect(const TRect& Rect, int X, int Y, const String& Text);
    TSize TextExtent(const String& Text);
    int TextWidth(const String& Text) { return TextExtent(Text).cx; }
    int TextHeight(const String& Text) { return TextExtent(Text).cy; }
    // ETO_ flags that TextOut and TextRect add.
    int GetTextFlags() const { return textFlags_; }
    void SetTextFlags(int Value) { textFlags_ = Value; }

    // Pictures and blits.
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    // Copies Source of Canvas into Dest with CopyMode, stretching as needed.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    // Copies Source of Bitmap into Dest, painting pixels of Color with the brush.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
    TCopyMode GetCopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode Value) { copyMode_ = Value; }

    TRect GetClipRect();
    // Drops the canvas's objects from the DC; they are selected again on next use.
    void Refresh();

    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TPen* GetPen() const { return pen_.get(); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }
    TBrush* GetBrush() const { return brush_.get(); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }

    // OnChanging and OnChange around drawing; graphics drawing on the canvas call them too.
    virtual void Changing();
    virtual void Changed();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called when a DC is needed and none is set (a control's canvas gets one here).
    virtual void CreateHandle() {}
    // Makes sure the DC exists and the named objects are selected into it.
    void RequiredState(TCanvasState ReqState);
    TCanvasState State() const { return state_; }

private:
    void DeselectHandles();
    void SelectFont();
    void SelectPen();
    void SelectBrush();

    HDC handle_ = nullptr;
    TCanvasState state_;
    TOwned<TFont> font_;
    TOwned<TPen> pen_;
    TOwned<TBrush> brush_;
    TCopyMode copyMode_ = cmSrcCopy;
    int textFlags_ = 0;
    std::recursive_mutex lock_;
    int lockCount_ = 0;
};

// ---------------------------------------------------------------------------
// TGraphic: the base of pictures that a canvas can draw (bitmaps, icons,
// PNG and JPEG images ...).
enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = std::function<void(TObject* Sender, TProgressStage Stage, Byte PercentDone,
                                          bool RedrawNow, const TRect& R, const String& Msg)>;

class TGraphic : public TPersistent {
public:
    virtual bool GetEmpty() const = 0;
    virtual int GetWidth() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual int GetHeight() const = 0;
    virtual void SetHeight(int Value) = 0;
    virtual void SetSize(int AWidth, int AHeight);
    // Whether the background shows through (how depends on the class).
    virtual bool GetTransparent() const { return transparent_; }
    virtual void SetTransparent(bool Value);
    bool GetModified() const { return modified_; }
    void SetModified(bool Value);

    // The picture in its file format, from the stream's position on.
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    // Clipboard exchange; classes without a clipboard format raise EInvalidGraphic.
    virtual void LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette);
    virtual void SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette);
    // Same class and the same saved bytes.
    virtual bool Equals(TGraphic* Graphic);

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    friend class TCanvas;
    friend class TPicture;
    // Draws the picture into Rect of ACanvas (stretched to it).
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    // Marks the graphic modified and fires OnChange.
    virtual void Changed(TObject* Sender);
    void Progress(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow,
                  const TRect& R, const String& Msg);
    // The "Data" of a form resource; by default the file format itself.
    virtual void ReadData(TStream* Stream);
    virtual void WriteData(TStream* Stream);
    // Any graphic can become a bitmap by being drawn on one.
    void AssignTo(TPersistent* Dest) override;

private:
    bool transparent_ = false;
    bool modified_ = false;
};

// A graphic class as a value: its name and how to make an instance, the
// way the class library passes metaclasses to the picture registry.
struct TGraphicClassInfo {
    String ClassName;
    TGraphic* (*Create)();
};
using TGraphicClass = const TGraphicClassInfo*;

namespace graphics_detail {
TGraphicClass RecordGraphicClass(const std::type_info& type, TGraphicClass cls);
TGraphicClass FindGraphicClass(const String& className);
}

// The class value of T; every class that a picture holds is known by it.
template <class T>
TGraphicClass GraphicClass()
{
    static_assert(std::is_base_of_v<TGraphic, T>);
    static const TGraphicClassInfo info{TOwned<T>(New<T>())->ClassName(),
                                        []() -> TGraphic* { return New<T>(); }};
    static const TGraphicClass cls = graphics_detail::RecordGraphicClass(typeid(T), &info);
    return cls;
}
// The class of an existing graphic, or null when its class was never named
// through GraphicClass<T>().
TGraphicClass GraphicClassOf(const TGraphic* Graphic);

// ---------------------------------------------------------------------------
// TBitmap: a DIB section (or a device bitmap for pfDevice) with a canvas.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };
// How the fourth byte of a 32-bit pixel is drawn.
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int AWidth, int AHeight);
    ~TBitmap() override;
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override { return !handle_; }
    int GetWidth() const override { return width_; }
    void SetWidth(int Value) override { SetSize(Value, height_); }
    int GetHeight() const override { return height_; }
    void SetHeight(int Value) override { SetSize(width_, Value); }
    // Keeps the picture in the overlap; new area is painted with the canvas's brush.
    void SetSize(int AWidth, int AHeight) override;

    TCanvas* GetCanvas();
    // Lets the canvas's DC go first, so that the handle can be selected elsewhere.
    HBITMAP GetHandle();
    // Takes ownership of Value (a DIB section or a device bitmap).
    void SetHandle(HBITMAP Value);
    // Gives the handle to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }
    TBitmapHandleType GetHandleType() const { return pixelFormat_ == pfDevice ? bmDDB : bmDIB; }
    void SetHandleType(TBitmapHandleType Value);
    // A monochrome mask of the transparent colour (1 where it is), owned by the bitmap.
    HBITMAP GetMaskHandle();

    TPixelFormat GetPixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat Value);
    bool GetMonochrome() const { return pixelFormat_ == pf1bit; }
    void SetMonochrome(bool Value);
    // The first byte of row Row (0 is the top). A device bitmap becomes a DIB first.
    void* GetScanLine(int Row);
    TAlphaFormat GetAlphaFormat() const { return alphaFormat_; }
    void SetAlphaFormat(TAlphaFormat Value);

    // tmAuto: the bottom-left pixel (flagged with 0x02000000); tmFixed: the set colour.
    TColor GetTransparentColor();
    // clDefault goes back to tmAuto; any other colour fixes it.
    void SetTransparentColor(TColor Value);
    TTransparentMode GetTransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode Value);

    // BMP files (BITMAPCOREHEADER to BITMAPV5HEADER, RLE, bit fields).
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    // RT_BITMAP resources; EResNotFound when missing.
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // CF_BITMAP and CF_DIB in; CF_DIB out.
    void LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette) override;
    void SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette) override;

    // Turns the picture into its monochrome mask: TransparentColor white, the rest black.
    void Mask(TColor TransparentColor);
    // Frees the canvas's DC until the canvas is needed again.
    void Dormant();

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void Changed(TObject* Sender) override;
    // A 32-bit size, then the BMP file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

private:
    class TBitmapCanvas;
    friend class TBitmapCanvas;
    // Replaces the image; the canvas lets go of the old one first.
    void ReplaceHandle(HBITMAP handle, int width, int height, TPixelFormat format, void* bits);
    // A new image of the given size and format with the overlap of the old one.
    void Convert(int width, int height, TPixelFormat format);
    void FreeContext();
    // A monochrome device bitmap with 1 where the picture has the key colour.
    HBITMAP MakeMask(TColor key);
    void LoadDIB(const Byte* dib, size_t size, size_t bitsOffset);
    void ReadBitmapStream(TStream* Stream, Int64 size);
    // BITMAPINFOHEADER, colour table or masks, and the rows, bottom-up.
    std::vector<Byte> PackedDIB();
    int BytesPerRow() const;

    TBitmapHandle handle_;
    TBitmapHandle mask_;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TPixelFormat pixelFormat_ = pfDevice;
    TAlphaFormat alphaFormat_ = afIgnored;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    TOwned<TBitmapCanvas> canvas_;
};

// ---------------------------------------------------------------------------
// TIcon: an icon handle, with the .ico file it came from.
class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override { return !handle_ && data_.empty(); }
    int GetWidth() const override;
    // Before loading: the size to choose from a file with several; after, an error.
    void SetWidth(int Value) override;
    int GetHeight() const override;
    void SetHeight(int Value) override;
    bool GetTransparent() const override { return true; }
    void SetTransparent(bool) override {}

    HICON GetHandle();
    // Takes ownership of Value.
    void SetHandle(HICON Value);
    HICON ReleaseHandle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }

    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    void LoadFromResourceID(HINSTANCE Instance, int ResID);

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    void Load(LPCWSTR name, HINSTANCE instance, const String& displayName);
    void RequestSize(int& field, int value);

    TIconHandle handle_;
    std::vector<Byte> data_; // the .ico file as loaded, saved unchanged
    int width_ = 0;
    int height_ = 0;
    int requestedWidth_ = 0;
    int requestedHeight_ = 0;
};

// ---------------------------------------------------------------------------
// TPicture: holds one graphic of any registered class.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    void Assign(TPersistent* Source) override;

    TGraphic* GetGraphic() const { return graphic_.get(); }
    // Keeps a copy of Value (null empties the picture).
    void SetGraphic(TGraphic* Value);
    // The graphic as a bitmap or icon; another graphic is replaced by an empty one.
    TBitmap* GetBitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
    TIcon* GetIcon();
    void SetIcon(TIcon* Value) { SetGraphic(Value); }
    int GetWidth() const { return graphic_ ? graphic_->GetWidth() : 0; }
    int GetHeight() const { return graphic_ ? graphic_->GetHeight() : 0; }

    // The class registered for the file's extension reads it.
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);
    // The format is recognised by the stream's first bytes.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);
    void LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette);
    void SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette);

    static bool SupportsClipboardFormat(Word AFormat);
    // The last class registered for an extension is the one used for it.
    static void RegisterFileFormat(const String& AExtension, const String& ADescription,
                                   TGraphicClass AGraphicClass);
    static void RegisterClipboardFormat(Word AFormat, TGraphicClass AGraphicClass);
    static void UnregisterGraphicClass(TGraphicClass AClass);
    // The class for an extension ("png" or ".png"), or null.
    static TGraphicClass FileFormatClass(const String& AExtension);

    // Form streaming: the graphic's class name, then its data.
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream);

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    void AssignTo(TPersistent* Dest) override;
    virtual void Changed(TObject* Sender);

private:
    void TakeGraphic(TGraphic* graphic);
    // Hands a graphic's progress on to the picture's OnProgress.
    TProgressEvent ForwardProgress();

    TOwned<TGraphic> graphic_;
};

// Open and save dialog filters for the registered formats of a class (all for TGraphic).
String GraphicFilter(TGraphicClass GraphicClass);
String GraphicExtension(TGraphicClass GraphicClass);
String GraphicFileMask(TGraphicClass GraphicClass);

// Registers the bitmap and icon formats with the picture registry.
void Graphics_Initialize();
void Graphics_Finalize();
