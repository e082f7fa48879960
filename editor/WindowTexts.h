#pragma once

// The window speaks 简体中文 always: every message, its own and the map file
// code's, is rendered from the Chinese table of texts.

#include "mapfile/Message.h"

#include <string>
#include <utility>

namespace quarnet {

inline std::string windowText(const texts::Message& message)
{
    return texts::renderMessage(message, texts::Language::chinese);
}

// A command's title with the file it takes: "导入地形图 terrain.png".
inline texts::Message titleWithFile(texts::Text command, std::string fileName)
{
    return texts::message(texts::Text::titleWithFile).withFile(std::move(fileName)).withPart(texts::message(command));
}

} // namespace quarnet
