#include "CharacterGlyphs.h"

#include <QHash>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace quarnet::window {

namespace {

const QString& covered()
{
    static const QString characters = QStringLiteral("0123456789ABCDEF-～");
    return characters;
}

// Positions from two layouts must agree to well under a device pixel.
constexpr qreal tolerance = 1.0 / 256;

struct Shaped {
    QList<QGlyphRun> runs;
    qreal width = 0;
    qreal baseline = 0;
};

Shaped shape(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    return {layout.glyphRuns(), line.naturalTextWidth(), line.ascent()};
}

// Every ordered pair of covered characters, one after another; reversed,
// each pair still appears, but among other neighbours.
QString allPairs(bool reversed)
{
    QString pairs;
    const QString& c = covered();
    for (qsizetype i = 0; i < c.size(); ++i) {
        for (qsizetype j = 0; j < c.size(); ++j) {
            pairs += c[reversed ? c.size() - 1 - i : i];
            pairs += c[reversed ? c.size() - 1 - j : j];
        }
    }
    return pairs;
}

} // namespace

bool CharacterGlyphs::covers(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return covered().contains(c); });
}

std::shared_ptr<const CharacterGlyphs> CharacterGlyphs::forFont(const QFont& font)
{
    static QHash<QFont, std::weak_ptr<const CharacterGlyphs>> tables;
    if (auto table = tables.value(font).lock())
        return table;
    auto table = std::make_shared<const CharacterGlyphs>(font);
    tables.insert(font, table);
    return table;
}

CharacterGlyphs::CharacterGlyphs(const QFont& font)
{
    usable_ = shapeAlone(font) && learnPairs(font) && matches(font, allPairs(true));
}

int CharacterGlyphs::indexOf(QChar c) const
{
    return int(covered().indexOf(c));
}

bool CharacterGlyphs::shapeAlone(const QFont& font)
{
    for (const QChar c : covered()) {
        const Shaped alone = shape(QString(c), font);
        if (alone.runs.size() != 1 || alone.runs.first().glyphIndexes().size() != 1)
            return false;
        const QGlyphRun& run = alone.runs.first();
        auto known = std::find(fonts_.begin(), fonts_.end(), run.rawFont());
        if (known == fonts_.end())
            known = fonts_.insert(fonts_.end(), run.rawFont());
        glyphs_.push_back({int(known - fonts_.begin()), run.glyphIndexes().first(), alone.width});
    }
    return true;
}

std::vector<qreal> CharacterGlyphs::placesOf(const QString& text, const QList<QGlyphRun>& runs) const
{
    // A layout hands out one run per font, its glyphs in text order; each
    // must be the glyph its character has alone.
    std::vector<qreal> x(std::size_t(text.size()), 0);
    qsizetype placed = 0;
    for (const QGlyphRun& run : runs) {
        const auto font = std::find(fonts_.begin(), fonts_.end(), run.rawFont());
        if (font == fonts_.end())
            return {};
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        qsizetype g = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const Glyph& glyph = glyphs_[std::size_t(indexOf(text[i]))];
            if (glyph.font != int(font - fonts_.begin()))
                continue;
            if (g >= indexes.size() || indexes[g] != glyph.index)
                return {};
            x[std::size_t(i)] = positions[g].x();
            ++g;
        }
        if (g != indexes.size())
            return {};
        placed += g;
    }
    if (placed != text.size())
        return {};
    return x;
}

bool CharacterGlyphs::learnPairs(const QFont& font)
{
    const QString pairs = allPairs(false);
    const Shaped shaped = shape(pairs, font);
    const std::vector<qreal> x = placesOf(pairs, shaped.runs);
    if (x.empty())
        return false;
    const std::size_t count = glyphs_.size();
    pairAdjustment_.assign(count * count, 0);
    std::vector<bool> seen(count * count, false);
    for (std::size_t i = 0; i + 1 < x.size(); ++i) {
        const auto first = std::size_t(indexOf(pairs[qsizetype(i)]));
        const auto second = std::size_t(indexOf(pairs[qsizetype(i + 1)]));
        const qreal adjustment = x[i + 1] - x[i] - glyphs_[first].advance;
        qreal& known = pairAdjustment_[first * count + second];
        if (seen[first * count + second] && std::abs(known - adjustment) > tolerance)
            return false;
        known = adjustment;
        seen[first * count + second] = true;
    }
    return true;
}

bool CharacterGlyphs::matches(const QFont& font, const QString& text) const
{
    const Shaped shaped = shape(text, font);
    Line added;
    if (!addUp(text, added) || std::abs(shaped.width - added.width) > tolerance
        || shaped.runs.size() != added.runs.size())
        return false;
    for (const QGlyphRun& a : shaped.runs) {
        const auto same = std::find_if(added.runs.cbegin(), added.runs.cend(),
                                       [&](const QGlyphRun& b) { return b.rawFont() == a.rawFont(); });
        if (same == added.runs.cend() || a.glyphIndexes() != same->glyphIndexes())
            return false;
        const QList<QPointF> ap = a.positions();
        const QList<QPointF> bp = same->positions();
        for (qsizetype i = 0; i < ap.size(); ++i) {
            if (std::abs(ap[i].x() - bp[i].x()) > tolerance
                || std::abs(ap[i].y() - shaped.baseline - bp[i].y()) > tolerance)
                return false;
        }
    }
    return true;
}

bool CharacterGlyphs::layOut(const QString& text, Line& line) const
{
    return usable_ && addUp(text, line);
}

bool CharacterGlyphs::addUp(const QString& text, Line& line) const
{
    // One run per font, as a text layout gives them.
    std::vector<QList<quint32>> indexes(fonts_.size());
    std::vector<QList<QPointF>> positions(fonts_.size());
    std::vector<int> order;
    const std::size_t count = glyphs_.size();
    qreal x = 0;
    int previous = -1;
    for (const QChar c : text) {
        const int at = indexOf(c);
        if (at < 0)
            return false;
        const Glyph& glyph = glyphs_[std::size_t(at)];
        if (previous >= 0)
            x += pairAdjustment_[std::size_t(previous) * count + std::size_t(at)];
        const auto f = std::size_t(glyph.font);
        if (indexes[f].isEmpty())
            order.push_back(glyph.font);
        indexes[f].append(glyph.index);
        positions[f].append(QPointF(x, 0));
        x += glyph.advance;
        previous = at;
    }
    line = Line();
    line.width = x;
    for (const int f : order) {
        QList<QPointF>& at = positions[std::size_t(f)];
        QGlyphRun run;
        run.setRawFont(fonts_[std::size_t(f)]);
        run.setGlyphIndexes(indexes[std::size_t(f)]);
        run.setPositions(at);
        line.runs.append(run);
    }
    return true;
}

} // namespace quarnet::window
