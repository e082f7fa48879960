// Whether a handler's cost grows with the events before it: 100000 mixed
// events in blocks of 10000, each block's time per event and the resident
// memory after it. Writes go through without the flush, so the disk does not
// drown the figure.

#include "BenchWindow.h"

#include <QListWidget>
#include <QMouseEvent>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Processor time of this process, which a busy neighbour on the machine
// disturbs less than the wall clock.
double cpuNanoseconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec * 1e9 + t.tv_usec * 1e3; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    quarnet::bench::BenchWindow w;
    w.files.flushes = false;
    auto* legend = w.window->findChild<QListWidget*>(QStringLiteral("列表框1"));
    QWidget& canvas = w.window->canvas();
    const char* moves[] = {"右移按钮", "下移按钮", "左移按钮", "上移按钮", "右下按钮", "左上按钮"};

    constexpr int blocks = 10;
    constexpr int perBlock = 10000;
    std::printf("block events wall_ns_per_event cpu_ns_per_event rss_kib\n");
    for (int block = 0; block < blocks; ++block) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuNanoseconds();
        for (int i = 0; i < perBlock; ++i) {
            switch (i % 10) {
            case 0:
                w.setText("起始像素点X编辑框", QString::number((i * 37) % 17472));
                w.setText("起始像素点Y编辑框", QString::number((i * 53) % 12384));
                w.click("起始区块位置计算按钮");
                break;
            case 1: case 2: case 3: w.click(moves[(i / 10) % 6]); break;
            case 4: w.click("定位按钮"); break;
            case 5: {
                const QPointF at(i % 384, (i / 7) % 240);
                QMouseEvent event(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                                  Qt::NoModifier);
                QApplication::sendEvent(&canvas, &event);
                break;
            }
            case 6:
                legend->setCurrentRow((i / 10) % 34);
                emit legend->itemDoubleClicked(legend->currentItem());
                break;
            case 7: w.click("写入按钮"); break;
            case 8: w.click("右上按钮"); break;
            case 9: w.click("左下按钮"); break;
            }
            quarnet::bench::BenchWindow::repaint();
        }
        const auto elapsed = std::chrono::steady_clock::now() - start;
        std::printf("%d %d %.0f %.0f %ld\n", block + 1, (block + 1) * perBlock,
                    std::chrono::duration<double, std::nano>(elapsed).count() / perBlock,
                    (cpuNanoseconds() - cpuStart) / perBlock, residentKiB());
        std::fflush(stdout);
    }
    return 0;
}
