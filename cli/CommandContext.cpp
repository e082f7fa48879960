#include "CommandContext.h"

namespace quarnet::cli {

std::string CommandContext::say(const texts::Message& message) const
{
    return texts::renderMessage(message, language);
}

int CommandContext::fail(const texts::Message& message) const
{
    err << "quarnet-terrain " << line.command << ": " << say(message) << '\n';
    return exitTrouble;
}

bool CommandContext::readBackupOption(std::optional<std::string>& chosen) const
{
    const std::string* backupOption = line.value("--backup");
    if (backupOption && backupOption->empty()) {
        fail(texts::message(texts::Text::backupNeedsPath));
        return false;
    }
    if (backupOption)
        chosen = *backupOption;
    return true;
}

} // namespace quarnet::cli
