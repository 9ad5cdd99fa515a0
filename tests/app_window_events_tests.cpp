// What the main window reports: board mouse events in board units, the
// repaint rule, menu items and shortcuts (dropped for disabled menus),
// toolbar clicks, the pattern item array, pop-ups, status-bar presses and
// closing.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "app/texts.h"
#include "app_window_support.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/status_panels.h"

using platform::Menu;
using platform::qt::QtMainWindow;
using window_tests::RecordingEvents;

namespace {

void send(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

// Shows the window, makes it active (shortcuts need that) and lets the first
// paint happen.
void showActive(QtMainWindow& window) {
    window.show();
    QApplication::setActiveWindow(window.widget());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.widget()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.widget()));
    QTest::qWait(20);
}

TEST(WindowEvents, BoardMouseEventsArriveInBoardUnitsWithButtonAndShiftMasks) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    window.setBoardScale(50);  // 50 cells across 480 pixels
    QWidget* board = window.boardView();
    const QPoint origin(2, 2);  // the drawing area starts inside the border

    send(board, QEvent::MouseButtonPress, origin + QPoint(240, 96), Qt::LeftButton, Qt::LeftButton);
    send(board, QEvent::MouseMove, origin + QPoint(0, 479), Qt::NoButton, Qt::LeftButton);
    send(board, QEvent::MouseMove, origin + QPoint(-20, 500), Qt::NoButton, Qt::LeftButton);  // dragged outside
    send(board, QEvent::MouseButtonRelease, origin + QPoint(-20, 500), Qt::LeftButton, Qt::NoButton);
    send(board, QEvent::MouseMove, origin + QPoint(48, 48), Qt::NoButton, Qt::NoButton);
    send(board, QEvent::MouseButtonPress, origin + QPoint(48, 48), Qt::RightButton, Qt::RightButton,
         Qt::ShiftModifier);
    send(board, QEvent::MouseButtonRelease, origin + QPoint(48, 48), Qt::RightButton, Qt::NoButton,
         Qt::ShiftModifier);
    EXPECT_EQ(events.log, (std::vector<std::string>{
                              "down 1 0 25 10",
                              "move 1 0 0 49.8958",
                              "move 1 0 -2.08333 52.0833",
                              "up 1 0 -2.08333 52.0833",
                              "move 0 0 5 5",
                              "down 2 1 5 5",
                              "up 2 1 5 5",
                          }));
}

TEST(WindowEvents, PressesOnTheBorderAreNotOnTheBoard) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    window.setBoardScale(10);
    QWidget* board = window.boardView();
    for (QPoint border : {QPoint(0, 0), QPoint(1, 100), QPoint(482, 5), QPoint(100, 483)}) {
        send(board, QEvent::MouseButtonPress, border, Qt::LeftButton, Qt::LeftButton);
        send(board, QEvent::MouseButtonRelease, border, Qt::LeftButton, Qt::NoButton);
    }
    EXPECT_TRUE(events.log.empty());
    // The first and last pixel of the drawing area are.
    send(board, QEvent::MouseButtonPress, QPoint(2, 2), Qt::LeftButton, Qt::LeftButton);
    send(board, QEvent::MouseButtonRelease, QPoint(481, 481), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(events.log, (std::vector<std::string>{"down 1 0 0 0", "up 1 0 9.97917 9.97917"}));
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

platform::PixelImage solidImage(platform::Rgb colour) {
    platform::PixelImage image;
    image.resize(480, 480);
    for (auto& pixel : image.pixels) pixel = 0xFF000000u | colour;
    return image;
}

TEST(WindowEvents, OwnPicturesRepaintWithoutAskingTheLogicAndOutsideRepaintsAskOnce) {
    QtMainWindow window;
    RecordingEvents events;
    const platform::PixelImage picture = solidImage(platform::rgb(10, 20, 30));
    // Like the logic: a repaint request from outside draws and shows the board.
    events.onExposed = [&] { window.showBoard(picture); };
    window.setEvents(&events);
    PaintCounter counter;
    window.boardView()->installEventFilter(&counter);
    showActive(window);
    EXPECT_GE(events.exposed, 1);  // shown for the first time

    events.exposed = 0;
    counter.paints = 0;
    for (int i = 0; i < 3; ++i) window.showBoard(picture);
    window.setFocusRect(platform::PixelRect{0, 0, 10, 10});
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 1000));
    QTest::qWait(20);
    EXPECT_EQ(events.exposed, 0);

    counter.paints = 0;
    window.boardView()->update();  // someone else wants it repainted
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 1000));
    QTest::qWait(50);  // the picture handed over while painting asks for no further paint
    EXPECT_EQ(events.exposed, 1);
    EXPECT_EQ(counter.paints, 1);

    window.boardView()->repaint();
    EXPECT_EQ(events.exposed, 2);
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
    EXPECT_EQ(at(100, 100), plain);
    // The outline: every other pixel of the edge inverted, the inside untouched.
    EXPECT_EQ(at(10, 20), inverted);
    EXPECT_EQ(at(11, 20), plain);
    EXPECT_EQ(at(12, 20), inverted);
    EXPECT_EQ(at(29, 39), inverted);
    EXPECT_EQ(at(10, 22), inverted);
    EXPECT_EQ(at(29, 21), inverted);
    EXPECT_EQ(at(15, 25), plain);
    EXPECT_EQ(at(30, 40), plain);
    // The sunken border around the drawing area is not the picture.
    EXPECT_NE(QColor(shown.pixel(0, 0)), plain);

    window.setFocusRect(std::nullopt);
    const QImage cleared = window.boardView()->grab().toImage();
    EXPECT_EQ(QColor(cleared.pixel(2 + 10, 2 + 20)), plain);
}

TEST(WindowEvents, ShortcutsWorkOnlyWhileTheItemAndItsMenuAreEnabled) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    showActive(window);
    QWidget* frame = window.widget();

    QTest::keyClick(frame, Qt::Key_F5);
    QTest::keyClick(frame, Qt::Key_F6);  // Stop starts disabled
    QTest::keyClick(frame, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(events.log, (std::vector<std::string>{RecordingEvents::menu(Menu::ExecStart),
                                                    RecordingEvents::menu(Menu::EditCut)}));

    // A run disables whole menus; their items' shortcuts must do nothing.
    events.log.clear();
    window.setMenuEnabled(Menu::Edit, false);
    window.setMenuEnabled(Menu::Pattern, false);
    window.setMenuEnabled(Menu::ExecStop, true);
    QTest::keyClick(frame, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(frame, Qt::Key_F6);
    window.menuAction(Menu::PatternReverseRL)->trigger();  // inside a submenu of the disabled menu
    EXPECT_EQ(events.log, std::vector<std::string>{RecordingEvents::menu(Menu::ExecStop)});

    events.log.clear();
    window.setMenuEnabled(Menu::Edit, true);
    window.setMenuEnabled(Menu::PatternReverse, false);
    window.setMenuEnabled(Menu::Pattern, true);
    QTest::keyClick(frame, Qt::Key_V, Qt::ControlModifier);
    window.menuAction(Menu::PatternReverseRL)->trigger();
    window.menuAction(Menu::PatternRotate)->trigger();
    EXPECT_EQ(events.log, (std::vector<std::string>{RecordingEvents::menu(Menu::EditPaste),
                                                    RecordingEvents::menu(Menu::PatternRotate)}));
}

TEST(WindowEvents, CheckMarkAndPressedButtonChangeOnlyWhenTheLogicSetsThem) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    window.menuAction(Menu::ExecStimulate)->trigger();
    EXPECT_TRUE(window.menuChecked(Menu::ExecStimulate));
    QTest::mouseClick(window.toolBar()->widgetForAction(window.toolbarAction("AutoStimulate")), Qt::LeftButton);
    EXPECT_TRUE(window.buttonPressed("AutoStimulate"));
    EXPECT_EQ(events.log, (std::vector<std::string>{RecordingEvents::menu(Menu::ExecStimulate), "button AutoStimulate"}));

    window.setMenuChecked(Menu::ExecStimulate, false);
    window.setButtonPressed("AutoStimulate", false);
    EXPECT_FALSE(window.menuChecked(Menu::ExecStimulate));
    EXPECT_FALSE(window.buttonPressed("AutoStimulate"));
    QTest::mouseClick(window.toolBar()->widgetForAction(window.toolbarAction("AutoStimulate")), Qt::LeftButton);
    EXPECT_FALSE(window.buttonPressed("AutoStimulate"));
}

TEST(WindowEvents, ToolbarButtonsReportTheirKeyOnlyWhileEnabledAndApartFromTheMenu) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    auto click = [&](const char* key) {
        QTest::mouseClick(window.toolBar()->widgetForAction(window.toolbarAction(key)), Qt::LeftButton);
    };
    click("Open");
    click("Stop");  // disabled at design
    click("Reversing right and left");
    window.setButtonEnabled("Stop", true);
    click("Stop");
    EXPECT_EQ(events.log, (std::vector<std::string>{"button Open", "button Stop"}));
    // Button and menu item keep separate states.
    window.setButtonEnabled("Start", false);
    EXPECT_TRUE(window.menuEnabled(Menu::ExecStart));
    window.setMenuEnabled(Menu::ExecStep, false);
    EXPECT_TRUE(window.buttonEnabled("Step"));
    // Unknown keys are ignored.
    window.setButtonEnabled("no such key", true);
    EXPECT_FALSE(window.buttonEnabled("no such key"));
}

TEST(WindowEvents, PatternItemsReportTheirCurrentIndex) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    for (const char* caption : {"Glider", "Glider gun", "-", "mine", texts::kRegisterPattern})
        window.addPatternItem(caption);
    ASSERT_EQ(window.patternItemCount(), 6);
    EXPECT_TRUE(window.patternItemAction(3)->isSeparator());
    EXPECT_EQ(window.patternItemCaption(3), "-");
    QMenu* submenu = window.menu(Menu::PatternCommon);
    EXPECT_EQ(submenu->actions().size(), 6);

    window.removePatternItem(4);  // "mine" went missing
    EXPECT_EQ(window.patternItemCaption(4), texts::kRegisterPattern);
    EXPECT_EQ(submenu->actions().size(), 5);
    window.patternItemAction(4)->trigger();
    window.patternItemAction(0)->trigger();
    window.setPatternItemCaption(1, "Renamed");
    EXPECT_EQ(window.patternItemCaption(1), "Renamed");

    window.setMenuEnabled(Menu::PatternCommon, false);  // no selection
    window.patternItemAction(1)->trigger();
    window.setMenuEnabled(Menu::PatternCommon, true);
    window.setMenuEnabled(Menu::Pattern, false);  // a run
    window.patternItemAction(1)->trigger();
    EXPECT_EQ(events.log, (std::vector<std::string>{"pattern 4", "pattern 0"}));
}

TEST(WindowEvents, OpeningEditOrPatternMenuAsksTheLogicFirst) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    showActive(window);
    for (Menu m : {Menu::Edit, Menu::Pattern, Menu::File}) {
        QMenu* menu = window.menu(m);
        menu->popup(QPoint(10, 10));
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 1000));
        menu->hide();
    }
    EXPECT_EQ(events.log, (std::vector<std::string>{"about " + std::to_string(static_cast<int>(Menu::Edit)),
                                                    "about " + std::to_string(static_cast<int>(Menu::Pattern))}));
}

TEST(WindowEvents, PopupsOpenAtThePointerAndReportTheChosenItem) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    showActive(window);

    // Choose "リセット(&R)" by its access key while the pop-up is open.
    QTimer::singleShot(50, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, Qt::Key_R);
    });
    window.showPopup(platform::Popup::Popup1);
    EXPECT_EQ(events.log, std::vector<std::string>{RecordingEvents::menu(Menu::Popup1Reset)});

    // The board's pop-up is the Pattern menu with the items the logic hid;
    // the logic refreshed it just before, so it is not asked again.
    events.log.clear();
    for (Menu m : {Menu::PatternRandom, Menu::PatternClear, Menu::Bar3, Menu::PatternExpand, Menu::PatternReduction})
        window.setMenuVisible(m, false);
    QStringList shown;
    QTimer::singleShot(50, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) return;
        for (QAction* action : popup->actions())
            if (action->isVisible()) shown << action->text();
        QTest::keyClick(popup, Qt::Key_Escape);
    });
    window.showPopup(platform::Popup::Pattern);
    EXPECT_EQ(shown, (QStringList{QString::fromUtf8(texts::kMenuPatternCommon), QString::fromUtf8(texts::kMenuPatternColor),
                                  QString::fromUtf8(texts::kMenuPatternReverse),
                                  QString::fromUtf8(texts::kMenuPatternRotate)}));
    EXPECT_TRUE(events.log.empty());
}

TEST(WindowEvents, StatusBarPressesArriveInStatusBarPixels) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    QWidget* status = window.statusPanels();
    const int secondPanel = window.panelLeft(2);
    send(status, QEvent::MouseButtonPress, QPoint(secondPanel - 1, 5), Qt::RightButton, Qt::RightButton);
    send(status, QEvent::MouseButtonPress, QPoint(secondPanel, 6), Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(events.log, (std::vector<std::string>{"status 2 0 " + std::to_string(secondPanel - 1) + " 5",
                                                    "status 1 1 " + std::to_string(secondPanel) + " 6"}));
    window.setPanelText(1, "世代 = 0");
    EXPECT_EQ(window.panelText(1), "世代 = 0");
}

TEST(WindowEvents, ClosingIsReportedOnceHoweverTheWindowCloses) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    window.show();
    window.close();
    window.close();
    window.widget()->close();
    EXPECT_EQ(events.log, std::vector<std::string>{"closing"});
    EXPECT_FALSE(window.widget()->isVisible());
}

TEST(WindowEvents, NothingIsReportedWithoutAnEventsObject) {
    QtMainWindow window;
    RecordingEvents events;
    window.setEvents(&events);
    window.setEvents(nullptr);
    showActive(window);
    QTest::keyClick(window.widget(), Qt::Key_F5);
    window.menuAction(Menu::FileExit)->trigger();
    window.patternItemAction(0)->trigger();
    QTest::mouseClick(window.toolBar()->widgetForAction(window.toolbarAction("Open")), Qt::LeftButton);
    send(window.boardView(), QEvent::MouseButtonPress, QPoint(50, 50), Qt::LeftButton, Qt::LeftButton);
    window.boardView()->repaint();
    window.close();
    EXPECT_TRUE(events.log.empty());
    EXPECT_EQ(events.exposed, 0);
}

}  // namespace
