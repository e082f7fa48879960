#include "WindowFixture.h"

#include "mapfile/TerrainTable.h"
#include "platform/TextCodec.h"
#include "support/MapFixtures.h"

#include <QAbstractItemView>
#include <QFile>

using namespace quarnet;
using namespace quarnet::testing;

// Navigation, terrain writing and city selection through the real widgets.
class EditingTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;
    std::unique_ptr<TempDir> dir_;
    std::vector<std::uint8_t> original_;
    std::string path_;

    qt::MainWindow& window() { return harness_.window(); }

    // A map file whose block n holds code n % 34 + 1, opened through the dialog.
    void openMap()
    {
        harness_.answerNextOpenDialog(QString::fromStdString(path_));
        click(window(), "打开文件按钮");
        QVERIFY(window().editor().isMapFileOpen());
    }

    // Every byte that differs from the original, by offset.
    std::map<std::size_t, std::uint8_t> changes() const { return changedBytes(original_, TempDir::read(path_)); }

    void doubleClickLegendItem(int row)
    {
        auto* legend = findControl<QListWidget>(window(), "列表框1");
        legend->scrollToItem(legend->item(row));
        const QPoint at = legend->visualItemRect(legend->item(row)).center();
        // A double-click arrives as a click followed by a double-click event.
        QTest::mouseClick(legend->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(legend->viewport(), Qt::LeftButton, {}, at);
    }

    // The marker of the current block on the canvas, as the colour of its
    // top-left outline pixel.
    QColor markerPixel()
    {
        const MapView& v = window().editor().state().view;
        return canvasPixel(window(), v.viewBlockXMin - v.viewLeft, v.viewBlockYMin - v.viewTop);
    }

private slots:
    void initTestCase() { QVERIFY(writePagedPicture(picturePathBesideTests())); }
    void cleanupTestCase()
    {
        harness_.reset();
        QFile::remove(picturePathBesideTests());
    }

    void init()
    {
        harness_.make();
        dir_ = std::make_unique<TempDir>();
        original_ = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
        path_ = dir_->write("SANGO7.MPC", original_);
    }

    void directions_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("block"); // empty: refused, nothing changes
        QTest::addColumn<QString>("address");

        QTest::newRow("up from row 2") << "64" << "32" << "1" << "上移按钮" << "3" << "54";
        QTest::newRow("up from row 1") << "64" << "0" << "1" << "上移按钮" << "" << "";
        QTest::newRow("down from row 386") << "0" << "12352" << "1" << "下移按钮" << "210757" << "19BA64";
        QTest::newRow("down from row 387") << "0" << "12383" << "1" << "下移按钮" << "" << "";
        QTest::newRow("left wraps") << "0" << "32" << "1" << "左移按钮" << "546" << "114C";
        QTest::newRow("left from block 1") << "0" << "0" << "1" << "左移按钮" << "" << "";
        QTest::newRow("right wraps") << "17471" << "0" << "1" << "右移按钮" << "547" << "1154";
        QTest::newRow("right from the last block") << "17471" << "12383" << "1" << "右移按钮" << "" << "";
        QTest::newRow("up-left") << "32" << "32" << "1" << "左上按钮" << "1" << "44";
        QTest::newRow("up-left at column 1") << "0" << "320" << "1" << "左上按钮" << "" << "";
        QTest::newRow("up-right at column 546") << "17471" << "320" << "1" << "右上按钮" << "" << "";
        QTest::newRow("up-right") << "0" << "64" << "2" << "右上按钮" << "3" << "54";
        QTest::newRow("down-left at column 1") << "0" << "320" << "1" << "左下按钮" << "" << "";
        QTest::newRow("down-left") << "64" << "0" << "2" << "左下按钮" << "1093" << "2264";
        QTest::newRow("down-right at the bottom") << "0" << "12383" << "1" << "右下按钮" << "" << "";
        QTest::newRow("down-right") << "0" << "0" << "1" << "右下按钮" << "548" << "115C";
        QTest::newRow("step 2.9 moves 2") << "0" << "0" << "2.9" << "右移按钮" << "3" << "54";
        QTest::newRow("step 0.5") << "0" << "0" << "0.5" << "右移按钮" << "" << "";
        QTest::newRow("step 0") << "0" << "0" << "0" << "右移按钮" << "" << "";
        QTest::newRow("step -1") << "0" << "0" << "-1" << "右移按钮" << "" << "";
        QTest::newRow("step empty") << "0" << "0" << "" << "右移按钮" << "" << "";
        QTest::newRow("step beyond 32 bits") << "0" << "0" << "4294967297" << "右移按钮" << "" << "";
    }

    void directions()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, step);
        QFETCH(QString, button);
        QFETCH(QString, block);
        QFETCH(QString, address);
        openMap();
        harness_.calculate(x.toUtf8().constData(), y.toUtf8().constData());
        setTextOf(window(), "步长编辑框", step);
        const QString report = textOf(window(), "标签19");
        const QString number = textOf(window(), "当前区块序号编辑框");
        click(window(), button.toUtf8().constData());
        if (block.isEmpty()) {
            QCOMPARE(textOf(window(), "当前区块序号编辑框"), number);
            QCOMPARE(textOf(window(), "标签19"), report);
            return;
        }
        QCOMPARE(textOf(window(), "当前区块序号编辑框"), block);
        QCOMPARE(textOf(window(), "当前区块位址编辑框"), address);
        // The terrain is read again for the new block.
        const int code = block.toInt() % 34 + 1;
        QVERIFY(textOf(window(), "标签19").endsWith(QString::fromStdString(formatTerrainCode(code))));
    }

    void writeChangesOneByteAndMarksGreen()
    {
        openMap();
        harness_.calculate("100", "200"); // block 3280
        doubleClickLegendItem(9);         // "0A 丘陵"
        QCOMPARE(textOf(window(), "修改数据编辑框"), QStringLiteral("0A"));
        click(window(), "写入按钮");
        QCOMPARE(changes(), (std::map<std::size_t, std::uint8_t> {{68 + (3280 - 1) * 8, 0x0A}}));
        QCOMPARE(textOf(window(), "标签19"), QStringLiteral("当前地形:丘陵\n\n地形代码:0A"));
        QCOMPARE(markerPixel(), QColor(0, 255, 0));
    }

    void refusedCodeAndNoFile()
    {
        harness_.calculate("0", "0");
        click(window(), "写入按钮"); // " 07", no file
        QCOMPARE(markerPixel(), QColor(255, 0, 0));
        QVERIFY(changes().empty());

        openMap();
        setTextOf(window(), "修改数据编辑框", QStringLiteral("23"));
        click(window(), "写入按钮");
        QCOMPARE(textOf(window(), "修改数据编辑框"), QStringLiteral("代码超出范围！"));
        click(window(), "写入按钮");
        QCOMPARE(textOf(window(), "修改数据编辑框"), QStringLiteral("代码超出范围！"));
        QVERIFY(changes().empty());
    }

    void writeBeyondTheEndIsRed()
    {
        QVERIFY(QFile::resize(QString::fromStdString(path_), 68 + 8));
        original_.resize(68 + 8);
        openMap();
        harness_.calculate("32", "0"); // block 2 lies past the end
        click(window(), "写入按钮");
        QCOMPARE(markerPixel(), QColor(255, 0, 0));
        QVERIFY(changes().empty());
    }

    void writeRefusedByTheFileIsRed()
    {
        openMap();
        harness_.calculate("0", "0");
        harness_.files.failWrites(true);
        click(window(), "写入按钮");
        QCOMPARE(markerPixel(), QColor(255, 0, 0));
        QVERIFY(changes().empty());
        harness_.files.failWrites(false);
        click(window(), "写入按钮");
        QCOMPARE(markerPixel(), QColor(0, 255, 0));
        QCOMPARE(changes().size(), std::size_t {1});
    }

    void legendNeedsADoubleClick()
    {
        auto* legend = findControl<QListWidget>(window(), "列表框1");
        QTest::mouseClick(legend->viewport(), Qt::LeftButton, {}, legend->visualItemRect(legend->item(2)).center());
        QTest::keyClick(legend, Qt::Key_Down);
        QCOMPARE(textOf(window(), "修改数据编辑框"), QStringLiteral(" 07"));
        doubleClickLegendItem(28);
        QCOMPARE(textOf(window(), "修改数据编辑框"), QStringLiteral("1D"));
        doubleClickLegendItem(30);
        QCOMPARE(textOf(window(), "修改数据编辑框"), QStringLiteral("1F"));
    }

    void cityItems()
    {
        auto* cities = findControl<QComboBox>(window(), "城池选择组合框");
        QCOMPARE(cities->count(), 103);
        for (int i = 0; i < cities->count(); ++i) {
            const std::string gbk = platform::utf8ToGbk(cities->itemText(i).toStdString());
            QCOMPARE(gbk.size(), std::size_t {23});
            QCOMPARE(QString::fromLatin1(gbk.substr(0, 3).c_str()), QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0')));
        }
    }

    void citySelectionShowsThePageAndMarks()
    {
        auto* cities = findControl<QComboBox>(window(), "城池选择组合框");
        cities->setCurrentIndex(97);
        emit cities->activated(97); // as a pick from the drop-down does
        QCOMPARE(textOf(window(), "起始像素点X编辑框"), QStringLiteral("17243"));
        QCOMPARE(textOf(window(), "起始像素点Y编辑框"), QStringLiteral("3643"));
        QCOMPARE(window().editor().state().view.viewPageColumn, 5);
        QCOMPARE(window().editor().state().view.viewPageRow, 1);
        QVERIFY(near(canvasPixel(window(), 5, 5), pageColour(5, 1)));
        QCOMPARE(markerPixel(), QColor(Qt::black)); // the canvas's default colour
    }

    // The list browsed with the arrow keys and closed by Esc: the box shows
    // the city chosen last, or none, and the window stays where it was.
    void cityListClosedByEscapeKeepsTheChosenCity()
    {
        auto* cities = findControl<QComboBox>(window(), "城池选择组合框");
        const auto browseAndEscape = [cities] {
            cities->showPopup();
            QTRY_VERIFY(cities->view()->isVisible());
            QTest::keyClick(cities->view(), Qt::Key_Down);
            QTest::keyClick(cities->view(), Qt::Key_Down);
            QTest::keyClick(cities->view(), Qt::Key_Escape);
            QTRY_VERIFY(!cities->view()->isVisible());
        };
        cities->setFocus();
        browseAndEscape();
        QCOMPARE(cities->currentIndex(), -1);
        QCOMPARE(textOf(window(), "起始像素点X编辑框"), QString());

        QTest::keyClick(cities, Qt::Key_Down); // the closed box stepped: a choice
        QCOMPARE(cities->currentIndex(), 0);
        const QString x = textOf(window(), "起始像素点X编辑框");
        QVERIFY(!x.isEmpty());
        browseAndEscape();
        QCOMPARE(cities->currentIndex(), 0);
        QCOMPARE(textOf(window(), "起始像素点X编辑框"), x);
    }

    void twoCitiesOnOnePageLeaveOneMarker()
    {
        auto* cities = findControl<QComboBox>(window(), "城池选择组合框");
        cities->setCurrentIndex(0);
        emit cities->activated(0);
        const MapView first = window().editor().state().view;
        cities->setCurrentIndex(1);
        emit cities->activated(1);
        QCOMPARE(markerPixel(), QColor(Qt::black));
        QVERIFY(near(canvasPixel(window(), first.viewBlockXMin, first.viewBlockYMin), pageColour(0, 0)));
    }
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
