// Reading a skin into the manager's tables: the option text as sections of
// keys, the readers with section inheritance, and the load that fills fresh
// tables and puts them in place only when every pass has succeeded.
#pragma once

#include "Classes.h"
#include <unordered_map>
#include <vector>

class TsSkinManager;
class TacSkinConvertor;
class TacEmbeddedFonts;

// The option text of a skin ("Options.dat"): sections in file order, each
// with its keys in file order. Section and key names compare with case; a
// key written twice in a section keeps its first value.
class TacSkinIni {
public:
    TacSkinIni() = default;
    explicit TacSkinIni(const String& Text) { SetText(Text); }
    void SetText(const String& Text);

    struct TKey {
        String Name;
        String Value;
    };
    struct TSection {
        String Name;
        std::vector<TKey> Keys;
        std::unordered_map<String, std::size_t> Index;
    };

    int SectionCount() const { return static_cast<int>(FSections.size()); }
    const TSection& Section(int Index) const { return FSections[Index]; }
    int FindSection(const String& Name) const;
    bool SectionExists(const String& Name) const { return FindSection(Name) >= 0; }
    // The key's text; false when the section or key is absent.
    bool Find(int SectionIndex, const String& Key, String& Value) const;
    bool Find(const String& SectionName, const String& Key, String& Value) const;
    String ReadString(const String& SectionName, const String& Key, const String& Default) const;
    // The key as an integer (StrToInt); Default when absent or not a number.
    Integer ReadInteger(const String& SectionName, const String& Key, Integer Default) const;

private:
    std::vector<TSection> FSections;
    std::unordered_map<String, std::size_t> FIndex;
};

// Where a skin comes from: its option text, and for a packed or internal
// skin the package whose entries stand in for the files.
struct TacSkinSource {
    const TacSkinIni* Ini = nullptr;
    TacSkinConvertor* Package = nullptr;
    // Folder of the files of a folder skin, with a trailing backslash.
    String Path;
};

// The text of a skin file of the folder or package; an 8-bit file is read
// in the system code page, a file with a byte-order mark in its encoding.
String SkinTextOfBytes(const std::vector<Byte>& Bytes);

// Messages of the loader.
extern const wchar_t* const SkinNewerVersionText;
String SkinOldVersionText(const String& SkinName);

// Removes every font of the collection from the process.
void UnloadFonts(TacEmbeddedFonts* Fonts);
