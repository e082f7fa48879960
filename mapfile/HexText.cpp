#include "HexText.h"

#include "Arithmetic.h"
#include "platform/TextCodec.h"

#include <string>
#include <vector>

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
    // Both bytes of a double-byte character count 0, also a trail byte that
    // looks like "A" to "F" on its own.
    std::vector<int> digits(bytes.size(), 0);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < bytes.size()) {
            ++i; // skip the trail byte: both stay 0
            continue;
        }
        digits[i] = digitValue(byte);
    }
    std::int64_t value = 0;
    double place = 1;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const int digit = *it;
        // A zero digit adds nothing; skipping it also keeps 0 x infinity, a
        // NaN, out of the sum once the place value has overflowed.
        if (digit != 0)
            value = arithmetic::truncateSaturating<std::int64_t>(static_cast<double>(value) + digit * place);
        place *= 16;
    }
    return value;
}

} // namespace quarnet
