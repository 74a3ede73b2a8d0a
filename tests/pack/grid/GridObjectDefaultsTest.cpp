// What the grid's option and settings objects hold when created, and what
// Assign copies between two objects of a class. The grid's form sets only the
// properties that differ from these defaults, so each one matters.
#include "AdvGridObjects.h"
#include "DataGridSupport.h"
#include <gtest/gtest.h>
#include <type_traits>
#include <variant>

namespace {

using datagrid_test::V;
using datagrid_test::Value;

// One of each object, as a grid owns them.
struct TGridObjects {
    TOwned<TNavigation> Navigation{New<TNavigation>()};
    TOwned<TMouseActions> MouseActions{New<TMouseActions>(nullptr)};
    TOwned<TSearchFooter> SearchFooter{New<TSearchFooter>(nullptr, false)};
    TOwned<TBands> Bands{New<TBands>()};
    TOwned<TSyncGrid> SyncGrid{New<TSyncGrid>(nullptr)};
    TOwned<TFocusHelper> FocusHelper{New<TFocusHelper>(nullptr)};
    TOwned<TCellNode> CellNode{New<TCellNode>(nullptr)};
    TOwned<TSizeWhileTyping> SizeWhileTyping{New<TSizeWhileTyping>()};
    TOwned<TColumnSize> ColumnSize{New<TColumnSize>(nullptr)};
    TOwned<THTMLSettings> HTMLSettings{New<THTMLSettings>()};
    TOwned<TPrintSettings> PrintSettings{New<TPrintSettings>(nullptr)};
    TOwned<TAutoColor> AutoColor{New<TAutoColor>()};
    TOwned<THoverButtons> HoverButtons{New<THoverButtons>(nullptr)};

    TGridObjects() { HoverButtons->GetButtons()->Add(); }

    TColorSetting* NegativeNumber() const { return AutoColor->GetNegativeNumber(); }
    TColorSetting* PositiveNumber() const { return AutoColor->GetPositiveNumber(); }
    THoverButtonsCollectionItem* HoverButton() const { return HoverButtons->GetButtons()->GetItem(0); }

    // As the grid's Assign does for the objects that have one.
    void AssignFrom(const TGridObjects& s)
    {
        Navigation->Assign(s.Navigation.get());
        MouseActions->Assign(s.MouseActions.get());
        SearchFooter->Assign(s.SearchFooter.get());
        Bands->Assign(s.Bands.get());
        SyncGrid->Assign(s.SyncGrid.get());
        FocusHelper->Assign(s.FocusHelper.get());
        CellNode->Assign(s.CellNode.get());
        ColumnSize->Assign(s.ColumnSize.get());
        HTMLSettings->Assign(s.HTMLSettings.get());
        PrintSettings->Assign(s.PrintSettings.get());
        AutoColor->Assign(s.AutoColor.get());
        HoverButtons->Assign(s.HoverButtons.get());
    }
};

struct PropertyCase {
    const char* object;
    const char* property;
    std::function<Value(const TGridObjects&)> get;
    Value initial;
    // Sets a value other than the default (none for read-only properties).
    std::function<void(TGridObjects&)> change;
    // Whether Assign copies it.
    bool assigned;
};

constexpr bool Copied = true;
constexpr bool NotCopied = false;

#define PROP(Obj, Name, Default, Other, Assigned)                                                         \
    PropertyCase{#Obj, #Name, [](const TGridObjects& o) { return V(o.Obj->Get##Name()); }, V(Default),    \
                 [](TGridObjects& o) { o.Obj->Set##Name(Other); }, Assigned}
#define READONLY(Obj, Name, Default)                                                                      \
    PropertyCase{#Obj, #Name, [](const TGridObjects& o) { return V(o.Obj->Get##Name()); }, V(Default),    \
                 nullptr, Copied}

const std::vector<PropertyCase>& Properties()
{
    static const std::vector<PropertyCase> cases = {
        PROP(Navigation, AdvanceOnEnterLoop, true, false, Copied),
        PROP(Navigation, AdvanceAutoEdit, true, false, Copied),
        PROP(Navigation, AdvanceSkipReadOnlyCells, true, false, Copied),
        PROP(Navigation, AutoComboSelect, true, false, Copied),
        PROP(Navigation, AllowCtrlEnter, true, false, Copied),
        PROP(Navigation, AllowClipboardRowGrow, true, false, Copied),
        PROP(Navigation, AllowClipboardColGrow, true, false, Copied),
        PROP(Navigation, EditSelectAll, true, false, Copied),
        PROP(Navigation, ComboGetUpDown, true, false, Copied),
        PROP(Navigation, CursorWalkAlwaysEdit, true, false, Copied),
        PROP(Navigation, LeftRightRowSelect, true, false, Copied),
        PROP(Navigation, CopyHTMLTagsToClipboard, true, false, Copied),
        PROP(Navigation, SkipFixedCells, true, false, Copied),
        PROP(Navigation, SkipDisabledRows, true, false, Copied),
        PROP(Navigation, AllowInsertRow, false, true, Copied),
        PROP(Navigation, AllowDeleteRow, false, true, Copied),
        PROP(Navigation, AlwaysEdit, false, true, Copied),
        PROP(Navigation, AdvanceOnEnter, false, true, Copied),
        PROP(Navigation, AdvanceInsert, false, true, Copied),
        PROP(Navigation, AutoGotoWhenSorted, false, true, Copied),
        PROP(Navigation, AutoGotoIncremental, false, true, Copied),
        PROP(Navigation, AutoComboDropSize, false, true, Copied),
        PROP(Navigation, AllowClipboardShortCuts, false, true, Copied),
        PROP(Navigation, AllowSmartClipboard, false, true, Copied),
        PROP(Navigation, AllowRTFClipboard, false, true, Copied),
        PROP(Navigation, AllowFmtClipboard, false, true, Copied),
        PROP(Navigation, AllowClipboardAlways, false, true, Copied),
        PROP(Navigation, AllowEditButtonCells, false, true, Copied),
        PROP(Navigation, AdvanceAuto, false, true, Copied),
        PROP(Navigation, AppendOnArrowDown, false, true, Copied),
        PROP(Navigation, CursorWalkEditor, false, true, Copied),
        PROP(Navigation, CursorMoveRows, false, true, Copied),
        PROP(Navigation, MoveRowOnSort, false, true, Copied),
        PROP(Navigation, KeepScrollOnSort, false, true, NotCopied),
        PROP(Navigation, MoveScrollOnly, false, true, Copied),
        PROP(Navigation, ImproveMaskSel, false, true, Copied),
        PROP(Navigation, KeepHorizScroll, false, true, Copied),
        PROP(Navigation, LineFeedOnEnter, false, true, Copied),
        PROP(Navigation, TabToNextAtEnd, false, true, Copied),
        PROP(Navigation, AdvanceDirection, adLeftRight, adTopBottomInCol, Copied),
        PROP(Navigation, TabAdvanceDirection, adLeftRight, adTopBottom, Copied),
        PROP(Navigation, InsertPosition, pInsertBefore, pInsertAfter, Copied),
        PROP(Navigation, ClipboardCutAction, caClear, caRemove, Copied),
        PROP(Navigation, ClipboardPasteAction, paReplace, paInsert, Copied),
        PROP(Navigation, CursorAdvance, caDefault, caLoop, Copied),
        PROP(Navigation, HomeEndKey, heFirstLastColumn, heDefault, Copied),

        PROP(MouseActions, AutoSizeColOnDblClick, true, false, Copied),
        PROP(MouseActions, PreciseNodeClick, true, false, Copied),
        PROP(MouseActions, AllColumnSize, false, true, Copied),
        PROP(MouseActions, AllRowSize, false, true, Copied),
        PROP(MouseActions, AllSelect, false, true, Copied),
        PROP(MouseActions, AutoFocus, false, true, Copied),
        PROP(MouseActions, CaretPositioning, false, true, Copied),
        PROP(MouseActions, CheckAllCheck, false, true, Copied),
        PROP(MouseActions, ColSelect, false, true, Copied),
        PROP(MouseActions, DirectComboClose, false, true, Copied),
        PROP(MouseActions, DirectComboDrop, false, true, Copied),
        PROP(MouseActions, DirectDateClose, false, true, Copied),
        PROP(MouseActions, DirectDateDrop, false, true, Copied),
        PROP(MouseActions, DirectEdit, false, true, Copied),
        PROP(MouseActions, DisjunctRowSelect, false, true, Copied),
        PROP(MouseActions, DisjunctRowSelectNoCtrl, false, true, Copied),
        PROP(MouseActions, DisjunctColSelect, false, true, Copied),
        PROP(MouseActions, DisjunctCellSelect, false, true, Copied),
        PROP(MouseActions, EditOnDblClickOnly, false, true, NotCopied),
        PROP(MouseActions, HotmailRowSelect, false, true, NotCopied),
        PROP(MouseActions, MoveRowOnNodeClick, false, true, Copied),
        PROP(MouseActions, NoAutoRangeScroll, false, true, Copied),
        PROP(MouseActions, NodeAllExpandContract, false, true, Copied),
        PROP(MouseActions, NoScrollOnPartialRow, false, true, Copied),
        PROP(MouseActions, NoScrollOnPartialCol, false, true, Copied),
        PROP(MouseActions, PreciseCheckBoxCheck, false, true, Copied),
        PROP(MouseActions, RangeSelectAndEdit, false, true, Copied),
        PROP(MouseActions, RowSelect, false, true, Copied),
        PROP(MouseActions, RowSelectPersistent, false, true, Copied),
        PROP(MouseActions, SelectOnRightClick, false, true, Copied),
        PROP(MouseActions, SizeFixedCol, false, true, Copied),
        PROP(MouseActions, SizeFixedRow, false, true, NotCopied),
        PROP(MouseActions, TouchScroll, false, true, Copied),
        PROP(MouseActions, PartialScrollDelta, 0, 3, Copied),
        PROP(MouseActions, WheelIncrement, 0, 1, Copied),
        PROP(MouseActions, FixedRowsEdit, fceNone, fceDblClick, Copied),
        PROP(MouseActions, FixedColsEdit, fceNone, fceRightClick, Copied),
        PROP(MouseActions, FixedRowsEditor, fceEdit, fceComboList, Copied),
        PROP(MouseActions, FixedColsEditor, fceEdit, fceComboEdit, Copied),
        PROP(MouseActions, WheelAction, waMoveSelection, waScroll, Copied),
        PROP(MouseActions, WheelActive, waFocus, waMouseOver, Copied),

        PROP(SearchFooter, Color, 0xFFFFFF, 0x123456, Copied),
        PROP(SearchFooter, ColorTo, TColor(0xFF00000F), clNone, Copied),
        PROP(SearchFooter, Visible, false, true, Copied),
        PROP(SearchFooter, AutoSearch, true, false, NotCopied),
        PROP(SearchFooter, AlwaysHighLight, false, true, Copied),
        PROP(SearchFooter, HighLight, hMatchingText, hFullCell, Copied),
        PROP(SearchFooter, SearchActiveColumnOnly, false, true, Copied),
        PROP(SearchFooter, SearchColumn, -1, 4, Copied),
        PROP(SearchFooter, SearchMatchStart, false, true, Copied),
        PROP(SearchFooter, SearchFixedCells, false, true, NotCopied),
        PROP(SearchFooter, SearchHiddenRows, false, true, Copied),
        PROP(SearchFooter, SearchDirection, sdTopBottom, sdLeftRight, Copied),
        PROP(SearchFooter, ShowClose, true, false, Copied),
        PROP(SearchFooter, ShowFindNext, true, false, Copied),
        PROP(SearchFooter, ShowFindPrev, true, false, Copied),
        PROP(SearchFooter, ShowHighLight, true, false, Copied),
        PROP(SearchFooter, ShowMatchCase, true, false, Copied),
        PROP(SearchFooter, FindNextCaption, L"", L"Next", Copied),
        PROP(SearchFooter, FindPrevCaption, L"", L"Prev", Copied),
        PROP(SearchFooter, HighLightCaption, L"", L"Mark", Copied),
        PROP(SearchFooter, MatchCaseCaption, L"", L"Case", Copied),
        PROP(SearchFooter, HintClose, L"", L"Shut", Copied),
        PROP(SearchFooter, HintFindNext, L"", L"Onwards", Copied),
        PROP(SearchFooter, HintFindPrev, L"", L"Back", Copied),
        PROP(SearchFooter, HintHighlight, L"", L"Marks", Copied),
        PROP(SearchFooter, AutoThemeAdapt, false, true, NotCopied),

        PROP(Bands, Active, false, true, Copied),
        PROP(Bands, PrimaryColor, TColor(0xFF000018), 0x00FFFF, Copied),
        PROP(Bands, PrimaryLength, 1, 2, Copied),
        PROP(Bands, SecondaryColor, TColor(0xFF000005), 0xEEEEEE, Copied),
        PROP(Bands, SecondaryLength, 1, 3, Copied),
        PROP(Bands, Print, false, true, Copied),
        READONLY(Bands, TotalLength, 2),

        PROP(SyncGrid, ScrollVertical, false, true, Copied),
        PROP(SyncGrid, ScrollHorizontal, false, true, Copied),
        PROP(SyncGrid, SelectionColumn, false, true, Copied),
        PROP(SyncGrid, SelectionRow, false, true, Copied),
        PROP(SyncGrid, MoveColumn, false, true, Copied),
        PROP(SyncGrid, MoveRow, false, true, Copied),

        PROP(FocusHelper, Enabled, false, true, Copied),

        PROP(CellNode, Color, 0xC0C0C0, 0x0000FF, Copied),
        PROP(CellNode, NodeType, cnXP, cnLeaf, Copied),
        PROP(CellNode, NodeColor, 0, 0x00FF00, Copied),
        PROP(CellNode, NodeIndent, 12, 20, Copied),
        PROP(CellNode, ExpandOne, false, true, Copied),
        PROP(CellNode, ShowTree, true, false, Copied),
        PROP(CellNode, ShowTreeFull, true, false, Copied),
        PROP(CellNode, TreeColor, 0x808080, 0x404040, Copied),

        PROP(SizeWhileTyping, Height, false, true, NotCopied),
        PROP(SizeWhileTyping, Width, false, true, NotCopied),

        PROP(ColumnSize, Save, false, true, Copied),
        PROP(ColumnSize, Key, L"", L"Software\\Tavelin", Copied),
        PROP(ColumnSize, Section, L"", L"Columns", Copied),
        PROP(ColumnSize, Location, clRegistry, clIniFile, Copied),
        PROP(ColumnSize, Stretch, false, true, Copied),
        PROP(ColumnSize, StretchAll, false, true, NotCopied),
        PROP(ColumnSize, StretchColumn, -1, 2, Copied),
        PROP(ColumnSize, SynchWithGrid, false, true, Copied),
        PROP(ColumnSize, SynchNormalCellsOnly, false, true, Copied),
        PROP(ColumnSize, Rows, arAll, arFixed, Copied),

        PROP(HTMLSettings, AutoPreview, false, true, Copied),
        PROP(HTMLSettings, ConvertSpecialChars, false, true, Copied),
        PROP(HTMLSettings, NonBreakingText, false, true, Copied),
        PROP(HTMLSettings, SaveColor, true, false, Copied),
        PROP(HTMLSettings, SaveFonts, true, false, Copied),
        PROP(HTMLSettings, FooterFile, L"", L"foot.htm", Copied),
        PROP(HTMLSettings, HeaderFile, L"", L"head.htm", Copied),
        PROP(HTMLSettings, FooterText, L"", L"<p>end</p>", Copied),
        PROP(HTMLSettings, HeaderText, L"", L"<h1>Inventory</h1>", Copied),
        PROP(HTMLSettings, TableStyle, L"", L"border: none", Copied),
        PROP(HTMLSettings, PrefixTag, L"", L"<b>", Copied),
        PROP(HTMLSettings, SuffixTag, L"", L"</b>", Copied),
        PROP(HTMLSettings, Summary, L"", L"Computers", Copied),
        PROP(HTMLSettings, BorderSize, 1, 0, Copied),
        PROP(HTMLSettings, CellSpacing, 0, 2, Copied),
        PROP(HTMLSettings, CellPadding, 0, 3, Copied),
        PROP(HTMLSettings, Width, 100, 80, Copied),
        PROP(HTMLSettings, XHTML, false, true, Copied),
        PROP(HTMLSettings, ExportImages, true, false, NotCopied),
        PROP(HTMLSettings, ImageBaseName, L"img", L"pic", Copied),
        PROP(HTMLSettings, ImageFolder, L"images", L"pictures", Copied),

        PROP(PrintSettings, Time, ppNone, ppTopLeft, Copied),
        PROP(PrintSettings, Date, ppNone, ppTopRight, Copied),
        PROP(PrintSettings, PageNr, ppNone, ppBottomCenter, Copied),
        PROP(PrintSettings, Title, ppNone, ppTopCenter, Copied),
        PROP(PrintSettings, DateFormat, L"dd/mm/yyyy", L"yyyy-mm-dd", Copied),
        PROP(PrintSettings, PageNumSep, L"/", L" of ", Copied),
        PROP(PrintSettings, PagePrefix, L"", L"Page ", Copied),
        PROP(PrintSettings, PageSuffix, L"", L".", Copied),
        PROP(PrintSettings, TitleText, L"", L"Inventory", Copied),
        PROP(PrintSettings, Borders, pbSingle, pbAroundVertical, Copied),
        PROP(PrintSettings, BorderStyle, psSolid, psDot, Copied),
        PROP(PrintSettings, BorderColor, 0, 0x0000FF, Copied),
        PROP(PrintSettings, Centered, true, false, Copied),
        PROP(PrintSettings, RepeatFixedRows, false, true, Copied),
        PROP(PrintSettings, RepeatFixedCols, false, true, Copied),
        PROP(PrintSettings, FooterSize, 0, 10, Copied),
        PROP(PrintSettings, HeaderSize, 0, 11, Copied),
        PROP(PrintSettings, LeftSize, 0, 12, Copied),
        PROP(PrintSettings, RightSize, 0, 13, Copied),
        PROP(PrintSettings, ColumnSpacing, 0, 14, Copied),
        PROP(PrintSettings, RowSpacing, 0, 15, Copied),
        PROP(PrintSettings, TitleSpacing, 0, 16, Copied),
        PROP(PrintSettings, Orientation, poPortrait, poLandscape, Copied),
        PROP(PrintSettings, PageNumberOffset, 0, 1, Copied),
        PROP(PrintSettings, MaxPagesOffset, 0, 2, Copied),
        PROP(PrintSettings, FixedWidth, 0, 30, Copied),
        PROP(PrintSettings, FixedHeight, 0, 20, Copied),
        PROP(PrintSettings, UseFixedWidth, false, true, Copied),
        PROP(PrintSettings, UseFixedHeight, false, true, Copied),
        PROP(PrintSettings, FitToPage, fpNever, fpShrink, Copied),
        PROP(PrintSettings, JobName, L"", L"Inventory job", Copied),
        PROP(PrintSettings, NoAutoSize, false, true, Copied),
        PROP(PrintSettings, NoAutoSizeRow, false, true, Copied),
        PROP(PrintSettings, PrintGraphics, false, true, Copied),
        PROP(PrintSettings, UseDisplayFont, true, false, Copied),
        PROP(PrintSettings, UseDefaultOrientation, false, true, Copied),
        PROP(PrintSettings, FixedCellsAlways, false, true, NotCopied),
        PROP(PrintSettings, PrintComments, true, false, Copied),

        PROP(NegativeNumber(), TextColor, clNone, clRed, Copied),
        PROP(NegativeNumber(), BkgColor, clNone, clYellow, Copied),
        PROP(PositiveNumber(), TextColor, clNone, clGreen, Copied),
        PROP(PositiveNumber(), BkgColor, clNone, clWhite, Copied),

        PROP(HoverButtons, Enabled, false, true, Copied),
        PROP(HoverButtons, Column, 0, 2, Copied),
        PROP(HoverButtons, Position, hbRightFromColumnRight, hbLeftFromColumnLeft, Copied),
        PROP(HoverButtons, Rows, hrNormal, hrAll, Copied),
        PROP(HoverButtons, MoveActiveRow, true, false, Copied),

        PROP(HoverButton(), Caption, L"", L"Delete", Copied),
        PROP(HoverButton(), Enabled, true, false, Copied),
        PROP(HoverButton(), Flat, false, true, Copied),
        PROP(HoverButton(), Hint, L"", L"Removes the row", Copied),
        PROP(HoverButton(), ImageIndex, -1, 3, NotCopied),
        PROP(HoverButton(), Tag, 0, 7, Copied),
        PROP(HoverButton(), Width, 0, 40, Copied),
    };
    return cases;
}

String Describe(const PropertyCase& c)
{
    return String(c.object, c.object + strlen(c.object)) + L"." +
           String(c.property, c.property + strlen(c.property));
}

TEST(GridObjectDefaults, EveryPropertyStartsAtItsDefault)
{
    TGridObjects objects;
    for (const PropertyCase& c : Properties()) {
        SCOPED_TRACE(Describe(c));
        EXPECT_EQ(c.get(objects), c.initial);
    }
}

TEST(GridObjectDefaults, AssignCopiesItsPropertiesAndLeavesTheOthers)
{
    TGridObjects source;
    for (const PropertyCase& c : Properties())
        if (c.change)
            c.change(source);
    for (const PropertyCase& c : Properties()) {
        SCOPED_TRACE(Describe(c));
        ASSERT_NE(c.get(source), c.initial) << "the source must differ from the default";
    }

    TGridObjects target;
    target.AssignFrom(source);
    for (const PropertyCase& c : Properties()) {
        SCOPED_TRACE(Describe(c));
        EXPECT_EQ(c.get(target), c.assigned ? c.get(source) : c.initial);
    }
}

TEST(GridObjectDefaults, AssignIgnoresSourcesOfAnotherClass)
{
    TGridObjects objects;
    TOwned<TBands> bands(New<TBands>());
    bands->SetActive(true);
    bands->SetPrimaryLength(5);
    const std::vector<TPersistent*> targets = {
        objects.Navigation.get(),   objects.MouseActions.get(), objects.SearchFooter.get(),
        objects.SyncGrid.get(),     objects.FocusHelper.get(),  objects.CellNode.get(),
        objects.ColumnSize.get(),   objects.HTMLSettings.get(), objects.AutoColor.get(),
        objects.NegativeNumber(),   objects.HoverButtons.get(), objects.HoverButton(),
    };
    for (TPersistent* target : targets)
        EXPECT_NO_THROW(target->Assign(bands.get())) << target->ClassName();
    // A search footer is no TBands either way round.
    objects.Bands->Assign(objects.SearchFooter.get());

    for (const PropertyCase& c : Properties()) {
        SCOPED_TRACE(Describe(c));
        EXPECT_EQ(c.get(objects), c.initial);
    }
}

// A grid dropped in the designer gets English captions and hints; one made
// at run time (or streamed) keeps them empty, as the table above shows.
TEST(GridObjectDefaults, SearchFooterForTheDesignerHasItsTexts)
{
    TOwned<TSearchFooter> footer(New<TSearchFooter>(nullptr, true));
    const std::vector<std::pair<String, String>> texts = {
        {footer->GetFindPrevCaption(), L"Find &previous"},
        {footer->GetFindNextCaption(), L"Find &next"},
        {footer->GetMatchCaseCaption(), L"Match case"},
        {footer->GetHighLightCaption(), L"Highlight"},
        {footer->GetHintClose(), L"Close"},
        {footer->GetHintFindNext(), L"Find next occurrence"},
        {footer->GetHintFindPrev(), L"Find previous occurrence"},
        {footer->GetHintHighlight(), L"Highlight occurrences"},
    };
    for (const auto& [actual, expected] : texts)
        EXPECT_EQ(actual, expected);
}

// The owned sub-objects: created empty, copied by Assign where the class
// copies them, never shared.
TEST(GridObjectDefaults, OwnedObjectsStartEmptyAndAreCopiedNotShared)
{
    TGridObjects source;
    EXPECT_EQ(source.MouseActions->GetFixedComboValues()->Count(), 0);
    EXPECT_TRUE(source.CellNode->GetExpandGlyph()->GetEmpty());
    EXPECT_TRUE(source.CellNode->GetContractGlyph()->GetEmpty());
    EXPECT_EQ(source.HTMLSettings->GetColWidths()->Count(), 0);
    EXPECT_EQ(source.HTMLSettings->GetColWidths()->GetCol(), 0);
    EXPECT_EQ(source.HTMLSettings->GetColWidths()->GetRow(), 0);
    EXPECT_EQ(source.PrintSettings->GetTitleLines()->Count(), 0);
    EXPECT_EQ(source.HoverButton()->GetPicture()->GetGraphic(), nullptr);

    TOwned<TBitmap> glyph(New<TBitmap>(9, 7));
    source.CellNode->SetExpandGlyph(glyph.get());
    source.CellNode->SetContractGlyph(glyph.get());
    source.HTMLSettings->GetColWidths()->Add(50);
    TOwned<TStringList> lines(New<TStringList>());
    lines->SetText(L"Inventory\r\nFloor 2");
    source.PrintSettings->SetTitleLines(lines.get());
    TOwned<TFont> font(New<TFont>());
    font->SetName(L"Arial");
    font->SetStyle({fsItalic});
    source.PrintSettings->SetFont(font.get());
    source.PrintSettings->SetHeaderFont(font.get());
    source.PrintSettings->SetFooterFont(font.get());
    source.PrintSettings->SetFixedFont(font.get());
    source.SearchFooter->SetFont(font.get());
    TOwned<TPicture> picture(New<TPicture>());
    picture->SetBitmap(glyph.get());
    source.HoverButton()->SetPicture(picture.get());

    // The setters copied: changing what was passed changes nothing.
    lines->Clear();
    font->SetName(L"Courier New");
    glyph->SetSize(1, 1);
    EXPECT_EQ(source.PrintSettings->GetTitleLines()->Count(), 2);
    EXPECT_EQ(source.PrintSettings->GetFont()->GetName(), L"Arial");
    EXPECT_EQ(source.CellNode->GetExpandGlyph()->GetWidth(), 9);
    EXPECT_EQ(source.HoverButton()->GetPicture()->GetWidth(), 9);

    TGridObjects target;
    target.AssignFrom(source);
    EXPECT_EQ(target.CellNode->GetExpandGlyph()->GetWidth(), 9);
    EXPECT_EQ(target.CellNode->GetContractGlyph()->GetHeight(), 7);
    EXPECT_NE(target.CellNode->GetExpandGlyph(), source.CellNode->GetExpandGlyph());
    EXPECT_EQ(target.PrintSettings->GetTitleLines()->GetText(), L"Inventory\r\nFloor 2\r\n");
    for (TFont* f : {target.PrintSettings->GetFont(), target.PrintSettings->GetHeaderFont(),
                     target.PrintSettings->GetFooterFont(), target.PrintSettings->GetFixedFont(),
                     target.SearchFooter->GetFont()}) {
        EXPECT_EQ(f->GetName(), L"Arial");
        EXPECT_TRUE(f->GetStyle().Contains(fsItalic));
    }
    ASSERT_EQ(target.HoverButtons->GetButtons()->Count(), 1);
    EXPECT_NE(target.HoverButton(), source.HoverButton());
    EXPECT_EQ(target.HoverButton()->GetPicture()->GetHeight(), 7);
    // The export's column widths belong to one export and are not copied.
    EXPECT_EQ(target.HTMLSettings->GetColWidths()->Count(), 0);
}

TEST(GridObjectDefaults, HoverButtonsBelongToTheGrid)
{
    TOwned<TComponent> grid(New<TComponent>(nullptr));
    TOwned<THoverButtons> hover(New<THoverButtons>(grid.get()));
    EXPECT_EQ(hover->GetOwner(), grid.get());
    EXPECT_EQ(hover->GetButtons()->GetOwner(), hover.get());
    THoverButtonsCollectionItem* first = hover->GetButtons()->Add();
    THoverButtonsCollectionItem* inserted = hover->GetButtons()->Insert(0);
    EXPECT_EQ(hover->GetButtons()->GetItem(0), inserted);
    EXPECT_EQ(hover->GetButtons()->GetItem(1), first);
    EXPECT_EQ(inserted->GetImageIndex(), -1);
    EXPECT_TRUE(inserted->GetEnabled());
}

} // namespace
