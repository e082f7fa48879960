#pragma once

#include <QHash>
#include <QLabel>
#include <QStaticText>

namespace quarnet::window {

// A label for a text that the program rewrites often and that comes back to
// the same few texts (the terrain report). It keeps its texts laid out, so a
// repaint draws glyphs and does not lay the text out again, as QLabel does
// for every paint; the last few hundred layouts are kept. It fills its own
// background, so a new text repaints the label alone and not also what lies
// beneath it. Still a QLabel to everything that asks.
class CachedLabel final : public QLabel {
public:
    CachedLabel(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const QStaticText& laidOut(qreal width);

    QHash<QString, QStaticText> layouts_;
    qreal layoutWidth_ = -2;
};

} // namespace quarnet::window
