#include "SafeWrite.h"

#include "BlockLayout.h"
#include "PatchFormat.h"
#include "TerrainTable.h"

#include "platform/Crc32.h"

#include <algorithm>
#include <vector>

namespace quarnet::edits {

namespace {

using texts::Text;

// Reads the whole file back and names the first way it differs from
// `expected`; none when it is exactly `expected` and, where one is given,
// has the expected CRC-32.
std::optional<texts::Message> readBackMismatch(platform::Files& files, platform::FileNumber map, std::span<const std::uint8_t> expected,
                             std::optional<std::uint32_t> expectedCrc = std::nullopt)
{
    if (files.length(map) != static_cast<std::int64_t>(expected.size()))
        return texts::message(Text::readBackLength);
    std::vector<std::uint8_t> actual(expected.size());
    if (files.readBytes(map, 0, actual) != static_cast<std::int64_t>(actual.size()))
        return texts::message(Text::readBackFailed);
    const auto [actualAt, expectedAt] = std::ranges::mismatch(actual, expected);
    if (actualAt != actual.end())
        return texts::message(Text::readBackMismatch, *actualAt, actualAt - actual.begin(), *expectedAt);
    if (expectedCrc) {
        const std::uint32_t crc = platform::crc32(actual);
        if (crc != *expectedCrc)
            return texts::message(Text::writtenCrc, crc, *expectedCrc);
    }
    return std::nullopt;
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
    return written && files.flush(map) && !readBackMismatch(files, map, original);
}

// Creates the backup file where the choice says; 0, with the path and why
// not, when it can't be.
platform::FileNumber createBackup(platform::Files& files, const BackupChoice& choice, std::string_view mapPath,
                                  std::string& backupPath, std::optional<texts::Message>& failure)
{
    bool existed = false;
    if (choice) {
        backupPath = *choice;
        const platform::FileNumber backup = files.create(backupPath, existed);
        if (backup == 0)
            failure = texts::message(existed ? Text::backupExists : Text::backupNotCreatable).withFile(backupPath);
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
            failure = texts::message(Text::backupNotCreatable).withFile(backupPath);
            return 0;
        }
    }
}

// Writes the whole original into a new file and flushes it; none on
// success, else why not. An incomplete backup is deleted.
std::optional<texts::Message> writeBackup(platform::Files& files, const BackupChoice& choice, std::string_view mapPath,
                        std::string& backupPath, std::span<const std::uint8_t> original)
{
    std::optional<texts::Message> failure;
    const platform::FileNumber backup = createBackup(files, choice, mapPath, backupPath, failure);
    if (backup == 0)
        return failure;
    if (!files.append(backup, original))
        failure = texts::message(Text::backupWriteFailed).withFile(backupPath);
    else if (!files.flush(backup))
        failure = texts::message(Text::backupFlushFailed).withFile(backupPath);
    if (!failure)
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
    if (auto failure = writeBackup(files, backup, mapPath, backupPath, write.original))
        return {false, {}, texts::message(Text::mapLeftAsItWas).withFile(mapPath).withPart(std::move(*failure))};

    std::vector<std::uint8_t> expected(write.original.begin(), write.original.end());
    std::optional<texts::Message> failure;
    for (std::size_t i = 0; i < write.changes.size(); ++i) {
        const ByteChange& change = write.changes[i];
        expected[static_cast<std::size_t>(change.offset)] = change.byte;
        if (!files.replaceByte(write.map, change.offset, change.byte)) {
            failure = texts::message(Text::writeChangeFailed, change.offset).withPart(write.nameChange(i));
            break;
        }
    }
    if (!failure && !files.flush(write.map))
        failure = texts::message(Text::mapFlushFailed).withFile(mapPath);
    if (!failure)
        failure = readBackMismatch(files, write.map, expected, write.expectedCrc);
    if (!failure)
        return {true, backupPath, std::nullopt};

    if (restore(files, write.map, write.changes, write.original))
        return {false, backupPath,
                texts::message(Text::mapRestored).withFile(mapPath).withOther(backupPath).withPart(std::move(*failure))};
    // The backup was complete and flushed before the first byte was written.
    return {false, backupPath,
            texts::message(Text::mapMayBeDamaged).withFile(mapPath).withOther(backupPath).withPart(std::move(*failure))};
}

ByteWriteResult writeByte(platform::Files& files, platform::FileNumber map, std::string_view mapPath,
                          std::int64_t offset, std::uint8_t before, std::uint8_t after)
{
    std::optional<texts::Message> failure;
    std::uint8_t found = 0;
    if (!files.replaceByte(map, offset, after))
        failure = texts::message(Text::byteWriteFailed, offset);
    else if (!files.flush(map))
        failure = texts::message(Text::mapFlushFailed).withFile(std::string(mapPath));
    else if (files.readBytes(map, offset, std::span(&found, 1)) != 1)
        failure = texts::message(Text::byteReadBackFailed, offset);
    else if (found != after)
        failure = texts::message(Text::readBackMismatch, found, offset, after);
    if (!failure)
        return {true, std::nullopt};

    const bool restored = files.replaceByte(map, offset, before) && files.flush(map)
                          && files.readBytes(map, offset, std::span(&found, 1)) == 1 && found == before;
    return {false, texts::message(restored ? Text::byteBackAsItWas : Text::byteNotPutBack, before)
                       .withPart(std::move(*failure))};
}

WriteResult keepBackupCopy(platform::Files& files, std::string_view mapPath, std::span<const std::uint8_t> bytes)
{
    WriteResult result;
    result.failure = writeBackup(files, std::nullopt, mapPath, result.backupPath, bytes);
    result.written = !result.failure;
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
        return texts::message(Text::changeOfBlock, edits[i].block, edits[i].line);
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
