// The item colours of each component style, one table row per group of
// styles read by one loop. Keep leaves a colour as it was.
#include "AdvDropDownSelector.h"

#include <initializer_list>

namespace {

constexpr TColor Keep = static_cast<TColor>(0x2FFFFFFF);

struct TItemStyleRow {
    std::initializer_list<TPackStyle> Styles;
    TColor Hot, HotTo, MirrorHot, MirrorHotTo;
    TColor Selected, SelectedTo, MirrorSelected, MirrorSelectedTo;
    TColor Border, Top, Bottom, Edge;
    TColor BorderHot = clNone, BorderSelected = clNone, SelectedText = Keep, FontColor = Keep;
};

const TItemStyleRow ItemStyleRows[] = {
    {{tsOffice2003Blue, tsOffice2003Silver, tsOffice2003Olive, tsWhidbey},
     0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, clNone, clNone, clNone},
    {{tsOffice2007Luna, tsOffice2007Obsidian, tsOffice2007Silver},
     0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF, 0xCAF8FF,
     0xC3D9DF},
    {{tsOffice2003Classic},
     0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080, clNone, clNone, clNone},
    {{tsWindowsXP},
     0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight, clNone, clNone, clNone,
     clNone, clNone, clHighlightText},
    {{tsWindowsVista},
     0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB},
    {{tsWindows7},
     0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE},
    {{tsTerminal},
     0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080, clNone, clNone, clNone,
     clNone, clNone, clHighlightText},
    {{tsOffice2010Blue, tsOffice2010Silver},
     0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2, clNone, clNone, clNone},
    {{tsOffice2010Black},
     0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, Keep, clNone, clNone, clNone,
     0x58CAF1, 0x308AC2},
    {{tsWindows8, tsWindows10},
     0xF7EFE8, 0xF7EFE8, 0xF7EFE8, 0xF7EFE8, 0xF7E0C9, clNone, clNone, clNone, Keep, Keep, Keep, Keep, 0xF9CEA4,
     0xE4A262},
    {{tsOffice2013White, tsOffice2013LightGray, tsOffice2013Gray},
     0xFCF0E4, 0xFCF0E4, clNone, clNone, 0xFCE2C8, clNone, clNone, clNone, Keep, Keep, Keep, Keep, 0xEAB47E, 0xE59D56},
    {{tsOffice2016White},
     0xF2E1D5, clNone, clNone, clNone, 0xE3BDA3, clNone, clNone, clNone, Keep, Keep, Keep, Keep, 0xF2E1D5, 0xE3BDA3},
    {{tsOffice2016Gray},
     0xF2E1D5, 0xF2E1D5, clNone, clNone, 0xE3BDA3, clNone, clNone, clNone, Keep, Keep, Keep, Keep, 0xF2E1D5, 0xE3BDA3},
    {{tsOffice2016Black},
     0x6A6A6A, 0x6A6A6A, clNone, clNone, 0x444444, clNone, clNone, clNone, Keep, Keep, Keep, Keep, 0x6A6A6A, 0x444444,
     Keep, 0xFFFFFF},
};

void Put(TColor& Field, TColor Value)
{
    if (Value != Keep)
        Field = Value;
}

} // namespace

void TAdvCustomDropDown::ApplyItemAppearanceStyle(TItemAppearance* Appearance, TPackStyle Style)
{
    if (!Appearance)
        return;
    if (Style != tsCustom) {
        Appearance->BorderColorHot = clNone;
        Appearance->BorderColorSelected = clNone;
        Appearance->ColorSelectedText = 0;
        Appearance->ColorHotText = 0;
    }
    Appearance->GetFont()->SetColor(0);
    for (const TItemStyleRow& row : ItemStyleRows) {
        bool listed = false;
        for (TPackStyle s : row.Styles)
            listed = listed || s == Style;
        if (!listed)
            continue;
        TItemAppearance& a = *Appearance;
        Put(a.ColorHot, row.Hot);
        Put(a.ColorHotTo, row.HotTo);
        Put(a.ColorMirrorHot, row.MirrorHot);
        Put(a.ColorMirrorHotTo, row.MirrorHotTo);
        Put(a.ColorSelected, row.Selected);
        Put(a.ColorSelectedTo, row.SelectedTo);
        Put(a.ColorMirrorSelected, row.MirrorSelected);
        Put(a.ColorMirrorSelectedTo, row.MirrorSelectedTo);
        Put(a.BorderColor, row.Border);
        Put(a.BorderColorTop, row.Top);
        Put(a.BorderColorBottom, row.Bottom);
        Put(a.EdgeColor, row.Edge);
        Put(a.BorderColorHot, row.BorderHot);
        Put(a.BorderColorSelected, row.BorderSelected);
        Put(a.ColorSelectedText, row.SelectedText);
        if (row.FontColor != Keep)
            a.GetFont()->SetColor(row.FontColor);
    }
}
