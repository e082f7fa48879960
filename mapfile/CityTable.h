#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quarnet::cities {

struct City {
    int number;            // 1..103, the item's position in the list
    std::string_view name; // one to three characters
    std::int32_t x;        // map pixels
    std::int32_t y;
};

inline constexpr int count = 103;

const std::array<City, count>& table();

// The item text, 23 GBK bytes: "001.西凉  (00519,00351)". The name is padded
// with spaces to 6 bytes, so the coordinates always start at bytes 12 and 18.
std::string itemText(const City& city);

struct Coordinates {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The coordinates of an item text: the decimal values of the 5 GBK bytes from
// byte 12 and from byte 18 (counted from 1). Missing bytes read as no number.
Coordinates parseItemCoordinates(std::string_view utf8ItemText);

} // namespace quarnet::cities
