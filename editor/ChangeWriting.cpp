#include "MapEditor.h"

#include "ControlNames.h"
#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/TerrainTable.h"

#include <algorithm>
#include <utility>

namespace quarnet {

namespace {

constexpr Rgb green {0, 255, 0};
constexpr Rgb red {255, 0, 0};

// Bytes changed outside that a refused change lists; the rest are counted.
constexpr std::size_t changesListed = 5;

// A byte of a change that holds neither what the change expects nor what it
// writes.
struct MovedByte {
    ByteWrite byte;
    bool inFile = false;
    std::uint8_t found = 0;
};

texts::Message blockOrByte(const ByteWrite& byte)
{
    return byte.block != 0 ? texts::message(texts::Text::blockCode, byte.block)
                           : texts::message(texts::Text::byteAtOffset, byte.offset);
}

} // namespace

bool MapEditor::applyChange(const Change& change, ChangeUse use)
{
    const bool replay = use != ChangeUse::make;
    using texts::Text;
    const texts::Message action = texts::message(use == ChangeUse::undo   ? Text::actionUndo
                                                 : use == ChangeUse::redo ? Text::actionRedo
                                                                          : change.action);
    // What every refusal starts with: an undo or a redo names its step.
    const texts::Message refusal = replay ? texts::message(Text::stepNotMade).withPart(action).withPart(change.title)
                                          : texts::message(Text::changeNotMade).withPart(action);
    if (replay && change.currentBlock != 0)
        makeBlockCurrent(change.currentBlock, change.bytes.front().offset);

    // What the file holds now: whole, when the change backs it up or the map
    // as it was opened is yet to be kept; else just the change's bytes.
    MapFileState& f = state_.mapFile;
    std::optional<std::vector<std::uint8_t>> whole;
    if (change.backedUp || !f.openedMapKept) {
        whole = edits::readWholeMap(files_, f.mapFileNumber);
        if (!whole) {
            if (change.currentBlock != 0 && !replay) {
                showAppliedChange(change, false);
                return false;
            }
            const ByteWrite& first = change.bytes.front();
            if (change.currentBlock != 0)
                showRefusedChange(change, windowText(texts::message(Text::stepByteUnreadable, first.before)
                                                         .withPart(blockOrByte(first))
                                                         .withPart(action)));
            else if (replay)
                showRefusedChange(change, windowText(texts::message(Text::stepMapUnreadable).withPart(refusal)));
            else
                showRefusedChange(change, windowText(texts::message(Text::mapUnreadableNothingWritten)
                                                         .withFile(f.mapFileName)
                                                         .withPart(refusal)));
            return false;
        }
    }

    std::vector<ByteWrite> toWrite;
    std::vector<MovedByte> moved;
    for (const ByteWrite& byte : change.bytes) {
        std::uint8_t found = 0;
        const bool inFile = whole ? byte.offset >= 0 && static_cast<std::size_t>(byte.offset) < whole->size()
                                  : files_.readByte(f.mapFileNumber, byte.offset, found);
        if (whole && inFile)
            found = (*whole)[static_cast<std::size_t>(byte.offset)];
        if (inFile && found == byte.before)
            toWrite.push_back(byte); // written even when it is the same byte: the write button reads it back
        else if (!(inFile && found == byte.after)) // already there: an earlier try wrote it but could not confirm it
            moved.push_back({byte, inFile, found});
    }
    // An import or a patch expects the whole file as it was read: its
    // preview showed that file, its backup is that file, and a patch's
    // promised CRC holds for nothing else.
    const bool readFileMoved = !change.fileAsRead.empty() && *whole != change.fileAsRead;
    if (!moved.empty() || readFileMoved) {
        if (!replay) {
            if (change.currentBlock != 0)
                showAppliedChange(change, false);
            else
                showRefusedChange(change, windowText(texts::message(Text::mapChangedSincePreview)
                                                         .withPart(refusal)
                                                         .withPart(action)));
            return false;
        }
        const MovedByte& first = moved.front();
        if (change.currentBlock != 0) {
            texts::Message why = first.inFile ? texts::message(Text::stepByteChanged, first.found, first.byte.before)
                                              : texts::message(Text::stepByteUnreadable, first.byte.before);
            showRefusedChange(change, windowText(std::move(why).withPart(blockOrByte(first.byte)).withPart(action)));
            return false;
        }
        std::string text =
            windowText(texts::message(Text::stepBytesChanged, change.bytes.size(), moved.size()).withPart(refusal));
        for (std::size_t i = 0; i < moved.size() && i < changesListed; ++i) {
            const MovedByte& m = moved[i];
            text += "\n" + windowText((m.inFile ? texts::message(Text::byteChangedTo, m.found, m.byte.before)
                                                : texts::message(Text::byteOutsideFile))
                                          .withPart(blockOrByte(m.byte)));
        }
        if (moved.size() > changesListed)
            text += "\n" + windowText(texts::message(Text::moreBytesChanged, moved.size() - changesListed));
        showRefusedChange(change, text + "\n" + windowText(texts::message(Text::stepKeptNothingWritten)));
        return false;
    }

    if (!change.backedUp && !f.openedMapKept && !toWrite.empty() && !keepOpenedMap(*whole, refusal)) {
        if (change.currentBlock != 0)
            showAppliedChange(change, false);
        return false;
    }

    if (replay && change.currentBlock != 0)
        controls_.setText(control::修改数据编辑框, formatTerrainCode(change.bytes.front().after));

    bool written = true;
    std::optional<texts::Message> failure;
    if (!toWrite.empty()) {
        host_.ownWriteStarting();
        if (change.backedUp) {
            std::vector<edits::ByteChange> bytes;
            bytes.reserve(toWrite.size());
            for (const ByteWrite& byte : toWrite)
                bytes.push_back({byte.offset, byte.after});
            const auto nameChange = [&toWrite](std::size_t i) {
                return toWrite[i].block != 0 ? texts::message(texts::Text::changeOfBlockAlone, toWrite[i].block)
                                             : texts::message(texts::Text::changeOfByte);
            };
            const edits::WriteResult result = edits::writeSafely(
                files_, {f.mapFileNumber, f.mapFileName, *whole, bytes, nameChange, change.expectedCrc}, std::nullopt);
            written = result.written;
            failure = result.failure;
            // Its backup holds the map as it was just before: the first one
            // since the map was opened is the copy of it as opened. An
            // import's or a patch's the question named already.
            if (!result.backupPath.empty()) {
                f.openedMapKept = true;
                if (replay)
                    canvas_.showToast(windowText(texts::message(Text::keptBeforeStep)
                                                     .withFile(paths::fileName(result.backupPath))
                                                     .withPart(action)));
            }
        } else {
            // Only the write button's changes, of one byte, are written
            // without a backup.
            for (const ByteWrite& byte : toWrite) {
                written = edits::writeByte(files_, f.mapFileNumber, f.mapFileName, byte.offset, byte.before, byte.after)
                              .written;
                if (!written)
                    break;
            }
        }
        host_.ownWriteDone();
    }

    if (!written) {
        if (change.currentBlock != 0)
            showAppliedChange(change, false);
        else
            showRefusedChange(change, failure ? windowText(texts::message(Text::notMadeBecause)
                                                               .withPart(refusal)
                                                               .withPart(*failure))
                                              : windowText(refusal));
        return false;
    }
    if (use == ChangeUse::make)
        f.history.record(change);
    else if (use == ChangeUse::undo)
        f.history.undone();
    else
        f.history.redone();
    showAppliedChange(change, true);
    return true;
}

bool MapEditor::keepOpenedMap(std::span<const std::uint8_t> bytes, const texts::Message& refusal)
{
    MapFileState& f = state_.mapFile;
    // A backup that holds just these bytes already (made when the map was
    // last open, say) is the copy.
    const std::string newest = newestBackupPath();
    if (const platform::FileNumber backup = newest == paths::folder(f.mapFileName) ? 0 : files_.open(newest)) {
        const std::optional<std::vector<std::uint8_t>> held = edits::readWholeMap(files_, backup);
        files_.close(backup);
        if (held && std::ranges::equal(*held, bytes)) {
            f.openedMapKept = true;
            return true;
        }
    }
    const edits::WriteResult copy = edits::keepBackupCopy(files_, f.mapFileName, bytes);
    if (!copy.written) {
        host_.showMessage(windowText(
            texts::message(texts::Text::openedMapNotKept).withFile(copy.backupPath).withPart(refusal)));
        return false;
    }
    f.openedMapKept = true;
    canvas_.showToast(
        windowText(texts::message(texts::Text::keptOpenedMap).withFile(paths::fileName(copy.backupPath))));
    return true;
}

void MapEditor::showAppliedChange(const Change& change, bool written)
{
    if (change.currentBlock == 0) {
        showWrittenBlocks(change.blocks());
        return;
    }
    // The write button's block, as it writes: green only once the byte was
    // read back from the disk.
    if (written)
        redrawCurrentBlockTerrain();
    state_.view.markerColour = written ? green : red;
    canvas_.setDrawColour(state_.view.markerColour);
    markCurrentBlock();
}

void MapEditor::showRefusedChange(const Change& change, const std::string& text)
{
    if (change.currentBlock != 0) {
        readTerrain();
        showTerrainLabel();
    } else {
        refreshFromFile();
    }
    host_.showMessage(text);
}

} // namespace quarnet
