#include "platform/qt/qt_main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_strings.h"
#include "platform/qt/status_panels.h"
#include "platform/qt/toolbar_icons.h"

namespace platform::qt {

namespace {
constexpr int kToolbarHeight = 28;
constexpr int kClientWidth = BoardView::kAreaSize + 2 * BoardView::kBorder;  // 484
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
    central->setFixedSize(kClientWidth, kClientHeight);
    frame_->setCentralWidget(central);

    buildMenus();
    buildToolbar();

    status_->setText(1, text(texts::kPanel1Design));
    status_->setText(2, text(texts::kPanel2Design));
    status_->setText(3, text(texts::kPanel3Design));
    status_->setText(4, text(texts::kPanel4Design));
    status_->setMouseHandler([this](int buttons, int shift, int x, int y) {
        if (events_) events_->statusBarMouse(buttons, shift, x, y);
    });

    board_->setMouseHandler([this](BoardView::MouseKind kind, int buttons, int shift, QPointF position) {
        boardMouse(static_cast<int>(kind), buttons, shift, position.x(), position.y());
    });
    board_->setExposedHandler([this] {
        if (events_) events_->boardExposed();
    });

    // The window keeps the size of its contents: no resizing, no maximising.
    frame_->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

QtMainWindow::~QtMainWindow() {
    events_ = nullptr;  // nothing is reported while the widgets go away
}

void QtMainWindow::show() { frame_->show(); }

QMainWindow* QtMainWindow::widget() const { return frame_.get(); }

void QtMainWindow::setEvents(WindowEvents* events) { events_ = events; }

// ------------------------------------------------------------------ menus --

QAction* QtMainWindow::addItem(QMenu* menu, Menu item, const char* caption, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(text(caption));
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    items_[item] = action;
    QObject::connect(action, &QAction::triggered, action, [this, item, action] { itemTriggered(item, action); });
    return action;
}

void QtMainWindow::buildMenus() {
    QMenuBar* bar = frame_->menuBar();
    auto addMenu = [&](QMenu* parent, Menu id, const char* caption, std::optional<Menu> parentId) {
        QMenu* m = parent ? parent->addMenu(text(caption)) : bar->addMenu(text(caption));
        menus_[id] = m;
        items_[id] = m->menuAction();
        if (parentId) parents_[id] = *parentId;
        return m;
    };
    auto place = [&](QMenu* m, Menu parentId, Menu item, const char* caption, QKeySequence shortcut = {}) {
        parents_[item] = parentId;
        return addItem(m, item, caption, shortcut);
    };

    QMenu* file = addMenu(nullptr, Menu::File, texts::kMenuFile, std::nullopt);
    place(file, Menu::File, Menu::FileOpen, texts::kMenuFileOpen, QKeySequence(Qt::CTRL | Qt::Key_O));
    place(file, Menu::File, Menu::FileSave, texts::kMenuFileSave, QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    place(file, Menu::File, Menu::FileExit, texts::kMenuFileExit);

    QMenu* exec = addMenu(nullptr, Menu::Exec, texts::kMenuExec, std::nullopt);
    place(exec, Menu::Exec, Menu::ExecStart, texts::kMenuExecStart, QKeySequence(Qt::Key_F5));
    place(exec, Menu::Exec, Menu::ExecStop, texts::kMenuExecStop, QKeySequence(Qt::Key_F6))->setEnabled(false);
    place(exec, Menu::Exec, Menu::ExecStep, texts::kMenuExecStep, QKeySequence(Qt::Key_F8));
    QAction* stimulate = place(exec, Menu::Exec, Menu::ExecStimulate, texts::kMenuExecStimulate);
    stimulate->setCheckable(true);
    stimulate->setChecked(true);

    QMenu* edit = addMenu(nullptr, Menu::Edit, texts::kMenuEdit, std::nullopt);
    place(edit, Menu::Edit, Menu::EditCut, texts::kMenuEditCut, QKeySequence(Qt::CTRL | Qt::Key_X));
    place(edit, Menu::Edit, Menu::EditCopy, texts::kMenuEditCopy, QKeySequence(Qt::CTRL | Qt::Key_C));
    place(edit, Menu::Edit, Menu::EditPaste, texts::kMenuEditPaste, QKeySequence(Qt::CTRL | Qt::Key_V));
    QObject::connect(edit, &QMenu::aboutToShow, edit, [this] {
        if (events_) events_->menuAboutToShow(Menu::Edit);
    });

    QMenu* pattern = addMenu(nullptr, Menu::Pattern, texts::kMenuPattern, std::nullopt);
    addMenu(pattern, Menu::PatternCommon, texts::kMenuPatternCommon, Menu::Pattern);
    addPatternItem(texts::kBuiltinPatternNames[0]);
    place(pattern, Menu::Pattern, Menu::PatternRandom, texts::kMenuPatternRandom);
    place(pattern, Menu::Pattern, Menu::PatternClear, texts::kMenuPatternClear);
    place(pattern, Menu::Pattern, Menu::PatternColor, texts::kMenuPatternColor);
    QMenu* reverse = addMenu(pattern, Menu::PatternReverse, texts::kMenuPatternReverse, Menu::Pattern);
    place(reverse, Menu::PatternReverse, Menu::PatternReverseRL, texts::kMenuPatternReverseRL);
    place(reverse, Menu::PatternReverse, Menu::PatternReverseTB, texts::kMenuPatternReverseTB);
    place(pattern, Menu::Pattern, Menu::PatternRotate, texts::kMenuPatternRotate);
    items_[Menu::Bar3] = pattern->addSeparator();
    parents_[Menu::Bar3] = Menu::Pattern;
    place(pattern, Menu::Pattern, Menu::PatternExpand, texts::kMenuPatternExpand);
    place(pattern, Menu::Pattern, Menu::PatternReduction, texts::kMenuPatternReduction);
    QObject::connect(pattern, &QMenu::aboutToShow, pattern, [this] {
        // As a pop-up the logic has refreshed the menu itself just before.
        if (events_ && !showingPatternPopup_) events_->menuAboutToShow(Menu::Pattern);
    });

    // Not in the menu bar: shown only as a pop-up.
    popup1_ = new QMenu(text(texts::kMenuPopup1), frame_.get());
    addItem(popup1_, Menu::Popup1Reset, texts::kMenuPopup1Reset, {});
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
    return popup == Popup::Popup1 ? popup1_ : menu(Menu::Pattern);
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
    if (checked) action->setCheckable(true);
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

void QtMainWindow::addPatternItem(const std::string& caption) {
    QMenu* common = menu(Menu::PatternCommon);
    auto* action = new QAction(common);
    common->addAction(action);
    patternItems_.push_back(action);
    setPatternItemCaption(patternItemCount() - 1, caption);
    QObject::connect(action, &QAction::triggered, action, [this, action] { patternActionTriggered(action); });
}

void QtMainWindow::removePatternItem(int index) {
    if (index < 0 || index >= patternItemCount()) return;
    QAction* action = patternItems_[static_cast<std::size_t>(index)];
    patternItems_.erase(patternItems_.begin() + index);
    menu(Menu::PatternCommon)->removeAction(action);
    action->deleteLater();  // it may be the one being triggered right now
}

std::string QtMainWindow::patternItemCaption(int index) const {
    const QAction* action = patternItemAction(index);
    if (!action) return {};
    return action->isSeparator() ? texts::kSeparatorCaption : toStdString(action->text());
}

void QtMainWindow::setPatternItemCaption(int index, const std::string& caption) {
    QAction* action = patternItemAction(index);
    if (!action) return;
    // A separator is drawn as a plain line: the style would print a text beside it.
    const bool separator = caption == texts::kSeparatorCaption;
    action->setSeparator(separator);
    action->setText(separator ? QString() : toQString(caption));
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

void QtMainWindow::buildToolbar() {
    toolBar_->setFixedHeight(kToolbarHeight);
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const texts::ToolbarEntry& entry : texts::kToolbar) {
        const std::string key = entry.key;
        if (key.empty()) {
            toolBar_->addSeparator();
            continue;
        }
        auto* action = new QAction(QIcon(toolbarPicture(key)), text(entry.toolTip), toolBar_);
        action->setToolTip(text(entry.toolTip));
        action->setEnabled(entry.enabled);
        if (entry.pressed) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        toolBar_->addAction(action);
        buttons_[key] = action;
        QObject::connect(action, &QAction::triggered, action, [this, key, action] {
            // The pressed state changes only when the logic sets it.
            if (action->isCheckable()) {
                const QSignalBlocker block(action);
                action->setChecked(!action->isChecked());
            }
            if (events_ && action->isEnabled()) events_->toolbarButtonClicked(key);
        });
    }
}

QAction* QtMainWindow::toolbarAction(const std::string& key) const {
    auto it = buttons_.find(key);
    return it == buttons_.end() ? nullptr : it->second;
}

QToolBar* QtMainWindow::toolBar() const { return toolBar_; }

void QtMainWindow::setButtonEnabled(const std::string& key, bool enabled) {
    if (QAction* action = toolbarAction(key)) action->setEnabled(enabled);
}

bool QtMainWindow::buttonEnabled(const std::string& key) const {
    const QAction* action = toolbarAction(key);
    return action && action->isEnabled();
}

void QtMainWindow::setButtonPressed(const std::string& key, bool pressed) {
    QAction* action = toolbarAction(key);
    if (!action) return;
    if (pressed) action->setCheckable(true);
    if (action->isCheckable()) action->setChecked(pressed);
}

bool QtMainWindow::buttonPressed(const std::string& key) const {
    const QAction* action = toolbarAction(key);
    return action && action->isChecked();
}

// ------------------------------------------------------------- status bar --

StatusPanels* QtMainWindow::statusPanels() const { return status_; }

void QtMainWindow::setPanelText(int panel, const std::string& value) { status_->setText(panel, value); }

std::string QtMainWindow::panelText(int panel) const { return toStdString(status_->text(panel)); }

int QtMainWindow::panelLeft(int panel) const { return status_->panelLeft(panel); }

// ------------------------------------------------------------------ board --

BoardView* QtMainWindow::boardView() const { return board_; }

void QtMainWindow::setCaption(const std::string& caption) { frame_->setWindowTitle(toQString(caption)); }

std::string QtMainWindow::caption() const { return toStdString(frame_->windowTitle()); }

int QtMainWindow::boardPixelWidth() const { return BoardView::kAreaSize; }

int QtMainWindow::boardPixelHeight() const { return BoardView::kAreaSize; }

void QtMainWindow::setBoardScale(int units) { scale_ = units; }

int QtMainWindow::boardScale() const { return scale_; }

void QtMainWindow::showBoard(const PixelImage& image) { board_->showImage(image); }

void QtMainWindow::showBoardPart(const PixelImage& image, const std::vector<PixelRect>& changed) {
    board_->showImagePart(image, changed);
}

void QtMainWindow::setFocusRect(const std::optional<PixelRect>& rect) { board_->setFocusRect(rect); }

BevelColors QtMainWindow::bevelColors() const {
    const QPalette& palette = frame_->palette();
    BevelColors colors;
    colors.light = toRgb(palette.color(QPalette::Midlight));
    colors.highlight = toRgb(palette.color(QPalette::Light));
    colors.shadow = toRgb(palette.color(QPalette::Dark));
    colors.darkShadow = toRgb(palette.color(QPalette::Shadow));
    return colors;
}

void QtMainWindow::boardMouse(int kind, int buttons, int shift, double x, double y) {
    if (!events_) return;
    // Board units: the drawing area spans `scale_` units (pixels while no
    // scale has been set).
    const double units = scale_ > 0 ? scale_ : BoardView::kAreaSize;
    const auto ux = static_cast<float>(x * units / BoardView::kAreaSize);
    const auto uy = static_cast<float>(y * units / BoardView::kAreaSize);
    switch (static_cast<BoardView::MouseKind>(kind)) {
        case BoardView::MouseKind::Press: events_->boardMouseDown(buttons, shift, ux, uy); break;
        case BoardView::MouseKind::Move: events_->boardMouseMove(buttons, shift, ux, uy); break;
        case BoardView::MouseKind::Release: events_->boardMouseUp(buttons, shift, ux, uy); break;
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

// The run loop yields once per generation, thousands of times a second.
// Handing over to Qt costs more than a generation, and the window cannot take
// that many pictures anyway: pending events are processed when the last
// processing was at least a millisecond ago, so input is still handled
// within about a millisecond.
void QtMainWindow::processEvents() {
    constexpr qint64 kYieldIntervalNs = 1'000'000;
    if (lastYield_.isValid() && lastYield_.nsecsElapsed() < kYieldIntervalNs) return;
    QCoreApplication::processEvents();
    lastYield_.start();
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
