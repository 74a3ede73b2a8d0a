// INI files over the profile functions and in memory.
#include "IniFiles.h"
#include <algorithm>

// ---------------------------------------------------------------------------
// TCustomIniFile

Integer TCustomIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default)
{
    return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default)
{
    String text = ReadString(Section, Ident, String());
    double value = Default;
    return TryStrToFloat(text, value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const String& Section, const String& Ident, double Value)
{
    WriteString(Section, Ident, FloatToStr(Value));
}

namespace {

TDateTime ReadAs(TCustomIniFile& ini, const String& section, const String& ident, TDateTime def,
                 bool (*parse)(const String&, TDateTime&))
{
    TDateTime value = def;
    return parse(ini.ReadString(section, ident, String()), value) ? value : def;
}

} // namespace

TDateTime TCustomIniFile::ReadDate(const String& Section, const String& Ident, TDateTime Default)
{
    return ReadAs(*this, Section, Ident, Default, TryStrToDate);
}

TDateTime TCustomIniFile::ReadDateTime(const String& Section, const String& Ident, TDateTime Default)
{
    return ReadAs(*this, Section, Ident, Default, TryStrToDateTime);
}

TDateTime TCustomIniFile::ReadTime(const String& Section, const String& Ident, TDateTime Default)
{
    return ReadAs(*this, Section, Ident, Default, TryStrToTime);
}

void TCustomIniFile::WriteDate(const String& Section, const String& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteDateTime(const String& Section, const String& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteTime(const String& Section, const String& Ident, TDateTime Value)
{
    WriteString(Section, Ident, TimeToStr(Value));
}

void TCustomIniFile::ReadSectionValues(const String& Section, TStrings* Strings)
{
    TStringList keys;
    ReadSection(Section, &keys);
    Strings->BeginUpdate();
    Strings->Clear();
    for (int i = 0; i < keys.Count(); ++i)
        Strings->Add(keys[i] + L"=" + ReadString(Section, keys[i], String()));
    Strings->EndUpdate();
}

bool TCustomIniFile::SectionExists(const String& Section)
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident)
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.IndexOf(Ident) >= 0;
}

// ---------------------------------------------------------------------------
// TIniFile

namespace {

// Reads a profile string of any length (the functions truncate silently).
String ProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* def,
                     const String& file)
{
    std::vector<wchar_t> buffer(2048);
    for (;;) {
        DWORD n = GetPrivateProfileStringW(section, key, def, buffer.data(),
                                           static_cast<DWORD>(buffer.size()), file.c_str());
        // A full buffer ends in one null for a value, two for a list.
        DWORD slack = section && key ? 1 : 2;
        if (n + slack < buffer.size())
            return String(buffer.data(), n);
        buffer.resize(buffer.size() * 4);
    }
}

void SplitNullList(const String& list, TStrings* into)
{
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(L'\0', start);
        if (end == String::npos)
            end = list.size();
        if (end > start)
            into->Add(list.substr(start, end - start));
        start = end + 1;
    }
}

bool HasNonAscii(const String& s)
{
    for (wchar_t c : s)
        if (c > 0x7F)
            return true;
    return false;
}

// The name in List that equals Name without regard to case, or Name.
String StoredName(const String& name, const String& list)
{
    TStringList names;
    SplitNullList(list, &names);
    for (int i = 0; i < names.Count(); ++i)
        if (AnsiSameText(names[i], name))
            return names[i];
    return name;
}

[[noreturn]] void WriteFailed(const String& file)
{
    throw EIniFileException(L"Unable to write to " + file);
}

} // namespace

TIniFile::~TIniFile()
{
    UpdateFile();
}

// Wine's profile functions ignore the case of ASCII letters only; names in
// other scripts are matched here the way Windows matches them.
String TIniFile::StoredSection(const String& Section) const
{
    if (!HasNonAscii(Section))
        return Section;
    return StoredName(Section, ProfileString(nullptr, nullptr, L"", fileName_));
}

String TIniFile::StoredIdent(const String& Section, const String& Ident) const
{
    if (!HasNonAscii(Ident))
        return Ident;
    return StoredName(Ident, ProfileString(Section.c_str(), nullptr, L"", fileName_));
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default)
{
    String section = StoredSection(Section);
    return ProfileString(section.c_str(), StoredIdent(section, Ident).c_str(), Default.c_str(), fileName_);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
    // Starting a new file with the UTF-16 mark makes the profile functions
    // keep it in UTF-16; otherwise they write the system code page.
    if (GetFileAttributesW(fileName_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const TKernelHandle file(
            CreateFileW(fileName_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            static const Byte mark[] = {0xFF, 0xFE};
            DWORD written = 0;
            WriteFile(file.Get(), mark, sizeof mark, &written, nullptr);
        }
    }
    String section = StoredSection(Section);
    if (!WritePrivateProfileStringW(section.c_str(), StoredIdent(section, Ident).c_str(), Value.c_str(),
                                    fileName_.c_str()))
        WriteFailed(fileName_);
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings)
{
    Strings->BeginUpdate();
    Strings->Clear();
    SplitNullList(ProfileString(StoredSection(Section).c_str(), nullptr, L"", fileName_), Strings);
    Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings)
{
    Strings->BeginUpdate();
    Strings->Clear();
    SplitNullList(ProfileString(nullptr, nullptr, L"", fileName_), Strings);
    Strings->EndUpdate();
}

void TIniFile::EraseSection(const String& Section)
{
    if (!WritePrivateProfileStringW(StoredSection(Section).c_str(), nullptr, nullptr, fileName_.c_str()) &&
        GetFileAttributesW(fileName_.c_str()) != INVALID_FILE_ATTRIBUTES)
        throw EIniFileException(L"Unable to write to " + fileName_);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident)
{
    String section = StoredSection(Section);
    WritePrivateProfileStringW(section.c_str(), StoredIdent(section, Ident).c_str(), nullptr, fileName_.c_str());
}

void TIniFile::UpdateFile()
{
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, fileName_.c_str());
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const String& FileName, TEncoding* Encoding, bool CaseSensitive)
    : TCustomIniFile(FileName), encoding_(TEncoding::Shared(Encoding)), caseSensitive_(CaseSensitive)
{
    LoadValues();
}

TMemIniFile::~TMemIniFile() = default;

bool TMemIniFile::SameName(const String& a, const String& b) const
{
    return caseSensitive_ ? a == b : AnsiSameText(a, b);
}

TMemIniFile::Section* TMemIniFile::FindSection(const String& name)
{
    for (Section& s : sections_)
        if (SameName(s.name, name))
            return &s;
    return nullptr;
}

TMemIniFile::Section& TMemIniFile::AddSection(const String& name)
{
    TStringList* values = New<TStringList>();
    values->SetCaseSensitive(caseSensitive_);
    sections_.push_back(Section{name, TOwned<TStringList>(values)});
    return sections_.back();
}

void TMemIniFile::LoadValues()
{
    Clear();
    if (fileName_.empty() || !FileExists(fileName_))
        return;
    TStringList lines;
    lines.LoadFromFile(fileName_, encoding_);
    if (!encoding_)
        encoding_ = lines.GetEncoding();
    SetStrings(&lines);
}

void TMemIniFile::Clear()
{
    sections_.clear();
}

void TMemIniFile::SetStrings(TStrings* List)
{
    Clear();
    Section* current = nullptr;
    for (int i = 0; i < List->Count(); ++i) {
        String line = Trim(List->Get(i));
        if (line.empty() || line[0] == L';')
            continue;
        if (line[0] == L'[' && line.back() == L']') {
            String name = Trim(line.substr(1, line.size() - 2));
            current = FindSection(name);
            if (!current)
                current = &AddSection(name);
            continue;
        }
        if (!current)
            continue;
        std::size_t eq = line.find(L'=');
        if (eq == String::npos)
            current->values->Add(line);
        else
            current->values->Add(TrimRight(line.substr(0, eq)) + L"=" + TrimLeft(line.substr(eq + 1)));
    }
}

void TMemIniFile::GetStrings(TStrings* List)
{
    List->BeginUpdate();
    List->Clear();
    for (const Section& s : sections_) {
        List->Add(L"[" + s.name + L"]");
        for (int i = 0; i < s.values->Count(); ++i)
            List->Add(s.values->Get(i));
        List->Add(String());
    }
    List->EndUpdate();
}

String TMemIniFile::ReadString(const String& Section, const String& Ident, const String& Default)
{
    struct Section* s = FindSection(Section);
    if (!s)
        return Default;
    int i = s->values->IndexOfName(Ident);
    return i < 0 ? Default : s->values->ValueFromIndex(i);
}

void TMemIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
    struct Section* s = FindSection(Section);
    if (!s)
        s = &AddSection(Section);
    String line = Ident + L"=" + Value;
    int i = s->values->IndexOfName(Ident);
    if (i < 0)
        s->values->Add(line);
    else
        s->values->Put(i, line);
}

void TMemIniFile::ReadSection(const String& Section, TStrings* Strings)
{
    Strings->BeginUpdate();
    Strings->Clear();
    if (struct Section* s = FindSection(Section))
        for (int i = 0; i < s->values->Count(); ++i) {
            String name = s->values->Names(i);
            if (!name.empty())
                Strings->Add(name);
        }
    Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* Strings)
{
    Strings->BeginUpdate();
    Strings->Clear();
    for (const Section& s : sections_)
        Strings->Add(s.name);
    Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const String& Section, TStrings* Strings)
{
    Strings->BeginUpdate();
    Strings->Clear();
    if (struct Section* s = FindSection(Section))
        Strings->AddStrings(s->values.get());
    Strings->EndUpdate();
}

void TMemIniFile::EraseSection(const String& Section)
{
    sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                   [&](const struct Section& s) { return SameName(s.name, Section); }),
                    sections_.end());
}

void TMemIniFile::DeleteKey(const String& Section, const String& Ident)
{
    if (struct Section* s = FindSection(Section)) {
        int i = s->values->IndexOfName(Ident);
        if (i >= 0)
            s->values->Delete(i);
    }
}

void TMemIniFile::UpdateFile()
{
    TStringList lines;
    GetStrings(&lines);
    TEncoding* encoding = encoding_ ? encoding_ : TEncoding::Default();
    if (!encoding->CanEncode(lines.GetText()))
        encoding = TEncoding::UTF8();
    lines.SaveToFile(fileName_, encoding);
}

void TMemIniFile::Rename(const String& FileName, bool Reload)
{
    fileName_ = FileName;
    if (Reload)
        LoadValues();
}

void TMemIniFile::SetCaseSensitive(bool Value)
{
    if (Value == caseSensitive_)
        return;
    caseSensitive_ = Value;
    for (Section& s : sections_)
        s.values->SetCaseSensitive(Value);
}
