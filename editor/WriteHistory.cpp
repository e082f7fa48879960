#include "WriteHistory.h"

namespace quarnet {

void WriteHistory::record(const RecordedWrite& write)
{
    writes_.resize(inEffect_);
    if (writes_.size() == capacity)
        writes_.pop_front();
    writes_.push_back(write);
    inEffect_ = writes_.size();
}

const RecordedWrite* WriteHistory::nextUndo() const
{
    return inEffect_ > 0 ? &writes_[inEffect_ - 1] : nullptr;
}

const RecordedWrite* WriteHistory::nextRedo() const
{
    return inEffect_ < writes_.size() ? &writes_[inEffect_] : nullptr;
}

void WriteHistory::undone()
{
    if (inEffect_ > 0)
        --inEffect_;
}

void WriteHistory::redone()
{
    if (inEffect_ < writes_.size())
        ++inEffect_;
}

void WriteHistory::clear()
{
    writes_.clear();
    inEffect_ = 0;
}

} // namespace quarnet
