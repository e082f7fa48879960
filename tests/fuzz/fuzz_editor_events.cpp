// The editor's handlers driven by arbitrary control texts and event sequences
// on a real temporary map file. After every event: no crash, the file's length
// never changes, no byte changes but the code byte of a block that a write was
// asked for (and it changes exactly then) or that an undo or redo puts back
// (as a shadow history of the writes says), the boxes show the state, and
// terrain is drawn only where it belongs.

#include "FuzzCheck.h"
#include "editor/ControlNames.h"
#include "mapfile/HexText.h"
#include "editor/MapEditor.h"
#include "platform/NativeFiles.h"
#include "platform/NumberText.h"
#include "support/MemoryForm.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace quarnet;
namespace c = control;

// Small enough to rewrite for every input, large enough for many blocks.
constexpr std::size_t fileSize = 68 + 2 * 4368 + 5;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    int number()
    {
        const int high = byte();
        const int low = byte();
        return static_cast<std::int16_t>(high << 8 | low);
    }
    std::string text()
    {
        const std::size_t length = byte() % 24;
        std::string text;
        while (text.size() < length && !empty())
            text.push_back(static_cast<char>(byte()));
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::vector<std::uint8_t> readAll(const std::string& path)
{
    std::vector<std::uint8_t> bytes(fileSize + 1);
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

const std::string& mapPath()
{
    static const std::string path = [] {
        // A memory file system where there is one: the writes' flushes are cheap there.
        const std::filesystem::path folder =
            std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path();
        const auto file = folder / ("quarnet-fuzz-" + std::to_string(::getpid()) + ".MPC");
        return file.string();
    }();
    return path;
}

std::vector<std::uint8_t> originalBytes()
{
    std::vector<std::uint8_t> bytes(fileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
}

// The writes as the fuzzer expects them recorded: where, and the byte before
// and after; those from `done` on were undone.
struct ShadowHistory {
    struct Write {
        std::int64_t at;
        std::uint8_t before;
        std::uint8_t after;
    };
    std::vector<Write> writes;
    std::size_t done = 0;
};

void checkBoxes(const MapEditor& editor, const testing::MemoryControls& controls, bool offsetFromHistory)
{
    const CalculatorState& s = editor.state().calculator;
    if (s.startBlockNumber == 0)
        return;
    QUARNET_FUZZ_CHECK(s.currentRow >= 1 && s.currentRow <= 387);
    QUARNET_FUZZ_CHECK(s.currentColumn >= 1 && s.currentColumn <= 546);
    QUARNET_FUZZ_CHECK(s.currentBlockNumber == (s.currentRow - 1) * 546 + s.currentColumn);
    QUARNET_FUZZ_CHECK(s.currentPixelXMin == (s.currentColumn - 1) * 32);
    QUARNET_FUZZ_CHECK(s.currentPixelYMax == s.currentRow * 32 - 1);
    QUARNET_FUZZ_CHECK(controls.text(c::当前区块序号编辑框) == platform::decimalText(s.currentBlockNumber));
    QUARNET_FUZZ_CHECK(controls.text(c::当前区块行号编辑框) == platform::decimalText(s.currentRow));
    QUARNET_FUZZ_CHECK(controls.text(c::当前区块列号编辑框) == platform::decimalText(s.currentColumn));
    QUARNET_FUZZ_CHECK(controls.text(c::当前区块偏移编辑框) == platform::decimalText(s.currentBlockOffset));
    QUARNET_FUZZ_CHECK(controls.text(c::当前区块位址编辑框) == platform::hexText(s.currentBlockOffset));
    QUARNET_FUZZ_CHECK(controls.text(c::起始区块序号编辑框) == platform::decimalText(s.startBlockNumber));
    // Offsets move with the block unless a huge start address saturated them
    // or an undo took the block's offset from its record, whatever the start
    // address now.
    if (s.baseOffset < (std::int64_t {1} << 40) && !offsetFromHistory)
        QUARNET_FUZZ_CHECK(s.currentBlockOffset == s.baseOffset + (s.currentBlockNumber - 1) * std::int64_t {8});
}

// Terrain is drawn only without the picture, as whole pages at the canvas's
// origin or single blocks inside it.
void checkTerrainDrawn(testing::RecordingCanvas& canvas)
{
    for (const auto& drawn : canvas.images) {
        QUARNET_FUZZ_CHECK(canvas.pictureToLoad == 0);
        const RgbImage& image = drawn.image;
        QUARNET_FUZZ_CHECK(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height);
        const bool page = image.width == 384 && image.height == 240 && drawn.x == 0 && drawn.y == 0;
        const bool block = image.width == 4 && image.height == 4 && drawn.x >= 0 && drawn.x <= 380 && drawn.y >= 0
                           && drawn.y <= 236 && drawn.x % 4 == 0 && drawn.y % 4 == 0;
        QUARNET_FUZZ_CHECK(page || block);
    }
    canvas.images.clear(); // a page each event would add up
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::uint8_t> original = originalBytes();
    {
        std::ofstream out(mapPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
    }
    std::vector<std::uint8_t> expected = original;
    ShadowHistory shadow;
    bool offsetFromHistory = false;

    testing::MemoryControls controls;
    testing::RecordingCanvas canvas;
    // Inputs of odd length run without the map picture: the view then draws
    // the file's terrain.
    canvas.pictureToLoad = size % 2 == 0 ? 7 : 0;
    testing::ScriptedHost host;
    platform::NativeFiles files;
    MapEditor editor(controls, canvas, host, files);
    editor.setUp();
    controls.values[std::string(c::列表框1)] = std::vector<int>(34);
    for (int code = 1; code <= 34; ++code)
        controls.values[std::string(c::列表框1)][static_cast<std::size_t>(code - 1)] = code;
    controls.items[std::string(c::城池选择组合框)] = {"001.西凉  (00519,00351)", "098.邪马台(17243,03643)", "bad"};

    Input input(data, size);
    while (!input.empty() && !host.exitCode) {
        switch (input.byte() % 16) {
        case 0: controls.texts[std::string(c::起始位址编辑框)] = input.text(); break;
        case 1: controls.texts[std::string(c::起始像素点X编辑框)] = input.text(); break;
        case 2: controls.texts[std::string(c::起始像素点Y编辑框)] = input.text(); break;
        case 3: controls.texts[std::string(c::步长编辑框)] = input.text(); break;
        case 4: controls.texts[std::string(c::修改数据编辑框)] = input.text(); break;
        case 5: editor.calculateStartBlock(); break;
        case 6: editor.moveCurrentBlock(static_cast<Direction>(input.byte() % 8)); break;
        case 7: {
            // The byte that a write may change, and to what.
            const CalculatorState& s = editor.state().calculator;
            const std::string code = controls.text(c::修改数据编辑框);
            const std::int64_t value = parseHexText(code);
            const std::int64_t at = s.currentBlockOffset;
            const bool writes = s.startBlockNumber != 0 && !code.empty() && value >= 1 && value <= 34
                                && editor.isMapFileOpen() && at >= 0 && at < static_cast<std::int64_t>(fileSize);
            editor.writeTerrainCode();
            if (writes) {
                shadow.writes.resize(shadow.done);
                shadow.writes.push_back({at, expected[static_cast<std::size_t>(at)], static_cast<std::uint8_t>(value)});
                shadow.done = shadow.writes.size();
                expected[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
            }
            break;
        }
        case 8:
            controls.selection[std::string(c::列表框1)] = static_cast<int>(input.byte() % 36) - 1;
            editor.pickLegendCode();
            break;
        case 9: editor.locateCurrentBlock(); break;
        case 10: {
            const std::uint8_t choice = input.byte() % 3;
            host.nextAnswer = choice == 0 ? std::optional<std::string>(mapPath())
                              : choice == 1 ? std::optional<std::string>(mapPath() + ".missing")
                                            : std::nullopt;
            editor.openMapFile();
            shadow = {};
            break;
        }
        case 11:
            editor.closeMapFile();
            shadow = {};
            break;
        case 12: {
            const int x = input.number();
            const int y = input.number();
            if (input.byte() % 2)
                editor.pickBlockAtMouse(x, y);
            else
                editor.showMouseCoordinates(x, y);
            break;
        }
        case 13:
            controls.selection[std::string(c::城池选择组合框)] = static_cast<int>(input.byte() % 4) - 1;
            editor.selectCity();
            break;
        case 14:
            // Only Quarnet writes the file here: every undo goes through.
            editor.undoWrite();
            if (shadow.done > 0) {
                const ShadowHistory::Write& w = shadow.writes[--shadow.done];
                expected[static_cast<std::size_t>(w.at)] = w.before;
                QUARNET_FUZZ_CHECK(editor.state().calculator.currentBlockOffset == w.at);
                offsetFromHistory = true;
            }
            break;
        case 15:
            editor.redoWrite();
            if (shadow.done < shadow.writes.size()) {
                const ShadowHistory::Write& w = shadow.writes[shadow.done++];
                expected[static_cast<std::size_t>(w.at)] = w.after;
                QUARNET_FUZZ_CHECK(editor.state().calculator.currentBlockOffset == w.at);
                offsetFromHistory = true;
            }
            break;
        }
        QUARNET_FUZZ_CHECK(readAll(mapPath()) == expected);
        QUARNET_FUZZ_CHECK(host.messages.empty());
        QUARNET_FUZZ_CHECK(editor.state().mapFile.history.size() == shadow.writes.size());
        checkBoxes(editor, controls, offsetFromHistory);
        checkTerrainDrawn(canvas);
    }
    editor.closeAndExit();
    std::filesystem::remove(mapPath());
    return 0;
}
