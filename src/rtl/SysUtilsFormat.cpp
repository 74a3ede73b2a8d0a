// Format: the class library's printf-like formatter.
#include "SysUtilsFloat.h"

using namespace rtl_detail;

namespace {

[[noreturn]] void FormatError(const String& fmt)
{
    throw EConvertError(L"Format '" + fmt + L"' invalid or incompatible with argument");
}

[[noreturn]] void NoArgument(const String& fmt)
{
    throw EConvertError(L"No argument for format '" + fmt + L"'");
}

double AsFloat(const TVarRec& a, const String& fmt)
{
    if (a.VType == TVarRec::vtExtended)
        return a.VExtended;
    FormatError(fmt);
}

Int64 AsInteger(const TVarRec& a, const String& fmt)
{
    if (a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64)
        return a.VInt;
    FormatError(fmt);
}

} // namespace

String Format(const String& Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings)
{
    const TVarRec* args = Args.begin();
    const int argCount = static_cast<int>(Args.size());
    int next = 0;
    String result;
    std::size_t i = 0, n = Fmt.size();

    auto takeArg = [&]() -> const TVarRec& {
        if (next >= argCount)
            NoArgument(Fmt);
        return args[next++];
    };
    // A number, or "*" taking an Integer argument; -1 when neither is there.
    auto readNumber = [&]() -> int {
        if (i < n && Fmt[i] == L'*') {
            ++i;
            return static_cast<int>(AsInteger(takeArg(), Fmt));
        }
        if (i >= n || Fmt[i] < L'0' || Fmt[i] > L'9')
            return -1;
        int v = 0;
        while (i < n && Fmt[i] >= L'0' && Fmt[i] <= L'9')
            v = v * 10 + (Fmt[i++] - L'0');
        return v;
    };

    while (i < n) {
        wchar_t c = Fmt[i++];
        if (c != L'%') {
            result += c;
            continue;
        }
        if (i < n && Fmt[i] == L'%') {
            result += L'%';
            ++i;
            continue;
        }
        int number = readNumber();
        if (i < n && Fmt[i] == L':') {
            if (number < 0)
                FormatError(Fmt);
            next = number;
            ++i;
            number = -1;
        }
        bool left = false;
        if (number < 0 && i < n && Fmt[i] == L'-') {
            left = true;
            ++i;
        }
        int width = number >= 0 ? number : readNumber();
        int precision = -1;
        if (i < n && Fmt[i] == L'.') {
            ++i;
            precision = readNumber();
            if (precision < 0)
                precision = 0;
        }
        if (i >= n)
            FormatError(Fmt);
        wchar_t type = static_cast<wchar_t>(towlower(Fmt[i++]));
        const TVarRec& arg = takeArg();
        String text;
        switch (type) {
        case L'd': {
            Int64 v = AsInteger(arg, Fmt);
            String digits = std::to_wstring(v < 0 ? 0ULL - static_cast<unsigned long long>(v)
                                                  : static_cast<unsigned long long>(v));
            if (precision > static_cast<int>(digits.size()))
                digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), L'0');
            text = (v < 0 ? L"-" : L"") + digits;
            break;
        }
        case L'u': {
            Int64 v = AsInteger(arg, Fmt);
            unsigned long long u = arg.VType == TVarRec::vtInteger
                                       ? static_cast<std::uint32_t>(v)
                                       : static_cast<unsigned long long>(v);
            text = std::to_wstring(u);
            if (precision > static_cast<int>(text.size()))
                text.insert(0, static_cast<std::size_t>(precision) - text.size(), L'0');
            break;
        }
        case L'x': {
            Int64 v = AsInteger(arg, Fmt);
            // An Integer shows its 32-bit pattern, as the class library's does.
            if (arg.VType == TVarRec::vtInteger)
                v = static_cast<std::uint32_t>(v);
            text = IntToHex(v, precision < 0 ? 0 : precision);
            break;
        }
        case L'e':
            text = FloatText(AsFloat(arg, Fmt), ffExponent, precision < 0 ? 15 : precision, 3, Settings);
            break;
        case L'f':
            text = FloatText(AsFloat(arg, Fmt), ffFixed, 18, precision < 0 ? 2 : precision, Settings);
            break;
        case L'g':
            text = FloatText(AsFloat(arg, Fmt), ffGeneral, precision < 0 ? 15 : precision, 0, Settings);
            break;
        case L'n':
            text = FloatText(AsFloat(arg, Fmt), ffNumber, 18, precision < 0 ? 2 : precision, Settings);
            break;
        case L'm':
            text = FloatText(AsFloat(arg, Fmt), ffCurrency, 18,
                             precision < 0 ? Settings.CurrencyDecimals : precision, Settings);
            break;
        case L'p':
            if (arg.VType != TVarRec::vtPointer)
                FormatError(Fmt);
            text = IntToHex(static_cast<Int64>(reinterpret_cast<std::uintptr_t>(arg.VPointer)),
                            static_cast<int>(sizeof(void*) * 2));
            break;
        case L's':
            if (arg.VType == TVarRec::vtString || arg.VType == TVarRec::vtChar)
                text = arg.VString;
            else
                FormatError(Fmt);
            if (precision >= 0 && precision < static_cast<int>(text.size()))
                text.resize(static_cast<std::size_t>(precision));
            break;
        default:
            FormatError(Fmt);
        }
        if (width > static_cast<int>(text.size())) {
            String pad(static_cast<std::size_t>(width) - text.size(), L' ');
            text = left ? text + pad : pad + text;
        }
        result += text;
    }
    return result;
}

String Format(const String& Fmt, std::initializer_list<TVarRec> Args)
{
    return Format(Fmt, Args, FormatSettings);
}
