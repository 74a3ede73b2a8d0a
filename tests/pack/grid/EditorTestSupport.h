// Helpers of the editor-control tests.
#pragma once
#include "../controls/PackControlsTestSupport.h"
#include "ComCtrls.h"
#include "Mask.h"
#include "asgspin.h"

namespace editor_test {

// Escape pressed from a timer once a menu's loop runs.
inline void CALLBACK EscapeMenu(HWND, UINT, UINT_PTR Id, DWORD)
{
    KillTimer(nullptr, Id);
    keybd_event(VK_DOWN, 0, 0, 0);
    keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
}

// The platform makes some GDI objects on the first edit, combo box, label,
// picker, focus and menu of a process and keeps them. Making each once
// before the first count lets a test's check see only what it leaves behind.
inline void WarmUpPlatformControls()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(40, 40, 400, 300);
    auto* edit = New<TMaskEdit>(form.get());
    edit->SetParent(form.get());
    auto* combo = New<TComboBox>(form.get());
    combo->SetParent(form.get());
    combo->SetTop(40);
    auto* label = New<TLabel>(form.get());
    label->SetParent(form.get());
    label->SetTop(80);
    label->SetCaption(L"x");
    auto* picker = New<TDateTimePicker>(form.get());
    picker->SetParent(form.get());
    picker->SetTop(120);
    picker->SetShowCheckbox(true);
    auto* spin = New<TAsgSpinEdit>(form.get());
    spin->SetParent(form.get());
    spin->SetTop(160);
    auto* time = New<TAsgSpinEdit>(form.get());
    time->SetParent(form.get());
    time->SetTop(200);
    for (TAsgSpinType kind : {sptFloat, sptDate, sptTime, sptNormal})
        time->SetSpinType(kind);
    form->Show();
    SetForegroundWindow(form->Handle());
    pack_test::Pump();
    for (TWinControl* c : std::initializer_list<TWinControl*>{edit, combo, picker, spin, time, spin, edit}) {
        c->SetFocus();
        pack_test::Pump();
    }
    label->GetFont()->SetStyle(TFontStyles{fsBold});
    pack_test::Pump();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"x");
    SetTimer(nullptr, 0, 50, EscapeMenu);
    TrackPopupMenu(menu, TPM_LEFTBUTTON, 100, 100, 0, edit->Handle(), nullptr);
    DestroyMenu(menu);
    pack_test::Pump();
}

} // namespace editor_test
