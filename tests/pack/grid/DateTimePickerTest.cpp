// The date-time pickers over the platform's picker: the time part made and
// freed by the kind, a null date as today, auto-tab with real digit keys, Tab
// inside a grid, user strings, the metro button's pixels and the focus
// timer's click.
#include <gtest/gtest.h>
#include "AdvDateTimePicker.h"
#include "EditorTestSupport.h"
#include "SysUtils.h"
#include <cmath>
#include <commctrl.h>

namespace {

using pack_test::Pump;
using pack_test::TSnapshot;

void RealKey(WORD Key)
{
    INPUT in[2]{};
    for (auto& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = Key;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(Key, MAPVK_VK_TO_VSC));
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump();
    Pump();
}

// The shift key as the thread's key state reports it, for the scope.
class TShiftHeld {
public:
    explicit TShiftHeld(bool Down)
    {
        GetKeyboardState(keys_);
        saved_ = keys_[VK_SHIFT];
        keys_[VK_SHIFT] = Down ? 0x80 : 0;
        SetKeyboardState(keys_);
    }
    ~TShiftHeld()
    {
        keys_[VK_SHIFT] = saved_;
        SetKeyboardState(keys_);
    }

private:
    BYTE keys_[256]{};
    BYTE saved_ = 0;
};

class DateTimePickerTest : public pack_test::FormTest {
protected:
    void SetUp() override
    {
        editor_test::WarmUpPlatformControls();
        FormTest::SetUp();
    }
    template <class T>
    T* NewPicker(int Top = 40)
    {
        auto* picker = New<T>(form);
        picker->SetParent(form);
        picker->SetBounds(120, Top, 240, 24);
        return picker;
    }
    // A user string sent as the parent reflects the picker's notification.
    static DWORD SendUserString(TWinControl* Picker, const wchar_t* Text, SYSTEMTIME& Result)
    {
        NMDATETIMESTRINGW user{};
        user.nmhdr.hwndFrom = Picker->Handle();
        user.nmhdr.code = DTN_USERSTRINGW;
        user.pszUserString = Text;
        user.dwFlags = 0xFF;
        Picker->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&user));
        Result = user.st;
        return user.dwFlags;
    }
};

TEST_F(DateTimePickerTest, VersionsReadAsTheirOwn)
{
    auto* grid = NewPicker<TAsgDateTimePicker>();
    auto* adv = NewPicker<TAdvDateTimePicker>(80);
    grid->SetVersion(L"9.9.9.9");
    EXPECT_EQ(grid->GetVersion(), L"1.0.0.0");
    EXPECT_EQ(adv->GetVersion(), L"1.2.2.0");
}

TEST_F(DateTimePickerTest, TimePartIsMadeAndFreedByTheKind)
{
    auto* picker = NewPicker<TAdvDateTimePicker>();
    ShowForm();
    ASSERT_NE(picker->TimePicker(), nullptr) << "the default kind shows a time part";
    TCustomDateTimePicker* part = picker->TimePicker();
    EXPECT_EQ(part->GetParent(), picker);
    EXPECT_TRUE(part->GetVisible());
    EXPECT_TRUE(part->IsTimePicker());
    EXPECT_EQ(part->TDateTimePicker::GetKind(), dtkTime);
    EXPECT_LT(part->GetLeft() + part->GetWidth(), picker->GetWidth()) << "left of the drop button";
    picker->SetKind(dkDate);
    EXPECT_EQ(picker->TimePicker(), nullptr);
    picker->SetKind(dkDateTime);
    ASSERT_NE(picker->TimePicker(), nullptr);
    picker->SetKind(dkTime);
    EXPECT_EQ(picker->TimePicker(), nullptr);
    EXPECT_EQ(picker->TDateTimePicker::GetKind(), dtkTime);
}

TEST_F(DateTimePickerTest, DateTimeGoesThroughTheTimePart)
{
    auto* picker = NewPicker<TAdvDateTimePicker>();
    ShowForm();
    const TDateTime value = EncodeDate(2024, 3, 15) + EncodeTime(10, 20, 30, 400);
    picker->SetDateTime(value);
    EXPECT_DOUBLE_EQ(picker->GetDate(), EncodeDate(2024, 3, 15));
    EXPECT_NEAR(picker->GetTime(), EncodeTime(10, 20, 30, 0), 1e-9) << "milliseconds dropped";
    // A time typed into the time part is the picker's time.
    picker->TimePicker()->TDateTimePicker::SetDateTime(EncodeDate(2024, 3, 15) + EncodeTime(8, 0, 0, 0));
    EXPECT_NEAR(picker->GetDateTime(), EncodeDate(2024, 3, 15) + EncodeTime(8, 0, 0, 0), 1e-6);
    picker->SetDate(EncodeDate(2025, 1, 2));
    EXPECT_NEAR(picker->GetDateTime(), EncodeDate(2025, 1, 2) + EncodeTime(8, 0, 0, 0), 1e-6);
}

TEST_F(DateTimePickerTest, NullDateIsTodayOnlyWhenAsked)
{
    struct Case {
        bool nullIsToday;
        TDateTime day;
    };
    for (const Case& c : {Case{true, Date()}, Case{false, 0.0}}) {
        auto* picker = NewPicker<TAdvDateTimePicker>();
        picker->SetNullDateIsToday(c.nullIsToday);
        ShowForm();
        picker->SetDateTime(0.5);
        EXPECT_NEAR(picker->GetDateTime(), c.day + 0.5, 1e-6) << c.nullIsToday;
        picker->Free();
    }
}

TEST_F(DateTimePickerTest, UnparsableUserStringIsRefusedAndTheDateStays)
{
    auto* picker = NewPicker<TAdvDateTimePicker>();
    picker->SetShowCheckbox(true);
    ShowForm();
    const TDateTime before = EncodeDate(2024, 3, 15);
    picker->SetDateTime(before);
    SYSTEMTIME st{};
    EXPECT_EQ(SendUserString(picker, L"no date at all", st), DWORD(GDT_ERROR));
    EXPECT_NEAR(picker->GetDate(), before, 1e-9);

    // A handler decides.
    picker->OnUserInput = [](TObject*, const String& Text, TDateTime& Value, bool& Allow) {
        if (Text == L"tomorrow") {
            Value = EncodeDate(2024, 3, 16);
            Allow = true;
        }
    };
    EXPECT_EQ(SendUserString(picker, L"tomorrow", st), DWORD(GDT_VALID));
    EXPECT_EQ(st.wDay, 16);
    EXPECT_EQ(SendUserString(picker, L"later", st), DWORD(GDT_ERROR));

    // The plain picker without a check box answers the same way.
    auto* plain = NewPicker<TDateTimePicker>(120);
    Pump();
    const TFormatSettings saved = FormatSettings;
    EXPECT_EQ(SendUserString(plain, L"nonsense", st), DWORD(GDT_ERROR));
    FormatSettings.ShortDateFormat = L"d.M.yyyy";
    FormatSettings.DateSeparator = L'.';
    EXPECT_EQ(SendUserString(plain, L"3.4.2024", st), DWORD(GDT_VALID));
    FormatSettings = saved;
    EXPECT_EQ(st.wMonth, 4);
}

TEST_F(DateTimePickerTest, TabStaysInsideAGridCell)
{
    auto* picker = NewPicker<TAdvDateTimePicker>();
    picker->SetGridTabHandling(true);
    ShowForm();
    // The time part takes its setting when it is made; make it again.
    picker->SetKind(dkDate);
    picker->SetKind(dkDateTime);
    TCustomDateTimePicker* part = picker->TimePicker();
    ASSERT_NE(part, nullptr);
    auto wantsTab = [](TWinControl* c) { return (c->Perform(WM_GETDLGCODE, VK_TAB, 0) & DLGC_WANTTAB) != 0; };
    {
        TShiftHeld shift(false);
        EXPECT_FALSE(wantsTab(picker)) << "Tab leaves the date part";
        EXPECT_TRUE(wantsTab(part)) << "Tab stays in the time part";
    }
    {
        TShiftHeld shift(true);
        EXPECT_TRUE(wantsTab(picker)) << "Shift+Tab stays in the date part";
        EXPECT_FALSE(wantsTab(part));
    }
    picker->SetGridTabHandling(false);
    TShiftHeld shift(true);
    EXPECT_FALSE(wantsTab(picker));
}

TEST_F(DateTimePickerTest, AutoTabMovesOnWithRealDigitKeys)
{
    // Each digit typed, then the date and whether the time part has the focus.
    struct Case {
        TAdvDateTimeKind kind;
        std::string seen;
    };
    const Case cases[] = {
        {dkDateTime, "15.3.2024 12.3.2024 12.3.2024 12.5.2024 12.5.2024 12.5.2024 12.5.2024 12.5.2025T "},
        {dkDate, "15.3.2024 12.3.2024 12.3.2024 12.5.2024 12.5.2024 12.5.2024 12.5.2024 12.5.2025 "},
    };
    for (const Case& c : cases) {
        auto* picker = NewPicker<TAdvDateTimePicker>();
        picker->SetKind(c.kind);
        picker->SetFormat(L"dd.MM.yyyy");
        picker->SetAutoTab(true);
        picker->SetDateTime(EncodeDate(2024, 3, 15) + 0.5);
        ShowForm();
        picker->SetFocus();
        Pump();
        std::string seen;
        for (WORD key : {'1', '2', '0', '5', '2', '0', '2', '5'}) {
            RealKey(key);
            Word y = 0, m = 0, d = 0;
            DecodeDate(picker->GetDateTime(), y, m, d);
            seen += std::to_string(d) + "." + std::to_string(m) + "." + std::to_string(y)
                    + (picker->TimePicker() && picker->TimePicker()->Focused() ? "T " : " ");
        }
        EXPECT_EQ(seen, c.seen) << c.kind;
        if (c.kind == dkDate)
            EXPECT_TRUE(picker->Focused()) << "the last field of a date picker keeps the focus";
        picker->Free();
    }
}

TEST_F(DateTimePickerTest, TimePartMovesToTheNextControlWhenOnlyTheSecondsChanged)
{
    auto* picker = NewPicker<TCustomDateTimePicker>();
    auto* next = New<TEdit>(form);
    next->SetParent(form);
    next->SetTabStop(true);
    next->SetBounds(120, 120, 100, 24);
    picker->SetTabStop(true);
    picker->SetKind(dtkTime);
    picker->SetFormat(L"HH:mm:ss");
    ShowForm();
    picker->SetDateTime(EncodeDate(2024, 3, 15) + EncodeTime(10, 20, 30, 0));
    picker->SetFocus();
    Pump();
    // Hours changed: the next field, the focus stays.
    picker->SetAutoTab(true);
    picker->Perform(WM_KEYDOWN, '0', 0);  // remembers, hands on, posts the shift
    picker->TDateTimePicker::SetDateTime(EncodeDate(2024, 3, 15) + EncodeTime(11, 20, 30, 0));
    Pump();
    EXPECT_TRUE(picker->Focused());
    // Only the seconds changed: the next control.
    picker->Perform(WM_KEYDOWN, '0', 0);
    picker->TDateTimePicker::SetDateTime(EncodeDate(2024, 3, 15) + EncodeTime(11, 20, 31, 0));
    Pump();
    EXPECT_TRUE(next->Focused());
}

TEST_F(DateTimePickerTest, MetroButtonDrawsItsArrowFiveToElevenPixelsIn)
{
    auto* picker = NewPicker<TAsgDateTimePicker>();
    picker->SetButtonColor(clRed);
    picker->SetButtonTextColor(clBlack);
    ShowForm();
    const int left = picker->GetClientWidth() - picker->GetButtonWidth() + 3;  // the button's inner left
    const int row = 1 + 7;
    {
        TSnapshot native(picker->Handle());
        EXPECT_NE(native.Pixel(left + 8, row), ColorToRGB(clRed)) << "without the metro look the native button";
    }
    picker->SetMetroStyle(true);
    TSnapshot metro(picker->Handle());
    for (int x = left + 5; x <= left + 11; ++x)
        EXPECT_EQ(metro.Pixel(x, row), ColorToRGB(clBlack)) << x - left;
    EXPECT_EQ(metro.Pixel(left + 4, row), ColorToRGB(clRed));
    EXPECT_EQ(metro.Pixel(left + 12, row), ColorToRGB(clRed));
    EXPECT_EQ(metro.Pixel(left + 8, row + 3), ColorToRGB(clBlack)) << "the tip";
    EXPECT_EQ(metro.Pixel(left + 8, row - 2), ColorToRGB(clRed));
}

TEST_F(DateTimePickerTest, FocusTimerClicksOnlyWhenThePickerIsUnderThePoint)
{
    auto* picker = NewPicker<TAdvDateTimePicker>();
    picker->SetKind(dkDate);
    picker->SetShowCheckbox(true);
    ShowForm();
    picker->SetDateTime(EncodeDate(2024, 3, 15));
    int pickerPresses = 0;
    picker->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++pickerPresses; };
    auto changeDay = [&](Word Day) {
        NMDATETIMECHANGE change{};
        change.nmhdr.hwndFrom = picker->Handle();
        change.nmhdr.code = DTN_DATETIMECHANGE;
        change.dwFlags = GDT_VALID;
        DateTimeToSystemTime(EncodeDate(2024, 3, Day), change.st);
        picker->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
        for (int i = 0; i < 20; ++i) {
            Sleep(10);
            Pump();
        }
    };

    // Another window over the field: nothing is clicked there.
    TOwned<TForm> cover(New<TForm>(nullptr));
    int coverPresses = 0;
    cover->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++coverPresses; };
    const POINT field = picker->ClientToScreen(POINT{28, 5});
    cover->SetBounds(field.x - 20, field.y - 20, 120, 80);
    cover->SetBorderStyle(bsNone);
    cover->Show();
    SetWindowPos(cover->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump();
    changeDay(16);
    EXPECT_EQ(coverPresses, 0);
    EXPECT_EQ(pickerPresses, 0);
    cover->Hide();
    Pump();

    changeDay(17);
    EXPECT_EQ(pickerPresses, 1) << "the field under the point is the picker's";
}

} // namespace

namespace {

TEST_F(DateTimePickerTest, LabelStandsBesideThePicker)
{
    using namespace AdvDateTimePicker;
    auto* picker = NewPicker<TAdvDateTimePicker>(100);
    picker->SetLabelCaption(L"Due:");
    ShowForm();
    TLabel* label = picker->GetPickerLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetFocusControl(), picker);
    const int T = picker->GetTop(), L = picker->GetLeft(), H = picker->GetHeight(), W = picker->GetWidth();
    const int LH = label->GetHeight(), LW = label->GetWidth(), M = 4;
    struct Case {
        TLabelPosition position;
        int top, left;
    };
    const Case cases[] = {
        {lpLeftTop, T, L - LW - M},
        {lpLeftCenter, T + (H - 2 - LH) / 2, L - LW - M},  // a single border counts 2 pixels
        {lpTopRight, T - LH - M, L + W - LW},
        {lpBottomRight, T + H + M, L + W - LW},
        {lpBottomCenter, T + H + M, L + (W - LW) / 2},
    };
    for (const Case& c : cases) {
        picker->SetLabelPosition(c.position);
        EXPECT_EQ(label->GetTop(), c.top) << c.position;
        EXPECT_EQ(label->GetLeft(), c.left) << c.position;
    }
    int clicks = 0;
    picker->OnLabelClick = [&](TObject* Sender) {
        EXPECT_EQ(Sender, picker);
        ++clicks;
    };
    label->OnClick(label);
    EXPECT_EQ(clicks, 1);
    picker->SetEnabled(false);
    EXPECT_FALSE(label->GetEnabled());
    picker->SetVisible(false);
    EXPECT_FALSE(label->GetVisible());
}

} // namespace

namespace {

TEST_F(DateTimePickerTest, AlignedPickerLeavesRoomForItsLabel)
{
    using namespace AdvDateTimePicker;
    auto* picker = New<TAdvDateTimePicker>(form);
    picker->SetParent(form);
    picker->SetLabelCaption(L"Due:");
    const int room = picker->GetPickerLabel()->GetWidth() + 4;
    picker->SetAlign(alTop);
    ShowForm();
    EXPECT_EQ(picker->GetLeft(), room);
    EXPECT_EQ(picker->GetWidth(), form->GetClientWidth() - room);
    EXPECT_EQ(picker->GetPickerLabel()->GetLeft(), 0);
}

} // namespace
