// The window's import of a painted picture, timed in the real main window
// (offscreen): from a drop carrying the picture's URL to the preview painted
// on the canvas, and from the Yes to the map written, its page redrawn and
// marked. Each run drops the picture on a fresh copy of the map.
//   quarnet-bench-window-import MAP PICTURE RUNS
// Prints "preview MEDIAN_US" and "write MEDIAN_US", and the runs' figures.

#include "platform/NativeFiles.h"
#include "qt/MainWindow.h"
#include "qt/MapCanvasWidget.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

long long median(std::vector<long long> values)
{
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Removes the map's backups, so each run writes MAP.bak as the first did.
void removeBackups(const QString& map)
{
    QFile::remove(map + QStringLiteral(".bak"));
    for (int number = 1; QFile::exists(map + QStringLiteral(".%1.bak").arg(number)); ++number)
        QFile::remove(map + QStringLiteral(".%1.bak").arg(number));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: quarnet-bench-window-import MAP PICTURE RUNS\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString picture = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    const int runs = std::max(1, QString::fromLocal8Bit(argv[3]).toInt());
    const QString map = QDir::temp().filePath(QStringLiteral("quarnet-bench-import-%1.MPC").arg(application.applicationPid()));

    QElapsedTimer clock;
    qint64 dropped = 0;
    qint64 answered = 0;
    std::vector<long long> previews;
    std::vector<long long> writes;
    quarnet::platform::NativeFiles files;
    quarnet::qt::MainWindow* shown = nullptr;
    quarnet::qt::MainWindow::Surroundings surroundings {
        .answerOpenDialog = [&] { return std::optional<QString>(map); },
        .endProgram = [](int) {},
        .showMessage = [](const QString& text) { std::fprintf(stderr, "message: %s\n", qPrintable(text)); },
        .answerQuestion =
            [&](const QString&) {
                // What the question box's own loop does first: paint the
                // preview on the screen.
                shown->canvas().repaint();
                previews.push_back((clock.nsecsElapsed() - dropped) / 1000);
                answered = clock.nsecsElapsed();
                return true;
            },
        .answerFileDialog = {},
    };
    quarnet::qt::MainWindow window(files, surroundings);
    shown = &window;
    window.show();
    QApplication::processEvents();
    clock.start();

    for (int run = 0; run < runs; ++run) {
        QFile::remove(map);
        removeBackups(map);
        if (!QFile::copy(source, map)) {
            std::fprintf(stderr, "can't copy %s\n", argv[1]);
            return 2;
        }
        window.openMapFile(map);
        QApplication::processEvents();

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(picture)});
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        dropped = clock.nsecsElapsed();
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        QApplication::processEvents(); // the drop is taken: preview, question, write
        window.canvas().repaint();     // and the written page on the screen
        writes.push_back((clock.nsecsElapsed() - answered) / 1000);
        if (previews.size() != writes.size()) {
            std::fprintf(stderr, "the drop asked nothing\n");
            return 1;
        }
    }
    QFile::remove(map);
    removeBackups(map);

    std::printf("preview %lld\nwrite %lld\n", median(previews), median(writes));
    for (std::size_t i = 0; i < previews.size(); ++i)
        std::printf("run %zu: preview %lld us, write %lld us\n", i + 1, previews[i], writes[i]);
    return 0;
}
