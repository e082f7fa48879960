#pragma once

// The demo map where its user can edit it. The installer puts the program and
// its demo\ folder under Program Files, which a user without administrator
// rights can't write, so every write to the demo map there would fail. At a
// start without a map beside the program, in a folder it can't write, the
// demo map and its picture are copied into Documents\Quarnet\demo\ once.
// Windows only.

#include <string_view>

namespace quarnet::platform {

// Whether a new file can be made in the folder, tried with a file that is
// gone again at once.
bool canCreateFilesIn(std::string_view utf8Folder);

// Whether a start in the program's folder calls for the user's copy: no map
// lies beside the program, and its folder can't be written.
bool needsUserDemo(std::string_view programDirectory);

// Copies the demo map and its picture from the program's demo folder into
// the folder, which is made when missing; each file only when the folder
// lacks it, never over one that is there. Whether the folder then holds the
// demo map.
bool copyDemo(std::string_view programDirectory, std::string_view utf8Folder);

// What the program does at each start: the copy into userDemoFolder() when
// the start calls for it and it isn't complete yet.
void prepareUserDemo(std::string_view programDirectory);

} // namespace quarnet::platform
