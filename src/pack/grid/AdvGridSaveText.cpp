// Cell text for files: the one rule every writer takes cells by, the one
// step every reader stores them with, and a cell's value as a number.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "HTMLUtils.h"
#include <richedit.h>
#include <cwchar>

namespace {

// The plain text of rich text, as the platform's rich edit control reads it.
String RichTextToPlainText(const String& Rtf)
{
    // The control's module stays loaded once it was needed.
    static const HMODULE module = LoadLibraryW(L"riched20.dll");
    if (!module)
        return Rtf;
    HWND edit = CreateWindowExW(0, RICHEDIT_CLASSW, L"", ES_MULTILINE, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
    if (!edit)
        return Rtf;
    // Rich text is 7-bit text that escapes everything else.
    const AnsiString narrow = WideToAnsi(Rtf);
    SETTEXTEX set{ST_DEFAULT, CP_ACP};
    SendMessageW(edit, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(narrow.c_str()));
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_NUMCHARS, 1200};
    const auto count = SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    String text(static_cast<std::size_t>(std::max<LRESULT>(count, 0)) + 1, L'\0');
    GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_USECRLF, 1200, nullptr, nullptr};
    const auto got = SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                  reinterpret_cast<LPARAM>(text.data()));
    DestroyWindow(edit);
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

String WithoutLineBreaks(String Text)
{
    std::erase_if(Text, [](wchar_t ch) { return ch == L'\r' || ch == L'\n'; });
    return Text;
}

} // namespace

String TAdvStringGrid::SaveCell(int ACol, int ARow)
{
    String text;
    if (FSaveVirtCells)
        FormatCellText(ACol, ARow, text);
    else
        text = GetRawCell(ACol, ARow);
    if (!FSaveMergedCells && !IsBaseCell(ACol, ARow))
        text.clear();

    if (text.empty()) {
        const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
        const TCellType kind = graphic ? graphic->GetCellType() : ctEmpty;
        if (kind == ctCheckBox || kind == ctTriStateCheckBox) {
            const bool checked = kind == ctCheckBox ? graphic->GetCellBoolean()
                                                    : graphic->GetCellCheckBoxState() == cbChecked;
            if (checked)
                DoGetCheckTrue(ACol, ARow, text);
            else
                DoGetCheckFalse(ACol, ARow, text);
        }
    }

    switch (ClassifyCellText(text, true)) {
    case ctkHTML:
        if (!FSaveWithHTML)
            text = GridHTMLToText(text);
        break;
    case ctkRTF:
        text = FSaveWithRTF ? WithoutLineBreaks(text) : RichTextToPlainText(text);
        break;
    default:
        break;
    }
    if (OnSaveCell)
        OnSaveCell(this, ACol, ARow, text);
    return text;
}

String TAdvStringGrid::ExportCell(int ACol, int ARow)
{
    return GetCellText(ACol, ARow);
}

void TAdvStringGrid::GetCellTextForSave(int ACol, int ARow, String& Text)
{
    Text = GetCellText(ACol, ARow);
}

void TAdvStringGrid::FormatCellText(int ACol, int ARow, String& Text)
{
    Text = ExportCell(ACol, ARow);
}

void TAdvStringGrid::LoadCellText(int ACol, int ARow, const String& Text)
{
    String text = Text;
    if (OnLoadCell)
        OnLoadCell(this, ACol, ARow, text);
    SetRawCell(ACol, ARow, text);
}

double TAdvStringGrid::CellToReal(int ACol, int ARow)
{
    const String text = GetCellText(ACol, ARow);
    if (text.empty())
        return 0;
    const String number = NormalizeNumberText(text);
    wchar_t* end = nullptr;
    const double value = std::wcstod(number.c_str(), &end);
    const auto stop = static_cast<std::size_t>(end - number.c_str());
    if (number.empty() || stop < number.size())
        throw EAdvGridError(L"Error at position: " + IntToStr(static_cast<int>(stop) + 1) + L" in Cell [" +
                            IntToStr(ACol) + L", " + IntToStr(ARow) + L"].");
    return value;
}
