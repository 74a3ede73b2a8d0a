// The panel variant of the mini-HTML engine: draws and measures the text,
// the caption and the status bar of a panel and hit-tests their anchors.
// It runs the grid variant's engine with the panel's options: no form
// controls and no named-character table, but gradient backgrounds, corner
// pictures, list marker types, a coloured rule, a hanging offset, picture
// wrapping and line spacing.
#pragma once

#include "Graphics.h"

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;

// Lays out Text in Rect and draws it (unless CheckHotSpot or CheckHeight);
// True when (HitX, HitY) lies on an anchor's text or a picture inside an
// anchor. FocusAnchor also receives the TITLE of the anchor hit. Every line
// is LineSpacing pixels taller than its content. The canvas's font and
// brush are restored on return; the pen is left as the markup set it.
bool PanelHTMLDraw(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images,
                   int HitX, int HitY, int FocusLink, int HoverLink, int ShadowOffset,
                   bool CheckHotSpot, bool CheckHeight, bool Print, bool Selected, bool Blink,
                   bool HoverStyle, bool WordWrap, double ResFactor, TColor URLColor,
                   TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorVal,
                   String& StripVal, String& FocusAnchor, int& XSize, int& YSize, int& HyperLinks,
                   int& MouseLink, TRect& HoverRect, THTMLPictureCache* PictureCache,
                   TPictureContainer* PictureContainer, int LineSpacing, TBiDiMode BiDiMode);

// Fills Rect with Steps bands of a linear gradient from FromColor to
// ToColor, left to right (Horizontal) or top to bottom; Steps below 1 is
// taken as 1. A BorderColor other than clNone draws an outline around the
// whole rectangle. Leaves the pen and brush in the last band's colour.
void GradientFillRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal,
                      const TRect& Rect, int Steps, TColor BorderColor);
