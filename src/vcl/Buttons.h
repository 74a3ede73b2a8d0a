// Speed buttons: painted buttons without a window that can stay down, alone
// or as one of a group.
#pragma once

#include "Controls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    // The picture; with NumGlyphs > 1 it holds the up, disabled, down and
    // exclusive images side by side.
    TBitmap* GetGlyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    int GetNumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    bool GetDown() const { return down_; }
    void SetDown(bool value);
    int GetGroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool GetAllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool GetFlat() const { return flat_; }
    void SetFlat(bool value);
    TButtonLayout GetLayout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int GetSpacing() const { return spacing_; }
    void SetSpacing(int value);
    int GetMargin() const { return margin_; }
    void SetMargin(int value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool value);
    TButtonState State() const { return state_; }
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;

private:
    void UpdateExclusive();
    void PaintGlyphAndCaption(TCanvas* canvas, TRect client, bool pressed);

    TOwned<TBitmap> glyph_;
    int numGlyphs_ = 1;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool flat_ = false;
    TButtonLayout layout_ = blGlyphLeft;
    int spacing_ = 4;
    int margin_ = -1;
    bool transparent_ = true;
    TButtonState state_ = bsUp;
    bool dragging_ = false;
};
