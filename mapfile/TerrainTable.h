#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarnet::terrain {

inline constexpr int lowestCode = 1;
inline constexpr int highestCode = 34;

// The name of a terrain code; nothing for codes without an entry (0, 35-255).
std::optional<std::string_view> name(int code);

// A code as at least two upper-case hexadecimal digits: 10 gives "0A".
std::string formatCode(int code);

// The legend item of a code 1-34: its two-digit code, a space and its name.
std::string legendItemText(int code);

} // namespace quarnet::terrain

namespace quarnet {

// The name the handlers use for terrain::formatCode.
inline std::string formatTerrainCode(int code)
{
    return terrain::formatCode(code);
}

} // namespace quarnet
