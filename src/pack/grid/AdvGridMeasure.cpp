// Measuring a cell's text as the painter would draw it: plain, multi-line,
// marked-up, rich and rotated texts, in the cell's resolved font. Automatic
// column and row sizes and the hint logic size themselves through here.
//
// A rotated text takes the bounding box of its turned rectangle, so the
// projections of width and height add up: a 100 x 20 text at 45 degrees
// needs about 85 pixels across, not the difference of the two projections.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "ComCtrls.h"
#include "GdiHandles.h"
#include "GridHTML.h"
#include <richedit.h>
#include <algorithm>
#include <cmath>

namespace {

// The rich edit that reports the size its text needs: the control asks its
// parent with EN_REQUESTRESIZE, which comes back here reflected.
class TMeasureRichEdit : public TRichEdit {
public:
    using TRichEdit::TRichEdit;
    SIZE Required{};
    bool Answered = false;

protected:
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == CN_NOTIFY) {
            const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
            if (header && header->code == EN_REQUESTRESIZE) {
                const auto* request = reinterpret_cast<const REQRESIZE*>(Message.LParam);
                Required = {request->rc.right - request->rc.left, request->rc.bottom - request->rc.top};
                Answered = true;
                Message.Result = 0;
                return;
            }
        }
        TRichEdit::Dispatch(Message);
    }
};

constexpr int Unbounded = 65535;

} // namespace

TSize RotatedTextExtent(TSize Size, int Angle)
{
    const double a = Angle * 3.14159265358979323846 / 180.0;
    const int wc = std::abs(static_cast<int>(Size.cx * std::cos(a)));
    const int ws = std::abs(static_cast<int>(Size.cx * std::sin(a)));
    const int hc = std::abs(static_cast<int>(Size.cy * std::cos(a)));
    const int hs = std::abs(static_cast<int>(Size.cy * std::sin(a)));
    return {wc + hs + 12, ws + hc + 12};
}

TCanvas* TAdvStringGrid::MeasureCanvas()
{
    if (!FMeasureBitmap) {
        FMeasureBitmap.reset(New<TBitmap>());
        FMeasureBitmap->SetPixelFormat(pf32bit);
        FMeasureBitmap->SetSize(1, 1);
    }
    return FMeasureBitmap->GetCanvas();
}

TRichEdit* TAdvStringGrid::MeasureRichEdit()
{
    if (!FMeasureRichEdit && GetParent()) {
        FMeasureRichEdit = New<TMeasureRichEdit>(this);
        FMeasureRichEdit->SetVisible(false);
        FMeasureRichEdit->SetBorderStyle(bsNone);
        FMeasureRichEdit->SetParent(GetParent());
    }
    return FMeasureRichEdit;
}

TSize TAdvStringGrid::GetCellTextSize(int ACol, int ARow, bool VS, bool SB)
{
    TSize size{0, 0};
    CalcCellTextExtent(ACol, DisplColIndex(ACol), size, SB, VS, false, ARow);
    return size;
}

void TAdvStringGrid::CalcCellTextExtent(int ACol, int DCol, TSize& Size, bool SB, bool VS, bool Unlimited, int ARow)
{
    Size = {0, 0};
    const bool editingHere = GetEditorMode() && RealColIndex(GetCol()) == ACol && GetRow() == ARow;
    String text;
    if (editingHere && InplaceEditor())
        text = InplaceEditor()->GetText();
    else
        FormatCellText(ACol, ARow, text);

    const Byte kind = ClassifyCellText(text, FEnableHTML);
    TCanvas* canvas = MeasureCanvas();
    TFont* font = canvas->GetFont();
    TOwned<TBrush> brush(New<TBrush>());
    GetFontProperties(DCol, ACol, ARow, TGridDrawState{}, font, brush.get(), true);
    if ((ARow < GetFixedRows() || DCol < GetFixedCols()) && FActiveCellShow &&
        FActiveCellFont->GetStyle().Contains(fsBold)) {
        TFontStyles style = font->GetStyle();
        style.Include(fsBold);
        font->SetStyle(style);
    }
    if (FZoomFactor != 0) {
        const int size = font->GetSize() + FZoomFactor;
        font->SetSize(size == 0 ? 1 : size);
    }

    // The cell's own extent, not its place on screen: a cell scrolled out of
    // view measures as one in view.
    TRect R(0, 0, DCol >= 0 && DCol < GetColCount() ? GetColWidths(DCol) : 0,
            ARow >= 0 && ARow < GetRowCount() ? GetRowHeights(ARow) : 0);
    if (FXYOffsetTopLeftOnly) {
        R.left += FXYOffset.x;
        R.top += FXYOffset.y;
    } else {
        R.left += FXYOffset.x;
        R.top += FXYOffset.y;
        R.right -= FXYOffset.x;
        R.bottom -= FXYOffset.y;
    }
    if (SB)
        R.right -= 17;

    if (kind == 1) {
        if (Unlimited)
            R.right = Unbounded;
        R.bottom = Unbounded;
        String anchor, strip, focusAnchor, hint, controlID, controlValue, controlType;
        int xsize = 0, ysize = 0, links = 0, mouseLink = 0;
        TRect hoverRect, controlRect;
        GridHTMLDraw(canvas, text, R, GetCellImageList(ACol, ARow), 0, 0, -1, -1, 1, false, true, false, false,
                     false, false, !FEnhTextSize, false, L"", 0.0, FURLColor, clNone, clNone, 0x808080, anchor, strip,
                     focusAnchor, hint, xsize, ysize, links, mouseLink, hoverRect, controlRect, controlID,
                     controlValue, controlType, FImageCache.get(), nullptr, nullptr, GetBiDiMode());
        Size = {xsize + 2, ysize + 2};
        return;
    }

    auto* rich = kind == 2 && !DesignTime() ? static_cast<TMeasureRichEdit*>(MeasureRichEdit()) : nullptr;
    if (rich) {
        rich->Clear();
        rich->SetBounds(0, 0, 0, 0);
        rich->SetWordWrap(false);
        CellToRich(ACol, ARow, rich);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        SendMessageW(rich->GetHandle(), EM_SETSEL, 0, 0);
        SendMessageW(rich->GetHandle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        if (format.szFaceName[0])
            font->SetName(format.szFaceName);
        if (format.yHeight > 0)
            font->SetSize(static_cast<int>(format.yHeight / 20));
        TFontStyles style;
        if (format.dwEffects & CFE_BOLD)
            style.Include(fsBold);
        if (format.dwEffects & CFE_ITALIC)
            style.Include(fsItalic);
        if (format.dwEffects & CFE_UNDERLINE)
            style.Include(fsUnderline);
        font->SetStyle(style);
        text = rich->GetText();
    }

    int angle = 0;
    const bool rotated = IsRotated(ACol, ARow, angle);

    HDC dc = canvas->GetHandle();
    const TSelectObject selected(dc, font->GetHandle());
    if (VS) {
        if (editingHere && !text.empty() && text.back() == L'\n')
            text += L"w";
        if (Unlimited)
            R.right = Unbounded;
        if (!text.empty()) {
            RECT calc = R;
            UINT flags = DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;
            flags |= rotated ? DT_SINGLELINE : DT_WORDBREAK;
            DRAWTEXTPARAMS params{};
            params.cbSize = sizeof(params);
            const int height = DrawTextExW(dc, text.data(), static_cast<int>(text.size()), &calc, flags, &params);
            Size = {calc.right - calc.left, height};
        }
    } else if (!text.empty()) {
        const bool stripURL = kind == 0 && FURLShow && !FURLFull;
        String rest = text;
        int lines = 0;
        int widest = 0;
        SIZE extent{};
        do {
            String line;
            if (FMultilineCells)
                TakeFirstLine(rest, true, line);
            else
                line = std::exchange(rest, String());
            if (stripURL)
                StripURLScheme(line);
            GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
            widest = std::max(widest, static_cast<int>(extent.cx));
            ++lines;
        } while (!rest.empty());
        GetTextExtentPoint32W(dc, L"gh", 2, &extent);
        Size = {widest, extent.cy * lines};
    }

    if (rotated)
        Size = RotatedTextExtent(Size, angle);

    if (rich) {
        rich->SetBounds(0, 0, R.right - R.left, R.bottom - R.top);
        rich->SetWordWrap(true);
        rich->SetWordWrap(false);
        rich->SetWordWrap(GetWordWrap());
        rich->Answered = false;
        HWND edit = rich->GetHandle();
        SendMessageW(edit, EM_SETEVENTMASK, 0, SendMessageW(edit, EM_GETEVENTMASK, 0, 0) | ENM_REQUESTRESIZE);
        SendMessageW(edit, EM_REQUESTRESIZE, 0, 0);
        if (rich->Answered)
            Size = {rich->Required.cx, rich->Required.cy + 4};
    }
}
