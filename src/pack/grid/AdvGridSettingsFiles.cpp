// The grid's look and its print settings kept in files: the colours, fonts
// and look as "Name=Value" lines, and the print settings as a section of an
// INI file.
#include "AdvGrid.h"
#include "IniFiles.h"
#include "SysUtils.h"
#include <iterator>

namespace {

// --- the visual-properties file -----------------------------------------------------------

enum TPropForm { pfColor, pfBool, pfInt, pfFont, pfEnum };

// One line (four for a font) of the file. Colours, switches, numbers and
// enumerations travel through get and set as integers; fonts through font.
struct TVisualProp {
    const wchar_t* name;
    TPropForm form;
    int (*get)(TAdvStringGrid&);
    void (*set)(TAdvStringGrid&, int);
    TFont* (*font)(TAdvStringGrid&) = nullptr;
    // Identifiers of an enumeration by ordinal.
    const wchar_t* const* idents = nullptr;
    int identCount = 0;
};

using G = TAdvStringGrid;

const wchar_t* const ControlStyleNames[] = {L"csClassic", L"csFlat", L"csWinXP", L"csBorland",
                                            L"csPack",    L"csGlyph", L"csTheme"};
// glCustom writes as an empty value.
const wchar_t* const LookNames[] = {L"glStandard", L"glSoft",     L"glClassic", L"glPack",      L"glXP",
                                    L"glListView", L"glVista",    L"glWin7",    L"glOffice2007"};
const wchar_t* const DisplayNames[] = {L"bdTile", L"bdFixed", L"bdGradientHorz", L"bdGradientVert"};
const wchar_t* const CellsNames[] = {L"bcNormal", L"bcFixed", L"bcAll"};

// The five selection colours: read once in their place and again at the
// end, after the look's preset.
const TVisualProp SelectionColors[] = {
    {L"SelectionColor", pfColor, [](G& g) { return g.GetSelectionColor(); },
     [](G& g, int v) { g.SetSelectionColor(v); }},
    {L"SelectionColorTo", pfColor, [](G& g) { return g.GetSelectionColorTo(); },
     [](G& g, int v) { g.SetSelectionColorTo(v); }},
    {L"SelectionMirrorColor", pfColor, [](G& g) { return g.GetSelectionMirrorColor(); },
     [](G& g, int v) { g.SetSelectionMirrorColor(v); }},
    {L"SelectionMirrorColorTo", pfColor, [](G& g) { return g.GetSelectionMirrorColorTo(); },
     [](G& g, int v) { g.SetSelectionMirrorColorTo(v); }},
    {L"SelectionTextColor", pfColor, [](G& g) { return g.GetSelectionTextColor(); },
     [](G& g, int v) { g.SetSelectionTextColor(v); }},
};

// Everything between the selection colours and the header gradient, in the
// file's order. The reader applies them in this order too.
const TVisualProp LookProps[] = {
    {L"URLColor", pfColor, [](G& g) { return g.GetURLColor(); }, [](G& g, int v) { g.SetURLColor(v); }},
    {L"URLShow", pfBool, [](G& g) { return int(g.GetURLShow()); }, [](G& g, int v) { g.SetURLShow(v != 0); }},
    {L"URLShowInText", pfBool, [](G& g) { return int(g.GetURLShowInText()); },
     [](G& g, int v) { g.SetURLShowInText(v != 0); }},
    {L"ScrollColor", pfColor, [](G& g) { return g.GetScrollColor(); }, [](G& g, int v) { g.SetScrollColor(v); }},
    {L"ActiveRowColor", pfColor, [](G& g) { return g.GetActiveRowColor(); },
     [](G& g, int v) { g.SetActiveRowColor(v); }},
    {L"ActiveRowShow", pfBool, [](G& g) { return int(g.GetActiveRowShow()); },
     [](G& g, int v) { g.SetActiveRowShow(v != 0); }},
    {L"ActiveCellShow", pfBool, [](G& g) { return int(g.GetActiveCellShow()); },
     [](G& g, int v) { g.SetActiveCellShow(v != 0); }},
    {L"Font", pfFont, nullptr, nullptr, [](G& g) { return g.GetFont(); }},
    {L"ActiveCellColor", pfColor, [](G& g) { return g.GetActiveCellColor(); },
     [](G& g, int v) { g.SetActiveCellColor(v); }},
    {L"ActiveCellColorTo", pfColor, [](G& g) { return g.GetActiveCellColorTo(); },
     [](G& g, int v) { g.SetActiveCellColorTo(v); }},
    {L"ActiveCellFont", pfFont, nullptr, nullptr, [](G& g) { return g.GetActiveCellFont(); }},
    {L"FixedFont", pfFont, nullptr, nullptr, [](G& g) { return g.GetFixedFont(); }},
    {L"Balloon.BackgroundColor", pfColor, [](G& g) { return g.GetBalloon()->GetBackgroundColor(); },
     [](G& g, int v) { g.GetBalloon()->SetBackgroundColor(v); }},
    {L"Balloon.TextColor", pfColor, [](G& g) { return g.GetBalloon()->GetTextColor(); },
     [](G& g, int v) { g.GetBalloon()->SetTextColor(v); }},
    {L"Balloon.Transparency", pfInt, [](G& g) { return int(g.GetBalloon()->GetTransparency()); },
     [](G& g, int v) { g.GetBalloon()->SetTransparency(static_cast<Byte>(v)); }},
    {L"Bands.PrimaryColor", pfColor, [](G& g) { return g.GetBands()->GetPrimaryColor(); },
     [](G& g, int v) { g.GetBands()->SetPrimaryColor(v); }},
    {L"Bands.SecondaryColor", pfColor, [](G& g) { return g.GetBands()->GetSecondaryColor(); },
     [](G& g, int v) { g.GetBands()->SetSecondaryColor(v); }},
    {L"Bands.Active", pfBool, [](G& g) { return int(g.GetBands()->GetActive()); },
     [](G& g, int v) { g.GetBands()->SetActive(v != 0); }},
    {L"SortSettings.IndexColor", pfColor, [](G& g) { return g.GetSortSettings()->GetIndexColor(); },
     [](G& g, int v) { g.GetSortSettings()->SetIndexColor(v); }},
    {L"FloatingFooter.Color", pfColor, [](G& g) { return g.GetFloatingFooter()->GetColor(); },
     [](G& g, int v) { g.GetFloatingFooter()->SetColor(v); }},
    {L"ControlLook.CheckSize", pfInt, [](G& g) { return g.GetControlLook()->GetCheckSize(); },
     [](G& g, int v) { g.GetControlLook()->SetCheckSize(v); }},
    {L"ControlLook.Color", pfColor, [](G& g) { return g.GetControlLook()->GetColor(); },
     [](G& g, int v) { g.GetControlLook()->SetColor(v); }},
    {L"ControlLook.CommentColor", pfColor, [](G& g) { return g.GetControlLook()->GetCommentColor(); },
     [](G& g, int v) { g.GetControlLook()->SetCommentColor(v); }},
    {L"ControlLook.ControlStyle", pfEnum, [](G& g) { return int(g.GetControlLook()->GetControlStyle()); },
     [](G& g, int v) { g.GetControlLook()->SetControlStyle(static_cast<AdvGrid::TControlStyle>(v)); }, nullptr,
     ControlStyleNames, int(std::size(ControlStyleNames))},
    {L"ControlLook.FixedGradientFrom", pfColor, [](G& g) { return g.GetControlLook()->GetFixedGradientFrom(); },
     [](G& g, int v) { g.GetControlLook()->SetFixedGradientFrom(v); }},
    {L"ControlLook.FixedGradientTo", pfColor, [](G& g) { return g.GetControlLook()->GetFixedGradientTo(); },
     [](G& g, int v) { g.GetControlLook()->SetFixedGradientTo(v); }},
    {L"ControlLook.RadioSize", pfInt, [](G& g) { return g.GetControlLook()->GetRadioSize(); },
     [](G& g, int v) { g.GetControlLook()->SetRadioSize(v); }},
    {L"ControlLook.FlatButton", pfBool, [](G& g) { return int(g.GetControlLook()->GetFlatButton()); },
     [](G& g, int v) { g.GetControlLook()->SetFlatButton(v != 0); }},
    {L"ControlLook.ProgressBorderColor", pfColor,
     [](G& g) { return g.GetControlLook()->GetProgressBorderColor(); },
     [](G& g, int v) { g.GetControlLook()->SetProgressBorderColor(v); }},
    {L"ControlLook.ProgressXP", pfBool, [](G& g) { return int(g.GetControlLook()->GetProgressXP()); },
     [](G& g, int v) { g.GetControlLook()->SetProgressXP(v != 0); }},
    // Through the look's setter, which applies the look's colours.
    {L"Look", pfEnum, [](G& g) { return int(g.GetLook()); }, [](G& g, int v) { g.SetLook(static_cast<TGridLook>(v)); },
     nullptr, LookNames, int(std::size(LookNames))},
    {L"SearchFooter.Color", pfColor, [](G& g) { return g.GetSearchFooter()->GetColor(); },
     [](G& g, int v) { g.GetSearchFooter()->SetColor(v); }},
    {L"SearchFooter.ColorTo", pfColor, [](G& g) { return g.GetSearchFooter()->GetColorTo(); },
     [](G& g, int v) { g.GetSearchFooter()->SetColorTo(v); }},
    {L"Grouping.HeaderColor", pfColor, [](G& g) { return g.GetGrouping()->GetHeaderColor(); },
     [](G& g, int v) { g.GetGrouping()->SetHeaderColor(v); }},
    {L"Grouping.HeaderColorTo", pfColor, [](G& g) { return g.GetGrouping()->GetHeaderColorTo(); },
     [](G& g, int v) { g.GetGrouping()->SetHeaderColorTo(v); }},
    {L"Grouping.HeaderTextColor", pfColor, [](G& g) { return g.GetGrouping()->GetHeaderTextColor(); },
     [](G& g, int v) { g.GetGrouping()->SetHeaderTextColor(v); }},
    {L"Grouping.HeaderUnderline", pfBool, [](G& g) { return int(g.GetGrouping()->GetHeaderUnderline()); },
     [](G& g, int v) { g.GetGrouping()->SetHeaderUnderline(v != 0); }},
    {L"Grouping.HeaderLineColor", pfColor, [](G& g) { return g.GetGrouping()->GetHeaderLineColor(); },
     [](G& g, int v) { g.GetGrouping()->SetHeaderLineColor(v); }},
    {L"Grouping.HeaderLineWidth", pfInt, [](G& g) { return g.GetGrouping()->GetHeaderLineWidth(); },
     [](G& g, int v) { g.GetGrouping()->SetHeaderLineWidth(v); }},
    {L"Grouping.SummaryColor", pfColor, [](G& g) { return g.GetGrouping()->GetSummaryColor(); },
     [](G& g, int v) { g.GetGrouping()->SetSummaryColor(v); }},
    {L"Grouping.SummaryColorTo", pfColor, [](G& g) { return g.GetGrouping()->GetSummaryColorTo(); },
     [](G& g, int v) { g.GetGrouping()->SetSummaryColorTo(v); }},
    {L"Grouping.SummaryTextColor", pfColor, [](G& g) { return g.GetGrouping()->GetSummaryTextColor(); },
     [](G& g, int v) { g.GetGrouping()->SetSummaryTextColor(v); }},
    {L"Grouping.SummaryLine", pfBool, [](G& g) { return int(g.GetGrouping()->GetSummaryLine()); },
     [](G& g, int v) { g.GetGrouping()->SetSummaryLine(v != 0); }},
    {L"Grouping.SummaryLineColor", pfColor, [](G& g) { return g.GetGrouping()->GetSummaryLineColor(); },
     [](G& g, int v) { g.GetGrouping()->SetSummaryLineColor(v); }},
    {L"Grouping.SummaryLineWidth", pfInt, [](G& g) { return g.GetGrouping()->GetSummaryLineWidth(); },
     [](G& g, int v) { g.GetGrouping()->SetSummaryLineWidth(v); }},
    {L"GridLineColor", pfColor, [](G& g) { return g.GetGridLineColor(); },
     [](G& g, int v) { g.SetGridLineColor(v); }},
    {L"GridFixedLineColor", pfColor, [](G& g) { return g.GetGridFixedLineColor(); },
     [](G& g, int v) { g.SetGridFixedLineColor(v); }},
    {L"BackGround.Top", pfInt, [](G& g) { return g.GetBackGround()->GetTop(); },
     [](G& g, int v) { g.GetBackGround()->SetTop(v); }},
    {L"BackGround.Left", pfInt, [](G& g) { return g.GetBackGround()->GetLeft(); },
     [](G& g, int v) { g.GetBackGround()->SetLeft(v); }},
    {L"BackGround.Display", pfEnum, [](G& g) { return int(g.GetBackGround()->GetDisplay()); },
     [](G& g, int v) { g.GetBackGround()->SetDisplay(static_cast<TBackGroundDisplay>(v)); }, nullptr, DisplayNames,
     int(std::size(DisplayNames))},
    {L"BackGround.Cells", pfEnum, [](G& g) { return int(g.GetBackGround()->GetCells()); },
     [](G& g, int v) { g.GetBackGround()->SetCells(static_cast<TBackGroundCells>(v)); }, nullptr, CellsNames,
     int(std::size(CellsNames))},
    {L"BackGround.Color", pfColor, [](G& g) { return g.GetBackGround()->GetColor(); },
     [](G& g, int v) { g.GetBackGround()->SetColor(v); }},
    {L"BackGround.ColorTo", pfColor, [](G& g) { return g.GetBackGround()->GetColorTo(); },
     [](G& g, int v) { g.GetBackGround()->SetColorTo(v); }},
};

// The header gradient: stored in the grid and copied into the control look.
// The reader takes them, with the selection style, only when the file has
// a "PackGradFrom" value.
const TVisualProp GradientProps[] = {
    {L"PackGradFrom", pfColor, [](G& g) { return g.GetPackGradientFrom(); },
     [](G& g, int v) {
         g.SetPackGradientFrom(v);
         g.GetControlLook()->SetFixedGradientFrom(v);
     }},
    {L"PackGradTo", pfColor, [](G& g) { return g.GetPackGradientTo(); },
     [](G& g, int v) {
         g.SetPackGradientTo(v);
         g.GetControlLook()->SetFixedGradientTo(v);
     }},
    {L"PackGradMirrorFrom", pfColor, [](G& g) { return g.GetPackGradientMirrorFrom(); },
     [](G& g, int v) {
         g.SetPackGradientMirrorFrom(v);
         g.GetControlLook()->SetFixedGradientMirrorFrom(v);
     }},
    {L"PackGradMirrorTo", pfColor, [](G& g) { return g.GetPackGradientMirrorTo(); },
     [](G& g, int v) {
         g.SetPackGradientMirrorTo(v);
         g.GetControlLook()->SetFixedGradientMirrorTo(v);
     }},
    {L"SelectionStyle", pfInt, [](G& g) { return int(g.GetSelectionStyle()); },
     [](G& g, int v) {
         if (v >= ssDefault && v <= ssOffice2007)
             g.SetSelectionStyle(static_cast<TGridSelectionStyle>(v));
     }},
};

const wchar_t* const FontStyleNames[] = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};

void SaveFont(TStrings* Lines, const String& Prefix, TFont* Font)
{
    String styles;
    for (int s = 0; s < 4; ++s)
        if (Font->GetStyle().Contains(static_cast<TFontStyle>(s)))
            styles += (styles.empty() ? L"" : L",") + String(FontStyleNames[s]);
    Lines->Add(Prefix + L".Color=" + ColorToString(Font->GetColor()));
    Lines->Add(Prefix + L".Style=" + styles);
    Lines->Add(Prefix + L".Size=" + IntToStr(Font->GetSize()));
    Lines->Add(Prefix + L".Name=" + Font->GetName());
}

void SaveProp(TStrings* Lines, TAdvStringGrid& Grid, const TVisualProp& Prop)
{
    const String name = Prop.name;
    switch (Prop.form) {
    case pfColor:
        Lines->Add(name + L"=" + ColorToString(Prop.get(Grid)));
        break;
    case pfBool:
        Lines->Add(name + L"=" + (Prop.get(Grid) ? L"true" : L"false"));
        break;
    case pfInt:
        Lines->Add(name + L"=" + IntToStr(Prop.get(Grid)));
        break;
    case pfEnum: {
        const int value = Prop.get(Grid);
        Lines->Add(name + L"=" + (value >= 0 && value < Prop.identCount ? Prop.idents[value] : L""));
        break;
    }
    case pfFont:
        SaveFont(Lines, name, Prop.font(Grid));
        break;
    }
}

// The file's lines with their values looked up by name, without regard to case.
class TPropReader {
public:
    explicit TPropReader(TStrings* Lines) : lines_(Lines) {}

    String Value(const String& Name) const
    {
        for (int i = 0; i < lines_->Count(); ++i) {
            const String line = lines_->Get(i);
            const size_t eq = line.find(L'=');
            if (eq != String::npos && SameText(line.substr(0, eq), Name))
                return line.substr(eq + 1);
        }
        return {};
    }

    static TColor ColorOf(const String& Text) { return Text.empty() ? clNone : StringToColor(Text); }

    // Raises as the conversions would, so that a file that cannot be read
    // changes nothing.
    void Check(const TVisualProp& Prop) const
    {
        switch (Prop.form) {
        case pfColor:
            ColorOf(Value(Prop.name));
            break;
        case pfInt:
            StrToInt(Value(Prop.name));
            break;
        case pfFont:
            ColorOf(Value(String(Prop.name) + L".Color"));
            StrToInt(Value(String(Prop.name) + L".Size"));
            break;
        case pfBool:
        case pfEnum:
            break;
        }
    }

    void Apply(TAdvStringGrid& Grid, const TVisualProp& Prop) const
    {
        const String text = Value(Prop.name);
        switch (Prop.form) {
        case pfColor:
            Prop.set(Grid, ColorOf(text));
            break;
        case pfBool:
            Prop.set(Grid, SameText(text, L"TRUE") ? 1 : 0);
            break;
        case pfInt:
            Prop.set(Grid, StrToInt(text));
            break;
        case pfEnum:
            // An empty or unknown identifier leaves the value as it was.
            for (int i = 0; i < Prop.identCount; ++i)
                if (SameText(text, Prop.idents[i])) {
                    Prop.set(Grid, i);
                    break;
                }
            break;
        case pfFont:
            ApplyFont(Prop.font(Grid), Prop.name);
            break;
        }
    }

private:
    void ApplyFont(TFont* Font, const String& Prefix) const
    {
        Font->SetColor(ColorOf(Value(Prefix + L".Color")));
        const String styleText = Value(Prefix + L".Style");
        TFontStyles styles;
        for (int s = 0; s < 4; ++s)
            if (styleText.find(FontStyleNames[s]) != String::npos)
                styles << static_cast<TFontStyle>(s);
        Font->SetStyle(styles);
        Font->SetSize(StrToInt(Value(Prefix + L".Size")));
        Font->SetName(Value(Prefix + L".Name"));
    }

    TStrings* lines_ = nullptr;
};

const TVisualProp ColorProp = {L"Color", pfColor, [](G& g) { return g.GetColor(); },
                               [](G& g, int v) { g.SetColor(v); }};
const TVisualProp HintColorProp = {L"HintColor", pfColor, [](G& g) { return g.GetHintColor(); },
                                   [](G& g, int v) { g.SetHintColor(v); }};

// The properties in the file's order, the header gradient only when asked.
template <class Visit>
void ForEachProp(bool WithGradient, Visit visit)
{
    visit(ColorProp);
    visit(HintColorProp);
    for (const TVisualProp& p : SelectionColors)
        visit(p);
    for (const TVisualProp& p : LookProps)
        visit(p);
    if (WithGradient)
        for (const TVisualProp& p : GradientProps)
            visit(p);
}

} // namespace

void TAdvStringGrid::SaveVisualProps(const String& FileName)
{
    TOwned<TStringList> lines(New<TStringList>());
    ForEachProp(true, [&](const TVisualProp& p) { SaveProp(lines.get(), *this, p); });
    TOwned<TFileStream> file;
    try {
        file.reset(New<TFileStream>(FileName, fmCreate));
    } catch (const EStreamError&) {
        throw EAdvGridError(L"Cannot Create " + FileName);
    }
    lines->SaveToStream(file.get(), TEncoding::ANSI());
}

void TAdvStringGrid::LoadVisualProps(const String& FileName)
{
    TOwned<TStringList> lines(New<TStringList>());
    {
        TOwned<TFileStream> file;
        try {
            file.reset(New<TFileStream>(FileName, fmOpenRead | fmShareDenyNone));
        } catch (const EStreamError&) {
            throw EAdvGridError(L"Cannot open file " + FileName);
        }
        lines->LoadFromStream(file.get());
    }
    const TPropReader reader(lines.get());
    const bool gradient = !reader.Value(L"PackGradFrom").empty();

    // The whole file is checked before anything changes.
    ForEachProp(gradient, [&](const TVisualProp& p) { reader.Check(p); });
    ForEachProp(gradient, [&](const TVisualProp& p) { reader.Apply(*this, p); });
    // The look's preset may have replaced them.
    for (const TVisualProp& p : SelectionColors)
        reader.Apply(*this, p);
    // Whatever the file said, the colours are now the file's own.
    FLook = glCustom;
}

// --- print settings -----------------------------------------------------------------------

namespace {

enum TPrintForm { pkInt, pkYesNo, pkOrdinal, pkPosition, pkText };

// One key of the section; integers, switches and ordinals travel as int,
// texts through text.
struct TPrintKey {
    const wchar_t* key;
    TPrintForm form;
    int (*get)(TPrintSettings&);
    void (*set)(TPrintSettings&, int);
    int defaultValue = 0;
    int maxOrdinal = 0;
    String (*getText)(TPrintSettings&) = nullptr;
    void (*setText)(TPrintSettings&, const String&) = nullptr;
};

using P = TPrintSettings;

// The keys before the fonts and after them, in the writer's order.
const TPrintKey LeadingKeys[] = {
    {L"ColumnSpacing", pkInt, [](P& p) { return p.GetColumnSpacing(); }, [](P& p, int v) { p.SetColumnSpacing(v); }, 20},
    {L"RowSpacing", pkInt, [](P& p) { return p.GetRowSpacing(); }, [](P& p, int v) { p.SetRowSpacing(v); }, 20},
    {L"TitleSpacing", pkInt, [](P& p) { return p.GetTitleSpacing(); }, [](P& p, int v) { p.SetTitleSpacing(v); }, 20},
    {L"FixedHeight", pkInt, [](P& p) { return p.GetFixedHeight(); }, [](P& p, int v) { p.SetFixedHeight(v); }},
    {L"FixedWidth", pkInt, [](P& p) { return p.GetFixedWidth(); }, [](P& p, int v) { p.SetFixedWidth(v); }},
    {L"Centered", pkYesNo, [](P& p) { return int(p.GetCentered()); }, [](P& p, int v) { p.SetCentered(v); }, 1},
    {L"NoAutoSize", pkYesNo, [](P& p) { return int(p.GetNoAutoSize()); }, [](P& p, int v) { p.SetNoAutoSize(v); }},
    {L"NoAutoSizeRow", pkYesNo, [](P& p) { return int(p.GetNoAutoSizeRow()); },
     [](P& p, int v) { p.SetNoAutoSizeRow(v); }},
    {L"UseFixedHeight", pkYesNo, [](P& p) { return int(p.GetUseFixedHeight()); },
     [](P& p, int v) { p.SetUseFixedHeight(v); }},
    {L"UseFixedWidth", pkYesNo, [](P& p) { return int(p.GetUseFixedWidth()); },
     [](P& p, int v) { p.SetUseFixedWidth(v); }},
    {L"RepeatFixedRows", pkYesNo, [](P& p) { return int(p.GetRepeatFixedRows()); },
     [](P& p, int v) { p.SetRepeatFixedRows(v); }},
    {L"RepeatFixedCols", pkYesNo, [](P& p) { return int(p.GetRepeatFixedCols()); },
     [](P& p, int v) { p.SetRepeatFixedCols(v); }},
    {L"UseDisplFont", pkYesNo, [](P& p) { return int(p.GetUseDisplayFont()); },
     [](P& p, int v) { p.SetUseDisplayFont(v); }},
    {L"UseDefOrientation", pkYesNo, [](P& p) { return int(p.GetUseDefaultOrientation()); },
     [](P& p, int v) { p.SetUseDefaultOrientation(v); }},
    {L"Borders", pkOrdinal, [](P& p) { return int(p.GetBorders()); },
     [](P& p, int v) { p.SetBorders(static_cast<TPrintBorders>(v)); }, 0, pbCustom},
    {L"BorderColor", pkInt, [](P& p) { return p.GetBorderColor(); }, [](P& p, int v) { p.SetBorderColor(v); }},
    {L"BorderStyle", pkOrdinal, [](P& p) { return int(p.GetBorderStyle()); },
     [](P& p, int v) { p.SetBorderStyle(static_cast<TPenStyle>(v)); }, 0, 6},
    {L"Date", pkPosition, [](P& p) { return int(p.GetDate()); }, [](P& p, int v) { p.SetDate(TPrintPosition(v)); }},
    {L"PageNr", pkPosition, [](P& p) { return int(p.GetPageNr()); },
     [](P& p, int v) { p.SetPageNr(TPrintPosition(v)); }},
    {L"Title", pkPosition, [](P& p) { return int(p.GetTitle()); }, [](P& p, int v) { p.SetTitle(TPrintPosition(v)); }},
    {L"Time", pkPosition, [](P& p) { return int(p.GetTime()); }, [](P& p, int v) { p.SetTime(TPrintPosition(v)); }},
    {L"DateFormat", pkText, nullptr, nullptr, 0, 0, [](P& p) { return p.GetDateFormat(); },
     [](P& p, const String& v) { p.SetDateFormat(v); }},
    {L"TitleText", pkText, nullptr, nullptr, 0, 0, [](P& p) { return p.GetTitleText(); },
     [](P& p, const String& v) { p.SetTitleText(v); }},
    {L"FooterSize", pkInt, [](P& p) { return p.GetFooterSize(); }, [](P& p, int v) { p.SetFooterSize(v); }, 100},
    {L"HeaderSize", pkInt, [](P& p) { return p.GetHeaderSize(); }, [](P& p, int v) { p.SetHeaderSize(v); }, 100},
    {L"LeftSize", pkInt, [](P& p) { return p.GetLeftSize(); }, [](P& p, int v) { p.SetLeftSize(v); }, 100},
    {L"RightSize", pkInt, [](P& p) { return p.GetRightSize(); }, [](P& p, int v) { p.SetRightSize(v); }, 100},
    {L"FitToPage", pkOrdinal, [](P& p) { return int(p.GetFitToPage()); },
     [](P& p, int v) { p.SetFitToPage(static_cast<TFitToPage>(v)); }, 0, fpCustom},
};

const TPrintKey TrailingKeys[] = {
    {L"PageNumSep", pkText, nullptr, nullptr, 0, 0, [](P& p) { return p.GetPageNumSep(); },
     [](P& p, const String& v) { p.SetPageNumSep(v); }},
    {L"PageSuffix", pkText, nullptr, nullptr, 0, 0, [](P& p) { return p.GetPageSuffix(); },
     [](P& p, const String& v) { p.SetPageSuffix(v); }},
    {L"PagePrefix", pkText, nullptr, nullptr, 0, 0, [](P& p) { return p.GetPagePrefix(); },
     [](P& p, const String& v) { p.SetPagePrefix(v); }},
    {L"Orientation", pkOrdinal, [](P& p) { return int(p.GetOrientation()); },
     [](P& p, int v) { p.SetOrientation(static_cast<TPrinterOrientation>(v)); }, 0, poLandscape},
};

struct TPrintFont {
    const wchar_t* prefix;
    TFont* (*font)(TPrintSettings&);
};
const TPrintFont PrintFonts[] = {
    {L"", [](P& p) { return p.GetFont(); }},
    {L"Header", [](P& p) { return p.GetHeaderFont(); }},
    {L"Footer", [](P& p) { return p.GetFooterFont(); }},
};

void WriteKey(TCustomIniFile* Ini, const String& Section, TPrintSettings& Settings, const TPrintKey& Key)
{
    switch (Key.form) {
    case pkInt:
    case pkOrdinal:
    case pkPosition:
        Ini->WriteInteger(Section, Key.key, Key.get(Settings));
        break;
    case pkYesNo:
        Ini->WriteString(Section, Key.key, Key.get(Settings) ? L"Y" : L"N");
        break;
    case pkText:
        Ini->WriteString(Section, Key.key, Key.getText(Settings));
        break;
    }
}

void ReadKey(TCustomIniFile* Ini, const String& Section, TPrintSettings& Settings, const TPrintKey& Key)
{
    switch (Key.form) {
    case pkInt:
        Key.set(Settings, Ini->ReadInteger(Section, Key.key, Key.defaultValue));
        break;
    case pkYesNo:
        Key.set(Settings, Ini->ReadString(Section, Key.key, Key.defaultValue ? L"Y" : L"N") == L"Y");
        break;
    case pkOrdinal:
        // A value out of range leaves the setting as it was.
        if (const int v = Ini->ReadInteger(Section, Key.key, Key.defaultValue); v >= 0 && v <= Key.maxOrdinal)
            Key.set(Settings, v);
        break;
    case pkPosition: {
        const int v = Ini->ReadInteger(Section, Key.key, ppNone);
        Key.set(Settings, v >= ppTopLeft && v <= ppBottomCenter ? v : ppNone);
        break;
    }
    case pkText:
        Key.setText(Settings, Ini->ReadString(Section, Key.key, String()));
        break;
    }
}

// The list's lines as one value: line ends written as the two characters "\n".
String TitleLinesValue(TStrings* Lines)
{
    String value;
    for (wchar_t ch : Lines->GetText()) {
        if (ch == L'\r')
            value += L"\\n";
        else if (ch != L'\n')
            value += ch;
    }
    return value;
}

String TitleLinesText(const String& Value)
{
    String text;
    for (size_t i = 0; i < Value.size(); ++i) {
        if (Value[i] == L'\\' && i + 1 < Value.size() && Value[i + 1] == L'n') {
            text += L'\r';
            ++i;
        } else {
            text += Value[i];
        }
    }
    return text;
}

} // namespace

void TAdvStringGrid::SavePrintSettings(const String& Key, const String& Section)
{
    TOwned<TMemIniFile> ini(New<TMemIniFile>(Key));
    TPrintSettings& settings = *FPrintSettings;
    for (const TPrintKey& k : LeadingKeys)
        WriteKey(ini.get(), Section, settings, k);
    for (const TPrintFont& f : PrintFonts) {
        const String prefix = f.prefix;
        TFont* font = f.font(settings);
        ini->WriteString(Section, prefix + L"FontName", font->GetName());
        ini->WriteInteger(Section, prefix + L"FontSize", font->GetSize());
        ini->WriteInteger(Section, prefix + L"FontStyle", static_cast<int>(font->GetStyle().ToInt()));
        ini->WriteInteger(Section, prefix + L"FontColor", font->GetColor());
    }
    for (const TPrintKey& k : TrailingKeys)
        WriteKey(ini.get(), Section, settings, k);
    ini->WriteString(Section, L"TitleLines", TitleLinesValue(settings.GetTitleLines()));
    ini->WriteString(Section, L"PrintGraphics", settings.GetPrintGraphics() ? L"Y" : L"N");
    ini->UpdateFile();
}

void TAdvStringGrid::LoadPrintSettings(const String& Key, const String& Section)
{
    TOwned<TMemIniFile> ini(New<TMemIniFile>(Key));
    TPrintSettings& settings = *FPrintSettings;
    for (const TPrintKey& k : LeadingKeys)
        ReadKey(ini.get(), Section, settings, k);
    for (const TPrintFont& f : PrintFonts) {
        const String prefix = f.prefix;
        TFont* font = f.font(settings);
        font->SetName(ini->ReadString(Section, prefix + L"FontName", L"Arial"));
        font->SetSize(ini->ReadInteger(Section, prefix + L"FontSize", 10));
        // Styles are added to the font's own; none is taken away.
        const int bits = ini->ReadInteger(Section, prefix + L"FontStyle", 0);
        font->SetStyle(font->GetStyle() + TFontStyles::FromInt(static_cast<unsigned>(bits)));
        font->SetColor(ini->ReadInteger(Section, prefix + L"FontColor", 0));
    }
    for (const TPrintKey& k : TrailingKeys)
        ReadKey(ini.get(), Section, settings, k);
    settings.GetTitleLines()->SetText(TitleLinesText(ini->ReadString(Section, L"TitleLines", String())));
    settings.SetPrintGraphics(ini->ReadString(Section, L"PrintGraphics", L"N") == L"Y");
    ini->UpdateFile();
}
