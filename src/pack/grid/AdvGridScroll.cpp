// Scroll messages: the hint that names the row or column a dragged thumb
// reaches, and scrolling along while the thumb moves.
#include "AdvGrid.h"
#include <algorithm>

namespace {

constexpr int HintMaxWidth = 100;

} // namespace

int TAdvStringGrid::ThumbTarget(bool Vertical, int Pos)
{
    // The thumb's range is 0 .. 127 over the rows (columns) that can scroll.
    if (Vertical)
        return MulDiv(Pos, std::max(GetRowCount() - GetVisibleRowCount() - GetFixedRows(), 0), 127) +
               GetFixedRows();
    return MulDiv(Pos, std::max(GetColCount() - GetVisibleColCount() - GetFixedCols(), 0), 127) + GetFixedCols();
}

void TAdvStringGrid::HideScrollHint()
{
    if (FScrollHintWnd && FScrollHintShow && FScrollHintWnd->HandleAllocated())
        ShowWindow(FScrollHintWnd->GetHandle(), SW_HIDE);
    FScrollHintShow = false;
}

void TAdvStringGrid::ShowScrollHint(const String& Text)
{
    if (!FScrollHintWnd)
        FScrollHintWnd = New<THTMLHintWindow>(this);
    FScrollHintWnd->SetColor(FHintColor);
    POINT mouse{};
    GetCursorPos(&mouse);
    RECT r = FScrollHintWnd->CalcHintRect(HintMaxWidth, Text, nullptr);
    OffsetRect(&r, mouse.x + 10, mouse.y);
    FScrollHintWnd->ActivateHint(r, Text);
    FScrollHintShow = true;
    FScrollHintText = Text;
}

void TAdvStringGrid::ScrollHintAndSynch(TMessage& Message)
{
    const bool vertical = Message.Msg == WM_VSCROLL;
    const int code = LOWORD(Message.WParam);
    const int pos = static_cast<short>(HIWORD(Message.WParam));
    const bool hints = vertical ? (FScrollHints == shVertical || FScrollHints == shBoth)
                                : (FScrollHints == shHorizontal || FScrollHints == shBoth);
    if (hints) {
        if (code == SB_ENDSCROLL) {
            HideScrollHint();
        } else if (code == SB_THUMBTRACK) {
            const int target = ThumbTarget(vertical, pos);
            String text = (vertical ? L"Row : " : L"Col : ") + IntToStr(target);
            if (OnScrollHint)
                OnScrollHint(this, target, text);
            ShowScrollHint(text);
        }
    }
    if (code == SB_THUMBTRACK && FScrollSynch) {
        if (vertical)
            SetTopRow(std::clamp(ThumbTarget(true, pos), GetFixedRows(), std::max(GetRowCount() - 1, GetFixedRows())));
        else
            SetLeftCol(
                std::clamp(ThumbTarget(false, pos), GetFixedCols(), std::max(GetColCount() - 1, GetFixedCols())));
    }
}
