#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRawFont>
#include <QString>

#include <memory>
#include <vector>

namespace quarnet::window {

// The glyphs of the characters that result texts are made of (decimal and
// hexadecimal digits, the minus sign and the range's tilde), shaped once, so
// that a text made only of them is laid out by adding up advances and pair
// adjustments instead of being shaped again at every paint. The table is
// taken from shaping every pair of characters and is used only when a second
// shaping in another order places every glyph where the table says;
// otherwise every text is refused and the caller shapes as usual.
class CharacterGlyphs {
public:
    // One line of text, its baseline at y = 0 and its start at x = 0.
    struct Line {
        QList<QGlyphRun> runs;
        qreal width = 0;
    };

    // The table for this font, shared while anyone holds it.
    static std::shared_ptr<const CharacterGlyphs> forFont(const QFont& font);

    explicit CharacterGlyphs(const QFont& font);

    // Whether every character of text is one the tables cover; making a table
    // costs about a millisecond, so this is asked first.
    static bool covers(const QString& text);

    // Whether texts can be laid out from the table.
    bool usable() const { return usable_; }

    // Lays out text; false when a character is not covered or the table is
    // not usable.
    bool layOut(const QString& text, Line& line) const;

private:
    struct Glyph {
        int font = -1; // index into fonts_
        quint32 index = 0;
        qreal advance = 0;
    };

    int indexOf(QChar c) const;
    bool shapeAlone(const QFont& font);
    std::vector<qreal> placesOf(const QString& text, const QList<QGlyphRun>& runs) const;
    bool learnPairs(const QFont& font);
    bool matches(const QFont& font, const QString& text) const;
    bool addUp(const QString& text, Line& line) const;

    std::vector<Glyph> glyphs_; // one per character covered
    std::vector<qreal> pairAdjustment_; // [first * count + second]
    std::vector<QRawFont> fonts_;
    bool usable_ = false;
};

} // namespace quarnet::window
