#include "window/CachedLabel.h"
#include "window/CharacterGlyphs.h"
#include "window/EditBox.h"
#include "window/EditFrameStyle.h"
#include "window/MapCanvasWidget.h"
#include "window/PicturePrefetch.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <array>

using namespace quarnet::window;

// The quick paths of the edit boxes must look exactly like an edit box's own
// painting.
class PaintingTest : public QObject {
    Q_OBJECT

private:
    // An edit box of each kind, alike in everything else.
    struct Pair {
        explicit Pair(bool result) : quick(result ? EditBox::Role::Result : EditBox::Role::Entry)
        {
            plain.setReadOnly(result);
            plain.setFont(quick.font()); // result boxes lay out without shaping
        }
        std::array<QLineEdit*, 2> both() { return {&plain, &quick}; }

        EditBox quick;
        QLineEdit plain;
    };

    static QImage paintedOffscreen(QWidget& widget)
    {
        widget.ensurePolished();
        return widget.grab().toImage();
    }

private slots:
    void quickPathLooksLikeAnEditBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<bool>("result");
        QTest::newRow("empty") << QString() << 104 << true << true;
        QTest::newRow("zero") << QStringLiteral("0") << 104 << true << true;
        QTest::newRow("decimal") << QStringLiteral("4368") << 64 << true << true;
        QTest::newRow("negative") << QStringLiteral("-2147483648") << 104 << true << true;
        QTest::newRow("hexadecimal") << QStringLiteral("1A2B3CDF") << 80 << true << true;
        QTest::newRow("kerned pairs") << QStringLiteral("FAFADACB") << 80 << true << true;
        QTest::newRow("range") << QStringLiteral("8736～8767") << 104 << true << true;
        QTest::newRow("left aligned") << QStringLiteral("4368") << 104 << false << true;
        QTest::newRow("wider than the box") << QStringLiteral("12345678901234567890") << 64 << true << true;
        QTest::newRow("other characters") << QStringLiteral("地形代码超出范围") << 104 << true << true;
        QTest::newRow("entry, decimal") << QStringLiteral("8736") << 64 << true << false;
        QTest::newRow("entry, kerned hexadecimal") << QStringLiteral("FA-AC") << 80 << true << false;
        QTest::newRow("entry, left aligned") << QStringLiteral("44") << 104 << false << false;
        QTest::newRow("entry, a path") << QStringLiteral("/home/玩家/SANGO7.MPC") << 747 << false << false;
    }
    void quickPathLooksLikeAnEditBox()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(bool, centred);
        QFETCH(bool, result);
        const Qt::Alignment alignment = centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;

        Pair boxes(result);
        for (QLineEdit* edit : boxes.both()) {
            edit->setFixedSize(width, 24);
            edit->setAlignment(alignment);
            edit->setText(text);
            edit->setCursorPosition(0);
        }
        // Twice: the second paint comes from what the first kept.
        QCOMPARE(paintedOffscreen(boxes.quick), paintedOffscreen(boxes.plain));
        QCOMPARE(paintedOffscreen(boxes.quick), paintedOffscreen(boxes.plain));
    }

    // A window brush that is not one plain colour is filled in by the box
    // before its panel, also when it arrives after the box was made.
    void patternedWindowStillShowsBeneath()
    {
        Pair boxes(true);
        QPalette patterned = boxes.quick.palette();
        patterned.setBrush(QPalette::Window, QBrush(Qt::darkGreen, Qt::Dense4Pattern));
        for (QLineEdit* edit : boxes.both()) {
            edit->setFixedSize(104, 24);
            edit->setText(QStringLiteral("4368"));
            edit->setPalette(patterned);
        }
        QCOMPARE(paintedOffscreen(boxes.quick), paintedOffscreen(boxes.plain));
    }

    // A placeholder is the edit box's own to show.
    void placeholderShowsAsInAnEditBox()
    {
        Pair boxes(true);
        for (QLineEdit* edit : boxes.both()) {
            edit->setFixedSize(104, 24);
            edit->setPlaceholderText(QStringLiteral("123"));
        }
        QCOMPARE(paintedOffscreen(boxes.quick), paintedOffscreen(boxes.plain));
    }

    void resultTextsSkipShaping()
    {
        const auto glyphs = CharacterGlyphs::forFont(EditBox(EditBox::Role::Result).font());
        if (!glyphs->usable())
            QSKIP("this font shapes digits differently in context; result boxes paint as edit boxes");
        CharacterGlyphs::Line line;
        QVERIFY(glyphs->layOut(QStringLiteral("-8736～8767FA"), line));
        QVERIFY(!glyphs->layOut(QStringLiteral("87x"), line));
    }

    void keptPanelsLookLikeDrawnOnes_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("width");
        QTest::newRow("editable") << false << true << 104;
        QTest::newRow("read-only") << true << true << 104;
        QTest::newRow("disabled") << false << false << 104;
        QTest::newRow("status line width") << false << true << 747;
    }
    void keptPanelsLookLikeDrawnOnes()
    {
        QFETCH(bool, readOnly);
        QFETCH(bool, enabled);
        QFETCH(int, width);
        QLineEdit drawn;
        QLineEdit kept;
        kept.setStyle(EditFrameStyle::shared());
        for (QLineEdit* edit : {&drawn, &kept}) {
            edit->setFixedSize(width, 24);
            edit->setReadOnly(readOnly);
            edit->setEnabled(enabled);
            edit->setText(QStringLiteral("123"));
        }
        QCOMPARE(paintedOffscreen(kept), paintedOffscreen(drawn));
        QCOMPARE(paintedOffscreen(kept), paintedOffscreen(drawn));

        // A new size is a new panel, not the old one stretched or cut.
        drawn.setFixedSize(width / 2, 30);
        kept.setFixedSize(width / 2, 30);
        QCOMPARE(paintedOffscreen(kept), paintedOffscreen(drawn));
    }

    // The terrain report keeps each text as painted: a text shown again
    // paints as it did, and a new palette is not hidden by a kept picture.
    void keptLabelTextsPaintAsNew()
    {
        const QString first = QStringLiteral("当前地形:草原\n\n地形代码:03");
        const QString second = QStringLiteral("当前地形:丘陵\n\n地形代码:0A");
        CachedLabel label(first, nullptr);
        label.setWordWrap(true);
        label.setFixedSize(95, 37);
        const QImage firstPainted = paintedOffscreen(label);
        label.setText(second);
        const QImage secondPainted = paintedOffscreen(label);
        QVERIFY(secondPainted != firstPainted);
        label.setText(first);
        QCOMPARE(paintedOffscreen(label), firstPainted);

        QPalette red = label.palette();
        red.setColor(QPalette::Window, Qt::red);
        label.setPalette(red);
        CachedLabel fresh(first, nullptr);
        fresh.setWordWrap(true);
        fresh.setFixedSize(95, 37);
        fresh.setPalette(red);
        QCOMPARE(paintedOffscreen(label), paintedOffscreen(fresh));
        QVERIFY(paintedOffscreen(label) != firstPainted);
    }

    // A prefetched picture is the one the canvas would load itself, and only
    // for the path it was started with.
    void prefetchedPictureIsTheLoadedOne()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.jpg"));
        const QString second = dir.filePath(QStringLiteral("second.jpg"));
        QImage page(384, 240, QImage::Format_RGB32);
        page.fill(QColor(200, 40, 40));
        QVERIFY(page.save(first, "JPEG", 100));
        page.fill(QColor(40, 200, 40));
        QVERIFY(page.save(second, "JPEG", 100));
        const QImage direct = decodePicture(first.toStdString());
        QVERIFY(!direct.isNull());

        PicturePrefetch prefetch(first.toStdString());
        QVERIFY(!prefetch.take(second.toStdString()));
        QCOMPARE(prefetch.take(first.toStdString()).value(), direct);
        QVERIFY(!prefetch.take(first.toStdString())); // taken once

        // Through the canvas: another path loads that path's picture, and a
        // missing picture loads as none.
        MapCanvasWidget canvas;
        canvas.usePrefetch(std::make_unique<PicturePrefetch>(first.toStdString()));
        const int loaded = canvas.loadPicture(second.toStdString());
        QVERIFY(loaded != 0);
        canvas.drawPicture(loaded, 0, 0);
        QCOMPARE(QColor(canvas.surface().pixel(5, 5)).green() > 150, true);
        const std::string missing = dir.filePath(QStringLiteral("missing.jpg")).toStdString();
        canvas.usePrefetch(std::make_unique<PicturePrefetch>(missing));
        QCOMPARE(canvas.loadPicture(missing), 0);
    }

    // The canvas skips drawing a picture again over itself; a marker drawn
    // in between must still be drawn over.
    void pictureDrawnAgainCoversAMarker()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.jpg"));
        QImage page(384, 240, QImage::Format_RGB32);
        page.fill(QColor(40, 90, 160));
        QVERIFY(page.save(path, "JPEG", 100));

        MapCanvasWidget canvas;
        const int picture = canvas.loadPicture(path.toStdString());
        QVERIFY(picture != 0);
        canvas.drawPicture(picture, 0, 0);
        const QRgb clean = canvas.surface().pixel(10, 10);
        canvas.setDrawColour({0, 255, 0});
        canvas.drawRectangle(10, 10, 13, 13);
        QCOMPARE(canvas.surface().pixel(10, 10), qRgb(0, 255, 0));
        canvas.drawPicture(picture, 0, 0);
        QCOMPARE(canvas.surface().pixel(10, 10), clean);
        QCOMPARE(canvas.grab().toImage().pixel(10, 10), clean);
    }
};

QTEST_MAIN(PaintingTest)
#include "PaintingTest.moc"
