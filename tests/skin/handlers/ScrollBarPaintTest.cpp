// Skinned non-client scroll bars of real windows, painted with the "Scrolls"
// test skin (one colour per element and state): a table of scroll infos and
// sizes checked at pixels of the arrows, the two track halves, the thumb and
// the corner, and by the window's WM_NCHITTEST answers.
#include "SkinnedControls.h"
#include "acSBUtils.h"
#include "sGraphUtils.h"

using namespace skinned_controls;

namespace {

// Skin colours (TColor of the description) as the screen shows them.
COLORREF Rgb(DWORD rrggbb) { return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF); }
const COLORREF ArrowUp = Rgb(0x0000C0), ArrowDown = Rgb(0x0000D0), ArrowLeft = Rgb(0x0000A0),
               ArrowRight = Rgb(0x0000B0);
const COLORREF TrackUp = Rgb(0x00A000), TrackDown = Rgb(0x00B000), TrackLeft = Rgb(0xA00000),
               TrackRight = Rgb(0xB00000);
const COLORREF ThumbV = Rgb(0xD0D000), ThumbH = Rgb(0xC0C000);
const COLORREF Corner = Rgb(0xA00000);

std::vector<WPARAM> SysCommands;
WNDPROC SysSpyNext = nullptr;
LRESULT CALLBACK SysCommandSpy(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_SYSCOMMAND) {
        SysCommands.push_back(WParam);
        return 0;
    }
    return CallWindowProcW(SysSpyNext, Wnd, Msg, WParam, LParam);
}

LRESULT CALLBACK PlainProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

const wchar_t* PlainClass()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavelinScrolled";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        registered = true;
    }
    return L"TavelinScrolled";
}

struct TBarCase {
    const char* Name;
    int Width, Height;           // the window's size
    int ButtonsSize;             // the manager's arrow length, -1: the bar's width
    int Min, Max, Page, Pos;     // both bars
    DWORD ExStyle;
    bool ThumbShown;
};

const TBarCase BarCases[] = {
    {"PageInRange", 200, 160, -1, 0, 99, 20, 30, 0, true},
    {"PageZeroGivesAnArrowLongThumb", 200, 160, -1, 0, 99, 0, 0, 0, true},
    {"PageAboveRangeHidesTheThumb", 200, 160, -1, 0, 9, 50, 0, 0, false},
    {"ArrowLengthZero", 200, 160, 0, 0, 99, 20, 50, 0, true},
    {"BarShorterThanTwoArrows", 50, 45, 20, 0, 99, 20, 30, 0, false},
    {"LeftScrollBar", 200, 160, -1, 0, 99, 20, 99, WS_EX_LEFTSCROLLBAR, true},
};

class ScrollBarPaintTest : public testing::TestWithParam<TBarCase> {
protected:
    TControlsScene scene{"Scrolls"};
};

// The thumb as the bars lay it out: size and offset from the track's start.
void ExpectedThumb(const TBarCase& c, int Track, int Arrow, int& Size, int& Offset)
{
    const int range = c.Max - c.Min + 1;
    Size = c.Page == 0 ? Arrow : MulDiv(c.Page, Track, range);
    if (Arrow == 0 && Size < 19)
        Size = 19;
    Offset = std::clamp(MulDiv(c.Pos - c.Min, Track - Size, range - std::max(1, c.Page)), 0, std::max(0, Track - Size));
}

} // namespace

TEST_P(ScrollBarPaintTest, BarsAtPixelsAndHitTests)
{
    const TBarCase& c = GetParam();
    scene.manager->ScrollsOptions()->SetIntProp(0, c.ButtonsSize);
    HWND wnd = CreateWindowExW(c.ExStyle, PlainClass(), L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 10, 10,
                               c.Width, c.Height, scene.form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SCROLLINFO si{sizeof(si), SIF_ALL | SIF_DISABLENOSCROLL, c.Min, c.Max, static_cast<UINT>(c.Page), c.Pos, 0};
    SetScrollInfo(wnd, SB_VERT, &si, FALSE);
    SetScrollInfo(wnd, SB_HORZ, &si, FALSE);
    auto* handler = new TacScrollWnd();
    TacSkinParams params;
    params.SkinSection = L"EDIT";
    handler->Create(wnd, true, params, scene.manager.get(), nullptr);
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ASSERT_TRUE(handler->ScrollsInitialized);
    ASSERT_TRUE(handler->sBarVert->fScrollVisible);
    ASSERT_TRUE(handler->sBarHorz->fScrollVisible);

    RECT wr;
    GetWindowRect(wnd, &wr);
    TOwned<TBitmap> bmp(MakeBitmap32(wr.right - wr.left, wr.bottom - wr.top));
    handler->PaintScrollBars(wnd, -1, bmp->GetCanvas()->GetHandle());
    auto at = [&](int x, int y) { return PixelAt(bmp.get(), x - wr.left, y - wr.top); };

    const int thick = GetScrollBarMetric(handler->sBarVert, true);
    const int arrow = GetScrollBarMetric(handler->sBarVert, false);
    EXPECT_EQ(arrow, c.ButtonsSize >= 0 ? c.ButtonsSize : thick);
    TRect v, h;
    handler->GetVertBarRect(wnd, v);
    handler->GetHorzBarRect(wnd, h);
    EXPECT_EQ(v.Width(), thick);
    if (c.ExStyle & WS_EX_LEFTSCROLLBAR)
        EXPECT_LT(v.left, h.left);
    else
        EXPECT_GT(v.left, h.left);
    const int cx = v.left + thick / 2;
    const int cy = h.top + thick / 2;

    // A page above the range disables both bars: dimmed, no thumb, no hits.
    const bool enabled = IsScrollBarEnabled(handler->sBarVert);
    EXPECT_EQ(enabled, c.Page <= c.Max - c.Min + 1);
    if (2 * arrow < v.Height()) {
        if (arrow > 2 && enabled) {
            EXPECT_EQ(at(v.left + 1, v.top + 1), ArrowUp);
            EXPECT_EQ(at(v.left + 1, v.bottom - 2), ArrowDown);
            EXPECT_EQ(at(h.left + 1, h.top + 1), ArrowLeft);
            EXPECT_EQ(at(h.right - 2, h.top + 1), ArrowRight);
        }
        int size = 0, offset = 0;
        const int track = v.Height() - 2 * arrow;
        ExpectedThumb(c, track, arrow, size, offset);
        const int thumbTop = v.top + arrow + offset;
        if (c.ThumbShown) {
            EXPECT_EQ(at(cx, thumbTop + size / 2), ThumbV);
            if (offset > 4)
                EXPECT_EQ(at(cx, v.top + arrow + 2), TrackUp);
            if (track - size - offset > 4)
                EXPECT_EQ(at(cx, v.bottom - arrow - 3), TrackDown);
            const int htrack = h.Width() - 2 * arrow;
            int hsize = 0, hoffset = 0;
            ExpectedThumb(c, htrack, arrow, hsize, hoffset);
            EXPECT_EQ(at(h.left + arrow + hoffset + hsize / 2, cy), ThumbH);
            if (htrack - hsize - hoffset > 4)
                EXPECT_EQ(at(h.right - arrow - 3, cy), TrackRight);
            if (hoffset > 4)
                EXPECT_EQ(at(h.left + arrow + 2, cy), TrackLeft);
        } else {
            // No thumb: the track halves meet where a thumb would be.
            for (int y = v.top + arrow + 1; y < v.bottom - arrow - 1; y += 3)
                EXPECT_NE(at(cx, y), ThumbV) << y;
        }
    } else {
        // Too short for two arrows: two arrow halves, no thumb.
        for (int y = v.top; y < v.bottom; ++y)
            EXPECT_NE(at(cx, y), ThumbV) << y;
        for (int x = h.left; x < h.right; ++x)
            EXPECT_NE(at(x, cy), ThumbH) << x;
    }
    // The corner between both bars; its colour is mixed while a bar is disabled.
    if (enabled)
        EXPECT_EQ(at(v.left + thick / 2, h.top + thick / 2), Corner);
    else
        EXPECT_NE(at(v.left + thick / 2, h.top + thick / 2), Corner);

    // The system's hit codes.
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(cx, (v.top + v.bottom) / 2)),
              enabled ? HTVSCROLL : HTNOWHERE);
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM((h.left + h.right) / 2, cy)),
              enabled ? HTHSCROLL : HTNOWHERE);
    EXPECT_NE(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + c.Width / 2 - (c.ExStyle ? -5 : 5), wr.top + 8)),
              HTVSCROLL);
    TacMainWnd* h2 = handler;
    UnhookScrollWndHandler(wnd, true, false, h2);
    DestroyWindow(wnd);
}

INSTANTIATE_TEST_SUITE_P(Bars, ScrollBarPaintTest, testing::ValuesIn(BarCases),
                         [](const testing::TestParamInfo<TBarCase>& info) { return std::string(info.param.Name); });

TEST(ScrollBarWindow, SystemScrollCommandIsSwallowedOthersPass)
{
    TControlsScene scene("Scrolls");
    HWND wnd = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 10, 10, 150, 100,
                               scene.form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SysCommands.clear();
    SysSpyNext =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SysCommandSpy)));
    auto* handler = new TacScrollWnd();
    TacSkinParams params;
    params.SkinSection = L"EDIT";
    handler->Create(wnd, true, params, scene.manager.get(), nullptr);
    // The bare list box answers LB_GETCOUNT through the handler.
    SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    EXPECT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 1);
    // 0xF077 would let the system scroll with its own bar: never passed on.
    SendMessageW(wnd, WM_SYSCOMMAND, 0xF077, 0);
    SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_EQ(SysCommands, std::vector<WPARAM>{SC_KEYMENU});
    TacMainWnd* h = handler;
    UnhookScrollWndHandler(wnd, true, false, h);
    DestroyWindow(wnd);
}
