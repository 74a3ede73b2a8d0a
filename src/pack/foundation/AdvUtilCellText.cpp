// What a cell text holds, and number texts made convertible.
#include "AdvUtil.h"
#include "HTMLMarkup.h"
#include "SysUtils.h"

Byte ClassifyCellText(const String& Text, bool DetectHTML)
{
    if (Text.starts_with(L"="))
        return ctkFormula;
    if (IsPackedWideText(Text))
        return ctkPackedWide;
    if (Text.starts_with(L"{\\"))
        return ctkRTF;
    if (DetectHTML)
        for (const wchar_t* tag : {L"</", L"<IM", L"<BR", L"<CO"})
            if (HTMLFindNoCase(Text, tag) != String::npos)
                return ctkHTML;
    if (Text.find(L"://") != String::npos || Text.find(L"mailto:") != String::npos)
        return ctkURL;
    return ctkPlain;
}

String NormalizeNumberText(const String& s)
{
    const wchar_t decimal = FormatSettings.DecimalSeparator;
    const wchar_t thousand = FormatSettings.ThousandSeparator;
    std::size_t i = 0;
    bool negative = false;
    for (; i < s.size() && !IsNumericChar(s[i]) && s[i] != decimal; ++i)
        negative = negative || s[i] == L'-' || s[i] == L'(';
    String number;
    for (; i < s.size(); ++i) {
        const wchar_t ch = s[i];
        if (ch == thousand && thousand != decimal)
            continue;
        if (ch == decimal)
            number += L'.';
        else if ((ch >= L'0' && ch <= L'9') || ch == L'.' || ch == L'e' || ch == L'E' || ch == L'+' || ch == L'-')
            number += ch;
        else
            break;
    }
    return negative ? L"-" + number : number;
}
