// SPDX-License-Identifier: MIT
#pragma once

// Every command of the window, once: how the window shows it (a row of
// platform::Command: menu, caption with its access key, keys, toolbar
// picture and tool tip, first states), its help line, how undo treats it,
// the handler that runs it and the rules that give its enabled, checked and
// pressed states. The menu bar, the toolbar, the pop-up menus, the help text
// and the manual page's list of keys are all made from it; the dispatcher
// (WindowController::dispatch) runs every command by its row.

#include <functional>
#include <string>
#include <vector>

#include "platform/commands.h"

namespace app {

// How a command's change is kept for undo.
enum class UndoKind {
    None,       // changes nothing of the board (or is the history's own)
    Change,     // one undo step, and the line of generations starts anew
    StepOrRun,  // one undo step that continues the line of generations
};

// What a command does and when it can be used. An empty rule leaves that
// state as the window shows it at first.
struct CommandBehaviour {
    const char* help = nullptr;  // the help line; nullptr for menus of the bar and separators
    UndoKind undo = UndoKind::None;
    std::function<void()> run{};                // nothing for menus and separators
    std::function<bool()> enabled{};            // the menu entry
    std::function<bool()> buttonEnabled{};      // its toolbar button
    std::function<bool()> checked{};            // the check mark (and a button shown pressed)
};

struct CommandRow {
    platform::Command look;
    CommandBehaviour behaviour;
};

class CommandRegistry {
public:
    // Adds a row after the others; a row of the menu bar's own menus goes
    // before its entries. Menu::Unassigned as the row's id asks for a new
    // identity, which is returned; an identity taken already is refused
    // (std::invalid_argument).
    platform::Menu add(platform::Command look, CommandBehaviour behaviour);

    const CommandRow* find(platform::Menu id) const;
    const CommandRow* find(platform::Button button) const;
    const std::vector<CommandRow>& rows() const { return rows_; }

    // The description the window builds its menus and toolbar from.
    std::vector<platform::Command> looks() const;

private:
    std::vector<CommandRow> rows_;
    int nextId_ = 1000;  // identities of commands added while the program runs
};

}  // namespace app
