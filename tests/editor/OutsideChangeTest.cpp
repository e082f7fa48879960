#include "mapfile/MapGeometry.h"
#include "mapfile/PatchFormat.h"
#include "mapfile/TerrainPalette.h"
#include "support/EditorFixture.h"
#include "support/MapFixtures.h"

#include <filesystem>
#include <fstream>

namespace quarnet::testing {
namespace {

namespace c = control;

constexpr Rgb white {255, 255, 255};

// Another program writes the open map: the front end's watch tells the
// editor, which reads the shown terrain and the report from the file again.
class OutsideChange : public EditorFixture {
protected:
    void SetUp() override
    {
        canvas.pictureToLoad = 0; // the terrain view
        editor.setUp();
        original = patternedMap();
        path = dir.write("SANGO7.MPC", original);
        open(path);
    }

    void changeOutside(std::size_t offset, std::uint8_t byte) const
    {
        std::fstream file(pathFromUtf8(path), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(offset));
        file.put(static_cast<char>(byte));
    }

    std::vector<std::uint8_t> original;
    std::string path;
};

TEST_F(OutsideChange, TheMapIsWatchedWhileOpen)
{
    EXPECT_EQ(host.watchedPath, path);
    editor.closeMapFile();
    EXPECT_EQ(host.watchedPath, "");
    editor.openMapFile(path + ".missing");
    EXPECT_EQ(host.watchedPath, "");
    editor.openMapFile(path);
    EXPECT_EQ(host.watchedPath, path);
}

TEST_F(OutsideChange, OnlyTheChangedBlocksAreRedrawnAndTheReportRefreshed)
{
    ASSERT_TRUE(calculate("44", "64", "0")); // block 3, on page (0, 0)
    editor.locateCurrentBlock();             // a white marker there
    const std::size_t images = canvas.images.size();

    // Quarnet's own write is told too: nothing to redraw.
    editor.mapFileChangedOutside(path);
    EXPECT_EQ(canvas.images.size(), images);

    changeOutside(codeOffset(549), 0x0E); // block 549: column 3, row 2
    changeOutside(codeOffset(3), 0x01);   // the current block
    editor.mapFileChangedOutside(path);
    ASSERT_EQ(canvas.images.size(), images + 2);
    const RecordingCanvas::ImageDraw& first = canvas.images[images];
    EXPECT_EQ(first.x, 8);
    EXPECT_EQ(first.y, 0);
    EXPECT_EQ(first.image.width, 4);
    EXPECT_EQ(first.image.pixels.front(), terrain::colour(0x01));
    const RecordingCanvas::ImageDraw& second = canvas.images[images + 1];
    EXPECT_EQ(second.x, 8);
    EXPECT_EQ(second.y, 4);
    EXPECT_EQ(second.image.pixels.front(), terrain::colour(0x0E));
    EXPECT_EQ(text(c::标签19), "当前地形:河流\r\r地形代码:01");
    EXPECT_EQ(canvas.rectangles.back().colour, white); // no page redraw took the marker
}

// A watch's notice arrives late, after the window opened another map: it
// is of a file no longer open, and nothing is read again.
TEST_F(OutsideChange, ANoticeForAMapNoLongerOpenIsDropped)
{
    ASSERT_TRUE(calculate("44", "0", "0"));
    std::vector<std::uint8_t> otherBytes = original;
    otherBytes[codeOffset(1)] = 0x22;
    const std::string other = dir.write("OTHER.MPC", otherBytes);
    editor.openMapFile(other);
    const std::string report = text(c::标签19); // opening leaves it as it was
    const std::size_t images = canvas.images.size();
    changeOutside(codeOffset(1), 0x11);
    editor.mapFileChangedOutside(path);
    EXPECT_EQ(text(c::标签19), report);
    EXPECT_EQ(canvas.images.size(), images);
    EXPECT_EQ(host.watchedPath, other);
}

#ifndef _WIN32
// Windows lets no program replace or delete a file that Quarnet holds open
// (it doesn't share deleting): only POSIX systems see these.
TEST_F(OutsideChange, AFileReplacedIsOpenedAgain)
{
    // Saved by another program as a new file renamed over the map.
    std::vector<std::uint8_t> replaced = original;
    replaced[codeOffset(1)] = 0x22;
    const std::string fresh = dir.write("fresh.MPC", replaced);
    std::filesystem::rename(pathFromUtf8(fresh), pathFromUtf8(path));
    ASSERT_TRUE(calculate("44", "0", "0"));
    editor.mapFileChangedOutside(path);
    EXPECT_EQ(text(c::标签19), "当前地形:深海\r\r地形代码:22");

    // A write now goes into the map at its path.
    controls.texts[std::string(c::修改数据编辑框)] = "05";
    editor.writeTerrainCode();
    EXPECT_EQ(TempDir::read(path)[codeOffset(1)], 0x05);
    EXPECT_EQ(host.watchedPath, path);

    // A map removed counts as not open: nothing is written anywhere.
    std::filesystem::remove(pathFromUtf8(path));
    editor.mapFileChangedOutside(path);
    EXPECT_FALSE(editor.isMapFileOpen());
    EXPECT_EQ(text(c::编辑框1), "无法打开文件:" + path);
    EXPECT_EQ(host.watchedPath, "");
}
#endif

TEST_F(OutsideChange, AChangeWhileAQuestionIsOpenIsTakenOnceItIsAnswered)
{
    ASSERT_TRUE(calculate("44", "0", "0")); // block 1: 道路
    std::vector<std::uint8_t> modified = original;
    modified[codeOffset(2)] = 0x01;
    const std::string patch =
        dir.write("p.bps", patches::makePatch(patches::PatchFormat::bps, original, modified, "").bytes);
    host.whileAsking = [&] {
        changeOutside(codeOffset(1), 0x22);
        editor.mapFileChangedOutside(path); // told while the box is open
        EXPECT_EQ(text(c::标签19), "当前地形:道路\r\r地形代码:05");
    };
    host.answers = {false};
    editor.applyPatch(patch);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(text(c::标签19), "当前地形:深海\r\r地形代码:22");
}

} // namespace
} // namespace quarnet::testing
