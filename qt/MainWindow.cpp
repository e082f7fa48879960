#include "MainWindow.h"

#include "AppIcon.h"
#include "FileDialogs.h"
#include "ImageReaderDecoder.h"
#include "InputValidators.h"
#include "MapCanvasWidget.h"
#include "MapFileWatch.h"
#include "SwatchItemDelegate.h"
#include "WidgetControls.h"
#include "WindowFont.h"
#include "WindowInputFilter.h"
#include "layout/ControlTable.h"
#include "editor/EventTable.h"
#include "platform/ExecutableDirectory.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace quarnet::qt {

namespace {

using layout::ControlEntry;
using layout::ControlKind;

QWidget* createControl(const ControlEntry& entry, QWidget* parent)
{
    const QString text = WidgetControls::labelText(entry.text);
    switch (entry.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap((entry.traits & layout::Wrapping) != 0);
        if (entry.traits & layout::Bordered) {
            label->setFrameShape(QFrame::Box);
            label->setAlignment(Qt::AlignCenter);
        } else if (entry.traits & layout::Wrapping) {
            // Their lines fill them to within a pixel, so centred or not
            // looks the same; from the top, a caption's final line break
            // does not push its first line up out of sight.
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else {
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        return label;
    }
    case ControlKind::EditBox: {
        auto* edit = new QLineEdit(text, parent);
        edit->setReadOnly((entry.traits & layout::ReadOnly) != 0);
        edit->setAlignment((entry.traits & layout::LeftAligned) ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        // Limits apply to typing only: validators, not setMaxLength, which
        // would also cut a text the program sets.
        if (entry.traits & layout::HexEntry)
            edit->setValidator(new HexEntryValidator(edit));
        if (entry.traits & layout::PixelEntry)
            edit->setValidator(new PixelEntryValidator(edit));
        return edit;
    }
    case ControlKind::Button:
        return new QPushButton(text, parent);
    case ControlKind::ComboBox:
        return new QComboBox(parent);
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setItemDelegate(new SwatchItemDelegate(list));
        return list;
    }
    case ControlKind::Canvas:
        if (entry.traits & layout::MapCanvas)
            return new MapCanvasWidget(QSize(entry.geometry.width, entry.geometry.height), parent);
        return new QWidget(parent);
    case ControlKind::Frame: {
        auto* frame = new QFrame(parent);
        frame->setFrameShape((entry.traits & layout::HorizontalLine) ? QFrame::HLine : QFrame::Box);
        frame->setFrameShadow(QFrame::Sunken);
        return frame;
    }
    case ControlKind::FileDialog:
        return nullptr; // made when first needed: see openDialog()
    }
    return nullptr;
}

} // namespace

namespace {

// A question box placed by a function of its final size, once it has one
// and before it appears.
class PlacedMessageBox final : public QMessageBox {
public:
    PlacedMessageBox(const QString& title, const QString& text, QWidget* parent, std::function<QPoint(QSize)> place)
        : QMessageBox(QMessageBox::Question, title, text, QMessageBox::NoButton, parent), place_(std::move(place))
    {
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        move(place_(size()));
    }

private:
    std::function<QPoint(QSize)> place_;
};

} // namespace

MainWindow::MainWindow(platform::Files& files, Surroundings surroundings, const QString& mapPath, QWidget* parent)
    : QWidget(parent), files_(files), surroundings_(std::move(surroundings))
{
    if (!surroundings_.endProgram)
        surroundings_.endProgram = [](int code) { QCoreApplication::exit(code); };
    setWindowTitle(QString::fromUtf8(layout::windowTitle));
    setWindowIcon(appIcon());
    setFont(windowFont());
    setFixedSize(layout::clientSize.width, layout::clientSize.height);
    move(layout::windowPosition.left, layout::windowPosition.top);

    // The picture's first page decodes on the second core while the
    // controls are made.
    auto decode = std::make_unique<PictureDecode>(
        MapEditor::mapPicturePath(platform::executableDirectory(), mapPath.toStdString()),
        std::make_unique<ImageReaderDecoder>());
    createControls();
    canvas_->pictures().useDecode(std::move(decode));
    controls_ = std::make_unique<WidgetControls>(widgets_);
    Host& host = *this;
    // The watch exists before the editor can ask for one.
    fileWatch_ = new MapFileWatch([this](const std::string& path) { editor_->mapFileChangedOutside(path); }, this);
    editor_ = std::make_unique<MapEditor>(*controls_, *canvas_, host, files_);
    connectEvents();
    // Keys and dropped files, anywhere on the window.
    setAcceptDrops(true);
    auto* input = new WindowInputFilter(*editor_, [this](const QString& path) { openDroppedFile(path); }, this);
    input->watch(this);
    for (QWidget* control : std::as_const(widgets_))
        input->watch(control);

    // The creation-completed event: the lists' items, default texts,
    // directory, picture.
    editor_->setUp(mapPath.toStdString());
    // The dialog starts at the demo map the empty canvas names.
    if (!editor_->state().demoMapPath.empty())
        proposedPath_ = QString::fromStdString(editor_->state().demoMapPath);
    if (!mapPath.isEmpty())
        openMapFile(mapPath);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    for (const layout::ControlEntry& entry : layout::controlTable()) {
        if (entry.kind == layout::ControlKind::FileDialog) {
            openDialogEntry_ = &entry;
            proposedPath_ = QString::fromUtf8(entry.text);
            continue;
        }
        QWidget* parent = entry.parent ? widgets_.value(QString::fromUtf8(entry.parent)) : this;
        QWidget* control = createControl(entry, parent);
        control->setObjectName(QString::fromUtf8(entry.name));
        control->setGeometry(entry.geometry.left, entry.geometry.top, entry.geometry.width, entry.geometry.height);
        widgets_.insert(control->objectName(), control);
    }
    canvas_ = qobject_cast<MapCanvasWidget*>(widgets_.value(QString::fromUtf8(layout::mapCanvas().name)));
}

void MainWindow::connectEvents()
{
    MapEditor* editor = editor_.get();
    for (const EventBinding& binding : eventTable()) {
        QWidget* widget = widgets_.value(QString::fromUtf8(binding.control.data(), qsizetype(binding.control.size())));
        const auto run = [editor, handler = binding.run](int x, int y) { handler(*editor, x, y); };
        switch (binding.event) {
        case ControlEvent::Clicked:
            connect(qobject_cast<QPushButton*>(widget), &QPushButton::clicked, this, [run] { run(0, 0); });
            break;
        case ControlEvent::ItemChosen:
            connect(qobject_cast<QComboBox*>(widget), &QComboBox::activated, this, [run] { run(0, 0); });
            break;
        case ControlEvent::ChoiceAbandoned:
            // Qt's box changes its item only on a choice: browsing its list
            // leaves nothing to put back.
            break;
        case ControlEvent::ItemDoubleClicked:
            connect(qobject_cast<QListWidget*>(widget), &QListWidget::itemDoubleClicked, this, [run] { run(0, 0); });
            break;
        case ControlEvent::MouseMoved:
            connect(qobject_cast<MapCanvasWidget*>(widget), &MapCanvasWidget::mouseMoved, this, run);
            break;
        case ControlEvent::RightButtonPressed:
            connect(qobject_cast<MapCanvasWidget*>(widget), &MapCanvasWidget::rightButtonPressed, this, run);
            break;
        }
    }
}

QFileDialog& MainWindow::openDialog()
{
    // Building a file dialog takes longer than all the rest of the window:
    // it is made on first use, not at start-up.
    if (!openDialog_) {
        openDialog_ = new QFileDialog(this);
        openDialog_->setObjectName(QString::fromUtf8(openDialogEntry_->name));
        openDialog_->setWindowTitle(QString());
        openDialog_->setFileMode(QFileDialog::ExistingFile);
        openDialog_->setAcceptMode(QFileDialog::AcceptOpen);
    }
    openDialog_->selectFile(proposedPath_);
    return *openDialog_;
}

void MainWindow::openMapFile(const QString& path)
{
    proposedPath_ = path;
    editor_->openMapFile(path.toStdString());
}

void MainWindow::openDroppedFile(const QString& path)
{
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            if (editor_->openDroppedFile(path.toStdString()) == DroppedFile::map)
                proposedPath_ = path;
        },
        Qt::QueuedConnection);
}

QMenu& MainWindow::windowMenu()
{
    if (!menu_) {
        menu_ = new QMenu(this);
        menu_->setObjectName(QStringLiteral("windowMenu"));
        for (const MenuItem& item : quarnet::windowMenu()) {
            if (item.text.empty()) {
                menu_->addSeparator();
                continue;
            }
            QString text = QString::fromUtf8(item.text.data(), qsizetype(item.text.size()));
            // After a tab, the key shows in the menu's key column; the key
            // itself is the window's, so it works with the menu closed.
            if (!item.keyText.empty())
                text += QLatin1Char('\t') + QString::fromUtf8(item.keyText.data(), qsizetype(item.keyText.size()));
            QAction* action = menu_->addAction(text);
            connect(action, &QAction::triggered, this, [this, run = item.run] { run(*editor_); });
        }
    }
    // Enabled as things are now.
    const QList<QAction*> actions = menu_->actions();
    qsizetype at = 0;
    for (const MenuItem& item : quarnet::windowMenu()) {
        QAction* action = actions.at(at++);
        if (!item.text.empty())
            action->setEnabled(!item.enabled || item.enabled(*editor_));
    }
    return *menu_;
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // On the background only: a control's own right click (the canvas's
    // block pick, an edit box's menu) stays its own.
    if (event->reason() == QContextMenuEvent::Mouse && childAt(event->pos())) {
        event->ignore();
        return;
    }
    windowMenu().popup(event->globalPos());
    event->accept();
}

std::optional<std::string> MainWindow::askMapFilePath()
{
    std::optional<QString> chosen;
    if (surroundings_.answerOpenDialog) {
        chosen = surroundings_.answerOpenDialog();
    } else {
        QFileDialog& dialog = openDialog();
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }
    if (!chosen)
        return std::nullopt;
    proposedPath_ = *chosen; // proposed again next time
    return chosen->toStdString();
}

std::optional<std::string> MainWindow::askFileToOpen(FileKind kind, const std::string& proposedPath)
{
    return askFile(kind, proposedPath, false);
}

std::optional<std::string> MainWindow::askFileToSave(FileKind kind, const std::string& proposedPath)
{
    return askFile(kind, proposedPath, true);
}

std::optional<std::string> MainWindow::askFile(FileKind kind, const std::string& proposedPath, bool save)
{
    const QString proposed = QString::fromStdString(proposedPath);
    const std::optional<QString> chosen = surroundings_.answerFileDialog ? surroundings_.answerFileDialog(kind, proposed)
                                                                         : chooseFile(this, kind, proposed, save);
    if (!chosen)
        return std::nullopt;
    return chosen->toStdString();
}

bool MainWindow::askYesNo(const std::string& utf8Text)
{
    const QString text = QString::fromStdString(utf8Text);
    if (surroundings_.answerQuestion)
        return surroundings_.answerQuestion(text);
    // Beside the map canvas, which shows the preview, rather than over it.
    const auto beside = [this](QSize size) {
        const QRect window = frameGeometry();
        const QRect screen = this->screen()->availableGeometry();
        const int canvasLeft = canvas_->mapToGlobal(QPoint(0, 0)).x();
        const int x = std::clamp(canvasLeft - size.width() - 8, screen.left(), std::max(screen.left(), screen.right() - size.width()));
        const int y = std::clamp(window.top(), screen.top(), std::max(screen.top(), screen.bottom() - size.height()));
        return QPoint(x, y);
    };
    PlacedMessageBox box(windowTitle(), text, this, beside);
    // The buttons' own keys, Y and N, answer too.
    QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void MainWindow::watchMapFile(const std::string& utf8Path)
{
    fileWatch_->watch(QString::fromStdString(utf8Path));
}

void MainWindow::ownWriteStarting()
{
    fileWatch_->ownWriteStarting();
}

void MainWindow::ownWriteDone()
{
    fileWatch_->ownWriteDone();
}

void MainWindow::showMessage(const std::string& utf8Text)
{
    const QString text = QString::fromStdString(utf8Text);
    if (surroundings_.showMessage)
        surroundings_.showMessage(text);
    else
        QMessageBox::warning(this, windowTitle(), text);
}

void MainWindow::endProgram(int exitCode)
{
    surroundings_.endProgram(exitCode);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    editor_->closeAndExit();
    event->accept();
}

} // namespace quarnet::qt
