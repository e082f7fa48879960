#include "SwatchItemDelegate.h"

#include <QPainter>

namespace quarnet::qt {

namespace {

constexpr int swatchSize = 8;
constexpr int swatchGap = 2; // between the item's edge, the square and the text

int swatchWidth(const QModelIndex& index)
{
    return index.data(SwatchItemDelegate::colourRole).isValid() ? swatchSize + swatchGap : 0;
}

} // namespace

void SwatchItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QVariant colour = index.data(colourRole);
    if (!colour.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The selection and focus span the whole row; the text moves right.
    QStyleOptionViewItem shifted = option;
    shifted.rect.adjust(swatchWidth(index), 0, 0, 0);
    QStyledItemDelegate::paint(painter, shifted, index);
    if (option.state & QStyle::State_Selected) {
        const QRect front(option.rect.left(), option.rect.top(), swatchWidth(index), option.rect.height());
        painter->fillRect(front, option.palette.brush(QPalette::Highlight));
    }
    const QRect square(option.rect.left() + swatchGap, option.rect.center().y() - swatchSize / 2 + 1, swatchSize,
                       swatchSize);
    painter->fillRect(square, colour.value<QColor>());
    // A thin outline keeps a snow-white square visible on the white list.
    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawRect(square.adjusted(0, 0, -1, -1));
}

QSize SwatchItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QStyledItemDelegate::sizeHint(option, index) + QSize(swatchWidth(index), 0);
}

} // namespace quarnet::qt
