#pragma once

#include "editor/FileChoices.h"

#include <QString>

#include <optional>

class QWidget;

namespace quarnet::qt {

// The filter list of a dialog for a kind of file, as QFileDialog takes it:
// "name (*.a *.b)" a line.
QStringList nameFilters(FileKind kind);

// Shows the modal open or save dialog for a kind of file over parent, with
// its title and filters, proposing a path (its folder and name); the chosen
// path with the system's separators, or nothing for a cancel.
std::optional<QString> chooseFile(QWidget* parent, FileKind kind, const QString& proposedPath, bool save);

} // namespace quarnet::qt
