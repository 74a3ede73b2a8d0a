#include "acMessageBox.h"
#include <vector>

int MessageBoxX = -1;
int MessageBoxY = -1;

namespace {

struct TBoxKind {
    const wchar_t* Caption;
    UINT Icon;
};

constexpr TBoxKind BoxKinds[] = {
    {L"Warning", MB_ICONWARNING},
    {L"Error", MB_ICONERROR},
    {L"Information", MB_ICONINFORMATION},
    {L"Confirm", MB_ICONQUESTION},
    {L"", 0},
};

const TBoxKind& BoxKind(TMsgDlgType DlgType)
{
    return BoxKinds[DlgType >= mtWarning && DlgType <= mtCustom ? DlgType : mtCustom];
}

HWND ActiveFormHandle()
{
    TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
    return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

} // namespace

String DefaultMessageCaption(TMsgDlgType DlgType)
{
    return BoxKind(DlgType).Caption;
}

UINT MessageBoxStyle(TMsgDlgType DlgType, TMsgDlgButtons Buttons)
{
    UINT style = BoxKind(DlgType).Icon;
    if (Buttons.Contains(mbOK))
        style |= Buttons.Contains(mbCancel) ? MB_OKCANCEL : MB_OK;
    else if (Buttons.Contains(mbAbort) || Buttons.Contains(mbIgnore))
        style |= MB_ABORTRETRYIGNORE;
    else if (Buttons.Contains(mbYes) || Buttons.Contains(mbNo))
        style |= Buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (Buttons.Contains(mbRetry))
        style |= MB_RETRYCANCEL;
    else
        style |= MB_OK;
    if (Buttons.Contains(mbHelp))
        style |= MB_HELP;
    return style;
}

int MessageBoxCore(const String& Caption, const String& Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                   int HelpContext, int X, int Y)
{
    String caption = Caption.empty() ? DefaultMessageCaption(DlgType) : Caption;
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = ActiveFormHandle();
    params.lpszText = Text.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = MessageBoxStyle(DlgType, Buttons);
    params.dwContextHelpId = static_cast<DWORD_PTR>(HelpContext);

    MessageBoxX = X;
    MessageBoxY = Y;
    HWND active = GetActiveWindow();
    // The other windows of this thread are disabled while the box shows, as
    // a modal form would leave them.
    const std::vector<HWND> disabled = DisableTaskWindows();
    int result = MessageBoxIndirectW(&params);
    EnableTaskWindows(disabled);
    SetFocus(nullptr);
    if (active && IsWindow(active))
        SetActiveWindow(active);
    MessageBoxX = -1;
    MessageBoxY = -1;
    return result;
}

int ShowMessageBox(const String& Text, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpContext)
{
    return MessageBoxCore(String(), Text, DlgType, Buttons, HelpContext, -1, -1);
}

void ShowWarningMessage(const String& Text)
{
    ShowMessageBox(Text, mtWarning, {mbOK}, 0);
}

void ShowErrorMessage(const String& Text)
{
    ShowMessageBox(Text, mtError, {mbOK}, 0);
}

void ShowAlert(const String& Text)
{
    ShowWarningMessage(Text);
}
