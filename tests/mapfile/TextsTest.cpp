// The two tables of texts: every kind has its text in both, the Chinese one
// has no English words in it, both fill in the same data, and the data is
// rendered in each language's form.

#include "mapfile/Message.h"
#include "mapfile/PaintedTerrain.h"
#include "mapfile/Texts.h"
#include "platform/UserLanguage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <set>
#include <string>

namespace quarnet::testing {
namespace {

using texts::Language;
using texts::Message;
using texts::Text;

constexpr int kindCount = static_cast<int>(Text::count);

// Every kind with data in every field, none of it in Latin letters, and two
// terrain names as its parts.
Message sampleOf(Text text)
{
    Message sample = texts::message(text, 1, 2, 3, 4, 5, 6, 7, 8);
    sample.file = "地图甲";
    sample.other = "地图乙";
    sample.third = "地图丙";
    sample.parts = {texts::message(Text::shadeName, 1), texts::message(Text::shadeName, 2)};
    return sample;
}

// Runs of three or more Latin letters, once the words that stand as they
// are in both languages (the program's name and the game's map file's among
// them), the options and file endings as typed are taken out.
std::vector<std::string> latinWords(std::string text)
{
    static const std::regex allowed(
        R"(quarnet-terrain|--?[a-z][a-z-]*|\.[a-z]+\b|\b(PNG|JPEG|BMP|TGA|IPS|BPS|CRC32|Quarnet|SANGO7\.MPC)\b)");
    text = std::regex_replace(text, allowed, " ");
    std::vector<std::string> words;
    static const std::regex latin("[A-Za-z]{3,}");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), latin); it != std::sregex_iterator(); ++it)
        words.push_back(it->str());
    return words;
}

// The placeholders a text names, a count's word choice by its number only.
std::set<std::string> placeholdersOf(std::string_view text)
{
    std::set<std::string> names;
    for (std::size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
        std::string name(text.substr(open + 1, text.find('}', open) - open - 1));
        if (const std::size_t choice = name.find('?'); choice != std::string::npos)
            name = name.substr(0, choice);
        names.insert(name);
    }
    return names;
}

TEST(TablesOfTexts, EveryKindHasOneTextInEachTable)
{
    for (const auto& [language, entries] : {std::pair {Language::english, texts::englishTexts()},
                                            std::pair {Language::chinese, texts::chineseTexts()}}) {
        std::set<Text> seen;
        for (const texts::TextEntry& entry : entries) {
            EXPECT_TRUE(seen.insert(entry.text).second) << "kind " << static_cast<int>(entry.text) << " twice";
        }
        for (int kind = 0; kind < kindCount; ++kind) {
            SCOPED_TRACE("kind " + std::to_string(kind) + (language == Language::chinese ? " 简体中文" : " English"));
            EXPECT_FALSE(texts::textOf(static_cast<Text>(kind), language).empty()) << "no text";
            EXPECT_FALSE(texts::renderMessage(sampleOf(static_cast<Text>(kind)), language).empty());
        }
    }
}

TEST(TablesOfTexts, ChineseTextsHaveNoEnglishWords)
{
    for (int kind = 0; kind < kindCount; ++kind) {
        const std::string rendered = texts::renderMessage(sampleOf(static_cast<Text>(kind)), Language::chinese);
        EXPECT_EQ(latinWords(rendered), std::vector<std::string> {}) << "kind " << kind << ": " << rendered;
        EXPECT_EQ(rendered.find('{'), std::string::npos) << rendered;
    }
}

TEST(TablesOfTexts, BothLanguagesShowTheSameData)
{
    for (int kind = 0; kind < kindCount; ++kind) {
        const auto text = static_cast<Text>(kind);
        EXPECT_EQ(placeholdersOf(texts::textOf(text, Language::chinese)),
                  placeholdersOf(texts::textOf(text, Language::english)))
            << "kind " << kind << ": " << texts::textOf(text, Language::english);
    }
}

TEST(TablesOfTexts, DataInEachLanguagesForm)
{
    const Message otherFile = texts::message(Text::patchFileRefused)
                                  .withFile("otherbase.bps")
                                  .withPart(texts::message(Text::bpsOtherFile, 1690484, 0x2013723D, 1690484, 0xAE7713DC));
    EXPECT_EQ(texts::renderMessage(otherFile, Language::english),
              "otherbase.bps: the patch was made for another version of the file: it expects 1690484 bytes with CRC32 "
              "2013723D, and the file has 1690484 bytes with CRC32 AE7713DC");
    EXPECT_EQ(texts::renderMessage(otherFile, Language::chinese),
              "otherbase.bps：这个补丁是为另一个版本的文件制作的：它要求 1690484 字节、CRC32 为 2013723D，"
              "而这个文件有 1690484 字节、CRC32 为 AE7713DC");

    // A count's word, a code, a colour, and names joined as a list.
    EXPECT_EQ(texts::renderMessage(texts::message(Text::wroteCodes, 1).withFile("M").withOther("M.bak"), Language::english),
              "Wrote 1 code into M; the backup is M.bak");
    EXPECT_EQ(texts::renderMessage(texts::message(Text::wroteCodes, 2).withFile("M").withOther("M.bak"), Language::english),
              "Wrote 2 codes into M; the backup is M.bak");
    EXPECT_EQ(texts::renderMessage(texts::message(Text::editTwoCodes, 548, 5, 0x22, 3), Language::chinese),
              "区块 548 在这里得到代码 05，但在第 3 行得到 22");
    const Message stray = texts::message(Text::strayPixel, 4, 5, 0x12AB0F)
                              .withPart(texts::message(Text::blockInPicture, 548, 2, 2, 1, 1));
    EXPECT_EQ(texts::renderMessage(stray, Language::english),
              "pixel x 4, y 5 has colour #12AB0F, no terrain colour (block 548 (row 2, column 2; picture x 1, y 1))");
    Message names = texts::message(Text::nameList);
    for (const terrain::Shade shade : {0, terrain::greyShade(), terrain::backgroundShade()})
        names.parts.push_back(texts::message(Text::shadeName, shade));
    const std::string first(terrain::shadeName(0));
    EXPECT_EQ(texts::renderMessage(names, Language::english), first + ", no name and background");
    EXPECT_EQ(texts::renderMessage(names, Language::chinese), first + "、无名称和背景");
}

TEST(UserLanguage, LocaleVariablesInTheirOrder)
{
    EXPECT_TRUE(platform::localeIsChinese(nullptr, nullptr, "zh_CN.UTF-8"));
    EXPECT_TRUE(platform::localeIsChinese("zh_TW.UTF-8", "C", "C"));
    EXPECT_FALSE(platform::localeIsChinese("C", "zh_CN.UTF-8", "zh_CN.UTF-8")) << "LC_ALL first";
    EXPECT_TRUE(platform::localeIsChinese("", "zh_CN.UTF-8", "C")) << "an empty LC_ALL counts as unset";
    EXPECT_FALSE(platform::localeIsChinese(nullptr, "en_GB.UTF-8", "zh_CN.UTF-8")) << "LC_MESSAGES before LANG";
    EXPECT_FALSE(platform::localeIsChinese(nullptr, nullptr, "C"));
    EXPECT_FALSE(platform::localeIsChinese(nullptr, nullptr, nullptr));
}

} // namespace
} // namespace quarnet::testing
