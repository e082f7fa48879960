#include "WindowFixture.h"

#include "mapfile/MapGeometry.h"
#include "qt/ImageReaderDecoder.h"
#include "qt/SwatchItemDelegate.h"
#include "mapfile/TerrainPalette.h"
#include "support/MapFixtures.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <filesystem>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

constexpr int pageColumns = 6;
constexpr int pageRows = 7;
// What "at once" means for closing the window during the decode: well
// below what decoding the rest takes, with room for a loaded machine.
constexpr qint64 closingBoundMs = 300;

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A JPEG cut off at a fraction of its length.
QByteArray truncated(const QByteArray& jpeg, double kept)
{
    return jpeg.left(qsizetype(double(jpeg.size()) * kept));
}

// A JPEG with a marker of no known kind amid its image data, at a fraction
// of its length: the decoder gives grey rows from there and refuses the
// picture at its end.
QByteArray corrupt(const QByteArray& jpeg, double at)
{
    QByteArray bytes = jpeg;
    const qsizetype from = qsizetype(double(bytes.size()) * at);
    bytes[from] = char(0xFF);
    bytes[from + 1] = char(0x24);
    return bytes;
}

// The part of page (column, row) that the picture covers, from the canvas,
// against the same part of the whole picture; empty when they are equal.
QString pageDifference(const QImage& canvas, const QImage& picture, int column, int row)
{
    const QRect page(column * geometry::pageWidth, row * geometry::pageHeight, geometry::pageWidth,
                     geometry::pageHeight);
    const QRect covered = page & picture.rect();
    for (int y = covered.top(); y <= covered.bottom(); ++y)
        for (int x = covered.left(); x <= covered.right(); ++x)
            if (canvas.pixel(x - page.left(), y - page.top()) != picture.pixel(x, y))
                return QStringLiteral("page (%1, %2) differs at picture pixel (%3, %4): %5 instead of %6")
                    .arg(column).arg(row).arg(x).arg(y)
                    .arg(canvas.pixel(x - page.left(), y - page.top()), 8, 16)
                    .arg(picture.pixel(x, y), 8, 16);
    return {};
}

} // namespace

// The map picture decodes its first page first and the rest later: what is
// drawn is always the picture's own pixels, and a picture that fails past
// its first page behaves as one that failed to load.
class PictureLoadingTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;
    QImage picture_; // the textured picture beside the tests, decoded whole

    // A window whose picture's rest decodes only when a page needs it.
    qt::MainWindow& makeHeldWindow()
    {
        return harness_.make([](qt::MainWindow& window) { window.canvas().pictures().holdRests(true); });
    }

    // Replaces the picture beside the tests for one test.
    bool putPicture(const QByteArray& bytes) { return writeBytes(picturePathBesideTests(), bytes); }

private slots:
    void initTestCase()
    {
        QVERIFY(writeTexturedPicture(picturePathBesideTests()));
        picture_ = wholePicture(picturePathBesideTests());
        QCOMPARE(picture_.size(), QSize(2184, 1548));
    }

    void init() { QVERIFY(writeTexturedPicture(picturePathBesideTests())); }

    void cleanupTestCase()
    {
        harness_.reset();
        QFile::remove(picturePathBesideTests());
    }

    // Each page, reached through the calculator, equals the picture; the
    // first page moves happen before the rest has decoded (held) or while it
    // decodes (started at the first paint).
    void everyPageIsThePicture_data()
    {
        QTest::addColumn<bool>("held");
        QTest::newRow("rest held back until a page needs it") << true;
        QTest::newRow("rest decoding from the first paint") << false;
    }

    void everyPageIsThePicture()
    {
        QFETCH(bool, held);
        qt::MainWindow& window = held ? makeHeldWindow() : harness_.make();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int picture = window.editor().state().view.mapPicture;
        QVERIFY(picture != 0);
        QCOMPARE(pageDifference(window.canvas().grab().toImage(), picture_, 0, 0), QString());
        if (held)
            QVERIFY(!window.canvas().pictures().isWhole(picture));
        for (int row = pageRows - 1; row >= 0; --row) {
            for (int column = 0; column < pageColumns; ++column) {
                const QByteArray x = QByteArray::number(column * geometry::pageWidth * geometry::pictureScale);
                const QByteArray y = QByteArray::number(row * geometry::pageHeight * geometry::pictureScale);
                harness_.calculate(x.constData(), y.constData());
                QCOMPARE(window.editor().state().view.viewPageColumn, column);
                QCOMPARE(window.editor().state().view.viewPageRow, row);
                QCOMPARE(pageDifference(window.canvas().surface(), picture_, column, row), QString());
            }
        }
        QVERIFY(window.canvas().pictures().isWhole(picture));
        QCOMPARE(window.editor().state().view.mapPicture, picture);
        // What reached the screen is the surface.
        QCOMPARE(pageDifference(window.canvas().grab().toImage(), picture_, pageColumns - 1, 0), QString());
    }

    // A picture that fails past its first page: the first page shows it,
    // then, once the failure is known, the canvas shows what a picture that
    // failed to load shows: the background, and the terrain with a file.
    void pictureFailingPastItsFirstPage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("foundByAPageMove");
        const QByteArray jpeg = fileBytes(picturePathBesideTests());
        for (const bool move : {false, true}) {
            const char* when = move ? "found by a page move" : "found while idle";
            QTest::addRow("truncated, %s", when) << truncated(jpeg, 0.6) << move;
            QTest::addRow("corrupt, %s", when) << corrupt(jpeg, 0.6) << move;
        }
    }

    void pictureFailingPastItsFirstPage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, foundByAPageMove);
        QVERIFY(putPicture(bytes));
        qt::MainWindow& window = foundByAPageMove ? makeHeldWindow() : harness_.make();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const Rgb background = terrain::canvasBackground;
        const QRgb backgroundPixel = qRgb(background.red, background.green, background.blue);
        TempDir dir;
        const std::string map = dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {3}; }));
        if (foundByAPageMove) {
            QVERIFY(window.editor().state().view.mapPicture != 0);
            QCOMPARE(pageDifference(window.canvas().surface(), picture_, 0, 0), QString());
            harness_.answerNextOpenDialog(QString::fromStdString(map));
            click(window, "打开文件按钮");
            harness_.calculate("3072", "1920"); // page (1, 1)
            QCOMPARE(window.editor().state().view.mapPicture, 0);
            const Rgb grass = terrain::colour(3);
            QCOMPARE(window.canvas().surface().pixel(10, 10), qRgb(grass.red, grass.green, grass.blue));
            const QVariant swatch = findControl<QListWidget>(window, "列表框1")->item(0)->data(qt::SwatchItemDelegate::colourRole);
            QCOMPARE(swatch.value<QColor>(), QColor(terrain::colour(1).red, terrain::colour(1).green, terrain::colour(1).blue));
        } else {
            QTRY_COMPARE(window.editor().state().view.mapPicture, 0);
            QCOMPARE(window.canvas().surface().pixel(10, 10), backgroundPixel);
            harness_.calculate("3072", "1920");
            QCOMPARE(window.canvas().surface().pixel(10, 10), backgroundPixel);
        }
        QCOMPARE(textOf(window, "当前区块序号编辑框"), QStringLiteral("32857"));
        QVERIFY(!QApplication::activeModalWidget());
        click(window, "关闭退出按钮");
        QCOMPARE(harness_.exitCode, std::optional<int>(0));
    }

    // Closing while the rest is held back or decoding ends at once with 0:
    // the worker is stopped, not waited for to the end. The rest's decode is
    // held part way, so it is surely under way when the window closes; a
    // stop that waited for it would never end.
    void closingDuringTheDecode_data()
    {
        QTest::addColumn<bool>("started");
        QTest::newRow("rest not started") << false;
        QTest::newRow("rest decoding") << true;
    }

    void closingDuringTheDecode()
    {
        QFETCH(bool, started);
        qt::MainWindow& window = makeHeldWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        LoadedPictures& pictures = window.canvas().pictures();
        const int picture = window.editor().state().view.mapPicture;
        PictureDecode* decode = pictures.find(picture);
        QVERIFY(decode);
        if (started) {
            decode->holdRestPartWay();
            pictures.holdRests(false);
            QTRY_VERIFY(decode->restHeldPartWay());
        }
        QElapsedTimer closing;
        closing.start();
        window.close();
        const qint64 took = closing.elapsed();
        QVERIFY2(took < closingBoundMs, qPrintable(QStringLiteral("closing took %1 ms").arg(took)));
        QVERIFY(!pictures.find(picture)); // its worker ended
        QCOMPARE(harness_.exitCode, std::optional<int>(0));
        harness_.reset();
    }

    // The canvas alone: a file that ends inside the first band fails the load,
    // one past it fails the first drawing that needs the rest, which draws
    // nothing and answers false, and the broken picture's number reaches
    // the handler between two events.
    void canvasWithBrokenPictures()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("picture.jpg"));
        QVERIFY(writeTexturedPicture(path));
        const QByteArray jpeg = fileBytes(path);
        QVERIFY(writeBytes(path, truncated(jpeg, 0.05)));
        QCOMPARE(qt::MapCanvasWidget(QSize(384, 240)).loadPicture(path.toStdString()), 0);
        // The stray marker makes a whole decode fail.
        QVERIFY(writeBytes(path, corrupt(jpeg, 0.6)));
        QImage whole;
        QVERIFY(!QImageReader(path, "jpeg").read(&whole));
        for (const QByteArray& late : {truncated(jpeg, 0.6), corrupt(jpeg, 0.6)}) {
            QVERIFY(writeBytes(path, late));
            qt::MapCanvasWidget canvas(QSize(384, 240));
            QList<int> told;
            canvas.setPictureBrokenHandler([&told](int picture) { told.append(picture); });
            canvas.pictures().holdRests(true);
            const int picture = canvas.loadPicture(path.toStdString());
            QVERIFY(picture != 0);
            QVERIFY(canvas.drawPicture(picture, -384, 0)); // within the first band
            const QImage before = canvas.surface();
            QVERIFY(!canvas.drawPicture(picture, 0, -240));
            QCOMPARE(canvas.surface(), before);
            QVERIFY(!canvas.drawPicture(picture, 0, 0)); // known broken: nothing
            QTRY_COMPARE(told, QList<int> {picture});
            canvas.releasePicture(picture);
        }
    }

    // A map shows the picture in its own folder, else the one beside the
    // program; opened by the dialog, a drop or the program's argument, and
    // back to the program's when it closes.
    void eachMapShowsThePictureBesideIt()
    {
        TempDir dir;
        std::filesystem::create_directories(dir.path() / "demo");
        std::filesystem::create_directories(dir.path() / "elsewhere");
        const std::string demoMap = dir.write("demo/SANGO7.MPC", patternedMap());
        const std::string otherMap = dir.write("elsewhere/SANGO7.MPC", patternedMap());
        const QString demoPicture = QString::fromStdString((dir.path() / "demo/SANGO7.0.125.jpg").string());
        QVERIFY(writePagedPicture(demoPicture));
        const QImage paged = wholePicture(demoPicture);
        const auto shows = [this](const QImage& picture) {
            return pageDifference(harness_.window().canvas().surface(), picture, 0, 0);
        };
        const auto shownFile = [this] { return harness_.window().editor().state().view.mapPictureFile; };
        const auto rgb = [](Rgb c) { return QColor(c.red, c.green, c.blue); };

        harness_.make();
        QCOMPARE(shows(picture_), QString());
        harness_.answerNextOpenDialog(QString::fromStdString(demoMap));
        click(harness_.window(), "打开文件按钮");
        QCOMPARE(shownFile(), demoPicture.toStdString());
        QCOMPARE(shows(paged), QString());
        QVERIFY(dropFile(&harness_.window(), QString::fromStdString(otherMap)));
        QTRY_COMPARE(shownFile(), picturePathBesideTests().toStdString());
        QCOMPARE(shows(picture_), QString());
        harness_.window().openMapFile(QString::fromStdString(demoMap));
        QCOMPARE(shows(paged), QString());
        click(harness_.window(), "关闭文件按钮");
        QCOMPARE(shows(picture_), QString());

        // Nothing beside the program: the other map's terrain, then the
        // empty view.
        QFile::remove(picturePathBesideTests());
        harness_.make();
        QCOMPARE(harness_.window().editor().state().view.mapPicture, 0);
        harness_.window().openMapFile(QString::fromStdString(otherMap));
        QCOMPARE(harness_.window().editor().state().view.mapPicture, 0);
        QCOMPARE(canvasPixel(harness_.window(), 1, 1), rgb(terrain::colour(patternedCode(1, 1))));
        harness_.window().openMapFile(QString::fromStdString(demoMap));
        QCOMPARE(shows(paged), QString());
        click(harness_.window(), "关闭文件按钮");
        QCOMPARE(harness_.window().editor().state().view.mapPicture, 0);
        QCOMPARE(canvasPixel(harness_.window(), 1, 1), rgb(terrain::canvasBackground));
        harness_.reset();

        // Started with the demo's path: its picture is the first and only
        // one decoded.
        QVERIFY(writeTexturedPicture(picturePathBesideTests()));
        qt::MainWindow started(harness_.files, {}, QString::fromStdString(demoMap));
        QCOMPARE(started.editor().state().view.mapPicture, 1);
        QCOMPARE(started.editor().state().view.mapPictureFile, demoPicture.toStdString());
        QVERIFY(started.editor().isMapFileOpen());
        QCOMPARE(pageDifference(started.canvas().surface(), paged, 0, 0), QString());
    }

    // A picture within the first band has no rest; one loaded for another
    // path than the decode prepared is decoded for its own path.
    void smallPicturesAndOtherPaths()
    {
        QTemporaryDir dir;
        const QString small = dir.filePath(QStringLiteral("small.jpg"));
        const QString other = dir.filePath(QStringLiteral("other.jpg"));
        QVERIFY(writeTexturedPicture(small, 300, 200));
        QVERIFY(writeTexturedPicture(other, 500, 700));
        qt::MapCanvasWidget canvas(QSize(384, 240));
        canvas.pictures().useDecode(
            std::make_unique<PictureDecode>(small.toStdString(), std::make_unique<qt::ImageReaderDecoder>()));
        const int first = canvas.loadPicture(other.toStdString());
        QVERIFY(first != 0);
        QVERIFY(canvas.drawPicture(first, -100, -400));
        QCOMPARE(canvas.surface().copy(0, 0, 384, 240), wholePicture(other).copy(100, 400, 384, 240));
        const int second = canvas.loadPicture(small.toStdString());
        QVERIFY(canvas.pictures().isWhole(second));
        QVERIFY(canvas.drawPicture(second, 0, 0));
        QCOMPARE(canvas.surface().copy(0, 0, 300, 200), wholePicture(small));
    }
};

QTEST_MAIN(PictureLoadingTest)
#include "PictureLoadingTest.moc"
