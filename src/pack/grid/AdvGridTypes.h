// The data grid's enumerations and event types, apart from the class so
// that a unit which only handles its events needs no more than this.
#pragma once

#include "AdvGridLook.h"
#include "BaseGrid.h"
#include <functional>

class THoverButtonsCollectionItem;

// --- enumerations
enum TScrollPosition { spMiddle, spTrailing, spLeading };

enum TGridLook {
    glStandard, glSoft, glClassic, glPack, glXP, glListView, glVista, glWin7, glOffice2007, glCustom
};
enum TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum TDragScrollDirection { dsdUp, dsdDown, dsdLeft, dsdRight };
using TDragScrollDirections = Set<TDragScrollDirection>;
enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };
enum TScrollBarAlways { saNone, saVert, saHorz, saBoth };
enum THintShowLargeTextPos { hpCell, hpCursor };
enum THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
enum TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };
enum TIntelliPan { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TSearchAction { saFindFirst, saFindPrevious, saFindNext };
// The options of a find; the set's bit is the ordinal.
enum TFindParameters {
    fnMatchCase, fnMatchFull, fnMatchRegular, fnDirectionLeftRight, fnMatchStart, fnFindInCurrentRow,
    fnFindInCurrentCol, fnIncludeFixed, fnAutoGoto, fnIgnoreHTMLTags, fnBackward, fnIncludeHiddenColumns,
    fnFindInPresetCol, fnFindInPresetRow, fnSelectedCells, fnIncludeHiddenRows
};
using TFindParams = Set<TFindParameters, 16>;
enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = Set<TCellBorder>;

// --- events
using TRowUpdateEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, const TRect& R)>;
using TCellSaveLoadEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TGridProgressEvent = std::function<void(TObject* Sender, short progress)>;
using TClickCellEvent = std::function<void(TObject* Sender, int ARow, int ACol)>;
using TColRowEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TCanEditCellEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& CanEdit)>;
using TCanSortEvent = std::function<void(TObject* Sender, int ACol, bool& DoSort)>;
using TSearchFooterActionEvent =
    std::function<void(TObject* Sender, const String& Value, int ACol, int ARow, TSearchAction SearchAction)>;
using TBoolVarEvent = std::function<void(TObject* Sender, bool& Value)>;
using TSearchEditChangeEvent = std::function<void(TObject* Sender, const String& Value, bool& DefaultSearch)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, int ARow, bool& CanInsert)>;
using TCellColorEvent = std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState,
                                           TBrush* ABrush, TFont* AFont)>;
using TCellBorderEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TPen* APen, TCellBorders& Borders)>;
using TGetEditorTypeEvent = std::function<void(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)>;
using TRowColBoolEvent = std::function<void(TObject* Sender, int ARow, int ACol, bool& Value)>;
using TColRowBoolEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Value)>;
using TFilterEditUpdateEvent =
    std::function<void(TObject* Sender, int ACol, const String& Condition, TFilterType FilterType)>;
using TCheckBoxCanToggleEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool State, bool& Allow)>;
using TCheckBoxChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool State)>;
using TUpdateColumnSizeEvent = std::function<void(TObject* Sender, int ACol, int& AWidth)>;
using TGridHintEvent = std::function<void(TObject* Sender, int ARow, int ACol, String& HintStr)>;
using TGetAlignmentEvent =
    std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGetCellCursorEvent = std::function<void(TObject* Sender, int ACol, int ARow, int X, int Y, TCursor& ACursor)>;
using TRatingChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, int& NewRate, bool& Allow)>;
using TGetFloatFormatEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& IsFloat, String& FloatFormat)>;
using TGetCheckEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using THasFilterEditEvent = std::function<void(TObject* Sender, int ACol, bool& HasFilter)>;
using TRowDisjunctSelectEvent = std::function<void(TObject* Sender, int ARow, bool AState, bool& Allow)>;
using TRowDisjunctSelectedEvent = std::function<void(TObject* Sender, int ARow)>;
using TCellValidateEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value, bool& Valid)>;
using TSelectionChangedEvent = std::function<void(TObject* Sender, int ALeft, int ATop, int ARight, int ABottom)>;
using TUnitChangedEvent = std::function<void(TObject* Sender, int ACol, int ARow, const String& NewUnit)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& S)>;
using THoverButtonClickEvent =
    std::function<void(TObject* Sender, int ARow, THoverButtonsCollectionItem* AButton)>;
