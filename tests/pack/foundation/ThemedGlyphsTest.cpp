// Button glyphs of kind 0 where a visual style is active. The prefix draws
// classic; a process started while the theme manager says "ThemeActive" 1
// gets the platform's own style, so the check runs in a child process of
// this suite and the setting goes back afterwards.
#include "ThemeActiveScope.h"
#include "AdvUtil.h"
#include "AdvXPVS.h"
#include "HTMLTestSupport.h"
#include <gtest/gtest.h>
#include <functional>

using htmltest::TSurface;

namespace {

const wchar_t* const ChildVariable = L"TAVELIN_THEMED_GLYPHS_CHILD";

bool IsChild() { return GetEnvironmentVariableW(ChildVariable, nullptr, 0) > 0; }

// Runs this suite's child test in a new process; its exit code.
DWORD RunChild()
{
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    String command = L"\"" + String(exe) + L"\" --gtest_filter=ThemedGlyphsChild.*";
    SetEnvironmentVariableW(ChildVariable, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                        &process);
    SetEnvironmentVariableW(ChildVariable, nullptr);
    if (!started)
        return 0xFFFFFFFF;
    DWORD code = 0xFFFFFFFE;
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

} // namespace

TEST(ThemedGlyphs, KindZeroDrawsTheVisualStyleWhereOneIsActive)
{
    if (IsChild())
        GTEST_SKIP() << "the child runs only its own test";
    DWORD code = 0;
    {
        const TThemeActiveScope themed(L"1");
        code = RunChild();
    }
    EXPECT_EQ(code, 0u) << "the themed child process failed (its output is above)";
}

TEST(ThemedGlyphsChild, ThemedGlyphsDifferFromClassicOnes)
{
    if (!IsChild())
        GTEST_SKIP() << "runs in the child process that the themed test starts";
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 60, 24, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    {
        const AdvXPVS::TThemeData probe(true, window, L"button");
        ASSERT_TRUE(probe) << "no visual style in a process started with ThemeActive 1";
    }
    TColorTones tones;
    ClearColorTones(tones);
    using TDraw = std::function<void(TCanvas*, int kind)>;
    const std::pair<const char*, TDraw> glyphs[] = {
        {"drop-down", [&](TCanvas* c, int k) { DrawDropDownButton(c, window, TRect(0, 0, 60, 22), k, 0, tones); }},
        {"button", [&](TCanvas* c, int k) { DrawButtonFace(c, window, TRect(4, 2, 56, 20), k, 0, tones, false, L""); }},
        {"spin", [&](TCanvas* c, int k) { DrawSpinButtons(c, window, TRect(0, 1, 60, 23), k, 0, tones); }},
    };
    for (const auto& [name, draw] : glyphs) {
        SCOPED_TRACE(name);
        TSurface themed(60, 24), classic(60, 24);
        draw(themed.Canvas(), 0);
        draw(classic.Canvas(), 1);
        EXPECT_FALSE(themed.Inked(themed.All()).IsEmpty());
        int differing = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 60; ++x)
                differing += themed.Pixel(x, y) != classic.Pixel(x, y);
        EXPECT_GT(differing, 20) << "the style's own look, not the classic one";
    }
    DestroyWindow(window);
}
