// What the main window reports: board mouse events in board units, and menu
// items and shortcuts (dropped for disabled menus).

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <sstream>

#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/status_panels.h"
#include "ui/texts.h"

using platform::Menu;
using platform::qt::QtMainWindow;
using Log = std::vector<std::string>;

namespace {

// A WindowEvents that writes every call into a log, one line per call.
struct RecordingEvents : platform::WindowEvents {
    Log log;
    int exposed = 0;
    std::function<void()> onExposed;  // runs inside boardExposed, e.g. to show a new picture

    template <typename... Values>
    void add(const char* what, Values... values) {
        std::ostringstream out;
        out << what;
        ((out << ' ' << values), ...);
        log.push_back(out.str());
    }
    void menuTriggered(Menu item) override { add("menu", static_cast<int>(item)); }
    void menuAboutToShow(Menu item) override { add("about", static_cast<int>(item)); }
    void patternItemTriggered(int index) override { add("pattern", index); }
    void toolbarButtonClicked(const std::string& key) override { add("button", key); }
    void boardMouseDown(int b, int s, float x, float y) override { add("down", b, s, x, y); }
    void boardMouseMove(int b, int s, float x, float y) override { add("move", b, s, x, y); }
    void boardMouseUp(int b, int s, float x, float y) override { add("up", b, s, x, y); }
    void boardExposed() override {
        ++exposed;
        if (onExposed) onExposed();
    }
    void statusBarMouse(int b, int s, int x, int y) override { add("status", b, s, x, y); }
    void windowClosing() override { add("closing"); }
};
std::string menu(Menu item) { return "menu " + std::to_string(static_cast<int>(item)); }

void send(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

// A window reporting to `events`, shown and active when asked (shortcuts need that).
struct Window {
    QtMainWindow window;
    RecordingEvents events;
    explicit Window(bool active = false) {
        window.setEvents(&events);
        if (!active) return;
        window.show();
        QApplication::setActiveWindow(window.widget());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.widget()));
    }
};

TEST(WindowEvents, BoardMouseEventsArriveInBoardUnitsWithButtonAndShiftMasks) {
    Window w;
    w.window.setBoardScale(50);  // 50 cells across 480 pixels
    QWidget* board = w.window.boardView();
    const QPoint origin(2, 2);  // the drawing area starts inside the border
    send(board, QEvent::MouseButtonPress, origin + QPoint(240, 96), Qt::LeftButton, Qt::LeftButton);
    send(board, QEvent::MouseMove, origin + QPoint(-20, 500), Qt::NoButton, Qt::LeftButton);  // dragged outside
    send(board, QEvent::MouseButtonRelease, origin + QPoint(-20, 500), Qt::LeftButton, Qt::NoButton);
    send(board, QEvent::MouseButtonPress, origin + QPoint(479, 479), Qt::RightButton, Qt::RightButton,
         Qt::ShiftModifier);
    send(board, QEvent::MouseButtonPress, QPoint(1, 100), Qt::LeftButton, Qt::LeftButton);  // on the border
    EXPECT_EQ(w.events.log, (Log{"down 1 0 25 10", "move 1 0 -2.08333 52.0833", "up 1 0 -2.08333 52.0833",
                                 "down 2 1 49.8958 49.8958"}));
}

TEST(WindowEvents, ShortcutsWorkOnlyWhileTheItemAndItsMenuAreEnabled) {
    Window w(true);
    QWidget* frame = w.window.widget();
    QTest::keyClick(frame, Qt::Key_F5);
    QTest::keyClick(frame, Qt::Key_F6);  // Stop starts disabled
    QTest::keyClick(frame, Qt::Key_X, Qt::ControlModifier);
    // A run disables whole menus; their items' shortcuts must do nothing.
    w.window.setMenuEnabled(Menu::Edit, false);
    w.window.setMenuEnabled(Menu::Pattern, false);
    w.window.setMenuEnabled(Menu::ExecStop, true);
    QTest::keyClick(frame, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_F6);
    w.window.menuAction(Menu::PatternReverseRL)->trigger();  // inside a submenu of the disabled menu
    EXPECT_EQ(w.events.log, (Log{menu(Menu::ExecStart), menu(Menu::EditCut), menu(Menu::ExecStop)}));
}

}  // namespace
