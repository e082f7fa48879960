#include "SafeWrite.h"

#include "BlockLayout.h"
#include "PatchFormat.h"
#include "TerrainTable.h"

#include "platform/Crc32.h"

#include <algorithm>
#include <vector>

namespace quarnet::edits {

namespace {

// Reads the whole file back and names the first way it differs from
// `expected`; empty when it is exactly `expected` and, where one is given,
// has the expected CRC-32.
std::string readBackMismatch(platform::Files& files, platform::FileNumber map, std::span<const std::uint8_t> expected,
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
             std::span<const std::uint8_t> original)
{
    bool written = true;
    for (const ByteChange& change : changes)
        written = files.replaceByte(map, change.offset, original[static_cast<std::size_t>(change.offset)]) && written;
    return written && files.flush(map) && readBackMismatch(files, map, original).empty();
}

// Creates the backup file where the choice says; 0, with the path and why
// not, when it can't be.
platform::FileNumber createBackup(platform::Files& files, const BackupChoice& choice, std::string_view mapPath,
                                  std::string& backupPath, std::string& failure)
{
    bool existed = false;
    if (choice) {
        backupPath = *choice;
        const platform::FileNumber backup = files.create(backupPath, existed);
        if (backup == 0)
            failure = existed ? "the backup " + backupPath
                                    + " already exists and is never overwritten; move it away or name another with "
                                      "--backup PATH"
                              : "can't create the backup " + backupPath;
        return backup;
    }
    // Each existing backup is passed over, also one made between the look
    // and the create: creating never opens an existing file.
    for (int n = 0;; ++n) {
        backupPath = numberedBackupPath(mapPath, n);
        const platform::FileNumber backup = files.create(backupPath, existed);
        if (backup != 0)
            return backup;
        if (!existed) {
            failure = "can't create the backup " + backupPath;
            return 0;
        }
    }
}

// Writes the whole original into a new file and flushes it; empty on
// success, else why not. An incomplete backup is deleted.
std::string writeBackup(platform::Files& files, const BackupChoice& choice, std::string_view mapPath,
                        std::string& backupPath, std::span<const std::uint8_t> original)
{
    std::string failure;
    const platform::FileNumber backup = createBackup(files, choice, mapPath, backupPath, failure);
    if (backup == 0)
        return failure;
    if (!files.append(backup, original))
        failure = "writing the backup " + backupPath + " failed";
    else if (!files.flush(backup))
        failure = "flushing the backup " + backupPath + " failed";
    if (failure.empty())
        files.close(backup);
    else
        files.discard(backup);
    return failure;
}

} // namespace

std::string numberedBackupPath(std::string_view mapPath, int n)
{
    return std::string(mapPath) + (n == 0 ? "" : "." + std::to_string(n)) + ".bak";
}

WriteResult writeSafely(platform::Files& files, const MapWrite& write, const BackupChoice& backup)
{
    const std::string mapPath(write.mapPath);
    std::string backupPath;
    if (std::string failure = writeBackup(files, backup, mapPath, backupPath, write.original); !failure.empty())
        return {false, {}, failure + "; " + mapPath + " left as it was"};

    std::vector<std::uint8_t> expected(write.original.begin(), write.original.end());
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
        return {true, backupPath, {}};

    if (restore(files, write.map, write.changes, write.original))
        return {false, backupPath, failure + "; " + mapPath + " restored byte for byte from the backup " + backupPath};
    // The backup was complete and flushed before the first byte was written.
    return {false, backupPath,
            failure + "; restoring " + mapPath + " failed too, so " + mapPath + " may be damaged: copy the complete backup "
                + backupPath + " over it"};
}

ByteWriteResult writeByte(platform::Files& files, platform::FileNumber map, std::string_view mapPath,
                          std::int64_t offset, std::uint8_t before, std::uint8_t after)
{
    std::string failure;
    std::uint8_t found = 0;
    if (!files.replaceByte(map, offset, after))
        failure = "writing the byte at offset " + std::to_string(offset) + " failed";
    else if (!files.flush(map))
        failure = "flushing " + std::string(mapPath) + " failed";
    else if (files.readBytes(map, offset, std::span(&found, 1)) != 1)
        failure = "reading the byte at offset " + std::to_string(offset) + " back failed";
    else if (found != after)
        failure = "reading the file back found byte " + terrain::formatCode(found) + " at offset "
                  + std::to_string(offset) + " where " + terrain::formatCode(after) + " was written";
    if (failure.empty())
        return {true, {}};

    const bool restored = files.replaceByte(map, offset, before) && files.flush(map)
                          && files.readBytes(map, offset, std::span(&found, 1)) == 1 && found == before;
    return {false, failure + (restored ? "; the byte there is " + terrain::formatCode(before) + " again, as it was"
                                       : "; putting back its old byte " + terrain::formatCode(before) + " failed too")};
}

WriteResult keepBackupCopy(platform::Files& files, std::string_view mapPath, std::span<const std::uint8_t> bytes)
{
    WriteResult result;
    result.failure = writeBackup(files, std::nullopt, mapPath, result.backupPath, bytes);
    result.written = result.failure.empty();
    return result;
}

WriteResult writeEdits(platform::Files& files, platform::FileNumber map, std::string_view mapPath,
                       std::span<const std::uint8_t> original, std::span<const TerrainEdit> edits,
                       std::int64_t baseOffset, const BackupChoice& backup)
{
    std::vector<ByteChange> changes;
    changes.reserve(edits.size());
    for (const TerrainEdit& edit : edits)
        changes.push_back({blocks::recordOffset(baseOffset, edit.block), edit.code});
    const auto nameChange = [&](std::size_t i) {
        return "block " + std::to_string(edits[i].block) + " (line " + std::to_string(edits[i].line) + ")";
    };
    return writeSafely(files, {map, mapPath, original, changes, nameChange, std::nullopt}, backup);
}

std::optional<std::vector<std::uint8_t>> readWholeMap(platform::Files& files, platform::FileNumber map)
{
    const std::int64_t length = files.length(map);
    if (length < 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (files.readBytes(map, 0, bytes) != length)
        return std::nullopt;
    return bytes;
}

} // namespace quarnet::edits
