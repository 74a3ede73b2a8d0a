// The grid's looks and colour sets. A look decides how fixed cells, the
// selection and the border are painted; a style writes one colour set into
// the grid, its control look, the sort header and the search footer, and
// may switch the look. The order of the writes matters: the control look
// hands its gradient colours on to the grid, and a look switched inside a
// style applies its own colour set first, which the style then overwrites.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "AdvStyleIF.h"
#include <array>

// A colour set's value that the style leaves as it is.
constexpr TColor Keep = 0x7FFFFFFF;
// Stands for ShadeColor(AppColor, -60) and ShadeColor(AppColor, -20).
constexpr TColor AppLight60 = 0x7FFFFFFE;
constexpr TColor AppLight20 = 0x7FFFFFFD;

// How a style writes its colours.
enum TSetKind {
    // The grid fields directly, after the look.
    skDirect,
    // Through the control look, whose hover and down colours reach the grid.
    skControlLook,
};

struct TStyleColors {
    TPackStyle Style;
    TSetKind Kind;
    int Look; // -1: the style does not change the look
    TColor Border;
    std::array<TColor, 4> Header;
    TColor GridLine, FixedLine;
    TColor Selection, SelectionTo, SelectionText;
    TColor ActiveFrom, ActiveTo;
    TGridSelectionStyle SelectionStyle;
    // Only for skControlLook: From, To, MirrorFrom, MirrorTo, Border.
    std::array<TColor, 5> Hover;
    std::array<TColor, 5> Down;
    std::array<TColor, 4> SortHeader;
    // The control look's From and To go back to clNone at the end.
    bool ClearLookGradient;
    // The grid's hover fields are emptied before the control look writes them.
    bool ResetHover;
};


namespace {

struct TLookText {
    const wchar_t* Name;
    const wchar_t* Caption;
};
// By TGridLook up to glCustom, which has neither.
constexpr TLookText LookTexts[] = {
    {L"glStandard", L"Standard"}, {L"glSoft", L"Soft"},       {L"glClassic", L"Classic"},
    {L"glPack", L"Pack"},         {L"glXP", L"Windows XP"},   {L"glListView", L"ListView"},
    {L"glVista", L"Windows Vista"}, {L"glWin7", L"Windows 7"}, {L"glOffice2007", L"Office2007"},
};

constexpr std::array<TColor, 4> Same4(TColor c) { return {c, c, c, c}; }
constexpr std::array<TColor, 5> Same5(TColor c, TColor border) { return {c, c, c, c, border}; }
constexpr std::array<TColor, 5> NoGrad{Keep, Keep, Keep, Keep, Keep};
constexpr std::array<TColor, 4> NoSort{Keep, Keep, Keep, Keep};

// Selection Keep: the prelude's clHighlight / clHighlightText stay.
constexpr TStyleColors StyleSets[] = {
    {tsOffice2003Blue, skDirect, glXP, Keep, {0xFCE1CB, 0xE0A57D, clNone, clNone}, 0xC0C0C0, 0x808080,
     0x94E6FB, 0x1595EE, 0x000000, 0x94E6FB, 0x1595EE, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsOffice2003Silver, skDirect, glXP, Keep, {0xECE2E1, 0xB39698, clNone, clNone}, 0xC0C0C0, 0x808080,
     0x94E6FB, 0x1595EE, 0x000000, 0x94E6FB, 0x1595EE, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsOffice2003Olive, skDirect, glXP, Keep, {0xCFF0EA, 0x8CC0B1, clNone, clNone}, 0xC0C0C0, 0x808080,
     0x94E6FB, 0x1595EE, 0x000000, 0x94E6FB, 0x1595EE, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsOffice2003Classic, skDirect, glXP, Keep, {0xFFFFFF, 0xCCD4D8, clNone, clNone}, 0xC0C0C0, 0x808080, Keep,
     Keep, Keep, 0xD8D5D4, 0xD8D5D4, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsOffice2007Luna, skControlLook, glOffice2007, Keep, {0xFBF9F6, 0xE8DBD2, clNone, clNone}, 0xF1EDEB, 0xD1BBA4,
     0x5EC1F1, clNone, 0x000000, 0x9DD8F9, 0x5EC1F1, ssOffice2007, {0xE4E2DF, 0xDBD3CD, 0xDBD3CD, 0xD2C5BC, 0xB79F87},
     Same5(0xE4C19D, 0xE4C19D), NoSort, false, false},
    {tsOffice2007Obsidian, skDirect, glOffice2007, Keep, {0xF7F7F7, 0xDEDEDE, clNone, clNone}, 0xE5D7D0, 0x808080,
     0x5EC1F1, clNone, 0x000000, 0x9DD8F9, 0x5EC1F1, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsWindowsXP, skDirect, glXP, Keep, {clBtnFace, clBtnFace, clNone, clNone}, 0xC0C0C0, 0x808080, Keep, Keep,
     Keep, clBtnFace, clBtnFace, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsWhidbey, skDirect, -1, Keep, {0xFFFFFF, clBtnFace, clNone, clNone}, 0xC0C0C0, 0x808080, Keep, Keep, Keep,
     0x94E6FB, 0x1595EE, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsOffice2007Silver, skDirect, glOffice2007, Keep, {0xF3F3F1, 0xCAC9C8, Keep, Keep}, 0xE5D7D0, 0x808080,
     0x95C7F5, clNone, 0x000000, 0x99CCFF, 0x699CFF, ssDefault, NoGrad, NoGrad, NoSort, false, false},
    {tsWindowsVista, skControlLook, glVista, Keep, {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1}, 0xECECF0, 0xD4D2D1,
     0xEACAB6, clNone, 0x000000, 0xFDF8F1, 0xFCEFD5, ssVista, {0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993},
     {0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F}, {0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8}, true, false},
    {tsWindows7, skControlLook, glWin7, Keep, {0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD}, 0xECECF0, 0xD4D2D1,
     0xEACAB6, clNone, 0x000000, 0xFCEBDC, 0xFCDBC1, ssWin7, {0xFEFBF8, 0xFAF2ED, 0xF4E4D7, 0xE8D2C1, 0xEEE8E3},
     {0xF1E8DD, 0xF1E4D8, 0xECDBCF, 0xEDDCCF, 0xD5BCAA}, {0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8}, true, false},
    {tsOffice2010Blue, skControlLook, glOffice2007, Keep, Same4(0xF5E7DA), 0xC0C0C0, 0xC7B0A0, 0xFFDBB7, clNone,
     0x000000, 0x5BD5FF, 0x71EFFF, ssDefault, {0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF, 0x3ABFE8},
     {0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2}, Same4(0xD6CEC7), true, true},
    {tsOffice2010Silver, skControlLook, glOffice2007, Keep, Same4(0xE8E3DF), 0xC0C0C0, 0xBAB5B1, 0xFFDBB7, clNone,
     0x000000, 0x5BD5FF, 0x71EFFF, ssDefault, {0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF, 0x3ABFE8},
     {0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2}, Same4(0xAAAAAA), true, true},
    {tsOffice2010Black, skControlLook, glOffice2007, Keep, Same4(0x6A6A6A), 0xC0C0C0, 0x444444, 0xFFDBB7, clNone,
     0x000000, 0x5BD5FF, 0x71EFFF, ssDefault, {0x6BDFFF, 0xAFEFFF, 0xAFEFFF, 0xE6FCFF, 0x3ABFE8},
     {0x5BD5FF, 0x64E0FF, 0x64E0FF, 0x71EFFF, 0x308AC2}, Same4(0xBABABA), true, true},
    {tsWindows8, skControlLook, glOffice2007, 0xE4E3E2, Same4(0xF7F6F5), 0xDCDBDA, 0xDCDBDA, 0xDAA026, clNone,
     0xFFFFFF, 0xF7F6F5, 0xF7F6F5, ssDefault, Same5(0xF7EFE8, 0xF9CEA4), Same5(0xF7E0C9, 0xE4A262),
     Same4(0xF7F6F5), true, true},
    {tsWindows10, skControlLook, glOffice2007, 0xE4E3E2, Same4(0xF7F6F5), 0xDCDBDA, 0xDCDBDA, 0xDAA026, clNone,
     0xFFFFFF, 0xF7F6F5, 0xF7F6F5, ssDefault, Same5(0xF7EFE8, 0xF9CEA4), Same5(0xF7E0C9, 0xE4A262),
     Same4(0xF7F6F5), true, true},
    {tsOffice2013White, skControlLook, glOffice2007, 0xD4D4D4, Same4(0xEEEEEE), 0xD4D4D4, 0xD4D4D4, 0xDAA026,
     clNone, 0xFFFFFF, 0xEEEEEE, 0xEEEEEE, ssDefault, Same5(0xFCF0E4, 0xEAB47E), Same5(0xFCE2C8, 0xE59D56),
     Same4(0xEEEEEE), true, true},
    {tsOffice2013LightGray, skControlLook, glOffice2007, 0xC6C6C6, Same4(0xFAFAFA), 0xC6C6C6, 0xC6C6C6, 0xDAA026,
     clNone, 0xFFFFFF, 0xFAFAFA, 0xFAFAFA, ssDefault, Same5(0xFCF0E4, 0xEAB47E), Same5(0xFCE2C8, 0xE59D56),
     Same4(0xFAFAFA), true, true},
    {tsOffice2013Gray, skControlLook, glOffice2007, 0xABABAB, Same4(0xF3F3F3), 0xABABAB, 0xABABAB, 0xDAA026,
     clNone, 0xFFFFFF, 0xF3F3F3, 0xF3F3F3, ssDefault, Same5(0xFCF0E4, 0xEAB47E), Same5(0xFCE2C8, 0xE59D56),
     Same4(0xF3F3F3), true, true},
    {tsOffice2016White, skControlLook, glOffice2007, 0xABABAB, Same4(0xFFFFFF), 0xD4D4D4, 0xD5D5D5, 0xC6C6C6,
     clNone, 0x000000, 0xE1E1E1, 0xE1E1E1, ssDefault, Same5(AppLight60, 0xB1B1B1), Same5(AppLight20, 0xABABAB),
     Same4(0xFFFFFF), true, true},
    {tsOffice2016Gray, skControlLook, glOffice2007, 0x999999, Same4(0x6A6A6A), 0xD4D4D4, 0xD3D3D3, 0xC6C6C6,
     clNone, 0x000000, 0x262626, 0x262626, ssDefault, Same5(AppLight60, 0xB1B1B1), Same5(AppLight20, 0xABABAB),
     Same4(0x6A6A6A), true, true},
    {tsOffice2016Black, skControlLook, glOffice2007, 0x999999, Same4(0x252525), 0xD4D4D4, 0xB0B0B0, 0xC6C6C6,
     clNone, 0x000000, 0x646464, 0x646464, ssDefault, Same5(AppLight60, 0xB1B1B1), Same5(AppLight20, 0xABABAB),
     Same4(0x252525), true, true},
};

const TStyleColors* FindStyleSet(TPackStyle Style)
{
    for (const TStyleColors& set : StyleSets)
        if (set.Style == Style)
            return &set;
    return nullptr;
}

TColor AppShade(TColor Value, TColor AppColor)
{
    if (Value == AppLight60)
        return ShadeColor(AppColor, -60);
    if (Value == AppLight20)
        return ShadeColor(AppColor, -20);
    return Value;
}

template <class Setter>
void WriteUnlessKept(TColor Value, Setter Set)
{
    if (Value != Keep)
        Set(Value);
}

} // namespace

void TAdvStringGrid::GetLookName(TGridLook Look, String& Name)
{
    if (Look < glCustom)
        Name = LookTexts[Look].Name;
}

void TAdvStringGrid::GetLookCaption(TGridLook Look, String& Caption)
{
    if (Look < glCustom)
        Caption = LookTexts[Look].Caption;
}

void TAdvStringGrid::SetLook(TGridLook Value)
{
    // Stored first: a style applied below sets the same look again, which
    // must return here.
    if (!StoreChanged(FLook, Value))
        return;
    TControlLook* look = FControlLook.get();
    if (Value != glCustom) {
        look->SetFixedGradientMirrorFrom(clNone);
        look->SetFixedGradientMirrorTo(clNone);
        look->SetFixedGradientFrom(clNone);
        look->SetFixedGradientTo(clNone);
        FPackGradFrom = clNone;
        FPackGradTo = clNone;
        FPackGradMirrorFrom = clNone;
        FPackGradMirrorTo = clNone;
        FSortSettings->SetHeaderColor(clNone);
    }
    switch (Value) {
    case glVista:
        SetStyle(tsWindowsVista);
        FStyle = tsWindowsVista;
        SetSelectionStyle(ssVista);
        break;
    case glWin7:
        SetStyle(tsWindows7);
        FStyle = tsWindows7;
        SetSelectionStyle(ssWin7);
        break;
    case glOffice2007:
        SetStyle(tsOffice2007Luna);
        FStyle = tsOffice2007Luna;
        SetSelectionStyle(ssOffice2007);
        break;
    case glCustom:
        break;
    default:
        if (!DesignTime())
            PropagateComponentStyle(tsWindowsXP);
        SetSelectionStyle(ssDefault);
        // Streamed colours win over the look's own.
        if (LoadingNow())
            break;
        const bool packOrXP = Value == glPack || Value == glXP;
        if (Value == glStandard || Value == glSoft || Value == glClassic) {
            SetFixedColor(clBtnFace);
            look->SetFixedGradientFrom(clBtnFace);
            look->SetFixedGradientTo(clNone);
        } else {
            look->SetFixedGradientFrom(0xFFFFFF);
            look->SetFixedGradientTo(clBtnFace);
        }
        SetGridFixedLineColor(0x808080);
        look->SetFixedGradientMirrorFrom(clNone);
        look->SetFixedGradientMirrorTo(clNone);
        FPackGradMirrorFrom = clNone;
        FPackGradMirrorTo = clNone;
        SetGridFixedLineColor(0x808080);
        SetGridLineColor(0xC0C0C0);
        if (!packOrXP) {
            SetActiveCellColor(0x808080);
            SetActiveCellColorTo(clNone);
            SetSelectionColor(clHighlight);
            SetSelectionTextColor(clHighlightText);
            FSearchFooter->SetColor(clBtnFace);
            FSearchFooter->SetColorTo(clBtnFace);
        } else {
            SetActiveCellColor(0xEACAB6);
            SetActiveCellColorTo(clNone);
            SetSelectionColor(0xEACAB6);
            SetSelectionColorTo(clNone);
            SetSelectionTextColor(0x000000);
            FSearchFooter->SetColor(FPackGradFrom);
            FSearchFooter->SetColorTo(FPackGradTo);
            look->SetFixedGradientFrom(0xFFFFFF);
            look->SetFixedGradientTo(Value == glXP ? clBtnFace : 0xC0C0C0);
            look->SetFixedGradientHoverFrom(0xCFD0D1);
            look->SetFixedGradientHoverTo(0xBEC6C8);
            look->SetFixedGradientHoverMirrorFrom(0xBEC6C8);
            look->SetFixedGradientHoverMirrorTo(0xABBCBF);
            look->SetFixedGradientDownFrom(0x868788);
            look->SetFixedGradientDownTo(0x737C7E);
            look->SetFixedGradientDownMirrorFrom(0x737C7E);
            look->SetFixedGradientDownMirrorTo(0x627376);
        }
        break;
    }
    FScrollType = ssNormal;
    if (Value != glCustom)
        SetBorderColor(0xB99D7F);
    Invalidate();
    if (!LoadingNow() && FFooterPanel)
        FFooterPanel->Invalidate();
}

void TAdvStringGrid::SetStyle(TPackStyle AStyle)
{
    SetStyleAndAppColor(AStyle, clNone);
}

void TAdvStringGrid::SetStyleAndAppColor(TPackStyle AStyle, TColor AppColor)
{
    // What every style starts from, tsCustom included.
    SetSelectionColor(clHighlight);
    SetSelectionColorTo(clNone);
    SetSelectionMirrorColor(clNone);
    SetSelectionMirrorColorTo(clNone);
    SetSelectionTextColor(clHighlightText);
    SetSelectionStyle(ssDefault);
    FSortSettings->SetHeaderColor(clNone);
    FSortSettings->SetHeaderColorTo(clNone);
    FSortSettings->SetHeaderMirrorColor(clNone);
    FSortSettings->SetHeaderMirrorColorTo(clNone);
    FActiveCellFont->SetColor(clWindowText);
    FFixedFont->SetColor(0x000000);
    FControlLook->Init();

    if (AStyle == tsTerminal)
        SetLook(glStandard);
    if (const TStyleColors* set = FindStyleSet(AStyle)) {
        if (set->Look >= 0)
            SetLook(static_cast<TGridLook>(set->Look));
        if (AStyle == tsWindowsXP)
            SetLook(glXP);
        if (set->Kind == skDirect)
            ApplyDirectColors(*set);
        else
            ApplyControlLookColors(*set, AppColor);
        FSearchFooter->SetColor(FPackGradFrom);
        FSearchFooter->SetColorTo(FPackGradMirrorTo);
    }
    Invalidate();
}

void TAdvStringGrid::ApplyDirectColors(const TStyleColors& Set)
{
    TColor* header[] = {&FPackGradFrom, &FPackGradTo, &FPackGradMirrorFrom, &FPackGradMirrorTo};
    for (std::size_t i = 0; i < 4; ++i)
        if (Set.Header[i] != Keep)
            *header[i] = Set.Header[i];
    SetGridLineColor(Set.GridLine);
    SetGridFixedLineColor(Set.FixedLine);
    WriteUnlessKept(Set.Selection, [this](TColor c) { FSelectionColor = c; });
    WriteUnlessKept(Set.SelectionTo, [this](TColor c) { FSelectionColorTo = c; });
    WriteUnlessKept(Set.SelectionText, [this](TColor c) { FSelectionTextColor = c; });
    FActiveCellColor = Set.ActiveFrom;
    FActiveCellColorTo = Set.ActiveTo;
    SetSelectionStyle(Set.SelectionStyle);
}

void TAdvStringGrid::ApplyControlLookColors(const TStyleColors& Set, TColor AppColor)
{
    TControlLook* look = FControlLook.get();
    SetPackGradientFrom(Set.Header[0]);
    SetPackGradientTo(Set.Header[1]);
    SetPackGradientMirrorFrom(Set.Header[2]);
    SetPackGradientMirrorTo(Set.Header[3]);
    look->SetFixedGradientFrom(FPackGradFrom);
    look->SetFixedGradientTo(FPackGradTo);
    look->SetFixedGradientMirrorFrom(FPackGradMirrorFrom);
    look->SetFixedGradientMirrorTo(FPackGradMirrorTo);
    if (Set.ResetHover) {
        FPackGradHoverFrom = clNone;
        FPackGradHoverTo = clNone;
        FPackGradHoverMirrorFrom = clNone;
        FPackGradHoverMirrorTo = clNone;
        FPackGradHoverBorder = clNone;
    }
    const auto shade = [AppColor](TColor c) { return AppShade(c, AppColor); };
    look->SetFixedGradientHoverFrom(shade(Set.Hover[0]));
    look->SetFixedGradientHoverTo(shade(Set.Hover[1]));
    look->SetFixedGradientHoverMirrorFrom(shade(Set.Hover[2]));
    look->SetFixedGradientHoverMirrorTo(shade(Set.Hover[3]));
    look->SetFixedGradientHoverBorder(Set.Hover[4]);
    look->SetFixedGradientDownFrom(shade(Set.Down[0]));
    look->SetFixedGradientDownTo(shade(Set.Down[1]));
    look->SetFixedGradientDownMirrorFrom(shade(Set.Down[2]));
    look->SetFixedGradientDownMirrorTo(shade(Set.Down[3]));
    look->SetFixedGradientDownBorder(Set.Down[4]);
    if (Set.SortHeader[0] != Keep) {
        FSortSettings->SetHeaderColor(Set.SortHeader[0]);
        FSortSettings->SetHeaderColorTo(Set.SortHeader[1]);
        FSortSettings->SetHeaderMirrorColor(Set.SortHeader[2]);
        FSortSettings->SetHeaderMirrorColorTo(Set.SortHeader[3]);
    }
    SetActiveCellColor(Set.ActiveFrom);
    SetActiveCellColorTo(Set.ActiveTo);
    if (Set.ClearLookGradient) {
        look->SetFixedGradientFrom(clNone);
        look->SetFixedGradientTo(clNone);
    }
    SetSelectionColor(Set.Selection);
    SetSelectionTextColor(Set.SelectionText);
    SetSelectionStyle(Set.SelectionStyle);
    if (Set.Border != Keep)
        SetBorderColor(Set.Border);
    switch (Set.Style) {
    case tsOffice2016White:
        FActiveCellFont->SetColor(AppColor);
        break;
    case tsOffice2016Gray:
    case tsOffice2016Black:
        FFixedFont->SetColor(0xFFFFFF);
        FActiveCellFont->SetColor(0xFFFFFF);
        break;
    default:
        break;
    }
    SetGridLineColor(Set.GridLine);
    SetGridFixedLineColor(Set.FixedLine);
}

void TAdvStringGrid::SetComponentStyle(TPackStyle AStyle)
{
    SetComponentStyleAndAppColor(AStyle, clNone);
}

void TAdvStringGrid::SetComponentStyleAndAppColor(TPackStyle AStyle, TColor AppColor)
{
    FStyle = AStyle;
    SetStyleAndAppColor(AStyle, AppColor);
    // A look switched inside the style notes the look's own style; the grid
    // keeps the one it was given, which editors created later take.
    FStyle = AStyle;
    if (!DesignTime())
        PropagateComponentStyle(AStyle);
    if (AStyle != tsCustom && FScrollType == ssMetro)
        SetScrollType(ssNormal);
}

void TAdvStringGrid::PropagateComponentStyle(TPackStyle)
{
    // The grid creates none of the drop-down editors (colour, image, grid,
    // detail and time pickers, calculator, memo) that would take the style:
    // nothing exists to pass it to.
}

void TAdvStringGrid::SetTheme(TXPColorScheme Scheme)
{
    struct TScheme {
        TColor From, To, MirrorFrom, MirrorTo, FooterFrom, FooterTo;
    };
    constexpr TScheme schemes[] = {
        {0xFCE1CB, 0xE0A57D, clNone, clNone, 0xFCE1CB, 0xE0A57D},
        {0xCFF0EA, 0x8CC0B1, clNone, clNone, 0xCFF0EA, 0x8CC0B1},
        {0xECE2E1, 0xB39698, clNone, clNone, 0xECE2E1, 0xB39698},
        {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, 0xECE2E1, 0xB39698},
    };
    if (Scheme == xpNone) {
        FActiveCellColor = 0xFFFFFF;
        FActiveCellColorTo = 0xFFD9B3;
        FPackGradFrom = 0xFFFFFF;
        FPackGradTo = clBtnFace;
        FPackGradMirrorFrom = clNone;
        FPackGradMirrorTo = clNone;
        FControlLook->SetFixedGradientFrom(clNone);
        FControlLook->SetFixedGradientTo(clNone);
        FSearchFooter->SetColor(0xFFFFFF);
        FSearchFooter->SetColorTo(0xFFD9B3);
        return;
    }
    const TScheme& s = schemes[Scheme - xpBlue];
    FPackGradFrom = s.From;
    FPackGradTo = s.To;
    FPackGradMirrorFrom = s.MirrorFrom;
    FPackGradMirrorTo = s.MirrorTo;
    FActiveCellColor = 0x94E6FB;
    FActiveCellColorTo = 0x1595EE;
    FControlLook->SetFixedGradientFrom(FPackGradFrom);
    FControlLook->SetFixedGradientTo(FPackGradTo);
    FSearchFooter->SetColor(s.FooterFrom);
    FSearchFooter->SetColorTo(s.FooterTo);
}

void TAdvStringGrid::SetColorTones(const TColorTones& ATones)
{
    FTones = ATones;
    SetLook(glClassic);
    SetFlat(true);
    SetScrollType(ssMetro);
    SetFixedColor(ATones.Foreground.BrushColor);
    FFixedFont->SetColor(ATones.Foreground.TextColor);
    FFixedFont->SetName(GetDefaultUIFontName());
    SetColor(ATones.Background.BrushColor);
    GetFont()->SetName(GetDefaultUIFontName());
    GetFont()->SetColor(ATones.Background.TextColor);
    SetSelectionColor(ATones.Selected.BrushColor);
    SetSelectionTextColor(ATones.Selected.TextColor);
    SetSelectionColorTo(clNone);
    SetGridLineColor(RGB(230, 230, 230));
    SetGridFixedLineColor(BrightenColor(ATones.Foreground.BrushColor, -20));
    SetBorderStyle(bsNone);
    FControlLook->SetControlStyle(csGlyph);
    const auto load = [](TBitmap* Glyph, const wchar_t* Name) { Glyph->LoadFromResourceName(HInstance(), Name); };
    load(FControlLook->GetCheckedGlyph(), L"metrocheckon");
    load(FControlLook->GetUnCheckedGlyph(), L"metrocheckoff");
    load(FControlLook->GetRadioOffGlyph(), L"metroradiooff");
    load(FControlLook->GetRadioOnGlyph(), L"metroradioon");
    // The in-place editors and drop-down editors that would take the tones
    // are not made by this grid.
    FControlLook->SetFlatButton(true);
    FFloatingFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColor(ATones.Foreground.BrushColor);
    FSearchFooter->SetColorTo(ATones.Foreground.BrushColor);
    FCellNode->SetNodeType(cnFlat);
}

void TAdvStringGrid::SetFlat(bool Value)
{
    FIsFlat = Value;
    if (!LoadingNow())
        Invalidate();
}
