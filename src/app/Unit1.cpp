// The main window's life cycle and the unit's program-wide state.
#include "Unit1.h"
#include <exception>

String LanguageCode;
TCustomIniFile* LanguageFile = nullptr;
TCustomIniFile* SettingsFile = nullptr;
TForm1* Form1 = nullptr;

namespace {

int initializationCount = 0;

} // namespace

void Unit1_Initialize()
{
    ++initializationCount;
}

void Unit1_Finalize()
{
    if (initializationCount == 0 || --initializationCount > 0)
        return;
    FreeAndNil(LanguageFile);
    FreeAndNil(SettingsFile);
    LanguageCode.clear();
}

void TForm1::FormCreate(TObject*)
{
    StringGrid1->GetMouseActions()->SetWheelIncrement(1);
    AdvGaugeCircle1->SetPosition(0);
}

void TForm1::FormShow(TObject*)
{
    // A list that cannot be read must not cost the rest of the show: the
    // language, layout and placement would stay the defaults, and close would
    // write those over the user's settings. Its error shows once the window
    // is set up.
    std::exception_ptr listError;
    try {
        LoadComputerList();
    } catch (const Exception&) {
        listError = std::current_exception();
    }
    OpenFiles();
    ChooseLanguage();
    ApplyFormTexts();
    WriteColumnTitles();
    // Titles wrap within their columns: the title row is fitted again once
    // the layout and then the window's size are settled.
    FitTitleRow();
    RestoreColumnLayout();
    FitTitleRow();
    RestorePlacement();
    FitTitleRow();
    if (listError)
        std::rethrow_exception(listError);
}

void TForm1::FormActivate(TObject*)
{
    if (LanguageCode == L"en")
        SetCaption(L"Tavelin (v.1.0.2)");
    else if (LanguageCode == L"ru")
        SetCaption(L"Тавелин (v.1.0.2)");
    FitTitleRow();
}

// A shutdown or a task manager sends its close to every window of the
// program, and the application's window passes its own on to this one, maybe
// while the first close still shows a message: the main window writes its
// settings once, and a second close changes nothing (the first one ends the
// program when it is done).
void TForm1::FormClose(TObject*, TCloseAction& Action)
{
    if (closing_) {
        Action = caNone;
        return;
    }
    closing_ = true;
    CancelInventory();
    WriteSettings();
    closing_ = Application && Application->GetMainForm() == this;
}
