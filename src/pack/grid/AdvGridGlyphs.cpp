// Cell graphics and the glyphs the grid shares: where a graphic sits in its
// cell, how much room it takes from the text, and how each kind, check box,
// radio button, node and sort indicator is drawn. Values read from a cell
// text for drawing (progress, ratings, data images) never raise: a text that
// is no number draws as 0.
#include "AdvGrid.h"
#include "AdvGridLists.h"
#include "AdvUtil.h"
#include "AdvXPVS.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <vsstyle.h>

namespace {

// A bitmap resource of the program drawn with its bottom-left colour see-through.
void DrawGlyphResource(TCanvas* Canvas, const wchar_t* Name, int X, int Y)
{
    if (!FindResourceW(HInstance(), Name, reinterpret_cast<LPCWSTR>(RT_BITMAP)))
        return;
    TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->LoadFromResourceName(HInstance(), Name);
    glyph->SetTransparent(true);
    Canvas->Draw(X, Y, glyph.get());
}

void DrawGlyphBitmap(TCanvas* Canvas, TBitmap* Glyph, int X, int Y)
{
    if (!Glyph || Glyph->GetEmpty())
        return;
    const bool wasTransparent = Glyph->GetTransparent();
    Glyph->SetTransparent(true);
    Canvas->Draw(X, Y, Glyph);
    Glyph->SetTransparent(wasTransparent);
}

// A cell's number for drawing: 0 for a text that is none.
double CellNumber(const String& Text)
{
    double value = 0;
    return TryStrToFloat(Trim(Text), value) ? value : 0;
}

// The colours that ride in a graphic's object slots.
TColor SlotColor(const void* Slot) { return static_cast<TColor>(reinterpret_cast<intptr_t>(Slot)); }

int ClampPercent(double Value) { return static_cast<int>(std::clamp(Value, 0.0, 100.0)); }

bool IsCheckKind(TCellType Kind)
{
    return Kind == ctCheckBox || Kind == ctDataCheckBox || Kind == ctVirtCheckBox || Kind == ctRowCheckBox ||
           Kind == ctRadioButton || Kind == ctTriStateCheckBox;
}

} // namespace

TCellGraphic* TAdvStringGrid::GetCellGraphicLayout(int ACol, int ARow, int& Width, int& Height, bool& ShowText,
                                                   TCellHAlign& HAlign, TCellVAlign& VAlign)
{
    Width = 0;
    Height = 0;
    ShowText = true;
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic)
        return nullptr;
    HAlign = graphic->GetCellHAlign();
    VAlign = graphic->GetCellVAlign();
    const int check = FControlLook->GetCheckSize();
    TCustomImageList* images = GetCellImageList(ACol, ARow);
    switch (graphic->GetCellType()) {
    case ctBitmap:
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic->GetCellBitmap())) {
            Width = bitmap->GetWidth();
            Height = bitmap->GetHeight();
        }
        break;
    case ctIcon:
        if (TIcon* icon = graphic->GetCellIcon()) {
            Width = icon->GetWidth();
            Height = icon->GetHeight();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (images) {
            Width = images->GetWidth();
            Height = images->GetHeight();
        }
        ShowText = graphic->GetCellType() == ctImageList;
        break;
    case ctCheckBox:
    case ctTriStateCheckBox:
        Width = Height = check;
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
        Width = Height = check;
        ShowText = false;
        break;
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
        ShowText = false;
        break;
    case ctImages:
        if (images) {
            const auto* list = dynamic_cast<TIntList*>(graphic->GetCellBitmap());
            const int count = list ? list->Count() : 0;
            Width = graphic->GetCellBoolean() ? count * images->GetWidth() : images->GetWidth();
            Height = graphic->GetCellBoolean() ? images->GetHeight() : count * images->GetHeight();
        }
        break;
    case ctPicture:
    case ctFilePicture: {
        TPoint size(0, 0);
        const int col = DisplColIndex(ACol);
        graphic->GetPictureSize(col >= 0 && col < GetColCount() ? GetColWidths(col) : 0, GetRowHeights(ARow),
                                !GetCellText(ACol, ARow).empty(), size);
        Width = size.x;
        Height = size.y;
        break;
    }
    case ctButton:
    case ctBitButton:
        Width = graphic->GetCellIndex() & 0xFFFF;
        Height = (graphic->GetCellIndex() >> 16) & 0xFFFF;
        break;
    case ctProgressPie:
        Width = Height = 20;
        break;
    case ctInterface:
        if (auto* object = dynamic_cast<TInterfacedPersistent*>(graphic->GetCellBitmap())) {
            const TSize size = object->GetCellSize();
            Width = size.cx;
            Height = size.cy;
        }
        break;
    case ctRadioButton:
        Width = Height = FControlLook->GetRadioSize() + 4;
        break;
    case ctShape:
        Width = Height = GetRowHeights(ARow) - 2 * FXYOffset.y;
        break;
    case ctRating:
        Width = graphic->GetCellAngle() * 18;
        Height = 16;
        ShowText = false;
        break;
    default:
        break;
    }
    return graphic;
}

void TAdvStringGrid::DrawCheckBox(TCanvas* Canvas, const TRect& Rect, bool Checked, TCheckBoxState TriState,
                                  bool IsTriState, AdvGrid::TControlStyle Style, bool Grayed, bool Enabled)
{
    if (FControlLook->GetNoDisabledCheckRadioLook() || FControlLook->GetCheckAlwaysActive())
        Enabled = true;
    if (IsTriState) {
        Checked = TriState == cbChecked;
        Grayed = TriState == cbGrayed;
    }
    const int size = FControlLook->GetCheckSize();
    const int x = Rect.left;
    const int y = Rect.top;
    switch (Style) {
    case csWinXP:
    case csPack: {
        static constexpr const wchar_t* names[2][4] = {
            {L"ASGCHK05", L"ASGCHK07", L"ASGCHK06", L"ASGCHK08"},
            {L"ASGCHK01", L"ASGCHK03", L"ASGCHK02", L"ASGCHK04"}};
        const int index = (Checked ? 0 : 2) + (Enabled ? 0 : 1);
        DrawGlyphResource(Canvas, names[Style == csPack][index], x, y);
        return;
    }
    case csBorland: {
        const int right = x + size;
        const int bottom = y + size;
        TBrush* brush = Canvas->GetBrush();
        TPen* pen = Canvas->GetPen();
        brush->SetColor(Enabled ? clBtnFace : clBtnShadow);
        pen->SetColor(clBtnFace);
        Canvas->Rectangle(x, y, right, bottom);
        pen->SetColor(clBtnHighlight);
        Canvas->MoveTo(x, bottom - 1);
        Canvas->LineTo(x, y);
        Canvas->LineTo(right - 1, y);
        pen->SetColor(clBtnShadow);
        Canvas->LineTo(right - 1, bottom - 1);
        Canvas->LineTo(x, bottom - 1);
        if (Checked) {
            pen->SetColor(Enabled ? FControlLook->GetColor() : TColor(0x808080));
            const int mid = y - 1 + size / 2;
            Canvas->MoveTo(x + 2, mid);
            Canvas->LineTo(x + 2, bottom - 2);
            Canvas->MoveTo(x + 3, mid);
            Canvas->LineTo(x + 3, bottom - 3);
            Canvas->MoveTo(x + 2, bottom - 2);
            Canvas->LineTo(right - 2, y + 2);
            Canvas->MoveTo(x + 3, bottom - 2);
            Canvas->LineTo(right - 1, y + 2);
        }
        return;
    }
    case csGlyph:
        DrawGlyphBitmap(Canvas, Checked ? FControlLook->GetCheckedGlyph() : FControlLook->GetUnCheckedGlyph(), x, y);
        return;
    case csTheme: {
        const AdvXPVS::TThemeData theme(FIsWinXP, HandleAllocated() ? GetHandle() : nullptr, L"button");
        const int state = Grayed ? (Enabled ? 9 : 12) : Checked ? (Enabled ? 5 : 8) : (Enabled ? 1 : 4);
        if (theme.Draw(Canvas->GetHandle(), BP_CHECKBOX, state, TRect(x, y, x + size, y + size)))
            return;
        [[fallthrough]];
    }
    default: {
        // Classic and flat boxes: the platform's own, centred in the rectangle.
        TRect box(0, 0, size, size);
        OffsetRect(&box, Rect.left + (Rect.right - Rect.left - size) / 2,
                   Rect.top + (Rect.bottom - Rect.top - size) / 2);
        if (UseRightToLeftAlignment() && HandleAllocated()) {
            const int width = GetClientWidth();
            box = TRect(width - box.right, box.top, width - box.left, box.bottom);
        }
        UINT flags = DFCS_BUTTONCHECK;
        if (Checked)
            flags |= DFCS_CHECKED;
        if (Grayed)
            flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        if (Style == csFlat)
            flags |= DFCS_FLAT;
        if (!Enabled)
            flags |= DFCS_INACTIVE;
        RECT r = box;
        DrawFrameControl(Canvas->GetHandle(), &r, DFC_BUTTON, flags);
        return;
    }
    }
}

void TAdvStringGrid::DrawRadioGroup(TCanvas* Canvas, const TRect& R, bool Upward, double Scale,
                                    AdvGrid::TControlStyle Style, int ARow, int ACol, bool Selected, TStrings* Items,
                                    bool Disabled, bool Horizontal, int CheckedIndex, int Count)
{
    if (FControlLook->GetNoDisabledCheckRadioLook() || FControlLook->GetRadioAlwaysActive())
        Disabled = false;
    const String cellText = GetCellText(ACol, ARow);
    const TColor oldFont = Canvas->GetFont()->GetColor();
    if (Selected && IsSelectionShown() && FSelectionTextColor != clNone)
        Canvas->GetFont()->SetColor(FSelectionTextColor);
    const AdvXPVS::TThemeData theme(Style == csTheme && FIsWinXP, HandleAllocated() ? GetHandle() : nullptr,
                                    L"button");
    const bool classic = Style == csClassic || Style == csFlat || (Style == csTheme && !theme);
    const int radio = FControlLook->GetRadioSize();
    const int glyph = classic ? static_cast<int>(radio * Scale) + (Style == csFlat ? 2 : 0) : 16;
    const int textHeight = Canvas->TextHeight(L"gh");
    const int lineHeight = classic ? textHeight : std::max(16, textHeight);
    const bool bitmapStyle = Style == csWinXP || Style == csPack || Style == csGlyph;
    HDC dc = Canvas->GetHandle();
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    int captions = 0;
    for (int i = 1; i <= Count; ++i) {
        const String caption = Items && i - 1 < Items->Count() ? Items->Get(i - 1) : String();
        // A lone radio button has neither item text nor cell text: it is
        // checked only by its index.
        const bool checked = i == CheckedIndex + 1 || (CheckedIndex == -1 && !caption.empty() && caption == cellText);
        int x = 0, y = 0, textX = 0, textY = 0;
        if (Horizontal) {
            x = classic ? R.left + (i - 1) * radio + captions + 2 : R.left + captions + 16 * i - 14;
            y = R.top + (R.bottom - R.top - (classic ? radio : 16)) / 2;
            textX = x + (classic ? static_cast<int>(radio * Scale) : 16);
            textY = classic ? y - 2 : y;
            captions += Canvas->TextWidth(caption);
        } else {
            const int line = (i - 1) * lineHeight;
            y = Upward ? R.bottom - line - lineHeight : R.top + line;
            if (caption.empty())
                x = R.left + (R.right - R.left - glyph) / 2;
            else
                x = R.left + 2;
            textX = classic ? R.left + 2 + static_cast<int>((radio + 4) * Scale)
                            : R.left + (bitmapStyle ? 18 : 20);
            textY = bitmapStyle ? y + 1 : y;
        }
        switch (Style) {
        case csBorland: {
            const TPoint outer[] = {{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}};
            Canvas->GetBrush()->SetColor(clBtnFace);
            Canvas->GetPen()->SetColor(clBtnFace);
            Canvas->Polygon(outer, 4);
            const TColor upper = checked ? TColor(0x808080) : TColor(0xFFFFFF);
            const TColor lower = checked ? TColor(0xFFFFFF) : TColor(0x808080);
            Canvas->GetPen()->SetColor(upper);
            Canvas->MoveTo(x + 2, y + 8);
            Canvas->LineTo(x + 8, y + 2);
            Canvas->LineTo(x + 14, y + 8);
            Canvas->GetPen()->SetColor(lower);
            Canvas->LineTo(x + 8, y + 14);
            Canvas->LineTo(x + 2, y + 8);
            if (checked) {
                const TPoint inner[] = {{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}};
                Canvas->GetBrush()->SetColor(FControlLook->GetColor());
                Canvas->GetPen()->SetColor(FControlLook->GetColor());
                Canvas->Polygon(inner, 4);
            }
            break;
        }
        case csWinXP:
        case csPack: {
            static constexpr const wchar_t* names[2][4] = {
                {L"ASGRAD05", L"ASGRAD07", L"ASGRAD06", L"ASGRAD08"},
                {L"ASGRAD01", L"ASGRAD03", L"ASGRAD02", L"ASGRAD04"}};
            DrawGlyphResource(Canvas, names[Style == csPack][(checked ? 0 : 2) + (Disabled ? 1 : 0)], x, y);
            break;
        }
        case csGlyph:
            DrawGlyphBitmap(Canvas, checked ? FControlLook->GetRadioOnGlyph() : FControlLook->GetRadioOffGlyph(), x,
                            y);
            break;
        default:
            if (!classic) {
                const int state = checked ? (Disabled ? 8 : 5) : (Disabled ? 4 : 1);
                theme.Draw(dc, BP_RADIOBUTTON, state, TRect(x, y, x + 16, y + 16));
            } else {
                UINT flags = DFCS_BUTTONRADIO;
                if (checked)
                    flags |= DFCS_CHECKED;
                if (Disabled)
                    flags |= DFCS_INACTIVE;
                if (Style == csFlat)
                    flags |= DFCS_FLAT;
                RECT r{x, y, x + glyph, y + glyph};
                DrawFrameControl(dc, &r, DFC_BUTTON, flags);
            }
            break;
        }
        if (!caption.empty())
            Canvas->TextOut(textX, textY, caption);
    }
    SetBkMode(dc, oldMode);
    Canvas->GetFont()->SetColor(oldFont);
}

void TAdvStringGrid::DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y)
{
    TSortSettings* sort = FSortSettings.get();
    const bool mirrored = UseRightToLeftAlignment() && HandleAllocated();
    HDC dc = Canvas->GetHandle();
    const DWORD layout = mirrored ? GetLayout(dc) : 0;
    if (mirrored)
        SetLayout(dc, 0);
    TPen* pen = Canvas->GetPen();
    TBrush* brush = Canvas->GetBrush();
    const int position = FSortIndexes->FindIndex(ACol);
    if (sort->GetIndexShow() && position >= 0) {
        const bool glyphs = !sort->GetIndexUpGlyph()->GetEmpty() && !sort->GetIndexDownGlyph()->GetEmpty();
        if (mirrored)
            X = GetClientWidth() - X - 11 - (glyphs ? sort->GetIndexUpGlyph()->GetWidth() : 0);
        brush->SetColor(sort->GetIndexColor());
        pen->SetColor(sort->GetIndexColor());
        TFont* font = Canvas->GetFont();
        const TColor oldColor = font->GetColor();
        const int oldSize = font->GetSize();
        font->SetColor(clBlack);
        font->SetSize(6);
        const bool descending = (static_cast<uint32_t>(FSortIndexes->GetItem(position)) & 0x80000000u) != 0;
        if (descending) {
            if (glyphs) {
                DrawGlyphBitmap(Canvas, sort->GetIndexUpGlyph(), X - 7, Y - 7);
            } else {
                const TPoint triangle[] = {{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}};
                Canvas->Polygon(triangle, 3);
            }
        } else if (glyphs) {
            DrawGlyphBitmap(Canvas, sort->GetIndexDownGlyph(), X - 7, Y - 7);
        } else {
            const TPoint triangle[] = {{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}};
            Canvas->Polygon(triangle, 3);
        }
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        Canvas->TextOut(X - 2, descending ? Y - 4 : Y - 2, IntToStr(position + 1));
        SetBkMode(dc, oldMode);
        font->SetColor(oldColor);
        font->SetSize(oldSize);
    } else {
        TBitmap* up = sort->GetUpGlyph();
        TBitmap* down = sort->GetDownGlyph();
        const bool glyphs = !up->GetEmpty() && !down->GetEmpty();
        if (mirrored)
            X = GetClientWidth() - X - 11 - (glyphs ? up->GetWidth() : 0);
        const bool descending = sort->GetDirection() == sdDescending;
        if (glyphs) {
            DrawGlyphBitmap(Canvas, descending ? down : up, X - 4, Y - 4);
            brush->SetColor(GetFixedColor());
        } else {
            pen->SetWidth(1);
            if (descending) {
                pen->SetColor(clWhite);
                Canvas->MoveTo(X + 4, Y - 4);
                Canvas->LineTo(X, Y + 4);
                pen->SetColor(0x808080);
                Canvas->LineTo(X - 4, Y - 4);
                Canvas->LineTo(X + 4, Y - 4);
            } else {
                pen->SetColor(clWhite);
                Canvas->MoveTo(X - 4, Y + 4);
                Canvas->LineTo(X + 4, Y + 4);
                Canvas->LineTo(X, Y - 4);
                pen->SetColor(0x808080);
                Canvas->LineTo(X - 4, Y + 4);
            }
            pen->SetColor(clBlack);
        }
    }
    if (mirrored)
        SetLayout(dc, layout);
}

void TAdvStringGrid::DrawNodeGlyph(TCanvas* Canvas, TRect R, TCellGraphic* Graphic, int ARow, TColor Background)
{
    TCellNode* node = FCellNode.get();
    const int indent = node->GetNodeIndent();
    const int rowIndent = GetRowNodeIndent(ARow);
    const bool expanded = Graphic->GetCellBoolean();
    TPen* pen = Canvas->GetPen();
    TBrush* brush = Canvas->GetBrush();
    R.left = rowIndent - indent;
    if (node->GetShowTree() && ARow >= GetFixedRows()) {
        pen->SetColor(node->GetTreeColor());
        pen->SetWidth(1);
        // The edged looks draw a fixed column's left edge over its first pixel.
        const bool edged = GetFixedCols() > 0 && !FIsFlat &&
                           (FLook == glSoft || FLook == glPack || FLook == glXP || FLook == glListView);
        const int x = R.left + indent / 2 + 2 + (edged ? 1 : 0);
        const int middle = R.top + (R.bottom - R.top) / 2;
        if (ARow + 1 < GetRowCount()) {
            const int next = GetRowNodeIndent(ARow + 1);
            // A contracted node's children are out of view: a row after it
            // that lies further out is no child to lead down to.
            if (next > 0 && !(GetNodeState(ARow) && next < rowIndent)) {
                Canvas->MoveTo(x, middle);
                Canvas->LineTo(x, R.bottom);
            }
        }
        if (ARow > GetFixedRows() && GetRowNodeIndent(ARow - 1) >= rowIndent) {
            Canvas->MoveTo(x, R.top);
            Canvas->LineTo(x, middle);
        }
    }
    R.left = rowIndent - indent / 2 - 4;
    const int height = R.bottom - R.top;
    switch (node->GetNodeType()) {
    case cnLeaf: {
        DrawGlyphResource(Canvas, expanded ? L"ASGLEAFCLOSE" : L"ASGLEAFOPEN", R.left, R.top + (height - 12) / 2);
        return;
    }
    case cnXP:
        DrawGlyphResource(Canvas, expanded ? L"XPNODEC" : L"XPNODEO", R.left + 4, R.top + (height - 10) / 2);
        return;
    case cnGlyph:
        if (!node->GetExpandGlyph()->GetEmpty() && !node->GetContractGlyph()->GetEmpty()) {
            TBitmap* glyph = expanded ? node->GetContractGlyph() : node->GetExpandGlyph();
            DrawGlyphBitmap(Canvas, glyph, R.left, R.top + (height - glyph->GetHeight()) / 2);
            return;
        }
        break;
    default:
        break;
    }
    if (node->GetNodeType() == cn3D) {
        brush->SetColor(node->GetColor());
        FillRectColor(Canvas, R, node->GetColor());
    }
    const int top = R.top + (height - 8) / 2;
    const TRect box(R.left + 4, top, R.left + 12, top + 8);
    brush->SetColor(node->GetColor());
    if (node->GetNodeType() == cnFlat) {
        pen->SetColor(node->GetNodeColor());
        Canvas->Rectangle(box.left, box.top, box.right + 1, box.bottom + 1);
    } else {
        RECT r = box;
        FillRectColor(Canvas, box, node->GetColor());
        DrawEdge(Canvas->GetHandle(), &r, expanded ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_FLAT);
    }
    pen->SetColor(node->GetNodeColor());
    Canvas->MoveTo(box.left + 2, box.top + 4);
    Canvas->LineTo(box.left + 7, box.top + 4);
    if (!expanded) {
        Canvas->MoveTo(box.left + 4, box.top + 2);
        Canvas->LineTo(box.left + 4, box.top + 7);
    }
    (void)Background;
}

void TAdvStringGrid::DrawCellGraphic(TCanvas* Canvas, TRect& R, TCellGraphic* Graphic, const TGraphicPlace& Place)
{
    const TCellType kind = Graphic->GetCellType();
    const int RCol = Place.RCol;
    const int ARow = Place.ARow;
    if (kind != ctNode && kind != ctProgress && kind != ctRangeIndicator && kind != ctXPProgress)
        InflateRect(&R, -(FXYOffset.x - 1), -(FXYOffset.y - 1));
    const int W = Place.Width;
    const int H = Place.Height;
    const int TW = Place.TextWidth > 0 ? Place.TextWidth + 2 : 0;
    const int width = R.right - R.left;
    const int height = R.bottom - R.top;
    TRect G = R;
    switch (Place.HAlign) {
    case haLeft:
        G.left = R.left + 1;
        break;
    case haRight:
        G.left = R.right - 1 - W;
        break;
    case haCenter:
        G.left = W < width ? R.left + (width - W) / 2 : R.left + 1;
        break;
    case haBeforeText:
        if (Place.TextAlign == taLeftJustify)
            G.left = R.left + 1;
        else if (Place.TextAlign == taRightJustify)
            G.left = R.right - TW - W;
        else
            G.left = std::max(R.left + 1, R.left + (width - TW - W) / 2);
        break;
    case haAfterText:
        if (Place.TextAlign == taLeftJustify)
            G.left = R.left + TW;
        else if (Place.TextAlign == taRightJustify)
            G.left = R.right - 1 - W;
        else
            G.left = std::max(R.left + 1, TW + R.left + (width - TW - W) / 2);
        break;
    case haFull:
        break;
    }
    if (Place.HAlign != haFull)
        G.right = G.left + W;

    TCellVAlign valign = Place.VAlign;
    if (IsCheckKind(kind) && Place.TextVAlign != GetVAlignment())
        valign = Place.TextVAlign == vtaTop ? vaTop : Place.TextVAlign == vtaCenter ? vaCenter : vaBottom;
    switch (valign) {
    case vaBottom:
        G.top = R.bottom - H - 1;
        break;
    case vaCenter:
        G.top = H < height ? R.top + (height - H) / 2 : R.top + 1;
        break;
    case vaUnderText:
        G.top = R.bottom - H;
        break;
    case vaFull:
        break;
    case vaTop:
    case vaAboveText:
        G.top = R.top + 1;
        break;
    }
    if (valign == vaBottom)
        G.bottom = R.bottom - 1;
    else if (valign == vaUnderText)
        G.bottom = R.bottom;
    else if (valign != vaFull)
        G.bottom = G.top + H;

    const String text = GetCellText(RCol, ARow);
    const TColor brushColor = Canvas->GetBrush()->GetColor();
    const bool enabled = GetEnabled();
    switch (kind) {
    case ctBitmap:
        if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic->GetCellBitmap())) {
            if (Graphic->GetCellTransparent())
                DrawGlyphBitmap(Canvas, bitmap, G.left, G.top);
            else
                Canvas->Draw(G.left, G.top, bitmap);
        }
        break;
    case ctIcon:
        if (TIcon* icon = Graphic->GetCellIcon()) {
            HDC dc = Canvas->GetHandle();
            const bool mirrored = UseRightToLeftAlignment();
            const DWORD layout = mirrored ? GetLayout(dc) : 0;
            if (mirrored)
                SetLayout(dc, 0);
            Canvas->Draw(G.left, G.top, icon);
            if (mirrored)
                SetLayout(dc, layout);
        }
        break;
    case ctImageList:
        if (TCustomImageList* images = GetCellImageList(RCol, ARow))
            images->Draw(Canvas, G.left, G.top, Graphic->GetCellIndex(), true);
        break;
    case ctDataImage:
        if (TCustomImageList* images = GetCellImageList(RCol, ARow)) {
            // A text that is no number shows no image.
            const int index = text.empty() ? -1 : StrToIntDef(Trim(text), -1);
            if (index >= 0 && index < images->Count())
                images->Draw(Canvas, G.left, G.top, index, true);
        }
        break;
    case ctCheckBox:
    case ctRowCheckBox:
        DrawCheckBox(Canvas, G, Graphic->GetCellBoolean(), cbUnchecked, false, FControlLook->GetControlStyle(),
                     Graphic->GetCellAngle() > 0, enabled);
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String checkTrue;
        DoGetCheckTrue(RCol, ARow, checkTrue);
        DrawCheckBox(Canvas, G, text == checkTrue, cbUnchecked, false, FControlLook->GetControlStyle(), false,
                     enabled);
        break;
    }
    case ctTriStateCheckBox:
        DrawCheckBox(Canvas, G, false, Graphic->GetCellCheckBoxState(), true, FControlLook->GetControlStyle(), false,
                     enabled);
        break;
    case ctRadioButton: {
        G.left += FXYOffset.x;
        const int size = FControlLook->GetRadioSize();
        G.right = G.left + size;
        G.bottom = G.top + size;
        DrawRadioGroup(Canvas, G, false, 1.0, FControlLook->GetControlStyle(), ARow, RCol, false, nullptr, !enabled,
                       false, Graphic->GetCellBoolean() ? 0 : -1, 1);
        break;
    }
    case ctRadio: {
        auto* items = dynamic_cast<TStrings*>(Graphic->GetCellBitmap());
        DrawRadioGroup(Canvas, R, false, 1.0, FControlLook->GetControlStyle(), ARow, RCol, Place.Selected, items,
                       !enabled, Graphic->GetCellBoolean(), Graphic->GetCellIndex(), items ? items->Count() : 0);
        break;
    }
    case ctRotated:
        DrawRotatedText(Canvas, R, G, text, Graphic->GetCellAngle(), RCol, ARow);
        break;
    case ctNode:
        DrawNodeGlyph(Canvas, R, Graphic, ARow, brushColor);
        break;
    case ctImages:
        if (TCustomImageList* images = GetCellImageList(RCol, ARow))
            if (const auto* list = dynamic_cast<TIntList*>(Graphic->GetCellBitmap())) {
                int x = G.left, y = G.top;
                for (int i = 0; i < list->Count(); ++i) {
                    images->Draw(Canvas, x, y, list->GetItem(i), true);
                    if (Graphic->GetCellBoolean())
                        x += images->GetWidth();
                    else
                        y += images->GetHeight();
                }
            }
        break;
    case ctPicture:
        if (auto* picture = dynamic_cast<TPicture*>(Graphic->GetCellBitmap())) {
            TRect place = G;
            if (!GetOptions().Contains(goVertLine))
                OffsetRect(&place, -1, 0);
            if (!GetOptions().Contains(goHorzLine))
                OffsetRect(&place, 0, -2);
            if (Graphic->GetCellAngle() != 0)
                Canvas->StretchDraw(place, picture->GetGraphic());
            else if (picture->GetGraphic())
                Canvas->Draw(place.left, place.top, picture->GetGraphic());
        }
        break;
    case ctFilePicture:
        DrawFilePictureGraphic(Canvas, G, Graphic);
        break;
    case ctProgress: {
        const double value = CellNumber(text);
        TControlLook* look = FControlLook.get();
        const AdvXPVS::TThemeData theme(
            (look->GetControlStyle() == csWinXP || look->GetControlStyle() == csTheme) && look->GetProgressXP() &&
                FIsWinXP,
            HandleAllocated() ? GetHandle() : nullptr, L"Progress");
        if (theme) {
            TRect bar = R;
            InflateRect(&bar, -look->GetProgressMarginX(), -look->GetProgressMarginY());
            theme.Draw(Canvas->GetHandle(), PP_BAR, 1, bar);
            InflateRect(&bar, -2, -2);
            bar.right = bar.left + (bar.right - bar.left) * ClampPercent(value) / 100;
            theme.Draw(Canvas->GetHandle(), PP_CHUNK, 1, bar);
        } else {
            TRect bar = R;
            InflateRect(&bar, -2, -2);
            const TColor fill = SlotColor(Graphic->GetCellBitmap());
            const TColor empty = SlotColor(Graphic->GetCellIcon());
            const bool own = Graphic->GetCellBoolean();
            const TColor fillText = own ? TColor(Graphic->GetCellIndex()) : TColor(ColorToRGB(fill) ^ 0xFFFFFF);
            const TColor emptyText = own ? TColor(Graphic->GetCellAngle()) : TColor(ColorToRGB(empty) ^ 0xFFFFFF);
            DrawProgressBar(Canvas, bar, fill, fillText, empty, emptyText, value, look->GetProgressMarginX(),
                            look->GetProgressMarginY(), Graphic->GetCellErrFrom(), Graphic->GetCellErrLen(),
                            Graphic->GetCellText(), look->GetProgressBorderColor(), false);
        }
        break;
    }
    case ctButton:
    case ctBitButton:
    case ctExpand:
        DrawButtonGraphic(Canvas, R, G, Graphic, RCol, ARow, Place.CellRect);
        break;
    case ctProgressPie:
        DrawPieGlyph(Canvas, TRect(G.left, G.top, G.left + 20, G.top + 20), SlotColor(Graphic->GetCellBitmap()),
                     Graphic->GetCellAngle(), false);
        break;
    case ctRangeIndicator: {
        TRect bar = R;
        InflateRect(&bar, -FControlLook->GetProgressMarginX(), -FControlLook->GetProgressMarginY());
        DrawBalanceBar(Canvas, bar, static_cast<int>(CellNumber(text)), Graphic->GetCellIndex(),
                       Graphic->GetCellBoolean(), SlotColor(Graphic->GetCellBitmap()),
                       SlotColor(Graphic->GetCellIcon()));
        break;
    }
    case ctXPProgress: {
        TRect bar = R;
        InflateRect(&bar, -FControlLook->GetProgressMarginX(), -FControlLook->GetProgressMarginY());
        --bar.right;
        --bar.bottom;
        const double low = Graphic->GetCellErrFrom();
        const double high = Graphic->GetCellErrLen();
        // Equal limits show an empty bar; a value beyond them shows the limit.
        const double value = std::clamp(CellNumber(text), std::min(low, high), std::max(low, high));
        const int percent =
            high == low ? 0 : static_cast<int>(std::lround(std::abs(value - low) / std::abs(high - low) * 100));
        TGridProgressAppearance* look = FProgressAppearance.get();
        TProgressBarParams params;
        params.Level0Color = look->GetLevel0Color();
        params.Level0ColorTo = look->GetLevel0ColorTo();
        params.Level1Color = look->GetLevel1Color();
        params.Level1ColorTo = look->GetLevel1ColorTo();
        params.Level2Color = look->GetLevel2Color();
        params.Level2ColorTo = look->GetLevel2ColorTo();
        params.Level3Color = look->GetLevel3Color();
        params.Level3ColorTo = look->GetLevel3ColorTo();
        params.Level1Perc = look->GetLevel1Perc();
        params.Level2Perc = look->GetLevel2Perc();
        params.BorderColor = look->GetBorderColor();
        params.ShowBorder = look->GetShowBorder();
        params.Stacked = look->GetStacked();
        params.ShowPercentage = look->GetShowPercentage();
        params.Font = GetFont();
        params.CompleteFontColor = look->GetCompleteFontColor();
        params.CompletionSmooth = look->GetCompletionSmooth();
        params.ShowGradient = look->GetShowGradient();
        params.Steps = look->GetSteps();
        params.UncompleteFontColor = look->GetUnCompleteFontColor();
        params.BackgroundColor =
            look->GetUnCompleteColor() == clNone ? brushColor : look->GetUnCompleteColor();
        DrawLevelProgressBar(Canvas, bar, percent, params);
        break;
    }
    case ctInterface:
        if (auto* object = dynamic_cast<TInterfacedPersistent*>(Graphic->GetCellBitmap()))
            object->Draw(Canvas, TRect(R.left - 1, R.top - 1, R.right, R.bottom));
        break;
    case ctShape:
        DrawCellShape(Canvas, G.left, G.top, G.right - G.left - 1, G.bottom - G.top - 1, Graphic->GetCellAngle(),
                      Graphic->GetCellIndex(), SlotColor(Graphic->GetCellBitmap()));
        break;
    case ctRating: {
        // Cut toward zero to a multiple of a half star.
        const double value = std::trunc(CellNumber(text) * 2) / 2;
        int x = G.left;
        for (int i = 1; i <= Graphic->GetCellAngle(); ++i, x += 18) {
            // Only the stars that fit.
            if (x + 16 > R.right)
                break;
            const bool full = i <= value;
            DrawCellShape(Canvas, x, G.top, 16, 16, csStar,
                          full ? TColor(Graphic->GetCellIndex()) : SlotColor(Graphic->GetCellBitmap()),
                          full ? TColor(Graphic->GetCellIndex()) : SlotColor(Graphic->GetCellBitmap()));
            if (i - 1 < value && value < i)
                DrawCellShape(Canvas, x, G.top, 16, 16, csHalfStar, Graphic->GetCellIndex(),
                              Graphic->GetCellIndex());
        }
        break;
    }
    default:
        break;
    }

    if (kind != ctNode && !Graphic->GetCellComment().empty()) {
        TColor color = FControlLook->GetCommentColor();
        if (static_cast<TColor>(Graphic->GetCellIndex()) != clNone)
            color = Graphic->GetCommentColor();
        if (color != clNone) {
            const int right = R.right + FXYOffset.x;
            const int top = R.top - FXYOffset.y;
            const TPoint triangle[] = {{right - 8, top + 1}, {right - 3, top + 1}, {right - 3, top + 6}};
            Canvas->GetPen()->SetColor(color);
            Canvas->GetBrush()->SetColor(color);
            Canvas->Polygon(triangle, 3);
            Canvas->GetBrush()->SetColor(GetColor());
        }
    }
}

void TAdvStringGrid::DrawButtonGraphic(TCanvas* Canvas, const TRect& R, TRect G, TCellGraphic* Graphic, int RCol,
                                       int ARow, const TRect& CellRect)
{
    const TCellType kind = Graphic->GetCellType();
    if (kind == ctExpand)
        G = TRect(R.right - 13, R.top, R.right, R.top + 13);
    // The mouse finds the button by its offset in the cell.
    Graphic->SetCellValue(static_cast<double>(MAKELONG(G.left - CellRect.left, G.top - CellRect.top)));
    bool editable = true;
    QueryCellEditable(RCol, ARow, editable);
    const bool enabled = FControlLook->GetNoDisabledButtonLook() || editable;
    int buttonKind = FControlLook->GetFlatButton() ? 2 : FIsWinXP ? 0 : 1;
    if (FIsFlat && FTones.Background.BrushColor != clNone && FTones.Background.BrushColor != 0)
        buttonKind = 3;
    int state = 0;
    if (Graphic->GetCellBoolean())
        state = 2;
    else if (FHoverButton == TPoint{DisplColIndex(RCol), ARow})
        state = 1;
    if (!enabled && kind != ctExpand)
        state = 3;
    const HWND window = HandleAllocated() ? GetHandle() : nullptr;
    Canvas->GetBrush()->SetColor(clBtnFace);
    DrawButtonFace(Canvas, window, G, buttonKind, state, FTones, FControlLook->GetButtonPrefix(), L"");
    if (state == 2)
        OffsetRect(&G, 1, 1);
    if (kind == ctExpand) {
        TPen* pen = Canvas->GetPen();
        pen->SetColor(clBlack);
        const int top = G.top;
        const bool up = !Graphic->CellVar.IsEmpty() && Graphic->CellVar.ToBool();
        const TPoint down[] = {{R.right - 10, top + 5}, {R.right - 7, top + 8}, {R.right - 3, top + 4}};
        const TPoint upward[] = {{R.right - 10, top + 8}, {R.right - 7, top + 5}, {R.right - 3, top + 9}};
        Canvas->Polyline(up ? upward : down, 3);
        return;
    }
    const String caption = Graphic->GetCellText();
    if (kind == ctBitButton)
        if (auto* glyph = dynamic_cast<TBitmap*>(Graphic->GetCellBitmap()); glyph && !glyph->GetEmpty()) {
            const int gh = glyph->GetHeight();
            const int y = gh <= G.bottom - G.top ? G.top + (G.bottom - G.top - gh) / 2 : G.top + 3;
            if (!caption.empty() || glyph->GetWidth() > G.right - G.left) {
                DrawGlyphBitmap(Canvas, glyph, G.left + 3, y);
                G.left += glyph->GetWidth() + 4;
            } else {
                DrawGlyphBitmap(Canvas, glyph, G.left + (G.right - G.left - glyph->GetWidth()) / 2, y);
            }
        }
    if (caption.empty())
        return;
    UINT format = DT_END_ELLIPSIS | DT_CENTER | DT_VCENTER;
    format |= caption.find(L'\r') != String::npos ? DT_WORDBREAK : DT_SINGLELINE;
    if (!FControlLook->GetButtonPrefix())
        format |= DT_NOPREFIX;
    HDC dc = Canvas->GetHandle();
    TColor textColor = clBtnText;
    if (buttonKind == 3) {
        const TColorTone* tones[] = {&FTones.Background, &FTones.Hover, &FTones.Selected, &FTones.Disabled};
        textColor = tones[state]->TextColor;
    }
    const COLORREF oldColor = SetTextColor(dc, ColorToRGB(textColor));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r = G;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, format);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
}
