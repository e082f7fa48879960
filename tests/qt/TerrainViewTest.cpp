#include "WindowFixture.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainPalette.h"
#include "mapfile/TerrainTable.h"
#include "support/MapFixtures.h"
#include "qt/SwatchItemDelegate.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QScrollBar>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

QColor qColour(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

QColor background()
{
    return qColour(terrain::canvasBackground);
}

QColor colourOf(int column, int row)
{
    return qColour(terrain::colour(patternedCode(column, row)));
}

// The canvas pixel of a block's inside, away from a marker's outline.
QColor insideOf(const qt::MainWindow& window, int column, int row)
{
    const MapView& v = window.editor().state().view;
    const int x = (column - 1) * geometry::pictureBlockSize - v.viewLeft + 1;
    const int y = (row - 1) * geometry::pictureBlockSize - v.viewTop + 1;
    return window.canvas().surface().pixelColor(x, y);
}

} // namespace

// The map view with no map picture beside the program: it draws the open
// map file's terrain, block by block.
class TerrainViewTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;
    TempDir dir_;
    std::string mapPath_;

    qt::MainWindow& openFixture()
    {
        qt::MainWindow& window = harness_.make();
        harness_.answerNextOpenDialog(QString::fromStdString(mapPath_));
        click(window, "打开文件按钮");
        return window;
    }

    // The canvas as a fresh window without a map shows it: the background
    // and the first-minute hint.
    QImage emptyCanvas_;
    bool isEmpty(const qt::MainWindow& window) const { return window.canvas().surface() == emptyCanvas_; }

    static bool legendHasColours(const qt::MainWindow& window)
    {
        const auto* legend = findControl<QListWidget>(window, "列表框1");
        for (int row = 0; row < legend->count(); ++row)
            if (!legend->item(row)->data(qt::SwatchItemDelegate::colourRole).isValid())
                return false;
        return legend->count() == terrain::highestCode;
    }

private slots:
    void initTestCase()
    {
        QFile::remove(picturePathBesideTests());
        mapPath_ = dir_.write("SANGO7.MPC", patternedMap());
        emptyCanvas_ = harness_.make().canvas().surface();
        QCOMPARE(emptyCanvas_.pixelColor(0, 0), background());
    }

    void cleanupTestCase() { harness_.reset(); }

    void blocksShowTheirColoursOnEveryPage()
    {
        qt::MainWindow& window = harness_.make();
        QCOMPARE(window.editor().state().view.mapPicture, 0);
        QVERIFY(isEmpty(window));
        QVERIFY(!legendHasColours(window));
        auto* legend = findControl<QListWidget>(window, "列表框1");
        const int rowHeight = legend->visualItemRect(legend->item(0)).height();

        harness_.answerNextOpenDialog(QString::fromStdString(mapPath_));
        click(window, "打开文件按钮");
        QVERIFY(legendHasColours(window));
        // The squares show, and the legend keeps its rows and needs no
        // sideways scrolling: every name stays whole.
        QApplication::processEvents();
        const QImage shown = legend->viewport()->grab().toImage();
        const QRect item = legend->visualItemRect(legend->item(4));
        QCOMPARE(shown.pixelColor(item.left() + 5, item.center().y() + 1), qColour(terrain::colour(5)));
        QCOMPARE(legend->visualItemRect(legend->item(0)).height(), rowHeight);
        QVERIFY(!legend->horizontalScrollBar()->isVisible());

        struct Block {
            int column, row;
        };
        const auto checkPage = [&](std::initializer_list<Block> blocks) {
            for (const Block& b : blocks) {
                const QColor shown = insideOf(window, b.column, b.row);
                if (shown != colourOf(b.column, b.row))
                    return QStringLiteral("block %1,%2 shows %3").arg(b.column).arg(b.row).arg(shown.name());
            }
            return QString();
        };

        // Page (0, 0) as opened: its corners, neighbours and an inner block.
        QCOMPARE(checkPage({{1, 1}, {2, 1}, {1, 2}, {96, 1}, {1, 60}, {96, 60}, {40, 33}}), QString());
        // Page (2, 1) after a calculation: columns 193..288, rows 61..120.
        harness_.calculate("6224", "2080");
        QCOMPARE(window.editor().state().view.viewLeft, 768);
        QCOMPARE(checkPage({{193, 61}, {288, 61}, {193, 120}, {288, 120}, {195, 66}, {196, 66}}), QString());
        // The grabbed widget shows the same pixels as its surface.
        QCOMPARE(canvasPixel(window, 1, 1), colourOf(193, 61));

        // A step right from column 288 onto page (3, 1), then Locate: the new
        // page, then the white marker.
        harness_.calculate("9209", "2080"); // column 288, row 66
        click(window, "右移按钮");
        click(window, "定位按钮");
        QCOMPARE(window.editor().state().view.viewLeft, 1152);
        QCOMPARE(checkPage({{290, 66}, {384, 61}, {289, 120}}), QString());
        QCOMPARE(window.canvas().surface().pixelColor(0, 20), QColor(Qt::white));

        // The last page: the map ends at canvas x 264 and y 108.
        harness_.calculate("17471", "12383");
        QCOMPARE(checkPage({{546, 387}, {481, 361}, {546, 361}}), QString());
        QCOMPARE(window.canvas().surface().pixelColor(264, 0), background());
        QCOMPARE(window.canvas().surface().pixelColor(383, 239), background());
        QCOMPARE(window.canvas().surface().pixelColor(0, 108), background());
    }

    void aWriteDrawsTheNewColourThenTheMarker()
    {
        qt::MainWindow& window = openFixture();
        harness_.calculate("64", "32"); // column 3, row 2: canvas 8..11 x 4..7
        const std::uint8_t newCode = patternedCode(3, 2) == 0x13 ? 0x14 : 0x13;
        setTextOf(window, "修改数据编辑框", QString::number(newCode, 16).toUpper());
        click(window, "写入按钮");
        const QImage& surface = window.canvas().surface();
        for (int y = 4; y <= 7; ++y)
            for (int x = 8; x <= 11; ++x) {
                const bool outline = x == 8 || x == 11 || y == 4 || y == 7;
                QCOMPARE(surface.pixelColor(x, y), outline ? QColor(Qt::green) : qColour(terrain::colour(newCode)));
            }
        QCOMPARE(textOf(window, "标签19").right(2), QString::number(newCode, 16).toUpper());

        // A write that fails leaves the block's colour and marks it red.
        harness_.files.failWrites(true);
        setTextOf(window, "修改数据编辑框", QStringLiteral("01"));
        click(window, "写入按钮");
        QCOMPARE(surface.pixelColor(9, 5), qColour(terrain::colour(newCode)));
        QCOMPARE(surface.pixelColor(8, 4), QColor(Qt::red));
        // And the page drawn again from the file shows the same.
        harness_.calculate("64", "32");
        QCOMPARE(surface.pixelColor(8, 4), qColour(terrain::colour(newCode)));
        harness_.files.failWrites(false);
    }

    void aFileEndingInsideTheMapShowsBackgroundPastItsEnd()
    {
        // The file ends inside block 1000's record, row 2 column 454 (1-based),
        // which lies on page (4, 0): blocks 1..1000 have codes.
        std::vector<std::uint8_t> bytes = patternedMap();
        bytes.resize(68 + 999 * 8 + 3);
        TempDir dir;
        qt::MainWindow& window = harness_.make();
        harness_.answerNextOpenDialog(QString::fromStdString(dir.write("short.MPC", bytes)));
        click(window, "打开文件按钮");
        harness_.calculate("14500", "40"); // column 454, row 2
        QCOMPARE(window.editor().state().view.viewLeft, 1536);
        QCOMPARE(insideOf(window, 453, 2), colourOf(453, 2));
        QCOMPARE(insideOf(window, 454, 2), colourOf(454, 2));
        QCOMPARE(insideOf(window, 455, 2), background());
        QCOMPARE(insideOf(window, 385, 3), background());
        QCOMPARE(insideOf(window, 480, 1), colourOf(480, 1));
    }

    void closingEmptiesTheView()
    {
        qt::MainWindow& window = openFixture();
        harness_.calculate("6224", "2080");
        QVERIFY(!isEmpty(window));
        click(window, "关闭文件按钮");
        QVERIFY(isEmpty(window));
        QVERIFY(!legendHasColours(window));
        QCOMPARE(canvasPixel(window, 100, 100), background());
        // Without a file, pages stay empty.
        harness_.calculate("0", "0");
        QVERIFY(isEmpty(window));
    }
};

QTEST_MAIN(TerrainViewTest)
#include "TerrainViewTest.moc"
