#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv)
{
    // A crash must end the process with a report, not a debugger dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
