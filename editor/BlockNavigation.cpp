#include "MapEditor.h"

#include "mapfile/Arithmetic.h"
#include "mapfile/BlockLayout.h"
#include "ControlNames.h"
#include "mapfile/MapGeometry.h"
#include "platform/NumberText.h"

#include <cmath>
#include <limits>

namespace quarnet {

namespace {

// How one step changes the block: whole rows (vertical) and columns
// (horizontal). Left and right wrap across rows along the block numbering;
// the diagonals don't wrap.
struct StepShape {
    int vertical;   // -1 up, +1 down, 0 none
    int horizontal; // -1 left, +1 right, 0 none
};

StepShape shapeOf(Direction direction)
{
    switch (direction) {
    case Direction::UpLeft: return {-1, -1};
    case Direction::Up: return {-1, 0};
    case Direction::UpRight: return {-1, 1};
    case Direction::Left: return {0, -1};
    case Direction::Right: return {0, 1};
    case Direction::DownLeft: return {1, -1};
    case Direction::Down: return {1, 0};
    case Direction::DownRight: return {1, 1};
    }
    return {0, 0};
}

// The step of the step box, truncated toward zero; nothing when the text has
// no value of at least 1 that fits 32 bits.
std::optional<std::int64_t> stepOf(const std::string& text)
{
    const std::optional<double> value = platform::numericValue(text);
    if (!value)
        return std::nullopt;
    const double step = std::trunc(*value);
    if (!(step >= 1) || step > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int64_t>(step);
}

} // namespace

void MapEditor::moveCurrentBlock(Direction direction)
{
    if (ended_)
        return;
    CalculatorState& s = state_.calculator;
    if (s.startBlockNumber == 0)
        return;
    const std::optional<std::int64_t> step = stepOf(controls_.text(control::步长编辑框));
    if (!step)
        return;

    // Exact 64-bit arithmetic: a step below 2^31 can't overflow it.
    const std::int64_t st = *step;
    const std::int64_t b = s.currentBlockNumber;
    const std::int64_t c = s.currentColumn;
    const StepShape shape = shapeOf(direction);
    const bool diagonal = shape.vertical != 0 && shape.horizontal != 0;

    if (diagonal) {
        const std::int64_t column = c + shape.horizontal * st;
        if (column < 1 || column > geometry::columns)
            return;
    }
    const std::int64_t number = b + shape.vertical * st * geometry::columns + shape.horizontal * st;
    // Vertical moves are tested on the row part alone, horizontal ones on the
    // block number itself; the map's first and last blocks bound both.
    const std::int64_t testedNumber = shape.vertical != 0 ? b + shape.vertical * st * geometry::columns : number;
    if (testedNumber < 1 || testedNumber > geometry::blockCount)
        return;

    s.currentBlockNumber = static_cast<std::int32_t>(number);
    if (shape.vertical != 0) {
        s.currentRow = static_cast<std::int32_t>(s.currentRow + shape.vertical * st);
        s.currentColumn = static_cast<std::int32_t>(c + shape.horizontal * st);
    } else {
        s.currentRow = blocks::rowOf(static_cast<std::int32_t>(number));
        s.currentColumn = blocks::columnOf(static_cast<std::int32_t>(number));
    }
    // The offset moves by the difference; it is never recomputed from the base.
    s.currentBlockOffset = arithmetic::addSaturating(s.currentBlockOffset, (number - b) * geometry::recordSize);

    s.currentPixelXMin = blocks::pixelRange(s.currentColumn).first;
    s.currentPixelXMax = blocks::pixelRange(s.currentColumn).last;
    s.currentPixelYMin = blocks::pixelRange(s.currentRow).first;
    s.currentPixelYMax = blocks::pixelRange(s.currentRow).last;
    s.currentBlockAddressText = platform::hexText(s.currentBlockOffset);

    showCurrentBlock();
    readTerrain();
    showTerrainLabel();
}

} // namespace quarnet
