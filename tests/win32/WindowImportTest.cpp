// A painted terrain picture dropped on the real window as the shell drops
// it, the question answered No and Yes through the window's surroundings,
// and the bytes on disk after each step, the whole import's undo and redo
// from the window menu included.

#include "Win32Fixture.h"

#include "mapfile/ImageEncoding.h"
#include "mapfile/TerrainPalette.h"
#include "support/MapFixtures.h"

using namespace quarnet;
using namespace quarnet::testing;

namespace {

constexpr int columns = 546;
constexpr int rows = 387;

// A terrain picture at one pixel a block: all of it 03's colour but a
// painted rectangle of 4 x 3 blocks in 05's.
std::vector<std::uint8_t> paintedPicture(int width = columns, int height = rows)
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = terrain::colour(x >= 20 && x < 24 && y >= 10 && y < 13 ? 5 : 3);
            pixels.insert(pixels.end(), {c.red, c.green, c.blue});
        }
    return pictures::encodePng(pixels, width, height, 3);
}

// The same at 4 x 4 pixels a block, all of it 03's colour: block (20, 10)
// painted 05, and the left halves of blocks (30, 10) and (31, 10), as a hard
// brush's edge halves them.
std::vector<std::uint8_t> halvedPicture()
{
    constexpr int scale = 4;
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < rows * scale; ++y)
        for (int x = 0; x < columns * scale; ++x) {
            const int column = x / scale;
            const bool road = y / scale == 10 && (column == 20 || ((column == 30 || column == 31) && x % scale < 2));
            const Rgb c = terrain::colour(road ? 5 : 3);
            pixels.insert(pixels.end(), {c.red, c.green, c.blue});
        }
    return pictures::encodePng(pixels, columns * scale, rows * scale, 3);
}

class WindowImportTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        original_ = mapFileBytes([](std::size_t) { return std::uint8_t {3}; });
        path_ = dir_.write("SANGO7.MPC", original_);
        harness.answerNextOpenDialog(platform::utf8ToWide(path_));
        harness.click("打开文件按钮");
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

    ByteChanges changes() const { return changedBytes(original_, TempDir::read(path_)); }

    TempDir dir_;
    std::vector<std::uint8_t> original_;
    std::string path_;
};

} // namespace

TEST_F(WindowImportTest, DroppedPictureDeclinedConfirmedUndoneAndRedone)
{
    const std::string picture = dir_.write("painted.png", paintedPicture());

    harness.answerQuestions({false});
    drop(picture);
    ASSERT_EQ(harness.questions.size(), 1U);
    EXPECT_NE(harness.questions[0].find("12"), std::string::npos) << harness.questions[0];
    EXPECT_EQ(changes(), ByteChanges {});
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "SANGO7.MPC.bak"));

    harness.answerQuestions({true});
    drop(picture);
    const ByteChanges imported = changes();
    ASSERT_EQ(imported.size(), 12U);
    for (const auto& [offset, value] : imported) {
        EXPECT_EQ(value, 0x05);
        EXPECT_EQ((offset - 68) % 8, codeOffset(1) - 68);
    }
    EXPECT_EQ(TempDir::read(utf8FromPath(dir_.path() / "SANGO7.MPC.bak")), original_);

    // One step each way, the whole import.
    menu(L"撤销");
    EXPECT_EQ(changes(), ByteChanges {});
    menu(L"重做");
    EXPECT_EQ(changes(), imported);
}

// Blocks halved between their own terrain and another keep theirs; the
// question counts them.
TEST_F(WindowImportTest, BlocksSplitEvenlyWithTheirOwnTerrainKeepIt)
{
    harness.answerQuestions({true});
    drop(dir_.write("halves.png", halvedPicture()));
    ASSERT_EQ(harness.questions.size(), 1U);
    EXPECT_NE(harness.questions[0].find("\n（2 个区块的像素在原有地形和涂上的地形之间平分，保留原有地形）\n"),
              std::string::npos)
        << harness.questions[0];
    EXPECT_EQ(changes(), (ByteChanges {{codeOffset(10 * columns + 21), 0x05}}));
}

TEST_F(WindowImportTest, APictureOfAnotherSizeIsRefusedAndWritesNothing)
{
    drop(dir_.write("small.png", paintedPicture(100, 80)));
    EXPECT_TRUE(harness.questions.empty());
    ASSERT_EQ(harness.messages.size(), 1U);
    EXPECT_EQ(changes(), ByteChanges {});
}

TEST_F(WindowImportTest, AChosenPictureComesFromTheImportDialogWithItsTypes)
{
    const std::string picture = dir_.write("painted.png", paintedPicture());
    harness.answerNextFileDialog(platform::utf8ToWide(picture));
    harness.answerQuestions({true});
    menu(L"导入地形图");
    ASSERT_EQ(harness.fileDialogs.size(), 1U);
    const win32::FileDialog& dialog = harness.fileDialogs[0].dialog;
    EXPECT_FALSE(dialog.save);
    const std::wstring types = win32::filterList(dialog.filters);
    for (const wchar_t* type : {L"*.png", L"*.bmp", L"*.tga", L"*.jpg"})
        EXPECT_NE(types.find(type), std::wstring::npos) << platform::wideToUtf8(type);
    EXPECT_EQ(changes().size(), 12U);
}
