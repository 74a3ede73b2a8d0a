// TCanvas: the canvas's pen, brush and font selected into a device context.
#include "Graphics.h"

namespace {

constexpr int RasterOps[] = {
    R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT,
    R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
    R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN,
};

} // namespace

TCanvas::TCanvas()
    : font_(New<TFont>()), pen_(New<TPen>()), brush_(New<TBrush>())
{
    // A changed object must leave the DC before its handle is replaced.
    font_->OnChange = [this](TObject*) {
        if (state_.Contains(csFontValid)) {
            SelectObject(handle_, GetStockObject(SYSTEM_FONT));
            state_.Exclude(csFontValid);
        }
    };
    pen_->OnChange = [this](TObject*) {
        if (state_.Contains(csPenValid)) {
            SelectObject(handle_, GetStockObject(BLACK_PEN));
            state_.Exclude(csPenValid);
        }
    };
    brush_->OnChange = [this](TObject*) {
        if (state_.Contains(csBrushValid)) {
            SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
            state_.Exclude(csBrushValid);
        }
    };
}

TCanvas::~TCanvas()
{
    // Derived canvases free their own DC before this runs; a lent one is
    // only given back its stock objects.
    SetHandle(nullptr);
}

HDC TCanvas::GetHandle()
{
    // Callers draw on the handle with the platform's own calls (DrawText and
    // the like), which must find the canvas's font, pen and brush selected.
    RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
    return handle_;
}

void TCanvas::SetHandle(HDC Value)
{
    if (Value == handle_)
        return;
    if (handle_)
        DeselectHandles();
    handle_ = Value;
    state_.Clear();
    if (handle_)
        state_.Include(csHandleValid);
}

void TCanvas::DeselectHandles()
{
    if (!handle_)
        return;
    if (state_.Contains(csPenValid))
        SelectObject(handle_, GetStockObject(BLACK_PEN));
    if (state_.Contains(csBrushValid))
        SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
    if (state_.Contains(csFontValid))
        SelectObject(handle_, GetStockObject(SYSTEM_FONT));
    state_.Exclude(csPenValid).Exclude(csBrushValid).Exclude(csFontValid);
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::RequiredState(TCanvasState ReqState)
{
    TCanvasState needed = ReqState - state_;
    if (needed.Empty())
        return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!handle_)
            throw EInvalidOperation(L"Canvas does not allow drawing");
        state_.Include(csHandleValid);
    }
    if (needed.Contains(csFontValid))
        SelectFont();
    if (needed.Contains(csPenValid))
        SelectPen();
    if (needed.Contains(csBrushValid))
        SelectBrush();
}

void TCanvas::SelectFont()
{
    SelectObject(handle_, font_->GetHandle());
    SetTextColor(handle_, ColorToRGB(font_->GetColor()));
    state_.Include(csFontValid);
}

void TCanvas::SelectPen()
{
    SelectObject(handle_, pen_->GetHandle());
    SetROP2(handle_, RasterOps[pen_->GetMode()]);
    state_.Include(csPenValid);
}

void TCanvas::SelectBrush()
{
    HBRUSH brush = brush_->GetHandle();
    UnrealizeObject(brush);
    SelectObject(handle_, brush);
    SetBkColor(handle_, ColorToRGB(brush_->GetColor()));
    SetBkMode(handle_, brush_->GetStyle() == bsSolid ? OPAQUE : TRANSPARENT);
    state_.Include(csBrushValid);
}

void TCanvas::Lock()
{
    lock_.lock();
    ++lockCount_;
}

bool TCanvas::TryLock()
{
    if (!lock_.try_lock())
        return false;
    ++lockCount_;
    return true;
}

void TCanvas::Unlock()
{
    --lockCount_;
    lock_.unlock();
}

void TCanvas::Changing()
{
    FireEvent(OnChanging, this);
}

void TCanvas::Changed()
{
    FireEvent(OnChange, this);
}

// ---------------------------------------------------------------------------
void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    RequiredState({csHandleValid, csPenValid});
    ::Arc(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Chord(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Pie(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Ellipse(handle_, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Rectangle(handle_, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::RoundRect(handle_, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count)
{
    if (!Points || Count <= 0)
        return;
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Polygon(handle_, Points, Count);
    Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count)
{
    if (!Points || Count <= 0)
        return;
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Polyline(handle_, Points, Count);
    Changed();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& Points)
{
    // A Bezier chain is a start point and three points per segment.
    if (Points.size() < 4 || (Points.size() - 1) % 3 != 0)
        return;
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::PolyBezier(handle_, Points.data(), static_cast<DWORD>(Points.size()));
    Changed();
}

void TCanvas::MoveTo(int X, int Y)
{
    RequiredState({csHandleValid});
    MoveToEx(handle_, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(handle_, X, Y);
    Changed();
}

TPoint TCanvas::GetPenPos()
{
    RequiredState({csHandleValid});
    POINT p{};
    GetCurrentPositionEx(handle_, &p);
    return p;
}

// ---------------------------------------------------------------------------
void TCanvas::FillRect(const TRect& Rect)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FillRect(handle_, &Rect, brush_->GetHandle());
    Changed();
}

void TCanvas::FrameRect(const TRect& Rect)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FrameRect(handle_, &Rect, brush_->GetHandle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::DrawFocusRect(handle_, &Rect);
    Changed();
}

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ExtFloodFill(handle_, X, Y, ColorToRGB(Color),
                 FillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
    Changed();
}

TColor TCanvas::GetPixels(int X, int Y)
{
    RequiredState({csHandleValid});
    return static_cast<TColor>(GetPixel(handle_, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    Changing();
    RequiredState({csHandleValid, csPenValid});
    SetPixel(handle_, X, Y, ColorToRGB(Value));
    Changed();
}

// ---------------------------------------------------------------------------
void TCanvas::TextOut(int X, int Y, const String& Text)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    ExtTextOutW(handle_, X, Y, static_cast<UINT>(textFlags_), nullptr, Text.c_str(),
                static_cast<UINT>(Text.size()), nullptr);
    // The pen continues after the text, so that outputs can be chained.
    MoveTo(X + TextWidth(Text), Y);
    Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const String& Text)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    UINT options = ETO_CLIPPED | static_cast<UINT>(textFlags_);
    if (brush_->GetStyle() != bsClear)
        options |= ETO_OPAQUE;
    ExtTextOutW(handle_, X, Y, options, &Rect, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const String& Text)
{
    RequiredState({csHandleValid, csFontValid});
    SIZE size{};
    GetTextExtentPoint32W(handle_, Text.c_str(), static_cast<int>(Text.size()), &size);
    return size;
}

// ---------------------------------------------------------------------------
void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (!Graphic || Graphic->GetEmpty())
        return;
    RequiredState({csHandleValid});
    Graphic->Draw(this, Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()));
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic)
{
    if (!Graphic || Graphic->GetEmpty())
        return;
    RequiredState({csHandleValid});
    Graphic->Draw(this, Rect);
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source)
{
    if (!Canvas)
        return;
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    Canvas->RequiredState({csHandleValid, csBrushValid});
    int oldMode = SetStretchBltMode(handle_, COLORONCOLOR);
    StretchBlt(handle_, Dest.left, Dest.top, Dest.Width(), Dest.Height(), Canvas->handle_,
               Source.left, Source.top, Source.Width(), Source.Height(), copyMode_);
    SetStretchBltMode(handle_, oldMode);
    Changed();
}

TRect TCanvas::GetClipRect()
{
    RequiredState({csHandleValid});
    RECT r{};
    GetClipBox(handle_, &r);
    return r;
}
