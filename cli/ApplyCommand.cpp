#include "ApplyCommand.h"

#include "EditApplication.h"
#include "EditList.h"

#include "mapfile/PatchFormat.h"
#include "platform/WholeFiles.h"

#include <string>
#include <vector>

namespace quarnet::cli {

namespace {

int applyEditList(const CommandContext& context, const OpenMap& opened, const std::string& editsPath,
                  const std::vector<std::uint8_t>& editText)
{
    const std::string& mapPath = opened.path;
    const CheckedEditList checked = checkEditList(
        std::string_view(reinterpret_cast<const char*>(editText.data()), editText.size()), context.baseOffset,
        opened.length);
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
    if (context.line.flag("--dry-run")) {
        context.out << "Would write " << checked.edits.size() << (checked.edits.size() == 1 ? " code" : " codes")
                    << " into " << mapPath << "; nothing written (--dry-run)\n";
        return exitSuccess;
    }
    return applyEdits(context, opened.number, mapPath, opened.length, checked.edits, opened.backupPath);
}

} // namespace

int runApply(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& inputPath = context.line.operands[1];
    const std::string backupPath = backupPathOf(context, mapPath);
    if (backupPath.empty())
        return exitTrouble;
    std::vector<std::uint8_t> input;
    std::string reason;
    if (!platform::readWholeFile(inputPath, input, reason))
        return context.fail("can't read EDITS or PATCH " + inputPath + ": " + reason);
    // A patch by its magic bytes, whatever its name; a file named as a patch
    // that isn't one is refused as a patch rather than read as an edit list.
    const bool isPatch = patches::patchFormatOf(input) != patches::PatchFormat::none
                         || patches::patchFormatOfName(inputPath) != patches::PatchFormat::none;

    platform::Files& files = context.mapFiles;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail("can't open MAP " + mapPath + " for reading and writing");
    const ClosesFiles closes(files);
    const std::int64_t length = files.length(map);
    if (length < 0)
        return context.fail("can't tell the length of MAP " + mapPath);
    const OpenMap opened {mapPath, map, length, backupPath};
    return isPatch ? applyPatchFile(context, opened, inputPath, input) : applyEditList(context, opened, inputPath, input);
}

} // namespace quarnet::cli
