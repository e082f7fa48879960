// City item texts: coordinates from the GBK bytes at positions 12 and 18.
#include "FuzzCheck.h"
#include "mapfile/CityTable.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quarnet::cities::Coordinates at = quarnet::cities::parseItemCoordinates(text);
    // Five bytes hold at most five digits and a sign.
    QUARNET_FUZZ_CHECK(at.x >= -9999 && at.x <= 99999 && at.y >= -9999 && at.y <= 99999);
    return 0;
}
