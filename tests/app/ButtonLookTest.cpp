// The main window's glow buttons as they paint: white upper halves over
// grey gradients under rounded grey borders, and "Cancel" disabled in its
// greys at the start.
#include <gtest/gtest.h>
#include "GdiHandles.h"
#include "StartedWindow.h"

using testing_support::PumpMessages;
using testing_support::TempDir;

namespace {

// What a control paints, in a 32-bit DIB of its size.
class TPainted {
public:
    explicit TPainted(TWinControl* Control) : width_(Control->GetWidth())
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(bi.bmiHeader), Control->GetWidth(), -Control->GetHeight(), 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const DWORD*>(bits);
        const TSelectObject select(dc_.Get(), bitmap_.Get());
        Control->PaintTo(dc_.Get(), 0, 0);
        GdiFlush();
    }
    TColor Pixel(int X, int Y) const
    {
        const DWORD p = bits_[Y * width_ + X];
        return static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    int Count(TColor Color, const TRect& Area) const
    {
        int n = 0;
        for (int y = Area.top; y < Area.bottom; ++y)
            for (int x = Area.left; x < Area.right; ++x)
                n += Pixel(x, y) == Color;
        return n;
    }

private:
    int width_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    const DWORD* bits_ = nullptr;
};

TEST(MainWindowButtons, PaintTheirHalvesBordersAndDisabledGreys)
{
    TempDir folder;
    TStartedWindow window(folder.Path());
    TForm1* form = window.Form();
    PumpMessages();

    const TPainted start(form->BtnHDD);
    const TColor panel = ColorToRGB(form->BtnHDD->GetParent()->GetColor());
    EXPECT_EQ(start.Pixel(2, 10), clWhite) << "white upper half";
    EXPECT_EQ(start.Pixel(10, 19), clWhite);
    // The lower half darkens from white towards $C0C0C0.
    EXPECT_LT(GetRValue(start.Pixel(10, 30)), 0xFF);
    EXPECT_LT(GetRValue(start.Pixel(10, 38)), GetRValue(start.Pixel(10, 30)));
    EXPECT_GT(GetRValue(start.Pixel(10, 38)), 0xC0);
    EXPECT_EQ(start.Pixel(10, 39), 0xC0C0C0) << "grey bottom border";
    EXPECT_EQ(start.Pixel(84, 0), 0xC0C0C0) << "grey border";
    EXPECT_EQ(static_cast<COLORREF>(start.Pixel(0, 0)), panel) << "rounded: the panel at the corner";

    // "Cancel", 90 x 28 and disabled: $F2F2F2 over $B6B6B6, grey border and caption.
    const TPainted cancel(form->BtnStop);
    EXPECT_EQ(cancel.Pixel(2, 6), 0xF2F2F2);
    EXPECT_EQ(cancel.Pixel(2, 25), 0xB6B6B6);
    EXPECT_EQ(cancel.Pixel(45, 0), 0x808080);
    EXPECT_GT(cancel.Count(0x808080, TRect(20, 6, 70, 22)), 10) << "grey caption";
    EXPECT_EQ(cancel.Count(clBlack, TRect(2, 2, 88, 26)), 0);
}

} // namespace
