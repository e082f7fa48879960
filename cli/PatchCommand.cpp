#include "CommandTable.h"

#include "mapfile/PatchFormat.h"
#include "mapfile/PatchMaker.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

#include <string>

// patch ORIGINAL MODDED OUT: the IPS or BPS patch between two maps.

namespace quarnet::cli {

namespace {

constexpr std::string_view help = R"(Usage: quarnet-terrain patch ORIGINAL MODDED OUT [--offset HEX]
Writes a patch that turns ORIGINAL into MODDED, for any patcher to apply:
OUT ending in .ips gives IPS, .bps gives BPS. Both files must have the same
length. IPS carries no checksum and reaches only the first 16 MiB of a file;
BPS carries the CRC32s of both files, so it is never applied to the wrong
one, and names the tool and the map in its metadata. An existing OUT is
replaced, ORIGINAL and MODDED never.

  --offset HEX   accepted as by every command; it changes nothing here, as a
                 patch covers every byte of the file

Exit codes: 0 written, 2 error.
)";

constexpr std::string_view chineseHelp = R"(用法：quarnet-terrain patch ORIGINAL MODDED OUT [--offset HEX]
写出把 ORIGINAL 变成 MODDED 的补丁，任何补丁工具都能应用：OUT 以 .ips 结尾写成
IPS，以 .bps 结尾写成 BPS。两个文件必须一样长。IPS 不带校验值，只能到达文件的前
16 MB；BPS 带两个文件的 CRC32，所以从不会应用到错误的文件上，并在附加信息中记下
工具和地图的名字。已有的 OUT 会被替换，ORIGINAL 和 MODDED 从不改动。

  --offset HEX   与每个命令一样接受；在这里不起作用，因为补丁覆盖文件的每个字节

退出码：0 已写出，2 出错。
)";

int run(const CommandContext& context)
{
    const std::string& originalPath = context.line.operands[0];
    const std::string& moddedPath = context.line.operands[1];
    const std::string& outPath = context.line.operands[2];
    const patches::PatchFormat format = patches::patchFormatOfName(outPath);
    if (format == patches::PatchFormat::none)
        return context.fail(texts::message(texts::Text::patchOutMustEnd).withFile(outPath));
    // A patch written over one of its own inputs would lose a map.
    if (platform::isSameFile(outPath, originalPath) || platform::isSameFile(outPath, moddedPath))
        return context.fail(texts::message(texts::Text::patchOutIsInput).withFile(outPath));

    platform::ReadOnlyFiles files;
    const platform::FileNumber original = files.open(originalPath);
    if (original == 0)
        return context.fail(texts::cantRead(texts::Text::roleOriginal, originalPath, files.openFailure()));
    const platform::FileNumber modded = files.open(moddedPath);
    if (modded == 0)
        return context.fail(texts::cantRead(texts::Text::roleModded, moddedPath, files.openFailure()));
    const patches::EncodedPatch made =
        patches::makeFilePatch(files, {original, originalPath, modded, moddedPath}, format, "quarnet-terrain");
    if (made.refusal)
        return context.fail(*made.refusal);
    platform::FileFault fault = platform::FileFault::none;
    if (!platform::writeWholeFile(outPath, made.bytes, fault))
        return context.fail(texts::cantWrite(texts::Text::roleOut, outPath, fault));
    const texts::Text formatName = format == patches::PatchFormat::ips ? texts::Text::formatIps : texts::Text::formatBps;
    context.out << context.say(texts::message(texts::Text::wrotePatch, made.bytes.size())
                                   .withFile(outPath)
                                   .withOther(originalPath)
                                   .withThird(moddedPath)
                                   .withPart(texts::message(formatName)))
                << '\n';
    return exitSuccess;
}

} // namespace

extern const Command patchCommand {"patch", "ORIGINAL MODDED OUT", {}, "write the IPS or BPS patch from ORIGINAL to MODDED",
                                   "写出把 ORIGINAL 变成 MODDED 的 IPS 或 BPS 补丁", help, chineseHelp, run};

} // namespace quarnet::cli
