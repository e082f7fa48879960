#include "MainWindow.h"
#include "OpeningFromOutside.h"
#include "platform/NativeFiles.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarnet"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quarnet.Quarnet"));

    quarnet::platform::NativeFiles files;
    // quarnet PATH: the map opens as if chosen in the open-file dialog,
    // before the window first shows.
    const QString path = quarnet::qt::mapPathArgument(QApplication::arguments()).value_or(QString());
    quarnet::qt::MainWindow window(files, {}, path);
    window.show();
    application.exec();
    // Both ways of ending close the file and end with exit code 0.
    return 0;
}
