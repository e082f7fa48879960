#pragma once

#include "Change.h"

#include <cstddef>
#include <deque>

namespace quarnet {

// The changes made to the open file, oldest first, and how many of them are
// in effect: the ones after those were undone and can be redone. An undo
// applies a step's reversed change, a redo the step itself.
class WriteHistory {
public:
    // The steps kept; past this the oldest is forgotten.
    static constexpr std::size_t capacity = 100000;
    // The bytes kept over all steps; past this the oldest steps are
    // forgotten, though never the newest.
    static constexpr std::size_t byteCapacity = 4 * 1024 * 1024;

    // A new step, kept without the file it was read from: the undone ones
    // can no longer be redone.
    void record(Change change);

    // The step that an undo takes back, or that a redo makes again; null
    // when there is none.
    const Change* nextUndo() const;
    const Change* nextRedo() const;

    // That step was undone, or redone.
    void undone();
    void redone();

    void clear();

    std::size_t size() const { return steps_.size(); }
    // How many steps an undo can take back one after the other.
    std::size_t undoable() const { return inEffect_; }

private:
    std::deque<Change> steps_;
    std::size_t inEffect_ = 0;
    std::size_t bytes_ = 0; // over all steps
};

} // namespace quarnet
