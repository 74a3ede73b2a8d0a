// Spreadsheet number formats. A format holds up to four sections (positive,
// negative, zero, text) unless bracketed conditions pick one; the chosen
// section is rendered piece by piece: a colour name, locale and elapsed-time
// brackets, literals, runs of date and time codes (formatted by
// FormatDateTime) and runs of digit placeholders (formatted by FormatFloat).
//
// Every reader below checks the end of the format before it looks at the
// next character: formats come from files and handlers, and a trailing "\",
// "*", "_", an open quote or an open bracket must end the rendering quietly.
#include "asgxlsfmt.h"
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <optional>

namespace {

constexpr wchar_t NoSection[] = L"###################";
constexpr wchar_t BadDate[] = L"##";
// Days between 1899-12-30 and 1904-01-01.
constexpr double Offset1904 = 1462;

struct TExcelColorName {
    const wchar_t* name;
    TColor color;
};

constexpr TExcelColorName ColorNames[] = {
    {L"Black", 0x000000}, {L"Cyan", 0xFFFF00},  {L"Blue", 0xFF0000},  {L"Green", 0x008000},
    {L"Magenta", 0xFF00FF}, {L"Red", 0x0000FF}, {L"White", 0xFFFFFF}, {L"Yellow", 0x00FFFF},
};

// The unit's state: a reference count and the default locale, built on first use.
int unitReferences = 0;
std::unique_ptr<TFormatSettings> cachedSettings;

const TFormatSettings& DefaultSettings()
{
    if (!cachedSettings)
        cachedSettings = std::make_unique<TFormatSettings>(TFormatSettings::Create(LOCALE_USER_DEFAULT));
    return *cachedSettings;
}

struct TSectionCondition {
    bool SuppressNegWhenChosen = false;
    bool SuppressNegForOther = false;
    bool NotMet = false;
    bool HasCondition = false;
};

struct TSections {
    String text[4];
    TSectionCondition condition[4];
    int count = 0;
    int chosenByCondition = -1;
};

bool IsUpperIn(wchar_t c, const wchar_t* set)
{
    return std::wcschr(set, static_cast<wchar_t>(std::towupper(c))) != nullptr && c != 0;
}

// A bound as "[-]digits[.digits][E[-]digits]" with "." as decimal point; anything else is no bound.
bool ReadBound(const String& text, double& bound)
{
    std::size_t i = 0, n = text.size();
    if (i < n && (text[i] == L'-' || text[i] == L'+'))
        ++i;
    std::size_t digits = 0;
    while (i < n && std::iswdigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < n && text[i] == L'.') {
        ++i;
        while (i < n && std::iswdigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == L'E' || text[i] == L'e')) {
        ++i;
        if (i < n && (text[i] == L'-' || text[i] == L'+'))
            ++i;
        std::size_t expDigits = 0;
        while (i < n && std::iswdigit(text[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    bound = std::wcstod(text.c_str(), nullptr);
    return true;
}

// Reads a condition from the bracket whose "[" is at open; false when it is none.
bool ReadCondition(const String& format, std::size_t open, double x, TSectionCondition& cond, bool& met)
{
    const std::size_t close = format.find(L']', open + 1);
    if (close == String::npos)
        return false;
    const String inside = format.substr(open + 1, close - open - 1);
    static const wchar_t* const operators[] = {L"<=", L"<>", L">=", L"<", L"=", L">"};
    const wchar_t* op = nullptr;
    for (const wchar_t* candidate : operators)
        if (inside.compare(0, std::wcslen(candidate), candidate) == 0) {
            op = candidate;
            break;
        }
    if (!op)
        return false;
    double b = 0;
    if (!ReadBound(inside.substr(std::wcslen(op)), b))
        return false;
    const String o = op;
    TSectionCondition c;
    c.HasCondition = true;
    if (o == L"<") {
        met = x < b;
        c.SuppressNegWhenChosen = b <= 0;
        c.SuppressNegForOther = true;
    } else if (o == L"<=") {
        met = x <= b;
        c.SuppressNegWhenChosen = b <= 0;
        c.SuppressNegForOther = true;
    } else if (o == L"<>") {
        met = x != b;
        c.SuppressNegForOther = true;
    } else if (o == L"=") {
        met = x == b;
        c.SuppressNegWhenChosen = true;
    } else if (o == L">") {
        met = x > b;
        c.SuppressNegForOther = b <= 0;
    } else {
        met = x >= b;
        c.SuppressNegForOther = b <= 0;
    }
    c.NotMet = !met;
    cond = c;
    return true;
}

TSections SplitSections(const String& format, double x)
{
    TSections s;
    const std::size_t n = format.size();
    std::size_t start = 0, i = 0;
    bool quoted = false;
    while (i < n) {
        const wchar_t c = format[i];
        if (c == L'"') {
            quoted = !quoted;
            ++i;
        } else if (quoted) {
            ++i;
        } else if (c == L'\\') {
            i += 2;
        } else if (c == L'[') {
            if (n - i - 1 >= 3) {
                TSectionCondition cond;
                bool met = false;
                if (ReadCondition(format, i, x, cond, met)) {
                    s.condition[s.count] = cond;
                    if (s.chosenByCondition < 0 && met)
                        s.chosenByCondition = s.count;
                }
            }
            const std::size_t close = format.find(L']', i + 1);
            i = close == String::npos ? n : close + 1;
        } else if (c == L';') {
            s.text[s.count++] = format.substr(start, i - start);
            start = ++i;
            if (s.count == 4)
                return s;
        } else {
            ++i;
        }
    }
    s.text[s.count++] = format.substr(start);
    return s;
}

// The section for x (0-based) and whether its minus sign is dropped; -1 when none applies.
int ChooseSection(const TSections& s, double x, bool& suppressNeg)
{
    suppressNeg = false;
    int chosen;
    if (s.chosenByCondition >= 0) {
        chosen = s.chosenByCondition;
        suppressNeg = s.condition[chosen].SuppressNegWhenChosen;
    } else if (!s.condition[0].HasCondition && (x > 0 || s.count <= 1 || (x == 0 && s.count <= 2))) {
        chosen = 0;
    } else if (!s.condition[1].HasCondition && (x < 0 || s.count <= 2)) {
        chosen = 1;
        suppressNeg = s.count == 2 && s.condition[0].HasCondition ? s.condition[0].SuppressNegForOther : true;
    } else {
        chosen = s.condition[2].HasCondition ? 3 : 2;
    }
    return chosen < s.count ? chosen : -1;
}

bool ContainsUpper(const String& text, const wchar_t* what)
{
    return UpperCase(text).find(what) != String::npos;
}

// A date or time pattern of the platform formatter; "##" when the value is no date.
String FormatDatePart(const String& pattern, double value, const TFormatSettings& settings)
{
    try {
        return FormatDateTime(pattern, value, settings);
    } catch (const Exception&) {
        return BadDate;
    }
}

// Leading "[Name]" colour of a section: the position after it, or 0.
std::size_t LeadingColor(const String& s, TColor& color)
{
    if (s.empty() || s[0] != L'[')
        return 0;
    const std::size_t close = s.find(L']');
    if (close == String::npos)
        return 0;
    const String name = s.substr(1, close - 1);
    for (const TExcelColorName& entry : ColorNames)
        if (name == entry.name) {
            color = entry.color;
            return close + 1;
        }
    return 0;
}

bool IsLiteral(wchar_t c)
{
    return c != 0 && (std::wcschr(L" !$&'()<=>^{}~", c) != nullptr || c == L'\u00B4');
}

bool IsDateRunChar(wchar_t c)
{
    return c == L'.' || c == L'/' || c == L':' || c == L'\\' || IsUpperIn(c, L"ACDHMNPQSTWY");
}

bool IsNumberRunChar(wchar_t c)
{
    return c != 0 && std::wcschr(L" \"#%*+,-.0?Ee\\", c) != nullptr;
}

bool StartsWithNoCase(const String& s, std::size_t i, const wchar_t* what)
{
    const std::size_t len = std::wcslen(what);
    return s.size() - i >= len && CompareText(s.substr(i, len), what) == 0;
}

class TSectionRenderer {
public:
    TSectionRenderer(const String& section, double x, bool suppressNeg, bool date1904, bool& hasTime,
                     bool& hasDate, TColor& color)
        : s_(section), x_(x), suppressNeg_(suppressNeg), date1904_(date1904), hasTime_(hasTime),
          hasDate_(hasDate), color_(color)
    {
    }

    String Render()
    {
        i_ = LeadingColor(s_, color_);
        while (i_ < s_.size()) {
            const std::size_t before = i_;
            afterHours_ = false;
            bool ended = false;
            LocaleBracket(ended);
            if (ended)
                break;
            ElapsedTime();
            OtherBracket();
            Literal();
            DateTimeRun();
            NumberRun();
            if (i_ == before) {
                const double shown = suppressNeg_ && x_ < 0 ? -x_ : x_;
                return FloatToStr(shown);
            }
        }
        return r_;
    }

private:
    wchar_t At(std::size_t i) const { return i < s_.size() ? s_[i] : 0; }
    bool Done() const { return i_ >= s_.size(); }
    double DateValue() const { return date1904_ ? x_ + Offset1904 : x_; }

    // Appends the currency text of "[$text-locale]" or "[$text]".
    void CurrencyText(std::size_t from, std::size_t stop)
    {
        r_ += s_.substr(from, stop == String::npos ? 0 : stop - from);
    }

    void LocaleBracket(bool& ended)
    {
        if (Done() || At(i_) != L'[' || At(i_ + 1) != L'$' || s_.size() - i_ - 1 < 3)
            return;
        const std::size_t stop = s_.find_first_of(L"-]", i_ + 2);
        if (stop == String::npos) {
            // No end to the bracket: what follows it cannot be read.
            i_ = s_.size();
            ended = true;
            return;
        }
        CurrencyText(i_ + 2, stop);
        if (s_[stop] == L']') {
            i_ = stop + 1;
            return;
        }
        const std::size_t close = s_.find(L']', stop);
        i_ = close == String::npos ? s_.size() : close + 1;
        ended = close == String::npos;
    }

    void ElapsedTime()
    {
        if (Done() || At(i_) != L'[' || i_ + 1 >= s_.size())
            return;
        const std::size_t close = s_.find(L']', i_ + 1);
        if (close == String::npos || close == i_ + 1)
            return;
        const wchar_t unit = static_cast<wchar_t>(std::towupper(s_[i_ + 1]));
        if (unit != L'H' && unit != L'M' && unit != L'S')
            return;
        for (std::size_t k = i_ + 1; k < close; ++k)
            if (std::towupper(s_[k]) != unit)
                return;
        const std::size_t letters = close - i_ - 1;
        hasTime_ = true;
        const double factor = unit == L'H' ? 24.0 : unit == L'M' ? 1440.0 : 86400.0;
        const double whole = std::trunc(x_ * factor);
        // Whole hours of a huge value do not fit any counter: show the date error instead.
        if (!std::isfinite(whole) || std::fabs(whole) >= 9.0e18)
            r_ += BadDate;
        else
            r_ += FormatFloat(String(letters, L'0'), whole);
        afterHours_ = unit == L'H';
        i_ = close + 1;
    }

    void OtherBracket()
    {
        if (Done() || At(i_) != L'[')
            return;
        const std::size_t close = s_.find(L']', i_ + 1);
        if (close == String::npos)
            return;
        if (At(i_ + 1) == L'$')
            CurrencyText(i_ + 2, s_.find_first_of(L"-]", i_ + 2));
        i_ = close + 1;
    }

    void Literal()
    {
        if (Done())
            return;
        const wchar_t c = s_[i_];
        if (IsLiteral(c)) {
            r_ += c;
            ++i_;
        } else if (c == L'\\' || c == L'*') {
            if (i_ + 1 < s_.size())
                r_ += s_[i_ + 1];
            i_ = std::min(i_ + 2, s_.size());
        } else if (c == L'_') {
            if (i_ + 1 < s_.size())
                r_ += L' ';
            i_ = std::min(i_ + 2, s_.size());
        } else if (c == L'"') {
            const std::size_t close = s_.find(L'"', i_ + 1);
            const std::size_t end = close == String::npos ? s_.size() : close;
            r_ += s_.substr(i_ + 1, end - i_ - 1);
            i_ = close == String::npos ? s_.size() : close + 1;
        }
    }

    void DateTimeRun()
    {
        if (Done() || !IsDateRunChar(s_[i_]))
            return;
        String run;
        bool minutesNext = afterHours_;
        while (i_ < s_.size()) {
            wchar_t c = s_[i_];
            if (c == L' ') {
                // Blanks between time parts stay in the run, so that an AM/PM
                // after them still sets the hour to the 12-hour clock.
                std::size_t next = i_;
                while (next < s_.size() && s_[next] == L' ')
                    ++next;
                if (next >= s_.size() || s_[next] == L'\\' || !IsDateRunChar(s_[next]))
                    break;
                run.append(next - i_, L' ');
                i_ = next;
                continue;
            }
            if (!IsDateRunChar(c))
                break;
            if (c == L'\\') {
                if (i_ + 1 >= s_.size()) {
                    ++i_;
                    break;
                }
                c = s_[++i_];
            }
            const wchar_t u = static_cast<wchar_t>(std::towupper(c));
            // AM/PM as a whole: its M is neither a month nor the minutes after an hour.
            if (u == L'A' && StartsWithNoCase(s_, i_, L"AM/PM")) {
                run += s_.substr(i_, 2) + s_.substr(i_ + 3, 2);
                hasTime_ = true;
                i_ += 5;
                continue;
            }
            if (c == L'/' && run.size() >= 2 && CompareText(run.substr(run.size() - 2), L"AM") == 0 &&
                StartsWithNoCase(s_, i_ + 1, L"PM")) {
                run += L"PM";
                hasTime_ = true;
                i_ += 3;
                continue;
            }
            if (u == L'M') {
                std::size_t len = 1;
                while (i_ + len < s_.size() && std::towupper(s_[i_ + len]) == L'M')
                    ++len;
                if (minutesNext) {
                    run.append(len, L'n');
                    hasTime_ = true;
                    minutesNext = false;
                } else {
                    run.append(s_, i_, len);
                    hasDate_ = true;
                }
                i_ += len;
                continue;
            }
            if (u == L'H') {
                minutesNext = true;
                hasTime_ = true;
            } else if (u == L'N' || u == L'S') {
                hasTime_ = true;
            } else if (u == L'C' || u == L'D' || u == L'Y') {
                hasDate_ = true;
            }
            run += c;
            ++i_;
        }
        if (run.empty())
            return;
        TFormatSettings fs = DefaultSettings();
        if (fs.TimeAMString.empty())
            fs.TimeAMString = L"AM";
        if (fs.TimePMString.empty())
            fs.TimePMString = L"PM";
        r_ += FormatDatePart(run, DateValue(), fs);
    }

    void NumberRun()
    {
        if (Done() || !IsNumberRunChar(s_[i_]))
            return;
        String pattern;
        double value = suppressNeg_ && x_ < 0 ? -x_ : x_;
        const std::size_t first = i_;
        while (i_ < s_.size() && IsNumberRunChar(s_[i_])) {
            const wchar_t c = s_[i_];
            if (c == L'%') {
                value *= 100;
                pattern += c;
                ++i_;
            } else if (c == L'\\' || c == L'*') {
                if (i_ + 1 < s_.size())
                    pattern += s_[i_ + 1];
                i_ = std::min(i_ + 2, s_.size());
            } else if (c == L'?') {
                pattern += L'#';
                ++i_;
            } else if (c == L'"' && i_ > first) {
                std::size_t k = i_ + 1;
                for (; k < s_.size() && s_[k] != L'"'; ++k)
                    if (s_[k] != L'\\')
                        pattern += s_[k];
                i_ = std::min(k + 1, s_.size());
            } else if (c == L'"') {
                break;
            } else {
                pattern += c;
                ++i_;
            }
        }
        if (!pattern.empty())
            r_ += FormatFloat(pattern, value);
    }

    const String& s_;
    double x_;
    bool suppressNeg_;
    bool date1904_;
    bool& hasTime_;
    bool& hasDate_;
    TColor& color_;
    std::size_t i_ = 0;
    bool afterHours_ = false;
    String r_;
};

String FormatNumber(double x, bool isDate, const String& format, bool date1904, const TFormatSettings* settings,
                    bool& hasTime, bool& hasDate, TColor& color)
{
    // Not-a-number and the infinities have no section; they show as the platform writes them.
    if (!std::isfinite(x))
        return FloatToStr(x);
    const TSections sections = SplitSections(format, x);
    bool suppressNeg = false;
    const int chosen = ChooseSection(sections, x, suppressNeg);
    if (chosen < 0)
        return NoSection;
    const String& section = sections.text[chosen];
    const TFormatSettings& fs = settings ? *settings : DefaultSettings();
    const double dateValue = date1904 ? x + Offset1904 : x;
    if (ContainsUpper(section, L"[$-F800]")) {
        hasDate = true;
        return FormatDatePart(fs.LongDateFormat, dateValue, fs);
    }
    if (ContainsUpper(section, L"[$-F400]")) {
        hasTime = true;
        return FormatDatePart(fs.LongTimeFormat, dateValue, fs);
    }
    if (isDate && x < 0)
        return NoSection;
    return TSectionRenderer(section, x, suppressNeg, date1904, hasTime, hasDate, color).Render();
}

String FormatText(const String& text, const String& format, TColor& color)
{
    const TSections sections = SplitSections(format, 0);
    const String& s = sections.text[sections.count == 4 ? 3 : 0];
    if (sections.count != 4 && s.find(L'@') == String::npos) {
        TColor named = color;
        const std::size_t after = LeadingColor(s, named);
        if (after > 0 && (after == s.size() || CompareText(s.substr(after), L"GENERAL") == 0))
            color = named;
        return text;
    }
    std::size_t i = LeadingColor(s, color);
    String r;
    while (i < s.size()) {
        const std::size_t before = i;
        const wchar_t c = s[i];
        if (c == L'[') {
            const std::size_t close = s.find(L']', i + 1);
            if (close != String::npos) {
                if (i + 1 < s.size() && s[i + 1] == L'$') {
                    const std::size_t stop = s.find_first_of(L"-]", i + 2);
                    r += s.substr(i + 2, stop - i - 2);
                }
                i = close + 1;
            }
        } else if (IsLiteral(c)) {
            r += c;
            ++i;
        } else if (c == L'\\' || c == L'*') {
            if (i + 1 < s.size())
                r += s[i + 1];
            i = std::min(i + 2, s.size());
        } else if (c == L'_') {
            if (i + 1 < s.size())
                r += L' ';
            i = std::min(i + 2, s.size());
        } else if (c == L'"') {
            const std::size_t close = s.find(L'"', i + 1);
            const std::size_t end = close == String::npos ? s.size() : close;
            r += s.substr(i + 1, end - i - 1);
            i = close == String::npos ? s.size() : close + 1;
        } else if (c == L'@') {
            r += text;
            ++i;
        }
        if (i == before)
            return text;
    }
    return r;
}

} // namespace

String FormatExcelValueEx(const Variant& Value, const String& Format, bool Date1904,
                          const TFormatSettings* Settings, bool& HasTime, bool& HasDate, TColor& Color)
{
    HasTime = false;
    HasDate = false;
    if (Value.IsEmpty() || Value.IsNull())
        return String();
    if (Format.empty())
        return Value.ToString();
    switch (Value.VarType()) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_UI1:
    case VT_I8:
        return FormatNumber(Value.ToDouble(), false, Format, Date1904, Settings, HasTime, HasDate, Color);
    case VT_DATE:
        return FormatNumber(V_DATE(&Value.Raw()), true, Format, Date1904, Settings, HasTime, HasDate, Color);
    case VT_BOOL:
        return V_BOOL(&Value.Raw()) ? L"TRUE" : L"FALSE";
    case VT_BSTR:
        return FormatText(Value.ToString(), Format, Color);
    default:
        return Value.ToString();
    }
}

String FormatExcelValueColor(const Variant& Value, const String& Format, bool Date1904,
                             const TFormatSettings* Settings, TColor& Color)
{
    bool hasTime = false, hasDate = false;
    return FormatExcelValueEx(Value, Format, Date1904, Settings, hasTime, hasDate, Color);
}

String FormatExcelValue(const Variant& Value, const String& Format)
{
    TColor color = 0;
    return FormatExcelValueColor(Value, Format, false, nullptr, color);
}

void asgxlsfmt_Initialize()
{
    ++unitReferences;
}

void asgxlsfmt_Finalize()
{
    if (--unitReferences <= 0) {
        unitReferences = 0;
        cachedSettings.reset();
    }
}
