#include "platform/DataFiles.h"
#include "platform/ExecutableDirectory.h"
#include "platform/NativeFiles.h"
#include "platform/NumberText.h"
#include "platform/TextCodec.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

#include <limits>
#include <optional>

namespace quarnet::platform {
namespace {

using testing::TempDir;
using testing::utf8FromPath;

TEST(NativeFiles, ReadsAndReplacesSingleBytesInPlace)
{
    TempDir dir;
    const std::string path = dir.write("map", {10, 11, 12, 13});
    NativeFiles files;
    const FileNumber number = files.open(path);
    ASSERT_GT(number, 0);
    EXPECT_EQ(files.length(number), 4);

    std::uint8_t byte = 0;
    ASSERT_TRUE(files.readByte(number, 2, byte));
    EXPECT_EQ(byte, 12);
    ASSERT_TRUE(files.replaceByte(number, 2, 0x22));
    ASSERT_TRUE(files.flush(number));
    // Unbuffered: another reader sees the byte at once.
    EXPECT_EQ(TempDir::read(path), (std::vector<std::uint8_t> {10, 11, 0x22, 13}));

    // Nothing at or past the end, or before the start; the file never grows.
    EXPECT_FALSE(files.readByte(number, 4, byte));
    EXPECT_FALSE(files.readByte(number, -1, byte));
    EXPECT_FALSE(files.replaceByte(number, 4, 1));
    EXPECT_FALSE(files.replaceByte(number, 1000, 1));
    EXPECT_FALSE(files.replaceByte(number, -1, 1));
    EXPECT_EQ(files.length(number), 4);
    EXPECT_EQ(TempDir::read(path), (std::vector<std::uint8_t> {10, 11, 0x22, 13}));

    files.closeAll();
    EXPECT_FALSE(files.readByte(number, 0, byte));
    EXPECT_FALSE(files.replaceByte(number, 0, 1));
    EXPECT_FALSE(files.flush(number));
    EXPECT_EQ(files.length(number), -1);
    files.closeAll(); // harmless twice
}

TEST(NativeFiles, ReadsARangeUpToTheFilesEnd)
{
    TempDir dir;
    const std::string path = dir.write("map", {1, 2, 3, 4, 5});
    NativeFiles files;
    const FileNumber number = files.open(path);
    ASSERT_GT(number, 0);

    struct Case {
        std::int64_t offset;
        std::size_t size;
        std::int64_t expected;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {0, 5, 5, {1, 2, 3, 4, 5}},
        {1, 3, 3, {2, 3, 4}},
        {3, 4, 2, {4, 5}},     // the file ends inside the range
        {5, 2, 0, {}},         // at the end
        {100, 2, 0, {}},       // past the end
        {-1, 2, -1, {}},       // before the start
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> buffer(c.size, 0xEE);
        const std::int64_t got = files.readBytes(number, c.offset, buffer);
        EXPECT_EQ(got, c.expected) << "offset " << c.offset;
        if (got > 0) {
            buffer.resize(static_cast<std::size_t>(got));
            EXPECT_EQ(buffer, c.bytes) << "offset " << c.offset;
        }
    }
    std::vector<std::uint8_t> buffer(2);
    EXPECT_EQ(files.readBytes(number + 1, 0, buffer), -1);
    files.closeAll();
    EXPECT_EQ(files.readBytes(number, 0, buffer), -1);
}

TEST(NativeFiles, OffsetsBeyond32BitsAreNotCut)
{
    TempDir dir;
    const std::string path = dir.write("sparse", {0x55});
    const std::int64_t far = (std::int64_t {1} << 32) + 1;
    std::filesystem::resize_file(testing::pathFromUtf8(path), static_cast<std::uintmax_t>(far + 1));
    NativeFiles files;
    const FileNumber number = files.open(path);
    ASSERT_GT(number, 0);
    EXPECT_EQ(files.length(number), far + 1);
    ASSERT_TRUE(files.replaceByte(number, far, 0x07));
    std::uint8_t byte = 0;
    ASSERT_TRUE(files.readByte(number, far, byte));
    EXPECT_EQ(byte, 0x07);
    // Offset 1, the same low 32 bits, is untouched.
    ASSERT_TRUE(files.readByte(number, 1, byte));
    EXPECT_EQ(byte, 0);
    ASSERT_TRUE(files.readByte(number, 0, byte));
    EXPECT_EQ(byte, 0x55);
}

TEST(NativeFiles, OpensOnlyExistingRegularFiles)
{
    TempDir dir;
    NativeFiles files;
    const auto missing = dir.path() / "missing";
    EXPECT_EQ(files.open(utf8FromPath(missing)), 0);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(files.open(utf8FromPath(dir.path())), 0);
    EXPECT_EQ(files.open(""), 0);
    EXPECT_EQ(files.open(std::string("a\0b", 3)), 0);
}

TEST(NativeFiles, NumbersAreNeverZeroAndNeverShared)
{
    TempDir dir;
    const std::string path = dir.write("map", {1});
    NativeFiles files;
    const FileNumber a = files.open(path);
    const FileNumber b = files.open(path);
    EXPECT_GT(a, 0);
    EXPECT_GT(b, 0);
    EXPECT_NE(a, b);
    ASSERT_TRUE(files.replaceByte(a, 0, 9));
    std::uint8_t byte = 0;
    ASSERT_TRUE(files.readByte(b, 0, byte)); // shared: both see the same file
    EXPECT_EQ(byte, 9);
}

TEST(TextCodec, GbkBothWays)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {"44", "44"},
        {"～", "\xA1\xAB"},
        {"西凉", "\xCE\xF7\xC1\xB9"},
        {"当前地形:", "\xB5\xB1\xC7\xB0\xB5\xD8\xD0\xCE:"},
        {"！", "\xA3\xA1"},
        {"€", "\x80"},
    };
    for (const auto& [utf8, gbk] : cases) {
        EXPECT_EQ(utf8ToGbk(utf8), gbk) << utf8;
        EXPECT_EQ(gbkToUtf8(gbk), utf8) << utf8;
    }
    // GBK's user-defined area survives the round trip.
    const std::string userDefined = "\xFE\xFE\xAA\xA1";
    EXPECT_EQ(utf8ToGbk(gbkToUtf8(userDefined)), userDefined);
    // What GBK lacks becomes one "?" per character.
    EXPECT_EQ(utf8ToGbk("a🗺b"), "a?b");
    // A lead byte takes the next byte as its trail whenever that can be one,
    // an ASCII letter included: 81 41 is 丄.
    EXPECT_EQ(gbkToUtf8("\x81" "A"), "丄");
    // Broken input is replaced, never passed through raw.
    EXPECT_EQ(utf8ToGbk("\xFF" "4"), "?4");
    // A lead byte cut off at the end of one text never pairs with the first
    // byte of the next: 81 40 would be one character.
    const std::string cut = gbkToUtf8("A" "\x81");
    EXPECT_EQ(cut.substr(0, 1), "A");
    EXPECT_EQ(gbkToUtf8("\x40"), "@");
}

TEST(NumberText, DecimalIntegerValue)
{
    const std::vector<std::pair<std::string, std::int32_t>> cases = {
        {"", 0},        {"0", 0},          {"519", 519},   {"00519", 519}, {" 12", 12},
        {"-7", -7},     {"+7", 7},         {"12abc", 12},  {"abc", 0},     {"-", 0},
        {"1 2", 1},     {"17471", 17471},  {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<std::int32_t>::max()},
        {"99999999999999999999999", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"-99999999999999999999999", std::numeric_limits<std::int32_t>::min()},
        {"１２", 0}, // full-width digits are not digits
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(decimalIntegerValue(text), value) << '"' << text << '"';
}

TEST(NumberText, NumericValue)
{
    const std::vector<std::pair<std::string, std::optional<double>>> cases = {
        {"1", 1.0},  {"2.9", 2.9},   {" 3 ", 3.0},     {"+4", 4.0},   {"-1", -1.0},
        {"0.5", 0.5}, {".5", 0.5},   {"1e2", 100.0},  {"", std::nullopt}, {" ", std::nullopt},
        {"abc", std::nullopt},       {"2x", std::nullopt}, {"inf", std::nullopt},
        {"nan", std::nullopt},       {"1e999", std::nullopt}, {"0x10", std::nullopt},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(numericValue(text), value) << '"' << text << '"';
}

TEST(NumberText, DecimalAndHexText)
{
    EXPECT_EQ(decimalText(0), "0");
    EXPECT_EQ(decimalText(-42), "-42");
    EXPECT_EQ(decimalText(1690476), "1690476");
    EXPECT_EQ(hexText(0), "0");
    EXPECT_EQ(hexText(76), "4C");
    EXPECT_EQ(hexText(1690476), "19CB6C");
    EXPECT_EQ(hexText(0xFFFFFFFF), "FFFFFFFF");
    EXPECT_EQ(hexText((std::int64_t {1} << 32) + 0x44), "44"); // low 32 bits
    EXPECT_EQ(hexText(-1), "FFFFFFFF");
}

TEST(ExecutableDirectory, HoldsThisTestProgram)
{
    const std::string directory = executableDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_NE(directory.back(), '/');
    EXPECT_NE(directory.back(), '\\');
#ifdef _WIN32
    const char* program = "quarnet_mapfile_tests.exe";
#else
    const char* program = "quarnet_mapfile_tests";
#endif
    EXPECT_TRUE(std::filesystem::exists(testing::pathFromUtf8(joinPath(directory, program))));
}

// The demo beside the program is named only while no map lies there itself.
TEST(DataFiles, TheDemoMapInTheProgramsDemoFolder)
{
    testing::TempDir dir;
    const std::string program = testing::utf8FromPath(dir.path());
    EXPECT_EQ(findDemoMap(program), std::nullopt);
    std::filesystem::create_directory(dir.path() / "demo");
    EXPECT_EQ(findDemoMap(program), std::nullopt);
    const std::string demo = joinPath(joinPath(program, "demo"), "SANGO7.MPC");
    std::ofstream(testing::pathFromUtf8(demo)) << "map";
    EXPECT_EQ(findDemoMap(program), demo);
    dir.write("SANGO7.MPC", {1, 2, 3});
    EXPECT_EQ(findDemoMap(program), std::nullopt);
}

} // namespace
} // namespace quarnet::platform
