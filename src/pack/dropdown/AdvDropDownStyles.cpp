// Component styles: the popup's, the bars' and the bar buttons' colours per
// style, the selection colour styles, and colour tones for the button.
#include "AdvDropDown.h"
#include "AdvUtil.h"

namespace {

constexpr TColor Same = static_cast<TColor>(0x7FFFFFFF);  // leave the value as it is

struct TPopupRow {
    TPackStyle Style;
    TColor DropDownColor, DropDownColorTo, DropDownBorderColor;
    TColor HeaderColor, HeaderColorTo, FooterColor, FooterColorTo;
    TColor Caption, HeaderBorder, FooterBorder;
};

constexpr TPopupRow PopupRows[] = {
    {tsOffice2003Blue, 0xFFFFFF, clNone, Same, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0x962D00},
    {tsOffice2003Silver, 0xFFFFFF, clNone, Same, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C, 0x947C7C},
    {tsOffice2003Olive, 0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060, 0x588060},
    {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080, 0x808080},
    {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF},
    {tsOffice2007Obsidian, 0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C, 0x5C534C},
    {tsWindowsXP, 0xFFFFFF, clNone, Same, 0xFFFFFF, clBtnFace, 0xFFFFFF, clBtnFace, 0x000000, 0x808080, 0x808080},
    {tsWhidbey, 0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00},
    {tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F, 0x74706F},
    {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA, 0xFCF2DA},
    {tsWindows7, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8},
    {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBtnFace, clBtnFace, 0x000000, clNone, clNone},
    {tsOffice2010Blue, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F, 0xC7B29F},
    {tsOffice2010Silver, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8, 0xD2CDC8},
    {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0x6D6D6D},
    {tsWindows8, 0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0x000000, 0xE4E3E2, 0xE4E3E2},
    {tsWindows10, 0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0x000000, 0xE4E3E2, 0xE4E3E2},
    {tsOffice2013White, 0xFFFFFF, clNone, 0xD4D4D4, 0xFFFFFF, clNone, 0xFFFFFF, clNone, 0x000000, 0xD4D4D4, 0xD4D4D4},
    {tsOffice2013LightGray, 0xFFFFFF, clNone, 0xD4D4D4, 0xF6F6F6, clNone, 0xF6F6F6, clNone, 0x000000, 0xC6C6C6, 0xC6C6C6},
    {tsOffice2013Gray, 0xFFFFFF, clNone, 0xD4D4D4, 0xE5E5E5, clNone, 0xE5E5E5, clNone, 0x000000, 0xABABAB, 0xABABAB},
    {tsOffice2016White, 0xFFFFFF, clNone, 0xD4D4D4, 0xFFFFFF, clNone, 0xFFFFFF, clNone, 0x505050, 0xD4D4D4, 0xD4D4D4},
    {tsOffice2016Gray, 0xB2B2B2, clNone, 0x444444, 0x444444, clNone, 0x444444, clNone, 0xF0F0F0, 0x444444, 0x444444},
    {tsOffice2016Black, 0x363636, clNone, 0x444444, 0x444444, clNone, 0x444444, clNone, 0xF0F0F0, 0x444444, 0x444444},
};

struct TStateColors {
    TColor Color, ColorTo, Border;
};

struct TButtonRow {
    TPackStyle Style;
    TStateColors Normal, Hot, Down, Disabled, Checked;
};

constexpr TStateColors OfficeHot{0xEBFDFF, 0xACECFF, 0x99CEDB};
constexpr TStateColors OfficeDown{0xAAD9FF, 0x6EBBFF, 0x42AEFE};
constexpr TStateColors OfficeDisabled{0xF2F2F2, 0xB6B6B6, Same};
constexpr TStateColors OfficeChecked{0x76AFF1, 0x4190F3, 0x45667B};
constexpr TStateColors Office2010Hot{0x8AE3FD, clNone, 0x58CAF1};
constexpr TStateColors Office2010Down{0x6CD0FF, clNone, 0x308AC2};
constexpr TStateColors Office2010Checked{0x45E1FE, clNone, 0x4FA0CE};
constexpr TStateColors Windows8Hot{0xF7EFE8, clNone, 0xF9CEA4};
constexpr TStateColors Windows8Down{0xF7E0C9, clNone, 0xE4A262};
constexpr TStateColors Windows8Disabled{0xF7F7F7, clNone, 0xF7F6F5};
constexpr TStateColors Windows8Checked{0xDAA026, clNone, 0xDAA026};
constexpr TStateColors Office2013Hot{0xFCF0E4, clNone, 0xEAB47E};
constexpr TStateColors Office2013Down{0xFCE2C8, clNone, 0xE59D56};
constexpr TStateColors Office2013Disabled{0xEEEEEE, clNone, 0xACACAC};
constexpr TStateColors Office2013Checked{0xFF9933, clNone, 0xFF9933};
constexpr TStateColors Office2016Hot{0xF2E1D5, clNone, 0xF2E1D5};
constexpr TStateColors Office2016Down{0xE3BDA3, clNone, 0xE3BDA3};
constexpr TStateColors Office2016Checked{0xF2D5C2, clNone, 0xF2D5C2};

constexpr TButtonRow ButtonRows[] = {
    {tsOffice2003Blue, {0xFCE1CB, 0xE0A57D, clNone}, OfficeHot, OfficeDown, OfficeDisabled, OfficeChecked},
    {tsOffice2003Silver, {0xECE2E1, 0xB39698, clNone}, OfficeHot, OfficeDown, OfficeDisabled, OfficeChecked},
    {tsOffice2003Olive, {0xCFF0EA, 0x8CC0B1, clNone}, OfficeHot, OfficeDown, OfficeDisabled, OfficeChecked},
    {tsOffice2003Classic, {0xFFFFFF, 0xC9D1D5, clNone}, {0xD2BDB6, 0xD2BDB6, 0x808080}, {0xB59285, 0xB59285, 0x808080},
     {0xD8D5D4, 0xD8D5D4, Same}, {0xD8D5D4, 0xD8D5D4, 0x808080}},
    {tsOffice2007Luna, {0xFFEFE3, 0xFFDDC4, clNone}, OfficeHot, OfficeDown, OfficeDisabled, OfficeChecked},
    {tsOffice2007Obsidian, {0xF2F1F0, 0xC9C2BD, clNone}, OfficeHot, OfficeDown, OfficeDisabled, OfficeChecked},
    {tsWindowsXP, {0xFFFFFF, clBtnFace, clNone}, {0xEFD3C6, 0xEFD3C6, clHighlight},
     {clInactiveCaption, clInactiveCaption, clHighlight}, {0xB6B6B6, 0xB6B6B6, Same}, {0xB9D8DC, 0xB9D8DC, 0x000000}},
    {tsWhidbey, {0xFFFFFF, 0xDFEDF0, clNone}, OfficeHot, OfficeDown, OfficeDisabled, OfficeChecked},
    {tsOffice2007Silver, {0xF9F8F8, 0xE4E2DF, clNone}, OfficeHot, OfficeDown, OfficeDisabled, OfficeChecked},
    // The checked border follows the down border, as with Windows 7.
    {tsWindowsVista, {0xFFFDF9, 0xFFFAF0, 0xFCF2DA}, {0xFEF9F0, 0xFFFAF0, 0xFCF2DA}, {0xFEF9F0, 0xFDF0D7, 0xFEDF9A},
     {0xFFFFFF, 0xFFFFFF, Same}, {0xFEF9F0, 0xFDF0D7, 0xFEDF9A}},
    {tsWindows7, {0xFDFBFA, 0xFDF3EB, 0xFBD6B8}, {0xFDFBFA, 0xFDF3EB, 0xFBD6B8}, {0xFCEBDC, 0xFCDBC1, 0xCEA27D},
     {0xFFFFFF, 0xFFFFFF, Same}, {0xFEF9F0, 0xFCDBC1, 0xCEA27D}},
    {tsTerminal, {clBtnFace, clBtnFace, clNone}, {0xC0C0C0, 0xC0C0C0, 0x808080}, {clHighlight, clHighlight, 0x808080},
     {clBtnFace, clBtnFace, Same}, {clBtnFace, clBtnFace, clHighlight}},
    {tsOffice2010Blue, {0xFDF6EF, 0xF0DAC7, 0xC7B29F}, Office2010Hot, Office2010Down, OfficeDisabled, Office2010Checked},
    {tsOffice2010Silver, {0xFFFFFF, 0xEDE5E0, 0xD2CDC8}, Office2010Hot, Office2010Down, OfficeDisabled, Office2010Checked},
    {tsOffice2010Black, {0xBFBFBF, 0x919191, 0xD7D7D6}, Office2010Hot, Office2010Down, OfficeDisabled, Office2010Checked},
    {tsWindows8, {0xF7F6F5, clNone, 0xE4E3E2}, Windows8Hot, Windows8Down, Windows8Disabled, Windows8Checked},
    {tsWindows10, {0xF7F6F5, clNone, 0xE4E3E2}, Windows8Hot, Windows8Down, Windows8Disabled, Windows8Checked},
    {tsOffice2013White, {0xFFFFFF, clNone, 0xD4D4D4}, Office2013Hot, Office2013Down, Office2013Disabled, Office2013Checked},
    {tsOffice2013LightGray, {0xF6F6F6, clNone, 0xC6C6C6}, Office2013Hot, Office2013Down, Office2013Disabled,
     Office2013Checked},
    {tsOffice2013Gray, {0xE5E5E5, clNone, 0xABABAB}, Office2013Hot, Office2013Down, Office2013Disabled, Office2013Checked},
    {tsOffice2016White, {0xFFFFFF, clNone, 0xD4D4D4}, Office2016Hot, Office2016Down, {0xFFFFFF, clNone, 0xD4D4D4},
     Office2016Checked},
    {tsOffice2016Gray, {0xB2B2B2, clNone, 0x444444}, Office2016Hot, Office2016Down, {0xB2B2B2, clNone, 0x444444},
     Office2016Checked},
    {tsOffice2016Black, {0x363636, 0x363636, 0x444444}, {0x6A6A6A, 0x6A6A6A, 0x6A6A6A}, {0x444444, 0x444444, 0x444444},
     {0x363636, clNone, 0x444444}, {0x575757, 0x575757, 0x575757}},
};

void Put(TColor& Field, TColor Value)
{
    if (Value != Same)
        Field = Value;
}

struct TSelectionRow {
    TSelectionColorStyle Style;
    TColor Color, ColorTo, Mirror, MirrorTo, InnerTop, InnerBottom, Border, Corner;
};

constexpr TSelectionRow SelectionRows[] = {
    {scOffice2007, 0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF},
    {scWindowsVista, 0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB},
    {scWindows7, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE},
};

} // namespace

void STDMETHODCALLTYPE TAdvCustomDropDown::SetComponentStyle(TPackStyle AStyle)
{
    FPackStyle = AStyle;
    if (AStyle == tsCustom)
        return;
    for (const TPopupRow& row : PopupRows) {
        if (row.Style != AStyle)
            continue;
        SetDropDownColor(row.DropDownColor);
        FDropDownColorTo = row.DropDownColorTo;
        Put(FDropDownBorderColor, row.DropDownBorderColor);
        // Plain stores: no change event, the bars take them at the next opening.
        FDropDownHeader->SetColor(row.HeaderColor);
        FDropDownHeader->SetColorTo(row.HeaderColorTo);
        FDropDownHeader->SetBorderColor(row.HeaderBorder);
        FDropDownHeader->GetFont()->SetColor(row.Caption);
        FDropDownFooter->SetColor(row.FooterColor);
        FDropDownFooter->SetColorTo(row.FooterColorTo);
        FDropDownFooter->SetBorderColor(row.FooterBorder);
        FDropDownFooter->GetFont()->SetColor(row.Caption);
    }
    TAdvButtonAppearance* a = FButtonAppearance.get();
    for (const TButtonRow& row : ButtonRows) {
        if (row.Style != AStyle)
            continue;
        auto set = [](auto setter, TAdvButtonAppearance* ap, TColor value) {
            if (value != Same)
                (ap->*setter)(value);
        };
        set(&TAdvButtonAppearance::SetColor, a, row.Normal.Color);
        set(&TAdvButtonAppearance::SetColorTo, a, row.Normal.ColorTo);
        set(&TAdvButtonAppearance::SetBorderColor, a, row.Normal.Border);
        set(&TAdvButtonAppearance::SetColorHot, a, row.Hot.Color);
        set(&TAdvButtonAppearance::SetColorHotTo, a, row.Hot.ColorTo);
        set(&TAdvButtonAppearance::SetBorderColorHot, a, row.Hot.Border);
        set(&TAdvButtonAppearance::SetColorDown, a, row.Down.Color);
        set(&TAdvButtonAppearance::SetColorDownTo, a, row.Down.ColorTo);
        set(&TAdvButtonAppearance::SetBorderColorDown, a, row.Down.Border);
        // Up to the 2010 styles the disabled border stays as it is and the
        // checked colours come last; from Windows 8 on the disabled ones do.
        const bool newer = AStyle >= tsWindows8 && AStyle != tsCustom;
        auto disabled = [&] {
            set(&TAdvButtonAppearance::SetColorDisabled, a, row.Disabled.Color);
            set(&TAdvButtonAppearance::SetColorDisabledTo, a, row.Disabled.ColorTo);
            if (newer)
                set(&TAdvButtonAppearance::SetBorderColorDisabled, a, row.Disabled.Border);
        };
        auto checked = [&] {
            set(&TAdvButtonAppearance::SetColorChecked, a, row.Checked.Color);
            set(&TAdvButtonAppearance::SetColorCheckedTo, a, row.Checked.ColorTo);
            set(&TAdvButtonAppearance::SetBorderColorChecked, a, row.Checked.Border);
        };
        if (newer) {
            checked();
            disabled();
        } else {
            disabled();
            checked();
        }
    }
    if (AStyle == tsOffice2016Black)
        GetFont()->SetColor(0xA6A6A6);
}

void STDMETHODCALLTYPE TAdvCustomDropDown::SetColorTones(TColorTones ATones)
{
    if (FButton) {
        FButton->ButtonColor = ATones.Background.BrushColor;
        FButton->ButtonColorHot = ATones.Hover.BrushColor;
        FButton->ButtonColorDown = ATones.Selected.BrushColor;
        FButton->ButtonBorderColor = ATones.Background.BorderColor;
    }
    SetBorderColor(ATones.Background.BorderColor);
}

void TAdvCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    FSelectionColorStyle = Value;
    for (const TSelectionRow& row : SelectionRows)
        if (row.Style == Value) {
            SetSelectionColor(row.Color);
            SetSelectionColorTo(row.ColorTo);
        }
}

void TAdvCustomDropDown::DrawSelectionBackground(TCanvas* Canvas, const TRect& R, TColor Background, Byte Part)
{
    if (FSelectionColorStyle == scCustom) {
        Canvas->GetBrush()->SetColor(FSelectionColor);
        Canvas->GetPen()->SetColor(FSelectionColor);
        Canvas->FillRect(R);
        return;
    }
    for (const TSelectionRow& row : SelectionRows)
        if (row.Style == FSelectionColorStyle)
            DrawStyledSelectionRect(Canvas, FSelectionColor, FSelectionColorTo, row.Mirror, row.MirrorTo, row.InnerTop,
                                    row.InnerBottom, row.Border, row.Corner, Background, R, Part);
}
