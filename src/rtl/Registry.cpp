// The registry and the INI interface over it.
#include "Registry.h"
#include <shlwapi.h>

namespace {

[[noreturn]] void RegError(const wchar_t* what, const String& name)
{
    throw ERegistryException(String(what) + L" '" + name + L"'");
}

} // namespace

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value == rootKey_)
        return;
    CloseKey();
    rootKey_ = Value;
}

void TRegistry::CloseKey()
{
    if (currentKey_) {
        if (!LazyWrite)
            RegFlushKey(currentKey_.Get());
        currentKey_.Reset();
    }
    currentPath_.clear();
}

HKEY TRegistry::BaseFor(const String& key, String& relative) const
{
    if (!key.empty() && key[0] == L'\\') {
        relative = key.substr(1);
        return rootKey_;
    }
    relative = key;
    return currentKey_ ? currentKey_.Get() : rootKey_;
}

bool TRegistry::Open(const String& key, bool canCreate, REGSAM access)
{
    String relative;
    HKEY base = BaseFor(key, relative);
    String path = key.empty() || key[0] == L'\\' || currentPath_.empty()
                      ? relative
                      : currentPath_ + L"\\" + relative;
    while (!relative.empty() && relative.back() == L'\\')
        relative.pop_back();
    TRegKeyHandle opened;
    LONG r;
    if (canCreate)
        r = RegCreateKeyExW(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                            nullptr, opened.Put(), nullptr);
    else
        r = RegOpenKeyExW(base, relative.c_str(), 0, access, opened.Put());
    if (r != ERROR_SUCCESS)
        return false;
    CloseKey();
    currentKey_ = std::move(opened);
    currentPath_ = path;
    return true;
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate)
{
    return Open(Key, CanCreate, access_);
}

bool TRegistry::OpenKeyReadOnly(const String& Key)
{
    return Open(Key, false, KEY_READ);
}

bool TRegistry::CreateKey(const String& Key)
{
    String relative;
    HKEY base = BaseFor(Key, relative);
    TRegKeyHandle created;
    if (RegCreateKeyExW(base, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, created.Put(), nullptr) != ERROR_SUCCESS)
        throw ERegistryException(L"Failed to create key " + Key);
    return true;
}

bool TRegistry::DeleteKey(const String& Key)
{
    String relative;
    HKEY base = BaseFor(Key, relative);
    return !relative.empty() && SHDeleteKeyW(base, relative.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const String& Key)
{
    String relative;
    HKEY base = BaseFor(Key, relative);
    TRegKeyHandle key;
    return RegOpenKeyExW(base, relative.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& Value)
{
    Value = TRegKeyInfo();
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValue = 0, maxData = 0;
    HKEY key = currentKey_ ? currentKey_.Get() : rootKey_;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                         &maxValue, &maxData, nullptr, &Value.FileTime) != ERROR_SUCCESS)
        return false;
    Value.NumSubKeys = static_cast<int>(subKeys);
    Value.MaxSubKeyLen = static_cast<int>(maxSubKey);
    Value.NumValues = static_cast<int>(values);
    Value.MaxValueLen = static_cast<int>(maxValue);
    Value.MaxDataLen = static_cast<int>(maxData);
    return true;
}

bool TRegistry::HasSubKeys()
{
    TRegKeyInfo info;
    return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* Strings)
{
    Strings->BeginUpdate();
    Strings->Clear();
    HKEY key = currentKey_ ? currentKey_.Get() : rootKey_;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        Strings->Add(String(name, len));
    }
    Strings->EndUpdate();
}

void TRegistry::GetValueNames(TStrings* Strings)
{
    Strings->BeginUpdate();
    Strings->Clear();
    HKEY key = currentKey_ ? currentKey_.Get() : rootKey_;
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumValueW(key, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        Strings->Add(String(name.data(), len));
    }
    Strings->EndUpdate();
}

bool TRegistry::ValueExists(const String& Name)
{
    return GetDataSize(Name) >= 0;
}

bool TRegistry::DeleteValue(const String& Name)
{
    return RegDeleteValueW(currentKey_ ? currentKey_.Get() : rootKey_, Name.c_str()) == ERROR_SUCCESS;
}

int TRegistry::GetDataSize(const String& ValueName)
{
    DWORD size = 0;
    if (RegQueryValueExW(currentKey_ ? currentKey_.Get() : rootKey_, ValueName.c_str(), nullptr, nullptr,
                         nullptr, &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<int>(size);
}

TRegDataType TRegistry::GetDataType(const String& ValueName)
{
    DWORD type = 0;
    if (RegQueryValueExW(currentKey_ ? currentKey_.Get() : rootKey_, ValueName.c_str(), nullptr, &type,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return rdUnknown;
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

void TRegistry::PutData(const String& name, const void* data, DWORD size, DWORD type)
{
    if (RegSetValueExW(currentKey_ ? currentKey_.Get() : rootKey_, name.c_str(), 0, type,
                       static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        RegError(L"Failed to set data for", name);
}

DWORD TRegistry::GetData(const String& name, void* buffer, DWORD size, DWORD& type)
{
    if (RegQueryValueExW(currentKey_ ? currentKey_.Get() : rootKey_, name.c_str(), nullptr, &type,
                         static_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        RegError(L"Failed to get data for", name);
    return size;
}

String TRegistry::ReadString(const String& Name)
{
    int size = GetDataSize(Name);
    if (size < 0)
        return String();
    std::vector<wchar_t> buffer(static_cast<std::size_t>(size) / sizeof(wchar_t) + 1);
    DWORD type = 0;
    DWORD got = GetData(Name, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), type);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        RegError(L"Invalid data type for", Name);
    String s(buffer.data(), got / sizeof(wchar_t));
    // The stored terminating null is not part of the text.
    while (!s.empty() && s.back() == L'\0')
        s.pop_back();
    return s;
}

void TRegistry::WriteString(const String& Name, const String& Value)
{
    PutData(Name, Value.c_str(), static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void TRegistry::WriteExpandString(const String& Name, const String& Value)
{
    PutData(Name, Value.c_str(), static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t)), REG_EXPAND_SZ);
}

Integer TRegistry::ReadInteger(const String& Name)
{
    DWORD value = 0, type = 0;
    GetData(Name, &value, sizeof value, type);
    if (type != REG_DWORD)
        RegError(L"Invalid data type for", Name);
    return static_cast<Integer>(value);
}

void TRegistry::WriteInteger(const String& Name, Integer Value)
{
    DWORD v = static_cast<DWORD>(Value);
    PutData(Name, &v, sizeof v, REG_DWORD);
}

bool TRegistry::ReadBool(const String& Name)
{
    return ReadInteger(Name) != 0;
}

void TRegistry::WriteBool(const String& Name, bool Value)
{
    WriteInteger(Name, Value ? 1 : 0);
}

double TRegistry::ReadFloat(const String& Name)
{
    double value = 0;
    DWORD type = 0;
    if (GetDataSize(Name) != static_cast<int>(sizeof value))
        RegError(L"Invalid data type for", Name);
    GetData(Name, &value, sizeof value, type);
    if (type != REG_BINARY)
        RegError(L"Invalid data type for", Name);
    return value;
}

void TRegistry::WriteFloat(const String& Name, double Value)
{
    PutData(Name, &Value, sizeof Value, REG_BINARY);
}

int TRegistry::ReadBinaryData(const String& Name, void* Buffer, int BufSize)
{
    int size = GetDataSize(Name);
    if (size < 0)
        RegError(L"Failed to get data for", Name);
    if (size > BufSize)
        RegError(L"Failed to get data for", Name);
    DWORD type = 0;
    return static_cast<int>(GetData(Name, Buffer, static_cast<DWORD>(BufSize), type));
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, int BufSize)
{
    PutData(Name, Buffer, static_cast<DWORD>(BufSize), REG_BINARY);
}

// ---------------------------------------------------------------------------
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const String& FileName, REGSAM AAccess)
    : TCustomIniFile(FileName), reg_(New<TRegistry>(AAccess))
{
}

TRegistryIniFile::~TRegistryIniFile() = default;

bool TRegistryIniFile::OpenSection(TRegistry& reg, const String& Section, bool create)
{
    reg.SetRootKey(reg_->GetRootKey());
    String path = L"\\" + fileName_;
    if (!Section.empty())
        path += L"\\" + Section;
    return reg.OpenKey(path, create);
}

String TRegistryIniFile::ReadString(const String& Section, const String& Ident, const String& Default)
{
    TRegistry reg(KEY_READ);
    if (!OpenSection(reg, Section, false) || !reg.ValueExists(Ident))
        return Default;
    switch (reg.GetDataType(Ident)) {
    case rdString:
    case rdExpandString:
        return reg.ReadString(Ident);
    case rdInteger:
        return IntToStr(reg.ReadInteger(Ident));
    default:
        return Default;
    }
}

void TRegistryIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
    TRegistry reg(reg_->GetAccess());
    if (!OpenSection(reg, Section, true))
        throw EIniFileException(L"Unable to write to " + fileName_);
    reg.WriteString(Ident, Value);
}

Integer TRegistryIniFile::ReadInteger(const String& Section, const String& Ident, Integer Default)
{
    TRegistry reg(KEY_READ);
    if (!OpenSection(reg, Section, false) || !reg.ValueExists(Ident))
        return Default;
    if (reg.GetDataType(Ident) == rdInteger)
        return reg.ReadInteger(Ident);
    return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TRegistryIniFile::WriteInteger(const String& Section, const String& Ident, Integer Value)
{
    TRegistry reg(reg_->GetAccess());
    if (!OpenSection(reg, Section, true))
        throw EIniFileException(L"Unable to write to " + fileName_);
    reg.WriteInteger(Ident, Value);
}

void TRegistryIniFile::ReadSection(const String& Section, TStrings* Strings)
{
    TRegistry reg(KEY_READ);
    if (OpenSection(reg, Section, false))
        reg.GetValueNames(Strings);
    else
        Strings->Clear();
}

void TRegistryIniFile::ReadSections(TStrings* Strings)
{
    TRegistry reg(KEY_READ);
    if (OpenSection(reg, String(), false))
        reg.GetKeyNames(Strings);
    else
        Strings->Clear();
}

void TRegistryIniFile::EraseSection(const String& Section)
{
    TRegistry reg(reg_->GetAccess());
    reg.SetRootKey(reg_->GetRootKey());
    reg.DeleteKey(L"\\" + fileName_ + L"\\" + Section);
}

void TRegistryIniFile::DeleteKey(const String& Section, const String& Ident)
{
    TRegistry reg(reg_->GetAccess());
    if (OpenSection(reg, Section, false))
        reg.DeleteValue(Ident);
}
