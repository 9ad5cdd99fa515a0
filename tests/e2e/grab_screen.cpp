// SPDX-License-Identifier: MIT
// Saves the whole X screen (the root window), or one rectangle of it, as a
// PNG file:
//   grab_screen OUTPUT.png [X Y WIDTH HEIGHT]
// Used by the end-to-end tests to keep a picture of what the program showed
// and to compare one window (a menu's pop-up) before and after a change.
//   grab_screen --changes MILLISECONDS X Y WIDTH HEIGHT
// takes pictures of the rectangle for that long, one every few milliseconds,
// and prints "CHANGES PICTURES": how often a picture differed from the one
// before (for counting how often a window changes).
//   grab_screen --colours X Y WIDTH HEIGHT
// prints every colour in the rectangle as "RRGGBB COUNT", one a line, most
// frequent first (for finding marks of known colours on the screen).

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {
// A whole number >= minimum, or -1.
int number(const char* text, int minimum) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= minimum && value <= 100000 ? static_cast<int>(value) : -1;
}
}  // namespace

// The --changes mode.
int countChanges(QScreen* screen, int milliseconds, int x, int y, int width, int height) {
    QElapsedTimer clock;
    clock.start();
    QImage last = screen->grabWindow(0, x, y, width, height).toImage();
    long changes = 0, pictures = 1;
    for (; clock.elapsed() < milliseconds; ++pictures, QThread::msleep(3)) {
        QImage next = screen->grabWindow(0, x, y, width, height).toImage();
        changes += next != last;
        last = std::move(next);
    }
    std::printf("%ld %ld\n", changes, pictures);
    return 0;
}

// The --colours mode.
int countColours(QScreen* screen, int x, int y, int width, int height) {
    if (x < 0 || y < 0 || width < 1 || height < 1) return 2;
    const QImage picture = screen->grabWindow(0, x, y, width, height).toImage();
    std::map<QRgb, long> counts;
    for (int py = 0; py < picture.height(); ++py)
        for (int px = 0; px < picture.width(); ++px) ++counts[picture.pixel(px, py) & 0xFFFFFFu];
    std::vector<std::pair<QRgb, long>> sorted(counts.begin(), counts.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [colour, count] : sorted) std::printf("%06x %ld\n", static_cast<unsigned>(colour), count);
    return 0;
}

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (argc == 7 && std::string(argv[1]) == "--changes" && screen)
        return countChanges(screen, number(argv[2], 1), number(argv[3], 0), number(argv[4], 0), number(argv[5], 1),
                            number(argv[6], 1));
    if (argc == 6 && std::string(argv[1]) == "--colours" && screen)
        return countColours(screen, number(argv[2], 0), number(argv[3], 0), number(argv[4], 1), number(argv[5], 1));
    int x = 0, y = 0, width = -1, height = -1;  // -1: the whole screen
    if (argc == 6) {
        x = number(argv[2], 0);
        y = number(argv[3], 0);
        width = number(argv[4], 1);
        height = number(argv[5], 1);
    }
    if ((argc != 2 && argc != 6) || x < 0 || y < 0 || (argc == 6 && (width < 0 || height < 0))) {
        std::fprintf(stderr, "usage: grab_screen OUTPUT.png [X Y WIDTH HEIGHT]\n");
        return 2;
    }
    if (!screen) {
        std::fprintf(stderr, "grab_screen: no screen\n");
        return 1;
    }
    const QPixmap picture = screen->grabWindow(0, x, y, width, height);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "grab_screen: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
