// Colours, screen resolution, fonts, pens, brushes and the graphic base.
#include "Graphics.h"
#include <cstring>
#include <cwchar>
#include <iterator>
#include <unordered_map>
#include <typeindex>

namespace {

struct TColorName {
    TColor Color;
    const wchar_t* Name;
};

// The first entry of a colour wins when colours share a value (clGray, clDkGray).
constexpr TColorName ColorNames[] = {
    {clBlack, L"clBlack"}, {clMaroon, L"clMaroon"}, {clGreen, L"clGreen"},
    {clOlive, L"clOlive"}, {clNavy, L"clNavy"}, {clPurple, L"clPurple"},
    {clTeal, L"clTeal"}, {clGray, L"clGray"}, {clSilver, L"clSilver"},
    {clRed, L"clRed"}, {clLime, L"clLime"}, {clYellow, L"clYellow"},
    {clBlue, L"clBlue"}, {clFuchsia, L"clFuchsia"}, {clAqua, L"clAqua"},
    {clWhite, L"clWhite"}, {clMoneyGreen, L"clMoneyGreen"}, {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"}, {clMedGray, L"clMedGray"}, {clLtGray, L"clLtGray"},
    {clDkGray, L"clDkGray"},
    {clActiveBorder, L"clActiveBorder"}, {clActiveCaption, L"clActiveCaption"},
    {clAppWorkSpace, L"clAppWorkSpace"}, {clBackground, L"clBackground"},
    {clBtnFace, L"clBtnFace"}, {clBtnHighlight, L"clBtnHighlight"},
    {clBtnShadow, L"clBtnShadow"}, {clBtnText, L"clBtnText"},
    {clCaptionText, L"clCaptionText"}, {clDefault, L"clDefault"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clGrayText, L"clGrayText"}, {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"}, {clHotLight, L"clHotLight"},
    {clInactiveBorder, L"clInactiveBorder"}, {clInactiveCaption, L"clInactiveCaption"},
    {clInactiveCaptionText, L"clInactiveCaptionText"}, {clInfoBk, L"clInfoBk"},
    {clInfoText, L"clInfoText"}, {clMenu, L"clMenu"}, {clMenuBar, L"clMenuBar"},
    {clMenuHighlight, L"clMenuHighlight"}, {clMenuText, L"clMenuText"},
    {clNone, L"clNone"}, {clScrollBar, L"clScrollBar"}, {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"}, {clWindow, L"clWindow"}, {clWindowFrame, L"clWindowFrame"},
    {clWindowText, L"clWindowText"},
};

// In alphabetical order, so that of two names for one colour (Aqua and
// Cyan, Fuchsia and Magenta) the first is written.
constexpr TColorName WebColorNames[] = {
    {clWebAliceBlue, L"clWebAliceBlue"},
    {clWebAntiqueWhite, L"clWebAntiqueWhite"},
    {clWebAqua, L"clWebAqua"},
    {clWebAquamarine, L"clWebAquamarine"},
    {clWebAzure, L"clWebAzure"},
    {clWebBeige, L"clWebBeige"},
    {clWebBisque, L"clWebBisque"},
    {clWebBlack, L"clWebBlack"},
    {clWebBlanchedAlmond, L"clWebBlanchedAlmond"},
    {clWebBlue, L"clWebBlue"},
    {clWebBlueViolet, L"clWebBlueViolet"},
    {clWebBrown, L"clWebBrown"},
    {clWebBurlyWood, L"clWebBurlyWood"},
    {clWebCadetBlue, L"clWebCadetBlue"},
    {clWebChartreuse, L"clWebChartreuse"},
    {clWebChocolate, L"clWebChocolate"},
    {clWebCoral, L"clWebCoral"},
    {clWebCornflowerBlue, L"clWebCornflowerBlue"},
    {clWebCornsilk, L"clWebCornsilk"},
    {clWebCrimson, L"clWebCrimson"},
    {clWebCyan, L"clWebCyan"},
    {clWebDarkBlue, L"clWebDarkBlue"},
    {clWebDarkCyan, L"clWebDarkCyan"},
    {clWebDarkGoldenRod, L"clWebDarkGoldenRod"},
    {clWebDarkGray, L"clWebDarkGray"},
    {clWebDarkGreen, L"clWebDarkGreen"},
    {clWebDarkKhaki, L"clWebDarkKhaki"},
    {clWebDarkMagenta, L"clWebDarkMagenta"},
    {clWebDarkOliveGreen, L"clWebDarkOliveGreen"},
    {clWebDarkOrange, L"clWebDarkOrange"},
    {clWebDarkOrchid, L"clWebDarkOrchid"},
    {clWebDarkRed, L"clWebDarkRed"},
    {clWebDarkSalmon, L"clWebDarkSalmon"},
    {clWebDarkSeaGreen, L"clWebDarkSeaGreen"},
    {clWebDarkSlateBlue, L"clWebDarkSlateBlue"},
    {clWebDarkSlateGray, L"clWebDarkSlateGray"},
    {clWebDarkTurquoise, L"clWebDarkTurquoise"},
    {clWebDarkViolet, L"clWebDarkViolet"},
    {clWebDeepPink, L"clWebDeepPink"},
    {clWebDeepSkyBlue, L"clWebDeepSkyBlue"},
    {clWebDimGray, L"clWebDimGray"},
    {clWebDodgerBlue, L"clWebDodgerBlue"},
    {clWebFireBrick, L"clWebFireBrick"},
    {clWebFloralWhite, L"clWebFloralWhite"},
    {clWebForestGreen, L"clWebForestGreen"},
    {clWebFuchsia, L"clWebFuchsia"},
    {clWebGainsboro, L"clWebGainsboro"},
    {clWebGhostWhite, L"clWebGhostWhite"},
    {clWebGold, L"clWebGold"},
    {clWebGoldenRod, L"clWebGoldenRod"},
    {clWebGray, L"clWebGray"},
    {clWebGreen, L"clWebGreen"},
    {clWebGreenYellow, L"clWebGreenYellow"},
    {clWebHoneyDew, L"clWebHoneyDew"},
    {clWebHotPink, L"clWebHotPink"},
    {clWebIndianRed, L"clWebIndianRed"},
    {clWebIndigo, L"clWebIndigo"},
    {clWebIvory, L"clWebIvory"},
    {clWebKhaki, L"clWebKhaki"},
    {clWebLavender, L"clWebLavender"},
    {clWebLavenderBlush, L"clWebLavenderBlush"},
    {clWebLawnGreen, L"clWebLawnGreen"},
    {clWebLemonChiffon, L"clWebLemonChiffon"},
    {clWebLightBlue, L"clWebLightBlue"},
    {clWebLightCoral, L"clWebLightCoral"},
    {clWebLightCyan, L"clWebLightCyan"},
    {clWebLightGoldenRodYellow, L"clWebLightGoldenRodYellow"},
    {clWebLightGray, L"clWebLightGray"},
    {clWebLightGreen, L"clWebLightGreen"},
    {clWebLightPink, L"clWebLightPink"},
    {clWebLightSalmon, L"clWebLightSalmon"},
    {clWebLightSeaGreen, L"clWebLightSeaGreen"},
    {clWebLightSkyBlue, L"clWebLightSkyBlue"},
    {clWebLightSlateGray, L"clWebLightSlateGray"},
    {clWebLightSteelBlue, L"clWebLightSteelBlue"},
    {clWebLightYellow, L"clWebLightYellow"},
    {clWebLime, L"clWebLime"},
    {clWebLimeGreen, L"clWebLimeGreen"},
    {clWebLinen, L"clWebLinen"},
    {clWebMagenta, L"clWebMagenta"},
    {clWebMaroon, L"clWebMaroon"},
    {clWebMediumAquamarine, L"clWebMediumAquamarine"},
    {clWebMediumBlue, L"clWebMediumBlue"},
    {clWebMediumOrchid, L"clWebMediumOrchid"},
    {clWebMediumPurple, L"clWebMediumPurple"},
    {clWebMediumSeaGreen, L"clWebMediumSeaGreen"},
    {clWebMediumSlateBlue, L"clWebMediumSlateBlue"},
    {clWebMediumSpringGreen, L"clWebMediumSpringGreen"},
    {clWebMediumTurquoise, L"clWebMediumTurquoise"},
    {clWebMediumVioletRed, L"clWebMediumVioletRed"},
    {clWebMidnightBlue, L"clWebMidnightBlue"},
    {clWebMintCream, L"clWebMintCream"},
    {clWebMistyRose, L"clWebMistyRose"},
    {clWebMoccasin, L"clWebMoccasin"},
    {clWebNavajoWhite, L"clWebNavajoWhite"},
    {clWebNavy, L"clWebNavy"},
    {clWebOldLace, L"clWebOldLace"},
    {clWebOlive, L"clWebOlive"},
    {clWebOliveDrab, L"clWebOliveDrab"},
    {clWebOrange, L"clWebOrange"},
    {clWebOrangeRed, L"clWebOrangeRed"},
    {clWebOrchid, L"clWebOrchid"},
    {clWebPaleGoldenRod, L"clWebPaleGoldenRod"},
    {clWebPaleGreen, L"clWebPaleGreen"},
    {clWebPaleTurquoise, L"clWebPaleTurquoise"},
    {clWebPaleVioletRed, L"clWebPaleVioletRed"},
    {clWebPapayaWhip, L"clWebPapayaWhip"},
    {clWebPeachPuff, L"clWebPeachPuff"},
    {clWebPeru, L"clWebPeru"},
    {clWebPink, L"clWebPink"},
    {clWebPlum, L"clWebPlum"},
    {clWebPowderBlue, L"clWebPowderBlue"},
    {clWebPurple, L"clWebPurple"},
    {clWebRed, L"clWebRed"},
    {clWebRosyBrown, L"clWebRosyBrown"},
    {clWebRoyalBlue, L"clWebRoyalBlue"},
    {clWebSaddleBrown, L"clWebSaddleBrown"},
    {clWebSalmon, L"clWebSalmon"},
    {clWebSandyBrown, L"clWebSandyBrown"},
    {clWebSeaGreen, L"clWebSeaGreen"},
    {clWebSeaShell, L"clWebSeaShell"},
    {clWebSienna, L"clWebSienna"},
    {clWebSilver, L"clWebSilver"},
    {clWebSkyBlue, L"clWebSkyBlue"},
    {clWebSlateBlue, L"clWebSlateBlue"},
    {clWebSlateGray, L"clWebSlateGray"},
    {clWebSnow, L"clWebSnow"},
    {clWebSpringGreen, L"clWebSpringGreen"},
    {clWebSteelBlue, L"clWebSteelBlue"},
    {clWebTan, L"clWebTan"},
    {clWebTeal, L"clWebTeal"},
    {clWebThistle, L"clWebThistle"},
    {clWebTomato, L"clWebTomato"},
    {clWebTurquoise, L"clWebTurquoise"},
    {clWebViolet, L"clWebViolet"},
    {clWebWheat, L"clWebWheat"},
    {clWebWhite, L"clWebWhite"},
    {clWebWhiteSmoke, L"clWebWhiteSmoke"},
    {clWebYellow, L"clWebYellow"},
    {clWebYellowGreen, L"clWebYellowGreen"},
};

// The platform's codes of the font and pen settings, by the settings' order.
constexpr BYTE FontQualities[] = {DEFAULT_QUALITY, DRAFT_QUALITY, PROOF_QUALITY, NONANTIALIASED_QUALITY,
                                  ANTIALIASED_QUALITY, CLEARTYPE_QUALITY, CLEARTYPE_NATURAL_QUALITY};
constexpr BYTE FontPitches[] = {DEFAULT_PITCH, VARIABLE_PITCH, FIXED_PITCH};
// psUserStyle has no pattern of its own here and draws solid.
constexpr UINT PenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT,
                              PS_NULL, PS_INSIDEFRAME, PS_SOLID, PS_ALTERNATE};

// The setting whose code is Code (the first one), or Fallback.
template <class E, class C, size_t N>
E SettingOf(const C (&codes)[N], unsigned code, E fallback)
{
    for (size_t i = 0; i < N; ++i)
        if (codes[i] == code)
            return static_cast<E>(i);
    return fallback;
}

int screenPpiOverride = 0;

} // namespace

COLORREF ColorToRGB(TColor Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return static_cast<COLORREF>(Color);
}

bool ColorToIdent(TColor Color, String& Ident)
{
    for (const auto& entry : ColorNames)
        if (entry.Color == Color) {
            Ident = entry.Name;
            return true;
        }
    return false;
}

bool IdentToColor(const String& Ident, TColor& Color)
{
    for (const auto& entry : ColorNames)
        if (SameText(Ident, entry.Name)) {
            Color = entry.Color;
            return true;
        }
    return false;
}

String ColorToString(TColor Color)
{
    String name;
    if (ColorToIdent(Color, name))
        return name;
    wchar_t buf[16];
    std::swprintf(buf, std::size(buf), L"$%.8X", static_cast<unsigned>(Color));
    return buf;
}

TColor StringToColor(const String& S)
{
    TColor color = 0;
    if (IdentToColor(S, color))
        return color;
    return StrToInt(S);
}

String ColorToWebColorName(TColor Color)
{
    for (const auto& entry : WebColorNames)
        if (entry.Color == Color)
            return entry.Name;
    COLORREF rgb = ColorToRGB(Color);
    wchar_t buf[8];
    std::swprintf(buf, std::size(buf), L"#%.2X%.2X%.2X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    return buf;
}

bool WebColorNameToColor(const String& Name, TColor& Color)
{
    for (const auto& entry : WebColorNames)
        if (SameText(Name, entry.Name) || SameText(Name, entry.Name + 5)) {
            Color = entry.Color;
            return true;
        }
    return false;
}

int ScreenPixelsPerInch()
{
    if (screenPpiOverride > 0)
        return screenPpiOverride;
    static const int screenPpi = [] {
        TWindowDC screen;
        int ppi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return ppi > 0 ? ppi : 96;
    }();
    return screenPpi;
}

void SetScreenPixelsPerInch(int ppi) { screenPpiOverride = ppi > 0 ? ppi : 0; }

int ScaleToScreen(int value) { return MulDiv(value, ScreenPixelsPerInch(), 96); }

// ---------------------------------------------------------------------------
void TGraphicsObject::Changed()
{
    FireEvent(OnChange, this);
}

// ---------------------------------------------------------------------------
TFont::TFont()
    : name_(L"Tahoma"), pixelsPerInch_(ScreenPixelsPerInch())
{
    height_ = -MulDiv(8, pixelsPerInch_, 72);
}

void TFont::Changed()
{
    // The old handle may still be selected into a canvas's DC; the canvas
    // lets go of it in OnChange and the next GetHandle replaces it.
    stale_ = true;
    TGraphicsObject::Changed();
}

HFONT TFont::GetHandle()
{
    if (!handle_ || stale_) {
        LOGFONTW lf = GetLogFont();
        handle_.Reset(CreateFontIndirectW(&lf));
        stale_ = false;
    }
    return handle_.Get();
}

LOGFONTW TFont::GetLogFont() const
{
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfEscapement = orientation_;
    lf.lfOrientation = orientation_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = FontQualities[quality_];
    lf.lfPitchAndFamily = FontPitches[pitch_];
    // LOGFONT names hold 31 characters and the terminator.
    name_.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return lf;
}

void TFont::SetHandle(HFONT Value)
{
    LOGFONTW lf{};
    if (!Value || GetObjectW(Value, sizeof(lf), &lf) != sizeof(lf))
        throw EInvalidGraphic(L"Invalid font handle");
    name_ = lf.lfFaceName;
    height_ = lf.lfHeight;
    orientation_ = lf.lfEscapement;
    charset_ = lf.lfCharSet;
    style_.Clear();
    if (lf.lfWeight >= FW_BOLD)
        style_.Include(fsBold);
    if (lf.lfItalic)
        style_.Include(fsItalic);
    if (lf.lfUnderline)
        style_.Include(fsUnderline);
    if (lf.lfStrikeOut)
        style_.Include(fsStrikeOut);
    pitch_ = SettingOf(FontPitches, lf.lfPitchAndFamily & 3u, fpDefault);
    quality_ = SettingOf(FontQualities, lf.lfQuality, fqDefault);
    Changed();
}

void TFont::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TFont*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (src == this)
        return;
    name_ = src->name_;
    style_ = src->style_;
    color_ = src->color_;
    charset_ = src->charset_;
    orientation_ = src->orientation_;
    pitch_ = src->pitch_;
    quality_ = src->quality_;
    // The same point size at this font's resolution.
    height_ = pixelsPerInch_ == src->pixelsPerInch_
                  ? src->height_
                  : -MulDiv(src->GetSize(), pixelsPerInch_, 72);
    Changed();
}

void TFont::SetName(const TFontName& Value)
{
    if (!Value.empty() && StoreChanged(name_, Value))
        Changed();
}

int TFont::GetSize() const { return -MulDiv(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, pixelsPerInch_, 72)); }

void TFont::SetHeight(int Value)
{
    if (StoreChanged(height_, Value))
        Changed();
}

void TFont::SetStyle(TFontStyles Value)
{
    if (StoreChanged(style_, Value))
        Changed();
}

void TFont::SetColor(TColor Value)
{
    // The colour is not part of the handle; the canvas applies it.
    if (StoreChanged(color_, Value))
        TGraphicsObject::Changed();
}

void TFont::SetCharset(TFontCharset Value)
{
    if (StoreChanged(charset_, Value))
        Changed();
}

void TFont::SetOrientation(int Value)
{
    if (StoreChanged(orientation_, Value))
        Changed();
}

void TFont::SetPitch(TFontPitch Value)
{
    if (StoreChanged(pitch_, Value))
        Changed();
}

void TFont::SetQuality(TFontQuality Value)
{
    if (StoreChanged(quality_, Value))
        Changed();
}

void TFont::SetPixelsPerInch(int Value)
{
    if (Value > 0)
        pixelsPerInch_ = Value;
}

// ---------------------------------------------------------------------------
void TPen::Changed()
{
    stale_ = true;
    TGraphicsObject::Changed();
}

HPEN TPen::GetHandle()
{
    if (!handle_ || stale_) {
        COLORREF rgb = ColorToRGB(color_);
        // Every other pixel is a cosmetic pen's style only.
        LOGBRUSH lb{BS_SOLID, rgb, 0};
        handle_.Reset(style_ == psAlternate
                          ? ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr)
                          : CreatePen(static_cast<int>(PenStyles[style_]), width_, rgb));
        stale_ = false;
    }
    return handle_.Get();
}

void TPen::SetHandle(HPEN Value)
{
    LOGPEN lp{};
    if (!Value || GetObjectW(Value, sizeof(lp), &lp) != sizeof(lp))
        throw EInvalidGraphic(L"Invalid pen handle");
    color_ = static_cast<TColor>(lp.lopnColor);
    width_ = lp.lopnWidth.x;
    style_ = SettingOf(PenStyles, lp.lopnStyle & PS_STYLE_MASK, psSolid);
    Changed();
}

void TPen::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TPen*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (src == this)
        return;
    color_ = src->color_;
    width_ = src->width_;
    style_ = src->style_;
    mode_ = src->mode_;
    Changed();
}

void TPen::SetColor(TColor Value)
{
    if (StoreChanged(color_, Value))
        Changed();
}

void TPen::SetWidth(int Value)
{
    if (Value >= 0 && StoreChanged(width_, Value))
        Changed();
}

void TPen::SetStyle(TPenStyle Value)
{
    if (StoreChanged(style_, Value))
        Changed();
}

void TPen::SetMode(TPenMode Value)
{
    // The mode is the DC's raster operation, not part of the handle.
    if (StoreChanged(mode_, Value))
        TGraphicsObject::Changed();
}

// ---------------------------------------------------------------------------
void TBrush::Changed()
{
    stale_ = true;
    TGraphicsObject::Changed();
}

HBRUSH TBrush::GetHandle()
{
    if (!handle_ || stale_) {
        LOGBRUSH lb{BS_SOLID, ColorToRGB(color_), 0};
        switch (style_) {
        case bsSolid: break;
        case bsClear: lb.lbStyle = BS_NULL; break;
        default:
            lb.lbStyle = BS_HATCHED;
            lb.lbHatch = static_cast<ULONG_PTR>(style_ - bsHorizontal + HS_HORIZONTAL);
            break;
        }
        handle_.Reset(CreateBrushIndirect(&lb));
        stale_ = false;
    }
    return handle_.Get();
}

void TBrush::SetHandle(HBRUSH Value)
{
    LOGBRUSH lb{};
    if (!Value || GetObjectW(Value, sizeof(lb), &lb) != sizeof(lb))
        throw EInvalidGraphic(L"Invalid brush handle");
    color_ = static_cast<TColor>(lb.lbColor);
    switch (lb.lbStyle) {
    case BS_NULL: style_ = bsClear; break;
    case BS_HATCHED: style_ = static_cast<TBrushStyle>(bsHorizontal + (lb.lbHatch - HS_HORIZONTAL)); break;
    default: style_ = bsSolid; break;
    }
    Changed();
}

void TBrush::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TBrush*>(Source);
    if (!src) {
        TGraphicsObject::Assign(Source);
        return;
    }
    if (src == this)
        return;
    color_ = src->color_;
    style_ = src->style_;
    Changed();
}

void TBrush::SetColor(TColor Value)
{
    if (Value == color_ && style_ != bsClear)
        return;
    color_ = Value;
    // Giving a clear brush a colour means painting with it.
    if (style_ == bsClear)
        style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value)
{
    if (StoreChanged(style_, Value))
        Changed();
}

// ---------------------------------------------------------------------------
void TGraphic::SetSize(int AWidth, int AHeight)
{
    SetWidth(AWidth);
    SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value)
{
    if (Value == transparent_)
        return;
    transparent_ = Value;
    Changed(this);
}

void TGraphic::SetModified(bool Value)
{
    if (Value)
        Changed(this);
    else
        modified_ = false;
}

void TGraphic::Changed(TObject* /*Sender*/)
{
    modified_ = true;
    FireEvent(OnChange, this);
}

void TGraphic::LoadFromFile(const String& FileName)
{
    TOwned<TFileStream> stream(New<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
    LoadFromStream(stream.get());
}

void TGraphic::SaveToFile(const String& FileName)
{
    TOwned<TFileStream> stream(New<TFileStream>(FileName, fmCreate));
    SaveToStream(stream.get());
}

void TGraphic::LoadFromClipboardFormat(Word, HANDLE, HPALETTE)
{
    throw EInvalidGraphic(L"Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(Word&, HANDLE&, HPALETTE&)
{
    throw EInvalidGraphic(L"Unsupported clipboard format");
}

bool TGraphic::Equals(TGraphic* Graphic)
{
    if (!Graphic || typeid(*Graphic) != typeid(*this))
        return false;
    if (Graphic == this)
        return true;
    if (GetEmpty() || Graphic->GetEmpty())
        return GetEmpty() && Graphic->GetEmpty();
    TOwned<TMemoryStream> mine(New<TMemoryStream>());
    TOwned<TMemoryStream> theirs(New<TMemoryStream>());
    SaveToStream(mine.get());
    Graphic->SaveToStream(theirs.get());
    return mine->GetSize() == theirs->GetSize() &&
           std::memcmp(mine->Memory(), theirs->Memory(), static_cast<size_t>(mine->GetSize())) == 0;
}

void TGraphic::Progress(TObject* Sender, TProgressStage Stage, Byte PercentDone, bool RedrawNow,
                        const TRect& R, const String& Msg)
{
    if (OnProgress)
        OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

void TGraphic::ReadData(TStream* Stream) { LoadFromStream(Stream); }

void TGraphic::WriteData(TStream* Stream) { SaveToStream(Stream); }

void TGraphic::AssignTo(TPersistent* Dest)
{
    auto* bitmap = dynamic_cast<TBitmap*>(Dest);
    if (!bitmap) {
        TPersistent::AssignTo(Dest);
        return;
    }
    if (GetEmpty()) {
        bitmap->Assign(nullptr);
        return;
    }
    // Drawn over the bitmap's brush colour; transparent pictures get room for alpha.
    bitmap->Assign(nullptr);
    bitmap->SetPixelFormat(GetTransparent() ? pf32bit : pf24bit);
    bitmap->SetSize(GetWidth(), GetHeight());
    bitmap->GetCanvas()->Draw(0, 0, this);
}

// ---------------------------------------------------------------------------
namespace {

// Hashed, not ordered: MinGW's type_info::before is no strict order once
// classes of anonymous namespaces take part, and a map would lose entries.
std::unordered_map<std::type_index, TGraphicClass>& KnownGraphicClasses()
{
    static std::unordered_map<std::type_index, TGraphicClass> classes;
    return classes;
}

} // namespace

TGraphicClass graphics_detail::RecordGraphicClass(const std::type_info& type, TGraphicClass cls)
{
    KnownGraphicClasses()[std::type_index(type)] = cls;
    return cls;
}

TGraphicClass graphics_detail::FindGraphicClass(const String& className)
{
    for (const auto& [type, cls] : KnownGraphicClasses())
        if (SameText(cls->ClassName, className))
            return cls;
    return nullptr;
}

TGraphicClass GraphicClassOf(const TGraphic* Graphic)
{
    if (!Graphic)
        return nullptr;
    auto& classes = KnownGraphicClasses();
    auto it = classes.find(std::type_index(typeid(*Graphic)));
    return it == classes.end() ? nullptr : it->second;
}
