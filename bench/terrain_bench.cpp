// The map view with no map picture, drawing the demo map's own terrain: a
// page drawn through the real widgets with its repaint, and opening the map
// beside a plain sequential read of the whole file. Run from a folder that
// holds the demo map but not its picture (bench/run-all.sh makes one).

#include "BenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace {

using quarnet::bench::BenchWindow;
using quarnet::bench::bench;

// A calculation draws the page of its block again each time, as the file
// may have changed: a whole page of terrain and its repaint.
void TerrainPage(benchmark::State& state)
{
    BenchWindow& w = bench();
    if (w.window->editor().state().view.mapPicture != 0)
        state.SkipWithError("the map picture lies beside the benchmark");
    w.setText("起始像素点X编辑框", QStringLiteral("8736"));
    w.setText("起始像素点Y编辑框", QStringLiteral("6192"));
    w.click("起始区块位置计算按钮");
    BenchWindow::repaint();
    for (auto _ : state) {
        w.click("起始区块位置计算按钮");
        BenchWindow::repaint();
    }
}
BENCHMARK(TerrainPage)->Unit(benchmark::kMicrosecond);

// The open button's handler with no file open, as the user gets it: the
// file opened, its status line, the terrain of the page shown and the
// legend's colours. The close before each is not timed.
void OpenWithTerrain(benchmark::State& state)
{
    BenchWindow& w = bench();
    for (auto _ : state) {
        state.PauseTiming();
        w.click("关闭文件按钮");
        BenchWindow::repaint();
        state.ResumeTiming();
        w.open();
        BenchWindow::repaint();
    }
    w.open();
}
BENCHMARK(OpenWithTerrain)->Unit(benchmark::kMicrosecond);

// The whole file read front to back in 64 KiB pieces: what any look at all
// of the file would cost.
void BareSequentialRead(benchmark::State& state)
{
    BenchWindow& w = bench();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        const int fd = ::open(w.mapPath.toLocal8Bit().constData(), O_RDONLY);
        ssize_t got;
        while ((got = ::read(fd, buffer.data(), buffer.size())) > 0)
            benchmark::DoNotOptimize(buffer.data());
        ::close(fd);
    }
}
BENCHMARK(BareSequentialRead)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[])
{
    return quarnet::bench::runBenchmarks(argc, argv);
}
