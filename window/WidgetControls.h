#pragma once

#include "model/Controls.h"

#include <QHash>
#include <QString>

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

class QWidget;

namespace quarnet::window {

// The model's view of the window: each control found by its objectName, texts
// converted between the model's UTF-8 and the widgets' QString here only.
class WidgetControls final : public Controls {
public:
    // The controls by their names.
    explicit WidgetControls(const QHash<QString, QWidget*>& widgets);

    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    int selectedIndex(std::string_view control) const override;
    std::string itemText(std::string_view control, int index) const override;
    int itemValue(std::string_view control, int index) const override;
    void setItemColours(std::string_view control, std::span<const Rgb> colours) override;

    // A label's caption as shown: carriage returns, alone or before a line
    // feed, start a new line.
    static QString labelText(const std::string& text);

private:
    QWidget* find(std::string_view control) const;

    // Keyed by the UTF-8 names the model uses, so that finding a control
    // converts nothing.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>()(name); }
    };
    std::unordered_map<std::string, QWidget*, NameHash, std::equal_to<>> widgets_;
};

} // namespace quarnet::window
