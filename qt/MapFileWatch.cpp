#include "MapFileWatch.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QTimer>

#include <sys/stat.h>

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
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return Stamp {status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
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
    // The file other than as it was last known, noticed yet or not, was
    // changed by another program. A notice still gathered may be of the
    // window's own write before, which left the file as known.
    if (stampOf(path_) != known_)
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
