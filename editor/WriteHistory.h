#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

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

// The writes made to the open file, oldest first, and how many of them are
// in effect: the ones after those were undone and can be redone.
class WriteHistory {
public:
    // The writes kept; past this the oldest is forgotten.
    static constexpr std::size_t capacity = 100000;

    // A new write: the undone writes can no longer be redone.
    void record(const RecordedWrite& write);

    // The write that an undo takes back, or that a redo makes again; null
    // when there is none.
    const RecordedWrite* nextUndo() const;
    const RecordedWrite* nextRedo() const;

    // That write was undone, or redone.
    void undone();
    void redone();

    void clear();

    std::size_t size() const { return writes_.size(); }
    // How many writes an undo can take back one after the other.
    std::size_t undoable() const { return inEffect_; }

private:
    std::deque<RecordedWrite> writes_;
    std::size_t inEffect_ = 0;
};

} // namespace quarnet
