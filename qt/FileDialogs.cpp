#include "FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace quarnet::qt {

namespace {

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The extension that a filter's first pattern names ("png" for "*.png"),
// added to a name typed without one.
QString suffixOf(const FileFilter& filter)
{
    if (filter.patterns.empty())
        return {};
    const QString pattern = utf8(filter.patterns.front());
    return pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : QString();
}

} // namespace

QStringList nameFilters(FileKind kind)
{
    QStringList filters;
    for (const FileFilter& filter : fileChoice(kind).filters) {
        QStringList patterns;
        for (const std::string_view pattern : filter.patterns)
            patterns.append(utf8(pattern));
        filters.append(utf8(filter.name) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters;
}

std::optional<QString> chooseFile(QWidget* parent, FileKind kind, const QString& proposedPath, bool save)
{
    const FileChoice choice = fileChoice(kind);
    QFileDialog dialog(parent, utf8(choice.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(kind);
    dialog.setNameFilters(filters);
    if (save) {
        // The type chosen is the type written: a name without an extension
        // gets the chosen filter's.
        const auto follow = [&dialog, &filters, choice](const QString& chosen) {
            const qsizetype index = filters.indexOf(chosen);
            if (index >= 0)
                dialog.setDefaultSuffix(suffixOf(choice.filters[static_cast<std::size_t>(index)]));
        };
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
        // The proposed name's own type first, when it is one of the list.
        const QString proposedSuffix = QFileInfo(proposedPath).suffix().toLower();
        for (std::size_t i = 0; i < choice.filters.size(); ++i) {
            for (const std::string_view pattern : choice.filters[i].patterns) {
                if (!proposedSuffix.isEmpty() && utf8(pattern) == QStringLiteral("*.") + proposedSuffix)
                    dialog.selectNameFilter(filters.at(qsizetype(i)));
            }
        }
        follow(dialog.selectedNameFilter());
    }
    if (!proposedPath.isEmpty()) {
        const QFileInfo proposed(proposedPath);
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace quarnet::qt
