#include "BlockTexts.h"
#include "CommandTable.h"
#include "PictureScale.h"

#include "mapfile/BlockLayout.h"
#include "mapfile/ChangePicture.h"
#include "mapfile/EditList.h"
#include "mapfile/ImageEncoding.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/PatchedMap.h"
#include "mapfile/TerrainRaster.h"
#include "mapfile/TerrainTable.h"
#include "platform/MemoryFiles.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// diff OLD NEW: the blocks whose terrain differs between two maps, or that a
// patch NEW would change in OLD.

namespace quarnet::cli {

namespace {

namespace g = geometry;

constexpr std::array<std::string_view, 3> ownOptions = {"--csv", "--picture", "--scale"};

constexpr std::string_view help = R"(Usage: quarnet-terrain diff OLD NEW [--csv] [--picture OUT.png [--scale N]]
                            [--offset HEX]
Lists every block whose terrain code differs between two map files, or that
an IPS or BPS patch NEW would change in OLD (known by its first bytes, and
checked as apply checks it): block number, row, column, map pixel ranges,
the old and the new code with their names. Then counts the other bytes that
differ (in the header before the
records, in the records' other bytes, after the records), so no change goes
unseen.

  --csv          print the differences as an edit list that apply reads:
                 a line "block,code", then one line per block; counts of
                 other differing bytes go to the error output
  --picture OUT.png
                 also draw the change as a picture (PNG, or JPEG by a .jpg
                 or .jpeg name): NEW's terrain in the terrain view's colours, the
                 unchanged blocks dimmed toward the background, the changed
                 ones in full colour inside a black and white outline
  --scale N      the picture's pixels a block, 1 to 8 (default 4, as render
                 draws); at 1 the changed blocks have no outline
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Exit codes: 0 the terrain is the same, 1 it differs (or the files' lengths
differ), 2 error.
)";

constexpr std::string_view chineseHelp = R"(用法：quarnet-terrain diff OLD NEW [--csv] [--picture OUT.png [--scale N]]
                            [--offset HEX]
列出两个地图文件之间地形代码不同的每个区块，或 IPS、BPS 补丁 NEW 会在 OLD 中改变的
区块（补丁按开头的字节识别，并像 apply 那样检查）：区块序号、行号、列号、地图像素
范围、旧代码和新代码及其名称。然后统计其他不同的字节（记录之前的文件头中、记录的
其他字节中、记录之后），不漏掉任何改动。

  --csv          把不同之处写成 apply 能读的编辑列表：一行 "block,code"，然后
                 每个区块一行；其他不同字节的数目写到错误输出
  --picture OUT.png
                 同时把改动画成图片（PNG；名字以 .jpg 或 .jpeg 结尾时为 JPEG）：
                 NEW 的地形用地形视图的颜色，未改动的区块调暗，改动的区块用全色
                 并加黑白边框
  --scale N      图片中每个区块的像素数，1 到 8（默认 4，与 render 相同）；为 1
                 时改动的区块没有边框
  --offset HEX   第 1 个区块的记录的起始位置，16 进制（默认 {offset}）

退出码：0 地形相同，1 地形不同（或文件长度不同），2 出错。
)";

struct Differences {
    std::vector<std::int32_t> blocks;   // whose code byte differs, in block order
    std::vector<std::uint8_t> oldCodes; // their codes, one for each
    std::vector<std::uint8_t> newCodes;
    std::int64_t header = 0;            // bytes before block 1's record
    std::int64_t records = 0;           // the records' other bytes
    std::int64_t afterRecords = 0;
    std::int64_t pastShorterEnd = 0;    // when the lengths differ
};

// Calls `differ(i)` for each index, in order, at which the two byte spans
// differ, as far as the shorter goes. Runs of 64 bytes, then 8, are compared
// first: most of two maps is the same, so whole runs are passed over at once.
template <typename Differ>
void forEachDifference(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, Differ differ)
{
    constexpr std::size_t run = 64;
    constexpr std::size_t word = 8;
    const std::size_t size = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i + run <= size; i += run) {
        if (std::memcmp(a.data() + i, b.data() + i, run) == 0)
            continue;
        for (std::size_t w = i; w < i + run; w += word) {
            if (std::memcmp(a.data() + w, b.data() + w, word) == 0)
                continue;
            for (std::size_t j = w; j < w + word; ++j) {
                if (a[j] != b[j])
                    differ(j);
            }
        }
    }
    for (; i < size; ++i) {
        if (a[i] != b[i])
            differ(i);
    }
}

// The blocks whose codes differ, among the first `blocks`, whose code bytes
// both files hold. A band of rows at a time, so the memory stays small and
// warm; all of NEW's codes are kept when newMapCodes asks for them. False
// when reading fails.
bool compareCodes(platform::Files& files, platform::FileNumber oldMap, platform::FileNumber newMap,
                  std::int64_t baseOffset, std::int32_t blocks, Differences& found, std::vector<std::uint8_t>* newMapCodes)
{
    constexpr int bandRows = 16;
    for (int firstRow = 0; firstRow < g::rows; firstRow += bandRows) {
        const int rows = std::min(bandRows, g::rows - firstRow);
        const auto oldCodes = terrain::readBlockCodes(files, oldMap, baseOffset, 0, firstRow, g::columns, rows);
        const auto newCodes = terrain::readBlockCodes(files, newMap, baseOffset, 0, firstRow, g::columns, rows);
        if (!oldCodes || !newCodes)
            return false;
        if (newMapCodes)
            newMapCodes->insert(newMapCodes->end(), newCodes->begin(), newCodes->end());
        const std::int32_t firstBlock = blocks::blockNumber(firstRow + 1, 1);
        const auto count = static_cast<std::size_t>(std::clamp(blocks - firstBlock + 1, 0, rows * g::columns));
        forEachDifference(std::span(*oldCodes).first(count), std::span(*newCodes).first(count), [&](std::size_t i) {
            found.blocks.push_back(firstBlock + static_cast<std::int32_t>(i));
            found.oldCodes.push_back((*oldCodes)[i]);
            found.newCodes.push_back((*newCodes)[i]);
        });
    }
    return true;
}

// Output gathered in a fixed buffer and written out whenever it fills: a
// diff of the whole map is megabytes, and growing strings line by line cost
// more than comparing the maps.
class OutputBuffer {
public:
    explicit OutputBuffer(std::ostream& out)
        : out_(out)
    {
    }

    // Room for `size` more bytes, at most the buffer's size; what is written
    // there counts once passed to claim.
    char* room(std::size_t size)
    {
        if (bytes_.size() - used_ < size)
            flush();
        return bytes_.data() + used_;
    }
    void claim(const char* end) { used_ = static_cast<std::size_t>(end - bytes_.data()); }

    void append(std::string_view text)
    {
        if (text.size() > bytes_.size()) {
            flush();
            out_ << text;
            return;
        }
        claim(std::copy(text.begin(), text.end(), room(text.size())));
    }

    void flush()
    {
        out_.write(bytes_.data(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }

private:
    std::ostream& out_;
    std::array<char, 16 * 1024> bytes_; // left unfilled: only claimed bytes are written out
    std::size_t used_ = 0;
};

// Counts the bytes other than code bytes that differ, as far as the shorter
// file goes, reading both a chunk at a time. False when reading fails.
bool countOtherBytes(platform::Files& files, platform::FileNumber oldMap, platform::FileNumber newMap,
                     std::int64_t baseOffset, Differences& found)
{
    const auto classify = [&](std::int64_t offset) {
        switch (blocks::regionOf(baseOffset, offset)) {
        case blocks::FileRegion::header:
            ++found.header;
            break;
        case blocks::FileRegion::recordRest:
            ++found.records;
            break;
        case blocks::FileRegion::afterRecords:
            ++found.afterRecords;
            break;
        case blocks::FileRegion::codeByte:
            break; // compared as codes
        }
    };
    constexpr std::size_t chunk = 64 * 1024;
    // Left unfilled: only the bytes each read gives are compared.
    const auto oldBytes = std::make_unique_for_overwrite<std::uint8_t[]>(chunk);
    const auto newBytes = std::make_unique_for_overwrite<std::uint8_t[]>(chunk);
    for (std::int64_t position = 0;; position += static_cast<std::int64_t>(chunk)) {
        const std::int64_t oldGot = files.readBytes(oldMap, position, {oldBytes.get(), chunk});
        const std::int64_t newGot = files.readBytes(newMap, position, {newBytes.get(), chunk});
        if (oldGot < 0 || newGot < 0)
            return false;
        const auto common = static_cast<std::size_t>(std::min(oldGot, newGot));
        forEachDifference({oldBytes.get(), common}, {newBytes.get(), common},
                          [&](std::size_t i) { classify(position + static_cast<std::int64_t>(i)); });
        if (common < chunk)
            return true;
    }
}

// What comes first, then the other bytes that differ.
texts::Message otherBytesText(texts::Message first, const Differences& found, std::int64_t oldLength,
                              std::int64_t newLength)
{
    const texts::Text text = found.pastShorterEnd == 0 ? texts::Text::diffOtherBytes : texts::Text::diffOtherBytesLengths;
    return texts::message(text, found.header, found.records, found.afterRecords, oldLength, newLength, found.pastShorterEnd)
        .withPart(std::move(first));
}

// Whether NEW is a patch: by its first bytes, or by its name, so that a
// damaged patch is reported as one.
bool isPatchFile(const std::string& path)
{
    platform::ReadOnlyFiles files;
    const platform::FileNumber file = files.open(path);
    std::array<std::uint8_t, patches::patchMagicSize> start {};
    const std::int64_t got = file == 0 ? 0 : std::max<std::int64_t>(files.readBytes(file, 0, start), 0);
    return patches::isPatch(std::span(start).first(static_cast<std::size_t>(got)), path);
}

// Reads the map and the patch and adds to `files` the map as it is (file 1)
// and with the patch applied, as apply would write it (file 2). Empty on
// success; else why not, naming the file.
std::optional<texts::Message> loadPatchedMap(const std::string& mapPath, const std::string& patchPath, std::int64_t baseOffset,
                           platform::MemoryFiles& files)
{
    std::vector<std::uint8_t> map;
    std::vector<std::uint8_t> patch;
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::readWholeFile(mapPath, map, fault))
        return texts::message(texts::Text::cantReadNamed).withFile(mapPath).withPart(texts::faultMessage(fault));
    if (!platform::readWholeFile(patchPath, patch, fault))
        return texts::message(texts::Text::cantReadNamed).withFile(patchPath).withPart(texts::faultMessage(fault));
    patches::PatchedMap patched = patches::patchMap(patch, map, baseOffset);
    if (patched.refusal)
        return texts::message(texts::Text::patchFileRefused).withFile(patchPath).withPart(std::move(*patched.refusal));
    files.add(std::move(map));
    files.add(std::move(patched.target));
    return std::nullopt;
}

int run(const CommandContext& context)
{
    const std::string& oldPath = context.line.operands[0];
    const std::string& newPath = context.line.operands[1];
    const std::string* picturePath = context.line.value("--picture");
    std::optional<pictures::ImageFormat> pictureFormat;
    if (picturePath) {
        pictureFormat = pictures::imageFormatFor(*picturePath);
        if (!pictureFormat)
            return context.fail(texts::message(texts::Text::pictureOptionMustEnd).withFile(*picturePath));
        if (platform::isSameFile(oldPath, *picturePath) || platform::isSameFile(newPath, *picturePath))
            return context.fail(texts::message(texts::Text::pictureNamesInput));
    } else if (context.line.value("--scale")) {
        return context.fail(texts::message(texts::Text::scaleGoesWithPicture));
    }
    const std::optional<int> scale = pictureScale(context);
    if (!scale)
        return exitTrouble;

    platform::ReadOnlyFiles mapFiles;
    platform::MemoryFiles patchedFiles;
    // A patch as NEW: OLD and OLD with the patch applied, compared alike.
    const bool newIsPatch = isPatchFile(newPath);
    platform::Files& files = newIsPatch ? static_cast<platform::Files&>(patchedFiles) : mapFiles;
    if (newIsPatch) {
        if (const auto failure = loadPatchedMap(oldPath, newPath, context.baseOffset, patchedFiles))
            return context.fail(*failure);
    }
    const platform::FileNumber oldMap = newIsPatch ? 1 : mapFiles.open(oldPath);
    if (oldMap == 0)
        return context.fail(texts::cantRead(texts::Text::roleOld, oldPath, mapFiles.openFailure()));
    const platform::FileNumber newMap = newIsPatch ? 2 : mapFiles.open(newPath);
    if (newMap == 0)
        return context.fail(texts::cantRead(texts::Text::roleNew, newPath, mapFiles.openFailure()));
    const std::int64_t oldLength = files.length(oldMap);
    const std::int64_t newLength = files.length(newMap);
    Differences found;
    std::vector<std::uint8_t> newCodes;
    if (oldLength < 0 || newLength < 0
        || !compareCodes(files, oldMap, newMap, context.baseOffset,
                         blocks::blocksInFile(context.baseOffset, std::min(oldLength, newLength)), found,
                         picturePath ? &newCodes : nullptr)
        || !countOtherBytes(files, oldMap, newMap, context.baseOffset, found))
        return context.fail(texts::message(texts::Text::readOldOrNewFailed));
    found.pastShorterEnd = oldLength > newLength ? oldLength - newLength : newLength - oldLength;
    if (picturePath) {
        const RgbImage picture = terrain::drawChanges(newCodes, found.blocks, g::columns, g::rows, *scale);
        const std::vector<std::uint8_t> encoded = pictures::encodeImage(picture, *pictureFormat);
        if (encoded.empty())
            return context.fail(texts::message(texts::Text::pictureEncodingFailed));
        platform::FileFault fault = platform::FileFault::none;
        if (!platform::writeWholeFile(*picturePath, encoded, fault))
            return context.fail(texts::cantWrite(texts::Text::rolePictureOption, *picturePath, fault));
    }
    const bool othersDiffer = found.header + found.records + found.afterRecords + found.pastShorterEnd != 0;

    OutputBuffer output(context.out);
    if (context.line.flag("--csv")) {
        output.append(edits::editListHeader);
        output.append("\n");
        std::array<std::string, 256> codeTexts; // ",07\n"
        for (int code = 0; code < 256; ++code)
            codeTexts[static_cast<std::size_t>(code)] = "," + terrain::formatCode(code) + "\n";
        for (std::size_t i = 0; i < found.blocks.size(); ++i) {
            constexpr std::size_t numberSize = 11;
            char* const room = output.room(numberSize);
            output.claim(std::to_chars(room, room + numberSize, found.blocks[i]).ptr);
            output.append(codeTexts[found.newCodes[i]]);
        }
        output.flush();
        if (othersDiffer) {
            context.fail(otherBytesText(texts::message(texts::Text::diffCsvOthers), found, oldLength, newLength));
        }
    } else {
        std::array<std::string, 256> oldTexts; // ": 05 道路"
        std::array<std::string, 256> newTexts; // " -> 07 高山\n"
        for (int code = 0; code < 256; ++code) {
            oldTexts[static_cast<std::size_t>(code)] = ": " + codeWithNameText(code);
            newTexts[static_cast<std::size_t>(code)] = " -> " + codeWithNameText(code) + "\n";
        }
        for (std::size_t i = 0; i < found.blocks.size(); ++i) {
            output.claim(writeBlockPlace(output.room(blockPlaceMaxSize), found.blocks[i]));
            output.append(oldTexts[found.oldCodes[i]]);
            output.append(newTexts[found.newCodes[i]]);
        }
        const texts::Message terrain = found.blocks.empty() ? texts::message(texts::Text::diffSame)
                                                            : texts::message(texts::Text::diffBlocks, found.blocks.size());
        output.append(context.say(otherBytesText(terrain, found, oldLength, newLength)) + "\n");
        output.flush();
    }
    return found.blocks.empty() && found.pastShorterEnd == 0 ? exitSuccess : exitDifferent;
}

} // namespace

extern const Command diffCommand {"diff", "OLD NEW", ownOptions, "list the blocks whose terrain code differs", "列出地形代码不同的区块", help, chineseHelp, run};

} // namespace quarnet::cli
