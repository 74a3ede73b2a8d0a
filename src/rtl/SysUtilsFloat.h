// Decimal digits of floats, shared by the float and Format routines.
#pragma once

#include "SysUtils.h"
#include <string>

namespace rtl_detail {

// value = 0.digits x 10^exponent; no trailing zeros; empty digits for zero.
struct TDecimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
    bool Zero() const { return digits.empty(); }
};

// The value with at most precision significant digits.
TDecimal ToDecimal(double value, int precision);
// Keeps keep leading digits, rounding half away from zero.
void RoundDigits(TDecimal& d, int keep);
void RoundFraction(TDecimal& d, int fractionDigits);
std::string IntegerDigits(const TDecimal& d);
std::string FractionDigits(const TDecimal& d);
String Grouped(const std::string& digits, wchar_t separator);
String Widen(const std::string& s);
String NonFinite(double value);
String FloatText(double value, TFloatFormat format, int precision, int digits,
                 const TFormatSettings& fs);

} // namespace rtl_detail
