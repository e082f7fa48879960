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
        if (!refusal_)
            ips_.emplace();
        return;
    case PatchFormat::bps:
        bps_.emplace(fileSize, metadata);
        return;
    case PatchFormat::none:
        break;
    }
    refusal_ = texts::message(texts::Text::patchNeedsFormat);
}

void PatchMaker::add(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified)
{
    if (!refusal_)
        finder_.add(original, modified);
}

EncodedPatch PatchMaker::finish()
{
    if (refusal_)
        return {{}, refusal_};
    if (finder_.size() != fileSize_)
        return {{}, texts::message(texts::Text::patchInputsShort, finder_.size(), fileSize_)};
    finder_.finish();
    if (ips_)
        return {ips_->finish(), {}};
    return {bps_->finish(finder_.originalCrc(), finder_.modifiedCrc()), {}};
}

namespace {

texts::Message readFailure(texts::Text role, const std::string& path)
{
    return texts::message(texts::Text::patchReadFailed).withFile(path).withPart(texts::message(role));
}

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
        return {{}, texts::message(texts::Text::patchLengthsUnknown)};
    if (length != moddedLength)
        return {{}, texts::message(texts::Text::patchLengthsDiffer, length, moddedLength)};
    const std::string metadata = "tool: " + std::string(tool) + "\nmap: " + fileNameOf(inputs.originalPath) + "\n";
    PatchMaker maker(format, static_cast<std::size_t>(length), metadata);
    if (maker.refusal())
        return {{}, maker.refusal()};

    constexpr std::size_t chunk = 64 * 1024;
    std::vector<std::uint8_t> originalBytes(chunk);
    std::vector<std::uint8_t> moddedBytes(chunk);
    for (std::int64_t position = 0; position < length; position += static_cast<std::int64_t>(chunk)) {
        const auto count = static_cast<std::size_t>(std::min<std::int64_t>(length - position, chunk));
        const std::span<std::uint8_t> originalChunk = std::span(originalBytes).first(count);
        const std::span<std::uint8_t> moddedChunk = std::span(moddedBytes).first(count);
        if (files.readBytes(inputs.original, position, originalChunk) != static_cast<std::int64_t>(count))
            return {{}, readFailure(texts::Text::roleOriginal, inputs.originalPath)};
        if (files.readBytes(inputs.modded, position, moddedChunk) != static_cast<std::int64_t>(count))
            return {{}, readFailure(texts::Text::roleModded, inputs.moddedPath)};
        maker.add(originalChunk, moddedChunk);
    }
    return maker.finish();
}

} // namespace quarnet::patches
