#pragma once

#include <QLineEdit>
#include <QPixmap>
#include <QStaticText>

namespace quarnet::window {

// A read-only edit box that shows results. While it has neither focus nor a
// selection it paints itself from a cached empty frame and a pre-laid-out
// text, which costs a fraction of a full edit box repaint; with focus or a
// selection it paints as any edit box, so selecting and copying work as usual.
// Still a QLineEdit to everything that asks.
class ResultBox final : public QLineEdit {
public:
    explicit ResultBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap frame_;
    QStaticText text_;
};

} // namespace quarnet::window
