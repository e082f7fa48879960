#include "CommandTable.h"

#include "mapfile/PatchFormat.h"
#include "mapfile/PatchMaker.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <string>

// patch ORIGINAL MODDED OUT: the IPS or BPS patch between two maps.

namespace quarnet::cli {

namespace {

constexpr std::string_view help = R"(Usage: quarnet-terrain patch ORIGINAL MODDED OUT [--offset HEX]
Writes a patch that turns ORIGINAL into MODDED, for any patcher to apply:
OUT ending in .ips gives IPS, .bps gives BPS. Both files must have the same
length. IPS carries no checksum and reaches only the first 16 MiB of a file;
BPS carries the CRC32s of both files, so it is never applied to the wrong
one, and names the tool and the map in its metadata. An existing OUT is
replaced, ORIGINAL and MODDED never.

  --offset HEX   accepted as by every command; it changes nothing here, as a
                 patch covers every byte of the file

Exit codes: 0 written, 2 error.
)";

int run(const CommandContext& context)
{
    const std::string& originalPath = context.line.operands[0];
    const std::string& moddedPath = context.line.operands[1];
    const std::string& outPath = context.line.operands[2];
    const patches::PatchFormat format = patches::patchFormatOfName(outPath);
    if (format == patches::PatchFormat::none)
        return context.fail("OUT " + outPath + " must end in .ips or .bps, the patch's format");
    // A patch written over one of its own inputs would lose a map.
    if (platform::isSameFile(outPath, originalPath) || platform::isSameFile(outPath, moddedPath))
        return context.fail("OUT " + outPath + " is ORIGINAL or MODDED; name another file");

    platform::ReadOnlyFiles files;
    const platform::FileNumber original = files.open(originalPath);
    if (original == 0)
        return context.fail("can't read ORIGINAL " + originalPath + ": " + files.openFailure());
    const platform::FileNumber modded = files.open(moddedPath);
    if (modded == 0)
        return context.fail("can't read MODDED " + moddedPath + ": " + files.openFailure());
    const patches::EncodedPatch made =
        patches::makeFilePatch(files, {original, originalPath, modded, moddedPath}, format, "quarnet-terrain");
    if (!made.refusal.empty())
        return context.fail(made.refusal);
    std::string reason;
    if (!platform::writeWholeFile(outPath, made.bytes, reason))
        return context.fail("can't write OUT " + outPath + ": " + reason);
    context.out << "Wrote " << outPath << ", " << made.bytes.size() << " bytes: the " << patches::formatName(format)
                << " patch that turns " << originalPath << " into " << moddedPath << '\n';
    return exitSuccess;
}

} // namespace

extern const Command patchCommand {"patch", "ORIGINAL MODDED OUT", {}, "write the IPS or BPS patch from ORIGINAL to MODDED",
                                   help, run};

} // namespace quarnet::cli
