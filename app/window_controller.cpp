// SPDX-License-Identifier: MIT
// Start-up, shutdown, the events of the window, and undo and redo.

#include "app/window_controller.h"

#include "engine/rules.h"
#include "io/formats.h"
#include "ui/texts.h"

namespace app {

using platform::Menu;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

WindowController::WindowController(Services services, Options options)
    : services_(services), options_(std::move(options)) {
    picBuffer.resize(services_.window.boardPixelWidth(), services_.window.boardPixelHeight());
    registerCommands();
    if (services_.graph) {
        services_.graph->setEvents(this);
        services_.graph->showSeries(&recorder_.series());
    }
}

WindowController::~WindowController() {
    if (services_.graph) {
        services_.graph->setEvents(nullptr);
        services_.graph->showSeries(nullptr);
    }
}

platform::MessageAnswer WindowController::Message(const std::string& text, MessageIcon icon, MessageButtons buttons,
                                                  MessageAnswer defaultButton) {
    return services_.dialogs.message(text, texts::kAppTitle, icon, buttons, defaultButton);
}

void WindowController::start() {
    window().setCommands(commands_.looks());
    startLanguage();
    startEveryday();
    random.reseed(options_.seed ? *options_.seed : engine::RandomSequence::clockSeed());
    // The toolbar pictures belong to the window and are in place already.
    // The clipboard knows the cell block's format by its name; there is
    // nothing to register.
    session_.run.AutoStimulate = true;
    const std::optional<int> rate =
        services_.settings ? services_.settings->readInt(platform::setting::kSpeed) : std::nullopt;
    SetSpeed(rate && SpeedRungOf(*rate) ? *rate : kUnlimitedRate);  // a rate off the ladder is no limit
    const std::optional<bool> raised =
        services_.settings ? services_.settings->readBool(platform::setting::kRaised) : std::nullopt;
    SetRaisedCells(raised.value_or(true));

    selection.SelLeft = -1;
    board.GridMax = engine::kStartGridMax;

    bool loaded = false;
    const std::string& path = options_.commandLine;
    if (!path.empty()) {
        if (services_.files.exists(path)) {
            // A refused file has shown its message; start-up then goes on as
            // without a file, so a board exists before the first drawing.
            loaded = OpenFile(path);
            if (loaded) ReDraw();
            if (loaded) session_.recordStartupOpen(texts::kAppTitle, caption());
            if (loaded) RememberRecent(path);
        } else {
            Message("'" + path + texts::kNotFoundSuffix, MessageIcon::Warning);
        }
    }
    if (!loaded) {
        board.create(board.GridMax);
        engine::Init(board, random);
        ScalePictures();
        ReDraw();
    }
    FillPatternMenu();
    // The board the program starts with is not kept: only a change is, so
    // that merely starting and closing a copy keeps nothing of it.
    keptBytes_ = io::EncodeBoardFile(board);
    refreshCommands();
}

void WindowController::FillPatternMenu() {
    platform::MainWindow& w = services_.window;
    // Item 0 exists from the start; the other built-ins and the separator follow.
    for (int i = 1; i < 5; ++i) w.addPatternEntry({.caption = texts::kBuiltinPatternNames[i]});
    w.addPatternEntry({.kind = platform::PatternEntry::Kind::Separator});
    patternFiles_.assign(w.patternItemCount(), std::string());
    // The pattern files beside the program, then those of the user's folder.
    std::vector<std::string> folders{services_.files.programDirectory()};
    if (services_.userFiles) folders.push_back(services_.userFiles->patternFolder());
    const std::string ext = std::string(".") + texts::kPatternExtension;
    for (const std::string& folder : folders) {
        for (const std::string& name : services_.files.list(folder, ext)) {
            w.addPatternEntry({.caption = name.substr(0, name.size() - ext.size())});
            patternFiles_.push_back(folder + "/" + name);
        }
    }
    w.addPatternEntry({.caption = tr(texts::kRegisterPattern)});
    patternFiles_.emplace_back();
}

void WindowController::shutdown() {
    if (closed_) return;
    session_.run.RunMode = RunMode::Stopped;  // a slice still scheduled ends when it comes
    KeepBoard();
    // A board that could not be kept would be lost with the window: the
    // same question as before another board is loaded.
    if (keepFailing_) AskToSaveChanges();
    closed_ = true;
    board.Cells.clear();
    board.Cells.shrink_to_fit();
    session_.stepper = engine::Stepper();  // its work space and second thread too
}

void WindowController::quit() {
    window().close();  // closes through windowClosing
    shutdown();
}

// ---- events from the window ---------------------------------------------------
// Once the window has closed, late events change nothing.

void WindowController::menuTriggered(Menu item) { dispatch(item); }

void WindowController::menuAboutToShow(Menu menu) {
    if (closed_) return;
    if (menu == Menu::Edit) openEditMenu();
    if (menu == Menu::Pattern) openPatternMenu();
    refreshCommands();
}

void WindowController::patternItemTriggered(int index) {
    if (closed_) return;
    runRecorded(UndoKind::Change, [&] { placePatternItem(index); });
    refreshCommands();
}

void WindowController::toolbarButtonClicked(platform::Button button) {
    if (const CommandRow* row = commands_.find(button)) dispatch(row->look.id);
}

void WindowController::boardMouseDown(const platform::BoardMouse& pointer) {
    if (closed_ || ViewDragPress(pointer)) return;
    const platform::BoardMouse event = ViewedMouse(pointer);
    // The mouse takes over from the keyboard cursor, which waits on the pressed cell.
    if (event.cell.onBoard && board.contains(event.cell.column, event.cell.row))
        keyCursor_.column = event.cell.column, keyCursor_.row = event.cell.row, keyCursor_.placed = true;
    if (keyCursor_.shown) keyCursor_.shown = false, ShowKeyCursor();
    pressBoard(event);
}

void WindowController::pressBoard(const platform::BoardMouse& event) {
    // Tracing: a left click traces the cell, no click edits or selects.
    if (tracing_) {
        if (event.button == platform::MouseButton::Left) traceCellAt(event.cell);
        return;
    }
    runRecorded(UndoKind::Change, [&] {
        pressOnBoard(event.button, event.modifiers.shift, event.cell);
        if (event.button == platform::MouseButton::Left && event.modifiers.shift) beginStroke(event.cell);
    });
    refreshCommands();
}

void WindowController::boardMouseMove(const platform::BoardMouse& pointer) {
    if (closed_ || ViewDragMove(pointer)) return;
    moveOverBoard(ViewedMouse(pointer));
}

void WindowController::moveOverBoard(const platform::BoardMouse& event) {
    if (stroke_.active) strokeTo(event);
    moveOnBoard(event.cell);
    if (tracing_) ShowTrace();  // the traced cell's line stays in the pointer panel
}

void WindowController::boardMouseUp(const platform::BoardMouse& pointer) {
    if (closed_ || ViewDragRelease(pointer)) return;
    const platform::BoardMouse& event = pointer;
    finishStroke();
    if (tracing_ && !selection.Selecting) return;  // no pop-up either (a drag begun before still ends)
    releaseOnBoard(event.button);
    refreshCommands();
}

void WindowController::boardExposed() {
    if (!closed_) paintBoard();
}

void WindowController::statusBarMouse(platform::MouseButton button, platform::Modifiers /*modifiers*/, int x,
                                      int /*y*/) {
    if (!closed_ && x < window().panelLeft(platform::Panel::Population) && button == platform::MouseButton::Right)
        window().showPopup(platform::Popup::Popup1);
}

void WindowController::windowClosing() {
    finishStroke();
    shutdown();
}

// ---- undo and redo, one generation back -------------------------------------------

void WindowController::RestoreEditor(const EditorState& s) {
    platform::MainWindow& w = window();
    const bool resized = s.board.GridMax != board.GridMax;
    session_.restore(s);
    if (resized) ScalePictures();
    w.setFocusRect(std::nullopt);
    if (s.focusShown) DrawFocus();  // shows it and sets the flag
    w.setCaption(s.caption);

    ShowBoard();
    ApplySizeRule();
    // The selection's buttons follow the selection brought back.
    const bool selected = HasSelection();
    editButtons_ = {selected, selected && services_.clipboard.hasCells()};
    patternButtons_ = {selected, SelectionHasLiveCell()};
}

void WindowController::undo() {
    if (!session_.canUndo()) return;
    RestoreEditor(session_.undo());
    BoardReplaced();  // the graph starts afresh from the board brought back
}

void WindowController::redo() {
    if (!session_.canRedo()) return;
    RestoreEditor(session_.redo());
    BoardReplaced();
}

void WindowController::stepBack() {
    if (!session_.canGoBack()) return;
    session_.back();
    ShowBoard();
}

}  // namespace app
