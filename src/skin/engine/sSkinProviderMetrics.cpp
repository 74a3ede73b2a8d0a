// Border widths and caption heights of skinned frames, the geometry that
// relates a provider's form image to its client area, and the window region
// that cuts the skin's transparent corners out of a form.
#include "sSkinProvider.h"
#include "GdiHandles.h"
#include "Menus.h"
#include "sConst.h"
#include "sGraphUtils.h"
#include "sSkinManager.h"
#include "sSkinSection.h"
#include "sVclUtils.h"
#include <algorithm>

namespace {

int normalCaptionHeight = 0;
int toolCaptionHeight = 0;

bool IsToolWindow(const TCustomForm* Form)
{
    return Form && (Form->GetBorderStyle() == bsToolWindow || Form->GetBorderStyle() == bsSizeToolWin);
}

LONG StyleOf(HWND W)
{
    return W ? GetWindowLongW(W, GWL_STYLE) : 0;
}

bool FormMinimized(TCustomForm* Form)
{
    return Form && Form->HandleAllocated() && IsIconic(Form->GetHandle());
}

bool FormMaximized(TCustomForm* Form)
{
    return Form && Form->HandleAllocated() && IsZoomed(Form->GetHandle());
}

// The system caption height of a form as the caption measures take it.
int SystemCaptionHeight(TCustomForm* Form)
{
    CacheSystemMetrics();
    return IsToolWindow(Form) && !FormMinimized(Form) ? SysSmallCaptionHeight : SysCaptionHeight;
}

HWND HandleOf(TCustomForm* Form)
{
    return Form && Form->HandleAllocated() ? Form->GetHandle() : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
int GetWndBorderWidth(HWND W, TacBorderForm* BF, bool AllowExtended)
{
    if (AllowExtended)
        if (const int extended = BorderFormSkinBorderWidth(BF))
            return extended;
    CacheSystemMetrics();
    const LONG style = StyleOf(W);
    TsSkinManager* manager = BF ? BF->SkinManager() : nullptr;
    if (style & WS_THICKFRAME) {
        if (manager)
            return static_cast<int>(SendWndMessage(W, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_FRAME_WIDTH),
                                                   SysFrameWidth));
        return SysFrameWidth + (WinVersionLevel > 7 && BF ? 4 : 0);
    }
    if (style & WS_BORDER) {
        if (manager && manager->CommonSkinData.ExDrawMode != 1)
            return static_cast<int>(SendWndMessage(W, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_FRAME_WIDTH),
                                                   SysDlgFrameWidth));
        return SysDlgFrameWidth;
    }
    return 0;
}

int GetNativeBorderWidth(HWND W, TacBorderForm* BF, bool AllowExtended)
{
    return BF ? 0 : GetWndBorderWidth(W, nullptr, AllowExtended);
}

int GetSysCaptionHeight(TCustomForm* Form)
{
    CacheSystemMetrics();
    if (IsToolWindow(Form) && !FormMinimized(Form)) {
        if (toolCaptionHeight == 0)
            toolCaptionHeight = SysSmallCaptionHeight;
        return toolCaptionHeight;
    }
    if (normalCaptionHeight == 0)
        normalCaptionHeight = SysCaptionHeight;
    return normalCaptionHeight;
}

void ResetSysCaptionHeights()
{
    normalCaptionHeight = 0;
    toolCaptionHeight = 0;
}

int WindowRectWidth(HWND W)
{
    RECT r{};
    GetWindowRect(W, &r);
    return r.right - r.left;
}

int WindowRectHeight(HWND W)
{
    RECT r{};
    GetWindowRect(W, &r);
    return r.bottom - r.top;
}

int ClientRectWidth(HWND W)
{
    RECT r{};
    GetClientRect(W, &r);
    return r.right - r.left;
}

int ClientRectHeight(HWND W)
{
    RECT r{};
    GetClientRect(W, &r);
    return r.bottom - r.top;
}

int BorderFormSkinTitleHeight(TacBorderForm* BF)
{
    return BF ? BF->SkinTitleHeight() : 0;
}

int BorderFormSkinBorderWidth(TacBorderForm* BF)
{
    return BF ? BF->SkinBorderWidth() : 0;
}

int BorderFormExtraTitleHeight(TacBorderForm* BF)
{
    return BF ? BF->ExtraTitleHeight() : 0;
}

int BorderFormExtraBorderWidth(TacBorderForm* BF, HWND Owner)
{
    return BF ? GetWndBorderWidth(Owner, BF, true) - GetWndBorderWidth(Owner, BF, false) : 0;
}

bool IsSingleImageMask(Integer ImageIndex, TsSkinManager* Manager)
{
    return ImageIndex < 0 || !Manager || !Manager->IsValidImgIndex(ImageIndex) ||
           Manager->ma[ImageIndex].ImageCount == 1;
}

int DefaultIconSize(int Height)
{
    if (Height >= -100 && Height < 48)
        return 16;
    if (Height >= 48 && Height <= 64)
        return 24;
    return 32;
}

int SnapOffset(int Value, int Edge, int Distance)
{
    return Value >= Edge - Distance && Value <= Edge + Distance ? Value - Edge : 0;
}

// ---------------------------------------------------------------------------
int TsSkinProvider::BorderWidth(bool CheckSkin)
{
    return GetWndBorderWidth(HandleOf(Form), BorderForm, CheckSkin) + (Form ? Form->GetBorderWidth() : 0);
}

int TsSkinProvider::BorderHeight(bool CheckSkin)
{
    return GetNativeBorderWidth(HandleOf(Form), BorderForm, CheckSkin) + (Form ? Form->GetBorderWidth() : 0);
}

int TsSkinProvider::CaptionHeight(bool CheckSkin)
{
    if (!Form)
        return 0;
    if (!FormMinimized(Form) && (!HasBorder() || !(StyleOf(HandleOf(Form)) & WS_CAPTION)))
        return 0;
    const int r = BorderForm && CheckSkin ? BorderForm->SkinTitleHeight() : 0;
    const int system = SystemCaptionHeight(Form);
    if (FSysExHeight)
        return std::max(r, system + 4);
    return r != 0 ? r : system;
}

int TsSkinProvider::SkinTitleHeight(bool Maximized)
{
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    if (!manager)
        return 0;
    return Maximized ? manager->CommonSkinData.ExMaxHeight : manager->CommonSkinData.ExTitleHeight;
}

bool TsSkinProvider::HasMainMenuLine()
{
    if (!Form)
        return false;
    TMainMenu* menu = Form->GetMenu();
    return menu && menu->GetItems() && menu->GetItems()->Count() > 0 && Form->GetFormStyle() != fsMDIChild &&
           Form->GetBorderStyle() != bsDialog;
}

bool TsSkinProvider::HasBorder()
{
    return Form && (Form->GetBorderStyle() != bsNone || (StyleOf(HandleOf(Form)) & WS_CHILD));
}

bool TsSkinProvider::HasSizeFrame()
{
    return StyleOf(HandleOf(Form)) & WS_THICKFRAME;
}

bool TsSkinProvider::GripVisible()
{
    return FGripMode == gmRightBottom && !FormMaximized(Form) && HasSizeFrame();
}

bool TsSkinProvider::ExtBordersAllowed()
{
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    return manager && manager->GetExtendedBorders() && FAllowExtBorders &&
           !(manager->Options.NativeBordersMaximized && FormMaximized(Form));
}

bool TsSkinProvider::NonClientSkinned()
{
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    return FDrawNonClientArea && manager && manager->Options.DrawNonClientArea;
}

bool TsSkinProvider::IconVisible()
{
    if (!Form || !FShowAppIcon || !Form->HandleAllocated())
        return false;
    const TBorderStyle style = Form->GetBorderStyle();
    return (style == bsSingle || style == bsSizeable) && GetSystemMenu(Form->GetHandle(), FALSE) != nullptr;
}

int TsSkinProvider::TitleIconWidth()
{
    if (!IconVisible())
        return 0;
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    const int margin = manager ? manager->CommonSkinData.BITopMargin : 0;
    const int size = DefaultIconSize(CaptionHeight(true) - margin);
    return manager ? manager->ScaleInt(size) : size;
}

int TsSkinProvider::TitleIconHeight()
{
    return TitleIconWidth();
}

int TsSkinProvider::TitleButtonHeight()
{
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    if (manager) {
        const Integer image = manager->ConstData.TitleGlyphs[tgClose];
        if (manager->IsValidImgIndex(image))
            return manager->ma[image].Height;
    }
    return 21;
}

int TsSkinProvider::CaptionButtonWidth(const TsCaptionButton& Button)
{
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    if (manager && Button.cpGlyphType >= 0 && Button.cpGlyphType < static_cast<int>(std::size(manager->ConstData.TitleGlyphs))) {
        const Integer image = manager->ConstData.TitleGlyphs[Button.cpGlyphType];
        if (manager->IsValidImgIndex(image))
            return manager->ma[image].Width;
    }
    return 21;
}

int TsSkinProvider::TitleBarMaskWidth(Integer ImageIndex)
{
    // The caption-button zone belongs to the caption layout; without it the
    // image's own width is the mask's.
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    return manager && manager->IsValidImgIndex(ImageIndex) ? manager->ma[ImageIndex].Width : 0;
}

int TsSkinProvider::ExtraHeaderHeight(bool Maximized)
{
    const int h = SkinTitleHeight(Maximized);
    const int c = GetSysCaptionHeight(Form);
    return c + 4 < h ? h - c - 4 : 0;
}

int TsSkinProvider::MenuLines()
{
    return HasMainMenuLine() ? 1 : 0;
}

int TsSkinProvider::MenuHeight()
{
    return HasMainMenuLine() ? GetSystemMetrics(SM_CYMENU) : 0;
}

// ---------------------------------------------------------------------------
TRect TsSkinProvider::ShadowSize()
{
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    return BorderForm && manager ? manager->FormShadowSize : TRect(0, 0, 0, 0);
}

int TsSkinProvider::OffsetX()
{
    HWND wnd = HandleOf(Form);
    if (!wnd)
        return 0;
    if (BorderForm)
        return BorderWidth(true) + ShadowSize().left;
    // Skinned scroll bars belong to the non-client scroll bars; none here.
    return (WindowRectWidth(wnd) - ClientRectWidth(wnd)) / 2;
}

int TsSkinProvider::OffsetY()
{
    HWND wnd = HandleOf(Form);
    if (!wnd)
        return 0;
    if (BorderForm) {
        const int menuHeight = MenuHeight();
        return CaptionHeight(true) + MenuLines() * menuHeight + Form->GetBorderWidth() + ShadowSize().top +
               (menuHeight != 0 ? 1 : 0);
    }
    return WindowRectHeight(wnd) - ClientRectHeight(wnd) - ((StyleOf(wnd) & WS_BORDER) ? BorderWidth(true) : 0);
}

int TsSkinProvider::HeaderHeight()
{
    HWND wnd = HandleOf(Form);
    if (!wnd)
        return 0;
    int result;
    if (BorderForm)
        result = GetNativeBorderWidth(wnd, BorderForm, false) + CaptionHeight(true);
    else if (StyleOf(wnd) & WS_CAPTION)
        result = WindowRectHeight(wnd) - ClientRectHeight(wnd) - BorderHeight(true);
    else
        result = WindowRectHeight(wnd) - ClientRectHeight(wnd) - ((StyleOf(wnd) & WS_BORDER) ? BorderHeight(true) : 0);
    result = std::max(result, 0);
    if (FormMinimized(Form))
        result += GetNativeBorderWidth(wnd, BorderForm, false);
    return result;
}

int TsSkinProvider::CaptionWidth()
{
    const TRect shadow = ShadowSize();
    if (FormMinimized(Form) && (!Application || Application->GetMainForm() != Form))
        return 160 + shadow.left + shadow.right;
    return (Form ? Form->GetWidth() : 0) +
           (BorderForm ? 2 * BorderFormExtraBorderWidth(BorderForm, HandleOf(Form)) : 0) + shadow.left + shadow.right;
}

TPoint TsSkinProvider::GripPosition(Integer ImageIndex)
{
    TBitmap* cache = FCommonData ? FCommonData->FCacheBmp : nullptr;
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    if (!cache || !manager || !manager->IsValidImgIndex(ImageIndex))
        return TPoint(0, 0);
    const TsMaskData& image = manager->ma[ImageIndex];
    const int border = GetWndBorderWidth(HandleOf(Form), BorderForm, true);
    const TRect shadow = ShadowSize();
    return TPoint(cache->GetWidth() - image.Width - border - shadow.right - 1,
                  cache->GetHeight() - image.Height - border - shadow.bottom - 1);
}

bool TsSkinProvider::CacheSizeChanged()
{
    TBitmap* cache = FCommonData ? FCommonData->FCacheBmp : nullptr;
    return !cache || cache->GetWidth() != CaptionWidth() || (Form && cache->GetHeight() != Form->GetHeight());
}

TColor TsSkinProvider::FormColor()
{
    if (!Form)
        return 0;
    if (!FCommonData || !FCommonData->Skinned(false) || FCommonData->FCustomColor)
        return ColorToRGB(Form->GetColor());
    const TsGeneralData& section = FCommonData->GetSkinManager()->gd[FCommonData->SkinIndex];
    return section.Props[FormActive && section.States > 1 ? 1 : 0].Color;
}

// ---------------------------------------------------------------------------
void TsSkinProvider::FindTransparentCorners()
{
    Rects.clear();
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    if (!manager || !Form || !manager->IsValidSkinIndex(FCommonData->SkinIndex))
        return;
    const TsGeneralData& section = manager->gd[FCommonData->SkinIndex];
    if (manager->IsValidImgIndex(section.BorderIndex)) {
        const TsMaskData& border = manager->ma[section.BorderIndex];
        AddCornerKeyRects(Rects, CaptionWidth(), border, false, 0);
        AddCornerKeyRects(Rects, CaptionWidth(), border, true, Form->GetHeight() - border.WB);
    }
    if (manager->IsValidSkinIndex(FTitleSkinIndex)) {
        const Integer titleMask = manager->GetMaskIndex(FTitleSkinIndex, L"BORDERSMASK");
        if (manager->IsValidImgIndex(titleMask))
            AddCornerKeyRects(Rects, CaptionWidth(), manager->ma[titleMask], false, 0);
    }
}

HRGN TsSkinProvider::BuildFormRegion(int X, int Y)
{
    const int height = Form ? Form->GetHeight() : 0;
    HRGN region = CreateRectRgn(X, Y, X + CaptionWidth(), Y + height);
    for (const TRect& r : Rects) {
        const TRegionHandle corner(CreateRectRgn(r.left + X, r.top + Y, r.right + X, r.bottom + Y));
        CombineRgn(region, region, corner.Get(), RGN_DIFF);
    }
    return region;
}

void TsSkinProvider::ApplyFormRegion(bool Redraw, bool Direct)
{
    if (!Form || !NonClientSkinned() || !Form->HandleAllocated() || InMenu)
        return;
    HWND wnd = Form->GetHandle();
    if (!HasBorder() && !HasSizeFrame() && !IsIconic(wnd))
        return;
    if (!FirstInitialized &&
        SendWndMessage(wnd, KeepRegionMessage, KeepRegionCode, 0) == static_cast<LRESULT>(KeepRegionCode))
        return;
    // A form placed in another control (the class library here has no
    // docking, so every parented form counts as docked) keeps no region.
    if (Form->GetParent()) {
        SetWindowRgn(wnd, nullptr, Redraw);
        return;
    }
    RgnChanging = true;
    TRegionHandle region;
    TsSkinManager* manager = FCommonData->GetSkinManager();
    const int width = Form->GetWidth(), height = Form->GetHeight();
    if (BorderForm) {
        const int a = GetWndBorderWidth(wnd, BorderForm, false);
        int t = FSysExHeight ? a + SystemCaptionHeight(Form)
                             : GetNativeBorderWidth(wnd, BorderForm, false) + SystemCaptionHeight(Form) + a;
        if (manager && manager->SysFontScale > 0 && manager->Options.GetScaleMode() == smOldMode)
            --t;
        region.Reset(CreateRectRgn(a, t, width - a, height - a));
    } else if (!IsZoomed(wnd) || Form->GetConstraints()->GetMaxWidth() || Form->GetConstraints()->GetMaxHeight() ||
               Form->GetFormStyle() == fsMDIChild) {
        FindTransparentCorners();
        region.Reset(BuildFormRegion(0, 0));
    } else {
        const int bw = GetWndBorderWidth(wnd, BorderForm, false);
        const int bh = GetNativeBorderWidth(wnd, BorderForm, false);
        region.Reset(CreateRectRgn(bw, bh, width - bw, height - bh));
    }
    RgnChanged = false;
    // The window owns a region it accepted; one it refused is still ours.
    const BOOL redraw = Direct ? Redraw : TRUE;
    if (SetWindowRgn(wnd, region.Get(), redraw))
        region.Release();
    if (!Direct && Redraw) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
        SendMessageW(wnd, WM_NCPAINT, 0, 0);
    }
    RgnChanging = false;
}
