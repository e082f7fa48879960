#include "ApplyCommand.h"

#include "EditApplication.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/PatchFormat.h"

#include <string>
#include <vector>

namespace quarnet::cli {

namespace {

namespace g = geometry;

// What a patch changes, counted so that one made for another file shows
// itself as a wall of changes outside the terrain codes.
struct ChangeCounts {
    std::int64_t blocks = 0;       // terrain code bytes
    std::int64_t header = 0;       // bytes before block 1's record
    std::int64_t records = 0;      // the records' other bytes
    std::int64_t afterRecords = 0;

    std::int64_t others() const { return header + records + afterRecords; }
};

ChangeCounts countChanges(std::span<const ByteChange> changes, std::int64_t baseOffset)
{
    const std::int64_t recordsSpan = std::int64_t {g::blockCount} * g::recordSize;
    ChangeCounts counts;
    for (const ByteChange& change : changes) {
        const std::int64_t offset = change.offset;
        if (offset < baseOffset)
            ++counts.header;
        else if (offset - baseOffset >= recordsSpan)
            ++counts.afterRecords;
        else if ((offset - baseOffset) % g::recordSize == 0)
            ++counts.blocks;
        else
            ++counts.records;
    }
    return counts;
}

std::string countText(std::int64_t count, std::string_view one, std::string_view many)
{
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string summaryText(const ChangeCounts& counts)
{
    std::string text = countText(counts.blocks, "terrain block", "terrain blocks") + " and "
                       + countText(counts.others(), "other byte", "other bytes");
    if (counts.others() != 0)
        text += " (" + std::to_string(counts.header) + " in the header, " + std::to_string(counts.records)
                + " in the records, " + std::to_string(counts.afterRecords) + " after the records)";
    return text;
}

} // namespace

int applyPatchFile(const CommandContext& context, const OpenMap& opened, const std::string& patchPath,
                   const std::vector<std::uint8_t>& patch)
{
    const std::string& mapPath = opened.path;
    const platform::FileNumber map = opened.number;
    const std::string& backupPath = opened.backupPath;
    std::vector<std::uint8_t> original(static_cast<std::size_t>(opened.length));
    if (context.mapFiles.readBytes(map, 0, original) != opened.length)
        return context.fail("can't read MAP " + mapPath);

    const patches::PatchedBytes patched = patches::applyPatch(patch, original);
    if (!patched.refusal.empty())
        return context.fail(patchPath + ": " + patched.refusal + "; " + mapPath + " left as it was");
    std::vector<ByteChange> changes;
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (patched.target[i] != original[i])
            changes.push_back({static_cast<std::int64_t>(i), patched.target[i]});
    }
    const std::string format(patches::formatName(patches::patchFormatOf(patch)));
    if (changes.empty()) {
        context.out << patchPath << " (" << format << ") changes nothing in " << mapPath << "; " << mapPath
                    << " left as it was\n";
        return exitSuccess;
    }
    const std::string summary = summaryText(countChanges(changes, context.baseOffset));
    if (context.line.flag("--dry-run")) {
        context.out << patchPath << " (" << format << ") would change " << summary << " in " << mapPath
                    << "; nothing written (--dry-run)\n";
        return exitSuccess;
    }

    const auto nameChange = [](std::size_t) { return std::string("the patched bytes"); };
    const std::string failure =
        writeSafely(context, {mapPath, map, original, changes, nameChange, patched.targetCrc}, backupPath);
    if (!failure.empty())
        return context.fail(failure);
    context.out << "Applied " << patchPath << " (" << format << ") to " << mapPath << ": changed " << summary
                << "; the backup is " << backupPath << '\n';
    return exitSuccess;
}

} // namespace quarnet::cli
