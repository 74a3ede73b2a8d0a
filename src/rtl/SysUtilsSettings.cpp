// Format settings from the locale.
#include "SysUtils.h"

TFormatSettings FormatSettings;

namespace {

String LocaleText(LCID locale, LCTYPE type, const String& fallback)
{
    wchar_t buf[256];
    int n = GetLocaleInfoW(locale, type, buf, 256);
    return n > 1 ? String(buf, static_cast<std::size_t>(n - 1)) : fallback;
}

wchar_t LocaleChar(LCID locale, LCTYPE type, wchar_t fallback)
{
    String s = LocaleText(locale, type, String());
    return s.empty() ? fallback : s[0];
}

int LocaleNumber(LCID locale, LCTYPE type, int fallback)
{
    String s = LocaleText(locale, type, String());
    return s.empty() ? fallback : _wtoi(s.c_str());
}

// The locale writes "H", "HH", "tt" and "mm"; the class library's time
// specifiers are "h", "hh", "AMPM" and "nn".
String TimeFormatFromLocale(const String& f)
{
    String r;
    for (std::size_t i = 0; i < f.size(); ++i) {
        wchar_t c = f[i];
        if (c == L'\'') {
            std::size_t end = f.find(L'\'', i + 1);
            if (end == String::npos)
                end = f.size() - 1;
            r += f.substr(i, end - i + 1);
            i = end;
        } else if (c == L'H') {
            r += L'h';
        } else if (c == L'm') {
            r += L'n';
        } else if (c == L't') {
            while (i + 1 < f.size() && f[i + 1] == L't')
                ++i;
            r += L"AMPM";
        } else {
            r += c;
        }
    }
    return r;
}

} // namespace

TFormatSettings TFormatSettings::Create(LCID Locale)
{
    TFormatSettings s;
    s.DecimalSeparator = LocaleChar(Locale, LOCALE_SDECIMAL, L'.');
    s.ThousandSeparator = LocaleChar(Locale, LOCALE_STHOUSAND, L',');
    s.DateSeparator = LocaleChar(Locale, LOCALE_SDATE, L'/');
    s.TimeSeparator = LocaleChar(Locale, LOCALE_STIME, L':');
    s.ListSeparator = LocaleChar(Locale, LOCALE_SLIST, L',');
    s.CurrencyString = LocaleText(Locale, LOCALE_SCURRENCY, s.CurrencyString);
    s.CurrencyFormat = static_cast<Byte>(LocaleNumber(Locale, LOCALE_ICURRENCY, 0));
    s.NegCurrFormat = static_cast<Byte>(LocaleNumber(Locale, LOCALE_INEGCURR, 0));
    s.CurrencyDecimals = static_cast<Byte>(LocaleNumber(Locale, LOCALE_ICURRDIGITS, 2));
    s.ShortDateFormat = LocaleText(Locale, LOCALE_SSHORTDATE, s.ShortDateFormat);
    s.LongDateFormat = LocaleText(Locale, LOCALE_SLONGDATE, s.LongDateFormat);
    s.ShortTimeFormat = TimeFormatFromLocale(LocaleText(Locale, LOCALE_SSHORTTIME, L"h:mm tt"));
    s.LongTimeFormat = TimeFormatFromLocale(LocaleText(Locale, LOCALE_STIMEFORMAT, L"h:mm:ss tt"));
    s.TimeAMString = LocaleText(Locale, LOCALE_S1159, String());
    s.TimePMString = LocaleText(Locale, LOCALE_S2359, String());
    for (int m = 0; m < 12; ++m) {
        s.ShortMonthNames[m] = LocaleText(Locale, LOCALE_SABBREVMONTHNAME1 + m, s.ShortMonthNames[m]);
        s.LongMonthNames[m] = LocaleText(Locale, LOCALE_SMONTHNAME1 + m, s.LongMonthNames[m]);
    }
    // The locale counts days from Monday; the class library from Sunday.
    for (int d = 0; d < 7; ++d) {
        int fromMonday = (d + 6) % 7;
        s.ShortDayNames[d] = LocaleText(Locale, LOCALE_SABBREVDAYNAME1 + fromMonday, s.ShortDayNames[d]);
        s.LongDayNames[d] = LocaleText(Locale, LOCALE_SDAYNAME1 + fromMonday, s.LongDayNames[d]);
    }
    return s;
}

TFormatSettings TFormatSettings::Invariant()
{
    TFormatSettings s;
    s.CurrencyString = L"\x00A4";
    s.ShortDateFormat = L"MM/dd/yyyy";
    s.LongDateFormat = L"dddd, dd MMMMM yyyy HH:mm:ss";
    s.ShortTimeFormat = L"hh:nn";
    s.LongTimeFormat = L"hh:nn:ss";
    return s;
}

void SysUtils_Initialize()
{
    FormatSettings = TFormatSettings::Create();
}

void SysUtils_Finalize() {}
