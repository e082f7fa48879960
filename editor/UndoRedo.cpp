#include "MapEditor.h"

#include "mapfile/BlockLayout.h"
#include "ControlNames.h"
#include "mapfile/TerrainTable.h"
#include "platform/NumberText.h"

namespace quarnet {

void MapEditor::undoWrite()
{
    if (ended_)
        return;
    if (const RecordedWrite* write = state_.mapFile.history.nextUndo()) {
        if (replayWrite(*write, write->after, write->before, true))
            state_.mapFile.history.undone();
    }
}

void MapEditor::redoWrite()
{
    if (ended_)
        return;
    if (const RecordedWrite* write = state_.mapFile.history.nextRedo()) {
        if (replayWrite(*write, write->before, write->after, false))
            state_.mapFile.history.redone();
    }
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

// Writes code where write was made, as the write button writes, once the
// byte there is still what Quarnet left: expected, or code itself when an
// earlier try wrote it but could not flush it. False when nothing was done
// or the write failed; the history is then left as it was.
bool MapEditor::replayWrite(const RecordedWrite& write, std::uint8_t expected, std::uint8_t code, bool undo)
{
    // A copy: the message box's own event loop must not pull it from under us.
    const RecordedWrite w = write;
    makeBlockCurrent(w.blockNumber, w.offset);

    std::uint8_t now = 0;
    const bool read = files_.readByte(state_.mapFile.mapFileNumber, w.offset, now);
    if (!read || (now != expected && now != code)) {
        readTerrain();
        showTerrainLabel();
        const std::string block = platform::decimalText(w.blockNumber);
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

} // namespace quarnet
