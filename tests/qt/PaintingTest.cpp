#include "qt/ImageReaderDecoder.h"
#include "qt/MapCanvasWidget.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>


using namespace quarnet;
using namespace quarnet::qt;

namespace {

// The decode the window would start for the picture at utf8Path.
std::unique_ptr<PictureDecode> decodeOf(const std::string& utf8Path)
{
    return std::make_unique<PictureDecode>(utf8Path, std::make_unique<ImageReaderDecoder>());
}

} // namespace

// The map canvas: its picture prefetch and what it draws over.
class PaintingTest : public QObject {
    Q_OBJECT

private slots:
    // A prepared decode is the picture the canvas would load itself, and
    // only for the path it was started with; a missing picture loads as none.
    void preparedDecodeIsTheLoadedOne()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.jpg"));
        const QString second = dir.filePath(QStringLiteral("second.jpg"));
        QImage page(384, 240, QImage::Format_RGB32);
        page.fill(QColor(200, 40, 40));
        QVERIFY(page.save(first, "JPEG", 100));
        page.fill(QColor(40, 200, 40));
        QVERIFY(page.save(second, "JPEG", 100));

        MapCanvasWidget canvas(QSize(384, 240));
        canvas.pictures().useDecode(decodeOf(first.toStdString()));
        const int loaded = canvas.loadPicture(first.toStdString());
        QVERIFY(loaded != 0);
        QVERIFY(canvas.drawPicture(loaded, 0, 0));
        QCOMPARE(canvas.surface(), QImage(first).convertToFormat(QImage::Format_RGB32));

        canvas.pictures().useDecode(decodeOf(first.toStdString()));
        const int other = canvas.loadPicture(second.toStdString());
        QVERIFY(other != 0);
        QVERIFY(canvas.drawPicture(other, 0, 0));
        QCOMPARE(QColor(canvas.surface().pixel(5, 5)).green() > 150, true);
        const std::string missing = dir.filePath(QStringLiteral("missing.jpg")).toStdString();
        canvas.pictures().useDecode(decodeOf(missing));
        QCOMPARE(canvas.loadPicture(missing), 0);
        QVERIFY(canvas.drawPicture(0, 0, 0)); // none: nothing to draw
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
        QVERIFY(canvas.drawPicture(picture, 0, 0));
        const QRgb clean = canvas.surface().pixel(10, 10);
        canvas.setDrawColour({0, 255, 0});
        canvas.drawRectangle(10, 10, 13, 13);
        QCOMPARE(canvas.surface().pixel(10, 10), qRgb(0, 255, 0));
        QVERIFY(canvas.drawPicture(picture, 0, 0));
        QCOMPARE(canvas.surface().pixel(10, 10), clean);
        QCOMPARE(canvas.grab().toImage().pixel(10, 10), clean);
    }
};

QTEST_MAIN(PaintingTest)
#include "PaintingTest.moc"
