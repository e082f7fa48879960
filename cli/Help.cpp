#include "Help.h"

#include "CommandTable.h"

#include "mapfile/MapGeometry.h"

#include <algorithm>
#include <string>

namespace quarnet::cli {

const std::string_view renderHelp = R"(Usage: quarnet-terrain render MAP OUT [--scale N] [--offset HEX]
Writes the terrain of the whole map as a picture, in the terrain view's
colours: one square of N x N pixels a block, blocks in rows from the top-left.
OUT ending in .png gives a PNG, .jpg or .jpeg a JPEG; an existing OUT is
replaced, MAP never.

  --scale N      pixels a block, 1 to 8 (default 4: 2184 x 1548, the size of
                 the window's map picture; 1 gives 546 x 387); import reads
                 back only scales 4 and 1
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Blocks whose record lies past the end of MAP are drawn as the background.
Exit codes: 0 written, 2 error.
)";

const std::string_view diffHelp = R"(Usage: quarnet-terrain diff OLD NEW [--csv] [--picture OUT.png [--scale N]]
                            [--offset HEX]
Lists every block whose terrain code differs between two map files, or that
an IPS or BPS patch NEW would change in OLD (known by its first bytes, and
checked as apply checks it): block number, row, column, map pixel ranges,
the old and the new code with their names. Then counts the other bytes that
differ (in the header before the
records, in the records' other bytes, after the records), so no change goes
unseen.

  --csv          print the differences as an edit list that apply reads:
                 a line "block,code", then one line per block; counts of
                 other differing bytes go to the error output
  --picture OUT.png
                 also draw the change as a picture (PNG, or JPEG by a .jpg
                 or .jpeg name): NEW's terrain in the terrain view's colours, the
                 unchanged blocks dimmed toward the background, the changed
                 ones in full colour inside a black and white outline
  --scale N      the picture's pixels a block, 1 to 8 (default 4, as render
                 draws); at 1 the changed blocks have no outline
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Exit codes: 0 the terrain is the same, 1 it differs (or the files' lengths
differ), 2 error.
)";

const std::string_view exportHelp = R"(Usage: quarnet-terrain export MAP [OUT] [--offset HEX]
Writes every block as CSV, to OUT or to the standard output: a line
"block,row,column,code,name", then one line per block in block order, the
code as two hexadecimal digits. Codes without a name have an empty name.
An existing OUT is replaced, MAP never.

  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Exit codes: 0 written, 2 error.
)";

const std::string_view applyHelp = R"(Usage: quarnet-terrain apply MAP EDITS|PATCH [--dry-run] [--backup PATH] [--offset HEX]
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
  --backup PATH  the backup copy (default MAP.bak); an existing file there is
                 never overwritten: apply stops instead
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Exit codes: 0 applied (or nothing to do), 2 error (MAP unchanged or restored).
)";

const std::string_view patchHelp = R"(Usage: quarnet-terrain patch ORIGINAL MODDED OUT [--offset HEX]
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

const std::string_view importHelp = R"(Usage: quarnet-terrain import MAP PICTURE [-o EDITS] [--nearest]
                              [--apply [--backup PATH]] [--offset HEX]
Reads a terrain picture painted in the terrain view's colours (as render
draws it, then changed in any image editor) and turns it into the edit list
of the blocks whose terrain it changes, as "diff --csv" writes it and apply
reads it: to the standard output, or to EDITS with -o.

PICTURE is a PNG, BMP, TGA or JPEG of 546 x 387 (one pixel a block) or
2184 x 1548 pixels (4 x 4 pixels a block): render's scales 1 and 4 (its
default); the other scales, and other sizes, are refused. Each pixel must be one of the
terrain view's colours; a block's terrain is the name that most of its pixels
show (transparent pixels don't count), and a block split evenly between names
is an error. A block that shows the name it has keeps its code; one that gets
another name gets that name's first code in the legend (03 for 草原). The
background colour (code 00, and blocks past the end of MAP) and the grey of
codes without a name can't be written: they may stay on a block that shows
them already, and a block painted in them that doesn't is an error. Pixels of other colours are named, the first 20 of them, then
counted. A summary of the changes goes to the error output.

  -o EDITS       write the edit list to EDITS instead (an existing file is
                 replaced)
  --nearest      take each pixel's nearest terrain colour and tell how many
                 pixels moved: for pictures whose editor smoothed the edges,
                 and for JPEG, whose colours are only approximate (without it
                 a JPEG is refused); at 4 x 4 pixels a block only a block's
                 inner 2 x 2 pixels count, away from the blurred edges
  --apply        write the edits into MAP, as apply does: a flushed backup
                 MAP.bak first (never overwritten), the bytes in place, one
                 flush, every byte read back, and MAP restored on any failure
  --backup PATH  with --apply: the backup copy (default MAP.bak)
  --offset HEX   where block 1's record starts, hexadecimal (default {offset})

Nothing is written on any error. Exit codes: without --apply, 0 no block
changes, 1 blocks change, 2 error; with --apply, 0 applied (or nothing to
apply), 2 error (MAP unchanged or restored).
)";

namespace {

constexpr std::string_view programUsage = R"(Usage: quarnet-terrain COMMAND ARGUMENTS [OPTIONS]
Reads and edits the terrain codes of the game's big map file SANGO7.MPC.

Commands:
)";

constexpr std::string_view programOptions = R"(
Options of every command:
  --offset HEX       where block 1's record starts, hexadecimal (default {offset})
  --help             show the help of the program or of a command

Exit codes: 0 success (diff: the terrain is the same; import without
--apply: no block changes), 1 diff: the terrain or the files' lengths differ
(import without --apply: blocks change), 2 error. "quarnet-terrain COMMAND
--help" tells more.
)";

// The help texts name the default start address where they say "{offset}".
std::string withDefaultOffset(std::string_view text)
{
    constexpr std::string_view mark = "{offset}";
    std::string filled;
    for (std::size_t at = text.find(mark); at != std::string_view::npos; at = text.find(mark)) {
        filled.append(text.substr(0, at)).append(geometry::defaultStartAddress);
        text.remove_prefix(at + mark.size());
    }
    return filled.append(text);
}

std::string programHelp()
{
    constexpr std::size_t usageWidth = 27; // the summaries start in one column
    std::string help(programUsage);
    for (const Command& command : commands()) {
        std::string usage = std::string(command.name) + " " + std::string(command.operands);
        usage.resize(std::max(usage.size() + 1, usageWidth), ' ');
        help += "  " + usage + std::string(command.summary) + "\n";
    }
    return help + std::string(programOptions);
}

} // namespace

std::string helpText(std::string_view command)
{
    if (const Command* found = findCommand(command))
        return withDefaultOffset(found->help);
    return withDefaultOffset(programHelp());
}

} // namespace quarnet::cli
