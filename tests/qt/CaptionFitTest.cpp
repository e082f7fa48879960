#include "WindowFixture.h"

#include "layout/ControlTable.h"
#include "support/TempDir.h"

#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

using namespace quarnet;
using namespace quarnet::testing;

namespace {

// The window in a state that shows some of the widest texts its controls get.
enum class Scene {
    StartUp,      // captions and initial texts
    LastPixel,    // the map's last pixel calculated without a file: widest numbers, "file not open" report
    OpenFile,     // the same with a map file of the longest terrain name open
};

QString describe(const QString& text, const QRect& needed, const QRect& inside)
{
    return QStringLiteral("\"%1\" needs %2x%3 at (%4,%5) but has %6x%7 at (%8,%9)")
        .arg(text)
        .arg(needed.width()).arg(needed.height()).arg(needed.x()).arg(needed.y())
        .arg(inside.width()).arg(inside.height()).arg(inside.x()).arg(inside.y());
}

// Lays text out as drawText would with these flags; empty when it stays
// inside the rectangle, else what overflows.
QString overflow(const QFontMetrics& metrics, const QRect& inside, int flags, const QString& text)
{
    const QRect needed = metrics.boundingRect(inside, flags, text);
    return inside.contains(needed) ? QString() : describe(text, needed, inside);
}

QString labelOverflow(const QLabel& label)
{
    // A label draws its plain text into its contents rectangle less its margin.
    const int m = label.margin();
    const QRect inside = label.contentsRect().adjusted(m, m, -m, -m);
    const int flags = int(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    // A final line break starts an empty line: nothing shows there, and from
    // the top it moves no other line. (Centred, it would.)
    QString shown = label.text();
    if (label.alignment() & Qt::AlignTop) {
        while (shown.endsWith(QLatin1Char('\n')))
            shown.chop(1);
    }
    return overflow(label.fontMetrics(), inside, flags, shown);
}

QString buttonOverflow(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    if (button.isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    if (button.autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect inside = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return overflow(button.fontMetrics(), inside, Qt::AlignCenter | Qt::TextShowMnemonic, button.text());
}

QString editOverflow(const QLineEdit& edit)
{
    // An edit box scrolls a text that is wider than its line: then a part
    // of it is hidden.
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.contentsRect();
    option.lineWidth = edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit) : 0;
    option.state |= QStyle::State_Sunken;
    if (edit.isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit).marginsRemoved(edit.textMargins());
    constexpr int horizontalMargin = 2; // what an edit box keeps free on either side
    const QFontMetrics metrics = edit.fontMetrics();
    const int minRightBearing = qMax(0, -metrics.minRightBearing());
    const QRect line = contents.adjusted(horizontalMargin, 0, -horizontalMargin, 0);
    const QSize needed(metrics.horizontalAdvance(edit.text()) + 1 + minRightBearing, metrics.height());
    if (needed.width() <= line.width() && needed.height() <= line.height())
        return {};
    return describe(edit.text(), QRect(line.topLeft(), needed), line);
}

QString controlOverflow(const QWidget& widget)
{
    if (auto* label = qobject_cast<const QLabel*>(&widget))
        return labelOverflow(*label);
    if (auto* button = qobject_cast<const QPushButton*>(&widget))
        return buttonOverflow(*button);
    if (auto* edit = qobject_cast<const QLineEdit*>(&widget))
        return editOverflow(*edit);
    return QStringLiteral("not a label, button or edit box");
}

} // namespace

// Every caption and every text the program shows fits whole inside its
// control, in the control's font and with its own alignment and wrapping.
// Registered once per display scale (QT_SCALE_FACTOR).
class CaptionFitTest : public QObject {
    Q_OBJECT

private:
    WindowHarness harness_;
    std::unique_ptr<TempDir> dir_;
    std::optional<Scene> scene_;

    qt::MainWindow& windowIn(Scene scene)
    {
        if (scene_ == scene)
            return harness_.window();
        qt::MainWindow& window = harness_.make();
        scene_ = scene;
        if (scene == Scene::StartUp)
            return window;
        if (scene == Scene::OpenFile) {
            // Every block holds 1E, the code with the longest name.
            const std::string path =
                dir_->write("SANGO7.MPC", mapFileBytes([](std::size_t) { return std::uint8_t {0x1E}; }));
            harness_.answerNextOpenDialog(QString::fromStdString(path));
            click(window, "打开文件按钮");
        }
        harness_.calculate("17471", "12383");
        // The pointer over the last picture pixel: the widest coordinates.
        QWidget& canvas = window.canvas();
        const QPointF at(383, 239);
        QMouseEvent move(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
        if (scene == Scene::LastPixel) {
            setTextOf(window, "修改数据编辑框", QStringLiteral("FF"));
            click(window, "写入按钮"); // refused: the out-of-range message
        }
        return window;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(writePagedPicture(picturePathBesideTests()));
        dir_ = std::make_unique<TempDir>();
    }

    void cleanupTestCase()
    {
        harness_.reset();
        QFile::remove(picturePathBesideTests());
    }

    void textFitsItsControl_data()
    {
        QTest::addColumn<int>("scene");
        QTest::addColumn<QString>("control");
        const std::pair<Scene, const char*> scenes[] = {
            {Scene::StartUp, "start-up"}, {Scene::LastPixel, "last pixel"}, {Scene::OpenFile, "open file"}};
        for (const auto& [scene, sceneName] : scenes) {
            for (const layout::ControlEntry& entry : layout::controlTable()) {
                using layout::ControlKind;
                if (entry.kind != ControlKind::Label && entry.kind != ControlKind::Button
                    && entry.kind != ControlKind::EditBox)
                    continue;
                // The status line shows file paths of any length, left-aligned.
                if (entry.traits & layout::LeftAligned)
                    continue;
                QTest::addRow("%s: %s", sceneName, entry.name) << int(scene) << QString::fromUtf8(entry.name);
            }
        }
    }

    void textFitsItsControl()
    {
        QFETCH(int, scene);
        QFETCH(QString, control);
        const qt::MainWindow& window = windowIn(Scene(scene));
        const QWidget* widget = window.findChild<QWidget*>(control);
        QVERIFY(widget);
        const QString misfit = controlOverflow(*widget);
        QVERIFY2(misfit.isEmpty(), qPrintable(misfit));
    }

    // The legend needs no sideways scrolling, and every city shows whole in
    // the combo box once chosen.
    void listItemsFit()
    {
        const qt::MainWindow& window = windowIn(Scene::StartUp);
        auto* legend = findControl<QListWidget>(window, "列表框1");
        QCOMPARE(legend->horizontalScrollBar()->maximum(), 0);

        auto* cities = findControl<QComboBox>(window, "城池选择组合框");
        QStyleOptionComboBox option;
        option.initFrom(cities);
        option.subControls = QStyle::SC_All;
        const QRect field = cities->style()
                                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, cities)
                                .adjusted(1, 0, -1, 0);
        for (int i = 0; i < cities->count(); ++i) {
            const QString misfit =
                overflow(cities->fontMetrics(), field, Qt::AlignLeft | Qt::AlignVCenter, cities->itemText(i));
            QVERIFY2(misfit.isEmpty(), qPrintable(misfit));
        }
    }
};

QTEST_MAIN(CaptionFitTest)
#include "CaptionFitTest.moc"
