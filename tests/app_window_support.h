#pragma once

// A WindowEvents that writes every call into a log, one line per call.

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/services.h"

namespace window_tests {

class RecordingEvents : public platform::WindowEvents {
public:
    std::vector<std::string> log;
    int exposed = 0;
    std::function<void()> onExposed;  // runs inside boardExposed, e.g. to show a new picture

    void menuTriggered(platform::Menu item) override { add("menu", static_cast<int>(item)); }
    void menuAboutToShow(platform::Menu menu) override { add("about", static_cast<int>(menu)); }
    void patternItemTriggered(int index) override { add("pattern", index); }
    void toolbarButtonClicked(const std::string& key) override { log.push_back("button " + key); }
    void boardMouseDown(int b, int s, float x, float y) override { mouse("down", b, s, x, y); }
    void boardMouseMove(int b, int s, float x, float y) override { mouse("move", b, s, x, y); }
    void boardMouseUp(int b, int s, float x, float y) override { mouse("up", b, s, x, y); }
    void boardExposed() override {
        ++exposed;
        if (onExposed) onExposed();
    }
    void statusBarMouse(int b, int s, int x, int y) override {
        std::ostringstream out;
        out << "status " << b << ' ' << s << ' ' << x << ' ' << y;
        log.push_back(out.str());
    }
    void windowClosing() override { log.push_back("closing"); }

    static std::string menu(platform::Menu item) { return "menu " + std::to_string(static_cast<int>(item)); }

private:
    void add(const char* what, int value) { log.push_back(std::string(what) + ' ' + std::to_string(value)); }
    void mouse(const char* what, int b, int s, float x, float y) {
        std::ostringstream out;
        out << what << ' ' << b << ' ' << s << ' ' << x << ' ' << y;
        log.push_back(out.str());
    }
};

}  // namespace window_tests
