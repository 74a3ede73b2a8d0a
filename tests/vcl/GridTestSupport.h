// A string grid on a shown form, driven by real window messages, that writes
// down what the grid calls of its descendants.
#pragma once
#include <gtest/gtest.h>
#include "Forms.h"
#include "Grids.h"
#include "VclTestSupport.h"
#include <utility>
#include <vector>

namespace grid_test {

class TJournalGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;

    std::vector<TGridCoord> drawn;
    std::vector<TGridDrawState> drawnStates;
    std::vector<TGridCoord> selectAsked;
    std::vector<std::pair<int, int>> columnsMoved;
    std::vector<std::pair<int, int>> rowsMoved;
    std::vector<std::pair<int, int>> sizeChanges;
    int colWidthsChanged = 0;
    int rowHeightsChanged = 0;
    int topLeftChanged = 0;
    // A cell that SelectCell refuses.
    TGridCoord refuse{-1, -1};

    using TCustomGrid::BoxRect;
    using TCustomGrid::DeleteRow;
    using TCustomGrid::FocusCell;
    using TCustomGrid::InvalidateCell;
    using TCustomGrid::MoveColRow;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::MoveRow;
    using TCustomGrid::ShowEditorChar;
    TGridState State() const { return FGridState; }

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override
    {
        drawn.push_back({ACol, ARow});
        drawnStates.push_back(AState);
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
    bool SelectCell(int ACol, int ARow) override
    {
        selectAsked.push_back({ACol, ARow});
        if (refuse == TGridCoord{ACol, ARow})
            return false;
        return TStringGrid::SelectCell(ACol, ARow);
    }
    void ColumnMoved(int FromIndex, int ToIndex) override
    {
        columnsMoved.push_back({FromIndex, ToIndex});
        TStringGrid::ColumnMoved(FromIndex, ToIndex);
    }
    void RowMoved(int FromIndex, int ToIndex) override
    {
        rowsMoved.push_back({FromIndex, ToIndex});
        TStringGrid::RowMoved(FromIndex, ToIndex);
    }
    void SizeChanged(int OldColCount, int OldRowCount) override
    {
        sizeChanges.push_back({OldColCount, OldRowCount});
        TStringGrid::SizeChanged(OldColCount, OldRowCount);
    }
    void ColWidthsChanged() override
    {
        ++colWidthsChanged;
        TStringGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override
    {
        ++rowHeightsChanged;
        TStringGrid::RowHeightsChanged();
    }
    void TopLeftChanged() override
    {
        ++topLeftChanged;
        TStringGrid::TopLeftChanged();
    }
};

// Holds Shift and/or Ctrl down for this thread as the key handlers read them.
class THeldKeys {
public:
    explicit THeldKeys(bool shift, bool ctrl = false)
    {
        GetKeyboardState(saved_);
        BYTE now[256];
        std::copy(std::begin(saved_), std::end(saved_), now);
        if (shift)
            now[VK_SHIFT] = now[VK_LSHIFT] = 0x80;
        if (ctrl)
            now[VK_CONTROL] = now[VK_LCONTROL] = 0x80;
        SetKeyboardState(now);
    }
    ~THeldKeys() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256]{};
};

// A grid of 64 x 24 pixel cells with one-pixel lines, no border and no
// scroll bars, so that cell (c, r) of an unscrolled grid starts at
// (65 c, 25 r): fixed cells and scrolled views are easy to reach by pixel.
struct GridFixture : testing::Test {
    TForm* form = nullptr;
    TJournalGrid* grid = nullptr;

    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 600, 420);
        grid = New<TJournalGrid>(form);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetBounds(0, 0, 5 * 65, 8 * 25);
        grid->SetParent(form);
        form->Show();
        grid->SetFocus();
        vcl_test::Pump();
    }
    void TearDown() override
    {
        form->Free();
        vcl_test::Pump();
    }

    HWND Wnd() { return grid->GetHandle(); }
    // A point inside cell (c, r) of the unscrolled layout.
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    static LPARAM InCell(int c, int r) { return MAKELPARAM(65 * c + 20, 25 * r + 10); }

    void Press(LPARAM at, WPARAM keys = 0) { SendMessageW(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at); }
    void Drag(LPARAM at, WPARAM keys = 0) { SendMessageW(Wnd(), WM_MOUSEMOVE, MK_LBUTTON | keys, at); }
    void Release(LPARAM at, WPARAM keys = 0) { SendMessageW(Wnd(), WM_LBUTTONUP, keys, at); }
    void Click(LPARAM at, WPARAM keys = 0)
    {
        Press(at, keys);
        Release(at, keys);
    }
    void Key(HWND wnd, WPARAM vk)
    {
        SendMessageW(wnd, WM_KEYDOWN, vk, 1);
        SendMessageW(wnd, WM_KEYUP, vk, 0xC0000001);
    }
    void Key(WPARAM vk) { Key(Wnd(), vk); }
    void Char(HWND wnd, wchar_t ch) { SendMessageW(wnd, WM_CHAR, ch, 1); }
    // Repaints the whole client now and returns the cells DrawCell saw.
    std::vector<TGridCoord> PaintAll()
    {
        grid->drawn.clear();
        grid->drawnStates.clear();
        RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return grid->drawn;
    }
};

} // namespace grid_test

inline std::ostream& operator<<(std::ostream& os, const TGridCoord& c)
{
    return os << "(" << c.X << "," << c.Y << ")";
}
