// The skin provider of a form: frame metrics of real windows against the
// system's, the window region cut from the test skin's corners, desktop
// composition through stand-ins of the DWM entry points, and the provider's
// creation, hook and removal.
#include "SkinnedControls.h"
#include "PlatformProbe.h"
#include "SkinFiles.h"
#include "sConst.h"
#include "sSkinProvider.h"
#include <atomic>
#include <thread>

using namespace skinned_controls;

namespace {

// A form that keeps its own region (answers 0xBC4D) and counts messages.
class TRegionForm : public TForm {
public:
    using TForm::TForm;
    bool KeepRegion = false;
    int Seen = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        ++Seen;
        if (KeepRegion && Message.Msg == KeepRegionMessage && Message.WParam == KeepRegionCode) {
            Message.Result = KeepRegionCode;
            return;
        }
        TForm::WndProc(Message);
    }
};

TOwned<TRegionForm> MakeForm(TBorderStyle Style, int X = 100)
{
    TOwned<TRegionForm> form(New<TRegionForm>(nullptr));
    form->SetBorderStyle(Style);
    form->SetBounds(X, 100, 240, 180);
    form->HandleNeeded();
    return form;
}

TsSkinProvider* Skin(TForm* Form, TsSkinManager* Manager)
{
    auto* provider = New<TsSkinProvider>(Form);
    provider->FCommonData->SetSkinManager(Manager);
    provider->FCommonData->UpdateIndexes(true);
    return provider;
}

struct TWinVersionScope {
    int saved = WinVersionLevel;
    explicit TWinVersionScope(int Level) { WinVersionLevel = Level; }
    ~TWinVersionScope() { WinVersionLevel = saved; }
};

TEST(FormMetrics, BordersAndCaptionsOfRealWindows)
{
    TControlsScene scene;
    struct Row {
        TBorderStyle Style;
        TWindowState State;
    };
    const TBorderStyle styles[] = {bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin};
    for (TBorderStyle style : styles)
        for (TWindowState state : {wsNormal, wsMinimized, wsMaximized}) {
            auto form = MakeForm(style);
            form->SetWindowState(state);
            form->Show();
            testing_support::PumpMessages();
            TsSkinProvider* provider = Skin(form.get(), scene.manager.get());
            HWND wnd = form->GetHandle();
            const LONG s = GetWindowLongW(wnd, GWL_STYLE);
            const std::string where = "style " + std::to_string(style) + " state " + std::to_string(state);

            const int frame = (s & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME)
                              : (s & WS_BORDER)   ? GetSystemMetrics(SM_CXDLGFRAME)
                                                  : 0;
            EXPECT_EQ(GetWndBorderWidth(wnd, nullptr, true), frame) << where;
            EXPECT_EQ(provider->BorderWidth(true), frame) << where;
            EXPECT_EQ(provider->BorderHeight(true), frame) << where;
            const bool tool = style == bsToolWindow || style == bsSizeToolWin;
            const bool minimized = IsIconic(wnd);
            const int system = GetSystemMetrics(tool && !minimized ? SM_CYSMCAPTION : SM_CYCAPTION);
            const int caption = (!minimized && (style == bsNone || !(s & WS_CAPTION))) ? 0 : system;
            EXPECT_EQ(provider->CaptionHeight(true), caption) << where;
            EXPECT_EQ(GetSysCaptionHeight(form.get()), system) << where;

            RECT w{}, c{};
            GetWindowRect(wnd, &w);
            GetClientRect(wnd, &c);
            EXPECT_EQ(provider->OffsetX(), ((w.right - w.left) - c.right) / 2) << where;
            EXPECT_EQ(provider->OffsetY(), (w.bottom - w.top) - c.bottom - ((s & WS_BORDER) ? frame : 0)) << where;
            EXPECT_EQ(provider->ShadowSize(), TRect(0, 0, 0, 0)) << where;
            const int expectedWidth = minimized ? 160 : form->GetWidth();
            EXPECT_EQ(provider->CaptionWidth(), expectedWidth) << where;
            EXPECT_GE(provider->HeaderHeight(), 0) << where;
            EXPECT_TRUE(provider->CacheSizeChanged()) << "no cache yet";
            provider->Free();
            ResetSysCaptionHeights();
        }
}

TEST(FormMetrics, ExtendedBordersAndVersions)
{
    auto form = MakeForm(bsSizeable);
    HWND wnd = form->GetHandle();
    const int frame = GetSystemMetrics(SM_CXFRAME);
    struct TNoManagerBorder : public TacBorderForm {
        void CreateNewForm() override {}
        void PaintAll() override {}
        HRGN MakeRgn(int, int) override { return nullptr; }
        void UpdateExBordersPos(bool, Byte) override {}
        int OffsetY() override { return 0; }
        int SkinTitleHeight() override { return 30; }
        int SkinBorderWidth() override { return 0; }
        int ExtraTitleHeight() override { return 0; }
    } border;
    {
        TWinVersionScope win10(10);
        EXPECT_EQ(GetWndBorderWidth(wnd, nullptr, false), frame);
        EXPECT_EQ(GetWndBorderWidth(wnd, &border, false), frame + 4) << "a border form without manager";
        EXPECT_EQ(GetNativeBorderWidth(wnd, &border, false), 0);
    }
    {
        TWinVersionScope win7(7);
        EXPECT_EQ(GetWndBorderWidth(wnd, &border, false), frame);
    }
    const struct {
        int Height, Size;
    } icons[] = {{-101, 32}, {-100, 16}, {0, 16}, {47, 16}, {48, 24}, {64, 24}, {65, 32}};
    for (const auto& row : icons)
        EXPECT_EQ(DefaultIconSize(row.Height), row.Size) << row.Height;
    const struct {
        int Value, Edge, Distance, Offset;
    } snaps[] = {{95, 100, 10, -5}, {110, 100, 10, 10}, {111, 100, 10, 0}, {89, 100, 10, 0}, {100, 100, 0, 0}};
    for (const auto& row : snaps)
        EXPECT_EQ(SnapOffset(row.Value, row.Edge, row.Distance), row.Offset) << row.Value;
}

// Whether (X, Y) of the window lies in its region.
bool InRegion(HWND Wnd, int X, int Y)
{
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(Wnd, region.Get()) == ERROR)
        return true;
    return PtInRegion(region.Get(), X, Y) != FALSE;
}

TEST(FormRegion, CutsTheSkinsCornersOutOfTheWindow)
{
    TControlsScene scene;
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    {
        auto form = MakeForm(bsSizeable);
        form->Show();
        TOwned<TsSkinProvider> provider(Skin(form.get(), scene.manager.get()));
        ASSERT_TRUE(provider->FCommonData->Skinned());
        HWND wnd = form->GetHandle();
        provider->ApplyFormRegion(false, true);
        const int w = form->GetWidth(), h = form->GetHeight();
        const struct {
            int X, Y;
            bool In;
        } points[] = {{0, 0, false}, {2, 0, false}, {0, 2, false}, {2, 2, false}, {3, 0, true}, {0, 3, true},
                      {w - 1, 0, true}, {0, h - 1, true}, {w - 1, h - 1, true}, {w / 2, h / 2, true}};
        for (const auto& p : points)
            EXPECT_EQ(InRegion(wnd, p.X, p.Y), p.In) << p.X << "," << p.Y;
        EXPECT_EQ(provider->Rects.size(), 3u) << "three one-row runs";

        // Maximized: the frame is cut away by the border widths instead.
        {
            auto big = MakeForm(bsSizeable, 300);
            big->SetWindowState(wsMaximized);
            big->Show();
            testing_support::PumpMessages();
            TOwned<TsSkinProvider> bigProvider(Skin(big.get(), scene.manager.get()));
            HWND bigWnd = big->GetHandle();
            ASSERT_TRUE(IsZoomed(bigWnd));
            bigProvider->ApplyFormRegion(false, true);
            const int frame = GetWndBorderWidth(bigWnd, nullptr, false);
            TRegionHandle r(CreateRectRgn(0, 0, 0, 0));
            RECT box{};
            EXPECT_EQ(GetWindowRgn(bigWnd, r.Get()), SIMPLEREGION);
            GetRgnBox(r.Get(), &box);
            EXPECT_EQ(TRect(box), TRect(frame, frame, big->GetWidth() - frame, big->GetHeight() - frame));
        }

        // A form placed in another control gets no region at all.
        TOwned<TForm> host(New<TForm>(nullptr));
        host->SetBounds(0, 0, 400, 400);
        host->HandleNeeded();
        form->SetParent(host.get());
        provider->ApplyFormRegion(false, true);
        TRegionHandle none(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(GetWindowRgn(wnd, none.Get()), ERROR);
        form->SetParent(nullptr);
    }
    {
        // A form that keeps its own region is left alone.
        auto form = MakeForm(bsSizeable);
        form->KeepRegion = true;
        TOwned<TsSkinProvider> provider(Skin(form.get(), scene.manager.get()));
        provider->ApplyFormRegion(false, true);
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(GetWindowRgn(form->GetHandle(), region.Get()), ERROR);
    }
    (void)gdiBefore;
}

TEST(FormRegion, LeavesNoObjectBehind)
{
    TControlsScene scene;
    auto form = MakeForm(bsSizeable);
    form->Show();
    testing_support::PumpMessages();
    const DWORD gdi = testing_support::GdiObjectCount();
    const DWORD user = testing_support::UserObjectCount();
    {
        TOwned<TsSkinProvider> provider(Skin(form.get(), scene.manager.get()));
        provider->ApplyFormRegion(false, true);
        const DWORD withRegion = testing_support::GdiObjectCount();
        for (int i = 0; i < 5; ++i)
            provider->ApplyFormRegion(true, i % 2 == 0);
        EXPECT_EQ(testing_support::GdiObjectCount(), withRegion) << "each new region replaces the old";
        SetWindowRgn(form->GetHandle(), nullptr, FALSE);
    }
    testing_support::PumpMessages();
    EXPECT_EQ(testing_support::GdiObjectCount(), gdi);
    EXPECT_EQ(testing_support::UserObjectCount(), user);
}

// Stand-ins of the DWM entry points that record what they were given.
struct TDwmRecord {
    int Attributes = 0, Thumbnails = 0, Blurs = 0, Previews = 0;
    SIZE Thumb{};
    HRESULT ThumbResult = S_OK;
};
TDwmRecord dwmRecord;

HRESULT WINAPI RecordAttribute(HWND, DWORD, LPCVOID, DWORD)
{
    ++dwmRecord.Attributes;
    return S_OK;
}
HRESULT WINAPI RecordBlur(HWND, const void*)
{
    ++dwmRecord.Blurs;
    return S_OK;
}
HRESULT WINAPI RecordThumbnail(HWND, HBITMAP Bitmap, DWORD)
{
    ++dwmRecord.Thumbnails;
    BITMAP info{};
    GetObjectW(Bitmap, sizeof(info), &info);
    dwmRecord.Thumb = {info.bmWidth, std::abs(info.bmHeight)};
    return dwmRecord.ThumbResult;
}
HRESULT WINAPI RecordPreview(HWND, HBITMAP, POINT*, DWORD)
{
    ++dwmRecord.Previews;
    return S_OK;
}

struct TDwmScope {
    TDwmBindings saved = DwmBindings();
    TPlatformProbe probe = PlatformProbe();
    TDwmScope()
    {
        dwmRecord = TDwmRecord();
        TDwmBindings& dwm = DwmBindings();
        dwm.Loaded = true;
        dwm.SetWindowAttribute = RecordAttribute;
        dwm.EnableBlurBehindWindow = RecordBlur;
        dwm.SetIconicThumbnail = RecordThumbnail;
        dwm.SetIconicLivePreviewBitmap = RecordPreview;
    }
    ~TDwmScope()
    {
        DwmBindings() = saved;
        PlatformProbe() = probe;
    }
};

TEST(DesktopComposition, ThumbnailsFitTheSourceAndFailuresCleanUp)
{
    TDwmScope scope;
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(New<TsSkinProvider>(form.get()));
    provider->FCommonData->EnsureCacheBmp();
    provider->FCommonData->FCacheBmp->SetSize(400, 400);
    HWND wnd = form->GetHandle();

    // Composition off: blur-behind calls nothing, and frees the region.
    PlatformProbe().CompositionEnabled = false;
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    EnableBlurBehind(wnd, true, CreateRectRgn(0, 0, 10, 10));
    EXPECT_EQ(dwmRecord.Blurs, 0);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
    PlatformProbe().CompositionEnabled = true;
    PlatformProbe().WindowsMajor = 10;
    EnableBlurBehind(wnd, true, CreateRectRgn(0, 0, 10, 10));
    EXPECT_EQ(dwmRecord.Blurs, 1);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
    DisableDwmTransitions(wnd, true);
    EXPECT_EQ(dwmRecord.Attributes, 1);

    const struct {
        int SourceW, SourceH, MaxW, MaxH, W, H;
        bool Done;
    } fits[] = {{400, 400, 200, 100, 100, 100, true}, {400, 200, 100, 100, 100, 50, true},
                {200, 400, 100, 100, 50, 100, true}, {400, 400, 0, 100, 0, 0, false},
                {4000, 1, 100, 100, 100, 0, false}};
    for (const auto& row : fits) {
        dwmRecord.Thumb = {};
        provider->FCommonData->FCacheBmp->SetSize(row.SourceW, row.SourceH);
        EXPECT_EQ(SetIconicThumbnail(wnd, provider.get(), row.MaxW, row.MaxH), row.Done) << row.SourceW;
        if (row.Done)
            EXPECT_EQ(dwmRecord.Thumb.cx * 1000 + dwmRecord.Thumb.cy, row.W * 1000 + row.H) << row.SourceW;
        EXPECT_FALSE(provider->FFormState & 0x800);
    }
    // A failing call: answered False, the bit clear, nothing left behind.
    dwmRecord.ThumbResult = E_FAIL;
    provider->FCommonData->FCacheBmp->SetSize(400, 400);
    const DWORD gdiMid = testing_support::GdiObjectCount();
    EXPECT_FALSE(SetIconicThumbnail(wnd, provider.get(), 200, 100));
    EXPECT_FALSE(provider->FFormState & 0x800);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiMid);
    EXPECT_TRUE(SetLivePreviewBitmap(wnd, provider.get()));
    EXPECT_EQ(dwmRecord.Previews, 1);
    EXPECT_FALSE(provider->FFormState & 0x800);
}

TEST(SkinProvider, OnlyFormsAreHooked)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    TPanel* panel = New<TPanel>(form.get());
    TsSkinProvider* provider = nullptr;
    const std::wstring shown = AnsweringBoxes([&] { provider = New<TsSkinProvider>(panel); });
    EXPECT_NE(shown.find(L"TsSkinProvider component may be used with forms only!"), std::wstring::npos) << shown;
    ASSERT_TRUE(provider);
    EXPECT_EQ(provider->GetOwner(), nullptr);
    EXPECT_EQ(provider->Form, nullptr);
    EXPECT_EQ(provider->FCommonData, nullptr);
    EXPECT_EQ(provider->ThirdLists.size(), 23u);
    provider->Free();
}

TEST(SkinProvider, HooksTheFormAndGivesItBack)
{
    TControlsScene scene;
    auto form = MakeForm(bsSizeable);
    auto twin = MakeForm(bsSizeable, 400);
    form->SetColor(0x00204080);
    twin->SetColor(0x00204080);
    form->Show();
    twin->Show();
    HWND wnd = form->GetHandle();
    auto* provider = New<TsSkinProvider>(form.get());
    EXPECT_EQ(SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_PROVIDER), 0),
              reinterpret_cast<LRESULT>(provider));
    EXPECT_EQ(GetOwnerSkinProvider(form.get()), provider);
    EXPECT_EQ(GetWndSkinData(wnd), provider->FCommonData);
    EXPECT_EQ(provider->FCommonData->SkinIndex, scene.Section(L"FORM")) << "the default manager's";
    EXPECT_EQ(provider->FCommonData->FSkinSection, L"FORM");
    EXPECT_EQ(provider->FCommonData->COC, 224);
    EXPECT_EQ(provider->GetResizeMode(), rmStandard);
    provider->SetResizeMode(rmBorder);
    EXPECT_EQ(provider->GetResizeMode(), rmStandard);

    // A second run-time provider is empty; it takes nothing over.
    auto* second = New<TsSkinProvider>(form.get());
    EXPECT_TRUE(second->RTEmpty);
    EXPECT_EQ(GetWndSkinData(wnd), provider->FCommonData);
    second->Free();
    EXPECT_EQ(SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_PROVIDER), 0),
              reinterpret_cast<LRESULT>(provider));

    // A provider made at run time gives way to a new one.
    provider->RTInit = true;
    auto* replacing = New<TsSkinProvider>(form.get());
    EXPECT_FALSE(replacing->RTEmpty);
    EXPECT_EQ(SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_PROVIDER), 0),
              reinterpret_cast<LRESULT>(replacing));

    // Someone hooks the form after the provider; the provider goes; the
    // later hook keeps running and no message reaches the freed provider.
    int laterHook = 0;
    form->WindowProc = [old = form->WindowProc, &laterHook](TMessage& m) {
        ++laterHook;
        old(m);
    };
    replacing->Free();
    EXPECT_EQ(GetPropW(wnd, L"ACSDATA"), nullptr);
    EXPECT_EQ(SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_PROVIDER), 0), 0);
    EXPECT_GT(laterHook, 0);
    form->Invalidate();
    twin->Invalidate();
    testing_support::PumpMessages();
    TOwned<TBitmap> skinnedOnce = Printed(wnd);
    TOwned<TBitmap> plain = Printed(twin->GetHandle());
    for (const POINT p : {POINT{120, 100}, POINT{60, 140}})
        EXPECT_EQ(PixelAt(skinnedOnce.get(), p.x, p.y), PixelAt(plain.get(), p.x, p.y)) << p.x << "," << p.y;

    // Without a later hook the form's procedure before the provider comes back.
    auto before = [old = form->WindowProc](TMessage& m) { old(m); };
    form->WindowProc = before;
    auto* last = New<TsSkinProvider>(form.get());
    EXPECT_EQ(form->WindowProc.target<decltype(before)>(), nullptr);
    last->Free();
    EXPECT_NE(form->WindowProc.target<decltype(before)>(), nullptr);
    EXPECT_EQ(SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_PROVIDER), 0), 0);
}

TEST(SkinProvider, ForeignControlListsAndControlIds)
{
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(New<TsSkinProvider>(form.get()));
    auto* lists = static_cast<TsThirdPartyList*>(provider->FThirdParty);
    for (int i = 0; i < 23; ++i)
        lists->SetString(i, L"TClass" + IntToStr(i) + L"\r\nTOther");
    provider->LoadThirdLists();
    EXPECT_TRUE(provider->OwnThirdLists);
    for (int i = 0; i < 23; ++i) {
        ASSERT_EQ(provider->ThirdLists[i]->Count(), 2) << i;
        EXPECT_EQ(provider->ThirdLists[i]->Get(0), L"TClass" + IntToStr(i));
        provider->ThirdLists[i]->Add(L"TAdded");
    }
    provider->SaveThirdLists();
    for (int i = 0; i < 23; ++i)
        EXPECT_NE(lists->GetString(i).find(L"TAdded"), String::npos) << i;

    TPanel* outer = New<TPanel>(form.get());
    outer->SetParent(form.get());
    TEdit* inner = New<TEdit>(outer);
    inner->SetParent(outer);
    inner->HandleNeeded();
    SetWindowLongPtrW(inner->GetHandle(), GWLP_ID, 4321);
    EXPECT_EQ(FindComponentByCtrlID(4321, form.get()), inner) << "found below a child component";
    EXPECT_EQ(FindComponentByCtrlID(9999, form.get()), nullptr);
}

TEST(SkinProvider, PreviewIsAskedByTheFirstParameterExactly)
{
    const struct {
        std::vector<String> Params;
        bool Preview;
    } rows[] = {
        {{L"/acpreview"}, true},
        {{L"/acpreview", L"more"}, true},
        {{L"/ACPREVIEW"}, false},
        {{L"/AcPreview"}, false},
        {{L"x", L"/acpreview"}, false},
        {{}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PreviewRequested(row.Params), row.Preview) << row.Params.size();
    // This test program was started without it.
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(New<TsSkinProvider>(form.get()));
    EXPECT_FALSE(PreviewMode);
}

// A stand-in "Skin Editor" window on a thread of its own.
std::atomic<int> editorCalls{0};
LRESULT CALLBACK EditorProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == SkinEditorMessage && WParam == 3) {
        ++editorCalls;
        return 1;
    }
    return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

TEST(SkinProvider, AnnouncesThePreviewFormOnce)
{
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(New<TsSkinProvider>(form.get()));
    editorCalls = 0;
    std::atomic<HWND> editor{nullptr};
    std::atomic<bool> stop{false};
    std::thread editorThread([&] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = EditorProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"TavelinTestSkinEditor";
        RegisterClassW(&cls);
        editor = CreateWindowW(cls.lpszClassName, L"Skin Editor", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               cls.hInstance, nullptr);
        MSG msg;
        while (!stop) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(1);
        }
        DestroyWindow(editor);
        UnregisterClassW(cls.lpszClassName, cls.hInstance);
    });
    while (!editor)
        Sleep(1);
    // Not in preview mode: nothing is sent.
    PreviewMode = false;
    PreviewWnd = nullptr;
    provider->NotifySkinEditor(form->GetHandle());
    EXPECT_EQ(editorCalls, 0);
    PreviewMode = true;
    provider->NotifySkinEditor(form->GetHandle());
    EXPECT_EQ(editorCalls, 1);
    EXPECT_EQ(PreviewWnd, form->GetHandle());
    EXPECT_FALSE(PreviewMode);
    PreviewMode = true;
    provider->NotifySkinEditor(form->GetHandle());
    EXPECT_EQ(editorCalls, 1) << "announced once";
    stop = true;
    editorThread.join();
    PreviewMode = false;
    PreviewWnd = nullptr;
}

} // namespace

namespace {

TEST(SkinProvider, AHungEditorCostsOnlyTheTimeLimit)
{
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(New<TsSkinProvider>(form.get()));
    editorCalls = 0;
    std::atomic<HWND> editor{nullptr};
    std::atomic<bool> stop{false};
    std::thread editorThread([&] {
        WNDCLASSW cls{};
        cls.lpfnWndProc = EditorProc;
        cls.hInstance = GetModuleHandleW(nullptr);
        cls.lpszClassName = L"TavelinTestHungEditor";
        RegisterClassW(&cls);
        editor = CreateWindowW(cls.lpszClassName, L"Skin Editor", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               cls.hInstance, nullptr);
        // Hung: never looks at its messages until told to go.
        while (!stop)
            Sleep(5);
        DestroyWindow(editor);
        UnregisterClassW(cls.lpszClassName, cls.hInstance);
    });
    while (!editor)
        Sleep(1);
    PreviewMode = true;
    PreviewWnd = nullptr;
    provider->NotifySkinEditor(form->GetHandle());
    EXPECT_EQ(PreviewWnd, form->GetHandle()) << "returned, with the form noted";
    EXPECT_EQ(editorCalls, 0);
    stop = true;
    editorThread.join();
    PreviewMode = false;
    PreviewWnd = nullptr;
}

} // namespace
