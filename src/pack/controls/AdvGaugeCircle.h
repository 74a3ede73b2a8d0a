// A square progress gauge: a ring whose coloured arc grows clockwise from
// the top in proportion to Position between Minimum and Maximum, the value
// as text in the middle and a caption under it.
//
// This version draws with the canvas (no anti-aliasing or pen opacity) and
// has no step pictures yet.
#pragma once

#include "Controls.h"
#include "GDIPFill.h"
#include "System.h"

class TAdvGaugeCircle : public TCustomControl {
public:
    explicit TAdvGaugeCircle(TComponent* AOwner);
    ~TAdvGaugeCircle() override;

    // Fill of the whole client area; setting it copies the given fill.
    TGDIPFill* GetBackground() const { return FBackground.get(); }
    void SetBackground(TGDIPFill* Value) { FBackground->Assign(Value); }

    // Accepted only above Minimum; a refused value is dropped silently.
    double GetMaximum() const { return FMaximum; }
    void SetMaximum(double Value);
    // Accepted only below Maximum.
    double GetMinimum() const { return FMinimum; }
    void SetMinimum(double Value);
    // Accepted only within Minimum..Maximum, both ends included.
    double GetPosition() const { return FPosition; }
    void SetPosition(double Value);
    double GetIncrement() const { return FIncrement; }
    void SetIncrement(double Value);

    // Pixels between the client square and the ring's outer edge.
    int GetInnerMargin() const { return FInnerMargin; }
    void SetInnerMargin(int Value);
    // Pen width of the ring.
    double GetArcWidth() const { return FArcWidth; }
    void SetArcWidth(double Value);
    TColor GetPenColor() const { return FPenColor; }
    void SetPenColor(TColor Value);
    TColor GetCircleBackgroundColor() const { return FCircleBackgroundColor; }
    void SetCircleBackgroundColor(TColor Value);
    // Format of the value (a floating-point argument); empty shows the
    // shortest decimal text.
    String GetFormat() const { return FFormat; }
    void SetFormat(const String& Value);
    // Caption under the value.
    String GetText() const { return FText; }
    void SetText(const String& Value);

    String GetVersion() const { return L"1.0.0.0"; }
    bool GetIsRange() const { return false; }

    // The text the value shows now.
    String ValueText() const;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (StoreChanged(field, value))
            Invalidate();
    }

    TOwned<TGDIPFill> FBackground;
    String FFormat;
    int FInnerMargin = 10;
    double FMaximum = 100;
    double FMinimum = 0;
    double FPosition = 50;
    double FArcWidth = 2;
    TColor FPenColor = clBlue;
    TColor FCircleBackgroundColor = clSilver;
    double FIncrement = 5;
    String FText = L"Text";
};
