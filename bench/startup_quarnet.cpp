// Quarnet's start, as its main does it, until the map canvas is first painted.
#include "FirstPaint.h"
#include "platform/NativeFiles.h"
#include "window/MainWindow.h"
#include "window/MapCanvasWidget.h"
#include "window/PicturePrefetch.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    auto mapPicture = quarnet::window::MainWindow::prefetchMapPicture();
    QApplication application(argc, argv);
    quarnet::platform::NativeFiles files;
    quarnet::window::MainWindow window(files, std::move(mapPicture));
    FirstPaintReporter reporter(window.canvas());
    window.show();
    return application.exec();
}
