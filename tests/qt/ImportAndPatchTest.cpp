#include "WindowFixture.h"

#include "editor/ChangePreview.h"
#include "mapfile/ChangePicture.h"
#include "mapfile/MapGeometry.h"
#include "mapfile/PatchFormat.h"
#include "mapfile/TerrainPalette.h"
#include "mapfile/TerrainRaster.h"
#include "platform/Crc32.h"
#include "qt/FileDialogs.h"
#include "qt/MapCanvasWidget.h"
#include "qt/MapFileWatch.h"
#include "support/MapFixtures.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QListView>
#include <QTimer>
#include <QUrl>

#include <map>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

namespace g = geometry;

constexpr std::uint8_t river = 0x01;
constexpr std::uint8_t desert = 0x0E;

QColor qColour(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace

// Pictures and patches dropped on the real window or chosen from its menu,
// previewed, asked about through the window's host, written, and undone
// with the keys; the map's bytes on disk checked after each step. No map
// picture: the view shows the map's terrain.
class ImportAndPatchTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;
    std::unique_ptr<TempDir> dir_;
    std::vector<std::uint8_t> original_;
    std::string path_;

    qt::MainWindow& window() { return harness_.window(); }
    ByteChanges changes() const { return changedBytes(original_, TempDir::read(path_)); }
    QString inDir(const char* name) const { return QString::fromStdString(utf8FromPath(dir_->path() / name)); }

    // The map's terrain as render draws it, blocks painted in other codes'
    // colours, saved as a PNG.
    QString paintedPng(const char* name, const std::map<std::int32_t, std::uint8_t>& painted) const
    {
        std::vector<std::uint8_t> codes = preview::mapCodes(original_, 68);
        for (const auto& [block, code] : painted)
            codes[static_cast<std::size_t>(block - 1)] = code;
        const RgbImage image = terrain::rasterize(codes, g::columns, g::rows, g::pictureBlockSize);
        const QString path = inDir(name);
        const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                             image.width * 3, QImage::Format_RGB888);
        return picture.save(path, "PNG") ? path : QString();
    }

    // Blocks 1 and 548 painted as river, block 100 (on page 1) as desert.
    QString paintedPng() const { return paintedPng("painted.png", {{1, river}, {548, river}, {100, desert}}); }
    const ByteChanges painted_ {{codeOffset(1), river}, {codeOffset(548), river}, {codeOffset(100), desert}};

    QString bps(const char* name, const std::vector<std::uint8_t>& from, const ByteChanges& to) const
    {
        std::vector<std::uint8_t> target = from;
        for (const auto& [offset, byte] : to)
            target[offset] = byte;
        const patches::EncodedPatch made = patches::makePatch(patches::PatchFormat::bps, from, target, "");
        return QString::fromStdString(dir_->write(name, made.bytes));
    }

    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    QColor shownPixel(int x, int y) { return canvasPixel(window(), x, y); }
    QString label() { return textOf(window(), "标签19"); }
    std::size_t undoable() { return window().editor().state().mapFile.history.undoable(); }

    // Another process writes a byte into the map.
    void writeByAnotherProcess(std::size_t offset, std::uint8_t byte)
    {
        const QString script = QStringLiteral("printf '\\%1' | dd of=\"$0\" bs=1 seek=%2 conv=notrunc status=none")
                                   .arg(byte, 3, 8, QLatin1Char('0'))
                                   .arg(offset);
        QCOMPARE(QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), script, QString::fromStdString(path_)}), 0);
    }

    QAction* menuAction(const QString& text)
    {
        for (QAction* action : window().windowMenu().actions())
            if (action->text().section(QLatin1Char('\t'), 0, 0) == text)
                return action;
        return nullptr;
    }

private slots:
    void cleanupTestCase() { harness_.reset(); }

    void init()
    {
        harness_.make();
        QApplication::setActiveWindow(&window());
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        dir_ = std::make_unique<TempDir>();
        original_ = patternedMap();
        path_ = dir_->write("SANGO7.MPC", original_);
        harness_.answerNextOpenDialog(QString::fromStdString(path_));
        click(window(), "打开文件按钮");
        QVERIFY(window().editor().isMapFileOpen());
    }

    void aDroppedPictureConfirmedIsPreviewedWrittenAndUndoneInOneStep()
    {
        harness_.calculate("32", "32"); // block 548, current
        std::optional<QColor> previewed;
        std::optional<QColor> beside;
        harness_.whileAsking = [&] {
            previewed = shownPixel(1, 1); // block 1, painted
            beside = shownPixel(13, 1);   // block 4, unchanged: dimmed
        };
        harness_.answers = {true};
        QVERIFY(dropFile(findControl<QWidget>(window(), "画板1"), paintedPng()));

        QCOMPARE(harness_.questions.size(), std::size_t {1});
        QVERIFY(harness_.questions[0].startsWith(QStringLiteral("导入地形图 painted.png：\n3 个区块的地形将改变：")));
        QVERIFY(harness_.questions[0].contains(QString::fromStdString(path_) + QStringLiteral(".bak")));
        QCOMPARE(*previewed, qColour(terrain::colour(river)));
        QCOMPARE(*beside, qColour(terrain::dimmed(terrain::colour(patternedCode(4, 1)))));

        QCOMPARE(changes(), painted_);
        QCOMPARE(TempDir::read(path_ + ".bak"), original_);
        QVERIFY(window().canvas().overlay().isNull());
        QCOMPARE(shownPixel(1, 1), qColour(terrain::colour(river))); // redrawn from the file
        QCOMPARE(shownPixel(0, 0), QColor(0, 255, 0));                 // marked
        QCOMPARE(label(), QStringLiteral("当前地形:河流\n\n地形代码:01"));
        QVERIFY(harness_.messages.empty());

        // Ctrl+Z takes the whole import back, Ctrl+Y writes it again.
        findControl<QWidget>(window(), "写入按钮")->setFocus();
        press(Qt::Key_Z);
        QVERIFY(changes().empty());
        QCOMPARE(shownPixel(1, 1), qColour(terrain::colour(patternedCode(1, 1))));
        QCOMPARE(label(), QStringLiteral("当前地形:道路\n\n地形代码:09"));
        press(Qt::Key_Y);
        QCOMPARE(changes(), painted_);
        QVERIFY(harness_.messages.empty());
    }

    void aDroppedPictureDeclinedWritesNothingAndShowsThePageAsBefore()
    {
        harness_.calculate("17000", "12000");
        click(window(), "定位按钮");
        const QImage before = window().canvas().grab().toImage();
        harness_.answers = {false};
        QVERIFY(dropFile(&window(), paintedPng()));
        QCOMPARE(harness_.questions.size(), std::size_t {1});
        QVERIFY(changes().empty());
        QVERIFY(!QFile::exists(QString::fromStdString(path_ + ".bak")));
        QCOMPARE(window().canvas().grab().toImage(), before);
    }

    // Three refusals, each shown whole in Chinese: a picture of the wrong
    // size, a BPS patch for another file, a truncated IPS patch.
    void threeRefusalsInChineseWriteNothing()
    {
        QImage small(100, 100, QImage::Format_RGB32);
        small.fill(Qt::red);
        const QString smallPath = inDir("small.png");
        QVERIFY(small.save(smallPath, "PNG"));
        QVERIFY(dropFile(&window(), smallPath));
        std::vector<std::uint8_t> other = original_;
        other[codeOffset(9)] = 0x22;
        const QString otherPath = bps("other.bps", other, {{codeOffset(1), river}});
        QVERIFY(dropFile(&window(), otherPath));
        const QString brokenPath = QString::fromStdString(dir_->write("broken.ips", {'P', 'A', 'T', 'C', 'H', 0, 0}));
        QVERIFY(dropFile(&window(), brokenPath));

        const QString size = QString::number(original_.size());
        const QStringList expected = {
            QStringLiteral("无法导入地形图 small.png，地图保持原样：\n地形图 ") + smallPath
                + QStringLiteral(" 是 100 × 100 个像素；它必须是 546 × 387（每个区块 1 个像素）或 2184 × 1548"
                                 "（每个区块 4 × 4 个像素，即导出的地形图的大小）"),
            QStringLiteral("无法应用补丁 other.bps，地图保持原样：\n") + otherPath
                + QStringLiteral("：这个补丁是为另一个版本的文件制作的：它要求 ") + size + QStringLiteral(" 字节、CRC32 为 ")
                + QString::fromStdString(patches::crcText(platform::crc32(other))) + QStringLiteral("，而这个文件有 ") + size
                + QStringLiteral(" 字节、CRC32 为 ") + QString::fromStdString(patches::crcText(platform::crc32(original_))),
            QStringLiteral("无法应用补丁 broken.ips，地图保持原样：\n") + brokenPath
                + QStringLiteral("：补丁不完整：第 1 条记录（补丁第 5 字节）被截断，结束标记没有出现"),
        };
        QCOMPARE(QStringList(harness_.messages.begin(), harness_.messages.end()), expected);
        QVERIFY(harness_.questions.empty());
        QVERIFY(changes().empty());
        QVERIFY(!QFile::exists(QString::fromStdString(path_ + ".bak")));
    }

    void aDroppedPatchConfirmedOrDeclined()
    {
        const ByteChanges patchChanges {{codeOffset(2), desert}, {3, 0x42}};
        const QString patch = bps("roads.bps", original_, patchChanges);
        harness_.answers = {false};
        QVERIFY(dropFile(findControl<QWidget>(window(), "起始像素点X编辑框"), patch));
        QCOMPARE(harness_.questions.size(), std::size_t {1});
        QVERIFY(harness_.questions[0].startsWith(
            QStringLiteral("应用补丁 roads.bps (BPS)：\n将改变 1 个区块的地形代码和 1 个其他字节")));
        QVERIFY(changes().empty());
        QCOMPARE(textOf(window(), "起始像素点X编辑框"), QString()); // no name typed in

        harness_.answers = {true};
        QVERIFY(dropFile(&window(), patch));
        QCOMPARE(changes(), patchChanges);
        QCOMPARE(TempDir::read(path_ + ".bak"), original_);
        QVERIFY(harness_.messages.empty());
    }

    void aPatchForAnotherBaseIsRefused()
    {
        std::vector<std::uint8_t> other = original_;
        other[codeOffset(9)] = 0x22;
        QVERIFY(dropFile(&window(), bps("other.bps", other, {{codeOffset(1), river}})));
        QCOMPARE(harness_.messages.size(), std::size_t {1});
        QVERIFY(harness_.messages[0].startsWith(QStringLiteral("无法应用补丁 other.bps，地图保持原样：\n")));
        QVERIFY(harness_.messages[0].contains(QStringLiteral("CRC32")));
        QVERIFY(harness_.questions.empty());
        QVERIFY(changes().empty());
        QVERIFY(!QFile::exists(QString::fromStdString(path_ + ".bak")));
    }

    void anUndoIsRefusedWhenAByteChangedOutside()
    {
        harness_.answers = {true};
        QVERIFY(dropFile(&window(), paintedPng()));
        QCOMPARE(changes(), painted_);
        writeByAnotherProcess(codeOffset(548), 0x11);
        findControl<QWidget>(window(), "写入按钮")->setFocus();
        press(Qt::Key_Z);
        QCOMPARE(harness_.messages.size(), std::size_t {1});
        QVERIFY(harness_.messages[0].startsWith(
            QStringLiteral("没有撤销导入地形图 painted.png：它的 3 个字节中有 1 个已在 Quarnet 之外被改动：")));
        ByteChanges now = painted_;
        now[codeOffset(548)] = 0x11;
        QCOMPARE(changes(), now);
        QCOMPARE(undoable(), std::size_t {1});
    }

    void anOutsideChangeShowsWithinASecond()
    {
        harness_.calculate("0", "0"); // block 1, shown on page (0, 0)
        click(window(), "定位按钮");
        QCOMPARE(label(), QStringLiteral("当前地形:道路\n\n地形代码:05"));
        writeByAnotherProcess(codeOffset(1), 0x0E);
        writeByAnotherProcess(codeOffset(3), 0x01);
        QTRY_COMPARE_WITH_TIMEOUT(label(), QStringLiteral("当前地形:沙漠\n\n地形代码:0E"), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(shownPixel(9, 1), qColour(terrain::colour(0x01)), 1000);
        QCOMPARE(shownPixel(1, 1), qColour(terrain::colour(0x0E)));
    }

    // Opening another map right after a write drops what the watch gathered
    // for the map before: nothing is reloaded, and the report stays as
    // opening leaves it. Whether the write was the window's own or another
    // program's.
    void aWriteRightBeforeOpeningAnotherMapReloadsNothing()
    {
        std::vector<std::uint8_t> otherBytes = original_;
        otherBytes[codeOffset(1)] = 0x22;
        const QString other = QString::fromStdString(dir_->write("OTHER.MPC", otherBytes));
        harness_.calculate("0", "0"); // block 1: 道路
        const std::function<void()> writes[] = {
            [&] {
                setTextOf(window(), "修改数据编辑框", QStringLiteral("0E"));
                click(window(), "写入按钮");
                QCOMPARE(TempDir::read(path_)[codeOffset(1)], std::uint8_t {0x0E});
            },
            [&] { writeByAnotherProcess(codeOffset(1), 0x11); },
        };
        for (const std::function<void()>& write : writes) {
            harness_.answerNextOpenDialog(QString::fromStdString(path_));
            click(window(), "打开文件按钮");
            harness_.calculate("0", "0");
            write();
            QTest::qWait(qt::MapFileWatch::settleMilliseconds / 3); // the notice gathered, not yet told
            window().openMapFile(other);
            const QString report = label();
            QTest::qWait(2 * qt::MapFileWatch::settleMilliseconds + 300);
            QCOMPARE(label(), report);
        }
        QVERIFY(harness_.messages.empty());
    }

    // The window's own writes are not taken for another program's; one by
    // another program just after is still shown.
    void ownWritesAreNotReloadsButTheNextOutsideWriteIs()
    {
        harness_.calculate("0", "0");
        setTextOf(window(), "修改数据编辑框", QStringLiteral("0E"));
        click(window(), "写入按钮");
        // A second write while the first one's notice is gathered.
        QTest::qWait(qt::MapFileWatch::settleMilliseconds / 3);
        click(window(), "写入按钮");
        QCOMPARE(label(), QStringLiteral("当前地形:沙漠\n\n地形代码:0E"));
        // A reload would redraw the report: make it say something else first.
        findControl<QLabel>(window(), "标签19")->setText(QStringLiteral("-"));
        QTest::qWait(2 * qt::MapFileWatch::settleMilliseconds + 300);
        QCOMPARE(label(), QStringLiteral("-"));

        writeByAnotherProcess(codeOffset(1), 0x01);
        QTRY_COMPARE_WITH_TIMEOUT(label(), QStringLiteral("当前地形:河流\n\n地形代码:01"), 1000);
    }

    // The first write keeps the map as opened, and says so at the canvas's
    // foot for a few seconds; a read-back that finds another byte is red
    // and leaves the old byte.
    void theFirstWriteKeepsTheMapAsOpenedAndSaysWhere()
    {
        auto& canvas = *findControl<qt::MapCanvasWidget>(window(), "画板1");
        harness_.calculate("0", "0");
        click(window(), "写入按钮");
        QCOMPARE(TempDir::read(path_ + ".bak"), original_);
        QCOMPARE(canvas.toast(), QStringLiteral("已备份打开时的地图：SANGO7.MPC.bak"));
        const QImage shown = canvas.grab().toImage();
        QCOMPARE(shown.pixelColor(2, canvas.height() - 3).value() < 100, true); // the dark band
        QTRY_VERIFY_WITH_TIMEOUT(canvas.toast().isEmpty(), (Canvas::toastSeconds + 1) * 1000);

        harness_.calculate("32", "0"); // block 2
        harness_.files.changeReadOnce();
        click(window(), "写入按钮");
        QCOMPARE(TempDir::read(path_)[codeOffset(2)], original_[codeOffset(2)]);
        QCOMPARE(canvas.surface().pixelColor(4, 0), QColor(255, 0, 0));
        QVERIFY(!QFile::exists(QString::fromStdString(path_ + ".1.bak")));
    }

    void theWindowMenuOnTheBackgroundOnly()
    {
        // The background: the menu, its items enabled as things are.
        QContextMenuEvent background(QContextMenuEvent::Mouse, QPoint(8, 60), window().mapToGlobal(QPoint(8, 60)));
        QApplication::sendEvent(&window(), &background);
        QMenu& menu = window().windowMenu();
        QVERIFY(menu.isVisible());
        QStringList texts;
        for (QAction* action : menu.actions())
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(texts, (QStringList {QStringLiteral("导入地形图…"), QStringLiteral("应用补丁…"),
                                      QStringLiteral("导出地形图…\tCtrl+E"), QStringLiteral("制作补丁…"),
                                      QStringLiteral("-"), QStringLiteral("撤销\tCtrl+Z"),
                                      QStringLiteral("重做\tCtrl+Y")}));
        QVERIFY(menuAction(QStringLiteral("导入地形图…"))->isEnabled());
        QVERIFY(!menuAction(QStringLiteral("撤销"))->isEnabled());
        menu.hide();

        // A control's right click stays its own: the canvas picks a block.
        QWidget* canvas = findControl<QWidget>(window(), "画板1");
        QTest::mouseClick(canvas, Qt::RightButton, Qt::NoModifier, QPoint(10, 20));
        QContextMenuEvent onCanvas(QContextMenuEvent::Mouse, QPoint(10, 20), canvas->mapToGlobal(QPoint(10, 20)));
        QApplication::sendEvent(canvas, &onCanvas);
        QVERIFY(!menu.isVisible());
        QCOMPARE(textOf(window(), "起始像素点X编辑框"), QStringLiteral("80"));
        QWidget* label = findControl<QWidget>(window(), "标签18");
        QContextMenuEvent onLabel(QContextMenuEvent::Mouse, QPoint(5, 5), label->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(label, &onLabel);
        QVERIFY(!menu.isVisible());

        // An item runs its command: the picture chosen in the dialog.
        harness_.fileAnswers = {paintedPng()};
        harness_.answers = {true};
        menuAction(QStringLiteral("导入地形图…"))->trigger();
        QCOMPARE(harness_.fileDialogs.size(), std::size_t {1});
        QCOMPARE(harness_.fileDialogs[0].kind, FileKind::terrainPicture);
        QCOMPARE(changes(), painted_);
        window().windowMenu();
        QVERIFY(menuAction(QStringLiteral("撤销"))->isEnabled());
    }

    void exportAndMakePatchFromTheMenu()
    {
        const QString picture = inDir("out.png");
        harness_.fileAnswers = {picture};
        findControl<QWidget>(window(), "写入按钮")->setFocus();
        press(Qt::Key_E);
        QCOMPARE(harness_.fileDialogs.size(), std::size_t {1});
        QCOMPARE(harness_.fileDialogs[0].kind, FileKind::terrainPictureSaved);
        QCOMPARE(harness_.fileDialogs[0].proposed, inDir("SANGO7-terrain.png"));
        const QImage exported(picture);
        QCOMPARE(exported.size(), QSize(2184, 1548));
        QCOMPARE(exported.pixelColor(5, 5), qColour(terrain::colour(patternedCode(2, 2))));
        auto& canvas = *findControl<qt::MapCanvasWidget>(window(), "画板1");
        QCOMPARE(canvas.toast(),
                 QStringLiteral("已导出地形图：%1（%2 字节）").arg(picture).arg(QFileInfo(picture).size()));

        harness_.answers = {true};
        QVERIFY(dropFile(&window(), paintedPng()));
        const QString patch = inDir("made.bps");
        harness_.fileAnswers = {QString::fromStdString(path_ + ".bak"), patch};
        menuAction(QStringLiteral("制作补丁…"))->trigger();
        QCOMPARE(harness_.fileDialogs.size(), std::size_t {3});
        QCOMPARE(harness_.fileDialogs[1].proposed, QString::fromStdString(path_ + ".bak"));
        QCOMPARE(harness_.fileDialogs[2].proposed, inDir("SANGO7.bps"));
        QCOMPARE(patches::applyPatch(TempDir::read(patch.toStdString()), original_).target, TempDir::read(path_));
        QCOMPARE(canvas.toast(), QStringLiteral("已保存补丁：%1（%2 字节）").arg(patch).arg(QFileInfo(patch).size()));
        QVERIFY(harness_.messages.empty());
    }

    // Blocks halved between their own terrain and desert, as a hard brush's
    // edge leaves them, keep theirs; the question counts them.
    void blocksSplitEvenlyWithTheirOwnTerrainKeepIt()
    {
        QImage picture(paintedPng());
        for (const int block : {5, 6}) // 道路 and 丘陵
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 2; ++x)
                    picture.setPixelColor((block - 1) * 4 + x, y, qColour(terrain::colour(desert)));
        const QString halves = inDir("halves.png");
        QVERIFY(picture.save(halves, "PNG"));
        harness_.answers = {true};
        QVERIFY(dropFile(&window(), halves));
        QTRY_COMPARE(harness_.questions.size(), std::size_t {1});
        QVERIFY2(harness_.questions[0].contains(
                     QStringLiteral("\n（2 个区块的像素在原有地形和涂上的地形之间平分，保留原有地形）\n")),
                 qPrintable(harness_.questions[0]));
        QTRY_COMPARE(changes(), painted_);
    }

    // 制作补丁's first dialog shows the user's own SANGO7.MPC.orig beside the
    // backups in its first filter, and still proposes the newest backup.
    void theOriginalsDialogShowsTheUsersOwnCopy()
    {
        QCOMPARE(qt::nameFilters(FileKind::originalMap).constFirst(), QStringLiteral("备份与地图 (*.bak *.orig *.MPC)"));
        dir_->write("SANGO7.MPC.orig", original_);
        harness_.answers = {true};
        QVERIFY(dropFile(&window(), paintedPng()));
        QTRY_COMPARE(changes(), painted_);
        const QString backup = QString::fromStdString(path_ + ".bak");
        QStringList shown;
        QString proposed;
        QTimer poll;
        int polls = 0;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
            // The folder is read in the background: up to 3 seconds.
            if (!view || !view->model() || (view->model()->rowCount(view->rootIndex()) < 3 && ++polls < 300))
                return;
            poll.stop();
            proposed = dialog->selectedFiles().value(0);
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                shown.append(view->model()->index(row, 0, view->rootIndex()).data().toString());
            dialog->reject();
        });
        poll.start(10);
        qt::chooseFile(&window(), FileKind::originalMap, backup, false);
        shown.sort();
        QCOMPARE(shown, (QStringList {QStringLiteral("SANGO7.MPC"), QStringLiteral("SANGO7.MPC.bak"),
                                      QStringLiteral("SANGO7.MPC.orig")}));
        QCOMPARE(proposed, backup);
        // The window proposes the newest backup to that dialog.
        harness_.fileAnswers = {std::nullopt};
        menuAction(QStringLiteral("制作补丁…"))->trigger();
        QCOMPARE(harness_.fileDialogs.back().kind, FileKind::originalMap);
        QCOMPARE(harness_.fileDialogs.back().proposed, backup);
    }

    void theDialogsFilters()
    {
        QCOMPARE(qt::nameFilters(FileKind::terrainPicture).constFirst(),
                 QStringLiteral("地形图 (PNG BMP TGA JPEG) (*.png *.bmp *.tga *.jpg *.jpeg)"));
        QCOMPARE(qt::nameFilters(FileKind::patch).constFirst(), QStringLiteral("补丁 (IPS BPS) (*.ips *.bps)"));
        QCOMPARE(qt::nameFilters(FileKind::patchSaved),
                 (QStringList {QStringLiteral("BPS 补丁 (*.bps)"), QStringLiteral("IPS 补丁 (*.ips)")}));
    }

    void theRealSaveDialogProposesAndFollowsItsFilter()
    {
        // The window's own file dialog, as a user answers it.
        QStringList filters;
        QString title;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            QCOMPARE(dialog->selectedFiles(), QStringList {inDir("SANGO7.bps")});
            // The IPS filter chosen, a name typed without its extension.
            dialog->selectNameFilter(filters.at(1));
            emit dialog->filterSelected(filters.at(1));
            dialog->selectFile(QStringLiteral("made"));
            static_cast<QDialog*>(dialog)->accept(); // as its Save button does
        });
        poll.start(10);
        const std::optional<QString> chosen = qt::chooseFile(&window(), FileKind::patchSaved, inDir("SANGO7.bps"), true);
        QCOMPARE(title, QStringLiteral("制作补丁：保存补丁"));
        QCOMPARE(filters, qt::nameFilters(FileKind::patchSaved));
        QVERIFY(chosen);
        QCOMPARE(*chosen, inDir("made.ips"));
    }

    void theRealQuestionBoxAnswersYesAndNo()
    {
        // The window's own modal box, its buttons clicked as a user does.
        harness_.realQuestionBoxes = true;
        harness_.make();
        harness_.realQuestionBoxes = false;
        harness_.answerNextOpenDialog(QString::fromStdString(path_));
        click(window(), "打开文件按钮");
        for (const bool yes : {false, true}) {
            QStringList buttons;
            QTimer poll;
            connect(&poll, &QTimer::timeout, this, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box)
                    return;
                poll.stop();
                QAbstractButton* chosen = nullptr;
                for (QAbstractButton* button : box->buttons()) {
                    buttons.append(button->text());
                    if (box->buttonRole(button) == (yes ? QMessageBox::YesRole : QMessageBox::NoRole))
                        chosen = button;
                }
                chosen->click();
            });
            poll.start(10);
            window().openDroppedFile(paintedPng());
            QTRY_VERIFY(!buttons.isEmpty());
            buttons.sort();
            QCOMPARE(buttons, (QStringList {QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")}));
            QTRY_COMPARE(changes(), yes ? painted_ : ByteChanges {});
        }
    }
};

QTEST_MAIN(ImportAndPatchTest)
#include "ImportAndPatchTest.moc"
