#include "WindowFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

using namespace quarnet;
using namespace quarnet::testing;

// What the user types or pastes into each edit box, and what it gives.
class BadInputTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;

    qt::MainWindow& window() { return harness_.window(); }

    // Enters a text the way a user does: typed key by key, or pasted whole.
    void enter(const char* box, const QString& text, bool pasted)
    {
        auto* edit = findControl<QLineEdit>(window(), box);
        edit->clear();
        if (pasted) {
            QGuiApplication::clipboard()->setText(text);
            QTest::keySequence(edit, QKeySequence::Paste);
        } else {
            // Key by key; characters beyond ASCII arrive as an input method
            // delivers them, as key events carrying their text.
            for (const QChar c : text) {
                if (c.unicode() < 128) {
                    QTest::keyClicks(edit, QString(c));
                } else {
                    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                    QApplication::sendEvent(edit, &press);
                }
            }
        }
    }

    static void addColumns()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("shown");   // the box's text afterwards
        QTest::addColumn<QString>("outcome"); // what the action then shows; "" when refused
    }

private slots:
    void init() { harness_.make(); }

    void startAddress_data()
    {
        addColumns();
        // outcome: the offset length box after calculating X 0, Y 0.
        QTest::newRow("empty") << "" << false << "" << "";
        QTest::newRow("default") << "44" << false << "44" << "68";
        QTest::newRow("leading space") << " 44" << false << " 44" << "68";
        QTest::newRow("trailing space") << "44 " << false << "44 " << "1088";
        QTest::newRow("sign") << "-44" << false << "-44" << "68";
        QTest::newRow("lower case typed") << "4c" << false << "4C" << "76";
        QTest::newRow("lower case pasted") << "4c" << true << "4C" << "76";
        QTest::newRow("letter after F") << "4g" << false << "4G" << "64";
        QTest::newRow("double-byte") << "西44" << false << "西44" << "68";
        QTest::newRow("largest") << "FFFFFFFF" << false << "FFFFFFFF" << "4294967295";
        QTest::newRow("ninth character typed") << "FFFFFFFF1" << false << "FFFFFFFF" << "4294967295";
        QTest::newRow("nine characters pasted") << "123456789" << true << "" << "";
    }

    void startAddress()
    {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(QString, shown);
        QFETCH(QString, outcome);
        enter("起始位址编辑框", text, pasted);
        QCOMPARE(textOf(window(), "起始位址编辑框"), shown);
        harness_.calculate("0", "0");
        QCOMPARE(textOf(window(), "偏移长度编辑框"), outcome);
    }

    void pixel_data()
    {
        addColumns();
        // outcome: the start block's row after calculating with X 0.
        QTest::newRow("empty counts as 0") << "" << false << "" << "1";
        QTest::newRow("last row") << "12383" << false << "12383" << "387";
        QTest::newRow("one beyond") << "12384" << false << "12384" << "";
        QTest::newRow("largest typed") << "99999" << false << "99999" << "";
        QTest::newRow("sixth digit refused") << "123456" << false << "12345" << "386";
        QTest::newRow("sign refused") << "-5" << false << "5" << "1";
        QTest::newRow("spaces refused") << " 3 2" << false << "32" << "2";
        QTest::newRow("letters refused") << "1a2b" << false << "12" << "1";
        QTest::newRow("double-byte digits refused") << "１２" << false << "" << "1";
        QTest::newRow("pasted with a sign refused") << "-5" << true << "" << "1";
        QTest::newRow("pasted digits") << "6000" << true << "6000" << "188";
    }

    void pixel()
    {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(QString, shown);
        QFETCH(QString, outcome);
        enter("起始像素点Y编辑框", text, pasted);
        QCOMPARE(textOf(window(), "起始像素点Y编辑框"), shown);
        setTextOf(window(), "起始像素点X编辑框", QStringLiteral("0"));
        click(window(), "起始区块位置计算按钮");
        QCOMPARE(textOf(window(), "起始区块行号编辑框"), outcome);
    }

    void step_data()
    {
        addColumns();
        // outcome: the current block after a move right from block 1.
        QTest::newRow("empty") << "" << false << "" << "";
        QTest::newRow("spaces and a plus") << " +2 " << false << " +2 " << "3";
        QTest::newRow("fraction") << "2.9" << false << "2.9" << "3";
        QTest::newRow("below one") << "0.5" << false << "0.5" << "";
        QTest::newRow("negative") << "-2" << false << "-2" << "";
        QTest::newRow("letters") << "two" << false << "two" << "";
        QTest::newRow("trailing letters") << "2x" << false << "2x" << "";
        QTest::newRow("double-byte") << "２" << false << "２" << "";
        QTest::newRow("exponent") << "1e2" << true << "1e2" << "101";
        QTest::newRow("last block") << "211301" << true << "211301" << "211302";
        QTest::newRow("one beyond the map") << "211302" << true << "211302" << "";
        QTest::newRow("largest 32-bit") << "2147483647" << true << "2147483647" << "";
        QTest::newRow("one beyond 32 bits") << "2147483648" << true << "2147483648" << "";
    }

    void step()
    {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(QString, shown);
        QFETCH(QString, outcome);
        harness_.calculate("0", "0");
        enter("步长编辑框", text, pasted);
        QCOMPARE(textOf(window(), "步长编辑框"), shown);
        click(window(), "右移按钮");
        QCOMPARE(textOf(window(), "当前区块序号编辑框"), outcome.isEmpty() ? QStringLiteral("1") : outcome);
    }

    void readOnlyBoxesTakeNothing_data()
    {
        QTest::addColumn<QString>("box");
        for (const char* box : {"修改数据编辑框", "偏移长度编辑框", "起始区块序号编辑框", "当前区块偏移编辑框"})
            QTest::newRow(box) << QString::fromUtf8(box);
    }

    void readOnlyBoxesTakeNothing()
    {
        QFETCH(QString, box);
        auto* edit = window().findChild<QLineEdit*>(box);
        const QString before = edit->text();
        QTest::keyClicks(edit, QStringLiteral("05"));
        QGuiApplication::clipboard()->setText(QStringLiteral("22"));
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(edit->text(), before);
    }
};

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
