#include "Commands.h"

#include "EditApplication.h"
#include "EditList.h"

#include "platform/WholeFiles.h"

#include <string>
#include <vector>

namespace quarnet::cli {

int runApply(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& editsPath = context.line.operands[1];
    const std::string backupPath = backupPathOf(context, mapPath);
    if (backupPath.empty())
        return exitTrouble;

    std::vector<std::uint8_t> editText;
    std::string reason;
    if (!platform::readWholeFile(editsPath, editText, reason))
        return context.fail("can't read EDITS " + editsPath + ": " + reason);

    platform::Files& files = context.mapFiles;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail("can't open MAP " + mapPath + " for reading and writing");
    const ClosesFiles closes(files);
    const std::int64_t length = files.length(map);
    if (length < 0)
        return context.fail("can't tell the length of MAP " + mapPath);

    const CheckedEditList checked = checkEditList(
        std::string_view(reinterpret_cast<const char*>(editText.data()), editText.size()), context.baseOffset, length);
    if (!checked.errors.empty()) {
        for (const std::string& error : checked.errors)
            context.err << "quarnet-terrain apply: " << editsPath << " " << error << '\n';
        return context.fail(std::to_string(checked.errors.size())
                            + (checked.errors.size() == 1 ? " bad line" : " bad lines") + "; " + mapPath + " left as it was");
    }
    if (checked.edits.empty()) {
        context.out << editsPath << " holds no edits; " << mapPath << " left as it was\n";
        return exitSuccess;
    }
    return applyEdits(context, map, mapPath, length, checked.edits, backupPath);
}

} // namespace quarnet::cli
