#include "MapEditor.h"

#include "ChangePreview.h"
#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/BlockLayout.h"
#include "mapfile/MapGeometry.h"

#include <utility>

namespace quarnet {

namespace {

constexpr Rgb green {0, 255, 0};

} // namespace

bool MapEditor::refuseWithoutMap(const texts::Message& title)
{
    if (isMapFileOpen())
        return false;
    host_.showMessage(windowText(texts::message(texts::Text::refusedWithoutMap).withPart(title)));
    return true;
}

std::optional<std::string> MapEditor::askFileToTake(FileKind kind, const std::string& lastChosen)
{
    return host_.askFileToOpen(kind, lastChosen.empty() ? paths::folder(state_.mapFile.mapFileName) : lastChosen);
}

std::optional<std::vector<std::uint8_t>> MapEditor::readOpenMap(const texts::Message& title)
{
    const MapFileState& f = state_.mapFile;
    std::optional<std::vector<std::uint8_t>> bytes = edits::readWholeMap(files_, f.mapFileNumber);
    if (!bytes)
        showRefusal(title, {texts::message(texts::Text::cantReadMap).withFile(f.mapFileName)});
    return bytes;
}

void MapEditor::showRefusal(const texts::Message& title, const std::vector<texts::Message>& reasons)
{
    std::string text = windowText(texts::message(texts::Text::refusedLeftAsItWas).withPart(title));
    for (std::size_t i = 0; i < reasons.size() && i < reasonsListed; ++i)
        text += "\n" + windowText(reasons[i]);
    if (reasons.size() > reasonsListed)
        text += "\n" + windowText(texts::message(texts::Text::moreReasons, reasons.size() - reasonsListed));
    host_.showMessage(text);
}

void MapEditor::showPage(std::int32_t pageColumn, std::int32_t pageRow)
{
    MapView& v = state_.view;
    v.viewPageColumn = pageColumn;
    v.viewPageRow = pageRow;
    setViewFromPage();
    redrawPage();
}

void MapEditor::showWrittenBlocks(std::span<const std::int32_t> blocks)
{
    // The page of the first block, drawn from the file, with a green
    // marker on each block written there.
    if (!blocks.empty()) {
        const preview::Page page = preview::pageOf(blocks.front());
        showPage(page.column, page.row);
        state_.view.markerColour = green;
        canvas_.setDrawColour(green);
        constexpr int size = geometry::pictureBlockSize;
        for (const std::int32_t block : blocks) {
            if (preview::pageOf(block) != page)
                continue;
            const int left = (blocks::columnOf(block) - 1) * size - page.column * geometry::pageWidth;
            const int top = (blocks::rowOf(block) - 1) * size - page.row * geometry::pageHeight;
            canvas_.drawRectangle(left, top, left + size - 1, top + size - 1);
        }
    }
    if (state_.calculator.startBlockNumber != 0) {
        readTerrain();
        showTerrainLabel();
    }
}

void MapEditor::proposeWrite(const ProposedWrite& proposal)
{
    const Change& change = proposal.change;
    if (change.bytes.empty()) {
        host_.showMessage(windowText(texts::message(texts::Text::changesNoByte).withPart(change.title)));
        return;
    }
    const std::vector<std::int32_t> blocks = change.blocks();

    // The preview: the page of the first changed block as it would be,
    // over the canvas until the question is answered.
    if (!blocks.empty()) {
        std::vector<std::uint8_t> after = change.fileAsRead;
        for (const ByteWrite& byte : change.bytes)
            after[static_cast<std::size_t>(byte.offset)] = byte.after;
        canvas_.showOverlay(
            preview::drawPage(preview::pageOf(blocks.front()), preview::mapCodes(after, terrainBaseOffset()), blocks));
    }
    const std::string backupPath = nextBackupPath();
    asking_ = true;
    const bool yes = host_.askYesNo(proposal.summary + "\n\n"
                                    + windowText(texts::message(texts::Text::writeQuestion).withFile(backupPath)));
    asking_ = false;
    canvas_.removeOverlay();
    if (ended_ || !isMapFileOpen()) {
        changedWhileAsking_ = false;
        return;
    }
    if (yes)
        applyChange(change, ChangeUse::make);
    if (std::exchange(changedWhileAsking_, false))
        mapFileChangedOutside(state_.mapFile.mapFileName);
}

} // namespace quarnet
