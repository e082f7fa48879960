#pragma once

#include <limits>
#include <map>
#include <utility>

namespace quarnet {

// The pictures a Canvas has loaded, by the numbers it gave them: 1, 2, 3 and
// on, back to 1 past the largest int. 0 is never given, so it can stand for a
// failed load, which finds nothing.
template <typename Picture>
class NumberedPictures {
public:
    int add(Picture picture)
    {
        last_ = last_ == std::numeric_limits<int>::max() ? 1 : last_ + 1;
        pictures_[last_] = std::move(picture);
        return last_;
    }

    // Nullptr for a number not given or released since.
    const Picture* find(int number) const
    {
        const auto found = pictures_.find(number);
        return found == pictures_.end() ? nullptr : &found->second;
    }

    void release(int number) { pictures_.erase(number); }

private:
    std::map<int, Picture> pictures_;
    int last_ = 0;
};

} // namespace quarnet
