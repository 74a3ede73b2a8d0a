// The main window's components as its form describes them: names, parents,
// bounds, alignment and the settings that carry behaviour.
#include "Unit1.h"

namespace {

// One colour set for every glow button of the window.
constexpr TSettingValue<TGlowButtonAppearance, TColor> ButtonColors[] = {
    {&TGlowButtonAppearance::SetColorChecked, 16111818},
    {&TGlowButtonAppearance::SetColorCheckedTo, 16367008},
    {&TGlowButtonAppearance::SetColorDisabled, 15921906},
    {&TGlowButtonAppearance::SetColorDisabledTo, 15921906},
    {&TGlowButtonAppearance::SetColorDown, 16111818},
    {&TGlowButtonAppearance::SetColorDownTo, 16367008},
    {&TGlowButtonAppearance::SetColorHot, 16117985},
    {&TGlowButtonAppearance::SetColorHotTo, 16372402},
    {&TGlowButtonAppearance::SetColorMirrorHot, 16107693},
    {&TGlowButtonAppearance::SetColorMirrorHotTo, 16775412},
    {&TGlowButtonAppearance::SetColorMirrorDown, 16102556},
    {&TGlowButtonAppearance::SetColorMirrorDownTo, 16768988},
    {&TGlowButtonAppearance::SetColorMirrorChecked, 16102556},
    {&TGlowButtonAppearance::SetColorMirrorCheckedTo, 16768988},
    {&TGlowButtonAppearance::SetColorMirrorDisabled, 11974326},
    {&TGlowButtonAppearance::SetColorMirrorDisabledTo, 15921906},
};

// Images of ButtonImages.
enum TButtonImage { biClear, biSave, biExcel, biHTML };

void SetFontOf(TFont* Font, const wchar_t* Name, int Height, TFontStyles Style = {},
             TColor Color = clWindowText)
{
    Font->SetName(Name);
    Font->SetHeight(Height);
    Font->SetStyle(Style);
    Font->SetColor(Color);
}

} // namespace

TForm1::TForm1(TComponent* AOwner, const String& ProgramFolder)
    : TForm(AOwner),
      programFolder_(IncludeTrailingPathDelimiter(
          ProgramFolder.empty() ? ExtractFilePath(ParamStr(0)) : ProgramFolder))
{
    BeginLoading();
    CreateComponents();
    ConnectListEvents();
    ConnectInventoryEvents();
    ConnectDetailEvents();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
}

void TForm1::CreateComponents()
{
    SetName(L"Form1");
    // A placeholder: activation puts the versioned caption of the language.
    SetCaption(L"Tavelin");
    SetBounds(0, 0, 990, 657);
    SetClientWidth(974);
    SetClientHeight(618);
    GetConstraints()->SetMinWidth(982);
    GetConstraints()->SetMinHeight(400);
    SetColor(clBtnFace);
    SetFontOf(GetFont(), L"MS Sans Serif", -11);
    SetPosition(poScreenCenter);
    SetPixelsPerInch(96);

    CreateNonVisual();
    Panel7 = NewPanel(L"Panel7", this, alClient, Bounds(0, 0, 974, 618));
    Panel7->SetBevelOuter(bvNone);
    Panel3 = NewPanel(L"Panel3", Panel7, alTop, Bounds(0, 0, 974, 9));
    CreateLeftColumn();
    CreateRightPart();
}

TPanel* TForm1::NewPanel(const wchar_t* Name, TWinControl* Parent, TAlign Align, const TRect& Bounds)
{
    auto* panel = Make<TPanel>(Name);
    panel->SetBoundsRect(Bounds);
    panel->SetAlign(Align);
    panel->SetParent(Parent);
    return panel;
}

TLabel* TForm1::NewLabel(const wchar_t* Name, TWinControl* Parent, int Left, int Top)
{
    auto* label = Make<TLabel>(Name);
    label->SetLeft(Left);
    label->SetTop(Top);
    label->SetAutoSize(true);
    label->SetParent(Parent);
    return label;
}

TAdvGlowButton* TForm1::NewButton(const wchar_t* Name, TWinControl* Parent, const TRect& Bounds)
{
    auto* button = Make<TAdvGlowButton>(Name);
    button->SetBoundsRect(Bounds);
    ApplySettings(button->GetAppearance(), ButtonColors);
    SetFontOf(button->GetNotesFont(), L"Tahoma", -11);
    button->SetParent(Parent);
    return button;
}

// The list-source column: where the names come from, the list itself, the
// start and cancel buttons and the progress gauge.
void TForm1::CreateLeftColumn()
{
    Panel2 = NewPanel(L"Panel2", Panel7, alLeft, Bounds(0, 9, 200, 609));

    Panel_Left_Top = NewPanel(L"Panel_Left_Top", Panel2, alTop, Bounds(1, 1, 198, 129));
    Label4 = NewLabel(L"Label4", Panel_Left_Top, 15, 5);
    Label4->SetCaption(L"Получить список компьютеров");
    BtnFromTXT = NewButton(L"BtnFromTXT", Panel2, Bounds(15, 24, 174, 25));
    BtnFromTXT->SetCaption(L"...из текстового файла");
    BtnFromAD = NewButton(L"BtnFromAD", Panel_Left_Top, Bounds(15, 55, 174, 25));
    BtnFromAD->SetCaption(L"...из Active Directory");
    CBServers = Make<TCheckBox>(L"CBServers");
    CBServers->SetBounds(15, 86, 110, 17);
    CBServers->SetCaption(L"Серверы");
    CBServers->SetChecked(true);
    CBServers->SetParent(Panel_Left_Top);
    CBComputers = Make<TCheckBox>(L"CBComputers");
    CBComputers->SetBounds(15, 102, 110, 17);
    CBComputers->SetCaption(L"Рабочие станции");
    CBComputers->SetChecked(true);
    CBComputers->SetParent(Panel_Left_Top);
    BtnClear = NewButton(L"BtnClear", Panel_Left_Top, Bounds(133, 99, 24, 24));
    BtnSave = NewButton(L"BtnSave", Panel_Left_Top, Bounds(161, 100, 24, 24));
    for (auto [button, image] : {std::pair{BtnClear, biClear}, std::pair{BtnSave, biSave}}) {
        button->SetShowCaption(false);
        button->SetShowHint(true);
        button->SetImages(ButtonImages);
        button->SetImageIndex(image);
    }

    Panel_Left_Bottom = NewPanel(L"Panel_Left_Bottom", Panel2, alClient, Bounds(1, 130, 198, 478));
    Memo2 = Make<TMemo>(L"Memo2");
    Memo2->SetBounds(15, 6, 169, 218);
    Memo2->SetScrollBars(ssBoth);
    Memo2->SetWordWrap(false);
    Memo2->OnChange = [this](TObject* Sender) { Memo2Change(Sender); };
    Memo2->SetParent(Panel_Left_Bottom);
    Label1 = NewLabel(L"Label1", Panel_Left_Bottom, 15, 234);
    Label1->SetCaption(L"Найдено объектов:");
    Label2 = NewLabel(L"Label2", Panel_Left_Bottom, 130, 234);
    BtnHDD = NewButton(L"BtnHDD", Panel_Left_Bottom, Bounds(15, 255, 169, 40));
    BtnHDD->SetCaption(L"Инвентаризация");
    BtnHDD->GetFont()->SetStyle({fsBold});
    BtnStop = NewButton(L"BtnStop", Panel_Left_Bottom, Bounds(15, 304, 90, 28));
    BtnStop->SetCaption(L"Отменить");
    BtnStop->SetEnabled(false);

    AdvGaugeCircle1 = Make<TAdvGaugeCircle>(L"AdvGaugeCircle1");
    AdvGaugeCircle1->SetLeft(46);
    AdvGaugeCircle1->SetTop(462);
    AdvGaugeCircle1->SetVisible(false);
    AdvGaugeCircle1->SetMaximum(100);
    AdvGaugeCircle1->SetIncrement(5);
    AdvGaugeCircle1->SetArcWidth(3);
    AdvGaugeCircle1->SetText(L"%");
    SetFontOf(AdvGaugeCircle1->GetFont(), L"Trebuchet Sans MS", -19, {}, clBlack);
    TGDIPFill* background = AdvGaugeCircle1->GetBackground();
    background->SetColor(clWhite);
    background->SetColorTo(clWhite);
    background->SetGradientType(gtSolid);
    background->SetBorderColor(clNone);
    AdvGaugeCircle1->SetParent(Panel2);
}

// The right part: status line, table with the export buttons and the
// language picker, and the detail panels under a splitter.
void TForm1::CreateRightPart()
{
    Panel1 = NewPanel(L"Panel1", Panel7, alClient, Bounds(200, 9, 774, 609));

    Panel4 = NewPanel(L"Panel4", Panel1, alBottom, Bounds(1, 562, 772, 46));
    Label11 = NewLabel(L"Label11", Panel4, 12, 14);
    SetFontOf(Label11->GetFont(), L"MS Sans Serif", -8, {fsBold}, clRed);
    Label11->SetVisible(false);
    Panel10 = NewPanel(L"Panel10", Panel4, alRight, Bounds(469, 1, 302, 44));
    Label10 = NewLabel(L"Label10", Panel10, 0, 8);
    Label10->SetCaption(L"Made by the Tavelin developers");
    Label10->SetEnabled(false);
    Label18 = NewLabel(L"Label18", Panel10, 0, 24);
    Label18->SetCaption(RussianSiteAddress);
    Label18->GetFont()->SetColor(clHotLight);
    Label18->GetFont()->SetStyle({fsUnderline});

    Panel5 = NewPanel(L"Panel5", Panel1, alClient, Bounds(1, 1, 772, 561));
    Panel8 = NewPanel(L"Panel8", Panel5, alClient, Bounds(1, 1, 770, 385));
    CreateInventoryTable();
    Panel9 = NewPanel(L"Panel9", Panel8, alBottom, Bounds(1, 343, 768, 41));
    BtnExcel = NewButton(L"BtnExcel", Panel9, Bounds(11, 3, 130, 32));
    BtnExcel->SetCaption(L"Выгрузить в Excel");
    BtnHTML = NewButton(L"BtnHTML", Panel9, Bounds(159, 3, 130, 32));
    BtnHTML->SetCaption(L"Выгрузить в HTML");
    for (auto [button, image] : {std::pair{BtnExcel, biExcel}, std::pair{BtnHTML, biHTML}}) {
        button->SetLayout(AdvGlowButton::blGlyphLeftAdjusted);
        button->SetImages(ButtonImages);
        button->SetImageIndex(image);
    }

    ImagePicker1 = Make<TImagePicker>(L"ImagePicker1");
    ImagePicker1->SetBounds(687, 1, 69, 38);
    for (int image : {0, 1})
        ImagePicker1->GetItems()->Add()->SetImageIndex(image);
    ImagePicker1->SetImages(ImageList1);
    ImagePicker1->SetEditHeight(32);
    ImagePicker1->SetItemHeight(32);
    ImagePicker1->SetDropHeight(200);
    ImagePicker1->SetEtched(true);
    ImagePicker1->SetColor(clBtnFace);
    ImagePicker1->SetItemIndex(0);
    ImagePicker1->SetParent(Panel9);

    // Bottom-aligned controls stack by their design tops: the splitter sits
    // above the detail panels.
    Splitter1 = Make<TSplitter>(L"Splitter1");
    Splitter1->SetBounds(1, 386, 770, 4);
    Splitter1->SetAlign(alBottom);
    Splitter1->SetBeveled(true);
    Splitter1->SetCursor(crVSplit);
    Splitter1->SetParent(Panel5);
    Panel6 = NewPanel(L"Panel6", Panel5, alBottom, Bounds(1, 390, 770, 170));
    CreateDetailPanels();
}

// The four detail lists of the selected computer, each under its title.
void TForm1::CreateDetailPanels()
{
    struct TDetail {
        TAdvPanelGroup*& Group;
        const wchar_t* GroupName;
        TListBox*& List;
        const wchar_t* ListName;
        int Left;
        const wchar_t* Text;
    };
    const TDetail details[] = {
        {AdvPanelGroupShares, L"AdvPanelGroupShares", LBShares, L"LBShares", 10, L"<B> Shared Folders</B>"},
        {AdvPanelGroupAdmins, L"AdvPanelGroupAdmins", LBAdmins, L"LBAdmins", 199, L"<B> Local Admins</B>"},
        {AdvPanelGroupLAN, L"AdvPanelGroupLAN", LBNetwork, L"LBNetwork", 388, L"<B> Network Addresses</B>"},
        {AdvPanelGroupHDD, L"AdvPanelGroupHDD", LBHDD, L"LBHDD", 577, L"<B> Logical Disks</B>"},
    };
    for (const TDetail& detail : details) {
        auto* group = Make<TAdvPanelGroup>(detail.GroupName);
        group->SetBounds(detail.Left, 8, 183, 153);
        group->SetText(detail.Text);
        group->SetTopIndent(5);
        group->SetColumns(2);
        group->SetGroupStyle(gsVertical);
        group->SetHorzPadding(8);
        group->SetVertPadding(8);
        group->SetFullHeight(15);
        group->GetCaption()->SetColor(clHighlight);
        group->SetParent(Panel6);
        detail.Group = group;

        auto* list = Make<TListBox>(detail.ListName);
        list->SetBounds(1, 24, 181, 128);
        list->SetAlign(alBottom);
        list->SetColor(clInfoBk);
        list->SetItemHeight(13);
        list->SetParent(group);
        detail.List = list;
    }
}

void TForm1::CreateNonVisual()
{
    OpenDialog1 = Make<TOpenDialog>(L"OpenDialog1");
    SaveDialog1 = Make<TSaveDialog>(L"SaveDialog1");
    SaveDialog1->DefaultExt = L"xlsx";
    SaveDialog1->Filter = L"Excel file|*.xlsx";
    SaveDialog2 = Make<TSaveDialog>(L"SaveDialog2");
    SaveDialog2->DefaultExt = L"html";
    SaveDialog2->Filter = L"HTML file|*.htm*";

    ADOConnection1 = Make<TADOConnection>(L"ADOConnection1");
    ADOConnection1->SetProvider(L"ADsDSOObject");
    ADOConnection1->SetLoginPrompt(false);
    ADOConnection1->SetMode(cmRead);
    ADOQuery1 = Make<TADOQuery>(L"ADOQuery1");
    ADOQuery1->SetConnection(ADOConnection1);
    ADOQuery1->SetCursorType(ctStatic);
    struct TFieldDef {
        TWideStringField*& Field;
        const wchar_t* Name;
        const wchar_t* FieldName;
    };
    const TFieldDef fields[] = {
        {ADOQuery1Name, L"ADOQuery1Name", L"Name"},
        {ADOQuery1operatingsystem, L"ADOQuery1operatingsystem", L"operatingsystem"},
    };
    for (const TFieldDef& def : fields) {
        auto* field = Make<TWideStringField>(def.Name);
        field->SetFieldName(def.FieldName);
        field->SetSize(4000);
        field->SetReadOnly(true);
        field->SetDataSet(ADOQuery1);
        def.Field = field;
    }
    ADOCommand1 = Make<TADOCommand>(L"ADOCommand1");
    ADOCommand1->SetConnection(ADOConnection1);
    ADOCommand1->SetCommandTimeout(0);
    ADOCommand1->SetParamCheck(false);
    DataSource1 = Make<TDataSource>(L"DataSource1");
    DataSource1->SetDataSet(ADOQuery1);

    ImageList1 = Make<TImageList>(L"ImageList1");
    ImageList1->SetSize(41, 32);
    ImageList1->SetDrawingStyle(dsTransparent);
    ButtonImages = Make<TImageList>(L"ButtonImages");
    DrawPictures();
}
