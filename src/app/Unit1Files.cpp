// The three files beside the program: "languages.lng" with the texts of
// each language, "settings.ini" with the language, the window's placement
// and the table's layout, and "pclist.txt" with the computer list.
#include "Unit1.h"
#include <algorithm>

const std::array<TLanguageText, 16> FormTexts = {{
    {L"lbl_getcomp", L"Get a list of computers"},
    {L"lbl_objects", L"Number of objects:"},
    {L"btn_fromtxt", L"...from TXT file"},
    {L"btn_fromad", L"...from Active Directory"},
    {L"btn_start", L"Start inventory"},
    {L"btn_stop", L"Cancel"},
    {L"btn_excel", L"Export to Excel"},
    {L"btn_html", L"Export to HTML"},
    {L"cb_servers", L"Servers"},
    {L"cb_workstations", L"Workstations"},
    {L"btn_clear_hint", L"Clear the list"},
    {L"btn_save_hint", L"Save the list"},
    {L"pn_folder", L"Shared folders"},
    {L"pn_admins", L"Local administrators"},
    {L"pn_network", L"Network addresses"},
    {L"pn_hdd", L"Logical disks"},
}};

const std::array<TLanguageText, InventoryColumnCount> ColumnTitles = {{
    {L"col0", L"Computer name"},
    {L"col1", L"Computer model"},
    {L"col2", L"Motherboard"},
    {L"col3", L"CPU socket"},
    {L"col4", L"Processor name"},
    {L"col5", L"CPU frequency"},
    {L"col6", L"CPU count"},
    {L"col7", L"Cores per CPU"},
    {L"col8", L"Memory type"},
    {L"col9", L"RAM installed"},
    {L"col10", L"RAM max"},
    {L"col11", L"Memory slots total"},
    {L"col12", L"Memory slots used"},
    {L"col13", L"HDD count"},
    {L"col14", L"S.M.A.R.T."},
    {L"col15", L"Logical disks (free space, %)"},
    {L"col16", L"Video adapter"},
    {L"col17", L"Video memory size"},
    {L"col18", L"Monitor"},
    {L"col19", L"Operating system"},
    {L"col20", L"Local administrators"},
    {L"col21", L"IP address"},
    {L"col22", L"MAC address"},
    {L"col23", L"Shared folders"},
    {L"col24", L"Logged on user"},
    {L"col25", L"Windows activation status"},
    {L"col26", L"Computer Serial Number"},
    {L"col27", L"Monitor Serial Number"},
}};

const std::array<TLanguageText, 7> MessageTexts = {{
    {L"msg_empty", L"There is no data to export."},
    {L"msg_export", L"Export was completed!"},
    {L"msg_no_objects", L"The list of computers is empty!"},
    {L"msg_domain", L"Can't get the list of computers from your domain!"},
    {L"grid_wmi", L"Computer or WMI service is unavailable."},
    {L"grid_inst_kb_2003", L"Install KB932370 on target PC."},
    {L"grid_inst_kb_XP", L"Install KB932370 on target PC."},
}};

const wchar_t* const RussianSiteAddress = L"https://tavelin.example/ru/";
const wchar_t* const EnglishSiteAddress = L"https://tavelin.example/en/";
const wchar_t* const MakerPageAddress = L"https://tavelin.example/";

namespace {

const wchar_t* const LanguageFileName = L"languages.lng";
const wchar_t* const SettingsFileName = L"settings.ini";
const wchar_t* const ComputerListFileName = L"pclist.txt";
const wchar_t* const OptionsSection = L"options";
const wchar_t* const LanguageKey = L"language";

// The window's placement when "settings.ini" has none.
constexpr int DefaultLeft = 100;
constexpr int DefaultTop = 100;
constexpr int DefaultWidth = 990;
constexpr int DefaultHeight = 657;

template <std::size_t N>
const TLanguageText& FindText(const std::array<TLanguageText, N>& Texts, const String& Key)
{
    auto found = std::find_if(Texts.begin(), Texts.end(), [&](const TLanguageText& t) { return Key == t.Key; });
    if (found == Texts.end())
        throw EListError(L"No language text \"" + Key + L"\"");
    return *found;
}

// The placement record keeps the normal rectangle relative to the work
// area; the settings keep it on the screen, where the next start puts it.
TRect WorkspaceToScreen(const RECT& Rect)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    TRect r(Rect);
    OffsetRect(&r, work.left, work.top);
    return r;
}

} // namespace

String LanguageText(const String& Prefix, const TLanguageText& Text)
{
    if (!LanguageFile)
        return Text.Default;
    return LanguageFile->ReadString(Prefix + LanguageCode, Text.Key, Text.Default);
}

String MessageText(const String& Key)
{
    return LanguageText(L"messages_", FindText(MessageTexts, Key));
}

String TForm1::FilePath(const wchar_t* Name) const
{
    return programFolder_ + Name;
}

void TForm1::LoadComputerList()
{
    const String path = FilePath(ComputerListFileName);
    if (FileExists(path))
        Memo2->GetLines()->LoadFromFile(path);
}

// Every line ends in CR LF, the last one too. The file is in the system's
// code page, as it always was, unless a name does not fit it: then it is
// UTF-8 with its mark, which the next start reads back unchanged.
void TForm1::SaveComputerList()
{
    TOwned<TStringList> lines(New<TStringList>());
    lines->SetText(Memo2->GetText());
    const String text = lines->GetText();
    TEncoding* encoding = TEncoding::Default()->CanEncode(text) ? TEncoding::Default() : TEncoding::UTF8();
    lines->SaveToFile(FilePath(ComputerListFileName), encoding);
}

void TForm1::OpenFiles()
{
    FreeAndNil(LanguageFile);
    LanguageFile = New<TIniFile>(FilePath(LanguageFileName));
    FreeAndNil(SettingsFile);
    SettingsFile = New<TIniFile>(FilePath(SettingsFileName));
}

// Without a language file the program speaks English and offers no choice.
// Otherwise the setting decides, and no setting at all means Russian; a
// setting that is neither word leaves the language undecided, so that every
// text falls back to its English default.
void TForm1::ChooseLanguage()
{
    struct TLanguage {
        const wchar_t* Code;
        int PickerIndex;
        const wchar_t* Title;  // null: the application keeps its title
        const wchar_t* Site;
    };
    static const TLanguage russian{L"ru", 0, L"Тавелин", RussianSiteAddress};
    static const TLanguage russianByDefault{L"ru", 0, nullptr, RussianSiteAddress};
    static const TLanguage english{L"en", 1, L"Tavelin", EnglishSiteAddress};

    LanguageCode.clear();
    const TLanguage* chosen = nullptr;
    if (!FileExists(FilePath(LanguageFileName))) {
        ImagePicker1->SetVisible(false);
        chosen = &english;
    } else {
        const String setting = SettingsFile->ReadString(OptionsSection, LanguageKey, String());
        if (setting.empty())
            chosen = &russianByDefault;
        else if (setting == L"russian")
            chosen = &russian;
        else if (setting == L"english")
            chosen = &english;
    }
    if (!chosen)
        return;
    LanguageCode = chosen->Code;
    ImagePicker1->SetItemIndex(chosen->PickerIndex);
    if (chosen->Title && Application)
        Application->SetTitle(chosen->Title);
    Label18->SetCaption(chosen->Site);
}

void TForm1::ApplyFormTexts()
{
    const auto text = [](const wchar_t* key) { return LanguageText(L"form_", FindText(FormTexts, key)); };
    const std::pair<TControl*, const wchar_t*> captions[] = {
        {Label4, L"lbl_getcomp"},       {Label1, L"lbl_objects"},     {BtnFromTXT, L"btn_fromtxt"},
        {BtnFromAD, L"btn_fromad"},     {BtnHDD, L"btn_start"},       {BtnStop, L"btn_stop"},
        {BtnExcel, L"btn_excel"},       {BtnHTML, L"btn_html"},       {CBServers, L"cb_servers"},
        {CBComputers, L"cb_workstations"},
    };
    for (auto [control, key] : captions)
        control->SetCaption(text(key));
    BtnClear->SetHint(text(L"btn_clear_hint"));
    BtnSave->SetHint(text(L"btn_save_hint"));
    const std::pair<TAdvPanelGroup*, const wchar_t*> panels[] = {
        {AdvPanelGroupShares, L"pn_folder"},
        {AdvPanelGroupAdmins, L"pn_admins"},
        {AdvPanelGroupLAN, L"pn_network"},
        {AdvPanelGroupHDD, L"pn_hdd"},
    };
    for (auto [panel, key] : panels)
        panel->SetText(text(key));
}

// The saved left and top, or 100,100 at a first start, win over the
// screen-centred design; a window saved entirely off the screens (a monitor
// since removed) comes back onto the nearest one.
void TForm1::RestorePlacement()
{
    SetPosition(poDesigned);
    SetBounds(SettingsFile->ReadInteger(OptionsSection, L"form_left", DefaultLeft),
              SettingsFile->ReadInteger(OptionsSection, L"form_top", DefaultTop),
              SettingsFile->ReadInteger(OptionsSection, L"form_width", DefaultWidth),
              SettingsFile->ReadInteger(OptionsSection, L"form_height", DefaultHeight));
    if (Screen && !Screen->MonitorFromRect(GetBoundsRect(), mdNull)) {
        const TRect work = Screen->MonitorFromRect(GetBoundsRect(), mdNearest)->WorkareaRect();
        const int width = GetWidth(), height = GetHeight();
        const int left = std::clamp<int>(GetLeft(), work.left, std::max<int>(work.left, work.right - width));
        const int top = std::clamp<int>(GetTop(), work.top, std::max<int>(work.top, work.bottom - height));
        SetBounds(left, top, width, height);
    }
    SetWindowState(SettingsFile->ReadBool(OptionsSection, L"form_state_maximized", false) ? wsMaximized
                                                                                          : wsNormal);
}

// Settings that cannot be written (a read-only file or folder) are said once;
// the window closes all the same.
void TForm1::WriteSettings()
{
    try {
        WriteSettingsFile();
    } catch (const Exception&) {
        FreeAndNil(SettingsFile);
        if (Application)
            Application->HandleException(this);
    }
}

void TForm1::WriteSettingsFile()
{
    FreeAndNil(SettingsFile);
    SettingsFile = New<TIniFile>(FilePath(SettingsFileName));
    switch (ImagePicker1->GetItemIndex()) {
    case 0: SettingsFile->WriteString(OptionsSection, LanguageKey, L"russian"); break;
    case 1: SettingsFile->WriteString(OptionsSection, LanguageKey, L"english"); break;
    default: break;
    }
    WriteColumnLayout();
    if (HandleAllocated()) {
        WINDOWPLACEMENT placement{sizeof placement};
        GetWindowPlacement(Handle(), &placement);
        const TRect normal = WorkspaceToScreen(placement.rcNormalPosition);
        SettingsFile->WriteInteger(OptionsSection, L"form_left", normal.left);
        SettingsFile->WriteInteger(OptionsSection, L"form_top", normal.top);
        SettingsFile->WriteInteger(OptionsSection, L"form_width", normal.Width());
        SettingsFile->WriteInteger(OptionsSection, L"form_height", normal.Height());
        SettingsFile->WriteBool(OptionsSection, L"form_state_maximized", GetWindowState() == wsMaximized);
    }
    FreeAndNil(SettingsFile);
}
