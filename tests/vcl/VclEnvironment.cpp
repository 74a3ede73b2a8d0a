// Start-up and shut-down of the visual units for the whole suite, as the
// program entry does them, and the suite's own leak check: at the end no
// window and no GDI object is left that the tests made.
#include "Printers.h"
#include "PrinterSupport.h"
#include <gtest/gtest.h>
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "VclTestSupport.h"

namespace {

void StartUnits()
{
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
}

void StopUnits()
{
    Forms_Finalize();
    Controls_Finalize();
}

// The platform makes some objects on first use and keeps them for the
// process: shared cursors and icons, system colour brushes, the menu font,
// the scroll bars' brushes, the window DC cache and the file dialog's image
// lists (its DC cache grows once more on its second use). One round of each
// here, so that the count taken after it holds only what tests leave behind.
void WarmUpPlatformCaches()
{
    for (LPCWSTR cursor : {IDC_ARROW, IDC_IBEAM, IDC_WAIT, IDC_CROSS, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW,
                           IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND, IDC_APPSTARTING, IDC_HELP})
        LoadCursorW(nullptr, cursor);
    for (LPCWSTR icon : {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION})
        LoadIconW(nullptr, icon);
    for (int color = 0; color <= COLOR_MENUBAR; ++color)
        GetSysColorBrush(color);

    auto* form = New<TForm>(nullptr);
    form->SetBounds(60, 60, 420, 320);
    auto* menu = New<TMainMenu>(form);
    menu->GetItems()->Add(NewItem(menu, L"&File", scNone, false, true, nullptr));
    form->SetMenu(menu);
    auto* memo = New<TMemo>(form);
    memo->SetScrollBars(ssBoth);
    memo->SetParent(form);
    auto* bar = New<TScrollBar>(form);
    bar->SetTop(120);
    bar->SetParent(form);
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    vcl_test::Pump();
    form->Free();
    vcl_test::Pump();

    {
        // The PostScript driver keeps objects for the process once it has printed.
        testing_support::TempDir printDir;
        testing_support::TFilePrinter filePrinter(printDir.Path());
        TOwned<TPrinter> printer(new TPrinter);
        printer->BeginDoc();
        printer->GetCanvas()->TextOut(10, 10, L"x");
        printer->EndDoc();
    }

    testing_support::TempDir dir;
    auto* dialog = New<TSaveDialog>(nullptr);
    dialog->InitialDir = dir.Path();
    dialog->OnShow = [&](TObject*) { PostMessageW(dialog->GetHandle(), WM_COMMAND, IDCANCEL, 0); };
    for (int use = 0; use < 2; ++use)
        dialog->Execute();
    dialog->Free();
}

class TVclEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        // A whole start and stop first, so that what the units themselves
        // keep until they stop (window classes and their icons) is gone
        // again when the count is taken.
        StartUnits();
        WarmUpPlatformCaches();
        StopUnits();
        StartUnits();
        gdiBefore_ = testing_support::GdiObjectCount();
    }
    void TearDown() override
    {
        StopUnits();
        // The suite leaves no window behind, the application's included.
        EXPECT_EQ(vcl_test::ThreadWindowCount(), 0);
        EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore_)
            << "GDI objects left behind by the suite; a test that brings out a new platform cache "
               "needs it in WarmUpPlatformCaches";
    }

private:
    DWORD gdiBefore_ = 0;
};

const auto* environment = testing::AddGlobalTestEnvironment(new TVclEnvironment);

} // namespace
