// Quarnet's start, as its main does it, until the map canvas is first painted;
// with a map path as its argument, that map opened as main opens it.
#include "FirstPaint.h"
#include "platform/NativeFiles.h"
#include "qt/MainWindow.h"
#include "qt/MapCanvasWidget.h"
#include "qt/OpeningFromOutside.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    quarnet::platform::NativeFiles files;
    quarnet::qt::MainWindow window(files);
    FirstPaintReporter reporter(window.canvas());
    if (const std::optional<QString> path = quarnet::qt::mapPathArgument(QApplication::arguments()))
        window.openMapFile(*path);
    window.show();
    return application.exec();
}
