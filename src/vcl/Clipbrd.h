// TClipboard: the system clipboard as the class library presents it.
#pragma once

#include "Graphics.h"

TAVELIN_EXCEPTION(EClipboardException, Exception)

class TClipboard : public TPersistent {
public:
    TClipboard();
    ~TClipboard() override;

    // Open and Close nest. While open, the first item put empties the
    // clipboard and later ones join it; outside, every put empties it.
    void Open();
    void Close();
    void Clear();

    bool HasFormat(Word Format);
    // The clipboard's own handle for Format (null when absent); the caller
    // must not free it.
    HANDLE GetAsHandle(Word Format);
    // The clipboard takes Value; when it cannot, EClipboardException is
    // raised and Value still belongs to the caller.
    void SetAsHandle(Word Format, HANDLE Value);
    // Size bytes of Buffer under Format (a registered format, for one).
    void SetBuffer(Word Format, const void* Buffer, int Size);

    String GetAsText();
    void SetAsText(const String& Value);
    int GetTextBuf(wchar_t* Buffer, int BufSize);
    void SetTextBuf(const wchar_t* Buffer);

    int GetFormatCount();
    Word GetFormats(int Index);

    // Puts a graphic or a picture on the clipboard.
    void Assign(TPersistent* Source) override;

protected:
    // Fills a picture or bitmap from the clipboard.
    void AssignTo(TPersistent* Dest) override;

private:
    void Adding();
    HWND Window();
    std::vector<Word> EnumFormats();

    TWindowHandle window_;
    int openRefCount_ = 0;
    bool emptied_ = false;
};

// The program's clipboard object, made when first asked for.
TClipboard* Clipboard();
// Replaces it and returns the old one (which the caller now owns).
TClipboard* SetClipboard(TClipboard* NewClipboard);

// Unit shut-down: frees the clipboard object.
void Clipbrd_Finalize();
