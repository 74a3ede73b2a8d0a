// The keyboard: moving the current cell with the arrows, pages, Home/End and
// Tab, extending a range with Shift, scrolling the view with Ctrl, opening
// and closing the editor with F2, Enter and typed characters; the mouse wheel.
#include "Grids.h"
#include <algorithm>

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool rowSelect = options_.Contains(goRowSelect);
    const int page = GetVisibleRowCount();
    const int maxTop = MaxFirst(vert_, LineWidthOf(false), ClientExtent(false));
    const int maxLeft = MaxFirst(horz_, LineWidthOf(true), ClientExtent(true));
    TGridCoord target = current_;
    int top = vert_.first;
    int left = horz_.first;
    bool moveAnchor = !(Shift.Contains(ssShift) && options_.Contains(goRangeSelect));

    switch (Key) {
    case VK_UP:
        ctrl ? --top : --target.Y;
        break;
    case VK_DOWN:
        ctrl ? ++top : ++target.Y;
        break;
    case VK_LEFT:
        (ctrl || rowSelect) ? --left : --target.X;
        break;
    case VK_RIGHT:
        (ctrl || rowSelect) ? ++left : ++target.X;
        break;
    case VK_PRIOR:
        if (ctrl) {
            target.Y = vert_.first;
        } else {
            top -= page;
            target.Y -= page;
        }
        break;
    case VK_NEXT:
        if (ctrl) {
            target.Y = vert_.first + page - 1;
        } else {
            top += page;
            target.Y += page;
        }
        break;
    case VK_HOME:
        if (ctrl || rowSelect)
            target.Y = vert_.fixed;
        if (!rowSelect)
            target.X = horz_.fixed;
        break;
    case VK_END:
        if (ctrl || rowSelect)
            target.Y = vert_.count - 1;
        if (!rowSelect)
            target.X = horz_.count - 1;
        break;
    case VK_TAB:
        if (!options_.Contains(goTabs) || Shift.Contains(ssAlt))
            return;
        moveAnchor = true;
        if (rowSelect) {
            Shift.Contains(ssShift) ? --target.Y : ++target.Y;
            break;
        }
        // Tab walks the row and wraps to the next one, and from the last cell to the first.
        if (!Shift.Contains(ssShift)) {
            if (++target.X >= horz_.count) {
                target.X = horz_.fixed;
                if (++target.Y >= vert_.count)
                    target.Y = vert_.fixed;
            }
        } else if (--target.X < horz_.fixed) {
            target.X = horz_.count - 1;
            if (--target.Y < vert_.fixed)
                target.Y = vert_.count - 1;
        }
        break;
    case VK_F2:
        SetEditorMode(true);
        return;
    default:
        return;
    }

    // The view moves first (pages, Ctrl), then the current cell, which scrolls itself into view.
    top = std::clamp(top, vert_.fixed, std::max(maxTop, vert_.fixed));
    left = std::clamp(left, horz_.fixed, std::max(maxLeft, horz_.fixed));
    if (top != vert_.first || left != horz_.first)
        MoveTopLeft(left, top);
    target.X = std::clamp(target.X, horz_.fixed, horz_.count - 1);
    target.Y = std::clamp(target.Y, vert_.fixed, vert_.count - 1);
    // A plain key also ends a range left by Shift, even where the cell cannot move.
    if (target != current_ || (moveAnchor && anchor_ != current_ && !rowSelect)) {
        MoveCurrent(target.X, target.Y, moveAnchor, true);
        UpdateEdit();
    }
}

void TCustomGrid::KeyPress(wchar_t& Key)
{
    TCustomControl::KeyPress(Key);
    if (Key == 0 || !options_.Contains(goEditing) || options_.Contains(goRowSelect))
        return;
    if (Key == L'\r') {
        if (options_.Contains(goAlwaysShowEditor))
            return;
        SetEditorMode(!editorMode_);
        Key = 0;
    } else if (Key >= L' ' && !editorMode_ && CanEditAcceptKey(Key)) {
        ShowEditorChar(Key);
        Key = 0;
    }
}

// One row a wheel step; the current row moves and the view follows it.
bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, POINT MousePos)
{
    if (TCustomControl::DoMouseWheelDown(Shift, MousePos))
        return true;
    if (current_.Y < vert_.count - 1)
        SetRow(current_.Y + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, POINT MousePos)
{
    if (TCustomControl::DoMouseWheelUp(Shift, MousePos))
        return true;
    if (current_.Y > vert_.fixed)
        SetRow(current_.Y - 1);
    return true;
}
