#include "AdvUtil.h"

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
