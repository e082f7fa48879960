#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace quarnet::win32 {

// Watches one file for changes made by other programs: a worker waits on the
// system's change notification for the file's folder and, when the file's
// size or last-write time differ from what it saw last (a write, a
// replacement, a removal), posts a message to a window. Other files of the
// folder wake it but are not told. A change is told within a second: the
// worker also looks once a second, for folders whose notifications never
// come (some network shares). The window's own writes, between
// ownWriteStarting and ownWriteDone, are never told.
class MapFileWatch {
public:
    // Posts `message` to `window`, its wParam the watch's generation (see
    // isCurrent). One message at a time: the next is posted only after the
    // window called told().
    MapFileWatch(HWND window, UINT message);
    ~MapFileWatch();
    MapFileWatch(const MapFileWatch&) = delete;
    MapFileWatch& operator=(const MapFileWatch&) = delete;

    // Watches the file at path instead of any before; an empty path stops
    // watching. The file as it is now is the state changes are told against.
    void watch(const std::wstring& path);
    const std::wstring& path() const { return path_; }

    // The window took the message posted: a later change posts again.
    void told() { posted_.store(false); }

    // Whether a message posted with this wParam is of the file watched now,
    // not of one watched before.
    bool isCurrent(WPARAM generation) const { return generation == generation_; }

    void ownWriteStarting();
    void ownWriteDone();

private:
    // A look at the file without opening it: its size and last-write time.
    struct Stamp {
        ULARGE_INTEGER size {};
        FILETIME written {};
        bool operator==(const Stamp& other) const;
    };
    // Nothing once the file is gone.
    static std::optional<Stamp> stampOf(const std::wstring& path);

    void stop();
    void run(std::wstring path, std::wstring folder, WPARAM generation);
    void post(WPARAM generation);

    HWND window_;
    UINT message_;
    std::wstring path_;
    HANDLE stopEvent_ = nullptr;
    std::thread worker_;
    std::atomic<bool> posted_ {false};
    WPARAM generation_ = 0;
    // Shared with the worker: the file as last seen, and the window's own
    // write under way, during which the worker tells nothing.
    std::mutex mutex_;
    std::optional<Stamp> seen_;
    bool ownWriting_ = false;
    bool changedBeforeOwnWrite_ = false;
};

} // namespace quarnet::win32
