// SPDX-License-Identifier: MIT
// The Qt window's menu bar, pop-up menu and toolbar, as built from the
// command table.

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <gtest/gtest.h>

#include <string>

#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "support/controller_fixture.h"

namespace {

// One line per entry, indented by its depth: caption, shortcut, and its
// first state when it is not plainly enabled.
void listMenu(const QList<QAction*>& actions, int depth, std::string& out) {
    for (const QAction* a : actions) {
        out += std::string(static_cast<std::size_t>(depth) * 2, ' ');
        if (a->isSeparator()) {
            out += "-\n";
            continue;
        }
        out += a->text().toStdString();
        if (!a->shortcut().isEmpty())
            out.append(" ").append(a->shortcut().toString(QKeySequence::PortableText).toStdString());
        if (!a->isEnabled()) out += " (off)";
        if (a->isChecked()) out += " (checked)";
        out += "\n";
        if (a->menu()) listMenu(a->menu()->actions(), depth + 1, out);
    }
}

TEST(MainWindow, MenusAndToolbarAsShownAtStartUp) {
    platform::qt::QtMainWindow window;
    ControllerFixture program;  // the commands as the program describes them
    window.setCommands(program.create().commands().looks());
    std::string menus;
    listMenu(window.widget()->menuBar()->actions(), 0, menus);
    listMenu({window.popupMenu(platform::Popup::Popup1)->menuAction()}, 0, menus);
    EXPECT_EQ(menus,
              "ファイル(&F)\n  開く(&O)... Ctrl+O\n  保存(&S)... Ctrl+S\n  名前を付けて保存(&A)... Ctrl+Shift+S\n"
              "  前回の盤面を復元(&R)\n  最近使ったファイル(&J)\n"
              "    \n    \n    \n    \n    \n    \n    \n    \n  -\n  終了\n"
              "実行(&E)\n  開始(&E) F5\n  停止(&S) F6 (off)\n  ステップ実行(&P) F8\n  変化を促す(&A) (checked)\n"
              "  1世代戻る(&B) Shift+F8 (off)\n"
              "  -\n  速度(&V)\n    1 世代/秒\n    2 世代/秒\n    5 世代/秒\n    10 世代/秒\n    20 世代/秒\n"
              "    50 世代/秒\n    100 世代/秒\n    200 世代/秒\n    500 世代/秒\n    1,000 世代/秒\n    最高速 (checked)\n"
              "編集(&M)\n  切り取り(&X) Ctrl+X\n  コピー(&C) Ctrl+C\n  貼り付け(&V) Ctrl+V\n"
              "  -\n  元に戻す(&U) Ctrl+Z (off)\n  やり直し(&R) Ctrl+Y (off)\n"
              "パターン(&P)\n  登録済(&D)\n    r-Pentomino\n  ランダム(&R)\n  クリア(&C)\n  色(&L)\n"
              "  反転(&V)\n    左右(&R)\n    上下(&T)\n  回転(&T)\n  -\n  拡大(&X)\n  縮小(&E)\n  盤面の大きさ(&S)...\n"
              "  -\n  切り取り(&K)\n  コピー(&Y)\n  貼り付け(&P)\n  パターン登録(&N)\n"
              "表示(&V)\n  立体表示(&D) (checked)\n  グラフ(&G) Ctrl+G\n"
              "  系譜(&K)\n    赤の祖先で色分け(&R)\n    緑の祖先で色分け(&G)\n    青の祖先で色分け(&B)\n"
              "    年齢で色分け(&A)\n    通常の色(&N) (checked)\n    祖先をたどる(&T)\n  拡大表示(&Z) ]\n  縮小表示(&X) [\n  全体を表示(&W)\n  実寸(&A)\n  格子(&R)\n"
              "  言語(&L)\n    日本語(&J)\n    &English\n  点滅を抑える(&F)\n"
              "ヘルプ(&H)\n  操作方法(&K)... F1\n  バージョン情報(&A)...\n"
              "Popup1\n  リセット(&R)\n");

    // An entry with two keys has both.
    int redo = 0;
    for (const QAction* a : window.widget()->findChildren<QAction*>()) {
        if (a->text() != QString::fromUtf8("やり直し(&R)")) continue;
        EXPECT_EQ(a->shortcuts(), QKeySequence::listFromString("Ctrl+Y; Ctrl+Shift+Z"));
        ++redo;
    }
    EXPECT_EQ(redo, 1);

    std::string toolbar;
    const auto* bar = window.widget()->findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    for (const QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            toolbar += "| ";
            continue;
        }
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
        toolbar.append(a->toolTip().toStdString());
        toolbar.append(a->isEnabled() ? "" : "-").append(a->isChecked() ? "*" : "");
        toolbar += ' ';
    }
    EXPECT_EQ(toolbar,
              "開く 保存 | 開始 停止- ステップ実行 変化を促す* | 切り取り- コピー- 貼り付け- | "
              "パターン登録- ランダム クリア 色- 左右反転- 上下反転- 回転- 拡大 縮小 ");
}

// What screen readers find (QAccessible): every toolbar button named by its
// tool tip and saying what it does, and the board.
TEST(MainWindow, ButtonsAndPartsHaveAccessibleNames) {
    const auto accessible = [](QObject* object, QAccessible::Text kind = QAccessible::Name) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        return face ? face->text(kind).toStdString() : std::string();
    };
    platform::qt::QtMainWindow window;
    ControllerFixture program;
    window.setCommands(program.create().commands().looks());
    for (const platform::Command& c : program.controller->commands().looks()) {
        if (c.button == platform::Button::None) continue;
        QWidget* button = window.widget()->findChild<QToolBar*>()->widgetForAction(window.toolbarAction(c.button));
        EXPECT_EQ(accessible(button), c.toolTip);
        EXPECT_FALSE(accessible(button, QAccessible::Description).empty()) << c.toolTip;
    }
    EXPECT_EQ(accessible(window.boardView()), "盤面");
}

}  // namespace
