// SPDX-License-Identifier: MIT
#pragma once

// How the window shows a command: its place in the menu bar (menus, items,
// separators, captions with their access keys, shortcuts, first states) or
// the pop-up menus, and its toolbar button (picture, tool tip, first states).
// The logic hands the window the list of every command at start-up
// (MainWindow::setCommands); the window builds its menus and its toolbar by
// walking it, in its order.
//
// Menu items and toolbar buttons stay separate controls with separately kept
// enabled states: the logic sets each of them.

#include <optional>
#include <vector>

#include "platform/services.h"

namespace platform {

enum class CommandKind {
    Menu,        // a menu of the menu bar, or a submenu when `in` is set
    PopupMenu,   // a menu shown only as a pop-up
    Item,        // a menu item
    Separator,   // a line between menu items
    ButtonOnly,  // a toolbar button whose menu item is made elsewhere
    KeyOnly,     // a command reached only by its keys (`in`: the menu that must be enabled)
};

struct Command {
    CommandKind kind = CommandKind::Item;
    Menu id = Menu::Unassigned;
    std::optional<Menu> in = std::nullopt;  // the menu it sits in; none for a menu of the bar or a pop-up
    const char* caption = "";               // "&" marks the access key
    const char* key = "";                   // the shortcut in Qt's portable text ("Ctrl+O", "F5"; several
                                            // separated by "; "); "" for none
    bool enabled = true;                    // the menu entry at start-up
    bool checked = false;                   // checkable, with its check mark at start-up
    Button button = Button::None;           // the toolbar button running the same command
    bool separatorBefore = false;           // a toolbar separator left of the button
    const char* picture = "";               // the button's 16 x 16 picture: a file of ui/icons/
    const char* toolTip = "";
    bool buttonEnabled = false;             // the button at start-up
    bool buttonPressed = false;             // shown pressed at start-up
    bool radio = false;                     // one of its menu's radio items (the logic checks one)
    const char* description = "";           // what it does, in a sentence, for screen readers (its help line)
};

// The row of a menu entry (nullptr when there is none).
inline const Command* FindCommand(const std::vector<Command>& commands, Menu id) {
    for (const Command& c : commands)
        if (c.id == id) return &c;
    return nullptr;
}

}  // namespace platform
