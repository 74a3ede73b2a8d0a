// "Start inventory" and "Cancel": the window's own steps around an inventory
// run, and the window's controls as the run fills them.
#include "Unit1.h"

// Columns are the table's own: a restored layout may have moved or hidden
// some, and each value still goes under its title.
void TForm1::TInventoryView::SetCellText(int ACol, int ARow, const String& Value)
{
    TAdvStringGrid* grid = form_.StringGrid1;
    grid->SetCellText(grid->ColumnPosition(ACol), ARow, Value);
}

void TForm1::TInventoryView::SetColWidth(int ACol, int Value)
{
    TAdvStringGrid* grid = form_.StringGrid1;
    const int realCol = grid->ColumnPosition(ACol);
    if (!grid->IsHiddenColumn(realCol))
        grid->SetColWidths(grid->DisplColIndex(realCol), Value);
}

void TForm1::TInventoryView::SetGaugeMaximum(int Value) { form_.AdvGaugeCircle1->SetMaximum(Value); }
void TForm1::TInventoryView::SetGaugePosition(int Value) { form_.AdvGaugeCircle1->SetPosition(Value); }
void TForm1::TInventoryView::SetGaugeVisible(bool Value) { form_.AdvGaugeCircle1->SetVisible(Value); }
void TForm1::TInventoryView::SetCancelEnabled(bool Value) { form_.BtnStop->SetEnabled(Value); }

void TForm1::BeforeDestruction()
{
    inventoryRun_.reset();
    TForm::BeforeDestruction();
}

void TForm1::ConnectInventoryEvents()
{
    BtnHDD->OnClick = [this](TObject* Sender) { BtnHDDClick(Sender); };
    BtnStop->OnClick = [this](TObject* Sender) { BtnStopClick(Sender); };
    // Row r belongs to line r of the list until the run ends: a sort would
    // put the rest of a computer's values into another computer's row.
    StringGrid1->OnCanSort = [this](TObject*, int, bool& DoSort) {
        if (InventoryRunning())
            DoSort = false;
    };
}

bool TForm1::InventoryRunning() const
{
    return inventoryRun_ && inventoryRun_->Running();
}

void TForm1::CancelInventory()
{
    if (inventoryRun_)
        inventoryRun_->Cancel();
}

void TForm1::BtnHDDClick(TObject*)
{
    // One run at a time: a second would write into the same rows.
    if (InventoryRunning())
        return;
    TStrings* lines = Memo2->GetLines();
    if (lines->Count() == 0) {
        MessageDlg(MessageText(L"msg_no_objects"), mtInformation, {mbOK});
        Memo2->SetFocus();
        return;
    }
    Label11->SetVisible(false);
    BtnStop->SetEnabled(true);
    StringGrid1->ClearRows(1, StringGrid1->GetRowCount());
    AdvGaugeCircle1->SetVisible(true);
    AdvGaugeCircle1->SetPosition(0);
    StringGrid1->SetRowCount(lines->Count() + 1);

    // The run works on its own copy of the list, so editing the list while
    // it runs changes nothing of it.
    std::vector<String> names;
    names.reserve(static_cast<std::size_t>(lines->Count()));
    for (int i = 0; i < lines->Count(); ++i)
        names.push_back(lines->Get(i));
    const TInventoryTexts texts{MessageText(L"grid_wmi"), MessageText(L"grid_inst_kb_2003"),
                                MessageText(L"grid_inst_kb_XP")};
    if (!inventoryRun_) {
        inventoryView_ = std::make_unique<TInventoryView>(*this);
        inventoryRun_ = std::make_unique<TInventoryRun>(*inventoryView_, WmiClient);
    }
    inventoryRun_->Start(std::move(names), texts);
}

void TForm1::BtnStopClick(TObject*)
{
    CancelInventory();
}
