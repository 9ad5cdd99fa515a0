// SPDX-License-Identifier: MIT
#include "platform/qt/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace platform::qt {

namespace {

// The part of the top edge the user must be able to grab, in pixels.
constexpr int64_t kGrabWidth = 100;

// A rectangle in 64-bit coordinates, half open, so that no sum overflows
// whatever a damaged value holds.
struct Span {
    int64_t left, top, right, bottom;
};

Span SpanOf(const QRect& r) {
    return {r.x(), r.y(), int64_t{r.x()} + r.width(), int64_t{r.y()} + r.height()};
}

int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) { return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0)); }

int64_t Area(const Span& a, const Span& b) {
    return Overlap(a.left, a.right, b.left, b.right) * Overlap(a.top, a.bottom, b.top, b.bottom);
}

// Distance (squared) from a point to a rectangle.
int64_t Distance(int64_t x, int64_t y, const Span& s) {
    const int64_t dx = x < s.left ? s.left - x : x >= s.right ? x - s.right + 1 : 0;
    const int64_t dy = y < s.top ? s.top - y : y >= s.bottom ? y - s.bottom + 1 : 0;
    return dx * dx + dy * dy;
}

// Whether the user can see and move the window where it is.
bool Reachable(const Span& w, const QList<QRect>& screens) {
    bool grabbable = false;
    int64_t visible = 0;
    const int64_t width = w.right - w.left, height = w.bottom - w.top;
    for (const QRect& screen : screens) {
        const Span s = SpanOf(screen);
        if (w.top >= s.top && w.top < s.bottom &&
            Overlap(w.left, w.right, s.left, s.right) >= std::min(width, kGrabWidth))
            grabbable = true;
        visible += Area(w, s);
    }
    return grabbable && 2 * visible >= width * height;
}

int64_t Clamp(int64_t value, int64_t low, int64_t high) { return high < low ? low : std::clamp(value, low, high); }

}  // namespace

std::optional<QRect> FitToScreens(const QRect& saved, const QList<QRect>& screens, const QSize& smallest) {
    if (saved.width() <= 0 || saved.height() <= 0 || screens.isEmpty()) return std::nullopt;
    const Span was = SpanOf(saved);

    // The screen it was on: the one it overlaps most, else the nearest.
    const QRect* home = nullptr;
    int64_t best = -1;
    for (const QRect& screen : screens) {
        if (screen.isEmpty()) continue;
        const int64_t area = Area(was, SpanOf(screen));
        if (area > best) best = area, home = &screen;
    }
    if (!home) return std::nullopt;
    if (best == 0) {
        int64_t nearest = INT64_MAX;
        for (const QRect& screen : screens) {
            if (screen.isEmpty()) continue;
            const int64_t d = Distance(was.left, was.top, SpanOf(screen));
            if (d < nearest) nearest = d, home = &screen;
        }
    }

    const int width = std::max(std::min(saved.width(), home->width()), smallest.width());
    const int height = std::max(std::min(saved.height(), home->height()), smallest.height());
    // A window that had to shrink was not where the user saw it: it goes
    // wholly onto its screen. Otherwise it stays where it was, if reachable.
    const bool shrunk = width < saved.width() || height < saved.height();
    const Span sized{was.left, was.top, was.left + width, was.top + height};
    if (!shrunk && Reachable(sized, screens)) return QRect(saved.x(), saved.y(), width, height);

    const Span s = SpanOf(*home);
    const auto x = static_cast<int>(Clamp(was.left, s.left, s.right - width));
    const auto y = static_cast<int>(Clamp(was.top, s.top, s.bottom - height));
    return QRect(x, y, width, height);
}

bool RestoreFittedGeometry(QWidget& window, const QByteArray& saved) {
    if (saved.isEmpty()) return false;
    const QRect first = window.geometry();
    const Qt::WindowStates firstState = window.windowState();
    // Restoring a window that is not shown only records its geometry: no
    // picture of that size is made before it is fitted below.
    if (!window.restoreGeometry(saved)) return false;

    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
    const QSize smallest = window.minimumSizeHint().expandedTo(window.minimumSize());
    const std::optional<QRect> fitted = FitToScreens(window.normalGeometry(), screens, smallest);
    if (!fitted) {
        window.setWindowState(firstState);
        window.setGeometry(first);
        return false;
    }
    if (*fitted == window.normalGeometry()) return true;
    // A maximised or full-screen window takes its normal geometry back when
    // the user leaves that state: it is fitted too.
    const Qt::WindowStates state = window.windowState();
    const Qt::WindowStates whole = Qt::WindowMaximized | Qt::WindowFullScreen;
    if (state & whole) window.setWindowState(state & ~whole);
    window.setGeometry(*fitted);
    if (state & whole) window.setWindowState(state);
    return true;
}

}  // namespace platform::qt
