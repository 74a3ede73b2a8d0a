// Text in skin colours (contours, the disabled look, glow), measuring and
// cutting text, and small effects of skinned buttons and frames: a soft
// round rectangle, a bevel frame, a dotted focus frame, the glyph-and-text
// layout of buttons, and PNG files loaded into bitmaps.
#pragma once

#include "sGraphUtils.h"

class TsCommonData;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// DrawTextW with at most 5460 characters of Text.
int DrawTextWide(HDC DC, const String& Text, TRect& R, UINT Format);
int DrawCanvasTextW(TCanvas* Canvas, const wchar_t* Text, UINT Format, TRect& R);
int TextWidthOf(TCanvas* Canvas, const String& Text);
int TextHeightOf(TCanvas* Canvas, const String& Text);
void GetTextExtentOf(TCanvas* Canvas, const String& Text, TSize& Size);
void CanvasTextRect(TCanvas* Canvas, const TRect& R, int X, int Y, const String& Text);
// DC 0 measures on the screen with Font (when not 0).
bool GetTextSize(HDC DC, const String& Text, TSize& Size, HFONT Font);
// 0 on failure; NoLeading: the height without leading, else tmHeight + 6.
int GetFontTextHeight(HFONT Font, bool NoLeading);
void MeasureText(HFONT Font, const String& Text, UINT Format, TSize& Size, int MaxWidth, bool MultiLine);
// Text cut with "..." to MaxWidth; empty when not even that fits.
void CutTextToWidth(TCanvas* Canvas, const String& Text, int MaxWidth, String& Result);
bool FontsEqual(TFont* A, TFont* B);
void DrawDCLine(HDC DC, int X1, int Y1, int X2, int Y2);

// A skinned control's caption in its section's colours (and glow).
void WriteControlText(TCanvas* Canvas, const String& Text, bool Enabled, TRect R, UINT Format,
                      TsCommonData* SkinData, int State, bool Glow);
void WriteSectionText(TCanvas* Canvas, const String& Text, bool Enabled, TsSkinManager* SkinManager, int State,
                      int SkinIndex, UINT Format, TRect R);
void DoWriteSectionText(TCanvas* Canvas, const String& Text, bool Enabled, TsSkinManager* SkinManager, int State,
                        int SkinIndex, UINT Format, TRect R);
// The control's colour tone, hue turn and saturation applied to Color.
TColor AdjustColorForControl(TColor Color, TsCommonData* SkinData);

// The 8-bit mask DrawTextGlow keeps between calls; it remembers what it was
// drawn from, so that a different text of the same size glows anew.
class TGlowMask : public TBitmap {
public:
    String Text;
    String FontName;
    int FontHeight = 0;
    TFontStyles FontStyle;
    UINT Format = 0;
    int Sides = 0;
    int GlowSize = 0;
};
// Sides bits: 1 left, 2 up, 4 right, 8 down. Mask: null makes one (the
// caller frees it); a plain bitmap is redrawn every time.
void DrawTextGlow(TBitmap* Dst, const String& Text, const TRect& R, TBitmap*& Mask, TColor Color, int GlowSize,
                  int Sides, UINT Format);
// A box blur of an 8-bit bitmap; radius 0 or less blurs nothing.
void BlurMask8(TBitmap* Mask, int Radius);

void PaintSoftRoundRect(TBitmap* Bmp, const TRect& R, int Percent, TColor Color, int EdgeWidth, int Radius);
// Count rings inwards; R returns the inner rectangle and Count 0.
void PaintBevelFrame(HDC DC, TRect& R, TColor LightColor, TColor DarkColor, int& Count);
void DrawDottedFrame(TCanvas* Canvas, TRect R, TColor Color1, TColor Color2);
// Horizontal alignment 0 left, 1 right, 2 centre; vertical 0 top, 1 bottom,
// 2 centre. BiDiFlags bit 2: right to left.
void CalcButtonLayout(const TRect& Client, const TPoint& GlyphSize, const TPoint& TextSize, int Layout, int HAlign,
                      int Margin, int Spacing, TPoint& GlyphPos, TRect& TextRect, int BiDiFlags, int VAlign);

void LoadPngFileToBitmap(TBitmap* Bmp, const String& FileName);
void LoadPngStreamToBitmap(TBitmap* Bmp, TStream* Stream);
