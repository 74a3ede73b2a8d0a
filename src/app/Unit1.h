// The main window of Tavelin and the program-wide state of its unit: the
// language and settings files, the chosen language, and the texts the
// window shows in each language.
#pragma once

#include "ADODB.h"
#include "AdvGaugeCircle.h"
#include "AdvGrid.h"
#include "AdvGlowButton.h"
#include "AdvPanel.h"
#include "Dialogs.h"
#include "DirectoryQuery.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImagePicker.h"
#include "ImgList.h"
#include "InventoryRun.h"
#include "IniFiles.h"
#include "StdCtrls.h"
#include <array>
#include <memory>
#include <type_traits>

// ---------------------------------------------------------------------------
// Program-wide state.

// "ru" or "en" once the window has chosen its language on first show; empty
// before, and also after a "language" setting that names neither.
extern String LanguageCode;
// "languages.lng" of the program's folder, open from the first show for the
// life of the program.
extern TCustomIniFile* LanguageFile;
// "settings.ini" of the program's folder while the window reads or writes it.
extern TCustomIniFile* SettingsFile;

// ---------------------------------------------------------------------------
// The texts of the language file. Each is read from the section of its
// prefix plus LanguageCode, with its built-in English text as the default.

struct TLanguageText {
    const wchar_t* Key;
    const wchar_t* Default;
};

constexpr int InventoryColumnCount = 28;

// Section "form_": captions, hints and panel texts of the main window.
extern const std::array<TLanguageText, 16> FormTexts;
// Section "table_": the titles of the table's columns, keys "col0" .. "col27".
extern const std::array<TLanguageText, InventoryColumnCount> ColumnTitles;
// Section "messages_": message box and cell texts, read when needed.
extern const std::array<TLanguageText, 7> MessageTexts;

// The text of Key in the section Prefix + LanguageCode of LanguageFile; the
// built-in default when the file, section or key is missing.
String LanguageText(const String& Prefix, const TLanguageText& Text);
// A text of section "messages_" by key; raises EListError for a key that has
// no built-in default.
String MessageText(const String& Key);

// The web addresses the link label shows, per language, and the one page it
// opens whichever of them it shows.
extern const wchar_t* const RussianSiteAddress;
extern const wchar_t* const EnglishSiteAddress;
extern const wchar_t* const MakerPageAddress;

// Hands Target to the shell with Verb (empty: the default verb) and the
// window show command ShowCommand.
using TShellOpen = std::function<void(const String& Verb, const String& Target, int ShowCommand)>;
void ShellOpenTarget(const String& Verb, const String& Target, int ShowCommand);

// A setting of a component's settings object and the value the window gives
// it: the window's settings are tables of these, applied by one loop.
template <class Owner, class Arg>
struct TSettingValue {
    void (Owner::*Set)(Arg);
    std::decay_t<Arg> Value;
};

template <class Owner, class Arg, std::size_t N>
void ApplySettings(Owner* Target, const TSettingValue<Owner, Arg> (&Settings)[N])
{
    for (const TSettingValue<Owner, Arg>& setting : Settings)
        (Target->*setting.Set)(setting.Value);
}

// ---------------------------------------------------------------------------
class TForm1 : public TForm {
public:
    // Builds the window as its form resource would. ProgramFolder is where
    // "settings.ini", "languages.lng" and "pclist.txt" live; empty means the
    // folder of the running program.
    explicit TForm1(TComponent* AOwner, const String& ProgramFolder = String());
    // A run still going on ends before the controls it fills go.
    void BeforeDestruction() override;

    // The folder of the three files, with a trailing delimiter.
    const String& ProgramFolder() const { return programFolder_; }

    // Life cycle.
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    // The computer list (Unit1Lists.cpp).
    void BtnFromADClick(TObject* Sender);
    void ADOConnection1WillExecute(TADOConnection* Connection, String& CommandText, TADOCommand* Command);
    void BtnFromTXTClick(TObject* Sender);
    void BtnClearClick(TObject* Sender);
    void BtnSaveClick(TObject* Sender);
    void Memo2Change(TObject* Sender);
    void Memo2KeyPress(TObject* Sender, wchar_t& Key);
    void CBServersClick(TObject* Sender);
    // The inventory run (Unit1Inventory.cpp).
    void BtnHDDClick(TObject* Sender);
    void BtnStopClick(TObject* Sender);
    // The selected computer's details, the exports, the language picker and
    // the link label (Unit1Details.cpp).
    void StringGrid1Click(TObject* Sender);
    void BtnExcelClick(TObject* Sender);
    void BtnHTMLClick(TObject* Sender);
    void ImagePicker1Change(TObject* Sender);
    void Label18Click(TObject* Sender);
    void Label18MouseEnter(TObject* Sender);
    void Label18MouseLeave(TObject* Sender);

    // The signed-in user's name in an extended name format, as the directory
    // listing reads it to find the user's domain. Tests name the domain of
    // their directory here, since this platform signs no user into a domain.
    std::function<String(int Format)> UserNameText = GetUserNameText;
    // The WMI client the inventory runs through, read by the first "Start
    // inventory". Tests give a scripted client, since remote computers
    // cannot exist here.
    std::shared_ptr<IWmiClient> WmiClient = std::make_shared<TWbemClient>();
    // How the link label opens its page and "Export to HTML" the page it
    // wrote. Tests record the call instead, so that no browser starts.
    TShellOpen ShellOpen = ShellOpenTarget;
    // The run the inventory commands drive; null before the first start.
    const TInventoryRun* InventoryRun() const { return inventoryRun_.get(); }

    // The window's components, named as in its form.
    TPanel* Panel7 = nullptr;
    TPanel* Panel3 = nullptr;
    TPanel* Panel2 = nullptr;
    TPanel* Panel_Left_Top = nullptr;
    TLabel* Label4 = nullptr;
    TAdvGlowButton* BtnFromTXT = nullptr;
    TAdvGlowButton* BtnFromAD = nullptr;
    TCheckBox* CBServers = nullptr;
    TCheckBox* CBComputers = nullptr;
    TAdvGlowButton* BtnClear = nullptr;
    TAdvGlowButton* BtnSave = nullptr;
    TPanel* Panel_Left_Bottom = nullptr;
    TMemo* Memo2 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TAdvGlowButton* BtnHDD = nullptr;
    TAdvGlowButton* BtnStop = nullptr;
    TAdvGaugeCircle* AdvGaugeCircle1 = nullptr;
    TPanel* Panel1 = nullptr;
    TPanel* Panel4 = nullptr;
    TLabel* Label11 = nullptr;
    TPanel* Panel10 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label18 = nullptr;
    TPanel* Panel5 = nullptr;
    TPanel* Panel8 = nullptr;
    TAdvStringGrid* StringGrid1 = nullptr;
    TPanel* Panel9 = nullptr;
    TAdvGlowButton* BtnExcel = nullptr;
    TAdvGlowButton* BtnHTML = nullptr;
    TImagePicker* ImagePicker1 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TPanel* Panel6 = nullptr;
    TAdvPanelGroup* AdvPanelGroupShares = nullptr;
    TAdvPanelGroup* AdvPanelGroupAdmins = nullptr;
    TAdvPanelGroup* AdvPanelGroupLAN = nullptr;
    TAdvPanelGroup* AdvPanelGroupHDD = nullptr;
    TListBox* LBShares = nullptr;
    TListBox* LBAdmins = nullptr;
    TListBox* LBNetwork = nullptr;
    TListBox* LBHDD = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TSaveDialog* SaveDialog2 = nullptr;
    TADOConnection* ADOConnection1 = nullptr;
    TADOQuery* ADOQuery1 = nullptr;
    TWideStringField* ADOQuery1Name = nullptr;
    TWideStringField* ADOQuery1operatingsystem = nullptr;
    TADOCommand* ADOCommand1 = nullptr;
    TDataSource* DataSource1 = nullptr;
    TImageList* ImageList1 = nullptr;
    // The pictures of the glow buttons.
    TImageList* ButtonImages = nullptr;

private:
    // Layout (Unit1Layout.cpp).
    void CreateComponents();
    void CreateLeftColumn();
    void CreateRightPart();
    void CreateDetailPanels();
    void CreateNonVisual();
    void DrawPictures();
    template <class T>
    T* Make(const wchar_t* Name)
    {
        T* component = New<T>(this);
        component->SetName(Name);
        return component;
    }
    TPanel* NewPanel(const wchar_t* Name, TWinControl* Parent, TAlign Align, const TRect& Bounds);
    TLabel* NewLabel(const wchar_t* Name, TWinControl* Parent, int Left, int Top);
    TAdvGlowButton* NewButton(const wchar_t* Name, TWinControl* Parent, const TRect& Bounds);

    // The inventory table (Unit1Grid.cpp): every call into the grid.
    void CreateInventoryTable();
    void WriteColumnTitles();
    void FitTitleRow();
    void RestoreColumnLayout();
    void WriteColumnLayout();

    // The computer list's events (Unit1Lists.cpp).
    void ConnectListEvents();

    // The inventory run (Unit1Inventory.cpp): the window's controls as a
    // run fills them, on the main thread.
    class TInventoryView : public TInventoryTarget {
    public:
        explicit TInventoryView(TForm1& Form) : form_(Form) {}
        void SetCellText(int ACol, int ARow, const String& Value) override;
        void SetColWidth(int ACol, int Value) override;
        void SetGaugeMaximum(int Value) override;
        void SetGaugePosition(int Value) override;
        void SetGaugeVisible(bool Value) override;
        void SetCancelEnabled(bool Value) override;

    private:
        TForm1& form_;
    };
    void ConnectInventoryEvents();
    bool InventoryRunning() const;
    void CancelInventory();

    // The details, export, picker and link events (Unit1Details.cpp).
    void ConnectDetailEvents();
    // Shows "There is no data to export." and answers false while no row
    // holds a value besides the computer's name.
    bool HasDataToExport();

    // Files (Unit1Files.cpp).
    String FilePath(const wchar_t* Name) const;
    void LoadComputerList();
    void SaveComputerList();
    void OpenFiles();
    void ChooseLanguage();
    void ApplyFormTexts();
    void RestorePlacement();
    void WriteSettings();
    void WriteSettingsFile();

    String programFolder_;
    bool closing_ = false;
    std::unique_ptr<TInventoryView> inventoryView_;
    std::unique_ptr<TInventoryRun> inventoryRun_;
};

extern TForm1* Form1;

// Unit start-up and shut-down; counted, so that the last shut-down releases
// the unit's state.
void Unit1_Initialize();
void Unit1_Finalize();
