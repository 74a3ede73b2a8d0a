// Exceptions and the SysUtils-style helpers of the class library stand-in.
#pragma once

#include "System.h"
#include <exception>
#include <string>
#include <vector>

// The base of every error the class library and the program raise.
class Exception : public std::exception {
public:
    explicit Exception(String message) : message_(std::move(message)) { UpdateNarrow(); }
    virtual ~Exception() = default;

    const String& Message() const { return message_; }
    void SetMessage(const String& message)
    {
        message_ = message;
        UpdateNarrow();
    }
    const char* what() const noexcept override { return narrow_.c_str(); }
    // The class's own name, as error boxes show it.
    String ClassName() const;

private:
    void UpdateNarrow();
    String message_;
    std::string narrow_;
};

#define TAVELIN_EXCEPTION(Name, Base)          \
    class Name : public Base {                 \
    public:                                    \
        using Base::Base;                      \
    };

TAVELIN_EXCEPTION(EAbort, Exception)
TAVELIN_EXCEPTION(EConvertError, Exception)
TAVELIN_EXCEPTION(EInvalidCast, Exception)
TAVELIN_EXCEPTION(EInvalidOperation, Exception)
TAVELIN_EXCEPTION(EInvalidPointer, Exception)
TAVELIN_EXCEPTION(EListError, Exception)
TAVELIN_EXCEPTION(EStringListError, Exception)
TAVELIN_EXCEPTION(EStreamError, Exception)
TAVELIN_EXCEPTION(EReadError, EStreamError)
TAVELIN_EXCEPTION(EWriteError, EStreamError)
TAVELIN_EXCEPTION(EFOpenError, EStreamError)
TAVELIN_EXCEPTION(EFCreateError, EStreamError)
TAVELIN_EXCEPTION(EComponentError, Exception)
TAVELIN_EXCEPTION(EOutOfResources, Exception)
TAVELIN_EXCEPTION(EInvalidGraphic, Exception)
TAVELIN_EXCEPTION(EInvalidGraphicOperation, Exception)
TAVELIN_EXCEPTION(EOSError, Exception)
TAVELIN_EXCEPTION(EIntError, Exception)
TAVELIN_EXCEPTION(ERangeError, EIntError)
TAVELIN_EXCEPTION(EDivByZero, EIntError)
TAVELIN_EXCEPTION(EMathError, Exception)
TAVELIN_EXCEPTION(EZeroDivide, EMathError)
TAVELIN_EXCEPTION(EOverflow, EMathError)
TAVELIN_EXCEPTION(EVariantError, Exception)
TAVELIN_EXCEPTION(EOleError, Exception)
// A failed COM call: its HRESULT and the system's text for it.
class EOleSysError : public EOleError {
public:
    explicit EOleSysError(const String& Message, HRESULT AErrorCode = E_FAIL)
        : EOleError(Message), ErrorCode(AErrorCode)
    {
    }
    HRESULT ErrorCode = E_FAIL;
};
// An error an automation server reported, with its own message and source.
class EOleException : public EOleSysError {
public:
    explicit EOleException(const String& Message, HRESULT AErrorCode = E_FAIL,
                           const String& ASource = String(), const String& AHelpFile = String(),
                           int AHelpContext = 0)
        : EOleSysError(Message, AErrorCode), Source(ASource), HelpFile(AHelpFile),
          HelpContext(AHelpContext)
    {
    }
    String Source;
    String HelpFile;
    int HelpContext = 0;
};
TAVELIN_EXCEPTION(EAssertionFailed, Exception)
TAVELIN_EXCEPTION(EThread, Exception)
TAVELIN_EXCEPTION(EIniFileException, Exception)
TAVELIN_EXCEPTION(ERegistryException, Exception)
TAVELIN_EXCEPTION(EResNotFound, Exception)
TAVELIN_EXCEPTION(EEncodingError, Exception)

// ---------------------------------------------------------------------------
// Format settings: separators, date and time formats and names. The global
// FormatSettings starts with the United States defaults and takes the user's
// locale in SysUtils_Initialize; code and tests may change it at any time.
struct TFormatSettings {
    wchar_t DecimalSeparator = L'.';
    wchar_t ThousandSeparator = L',';
    wchar_t DateSeparator = L'/';
    wchar_t TimeSeparator = L':';
    wchar_t ListSeparator = L',';
    String CurrencyString = L"$";
    Byte CurrencyFormat = 0;      // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    Byte NegCurrFormat = 0;       // the locale's negative currency pattern, 0..15
    Byte CurrencyDecimals = 2;
    String ShortDateFormat = L"M/d/yyyy";
    String LongDateFormat = L"dddd, MMMM d, yyyy";
    String ShortTimeFormat = L"h:mm AMPM";
    String LongTimeFormat = L"h:mm:ss AMPM";
    String TimeAMString = L"AM";
    String TimePMString = L"PM";
    String ShortMonthNames[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                  L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    String LongMonthNames[12] = {L"January", L"February", L"March",     L"April",
                                 L"May",     L"June",     L"July",      L"August",
                                 L"September", L"October", L"November", L"December"};
    String ShortDayNames[7] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    String LongDayNames[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                              L"Thursday", L"Friday", L"Saturday"};
    // Two-digit years fall within this many years before or after the current one.
    Word TwoDigitYearCenturyWindow = 50;

    // The settings of a locale (the user's by default).
    static TFormatSettings Create(LCID Locale = LOCALE_USER_DEFAULT);
    // Culture-independent settings: ".", ",", "MM/dd/yyyy", "hh:nn:ss".
    static TFormatSettings Invariant();
};

extern TFormatSettings FormatSettings;

// Loads the user's locale into FormatSettings.
void SysUtils_Initialize();
void SysUtils_Finalize();

// ---------------------------------------------------------------------------
// Strings. Positions are 1-based where the class library counts so.
int Pos(const String& SubStr, const String& S);
int PosEx(const String& SubStr, const String& S, int Offset = 1);
String Copy(const String& S, int Index, int Count);
void Delete(String& S, int Index, int Count);
void Insert(const String& Source, String& S, int Index);
int LastDelimiter(const String& Delimiters, const String& S);
String StringOfChar(wchar_t Ch, int Count);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = Set<TReplaceFlag, 2>;
String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags);

// Trim removes spaces and control characters (everything up to U+0020).
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);

// UpperCase/LowerCase change the ASCII letters only; the Ansi forms follow
// the user's locale (Cyrillic included).
String UpperCase(const String& S);
String LowerCase(const String& S);
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);

// Locale-aware comparison (the user's locale), as the class library's Ansi* functions.
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);
bool AnsiSameStr(const String& a, const String& b);
// Ordinal comparison; CompareText ignores the case of ASCII letters only.
int CompareStr(const String& a, const String& b);
int CompareText(const String& a, const String& b);
bool SameText(const String& a, const String& b);

String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, wchar_t Quote);
// Removes the quotes (and undoubles inner ones) when S starts with Quote.
String AnsiDequotedStr(const String& S, wchar_t Quote);

// UTF-16 to and from 8-bit text in a code page (CP_ACP by default).
AnsiString WideToAnsi(const String& S, UINT CodePage = CP_ACP);
String AnsiToWide(const AnsiString& S, UINT CodePage = CP_ACP);
AnsiString UTF8Encode(const String& S);
String UTF8ToString(const AnsiString& S);

// ---------------------------------------------------------------------------
// Numbers and text. Integer texts may carry a sign and a "$" or "0x" prefix
// for hexadecimal; failures raise EConvertError.
String IntToStr(Int64 value);
String IntToHex(Int64 Value, int Digits);
Integer StrToInt(const String& S);
Int64 StrToInt64(const String& S);
Integer StrToIntDef(const String& S, Integer Default);
Int64 StrToInt64Def(const String& S, Int64 Default);
bool TryStrToInt(const String& S, Integer& Value);
bool TryStrToInt64(const String& S, Int64& Value);
String BoolToStr(bool B, bool UseBoolStrs = false);

// Pascal's Val: Code is 0 on success, else the 1-based position of the first
// character that could not be read. Always "." as decimal point.
void Val(const String& S, double& Value, int& Code);
void Val(const String& S, Integer& Value, int& Code);

// Float text with the settings' decimal separator (no thousand separators).
double StrToFloat(const String& S);
double StrToFloat(const String& S, const TFormatSettings& Settings);
double StrToFloatDef(const String& S, double Default);
bool TryStrToFloat(const String& S, double& Value);
bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& Settings);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
// The shortest text of 15 significant digits, as the class library writes floats.
String FloatToStr(double Value);
String FloatToStr(double Value, const TFormatSettings& Settings);
String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                   const TFormatSettings& Settings);

// Format's arguments, as the class library's array of const.
struct TVarRec {
    enum Kind { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer, vtBoolean };
    Kind VType = vtInteger;
    Int64 VInt = 0;
    double VExtended = 0;
    String VString;
    const void* VPointer = nullptr;

    TVarRec(int v) : VType(vtInteger), VInt(v) {}
    TVarRec(unsigned v) : VType(vtInt64), VInt(v) {}
    TVarRec(long v) : VType(vtInt64), VInt(v) {}
    TVarRec(unsigned long v) : VType(vtInt64), VInt(static_cast<Int64>(v)) {}
    TVarRec(long long v) : VType(vtInt64), VInt(v) {}
    TVarRec(unsigned long long v) : VType(vtInt64), VInt(static_cast<Int64>(v)) {}
    TVarRec(short v) : VType(vtInteger), VInt(v) {}
    TVarRec(unsigned short v) : VType(vtInteger), VInt(v) {}
    TVarRec(unsigned char v) : VType(vtInteger), VInt(v) {}
    TVarRec(bool v) : VType(vtBoolean), VInt(v) {}
    TVarRec(double v) : VType(vtExtended), VExtended(v) {}
    TVarRec(float v) : VType(vtExtended), VExtended(v) {}
    TVarRec(long double v) : VType(vtExtended), VExtended(static_cast<double>(v)) {}
    TVarRec(wchar_t v) : VType(vtChar), VString(1, v) {}
    TVarRec(const wchar_t* v) : VType(vtString), VString(v ? v : L"") {}
    TVarRec(const String& v) : VType(vtString), VString(v) {}
    TVarRec(const void* v) : VType(vtPointer), VPointer(v) {}
};

// The class library's Format: %[index:][-][width][.precision]type with the
// types d u x e f g n m p s; "*" takes width or precision from the
// arguments. A bad specifier or argument raises EConvertError.
String Format(const String& Fmt, std::initializer_list<TVarRec> Args);
String Format(const String& Fmt, std::initializer_list<TVarRec> Args,
              const TFormatSettings& Settings);
template <class... A>
String Format(const String& Fmt, const A&... args)
{
    return Format(Fmt, std::initializer_list<TVarRec>{TVarRec(args)...});
}

// Float patterns of "0", "#", ".", ",", "E+", "E-", quoted literals and up to
// three sections (positive; negative; zero).
String FormatFloat(const String& Format, double Value);
String FormatFloat(const String& Format, double Value, const TFormatSettings& Settings);

// Banker's rounding (halves go to the even neighbour) and truncation.
Int64 Round(double Value);
Int64 Trunc(double Value);
double Frac(double Value);
double Int(double Value);

// ---------------------------------------------------------------------------
// Files, folders and the command line.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faNormal = 0x80;
constexpr int faAnyFile = 0x1FF;

struct TSearchRec {
    int Time = 0;                  // DOS date and time of the last write
    Int64 Size = 0;
    int Attr = 0;
    String Name;
    int ExcludeAttr = 0;
    HANDLE FindHandle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW FindData{};
};
// 0 when an entry was found, else the system error code. Entries with hidden,
// system, volume or folder attributes are returned only when Attr asks for them.
int FindFirst(const String& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

String ExtractFilePath(const String& FileName);   // with the trailing delimiter
String ExtractFileDir(const String& FileName);    // without it
String ExtractFileName(const String& FileName);
String ExtractFileExt(const String& FileName);    // with the dot
String ChangeFileExt(const String& FileName, const String& Extension);
String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);
String ExpandFileName(const String& FileName);
bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
bool CreateDir(const String& Dir);
bool ForceDirectories(const String& Dir);
bool RemoveDir(const String& Dir);
String GetCurrentDir();

// ParamStr(0) is the program's full file name.
int ParamCount();
String ParamStr(int Index);
// The folder the program (or test executable) lies in, with the trailing delimiter.
String ExeFolder();

String SysErrorMessage(DWORD ErrorCode);
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD LastError);
// Raises the silent EAbort.
[[noreturn]] void Abort();

// ---------------------------------------------------------------------------
// Text encodings. The standard ones are shared and never freed; GetEncoding
// returns a new one that the caller frees (unless IsStandardEncoding).
using TBytes = std::vector<Byte>;

class TEncoding : public TObject {
public:
    virtual TBytes GetBytes(const String& S) const = 0;
    virtual String GetString(const Byte* Bytes, std::size_t Count) const = 0;
    String GetString(const TBytes& Bytes) const { return GetString(Bytes.data(), Bytes.size()); }
    // The byte-order mark written before the text (may be empty).
    virtual TBytes GetPreamble() const = 0;
    virtual UINT GetCodePage() const = 0;
    // True when every character of S survives a trip through this encoding.
    virtual bool CanEncode(const String& S) const;

    // The system's 8-bit code page.
    static TEncoding* Default();
    static TEncoding* ANSI() { return Default(); }
    // UTF-8 with its byte-order mark.
    static TEncoding* UTF8();
    // UTF-16 little endian and big endian, with their marks.
    static TEncoding* Unicode();
    static TEncoding* BigEndianUnicode();
    // 7-bit ASCII (code page 20127, or 437 where that is not installed):
    // every other character becomes "?".
    static TEncoding* ASCII();
    // The OEM code page of the system.
    static TEncoding* OEM();
    static TEncoding* GetEncoding(UINT CodePage);
    static bool IsStandardEncoding(const TEncoding* Encoding);
    // A process-wide encoding equal to Encoding (itself when standard), for
    // objects that remember an encoding beyond the caller's copy.
    static TEncoding* Shared(const TEncoding* Encoding);
    // Detects a byte-order mark. When Encoding is null it becomes the
    // encoding of the mark (Default without one); returns the mark's length
    // when the buffer starts with Encoding's preamble, else 0.
    static int GetBufferEncoding(const TBytes& Buffer, TEncoding*& Encoding);
};

// An 8-bit or multi-byte code page of the system.
class TMBCSEncoding : public TEncoding {
public:
    explicit TMBCSEncoding(UINT CodePage) : codePage_(CodePage) {}
    TBytes GetBytes(const String& S) const override;
    String GetString(const Byte* Bytes, std::size_t Count) const override;
    TBytes GetPreamble() const override { return {}; }
    UINT GetCodePage() const override { return codePage_; }

private:
    UINT codePage_ = CP_ACP;
};

class TUTF8Encoding : public TMBCSEncoding {
public:
    explicit TUTF8Encoding(bool EmitBOM = true) : TMBCSEncoding(CP_UTF8), bom_(EmitBOM) {}
    TBytes GetPreamble() const override;
    bool CanEncode(const String&) const override { return true; }

private:
    bool bom_ = true;
};

class TUnicodeEncoding : public TEncoding {
public:
    explicit TUnicodeEncoding(bool BigEndian = false) : bigEndian_(BigEndian) {}
    TBytes GetBytes(const String& S) const override;
    String GetString(const Byte* Bytes, std::size_t Count) const override;
    TBytes GetPreamble() const override;
    UINT GetCodePage() const override { return bigEndian_ ? 1201 : 1200; }
    bool CanEncode(const String&) const override { return true; }

private:
    bool bigEndian_ = false;
};

// ---------------------------------------------------------------------------
// Dates and times. A TDateTime counts days from 1899-12-30; the fraction is
// the time of day. Invalid parts raise EConvertError.
constexpr Int64 MSecsPerDay = 86400000;

bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);
TDateTime EncodeDate(Word Year, Word Month, Word Day);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date);
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time);
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
// 1 for Sunday to 7 for Saturday.
int DayOfWeek(TDateTime Date);
TDateTime Now();
TDateTime Date();
TDateTime Time();
// The same day (or the last of a shorter month) NumberOfMonths later.
TDateTime IncMonth(TDateTime Date, int NumberOfMonths = 1);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& SystemTime);
void DateTimeToSystemTime(TDateTime DateTime, SYSTEMTIME& SystemTime);

// The class library's date and time patterns: d dd ddd dddd ddddd dddddd,
// m mm mmm mmmm (minutes right after h), yy yyyy, h hh, n nn, s ss, z zzz,
// t tt, c, am/pm a/p ampm, "/" and ":" for the separators, quoted literals.
String FormatDateTime(const String& Format, TDateTime DateTime);
String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& Settings);
String DateToStr(TDateTime Date);
String DateToStr(TDateTime Date, const TFormatSettings& Settings);
String TimeToStr(TDateTime Time);
String TimeToStr(TDateTime Time, const TFormatSettings& Settings);
String DateTimeToStr(TDateTime DateTime);
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings);

// Dates are read as numbers in the order of the short date format with the
// date separator; a missing year is the current one and two-digit years
// fall in the century window. Times are h:n[:s[.z]] with an optional
// AM/PM designator.
TDateTime StrToDate(const String& S);
TDateTime StrToDate(const String& S, const TFormatSettings& Settings);
TDateTime StrToTime(const String& S);
TDateTime StrToTime(const String& S, const TFormatSettings& Settings);
TDateTime StrToDateTime(const String& S);
TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings);
bool TryStrToDate(const String& S, TDateTime& Value);
bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToTime(const String& S, TDateTime& Value);
bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDateTime(const String& S, TDateTime& Value);
bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings);
