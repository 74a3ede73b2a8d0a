// The pack's panel, whose body text is mini-HTML, with an optional caption
// bar on top; and the panel group, which stacks its child panels in columns
// or side by side.
//
// This version draws the body and caption texts plainly (markup removed, one
// line per line break) in the panel's and the caption's fonts. Collapsing,
// caption buttons, the status bar, gradients, background pictures, anchors,
// moving, sizing, saved positions, the group's scroll bar and its panel
// list come later.
#pragma once

#include "ExtCtrls.h"

class TCustomAdvPanel;

// The caption bar's settings. The panel wires the notifications to itself.
class TPanelCaption : public TPersistent {
public:
    TPanelCaption();
    ~TPanelCaption() override;
    // Copies Color, Font, Height and Indent; the text, visibility and top
    // indent stay.
    void Assign(TPersistent* Source) override;

    String GetText() const { return FText; }
    void SetText(const String& Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    int GetTopIndent() const { return FTop; }
    void SetTopIndent(int Value);

    // Any change; the visibility also fires OnStateChange after it.
    TNotifyEvent OnChange;
    TNotifyEvent OnStateChange;

private:
    void Changed();

    int FHeight = 20;
    String FText;
    TColor FColor = clHighlight;
    TOwned<TFont> FFont;
    bool FVisible = false;
    int FIndent = 0;
    int FTop = 0;
};

// ---------------------------------------------------------------------------
class TCustomAdvPanel : public TCustomPanel {
public:
    explicit TCustomAdvPanel(TComponent* AOwner);
    ~TCustomAdvPanel() override;

    // The body text, mini-HTML.
    String GetText() const { return FText; }
    void SetText(const String& Value);
    // The body text without its markup.
    String GetRawText() const;

    TPanelCaption* GetCaption() const { return FCaption.get(); }
    void SetCaption(TPanelCaption* Value) { FCaption->Assign(Value); }

    // Offsets of the body text from the left and from the top.
    int GetIndent() const { return FIndent; }
    void SetIndent(int Value);
    int GetTopIndent() const { return FTopIndent; }
    void SetTopIndent(int Value);
    // The height written as a property also sets the expanded height (bounds
    // set at once leave it alone).
    void SetHeight(int Value);
    // The expanded height, kept with the form.
    int GetFullHeight() const { return FFullHeight; }
    void SetFullHeight(int Value) { FFullHeight = Value; }
    // Order key of a group's ordered arrangement.
    int GetIndex() const { return FIndex; }
    void SetIndex(int Value) { FIndex = Value; }

    String GetVersion() const { return L"2.4.1.0"; }

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, RECT& Rect) override;
    // Runs after the caption's visibility changes.
    virtual void PanelStateChanged() {}

    String FText;
    TOwned<TPanelCaption> FCaption;
    int FFullHeight = 0;
    int FIndex = 0;
    int FIndent = 0;
    int FTopIndent = 0;

private:
    void CaptionChanged(TObject* Sender);
    void DrawPlainText(TCanvas* Canvas, const String& Text, const TRect& R);
};

class TAdvPanel : public TCustomAdvPanel {
public:
    using TCustomAdvPanel::TCustomAdvPanel;
};

// ---------------------------------------------------------------------------
enum TGroupStyle { gsVertical, gsHorizontal };

// Arranges the panels among its children (other controls are left to the
// class library's alignment).
class TAdvPanelGroup : public TAdvPanel {
public:
    explicit TAdvPanelGroup(TComponent* AOwner);

    // Panels per row in the vertical style; values below 1 are ignored.
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    TGroupStyle GetGroupStyle() const { return FGroupStyle; }
    void SetGroupStyle(TGroupStyle Value);
    // Gaps between the panels and to the group's edges.
    int GetHorzPadding() const { return FHorzPadding; }
    void SetHorzPadding(int Value);
    int GetVertPadding() const { return FVertPadding; }
    void SetVertPadding(int Value);

    // Arranges once, ordered by the panels' Index.
    void ArrangePanels();
    // Arranging waits until the outermost EndUpdate; an extra EndUpdate is ignored.
    void BeginUpdate();
    void EndUpdate();

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // After every arrangement.
    TNotifyEvent OnArrangedControls;

protected:
    void Loaded() override;
    void PanelStateChanged() override;
    virtual void DoArrangedControls();

private:
    void Arrange();
    void ArrangeVertical();
    void ArrangeHorizontal();
    std::vector<TCustomAdvPanel*> ChildPanels() const;

    int FUpdateCount = 0;
    int FHorzPadding = 8;
    int FVertPadding = 8;
    TGroupStyle FGroupStyle = gsVertical;
    bool FIsArranging = false;
    int FOldWidth = -1;
    int FOldHeight = -1;
    int FColumns = 1;
    bool FCode = false;
};
