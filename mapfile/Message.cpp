#include "Message.h"

#include "PaintedTerrain.h"
#include "PatchFormat.h"
#include "TerrainTable.h"
#include "Texts.h"

#include <array>
#include <cstdio>

namespace quarnet::texts {

namespace {

constexpr auto kindCount = static_cast<std::size_t>(Text::count);

// A table's rows by kind, looked up once.
using IndexedTable = std::array<std::string_view, kindCount>;

IndexedTable indexed(std::span<const TextEntry> entries)
{
    IndexedTable table {};
    for (const TextEntry& entry : entries)
        table[static_cast<std::size_t>(entry.text)] = entry.words;
    return table;
}

const IndexedTable& tableOf(Language language)
{
    static const IndexedTable english = indexed(englishTexts());
    static const IndexedTable chinese = indexed(chineseTexts());
    return language == Language::chinese ? chinese : english;
}

std::string colourText(std::uint64_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(colour & 0xFFFFFF));
    return text;
}

std::string shadeText(std::uint64_t shade, Language language)
{
    const auto asShade = static_cast<terrain::Shade>(shade);
    if (asShade == terrain::greyShade())
        return std::string(textOf(Text::shadeNoName, language));
    if (asShade == terrain::backgroundShade())
        return std::string(textOf(Text::shadeBackground, language));
    return std::string(terrain::shadeName(asShade));
}

// The parts joined: by commas, and, with `lastJoin`, the last one by it.
std::string joined(const std::vector<Message>& parts, Language language, Text join, Text lastJoin)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i != 0)
            text += textOf(i + 1 == parts.size() ? lastJoin : join, language);
        text += renderMessage(parts[i], language);
    }
    return text;
}

// One placeholder's text, without its braces.
std::string filled(std::string_view name, const Message& message, Language language)
{
    const auto numberAt = [&](std::string_view digit) -> std::uint64_t {
        const std::size_t index = digit.empty() ? 99 : static_cast<std::size_t>(digit.front() - '0');
        return index < message.numbers.size() ? message.numbers[index] : 0;
    };
    if (name == "file")
        return message.file;
    if (name == "other")
        return message.other;
    if (name == "third")
        return message.third;
    if (name == "list")
        return joined(message.parts, language, Text::listComma, Text::listAnd);
    if (name == "items")
        return joined(message.parts, language, Text::itemComma, Text::itemComma);
    if (const std::size_t choice = name.find('?'); choice != std::string_view::npos) {
        // {0?one|many}
        const std::string_view words = name.substr(choice + 1);
        const std::size_t bar = words.find('|');
        return std::string(numberAt(name.substr(0, choice)) == 1 ? words.substr(0, bar) : words.substr(bar + 1));
    }
    if (name.starts_with("shade"))
        return shadeText(numberAt(name.substr(5)), language);
    if (name.starts_with('p')) {
        const auto index = static_cast<std::size_t>(name[1] - '0');
        return index < message.parts.size() ? renderMessage(message.parts[index], language) : std::string();
    }
    if (name.starts_with('h'))
        return patches::crcText(static_cast<std::uint32_t>(numberAt(name.substr(1))));
    if (name.starts_with('c'))
        return terrain::formatCode(static_cast<int>(numberAt(name.substr(1))));
    if (name.starts_with('x'))
        return colourText(numberAt(name.substr(1)));
    if (name.starts_with('i'))
        return std::to_string(static_cast<std::int64_t>(numberAt(name.substr(1))));
    return std::to_string(numberAt(name));
}

} // namespace

std::string_view textOf(Text text, Language language)
{
    const auto index = static_cast<std::size_t>(text);
    return index < kindCount ? tableOf(language)[index] : std::string_view();
}

std::string renderMessage(const Message& message, Language language)
{
    std::string_view words = textOf(message.text, language);
    std::string text;
    for (std::size_t open = words.find('{'); open != std::string_view::npos; open = words.find('{')) {
        const std::size_t close = words.find('}', open);
        if (close == std::string_view::npos)
            break;
        text.append(words.substr(0, open));
        text += filled(words.substr(open + 1, close - open - 1), message, language);
        words.remove_prefix(close + 1);
    }
    return text.append(words);
}

} // namespace quarnet::texts

namespace quarnet::texts {

Message faultMessage(platform::FileFault fault)
{
    switch (fault) {
    case platform::FileFault::missing:
        return message(Text::fileMissing);
    case platform::FileFault::notRegular:
        return message(Text::fileNotRegular);
    case platform::FileFault::changedWhileRead:
        return message(Text::fileChangedWhileRead);
    case platform::FileFault::notCreatable:
        return message(Text::fileNotCreatable);
    case platform::FileFault::writeFailed:
        return message(Text::fileWriteFailed);
    case platform::FileFault::none:
    case platform::FileFault::unopenable:
        break;
    }
    return message(Text::fileUnopenable);
}

Message cantRead(Text role, const std::string& path, platform::FileFault fault)
{
    return message(Text::cantReadRole).withFile(path).withPart(message(role)).withPart(faultMessage(fault));
}

Message cantWrite(Text role, const std::string& path, platform::FileFault fault)
{
    return message(Text::cantWriteRole).withFile(path).withPart(message(role)).withPart(faultMessage(fault));
}

} // namespace quarnet::texts
