// Patches dropped on the real window, three refusals shown in Chinese, an
// undo refused once another program changed the map, another program's write
// shown as it happens, and the terrain picture and the patch made from the
// window menu; the map's bytes on disk checked after each step. No map
// picture: the view shows the map's terrain.

#include "Win32Fixture.h"

#include "editor/ChangePreview.h"
#include "mapfile/ChangePicture.h"
#include "mapfile/ImageEncoding.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/PatchFormat.h"
#include "mapfile/TerrainPalette.h"
#include "mapfile/TerrainPicture.h"
#include "mapfile/TerrainRaster.h"
#include "platform/Crc32.h"
#include "support/MapFixtures.h"

#include <fstream>

using namespace quarnet;
using namespace quarnet::testing;
using namespace std::chrono_literals;

namespace {

namespace g = geometry;

constexpr std::uint8_t river = 0x01;
constexpr std::uint8_t desert = 0x0E;

class WindowPatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::rename(picture_, away_);
        harness.make();
        original_ = patternedMap();
        path_ = dir_.write("SANGO7.MPC", original_);
        harness.answerNextOpenDialog(platform::utf8ToWide(path_));
        harness.click("打开文件按钮");
        ASSERT_TRUE(harness.window().editor().isMapFileOpen());
    }
    void TearDown() override
    {
        harness.reset();
        std::filesystem::rename(away_, picture_);
    }

    void drop(const std::string& path) const
    {
        SendMessageW(harness.window().hwnd(), WM_DROPFILES,
                     reinterpret_cast<WPARAM>(shellDrop({platform::utf8ToWide(path)})), 0);
    }
    void menu(const wchar_t* item) const
    {
        SendMessageW(harness.window().hwnd(), WM_SYSCOMMAND, windowMenuCommand(harness.window().hwnd(), item), 0);
    }

    Rgb shownPixel(int x, int y) const { return harness.window().canvas().shownPixel(x, y); }
    ByteChanges changes() const { return changedBytes(original_, TempDir::read(path_)); }
    std::string inDir(const char* name) const { return utf8FromPath(dir_.path() / name); }
    std::string backup(int number) const { return path_ + (number == 0 ? "" : "." + std::to_string(number)) + ".bak"; }
    bool exists(const std::string& path) const { return std::filesystem::exists(pathFromUtf8(path)); }

    // The patch of a format that makes these changes to `from`.
    std::string patch(const char* name, patches::PatchFormat format, const std::vector<std::uint8_t>& from,
                      const ByteChanges& to) const
    {
        std::vector<std::uint8_t> target = from;
        for (const auto& [offset, byte] : to)
            target[offset] = byte;
        return dir_.write(name, patches::makePatch(format, from, target, "").bytes);
    }

    // The map's terrain at one pixel a block, blocks 1 and 548 painted as
    // river and block 100 as desert, as a PNG.
    std::string paintedPicture() const
    {
        std::vector<std::uint8_t> codes = preview::mapCodes(original_, 68);
        for (const std::size_t block : {1, 548})
            codes[block - 1] = river;
        codes[100 - 1] = desert;
        const RgbImage image = terrain::rasterize(codes, g::columns, g::rows, 1);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.pixels.data());
        return dir_.write("painted.png", pictures::encodePng(std::span(bytes, image.pixels.size() * 3), image.width,
                                                             image.height, 3));
    }
    const ByteChanges painted_ {{codeOffset(1), river}, {codeOffset(548), river}, {codeOffset(100), desert}};

    // Another program writes a byte into the open map, in place.
    void writeByAnotherProgram(std::size_t offset, std::uint8_t byte) const
    {
        std::fstream file(pathFromUtf8(path_), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(offset));
        file.put(static_cast<char>(byte));
    }

    // Runs the window's message loop until the condition holds or the time
    // is up; whether it held.
    static bool whileLooping(const std::function<bool()>& condition, std::chrono::milliseconds within)
    {
        const auto until = std::chrono::steady_clock::now() + within;
        for (;;) {
            pumpMessages();
            if (condition())
                return true;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        }
    }

    const std::filesystem::path picture_ = picturePathBesideTests();
    const std::filesystem::path away_ = std::filesystem::path(picture_).concat(L".away");
    WindowHarness harness;
    TempDir dir_;
    std::vector<std::uint8_t> original_;
    std::string path_;
};

} // namespace

TEST_F(WindowPatchTest, DroppedPatchesDeclinedWriteNothingAndConfirmedWriteTheirBytesWithNumberedBackups)
{
    // A code byte and a header byte: a patch is not only terrain.
    const ByteChanges ipsChanges {{codeOffset(2), desert}, {3, 0x42}};
    const std::string ips = patch("roads.ips", patches::PatchFormat::ips, original_, ipsChanges);
    // While asked, the page shows the block changed, the rest dimmed.
    std::optional<Rgb> previewed;
    std::optional<Rgb> beside;
    harness.onQuestion = [&] {
        previewed = shownPixel(5, 1); // block 2
        beside = shownPixel(13, 1);   // block 4
    };
    harness.answerQuestions({false});
    drop(ips);
    ASSERT_EQ(harness.questions.size(), 1U);
    EXPECT_TRUE(harness.questions[0].starts_with("应用补丁 roads.ips (IPS)：\n将改变 1 个区块的地形代码和 1 个其他字节"))
        << harness.questions[0];
    EXPECT_EQ(previewed, terrain::colour(desert));
    EXPECT_EQ(beside, terrain::dimmed(terrain::colour(patternedCode(4, 1))));
    EXPECT_EQ(changes(), ByteChanges {});
    EXPECT_FALSE(exists(backup(0)));
    EXPECT_EQ(shownPixel(5, 1), terrain::colour(patternedCode(2, 1)));

    harness.onQuestion = {};
    harness.answerQuestions({true});
    drop(ips);
    EXPECT_EQ(changes(), ipsChanges);
    EXPECT_EQ(TempDir::read(backup(0)), original_);
    EXPECT_EQ(shownPixel(5, 1), terrain::colour(desert)); // redrawn from the file
    EXPECT_EQ(shownPixel(13, 1), terrain::colour(patternedCode(4, 1)));

    // The next write's backup takes the next number, and keeps the map as
    // the patch before left it.
    const std::vector<std::uint8_t> afterIps = TempDir::read(path_);
    const ByteChanges bpsChanges {{codeOffset(548), river}, {codeOffset(211302) + 7, 0x00}};
    const std::string bps = patch("coast.bps", patches::PatchFormat::bps, afterIps, bpsChanges);
    harness.answerQuestions({false});
    drop(bps);
    ASSERT_EQ(harness.questions.size(), 3U);
    EXPECT_TRUE(harness.questions[2].starts_with("应用补丁 coast.bps (BPS)：")) << harness.questions[2];
    EXPECT_EQ(changes(), ipsChanges);
    EXPECT_FALSE(exists(backup(1)));

    harness.answerQuestions({true});
    drop(bps);
    ByteChanges both = ipsChanges;
    both.insert(bpsChanges.begin(), bpsChanges.end());
    EXPECT_EQ(changes(), both);
    EXPECT_EQ(TempDir::read(backup(0)), original_);
    EXPECT_EQ(TempDir::read(backup(1)), afterIps);
    EXPECT_FALSE(exists(backup(2)));
    EXPECT_TRUE(harness.messages.empty());
}

TEST_F(WindowPatchTest, ABpsForAnotherBaseIsRefusedNamingBothCrcs)
{
    std::vector<std::uint8_t> other = original_;
    other[codeOffset(9)] = 0x22;
    drop(patch("other.bps", patches::PatchFormat::bps, other, {{codeOffset(1), river}}));
    EXPECT_TRUE(harness.questions.empty());
    ASSERT_EQ(harness.messages.size(), 1U);
    const std::string& message = harness.messages[0];
    EXPECT_TRUE(message.starts_with("无法应用补丁 other.bps，地图保持原样：\n")) << message;
    EXPECT_NE(message.find(patches::crcText(platform::crc32(other))), std::string::npos) << message;
    EXPECT_NE(message.find(patches::crcText(platform::crc32(original_))), std::string::npos) << message;
    EXPECT_EQ(changes(), ByteChanges {});
    EXPECT_FALSE(exists(backup(0)));
}

// Three refusals, each shown whole in Chinese: a picture of the wrong size,
// a BPS patch for another file, a truncated IPS patch.
TEST_F(WindowPatchTest, ThreeRefusalsInChineseWriteNothing)
{
    const std::vector<std::uint8_t> black(100 * 100 * 3, 0);
    const std::string small = dir_.write("small.png", pictures::encodePng(black, 100, 100, 3));
    drop(small);
    std::vector<std::uint8_t> other = original_;
    other[codeOffset(9)] = 0x22;
    const std::string otherPatch = patch("other.bps", patches::PatchFormat::bps, other, {{codeOffset(1), river}});
    drop(otherPatch);
    const std::string broken = dir_.write("broken.ips", {'P', 'A', 'T', 'C', 'H', 0, 0});
    drop(broken);

    const std::string size = std::to_string(original_.size());
    const std::vector<std::string> expected {
        "无法导入地形图 small.png，地图保持原样：\n地形图 " + small
            + " 是 100 × 100 个像素；它必须是 546 × 387（每个区块 1 个像素）或 2184 × 1548"
              "（每个区块 4 × 4 个像素，即导出的地形图的大小）",
        "无法应用补丁 other.bps，地图保持原样：\n" + otherPatch + "：这个补丁是为另一个版本的文件制作的：它要求 " + size
            + " 字节、CRC32 为 " + patches::crcText(platform::crc32(other)) + "，而这个文件有 " + size
            + " 字节、CRC32 为 " + patches::crcText(platform::crc32(original_)),
        "无法应用补丁 broken.ips，地图保持原样：\n" + broken
            + "：补丁不完整：第 1 条记录（补丁第 5 字节）被截断，结束标记没有出现",
    };
    EXPECT_EQ(harness.messages, expected);
    EXPECT_TRUE(harness.questions.empty());
    EXPECT_EQ(changes(), ByteChanges {});
    EXPECT_FALSE(exists(backup(0)));
}

TEST_F(WindowPatchTest, AnUndoIsRefusedWholeWhenAByteOfTheImportChangedOutside)
{
    harness.answerQuestions({true});
    drop(paintedPicture());
    ASSERT_EQ(changes(), painted_);

    writeByAnotherProgram(codeOffset(548), 0x11);
    menu(L"撤销");
    ASSERT_EQ(harness.messages.size(), 1U);
    EXPECT_TRUE(harness.messages[0].starts_with(
        "没有撤销导入地形图 painted.png：它的 3 个字节中有 1 个已在 Quarnet 之外被改动："))
        << harness.messages[0];
    ByteChanges now = painted_;
    now[codeOffset(548)] = 0x11;
    EXPECT_EQ(changes(), now);
    EXPECT_FALSE(exists(backup(1)));
    EXPECT_EQ(harness.window().editor().state().mapFile.history.undoable(), 1U);
}

TEST_F(WindowPatchTest, AnotherProgramsWriteIsShownWithinASecond)
{
    harness.calculate("0", "0"); // block 1, on page (0, 0)
    harness.click("定位按钮");
    ASSERT_EQ(harness.text("标签19"), "当前地形:道路\r\n\r\n地形代码:05");

    writeByAnotherProgram(codeOffset(1), desert);
    writeByAnotherProgram(codeOffset(3), river);
    EXPECT_TRUE(whileLooping([&] { return harness.text("标签19") == "当前地形:沙漠\r\n\r\n地形代码:0E"; }, 1s))
        << harness.text("标签19");
    EXPECT_TRUE(whileLooping([&] { return harness.canvasPixel(9, 1) == terrain::colour(river); }, 1s));
    EXPECT_EQ(harness.canvasPixel(1, 1), terrain::colour(desert));
    EXPECT_EQ(harness.canvasPixel(5, 1), terrain::colour(patternedCode(2, 1))); // block 2, as it was
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), desert}, {codeOffset(3), river}}));
}

// Opening another map right after a write: what the watch saw of the map
// before is dropped, whether the write was the window's own or another
// program's, and the report stays as opening leaves it.
TEST_F(WindowPatchTest, AWriteRightBeforeOpeningAnotherMapReloadsNothing)
{
    std::vector<std::uint8_t> otherBytes = original_;
    otherBytes[codeOffset(1)] = 0x22;
    const std::string other = dir_.write("OTHER.MPC", otherBytes);
    const std::function<void()> writes[] = {
        [&] {
            harness.setText("修改数据编辑框", "0E");
            harness.click("写入按钮");
            ASSERT_EQ(TempDir::read(path_)[codeOffset(1)], desert);
        },
        [&] { writeByAnotherProgram(codeOffset(1), 0x11); },
    };
    for (const std::function<void()>& write : writes) {
        harness.window().openMapFile(platform::utf8ToWide(path_));
        harness.calculate("0", "0");
        write();
        harness.window().openMapFile(platform::utf8ToWide(other));
        const std::string report = harness.text("标签19");
        EXPECT_FALSE(whileLooping([&] { return harness.text("标签19") != report; }, 1500ms)) << harness.text("标签19");
    }
    EXPECT_TRUE(harness.messages.empty());
}

// The window's own write is not taken for another program's; the first one
// keeps the map as opened and says so at the canvas's foot; a read-back that
// finds another byte is red and leaves the old byte.
TEST_F(WindowPatchTest, OwnWritesAreNotReloadsAndTheFirstKeepsTheMapAsOpened)
{
    harness.calculate("0", "0");
    harness.setText("修改数据编辑框", "0E");
    harness.click("写入按钮");
    EXPECT_EQ(TempDir::read(path_ + ".bak"), original_);
    EXPECT_EQ(harness.window().canvas().toast(), L"已备份打开时的地图：SANGO7.MPC.bak");

    harness.calculate("32", "0"); // block 2
    harness.files.changeReadOnce();
    harness.click("写入按钮");
    EXPECT_EQ(TempDir::read(path_)[codeOffset(2)], original_[codeOffset(2)]);
    EXPECT_EQ(harness.markerPixel(), red);
    EXPECT_FALSE(exists(backup(1)));

    harness.calculate("0", "0");
    SetWindowTextW(harness.control("标签19"), L"-");
    EXPECT_FALSE(whileLooping([&] { return harness.text("标签19") != "-"; }, 1500ms));
    writeByAnotherProgram(codeOffset(1), river);
    EXPECT_TRUE(whileLooping([&] { return harness.text("标签19") == "当前地形:河流\r\n\r\n地形代码:01"; }, 1s));
}

TEST_F(WindowPatchTest, TheTerrainPictureAndAPatchMadeFromTheWindowMenu)
{
    const std::string picture = inDir("out.png");
    harness.answerNextFileDialog(platform::utf8ToWide(picture));
    menu(L"导出地形图");
    ASSERT_EQ(harness.fileDialogs.size(), 1U);
    EXPECT_TRUE(harness.fileDialogs[0].dialog.save);
    EXPECT_EQ(harness.fileDialogs[0].proposed, platform::utf8ToWide(inDir("SANGO7-terrain.png")));
    // What render writes, and a picture of the map's size.
    platform::NativeFiles files;
    const platform::FileNumber map = files.open(path_);
    const pictures::TerrainPicture rendered = pictures::drawTerrainPicture(
        files, map, path_, 68, pictures::defaultPictureScale, pictures::ImageFormat::png);
    files.close(map);
    ASSERT_FALSE(rendered.failure);
    EXPECT_TRUE(TempDir::read(picture) == rendered.bytes);
    int width = 0;
    int height = 0;
    const std::optional<std::vector<Rgb>> pixels = decodeWhole(pathFromUtf8(picture), width, height);
    ASSERT_TRUE(pixels);
    EXPECT_EQ(width, 2184);
    EXPECT_EQ(height, 1548);
    EXPECT_EQ((*pixels)[5 * 2184 + 5], terrain::colour(patternedCode(2, 2)));
    EXPECT_EQ(harness.window().canvas().toast(),
              platform::utf8ToWide("已导出地形图：" + picture + "（" + std::to_string(rendered.bytes.size()) + " 字节）"));

    // Two writes, two backups: the newest is proposed as the original, and
    // the original itself chosen.
    harness.answerQuestions({true, true});
    drop(paintedPicture());
    drop(patch("roads.bps", patches::PatchFormat::bps, TempDir::read(path_), {{codeOffset(2), desert}}));
    ASSERT_TRUE(exists(backup(1)));
    const std::string made = inDir("made.bps");
    harness.answerFileDialogs({platform::utf8ToWide(backup(0)), platform::utf8ToWide(made)});
    menu(L"制作补丁");
    ASSERT_EQ(harness.fileDialogs.size(), 3U);
    EXPECT_EQ(harness.fileDialogs[1].proposed, platform::utf8ToWide(backup(1)));
    EXPECT_FALSE(harness.fileDialogs[1].dialog.save);
    // Its first type also shows the user's own copy, SANGO7.MPC.orig.
    EXPECT_EQ(harness.fileDialogs[1].dialog.filters.front().patterns,
              (std::vector<std::wstring> {L"*.bak", L"*.orig", L"*.MPC"}));
    EXPECT_EQ(harness.fileDialogs[2].proposed, platform::utf8ToWide(inDir("SANGO7.bps")));
    EXPECT_TRUE(harness.fileDialogs[2].dialog.save);
    EXPECT_EQ(harness.fileDialogs[2].dialog.filters.front().patterns, std::vector<std::wstring> {L"*.bps"});
    const patches::PatchedBytes applied = patches::applyPatch(TempDir::read(made), original_);
    EXPECT_FALSE(applied.refusal);
    EXPECT_TRUE(applied.target == TempDir::read(path_));
    EXPECT_EQ(harness.window().canvas().toast(),
              platform::utf8ToWide("已保存补丁：" + made + "（" + std::to_string(TempDir::read(made).size()) + " 字节）"));
    EXPECT_TRUE(harness.messages.empty()) << harness.messages.front();
}
