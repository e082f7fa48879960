#include "WidgetControls.h"

#include "SwatchItemDelegate.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace quarnet::qt {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text)
{
    return text.toStdString();
}

} // namespace

QWidget* WidgetControls::find(std::string_view control) const
{
    return widgets_.value(fromUtf8(control), nullptr);
}

QString WidgetControls::labelText(const std::string& text)
{
    QString shown = fromUtf8(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

std::string WidgetControls::text(std::string_view control) const
{
    QWidget* widget = find(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return toUtf8(edit->text());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return toUtf8(label->text());
    return {};
}

void WidgetControls::setText(std::string_view control, const std::string& text)
{
    QWidget* widget = find(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(fromUtf8(text));
        edit->setCursorPosition(0); // a long text shows its beginning
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(labelText(text));
    }
}

void WidgetControls::setItems(std::string_view control, std::span<const std::string> texts,
                              std::span<const int> values)
{
    QWidget* widget = find(control);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->clear();
        for (std::size_t i = 0; i < texts.size(); ++i)
            combo->addItem(fromUtf8(texts[i]), i < values.size() ? values[i] : 0);
        combo->setCurrentIndex(-1);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->clear();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            auto* item = new QListWidgetItem(fromUtf8(texts[i]), list);
            item->setData(Qt::UserRole, i < values.size() ? values[i] : 0);
        }
    }
}

int WidgetControls::selectedIndex(std::string_view control) const
{
    QWidget* widget = find(control);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentIndex();
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        const QList<QListWidgetItem*> selected = list->selectedItems();
        return selected.isEmpty() ? -1 : list->row(selected.first());
    }
    return -1;
}

void WidgetControls::setSelectedIndex(std::string_view control, int index)
{
    QWidget* widget = find(control);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setCurrentIndex(index);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->clearSelection();
        if (QListWidgetItem* item = list->item(index))
            item->setSelected(true);
    }
}

std::string WidgetControls::itemText(std::string_view control, int index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(find(control))) {
        if (index >= 0 && index < combo->count())
            return toUtf8(combo->itemText(index));
    }
    return {};
}

int WidgetControls::itemValue(std::string_view control, int index) const
{
    if (auto* list = qobject_cast<QListWidget*>(find(control))) {
        if (QListWidgetItem* item = list->item(index))
            return item->data(Qt::UserRole).toInt();
    }
    return 0;
}

void WidgetControls::setItemColours(std::string_view control, std::span<const Rgb> colours)
{
    auto* list = qobject_cast<QListWidget*>(find(control));
    if (!list)
        return;
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        if (static_cast<std::size_t>(row) >= colours.size()) {
            item->setData(SwatchItemDelegate::colourRole, QVariant());
            continue;
        }
        const Rgb c = colours[static_cast<std::size_t>(row)];
        item->setData(SwatchItemDelegate::colourRole, QColor(c.red, c.green, c.blue));
    }
}

} // namespace quarnet::qt
