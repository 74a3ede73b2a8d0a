// Published properties found by name on instances of registered classes and
// their descendants, read and written with range checks.
#include <gtest/gtest.h>
#include "Classes.h"
#include "TypInfo.h"

namespace {

enum TShade { shLight, shMedium, shDark };
enum TEdge { edLeft, edTop, edRight, edBottom };
using TEdges = Set<TEdge>;

class TGauge : public TPersistent {
public:
    int GetLevel() const { return level_; }
    void SetLevel(int v) { level_ = v; }
    TShade GetShade() const { return shade_; }
    void SetShade(TShade v) { shade_ = v; }
    TEdges GetEdges() const { return edges_; }
    void SetEdges(const TEdges& v) { edges_ = v; }
    bool GetFlat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }
    TGauge* GetPartner() const { return partner_; }
    Byte GetOpacity() const { return opacity_; }
    void SetOpacity(Byte v) { opacity_ = v; }

    TGauge* partner_ = nullptr;

private:
    int level_ = 0;
    TShade shade_ = shLight;
    TEdges edges_;
    bool flat_ = false;
    Byte opacity_ = 255;
};

// Publishes Level again, as a percentage kept apart from the ancestor's value.
class TPercentGauge : public TGauge {
public:
    int GetPercent() const { return percent_; }
    void SetPercent(int v) { percent_ = v; }

private:
    int percent_ = 50;
};

class TUnrelated : public TPersistent {};

class TypInfo : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterPublishedProperties<TGauge>({
            IntegerProperty(L"Level", &TGauge::GetLevel, &TGauge::SetLevel),
            EnumProperty(L"Shade", &TGauge::GetShade, &TGauge::SetShade, {L"shLight", L"shMedium", L"shDark"}),
            SetProperty(L"Edges", &TGauge::GetEdges, &TGauge::SetEdges,
                        {L"edLeft", L"edTop", L"edRight", L"edBottom"}),
            BooleanProperty(L"Flat", &TGauge::GetFlat, &TGauge::SetFlat),
            ObjectProperty(L"Partner", &TGauge::GetPartner),
            IntegerProperty(L"Opacity", &TGauge::GetOpacity, &TGauge::SetOpacity),
        });
        RegisterPublishedProperties<TPercentGauge>({
            IntegerProperty(L"Level", &TPercentGauge::GetPercent, &TPercentGauge::SetPercent),
        });
    }
    void TearDown() override
    {
        UnregisterPublishedProperties<TPercentGauge>();
        UnregisterPublishedProperties<TGauge>();
    }
    TOwned<TGauge> gauge{New<TGauge>()};
    TOwned<TPercentGauge> percent{New<TPercentGauge>()};
};

TEST_F(TypInfo, FindsPropertiesOnTheClassAndItsDescendants)
{
    TOwned<TUnrelated> other(New<TUnrelated>());
    struct Case {
        TObject* instance;
        const wchar_t* name;
        bool found;
    } cases[] = {
        {gauge.get(), L"Shade", true},   {gauge.get(), L"sHADE", true},  {percent.get(), L"Shade", true},
        {gauge.get(), L"Percent", false}, {other.get(), L"Shade", false}, {nullptr, L"Shade", false},
        {gauge.get(), L"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPublishedProp(c.instance, c.name), c.found) << c.name;

    // A descendant's own Level hides the ancestor's.
    SetOrdProp(percent.get(), GetPropInfo(percent.get(), L"Level"), 80);
    EXPECT_EQ(percent->GetPercent(), 80);
    EXPECT_EQ(percent->GetLevel(), 0);
    SetOrdProp(gauge.get(), GetPropInfo(gauge.get(), L"Level"), -7);
    EXPECT_EQ(gauge->GetLevel(), -7);

    UnregisterPublishedProperties<TPercentGauge>();
    EXPECT_EQ(GetOrdProp(percent.get(), GetPropInfo(percent.get(), L"Level")), 0)
        << "without its own entry the descendant shows the ancestor's property";
}

TEST_F(TypInfo, OrdinalKindsReadAndWrite)
{
    gauge->SetShade(shDark);
    gauge->SetEdges({edTop, edBottom});
    gauge->SetFlat(true);
    EXPECT_EQ(GetOrdProp(gauge.get(), GetPropInfo(gauge.get(), L"Shade")), 2);
    EXPECT_EQ(GetOrdProp(gauge.get(), GetPropInfo(gauge.get(), L"Edges")), 0b1010);
    EXPECT_EQ(GetOrdProp(gauge.get(), GetPropInfo(gauge.get(), L"Flat")), 1);

    SetOrdProp(gauge.get(), GetPropInfo(gauge.get(), L"Shade"), shMedium);
    SetOrdProp(gauge.get(), GetPropInfo(gauge.get(), L"Edges"), 0b0101);
    SetOrdProp(gauge.get(), GetPropInfo(gauge.get(), L"Flat"), 0);
    EXPECT_EQ(gauge->GetShade(), shMedium);
    EXPECT_EQ(gauge->GetEdges(), TEdges({edLeft, edRight}));
    EXPECT_FALSE(gauge->GetFlat());

    const TPropInfo* shade = GetPropInfo(gauge.get(), L"Shade");
    EXPECT_EQ(GetEnumName(shade, 1), L"shMedium");
    EXPECT_EQ(GetEnumName(shade, 3), L"");
    EXPECT_EQ(GetEnumName(shade, -1), L"");
    EXPECT_EQ(GetEnumValue(shade, L"shDark"), 2);
    EXPECT_EQ(GetEnumValue(shade, L"shdark"), -1) << "value names compare exactly";
    EXPECT_EQ(GetEnumValue(GetPropInfo(gauge.get(), L"Flat"), L"True"), 1);
}

TEST_F(TypInfo, ValuesOutsideThePropertyAreRefused)
{
    struct Case {
        const wchar_t* name;
        Int64 value;
    } cases[] = {
        {L"Shade", 3}, {L"Shade", -1}, {L"Flat", 2}, {L"Edges", 0b10000}, {L"Edges", -1},
        {L"Opacity", 256}, {L"Opacity", -1}, {L"Level", Int64(1) << 31},
    };
    for (const Case& c : cases)
        EXPECT_THROW(SetOrdProp(gauge.get(), GetPropInfo(gauge.get(), c.name), c.value), ERangeError)
            << c.name << " " << c.value;
    EXPECT_EQ(gauge->GetShade(), shLight);
    EXPECT_EQ(gauge->GetOpacity(), 255);
    EXPECT_TRUE(gauge->GetEdges().Empty());
}

TEST_F(TypInfo, ObjectPropertiesAndWrongKinds)
{
    gauge->partner_ = percent.get();
    const TPropInfo* partner = GetPropInfo(gauge.get(), L"Partner");
    EXPECT_EQ(GetObjectProp(gauge.get(), partner), percent.get());
    EXPECT_THROW(GetOrdProp(gauge.get(), partner), EPropertyError);
    EXPECT_THROW(SetOrdProp(gauge.get(), partner, 0), EPropertyError);
    EXPECT_THROW(GetObjectProp(gauge.get(), GetPropInfo(gauge.get(), L"Level")), EPropertyError);
    // An entry used on an object of another class is refused, not misread.
    TOwned<TUnrelated> other(New<TUnrelated>());
    EXPECT_THROW(GetOrdProp(other.get(), GetPropInfo(gauge.get(), L"Level")), EPropertyError);
}

} // namespace
