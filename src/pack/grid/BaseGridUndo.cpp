// Undo and redo of cell text changes, and the base cell checker.
#include "BaseGridUndo.h"
#include "BaseGrid.h"

TAdvGridUndoRedo::TAdvGridUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(New<TUndoRedoCollection>(this))
{
}

TAdvGridUndoRedo::~TAdvGridUndoRedo()
{
    if (FGrid && FGrid->GetUndoRedo() == this)
        FGrid->SetUndoRedo(nullptr);
}

void TAdvGridUndoRedo::SetGrid(TBaseGrid* Value)
{
    if (FGrid == Value)
        return;
    if (FGrid)
        FGrid->RemoveFreeNotification(this);
    FGrid = Value;
    if (FGrid)
        FGrid->FreeNotification(this);
}

void TAdvGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGrid)
        FGrid = nullptr;
}

void TAdvGridUndoRedo::AppendItem(int ACol, int ARow, const String& OldValue, const String& NewValue, bool Start,
                                  bool Stop)
{
    if (FMaxLevel > 0 && FItems->Count() >= FMaxLevel)
        FItems->Delete(0);
    auto* item = static_cast<TUndoRedoItem*>(FItems->Add());
    item->SetCol(ACol);
    item->SetRow(ARow);
    item->SetOrigValue(OldValue);
    item->SetValue(NewValue);
    item->SetSequenceStart(Start);
    item->SetSequenceStop(Stop);
    FLevel = FItems->Count();
}

void TAdvGridUndoRedo::RegisterChange(int ACol, int ARow, const String& OldValue, const String& NewValue)
{
    AppendItem(ACol, ARow, OldValue, NewValue, false, false);
}

void TAdvGridUndoRedo::StartSequence() { AppendItem(-1, -1, L"", L"", true, false); }

void TAdvGridUndoRedo::StopSequence() { AppendItem(-1, -1, L"", L"", false, true); }

void TAdvGridUndoRedo::Reset()
{
    FItems->Clear();
    FLevel = 0;
}

void TAdvGridUndoRedo::Apply(TUndoRedoItem* Item, bool Undoing)
{
    if (Item->IsMarker())
        return;
    const int col = Item->GetCol();
    const int row = Item->GetRow();
    // A change recorded for a cell the grid no longer has cannot be put back.
    if (col < 0 || row < 0 || col >= FGrid->TotalColCount() || row >= FGrid->GetRowCount())
        return;
    const String& text = Undoing ? Item->GetOrigValue() : Item->GetValue();
    const TAdvGridUndoRedoEvent& event = Undoing ? OnUndo : OnRedo;
    if (event)
        event(this, FGrid, col, row, FGrid->GetCellText(col, row), text);
    FGrid->SetCellText(col, row, text);
    const int displayCol = FGrid->DisplColIndex(col);
    if (displayCol >= 0 && displayCol < FGrid->GetColCount()) {
        FGrid->SetCol(displayCol);
        FGrid->SetRow(row);
    }
}

void TAdvGridUndoRedo::Undo()
{
    if (!FGrid || FLevel == 0 || FItems->Count() < FLevel)
        return;
    TUndoRedoItem* last = FItems->Item(FLevel - 1);
    if (last->GetSequenceStop()) {
        --FLevel;
        while (FLevel > 0 && !FItems->Item(FLevel - 1)->GetSequenceStart()) {
            Apply(FItems->Item(FLevel - 1), true);
            --FLevel;
        }
        if (FLevel > 0)
            --FLevel;
        FGrid->Invalidate();
        return;
    }
    Apply(last, true);
    --FLevel;
    if (!last->IsMarker())
        FGrid->RepaintCell(FGrid->GetCol(), last->GetRow());
}

void TAdvGridUndoRedo::Redo()
{
    if (!FGrid || FLevel >= FItems->Count())
        return;
    TUndoRedoItem* next = FItems->Item(FLevel);
    ++FLevel;
    if (next->GetSequenceStart()) {
        // Up to and past the stop marker; a sequence without one runs to the end.
        while (FLevel < FItems->Count()) {
            TUndoRedoItem* item = FItems->Item(FLevel);
            ++FLevel;
            if (item->GetSequenceStop())
                break;
            Apply(item, false);
        }
        FGrid->Invalidate();
        return;
    }
    Apply(next, false);
    if (!next->IsMarker())
        FGrid->RepaintCell(FGrid->GetCol(), FGrid->GetRow());
}

// --- the cell checker --------------------------------------------------------------------

String TAdvStringGridCheck::MarkError(int, int, const String& s)
{
    FLastResult = mrOk;
    return s;
}

String TAdvStringGridCheck::Correct(int, int, const String& s)
{
    FLastResult = mrOk;
    return s;
}

void TAdvStringGridCheck::SetGrid(TComponent* Value)
{
    if (FGrid == Value)
        return;
    if (FGrid)
        FGrid->RemoveFreeNotification(this);
    FGrid = Value;
    if (FGrid)
        FGrid->FreeNotification(this);
}

void TAdvStringGridCheck::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGrid)
        FGrid = nullptr;
}

// --- the grid's end ----------------------------------------------------------------------

void TBaseGrid::SetUndoRedo(TAdvGridUndoRedo* Value)
{
    if (FUndoRedo == Value)
        return;
    if (FUndoRedo) {
        FUndoRedo->RemoveFreeNotification(this);
        if (FUndoRedo->GetGrid() == this)
            FUndoRedo->SetGrid(nullptr);
    }
    FUndoRedo = Value;
    if (FUndoRedo) {
        FUndoRedo->FreeNotification(this);
        FUndoRedo->SetGrid(this);
    }
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FUndoRedo)
        FUndoRedo = nullptr;
}
