// How the skin library talks to windows and controls: the library command
// message delivered straight to a window's skin state or through the window
// system, broadcasts to child controls and child windows, colour and
// background queries, and the painting of graphic child controls into a DC.
//
// Arguments and answers keep the platform's widths: commands carry object
// pointers (the background request, names, managers, skin data).
#pragma once

#include "StdCtrls.h"
#include "acEngineServices.h"
#include "sMessages.h"

class TCustomForm;

// ---------------------------------------------------------------------------
// Sending. A window whose "ACSDATA" skin state has a window method gets the
// message through that method at once, without the window system seeing it;
// any other window through SendMessageW.
LRESULT SendWndMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// Graphic controls by Perform; a windowed control without a handle, or being
// destroyed, gets nothing and answers 0.
LRESULT SendControlMessage(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT SendWndCommand(HWND Wnd, int Command, LPARAM LParam);
LRESULT SendControlCommand(TControl* Control, int Command, LPARAM LParam);
LRESULT QueryControlCommand(TControl* Control, int Command);
// True only for an answer of exactly 1.
bool QueryWndCommand(HWND Wnd, int Command);
void SetWindowRedraw(HWND Wnd, WPARAM Redraw);

// ---------------------------------------------------------------------------
// Broadcasting.

// Set while a skin-change animation covers the forms: no child refreshes.
extern bool SkinChangeAnimating;
// When set and true for a windowed child, BroadcastToChildren does not go
// into that child's own children.
using TBroadcastFilter = bool (*)(TControl* Child);
extern TBroadcastFilter BroadcastChildFilter;

// Command 6 to every child that is not going: showing windowed children with
// a handle through SendWndMessage, graphic children by Perform.
void RefreshChildControls(TWinControl* Parent);
// Command 6 to every WS_CHILD window of ParentWnd, in z-order.
void RefreshChildWindows(HWND ParentWnd);
// Depth first, stopping at the first child being destroyed; windows with a
// skin handler of their own pass it on themselves. Message.Result holds the
// last answer.
void BroadcastToChildren(TWinControl* Parent, TMessage& Message);
// To the direct child windows only.
void BroadcastToChildWindows(HWND ParentWnd, const TMessage& Message);

// ---------------------------------------------------------------------------
// Colours as RGB: a skinned control's answer to command 21, else its Color;
// 0xFF00FF for none.
TColor GetControlColor(TControl* Control);
TColor GetWindowColor(HWND Wnd);

// ---------------------------------------------------------------------------
// Small helpers.
bool IsControlReady(TControl* Control);
TCustomForm* FindOwnerForm(TComponent* Component);
// DT_LEFT, DT_RIGHT or DT_CENTER with DT_EXPANDTABS and DT_VCENTER.
UINT TextFlagsForAlignment(TControl* Control, TAlignment Alignment);
// The client rectangle in window coordinates.
void GetClientRectInWindow(HWND Wnd, TRect& R);
void GetWndClassName(HWND Wnd, String& Name);
// Whether a published font differs from its reference (the parent's font,
// else a new font) in style, size, colour or name; without CompareColor the
// colour is not compared.
bool FontNeedsStoring(TControl* Control, TFont* Font, bool CompareColor);

// ---------------------------------------------------------------------------
// Paints Parent's graphic children into DC, each at its position plus
// Offset, over Parent's background; a child that leaves its top-left pixel
// fuchsia is not copied.
void PaintGraphicControlsToDC(HDC DC, TWinControl* Parent, const TPoint& Offset, bool OnlyIfVisible);

// Background requests (command 34). The window variant answers true only
// when the window answered; the control variant always.
bool GetWindowBGInfo(TacBGRequest& Request, HWND Wnd, bool PleaseDraw);
bool GetControlBGInfo(TacBGRequest& Request, TControl* Control, bool PleaseDraw);
TCacheInfo BGInfoToCacheInfo(const TacBGRequest& Request);
