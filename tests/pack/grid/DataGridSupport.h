// Grids for the data grid's tests: every cell holds the name of the cell it
// was written to, so that any move of a text shows.
#pragma once

#include "AdvGrid.h"
#include "Forms.h"
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace datagrid_test {

// One value of a table of settings: a number (flags, colours, kinds) or a text.
using Value = std::variant<Int64, String>;

template <class T>
Value V(T v)
{
    if constexpr (std::is_convertible_v<T, String>)
        return String(v);
    else
        return static_cast<Int64>(v);
}

inline String CellName(int col, int row)
{
    return L"r" + std::to_wstring(row) + L"c" + std::to_wstring(col);
}

template <class Grid>
void Fill(Grid* grid)
{
    for (int r = 0; r < grid->GetRowCount(); ++r)
        for (int c = 0; c < grid->GetColCount(); ++c)
            grid->SetCells(c, r, CellName(c, r));
}

// A grid of the given size filled with cell names, freed at the end of the test.
template <class Grid = TAdvStringGrid>
struct TFilledGrid {
    Grid* grid = nullptr;
    TFilledGrid(int cols, int rows)
    {
        grid = New<Grid>(nullptr);
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        Fill(grid);
    }
    ~TFilledGrid() { grid->Free(); }
    TFilledGrid(const TFilledGrid&) = delete;
    TFilledGrid& operator=(const TFilledGrid&) = delete;
    Grid* operator->() const { return grid; }
};

// The same grid on a shown form, for geometry, keys and scrolling.
template <class Grid = TAdvStringGrid, class Form = TForm>
struct TShownGrid {
    Form* form = nullptr;
    Grid* grid = nullptr;
    TShownGrid(int cols, int rows)
    {
        form = New<Form>(nullptr);
        form->SetBounds(0, 0, 640, 400);
        grid = New<Grid>(form);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 600, 300);
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        Fill(grid);
        form->Show();
        Application->ProcessMessages();
    }
    ~TShownGrid() { form->Free(); }
    TShownGrid(const TShownGrid&) = delete;
    TShownGrid& operator=(const TShownGrid&) = delete;
    Grid* operator->() const { return grid; }
};

// The texts of one storage column down the displayed rows.
inline std::vector<String> ColumnTexts(TStringGrid* grid, int col)
{
    std::vector<String> texts;
    for (int r = 0; r < grid->GetRowCount(); ++r)
        texts.push_back(grid->GetCells(col, r));
    return texts;
}

// The names of column c's cells for the given rows.
inline std::vector<String> Names(int col, const std::vector<int>& rows)
{
    std::vector<String> names;
    for (int r : rows)
        names.push_back(r < 0 ? String() : CellName(col, r));
    return names;
}

} // namespace datagrid_test
