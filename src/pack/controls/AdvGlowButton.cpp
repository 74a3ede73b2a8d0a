// The glow button: appearance, states from mouse and keyboard, and its
// plain face.
#include "AdvGlowButton.h"
#include "AdvStyleIF.h"
#include "ImgList.h"
#include "ScopeExit.h"
#include "SysUtils.h"

// ---------------------------------------------------------------------------
void TGlowButtonAppearance::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TGlowButtonAppearance*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetBorderColor(src->FBorderColor);
    SetBorderColorHot(src->FBorderColorHot);
    FBorderColorCheckedHot = src->FBorderColorCheckedHot;
    SetBorderColorDown(src->FBorderColorDown);
    SetBorderColorChecked(src->FBorderColorChecked);
    SetBorderColorDisabled(src->FBorderColorDisabled);
    // BorderColorFocused stays the target's own.
    SetColor(src->FColor);
    SetColorTo(src->FColorTo);
    SetColorChecked(src->FColorChecked);
    SetColorCheckedTo(src->FColorCheckedTo);
    SetColorDisabled(src->FColorDisabled);
    SetColorDisabledTo(src->FColorDisabledTo);
    SetColorDown(src->FColorDown);
    SetColorDownTo(src->FColorDownTo);
    SetColorHot(src->FColorHot);
    SetColorHotTo(src->FColorHotTo);
    SetColorMirror(src->FColorMirror);
    SetColorMirrorTo(src->FColorMirrorTo);
    SetColorMirrorHot(src->FColorMirrorHot);
    SetColorMirrorHotTo(src->FColorMirrorHotTo);
    SetColorMirrorDown(src->FColorMirrorDown);
    SetColorMirrorDownTo(src->FColorMirrorDownTo);
    SetColorMirrorChecked(src->FColorMirrorChecked);
    SetColorMirrorCheckedTo(src->FColorMirrorCheckedTo);
    SetColorMirrorDisabled(src->FColorMirrorDisabled);
    SetColorMirrorDisabledTo(src->FColorMirrorDisabledTo);
    SetGradient(src->FGradient);
    SetGradientMirror(src->FGradientMirror);
    SetGradientHot(src->FGradientHot);
    SetGradientMirrorHot(src->FGradientMirrorHot);
    SetGradientDown(src->FGradientDown);
    SetGradientMirrorDown(src->FGradientMirrorDown);
    SetGradientChecked(src->FGradientChecked);
    SetGradientMirrorChecked(src->FGradientMirrorChecked);
    SetGradientDisabled(src->FGradientDisabled);
    SetGradientMirrorDisabled(src->FGradientMirrorDisabled);
    SetTextColorChecked(src->FTextColorChecked);
    SetTextColorDown(src->FTextColorDown);
    SetTextColorHot(src->FTextColorHot);
    TextColor = src->TextColor;
    SetSystemFont(src->FSystemFont);
    TranspHover = src->TranspHover;
    NoBorderDefault = src->NoBorderDefault;
}

// ---------------------------------------------------------------------------
namespace {

// The colours one paint uses.
struct TFaceColors {
    TColor Color;
    TColor ColorMirror;
    TColor Border;
    TColor Text;
};

} // namespace

TAdvCustomGlowButton::TAdvCustomGlowButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    // Double clicks arrive as ordinary presses.
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque};
    FAppearance.reset(New<TGlowButtonAppearance>());
    FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
    FNotesFont.reset(New<TFont>());
    FNotesFont->SetName(L"Tahoma");
    FNotesFont->SetSize(8);
    for (TOwned<TChangeLink>* link : {&FImageChangeLink, &FHotImageChangeLink, &FDisabledImageChangeLink}) {
        link->reset(New<TChangeLink>());
        (*link)->OnChange = [this](TObject*) { Invalidate(); };
    }
    SetBounds(GetLeft(), GetTop(), 100, 41);
    SetDoubleBuffered(true);
    SetTabStop(false);
}

// Here, where TChangeLink is complete; the owned members go by themselves.
TAdvCustomGlowButton::~TAdvCustomGlowButton() = default;

void TAdvCustomGlowButton::AppearanceChanged(TObject*)
{
    Invalidate();
}

void TAdvCustomGlowButton::SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value)
{
    if (Field == Value)
        return;
    if (Field) {
        Field->UnRegisterChanges(Link);
        Field->RemoveFreeNotification(this);
    }
    Field = Value;
    if (Field) {
        Field->RegisterChanges(Link);
        Field->FreeNotification(this);
    }
    Invalidate();
}

void TAdvCustomGlowButton::SetImages(TCustomImageList* Value)
{
    SetImageList(FImages, FImageChangeLink.get(), Value);
}

void TAdvCustomGlowButton::SetHotImages(TCustomImageList* Value)
{
    SetImageList(FHotImages, FHotImageChangeLink.get(), Value);
}

void TAdvCustomGlowButton::SetDisabledImages(TCustomImageList* Value)
{
    SetImageList(FDisabledImages, FDisabledImageChangeLink.get(), Value);
}

void TAdvCustomGlowButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        SetImages(nullptr);
    if (AComponent == FHotImages)
        SetHotImages(nullptr);
    if (AComponent == FDisabledImages)
        SetDisabledImages(nullptr);
}

void TAdvCustomGlowButton::SetImageIndex(int Value)
{
    if (StoreChanged(FImageIndex, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetLayout(AdvGlowButton::TButtonLayout Value)
{
    if (StoreChanged(FLayout, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetShowCaption(bool Value)
{
    if (StoreChanged(FShowCaption, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetShowDisabled(bool Value)
{
    if (StoreChanged(FShowDisabled, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetSpacing(int Value)
{
    if (StoreChanged(FSpacing, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetMarginHorz(int Value)
{
    if (StoreChanged(FMarginHorz, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetMarginVert(int Value)
{
    if (StoreChanged(FMarginVert, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetRounded(bool Value)
{
    if (StoreChanged(FRounded, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetBorderStyle(TBorderStyle Value)
{
    if (StoreChanged(FBorderStyle, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetFocusType(TFocusType Value)
{
    if (StoreChanged(FFocusType, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetPosition(TButtonPosition Value)
{
    if (StoreChanged(FButtonPosition, Value))
        Invalidate();
}

// --- messages ------------------------------------------------------------------------
void TAdvCustomGlowButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        // The face covers the whole window.
        Message.Result = 1;
        return;
    case WM_LBUTTONUP: WMLButtonUp(Message); return;
    case WM_KILLFOCUS:
        FHasFocus = false;
        Invalidate();
        break;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TAdvCustomGlowButton::CreateWnd()
{
    TCustomControl::CreateWnd();
    FMouseInControl = FMouseEnter = FMouseDown = FHot = FDragging = false;
    FState = absUp;
    FDown = false;
}

void TAdvCustomGlowButton::CMMouseEnter(TMessage& M)
{
    TCustomControl::Dispatch(M);
    if (FMouseEnter || ComponentState().Contains(csDesigning))
        return;
    FHot = true;
    FMouseInControl = FMouseEnter = true;
    Invalidate();
}

void TAdvCustomGlowButton::CMMouseLeave(TMessage& M)
{
    TCustomControl::Dispatch(M);
    if (!FMouseEnter || ComponentState().Contains(csDesigning))
        return;
    FHot = FMouseEnter = FMouseInControl = false;
    FDown = false;
    Invalidate();
}

void TAdvCustomGlowButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FDown = FMouseDown = true;
    if (GetTabStop() && CanFocus())
        SetFocus();
    FState = absDown;
    FDragging = true;
    Invalidate();
}

void TAdvCustomGlowButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    const bool inside = X >= 0 && X < GetClientWidth() && Y >= 0 && Y <= GetClientHeight();
    const TAdvButtonState state = inside ? absDown : absUp;
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TAdvCustomGlowButton::WMLButtonUp(TMessage& M)
{
    FMouseDown = false;
    if (FDragging) {
        FDragging = false;
        FState = absUp;
        FDown = false;
        Invalidate();
    }
    // The class library clicks when the release lies inside.
    TCustomControl::Dispatch(M);
}

void TAdvCustomGlowButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        FDown = true;
        FState = absDown;
        Invalidate();
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TAdvCustomGlowButton::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        FDown = false;
        FState = absUp;
    }
    Invalidate();
    TCustomControl::KeyUp(Key, Shift);
}

void TAdvCustomGlowButton::KeyPress(wchar_t& Key)
{
    if (Key == VK_RETURN || Key == L' ')
        Click();
    TCustomControl::KeyPress(Key);
}

void TAdvCustomGlowButton::CMDialogKey(TMessage& M)
{
    const TShiftState shift = KeyDataToShiftState(M.LParam);
    const bool plain = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    // Enter presses the focused button; the key goes no further.
    if (M.WParam == VK_RETURN && FHasFocus && plain && CanFocus()) {
        KeyboardClick();
        FState = absUp;
        Invalidate();
        M.Result = 1;
        return;
    }
    TCustomControl::Dispatch(M);
}

void TAdvCustomGlowButton::KeyboardClick()
{
    Click();
}

void TAdvCustomGlowButton::DoEnter()
{
    FHasFocus = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TAdvCustomGlowButton::DoExit()
{
    FHasFocus = false;
    FDown = false;
    FState = absUp;
    Invalidate();
    TCustomControl::DoExit();
}

// --- painting ------------------------------------------------------------------------
void TAdvCustomGlowButton::Paint()
{
    if (FPainting)
        return;
    // Cleared on every way out of Paint.
    FPainting = true;
    const TScopeExit painted([this] { FPainting = false; });

    if (GetEnabled() && FState == absDisabled)
        FState = absUp;
    if (!GetEnabled()) {
        FState = absDisabled;
        FDragging = false;
    }
    const TRect client(0, 0, GetWidth(), GetHeight());
    DrawFace(GetCanvas(), client);

    if (OnDrawButton) {
        using namespace AdvGlowButton;
        const TGlowButtonState painted = FState == absDown ? gsDown : FMouseEnter ? gsHot : gsNormal;
        OnDrawButton(this, GetCanvas(), client, painted);
    }
}

void TAdvCustomGlowButton::DrawFace(TCanvas* Canvas, const TRect& R)
{
    const TGlowButtonAppearance* a = FAppearance.get();
    const bool showEnabled = (FState != absDisabled && GetEnabled()) || !FShowDisabled;
    const bool hot = FHot || (FHasFocus && (FFocusType == ftHot || FFocusType == ftHotBorder) && !FDown);
    TFaceColors face{a->GetColor(), a->GetColorMirror(), a->GetBorderColor(), GetFont()->GetColor()};
    if (!showEnabled)
        face = {a->GetColorDisabled(), a->GetColorMirrorDisabled(), a->GetBorderColorDisabled(), clGrayText};
    else if (FState == absDown)
        face = {a->GetColorDown(), a->GetColorMirrorDown(), a->GetBorderColorDown(), a->GetTextColorDown()};
    else if (hot)
        face = {a->GetColorHot(), a->GetColorMirrorHot(), a->GetBorderColorHot(), a->GetTextColorHot()};
    if (face.ColorMirror == clNone)
        face.ColorMirror = face.Color;

    // Two solid halves, the lower one first, overlapping by two pixels.
    TBrush* brush = Canvas->GetBrush();
    brush->SetStyle(bsSolid);
    const int half = R.Height() / 2;
    if (face.ColorMirror != clNone) {
        brush->SetColor(face.ColorMirror);
        Canvas->FillRect(TRect(R.left, R.top + half - 1, R.right, R.bottom));
    }
    if (face.Color != clNone) {
        brush->SetColor(face.Color);
        Canvas->FillRect(TRect(R.left, R.top, R.right, R.bottom - half));
    }

    TPen* pen = Canvas->GetPen();
    pen->SetWidth(1);
    if (FBorderStyle == bsSingle && face.Border != clNone && !(a->NoBorderDefault && !FMouseEnter)) {
        brush->SetStyle(bsClear);
        pen->SetStyle(psSolid);
        pen->SetColor(face.Border);
        if (FRounded)
            Canvas->RoundRect(R.left, R.top, R.right, R.bottom, 6, 6);
        else
            Canvas->Rectangle(R);
    }
    if (FHasFocus && (FFocusType == ftBorder || FFocusType == ftHotBorder)) {
        brush->SetStyle(bsClear);
        pen->SetStyle(psSolid);
        pen->SetColor(a->GetBorderColorFocused());
        Canvas->Rectangle(R.left + 1, R.top + 1, R.right - 1, R.bottom - 1);
        pen->SetStyle(psDot);
        pen->SetColor(clGray);
        Canvas->Rectangle(R.left + 2, R.top + 2, R.right - 2, R.bottom - 2);
        pen->SetStyle(psSolid);
    }

    DrawContent(Canvas, R, face.Text);
}

void TAdvCustomGlowButton::DrawContent(TCanvas* Canvas, const TRect& R, TColor TextColor)
{
    using namespace AdvGlowButton;
    // Disabled images when disabled, hot ones while hot, else the normal ones.
    TCustomImageList* images = FImages;
    bool drawEnabled = GetEnabled();
    if (!GetEnabled() && FDisabledImages) {
        images = FDisabledImages;
        drawEnabled = true;
    } else if (FHot && FHotImages) {
        images = FHotImages;
    }
    const bool hasGlyph = images && FImageIndex >= 0 && FImageIndex < images->Count();
    const TSize glyph = hasGlyph ? TSize(images->GetWidth(), images->GetHeight()) : TSize();

    const String caption = FShowCaption ? GetCaption() : String();
    TFont* font = Canvas->GetFont();
    font->Assign(GetFont());
    if (FAppearance->GetSystemFont())
        font->SetName(GetDefaultUIFontName());
    font->SetColor(TextColor);
    const TSize text = caption.empty() ? TSize() : Canvas->TextExtent(caption);
    const int gap = hasGlyph && !caption.empty() ? FSpacing : 0;

    // Glyph and caption side by side or one above the other, centred as a
    // block, or from the left or top edge for the adjusted layouts.
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight || FLayout == blGlyphLeftAdjusted ||
                            FLayout == blGlyphRightAdjusted;
    const bool glyphFirst = FLayout == blGlyphLeft || FLayout == blGlyphTop || FLayout == blGlyphLeftAdjusted ||
                            FLayout == blGlyphTopAdjusted;
    const bool adjusted = FLayout >= blGlyphLeftAdjusted;
    TPoint glyphAt, textAt;
    if (horizontal) {
        const int width = glyph.cx + gap + text.cx;
        const int left = adjusted ? R.left + FMarginHorz + FSpacing : R.left + (R.Width() - width) / 2;
        glyphAt = {glyphFirst ? left : left + text.cx + gap, R.top + (R.Height() - glyph.cy) / 2};
        textAt = {glyphFirst ? left + glyph.cx + gap : left, R.top + (R.Height() - text.cy) / 2};
    } else {
        const int height = glyph.cy + gap + text.cy;
        const int top = adjusted ? R.top + FMarginVert + FSpacing : R.top + (R.Height() - height) / 2;
        glyphAt = {R.left + (R.Width() - glyph.cx) / 2, glyphFirst ? top : top + text.cy + gap};
        textAt = {R.left + (R.Width() - text.cx) / 2, glyphFirst ? top + glyph.cy + gap : top};
    }

    if (hasGlyph)
        images->Draw(Canvas, glyphAt.x, glyphAt.y, FImageIndex, drawEnabled);
    if (!caption.empty()) {
        Canvas->GetBrush()->SetStyle(bsClear);
        Canvas->TextRect(TRect(R.left + FMarginHorz, R.top + FMarginVert, R.right - FMarginHorz, R.bottom - FMarginVert),
                         textAt.x, textAt.y, caption);
    }
}
