// Shared by the GDI+ unit's source files only: the native handles behind the
// wrappers (a nil wrapper gives a null handle) and the conversions between
// our values and the flat API's.
#pragma once

#include <gdiplus.h>

#include "AdvGDIP.h"
#include <algorithm>
#include <cstring>

namespace gp {
using namespace Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpHatch;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;
using Gdiplus::GpLineGradient;
using Gdiplus::GpMatrix;
using Gdiplus::GpPath;
using Gdiplus::GpPathGradient;
using Gdiplus::GpPen;
using Gdiplus::GpRegion;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStringFormat;
using Gdiplus::GpTexture;
} // namespace gp

struct TGPAccess {
    static gp::GpGraphics* Of(const TGPGraphics* o) { return static_cast<gp::GpGraphics*>(o ? o->nativeGraphics : nullptr); }
    static gp::GpPen* Of(const TGPPen* o) { return static_cast<gp::GpPen*>(o ? o->nativePen : nullptr); }
    static gp::GpBrush* Of(const TGPBrush* o) { return static_cast<gp::GpBrush*>(o ? o->nativeBrush : nullptr); }
    static gp::GpStringFormat* Of(const TGPStringFormat* o)
    {
        return static_cast<gp::GpStringFormat*>(o ? o->nativeFormat : nullptr);
    }
    static gp::GpPath* Of(const TGPGraphicsPath* o) { return static_cast<gp::GpPath*>(o ? o->nativePath : nullptr); }
    static gp::GpImage* Of(const TGPImage* o) { return static_cast<gp::GpImage*>(o ? o->nativeImage : nullptr); }
    static gp::GpMatrix* Of(const TGPMatrix* o) { return static_cast<gp::GpMatrix*>(o ? o->nativeMatrix : nullptr); }
    static gp::GpRegion* Of(const TGPRegion* o) { return static_cast<gp::GpRegion*>(o ? o->nativeRegion : nullptr); }
    static gp::GpFontFamily* Of(const TGPFontFamily* o)
    {
        return static_cast<gp::GpFontFamily*>(o ? o->nativeFamily : nullptr);
    }
    static gp::GpFont* Of(const TGPFont* o) { return static_cast<gp::GpFont*>(o ? o->nativeFont : nullptr); }
    static gp::GpImageAttributes* Of(const TGPImageAttributes* o)
    {
        return static_cast<gp::GpImageAttributes*>(o ? o->nativeImageAttr : nullptr);
    }

    // The shared generic families: sans-serif, serif, monospace.
    static TGPFontFamily*& GenericFamily(int index);

    // Wrappers over handles that a flat call handed out.
    template <class T>
    static std::unique_ptr<T> Adopt(void* native, Status status)
    {
        return std::unique_ptr<T>(new T(native, status));
    }
};

namespace {

template <class T>
auto N(const T* o)
{
    return TGPAccess::Of(o);
}
inline Status St(Gdiplus::Status s) { return static_cast<Status>(s); }
inline const Gdiplus::PointF* Pts(const TGPPointF* p) { return reinterpret_cast<const Gdiplus::PointF*>(p); }
inline const Gdiplus::Point* Pts(const TGPPoint* p) { return reinterpret_cast<const Gdiplus::Point*>(p); }
inline Gdiplus::PointF* Pts(TGPPointF* p) { return reinterpret_cast<Gdiplus::PointF*>(p); }
inline Gdiplus::Point* Pts(TGPPoint* p) { return reinterpret_cast<Gdiplus::Point*>(p); }
inline const Gdiplus::RectF* Rc(const TGPRectF* r) { return reinterpret_cast<const Gdiplus::RectF*>(r); }
inline const Gdiplus::Rect* Rc(const TGPRect* r) { return reinterpret_cast<const Gdiplus::Rect*>(r); }
inline Gdiplus::MatrixOrder Order(MatrixOrder o) { return static_cast<Gdiplus::MatrixOrder>(o); }
inline Gdiplus::CombineMode Combine(CombineMode c) { return static_cast<Gdiplus::CombineMode>(c); }
inline Gdiplus::ColorAdjustType Adjust(ColorAdjustType t) { return static_cast<Gdiplus::ColorAdjustType>(t); }
inline Gdiplus::WrapMode Wrap(WrapMode w) { return static_cast<Gdiplus::WrapMode>(w); }
// A length below 0 or past the text's end means the whole text.
inline int ClampLength(const String& text, int length)
{
    const int size = static_cast<int>(text.size());
    return length < 0 || length > size ? size : length;
}

static_assert(sizeof(TGPPointF) == sizeof(Gdiplus::PointF) && sizeof(TGPRectF) == sizeof(Gdiplus::RectF));
static_assert(sizeof(TGPPoint) == sizeof(Gdiplus::Point) && sizeof(TGPRect) == sizeof(Gdiplus::Rect));
static_assert(sizeof(TColorMatrix) == sizeof(Gdiplus::ColorMatrix) && sizeof(TColorMap) == sizeof(Gdiplus::ColorMap));
static_assert(HatchStyleTotal == static_cast<int>(Gdiplus::HatchStyleTotal));
static_assert(PropertyNotSupported == static_cast<int>(Gdiplus::PropertyNotSupported));
static_assert(SmoothingModeAntiAlias == static_cast<int>(Gdiplus::SmoothingModeAntiAlias));
static_assert(TextRenderingHintClearTypeGridFit == static_cast<int>(Gdiplus::TextRenderingHintClearTypeGridFit));

} // namespace
