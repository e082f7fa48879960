#include "TextForms.h"

#include "platform/NumberText.h"

namespace quarnet {

std::string rangeText(std::int32_t first, std::int32_t last)
{
    return platform::decimalText(first) + "～" + platform::decimalText(last);
}

} // namespace quarnet
