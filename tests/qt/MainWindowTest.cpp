#include "WindowFixture.h"

#include "editor/ControlNames.h"
#include "mapfile/TerrainPalette.h"
#include "platform/ExecutableDirectory.h"
#include "platform/NativeFiles.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>

#include <memory>

using namespace quarnet;
using namespace quarnet::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;

    qt::MainWindow& makeWindow() { return harness_.make(); }
    void calculate(const char* x, const char* y) { harness_.calculate(x, y); }

private slots:
    void initTestCase()
    {
        QVERIFY(writePagedPicture(picturePathBesideTests()));
    }

    void cleanupTestCase()
    {
        harness_.reset();
        QFile::remove(picturePathBesideTests());
    }

    void controls_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QString>("text");

        struct Row {
            const char* name;
            const char* className;
            QRect geometry;
            const char* parent;
            const char* text;
        };
        // The controls as they stand right after start-up.
        const Row rows[] = {
            {"标签1", "QLabel", {16, 16, 72, 24}, "", "起始偏移位址   (16进制)"},
            {"起始位址编辑框", "QLineEdit", {96, 16, 80, 24}, "", "44"},
            {"标签2", "QLabel", {208, 16, 96, 24}, "", "起始像素点 X：Y\n(17471：12383)"},
            {"起始像素点X编辑框", "QLineEdit", {304, 16, 64, 24}, "", ""},
            {"起始像素点Y编辑框", "QLineEdit", {368, 16, 64, 24}, "", ""},
            {"标签6", "QLabel", {440, 16, 48, 24}, "", "偏移长度"},
            {"偏移长度编辑框", "QLineEdit", {496, 16, 128, 24}, "", ""},
            {"起始区块位置计算按钮", "QPushButton", {632, 16, 104, 24}, "", "起始区块位置计算"},
            {"标签3", "QLabel", {16, 56, 72, 16}, "", "起始区块序号"},
            {"起始区块序号编辑框", "QLineEdit", {96, 48, 80, 24}, "", ""},
            {"标签4", "QLabel", {208, 56, 88, 16}, "", "起始区块行列号"},
            {"起始区块行号编辑框", "QLineEdit", {304, 48, 64, 24}, "", ""},
            {"起始区块列号编辑框", "QLineEdit", {368, 48, 64, 24}, "", ""},
            {"标签5", "QLabel", {440, 56, 48, 16}, "", "像素范围"},
            {"像素范围X编辑框1", "QLineEdit", {496, 48, 120, 24}, "", ""},
            {"像素范围Y编辑框1", "QLineEdit", {616, 48, 120, 24}, "", ""},
            {"标签7", "QLabel", {16, 80, 80, 24}, "", "起始区块位址    (16进制)"},
            {"起始区块位址编辑框", "QLineEdit", {96, 80, 80, 24}, "", ""},
            {"标签8", "QLabel", {208, 80, 96, 24}, "", "起始区块偏移长度"},
            {"起始区块偏移长度编辑框", "QLineEdit", {304, 80, 88, 24}, "", ""},
            {"标签21", "QLabel", {432, 88, 64, 24}, "", "城池及座标"},
            {"城池选择组合框", "QComboBox", {496, 88, 240, 20}, "", ""},
            {"外形框1", "QFrame", {0, 120, 752, 16}, "", ""},
            {"标签9", "QLabel", {16, 144, 72, 16}, "", "当前区块序号"},
            {"当前区块序号编辑框", "QLineEdit", {96, 136, 104, 24}, "", ""},
            {"标签10", "QLabel", {224, 136, 72, 24}, "", "当前区块位址   (16进制)"},
            {"当前区块位址编辑框", "QLineEdit", {304, 136, 104, 24}, "", ""},
            {"列表框1", "QListWidget", {416, 136, 88, 88}, "", ""},
            {"画板2", "QWidget", {512, 144, 16, 84}, "", ""},
            {"标签11", "QLabel", {536, 144, 88, 16}, "", "当前区块偏移量"},
            {"当前区块偏移编辑框", "QLineEdit", {632, 136, 104, 24}, "", ""},
            {"标签12", "QLabel", {16, 168, 72, 24}, "", "当前区块行号"},
            {"当前区块行号编辑框", "QLineEdit", {96, 168, 104, 24}, "", ""},
            {"标签16", "QLabel", {224, 168, 72, 24}, "", "步长"},
            {"步长编辑框", "QLineEdit", {304, 168, 104, 24}, "", "1"},
            {"标签14", "QLabel", {536, 168, 96, 24}, "", "当前像素范围 X"},
            {"当前区块像素范围X编辑框", "QLineEdit", {632, 168, 104, 24}, "", ""},
            {"标签13", "QLabel", {16, 200, 80, 24}, "", "当前区块列号"},
            {"当前区块列号编辑框", "QLineEdit", {96, 200, 104, 24}, "", ""},
            {"标签17", "QLabel", {224, 200, 72, 24}, "", "修改地形代码 (16进制2位)"},
            {"修改数据编辑框", "QLineEdit", {304, 200, 104, 24}, "", " 07"},
            {"标签15", "QLabel", {536, 200, 96, 24}, "", "当前像素范围 Y"},
            {"当前区块像素范围Y编辑框", "QLineEdit", {632, 200, 104, 24}, "", ""},
            {"外形框2", "QFrame", {16, 240, 136, 240}, "", ""},
            {"标签18", "QLabel", {24, 247, 120, 230}, "",
             "说明:\n\n游戏大地图地形分横向\n\n546个区块纵向387个区\n\n块共计546*387=211302\n\n个区块。\n\n"
             "大地图分辨率为：\n\n17472*12384\n\n每个区块面积为：\n\n32*32像素\n\n本地图为原图1/8大小"},
            {"左上按钮", "QPushButton", {160, 240, 64, 40}, "", "左上"},
            {"上移按钮", "QPushButton", {224, 240, 64, 40}, "", "上移"},
            {"右上按钮", "QPushButton", {288, 240, 64, 40}, "", "右上"},
            {"左移按钮", "QPushButton", {160, 280, 64, 40}, "", "左移"},
            {"写入按钮", "QPushButton", {224, 280, 64, 40}, "", "写入"},
            {"右移按钮", "QPushButton", {288, 280, 64, 40}, "", "右移"},
            {"左下按钮", "QPushButton", {160, 320, 64, 40}, "", "左下"},
            {"下移按钮", "QPushButton", {224, 320, 64, 40}, "", "下移"},
            {"右下按钮", "QPushButton", {288, 320, 64, 40}, "", "右下"},
            {"打开文件按钮", "QPushButton", {160, 368, 80, 32}, "", "打开文件"},
            {"关闭文件按钮", "QPushButton", {160, 408, 80, 32}, "", "关闭文件"},
            {"关闭退出按钮", "QPushButton", {160, 448, 80, 32}, "", "关闭退出"},
            {"外形框4", "QFrame", {248, 368, 104, 48}, "", ""},
            {"标签19", "QLabel", {4, 5, 95, 37}, "外形框4", "当前地形:\n\n地形代码:\n"},
            {"定位按钮", "QPushButton", {264, 424, 72, 32}, "", "图片定位"},
            {"标签20", "QLabel", {248, 459, 104, 22}, "", "座标:"},
            {"打开文件通用对话框", "QFileDialog", {}, "", ""},
            {"外形框3", "QFrame", {359, 239, 386, 242}, "", ""},
            {"画板1", "quarnet::qt::MapCanvasWidget", {1, 1, 384, 240}, "外形框3", ""},
            {"编辑框1", "QLineEdit", {2, 486, 747, 24}, "", "<directory line>"},
        };
        static_assert(std::size(rows) == 65);
        for (const Row& row : rows)
            QTest::newRow(row.name) << QString::fromUtf8(row.className) << row.geometry
                                    << QString::fromUtf8(row.parent) << QString::fromUtf8(row.text);
    }

    void controls()
    {
        QFETCH(QString, className);
        QFETCH(QRect, geometry);
        QFETCH(QString, parentName);
        QFETCH(QString, text);
        qt::MainWindow& window = makeWindow();
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        if (className == QLatin1String("QFileDialog")) {
            // Made when first needed, never shown by itself.
            QVERIFY(!window.findChild<QFileDialog*>(name));
            QFileDialog& dialog = window.openDialog();
            QCOMPARE(dialog.objectName(), name);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.windowTitle(), QString());
            QCOMPARE(dialog.nameFilters(), QStringList {QStringLiteral("All Files (*)")});
            QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).fileName(), QStringLiteral("SANGO7.MPC"));
            return;
        }
        QWidget* widget = window.findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
        QCOMPARE(window.findChildren<QWidget*>(name).size(), 1);
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->parentWidget()->objectName(), parentName);
        QVERIFY(widget->isVisible());
        QVERIFY(widget->isEnabled());
        if (text == QLatin1String("<directory line>"))
            return; // checked by startUp
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            QCOMPARE(edit->text(), text);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), text);
        else if (auto* button = qobject_cast<QPushButton*>(widget))
            QCOMPARE(button->text(), text);
    }

    void windowItself()
    {
        const qt::MainWindow& window = makeWindow();
        QCOMPARE(window.windowTitle(), QStringLiteral("Quarnet --- By Velloran"));
        QCOMPARE(window.minimumSize(), window.maximumSize()); // the client area never changes size
        const QIcon icon = window.windowIcon();
        for (const int size : {16, 32, 48})
            QCOMPARE(icon.pixmap(size).size(), QSize(size, size));
    }

    void startUp()
    {
        const qt::MainWindow& window = makeWindow();
        QCOMPARE(textOf(window, "编辑框1"),
                 QStringLiteral("当前程序所在目录： ") + QString::fromStdString(platform::executableDirectory()));
        QCOMPARE(textOf(window, "修改数据编辑框"), QStringLiteral(" 07"));
        const MapView& v = window.editor().state().view;
        QCOMPARE(v.viewLeft, 0);
        QCOMPARE(v.viewRight, 383);
        QCOMPARE(v.viewTop, 0);
        QCOMPARE(v.viewBottom, 239);
        QVERIFY(v.mapPicture != 0);
        QVERIFY(near(canvasPixel(window, 0, 0), pageColour(0, 0)));
        QVERIFY(near(canvasPixel(window, 378, 234), pageColour(0, 0)));

        auto* cities = findControl<QComboBox>(window, "城池选择组合框");
        QCOMPARE(cities->count(), 103);
        QCOMPARE(cities->currentIndex(), -1);
        QCOMPARE(cities->itemText(0), QStringLiteral("001.西凉  (00519,00351)"));
        auto* legend = findControl<QListWidget>(window, "列表框1");
        QCOMPARE(legend->count(), 34);
        QVERIFY(legend->selectedItems().isEmpty());
        QCOMPARE(legend->item(0)->text(), QStringLiteral("01 河流"));
        QCOMPARE(legend->item(28)->text(), QStringLiteral("1D 残雪"));
        QCOMPARE(legend->item(28)->data(Qt::UserRole).toInt(), 29);
        QCOMPARE(legend->item(33)->text(), QStringLiteral("22 深海"));
    }

    void missingPictureIsHarmless()
    {
        QVERIFY(QFile::rename(picturePathBesideTests(), picturePathBesideTests() + ".away"));
        const qt::MainWindow& window = makeWindow();
        QVERIFY(QFile::rename(picturePathBesideTests() + ".away", picturePathBesideTests()));
        QCOMPARE(window.editor().state().view.mapPicture, 0);
        QCOMPARE(textOf(window, "起始位址编辑框"), QStringLiteral("44"));
        const Rgb background = terrain::canvasBackground;
        QCOMPARE(canvasPixel(window, 10, 10), QColor(background.red, background.green, background.blue));
        calculate("17471", "12383");
        QCOMPARE(textOf(window, "当前区块序号编辑框"), QStringLiteral("211302"));
        QCOMPARE(canvasPixel(window, 10, 10), QColor(background.red, background.green, background.blue));
        // No message and no window of its own: the main window is all that shows.
        QVERIFY(harness_.messages.empty());
        QList<const QWidget*> shown;
        for (const QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                shown.append(widget);
        QCOMPARE(shown, QList<const QWidget*> {&window});
        QVERIFY(!QApplication::activeModalWidget());
    }

    void brokenPicturesAreHarmless_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a JPEG") << QByteArray("this is not a picture at all");
        QByteArray truncated;
        {
            QImage image(64, 64, QImage::Format_RGB32);
            image.fill(Qt::red);
            QBuffer buffer(&truncated);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "JPEG");
        }
        QByteArray huge = truncated;
        truncated.truncate(truncated.size() / 3);
        QTest::newRow("truncated JPEG") << truncated;
        // A JPEG whose header claims 65000 x 65000 pixels.
        const qsizetype frame = huge.indexOf(QByteArray("\xFF\xC0", 2));
        QVERIFY(frame > 0);
        for (const int at : {5, 7}) { // height, then width, big-endian
            huge[frame + at] = char(0xFD);
            huge[frame + at + 1] = char(0xE8);
        }
        QTest::newRow("huge dimensions") << huge;
    }

    void brokenPicturesAreHarmless()
    {
        QFETCH(QByteArray, content);
        const QString path = picturePathBesideTests();
        QVERIFY(QFile::rename(path, path + ".away"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const qt::MainWindow& window = makeWindow();
        QFile::remove(path);
        QVERIFY(QFile::rename(path + ".away", path));
        calculate("100", "100");
        QCOMPARE(textOf(window, "当前区块序号编辑框"), QStringLiteral("1642"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void typingLimits_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("address upper case, 8 at most") << "起始位址编辑框" << "abcdefghij" << "ABCDEFGH";
        QTest::newRow("address takes any character") << "起始位址编辑框" << "4g -" << "4G -";
        QTest::newRow("X digits only, 5 at most") << "起始像素点X编辑框" << "12a-34567" << "12345";
        QTest::newRow("Y digits only") << "起始像素点Y编辑框" << "+9 9" << "99";
        QTest::newRow("read-only offset box") << "偏移长度编辑框" << "123" << "";
        QTest::newRow("read-only code box") << "修改数据编辑框" << "05" << " 07";
        QTest::newRow("step box is free") << "步长编辑框" << "2.9x" << "2.9x";
        QTest::newRow("status line is free") << "编辑框1" << "a b!" << "a b!";
    }

    void typingLimits()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        const qt::MainWindow& window = makeWindow();
        auto* edit = window.findChild<QLineEdit*>(box);
        if (!edit->isReadOnly())
            edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
    }

    void programTextsAreShownWhole()
    {
        const qt::MainWindow& window = makeWindow();
        // Longer than the typing limit, and with lower case: shown as set.
        setTextOf(window, "起始位址编辑框", QStringLiteral("123456789"));
        QCOMPARE(textOf(window, "起始位址编辑框"), QStringLiteral("123456789"));
        setTextOf(window, "起始像素点X编辑框", QStringLiteral("-17472"));
        QCOMPARE(textOf(window, "起始像素点X编辑框"), QStringLiteral("-17472"));
    }

    void calculateThroughTheWindow()
    {
        const qt::MainWindow& window = makeWindow();
        calculate("17471", "12383");
        const std::pair<const char*, const char*> expected[] = {
            {"偏移长度编辑框", "68"},          {"起始区块行号编辑框", "387"},
            {"起始区块列号编辑框", "546"},     {"起始区块序号编辑框", "211302"},
            {"像素范围X编辑框1", "17440～17471"}, {"像素范围Y编辑框1", "12352～12383"},
            {"起始区块偏移长度编辑框", "1690476"}, {"起始区块位址编辑框", "19CB6C"},
            {"当前区块序号编辑框", "211302"},   {"当前区块行号编辑框", "387"},
            {"当前区块列号编辑框", "546"},     {"当前区块位址编辑框", "19CB6C"},
            {"当前区块偏移编辑框", "1690476"}, {"当前区块像素范围X编辑框", "17440～17471"},
            {"当前区块像素范围Y编辑框", "12352～12383"},
            {"标签19", "当前地形:文件未打开！\n地形代码:(空)！"},
        };
        for (const auto& [name, text] : expected)
            QCOMPARE(textOf(window, name), QString::fromUtf8(text));
    }

    void openCloseAndCancel()
    {
        qt::MainWindow& window = makeWindow();
        TempDir dir;
        const std::string path = dir.write("地图 SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {3}; }));
        harness_.answerNextOpenDialog(QString::fromStdString(path));
        click(window, "打开文件按钮");
        QCOMPARE(textOf(window, "编辑框1"),
                 QStringLiteral("当前已打开的文件:") + QString::fromStdString(path) + QStringLiteral(" | 文件长度:1690484字节"));
        calculate("0", "0");
        QCOMPARE(textOf(window, "标签19"), QStringLiteral("当前地形:草原\n\n地形代码:03"));

        click(window, "关闭文件按钮");
        QCOMPARE(textOf(window, "编辑框1"), QStringLiteral("打开文件已关闭，当前没有打开的文件"));
        QCOMPARE(textOf(window, "标签19"), QStringLiteral("当前地形:草原\n\n地形代码:03"));

        harness_.answerNextOpenDialog(QString::fromStdString(path));
        click(window, "打开文件按钮");
        QVERIFY(window.editor().isMapFileOpen());
        harness_.answerNextOpenDialog(std::nullopt); // cancelled
        click(window, "打开文件按钮");
        QVERIFY(!window.editor().isMapFileOpen());
        QCOMPARE(textOf(window, "编辑框1"), QStringLiteral("打开文件已关闭，当前没有打开的文件"));
        // The dialog proposes the path chosen last.
        QFileDialog& dialog = window.openDialog();
        QVERIFY(!dialog.selectedFiles().isEmpty());
        QCOMPARE(QFileInfo(dialog.selectedFiles().constFirst()).fileName(), QStringLiteral("地图 SANGO7.MPC"));
    }

    void exitButtonClosesFileAndEndsWithZero()
    {
        qt::MainWindow& window = makeWindow();
        TempDir dir;
        harness_.answerNextOpenDialog(QString::fromStdString(dir.write("SANGO7.MPC", {1, 2, 3})));
        click(window, "打开文件按钮");
        const platform::FileNumber number = window.editor().state().mapFile.mapFileNumber;
        QVERIFY(number != 0);
        click(window, "关闭退出按钮");
        QCOMPARE(harness_.exitCode, std::optional<int>(0));
        QCOMPARE(harness_.native.length(number), std::int64_t {-1}); // closed
        QCOMPARE(window.editor().state().view.mapPicture, 0); // released
    }

    void closingByTitleBarEndsTheSameWay()
    {
        qt::MainWindow& window = makeWindow();
        TempDir dir;
        harness_.answerNextOpenDialog(QString::fromStdString(dir.write("SANGO7.MPC", {1})));
        click(window, "打开文件按钮");
        const platform::FileNumber number = window.editor().state().mapFile.mapFileNumber;
        QVERIFY(window.close());
        QCOMPARE(harness_.exitCode, std::optional<int>(0));
        QCOMPARE(harness_.native.length(number), std::int64_t {-1});
    }

    void lastBlockPageAndMarker()
    {
        qt::MainWindow& window = makeWindow();
        calculate("17471", "12383");
        const MapView& v = window.editor().state().view;
        QCOMPARE(v.viewLeft, 1920);
        QCOMPARE(v.viewRight, 2303);
        QCOMPARE(v.viewTop, 1440);
        QCOMPARE(v.viewBottom, 1679);
        // The picture covers the canvas only up to x 263 and y 107; beyond it
        // the earlier page stays.
        QVERIFY(near(canvasPixel(window, 5, 5), pageColour(5, 6)));
        QVERIFY(near(canvasPixel(window, 258, 102), pageColour(5, 6)));
        QVERIFY(near(canvasPixel(window, 270, 5), pageColour(0, 0)));
        QVERIFY(near(canvasPixel(window, 5, 114), pageColour(0, 0)));

        click(window, "定位按钮");
        const QImage canvas = window.canvas().grab().toImage();
        // Exactly the block's 4 x 4 picture pixels: an outline in white.
        for (int y = 103; y <= 108; ++y)
            for (int x = 259; x <= 264; ++x) {
                const bool outline = x >= 260 && x <= 263 && y >= 104 && y <= 107
                                     && (x == 260 || x == 263 || y == 104 || y == 107);
                QCOMPARE(canvas.pixelColor(x, y) == QColor(Qt::white), outline);
            }
    }

    void mouseCoordinatesAndRightClickPick()
    {
        qt::MainWindow& window = makeWindow();
        QWidget& canvas = window.canvas();
        const auto move = [&canvas](int x, int y) {
            QMouseEvent event(QEvent::MouseMove, QPointF(x, y), canvas.mapToGlobal(QPointF(x, y)), Qt::NoButton,
                              Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&canvas, &event);
        };
        move(0, 0);
        QCOMPARE(textOf(window, "标签20"), QStringLiteral("座标:0,0"));
        move(100, 50);
        QCOMPARE(textOf(window, "标签20"), QStringLiteral("座标:800,400"));

        calculate("6224", "2080"); // page (2, 1)
        QVERIFY(near(canvasPixel(window, 5, 5), pageColour(2, 1)));
        move(100, 50);
        QCOMPARE(textOf(window, "标签20"), QStringLiteral("座标:6944,2320"));

        setTextOf(window, "起始像素点X编辑框", QString());
        QTest::mouseClick(&canvas, Qt::RightButton, {}, QPoint(10, 20));
        QCOMPARE(textOf(window, "起始像素点X编辑框"), QStringLiteral("6224"));
        QCOMPARE(textOf(window, "起始像素点Y编辑框"), QStringLiteral("2080"));
        QCOMPARE(textOf(window, "当前区块序号编辑框"), QStringLiteral("35685")); // row 66, column 195
        QCOMPARE(textOf(window, "标签20"), QStringLiteral("座标:6944,2320")); // untouched by the pick

        // A left click does nothing.
        setTextOf(window, "起始像素点X编辑框", QStringLiteral("1"));
        QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(30, 30));
        QCOMPARE(textOf(window, "起始像素点X编辑框"), QStringLiteral("1"));
    }

    void rightClickBeyondThePictureIsRefused()
    {
        qt::MainWindow& window = makeWindow();
        calculate("17471", "0"); // page (5, 0)
        QTest::mouseClick(&window.canvas(), Qt::RightButton, {}, QPoint(263, 0));
        QCOMPARE(textOf(window, "起始像素点X编辑框"), QStringLiteral("17464"));
        QCOMPARE(textOf(window, "当前区块列号编辑框"), QStringLiteral("546"));
        QCOMPARE(textOf(window, "当前区块像素范围X编辑框"), QStringLiteral("17440～17471"));
        calculate("0", "0");
        calculate("17471", "0");
        setTextOf(window, "当前区块列号编辑框", QStringLiteral("unchanged"));
        QTest::mouseClick(&window.canvas(), Qt::RightButton, {}, QPoint(264, 0));
        QCOMPARE(textOf(window, "起始像素点X编辑框"), QStringLiteral("17472"));
        QCOMPARE(textOf(window, "当前区块列号编辑框"), QStringLiteral("unchanged"));
    }

    void locateMarksAndRedrawsOnAnotherPage()
    {
        qt::MainWindow& window = makeWindow();
        click(window, "定位按钮"); // before any calculation: nothing
        QVERIFY(near(canvasPixel(window, 1, 1), pageColour(0, 0)));

        calculate("0", "0");
        click(window, "定位按钮");
        click(window, "右移按钮");
        click(window, "定位按钮");
        // Two white markers on one page.
        QCOMPARE(canvasPixel(window, 0, 0), QColor(Qt::white));
        QCOMPARE(canvasPixel(window, 4, 0), QColor(Qt::white));
        // A calculation redraws the page and removes both.
        click(window, "起始区块位置计算按钮");
        QVERIFY(near(canvasPixel(window, 0, 0), pageColour(0, 0)));
        QVERIFY(near(canvasPixel(window, 4, 0), pageColour(0, 0)));

        // A step onto the next page: Locate redraws there, then marks.
        calculate("3040", "0"); // column 96, the last of page column 0
        click(window, "右移按钮");
        QVERIFY(near(canvasPixel(window, 1, 1), pageColour(0, 0))); // moves never touch the view
        click(window, "定位按钮");
        QCOMPARE(window.editor().state().view.viewLeft, 384);
        QCOMPARE(canvasPixel(window, 0, 0), QColor(Qt::white));
        QVERIFY(near(canvasPixel(window, 10, 10), pageColour(1, 0)));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
