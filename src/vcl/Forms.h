// Forms, the application object with its message loop and hints, the
// screen, and scrolling containers.
#pragma once

#include "Controls.h"
#include <map>
#include <memory>
#include <vector>

class TMainMenu;
class TMenuItem;
class TCustomForm;

// ---------------------------------------------------------------------------
// Scrolling containers.
enum TScrollBarKind { sbHorizontal, sbVertical };
class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind) : control_(Control), kind_(Kind) {}
    TScrollBarKind GetKind() const { return kind_; }
    int GetRange() const { return range_; }
    void SetRange(int value);
    int GetPosition() const { return position_; }
    void SetPosition(int value);
    int GetIncrement() const { return increment_; }
    void SetIncrement(int value) { increment_ = value; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool value);
    // Whether the bar is showing now (range beyond the client size).
    bool IsScrollBarVisible() const;
    int ScrollPos() const { return IsScrollBarVisible() ? position_ : 0; }
    void Assign(TPersistent* Source) override;

private:
    friend class TScrollingWinControl;
    int ClientSize() const;
    int MaxPosition() const;
    void Update();
    void ScrollMessage(int code, int pos);
    TScrollingWinControl* control_ = nullptr;
    TScrollBarKind kind_;
    int range_ = 0;
    int position_ = 0;
    int increment_ = 8;
    bool visible_ = true;
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;
    TControlScrollBar* GetHorzScrollBar() const { return horz_.get(); }
    TControlScrollBar* GetVertScrollBar() const { return vert_.get(); }
    bool GetAutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);
    void ScrollInView(TControl* AControl);
    void DisableAutoRange() { ++autoRangeLevel_; }
    void EnableAutoRange();

protected:
    friend class TControlScrollBar;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void AlignControls(TControl* AControl, RECT& Rect) override;
    void AdjustClientRect(RECT& Rect) override;
    void Dispatch(TMessage& Message) override;
    virtual void ScrollBy(int DeltaX, int DeltaY);
    void CalcAutoRange();
    void UpdateScrollBars();
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;

private:
    TOwned<TControlScrollBar> horz_;
    TOwned<TControlScrollBar> vert_;
    bool autoScroll_ = true;
    int autoRangeLevel_ = 0;
    bool updatingBars_ = false;
};

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TBorderStyle borderStyle_ = bsSingle;
};

// ---------------------------------------------------------------------------
// Forms.
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
    poDesktopCenter, poMainFormCenter, poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = Set<TFormStateItem>;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrClose = 8;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TScrollingWinControl {
public:
    // Creates the form and, as streaming a form resource would, runs
    // OnCreate once the derived constructor has built the children.
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // Showing and closing.
    void Show();
    void Hide() { SetVisible(false); }
    virtual int ShowModal();
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages now queued for it are handled.
    void Release();
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    TFormState FormState() const { return formState_; }
    bool Active() const { return active_; }

    // Window frame and placement.
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TBorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle GetFormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    TWindowState GetWindowState() const;
    void SetWindowState(TWindowState value);
    TPosition GetPosition() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    bool GetAlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool value);
    Byte GetAlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(Byte value);
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    // The resolution the form was designed at; Loaded scales it to the screen.
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    bool GetScaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    TMainMenu* GetMenu() const { return menu_; }
    void SetMenu(TMainMenu* value);
    bool GetKeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }

    // Focus.
    TWinControl* GetActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* value);
    void FocusControl(TWinControl* Control);
    void DefocusControl(TWinControl* Control, bool Removing);
    virtual bool SetFocusedControl(TWinControl* Control);
    void SetFocus() override;
    bool CanFocus() const override { return GetVisible() && GetEnabled(); }
    void SendCancelMode(TControl* Sender);

    // Key handling when KeyPreview is on.
    bool DoKeyDown(TWMKey& Message) { return TWinControl::DoKeyDown(Message); }
    bool DoKeyUp(TWMKey& Message) { return TWinControl::DoKeyUp(Message); }
    bool DoKeyPress(TWMKey& Message) { return TWinControl::DoKeyPress(Message); }

    // Menus of the form.
    bool DispatchMenuCommand(UINT id);
    bool DispatchMenuDrawItem(DRAWITEMSTRUCT* dis);
    bool DispatchMenuMeasureItem(MEASUREITEMSTRUCT* mis);

    TCanvas* GetCanvas() const { return canvas_.get(); }

    // Events.
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnPaint;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWindowHandle() override;
    void Dispatch(TMessage& Message) override;
    void PaintWindow(HDC DC) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void Activate();
    virtual void Deactivate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void Paint();
    void ChangeScale(int M, int D) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override { return TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos); }

    void CMShowingChanged(TMessage& M);
    void CMActivate(TMessage& M);
    void CMDeactivate(TMessage& M);
    void CMDialogKey(TMessage& M);
    void WMActivate(TMessage& M);
    void WMClose(TMessage& M);
    void WMGetMinMaxInfo(TMessage& M);
    void WMSysCommand(TMessage& M);

private:
    friend class TApplication;
    void SetActive(bool value);
    void SetWindowFocus();
    void ApplyPosition();
    void ApplyAlphaBlend();
    void CloseModal();

    TOwned<TCanvas> canvas_;
    TBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    TPosition position_ = poDesigned;
    TModalResult modalResult_ = mrNone;
    TFormState formState_;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TMainMenu* menu_ = nullptr;
    bool active_ = false;
    bool keyPreview_ = false;
    bool alphaBlend_ = false;
    Byte alphaBlendValue_ = 255;
    int pixelsPerInch_ = USER_DEFAULT_SCREEN_DPI;
    bool scaled_ = true;
    bool created_ = false;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};
using TFormClass = std::function<TCustomForm*(TComponent* Owner)>;

// ---------------------------------------------------------------------------
// Screen.
class TMonitor : public TObject {
public:
    explicit TMonitor(HMONITOR h, int num) : handle_(h), num_(num) {}
    HMONITOR GetHandle() const { return handle_; }
    int MonitorNum() const { return num_; }
    RECT BoundsRect() const;
    RECT WorkareaRect() const;
    bool Primary() const;
    int Left() const { return BoundsRect().left; }
    int Top() const { return BoundsRect().top; }
    int Width() const { RECT r = BoundsRect(); return r.right - r.left; }
    int Height() const { RECT r = BoundsRect(); return r.bottom - r.top; }

private:
    HMONITOR handle_ = nullptr;
    int num_ = 0;
};

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor value);
    HCURSOR GetCursors(int index);
    void SetCursors(int index, HCURSOR value);

    int PixelsPerInch() const { return pixelsPerInch_; }
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    RECT DesktopRect() const;
    RECT WorkAreaRect() const;
    int WorkAreaLeft() const { return WorkAreaRect().left; }
    int WorkAreaTop() const { return WorkAreaRect().top; }
    int WorkAreaWidth() const { RECT r = WorkAreaRect(); return r.right - r.left; }
    int WorkAreaHeight() const { RECT r = WorkAreaRect(); return r.bottom - r.top; }

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<std::size_t>(index)); }
    int CustomFormCount() const { return FormCount(); }
    TCustomForm* CustomForms(int index) const { return Forms(index); }
    TCustomForm* ActiveForm() const { return activeForm_; }
    TCustomForm* ActiveCustomForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }
    TCustomForm* FocusedForm() const { return focusedForm_; }

    TFont* GetMenuFont() const { return menuFont_.get(); }
    TFont* GetHintFont() const { return hintFont_.get(); }
    TFont* GetIconFont() const { return iconFont_.get(); }
    TStrings* Fonts();
    // Reads the system fonts again (after a settings change).
    void ResetFonts();

    int MonitorCount();
    TMonitor* Monitors(int index);
    TMonitor* MonitorFromPoint(POINT p, TMonitorDefaultTo def = mdNearest);
    TMonitor* MonitorFromWindow(HWND wnd, TMonitorDefaultTo def = mdNearest);
    TMonitor* MonitorFromRect(const RECT& r, TMonitorDefaultTo def = mdNearest);

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetFocused(TCustomForm* form, TWinControl* control);
    void GetMonitors();
    TMonitor* FindMonitor(HMONITOR h);

    TCursor cursor_ = crDefault;
    std::map<int, HCURSOR> cursors_;
    std::vector<HCURSOR> ownedCursors_;
    int pixelsPerInch_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
    TCustomForm* focusedForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    TOwned<TFont> menuFont_;
    TOwned<TFont> hintFont_;
    TOwned<TFont> iconFont_;
    TOwned<TStringList> fonts_;
    std::vector<std::unique_ptr<TMonitor>> monitors_;
};

// ---------------------------------------------------------------------------
// The application.
using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
// A hook on the application window's messages; true stops the message there.
using TWindowHook = std::function<bool(TMessage& Message)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    HWND GetHandle();
    void Initialize();
    String GetTitle() const { return title_; }
    void SetTitle(const String& value);
    String ExeName() const;

    // Creates a form owned by the application; the first becomes the main form.
    template <class T>
    void CreateForm(T*& Reference)
    {
        Reference = New<T>(this);
        if (!mainForm_)
            SetMainForm(Reference);
    }
    TCustomForm* GetMainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form);
    bool GetShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool value) { showMainForm_ = value; }

    // The message loop.
    void Run();
    void ProcessMessages();
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Messages posted to the application window are handled by its hooks
    // (in the order they were added) and then by the application itself.
    void HookMainWindow(int id, TWindowHook hook);
    void UnhookMainWindow(int id);

    // Exceptions.
    void HandleException(TObject* Sender);
    void ShowException(const Exception& E);
    void ShowException(const std::exception& E);

    // Hints.
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    TColor GetHintColor() const { return hintColor_; }
    void SetHintColor(TColor value) { hintColor_ = value; }
    int GetHintPause() const { return hintPause_; }
    void SetHintPause(int value) { hintPause_ = value; }
    int GetHintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int value) { hintShortPause_ = value; }
    int GetHintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int value) { hintHidePause_ = value; }
    String GetHint() const { return hint_; }
    void SetHint(const String& value);
    void CancelHint();
    void ActivateHint(POINT CursorPos);
    THintWindow* HintWindow() const { return hintWindow_; }
    void HintMouseMessage(TControl* Control, TMessage& Message);
    // Forgets a control that is going away (hint, mouse tracking).
    void ControlDestroyed(TControl* Control);

    int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);
    void Minimize();
    void Restore();
    void BringToFront();
    bool Active() const { return active_; }

    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnHint;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

private:
    friend LRESULT CALLBACK ApplicationWndProc(HWND, UINT, WPARAM, LPARAM);
    void WndProc(TMessage& Message);
    bool ProcessMessage(MSG& msg);
    void Idle(const MSG& msg);
    bool IsKeyMsg(MSG& msg);
    bool IsHintMsg(const MSG& msg);
    void StartHintTimer(int pause, int kind);
    void StopHintTimer();
    void HintTimerExpired();
    void CreateHandle();
    bool ModalFormRunning() const;

    HWND handle_ = nullptr;
    String title_;
    TCustomForm* mainForm_ = nullptr;
    bool showMainForm_ = true;
    bool terminated_ = false;
    bool running_ = false;
    bool active_ = true;
    std::vector<std::pair<int, TWindowHook>> hooks_;
    // Hints.
    bool showHint_ = true;
    TColor hintColor_ = clInfoBk;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    String hint_;
    THintWindow* hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    RECT hintCursorRect_{};
    bool hintActive_ = false;
    int hintTimerKind_ = 0;
    bool handlingException_ = false;
};

// The hint window class the application creates; replaceable.
extern THintWindowClass HintWindowClass;

extern TApplication* Application;
extern TScreen* Screen;

// Message the application window posts itself to run the calls that other
// threads queued for the main thread.
constexpr UINT WM_TAVELIN_WAKEMAINTHREAD = WM_APP + 0x3F00;

// The visible, enabled top-level windows of this thread, disabled while a
// modal form or message box runs; EnableTaskWindows gives back those that
// still exist.
std::vector<HWND> DisableTaskWindows();
void EnableTaskWindows(const std::vector<HWND>& Windows);

void Forms_Initialize();
void Forms_Finalize();
