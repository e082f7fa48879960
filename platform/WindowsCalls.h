#pragma once

// The Win32 reads and writes that a short count can cut off, each in the loop
// that finishes it; handles are HANDLEs. Shared by the platform's file and
// console services.

#include <cstdint>
#include <span>

namespace quarnet::platform::windows {

// Reads up to buffer.size() bytes from the handle's position: the count read,
// fewer only where the file ends; -1 when a read fails.
std::int64_t readAll(void* handle, std::span<std::uint8_t> buffer);

// Writes all the bytes at the handle's position; false when a write fails.
bool writeAll(void* handle, std::span<const std::uint8_t> bytes);

} // namespace quarnet::platform::windows
