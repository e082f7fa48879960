#pragma once

#include <optional>
#include <string>

namespace quarnet {

// What the program's surroundings answer: the open-file dialog, a message
// the user must read, and the end of the process.
class Host {
public:
    virtual ~Host() = default;

    // Shows the open-file dialog; the chosen full path in UTF-8, or nothing
    // when the user cancelled.
    virtual std::optional<std::string> askMapFilePath() = 0;

    // Shows a message in a modal box and returns once the user closed it.
    virtual void showMessage(const std::string& utf8Text) = 0;

    // Ends the program with an exit code; no further event is handled.
    virtual void endProgram(int exitCode) = 0;
};

} // namespace quarnet
