// The start address and the terrain code as texts: parseHexText on any bytes.
#include "FuzzCheck.h"
#include "mapfile/HexText.h"
#include "platform/NumberText.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    QUARNET_FUZZ_CHECK(quarnet::parseHexText(text) >= 0);
    // The address texts the program writes read back as their low 32 bits.
    if (size >= 8) {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8 | data[i];
        const auto value = static_cast<std::int64_t>(bits);
        QUARNET_FUZZ_CHECK(quarnet::parseHexText(quarnet::platform::hexText(value))
                           == static_cast<std::int64_t>(bits & 0xFFFFFFFFu));
    }
    return 0;
}
