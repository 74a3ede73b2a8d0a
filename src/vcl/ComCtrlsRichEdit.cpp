// The rich edit: the platform's control, with RTF streamed through
// EM_STREAMIN and EM_STREAMOUT.
#include "ComCtrls.h"
#include "UniqueHandle.h"
#include <richedit.h>
#include <algorithm>
#include <cstring>

namespace {

// The control's library stays loaded for the life of the process once a
// rich edit was made.
void LoadRichEditLibrary()
{
    static const TModuleHandle library(LoadLibraryW(L"riched20.dll"));
    (void)library;
}

struct TStreamState {
    const AnsiString* In = nullptr;
    std::size_t Position = 0;
    AnsiString Out;
};

DWORD CALLBACK ReadIn(DWORD_PTR Cookie, LPBYTE Buffer, LONG Wanted, LONG* Given)
{
    auto* state = reinterpret_cast<TStreamState*>(Cookie);
    const std::size_t left = state->In->size() - state->Position;
    const std::size_t n = std::min(left, static_cast<std::size_t>(Wanted));
    std::memcpy(Buffer, state->In->data() + state->Position, n);
    state->Position += n;
    *Given = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK WriteOut(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Taken)
{
    auto* state = reinterpret_cast<TStreamState*>(Cookie);
    state->Out.append(reinterpret_cast<const char*>(Buffer), static_cast<std::size_t>(Count));
    *Taken = Count;
    return 0;
}

} // namespace

TRichEdit::TRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) { LoadRichEditLibrary(); }

void TRichEdit::CreateParams(TCreateParams& Params)
{
    TCustomMemo::CreateParams(Params);
    CreateSubClass(Params, RICHEDIT_CLASSW);
}

void TRichEdit::LoadRTF(const AnsiString& Rtf)
{
    TStreamState state;
    state.In = &Rtf;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&state);
    stream.pfnCallback = ReadIn;
    const WPARAM format = Rtf.starts_with("{\\rtf") ? SF_RTF : SF_TEXT;
    SendMessageW(GetHandle(), EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

AnsiString TRichEdit::SaveRTF()
{
    TStreamState state;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&state);
    stream.pfnCallback = WriteOut;
    SendMessageW(GetHandle(), EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return state.Out;
}
