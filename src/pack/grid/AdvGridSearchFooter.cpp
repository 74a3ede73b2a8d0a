// The search bar under the grid's cells: its edit line, buttons and match-case
// box, and the grid's answers to them. Typing searches at once with
// AutoSearch; Enter, Ctrl+Enter, the buttons and their Alt accelerators find
// the next or previous match and may wrap round at the end once.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include <algorithm>

namespace {

// A strip of the named glyphs side by side over the button face, one per
// state of the speed button (up, disabled, down).
void LoadGlyphStrip(TSpeedButton* Button, std::initializer_list<const wchar_t*> Names)
{
    std::vector<TOwned<TBitmap>> parts;
    int width = 0;
    int height = 0;
    for (const wchar_t* name : Names) {
        TOwned<TBitmap> part(New<TBitmap>());
        if (FindResourceW(HInstance(), name, reinterpret_cast<LPCWSTR>(RT_BITMAP)))
            part->LoadFromResourceName(HInstance(), name);
        width = std::max(width, part->GetWidth());
        height = std::max(height, part->GetHeight());
        parts.push_back(std::move(part));
    }
    if (width == 0 || height == 0)
        return;
    TOwned<TBitmap> strip(New<TBitmap>());
    strip->SetWidth(width * static_cast<int>(parts.size()));
    strip->SetHeight(height);
    strip->GetCanvas()->GetBrush()->SetColor(clBtnFace);
    strip->GetCanvas()->FillRect(TRect(0, 0, strip->GetWidth(), height));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i]->GetEmpty())
            continue;
        parts[i]->SetTransparent(true);
        strip->GetCanvas()->Draw(static_cast<int>(i) * width, 0, parts[i].get());
    }
    Button->SetGlyph(strip.get());
    Button->SetNumGlyphs(static_cast<int>(parts.size()));
}

void ApplyHint(TControl* Control, const String& Hint)
{
    Control->SetHint(Hint);
    Control->SetShowHint(!Hint.empty());
}

} // namespace

// --- the edit line ------------------------------------------------------------------------------

void TRetEdit::CreateParams(TCreateParams& Params)
{
    TEdit::CreateParams(Params);
    // A multi-line edit takes Enter as a key of its own instead of the
    // dialog's default button.
    Params.Style |= ES_MULTILINE;
}

void TRetEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key != VK_RETURN) {
        TEdit::KeyDown(Key, Shift);
        return;
    }
    Key = 0;
    if (GetKeyState(VK_CONTROL) < 0) {
        if (OnCtrlReturn)
            OnCtrlReturn(this);
    } else if (OnReturn) {
        OnReturn(this);
    }
}

void TRetEdit::KeyPress(wchar_t& Key)
{
    if (Key != 13 && Key != 10) {
        TEdit::KeyPress(Key);
        return;
    }
    // The line break Enter and Ctrl+Enter would type is dropped without a beep.
    wchar_t ch = Key;
    if (OnKeyPress)
        OnKeyPress(this, ch);
    Key = 0;
}

// --- the panel -----------------------------------------------------------------------------------

TSearchPanel::TSearchPanel(TComponent* AOwner) : TCustomPanel(AOwner)
{
    FEdit = New<TRetEdit>(this);
    FForwardButton = New<TSpeedButton>(this);
    FBackwardButton = New<TSpeedButton>(this);
    FExitButton = New<TSpeedButton>(this);
    FHiliteButton = New<TSpeedButton>(this);
    FMatchCase = New<TCheckBox>(this);
    for (TControl* c : std::initializer_list<TControl*>{FEdit, FForwardButton, FBackwardButton, FExitButton,
                                                         FHiliteButton, FMatchCase})
        c->SetParent(this);

    FEdit->SetBounds(25, 6, 110, FEdit->GetHeight());
    FEdit->OnChange = [this](TObject*) { EditChanged(); };
    // Enter and Ctrl+Enter act as the buttons would, which an empty text disables.
    FEdit->OnReturn = [this](TObject*) {
        if (FForwardButton->GetEnabled() && OnForwardClick)
            OnForwardClick(this);
    };
    FEdit->OnCtrlReturn = [this](TObject*) {
        if (FBackwardButton->GetEnabled() && OnBackwardClick)
            OnBackwardClick(this);
    };

    for (TSpeedButton* b : {FForwardButton, FBackwardButton, FHiliteButton}) {
        b->SetParentFont(true);
        b->SetEnabled(false);
        b->SetFlat(true);
    }
    FForwardButton->SetBounds(140, 5, 90, 23);
    LoadGlyphStrip(FForwardButton, {L"ASGARDOWN", L"ASGARDOWND"});
    FBackwardButton->SetBounds(235, 5, 90, 23);
    LoadGlyphStrip(FBackwardButton, {L"ASGARUP", L"ASGARUPD"});
    FExitButton->SetBounds(5, 7, 14, 14);
    FExitButton->SetFlat(true);
    LoadGlyphStrip(FExitButton, {L"ASGCLOSE", L"ASGCLOSE", L"ASGCLOSED"});
    // The highlight button stays down until clicked again.
    FHiliteButton->SetBounds(330, 5, 90, 23);
    FHiliteButton->SetGroupIndex(1);
    FHiliteButton->SetAllowAllUp(true);
    LoadGlyphStrip(FHiliteButton, {L"ASGHI", L"ASGHID", L"ASGHI", L"ASGHI"});
    FMatchCase->SetBounds(425, 8, 200, 18);

    FForwardButton->OnClick = [this](TObject*) {
        if (OnForwardClick)
            OnForwardClick(this);
    };
    FBackwardButton->OnClick = [this](TObject*) {
        if (OnBackwardClick)
            OnBackwardClick(this);
    };
    FExitButton->OnClick = [this](TObject*) {
        if (OnExitClick)
            OnExitClick(this);
    };
    FHiliteButton->OnClick = [this](TObject*) {
        if (OnHighLightClick)
            OnHighLightClick(this);
    };
    FMatchCase->OnClick = [this](TObject*) {
        if (OnMatchCaseClick)
            OnMatchCaseClick(this);
    };
}

void TSearchPanel::SetColorTo(TColor Value)
{
    colorTo_ = Value;
    Invalidate();
}

String TSearchPanel::GetSearchText() const
{
    return FEdit->GetText();
}

void TSearchPanel::SetSearchText(const String& Value)
{
    FEdit->SetText(Value);
}

bool TSearchPanel::GetMatchCase() const
{
    return FMatchCase->GetChecked();
}

void TSearchPanel::SetMatchCase(bool Value)
{
    FMatchCase->SetChecked(Value);
}

bool TSearchPanel::GetHighlightDown() const
{
    return FHiliteButton->GetDown();
}

void TSearchPanel::SetHighlightDown(bool Value)
{
    FHiliteButton->SetDown(Value);
}

void TSearchPanel::FocusSearchEdit()
{
    if (FEdit->CanFocus())
        FEdit->SetFocus();
}

void TSearchPanel::LayoutControls()
{
    const bool rtl = grid_ && grid_->GetBiDiMode() == bdRightToLeft;
    const auto place = [&](TControl* c, int left, int top, int width, int height) {
        c->SetBounds(rtl ? GetWidth() - width - left : left, top, width, height);
    };
    place(FEdit, 25, 6, 110, FEdit->GetHeight());
    place(FForwardButton, 140, 5, 90, FForwardButton->GetVisible() ? 23 : 0);
    place(FBackwardButton, 235, 5, 90, FBackwardButton->GetVisible() ? 23 : 0);
    place(FExitButton, 5, 7, 14, 14);
    place(FHiliteButton, 330, 5, 90, FHiliteButton->GetVisible() ? 23 : 0);
    place(FMatchCase, FHiliteButton->GetVisible() ? 425 : 330, 8, 200, FMatchCase->GetVisible() ? 18 : 0);
}

void TSearchPanel::CreateWnd()
{
    TCustomPanel::CreateWnd();
    LayoutControls();
    if (grid_ && grid_->OnCreatedSearchFooter)
        grid_->OnCreatedSearchFooter(grid_);
}

void TSearchPanel::Resize()
{
    TCustomPanel::Resize();
    // Mirrored places follow the width.
    if (HandleAllocated())
        LayoutControls();
}

void TSearchPanel::Paint()
{
    TCustomPanel::Paint();
    TCanvas* canvas = GetCanvas();
    const TRect r = GetClientRect();
    if (colorTo_ == clNone) {
        canvas->GetBrush()->SetColor(GetColor());
        canvas->FillRect(r);
    } else {
        DrawGradientRect(canvas, GetColor(), colorTo_, 32, r, false);
    }
    canvas->GetPen()->SetColor(grid_ ? grid_->GetGridLineColor() : clGray);
    canvas->MoveTo(r.left, r.top);
    canvas->LineTo(r.right, r.top);
}

void TSearchPanel::EditChanged()
{
    const bool any = !FEdit->GetText().empty();
    for (TSpeedButton* b : {FForwardButton, FBackwardButton, FHiliteButton})
        b->SetEnabled(any);
    if (OnEditChange)
        OnEditChange(this);
}

// --- the grid's side ------------------------------------------------------------------------------

void TAdvStringGrid::UpdateSearchPanel()
{
    if (LoadingNow() || !FSearchPanel)
        return;
    TSearchPanel* panel = FSearchPanel;
    TSearchFooter* footer = FSearchFooter.get();
    // Hiding a bar whose highlight was on, or highlighting always, changes the cells.
    if ((panel->GetHighlightDown() && panel->GetVisible() && !footer->GetVisible()) || footer->GetAlwaysHighLight())
        Invalidate();
    panel->SetColor(footer->GetColor());
    panel->SetColorTo(footer->GetColorTo());
    panel->SetVisible(footer->GetVisible());
    panel->FindNextCaption = footer->GetFindNextCaption();
    panel->FindPrevCaption = footer->GetFindPrevCaption();
    panel->MatchCaseCaption = footer->GetMatchCaseCaption();
    panel->HighLightCaption = footer->GetHighLightCaption();
    panel->HintFindNext = footer->GetHintFindNext();
    panel->HintFindPrev = footer->GetHintFindPrev();
    panel->HintClose = footer->GetHintClose();
    panel->HintHighlight = footer->GetHintHighlight();
    panel->GetFont()->Assign(footer->GetFont());

    TSpeedButton* next = panel->GetForwardButton();
    TSpeedButton* prev = panel->GetBackwardButton();
    TSpeedButton* hilite = panel->GetHiliteButton();
    TCheckBox* matchCase = panel->GetMatchCaseBox();
    next->SetCaption(panel->FindNextCaption);
    prev->SetCaption(panel->FindPrevCaption);
    hilite->SetCaption(panel->HighLightCaption);
    matchCase->SetCaption(panel->MatchCaseCaption);

    // Flat only in the flat look or when following the theme.
    const AdvGrid::TControlStyle style = FControlLook->GetControlStyle();
    const bool flat = FAutoThemeAdapt || style == AdvGrid::csFlat;
    for (TSpeedButton* b : {next, prev, hilite})
        b->SetFlat(flat);

    hilite->SetVisible(footer->GetShowHighLight());
    panel->GetExitButton()->SetVisible(footer->GetShowClose());
    matchCase->SetVisible(footer->GetShowMatchCase());
    prev->SetVisible(footer->GetShowFindPrev());
    next->SetVisible(footer->GetShowFindNext());
    ApplyHint(next, panel->HintFindNext);
    ApplyHint(prev, panel->HintFindPrev);
    ApplyHint(panel->GetExitButton(), panel->HintClose);
    ApplyHint(hilite, panel->HintHighlight);
    panel->LayoutControls();

    if (footer->GetVisible()) {
        panel->SetHeight(32);
        panel->SetTop(GetHeight() - 32);
        KeepLastRowAboveSearchFooter();
    } else {
        panel->SetHeight(0);
    }
}

bool TAdvStringGrid::IsLastRowAboveSearchFooter()
{
    if (!FSearchFooter->GetVisible() || !FSearchPanel || !HandleAllocated())
        return true;
    const TRect last = CellRect(0, GetRowCount() - 1);
    // A last row out of view lies below the client area too.
    if (last.bottom <= last.top)
        return false;
    return last.bottom <= GetClientHeight() - FSearchPanel->GetHeight() + 2;
}

void TAdvStringGrid::KeepLastRowAboveSearchFooter()
{
    if (!FSearchFooter->GetVisible() || !FSearchPanel || !HandleAllocated())
        return;
    if (GetClientHeight() <= GetDefaultRowHeight() + FSearchPanel->GetHeight())
        return;
    const int lastRow = GetRowCount() - 1;
    // Only while the last row is in view: a row out of view is not below the bar.
    while (GetRow() <= lastRow && GetTopRow() < lastRow) {
        const TRect last = CellRect(0, lastRow);
        if (last.bottom <= last.top || last.bottom <= GetClientHeight() - FSearchPanel->GetHeight() + 2)
            break;
        const int top = GetTopRow();
        SetTopRow(top + 1);
        if (GetTopRow() == top)
            break;
    }
}

bool TAdvStringGrid::SearchFooterAtEnd()
{
    return FSearchFooter->GetVisible() && GetTopRow() >= GetRowCount() - GetVisibleRowCount();
}

bool TAdvStringGrid::SearchHighlightOn()
{
    return (FSearchPanel && FSearchPanel->GetHighlightDown()) || FSearchFooter->GetAlwaysHighLight();
}

TFindParams TAdvStringGrid::SearchFooterParams(bool FromEdit)
{
    TSearchFooter* footer = FSearchFooter.get();
    TFindParams params;
    params << fnAutoGoto;
    if (SearchHighlightOn())
        params << fnIgnoreHTMLTags;
    if (FSearchPanel->GetMatchCase())
        params << fnMatchCase;
    if (footer->GetSearchActiveColumnOnly())
        params << fnFindInCurrentCol;
    if (footer->GetSearchMatchStart())
        params << fnMatchStart;
    if (footer->GetSearchFixedCells())
        params << fnIncludeFixed;
    // The find buttons leave hidden rows alone.
    if (FromEdit && footer->GetSearchHiddenRows())
        params << fnIncludeHiddenRows;
    if (footer->GetSearchDirection() == sdLeftRight)
        params << fnDirectionLeftRight;
    const int column = footer->GetSearchColumn();
    if (column >= 0 && column < TotalColCount()) {
        FindCol = DisplColIndex(column);
        params << fnFindInPresetCol;
        if (!FromEdit)
            params >> fnDirectionLeftRight;
    }
    return params;
}

void TAdvStringGrid::SearchEditChange(TObject*)
{
    TSearchPanel* panel = FSearchPanel;
    const String text = panel->GetSearchText();
    bool defaultSearch = true;
    if (OnSearchEditChange)
        OnSearchEditChange(this, text, defaultSearch);
    if (!defaultSearch || !FSearchFooter->GetAutoSearch())
        return;
    const TFindParams params = SearchFooterParams(true);
    const int column = FSearchFooter->GetSearchColumn();
    const bool highlight = SearchHighlightOn();
    const auto repaintSearched = [&] {
        if (column == -1)
            Invalidate();
        else if (column < TotalColCount())
            RepaintCol(DisplColIndex(column));
    };
    if (highlight)
        repaintSearched();
    TRetEdit* edit = panel->GetEdit();
    if (text.empty()) {
        edit->SetColor(clWindow);
        if (panel->GetHighlightDown())
            repaintSearched();
        return;
    }
    SearchCell = Find(TPoint(-1, -1), text, params);
    if (!edit->Focused() && edit->GetEnabled() && edit->CanFocus())
        edit->SetFocus();
    DoSearchFooterAction(text, SearchCell.x, SearchCell.y, saFindFirst);
    if (SearchCell.x < 0) {
        edit->SetColor(0x0000FF);
        return;
    }
    edit->SetColor(clWindow);
    ScrollInView(GetCol(), GetRow(), spMiddle);
    if (highlight)
        repaintSearched();
}

void TAdvStringGrid::SearchFooterStep(bool Backward)
{
    HideInplaceEdit();
    TSearchFooter* footer = FSearchFooter.get();
    const String text = FSearchPanel->GetSearchText();
    if (!footer->GetAutoSearch()) {
        if (text != footer->GetLastSearch())
            SearchCell = TPoint(-1, -1);
        footer->SetLastSearch(text);
    }
    TFindParams params = SearchFooterParams(false);
    if (Backward)
        params << fnBackward;
    const bool floating = FFloatingFooter->GetVisible();
    const auto keepAbove = [&] {
        const int visible = GetVisibleRowCount();
        if (GetRow() > GetTopRow() + visible + (floating ? 0 : 1) - 3 &&
            visible + GetFixedRows() + (floating ? 1 : 0) < GetRowCount())
            SetTopRow(std::min(GetTopRow() + 2, GetRowCount() - 1));
    };
    for (int attempt = 0; attempt < 2; ++attempt) {
        SearchCell = Find(SearchCell, text, params);
        const bool found = SearchCell.x >= 0;
        if (found && !Backward)
            ScrollInView(GetCol(), GetRow(), spMiddle);
        keepAbove();
        if (found && Backward)
            ScrollInView(GetCol(), GetRow(), spMiddle);
        DoSearchFooterAction(text, SearchCell.x, SearchCell.y, Backward ? saFindPrevious : saFindNext);
        if (found || attempt == 1)
            break;
        // Past the last match: the application may let the search start over.
        bool continueFromStart = true;
        DoSearchFooterSearchEnd(continueFromStart);
        if (!continueFromStart)
            break;
        SearchCell = TPoint(-1, -1);
    }
    FSearchPanel->Invalidate();
}

void TAdvStringGrid::SearchForwardClick(TObject*)
{
    SearchFooterStep(false);
}

void TAdvStringGrid::SearchBackwardClick(TObject*)
{
    SearchFooterStep(true);
}

void TAdvStringGrid::SearchExitClick(TObject*)
{
    if (OnSearchFooterClose)
        OnSearchFooterClose(this);
    FSearchFooter->SetVisible(false);
}

void TAdvStringGrid::SearchHighLightClick(TObject*)
{
    Invalidate();
}

void TAdvStringGrid::SearchMatchCaseClick(TObject*)
{
    if (FSearchPanel->GetHighlightDown())
        SearchEditChange(FSearchPanel);
}

bool TAdvStringGrid::SearchFooterDialogChar(wchar_t Ch)
{
    if (!FSearchFooter->GetVisible() || !FSearchPanel)
        return false;
    TSearchPanel* panel = FSearchPanel;
    const std::pair<TSpeedButton*, const String*> buttons[] = {
        {panel->GetForwardButton(), &panel->FindNextCaption},
        {panel->GetBackwardButton(), &panel->FindPrevCaption},
        {panel->GetHiliteButton(), &panel->HighLightCaption},
    };
    for (const auto& [button, caption] : buttons) {
        if (!IsAccel(Ch, *caption) || !button->GetVisible() || !button->GetEnabled())
            continue;
        if (button == panel->GetHiliteButton())
            button->SetDown(!button->GetDown());
        button->Click();
        return true;
    }
    return false;
}
