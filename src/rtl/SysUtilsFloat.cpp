// Float to text: FloatToStr, FloatToStrF, FormatFloat and rounding.
#include "SysUtilsFloat.h"
#include <cmath>
#include <cstdio>

namespace rtl_detail {

TDecimal ToDecimal(double value, int precision)
{
    TDecimal d;
    d.negative = std::signbit(value);
    if (value == 0 || !std::isfinite(value))
        return d;
    if (precision < 1)
        precision = 1;
    if (precision > 17)
        precision = 17;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(value));
    // buf: d.ddddde[+-]xx
    std::string text = buf;
    std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.digits += text[i];
    d.exponent = std::atoi(text.c_str() + e + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

void RoundDigits(TDecimal& d, int keep)
{
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    if (static_cast<std::size_t>(keep) >= d.digits.size())
        return;
    bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

void RoundFraction(TDecimal& d, int fractionDigits)
{
    RoundDigits(d, d.exponent + fractionDigits);
}

std::string IntegerDigits(const TDecimal& d)
{
    if (d.exponent <= 0 || d.digits.empty())
        return std::string();
    std::string s = d.digits.substr(0, static_cast<std::size_t>(std::min<int>(d.exponent, static_cast<int>(d.digits.size()))));
    s.append(static_cast<std::size_t>(d.exponent) - s.size(), '0');
    return s;
}

std::string FractionDigits(const TDecimal& d)
{
    if (d.digits.empty())
        return std::string();
    if (d.exponent >= 0)
        return static_cast<std::size_t>(d.exponent) < d.digits.size()
                   ? d.digits.substr(static_cast<std::size_t>(d.exponent))
                   : std::string();
    return std::string(static_cast<std::size_t>(-d.exponent), '0') + d.digits;
}

String Grouped(const std::string& digits, wchar_t separator)
{
    String r;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        r += static_cast<wchar_t>(digits[i]);
        std::size_t rest = digits.size() - 1 - i;
        if (rest > 0 && rest % 3 == 0 && separator)
            r += separator;
    }
    return r;
}

String Widen(const std::string& s)
{
    String r;
    r.reserve(s.size());
    for (char c : s)
        r.push_back(static_cast<wchar_t>(c));
    return r;
}

String NonFinite(double value)
{
    if (std::isnan(value))
        return L"NAN";
    return value < 0 ? L"-INF" : L"INF";
}

} // namespace rtl_detail

using namespace rtl_detail;

namespace {

String ExponentText(int exponent, int minDigits, bool plusSign)
{
    String r = exponent < 0 ? L"-" : plusSign ? L"+" : L"";
    String digits = std::to_wstring(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), L'0');
    return r + digits;
}

// The general format: fixed notation while the integer part has at most
// Precision digits and the value is at least 0.0001, else scientific.
// Digits are taken at 15 places and then rounded half away from zero, so
// that 1234.5 shows as 1235 with four digits whatever its binary form.
TDecimal Significant(double value, int precision)
{
    TDecimal d = ToDecimal(value, 15);
    RoundDigits(d, precision);
    return d;
}

String GeneralText(double value, int precision, int expDigits, const TFormatSettings& fs)
{
    TDecimal d = Significant(value, precision);
    if (d.Zero())
        return L"0";
    String sign = d.negative ? L"-" : L"";
    if (d.exponent > precision || d.exponent < -3) {
        String r = sign + static_cast<wchar_t>(d.digits[0]);
        if (d.digits.size() > 1)
            r += fs.DecimalSeparator + Widen(d.digits.substr(1));
        return r + L"E" + ExponentText(d.exponent - 1, expDigits, false);
    }
    std::string whole = IntegerDigits(d), fraction = FractionDigits(d);
    String r = sign + (whole.empty() ? String(L"0") : Widen(whole));
    if (!fraction.empty())
        r += fs.DecimalSeparator + Widen(fraction);
    return r;
}

String ExponentFormText(double value, int precision, int expDigits, const TFormatSettings& fs)
{
    if (precision < 1)
        precision = 1;
    TDecimal d = Significant(value, precision);
    std::string digits = d.digits;
    digits.resize(static_cast<std::size_t>(precision), '0');
    int exponent = d.Zero() ? 0 : d.exponent - 1;
    String r = d.negative && !d.Zero() ? L"-" : L"";
    r += static_cast<wchar_t>(digits[0]);
    if (digits.size() > 1)
        r += fs.DecimalSeparator + Widen(digits.substr(1));
    return r + L"E" + ExponentText(exponent, expDigits, true);
}

// Fixed and number formats; the sign is left to the caller.
String FixedText(const TDecimal& value, int digits, bool thousands, const TFormatSettings& fs)
{
    TDecimal d = value;
    RoundFraction(d, digits);
    std::string whole = IntegerDigits(d);
    if (whole.empty())
        whole.push_back('0');
    String r = thousands ? Grouped(whole, fs.ThousandSeparator) : Widen(whole);
    if (digits > 0) {
        std::string fraction = FractionDigits(d);
        fraction.resize(static_cast<std::size_t>(digits), '0');
        r += fs.DecimalSeparator;
        r += Widen(fraction);
    }
    return r;
}

String CurrencyText(double value, int digits, const TFormatSettings& fs)
{
    TDecimal d = ToDecimal(value, 15);
    String number = FixedText(d, digits, true, fs);
    RoundFraction(d, digits);
    const String& c = fs.CurrencyString;
    if (!d.negative || d.Zero()) {
        switch (fs.CurrencyFormat) {
        case 1: return number + c;
        case 2: return c + L" " + number;
        case 3: return number + L" " + c;
        default: return c + number;
        }
    }
    switch (fs.NegCurrFormat) {
    case 1: return L"-" + c + number;
    case 2: return c + L"-" + number;
    case 3: return c + number + L"-";
    case 4: return L"(" + number + c + L")";
    case 5: return L"-" + number + c;
    case 6: return number + L"-" + c;
    case 7: return number + c + L"-";
    case 8: return L"-" + number + L" " + c;
    case 9: return L"-" + c + L" " + number;
    case 10: return number + L" " + c + L"-";
    case 11: return c + L" " + number + L"-";
    case 12: return c + L" -" + number;
    case 13: return number + L"- " + c;
    case 14: return L"(" + c + L" " + number + L")";
    case 15: return L"(" + number + L" " + c + L")";
    default: return L"(" + c + number + L")";
    }
}

} // namespace

namespace rtl_detail {

String FloatText(double value, TFloatFormat format, int precision, int digits,
                 const TFormatSettings& fs)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    if (precision > 15)
        precision = 15;
    switch (format) {
    case ffGeneral:
        return GeneralText(value, precision, digits, fs);
    case ffExponent:
        return ExponentFormText(value, precision, digits, fs);
    case ffFixed:
    case ffNumber: {
        TDecimal d = ToDecimal(value, 15);
        if (d.exponent > precision)
            return GeneralText(value, precision, 0, fs);
        String text = FixedText(d, digits, format == ffNumber, fs);
        RoundFraction(d, digits);
        return (d.negative && !d.Zero() ? L"-" : L"") + text;
    }
    case ffCurrency:
        return CurrencyText(value, digits, fs);
    }
    return String();
}

} // namespace rtl_detail

String FloatToStr(double Value, const TFormatSettings& Settings)
{
    return FloatText(Value, ffGeneral, 15, 0, Settings);
}

String FloatToStr(double Value)
{
    return FloatToStr(Value, FormatSettings);
}

String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                   const TFormatSettings& Settings)
{
    return FloatText(Value, Format, Precision, Digits, Settings);
}

String FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits)
{
    return FloatText(Value, Format, Precision, Digits, FormatSettings);
}

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

struct TFloatSection {
    String text;
    int intPlaces = 0;     // "0" and "#" before the decimal point
    int minInt = 0;        // digits shown at least (from the first "0" on)
    int fracPlaces = 0;
    int minFrac = 0;       // up to the last "0" after the point
    bool thousands = false;
    bool scientific = false;
};

// Splits at ";" outside quotes; at most three sections count.
std::vector<String> SplitSections(const String& format)
{
    std::vector<String> sections(1);
    wchar_t quote = 0;
    for (wchar_t c : format) {
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    if (sections.size() > 3)
        sections.resize(3);
    return sections;
}

bool IsExponentAt(const String& s, std::size_t i)
{
    return (s[i] == L'E' || s[i] == L'e') && i + 1 < s.size() && (s[i + 1] == L'+' || s[i + 1] == L'-');
}

TFloatSection Analyze(const String& text)
{
    TFloatSection f;
    f.text = text;
    bool afterPoint = false;
    int firstZero = -1;
    wchar_t quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'0' || c == L'#') {
            if (afterPoint) {
                ++f.fracPlaces;
                if (c == L'0')
                    f.minFrac = f.fracPlaces;
            } else {
                if (c == L'0' && firstZero < 0)
                    firstZero = f.intPlaces;
                ++f.intPlaces;
            }
        } else if (c == L'.') {
            afterPoint = true;
        } else if (c == L',') {
            if (!afterPoint)
                f.thousands = true;
        } else if (IsExponentAt(text, i)) {
            f.scientific = true;
            break;
        }
    }
    f.minInt = firstZero < 0 ? 0 : f.intPlaces - firstZero;
    return f;
}

// Rounds the absolute value as the section will show it.
TDecimal RoundFor(const TFloatSection& f, double value, int& exponent)
{
    TDecimal d = ToDecimal(value, 15);
    d.negative = false;
    exponent = 0;
    if (f.scientific) {
        int significant = f.intPlaces + f.fracPlaces;
        RoundDigits(d, significant > 0 ? significant : 1);
        if (!d.Zero()) {
            exponent = d.exponent - f.intPlaces;
            d.exponent = f.intPlaces;
        }
    } else {
        RoundFraction(d, f.fracPlaces);
    }
    return d;
}

String Render(const TFloatSection& f, const TDecimal& d, int exponent, const TFormatSettings& fs)
{
    std::string whole = IntegerDigits(d);
    if (static_cast<int>(whole.size()) < f.minInt)
        whole.insert(0, static_cast<std::size_t>(f.minInt) - whole.size(), '0');
    // A scientific mantissa always shows a digit before the point.
    if (f.scientific && whole.empty())
        whole.push_back('0');
    std::string fraction = FractionDigits(d);
    if (static_cast<int>(fraction.size()) > f.fracPlaces)
        fraction.resize(static_cast<std::size_t>(f.fracPlaces));
    if (static_cast<int>(fraction.size()) < f.minFrac)
        fraction.resize(static_cast<std::size_t>(f.minFrac), '0');

    const String& s = f.text;
    String r;
    int intSeen = 0, fracSeen = 0;
    bool afterPoint = false, wholeDone = false;
    // Digits beyond the placeholders all go where the first placeholder is.
    int offset = static_cast<int>(whole.size()) - f.intPlaces;
    int emitted = -1;   // index of the last integer digit written
    auto emitWholeUpTo = [&](int last) {
        for (int k = emitted + 1; k <= last; ++k) {
            r += static_cast<wchar_t>(whole[static_cast<std::size_t>(k)]);
            std::size_t rest = whole.size() - 1 - static_cast<std::size_t>(k);
            if (f.thousands && rest > 0 && rest % 3 == 0)
                r += fs.ThousandSeparator;
        }
        if (last > emitted)
            emitted = last;
    };
    // A section of literals only shows no number at all.
    if (f.intPlaces == 0 && f.fracPlaces == 0 && !f.scientific)
        wholeDone = true;
    auto finishWhole = [&]() {
        if (!wholeDone) {
            emitWholeUpTo(static_cast<int>(whole.size()) - 1);
            wholeDone = true;
        }
    };
    wchar_t quote = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                r += c;
            continue;
        }
        if (c == L'"' || c == L'\'') {
            quote = c;
        } else if (c == L'0' || c == L'#') {
            if (afterPoint) {
                if (fracSeen < static_cast<int>(fraction.size()))
                    r += static_cast<wchar_t>(fraction[static_cast<std::size_t>(fracSeen)]);
                ++fracSeen;
            } else if (!wholeDone) {
                int j = offset + intSeen;
                ++intSeen;
                if (j >= 0)
                    emitWholeUpTo(j);
                if (intSeen == f.intPlaces)
                    wholeDone = true;
            }
        } else if (c == L'.') {
            if (!afterPoint) {
                finishWhole();
                afterPoint = true;
                if (!fraction.empty())
                    r += fs.DecimalSeparator;
            }
        } else if (c == L',') {
            // Grouping is decided for the whole number; the comma itself shows nothing.
        } else if (IsExponentAt(s, i)) {
            finishWhole();
            bool plus = s[i + 1] == L'+';
            std::size_t j = i + 2;
            int expDigits = 0;
            while (j < s.size() && s[j] == L'0') {
                ++expDigits;
                ++j;
            }
            r += c;
            r += ExponentText(exponent, expDigits, plus);
            i = j - 1;
            afterPoint = true;
            fracSeen = f.fracPlaces;
        } else {
            r += c;
        }
    }
    finishWhole();
    return r;
}

} // namespace

String FormatFloat(const String& Format, double Value, const TFormatSettings& Settings)
{
    if (!std::isfinite(Value))
        return NonFinite(Value);
    if (Format.empty())
        return FloatToStr(Value, Settings);
    std::vector<String> sections = SplitSections(Format);
    auto usable = [&](std::size_t i) { return i < sections.size() && !sections[i].empty(); };

    std::size_t chosen = Value < 0 && usable(1) ? 1 : 0;
    TFloatSection f = Analyze(sections[chosen]);
    int exponent = 0;
    TDecimal d = RoundFor(f, Value, exponent);
    // A value that shows as zero takes the zero section and loses its sign.
    if (d.Zero() && usable(2)) {
        f = Analyze(sections[2]);
        d = RoundFor(f, 0.0, exponent);
        chosen = 2;
    }
    bool minus = Value < 0 && chosen == 0 && !d.Zero();
    if (f.intPlaces == 0 && f.fracPlaces == 0 && !f.scientific)
        minus = false;   // a section of literals only shows no number, so no sign
    return (minus ? L"-" : L"") + Render(f, d, exponent, Settings);
}

String FormatFloat(const String& Format, double Value)
{
    return FormatFloat(Format, Value, FormatSettings);
}

Int64 Round(double Value)
{
    // The default rounding mode sends halves to the even neighbour.
    return static_cast<Int64>(std::nearbyint(Value));
}

Int64 Trunc(double Value)
{
    return static_cast<Int64>(std::trunc(Value));
}

double Frac(double Value)
{
    return Value - std::trunc(Value);
}

double Int(double Value)
{
    return std::trunc(Value);
}
