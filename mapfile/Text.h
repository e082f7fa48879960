#pragma once

// Every kind of text the user reads: refusals, warnings, summaries and the
// words they are made of. Each has one text in each table of texts.

namespace quarnet::texts {

enum class Text {
    // How lists are joined.
    listComma,
    listAnd,
    itemComma,
    nameList,

    // Why a file can't be read or written (platform::FileFault).
    fileMissing,
    fileNotRegular,
    fileUnopenable,
    fileChangedWhileRead,
    fileNotCreatable,
    fileWriteFailed,

    // The files a command or an action names.
    roleMap,
    rolePicture,
    rolePatch,
    roleEditsOrPatch,
    roleOriginal,
    roleModded,
    roleOut,
    roleOld,
    roleNew,
    rolePictureOption,

    // Files that can't be reached.
    cantReadRole,       // {p0} role {file}: {p1} fault
    cantReadNamed,      // {file}: {p0}
    cantWriteRole,
    cantWriteLeft,      // {file}: {p0}, {other} the map left as it was
    cantOpenMapForWriting,
    cantTellMapLength,
    cantReadMap,

    // Patches.
    formatIps,
    formatBps,
    patchEmpty,
    notAPatch,
    notIps,
    ipsRecordCutShort,
    ipsRleCutShort,
    ipsRecordPastPatchEnd,
    ipsRecordPastFileEnd,
    ipsCutsFile,
    ipsStrayBytes,
    ipsTooLarge,
    notBps,
    bpsTooShort,
    bpsPatchCrc,
    bpsNumberCutShort,
    bpsNumberOverflows,
    bpsMetadataPastEnd,
    bpsOtherFile,
    bpsChangesLength,
    bpsWritesPastEnd,
    bpsReadsPastPatchEnd,
    bpsCopiesOutsideSource,
    bpsCopiesUnwritten,
    bpsActionsEndEarly,
    bpsTargetCrc,
    patchChangesLength,
    patchFileRefused,   // {file}: {p0}
    patchNeedsFormat,
    patchInputsDiffer,
    patchInputsShort,
    patchLengthsUnknown,
    patchLengthsDiffer,
    patchReadFailed,
    changeSummary,
    changeSummaryWhere,

    // Pictures.
    pictureFileEmpty,
    pictureFileTooLarge,
    pictureOverfullHuffman,
    pictureUndecodable,
    pictureNoPixelsDecoded,
    pictureTooManyPixels,
    pictureSizeChanged,
    pictureEncodingFailed,
    cantDecodePicture,
    pictureSizes,
    pictureHasNoPixels,
    pictureTooLarge,
    pictureWrongSize,
    picture16Bit,
    pictureJpegExact,

    // A painted picture read into blocks.
    blockInPicture,
    blockInPictureRange,
    faultEvenSplit,
    faultTransparent,
    faultOutsideFile,
    faultBackground,
    faultGrey,
    strayPixel,
    morePixels,
    moreBlocks,
    importStrayPixels,
    importFaultyBlocks,
    importStrayAndFaulty,
    shadeNoName,
    shadeBackground,
    shadeName,
    shadeChange,
    importNoChange,
    importChanges,
    nearestMoved,

    // Edit lists.
    editLine,
    editFieldCount,
    editBlockNotNumber,
    editBlockOutside,
    editXNotNumber,
    editYNotNumber,
    editXOutside,
    editYOutside,
    editCodeNotHex,
    editCodeOutside,
    editPastFile,
    editTwoCodes,

    // The safe write.
    readBackLength,
    readBackFailed,
    readBackMismatch,
    writtenCrc,
    backupExists,
    backupNotCreatable,
    backupWriteFailed,
    backupFlushFailed,
    writeChangeFailed,
    changeOfBlock,
    changeOfPatch,
    changeOfBlockAlone,
    changeOfByte,
    mapFlushFailed,
    mapLeftAsItWas,
    mapRestored,
    mapMayBeDamaged,
    byteWriteFailed,
    byteReadBackFailed,
    byteBackAsItWas,
    byteNotPutBack,

    // The command line.
    commandSeeHelp,     // {p0} (see quarnet-terrain --help)
    commandsAre,
    unknownOption,
    optionTakesNoValue,
    optionNeedsValue,
    noCommand,
    unknownCommand,
    commandTakesNoOption,
    operandCount,
    offsetNeedsValue,
    scaleRange,
    backupNeedsPath,
    outputNeedsPath,
    outputNamesInput,
    backupGoesWithApply,
    scaleGoesWithPicture,
    pictureOutMustEnd,
    pictureOptionMustEnd,
    pictureNamesInput,
    outIsMap,
    patchOutMustEnd,
    patchOutIsInput,
    patchOriginalIsOpen,
    readOldOrNewFailed,
    editsFileLine,      // {file} {p0}
    badLines,
    editsHoldNothing,
    wouldWriteCodes,
    wroteCodes,
    patchChangesNothing,
    patchWouldChange,
    patchApplied,
    pictureChangesNothing,
    keptEvenSplits,
    wrotePatch,
    exportShort,
    diffSame,
    diffBlocks,
    diffOtherBytes,
    diffOtherBytesLengths,
    diffCsvOthers,

    // The window's own texts.
    // What a change is called, and its verb.
    titleImport,
    titleApplyPatch,
    titleExport,
    titleMakePatch,
    titleWriteBlock,    // {0} the block
    titleWithFile,      // {p0} {file}
    titleWithFormat,    // {p0} {file} ({p1} the patch's format)
    actionWrite,
    actionImport,
    actionApplyPatch,
    actionUndo,
    actionRedo,

    // A command refused before it writes, and the question before a write.
    refusedWithoutMap,  // {p0} a title
    refusedLeftAsItWas, // {p0} a title; the reasons follow, a line each
    moreReasons,
    changesNoByte,
    writeQuestion,      // {file} the backup to be

    // What an import or a patch would change.
    askNearestForJpeg,
    askNearestForStrayPixels,
    importChangesNoBlock,
    importSummary,
    importNearestTaken,
    importEvenSplitsKept,
    patchSummary,
    patchSummaryWhere,
    morePairs,

    // A change refused as it is written, undone or redone.
    changeNotMade,      // {p0} the verb
    stepNotMade,        // {p0} the verb, {p1} the title
    notMadeBecause,     // {p0} changeNotMade or stepNotMade, {p1} why
    mapUnreadableNothingWritten,
    mapChangedSincePreview,
    openedMapNotKept,
    stepMapUnreadable,
    stepByteUnreadable, // {p0} blockCode or byteAtOffset, {p1} the verb
    stepByteChanged,
    stepBytesChanged,   // the bytes follow, a line each
    byteChangedTo,
    byteOutsideFile,
    moreBytesChanged,
    stepKeptNothingWritten,
    blockCode,
    byteAtOffset,

    // Toasts.
    keptBeforeStep,     // {p0} the verb
    keptOpenedMap,
    exportedPicture,
    savedPatch,

    // The status line, the code box, the start hint and the reports.
    statusRunDirectory,
    statusOpenFile,
    statusCantOpen,
    statusClosed,
    codeOutOfRange,
    startHintOpen,
    startHintDemo,
    terrainReport,      // {other} the terrain's name, {third} its code
    terrainReportNoFile,
    mouseCoordinates,

    count
};

} // namespace quarnet::texts
