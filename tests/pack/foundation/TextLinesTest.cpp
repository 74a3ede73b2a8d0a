// Lines of a cell text: how many a text has, and a multi-line text quoted
// for a spreadsheet.
#include "AdvUtil.h"
#include <gtest/gtest.h>

TEST(TextLines, CountsLinesThatHoldText)
{
    struct Case {
        const wchar_t* text;
        bool multiLine;
        int lines;
    };
    const Case cases[] = {
        {L"a\r\nb\r\nc", false, 1}, {L"", true, 1},        {L"one", true, 1},       {L"a\r\nb", true, 2},
        {L"a\r\nb\r\nc", true, 3},  {L"a\r\n", true, 1},   {L"a\r\n\r\nb", true, 3}, {L"a\rbc", true, 2},
        {L"a\rb", true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountTextLines(c.text, c.multiLine), c.lines) << testing::PrintToString(String(c.text));
}

TEST(TextLines, QuotesAMultiLineTextForASpreadsheet)
{
    String text = L"first\r\nsecond \"quoted\"\r\n";
    QuoteMultilineCell(text);
    EXPECT_EQ(text, L"\"first\vsecond \"quoted\"\v\"");
}
