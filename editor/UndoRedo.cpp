#include "MapEditor.h"

#include "ChangePreview.h"
#include "ControlNames.h"
#include "mapfile/BlockLayout.h"
#include "mapfile/TerrainTable.h"
#include "platform/NumberText.h"

namespace quarnet {

void MapEditor::undoWrite()
{
    if (!idle())
        return;
    if (const HistoryStep* step = state_.mapFile.history.nextUndo()) {
        if (step->isGroup() ? replayGroup(*step, true) : replayWrite(*step, true))
            state_.mapFile.history.undone();
    }
}

void MapEditor::redoWrite()
{
    if (!idle())
        return;
    if (const HistoryStep* step = state_.mapFile.history.nextRedo()) {
        if (step->isGroup() ? replayGroup(*step, false) : replayWrite(*step, false))
            state_.mapFile.history.redone();
    }
}

bool MapEditor::canUndo() const
{
    return !ended_ && state_.mapFile.history.nextUndo() != nullptr;
}

bool MapEditor::canRedo() const
{
    return !ended_ && state_.mapFile.history.nextRedo() != nullptr;
}

void MapEditor::makeBlockCurrent(std::int32_t blockNumber, std::int64_t offset)
{
    // As a step onto the block, but at the offset the write used: a start
    // address changed since must not move it.
    CalculatorState& s = state_.calculator;
    s.currentBlockNumber = blockNumber;
    s.currentRow = blocks::rowOf(blockNumber);
    s.currentColumn = blocks::columnOf(blockNumber);
    s.currentBlockOffset = offset;
    s.currentBlockAddressText = platform::hexText(offset);
    s.currentPixelXMin = blocks::pixelRange(s.currentColumn).first;
    s.currentPixelXMax = blocks::pixelRange(s.currentColumn).last;
    s.currentPixelYMin = blocks::pixelRange(s.currentRow).first;
    s.currentPixelYMax = blocks::pixelRange(s.currentRow).last;
    showCurrentBlock();
    // Its page, unless shown already: the markers there stay.
    if (!isCurrentBlockOnShownPage())
        showCurrentBlockPage();
}

// Writes a single step's byte back (undo) or again (redo), as the write
// button writes, once the byte there is still what Quarnet left: the one it
// replaces, or the one it writes when an earlier try wrote it but could not
// flush it. False when nothing was done or the write failed; the history is
// then left as it was.
bool MapEditor::replayWrite(const HistoryStep& step, bool undo)
{
    // Copies: the message box's own event loop must not pull them from under us.
    const ByteWrite w = step.bytes.front();
    const std::int32_t blockNumber = step.blockNumber;
    const std::uint8_t expected = undo ? w.after : w.before;
    const std::uint8_t code = undo ? w.before : w.after;
    makeBlockCurrent(blockNumber, w.offset);

    std::uint8_t now = 0;
    const bool read = files_.readByte(state_.mapFile.mapFileNumber, w.offset, now);
    if (!read || (now != expected && now != code)) {
        readTerrain();
        showTerrainLabel();
        const std::string block = platform::decimalText(blockNumber);
        const std::string action = undo ? "撤销" : "重做";
        const std::string ours = formatTerrainCode(expected);
        host_.showMessage(read ? "区块 " + block + " 的地形代码已在 Quarnet 之外被改为 " + formatTerrainCode(now)
                                     + "，不再是 Quarnet 写入的 " + ours + "。\n没有" + action + "，这一步仍留在记录中。"
                               : "区块 " + block + " 的地形代码读不出来，无法确认它仍是 Quarnet 写入的 " + ours
                                     + "。\n没有" + action + "，这一步仍留在记录中。");
        return false;
    }

    controls_.setText(control::修改数据编辑框, formatTerrainCode(code));
    return writeCurrentBlockCode(code);
}

namespace {

// Bytes changed outside that a refused group step lists; the rest are counted.
constexpr std::size_t changesListed = 5;

} // namespace

// Takes back (undo) or makes again (redo) every byte of an import or a
// patch, through the safe write with a backup of its own, once each byte is
// still what Quarnet left (or already what the step writes, after a try that
// failed). One byte changed by another program refuses the whole step.
bool MapEditor::replayGroup(const HistoryStep& step, bool undo)
{
    const std::string action = undo ? "撤销" : "重做";
    const std::string kept = "\n什么也没有写入，这一步仍留在记录中。";
    const std::optional<std::vector<std::uint8_t>> now = edits::readWholeMap(files_, state_.mapFile.mapFileNumber);
    if (!now) {
        host_.showMessage("没有" + action + step.name + "：地图文件读不出来，无法确认其中的字节仍是 Quarnet 写入的。"
                          + kept);
        return false;
    }

    std::vector<edits::ByteChange> changes;
    std::vector<std::string> outside;
    std::size_t outsideCount = 0;
    for (const ByteWrite& byte : step.bytes) {
        const std::uint8_t left = undo ? byte.after : byte.before;
        const std::uint8_t wanted = undo ? byte.before : byte.after;
        const bool inFile = byte.offset >= 0 && static_cast<std::size_t>(byte.offset) < now->size();
        const std::uint8_t found = inFile ? (*now)[static_cast<std::size_t>(byte.offset)] : 0;
        if (inFile && found == wanted)
            continue;
        if (inFile && found == left) {
            changes.push_back({byte.offset, wanted});
            continue;
        }
        if (++outsideCount > changesListed)
            continue;
        const std::vector<std::int32_t> block = preview::changedBlocks(std::span(&byte.offset, 1), step.baseOffset);
        const std::string where = block.empty() ? "偏移 " + platform::decimalText(byte.offset) + " 的字节"
                                                : "区块 " + platform::decimalText(block.front()) + " 的地形代码";
        outside.push_back(inFile ? where + "已被改为 " + formatTerrainCode(found) + "，不再是 Quarnet 写入的 "
                                       + formatTerrainCode(left)
                                 : where + "已不在文件里");
    }
    if (outsideCount != 0) {
        std::string text = "没有" + action + step.name + "：它的 " + std::to_string(step.bytes.size()) + " 个字节中有 "
                           + std::to_string(outsideCount) + " 个已在 Quarnet 之外被改动：";
        for (const std::string& line : outside)
            text += "\n" + line;
        if (outsideCount > outside.size())
            text += "\n……另有 " + std::to_string(outsideCount - outside.size()) + " 个";
        refreshFromFile();
        host_.showMessage(text + kept);
        return false;
    }

    if (!changes.empty()) {
        const std::string failure = writeSafely(*now, changes, step.baseOffset, std::nullopt);
        if (!failure.empty()) {
            refreshFromFile();
            host_.showMessage("没有" + action + step.name + "：" + failure);
            return false;
        }
    }
    std::vector<std::int64_t> offsets;
    offsets.reserve(step.bytes.size());
    for (const ByteWrite& byte : step.bytes)
        offsets.push_back(byte.offset);
    showWrittenBlocks(preview::changedBlocks(offsets, step.baseOffset));
    return true;
}

} // namespace quarnet
