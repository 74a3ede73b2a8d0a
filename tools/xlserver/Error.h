// The one error type of the workbook file code: a message for people.
#pragma once
#include <stdexcept>
#include <string>

namespace xlsx {

class Error : public std::runtime_error {
public:
    explicit Error(const std::wstring& message);
    const std::wstring& Message() const { return message_; }

private:
    std::wstring message_;
};

// UTF-8 <-> UTF-16. Strict decoding raises Error on invalid UTF-8; the lenient
// one, for names in messages, puts U+FFFD in its place.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text, bool strict = true);

} // namespace xlsx
