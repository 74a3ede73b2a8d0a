// The grid's hint window and the events of its balloon tooltip.
#pragma once

#include "Controls.h"
#include "AdvGridCellGraphic.h"
#include <functional>

class TCustomImageList;
class TPictureContainer;

using TCellBalloonEvent = std::function<void(TObject* Sender, int ACol, int ARow, TBalloonIcon& Icon,
                                             String& Text, String& Title)>;
using TDateTimeChangeEvent = std::function<void(TObject* Sender, int ACol, int ARow, double Value)>;

// The size a text of Size needs turned by Angle degrees: its bounding box
// with 12 pixels to spare.
TSize RotatedTextExtent(TSize Size, int Angle);

// A hint window that draws its text as mini-HTML (or as packed wide text),
// sizes itself to the text and stays 2 pixels inside its monitor.
class THTMLHintWindow : public THintWindow {
public:
    explicit THTMLHintWindow(TComponent* AOwner);

    RECT CalcHintRect(int MaxWidth, const String& AHint, void* AData) override;
    void ActivateHint(RECT Rect, const String& AHint) override;
    // AData: a TAdvStringGrid lends its images.
    void ActivateHintData(RECT Rect, const String& AHint, void* AData) override;

    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    TPictureContainer* GetPictureContainer() const { return FPictureContainer; }
    void SetPictureContainer(TPictureContainer* Value) { FPictureContainer = Value; }
    int GetTextWidth() const { return FTextWidth; }
    int GetTextHeight() const { return FTextHeight; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    // The text's size within Width, as it will be drawn.
    SIZE MeasureHint(const String& AHint, int Width, bool& Wide);
    TCustomImageList* FImages = nullptr;
    TPictureContainer* FPictureContainer = nullptr;
    int FTextWidth = 0;
    int FTextHeight = 0;
    String FWideCaption;
};

// The font packed wide hints are drawn with; the grid sets it to its own
// font's name before a hint shows.
void SetHintFontName(const String& Name);
const String& HintFontName();

// Which scroll thumbs show the row or column they reach while dragged.
enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
using TScrollHintEvent = std::function<void(TObject* Sender, int ARow, String& HintStr)>;
