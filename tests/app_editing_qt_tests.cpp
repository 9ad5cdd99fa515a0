// Mouse editing through real widget events: Form1 on the Qt main window
// (offscreen platform), mouse events sent to the board widget.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "app/form1.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "support/fakes.h"

using platform::Menu;
using platform::PixelRect;

namespace {

// One application for the whole test program, never destroyed: tearing it
// down among the other static objects at exit is not safe.
QApplication& application() {
    static int argc = 1;
    static char name[] = "app_editing_qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

struct RealWindow : ::testing::Test {
    std::unique_ptr<platform::qt::QtMainWindow> window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    fakes::FakeFileSystem files;
    std::unique_ptr<app::Form1> form;

    void SetUp() override {
        application();
        window = std::make_unique<platform::qt::QtMainWindow>();
        form = std::make_unique<app::Form1>(app::Form1::Services{*window, dialogs, clipboard, files},
                                            app::Form1::Options{"", 99});
        window->setEvents(form.get());
        ASSERT_TRUE(form->Form_Load());
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        window->setEvents(nullptr);
        form.reset();
        window.reset();
    }

    platform::qt::BoardView* board() { return window->boardView(); }

    // The middle of cell (x, y) on the 50 x 50 board, in the widget's pixels
    // (9.6 pixels a cell, inside the two-pixel border).
    static QPointF cellCentre(int x, int y) {
        const double border = platform::qt::BoardView::kBorder;
        return {border + (x + 0.5) * 9.6, border + (y + 0.5) * 9.6};
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QMouseEvent event(type, at, board()->mapToGlobal(at), button, held, modifiers);
        QApplication::sendEvent(board(), &event);
    }
    void press(QPointF at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        send(QEvent::MouseButtonPress, at, button, button, mods);
    }
    void moveHeld(QPointF at, Qt::MouseButtons held = Qt::LeftButton) {
        send(QEvent::MouseMove, at, Qt::NoButton, held);
    }
    void release(QPointF at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        send(QEvent::MouseButtonRelease, at, button, Qt::NoButton, mods);
    }
};

}  // namespace

TEST_F(RealWindow, DragSelectsInOrderAndShowsTheFocusRectangle) {
    press(cellCentre(10, 10));
    moveHeld(cellCentre(8, 14));
    moveHeld(cellCentre(5, 20));
    release(cellCentre(5, 20));
    const app::Selection& s = form->selection;
    EXPECT_EQ(s.SelLeft, 5);
    EXPECT_EQ(s.SelTop, 10);
    EXPECT_EQ(s.SelRight, 10);
    EXPECT_EQ(s.SelBottom, 20);
    EXPECT_FALSE(s.Selecting);
    EXPECT_EQ(board()->focusRect(), (PixelRect{48, 96, 106, 202}));
    EXPECT_TRUE(window->buttonEnabled("Cut"));
    EXPECT_TRUE(window->buttonEnabled("New registration"));
    EXPECT_EQ(window->panelText(3), "x = 5, y = 20");
}

TEST_F(RealWindow, DragOutOfTheBoardKeepsTheLastCellInside) {
    press(cellCentre(45, 45));
    moveHeld(cellCentre(49, 30));
    moveHeld({600.0, 200.0});  // beyond the right border
    release({600.0, 200.0});
    const app::Selection& s = form->selection;
    EXPECT_EQ(s.SelLeft, 45);
    EXPECT_EQ(s.SelTop, 30);
    EXPECT_EQ(s.SelRight, 49);
    EXPECT_EQ(s.SelBottom, 45);
}

TEST_F(RealWindow, ShiftClickTogglesTheCellAndSelectsIt) {
    for (auto& c : form->board.Cells) c = {};
    form->board.cell(7, 9) = {1, 1, 2, 3};
    press(cellCentre(7, 9), Qt::LeftButton, Qt::ShiftModifier);
    release(cellCentre(7, 9), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(form->board.cell(7, 9), engine::CellRecord{});
    EXPECT_EQ(form->selection.SelLeft, 7);
    EXPECT_EQ(form->selection.SelTop, 9);
    EXPECT_EQ(form->selection.SelRight, 7);
    EXPECT_EQ(form->selection.SelBottom, 9);

    press(cellCentre(3, 4), Qt::LeftButton, Qt::ShiftModifier);
    release(cellCentre(3, 4), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(form->board.cell(3, 4).live());
    EXPECT_EQ(form->board.Population(), 1);
    EXPECT_EQ(window->panelText(2), "セル数 = 1");
}

// A right click selects the cell and opens the Pattern menu as a pop-up
// without the board-wide commands; they are back once it has closed.
TEST_F(RealWindow, RightClickOpensThePatternPopup) {
    bool sawPopup = false;
    bool randomHidden = false;
    bool rotateShown = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) return;
        sawPopup = popup == window->popupMenu(platform::Popup::Pattern);
        randomHidden = !window->menuVisible(Menu::PatternRandom) && !window->menuVisible(Menu::Bar3);
        rotateShown = window->menuVisible(Menu::PatternRotate);
        popup->close();
    });
    closer.start();
    press(cellCentre(12, 13), Qt::RightButton);
    EXPECT_EQ(form->selection.SelLeft, 12);
    EXPECT_EQ(form->selection.SelTop, 13);
    release(cellCentre(12, 13), Qt::RightButton);
    closer.stop();
    EXPECT_TRUE(sawPopup);
    EXPECT_TRUE(randomHidden);
    EXPECT_TRUE(rotateShown);
    EXPECT_TRUE(window->menuVisible(Menu::PatternRandom));
    EXPECT_TRUE(window->menuVisible(Menu::Bar3));
    EXPECT_EQ(form->selection.SelLeft, 12);
}

TEST_F(RealWindow, HoverShowsTheCellAndItsColour) {
    form->board.cell(12, 7) = {1, 10, 200, 3};
    send(QEvent::MouseMove, cellCentre(12, 7), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(window->panelText(3), "x = 12, y = 7");
    EXPECT_EQ(window->panelText(4), "RGB = &H0AC803");
}
