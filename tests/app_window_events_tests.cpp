// What the main window reports: board mouse events in board units, the
// repaint rule, menu items and shortcuts (dropped for disabled menus),
// toolbar clicks, the pattern item array, pop-ups, status-bar presses and
// closing.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <sstream>

#include "ui/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/status_panels.h"

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
    static std::string menu(Menu item) { return "menu " + std::to_string(static_cast<int>(item)); }
    void menuTriggered(Menu item) override { log.push_back(menu(item)); }
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

void send(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

// A window reporting to `events`, shown and active when asked (shortcuts need
// that) with its first paint done.
struct Window {
    QtMainWindow window;
    RecordingEvents events;
    explicit Window(bool active = false) {
        window.setEvents(&events);
        if (!active) return;
        window.show();
        QApplication::setActiveWindow(window.widget());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.widget()));
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.widget()));
        QTest::qWait(20);
    }
    void click(const char* key) {
        QTest::mouseClick(window.toolBar()->widgetForAction(window.toolbarAction(key)), Qt::LeftButton);
    }
};

platform::PixelImage solidImage(platform::Rgb colour) {
    platform::PixelImage image;
    image.resize(480, 480);
    for (auto& pixel : image.pixels) pixel = 0xFF000000u | colour;
    return image;
}

TEST(WindowEvents, BoardMouseEventsArriveInBoardUnitsWithButtonAndShiftMasks) {
    Window w;
    w.window.setBoardScale(50);  // 50 cells across 480 pixels
    QWidget* board = w.window.boardView();
    const QPoint origin(2, 2);  // the drawing area starts inside the border
    send(board, QEvent::MouseButtonPress, origin + QPoint(240, 96), Qt::LeftButton, Qt::LeftButton);
    send(board, QEvent::MouseMove, origin + QPoint(-20, 500), Qt::NoButton, Qt::LeftButton);  // dragged outside
    send(board, QEvent::MouseButtonRelease, origin + QPoint(-20, 500), Qt::LeftButton, Qt::NoButton);
    send(board, QEvent::MouseMove, origin + QPoint(48, 48), Qt::NoButton, Qt::NoButton);
    send(board, QEvent::MouseButtonPress, origin + QPoint(48, 48), Qt::RightButton, Qt::RightButton,
         Qt::ShiftModifier);
    send(board, QEvent::MouseButtonRelease, origin + QPoint(479, 479), Qt::RightButton, Qt::NoButton,
         Qt::ShiftModifier);
    // Presses on the border are not on the board.
    for (QPoint border : {QPoint(0, 0), QPoint(1, 100), QPoint(482, 5), QPoint(100, 483)})
        send(board, QEvent::MouseButtonPress, border, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(w.events.log, (Log{"down 1 0 25 10", "move 1 0 -2.08333 52.0833", "up 1 0 -2.08333 52.0833",
                                 "move 0 0 5 5", "down 2 1 5 5", "up 2 1 49.8958 49.8958"}));
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// A picture the logic hands over is shown without asking the logic again; a
// repaint someone else wants asks it once (it draws and hands over a picture).
TEST(WindowEvents, OwnPicturesRepaintWithoutAskingTheLogicAndOutsideRepaintsAskOnce) {
    Window w;
    const platform::PixelImage picture = solidImage(platform::rgb(10, 20, 30));
    w.events.onExposed = [&] { w.window.showBoard(picture); };
    PaintCounter counter;
    w.window.boardView()->installEventFilter(&counter);
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.widget()));
    QTest::qWait(20);
    EXPECT_GE(w.events.exposed, 1);  // shown for the first time

    w.events.exposed = 0;
    counter.paints = 0;
    for (int i = 0; i < 3; ++i) w.window.showBoard(picture);
    w.window.setFocusRect(platform::PixelRect{0, 0, 10, 10});
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 1000));
    QTest::qWait(20);
    EXPECT_EQ(w.events.exposed, 0);

    counter.paints = 0;
    w.window.boardView()->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 1000));
    QTest::qWait(50);  // the picture handed over while painting asks for no further paint
    EXPECT_EQ(w.events.exposed, 1);
    EXPECT_EQ(counter.paints, 1);
    w.window.boardView()->repaint();
    EXPECT_EQ(w.events.exposed, 2);
}

TEST(WindowEvents, BoardShowsThePictureAndAnInvertingDottedFocusRectangle) {
    QtMainWindow window;
    platform::PixelImage picture = solidImage(platform::rgb(0x10, 0x80, 0xF0));
    window.showBoard(picture);
    picture.pixels.assign(picture.pixels.size(), 0);  // the window keeps its own copy
    window.setFocusRect(platform::PixelRect{10, 20, 30, 40});  // right and bottom exclusive
    const QImage shown = window.boardView()->grab().toImage();
    auto at = [&](int x, int y) { return QColor(shown.pixel(2 + x, 2 + y)); };
    const QColor plain(0x10, 0x80, 0xF0), inverted(0xEF, 0x7F, 0x0F);
    // Every other pixel of the edge inverted, the inside untouched.
    for (auto [x, y] : {std::pair{10, 20}, {12, 20}, {29, 39}, {10, 22}, {29, 21}}) EXPECT_EQ(at(x, y), inverted);
    for (auto [x, y] : {std::pair{11, 20}, {15, 25}, {30, 40}, {100, 100}}) EXPECT_EQ(at(x, y), plain);
    EXPECT_NE(QColor(shown.pixel(0, 0)), plain);  // the sunken border is not the picture
    window.setFocusRect(std::nullopt);
    EXPECT_EQ(QColor(window.boardView()->grab().toImage().pixel(2 + 10, 2 + 20)), plain);
}

TEST(WindowEvents, ShortcutsWorkOnlyWhileTheItemAndItsMenuAreEnabled) {
    Window w(true);
    QWidget* frame = w.window.widget();
    QTest::keyClick(frame, Qt::Key_F5);
    QTest::keyClick(frame, Qt::Key_F6);  // Stop starts disabled
    QTest::keyClick(frame, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w.events.log, (Log{RecordingEvents::menu(Menu::ExecStart), RecordingEvents::menu(Menu::EditCut)}));

    // A run disables whole menus; their items' shortcuts must do nothing.
    w.events.log.clear();
    w.window.setMenuEnabled(Menu::Edit, false);
    w.window.setMenuEnabled(Menu::Pattern, false);
    w.window.setMenuEnabled(Menu::ExecStop, true);
    QTest::keyClick(frame, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_F6);
    w.window.menuAction(Menu::PatternReverseRL)->trigger();  // inside a submenu of the disabled menu
    EXPECT_EQ(w.events.log, Log{RecordingEvents::menu(Menu::ExecStop)});

    w.events.log.clear();
    w.window.setMenuEnabled(Menu::Pattern, true);
    w.window.setMenuEnabled(Menu::PatternReverse, false);
    w.window.menuAction(Menu::PatternReverseRL)->trigger();
    w.window.menuAction(Menu::PatternRotate)->trigger();
    EXPECT_EQ(w.events.log, Log{RecordingEvents::menu(Menu::PatternRotate)});
}

// Buttons report their key only while enabled; they keep states apart from
// the menu items, and the check mark and the pressed state change only when
// the logic sets them.
TEST(WindowEvents, ToolbarButtonsAndCheckMarks) {
    Window w;
    w.click("Open");
    w.click("Stop");  // disabled at design
    w.window.setButtonEnabled("Stop", true);
    w.click("Stop");
    w.window.menuAction(Menu::ExecStimulate)->trigger();
    w.click("AutoStimulate");
    EXPECT_EQ(w.events.log,
              (Log{"button Open", "button Stop", RecordingEvents::menu(Menu::ExecStimulate), "button AutoStimulate"}));
    EXPECT_TRUE(w.window.menuChecked(Menu::ExecStimulate));
    EXPECT_TRUE(w.window.buttonPressed("AutoStimulate"));
    w.window.setButtonPressed("AutoStimulate", false);
    w.click("AutoStimulate");
    EXPECT_FALSE(w.window.buttonPressed("AutoStimulate"));

    w.window.setButtonEnabled("Start", false);
    EXPECT_TRUE(w.window.menuEnabled(Menu::ExecStart));
    w.window.setMenuEnabled(Menu::ExecStep, false);
    EXPECT_TRUE(w.window.buttonEnabled("Step"));
}

TEST(WindowEvents, PatternItemsReportTheirCurrentIndex) {
    Window w;
    for (const char* caption : {"Glider", "-", "mine", texts::kRegisterPattern}) w.window.addPatternItem(caption);
    EXPECT_TRUE(w.window.patternItemAction(2)->isSeparator());
    w.window.removePatternItem(3);  // "mine" went missing
    EXPECT_EQ(w.window.patternItemCaption(3), texts::kRegisterPattern);
    EXPECT_EQ(w.window.menu(Menu::PatternCommon)->actions().size(), 4);
    w.window.patternItemAction(3)->trigger();
    w.window.patternItemAction(0)->trigger();
    w.window.setMenuEnabled(Menu::PatternCommon, false);  // no selection
    w.window.patternItemAction(1)->trigger();
    EXPECT_EQ(w.events.log, (Log{"pattern 3", "pattern 0"}));
}

TEST(WindowEvents, OpeningEditOrPatternMenuAsksTheLogicFirst) {
    Window w(true);
    for (Menu m : {Menu::Edit, Menu::Pattern, Menu::File}) {
        QMenu* menu = w.window.menu(m);
        menu->popup(QPoint(10, 10));
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
        menu->hide();
    }
    EXPECT_EQ(w.events.log, (Log{"about " + std::to_string(static_cast<int>(Menu::Edit)),
                                 "about " + std::to_string(static_cast<int>(Menu::Pattern))}));
}

TEST(WindowEvents, PopupsOpenAtThePointerAndReportTheChosenItem) {
    Window w(true);
    // Choose "リセット(&R)" by its access key while the pop-up is open.
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, Qt::Key_R);
    });
    w.window.showPopup(platform::Popup::Popup1);
    EXPECT_EQ(w.events.log, Log{RecordingEvents::menu(Menu::Popup1Reset)});

    // The board's pop-up is the Pattern menu with the items the logic hid;
    // the logic refreshed it just before, so it is not asked again.
    w.events.log.clear();
    for (Menu m : {Menu::PatternRandom, Menu::PatternClear, Menu::Bar3, Menu::PatternExpand, Menu::PatternReduction})
        w.window.setMenuVisible(m, false);
    QStringList shown;
    QTimer::singleShot(50, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) return;
        for (QAction* action : popup->actions())
            if (action->isVisible()) shown << action->text();
        QTest::keyClick(popup, Qt::Key_Escape);
    });
    w.window.showPopup(platform::Popup::Pattern);
    EXPECT_EQ(shown.join(", ").toStdString(), "登録済(&D), 色(&L), 反転(&V), 回転(&T)");
    EXPECT_TRUE(w.events.log.empty());
}

TEST(WindowEvents, StatusBarPressesAndClosingAreReported) {
    Window w;
    QWidget* status = w.window.statusPanels();
    const int second = w.window.panelLeft(2);
    send(status, QEvent::MouseButtonPress, QPoint(second - 1, 5), Qt::RightButton, Qt::RightButton);
    send(status, QEvent::MouseButtonPress, QPoint(second, 6), Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    w.window.show();
    w.window.close();
    w.window.close();
    w.window.widget()->close();  // closing is reported once however the window closes
    EXPECT_EQ(w.events.log, (Log{"status 2 0 " + std::to_string(second - 1) + " 5",
                                 "status 1 1 " + std::to_string(second) + " 6", "closing"}));
    EXPECT_FALSE(w.window.widget()->isVisible());
}

}  // namespace
