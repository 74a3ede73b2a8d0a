// The data grid's construction: every owned object created, defaulted and
// wired, copying a configured grid, the window's creation, loading from a
// form, size and scroll-bar upkeep, and the grid unit's start-up.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include <algorithm>

namespace {

const wchar_t* const FilterIconNames[] = {
    L"PACKGRDSTARTSWITH", L"PACKGRDENDSWITH", L"PACKGRDCONTAINS", L"PACKGRDNOTCONTAINS", L"PACKGRDEQUAL",
    L"PACKGRDNOTEQUAL",   L"PACKGRDLARGER",   L"PACKGRDSMALLER",  L"PACKGRDCLEAR"};

constexpr UINT_PTR GridTimerID = 111;
constexpr UINT GridTimerPeriod = 500;

// The unit's state, set up by AdvGrid_Initialize.
int unitStartCount = 0;
bool oleStarted = false;
bool comCtl470 = false;
UINT gridEditDoneMsg = 0;
UINT gridEditShowMsg = 0;
UINT gridEditPropMsg = 0;
UINT dtpShiftFocusMsg = 0;
UINT cellsClipboardFormat = 0;

LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && FocusedGrid) {
        const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (msg->message == WM_WINDOWPOSCHANGING || msg->message == WM_WINDOWPOSCHANGED)
            FocusedGrid->MoveFocusWindow();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TCursor GridLinkCursor = crDefault;
TFocusedGrid FocusedGrid;

TFocusedGrid& TFocusedGrid::operator=(TAdvStringGrid* Grid)
{
    grid_ = Grid;
    if (grid_ && !hook_) {
        hook_.Reset(SetWindowsHookExW(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId()));
    } else if (!grid_ && hook_) {
        hook_.Reset();
    }
    return *this;
}

// --- unit start-up ------------------------------------------------------------------

void AdvGrid_Initialize()
{
    if (unitStartCount++ != 0)
        return;
    // A thread already in another COM apartment keeps it; only a start that
    // took is undone at the end.
    oleStarted = SUCCEEDED(OleInitialize(nullptr));
    FocusedGrid = nullptr;
    const TPlatformProbe& probe = PlatformProbe();
    comCtl470 = probe.ComCtlMajor > 4 || (probe.ComCtlMajor == 4 && probe.ComCtlMinor >= 70);
    cellsClipboardFormat = RegisterClipboardFormatW(L"TAdvStringGrid Cells");
    gridEditDoneMsg = RegisterWindowMessageW(L"GridEditDone");
    gridEditShowMsg = RegisterWindowMessageW(L"GridEditShow");
    gridEditPropMsg = RegisterWindowMessageW(L"GridEditProp");
    dtpShiftFocusMsg = RegisterWindowMessageW(L"DTPShiftFocus");
}

void AdvGrid_Finalize()
{
    if (unitStartCount == 0 || --unitStartCount != 0)
        return;
    if (oleStarted)
        OleUninitialize();
    oleStarted = false;
    FocusedGrid = nullptr;
}

bool AdvGrid_ComCtl470() { return comCtl470; }
UINT AdvGrid_CellsClipboardFormat() { return cellsClipboardFormat; }
UINT AdvGrid_GridEditPropMessage() { return gridEditPropMsg; }
UINT AdvGrid_DTPShiftFocusMessage() { return dtpShiftFocusMsg; }
UINT TAdvStringGrid::GridEditShowMessage() { return gridEditShowMsg; }
UINT TAdvStringGrid::GridEditDoneMessage() { return gridEditDoneMsg; }

// --- construction -------------------------------------------------------------------

void TAdvStringGrid::CreateOwnedObjects()
{
    TComponent* owner = GetOwner();
    const bool initDesign = DesignTime() && !(owner && (owner->ComponentState().Contains(csReading) ||
                                                        owner->ComponentState().Contains(csLoading)));
    SetDrawingStyle(gdsClassic);

    FFooterPanel = New<TFooterPanel>(this);
    FFooterPanel->SetGrid(this);
    FSearchPanel = New<TSearchPanel>(this);
    FSearchPanel->SetGrid(this);
    for (TCustomPanel* panel : {static_cast<TCustomPanel*>(FFooterPanel), static_cast<TCustomPanel*>(FSearchPanel)}) {
        panel->SetAlign(alBottom);
        panel->SetHeight(0);
        panel->SetBorderWidth(0);
    }

    FAutoColor.reset(New<TAutoColor>());
    cf.reset(New<TFont>());
    FFocusHelper.reset(New<TFocusHelper>(this));
    FSearchFooter.reset(New<TSearchFooter>(this, initDesign));
    FFloatingFooter.reset(New<TFloatingFooter>());
    FFloatingFooter->SetGrid(this);
    FPrintSettings.reset(New<TPrintSettings>(this));
    FHTMLSettings.reset(New<THTMLSettings>());
    FSortSettings.reset(New<TSortSettings>(this));
    FDragDropSettings.reset(New<TDragDropSettings>(this));
    FDragScrollOptions.reset(New<TDragScrollOptions>());
    FControlLook.reset(New<TControlLook>(this));
    FNavigation.reset(New<TNavigation>());
    FColumnSize.reset(New<TColumnSize>(this));
    FCellNode.reset(New<TCellNode>(this));
    FBands.reset(New<TBands>());
    FSizeWhileTyping.reset(New<TSizeWhileTyping>());
    FMouseActions.reset(New<TMouseActions>(this));
    FGrouping.reset(New<TGrouping>());
    FColumnHeaders.reset(New<TStringList>());
    FImageCache.reset(New<THTMLPictureCache>());

    FOrigColSizes.reset(New<TIntList>(-1, -1));
    FActiveCellFont.reset(New<TFont>());
    if (DesignTime())
        FActiveCellFont->SetName(L"Tahoma");
    FActiveCellFont->SetStyle(TFontStyles{fsBold});
    FRowHeaders.reset(New<TStringList>());
    Sortlist.reset(New<TStringList>());
    FLookupItems.reset(New<TStringList>());
    FRowSelect.reset(New<TList>());
    FColSelect.reset(New<TList>());
    FSortIndexes.reset(New<TSortIndexList>(0, 0));
    for (auto* list : {&FSortRowXRef, &FUnSortRowXRef, &FMergedColumns, &FSelectedCells, &FSelectedRows,
                       &FModifiedRows, &FEnabledRows})
        list->reset(New<TIntList>(0, 0));
    FRowIndicator.reset(New<TBitmap>());
    FBackGround.reset(New<TBackGround>(this));

    FControlList.reset(New<TControlList>());
    FProgressAppearance.reset(New<TGridProgressAppearance>());
    FSyncGrid.reset(New<TSyncGrid>(this));
    SetRowCount(10);
    SetBounds(GetLeft(), GetTop(), 400, 250);

    FFilter.reset(New<TFilter>(this));
    FBalloonSettings.reset(New<TBalloonSettings>());
    FShowModified.reset(New<TShowModified>());
    SetDefaults();

    FFilterDropDown.reset(New<TFilterDropDown>());
    if (initDesign) {
        FFilterDropDown->SetTextChecked(L"Checked");
        FFilterDropDown->SetTextUnChecked(L"Unchecked");
    }
    FDropList = New<TDropList>(this);
    FDropCheckList = New<TDropCheckList>(this);
    for (TWinControl* list : {static_cast<TWinControl*>(FDropList), static_cast<TWinControl*>(FDropCheckList)}) {
        list->SetBounds(0, 0, 0, 0);
        list->SetVisible(false);
        list->SetParent(this);
    }
    FFilterList.reset(New<TStringList>());
    FFilterList->Duplicates = dupIgnore;
    FFilterList->SetSorted(true);
    FOldLeftCol = GetLeftCol();
    FOldTopRow = GetTopRowEx();
    FFilterEdit.reset(New<TFilterEdit>(this));
    CreateFilterMenu();
    FHoverButtons.reset(New<THoverButtons>(this));

    if (!DesignTime())
        CreateRunTimeControls();
    GridLinkCursor = crHandPoint;
    WireOwnedObjects();
}

void TAdvStringGrid::SetDefaults()
{
    // Only what differs from the members' own starting values, and what
    // depends on the platform at construction.
    SetScrollBars(ssBoth);
    SetAutoSize(false);
    ControlStyle.Include(csAcceptsControls);
    SetSaveFixedCells(true);
    SetDefaultRowHeight(22);
    FFixedRowHeight = GetDefaultRowHeight();

    const TPlatformProbe& probe = PlatformProbe();
    FIsWinXP = probe.WindowsMajor > 5 || (probe.WindowsMajor == 5 && probe.WindowsMinor > 0);
    FIsWin7 = probe.WindowsMajor > 6 || (probe.WindowsMajor == 6 && probe.WindowsMinor > 0);
    FIsThemed = probe.ComCtlMajor > 5;
    FIsWinVista = IsWindowsVistaOrLater();
    FBorderColor = FIsWinXP ? TColor(0xB99D7F) : TColor(0x808080);
    if (!DesignTime())
        FStyle = tsWindowsXP;
    FScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
    FPackGradTo = static_cast<TColor>(ColorToRGB(clBtnFace));
    ClearColorTones(FTones);
}

void TAdvStringGrid::CreateFilterMenu()
{
    FFltrList = New<TImageList>(this);
    for (const wchar_t* name : FilterIconNames) {
        // A program built without the filter icons still gets its menu.
        if (HICON icon = static_cast<HICON>(LoadImageW(HInstance(), name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))) {
            TOwned<TIcon> picture(New<TIcon>());
            picture->SetHandle(icon);
            FFltrList->AddIcon(picture.get());
        }
    }
    FFltrPopup = New<TPopupMenu>(this);
    TStringList* names = FFilterEdit->GetTypeNames();
    for (int i = 0; i < std::min(9, names->Count()); ++i) {
        auto* item = New<TMenuItem>(FFltrPopup);
        item->SetCaption(names->Get(i));
        item->SetImageIndex(i);
        item->SetTag(i);
        item->OnClick = [this](TObject* Sender) { FilterTypeMenuClick(Sender); };
        FFltrPopup->GetItems()->Add(item);
    }
}

void TAdvStringGrid::CreateRunTimeControls()
{
    // The in-place editors and hover-button form come with the editing
    // code, on first use.
    FFocusWindow = New<TGridFocusWindow>(this);
    const TArrowDirection directions[] = {arrUp, arrDown, arrLeft, arrRight};
    TArrowWindow** arrows[] = {&ArwU, &ArwD, &ArwL, &ArwR};
    for (int i = 0; i < 4; ++i) {
        *arrows[i] = New<TArrowWindow>(this);
        (*arrows[i])->Init(this, directions[i]);
    }
    MoveButton = New<THeaderDragButton>(this);
    MoveButton->SetGrid(this);
    MoveButton->SetParent(this);
    MoveButton->SetEnabled(false);
    MoveButton->SetVisible(false);
    FScrollBar = New<TScrollBar>(this);
    FPaintScrollBar = New<TScrollBar>(this);
}

void TAdvStringGrid::WireOwnedObjects()
{
    FSearchPanel->OnEditChange = [this](TObject* s) { SearchEditChange(s); };
    FSearchPanel->OnBackwardClick = [this](TObject* s) { SearchBackwardClick(s); };
    FSearchPanel->OnForwardClick = [this](TObject* s) { SearchForwardClick(s); };
    FSearchPanel->OnExitClick = [this](TObject* s) { SearchExitClick(s); };
    FSearchPanel->OnHighLightClick = [this](TObject* s) { SearchHighLightClick(s); };
    FSearchPanel->OnMatchCaseClick = [this](TObject* s) { SearchMatchCaseClick(s); };
    FSearchFooter->OnChange = [this](TObject*) { UpdateSearchPanel(); };
    FNavigation->OnChange = [this](TObject*) { ReservedHookB(); };
    FBands->OnChange = [this](TObject*) { Invalidate(); };
    FMouseActions->OnChange = [this](TObject*) { ReservedHookA(); };
    FMouseActions->OnIsDesigning = [this](TObject*, bool& designing) { ReportDesigning(designing); };
    FMouseActions->OnInvalidate = [this](TObject*) { RepaintAll(); };
    FColumnHeaders->OnChange = [this](TObject*) {
        BeforeShowColumnHeaders();
        ShowColumnHeaders();
    };
    FRowHeaders->OnChange = [this](TObject*) { ShowRowHeaders(); };
    FActiveCellFont->OnChange = [this](TObject*) { Invalidate(); };
    FMergedColumns->OnChange = [this](TObject*, int, int) {
        for (int c = 0; c < GetColCount(); ++c)
            SplitColumnCells(c);
        for (int i = 0; i < FMergedColumns->Count(); ++i)
            MergeColumnCells(FMergedColumns->GetItem(i), i == 0);
    };
    FProgressAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FBalloonSettings->OnEnableChange = [this](TObject*) {
        if (LoadingNow())
            return;
        if (FBalloonSettings->GetEnable())
            BalloonInit();
        else
            BalloonDone();
    };
    FShowModified->OnChange = [this](TObject*) { RepaintCol(0); };
    FFilterDropDown->OnChange = [this](TObject*) { Invalidate(); };
    FDropList->OnSelect = [this](TObject*, int ItemIndex) { FilterListSelect(ItemIndex); };
    FDropCheckList->OnSelect = [this](TObject*, int ItemIndex) { FilterCheckListClick(ItemIndex); };
    FFloatingFooter->OnChange = [this](TObject*) { UpdateFooterPanelVisibility(); };
    FColumnSize->OnStretch = [this](int StretchCol, int Width) {
        StretchOnNotice(StretchCol, Width);
    };
}

// --- copying --------------------------------------------------------------------------

void TAdvStringGrid::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TAdvStringGrid*>(Source);
    if (!s)
        return;
    GetFont()->Assign(s->GetFont());
    FActiveCellColor = s->FActiveCellColor;
    FActiveCellColorTo = s->FActiveCellColorTo;
    FActiveCellFont->Assign(s->FActiveCellFont.get());
    FActiveCellShow = s->FActiveCellShow;
    FAutoColor->Assign(s->FAutoColor.get());
    SetActiveRowShow(s->GetActiveRowShow());
    SetAlign(s->GetAlign());
    FFilterDropDown->Assign(s->FFilterDropDown.get());
    FAnchorHint = s->FAnchorHint;
    SetAutoSize(s->GetAutoSize());
    FMouseActions->Assign(s->FMouseActions.get());
    FNavigation->Assign(s->FNavigation.get());
    FGrouping->Assign(s->FGrouping.get());
    FSearchFooter->Assign(s->FSearchFooter.get());
    FPrintSettings->Assign(s->FPrintSettings.get());
    FFilter->Assign(s->FFilter.get());
    FHTMLSettings->Assign(s->FHTMLSettings.get());
    FBands->Assign(s->FBands.get());
    FBackGround->Assign(s->FBackGround.get());
    FCellNode->Assign(s->FCellNode.get());
    FSortSettings->Assign(s->FSortSettings.get());
    FDragScrollOptions->Assign(s->FDragScrollOptions.get());
    FDragDropSettings->Assign(s->FDragDropSettings.get());
    FProgressAppearance->Assign(s->FProgressAppearance.get());
    FColumnSize->Assign(s->FColumnSize.get());
    FSyncGrid->Assign(s->FSyncGrid.get());
    FFocusHelper->Assign(s->FFocusHelper.get());
    FFilterEdit->Assign(s->FFilterEdit.get());
    FHoverButtons->Assign(s->FHoverButtons.get());
    FShowModified->Assign(s->FShowModified.get());
    FControlLook->Assign(s->FControlLook.get());
    FBalloonSettings->Assign(s->FBalloonSettings.get());
    FFixedRowAlways = s->FFixedRowAlways;
    SetColCount(s->GetColCount());
    SetRowCount(s->GetRowCount());
    SetFixedRows(s->TStringGrid::GetFixedRows());
    SetFixedCols(s->TStringGrid::GetFixedCols());
    SetDefaultColWidth(s->GetDefaultColWidth());
    SetDefaultRowHeight(s->GetDefaultRowHeight());
    SetFixedRowHeight(s->FFixedRowHeight);
    SetFixedColWidth(s->GetFixedColWidth());
    FInvalidEntryTitle = s->FInvalidEntryTitle;
    FInvalidEntryIcon = s->FInvalidEntryIcon;
    FInvalidEntryText = s->FInvalidEntryText;
    SetOptions(s->GetOptions());
    for (int c = 0; c < GetColCount(); ++c)
        SetColWidths(c, s->GetColWidths(c));
    FColumnHeaders->Assign(s->FColumnHeaders.get());
    for (int r = 0; r < GetRowCount(); ++r)
        SetRowHeights(r, s->GetRowHeights(r));
    FScrollProportional = s->FScrollProportional;
    FScrollSynch = s->FScrollSynch;
    FScrollHints = s->FScrollHints;
    FScrollBarAlways = s->FScrollBarAlways;
    SetScrollBars(s->GetScrollBars());
    FScrollColor = s->FScrollColor;
    FScrollType = s->FScrollType;
    SetScrollWidth(s->FScrollWidth);
    SetLook(s->FLook);
    SetBorderColor(s->FBorderColor);
    FSelectionColor = s->FSelectionColor;
    FSelectionColorTo = s->FSelectionColorTo;
    FSelectionMirrorColor = s->FSelectionMirrorColor;
    FSelectionMirrorColorTo = s->FSelectionMirrorColorTo;
    FSelectionTextColor = s->FSelectionTextColor;
    FSelectionRTFKeep = s->FSelectionRTFKeep;
    FSelectionResizer = s->FSelectionResizer;
    FAutoFilterUpdate = s->FAutoFilterUpdate;
    FAutoHideSelection = s->FAutoHideSelection;
    FAutoNumAlign = s->FAutoNumAlign;
    FAutoThemeAdapt = s->FAutoThemeAdapt;
    FDefaultEditor = s->FDefaultEditor;
    FDisabledFontColor = s->FDisabledFontColor;
    FEditWithTags = s->FEditWithTags;
    FEnableHTML = s->FEnableHTML;
    FEnableBlink = s->FEnableBlink;
    FEnhRowColMove = s->FEnhRowColMove;
    FEnhTextSize = s->FEnhTextSize;
    FExcelStyleDecimalSeparator = s->FExcelStyleDecimalSeparator;
    FFilterDropDownAuto = s->FFilterDropDownAuto;
    FFilterDropDownCheck = s->FFilterDropDownCheck;
    FFilterDropDownCheckUnCheckAll = s->FFilterDropDownCheckUnCheckAll;
    FFilterDropDownClear = s->FFilterDropDownClear;
    FFilterDropDownColumns = s->FFilterDropDownColumns;
    FFilterDropDownMultiCol = s->FFilterDropDownMultiCol;
    FFilterDropDownRow = s->FFilterDropDownRow;
    FFixedAsButtons = s->FFixedAsButtons;
    SetFixedFooters(s->GetFixedFooters());
    SetFixedRightCols(s->GetFixedRightCols());
    SetGridLineColor(s->GetGridLineColor());
    SetGridLineWidth(s->GetGridLineWidth());
    FHighlightColor = s->FHighlightColor;
    FHighlightTextColor = s->FHighlightTextColor;
    FHintColor = s->FHintColor;
    FHintShowCells = s->FHintShowCells;
    FHintShowLargeText = s->FHintShowLargeText;
    FHintShowLargeTextPos = s->FHintShowLargeTextPos;
    FHovering = s->FHovering;
    SetHoverRow(s->GetHoverRow());
    SetHoverRowColor(s->GetHoverRowColor());
    SetHoverRowColorTo(s->GetHoverRowColorTo());
    FIntelliZoom = s->FIntelliZoom;
    FIntelliPan = s->FIntelliPan;
    SetIntegralHeight(s->FIntegralHeight);
    FHTMLHint = s->FHTMLHint;
    FHTMLKeepLineBreak = s->FHTMLKeepLineBreak;
    FLookupHistory = s->FLookupHistory;
    FLookup = s->FLookup;
    FLookupItems->Assign(s->FLookupItems.get());
    FLookupCaseSensitive = s->FLookupCaseSensitive;
    FMaxComboLength = s->FMaxComboLength;
    FMaxEditLength = s->FMaxEditLength;
    FMultilineCells = s->FMultilineCells;
    AssignCells(Source);
}

void TAdvStringGrid::AssignCells(TPersistent* Source)
{
    auto* s = dynamic_cast<TAdvStringGrid*>(Source);
    if (!s || s == this)
        return;
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    s->SaveToBinStream(stream.get());
    stream->SetPosition(0);
    LoadFromBinStream(stream.get());
}

// --- window and loading -------------------------------------------------------------

void TAdvStringGrid::CreateWnd()
{
    if (Destroying())
        return;
    TBaseGrid::CreateWnd();
    if (!GetParent())
        return;
    if (!DesignTime()) {
        if (!LoadingNow())
            FUseVCLStyles = false;
        for (TScrollBar* bar : {FScrollBar, FPaintScrollBar}) {
            bar->SetVisible(false);
            bar->SetParent(this);
            bar->SetTabStop(false);
            bar->SetKind(sbVertical);
        }
        if (FBalloonSettings->GetEnable())
            BalloonInit();
    }
    FFooterPanel->SetParent(this);
    FSearchPanel->SetParent(this);
    UpdateFooterPanelVisibility();
    FSearchPanel->SetVisible(FSearchFooter->GetVisible());
    FSearchPanel->SetHeight(FSearchFooter->GetVisible() ? 32 : 0);
    // The search bar's window and controls come with the grid's, shown or not.
    FSearchPanel->HandleNeeded();
    FGridTimerID = SetTimer(GetHandle(), GridTimerID, GridTimerPeriod, nullptr);
    if (DesignTime() && !FLoaded && !LoadingNow())
        GetFont()->SetName(L"Tahoma");
    FIsWinXP = FIsWinXP && PlatformProbe().ThemeActive;
    InitMouseWheel(true);
    if (FLoaded && FAutoThemeAdapt && !DesignTime())
        WatchOfficeTheme(true);
    if (FColumnSize->GetSave())
        LoadColSizes();
}

void TAdvStringGrid::UpdateFooterPanelVisibility()
{
    FFooterPanel->SetVisible(FFloatingFooter->GetVisible());
    if (FFloatingFooter->GetVisible())
        FFooterPanel->SetHeight(GetDefaultRowHeight());
    ApplyFloatingFooter();
}

int TAdvStringGrid::InitMouseWheel(bool Query)
{
    wheelpan = false;
    UINT lines = 3;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        lines = 3;
    // Page scrolling moves a screenful of rows.
    wheelscrl = lines == WHEEL_PAGESCROLL ? GetVisibleRowCount() : static_cast<int>(lines);
    wheelmsg = WM_MOUSEWHEEL;
    return wheelscrl;
}

void TAdvStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    FRestoreCursor = GetCursor();
    ShowColumnHeaders();
    ShowRowHeaders();
    if (FLook == glPack) {
        // The field already holds the look: go round it so that the look's
        // colours are applied over the streamed ones.
        FLook = glCustom;
        SetLook(glPack);
    }
    if (GetAutoSize())
        AutoSizeColumns(false, 4);
    FMinFixedRows = TStringGrid::GetFixedRows();
    FMinFixedCols = TStringGrid::GetFixedCols();
    FMinRowHeightLoaded = GetDefaultRowHeight();
    FMinColWidthLoaded = 10;
    FMaxRowCount = std::max(FMaxRowCount, GetRowCount());
    FMaxColCount = std::max(FMaxColCount, GetColCount());
    FLoaded = true;
    if (GetOptions().Contains(goAlwaysShowEditor)) {
        FNavigation->SetAlwaysEdit(true);
        SetOptions(GetOptions() - goAlwaysShowEditor);
    }
    if (!FIsWinXP && FControlLook->GetControlStyle() == csTheme && !DesignTime())
        FControlLook->SetControlStyle(csClassic);
    UpdateSearchPanel();
    UpdateScrollBarsAlways(false);
    if (FAutoThemeAdapt && !DesignTime()) {
        AdaptStyleToOfficeTheme();
        WatchOfficeTheme(true);
    }
    FDisSelection = {-1, -1, -1, -1};
    InitOrigColSizes();
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    if (FColumnSize->GetSave())
        LoadColSizes();
    if (FBalloonSettings->GetEnable() && HandleAllocated() && !DesignTime())
        BalloonInit();
    FUseVCLStyles = false;
}

// --- Office theme ---------------------------------------------------------------------

void TAdvStringGrid::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    if (LoadingNow() || DesignTime())
        return;
    if (Value)
        AdaptStyleToOfficeTheme();
    WatchOfficeTheme(Value);
}

void TAdvStringGrid::AdaptStyleToOfficeTheme()
{
    if (DesignTime())
        return;
    const TOfficeTheme theme = DetectOfficeTheme();
    if (theme == FOldOfficeTheme)
        return;
    // The themes in order, each with the style of the same look.
    constexpr TPackStyle styles[] = {
        tsOffice2003Blue,  tsOffice2003Silver,    tsOffice2003Olive, tsOffice2003Classic, tsOffice2007Luna,
        tsOffice2007Silver, tsOffice2007Obsidian, tsOffice2010Blue,  tsOffice2010Silver,  tsOffice2010Black,
        tsOffice2013White, tsOffice2013LightGray, tsOffice2013Gray,  tsOffice2016White,   tsOffice2016Gray,
        tsOffice2016Black};
    if (theme < std::size(styles))
        SetComponentStyle(styles[theme]);
    FOldOfficeTheme = theme;
}

void TAdvStringGrid::WatchOfficeTheme(bool Watch)
{
    if (!HandleAllocated() || Watch == FThemeWatched)
        return;
    // The watcher serves every window of the program: it must not go with
    // the first grid that asked for it.
    TThemeNotifier* notifier = GetThemeNotifier(Application);
    if (Watch)
        notifier->RegisterWindow(GetHandle());
    else
        notifier->UnRegisterWindow(GetHandle());
    FThemeWatched = Watch;
}

void TAdvStringGrid::Invalidate()
{
    if (FEditChange) {
        FEditChange = false;
        return;
    }
    TBaseGrid::Invalidate();
    if (!LoadingNow() && FFloatingFooter && FFloatingFooter->GetVisible() && FFooterPanel)
        FFooterPanel->Invalidate();
}

void TAdvStringGrid::Resize()
{
    TBaseGrid::Resize();
    FireEvent(OnGridResize, this);
    if (FBackGround && FBackGround->IsGradient())
        Invalidate();
    UpdateScrollBarsAlways(false);
    CellControlsUpdate(false);
    InitMouseWheel(false);
    if (DesignTime())
        Invalidate();
}

void TAdvStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FIntegralHeight && FUpdateCount == 0 && GetDefaultRowHeight() > 0) {
        const bool allColumnsFit = GetVisibleColCount() + GetFixedCols() >= GetColCount();
        const int s = allColumnsFit ? 0 : GetSystemMetrics(SM_CYHSCROLL);
        const int b = GetBorderStyle() == bsSingle ? 2 : 0;
        const int h = AHeight - s - b;
        AHeight = (h - h % GetDefaultRowHeight()) + s + 2 * b;
    }
    TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (GetParent() && GetParent()->HandleAllocated())
        RepaintBorder();
}

void TAdvStringGrid::SetIntegralHeight(bool Value)
{
    FIntegralHeight = Value;
    SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

void TAdvStringGrid::SetBorderColor(TColor Value)
{
    if (StoreChanged(FBorderColor, Value))
        RepaintBorder();
}

void TAdvStringGrid::RepaintBorder()
{
    if (HandleAllocated())
        SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TAdvStringGrid::StoreGradient(TColor& field, TColor Value)
{
    const TColor rgb = Value == clNone ? clNone : static_cast<TColor>(ColorToRGB(Value));
    if (StoreChanged(field, rgb))
        Invalidate();
}

void TAdvStringGrid::SetScrollBarAlways(TScrollBarAlways Value)
{
    FScrollBarAlways = Value;
    UpdateScrollBarsAlways(false);
}

void TAdvStringGrid::UpdateScrollBarsAlways(bool Hide)
{
    if (!HandleAllocated())
        return;
    const HWND wnd = GetHandle();
    const bool rowsFit = GetVisibleRowCount() + GetFixedRows() >= GetRowCount();
    const bool colsFit = GetVisibleColCount() + GetFixedCols() >= GetColCount();
    const TScrollStyle bars = GetScrollBars();
    if (FScrollBarAlways != saNone) {
        if (rowsFit && (bars == ssVertical || bars == ssBoth))
            ShowScrollBar(wnd, SB_VERT, FScrollBarAlways == saVert || FScrollBarAlways == saBoth);
        if (colsFit && (bars == ssHorizontal || bars == ssBoth))
            ShowScrollBar(wnd, SB_HORZ, FScrollBarAlways == saHorz || FScrollBarAlways == saBoth);
        EnableScrollBar(wnd, SB_VERT, rowsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
        EnableScrollBar(wnd, SB_HORZ, colsFit ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    } else if (Hide) {
        if (rowsFit)
            ShowScrollBar(wnd, SB_VERT, false);
        if (colsFit)
            ShowScrollBar(wnd, SB_HORZ, false);
    }
}

void TAdvStringGrid::ShowColumnHeaders()
{
    if (GetFixedRows() == 0)
        return;
    for (int i = 0; i < FColumnHeaders->Count() && i < TotalColCount(); ++i)
        SetCellText(i, 0, EscapedNToCR(FColumnHeaders->Get(i)));
    Invalidate();
}

void TAdvStringGrid::ShowRowHeaders()
{
    if (GetFixedCols() == 0)
        return;
    for (int i = 0; i < FRowHeaders->Count() && i < GetRowCount(); ++i)
        SetCellText(0, i, EscapedNToCR(FRowHeaders->Get(i)));
    Invalidate();
}

// --- the strips under the cells -------------------------------------------------------

void TFloatingFooter::SetVisible(bool Value)
{
    if (StoreChanged(visible_, Value))
        FireEvent(OnChange, this);
}

void TFloatingFooter::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TFloatingFooter*>(Source);
    if (!s)
        return;
    color_ = s->color_;
    borderColor_ = s->borderColor_;
    column_ = s->column_;
    footerStyle_ = s->footerStyle_;
    customTemplate_ = s->customTemplate_;
    showHint_ = s->showHint_;
    calculateHiddenRows_ = s->calculateHiddenRows_;
    SetVisible(s->visible_);
}
