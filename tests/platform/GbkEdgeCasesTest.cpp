// How GBK conversion treats the odd corners of both encodings on Linux: the
// user-defined areas, the single bytes 80 and FF, broken sequences on both
// sides and the characters that vanish rather than become "?".

#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarnet::platform {
namespace {

struct Case {
    std::string from;
    std::string to;
};

TEST(GbkEdgeCases, Decoding)
{
    const std::string replacement = "\xEF\xBF\xBD"; // U+FFFD
    const std::string byteFF = "\xEF\xA3\xB5";      // U+F8F5
    const std::vector<Case> cases = {
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {"\x81\x40", "丂"},
        {"\x80", "€"},
        {"\x80\xA1", "€"},                 // a lead byte cut off at the end goes
        {"\x81", ""},
        {"A\x81", "A"},
        {"\xFF", byteFF},
        {"\xFF\xFF", byteFF + byteFF},
        {"\x81\x30", replacement + "0"},   // a trail byte that can't be one stands alone
        {"\x81\x7F", replacement + "\x7F"},
        {"\x81\xFF", replacement + byteFF},
        {"\x81\x30\x81\x30", replacement + "0" + replacement + "0"},
        {"\xAA\xA1", "\xEE\x80\x80"},      // user-defined areas: U+E000 ...
        {"\xFE\xFE", "\xEE\x93\x85"},      // ... U+E4C5
        {"\xA1\x40", "\xEE\x93\x86"},      // U+E4C6
        {"\xA7\xA0", "\xEE\x9D\xA5"},      // U+E765
        {"\xA2\xAB", "\xEE\x9D\xA6"},      // the other free places, in byte order: U+E766 ...
        {"\xA6\xD9", "\xEE\x9E\x8D"},
        {"\xFE\x50", "\xEE\xA0\x95"},
        {"\xFE\xA0", "\xEE\xA1\xA4"},      // ... U+E864
        {"\xD7\xFA", "\xEE\xA0\x90"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gbkToUtf8(c.from), c.to) << testing::PrintToString(c.from);
}

TEST(GbkEdgeCases, Encoding)
{
    const std::vector<Case> cases = {
        {"€", "\x80"},
        {"\xEE\x80\x80", "\xAA\xA1"},       // U+E000
        {"\xEE\x93\x86", "\xA1\x40"},       // U+E4C6
        {"\xEE\x9D\xA6", "\xA2\xAB"},       // U+E766
        {"\xEE\xA1\xA4", "\xFE\xA0"},       // U+E864
        {"\xEE\xA1\xA5", "?"},              // U+E865
        {"\xEF\xA3\xB5", "\xFF"},           // U+F8F5
        {"·", "\xA1\xA4"},
        {"―", "\xA8\x44"},
        {"・", "?"},
        {"\xEF\xBF\xBD", "?"},              // U+FFFD itself
        {"a\xC2\xAD" "b", "ab"},            // soft hyphen, zero width space, byte order
        {"a\xE2\x80\x8B" "b", "ab"},        // mark, variation selector, tag: they vanish
        {"\xEF\xBB\xBF" "a", "a"},
        {"\xEF\xB8\x8F", ""},
        {"\xF3\xA0\x80\x81", ""},
        {"\xF0\x9F\x97\xBA", "?"},          // beyond the basic plane: one "?"
        {"\xFF", "?"},                      // broken UTF-8: one "?" per byte
        {"\xC0\x80", "??"},
        {"\xC3", "?"},
        {"\xC3\x28", "?("},
        {"\xE4\xB8", "??"},
        {"\xE4\xB8" "A", "??A"},
        {"\xED\xA0\x80", "???"},
        {"\xF4\x90\x80\x80", "????"},
        {"\xF8\x88\x80\x80\x80", "?????"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8ToGbk(c.from), c.to) << testing::PrintToString(c.from);
}

} // namespace
} // namespace quarnet::platform
