#include "PictureScale.h"

#include <charconv>
#include <string>

namespace quarnet::cli {

std::optional<int> pictureScale(const CommandContext& context)
{
    const std::string* scaleText = context.line.value("--scale");
    if (!scaleText)
        return pictures::defaultPictureScale;
    int scale = 0;
    const auto [end, error] = std::from_chars(scaleText->data(), scaleText->data() + scaleText->size(), scale);
    if (error != std::errc() || end != scaleText->data() + scaleText->size() || scale < 1 || scale > pictures::largestPictureScale) {
        context.fail(texts::message(texts::Text::scaleRange, pictures::largestPictureScale).withOther(*scaleText));
        return std::nullopt;
    }
    return scale;
}

} // namespace quarnet::cli
