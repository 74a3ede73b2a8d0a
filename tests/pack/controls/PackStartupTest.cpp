// The pack's start-up settings units: the registered hint message, the
// layered-window functions, and the menu animation as another process of
// the same window server sees it while the program runs and after. Each
// test puts back the menu animation it found.
#include "HintControlMessage.h"
#include "LayeredWindowFunctions.h"
#include "MenuAnimationSetting.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

const wchar_t ReportVariable[] = L"TAVELIN_REPORT_MENU_ANIMATION";
const wchar_t StartVariable[] = L"TAVELIN_START_MENU_ANIMATION_UNIT";

BOOL MenuAnimation()
{
    BOOL on = FALSE;
    SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &on, 0);
    return on;
}

void SetMenuAnimation(BOOL On)
{
    SystemParametersInfoW(SPI_SETMENUANIMATION, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(On)),
                          SPIF_SENDCHANGE);
}

// The menu animation another process sees now.
BOOL SeenByAnotherProcess()
{
    const DWORD code = RunChild(L"PackStartupChild.ReportsMenuAnimation", ReportVariable);
    EXPECT_TRUE(code == 10 || code == 11) << code;
    return code == 11;
}

// Run only as the children of the tests below.
TEST(PackStartupChild, ReportsMenuAnimation)
{
    if (!IsChild(ReportVariable))
        GTEST_SKIP() << "runs as a child process";
    ExitProcess(10 + (MenuAnimation() ? 1 : 0));
}

TEST(PackStartupChild, StartsTheMenuAnimationUnitAndWaits)
{
    if (!IsChild(StartVariable))
        GTEST_SKIP() << "runs as a child process";
    MenuAnimationSetting_Initialize();
    Sleep(60000);
}

TEST(PackStartup, HintMessageAndLayeredFunctions)
{
    HintControlMessage_Initialize();
    EXPECT_NE(HintControlMessage::Message(), 0u);
    EXPECT_EQ(HintControlMessage::Message(), RegisterWindowMessageW(L"ClearHintControl"));
    HintControlMessage_Finalize();

    LayeredWindowFunctions_Initialize();
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    EXPECT_TRUE(LayeredWindowFunctions::Available());
    EXPECT_EQ(reinterpret_cast<void*>(LayeredWindowFunctions::UpdateLayeredWindow),
              reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
    EXPECT_EQ(reinterpret_cast<void*>(LayeredWindowFunctions::SetLayeredWindowAttributes),
              reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
    EXPECT_NE(LayeredWindowFunctions::UpdateLayeredWindow, nullptr);
    LayeredWindowFunctions_Finalize();
}

class MenuAnimationUnit : public testing::Test {
protected:
    void SetUp() override { found = MenuAnimation(); }
    void TearDown() override { SetMenuAnimation(found); }
    BOOL found = FALSE;
};

TEST_F(MenuAnimationUnit, OffWhileTheProgramRunsAndBackAfter)
{
    SetMenuAnimation(TRUE);
    ASSERT_TRUE(SeenByAnotherProcess());
    MenuAnimationSetting_Initialize();
    EXPECT_FALSE(SeenByAnotherProcess());
    // Only the first start-up and the last shut-down act.
    MenuAnimationSetting_Initialize();
    SetMenuAnimation(TRUE);
    MenuAnimationSetting_Finalize();
    EXPECT_TRUE(SeenByAnotherProcess()) << "the inner shut-down wrote nothing";
    SetMenuAnimation(FALSE);
    MenuAnimationSetting_Finalize();
    EXPECT_TRUE(SeenByAnotherProcess()) << "the last shut-down puts back what the first start found";
}

TEST_F(MenuAnimationUnit, AlreadyOffStaysOff)
{
    SetMenuAnimation(FALSE);
    MenuAnimationSetting_Initialize();
    EXPECT_FALSE(SeenByAnotherProcess());
    MenuAnimationSetting_Finalize();
    EXPECT_FALSE(SeenByAnotherProcess());
}

TEST_F(MenuAnimationUnit, AKilledProgramLeavesItOff)
{
    SetMenuAnimation(TRUE);
    PROCESS_INFORMATION child{};
    ASSERT_EQ(RunChild(L"PackStartupChild.StartsTheMenuAnimationUnitAndWaits", StartVariable, false, &child),
              static_cast<DWORD>(STILL_ACTIVE));
    // This process keeps what it set itself; a third one shows the change.
    const DWORD start = GetTickCount();
    bool on = true;
    while ((on = SeenByAnotherProcess()) && GetTickCount() - start < 20000)
        Sleep(100);
    EXPECT_FALSE(on) << "off while the other program runs";
    TerminateProcess(child.hProcess, 1);
    WaitForSingleObject(child.hProcess, 10000);
    CloseHandle(child.hProcess);
    EXPECT_FALSE(SeenByAnotherProcess()) << "its shut-down never ran";
}

} // namespace
