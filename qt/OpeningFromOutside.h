#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QMimeData;

namespace quarnet::qt {

// The map file named on the command line (the first argument after the
// program's own, which Qt's options have left), as the full path that the
// open-file dialog would give; nothing without an argument.
std::optional<QString> mapPathArgument(const QStringList& arguments);

// The first local file of what is dragged over or dropped on the window, as
// a full path; nothing when it carries no local file.
std::optional<QString> droppedMapPath(const QMimeData& data);

} // namespace quarnet::qt
