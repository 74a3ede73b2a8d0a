// INI files through the profile functions, in memory and over the registry:
// one table of behaviour that all three share, then what each adds.
#include <gtest/gtest.h>
#include "IniFiles.h"
#include "Registry.h"
#include "TestSupport.h"
#include <fstream>
#include <functional>
#include <iterator>

using testing_support::TempDir;

namespace {

const String TestRegistryKey = L"Software\\Tavelin\\Tests";

struct IniKind {
    const char* name;
    // Where a fresh, not yet existing store is: a file or a registry key.
    std::function<String(TempDir&)> location;
    std::function<TCustomIniFile*(const String&)> open;
    std::function<bool(const String&)> exists;
};

std::vector<IniKind> Kinds()
{
    static int serial = 0;
    return {
        {"TIniFile", [](TempDir& t) { return t.File(L"settings.ini"); },
         [](const String& f) -> TCustomIniFile* { return New<TIniFile>(f); },
         [](const String& f) { return FileExists(f); }},
        {"TMemIniFile", [](TempDir& t) { return t.File(L"settings.ini"); },
         [](const String& f) -> TCustomIniFile* { return New<TMemIniFile>(f); },
         [](const String& f) { return FileExists(f); }},
        {"TRegistryIniFile",
         [](TempDir&) {
             return TestRegistryKey + L"\\Ini" + IntToStr(GetCurrentProcessId()) + L"_" + IntToStr(++serial);
         },
         [](const String& k) -> TCustomIniFile* { return New<TRegistryIniFile>(k); },
         [](const String& k) {
             TRegistry reg(KEY_READ);
             return reg.KeyExists(L"\\" + k);
         }},
    };
}

// Writes through one object and frees it, so reading sees the stored state.
void Store(const IniKind& kind, const String& where, const std::function<void(TCustomIniFile&)>& write)
{
    TOwned<TCustomIniFile> ini(kind.open(where));
    write(*ini);
    ini->UpdateFile();
}

std::vector<String> Lines(TStrings& list)
{
    std::vector<String> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list[i]);
    return out;
}

class RegistryCleanup {
public:
    ~RegistryCleanup()
    {
        TRegistry reg;
        reg.DeleteKey(L"\\" + TestRegistryKey);
    }
};

std::string FileBytes(const String& name)
{
    std::ifstream in(name.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(IniFiles, MissingStoreSectionOrKeyGivesTheDefault)
{
    RegistryCleanup cleanup;
    for (const IniKind& kind : Kinds()) {
        TempDir temp;
        const String where = kind.location(temp);
        {
            TOwned<TCustomIniFile> ini(kind.open(where));
            EXPECT_EQ(ini->ReadString(L"Main", L"Title", L"none"), L"none") << kind.name;
            EXPECT_EQ(ini->ReadInteger(L"Main", L"Width", 640), 640) << kind.name;
            EXPECT_TRUE(ini->ReadBool(L"Main", L"Flag", true)) << kind.name;
            EXPECT_FALSE(ini->SectionExists(L"Main")) << kind.name;
            TStringList sections;
            ini->ReadSections(&sections);
            EXPECT_EQ(sections.Count(), 0) << kind.name;
        }
        EXPECT_FALSE(kind.exists(where)) << kind.name << ": reading must not create the store";

        Store(kind, where, [](TCustomIniFile& ini) { ini.WriteString(L"Main", L"Title", L"x"); });
        EXPECT_TRUE(kind.exists(where)) << kind.name << ": writing creates the store";
        TOwned<TCustomIniFile> ini(kind.open(where));
        EXPECT_EQ(ini->ReadString(L"Other", L"Title", L"d"), L"d") << kind.name;
        EXPECT_EQ(ini->ReadString(L"Main", L"Missing", L"d"), L"d") << kind.name;
        EXPECT_EQ(ini->ReadInteger(L"Main", L"Title", 7), 7) << kind.name << ": not a number";
    }
}

TEST(IniFiles, NamesIgnoreCaseAndCyrillicSurvives)
{
    RegistryCleanup cleanup;
    for (const IniKind& kind : Kinds()) {
        TempDir temp;
        const String where = kind.location(temp);
        Store(kind, where, [](TCustomIniFile& ini) {
            ini.WriteString(L"Window", L"Caption", L"Главное окно");
            ini.WriteString(L"Окно", L"Заголовок", L"Привет, мир");
            ini.WriteInteger(L"Window", L"Width", -800);
            ini.WriteBool(L"Window", L"Maximized", true);
            ini.WriteFloat(L"Window", L"Ratio", 1.5);
            ini.WriteString(L"Window", L"Empty", L"");
            ini.WriteString(L"WINDOW", L"caption", L"Главное окно 2");
        });
        TOwned<TCustomIniFile> ini(kind.open(where));
        EXPECT_EQ(ini->ReadString(L"window", L"CAPTION", L""), L"Главное окно 2") << kind.name;
        EXPECT_EQ(ini->ReadString(L"ОКНО", L"заголовок", L""), L"Привет, мир") << kind.name;
        EXPECT_EQ(ini->ReadInteger(L"Window", L"Width", 0), -800) << kind.name;
        EXPECT_TRUE(ini->ReadBool(L"Window", L"Maximized", false)) << kind.name;
        EXPECT_DOUBLE_EQ(ini->ReadFloat(L"Window", L"Ratio", 0), 1.5) << kind.name;
        EXPECT_EQ(ini->ReadString(L"Window", L"Empty", L"d"), L"") << kind.name;
        EXPECT_TRUE(ini->ValueExists(L"window", L"empty")) << kind.name;

        TStringList keys;
        ini->ReadSection(L"Window", &keys);
        EXPECT_EQ(keys.Count(), 5) << kind.name;
        EXPECT_GE(keys.IndexOf(L"Maximized"), 0) << kind.name;
        TStringList sections;
        ini->ReadSections(&sections);
        EXPECT_EQ(sections.Count(), 2) << kind.name;
        EXPECT_GE(sections.IndexOf(L"окно"), 0) << kind.name;
        TStringList values;
        ini->ReadSectionValues(L"Окно", &values);
        EXPECT_EQ(Lines(values), (std::vector<String>{L"Заголовок=Привет, мир"})) << kind.name;
    }
}

TEST(IniFiles, KeysAndSectionsAreDeleted)
{
    RegistryCleanup cleanup;
    for (const IniKind& kind : Kinds()) {
        TempDir temp;
        const String where = kind.location(temp);
        Store(kind, where, [](TCustomIniFile& ini) {
            ini.WriteString(L"A", L"One", L"1");
            ini.WriteString(L"A", L"Two", L"2");
            ini.WriteString(L"B", L"Three", L"3");
            ini.DeleteKey(L"a", L"one");
            ini.EraseSection(L"b");
            ini.EraseSection(L"never there");
        });
        TOwned<TCustomIniFile> ini(kind.open(where));
        EXPECT_FALSE(ini->ValueExists(L"A", L"One")) << kind.name;
        EXPECT_EQ(ini->ReadString(L"A", L"Two", L""), L"2") << kind.name;
        EXPECT_FALSE(ini->SectionExists(L"B")) << kind.name;
    }
}

TEST(IniFiles, IntegersReadHexadecimal)
{
    TempDir temp;
    std::ofstream(temp.File(L"hex.ini").c_str()) << "[N]\nHex=$1F\nC=0x10\nBad=12x\n";
    for (bool inMemory : {false, true}) {
        TOwned<TCustomIniFile> ini(inMemory ? static_cast<TCustomIniFile*>(New<TMemIniFile>(temp.File(L"hex.ini")))
                                            : New<TIniFile>(temp.File(L"hex.ini")));
        EXPECT_EQ(ini->ReadInteger(L"N", L"Hex", 0), 31);
        EXPECT_EQ(ini->ReadInteger(L"N", L"C", 0), 16);
        EXPECT_EQ(ini->ReadInteger(L"N", L"Bad", -1), -1);
    }
}

TEST(IniFiles, ProfileFileIsCreatedAsUnicodeAndReadsPlainFiles)
{
    TempDir temp;
    const String file = temp.File(L"new.ini");
    {
        TOwned<TIniFile> ini(New<TIniFile>(file));
        ini->WriteString(L"S", L"K", L"Ж");
    }
    EXPECT_EQ(FileBytes(file).substr(0, 2), "\xFF\xFE");

    const String plain = temp.File(L"plain.ini");
    std::ofstream(plain.c_str()) << "; comment\n[ Main ]\n  Key =  value with spaces  \nLong=" << std::string(5000, 'x')
                                 << "\n";
    TOwned<TIniFile> ini(New<TIniFile>(plain));
    EXPECT_EQ(ini->ReadString(L"main", L"key", L""), L"value with spaces");
    EXPECT_EQ(ini->ReadString(L"Main", L"Long", L"").size(), 5000u) << "long values are not cut";
}

TEST(MemIniFile, LoadsCommentsSpacesAndEncodings)
{
    TempDir temp;
    const String file = temp.File(L"skin.ini");
    std::ofstream(file.c_str(), std::ios::binary)
        << "\xEF\xBB\xBF; skin options\r\n\r\n[General]\r\n  Name = Тема \r\nVersion=2\r\n[Colors]\r\nBack=$FF00\r\n";
    TOwned<TMemIniFile> ini(New<TMemIniFile>(file));
    EXPECT_EQ(ini->GetEncoding(), TEncoding::UTF8());
    EXPECT_EQ(ini->ReadString(L"GENERAL", L"name", L""), L"Тема");
    EXPECT_EQ(ini->ReadInteger(L"Colors", L"Back", 0), 0xFF00);

    ini->WriteString(L"General", L"Name", L"Новая");
    ini->UpdateFile();
    TOwned<TMemIniFile> again(New<TMemIniFile>(file));
    EXPECT_EQ(again->ReadString(L"General", L"Name", L""), L"Новая");
    EXPECT_EQ(again->ReadInteger(L"General", L"Version", 0), 2);
    EXPECT_EQ(FileBytes(file).substr(0, 3), "\xEF\xBB\xBF") << "the file keeps its encoding";

    // A new file gets UTF-8 when the system code page cannot hold the text.
    const String fresh = temp.File(L"fresh.ini");
    TOwned<TMemIniFile> created(New<TMemIniFile>(fresh));
    created->WriteString(L"S", L"K", L"日本語");
    created->UpdateFile();
    TOwned<TMemIniFile> reread(New<TMemIniFile>(fresh));
    EXPECT_EQ(reread->ReadString(L"S", L"K", L""), L"日本語");
}

TEST(MemIniFile, CaseSensitiveNamesWhenAsked)
{
    TempDir temp;
    TOwned<TMemIniFile> ini(New<TMemIniFile>(temp.File(L"case.ini"), nullptr, true));
    ini->WriteString(L"S", L"Key", L"upper");
    ini->WriteString(L"S", L"key", L"lower");
    ini->WriteString(L"s", L"Key", L"other section");
    EXPECT_EQ(ini->ReadString(L"S", L"Key", L""), L"upper");
    EXPECT_EQ(ini->ReadString(L"S", L"key", L""), L"lower");
    EXPECT_EQ(ini->ReadString(L"S", L"KEY", L"none"), L"none");
    EXPECT_EQ(ini->ReadString(L"s", L"Key", L""), L"other section");
    ini->SetCaseSensitive(false);
    EXPECT_EQ(ini->ReadString(L"S", L"KEY", L"none"), L"upper");

    TStringList lines;
    ini->GetStrings(&lines);
    EXPECT_EQ(lines[0], L"[S]");
    EXPECT_EQ(lines[1], L"Key=upper");
}

TEST(Registry, TypedValuesKeysAndErrors)
{
    RegistryCleanup cleanup;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(L"\\" + TestRegistryKey + L"\\Reg", true));
    EXPECT_EQ(reg.GetCurrentPath(), TestRegistryKey + L"\\Reg");
    reg.WriteString(L"Name", L"Значение");
    reg.WriteInteger(L"Count", -3);
    reg.WriteBool(L"On", true);
    reg.WriteFloat(L"Ratio", 0.25);
    const Byte blob[] = {1, 2, 3};
    reg.WriteBinaryData(L"Blob", blob, 3);
    EXPECT_TRUE(reg.CreateKey(L"Child\\Grandchild"));

    EXPECT_EQ(reg.ReadString(L"Name"), L"Значение");
    EXPECT_EQ(reg.ReadInteger(L"Count"), -3);
    EXPECT_TRUE(reg.ReadBool(L"On"));
    EXPECT_DOUBLE_EQ(reg.ReadFloat(L"Ratio"), 0.25);
    Byte back[8] = {};
    EXPECT_EQ(reg.ReadBinaryData(L"Blob", back, 8), 3);
    EXPECT_EQ(back[2], 3);
    EXPECT_EQ(reg.GetDataType(L"Count"), rdInteger);
    EXPECT_EQ(reg.GetDataSize(L"Missing"), -1);
    EXPECT_EQ(reg.ReadString(L"Missing"), L"");
    EXPECT_THROW(reg.ReadInteger(L"Missing"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger(L"Name"), ERegistryException);
    try {
        reg.ReadString(L"Count");
        ADD_FAILURE();
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), L"Invalid data type for 'Count'");
    }

    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), 5);
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), (std::vector<String>{L"Child"}));
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_TRUE(reg.KeyExists(L"Child\\Grandchild"));
    EXPECT_TRUE(reg.DeleteValue(L"Name"));
    EXPECT_FALSE(reg.ValueExists(L"Name"));
    EXPECT_TRUE(reg.DeleteKey(L"Child")) << "with everything below it";
    EXPECT_FALSE(reg.KeyExists(L"Child"));

    reg.CloseKey();
    EXPECT_FALSE(reg.OpenKey(L"\\" + TestRegistryKey + L"\\Absent", false));
    EXPECT_TRUE(reg.OpenKeyReadOnly(L"\\" + TestRegistryKey + L"\\Reg"));
    EXPECT_THROW(reg.WriteInteger(L"X", 1), ERegistryException) << "opened for reading";
}

TEST(RegistryIniFile, StoresIntegersAsNumbersAndReadsNumericStrings)
{
    RegistryCleanup cleanup;
    const String key = TestRegistryKey + L"\\Typed";
    TOwned<TRegistryIniFile> ini(New<TRegistryIniFile>(key));
    ini->WriteInteger(L"Grid", L"Width", 120);
    ini->WriteString(L"Grid", L"Height", L"45");
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKeyReadOnly(L"\\" + key + L"\\Grid"));
    EXPECT_EQ(reg.GetDataType(L"Width"), rdInteger);
    EXPECT_EQ(ini->ReadString(L"Grid", L"Width", L""), L"120");
    EXPECT_EQ(ini->ReadInteger(L"Grid", L"Height", 0), 45);
}
