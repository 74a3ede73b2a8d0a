// Skinned labels and the HTML label's links.
#include "sLabel.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "acEngineServices.h"
#include "sCommonData.h"
#include "acLibraryGlobals.h"
#include "sConst.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include "sSkinSection.h"
#include "sVclUtils.h"
#include <shellapi.h>

namespace {

bool ManagerActive(TsSkinManager* Manager)
{
    return Manager && Manager->GetActive();
}

bool EndsWithWordEllipsis(TEllipsisPosition P)
{
    return P == epEndEllipsis || P == epWordEllipsis;
}

} // namespace

// ---------------------------------------------------------------------------
TsCustomLabel::TsCustomLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{
    SetTransparent(true);
}

TsSkinManager* TsCustomLabel::GetSkinManager() const
{
    return FSkinManager ? FSkinManager : DefaultManager;
}

void TsCustomLabel::SetSkinManager(TsSkinManager* Value)
{
    if (FSkinManager == Value)
        return;
    if (FSkinManager)
        FSkinManager->RemoveFreeNotification(this);
    FSkinManager = Value;
    if (Value)
        Value->FreeNotification(this);
    FSkinIndex = -1;
    Invalidate();
}

void TsCustomLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomLabel::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSkinManager) {
        FSkinManager = nullptr;
        FSkinIndex = -1;
    }
}

void TsCustomLabel::SetSkinSection(const String& Value)
{
    if (FSkinSection == Value)
        return;
    FSkinSection = Value;
    FSkinIndex = -1;
    Invalidate();
}

void TsCustomLabel::SetEllipsisPosition(TEllipsisPosition Value)
{
    if (FEllipsisPosition == Value)
        return;
    FEllipsisPosition = Value;
    Invalidate();
}

Integer TsCustomLabel::SkinIndex()
{
    TsSkinManager* manager = GetSkinManager();
    if (!ManagerActive(manager) || FSkinSection.empty())
        return -1;
    if (FSkinIndex < 0)
        FSkinIndex = manager->GetSkinIndex(FSkinSection);
    return FSkinIndex;
}

TColor TsCustomLabel::GetTextColor()
{
    TsSkinManager* manager = GetSkinManager();
    if (!ManagerActive(manager))
        return GetFont()->GetColor();
    TColor color = manager->Palette[pcLabelText];
    if (!GetEnabled())
        color = static_cast<TColor>(MixColors(ColorToRGB(color), ColorToRGB(manager->GetGlobalColor()), DisabledFontBlend));
    return color;
}

void TsCustomLabel::Loaded()
{
    TCustomLabel::Loaded();
    if (TsSkinManager* manager = GetSkinManager())
        manager->UpdateFontName(this);
}

void TsCustomLabel::Paint()
{
    if (Destroying())
        return;
    const Integer index = SkinIndex();
    if (index >= 0 && GetParent()) {
        TacBGRequest request;
        request.R = TRect(GetBoundsRect());
        GetControlBGInfo(request, this, false);
        const TCacheInfo ci = BGInfoToCacheInfo(request);
        PaintSkinItemToDC(index, ci, 0, TRect(0, 0, GetWidth(), GetHeight()), TPoint(GetLeft(), GetTop()),
                          GetCanvas()->GetHandle(), GetSkinManager());
    }
    TCustomLabel::Paint();
    FSkinIndex = -1;
}

void TsCustomLabel::DoDrawText(TRect& Rect, UINT Flags)
{
    String text = GetCaption();
    if ((Flags & DT_CALCRECT) && (text.empty() || (GetShowAccelChar() && text == L"&")))
        text += L" ";
    if (!GetShowAccelChar())
        Flags |= DT_NOPREFIX;
    TCanvas* canvas = GetCanvas();
    canvas->GetFont()->Assign(GetTextFont());
    if (FEllipsisPosition != epNone && !GetAutoSize()) {
        Flags &= ~static_cast<UINT>(DT_EXPANDTABS);
        Flags |= FEllipsisPosition == epPathEllipsis  ? DT_PATH_ELLIPSIS
                 : FEllipsisPosition == epEndEllipsis ? DT_END_ELLIPSIS
                                                      : DT_WORD_ELLIPSIS;
        if (GetWordWrap() && EndsWithWordEllipsis(FEllipsisPosition)) {
            const Integer dots = canvas->TextWidth(L"...");
            const Integer fontHeight = canvas->TextHeight(L"Yy");
            String shortened = text;
            // Word by word, until it fits or nothing is left to cut.
            for (;;) {
                TRect probe(Rect.left, Rect.top, Rect.right - dots, Rect.top);
                DrawTextW(canvas->GetHandle(), shortened.c_str(), -1, &probe, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                if (probe.Height() <= GetClientRect().bottom || probe.Height() <= fontHeight)
                    break;
                const auto cut = shortened.find_last_of(L" \t");
                if (cut == String::npos)
                    break;
                shortened.erase(cut);
                text = shortened + L"...";
            }
        }
    }
    const TSelectObject font(canvas->GetHandle(), canvas->GetFont()->GetHandle());
    SetBkMode(canvas->GetHandle(), TRANSPARENT);
    SetTextColor(canvas->GetHandle(), ColorToRGB(GetTextColor()));
    RECT r = Rect;
    DrawTextW(canvas->GetHandle(), text.c_str(), -1, &r, Flags);
    Rect = r;
}

void TsCustomLabel::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_FONTCHANGED: {
        if (ComponentState().Contains(csLoading) || Destroying() || fontChanging_)
            break;
        fontChanging_ = true;
        TsSkinManager* manager = GetSkinManager();
        if (!manager || (manager->ManagerState * TacManagerState{msFontChanging, msSkinLoading, msScaleChanging}).Empty())
            DefFontHeight = GetFont()->GetHeight();
        if (GetAutoSize()) {
            const int right = GetLeft() + GetWidth();
            SetWidth(MulDiv(GetWidth(), 3, 2));
            AdjustBounds();
            if (GetAlignment() == taRightJustify)
                SetLeft(right - GetWidth());
        }
        Invalidate();
        fontChanging_ = false;
        return;
    }
    case CM_MOUSEENTER:
        if (OnMouseEnter)
            OnMouseEnter(this);
        break;
    case CM_MOUSELEAVE:
        TCustomLabel::WndProc(Message);
        if (OnMouseLeave)
            OnMouseLeave(this);
        return;
    case SkinCommandMessage:
        switch (HIWORD(Message.WParam)) {
        case SKC_SKIN_REMOVED:
            if (Destroying())
                return;
            if (FSkinManager && FSkinManager->ComponentState().Contains(csDestroying))
                FSkinManager = nullptr;
            if (FSavedParentFont)
                SetParentFont(true);
            FSkinIndex = -1;
            Invalidate();
            return;
        case SKC_REPAINT_SKIN:
            if (Destroying() || ComponentState().Contains(csDesigning))
                return;
            FSavedParentFont = GetParentFont();
            FSkinIndex = -1;
            Invalidate();
            return;
        case SKC_FONTS_CHANGED:
            if (TsSkinManager* manager = GetSkinManager())
                manager->UpdateFontName(this);
            return;
        case SKC_QUERY_STATE_SECTION:
            if (ManagerActive(GetSkinManager()) && GetParent()) {
                Message.Result = QueryParentSkinIndex(
                    GetParent(), *reinterpret_cast<TacStateSectionRequest*>(Message.LParam));
                return;
            }
            break;
        }
        break;
    }
    TCustomLabel::WndProc(Message);
}

// ---------------------------------------------------------------------------
void TsLabel::SetUseSkinColor(bool Value)
{
    if (FUseSkinColor == Value)
        return;
    FUseSkinColor = Value;
    Invalidate();
}

TColor TsLabel::GetTextColor()
{
    TsSkinManager* manager = GetSkinManager();
    if (FUseSkinColor && ManagerActive(manager))
        return GetSkinFontColor(this, SkinIndex(), manager, nullptr, 0);
    if (GetEnabled())
        return GetFont()->GetColor();
    return static_cast<TColor>(
        MixColors(ColorToRGB(GetFont()->GetColor()), ColorToRGB(GetControlColor(GetParent())), DisabledFontBlend));
}

// ---------------------------------------------------------------------------
TsHTMLLabel::TsHTMLLabel(TComponent* AOwner) : TsLabel(AOwner) {}

void TsHTMLLabel::SetUseHTML(bool Value)
{
    if (FUseHTML == Value)
        return;
    FUseHTML = Value;
    Invalidate();
}

String TsHTMLLabel::PlainCaption() const
{
    const String caption = GetCaption();
    String plain;
    std::size_t i = 0;
    while (i < caption.size()) {
        if (caption[i] == L'<') {
            const auto close = caption.find(L'>', i + 1);
            if (close == String::npos)
                break;
            i = close + 1;
            continue;
        }
        plain += caption[i++];
    }
    return plain;
}

void TsHTMLLabel::DoDrawText(TRect& Rect, UINT Flags)
{
    if (!FUseHTML || GetCaption().empty()) {
        TsLabel::DoDrawText(Rect, Flags);
        return;
    }
    TOwned<TBitmap> bmp(New<TBitmap>());
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(std::max(GetWidth(), 1), std::max(GetHeight(), 1));
    TCanvas* bc = bmp->GetCanvas();
    bc->GetFont()->Assign(GetFont());
    bc->GetFont()->SetColor(GetTextColor());
    bc->GetBrush()->SetStyle(bsClear);
    TsHtml html;
    html.SkinManager = GetSkinManager();
    if (Flags & DT_CALCRECT) {
        html.Init(bmp.get(), GetCaption(), PressedLink, HotLink, TRect(0, 0, 0, 0));
        TacLinks links;
        const TRect size = html.HTMLText(links, true);
        Rect = TRect(Rect.left, Rect.top, Rect.left + size.Width(), Rect.top + size.Height());
        return;
    }
    TRect area = Rect;
    if (GetAlignment() != taLeftJustify) {
        TsHtml measure;
        measure.SkinManager = GetSkinManager();
        measure.Init(bmp.get(), GetCaption(), PressedLink, HotLink, area);
        TacLinks ignored;
        const Integer width = measure.HTMLText(ignored, true).Width();
        bc->GetFont()->Assign(GetFont());
        bc->GetFont()->SetColor(GetTextColor());
        area.left = GetAlignment() == taRightJustify ? Rect.right - width : Rect.left + (Rect.Width() - width) / 2;
        area.right = area.left + width;
    }
    TCanvas* canvas = GetCanvas();
    const TRect whole(0, 0, bmp->GetWidth(), bmp->GetHeight());
    BitBlt(bc->GetHandle(), 0, 0, whole.right, whole.bottom, canvas->GetHandle(), 0, 0, SRCCOPY);
    html.Init(bmp.get(), GetCaption(), PressedLink, HotLink, area);
    html.HTMLText(Links, false);
    BitBlt(canvas->GetHandle(), 0, 0, whole.right, whole.bottom, bc->GetHandle(), 0, 0, SRCCOPY);
}

Integer TsHTMLLabel::LinkAt(const TPoint& P) const
{
    for (std::size_t i = 0; i < Links.size(); ++i)
        if (Links[i].Bounds.Contains(P))
            return static_cast<Integer>(i);
    return -1;
}

void TsHTMLLabel::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOUSEMOVE: {
        const TPoint p(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
        const Integer link = LinkAt(p);
        if (link != HotLink) {
            HotLink = link;
            SetCursor(link >= 0 ? crHandPoint : crDefault);
            Invalidate();
        }
        break;
    }
    case WM_LBUTTONDOWN:
        if (HotLink >= 0) {
            PressedLink = HotLink;
            Invalidate();
        }
        break;
    case WM_LBUTTONUP:
        if (PressedLink >= 0 && !LinkClicking) {
            LinkClicking = true;
            const TPoint p(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
            const Integer pressed = PressedLink;
            PressedLink = -1;
            try {
                if (LinkAt(p) >= 0)
                    DoClick(pressed);
            } catch (...) {
                LinkClicking = false;
                throw;
            }
            LinkClicking = false;
            Invalidate();
        }
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        if (HotLink >= 0 || PressedLink >= 0) {
            HotLink = PressedLink = -1;
            SetCursor(crDefault);
            Invalidate();
        }
        break;
    }
    TsLabel::WndProc(Message);
}

void TsHTMLLabel::DoClick(Integer LinkIndex)
{
    if (LinkIndex < 0 || LinkIndex >= static_cast<Integer>(Links.size()))
        return;
    String link = Links[LinkIndex].URL;
    bool defaultAction = true;
    if (OnLinkClick)
        OnLinkClick(this, link, defaultAction);
    if (!link.empty() && defaultAction)
        ShellExecuteW(Application ? Application->GetHandle() : nullptr, L"open", link.c_str(), nullptr, nullptr,
                      static_cast<int>(FShowMode));
}

// ---------------------------------------------------------------------------
TsEditLabel* TsEditLabel::InternalCreate(TComponent* AOwner, TsEditLabel** BoundStruct)
{
    (void)AOwner; // the label has no owner: the edit control frees it
    auto* label = New<TsEditLabel>(nullptr);
    label->BoundLabel = BoundStruct;
    return label;
}

TsEditLabel::~TsEditLabel()
{
    if (BoundLabel && *BoundLabel == this)
        *BoundLabel = nullptr;
}

void sLabel_Initialize()
{
    RegisterStreamClass(L"TsEditLabel", [](TComponent* AOwner) -> TComponent* { return New<TsEditLabel>(AOwner); });
}

void sLabel_Finalize()
{
    UnRegisterStreamClass(L"TsEditLabel");
}
