#include "MapEditor.h"

#include "ControlNames.h"
#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/TerrainTable.h"
#include "platform/NumberText.h"

#include <algorithm>

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

std::string blockOrByte(const ByteWrite& byte)
{
    return byte.block != 0 ? "区块 " + platform::decimalText(byte.block) + " 的地形代码"
                           : "偏移 " + platform::decimalText(byte.offset) + " 的字节";
}

} // namespace

bool MapEditor::applyChange(const Change& change, ChangeUse use)
{
    const bool replay = use != ChangeUse::make;
    const std::string action = use == ChangeUse::undo ? "撤销" : use == ChangeUse::redo ? "重做" : change.action;
    const std::string kept = replay ? "这一步仍留在记录中。" : "";
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
            showRefusedChange(change, change.currentBlock != 0
                                          ? blockOrByte(first) + "读不出来，无法确认它仍是 Quarnet 写入的 "
                                                + formatTerrainCode(first.before) + "。\n没有" + action + "，" + kept
                                      : replay ? "没有" + action + change.title
                                                     + "：地图文件读不出来，无法确认其中的字节仍是 Quarnet 写入的。\n什么也没有写入，"
                                                     + kept
                                               : "没有" + action + "：读不出地图文件 " + f.mapFileName + "，什么也没有写入。");
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
                showRefusedChange(change, "没有" + action + "：预览之后，地图文件已在 Quarnet 之外被改动，什么也没有写入。请再"
                                              + action + "一次。");
            return false;
        }
        const MovedByte& first = moved.front();
        if (change.currentBlock != 0) {
            showRefusedChange(change, first.inFile ? blockOrByte(first.byte) + "已在 Quarnet 之外被改为 "
                                                         + formatTerrainCode(first.found) + "，不再是 Quarnet 写入的 "
                                                         + formatTerrainCode(first.byte.before) + "。\n没有" + action
                                                         + "，" + kept
                                                   : blockOrByte(first.byte) + "读不出来，无法确认它仍是 Quarnet 写入的 "
                                                         + formatTerrainCode(first.byte.before) + "。\n没有" + action
                                                         + "，" + kept);
            return false;
        }
        std::string text = "没有" + action + change.title + "：它的 " + std::to_string(change.bytes.size())
                           + " 个字节中有 " + std::to_string(moved.size()) + " 个已在 Quarnet 之外被改动：";
        for (std::size_t i = 0; i < moved.size() && i < changesListed; ++i) {
            const MovedByte& m = moved[i];
            text += "\n" + blockOrByte(m.byte)
                    + (m.inFile ? "已被改为 " + formatTerrainCode(m.found) + "，不再是 Quarnet 写入的 "
                                      + formatTerrainCode(m.byte.before)
                                : "已不在文件里");
        }
        if (moved.size() > changesListed)
            text += "\n……另有 " + std::to_string(moved.size() - changesListed) + " 个";
        showRefusedChange(change, text + "\n什么也没有写入，" + kept);
        return false;
    }

    const std::string refusal = "没有" + action + (replay ? change.title : "") + "：";
    if (!change.backedUp && !f.openedMapKept && !toWrite.empty() && !keepOpenedMap(*whole, refusal)) {
        if (change.currentBlock != 0)
            showAppliedChange(change, false);
        return false;
    }

    if (replay && change.currentBlock != 0)
        controls_.setText(control::修改数据编辑框, formatTerrainCode(change.bytes.front().after));

    bool written = true;
    std::string failure;
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
            if (result.failure)
                failure = windowText(*result.failure);
            // Its backup holds the map as it was just before: the first one
            // since the map was opened is the copy of it as opened. An
            // import's or a patch's the question named already.
            if (!result.backupPath.empty()) {
                f.openedMapKept = true;
                if (replay)
                    canvas_.showToast("已备份" + action + "前的地图：" + paths::fileName(result.backupPath));
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
            showRefusedChange(change, refusal + failure);
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

bool MapEditor::keepOpenedMap(std::span<const std::uint8_t> bytes, const std::string& refusal)
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
        host_.showMessage(refusal + "无法先把打开时的地图备份为 " + copy.backupPath + "，什么也没有写入。");
        return false;
    }
    f.openedMapKept = true;
    canvas_.showToast("已备份打开时的地图：" + paths::fileName(copy.backupPath));
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
