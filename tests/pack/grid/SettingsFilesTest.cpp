// The grid's look and print settings in real files: the names and forms the
// visual-properties file is written in, that another grid reads back what
// one wrote, that a file that does not read changes nothing, and the print
// settings section with its defaults, ranges and added font styles.
#include "DataGridSupport.h"
#include "IniFiles.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;
using testing_support::FileBytes;
using testing_support::WriteBytes;

namespace {

std::vector<String> Lines(const std::wstring& path)
{
    TOwned<TStringList> list(New<TStringList>());
    list->LoadFromFile(path);
    std::vector<String> lines;
    for (int i = 0; i < list->Count(); ++i)
        lines.push_back(list->Get(i));
    return lines;
}

String NameOf(const String& line)
{
    return line.substr(0, line.find(L'='));
}

// The file's bytes with the whole line of the named value replaced.
std::string WithLine(std::string bytes, const std::string& name, const std::string& line)
{
    const size_t at = bytes.find("\n" + name + "=");
    const size_t start = at == std::string::npos ? 0 : at + 1;
    const size_t end = bytes.find("\r\n", start);
    bytes.replace(start, end - start, line);
    return bytes;
}

// A grid whose look differs from a new grid's in every group of the file.
void ChangeLook(TAdvStringGrid* g)
{
    g->SetColor(clInfoBk);
    g->SetSelectionColor(0x112233);
    g->SetSelectionTextColor(clRed);
    g->SetURLShow(true);
    g->SetActiveRowShow(true);
    g->GetFont()->SetName(L"Courier New");
    g->GetFont()->SetSize(14);
    g->GetFont()->SetStyle(TFontStyles{fsBold, fsStrikeOut});
    g->GetFont()->SetColor(0x00A0B0);
    g->GetFixedFont()->SetStyle(TFontStyles{fsItalic});
    g->GetBalloon()->SetTransparency(77);
    g->GetBands()->SetActive(true);
    g->GetControlLook()->SetControlStyle(csFlat);
    g->GetControlLook()->SetCheckSize(21);
    g->GetGrouping()->SetSummaryLineWidth(5);
    g->SetGridLineColor(clNavy);
    g->GetBackGround()->SetDisplay(bdGradientVert);
    g->GetBackGround()->SetCells(bcAll);
    g->SetPackGradientFrom(0x010203);
    g->SetPackGradientMirrorTo(0x040506);
    g->SetSelectionStyle(ssWin7);
}

// The file a grid with a changed look writes.
std::wstring WrittenLook(const testing_support::TempDir& dir, const wchar_t* name)
{
    const std::wstring file = dir.File(name);
    TFilledGrid<> g(3, 3);
    ChangeLook(g.grid);
    g->SaveVisualProps(file);
    return file;
}

} // namespace

TEST(VisualProps, FileNamesEveryPropertyInOrder)
{
    testing_support::TempDir dir;
    const std::wstring file = WrittenLook(dir, L"look.txt");

    const std::vector<String> expected = {
        L"Color", L"HintColor", L"SelectionColor", L"SelectionColorTo", L"SelectionMirrorColor",
        L"SelectionMirrorColorTo", L"SelectionTextColor", L"URLColor", L"URLShow", L"URLShowInText",
        L"ScrollColor", L"ActiveRowColor", L"ActiveRowShow", L"ActiveCellShow", L"Font.Color", L"Font.Style",
        L"Font.Size", L"Font.Name", L"ActiveCellColor", L"ActiveCellColorTo", L"ActiveCellFont.Color",
        L"ActiveCellFont.Style", L"ActiveCellFont.Size", L"ActiveCellFont.Name", L"FixedFont.Color",
        L"FixedFont.Style", L"FixedFont.Size", L"FixedFont.Name", L"Balloon.BackgroundColor", L"Balloon.TextColor",
        L"Balloon.Transparency", L"Bands.PrimaryColor", L"Bands.SecondaryColor", L"Bands.Active",
        L"SortSettings.IndexColor", L"FloatingFooter.Color", L"ControlLook.CheckSize", L"ControlLook.Color",
        L"ControlLook.CommentColor", L"ControlLook.ControlStyle", L"ControlLook.FixedGradientFrom",
        L"ControlLook.FixedGradientTo", L"ControlLook.RadioSize", L"ControlLook.FlatButton",
        L"ControlLook.ProgressBorderColor", L"ControlLook.ProgressXP", L"Look", L"SearchFooter.Color",
        L"SearchFooter.ColorTo", L"Grouping.HeaderColor", L"Grouping.HeaderColorTo", L"Grouping.HeaderTextColor",
        L"Grouping.HeaderUnderline", L"Grouping.HeaderLineColor", L"Grouping.HeaderLineWidth",
        L"Grouping.SummaryColor", L"Grouping.SummaryColorTo", L"Grouping.SummaryTextColor", L"Grouping.SummaryLine",
        L"Grouping.SummaryLineColor", L"Grouping.SummaryLineWidth", L"GridLineColor", L"GridFixedLineColor",
        L"BackGround.Top", L"BackGround.Left", L"BackGround.Display", L"BackGround.Cells", L"BackGround.Color",
        L"BackGround.ColorTo", L"PackGradFrom", L"PackGradTo", L"PackGradMirrorFrom", L"PackGradMirrorTo",
        L"SelectionStyle"};
    std::vector<String> names;
    for (const String& line : Lines(file))
        names.push_back(NameOf(line));
    EXPECT_EQ(names, expected);

    // Values in their forms: colour names or "$" and eight digits, words for
    // switches and enumerations, styles as identifiers; CR LF line ends.
    const std::string bytes = FileBytes(file);
    for (const char* line : {"Color=clInfoBk\r\n", "SelectionColor=$00112233\r\n", "SelectionTextColor=clRed\r\n",
                             "URLShow=true\r\n", "URLShowInText=false\r\n", "Font.Style=fsBold,fsStrikeOut\r\n",
                             "Font.Size=14\r\n", "Font.Name=Courier New\r\n", "FixedFont.Style=fsItalic\r\n",
                             "Balloon.Transparency=77\r\n", "ControlLook.ControlStyle=csFlat\r\n", "Look=glXP\r\n",
                             "BackGround.Display=bdGradientVert\r\n", "PackGradFrom=$00010203\r\n",
                             "SelectionStyle=2\r\n"})
        EXPECT_NE(bytes.find(line), std::string::npos) << line;
}

TEST(VisualProps, AnotherGridReadsBackWhatOneWrote)
{
    testing_support::TempDir dir;
    const std::wstring file = WrittenLook(dir, L"look.txt");

    TFilledGrid<> target(3, 3);
    target->LoadVisualProps(file);
    EXPECT_EQ(target->GetColor(), clInfoBk);
    EXPECT_EQ(target->GetSelectionColor(), 0x112233);
    EXPECT_EQ(target->GetSelectionTextColor(), clRed);
    EXPECT_TRUE(target->GetURLShow());
    EXPECT_TRUE(target->GetActiveRowShow());
    EXPECT_EQ(target->GetFont()->GetName(), L"Courier New");
    EXPECT_EQ(target->GetFont()->GetSize(), 14);
    EXPECT_EQ(target->GetFont()->GetStyle(), (TFontStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(target->GetFont()->GetColor(), 0x00A0B0);
    EXPECT_EQ(target->GetFixedFont()->GetStyle(), (TFontStyles{fsItalic}));
    EXPECT_EQ(target->GetBalloon()->GetTransparency(), 77);
    EXPECT_TRUE(target->GetBands()->GetActive());
    EXPECT_EQ(target->GetControlLook()->GetControlStyle(), csFlat);
    EXPECT_EQ(target->GetControlLook()->GetCheckSize(), 21);
    EXPECT_EQ(target->GetGrouping()->GetSummaryLineWidth(), 5);
    EXPECT_EQ(target->GetGridLineColor(), clNavy);
    EXPECT_EQ(target->GetBackGround()->GetDisplay(), bdGradientVert);
    EXPECT_EQ(target->GetBackGround()->GetCells(), bcAll);
    // The header gradient reaches the control look too.
    EXPECT_EQ(target->GetPackGradientFrom(), 0x010203);
    EXPECT_EQ(target->GetControlLook()->GetFixedGradientFrom(), 0x010203);
    EXPECT_EQ(target->GetControlLook()->GetFixedGradientMirrorTo(), 0x040506);
    EXPECT_EQ(target->GetSelectionStyle(), ssWin7);
    EXPECT_EQ(target->GetLook(), glCustom);
}

TEST(VisualProps, ReaderForgivesCaseLookAndAGradientLeftOut)
{
    testing_support::TempDir dir;
    const std::wstring base = dir.File(L"base.txt");
    TFilledGrid<> source(3, 3);
    source->SaveVisualProps(base);
    const std::string written = FileBytes(base);

    struct Case {
        const char* name;
        std::string bytes;
        std::function<void(TAdvStringGrid*)> check;
    };
    const Case cases[] = {
        {"names and words in any case", WithLine(written, "Bands.Active", "BANDS.ACTIVE=True"),
         [](TAdvStringGrid* g) { EXPECT_TRUE(g->GetBands()->GetActive()); }},
        {"an unknown control style leaves the style",
         WithLine(written, "ControlLook.ControlStyle", "ControlLook.ControlStyle=csRound"),
         [](TAdvStringGrid* g) { EXPECT_EQ(g->GetControlLook()->GetControlStyle(), csGlyph); }},
        {"an empty look", WithLine(written, "Look", "Look="),
         [](TAdvStringGrid* g) { EXPECT_EQ(g->GetLook(), glCustom); }},
        {"an unknown look", WithLine(written, "Look", "Look=glBlue"),
         [](TAdvStringGrid* g) { EXPECT_EQ(g->GetLook(), glCustom); }},
        {"no gradient: gradient and selection style untouched", WithLine(written, "PackGradFrom", "PackGradFrom="),
         [](TAdvStringGrid* g) {
             EXPECT_EQ(g->GetPackGradientFrom(), 0x0000FF);
             EXPECT_EQ(g->GetSelectionStyle(), ssVista);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring file = dir.File(L"case.txt");
        WriteBytes(file, c.bytes);
        TFilledGrid<> g(3, 3);
        g->GetControlLook()->SetControlStyle(csGlyph);
        g->SetPackGradientFrom(0x0000FF);
        g->SetSelectionStyle(ssVista);
        g->LoadVisualProps(file);
        c.check(g.grid);
    }
}

TEST(VisualProps, FileThatDoesNotReadChangesNothing)
{
    testing_support::TempDir dir;
    const std::string written = FileBytes(WrittenLook(dir, L"good.txt"));

    struct Case {
        const char* name;
        std::string value, line;
    };
    const Case cases[] = {
        {"a number missing", "Balloon.Transparency", "Balloon.Opacity=77"},
        {"a number that is none", "Grouping.SummaryLineWidth", "Grouping.SummaryLineWidth=five"},
        {"a font size missing", "FixedFont.Size", "FixedFont.Points=8"},
        {"a colour that is none", "GridLineColor", "GridLineColor=navy blue"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring file = dir.File(L"bad.txt");
        WriteBytes(file, WithLine(written, c.value, c.line));
        TFilledGrid<> g(3, 3);
        const String fontName = g->GetFont()->GetName();
        EXPECT_THROW(g->LoadVisualProps(file), EConvertError);
        EXPECT_EQ(g->GetColor(), clWindow);
        EXPECT_EQ(g->GetFont()->GetName(), fontName);
        EXPECT_EQ(g->GetLook(), glXP);
    }
}

TEST(VisualProps, FilesThatCannotBeOpenedOrCreated)
{
    testing_support::TempDir dir;
    TFilledGrid<> g(3, 3);
    const std::wstring missing = dir.File(L"missing.txt");
    try {
        g->LoadVisualProps(missing);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Cannot open file " + missing);
    }
    const std::wstring unwritable = dir.File(L"no such folder\\look.txt");
    try {
        g->SaveVisualProps(unwritable);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Cannot Create " + unwritable);
    }
}

// --- print settings -----------------------------------------------------------------------

namespace {

// Every setting the section holds, as text, for comparing two grids.
std::vector<String> PrintSettingsOf(TAdvStringGrid* g)
{
    TPrintSettings* p = g->GetPrintSettings();
    auto font = [](TFont* f) {
        return f->GetName() + L"/" + IntToStr(f->GetSize()) + L"/" + IntToStr(f->GetColor()) + L"/" +
               (f->GetStyle().Contains(fsBold) ? L"b" : L"") + (f->GetStyle().Contains(fsItalic) ? L"i" : L"") +
               (f->GetStyle().Contains(fsUnderline) ? L"u" : L"") + (f->GetStyle().Contains(fsStrikeOut) ? L"s" : L"");
    };
    return {IntToStr(p->GetColumnSpacing()), IntToStr(p->GetRowSpacing()), IntToStr(p->GetTitleSpacing()),
            IntToStr(p->GetFixedHeight()), IntToStr(p->GetFixedWidth()), IntToStr(p->GetCentered()),
            IntToStr(p->GetNoAutoSize()), IntToStr(p->GetNoAutoSizeRow()), IntToStr(p->GetUseFixedHeight()),
            IntToStr(p->GetUseFixedWidth()), IntToStr(p->GetRepeatFixedRows()), IntToStr(p->GetRepeatFixedCols()),
            IntToStr(p->GetUseDisplayFont()), IntToStr(p->GetUseDefaultOrientation()), IntToStr(p->GetBorders()),
            IntToStr(p->GetBorderColor()), IntToStr(p->GetBorderStyle()), IntToStr(p->GetDate()),
            IntToStr(p->GetPageNr()), IntToStr(p->GetTitle()), IntToStr(p->GetTime()), p->GetDateFormat(),
            p->GetTitleText(), IntToStr(p->GetFooterSize()), IntToStr(p->GetHeaderSize()),
            IntToStr(p->GetLeftSize()), IntToStr(p->GetRightSize()), IntToStr(p->GetFitToPage()),
            font(p->GetFont()), font(p->GetHeaderFont()), font(p->GetFooterFont()), p->GetPageNumSep(),
            p->GetPageSuffix(), p->GetPagePrefix(), IntToStr(p->GetOrientation()), p->GetTitleLines()->GetText(),
            IntToStr(p->GetPrintGraphics())};
}

void WriteSection(const std::wstring& file, const std::vector<std::pair<String, String>>& values)
{
    TOwned<TMemIniFile> ini(New<TMemIniFile>(file));
    for (const auto& [key, value] : values)
        ini->WriteString(L"Print", key, value);
    ini->UpdateFile();
}

} // namespace

TEST(PrintSettingsFile, AnotherGridReadsBackWhatOneWrote)
{
    testing_support::TempDir dir;
    const std::wstring file = dir.File(L"print.ini");
    TFilledGrid<> source(2, 2);
    TPrintSettings* p = source->GetPrintSettings();
    p->SetColumnSpacing(7);
    p->SetFixedWidth(33);
    p->SetCentered(false);
    p->SetRepeatFixedRows(true);
    p->SetBorders(pbAroundVertical);
    p->SetBorderStyle(psDashDot);
    p->SetBorderColor(0x123456);
    p->SetDate(ppBottomCenter);
    p->SetTitle(ppTopLeft);
    p->SetDateFormat(L"yyyy-mm-dd");
    p->SetTitleText(L"Computers");
    p->SetLeftSize(250);
    p->SetFitToPage(fpShrink);
    p->GetFont()->SetName(L"Courier New");
    p->GetHeaderFont()->SetStyle(TFontStyles{fsBold, fsUnderline});
    p->GetFooterFont()->SetColor(clMaroon);
    p->SetPageNumSep(L"-");
    p->SetPagePrefix(L"Page");
    p->SetOrientation(poLandscape);
    p->GetTitleLines()->SetText(L"Inventory\r\nof the domain");
    p->SetPrintGraphics(true);
    source->SavePrintSettings(file, L"Print");

    TOwned<TMemIniFile> ini(New<TMemIniFile>(file));
    EXPECT_EQ(ini->ReadString(L"Print", L"Centered", L""), L"N");
    EXPECT_EQ(ini->ReadString(L"Print", L"RepeatFixedRows", L""), L"Y");
    EXPECT_EQ(ini->ReadString(L"Print", L"HeaderFontStyle", L""), L"5");
    EXPECT_EQ(ini->ReadString(L"Print", L"TitleLines", L""), L"Inventory\\nof the domain\\n");
    TOwned<TStringList> keys(New<TStringList>());
    ini->ReadSection(L"Print", keys.get());
    const std::vector<const wchar_t*> order = {
        L"ColumnSpacing", L"RowSpacing", L"TitleSpacing", L"FixedHeight", L"FixedWidth", L"Centered", L"NoAutoSize",
        L"NoAutoSizeRow", L"UseFixedHeight", L"UseFixedWidth", L"RepeatFixedRows", L"RepeatFixedCols",
        L"UseDisplFont", L"UseDefOrientation", L"Borders", L"BorderColor", L"BorderStyle", L"Date", L"PageNr",
        L"Title", L"Time", L"DateFormat", L"TitleText", L"FooterSize", L"HeaderSize", L"LeftSize", L"RightSize",
        L"FitToPage", L"FontName", L"FontSize", L"FontStyle", L"FontColor", L"HeaderFontName", L"HeaderFontSize",
        L"HeaderFontStyle", L"HeaderFontColor", L"FooterFontName", L"FooterFontSize", L"FooterFontStyle",
        L"FooterFontColor", L"PageNumSep", L"PageSuffix", L"PagePrefix", L"Orientation", L"TitleLines",
        L"PrintGraphics"};
    ASSERT_EQ(keys->Count(), static_cast<int>(order.size()));
    for (int i = 0; i < keys->Count(); ++i)
        EXPECT_EQ(keys->Get(i), order[static_cast<size_t>(i)]);

    TFilledGrid<> target(2, 2);
    target->LoadPrintSettings(file, L"Print");
    EXPECT_EQ(PrintSettingsOf(target.grid), PrintSettingsOf(source.grid));
}

TEST(PrintSettingsFile, MissingKeysReadAsDefaultsAndOddValuesAsTheRangesAllow)
{
    testing_support::TempDir dir;
    const std::wstring file = dir.File(L"print.ini");
    WriteSection(file, {{L"Borders", L"9"}, {L"BorderStyle", L"-1"}, {L"FitToPage", L"2"}, {L"Orientation", L"2"},
                        {L"Date", L"7"}, {L"Time", L"6"}, {L"NoAutoSize", L"y"}, {L"TitleSpacing", L"x"}});
    TFilledGrid<> g(2, 2);
    TPrintSettings* p = g->GetPrintSettings();
    p->SetCentered(false);
    p->SetRepeatFixedCols(true);
    p->SetBorders(pbDouble);
    p->SetBorderStyle(psDot);
    p->SetOrientation(poLandscape);
    p->SetDate(ppTopRight);
    g->LoadPrintSettings(file, L"Print");

    EXPECT_TRUE(p->GetCentered()) << "a missing Centered reads as Y";
    EXPECT_FALSE(p->GetRepeatFixedCols()) << "other missing switches read as N";
    EXPECT_FALSE(p->GetNoAutoSize()) << "only Y is yes";
    EXPECT_EQ(p->GetColumnSpacing(), 20);
    EXPECT_EQ(p->GetTitleSpacing(), 20) << "a value that is no number reads as the default";
    EXPECT_EQ(p->GetFooterSize(), 100);
    EXPECT_EQ(p->GetBorders(), pbDouble) << "out of range: kept";
    EXPECT_EQ(p->GetBorderStyle(), psDot);
    EXPECT_EQ(p->GetOrientation(), poLandscape);
    EXPECT_EQ(p->GetFitToPage(), fpShrink);
    EXPECT_EQ(p->GetDate(), ppNone) << "a position out of range reads as none";
    EXPECT_EQ(p->GetTime(), ppBottomCenter);
    EXPECT_EQ(p->GetFont()->GetName(), L"Arial");
    EXPECT_EQ(p->GetFont()->GetSize(), 10);
    // The load writes the file back.
    TOwned<TMemIniFile> ini(New<TMemIniFile>(file));
    EXPECT_EQ(ini->ReadString(L"Print", L"Borders", L""), L"9");
}

TEST(PrintSettingsFile, FontStylesAreAddedNeverTakenAway)
{
    testing_support::TempDir dir;
    const std::wstring file = dir.File(L"print.ini");
    WriteSection(file, {{L"FontStyle", L"0"}, {L"HeaderFontStyle", L"4"}, {L"FooterFontStyle", L"10"}});
    TFilledGrid<> g(2, 2);
    TPrintSettings* p = g->GetPrintSettings();
    p->GetFont()->SetStyle(TFontStyles{fsBold});
    p->GetHeaderFont()->SetStyle(TFontStyles{fsBold});
    g->LoadPrintSettings(file, L"Print");
    EXPECT_EQ(p->GetFont()->GetStyle(), (TFontStyles{fsBold}));
    EXPECT_EQ(p->GetHeaderFont()->GetStyle(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(p->GetFooterFont()->GetStyle(), (TFontStyles{fsItalic, fsStrikeOut}));
}
