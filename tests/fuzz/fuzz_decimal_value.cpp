// The X and Y texts: decimal integer values of any bytes, saturated to 32 bits.
#include "FuzzCheck.h"
#include "platform/NumberText.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quarnet::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = decimalIntegerValue(text);
    // Written and read again, a value is itself.
    QUARNET_FUZZ_CHECK(decimalIntegerValue(decimalText(value)) == value);
    // What follows a letter never counts.
    QUARNET_FUZZ_CHECK(decimalIntegerValue(std::string(text) + "x9") == decimalIntegerValue(std::string(text) + "x"));
    return 0;
}
