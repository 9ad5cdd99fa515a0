// The main window as it is built, before the logic touches it: menus,
// toolbar, status bar and geometry.

#include <QAction>
#include <QBitmap>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "ui/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/status_panels.h"
#include "platform/qt/toolbar_icons.h"

using platform::Menu;
using platform::qt::QtMainWindow;

namespace {

// The captions of a menu's entries in order; "-" for a separator, and a
// submenu followed by its own entries in brackets.
QString layoutOf(const QWidget* menu) {
    QStringList out;
    for (QAction* action : menu->actions()) {
        QString entry = action->isSeparator() ? QStringLiteral("-") : action->text();
        if (action->menu()) entry += " [" + layoutOf(action->menu()) + "]";
        out << entry;
    }
    return out.join(", ");
}

TEST(WindowDesign, MenusHoldTheirItemsInOrderWithShortcutsAndInitialStates) {
    QtMainWindow window;
    EXPECT_EQ(layoutOf(window.widget()->menuBar()).toStdString(),
              "ファイル(&F) [開く(&O)..., 保存(&S)..., -, 終了], "
              "実行(&E) [開始(&E), 停止(&S), ステップ実行(&P), 変化を促す(&A)], "
              "編集(&M) [切り取り(&X), コピー(&C), 貼り付け(&V)], "
              "パターン(&P) [登録済(&D) [r-Pentomino], ランダム(&R), クリア(&C), 色(&L), 反転(&V) [左右(&R), 上下(&T)], "
              "回転(&T), -, 拡大(&X), 縮小(&E)]");
    // The separator before Expand is the one the board's pop-up hides.
    EXPECT_EQ(window.menu(Menu::Pattern)->actions().indexOf(window.menuAction(Menu::Bar3)), 6);
    EXPECT_EQ(layoutOf(window.popupMenu(platform::Popup::Popup1)).toStdString(), "リセット(&R)");
    EXPECT_FALSE(window.widget()->menuBar()->actions().contains(
        window.popupMenu(platform::Popup::Popup1)->menuAction()));

    const std::map<Menu, QKeySequence> shortcuts = {
        {Menu::FileOpen, Qt::CTRL | Qt::Key_O}, {Menu::FileSave, Qt::CTRL | Qt::Key_S},
        {Menu::ExecStart, Qt::Key_F5},          {Menu::ExecStop, Qt::Key_F6},
        {Menu::ExecStep, Qt::Key_F8},           {Menu::EditCut, Qt::CTRL | Qt::Key_X},
        {Menu::EditCopy, Qt::CTRL | Qt::Key_C}, {Menu::EditPaste, Qt::CTRL | Qt::Key_V}};
    for (int i = 0; i <= static_cast<int>(Menu::Popup1Reset); ++i) {
        const Menu item = static_cast<Menu>(i);
        SCOPED_TRACE(i);
        const auto shortcut = shortcuts.find(item);
        EXPECT_EQ(window.menuAction(item)->shortcut(), shortcut == shortcuts.end() ? QKeySequence() : shortcut->second);
        EXPECT_EQ(window.menuEnabled(item), item != Menu::ExecStop);
        EXPECT_EQ(window.menuChecked(item), item == Menu::ExecStimulate);
        EXPECT_TRUE(window.menuVisible(item));
    }
}

TEST(WindowDesign, ToolbarEntriesHaveTipsStatesAndSixteenSquarePicturesOnAMaskedBackground) {
    QtMainWindow window;
    const QList<QAction*> actions = window.toolBar()->actions();
    ASSERT_EQ(actions.size(), 21);
    EXPECT_EQ(window.toolBar()->iconSize(), QSize(16, 16));
    for (int i = 0; i < 21; ++i) {
        const texts::ToolbarEntry& entry = texts::kToolbar[i];
        SCOPED_TRACE(std::to_string(i) + " " + entry.key);
        EXPECT_EQ(actions[i]->isSeparator(), *entry.key == '\0');
        if (*entry.key == '\0') continue;
        EXPECT_EQ(actions[i], window.toolbarAction(entry.key));
        EXPECT_EQ(actions[i]->toolTip(), QString::fromUtf8(entry.toolTip));
        EXPECT_EQ(window.buttonEnabled(entry.key), entry.enabled);
        EXPECT_EQ(window.buttonPressed(entry.key), entry.pressed);
        auto* button = qobject_cast<QToolButton*>(window.toolBar()->widgetForAction(actions[i]));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        // The silver background is see-through; nothing drawn is silver.
        const QPixmap picture = platform::qt::toolbarPicture(entry.key);
        ASSERT_EQ(picture.size(), QSize(16, 16));
        ASSERT_FALSE(picture.mask().isNull());
        const QImage drawn = picture.toImage().convertToFormat(QImage::Format_ARGB32);
        int transparent = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb pixel = drawn.pixel(x, y);
                transparent += qAlpha(pixel) == 0;
                EXPECT_TRUE(qAlpha(pixel) == 0 || pixel != qRgb(192, 192, 192)) << x << "," << y;
            }
        EXPECT_GT(transparent, 0);
        EXPECT_LT(transparent, 240);
    }
}

TEST(WindowDesign, FixedLayoutOfToolbarBoardAndStatusBar) {
    QtMainWindow window;
    window.show();
    QMainWindow* frame = window.widget();
    EXPECT_EQ(frame->windowTitle(), "Kaleidomat");
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());  // not resizable
    EXPECT_EQ(frame->centralWidget()->size(), QSize(484, 535));
    EXPECT_EQ(window.toolBar()->geometry(), QRect(0, 0, 484, 28));
    EXPECT_EQ(window.boardView()->geometry(), QRect(0, 28, 484, 484));
    EXPECT_EQ(window.boardView()->drawingArea(), QRect(2, 2, 480, 480));
    EXPECT_EQ(window.statusPanels()->geometry(), QRect(0, 512, 484, 23));
    for (QAction* action : window.toolBar()->actions())  // none went into the overflow menu
        EXPECT_TRUE(action->isSeparator() || window.toolBar()->widgetForAction(action)->isVisible());

    // Panels of 3351 : 3351 : 2999 : 2646, each wide enough for its design text.
    const int lefts[] = {0, 484 * 3351 / 12347, 484 * 6702 / 12347, 484 * 9701 / 12347};
    const char* designTexts[] = {"世代 = 10,000", "セル数 = 1,000", "x = 100, y = 100", "RGB = &HFFFFFF"};
    const QFontMetrics metrics(window.statusPanels()->font());
    for (int panel = 1; panel <= 4; ++panel) {
        EXPECT_EQ(window.panelText(panel), designTexts[panel - 1]);
        EXPECT_EQ(window.panelLeft(panel), lefts[panel - 1]);
        EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(designTexts[panel - 1])),
                  window.statusPanels()->panelRect(panel).width() - 5);
    }

    // The board's rim: top and left brighter than bottom and right, ring by ring.
    const platform::BevelColors colors = window.bevelColors();
    auto lightness = [](platform::Rgb c) { return QColor::fromRgb(c).lightness(); };
    EXPECT_GT(lightness(colors.light), lightness(colors.darkShadow));
    EXPECT_GT(lightness(colors.highlight), lightness(colors.shadow));
}

}  // namespace
