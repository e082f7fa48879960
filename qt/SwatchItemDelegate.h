#pragma once

#include <QStyledItemDelegate>

namespace quarnet::qt {

// Draws an item's colour, when it has one, as a small square in front of its
// text. Unlike an icon, the square keeps the row as high as its text and
// takes only its own width, so the narrow legend still shows every name
// whole and as many rows as before.
class SwatchItemDelegate final : public QStyledItemDelegate {
public:
    // The item data role that holds the square's QColor.
    static constexpr int colourRole = Qt::UserRole + 1;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace quarnet::qt
