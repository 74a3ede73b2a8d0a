// Window and control services of the skin library: the mouse and what lies
// under it, colours resolved against the active skin, walking child
// controls and painting a control with everything on it into a bitmap (the
// ground of every layered-window animation), layered windows, a plain hint
// pop-up, monitor work areas, the hidden copy window, and the theme entry
// point bound at start-up. User-interface thread only.
#pragma once

#include "acProviderServices.h"
#include "sGraphUtils.h"

// A hidden window showing a copy of a control's image while the control
// changes underneath. Its creator frees it: no owner is passed on.
class TOutputWindow : public TCustomControl {
public:
    explicit TOutputWindow(TComponent* AOwner);
    void AfterConstruction() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
};

// The cursor in screen coordinates; (0, 0) when it cannot be read.
void GetMousePos(TPoint& Point);
// An RGB colour: the library's own status and button colours and (with the
// manager's ChangeSysColors) the system colours through the active skin's
// palette. Manager null means the default manager.
TColor ColorToSkinColor(TColor Color, TsSkinManager* Manager);

HWND GetTopParentWnd(HWND Wnd);
bool IsSameOrChildWindow(HWND Wnd, HWND Ancestor);
bool IsMouseOverWindow(HWND Wnd);
bool IsMouseOverControl(TControl* Control);
TControl* FindControlUnderMouse();
// Asks the parent form (command 25) to attach skin handling to Control.
void RequestControlAdapter(TControl* Control);

using TChildControlProc = std::function<void(TControl* Child, void* Data)>;
// Every child in index order, each windowed one followed by its own children
// (depth first). Proc may free children: the list is read again at each step.
void ForEachChildControl(TWinControl* Parent, void* Data, const TChildControlProc& Proc);

// Paints Control with everything on it into Bitmap, whose DC origin the
// caller has placed at the control. A hidden control with a parent gets the
// parent's background at (X, Y); WithSiblings adds the later siblings that
// overlap it.
void PaintControlToBitmap(TBitmap* Bitmap, TControl* Control, int X, int Y, TsSkinProvider* Provider,
                          bool WithSiblings);
void PaintChildWindowsToBitmap(TWinControl* Control, TBitmap* Bitmap);
// Puts Control right after Sibling in their parent's child order; nothing
// without a parent or when Sibling is not a child of it.
void MoveControlBehind(TControl* Control, TControl* Sibling);
// Each rectangle becomes colour 0 with alpha 0.
void ClearBitmapRects(const TRects& Rects, TBitmap* Bitmap);

// Layered: adds WS_EX_LAYERED (true only when it was missing) and sets the
// alpha. Otherwise hides the window without a repaint and drops layering.
bool SetWindowLayered(HWND Wnd, bool Layered, Byte Alpha);
// Shows a 32-bit bitmap as the whole window; null: an empty one of the
// window's size. Position null keeps the window's place.
void PaintLayeredWindow(HWND Wnd, TBitmap* Bitmap, Byte Alpha, const TPoint* Position);

// A hint near R's top-left corner; the caller owns the window. Null for an
// empty text (unless the alpha hints show it).
THintWindow* ShowHintAt(const String& Text, const TRect& R);

void GetFormWorkArea(TCustomForm* Form, TRect& R);
// The first monitor whose work area holds the point; else (0, 0, 0, 0).
void GetWorkAreaAt(const TPoint& Point, TRect& R);
// Heights (alTop, alBottom) or widths (alLeft, alRight) of the visible
// children aligned so; 0 for other alignments.
int SumAlignedChildSizes(TWinControl* Parent, TAlign Alignment, bool WithGraphicControls);
bool AreThemesEnabled();

// Bound at start-up; null when uxtheme or its entry point is missing.
using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
HMODULE UxThemeModule();
extern TSetWindowTheme SetWindowThemeProc;
// Rectangles of the skin-change animation.
extern TRects SkinChangeRects;

void sWindowHelpers_Initialize();
void sWindowHelpers_Finalize();
