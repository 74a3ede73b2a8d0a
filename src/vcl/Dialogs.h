// The system's file dialogs and message boxes.
#pragma once

#include "Forms.h"

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
    ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
    ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
    ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = Set<TOpenOption>;

class TCommonDialog : public TComponent {
public:
    using TComponent::TComponent;
    virtual bool Execute() = 0;
    // The dialog's window while it shows.
    HWND GetHandle() const { return handle_; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    virtual void DoShow();
    virtual void DoClose();
    HWND handle_ = nullptr;
};

class TOpenDialog : public TCommonDialog {
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;
    bool Execute() override;

    // "Description|*.ext;*.ext2|Description|*.*"
    String Filter;
    int FilterIndex = 1;
    String DefaultExt;
    String FileName;
    String InitialDir;
    String Title;
    TOpenOptions Options{ofHideReadOnly, ofEnableSizing};
    // The chosen files (one unless ofAllowMultiSelect).
    TStrings* Files() const { return files_.get(); }

protected:
    virtual bool IsSave() const { return false; }

private:
    friend UINT_PTR CALLBACK OpenDialogHook(HWND, UINT, WPARAM, LPARAM);
    TOwned<TStringList> files_;
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

// On: message boxes and open dialogs may use the newer system dialogs. A
// skin manager that skins standard dialogs turns it off, since only the
// classic dialogs can be skinned.
extern bool UseLatestCommonDialogs;

// Message boxes.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose };
using TMsgDlgButtons = Set<TMsgDlgBtn>;

// A box with the application's title and one OK button.
void ShowMessage(const String& Msg);
// A box with the type's icon and title and the buttons asked for; the
// answer as a modal result.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx = 0);
