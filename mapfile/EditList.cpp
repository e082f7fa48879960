#include "EditList.h"

#include "BlockLayout.h"
#include "MapGeometry.h"
#include "TerrainTable.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace quarnet::edits {

namespace {

namespace g = geometry;
using texts::Text;

std::string_view trimmed(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

// A whole number of decimal digits, at most nine, or nothing.
std::optional<std::int32_t> decimalField(std::string_view field)
{
    if (field.empty() || field.size() > 9)
        return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || field.front() == '-')
        return std::nullopt;
    return value;
}

// One line's block and code, or the reason it has none.
struct LineEdit {
    std::int32_t block = 0;
    int code = 0;
    std::optional<texts::Message> error;
};

LineEdit readLine(const std::vector<std::string_view>& fields)
{
    LineEdit edit;
    if (fields.size() != 2 && fields.size() != 3) {
        edit.error = texts::message(Text::editFieldCount, fields.size());
        return edit;
    }
    if (fields.size() == 2) {
        const auto block = decimalField(fields[0]);
        if (!block) {
            edit.error = texts::message(Text::editBlockNotNumber).withOther(std::string(fields[0]));
            return edit;
        }
        if (*block < 1 || *block > g::blockCount) {
            edit.error = texts::message(Text::editBlockOutside, *block, g::blockCount);
            return edit;
        }
        edit.block = *block;
    } else {
        const auto x = decimalField(fields[0]);
        const auto y = decimalField(fields[1]);
        if (!x || !y) {
            edit.error = !x ? texts::message(Text::editXNotNumber).withOther(std::string(fields[0]))
                            : texts::message(Text::editYNotNumber).withOther(std::string(fields[1]));
            return edit;
        }
        if (*x >= g::mapWidth) {
            edit.error = texts::message(Text::editXOutside, *x, g::mapWidth - 1);
            return edit;
        }
        if (*y >= g::mapHeight) {
            edit.error = texts::message(Text::editYOutside, *y, g::mapHeight - 1);
            return edit;
        }
        edit.block = blocks::blockAtPixel(*x, *y);
    }
    const std::string_view codeField = fields.back();
    const bool hexDigits = !codeField.empty() && codeField.size() <= 2
                           && std::all_of(codeField.begin(), codeField.end(),
                                          [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
    if (!hexDigits) {
        edit.error = texts::message(Text::editCodeNotHex).withOther(std::string(codeField));
        return edit;
    }
    std::from_chars(codeField.data(), codeField.data() + codeField.size(), edit.code, 16);
    if (edit.code < terrain::lowestCode || edit.code > terrain::highestCode) {
        edit.error = texts::message(Text::editCodeOutside, terrain::lowestCode, terrain::highestCode)
                         .withOther(std::string(codeField));
    }
    return edit;
}

bool isHeader(const std::vector<std::string_view>& fields)
{
    return !fields.front().empty() && std::isalpha(static_cast<unsigned char>(fields.front().front())) != 0;
}

} // namespace

CheckedEditList checkEditList(std::string_view text, std::int64_t baseOffset, std::int64_t fileLength)
{
    CheckedEditList result;
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark))
        text.remove_prefix(byteOrderMark.size());

    const std::int32_t blocksHeld = blocks::blocksInFile(baseOffset, fileLength);
    // Where each block got its code: line and code, 0 while it has none.
    std::vector<int> lineOfBlock(g::blockCount + 1, 0);
    std::vector<std::uint8_t> codeOfBlock(g::blockCount + 1, 0);
    bool seenContent = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (trimmed(line).empty())
            continue;
        const std::vector<std::string_view> fields = fieldsOf(line);
        const bool firstContent = !seenContent;
        seenContent = true;
        if (firstContent && isHeader(fields))
            continue;

        const auto onLine = [lineNumber](texts::Message error) {
            return texts::message(Text::editLine, lineNumber).withPart(std::move(error));
        };
        LineEdit edit = readLine(fields);
        if (edit.error) {
            result.errors.push_back(onLine(std::move(*edit.error)));
            continue;
        }
        if (edit.block > blocksHeld) {
            result.errors.push_back(onLine(texts::message(Text::editPastFile, edit.block, fileLength)));
            continue;
        }
        const auto index = static_cast<std::size_t>(edit.block);
        if (lineOfBlock[index] != 0) {
            if (codeOfBlock[index] != edit.code) {
                result.errors.push_back(onLine(
                    texts::message(Text::editTwoCodes, edit.block, edit.code, codeOfBlock[index], lineOfBlock[index])));
            }
            continue;
        }
        lineOfBlock[index] = lineNumber;
        codeOfBlock[index] = static_cast<std::uint8_t>(edit.code);
        result.edits.push_back({lineNumber, edit.block, static_cast<std::uint8_t>(edit.code)});
    }
    return result;
}

void appendEditLine(std::string& text, std::int32_t block, int code)
{
    text += std::to_string(block);
    text += ',';
    text += terrain::formatCode(code);
    text += '\n';
}

} // namespace quarnet::edits
