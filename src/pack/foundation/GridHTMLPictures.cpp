// Pictures in either variant: finding what an IMG source names, its place
// in the line, its hit test and its drawing, and BODY backgrounds.
#include "GridHTMLEngine.h"

#include "HTMLMarkup.h"
#include "ImgList.h"
#include "PictureContainer.h"
#include "SysUtils.h"
#include <algorithm>
#include <commctrl.h>
#include <shellapi.h>

namespace gridhtml {

namespace {

bool Contains(const String& s, const wchar_t* part) { return s.find(part) != String::npos; }

// A small or large icon of the system image list: by index, or the icon of
// a file or folder (of such a name when it does not exist).
TPictureRef SystemIcon(const String& rest, bool large)
{
    TPictureRef picture;
    SHFILEINFOW info{};
    const UINT size = large ? SHGFI_LARGEICON : SHGFI_SMALLICON;
    Integer index = 0;
    HIMAGELIST list = nullptr;
    if (HTMLValidNumber(rest, index)) {
        list = reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoW(L"", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | size | SHGFI_USEFILEATTRIBUTES));
    } else {
        const DWORD attributes = GetFileAttributesW(rest.c_str());
        UINT flags = SHGFI_SYSICONINDEX | size;
        if (attributes == INVALID_FILE_ATTRIBUTES)
            flags |= SHGFI_USEFILEATTRIBUTES;
        list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
            rest.c_str(), attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : 0, &info,
            sizeof(info), flags));
        index = info.iIcon;
    }
    if (!list)
        return picture;
    picture.Kind = TPictureRef::pkSystemIcon;
    picture.SystemList = list;
    picture.Index = index;
    ImageList_GetIconSize(list, &picture.Width, &picture.Height);
    return picture;
}

} // namespace

TPictureRef TEngine::FindPicture(const String& source, bool listsToo)
{
    TDrawCall& c = call_;
    TPictureRef picture;
    // The panel hands sources over as written; the prefixes are any case.
    const String upper = HTMLUpperCase(source);
    if (listsToo && Contains(upper, L"IDX:") && c.Images) {
        const Integer index = HTMLLeadingInteger(source.substr(4));
        if (index >= 0 && index < c.Images->Count()) {
            picture.Kind = TPictureRef::pkImageList;
            picture.Images = c.Images;
            picture.Index = index;
            picture.Width = c.Images->GetWidth();
            picture.Height = c.Images->GetHeight();
        }
    }
    if (listsToo && Contains(upper, L"SSYS:"))
        picture = SystemIcon(source.substr(5), false);
    else if (listsToo && Contains(upper, L"LSYS:"))
        picture = SystemIcon(source.substr(5), true);

    TGraphic* graphic = nullptr;
    if (!Contains(source, L":") && c.PictureContainer)
        graphic = c.PictureContainer->FindPicture(source);
    if (Contains(source, L"://") && c.PictureCache) {
        graphic = c.PictureCache->FindPicture(source);
        if (!graphic) {
            // Loaded once; a reference that loads nothing stays cached empty.
            THTMLPicture* loaded = c.PictureCache->AddPicture();
            loaded->SetAsynch(false);
            loaded->LoadFromURL(source);
            graphic = loaded;
        }
    }
    if (graphic && !graphic->GetEmpty()) {
        picture.Kind = TPictureRef::pkGraphic;
        picture.Graphic = graphic;
        picture.Width = graphic->GetWidth();
        picture.Height = graphic->GetHeight();
    }
    return picture;
}

void TEngine::DrawPicture(const TPictureRef& picture, const TRect& rect, bool sized)
{
    auto drawListImage = [&picture](TCanvas* canvas, int x, int y) {
        if (picture.Kind == TPictureRef::pkImageList)
            picture.Images->Draw(canvas, x, y, picture.Index, true);
        else
            ImageList_Draw(picture.SystemList, picture.Index, canvas->GetHandle(), x, y, ILD_TRANSPARENT);
    };
    switch (picture.Kind) {
    case TPictureRef::pkImageList:
    case TPictureRef::pkSystemIcon:
        if (call_.Print) {
            // Printers take a bitmap stretched to the printer's resolution.
            TOwned<TBitmap> image(New<TBitmap>(picture.Width, picture.Height));
            drawListImage(image->GetCanvas(), 0, 0);
            const TCopyMode mode = canvas_->GetCopyMode();
            canvas_->SetCopyMode(cmSrcCopy);
            canvas_->CopyRect(Bounds(rect.left, rect.top, static_cast<int>(Round(picture.Width * call_.ResFactor)),
                                     static_cast<int>(Round(picture.Height * call_.ResFactor))),
                              image->GetCanvas(), TRect(0, 0, picture.Width, picture.Height));
            canvas_->SetCopyMode(mode);
        } else {
            drawListImage(canvas_, rect.left, rect.top);
        }
        break;
    case TPictureRef::pkGraphic: {
        auto* html = dynamic_cast<THTMLPicture*>(picture.Graphic);
        if (sized) {
            if (html)
                html->SetStretch(true);
            canvas_->StretchDraw(rect, picture.Graphic);
        } else if (html && html->FrameCount() > 1) {
            // Frames of an animation sit at their own place on the animation's area.
            TBrush* brush = canvas_->GetBrush();
            brush->SetColor(startBrushColor_);
            brush->SetStyle(bsSolid);
            canvas_->FillRect(TRect(rect.left, rect.top, rect.left + html->MaxWidth(), rect.top + html->MaxHeight()));
            brush->SetStyle(bsClear);
            canvas_->Draw(rect.left + html->FrameXPos(), rect.top + html->FrameYPos(), html);
        } else {
            canvas_->Draw(rect.left, rect.top, picture.Graphic);
        }
        break;
    }
    default:
        break;
    }
}

bool TEngine::Picture(TLinePass& pass, const String& tag, TLineMetrics& m)
{
    TDrawCall& c = call_;
    const String upper = HTMLUpperCase(tag);
    ++state_.PictureCount;
    // The panel keeps the letter case of SRC and has no hover pictures.
    String source = HTMLTagAttribute(Panel() ? tag : upper, L"SRC");
    String alt;
    if (!Panel() && state_.PictureCount == hoverPicture_ && HTMLTagAttribute(upper, L"ALT", alt))
        source = alt;
    const TPictureRef picture = FindPicture(source, true);
    if (picture.Kind == TPictureRef::pkNone)
        return true;

    String value;
    const bool hasWidth = HTMLTagAttribute(upper, L"WIDTH", value);
    int w = hasWidth ? HTMLLeadingInteger(value) : picture.Width;
    const bool hasHeight = HTMLTagAttribute(upper, L"HEIGHT", value);
    int h = hasHeight ? HTMLLeadingInteger(value) : picture.Height;
    if (hasWidth && !hasHeight && picture.Width > 0)
        h = static_cast<int>(Round(static_cast<double>(picture.Height) * w / picture.Width));
    if (hasHeight && !hasWidth && picture.Height > 0)
        w = static_cast<int>(Round(static_cast<double>(picture.Width) * h / picture.Height));

    HDC dc = canvas_->GetHandle();
    const int layoutW = MulDiv(w, GetDeviceCaps(dc, LOGPIXELSX), 96);
    const int layoutH = MulDiv(h, GetDeviceCaps(dc, LOGPIXELSY), 96);

    // A picture wider than the whole line stays where it is.
    if (layoutW < pass.Width && pass.X + layoutW > pass.Width) {
        pass.Full = true;
        return false;
    }

    const int hx = c.HitX - pass.LineLeft;
    if (state_.InAnchor && state_.AnchorHasRef && pass.X < hx && hx < pass.X + layoutW &&
        pass.Line.top < c.HitY && c.HitY < pass.Line.top + layoutH) {
        pass.ItemHit = true;
        c.AnchorVal = state_.Href;
        if (!Panel() || !state_.Title.empty())
            c.AnchorHint = state_.Title;
        hoverPicture_ = state_.PictureCount;
    }

    const bool sized = hasWidth || hasHeight;
    if (Drawing(pass)) {
        int top = pass.Line.top;
        // The panel sets a small picture on the text's baseline, or as ALIGN says.
        const bool ownSize = picture.Kind != TPictureRef::pkGraphic || !sized;
        const int th = Panel() && ownSize ? TextHeight() : 0;
        if (h < th) {
            const String align = HTMLUpperCase(HTMLTagAttribute(tag, L"ALIGN"));
            if (align == L"MIDDLE")
                top += (th - h) / 2;
            else if (align != L"TOP")
                top += th - h;
        }
        DrawPicture(picture, TRect(pass.Line.left, top, pass.Line.left + w, top + h), sized);
    }
    pass.X += layoutW;
    pass.Line.left += layoutW;
    m.Height = std::max(m.Height, layoutH);
    pass.HasContent = true;

    if (Contains(upper, L"ALIGN")) {
        const int th = TextHeight();
        if (Contains(upper, L"\"TOP"))
            m.Baseline = m.Height - th;
        else if (Contains(upper, L"\"MIDDLE"))
            m.Baseline = (m.Height - th) / 2;
    }
    // A wrapped picture leaves its line as tall as the text.
    if (Panel() && Contains(upper, L" WRAP")) {
        m.Height = TextHeight();
        m.Baseline = 0;
    }
    return true;
}

void TEngine::CornerPicture(const TLinePass& pass, const String& source, bool right)
{
    const TPictureRef picture = FindPicture(source, true);
    if (picture.Width <= 0 || picture.Height <= 0)
        return;
    if (picture.Kind != TPictureRef::pkGraphic) {
        // List images and icons once at the corner of the line.
        const int left = right ? pass.Line.right - picture.Width : pass.Line.left;
        DrawPicture(picture, TRect(left, pass.Line.top, left + picture.Width, pass.Line.top + picture.Height), false);
        return;
    }
    if (!right)
        return TileBackground(source);
    // A column down the right edge, stepping by the picture's height.
    const TRect& fr = call_.Rect;
    const TClipToRect clip(canvas_->GetHandle(), fr);
    for (int y = fr.top; y < fr.bottom; y += picture.Height)
        canvas_->Draw(fr.right - picture.Width, y, picture.Graphic);
}

void TEngine::TileBackground(const String& source)
{
    const TPictureRef picture = FindPicture(source, false);
    if (picture.Kind != TPictureRef::pkGraphic || picture.Width <= 0 || picture.Height <= 0)
        return;
    const TRect& fr = call_.Rect;
    const TClipToRect clip(canvas_->GetHandle(), fr);
    for (int y = 0; y < fr.Height(); y += picture.Height)
        for (int x = 0; x < fr.Width(); x += picture.Width)
            canvas_->Draw(fr.left + x, fr.top + y, picture.Graphic);
}

} // namespace gridhtml
