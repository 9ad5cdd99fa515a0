// SPDX-License-Identifier: MIT
#include "platform/qt/qt_main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>
#include <algorithm>
#include <chrono>

#include "ui/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_strings.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/status_panels.h"
#include "platform/qt/toolbar_icons.h"

namespace platform::qt {

namespace {
constexpr int kToolbarHeight = 28;
constexpr int kClientWidth = BoardView::kMinAreaSize + 2 * BoardView::kBorder;  // 484
constexpr int kClientHeight = kToolbarHeight + kClientWidth + StatusPanels::kHeight;  // 535

QString text(const char* utf8) { return QString::fromUtf8(utf8); }
Rgb toRgb(const QColor& color) { return rgb(color.red(), color.green(), color.blue()); }

// The program's icon in every size it comes in (the same pictures the
// desktop's icon theme gets).
QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/kaleidomat/%1x%1/apps/kaleidomat.png").arg(size), QSize(size, size));
    return icon;
}

// The local files among dragged data, in the order given.
std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(toStdString(url.toLocalFile()));
    return paths;
}
}  // namespace

// The QMainWindow itself; it reports its closing to the owner.
class QtMainWindow::Frame : public QMainWindow {
public:
    explicit Frame(QtMainWindow& owner) : owner_(owner) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        owner_.closing();
        event->accept();
    }
    // Files dragged onto any part of the window (no control inside takes
    // drops of its own).
    void dragEnterEvent(QDragEnterEvent* event) override { owner_.dragOver(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { owner_.dragOver(event); }
    void dropEvent(QDropEvent* event) override { owner_.drop(event); }

private:
    QtMainWindow& owner_;
};

QtMainWindow::QtMainWindow() : frame_(std::make_unique<Frame>(*this)) {
    frame_->setWindowTitle(text(texts::kAppTitle));
    frame_->setWindowIcon(applicationIcon());
    frame_->setAcceptDrops(true);

    auto* central = new QWidget(frame_.get());
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolBar_ = new QToolBar(central);
    board_ = new BoardView(central);
    status_ = new StatusPanels(central);
    layout->addWidget(toolBar_);
    layout->addWidget(board_);
    layout->addWidget(status_);
    // The window's first size is its smallest; the board grows with it.
    central->setMinimumSize(kClientWidth, kClientHeight);
    frame_->setCentralWidget(central);

    toolBar_->setFixedHeight(kToolbarHeight);
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);

    status_->setText(1, text(texts::kPanel1Design));
    status_->setText(2, text(texts::kPanel2Design));
    status_->setText(3, text(texts::kPanel3Design));
    status_->setText(4, text(texts::kPanel4Design));
    status_->setText(5, text(texts::kPanel5Design));
    status_->setMouseHandler([this](MouseButton button, Modifiers modifiers, int x, int y) {
        if (events_) events_->statusBarMouse(button, modifiers, x, y);
    });

    board_->setMouseHandler([this](BoardView::MouseKind kind, MouseButton button, Modifiers modifiers, QPointF at) {
        const PointedCell cell = cellAtPicturePosition(at, board_->pictureSize(), scale_);
        boardMouse(static_cast<int>(kind), {button, modifiers, cell, at.x(), at.y()});
    });
    board_->setWheelHandler([this](int steps, QPointF at) {
        if (events_) events_->boardWheel(steps, at.x(), at.y());
    });
    board_->setExposedHandler([this] {
        if (events_) events_->boardExposed();
    });
    board_->setKeyHandler([this](BoardKey key, Modifiers modifiers) { return events_ && events_->boardKey(key, modifiers); });
    board_->setFocusLeftHandler([this] {
        if (events_) events_->boardFocusLeft();
    });
    // What screen readers call the parts; the board describes itself as it changes.
    toolBar_->setAccessibleName(TranslatedText(texts::kAccessToolbarName));
    board_->setAccessibleName(TranslatedText(texts::kAccessBoardName));

    frame_->resize(frame_->minimumSizeHint());
}

QtMainWindow::~QtMainWindow() {
    events_ = nullptr;  // nothing is reported while the widgets go away
}

void QtMainWindow::show() { frame_->show(); }

QMainWindow* QtMainWindow::widget() const { return frame_.get(); }

void QtMainWindow::setEvents(WindowEvents* events) { events_ = events; }

// ------------------------------------------------------------------ menus --

void QtMainWindow::setCommands(const std::vector<Command>& commands) {
    for (const Command& command : commands) {
        switch (command.kind) {
            case CommandKind::Menu:
            case CommandKind::PopupMenu: addMenu(command); break;
            case CommandKind::Item: addItem(command); break;
            case CommandKind::Separator: items_[command.id] = menu(*command.in)->addSeparator(); break;
            case CommandKind::ButtonOnly: break;
            case CommandKind::KeyOnly: addKeyCommand(command); break;
        }
        if (command.in) parents_[command.id] = *command.in;
    }
    addPatternEntry({.caption = texts::kBuiltinPatternNames[0]});  // the pattern list's item 0 is there from the start
    for (const Command& command : commands)
        if (command.button != Button::None) addButton(command);
    // The window's first size is its smallest, with the menu bar and toolbar in it.
    frame_->resize(frame_->minimumSizeHint());
}

void QtMainWindow::addMenu(const Command& command) {
    QMenu* m = nullptr;
    if (command.kind == CommandKind::PopupMenu) m = new QMenu(text(command.caption), frame_.get());
    else if (command.in) m = menu(*command.in)->addMenu(text(command.caption));
    else m = frame_->menuBar()->addMenu(text(command.caption));
    menus_[command.id] = m;
    items_[command.id] = m->menuAction();
    if (command.kind != CommandKind::Menu || command.in) return;
    // The logic sets the enabling of a menu's items as it opens.
    const Menu id = command.id;
    QObject::connect(m, &QMenu::aboutToShow, m, [this, id] {
        // As a pop-up the pattern menu has been refreshed by the logic itself just before.
        if (events_ && !(id == Menu::Pattern && showingPatternPopup_)) events_->menuAboutToShow(id);
    });
}

void QtMainWindow::addItem(const Command& command) {
    QAction* action = menu(*command.in)->addAction(text(command.caption));
    if (*command.key)
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(command.key), QKeySequence::PortableText));
    action->setEnabled(command.enabled);
    if (command.radio) {
        // Drawn as radio items; which one is checked the logic says.
        QActionGroup*& group = radioGroups_[*command.in];
        if (!group) {
            group = new QActionGroup(frame_.get());
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        }
        action->setCheckable(true);
        group->addAction(action);
    }
    if (command.checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    const Menu id = command.id;
    items_[id] = action;
    QObject::connect(action, &QAction::triggered, action, [this, id, action] { itemTriggered(id, action); });
}

// A command without a menu item: an action of the window itself, so that its
// keys work wherever the focus is in it, as long as its menu is enabled.
void QtMainWindow::addKeyCommand(const Command& command) {
    auto* action = new QAction(frame_.get());
    action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(command.key), QKeySequence::PortableText));
    action->setShortcutContext(Qt::WindowShortcut);
    frame_->addAction(action);
    const Menu id = command.id;
    items_[id] = action;
    QObject::connect(action, &QAction::triggered, action, [this, id, action] { itemTriggered(id, action); });
}

bool QtMainWindow::reachable(Menu item) const {
    for (std::optional<Menu> current = item; current;) {
        const QAction* action = menuAction(*current);
        if (!action || !action->isEnabled()) return false;
        auto parent = parents_.find(*current);
        current = parent == parents_.end() ? std::nullopt : std::optional<Menu>(parent->second);
    }
    return true;
}

void QtMainWindow::itemTriggered(Menu item, QAction* action) {
    // Check marks change only when the logic sets them: undo Qt's own toggle.
    if (action->isCheckable()) {
        const QSignalBlocker block(action);
        action->setChecked(!action->isChecked());
    }
    // A shortcut of an item in a disabled menu does nothing.
    if (events_ && reachable(item)) events_->menuTriggered(item);
}

QAction* QtMainWindow::menuAction(Menu item) const {
    auto it = items_.find(item);
    return it == items_.end() ? nullptr : it->second;
}

QMenu* QtMainWindow::menu(Menu item) const {
    auto it = menus_.find(item);
    return it == menus_.end() ? nullptr : it->second;
}

QMenu* QtMainWindow::popupMenu(Popup popup) const {
    return menu(popup == Popup::Popup1 ? Menu::Popup1 : Menu::Pattern);
}

void QtMainWindow::setMenuEnabled(Menu item, bool enabled) {
    if (QAction* action = menuAction(item)) action->setEnabled(enabled);
}

bool QtMainWindow::menuEnabled(Menu item) const {
    const QAction* action = menuAction(item);
    return action && action->isEnabled();
}

void QtMainWindow::setMenuChecked(Menu item, bool checked) {
    QAction* action = menuAction(item);
    if (!action || action->isSeparator() || menu(item)) return;
    action->setCheckable(true);  // an item with a check rule shows its box also while unchecked
    if (action->isCheckable()) action->setChecked(checked);
}

bool QtMainWindow::menuChecked(Menu item) const {
    const QAction* action = menuAction(item);
    return action && action->isChecked();
}

void QtMainWindow::setMenuVisible(Menu item, bool visible) {
    if (QAction* action = menuAction(item)) action->setVisible(visible);
}

bool QtMainWindow::menuVisible(Menu item) const {
    const QAction* action = menuAction(item);
    return action && action->isVisible();
}

// -------------------------------------------------------- pattern submenu --

int QtMainWindow::patternItemCount() const { return static_cast<int>(patternItems_.size()); }

void QtMainWindow::addPatternEntry(const PatternEntry& entry) {
    QMenu* common = menu(Menu::PatternCommon);
    auto* action = new QAction(common);
    common->addAction(action);
    patternItems_.push_back(action);
    setPatternEntry(patternItemCount() - 1, entry);
    QObject::connect(action, &QAction::triggered, action, [this, action] { patternActionTriggered(action); });
}

void QtMainWindow::removePatternItem(int index) {
    if (index < 0 || index >= patternItemCount()) return;
    QAction* action = patternItems_[static_cast<std::size_t>(index)];
    patternItems_.erase(patternItems_.begin() + index);
    menu(Menu::PatternCommon)->removeAction(action);
    action->deleteLater();  // it may be the one being triggered right now
}

PatternEntry QtMainWindow::patternEntry(int index) const {
    const QAction* action = patternItemAction(index);
    if (!action) return {};
    if (action->isSeparator()) return {PatternEntry::Kind::Separator, {}};
    return {PatternEntry::Kind::Item, toStdString(action->text())};
}

void QtMainWindow::setPatternEntry(int index, const PatternEntry& entry) {
    QAction* action = patternItemAction(index);
    if (!action) return;
    // A separator is drawn as a plain line: the style would print a text beside it.
    const bool separator = entry.kind == PatternEntry::Kind::Separator;
    action->setSeparator(separator);
    action->setText(separator ? QString() : toQString(entry.caption));
}

QAction* QtMainWindow::patternItemAction(int index) const {
    if (index < 0 || index >= patternItemCount()) return nullptr;
    return patternItems_[static_cast<std::size_t>(index)];
}

void QtMainWindow::patternActionTriggered(QAction* action) {
    if (!events_ || !action->isEnabled() || !reachable(Menu::PatternCommon)) return;
    for (std::size_t i = 0; i < patternItems_.size(); ++i) {
        if (patternItems_[i] == action) {
            events_->patternItemTriggered(static_cast<int>(i));  // its index at this moment
            return;
        }
    }
}

void QtMainWindow::showPopup(Popup popup) {
    QMenu* m = popupMenu(popup);
    if (!m) return;
    const bool pattern = popup == Popup::Pattern;
    showingPatternPopup_ = pattern;
    m->exec(QCursor::pos());
    if (pattern) showingPatternPopup_ = false;
}

// ---------------------------------------------------------------- toolbar --

void QtMainWindow::addButton(const Command& command) {
    if (command.separatorBefore) toolBar_->addSeparator();
    auto* action = new QAction(QIcon(toolbarPicture(command.picture)), text(command.toolTip), toolBar_);
    action->setToolTip(text(command.toolTip));
    action->setEnabled(command.buttonEnabled);
    if (command.buttonPressed) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    toolBar_->addAction(action);
    // Screen readers call the button by its tool tip and read its help line as what it does.
    if (QWidget* widget = toolBar_->widgetForAction(action)) {
        widget->setAccessibleName(text(command.toolTip));
        widget->setAccessibleDescription(text(command.description));
    }
    const Button button = command.button;
    buttons_[button] = action;
    QObject::connect(action, &QAction::triggered, action, [this, button, action] {
        // The pressed state changes only when the logic sets it.
        if (action->isCheckable()) {
            const QSignalBlocker block(action);
            action->setChecked(!action->isChecked());
        }
        if (events_ && action->isEnabled()) events_->toolbarButtonClicked(button);
    });
}

QAction* QtMainWindow::toolbarAction(Button button) const {
    auto it = buttons_.find(button);
    return it == buttons_.end() ? nullptr : it->second;
}

void QtMainWindow::setButtonEnabled(Button button, bool enabled) {
    if (QAction* action = toolbarAction(button)) action->setEnabled(enabled);
}

bool QtMainWindow::buttonEnabled(Button button) const {
    const QAction* action = toolbarAction(button);
    return action && action->isEnabled();
}

void QtMainWindow::setButtonPressed(Button button, bool pressed) {
    QAction* action = toolbarAction(button);
    if (!action) return;
    if (pressed) action->setCheckable(true);
    if (action->isCheckable()) action->setChecked(pressed);
}

bool QtMainWindow::buttonPressed(Button button) const {
    const QAction* action = toolbarAction(button);
    return action && action->isChecked();
}

// ------------------------------------------------------------- status bar --

void QtMainWindow::setPanelText(Panel panel, const std::string& value) {
    status_->setText(static_cast<int>(panel), value);
}

std::string QtMainWindow::panelText(Panel panel) const { return toStdString(status_->text(static_cast<int>(panel))); }

int QtMainWindow::panelLeft(Panel panel) const { return status_->panelLeft(static_cast<int>(panel)); }

// ------------------------------------------------------------------ board --

BoardView* QtMainWindow::boardView() const { return board_; }

void QtMainWindow::setCaption(const std::string& caption) { frame_->setWindowTitle(toQString(caption)); }

std::string QtMainWindow::caption() const { return toStdString(frame_->windowTitle()); }

int QtMainWindow::boardPixelWidth() const { return board_->pictureSize(); }

int QtMainWindow::boardPixelHeight() const { return board_->pictureSize(); }

void QtMainWindow::setBoardScale(int units) { scale_ = units; }

int QtMainWindow::boardScale() const { return scale_; }

void QtMainWindow::showBoard(const PixelImage& image) { board_->showImage(image); }

void QtMainWindow::showBoardPart(const PixelImage& image, const std::vector<PixelRect>& changed) {
    board_->showImagePart(image, changed);
}

void QtMainWindow::setFocusRect(const std::optional<PixelRect>& rect) { board_->setFocusRect(rect); }

void QtMainWindow::showNotice(const std::string& text) { board_->showNotice(toQString(text)); }

void QtMainWindow::setMenuCaption(Menu item, const std::string& caption) {
    if (QAction* action = menuAction(item)) action->setText(toQString(caption));
}

void QtMainWindow::setButtonToolTip(Button button, const std::string& text, const std::string& description) {
    // Every button is captioned anew when the language changes, and the toolbar's own name with them.
    toolBar_->setAccessibleName(TranslatedText(texts::kAccessToolbarName));
    if (QAction* action = toolbarAction(button)) {
        action->setText(toQString(text));
        action->setToolTip(toQString(text));
        if (QWidget* widget = toolBar_->widgetForAction(action)) {
            widget->setAccessibleName(toQString(text));
            widget->setAccessibleDescription(toQString(description));
        }
    }
}

void QtMainWindow::setKeyCursor(const std::optional<PixelRect>& rect) { board_->setKeyCursor(rect); }

void QtMainWindow::describeBoard(const std::string& name, const std::string& description) {
    // Qt tells screen readers of every change, so only real ones are handed on.
    const QString newName = toQString(name), newDescription = toQString(description);
    if (board_->accessibleName() != newName) board_->setAccessibleName(newName);
    if (board_->accessibleDescription() != newDescription) board_->setAccessibleDescription(newDescription);
}

BevelColors QtMainWindow::bevelColors() const {
    const QPalette& palette = frame_->palette();
    BevelColors colors;
    colors.light = toRgb(palette.color(QPalette::Midlight));
    colors.highlight = toRgb(palette.color(QPalette::Light));
    colors.shadow = toRgb(palette.color(QPalette::Dark));
    colors.darkShadow = toRgb(palette.color(QPalette::Shadow));
    return colors;
}

void QtMainWindow::boardMouse(int kind, const BoardMouse& event) {
    if (!events_) return;
    switch (static_cast<BoardView::MouseKind>(kind)) {
        case BoardView::MouseKind::Press: events_->boardMouseDown(event); break;
        case BoardView::MouseKind::Move: events_->boardMouseMove(event); break;
        case BoardView::MouseKind::Release: events_->boardMouseUp(event); break;
    }
}

// --------------------------------------------------------- dropped files --

// Taken only as a copy: a source offered nothing but a move would delete its
// file once the drop is taken.
void QtMainWindow::dragOver(QDropEvent* event) {
    if (events_ && (event->possibleActions() & Qt::CopyAction) && !localFiles(event->mimeData()).empty() &&
        events_->canDropFiles()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void QtMainWindow::drop(QDropEvent* event) {
    dragOver(event);
    if (!event->isAccepted()) return;
    // Opening may ask questions in modal dialogs; they come up after the
    // drag source has been let go.
    QTimer::singleShot(0, frame_.get(), [this, paths = localFiles(event->mimeData())] {
        if (events_) events_->filesDropped(paths);
    });
}

// ------------------------------------------------------------ the window --

// A single-shot timer of millisecond precision; a delay is rounded up, so
// that the caller's deadlines are never run early.
void QtMainWindow::callAfter(std::chrono::nanoseconds delay, std::function<void()> call) {
    const auto ms = std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(delay).count());
    QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, frame_.get(), std::move(call));
}

void QtMainWindow::closing() {
    if (closed_) return;
    closed_ = true;
    if (events_) events_->windowClosing();
}

void QtMainWindow::close() {
    frame_->close();
    closing();  // in case the window system sent no close event
}

}  // namespace platform::qt
