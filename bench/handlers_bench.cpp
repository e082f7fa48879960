// Each event handler in process, through the real widgets, including the
// repaint it triggers; and the bare pwrite + fsync of one byte that bounds a
// flushed write.

#include "BenchmarkMain.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using quarnet::bench::BenchWindow;
using quarnet::bench::bench;

// Reports the widgets repainted per event beside the time.
class CountPaints {
public:
    CountPaints(benchmark::State& state, BenchWindow& w) : state_(state), w_(w), before_(w.painted.paints) {}
    ~CountPaints()
    {
        state_.counters["widgets_painted"] = benchmark::Counter(
            double(w_.painted.paints - before_), benchmark::Counter::kAvgIterations);
    }

private:
    benchmark::State& state_;
    BenchWindow& w_;
    long long before_;
};

// The current block in the middle of the map, on a page of its own.
void centre(BenchWindow& w)
{
    w.setText("起始像素点X编辑框", QStringLiteral("8736"));
    w.setText("起始像素点Y编辑框", QStringLiteral("6192"));
    w.setText("步长编辑框", QStringLiteral("1"));
    w.click("起始区块位置计算按钮");
    BenchWindow::repaint();
}

void Calculate(benchmark::State& state)
{
    BenchWindow& w = bench();
    centre(w);
    const CountPaints count(state, w);
    for (auto _ : state) {
        w.click("起始区块位置计算按钮");
        BenchWindow::repaint();
    }
}
BENCHMARK(Calculate);

// Moves alternate with their opposites, so the block never reaches an edge;
// the time is that of one move.
void Move(benchmark::State& state, const char* there, const char* back)
{
    BenchWindow& w = bench();
    centre(w);
    bool forth = true;
    const CountPaints count(state, w);
    for (auto _ : state) {
        w.click(forth ? there : back);
        BenchWindow::repaint();
        forth = !forth;
    }
}
BENCHMARK_CAPTURE(Move, up, "上移按钮", "下移按钮");
BENCHMARK_CAPTURE(Move, down, "下移按钮", "上移按钮");
BENCHMARK_CAPTURE(Move, left, "左移按钮", "右移按钮");
BENCHMARK_CAPTURE(Move, right, "右移按钮", "左移按钮");
BENCHMARK_CAPTURE(Move, up_left, "左上按钮", "右下按钮");
BENCHMARK_CAPTURE(Move, up_right, "右上按钮", "左下按钮");
BENCHMARK_CAPTURE(Move, down_left, "左下按钮", "右上按钮");
BENCHMARK_CAPTURE(Move, down_right, "右下按钮", "左上按钮");

void PickLegendCode(benchmark::State& state)
{
    BenchWindow& w = bench();
    auto* legend = w.window->findChild<QListWidget*>(QStringLiteral("列表框1"));
    const QPoint at = legend->visualItemRect(legend->item(2)).center();
    const CountPaints count(state, w);
    for (auto _ : state) {
        QTest::mouseClick(legend->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(legend->viewport(), Qt::LeftButton, {}, at);
        BenchWindow::repaint();
    }
}
BENCHMARK(PickLegendCode);

void Write(benchmark::State& state, bool flush)
{
    BenchWindow& w = bench();
    centre(w);
    w.setText("修改数据编辑框", QStringLiteral("05"));
    w.files.flushes = flush;
    const CountPaints count(state, w);
    for (auto _ : state) {
        w.click("写入按钮");
        BenchWindow::repaint();
    }
    w.files.flushes = true;
}
BENCHMARK_CAPTURE(Write, with_flush, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Write, without_flush, false);

// The first write after the map was opened: the whole map kept in a backup
// as it was opened, then the byte written, flushed and read back.
void FirstWrite(benchmark::State& state)
{
    BenchWindow& w = bench();
    centre(w);
    w.setText("修改数据编辑框", QStringLiteral("05"));
    const CountPaints count(state, w);
    for (auto _ : state) {
        state.PauseTiming();
        w.removeBackups();
        w.open();
        BenchWindow::repaint();
        state.ResumeTiming();
        w.click("写入按钮");
        BenchWindow::repaint();
    }
    w.removeBackups();
}
BENCHMARK(FirstWrite)->Unit(benchmark::kMicrosecond);

// The write button's read-back alone: its byte read from the file again.
void WriteReadBack(benchmark::State& state)
{
    BenchWindow& w = bench();
    const quarnet::platform::FileNumber map = w.native.open(w.mapPath.toStdString());
    std::uint8_t byte = 0;
    for (auto _ : state) {
        if (w.native.readBytes(map, 4444, std::span(&byte, 1)) != 1)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(byte);
    }
    w.native.close(map);
}
BENCHMARK(WriteReadBack);

// Ctrl+Z and Ctrl+Y in turn on the write button, after one write: each an
// undo or a redo of that write, with the step onto its block, the page shown
// and the write made as the write button makes it.
void UndoRedo(benchmark::State& state, bool flush)
{
    BenchWindow& w = bench();
    centre(w);
    w.setText("修改数据编辑框", QStringLiteral("05"));
    w.click("写入按钮");
    QAbstractButton* write = w.button("写入按钮");
    write->setFocus(); // as a click with the mouse leaves it
    w.files.flushes = flush;
    bool undo = true;
    const CountPaints count(state, w);
    for (auto _ : state) {
        QTest::keyClick(write, undo ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        BenchWindow::repaint();
        undo = !undo;
    }
    w.files.flushes = true;
    if (!undo)
        QTest::keyClick(write, Qt::Key_Y, Qt::ControlModifier);
}
BENCHMARK_CAPTURE(UndoRedo, with_flush, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(UndoRedo, without_flush, false);

void BarePwriteFsync(benchmark::State& state)
{
    BenchWindow& w = bench();
    const int fd = ::open(w.mapPath.toLocal8Bit().constData(), O_RDWR);
    const off_t at = 68 + (3 * 546 + 5) * 8;
    const unsigned char byte = 5;
    for (auto _ : state) {
        if (::pwrite(fd, &byte, 1, at) != 1 || ::fsync(fd) != 0)
            state.SkipWithError("write failed");
    }
    ::close(fd);
}
BENCHMARK(BarePwriteFsync)->Unit(benchmark::kMicrosecond);

// For reference: the system calls of a flushed write as the program makes
// them (the end, the byte, the flush, the byte read back for the report)
// and one turn of the event loop, without any of the program's own work.
void BareWriteSyscalls(benchmark::State& state)
{
    BenchWindow& w = bench();
    const int fd = ::open(w.mapPath.toLocal8Bit().constData(), O_RDWR);
    const off_t at = 68 + (3 * 546 + 5) * 8;
    const unsigned char byte = 5;
    unsigned char back = 0;
    for (auto _ : state) {
        ::lseek(fd, 0, SEEK_END);
        if (::pwrite(fd, &byte, 1, at) != 1 || ::fdatasync(fd) != 0 || ::pread(fd, &back, 1, at) != 1)
            state.SkipWithError("write failed");
        BenchWindow::repaint();
    }
    ::close(fd);
}
BENCHMARK(BareWriteSyscalls)->Unit(benchmark::kMicrosecond);

void Locate(benchmark::State& state)
{
    BenchWindow& w = bench();
    centre(w);
    const CountPaints count(state, w);
    for (auto _ : state) {
        w.click("定位按钮");
        BenchWindow::repaint();
    }
}
BENCHMARK(Locate);

void RightClickPick(benchmark::State& state)
{
    BenchWindow& w = bench();
    centre(w);
    int x = 0;
    const CountPaints count(state, w);
    for (auto _ : state) {
        QTest::mouseClick(&w.window->canvas(), Qt::RightButton, {}, QPoint(10 + x, 20));
        BenchWindow::repaint();
        x = (x + 4) % 300;
    }
}
BENCHMARK(RightClickPick);

void MouseMove(benchmark::State& state)
{
    BenchWindow& w = bench();
    QWidget& canvas = w.window->canvas();
    int x = 0;
    const CountPaints count(state, w);
    for (auto _ : state) {
        const QPointF at(x, 100);
        QMouseEvent event(QEvent::MouseMove, at, canvas.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &event);
        BenchWindow::repaint();
        x = (x + 1) % 384;
    }
}
BENCHMARK(MouseMove);

// The open button's whole flow: the open file closed, the dialog's answer
// opened; what a start with a map path adds to the start.
void Open(benchmark::State& state)
{
    BenchWindow& w = bench();
    const CountPaints count(state, w);
    for (auto _ : state) {
        w.open();
        BenchWindow::repaint();
    }
}
BENCHMARK(Open);

void OpenAndClose(benchmark::State& state)
{
    BenchWindow& w = bench();
    const CountPaints count(state, w);
    for (auto _ : state) {
        w.open();
        w.click("关闭文件按钮");
        BenchWindow::repaint();
    }
    w.open();
}
BENCHMARK(OpenAndClose);

} // namespace

int main(int argc, char* argv[])
{
    return quarnet::bench::runBenchmarks(argc, argv);
}
