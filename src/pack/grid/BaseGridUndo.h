// Components that attach to a grid: the history of cell text changes that
// can be undone and redone, singly or as marked sequences, and the base of
// the cell checkers that mark or correct cell texts.
//
// The history keeps undone changes: a change registered after undoing goes
// after them, and Level is the number of items applied (items 0 .. Level-1
// applied, Level .. count-1 undone), always within 0 .. count. Sequence
// markers are items of their own (Col and Row -1) that never touch a cell.
#pragma once

#include "Classes.h"
#include "Forms.h"
#include <functional>

class TBaseGrid;

class TUndoRedoItem : public TCollectionItem {
public:
    explicit TUndoRedoItem(TCollection* Collection) : TCollectionItem(Collection) {}

    int GetRow() const { return FRow; }
    void SetRow(int Value) { FRow = Value; }
    int GetCol() const { return FCol; }
    void SetCol(int Value) { FCol = Value; }
    const String& GetValue() const { return FValue; }
    void SetValue(const String& Value) { FValue = Value; }
    const String& GetOrigValue() const { return FOrigValue; }
    void SetOrigValue(const String& Value) { FOrigValue = Value; }
    bool GetSequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool Value) { FSequenceStart = Value; }
    bool GetSequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool Value) { FSequenceStop = Value; }
    bool IsMarker() const { return FSequenceStart || FSequenceStop; }

private:
    int FRow = 0;
    int FCol = 0;
    String FValue;
    String FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

class TUndoRedoCollection : public TCollection {
public:
    explicit TUndoRedoCollection(TPersistent* Owner) : TCollection(ItemClass<TUndoRedoItem>(), Owner) {}
    TUndoRedoItem* Item(int Index) const { return static_cast<TUndoRedoItem*>(GetItem(Index)); }
};

using TAdvGridUndoRedoEvent = std::function<void(TObject* Sender, TBaseGrid* Grid, int Col, int Row,
                                                 const String& OrigValue, const String& NewValue)>;

class TAdvGridUndoRedo : public TComponent {
public:
    explicit TAdvGridUndoRedo(TComponent* AOwner);
    ~TAdvGridUndoRedo() override;

    // Appends a change (MaxLevel drops the oldest item first); Level becomes the count.
    virtual void RegisterChange(int ACol, int ARow, const String& OldValue, const String& NewValue);
    virtual void StartSequence();
    virtual void StopSequence();
    // Nothing without a grid or with nothing to undo (redo).
    void Undo();
    void Redo();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }
    void Reset();

    TUndoRedoCollection* GetItems() const { return FItems.get(); }
    TBaseGrid* GetGrid() const { return FGrid; }
    // The grid's UndoRedo setter sets it.
    void SetGrid(TBaseGrid* Value);
    int GetLevel() const { return FLevel; }
    int GetMaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(int Value) { FMaxLevel = Value; }

    TAdvGridUndoRedoEvent OnUndo;
    TAdvGridUndoRedoEvent OnRedo;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AppendItem(int ACol, int ARow, const String& OldValue, const String& NewValue, bool Start, bool Stop);
    // Writes the item's old (Undoing) or new text into its cell.
    void Apply(TUndoRedoItem* Item, bool Undoing);

    TOwned<TUndoRedoCollection> FItems;
    TBaseGrid* FGrid = nullptr;
    int FLevel = 0;
    int FMaxLevel = 0;
};

// The base of cell checkers: it passes every text and changes nothing.
class TAdvStringGridCheck : public TComponent {
public:
    explicit TAdvStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}

    virtual String MarkError(int ACol, int ARow, const String& s);
    virtual String Correct(int ACol, int ARow, const String& s);
    virtual void StartCheck() {}
    virtual void StopCheck() {}

    bool GetGotoCell() const { return FGotoCell; }
    void SetGotoCell(bool Value) { FGotoCell = Value; }
    bool GetAutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool Value) { FAutoCorrect = Value; }
    bool GetAutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool Value) { FAutoMarkError = Value; }
    bool GetUseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool Value) { FUseCorrect = Value; }
    bool GetUseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool Value) { FUseMarkError = Value; }
    // Cleared when that component is freed.
    TComponent* GetGrid() const { return FGrid; }
    void SetGrid(TComponent* Value);
    TModalResult GetLastResult() const { return FLastResult; }
    void SetLastResult(TModalResult Value) { FLastResult = Value; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
    TComponent* FGrid = nullptr;
    TModalResult FLastResult = mrOk;
};
