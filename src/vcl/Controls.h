// Controls: the base of everything visible. TControl is a rectangle inside a
// parent; TWinControl owns a real window; TGraphicControl paints on its
// parent's window; TCustomControl is a window with a canvas.
//
// Messages travel WindowProc -> WndProc -> Dispatch -> handler ->
// DefaultHandler. A class that handles a message overrides Dispatch, switches
// on the message and calls the base class's Dispatch for everything else; the
// base Dispatch inside a handler is the Pascal "inherited": it reaches the
// nearest ancestor's handler for that message or, failing that,
// DefaultHandler. Perform goes through WindowProc, so a replaced WindowProc
// sees every message, performed or sent.
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include "Messages.h"
#include <functional>
#include <optional>
#include <vector>

class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;

// ---------------------------------------------------------------------------
// Enumerations and sets.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = Set<TAlign>;

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = Set<TAnchorKind>;

enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
    csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible,
    csReplicatable, csNoStdEvents, csDisplayDragImage, csReflector, csActionClient,
    csMenuEvents, csNeedsBorderPaint, csParentBackground, csPannable, csAlignWithMargins,
    csGestures, csPaintBlackOpaqueOnGlass, csOverrideStylePaint
};
using TControlStyle = Set<TControlStyleItem>;

enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
    csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide,
    csPanning, csRecreating, csAligning, csGlassPaint, csPrintClient
};
using TControlState = Set<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen };
using TShiftState = Set<TShiftStateItem>;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
// How a control is dragged: as a drag-and-drop source, or docked into another.
enum TDragKind { dkDrag, dkDock };
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

using TCursor = short;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TWndMethod = std::function<void(TMessage&)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            POINT MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, POINT MousePos,
                                                  bool& Handled)>;
using TContextPopupEvent = std::function<void(TObject* Sender, POINT MousePos, bool& Handled)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;

// Shift state from the key flags of a key message and the keyboard now.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardStateToShiftState();
// Shift state from the MK_ flags of a mouse message.
TShiftState MouseKeysToShiftState(WPARAM Keys);

// ---------------------------------------------------------------------------
// Size limits of a control; zero means no limit.
class TSizeConstraints : public TPersistent {
public:
    explicit TSizeConstraints(TControl* Control) : control_(Control) {}

    int GetMinWidth() const { return minWidth_; }
    int GetMinHeight() const { return minHeight_; }
    int GetMaxWidth() const { return maxWidth_; }
    int GetMaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v);
    void SetMinHeight(int v);
    void SetMaxWidth(int v);
    void SetMaxHeight(int v);

    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    friend class TControl;
    void Changed();
    TControl* control_ = nullptr;
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

// The window-creation parameters a control fills in before its window exists.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSW WindowClass{};
    String WinClassName;
};

// ---------------------------------------------------------------------------
// How far a drag is over a control.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    void BeforeDestruction() override;

    // Messages.
    TWndMethod WindowProc;
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // Parent and placement.
    TWinControl* GetParent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);
    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    RECT GetBoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
    virtual RECT GetClientRect() const;
    int GetClientWidth() const;
    int GetClientHeight() const;
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    virtual POINT GetClientOrigin() const;
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    POINT ClientToParent(POINT p, TWinControl* AParent = nullptr) const;

    TAlign GetAlign() const { return align_; }
    void SetAlign(TAlign value);
    TAnchors GetAnchors() const { return anchors_; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* GetConstraints() const { return constraints_; }
    void BringToFront();
    void SendToBack();

    // Appearance and state.
    bool GetVisible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    virtual bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor value);
    bool GetParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* value);
    bool GetParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor value);
    String GetHint() const { return hint_; }
    void SetHint(const String& value) { hint_ = value; }
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool GetParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* value);
    TDragKind GetDragKind() const { return dragKind_; }
    void SetDragKind(TDragKind value) { dragKind_ = value; }
    // The control's text: a caption for most controls, the edited text for
    // edits. Setting it sends CM_TEXTCHANGED.
    String GetText() const;
    void SetText(const String& value);
    String GetCaption() const { return GetText(); }
    void SetCaption(const String& value) { SetText(value); }
    bool GetAutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool value);

    TControlStyle ControlStyle;
    TControlState ControlState;

    // Painting.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // Scaling: multiplies position, size and font by M / D.
    void ScaleBy(int M, int D);
    virtual void ChangeScale(int M, int D);

    bool HasParent() const { return parent_ != nullptr; }
    bool IsVisibleOnScreen() const;
    bool MouseCapture() const;
    void SetMouseCapture(bool value);
    virtual bool IsControlHitTest(POINT p) const;
    // Whether the control is under the mouse now (between CM_MOUSEENTER and CM_MOUSELEAVE).
    bool MouseInClient() const { return mouseInClient_; }

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;
    TContextPopupEvent OnContextPopup;

    // Something dragged enters, moves over or leaves the control at (X, Y)
    // in client coordinates. Accept starts False; with OnDragOver assigned
    // it starts True and the handler decides.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    TDragOverEvent OnDragOver;

    // Copies text into the buffer, as WM_GETTEXT would.
    virtual String GetTextBuf() const;
    virtual void SetTextBuf(const String& value);

protected:
    friend class TWinControl;

    virtual void WndProc(TMessage& Message);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Resize();
    virtual void DoContextPopup(POINT MousePos, bool& Handled);
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    virtual void AdjustSize();
    virtual void DoAutoSize();
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {}
    void DoConstraints(int& width, int& height);
    virtual void VisibleChanging() {}
    virtual void Changed();
    virtual void SetZOrder(bool TopMost);
    virtual void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The canvas-less controls' part: the parent asks a graphic control to paint.
    virtual void PaintControl(HDC dc) {}

    void InvalidateControl(bool IsVisible, bool IsOpaque);
    void RequestAlign();
    void UpdateBoundsRect(const RECT& r);
    virtual void UpdateAnchorRules();
    bool IsHintOwner() const;
    // Sends the CM_ message that a property change raises.
    void SendCancelMode(TControl* Sender);

    // Message handlers (reached through Dispatch).
    void WMLButtonDown(TWMMouse& M);
    void WMLButtonDblClk(TWMMouse& M);
    void WMLButtonUp(TWMMouse& M);
    void WMRButtonDown(TWMMouse& M);
    void WMRButtonUp(TWMMouse& M);
    void WMMButtonDown(TWMMouse& M);
    void WMMButtonUp(TWMMouse& M);
    void WMMouseMove(TWMMouse& M);
    void WMContextMenu(TMessage& M);
    void CMMouseEnter(TMessage& M);
    void CMMouseLeave(TMessage& M);
    void CMEnabledChanged(TMessage& M);
    void CMVisibleChanged(TMessage& M);
    void CMFontChanged(TMessage& M);
    void CMColorChanged(TMessage& M);
    void CMParentFontChanged(TMessage& M);
    void CMParentColorChanged(TMessage& M);
    void CMParentShowHintChanged(TMessage& M);
    void CMHitTest(TMessage& M);
    void CMHintShow(TMessage& M);

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    String text_;
    TWinControl* parent_ = nullptr;
    // Distances kept for anchors, taken when the control is placed.
    POINT anchorMove_{}, anchorOrigin_{};
    int anchorRight_ = 0, anchorBottom_ = 0;
    bool anchorRulesSet_ = false;

private:
    void FontChanged(TObject* Sender);
    void DoMouseDown(TWMMouse& M, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TWMMouse& M, TMouseButton Button);

    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    TSizeConstraints* constraints_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    TOwned<TFont> font_;
    bool parentFont_ = true;
    TCursor cursor_ = crDefault;
    String hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    TDragKind dragKind_ = dkDrag;
    bool autoSize_ = false;
    bool mouseInClient_ = false;
    bool fontChanging_ = false;
};

// ---------------------------------------------------------------------------
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    void BeforeDestruction() override;
    // Creates a control whose window is the child of a foreign window.
    static TWinControl* CreateParented(HWND ParentWindow);

    // The window, created on first use.
    HWND GetHandle();
    HWND Handle() { return GetHandle(); }
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    void DestroyHandle();
    void RecreateWnd();
    HWND GetParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND value);
    // The window procedure the window had before the control took it over.
    WNDPROC DefWndProc() const { return defWndProc_; }

    void DefaultHandler(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    // Children.
    int ControlCount() const { return static_cast<int>(controls_.size() + winControls_.size()); }
    TControl* Controls(int index) const;
    int WinControlCount() const { return static_cast<int>(winControls_.size()); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    // Moves Child to position Order of the child list (graphic children come
    // first, then windowed ones in z-order, the last on top).
    void SetChildOrder(TControl* Child, int Order);
    TControl* ControlAtPos(POINT Pos, bool AllowDisabled, bool AllowWinControls = false,
                           bool AllLevels = false) const;
    TControl* FindChildControl(const String& ControlName) const;
    // Sends the message to every child until one answers with a result.
    void Broadcast(TMessage& Message);
    void NotifyControls(UINT Msg);

    // Alignment.
    void DisableAlign();
    void EnableAlign();
    bool AlignDisabled() const { return alignLevel_ > 0; }
    void Realign();
    void ReAlign() { Realign(); }
    // Lays out the children after AControl moved (it wins ties of position).
    void AlignControl(TControl* AControl);
    virtual void AdjustClientRect(RECT& Rect);

    // Painting.
    void PaintTo(HDC DC, int X, int Y);
    void PaintControls(HDC DC, TControl* First);
    TBrush* GetBrush() const { return brush_.get(); }
    bool GetDoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
    void Invalidate() override;
    void Update() override;
    void Repaint() override;

    // Focus and the tab order.
    virtual bool CanFocus() const;
    virtual bool Focused() const;
    virtual void SetFocus();
    bool GetTabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int GetTabOrder() const;
    void SetTabOrder(int value);
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    void SelectFirst();

    bool Showing() const { return showing_; }
    void UpdateControlState();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    RECT GetClientRect() const override;
    POINT GetClientOrigin() const override;
    int GetBorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    void SetParent(TWinControl* AParent) override;

    // Events.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TMouseWheelUpDownEvent OnMouseWheelDown;

    // Finds the control whose window this is (null for foreign windows).
    static TWinControl* FromHandle(HWND wnd);

protected:
    friend class TControl;

    void WndProc(TMessage& Message) override;
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void CreateHandle();
    virtual void DestroyHandleHook() {}
    // Makes the window a subclass of a system class ("EDIT", "BUTTON" ...).
    void CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName);
    virtual void AlignControls(TControl* AControl, RECT& Rect);
    virtual void PaintWindow(HDC DC);
    void PaintHandler(TWMPaint& Message);
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Key);
    virtual bool DoKeyDown(TWMKey& Message);
    virtual bool DoKeyUp(TWMKey& Message);
    virtual bool DoKeyPress(TWMKey& Message);
    virtual void DoEnter();
    virtual void DoExit();
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, POINT MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, POINT MousePos);
    virtual void SetZOrder(bool TopMost) override;
    virtual void ShowControl(TControl* AControl) {}
    virtual void ChangeScale(int M, int D) override;
    virtual void Loaded() override;
    virtual void ControlsAligned() {}
    void UpdateShowing();
    bool IsControlMouseMsg(TWMMouse& Message);
    void ReflectNotification(TMessage& Message, HWND child);
    // Focus within the form; false when the form vetoed it.
    bool SetFocusedToForm();

    void WMPaint(TWMPaint& M);
    void WMEraseBkgnd(TWMEraseBkgnd& M);
    void WMCommand(TMessage& M);
    void WMNotify(TMessage& M);
    void WMDrawItem(TMessage& M);
    void WMCtlColor(TMessage& M);
    void WMWindowPosChanged(TMessage& M);
    void WMSize(TMessage& M);
    void WMSetFocus(TMessage& M);
    void WMKillFocus(TMessage& M);
    void WMKeyDown(TMessage& M);
    void WMKeyUp(TMessage& M);
    void WMChar(TMessage& M);
    void WMSysKeyDown(TMessage& M);
    void WMMouseWheel(TMessage& M);
    void WMSetCursor(TMessage& M);
    void WMNCCalcSize(TMessage& M);
    void WMNCPaint(TMessage& M);
    void WMNCDestroy(TMessage& M);
    void WMGetDlgCode(TMessage& M);
    void WMMouseLeave(TMessage& M);
    void CNKeyDown(TMessage& M);
    void CNChar(TMessage& M);
    void CMShowingChanged(TMessage& M);
    void CMVisibleChanged(TMessage& M);
    void CMEnabledChanged(TMessage& M);
    void CMFontChanged(TMessage& M);
    void CMColorChanged(TMessage& M);
    void CMDialogKey(TMessage& M);
    void CMDialogChar(TMessage& M);
    void CMEnter(TMessage& M);
    void CMExit(TMessage& M);
    void CMMouseWheel(TMessage& M);
    void CMInvalidate(TMessage& M);
    void CMRecreateWnd(TMessage& M);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    // CreateParams is being asked only for the frame: make no parent window.
    mutable bool measuringParams_ = false;

private:
    friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK InitControlWndProc(HWND, UINT, WPARAM, LPARAM);
    void DoAlign(TControl* AControl, RECT& Rect);
    void AlignOne(TAlign align, TControl* AControl, RECT& Rect);
    void AnchorAll(const RECT& client);
    void ReadHandleBounds();
    void UpdateBounds();
    void InsertIntoList(TControl* AControl);
    void DestroyChildHandles();
    bool captureChild() const;

    std::vector<TControl*> controls_;     // graphic children in z order
    std::vector<TWinControl*> winControls_;
    std::vector<TWinControl*> tabList_;
    HWND parentWindow_ = nullptr;
    int alignLevel_ = 0;
    bool tabStop_ = false;
    bool showing_ = false;
    bool willShow_ = false;
    bool doubleBuffered_ = false;
    bool handleDestroyed_ = false;
    int borderWidth_ = 0;
    TOwned<TBrush> brush_;
};

// ---------------------------------------------------------------------------
// A canvas that draws on a control (its window, or its part of the parent's).
class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* GetControl() const { return control_; }
    void SetControl(TControl* value);
    void FreeHandle();
    // Runs Paint with the canvas drawing on DC (a WM_PAINT's), in the
    // control's font and colour, and lets the DC go afterwards.
    void PaintOn(HDC DC, const std::function<void()>& Paint);

protected:
    void CreateHandle() override;

private:
    TControl* control_ = nullptr;
    std::optional<TWindowDC> dc_;
};

// A control that paints on its parent's window.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* GetCanvas() const { return canvas_.get(); }

protected:
    void Dispatch(TMessage& Message) override;
    virtual void Paint() {}
    void PaintControl(HDC dc) override;

private:
    TOwned<TControlCanvas> canvas_;
};

// A window with a canvas: the base of painted controls such as grids.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* GetCanvas() const { return canvas_.get(); }

protected:
    void Dispatch(TMessage& Message) override;
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    TOwned<TControlCanvas> canvas_;
};

// ---------------------------------------------------------------------------
// Hints.
class THintWindow;
using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;

struct THintInfo {
    TControl* HintControl = nullptr;
    THintWindowClass HintWindowClass;
    POINT HintPos{};
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    RECT CursorRect{};
    POINT CursorPos{};
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    String HintStr;
    void* HintData = nullptr;
};
// CM_HINTSHOW carries a THintInfo* in LParam; a non-zero result cancels the hint.

class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    virtual void ActivateHint(RECT Rect, const String& AHint);
    virtual void ActivateHintData(RECT Rect, const String& AHint, void* AData);
    virtual RECT CalcHintRect(int MaxWidth, const String& AHint, void* AData);
    virtual bool IsHintMsg(const MSG& Msg) const;
    void ReleaseHandle();
    bool Active() const { return active_; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    bool active_ = false;
};

// ---------------------------------------------------------------------------
// Mouse capture by a control; a graphic control captures through its parent.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control under the mouse as the last mouse message left it.
TControl* MouseControl();
// Informs the controls under the mouse: CM_MOUSELEAVE to the old one,
// CM_MOUSEENTER to the new one (either may be null).
void SetMouseControl(TControl* Control);

// The form a control sits on (null when it sits on none).
TCustomForm* GetParentForm(TControl* Control, bool TopForm = true);
// The control whose window this is, or null.
TWinControl* FindControl(HWND Handle);
// The deepest control under a screen point (windowed or not).
TControl* FindVCLWindow(POINT Pos);
TControl* FindDragTarget(POINT Pos, bool AllowDisabled);

void Controls_Initialize();
void Controls_Finalize();
