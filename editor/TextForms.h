#pragma once

#include <cstdint>
#include <string>

namespace quarnet {

// A pixel range: two decimal numbers joined by the full-width tilde, "32～63".
std::string rangeText(std::int32_t first, std::int32_t last);

} // namespace quarnet
