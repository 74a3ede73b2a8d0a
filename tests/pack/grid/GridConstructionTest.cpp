// A data grid as its constructor leaves it: every default a form relies on
// (the form sets only what differs), the owned objects and their wiring, the
// platform flags, and Assign from a configured grid.
#include "AdvGrid.h"
#include "DataGridSupport.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <variant>

using namespace datagrid_test;

namespace {

struct Default {
    const char* name;
    std::function<Value(TAdvStringGrid*)> read;
    Value expected;
};

#define DEF(name, expr, expected) Default{name, [](TAdvStringGrid* g) { return V(expr); }, V(expected)}

const Default GridDefaults[] = {
    DEF("RowCount", g->GetRowCount(), 10),
    DEF("Width", g->GetWidth(), 400),
    DEF("Height", g->GetHeight(), 250),
    DEF("DefaultRowHeight", g->GetDefaultRowHeight(), 22),
    DEF("FixedRowHeight", g->GetFixedRowHeight(), 22),
    DEF("ScrollBars", g->GetScrollBars(), ssBoth),
    DEF("AutoSize", g->GetAutoSize(), false),
    DEF("DrawingStyle", g->GetDrawingStyle(), gdsClassic),
    DEF("accepts controls", g->ControlStyle.Contains(csAcceptsControls), true),
    DEF("SelectionColor", g->GetSelectionColor(), 0xEACAB6),
    DEF("SelectionColorTo", g->GetSelectionColorTo(), clNone),
    DEF("SelectionMirrorColor", g->GetSelectionMirrorColor(), clNone),
    DEF("SelectionMirrorColorTo", g->GetSelectionMirrorColorTo(), clNone),
    DEF("SelectionTextColor", g->GetSelectionTextColor(), 0),
    DEF("SelectionRectangleColor", g->GetSelectionRectangleColor(), 0),
    DEF("HintColor", g->GetHintColor(), clInfoBk),
    DEF("HighlightColor", g->GetHighlightColor(), clHighlight),
    DEF("HighlightTextColor", g->GetHighlightTextColor(), clHighlightText),
    DEF("ActiveCellColor", g->GetActiveCellColor(), 0x808080),
    DEF("ActiveCellColorTo", g->GetActiveCellColorTo(), clNone),
    DEF("DisabledFontColor", g->GetDisabledFontColor(), 0xC0C0C0),
    DEF("URLColor", g->GetURLColor(), 0xFF0000),
    DEF("ScrollColor", g->GetScrollColor(), clNone),
    DEF("PackGradientFrom", g->GetPackGradientFrom(), 0xFFFFFF),
    DEF("PackGradientTo", g->GetPackGradientTo(), static_cast<Int64>(ColorToRGB(clBtnFace))),
    DEF("PackGradientMirrorFrom", g->GetPackGradientMirrorFrom(), clNone),
    DEF("PackGradientMirrorTo", g->GetPackGradientMirrorTo(), clNone),
    DEF("ColorTones background", g->GetColorTones().Background.BrushColor, clNone),
    DEF("ColorTones border", g->GetColorTones().Hover.BorderColor, clNone),
    DEF("Look", g->GetLook(), glXP),
    DEF("style at run time", g->GetComponentStyle(), tsWindowsXP),
    DEF("ScrollType", g->GetScrollType(), ssNormal),
    DEF("ScrollWidth", g->GetScrollWidth(), GetSystemMetrics(SM_CXVSCROLL)),
    DEF("SelectionColorMixerFactor", g->GetSelectionColorMixerFactor(), 50),
    DEF("FitCellsInGrid", g->GetFitCellsInGrid(), true),
    DEF("FilterNormalCellsOnly", g->GetFilterNormalCellsOnly(), true),
    DEF("HTMLKeepLineBreak", g->GetHTMLKeepLineBreak(), true),
    DEF("AutoFilterUpdate", g->GetAutoFilterUpdate(), true),
    DEF("UseInternalHintClass", g->GetUseInternalHintClass(), true),
    DEF("FilterDropDownMultiCol", g->GetFilterDropDownMultiCol(), true),
    DEF("ShowDesignHelper", g->GetShowDesignHelper(), true),
    DEF("EnhRowColMove", g->GetEnhRowColMove(), true),
    DEF("UseDisabledFont", g->GetUseDisabledFont(), true),
    DEF("EnableWheel", g->GetEnableWheel(), true),
    DEF("IntelliZoom", g->GetIntelliZoom(), true),
    DEF("LoadFirstRow", g->GetLoadFirstRow(), true),
    DEF("ShowSelection", g->GetShowSelection(), true),
    DEF("QuoteEmptyCells", g->GetQuoteEmptyCells(), true),
    DEF("EnableHTML", g->GetEnableHTML(), true),
    DEF("ShowNullDates", g->GetShowNullDates(), true),
    DEF("SaveFixedCells", g->GetSaveFixedCells(), true),
    DEF("SaveVirtCells", g->GetSaveVirtCells(), true),
    DEF("SaveMergedCells", g->GetSaveMergedCells(), true),
    DEF("SaveWithHTML", g->GetSaveWithHTML(), true),
    DEF("VirtualEdit", g->GetVirtualEdit(), false),
    DEF("HideFocusRect", g->GetHideFocusRect(), false),
    DEF("FixedAsButtons", g->GetFixedAsButtons(), false),
    DEF("AlwaysQuotes", g->GetAlwaysQuotes(), false),
    DEF("SaveFixedRows", g->GetSaveFixedRows(), false),
    DEF("SaveFixedCols", g->GetSaveFixedCols(), false),
    DEF("SaveHiddenCells", g->GetSaveHiddenCells(), false),
    DEF("ClearTextOnly", g->GetClearTextOnly(), false),
    DEF("SizeGrowOnly", g->GetSizeGrowOnly(), false),
    DEF("NoDefaultDraw", g->GetNoDefaultDraw(), false),
    DEF("JavaCSV", g->GetJavaCSV(), false),
    DEF("PrinterDriverFix", g->GetPrinterDriverFix(), false),
    DEF("ExcelClipboardFormat", g->GetExcelClipboardFormat(), false),
    DEF("FilterIncremental", g->GetFilterIncremental(), false),
    DEF("DefaultEditor", g->GetDefaultEditor(), edNormal),
    DEF("DefaultAlignment", g->GetDefaultAlignment(), taLeftJustify),
    DEF("VAlignment", g->GetVAlignment(), vtaTop),
    DEF("HintShowLargeTextPos", g->GetHintShowLargeTextPos(), hpCell),
    DEF("HoverFixedCells", g->GetHoverFixedCells(), hfNone),
    DEF("FilterDropDownColumns", g->GetFilterDropDownColumns(), fdNormal),
    DEF("InvalidEntryIcon", g->GetInvalidEntryIcon(), ieWarning),
    DEF("XMLEncoding", g->GetXMLEncoding(), L"ISO-8859-1"),
    DEF("FilterDropDownClear", g->GetFilterDropDownClear(), L"(All)"),
    DEF("FloatFormat", g->GetFloatFormat(), L"%.2f"),
    DEF("CheckTrue", g->GetCheckTrue(), L"Y"),
    DEF("CheckFalse", g->GetCheckFalse(), L"N"),
    DEF("PasswordChar", g->GetPasswordChar(), L'*'),
    DEF("Delimiter", g->GetDelimiter(), 0),
    DEF("XYOffset.x", g->GetXYOffset().x, 2),
    DEF("XYOffset.y", g->GetXYOffset().y, 2),
    DEF("MinRowHeight", g->GetMinRowHeight(), 0),
    DEF("MaxRowHeight", g->GetMaxRowHeight(), 0),
    DEF("MinColWidth", g->GetMinColWidth(), 0),
    DEF("MaxColWidth", g->GetMaxColWidth(), 0),
    DEF("GroupColumn", g->GetGroupColumn(), -1),
    DEF("ZoomFactor", g->GetZoomFactor(), 0),
    DEF("print page from", g->GetPrintPageFrom(), 1),
    DEF("print page to", g->GetPrintPageTo(), 1),
    DEF("print page count", g->GetPrintPageCount(), 0),
    DEF("filter column", g->GetFilterColumn(), -1),
    DEF("filter level", g->GetFilterLevel(), 0),
    DEF("visible columns", g->GetVisibleCol(g->GetColCount() - 1), true),
    DEF("hidden columns", g->NumHiddenColumns(), 0),
    DEF("FixedFont.Name", g->GetFixedFont()->GetName(), L"Tahoma"),
    DEF("FixedFont bold", g->GetFixedFont()->GetStyle().Contains(fsBold), true),
    DEF("ActiveCellFont bold", g->GetActiveCellFont()->GetStyle().Contains(fsBold), true),
    DEF("FilterDropDown.Width", g->GetFilterDropDown()->GetWidth(), 150),
    DEF("FilterDropDown.Sorted", g->GetFilterDropDown()->GetSorted(), true),
    DEF("FilterDropDown texts at run time", g->GetFilterDropDown()->GetTextChecked(), L""),
    DEF("FilterEdit.TypeNames", g->GetFilterEdit()->GetTypeNames()->GetCommaText(),
        L"\"Starts with\",\"Ends with\",Contains,\"Not contains\",Equal,\"Not equal\",\"Larger than\","
        L"\"Smaller than\",Clear"),
    DEF("filter menu items", g->GetFilterPopup()->GetItems()->Count(), 9),
    DEF("filter list sorted", g->GetFilterList()->GetSorted(), true),
    DEF("SortSettings.Column", g->GetSortSettings()->GetColumn(), -1),
    DEF("SortSettings.Full", g->GetSortSettings()->GetFull(), true),
    DEF("SortSettings.IndexColor", g->GetSortSettings()->GetIndexColor(), 0x00FFFF),
    DEF("ControlLook.CheckSize", g->GetControlLook()->GetCheckSize(), 15),
    DEF("ControlLook.ControlStyle", g->GetControlLook()->GetControlStyle(), csTheme),
    DEF("ControlLook.DropDownCount", g->GetControlLook()->GetDropDownCount(), 8),
    DEF("Balloon.Enable", g->GetBalloon()->GetEnable(), false),
    DEF("Balloon.InitialDelay", g->GetBalloon()->GetInitialDelay(), -1),
    DEF("ShowModified.Color", g->GetShowModified()->GetColor(), 0x00FFFF),
    DEF("DragDropSettings.OleAcceptText", g->GetDragDropSettings()->GetOleAcceptText(), true),
    DEF("DragScrollOptions margin", g->GetDragScrollOptions()->GetMargins()->GetTopMargin(), 50),
    DEF("ProgressAppearance.Steps", g->GetProgressAppearance()->GetSteps(), 11),
    DEF("Grouping.HeaderLineWidth", g->GetGrouping()->GetHeaderLineWidth(), 2),
    DEF("BackGround.Display", g->GetBackGround()->GetDisplay(), bdTile),
    DEF("FloatingFooter.Visible", g->GetFloatingFooter()->GetVisible(), false),
    DEF("footer panel height", g->GetFooterPanel()->GetHeight(), 0),
    DEF("footer panel align", g->GetFooterPanel()->GetAlign(), alBottom),
    DEF("search panel height", g->GetSearchPanel()->GetHeight(), 0),
    DEF("version", g->GetVersionString(), L"7.8.7.0 Nov, 2015"),
};

#undef DEF

} // namespace

TEST(GridConstruction, ANewGridHoldsEveryDefault)
{
    TOwned<TAdvStringGrid> grid(New<TAdvStringGrid>(nullptr));
    for (const Default& d : GridDefaults) {
        SCOPED_TRACE(d.name);
        EXPECT_EQ(d.read(grid.get()), d.expected);
    }
}

TEST(GridConstruction, PlatformFlagsFollowTheWindowsAndCommonControlsVersions)
{
    struct Case {
        DWORD major, minor;
        int comctl;
        bool xp, win7, vista, themed;
        TColor border;
    };
    const Case cases[] = {
        {5, 0, 5, false, false, false, false, 0x808080},
        {5, 1, 6, true, false, false, true, 0xB99D7F},
        {6, 0, 6, true, false, true, true, 0xB99D7F},
        {6, 1, 5, true, true, true, false, 0xB99D7F},
        {10, 0, 6, true, true, true, true, 0xB99D7F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor << " comctl " << c.comctl);
        PlatformProbe().WindowsMajor = c.major;
        PlatformProbe().WindowsMinor = c.minor;
        PlatformProbe().ComCtlMajor = c.comctl;
        TOwned<TAdvStringGrid> grid(New<TAdvStringGrid>(nullptr));
        EXPECT_EQ(grid->IsWinXP(), c.xp);
        EXPECT_EQ(grid->IsWin7(), c.win7);
        EXPECT_EQ(grid->IsWinVista(), c.vista);
        EXPECT_EQ(grid->GetIsThemed(), c.themed);
        EXPECT_EQ(grid->GetBorderColor(), c.border);
    }
    ResetPlatformProbe();
}

TEST(GridConstruction, AGridBeingDesignedHasNoRunTimeControls)
{
    TOwned<TAdvStringGrid> runTime(New<TAdvStringGrid>(nullptr));
    EXPECT_NE(runTime->GetCellScrollBar(), nullptr);
    EXPECT_NE(runTime->GetPaintScrollBar(), nullptr);

    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetDesigning(true);
    TAdvStringGrid* designed = New<TAdvStringGrid>(form.get());
    EXPECT_EQ(designed->GetCellScrollBar(), nullptr);
    EXPECT_EQ(designed->GetPaintScrollBar(), nullptr);
    // Dropped in the designer: the checked texts take their English words.
    EXPECT_EQ(designed->GetFilterDropDown()->GetTextChecked(), L"Checked");
    EXPECT_EQ(designed->GetFilterDropDown()->GetTextUnChecked(), L"Unchecked");
    EXPECT_EQ(designed->GetActiveCellFont()->GetName(), L"Tahoma");
}

TEST(GridConstruction, OwnedObjectsAreWiredToTheGrid)
{
    TShownGrid<> g(4, 6);
    TAdvStringGrid* grid = g.grid;
    const HWND wnd = grid->GetHandle();
    auto validate = [&] { ValidateRect(wnd, nullptr); };
    auto repaintAsked = [&] {
        RECT r{};
        return GetUpdateRect(wnd, &r, FALSE) != FALSE;
    };
    // Each change below must ask the grid for a repaint.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"fixed font", [&] { grid->GetFixedFont()->SetSize(14); }},
        {"active cell font", [&] { grid->GetActiveCellFont()->SetColor(clRed); }},
        {"bands", [&] { grid->GetBands()->SetActive(true); }},
        {"progress appearance", [&] { grid->GetProgressAppearance()->SetSteps(4); }},
        {"filter drop-down", [&] { grid->GetFilterDropDown()->SetColor(clYellow); }},
        {"control look", [&] { grid->GetControlLook()->SetCheckSize(20); }},
        {"sort header colour", [&] { grid->GetSortSettings()->SetHeaderColor(clRed); }},
        {"background", [&] { grid->GetBackGround()->SetColor(clRed); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        validate();
        change();
        EXPECT_TRUE(repaintAsked());
    }

    // The headers go into the fixed row and column as they are written.
    grid->GetColumnHeaders()->SetCommaText(L"Name,Size,Date");
    EXPECT_EQ(ColumnTexts(grid, 1)[0], L"Size");
    EXPECT_EQ(grid->GetCells(2, 0), L"Date");
    grid->GetRowHeaders()->SetCommaText(L"#,one,two");
    EXPECT_EQ(ColumnTexts(grid, 0)[2], L"two");

    // Listing a merged column merges its runs of equal cells.
    grid->SetCells(1, 2, L"same");
    grid->SetCells(1, 3, L"same");
    grid->GetMergedColumns()->Add(1);
    EXPECT_TRUE(grid->IsMergedCell(1, 3));
    EXPECT_EQ(grid->BaseCell(1, 3).y, 2);

    // The floating footer's panel shows while the footer does.
    grid->GetFloatingFooter()->SetVisible(true);
    EXPECT_TRUE(grid->GetFooterPanel()->GetVisible());
    EXPECT_EQ(grid->GetFooterPanel()->GetHeight(), grid->GetDefaultRowHeight());
    grid->GetFloatingFooter()->SetVisible(false);
    EXPECT_FALSE(grid->GetFooterPanel()->GetVisible());
}

TEST(GridConstruction, TheWindowStartsTheGridTimerAndReadsTheWheelSetting)
{
    UINT lines = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    TShownGrid<> g(3, 30);
    EXPECT_EQ(g->GetWheelScrollLines(), lines == WHEEL_PAGESCROLL ? g->GetVisibleRowCount() : int(lines));
    // The grid's own 500 ms timer: replacing it reports an existing timer id.
    EXPECT_TRUE(KillTimer(g->GetHandle(), 111));
    // The search panel and footer panel became children of the grid.
    EXPECT_EQ(g->GetSearchPanel()->GetParent(), g.grid);
    EXPECT_EQ(g->GetFooterPanel()->GetParent(), g.grid);
}

TEST(GridConstruction, IntegralHeightSnapsToWholeRows)
{
    TShownGrid<> g(3, 40);
    g->SetBorderStyle(bsSingle);
    g->SetColCount(2);
    g->SetIntegralHeight(true);
    g->SetBounds(0, 0, 600, 250);
    // 250 - 2 = 248, down to 242 whole rows, plus 4 for the border.
    EXPECT_EQ(g->GetHeight(), 246);
}

TEST(GridConstruction, LoadingTakesTheEditorOptionIntoNavigationAndAppliesThePackLookAgain)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    form->BeginLoading();
    TAdvStringGrid* grid = New<TAdvStringGrid>(form.get());
    grid->SetOptions(grid->GetOptions() + goAlwaysShowEditor);
    grid->GetColumnHeaders()->SetCommaText(L"A,B");
    form->EndLoading();
    EXPECT_FALSE(grid->GetOptions().Contains(goAlwaysShowEditor));
    EXPECT_TRUE(grid->GetNavigation()->GetAlwaysEdit());
    EXPECT_EQ(grid->GetCells(1, 0), L"B");
    EXPECT_EQ(grid->GetColumnOrder()->Count(), grid->GetColCount());
}

namespace {
struct TEditedGrid : TAdvStringGrid {
    using TAdvStringGrid::TAdvStringGrid;
    void CellEdited() { FEditChange = true; }
};
} // namespace

TEST(GridConstruction, InvalidateRightAfterAnEditChangePaintsNothingOnce)
{
    TShownGrid<TEditedGrid> g(3, 5);
    const HWND wnd = g->GetHandle();
    RECT r{};
    ValidateRect(wnd, nullptr);
    g->CellEdited();
    g->Invalidate();
    EXPECT_FALSE(GetUpdateRect(wnd, &r, FALSE));
    g->Invalidate();
    EXPECT_TRUE(GetUpdateRect(wnd, &r, FALSE));
}

TEST(GridConstruction, AssignCopiesAConfiguredGrid)
{
    TFilledGrid<> source(5, 8);
    source->SetFixedRowAlways(true);
    source->SetSelectionColor(clRed);
    source->SetActiveCellShow(true);
    source->SetMaxEditLength(12);
    source->SetColWidths(2, 90);
    source->SetRowHeights(3, 40);
    source->GetMouseActions()->SetWheelIncrement(1);
    source->GetNavigation()->SetAllowInsertRow(true);
    source->GetSortSettings()->SetColumn(2);
    source->GetControlLook()->SetCheckSize(21);
    source->GetBalloon()->SetInitialDelay(100);
    source->GetColumnHeaders()->SetCommaText(L"a,b,c");
    source->GetCellProperties(1, 1)->SetBrushColor(clYellow);
    source->SetLookupItems(source->GetColumnHeaders());

    TOwned<TAdvStringGrid> target(New<TAdvStringGrid>(nullptr));
    target->Assign(source.grid);
    EXPECT_EQ(target->GetColCount(), 5);
    EXPECT_EQ(target->GetRowCount(), 8);
    EXPECT_TRUE(target->GetFixedRowAlways());
    EXPECT_EQ(target->GetSelectionColor(), clRed);
    EXPECT_TRUE(target->GetActiveCellShow());
    EXPECT_EQ(target->GetMaxEditLength(), 12);
    EXPECT_EQ(target->GetColWidths(2), 90);
    EXPECT_EQ(target->GetRowHeights(3), 40);
    EXPECT_EQ(target->GetMouseActions()->GetWheelIncrement(), 1);
    EXPECT_TRUE(target->GetNavigation()->GetAllowInsertRow());
    EXPECT_EQ(target->GetSortSettings()->GetColumn(), 2);
    EXPECT_EQ(target->GetControlLook()->GetCheckSize(), 21);
    EXPECT_EQ(target->GetBalloon()->GetInitialDelay(), 100);
    EXPECT_EQ(target->GetLookupItems()->GetCommaText(), L"a,b,c");
    // The cells come last: texts, with the headers over them, and the
    // cells' own properties as separate objects.
    EXPECT_EQ(target->GetCells(4, 7), CellName(4, 7));
    EXPECT_EQ(target->GetCells(2, 0), L"c");
    ASSERT_TRUE(target->HasCellProperties(1, 1));
    EXPECT_EQ(target->GetCellProperties(1, 1)->GetBrushColor(), clYellow);
    EXPECT_NE(target->GetCellProperties(1, 1), source->GetCellProperties(1, 1));

    // Anything but a data grid is ignored.
    TOwned<TStringList> other(New<TStringList>());
    target->Assign(other.get());
    EXPECT_EQ(target->GetColCount(), 5);
}

// ---------------------------------------------------------------------------
// Following the Office theme. The project's Wine prefix has no Office: the
// tests write its theme settings and remove them afterwards.

namespace {

class OfficeTheme : public testing::Test {
protected:
    void SetUp() override
    {
        if (!office_.Usable())
            GTEST_SKIP() << "an Office key exists already; it is left alone";
    }
    void SetTheme(DWORD value) { office_.SetValue(L"16.0\\Common", L"UI Theme", value); }
    // A grid streamed with AutoThemeAdapt on a shown form.
    TAdvStringGrid* LoadGrid(TForm* form, bool adapt)
    {
        form->BeginLoading();
        auto* grid = New<TAdvStringGrid>(form);
        grid->SetParent(form);
        grid->SetAutoThemeAdapt(adapt);
        form->EndLoading();
        form->Show();
        return grid;
    }

    testing_support::TOfficeSettings office_;
};

} // namespace

TEST_F(OfficeTheme, ALoadedGridTakesTheStyleOfTheThemeAndFollowsItsChanges)
{
    SetTheme(3);
    TOwned<TForm> form(New<TForm>(nullptr));
    TAdvStringGrid* grid = LoadGrid(form.get(), true);
    EXPECT_EQ(grid->GetComponentStyle(), tsOffice2016Black);

    SetTheme(2);
    EXPECT_EQ(grid->GetComponentStyle(), tsOffice2016Black) << "only a notification looks again";
    SendMessageW(grid->GetHandle(), WM_OFFICE_THEME_CHANGED, 0, 0);
    EXPECT_EQ(grid->GetComponentStyle(), tsOffice2016Gray);

    // An unchanged theme does not undo a style chosen since.
    grid->SetComponentStyle(tsWindows7);
    SendMessageW(grid->GetHandle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(grid->GetComponentStyle(), tsWindows7);
}

TEST_F(OfficeTheme, WithoutAdaptingTheThemeIsLeftAlone)
{
    SetTheme(3);
    TOwned<TForm> form(New<TForm>(nullptr));
    TAdvStringGrid* grid = LoadGrid(form.get(), false);
    EXPECT_EQ(grid->GetComponentStyle(), tsWindowsXP);
    SendMessageW(grid->GetHandle(), WM_OFFICE_THEME_CHANGED, 0, 0);
    EXPECT_EQ(grid->GetComponentStyle(), tsWindowsXP);
    // Switched on later, it adapts at once.
    grid->SetAutoThemeAdapt(true);
    EXPECT_EQ(grid->GetComponentStyle(), tsOffice2016Black);
}

TEST(GridConstruction, TheControlLookHandsItsHeaderGradientToTheGrid)
{
    TOwned<TAdvStringGrid> grid(New<TAdvStringGrid>(nullptr));
    TControlLook* look = grid->GetControlLook();
    look->SetFixedGradientFrom(clRed);
    look->SetFixedGradientMirrorTo(clBlue);
    EXPECT_EQ(grid->GetPackGradientFrom(), clRed);
    EXPECT_EQ(grid->GetPackGradientMirrorTo(), clBlue);
    // clNone empties the look's own From but leaves the grid's colour; a
    // mirror colour of clNone removes the grid's mirror half.
    look->SetFixedGradientFrom(clNone);
    look->SetFixedGradientMirrorTo(clNone);
    EXPECT_EQ(look->GetFixedGradientFrom(), clNone);
    EXPECT_EQ(grid->GetPackGradientFrom(), clRed);
    EXPECT_EQ(grid->GetPackGradientMirrorTo(), clNone);
    // A system colour is kept as the colour it stood for when written.
    look->SetFixedGradientTo(clBtnFace);
    EXPECT_EQ(grid->GetPackGradientTo(), static_cast<TColor>(ColorToRGB(clBtnFace)));

    // Copying a look between grids copies its values only.
    TOwned<TAdvStringGrid> other(New<TAdvStringGrid>(nullptr));
    other->GetControlLook()->Assign(look);
    EXPECT_EQ(other->GetControlLook()->GetFixedGradientTo(), clBtnFace);
    EXPECT_EQ(other->GetPackGradientTo(), grid->GetPackGradientTo()) << "unchanged: both at their default";
    look->SetFixedGradientTo(clLime);
    other->GetControlLook()->Assign(look);
    EXPECT_NE(other->GetPackGradientTo(), clLime);
}

// ---------------------------------------------------------------------------
// The grid unit's start-up (done once for the suite by its environment).

namespace {
struct TFramedGrid : TAdvStringGrid {
    using TAdvStringGrid::TAdvStringGrid;
    int moves = 0;
    void MoveFocusWindow() override { ++moves; }
};
} // namespace

TEST(GridUnit, MessagesAndTheCellsClipboardFormatAreRegistered)
{
    const std::pair<UINT, const wchar_t*> messages[] = {
        {TAdvStringGrid::GridEditShowMessage(), L"GridEditShow"},
        {TAdvStringGrid::GridEditDoneMessage(), L"GridEditDone"},
        {AdvGrid_GridEditPropMessage(), L"GridEditProp"},
        {AdvGrid_DTPShiftFocusMessage(), L"DTPShiftFocus"},
    };
    for (const auto& [id, name] : messages)
        EXPECT_EQ(id, RegisterWindowMessageW(name)) << name;
    wchar_t name[64] = {};
    ASSERT_GT(GetClipboardFormatNameW(AdvGrid_CellsClipboardFormat(), name, 64), 0);
    EXPECT_STREQ(name, L"TAdvStringGrid Cells");

    // Start-up and shut-down are counted: an inner pair leaves the unit up.
    AdvGrid_Initialize();
    AdvGrid_Finalize();
    EXPECT_EQ(TAdvStringGrid::GridEditShowMessage(), RegisterWindowMessageW(L"GridEditShow"));
}

TEST(GridUnit, MovingAWindowKeepsTheFocusedGridsFrameOnItsCell)
{
    TShownGrid<TFramedGrid> g(3, 4);
    g->moves = 0;
    FocusedGrid = g.grid;
    g.form->SetBounds(10, 10, 650, 410);
    const int whileFocused = g->moves;
    FocusedGrid = nullptr;
    g.form->SetBounds(20, 20, 640, 400);
    EXPECT_GE(whileFocused, 2) << "changing and changed";
    EXPECT_EQ(g->moves, whileFocused) << "no focused grid, no moves";
}

// The frame's hook comes and goes with the focused grid: handing the focus
// from grid to grid moves only the one focused, and a grid focused again
// after none was gets its moves back.
TEST(GridUnit, TheFocusFrameFollowsWhicheverGridIsFocused)
{
    TShownGrid<TFramedGrid> a(3, 4);
    TShownGrid<TFramedGrid> b(3, 4);
    const auto moveBoth = [&](int offset) {
        a->moves = b->moves = 0;
        a.form->SetBounds(10 + offset, 10, 640, 400);
        b.form->SetBounds(30 + offset, 30, 640, 400);
    };
    FocusedGrid = a.grid;
    FocusedGrid = b.grid;
    moveBoth(1);
    EXPECT_EQ(a->moves, 0);
    EXPECT_GE(b->moves, 4) << "both windows moved while b was focused";

    FocusedGrid = nullptr;
    moveBoth(2);
    EXPECT_EQ(a->moves + b->moves, 0);

    FocusedGrid = a.grid;
    moveBoth(3);
    FocusedGrid = nullptr;
    EXPECT_GE(a->moves, 4);
    EXPECT_EQ(b->moves, 0);
}
