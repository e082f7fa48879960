#include "MainWindow.h"

#include "AppIcon.h"
#include "InputValidators.h"
#include "MapCanvasWidget.h"
#include "SwatchItemDelegate.h"
#include "WidgetControls.h"
#include "WindowFont.h"
#include "layout/ControlTable.h"
#include "model/CityTable.h"
#include "model/TerrainTable.h"
#include "platform/ExecutableDirectory.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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
        if (QLatin1String(entry.name) == QLatin1String("画板1"))
            return new MapCanvasWidget(parent);
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

MainWindow::MainWindow(platform::Files& files, QWidget* parent)
    : QWidget(parent), files_(files), endProgram_([](int code) { QCoreApplication::exit(code); })
{
    setWindowTitle(QStringLiteral("Quarnet --- By Velloran"));
    setWindowIcon(appIcon());
    setFont(windowFont());
    setFixedSize(layout::clientSize.width, layout::clientSize.height);
    move(50, 50);

    // The picture decodes on the second core while the controls are made.
    auto prefetch = std::make_unique<PicturePrefetch>(MapEditor::mapPicturePath(platform::executableDirectory()));
    createControls();
    canvas_->usePrefetch(std::move(prefetch));
    fillLists();
    controls_ = std::make_unique<WidgetControls>(widgets_);
    Host& host = *this;
    editor_ = std::make_unique<MapEditor>(*controls_, *canvas_, host, files_);
    connectEvents();

    // The creation-completed event: default texts, directory, picture.
    editor_->setUp();
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
    canvas_ = qobject_cast<MapCanvasWidget*>(widgets_.value(QStringLiteral("画板1")));
}

void MainWindow::fillLists()
{
    auto* legend = qobject_cast<QListWidget*>(widgets_.value(QStringLiteral("列表框1")));
    for (int code = terrain::lowestCode; code <= terrain::highestCode; ++code) {
        auto* item = new QListWidgetItem(QString::fromStdString(terrain::legendItemText(code)), legend);
        item->setData(Qt::UserRole, code);
    }
    auto* cityBox = qobject_cast<QComboBox*>(widgets_.value(QStringLiteral("城池选择组合框")));
    for (const cities::City& city : cities::table())
        cityBox->addItem(QString::fromStdString(cities::itemText(city)));
    cityBox->setCurrentIndex(-1); // nothing chosen at start
}

void MainWindow::connectEvents()
{
    const auto button = [this](const char* name) {
        return qobject_cast<QPushButton*>(widgets_.value(QString::fromUtf8(name)));
    };
    MapEditor* editor = editor_.get();
    connect(button("起始区块位置计算按钮"), &QPushButton::clicked, this, [editor] { editor->calculateStartBlock(); });
    connect(button("打开文件按钮"), &QPushButton::clicked, this, [editor] { editor->openMapFile(); });
    connect(button("关闭文件按钮"), &QPushButton::clicked, this, [editor] { editor->closeMapFile(); });
    connect(button("关闭退出按钮"), &QPushButton::clicked, this, [editor] { editor->closeAndExit(); });
    connect(button("写入按钮"), &QPushButton::clicked, this, [editor] { editor->writeTerrainCode(); });
    connect(button("定位按钮"), &QPushButton::clicked, this, [editor] { editor->locateCurrentBlock(); });

    const std::pair<const char*, Direction> pad[] = {
        {"左上按钮", Direction::UpLeft}, {"上移按钮", Direction::Up},     {"右上按钮", Direction::UpRight},
        {"左移按钮", Direction::Left},   {"右移按钮", Direction::Right},  {"左下按钮", Direction::DownLeft},
        {"下移按钮", Direction::Down},   {"右下按钮", Direction::DownRight},
    };
    for (const auto& [name, direction] : pad) {
        const Direction d = direction;
        connect(button(name), &QPushButton::clicked, this, [editor, d] { editor->moveCurrentBlock(d); });
    }

    auto* cityBox = qobject_cast<QComboBox*>(widgets_.value(QStringLiteral("城池选择组合框")));
    connect(cityBox, &QComboBox::activated, this, [editor] { editor->selectCity(); });
    auto* legend = qobject_cast<QListWidget*>(widgets_.value(QStringLiteral("列表框1")));
    connect(legend, &QListWidget::itemDoubleClicked, this, [editor] { editor->pickLegendCode(); });

    connect(canvas_, &MapCanvasWidget::mouseMoved, this, [editor](int x, int y) { editor->showMouseCoordinates(x, y); });
    connect(canvas_, &MapCanvasWidget::rightButtonPressed, this,
            [editor](int x, int y) { editor->pickBlockAtMouse(x, y); });
}

void MainWindow::answerNextOpenDialog(std::optional<QString> path)
{
    hasNextAnswer_ = true;
    nextAnswer_ = std::move(path);
}

void MainWindow::setEndProgram(std::function<void(int)> endProgram)
{
    endProgram_ = std::move(endProgram);
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

std::optional<std::string> MainWindow::askMapFilePath()
{
    std::optional<QString> chosen;
    if (hasNextAnswer_) {
        hasNextAnswer_ = false;
        chosen = std::exchange(nextAnswer_, std::nullopt);
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

void MainWindow::endProgram(int exitCode)
{
    endProgram_(exitCode);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    editor_->closeAndExit();
    event->accept();
}

} // namespace quarnet::qt
