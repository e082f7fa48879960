#include "MapEditor.h"

#include "ControlNames.h"
#include "mapfile/BlockLayout.h"
#include "platform/NumberText.h"

namespace quarnet {

void MapEditor::undoWrite()
{
    if (!idle())
        return;
    // A copy: a message box's own event loop must not pull it from under us.
    if (const Change* step = state_.mapFile.history.nextUndo())
        applyChange(step->reversed(), ChangeUse::undo);
}

void MapEditor::redoWrite()
{
    if (!idle())
        return;
    if (const Change* step = state_.mapFile.history.nextRedo())
        applyChange(Change(*step), ChangeUse::redo);
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

} // namespace quarnet
