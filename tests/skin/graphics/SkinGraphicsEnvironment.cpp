// The suite starts the run-time units and the skin graphics units the way
// the program does.
#include <gtest/gtest.h>
#include "Forms.h"
#include "SysUtils.h"
#include "acGraphicsStartup.h"

namespace {

class SkinGraphicsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        SysUtils_Initialize();
        Graphics_Initialize();
        Controls_Initialize();
        Forms_Initialize();
        SkinGraphics_Initialize();
    }
    void TearDown() override
    {
        SkinGraphics_Finalize();
        Forms_Finalize();
        Controls_Finalize();
        Graphics_Finalize();
        SysUtils_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new SkinGraphicsEnvironment);

} // namespace
