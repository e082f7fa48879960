#include "EditApplication.h"

#include "model/BlockLayout.h"
#include "model/TerrainTable.h"
#include "platform/WholeFiles.h"

#include <algorithm>
#include <vector>

namespace quarnet::cli {

namespace {

// Reads the whole file back and names the first way it differs from
// `expected`; empty when it is exactly `expected`.
std::string readBackMismatch(platform::Files& files, platform::FileNumber map, const std::vector<std::uint8_t>& expected)
{
    if (files.length(map) != static_cast<std::int64_t>(expected.size()))
        return "the file's length changed";
    std::vector<std::uint8_t> actual(expected.size());
    if (files.readBytes(map, 0, actual) != static_cast<std::int64_t>(actual.size()))
        return "reading the file back failed";
    const auto [actualAt, expectedAt] = std::ranges::mismatch(actual, expected);
    if (actualAt == actual.end())
        return {};
    return "reading the file back found byte " + terrain::formatCode(*actualAt) + " at offset "
           + std::to_string(actualAt - actual.begin()) + " where " + terrain::formatCode(*expectedAt)
           + " was written";
}

// Puts the original bytes back at every edited offset, flushes and checks the
// whole file against the original. The bytes are those the backup was written
// from, kept in memory, so a backup that can't be read back doesn't stop it.
bool restore(platform::Files& files, platform::FileNumber map, std::span<const TerrainEdit> edits,
             std::int64_t baseOffset, const std::vector<std::uint8_t>& original)
{
    bool written = true;
    for (const TerrainEdit& edit : edits) {
        const std::int64_t offset = blocks::recordOffset(baseOffset, edit.block);
        written = files.replaceByte(map, offset, original[static_cast<std::size_t>(offset)]) && written;
    }
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

int applyEdits(const CommandContext& context, platform::FileNumber map, const std::string& mapPath,
               std::int64_t length, std::span<const TerrainEdit> edits, const std::string& backupPath)
{
    platform::Files& files = context.mapFiles;
    std::vector<std::uint8_t> original(static_cast<std::size_t>(length));
    if (files.readBytes(map, 0, original) != length)
        return context.fail("can't read MAP " + mapPath);
    std::string reason;
    bool backupExisted = false;
    if (!platform::createFlushedFile(backupPath, original, reason, backupExisted)) {
        if (backupExisted)
            return context.fail("the backup " + backupPath
                                + " already exists and is never overwritten; move it away or name another with "
                                  "--backup PATH; " + mapPath + " left as it was");
        return context.fail("can't write the backup " + backupPath + ": " + reason + "; " + mapPath + " left as it was");
    }

    std::vector<std::uint8_t> expected = original;
    std::string failure;
    for (const TerrainEdit& edit : edits) {
        const std::int64_t offset = blocks::recordOffset(context.baseOffset, edit.block);
        expected[static_cast<std::size_t>(offset)] = edit.code;
        if (!files.replaceByte(map, offset, edit.code)) {
            failure = "writing block " + std::to_string(edit.block) + " (line " + std::to_string(edit.line)
                      + ") at offset " + std::to_string(offset) + " failed";
            break;
        }
    }
    if (failure.empty() && !files.flush(map))
        failure = "flushing " + mapPath + " failed";
    if (failure.empty())
        failure = readBackMismatch(files, map, expected);
    if (failure.empty()) {
        context.out << "Wrote " << edits.size() << (edits.size() == 1 ? " code" : " codes") << " into " << mapPath
                    << "; the backup is " << backupPath << '\n';
        return exitSuccess;
    }

    if (restore(files, map, edits, context.baseOffset, original))
        return context.fail(failure + "; " + mapPath + " restored byte for byte from the backup " + backupPath);
    return context.fail(failure + ", and restoring " + mapPath + " failed too: copy the backup " + backupPath + " over "
                        + mapPath);
}

} // namespace quarnet::cli
