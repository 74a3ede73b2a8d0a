// The pack's combo box base: the platform's combo box with a drop width for
// its list, selection by text and the pack's version numbering.
//
// This version keeps the platform's own look; the flat look with its own
// border and drop button, the colour options, the grey empty text and the
// attached label come later.
#pragma once

#include "StdCtrls.h"

enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

class TAdvCustomCombo : public TCustomComboBox {
public:
    explicit TAdvCustomCombo(TComponent* AOwner);

    // Raised instead of etched edges for the drop button of the flat look.
    bool GetEtched() const { return FEtched; }
    void SetEtched(bool Value);
    // Width of the dropped list; 0 keeps the platform's.
    int GetDropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);

    // Selects the item with this text, when there is one, and fires the
    // change event.
    virtual void SelectItem(const String& AString);

    // Major, minor, release and build, one byte each from the high byte down.
    virtual int GetComponentVersion() const;
    // The version as "major.minor.release.build"; it cannot be written.
    String GetVersion() const;

    // Fired when the list closes.
    TNotifyEvent OnDropUp;

protected:
    void CreateWnd() override;
    void Loaded() override;
    void DropDown() override;
    void CloseUp() override;

    bool FEtched = false;
    int FDropWidth = 0;

private:
    void ApplyDropWidth();
};
