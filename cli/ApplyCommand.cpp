#include "ApplyCommand.h"

#include "CommandTable.h"

#include "mapfile/PatchedMap.h"
#include "mapfile/SafeWrite.h"
#include "platform/WholeFiles.h"

#include <array>
#include <string>
#include <vector>

// apply MAP EDITS|PATCH: an edit list or an IPS or BPS patch, each checked
// whole in memory, then written through the safe write.

namespace quarnet::cli {

namespace {

using texts::Text;

constexpr std::array<std::string_view, 2> ownOptions = {"--backup", "--dry-run"};

constexpr std::string_view help = R"(Usage: quarnet-terrain apply MAP EDITS|PATCH [--dry-run] [--backup PATH] [--offset HEX]
Writes the terrain codes of an edit list, or an IPS or BPS patch, into MAP,
in place. EDITS is CSV as "diff --csv" writes it: one edit a line, either
"BLOCK,CODE" (block number 1 to 211302) or "X,Y,CODE" (a map pixel, X 0 to
17471, Y 0 to 12383); CODE is two hexadecimal digits, 01 to 22. A first line
of words (a header) and empty lines are skipped. A patch is known by its
first bytes ("PATCH" or "BPS1"), whatever its name.

Everything is checked before any byte is written: in an edit list every
line (codes 01 to 22, blocks inside the map and inside the file, no block
given two different codes); in a patch every record or action, and for BPS
the checksums: a BPS patch made for another version of MAP is refused with
both CRC32s. A patch that would change MAP's length is refused. Nothing bad
is written: the problem is named and MAP is left as it was. Then a backup
copy of MAP is written and flushed, the changed bytes are replaced in place,
MAP is flushed once and every byte is read back and checked (for BPS, its
CRC32 too). If anything fails, MAP is restored byte for byte and the message
says so. For a patch, the summary counts the terrain blocks and the other
bytes it changes: a patch for another file shows as many other bytes.

  --dry-run      check and summarise; write nothing, no backup either
  --backup PATH  the backup copy; an existing file there is never
                 overwritten: apply stops instead. Without it the backup is
                 the first of MAP.bak, MAP.1.bak, MAP.2.bak, ... that does not
                 exist, so no backup is ever overwritten
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Exit codes: 0 applied (or nothing to do), 2 error (MAP unchanged or restored).
)";

constexpr std::string_view chineseHelp = R"(用法：quarnet-terrain apply MAP EDITS|PATCH [--dry-run] [--backup PATH] [--offset HEX]
把编辑列表或 IPS、BPS 补丁中的地形代码就地写入 MAP。EDITS 是 "diff --csv" 写出的
CSV：每行一个编辑，"BLOCK,CODE"（区块序号 1 到 211302）或 "X,Y,CODE"（地图像素，
X 0 到 17471，Y 0 到 12383）；CODE 是两位 16 进制数，01 到 22。第一行的文字（表头）
和空行被跳过。补丁按开头的字节（"PATCH" 或 "BPS1"）识别，与文件名无关。

写入任何字节之前先检查全部内容：编辑列表的每一行（代码 01 到 22，区块在地图内和
文件内，同一区块不能给两个不同的代码）；补丁的每条记录或操作，BPS 还有校验值：为
另一个版本的 MAP 制作的 BPS 补丁会被拒绝，并给出两个 CRC32。会改变 MAP 长度的补丁
被拒绝。出错时说明问题，MAP 保持原样。然后先写出并刷新 MAP 的备份，就地替换改动的
字节，刷新 MAP 一次，读回每个字节检查（BPS 还检查 CRC32）。任何一步失败，就从备份
逐字节恢复 MAP，并在消息中说明。对补丁，摘要统计它改动的地形区块和其他字节：为
另一个文件制作的补丁会显出大量其他字节。

  --dry-run      只检查并给出摘要；什么都不写，也不写备份
  --backup PATH  备份的位置；那里已有文件时从不覆盖，apply 会停止。不给时备份是
                 MAP.bak、MAP.1.bak、MAP.2.bak……中第一个不存在的，所以从不覆盖
                 任何备份
  --offset HEX   第 1 个区块的记录的起始位置，16 进制（默认 {offset}）

退出码：0 已写入（或无事可做），2 出错（MAP 未改动或已恢复）。
)";

// MAP as apply opened it through context.mapFiles, read whole.
struct OpenMap {
    const std::string& path;
    platform::FileNumber number;
    const std::vector<std::uint8_t>& bytes;
    const std::optional<std::string>& backupChoice; // --backup, or none: numbered beside MAP
};

int applyEditList(const CommandContext& context, const OpenMap& opened, const std::string& editsPath,
                  const std::vector<std::uint8_t>& editText)
{
    const std::string& mapPath = opened.path;
    const edits::CheckedEditList checked = edits::checkEditList(
        std::string_view(reinterpret_cast<const char*>(editText.data()), editText.size()), context.baseOffset,
        static_cast<std::int64_t>(opened.bytes.size()));
    if (!checked.errors.empty()) {
        for (const texts::Message& error : checked.errors)
            context.fail(texts::message(Text::editsFileLine).withFile(editsPath).withPart(error));
        return context.fail(texts::message(Text::badLines, checked.errors.size()).withFile(mapPath));
    }
    if (checked.edits.empty()) {
        context.out << context.say(texts::message(Text::editsHoldNothing).withFile(editsPath).withOther(mapPath)) << '\n';
        return exitSuccess;
    }
    if (context.line.flag("--dry-run")) {
        context.out << context.say(texts::message(Text::wouldWriteCodes, checked.edits.size()).withFile(mapPath)) << '\n';
        return exitSuccess;
    }
    return applyEdits(context, opened.number, mapPath, opened.bytes, checked.edits, opened.backupChoice);
}

int applyPatchFile(const CommandContext& context, const OpenMap& opened, const std::string& patchPath,
                   const std::vector<std::uint8_t>& patch)
{
    const std::string& mapPath = opened.path;
    const patches::PatchedMap patched = patches::patchMap(patch, opened.bytes, context.baseOffset);
    if (patched.refusal) {
        return context.fail(texts::message(Text::mapLeftAsItWas)
                                .withFile(mapPath)
                                .withPart(texts::message(Text::patchFileRefused).withFile(patchPath).withPart(*patched.refusal)));
    }
    const texts::Message format = texts::message(patched.format == patches::PatchFormat::ips ? Text::formatIps : Text::formatBps);
    if (patched.changes.empty()) {
        context.out << context.say(texts::message(Text::patchChangesNothing).withFile(patchPath).withOther(mapPath).withPart(format))
                    << '\n';
        return exitSuccess;
    }
    const texts::Message summary = patches::changeSummary(patched.counts);
    if (context.line.flag("--dry-run")) {
        context.out << context.say(texts::message(Text::patchWouldChange)
                                       .withFile(patchPath)
                                       .withOther(mapPath)
                                       .withPart(format)
                                       .withPart(summary))
                    << '\n';
        return exitSuccess;
    }

    const auto nameChange = [](std::size_t) { return texts::message(Text::changeOfPatch); };
    const edits::WriteResult written = edits::writeSafely(
        context.mapFiles, {opened.number, mapPath, opened.bytes, patched.changes, nameChange, patched.targetCrc},
        opened.backupChoice);
    if (!written.written)
        return context.fail(*written.failure);
    context.out << context.say(texts::message(Text::patchApplied)
                                   .withFile(patchPath)
                                   .withOther(mapPath)
                                   .withThird(written.backupPath)
                                   .withPart(format)
                                   .withPart(summary))
                << '\n';
    return exitSuccess;
}

int run(const CommandContext& context)
{
    const std::string& mapPath = context.line.operands[0];
    const std::string& inputPath = context.line.operands[1];
    std::optional<std::string> backupChoice;
    if (!context.readBackupOption(backupChoice))
        return exitTrouble;
    std::vector<std::uint8_t> input;
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::readWholeFile(inputPath, input, fault))
        return context.fail(texts::cantRead(Text::roleEditsOrPatch, inputPath, fault));
    // A patch by its magic bytes, whatever its name; a file named as a patch
    // that isn't one is refused as a patch rather than read as an edit list.
    const bool isPatch = patches::isPatch(input, inputPath);

    platform::Files& files = context.mapFiles;
    const platform::FileNumber map = files.open(mapPath);
    if (map == 0)
        return context.fail(texts::message(Text::cantOpenMapForWriting).withFile(mapPath));
    int code = exitTrouble;
    if (files.length(map) < 0) {
        code = context.fail(texts::message(Text::cantTellMapLength).withFile(mapPath));
    } else if (const std::optional<std::vector<std::uint8_t>> bytes = edits::readWholeMap(files, map); !bytes) {
        code = context.fail(texts::message(Text::cantReadMap).withFile(mapPath));
    } else {
        const OpenMap opened {mapPath, map, *bytes, backupChoice};
        code = isPatch ? applyPatchFile(context, opened, inputPath, input)
                       : applyEditList(context, opened, inputPath, input);
    }
    files.close(map);
    return code;
}

} // namespace

int applyEdits(const CommandContext& context, platform::FileNumber map, const std::string& mapPath,
               std::span<const std::uint8_t> original, std::span<const edits::TerrainEdit> edits,
               const std::optional<std::string>& backupChoice)
{
    const edits::WriteResult written =
        edits::writeEdits(context.mapFiles, map, mapPath, original, edits, context.baseOffset, backupChoice);
    if (!written.written)
        return context.fail(*written.failure);
    context.out << context.say(texts::message(texts::Text::wroteCodes, edits.size()).withFile(mapPath).withOther(written.backupPath))
                << '\n';
    return exitSuccess;
}

extern const Command applyCommand {"apply", "MAP EDITS|PATCH", ownOptions, "write edits or a patch into the map, backed up",
                                   "把编辑列表或补丁写入地图，先写备份", help, chineseHelp, run};

} // namespace quarnet::cli
