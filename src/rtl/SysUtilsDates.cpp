// Dates and times: encoding, decoding, text and parsing.
#include "SysUtils.h"
#include <cmath>
#include <cwctype>

namespace {

// Days from 0001-01-01 to the given date of the proleptic Gregorian calendar.
Int64 DayNumber(int y, int m, int d)
{
    static const int before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    Int64 prev = y - 1;
    Int64 days = prev * 365 + prev / 4 - prev / 100 + prev / 400 + before[m - 1] + d - 1;
    if (m > 2 && IsLeapYear(static_cast<Word>(y)))
        ++days;
    return days;
}

const Int64 Epoch = DayNumber(1899, 12, 30);
// TDateTime of 0001-01-01 and of the day after 9999-12-31.
const double FirstDay = static_cast<double>(DayNumber(1, 1, 1) - Epoch);
const double AfterLastDay = static_cast<double>(DayNumber(10000, 1, 1) - Epoch);

void CivilFromDays(Int64 n, int& y, int& m, int& d)
{
    // n counts from 0001-01-01; 146097 days make 400 years.
    Int64 era400 = n / 146097, rem = n % 146097;
    Int64 c100 = std::min<Int64>(rem / 36524, 3);
    rem -= c100 * 36524;
    Int64 c4 = rem / 1461;
    rem -= c4 * 1461;
    Int64 y1 = std::min<Int64>(rem / 365, 3);
    rem -= y1 * 365;
    y = static_cast<int>(era400 * 400 + c100 * 100 + c4 * 4 + y1 + 1);
    m = 1;
    while (rem >= DaysInAMonth(static_cast<Word>(y), static_cast<Word>(m))) {
        rem -= DaysInAMonth(static_cast<Word>(y), static_cast<Word>(m));
        ++m;
    }
    d = static_cast<int>(rem) + 1;
}

// Splits a TDateTime into its day number and milliseconds of the day.
void Split(TDateTime dt, Int64& day, Int64& ms)
{
    day = static_cast<Int64>(std::trunc(dt));
    ms = static_cast<Int64>(std::llround(std::fabs(dt - std::trunc(dt)) * MSecsPerDay));
    if (ms >= MSecsPerDay) {
        // Rounding reached the next day.
        if (dt >= 0) {
            ms -= MSecsPerDay;
            ++day;
        } else {
            ms = MSecsPerDay - 1;
        }
    }
}

String Pad(int value, int width)
{
    String s = std::to_wstring(value);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), L'0');
    return s;
}

bool StartsWithText(const String& s, std::size_t i, const String& what)
{
    return !what.empty() && s.size() - i >= what.size() && CompareText(s.substr(i, what.size()), what) == 0;
}

bool HasAmPm(const String& f)
{
    wchar_t quote = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (quote) {
            if (f[i] == quote)
                quote = 0;
        } else if (f[i] == L'"' || f[i] == L'\'') {
            quote = f[i];
        } else if (StartsWithText(f, i, L"am/pm") || StartsWithText(f, i, L"a/p") ||
                   StartsWithText(f, i, L"ampm")) {
            return true;
        }
    }
    return false;
}

void Append(String& out, const String& format, TDateTime dt, const TFormatSettings& fs, int depth)
{
    if (depth > 2)
        return;   // the patterns that expand to settings may not loop
    Word year, month, day, hour, minute, second, msec;
    DecodeDate(dt, year, month, day);
    DecodeTime(dt, hour, minute, second, msec);
    const bool clock12 = HasAmPm(format);
    wchar_t lastToken = 0;
    std::size_t i = 0, n = format.size();
    while (i < n) {
        wchar_t c = format[i];
        wchar_t u = static_cast<wchar_t>(std::towupper(c));
        std::size_t run = 1;
        while (i + run < n && std::towupper(format[i + run]) == u)
            ++run;
        switch (u) {
        case L'"':
        case L'\'': {
            std::size_t end = format.find(c, i + 1);
            if (end == String::npos)
                end = n;
            out += format.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        case L'C':
            Append(out, fs.ShortDateFormat, dt, fs, depth + 1);
            if (hour || minute || second || msec) {
                out += L' ';
                Append(out, fs.LongTimeFormat, dt, fs, depth + 1);
            }
            i += 1;
            lastToken = u;
            continue;
        case L'D':
            if (run == 1 || run == 2)
                out += Pad(day, static_cast<int>(run));
            else if (run == 3)
                out += fs.ShortDayNames[DayOfWeek(dt) - 1];
            else if (run == 4)
                out += fs.LongDayNames[DayOfWeek(dt) - 1];
            else if (run == 5)
                Append(out, fs.ShortDateFormat, dt, fs, depth + 1);
            else
                Append(out, fs.LongDateFormat, dt, fs, depth + 1);
            i += run;
            lastToken = u;
            continue;
        case L'M':
            if (lastToken == L'H' && run <= 2)
                out += Pad(minute, static_cast<int>(run));
            else if (run <= 2)
                out += Pad(month, static_cast<int>(run));
            else if (run == 3)
                out += fs.ShortMonthNames[month - 1];
            else
                out += fs.LongMonthNames[month - 1];
            i += run;
            lastToken = u;
            continue;
        case L'Y':
            out += run <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
            i += run;
            lastToken = u;
            continue;
        case L'H': {
            int h = hour;
            if (clock12) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += Pad(h, run >= 2 ? 2 : 1);
            i += run;
            lastToken = u;
            continue;
        }
        case L'N':
            out += Pad(minute, run >= 2 ? 2 : 1);
            i += run;
            lastToken = u;
            continue;
        case L'S':
            out += Pad(second, run >= 2 ? 2 : 1);
            i += run;
            lastToken = u;
            continue;
        case L'Z':
            out += Pad(msec, run >= 3 ? 3 : 1);
            i += run;
            lastToken = u;
            continue;
        case L'T':
            Append(out, run >= 2 ? fs.LongTimeFormat : fs.ShortTimeFormat, dt, fs, depth + 1);
            i += run >= 2 ? 2 : 1;
            lastToken = u;
            continue;
        case L'A':
            if (StartsWithText(format, i, L"am/pm")) {
                bool lower = format[i] == L'a';
                out += hour < 12 ? (lower ? L"am" : L"AM") : (lower ? L"pm" : L"PM");
                i += 5;
            } else if (StartsWithText(format, i, L"a/p")) {
                bool lower = format[i] == L'a';
                out += hour < 12 ? (lower ? L"a" : L"A") : (lower ? L"p" : L"P");
                i += 3;
            } else if (StartsWithText(format, i, L"ampm")) {
                out += hour < 12 ? fs.TimeAMString : fs.TimePMString;
                i += 4;
            } else {
                out += c;
                i += 1;
                continue;
            }
            lastToken = u;
            continue;
        case L'/':
            out += fs.DateSeparator;
            i += 1;
            continue;
        case L':':
            out += fs.TimeSeparator;
            i += 1;
            continue;
        default:
            out += c;
            i += 1;
            continue;
        }
    }
}

// --- parsing ---------------------------------------------------------------

struct TScanner {
    const String& s;
    std::size_t pos = 0;

    void SkipBlanks()
    {
        while (pos < s.size() && s[pos] == L' ')
            ++pos;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return pos >= s.size();
    }
    bool Number(int& value, int& digits)
    {
        SkipBlanks();
        std::size_t start = pos;
        value = 0;
        while (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9' && pos - start < 9)
            value = value * 10 + (s[pos++] - L'0');
        digits = static_cast<int>(pos - start);
        return digits > 0;
    }
    bool Char(wchar_t c)
    {
        SkipBlanks();
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool Text(const String& t)
    {
        SkipBlanks();
        if (StartsWithText(s, pos, t)) {
            pos += t.size();
            return true;
        }
        return false;
    }
};

enum TDateOrder { doMDY, doDMY, doYMD };

TDateOrder DateOrder(const String& shortDateFormat)
{
    for (wchar_t c : shortDateFormat) {
        wchar_t u = static_cast<wchar_t>(std::towupper(c));
        if (u == L'D')
            return doDMY;
        if (u == L'Y')
            return doYMD;
        if (u == L'M')
            return doMDY;
    }
    return doMDY;
}

bool ScanDate(TScanner& sc, TDateTime& value, const TFormatSettings& fs)
{
    int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
    int count = 0;
    if (!sc.Number(n[0], digits[0]))
        return false;
    count = 1;
    while (count < 3) {
        std::size_t save = sc.pos;
        if (!sc.Char(fs.DateSeparator))
            break;
        if (!sc.Number(n[count], digits[count])) {
            sc.pos = save;
            return false;
        }
        ++count;
    }
    if (count < 2)
        return false;
    // Only a date without its year, or with two digits of it, asks the
    // clock: sorting a column of full dates reads it for none of them.
    const auto currentYear = [] {
        Word year, month, day;
        DecodeDate(Date(), year, month, day);
        return static_cast<int>(year);
    };
    int y = 0, m = 0, d = 0, yearDigits = 4;
    TDateOrder order = DateOrder(fs.ShortDateFormat);
    if (count == 2) {
        y = currentYear();
        if (order == doDMY) {
            d = n[0];
            m = n[1];
        } else {
            m = n[0];
            d = n[1];
        }
    } else {
        switch (order) {
        case doMDY: m = n[0]; d = n[1]; y = n[2]; yearDigits = digits[2]; break;
        case doDMY: d = n[0]; m = n[1]; y = n[2]; yearDigits = digits[2]; break;
        case doYMD: y = n[0]; m = n[1]; d = n[2]; yearDigits = digits[0]; break;
        }
        if (yearDigits <= 2) {
            int pivot = currentYear() - fs.TwoDigitYearCenturyWindow;
            y += pivot - pivot % 100;
            if (fs.TwoDigitYearCenturyWindow > 0 && y < pivot)
                y += 100;
        }
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1)
        return false;
    return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), value);
}

// 0 no designator, 1 AM, 2 PM.
int ScanAmPm(TScanner& sc, const TFormatSettings& fs)
{
    for (const String& am : {fs.TimeAMString, String(L"AM")})
        if (sc.Text(am))
            return 1;
    for (const String& pm : {fs.TimePMString, String(L"PM")})
        if (sc.Text(pm))
            return 2;
    return 0;
}

bool ScanTime(TScanner& sc, TDateTime& value, const TFormatSettings& fs)
{
    int designator = ScanAmPm(sc, fs);
    int h = 0, m = 0, s = 0, ms = 0, digits = 0;
    if (!sc.Number(h, digits))
        return false;
    bool hasMinutes = false;
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(m, digits))
            return false;
        hasMinutes = true;
        if (sc.Char(fs.TimeSeparator)) {
            if (!sc.Number(s, digits))
                return false;
            if (sc.Char(fs.DecimalSeparator)) {
                if (!sc.Number(ms, digits))
                    return false;
                // ".5" is half a second: scale the digits to milliseconds.
                while (digits < 3) {
                    ms *= 10;
                    ++digits;
                }
                while (digits > 3) {
                    ms /= 10;
                    --digits;
                }
            }
        }
    }
    if (!designator)
        designator = ScanAmPm(sc, fs);
    if (!hasMinutes && !designator)
        return false;
    if (designator) {
        if (h < 1 || h > 12)
            return false;
        h %= 12;
        if (designator == 2)
            h += 12;
    }
    return TryEncodeTime(static_cast<Word>(h), static_cast<Word>(m), static_cast<Word>(s),
                         static_cast<Word>(ms), value);
}

[[noreturn]] void NotValid(const String& s, const wchar_t* what)
{
    throw EConvertError(L"'" + s + L"' is not a valid " + what);
}

} // namespace

bool IsLeapYear(Word Year)
{
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

Word DaysInAMonth(Word Year, Word Month)
{
    static const Word days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return Month == 2 && IsLeapYear(Year) ? 29 : days[Month - 1];
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
        return false;
    Date = static_cast<double>(DayNumber(Year, Month, Day) - Epoch);
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day)
{
    TDateTime d = 0;
    if (!TryEncodeDate(Year, Month, Day, d))
        throw EConvertError(L"Invalid argument to date encode");
    return d;
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time)
{
    if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000)
        return false;
    Time = static_cast<double>(((Hour * 60 + Min) * 60 + Sec) * 1000 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec)
{
    TDateTime t = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, t))
        throw EConvertError(L"Invalid argument to time encode");
    return t;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day)
{
    Int64 day, ms;
    Split(Date, day, ms);
    Int64 n = day + Epoch;
    if (n < 0) {
        Year = Month = Day = 0;
        return;
    }
    int y, m, d;
    CivilFromDays(n, y, m, d);
    Year = static_cast<Word>(y);
    Month = static_cast<Word>(m);
    Day = static_cast<Word>(d);
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec)
{
    Int64 day, ms;
    Split(Time, day, ms);
    Hour = static_cast<Word>(ms / 3600000);
    Min = static_cast<Word>(ms / 60000 % 60);
    Sec = static_cast<Word>(ms / 1000 % 60);
    MSec = static_cast<Word>(ms % 1000);
}

int DayOfWeek(TDateTime Date)
{
    Int64 day, ms;
    Split(Date, day, ms);
    // 1899-12-30 was a Saturday.
    Int64 w = (day + 6) % 7;
    if (w < 0)
        w += 7;
    return static_cast<int>(w) + 1;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& st)
{
    return EncodeDate(st.wYear, st.wMonth, st.wDay) +
           EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

void DateTimeToSystemTime(TDateTime DateTime, SYSTEMTIME& st)
{
    st = SYSTEMTIME{};
    DecodeDate(DateTime, st.wYear, st.wMonth, st.wDay);
    DecodeTime(DateTime, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(DateTime) - 1);
}

TDateTime Now()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return SystemTimeToDateTime(st);
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    TDateTime now = Now();
    return now - std::trunc(now);
}

TDateTime IncMonth(TDateTime Date, int NumberOfMonths)
{
    Word y, m, d;
    DecodeDate(Date, y, m, d);
    int months = y * 12 + (m - 1) + NumberOfMonths;
    int ny = months / 12, nm = months % 12 + 1;
    if (ny < 1 || ny > 9999)
        throw EConvertError(L"Invalid argument to date encode");
    Word nd = std::min<Word>(d, DaysInAMonth(static_cast<Word>(ny), static_cast<Word>(nm)));
    TDateTime result = EncodeDate(static_cast<Word>(ny), static_cast<Word>(nm), nd);
    double time = std::fabs(Date - std::trunc(Date));
    return result >= 0 ? result + time : result - time;
}

String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& Settings)
{
    // Days of the years 1 to 9999 only: names of months and days are looked
    // up by the decoded date, which has no month outside that range.
    if (!(DateTime >= FirstDay && DateTime < AfterLastDay))
        throw EConvertError(L"Invalid argument to date encode");
    String out;
    // An empty pattern shows the value as "c" does.
    Append(out, Format.empty() ? String(L"c") : Format, DateTime, Settings, 0);
    return out;
}

String FormatDateTime(const String& Format, TDateTime DateTime)
{
    return FormatDateTime(Format, DateTime, FormatSettings);
}

String DateToStr(TDateTime Date, const TFormatSettings& Settings) { return FormatDateTime(L"ddddd", Date, Settings); }
String DateToStr(TDateTime Date) { return DateToStr(Date, FormatSettings); }
String TimeToStr(TDateTime Time, const TFormatSettings& Settings) { return FormatDateTime(L"tt", Time, Settings); }
String TimeToStr(TDateTime Time) { return TimeToStr(Time, FormatSettings); }
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings) { return FormatDateTime(L"c", DateTime, Settings); }
String DateTimeToStr(TDateTime DateTime) { return DateTimeToStr(DateTime, FormatSettings); }

bool TryStrToDate(const String& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TScanner sc{S};
    TDateTime d = 0;
    if (!ScanDate(sc, d, Settings) || !sc.AtEnd())
        return false;
    Value = d;
    return true;
}

bool TryStrToTime(const String& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TScanner sc{S};
    TDateTime t = 0;
    if (!ScanTime(sc, t, Settings) || !sc.AtEnd())
        return false;
    Value = t;
    return true;
}

bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings)
{
    TScanner sc{S};
    TDateTime d = 0, t = 0;
    if (ScanDate(sc, d, Settings) && (sc.AtEnd() || (ScanTime(sc, t, Settings) && sc.AtEnd()))) {
        Value = d >= 0 ? d + t : d - t;
        return true;
    }
    return TryStrToTime(S, Value, Settings);
}

bool TryStrToDate(const String& S, TDateTime& Value) { return TryStrToDate(S, Value, FormatSettings); }
bool TryStrToTime(const String& S, TDateTime& Value) { return TryStrToTime(S, Value, FormatSettings); }
bool TryStrToDateTime(const String& S, TDateTime& Value) { return TryStrToDateTime(S, Value, FormatSettings); }

TDateTime StrToDate(const String& S, const TFormatSettings& Settings)
{
    TDateTime v = 0;
    if (!TryStrToDate(S, v, Settings))
        NotValid(S, L"date");
    return v;
}

TDateTime StrToTime(const String& S, const TFormatSettings& Settings)
{
    TDateTime v = 0;
    if (!TryStrToTime(S, v, Settings))
        NotValid(S, L"time");
    return v;
}

TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings)
{
    TDateTime v = 0;
    if (!TryStrToDateTime(S, v, Settings))
        NotValid(S, L"date and time");
    return v;
}

TDateTime StrToDate(const String& S) { return StrToDate(S, FormatSettings); }
TDateTime StrToTime(const String& S) { return StrToTime(S, FormatSettings); }
TDateTime StrToDateTime(const String& S) { return StrToDateTime(S, FormatSettings); }
