// A square progress gauge drawn with anti-aliased GDI+: a ring whose
// coloured arc grows clockwise from the top in proportion to Position
// between Minimum and Maximum, the value as text in the middle, a caption
// under it, and optional up and down pictures that step the value by
// Increment when clicked.
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
    // Stored only.
    double GetEndPosition() const { return FEndPosition; }
    void SetEndPosition(double Value);
    String GetMinText() const { return FMinText; }
    void SetMinText(const String& Value);
    String GetMaxText() const { return FMaxText; }
    void SetMaxText(const String& Value);

    // Pixels between the client square and the ring's outer edge.
    int GetInnerMargin() const { return FInnerMargin; }
    void SetInnerMargin(int Value);
    // Pen width of the ring.
    double GetArcWidth() const { return FArcWidth; }
    void SetArcWidth(double Value);
    TColor GetPenColor() const { return FPenColor; }
    void SetPenColor(TColor Value);
    // Alpha of both ring pens.
    Byte GetPenOpacity() const { return FPenOpacity; }
    void SetPenOpacity(Byte Value);
    TColor GetCircleBackgroundColor() const { return FCircleBackgroundColor; }
    void SetCircleBackgroundColor(TColor Value);
    // Format of the value (a floating-point argument); empty shows the
    // shortest decimal text.
    String GetFormat() const { return FFormat; }
    void SetFormat(const String& Value);
    // Caption under the value.
    String GetText() const { return FText; }
    void SetText(const String& Value);

    // The step pictures; setting one copies the given picture.
    TAdvGDIPPicture* GetPictureUp() const { return FPictureUp.get(); }
    void SetPictureUp(TAdvGDIPPicture* Value);
    TAdvGDIPPicture* GetPictureDown() const { return FPictureDown.get(); }
    void SetPictureDown(TAdvGDIPPicture* Value);
    bool GetShowUpDown() const { return FShowUpDown; }
    void SetShowUpDown(bool Value);

    String GetVersion() const { return L"1.0.0.0"; }
    void SetVersion(const String&) {}
    bool GetIsRange() const { return false; }

    // The text the value shows now: Format applied to Position, or the
    // plain decimal text when Format does not take a floating argument.
    String ValueText() const;
    // Where the last paint drew the step pictures (zero when it did not).
    TGPRectF GetUpArea() const { return FRectUp; }
    TGPRectF GetDownArea() const { return FRectDown; }

    TNotifyEvent OnClickUp;
    TNotifyEvent OnClickDown;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (StoreChanged(field, value))
            Invalidate();
    }
    // A click may step only on a picture the last paint drew.
    bool Hits(const TGPRectF& Area, int X, int Y) const;

    TOwned<TGDIPFill> FBackground;
    double FEndPosition = 0;
    String FFormat;
    int FInnerMargin = 10;
    double FMaximum = 100;
    String FMaxText;
    double FMinimum = 0;
    String FMinText;
    double FPosition = 50;
    Byte FPenOpacity = 255;
    double FArcWidth = 2;
    TColor FPenColor = clBlue;
    TGPRectF FRectUp;
    TGPRectF FRectDown;
    TColor FCircleBackgroundColor = clSilver;
    TOwned<TAdvGDIPPicture> FPictureDown;
    TOwned<TAdvGDIPPicture> FPictureUp;
    double FIncrement = 5;
    bool FShowUpDown = false;
    String FText = L"Text";
};
