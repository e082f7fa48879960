// For reference beside the limit: the bare program with one Chinese caption
// beside the picture, so that Qt's font set-up is in it too.
#include "FirstPaint.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* caption = new QLabel(QStringLiteral("当前地形:草原"), &window);
    auto* view = new QLabel(&window);
    const QImage picture(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SANGO7.0.125.jpg")));
    view->setPixmap(QPixmap::fromImage(picture.copy(0, 0, 384, 240)));
    layout->addWidget(caption);
    layout->addWidget(view);
    FirstPaintReporter reporter(*view);
    window.show();
    return application.exec();
}
