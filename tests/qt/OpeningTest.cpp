#include "WindowFixture.h"

#include "qt/OpeningFromOutside.h"
#include "support/MapFixtures.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

using namespace quarnet;
using namespace quarnet::testing;

// Opening a map from outside the window: a path from the command line and a
// file dropped on the window, each as if chosen in the open-file dialog.
class OpeningTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;
    std::unique_ptr<TempDir> dir_;
    QString mapPath_;

    qt::MainWindow& window() { return harness_.window(); }

    static QString openedText(const QString& path, qint64 length)
    {
        return QStringLiteral("当前已打开的文件:%1 | 文件长度:%2字节").arg(path).arg(length);
    }

    QString proposedPath()
    {
        QFileDialog& dialog = window().openDialog();
        return dialog.selectedFiles().isEmpty() ? QString() : dialog.selectedFiles().constFirst();
    }

private slots:
    // Without the map picture: none of this depends on it.
    void cleanupTestCase() { harness_.reset(); }

    void init()
    {
        harness_.make();
        dir_ = std::make_unique<TempDir>();
        mapPath_ = QString::fromStdString(dir_->write("地图 目录 SANGO7.MPC", patternedMap()));
    }

    void argumentIsTheFullPath_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("path"); // empty: none
        const QString here = QDir::current().absolutePath();
        QTest::newRow("no argument") << QStringList {"quarnet"} << QString();
        QTest::newRow("empty argument") << QStringList {"quarnet", ""} << QString();
        QTest::newRow("relative") << QStringList {"quarnet", "SANGO7.MPC"} << here + "/SANGO7.MPC";
        QTest::newRow("dot segments") << QStringList {"quarnet", "./maps/../SANGO7.MPC"} << here + "/SANGO7.MPC";
        QTest::newRow("absolute, not ASCII") << QStringList {"quarnet", "/tmp/地图 目录/SANGO7.MPC"}
                                              << QStringLiteral("/tmp/地图 目录/SANGO7.MPC");
        QTest::newRow("the first of two") << QStringList {"quarnet", "/a.MPC", "/b.MPC"} << QStringLiteral("/a.MPC");
    }

    void argumentIsTheFullPath()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, path);
        const std::optional<QString> found = qt::mapPathArgument(arguments);
        QCOMPARE(found.value_or(QString()), path);
    }

    void openingAPathIsTheDialogsOpen()
    {
        window().openMapFile(mapPath_);
        QVERIFY(window().editor().isMapFileOpen());
        QCOMPARE(textOf(window(), "编辑框1"), openedText(mapPath_, qint64(patternedMap().size())));
        QCOMPARE(proposedPath(), mapPath_);

        // A path that can't be opened is a failed open; the window goes on.
        const QString missing = mapPath_ + QStringLiteral(".missing");
        window().openMapFile(missing);
        QVERIFY(!window().editor().isMapFileOpen());
        QCOMPARE(textOf(window(), "编辑框1"), QStringLiteral("无法打开文件:") + missing);
        harness_.answerNextOpenDialog(mapPath_);
        click(window(), "打开文件按钮");
        QVERIFY(window().editor().isMapFileOpen());
    }

    void aDroppedFileOpensAnywhereOnTheWindow_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("the window") << QString();
        QTest::newRow("an edit box the user types into") << QStringLiteral("起始像素点X编辑框");
        QTest::newRow("a result box") << QStringLiteral("当前区块序号编辑框");
        QTest::newRow("the map canvas") << QStringLiteral("画板1");
        QTest::newRow("a button") << QStringLiteral("写入按钮");
    }

    void aDroppedFileOpensAnywhereOnTheWindow()
    {
        QFETCH(QString, target);
        const QString first = QString::fromStdString(dir_->write("first.MPC", patternedMap()));
        harness_.answerNextOpenDialog(first);
        click(window(), "打开文件按钮");
        harness_.calculate("0", "0");
        setTextOf(window(), "修改数据编辑框", QStringLiteral("05"));
        click(window(), "写入按钮");
        QCOMPARE(window().editor().state().mapFile.history.size(), std::size_t {1});

        QWidget* widget = target.isEmpty() ? &window() : findControl<QWidget>(window(), target.toUtf8().constData());
        QVERIFY(widget);
        QVERIFY(dropFile(widget, mapPath_));
        QCOMPARE(textOf(window(), "编辑框1"), openedText(mapPath_, qint64(patternedMap().size())));
        QCOMPARE(window().editor().state().mapFile.mapFileName, mapPath_.toStdString());
        QCOMPARE(window().editor().state().mapFile.history.size(), std::size_t {0}); // the first file was closed
        QCOMPARE(textOf(window(), "起始像素点X编辑框"), QStringLiteral("0")); // no name typed in
        QCOMPARE(proposedPath(), mapPath_);
    }

    void aDragWithoutAFileIsLeftToTheControls()
    {
        QMimeData data;
        data.setText(QStringLiteral("123"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window(), &enter);
        QVERIFY(!enter.isAccepted());
        QVERIFY(!window().editor().isMapFileOpen());
    }
};

QTEST_MAIN(OpeningTest)
#include "OpeningTest.moc"
