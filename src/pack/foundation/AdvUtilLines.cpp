// Lines of a cell text.
#include "AdvUtil.h"

int CountTextLines(const String& S, bool MultiLine)
{
    if (!MultiLine)
        return 1;
    int lines = 1;
    for (size_t i = 0; i < S.size(); ++i)
        if (S[i] == L'\r') {
            ++i;
            if (i + 1 < S.size())
                ++lines;
        }
    return lines;
}

void QuoteMultilineCell(String& S)
{
    String quoted = L"\"";
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == L'\r' && i + 1 < S.size() && S[i + 1] == L'\n') {
            quoted += L'\v';
            ++i;
        } else {
            quoted += S[i];
        }
    }
    S = quoted + L"\"";
}
