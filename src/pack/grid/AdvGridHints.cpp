// The grid's hint window (marked-up or packed wide text, kept on its
// monitor) and the answers to its balloon tooltip's text requests.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "ComCtrls.h"
#include "GdiHandles.h"
#include "GridHTML.h"
#include "HTMLUtils.h"
#include "PlatformProbe.h"
#include <commctrl.h>
#include <algorithm>

namespace {

String& HintFont()
{
    static String name = L"Tahoma";
    return name;
}

constexpr int HintMeasureWidth = 1008;
constexpr size_t BalloonTextLimit = 2048;
constexpr size_t BalloonTitleLimit = 100;

// Measures or draws Text as the hint's mini-HTML.
SIZE HintHTML(TCanvas* Canvas, const String& Text, const TRect& R, bool Measure, TCustomImageList* Images,
              TPictureContainer* Container)
{
    String anchor, strip, focusAnchor, hint, controlID, controlValue, controlType;
    int xsize = 0, ysize = 0, links = 0, mouseLink = 0;
    TRect hoverRect, controlRect;
    GridHTMLDraw(Canvas, Text, R, Images, 0, 0, -1, -1, 1, false, Measure, false, false, false, false, Measure,
                 false, L"", 0.0, 0xFF0000, clNone, clNone, 0x808080, anchor, strip, focusAnchor, hint, xsize, ysize,
                 links, mouseLink, hoverRect, controlRect, controlID, controlValue, controlType, nullptr, Container,
                 nullptr, bdLeftToRight);
    return {xsize, ysize};
}

// The balloon's text: tabs read as spaces (but one at the very end), line
// breaks and tabs in front dropped, a long text cut with "...".
String BalloonReady(const String& Text)
{
    String text = Text;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == L'\t')
            text[i] = L' ';
    size_t first = 0;
    while (first < text.size() && (text[first] == L'\t' || text[first] == L'\n' || text[first] == L'\r'))
        ++first;
    text.erase(0, first);
    if (text.size() > BalloonTextLimit)
        text = text.substr(0, BalloonTextLimit - 3) + L"...";
    return text;
}

} // namespace

void SetHintFontName(const String& Name) { HintFont() = Name; }
const String& HintFontName() { return HintFont(); }

// --- the hint window ------------------------------------------------------------------------

THTMLHintWindow::THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void THTMLHintWindow::CreateParams(TCreateParams& Params)
{
    THintWindow::CreateParams(Params);
    Params.Style &= ~static_cast<DWORD>(WS_BORDER);
    const TPlatformProbe& probe = PlatformProbe();
    if (probe.WindowsMajor > 5 || (probe.WindowsMajor == 5 && probe.WindowsMinor >= 1))
        Params.WindowClass.style |= CS_DROPSHADOW;
    else
        Params.WindowClass.style &= ~static_cast<UINT>(CS_DROPSHADOW);
}

SIZE THTMLHintWindow::MeasureHint(const String& AHint, int Width, bool& Wide)
{
    TCanvas* canvas = GetCanvas();
    Wide = ClassifyCellText(AHint, true) == ctkPackedWide;
    if (Wide) {
        canvas->GetFont()->SetName(HintFontName());
        FWideCaption = UnpackWideText(AHint);
        RECT r{0, 0, Width, 0};
        TMemoryDC dc;
        const TSelectObject font(dc.Get(), canvas->GetFont()->GetHandle());
        DRAWTEXTPARAMS params{};
        params.cbSize = sizeof(params);
        DrawTextExW(dc.Get(), FWideCaption.data(), static_cast<int>(FWideCaption.size()), &r,
                    DT_NOPREFIX | DT_CALCRECT | DT_SINGLELINE, &params);
        return {r.right - r.left, r.bottom - r.top};
    }
    // Measured on a memory bitmap: the window may not exist yet.
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetSize(1, 1);
    bitmap->GetCanvas()->GetFont()->Assign(canvas->GetFont());
    return HintHTML(bitmap->GetCanvas(), AHint, TRect(0, 0, Width, 0), true, FImages, FPictureContainer);
}

RECT THTMLHintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*)
{
    bool wide = false;
    const SIZE size = MeasureHint(AHint, MaxWidth, wide);
    return {0, 0, size.cx, size.cy};
}

void THTMLHintWindow::ActivateHint(RECT Rect, const String& AHint)
{
    SetCaption(AHint);
    bool wide = false;
    const SIZE size = MeasureHint(AHint, HintMeasureWidth, wide);
    const int extra = wide ? 8 : 16;
    FTextWidth = size.cx;
    FTextHeight = size.cy;
    Rect.right = Rect.left + FTextWidth + extra;
    Rect.bottom = Rect.top + FTextHeight + 4;

    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromPoint({Rect.left, Rect.top}, MONITOR_DEFAULTTONEAREST), &monitor)) {
        if (Rect.right > monitor.rcMonitor.right) {
            Rect.left = monitor.rcMonitor.right - (Rect.right - Rect.left) - 2;
            Rect.right = Rect.left + extra + FTextWidth;
        }
        if (Rect.bottom > monitor.rcMonitor.bottom) {
            Rect.bottom = monitor.rcMonitor.bottom - 2;
            Rect.top = Rect.bottom - FTextHeight - 4;
        }
    }
    SetBounds(Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top);
    SetWindowPos(GetHandle(), HWND_TOPMOST, Rect.left, Rect.top, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    Invalidate();
}

void THTMLHintWindow::ActivateHintData(RECT Rect, const String& AHint, void* AData)
{
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(static_cast<TObject*>(AData))) {
        FImages = grid->GetGridImages();
        FPictureContainer = nullptr;
    }
    THintWindow::ActivateHintData(Rect, AHint, AData);
}

void THTMLHintWindow::Paint()
{
    TCanvas* canvas = GetCanvas();
    const RECT client = GetClientRect();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(client);
    TPen* pen = canvas->GetPen();
    pen->SetColor(cl3DLight);
    canvas->MoveTo(client.left, client.bottom - 2);
    canvas->LineTo(client.left, client.top);
    canvas->LineTo(client.right - 1, client.top);
    pen->SetColor(cl3DDkShadow);
    canvas->MoveTo(client.left, client.bottom - 1);
    canvas->LineTo(client.right - 1, client.bottom - 1);
    canvas->LineTo(client.right - 1, client.top - 1);

    TRect text(client.left + 4, 0, client.right - 4, 0);
    text.top = client.top + (client.bottom - client.top - FTextHeight) / 2;
    text.bottom = text.top + FTextHeight + 8;
    canvas->GetBrush()->SetColor(GetColor());
    const String caption = GetCaption();
    if (ClassifyCellText(caption, true) == ctkPackedWide) {
        canvas->GetFont()->SetName(HintFontName());
        HDC dc = canvas->GetHandle();
        const TSelectObject font(dc, canvas->GetFont()->GetHandle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(canvas->GetFont()->GetColor()));
        RECT r = text;
        DrawTextW(dc, FWideCaption.c_str(), static_cast<int>(FWideCaption.size()), &r, DT_NOPREFIX | DT_SINGLELINE);
        return;
    }
    HintHTML(canvas, caption, text, false, FImages, FPictureContainer);
}

void THTMLHintWindow::Dispatch(TMessage& Message)
{
    THintWindow::Dispatch(Message);
    if (Message.Msg == CM_TEXTCHANGED)
        Invalidate();
}

// --- the balloon tooltip's requests -----------------------------------------------------------

void TAdvStringGrid::HandleWMNotify(TMessage& Message)
{
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    if (!header) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (header->code == DTN_DATETIMECHANGE) {
        if (OnDateTimeChange) {
            const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(Message.LParam);
            const SYSTEMTIME& st = change->st;
            const double value =
                st.wYear == 0 || st.wMonth == 0 || st.wDay == 0 ? 0.0 : SystemTimeToDateTime(st);
            OnDateTimeChange(this, GetCol(), GetRow(), value);
        }
        TBaseGrid::WndProc(Message);
        return;
    }
    if (header->code == TTN_SHOW || header->code == TTN_POP) {
        Message.Result = 0;
        return;
    }
    if (header->code != TTN_NEEDTEXTW || !FBalloonSettings->GetEnable()) {
        TBaseGrid::WndProc(Message);
        return;
    }

    POINT cursor{};
    GetCursorPos(&cursor);
    ::ScreenToClient(GetHandle(), &cursor);
    int col = -1, row = -1;
    MouseToCell(cursor.x, cursor.y, col, row);
    const bool inGrid = col >= 0 && row >= 0 && col < GetColCount() && row < GetRowCount();
    int realCol = inGrid ? RealColIndex(col) : col;
    if (inGrid) {
        int baseCol = realCol, baseRow = row;
        if (ResolveBaseCell(realCol, row, baseCol, baseRow)) {
            realCol = baseCol;
            row = baseRow;
        }
    }

    String text;
    if (inGrid) {
        const String cell = GetCellText(realCol, row);
        switch (ClassifyCellText(cell, true)) {
        case ctkHTML: text = GridHTMLToText(cell); break;
        case ctkRTF: {
            if (TRichEdit* rich = PaintRichEdit()) {
                CellToRich(realCol, row, rich);
                text = rich->GetText();
            }
            break;
        }
        case ctkPackedWide: text = UnpackWideText(cell); break;
        default: text = cell; break;
        }
    }
    text = BalloonReady(text);

    TBalloonIcon icon = biInfo;
    String title;
    if (inGrid) {
        String balloonTitle, balloonText;
        TBalloonIcon balloonIcon = biInfo;
        if (IsBalloon(realCol, row, balloonTitle, balloonText, balloonIcon)) {
            title = balloonTitle;
            text = BalloonReady(balloonText);
            icon = balloonIcon;
        }
    }
    if (title.empty())
        title = L" ";
    if (OnCellBalloon)
        OnCellBalloon(this, realCol, row, icon, text, title);
    if (text.size() > BalloonTextLimit)
        text = text.substr(0, BalloonTextLimit - 3) + L"...";
    if (title.size() > BalloonTitleLimit)
        title = title.substr(0, BalloonTitleLimit - 3) + L"...";

    FLastBalloon = TPoint(realCol, row);
    FBalloonText = text;
    FBalloonTitle = title;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(Message.LParam);
    info->lpszText = FBalloonText.data();
    info->hinst = nullptr;

    HWND tip = header->hwndFrom;
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 300);
    if (FBalloonSettings->GetTextColor() != clNone)
        SendMessageW(tip, TTM_SETTIPTEXTCOLOR, ColorToRGB(FBalloonSettings->GetTextColor()), 0);
    if (FBalloonSettings->GetBackgroundColor() != clNone)
        SendMessageW(tip, TTM_SETTIPBKCOLOR, ColorToRGB(FBalloonSettings->GetBackgroundColor()), 0);
    SendMessageW(tip, TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(FBalloonTitle.c_str()));
    Message.Result = 0;
}
