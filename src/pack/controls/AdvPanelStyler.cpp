// The panel settings bundle, how it is applied to a panel, and the styler
// that fills it from style presets, the desktop's Office theme or colour
// tones and pushes it to its panels.
#include "AdvPanel.h"

TAdvPanelSettings::TAdvPanelSettings()
    : FFont(New<TFont>()), FCaption(New<TPanelCaption>()), FStatusBar(New<TPanelStatusBar>())
{
    FCaption->OnChange = [this](TObject*) { Changed(); };
}

TAdvPanelSettings::~TAdvPanelSettings() = default;

void TAdvPanelSettings::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

void TAdvPanelSettings::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        Changed();
}

void TAdvPanelSettings::SetFont(TFont* Value)
{
    FFont->Assign(Value);
    Changed();
}

void TAdvPanelSettings::SetCaption(TPanelCaption* Value)
{
    FCaption->Assign(Value);
    Changed();
}

void TAdvPanelSettings::SetStatusBar(TPanelStatusBar* Value)
{
    FStatusBar->Assign(Value);
    Changed();
}

void TAdvPanelSettings::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TAdvPanelSettings*>(Source);
    if (!src)
        return;
    FFixedHeight = src->FFixedHeight;
    FCanMove = src->FCanMove;
    FFixedWidth = src->FFixedWidth;
    FHover = src->FHover;
    FAutoHideChildren = src->FAutoHideChildren;
    FAnchorHint = src->FAnchorHint;
    FFixedLeft = src->FFixedLeft;
    FCanSize = src->FCanSize;
    FShowHint = src->FShowHint;
    FFixedTop = src->FFixedTop;
    FCollaps = src->FCollaps;
    FShowMoveCursor = src->FShowMoveCursor;
    FCollapsDelay = src->FCollapsDelay;
    FBevelWidth = src->FBevelWidth;
    FCollapsSteps = src->FCollapsSteps;
    FHeight = src->FHeight;
    FShadowOffset = src->FShadowOffset;
    FText = src->FText;
    FHint = src->FHint;
    FBevelOuter = src->FBevelOuter;
    FBevelInner = src->FBevelInner;
    FHoverColor = src->FHoverColor;
    FCollapsColor = src->FCollapsColor;
    FBorderColor = src->FBorderColor;
    FHoverFontColor = src->FHoverFontColor;
    FShadowColor = src->FShadowColor;
    FColor = src->FColor;
    FColorTo = src->FColorTo;
    FColorMirror = src->FColorMirror;
    FColorMirrorTo = src->FColorMirrorTo;
    FURLColor = src->FURLColor;
    FFont->Assign(src->FFont.get());
    FCaption->Assign(src->FCaption.get());
    FPosition = src->FPosition;
    FTextVAlign = src->FTextVAlign;
    FBorderStyle = src->FBorderStyle;
    FCursor = src->FCursor;
    FBorderShadow = src->FBorderShadow;
    FIndent = src->FIndent;
    FTopIndent = src->FTopIndent;
    FWidth = src->FWidth;
    FBorderWidth = src->FBorderWidth;
    FStatusBar->Assign(src->FStatusBar.get());
}

// ---------------------------------------------------------------------------
void TCustomAdvPanel::ApplySettings(TAdvPanelSettings* Settings)
{
    if (!Settings)
        return;
    SetAnchorHint(Settings->GetAnchorHint());
    SetAutoHideChildren(Settings->GetAutoHideChildren());
    SetBevelInner(Settings->GetBevelInner());
    SetBevelOuter(Settings->GetBevelOuter());
    SetBevelWidth(Settings->GetBevelWidth());
    SetBorderColor(Settings->GetBorderColor());
    SetBorderShadow(Settings->GetBorderShadow());
    SetBorderStyle(Settings->GetBorderStyle());
    SetBorderWidth(Settings->GetBorderWidth());
    SetCanMove(Settings->GetCanMove());
    SetCanSize(Settings->GetCanSize());
    const bool closeButton = FCaption->GetCloseButton();
    const bool minMaxButton = FCaption->GetMinMaxButton();
    FCaption->Assign(Settings->GetCaption());
    FCaption->SetCloseButton(closeButton);
    FCaption->SetMinMaxButton(minMaxButton);
    SetCollapsColor(Settings->GetCollapsColor());
    SetCollapsDelay(Settings->GetCollapsDelay());
    SetCollapsSteps(Settings->GetCollapsSteps());
    SetColor(Settings->GetColor());
    SetColorTo(Settings->GetColorTo());
    SetColorMirror(Settings->GetColorMirror());
    SetColorMirrorTo(Settings->GetColorMirrorTo());
    SetCursor(Settings->GetCursor());
    if (GetParentFont())
        FCaption->GetFont()->Assign(GetFont());
    else
        GetFont()->Assign(Settings->GetFont());
    SetFixedTop(Settings->GetFixedTop());
    SetFixedLeft(Settings->GetFixedLeft());
    SetFixedHeight(Settings->GetFixedHeight());
    SetFixedWidth(Settings->GetFixedWidth());
    SetHover(Settings->GetHover());
    SetHoverColor(Settings->GetHoverColor());
    SetHoverFontColor(Settings->GetHoverFontColor());
    SetIndent(Settings->GetIndent());
    SetShadowColor(Settings->GetShadowColor());
    SetShadowOffset(Settings->GetShadowOffset());
    SetShowMoveCursor(Settings->GetShowMoveCursor());
    FStatusBar->Assign(Settings->GetStatusBar());
    SetTextVAlign(Settings->GetTextVAlign());
    SetTopIndent(Settings->GetTopIndent());
    SetURLColor(Settings->GetURLColor());
}

void TCustomAdvPanel::SetStyler(TAdvPanelStyler* Value)
{
    if (FStyler)
        FStyler->RemoveFreeNotification(this);
    FStyler = Value;
    if (!Value)
        return;
    Value->FreeNotification(this);
    if (!ComponentState().Contains(csLoading))
        ApplySettings(Value->GetSettings());
}

// ---------------------------------------------------------------------------
void advpanel::TThemeNotifierWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_THEMECHANGED && OnThemeChange)
        OnThemeChange(this);
    TWinControl::WndProc(Message);
}

namespace {

using enum TAdvPanelStyle;
constexpr int keep = -1;
constexpr TColor appColor = 0x2FFFFFFF; // the status bar takes the application's colour

// One preset: what it sets; keep leaves a value as it is.
struct TPanelPreset {
    TAdvPanelStyle Style;
    TColor Color, ColorTo, FontColor;
    int ShadeGrain, ShadeLight;
    TShadeType ShadeType;
    TColor CaptionColor, CaptionColorTo, CaptionFontColor;
    int CaptionIndent, CaptionHeight, CaptionVisible;
    TGradientDirection CaptionDirection;
    TColor BorderColor;
    bool BorderShadow;
    TColor CollapsColor;
    TColor StatusColor, StatusColorTo;
    TColor StatusBorderColor;
    int StatusDirection;
    TColor StatusFontColor;
};

constexpr TColor none = clNone;
constexpr TColor unchanged = 0x3FFFFFFF;

// The first five rows are the pack's documented looks; the rest are ours,
// kept in the same shape.
constexpr TPanelPreset presets[] = {
    {psXP, 0xFFFFFF, 0xE3F0F2, unchanged, keep, keep, stNormal, clHighlight, 0xFF0000, clHighlightText, 2, 20, keep, gdHorizontal, 0x808080, true, clBtnFace, 0xE3F0F2, 0xFFFFFF, 0xC0C0C0, keep, 0},
    {psFlat, clBtnFace, none, clWindowText, keep, keep, stNormal, clHighlight, none, clHighlightText, 0, 20, keep, gdHorizontal, 0x808080, false, clBtnFace, clBtnFace, none, 0xC0C0C0, keep, 0},
    {psPack, 0xFFFFFF, 0xE4E4E4, clWindowText, 32, 255, stRMetal, 0xFFFFFF, none, 0, 4, 20, 1, gdHorizontal, 0x808080, true, clBtnFace, 0xDEDEDE, 0xA9A9A9, 0xFFFFFF, keep, 0},
    {psOffice2003Blue, 0xFDEADA, 0xE4AE88, clWindowText, 32, 255, stNormal, 0xD68759, 0x933803, 0xFFFFFF, keep, keep, keep, gdVertical, 0x808080, false, none, 0xE08F65, 0xF9DBC4, none, keep, 0xFFFFFF},
    {psOffice2016White, 0xFFFFFF, none, 0x444444, 32, 255, stNormal, 0xD4D4D4, none, 0x444444, keep, keep, keep, gdVertical, none, false, none, appColor, none, none, gdVertical, 0x444444},
    {psClassic, clBtnFace, none, clWindowText, keep, keep, stNormal, clActiveCaption, none, clCaptionText, 2, 20, keep, gdHorizontal, 0x808080, false, clBtnFace, clBtnFace, none, 0x808080, keep, 0},
    {psOffice2003Olive, 0xCFF0EA, 0x8CC0B1, clWindowText, 32, 255, stNormal, 0x82C0AF, 0x447A63, 0xFFFFFF, keep, keep, keep, gdVertical, 0x808080, false, none, 0x6BA593, 0xC9E5DD, none, keep, 0xFFFFFF},
    {psOffice2003Silver, 0xECE2E1, 0xB39698, clWindowText, 32, 255, stNormal, 0xBDA4A5, 0x957475, 0xFFFFFF, keep, keep, keep, gdVertical, 0x808080, false, none, 0xA48A8B, 0xE6D9D8, none, keep, 0xFFFFFF},
    {psOffice2003Classic, 0xFFFFFF, 0xC9D1D5, clWindowText, 32, 255, stNormal, 0x808080, none, 0xFFFFFF, keep, keep, keep, gdVertical, 0x808080, false, none, 0xC9D1D5, 0xFFFFFF, none, keep, 0},
    {psOffice2007Luna, 0xFFEFE3, 0xFFDDC4, 0x8B4215, 32, 255, stNormal, 0xFFEFE3, 0xFFD2AF, 0x8B4215, keep, keep, keep, gdVertical, 0xFFD2AF, false, none, 0xFFD2AF, 0xFFEFE3, none, keep, 0x8B4215},
    {psOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, 0x433C37, 32, 255, stNormal, 0xF2F1F0, 0xC9C2BD, 0x433C37, keep, keep, keep, gdVertical, 0x5C534C, false, none, 0xC9C2BD, 0xF2F1F0, none, keep, 0x433C37},
    {psWhidbey, 0xF5F9FA, 0xA8C0C0, clWindowText, 32, 255, stNormal, 0xEBEEEF, 0x7E9898, 0, keep, keep, keep, gdVertical, 0x962D00, false, none, 0xA8C0C0, 0xF5F9FA, none, keep, 0},
    {psWindowsXP, clBtnFace, none, clWindowText, 32, 255, stNormal, clHighlight, none, clHighlightText, keep, keep, keep, gdHorizontal, 0x808080, false, none, clBtnFace, none, none, keep, 0},
    {psOffice2007Silver, 0xF8F7F6, 0xE8E0DB, 0x5C534C, 32, 255, stNormal, 0xF8F7F6, 0xDDD4D0, 0x5C534C, keep, keep, keep, gdVertical, 0x74706F, false, none, 0xDDD4D0, 0xF8F7F6, none, keep, 0x5C534C},
    {psWindowsVista, 0xFFFFFF, 0xFFFDF9, clWindowText, 32, 255, stNormal, 0xFFFDF9, 0xFFFAF0, clWindowText, keep, keep, keep, gdVertical, 0xFCF2DA, false, none, 0xFFFAF0, 0xFFFDF9, none, keep, 0},
    {psWindows7, 0xFFFFFF, 0xFCEBDC, clWindowText, 32, 255, stNormal, 0xFDFBFA, 0xFDF3EB, clWindowText, keep, keep, keep, gdVertical, 0xFBD6B8, false, none, 0xFDF3EB, 0xFDFBFA, none, keep, 0},
    {psTerminal, clBtnFace, none, clWindowText, 32, 255, stNormal, clHighlight, none, clHighlightText, keep, keep, keep, gdVertical, clGray, false, none, clBtnFace, none, clGray, keep, 0},
    {psOffice2010Blue, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 32, 255, stNormal, 0xEDDBCD, none, 0x5B391E, keep, keep, keep, gdVertical, 0xC7B29F, false, none, 0xEDDBCD, none, none, keep, 0x5B391E},
    {psOffice2010Silver, 0xFFFFFF, 0xEDE5E0, 0x5C534C, 32, 255, stNormal, 0xEDE9E5, none, 0x5C534C, keep, keep, keep, gdVertical, 0xD2CDC8, false, none, 0xEDE9E5, none, none, keep, 0x5C534C},
    {psOffice2010Black, 0xBFBFBF, 0x919191, 0xD7D7D6, 32, 255, stNormal, 0x828282, none, 0xD7D7D6, keep, keep, keep, gdVertical, 0x6D6D6D, false, none, 0x828282, none, none, keep, 0xD7D7D6},
    {psWindows8, 0xF7F6F5, none, 0x464646, 32, 255, stNormal, 0xF7F6F5, none, 0x464646, keep, keep, keep, gdVertical, 0xE4E3E2, false, none, 0xF7F6F5, none, none, keep, 0x464646},
    {psOffice2013White, 0xFFFFFF, none, 0x444444, 32, 255, stNormal, 0xFFFFFF, none, 0x444444, keep, keep, keep, gdVertical, 0xD4D4D4, false, none, 0xFFFFFF, none, none, keep, 0x444444},
    {psOffice2013LightGray, 0xF6F6F6, none, 0x444444, 32, 255, stNormal, 0xF6F6F6, none, 0x444444, keep, keep, keep, gdVertical, 0xC6C6C6, false, none, 0xF6F6F6, none, none, keep, 0x444444},
    {psOffice2013Gray, 0xE5E5E5, none, 0x444444, 32, 255, stNormal, 0xE5E5E5, none, 0x444444, keep, keep, keep, gdVertical, 0xABABAB, false, none, 0xE5E5E5, none, none, keep, 0x444444},
    {psWindows10, 0xFFFFFF, none, 0x000000, 32, 255, stNormal, 0xF7F7F7, none, 0x000000, keep, keep, keep, gdVertical, 0xE4E3E2, false, none, 0xF7F7F7, none, none, keep, 0x000000},
    {psOffice2016Gray, 0xB2B2B2, none, 0x424242, 32, 255, stNormal, 0x444444, none, 0xF0F0F0, keep, keep, keep, gdVertical, 0x444444, false, none, 0x444444, none, none, keep, 0xF0F0F0},
    {psOffice2016Black, 0x363636, none, 0xA6A6A6, 32, 255, stNormal, 0x444444, none, 0xFFFFFF, keep, keep, keep, gdVertical, 0x444444, false, none, 0x444444, none, none, keep, 0xFFFFFF},
};

} // namespace

TAdvPanelStyler::TAdvPanelStyler(TComponent* AOwner) : TComponent(AOwner), FSettings(New<TAdvPanelSettings>())
{
    using enum TAdvPanelStyle;
    FNotifierWnd = New<advpanel::TThemeNotifierWindow>(this);
    TComponent* owner = AOwner;
    while (owner && !dynamic_cast<TWinControl*>(owner))
        owner = owner->GetOwner();
    FNotifierWnd->SetVisible(false);
    if (auto* window = dynamic_cast<TWinControl*>(owner))
        FNotifierWnd->SetParent(window);
    FNotifierWnd->OnThemeChange = [this](TObject*) { ThemeChanged(); };
    FSettings->OnChange = [this](TObject*) { PushToPanels(); };
    ApplyPreset(psXP, clNone);
}

TAdvPanelStyler::~TAdvPanelStyler() = default;

HRESULT STDMETHODCALLTYPE TAdvPanelStyler::QueryInterface(REFIID Riid, void** Object)
{
    if (!Object)
        return E_POINTER;
    if (Riid == __uuidof(IPackStyle) || Riid == __uuidof(IPackStyleEx) || Riid == __uuidof(IUnknown))
        *Object = static_cast<IPackStyleEx*>(this);
    else if (Riid == __uuidof(IPackTones))
        *Object = static_cast<IPackTones*>(this);
    else {
        *Object = nullptr;
        return E_NOINTERFACE;
    }
    return S_OK;
}

void TAdvPanelStyler::PushToPanels()
{
    if (ComponentState().Contains(csLoading) || !GetOwner())
        return;
    TComponent* owner = GetOwner();
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomAdvPanel*>(owner->Components(i)))
            if (panel->GetStyler() == this)
                panel->ApplySettings(FSettings.get());
}

void TAdvPanelStyler::Loaded()
{
    TComponent::Loaded();
    if (!ComponentState().Contains(csDesigning))
        ThemeChanged();
    PushToPanels();
}

void TAdvPanelStyler::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    ThemeChanged();
}

void TAdvPanelStyler::ThemeChanged()
{
    if (!FAutoThemeAdapt)
        return;
    using enum TAdvPanelStyle;
    static const std::pair<TOfficeTheme, TAdvPanelStyle> themes[] = {
        {ot2003Blue, psOffice2003Blue},       {ot2003Silver, psOffice2003Silver},
        {ot2003Olive, psOffice2003Olive},     {ot2003Classic, psOffice2003Classic},
        {ot2007Blue, psOffice2007Luna},       {ot2007Silver, psOffice2007Silver},
        {ot2007Black, psOffice2007Obsidian},  {ot2010Blue, psOffice2010Blue},
        {ot2010Silver, psOffice2010Silver},   {ot2010Black, psOffice2010Black},
        {ot2013White, psOffice2013White},     {ot2013Silver, psOffice2013LightGray},
        {ot2013Gray, psOffice2013Gray},       {ot2016White, psOffice2016White},
        {ot2016Gray, psOffice2016Gray},       {ot2016Black, psOffice2016Black}};
    const TOfficeTheme theme = DetectOfficeTheme();
    SetStyle(psCustom);
    for (const auto& [t, style] : themes)
        if (t == theme)
            SetStyle(style);
}

void STDMETHODCALLTYPE TAdvPanelStyler::SetComponentStyle(TPackStyle AStyle)
{
    SetComponentStyleAndAppColor(AStyle, clNone);
}

void STDMETHODCALLTYPE TAdvPanelStyler::SetComponentStyleAndAppColor(TPackStyle AStyle, TColor AppColor)
{
    using enum TAdvPanelStyle;
    static const std::pair<TPackStyle, TAdvPanelStyle> styles[] = {
        {tsOffice2003Silver, psOffice2003Silver},   {tsOffice2003Olive, psOffice2003Olive},
        {tsOffice2003Classic, psOffice2003Classic}, {tsOffice2007Luna, psOffice2007Luna},
        {tsOffice2007Obsidian, psOffice2007Obsidian}, {tsWindowsXP, psWindowsXP},
        {tsWhidbey, psWhidbey},                     {tsOffice2007Silver, psOffice2007Silver},
        {tsWindowsVista, psWindowsVista},           {tsWindows7, psWindows7},
        {tsTerminal, psTerminal},                   {tsOffice2010Blue, psOffice2010Blue},
        {tsOffice2010Silver, psOffice2010Silver},   {tsOffice2010Black, psOffice2010Black},
        {tsWindows8, psWindows8},                   {tsOffice2013White, psOffice2013White},
        {tsOffice2013LightGray, psOffice2013LightGray}, {tsOffice2013Gray, psOffice2013Gray},
        {tsWindows10, psWindows10},                 {tsOffice2016White, psOffice2016White},
        {tsOffice2016Gray, psOffice2016Gray},       {tsOffice2016Black, psOffice2016Black}};
    TAdvPanelStyle style = psOffice2003Blue;
    for (const auto& [ts, ps] : styles)
        if (ts == AStyle)
            style = ps;
    ApplyPreset(style, AppColor);
}

void STDMETHODCALLTYPE TAdvPanelStyler::SetColorTones(TColorTones ATones)
{
    FStyle = TAdvPanelStyle::psCustom;
    TAdvPanelSettings* s = FSettings.get();
    s->BeginUpdate();
    TPanelCaption* caption = s->GetCaption();
    caption->SetColor(ATones.Selected.BrushColor);
    caption->SetCloseColor(ATones.Selected.BrushColor);
    caption->SetColorTo(clNone);
    caption->GetFont()->SetName(GetDefaultUIFontName());
    caption->GetFont()->SetColor(ATones.Selected.TextColor);
    caption->SetFlat(true);
    caption->SetShadeType(stNormal);
    s->SetColor(ATones.Background.BrushColor);
    s->SetColorTo(clNone);
    s->GetFont()->SetName(GetDefaultUIFontName());
    s->GetFont()->SetColor(ATones.Background.TextColor);
    s->SetBevelInner(bvNone);
    s->SetBevelOuter(bvNone);
    s->SetBorderStyle(bsNone);
    TPanelStatusBar* status = s->GetStatusBar();
    status->GetFont()->SetName(GetDefaultUIFontName());
    status->GetFont()->SetColor(ATones.Foreground.TextColor);
    status->SetColor(ATones.Foreground.BrushColor);
    status->SetColorTo(clNone);
    s->EndUpdate();
}

void TAdvPanelStyler::SetStyle(TAdvPanelStyle Value)
{
    ApplyPreset(Value, clNone);
}

void TAdvPanelStyler::ApplyPreset(TAdvPanelStyle AStyle, TColor AppColor)
{
    FStyle = AStyle;
    const TPanelPreset* preset = nullptr;
    for (const TPanelPreset& p : presets)
        if (p.Style == AStyle)
            preset = &p;
    if (!preset)
        return;
    TAdvPanelSettings* s = FSettings.get();
    s->BeginUpdate();
    s->SetColor(preset->Color);
    s->SetColorTo(preset->ColorTo);
    s->SetColorMirror(clNone);
    s->SetColorMirrorTo(clNone);
    if (preset->FontColor != unchanged)
        s->GetFont()->SetColor(preset->FontColor);
    TPanelCaption* caption = s->GetCaption();
    if (preset->ShadeGrain != keep)
        caption->SetShadeGrain(static_cast<Byte>(preset->ShadeGrain));
    if (preset->ShadeLight != keep)
        caption->SetShadeLight(preset->ShadeLight);
    caption->SetShadeType(preset->ShadeType);
    caption->GetFont()->SetColor(preset->CaptionFontColor);
    if (preset->CaptionIndent != keep)
        caption->SetIndent(preset->CaptionIndent);
    caption->SetColor(preset->CaptionColor);
    caption->SetColorTo(preset->CaptionColorTo);
    caption->SetGradientDirection(preset->CaptionDirection);
    if (preset->CaptionVisible != keep)
        caption->SetVisible(preset->CaptionVisible != 0);
    if (preset->CaptionHeight != keep)
        caption->SetHeight(preset->CaptionHeight);
    s->SetBevelInner(bvNone);
    s->SetBevelOuter(bvNone);
    s->SetBorderColor(preset->BorderColor);
    s->SetBorderShadow(preset->BorderShadow);
    s->SetBorderStyle(bsNone);
    s->SetCollapsColor(preset->CollapsColor);
    TPanelStatusBar* status = s->GetStatusBar();
    status->SetBorderStyle(bsSingle);
    status->SetBevelInner(false);
    status->SetBorderColor(preset->StatusBorderColor);
    status->SetColor(preset->StatusColor == appColor ? (AppColor == clNone ? 0xFFFFFF : AppColor) : preset->StatusColor);
    status->SetColorTo(preset->StatusColorTo);
    if (preset->StatusDirection != keep)
        status->SetGradientDirection(static_cast<TGradientDirection>(preset->StatusDirection));
    status->GetFont()->SetColor(preset->StatusFontColor);
    s->EndUpdate();
}
