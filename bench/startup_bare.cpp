// The limit for Quarnet's start: a bare Qt Widgets program that loads the same
// picture from its own folder and shows it in one widget.
#include "FirstPaint.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QLabel label;
    const QImage picture(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SANGO7.0.125.jpg")));
    label.setPixmap(QPixmap::fromImage(picture.copy(0, 0, 384, 240)));
    FirstPaintReporter reporter(label);
    label.show();
    return application.exec();
}
