// INI files: over the platform's profile functions (TIniFile) and in memory
// (TMemIniFile). Section and key names are compared without regard to case.
#pragma once

#include "Classes.h"

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const String& FileName) : fileName_(FileName) {}
    const String& GetFileName() const { return fileName_; }

    virtual String ReadString(const String& Section, const String& Ident, const String& Default) = 0;
    virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
    // Key names of a section.
    virtual void ReadSection(const String& Section, TStrings* Strings) = 0;
    virtual void ReadSections(TStrings* Strings) = 0;
    // "Name=Value" lines of a section.
    virtual void ReadSectionValues(const String& Section, TStrings* Strings);
    virtual void EraseSection(const String& Section) = 0;
    virtual void DeleteKey(const String& Section, const String& Ident) = 0;
    virtual void UpdateFile() = 0;

    // Integers may be written in hexadecimal ("$1F", "0x1F"); a value that
    // does not read as the type gives Default.
    virtual Integer ReadInteger(const String& Section, const String& Ident, Integer Default);
    virtual void WriteInteger(const String& Section, const String& Ident, Integer Value);
    virtual bool ReadBool(const String& Section, const String& Ident, bool Default);
    virtual void WriteBool(const String& Section, const String& Ident, bool Value);
    virtual double ReadFloat(const String& Section, const String& Ident, double Default);
    virtual void WriteFloat(const String& Section, const String& Ident, double Value);
    // Dates and times as text in the format settings of the moment.
    virtual TDateTime ReadDate(const String& Section, const String& Ident, TDateTime Default);
    virtual TDateTime ReadDateTime(const String& Section, const String& Ident, TDateTime Default);
    virtual TDateTime ReadTime(const String& Section, const String& Ident, TDateTime Default);
    virtual void WriteDate(const String& Section, const String& Ident, TDateTime Value);
    virtual void WriteDateTime(const String& Section, const String& Ident, TDateTime Value);
    virtual void WriteTime(const String& Section, const String& Ident, TDateTime Value);

    virtual bool SectionExists(const String& Section);
    virtual bool ValueExists(const String& Section, const String& Ident);

protected:
    String fileName_;
};

// Reads and writes straight through the profile functions. Writing creates
// the file and the section; a new file is created as UTF-16 so that text of
// any script survives, and an existing one keeps its own encoding.
class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;
    ~TIniFile() override;

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void ReadSection(const String& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;
    // Flushes what the system buffers for the file.
    void UpdateFile() override;

private:
    String StoredSection(const String& Section) const;
    String StoredIdent(const String& Section, const String& Ident) const;
};

// Holds the whole file in memory; UpdateFile writes it back. Names are
// compared without regard to case unless CaseSensitive.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const String& FileName, TEncoding* Encoding = nullptr,
                         bool CaseSensitive = false);
    ~TMemIniFile() override;

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    void ReadSection(const String& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const String& Section, TStrings* Strings) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;
    // Writes the file in the encoding given or found on loading; text the
    // system code page cannot hold is written as UTF-8 instead.
    void UpdateFile() override;

    void Clear();
    // The file as lines, and replacing the content from lines.
    void GetStrings(TStrings* List);
    void SetStrings(TStrings* List);
    // Points at another file, optionally loading it.
    void Rename(const String& FileName, bool Reload);
    bool GetCaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value);
    TEncoding* GetEncoding() const { return encoding_; }
    void SetEncoding(TEncoding* Value) { encoding_ = TEncoding::Shared(Value); }

private:
    struct Section {
        String name;
        TOwned<TStringList> values;
    };
    void LoadValues();
    Section* FindSection(const String& name);
    Section& AddSection(const String& name);
    bool SameName(const String& a, const String& b) const;

    std::vector<Section> sections_;
    TEncoding* encoding_ = nullptr;
    bool caseSensitive_ = false;
};
