// How every control of the component pack is told its visual style, and how
// a control finds out which style fits the desktop: the style and Office
// theme enumerations, colour tones, the style interfaces, operating-system
// and Office theme detection, the default user-interface font and colour
// shading.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include <mutex>
#include <vector>
#include <unknwn.h>

class TRegistry;
class TAdvHintInfo;

// The numeric values are what controls store, so the order is fixed.
enum TPackStyle : Byte {
    tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsOffice2003Classic,
    tsOffice2007Luna, tsOffice2007Obsidian, tsWindowsXP, tsWhidbey, tsCustom,
    tsOffice2007Silver, tsWindowsVista, tsWindows7, tsTerminal, tsOffice2010Blue,
    tsOffice2010Silver, tsOffice2010Black, tsWindows8, tsOffice2013White,
    tsOffice2013LightGray, tsOffice2013Gray, tsWindows10, tsOffice2016White,
    tsOffice2016Gray, tsOffice2016Black
};

enum TOfficeTheme : Byte {
    ot2003Blue, ot2003Silver, ot2003Olive, ot2003Classic, ot2007Blue, ot2007Silver,
    ot2007Black, ot2010Blue, ot2010Silver, ot2010Black, ot2013White, ot2013Silver,
    ot2013Gray, ot2016White, ot2016Gray, ot2016Black, otUnknown
};

struct TColorTone {
    TColor BrushColor = 0;
    TColor BorderColor = 0;
    TColor TextColor = 0;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// Sets all fifteen colours to clNone.
void ClearColorTones(TColorTones& Tones);

// A control that takes a style.
struct IPackStyle : public IUnknown {
    virtual void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) = 0;
};
// A control that also takes the application's own colour with a style.
struct IPackStyleEx : public IPackStyle {
    virtual void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override = 0;
    virtual void STDMETHODCALLTYPE SetComponentStyleAndAppColor(TPackStyle AStyle, TColor AppColor) = 0;
};
// A control that takes a colour-tone record.
struct IPackTones : public IUnknown {
    virtual void STDMETHODCALLTYPE SetColorTones(TColorTones ATones) = 0;
};
// A control that gives an Office-style hint window its hint for a point.
struct IPackOfficeHint : public IUnknown {
    virtual TAdvHintInfo* STDMETHODCALLTYPE GetOfficeHint(TPoint Pt) = 0;
};
__CRT_UUID_DECL(IPackStyle, 0x11AC2DDC, 0xC087, 0x4298, 0xAB, 0x6E, 0xEA, 0x1B, 0x50, 0x17, 0x51, 0x1B)
__CRT_UUID_DECL(IPackStyleEx, 0x037BA87F, 0x7CBD, 0x4FDD, 0x85, 0x4E, 0x2B, 0x3F, 0x0B, 0xCC, 0x06, 0xAE)
__CRT_UUID_DECL(IPackTones, 0x1F492643, 0x6699, 0x4F25, 0x8B, 0x34, 0x32, 0x33, 0xFA, 0x73, 0x50, 0x36)
__CRT_UUID_DECL(IPackOfficeHint, 0x6C2E59A1, 0x3D0B, 0x4E7A, 0x9F, 0x15, 0x72, 0xB4, 0x0C, 0x8E, 0x51, 0xD3)

// Platform probes (answered by PlatformProbe, so tests can choose).
bool IsWindowsVistaOrLater();
bool IsWindowsXPOrLater();
bool IsComCtl6OrLater();
// "Segoe UI" from Vista on, else "Tahoma": the face of the controls' default fonts.
String GetDefaultUIFontName();

// 0 when no Office is installed, else 1, 2 or 3 for the 12.0, 14.0 or 15.0
// generation (the newest found).
Byte GetInstalledOfficeVersion();
// The Windows XP colour scheme in use: 1 "NormalColor" (blue), 2 "HomeStead"
// (olive), 3 "Metallic" (silver); 0 for none or any other.
Byte GetXPThemeColorScheme();
// The Office theme the user has chosen, from the newest Office generation
// that records one, else from the Windows XP colour scheme. Never otUnknown.
TOfficeTheme DetectOfficeTheme();

// Scales the red, green and blue bytes of a colour by (100 - Percent) %,
// capped at 255: positive percentages darken, negative ones lighten.
TColor ShadeColor(TColor Color, Integer Percent);
TColor ScaleColorComponents(TColor Color, Integer Percent);

// Sent to the windows registered with the theme notifier when the Office
// theme changes: wParam the watched root key, lParam the watched key path
// (zero-terminated UTF-16).
constexpr UINT WM_OFFICE_THEME_CHANGED = WM_USER + 1969;

// ---------------------------------------------------------------------------
// The theme notifier: a thread watches the Office settings in the registry
// and sends WM_OFFICE_THEME_CHANGED to a hidden window and to every
// registered window when they change.

// Window handles; DeleteValue removes the first occurrence.
class THandleList : public TList {
public:
    int Add(HWND Value) { return TList::Add(Value); }
    void Insert(int Index, HWND Value) { TList::Insert(Index, Value); }
    void DeleteValue(HWND Value);
    bool HasValue(HWND Value) const { return IndexOf(Value) >= 0; }
    HWND GetHandleItem(int Index) const { return static_cast<HWND>(Get(Index)); }
};

class TRegMonitorThread : public TThread {
public:
    // Created suspended; set the key and start it.
    TRegMonitorThread();

    const String& GetKey() const { return key_; }
    void SetKey(const String& Value) { key_ = Value; }
    HKEY GetRootKey() const { return rootKey_; }
    void SetRootKey(HKEY Value) { rootKey_ = Value; }
    bool GetWatchSub() const { return watchSub_; }
    void SetWatchSub(bool Value) { watchSub_ = Value; }
    // The REG_NOTIFY_CHANGE_ bits; all four (15) while unset.
    Integer GetFilter() const { return filter_ ? filter_ : 15; }
    void SetFilter(Integer Value) { filter_ = Value; }
    HWND GetWnd() const { return wnd_; }
    void SetWnd(HWND Value) { wnd_ = Value; }
    // Read only from this thread's owner; use the registration below to change it.
    THandleList* GetWinList() const { return winList_.get(); }
    // The window list is walked by the monitor thread, so changes go through its lock.
    void AddWindow(HWND Wnd);
    void RemoveWindow(HWND Wnd);

    // Ends the watch without notifying anyone.
    void Stop();

protected:
    // Raises "Unable to open registry key ..." when the key cannot be opened.
    void Execute() override;

private:
    TOwned<TRegistry> reg_;
    TKernelHandle event_;
    String key_;
    HKEY rootKey_ = HKEY_CURRENT_USER;
    bool watchSub_ = false;
    Integer filter_ = 0;
    HWND wnd_ = nullptr;
    TOwned<THandleList> winList_;
    std::mutex winListLock_;
};

// The hidden window that receives the thread's message on the main thread.
class TThemeNotifierWindow : public TWinControl {
public:
    using TWinControl::TWinControl;
    void Dispatch(TMessage& Message) override;
    TNotifyEvent FOnOfficeThemeChange;
};

class TThemeNotifier : public TComponent {
public:
    explicit TThemeNotifier(TComponent* AOwner);
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // Windows that get WM_OFFICE_THEME_CHANGED; nothing happens without Office.
    void RegisterWindow(HWND Hwnd);
    void UnRegisterWindow(HWND Hwnd);
    // Null when no Office is installed (or while designing).
    TRegMonitorThread* RegMonitorThread() const { return regMonitorThread_; }
    TThemeNotifierWindow* Notifier() const { return notifier_; }

    TNotifyEvent OnOfficeThemeChange;

protected:
    virtual void DoOfficeThemeChange();

private:
    TRegMonitorThread* regMonitorThread_ = nullptr;
    TThemeNotifierWindow* notifier_ = nullptr;
};

// The process's one notifier, created on first use: owned by the main form
// when it has a window, else by AOwner.
TThemeNotifier* GetThemeNotifier(TComponent* AOwner);

