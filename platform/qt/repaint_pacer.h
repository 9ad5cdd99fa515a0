// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace platform::qt {

// Spaces out the repaints of a widget whose content can change thousands of
// times a second (a continuous run) although a screen shows at most a
// hundred or so pictures a second. The first change after a quiet interval
// is shown at once; changes that follow within the interval are gathered and
// shown together when it is over, by a timer, so the last state always
// reaches the screen within one interval, also when the changes stop.
class RepaintPacer {
public:
    static constexpr int kIntervalMs = 10;

    RepaintPacer(QObject* owner, std::function<void()> show) : show_(std::move(show)) {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, owner, [this] { showNow(); });
    }

    // Something changed: show it now or at the end of the interval.
    void changed() {
        if (timer_.isActive()) return;
        const qint64 since = shown_.isValid() ? shown_.elapsed() : kIntervalMs;
        if (since >= kIntervalMs) showNow();
        else timer_.start(static_cast<int>(kIntervalMs - since));
    }

    void showNow() {
        timer_.stop();
        shown_.start();
        show_();
    }

private:
    QTimer timer_;
    QElapsedTimer shown_;
    std::function<void()> show_;
};

}  // namespace platform::qt
