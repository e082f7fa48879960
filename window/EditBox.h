#pragma once

#include "CharacterGlyphs.h"

#include <QLineEdit>

#include <memory>

namespace quarnet::window {

// The window's edit boxes. Each fills its own background, so it repaints
// alone. A result box that has neither focus nor a selection and shows a
// number or a range that fits draws the text from glyphs shaped once per
// character, which costs a fraction of an edit box's own repaint (that
// shapes the whole text again to measure it). Otherwise a box paints as any
// edit box, so typing, selecting and copying work as usual. Still a
// QLineEdit to everything that asks.
class EditBox final : public QLineEdit {
public:
    enum class Role {
        Entry,  // the user types into it
        Result, // read-only; the program writes numbers and ranges into it
    };

    explicit EditBox(Role role, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateBackground();
    bool layOutText();

    // The space an edit box leaves between its contents and the text.
    static constexpr int horizontalMargin = 2;

    const bool quick_;
    std::shared_ptr<const CharacterGlyphs> glyphs_;
    bool laid_ = false; // laidText_ and laidOut_ are up to date
    QString laidText_;
    bool laidOut_ = false;
    CharacterGlyphs::Line line_;
};

} // namespace quarnet::window
