// Packed wide text, the clipboard's HTML block and the layered-window calls.
#include "AdvUtil.h"
#include <cstdio>
#include <iterator>

namespace {

const String PackedPrefix = L"|\\";

} // namespace

String PackWideText(const String& Text)
{
    String packed = PackedPrefix;
    packed.reserve(PackedPrefix.size() + 2 * Text.size());
    for (wchar_t unit : Text) {
        packed += static_cast<wchar_t>(unit >> 8);
        packed += static_cast<wchar_t>(unit & 0xFF);
    }
    return packed;
}

bool IsPackedWideText(const String& S)
{
    return S.starts_with(PackedPrefix);
}

String UnpackWideText(const String& S)
{
    if (!IsPackedWideText(S))
        return S;
    String text;
    text.reserve((S.size() - PackedPrefix.size()) / 2);
    for (size_t i = PackedPrefix.size(); i + 1 < S.size(); i += 2)
        text += static_cast<wchar_t>(((S[i] & 0xFF) << 8) | (S[i + 1] & 0xFF));
    return text;
}

namespace {

// Bytes of the text written as UTF-8.
size_t UTF8Length(const String& S)
{
    return S.empty() ? 0
                     : static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, S.c_str(), static_cast<int>(S.size()),
                                                               nullptr, 0, nullptr, nullptr));
}

String EightDigits(const wchar_t* Name, size_t Value)
{
    wchar_t line[40];
    std::swprintf(line, std::size(line), L"%ls%.8u\r\n", Name, static_cast<unsigned>(Value));
    return line;
}

} // namespace

void WrapCFHTML(String& Html)
{
    // The block goes to the clipboard as UTF-8, so its offsets count UTF-8
    // bytes and the page says so; a Cyrillic fragment keeps its letters.
    const String doctype = L"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    const String opening = L"<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
                           L"</head><body><!--StartFragment-->";
    const String closing = L"<!--EndFragment--></body></html>";
    constexpr size_t HeaderLength = 97;
    const size_t fragment = UTF8Length(Html);
    const size_t startFragment = HeaderLength + doctype.size() + opening.size();
    const size_t endFragment = startFragment + fragment;
    String block = L"Version:1.0\r\n";
    block += EightDigits(L"StartHTML:", HeaderLength);
    block += EightDigits(L"EndHTML:", endFragment + closing.size());
    block += EightDigits(L"StartFragment:", startFragment);
    block += EightDigits(L"EndFragment:", endFragment);
    Html = block + doctype + opening + Html + closing;
}

bool CallUpdateLayeredWindow(HWND Window, HDC DstDC, POINT* DstPoint, SIZE* Size, HDC SrcDC, POINT* SrcPoint,
                             COLORREF Key, BLENDFUNCTION* Blend, DWORD Flags)
{
    using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                               DWORD);
    const auto update = reinterpret_cast<TUpdateLayeredWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"USER32.DLL"), "UpdateLayeredWindow")));
    return !update || update(Window, DstDC, DstPoint, Size, SrcDC, SrcPoint, Key, Blend, Flags) != FALSE;
}

bool CallSetLayeredWindowAttributes(HWND Window, COLORREF Key, BYTE Alpha, DWORD Flags)
{
    using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    const auto set = reinterpret_cast<TSetLayeredWindowAttributes>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"USER32.DLL"), "SetLayeredWindowAttributes")));
    return !set || set(Window, Key, Alpha, Flags) != FALSE;
}
