#include "acEncodings.h"

String EncodingCaptions[6];

void acEncodings_Initialize()
{
    static const wchar_t* const captions[6] = {L"ANSI",  L"ASCII", L"Unicode", L"Big Endian Unicode",
                                               L"UTF-8", L"UTF-7"};
    for (int i = 0; i < 6; ++i)
        EncodingCaptions[i] = captions[i];
}

void acEncodings_Finalize()
{
    for (String& caption : EncodingCaptions)
        caption.clear();
}
