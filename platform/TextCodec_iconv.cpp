#include "TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// GBK through the C library's iconv, one character at a time. iconv's table
// leaves out what code page 936 adds to GBK, which is made good here: the
// single byte FF, the user-defined areas and the other free double-byte
// places, all in the private use area. Texts of ASCII alone never open a
// converter.

namespace quarnet::platform {

namespace {

// The C library's name; in glibc it reads 80 as the euro sign, as code page
// 936 does.
constexpr const char* gbkName = "CP936";

constexpr char32_t replacementCharacter = 0xFFFD;
constexpr char32_t characterOfByteFF = 0xF8F5;

// One iconv converter, opened on first use and kept for the thread.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
    ~Converter()
    {
        if (handle_ != invalid())
            ::iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole character; false when it has no counterpart.
    bool convert(std::string_view in, std::string& out)
    {
        if (handle_ == invalid())
            return false;
        ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 16> buffer {};
        char* inAt = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outAt = buffer.data();
        std::size_t outLeft = buffer.size();
        if (::iconv(handle_, &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return false;
        out.append(buffer.data(), outAt);
        return true;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t handle_;
};

Converter& decoder()
{
    thread_local Converter converter("UTF-8", gbkName);
    return converter;
}

Converter& encoder()
{
    thread_local Converter converter(gbkName, "UTF-8");
    return converter;
}

bool isTrailByte(std::uint8_t byte)
{
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// A block of double-byte places numbered in byte order onto private use
// characters from `first` on; trail byte 7F is never one.
struct UserArea {
    std::uint8_t firstLead, lastLead, firstTrail, lastTrail;
    char32_t first;

    int trailsPerLead() const { return lastTrail - firstTrail + 1 - (spansTrail7F() ? 1 : 0); }
    bool spansTrail7F() const { return firstTrail < 0x7F && lastTrail > 0x7F; }
    char32_t last() const { return first + static_cast<char32_t>((lastLead - firstLead + 1) * trailsPerLead()) - 1; }

    std::optional<char32_t> character(std::uint8_t lead, std::uint8_t trail) const
    {
        if (lead < firstLead || lead > lastLead || trail < firstTrail || trail > lastTrail)
            return std::nullopt;
        const int trailIndex = trail - firstTrail - (spansTrail7F() && trail > 0x7F ? 1 : 0);
        return first + static_cast<char32_t>((lead - firstLead) * trailsPerLead() + trailIndex);
    }

    std::optional<std::array<std::uint8_t, 2>> bytes(char32_t character) const
    {
        if (character < first || character > last())
            return std::nullopt;
        const int index = static_cast<int>(character - first);
        int trail = firstTrail + index % trailsPerLead();
        if (spansTrail7F() && trail >= 0x7F)
            ++trail;
        return std::array<std::uint8_t, 2> {static_cast<std::uint8_t>(firstLead + index / trailsPerLead()),
                                            static_cast<std::uint8_t>(trail)};
    }
};

constexpr std::array<UserArea, 3> userAreas = {{
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000},
    {0xF8, 0xFE, 0xA1, 0xFE, 0xE234},
    {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},
}};

// Where the free places outside the user-defined areas begin: they follow the
// last area's characters, in byte order.
constexpr char32_t firstFreePlaceCharacter = 0xE766;

// Double-byte places that neither iconv nor a user-defined area maps, in byte
// order (lead * 256 + trail). Found once, by asking iconv, the first time one
// is needed.
const std::vector<std::uint16_t>& freePlaces()
{
    static const std::vector<std::uint16_t> places = [] {
        std::vector<std::uint16_t> found;
        Converter converter("UTF-8", gbkName);
        std::string ignored;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const auto l = static_cast<std::uint8_t>(lead);
                const auto t = static_cast<std::uint8_t>(trail);
                if (!isTrailByte(t)
                    || std::ranges::any_of(userAreas, [&](const UserArea& a) { return a.character(l, t).has_value(); }))
                    continue;
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (!converter.convert(std::string_view(pair, 2), ignored))
                    found.push_back(static_cast<std::uint16_t>(lead * 256 + trail));
            }
        }
        return found;
    }();
    return places;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character of a lead and a trail byte; every such pair has one.
void appendPair(std::string& out, std::uint8_t lead, std::uint8_t trail)
{
    for (const UserArea& area : userAreas) {
        if (const auto c = area.character(lead, trail)) {
            appendUtf8(out, *c);
            return;
        }
    }
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    if (decoder().convert(std::string_view(pair, 2), out))
        return;
    const std::vector<std::uint16_t>& places = freePlaces();
    const auto at = std::ranges::lower_bound(places, static_cast<std::uint16_t>(lead * 256 + trail));
    appendUtf8(out, at != places.end() && *at == lead * 256 + trail
                        ? firstFreePlaceCharacter + static_cast<char32_t>(at - places.begin())
                        : replacementCharacter);
}

// Characters that are dropped rather than replaced when they have no GBK
// form: invisible formatting and selectors.
bool vanishesWhenUnmapped(char32_t c)
{
    return c == 0x00AD || c == 0x034F || c == 0x061C || (c >= 0x115F && c <= 0x1160) || (c >= 0x17B4 && c <= 0x17B5)
           || (c >= 0x180B && c <= 0x180F) || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E)
           || (c >= 0x2060 && c <= 0x206F) || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF
           || c == 0xFFA0 || (c >= 0xFFF0 && c <= 0xFFF8) || (c >= 0x1BCA0 && c <= 0x1BCA3)
           || (c >= 0x1D173 && c <= 0x1D17A) || (c >= 0xE0000 && c <= 0xE0FFF);
}

// The GBK bytes of a private use character that code page 936 maps.
std::optional<std::array<std::uint8_t, 2>> privateUseBytes(char32_t c)
{
    for (const UserArea& area : userAreas) {
        if (const auto bytes = area.bytes(c))
            return bytes;
    }
    if (c < firstFreePlaceCharacter || c > 0xF8FF)
        return std::nullopt;
    const std::vector<std::uint16_t>& places = freePlaces();
    const std::size_t index = c - firstFreePlaceCharacter;
    if (index >= places.size())
        return std::nullopt;
    return std::array<std::uint8_t, 2> {static_cast<std::uint8_t>(places[index] >> 8),
                                        static_cast<std::uint8_t>(places[index] & 0xFF)};
}

// The character a well-formed UTF-8 sequence at the start of `text` stands
// for, and its length; U+FFFD and length 1 for a byte that starts none
// (overlong forms, surrogates and values past U+10FFFF included).
std::pair<char32_t, std::size_t> nextCharacter(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t first = byte(0);
    if (first < 0x80)
        return {first, 1};
    std::size_t length;
    char32_t c;
    char32_t lowest;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2, c = first & 0x1F, lowest = 0x80;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3, c = first & 0x0F, lowest = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4, c = first & 0x07, lowest = 0x10000;
    } else {
        return {replacementCharacter, 1};
    }
    if (text.size() < length)
        return {replacementCharacter, 1};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {replacementCharacter, 1};
        c = (c << 6) | (byte(i) & 0x3F);
    }
    if (c < lowest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return {replacementCharacter, 1};
    return {c, length};
}

bool isAscii(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return static_cast<std::uint8_t>(c) < 0x80; });
}

} // namespace

std::string utf8ToGbk(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    std::string gbk;
    gbk.reserve(utf8.size());
    std::string character;
    while (!utf8.empty()) {
        const auto [c, length] = nextCharacter(utf8);
        const std::string_view sequence = utf8.substr(0, length);
        utf8.remove_prefix(length);
        if (c < 0x80) {
            gbk += static_cast<char>(c);
        } else if (c == characterOfByteFF) {
            gbk += '\xFF';
        } else if (const auto bytes = privateUseBytes(c)) {
            gbk += static_cast<char>((*bytes)[0]);
            gbk += static_cast<char>((*bytes)[1]);
        } else if (c != replacementCharacter && encoder().convert(sequence, gbk)) {
            continue;
        } else if (!vanishesWhenUnmapped(c)) {
            gbk += '?';
        }
    }
    return gbk;
}

std::string gbkToUtf8(std::string_view gbk)
{
    if (isAscii(gbk))
        return std::string(gbk);
    std::string utf8;
    utf8.reserve(gbk.size() * 3 / 2 + 2);
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(gbk[i]);
        if (byte < 0x80) {
            utf8 += static_cast<char>(byte);
        } else if (byte == 0x80) {
            appendUtf8(utf8, 0x20AC); // the euro sign, code page 936's only single byte above ASCII
        } else if (byte == 0xFF) {
            appendUtf8(utf8, characterOfByteFF);
        } else if (i + 1 == gbk.size()) {
            break; // a lead byte cut off at the end
        } else if (const auto trail = static_cast<std::uint8_t>(gbk[i + 1]); isTrailByte(trail)) {
            appendPair(utf8, byte, trail);
            ++i;
        } else {
            appendUtf8(utf8, replacementCharacter); // the next byte stands on its own
        }
    }
    return utf8;
}

} // namespace quarnet::platform
