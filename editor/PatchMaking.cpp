#include "MapEditor.h"

#include "PathNames.h"
#include "WindowTexts.h"
#include "mapfile/PatchMaker.h"
#include "platform/ReadOnlyFiles.h"
#include "platform/WholeFiles.h"

namespace quarnet {

void MapEditor::makePatch()
{
    if (!idle() || refuseWithoutMap(texts::message(texts::Text::titleMakePatch)))
        return;
    // The open map is the modded file; the original is chosen, its newest
    // backup proposed.
    const std::string moddedPath = state_.mapFile.mapFileName;
    const std::optional<std::string> originalPath = host_.askFileToOpen(FileKind::originalMap, newestBackupPath());
    if (!originalPath || ended_)
        return;
    const std::optional<std::string> outPath =
        host_.askFileToSave(FileKind::patchSaved, paths::folder(moddedPath) + paths::stem(moddedPath) + ".bps");
    if (!outPath || ended_)
        return;

    const texts::Message title = titleWithFile(texts::Text::titleMakePatch, paths::fileName(*outPath));
    const patches::PatchFormat format = patches::patchFormatOfName(*outPath);
    if (format == patches::PatchFormat::none)
        return showRefusal(title, {texts::message(texts::Text::patchOutMustEnd).withFile(*outPath)});
    // A patch written over one of its own inputs would lose a map.
    if (platform::isSameFile(*outPath, *originalPath) || platform::isSameFile(*outPath, moddedPath))
        return showRefusal(title, {texts::message(texts::Text::patchOutIsInput).withFile(*outPath)});
    if (platform::isSameFile(*originalPath, moddedPath))
        return showRefusal(title, {texts::message(texts::Text::patchOriginalIsOpen).withFile(*originalPath)});

    // Read as the command line reads them, not through the open map's
    // handle: neither can be changed here.
    platform::ReadOnlyFiles files;
    const platform::FileNumber original = files.open(*originalPath);
    if (original == 0)
        return showRefusal(title, {texts::cantRead(texts::Text::roleOriginal, *originalPath, files.openFailure())});
    const platform::FileNumber modded = files.open(moddedPath);
    if (modded == 0)
        return showRefusal(title, {texts::cantRead(texts::Text::roleModded, moddedPath, files.openFailure())});
    const patches::EncodedPatch made =
        patches::makeFilePatch(files, {original, *originalPath, modded, moddedPath}, format, "quarnet-terrain");
    files.closeAll();
    if (made.refusal)
        return showRefusal(title, {*made.refusal});
    saveChosenFile(title, *outPath, made.bytes, texts::Text::savedPatch);
}

} // namespace quarnet
