#include "PatchMaker.h"

#include <algorithm>
#include <vector>

namespace quarnet::patches {

PatchMaker::PatchMaker(PatchFormat format, std::size_t fileSize, std::string_view metadata)
    : fileSize_(fileSize), finder_([this](const ChangeWindow& window) {
          if (ips_)
              ips_->add(window);
          if (bps_)
              bps_->add(window);
      })
{
    switch (format) {
    case PatchFormat::ips:
        refusal_ = ipsSizeRefusal(fileSize);
        if (refusal_.empty())
            ips_.emplace();
        return;
    case PatchFormat::bps:
        bps_.emplace(fileSize, metadata);
        return;
    case PatchFormat::none:
        break;
    }
    refusal_ = "a patch is IPS or BPS";
}

void PatchMaker::add(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified)
{
    if (refusal_.empty())
        finder_.add(original, modified);
}

EncodedPatch PatchMaker::finish()
{
    if (!refusal_.empty())
        return {{}, refusal_};
    if (finder_.size() != fileSize_)
        return {{}, "the files are " + std::to_string(finder_.size()) + " bytes long, not "
                        + std::to_string(fileSize_)};
    finder_.finish();
    if (ips_)
        return {ips_->finish(), {}};
    return {bps_->finish(finder_.originalCrc(), finder_.modifiedCrc()), {}};
}

namespace {

std::string fileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

EncodedPatch makeFilePatch(platform::Files& files, const PatchInputs& inputs, PatchFormat format,
                           std::string_view tool)
{
    const std::int64_t length = files.length(inputs.original);
    const std::int64_t moddedLength = files.length(inputs.modded);
    if (length < 0 || moddedLength < 0)
        return {{}, "can't tell the length of ORIGINAL or MODDED"};
    if (length != moddedLength)
        return {{}, "ORIGINAL has " + std::to_string(length) + " bytes and MODDED " + std::to_string(moddedLength)
                        + "; a map's length never changes, so no patch is made"};
    const std::string metadata = "tool: " + std::string(tool) + "\nmap: " + fileNameOf(inputs.originalPath) + "\n";
    PatchMaker maker(format, static_cast<std::size_t>(length), metadata);
    if (!maker.refusal().empty())
        return {{}, maker.refusal()};

    constexpr std::size_t chunk = 64 * 1024;
    std::vector<std::uint8_t> originalBytes(chunk);
    std::vector<std::uint8_t> moddedBytes(chunk);
    for (std::int64_t position = 0; position < length; position += static_cast<std::int64_t>(chunk)) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(length - position, chunk));
        const std::span<std::uint8_t> originalChunk = std::span(originalBytes).first(count);
        const std::span<std::uint8_t> moddedChunk = std::span(moddedBytes).first(count);
        if (files.readBytes(inputs.original, position, originalChunk) != static_cast<std::int64_t>(count))
            return {{}, "reading ORIGINAL " + inputs.originalPath + " failed"};
        if (files.readBytes(inputs.modded, position, moddedChunk) != static_cast<std::int64_t>(count))
            return {{}, "reading MODDED " + inputs.moddedPath + " failed"};
        maker.add(originalChunk, moddedChunk);
    }
    return maker.finish();
}

} // namespace quarnet::patches
