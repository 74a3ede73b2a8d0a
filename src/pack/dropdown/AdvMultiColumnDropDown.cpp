// The multi-column drop-down. The popup list is reloaded from Items and
// Columns at every opening; the lookup list (one lookup text per item) only
// by EndUpdate, Loaded and the LookupColumn setter, so completion may run on
// a stale list: a position found there is taken only when it names an item.
// Showing brackets the opening, so that the list's own row changes then do
// not rewrite the text.
#include "AdvMultiColumnDropDown.h"

#include "AdvUtil.h"
#include "ImgList.h"
#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>
#include <cmath>

using namespace AdvMultiColumnDropDown;

// ---------------------------------------------------------------------------
// Columns and items.

TDropDownColumn::TDropDownColumn(TCollection* Collection) : TCollectionItem(Collection), Font(New<TFont>()) {}

void TDropDownColumn::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TDropDownColumn*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    Wordwrap = source->Wordwrap;
    Width = source->Width;
    Header = source->Header;
    Alignment = source->Alignment;
    Color = source->Color;
    ColumnType = source->ColumnType;
    Font->Assign(source->Font.get());
    Ellipsis = source->Ellipsis;
    AutoSize = source->AutoSize;
}

TDropDownItem::TDropDownItem(TCollection* Collection) : TCollectionItem(Collection), Text(New<TStringList>()) {}

void TDropDownItem::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TDropDownItem*>(Source)) {
        ImageIndex = source->ImageIndex;
        Text->Assign(source->Text.get());
        Tag = source->Tag;
    }
}

String TDropDownItem::CellText(int Column) const
{
    return Column >= 0 && Column < Text->Count() ? Text->Get(Column) : String();
}

int TDropDownItems::IndexInColumn(int Column, const String& Value) const
{
    for (int i = 0; i < Count(); ++i) {
        TStringList* text = GetItem(i)->GetText();
        if (Column >= 0 && Column < text->Count() && text->Get(Column) == Value)
            return i;
    }
    return -1;
}

// ---------------------------------------------------------------------------
// Component styles of the column drop-downs.

namespace {

constexpr TColor KeepColor = clDefault;

constexpr TColumnDropDownStyle ColumnStyles[] = {
    {tsOffice2003Blue, 0xD68759, 0x933803, 0x962D00, 0x962D00, scOffice2007, clNone, 0xFFFFFF, clBlack},
    {tsOffice2003Silver, 0xBDA4A5, 0x957475, 0x947C7C, 0x947C7C, scOffice2007, clNone, KeepColor, clBlack},
    {tsOffice2003Olive, 0x82C0AF, 0x447A63, 0x588060, 0x588060, scOffice2007, clNone, KeepColor, clBlack},
    {tsOffice2003Classic, 0x808080, 0x808080, 0x808080, 0x808080, scOffice2007, clNone, KeepColor, clBlack},
    {tsOffice2007Luna, 0xFFEFE3, 0xFFD2AF, 0xFFD2AF, 0xFFD2AF, scOffice2007, clNone, 0x723708, clBlack},
    {tsOffice2007Obsidian, 0xF2F1F0, 0xC9C2BD, 0x5C534C, 0x5C534C, scOffice2007, clNone, 0x433C37, clBlack},
    {tsWindowsXP, clBtnFace, clBtnFace, 0xC0C0C0, clBlack, scCustom, clHighlight, clBlack, clHighlightText},
    {tsWhidbey, 0xEBEEEF, 0x7E9898, 0x962D00, 0x962D00, scOffice2007, clNone, 0xFFFFFF, clBlack},
    {tsOffice2007Silver, 0xF8F7F6, 0xE8E0DB, 0x74706F, 0x74706F, scOffice2007, clNone, 0x8B4215, clBlack},
    {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFCF2DA, scWindowsVista, clNone, clBlack, clBlack},
    {tsWindows7, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, scWindows7, clNone, clBlack, clBlack},
    {tsTerminal, clBtnFace, clBtnFace, 0x808080, 0x808080, scCustom, clHighlight, clBlack, clHighlightText},
    {tsOffice2010Blue, 0xEDDBCD, clNone, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0x5B391E, clBlack},
    {tsOffice2010Silver, 0xEDE9E5, clNone, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0x5B391E, clBlack},
    {tsOffice2010Black, 0x828282, clNone, 0xEEDDCF, 0xEEDDCF, scCustom, 0x6CD0FF, 0xD7D7D6, clBlack},
    {tsWindows8, 0xF7F6F5, clNone, 0xE4E3E2, 0xE4E3E2, scCustom, 0xF7E0C9, clBlack, clBlack},
    {tsWindows10, 0xF7F6F5, clNone, 0xE4E3E2, 0xE4E3E2, scCustom, 0xF7E0C9, clBlack, clBlack},
    {tsOffice2013White, 0xFFFFFF, clNone, 0xD4D4D4, 0xD4D4D4, scCustom, 0xFCE2C8, clBlack, clBlack},
    {tsOffice2013LightGray, 0xF6F6F6, clNone, 0xC6C6C6, 0xC6C6C6, scCustom, 0xFCE2C8, clBlack, clBlack},
    {tsOffice2013Gray, 0xE5E5E5, clNone, 0xABABAB, 0xABABAB, scCustom, 0xFCE2C8, clBlack, clBlack},
    {tsOffice2016White, 0xFFFFFF, clNone, 0xD4D4D4, 0xD4D4D4, scCustom, 0xE3BDA3, clBlack, clBlack},
    {tsOffice2016Gray, 0x444444, clNone, 0x444444, 0x444444, scCustom, 0xB2B2B2, 0xF0F0F0, clBlack},
    {tsOffice2016Black, 0x444444, clNone, 0x6A6A6A, 0x6A6A6A, scCustom, 0x444444, 0xFFFFFF, 0xFFFFFF},
};

// DrawText's measure of Text in Width x Height with Flags.
TSize MeasureDrawText(TCanvas* Canvas, const String& Text, int Width, int Height, UINT Flags)
{
    RECT r{0, 0, Width, Height};
    DrawTextW(Canvas->GetHandle(), Text.c_str(), static_cast<int>(Text.size()), &r, Flags | DT_CALCRECT);
    return {r.right - r.left, r.bottom - r.top};
}

bool IsNavigationKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
}

} // namespace

const TColumnDropDownStyle* AdvMultiColumnDropDown::FindColumnDropDownStyle(TPackStyle Style)
{
    for (const TColumnDropDownStyle& row : ColumnStyles)
        if (row.Style == Style)
            return &row;
    return nullptr;
}

TMeasureCanvas::TMeasureCanvas(TDropDownForm* Form, TFont* Font) : canvas_(Form->GetCanvas())
{
    SetFont(Font);
}

TMeasureCanvas::~TMeasureCanvas()
{
    if (auto* control = dynamic_cast<TControlCanvas*>(canvas_))
        control->FreeHandle();
}

int AdvMultiColumnDropDown::ItemCellWidth(TCanvas* Canvas, const String& Text, int ImageIndex,
                                          TCustomImageList* Images)
{
    int w = 0;
    if (ImageIndex >= 0 && Images)
        w += Images->GetWidth() + 4;
    if (!Text.empty())
        w += MeasureDrawText(Canvas, Text, 1000, 500, DT_SINGLELINE).cx + 6;
    return w;
}

int AdvMultiColumnDropDown::WrappedCellHeight(TCanvas* Canvas, const String& Text, int Width, bool HasImage,
                                              TCustomImageList* Images)
{
    int h = HasImage && Images ? Images->GetHeight() + 6 : 0;
    if (!Text.empty())
        h = std::max(h, static_cast<int>(MeasureDrawText(Canvas, Text, Width, 500, DT_WORDBREAK).cy) + 6);
    return h;
}

std::vector<int> AdvMultiColumnDropDown::ScaleColumnWidths(const std::vector<int>& Widths, int Avail)
{
    int total = 1;
    for (int w : Widths)
        total += w;
    const double ratio = static_cast<double>(Avail) / total;
    double error = 0.0;
    std::vector<int> scaled;
    for (int width : Widths) {
        const double exact = width * ratio;
        // Halves go to the even neighbour, as the class library rounds.
        const int w = static_cast<int>(std::nearbyint(exact));
        error += exact - w;
        if (error > 1.0) {
            scaled.push_back(w + 1);
            error -= 1.0;
        } else {
            scaled.push_back(w);
        }
    }
    return scaled;
}

// ---------------------------------------------------------------------------
// The popup list.

TAdvColGrid::TAdvColGrid(TComponent* AOwner)
    : TStringGrid(AOwner), Columns(New<TDropDownColumns>(this)), HeaderFont(New<TFont>())
{
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions options = GetOptions();
    options >> goRangeSelect >> goDrawFocusSelected;
    options << goHorzLine << goTabs << goRowSelect;
    SetOptions(options);
    SetDefaultDrawing(false);
    SetGridLineWidth(0);
    SetBorderStyle(bsNone);
    OldRow = GetRow();
}

void TAdvColGrid::SetOwnGridLineWidth(int Value)
{
    GridLineWidth = Value;
    SetGridLineWidth(0);
    Invalidate();
}

void TAdvColGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Images)
        Images = nullptr;
}

void TAdvColGrid::DoSelect()
{
    if (OnSelect)
        OnSelect(this);
}

void TAdvColGrid::LoadFromDropDown(TAdvMultiColumnDropDown* Source)
{
    if (!Source)
        return;
    DropDown = Source;
    Columns->Assign(Source->GetColumns());
    SetColCount(std::max(Columns->Count(), 1));
    const int rows = Source->GetItems()->Count() + 1;
    SetRowCount(rows);
    if (rows > 1) {
        SetFixedRows(1);
        SetRow(1);
        SetRowCount(rows);
    }
    for (int c = 0; c < Columns->Count(); ++c)
        SetColWidths(c, Columns->GetItem(c)->GetWidth());
    TDropDownItems* items = Source->GetItems();
    for (int r = 0; r < items->Count(); ++r)
        for (int c = 0; c < Columns->Count(); ++c)
            SetCells(c, r + 1, items->GetItem(r)->CellText(c));
    LineColor = Source->GetLineColor();
    FixedLineColor = Source->GetFixedLineColor();
    HeaderColor = Source->GetHeaderColor();
    HeaderColorTo = Source->GetHeaderColorTo();
    HeaderHeight = Source->GetHeaderHeight();
    HeaderFont->Assign(Source->GetHeaderFont());
    Images = Source->GetImages();
    TGridOptions options = GetOptions();
    if (Source->GetColumnSizing())
        options << goColSizing;
    else
        options >> goColSizing;
    SetOptions(options);
    AutoSizeItemColumns();
    SetDefaultRowHeight(Source->GetDropDownRowHeight() > 0 ? Source->GetDropDownRowHeight() : 1);
    AutoSizeWrappedRows();
    SetRowHeights(0, IntMax(1, HeaderHeight));
}

void TAdvColGrid::AutoSizeItemColumns()
{
    for (int c = 0; c < Columns->Count(); ++c)
        if (Columns->GetItem(c)->GetAutoSize())
            AutoSizeItemColumn(c);
}

void TAdvColGrid::AutoSizeItemColumn(int ACol)
{
    auto* form = dynamic_cast<TDropDownForm*>(GetParent());
    if (!form || !DropDown || ACol < 0 || ACol >= Columns->Count())
        return;
    TDropDownColumn* column = Columns->GetItem(ACol);
    if (!column->GetAutoSize())
        return;
    TMeasureCanvas canvas(form, column->GetFont());
    TDropDownItems* items = DropDown->GetItems();
    int widest = 0;
    for (int r = 1; r < GetRowCount(); ++r) {
        String text;
        int imageIndex = -1;
        if (r - 1 < items->Count()) {
            TDropDownItem* item = items->GetItem(r - 1);
            if (ACol < item->GetText()->Count()) {
                text = item->GetText()->Get(ACol);
                if (column->GetColumnType() == ctImage)
                    imageIndex = item->GetImageIndex();
            }
        }
        widest = std::max(widest, ItemCellWidth(canvas.Get(), text, imageIndex, Images));
    }
    column->SetWidth(widest);
    SetColWidths(ACol, widest);
}

void TAdvColGrid::AutoSizeWrappedRows()
{
    auto* form = dynamic_cast<TDropDownForm*>(GetParent());
    if (!form || !DropDown)
        return;
    bool anyWrap = false;
    for (int c = 0; c < Columns->Count(); ++c)
        anyWrap = anyWrap || Columns->GetItem(c)->GetWordwrap();
    if (!anyWrap)
        return;
    TMeasureCanvas canvas(form, HeaderFont.get());
    TDropDownItems* items = DropDown->GetItems();
    for (int r = 1; r < GetRowCount(); ++r) {
        TDropDownItem* item = r - 1 < items->Count() ? items->GetItem(r - 1) : nullptr;
        int h = 24;
        for (int c = 0; c < Columns->Count(); ++c) {
            TDropDownColumn* column = Columns->GetItem(c);
            if (!column->GetWordwrap())
                continue;
            canvas.SetFont(column->GetFont());
            const bool image = item && column->GetColumnType() == ctImage && item->GetImageIndex() >= 0;
            h = std::max(h, WrappedCellHeight(canvas.Get(), item ? item->CellText(c) : String(), GetColWidths(c),
                                              image, Images));
        }
        SetRowHeights(r, h);
    }
}

int TAdvColGrid::GetTotalWidth()
{
    int width = 2 * GetBorderWidth();
    for (int c = 0; c < GetColCount(); ++c)
        width += GetColWidths(c);
    if (GetVisibleRowCount() + GetFixedRows() != GetRowCount())
        width += GetSystemMetrics(SM_CXVSCROLL);
    return width;
}

void TAdvColGrid::GetFullCellRect(int ACol, int ARow, TRect& Rect)
{
    Rect = TRect();
    if (ACol < 0 || ARow < 0)
        return;
    const TRect cell = CellRect(ACol, ARow);
    Rect = Bounds(cell.left, cell.top, GetColWidths(ACol), GetRowHeights(ARow));
}

void TAdvColGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    TCanvas* canvas = GetCanvas();
    if (DropDown && DropDown->OnDropDownDrawItem) {
        DropDown->OnDropDownDrawItem(DropDown, ACol, ARow, canvas, ARect);
        return;
    }
    const int colCount = GetColCount();
    const Byte part = colCount == 1 ? 0 : ACol == 0 ? 1 : ACol == colCount - 1 ? 2 : 3;
    TRect r;
    GetFullCellRect(ACol, ARow, r);
    if (r.IsEmpty())
        r = ARect;

    int imageIndex = -1;
    String text = ARow >= 0 ? GetCells(ACol, ARow) : String();
    TColor background = GetColor();
    TAlignment alignment = taLeftJustify;
    bool wordWrap = false;
    bool ellipsis = false;
    TDropDownColumn* column = ACol >= GetFixedCols() && ACol < Columns->Count() ? Columns->GetItem(ACol) : nullptr;
    if (column) {
        background = column->GetColor();
        alignment = column->GetAlignment();
        wordWrap = column->GetWordwrap();
        ellipsis = column->GetEllipsis();
        canvas->GetFont()->Assign(column->GetFont());
        if (ARow > 0 && DropDown && ARow - 1 < DropDown->GetItems()->Count()) {
            TDropDownItem* item = DropDown->GetItems()->GetItem(ARow - 1);
            if (column->GetColumnType() == ctImage)
                imageIndex = item->GetImageIndex();
            if (ACol < item->GetText()->Count())
                text = item->GetText()->Get(ACol);
        }
    } else {
        canvas->GetFont()->Assign(HeaderFont.get());
    }
    if (DropDown && DropDown->OnDropDownGetItemText)
        DropDown->OnDropDownGetItemText(DropDown, ACol, ARow, text);

    const bool fixed = AState.Contains(gdFixed);
    const bool selected = !fixed && AState.Contains(gdSelected);
    canvas->GetBrush()->SetStyle(bsSolid);
    if (fixed) {
        text.clear();
        if (ACol < Columns->Count()) {
            text = Columns->GetItem(ACol)->GetHeader();
            imageIndex = -1;
        }
        if (HeaderColor != clNone && HeaderColorTo != clNone) {
            if (DropDown)
                DropDown->DrawGradient(canvas, HeaderColor, HeaderColorTo, 80, r, AdvDropDown::gdVertical);
            else
                DrawStepGradient(canvas, HeaderColor, HeaderColorTo, 80, r, false);
        } else {
            canvas->GetBrush()->SetColor(HeaderColor);
            canvas->FillRect(r);
        }
    } else if (selected) {
        if (DropDown) {
            DropDown->DrawSelectionBackground(canvas, r, background, part);
        } else {
            canvas->GetBrush()->SetColor(clActiveCaption);
            canvas->FillRect(r);
        }
    } else {
        canvas->GetBrush()->SetColor(background);
        canvas->GetPen()->SetColor(background);
        canvas->GetPen()->SetWidth(1);
        canvas->Rectangle(r);
    }

    // A line width of 0 draws no lines of the list's own.
    const TGridOptions options = GetOptions();
    if (fixed || GridLineWidth > 0) {
        int d = 1;
        if (fixed) {
            canvas->GetPen()->SetColor(FixedLineColor);
            canvas->GetPen()->SetWidth(1);
        } else {
            canvas->GetPen()->SetColor(LineColor);
            canvas->GetPen()->SetWidth(GridLineWidth);
            d = (GridLineWidth + 1) / 2;
        }
        if (options.Contains(fixed ? goFixedHorzLine : goHorzLine)) {
            canvas->MoveTo(r.left - d + 1, r.bottom - d);
            canvas->LineTo(r.right - d + 1, r.bottom - d);
        }
        if (options.Contains(fixed ? goFixedVertLine : goVertLine)) {
            const int x = r.right - d + (GetBiDiMode() == bdRightToLeft ? 1 : 0);
            canvas->MoveTo(x, r.bottom - d);
            canvas->LineTo(x, r.top - d);
        }
        canvas->GetPen()->SetWidth(1);
    }

    InflateRect(&r, -GridLineWidth, -GridLineWidth);
    int textLeft = r.left + 2;
    if (Images && imageIndex >= 0) {
        const int cellHeight = r.Height();
        const int y = Images->GetHeight() < cellHeight ? r.top + (cellHeight - Images->GetHeight()) / 2 : r.top;
        Images->Draw(canvas, r.left + 2, y, imageIndex);
        textLeft = r.left + Images->GetWidth() + 4;
    }
    if (text.empty())
        return;
    if (selected && DropDown)
        canvas->GetFont()->SetColor(DropDown->GetSelectionTextColor());
    if (fixed)
        canvas->GetFont()->Assign(HeaderFont.get());
    UINT flags = DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS;
    flags |= alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
    flags |= wordWrap ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
    if (ellipsis)
        flags |= DT_END_ELLIPSIS;
    RECT textRect{textLeft, r.top, r.right, r.bottom};
    canvas->GetBrush()->SetStyle(bsClear);
    HDC dc = canvas->GetHandle();
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, flags);
    canvas->GetBrush()->SetStyle(bsSolid);
}

void TAdvColGrid::KeyDown(Word& Key, TShiftState Shift)
{
    ConfirmSelection = true;
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (DropDown && DropDown->HandleAllocated())
            SendMessageW(DropDown->Handle(), WM_KEYDOWN, Key, 0x20000000);
        return;
    }
    TStringGrid::KeyDown(Key, Shift);
    if (Key == VK_RETURN)
        DoSelect();
}

void TAdvColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ConfirmSelection = true;
    OldRow = GetRow();
    TStringGrid::MouseDown(Button, Shift, X, Y);
}

void TAdvColGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TStringGrid::MouseUp(Button, Shift, X, Y);
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (row >= GetFixedRows() && row <= GetRowCount() - 1)
        DoSelect();
}

bool TAdvColGrid::DoMouseWheelDown(TShiftState Shift, POINT MousePos)
{
    WheelSelection = true;
    ConfirmSelection = false;
    TScopeExit done([this] { WheelSelection = false; });
    return TStringGrid::DoMouseWheelDown(Shift, MousePos);
}

bool TAdvColGrid::DoMouseWheelUp(TShiftState Shift, POINT MousePos)
{
    WheelSelection = true;
    ConfirmSelection = false;
    TScopeExit done([this] { WheelSelection = false; });
    return TStringGrid::DoMouseWheelUp(Shift, MousePos);
}

void TAdvColGrid::HandleLButtonDown(TMessage& Message)
{
    const int x = static_cast<short>(LOWORD(Message.LParam));
    const int y = static_cast<short>(HIWORD(Message.LParam));
    int col = -1, row = -1;
    MouseToCell(x, y, col, row);
    // A press on a partly shown row or column scrolls it in; the drag
    // selection the grid would start from there is not wanted.
    const bool partRow = row >= 0 && row == GetTopRow() + GetVisibleRowCount();
    const bool partCol = col >= 0 && col == GetLeftCol() + GetVisibleColCount();
    const bool scrolledFirst = col >= 0 && col == GetLeftCol() && GetLeftCol() > GetFixedCols();
    TStringGrid::Dispatch(Message);
    if ((partRow || partCol || scrolledFirst) && FGridState == gsSelecting)
        FGridState = gsNormal;
}

void TAdvColGrid::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        HandleLButtonDown(Message);
        return;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
        return;
    default:
        TStringGrid::Dispatch(Message);
    }
}

// ---------------------------------------------------------------------------
// Construction.

TAdvMultiColumnDropDown::TAdvMultiColumnDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      Items(New<TDropDownItems>(this)),
      Columns(New<TDropDownColumns>(this)),
      HeaderFont(New<TFont>()),
      LookupList(New<TStringList>())
{
}

void TAdvMultiColumnDropDown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    ColumnSizing = false;
    LookupColumn = 0;
    HeaderColorTo = 0x808080;
    HeaderColor = clWhite;
    HeaderHeight = 25;
    LineColor = clSilver;
    SetDropDownColor(clWhite);
    SetDropDownHeight(200);
    ItemIndex = -1;
    OldItemIndex = -1;
    MatchCase = false;
    MatchStart = true;
    SetAutoSelect(true);
    ItemChange = false;
    DropDownAutoWidth = true;
    SetSelectionColorStyle(scOffice2007);
    SelectionTextColor = clBlack;
    ColumnSizeWithDropDown = true;
    DropDownRowHeight = 22;
}

void TAdvMultiColumnDropDown::Assign(TPersistent* Source)
{
    TAdvCustomDropDown::Assign(Source);
    auto* source = dynamic_cast<TAdvMultiColumnDropDown*>(Source);
    if (!source)
        return;
    CaseSensitive = source->CaseSensitive;
    DropDownAutoWidth = source->DropDownAutoWidth;
    DropDownRowHeight = source->DropDownRowHeight;
    LineColor = source->LineColor;
    FixedLineColor = source->FixedLineColor;
    ColumnSizing = source->ColumnSizing;
    ColumnSizeWithDropDown = source->ColumnSizeWithDropDown;
    Columns->Assign(source->Columns.get());
    HeaderColor = source->HeaderColor;
    HeaderColorTo = source->HeaderColorTo;
    HeaderHeight = source->HeaderHeight;
    HeaderFont->Assign(source->HeaderFont.get());
    LookupColumn = source->LookupColumn;
    SelectionTextColor = source->SelectionTextColor;
    Items->Assign(source->Items.get());
    ItemIndex = source->ItemIndex;
}

void TAdvMultiColumnDropDown::Loaded()
{
    TAdvCustomDropDown::Loaded();
    BuildLookupList();
}

void TAdvMultiColumnDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!List) {
        List = New<TAdvColGrid>(this);
        List->SetParent(FDropDownForm);
    }
    List->SetDropDown(this);
    List->SetLeft(0);
    List->SetTop(0);
    List->SetHeight(180);
    List->SetColor(FDropDownColor);
    List->SetDoubleBuffered(true);
    SetControl(List);
}

// ---------------------------------------------------------------------------
// Styles.

void TAdvMultiColumnDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    if (Value == scOffice2007) {
        LineColor = 0xF1EDEB;
        FixedLineColor = 0xD1BBA4;
    } else if (Value == scWindowsVista || Value == scWindows7) {
        LineColor = 0xECECF0;
        FixedLineColor = 0xD4D2D1;
    }
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
}

void STDMETHODCALLTYPE TAdvMultiColumnDropDown::SetComponentStyle(TPackStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    const TColumnDropDownStyle* row = FindColumnDropDownStyle(AStyle);
    if (!row)
        return;
    HeaderColor = row->HeaderColor;
    HeaderColorTo = row->HeaderColorTo;
    SetSelectionColorStyle(row->Selection);
    if (row->Selection == scCustom) {
        SetSelectionColor(row->SelectionColor);
        SetSelectionColorTo(row->SelectionColor);
    }
    if (row->HeaderFontColor != KeepColor)
        HeaderFont->SetColor(row->HeaderFontColor);
    SelectionTextColor = row->SelectionTextColor;
    LineColor = row->LineColor;
    FixedLineColor = row->FixedLineColor;
}

// ---------------------------------------------------------------------------
// Items, lookup and the chosen row.

void TAdvMultiColumnDropDown::BuildLookupList()
{
    if (LookupColumn < 0 || Items->Count() == 0)
        return;
    LookupList->Clear();
    for (int i = 0; i < Items->Count(); ++i)
        LookupList->Add(Items->GetItem(i)->CellText(LookupColumn));
}

void TAdvMultiColumnDropDown::SetLookupColumn(int Value)
{
    LookupList->Clear();
    LookupColumn = Value;
    BuildLookupList();
}

void TAdvMultiColumnDropDown::SetItemIndex(int Value)
{
    if (Value >= Items->Count())
        return;
    ItemIndex = Value;
    SetText(Value < 0 || LookupColumn < 0 ? String() : Items->GetItem(Value)->CellText(LookupColumn));
}

int TAdvMultiColumnDropDown::GetItemIndex(const String& Value) const
{
    if (LookupColumn < 0)
        return -1;
    return Items->IndexInColumn(LookupColumn, Value);
}

bool TAdvMultiColumnDropDown::FindPrefixMatch(const String& Prefix, String& Text, int& Index) const
{
    Text.clear();
    Index = -1;
    if (!List || LookupColumn < 0)
        return false;
    const String key = CaseCompareKey(Prefix, CaseSensitive);
    if (key.empty())
        return false;
    for (int i = 0; i < Items->Count(); ++i) {
        const String lookup = Items->GetItem(i)->CellText(LookupColumn);
        if (CaseCompareKey(lookup, CaseSensitive).compare(0, key.size(), key) == 0 && lookup.size() >= key.size()) {
            Text = lookup;
            Index = i;
            return true;
        }
    }
    return false;
}

int TAdvMultiColumnDropDown::SelectionStartOf(int Index) const
{
    return static_cast<int>(GetPrefix().size()) + Index;
}

int TAdvMultiColumnDropDown::IncrementalLookup(wchar_t Key)
{
    auto selectFrom = [this](int From) {
        if (HandleAllocated())
            SendMessageW(Handle(), EM_SETSEL, SelectionStartOf(From),
                         SelectionStartOf(static_cast<int>(GetText().size())));
    };
    if (Key == VK_BACK) {
        const int prefix = static_cast<int>(GetPrefix().size());
        const int start = std::max(GetSelStart() - prefix, 0);
        const int length = GetSelLength();
        String text;
        if (length <= 0) {
            if (!LookupEntry.empty())
                LookupEntry.pop_back();
            text = LookupEntry;
        } else {
            // The selected characters go, as they would in the edit.
            text = GetText();
            if (start < static_cast<int>(text.size()))
                text.erase(static_cast<size_t>(start), static_cast<size_t>(length));
        }
        SetText(text);
        selectFrom(static_cast<int>(text.size()));
        return -1;
    }
    if (Key != VK_TAB)
        LookupEntry += Key;
    String found;
    int index = -1;
    if (FindPrefixMatch(LookupEntry, found, index)) {
        ItemIndex = index;
        SetText(found);
        selectFrom(static_cast<int>(LookupEntry.size()));
        return index;
    }
    const String single(1, Key);
    if (FindPrefixMatch(single, found, index)) {
        ItemIndex = index;
        SetText(found);
        LookupEntry = single;
        return index;
    }
    LookupEntry.clear();
    return -1;
}

// ---------------------------------------------------------------------------
// Row steps of the closed edit.

void TAdvMultiColumnDropDown::SelectFirst()
{
    if (Items->Count() > 0)
        SetItemIndex(0);
}

void TAdvMultiColumnDropDown::SelectLast()
{
    if (Items->Count() > 0)
        SetItemIndex(Items->Count() - 1);
}

void TAdvMultiColumnDropDown::SelectNext()
{
    if (Items->Count() == 0)
        return;
    if (ItemIndex < 0)
        SetItemIndex(0);
    else if (ItemIndex + 1 < Items->Count())
        SetItemIndex(ItemIndex + 1);
}

void TAdvMultiColumnDropDown::SelectPrevious()
{
    if (Items->Count() == 0)
        return;
    if (ItemIndex < 0)
        SetItemIndex(0);
    else if (ItemIndex > 0)
        SetItemIndex(ItemIndex - 1);
}

void TAdvMultiColumnDropDown::SelectNextPage()
{
    if (Items->Count() == 0)
        return;
    if (ItemIndex < 0)
        SetItemIndex(0);
    else if (ItemIndex + 10 < Items->Count())
        SetItemIndex(ItemIndex + 10);
    else
        SetItemIndex(Items->Count() - 1);
}

void TAdvMultiColumnDropDown::SelectPreviousPage()
{
    if (Items->Count() == 0)
        return;
    SetItemIndex(ItemIndex < 0 || ItemIndex - 10 < 0 ? 0 : ItemIndex - 10);
}

void TAdvMultiColumnDropDown::StepKeys(Word Key)
{
    switch (Key) {
    case VK_PRIOR: SelectPreviousPage(); break;
    case VK_NEXT: SelectNextPage(); break;
    case VK_END:
        if (!FEditorEnabled)
            SelectLast();
        break;
    case VK_HOME:
        if (!FEditorEnabled)
            SelectFirst();
        break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    default: break;
    }
}

void TAdvMultiColumnDropDown::WheelDown()
{
    TAdvCustomDropDown::WheelDown();
    SelectNext();
}

void TAdvMultiColumnDropDown::WheelUp()
{
    TAdvCustomDropDown::WheelUp();
    SelectPrevious();
}

// ---------------------------------------------------------------------------
// Typing in the edit.

void TAdvMultiColumnDropDown::Change()
{
    ItemChange = false;
    TAdvCustomDropDown::Change();
}

void TAdvMultiColumnDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    if (LookupColumn < 0 || Items->Count() == 0) {
        TAdvCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_RETURN) {
        if (!GetReadOnly()) {
            const int i = LookupList->IndexOf(GetText());
            if (i >= 0 && i < Items->Count()) {
                SetText(LookupList->Get(i));
                SetItemIndex(i);
                Change();
            }
        }
        if (ReturnIsTab) {
            PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
            Key = 0;
        }
    }
    const bool escape = Key == VK_ESCAPE;
    TAdvCustomDropDown::KeyDown(Key, Shift);
    // Before any opening there is nothing to return to: the item stays.
    if (escape && Opened)
        SetItemIndex(OpeningIndex);
}

void TAdvMultiColumnDropDown::KeyPress(wchar_t& Key)
{
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = 0;
        return;
    }
    TAdvCustomDropDown::KeyPress(Key);
}

void TAdvMultiColumnDropDown::KeyUp(Word& Key, TShiftState Shift)
{
    if (!(Key == VK_RETURN && ReturnIsTab))
        TAdvCustomDropDown::KeyUp(Key, Shift);
    if (Key == VK_BACK || !HandleAllocated())
        return;
    const String text = GetText();
    SetModifiedFlag(!text.empty());
    const int caret = std::clamp(GetSelStart() - static_cast<int>(GetPrefix().size()), 0,
                                 static_cast<int>(text.size()));
    const String typed = text.substr(0, static_cast<size_t>(caret));
    const String prefix = CaseCompareKey(typed, CaseSensitive);
    if (LookupList->Count() > 0 && !prefix.empty()) {
        for (int i = 0; i < LookupList->Count(); ++i) {
            const String entry = LookupList->Get(i);
            if (CaseCompareKey(entry, CaseSensitive).compare(0, prefix.size(), prefix) != 0 ||
                entry.size() < prefix.size())
                continue;
            // The list may be older than Items: only a real item is taken.
            if (i < Items->Count()) {
                ItemIndex = i;
                CompletedItem = i;
            }
            CompletedPrefixLength = static_cast<int>(prefix.size());
            ItemChange = true;
            // The whole tail of the entry, however long.
            SetText(typed + entry.substr(prefix.size()));
            SendMessageW(Handle(), EM_SETSEL, SelectionStartOf(static_cast<int>(prefix.size())),
                         SelectionStartOf(static_cast<int>(GetText().size())));
            return;
        }
    }
    if (!typed.empty()) {
        if (typed != text)
            SetText(typed);
        SendMessageW(Handle(), EM_SETSEL, SelectionStartOf(caret), SelectionStartOf(caret));
    }
    if (ItemChange) {
        SetItemIndex(CompletedItem);
        SendMessageW(Handle(), EM_SETSEL, SelectionStartOf(CompletedPrefixLength),
                     SelectionStartOf(static_cast<int>(GetText().size())));
        ItemChange = false;
    }
}

void TAdvMultiColumnDropDown::Dispatch(TMessage& Message)
{
    TAdvCustomDropDown::Dispatch(Message);
    if (Message.Msg != WM_KEYDOWN)
        return;
    if (!GetEnabled() || GetKeyState(VK_MENU) < 0 || GetReadOnly())
        return;
    if (FDropDownForm && FDropDownForm->GetVisible())
        return;
    StepKeys(static_cast<Word>(Message.WParam));
}

// ---------------------------------------------------------------------------
// The open list.

void TAdvMultiColumnDropDown::GridSelectCell(TObject*, int, int ARow, bool&)
{
    if (List->GetWheelSelection() || Showing)
        return;
    SetItemIndex(ARow - 1);
}

void TAdvMultiColumnDropDown::GridSelect(TObject*)
{
    if (List->GetConfirmSelection())
        SetItemIndex(List->GetRow() - 1);
    CloseDropDown(false);
    if (OnSelect)
        OnSelect(this);
}

void TAdvMultiColumnDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (!IsNavigationKey(Key) || Shift.Contains(ssAlt))
        TAdvCustomDropDown::ControlKeyDown(Key, Shift);
    if (Key == VK_TAB) {
        Key = 0;
        HideDropDown(false);
        SelectAll();
    }
}

void TAdvMultiColumnDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (!IsNavigationKey(Key) || Shift.Contains(ssAlt))
        TAdvCustomDropDown::ControlKeyUp(Key, Shift);
}

void TAdvMultiColumnDropDown::ControlKeyPress(wchar_t& Key)
{
    if (!List)
        return;
    // Enter and Escape end a search; the navigation keys never come as
    // characters, so every printable character searches.
    if (Key == VK_RETURN || Key == VK_ESCAPE || List->GetEditorMode()) {
        LookupEntry.clear();
        return;
    }
    const int n = IncrementalLookup(Key);
    if (n == -1) {
        LookupEntry.clear();
        return;
    }
    const int target = List->GetFixedRows() + n;
    if (target >= List->GetRowCount())
        return;
    if (target > List->GetTopRow() + List->GetVisibleRowCount() || target < List->GetTopRow())
        List->SetTopRow(target);
    List->SetRow(target);
    List->SetCol(0);
}

// ---------------------------------------------------------------------------
// Opening and closing.

void TAdvMultiColumnDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    if (FDropDownForm)
        FDropDownForm->SetCancelOnDeActivate(false);
    Showing = true;
    if (List) {
        List->LoadFromDropDown(this);
        TGridOptions options = List->GetOptions();
        options << goThumbTracking;
        List->SetOptions(options);
        List->SetColor(FDropDownColor);
        List->OnSelectCell = [this](TObject* s, int c, int r, bool& can) { GridSelectCell(s, c, r, can); };
        List->OnSelect = [this](TObject* s) { GridSelect(s); };
        int row = ItemIndex + 1;
        if (row < List->GetFixedRows())
            row = 1;
        if (row < List->GetRowCount() && row >= List->GetFixedRows())
            List->SetRow(row);
    }
    OldItemIndex = ItemIndex;
}

void TAdvMultiColumnDropDown::PlaceControl()
{
    if (List && FControl != List) {
        SetControl(List);
        return;
    }
    TAdvCustomDropDown::PlaceControl();
}

void TAdvMultiColumnDropDown::AdjustDropDownSize()
{
    TAdvCustomDropDown::AdjustDropDownSize();
    if (!DropDownAutoWidth || !FDropDownForm || !List)
        return;
    List->SetAlign(alNone);
    List->SetWidth(List->GetTotalWidth());
    FDropDownForm->SetWidth(List->GetWidth() + 2 * FDropDownBorderWidth);
    List->SetAlign(alClient);
}

void TAdvMultiColumnDropDown::AfterDropDown(int& Height)
{
    // A row height below 1 gives no rows to snap to.
    if (FDropDownSizeable || DropDownRowHeight < 1)
        return;
    int bars = 0;
    if (FDropDownHeader->GetVisible())
        bars += FDropDownHeader->GetHeight();
    if (FDropDownFooter->GetVisible())
        bars += FDropDownFooter->GetHeight();
    Height = bars + HeaderHeight + 2 + ((Height - bars - HeaderHeight - 2) / DropDownRowHeight) * DropDownRowHeight;
}

void TAdvMultiColumnDropDown::OpenDropDown()
{
    if (!GetEnabled() || GetReadOnly())
        return;
    TScopeExit shown([this] { Showing = false; });
    OpeningIndex = ItemIndex;
    Opened = true;
    TAdvCustomDropDown::OpenDropDown();
    SizeColumnsToDropDown();
    if (!List)
        return;
    // Keys typed while the popup shows search and move the list.
    if (FDroppedDown && List->CanFocus())
        List->SetFocus();
    if (List->GetRowCount() <= 1)
        return;
    const int row = ItemIndex + 1 > 0 ? ItemIndex + 1 : 1;
    if (row >= List->GetRowCount())
        return;
    List->SetRow(row);
    TRect cell;
    List->GetFullCellRect(0, row, cell);
    if (cell.left <= 0 && cell.top <= 0)
        List->SetTopRow(std::max(row - List->GetVisibleRowCount() + 1, List->GetFixedRows()));
}

void TAdvMultiColumnDropDown::CloseDropDown(bool Cancel)
{
    if (!FDropDownForm || !FDropDownForm->GetVisible()) {
        TAdvCustomDropDown::CloseDropDown(Cancel);
        return;
    }
    TAdvCustomDropDown::CloseDropDown(Cancel);
    if (Cancel) {
        if (ItemIndex != OldItemIndex)
            SetItemIndex(OldItemIndex);
    } else if (List && List->GetConfirmSelection()) {
        SetItemIndex(List->GetRow() - 1);
    }
    OldItemIndex = ItemIndex;
}

void TAdvMultiColumnDropDown::DropDownSizing()
{
    TAdvCustomDropDown::DropDownSizing();
    SizeColumnsToDropDown();
}

void TAdvMultiColumnDropDown::SizeColumnsToDropDown()
{
    if (!ColumnSizeWithDropDown || !List || !FDropDownForm)
        return;
    List->SetScrollBars(ssVertical);
    if (Columns->Count() == 0)
        return;
    std::vector<int> widths;
    for (int c = 0; c < Columns->Count(); ++c)
        widths.push_back(Columns->GetItem(c)->GetWidth());
    int avail = FDropDownForm->GetWidth();
    if (List->GetVisibleRowCount() + List->GetFixedRows() < List->GetRowCount())
        avail -= GetSystemMetrics(SM_CXVSCROLL);
    const std::vector<int> scaled = ScaleColumnWidths(widths, avail);
    for (int c = 0; c < static_cast<int>(scaled.size()) && c < List->GetColCount(); ++c)
        List->SetColWidths(c, scaled[c]);
}
