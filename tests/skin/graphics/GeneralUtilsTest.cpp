// Rectangle, value, word, INI-section, path and system helpers.
#include <gtest/gtest.h>
#include "Forms.h"
#include "PlatformProbe.h"
#include "TestSupport.h"
#include "acntUtils.h"
#include "sGraphUtils.h"

namespace {

std::string Text(const TRect& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

TEST(RectHelpers, SizesAndConstruction)
{
    EXPECT_EQ(GetRectWidth(TRect(10, 0, 5, 0)), -5);
    EXPECT_EQ(GetRectWidth(TRect(10, 0, 5, 0), true), 0);
    EXPECT_EQ(GetRectHeight(TRect(0, 8, 0, 2)), -6);
    EXPECT_EQ(GetRectHeight(TRect(0, 8, 0, 2), true), 0);
    EXPECT_EQ(RectOfSize(30, 20, 5, 5), TRect(5, 5, 30, 20)) << "not (5,5,35,25)";
    EXPECT_EQ(RectSize(TRect(10, 10, 4, 30)), TPoint(0, 20));
    EXPECT_EQ(SizeToRect(TSize(7, 9)), TRect(0, 0, 7, 9));
    EXPECT_EQ(ShiftRect(TRect(1, 2, 3, 4), 3), TRect(4, 5, 6, 7));
    EXPECT_EQ(OffsetRectCopy(TRect(1, 2, 3, 4), -1, 2), TRect(0, 4, 2, 6));
    EXPECT_EQ(IntersectRects(TRect(0, 0, 10, 10), TRect(20, 5, 30, 8)), TRect(20, 5, 10, 8))
        << "disjoint rectangles give an inverted result";
}

TEST(RectHelpers, ControlsGiveTheirSizeAndPosition)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(30, 40, 200, 150);
    EXPECT_EQ(ControlRect(form.get()), TRect(0, 0, 200, 150));
    EXPECT_EQ(ControlPos(form.get()), TPoint(30, 40));
    TOwned<TBitmap> image(MakeBitmap32ForForm(form.get()));
    EXPECT_EQ(image->GetPixelFormat(), pf32bit);
    EXPECT_EQ(BitmapSize(image.get()), TPoint(200, 150)) << "the whole form, frame included";
}

TEST(RectHelpers, OverlapAndContainment)
{
    const TRect bounds(10, 10, 20, 20);
    struct Case {
        TRect r;
        bool overlap, whole, touching;
    } cases[] = {
        {{12, 12, 18, 18}, true, true, true},
        {{10, 10, 20, 20}, true, true, true},     // edges included
        {{10, 10, 21, 20}, true, false, true},
        {{20, 10, 30, 20}, false, false, true},   // shares the right edge
        {{21, 10, 30, 20}, false, false, false},
        {{0, 0, 10, 10}, false, false, false},    // touches the top-left corner from outside
        {{5, 5, 15, 15}, true, false, true},
        {{15, 15, 15, 18}, false, true, true},    // empty never overlaps
        {{0, 0, 100, 100}, true, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RectsOverlap(bounds, c.r), c.overlap) << Text(c.r);
        EXPECT_EQ(RectInRect(bounds, c.r, true), c.whole) << Text(c.r);
        EXPECT_EQ(RectInRect(bounds, c.r, false), c.touching) << Text(c.r);
    }
}

TEST(ValueHelpers, RangesAndClamping)
{
    struct Case {
        int value, low, high;
        bool reversed, between;
    } cases[] = {
        {5, 10, 1, true, true},  {5, 10, 1, false, false}, {1, 1, 10, false, true},
        {10, 1, 10, true, true}, {11, 1, 10, true, false}, {0, 10, 1, true, false},
        {3, 3, 3, true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueBetween(c.value, c.low, c.high, c.reversed), c.between)
            << c.value << " in " << c.low << ".." << c.high << (c.reversed ? " reversed" : "");

    EXPECT_FALSE(IndexInRange(3, 3, 0));
    EXPECT_TRUE(IndexInRange(0, 3, 0));
    EXPECT_FALSE(IndexInRange(0, 3, 1));
    EXPECT_EQ(ClampValue(-5, 0, 10), 0);
    EXPECT_EQ(ClampValue(15, 0, 10), 10);
    EXPECT_EQ(ClampValue(7, 0, 10), 7);
    int a = 1, b = 2;
    SwapInts(a, b);
    EXPECT_EQ(a * 10 + b, 21);
}

TEST(ValueHelpers, HexText)
{
    struct Case {
        const char* text;
        Int64 value;
    } cases[] = {
        {"ffh", 255}, {"FF", 255}, {"1G", 0}, {"", 0}, {"H", 0}, {"0", 0},
        {"7FFFFFFFFFFFFFFF", INT64_MAX}, {"a0b1", 0xA0B1}, {"12hh", 0}, {"-1", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HexToInt64(c.text), c.value) << '"' << c.text << '"';
}

TEST(ValueHelpers, BlendFunction)
{
    BLENDFUNCTION blend{7, 7, 7, 7};
    InitBlendFunction(blend, 128);
    EXPECT_EQ(blend.BlendOp, AC_SRC_OVER);
    EXPECT_EQ(blend.BlendFlags, 0);
    EXPECT_EQ(blend.SourceConstantAlpha, 128);
    EXPECT_EQ(blend.AlphaFormat, AC_SRC_ALPHA);
}

TEST(WordHelpers, WordsBetweenDelimiters)
{
    const TSysCharSet comma{','};
    const TSysCharSet spaceOrSemi{' ', ';'};
    struct Case {
        const wchar_t* text;
        const TSysCharSet* delims;
        int n;
        const wchar_t* word;
        int position;
        int count;
    } cases[] = {
        {L"a,,b", &comma, 2, L"b", 4, 2},
        {L",,,", &comma, 1, L"", 0, 0},
        {L"", &comma, 1, L"", 0, 0},
        {L"one two;three", &spaceOrSemi, 3, L"three", 9, 3},
        {L"  lead", &spaceOrSemi, 1, L"lead", 3, 1},
        {L"x", &comma, 0, L"", 0, 1},
        {L"x,y", &comma, 3, L"", 0, 2},
        {L"\u0101,\u0102", &comma, 2, L"\u0102", 3, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetNthWordW(c.n, c.text, *c.delims), c.word) << c.n;
        EXPECT_EQ(FindNthWordW(c.n, c.text, *c.delims), c.position);
        EXPECT_EQ(CountWordsW(c.text, *c.delims), c.count);
    }
    EXPECT_EQ(GetNthWordA(2, "a,,b", comma), "b");
    EXPECT_EQ(FindNthWordA(2, "a,,b", comma), 4);
    EXPECT_EQ(CountWordsA(",,,", comma), 0);
    // Characters above 0xFF are never delimiters, whatever their low byte.
    EXPECT_EQ(CountWordsW(L"a\u012Cb", comma), 1);
    EXPECT_FALSE(CharInByteSet(L'\u012C', comma));
    EXPECT_TRUE(CharInByteSet(L',', comma));
}

TEST(WordHelpers, RemoveAndReplace)
{
    struct Case {
        const wchar_t *text, *old, *replacement, *result;
    } cases[] = {
        {L"aaa", L"aa", L"b", L"ba"},
        {L"abcabc", L"b", L"bb", L"abbcabbc"},
        {L"abc", L"x", L"y", L"abc"},
        {L"abc", L"ABC", L"y", L"abc"},
        {L"", L"a", L"b", L""},
        {L"abc", L"", L"y", L"abc"},
        {L"aXbX", L"X", L"", L"ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceAllStr(c.text, c.old, c.replacement), c.result) << c.text;
    EXPECT_EQ(RemoveChar(L"a-b--c-", L'-'), L"abc");
}

class IniSections : public testing::Test {
protected:
    void SetUp() override
    {
        lines->SetText(L"orphan=1\r\n"
                       L"[GENERAL]\r\n"
                       L"; a comment\r\n"
                       L"Version=7\r\n"
                       L"\r\n"
                       L"Color=0x1F\r\n"
                       L"Bare=0x\r\n"
                       L"Big=0XFF\r\n"
                       L"Name=Blue=Sky\r\n"
                       L"[BUTTON]\r\n"
                       L"Color=$10\r\n"
                       L"[]\r\n"
                       L"[Broken\r\n");
        ParseIniSections(lines.get(), sections.get());
    }
    void TearDown() override
    {
        for (int i = 0; i < sections->Count(); ++i)
            sections->GetObject(i)->Free();
    }
    TOwned<TStringList> lines{New<TStringList>()};
    TOwned<TStringList> sections{New<TStringList>()};
};

TEST_F(IniSections, SplitsSectionsAndDropsCommentsAndOrphans)
{
    ASSERT_EQ(sections->Count(), 3);
    EXPECT_EQ(sections->Get(0), L"GENERAL");
    EXPECT_EQ(sections->Get(1), L"BUTTON");
    EXPECT_EQ(sections->Get(2), L"");
    auto* general = dynamic_cast<TStringList*>(sections->GetObject(0));
    ASSERT_NE(general, nullptr);
    EXPECT_EQ(general->Count(), 5);
    // "[Broken" has no closing bracket: it is a line of the section before it.
    auto* last = dynamic_cast<TStringList*>(sections->GetObject(2));
    ASSERT_EQ(last->Count(), 1);
    EXPECT_EQ(last->Get(0), L"[Broken");
}

TEST_F(IniSections, ReadsValuesWithDefaults)
{
    struct Case {
        const wchar_t *section, *key;
        int value;
    } ints[] = {
        {L"GENERAL", L"Version", 7}, {L"GENERAL", L"Color", 31}, {L"GENERAL", L"Bare", -1},
        {L"GENERAL", L"Big", 255},   {L"BUTTON", L"Color", 16},  {L"general", L"version", 7},
        {L"GENERAL", L"Missing", -1}, {L"NOSUCH", L"Version", -1}, {L"GENERAL", L"Name", -1},
    };
    for (const Case& c : ints)
        EXPECT_EQ(ReadIniSectionInt(sections.get(), c.section, c.key, -1), c.value)
            << c.section << "." << c.key;
    EXPECT_EQ(ReadIniSectionStr(sections.get(), L"GENERAL", L"Name", L"-"), L"Blue=Sky");
    EXPECT_EQ(ReadIniSectionStr(sections.get(), L"GENERAL", L"Nope", L"-"), L"-");
}

TEST(IniSectionsParse, ClearsTheTargetAndFreesAListThatCannotBeAdded)
{
    TOwned<TStringList> lines(New<TStringList>());
    lines->SetText(L"[A]\r\nx=1\r\n[A]\r\n");
    TOwned<TStringList> sections(New<TStringList>());
    sections->Add(L"stale");
    sections->SetSorted(true);
    sections->Duplicates = dupError;
    // The second [A] is a duplicate the sorted list refuses.
    EXPECT_THROW(ParseIniSections(lines.get(), sections.get()), EStringListError);
    ASSERT_EQ(sections->Count(), 1);
    EXPECT_EQ(sections->Get(0), L"A");
    sections->GetObject(0)->Free();
}

TEST(PathHelpers, AddPathDelimiter)
{
    struct Case {
        const wchar_t *path, *result;
    } cases[] = {
        {L"", L""}, {L"C", L"C:\\"}, {L"C:/dir/", L"C:/dir\\"}, {L"C:\\dir\\", L"C:\\dir\\"},
        {L"C:\\dir", L"C:\\dir\\"}, {L"/", L"\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddPathDelimiter(c.path), c.result) << c.path;
}

TEST(PathHelpers, FolderExists)
{
    testing_support::TempDir dir;
    String file = dir.File(L"plain.txt");
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);

    EXPECT_TRUE(FolderExists(dir.Path()));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_FALSE(FolderExists(dir.File(L"missing")));
    EXPECT_FALSE(FolderExists(dir.File(L"missing\\deeper")));
    EXPECT_FALSE(FolderExists(L"bad<name>"));

    TSearchRec rec;
    ASSERT_EQ(FirstFileMatch(dir.File(L"*.txt"), faAnyFile, rec), 0);
    EXPECT_EQ(rec.Name, L"plain.txt");
    EXPECT_NE(NextFileMatch(rec), 0);
    CloseFileSearch(rec);
    EXPECT_EQ(GetAppFolder(), ExtractFilePath(ParamStr(0)));
}

TEST(RegistryHelpers, ReadsDwordsAndAnswersZeroOtherwise)
{
    const wchar_t* key = L"Software\\TavelinSkinGraphicsTest";
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    DWORD value = 42;
    RegSetValueExW(handle, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    const wchar_t text[] = L"42";
    RegSetValueExW(handle, L"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    RegCloseKey(handle);

    EXPECT_EQ(ReadRegistryInt(HKEY_CURRENT_USER, key, L"Number"), 42);
    EXPECT_EQ(ReadRegistryInt(HKEY_CURRENT_USER, key, L"Text"), 0);
    EXPECT_EQ(ReadRegistryInt(HKEY_CURRENT_USER, key, L"Missing"), 0);
    EXPECT_EQ(ReadRegistryInt(HKEY_CURRENT_USER, L"Software\\NoSuchTavelinKey", L"Number"), 0);
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

struct ProbeGuard {
    ~ProbeGuard() { ResetPlatformProbe(); }
};

TEST(SystemProbes, VersionAndCaptionFontOnBothSidesOfWindowsSix)
{
    ProbeGuard guard;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    for (DWORD major : {5u, 6u, 10u}) {
        PlatformProbe().WindowsMajor = major;
        EXPECT_EQ(GetCaptionFontHeight(), metrics.lfCaptionFont.lfHeight) << major;
        HFONT font = CreateCaptionFont();
        ASSERT_NE(font, nullptr);
        LOGFONTW lf{};
        GetObjectW(font, sizeof(lf), &lf);
        EXPECT_EQ(lf.lfHeight, metrics.lfCaptionFont.lfHeight);
        DeleteObject(font);
    }
    struct Case {
        DWORD major, minor;
        bool xp;
    } versions[] = {{5, 0, false}, {5, 1, true}, {6, 0, true}, {4, 9, false}};
    for (const Case& c : versions) {
        PlatformProbe().WindowsMajor = c.major;
        PlatformProbe().WindowsMinor = c.minor;
        EXPECT_EQ(IsWinXPOrLater(), c.xp) << c.major << "." << c.minor;
    }
}

BOOL WINAPI ReportsWow64(HANDLE, PBOOL result)
{
    *result = TRUE;
    return TRUE;
}

BOOL WINAPI FailsWow64(HANDLE, PBOOL result)
{
    *result = TRUE;
    return FALSE;
}

TEST(SystemProbes, BoundEntryPointsAndTheirDefaults)
{
    TKernelBindings saved = KernelBindings();
    ASSERT_NE(saved.IsWow64Process, nullptr);
    ASSERT_NE(saved.IsDebuggerPresent, nullptr);
    ASSERT_NE(saved.SHGetFileInfoW, nullptr);
    EXPECT_EQ(IsWow64(), sizeof(void*) == 4 && [] {
        BOOL w = FALSE;
        return IsWow64Process(GetCurrentProcess(), &w) && w;
    }());
    EXPECT_EQ(IsDebuggerAttached(), IsDebuggerPresent() != FALSE);

    KernelBindings().IsWow64Process = ReportsWow64;
    EXPECT_TRUE(IsWow64());
    KernelBindings().IsWow64Process = FailsWow64;
    EXPECT_FALSE(IsWow64()) << "a failing call answers false";

    KernelBindings() = {};
    EXPECT_FALSE(IsWow64());
    EXPECT_TRUE(IsDebuggerAttached());
    LoadShellFileInfo();
    EXPECT_NE(KernelBindings().SHGetFileInfoW, nullptr);
    KernelBindings() = saved;
}

TEST(ShellIcons, IconOfAnExistingFileOnly)
{
    String exe = ParamStr(0);
    struct Case {
        UINT flags;
        int size;
    } cases[] = {{SHGFI_LARGEICON, GetSystemMetrics(SM_CXICON)}, {SHGFI_SMALLICON, GetSystemMetrics(SM_CXSMICON)}};
    for (const Case& c : cases) {
        TOwned<TIcon> icon(LoadFileIcon(exe, c.flags));
        ASSERT_NE(icon, nullptr) << c.flags;
        EXPECT_FALSE(icon->GetEmpty());
        EXPECT_EQ(icon->GetWidth(), c.size) << c.flags;
    }
    testing_support::TempDir dir;
    EXPECT_EQ(LoadFileIcon(dir.File(L"missing.exe"), SHGFI_SMALLICON), nullptr);
    EXPECT_EQ(LoadFileIcon(dir.Path(), SHGFI_SMALLICON), nullptr) << "a folder is no file";

    TKernelBindings saved = KernelBindings();
    KernelBindings().SHGetFileInfoW = nullptr;
    EXPECT_EQ(LoadFileIcon(exe, SHGFI_SMALLICON), nullptr);
    KernelBindings() = saved;
}

int timerTicks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++timerTicks;
}

TEST(Timing, DelayWithMessagesHandlesMessagesMeanwhile)
{
    timerTicks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, CountTick);
    DWORD start = GetTickCount();
    DelayWithMessages(80);
    DWORD elapsed = GetTickCount() - start;
    KillTimer(nullptr, timer);
    EXPECT_GE(elapsed, 80u);
    EXPECT_GE(timerTicks, 1) << "the application's loop ran while waiting";
}

TEST(Timing, WaitUntilTickWaitsForTheInterval)
{
    DWORD start = GetTickCount();
    WaitUntilTick(start, 40);
    EXPECT_GE(GetTickCount() - start, 40u);
    // A start long past returns at once, also across the tick counter's wrap.
    WaitUntilTick(GetTickCount() - 1000, 10);
    WaitUntilTick(0xFFFFFFF0u, 0);
}

} // namespace
