#pragma once

// Why a whole file can't be read or written, as the user is told it: each
// fault's words are in the tables of texts, not here.

namespace quarnet::platform {

enum class FileFault {
    none,
    missing,           // no such file
    notRegular,        // a folder or a device
    unopenable,        // exists, but can't be opened for reading
    changedWhileRead,  // its length changed while it was read
    notCreatable,
    writeFailed,       // disk full, or another error while writing
};

} // namespace quarnet::platform
