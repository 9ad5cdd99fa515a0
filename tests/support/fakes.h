// SPDX-License-Identifier: MIT
#pragma once

// Recording fakes of the platform services, for driving the window's
// controller in tests without a window system. Dialogs answer from a script;
// everything shown is recorded.

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/texts.h"
#include "platform/commands.h"
#include "platform/services.h"

namespace fakes {

// The front of a script of answers, or `fallback` when the script has run out.
template <typename T>
T next(std::deque<T>& script, T fallback) {
    if (script.empty()) return fallback;
    T answer = script.front();
    script.pop_front();
    return answer;
}

struct ShownMessage {
    std::string text;
    std::string title;
    platform::MessageIcon icon;
    platform::MessageButtons buttons;
    platform::MessageAnswer defaultButton;
};

struct ShownFileDialog {
    bool open;
    platform::FileDialogRequest request;
};

class FakeDialogs : public platform::Dialogs {
public:
    std::vector<ShownMessage> messages;
    std::deque<platform::MessageAnswer> answers;  // for Yes/No boxes; default button when empty
    std::vector<ShownFileDialog> fileDialogs;
    std::deque<std::string> filePaths;  // answers to file dialogs; "" (cancel) when empty
    std::vector<platform::RgbColour> colorCalls;                   // the colour each dialog started on
    std::deque<std::optional<platform::RgbColour>> colorAnswers;  // cancel when empty

    platform::MessageAnswer message(const std::string& text, const std::string& title, platform::MessageIcon icon,
                                    platform::MessageButtons buttons, platform::MessageAnswer defaultButton) override {
        messages.push_back({text, title, icon, buttons, defaultButton});
        return buttons == platform::MessageButtons::Ok ? platform::MessageAnswer::Ok : next(answers, defaultButton);
    }
    std::vector<std::pair<std::string, std::string>> shownTexts;  // title and text of each text window
    void showText(const std::string& title, const std::string& text) override { shownTexts.push_back({title, text}); }
    std::string toolkitVersion() override { return "Qt 6.0.0"; }
    std::string openFile(const platform::FileDialogRequest& r) override { return file(true, r); }
    std::string saveFile(const platform::FileDialogRequest& r) override { return file(false, r); }
    std::optional<platform::RgbColour> chooseColor(platform::RgbColour initial,
                                                   std::vector<platform::RgbColour>&) override {
        colorCalls.push_back(initial);
        return next(colorAnswers, std::optional<platform::RgbColour>());
    }
    std::vector<std::array<int, 3>> numberCalls;  // value, minimum, maximum of each number dialog
    std::deque<std::optional<int>> numberAnswers;  // cancel when empty
    std::optional<int> askNumber(const std::string&, const std::string&, int value, int minimum, int maximum) override {
        numberCalls.push_back({value, minimum, maximum});
        return next(numberAnswers, std::optional<int>());
    }

private:
    std::string file(bool open, const platform::FileDialogRequest& r) {
        fileDialogs.push_back({open, r});
        return next(filePaths, std::string());
    }
};

// An in-process clipboard holding what the last put gave it.
class FakeClipboard : public platform::Clipboard {
public:
    std::optional<std::vector<uint8_t>> cells;  // the cell block, when there is one
    platform::PixelImage picture;               // empty when none was put
    std::string text;
    bool failPut = false;       // the clipboard cannot be taken over
    bool cellsVanish = false;   // the block is gone by the time it is read

    platform::Result<void> put(const platform::ClipboardContents& contents) override {
        if (failPut) return platform::Error{"taken"};
        cells = contents.cells;
        if (contents.cells.empty()) cells.reset();
        picture = contents.picture;
        text = contents.text;
        return {};
    }
    bool hasCells() override { return cells.has_value(); }
    platform::Result<std::vector<uint8_t>> getCells() override {
        if (!cells || cellsVanish) return platform::Error{"gone"};
        return *cells;
    }
    std::string getText() override { return text; }
    // Text or a picture from another program: the cell block is gone.
    void putForeign() {
        cells.reset();
        picture.resize(2, 2);
        text = "text";
    }
};

// Files in memory. Paths are plain strings; a folder exists when it was
// added or holds a file.
class FakeFileSystem : public platform::FileSystem {
public:
    std::map<std::string, std::vector<uint8_t>> files;
    std::vector<std::string> listingOrder;  // names in the program directory, in listing order
    std::set<std::string> failWrites;       // paths whose writes fail
    std::set<std::string> tooLarge;         // paths read as over 64 MiB
    std::string programDir = "/app";
    std::string currentDir = "/home/user";

    bool exists(const std::string& path) override { return files.count(path) != 0; }
    platform::Result<std::vector<uint8_t>> readFile(const std::string& path) override {
        if (tooLarge.count(path)) return platform::Error{"File too large", true};
        auto it = files.find(path);
        if (it == files.end()) return platform::Error{"No such file or directory"};
        return it->second;
    }
    platform::Result<void> writeFile(const std::string& path, const std::vector<uint8_t>& bytes) override {
        if (failWrites.count(path)) return platform::Error{"No space left on device"};
        files[path] = bytes;
        return {};
    }
    std::vector<std::string> list(const std::string& directory, const std::string& suffix) override {
        std::vector<std::string> out;
        for (const auto& name : listingOrder) {
            if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0 &&
                files.count(directory + "/" + name))
                out.push_back(name);
        }
        return out;
    }
    std::string programDirectory() override { return programDir; }
    std::string currentDirectory() override { return currentDir; }

    // Adds a file beside the program; it is listed after those added before.
    void addProgramFile(const std::string& name, std::vector<uint8_t> bytes) {
        files[programDir + "/" + name] = std::move(bytes);
        listingOrder.push_back(name);
    }
};

// The user's folders; the kept board's timer runs its calls when the test says.
class FakeUserFiles : public platform::UserFiles {
public:
    std::string ownBoard = "/state/kaleidomat/board-own.hxa", lastBoard, patterns = "/home/user/patterns";
    bool patternFolderMade = false;
    std::vector<std::function<void()>> due;  // asked for and not yet run

    std::string keptBoardFile() override { return ownBoard; }
    std::string lastKeptBoard() override { return lastBoard; }
    void callLater(int, std::function<void()> call) override { due.push_back(std::move(call)); }
    std::string patternFolder() override { return patterns; }
    bool makePatternFolder() override { return patternFolderMade = true; }
    void runDue() { for (auto& call : std::exchange(due, {})) call(); }
};

// Settings kept in memory.
class FakeSettings : public platform::Settings {
public:
    std::map<std::string, int> ints;
    std::map<std::string, bool> bools;
    std::optional<int> readInt(const std::string& k) const override {
        return ints.contains(k) ? std::optional(ints.at(k)) : std::nullopt;
    }
    std::optional<bool> readBool(const std::string& k) const override {
        return bools.contains(k) ? std::optional(bools.at(k)) : std::nullopt;
    }
    void writeInt(const std::string& key, int value) override { ints[key] = value; }
    void writeBool(const std::string& key, bool value) override { bools[key] = value; }
    std::map<std::string, std::vector<std::string>> lists;
    std::optional<std::vector<std::string>> readStrings(const std::string& k) const override {
        return lists.contains(k) ? std::optional(lists.at(k)) : std::nullopt;
    }
    void writeStrings(const std::string& key, const std::vector<std::string>& values) override { lists[key] = values; }
    std::optional<platform::Error> saveFailure;  // told once, as the real settings do
    std::optional<platform::Error> unreportedSaveFailure() override { return std::exchange(saveFailure, std::nullopt); }
};

// The window without a window system: records every state the logic sets.
// Its event loop is the test itself: after each event a test gives the
// window, the calls the logic scheduled run, in turn, until none is left.
class FakeMainWindow : public platform::MainWindow {
public:
    struct MenuState { bool enabled = true, checked = false, visible = true; };
    struct ButtonState { bool enabled = false, pressed = false; };
    std::vector<platform::Command> commands;  // as the logic described them
    std::map<platform::Menu, MenuState> menus;
    std::map<platform::Button, ButtonState> buttons;
    std::vector<std::string> patternItems;
    std::array<std::string, 6> panels;  // 1..5
    std::string captionText;
    int scale = 0;
    platform::PixelImage shown;
    int showCount = 0;
    std::optional<platform::PixelRect> focus;
    std::vector<platform::Popup> popups;
    // Runs while a pop-up is open, e.g. to choose one of its items.
    std::function<void(platform::Popup)> onPopup;
    // Runs each time the event loop turns between two scheduled calls, and
    // again after each wait for a call due later, e.g. to press Stop during a
    // run; processEventsCount counts the turns.
    std::function<void()> onProcessEvents;
    int processEventsCount = 0;
    bool closed = false;
    // The events as the tests give them: each is followed by the calls it
    // scheduled. The logic itself is `target`.
    platform::WindowEvents* events = nullptr;
    platform::WindowEvents* target = nullptr;
    // Pixel x where each status panel begins (panels 1..4).
    std::array<int, 6> panelLefts{0, 0, 130, 260, 376, 480};

    FakeMainWindow() : loop_(*this) {
        patternItems = {texts::kBuiltinPatternNames[0]};
        panels = {"", texts::kPanel1Design, texts::kPanel2Design, texts::kPanel3Design, texts::kPanel4Design,
                  texts::kPanel5Design};
    }

    // Starts in the window's design state, like the real one.
    void setCommands(const std::vector<platform::Command>& all) override {
        commands = all;
        for (const platform::Command& c : commands) {
            menus[c.id] = {c.enabled, c.checked, true};
            if (c.button != platform::Button::None) buttons[c.button] = {c.buttonEnabled, c.buttonPressed};
        }
    }

    // The scheduled calls, in the order they are due; each is run after the
    // loop has turned once (and waited, when it is due later).
    std::deque<std::pair<std::chrono::nanoseconds, std::function<void()>>> scheduled;
    void callAfter(std::chrono::nanoseconds delay, std::function<void()> call) override {
        scheduled.emplace_back(delay, std::move(call));
    }
    void runScheduled() {
        if (std::exchange(draining_, true)) return;  // an event given inside the loop: the loop goes on
        for (; !scheduled.empty(); scheduled.pop_front()) {
            const auto [delay, call] = scheduled.front();
            if (++processEventsCount, onProcessEvents) onProcessEvents();
            if (delay.count() > 0 && (waits.push_back(delay), now += delay, onProcessEvents)) onProcessEvents();
            call();
        }
        draining_ = false;
    }

    void setEvents(platform::WindowEvents* e) override {
        target = e;
        events = e ? &loop_ : nullptr;
    }
    void setMenuEnabled(platform::Menu m, bool v) override { menus[m].enabled = v; }
    bool menuEnabled(platform::Menu m) const override { return stateOf(m).enabled; }
    void setMenuChecked(platform::Menu m, bool v) override { menus[m].checked = v; }
    bool menuChecked(platform::Menu m) const override { return stateOf(m).checked; }
    void setMenuVisible(platform::Menu m, bool v) override { menus[m].visible = v; }
    bool menuVisible(platform::Menu m) const override { return stateOf(m).visible; }

    int patternItemCount() const override { return static_cast<int>(patternItems.size()); }
    // A separator is listed as "-".
    void addPatternEntry(const platform::PatternEntry& e) override { patternItems.push_back(e.caption); setPatternEntry(patternItemCount() - 1, e); }
    void removePatternItem(int i) override { patternItems.erase(patternItems.begin() + i); }
    platform::PatternEntry patternEntry(int i) const override {
        const bool separator = patternItems.at(i) == texts::kSeparatorCaption;
        return {separator ? platform::PatternEntry::Kind::Separator : platform::PatternEntry::Kind::Item,
                separator ? "" : patternItems.at(i)};
    }
    void setPatternEntry(int i, const platform::PatternEntry& e) override {
        patternItems.at(i) = e.kind == platform::PatternEntry::Kind::Separator ? texts::kSeparatorCaption : e.caption;
    }

    void showPopup(platform::Popup p) override {
        popups.push_back(p);
        if (onPopup) onPopup(p);
    }

    void setButtonEnabled(platform::Button b, bool v) override { button(b).enabled = v; }
    bool buttonEnabled(platform::Button b) const override { return buttons.at(b).enabled; }
    void setButtonPressed(platform::Button b, bool v) override { button(b).pressed = v; }
    bool buttonPressed(platform::Button b) const override { return buttons.at(b).pressed; }

    void setPanelText(platform::Panel p, const std::string& t) override { panels.at(static_cast<int>(p)) = t; }
    std::string panelText(platform::Panel p) const override { return panels.at(static_cast<int>(p)); }
    int panelLeft(platform::Panel p) const override { return panelLefts.at(static_cast<int>(p)); }

    void setCaption(const std::string& c) override { captionText = c; }
    std::string caption() const override { return captionText; }

    int pictureSize = display::kBoardPictureSize;  // the board's pixels a side; a test may resize it
    int boardPixelWidth() const override { return pictureSize; }
    int boardPixelHeight() const override { return pictureSize; }
    void setBoardScale(int units) override { scale = units; }
    int boardScale() const override { return scale; }
    void showBoard(const platform::PixelImage& image) override {
        shown = image;
        ++showCount;
    }
    // Like the window: takes over only the part said to have changed.
    void showBoardPart(const platform::PixelImage& image, const std::vector<platform::PixelRect>& changed) override {
        if (shown.width != image.width || shown.height != image.height) return showBoard(image);
        for (const platform::PixelRect& c : changed)
            for (int y = c.top; y < c.bottom; ++y)
                for (int x = c.left; x < c.right; ++x) shown.at(x, y) = image.at(x, y);
        ++showCount;
    }
    void setFocusRect(const std::optional<platform::PixelRect>& r) override { focus = r; }
    platform::BevelColors bevelColors() const override { return {}; }
    std::vector<std::string> notices;                 // every notice shown over the board
    std::map<platform::Menu, std::string> captions;   // captions changed while the program runs
    void showNotice(const std::string& text) override { notices.push_back(text); }
    void setMenuCaption(platform::Menu m, const std::string& c) override { captions[m] = c; }
    std::map<platform::Button, std::string> toolTips;  // tool tips changed while the program runs
    void setButtonToolTip(platform::Button b, const std::string& t, const std::string&) override { toolTips[b] = t; }
    std::optional<platform::PixelRect> keyCursor;      // the keyboard cursor's outline
    std::string boardName;                            // the board as a screen reader names it
    void setKeyCursor(const std::optional<platform::PixelRect>& r) override { keyCursor = r; }
    void describeBoard(const std::string& n, const std::string&) override { boardName = n; }
    // A clock that moves only by the waits for scheduled calls (and by the
    // tests): each wait lasts as long as asked.
    std::chrono::nanoseconds now{0};
    std::vector<std::chrono::nanoseconds> waits;
    std::chrono::nanoseconds clock() const override { return now; }
    // The enabled toolbar buttons, in toolbar order.
    std::vector<platform::Button> enabledButtons() const {
        std::vector<platform::Button> out;
        for (const platform::Command& c : commands)
            if (c.button != platform::Button::None && buttons.at(c.button).enabled) out.push_back(c.button);
        return out;
    }
    // Every disabled menu entry, in menu order; undo, redo and one
    // generation back, which follow the history rather than the run, and
    // the recent files, which follow their list, are left out (their own
    // tests check them).
    std::vector<platform::Menu> disabledMenus() const {
        using platform::Menu;
        std::vector<Menu> out;
        for (const platform::Command& c : commands)
            if (!menuEnabled(c.id) && c.id != Menu::EditUndo && c.id != Menu::EditRedo && c.id != Menu::ExecBack &&
                std::string(c.caption) != texts::kMenuFileRecent)
                out.push_back(c.id);
        return out;
    }

    void close() override {
        if (closed) return;
        closed = true;
        if (target) target->windowClosing();
    }

private:
    // Hands each event to the logic, then runs what it scheduled.
    struct Loop : platform::WindowEvents {
        explicit Loop(FakeMainWindow& w) : w_(w) {}
        void menuTriggered(platform::Menu m) override { then(&WindowEvents::menuTriggered, m); }
        void menuAboutToShow(platform::Menu m) override { then(&WindowEvents::menuAboutToShow, m); }
        void patternItemTriggered(int i) override { then(&WindowEvents::patternItemTriggered, i); }
        void toolbarButtonClicked(platform::Button b) override { then(&WindowEvents::toolbarButtonClicked, b); }
        void boardMouseDown(const platform::BoardMouse& e) override { then(&WindowEvents::boardMouseDown, e); }
        void boardMouseMove(const platform::BoardMouse& e) override { then(&WindowEvents::boardMouseMove, e); }
        void boardMouseUp(const platform::BoardMouse& e) override { then(&WindowEvents::boardMouseUp, e); }
        void boardExposed() override { then(&WindowEvents::boardExposed); }
        void boardWheel(int n, double x, double y) override { then(&WindowEvents::boardWheel, n, x, y); }
        void statusBarMouse(platform::MouseButton b, platform::Modifiers m, int x, int y) override {
            then(&WindowEvents::statusBarMouse, b, m, x, y);
        }
        void windowClosing() override { then(&WindowEvents::windowClosing); }
        bool canDropFiles() override { return w_.target && w_.target->canDropFiles(); }
        void filesDropped(const std::vector<std::string>& p) override { then(&WindowEvents::filesDropped, p); }
        bool boardKey(platform::BoardKey k, platform::Modifiers m) override {
            const bool taken = w_.target && w_.target->boardKey(k, m);
            return w_.runScheduled(), taken;
        }
        void boardFocusLeft() override { then(&WindowEvents::boardFocusLeft); }
        template <typename... Params, typename... Args>
        void then(void (WindowEvents::*event)(Params...), Args&&... args) {
            if (w_.target) (w_.target->*event)(std::forward<Args>(args)...), w_.runScheduled();
        }
        FakeMainWindow& w_;
    };
    Loop loop_;
    bool draining_ = false;

    ButtonState& button(platform::Button b) {
        auto it = buttons.find(b);
        if (it == buttons.end()) throw std::out_of_range("no toolbar button " + std::to_string(static_cast<int>(b)));
        return it->second;
    }
    MenuState stateOf(platform::Menu m) const {
        auto it = menus.find(m);
        return it == menus.end() ? MenuState{} : it->second;
    }
};

}  // namespace fakes
