#include "WindowFixture.h"

#include "mapfile/TerrainTable.h"
#include "support/MapFixtures.h"

#include <QApplication>
#include <QFile>

using namespace quarnet;
using namespace quarnet::testing;

// Undo and redo of writes with the keys, through the real widgets.
class UndoRedoTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;
    std::unique_ptr<TempDir> dir_;
    std::vector<std::uint8_t> original_;
    std::string path_;

    qt::MainWindow& window() { return harness_.window(); }
    ByteChanges changes() const { return changedBytes(original_, TempDir::read(path_)); }

    void openMap()
    {
        harness_.answerNextOpenDialog(QString::fromStdString(path_));
        click(window(), "打开文件按钮");
    }

    // Calculates the block at a map pixel and writes a code to it with the
    // write button, which then has the focus.
    void writeAt(const char* x, const char* y, const char* code)
    {
        harness_.calculate(x, y);
        setTextOf(window(), "修改数据编辑框", QString::fromLatin1(code));
        auto* write = findControl<QAbstractButton>(window(), "写入按钮");
        write->setFocus();
        QTest::mouseClick(write, Qt::LeftButton);
    }

    // A key pressed where the focus is, as the keyboard delivers it.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    static void undo() { press(Qt::Key_Z, Qt::ControlModifier); }

    void focus(const char* name)
    {
        QWidget* control = findControl<QWidget>(window(), name);
        control->setFocus();
        QCOMPARE(QApplication::focusWidget(), control);
    }

    QColor markerPixel()
    {
        const MapView& v = window().editor().state().view;
        return canvasPixel(window(), v.viewBlockXMin - v.viewLeft, v.viewBlockYMin - v.viewTop);
    }

    void changeOutside(std::size_t offset, char byte) const
    {
        QFile file(QString::fromStdString(path_));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(qint64(offset)));
        QVERIFY(file.putChar(byte));
    }

    std::size_t undoable() { return window().editor().state().mapFile.history.undoable(); }

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
        QApplication::setActiveWindow(&window());
        QVERIFY(QTest::qWaitForWindowActive(&window()));
        dir_ = std::make_unique<TempDir>();
        original_ = mapFileBytes([](std::size_t block) { return static_cast<std::uint8_t>(block % 34 + 1); });
        path_ = dir_->write("SANGO7.MPC", original_);
        openMap();
    }

    void writeWriteUndoUndoRedo()
    {
        writeAt("64", "32", "0A");   // block 549
        writeAt("100", "200", "1F"); // block 3280
        QCOMPARE(changes(), (ByteChanges {{codeOffset(549), 0x0A}, {codeOffset(3280), 0x1F}}));

        harness_.calculate("17243", "3643"); // another page
        undo();
        QCOMPARE(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
        QCOMPARE(textOf(window(), "当前区块序号编辑框"), QStringLiteral("3280"));
        QCOMPARE(textOf(window(), "当前区块位址编辑框"), QStringLiteral("66BC"));
        const QString code = QString::fromStdString(formatTerrainCode(3280 % 34 + 1));
        QCOMPARE(textOf(window(), "修改数据编辑框"), code);
        QVERIFY(textOf(window(), "标签19").endsWith(QStringLiteral("地形代码:") + code));
        QCOMPARE(window().editor().state().view.viewPageColumn, 0);
        QVERIFY(near(canvasPixel(window(), 300, 200), pageColour(0, 0)));
        QCOMPARE(markerPixel(), QColor(0, 255, 0));

        undo();
        QVERIFY(changes().empty());
        QCOMPARE(textOf(window(), "当前区块序号编辑框"), QStringLiteral("549"));
        undo(); // nothing left: nothing happens
        QVERIFY(changes().empty());

        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(changes(), (ByteChanges {{codeOffset(549), 0x0A}}));
        QCOMPARE(textOf(window(), "标签19"), QStringLiteral("当前地形:丘陵\n\n地形代码:0A"));
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(changes(), (ByteChanges {{codeOffset(549), 0x0A}, {codeOffset(3280), 0x1F}}));
        QVERIFY(harness_.messages.empty());
    }

    void keysActWhereverTheFocusIsButInAnEditBox()
    {
        writeAt("0", "0", "05");

        // An edit box the user types into keeps all three keys for its text.
        focus("起始像素点X编辑框");
        QTest::keyClicks(QApplication::focusWidget(), "12");
        undo();
        QCOMPARE(textOf(window(), "起始像素点X编辑框"), QStringLiteral("0"));
        press(Qt::Key_Y, Qt::ControlModifier);
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(changes(), (ByteChanges {{codeOffset(1), 0x05}}));

        // A result box, which is read-only, and the legend pass them on.
        focus("当前区块序号编辑框");
        undo();
        QVERIFY(changes().empty());
        focus("列表框1");
        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
        focus("城池选择组合框");
        undo();
        QVERIFY(changes().empty());
        QCOMPARE(findControl<QComboBox>(window(), "城池选择组合框")->currentIndex(), -1);

        // Other letters with Ctrl and Ctrl+Alt+Z run nothing.
        press(Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier);
        press(Qt::Key_X, Qt::ControlModifier);
        QVERIFY(changes().empty());
    }

    void aWriteAfterAnUndoDropsTheRedo()
    {
        writeAt("0", "0", "05");
        writeAt("32", "0", "06");
        undo();
        writeAt("64", "0", "07");
        press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(changes(), (ByteChanges {{codeOffset(1), 0x05}, {codeOffset(3), 0x07}}));
    }

    void refusedFlushDuringAnUndoIsRedAndKeepsTheEntry()
    {
        writeAt("0", "0", "05");
        harness_.files.failFlushes(true);
        undo();
        QCOMPARE(markerPixel(), QColor(255, 0, 0));
        QCOMPARE(undoable(), std::size_t {1});
        harness_.files.failFlushes(false);
        undo();
        QCOMPARE(markerPixel(), QColor(0, 255, 0));
        QVERIFY(changes().empty());
        QCOMPARE(undoable(), std::size_t {0});
        QVERIFY(harness_.messages.empty());
    }

    void aByteChangedByAnotherProgramIsLeftAlone()
    {
        writeAt("64", "32", "0A"); // block 549
        changeOutside(codeOffset(549), 0x11);
        undo();
        QCOMPARE(harness_.messages.size(), std::size_t {1});
        QVERIFY(harness_.messages[0].startsWith(QStringLiteral("区块 549 的地形代码已在 Quarnet 之外被改为 11")));
        QCOMPARE(changes(), (ByteChanges {{codeOffset(549), 0x11}}));
        QCOMPARE(undoable(), std::size_t {1});
    }

    void closingClearsTheHistory()
    {
        writeAt("0", "0", "05");
        click(window(), "关闭文件按钮");
        focus("写入按钮");
        undo(); // no file open: nothing
        openMap();
        undo(); // another opening: nothing to undo
        QCOMPARE(changes(), (ByteChanges {{codeOffset(1), 0x05}}));
        QVERIFY(harness_.messages.empty());
    }
};

QTEST_MAIN(UndoRedoTest)
#include "UndoRedoTest.moc"
