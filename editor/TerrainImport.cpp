#include "MapEditor.h"

#include "ChangePreview.h"
#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/BlockLayout.h"
#include "mapfile/PictureImport.h"
#include "mapfile/SafeWrite.h"
#include "platform/WholeFiles.h"

namespace quarnet {

namespace {

// A JPEG's colours are only near the terrain colours: only the nearest
// colour reads it, which the user is asked for first.
bool refusedOnlyForExactColours(std::span<const std::uint8_t> picture, const std::string& path)
{
    return terrain::pictureRefusal(picture, false, path) && !terrain::pictureRefusal(picture, true, path);
}

bool onlyStrayPixels(const terrain::PaintedTerrain& painted)
{
    return painted.strayPixelCount != 0 && painted.faultyBlockCount == 0;
}

// The blocks that an even split with their own terrain left as they were,
// on a line of its own; empty when none.
std::string keptEvenSplitsText(const terrain::PaintedTerrain& painted)
{
    if (painted.keptEvenSplits == 0)
        return {};
    return "\n" + windowText(texts::message(texts::Text::importEvenSplitsKept, painted.keptEvenSplits));
}

} // namespace

void MapEditor::importTerrainPicture()
{
    if (!idle() || refuseWithoutMap(texts::message(texts::Text::titleImport)))
        return;
    if (const std::optional<std::string> path = askFileToTake(FileKind::terrainPicture, lastPicturePath_))
        importTerrainPicture(*path);
}

void MapEditor::importTerrainPicture(const std::string& path)
{
    if (!idle())
        return;
    lastPicturePath_ = path;
    const texts::Message title = titleWithFile(texts::Text::titleImport, paths::fileName(path));
    if (refuseWithoutMap(title))
        return;

    std::vector<std::uint8_t> picture;
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::readWholeFile(path, picture, fault))
        return showRefusal(title, {texts::cantRead(texts::Text::rolePicture, path, fault)});
    bool nearest = false;
    if (refusedOnlyForExactColours(picture, path)) {
        if (!host_.askYesNo(windowText(texts::message(texts::Text::askNearestForJpeg).withPart(title))))
            return;
        nearest = true;
    }
    if (const auto refusal = terrain::pictureRefusal(picture, nearest, path))
        return showRefusal(title, {*refusal});

    // The map as it is now, read once: the preview, the question and the
    // write all start from these bytes.
    std::optional<std::vector<std::uint8_t>> original = readOpenMap(title);
    if (!original)
        return;
    const MapFileState& f = state_.mapFile;
    const std::int64_t base = terrainBaseOffset();
    const std::int64_t length = static_cast<std::int64_t>(original->size());
    const std::vector<std::uint8_t> codes = preview::mapCodes(*original, base);
    terrain::PictureImport imported =
        terrain::importPicture(picture, codes, base, length, nearest, path, f.mapFileName);
    if (imported.refusal && !nearest && onlyStrayPixels(imported.painted)) {
        // Soft brushes, smoothing and scaling leave pixels between two
        // terrain colours: the nearest colour takes them, once the user agrees.
        const std::int64_t count = imported.painted.strayPixelCount;
        if (!host_.askYesNo(windowText(texts::message(texts::Text::askNearestForStrayPixels, count).withPart(title))))
            return;
        nearest = true;
        imported = terrain::importPicture(picture, codes, base, length, nearest, path, f.mapFileName);
    }
    if (imported.refusal) {
        std::vector<texts::Message> reasons {*imported.refusal};
        reasons.insert(reasons.end(), imported.faultLines.begin(), imported.faultLines.end());
        return showRefusal(title, reasons);
    }
    picture = {};

    ProposedWrite proposal;
    Change& change = proposal.change;
    change.title = title;
    change.action = texts::Text::actionImport;
    change.backedUp = true;
    change.bytes.reserve(imported.edits.size());
    std::vector<std::uint8_t> newCodes = codes;
    std::vector<std::int32_t> changed;
    for (const edits::TerrainEdit& edit : imported.edits) {
        const std::int64_t offset = blocks::recordOffset(base, edit.block);
        change.bytes.push_back({offset, edit.block, (*original)[static_cast<std::size_t>(offset)], edit.code});
        newCodes[static_cast<std::size_t>(edit.block - 1)] = edit.code;
        changed.push_back(edit.block);
    }
    change.fileAsRead = std::move(*original);
    if (change.bytes.empty()) {
        host_.showMessage(windowText(texts::message(texts::Text::importChangesNoBlock).withPart(title))
                          + keptEvenSplitsText(imported.painted));
        return;
    }
    proposal.summary = windowText(texts::message(texts::Text::importSummary, changed.size()).withPart(title));
    for (const std::string& line : preview::namePairLines(codes, newCodes, changed, namePairsListed))
        proposal.summary += "\n" + line;
    if (nearest)
        proposal.summary +=
            "\n" + windowText(texts::message(texts::Text::importNearestTaken, imported.painted.movedPixels));
    proposal.summary += keptEvenSplitsText(imported.painted);
    proposeWrite(proposal);
}

} // namespace quarnet
