// The strips under the grid's cells: the floating footer's settings and
// panel, and the search panel. The grid creates them, docks them at its
// bottom and shows them as their settings say; what they draw and how the
// search runs live with the footer and the search bar.
#pragma once

#include "Buttons.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "BaseGrid.h"
#include <functional>

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
    // Colour, column and template repaint the panel.
    void SetColor(TColor Value);
    TColor GetBorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value);
    int GetColumn() const { return column_; }
    void SetColumn(int Value);
    TFooterStyle GetFooterStyle() const { return footerStyle_; }
    // Fires OnChange: the grid adds or removes the preview row.
    void SetFooterStyle(TFooterStyle Value);
    const String& GetCustomTemplate() const { return customTemplate_; }
    void SetCustomTemplate(const String& Value);
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool Value);
    bool GetCalculateHiddenRows() const { return calculateHiddenRows_; }
    void SetCalculateHiddenRows(bool Value) { calculateHiddenRows_ = Value; }
    int GetHeight() const { return height_; }
    // Above 0 the panel becomes Value - 1 high.
    void SetHeight(int Value);
    // The grid that shows the footer; set once by the grid.
    void SetGrid(TAdvStringGrid* Value) { grid_ = Value; }
    TAdvStringGrid* GetGrid() const { return grid_; }
    // Repaints the panel.
    void Invalidate();
    // The footer cell of ACol calculates by CalcType; nothing outside the grid.
    void SetColumnCalc(int ACol, TColumnCalcType CalcType);
    // The grid holds one row more for a preview style.
    bool GetDidInc() const { return didInc_; }
    void SetDidInc(bool Value) { didInc_ = Value; }

    // (Sender, ACol, ARow, var Value): a footer cell of acCUSTOM.
    std::function<void(TObject* Sender, int ACol, int ARow, String& Value)> OnCalcFooter;
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
    TAdvStringGrid* grid_ = nullptr;
    bool didInc_ = false;
};

// The panel the floating footer shows in.
class TFooterPanel : public TCustomPanel {
public:
    explicit TFooterPanel(TComponent* AOwner);
    TAdvStringGrid* GetGrid() const { return grid_; }
    void SetGrid(TAdvStringGrid* Value) { grid_ = Value; }
    // The column whose hint shows, -1 none.
    int GetLastHintX() const { return lastHintX_; }
    // The fixed columns, then the columns from the grid's left column.
    int GetColumnsWidth();
    // CustomTemplate with each "<#n>" replaced by column n of the current row.
    String ExpandFooterTemplate(const String& Template);

protected:
    void CreateWnd() override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    int PaintFixedLastRow();
    int PaintColumnPreview(bool Template);
    int PaintCustomFooter();
    TRect MirrorFooterRect(const TRect& R);
    // The column under X, counted as the panel draws them; -1 past the last.
    int ColumnAt(int X);
    TAdvStringGrid* grid_ = nullptr;
    int lastHintX_ = -1;
};

// The search bar's edit line: Enter finds the next match, Ctrl+Enter the
// previous one; neither types a line break nor beeps.
class TRetEdit : public TEdit {
public:
    using TEdit::TEdit;

    TNotifyEvent OnReturn;
    TNotifyEvent OnCtrlReturn;

protected:
    void CreateParams(TCreateParams& Params) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
};

// The search bar's panel: an edit line, find-next, find-previous, close and
// highlight buttons and a match-case box; the grid wires its six events to
// its search actions.
class TSearchPanel : public TCustomPanel {
public:
    explicit TSearchPanel(TComponent* AOwner);
    TAdvStringGrid* GetGrid() const { return grid_; }
    void SetGrid(TAdvStringGrid* Value) { grid_ = Value; }
    TColor GetColorTo() const { return colorTo_; }
    // Repaints.
    void SetColorTo(TColor Value);
    // What the panel's edit, match-case box and highlight button show; the
    // painter highlights the edit's text in the cells.
    String GetSearchText() const;
    void SetSearchText(const String& Value);
    bool GetMatchCase() const;
    void SetMatchCase(bool Value);
    bool GetHighlightDown() const;
    void SetHighlightDown(bool Value);
    // Ctrl+F in the grid: the search edit takes the focus.
    void FocusSearchEdit();

    TRetEdit* GetEdit() const { return FEdit; }
    TSpeedButton* GetForwardButton() const { return FForwardButton; }
    TSpeedButton* GetBackwardButton() const { return FBackwardButton; }
    TSpeedButton* GetExitButton() const { return FExitButton; }
    TSpeedButton* GetHiliteButton() const { return FHiliteButton; }
    TCheckBox* GetMatchCaseBox() const { return FMatchCase; }

    // The grid's settings copied here and applied to the buttons and the box.
    String FindNextCaption;
    String FindPrevCaption;
    String MatchCaseCaption;
    String HighLightCaption;
    String HintFindNext;
    String HintFindPrev;
    String HintClose;
    String HintHighlight;
    // Puts every control at its place, mirrored under right-to-left reading.
    void LayoutControls();

    TNotifyEvent OnEditChange;
    TNotifyEvent OnBackwardClick;
    TNotifyEvent OnForwardClick;
    TNotifyEvent OnExitClick;
    TNotifyEvent OnHighLightClick;
    TNotifyEvent OnMatchCaseClick;

protected:
    void CreateWnd() override;
    void Paint() override;
    void Resize() override;

private:
    void EditChanged();

    TAdvStringGrid* grid_ = nullptr;
    TColor colorTo_ = clNone;
    TRetEdit* FEdit = nullptr;
    TSpeedButton* FForwardButton = nullptr;
    TSpeedButton* FBackwardButton = nullptr;
    TSpeedButton* FExitButton = nullptr;
    TSpeedButton* FHiliteButton = nullptr;
    TCheckBox* FMatchCase = nullptr;
};
