#include "MapEditor.h"

#include "ChangePreview.h"
#include "WindowTexts.h"

namespace quarnet {

std::string MapEditor::writeSafely(std::span<const std::uint8_t> original, std::span<const edits::ByteChange> changes,
                                   std::int64_t base, std::optional<std::uint32_t> expectedCrc)
{
    const auto nameChange = [changes, base](std::size_t i) {
        const std::int64_t offset = changes[i].offset;
        const std::vector<std::int32_t> block = preview::changedBlocks(std::span(&offset, 1), base);
        return block.empty() ? texts::message(texts::Text::changeOfByte)
                             : texts::message(texts::Text::changeOfBlockAlone, block.front());
    };
    const MapFileState& f = state_.mapFile;
    // The backup beside the map, the first of its numbered names that is free.
    const edits::WriteResult result = edits::writeSafely(
        files_, {f.mapFileNumber, f.mapFileName, original, changes, nameChange, expectedCrc}, std::nullopt);
    return result.written ? std::string() : windowText(*result.failure);
}

std::string MapEditor::writeProposed(const ProposedWrite& proposal, std::vector<ByteWrite>& written)
{
    // What the question showed is what is written, or nothing: another
    // program may have written the map while the question was open.
    const MapFileState& f = state_.mapFile;
    const std::optional<std::vector<std::uint8_t>> now = edits::readWholeMap(files_, f.mapFileNumber);
    if (!now)
        return "读不出地图文件 " + f.mapFileName + "，什么也没有写入。";
    if (*now != proposal.original)
        return "预览之后，地图文件已在 Quarnet 之外被改动，什么也没有写入。请再" + proposal.action + "一次。";
    const std::string failure = writeSafely(proposal.original, proposal.changes, terrainBaseOffset(), proposal.expectedCrc);
    if (!failure.empty())
        return failure;
    written.clear();
    written.reserve(proposal.changes.size());
    for (const edits::ByteChange& change : proposal.changes)
        written.push_back({change.offset, proposal.original[static_cast<std::size_t>(change.offset)], change.byte});
    return {};
}

} // namespace quarnet
