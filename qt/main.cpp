#include "MainWindow.h"
#include "platform/NativeFiles.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarnet"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quarnet.Quarnet"));

    quarnet::platform::NativeFiles files;
    quarnet::qt::MainWindow window(files);
    window.show();
    application.exec();
    // Both ways of ending close the file and end with exit code 0.
    return 0;
}
