#include "WindowInputFilter.h"

#include "OpeningFromOutside.h"
#include "editor/EventTable.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

namespace quarnet::qt {

namespace {

// An edit box that takes typing keeps Ctrl+Z and its kin for its own text,
// also keys it does not use itself, which would otherwise reach the window.
bool focusTypesText()
{
    const auto* edit = qobject_cast<const QLineEdit*>(QApplication::focusWidget());
    return edit && !edit->isReadOnly();
}

const KeyBinding* bindingOf(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers held =
        key.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool shift = held == (Qt::ControlModifier | Qt::ShiftModifier);
    if (held != Qt::ControlModifier && !shift)
        return nullptr;
    if (key.key() < Qt::Key_A || key.key() > Qt::Key_Z)
        return nullptr;
    return findKey(static_cast<char>('A' + (key.key() - Qt::Key_A)), shift);
}

} // namespace

WindowInputFilter::WindowInputFilter(MapEditor& editor, std::function<void(const QString& path)> openDropped,
                                     QObject* parent)
    : QObject(parent), editor_(editor), openDropped_(std::move(openDropped))
{
}

void WindowInputFilter::watch(QObject* widget)
{
    widget->installEventFilter(this);
}

bool WindowInputFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const KeyBinding* binding = bindingOf(*static_cast<QKeyEvent*>(event));
        if (!binding || focusTypesText())
            break;
        binding->run(editor_);
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // Taken before an edit box would take the file's name as text.
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!drag->mimeData() || !droppedMapPath(*drag->mimeData()))
            break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<QString> path = drop->mimeData() ? droppedMapPath(*drop->mimeData()) : std::nullopt;
        if (!path)
            break;
        drop->acceptProposedAction();
        openDropped_(*path);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quarnet::qt
