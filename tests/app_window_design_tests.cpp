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

#include "app/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/status_panels.h"
#include "platform/qt/toolbar_icons.h"

using platform::Menu;
using platform::qt::QtMainWindow;

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

struct MenuRow {
    Menu item;
    const char* caption;
    QKeySequence shortcut;
    bool enabled;
    bool checked;
};

TEST(WindowDesign, EveryMenuItemHasItsCaptionShortcutAndInitialState) {
    QtMainWindow window;
    const MenuRow rows[] = {
        {Menu::File, texts::kMenuFile, {}, true, false},
        {Menu::FileOpen, texts::kMenuFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O), true, false},
        {Menu::FileSave, texts::kMenuFileSave, QKeySequence(Qt::CTRL | Qt::Key_S), true, false},
        {Menu::FileExit, texts::kMenuFileExit, {}, true, false},
        {Menu::Exec, texts::kMenuExec, {}, true, false},
        {Menu::ExecStart, texts::kMenuExecStart, QKeySequence(Qt::Key_F5), true, false},
        {Menu::ExecStop, texts::kMenuExecStop, QKeySequence(Qt::Key_F6), false, false},
        {Menu::ExecStep, texts::kMenuExecStep, QKeySequence(Qt::Key_F8), true, false},
        {Menu::ExecStimulate, texts::kMenuExecStimulate, {}, true, true},
        {Menu::Edit, texts::kMenuEdit, {}, true, false},
        {Menu::EditCut, texts::kMenuEditCut, QKeySequence(Qt::CTRL | Qt::Key_X), true, false},
        {Menu::EditCopy, texts::kMenuEditCopy, QKeySequence(Qt::CTRL | Qt::Key_C), true, false},
        {Menu::EditPaste, texts::kMenuEditPaste, QKeySequence(Qt::CTRL | Qt::Key_V), true, false},
        {Menu::Pattern, texts::kMenuPattern, {}, true, false},
        {Menu::PatternCommon, texts::kMenuPatternCommon, {}, true, false},
        {Menu::PatternRandom, texts::kMenuPatternRandom, {}, true, false},
        {Menu::PatternClear, texts::kMenuPatternClear, {}, true, false},
        {Menu::PatternColor, texts::kMenuPatternColor, {}, true, false},
        {Menu::PatternReverse, texts::kMenuPatternReverse, {}, true, false},
        {Menu::PatternReverseRL, texts::kMenuPatternReverseRL, {}, true, false},
        {Menu::PatternReverseTB, texts::kMenuPatternReverseTB, {}, true, false},
        {Menu::PatternRotate, texts::kMenuPatternRotate, {}, true, false},
        {Menu::PatternExpand, texts::kMenuPatternExpand, {}, true, false},
        {Menu::PatternReduction, texts::kMenuPatternReduction, {}, true, false},
        {Menu::Popup1Reset, texts::kMenuPopup1Reset, {}, true, false},
    };
    for (const MenuRow& row : rows) {
        SCOPED_TRACE(row.caption);
        QAction* action = window.menuAction(row.item);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), q(row.caption));
        EXPECT_EQ(action->shortcut(), row.shortcut);
        EXPECT_EQ(window.menuEnabled(row.item), row.enabled);
        EXPECT_EQ(window.menuChecked(row.item), row.checked);
        EXPECT_TRUE(window.menuVisible(row.item));
    }
}

// The captions of a menu's entries in order; "-" for a separator, and a
// submenu followed by its own entries in brackets.
QStringList layoutOf(const QMenu* menu) {
    QStringList out;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            out << QStringLiteral("-");
        } else if (action->menu()) {
            out << action->text() + QStringLiteral(" [") + layoutOf(action->menu()).join(QStringLiteral(", ")) +
                       QStringLiteral("]");
        } else {
            out << action->text();
        }
    }
    return out;
}

TEST(WindowDesign, MenuBarHoldsTheFourMenusInOrderWithTheirEntries) {
    QtMainWindow window;
    QStringList bar;
    for (QAction* action : window.widget()->menuBar()->actions()) bar << action->text();
    EXPECT_EQ(bar, (QStringList{q(texts::kMenuFile), q(texts::kMenuExec), q(texts::kMenuEdit), q(texts::kMenuPattern)}));

    EXPECT_EQ(layoutOf(window.menu(Menu::File)),
              (QStringList{q(texts::kMenuFileOpen), q(texts::kMenuFileSave), "-", q(texts::kMenuFileExit)}));
    EXPECT_EQ(layoutOf(window.menu(Menu::Exec)), (QStringList{q(texts::kMenuExecStart), q(texts::kMenuExecStop),
                                                              q(texts::kMenuExecStep), q(texts::kMenuExecStimulate)}));
    EXPECT_EQ(layoutOf(window.menu(Menu::Edit)),
              (QStringList{q(texts::kMenuEditCut), q(texts::kMenuEditCopy), q(texts::kMenuEditPaste)}));
    EXPECT_EQ(layoutOf(window.menu(Menu::Pattern)),
              (QStringList{q(texts::kMenuPatternCommon) + " [r-Pentomino]", q(texts::kMenuPatternRandom),
                           q(texts::kMenuPatternClear), q(texts::kMenuPatternColor),
                           q(texts::kMenuPatternReverse) + " [" + q(texts::kMenuPatternReverseRL) + ", " +
                               q(texts::kMenuPatternReverseTB) + "]",
                           q(texts::kMenuPatternRotate), "-", q(texts::kMenuPatternExpand),
                           q(texts::kMenuPatternReduction)}));
    // The separator before Expand is the one the board's pop-up hides.
    EXPECT_TRUE(window.menuAction(Menu::Bar3)->isSeparator());
    EXPECT_EQ(window.menu(Menu::Pattern)->actions().indexOf(window.menuAction(Menu::Bar3)), 6);

    EXPECT_EQ(window.patternItemCount(), 1);
    EXPECT_EQ(window.patternItemCaption(0), "r-Pentomino");

    QMenu* popup = window.popupMenu(platform::Popup::Popup1);
    EXPECT_EQ(popup->title(), q(texts::kMenuPopup1));
    EXPECT_EQ(layoutOf(popup), QStringList{q(texts::kMenuPopup1Reset)});
    EXPECT_FALSE(window.widget()->menuBar()->actions().contains(popup->menuAction()));
}

TEST(WindowDesign, ToolbarHasTheTwentyOneEntriesWithPicturesTipsAndStates) {
    QtMainWindow window;
    const QList<QAction*> actions = window.toolBar()->actions();
    ASSERT_EQ(actions.size(), 21);
    for (int i = 0; i < 21; ++i) {
        const texts::ToolbarEntry& entry = texts::kToolbar[i];
        SCOPED_TRACE(std::to_string(i) + " " + entry.key);
        QAction* action = actions[i];
        if (*entry.key == '\0') {
            EXPECT_TRUE(action->isSeparator());
            continue;
        }
        EXPECT_EQ(action, window.toolbarAction(entry.key));
        EXPECT_EQ(action->toolTip(), q(entry.toolTip));
        EXPECT_EQ(window.buttonEnabled(entry.key), entry.enabled);
        EXPECT_EQ(window.buttonPressed(entry.key), entry.pressed);
        auto* button = qobject_cast<QToolButton*>(window.toolBar()->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_FALSE(action->icon().isNull());
    }
    EXPECT_EQ(window.toolBar()->iconSize(), QSize(16, 16));
}

TEST(WindowDesign, ToolbarPicturesAreSixteenSquareWithTheSilverBackgroundMasked) {
    int pictures = 0;
    for (const texts::ToolbarEntry& entry : texts::kToolbar) {
        if (*entry.key == '\0') continue;
        SCOPED_TRACE(entry.key);
        ++pictures;
        const QPixmap picture = platform::qt::toolbarPicture(entry.key);
        ASSERT_EQ(picture.size(), QSize(16, 16));
        ASSERT_FALSE(picture.mask().isNull());
        // The silver background is see-through; nothing drawn is silver.
        const QImage drawn = picture.toImage().convertToFormat(QImage::Format_ARGB32);
        int transparent = 0, visible = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb pixel = drawn.pixel(x, y);
                if (qAlpha(pixel) == 0) {
                    ++transparent;
                } else {
                    EXPECT_EQ(qAlpha(pixel), 255);
                    EXPECT_NE(QColor(pixel).rgb(), QColor(192, 192, 192).rgb()) << x << "," << y;
                    ++visible;
                }
            }
        EXPECT_GT(transparent, 0);
        EXPECT_GT(visible, 16);
    }
    EXPECT_EQ(pictures, 18);
    EXPECT_TRUE(platform::qt::toolbarPicture("no such key").isNull());
}

TEST(WindowDesign, FixedLayoutOfToolbarBoardAndStatusBar) {
    QtMainWindow window;
    window.show();
    QMainWindow* frame = window.widget();
    EXPECT_EQ(frame->windowTitle(), q(texts::kAppTitle));
    EXPECT_EQ(window.caption(), texts::kAppTitle);
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());  // not resizable
    EXPECT_EQ(frame->centralWidget()->size(), QSize(484, 535));
    EXPECT_EQ(window.toolBar()->geometry(), QRect(0, 0, 484, 28));
    EXPECT_EQ(window.boardView()->geometry(), QRect(0, 28, 484, 484));
    EXPECT_EQ(window.boardView()->drawingArea(), QRect(2, 2, 480, 480));
    EXPECT_EQ(window.statusPanels()->geometry(), QRect(0, 512, 484, 23));
    EXPECT_EQ(window.boardPixelWidth(), 480);
    EXPECT_EQ(window.boardPixelHeight(), 480);
    // Every toolbar button fits: none went into the overflow menu.
    for (QAction* action : window.toolBar()->actions()) {
        if (action->isSeparator()) continue;
        QWidget* button = window.toolBar()->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible()) << action->toolTip().toStdString();
    }
}

TEST(WindowDesign, StatusPanelsShowTheDesignTextsAndShareTheWidthByProportion) {
    QtMainWindow window;
    window.show();
    EXPECT_EQ(window.panelText(1), texts::kPanel1Design);
    EXPECT_EQ(window.panelText(2), texts::kPanel2Design);
    EXPECT_EQ(window.panelText(3), texts::kPanel3Design);
    EXPECT_EQ(window.panelText(4), texts::kPanel4Design);
    // 3351 : 3351 : 2999 : 2646 of 484 pixels.
    EXPECT_EQ(window.panelLeft(1), 0);
    EXPECT_EQ(window.panelLeft(2), 484 * 3351 / 12347);
    EXPECT_EQ(window.panelLeft(3), 484 * 6702 / 12347);
    EXPECT_EQ(window.panelLeft(4), 484 * 9701 / 12347);
    // The design texts are the widest each panel is meant to hold.
    const QFontMetrics metrics(window.statusPanels()->font());
    for (int panel = 1; panel <= 4; ++panel) {
        const QRect rect = window.statusPanels()->panelRect(panel);
        EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(window.panelText(panel))), rect.width() - 5)
            << panel;
    }
}

TEST(WindowDesign, BevelColoursGiveARaisedRim) {
    QtMainWindow window;
    const platform::BevelColors colors = window.bevelColors();
    auto lightness = [](platform::Rgb c) { return QColor::fromRgb(c).lightness(); };
    // Top and left brighter than bottom and right, ring by ring.
    EXPECT_GT(lightness(colors.light), lightness(colors.darkShadow));
    EXPECT_GT(lightness(colors.highlight), lightness(colors.shadow));
    EXPECT_GE(lightness(colors.highlight), lightness(colors.light));
    EXPECT_GE(lightness(colors.shadow), lightness(colors.darkShadow));
}

}  // namespace
