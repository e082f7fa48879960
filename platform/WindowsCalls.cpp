#include "WindowsCalls.h"

#include <algorithm>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace quarnet::platform::windows {

namespace {

// ReadFile and WriteFile take 32-bit counts.
constexpr std::size_t largestChunk = 1u << 30;

} // namespace

std::int64_t readAll(void* handle, std::span<std::uint8_t> buffer)
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const std::size_t chunk = std::min(buffer.size() - done, largestChunk);
        DWORD got = 0;
        if (!::ReadFile(handle, buffer.data() + done, static_cast<DWORD>(chunk), &got, nullptr))
            return -1;
        if (got == 0)
            break; // the file ends here
        done += got;
    }
    return static_cast<std::int64_t>(done);
}

bool writeAll(void* handle, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t chunk = std::min(bytes.size() - done, largestChunk);
        DWORD put = 0;
        if (!::WriteFile(handle, bytes.data() + done, static_cast<DWORD>(chunk), &put, nullptr) || put == 0)
            return false;
        done += put;
    }
    return true;
}

} // namespace quarnet::platform::windows
