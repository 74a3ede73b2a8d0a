// The skin library's message box: the system box with the class library's
// dialog types and buttons, modal to every window of the program.
#pragma once

#include "Dialogs.h"

// Where the skinned dialog handler places the box now showing; -1 for the
// system's choice. Set only while a box shows.
extern int MessageBoxX;
extern int MessageBoxY;

// "Warning", "Error", "Information", "Confirm", and none for mtCustom.
String DefaultMessageCaption(TMsgDlgType DlgType);
// The box's icon and buttons. The system box offers fixed button groups:
// OK comes with Cancel or alone; then Abort/Retry/Ignore, Yes/No with or
// without Cancel, Retry/Cancel; mbHelp adds a Help button.
UINT MessageBoxStyle(TMsgDlgType DlgType, TMsgDlgButtons Buttons);

// An empty Caption takes the type's default. The answer is the system
// box's (IDOK, IDCANCEL ...).
int MessageBoxCore(const String& Caption, const String& Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpContext, int X, int Y);
int ShowMessageBox(const String& Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpContext);
void ShowWarningMessage(const String& Text);
void ShowErrorMessage(const String& Text);
void ShowAlert(const String& Text);
