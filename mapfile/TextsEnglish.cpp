#include "Texts.h"

// The English table of texts: what the command line shows outside a Chinese
// locale. Placeholders as renderMessage (Message.h) fills them.

namespace quarnet::texts {

namespace {

using enum Text;

constexpr TextEntry entries[] = {
    {listComma, ", "},
    {nameList, "{list}"},
    {listAnd, " and "},
    {itemComma, ", "},

    {fileMissing, "no such file"},
    {fileNotRegular, "not a regular file"},
    {fileUnopenable, "can't be opened for reading"},
    {fileChangedWhileRead, "changed its length while being read"},
    {fileNotCreatable, "can't be created"},
    {fileWriteFailed, "writing failed (disk full?)"},

    {roleMap, "MAP"},
    {rolePicture, "PICTURE"},
    {rolePatch, "PATCH"},
    {roleEditsOrPatch, "EDITS or PATCH"},
    {roleOriginal, "ORIGINAL"},
    {roleModded, "MODDED"},
    {roleOut, "OUT"},
    {roleOld, "OLD"},
    {roleNew, "NEW"},
    {rolePictureOption, "--picture"},

    {cantReadRole, "can't read {p0} {file}: {p1}"},
    {cantReadNamed, "can't read {file}: {p0}"},
    {cantWriteRole, "can't write {p0} {file}: {p1}"},
    {cantWriteLeft, "can't write {file}: {p0}; {other} left as it was"},
    {cantOpenMapForWriting, "can't open MAP {file} for reading and writing"},
    {cantTellMapLength, "can't tell the length of MAP {file}"},
    {cantReadMap, "can't read MAP {file}"},

    {formatIps, "IPS"},
    {formatBps, "BPS"},
    {patchEmpty, "the patch is empty"},
    {notAPatch, "not a patch: it starts with neither \"PATCH\" (IPS) nor \"BPS1\" (BPS)"},
    {notIps, "not an IPS patch: it doesn't start with \"PATCH\""},
    {ipsRecordCutShort, "the patch is truncated: record {0} (patch byte {1}) is cut short and \"EOF\" never comes"},
    {ipsRleCutShort, "the patch is truncated: record {0} (patch byte {1}), an RLE record, is cut short"},
    {ipsRecordPastPatchEnd, "record {0} (patch byte {1}) holds {2} bytes, which run past the patch's end"},
    {ipsRecordPastFileEnd, "record {0} (patch byte {1}) writes {2} bytes at offset {3}, past the end of the file's {4} "
                           "bytes; a map's length never changes"},
    {ipsCutsFile, "the patch cuts the file to {0} bytes from {1}; a map's length never changes"},
    {ipsStrayBytes, "the patch holds {0} stray bytes after its \"EOF\""},
    {ipsTooLarge, "IPS reaches only the first 16 MiB of a file, and this one has {0} bytes; make a BPS patch instead"},
    {notBps, "not a BPS patch: it doesn't start with \"BPS1\""},
    {bpsTooShort, "the patch is truncated: {0} bytes are too few for a BPS patch's header and checksums"},
    {bpsPatchCrc, "the patch is damaged or truncated: its CRC32 is {h0} where its last bytes say {h1}"},
    {bpsNumberCutShort, "the patch is truncated: the number at patch byte {0} is cut short"},
    {bpsNumberOverflows, "the number at patch byte {0} overflows 64 bits"},
    {bpsMetadataPastEnd, "the patch's metadata of {0} bytes runs past the patch's end"},
    {bpsOtherFile, "the patch was made for another version of the file: it expects {0} bytes with CRC32 {h1}, and "
                   "the file has {2} bytes with CRC32 {h3}"},
    {bpsChangesLength, "the patch would change the file's length from {0} to {1} bytes; a map's length never changes"},
    {bpsWritesPastEnd, "the action at patch byte {0} writes {1} bytes at target offset {2}, past the target's end"},
    {bpsReadsPastPatchEnd, "the action at patch byte {0} reads {1} bytes, which run past the patch's end"},
    {bpsCopiesOutsideSource, "the action at patch byte {0} copies from outside the source"},
    {bpsCopiesUnwritten, "the action at patch byte {0} copies from a part of the target not yet written"},
    {bpsActionsEndEarly, "the patch's actions end after {0} of the target's {1} bytes"},
    {bpsTargetCrc, "the patched bytes' CRC32 is {h0} where the patch expects {h1}"},
    {patchChangesLength, "the patch would change the file's length"},
    {patchFileRefused, "{file}: {p0}"},
    {patchNeedsFormat, "a patch is IPS or BPS"},
    {patchInputsDiffer, "the files differ in length ({0} and {1} bytes)"},
    {patchInputsShort, "the files are {0} bytes long, not {1}"},
    {patchLengthsUnknown, "can't tell the length of ORIGINAL or MODDED"},
    {patchLengthsDiffer, "ORIGINAL has {0} bytes and MODDED {1}; a map's length never changes, so no patch is made"},
    {patchReadFailed, "reading {p0} {file} failed"},
    {changeSummary, "{0} {0?terrain block|terrain blocks} and {1} {1?other byte|other bytes}"},
    {changeSummaryWhere, "{0} {0?terrain block|terrain blocks} and {1} {1?other byte|other bytes} ({2} in the header, "
                         "{3} in the records, {4} after the records)"},

    {pictureFileEmpty, "the file is empty"},
    {pictureFileTooLarge, "the file is too large"},
    {pictureOverfullHuffman, "Corrupt JPEG: a Huffman table of more than 256 codes"},
    {pictureUndecodable, "not a PNG, BMP, TGA or JPEG picture that can be read, or a damaged one"},
    {pictureNoPixelsDecoded, "the picture has no pixels"},
    {pictureTooManyPixels, "the picture has too many pixels"},
    {pictureSizeChanged, "the picture's size differs from its header's"},
    {pictureEncodingFailed, "encoding the picture failed"},
    {cantDecodePicture, "can't decode PICTURE {file}: {p0}"},
    {pictureSizes, "546 x 387 (one pixel a block) or 2184 x 1548 (4 x 4 pixels a block, as render draws it)"},
    {pictureHasNoPixels, "PICTURE {file} has no pixels ({0} x {1}); it must be {p0}"},
    {pictureTooLarge, "PICTURE {file} is {0} x {1} pixels, over 64 Mpixel, and is not decoded; it must be {p0}"},
    {pictureWrongSize, "PICTURE {file} is {0} x {1} pixels; it must be {p0}"},
    {picture16Bit, "PICTURE {file} has 16 bits a channel; the terrain colours are 8-bit: save it with 8 bits a channel"},
    {pictureJpegExact, "PICTURE {file} is a JPEG, whose colours are only approximate, so they can't be matched "
                       "exactly; --nearest takes each pixel's nearest terrain colour"},

    {blockInPicture, "block {0} (row {1}, column {2}; picture x {3}, y {4})"},
    {blockInPictureRange, "block {0} (row {1}, column {2}; picture x {3} to {4}, y {5} to {6})"},
    {faultEvenSplit, "{p0}: its pixels split evenly between {p1}"},
    {faultTransparent, "{p0}: all its pixels are transparent"},
    {faultOutsideFile, "{p0} lies outside the file ({0} bytes) but is painted {p1}; it must stay background"},
    {faultBackground, "{p0} is painted in the background colour, which no code can be written as"},
    {faultGrey, "{p0} is painted in the grey of codes without a name, which can't be written"},
    {strayPixel, "pixel x {0}, y {1} has colour {x2}, no terrain colour ({p0})"},
    {morePixels, "and {0} {0?more pixel|more pixels} of other colours"},
    {moreBlocks, "and {0} {0?more block|more blocks} that can't be imported"},
    {importStrayPixels, "PICTURE {file} has {0} {0?pixel|pixels} of no terrain colour (--nearest takes each pixel's "
                        "nearest terrain colour); {other} left as it was"},
    {importFaultyBlocks, "PICTURE {file} has {0} {0?block|blocks} that can't be imported; {other} left as it was"},
    {importStrayAndFaulty, "PICTURE {file} has {0} {0?pixel|pixels} of no terrain colour and {1} {1?block|blocks} that "
                           "can't be imported (--nearest takes each pixel's nearest terrain colour); {other} left as it "
                           "was"},
    {shadeNoName, "no name"},
    {shadeBackground, "background"},
    {shadeName, "{shade0}"},
    {shadeChange, "{0} {shade1} -> {shade2}"},
    {importNoChange, "no block changes terrain"},
    {importChanges, "{0} {0?block changes|blocks change} terrain: {items}"},
    {nearestMoved, "--nearest moved {0} {0?pixel|pixels} to the nearest terrain colour"},

    {editLine, "line {0}: {p0}"},
    {editFieldCount, "expected BLOCK,CODE or X,Y,CODE, found {0} fields"},
    {editBlockNotNumber, "block \"{other}\" is not a whole number"},
    {editBlockOutside, "block {0} is outside 1 to {1}"},
    {editXNotNumber, "x \"{other}\" is not a whole number"},
    {editYNotNumber, "y \"{other}\" is not a whole number"},
    {editXOutside, "x {0} is outside 0 to {1}"},
    {editYOutside, "y {0} is outside 0 to {1}"},
    {editCodeNotHex, "code \"{other}\" is not a hexadecimal code such as 05"},
    {editCodeOutside, "code {other} is outside {c0} to {c1}"},
    {editPastFile, "block {0}'s code byte lies past the end of the file ({1} bytes)"},
    {editTwoCodes, "block {0} gets code {c1} here but {c2} on line {3}"},

    {readBackLength, "the file's length changed"},
    {readBackFailed, "reading the file back failed"},
    {readBackMismatch, "reading the file back found byte {c0} at offset {1} where {c2} was written"},
    {writtenCrc, "the written file's CRC32 is {h0} where the patch expects {h1}"},
    {backupExists, "the backup {file} already exists and is never overwritten; move it away or name another with "
                   "--backup PATH"},
    {backupNotCreatable, "can't create the backup {file}"},
    {backupWriteFailed, "writing the backup {file} failed"},
    {backupFlushFailed, "flushing the backup {file} failed"},
    {writeChangeFailed, "writing {p0} at offset {0} failed"},
    {changeOfBlock, "block {0} (line {1})"},
    {changeOfPatch, "the patched bytes"},
    {changeOfBlockAlone, "block {0}"},
    {changeOfByte, "the byte"},
    {mapFlushFailed, "flushing {file} failed"},
    {mapLeftAsItWas, "{p0}; {file} left as it was"},
    {mapRestored, "{p0}; {file} restored byte for byte from the backup {other}"},
    {mapMayBeDamaged, "{p0}; restoring {file} failed too, so {file} may be damaged: copy the complete backup {other} "
                      "over it"},

    {commandSeeHelp, "{p0} (see quarnet-terrain --help)"},
    {commandsAre, "{p0}; the commands are {other}"},
    {unknownOption, "unknown option {other}"},
    {optionTakesNoValue, "{other} takes no value"},
    {optionNeedsValue, "{other} needs a value"},
    {noCommand, "no command given"},
    {unknownCommand, "unknown command {other}"},
    {commandTakesNoOption, "{file} takes no option {other}"},
    {operandCount, "{file} takes {other}, got {0} {0?operand|operands}"},
    {offsetNeedsValue, "--offset needs a hexadecimal start address such as {other}"},
    {scaleRange, "--scale takes a whole number of pixels a block, 1 to {0}, not \"{other}\""},
    {backupNeedsPath, "--backup needs a path"},
    {outputNeedsPath, "-o needs a path"},
    {outputNamesInput, "-o names MAP or PICTURE; neither is ever overwritten"},
    {backupGoesWithApply, "--backup goes with --apply"},
    {scaleGoesWithPicture, "--scale goes with --picture"},
    {pictureOutMustEnd, "OUT {file} must end in .png, .jpg or .jpeg"},
    {pictureOptionMustEnd, "--picture {file} must end in .png, .jpg or .jpeg"},
    {pictureNamesInput, "--picture names OLD or NEW; neither is ever overwritten"},
    {outIsMap, "OUT is MAP itself; the map is never overwritten"},
    {patchOutMustEnd, "OUT {file} must end in .ips or .bps, the patch's format"},
    {patchOutIsInput, "OUT {file} is ORIGINAL or MODDED; name another file"},
    {patchOriginalIsOpen, "ORIGINAL {file} is the open map itself; choose its original"},
    {readOldOrNewFailed, "reading OLD or NEW failed"},
    {editsFileLine, "{file} {p0}"},
    {badLines, "{0} {0?bad line|bad lines}; {file} left as it was"},
    {editsHoldNothing, "{file} holds no edits; {other} left as it was"},
    {wouldWriteCodes, "Would write {0} {0?code|codes} into {file}; nothing written (--dry-run)"},
    {wroteCodes, "Wrote {0} {0?code|codes} into {file}; the backup is {other}"},
    {patchChangesNothing, "{file} ({p0}) changes nothing in {other}; {other} left as it was"},
    {patchWouldChange, "{file} ({p0}) would change {p1} in {other}; nothing written (--dry-run)"},
    {patchApplied, "Applied {file} ({p0}) to {other}: changed {p1}; the backup is {third}"},
    {pictureChangesNothing, "{file} changes no block's terrain; {other} left as it was"},
    {wrotePatch, "Wrote {file}, {0} bytes: the {p0} patch that turns {other} into {third}"},
    {exportShort, "{file} ends before block {0}'s code byte; blocks {0} to {1} are left out"},
    {diffSame, "The terrain is the same"},
    {diffBlocks, "{0} {0?block differs|blocks differ} in terrain"},
    {diffOtherBytes, "{p0}; other bytes that differ: {0} in the header, {1} in the records, {2} after the records"},
    {diffOtherBytesLengths, "{p0}; other bytes that differ: {0} in the header, {1} in the records, {2} after the "
                            "records; OLD has {3} bytes and NEW {4}, so {5} lie past the shorter one's end"},
    {diffCsvOthers, "the edit list holds terrain codes only"},
};

} // namespace

std::span<const TextEntry> englishTexts()
{
    return entries;
}

} // namespace quarnet::texts
