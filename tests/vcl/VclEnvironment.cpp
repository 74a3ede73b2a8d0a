// Start-up and shut-down of the visual units for the whole suite, as the
// program entry does them.
#include <gtest/gtest.h>
#include "Forms.h"
#include "VclTestSupport.h"

namespace {

class TVclEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Controls_Initialize();
        Forms_Initialize();
        Application->Initialize();
    }
    void TearDown() override
    {
        Forms_Finalize();
        Controls_Finalize();
        // The suite leaves no window behind, the application's included. GDI
        // objects are counted by the demo form's test: the platform keeps
        // some from the first use of each kind of window for the process.
        EXPECT_EQ(vcl_test::ThreadWindowCount(), 0);
    }
};

const auto* environment = testing::AddGlobalTestEnvironment(new TVclEnvironment);

} // namespace
