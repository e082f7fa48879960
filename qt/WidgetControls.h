#pragma once

#include "editor/Controls.h"

#include <QHash>
#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace quarnet::qt {

// The model's view of the window: each control found by its objectName, texts
// converted between the model's UTF-8 and the widgets' QString here only.
class WidgetControls final : public Controls {
public:
    // The controls by their names.
    explicit WidgetControls(QHash<QString, QWidget*> widgets) : widgets_(std::move(widgets)) {}

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    void setItems(std::string_view control, std::span<const std::string> texts, std::span<const int> values) override;
    int selectedIndex(std::string_view control) const override;
    void setSelectedIndex(std::string_view control, int index) override;
    std::string itemText(std::string_view control, int index) const override;
    int itemValue(std::string_view control, int index) const override;
    void setItemColours(std::string_view control, std::span<const Rgb> colours) override;

    // A label's caption as shown: carriage returns, alone or before a line
    // feed, start a new line.
    static QString labelText(const std::string& text);

private:
    QWidget* find(std::string_view control) const;

    QHash<QString, QWidget*> widgets_;
};

} // namespace quarnet::qt
