// Filter expressions: conditions joined by operators strictly left to right,
// each a comparison or a wildcard pattern.
#include "AdvUtil.h"
#include "SysUtils.h"
#include <algorithm>
#include <vector>

String RemoveSpacesOutsideQuotes(const String& S)
{
    String out;
    out.reserve(S.size());
    int quotes = 0;
    for (wchar_t ch : S) {
        if (ch == L'"')
            ++quotes;
        if (ch != L' ' || quotes % 2 == 1)
            out += ch;
    }
    return out;
}

int FindClosingParenthesis(const String& S)
{
    int opened = 0, closed = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == L'(')
            ++opened;
        else if (S[i] == L')' && ++closed == opened)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool FindOperatorOutsideQuotes(const String& Operators, const String& S, wchar_t& Op, int& Pos)
{
    int quotes = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == L'"')
            ++quotes;
        else if (quotes % 2 == 0 && Operators.find(S[i]) != String::npos) {
            Op = S[i];
            Pos = static_cast<int>(i) + 1;
            return true;
        }
    }
    Op = 0;
    Pos = -1;
    return false;
}

String NumberTextToDotDecimal(const String& S)
{
    String out;
    out.reserve(S.size());
    for (wchar_t ch : S) {
        if (ch == FormatSettings.DecimalSeparator)
            out += L'.';
        else if (ch != FormatSettings.ThousandSeparator)
            out += ch;
    }
    return out;
}

bool ParseLocaleDateTime(const String& S, TDateTime& DateTime)
{
    const String format = AnsiUpperCase(FormatSettings.ShortDateFormat);
    const wchar_t dateSeparator = FormatSettings.DateSeparator;
    const wchar_t timeSeparator = FormatSettings.TimeSeparator;
    const size_t d = format.find(L'D'), m = format.find(L'M'), y = format.find(L'Y');
    if (d == String::npos || m == String::npos || y == String::npos)
        return false;

    const size_t first = S.find(dateSeparator);
    if (first == String::npos)
        return false;
    const size_t second = S.find(dateSeparator, first + 1);
    if (second == String::npos)
        return false;
    String fields[3] = {S.substr(0, first), S.substr(first + 1, second - first - 1)};
    String rest = Trim(S.substr(second + 1));
    String timePart;
    const size_t space = rest.find(L' ');
    if (space != String::npos) {
        fields[2] = rest.substr(0, space);
        timePart = Trim(rest.substr(space));
    } else {
        fields[2] = rest;
    }
    Integer values[3] = {};
    for (int i = 0; i < 3; ++i)
        if (!TryStrToInt(fields[i], values[i]))
            return false;
    // The fields stand in the order of D, M and Y in the format.
    auto rank = [&](size_t at) { return (at > d) + (at > m) + (at > y); };
    const Integer day = values[rank(d)], month = values[rank(m)], year = values[rank(y)];
    if (day >= 32 || month > 12)
        return false;
    TDateTime date = 0;
    if (day < 1 || month < 1 || year < 1 || year > 9999 ||
        !TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), date))
        return false;
    if (timePart.empty()) {
        DateTime = date;
        return true;
    }
    const size_t t1 = timePart.find(timeSeparator);
    if (t1 == String::npos) {
        DateTime = date;
        return false;
    }
    Integer hours = 0, minutes = 0, seconds = 0;
    if (!TryStrToInt(timePart.substr(0, t1), hours) || hours > 23)
        return false;
    const size_t t2 = timePart.find(timeSeparator, t1 + 1);
    if (t2 != String::npos) {
        if (!TryStrToInt(timePart.substr(t1 + 1, t2 - t1 - 1), minutes) ||
            !TryStrToInt(timePart.substr(t2 + 1), seconds) || seconds > 60)
            return false;
    } else if (!TryStrToInt(timePart.substr(t1 + 1), minutes)) {
        return false;
    }
    TDateTime time = 0;
    if (minutes > 59 || hours < 0 || minutes < 0 || seconds < 0 ||
        !TryEncodeTime(static_cast<Word>(hours), static_cast<Word>(minutes), static_cast<Word>(seconds), 0, time))
        return false;
    DateTime = date + time;
    return true;
}

namespace {

// The operand after the operator at At: an optional "=" (inclusive), spaces,
// then up to a space, the end, or an "&" or "|" outside double quotes; its
// enclosing double quotes dropped.
String ReadOperand(const String& Pattern, size_t At, bool& Inclusive)
{
    size_t i = At + 1;
    Inclusive = i < Pattern.size() && Pattern[i] == L'=';
    if (Inclusive)
        ++i;
    while (i < Pattern.size() && Pattern[i] == L' ')
        ++i;
    bool quoted = i < Pattern.size() && Pattern[i] == L'"';
    if (quoted)
        ++i;
    String operand;
    for (; i < Pattern.size(); ++i) {
        const wchar_t ch = Pattern[i];
        if (ch == L' ' || (!quoted && (ch == L'&' || ch == L'|')))
            break;
        if (ch == L'"')
            quoted = !quoted;
        operand += ch;
    }
    if (!operand.empty() && operand.back() == L'"')
        operand.pop_back();
    return operand;
}

// Value against Operand: as numbers, else as date-times, else as texts;
// Order is the sign the comparison asks for (1 greater, -1 less).
bool Compare(const String& Value, const String& Operand, int Order, bool Inclusive)
{
    auto holds = [&](auto difference) { return difference * Order > 0 || (Inclusive && difference == 0); };
    TFormatSettings dot = FormatSettings;
    dot.DecimalSeparator = L'.';
    double v = 0, o = 0;
    TDateTime vd = 0, od = 0;
    const bool vDate = ParseLocaleDateTime(Value, vd);
    const bool oDate = ParseLocaleDateTime(Operand, od);
    if (TryStrToFloat(NumberTextToDotDecimal(Value), v, dot) && TryStrToFloat(NumberTextToDotDecimal(Operand), o, dot) &&
        !vDate && !oDate)
        return holds(v < o ? -1 : v > o ? 1 : 0);
    if (vDate && oDate)
        return holds(vd < od ? -1 : vd > od ? 1 : 0);
    const int text = CompareStr(Value.substr(0, 255), Operand.substr(0, 255));
    return holds(text < 0 ? -1 : text > 0 ? 1 : 0);
}

// The wildcard match. A "*" tries the rest of the pattern against every
// suffix of the value; each such try starts afresh (no quote, no negation),
// so its answer depends only on where pattern and value stand and is kept,
// which makes the match polynomial however many stars there are.
class TWildcard {
public:
    TWildcard(const String& Pattern, const String& Value) : p_(Pattern), v_(Value)
    {
        if (Pattern.find(L'*') != String::npos)
            known_.assign((p_.size() + 1) * (v_.size() + 1), Unknown);
    }

    bool Match(size_t pi, size_t vi)
    {
        bool quote = false;
        bool negate = false;
        bool matched = true;
        while (pi < p_.size()) {
            const wchar_t ch = p_[pi];
            if (ch == L'!') {
                negate = true;
                quote = false;
                ++pi;
            } else if (ch == L'"' && !quote) {
                quote = true;
                ++pi;
            } else if (ch == L'*') {
                while (pi < p_.size() && p_[pi] == L'*')
                    ++pi;
                matched = false;
                for (size_t k = v_.size() + 1; k-- > vi;)
                    if (Rest(pi, k)) {
                        matched = true;
                        break;
                    }
                return matched != negate;
            } else if (vi >= v_.size() || (ch != L'?' && ch != v_[vi])) {
                // "?" takes any character; anything else, a quoted double
                // quote too, must be the value's own.
                matched = false;
                break;
            } else {
                quote = false;
                ++pi;
                ++vi;
            }
        }
        if (matched && vi < v_.size())
            matched = false;
        return matched != negate;
    }

private:
    static constexpr signed char Unknown = -1;

    bool Rest(size_t pi, size_t vi)
    {
        signed char& known = known_[pi * (v_.size() + 1) + vi];
        if (known == Unknown)
            known = Match(pi, vi) ? 1 : 0;
        return known == 1;
    }

    const String& p_;
    const String& v_;
    std::vector<signed char> known_;
};

} // namespace

bool MatchFilterPattern(const wchar_t* Pattern, const wchar_t* Value)
{
    const String pattern = Pattern ? Pattern : L"";
    const String value = Value ? Value : L"";
    const size_t gtAt = pattern.find(L'>');
    const size_t ltAt = pattern.find(L'<');
    bool greater = true, less = true;
    bool inclusive = false;
    if (gtAt != String::npos) {
        const String operand = ReadOperand(pattern, gtAt, inclusive);
        greater = Compare(value, operand, 1, inclusive);
    }
    if (ltAt != String::npos) {
        const String operand = ReadOperand(pattern, ltAt, inclusive);
        less = Compare(value, operand, -1, inclusive);
    }
    const bool negated = pattern.find(L'!') != String::npos;
    const bool greaterPresent = gtAt != String::npos || negated;
    const bool lessPresent = ltAt != String::npos || negated;
    if (pattern.find(L'^') != String::npos && (greaterPresent || lessPresent))
        return greater || less;
    if (pattern.find(L'&') != String::npos && greaterPresent && lessPresent)
        return greater && less;
    if (gtAt != String::npos && greater)
        return true;
    if (ltAt != String::npos && less)
        return true;
    return TWildcard(pattern, value).Match(0, 0);
}

bool MatchFilterCondition(const String& Condition, const String& Value, bool CaseSensitive)
{
    if (Condition == L"\"\"")
        return Value.empty();
    if (CaseSensitive)
        return MatchFilterPattern(Condition.c_str(), Value.c_str());
    return MatchFilterPattern(AnsiUpperCase(Condition).c_str(), AnsiUpperCase(Value).c_str());
}

bool MatchFilterExpression(const String& Filter, const String& Value, bool CaseSensitive)
{
    String filter = RemoveSpacesOutsideQuotes(Trim(Filter));
    if (filter.starts_with(L"="))
        filter.erase(0, 1);
    bool result = false;
    wchar_t pending = 0;
    auto combine = [&](bool v) {
        if (pending == 0)
            result = v;
        else if (pending == L'&')
            result = result && v;
        else if (pending == L';' || pending == L'^' || pending == L'|')
            result = result || v;
    };
    wchar_t op = 0;
    int p = 0;
    while (FindOperatorOutsideQuotes(L"(;^&|", filter, op, p)) {
        if (filter.starts_with(L"(")) {
            // A group without its ")" runs to the end of the filter.
            int q = FindClosingParenthesis(filter);
            if (q == 0)
                q = static_cast<int>(filter.size()) + 1;
            const bool v = MatchFilterExpression(filter.substr(1, static_cast<size_t>(q) - 2), Value, CaseSensitive);
            filter.erase(0, std::min(static_cast<size_t>(q), filter.size()));
            combine(v);
        } else {
            combine(MatchFilterCondition(filter.substr(0, static_cast<size_t>(p) - 1), Value, CaseSensitive));
            filter.erase(0, static_cast<size_t>(p));
        }
        pending = op;
    }
    combine(MatchFilterCondition(filter, Value, CaseSensitive));
    return result;
}
