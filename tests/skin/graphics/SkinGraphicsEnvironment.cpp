// The suite starts the skin graphics units the way the program does.
#include <gtest/gtest.h>
#include "SysUtils.h"
#include "acGraphicsStartup.h"

namespace {

class SkinGraphicsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        SysUtils_Initialize();
        SkinGraphics_Initialize();
    }
    void TearDown() override
    {
        SkinGraphics_Finalize();
        SysUtils_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new SkinGraphicsEnvironment);

} // namespace
