// File dialogs over the system's common dialogs; message boxes.
#include "Dialogs.h"
#include <commdlg.h>
#include <algorithm>

bool UseLatestCommonDialogs = true;

void TCommonDialog::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCommonDialog::DoClose()
{
    if (OnClose)
        OnClose(this);
}

// ---------------------------------------------------------------------------
UINT_PTR CALLBACK OpenDialogHook(HWND wnd, UINT msg, WPARAM, LPARAM lParam)
{
    // The hook's window is a child of the real dialog.
    if (msg == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, static_cast<LONG_PTR>(ofn->lCustData));
        return 0;
    }
    auto* dialog = reinterpret_cast<TOpenDialog*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!dialog || msg != WM_NOTIFY)
        return 0;
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr->code == CDN_INITDONE) {
        dialog->handle_ = ::GetParent(wnd);
        try {
            dialog->DoShow();
        } catch (...) {
            if (Application)
                Application->HandleException(dialog);
        }
    }
    return 0;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner)
{
    files_.reset(New<TStringList>());
}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute()
{
    // The filter's bars become the zeros the platform wants, ending in two.
    String filter = Filter;
    if (!filter.empty()) {
        std::replace(filter.begin(), filter.end(), L'|', L'\0');
        filter.push_back(L'\0');
        filter.push_back(L'\0');
    }
    std::vector<wchar_t> buffer(Options.Contains(ofAllowMultiSelect) ? 65536 : MAX_PATH * 4, L'\0');
    std::copy_n(FileName.begin(), std::min(FileName.size(), buffer.size() - 1), buffer.begin());
    String defExt = DefaultExt;
    if (!defExt.empty() && defExt[0] == L'.')
        defExt.erase(0, 1);

    static const std::pair<TOpenOption, DWORD> flags[] = {
        {ofReadOnly, OFN_READONLY}, {ofOverwritePrompt, OFN_OVERWRITEPROMPT}, {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR}, {ofNoValidate, OFN_NOVALIDATE}, {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofPathMustExist, OFN_PATHMUSTEXIST}, {ofFileMustExist, OFN_FILEMUSTEXIST}, {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofShareAware, OFN_SHAREAWARE}, {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE}, {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS}, {ofEnableSizing, OFN_ENABLESIZING},
        {ofDontAddToRecent, OFN_DONTADDTORECENT}, {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
    };
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    HWND owner = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        owner = Screen->ActiveForm()->Handle();
    else if (Application)
        owner = Application->GetHandle();
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK;
    for (auto [option, flag] : flags)
        if (Options.Contains(option))
            ofn.Flags |= flag;
    ofn.lpfnHook = OpenDialogHook;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);

    if (Application)
        Application->CancelHint();
    BOOL ok = IsSave() ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    handle_ = nullptr;
    DoClose();
    if (!ok)
        return false;

    files_->Clear();
    // Several files come as the folder, then the names, each ended by a zero.
    const wchar_t* p = buffer.data();
    String first = p;
    p += first.size() + 1;
    if (Options.Contains(ofAllowMultiSelect) && *p) {
        String folder = first;
        if (!folder.empty() && folder.back() != L'\\')
            folder += L'\\';
        while (*p) {
            String name = p;
            files_->Add(folder + name);
            p += name.size() + 1;
        }
    } else {
        files_->Add(first);
    }
    FileName = files_->Get(0);
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    if (ofn.Flags & OFN_READONLY)
        Options << ofReadOnly;
    else
        Options >> ofReadOnly;
    return true;
}

// ---------------------------------------------------------------------------
void ShowMessage(const String& Msg)
{
    MessageDlg(Msg, mtCustom, {mbOK});
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int)
{
    static const wchar_t* const captions[] = {L"Warning", L"Error", L"Information", L"Confirm", nullptr};
    static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    UINT flags = icons[DlgType];
    if (Buttons.Contains(mbYes) && Buttons.Contains(mbNo))
        flags |= Buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (Buttons.Contains(mbAbort) && Buttons.Contains(mbRetry))
        flags |= MB_ABORTRETRYIGNORE;
    else if (Buttons.Contains(mbRetry) && Buttons.Contains(mbCancel))
        flags |= MB_RETRYCANCEL;
    else if (Buttons.Contains(mbOK) && Buttons.Contains(mbCancel))
        flags |= MB_OKCANCEL;
    else
        flags |= MB_OK;
    String caption = captions[DlgType] ? captions[DlgType] : (Application ? Application->GetTitle() : String());
    if (Application)
        return Application->MessageBox(Msg, caption, flags | MB_TASKMODAL);
    return MessageBoxW(nullptr, Msg.c_str(), caption.c_str(), flags | MB_TASKMODAL);
}
