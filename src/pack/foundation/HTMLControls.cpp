#include "HTMLControls.h"

#include "HTMLMarkup.h"
#include "HTMLUtils.h"
#include "SysUtils.h"
#include <vector>

namespace {

// Where one control tag stands in a text: from its "<" through its ">".
struct TControlPlace {
    std::size_t Start;
    std::size_t Length;
    THTMLControlTag Tag;
};

std::vector<TControlPlace> FindControls(const String& Text)
{
    std::vector<TControlPlace> places;
    const String upper = HTMLUpperCase(Text);
    for (std::size_t at = upper.find(L"<CONTROL "); at != String::npos;
         at = upper.find(L"<CONTROL ", at + 1)) {
        std::size_t close = Text.find(L'>', at);
        std::size_t length = close == String::npos ? Text.size() - at : close - at + 1;
        places.push_back({at, length, ParseHTMLControlTag(Text.substr(at, length))});
    }
    return places;
}

String Quoted(const String& s) { return L"\"" + s + L"\""; }

String WriteControlTag(const THTMLControlTag& tag, const String& value)
{
    String s = L"<CONTROL ID=" + Quoted(tag.ID) + L" VALUE=" + Quoted(EncodeHTMLEntities(value, true)) +
               L" WIDTH=" + Quoted(tag.Width) + L" TYPE=" + Quoted(HTMLUpperCase(tag.Type));
    if (!tag.Prop.empty())
        s += L" PROP=" + Quoted(EncodeHTMLEntities(tag.Prop, true));
    if (!tag.MaxLen.empty())
        s += L" MAXLEN=" + Quoted(tag.MaxLen);
    if (!tag.Height.empty())
        s += L" HEIGHT=" + Quoted(tag.Height);
    return s + L">";
}

const TControlPlace* FindControl(const std::vector<TControlPlace>& places, const String& ID)
{
    for (const auto& p : places)
        if (p.Tag.ID == ID)
            return &p;
    return nullptr;
}

} // namespace

THTMLControlTag ParseHTMLControlTag(const String& Tag)
{
    // The word CONTROL may be shortened to any tag starting with C, so the
    // attributes are read from a fixed position, as the engine does.
    const String attributes = Tag.size() > 8 ? Tag.substr(8) : String();
    THTMLControlTag tag;
    tag.Type = HTMLUpperCase(HTMLTagAttribute(attributes, L"TYPE="));
    tag.Width = HTMLTagAttribute(attributes, L"WIDTH=");
    tag.Height = HTMLTagAttribute(attributes, L"HEIGHT=");
    tag.ID = HTMLTagAttribute(attributes, L"ID=");
    tag.Value = DecodeHTMLEntities(HTMLTagAttribute(attributes, L"VALUE="), true);
    tag.Prop = DecodeHTMLEntities(HTMLTagAttribute(attributes, L"PROP="), true);
    tag.MaxLen = HTMLTagAttribute(attributes, L"MAXLEN=");
    return tag;
}

bool HasHTMLControls(const String& Text)
{
    return HTMLFindNoCase(Text, L"<CONTROL") != String::npos;
}

String FindNextHTMLEditControlID(const String& Text, const String& ID)
{
    const auto places = FindControls(Text);
    std::size_t from = 0;
    if (!ID.empty()) {
        const TControlPlace* current = FindControl(places, ID);
        if (!current)
            return String();
        from = static_cast<std::size_t>(current - places.data()) + 1;
    }
    for (std::size_t i = from; i < places.size(); ++i) {
        const String& type = places[i].Tag.Type;
        if (type != L"BUTTON" && type != L"CHECK" && type != L"RADIO")
            return places[i].Tag.ID;
    }
    return String();
}

String ClearHTMLRadioControls(const String& Text)
{
    String result = Text;
    const auto places = FindControls(Text);
    // From the back, so that earlier positions stay valid.
    for (auto it = places.rbegin(); it != places.rend(); ++it)
        if (it->Tag.Type == L"RADIO")
            result.replace(it->Start, it->Length, WriteControlTag(it->Tag, L"FALSE"));
    return result;
}

String GetHTMLControlProp(const String& Text, const String& ID)
{
    const auto places = FindControls(Text);
    const TControlPlace* place = FindControl(places, ID);
    return place ? place->Tag.Prop : String();
}

Integer GetHTMLControlMaxLen(const String& Text, const String& ID)
{
    const auto places = FindControls(Text);
    const TControlPlace* place = FindControl(places, ID);
    return place ? HTMLLeadingInteger(place->Tag.MaxLen) : 0;
}

bool SetHTMLControlValue(String& Text, const String& ID, const String& Value)
{
    const auto places = FindControls(Text);
    const TControlPlace* place = FindControl(places, ID);
    if (!place)
        return false;
    Text.replace(place->Start, place->Length, WriteControlTag(place->Tag, Value));
    return true;
}
