#pragma once

// The demo map's made-up terrain: seas and coasts, plains, hills,
// mountains, snow in the north, desert in the west, forests, marshes,
// rivers, and roads between the 103 cities, every city on land. The same on
// every machine.

#include <cstdint>
#include <vector>

namespace quarnet::demo {

// Every block's terrain code, in block order (block n at n - 1).
std::vector<std::uint8_t> terrainCodes();

} // namespace quarnet::demo
