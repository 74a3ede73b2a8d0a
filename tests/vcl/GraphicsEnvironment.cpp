// The picture formats registered for the whole suite, as the program's
// start-up registers them; the clipboard object freed at the end.
#include <gtest/gtest.h>
#include "Clipbrd.h"
#include "Jpeg.h"
#include "PngImage.h"

namespace {

class TGraphicsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Graphics_Initialize();
        Jpeg_Initialize();
        PngImage_Initialize();
    }
    void TearDown() override
    {
        Clipbrd_Finalize();
        PngImage_Finalize();
        Jpeg_Finalize();
        Graphics_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new TGraphicsEnvironment);

} // namespace
