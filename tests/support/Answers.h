#pragma once

#include <utility>
#include <vector>

namespace quarnet::testing {

// The next of the answers a test scripted for a dialog or a question, taken
// from the front; whenNone once they are used up.
template <typename Answer>
Answer takeAnswer(std::vector<Answer>& answers, Answer whenNone)
{
    if (answers.empty())
        return whenNone;
    whenNone = std::move(answers.front());
    answers.erase(answers.begin());
    return whenNone;
}

} // namespace quarnet::testing
