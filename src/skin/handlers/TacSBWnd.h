// The handler of class-library scroll-bar controls: it keeps its own copy of
// the scroll data, lays the parts out itself, tracks their hover and press
// states, and paints arrows and thumb with the non-client bars' painters.
// The native control still scrolls; it just draws nothing.
#pragma once

#include "acSBUtils.h"

class TacSBWnd : public TacMainWnd {
public:
    void AfterCreation() override;
    void acWndProc(TMessage& Message) override;

    // Part states: 0 normal, 1 hot, 2 pressed; Index 0 button 1, 1 button 2,
    // 2 bar 1, 3 bar 2, 4 thumb.
    void SetByIndex(int Index, Integer Value);
    Integer Btn1State() const { return FBtn1State; }
    Integer Btn2State() const { return FBtn2State; }
    Integer Bar1State() const { return FBar1State; }
    Integer Bar2State() const { return FBar2State; }
    Integer SliderState() const { return FSliderState; }

    // Geometry in client coordinates.
    bool Vertical() const;
    Integer Length() const;
    Integer SysBtnSize() const;
    Integer WorkSize() const;
    Integer SliderSize() const;
    Integer PositionToCoord() const;
    Integer CoordToPosition(const TPoint& P) const;
    TRect Btn1Rect() const;
    TRect Btn2Rect() const;
    TRect Bar1Rect() const;
    TRect Bar2Rect() const;
    TRect SliderRect() const;

    void LMouseDown(int X, int Y);
    void LMouseUp(int X, int Y);
    void CMMouseEnter();
    void CMMouseLeave();
    void WMNCHitTest(TMessage& Message);
    void WMPaint(TMessage& Message);

    Integer FCurrPos = 0;
    SCROLLINFO FSI{};
    TRect FBtn1Rect, FBtn2Rect, FBar1Rect, FBar2Rect, FSliderRect;
    TPoint p;
    TCacheInfo CI;
    TScrollBar* Control = nullptr;
    bool FRepainting = false;
    Integer FLockCount = 0;
    Integer MouseOffset = 0;
    Integer ScrollCode = 0;

private:
    Integer FBar1State = 0, FBar2State = 0, FBtn1State = 0, FBtn2State = 0, FSliderState = 0;
    void InitScrollData();
    void UpdateBar();
    void LockedRepaint(TMessage& Message);
    void SetScrollInfoFrom(TMessage& Message);
    void CallBase(TMessage& Message);
    Integer BarIsHot() const;
    bool Enabled() const;
    void ComputeRects();
};

TacMainWnd* MakeScrollBarControlHandler();
