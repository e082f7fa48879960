#include "MapFileWatch.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include <system_error>
#include <utility>

namespace quarnet::qt {

MapFileWatch::MapFileWatch(std::function<void(const std::string& path)> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed)), watcher_(new QFileSystemWatcher(this)), delay_(new QTimer(this))
{
    delay_->setSingleShot(true);
    delay_->setInterval(settleMilliseconds);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
        if (path == path_ && !delay_->isActive())
            delay_->start();
    });
    connect(delay_, &QTimer::timeout, this, &MapFileWatch::tell);
}

std::optional<MapFileWatch::Stamp> MapFileWatch::stampOf(const QString& path)
{
    const std::filesystem::path file(path.toStdU16String());
    std::error_code error;
    Stamp stamp;
    stamp.size = std::filesystem::file_size(file, error);
    if (error)
        return std::nullopt;
    stamp.written = std::filesystem::last_write_time(file, error);
    if (error)
        return std::nullopt;
    return stamp;
}

void MapFileWatch::watch(const QString& path)
{
    // Watched anew each time: a file replaced since is another file. What
    // was gathered for the file before is dropped with it.
    delay_->stop();
    changedBeforeOwnWrite_ = false;
    if (!watcher_->files().isEmpty())
        watcher_->removePaths(watcher_->files());
    path_ = path;
    known_ = path.isEmpty() ? std::nullopt : stampOf(path);
    if (!path.isEmpty())
        watcher_->addPath(path);
}

void MapFileWatch::ownWriteStarting()
{
    // A change seen and not yet told, or one made since the file was last
    // known and not yet noticed, is another program's.
    if (delay_->isActive() || stampOf(path_) != known_)
        changedBeforeOwnWrite_ = true;
}

void MapFileWatch::ownWriteDone()
{
    known_ = stampOf(path_);
    if (changedBeforeOwnWrite_ && !delay_->isActive())
        delay_->start();
}

void MapFileWatch::tell()
{
    if (path_.isEmpty())
        return;
    if (!std::exchange(changedBeforeOwnWrite_, false) && stampOf(path_) == known_)
        return; // the window's own write, or nothing that stays
    changed_(path_.toStdString());
}

} // namespace quarnet::qt
