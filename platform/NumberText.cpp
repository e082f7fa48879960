#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace quarnet::platform {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::int32_t decimalIntegerValue(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    // Accumulate as a negative number, which has room for the lowest value.
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 - (text[at] - '0');
        if (value < lowest)
            value = lowest - 1; // stays below the range; digits keep coming
    }
    if (!negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < lowest)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::optional<double> numericValue(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string decimalText(std::int64_t value)
{
    return std::to_string(value);
}

std::string hexText(std::int64_t value)
{
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu);
    char buffer[8];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, low, 16);
    std::string text(buffer, end);
    for (char& c : text) {
        if (c >= 'a' && c <= 'f')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

} // namespace quarnet::platform
