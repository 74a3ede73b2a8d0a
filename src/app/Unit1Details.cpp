// The selected computer's details in the four side lists, the exports of
// the table, the language picker's restart notice and the link label.
#include "Unit1.h"
#include <shellapi.h>

namespace {

// Columns of the table: the computer's name, and those the side lists show.
constexpr int NameColumn = 0;
constexpr int DisksColumn = 15;
constexpr int AdminsColumn = 20;
constexpr int AddressColumn = 21;
constexpr int MacColumn = 22;
constexpr int SharesColumn = 23;

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

// The entries of a cell, cut at ";" and at line breaks (CR LF counts once),
// each trimmed. A part that opens with a quotation mark is not cut at a ";"
// before its closing mark; a quote inside a name (O'Brien) opens nothing.
// With KeepEmpty the empty parts stay, so that two columns written entry
// for entry stay paired.
std::vector<String> CellEntries(const String& Text, bool KeepEmpty = false)
{
    std::vector<String> entries;
    std::size_t start = 0;
    const std::size_t length = Text.size();
    while (start <= length) {
        std::size_t i = start;
        while (i < length && (Text[i] == L' ' || Text[i] == L'\t'))
            ++i;
        if (i < length && (Text[i] == L'"' || Text[i] == L'\'')) {
            const std::size_t close = Text.find(Text[i], i + 1);
            const std::size_t lineEnd = Text.find_first_of(L"\r\n", i + 1);
            if (close != String::npos && close < lineEnd)
                i = close + 1;
        }
        while (i < length && Text[i] != L';' && !IsLineBreak(Text[i]))
            ++i;
        String entry = Trim(Text.substr(start, i - start));
        if (KeepEmpty || !entry.empty())
            entries.push_back(std::move(entry));
        if (i + 1 < length && Text[i] == L'\r' && Text[i + 1] == L'\n')
            ++i;
        start = i + 1;
    }
    return entries;
}

// The list shows the cell's entries from the last to the first.
void ShowEntries(TListBox* List, const std::vector<String>& Entries)
{
    TStrings* items = List->GetItems();
    items->BeginUpdate();
    items->Clear();
    for (auto entry = Entries.rbegin(); entry != Entries.rend(); ++entry)
        items->Add(*entry);
    items->EndUpdate();
}

} // namespace

void ShellOpenTarget(const String& Verb, const String& Target, int ShowCommand)
{
    ShellExecuteW(nullptr, Verb.empty() ? nullptr : Verb.c_str(), Target.c_str(), nullptr, nullptr, ShowCommand);
}

void TForm1::ConnectDetailEvents()
{
    StringGrid1->OnClick = [this](TObject* Sender) { StringGrid1Click(Sender); };
    BtnExcel->OnClick = [this](TObject* Sender) { BtnExcelClick(Sender); };
    BtnHTML->OnClick = [this](TObject* Sender) { BtnHTMLClick(Sender); };
    ImagePicker1->OnChange = [this](TObject* Sender) { ImagePicker1Change(Sender); };
    Label18->OnClick = [this](TObject* Sender) { Label18Click(Sender); };
    Label18->OnMouseEnter = [this](TObject* Sender) { Label18MouseEnter(Sender); };
    Label18->OnMouseLeave = [this](TObject* Sender) { Label18MouseLeave(Sender); };
}

void TForm1::StringGrid1Click(TObject*)
{
    TAdvStringGrid* grid = StringGrid1;
    const int row = grid->GetRow();
    // Columns by what the inventory wrote into them: a restored layout may
    // have moved them.
    const auto cell = [&](int ACol) { return grid->GetCellText(grid->ColumnPosition(ACol), row); };

    ShowEntries(LBAdmins, CellEntries(cell(AdminsColumn)));
    ShowEntries(LBShares, CellEntries(cell(SharesColumn)));

    // The inventory writes one MAC entry per address, an empty one too.
    const std::vector<String> addresses = CellEntries(cell(AddressColumn), true);
    const std::vector<String> macs = CellEntries(cell(MacColumn), true);
    std::vector<String> pairs;
    for (std::size_t i = 0; i < addresses.size(); ++i)
        if (!addresses[i].empty())
            pairs.push_back(addresses[i] + L" - " + (i < macs.size() ? macs[i] : String()));
    ShowEntries(LBNetwork, pairs);

    ShowEntries(LBHDD, CellEntries(cell(DisksColumn)));
}

// Any value the inventory wrote counts, a failure text too; a first computer
// that reported no model does not hide the rows after it.
bool TForm1::HasDataToExport()
{
    TAdvStringGrid* grid = StringGrid1;
    for (int row = 1; row < grid->GetRowCount(); ++row)
        for (int col = NameColumn + 1; col < InventoryColumnCount; ++col)
            if (!grid->GetCellText(grid->ColumnPosition(col), row).empty())
                return true;
    MessageDlg(MessageText(L"msg_empty"), mtInformation, {mbOK});
    return false;
}

// The grid reports a workbook it could not write, and the class library shows
// that error: the completion box follows only a file really written.
void TForm1::BtnExcelClick(TObject*)
{
    if (!HasDataToExport() || !SaveDialog1->Execute())
        return;
    StringGrid1->SaveToXLS(SaveDialog1->FileName, true);
    MessageDlg(MessageText(L"msg_export"), mtInformation, {mbOK});
}

// The page is opened here rather than by the grid, with the verb and show
// command the grid would use, so that it goes through the window's shell
// call. A page that cannot be written raises before anything opens.
void TForm1::BtnHTMLClick(TObject*)
{
    if (!HasDataToExport() || !SaveDialog2->Execute())
        return;
    const String fileName = SaveDialog2->FileName;
    StringGrid1->SaveToHTML(fileName, false, true);
    if (ShellOpen)
        ShellOpen(L"open", fileName, SW_SHOWNORMAL);
    MessageDlg(MessageText(L"msg_export"), mtInformation, {mbOK});
}

void TForm1::ImagePicker1Change(TObject*)
{
    Label11->SetCaption(ImagePicker1->GetItemIndex() != 0 ? L"Restart the program to take effect!"
                                                           : L"Для смены языка перезапустите программу!");
    Label11->SetVisible(true);
}

void TForm1::Label18Click(TObject*)
{
    if (ShellOpen)
        ShellOpen(String(), MakerPageAddress, SW_SHOWNOACTIVATE);
}

void TForm1::Label18MouseEnter(TObject*)
{
    if (Screen)
        Screen->SetCursor(crHandPoint);
}

void TForm1::Label18MouseLeave(TObject*)
{
    if (Screen)
        Screen->SetCursor(crDefault);
}
