#pragma once

// The two tables of texts, each a kind's text per row, in the order the
// kinds are declared. renderMessage reads them; the tables' test checks
// that every kind has its text in both.

#include "Text.h"

#include <span>
#include <string_view>

namespace quarnet::texts {

struct TextEntry {
    Text text;
    std::string_view words;
};

std::span<const TextEntry> englishTexts();
std::span<const TextEntry> chineseTexts();

} // namespace quarnet::texts
