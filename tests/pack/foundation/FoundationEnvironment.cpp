// Process-wide start-up of the units this suite tests, in the program's order.
#include <gtest/gtest.h>

#include "ACXPVS.h"
#include "AdvGDIP.h"
#include "APXPVS.h"
#include "ATXPVS.h"
#include "AdvTBXPVS.h"
#include "AdvXPVS.h"
#include "GridHTML.h"
#include "SysUtils.h"

namespace {

class FoundationEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        SysUtils_Initialize();
        AdvGDIP_Initialize();
        AdvXPVS_Initialize();
        ATXPVS_Initialize();
        APXPVS_Initialize();
        AdvTBXPVS_Initialize();
        ACXPVS_Initialize();
        GridHTML_Initialize();
    }
    void TearDown() override
    {
        GridHTML_Finalize();
        ACXPVS_Finalize();
        AdvTBXPVS_Finalize();
        APXPVS_Finalize();
        ATXPVS_Finalize();
        AdvXPVS_Finalize();
        AdvGDIP_Finalize();
        SysUtils_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new FoundationEnvironment);

} // namespace
