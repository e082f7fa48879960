#include "MapEditor.h"

#include "ChangePreview.h"
#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/PatchedMap.h"
#include "mapfile/SafeWrite.h"
#include "platform/WholeFiles.h"

namespace quarnet {

void MapEditor::applyPatch()
{
    if (!idle() || refuseWithoutMap("应用补丁"))
        return;
    if (const std::optional<std::string> path = askFileToTake(FileKind::patch, lastPatchPath_))
        applyPatch(*path);
}

void MapEditor::applyPatch(const std::string& path)
{
    if (!idle())
        return;
    lastPatchPath_ = path;
    const std::string title = "应用补丁 " + paths::fileName(path);
    if (refuseWithoutMap(title))
        return;

    std::vector<std::uint8_t> patch;
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::readWholeFile(path, patch, fault))
        return showRefusal(title, {windowText(texts::cantRead(texts::Text::rolePatch, path, fault))});
    std::optional<std::vector<std::uint8_t>> original = readOpenMap(title);
    if (!original)
        return;
    const std::int64_t base = terrainBaseOffset();
    patches::PatchedMap patched = patches::patchMap(patch, *original, base);
    if (patched.refusal)
        return showRefusal(title, {windowText(texts::message(texts::Text::patchFileRefused).withFile(path).withPart(*patched.refusal))});

    const std::string format(patches::formatName(patched.format));
    ProposedWrite proposal;
    Change& change = proposal.change;
    change.title = title + " (" + format + ")";
    change.action = "应用补丁";
    change.backedUp = true;
    change.expectedCrc = patched.targetCrc;
    change.bytes = byteWrites(*original, patched.changes, base);
    const std::vector<std::int32_t> changed = change.blocks();
    const patches::ChangeCounts& counts = patched.counts;
    proposal.summary = change.title + "：\n将改变 " + std::to_string(counts.blocks) + " 个区块的地形代码和 "
                       + std::to_string(counts.others()) + " 个其他字节";
    if (counts.others() != 0)
        proposal.summary += "（文件头 " + std::to_string(counts.header) + " 个，记录的其他字节 "
                            + std::to_string(counts.records) + " 个，记录之后 " + std::to_string(counts.afterRecords)
                            + " 个）";
    proposal.summary += "。";
    const std::vector<std::string> pairs = preview::namePairLines(preview::mapCodes(*original, base),
                                                                  preview::mapCodes(patched.target, base), changed,
                                                                  namePairsListed);
    for (const std::string& line : pairs)
        proposal.summary += "\n" + line;
    change.fileAsRead = std::move(*original);
    proposeWrite(proposal);
}

} // namespace quarnet
