#include "EditBox.h"

#include "EditFrameStyle.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace quarnet::window {

EditBox::EditBox(Role role, QWidget* parent) : QLineEdit(parent), quick_(role == Role::Result)
{
    setStyle(EditFrameStyle::shared());
    setBackgroundRole(QPalette::Window);
    updateBackground();
    if (role == Role::Result) {
        setReadOnly(true);
        // Numbers and ranges need no shaping, and every new result is laid
        // out at once by the edit box itself: half the cost without it.
        QFont unshaped;
        unshaped.setStyleStrategy(QFont::PreferNoShaping);
        setFont(unshaped);
    }
}

void EditBox::updateBackground()
{
    // An opaque box repaints alone, not also the window beneath its rounded
    // corners. On a plain window colour the panel style paints the corners
    // itself; on anything else the box fills its background first.
    const bool plain = EditFrameStyle::plainWindow(palette());
    setAttribute(Qt::WA_OpaquePaintEvent, plain);
    setAutoFillBackground(!plain);
}

bool EditBox::layOutText()
{
    if (laid_ && laidText_ == text())
        return laidOut_;
    laid_ = true;
    laidText_ = text();
    if (laidText_.isEmpty()) {
        line_ = CharacterGlyphs::Line();
        laidOut_ = true;
    } else if (!CharacterGlyphs::covers(laidText_)) {
        laidOut_ = false; // and no table is made for it
    } else {
        if (!glyphs_)
            glyphs_ = CharacterGlyphs::forFont(font());
        laidOut_ = glyphs_->layOut(laidText_, line_);
    }
    return laidOut_;
}

void EditBox::paintEvent(QPaintEvent* event)
{
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    if (!quick_ || hasFocus() || hasSelectedText() || !(align & Qt::AlignVCenter)
        || (text().isEmpty() && !placeholderText().isEmpty()) || !layOutText()) {
        QLineEdit::paintEvent(event);
        return;
    }
    // The text's place, worked out as an edit box works it out.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents =
        style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(textMargins());
    const QFontMetrics metrics = fontMetrics();
    const int top = contents.y() + (contents.height() - metrics.height() + 1) / 2;
    const QRect lineRect(contents.x() + horizontalMargin, top, contents.width() - 2 * horizontalMargin,
                         metrics.height());
    const int widthUsed = qRound(line_.width) + 1;
    if (widthUsed > lineRect.width()) {
        // Scrolled to the cursor: the edit box's own business.
        QLineEdit::paintEvent(event);
        return;
    }
    int scroll = 0;
    if (align & Qt::AlignRight)
        scroll = widthUsed - lineRect.width() + 1;
    else if (align & Qt::AlignHCenter)
        scroll = (widthUsed - lineRect.width()) / 2;

    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    painter.setClipRect(contents);
    painter.setPen(palette().color(QPalette::Text));
    const QPointF baseline(lineRect.x() - scroll, top + metrics.ascent());
    for (const QGlyphRun& run : line_.runs)
        painter.drawGlyphRun(baseline, run);
}

void EditBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        glyphs_.reset();
        laid_ = false;
    }
    if (event->type() == QEvent::PaletteChange)
        updateBackground();
    QLineEdit::changeEvent(event);
}

} // namespace quarnet::window
