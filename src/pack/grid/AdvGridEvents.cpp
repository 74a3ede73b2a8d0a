// The data grid's event dispatch: every event goes through a virtual
// Do-method that applies the grid's own default first and then asks the
// handler, so that descendants can change either; and the base grid's hooks.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "Forms.h"
#include <algorithm>
#include <cwctype>

namespace {

template <class Event, class... Args>
void Fire(const Event& event, Args&&... args)
{
    if (event)
        event(std::forward<Args>(args)...);
}

// The first kind of address a text holds, in this order, as a link; the
// rest of the text shows as written, tags included.
String LinkFirstAddress(const String& text)
{
    String html;
    for (const wchar_t* prefix : {L"HTTP://", L"WWW.", L"MAILTO:", L"HTTPS://", L"NNTP://", L"FILE://", L"FTP://"})
        if (InsertURLLink(text, prefix, html))
            return html;
    return text;
}

bool IsSpinEditor(TEditorType e)
{
    return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
}

} // namespace

// --- plain dispatchers -----------------------------------------------------------------

void TAdvStringGrid::DoClickCell(int ARow, int ACol) { Fire(OnClickCell, this, ARow, ACol); }
void TAdvStringGrid::DoCanEditCell(int ACol, int ARow, bool& CanEdit) { Fire(OnCanEditCell, this, ARow, ACol, CanEdit); }
void TAdvStringGrid::DoCanSort(int ACol, bool& DoSort) { Fire(OnCanSort, this, ACol, DoSort); }
void TAdvStringGrid::DoSearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction SearchAction)
{
    Fire(OnSearchFooterAction, this, Value, ACol, ARow, SearchAction);
}
void TAdvStringGrid::DoSearchFooterSearchEnd(bool& ContinueFromStart)
{
    Fire(OnSearchFooterSearchEnd, this, ContinueFromStart);
}
void TAdvStringGrid::DoButtonClick(int ACol, int ARow) { Fire(OnButtonClick, this, ACol, ARow); }
void TAdvStringGrid::ButtonClick() { Fire(OnButtonClick, this, GetCol(), GetRow()); }
void TAdvStringGrid::DoComboCloseUp(int ARow, int ACol) { Fire(OnComboCloseUp, this, ARow, ACol); }
void TAdvStringGrid::DoComboDropDown(int ARow, int ACol) { Fire(OnComboDropDown, this, ARow, ACol); }
void TAdvStringGrid::DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    Fire(OnGetCellPrintColor, this, ARow, ACol, AState, ABrush, AFont);
}
void TAdvStringGrid::DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    Fire(OnGetCellPrintBorder, this, ARow, ACol, APen, Borders);
}
void TAdvStringGrid::DoGetEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    Fire(OnGetEditorType, this, ACol, ARow, AEditor);
}
void TAdvStringGrid::DoGetEditorTypeForShow(int ACol, int ARow, TEditorType& AEditor)
{
    Fire(OnGetEditorType, this, ACol, ARow, AEditor);
}
void TAdvStringGrid::DoIsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    Fire(OnIsPasswordCell, this, ARow, ACol, IsPassword);
}
void TAdvStringGrid::DoGetWordWrap(int ACol, int ARow, bool& WordWrap) { Fire(OnGetWordWrap, this, ACol, ARow, WordWrap); }
void TAdvStringGrid::DoFilterEditUpdate(int ACol, const String& Condition, TFilterType FilterType)
{
    Fire(OnFilterEditUpdate, this, ACol, Condition, FilterType);
}
void TAdvStringGrid::DoCanAddRow(bool& CanAdd) { Fire(OnCanAddRow, this, CanAdd); }
void TAdvStringGrid::DoCanAddCol(bool& CanAdd) { Fire(OnCanAddCol, this, CanAdd); }
void TAdvStringGrid::DoCanInsertRow(int ARow, bool& CanInsert) { Fire(OnCanInsertRow, this, ARow, CanInsert); }
void TAdvStringGrid::DoCheckBoxChange(int ACol, int ARow, bool State) { Fire(OnCheckBoxChange, this, ACol, ARow, State); }
void TAdvStringGrid::DoColumnResized(int ACol, int& AWidth) { Fire(OnUpdateColumnSize, this, ACol, AWidth); }
void TAdvStringGrid::DoColumnAutoSized(int ACol, int& AWidth) { Fire(OnUpdateColumnSize, this, ACol, AWidth); }

// --- dispatchers with their own logic ----------------------------------------------------

void TAdvStringGrid::DoGridHint(int ACol, int ARow, String& WideHint, String& Hint)
{
    Fire(OnGridHint, this, ARow, ACol, Hint);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.empty())
            Hint = PackWideText(WideHint);
    }
}

void TAdvStringGrid::DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont)
{
    if (FActiveCellShow) {
        const bool rowHeader = ARow == GetRow() && GetFixedCols() > 0 && ACol + 1 == GetFixedCols();
        const bool colHeader = ACol == GetCol() && GetFixedRows() > 0 && ARow + 1 == GetFixedRows();
        if (rowHeader || colHeader) {
            AFont->Assign(FActiveCellFont.get());
            ABrush->SetColor(FActiveCellColor);
        }
    }
    if (HasCellProperties(RealColIndex(ACol), ARow)) {
        TCellProperties* props = GetCellProperties(RealColIndex(ACol), ARow);
        // Graphics that cover the cell (progress bars, pictures, buttons)
        // keep the painter's brush; small glyphs beside the text show the
        // cell's own colour.
        const TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow);
        // An object of another class in the graphic slot covers the cell too.
        const bool foreign = !graphic && props->GetGraphicObject();
        const TCellType kind = graphic ? graphic->GetCellType() : ctEmpty;
        const bool ownColour = !foreign && (kind == ctIcon || kind == ctNone || kind == ctImageList || kind == ctCheckBox ||
                               kind == ctEmpty || kind == ctImages || kind == ctComment || kind == ctRadioButton);
        if (ownColour && props->GetBrushColor() != clNone)
            ABrush->SetColor(props->GetBrushColor());
        if (props->GetFontColor() != clNone)
            AFont->SetColor(props->GetFontColor());
        if (!props->GetFontStyle().Empty())
            AFont->SetStyle(props->GetFontStyle());
        if (props->GetFontSize() != 0)
            AFont->SetSize(props->GetFontSize());
        if (!props->GetFontName().empty())
            AFont->SetName(props->GetFontName());
    }
    Fire(OnGetCellColor, this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::DoGetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders)
{
    Fire(OnGetCellBorder, this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (ACol == 0 && FMouseActions->GetHotmailRowSelect())
        HAlign = taCenter;
    Fire(OnGetAlignment, this, ARow, ACol, HAlign, VAlign);
}

void TAdvStringGrid::DoGetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor)
        return;
    TCursor cursor = Screen->GetCursor();
    OnGetCellCursor(this, ACol, ARow, X, Y, cursor);
    if (cursor != GetCursor())
        ::SetCursor(Screen->GetCursors(cursor));
}

bool TAdvStringGrid::DoRatingChange(int ACol, int ARow, int& NewRate)
{
    bool allow = true;
    Fire(OnRatingChange, this, ACol, ARow, NewRate, allow);
    return allow;
}

void TAdvStringGrid::DoGetCheckTrue(int ACol, int ARow, String& Value)
{
    Value = FCheckTrue;
    Fire(OnGetCheckTrue, this, ACol, ARow, Value);
}

void TAdvStringGrid::DoGetCheckFalse(int ACol, int ARow, String& Value)
{
    Value = FCheckFalse;
    Fire(OnGetCheckFalse, this, ACol, ARow, Value);
}

void TAdvStringGrid::DoIsFixedCell(int ARow, int ACol, bool& IsFixed)
{
    IsFixed = IsFixed || ARow < GetFixedRows() || ACol < GetFixedCols() ||
              (FFixedRowAlways && GetRowCount() == FFixedRowsMin) ||
              (FFixedColAlways && GetColCount() == FFixedColsMin && ACol < FFixedColsMin);
    if (!IsFixed)
        Fire(OnIsFixedCell, this, ARow, ACol, IsFixed);
}

bool TAdvStringGrid::IsFixedCell(int ACol, int ARow)
{
    if (ARow >= GetRowCount() - FFixedFooters || ACol >= GetColCount() - FFixedRightCols)
        return true;
    bool fixed = false;
    if (ARow >= GetFixedRows() && ACol >= GetFixedCols())
        DoIsFixedCell(ARow, ACol, fixed);
    return fixed;
}

void TAdvStringGrid::QueryCellEditable(int ACol, int ARow, bool& CanEdit)
{
    const TPoint base = BaseCell(ACol, ARow);
    const int bc = base.x;
    const int br = base.y;
    const bool inGrid = bc < GetColCount() + NumHiddenColumns();
    if (HasCellProperties(bc, br) && CanEdit) {
        CanEdit = !GetCellProperties(bc, br)->GetReadOnly();
        if (!GetOptions().Contains(goEditing) && !FEditDisable && !FMouseActions->GetRangeSelectAndEdit())
            CanEdit = false;
        if (inGrid)
            DoCanEditCell(bc, br, CanEdit);
        return;
    }
    if (inGrid)
        DoCanEditCell(bc, br, CanEdit);
    else
        CanEdit = true;
}

bool TAdvStringGrid::HasNoEditor(int ACol, int ARow)
{
    if (!OnGetEditorType)
        return false;
    TEditorType editor = edNormal;
    OnGetEditorType(this, ACol, ARow, editor);
    return editor == edNone;
}

bool TAdvStringGrid::HasEditorButton(int ACol, int ARow, TEditorType Editor, const TColRowBoolEvent& Handler,
                                     bool AlwaysVisible, bool ForShow, bool (*Shows)(TEditorType))
{
    if (Handler) {
        bool has = false;
        Handler(this, ACol, ARow, has);
        return has;
    }
    if (!AlwaysVisible)
        return false;
    if (Editor == edNone) {
        Editor = FDefaultEditor;
        if (ForShow)
            DoGetEditorTypeForShow(ACol, ARow, Editor);
        else
            DoGetEditorType(ACol, ARow, Editor);
    }
    return Shows(Editor);
}

bool TAdvStringGrid::DoHasComboBox(int ACol, int ARow, TEditorType Editor)
{
    return HasEditorButton(ACol, ARow, Editor, OnHasComboBox, FControlLook->GetDropDownAlwaysVisible(), true,
                           [](TEditorType e) { return e == edComboEdit || e == edComboList; });
}

bool TAdvStringGrid::DoHasEditBtn(int ACol, int ARow, TEditorType Editor)
{
    return HasEditorButton(ACol, ARow, Editor, OnHasEditBtn, FControlLook->GetDropDownAlwaysVisible(), true,
                           [](TEditorType e) { return e == edEditBtn; });
}

bool TAdvStringGrid::DoHasSpinEdit(int ACol, int ARow, TEditorType Editor)
{
    if (ACol < GetFixedCols() || ARow < GetFixedRows())
        return false;
    return HasEditorButton(ACol, ARow, Editor, OnHasSpinEdit, FControlLook->GetSpinButtonsAlwaysVisible(), false,
                           IsSpinEditor);
}

bool TAdvStringGrid::DoHasFilterEdit(int ACol, int ARow)
{
    if (!FFilterEdit->GetEnabled() || ARow != FFilterEdit->GetRow())
        return false;
    if (FFilterEdit->GetColumns() == fdNormal &&
        (ACol < GetFixedCols() || ACol > GetAllColCount() - FFixedRightCols - 1))
        return false;
    bool has = true;
    Fire(OnHasFilterEdit, this, ACol, has);
    return has;
}

void TAdvStringGrid::DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    // These looks draw the selection band from its neighbours.
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007)
        InvalidateCellRange({ALeft, ATop, ARight, ABottom});
    FSelectionChanged = true;
    FLastSelection = GetSelection();
    Fire(OnSelectionChanged, this, ALeft, ATop, ARight, ABottom);
}

void TAdvStringGrid::DoHoverButtonClick(TObject* Sender)
{
    auto* button = dynamic_cast<TComponent*>(Sender);
    if (!OnHoverButtonClick || !button)
        return;
    THoverButtonsCollection* buttons = FHoverButtons->GetButtons();
    const int index = static_cast<int>(button->GetTag());
    if (index >= 0 && index < buttons->Count())
        OnHoverButtonClick(this, FHoverButtonRow, buttons->GetItem(index));
}

void TAdvStringGrid::DoEllipsClick(const String& Text, String& Value)
{
    Value = Text;
    Fire(OnEllipsClick, this, RealColIndex(GetCol()), GetRow(), Value);
}

void TAdvStringGrid::HideHoverButtons() {}

bool TAdvStringGrid::IsHoverFixedCell(int ACol, int ARow) const
{
    if (FHoverFixedCells == hfNone)
        return false;
    if (ACol < GetFixedCols() && (FHoverFixedCells == hfAll || FHoverFixedCells == hfFixedColumns))
        return true;
    return ARow < GetFixedRows() && (FHoverFixedCells == hfAll || FHoverFixedCells == hfFixedRows);
}

// --- base grid hooks -------------------------------------------------------------------

void TAdvStringGrid::GetDisplText(int ACol, int ARow, String& Value)
{
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (FURLShowInText)
        Value = LinkFirstAddress(Value);
}

void TAdvStringGrid::LastRowChanged()
{
    TBaseGrid::LastRowChanged();
    if (FFooterPanel)
        FFooterPanel->Invalidate();
}

int TAdvStringGrid::GetRowNodeIndent(int ARow)
{
    if (!HasNodes() || ARow < 0 || !HasCellProperties(0, ARow))
        return 0;
    return GetCellProperties(0, ARow)->GetNodeLevel() * FCellNode->GetNodeIndent();
}
