#include "qt/MapCanvasWidget.h"
#include "qt/PicturePrefetch.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>


using namespace quarnet::qt;

// The map canvas: its picture prefetch and what it draws over.
class PaintingTest : public QObject {
    Q_OBJECT

private slots:
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
        MapCanvasWidget canvas(QSize(384, 240));
        canvas.usePrefetch(std::make_unique<PicturePrefetch>(first.toStdString()));
        const int loaded = canvas.loadPicture(second.toStdString());
        QVERIFY(loaded != 0);
        canvas.drawPicture(loaded, 0, 0);
        QCOMPARE(QColor(canvas.surface().pixel(5, 5)).green() > 150, true);
        const std::string missing = dir.filePath(QStringLiteral("missing.jpg")).toStdString();
        canvas.usePrefetch(std::make_unique<PicturePrefetch>(missing));
        QCOMPARE(canvas.loadPicture(missing), 0);
    }

    // A picture drawn again at the same place covers a marker drawn in between.
    void pictureDrawnAgainCoversAMarker()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.jpg"));
        QImage page(384, 240, QImage::Format_RGB32);
        page.fill(QColor(40, 90, 160));
        QVERIFY(page.save(path, "JPEG", 100));

        MapCanvasWidget canvas(QSize(384, 240));
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
