#include "sConst.h"
#include "PlatformProbe.h"
#include "UniqueHandle.h"

int ArrowWidth = 7;
int ArrowHeight = 4;
int ArrowGlyphSize = 5;
int ArrowLineWidth = 2;
bool KeepStdPngClass = true;
Byte DisabledBlend = 100;
int DisabledSaturation = -90;

int WinVersionLevel = 0;

int SysScrollArrowWidth = 16;
int SysFrameWidth = 0;
int SysDlgFrameWidth = 0;
int SysCaptionHeight = -1;
int SysSmallCaptionHeight = 0;

String StrOK, StrCancel, StrHelp, StrClose;
String StrAddToCustomColors;
String StrDefineColors, StrAdditionalColors, StrDecimal, StrRoot, StrCreate;
String StrRestore, StrSize, StrMove, StrMaximize, StrMinimize;
String StrCalculator;
String StrFileOpen, StrSelectDirectory, StrRed, StrGreen, StrBlue;
String StrColor, StrHex;
String StrFont, StrFontColor;
String StrInvalidDate, StrAvailableStyles, StrInternal;
String StrDirWithSkins, StrSelectSkin, StrSkinPreview, StrFrameAdapterNotOnFrame;

namespace {

struct TLibraryString {
    int Ident;
    const wchar_t* Text;
};

constexpr TLibraryString LibraryStrings[] = {
    {58992, L"OK"},
    {58991, L"Cancel"},
    {58990, L"&Help"},
    {58976, L"Close"},
    {58960, L"Add to custom colors set"},
    {58959, L"Define colors"},
    {58957, L"Additional colors :"},
    {58952, L"Decimal - "},
    {58910, L"Create"},
    {58981, L"Restore"},
    {58979, L"Size"},
    {58980, L"Move"},
    {58977, L"Maximize"},
    {58978, L"Minimize"},
    {58970, L"File open"},
    {58911, L"Select directory"},
    {58955, L"Red :"},
    {58954, L"Green :"},
    {58953, L"Blue :"},
    {58956, L"Color"},
    {58951, L"Hex - "},
    {58934, L"Font"},
    {58923, L"Invalid date"},
    {58964, L"Available styles"},
    {58963, L"(internal)"},
    {58950, L"TsFrameAdapter adapter must be placed on the handled frame"},
};

// One caption of a Windows module: a library-string fallback when
// FallbackIdent is set, else the fallback text.
struct TModuleCaption {
    String* Target;
    int Id;
    const wchar_t* Suffix;
    int FallbackIdent;
    const wchar_t* FallbackText;
};

struct TCaptionModule {
    const wchar_t* Name;
    std::vector<TModuleCaption> Captions;
};

const std::vector<TCaptionModule>& CaptionModules()
{
    static const std::vector<TCaptionModule> modules = {
        {L"user32.dll",
         {{&StrOK, 800, L"", 58992, nullptr},
          {&StrCancel, 801, L"", 58991, nullptr},
          {&StrHelp, 808, L"", 58990, nullptr},
          {&StrClose, 905, L"", 58976, nullptr}}},
        {L"colorui.dll", {{&StrAddToCustomColors, 1810, L"", 58960, nullptr}}},
        {L"shell32.dll",
         {{&StrDefineColors, 4151, L"", 58959, nullptr},
          {&StrAdditionalColors, 31153, L":", 58957, nullptr},
          {&StrDecimal, 16514, L" - ", 58952, nullptr},
          {&StrRoot, 33015, L":", 0, L"Root:"},
          {&StrCreate, 4151, L"", 58910, nullptr}}},
        {L"comctl32.dll",
         {{&StrRestore, 33056, L"", 58981, nullptr},
          {&StrSize, 32768, L"", 58979, nullptr},
          {&StrMove, 32784, L"", 58980, nullptr},
          {&StrMaximize, 32816, L"", 58977, nullptr},
          {&StrMinimize, 32800, L"", 58978, nullptr}}},
        {L"comdlg32.dll",
         {{&StrFileOpen, 436, L"", 58970, nullptr},
          {&StrSelectDirectory, 439, L"", 58911, nullptr},
          {&StrRed, 1049, L":", 58955, nullptr},
          {&StrGreen, 1042, L":", 58954, nullptr},
          {&StrBlue, 1052, L":", 58953, nullptr}}},
        {L"compstui.dll", {{&StrColor, 64744, L"", 58956, nullptr}}},
        {L"inetres.dll",
         {{&StrFont, 1175, L"", 58934, nullptr},
          {&StrFontColor, 5273, L":", 0, L"Font color:"}}},
    };
    return modules;
}

String ModuleString(HMODULE Module, int Id)
{
    // A length of 0 makes LoadStringW hand out a pointer into the resource itself.
    const wchar_t* text = nullptr;
    int length = LoadStringW(Module, static_cast<UINT>(Id), reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? String(text, static_cast<size_t>(length)) : String();
}

} // namespace

String LibraryString(int Ident)
{
    for (const auto& entry : LibraryStrings)
        if (entry.Ident == Ident)
            return entry.Text;
    return {};
}

int WinVersionLevelOf(DWORD Major, DWORD Minor)
{
    if (Major > 6 || (Major == 6 && Minor == 2))
        return 8;
    return static_cast<int>(Major);
}

void CacheSystemMetrics()
{
    if (SysCaptionHeight >= 0)
        return;
    SysScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
    SysFrameWidth = GetSystemMetrics(SM_CXFRAME);
    SysDlgFrameWidth = GetSystemMetrics(SM_CXDLGFRAME);
    SysCaptionHeight = GetSystemMetrics(SM_CYCAPTION);
    SysSmallCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
}

void LoadSystemString(String& S, HMODULE Module, int Id, int DefaultIdent, const String& Suffix)
{
    // A module the system lacks gets the fallback too: an empty caption on a
    // dialog is worse than an English one.
    S = Module ? ModuleString(Module, Id) : String();
    if (!S.empty())
        S += Suffix;
    else if (DefaultIdent != 0)
        S = LibraryString(DefaultIdent);
}

void LoadSystemStringDef(String& S, HMODULE Module, int Id, const String& DefaultText,
                         const String& Suffix)
{
    S = Module ? ModuleString(Module, Id) : String();
    if (!S.empty())
        S += Suffix;
    else
        S = DefaultText;
}

void LoadLocalizedCaptions(const TModuleLoader& Loader)
{
    for (const TCaptionModule& module : CaptionModules()) {
        const TModuleHandle loaded(Loader(module.Name));
        const HMODULE handle = loaded.Get();
        for (const TModuleCaption& caption : module.Captions) {
            if (caption.FallbackText)
                LoadSystemStringDef(*caption.Target, handle, caption.Id, caption.FallbackText,
                                    caption.Suffix);
            else
                LoadSystemString(*caption.Target, handle, caption.Id, caption.FallbackIdent,
                                 caption.Suffix);
        }
        // Two captions that no module carries sit between their neighbours' modules.
        if (String(module.Name) == L"comctl32.dll")
            StrCalculator = L"Calculator";
        else if (String(module.Name) == L"compstui.dll")
            StrHex = LibraryString(58951);
    }

    StrInvalidDate = LibraryString(58923);
    if (StrInvalidDate.empty())
        StrInvalidDate = L"Invalid date";
    StrAvailableStyles = LibraryString(58964);
    StrInternal = LibraryString(58963);
    StrDirWithSkins = L"Directory with skins:";
    StrSelectSkin = L"Select skin";
    StrSkinPreview = L"Skin preview";
    StrFrameAdapterNotOnFrame = LibraryString(58950);
}

void sConst_Initialize()
{
    const TPlatformProbe& probe = PlatformProbe();
    WinVersionLevel = WinVersionLevelOf(probe.WindowsMajor, probe.WindowsMinor);
    CacheSystemMetrics();
    LoadLocalizedCaptions([](const wchar_t* name) { return LoadLibraryW(name); });
}

void sConst_Finalize()
{
    for (const TCaptionModule& module : CaptionModules())
        for (const TModuleCaption& caption : module.Captions)
            caption.Target->clear();
    for (String* s : {&StrCalculator, &StrHex, &StrInvalidDate, &StrAvailableStyles, &StrInternal,
                      &StrDirWithSkins, &StrSelectSkin, &StrSkinPreview, &StrFrameAdapterNotOnFrame})
        s->clear();
}
