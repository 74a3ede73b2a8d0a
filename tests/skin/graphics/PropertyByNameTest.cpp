// Published properties of controls reached by name, the way skin handlers
// reach controls whose classes they do not know.
#include <gtest/gtest.h>
#include "ExtCtrls.h"
#include "acntUtils.h"

namespace {

class PropertyByName : public testing::Test {
protected:
    TOwned<TForm> form{New<TForm>(nullptr)};
    TPanel* panel = nullptr;
    void SetUp() override
    {
        panel = New<TPanel>(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 20, 120, 40);
    }
};

TEST_F(PropertyByName, PresenceAndReadingThroughObjectProperties)
{
    struct Case {
        const wchar_t* name;
        bool present;
        int ordinal;
    } cases[] = {
        {L"Width", true, 120},  {L"left", true, 10}, {L"Visible", true, 1},  {L"Align", true, alNone},
        {L"Anchors", true, 0b0011}, {L"Font", true, -1}, // an object, not an ordinal
        {L"DisabledKind", false, -1}, {L"FixedColor", false, -1}, {L"", false, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasProperty(panel, c.name), c.present) << c.name;
        EXPECT_EQ(GetOrdPropByName(panel, c.name), c.ordinal) << c.name;
    }
    EXPECT_FALSE(HasProperty(nullptr, L"Width"));
    EXPECT_EQ(GetOrdPropByName(nullptr, L"Width"), -1);

    // A path "Font"."Color", walked as the grid handlers walk "ControlLook"."...".
    panel->GetFont()->SetColor(clRed);
    TObject* font = GetObjectPropByName(panel, L"Font");
    EXPECT_EQ(font, panel->GetFont());
    EXPECT_EQ(GetOrdPropByName(font, L"Color"), clRed);
    EXPECT_EQ(GetObjectPropByName(panel, L"Color"), nullptr) << "not an object property";
    EXPECT_EQ(GetObjectPropByName(panel, L"Missing"), nullptr);
    EXPECT_EQ(GetObjectPropByName(nullptr, L"Font"), nullptr);
}

TEST_F(PropertyByName, WritesOnlyValuesThePropertyCanHold)
{
    SetOrdPropByName(panel, L"Color", clYellow);
    EXPECT_EQ(panel->GetColor(), clYellow);
    SetOrdPropByName(panel, L"Align", alClient);
    EXPECT_EQ(panel->GetAlign(), alClient);
    EXPECT_EQ(ControlRect(panel), TRect(0, 0, form->GetClientWidth(), form->GetClientHeight()))
        << "the setter ran, not just the field";

    SetOrdPropByName(panel, L"Align", 99);
    SetOrdPropByName(panel, L"Visible", 2);
    SetOrdPropByName(panel, L"Anchors", 0x10);
    SetOrdPropByName(panel, L"Font", 5);
    SetOrdPropByName(panel, L"NoSuchProperty", 1);
    SetOrdPropByName(nullptr, L"Color", 1);
    EXPECT_EQ(panel->GetAlign(), alClient);
    EXPECT_TRUE(panel->GetVisible());
    EXPECT_EQ(panel->GetAnchors(), TAnchors({akLeft, akTop, akRight, akBottom}));
}

TEST_F(PropertyByName, SetMembersByName)
{
    panel->SetAnchors({akLeft, akTop});
    struct Case {
        const wchar_t* element;
        bool include;
        TAnchors result;
    } steps[] = {
        {L"akRight", true, {akLeft, akTop, akRight}},
        {L"akRight", true, {akLeft, akTop, akRight}},  // already in
        {L"akLeft", false, {akTop, akRight}},
        {L"akLeft", false, {akTop, akRight}},          // already out
        {L"akTo", false, {akTop, akRight}},            // part of a name is no member
        {L"aktop", false, {akTop, akRight}},           // names compare exactly
        {L"akBogus", true, {akTop, akRight}},
        {L"akTop", false, {akRight}},
    };
    for (const Case& s : steps) {
        ChangeSetPropElement(panel, L"Anchors", s.element, s.include);
        EXPECT_EQ(panel->GetAnchors(), s.result) << s.element << (s.include ? " in" : " out");
    }
    EXPECT_TRUE(SetPropHasElement(panel, L"Anchors", L"akRight"));
    EXPECT_FALSE(SetPropHasElement(panel, L"Anchors", L"akLeft"));
    EXPECT_FALSE(SetPropHasElement(panel, L"Anchors", L"akright"));
    EXPECT_FALSE(SetPropHasElement(panel, L"Align", L"alNone")) << "not a set";
    EXPECT_FALSE(SetPropHasElement(panel, L"DisabledKind", L"dkBlended"));
    ChangeSetPropElement(panel, L"DisabledKind", L"dkGrayed", true);
    ChangeSetPropElement(panel, L"Align", L"alTop", true);
    EXPECT_EQ(panel->GetAlign(), alNone);

    TFont* font = panel->GetFont();
    ChangeSetPropElement(font, L"Style", L"fsItalic", true);
    EXPECT_EQ(font->GetStyle(), TFontStyles({fsItalic}));
    EXPECT_TRUE(SetPropHasElement(font, L"Style", L"fsItalic"));
}

} // namespace
