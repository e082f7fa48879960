#include "WriteHistory.h"

#include <utility>

namespace quarnet {

void WriteHistory::record(Change change)
{
    change.fileAsRead = std::vector<std::uint8_t>(); // its memory freed too
    change.expectedCrc.reset();
    while (steps_.size() > inEffect_) {
        bytes_ -= steps_.back().bytes.size();
        steps_.pop_back();
    }
    bytes_ += change.bytes.size();
    steps_.push_back(std::move(change));
    while (steps_.size() > 1 && (steps_.size() > capacity || bytes_ > byteCapacity)) {
        bytes_ -= steps_.front().bytes.size();
        steps_.pop_front();
    }
    inEffect_ = steps_.size();
}

const Change* WriteHistory::nextUndo() const
{
    return inEffect_ > 0 ? &steps_[inEffect_ - 1] : nullptr;
}

const Change* WriteHistory::nextRedo() const
{
    return inEffect_ < steps_.size() ? &steps_[inEffect_] : nullptr;
}

void WriteHistory::undone()
{
    if (inEffect_ > 0)
        --inEffect_;
}

void WriteHistory::redone()
{
    if (inEffect_ < steps_.size())
        ++inEffect_;
}

void WriteHistory::clear()
{
    steps_.clear();
    inEffect_ = 0;
    bytes_ = 0;
}

} // namespace quarnet
