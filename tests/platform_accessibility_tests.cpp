// SPDX-License-Identifier: MIT
// What screen readers find in the real windows (QAccessible over the
// offscreen platform), and the board's keys as the Qt view hands them on.

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QToolBar>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/qt/board_view.h"
#include "platform/qt/graph_window.h"
#include "platform/qt/qt_main_window.h"
#include "support/controller_fixture.h"

namespace {

std::string accessible(QObject* object, QAccessible::Text kind) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(kind).toStdString() : std::string();
}

// Every toolbar button has a name of its own and says what it does; the
// board, the status bar and the graph's parts are named too.
TEST(Accessibility, ButtonsAndPartsHaveNames) {
    platform::qt::QtMainWindow window;
    ControllerFixture program;
    window.setCommands(program.create().commands().looks());
    QToolBar* toolBar = window.widget()->findChild<QToolBar*>();
    ASSERT_TRUE(toolBar);
    std::set<std::string> names;
    int buttons = 0;
    for (QAction* action : toolBar->actions()) {
        if (action->isSeparator()) continue;
        ++buttons;
        QWidget* button = toolBar->widgetForAction(action);
        const std::string name = accessible(button, QAccessible::Name);
        EXPECT_FALSE(name.empty()) << action->toolTip().toStdString();
        EXPECT_FALSE(accessible(button, QAccessible::Description).empty()) << name;
        names.insert(name);
    }
    EXPECT_EQ(buttons, 18);
    EXPECT_EQ(names.size(), 18u);
    EXPECT_EQ(accessible(window.toolbarAction(platform::Button::Open) ? toolBar->widgetForAction(
                                                                           window.toolbarAction(platform::Button::Open))
                                                                     : nullptr,
                         QAccessible::Name),
              "開く");
    EXPECT_EQ(accessible(window.boardView(), QAccessible::Name), "盤面");
    window.describeBoard("盤面、x = 1, y = 2、死んだセル", "盤面 50 × 50 セル");
    EXPECT_EQ(accessible(window.boardView(), QAccessible::Name), "盤面、x = 1, y = 2、死んだセル");
    EXPECT_EQ(accessible(window.boardView(), QAccessible::Description), "盤面 50 × 50 セル");
    EXPECT_TRUE(window.boardView()->focusPolicy() & Qt::TabFocus);

    platform::qt::QtGraphWindow graph;
    EXPECT_EQ(accessible(graph.widget()->findChild<platform::qt::GraphPlot*>(), QAccessible::Name), "グラフ");
    EXPECT_FALSE(accessible(graph.widget()->findChild<QComboBox*>(), QAccessible::Name).empty());
}

// The view hands on the arrows (Shift kept) and a first Space; keys with
// Ctrl or Alt, a held Space and keys the handler refuses go on to the window.
TEST(Accessibility, BoardViewHandsOnItsKeys) {
    platform::qt::BoardView view;
    std::vector<std::pair<platform::BoardKey, bool>> heard;
    bool take = true;
    view.setKeyHandler([&](platform::BoardKey key, platform::Modifiers modifiers) {
        heard.emplace_back(key, modifiers.shift);
        return take;
    });
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers, bool repeat = false) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), repeat);
        event.ignore();
        QCoreApplication::sendEvent(&view, &event);
        return event.isAccepted();
    };
    EXPECT_TRUE(press(Qt::Key_Left, Qt::ShiftModifier));
    EXPECT_TRUE(press(Qt::Key_Down, Qt::KeypadModifier));
    EXPECT_FALSE(press(Qt::Key_Up, Qt::ControlModifier));
    EXPECT_TRUE(press(Qt::Key_Space, Qt::NoModifier));
    EXPECT_FALSE(press(Qt::Key_Space, Qt::NoModifier, true));
    take = false;
    EXPECT_FALSE(press(Qt::Key_Right, Qt::NoModifier));
    using K = platform::BoardKey;
    EXPECT_EQ(heard, (std::vector<std::pair<K, bool>>{{K::Left, true}, {K::Down, false}, {K::Toggle, false},
                                                       {K::Right, false}}));
}

}  // namespace
