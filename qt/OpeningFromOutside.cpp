#include "OpeningFromOutside.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace quarnet::qt {

namespace {

// Absolute and clean, as the dialog gives it, with links left as they are.
QString fullPath(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

} // namespace

std::optional<QString> mapPathArgument(const QStringList& arguments)
{
    if (arguments.size() < 2 || arguments.at(1).isEmpty())
        return std::nullopt;
    return fullPath(arguments.at(1));
}

std::optional<QString> droppedMapPath(const QMimeData& data)
{
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile())
            return fullPath(url.toLocalFile());
    }
    return std::nullopt;
}

} // namespace quarnet::qt
