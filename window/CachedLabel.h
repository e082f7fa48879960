#pragma once

#include <QHash>
#include <QLabel>
#include <QPixmap>

namespace quarnet::window {

// A label for a text that the program rewrites often and that comes back to
// the same few texts (the terrain report). It keeps each text as painted,
// background and frame included, so showing a text again costs one copy
// instead of laying it out and drawing its glyphs; the last few dozen texts
// are kept. It fills its own background, so a new text repaints the label
// alone and not also what lies beneath it. Still a QLabel to everything that
// asks.
class CachedLabel final : public QLabel {
public:
    CachedLabel(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void paintLabel(QPainter& painter);

    QHash<QString, QPixmap> painted_;
    QSize paintedSize_;
};

} // namespace quarnet::window
