#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace quarnet {
class MapEditor;
}

namespace quarnet::qt {

// Watches the main window and its controls for what concerns the whole
// window: the keys of the key table, wherever the focus is but in an edit
// box the user can type into, and a file dropped anywhere on the window.
class WindowInputFilter final : public QObject {
public:
    WindowInputFilter(MapEditor& editor, std::function<void(const QString& path)> openDropped, QObject* parent);

    // Watches a widget of the window; every control and the window itself.
    void watch(QObject* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MapEditor& editor_;
    std::function<void(const QString& path)> openDropped_;
};

} // namespace quarnet::qt
