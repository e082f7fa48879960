#include "CommandContext.h"

namespace quarnet::cli {

int CommandContext::fail(std::string_view message) const
{
    err << "quarnet-terrain " << line.command << ": " << message << '\n';
    return exitTrouble;
}

bool CommandContext::readBackupOption(std::optional<std::string>& chosen) const
{
    const std::string* backupOption = line.value("--backup");
    if (backupOption && backupOption->empty()) {
        fail("--backup needs a path");
        return false;
    }
    if (backupOption)
        chosen = *backupOption;
    return true;
}

} // namespace quarnet::cli
