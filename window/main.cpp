#include "MainWindow.h"
#include "PicturePrefetch.h"
#include "platform/NativeFiles.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The map picture decodes on the second core while Qt starts.
    auto mapPicture = quarnet::window::MainWindow::prefetchMapPicture();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarnet"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quarnet.Quarnet"));

    quarnet::platform::NativeFiles files;
    quarnet::window::MainWindow window(files, std::move(mapPicture));
    window.show();
    application.exec();
    // Both ways of ending close the file and end with exit code 0.
    return 0;
}
