#include "MapFileWatch.h"

#include <optional>

namespace quarnet::win32 {

namespace {

// A look at the file without opening it: nothing once it is gone.
struct FileStamp {
    ULARGE_INTEGER size {};
    FILETIME written {};

    bool operator==(const FileStamp& other) const
    {
        return size.QuadPart == other.size.QuadPart && CompareFileTime(&written, &other.written) == 0;
    }
};

std::optional<FileStamp> stampOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileStamp stamp;
    stamp.size.LowPart = data.nFileSizeLow;
    stamp.size.HighPart = data.nFileSizeHigh;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

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

MapFileWatch::MapFileWatch(HWND window, UINT message) : window_(window), message_(message) {}

MapFileWatch::~MapFileWatch()
{
    stop();
}

void MapFileWatch::watch(const std::wstring& path)
{
    stop();
    path_ = path;
    posted_.store(false);
    if (path_.empty())
        return;
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent_)
        return;
    worker_ = std::thread(&MapFileWatch::run, this, path_, folderOf(path_));
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

void MapFileWatch::run(std::wstring path, std::wstring folder)
{
    std::optional<FileStamp> seen = stampOf(path);
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
        const std::optional<FileStamp> now = stampOf(path);
        if (now == seen)
            continue;
        seen = now;
        if (!posted_.exchange(true))
            PostMessageW(window_, message_, 0, 0);
    }
    if (change != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(change);
}

} // namespace quarnet::win32
