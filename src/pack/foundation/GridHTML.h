// The grid variant of the mini-HTML engine: draws or measures marked-up
// text in a rectangle of a canvas and hit-tests a point against its
// anchors, pictures and form controls. The grid's cell painter, its text
// measuring, its mouse handling and its hint window call it, and so do the
// drop-down editors.
#pragma once

#include "Graphics.h"

class TCustomImageList;
class THTMLPictureCache;
class TPictureContainer;

// Lays out Text in Rect line by line and draws it (unless CheckHotSpot or
// CheckHeight); True when (HitX, HitY) lies on an anchor's text, on a
// picture inside an anchor or on a form control. Every line is laid out
// twice: measured, then drawn or (with CheckHotSpot) measured again, which
// is the pass that hit-tests text. CheckHeight measures only, without a
// bottom limit. The canvas's font, pen and brush are restored on return.
bool GridHTMLDraw(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images,
                  int HitX, int HitY, int FocusLink, int HoverLink, int ShadowOffset,
                  bool CheckHotSpot, bool CheckHeight, bool Print, bool Selected, bool Blink,
                  bool HoverStyle, bool WordWrap, bool CtrlDown, const String& CtrlDownID,
                  double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor,
                  TColor ShadowColor, String& AnchorVal, String& StripVal, String& FocusAnchor,
                  String& AnchorHint, int& XSize, int& YSize, int& HyperLinks, int& MouseLink,
                  TRect& HoverRect, TRect& ControlRect, String& ControlID, String& ControlValue,
                  String& ControlType, THTMLPictureCache* PictureCache,
                  TPictureContainer* PictureContainer, HWND OwnerWindow, TBiDiMode BiDiMode);

// The background and text colours of the HI tag, for every grid-variant
// call of the process (clHighlight and clHighlightText until set).
void SetHTMLHighlightColors(TColor Color, TColor TextColor);

// Unit start-up: notes once whether the platform can draw visual styles
// (Windows XP or later), which themed form controls also need at the call.
void GridHTML_Initialize();
void GridHTML_Finalize();
