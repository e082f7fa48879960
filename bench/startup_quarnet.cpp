// Quarnet's start, as its main does it, until the map canvas is first painted.
#include "FirstPaint.h"
#include "platform/NativeFiles.h"
#include "qt/MainWindow.h"
#include "qt/MapCanvasWidget.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    quarnet::platform::NativeFiles files;
    quarnet::qt::MainWindow window(files);
    FirstPaintReporter reporter(window.canvas());
    window.show();
    return application.exec();
}
