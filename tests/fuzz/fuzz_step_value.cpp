// The step text: numeric values with decimals of any bytes.
#include "FuzzCheck.h"
#include "platform/NumberText.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto value = quarnet::platform::numericValue(text))
        QUARNET_FUZZ_CHECK(std::isfinite(*value));
    return 0;
}
