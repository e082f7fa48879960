#include "HexText.h"

#include "Arithmetic.h"
#include "platform/TextCodec.h"

#include <string>

namespace quarnet {

namespace {

int digitValue(unsigned char byte)
{
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    if (byte >= 'A' && byte <= 'F')
        return byte - 'A' + 10;
    return 0;
}

} // namespace

std::int64_t parseHexText(std::string_view utf8Text)
{
    const std::string bytes = platform::utf8ToGbk(utf8Text);
    std::int64_t value = 0;
    double place = 1;
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
        const int digit = digitValue(static_cast<unsigned char>(*it));
        // A zero digit adds nothing; skipping it also keeps 0 x infinity, a
        // NaN, out of the sum once the place value has overflowed.
        if (digit != 0)
            value = arithmetic::truncateSaturating<std::int64_t>(static_cast<double>(value) + digit * place);
        place *= 16;
    }
    return value;
}

} // namespace quarnet
