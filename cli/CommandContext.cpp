#include "CommandContext.h"

namespace quarnet::cli {

int CommandContext::fail(std::string_view message) const
{
    err << "quarnet-terrain " << line.command << ": " << message << '\n';
    return exitTrouble;
}

std::optional<std::string> CommandContext::backupPath(const std::string& mapPath) const
{
    const std::string* backupOption = line.value("--backup");
    if (backupOption && backupOption->empty()) {
        fail("--backup needs a path");
        return std::nullopt;
    }
    return backupOption ? *backupOption : mapPath + ".bak";
}

} // namespace quarnet::cli
