#pragma once

// The window speaks 简体中文 always: every message from the map file's code
// is rendered from the Chinese table of texts.

#include "mapfile/Message.h"

#include <string>

namespace quarnet {

inline std::string windowText(const texts::Message& message)
{
    return texts::renderMessage(message, texts::Language::chinese);
}

} // namespace quarnet
