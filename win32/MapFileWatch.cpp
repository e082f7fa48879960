#include "MapFileWatch.h"

#include <optional>
#include <utility>

namespace quarnet::win32 {

namespace {

std::wstring folderOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return L".";
    // "C:\" keeps its separator: "C:" alone is the drive's working folder.
    return path.substr(0, separator == 2 && path[1] == L':' ? separator + 1 : separator);
}

// The longest a change goes untold when the folder's notification fails.
constexpr DWORD lookEvery = 1000;

} // namespace

bool MapFileWatch::Stamp::operator==(const Stamp& other) const
{
    return size.QuadPart == other.size.QuadPart && CompareFileTime(&written, &other.written) == 0;
}

std::optional<MapFileWatch::Stamp> MapFileWatch::stampOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    Stamp stamp;
    stamp.size.LowPart = data.nFileSizeLow;
    stamp.size.HighPart = data.nFileSizeHigh;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

MapFileWatch::MapFileWatch(HWND window, UINT message) : window_(window), message_(message) {}

MapFileWatch::~MapFileWatch()
{
    stop();
}

void MapFileWatch::watch(const std::wstring& path)
{
    stop();
    path_ = path;
    ++generation_;
    posted_.store(false);
    ownWriting_ = false;
    changedBeforeOwnWrite_ = false;
    if (path_.empty())
        return;
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent_)
        return;
    // The file as it is now, not once the worker first runs: a write in
    // between is a change too.
    seen_ = stampOf(path_);
    worker_ = std::thread(&MapFileWatch::run, this, path_, folderOf(path_), generation_);
}

void MapFileWatch::ownWriteStarting()
{
    const std::lock_guard lock(mutex_);
    ownWriting_ = true;
    // Another program's change that the worker has not seen yet is still told.
    if (!path_.empty() && stampOf(path_) != seen_)
        changedBeforeOwnWrite_ = true;
}

void MapFileWatch::ownWriteDone()
{
    const std::lock_guard lock(mutex_);
    ownWriting_ = false;
    if (path_.empty())
        return;
    seen_ = stampOf(path_);
    if (std::exchange(changedBeforeOwnWrite_, false))
        post(generation_);
}

void MapFileWatch::post(WPARAM generation)
{
    if (!posted_.exchange(true))
        PostMessageW(window_, message_, generation, 0);
}

void MapFileWatch::stop()
{
    if (worker_.joinable()) {
        SetEvent(stopEvent_);
        worker_.join();
    }
    if (stopEvent_)
        CloseHandle(stopEvent_);
    stopEvent_ = nullptr;
}

void MapFileWatch::run(std::wstring path, std::wstring folder, WPARAM generation)
{
    // Writes change the size or the last-write time; a replacement and a
    // removal change the folder's names.
    HANDLE change = FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_FILE_NAME);
    for (;;) {
        DWORD woke = 0;
        if (change != INVALID_HANDLE_VALUE) {
            const HANDLE waits[] = {stopEvent_, change};
            woke = WaitForMultipleObjects(2, waits, FALSE, lookEvery);
        } else {
            woke = WaitForSingleObject(stopEvent_, lookEvery);
        }
        if (woke == WAIT_OBJECT_0)
            break;
        if (woke == WAIT_OBJECT_0 + 1 && !FindNextChangeNotification(change)) {
            FindCloseChangeNotification(change);
            change = INVALID_HANDLE_VALUE;
        }
        const std::lock_guard lock(mutex_);
        if (ownWriting_)
            continue;
        const std::optional<Stamp> now = stampOf(path);
        if (now == seen_)
            continue;
        seen_ = now;
        post(generation);
    }
    if (change != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(change);
}

} // namespace quarnet::win32
