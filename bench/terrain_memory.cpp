// Peak memory of the terrain view: the real window with no map picture, the
// demo map open and every page of it drawn once. Prints "peak-kib KIB", to
// set beside the start-up's peak with the picture (bench/run-all.sh).

#include "BenchWindow.h"

#include "mapfile/MapGeometry.h"

#include <cstdio>
#include <sys/resource.h>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    quarnet::bench::BenchWindow w;
    namespace g = quarnet::geometry;
    const int pageColumns = (g::mapWidth / g::pictureScale + g::pageWidth - 1) / g::pageWidth;
    const int pageRows = (g::mapHeight / g::pictureScale + g::pageHeight - 1) / g::pageHeight;
    for (int row = 0; row < pageRows; ++row)
        for (int column = 0; column < pageColumns; ++column) {
            w.setText("起始像素点X编辑框", QString::number(column * g::pageWidth * g::pictureScale));
            w.setText("起始像素点Y编辑框", QString::number(row * g::pageHeight * g::pictureScale));
            w.click("起始区块位置计算按钮");
            quarnet::bench::BenchWindow::repaint();
        }
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("picture %d pages %d peak-kib %ld\n", w.window->editor().state().view.mapPicture,
                pageColumns * pageRows, usage.ru_maxrss);
    return 0;
}
