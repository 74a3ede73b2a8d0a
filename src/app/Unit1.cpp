// The main window's life cycle and the unit's program-wide state.
#include "Unit1.h"

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
    LoadComputerList();
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
}

void TForm1::FormActivate(TObject*)
{
    if (LanguageCode == L"en")
        SetCaption(L"Tavelin (v.1.0.2)");
    else if (LanguageCode == L"ru")
        SetCaption(L"Тавелин (v.1.0.2)");
    FitTitleRow();
}

void TForm1::FormClose(TObject*, TCloseAction&)
{
    CancelInventory();
    WriteSettings();
}
