#include "editor/ChangePreview.h"
#include "editor/EventTable.h"
#include "mapfile/ChangePicture.h"
#include "mapfile/ImageEncoding.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/PatchFormat.h"
#include "mapfile/TerrainPalette.h"
#include "mapfile/TerrainRaster.h"
#include "platform/Crc32.h"
#include "support/EditorFixture.h"
#include "support/MapFixtures.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

namespace quarnet::testing {
namespace {

namespace c = control;
namespace g = geometry;

constexpr Rgb green {0, 255, 0};
constexpr std::uint8_t river = 0x01;  // 河流, the first code of its name
constexpr std::uint8_t desert = 0x0E; // 沙漠

Rgb pixel(const RgbImage& image, int x, int y)
{
    return image.pixels.at(static_cast<std::size_t>(y * image.width + x));
}

// A map's terrain as render draws it (4 x 4 pixels a block), with blocks
// painted in other codes' colours.
RgbImage paintedPicture(const std::vector<std::uint8_t>& map, const std::map<std::int32_t, std::uint8_t>& painted)
{
    std::vector<std::uint8_t> codes = preview::mapCodes(map, 68);
    for (const auto& [block, code] : painted)
        codes[static_cast<std::size_t>(block - 1)] = code;
    return terrain::rasterize(codes, g::columns, g::rows, g::pictureBlockSize);
}

void setPixel(RgbImage& image, int x, int y, Rgb colour)
{
    image.pixels.at(static_cast<std::size_t>(y * image.width + x)) = colour;
}

// Imports, patches and their undo through the editor, on real files, with
// the questions answered through the host.
class ImportAndPatch : public EditorFixture {
protected:
    void SetUp() override
    {
        editor.setUp();
        original = patternedMap();
        path = dir.write("SANGO7.MPC", original);
        open(path);
    }

    ByteChanges changes() const { return changedBytes(original, TempDir::read(path)); }
    bool exists(const std::string& file) const { return std::filesystem::exists(pathFromUtf8(file)); }

    std::string writePng(const std::string& name, const RgbImage& image) const
    {
        return dir.write(name, pictures::encodeImage(image, pictures::ImageFormat::png));
    }

    // Blocks 1, 2 and 548 painted as river, block 100 (on the next page) as
    // desert: 道路, 干草原, 道路 and 雪原 before.
    std::string paintedPng() { return paintedPngOf(original); }
    std::string paintedPngOf(const std::vector<std::uint8_t>& map)
    {
        return writePng("painted.png", paintedPicture(map, {{1, river}, {2, river}, {548, river}, {100, desert}}));
    }
    const ByteChanges painted {{codeOffset(1), river}, {codeOffset(2), river}, {codeOffset(548), river},
                               {codeOffset(100), desert}};

    void changeOutside(std::size_t offset, std::uint8_t byte) const
    {
        std::fstream file(pathFromUtf8(path), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(static_cast<std::streamoff>(offset));
        file.put(static_cast<char>(byte));
    }

    const WriteHistory& history() const { return editor.state().mapFile.history; }

    // Calculates the block at a map pixel and writes a code to it.
    void writeCodeAt(const std::string& x, const std::string& y, const std::string& code)
    {
        ASSERT_TRUE(calculate("44", x, y));
        controls.texts[std::string(c::修改数据编辑框)] = code;
        editor.writeTerrainCode();
    }

    // What the canvas was asked to draw, counted.
    std::size_t drawings() const { return canvas.pictures.size() + canvas.images.size() + canvas.rectangles.size(); }

    std::vector<std::uint8_t> original;
    std::string path;
};

TEST_F(ImportAndPatch, AnImportConfirmedIsPreviewedWrittenWithABackupAndMarked)
{
    const std::string picture = paintedPng();
    std::optional<RgbImage> preview;
    host.whileAsking = [&] { preview = canvas.overlay; };
    host.answers = {true};
    editor.importTerrainPicture(picture);

    // The question: the count, the name pairs as import counts them, the backup.
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "导入地形图 painted.png：\n4 个区块的地形将改变："
                                 "\n1 雪原 -> 沙漠\n2 道路 -> 河流\n1 干草原 -> 河流"
                                 "\n\n写入前先把整个地图备份为：\n"
                                     + path + ".bak\n\n要写入地图吗？");
    // The preview: the first changed block's page as diff --picture draws it.
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->width, g::pageWidth);
    EXPECT_EQ(preview->height, g::pageHeight);
    EXPECT_EQ(pixel(*preview, 1, 1), terrain::colour(river));                        // block 1, changed
    EXPECT_EQ(pixel(*preview, 13, 1), terrain::dimmed(terrain::colour(original[codeOffset(4)]))); // block 4
    EXPECT_EQ(pixel(*preview, 8, 1), terrain::outlineColour(8, 1)); // block 3, beside block 2
    EXPECT_EQ(pixel(*preview, 8, 5), terrain::outlineColour(8, 5)); // block 549, beside block 548
    EXPECT_FALSE(canvas.overlay);

    // Written, every byte, after a backup of the whole map.
    EXPECT_EQ(changes(), painted);
    EXPECT_EQ(TempDir::read(path + ".bak"), original);
    EXPECT_TRUE(host.messages.empty());
    // The page redrawn from the file, the changed blocks on it marked green.
    EXPECT_EQ(canvas.pictures.back(), (RecordingCanvas::PictureDraw {7, 0, 0}));
    ASSERT_GE(canvas.rectangles.size(), 3u);
    const std::vector<RecordingCanvas::Rectangle> markers(canvas.rectangles.end() - 3, canvas.rectangles.end());
    EXPECT_EQ(markers, (std::vector<RecordingCanvas::Rectangle> {
                           {0, 0, 3, 3, green}, {4, 0, 7, 3, green}, {4, 4, 7, 7, green}}));
    ASSERT_EQ(history().size(), 1u);
    EXPECT_EQ(history().nextUndo()->blocks(), (std::vector<std::int32_t> {1, 2, 100, 548}));
}

TEST_F(ImportAndPatch, TheCurrentBlocksReportIsRefreshed)
{
    ASSERT_TRUE(calculate("44", "32", "32")); // block 548
    editor.readTerrain();
    host.answers = {true};
    editor.importTerrainPicture(paintedPng());
    EXPECT_EQ(text(c::标签19), "当前地形:河流\r\r地形代码:01");
}

TEST_F(ImportAndPatch, AnImportDeclinedWritesNothingAndLeavesThePage)
{
    ASSERT_TRUE(calculate("44", "17000", "12000")); // another page
    editor.locateCurrentBlock();
    const std::size_t drawn = drawings();
    host.answers = {false};
    editor.importTerrainPicture(paintedPng());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(canvas.overlaysShown, 1);
    EXPECT_FALSE(canvas.overlay);
    EXPECT_EQ(drawings(), drawn); // the page as it was, its marker too
    EXPECT_EQ(editor.state().view.viewPageColumn, 5);
    EXPECT_TRUE(changes().empty());
    EXPECT_FALSE(exists(path + ".bak"));
    EXPECT_EQ(history().size(), 0u);
}

TEST_F(ImportAndPatch, NothingElseStartsWhileTheQuestionIsOpen)
{
    writeCodeAt("0", "0", "05");
    const std::string other = dir.write("OTHER.MPC", original);
    host.whileAsking = [&] {
        // Queued before the question, as a second drop or a key would be.
        editor.openDroppedFile(other);
        editor.undoWrite();
        editor.importTerrainPicture(paintedPng());
    };
    host.answers = {true};
    editor.importTerrainPicture(paintedPngOf(TempDir::read(path)));
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(editor.state().mapFile.mapFileName, path);
    ByteChanges both = painted;
    both[codeOffset(1)] = river;
    EXPECT_EQ(changes(), both);
    EXPECT_EQ(history().size(), 2u);
}

TEST_F(ImportAndPatch, ARefusedPictureWritesNothingAndSaysWhy)
{
    // A wrong size, refused before a pixel is decoded.
    const std::string small = writePng("small.png", terrain::rasterize(std::vector<std::uint8_t>(100, 1), 10, 10, 1));
    editor.importTerrainPicture(small);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].starts_with("无法导入地形图 small.png，地图保持原样：\n地形图 " + small + " 是 10 × 10 个像素；它必须是 546 × 387"))
        << host.messages[0];

    // Blocks split evenly between two names, neither their own: import's
    // reasons, the first few and how many more.
    RgbImage split = paintedPicture(original, {});
    for (int block = 0; block < 8; ++block) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                setPixel(split, block * 4 + x, y, terrain::colour(x < 2 ? desert : river));
    }
    editor.importTerrainPicture(writePng("split.png", split));
    ASSERT_EQ(host.messages.size(), 2u);
    const std::string& reasons = host.messages[1];
    EXPECT_TRUE(reasons.starts_with("无法导入地形图 split.png，地图保持原样：\n地形图 ")) << reasons;
    EXPECT_NE(reasons.find("有 8 个区块无法导入；"), std::string::npos) << reasons;
    EXPECT_NE(reasons.find("\n区块 1（第 1 行，第 1 列；图中 x 0～3，y 0～3）：像素平均分给了"),
              std::string::npos)
        << reasons;
    EXPECT_TRUE(reasons.ends_with("\n……另有 4 条")) << reasons;

    // An unreadable file, and no map open.
    editor.importTerrainPicture(path + ".missing.png");
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_TRUE(host.messages[2].starts_with("无法导入地形图 SANGO7.MPC.missing.png，地图保持原样：\n无法读取地形图 " + path + ".missing.png：文件不存在"));
    editor.closeMapFile();
    editor.importTerrainPicture(paintedPng());
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[3], "无法导入地形图 painted.png：没有打开的地图文件。\n请先用“打开文件”打开地图。");

    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(changes().empty());
    EXPECT_FALSE(exists(path + ".bak"));
}

TEST_F(ImportAndPatch, StrayPixelsAloneAskForTheNearestColour)
{
    RgbImage soft = paintedPicture(original, {{1, river}});
    setPixel(soft, 1, 1, {60, 150, 230}); // near the river's blue
    setPixel(soft, 2, 1, {60, 150, 231});
    const std::string picture = writePng("soft.png", soft);

    host.answers = {false};
    editor.importTerrainPicture(picture);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "导入地形图 soft.png：\n有 2 个像素不是任何地形的颜色（柔和的笔刷、平滑和缩放会画出这样的像素）。\n\n"
                                 "要让每个像素取最接近的地形颜色吗？");
    EXPECT_TRUE(changes().empty());

    host.answers = {true, true};
    editor.importTerrainPicture(picture);
    ASSERT_EQ(host.questions.size(), 3u);
    EXPECT_NE(host.questions[2].find("1 个区块的地形将改变"), std::string::npos) << host.questions[2];
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), river}}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ImportAndPatch, AJpegIsReadByTheNearestColourOnceTheUserAgrees)
{
    const std::string jpeg = dir.write("painted.jpg", pictures::encodeImage(paintedPicture(original, {{1, river}}),
                                                                           pictures::ImageFormat::jpeg));
    host.answers = {false};
    editor.importTerrainPicture(jpeg);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "导入地形图 painted.jpg：\n这是 JPEG 图片，它的颜色只是近似的，不能与地形颜色精确对应。\n\n"
                                 "要让每个像素取最接近的地形颜色吗？");
    EXPECT_TRUE(changes().empty());

    host.answers = {true, true};
    editor.importTerrainPicture(jpeg);
    ASSERT_EQ(host.questions.size(), 3u);
    EXPECT_TRUE(host.questions[2].starts_with("导入地形图 painted.jpg：\n1 个区块的地形将改变：\n1 道路 -> 河流\n（"))
        << host.questions[2];
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(1), river}}));
}

TEST_F(ImportAndPatch, APictureThatChangesNothingSaysSo)
{
    editor.importTerrainPicture(writePng("same.png", paintedPicture(original, {})));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "导入地形图 same.png 不改变任何区块的地形，地图保持原样。");
    EXPECT_TRUE(host.questions.empty());
}

// Blocks split evenly between their own terrain and a painted one keep
// theirs; the question counts them.
TEST_F(ImportAndPatch, BlocksSplitEvenlyWithTheirOwnTerrainKeepItAndAreCounted)
{
    RgbImage picture = paintedPicture(original, {{1, river}, {2, river}, {548, river}, {100, desert}});
    for (const int block : {5, 6}) { // 道路 and 丘陵, half painted desert
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 2; ++x)
                setPixel(picture, (block - 1) * 4 + x, y, terrain::colour(desert));
    }
    host.answers = {true};
    editor.importTerrainPicture(writePng("halves.png", picture));
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("\n1 干草原 -> 河流\n（2 个区块的像素在原有地形和涂上的地形之间平分，保留原有地形）"
                                     "\n\n写入前"),
              std::string::npos)
        << host.questions[0];
    EXPECT_EQ(changes(), painted);
}

TEST_F(ImportAndPatch, AFileChangedWhileAskingIsNotWritten)
{
    host.whileAsking = [&] { changeOutside(codeOffset(7), 0x22); };
    host.answers = {true};
    editor.importTerrainPicture(paintedPng());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "没有导入：预览之后，地图文件已在 Quarnet 之外被改动，什么也没有写入。请再导入一次。");
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(7), 0x22}}));
    EXPECT_FALSE(exists(path + ".bak"));
    EXPECT_EQ(history().size(), 0u);
}

TEST_F(ImportAndPatch, AFailedWriteIsRestoredAndNamed)
{
    files.failFlushes(true);
    host.answers = {true};
    editor.importTerrainPicture(paintedPng());
    files.failFlushes(false);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].starts_with("没有导入：")) << host.messages[0];
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(history().size(), 0u);
}

TEST_F(ImportAndPatch, AWholeImportIsUndoneAndRedoneInOneStep)
{
    writeCodeAt("0", "32", "05"); // a single write first: block 547
    host.answers = {true};
    editor.importTerrainPicture(paintedPngOf(TempDir::read(path))); // painted after it
    ByteChanges both = painted;
    both[codeOffset(547)] = 0x05;
    EXPECT_EQ(changes(), both);
    ASSERT_EQ(history().size(), 2u);

    editor.undoWrite();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(547), 0x05}}));
    // Through the safe write: a backup of its own, of the map before the undo.
    const std::vector<std::uint8_t> imported = [&] {
        std::vector<std::uint8_t> bytes = original;
        for (const auto& [offset, byte] : both)
            bytes[offset] = byte;
        return bytes;
    }();
    // The map as opened, kept by the first write; the import's own backup;
    // the undo's.
    EXPECT_EQ(TempDir::read(path + ".bak"), original);
    EXPECT_EQ(TempDir::read(path + ".2.bak"), imported);
    EXPECT_EQ(canvas.lastToast(), "已备份撤销前的地图：SANGO7.MPC.2.bak");
    EXPECT_EQ(canvas.rectangles.back().colour, green);

    editor.redoWrite();
    EXPECT_EQ(changes(), both);
    editor.undoWrite();
    editor.undoWrite(); // the single write, on its own
    EXPECT_TRUE(changes().empty());
    editor.redoWrite();
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(547), 0x05}}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ImportAndPatch, AnUndoIsRefusedWholeWhenOneByteChangedOutside)
{
    host.answers = {true};
    editor.importTerrainPicture(paintedPng());
    changeOutside(codeOffset(548), 0x11);
    editor.undoWrite();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "没有撤销导入地形图 painted.png：它的 4 个字节中有 1 个已在 Quarnet 之外被改动："
                                "\n区块 548 的地形代码已被改为 11，不再是 Quarnet 写入的 01"
                                "\n什么也没有写入，这一步仍留在记录中。");
    ByteChanges now = painted;
    now[codeOffset(548)] = 0x11;
    EXPECT_EQ(changes(), now);
    EXPECT_FALSE(exists(path + ".1.bak"));
    EXPECT_EQ(history().undoable(), 1u);

    // Put back as Quarnet left it, the undo goes through.
    changeOutside(codeOffset(548), river);
    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
    EXPECT_EQ(history().undoable(), 0u);
}

std::vector<std::uint8_t> patched(std::vector<std::uint8_t> bytes, const ByteChanges& changes)
{
    for (const auto& [offset, byte] : changes)
        bytes[offset] = byte;
    return bytes;
}

TEST_F(ImportAndPatch, APatchConfirmedOrDeclined)
{
    const ByteChanges patchChanges {{3, 0x42}, {codeOffset(1), river}, {codeOffset(2), desert}};
    const patches::EncodedPatch bps =
        patches::makePatch(patches::PatchFormat::bps, original, patched(original, patchChanges), "test");
    const std::string patchPath = dir.write("roads.bps", bps.bytes);

    host.answers = {false};
    editor.applyPatch(patchPath);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], "应用补丁 roads.bps (BPS)：\n将改变 2 个区块的地形代码和 1 个其他字节"
                                 "（文件头 1 个，记录的其他字节 0 个，记录之后 0 个）。"
                                 "\n1 道路 -> 河流\n1 干草原 -> 沙漠"
                                 "\n\n写入前先把整个地图备份为：\n"
                                     + path + ".bak\n\n要写入地图吗？");
    EXPECT_EQ(canvas.overlaysShown, 1);
    EXPECT_TRUE(changes().empty());

    host.answers = {true};
    editor.applyPatch(patchPath);
    EXPECT_EQ(changes(), patchChanges);
    EXPECT_EQ(TempDir::read(path + ".bak"), original);
    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
    EXPECT_TRUE(host.messages.empty());
}

// One kind of step: a single write, an import and a patch, undone and
// redone in any order on one path; the import, the first write, keeps the
// map as opened in its own backup and the single write after it keeps none.
TEST_F(ImportAndPatch, WritesImportsAndPatchesAreStepsOfOneKind)
{
    host.answers = {true, true};
    editor.importTerrainPicture(paintedPng());
    EXPECT_EQ(TempDir::read(path + ".bak"), original);
    writeCodeAt("0", "64", "22"); // block 1093
    EXPECT_FALSE(exists(path + ".1.bak"));
    const ByteChanges patchChanges {{3, 0x42}, {codeOffset(9), desert}};
    const std::vector<std::uint8_t> beforePatch = TempDir::read(path);
    editor.applyPatch(dir.write(
        "p.bps", patches::makePatch(patches::PatchFormat::bps, beforePatch, patched(beforePatch, patchChanges), "")
                     .bytes));
    ASSERT_EQ(history().size(), 3u);

    ByteChanges imported = painted;
    ByteChanges written = imported;
    written[codeOffset(1093)] = 0x22;
    ByteChanges all = written;
    all.insert(patchChanges.begin(), patchChanges.end());
    EXPECT_EQ(changes(), all);
    editor.undoWrite();
    EXPECT_EQ(changes(), written);
    editor.undoWrite();
    EXPECT_EQ(changes(), imported);
    EXPECT_EQ(text(c::当前区块序号编辑框), "1093");
    editor.undoWrite();
    EXPECT_TRUE(changes().empty());
    editor.redoWrite();
    editor.redoWrite();
    EXPECT_EQ(changes(), written);
    editor.redoWrite();
    EXPECT_EQ(changes(), all);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ImportAndPatch, APatchForAnotherFileIsRefused)
{
    std::vector<std::uint8_t> other = original;
    other[codeOffset(9)] = 0x22;
    const patches::EncodedPatch bps =
        patches::makePatch(patches::PatchFormat::bps, other, patched(other, {{codeOffset(1), river}}), "test");
    editor.applyPatch(dir.write("other.bps", bps.bytes));
    ASSERT_EQ(host.messages.size(), 1u);
    const std::string& message = host.messages[0];
    EXPECT_TRUE(message.starts_with("无法应用补丁 other.bps，地图保持原样：\n")) << message;
    EXPECT_NE(message.find("这个补丁是为另一个版本的文件制作的"), std::string::npos) << message;
    EXPECT_NE(message.find(patches::crcText(platform::crc32(other))), std::string::npos) << message;
    EXPECT_NE(message.find(patches::crcText(platform::crc32(original))), std::string::npos) << message;

    // An IPS record past the end.
    std::vector<std::uint8_t> ips {'P', 'A', 'T', 'C', 'H', 0x7F, 0xFF, 0xF0, 0x00, 0x01, 0x05, 'E', 'O', 'F'};
    editor.applyPatch(dir.write("past.ips", ips));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_TRUE(host.messages[1].starts_with("无法应用补丁 past.ips，地图保持原样：\n")) << host.messages[1];
    EXPECT_TRUE(host.questions.empty());
    EXPECT_TRUE(changes().empty());
    EXPECT_FALSE(exists(path + ".bak"));
}

TEST_F(ImportAndPatch, ADroppedFileIsKnownByItsFirstBytes)
{
    const patches::EncodedPatch bps =
        patches::makePatch(patches::PatchFormat::bps, original, patched(original, {{codeOffset(5), river}}), "test");
    host.answers = {true};
    EXPECT_EQ(editor.openDroppedFile(dir.write("roads.dat", bps.bytes)), DroppedFile::patch);
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(5), river}}));

    // A PNG under another name is still a picture.
    const std::vector<std::uint8_t> png = TempDir::read(paintedPng());
    host.answers = {false};
    EXPECT_EQ(editor.openDroppedFile(dir.write("painted.dat", png)), DroppedFile::terrainPicture);
    EXPECT_EQ(host.questions.size(), 2u);

    // Anything else is a map to open.
    const std::string other = dir.write("OTHER.MPC", original);
    EXPECT_EQ(editor.openDroppedFile(other), DroppedFile::map);
    EXPECT_EQ(editor.state().mapFile.mapFileName, other);
    EXPECT_EQ(history().size(), 0u);
}

TEST_F(ImportAndPatch, TheDialogsProposeAndFilter)
{
    host.fileAnswers = {std::nullopt};
    editor.importTerrainPicture();
    host.fileAnswers = {std::nullopt};
    editor.applyPatch();
    ASSERT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_EQ(host.fileDialogs[0].kind, FileKind::terrainPicture);
    EXPECT_EQ(host.fileDialogs[0].proposed, path.substr(0, path.size() - std::string("SANGO7.MPC").size())); // its folder
    EXPECT_FALSE(host.fileDialogs[0].save);
    EXPECT_EQ(host.fileDialogs[1].kind, FileKind::patch);

    // A picture chosen is proposed again.
    host.fileAnswers = {paintedPng()};
    editor.importTerrainPicture();
    editor.importTerrainPicture();
    EXPECT_EQ(host.fileDialogs.back().proposed, utf8FromPath(dir.path() / "painted.png"));

    const FileChoice pictures = fileChoice(FileKind::terrainPicture);
    EXPECT_EQ(pictures.title, "导入地形图");
    ASSERT_FALSE(pictures.filters.empty());
    EXPECT_EQ(std::vector<std::string_view>(pictures.filters[0].patterns.begin(), pictures.filters[0].patterns.end()),
              (std::vector<std::string_view> {"*.png", "*.bmp", "*.tga", "*.jpg", "*.jpeg"}));
    const FileChoice patchFiles = fileChoice(FileKind::patch);
    EXPECT_EQ(std::vector<std::string_view>(patchFiles.filters[0].patterns.begin(), patchFiles.filters[0].patterns.end()),
              (std::vector<std::string_view> {"*.ips", "*.bps"}));
}

TEST_F(ImportAndPatch, ExportWritesWhatRenderWrites)
{
    const std::string picture = utf8FromPath(dir.path() / "out.png");
    host.fileAnswers = {picture};
    editor.exportTerrainPicture();
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_TRUE(host.fileDialogs[0].save);
    EXPECT_EQ(host.fileDialogs[0].kind, FileKind::terrainPictureSaved);
    EXPECT_EQ(host.fileDialogs[0].proposed, utf8FromPath(dir.path() / "SANGO7-terrain.png"));
    const RgbImage expected = terrain::rasterize(preview::mapCodes(original, 68), g::columns, g::rows, 4);
    EXPECT_EQ(TempDir::read(picture), pictures::encodeImage(expected, pictures::ImageFormat::png));
    // Where it went and its size, at the canvas's foot.
    EXPECT_EQ(canvas.lastToast(),
              "已导出地形图：" + picture + "（" + std::to_string(TempDir::read(picture).size()) + " 字节）");

    // Ctrl+E runs it too; a name of another type is refused.
    host.fileAnswers = {utf8FromPath(dir.path() / "out.gif")};
    findKey('E', false)->run(editor);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].starts_with("无法导出地形图 out.gif")) << host.messages[0];
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out.gif"));
    EXPECT_TRUE(changes().empty());
}

TEST_F(ImportAndPatch, MakePatchProposesTheNewestBackupAndWritesWhatPatchWrites)
{
    host.answers = {true};
    editor.importTerrainPicture(paintedPng()); // SANGO7.MPC.bak holds the original

    const std::string bpsPath = utf8FromPath(dir.path() / "made.bps");
    host.fileAnswers = {path + ".bak", bpsPath};
    editor.makePatch();
    ASSERT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_EQ(host.fileDialogs[0].kind, FileKind::originalMap);
    EXPECT_EQ(host.fileDialogs[0].proposed, path + ".bak");
    EXPECT_EQ(host.fileDialogs[1].kind, FileKind::patchSaved);
    EXPECT_EQ(host.fileDialogs[1].proposed, utf8FromPath(dir.path() / "SANGO7.bps"));
    const std::vector<std::uint8_t> now = TempDir::read(path);
    const std::vector<std::uint8_t> made = TempDir::read(bpsPath);
    EXPECT_EQ(canvas.lastToast(), "已保存补丁：" + bpsPath + "（" + std::to_string(made.size()) + " 字节）");
    EXPECT_EQ(made, patches::makePatch(patches::PatchFormat::bps, original, now,
                                       "tool: quarnet-terrain\nmap: SANGO7.MPC.bak\n")
                        .bytes);
    EXPECT_EQ(patches::applyPatch(made, original).target, now);

    const std::string ipsPath = utf8FromPath(dir.path() / "made.ips");
    host.fileAnswers = {path + ".bak", ipsPath};
    editor.makePatch();
    EXPECT_EQ(patches::applyPatch(TempDir::read(ipsPath), original).target, now);

    // The open map itself is no original.
    host.fileAnswers = {path, bpsPath};
    editor.makePatch();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].starts_with("无法制作补丁 made.bps")) << host.messages[0];
}

TEST_F(ImportAndPatch, TheNewestBackupIsTheLastNumberedOfThoseWrittenInOneClockStep)
{
    // Windows gives file times in whole seconds: writes close together tie.
    const auto at = std::filesystem::last_write_time(pathFromUtf8(path));
    for (const char* suffix : {".bak", ".1.bak", ".2.bak"})
        std::filesystem::last_write_time(pathFromUtf8(dir.write(std::string("SANGO7.MPC") + suffix, original)), at);
    editor.makePatch(); // cancelled
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    EXPECT_EQ(host.fileDialogs[0].proposed, path + ".2.bak");

    // One deleted by hand frees its name; written again there, it is the newest.
    std::filesystem::last_write_time(pathFromUtf8(path + ".bak"), at + std::chrono::seconds(1));
    editor.makePatch();
    ASSERT_EQ(host.fileDialogs.size(), 2u);
    EXPECT_EQ(host.fileDialogs[1].proposed, path + ".bak");
}

TEST_F(ImportAndPatch, TheWindowMenu)
{
    std::vector<std::string_view> texts;
    for (const MenuItem& item : windowMenu())
        texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string_view> {"导入地形图…", "应用补丁…", "导出地形图…", "制作补丁…", "", "撤销", "重做"}));
    const auto enabled = [&](std::size_t i) { return windowMenu()[i].enabled(editor); };
    EXPECT_TRUE(enabled(0));
    EXPECT_FALSE(enabled(5));
    writeCodeAt("0", "0", "05");
    EXPECT_TRUE(enabled(5));
    EXPECT_FALSE(enabled(6));
    windowMenu()[5].run(editor);
    EXPECT_TRUE(changes().empty());
    EXPECT_TRUE(enabled(6));
    editor.closeMapFile();
    EXPECT_FALSE(enabled(0));
    EXPECT_FALSE(enabled(3));
}

} // namespace
} // namespace quarnet::testing
