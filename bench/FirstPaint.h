#pragma once

// Reports the first paint of a widget: the wall-clock time in nanoseconds and
// the peak resident memory in KiB, printed as "first-paint NS KIB", then
// leaves the event loop. The launcher compares the time with the moment it
// started the process.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

class FirstPaintReporter final : public QObject {
public:
    explicit FirstPaintReporter(QWidget& widget) { widget.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Once this paint has been handled and flushed to the screen.
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                rusage usage {};
                ::getrusage(RUSAGE_SELF, &usage);
                std::printf("first-paint %lld %ld\n",
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                            usage.ru_maxrss);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};
