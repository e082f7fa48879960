#include "Commands.h"

#include "model/PatchFormat.h"
#include "platform/WholeFiles.h"

#include <string>
#include <vector>

namespace quarnet::cli {

namespace {

std::string fileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

int runPatch(const CommandContext& context)
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

    std::vector<std::uint8_t> original;
    std::vector<std::uint8_t> modded;
    std::string reason;
    if (!platform::readWholeFile(originalPath, original, reason))
        return context.fail("can't read ORIGINAL " + originalPath + ": " + reason);
    if (!platform::readWholeFile(moddedPath, modded, reason))
        return context.fail("can't read MODDED " + moddedPath + ": " + reason);
    if (original.size() != modded.size())
        return context.fail("ORIGINAL has " + std::to_string(original.size()) + " bytes and MODDED "
                            + std::to_string(modded.size()) + "; a map's length never changes, so no patch is made");

    const std::string metadata = "tool: quarnet-terrain\nmap: " + fileNameOf(originalPath) + "\n";
    const patches::EncodedPatch made = patches::makePatch(format, original, modded, metadata);
    if (!made.refusal.empty())
        return context.fail(made.refusal);
    if (!platform::writeWholeFile(outPath, made.bytes, reason))
        return context.fail("can't write OUT " + outPath + ": " + reason);
    context.out << "Wrote " << outPath << ", " << made.bytes.size() << " bytes: the " << patches::formatName(format)
                << " patch that turns " << originalPath << " into " << moddedPath << '\n';
    return exitSuccess;
}

} // namespace quarnet::cli
