// The analog clock: its geometry, real clicks on the face, the margin and
// the AM/PM box, the keys its host passes on, the hand animation under real
// timer messages, and OnChange once per completed change.
#include "AdvTimePickerDropDown.h"
#include "DropDownInput.h"
#include "SysUtils.h"

#include <chrono>

using namespace pack_test;
using namespace dropdown_input;

namespace {

TDateTime HM(int H, int M)
{
    return EncodeTime(H, M, 0, 0);
}

String HMText(TDateTime T)
{
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(T, h, m, s, ms);
    return Format(L"%.2d:%.2d", {static_cast<int>(h), static_cast<int>(m)});
}

// Pumps the loop, real WM_TIMER messages included, until Done or 10 s.
template <class F>
bool PumpUntil(F Done)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    return true;
}

class AnalogClockTest : public FormTest {
protected:
    // The hand cursor over the AM/PM box makes its GDI objects once per process.
    static void SetUpTestSuite() { ::SetCursor(Screen->GetCursors(crHandPoint)); }
    void SetUp() override
    {
        FormTest::SetUp();
        watch = New<TAdvWatch>(form);
        watch->SetParent(form);
        watch->SetBounds(20, 20, 180, 180);
        watch->OnChange = [this](TObject*) { ++changes; };
        ShowForm();
    }
    TAdvWatch* watch = nullptr;
    int changes = 0;
};

TEST_F(AnalogClockTest, DefaultGeometryHasATenPixelMargin)
{
    EXPECT_EQ(watch->GetFaceRect(), TRect(10, 10, 170, 170));
    EXPECT_EQ(watch->GetCenter().x, 90);
    EXPECT_EQ(watch->GetCenter().y, 90);
    EXPECT_EQ(watch->GetRadius(), 80.0);
    struct {
        POINT p;
        int minute;
    } cases[] = {{{150, 90}, 15}, {{90, 30}, 0}, {{90, 150}, 30}, {{30, 90}, 45}, {{5, 5}, 53}};
    for (const auto& c : cases)
        EXPECT_EQ(watch->XYToMinute(c.p.x, c.p.y), c.minute) << c.p.x << "," << c.p.y;
    EXPECT_EQ(watch->GetVersion(), L"1.1.1.3");
}

TEST_F(AnalogClockTest, ATinyClockHasAnEmptyFaceAndStillPaints)
{
    watch->SetBounds(20, 20, 15, 15);
    const TRect face = watch->GetFaceRect();
    EXPECT_EQ(face.Width(), 0);
    EXPECT_EQ(face.Height(), 0);
    EXPECT_NO_THROW(TSnapshot picture(watch));
}

TEST_F(AnalogClockTest, ClicksSetTheHourInsideAndTheMinuteOutsideTheFace)
{
    watch->SetAnimation(false);
    const POINT ampmCentre = [&] {
        const TRect r = watch->GetAMPMRect();
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }();
    struct Case {
        const char* what;
        TDateTime start;
        POINT click;
        const wchar_t* time;
        int changes;
    } cases[] = {
        {"right of the centre, morning", HM(9, 0), {130, 90}, L"03:00", 1},
        {"right of the centre, evening", HM(21, 0), {130, 90}, L"15:00", 1},
        {"the hour already shown", HM(15, 10), {130, 90}, L"15:10", 0},
        {"near twelve, left of the top, morning", HM(5, 0), {88, 30}, L"00:00", 1},
        {"near twelve, right of the top, morning", HM(5, 0), {92, 30}, L"00:00", 1},
        {"near twelve, evening", HM(17, 0), {88, 30}, L"12:00", 1},
        {"margin right of the face", HM(10, 40), {176, 90}, L"10:15", 1},
        {"margin above, from minute 45", HM(10, 45), {90, 3}, L"11:00", 1},
        {"margin above, from minute 15", HM(10, 15), {90, 3}, L"10:00", 1},
        {"the AM/PM box", HM(9, 30), ampmCentre, L"21:30", 1},
        {"the AM/PM box in the evening", HM(21, 30), ampmCentre, L"09:30", 1},
    };
    for (const Case& c : cases) {
        watch->SetTime(c.start);
        changes = 0;
        Click(watch, c.click);
        EXPECT_EQ(HMText(watch->GetTime()), c.time) << c.what;
        EXPECT_EQ(changes, c.changes) << c.what;
        Word h = 0, m = 0, s = 0, ms = 0;
        DecodeTime(watch->GetTime(), h, m, s, ms);
        EXPECT_EQ(watch->GetAM(), h < 12) << c.what;
    }
}

TEST_F(AnalogClockTest, ReadOnlyAndAutomaticClocksIgnoreClicksAndKeys)
{
    watch->SetAnimation(false);
    watch->SetTime(HM(9, 0));
    watch->SetReadOnly(true);
    Click(watch, {130, 90});
    EXPECT_EQ(HMText(watch->GetTime()), L"09:00");
    watch->SetReadOnly(false);
    watch->GetSettings()->SetAuto(true);
    const TDateTime held = watch->GetTime();
    Click(watch, {130, 90});
    Click(watch, {176, 90});
    for (Word key : {Word('A'), Word('P'), Word(VK_PRIOR), Word(VK_HOME), Word(VK_END), Word(VK_LEFT)})
        watch->HandleKey(key);
    EXPECT_EQ(watch->GetTime(), held);
    EXPECT_EQ(changes, 0);
    // From code the hour still moves.
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(watch->GetDisplayTime(), h, m, s, ms);
    watch->SetHour(static_cast<Byte>((h + 5) % 24));
    EXPECT_EQ(changes, 1);
}

TEST_F(AnalogClockTest, KeysStepHoursAndMinutesWithTheirWraps)
{
    watch->SetAnimation(false);
    struct Case {
        const char* what;
        TDateTime start;
        Word key;
        const wchar_t* time;
        int changes;
    } cases[] = {
        {"A in the afternoon", HM(15, 0), 'A', L"03:00", 1},
        {"A in the morning", HM(3, 0), 'A', L"03:00", 0},
        {"P in the afternoon", HM(15, 0), 'P', L"15:00", 0},
        {"P in the morning", HM(3, 20), 'P', L"15:20", 1},
        {"Page Up", HM(10, 5), VK_PRIOR, L"11:05", 1},
        {"Page Up from 23", HM(23, 5), VK_PRIOR, L"00:05", 1},
        {"Page Down", HM(5, 5), VK_NEXT, L"04:05", 1},
        {"Page Down from 0", HM(0, 5), VK_NEXT, L"23:05", 1},
        {"Home", HM(5, 20), VK_HOME, L"12:20", 1},
        {"End from minute 45", HM(10, 45), VK_END, L"11:00", 1},
        {"End from minute 15", HM(10, 15), VK_END, L"10:00", 1},
        {"Left", HM(10, 30), VK_LEFT, L"10:29", 1},
        {"Left across the hour", HM(10, 0), VK_LEFT, L"09:59", 1},
        {"Left across midnight", HM(0, 0), VK_LEFT, L"23:59", 1},
        {"Right", HM(10, 30), VK_RIGHT, L"10:31", 1},
        {"Right across the hour", HM(10, 59), VK_RIGHT, L"11:00", 1},
        {"Right across midnight", HM(23, 59), VK_RIGHT, L"00:00", 1},
        {"Up", HM(10, 30), VK_UP, L"10:30", 0},
    };
    for (const Case& c : cases) {
        watch->SetTime(c.start);
        changes = 0;
        watch->HandleKey(c.key);
        EXPECT_EQ(HMText(watch->GetTime()), c.time) << c.what;
        EXPECT_EQ(changes, c.changes) << c.what;
    }
}

TEST_F(AnalogClockTest, MinuteSixtyIsAnInvalidTime)
{
    watch->SetAnimation(false);
    watch->SetTime(HM(8, 20));
    try {
        watch->SetMinute(60);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid time");
    }
    EXPECT_EQ(HMText(watch->GetTime()), L"08:20");
    EXPECT_EQ(changes, 0);
}

TEST_F(AnalogClockTest, TheTimeSetterIsSilent)
{
    watch->SetTime(HM(7, 0));
    watch->SetTime(HM(19, 0));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(watch->GetAM());
    EXPECT_FALSE(watch->IsAnimating());
}

TEST_F(AnalogClockTest, AnAnimatedMoveReachesItsTargetAndReportsOnce)
{
    struct Case {
        const char* what;
        int factor;
        TDateTime start;
        std::function<void()> act;
        const wchar_t* time;
    } cases[] = {
        {"click on the face", 10, HM(9, 0), [&] { Click(watch, {130, 90}); }, L"03:00"},
        {"click in the margin", 10, HM(9, 40), [&] { Click(watch, {176, 90}); }, L"09:15"},
        {"End through twelve", 10, HM(10, 45), [&] { watch->HandleKey(VK_END); }, L"11:00"},
        {"Page Down", 10, HM(10, 45), [&] { watch->HandleKey(VK_NEXT); }, L"09:45"},
        {"a factor of 0 counts as 1", 0, HM(2, 0), [&] { watch->SetHour(20); }, L"20:00"},
        {"the AM/PM box rolls, then the hour moves", 10, HM(9, 30),
         [&] {
             const TRect r = watch->GetAMPMRect();
             Click(watch, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
         },
         L"21:30"},
    };
    for (const Case& c : cases) {
        watch->SetAnimation(true);
        watch->SetAnimationFactor(c.factor);
        watch->SetTime(c.start);
        changes = 0;
        c.act();
        ASSERT_TRUE(PumpUntil([&] { return !watch->IsAnimating(); })) << c.what;
        EXPECT_EQ(HMText(watch->GetTime()), c.time) << c.what;
        EXPECT_EQ(changes, 1) << c.what;
    }
}

TEST_F(AnalogClockTest, ANewMoveReplacesTheRunningOne)
{
    watch->SetTime(HM(1, 10));
    watch->SetHour(11);
    ASSERT_TRUE(watch->IsAnimating());
    watch->SetMinute(50);
    ASSERT_TRUE(PumpUntil([&] { return !watch->IsAnimating(); }));
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(watch->GetTime(), h, m, s, ms);
    EXPECT_EQ(m, 50);
    EXPECT_LT(h, 11) << "the hour move stopped where it was";
    EXPECT_EQ(changes, 1);
}

TEST_F(AnalogClockTest, StylesApplyOnlyOnChangeAndSuperNovaMarksStayBytes)
{
    watch->GetAppearance()->SetHourMarkLength(3);
    watch->SetStyle(wsClassic);
    EXPECT_EQ(watch->GetAppearance()->GetHourMarkLength(), 3) << "the stored style applies nothing";
    watch->SetStyle(wsBlack);
    watch->SetStyle(wsClassic);
    EXPECT_EQ(watch->GetAppearance()->GetHourMarkLength(), 8);
    EXPECT_EQ(watch->GetAppearance()->GetHourFont()->GetName(), L"Comic Sans MS");

    watch->SetStyle(wsSuperNova);
    EXPECT_EQ(watch->GetAppearance()->GetHourMarkLength(), 40);
    EXPECT_EQ(watch->GetAppearance()->GetMinuteMarkLength(), 60);
    watch->SetStyle(wsClassic);
    watch->SetBounds(0, 0, 1200, 1200);
    watch->SetStyle(wsSuperNova);
    EXPECT_EQ(watch->GetAppearance()->GetHourMarkLength(), 255) << "not 267 modulo 256";
    EXPECT_EQ(watch->GetAppearance()->GetMinuteMarkLength(), 255);
    watch->SetStyle(wsSports);
    EXPECT_EQ(watch->GetAppearance()->GetCenterPointSize(), 255);
}

TEST_F(AnalogClockTest, TheCursorIsAHandOverTheAMPMBox)
{
    const TRect r = watch->GetAMPMRect();
    MoveMouse(watch, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    MoveMouse(watch, {(r.left + r.right) / 2 + 1, (r.top + r.bottom) / 2});
    EXPECT_EQ(GetCursor(), Screen->GetCursors(crHandPoint));
    MoveMouse(watch, {40, 40});
    MoveMouse(watch, {41, 40});
    EXPECT_NE(GetCursor(), Screen->GetCursors(crHandPoint));
}

TEST(WatchSettingsTest, AssignReportsOnlyAChangeOfAuto)
{
    TOwned<TWatchSettings> a(New<TWatchSettings>()), b(New<TWatchSettings>());
    int changes = 0;
    a->OnChange = [&](TObject*) { ++changes; };
    b->SetSecond(false);
    b->SetTimeOffset(90);
    a->Assign(b.get());
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(a->GetSecond());
    EXPECT_EQ(a->GetTimeOffset(), 90);
    b->SetAuto(true);
    a->Assign(b.get());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(a->GetAuto());
}

} // namespace
