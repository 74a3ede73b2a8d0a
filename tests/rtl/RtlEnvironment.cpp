// Process-wide start-up of the run-time units for this suite.
#include <gtest/gtest.h>
#include "SysUtils.h"

namespace {

class RtlEnvironment : public testing::Environment {
public:
    void SetUp() override { SysUtils_Initialize(); }
    void TearDown() override { SysUtils_Finalize(); }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new RtlEnvironment);

} // namespace
