// The strips under the grid's cells: the floating footer's settings and
// panel, and the search panel. The grid creates them, docks them at its
// bottom and shows them as their settings say; what they draw and how the
// search runs live with the footer and the search bar.
#pragma once

#include "ExtCtrls.h"

class TAdvStringGrid;

enum TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

// Settings of the floating footer.
class TFloatingFooter : public TPersistent {
public:
    void Assign(TPersistent* Source) override;

    bool GetVisible() const { return visible_; }
    // Fires OnChange.
    void SetVisible(bool Value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    TColor GetBorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { borderColor_ = Value; }
    int GetColumn() const { return column_; }
    void SetColumn(int Value) { column_ = Value; }
    TFooterStyle GetFooterStyle() const { return footerStyle_; }
    void SetFooterStyle(TFooterStyle Value) { footerStyle_ = Value; }
    const String& GetCustomTemplate() const { return customTemplate_; }
    void SetCustomTemplate(const String& Value) { customTemplate_ = Value; }
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool Value) { showHint_ = Value; }
    bool GetCalculateHiddenRows() const { return calculateHiddenRows_; }
    void SetCalculateHiddenRows(bool Value) { calculateHiddenRows_ = Value; }
    int GetHeight() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }
    bool GetEnableCalculation() const { return enableCalculation_; }
    void SetEnableCalculation(bool Value) { enableCalculation_ = Value; }

    TNotifyEvent OnChange;

private:
    bool visible_ = false;
    TColor color_ = clBtnFace;
    TColor borderColor_ = clNone;
    int column_ = 0;
    TFooterStyle footerStyle_ = fsFixedLastRow;
    String customTemplate_;
    bool showHint_ = false;
    bool calculateHiddenRows_ = true;
    int height_ = 0;
    bool enableCalculation_ = true;
};

// The panel the floating footer shows in.
class TFooterPanel : public TCustomPanel {
public:
    explicit TFooterPanel(TComponent* AOwner);
    TAdvStringGrid* GetGrid() const { return grid_; }
    void SetGrid(TAdvStringGrid* Value) { grid_ = Value; }

private:
    TAdvStringGrid* grid_ = nullptr;
};

// The search bar's panel; the grid wires its six events to its search actions.
class TSearchPanel : public TCustomPanel {
public:
    explicit TSearchPanel(TComponent* AOwner);
    TAdvStringGrid* GetGrid() const { return grid_; }
    void SetGrid(TAdvStringGrid* Value) { grid_ = Value; }
    TColor GetColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value) { colorTo_ = Value; }
    // What the panel's edit, match-case box and highlight button show; the
    // painter highlights the edit's text in the cells.
    const String& GetSearchText() const { return searchText_; }
    void SetSearchText(const String& Value) { searchText_ = Value; }
    bool GetMatchCase() const { return matchCase_; }
    void SetMatchCase(bool Value) { matchCase_ = Value; }
    bool GetHighlightDown() const { return highlightDown_; }
    void SetHighlightDown(bool Value) { highlightDown_ = Value; }
    // Ctrl+F in the grid: the search edit takes the focus.
    void FocusSearchEdit();

    TNotifyEvent OnEditChange;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnForwardClick;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighLightClick;
    TNotifyEvent OnMatchCaseClick;

private:
    TAdvStringGrid* grid_ = nullptr;
    TColor colorTo_ = clNone;
    String searchText_;
    bool matchCase_ = false;
    bool highlightDown_ = false;
};
