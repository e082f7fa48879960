#include "WindowFixture.h"

#include "mapfile/TerrainPalette.h"
#include "support/HintInk.h"
#include "support/TempDir.h"

#include <QFile>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

std::vector<std::pair<int, int>> inkBands(const qt::MainWindow& window)
{
    const QImage& surface = window.canvas().surface();
    return quarnet::testing::inkBands(surface.width(), surface.height(), [&surface](int x, int y) {
        const QColor c = surface.pixelColor(x, y);
        return isHintInk(c.red(), c.green(), c.blue());
    });
}

QColor background()
{
    const Rgb c = terrain::canvasBackground;
    return QColor(c.red, c.green, c.blue);
}

} // namespace

// The first-minute hint on the Linux canvas: on the empty canvas only, in
// the window's font, naming a demo map beside the program when there is one.
class StartHintTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;

private slots:
    void init() { QFile::remove(picturePathBesideTests()); }
    void cleanup() { harness_.reset(); }

    void onTheEmptyCanvasUntilAMapOpens()
    {
        qt::MainWindow& window = harness_.make();
        const auto bands = inkBands(window);
        QCOMPARE(bands.size(), 1u);
        QVERIFY(std::abs((bands[0].first + bands[0].second) / 2 - 120) <= 4);
        QCOMPARE(window.canvas().surface().pixelColor(10, 10), background());
        QCOMPARE(window.canvas().surface().pixelColor(10, 120), background());
        // What the screen shows is the surface.
        QCOMPARE(canvasPixel(window, 10, 10), background());

        // A marker goes over it, and the hint stays around it.
        harness_.calculate("1536", "960"); // canvas 192..195 x 120..123
        click(window, "定位按钮");
        QCOMPARE(window.canvas().surface().pixelColor(192, 120), QColor(Qt::white));
        QCOMPARE(inkBands(window).size(), 1u);

        // All deep sea: nothing light is left once the map is open.
        TempDir dir;
        const std::string map =
            dir.write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x0D}; }));
        harness_.answerNextOpenDialog(QString::fromStdString(map));
        click(window, "打开文件按钮");
        QVERIFY(inkBands(window).empty());
        harness_.calculate("6224", "2080");
        QVERIFY(inkBands(window).empty());

        click(window, "关闭文件按钮");
        QCOMPARE(inkBands(window).size(), 1u);
    }

    void neverOverThePicture()
    {
        QVERIFY(writePagedPicture(picturePathBesideTests()));
        qt::MainWindow& window = harness_.make();
        QVERIFY(window.editor().state().view.mapPicture != 0);
        QVERIFY(inkBands(window).empty());
        harness_.calculate("6224", "2080");
        click(window, "关闭文件按钮");
        QVERIFY(inkBands(window).empty());
        QFile::remove(picturePathBesideTests());
    }

    // A demo folder beside the program: the second line names its map.
    void namesTheDemoMap()
    {
        const QDir program(QCoreApplication::applicationDirPath());
        QVERIFY(program.mkpath(QStringLiteral("demo")));
        const QString demo = program.filePath(QStringLiteral("demo/SANGO7.MPC"));
        QFile file(demo);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        qt::MainWindow& window = harness_.make();
        QDir(program.filePath(QStringLiteral("demo"))).removeRecursively();
        QCOMPARE(QString::fromStdString(window.editor().state().demoMapPath), demo);
        QCOMPARE(inkBands(window).size(), 2u);
    }
};

QTEST_MAIN(StartHintTest)
#include "StartHintTest.moc"
