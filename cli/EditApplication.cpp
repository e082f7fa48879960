#include "EditApplication.h"

#include "mapfile/BlockLayout.h"
#include "mapfile/PatchFormat.h"
#include "mapfile/TerrainTable.h"
#include "platform/Crc32.h"
#include "platform/WholeFiles.h"

#include <algorithm>
#include <vector>

namespace quarnet::cli {

namespace {

// Reads the whole file back and names the first way it differs from
// `expected`; empty when it is exactly `expected` and, where one is given,
// has the expected CRC-32.
std::string readBackMismatch(platform::Files& files, platform::FileNumber map, const std::vector<std::uint8_t>& expected,
                             std::optional<std::uint32_t> expectedCrc = std::nullopt)
{
    if (files.length(map) != static_cast<std::int64_t>(expected.size()))
        return "the file's length changed";
    std::vector<std::uint8_t> actual(expected.size());
    if (files.readBytes(map, 0, actual) != static_cast<std::int64_t>(actual.size()))
        return "reading the file back failed";
    const auto [actualAt, expectedAt] = std::ranges::mismatch(actual, expected);
    if (actualAt != actual.end())
        return "reading the file back found byte " + terrain::formatCode(*actualAt) + " at offset "
               + std::to_string(actualAt - actual.begin()) + " where " + terrain::formatCode(*expectedAt)
               + " was written";
    if (expectedCrc) {
        const std::uint32_t crc = platform::crc32(actual);
        if (crc != *expectedCrc)
            return "the written file's CRC32 is " + patches::crcText(crc) + " where the patch expects "
                   + patches::crcText(*expectedCrc);
    }
    return {};
}

// Puts the original bytes back at every changed offset, flushes and checks
// the whole file against the original. The bytes are those the backup was
// written from, kept in memory, so a backup that can't be read back doesn't
// stop it.
bool restore(platform::Files& files, platform::FileNumber map, std::span<const ByteChange> changes,
             const std::vector<std::uint8_t>& original)
{
    bool written = true;
    for (const ByteChange& change : changes)
        written = files.replaceByte(map, change.offset, original[static_cast<std::size_t>(change.offset)]) && written;
    return written && files.flush(map) && readBackMismatch(files, map, original).empty();
}

} // namespace

std::string backupPathOf(const CommandContext& context, const std::string& mapPath)
{
    const std::string* backupOption = context.line.value("--backup");
    if (backupOption && backupOption->empty()) {
        context.fail("--backup needs a path");
        return {};
    }
    return backupOption ? *backupOption : mapPath + ".bak";
}

std::string writeSafely(const CommandContext& context, const MapWrite& write, const std::string& backupPath)
{
    const std::string& mapPath = write.mapPath;
    std::string reason;
    bool backupExisted = false;
    if (!platform::createFlushedFile(backupPath, write.original, reason, backupExisted)) {
        if (backupExisted)
            return "the backup " + backupPath
                   + " already exists and is never overwritten; move it away or name another with --backup PATH; "
                   + mapPath + " left as it was";
        return "can't write the backup " + backupPath + ": " + reason + "; " + mapPath + " left as it was";
    }

    platform::Files& files = context.mapFiles;
    std::vector<std::uint8_t> expected = write.original;
    std::string failure;
    for (std::size_t i = 0; i < write.changes.size(); ++i) {
        const ByteChange& change = write.changes[i];
        expected[static_cast<std::size_t>(change.offset)] = change.byte;
        if (!files.replaceByte(write.map, change.offset, change.byte)) {
            failure = "writing " + write.nameChange(i) + " at offset " + std::to_string(change.offset) + " failed";
            break;
        }
    }
    if (failure.empty() && !files.flush(write.map))
        failure = "flushing " + mapPath + " failed";
    if (failure.empty())
        failure = readBackMismatch(files, write.map, expected, write.expectedCrc);
    if (failure.empty())
        return {};

    if (restore(files, write.map, write.changes, write.original))
        return failure + "; " + mapPath + " restored byte for byte from the backup " + backupPath;
    return failure + ", and restoring " + mapPath + " failed too: copy the backup " + backupPath + " over " + mapPath;
}

int applyEdits(const CommandContext& context, platform::FileNumber map, const std::string& mapPath,
               std::int64_t length, std::span<const TerrainEdit> edits, const std::string& backupPath)
{
    std::vector<std::uint8_t> original(static_cast<std::size_t>(length));
    if (context.mapFiles.readBytes(map, 0, original) != length)
        return context.fail("can't read MAP " + mapPath);
    std::vector<ByteChange> changes;
    changes.reserve(edits.size());
    for (const TerrainEdit& edit : edits)
        changes.push_back({blocks::recordOffset(context.baseOffset, edit.block), edit.code});
    const auto nameChange = [&](std::size_t i) {
        return "block " + std::to_string(edits[i].block) + " (line " + std::to_string(edits[i].line) + ")";
    };
    const std::string failure = writeSafely(context, {mapPath, map, original, changes, nameChange, std::nullopt}, backupPath);
    if (!failure.empty())
        return context.fail(failure);
    context.out << "Wrote " << edits.size() << (edits.size() == 1 ? " code" : " codes") << " into " << mapPath
                << "; the backup is " << backupPath << '\n';
    return exitSuccess;
}

} // namespace quarnet::cli
