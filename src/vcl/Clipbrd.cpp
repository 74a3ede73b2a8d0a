// TClipboard over the system clipboard.
#include "Clipbrd.h"
#include "ScopeExit.h"
#include <cstring>

namespace {

TClipboard* theClipboard = nullptr;

// Another program may hold the clipboard for a moment; try a few times.
constexpr int OpenAttempts = 10;
constexpr DWORD OpenRetryDelayMs = 10;

} // namespace

TClipboard::TClipboard() = default;

TClipboard::~TClipboard()
{
    if (openRefCount_ > 0)
        CloseClipboard();
}

HWND TClipboard::Window()
{
    // The clipboard's owner: a message-only window of our own, so that the
    // data outlives any form.
    if (!window_)
        window_.Reset(CreateWindowExW(0, L"STATIC", L"Clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      HInstance(), nullptr));
    return window_.Get();
}

void TClipboard::Open()
{
    if (openRefCount_ == 0) {
        HWND owner = Window();
        bool opened = false;
        DWORD error = 0;
        for (int attempt = 0; attempt < OpenAttempts && !opened; ++attempt) {
            opened = OpenClipboard(owner) != FALSE;
            if (!opened) {
                error = GetLastError();
                Sleep(OpenRetryDelayMs);
            }
        }
        if (!opened)
            throw EClipboardException(L"Cannot open clipboard: " + SysErrorMessage(error));
        emptied_ = false;
    }
    ++openRefCount_;
}

void TClipboard::Close()
{
    if (openRefCount_ == 0)
        return;
    if (--openRefCount_ == 0)
        CloseClipboard();
}

void TClipboard::Clear()
{
    Open();
    EmptyClipboard();
    emptied_ = true;
    Close();
}

void TClipboard::Adding()
{
    if (openRefCount_ > 0 && !emptied_) {
        EmptyClipboard();
        emptied_ = true;
    }
}

bool TClipboard::HasFormat(Word Format) { return IsClipboardFormatAvailable(Format) != FALSE; }

HANDLE TClipboard::GetAsHandle(Word Format)
{
    Open();
    HANDLE data = GetClipboardData(Format);
    Close();
    return data;
}

void TClipboard::SetAsHandle(Word Format, HANDLE Value)
{
    Open();
    const TScopeExit close([this] { Close(); });
    Adding();
    if (!SetClipboardData(Format, Value))
        throw EClipboardException(L"Cannot put data on the clipboard: " + SysErrorMessage(GetLastError()));
}

void TClipboard::SetBuffer(Word Format, const void* Buffer, int Size)
{
    if (Size < 0 || (!Buffer && Size > 0))
        throw EClipboardException(L"Invalid clipboard buffer");
    TGlobalMemory memory(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(Size));
    {
        TGlobalLock lock(memory.Get());
        if (!lock.Data())
            throw EOutOfResources(L"Out of system resources");
        if (Size > 0)
            std::memcpy(lock.Data(), Buffer, static_cast<size_t>(Size));
    }
    SetAsHandle(Format, memory.Get());
    memory.Release(); // the clipboard has it now
}

String TClipboard::GetAsText()
{
    Open();
    String text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        TGlobalLock lock(data);
        if (const auto* chars = static_cast<const wchar_t*>(lock.Data())) {
            // Stop at the terminator, or at the block's end when it has none.
            size_t max = lock.Size() / sizeof(wchar_t);
            text.assign(chars, std::find(chars, chars + max, L'\0'));
        }
    }
    Close();
    return text;
}

void TClipboard::SetAsText(const String& Value)
{
    SetBuffer(CF_UNICODETEXT, Value.c_str(), static_cast<int>((Value.size() + 1) * sizeof(wchar_t)));
}

int TClipboard::GetTextBuf(wchar_t* Buffer, int BufSize)
{
    if (!Buffer || BufSize <= 0)
        return 0;
    String text = GetAsText();
    int length = static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(BufSize - 1)));
    std::copy(text.begin(), text.begin() + length, Buffer);
    Buffer[length] = L'\0';
    return length;
}

void TClipboard::SetTextBuf(const wchar_t* Buffer) { SetAsText(Buffer ? Buffer : L""); }

std::vector<Word> TClipboard::EnumFormats()
{
    Open();
    std::vector<Word> formats;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
        formats.push_back(static_cast<Word>(format));
    Close();
    return formats;
}

int TClipboard::GetFormatCount() { return CountClipboardFormats(); }

Word TClipboard::GetFormats(int Index)
{
    std::vector<Word> formats = EnumFormats();
    if (Index < 0 || Index >= static_cast<int>(formats.size()))
        throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
    return formats[static_cast<size_t>(Index)];
}

void TClipboard::Assign(TPersistent* Source)
{
    TGraphic* graphic = dynamic_cast<TGraphic*>(Source);
    if (auto* picture = dynamic_cast<TPicture*>(Source))
        graphic = picture->GetGraphic();
    if (!graphic) {
        TPersistent::Assign(Source);
        return;
    }
    Word format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    graphic->SaveToClipboardFormat(format, data, palette);
    // Ours to free until the clipboard takes them.
    TBitmapHandle ownedBitmap(format == CF_BITMAP ? static_cast<HBITMAP>(data) : nullptr);
    TGlobalMemory ownedMemory(format == CF_BITMAP ? nullptr : data);
    TPaletteHandle ownedPalette(palette);
    Open();
    const TScopeExit close([this] { Close(); });
    Adding();
    if (!SetClipboardData(format, data))
        throw EClipboardException(L"Cannot put data on the clipboard: " + SysErrorMessage(GetLastError()));
    ownedBitmap.Release();
    ownedMemory.Release();
    if (palette && SetClipboardData(CF_PALETTE, palette))
        ownedPalette.Release();
}

void TClipboard::AssignTo(TPersistent* Dest)
{
    auto* picture = dynamic_cast<TPicture*>(Dest);
    auto* bitmap = dynamic_cast<TBitmap*>(Dest);
    if (!picture && !bitmap) {
        TPersistent::AssignTo(Dest);
        return;
    }
    std::vector<Word> formats = EnumFormats();
    Open();
    const TScopeExit close([this] { Close(); });
    HPALETTE palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
    bool loaded = false;
    for (Word format : formats) {
        bool usable = picture ? TPicture::SupportsClipboardFormat(format) : format == CF_DIB || format == CF_BITMAP;
        if (!usable)
            continue;
        if (HANDLE data = GetClipboardData(format)) {
            if (picture)
                picture->LoadFromClipboardFormat(format, data, palette);
            else
                bitmap->LoadFromClipboardFormat(format, data, palette);
            loaded = true;
            break;
        }
    }
    if (!loaded)
        throw EInvalidGraphic(L"Unsupported clipboard format");
}

// ---------------------------------------------------------------------------
TClipboard* Clipboard()
{
    if (!theClipboard)
        theClipboard = New<TClipboard>();
    return theClipboard;
}

TClipboard* SetClipboard(TClipboard* NewClipboard) { return std::exchange(theClipboard, NewClipboard); }

void Clipbrd_Finalize() { FreeAndNil(theClipboard); }
