// SPDX-License-Identifier: MIT
#pragma once

// The main window's controller: it turns what the user does in the window
// into commands on the Session (the document) and shows the Session in the
// window. Every command is a row of the command registry; one dispatcher runs
// them all and one refreshCommands() gives every menu item and toolbar button
// its state. It reaches the window system only through the interfaces of
// platform/; it owns only what belongs to the window (the off-screen picture
// and its painter, the pattern menu's files, the file dialogs' last kind, the
// colour dialog's custom colours).
//
// Its parts live in several files by subject:
//   window_controller.cpp   start-up, shutdown, the dispatcher, window events, undo
//   controller_commands.cpp the registry's rows: every command with its handler
//   controller_run.cpp      ReDraw, the run on the event loop, stimulation
//   controller_mouse.cpp    mouse editing, selection, focus rectangle, menu openings
//   controller_patterns.cpp pattern menu, transformations, random/clear/colour, resize
//   controller_files.cpp    board files, file dialogs, pattern files
//   controller_clipboard.cpp cut, copy and paste
//   controller_keep.cpp     the kept board and its restoring, Save As
//   controller_view.cpp     how the board is drawn (the 表示 menu)
//   controller_speed.cpp    the speed ladder and the remembered settings
//   controller_import.cpp   Life text patterns (RLE, plaintext) from files and the clipboard
//   controller_help.cpp     the help menu (its text: help_text.cpp)
//   controller_graph.cpp    the graph window: recording a run, exporting it
//   controller_drawing.cpp  drawing and erasing along a Shift+drag
//   controller_everyday.cpp the speed readout, recent files, selection keys, calm mode
//   controller_lineage.cpp  the lineage view (表示 › 系譜) and the ancestry tracer
//   controller_language.cpp the window's language (表示 › 言語)
//   controller_keyboard.cpp the keyboard cursor on the board, the board's description for screen readers
//   controller_zoom.cpp     zoom, moving the view over the torus, grid lines

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/command_registry.h"
#include "app/lineage_view.h"
#include "app/run_recorder.h"
#include "app/session.h"
#include "display/board_renderer.h"
#include "display/viewport.h"
#include "io/formats.h"
#include "platform/commands.h"
#include "platform/services.h"

namespace app {

// Board data file or pattern file, for the file dialogs.
inline constexpr int kBoardFileMode = 1;
inline constexpr int kPatternFileMode = 2;

class WindowController : public platform::WindowEvents, public platform::GraphEvents {
public:
    struct Services {
        platform::MainWindow& window;
        platform::Dialogs& dialogs;
        platform::Clipboard& clipboard;
        platform::FileSystem& files;
        // None: no board is kept and there is no pattern folder of the user's.
        platform::UserFiles* userFiles = nullptr;
        platform::Settings* settings = nullptr;  // none: nothing is remembered
        platform::GraphWindow* graph = nullptr;  // the graph window, when there is one
        // None: the texts stay Japanese, whatever 言語 says.
        platform::Translator* translator = nullptr;
    };
    struct Options {
        std::string commandLine;       // the whole argument text, one path
        std::optional<uint64_t> seed;  // fixed seed instead of the clock
        std::optional<platform::Language> language = std::nullopt;  // this run's language instead of the remembered one
    };

    WindowController(Services services, Options options);
    ~WindowController() override;
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    // The state as the tests see it; defined by the tests only.
    struct TestAccess;

    // Every command; one added before start() is in the window's menus and
    // toolbar, in the help, and run by the dispatcher.
    CommandRegistry& commands() { return commands_; }

    // Hands the window its menus and toolbar, makes the first board (or opens
    // the one given on the command line) and fills the pattern menu.
    void start();
    bool closed() const { return closed_; }

    // Runs a command the same way whatever gave it (menu, key, toolbar,
    // pop-up): keeps its change for undo as its row says, runs its handler,
    // then refreshes every command's state.
    void dispatch(platform::Menu id);

    // The most generations one slice of a continuous run computes before it
    // hands back to the event loop (besides its time budget).
    void setSliceLimit(int generations) { sliceLimit_ = generations; }

    // ---- drawing -------------------------------------------------------------
    void ReDraw();
    // Draws the board and its panels; ReDraw's part without the population
    // history and stimulation (a board put back as it was is shown with its
    // own counts). `countPopulation` puts the count in front of the history.
    void ShowBoard(bool countPopulation = false);
    void ScalePictures();  // both pictures to (0, 0)-(GridMax + 1, GridMax + 1)
    void ForgetDrawing() { painter_.forget(); }  // the next ReDraw paints the whole board
    void DrawFocus();
    void AutoStimulation();  // the last step of ReDraw

    // Live cells drawn raised (立体表示, the first state) or flat. May be
    // called before start(), to start in a remembered look.
    void SetRaisedCells(bool raised);
    bool RaisedCells() const { return cellLook_ == display::CellLook::Raised; }
    bool Calm() const { return calm_; }  // 点滅を抑える
    // The name an export proposes: "<board>-graph.<extension>", "graph.<extension>" without a file.
    std::string ExportName(const std::string& extension) const;
    // Takes a rate of the ladder (generations a second, 0 for no limit;
    // anything else is no limit) and remembers it.
    void SetSpeed(int rate);
    int Speed() const { return session_.pacer.rate(); }
    // Enables Expand and Reduction (menu items and buttons) by the size rule.
    void ApplySizeRule();

    // ---- files -----------------------------------------------------------------
    // Loads a board file; false when the file was refused (board unchanged).
    bool OpenFile(const std::string& NewFileName);
    // Stamps the pattern file of the pattern item numbered `Index` at the selection.
    void ReadPatternFile(const std::string& Index);
    // The file's name without its folder, extension included.
    static std::string FileTitle(const std::string& path);

    // ---- the lineage view (controller_lineage.cpp) ----------------------------------
    // How live cells are coloured: as they are, by their founder in one
    // channel, or by their age.
    enum class LineageColouring { Normal, Red, Green, Blue, Age };
    // The 系譜 submenu's entries, numbered when registered.
    struct LineageMenu {
        platform::Menu submenu, red, green, blue, age, normal, trace;
    };
    const LineageMenu& lineageMenu() const { return lineageMenu_; }
    LineageColouring lineageColouring() const { return lineageColouring_; }
    bool tracing() const { return tracing_; }

    // ---- the window's language (controller_language.cpp) --------------------------
    platform::Language language() const { return language_; }
    // Switches every text to `language` at once: the menus, tool tips and
    // panels here, the windows' own texts through the translator. `remember`
    // keeps it for the next start.
    void SetLanguage(platform::Language language, bool remember);
    // ---- the view (controller_zoom.cpp) ------------------------------------------------------
    // The 表示 menu's view items and the arrow keys, numbered when registered.
    struct ViewMenu {
        platform::Menu zoomIn, zoomOut, whole, actualSize, grid, left, right, up, down;
    };
    const ViewMenu& viewMenu() const { return viewMenu_; }
    const display::Viewport& viewport() const { return view_; }
    bool gridShown() const { return grid_; }

    // ---- platform::WindowEvents -------------------------------------------------
    void menuTriggered(platform::Menu item) override;
    void menuAboutToShow(platform::Menu menu) override;
    void patternItemTriggered(int index) override;
    void toolbarButtonClicked(platform::Button button) override;
    void boardMouseDown(const platform::BoardMouse& event) override;
    void boardMouseMove(const platform::BoardMouse& event) override;
    void boardMouseUp(const platform::BoardMouse& event) override;
    void boardExposed() override;
    void boardWheel(int steps, double x, double y) override;
    void statusBarMouse(platform::MouseButton button, platform::Modifiers modifiers, int x, int y) override;
    void windowClosing() override;
    bool canDropFiles() override;
    void filesDropped(const std::vector<std::string>& paths) override;
    // ---- platform::GraphEvents --------------------------------------------------
    void graphExportRequested(platform::GraphExport kind) override;
    void graphClosed() override;

    // ---- the keyboard cursor (controller_keyboard.cpp) ---------------------------------
    // Arrow keys show the cursor, then move it a cell (round the torus) and
    // select its cell as a click does; Shift+arrows select from where the
    // cursor was as a drag does (stopping at the edge); Space toggles its
    // cell as Shift+click does. A mouse press on the board hides it (and puts
    // it on the pressed cell), and so does the focus leaving the board.
    bool boardKey(platform::BoardKey key, platform::Modifiers modifiers) override;
    void boardFocusLeft() override;
    // While it is shown, the arrow keys and Space are the cursor's.
    bool KeyCursorShown() const { return keyCursor_.shown; }
    std::pair<int32_t, int32_t> KeyCursorCell() const { return {keyCursor_.column, keyCursor_.row}; }

private:
    // The states of commands that follow the moments the user gave them
    // rather than the document: each is what the last such moment left.
    struct EditCommands {
        bool cutCopy;  // 切り取り and コピー
        bool paste;
    };
    struct PatternCommands {
        bool selected;  // 登録済 and the registration button
        bool live;      // 色, 反転, 回転 and their buttons: a live cell in the selection
    };
    struct SizeCommands {
        bool expand;
        bool reduce;
    };

    // ---- the registry and the dispatcher (controller_commands.cpp) ----------
    void registerCommands();
    // Runs `change` as the undo kind says.
    void runRecorded(UndoKind kind, const std::function<void()>& change);
    // The one place that sets the enabled, checked and pressed states.
    void refreshCommands();

    // ---- handlers ----------------------------------------------------------------
    void openBoard();
    void saveBoard();
    void saveBoardAs();
    void restoreKeptBoard();
    void quit();
    void startRun();
    void stopRun();
    void stepOnce();
    void toggleAutoStimulation();
    void undo();
    void redo();
    void stepBack();
    void cutSelection();
    void copySelection();
    void pasteSelection();
    void registerPattern();
    void fillRandom();
    void clearBoard();
    void chooseColour();
    void mirrorLeftRight();
    void mirrorTopBottom();
    void rotateSelection();
    void enlargeBoard();
    void reduceBoard();
    void chooseBoardSize();  // 盤面の大きさ: any side the board may have
    void resetGeneration();
    void toggleRaisedCells();
    void changeSpeed(int rungs);  // up (+) or down (-) the ladder, stopping at its ends
    void showKeysHelp();
    void showAbout();
    void toggleGraph();
    void colourByLineage(LineageColouring colouring);
    void toggleTracing();

    // ---- the run (controller_run.cpp) ----------------------------------------------
    bool canRun() const;
    // One generation of a step or run: computed, drawn, kept in the line, recorded.
    void runGeneration();
    // A slice of a continuous run: as many generations as fit in a few
    // milliseconds (one at a paced rung), then the next slice is scheduled.
    void runSlice(unsigned serial);
    void scheduleSlice();
    void endExtinctRun(unsigned serial);  // the message, then the stop
    void dropSelection();  // a run or step drops the selection

    // ---- mouse and menu openings (controller_mouse.cpp) -----------------------------
    void pressOnBoard(platform::MouseButton button, bool shift, const platform::PointedCell& at);
    void moveOnBoard(const platform::PointedCell& at);
    void releaseOnBoard(platform::MouseButton button);
    void pressBoard(const platform::BoardMouse& event);  // a press of the mouse or the keyboard cursor
    void moveOverBoard(const platform::BoardMouse& event);  // a move of either, its cell already found
    void paintBoard();  // the window system asks for the board
    void openEditMenu();
    void openPatternMenu();
    bool SelectionHasLiveCell() const;

    // ---- drawing with Shift+drag (controller_drawing.cpp) ------------------------------
    // A Shift+left press toggles its cell as a click does; dragging on, every
    // cell the pointer passes takes that cell's new state (a dead one comes
    // to life in a random colour, a live one dies), the cells between two
    // pointer positions included. The press and the whole drag are one change.
    struct Stroke {
        bool active = false;
        bool drawsLive = false;
        bool hasLast = false;  // off the board, the next cell starts afresh
        int32_t lastColumn = 0, lastRow = 0;
    };
    void beginStroke(const platform::PointedCell& at);
    void strokeTo(const platform::BoardMouse& event);
    void finishStroke();  // ends the change; nothing when no stroke is going on

    // ---- patterns ------------------------------------------------------------------
    void placePatternItem(int Index);
    // The colour dialog starting on `start`; the confirmed colour, or nothing.
    std::optional<platform::RgbColour> askColour(platform::RgbColour start);
    // Drops a selection (and its focus rectangle) that reaches beyond a board
    // of `gridMax`.
    void DropSelectionBeyond(int32_t gridMax);
    // The board to `newGridMax`, keeping the cells that still fit.
    void ResizeTo(int32_t newGridMax);
    void FillPatternMenu();
    std::string PatternItemPath(int index);  // the pattern file a pattern item stands for
    void CreatePatternFile();

    // ---- files -----------------------------------------------------------------------
    void SaveData();
    std::string askOpenPath(int Mode);
    std::string askSavePath(int Mode);
    void SetFileCaption();
    void AskToSaveChanges();  // before another board is loaded
    // A Life text pattern (RLE or plaintext) as a new board: nothing when the
    // bytes are not one (the caller reads them as a board file), otherwise
    // whether it was taken (a refusal has been shown, the board unchanged).
    std::optional<bool> OpenLifePattern(const std::string& path, const std::vector<uint8_t>& bytes);
    // Writes the board to this copy's kept file when it differs from what was
    // kept last (not during a continuous run: its stop keeps the board).
    void KeepBoard();
    void ReportSettingsFailure();  // a failed save of the settings, told once
    void ScheduleKeeping();  // keeps the board within a second, once, however often it changes

    // ---- clipboard ---------------------------------------------------------------------
    bool PutSelectionOnClipboard();  // false when the user was told it failed
    // The Life pattern in the clipboard's text as a cell block whose live
    // cells take random colours; nothing when the text holds none.
    std::optional<io::CellBlock> ClipboardLifePattern();
    bool ClipboardCanPaste();  // a cell block, or text that reads as a Life pattern

    // ---- undo ----------------------------------------------------------------------------
    void RestoreEditor(const EditorState& state);
    // The board has been replaced as a whole (opened, ランダム, クリア, 拡大,
    // 縮小, undone or redone): an open graph starts a new record from it.
    void BoardReplaced();
    void RecordGeneration();  // after each generation: the open graph records it
    // ---- the graph's exports (controller_graph.cpp) ----
    bool writeGraphFile(const std::string& path, const std::vector<uint8_t>& bytes);  // false: failed, told
    void exportLineage(const std::string& chosen);

    // ---- the lineage view (controller_lineage.cpp) ----------------------------------
    void registerLineageCommands();
    bool lineageViewOn() const { return lineageColouring_ != LineageColouring::Normal || tracing_; }
    // The view wants the session's lineage, or gives it back.
    void wantLineage(bool wanted);
    // The board as the view colours it (the board itself while the view is
    // off); it keeps the cells' ages up to date.
    const engine::Board& ShownBoard();
    // The traced founders' origins, outlined on the picture after a drawing;
    // the rectangles drawn are added to `changed`.
    void DrawLineageMarks(std::vector<display::PixelRect>& changed);
    // A left click in tracing mode: the cell's founders are traced.
    void traceCellAt(const platform::PointedCell& at);
    void ShowTrace();  // the traced cell's line in the pointer panel

    // ---- the window's language (controller_language.cpp) ----
    // A text of ui/texts.h in the language in use. Each is asked of the
    // translator once per language: the panels take two every generation.
    std::string tr(const char* text) const;
    mutable std::unordered_map<const char*, std::string> translated_;
    void registerLanguageCommands();
    void startLanguage();  // at start-up: --lang, else the remembered language
    void ShowLanguage();   // every caption, tool tip and panel in the language in use
    platform::Language language_ = platform::Language::Japanese;

    // ---- helpers -----------------------------------------------------------------------
    platform::MainWindow& window() { return services_.window; }
    std::string caption() const { return services_.window.caption(); }
    bool HasSelection() const { return session_.hasSelection(); }
    // Shows a message box titled with the application title.
    platform::MessageAnswer Message(const std::string& text, platform::MessageIcon icon,
                                    platform::MessageButtons buttons = platform::MessageButtons::Ok,
                                    platform::MessageAnswer defaultButton = platform::MessageAnswer::Ok);
    void shutdown();  // the window closes: the run ends, the board is kept

    Services services_;
    Options options_;
    Session session_;
    CommandRegistry commands_;
    // Short names for the document's parts, which every handler works on.
    engine::Board& board = session_.board;
    Selection& selection = session_.selection;
    engine::RandomSequence& random = session_.random;
    std::string& FileName = session_.FileName;

    // The colour dialog's custom colours (black at first), kept while the window lives.
    std::vector<platform::RgbColour> CustomColors = std::vector<platform::RgbColour>(16);
    platform::PixelImage picBuffer;  // the off-screen picture of the board
    display::BoardPainter painter_;  // what picBuffer shows, so a drawing repaints only changes
    display::CellLook cellLook_ = display::CellLook::Raised;
    int dialogMode_ = 0;  // the file dialogs keep the kind of their last use
    std::vector<std::string> patternFiles_;  // per pattern item its file's path; "" for the others
    std::vector<uint8_t> keptBytes_;  // the board file last kept (or found at start-up)
    bool keepingDue_ = false;         // a keeping is scheduled
    bool keepFailing_ = false;        // the last keeping failed (and was told)
    RunRecorder recorder_;            // what the graph window shows
    bool graphOpen_ = false;
    bool closed_ = false;
    Stroke stroke_;

    EditCommands editMenu_{true, true};
    EditCommands editButtons_{false, false};
    PatternCommands patternMenu_{true, true};
    PatternCommands patternButtons_{false, false};
    SizeCommands sizeMenu_{true, true};
    SizeCommands sizeButtons_{true, true};

    // ---- everyday use (controller_everyday.cpp) ----------------------------------------
    // The calm mode hands a run's picture to the window at most once in this interval.
    static constexpr std::chrono::nanoseconds kCalmInterval = std::chrono::milliseconds(400);
    void startEveryday();  // at start-up: the remembered calm mode and recent files, blank readouts
    void ShowSpeed();      // the speed panel
    void NoticeSpeed();    // the notice over the board after a change of rung
    void RememberRecent(const std::string& path);
    void StoreRecentFiles();
    void ShowRecentFiles();
    void openRecent(std::size_t index);
    void deleteSelection();
    void selectAll();
    void deselect();
    void ShowPointerCell();  // the colour panel: the cell under the pointer as it is now
    void toggleCalm();
    // In the calm mode during a run: whether the picture just painted waits
    // (true), or has been handed to the window whole (true) or is to be as usual (false).
    bool CalmHoldsPicture();
    void FlushCalmPicture();  // a picture held back reaches the window now
    std::string DialogFolder();  // where file dialogs start: the current file's folder, else the working one
    std::vector<std::string> recentFiles_;  // newest first
    std::array<platform::Menu, 8> recentItems_{};
    std::array<platform::Menu, 5> popupEditItems_{};  // the pop-up's separator and edit items
    std::optional<std::pair<int32_t, int32_t>> pointerCell_;
    bool calm_ = false;
    bool calmPending_ = false;  // a picture painted but not handed to the window
    bool calmShownOnce_ = false;
    std::chrono::nanoseconds calmShown_{0};
    // ---- end of everyday use ----
    // ---- the keyboard cursor ----
    struct KeyCursor {
        bool shown = false;
        bool placed = false;  // it starts in the board's middle
        int32_t column = 0, row = 0;
        int32_t anchorColumn = 0, anchorRow = 0;  // where Shift+arrows began selecting
    };
    void MoveKeyCursor(int32_t dx, int32_t dy, bool select);
    void FitKeyCursor();   // on the board, whatever its size now
    void FollowKeyCursor();  // a zoomed view moves to keep the cursor in sight
    // Its outline where its cell is drawn now, and the board's description,
    // at once (`now`) or at the pace a run allows.
    void ShowKeyCursor(bool now = true);
    // What a screen reader says of the board; during a run at most every kDescribeInterval.
    void DescribeBoard();
    static constexpr std::chrono::nanoseconds kDescribeInterval = std::chrono::milliseconds(250);
    KeyCursor keyCursor_;
    std::optional<std::chrono::nanoseconds> described_;  // when the board was last described during a run
    // ---- end of the keyboard cursor ----
    // ---- the lineage view ----
    LineageMenu lineageMenu_{};
    LineageColouring lineageColouring_ = LineageColouring::Normal;
    bool tracing_ = false;
    bool lineageWanted_ = false;  // the view holds one of the session's wants
    struct Trace {
        int32_t x = 0, y = 0;  // the cell clicked
        std::array<engine::FounderId, engine::kChannels> founders{};
        std::array<std::optional<engine::Founder>, engine::kChannels> records;  // as they were at the click
        int32_t bornGeneration = 0;
        uint64_t bornClock = 0;
    };
    std::optional<Trace> trace_;
    bool marksDrawn_ = false;  // origin outlines are on the picture: the next change repaints all
    LineageView lineageView_;  // the cells' ages and the founders' colours
    engine::Board viewBoard_;  // the board as the view colours it

    unsigned runSerial_ = 0;  // a slice of an earlier run finds it changed and ends
    bool runChangeOpen_ = false;  // the run's change is kept for undo when it stops
    bool slicing_ = false;        // inside a slice: the commands are refreshed at its end

    // ---- the view: zoom, moving the view, grid (controller_zoom.cpp) ----
    // During a run a zoomed or whole big board is drawn at most once in this
    // interval, or in four times the last picture's drawing time if longer
    // (whole pictures, unlike the painter's changes); a held one is drawn
    // when the run ends.
    static constexpr std::chrono::nanoseconds kViewFrame = std::chrono::milliseconds(16);
    void registerViewCommands();
    void zoomBy(int steps, double x, double y);  // the board under (x, y) stays there
    void zoomIn();
    void zoomOut();
    void showWholeBoard();
    void showActualSize();
    void toggleGrid();
    // The arrow keys move the view by an eighth of the picture; every arrow
    // key of the board comes here.
    void panByKey(int across, int down);
    void SetView(const display::Viewport& view);  // shows the board in `view`
    // Whether the picture is the whole unmoved board the painter keeps by changes.
    bool ViewPaintedByChanges() const;
    void DrawView(bool countPopulation);  // ShowBoard's picture in any other view
    void FlushViewPicture();              // a picture held back during a run is drawn now
    // The event with the cell under the pointer in the view shown.
    platform::BoardMouse ViewedMouse(const platform::BoardMouse& event) const;
    // A middle-button drag, or a left one with Space held, moves the view;
    // true when the event was one of those.
    bool ViewDragPress(const platform::BoardMouse& event);
    bool ViewDragMove(const platform::BoardMouse& event);
    bool ViewDragRelease(const platform::BoardMouse& event);
    ViewMenu viewMenu_{};
    display::Viewport view_;
    int32_t viewSide_ = 0;  // the board side the view was made for
    bool grid_ = false;
    struct ViewDrag {
        bool active = false;
        double x = 0, y = 0;  // where the drag began
        display::Viewport from;
    } viewDrag_;
    bool viewPending_ = false;
    bool viewDrawnOnce_ = false;
    std::chrono::nanoseconds viewDrawn_{0};
    std::chrono::nanoseconds viewDrawTime_{0};  // how long the last picture took
    // ---- end of the view ----
    int sliceLimit_ = 1 << 20;
};

}  // namespace app
