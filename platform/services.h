// SPDX-License-Identifier: MIT
#pragma once

// The window-system services that the program's logic calls, as small
// interfaces. The Qt 6 implementation is in platform/qt/; the tests provide
// recording fakes (tests/support/fakes.h).

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "analysis/graph_series.h"
#include "display/pixel_image.h"

namespace platform {

// The board picture and its colours, as the display module draws them.
using display::BevelColors;
using display::PixelImage;
using display::PixelRect;
using display::Rgb;
using display::rgb;

// ---------------------------------------------------------------- results --

// Why a service call failed, in the system's own words (for the user to read
// after the program's message); the program chooses its message by the call
// that failed.
struct Error {
    std::string reason;
    // A file larger than any the program reads (over 64 MiB): it cannot be
    // one of the program's files.
    bool tooLarge = false;
    friend bool operator==(const Error&, const Error&) = default;
};

// The outcome of a service call that can fail: its value, or the Error.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : outcome_(std::move(value)) {}
    Result(Error error) : outcome_(std::move(error)) {}

    bool ok() const { return outcome_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(outcome_); }
    const T& value() const { return std::get<0>(outcome_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(outcome_); }

private:
    std::variant<T, Error> outcome_;
};

// The outcome of a call that gives nothing back when it works.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }

private:
    std::optional<Error> error_;
};

// ---------------------------------------------------------------- dialogs --

enum class MessageIcon { None, Information, Question, Warning, Exclamation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// One entry of a file dialog's type list: the name the user sees and the
// file-name patterns it shows ("*" is every file).
struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;
    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// Settings of a file dialog; the first filter is the one shown first.
struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // appended to a name typed without one
    std::string initialDirectory;
    std::string initialName;  // the file name proposed at first (a save dialog), or ""
};

// A colour as the colour dialog and the logic exchange it: its red, green
// and blue parts.
struct RgbColour {
    uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal message box; returns the button pressed.
    virtual MessageAnswer message(const std::string& text, const std::string& title, MessageIcon icon,
                                  MessageButtons buttons, MessageAnswer defaultButton) = 0;

    // Open dialog: only an existing file in an existing folder. Returns the
    // full path, or "" when cancelled.
    virtual std::string openFile(const FileDialogRequest& request) = 0;

    // Save dialog: the folder must exist; asks before returning an existing
    // file. Returns the full path, or "" when cancelled.
    virtual std::string saveFile(const FileDialogRequest& request) = 0;

    // The colour dialog, offering every colour and starting on `initial`,
    // with the custom colours of the list shown (as many as the dialog has
    // room for); afterwards the list holds every custom colour of the
    // dialog, the user's changes included. The chosen colour, or nothing
    // when cancelled.
    virtual std::optional<RgbColour> chooseColor(RgbColour initial, std::vector<RgbColour>& customColors) = 0;

    // A small dialog asking for a whole number from `minimum` to `maximum`
    // (the field takes nothing outside them), starting at `value`. The
    // number, or nothing when cancelled.
    virtual std::optional<int> askNumber(const std::string& title, const std::string& label, int value, int minimum,
                                         int maximum) = 0;

    // A modal window showing a long plain text (the help), which the user
    // can scroll and select but not change; returns when it is closed.
    virtual void showText(const std::string& title, const std::string& text) { (void)title, (void)text; }

    // The window system's library and its version as the program runs on
    // it ("Qt 6.4.2"), for the version information.
    virtual std::string toolkitVersion() { return {}; }
};

// -------------------------------------------------------------- clipboard --

// What a copy puts on the clipboard at once: the program's cell block (which
// every running copy of the program reads) and, for other programs, a
// picture and a text. An empty cell block, picture or text is left out (a
// selection too large for a cell block goes as the text alone).
struct ClipboardContents {
    std::vector<uint8_t> cells;
    PixelImage picture;
    std::string text;
};

// The longest clipboard text the program reads, in bytes of UTF-8.
// The RLE text of a whole 2048 x 2048 board stays under 4.3 MB.
inline constexpr std::size_t kLargestClipboardText = std::size_t{8} << 20;

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard's contents. Fails when the clipboard could not
    // be taken over, so that nothing of `contents` is on it.
    virtual Result<void> put(const ClipboardContents& contents) = 0;

    // Whether the clipboard holds a cell block (from this or another copy).
    virtual bool hasCells() = 0;

    // The cell block's bytes as they are on the clipboard (possibly none).
    // Fails when there is no cell block (any more).
    virtual Result<std::vector<uint8_t>> getCells() = 0;

    // Whether the clipboard offers a plain text, told without fetching it.
    virtual bool hasText() { return !getText().empty(); }

    // The clipboard's plain text (Life programs and editors copy patterns as
    // RLE or plaintext); "" when it holds none, and when it is longer than
    // kLargestClipboardText bytes: no pattern is that long, and where the
    // window system tells the size first such a text is not even fetched.
    virtual std::string getText() { return {}; }
};

// ------------------------------------------------------------- file system --

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0;  // a file (not a folder) of that path

    // The whole file; fails when it cannot be read, when it is not a regular
    // file (a FIFO or a device is refused without waiting for it) and when it
    // is over 64 MiB (Error::tooLarge).
    virtual Result<std::vector<uint8_t>> readFile(const std::string& path) = 0;

    // Writes the whole file so that it either has the new contents or, on
    // failure, the contents it had before (written to a temporary file beside
    // it, then put in its place). A symbolic link is written through to the
    // file it names; anything but a regular file is refused.
    virtual Result<void> writeFile(const std::string& path, const std::vector<uint8_t>& bytes) = 0;

    // Names (not paths) of the files in `directory` whose names end in
    // `suffix`, in the order the listing returns them.
    virtual std::vector<std::string> list(const std::string& directory, const std::string& suffix) = 0;

    virtual std::string programDirectory() = 0;
    virtual std::string currentDirectory() = 0;
};

// ------------------------------------------------------------- user files --

// The user's own files beside the ones they name: the board each running copy
// keeps (so that the last board survives any ending of the program, a killed
// process included) and the user's pattern folder.
class UserFiles {
public:
    virtual ~UserFiles() = default;

    // The file to keep this running copy's board in now, its folder made
    // when missing; "" when there is no such folder. Every running copy has
    // files of its own, so that copies never overwrite each other's board,
    // and each call may give a new name that marks the board kept later than
    // any before it: the caller writes the board there at once.
    virtual std::string keptBoardFile() = 0;

    // The board to bring back: the newest readable board kept by a copy that
    // has ended, or, when there is none, the newest kept by another running
    // copy; "" when there is none at all. Newest is by the order of keeping,
    // not by the files' dates. This copy's own board is never the answer.
    virtual std::string lastKeptBoard() = 0;

    // Calls `due` once from the event loop, `milliseconds` from now.
    virtual void callLater(int milliseconds, std::function<void()> due) = 0;

    // The user's pattern folder (which need not exist yet), and making it
    // (true when it exists afterwards).
    virtual std::string patternFolder() = 0;
    virtual bool makePatternFolder() = 0;
};

// --------------------------------------------------------------- settings --

// Values kept from one start of the program to the next. A value that was
// never stored, or cannot be read back as its type, is nothing: the caller
// uses its default.
class Settings {
public:
    virtual ~Settings() = default;
    virtual std::optional<int> readInt(const std::string& key) const = 0;
    virtual std::optional<bool> readBool(const std::string& key) const = 0;
    virtual void writeInt(const std::string& key, int value) = 0;
    virtual void writeBool(const std::string& key, bool value) = 0;

    // Why the values written could not be kept, told once: the first call
    // after a failed save gives the reason, every later call nothing.
    virtual std::optional<Error> unreportedSaveFailure() { return std::nullopt; }

    // A list of texts (the recent files), in its order; nothing when none was stored.
    virtual std::optional<std::vector<std::string>> readStrings(const std::string& key) const {
        (void)key;
        return std::nullopt;
    }
    virtual void writeStrings(const std::string& key, const std::vector<std::string>& values) { (void)key, (void)values; }
};

// The keys of the stored values.
namespace setting {
inline constexpr const char* kSpeed = "run/speed";        // int: generations a second, 0 for no limit
inline constexpr const char* kRaised = "view/raised";     // bool: 立体表示, true at first start
inline constexpr const char* kGeometry = "window/geometry";  // the window's size and position (Qt side)
inline constexpr const char* kGraphGeometry = "graph/geometry";  // the graph window's (Qt side)
// ---- everyday use ----
inline constexpr const char* kCalm = "view/calm";            // bool: 点滅を抑える, false at first start
inline constexpr const char* kRecentFiles = "file/recent";   // strings: the recent files, newest first
// ---- the window's language ----
inline constexpr const char* kLanguage = "view/language";    // strings: one, "ja" or "en"; Japanese when none
}  // namespace setting

// ------------------------------------------------------------- the window --

// Menu items (and whole menus and separators) the logic enables, checks or
// hides; the logic describes each to the window (platform/commands.h).
// PatternRegister is the last item of the pattern list ("パターン登録"), which
// the toolbar reaches too. Commands added while the program runs take
// identities of their own beyond these (a row asks for one with Unassigned).
enum class Menu {
    Unassigned = -1,
    File, FileOpen, FileSave, Bar1, FileExit,
    Exec, ExecStart, ExecStop, ExecStep, ExecStimulate,
    Edit, EditCut, EditCopy, EditPaste,
    Pattern, PatternCommon, PatternRegister, PatternRandom, PatternClear, PatternColor,
    PatternReverse, PatternReverseRL, PatternReverseTB, PatternRotate,
    Bar3, PatternExpand, PatternReduction,
    Popup1, Popup1Reset,
    FileSaveAs,   // 名前を付けて保存: always asks for the name
    FileRestore,  // 前回の盤面を復元: the board kept by the last copy that ended
    EditUndo, EditRedo, Bar20, ExecBack,  // undo and redo (after a separator in 編集), one generation back
    View, ViewRaised,  // 表示: cells drawn raised or flat
    // The 速度 submenu of 実行: the rungs (generations a second; Max is no
    // limit), its separator, and the keys one rung faster and slower.
    ExecSpeed, ExecSpeed1, ExecSpeed2, ExecSpeed5, ExecSpeed10, ExecSpeed20, ExecSpeed50, ExecSpeed100,
    ExecSpeed200, ExecSpeed500, ExecSpeed1000, ExecSpeedMax, Bar10, ExecFaster, ExecSlower,
    Help, HelpKeys, HelpAbout,  // the help menu, last on the bar
    ViewGraph,  // グラフ(&G): opens or closes the graph window
};

// Toolbar buttons, named after their keys; None for a command without one.
enum class Button {
    None, Open, Save, Start, Stop, Step, AutoStimulate, Cut, Copy, Paste,
    NewRegistration, Random, Clear, Color, ReversingRightAndLeft, ReversingTopAndBottom, Rotate, Expand, Reduction,
};

enum class Popup { Pattern, Popup1 };

// An entry of the pattern submenu: an item (a pattern, or the registration
// item) with its caption, or a separator.
struct PatternEntry {
    enum class Kind { Item, Separator };
    Kind kind = Kind::Item;
    std::string caption{};  // "" for a separator
    bool isItem(const std::string& text) const { return kind == Kind::Item && caption == text; }
};

// The status bar's panels, left to right: the generation, the population, the
// cell under the pointer, its colour and the run's speed.
enum class Panel { Generation = 1, Population, Pointer, Colour, Speed };

// The mouse button an event is about: the one pressed or released, or for a
// move the one held (left before right before middle); None for a move
// without a button.
enum class MouseButton { None, Left, Right, Middle };

// The modifier keys held during a mouse event.
struct Modifiers {
    bool shift = false;
    bool space = false;  // the space bar held: a left drag moves the view
    friend bool operator==(const Modifiers&, const Modifiers&) = default;
};

// The cell under the pointer: its column and row, when the pointer is on the
// board at all (a drag goes on beyond its edge).
struct PointedCell {
    int32_t column = 0, row = 0;
    bool onBoard = false;
    friend bool operator==(const PointedCell&, const PointedCell&) = default;
};

// The keys the board's keyboard cursor answers: the arrows (with Shift they
// select), Space, which toggles the cell under the cursor, and Show: Tab
// into the board (or Tab on it while the cursor is hidden) shows the cursor.
// While it is hidden the arrows and Space are the view's, which they move.
enum class BoardKey { Left, Right, Up, Down, Toggle, Show };

// A mouse event on the board.
struct BoardMouse {
    MouseButton button = MouseButton::None;
    Modifiers modifiers{};
    PointedCell cell{};  // as the whole board, unmoved, is drawn
    // The pointer in the picture's pixels (device pixels from its top-left
    // corner): the logic finds the cell there in a zoomed or moved view.
    double x = -1, y = -1;
};

// Everything the window reports to the logic.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void menuTriggered(Menu item) = 0;
    virtual void menuAboutToShow(Menu menu) = 0;  // a menu of the menu bar opens
    virtual void patternItemTriggered(int index) = 0;
    virtual void toolbarButtonClicked(Button button) = 0;
    // Mouse events on the board: a button pressed, the pointer moved (with
    // or without a button held) and a button released.
    virtual void boardMouseDown(const BoardMouse& event) = 0;
    virtual void boardMouseMove(const BoardMouse& event) = 0;
    virtual void boardMouseUp(const BoardMouse& event) = 0;
    // The window system wants the board repainted (uncovered, restored).
    virtual void boardExposed() = 0;
    // The mouse wheel turned over the board by `steps` notches (positive:
    // away from the user) at (x, y) in the picture's pixels.
    virtual void boardWheel(int steps, double x, double y) { (void)steps, (void)x, (void)y; }
    // A mouse button on the status bar; x in the status bar's pixels.
    virtual void statusBarMouse(MouseButton button, Modifiers modifiers, int x, int y) = 0;
    // The window is being closed (close box or unload).
    virtual void windowClosing() = 0;
    // Files are dragged over the window: whether dropping them would be
    // taken (otherwise the pointer shows that they cannot be dropped).
    virtual bool canDropFiles() { return false; }
    // Files were dropped onto the window: their paths, in the order given.
    virtual void filesDropped(const std::vector<std::string>& paths) { (void)paths; }
    // ---- the keyboard on the board ----
    // A key pressed while the board has the keyboard focus: whether the
    // keyboard cursor took it (a key it does not take is the window's to use).
    virtual bool boardKey(BoardKey key, Modifiers modifiers) { return (void)key, (void)modifiers, false; }
    // The keyboard focus moved from the board to another control of the window.
    virtual void boardFocusLeft() {}
    // ---- end of the keyboard on the board ----
};

struct Command;

class MainWindow {
public:
    virtual ~MainWindow() = default;

    virtual void setEvents(WindowEvents* events) = 0;

    // Builds the menu bar, the pop-up menus and the toolbar from the
    // commands, in their order, in their first states; once, at start-up.
    virtual void setCommands(const std::vector<Command>& commands) = 0;

    // Menus.
    virtual void setMenuEnabled(Menu item, bool enabled) = 0;
    virtual bool menuEnabled(Menu item) const = 0;
    virtual void setMenuChecked(Menu item, bool checked) = 0;
    virtual bool menuChecked(Menu item) const = 0;
    virtual void setMenuVisible(Menu item, bool visible) = 0;
    virtual bool menuVisible(Menu item) const = 0;

    // The pattern submenu's entries, numbered from 0.
    virtual int patternItemCount() const = 0;
    virtual void addPatternEntry(const PatternEntry& entry) = 0;
    virtual void removePatternItem(int index) = 0;
    virtual PatternEntry patternEntry(int index) const = 0;
    virtual void setPatternEntry(int index, const PatternEntry& entry) = 0;

    // Shows a menu as a pop-up at the pointer and returns when it closes; a
    // chosen item has then been reported through WindowEvents.
    virtual void showPopup(Popup popup) = 0;

    // Toolbar buttons.
    virtual void setButtonEnabled(Button button, bool enabled) = 0;
    virtual bool buttonEnabled(Button button) const = 0;
    virtual void setButtonPressed(Button button, bool pressed) = 0;
    virtual bool buttonPressed(Button button) const = 0;

    // The status bar's panels.
    virtual void setPanelText(Panel panel, const std::string& text) = 0;
    virtual std::string panelText(Panel panel) const = 0;
    virtual int panelLeft(Panel panel) const = 0;  // in the status bar's pixels

    virtual void setCaption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;

    // The board picture: its drawing area in pixels, the number of cells
    // across it (for the cell under the pointer), the image it shows, and the
    // focus rectangle drawn over the image while set.
    virtual int boardPixelWidth() const = 0;
    virtual int boardPixelHeight() const = 0;
    virtual void setBoardScale(int units) = 0;
    virtual int boardScale() const = 0;
    virtual void showBoard(const PixelImage& image) = 0;
    // The same image again with only the `changed` rectangles (in its
    // pixels, not overlapping) different from the last one shown: only they
    // need be copied and repainted.
    virtual void showBoardPart(const PixelImage& image, const std::vector<PixelRect>& changed) {
        (void)changed;
        showBoard(image);
    }
    virtual void setFocusRect(const std::optional<PixelRect>& rect) = 0;
    virtual BevelColors bevelColors() const = 0;

    // A short notice over the board (the new speed), gone by itself after about a second.
    virtual void showNotice(const std::string& text) { (void)text; }
    // A menu item's caption ("&" marks the access key) changed while the program runs.
    virtual void setMenuCaption(Menu item, const std::string& caption) { (void)item, (void)caption; }
    // A toolbar button's tool tip, and what screen readers say it does, changed
    // while the program runs (the window's language).
    virtual void setButtonToolTip(Button button, const std::string& text, const std::string& description) {
        (void)button, (void)text, (void)description;
    }
    // ---- the keyboard on the board ----
    // The keyboard cursor's outline around these pixels of the picture, or none.
    virtual void setKeyCursor(const std::optional<PixelRect>& rect) { (void)rect; }
    // What a screen reader says of the board: its name and its description.
    virtual void describeBoard(const std::string& name, const std::string& description) { (void)name, (void)description; }
    // ---- end of the keyboard on the board ----

    // The clock of a run's pacing (a steady one, from an arbitrary start).
    virtual std::chrono::nanoseconds clock() const {
        return std::chrono::steady_clock::now().time_since_epoch();
    }
    // Calls `call` once from the event loop, `delay` from now (at once when
    // it is not positive), as precisely as the window system can: a run's
    // generations are scheduled this way.
    virtual void callAfter(std::chrono::nanoseconds delay, std::function<void()> call) = 0;

    // Closes the window; the program ends with it.
    virtual void close() = 0;
};

// ------------------------------------------------------------- the graph --

// What the graph window can be asked to write. Lineage: the phylogeny and
// the Muller table of the founders' channel shown (two files).
enum class GraphExport { Csv, Png, Svg, Lineage };

// What the graph window reports to the logic.
class GraphEvents {
public:
    virtual ~GraphEvents() = default;
    virtual void graphExportRequested(GraphExport kind) = 0;
    virtual void graphClosed() = 0;  // the user closed the window itself
};

// A separate window that draws the series of a run. It keeps the series it
// is shown and redraws it at a pace of its own, so a run may hand it every
// generation.
class GraphWindow {
public:
    virtual ~GraphWindow() = default;
    virtual void setEvents(GraphEvents* events) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool visible() const = 0;
    // The series to draw from now on (nullptr: none); it must live until
    // replaced. seriesChanged says it has grown or been cleared.
    virtual void showSeries(const analysis::GraphSeries* series) = 0;
    virtual void seriesChanged() = 0;
    // The graph as it is shown, as a PNG file's bytes.
    virtual std::vector<uint8_t> picturePng() = 0;
    // The colour channel whose founders' shares are shown (0 red, 1 green,
    // 2 blue).
    virtual int founderChannel() const { return 0; }
    // Position and size on the screen (left, top, width, height), to be
    // remembered between sessions.
    virtual std::array<int, 4> geometry() const = 0;
    virtual void setGeometry(const std::array<int, 4>& geometry) = 0;
};

// ------------------------------------------------------ the window's language --

// The languages the window speaks: Japanese, the texts of ui/texts.h as they
// are, and English, their translations.
enum class Language { Japanese, English };

class Translator {
public:
    virtual ~Translator() = default;
    // Every text shown from now on is in `language`: those the logic asks
    // for, and at once the window system's own (the buttons of its dialogs)
    // and the texts the windows take from ui/texts.h themselves.
    virtual void setLanguage(Language language) = 0;
    virtual Language language() const = 0;
    // A text of ui/texts.h (UTF-8) in the language in use; the text itself
    // when it has no translation.
    virtual std::string translate(const char* text) const = 0;
};

}  // namespace platform
