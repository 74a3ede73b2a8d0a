// The binary cell stream: a header record, then per cell a cell record, its
// properties, its graphic and the graphic's picture or list, each record one
// component image of the class library's streaming. Files, the clipboard
// and drag and drop all carry it.
#include "AdvGrid.h"
#include <cmath>
#include <cstring>
#include <limits>
#include <span>

namespace {

// The largest column and row a cell record can address.
constexpr int MaxStreamIndex = std::numeric_limits<Word>::max();

const wchar_t* const CellTypeNames[] = {
    L"ctBitmap", L"ctIcon", L"ctNone", L"ctImageList", L"ctCheckBox", L"ctDataCheckBox", L"ctRotated",
    L"ctDataImage", L"ctNode", L"ctRadio", L"ctEmpty", L"ctImages", L"ctPicture", L"ctFilePicture", L"ctValue",
    L"ctProgress", L"ctComment", L"ctButton", L"ctBitButton", L"ctVirtCheckBox", L"ctRowCheckBox",
    L"ctProgressPie", L"ctSummary", L"ctRangeIndicator", L"ctXPProgress", L"ctInterface", L"ctScrollbar",
    L"ctRadioButton", L"ctBalloon", L"ctShape", L"ctRating", L"ctTriStateCheckBox", L"ctExpand"};
const wchar_t* const CellHAlignNames[] = {L"haLeft", L"haRight", L"haCenter", L"haBeforeText", L"haAfterText",
                                          L"haFull"};
const wchar_t* const CellVAlignNames[] = {L"vaTop", L"vaBottom", L"vaCenter", L"vaUnderText", L"vaAboveText",
                                          L"vaFull"};
const wchar_t* const CheckBoxStateNames[] = {L"cbUnchecked", L"cbChecked", L"cbGrayed"};
const wchar_t* const AlignmentNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
const wchar_t* const VAlignmentNames[] = {L"vtaTop", L"vtaCenter", L"vtaBottom"};
const wchar_t* const BrushStyleNames[] = {L"bsSolid", L"bsClear", L"bsHorizontal", L"bsVertical",
                                          L"bsFDiagonal", L"bsBDiagonal", L"bsCross", L"bsDiagCross"};
const wchar_t* const FontStyleNames[] = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};
const wchar_t* const GradientDirectionNames[] = {L"GradientVertical", L"GradientHorizontal"};
const wchar_t* const EditorTypeNames[] = {
    L"edNormal", L"edSpinEdit", L"edComboEdit", L"edComboList", L"edEditBtn", L"edCheckBox", L"edDateEdit",
    L"edDateEditUpDown", L"edTimeEdit", L"edButton", L"edDataCheckBox", L"edNumeric", L"edPositiveNumeric",
    L"edFloat", L"edCapital", L"edMixedCase", L"edPassword", L"edUnitEditBtn", L"edLowerCase", L"edUpperCase",
    L"edFloatSpinEdit", L"edTimeSpinEdit", L"edDateSpinEdit", L"edNumericEditBtn", L"edFloatEditBtn",
    L"edCustom", L"edRichEdit", L"edNone", L"edDateTimeEdit", L"edValidChars", L"edTrackbarDropDown",
    L"edMemoDropDown", L"edCalculatorDropDown", L"edTimePickerDropDown", L"edDetailDropDown",
    L"edGridDropDown", L"edColorPickerDropDown", L"edImagePickerDropDown", L"edAdvGridDropDown",
    L"edControlDropDown", L"edPositiveFloat", L"edNumericUnitEditBtn", L"edFloatUnitEditBtn",
    L"edMaskEditBtn"};
static_assert(std::size(CellTypeNames) == ctExpand + 1);
static_assert(std::size(EditorTypeNames) == edMaskEditBtn + 1);

using Names = std::span<const wchar_t* const>;

int IdentValue(Names names, const String& ident)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (ident == names[i])
            return static_cast<int>(i);
    throw EReadError(L"Invalid property value " + ident);
}

// --- writing one component image ------------------------------------------------------

class RecordWriter {
public:
    RecordWriter(TStream* Stream, const wchar_t* ClassName) : w_(Stream)
    {
        w_.WriteSignature();
        w_.WriteStr(ClassName);
        w_.WriteStr(String()); // the component name
    }
    // The end of the properties and of the (empty) list of children.
    void End()
    {
        w_.WriteListEnd();
        w_.WriteListEnd();
    }

    // Ordinal and Boolean values are always written; empty texts, zero
    // floats and empty data are not.
    void Integer(const String& Name, Int64 Value)
    {
        w_.WritePropName(Name);
        w_.WriteInteger(Value);
    }
    void Boolean(const String& Name, bool Value)
    {
        w_.WritePropName(Name);
        w_.WriteBoolean(Value);
    }
    void Ident(const String& Name, const String& Value)
    {
        w_.WritePropName(Name);
        w_.WriteIdent(Value);
    }
    void Color(const String& Name, TColor Value)
    {
        String ident;
        if (ColorToIdent(Value, ident))
            Ident(Name, ident);
        else
            Integer(Name, Value);
    }
    void Text(const String& Name, const String& Value)
    {
        if (Value.empty())
            return;
        w_.WritePropName(Name);
        w_.WriteString(Value);
    }
    void Float(const String& Name, double Value)
    {
        if (Value == 0)
            return;
        w_.WritePropName(Name);
        w_.WriteFloat(Value);
    }
    void Members(const String& Name, const std::vector<String>& Value)
    {
        w_.WritePropName(Name);
        w_.WriteSet(Value);
    }
    void Binary(const String& Name, const std::vector<Byte>& Value)
    {
        if (Value.empty())
            return;
        w_.WritePropName(Name);
        w_.WriteBinary(Value.data(), static_cast<Int64>(Value.size()));
    }
    void Lines(const String& Name, TStrings* Value)
    {
        w_.WritePropName(Name);
        w_.WriteListBegin();
        for (int i = 0; i < Value->Count(); ++i)
            w_.WriteString(Value->Get(i));
        w_.WriteListEnd();
    }

private:
    TWriter w_;
};

// --- reading one component image ----------------------------------------------------

// Reads the image of ClassName, handing each property to Read, which answers
// false for a property its class does not have. Every failure inside a
// property names the record and the property.
void ReadRecord(TReader& r, const wchar_t* ClassName, const std::function<bool(const String&, TReader&)>& Read)
{
    r.ReadSignature();
    const String found = r.ReadStr();
    if (found != ClassName)
        throw EReadError(L"Invalid stream format: " + found + L" where " + ClassName + L" belongs");
    r.ReadStr(); // the component name
    while (!r.EndOfList()) {
        const String name = r.ReadPropName();
        try {
            if (!Read(name, r))
                throw EReadError(L"Property does not exist");
        } catch (const Exception& e) {
            throw EReadError(L"Error reading " + found + L"." + name + L": " + e.Message());
        }
    }
    r.ReadListEnd();
    if (!r.EndOfList())
        throw EReadError(L"Invalid stream format: " + found + L" has children");
    r.ReadListEnd();
}

Integer ReadIntegerIn(TReader& r, Integer Low, Integer High)
{
    const Integer value = r.ReadInteger();
    if (value < Low || value > High)
        throw EReadError(L"Invalid property value " + IntToStr(value));
    return value;
}

TColor ReadColor(TReader& r)
{
    if (r.NextValue() == vaIdent) {
        const String ident = r.ReadIdent();
        TColor color = 0;
        if (!IdentToColor(ident, color))
            throw EReadError(L"Invalid property value " + ident);
        return color;
    }
    return r.ReadInteger();
}

// --- property tables ------------------------------------------------------------------

// One published property of a record: how to write it from an object, and
// how to read its value into a setter to be applied later.
template <class Obj>
struct Field {
    const wchar_t* name;
    std::function<void(RecordWriter&, const String&, Obj&)> write;
    std::function<std::function<void(Obj&)>(TReader&)> read;
};

template <class Obj, class Value>
std::function<void(Obj&)> Setter(void (Obj::*set)(Value), std::remove_cvref_t<Value> v)
{
    return [set, v](Obj& o) { (o.*set)(v); };
}

template <class Obj>
Field<Obj> BooleanField(const wchar_t* name, bool (Obj::*get)() const, void (Obj::*set)(bool))
{
    return {name, [get](RecordWriter& w, const String& n, Obj& o) { w.Boolean(n, (o.*get)()); },
            [set](TReader& r) { return Setter(set, r.ReadBoolean()); }};
}

template <class Obj, class V>
Field<Obj> IntegerField(const wchar_t* name, V (Obj::*get)() const, void (Obj::*set)(V))
{
    return {name, [get](RecordWriter& w, const String& n, Obj& o) { w.Integer(n, (o.*get)()); },
            [set](TReader& r) { return Setter(set, static_cast<V>(r.ReadInteger())); }};
}

template <class Obj, class E>
Field<Obj> EnumField(const wchar_t* name, E (Obj::*get)() const, void (Obj::*set)(E), Names names)
{
    return {name, [get, names](RecordWriter& w, const String& n, Obj& o) { w.Ident(n, names[(o.*get)()]); },
            [set, names](TReader& r) { return Setter(set, static_cast<E>(IdentValue(names, r.ReadIdent()))); }};
}

template <class Obj>
Field<Obj> ColorField(const wchar_t* name, TColor (Obj::*get)() const, void (Obj::*set)(TColor))
{
    return {name, [get](RecordWriter& w, const String& n, Obj& o) { w.Color(n, (o.*get)()); },
            [set](TReader& r) { return Setter(set, ReadColor(r)); }};
}

template <class Obj>
Field<Obj> TextField(const wchar_t* name, const String& (Obj::*get)() const, void (Obj::*set)(const String&))
{
    return {name, [get](RecordWriter& w, const String& n, Obj& o) { w.Text(n, (o.*get)()); },
            [set](TReader& r) { return Setter(set, r.ReadString()); }};
}

template <class Obj>
Field<Obj> FloatField(const wchar_t* name, double (Obj::*get)() const, void (Obj::*set)(double))
{
    return {name, [get](RecordWriter& w, const String& n, Obj& o) { w.Float(n, (o.*get)()); },
            [set](TReader& r) { return Setter(set, r.ReadFloat()); }};
}

Field<TCellProperties> FontStyleField()
{
    return {L"FontStyle",
            [](RecordWriter& w, const String& n, TCellProperties& o) {
                std::vector<String> members;
                for (int i = fsBold; i <= fsStrikeOut; ++i)
                    if (o.GetFontStyle().Contains(static_cast<TFontStyle>(i)))
                        members.push_back(FontStyleNames[i]);
                w.Members(n, members);
            },
            [](TReader& r) {
                TFontStyles style;
                for (const String& member : r.ReadSet())
                    style.Include(static_cast<TFontStyle>(IdentValue(FontStyleNames, member)));
                return Setter(&TCellProperties::SetFontStyle, style);
            }};
}

// The stored properties of a cell, in stream order. A control placed in the
// cell is not carried: it belongs to the window it was made in.
const std::vector<Field<TCellProperties>>& CellPropertyFields()
{
    using P = TCellProperties;
    static const std::vector<Field<P>> fields = {
        BooleanField(L"IsBaseCell", &P::GetIsBaseCell, &P::SetIsBaseCell),
        IntegerField(L"CellSpanX", &P::GetCellSpanX, &P::SetCellSpanX),
        IntegerField(L"CellSpanY", &P::GetCellSpanY, &P::SetCellSpanY),
        EnumField(L"Alignment", &P::GetAlignment, &P::SetAlignment, AlignmentNames),
        ColorField(L"BorderColor", &P::GetBorderColor, &P::SetBorderColor),
        IntegerField(L"BorderWidth", &P::GetBorderWidth, &P::SetBorderWidth),
        ColorField(L"BrushColor", &P::GetBrushColor, &P::SetBrushColor),
        ColorField(L"BrushColorTo", &P::GetBrushColorTo, &P::SetBrushColorTo),
        EnumField(L"BrushStyle", &P::GetBrushStyle, &P::SetBrushStyle, BrushStyleNames),
        {L"CellObject", [](RecordWriter& w, const String& n, P& o) { w.Integer(n, o.GetCellObject()); },
         [](TReader& r) { return Setter(&P::SetCellObject, static_cast<intptr_t>(r.ReadInt64())); }},
        ColorField(L"FontColor", &P::GetFontColor, &P::SetFontColor),
        TextField(L"FontName", &P::GetFontName, &P::SetFontName),
        IntegerField(L"FontSize", &P::GetFontSize, &P::SetFontSize),
        FontStyleField(),
        EnumField(L"Editor", &P::GetEditor, &P::SetEditor, EditorTypeNames),
        EnumField(L"GradientDirection", &P::GetGradientDirection, &P::SetGradientDirection, GradientDirectionNames),
        BooleanField(L"ReadOnly", &P::GetReadOnly, &P::SetReadOnly),
        EnumField(L"VAlignment", &P::GetVAlignment, &P::SetVAlignment, VAlignmentNames),
        BooleanField(L"WordWrap", &P::GetWordWrap, &P::SetWordWrap),
        IntegerField(L"NodeLevel", &P::GetNodeLevel, &P::SetNodeLevel),
    };
    return fields;
}

const std::vector<Field<TCellGraphic>>& CellGraphicFields()
{
    using G = TCellGraphic;
    static const std::vector<Field<G>> fields = {
        EnumField<G, TCellType>(L"CellType", &G::GetCellType, &G::SetCellType, CellTypeNames),
        EnumField<G, TCellVAlign>(L"CellVAlign", &G::GetCellVAlign, &G::SetCellVAlign, CellVAlignNames),
        EnumField<G, TCellHAlign>(L"CellHAlign", &G::GetCellHAlign, &G::SetCellHAlign, CellHAlignNames),
        IntegerField<G, int>(L"CellIndex", &G::GetCellIndex, &G::SetCellIndex),
        BooleanField<G>(L"CellTransparent", &G::GetCellTransparent, &G::SetCellTransparent),
        BooleanField<G>(L"CellCreated", &G::GetCellCreated, &G::SetCellCreated),
        BooleanField<G>(L"CellBoolean", &G::GetCellBoolean, &G::SetCellBoolean),
        EnumField<G, TCheckBoxState>(L"CellCheckBoxState", &G::GetCellCheckBoxState, &G::SetCellCheckBoxState,
                                     CheckBoxStateNames),
        IntegerField<G, int>(L"CellAngle", &G::GetCellAngle, &G::SetCellAngle),
        FloatField<G>(L"CellValue", &G::GetCellValue, &G::SetCellValue),
        IntegerField<G, int>(L"CellErrFrom", &G::GetCellErrFrom, &G::SetCellErrFrom),
        IntegerField<G, int>(L"CellErrLen", &G::GetCellErrLen, &G::SetCellErrLen),
        TextField<G>(L"CellText", &G::GetCellText, &G::SetCellText),
    };
    return fields;
}

template <class Obj>
void WriteFields(RecordWriter& w, const String& Prefix, const std::vector<Field<Obj>>& Fields, Obj& Object)
{
    for (const Field<Obj>& field : Fields)
        field.write(w, Prefix + field.name, Object);
}

// Reads a property of the table under Prefix into Setters; false when the
// name is none of them.
template <class Obj>
bool ReadField(const String& Name, TReader& r, const String& Prefix, const std::vector<Field<Obj>>& Fields,
               std::vector<std::function<void(Obj&)>>& Setters)
{
    if (Name.compare(0, Prefix.size(), Prefix) != 0)
        return false;
    for (const Field<Obj>& field : Fields)
        if (Name.compare(Prefix.size(), String::npos, field.name) == 0) {
            Setters.push_back(field.read(r));
            return true;
        }
    return false;
}

// --- the records ----------------------------------------------------------------------

const wchar_t* const HeaderClass = L"TGridPropIO";
const wchar_t* const CellClass = L"TGridCellIO";
const wchar_t* const CellPropClass = L"TGridCellPropIO";
const wchar_t* const CellGraphicClass = L"TGridGraphicIO";
const wchar_t* const BitmapClass = L"TGridBMPIO";
const wchar_t* const IconClass = L"TGridIconIO";
const wchar_t* const PictureClass = L"TGridPicIO";
const wchar_t* const FilePictureClass = L"TGridFilePicIO";
const wchar_t* const StringsClass = L"TGridSLIO";
const String PropertiesPrefix = L"CellProperties.";
const String GraphicPrefix = L"CellGraphic.";

struct Header {
    int ColCount = 0;
    int RowCount = 0;
    String ColWidths;
    String RowHeights;
    bool FullGrid = false;
    Integer ID = 0;
};

// The picture or list that follows a graphic of this kind.
enum class Payload { None, Bitmap, Icon, Strings, ImageIndexes, Picture, FilePicture };

Payload PayloadOf(TCellType Kind)
{
    switch (Kind) {
    case ctBitmap:
    case ctBitButton:
        return Payload::Bitmap;
    case ctIcon:
        return Payload::Icon;
    case ctRadio:
        return Payload::Strings;
    case ctImages:
        return Payload::ImageIndexes;
    case ctPicture:
        return Payload::Picture;
    case ctFilePicture:
        return Payload::FilePicture;
    default:
        return Payload::None;
    }
}

std::vector<Byte> BytesOf(const std::function<void(TStream*)>& Write)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    Write(m.get());
    const auto* data = static_cast<const Byte*>(m->Memory());
    return {data, data + m->GetSize()};
}

TOwned<TMemoryStream> StreamOf(const std::vector<Byte>& Bytes)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    m->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    m->SetPosition(0);
    return m;
}

void WritePayload(TStream* Stream, Payload Kind, TCellGraphic* Graphic)
{
    TObject* slot = Graphic->GetCellBitmap();
    switch (Kind) {
    case Payload::None:
        return;
    case Payload::Bitmap: {
        RecordWriter w(Stream, BitmapClass);
        // A 32-bit size, then the BMP file, as a bitmap stores its data.
        if (auto* bitmap = dynamic_cast<TBitmap*>(slot); bitmap && !bitmap->GetEmpty()) {
            std::vector<Byte> file = BytesOf([bitmap](TStream* s) { bitmap->SaveToStream(s); });
            const auto size = static_cast<Integer>(file.size());
            std::vector<Byte> data(reinterpret_cast<const Byte*>(&size), reinterpret_cast<const Byte*>(&size + 1));
            data.insert(data.end(), file.begin(), file.end());
            w.Binary(L"Bitmap.Data", data);
        }
        w.End();
        return;
    }
    case Payload::Icon: {
        RecordWriter w(Stream, IconClass);
        if (TIcon* icon = Graphic->GetCellIcon(); icon && !icon->GetEmpty())
            w.Binary(L"Icon.Data", BytesOf([icon](TStream* s) { icon->SaveToStream(s); }));
        w.End();
        return;
    }
    case Payload::Strings:
    case Payload::ImageIndexes: {
        RecordWriter w(Stream, StringsClass);
        TOwned<TStringList> lines(New<TStringList>());
        if (auto* strings = dynamic_cast<TStrings*>(slot))
            lines->Assign(strings);
        else if (auto* indexes = dynamic_cast<TIntList*>(slot))
            lines->Add(indexes->GetStrValue());
        w.Lines(L"Strings.Strings", lines.get());
        w.End();
        return;
    }
    case Payload::Picture: {
        RecordWriter w(Stream, PictureClass);
        if (auto* picture = dynamic_cast<TPicture*>(slot); picture && picture->GetGraphic())
            w.Binary(L"Picture.Data", BytesOf([picture](TStream* s) { picture->WriteData(s); }));
        w.End();
        return;
    }
    case Payload::FilePicture: {
        RecordWriter w(Stream, FilePictureClass);
        if (auto* picture = dynamic_cast<TFilePicture*>(slot)) {
            w.Text(L"Picture.Filename", picture->GetFilename());
            w.Integer(L"Picture.Width", picture->GetWidth());
            w.Integer(L"Picture.Height", picture->GetHeight());
        }
        w.End();
        return;
    }
    }
}

// --- a whole stream, read before the grid changes -------------------------------------

struct StreamCell {
    int Col = 0;
    int Row = 0;
    String Text;
    bool HasProp = false;
    std::vector<std::function<void(TCellProperties&)>> Properties;
    TOwned<TCellGraphic> Graphic;
    TOwned<TObject> Slot; // bitmap, picture, file picture, string list or integer list
    TOwned<TIcon> Icon;
};

struct StreamImage {
    Header header;
    std::vector<StreamCell> cells;
};

Header ReadHeader(TReader& r)
{
    Header header;
    ReadRecord(r, HeaderClass, [&header](const String& name, TReader& r) {
        if (name == L"ColCount")
            header.ColCount = ReadIntegerIn(r, 0, MaxStreamIndex + 1);
        else if (name == L"RowCount")
            header.RowCount = ReadIntegerIn(r, 0, MaxStreamIndex + 1);
        else if (name == L"ColWidths")
            header.ColWidths = r.ReadString();
        else if (name == L"RowHeights")
            header.RowHeights = r.ReadString();
        else if (name == L"FullGrid")
            header.FullGrid = r.ReadBoolean();
        else if (name == L"ID")
            header.ID = r.ReadInteger();
        else
            return false;
        return true;
    });
    return header;
}

// The sizes of a comma-separated list; anything but non-negative whole
// numbers is an error.
std::vector<int> ReadSizes(const String& Text)
{
    std::vector<int> sizes;
    if (Text.empty())
        return sizes;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = Text.find(L',', start);
        const String item = Trim(Text.substr(start, comma == String::npos ? String::npos : comma - start));
        const int size = StrToInt(item);
        if (size < 0)
            throw EReadError(L"Invalid size " + item + L" in the cell stream");
        sizes.push_back(size);
        if (comma == String::npos)
            return sizes;
        start = comma + 1;
    }
}

TObject* ReadPayload(TReader& r, Payload Kind, TOwned<TIcon>& Icon)
{
    switch (Kind) {
    case Payload::None:
        return nullptr;
    case Payload::Bitmap: {
        TOwned<TBitmap> bitmap(New<TBitmap>());
        ReadRecord(r, BitmapClass, [&bitmap](const String& name, TReader& r) {
            if (name != L"Bitmap.Data")
                return false;
            const std::vector<Byte> data = r.ReadBinary();
            Integer size = -1;
            if (data.size() >= sizeof size)
                std::memcpy(&size, data.data(), sizeof size);
            if (size < 0 || static_cast<std::size_t>(size) != data.size() - sizeof size)
                throw EReadError(L"Invalid bitmap data");
            TOwned<TMemoryStream> file = StreamOf({data.begin() + sizeof size, data.end()});
            bitmap->LoadFromStream(file.get());
            return true;
        });
        return bitmap.release();
    }
    case Payload::Icon: {
        TOwned<TIcon> icon(New<TIcon>());
        ReadRecord(r, IconClass, [&icon](const String& name, TReader& r) {
            if (name != L"Icon.Data")
                return false;
            TOwned<TMemoryStream> file = StreamOf(r.ReadBinary());
            icon->LoadFromStream(file.get());
            return true;
        });
        Icon = std::move(icon);
        return nullptr;
    }
    case Payload::Strings:
    case Payload::ImageIndexes: {
        TOwned<TStringList> lines(New<TStringList>());
        ReadRecord(r, StringsClass, [&lines](const String& name, TReader& r) {
            if (name != L"Strings.Strings")
                return false;
            lines->Clear();
            r.ReadListBegin();
            while (!r.EndOfList())
                lines->Add(r.ReadString());
            r.ReadListEnd();
            return true;
        });
        if (Kind == Payload::Strings)
            return lines.release();
        TOwned<TIntList> indexes(New<TIntList>(0, 0));
        if (lines->Count() > 0)
            indexes->SetStrValue(lines->Get(0));
        return indexes.release();
    }
    case Payload::Picture: {
        TOwned<TPicture> picture(New<TPicture>());
        ReadRecord(r, PictureClass, [&picture](const String& name, TReader& r) {
            if (name != L"Picture.Data")
                return false;
            TOwned<TMemoryStream> data = StreamOf(r.ReadBinary());
            picture->ReadData(data.get());
            return true;
        });
        return picture.release();
    }
    case Payload::FilePicture: {
        TOwned<TFilePicture> picture(New<TFilePicture>());
        ReadRecord(r, FilePictureClass, [&picture](const String& name, TReader& r) {
            if (name == L"Picture.Filename")
                picture->SetFilename(r.ReadString());
            else if (name == L"Picture.Width")
                picture->SetWidth(r.ReadInteger());
            else if (name == L"Picture.Height")
                picture->SetHeight(r.ReadInteger());
            else
                return false;
            return true;
        });
        return picture.release();
    }
    }
    return nullptr;
}

StreamImage ReadStreamImage(TStream* Stream)
{
    TReader r(Stream);
    StreamImage image;
    image.header = ReadHeader(r);
    while (r.Remaining() >= 2) {
        StreamCell cell;
        ReadRecord(r, CellClass, [&cell](const String& name, TReader& r) {
            if (name == L"Col")
                cell.Col = ReadIntegerIn(r, 0, MaxStreamIndex);
            else if (name == L"Row")
                cell.Row = ReadIntegerIn(r, 0, MaxStreamIndex);
            else if (name == L"Cell")
                cell.Text = r.ReadString();
            else if (name == L"HasProp")
                cell.HasProp = r.ReadBoolean();
            else
                return false;
            return true;
        });
        if (cell.HasProp) {
            bool hasGraphic = false;
            ReadRecord(r, CellPropClass, [&cell, &hasGraphic](const String& name, TReader& r) {
                if (name == L"HasGraphic") {
                    hasGraphic = r.ReadBoolean();
                    return true;
                }
                return ReadField(name, r, PropertiesPrefix, CellPropertyFields(), cell.Properties);
            });
            if (hasGraphic) {
                std::vector<std::function<void(TCellGraphic&)>> setters;
                ReadRecord(r, CellGraphicClass, [&setters](const String& name, TReader& r) {
                    return ReadField(name, r, GraphicPrefix, CellGraphicFields(), setters);
                });
                cell.Graphic.reset(New<TCellGraphic>());
                for (const auto& set : setters)
                    set(*cell.Graphic);
                cell.Slot.reset(ReadPayload(r, PayloadOf(cell.Graphic->GetCellType()), cell.Icon));
            }
        }
        image.cells.push_back(std::move(cell));
    }
    return image;
}

} // namespace

// --- writing ----------------------------------------------------------------------------

void TAdvStringGrid::FireFileProgress(int Percent, int& Last)
{
    if (OnFileProgress && Percent != Last) {
        Last = Percent;
        OnFileProgress(this, static_cast<short>(Percent));
    }
}

void TAdvStringGrid::SaveToBinFile(const String& FileName)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    SaveToBinStream(m.get());
    m->SaveToFile(FileName);
}

void TAdvStringGrid::SaveToBinStream(TStream* Stream)
{
    SaveRectToBinStream(TRect(SaveStartCol(), SaveStartRow(), SaveEndCol(), SaveEndRow()), Stream);
}

void TAdvStringGrid::SaveRectToBinStream(const TRect& Rect, TStream* Stream)
{
    // Cell records address cells in 16 bits; a cell past that would land
    // elsewhere when read back.
    if (Rect.right > MaxStreamIndex || Rect.bottom > MaxStreamIndex)
        throw EWriteError(L"Cells beyond column or row " + IntToStr(MaxStreamIndex) +
                          L" do not fit in a cell stream");
    {
        RecordWriter w(Stream, HeaderClass);
        const int cols = Rect.right - Rect.left + 1;
        const int rows = Rect.bottom - Rect.top + 1;
        const bool fullGrid = FSaveFixedCells
                                  ? rows == GetRowCount() && cols == GetColCount()
                                  : rows == GetRowCount() - GetFixedRows() && cols == GetColCount() - GetFixedCols();
        String widths;
        for (int c = Rect.left; c <= Rect.right; ++c)
            widths += (c > Rect.left ? L"," : L"") + IntToStr(GetColWidths(c));
        String heights;
        for (int r = Rect.top; r <= Rect.bottom; ++r)
            heights += (r > Rect.top ? L"," : L"") + IntToStr(GetRowHeights(r));
        w.Integer(L"ColCount", cols);
        w.Integer(L"RowCount", rows);
        w.Text(L"ColWidths", widths);
        w.Text(L"RowHeights", heights);
        w.Boolean(L"FullGrid", fullGrid);
        w.Integer(L"ID", HandleAllocated() ? static_cast<Integer>(reinterpret_cast<LONG_PTR>(GetHandle())) : 0);
        w.End();
    }

    ExportNotification(0, Rect.top);
    int lastProgress = -1;
    for (int r = Rect.top; r <= Rect.bottom; ++r) {
        ExportNotification(5, r);
        for (int c = Rect.left; c <= Rect.right; ++c) {
            TCellProperties* props = HasCellProperties(c, r) ? GetCellProperties(c, r) : nullptr;
            {
                RecordWriter w(Stream, CellClass);
                w.Integer(L"Col", c);
                w.Integer(L"Row", r);
                w.Text(L"Cell", GetCellText(c, r));
                w.Boolean(L"HasProp", props != nullptr);
                w.End();
            }
            if (!props)
                continue;
            TCellGraphic* graphic = GetCellGraphicType(c, r) != ctEmpty ? GetCellGraphic(c, r) : nullptr;
            {
                RecordWriter w(Stream, CellPropClass);
                WriteFields(w, PropertiesPrefix, CellPropertyFields(), *props);
                w.Boolean(L"HasGraphic", graphic != nullptr);
                w.End();
            }
            if (!graphic)
                continue;
            TOwned<TCellGraphic> carrier(New<TCellGraphic>());
            carrier->Assign(graphic);
            carrier->SetCellCheckBoxState(graphic->GetCellCheckBoxState());
            // A comment travels as a graphic of its own kind; the cell's
            // picture or list then stays behind, as the reader would not
            // expect one after a comment.
            const bool comment = !graphic->GetCellComment().empty();
            if (comment) {
                carrier->SetCellType(ctComment);
                carrier->SetCellText(graphic->GetCellComment());
                carrier->SetCellIndex(graphic->GetCommentColor());
            }
            {
                RecordWriter w(Stream, CellGraphicClass);
                WriteFields(w, GraphicPrefix, CellGraphicFields(), *carrier);
                w.End();
            }
            if (!comment)
                WritePayload(Stream, PayloadOf(graphic->GetCellType()), graphic);
        }
        FireFileProgress(static_cast<int>(std::nearbyint(100.0 * (r - Rect.top) / std::max(1L, Rect.bottom - Rect.top))),
                         lastProgress);
    }
    ExportNotification(2, -1);
}

// --- reading ------------------------------------------------------------------------------

void TAdvStringGrid::LoadFromBinFile(const String& FileName)
{
    TOwned<TMemoryStream> m(New<TMemoryStream>());
    m->LoadFromFile(FileName);
    LoadFromBinStream(m.get());
}

void TAdvStringGrid::LoadFromBinStream(TStream* Stream)
{
    LoadAtPointFromBinStream(TPoint(0, 0), Stream);
}

void TAdvStringGrid::LoadAtPointFromBinStream(const TPoint& Point, TStream* Stream)
{
    StreamImage image = ReadStreamImage(Stream);
    const Header& header = image.header;
    const std::vector<int> widths = ReadSizes(header.ColWidths);
    const std::vector<int> heights = ReadSizes(header.RowHeights);

    // A partial stream lands relative to its first cell; a whole grid keeps
    // its cells where they were.
    TPoint origin(0, 0);
    if (!header.FullGrid && !image.cells.empty())
        origin = TPoint(image.cells.front().Col, image.cells.front().Row);
    auto target = [&](const StreamCell& cell) {
        return TPoint(cell.Col + Point.x - origin.x, cell.Row + Point.y - origin.y);
    };

    if (header.FullGrid) {
        // Large enough for every cell of the stream, also when it was saved
        // without its fixed rows and columns.
        int cols = header.ColCount;
        int rows = header.RowCount;
        for (const StreamCell& cell : image.cells) {
            cols = std::max<int>(cols, target(cell).x + 1);
            rows = std::max<int>(rows, target(cell).y + 1);
        }
        Clear();
        SetRowCount(rows);
        SetColCount(cols);
        // The sizes belong to the columns and rows the stream's cells start at.
        const TPoint first = image.cells.empty() ? Point : target(image.cells.front());
        for (std::size_t i = 0; i < widths.size() && first.x + static_cast<int>(i) < GetColCount(); ++i)
            SetColWidths(first.x + static_cast<int>(i), widths[i]);
        for (std::size_t i = 0; i < heights.size() && first.y + static_cast<int>(i) < GetRowCount(); ++i)
            SetRowHeights(first.y + static_cast<int>(i), heights[i]);
    }

    int lastRow = -1;
    int lastProgress = -1;
    for (StreamCell& cell : image.cells) {
        const TPoint at = target(cell);
        // Cells that fall outside the grid are not pasted.
        if (at.x < 0 || at.y < 0 || at.x >= TotalColCount() || at.y >= GetRowCount())
            continue;
        SetCellText(at.x, at.y, cell.Text);
        if (at.y != lastRow) {
            lastRow = at.y;
            FireFileProgress(static_cast<int>(std::nearbyint(100.0 * at.y / std::max(1, GetRowCount()))),
                             lastProgress);
        }
        if (cell.HasProp) {
            TCellProperties* props = GetCellProperties(at.x, at.y);
            // A tag from another grid is no object of this one to free.
            const intptr_t ownTag = props->GetCellObject();
            for (const auto& set : cell.Properties)
                set(*props);
            if (GetOwnsObjects())
                props->SetCellObject(ownTag);
            props->SetOwnerCol(at.x);
            props->SetOwnerRow(at.y);
        }
        if (cell.Graphic) {
            TCellGraphic* graphic = CreateCellGraphic(at.x, at.y);
            graphic->Assign(cell.Graphic.get());
            graphic->SetCellCheckBoxState(cell.Graphic->GetCellCheckBoxState());
            if (graphic->GetCellType() == ctComment) {
                graphic->SetCellType(ctNone);
                graphic->SetCellComment(graphic->GetCellText());
                graphic->SetCommentColor(graphic->GetCellIndex());
                graphic->SetCellText(String());
                graphic->SetCellIndex(0);
            }
            // What the stream brought belongs to the graphic; an index list
            // reports changes of the cell it now serves.
            if (auto* indexes = dynamic_cast<TIntList*>(cell.Slot.get())) {
                TOwned<TIntList> own(New<TIntList>(at.x, at.y));
                own->SetStrValue(indexes->GetStrValue());
                cell.Slot.reset(own.release());
            }
            if (cell.Slot || cell.Icon)
                graphic->SetCellCreated(true);
            graphic->SetCellBitmap(cell.Slot.release());
            graphic->SetCellIcon(cell.Icon.release());
        }
    }
}
