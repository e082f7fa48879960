#pragma once

// A real main window under the offscreen platform with the demo map open,
// for the in-process benchmarks. The demo map and picture must lie beside the
// benchmark program (bench/run-all.sh writes them).

#include "NoFlushFiles.h"
#include "platform/NativeFiles.h"
#include "qt/MainWindow.h"
#include "qt/MapCanvasWidget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QDebug>

#include <memory>

namespace quarnet::bench {

// Counts the widgets painted, so a figure can say how much a handler redrew;
// with QUARNET_BENCH_LIST_PAINTS set it also names each one.
class PaintCounter final : public QObject {
public:
    PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
    long long paints = 0;

private:
    const bool listed_ = qEnvironmentVariableIsSet("QUARNET_BENCH_LIST_PAINTS");

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        ++paints;
        if (listed_)
            qInfo() << "painted" << watched->objectName() << watched->metaObject()->className() << (watched->parent() ? watched->parent()->objectName() : QString());
        return false;
    }
};

class BenchWindow {
public:
    BenchWindow()
    {
        // A scratch copy of the demo map, so benchmarks never write the demo.
        const QDir here(QCoreApplication::applicationDirPath());
        mapPath = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                      .filePath(QStringLiteral("quarnet-bench-%1.MPC").arg(QCoreApplication::applicationPid()));
        QFile::remove(mapPath);
        QFile::copy(here.filePath(QStringLiteral("SANGO7.MPC")), mapPath);
        // The dialog always answers the scratch map; ending and messages do
        // nothing, and questions are answered No.
        qt::MainWindow::Surroundings surroundings {
            .answerOpenDialog = [this] { return std::optional<QString>(mapPath); },
            .endProgram = [](int) {},
            .showMessage = [](const QString&) {},
            .answerQuestion = [](const QString&) { return false; },
            .answerFileDialog = [](FileKind, const QString&) { return std::optional<QString>(); },
        };
        window = std::make_unique<qt::MainWindow>(files, std::move(surroundings));
        window->show();
        QApplication::processEvents();
        open();
    }
    ~BenchWindow()
    {
        window.reset();
        QFile::remove(mapPath);
        removeBackups();
    }

    // The scratch map's numbered backups, which its first write makes.
    void removeBackups() const
    {
        QFile::remove(mapPath + QStringLiteral(".bak"));
        for (int n = 1; QFile::remove(mapPath + QStringLiteral(".%1.bak").arg(n)); ++n) {
        }
    }

    void open() const { click("打开文件按钮"); }

    QAbstractButton* button(const char* name) const
    {
        return window->findChild<QAbstractButton*>(QString::fromUtf8(name));
    }
    void click(const char* name) const { button(name)->click(); }
    void setText(const char* name, const QString& text) const
    {
        window->findChild<QLineEdit*>(QString::fromUtf8(name))->setText(text);
    }
    // Lets the window repaint what the last event changed.
    static void repaint() { QApplication::processEvents(); }

    QString mapPath;
    platform::NativeFiles native;
    NoFlushFiles files {native};
    std::unique_ptr<qt::MainWindow> window;
    PaintCounter painted;
};

} // namespace quarnet::bench
