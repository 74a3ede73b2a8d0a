// The main window's components as its form describes them, read from the
// shown window: each component's class, parent, alignment, bounds and the
// settings that carry behaviour, and that nothing a person should see or
// press is hidden under a sibling or outside its parent.
//
// Bounds are read after alignment: a control that is not aligned keeps its
// designed bounds, an aligned one the extent its alignment leaves it (the
// height of a top or bottom one, the width of a left or right one). A width
// or height of Any is not designed (a label sizes itself to its text).
#include <gtest/gtest.h>
#include "StartedWindow.h"
#include <functional>

using testing_support::SourceDir;
using testing_support::TempDir;

namespace {

constexpr int Any = -1;

struct TPlace {
    int Left = Any;
    int Top = Any;
    int Width = Any;
    int Height = Any;
};

using TSettingsCheck = std::function<void(TComponent*)>;

struct TComponentRow {
    const wchar_t* Name;
    const wchar_t* Class;
    const wchar_t* Parent;  // null: not a control
    TAlign Align;
    TPlace Place;
    // The text the control shows in English from the shipped language file;
    // null where the window puts none or the text is not designed.
    const wchar_t* Caption;
    TSettingsCheck Settings;
};

// The settings of a component of class T.
template <class T>
TSettingsCheck Is(std::function<void(T*)> Check)
{
    return [Check](TComponent* Component) {
        auto* typed = dynamic_cast<T*>(Component);
        ASSERT_NE(typed, nullptr);
        Check(typed);
    };
}

void ExpectFont(const TFont* Font, const wchar_t* Name, int Height, TFontStyles Style, TColor Color)
{
    EXPECT_EQ(Font->GetName(), Name);
    EXPECT_EQ(Font->GetHeight(), Height);
    EXPECT_EQ(Font->GetStyle(), Style);
    EXPECT_EQ(Font->GetColor(), Color);
}

// Colours read from a settings object, each with the designed one.
void ExpectColors(std::initializer_list<std::pair<TColor, TColor>> Colors, const char* What)
{
    int i = 0;
    for (const auto& [shown, designed] : Colors)
        EXPECT_EQ(shown, designed) << What << " " << i++;
}

// Every glow button of the window carries one appearance, then its own.
TSettingsCheck Glow(std::function<void(TAdvGlowButton*)> Own = nullptr)
{
    return Is<TAdvGlowButton>([Own](TAdvGlowButton* b) {
        const TGlowButtonAppearance* a = b->GetAppearance();
        ExpectColors({
            {a->GetColorChecked(), 16111818},        {a->GetColorCheckedTo(), 16367008},
            {a->GetColorDisabled(), 15921906},       {a->GetColorDisabledTo(), 15921906},
            {a->GetColorDown(), 16111818},           {a->GetColorDownTo(), 16367008},
            {a->GetColorHot(), 16117985},            {a->GetColorHotTo(), 16372402},
            {a->GetColorMirrorHot(), 16107693},      {a->GetColorMirrorHotTo(), 16775412},
            {a->GetColorMirrorDown(), 16102556},     {a->GetColorMirrorDownTo(), 16768988},
            {a->GetColorMirrorChecked(), 16102556},  {a->GetColorMirrorCheckedTo(), 16768988},
            {a->GetColorMirrorDisabled(), 11974326}, {a->GetColorMirrorDisabledTo(), 15921906},
        }, "appearance colour");
        ExpectFont(b->GetNotesFont(), L"Tahoma", -11, {}, clWindowText);
        if (Own)
            Own(b);
    });
}

// A picture-only button that explains itself in its hint.
TSettingsCheck PictureButton(const wchar_t* Hint)
{
    return Glow([Hint](TAdvGlowButton* b) {
        EXPECT_FALSE(b->GetShowCaption());
        EXPECT_TRUE(b->GetShowHint());
        EXPECT_EQ(b->GetHint(), Hint);
        EXPECT_NE(b->GetImages(), nullptr);
        EXPECT_GE(b->GetImageIndex(), 0);
    });
}

TSettingsCheck PictureLeft()
{
    return Glow([](TAdvGlowButton* b) {
        EXPECT_EQ(b->GetLayout(), AdvGlowButton::blGlyphLeftAdjusted);
        EXPECT_NE(b->GetImages(), nullptr);
        EXPECT_GE(b->GetImageIndex(), 0);
    });
}

TSettingsCheck CheckedBox()
{
    return Is<TCheckBox>([](TCheckBox* c) { EXPECT_TRUE(c->GetChecked()); });
}

TSettingsCheck PanelGroup()
{
    return Is<TAdvPanelGroup>([](TAdvPanelGroup* g) {
        EXPECT_EQ(g->GetTopIndent(), 5);
        EXPECT_EQ(g->GetColumns(), 2);
        EXPECT_EQ(g->GetGroupStyle(), gsVertical);
        EXPECT_EQ(g->GetHorzPadding(), 8);
        EXPECT_EQ(g->GetVertPadding(), 8);
        EXPECT_EQ(g->GetFullHeight(), 15);
        EXPECT_EQ(g->GetCaption()->GetColor(), clHighlight);
    });
}

// A standard list's items are as high as its font makes them on this
// platform, whatever item height is designed.
TSettingsCheck DetailList()
{
    return Is<TListBox>([](TListBox* l) {
        EXPECT_EQ(l->GetColor(), clInfoBk);
    });
}

TSettingsCheck SaveDialog(const wchar_t* DefaultExt, const wchar_t* Filter)
{
    return Is<TSaveDialog>([=](TSaveDialog* d) {
        EXPECT_EQ(d->DefaultExt, DefaultExt);
        EXPECT_EQ(d->Filter, Filter);
    });
}

TSettingsCheck QueryField(const wchar_t* FieldName)
{
    return Is<TWideStringField>([=](TWideStringField* f) {
        EXPECT_EQ(f->GetFieldName(), FieldName);
        EXPECT_EQ(f->GetSize(), 4000);
        EXPECT_TRUE(f->GetReadOnly());
        ASSERT_NE(f->GetDataSet(), nullptr);
        EXPECT_EQ(f->GetDataSet()->GetName(), L"ADOQuery1");
    });
}

TADOConnection* ConnectionOf(TComponent* Component)
{
    return static_cast<TADOConnection*>(Component->GetOwner()->FindComponent(L"ADOConnection1"));
}

void ExpectInventoryTable(TAdvStringGrid* g)
{
    EXPECT_EQ(g->GetColCount(), 28);
    EXPECT_EQ(g->GetRowCount(), 2);
    EXPECT_EQ(g->GetFixedCols(), 1);
    EXPECT_EQ(g->GetFixedRows(), 1);
    EXPECT_EQ(g->GetDefaultColWidth(), 120);
    EXPECT_EQ(g->GetFixedRowHeight(), 22);
    EXPECT_TRUE(g->GetFixedRowAlways());
    EXPECT_EQ(g->GetOptions(), TGridOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                             goRangeSelect, goColSizing, goRowSelect, goThumbTracking}));
    EXPECT_EQ(g->GetDrawingStyle(), gdsClassic);
    EXPECT_EQ(g->GetLook(), glVista);
    ExpectFont(g->GetFont(), L"Tahoma", -11, {}, clWindowText);
    ExpectFont(g->GetFixedFont(), L"Tahoma", -11, {fsBold}, clBlack);
    EXPECT_EQ(g->GetActiveCellFont()->GetStyle(), TFontStyles({fsBold}));
    EXPECT_EQ(g->GetActiveCellColor(), 16644337);
    EXPECT_EQ(g->GetActiveCellColorTo(), 16576469);
    EXPECT_EQ(g->GetGridLineColor(), 15527152);
    EXPECT_EQ(g->GetGridFixedLineColor(), 13947601);
    EXPECT_EQ(g->GetHoverRowCells(), THoverRowCells({hcNormal, hcSelected}));
    EXPECT_TRUE(g->GetMultilineCells());
    EXPECT_TRUE(g->GetEnhTextSize());
    EXPECT_EQ(g->GetFloatFormat(), L"%.2f");
    EXPECT_EQ(g->GetScrollBars(), ssBoth);
    EXPECT_EQ(g->GetScrollWidth(), 16);
    EXPECT_TRUE(g->GetScrollProportional());

    EXPECT_TRUE(g->GetFilterDropDownAuto());
    EXPECT_TRUE(g->GetFilterDropDownCheck());
    EXPECT_EQ(g->GetFilterDropDownClear(), L"(All)");
    EXPECT_EQ(g->GetFilterDropDown()->GetTextChecked(), L"Checked");
    EXPECT_EQ(g->GetFilterDropDown()->GetTextUnChecked(), L"Unchecked");

    const TSortSettings* sorting = g->GetSortSettings();
    EXPECT_TRUE(sorting->GetShow());
    EXPECT_EQ(sorting->GetDefaultFormat(), ssAutomatic);
    EXPECT_FALSE(sorting->GetAutoFormat());
    EXPECT_EQ(sorting->GetHeaderColor(), 16579058);
    EXPECT_EQ(sorting->GetHeaderColorTo(), 16579058);
    EXPECT_EQ(sorting->GetHeaderMirrorColor(), 16380385);
    EXPECT_EQ(sorting->GetHeaderMirrorColorTo(), 16182488);

    EXPECT_TRUE(g->GetMouseActions()->GetDisjunctRowSelect());
    // Set on creation: one wheel notch scrolls one computer.
    EXPECT_EQ(g->GetMouseActions()->GetWheelIncrement(), 1);
    const TNavigation* n = g->GetNavigation();
    EXPECT_TRUE(n->GetAllowClipboardShortCuts());
    EXPECT_TRUE(n->GetAllowClipboardAlways());
    EXPECT_TRUE(n->GetKeepScrollOnSort());
    EXPECT_TRUE(n->GetKeepHorizScroll());
    const bool off[] = {n->GetAdvanceAutoEdit(),        n->GetAdvanceSkipReadOnlyCells(), n->GetAutoComboSelect(),
                        n->GetAllowCtrlEnter(),         n->GetAllowClipboardRowGrow(),    n->GetAllowClipboardColGrow(),
                        n->GetEditSelectAll(),          n->GetCopyHTMLTagsToClipboard(),  n->GetSkipFixedCells(),
                        n->GetSkipDisabledRows()};
    for (std::size_t i = 0; i < std::size(off); ++i)
        EXPECT_FALSE(off[i]) << "navigation switch " << i;

    EXPECT_EQ(g->GetHTMLSettings()->GetImageFolder(), L"images");
    EXPECT_EQ(g->GetHTMLSettings()->GetImageBaseName(), L"img");
    const TControlLook* look = g->GetControlLook();
    ExpectColors({
        {look->GetFixedGradientMirrorFrom(), 16447735},     {look->GetFixedGradientMirrorTo(), 16052977},
        {look->GetFixedGradientHoverFrom(), 16775139},      {look->GetFixedGradientHoverTo(), 16775139},
        {look->GetFixedGradientHoverMirrorFrom(), 16772541}, {look->GetFixedGradientHoverMirrorTo(), 16508855},
        {look->GetFixedGradientDownFrom(), 16377020},       {look->GetFixedGradientDownTo(), 16377020},
        {look->GetFixedGradientDownMirrorFrom(), 16242317}, {look->GetFixedGradientDownMirrorTo(), 16109962},
        {look->GetFixedGradientDownBorder(), 11440207},
    }, "fixed gradient");

    const TSearchFooter* footer = g->GetSearchFooter();
    EXPECT_FALSE(footer->GetVisible());
    const std::pair<String, const wchar_t*> footerTexts[] = {
        {footer->GetFindNextCaption(), L"Find &next"},
        {footer->GetFindPrevCaption(), L"Find &previous"},
        {footer->GetMatchCaseCaption(), L"Match case"},
        {footer->GetHighLightCaption(), L"Highlight"},
        {footer->GetHintClose(), L"Close"},
        {footer->GetHintFindNext(), L"Find next occurrence"},
        {footer->GetHintFindPrev(), L"Find previous occurrence"},
        {footer->GetHintHighlight(), L"Highlight occurrences"},
    };
    for (const auto& [shown, designed] : footerTexts)
        EXPECT_EQ(shown, designed);
    EXPECT_EQ(g->GetPrintSettings()->GetDateFormat(), L"dd/mm/yyyy");
    EXPECT_EQ(g->GetPrintSettings()->GetPageNumSep(), L"/");
}

const TComponentRow Rows[] = {
    {L"Form1", L"TForm1", nullptr, alNone, {}, L"Tavelin (v.1.0.2)", Is<TForm1>([](TForm1* f) {
         EXPECT_EQ(f->GetConstraints()->GetMinWidth(), 982);
         EXPECT_EQ(f->GetConstraints()->GetMinHeight(), 400);
         EXPECT_EQ(f->GetColor(), clBtnFace);
         ExpectFont(f->GetFont(), L"MS Sans Serif", -11, {}, clWindowText);
         EXPECT_EQ(f->GetPixelsPerInch(), 96);
         // Screen-centred: the position is spent on the first show, which
         // the start tests check.
     })},
    {L"Panel7", L"TPanel", L"Form1", alClient, {}, nullptr,
     Is<TPanel>([](TPanel* p) { EXPECT_EQ(p->GetBevelOuter(), bvNone); })},
    {L"Panel3", L"TPanel", L"Panel7", alTop, {Any, Any, Any, 9}},
    {L"Panel2", L"TPanel", L"Panel7", alLeft, {Any, Any, 200, Any}},
    {L"Panel_Left_Top", L"TPanel", L"Panel2", alTop, {Any, Any, Any, 129}},
    {L"Label4", L"TLabel", L"Panel_Left_Top", alNone, {15, 5}, L"Get a list of computers"},
    {L"BtnFromTXT", L"TAdvGlowButton", L"Panel2", alNone, {15, 24, 174, 25}, L"...from TXT file", Glow()},
    {L"BtnFromAD", L"TAdvGlowButton", L"Panel_Left_Top", alNone, {15, 55, 174, 25}, L"...from Active Directory",
     Glow()},
    {L"CBServers", L"TCheckBox", L"Panel_Left_Top", alNone, {15, 86}, L"Servers", CheckedBox()},
    {L"CBComputers", L"TCheckBox", L"Panel_Left_Top", alNone, {15, 102}, L"Workstations", CheckedBox()},
    {L"BtnClear", L"TAdvGlowButton", L"Panel_Left_Top", alNone, {133, 99, 24, 24}, nullptr,
     PictureButton(L"Clear the list")},
    {L"BtnSave", L"TAdvGlowButton", L"Panel_Left_Top", alNone, {161, 100, 24, 24}, nullptr,
     PictureButton(L"Save the list")},
    {L"Panel_Left_Bottom", L"TPanel", L"Panel2", alClient},
    {L"Memo2", L"TMemo", L"Panel_Left_Bottom", alNone, {15, 6, 169, 218}, nullptr, Is<TMemo>([](TMemo* m) {
         EXPECT_EQ(m->GetScrollBars(), ssBoth);
         EXPECT_FALSE(m->GetWordWrap());
     })},
    {L"Label1", L"TLabel", L"Panel_Left_Bottom", alNone, {15, 234}, L"Number of objects:"},
    {L"Label2", L"TLabel", L"Panel_Left_Bottom", alNone, {130, 234}, L""},
    {L"BtnHDD", L"TAdvGlowButton", L"Panel_Left_Bottom", alNone, {15, 255, 169, 40}, L"Start inventory",
     Glow([](TAdvGlowButton* b) { EXPECT_EQ(b->GetFont()->GetStyle(), TFontStyles({fsBold})); })},
    {L"BtnStop", L"TAdvGlowButton", L"Panel_Left_Bottom", alNone, {15, 304, 90, 28}, L"Cancel",
     Glow([](TAdvGlowButton* b) { EXPECT_FALSE(b->GetEnabled()); })},
    {L"AdvGaugeCircle1", L"TAdvGaugeCircle", L"Panel2", alNone, {46, 462}, nullptr,
     Is<TAdvGaugeCircle>([](TAdvGaugeCircle* g) {
         EXPECT_FALSE(g->GetVisible());
         EXPECT_EQ(g->GetMaximum(), 100);
         EXPECT_EQ(g->GetIncrement(), 5);
         EXPECT_EQ(g->GetArcWidth(), 3);
         EXPECT_EQ(g->GetPosition(), 0);
         EXPECT_EQ(g->GetText(), L"%");
         ExpectFont(g->GetFont(), L"Trebuchet Sans MS", -19, {}, clBlack);
         const TGDIPFill* background = g->GetBackground();
         EXPECT_EQ(background->GetColor(), clWhite);
         EXPECT_EQ(background->GetColorTo(), clWhite);
         EXPECT_EQ(background->GetGradientType(), gtSolid);
         EXPECT_EQ(background->GetBorderColor(), clNone);
     })},
    {L"Panel1", L"TPanel", L"Panel7", alClient},
    {L"Panel4", L"TPanel", L"Panel1", alBottom, {Any, Any, Any, 46}},
    {L"Label11", L"TLabel", L"Panel4", alNone, {12, 14}, nullptr, Is<TLabel>([](TLabel* l) {
         EXPECT_FALSE(l->GetVisible());
         EXPECT_EQ(l->GetFont()->GetColor(), clRed);
         EXPECT_EQ(l->GetFont()->GetStyle(), TFontStyles({fsBold}));
         EXPECT_EQ(l->GetFont()->GetHeight(), -8);
     })},
    {L"Panel10", L"TPanel", L"Panel4", alRight, {Any, Any, 302, Any}},
    {L"Label10", L"TLabel", L"Panel10", alNone, {0, 8}, nullptr,
     Is<TLabel>([](TLabel* l) { EXPECT_FALSE(l->GetEnabled()); })},
    {L"Label18", L"TLabel", L"Panel10", alNone, {0, 24}, EnglishSiteAddress, Is<TLabel>([](TLabel* l) {
         EXPECT_EQ(l->GetFont()->GetColor(), clHotLight);
         EXPECT_EQ(l->GetFont()->GetStyle(), TFontStyles({fsUnderline}));
     })},
    {L"Panel5", L"TPanel", L"Panel1", alClient},
    {L"Panel8", L"TPanel", L"Panel5", alClient},
    {L"StringGrid1", L"TAdvStringGrid", L"Panel8", alClient, {}, nullptr, Is<TAdvStringGrid>(ExpectInventoryTable)},
    {L"Panel9", L"TPanel", L"Panel8", alBottom, {Any, Any, Any, 41}},
    {L"BtnExcel", L"TAdvGlowButton", L"Panel9", alNone, {11, 3, 130, 32}, L"Export to Excel", PictureLeft()},
    {L"BtnHTML", L"TAdvGlowButton", L"Panel9", alNone, {159, 3, 130, 32}, L"Export to HTML", PictureLeft()},
    {L"ImagePicker1", L"TImagePicker", L"Panel9", alNone, {687, 1, 69, 38}, nullptr,
     Is<TImagePicker>([](TImagePicker* p) {
         ASSERT_EQ(p->GetItems()->Count(), 2);
         for (int i = 0; i < 2; ++i) {
             EXPECT_EQ(p->GetItems()->Items(i)->GetImageIndex(), i);
             EXPECT_EQ(p->GetItems()->Items(i)->GetCaption(), L"");
         }
         ASSERT_NE(p->GetImages(), nullptr);
         EXPECT_EQ(p->GetImages()->GetName(), L"ImageList1");
         EXPECT_EQ(p->GetEditHeight(), 32);
         EXPECT_EQ(p->GetItemHeight(), 32);
         EXPECT_EQ(p->GetDropHeight(), 200);
         EXPECT_TRUE(p->GetEtched());
         EXPECT_EQ(p->GetColor(), clBtnFace);
         // Designed on image 0; the English start picks its own image.
         EXPECT_EQ(p->GetItemIndex(), 1);
     })},
    {L"Splitter1", L"TSplitter", L"Panel5", alBottom, {Any, Any, Any, 4}, nullptr,
     Is<TSplitter>([](TSplitter* s) {
         EXPECT_TRUE(s->GetBeveled());
         EXPECT_EQ(s->GetCursor(), crVSplit);
     })},
    {L"Panel6", L"TPanel", L"Panel5", alBottom, {Any, Any, Any, 170}},
    {L"AdvPanelGroupShares", L"TAdvPanelGroup", L"Panel6", alNone, {10, 8, 183, 153}, L"<B> Shared folders</B>",
     PanelGroup()},
    {L"AdvPanelGroupAdmins", L"TAdvPanelGroup", L"Panel6", alNone, {199, 8, 183, 153},
     L"<B> Local administrators</B>", PanelGroup()},
    {L"AdvPanelGroupLAN", L"TAdvPanelGroup", L"Panel6", alNone, {388, 8, 183, 153}, L"<B> Network addresses</B>",
     PanelGroup()},
    {L"AdvPanelGroupHDD", L"TAdvPanelGroup", L"Panel6", alNone, {577, 8, 183, 153}, L"<B> Logical disks</B>",
     PanelGroup()},
    {L"LBShares", L"TListBox", L"AdvPanelGroupShares", alBottom, {Any, Any, 181, Any}, nullptr, DetailList()},
    {L"LBAdmins", L"TListBox", L"AdvPanelGroupAdmins", alBottom, {Any, Any, 181, Any}, nullptr, DetailList()},
    {L"LBNetwork", L"TListBox", L"AdvPanelGroupLAN", alBottom, {Any, Any, 181, Any}, nullptr, DetailList()},
    {L"LBHDD", L"TListBox", L"AdvPanelGroupHDD", alBottom, {Any, Any, 181, Any}, nullptr, DetailList()},

    {L"OpenDialog1", L"TOpenDialog"},
    {L"SaveDialog1", L"TSaveDialog", nullptr, alNone, {}, nullptr, SaveDialog(L"xlsx", L"Excel file|*.xlsx")},
    {L"SaveDialog2", L"TSaveDialog", nullptr, alNone, {}, nullptr, SaveDialog(L"html", L"HTML file|*.htm*")},
    {L"ADOConnection1", L"TADOConnection", nullptr, alNone, {}, nullptr, Is<TADOConnection>([](TADOConnection* c) {
         EXPECT_EQ(c->GetProvider(), L"ADsDSOObject");
         EXPECT_FALSE(c->GetLoginPrompt());
         EXPECT_EQ(c->GetMode(), cmRead);
     })},
    {L"ADOQuery1", L"TADOQuery", nullptr, alNone, {}, nullptr, Is<TADOQuery>([](TADOQuery* q) {
         EXPECT_EQ(q->GetConnection(), ConnectionOf(q));
         EXPECT_EQ(q->GetCursorType(), ctStatic);
     })},
    {L"ADOQuery1Name", L"TWideStringField", nullptr, alNone, {}, nullptr, QueryField(L"Name")},
    {L"ADOQuery1operatingsystem", L"TWideStringField", nullptr, alNone, {}, nullptr, QueryField(L"operatingsystem")},
    {L"ADOCommand1", L"TADOCommand", nullptr, alNone, {}, nullptr, Is<TADOCommand>([](TADOCommand* c) {
         EXPECT_EQ(c->GetConnection(), ConnectionOf(c));
         EXPECT_EQ(c->GetCommandTimeout(), 0);
         EXPECT_FALSE(c->GetParamCheck());
     })},
    {L"DataSource1", L"TDataSource", nullptr, alNone, {}, nullptr, Is<TDataSource>([](TDataSource* s) {
         ASSERT_NE(s->GetDataSet(), nullptr);
         EXPECT_EQ(s->GetDataSet()->GetName(), L"ADOQuery1");
     })},
    {L"ImageList1", L"TImageList", nullptr, alNone, {}, nullptr, Is<TImageList>([](TImageList* l) {
         EXPECT_EQ(l->GetWidth(), 41);
         EXPECT_EQ(l->GetHeight(), 32);
         EXPECT_EQ(l->GetDrawingStyle(), dsTransparent);
         // One flag per language.
         EXPECT_EQ(l->Count(), 2);
     })},
};

// The window as an English start with the shipped language file leaves it.
class MainWindowLayout : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new TempDir;
        const String lng = folder_->File(L"languages.lng");
        ASSERT_TRUE(CopyFileW((SourceDir() + L"\\resources\\languages.lng").c_str(), lng.c_str(), FALSE));
        WriteBytes(folder_->File(L"settings.ini"), "[options]\r\nlanguage=english\r\n");
        window_ = new TStartedWindow(folder_->Path());
    }
    static void TearDownTestSuite()
    {
        delete window_;
        delete folder_;
    }

    static TComponent* Find(const String& Name)
    {
        TForm1* form = window_->Form();
        return Name == form->GetName() ? form : form->FindComponent(Name);
    }

    static inline TempDir* folder_ = nullptr;
    static inline TStartedWindow* window_ = nullptr;
};

TEST_F(MainWindowLayout, EachComponentIsAsDesigned)
{
    for (const TComponentRow& row : Rows) {
        SCOPED_TRACE(testing::Message() << "component " << String(row.Name));
        TComponent* component = Find(row.Name);
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(component->ClassName(), row.Class);
        auto* control = dynamic_cast<TControl*>(component);
        if (row.Parent) {
            ASSERT_NE(control, nullptr);
            ASSERT_NE(control->GetParent(), nullptr);
            EXPECT_EQ(control->GetParent()->GetName(), row.Parent);
            EXPECT_EQ(control->GetAlign(), row.Align);
            const std::pair<int, int> place[] = {{control->GetLeft(), row.Place.Left},
                                                 {control->GetTop(), row.Place.Top},
                                                 {control->GetWidth(), row.Place.Width},
                                                 {control->GetHeight(), row.Place.Height}};
            for (std::size_t i = 0; i < std::size(place); ++i)
                if (place[i].second != Any)
                    EXPECT_EQ(place[i].first, place[i].second) << "left, top, width, height: " << i;
        } else if (component != window_->Form()) {
            EXPECT_EQ(control, nullptr) << "not a control";
        }
        if (row.Caption)
            EXPECT_EQ(dynamic_cast<TAdvPanelGroup*>(component) ? static_cast<TAdvPanelGroup*>(component)->GetText()
                                                               : control->GetCaption(),
                      row.Caption);
        if (row.Settings)
            row.Settings(component);
    }
}

// The form holds nothing the design does not name but the buttons' pictures.
TEST_F(MainWindowLayout, HoldsNoOtherComponent)
{
    TForm1* form = window_->Form();
    for (int i = 0; i < form->ComponentCount(); ++i) {
        const String name = form->Components(i)->GetName();
        if (name == L"ButtonImages")
            continue;
        EXPECT_TRUE(std::any_of(std::begin(Rows), std::end(Rows), [&](const TComponentRow& row) {
            return name == row.Name;
        })) << String(name);
    }
}

// A control outside its parent or under a sibling window shows nothing and
// takes no click. Every visible control lies within its parent's client
// area, and at its middle the topmost child window of the parent is the
// control itself (a windowed one) or none (one its parent paints).
TEST_F(MainWindowLayout, EveryVisibleControlCanBeSeenAndReached)
{
    for (const TComponentRow& row : Rows) {
        auto* control = dynamic_cast<TControl*>(Find(row.Name));
        if (!row.Parent || !control->GetVisible())
            continue;
        SCOPED_TRACE(testing::Message() << "component " << String(row.Name));
        TWinControl* parent = control->GetParent();
        RECT bounds = control->GetBoundsRect();
        RECT client = parent->GetClientRect();
        RECT common{};
        IntersectRect(&common, &bounds, &client);
        EXPECT_TRUE(EqualRect(&common, &bounds)) << "outside the parent's client area";

        const POINT middle{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        auto* windowed = dynamic_cast<TWinControl*>(control);
        const HWND expected = windowed ? windowed->Handle() : parent->Handle();
        EXPECT_EQ(ChildWindowFromPointEx(parent->Handle(), middle, CWP_SKIPINVISIBLE), expected);
    }
}

// The language picker drops its two flags at the height they were designed
// at, not at the text height the list would measure.
TEST_F(MainWindowLayout, LanguagePickerDropsTwoFlags32High)
{
    TImagePicker* picker = window_->Form()->ImagePicker1;
    picker->SetDroppedDown(true);
    testing_support::PumpMessages();
    ASSERT_TRUE(picker->GetDroppedDown());
    HWND list = picker->ListHandle();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, i, 0), 32) << "item " << i;
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.bottom - item.top, 32) << "item " << i;
    }
    picker->SetDroppedDown(false);
    testing_support::PumpMessages();
    EXPECT_FALSE(picker->GetDroppedDown());
}

} // namespace
