#include "ApplyCommand.h"

#include "CommandTable.h"

#include "mapfile/PatchedMap.h"
#include "mapfile/SafeWrite.h"
#include "platform/WholeFiles.h"

#include <array>
#include <string>
#include <vector>

// apply MAP EDITS|PATCH: an edit list or an IPS or BPS patch, each checked
// whole in memory, then written through the safe write.

namespace quarnet::cli {

namespace {

constexpr std::array<std::string_view, 2> ownOptions = {"--backup", "--dry-run"};

constexpr std::string_view help = R"(Usage: quarnet-terrain apply MAP EDITS|PATCH [--dry-run] [--backup PATH] [--offset HEX]
Writes the terrain codes of an edit list, or an IPS or BPS patch, into MAP,
in place. EDITS is CSV as "diff --csv" writes it: one edit a line, either
"BLOCK,CODE" (block number 1 to 211302) or "X,Y,CODE" (a map pixel, X 0 to
17471, Y 0 to 12383); CODE is two hexadecimal digits, 01 to 22. A first line
of words (a header) and empty lines are skipped. A patch is known by its
first bytes ("PATCH" or "BPS1"), whatever its name.

Everything is checked before any byte is written: in an edit list every
line (codes 01 to 22, blocks inside the map and inside the file, no block
given two different codes); in a patch every record or action, and for BPS
the checksums: a BPS patch made for another version of MAP is refused with
both CRC32s. A patch that would change MAP's length is refused. Nothing bad
is written: the problem is named and MAP is left as it was. Then a backup
copy of MAP is written and flushed, the changed bytes are replaced in place,
MAP is flushed once and every byte is read back and checked (for BPS, its
CRC32 too). If anything fails, MAP is restored byte for byte and the message
says so. For a patch, the summary counts the terrain blocks and the other
bytes it changes: a patch for another file shows as many other bytes.

  --dry-run      check and summarise; write nothing, no backup either
  --backup PATH  the backup copy; an existing file there is never
                 overwritten: apply stops instead. Without it the backup is
                 the first of MAP.bak, MAP.1.bak, MAP.2.bak, ... that does not
                 exist, so no backup is ever overwritten
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Exit codes: 0 applied (or nothing to do), 2 error (MAP unchanged or restored).
)";

// MAP as apply opened it through context.mapFiles, read whole.
struct OpenMap {
    const std::string& path;
    platform::FileNumber number;
    const std::vector<std::uint8_t>& bytes;
    const std::optional<std::string>& backupChoice; // --backup, or none: numbered beside MAP
};

int applyEditList(const CommandContext& context, const OpenMap& opened, const std::string& editsPath,
                  const std::vector<std::uint8_t>& editText)
{
    const std::string& mapPath = opened.path;
    const edits::CheckedEditList checked = edits::checkEditList(
        std::string_view(reinterpret_cast<const char*>(editText.data()), editText.size()), context.baseOffset,
        static_cast<std::int64_t>(opened.bytes.size()));
    if (!checked.errors.empty()) {
        for (const std::string& error : checked.errors)
            context.err << "quarnet-terrain apply: " << editsPath << " " << error << '\n';
        return context.fail(std::to_string(checked.errors.size())
                            + (checked.errors.size() == 1 ? " bad line" : " bad lines") + "; " + mapPath + " left as it was");
    }
    if (checked.edits.empty()) {
        context.out << editsPath << " holds no edits; " << mapPath << " left as it was\n";
        return exitSuccess;
    }
    if (context.line.flag("--dry-run")) {
        context.out << "Would write " << checked.edits.size() << (checked.edits.size() == 1 ? " code" : " codes")
                    << " into " << mapPath << "; nothing written (--dry-run)\n";
        return exitSuccess;
    }
    return applyEdits(context, opened.number, mapPath, opened.bytes, checked.edits, opened.backupChoice);
}

int applyPatchFile(const CommandContext& context, const OpenMap& opened, const std::string& patchPath,
                   const std::vector<std::uint8_t>& patch)
{
    const std::string& mapPath = opened.path;
    const patches::PatchedMap patched = patches::patchMap(patch, opened.bytes, context.baseOffset);
    if (!patched.refusal.empty())
        return context.fail(patchPath + ": " + patched.refusal + "; " + mapPath + " left as it was");
    const std::string format(patches::formatName(patched.format));
    if (patched.changes.empty()) {
        context.out << patchPath << " (" << format << ") changes nothing in " << mapPath << "; " << mapPath
                    << " left as it was\n";
        return exitSuccess;
    }
    const std::string summary = patches::changeSummary(patched.counts);
    if (context.line.flag("--dry-run")) {
        context.out << patchPath << " (" << format << ") would change " << summary << " in " << mapPath
                    << "; nothing written (--dry-run)\n";
        return exitSuccess;
    }

    const auto nameChange = [](std::size_t) { return std::string("the patched bytes"); };
    const edits::WriteResult written = edits::writeSafely(
        context.mapFiles, {opened.number, mapPath, opened.bytes, patched.changes, nameChange, patched.targetCrc},
        opened.backupChoice);
    if (!written.written)
        return context.fail(written.failure);
    context.out << "Applied " << patchPath << " (" << format << ") to " << mapPath << ": changed " << summary
                << "; the backup is " << written.backupPath << '\n';
    return exitSuccess;
}

int run(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& inputPath = context.line.operands[1];
    std::optional<std::string> backupChoice;
    if (!context.readBackupOption(backupChoice))
        return exitTrouble;
    std::vector<std::uint8_t> input;
    std::string reason;
    if (!platform::readWholeFile(inputPath, input, reason))
        return context.fail("can't read EDITS or PATCH " + inputPath + ": " + reason);
    // A patch by its magic bytes, whatever its name; a file named as a patch
    // that isn't one is refused as a patch rather than read as an edit list.
    const bool isPatch = patches::isPatch(input, inputPath);

    platform::Files& files = context.mapFiles;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail("can't open MAP " + mapPath + " for reading and writing");
    int code = exitTrouble;
    if (files.length(map) < 0) {
        code = context.fail("can't tell the length of MAP " + mapPath);
    } else if (const std::optional<std::vector<std::uint8_t>> bytes = edits::readWholeMap(files, map); !bytes) {
        code = context.fail("can't read MAP " + mapPath);
    } else {
        const OpenMap opened {mapPath, map, *bytes, backupChoice};
        code = isPatch ? applyPatchFile(context, opened, inputPath, input)
                       : applyEditList(context, opened, inputPath, input);
    }
    files.close(map);
    return code;
}

} // namespace

int applyEdits(const CommandContext& context, platform::FileNumber map, const std::string& mapPath,
               std::span<const std::uint8_t> original, std::span<const edits::TerrainEdit> edits,
               const std::optional<std::string>& backupChoice)
{
    const edits::WriteResult written =
        edits::writeEdits(context.mapFiles, map, mapPath, original, edits, context.baseOffset, backupChoice);
    if (!written.written)
        return context.fail(written.failure);
    context.out << "Wrote " << edits.size() << (edits.size() == 1 ? " code" : " codes") << " into " << mapPath
                << "; the backup is " << written.backupPath << '\n';
    return exitSuccess;
}

extern const Command applyCommand {"apply", "MAP EDITS|PATCH", ownOptions, "write edits or a patch into the map, backed up",
                                   help, run};

} // namespace quarnet::cli
