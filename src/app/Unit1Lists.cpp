// The computer list's sources: the user's directory, a text file, typing,
// clearing and saving, with the line count beside the list.
#include "Unit1.h"

namespace {

// The signed-in user's name with the domain as a DNS name, "domain\user".
constexpr int NameDnsDomain = 12;
constexpr int DirectoryPageSize = 1000;
constexpr wchar_t CtrlA = 1;

// The hourglass for the length of a command, back to normal however it ends.
class TWaitCursor {
public:
    TWaitCursor()
    {
        if (Screen)
            Screen->SetCursor(crHourGlass);
    }
    ~TWaitCursor()
    {
        if (Screen)
            Screen->SetCursor(crDefault);
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

void TForm1::ConnectListEvents()
{
    BtnFromAD->OnClick = [this](TObject* Sender) { BtnFromADClick(Sender); };
    ADOConnection1->OnWillExecute = [this](TADOConnection* Connection, String& CommandText,
                                           TADOCommand* Command) {
        ADOConnection1WillExecute(Connection, CommandText, Command);
    };
    BtnFromTXT->OnClick = [this](TObject* Sender) { BtnFromTXTClick(Sender); };
    BtnClear->OnClick = [this](TObject* Sender) { BtnClearClick(Sender); };
    BtnSave->OnClick = [this](TObject* Sender) { BtnSaveClick(Sender); };
    Memo2->OnKeyPress = [this](TObject* Sender, wchar_t& Key) { Memo2KeyPress(Sender, Key); };
    CBServers->OnClick = [this](TObject* Sender) { CBServersClick(Sender); };
}

void TForm1::BtnFromADClick(TObject*)
{
    TWaitCursor wait;
    if (Application)
        Application->ProcessMessages();
    Memo2->GetLines()->Clear();
    // Any failure, not being in a domain included, shows the one message;
    // the platform's own reason means nothing to the person listing.
    try {
        const String domain = UserDomain(UserNameText(NameDnsDomain));
        ADOQuery1->GetSQL()->Clear();
        // Sorted apart and put in at once: the list changes once, not per name.
        TOwned<TStringList> names(New<TStringList>());
        const int count = ListDirectoryComputers(
            ADOCommand1, ADOQuery1,
            DirectoryQueryText(domain, CBServers->GetChecked(), CBComputers->GetChecked()), names.get());
        Memo2->GetLines()->SetText(names->GetText());
        // After the lines, whose change shows their count: the count shown
        // is of the records found, the nameless ones included.
        Label2->SetCaption(IntToStr(count));
    } catch (const Exception&) {
        MessageDlg(MessageText(L"msg_domain"), mtError, {mbOK});
    }
}

void TForm1::ADOConnection1WillExecute(TADOConnection*, String&, TADOCommand*)
{
    ADOCommand1->Properties(L"Page Size").SetValue(DirectoryPageSize);
}

void TForm1::BtnFromTXTClick(TObject*)
{
    // The dialog takes its start folder when it opens, before its show event.
    OpenDialog1->InitialDir = ProgramFolder();
    if (OpenDialog1->Execute())
        Memo2->GetLines()->LoadFromFile(OpenDialog1->FileName);
    Label2->SetCaption(IntToStr(Memo2->GetLines()->Count()));
}

void TForm1::BtnClearClick(TObject*)
{
    Memo2->GetLines()->Clear();
}

void TForm1::BtnSaveClick(TObject*)
{
    SaveComputerList();
}

void TForm1::Memo2Change(TObject*)
{
    Label2->SetCaption(IntToStr(Memo2->GetLines()->Count()));
}

void TForm1::Memo2KeyPress(TObject*, wchar_t& Key)
{
    if (Key == CtrlA) {
        Memo2->SelectAll();
        Key = 0;
    }
}

void TForm1::CBServersClick(TObject*)
{
    // A listing needs a kind of computer; without servers it is workstations.
    if (!CBServers->GetChecked())
        CBComputers->SetChecked(true);
}
