#pragma once

// Helpers for driving the real main window under the offscreen platform.

#include "platform/FaultInjectingFiles.h"
#include "platform/NativeFiles.h"
#include "qt/MainWindow.h"
#include "qt/MapCanvasWidget.h"
#include "support/Answers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quarnet::testing {

// The test picture: each 384 x 240 page of the map picture in one flat
// colour, so a JPEG keeps it and a pixel tells which page is shown.
inline QColor pageColour(int pageColumn, int pageRow)
{
    return QColor(40 + pageColumn * 40, 30 + pageRow * 30, 200 - pageColumn * 20 - pageRow * 10);
}

inline QString picturePathBesideTests()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SANGO7.0.125.jpg"));
}

inline bool writePagedPicture(const QString& path)
{
    QImage image(2184, 1548, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, pageColour(x / 384, y / 240).rgb());
    return image.save(path, "JPEG", 100);
}

// A map picture of noise, so a page drawn from the wrong place or with a
// wrong row shows.
inline bool writeTexturedPicture(const QString& path, int width = 2184, int height = 1548)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            // Noise: every row takes about the same share of the file.
            const unsigned noise = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
            image.setPixel(x, y, qRgb(noise & 0xFF, (noise >> 8) & 0xFF, (noise >> 16) & 0xFF));
        }
    return image.save(path, "JPEG", 90);
}

// The picture's pixels as a whole decode gives them.
inline QImage wholePicture(const QString& path)
{
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// Colours of a JPEG come back within a few steps.
inline bool near(QColor a, QColor b, int tolerance = 10)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

template <typename Widget>
Widget* findControl(const QWidget& window, const char* name)
{
    return window.findChild<Widget*>(QString::fromUtf8(name));
}

inline QString textOf(const QWidget& window, const char* name)
{
    if (auto* edit = findControl<QLineEdit>(window, name))
        return edit->text();
    if (auto* label = findControl<QLabel>(window, name))
        return label->text();
    return QStringLiteral("<no such control>");
}

inline void setTextOf(const QWidget& window, const char* name, const QString& text)
{
    findControl<QLineEdit>(window, name)->setText(text);
}

inline void click(const QWidget& window, const char* name)
{
    QTest::mouseClick(findControl<QAbstractButton>(window, name), Qt::LeftButton);
}

// Drags a file over a widget and drops it there, as a file manager does
// (the name offered as text too), and lets the window take it; whether the
// drag was accepted.
inline bool dropFile(QWidget* target, const QString& path)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(path);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    // The file is taken once the drop has ended.
    QCoreApplication::processEvents();
    return dropped.isAccepted();
}

inline QColor canvasPixel(const qt::MainWindow& window, int x, int y)
{
    return window.canvas().grab().toImage().pixelColor(x, y);
}

// A fresh real main window over real files that fail on demand; ending the
// program and the message boxes' texts are recorded instead of leaving the
// test's event loop or waiting for a click, and the open-file dialog is
// answered without being shown.
class WindowHarness {
public:
    // beforeShow runs on the window before it is shown.
    qt::MainWindow& make(const std::function<void(qt::MainWindow&)>& beforeShow = {})
    {
        exitCode.reset();
        messages.clear();
        questions.clear();
        answers.clear();
        whileAsking = {};
        fileDialogs.clear();
        fileAnswers.clear();
        nextAnswer_.reset();
        window_.reset();
        files.failWrites(false);
        files.failFlushes(false);
        qt::MainWindow::Surroundings surroundings {
            .answerOpenDialog = [this] { return std::exchange(nextAnswer_, std::nullopt); },
            .endProgram = [this](int code) { exitCode = code; },
            .showMessage = [this](const QString& text) { messages.push_back(text); },
            .answerQuestion =
                [this](const QString& text) {
                    questions.push_back(text);
                    if (whileAsking)
                        whileAsking();
                    return takeAnswer(answers, false);
                },
            .answerFileDialog =
                [this](FileKind kind, const QString& proposed) {
                    fileDialogs.push_back({kind, proposed});
                    return takeAnswer(fileAnswers, std::optional<QString>());
                },
        };
        if (realQuestionBoxes)
            surroundings.answerQuestion = nullptr;
        window_ = std::make_unique<qt::MainWindow>(files, std::move(surroundings));
        if (beforeShow)
            beforeShow(*window_);
        window_->show();
        return *window_;
    }

    // The next open-file dialog answers this path, or a cancel when it is
    // empty; unanswered, it is cancelled.
    void answerNextOpenDialog(std::optional<QString> path) { nextAnswer_ = std::move(path); }

    qt::MainWindow& window() { return *window_; }
    void reset() { window_.reset(); }

    // Types a start pixel and clicks the calculate button.
    void calculate(const char* x, const char* y)
    {
        setTextOf(*window_, "起始像素点X编辑框", QString::fromUtf8(x));
        setTextOf(*window_, "起始像素点Y编辑框", QString::fromUtf8(y));
        click(*window_, "起始区块位置计算按钮");
    }

    platform::NativeFiles native;
    platform::FaultInjectingFiles files {native};
    std::optional<int> exitCode;
    std::vector<QString> messages;
    // Yes/No questions asked, and the answers given in turn (No when none is
    // left); whileAsking runs while a question is open. With
    // realQuestionBoxes the window shows its own modal boxes instead.
    std::vector<QString> questions;
    std::vector<bool> answers;
    std::function<void()> whileAsking;
    bool realQuestionBoxes = false;
    // The other file dialogs: what for and what they proposed; answered in
    // turn, a cancel when no answer is left.
    struct FileDialog {
        FileKind kind;
        QString proposed;
    };
    std::vector<FileDialog> fileDialogs;
    std::vector<std::optional<QString>> fileAnswers;

private:
    std::optional<QString> nextAnswer_;
    std::unique_ptr<qt::MainWindow> window_;
};

} // namespace quarnet::testing
