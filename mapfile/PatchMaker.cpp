#include "PatchMaker.h"

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

} // namespace quarnet::patches
