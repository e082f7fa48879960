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
    if (!idle() || refuseWithoutMap(texts::message(texts::Text::titleApplyPatch)))
        return;
    if (const std::optional<std::string> path = askFileToTake(FileKind::patch, lastPatchPath_))
        applyPatch(*path);
}

void MapEditor::applyPatch(const std::string& path)
{
    if (!idle())
        return;
    lastPatchPath_ = path;
    const texts::Message title = titleWithFile(texts::Text::titleApplyPatch, paths::fileName(path));
    if (refuseWithoutMap(title))
        return;

    std::vector<std::uint8_t> patch;
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::readWholeFile(path, patch, fault))
        return showRefusal(title, {texts::cantRead(texts::Text::rolePatch, path, fault)});
    std::optional<std::vector<std::uint8_t>> original = readOpenMap(title);
    if (!original)
        return;
    const std::int64_t base = terrainBaseOffset();
    patches::PatchedMap patched = patches::patchMap(patch, *original, base);
    if (patched.refusal)
        return showRefusal(title,
                           {texts::message(texts::Text::patchFileRefused).withFile(path).withPart(*patched.refusal)});

    const texts::Text format =
        patched.format == patches::PatchFormat::ips ? texts::Text::formatIps : texts::Text::formatBps;
    ProposedWrite proposal;
    Change& change = proposal.change;
    change.title = texts::message(texts::Text::titleWithFormat)
                       .withFile(paths::fileName(path))
                       .withPart(texts::message(texts::Text::titleApplyPatch))
                       .withPart(texts::message(format));
    change.action = texts::Text::actionApplyPatch;
    change.backedUp = true;
    change.expectedCrc = patched.targetCrc;
    change.bytes = byteWrites(*original, patched.changes, base);
    const std::vector<std::int32_t> changed = change.blocks();
    const patches::ChangeCounts& counts = patched.counts;
    proposal.summary = windowText(texts::message(counts.others() != 0 ? texts::Text::patchSummaryWhere
                                                                      : texts::Text::patchSummary,
                                                 counts.blocks, counts.others(), counts.header, counts.records,
                                                 counts.afterRecords)
                                      .withPart(change.title));
    const std::vector<std::string> pairs = preview::namePairLines(preview::mapCodes(*original, base),
                                                                  preview::mapCodes(patched.target, base), changed,
                                                                  namePairsListed);
    for (const std::string& line : pairs)
        proposal.summary += "\n" + line;
    change.fileAsRead = std::move(*original);
    proposeWrite(proposal);
}

} // namespace quarnet
