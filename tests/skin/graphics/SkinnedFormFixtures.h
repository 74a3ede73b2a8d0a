// Real forms and dialogs with small providers of our own that paint known
// pictures, for the animation and skin-change tests: the engine's providers
// do not exist here.
#pragma once

#include "BitmapHelpers.h"
#include "Forms.h"
#include "TestSupport.h"
#include "sFormRegistry.h"
#include "sMessages.h"
#include "sSkinManager.h"
#include <functional>

namespace skinned_fixtures {

class TPictureProvider : public TsSkinProvider {
public:
    explicit TPictureProvider(TComponent* AOwner) : TsSkinProvider(Bare, AOwner) {}
    std::vector<TacAnimEvent> Events;
    TOwned<TBitmap> Cache;
    Cardinal Picture = 0xFF2080C0;
    int Paints = 0, Snapshots = 0, Regions = 0;

    void SetFormState(Cardinal Value) override { FFormState = Value; }
    // The form's picture: a plain colour of the form's size.
    void PaintAll() override
    {
        ++Paints;
        Cache = Bitmap32(Form->GetWidth(), Form->GetHeight(), Picture);
        FCommonData->FCacheBmp = Cache.get();
    }
    TBitmap* CreateFormBitmap(bool) override
    {
        ++Snapshots;
        return Bitmap32(Form->GetWidth(), Form->GetHeight(), Picture).release();
    }
    void FindTransparentCorners() override { Rects = {TRect(0, 0, 2, 1)}; }
    void ApplyFormRegion(bool, bool) override { ++Regions; }
    HRGN BuildFormRegion(int, int) override { return nullptr; }
    int SkinTitleHeight(bool) override { return 0; }
    int CaptionHeight(bool) override { return 0; }
    int OffsetX() override { return 0; }
    int OffsetY() override { return 0; }
    TRect ShadowSize() override { return TRect(); }
};

// An extended-border window around its owner, 10 pixels wider on each side.
class TTestBorderForm : public TacBorderForm {
public:
    explicit TTestBorderForm(HWND Owner) : owner_(Owner) {}
    ~TTestBorderForm() override { FreeAndNil(AForm); }
    int Made = 0, Hooked = 0, Updates = 0, Paints = 0;

    void CreateNewForm() override
    {
        ++Made;
        RECT r;
        GetWindowRect(owner_, &r);
        AForm = New<TacGlowForm>(nullptr);
        AForm->SetBounds(r.left - 10, r.top - 10, r.right - r.left + 20, r.bottom - r.top + 20);
        AForm->GetHandle();
        OldBorderProc = AForm->WindowProc;
        const TWndMethod old = OldBorderProc;
        AForm->WindowProc = [this, old](TMessage& m) {
            ++Hooked;
            old(m);
        };
    }
    // Repaints the owner's image.
    std::function<void()> OnPaintAll;
    void PaintAll() override
    {
        ++Paints;
        if (OnPaintAll)
            OnPaintAll();
    }
    HRGN MakeRgn(int, int) override { return CreateRectRgn(0, 0, 4000, 4000); }
    void UpdateExBordersPos(bool, Byte) override { ++Updates; }
    int OffsetY() override { return 10; }
    int SkinTitleHeight() override { return 0; }
    int SkinBorderWidth() override { return 10; }
    int ExtraTitleHeight() override { return 0; }

private:
    HWND owner_;
};

// A form that names its provider (command 4) and may be in the skinned-forms list.
class TProvidedForm : public TForm {
public:
    using TForm::TForm;
    TsSkinProvider* Provider = nullptr;
    bool Registered = false;
    int RedrawOff = 0, RedrawOn = 0;

    void BeforeDestruction() override
    {
        if (Registered)
            UnregisterSkinnedForm(this);
        TForm::BeforeDestruction();
    }

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == SkinCommandMessage && HIWORD(Message.WParam) == SKC_QUERY_PROVIDER) {
            Message.Result = reinterpret_cast<LRESULT>(Provider);
            return;
        }
        if (Message.Msg == WM_SETREDRAW)
            ++(Message.WParam ? RedrawOn : RedrawOff);
        TForm::WndProc(Message);
    }
};

struct SkinnedForm {
    TOwned<TProvidedForm> form{New<TProvidedForm>(nullptr)};
    TOwned<TPictureProvider> provider{New<TPictureProvider>(nullptr)};
    TsCommonData data{provider.get()};
    explicit SkinnedForm(TsSkinManager* Manager = nullptr, int X = 30)
    {
        form->SetBorderStyle(bsNone);
        form->SetBounds(X, 40, 120, 80);
        form->SetColor(0x00336699);
        provider->Form = form.get();
        provider->FCommonData = &data;
        data.FSkinManager = Manager;
        provider->OnAfterAnimation = [this](TacAnimEvent e) { provider->Events.push_back(e); };
        form->Provider = provider.get();
        form->GetHandle();
    }
    ~SkinnedForm()
    {
        // The picture is the provider's own, not the state's.
        data.FCacheBmp = nullptr;
        FreeAndNil(provider->BorderForm);
    }
    void Register()
    {
        RegisterSkinnedForm(form.get());
        form->Registered = true;
    }
    TTestBorderForm* AddBorder()
    {
        auto* border = new TTestBorderForm(form->GetHandle());
        provider->BorderForm = border;
        return border;
    }
};

// The engine's reader of the manager's animation settings, for one test.
struct EngineAnimSettings {
    TReadAnimSetting saved = ReadAnimSettingProc;
    EngineAnimSettings() { ReadAnimSettingProc = ReadManagerAnimSetting; }
    ~EngineAnimSettings() { ReadAnimSettingProc = saved; }
};

inline BOOL CALLBACK CountWindow(HWND, LPARAM Count)
{
    ++*reinterpret_cast<int*>(Count);
    return TRUE;
}

inline int TopLevelWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

inline DWORD GdiObjects()
{
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

inline bool PumpUntil(const std::function<bool()>& Done, DWORD Timeout = 3000)
{
    const DWORD start = GetTickCount();
    while (!Done()) {
        if (GetTickCount() - start > Timeout)
            return false;
        testing_support::PumpMessages();
        Sleep(2);
    }
    return true;
}

inline COLORREF ScreenPixel(int X, int Y)
{
    const TWindowDC screen(nullptr);
    return GetPixel(screen.Get(), X, Y);
}

// The screen at (X, Y) once it shows Expected (channels within Tolerance),
// else what it shows after a second: the X server draws a layered window a
// moment after it changes, later still under load.
inline COLORREF SettledScreenPixel(int X, int Y, COLORREF Expected, int Tolerance = 0)
{
    COLORREF pixel = ScreenPixel(X, Y);
    PumpUntil(
        [&] {
            pixel = ScreenPixel(X, Y);
            for (int shift = 0; shift < 24; shift += 8) {
                const int a = (pixel >> shift) & 0xFF, e = (Expected >> shift) & 0xFF;
                if (a - e > Tolerance || e - a > Tolerance)
                    return false;
            }
            return true;
        },
        1000);
    return pixel;
}

} // namespace skinned_fixtures
