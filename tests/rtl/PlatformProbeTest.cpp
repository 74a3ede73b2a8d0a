#include <gtest/gtest.h>
#include "PlatformProbe.h"

TEST(PlatformProbe, ReadsTheRunningSystemAndCanBeOverridden)
{
    TPlatformProbe& probe = PlatformProbe();
    EXPECT_GE(probe.WindowsMajor, 6u);
    // Wine's comctl32 reports 5.81 even where the manifest selects version 6.
    EXPECT_GE(probe.ComCtlMajor, 5) << probe.ComCtlMajor << "." << probe.ComCtlMinor;
    EXPECT_TRUE(probe.LayeredWindows);

    probe.CompositionEnabled = !probe.CompositionEnabled;
    bool set = probe.CompositionEnabled;
    EXPECT_EQ(PlatformProbe().CompositionEnabled, set);
    ResetPlatformProbe();
    EXPECT_NE(PlatformProbe().CompositionEnabled, set);
}
