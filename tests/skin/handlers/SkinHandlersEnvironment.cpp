// The suite starts the run-time units, the skin graphics units, the skin
// manager's unit and the handlers' unit the way the program does.
#include <gtest/gtest.h>
#include "Forms.h"
#include "SysUtils.h"
#include "acGraphicsStartup.h"
#include "acHandlersStartup.h"
#include "sSkinManager.h"
#include "sSkinManagerStartup.h"

namespace {

class SkinHandlersEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        SysUtils_Initialize();
        Graphics_Initialize();
        Controls_Initialize();
        Forms_Initialize();
        SkinGraphics_Initialize();
        sSkinManager_Initialize();
        acSBUtils_Initialize();
    }
    void TearDown() override
    {
        acSBUtils_Finalize();
        sSkinManager_Finalize();
        SkinGraphics_Finalize();
        Forms_Finalize();
        Controls_Finalize();
        Graphics_Finalize();
        SysUtils_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new SkinHandlersEnvironment);

} // namespace
