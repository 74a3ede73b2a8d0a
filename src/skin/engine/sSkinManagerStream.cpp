// The manager's component image: "TPF0", class and component name, then
// every published value in the order the class library streams them (the
// option objects' values under dotted names), then the two end marks.
// Reading runs under the loading state, so that Loaded announces the skin
// once at the end.
#include "sSkinManager.h"
#include "ScopeExit.h"
#include "acSkinPack.h"

namespace {

using TWrite = std::function<void(TWriter&, TsSkinManager&)>;
using TRead = std::function<void(TReader&, TsSkinManager&)>;
struct TStreamedProp {
    String Name;
    TWrite Write;
    TRead Read;
};

template <class Get, class Set>
TStreamedProp Bool(const String& Name, Get get, Set set)
{
    return {Name, [get](TWriter& w, TsSkinManager& m) { w.WriteBoolean(get(m)); },
            [set](TReader& r, TsSkinManager& m) { set(m, r.ReadBoolean()); }};
}
template <class Get, class Set>
TStreamedProp Int(const String& Name, Get get, Set set)
{
    return {Name, [get](TWriter& w, TsSkinManager& m) { w.WriteInteger(get(m)); },
            [set](TReader& r, TsSkinManager& m) { set(m, r.ReadInteger()); }};
}
template <class Get, class Set>
TStreamedProp Str(const String& Name, Get get, Set set)
{
    return {Name, [get](TWriter& w, TsSkinManager& m) { w.WriteString(get(m)); },
            [set](TReader& r, TsSkinManager& m) { set(m, r.ReadString()); }};
}
// An enumeration by its value names.
template <class Get, class Set>
TStreamedProp Enum(const String& Name, std::vector<String> names, Get get, Set set)
{
    return {Name, [get, names](TWriter& w, TsSkinManager& m) { w.WriteIdent(names.at(get(m))); },
            [set, names](TReader& r, TsSkinManager& m) {
                const String ident = r.ReadIdent();
                for (std::size_t i = 0; i < names.size(); ++i)
                    if (names[i] == ident)
                        return set(m, static_cast<int>(i));
                throw EReadError(L"Invalid property value " + ident);
            }};
}
// A set by its member names, as bits.
template <class Get, class Set>
TStreamedProp Bits(const String& Name, std::vector<String> names, Get get, Set set)
{
    return {Name,
            [get, names](TWriter& w, TsSkinManager& m) {
                std::vector<String> members;
                const unsigned long long bits = get(m);
                for (std::size_t i = 0; i < names.size(); ++i)
                    if (bits & (1ull << i))
                        members.push_back(names[i]);
                w.WriteSet(members);
            },
            [set, names](TReader& r, TsSkinManager& m) {
                unsigned long long bits = 0;
                for (const String& member : r.ReadSet())
                    for (std::size_t i = 0; i < names.size(); ++i)
                        if (names[i] == member)
                            bits |= 1ull << i;
                set(m, bits);
            }};
}

const std::vector<String> AnimTypeNames = {L"atFading", L"atAero", L"atDropDown"};

// Active, Time and (with WithMode) Mode of one animation object.
void AddAnimation(std::vector<TStreamedProp>& props, const String& prefix,
                  TacFormAnimation* (*of)(TsSkinManager&), bool WithMode)
{
    props.push_back(Bool(prefix + L".Active", [of](TsSkinManager& m) { return of(m)->Active; },
                         [of](TsSkinManager& m, bool v) { of(m)->Active = v; }));
    props.push_back(Int(prefix + L".Time", [of](TsSkinManager& m) { return of(m)->Time; },
                        [of](TsSkinManager& m, Integer v) { of(m)->Time = static_cast<Word>(v); }));
    if (WithMode) {
        props.push_back(Enum(prefix + L".Mode", AnimTypeNames, [of](TsSkinManager& m) { return of(m)->Mode; },
                             [of](TsSkinManager& m, int v) { of(m)->Mode = static_cast<TacAnimType>(v); }));
    }
}

const std::vector<TStreamedProp>& StreamedProps()
{
    static const std::vector<TStreamedProp> props = [] {
        std::vector<TStreamedProp> p;
        p.push_back(Bits(L"SkinsFilter", {L"sfiInternal", L"sfiExternal"},
                         [](TsSkinManager& m) { return m.GetSkinsFilter().ToInt(); },
                         [](TsSkinManager& m, unsigned long long v) { m.SetSkinsFilter(TacSkinsFilter::FromInt(v)); }));
        p.push_back(Bool(L"Effects.AllowAnimation", [](TsSkinManager& m) { return m.Effects()->AllowAnimation; },
                         [](TsSkinManager& m, bool v) { m.Effects()->AllowAnimation = v; }));
        p.push_back(Bool(L"Effects.AllowAeroBluring", [](TsSkinManager& m) { return m.Effects()->AllowAeroBluring; },
                         [](TsSkinManager& m, bool v) { m.Effects()->AllowAeroBluring = v; }));
        p.push_back(Bool(L"Effects.AllowGlowing", [](TsSkinManager& m) { return m.Effects()->AllowGlowing; },
                         [](TsSkinManager& m, bool v) { m.Effects()->AllowGlowing = v; }));
        p.push_back(Bool(L"Effects.AllowOuterEffects", [](TsSkinManager& m) { return m.Effects()->GetBoolProp(0); },
                         [](TsSkinManager& m, bool v) { m.Effects()->SetBoolProp(0, v); }));
        p.push_back(Bool(L"Effects.DiscoloredGlyphs", [](TsSkinManager& m) { return m.Effects()->GetBoolProp(1); },
                         [](TsSkinManager& m, bool v) { m.Effects()->SetBoolProp(1, v); }));
        AddAnimation(p, L"AnimEffects.BlendOnMoving", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->BlendOnMoving.get(); }, false);
        p.push_back(Int(L"AnimEffects.BlendOnMoving.BlendValue",
                        [](TsSkinManager& m) { return m.AnimEffects()->BlendOnMoving->BlendValue; },
                        [](TsSkinManager& m, Integer v) { m.AnimEffects()->BlendOnMoving->BlendValue = static_cast<Byte>(v); }));
        p.push_back(Bits(L"AnimEffects.Buttons.Events", {L"beMouseEnter", L"beMouseLeave", L"beMouseDown", L"beMouseUp"},
                         [](TsSkinManager& m) { return m.AnimEffects()->Buttons->Events.ToInt(); },
                         [](TsSkinManager& m, unsigned long long v) { m.AnimEffects()->Buttons->Events = TacBtnEvents::FromInt(v); }));
        AddAnimation(p, L"AnimEffects.DialogShow", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->DialogShow.get(); }, true);
        AddAnimation(p, L"AnimEffects.FormShow", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->FormShow.get(); }, true);
        AddAnimation(p, L"AnimEffects.FormHide", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->FormHide.get(); }, true);
        AddAnimation(p, L"AnimEffects.DialogHide", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->DialogHide.get(); }, true);
        AddAnimation(p, L"AnimEffects.Minimizing", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->Minimizing.get(); }, false);
        AddAnimation(p, L"AnimEffects.PageChange", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->PageChange.get(); }, false);
        AddAnimation(p, L"AnimEffects.SkinChanging", [](TsSkinManager& m) -> TacFormAnimation* { return m.AnimEffects()->SkinChanging.get(); }, true);
        p.push_back(Bool(L"ButtonsOptions.OldGlyphsMode", [](TsSkinManager&) { return TacButtonsSupport::GetOldGlyphsMode(); },
                         [](TsSkinManager& m, bool v) { m.ButtonsOptions()->SetOldGlyphsMode(v); }));
        p.push_back(Bool(L"ButtonsOptions.ShowFocusRect", [](TsSkinManager& m) { return m.ButtonsOptions()->ShowFocusRect; },
                         [](TsSkinManager& m, bool v) { m.ButtonsOptions()->ShowFocusRect = v; }));
        p.push_back(Bool(L"ButtonsOptions.ShiftContentOnClick", [](TsSkinManager& m) { return m.ButtonsOptions()->ShiftContentOnClick; },
                         [](TsSkinManager& m, bool v) { m.ButtonsOptions()->ShiftContentOnClick = v; }));
        p.push_back(Bits(L"ButtonsOptions.ModalButtonsColoring", {L"bcBackground", L"bcGlyph", L"bcText"},
                         [](TsSkinManager& m) { return m.ButtonsOptions()->ModalButtonsColoring.ToInt(); },
                         [](TsSkinManager& m, unsigned long long v) { m.ButtonsOptions()->ModalButtonsColoring = TacModalButtonsColoring::FromInt(v); }));
        p.push_back(Bool(L"Active", [](TsSkinManager& m) { return m.GetActive(); },
                         [](TsSkinManager& m, bool v) { m.SetActive(v); }));
        p.push_back(Bool(L"ExtendedBorders", [](TsSkinManager& m) { return m.GetExtendedBorders(); },
                         [](TsSkinManager& m, bool v) { m.SetExtendedBorders(v); }));
        p.push_back(Bool(L"IsDefault", [](TsSkinManager& m) { return m.IsDefault(); },
                         [](TsSkinManager& m, bool v) {
                             if (v != m.IsDefault())
                                 m.SetIsDefault(v);
                         }));
        p.push_back(Bool(L"SkinnedPopups", [](TsSkinManager& m) { return m.GetSkinnedPopups(); },
                         [](TsSkinManager& m, bool v) { m.SetSkinnedPopups(v); }));
        p.push_back(Int(L"Brightness", [](TsSkinManager& m) { return m.GetBrightness(); },
                        [](TsSkinManager& m, Integer v) { m.SetBrightness(v); }));
        p.push_back(Int(L"HueOffset", [](TsSkinManager& m) { return m.GetHueOffset(); },
                        [](TsSkinManager& m, Integer v) { m.SetHueOffset(v); }));
        p.push_back(Int(L"Saturation", [](TsSkinManager& m) { return m.GetSaturation(); },
                        [](TsSkinManager& m, Integer v) { m.SetSaturation(v); }));
        p.push_back({L"CommonSections.Strings",
                     [](TWriter& w, TsSkinManager& m) {
                         w.WriteListBegin();
                         for (int i = 0; i < m.GetCommonSections()->Count(); ++i)
                             w.WriteString((*m.GetCommonSections())[i]);
                         w.WriteListEnd();
                     },
                     [](TReader& r, TsSkinManager& m) {
                         TOwned<TStringList> lines(New<TStringList>());
                         r.ReadListBegin();
                         while (!r.EndOfList())
                             lines->Add(r.ReadString());
                         r.ReadListEnd();
                         m.SetCommonSections(lines.get());
                     }});
        p.push_back(Bool(L"LabelsOptions.TransparentAlways", [](TsSkinManager& m) { return m.LabelsOptions()->TransparentAlways; },
                         [](TsSkinManager& m, bool v) { m.LabelsOptions()->TransparentAlways = v; }));
        p.push_back(Str(L"MenuSupport.IcoLineSkin", [](TsSkinManager& m) { return m.MenuSupport()->IcoLineSkin; },
                        [](TsSkinManager& m, const String& v) { m.MenuSupport()->IcoLineSkin = v; }));
        static const wchar_t* const boolOptions[] = {L"Options.CheckEmptyAlpha", L"Options.NoMouseHover",
                                                     L"Options.NativeBordersMaximized", L"Options.StdGlyphsOrder",
                                                     L"Options.ChangeSysColors", L"Options.StdImgTransparency",
                                                     L"Options.DrawNonClientArea"};
        for (int i = 0; i < 7; ++i)
            p.push_back(Bool(boolOptions[i], [i](TsSkinManager& m) { return m.Options.GetBoolProp(i); },
                             [i](TsSkinManager& m, bool v) { m.Options.SetBoolProp(i, v); }));
        p.push_back(Enum(L"Options.ScaleMode", {L"sm100", L"sm125", L"sm150", L"sm200", L"smAuto", L"smOldMode"},
                         [](TsSkinManager& m) { return m.Options.GetScaleMode(); },
                         [](TsSkinManager& m, int v) { m.Options.SetScaleMode(static_cast<TacScaleMode>(v)); }));
        p.push_back(Enum(L"Options.ArrowsStyle", {L"arsSolid1", L"arsLines1", L"arsSolid2", L"arsLines2", L"arsDefault"},
                         [](TsSkinManager& m) { return m.Options.GetArrowsStyle(); },
                         [](TsSkinManager& m, int v) { m.Options.SetArrowsStyle(static_cast<TacArrowsStyle>(v)); }));
        p.push_back(Enum(L"Options.OptimizingPriority", {L"opSpeed", L"opMemory"},
                         [](TsSkinManager& m) { return m.Options.OptimizingPriority; },
                         [](TsSkinManager& m, int v) { m.Options.OptimizingPriority = static_cast<TacOptimizingPriority>(v); }));
        p.push_back(Enum(L"Fonts.MainMode", {L"fmDefault", L"fmFromSkin", L"fmCustom"},
                         [](TsSkinManager& m) { return m.Fonts()->GetMainMode(); },
                         [](TsSkinManager& m, int v) { m.Fonts()->SetMainMode(static_cast<TacFontMode>(v)); }));
        p.push_back(Str(L"Fonts.MainFont", [](TsSkinManager& m) { return m.Fonts()->GetMainFont(); },
                        [](TsSkinManager& m, const String& v) { m.Fonts()->SetMainFont(v); }));
        p.push_back(Int(L"ScrollsOptions.ButtonsSize", [](TsSkinManager& m) { return m.ScrollsOptions()->GetButtonsSize(); },
                        [](TsSkinManager& m, Integer v) { m.ScrollsOptions()->SetIntProp(0, v); }));
        p.push_back(Int(L"ScrollsOptions.ScrollSize", [](TsSkinManager& m) { return m.ScrollsOptions()->GetScrollSize(); },
                        [](TsSkinManager& m, Integer v) { m.ScrollsOptions()->SetIntProp(1, v); }));
        p.push_back(Str(L"SkinDirectory", [](TsSkinManager& m) { return m.GetSkinDirectory(); },
                        [](TsSkinManager& m, const String& v) { m.SetSkinDirectory(v); }));
        p.push_back(Str(L"SkinName", [](TsSkinManager& m) { return m.GetSkinName(); },
                        [](TsSkinManager& m, const String& v) { m.SetSkinName(v); }));
        p.push_back(Str(L"SkinInfo", [](TsSkinManager& m) { return m.GetSkinInfo(); },
                        [](TsSkinManager&, const String&) {}));
        p.push_back(Bits(L"SkinningRules", {L"srStdForms", L"srStdDialogs", L"srThirdParty"},
                         [](TsSkinManager& m) { return m.GetSkinningRules().ToInt(); },
                         [](TsSkinManager& m, unsigned long long v) { m.SetSkinningRules(TacSkinningRules::FromInt(v)); }));
        for (int i = 0; i < ThirdPartyKindCount; ++i)
            p.push_back(Str(String(L"ThirdParty.") + TsThirdPartyList::PropertyName(i), [i](TsSkinManager& m) { return m.ThirdParty()->GetString(i); },
                            [i](TsSkinManager& m, const String& v) { m.ThirdParty()->SetString(i, v); }));
        return p;
    }();
    return props;
}

} // namespace

void TsSkinManager::WriteComponent(TStream* Stream)
{
    // The foreign-control lists hold the current texts.
    SaveThirdLists(this);
    TWriter w(Stream);
    w.WriteSignature();
    w.WriteStr(L"TsSkinManager");
    w.WriteStr(GetName());
    // The stored skins come first: the skin name that follows may load one.
    if (FInternalSkins->Count() > 0) {
        w.WritePropName(L"InternalSkins");
        FInternalSkins->WriteCollection(w);
    }
    for (const TStreamedProp& prop : StreamedProps()) {
        w.WritePropName(prop.Name);
        prop.Write(w, *this);
    }
    w.WriteListEnd();   // properties
    w.WriteListEnd();   // owned components: none
}

void TsSkinManager::ReadComponent(TStream* Stream)
{
    TReader r(Stream);
    r.ReadSignature();
    const String className = r.ReadStr();
    if (className != L"TsSkinManager")
        throw EReadError(L"Invalid class " + className);
    SetName(r.ReadStr());
    BeginLoading();
    // Loaded runs once, whatever the image holds.
    TScopeExit loaded([this] { EndLoading(); });
    while (!r.EndOfList()) {
        const String name = r.ReadPropName();
        if (name == L"InternalSkins") {
            FInternalSkins->ReadCollection(r);
            continue;
        }
        const TStreamedProp* found = nullptr;
        for (const TStreamedProp& prop : StreamedProps())
            if (name == prop.Name)
                found = &prop;
        if (!found)
            throw EReadError(L"Property " + name + L" does not exist");
        found->Read(r, *this);
    }
    r.ReadListEnd();
    r.ReadListEnd();
}
