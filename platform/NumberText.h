#pragma once

// Numbers read from and written as texts, independent of the user's locale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarnet::platform {

// The decimal integer at the start of a text: leading spaces, an optional sign,
// then digits up to the first other character. A text without a number gives 0.
// Values beyond the 32-bit range saturate to its ends.
std::int32_t decimalIntegerValue(std::string_view text);

// The numeric value of a text with decimals ("2.9", " -3", "1e2"): leading and
// trailing spaces allowed, nothing else after the number. Empty when the text
// holds no number, or one that is infinite or beyond the range of a double.
std::optional<double> numericValue(std::string_view text);

// Decimal digits with a minus sign when negative; no grouping.
std::string decimalText(std::int64_t value);

// The low 32 bits in upper-case hexadecimal digits, no prefix, no leading zeros.
std::string hexText(std::int64_t value);

} // namespace quarnet::platform
