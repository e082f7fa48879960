#include "ReadOnlyFiles.h"

#include "WholeFiles.h"

namespace quarnet::platform {

FileNumber ReadOnlyFiles::open(const std::string& utf8Path)
{
    if (!isReadableFile(utf8Path, openFailure_))
        return 0;
    const FileNumber number = files_.open(utf8Path);
    if (number == 0)
        openFailure_ = FileFault::unopenable;
    return number;
}

} // namespace quarnet::platform
