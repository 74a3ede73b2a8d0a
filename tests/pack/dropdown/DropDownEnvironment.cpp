// Process-wide start-up of the suite: the units the drop-down unit uses, in
// the program's order.
#include "AdvCalculatorDropdown.h"
#include "AdvColorPickerDropDown.h"
#include "AdvDetailDropDown.h"
#include "AdvDropDown.h"
#include "AdvGDIP.h"
#include "AdvXPVS.h"
#include "Clipbrd.h"
#include "ComCtrls.h"
#include "DropDownSurface.h"
#include "GridHTML.h"
#include "SysUtils.h"
#include <thread>

namespace {

class DropDownEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        SysUtils_Initialize();
        Graphics_Initialize();
        Controls_Initialize();
        Forms_Initialize();
        AdvGDIP_Initialize();
        AdvXPVS_Initialize();
        GridHTML_Initialize();
        Application->Initialize();
        // Wine creates a few GDI objects for good the first time a process
        // draws on a bitmap (stock objects made on demand, font caches) or
        // shows a kind of window; drawing and opening a drop-down once here
        // keeps them out of the tests' leak checks.
        TDropDownSurface surface(8, 8, RGB(255, 255, 255));
        surface.Canvas()->Rectangle(0, 0, 4, 4);
        surface.Canvas()->TextOut(0, 0, L"Wg");
        WarmUp();
    }
    void TearDown() override
    {
        AdvGDIP_Finalize();
        GridHTML_Finalize();
        AdvXPVS_Finalize();
        Clipbrd_Finalize();
        Forms_Finalize();
        Controls_Finalize();
        Graphics_Finalize();
        SysUtils_Finalize();
    }

private:
    static void Pump()
    {
        for (int i = 0; i < 3; ++i)
            Application->ProcessMessages();
    }
    static void Mouse(DWORD Flags)
    {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = Flags;
        SendInput(1, &in, sizeof(in));
        Pump();
    }
    static void ClickAt(TControl* Control, POINT P)
    {
        const POINT at = Control->ClientToScreen(P);
        SetCursorPos(at.x, at.y);
        Pump();
        Mouse(MOUSEEVENTF_LEFTDOWN);
        Mouse(MOUSEEVENTF_LEFTUP);
    }
    // Every look the tests bring about once: the button hot and pressed,
    // the popup with its bars, a bar button hot and pressed, a drag of the
    // size grip in the system's sizing loop.
    static void WarmUp()
    {
        auto* form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 500, 400);
        form->SetColor(clBtnFace);
        auto* other = New<TEdit>(form);
        other->SetBounds(10, 300, 80, 21);
        other->SetParent(form);
        auto* edit = New<TAdvDropDown>(form);
        edit->SetBounds(20, 20, 150, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        edit->SetLabelCaption(L"Label");
        edit->SetDropDownWidth(200);
        edit->SetDropDownHeight(120);
        edit->GetDropDownHeader()->SetCaption(L"<b>Head</b>");
        for (TModalResult result : {mrOk, mrCancel, mrRetry, mrNone}) {
            TFooterButton* item = edit->GetDropDownFooter()->GetButtons()->Add();
            item->SetCaption(L"B" + IntToStr(result));
            item->SetModalResult(result);
        }
        // A track bar once: the platform keeps what its first one makes.
        auto* trackBar = New<TTrackBar>(form);
        trackBar->SetBounds(10, 200, 150, 40);
        trackBar->SetParent(form);
        auto* content = New<TEdit>(form);
        content->SetBounds(0, 0, 180, 60);
        content->SetTabStop(true);
        edit->SetControl(content);
        edit->SetFocusControl(content);
        form->Show();
        SetForegroundWindow(form->Handle());
        edit->SetFocus();
        Pump();
        ClickAt(edit->GetButton(), {8, 8});
        TDropDownForm* popup = edit->GetDropDownForm();
        edit->SetFocusControl(nullptr);
        edit->SetDropDownWidth(300);
        // Every footer button once, the popup opened again where one closed it.
        for (int i = 0; i < 4; ++i) {
            Sleep(260);
            edit->ShowDropDown();
            Pump();
            if (TAdvFooter* footer = popup->GetFooter())
                ClickAt(static_cast<TControl*>(footer->GetButtonList()->GetItem(i)), {4, 4});
        }
        Sleep(260);
        edit->ShowDropDown();
        Pump();
        // A framed window of the popup's own.
        auto* dialog = New<TForm>(nullptr);
        dialog->SetParentWindow(popup->Handle());
        dialog->SetBounds(400, 100, 200, 120);
        dialog->Show();
        SetForegroundWindow(dialog->Handle());
        Pump();
        dialog->Free();
        Pump();
        edit->HideDropDown(false);
        Sleep(260);
        SetForegroundWindow(form->Handle());
        edit->ShowDropDown();
        Pump();
        if (TAdvFooter* footer = popup->GetFooter()) {
            auto* ok = static_cast<TWinControl*>(footer->GetButtonList()->GetItem(0));
            ok->SetFocus();
            Pump();
            INPUT key[2]{};
            key[0].type = key[1].type = INPUT_KEYBOARD;
            key[0].ki.wVk = key[1].ki.wVk = VK_RETURN;
            key[1].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(2, key, sizeof(INPUT));
            Pump();
        }
        Sleep(260);
        edit->ShowDropDown();
        Pump();
        if (TAdvFooter* footer = popup->GetFooter()) {
            const POINT grip = footer->ClientToScreen({footer->GetWidth() - 5, footer->GetHeight() - 5});
            SetCursorPos(grip.x, grip.y);
            Pump();
            std::thread drag([grip] {
                Sleep(300);
                SetCursorPos(grip.x + 20, grip.y + 20);
                INPUT in{};
                in.type = INPUT_MOUSE;
                in.mi.dwFlags = MOUSEEVENTF_MOVE;
                SendInput(1, &in, sizeof(in));
                Sleep(100);
                in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
                SendInput(1, &in, sizeof(in));
            });
            Mouse(MOUSEEVENTF_LEFTDOWN);
            drag.join();
            Pump();
        }
        edit->HideDropDown(false);
        Pump();
        // A popup list long enough for its scroll bar, stepped by the wheel.
        auto* detail = New<TAdvDetailDropDown>(form);
        detail->SetBounds(20, 60, 150, 21);
        detail->SetParent(form);
        for (int i = 0; i < 10; ++i)
            detail->GetItems()->Add()->SetCaption(L"Item " + IntToStr(i));
        detail->ShowDropDown();
        Pump();
        const POINT over = detail->GetItemSelector()->ClientToScreen({10, 10});
        SetCursorPos(over.x, over.y);
        Pump();
        Mouse(MOUSEEVENTF_WHEEL);
        detail->HideDropDown(false);
        Pump();
        // The calculator's keypad drawn through GDI+ with a glow, and the
        // colour choosers once each; the first spectrum registers its cursor
        // with the screen for good.
        auto* calculator = New<TAdvCalculatorDropdown>(form);
        calculator->SetBounds(20, 100, 150, 21);
        calculator->SetParent(form);
        calculator->ShowDropDown();
        Pump();
        calculator->GetButtonPanel()->SetHotButton(9);
        Pump();
        calculator->HideDropDown(false);
        Pump();
        auto* picker = New<TAdvColorPickerDropDown>(form);
        picker->SetBounds(20, 140, 150, 21);
        picker->SetParent(form);
        picker->AddDefaultColors();
        picker->SetSelectedColor(clRed);
        for (TColorSelectionStyle style : {csList, csDiscrete, csColorCube, csSpectrum}) {
            picker->SetColorSelectionStyle(style);
            Sleep(260);
            picker->ShowDropDown();
            Pump();
            picker->HideDropDown(false);
            Pump();
        }
        form->Free();
        Pump();
        SetCursorPos(0, 0);
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new DropDownEnvironment);

} // namespace
