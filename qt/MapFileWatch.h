#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QFileSystemWatcher;
class QTimer;

namespace quarnet::qt {

// Watches the open map file for changes made by other programs. The system's
// notices are gathered for a moment, so that a program writing many bytes is
// told once, and each is told with the path it was armed for; notices of a
// file no longer watched are dropped. The window's own writes, between
// ownWriteStarting and ownWriteDone, are never told.
class MapFileWatch final : public QObject {
public:
    // `changed` is called on the window's thread with the watched path.
    MapFileWatch(std::function<void(const std::string& path)> changed, QObject* parent);

    // Watches the file at path instead of any before; an empty path stops
    // watching. The file as it is now is what changes are told against.
    void watch(const QString& path);

    void ownWriteStarting();
    void ownWriteDone();

    // Another program's writes come as many notices: the file is read once
    // they have settled for this long, well within a second of the first.
    static constexpr int settleMilliseconds = 100;

private:
    // A look at the file without opening it, one system call: its size and
    // last write time.
    struct Stamp {
        std::int64_t size = 0;
        std::int64_t writtenSeconds = 0;
        std::int64_t writtenNanoseconds = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    // Nothing once the file is gone.
    static std::optional<Stamp> stampOf(const QString& path);
    void tell();

    std::function<void(const std::string&)> changed_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* delay_ = nullptr;
    QString path_;
    // The file as the watch began or as the window's own write left it.
    std::optional<Stamp> known_;
    // Another program's change was seen before the window's own write.
    bool changedBeforeOwnWrite_ = false;
};

} // namespace quarnet::qt
