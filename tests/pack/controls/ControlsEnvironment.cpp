// Start-up and shut-down of the visual units for the whole suite, as the
// program entry does them.
#include <gtest/gtest.h>
#include "AdvCombo.h"
#include "AdvGaugeCircle.h"
#include "AdvGlowButton.h"
#include "AdvPanel.h"
#include "Clipbrd.h"
#include "GDIPFill.h"
#include "Menus.h"
#include "PackControlsTestSupport.h"
#include "StdCtrls.h"
#include "ToolBarMessages.h"

namespace {

class TControlsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Controls_Initialize();
        Forms_Initialize();
        GDIPFill_Initialize();
        ToolBarMessages_Initialize();
        Application->Initialize();
        WarmUp();
    }
    void TearDown() override
    {
        ToolBarMessages_Finalize();
        GDIPFill_Finalize();
        Clipbrd_Finalize();
        Forms_Finalize();
        Controls_Finalize();
    }

private:
    // Wine keeps a few GDI objects for good the first time a process shows
    // a kind of window, drops a list or paints off-screen (class brushes,
    // font and DC caches); one form with every kind shown once keeps them
    // out of the tests' leak checks.
    static void WarmUp()
    {
        auto* form = New<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 300);
        auto* group = New<TAdvPanelGroup>(form);
        group->SetParent(form);
        New<TAdvPanel>(form)->SetParent(group);
        auto* list = New<TListBox>(form);
        list->SetAlign(alBottom);
        list->SetParent(group);
        New<TAdvGlowButton>(form)->SetParent(form);
        New<TAdvGaugeCircle>(form)->SetParent(form);
        auto* combo = New<TAdvCustomCombo>(form);
        combo->SetStyle(csDropDownList);
        combo->SetParent(form);
        combo->GetItems()->Add(L"item");
        // A flat, disabled one with a label: the inactive drop button and
        // the label's first text.
        auto* flat = New<TAdvCustomCombo>(form);
        flat->SetStyle(csDropDown);
        flat->SetBounds(150, 10, 100, 21);
        flat->SetParent(form);
        flat->SetFlat(true);
        flat->SetLabelCaption(L"label");
        flat->SetEnabled(false);
        form->Show();
        SetForegroundWindow(form->Handle());
        combo->SetFocus();
        pack_test::Pump();
        combo->SetDroppedDown(true);
        pack_test::Pump();
        combo->SetDroppedDown(false);
        pack_test::Pump();
        pack_test::TSnapshot picture(form);
        // And the first pop-up menu, closed by a posted Escape.
        auto* menu = New<TPopupMenu>(form);
        menu->GetItems()->Add(NewItem(form, L"item", 0, false, true, nullptr));
        menu->OnPopup = [](TObject*) { PostMessageW(Application->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0); };
        menu->Popup(10, 10);
        pack_test::Pump();
        // And the hand cursor shown over anchors, and those of the system's
        // move and size loop.
        for (const wchar_t* cursor : {IDC_HAND, IDC_SIZEALL, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENS, IDC_SIZEWE})
            ::SetCursor(LoadCursorW(nullptr, cursor));
        form->Free();
        pack_test::Pump();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new TControlsEnvironment);

} // namespace
