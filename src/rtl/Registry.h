// The registry: keys and typed values (TRegistry) and the INI interface over
// a registry key (TRegistryIniFile).
#pragma once

#include "IniFiles.h"

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
    int NumSubKeys = 0;
    int MaxSubKeyLen = 0;
    int NumValues = 0;
    int MaxValueLen = 0;
    int MaxDataLen = 0;
    FILETIME FileTime{};
};

// Key paths starting with "\" count from the root key, others from the open key.
class TRegistry : public TObject {
public:
    explicit TRegistry(REGSAM AAccess = KEY_ALL_ACCESS) : access_(AAccess) {}
    ~TRegistry() override;

    HKEY GetRootKey() const { return rootKey_; }
    void SetRootKey(HKEY Value);
    REGSAM GetAccess() const { return access_; }
    void SetAccess(REGSAM Value) { access_ = Value; }
    HKEY GetCurrentKey() const { return currentKey_.Get(); }
    const String& GetCurrentPath() const { return currentPath_; }
    bool LazyWrite = true;

    bool OpenKey(const String& Key, bool CanCreate);
    bool OpenKeyReadOnly(const String& Key);
    void CloseKey();
    bool CreateKey(const String& Key);
    // Deletes the key with everything below it.
    bool DeleteKey(const String& Key);
    bool KeyExists(const String& Key);
    bool HasSubKeys();
    void GetKeyNames(TStrings* Strings);
    void GetValueNames(TStrings* Strings);
    bool GetKeyInfo(TRegKeyInfo& Value);

    bool ValueExists(const String& Name);
    bool DeleteValue(const String& Name);
    TRegDataType GetDataType(const String& ValueName);
    // The size of the value's data in bytes, -1 when it does not exist.
    int GetDataSize(const String& ValueName);

    // Reading a missing value, or one of another type, raises ERegistryException.
    String ReadString(const String& Name);
    void WriteString(const String& Name, const String& Value);
    void WriteExpandString(const String& Name, const String& Value);
    Integer ReadInteger(const String& Name);
    void WriteInteger(const String& Name, Integer Value);
    bool ReadBool(const String& Name);
    void WriteBool(const String& Name, bool Value);
    double ReadFloat(const String& Name);
    void WriteFloat(const String& Name, double Value);
    int ReadBinaryData(const String& Name, void* Buffer, int BufSize);
    void WriteBinaryData(const String& Name, const void* Buffer, int BufSize);

private:
    HKEY BaseFor(const String& key, String& relative) const;
    bool Open(const String& key, bool canCreate, REGSAM access);
    void PutData(const String& name, const void* data, DWORD size, DWORD type);
    DWORD GetData(const String& name, void* buffer, DWORD size, DWORD& type);

    HKEY rootKey_ = HKEY_CURRENT_USER;
    TRegKeyHandle currentKey_;
    String currentPath_;
    REGSAM access_ = KEY_ALL_ACCESS;
};

// Sections are sub-keys of the key named like a file (under
// HKEY_CURRENT_USER unless another root is set); idents are values.
// Integers are stored as DWORDs; a string value that reads as a number
// serves ReadInteger too.
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const String& FileName, REGSAM AAccess = KEY_ALL_ACCESS);
    ~TRegistryIniFile() override;
    TRegistry* RegIniFile() const { return reg_.get(); }

    String ReadString(const String& Section, const String& Ident, const String& Default) override;
    void WriteString(const String& Section, const String& Ident, const String& Value) override;
    Integer ReadInteger(const String& Section, const String& Ident, Integer Default) override;
    void WriteInteger(const String& Section, const String& Ident, Integer Value) override;
    void ReadSection(const String& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void EraseSection(const String& Section) override;
    void DeleteKey(const String& Section, const String& Ident) override;
    void UpdateFile() override {}

private:
    // Opens the section's key below the file key; false when it is missing.
    bool OpenSection(TRegistry& reg, const String& Section, bool create);
    TOwned<TRegistry> reg_;
};
