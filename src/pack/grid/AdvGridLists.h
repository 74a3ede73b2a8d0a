// The data grid's bookkeeping lists: integer lists that report their
// changes, the sort index, cell controls, file lists and file pictures.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"

class TStringGrid;


// A list change reported with the cell the list belongs to.
using TImageChangeEvent = std::function<void(TObject* Sender, int Acol, int Arow)>;

// A list of 32-bit integers. Add, Delete and writes through SetItem report
// the change with the column and row given at creation; the positional and
// the sorted Insert into a non-empty list stay quiet.
class TIntList : public TList {
public:
    TIntList(int Col, int Row) : col_(Col), row_(Row) {}

    Integer GetItem(int Index) const;
    void SetItem(int Index, Integer Value);
    Integer operator[](int Index) const { return GetItem(Index); }

    int Add(Integer Value);
    void Delete(int Index);
    void Insert(int Index, Integer Value);
    // Inserts into a list kept ascending, before an equal item.
    void Insert(Integer Value);
    // Deletes the first item equal to Value, if any.
    void DeleteValue(Integer Value);
    bool HasValue(Integer Value) const;

    // Binary search of an ascending list; -1 when absent.
    int SortedIndexOf(Integer Value) const;
    // Where Value belongs in an ascending list.
    int SortedPosOf(Integer Value) const;

    // The items as "1,2,3". Writing takes the comma-text rules (commas and
    // spaces separate, double quotes group); an item that is no integer
    // raises EConvertError and leaves the list as it was.
    String GetStrValue() const;
    void SetStrValue(const String& Value);

    int GetCol() const { return col_; }
    int GetRow() const { return row_; }

    TImageChangeEvent OnChange;

private:
    void Changed();
    // Binary search of an ascending list: the index of Value or -1, and the
    // last position looked at.
    int Search(Integer Value, int& LastProbe) const;

    int col_ = 0;
    int row_ = 0;
};

// The sort columns in order of precedence. An item is a column index with
// bit 31 set for a descending column.
class TSortIndexList : public TIntList {
public:
    TSortIndexList(int Col, int Row) : TIntList(Col, Row) {}

    void AddIndex(int ColumnIndex, bool Ascending);
    // Position of the column, whatever its direction; -1 when absent.
    int FindIndex(int ColumnIndex) const;
    int GetColumn(int Index) const;
    bool GetAscending(int Index) const;
    // Flips the direction of the column's first item.
    void ToggleIndex(int ColumnIndex);

    // "u2;d5": direction letter and the column's low 16 bits, per item.
    String SaveToString() const;
    // Reads that text; items shorter than two characters are skipped and a
    // malformed number reads as 0.
    void LoadFromString(const String& s);
};

// A control placed in a cell.
class TControlItem : public TObject {
public:
    TControlItem(int X, int Y, TControl* AObject) : x_(X), y_(Y), control_(AObject) {}
    int GetX() const { return x_; }
    int GetY() const { return y_; }
    TControl* GetControl() const { return control_; }

private:
    int x_ = 0;
    int y_ = 0;
    TControl* control_ = nullptr;
};

// The controls placed in cells. The list owns its items, not the controls.
class TControlList : public TList {
public:
    ~TControlList() override;

    void AddControl(int X, int Y, TControl* AObject);
    int ControlIndex(int X, int Y) const;
    // Whether one of the controls is a windowed control with this window.
    // Controls whose window does not exist yet are not asked for one.
    bool HasHandle(HWND Handle) const;
    void RemoveControl(int i);
    TControlItem* GetItem(int Index) const { return static_cast<TControlItem*>(Get(Index)); }
};

// A string list read and written line by line like a text file.
class TFileStringList : public TStringList {
public:
    void Reset();
    bool GetEof() const { return fp_ >= Count(); }
    // Reads the next line; at the end it raises EStringListError.
    void ReadLn(String& s);
    // Text for the line that WriteLn ends.
    void Write(const String& s);
    void WriteLn(const String& s);

private:
    int fp_ = 0;
    String cache_;
};

// A picture known by its file name only: the file is read whenever the
// picture is measured or drawn, and nothing is kept in memory.
class TFilePicture : public TPersistent {
public:
    void Assign(TPersistent* Source) override;

    const String& GetFilename() const { return filename_; }
    // Takes the picture's size when the file can be read; a file that cannot
    // be read keeps the size as it was.
    void SetFilename(const String& Value);
    int GetWidth() const { return width_; }
    void SetWidth(int Value) { width_ = Value; }
    int GetHeight() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }

    // Stretches the file's picture into r; a missing or unreadable file
    // draws nothing.
    void DrawPicture(TCanvas* Canvas, const TRect& r);

private:
    String filename_;
    int width_ = 0;
    int height_ = 0;
};
