// Glyphs of cells and editors: transparent bitmaps, the drop-down, push and
// spin buttons in their four drawing kinds, cell shapes and the error
// zig-zag under characters.
#include "AdvUtil.h"
#include "AdvUtilCanvas.h"
#include "AdvXPVS.h"
#include "Controls.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>
#include <vsstyle.h>

namespace {

// Drawing kinds and glyph states.
constexpr int KindThemed = 0, KindFlat = 2, KindTones = 3;
constexpr int StateHot = 1, StateDown = 2, StateDisabled = 3;

void PenAndBrush(TCanvas* Canvas, TColor Pen, TColor Brush)
{
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetPen()->SetColor(Pen);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(Brush);
}

const TColorTone& ToneOf(const TColorTones& Tones, int State)
{
    switch (State) {
    case StateHot:
        return Tones.Hover;
    case StateDown:
        return Tones.Selected;
    case StateDisabled:
        return Tones.Disabled;
    default:
        return Tones.Background;
    }
}

// Kind 0 draws with the visual styles of Window; where there are none (a
// classic desktop) it draws as kind 1 rather than nothing.
bool DrawThemed(int Kind, HWND Window, const wchar_t* ClassName, HDC DC, int Part, int State, const TRect& R)
{
    if (Kind != KindThemed)
        return false;
    const AdvXPVS::TThemeData theme(true, Window, ClassName);
    return theme.Draw(DC, Part, State, R);
}

void FrameControl(TCanvas* Canvas, const TRect& R, UINT Type, UINT State, int Kind)
{
    RECT r = R;
    DrawFrameControl(Canvas->GetHandle(), &r, Type, State | (Kind == KindFlat ? DFCS_FLAT : 0));
}

// An edit window that goes when the scope ends.
class TScratchEdit {
public:
    TScratchEdit(HWND Parent, const TRect& R, const String& Text, HFONT Font)
        : window_(CreateWindowExW(0, L"EDIT", Text.c_str(), (Parent ? WS_CHILD : WS_POPUP) | ES_AUTOHSCROLL,
                                  R.left, R.top, std::max<LONG>(R.Width(), 1), std::max<LONG>(R.Height(), 1), Parent,
                                  nullptr, GetModuleHandleW(nullptr), nullptr))
    {
        if (window_)
            SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
    }
    ~TScratchEdit()
    {
        if (window_)
            DestroyWindow(window_);
    }
    TScratchEdit(const TScratchEdit&) = delete;
    TScratchEdit& operator=(const TScratchEdit&) = delete;

    // Where the character at Index starts in the edit; false past the text.
    bool CharPosition(int Index, POINT& P) const
    {
        const LRESULT r = SendMessageW(window_, EM_POSFROMCHAR, static_cast<WPARAM>(Index), 0);
        if (r == -1)
            return false;
        P = {static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r))};
        return true;
    }
    explicit operator bool() const { return window_ != nullptr; }

private:
    HWND window_;
};

} // namespace

void DrawBitmapTransparent(TCanvas* Canvas, TBitmap* Bitmap, TColor BackColor, const TRect& R)
{
    if (!Canvas || !Bitmap || Bitmap->GetEmpty())
        return;
    const int w = Bitmap->GetWidth();
    const int h = Bitmap->GetHeight();
    TOwned<TBitmap> work(New<TBitmap>(w, h));
    TCanvas* workCanvas = work->GetCanvas();
    workCanvas->GetBrush()->SetStyle(bsSolid);
    workCanvas->GetBrush()->SetColor(BackColor);
    const TRect area(0, 0, w, h);
    workCanvas->BrushCopy(area, Bitmap, area, Bitmap->GetCanvas()->GetPixels(0, 0));
    Canvas->CopyRect(TRect(R.left, R.top, R.left + w, R.top + h), workCanvas, area);
}

void DrawResourceBitmapTransparent(TCanvas* Canvas, TColor BackColor, const TRect& R, const String& ResourceName)
{
    if (!Canvas || !FindResourceW(GetModuleHandleW(nullptr), ResourceName.c_str(), RT_BITMAP))
        return;
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromResourceName(reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr)), ResourceName);
    DrawBitmapTransparent(Canvas, bitmap.get(), BackColor, R);
}

void DrawDropDownButton(TCanvas* Canvas, HWND Window, const TRect& R, int Kind, int State,
                        const TColorTones& Tones)
{
    if (!Canvas)
        return;
    TRect button(R.right - 17 - 2, R.top + 1, R.right - 2, R.bottom - 1);
    const bool disabled = State == StateDisabled;
    if (DrawThemed(Kind, Window, L"combobox", Canvas->GetHandle(), CP_DROPDOWNBUTTON,
                   disabled ? CBXS_DISABLED : CBXS_NORMAL, button))
        return;
    if (Kind != KindTones) {
        FrameControl(Canvas, button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (disabled ? DFCS_INACTIVE : 0), Kind);
        return;
    }
    button.left += 3;
    const TColor face = ToneOf(Tones, State).BrushColor;
    PenAndBrush(Canvas, face, face);
    Canvas->Rectangle(button);
    Canvas->GetPen()->SetColor(Tones.Background.BorderColor);
    Canvas->MoveTo(button.left + 1, button.top);
    Canvas->LineTo(button.left + 1, button.bottom);
    PenAndBrush(Canvas, Tones.Background.TextColor, Tones.Background.TextColor);
    Canvas->Polygon({TPoint(button.left + 5, button.top + 8), TPoint(button.left + 11, button.top + 8),
                     TPoint(button.left + 8, button.top + 11)});
}

void DrawButtonFace(TCanvas* Canvas, HWND Window, const TRect& R, int Kind, int State, const TColorTones& Tones,
                    bool ShowPrefix, const String& Caption)
{
    if (!Canvas)
        return;
    const int themeState = State == StateHot ? PBS_HOT : State == StateDown ? PBS_PRESSED
                                                    : State == StateDisabled ? PBS_DISABLED
                                                                          : PBS_NORMAL;
    if (!DrawThemed(Kind, Window, L"button", Canvas->GetHandle(), BP_PUSHBUTTON, themeState, R)) {
        if (Kind != KindTones) {
            const UINT flags = State == StateHot ? DFCS_HOT : State == StateDown ? DFCS_PUSHED
                                                       : State == StateDisabled ? DFCS_INACTIVE
                                                                             : 0;
            FrameControl(Canvas, R, DFC_BUTTON, DFCS_BUTTONPUSH | flags, Kind);
        } else {
            const TColorTone& tone = ToneOf(Tones, State);
            PenAndBrush(Canvas, tone.BorderColor, tone.BrushColor);
            Canvas->Rectangle(R);
        }
    }
    if (Caption.empty())
        return;
    Canvas->GetBrush()->SetStyle(bsClear);
    RECT textRect = R;
    textRect.top += 4;
    advutil::CanvasDrawText(Canvas, Caption, textRect,
                            DT_CENTER | DT_VCENTER | DT_SINGLELINE | (ShowPrefix ? 0 : DT_NOPREFIX));
}

void DrawSpinButtons(TCanvas* Canvas, HWND Window, const TRect& R, int Kind, int State, const TColorTones& Tones)
{
    if (!Canvas)
        return;
    const TRect glyph(R.right - 15 - 1, R.top - 1, R.right - 1, R.bottom - 1);
    const int middle = glyph.top + glyph.Height() / 2;
    const TRect up(glyph.left, glyph.top, glyph.right, middle);
    const TRect down(glyph.left, middle, glyph.right, glyph.bottom);
    const bool disabled = State == StateDisabled;
    HDC dc = Canvas->GetHandle();
    if (Kind == KindThemed) {
        const AdvXPVS::TThemeData theme(true, Window, L"spin");
        if (theme) {
            theme.Draw(dc, SPNP_UP, disabled ? UPS_DISABLED : UPS_NORMAL, up);
            theme.Draw(dc, SPNP_DOWN, disabled ? DNS_DISABLED : DNS_NORMAL, down);
            return;
        }
    }
    if (Kind != KindTones) {
        const UINT inactive = disabled ? DFCS_INACTIVE : 0;
        FrameControl(Canvas, up, DFC_SCROLL, DFCS_SCROLLUP | inactive, Kind);
        FrameControl(Canvas, down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive, Kind);
        return;
    }
    const TColorTone& tone = ToneOf(Tones, State);
    PenAndBrush(Canvas, tone.BorderColor, tone.BrushColor);
    Canvas->Rectangle(up);
    Canvas->Rectangle(down);
    PenAndBrush(Canvas, tone.TextColor, tone.TextColor);
    const int cx = glyph.left + glyph.Width() / 2;
    const int upY = up.top + up.Height() / 2 - 1;
    const int downY = down.top + down.Height() / 2 - 1;
    Canvas->Polygon({TPoint(cx - 2, upY + 2), TPoint(cx + 2, upY + 2), TPoint(cx, upY)});
    Canvas->Polygon({TPoint(cx - 2, downY), TPoint(cx + 2, downY), TPoint(cx, downY + 2)});
}

void DrawCellShape(TCanvas* Canvas, int X, int Y, int Width, int Height, int Shape, TColor BrushColor,
                   TColor PenColor)
{
    if (!Canvas || Shape < csRectangle || Shape > csHalfStar)
        return;
    PenAndBrush(Canvas, PenColor, BrushColor);
    int w = Width, h = Height;
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare)
        w = h = std::min(Width, Height);
    const int x = X, y = Y;
    auto star = [&](bool leftHalf) {
        const double cx = x + w / 2.0, cy = y + h / 2.0;
        std::vector<TPoint> points;
        for (int i = 0; i < 10; ++i) {
            if (leftHalf && i > 0 && i < 5)
                continue;
            const double angle = i * 36 * std::numbers::pi / 180;
            const double scale = i % 2 == 0 ? 1.0 : 1.0 / 3;
            points.emplace_back(static_cast<LONG>(Round(cx + std::sin(angle) * w / 2 * scale)),
                                static_cast<LONG>(Round(cy - std::cos(angle) * h / 2 * scale)));
        }
        Canvas->Polygon(points);
    };
    const int we = w & ~1, he = h & ~1;
    switch (Shape) {
    case csRectangle:
    case csSquare:
        Canvas->Rectangle(x + 1, y + 1, x + w - 1, y + h - 1);
        break;
    case csCircle:
    case csEllips:
        Canvas->Ellipse(x, y, x + w, y + h);
        break;
    case csTriangleLeft:
        Canvas->Polygon({TPoint(x + w, y), TPoint(x + w, y + h), TPoint(x, y + h / 2)});
        break;
    case csTriangleRight:
        Canvas->Polygon({TPoint(x, y), TPoint(x, y + h), TPoint(x + w, y + h / 2)});
        break;
    case csTriangleUp:
        Canvas->Polygon({TPoint(x, y + h), TPoint(x + w, y + h), TPoint(x + w / 2, y)});
        break;
    case csTriangleDown:
        Canvas->Polygon({TPoint(x, y), TPoint(x + w, y), TPoint(x + w / 2, y + h)});
        break;
    case csDiamond:
        Canvas->Polygon({TPoint(x, y + h / 2), TPoint(x + w / 2, y), TPoint(x + w, y + h / 2), TPoint(x + w / 2, y + h)});
        break;
    case csLineVert:
        Canvas->Rectangle(x + w / 2, y, x + w / 2 + 1, y + h);
        break;
    case csLineHorz:
        Canvas->Rectangle(x, y + h / 2, x + w, y + h / 2 + 1);
        break;
    case csRoundRect:
    case csRoundSquare:
        Canvas->RoundRect(x, y, x + w, y + h, 10, 10);
        break;
    case csStar:
        star(false);
        break;
    case csHalfStar:
        star(true);
        break;
    case csArrowUp:
        Canvas->Polygon({TPoint(x + we / 2, y), TPoint(x + we, y + h / 2), TPoint(x + 3 * we / 4, y + h / 2),
                         TPoint(x + 3 * we / 4, y + h), TPoint(x + we / 4, y + h), TPoint(x + we / 4, y + h / 2),
                         TPoint(x, y + h / 2)});
        break;
    case csArrowDown:
        Canvas->Polygon({TPoint(x + we / 2, y + h), TPoint(x + we, y + h / 2), TPoint(x + 3 * we / 4, y + h / 2),
                         TPoint(x + 3 * we / 4, y), TPoint(x + we / 4, y), TPoint(x + we / 4, y + h / 2),
                         TPoint(x, y + h / 2)});
        break;
    case csArrowLeft:
        Canvas->Polygon({TPoint(x, y + he / 2), TPoint(x + w / 2, y), TPoint(x + w / 2, y + he / 4),
                         TPoint(x + w, y + he / 4), TPoint(x + w, y + 3 * he / 4), TPoint(x + w / 2, y + 3 * he / 4),
                         TPoint(x + w / 2, y + he)});
        break;
    case csArrowRight:
        Canvas->Polygon({TPoint(x + w, y + he / 2), TPoint(x + w / 2, y), TPoint(x + w / 2, y + he / 4),
                         TPoint(x, y + he / 4), TPoint(x, y + 3 * he / 4), TPoint(x + w / 2, y + 3 * he / 4),
                         TPoint(x + w / 2, y + he)});
        break;
    }
}

void DrawErrorUnderline(TWinControl* Owner, TCanvas* Canvas, const String& Text, const TRect& R, int OffsetY,
                        int Start, int Length)
{
    if (!Canvas || Text.empty() || Length <= 0 || Start < 0)
        return;
    POINT first{}, last{};
    {
        // The edit control says where its characters stand in this font.
        const TScratchEdit edit(Owner ? Owner->GetHandle() : nullptr, R, Text, Canvas->GetFont()->GetHandle());
        if (!edit)
            return;
        const int lastIndex = static_cast<int>(Text.size()) - 1;
        if (!edit.CharPosition(std::min(Start, lastIndex), first))
            return;
        if (Start > lastIndex)
            first.x += 4;
        if (!edit.CharPosition(std::min(Start + Length - 1, lastIndex), last))
            return;
        if (Start + Length - 1 > lastIndex)
            last.x += 4;
    }
    const int x1 = R.left + first.x;
    const int x2 = R.left + last.x;
    const int y = R.top + first.y + OffsetY;
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetColor(clRed);
    Canvas->GetPen()->SetWidth(2);
    Canvas->MoveTo(x1, y + 3);
    bool low = false;
    for (int x = x1 + 3; x <= x2; x += 3) {
        Canvas->LineTo(x, low ? y + 3 : y);
        low = !low;
    }
}
