#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace quarnet {

// One write of a terrain code that reached the disk: the block, the offset of
// the byte written, and the byte before and after.
struct RecordedWrite {
    std::int32_t blockNumber = 0;
    std::int64_t offset = 0;
    std::uint8_t before = 0;
    std::uint8_t after = 0;
    friend bool operator==(const RecordedWrite&, const RecordedWrite&) = default;
};

// One byte of a step: where, and what it was before and after.
struct ByteWrite {
    std::int64_t offset = 0;
    std::uint8_t before = 0;
    std::uint8_t after = 0;
    friend bool operator==(const ByteWrite&, const ByteWrite&) = default;
};

// What one undo takes back and one redo makes again: a single write of the
// write button, or every byte of an import or a patch at once.
struct HistoryStep {
    // A single write: its block, which an undo makes current. 0 for a group.
    std::int32_t blockNumber = 0;
    std::vector<ByteWrite> bytes; // in offset order for a group
    std::string name;             // a group: what it was, as "导入地形图 terrain.png"
    std::int64_t baseOffset = 0;  // a group: where block 1's record started, to find its blocks

    bool isGroup() const { return blockNumber == 0; }
};

// The steps made to the open file, oldest first, and how many of them are in
// effect: the ones after those were undone and can be redone.
class WriteHistory {
public:
    // The steps kept; past this the oldest is forgotten.
    static constexpr std::size_t capacity = 100000;
    // The bytes kept over all steps; past this the oldest steps are
    // forgotten, though never the newest.
    static constexpr std::size_t byteCapacity = 4 * 1024 * 1024;

    // A new step: the undone ones can no longer be redone.
    void record(const RecordedWrite& write);
    void recordGroup(std::vector<ByteWrite> bytes, std::string name, std::int64_t baseOffset);

    // The step that an undo takes back, or that a redo makes again; null
    // when there is none.
    const HistoryStep* nextUndo() const;
    const HistoryStep* nextRedo() const;

    // That step was undone, or redone.
    void undone();
    void redone();

    void clear();

    std::size_t size() const { return steps_.size(); }
    // How many steps an undo can take back one after the other.
    std::size_t undoable() const { return inEffect_; }

private:
    void add(HistoryStep step);

    std::deque<HistoryStep> steps_;
    std::size_t inEffect_ = 0;
    std::size_t bytes_ = 0; // over all steps
};

} // namespace quarnet
