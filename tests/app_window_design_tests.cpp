// The main window's menus as they are built, before the logic touches them.

#include <QAction>
#include <QBitmap>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/status_panels.h"
#include "platform/qt/toolbar_icons.h"
#include "ui/texts.h"

using platform::Menu;
using platform::qt::QtMainWindow;

namespace {

// The captions of a menu's entries in order; "-" for a separator, and a
// submenu followed by its own entries in brackets; shortcuts after a tab.
QString layoutOf(const QWidget* menu) {
    QStringList out;
    for (QAction* action : menu->actions()) {
        QString entry = action->isSeparator() ? QStringLiteral("-") : action->text();
        if (!action->shortcut().isEmpty()) entry += " " + action->shortcut().toString();
        if (action->menu()) entry += " [" + layoutOf(action->menu()) + "]";
        out << entry;
    }
    return out.join(", ");
}

TEST(WindowDesign, MenusHoldTheirItemsInOrderWithShortcutsAndInitialStates) {
    QtMainWindow window;
    EXPECT_EQ(layoutOf(window.widget()->menuBar()).toStdString(),
              "ファイル(&F) [開く(&O)... Ctrl+O, 保存(&S)... Ctrl+S, -, 終了], "
              "実行(&E) [開始(&E) F5, 停止(&S) F6, ステップ実行(&P) F8, 変化を促す(&A)], "
              "編集(&M) [切り取り(&X) Ctrl+X, コピー(&C) Ctrl+C, 貼り付け(&V) Ctrl+V], "
              "パターン(&P) [登録済(&D) [r-Pentomino], ランダム(&R), クリア(&C), 色(&L), 反転(&V) [左右(&R), 上下(&T)], "
              "回転(&T), -, 拡大(&X), 縮小(&E)]");
    // The separator before Expand is the one the board's pop-up hides.
    EXPECT_EQ(window.menu(Menu::Pattern)->actions().indexOf(window.menuAction(Menu::Bar3)), 6);
    EXPECT_EQ(layoutOf(window.popupMenu(platform::Popup::Popup1)).toStdString(), "リセット(&R)");
    for (int i = 0; i <= static_cast<int>(Menu::Popup1Reset); ++i) {
        const Menu item = static_cast<Menu>(i);
        EXPECT_EQ(window.menuEnabled(item), item != Menu::ExecStop) << i;
        EXPECT_EQ(window.menuChecked(item), item == Menu::ExecStimulate) << i;
    }
}

}  // namespace
