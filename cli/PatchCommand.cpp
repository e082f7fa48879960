#include "Commands.h"

#include "mapfile/PatchFormat.h"
#include "mapfile/PatchMaker.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <algorithm>
#include <span>
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

    // Both files a chunk at a time: only their differences are kept.
    platform::ReadOnlyFiles files;
    const platform::FileNumber original = files.open(originalPath);
    if (original == 0)
        return context.fail("can't read ORIGINAL " + originalPath + ": " + files.openFailure());
    const platform::FileNumber modded = files.open(moddedPath);
    if (modded == 0)
        return context.fail("can't read MODDED " + moddedPath + ": " + files.openFailure());
    const std::int64_t length = files.length(original);
    const std::int64_t moddedLength = files.length(modded);
    if (length < 0 || moddedLength < 0)
        return context.fail("can't tell the length of ORIGINAL or MODDED");
    if (length != moddedLength)
        return context.fail("ORIGINAL has " + std::to_string(length) + " bytes and MODDED "
                            + std::to_string(moddedLength) + "; a map's length never changes, so no patch is made");
    const std::string metadata = "tool: quarnet-terrain\nmap: " + fileNameOf(originalPath) + "\n";
    patches::PatchMaker maker(format, static_cast<std::size_t>(length), metadata);
    if (!maker.refusal().empty())
        return context.fail(maker.refusal());

    constexpr std::size_t chunk = 64 * 1024;
    std::vector<std::uint8_t> originalBytes(chunk);
    std::vector<std::uint8_t> moddedBytes(chunk);
    for (std::int64_t position = 0; position < length; position += static_cast<std::int64_t>(chunk)) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(length - position, chunk));
        const std::span<std::uint8_t> originalChunk = std::span(originalBytes).first(count);
        const std::span<std::uint8_t> moddedChunk = std::span(moddedBytes).first(count);
        if (files.readBytes(original, position, originalChunk) != static_cast<std::int64_t>(count))
            return context.fail("reading ORIGINAL " + originalPath + " failed");
        if (files.readBytes(modded, position, moddedChunk) != static_cast<std::int64_t>(count))
            return context.fail("reading MODDED " + moddedPath + " failed");
        maker.add(originalChunk, moddedChunk);
    }

    const patches::EncodedPatch made = maker.finish();
    if (!made.refusal.empty())
        return context.fail(made.refusal);
    std::string reason;
    if (!platform::writeWholeFile(outPath, made.bytes, reason))
        return context.fail("can't write OUT " + outPath + ": " + reason);
    context.out << "Wrote " << outPath << ", " << made.bytes.size() << " bytes: the " << patches::formatName(format)
                << " patch that turns " << originalPath << " into " << moddedPath << '\n';
    return exitSuccess;
}

} // namespace quarnet::cli
