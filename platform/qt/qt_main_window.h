// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/commands.h"
#include "platform/services.h"

class QAction;
class QActionGroup;
class QDropEvent;
class QMenu;
class QTimer;
class QToolBar;

namespace platform::qt {

class BoardView;
class StatusPanels;

// The main window: a QMainWindow with the menu bar, the toolbar (28 px), the
// board (at least 484 x 484 px with its border) and the status bar (23 px).
// It starts at its smallest size and can be resized and maximised; the board
// takes the room between the toolbar and the status bar. Menu items and toolbar buttons are separate QActions with
// separately kept states. Everything the user does is reported to the
// WindowEvents object, and nothing while none is set.
class QtMainWindow : public platform::MainWindow {
public:
    QtMainWindow();
    ~QtMainWindow() override;
    QtMainWindow(const QtMainWindow&) = delete;
    QtMainWindow& operator=(const QtMainWindow&) = delete;

    void show();
    QMainWindow* widget() const;

    // ---- platform::MainWindow ----------------------------------------------
    void setEvents(WindowEvents* events) override;
    void setCommands(const std::vector<Command>& commands) override;
    void setMenuEnabled(Menu item, bool enabled) override;
    bool menuEnabled(Menu item) const override;
    void setMenuChecked(Menu item, bool checked) override;
    bool menuChecked(Menu item) const override;
    void setMenuVisible(Menu item, bool visible) override;
    bool menuVisible(Menu item) const override;
    int patternItemCount() const override;
    void addPatternEntry(const PatternEntry& entry) override;
    void removePatternItem(int index) override;
    PatternEntry patternEntry(int index) const override;
    void setPatternEntry(int index, const PatternEntry& entry) override;
    void showPopup(Popup popup) override;
    void setButtonEnabled(Button button, bool enabled) override;
    bool buttonEnabled(Button button) const override;
    void setButtonPressed(Button button, bool pressed) override;
    bool buttonPressed(Button button) const override;
    void setPanelText(Panel panel, const std::string& text) override;
    std::string panelText(Panel panel) const override;
    int panelLeft(Panel panel) const override;
    void setCaption(const std::string& caption) override;
    std::string caption() const override;
    int boardPixelWidth() const override;
    int boardPixelHeight() const override;
    void setBoardScale(int units) override;
    int boardScale() const override;
    void showBoard(const PixelImage& image) override;
    void showBoardPart(const PixelImage& image, const std::vector<PixelRect>& changed) override;
    void setFocusRect(const std::optional<PixelRect>& rect) override;
    void showNotice(const std::string& text) override;
    void setMenuCaption(Menu item, const std::string& caption) override;
    void setButtonToolTip(Button button, const std::string& text, const std::string& description) override;
    void setKeyCursor(const std::optional<PixelRect>& rect) override;
    void describeBoard(const std::string& name, const std::string& description) override;
    BevelColors bevelColors() const override;
    void callAfter(std::chrono::nanoseconds delay, std::function<void()> call) override;
    void close() override;

    // ---- the controls, for tests -------------------------------------------
    QAction* menuAction(Menu item) const;              // a menu's own action for whole menus
    QMenu* menu(Menu item) const;                      // File, Exec, Edit, Pattern, PatternCommon, PatternReverse
    QMenu* popupMenu(Popup popup) const;
    QAction* patternItemAction(int index) const;
    QAction* toolbarAction(Button button) const;
    BoardView* boardView() const;

private:
    class Frame;
    // The menu bar, the pop-up menu and the toolbar, from the commands' rows.
    void addMenu(const Command& command);
    void addItem(const Command& command);
    void addKeyCommand(const Command& command);
    void addButton(const Command& command);
    // Whether `item` and every menu it sits in are enabled.
    bool reachable(Menu item) const;
    void itemTriggered(Menu item, QAction* action);
    void patternActionTriggered(QAction* action);
    void boardMouse(int kind, const BoardMouse& event);
    void closing();
    void dragOver(QDropEvent* event);  // accepts or refuses dragged files
    void drop(QDropEvent* event);

    std::unique_ptr<Frame> frame_;
    WindowEvents* events_ = nullptr;
    std::map<Menu, QAction*> items_;
    std::map<Menu, QMenu*> menus_;
    std::map<Menu, Menu> parents_;  // the menu each item sits in
    std::vector<QAction*> patternItems_;
    std::map<Button, QAction*> buttons_;
    QToolBar* toolBar_ = nullptr;
    BoardView* board_ = nullptr;
    StatusPanels* status_ = nullptr;
    int scale_ = 0;
    bool showingPatternPopup_ = false;
    bool closed_ = false;
    std::map<Menu, QActionGroup*> radioGroups_;  // each menu's radio items
};

}  // namespace platform::qt
