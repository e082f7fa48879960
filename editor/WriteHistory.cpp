#include "WriteHistory.h"

#include <utility>

namespace quarnet {

void WriteHistory::record(const RecordedWrite& write)
{
    add({write.blockNumber, {{write.offset, write.before, write.after}}, {}, 0});
}

void WriteHistory::recordGroup(std::vector<ByteWrite> bytes, std::string name, std::int64_t baseOffset)
{
    add({0, std::move(bytes), std::move(name), baseOffset});
}

void WriteHistory::add(HistoryStep step)
{
    while (steps_.size() > inEffect_) {
        bytes_ -= steps_.back().bytes.size();
        steps_.pop_back();
    }
    bytes_ += step.bytes.size();
    steps_.push_back(std::move(step));
    while (steps_.size() > 1 && (steps_.size() > capacity || bytes_ > byteCapacity)) {
        bytes_ -= steps_.front().bytes.size();
        steps_.pop_front();
    }
    inEffect_ = steps_.size();
}

const HistoryStep* WriteHistory::nextUndo() const
{
    return inEffect_ > 0 ? &steps_[inEffect_ - 1] : nullptr;
}

const HistoryStep* WriteHistory::nextRedo() const
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
