// Panels, splitters, paint boxes and timers.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"

// Draws a raised or sunken frame of Width pixels inside Rect and shrinks
// Rect by it: TopColor on the top and left, BottomColor on the others.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

// ---------------------------------------------------------------------------
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    TBevelCut GetBevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    TBevelCut GetBevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    int GetBevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TTextLayout GetVerticalAlignment() const { return verticalAlignment_; }
    void SetVerticalAlignment(TTextLayout value);
    bool GetFullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool value) { fullRepaint_ = value; }
    bool GetParentBackground() const { return ControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool value);
    bool GetShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    void AdjustClientRect(RECT& Rect) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    TBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
    TTextLayout verticalAlignment_ = tlCenter;
    bool fullRepaint_ = true;
    bool showCaption_ = true;
};
class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// ---------------------------------------------------------------------------
// A bar between aligned controls that the user drags to resize the control
// on its aligned side.
enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
using TCanResizeSplitterEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    int GetMinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = std::max(1, value); }
    bool GetBeveled() const { return beveled_; }
    void SetBeveled(bool value);
    TResizeStyle GetResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }
    bool GetAutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool value) { autoSnap_ = value; }
    // The control the splitter resizes (found when a drag starts).
    TControl* ResizeControl() const { return control_; }

    TNotifyEvent OnMoved;
    TCanResizeSplitterEvent OnCanResizeSplitter;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TControl* FindResizeControl() const;
    int SizeOf(TControl* c) const;
    int MaxSize() const;
    void UpdateControlSize(int newSize);

    TControl* control_ = nullptr;
    int minSize_ = 30;
    bool beveled_ = false;
    bool autoSnap_ = true;
    TResizeStyle resizeStyle_ = rsPattern;
    POINT downPos_{};
    int startSize_ = 0;
    bool dragging_ = false;
};

// ---------------------------------------------------------------------------
class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// ---------------------------------------------------------------------------
// A picture shown as it is, centred, or stretched to the control.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TPicture* GetPicture() const { return picture_.get(); }
    void SetPicture(TPicture* value) { picture_->Assign(value); }
    bool GetStretch() const { return stretch_; }
    void SetStretch(bool value);
    bool GetCenter() const { return center_; }
    void SetCenter(bool value);
    bool GetProportional() const { return proportional_; }
    void SetProportional(bool value);
    bool GetTransparent() const { return transparent_; }
    void SetTransparent(bool value);
    // Where the picture is drawn inside the control.
    TRect DestRect() const;

protected:
    void Paint() override;
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;

private:
    void PictureChanged(TObject* Sender);
    TOwned<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
};

// ---------------------------------------------------------------------------
// A timer that runs OnTimer on the main thread every Interval milliseconds.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool value);
    Cardinal GetInterval() const { return interval_; }
    void SetInterval(Cardinal value);
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();
    void Loaded() override;

private:
    friend void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void UpdateTimer();
    bool enabled_ = true;
    Cardinal interval_ = 1000;
    UINT_PTR id_ = 0;
};
