#include "acntUtils.h"
#include "ProcBinding.h"
#include "UniqueHandle.h"
#include "acEngineServices.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include "Registry.h"
#include "TypInfo.h"
#include <shellapi.h>
#include <utility>

bool NoTitleGlow = false;

namespace {

TModuleHandle kernelModule;
TModuleHandle shellModule;

template <class Text>
int FindNthWord(int N, const Text& S, const TSysCharSet& Delimiters)
{
    int count = 0;
    bool inWord = false;
    for (size_t i = 0; i < S.size(); ++i) {
        bool delimiter = Delimiters.Contains(static_cast<std::make_unsigned_t<typename Text::value_type>>(S[i]));
        if (!delimiter && !inWord && ++count == N)
            return static_cast<int>(i) + 1;
        inWord = !delimiter;
    }
    return 0;
}

template <class Text>
Text GetNthWord(int N, const Text& S, const TSysCharSet& Delimiters)
{
    int start = FindNthWord(N, S, Delimiters);
    if (start == 0)
        return {};
    size_t end = static_cast<size_t>(start) - 1;
    while (end < S.size() &&
           !Delimiters.Contains(static_cast<std::make_unsigned_t<typename Text::value_type>>(S[end])))
        ++end;
    return S.substr(static_cast<size_t>(start) - 1, end - (static_cast<size_t>(start) - 1));
}

template <class Text>
int CountWords(const Text& S, const TSysCharSet& Delimiters)
{
    int count = 0;
    bool inWord = false;
    for (auto ch : S) {
        bool delimiter = Delimiters.Contains(static_cast<std::make_unsigned_t<typename Text::value_type>>(ch));
        if (!delimiter && !inWord)
            ++count;
        inWord = !delimiter;
    }
    return count;
}

bool ReadNonClientMetrics(NONCLIENTMETRICSW& metrics)
{
    metrics = {};
    // Before Windows 6 the structure ends before iPaddedBorderWidth.
    metrics.cbSize = PlatformProbe().IsVistaOrLater() ? 504 : 500;
    return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
}

} // namespace

TKernelBindings& KernelBindings()
{
    static TKernelBindings bindings;
    return bindings;
}

// ---------------------------------------------------------------------------
TRect BitmapRect(const TGraphic* Graphic)
{
    return {0, 0, Graphic->GetWidth(), Graphic->GetHeight()};
}

TPoint BitmapSize(const TGraphic* Graphic)
{
    return {Graphic->GetWidth(), Graphic->GetHeight()};
}

TRect ControlRect(const TControl* Control)
{
    return {0, 0, Control->GetWidth(), Control->GetHeight()};
}

TPoint ControlPos(const TControl* Control)
{
    return {Control->GetLeft(), Control->GetTop()};
}

TRect IntersectRects(const TRect& A, const TRect& B)
{
    return {LargerOf(A.left, B.left), LargerOf(A.top, B.top), SmallerOf(A.right, B.right),
            SmallerOf(A.bottom, B.bottom)};
}

bool RectsOverlap(const TRect& Bounds, const TRect& R)
{
    if (R.IsEmpty())
        return false;
    return !(R.bottom <= Bounds.top || R.right <= Bounds.left || R.left >= Bounds.right ||
             R.top >= Bounds.bottom);
}

bool RectInRect(const TRect& Outer, const TRect& Inner, bool Whole)
{
    if (Whole) {
        TRect grown{Outer.left, Outer.top, Outer.right + 1, Outer.bottom + 1};
        return grown.Contains(Inner.TopLeft()) && grown.Contains(Inner.BottomRight());
    }
    return Inner.left < Outer.right + 1 && Outer.left < Inner.right && Inner.top < Outer.bottom + 1 &&
           Outer.top < Inner.bottom;
}

// ---------------------------------------------------------------------------
bool ValueBetween(int Value, int Low, int High, bool AllowReversed)
{
    if (AllowReversed && High <= Low)
        return High <= Value && Value <= Low;
    return Low <= Value && Value <= High;
}

Int64 HexToInt64(const AnsiString& Text)
{
    if (Text.empty())
        return 0;
    AnsiString s = Text;
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (s.back() == 'H')
        s.pop_back();
    // The digits are read from a short string: only its first length mod 256 count.
    size_t count = s.size() % 256;
    std::uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        char c = s[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return 0;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<Int64>(value);
}

void InitBlendFunction(BLENDFUNCTION& Blend, Byte Alpha)
{
    Blend.BlendOp = AC_SRC_OVER;
    Blend.BlendFlags = 0;
    Blend.SourceConstantAlpha = Alpha;
    Blend.AlphaFormat = AC_SRC_ALPHA;
}

// ---------------------------------------------------------------------------
int FindNthWordW(int N, const String& S, const TSysCharSet& Delimiters)
{
    return FindNthWord(N, S, Delimiters);
}
int FindNthWordA(int N, const AnsiString& S, const TSysCharSet& Delimiters)
{
    return FindNthWord(N, S, Delimiters);
}
String GetNthWordW(int N, const String& S, const TSysCharSet& Delimiters)
{
    return GetNthWord(N, S, Delimiters);
}
AnsiString GetNthWordA(int N, const AnsiString& S, const TSysCharSet& Delimiters)
{
    return GetNthWord(N, S, Delimiters);
}
int CountWordsW(const String& S, const TSysCharSet& Delimiters)
{
    return CountWords(S, Delimiters);
}
int CountWordsA(const AnsiString& S, const TSysCharSet& Delimiters)
{
    return CountWords(S, Delimiters);
}

String RemoveChar(const String& S, wchar_t Ch)
{
    String result;
    result.reserve(S.size());
    for (wchar_t c : S)
        if (c != Ch)
            result += c;
    return result;
}

String ReplaceAllStr(const String& S, const String& OldText, const String& NewText)
{
    if (OldText.empty())
        return S;
    String result;
    size_t from = 0;
    for (size_t at = S.find(OldText); at != String::npos; at = S.find(OldText, from)) {
        result.append(S, from, at - from);
        result += NewText;
        from = at + OldText.size();
    }
    result.append(S, from, String::npos);
    return result;
}

// ---------------------------------------------------------------------------
void ParseIniSections(TStrings* Lines, TStrings* Sections)
{
    Sections->Clear();
    TStrings* current = nullptr;
    for (int i = 0; i < Lines->Count(); ++i) {
        String line = Lines->Get(i);
        if (line.empty() || line[0] == L';')
            continue;
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            TOwned<TStringList> list(New<TStringList>());
            Sections->AddObject(line.substr(1, line.size() - 2), list.get());
            current = list.release();
        } else if (current) {
            current->Add(line);
        }
    }
}

String ReadIniSectionStr(TStrings* Sections, const String& SectionName, const String& KeyName,
                         const String& Default)
{
    int section = Sections->IndexOf(SectionName);
    if (section < 0)
        return Default;
    auto* lines = dynamic_cast<TStrings*>(Sections->GetObject(section));
    if (!lines)
        return Default;
    int line = lines->IndexOfName(KeyName);
    if (line < 0)
        return Default;
    String text = lines->Get(line);
    return text.size() > KeyName.size() + 1 ? text.substr(KeyName.size() + 1) : String();
}

int ReadIniSectionInt(TStrings* Sections, const String& SectionName, const String& KeyName,
                      int Default)
{
    String value = ReadIniSectionStr(Sections, SectionName, KeyName, String());
    if (value.size() > 2 && value[0] == L'0' && (value[1] == L'x' || value[1] == L'X'))
        value.replace(0, 2, 1, L'$');
    return StrToIntDef(value, Default);
}

int ReadRegistryInt(HKEY RootKey, const String& Key, const String& ValueName)
{
    TOwned<TRegistry> registry(New<TRegistry>(KEY_READ));
    registry->SetRootKey(RootKey);
    try {
        if (registry->KeyExists(Key) && registry->OpenKeyReadOnly(Key) && registry->ValueExists(ValueName))
            return registry->ReadInteger(ValueName);
    } catch (const ERegistryException&) {
        // A value of another type reads as missing.
    }
    return 0;
}

// ---------------------------------------------------------------------------
namespace {

const TPropInfo* OrdinalProp(TObject* Instance, const String& PropName)
{
    const TPropInfo* info = GetPropInfo(Instance, PropName);
    return info && info->Kind != tkClass ? info : nullptr;
}

const TPropInfo* SetTypeProp(TObject* Instance, const String& PropName)
{
    const TPropInfo* info = GetPropInfo(Instance, PropName);
    return info && info->Kind == tkSet ? info : nullptr;
}

} // namespace

bool HasProperty(TObject* Instance, const String& PropName)
{
    return IsPublishedProp(Instance, PropName);
}

TObject* GetObjectPropByName(TObject* Instance, const String& PropName)
{
    const TPropInfo* info = GetPropInfo(Instance, PropName);
    return info && info->Kind == tkClass ? GetObjectProp(Instance, info) : nullptr;
}

int GetOrdPropByName(TObject* Instance, const String& PropName)
{
    const TPropInfo* info = OrdinalProp(Instance, PropName);
    return info ? static_cast<int>(GetOrdProp(Instance, info)) : -1;
}

void SetOrdPropByName(TObject* Instance, const String& PropName, int Value)
{
    const TPropInfo* info = OrdinalProp(Instance, PropName);
    if (!info || !info->SetOrd)
        return;
    // A set's Integer carries its members in bits 0..31, the sign bit included.
    Int64 value = info->Kind == tkSet ? static_cast<Int64>(static_cast<std::uint32_t>(Value)) : Value;
    bool fits = info->Kind == tkSet ? (value & ~info->MaxValue) == 0
                                    : info->MinValue <= value && value <= info->MaxValue;
    if (fits)
        SetOrdProp(Instance, info, value);
}

bool SetPropHasElement(TObject* Instance, const String& PropName, const String& ElementName)
{
    const TPropInfo* info = SetTypeProp(Instance, PropName);
    if (!info)
        return false;
    int member = GetEnumValue(info, ElementName);
    return member >= 0 && member < 32 && (GetOrdProp(Instance, info) >> member & 1) != 0;
}

void ChangeSetPropElement(TObject* Instance, const String& PropName, const String& ElementName,
                          bool Include)
{
    // Members are matched by whole name: matching within the set's text would
    // take "akTop" for "akTo" and leave a broken value behind on removal.
    const TPropInfo* info = SetTypeProp(Instance, PropName);
    if (!info || !info->SetOrd)
        return;
    int member = GetEnumValue(info, ElementName);
    if (member < 0)
        return;
    Int64 value = GetOrdProp(Instance, info);
    Int64 changed = Include ? value | Int64(1) << member : value & ~(Int64(1) << member);
    if (changed != value)
        SetOrdProp(Instance, info, changed);
}

// ---------------------------------------------------------------------------
String AddPathDelimiter(const String& Path)
{
    if (Path.empty() || Path.back() == L'\\')
        return Path;
    if (Path.back() == L'/')
        return Path.substr(0, Path.size() - 1) + L'\\';
    if (Path.size() == 1)
        return Path + L":\\";
    return Path + L'\\';
}

bool FolderExists(const String& Path)
{
    DWORD attributes = GetFileAttributesW(Path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_NOT_READY:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_NAME:
            return false;
        default:
            // Access denied and the like: something is there.
            return true;
        }
    }
    bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return directory;
    // A link counts only when its target can be opened.
    const TKernelHandle target(CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return target && directory;
}

int FirstFileMatch(const String& Path, int Attr, TSearchRec& F)
{
    return FindFirst(Path, Attr, F);
}

int NextFileMatch(TSearchRec& F)
{
    return FindNext(F);
}

void CloseFileSearch(TSearchRec& F)
{
    FindClose(F);
}

String GetAppFolder()
{
    return ExtractFilePath(ParamStr(0));
}

TIcon* LoadFileIcon(const String& FileName, UINT Flags)
{
    auto getFileInfo = KernelBindings().SHGetFileInfoW;
    if (!getFileInfo || !FileExists(FileName))
        return nullptr;
    SHFILEINFOW info{};
    // The structure's own size: a fixed 32-bit size would be short on 64-bit.
    if (!getFileInfo(FileName.c_str(), 0, &info, sizeof(info), Flags | SHGFI_ICON) || !info.hIcon)
        return nullptr;
    TIcon* icon = New<TIcon>();
    icon->SetHandle(info.hIcon);
    return icon;
}

void LoadShellFileInfo()
{
    TKernelBindings& bindings = KernelBindings();
    if (bindings.SHGetFileInfoW)
        return;
    if (!shellModule)
        shellModule.Reset(LoadLibraryW(L"shell32.dll"));
    if (shellModule)
        BindProc(bindings.SHGetFileInfoW, shellModule.Get(), "SHGetFileInfoW");
}

bool IsWinXPOrLater()
{
    const TPlatformProbe& probe = PlatformProbe();
    return probe.WindowsMajor > 5 || (probe.WindowsMajor == 5 && probe.WindowsMinor > 0);
}

bool IsWow64()
{
    BOOL wow64 = FALSE;
    auto isWow64Process = KernelBindings().IsWow64Process;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool IsDebuggerAttached()
{
    auto isDebuggerPresent = KernelBindings().IsDebuggerPresent;
    return !isDebuggerPresent || isDebuggerPresent();
}

bool IsMinAnimationOn()
{
    ANIMATIONINFO info{};
    info.cbSize = sizeof(info);
    return SystemParametersInfoW(SPI_GETANIMATION, sizeof(info), &info, 0) && info.iMinAnimate != 0;
}

void SetMinAnimation(bool Enable)
{
    ANIMATIONINFO info{};
    info.cbSize = sizeof(info);
    info.iMinAnimate = Enable ? -1 : 0;
    SystemParametersInfoW(SPI_SETANIMATION, sizeof(info), &info, 0);
}

int GetCaptionFontHeight()
{
    NONCLIENTMETRICSW metrics;
    return ReadNonClientMetrics(metrics) ? metrics.lfCaptionFont.lfHeight : 0;
}

HFONT CreateCaptionFont()
{
    NONCLIENTMETRICSW metrics;
    return ReadNonClientMetrics(metrics) ? CreateFontIndirectW(&metrics.lfCaptionFont) : nullptr;
}

void DelayWithMessages(DWORD Milliseconds)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < Milliseconds)
        if (Application)
            Application->ProcessMessages();
}

void WaitUntilTick(DWORD StartTick, DWORD Interval)
{
    // Unsigned subtraction keeps the comparison right across the tick wrap.
    while (GetTickCount() - StartTick < Interval) {
    }
}

// ---------------------------------------------------------------------------
void acntUtils_Initialize()
{
    TKernelBindings& bindings = KernelBindings();
    if (!kernelModule)
        kernelModule.Reset(LoadLibraryW(L"kernel32.dll"));
    if (kernelModule) {
        if (!bindings.IsDebuggerPresent)
            BindProc(bindings.IsDebuggerPresent, kernelModule.Get(), "IsDebuggerPresent");
        BindProc(bindings.IsWow64Process, kernelModule.Get(), "IsWow64Process");
    }
    NoTitleGlow = IsWow64() && !IsAeroEnabled();
    LoadShellFileInfo();
}

void acntUtils_Finalize()
{
    KernelBindings() = {};
    kernelModule.Reset();
    shellModule.Reset();
}
