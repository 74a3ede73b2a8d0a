// Start-up and shut-down of the class-library units the grid's objects use,
// in the program entry's order.
#include <gtest/gtest.h>
#include "AdvGrid.h"
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
        AdvGrid_Initialize();
    }
    void TearDown() override
    {
        AdvGrid_Finalize();
        Forms_Finalize();
        Controls_Finalize();
        Graphics_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new GridEnvironment);

} // namespace
