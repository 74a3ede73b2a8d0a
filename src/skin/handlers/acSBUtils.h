// The window handlers' shared unit: hooking a handler into a window and
// out again (acSBUtilsHook.cpp), the helpers every kind shares
// (acSBUtilsHelpers.cpp), the skinned non-client scroll bars
// (acSBUtilsScrollPaint.cpp) and their mouse tracking
// (acSBUtilsScrollTrack.cpp). The handler base TacMainWnd is declared with
// the graphics foundation (acProviderServices.h), which calls it.
#pragma once

#include "StdCtrls.h"
#include "acProviderServices.h"
#include "sCommonData.h"
#include "sSkinManager.h"

class TacScrollWnd;

// ---------------------------------------------------------------------------
// Hooking.

// Attaches the handler's window method: a bare window gets a procedure that
// finds the handler, a control or provider form a method in its WindowProc.
void HookWndHandler(TacMainWnd* Handler, HWND Handle);
// The same for the scroll-bar kind, which also makes its two bars and sets
// the property "ACSBSC".
void HookScrollWndHandler(TacScrollWnd* Handler, HWND Handle, bool Repaint);
// Detaches (and with FreeIt frees) the handler. What was replaced is put back
// only while the handler's own procedure or method is the one on top; under
// a later subclass it stays as a pass-through to the replaced one.
void UnhookWndHandler(HWND Handle, bool FreeIt, bool FrameChanged, TacMainWnd*& Handler);
void UnhookScrollWndHandler(HWND Handle, bool FreeIt, bool FrameChanged, TacMainWnd*& Handler);
// A frame change (SetWindowPos 0x737), or a non-client repaint.
void RefreshWndFrame(HWND Handle, bool FrameChanged);
// The scroll handler in "ACSBSC", or null.
TacScrollWnd* GetWndScrollHandler(HWND Handle);
class TacScrollBar;
// Kind 0 horizontal, 1 vertical; null without a scroll handler.
TacScrollBar* GetWndScrollBar(HWND Handle, int Kind);
// Which 0 horizontal, 1 vertical, 3 both; false without a scroll handler.
bool SetWndScrollBarFlags(HWND Handle, int Which, Word Flags);
// The frame adapter's switch between skinned and system scroll bars.
void UpdateScrollWndHandler(TsScrollWndData* SkinData, TacScrollWnd*& Handler);
// Asks the top-level window's provider to adapt its controls again.
void SendAdaptToTopWindow(HWND Handle);

// A new handler of a kind, made and hooked as the kind's virtual constructor does.
using TacHandlerFactory = TacMainWnd* (*)();
template <class T>
TacMainWnd* MakeHandler()
{
    return new T();
}
// The kind of handler for each of the 23 class-name lists; a kind not built
// yet has no factory, and its controls get no handler.
struct TacHandlerClass {
    const wchar_t* Name;
    TacHandlerFactory Factory;
};
extern const TacHandlerClass ThirdPartyHandlerClasses[ThirdPartyKindCount];
// A handler of the kind of list Index made and hooked, or null when that kind
// is not built; the caller owns it.
TacMainWnd* CreateThirdPartyHandler(int Index, HWND Handle, bool Repaint, const TacSkinParams& Params,
                                    TsSkinManager* Manager, TsCommonData* SkinData);
// The index of the first list naming ClassName exactly, -1 when none does.
int FindThirdPartyKind(TsSkinManager* Manager, const String& ClassName);

// The library-wide flag of system dialog skinning, copied into new handlers.
extern bool acDlgMode;

// ---------------------------------------------------------------------------
// Helpers.

// Kind 1 caption, 2 small caption, 3 menu, 4 status, other: message font.
// lfHeight is 0 when the system gave none.
void GetNonClientFont(Integer Kind, LOGFONTW& LogFont);
void GetSkinMainFontName(String& Name);
// The skin's main face name (at most 31 characters) into LogFont.
void ApplySkinFontName(LOGFONTW& LogFont);
void ApplySkinFontToFont(TFont* Font);
void SelectSystemFont(TCanvas* Canvas, Integer Kind);
// The cache canvas's font: the control's, the window's (with SendToWnd also
// given to the window; the handler owns that one font) or the message font.
void InitCacheFont(TacMainWnd* Handler, bool SendToWnd);
// Gives the window its own font back and deletes the handler's one.
void ReleaseCacheFont(TacMainWnd* Handler);
// The font the handler made for its window, null when none.
HFONT HandlerCacheFont(const TacMainWnd* Handler);
// The skin's main face with DC's font attributes; the font stays alive until
// the next call (callers paint at once and restore the DC).
void SelectSkinMainFont(HDC DC);

void BroadcastSkinMessage(TControl* OwnerControl, HWND Wnd, TMessage& Message);
bool HasHotLook(TsCommonData* SkinData, bool ForHover);
// Lets edit-like kinds have a hover look.
extern bool acHoverForEdits;

void SetCtrlOrdProp(TControl* Control, const String& PropName, Integer Value);
Integer GetCtrlOrdProp(TControl* Control, const String& PropName);
TColor GetCtrlColorProp(TControl* Control, const String& PropName);

void GetWindowGeometry(HWND Wnd, HWND& Parent, TRect& WindowRect, TPoint& Pos, TPoint& Size, TRect& ParentRect);

void PrepareCtrlCache(TsCommonData* SkinData, HWND Wnd, bool Plain);
void PaintBorderCorners(TsCommonData* SkinData, Integer State, TacMainWnd* Handler);

// The bound system entry points; null when the platform lacks them.
using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TFlatSBSwitch = BOOL(WINAPI*)(HWND);
extern TGetScrollBarInfo acGetScrollBarInfo;
extern TFlatSBSwitch acInitializeFlatSB;
extern TFlatSBSwitch acUninitializeFlatSB;

// Freed at shut-down: the menu handlers of the skinned menus and the tab
// sheets' handlers of the tab handlers; their kinds add to these.
extern std::vector<TacMainWnd*> MenuWndHandlers;
extern std::vector<TacMainWnd*> PageHandlers;

void acSBUtils_Initialize();
void acSBUtils_Finalize();

// ---------------------------------------------------------------------------
// Skinned non-client scroll bars.

// Part codes of a bar.
constexpr int spNone = -1, spArrow1 = 0, spArrow2 = 1, spPage1 = 2, spPage2 = 3, spJump = 4, spThumb = 5;

class TacScrollBar : public TObject {
public:
    Word fScrollFlags = 0;       // 1, 2 arrows disabled; 4 range rule; 8 the style shows it
    Word nBarType = SB_HORZ;
    Integer nArrowWidth = -1;    // negative: that many system widths
    Integer nArrowLength = -1;
    Integer nButSizeAfter = 0;
    Integer nButSizeBefore = 0;
    bool fButVisibleBefore = false;
    bool fButVisibleAfter = false;
    Integer nMinThumbSize = 0;
    TacScrollWnd* sw = nullptr;
    bool fScrollVisible = false;
    SCROLLINFO ScrollInfo{};
};

class TacScrollWnd : public TacMainWnd {
public:
    ~TacScrollWnd() override;
    void BeforeDestruction() override;
    void InitSkinData() override;
    void acWndProc(TMessage& Message) override;
    bool IsScrollKind() const override { return true; }

    void GetHorzBarRect(HWND Wnd, TRect& R);
    void GetVertBarRect(HWND Wnd, TRect& R);
    bool GetBarRect(int Kind, HWND Wnd, TRect& R);
    void PaintScrollBars(HWND Wnd, Integer ThumbPos, HDC DC);
    void UpdateScrollBars(bool Repaint);
    // The corner square between both bars (screen), empty unless both show.
    TRect CornerRect(HWND Wnd);

    // Mouse tracking.
    LRESULT HandleWMNCHitTest(HWND Wnd, WPARAM WParam, LPARAM LParam);
    LRESULT HandleWMNCMouseMove(HWND Wnd, WPARAM WParam, LPARAM LParam);
    LRESULT HandleWMNCLButtonDown(HWND Wnd, WPARAM WParam, LPARAM LParam);
    LRESULT HandleWMMouseMove(HWND Wnd, WPARAM WParam, LPARAM LParam);
    LRESULT HandleWMLButtonUp(HWND Wnd, WPARAM WParam, LPARAM LParam);
    LRESULT HandleWMTimer(HWND Wnd, WPARAM WParam, LPARAM LParam);

    bool fThumbTracking = false;
    bool fLeftScrollbar = false;
    bool ScrollsInitialized = false;
    bool bPreventStyleChange = false;
    TacScrollBar* sBarHorz = nullptr;   // owned
    TacScrollBar* sBarVert = nullptr;   // owned
    Integer cxLeftEdge = -1, cxRightEdge = 0, cyTopEdge = 0, cyBottomEdge = 0;

protected:
    LRESULT Prev(TMessage& Message);
    void HandleWMNCCalcSize(TMessage& Message);
    void HandleCommand(TMessage& Message);
};

// Thickness (WantWidth) or arrow length of a bar; 0 without a bar.
Integer GetScrollBarMetric(TacScrollBar* Bar, bool WantWidth);
bool GetThumbPos(TacScrollBar* Bar, const TRect& R, Integer& ThumbSize, Integer& ThumbPos);
Integer ScrollHitTest(TacScrollBar* Bar, HWND Wnd, const TRect& R, Integer Y, Integer X);
Integer HitTestHorz(TacScrollBar* Bar, const TRect& R, Integer X, Integer Y);
Integer HitTestVert(TacScrollBar* Bar, const TRect& R, Integer X, Integer Y);
bool IsScrollBarEnabled(TacScrollBar* Bar);
bool IsAtParentCorner(TacScrollWnd* Handler, HWND Wnd, const TRect& R);
// The thumb length at which a bar shows no thumb: MulDiv(nPage, Track, nMax - nMin).
Integer VisibleThumbLimit(const SCROLLINFO& Info, Integer Track);
// The arrow's rectangle grown over the track when its image is larger than
// the button (flag ReservedBoolean of its section and a border image).
TRect ExtendScrollArrowRect(const TRect& R, TsCommonData* SkinData, TacSide Side);
void PaintScrollArrow(const TRect& R, Integer State, TBitmap* Bitmap, TacSide Side, TsCommonData* SkinData);
void PaintScrollThumb(const TRect& R, Integer State, TBitmap* Bitmap, bool Vertical, TsSkinManager* SkinManager);
void PaintHorzScrollBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbPos, Integer PressedPart, const TRect& R);
void PaintVertScrollBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbPos, Integer PressedPart, const TRect& R);
void PaintScrollBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbPos, Integer PressedPart, const TRect& R);

// ---------------------------------------------------------------------------
// The one mouse interaction of all skinned scroll bars.
struct TacScrollTracking {
    Integer PressedPart = -1;
    HWND TrackWnd = nullptr;
    UINT ScrollMsg = 0;
    UINT_PTR HoverTimer = 0;
    UINT_PTR RepeatTimer = 0;
    Integer CurrentBar = -1;
    Integer ShownPressed = -1;
    Integer HotBar = -1;
    Integer LastHot = -1;
    Integer HotPart = -1;
    TRect HotRect;
    Integer LastTrackPos = -1;
    Integer ThumbStart = 0, ThumbSize = 0, ThumbOffset = 0;
    TRect TrackRect;
};
extern TacScrollTracking ScrollTracking;
constexpr UINT_PTR HoverTimerID = 0xFFF2;
constexpr UINT_PTR FirstRepeatTimerID = 0xFFFD;
constexpr UINT_PTR RepeatTimerID = 0xFFFE;
// Ends the interaction of Wnd (or of any window for null): timers killed,
// capture given back, state reset.
void EndScrollTracking(HWND Wnd);
void SendScrollMessage(HWND Wnd, UINT Msg, Integer Code, Integer Pos);
