#include "NativeFiles.h"

#include <limits>

namespace quarnet::platform {

NativeFiles::~NativeFiles()
{
    closeAll();
}

bool NativeFiles::find(FileNumber number, NativeHandle& handle) const
{
    const auto it = open_.find(number);
    if (it == open_.end())
        return false;
    handle = it->second;
    return true;
}

bool NativeFiles::findCreated(FileNumber number, NativeHandle& handle) const
{
    return created_.contains(number) && find(number, handle);
}

FileNumber NativeFiles::rememberCreated(NativeHandle handle, const std::string& utf8Path)
{
    const FileNumber number = remember(handle);
    created_.emplace(number, utf8Path);
    return number;
}

void NativeFiles::close(FileNumber number)
{
    const auto it = open_.find(number);
    if (it == open_.end())
        return;
    closeHandle(it->second);
    open_.erase(it);
    created_.erase(number);
}

void NativeFiles::closeAll()
{
    for (const auto& [number, handle] : open_)
        closeHandle(handle);
    open_.clear();
    created_.clear();
}

FileNumber NativeFiles::remember(NativeHandle handle)
{
    // Numbers count up from 1; after the largest they start again at the
    // lowest free one, so 0 is never handed out.
    FileNumber number = lastNumber_;
    do {
        number = number == std::numeric_limits<FileNumber>::max() ? 1 : number + 1;
    } while (open_.count(number) != 0);
    lastNumber_ = number;
    open_.emplace(number, handle);
    return number;
}

} // namespace quarnet::platform
