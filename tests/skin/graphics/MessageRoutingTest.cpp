// The library command message on real windows: skin data answers at once
// without the window system seeing a message, plain windows answer 0,
// pointers above 4 GB arrive whole, broadcasts reach whom they should, and
// graphic children are painted into a DC at their places.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "TestSupport.h"
#include "sVclUtils.h"
#include <algorithm>
#include <new>
#include <set>
#include <vector>

namespace {

// Library commands the window system delivered, seen by a thread hook.
std::vector<HWND> hookedWindows;

LRESULT CALLBACK CallWndHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* info = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (info->message == SkinCommandMessage)
            hookedWindows.push_back(info->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class HookScope {
public:
    HookScope() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, CallWndHook, nullptr, GetCurrentThreadId()))
    {
        hookedWindows.clear();
    }
    ~HookScope() { UnhookWindowsHookEx(hook_); }
    bool Installed() const { return hook_ != nullptr; }

private:
    HHOOK hook_;
};

// Which controls got which library commands, whatever way they came.
struct Recorder {
    std::vector<std::pair<TControl*, int>> log;
    void Watch(TControl* control)
    {
        TWndMethod old = control->WindowProc;
        control->WindowProc = [this, control, old](TMessage& m) {
            if (m.Msg == SkinCommandMessage)
                log.emplace_back(control, m.WParamHi());
            old(m);
        };
    }
    std::multiset<TControl*> Reached(int command) const
    {
        std::multiset<TControl*> reached;
        for (auto [control, c] : log)
            if (c == command)
                reached.insert(control);
        return reached;
    }
};

class PaintedBox : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TColor Fill = clRed;
    bool HalfOnly = false;

protected:
    void Paint() override
    {
        GetCanvas()->GetBrush()->SetColor(Fill);
        GetCanvas()->FillRect(TRect(0, 0, HalfOnly ? GetWidth() / 2 : GetWidth(), GetHeight()));
    }
};

template <class T>
T* Child(TComponent* owner, TWinControl* parent, int left, int top, int width, int height)
{
    T* control = New<T>(owner);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

TOwned<TForm> ShownForm()
{
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(0, 0, 300, 200);
    form->Show();
    testing_support::PumpMessages();
    return form;
}

TEST(CommandMessage, SkinDataAnswersWithoutAMessage)
{
    auto form = ShownForm();
    auto* skinned = Child<TPanel>(form.get(), form.get(), 0, 0, 50, 50);
    auto* plain = Child<TPanel>(form.get(), form.get(), 60, 0, 50, 50);
    plain->SetColor(clRed);
    TOwned<TsCommonData> data(New<TsCommonData>(skinned));
    data->WndProc = [](TMessage& m) {
        if (m.Msg != SkinCommandMessage)
            return;
        if (m.WParamHi() == SKC_QUERY_HANDLED)
            m.Result = 1;
        if (m.WParamHi() == SKC_QUERY_COLOR)
            m.Result = 0xAABBCC;
    };
    SetPropW(skinned->Handle(), L"ACSDATA", data.get());
    skinned->WindowProc = [old = skinned->WindowProc](TMessage& m) {
        if (m.Msg == SkinCommandMessage && m.WParamHi() == SKC_QUERY_COLOR)
            m.Result = 0x336699;
        else
            old(m);
    };

    HookScope hook;
    ASSERT_TRUE(hook.Installed());
    EXPECT_EQ(GetWndSkinData(skinned->Handle()), data.get());
    EXPECT_EQ(SendWndCommand(skinned->Handle(), SKC_QUERY_HANDLED, 0), 1);
    EXPECT_TRUE(QueryWndCommand(skinned->Handle(), SKC_QUERY_HANDLED));
    EXPECT_EQ(GetWindowColor(skinned->Handle()), 0xAABBCC);
    EXPECT_TRUE(hookedWindows.empty()) << "nothing went through the window system";

    EXPECT_EQ(SendWndCommand(plain->Handle(), SKC_QUERY_HANDLED, 0), 0);
    EXPECT_FALSE(QueryWndCommand(plain->Handle(), SKC_QUERY_HANDLED));
    EXPECT_EQ(GetWindowColor(plain->Handle()), 0) << "an unskinned window answers black";
    EXPECT_EQ(std::count(hookedWindows.begin(), hookedWindows.end(), plain->Handle()), 3);

    EXPECT_TRUE(HasSkinHandler(skinned->Handle()));
    EXPECT_FALSE(HasSkinHandler(plain->Handle()));
    SetPropW(plain->Handle(), L"ACSBSC", plain);
    EXPECT_TRUE(HasSkinHandler(plain->Handle()));
    EXPECT_TRUE(IsControlSkinned(plain));
    EXPECT_FALSE(IsControlSkinned(plain, true)) << "a handler whose window names no skin data";
    RemovePropW(plain->Handle(), L"ACSBSC");

    // Skinned: the control's own answer to command 21; else its colour.
    EXPECT_EQ(GetControlColor(skinned), 0x336699);
    EXPECT_EQ(GetControlColor(plain), 0x0000FF);
    EXPECT_EQ(GetControlColor(nullptr), clFuchsia);
    EXPECT_EQ(GetWindowColor(nullptr), clFuchsia);

    // Skinned in the strict sense only with a manager that has the section.
    EXPECT_TRUE(IsControlSkinned(skinned));
    EXPECT_FALSE(IsControlSkinned(skinned, true));
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    manager->gd.resize(1);
    data->FSkinManager = manager.get();
    data->SkinIndex = 0;
    EXPECT_TRUE(IsControlSkinned(skinned, true));
    EXPECT_FALSE(data->Skinned(true)) << "the skin is not active";
    manager->CommonSkinData.Active = true;
    EXPECT_TRUE(data->Skinned(true));

    // A graphic control is asked by Perform.
    auto* graphic = Child<PaintedBox>(form.get(), form.get(), 0, 60, 10, 10);
    EXPECT_FALSE(IsControlSkinned(graphic));
    graphic->WindowProc = [old = graphic->WindowProc](TMessage& m) {
        if (m.Msg == SkinCommandMessage && m.WParamHi() == SKC_QUERY_HANDLED)
            m.Result = 1;
        else
            old(m);
    };
    EXPECT_TRUE(IsControlSkinned(graphic));
    RemovePropW(skinned->Handle(), L"ACSDATA");

    // A windowed control without a window, or going, is sent nothing.
    TOwned<TPanel> loose(New<TPanel>(nullptr));
    EXPECT_EQ(SendControlCommand(loose.get(), SKC_QUERY_HANDLED, 0), 0);
    EXPECT_FALSE(loose->HandleAllocated());
}

TEST(CommandMessage, RequestAboveFourGigabytesArrivesWhole)
{
    if (sizeof(void*) < 8)
        GTEST_SKIP() << "a 32-bit process has no such addresses";
    void* block = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE);
    for (std::uint64_t base = 0x200000000ull; (!block || reinterpret_cast<std::uintptr_t>(block) <= 0xFFFFFFFFu) &&
                                              base < 0x10000000000ull;
         base *= 2) {
        if (block)
            VirtualFree(block, 0, MEM_RELEASE);
        block = VirtualAlloc(reinterpret_cast<void*>(static_cast<std::uintptr_t>(base)), 4096,
                             MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    }
    ASSERT_NE(block, nullptr);
    ASSERT_GT(reinterpret_cast<std::uintptr_t>(block), 0xFFFFFFFFu);
    auto* request = new (block) TacBGRequest;

    auto form = ShownForm();
    auto* viaWindow = Child<TPanel>(form.get(), form.get(), 0, 0, 50, 50);
    auto* direct = Child<TPanel>(form.get(), form.get(), 60, 0, 50, 50);
    std::vector<LPARAM> received;
    auto answer = [&received](TMessage& m) {
        if (m.Msg != SkinCommandMessage || m.WParamHi() != SKC_QUERY_BACKGROUND)
            return false;
        received.push_back(m.LParam);
        auto* r = reinterpret_cast<TacBGRequest*>(m.LParam);
        r->BgKind = bgColor;
        r->Color = 0x010203 + r->Offset.x;
        m.Result = 1;
        return true;
    };
    viaWindow->WindowProc = [old = viaWindow->WindowProc, answer](TMessage& m) {
        if (!answer(m))
            old(m);
    };
    TOwned<TsCommonData> data(New<TsCommonData>(direct));
    data->WndProc = [answer](TMessage& m) { answer(m); };
    SetPropW(direct->Handle(), L"ACSDATA", data.get());

    for (HWND wnd : {viaWindow->Handle(), direct->Handle()}) {
        request->Offset = TPoint(7, 0);
        EXPECT_TRUE(GetWindowBGInfo(*request, wnd, false));
        EXPECT_EQ(request->Color, 0x01020A);
        ASSERT_FALSE(received.empty());
        EXPECT_EQ(received.back(), reinterpret_cast<LPARAM>(block));
    }
    EXPECT_TRUE(GetControlBGInfo(*request, viaWindow, false));
    EXPECT_EQ(received.size(), 3u);
    EXPECT_EQ(received.back(), reinterpret_cast<LPARAM>(block));
    RemovePropW(direct->Handle(), L"ACSDATA");
    request->~TacBGRequest();
    VirtualFree(block, 0, MEM_RELEASE);
}

TOwned<TsSkinManager> ActiveManager(TColor global)
{
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    manager->Palette[pcMainColor] = global;
    manager->CommonSkinData.Active = true;
    return manager;
}

TEST(CommandMessage, UnansweredBackgroundRequests)
{
    auto form = ShownForm();
    auto* panel = Child<TPanel>(form.get(), form.get(), 0, 0, 40, 40);
    panel->SetColor(clRed);
    panel->SetBevelOuter(bvNone);
    testing_support::PumpMessages();

    TacBGRequest request;
    request.Bmp = reinterpret_cast<TBitmap*>(&request);
    EXPECT_TRUE(GetControlBGInfo(request, panel, false));
    EXPECT_EQ(request.BgKind, bgColor);
    EXPECT_EQ(request.Color, 0x0000FF) << "the control's own colour";
    EXPECT_EQ(request.Bmp, nullptr);

    EXPECT_FALSE(GetWindowBGInfo(request, panel->Handle(), false));
    EXPECT_EQ(request.BgKind, bgColor);
    EXPECT_EQ(request.Color, clBtnFace);
    auto manager = ActiveManager(0x123456);
    DefaultManager = manager.get();
    GetWindowBGInfo(request, panel->Handle(), false);
    DefaultManager = nullptr;
    EXPECT_EQ(request.Color, 0x123456) << "the active skin's global colour";

    // Drawing asked for: the window paints itself into the DC, its origin
    // moved back by the offset and clipped to the requested area.
    auto target = Bitmap32(20, 20, 0xFF808080u);
    request.DrawDC = target->GetCanvas()->GetHandle();
    request.Offset = TPoint(3, 3);
    request.R = TRect(0, 0, 10, 10);
    EXPECT_FALSE(GetWindowBGInfo(request, panel->Handle(), true));
    GdiFlush();
    EXPECT_EQ(request.R, TRect(3, 3, 13, 13));
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 2) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 12, 12) & 0xFFFFFF, 0x808080u) << "outside the area";

    request.BgKind = bgImage;
    request.Bmp = target.get();
    request.Offset = TPoint(4, 5);
    TCacheInfo ci = BGInfoToCacheInfo(request);
    EXPECT_TRUE(ci.Ready);
    EXPECT_EQ(ci.Bmp, target.get());
    EXPECT_EQ(ci.X, 4);
    request.BgKind = bgColor;
    request.Color = clBtnFace;
    request.FillRect = TRect(1, 2, 3, 4);
    ci = BGInfoToCacheInfo(request);
    EXPECT_FALSE(ci.Ready);
    EXPECT_EQ(ci.FillColor, ColorToRGB(clBtnFace));
    EXPECT_EQ(ci.FillRect, TRect(1, 2, 3, 4));
}

TEST(Broadcasts, ReachChildrenAsTheirHandlersAllow)
{
    auto form = ShownForm();
    Recorder recorder;
    auto* root = Child<TPanel>(form.get(), form.get(), 0, 0, 200, 150);
    auto* graphic = Child<PaintedBox>(form.get(), root, 0, 0, 10, 10);
    auto* first = Child<TPanel>(form.get(), root, 10, 0, 60, 60);
    auto* grandchild = Child<TPanel>(form.get(), first, 0, 0, 20, 20);
    auto* graphicGrandchild = Child<PaintedBox>(form.get(), first, 30, 0, 10, 10);
    auto* handled = Child<TPanel>(form.get(), root, 80, 0, 60, 60);
    auto* behindHandler = Child<TPanel>(form.get(), handled, 0, 0, 20, 20);
    auto* hidden = Child<TPanel>(form.get(), root, 150, 0, 20, 20);
    hidden->SetVisible(false);
    testing_support::PumpMessages();
    for (TControl* c : std::initializer_list<TControl*>{root, graphic, first, grandchild, graphicGrandchild, handled,
                                                        behindHandler, hidden})
        recorder.Watch(c);
    TOwned<TsCommonData> data(New<TsCommonData>(handled));
    SetPropW(handled->Handle(), L"ACSDATA", data.get());

    TMessage message{SkinCommandMessage, SkinCommandWParam(SKC_RELOAD_DATA), 0, 0};
    BroadcastToChildren(root, message);
    const std::multiset<TControl*> everyone{graphic, first, grandchild, graphicGrandchild, handled, hidden};
    EXPECT_EQ(recorder.Reached(SKC_RELOAD_DATA), everyone) << "once each, not into a skinned window";

    static TControl* filtered = nullptr;
    filtered = first;
    BroadcastChildFilter = [](TControl* c) { return c == filtered; };
    BroadcastToChildren(root, message);
    BroadcastChildFilter = nullptr;
    std::multiset<TControl*> twice = everyone;
    twice.insert({graphic, first, handled, hidden});
    EXPECT_EQ(recorder.Reached(SKC_RELOAD_DATA), twice) << "the filter keeps the broadcast out of its children";

    RefreshChildControls(root);
    EXPECT_EQ(recorder.Reached(SKC_UPDATE_FINISHED), (std::multiset<TControl*>{graphic, first, handled}))
        << "not the hidden child, nor grandchildren";
    recorder.log.clear();
    SkinChangeAnimating = true;
    RefreshChildControls(root);
    SkinChangeAnimating = false;
    EXPECT_TRUE(recorder.log.empty());

    // Window lists: direct children only, hidden ones included.
    BroadcastToChildWindows(root->Handle(), TMessage{SkinCommandMessage, SkinCommandWParam(SKC_PARENT_MOVED), 0, 0});
    EXPECT_EQ(recorder.Reached(SKC_PARENT_MOVED), (std::multiset<TControl*>{first, handled, hidden}));
    RefreshChildWindows(root->Handle());
    EXPECT_EQ(recorder.Reached(SKC_UPDATE_FINISHED), (std::multiset<TControl*>{first, handled, hidden}));
    RemovePropW(handled->Handle(), L"ACSDATA");

    // A child being destroyed ends the broadcast there.
    recorder.log.clear();
    handled->Destroying();
    BroadcastToChildren(root, message);
    EXPECT_EQ(recorder.Reached(SKC_RELOAD_DATA), (std::multiset<TControl*>{graphic, first, grandchild, graphicGrandchild}));
}

TEST(GraphicChildren, PaintedIntoADcAtTheirPlaces)
{
    auto form = ShownForm();
    auto* parent = Child<TPanel>(form.get(), form.get(), 0, 0, 60, 40);
    parent->SetColor(clBlue);
    auto* half = Child<PaintedBox>(form.get(), parent, 5, 5, 10, 10);
    half->HalfOnly = true;
    auto* keyed = Child<PaintedBox>(form.get(), parent, 30, 5, 10, 10);
    keyed->Fill = clFuchsia;
    auto* hidden = Child<PaintedBox>(form.get(), parent, 45, 5, 10, 10);
    hidden->Fill = clLime;
    hidden->SetVisible(false);
    testing_support::PumpMessages();
    Recorder recorder;
    recorder.Watch(parent);

    auto target = Bitmap32(80, 60, 0xFF808080u);
    HDC dc = target->GetCanvas()->GetHandle();
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    PaintGraphicControlsToDC(dc, parent, TPoint(4, 2), true);
    GdiFlush();
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
    auto at = [&](int x, int y) { return GetBitmap32Pixel(target.get(), x, y) & 0xFFFFFF; };
    EXPECT_EQ(at(5 + 4 + 1, 5 + 2 + 1), 0xFF0000u) << "the child's own paint";
    EXPECT_EQ(at(5 + 4 + 8, 5 + 2 + 8), 0x0000FFu) << "the parent's colour laid under it";
    EXPECT_EQ(at(5 + 4 + 10, 5 + 2 + 1), 0x808080u) << "right of the child";
    EXPECT_EQ(at(30 + 4 + 1, 5 + 2 + 1), 0x808080u) << "a fuchsia child is not copied";
    EXPECT_EQ(at(45 + 4 + 1, 5 + 2 + 1), 0x808080u) << "a hidden child is not painted";
    EXPECT_TRUE(recorder.Reached(SKC_SET_HALF_VISIBLE).empty());

    // Visibility is judged where a child lands: at its bounds moved by Offset.
    target = Bitmap32(80, 60, 0xFF808080u);
    dc = target->GetCanvas()->GetHandle();
    IntersectClipRect(dc, 40, 0, 80, 60);
    PaintGraphicControlsToDC(dc, parent, TPoint(40, 2), true);
    GdiFlush();
    EXPECT_EQ(at(5 + 40 + 1, 5 + 2 + 1), 0xFF0000u);
    SelectClipRgn(dc, nullptr);

    // Nothing visible in the DC: the parent is told it is half visible.
    target = Bitmap32(80, 60, 0xFF808080u);
    dc = target->GetCanvas()->GetHandle();
    IntersectClipRect(dc, 0, 0, 0, 0);
    PaintGraphicControlsToDC(dc, parent, TPoint(4, 2), true);
    EXPECT_EQ(recorder.Reached(SKC_SET_HALF_VISIBLE).size(), 1u);
    EXPECT_EQ(at(5 + 4 + 1, 5 + 2 + 1), 0x808080u);
}

TEST(SmallHelpers, FlagsNamesAndPlaces)
{
    EXPECT_EQ(TextFlagsForAlignment(nullptr, taCenter), 0x45u);
    EXPECT_EQ(TextFlagsForAlignment(nullptr, taLeftJustify), UINT(DT_LEFT | DT_EXPANDTABS | DT_VCENTER));
    EXPECT_EQ(TextFlagsForAlignment(nullptr, taRightJustify), UINT(DT_RIGHT | DT_EXPANDTABS | DT_VCENTER));

    auto form = ShownForm();
    auto* panel = Child<TPanel>(form.get(), form.get(), 0, 0, 40, 40);
    auto* graphic = Child<PaintedBox>(form.get(), panel, 0, 0, 5, 5);
    EXPECT_EQ(FindOwnerForm(graphic), form.get());
    EXPECT_EQ(FindOwnerForm(nullptr), nullptr);
    EXPECT_TRUE(IsControlReady(graphic));
    EXPECT_FALSE(IsControlReady(form.get())) << "no parent";
    String name;
    GetWndClassName(form->Handle(), name);
    wchar_t expected[256] = {};
    GetClassNameW(form->Handle(), expected, 256);
    EXPECT_EQ(name, expected);
    TRect client;
    GetClientRectInWindow(form->Handle(), client);
    RECT window;
    GetWindowRect(form->Handle(), &window);
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    EXPECT_EQ(client.left, origin.x - window.left);
    EXPECT_EQ(client.Width(), form->GetClientWidth());

    EXPECT_FALSE(FontNeedsStoring(graphic, graphic->GetFont(), true));
    TOwned<TFont> bigger(New<TFont>());
    bigger->Assign(panel->GetFont());
    bigger->SetSize(bigger->GetSize() + 4);
    EXPECT_TRUE(FontNeedsStoring(graphic, bigger.get(), true));
    bigger->Assign(panel->GetFont());
    bigger->SetColor(clRed);
    EXPECT_TRUE(FontNeedsStoring(graphic, bigger.get(), true));
    EXPECT_TRUE(FontNeedsStoring(graphic, bigger.get(), false)) << "the control's own colour is the reference";
    graphic->GetFont()->SetColor(clRed);
    EXPECT_FALSE(FontNeedsStoring(graphic, bigger.get(), false));
}

} // namespace
