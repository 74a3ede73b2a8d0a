// The suite starts the run-time units, the skin graphics units and the skin
// manager's unit and the components' units the way the program does.
#include <gtest/gtest.h>
#include "Forms.h"
#include "SysUtils.h"
#include "acAlphaImageList.h"
#include "acComponentsStartup.h"
#include "acFontStore.h"
#include "acGraphicsStartup.h"
#include "sSkinManagerStartup.h"

namespace {

class SkinComponentsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        SysUtils_Initialize();
        Graphics_Initialize();
        Controls_Initialize();
        Forms_Initialize();
        SkinGraphics_Initialize();
        sSkinManager_Initialize();
        acFontStore_Initialize();
        acAlphaImageList_Initialize();
        acGlow_Initialize();
        acAlphaHints_Initialize();
        sLabel_Initialize();
        acShellCtrls_Initialize();
        acPopupController_Initialize();
    }
    void TearDown() override
    {
        acPopupController_Finalize();
        acShellCtrls_Finalize();
        sLabel_Finalize();
        acAlphaHints_Finalize();
        acGlow_Finalize();
        acAlphaImageList_Finalize();
        acFontStore_Finalize();
        sSkinManager_Finalize();
        SkinGraphics_Finalize();
        Forms_Finalize();
        Controls_Finalize();
        Graphics_Finalize();
        SysUtils_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new SkinComponentsEnvironment);

} // namespace
