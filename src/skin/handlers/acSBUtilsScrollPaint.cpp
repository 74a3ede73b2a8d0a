// The skinned non-client scroll bars: layout (WM_NCCALCSIZE), geometry of
// bars and thumbs, hit testing, painting, and the scroll-bar kind's window
// method. Each bar is composed in one 32-bit bitmap and copied with one blit.
#include "acSBUtils.h"
#include "sAlphaGraph.h"
#include "sFormAnimations.h"
#include "sGraphUtils.h"
#include "sSkinImage.h"
#include "sSkinSection.h"
#include "sSkinText.h"
#include "sVclUtils.h"
#include <cmath>

namespace {

constexpr UINT FrameChangeFlags = 0x737;

TsSkinManager* BarManager(TacScrollBar* Bar)
{
    if (!Bar || !Bar->sw || !Bar->sw->SkinData)
        return nullptr;
    return Bar->sw->SkinData->GetSkinManager();
}

void ReadScrollInfo(TacScrollBar* Bar, HWND Wnd)
{
    Bar->ScrollInfo.cbSize = sizeof(SCROLLINFO);
    Bar->ScrollInfo.fMask = SIF_ALL;
    if (!GetScrollInfo(Wnd, Bar->nBarType, &Bar->ScrollInfo)) {
        Bar->ScrollInfo.nMin = Bar->ScrollInfo.nMax = Bar->ScrollInfo.nPos = Bar->ScrollInfo.nTrackPos = 0;
        Bar->ScrollInfo.nPage = 0;
    }
}

// Writes the bitmap's part R into DC at R's place.
void Blit(HDC DC, const TRect& R, TBitmap* Bmp)
{
    BitBlt(DC, R.left, R.top, R.Width(), R.Height(), Bmp->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

// The window's own background under its bars.
TCacheInfo WindowBackground(TacScrollWnd* Handler, HWND Wnd)
{
    TacBGRequest request;
    GetWindowBGInfo(request, Wnd, false);
    TCacheInfo info = BGInfoToCacheInfo(request);
    if (auto* provider = dynamic_cast<TsSkinProvider*>(Handler->SkinData->FOwnerObject)) {
        TsSkinManager* manager = Handler->SkinData->GetSkinManager();
        if (provider->BorderForm && manager) {
            info.X += provider->BorderForm->SkinBorderWidth() + manager->FormShadowSize.left;
            info.Y += provider->BorderForm->ExtraTitleHeight() + manager->FormShadowSize.top;
        }
    }
    return info;
}

// Dims a disabled bar: blended with the window's background image, else mixed with its colour.
void DimBar(TacScrollWnd* Handler, HWND Wnd, TBitmap* Bmp, const TRect& R)
{
    TacBGRequest request;
    GetWindowBGInfo(request, Wnd, false);
    TCacheInfo info = BGInfoToCacheInfo(request);
    if (dynamic_cast<TsSkinProvider*>(Handler->SkinData->FOwnerObject))
        info.X = info.Y = 0;
    if (info.Bmp) {
        TOwned<TBitmap> back(MakeBitmap32(Bmp->GetWidth(), Bmp->GetHeight()));
        BitBlt(back->GetCanvas()->GetHandle(), 0, 0, Bmp->GetWidth(), Bmp->GetHeight(),
               info.Bmp->GetCanvas()->GetHandle(), R.left + info.X, R.top + info.Y, SRCCOPY);
        BlendRectExceptKey(Bmp, 0, 0, 0xFF00FF, DisabledBlend,
                           TRect(0, 0, Bmp->GetWidth() - 1, Bmp->GetHeight() - 1), back.get());
    } else if (info.FillColor != clFuchsia)
        PaintSoftRoundRect(Bmp, TRect(0, 0, Bmp->GetWidth(), Bmp->GetHeight()), 60, info.FillColor, 0, 0);
}

int ThumbStateFor(HWND Wnd, TacScrollBar* Bar)
{
    const TacScrollTracking& t = ScrollTracking;
    return t.TrackWnd == Wnd && t.HotBar == Bar->nBarType && t.HotPart == spThumb ? 1 : 0;
}

int ArrowState(HWND Wnd, TacScrollBar* Bar, int Part, int PressedPart, bool Enabled)
{
    const TacScrollTracking& t = ScrollTracking;
    if (t.TrackWnd != Wnd)
        return 0;
    if (PressedPart == Part)
        return 2;
    if (t.HotPart == Part && t.HotBar == Bar->nBarType && Enabled)
        return 1;
    return 0;
}

// Paints one bar along X (Vertical false) or Y into a bitmap of R's size.
void PaintBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbPos, Integer PressedPart, const TRect& R,
              bool Vertical)
{
    TacScrollWnd* handler = Bar ? Bar->sw : nullptr;
    TsSkinManager* manager = BarManager(Bar);
    if (!handler || handler->fThumbTracking || !Bar->fScrollVisible || (Vertical && handler->DontRepaint) || !manager)
        return;
    const TacConstElementData* scrolls = manager->ConstData.Scrolls;
    if (!manager->IsValidSkinIndex(scrolls[asLeft].SkinIndex))
        return;
    const int length = Vertical ? R.Height() : R.Width();
    if (length <= 1)
        return;
    ReadScrollInfo(Bar, Wnd);
    const int a = GetScrollBarMetric(Bar, false);
    const int track = length - 2 * a;
    bool enabled = IsScrollBarEnabled(Bar);
    if (handler->SkinData->FOwnerControl)
        enabled = enabled && handler->SkinData->FOwnerControl->GetEnabled();
    if (ScrollTracking.TrackWnd != Wnd)
        PressedPart = -1;
    const int arrow1 = ArrowState(Wnd, Bar, spArrow1, PressedPart, enabled);
    const int arrow2 = ArrowState(Wnd, Bar, spArrow2, PressedPart, enabled);
    TRect trackRect = R;
    Integer thumbSize = 0, thumbPos = 0;
    GetThumbPos(Bar, trackRect, thumbSize, thumbPos);
    if (ThumbPos != -1)
        thumbPos = ThumbPos;
    TOwned<TBitmap> bmp(MakeBitmap32(R.Width(), R.Height()));
    TCacheInfo ci = WindowBackground(handler, Wnd);
    const TPoint offset(R.left - std::max<Integer>(handler->cxLeftEdge, 0) + ci.X,
                        R.top - handler->cyTopEdge + ci.Y);
    const TacSide half1 = Vertical ? asTop : asLeft, half2 = Vertical ? asBottom : asRight;
    auto paintHalf = [&](TacSide side, const TRect& part, int state) {
        const TacConstElementData& e = scrolls[side];
        if (!manager->IsValidSkinIndex(e.SkinIndex) || part.IsEmpty())
            return;
        PaintSkinItemWithBorderImage(e.SkinIndex, e.MaskIndex, e.BGIndex[0], ci, state, part,
                                     TPoint(offset.x + part.left, offset.y + part.top), bmp.get(), manager);
    };
    const int start = Vertical ? R.top : R.left;
    if (2 * a < length) {
        const int m = thumbPos + thumbSize / 2 - start;
        paintHalf(half1, Vertical ? TRect(0, 0, R.Width(), m) : TRect(0, 0, m, R.Height()),
                  PressedPart == spPage1 ? 2 : 0);
        paintHalf(half2, Vertical ? TRect(0, m, R.Width(), R.Height()) : TRect(m, 0, R.Width(), R.Height()),
                  PressedPart == spPage2 ? 2 : 0);
        if (a > 0) {
            PaintScrollArrow(Vertical ? TRect(0, 0, R.Width(), a) : TRect(0, 0, a, R.Height()), arrow1, bmp.get(),
                             half1, handler->SkinData);
            PaintScrollArrow(Vertical ? TRect(0, R.Height() - a, R.Width(), R.Height())
                                      : TRect(R.Width() - a, 0, R.Width(), R.Height()),
                             arrow2, bmp.get(), half2, handler->SkinData);
        }
        if (enabled && thumbSize > 0 && VisibleThumbLimit(Bar->ScrollInfo, track) <= track) {
            const int p = thumbPos - start;
            PaintScrollThumb(Vertical ? TRect(0, p, R.Width(), p + thumbSize) : TRect(p, 0, p + thumbSize, R.Height()),
                             ThumbStateFor(Wnd, Bar), bmp.get(), Vertical, manager);
        }
    } else {
        const int h = length / 2;
        const TRect first = Vertical ? TRect(0, 0, R.Width(), h) : TRect(0, 0, h, R.Height());
        const TRect second = Vertical ? TRect(0, h, R.Width(), R.Height()) : TRect(h, 0, R.Width(), R.Height());
        paintHalf(half1, first, 0);
        paintHalf(half2, second, 0);
        PaintScrollArrow(first, arrow1, bmp.get(), half1, handler->SkinData);
        PaintScrollArrow(second, arrow2, bmp.get(), half2, handler->SkinData);
    }
    if (!enabled)
        DimBar(handler, Wnd, bmp.get(), R);
    Blit(DC, R, bmp.get());
}

} // namespace

// ---------------------------------------------------------------------------
// Geometry.

Integer GetScrollBarMetric(TacScrollBar* Bar, bool WantWidth)
{
    if (!Bar)
        return 0;
    TsSkinManager* manager = BarManager(Bar);
    const TacScrollData* data = nullptr;
    if (Bar->sw)
        if (auto* scrollData = dynamic_cast<TsScrollWndData*>(Bar->sw->SkinData))
            data = Bar->nBarType == SB_HORZ ? scrollData->FHorzScrollData : scrollData->FVertScrollData;
    const Integer barWidth = manager ? manager->GetScrollBarWidth() : -1;
    if (WantWidth) {
        if (data && data->FScrollWidth >= 0)
            return data->FScrollWidth;
        if (barWidth >= 0)
            return barWidth;
        if (Bar->nArrowWidth >= 0)
            return Bar->nArrowWidth;
        return -Bar->nArrowWidth * GetSystemMetrics(Bar->nBarType == SB_HORZ ? SM_CYHSCROLL : SM_CXVSCROLL);
    }
    if (data && data->FButtonsSize >= 0)
        return data->FButtonsSize;
    if (manager && manager->ScrollsOptions() && manager->ScrollsOptions()->GetButtonsSize() >= 0)
        return manager->ScrollsOptions()->GetButtonsSize();
    if (Bar->nArrowLength >= 0)
        return Bar->nArrowLength;
    if (barWidth >= 0)
        return barWidth;
    return -Bar->nArrowLength * SysScrollArrowWidth;
}

void TacScrollWnd::GetHorzBarRect(HWND Wnd, TRect& R)
{
    GetWindowRect(Wnd, &R);
    const int vert = sBarVert && sBarVert->fScrollVisible ? GetScrollBarMetric(sBarVert, true) : 0;
    const int horz = sBarHorz && sBarHorz->fScrollVisible ? GetScrollBarMetric(sBarHorz, true) : 0;
    R.left += std::max<Integer>(cxLeftEdge, 0) + (fLeftScrollbar ? vert : 0);
    R.right -= cxRightEdge + (fLeftScrollbar ? 0 : vert);
    R.bottom -= cyBottomEdge;
    R.top = R.bottom - horz;
}

void TacScrollWnd::GetVertBarRect(HWND Wnd, TRect& R)
{
    GetWindowRect(Wnd, &R);
    const int vert = sBarVert && sBarVert->fScrollVisible ? GetScrollBarMetric(sBarVert, true) : 0;
    const int horz = sBarHorz && sBarHorz->fScrollVisible ? GetScrollBarMetric(sBarHorz, true) : 0;
    R.top += cyTopEdge;
    R.bottom -= horz + cyBottomEdge;
    if (fLeftScrollbar) {
        R.left += std::max<Integer>(cxLeftEdge, 0);
        R.right = R.left + vert;
    } else {
        R.right -= cxRightEdge;
        R.left = R.right - vert;
    }
}

bool TacScrollWnd::GetBarRect(int Kind, HWND Wnd, TRect& R)
{
    if (Kind == SB_HORZ)
        GetHorzBarRect(Wnd, R);
    else if (Kind == SB_VERT)
        GetVertBarRect(Wnd, R);
    else
        return false;
    return true;
}

TRect TacScrollWnd::CornerRect(HWND Wnd)
{
    if (!sBarHorz || !sBarVert || !sBarHorz->fScrollVisible || !sBarVert->fScrollVisible)
        return TRect();
    TRect horz, vert;
    GetHorzBarRect(Wnd, horz);
    GetVertBarRect(Wnd, vert);
    return TRect(vert.left, horz.top, vert.right, horz.bottom);
}

bool GetThumbPos(TacScrollBar* Bar, const TRect& R, Integer& ThumbSize, Integer& ThumbPos)
{
    const int a = GetScrollBarMetric(Bar, false);
    const bool horizontal = Bar->nBarType == SB_HORZ;
    const int length = horizontal ? R.Width() : R.Height();
    const int track = length - 2 * a;
    const SCROLLINFO& si = Bar->ScrollInfo;
    const int range = si.nMax - si.nMin + 1;
    int size;
    if (si.nPage == 0)
        size = std::max<Integer>(a, Bar->nMinThumbSize);
    else
        size = range > 0 ? MulDiv(static_cast<int>(si.nPage), track, range) : 0;
    if (a == 0 && size < 19)
        size = 19;
    else
        size = std::max<Integer>(size, Bar->nMinThumbSize);
    int offset = 0;
    if (range > 0) {
        const int divisor = range - std::max(1, static_cast<int>(si.nPage));
        offset = divisor != 0 ? MulDiv(si.nPos - si.nMin, track - size, divisor) : 0;
        offset = std::clamp(offset, 0, std::max(0, track - size));
    }
    ThumbSize = size;
    ThumbPos = (horizontal ? R.left : R.top) + a + offset;
    return true;
}

Integer VisibleThumbLimit(const SCROLLINFO& Info, Integer Track)
{
    return MulDiv(static_cast<int>(Info.nPage), Track, Info.nMax - Info.nMin);
}

namespace {

Integer HitTestAlong(TacScrollBar* Bar, const TRect& R, int Along, int Start, int End)
{
    const int a = GetScrollBarMetric(Bar, false);
    const int length = End - Start;
    const int e = 2 * a < length ? a : length / 2;
    int part = -1;
    if (Along >= Start && Along < Start + e)
        part = spArrow1;
    else if (Along >= End - e && Along < End)
        part = spArrow2;
    else {
        Integer size = 0, pos = 0;
        GetThumbPos(Bar, R, size, pos);
        if (size >= length - 2 * a)
            return -1;
        if (Along >= pos && Along < pos + size)
            part = spThumb;
        else if (Along >= Start + e && Along < pos)
            part = spPage1;
        else if (Along >= pos + size && Along < End - e)
            part = spPage2;
    }
    if ((part == spPage1 || part == spPage2) && GetAsyncKeyState(VK_SHIFT) < 0)
        part = spJump;
    return part;
}

} // namespace

Integer HitTestHorz(TacScrollBar* Bar, const TRect& R, Integer X, Integer Y)
{
    if (Y < R.top || Y >= R.bottom)
        return -1;
    return HitTestAlong(Bar, R, X, R.left, R.right);
}

Integer HitTestVert(TacScrollBar* Bar, const TRect& R, Integer X, Integer Y)
{
    if (X < R.left || X >= R.right)
        return -1;
    return HitTestAlong(Bar, R, Y, R.top, R.bottom);
}

Integer ScrollHitTest(TacScrollBar* Bar, HWND Wnd, const TRect& R, Integer Y, Integer X)
{
    (void)Wnd;
    if (!Bar)
        return -1;
    if (Bar->nBarType == SB_HORZ)
        return HitTestHorz(Bar, R, X, Y);
    if (Bar->nBarType == SB_VERT)
        return HitTestVert(Bar, R, X, Y);
    return -1;
}

bool IsScrollBarEnabled(TacScrollBar* Bar)
{
    if (!Bar || !Bar->sw)
        return false;
    HWND wnd = Bar->sw->CtrlHandle;
    if (!acGetScrollBarInfo)
        return (GetWindowLongPtrW(wnd, GWL_STYLE) & (Bar->nBarType == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    const LONG id = Bar->nBarType == SB_HORZ ? OBJID_HSCROLL : Bar->nBarType == SB_VERT ? OBJID_VSCROLL : OBJID_CLIENT;
    if (!acGetScrollBarInfo(wnd, id, &info))
        return false;
    if ((Bar->fScrollFlags & 3) == 3)
        return false;
    const SCROLLINFO& si = Bar->ScrollInfo;
    if ((Bar->fScrollFlags & 4) &&
        !(si.nMax >= static_cast<int>(si.nPage) && si.nMin < si.nMax && si.nMax != 0))
        return false;
    return !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

bool IsAtParentCorner(TacScrollWnd* Handler, HWND Wnd, const TRect& R)
{
    HWND parent = GetParent(Wnd);
    if (!parent || (GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD))
        return false;
    RECT client{};
    GetClientRect(parent, &client);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (R.bottom + Handler->cyBottomEdge != client.bottom)
        return false;
    if (Handler->fLeftScrollbar)
        return R.left - std::max<Integer>(Handler->cxLeftEdge, 0) == client.left;
    return R.right + Handler->cxRightEdge == client.right;
}

// ---------------------------------------------------------------------------
// Painting.

TRect ExtendScrollArrowRect(const TRect& R, TsCommonData* SkinData, TacSide Side)
{
    TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
    if (!manager)
        return R;
    const TacConstElementData& e = manager->ConstData.ScrollBtns[Side];
    if (!manager->IsValidSkinIndex(e.SkinIndex) || !manager->gd[e.SkinIndex].ReservedBoolean ||
        !manager->IsValidImgIndex(e.MaskIndex))
        return R;
    const TsMaskData& m = manager->ma[e.MaskIndex];
    TRect r = R;
    switch (Side) {
    case asLeft: r.right += m.Width - 17; break;
    case asTop: r.bottom += m.Height - 17; break;
    case asRight: r.left -= m.Width - 17; break;
    case asBottom: r.top -= m.Height - 17; break;
    }
    return r;
}

void PaintScrollArrow(const TRect& R, Integer State, TBitmap* Bitmap, TacSide Side, TsCommonData* SkinData)
{
    TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
    if (R.IsEmpty() || !manager || !Bitmap)
        return;
    const TacConstElementData& e = manager->ConstData.ScrollBtns[Side];
    TRect p = ExtendScrollArrowRect(R, SkinData, Side);
    { const TRect bounds(0, 0, Bitmap->GetWidth(), Bitmap->GetHeight()); IntersectRect(&p, &p, &bounds); }
    if (p.IsEmpty())
        return;
    TOwned<TBitmap> bmp(MakeBitmap32(p.Width(), p.Height()));
    TCacheInfo ci;
    ci.Bmp = Bitmap;
    ci.X = p.left;
    ci.Y = p.top;
    ci.Ready = true;
    if (manager->IsValidSkinIndex(e.SkinIndex)) {
        State = std::min<Integer>(State, manager->gd[e.SkinIndex].States - 1);
        PaintSkinItemWithBorderImage(e.SkinIndex, e.MaskIndex, e.BGIndex[State > 0 ? 1 : 0], ci, std::max(0, State),
                                     TRect(0, 0, p.Width(), p.Height()), TPoint(0, 0), bmp.get(), manager);
    } else
        BitBlt(bmp->GetCanvas()->GetHandle(), 0, 0, p.Width(), p.Height(), Bitmap->GetCanvas()->GetHandle(), p.left,
               p.top, SRCCOPY);
    const TRect inR(R.left - p.left, R.top - p.top, R.right - p.left, R.bottom - p.top);
    if (!manager->IsValidImgIndex(e.GlyphIndex)) {
        const int state = std::clamp<Integer>(State, 0, 2);
        TColor color = manager->IsValidSkinIndex(e.SkinIndex) ? manager->gd[e.SkinIndex].Props[state].FontColor.Color
                                                             : manager->GetGlobalFontColor();
        TRect g = inR;
        if (state == 2 && ContentShiftsOnClick(e.SkinIndex, manager))
            OffsetRect(&g, 1, 1);
        static constexpr int directions[4] = {0, 1, 2, 3};
        PaintArrowGlyph(bmp.get(), color, clNone, g, directions[Side], 0, 0,
                        static_cast<int>(manager->Options.ActualArrowStyle()));
    } else {
        const TsMaskData& g = manager->ma[e.GlyphIndex];
        const int gw = g.Width, gh = g.Height;
        const int x = inR.left + static_cast<int>(floor((inR.Width() - gw) / 2.0));
        const int y = inR.top + static_cast<int>(floor((inR.Height() - gh) / 2.0));
        DrawSkinImageAt(bmp.get(), TRect(x, y, x + gw, y + gh), std::min<Integer>(State, g.ImageCount - 1), 1, g, ci);
    }
    BitBlt(Bitmap->GetCanvas()->GetHandle(), p.left, p.top, p.Width(), p.Height(), bmp->GetCanvas()->GetHandle(), 0,
           0, SRCCOPY);
}

void PaintScrollThumb(const TRect& R, Integer State, TBitmap* Bitmap, bool Vertical, TsSkinManager* SkinManager)
{
    if (R.IsEmpty() || !SkinManager || !Bitmap)
        return;
    const TacConstElementData& e = SkinManager->ConstData.Sliders[Vertical ? 1 : 0];
    if (!SkinManager->IsValidSkinIndex(e.SkinIndex))
        return;
    TOwned<TBitmap> bmp(MakeBitmap32(R.Width(), R.Height()));
    TCacheInfo ci;
    ci.Bmp = Bitmap;
    ci.X = R.left;
    ci.Y = R.top;
    ci.Ready = true;
    PaintSkinItemWithBorderImage(e.SkinIndex, e.MaskIndex, e.BGIndex[State > 0 ? 1 : 0], ci, State,
                                 TRect(0, 0, R.Width(), R.Height()), TPoint(0, 0), bmp.get(), SkinManager);
    if (SkinManager->IsValidImgIndex(e.GlyphIndex)) {
        const TsMaskData& g = SkinManager->ma[e.GlyphIndex];
        const int x = (R.Width() - g.Width) / 2, y = (R.Height() - g.Height) / 2;
        DrawSkinImageAt(bmp.get(), TRect(x, y, x + g.Width, y + g.Height), std::min<Integer>(State, g.ImageCount - 1),
                        1, g, ci);
    }
    BitBlt(Bitmap->GetCanvas()->GetHandle(), R.left, R.top, R.Width(), R.Height(), bmp->GetCanvas()->GetHandle(), 0, 0,
           SRCCOPY);
}

void PaintHorzScrollBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbPos, Integer PressedPart, const TRect& R)
{
    PaintBar(Bar, Wnd, DC, ThumbPos, PressedPart, R, false);
}

void PaintVertScrollBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbPos, Integer PressedPart, const TRect& R)
{
    PaintBar(Bar, Wnd, DC, ThumbPos, PressedPart, R, true);
}

void PaintScrollBar(TacScrollBar* Bar, HWND Wnd, HDC DC, Integer ThumbPos, Integer PressedPart, const TRect& R)
{
    if (Bar && Bar->nBarType == SB_VERT)
        PaintVertScrollBar(Bar, Wnd, DC, ThumbPos, PressedPart, R);
    else
        PaintHorzScrollBar(Bar, Wnd, DC, ThumbPos, PressedPart, R);
}

void TacScrollWnd::PaintScrollBars(HWND Wnd, Integer ThumbPos, HDC DC)
{
    if (!SkinData || SkinData->CheckUpdating())
        return;
    TControl* control = SkinData->FOwnerControl;
    if (control && control->ControlState.Contains(csCreating))
        return;
    if (!IsWindowVisible(Wnd) && !(control && control->GetVisible()))
        return;
    if (SkinData->BGChanged)
        SendWndMessage(Wnd, SkinCommandMessage, SkinCommandWParam(SKC_BUILD_CACHE), 0);
    HDC dc = DC;
    TWindowDC windowDC(DC ? nullptr : Wnd);
    if (!dc)
        dc = windowDC.Get();
    TRect wr;
    GetWindowRect(Wnd, &wr);
    for (TacScrollBar* bar : {sBarHorz, sBarVert}) {
        if (!bar || !bar->fScrollVisible)
            continue;
        TRect r;
        GetBarRect(bar->nBarType, Wnd, r);
        OffsetRect(&r, -wr.left, -wr.top);
        const int pressed =
            ScrollTracking.TrackWnd == Wnd && ScrollTracking.CurrentBar == bar->nBarType ? ScrollTracking.ShownPressed
                                                                                           : -1;
        PaintScrollBar(bar, Wnd, dc, ThumbPos, pressed, r);
    }
    TRect corner = CornerRect(Wnd);
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (corner.IsEmpty() || !manager)
        return;
    TRect local = corner;
    OffsetRect(&local, -wr.left, -wr.top);
    TOwned<TBitmap> bmp(MakeBitmap32(local.Width(), local.Height()));
    const TacConstElementData& e = manager->ConstData.Scrolls[asLeft];
    HDC bdc = bmp->GetCanvas()->GetHandle();
    const RECT all{0, 0, local.Width(), local.Height()};
    const bool seeThrough = !manager->IsValidSkinIndex(e.SkinIndex) || manager->gd[e.SkinIndex].Props[0].Transparency == 100;
    if (seeThrough) {
        TCacheInfo ci = WindowBackground(this, Wnd);
        if (ci.Bmp)
            BitBlt(bdc, 0, 0, local.Width(), local.Height(), ci.Bmp->GetCanvas()->GetHandle(), local.left + ci.X,
                   local.top + ci.Y, SRCCOPY);
        else {
            TBrushHandle brush(CreateSolidBrush(ColorToRGB(manager->GetGlobalColor())));
            FillRect(bdc, &all, brush.Get());
        }
    } else {
        TColor color = manager->gd[e.SkinIndex].Props[0].Color;
        if (color == clFuchsia)
            color = manager->GetGlobalColor();
        if (!IsScrollBarEnabled(sBarHorz) || !IsScrollBarEnabled(sBarVert)) {
            const TColor controlColor = SkinData->BackgroundColor(SkinData->GetHotState(), Wnd);
            color = MixColors(ColorToRGB(color), ColorToRGB(controlColor), DisabledBlend);
        }
        TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
        FillRect(bdc, &all, brush.Get());
    }
    TRect cornerBar = corner;
    if (IsAtParentCorner(this, Wnd, cornerBar) && manager->IsValidImgIndex(manager->ConstData.GripRightBottom)) {
        const TsMaskData& g = manager->ma[manager->ConstData.GripRightBottom];
        TCacheInfo ci;
        ci.Bmp = bmp.get();
        ci.Ready = true;
        DrawSkinImageAt(bmp.get(),
                        TRect(local.Width() - g.Width, local.Height() - g.Height, local.Width(), local.Height()), 0, 1,
                        g, ci);
    }
    Blit(dc, local, bmp.get());
}

void TacScrollWnd::UpdateScrollBars(bool Repaint)
{
    if (InDestroying || !SkinData || SkinData->GetUpdating() || !IsWindowVisible(CtrlHandle) || !sBarHorz ||
        !sBarVert)
        return;
    ReadScrollInfo(sBarHorz, CtrlHandle);
    ReadScrollInfo(sBarVert, CtrlHandle);
    if (Repaint && !AnimationRunning)
        PaintScrollBars(CtrlHandle, -1, nullptr);
}

// ---------------------------------------------------------------------------
// The scroll-bar kind's life and window method.

void TacScrollWnd::InitSkinData()
{
    cxLeftEdge = -1;
    ScrollsInitialized = false;
    SkinData = New<TsScrollWndData>(nullptr, true);
    SkinData->Loading = true;
}

void TacScrollWnd::BeforeDestruction()
{
    InDestroying = true;
    EndScrollTracking(CtrlHandle);
    ReleaseCacheFont(this);
    TacMainWnd::BeforeDestruction();
}

TacScrollWnd::~TacScrollWnd()
{
    for (TacScrollBar** bar : {&sBarHorz, &sBarVert})
        if (*bar) {
            (*bar)->sw = nullptr;
            FreeAndNil(*bar);
        }
    // The system's bars come back.
    if (IsWindow(CtrlHandle) && !(Application && Application->Terminated()))
        SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0, FrameChangeFlags);
}

LRESULT TacScrollWnd::Prev(TMessage& Message)
{
    Message.Result = CallPrevWndProc(CtrlHandle, Message.Msg, Message.LParam, Message.WParam);
    return Message.Result;
}

void TacScrollWnd::HandleWMNCCalcSize(TMessage& Message)
{
    auto* params = reinterpret_cast<RECT*>(Message.LParam);
    const RECT old = *params;
    const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    TControl* control = SkinData->FOwnerControl;
    const bool plainEdit = dynamic_cast<TCustomEdit*>(control) && !dynamic_cast<TCustomMemo*>(control);
    if (!plainEdit) {
        if (style & (WS_HSCROLL | WS_VSCROLL)) {
            // The replaced procedure lays out without bars; the style goes
            // back on every way out.
            struct TStyleGuard {
                TacScrollWnd* Self;
                LONG_PTR Style;
                ~TStyleGuard()
                {
                    SetWindowLongPtrW(Self->CtrlHandle, GWL_STYLE, Style);
                    Self->bPreventStyleChange = false;
                }
            } guard{this, style};
            bPreventStyleChange = true;
            SetWindowLongPtrW(CtrlHandle, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
            Prev(Message);
        } else
            Prev(Message);
        TsSkinManager* manager = SkinData->GetSkinManager();
        if (!dynamic_cast<TsSkinProvider*>(SkinData->FOwnerObject) && SkinData->COC != 10 && manager &&
            manager->IsValidSkinIndex(SkinData->SkinIndex)) {
            const int offset = manager->gd[SkinData->SkinIndex].ScrollBorderOffset;
            if (offset < 0 && params->left - old.left > 1)
                InflateRect(params, -offset, -offset);
        }
    } else
        Prev(Message);
    cxLeftEdge = params->left - old.left;
    cxRightEdge = old.right - params->right;
    cyTopEdge = params->top - old.top;
    cyBottomEdge = old.bottom - params->bottom;
    sBarHorz->fScrollFlags = (style & WS_HSCROLL) ? 8 : 0;
    const int horz = GetScrollBarMetric(sBarHorz, true);
    sBarHorz->fScrollVisible = (sBarHorz->fScrollFlags & 8) && params->bottom - params->top >= horz;
    if (sBarHorz->fScrollVisible)
        params->bottom -= horz;
    sBarVert->fScrollFlags = (style & WS_VSCROLL) ? 8 : 0;
    const int vert = GetScrollBarMetric(sBarVert, true);
    sBarVert->fScrollVisible = (sBarVert->fScrollFlags & 8) && params->right - params->left >= vert;
    if (sBarVert->fScrollVisible) {
        if (fLeftScrollbar)
            params->left += vert;
        else
            params->right -= vert;
    }
    ScrollsInitialized = true;
}

void TacScrollWnd::acWndProc(TMessage& Message)
{
    TControl* control = SkinData ? SkinData->FOwnerControl : nullptr;
    switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        if (!Destroyed) {
            EndScrollTracking(CtrlHandle);
            if (auto* parent = dynamic_cast<TWinControl*>(control))
                for (int i = parent->ControlCount() - 1; i >= 0; --i)
                    if (parent->Controls(i)->InheritsFrom(L"TSpeedButton"))
                        parent->Controls(i)->Perform(WM_DESTROY, 0, 0);
            TacMainWnd* self = this;
            if (OldWndProc || OldProc) {
                if (control) {
                    UnhookScrollWndHandler(CtrlHandle, false, false, self);
                    SendWndMessage(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
                } else {
                    ReleaseCacheFont(this);
                    Prev(Message);
                    if (Message.Result == 0)
                        UnhookScrollWndHandler(CtrlHandle, false, false, self);
                }
                Message.Result = 1;
            } else
                Message.Result = SendWndMessage(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
            if (SkinData && SkinData->FCacheBmp)
                SkinData->FCacheBmp->SetSize(0, 0);
            return;
        }
        break;
    case WM_UPDATEUISTATE:
        if (!Destroyed)
            return;
        break;
    case 0xB033:   // CM_RECREATEWND
        if (!Destroyed && !IsWindowVisible(CtrlHandle) && control && control->InheritsFrom(L"TCustomComboBox") &&
            control->GetName().empty())
            return;
        break;
    default:
        break;
    }
    // A destroyed handler still in a bare window's chain passes everything
    // on: the window's own procedure must see WM_NCDESTROY.
    if (Destroyed) {
        Prev(Message);
        return;
    }
    if (!SkinData || !SkinData->Skinned(false)) {
        if (Message.Msg == SkinCommandMessage && SkinData) {
            if (Message.WParamHi() == SKC_SKIN_LOADED && Message.LParam == reinterpret_cast<LPARAM>(SkinManager))
                SkinData->UpdateIndexes(true);
            else if (Message.WParamHi() == SKC_QUERY_SKIN_DATA) {
                Message.Result = reinterpret_cast<LRESULT>(SkinData);
                return;
            }
        }
        Prev(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_NCCALCSIZE:
        HandleWMNCCalcSize(Message);
        return;
    case WM_NCPAINT:
        if (IsWindowVisible(CtrlHandle)) {
            if (!ScrollsInitialized)
                SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0, FrameChangeFlags);
            Prev(Message);
            if (!SkinData->GetUpdating() && !DontRepaint && ScrollsInitialized)
                PaintScrollBars(CtrlHandle, -1, nullptr);
            return;
        }
        Prev(Message);
        return;
    case WM_NCHITTEST:
        Message.Result = HandleWMNCHitTest(CtrlHandle, Message.WParam, Message.LParam);
        return;
    case WM_NCMOUSEMOVE:
        Message.Result = HandleWMNCMouseMove(CtrlHandle, Message.WParam, Message.LParam);
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) {
            Message.Result = HandleWMNCLButtonDown(CtrlHandle, Message.WParam, Message.LParam);
            return;
        }
        break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        if (Message.WParam == HTHSCROLL || Message.WParam == HTVSCROLL) {
            Message.Result = 0;
            return;
        }
        break;
    case WM_MOUSEMOVE:
        Message.Result = HandleWMMouseMove(CtrlHandle, Message.WParam, Message.LParam);
        return;
    case WM_LBUTTONUP:
        Message.Result = HandleWMLButtonUp(CtrlHandle, Message.WParam, Message.LParam);
        return;
    case WM_TIMER:
        Message.Result = HandleWMTimer(CtrlHandle, Message.WParam, Message.LParam);
        if (!DontRepaint && !fThumbTracking)
            UpdateScrollBars(true);
        return;
    case WM_CAPTURECHANGED:
        if (ScrollTracking.TrackWnd == CtrlHandle && ScrollTracking.PressedPart != -1 &&
            reinterpret_cast<HWND>(Message.LParam) != CtrlHandle)
            EndScrollTracking(CtrlHandle);
        break;
    case WM_STYLECHANGED:
        if (bPreventStyleChange) {
            Message.Result = 0;
            return;
        }
        if (Message.WParam == static_cast<WPARAM>(GWL_EXSTYLE))
            fLeftScrollbar = (reinterpret_cast<const STYLESTRUCT*>(Message.LParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
        Prev(Message);
        return;
    case WM_NOTIFY:
        Prev(Message);
        return;
    case WM_SYSCOMMAND:
        if (Message.WParam == 0xF077)
            return;
        break;
    case SkinCommandMessage:
        HandleCommand(Message);
        return;
    default:
        break;
    }
    Prev(Message);
    switch (Message.Msg) {
    case WM_MOUSEWHEEL:
    case 0xB043:   // CM_MOUSEWHEEL
        if (!DontRepaint)
            UpdateScrollBars(true);
        break;
    case 0xB007:   // CM_FOCUSCHANGED
        UpdateScrollBars(true);
        break;
    default:
        break;
    }
}

void TacScrollWnd::HandleCommand(TMessage& Message)
{
    const LPARAM ownManager = reinterpret_cast<LPARAM>(SkinData->GetSkinManager());
    const bool ownThread = !InSendMessage();
    switch (Message.WParamHi()) {
    case SKC_SKIN_LOADED:
        if (Message.LParam == ownManager) {
            SkinData->UpdateIndexes(true);
            Prev(Message);
            BroadcastSkinMessage(SkinData->FOwnerControl, CtrlHandle, Message);
            return;
        }
        break;
    case SKC_SKIN_REMOVED:
        if (Message.LParam == ownManager)
            RestoreStdParams();
        break;
    case SKC_REPAINT_SKIN:
        if (Message.LParam == ownManager) {
            SkinData->UpdateIndexes(true);
            SkinData->BGChanged = true;
        }
        break;
    case SKC_UPDATE_FINISHED:
        if (dynamic_cast<TsSkinProvider*>(SkinData->FOwnerObject) ||
            (SkinData->FOwnerObject && SkinData->FOwnerObject->ClassName() == L"TsFrameAdapter"))
            break;
        if (SkinData->FUpdating && !SkinData->CheckUpdating(true)) {
            RedrawWindow(CtrlHandle, nullptr, nullptr, 0x585);
            if (auto* parent = dynamic_cast<TWinControl*>(SkinData->FOwnerControl))
                RefreshChildControls(parent);
        }
        return;
    case SKC_QUERY_HANDLED:
        Message.Result = 1;
        return;
    case SKC_SET_UPDATING:
        SkinData->FUpdating = Message.WParamLo() == 1;
        break;
    case SKC_QUERY_HANDLER:
        Message.Result = reinterpret_cast<LRESULT>(static_cast<TacMainWnd*>(this));
        return;
    case SKC_SET_SECTION:
        if (Message.LParam != 0 && ownThread) {
            SkinData->SetSkinSection(reinterpret_cast<const wchar_t*>(Message.LParam));
            Message.Result = 1;
        } else
            Message.Result = 0;
        return;
    case SKC_QUERY_COMPLEX_BG:
        Message.Result = SkinData->ChildRepaintNeeded() ? 1 : 0;
        return;
    case SKC_QUERY_COLOR:
        Prev(Message);
        if (Message.Result == 0)
            Message.Result = static_cast<LRESULT>(SkinData->BackgroundColor(0, CtrlHandle));
        return;
    case SKC_BUILD_CACHE:
        Prev(Message);
        if (SkinData->BGChanged && !SkinData->GetUpdating()) {
            TPoint size;
            GetWindowGeometry(CtrlHandle, ParentWnd, WndRect, WndPos, size, ParentRect);
            WndSize = TSize(size.x, size.y);
            PrepareCtrlCache(SkinData, CtrlHandle, DlgMode);
            PaintBorderCorners(SkinData, 0, this);
        }
        return;
    case SKC_MOUSE_IN:
    case SKC_MOUSE_OUT: {
        TMessage mouse{static_cast<UINT>(Message.WParamHi() == SKC_MOUSE_IN ? 0xB013 : 0xB014), 0, 0, 0};
        HandleSkinMessage(mouse, SkinData);
        return;
    }
    case SKC_QUERY_BACKGROUND:
        if (Message.LParam == 0 || !ownThread) {
            Message.Result = 0;
            return;
        }
        Prev(Message);
        if (!reinterpret_cast<TacBGRequest*>(Message.LParam)->BgKind)
            SkinData->AnswerBGRequest(*reinterpret_cast<TacBGRequest*>(Message.LParam), 0, nullptr);
        return;
    case SKC_FILL_SKIN_INDEX:
        if (!ownThread) {
            Message.Result = 0;
            return;
        }
        break;
    case SKC_QUERY_SKIN_DATA:
        Message.Result = reinterpret_cast<LRESULT>(SkinData);
        return;
    case SKC_QUERY_APPLICATION:
        Message.Result = reinterpret_cast<LRESULT>(Application);
        return;
    case SKC_QUERY_SCALE:
        Message.Result = SkinData->GetScalePercent();
        return;
    default:
        break;
    }
    Prev(Message);
}
