// Start-up and shut-down of the class-library units the grid's objects use,
// in the program entry's order.
#include <gtest/gtest.h>
#include "Forms.h"
#include "Graphics.h"

namespace {

class GridEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Graphics_Initialize();
        Controls_Initialize();
        Forms_Initialize();
        Application->Initialize();
    }
    void TearDown() override
    {
        Forms_Finalize();
        Controls_Finalize();
        Graphics_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new GridEnvironment);

} // namespace
