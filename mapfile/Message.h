#pragma once

// What the program tells its user, as a kind with its data: the files, the
// numbers (offsets, blocks, sizes, CRC-32s, counts) and the messages it is
// made of. Nothing here is a sentence: each kind's text, in each language,
// is in the tables of texts (TextsEnglish.cpp, TextsChinese.cpp), and
// renderMessage puts the data into it. The window always renders 简体中文;
// the command line renders the user's language.

#include "Text.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quarnet::texts {

enum class Language { english, chinese };

struct Message {
    Text text {};
    // {0} ... {7}, also as {i0} (signed), {h0} (CRC32), {c0} (a code), {x0} (a colour)
    std::array<std::uint64_t, 8> numbers {};
    std::string file;                       // {file}
    std::string other;                      // {other}: a second file, or the user's own words
    std::string third;                      // {third}
    std::vector<Message> parts;             // {p0} ...; {list} and {items} join them all

    Message withFile(std::string path) && { file = std::move(path); return std::move(*this); }
    Message withOther(std::string words) && { other = std::move(words); return std::move(*this); }
    Message withThird(std::string words) && { third = std::move(words); return std::move(*this); }
    Message withPart(Message part) && { parts.push_back(std::move(part)); return std::move(*this); }
};

// A message of a kind with its numbers, in the order its texts name them.
template <typename... Numbers>
Message message(Text text, Numbers... numbers)
{
    return {text, {static_cast<std::uint64_t>(numbers)...}, {}, {}, {}, {}};
}

// The message in the language's words. Placeholders: {file}, {other},
// {third}; {N} a number in decimal, {iN} as a signed one, {hN} as a CRC32's
// eight hexadecimal digits, {cN} as a two-digit code, {xN} as a colour "#RRGGBB", {shadeN}
// the name of a terrain picture's shade; {pN} a part; {list} every part, the
// last joined by "and"; {items} every part, joined by commas; {N?one|many}
// the word for a count.
std::string renderMessage(const Message& message, Language language);

// A kind's text as the table holds it; empty when the table has none.
std::string_view textOf(Text text, Language language);

} // namespace quarnet::texts

#include "platform/FileFault.h"

namespace quarnet::texts {

// The words of a fault of a whole file.
Message faultMessage(platform::FileFault fault);

// "can't read MAP x: no such file" and "can't write OUT x: ...", with the
// role (roleMap, roleOut, ...) the file plays.
Message cantRead(Text role, const std::string& path, platform::FileFault fault);
Message cantWrite(Text role, const std::string& path, platform::FileFault fault);

} // namespace quarnet::texts
