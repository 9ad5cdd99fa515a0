// SPDX-License-Identifier: MIT
#pragma once

// Every command of the window, once: the menu bar (menus, items, separators,
// captions with their access keys, shortcuts, first states), the pop-up menu
// of the status bar, and the toolbar (buttons, pictures, tool tips, first
// states). The Qt window builds its menus and its toolbar by walking this
// table, in its order; the logic (app/) maps each item to its handler.
//
// Menu items and toolbar buttons stay separate controls with separately kept
// enabled states: a button copies the state of its menu entry only when the
// logic says so (Form1::SyncButton).

#include <optional>

#include "platform/services.h"
#include "ui/texts.h"

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
    Menu id = Menu::File;
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
};

// The table's own names, so that its rows read plainly.
namespace command_table {
using enum Menu;
using enum Button;
using K = CommandKind;

inline constexpr Command kRows[] = {
    // clang-format off
    {.kind = K::Menu, .id = File, .caption = texts::kMenuFile},
    {.id = FileOpen, .in = File, .caption = texts::kMenuFileOpen, .key = "Ctrl+O",
     .button = Open, .picture = "open.xpm", .toolTip = texts::kToolTipOpen, .buttonEnabled = true},
    {.id = FileSave, .in = File, .caption = texts::kMenuFileSave, .key = "Ctrl+S",
     .button = Save, .picture = "save.xpm", .toolTip = texts::kToolTipSave, .buttonEnabled = true},
    {.id = FileSaveAs, .in = File, .caption = texts::kMenuFileSaveAs, .key = "Ctrl+Shift+S"},
    {.id = FileRestore, .in = File, .caption = texts::kMenuFileRestore},
    {.kind = K::Separator, .id = Bar1, .in = File},
    {.id = FileExit, .in = File, .caption = texts::kMenuFileExit},

    {.kind = K::Menu, .id = Exec, .caption = texts::kMenuExec},
    {.id = ExecStart, .in = Exec, .caption = texts::kMenuExecStart, .key = "F5",
     .button = Start, .separatorBefore = true, .picture = "start.xpm", .toolTip = texts::kToolTipStart,
     .buttonEnabled = true},
    {.id = ExecStop, .in = Exec, .caption = texts::kMenuExecStop, .key = "F6", .enabled = false,
     .button = Stop, .picture = "stop.xpm", .toolTip = texts::kToolTipStop},
    {.id = ExecStep, .in = Exec, .caption = texts::kMenuExecStep, .key = "F8",
     .button = Step, .picture = "step.xpm", .toolTip = texts::kToolTipStep, .buttonEnabled = true},
    {.id = ExecStimulate, .in = Exec, .caption = texts::kMenuExecStimulate, .checked = true,
     .button = AutoStimulate, .picture = "auto_stimulate.xpm", .toolTip = texts::kToolTipAutoStimulate,
     .buttonEnabled = true, .buttonPressed = true},
    {.id = ExecBack, .in = Exec, .caption = texts::kMenuExecBack, .key = "Shift+F8", .enabled = false},
    {.kind = K::Separator, .id = Bar10, .in = Exec},
    // The rungs of the speed ladder; the logic checks the one in use.
    {.kind = K::Menu, .id = ExecSpeed, .in = Exec, .caption = texts::kMenuExecSpeed},
    {.id = ExecSpeed1, .in = ExecSpeed, .caption = texts::kMenuExecSpeed1, .radio = true},
    {.id = ExecSpeed2, .in = ExecSpeed, .caption = texts::kMenuExecSpeed2, .radio = true},
    {.id = ExecSpeed5, .in = ExecSpeed, .caption = texts::kMenuExecSpeed5, .radio = true},
    {.id = ExecSpeed10, .in = ExecSpeed, .caption = texts::kMenuExecSpeed10, .radio = true},
    {.id = ExecSpeed20, .in = ExecSpeed, .caption = texts::kMenuExecSpeed20, .radio = true},
    {.id = ExecSpeed50, .in = ExecSpeed, .caption = texts::kMenuExecSpeed50, .radio = true},
    {.id = ExecSpeed100, .in = ExecSpeed, .caption = texts::kMenuExecSpeed100, .radio = true},
    {.id = ExecSpeed200, .in = ExecSpeed, .caption = texts::kMenuExecSpeed200, .radio = true},
    {.id = ExecSpeed500, .in = ExecSpeed, .caption = texts::kMenuExecSpeed500, .radio = true},
    {.id = ExecSpeed1000, .in = ExecSpeed, .caption = texts::kMenuExecSpeed1000, .radio = true},
    {.id = ExecSpeedMax, .in = ExecSpeed, .caption = texts::kMenuExecSpeedMax, .checked = true, .radio = true},
    // One rung faster or slower, also during a run ("=" is "+" unshifted).
    {.kind = K::KeyOnly, .id = ExecFaster, .in = Exec, .key = "+; =; Num++"},
    {.kind = K::KeyOnly, .id = ExecSlower, .in = Exec, .key = "-; Num+-"},

    {.kind = K::Menu, .id = Edit, .caption = texts::kMenuEdit},
    {.id = EditCut, .in = Edit, .caption = texts::kMenuEditCut, .key = "Ctrl+X",
     .button = Cut, .separatorBefore = true, .picture = "cut.xpm", .toolTip = texts::kToolTipCut},
    {.id = EditCopy, .in = Edit, .caption = texts::kMenuEditCopy, .key = "Ctrl+C",
     .button = Copy, .picture = "copy.xpm", .toolTip = texts::kToolTipCopy},
    {.id = EditPaste, .in = Edit, .caption = texts::kMenuEditPaste, .key = "Ctrl+V",
     .button = Paste, .picture = "paste.xpm", .toolTip = texts::kToolTipPaste},
    {.kind = K::Separator, .id = Bar20, .in = Edit},
    {.id = EditUndo, .in = Edit, .caption = texts::kMenuEditUndo, .key = "Ctrl+Z", .enabled = false},
    // Two keys, as the window system's own lists give them.
    {.id = EditRedo, .in = Edit, .caption = texts::kMenuEditRedo, .key = "Ctrl+Y; Ctrl+Shift+Z", .enabled = false},

    {.kind = K::Menu, .id = Pattern, .caption = texts::kMenuPattern},
    // Its items are the pattern list, filled at start-up; the last one,
    // "パターン登録", registers the selection as a pattern file.
    {.kind = K::Menu, .id = PatternCommon, .in = Pattern, .caption = texts::kMenuPatternCommon},
    {.kind = K::ButtonOnly, .id = PatternRegister, .in = PatternCommon,
     .caption = texts::kRegisterPattern, .button = NewRegistration, .separatorBefore = true,
     .picture = "new_registration.xpm", .toolTip = texts::kToolTipNewRegistration},
    {.id = PatternRandom, .in = Pattern, .caption = texts::kMenuPatternRandom,
     .button = Random, .picture = "random.xpm", .toolTip = texts::kToolTipRandom, .buttonEnabled = true},
    {.id = PatternClear, .in = Pattern, .caption = texts::kMenuPatternClear,
     .button = Clear, .picture = "clear.xpm", .toolTip = texts::kToolTipClear, .buttonEnabled = true},
    {.id = PatternColor, .in = Pattern, .caption = texts::kMenuPatternColor,
     .button = Color, .picture = "color.xpm", .toolTip = texts::kToolTipColor},
    {.kind = K::Menu, .id = PatternReverse, .in = Pattern, .caption = texts::kMenuPatternReverse},
    {.id = PatternReverseRL, .in = PatternReverse, .caption = texts::kMenuPatternReverseRL,
     .button = ReversingRightAndLeft, .picture = "reverse_rl.xpm", .toolTip = texts::kToolTipReverseRL},
    {.id = PatternReverseTB, .in = PatternReverse, .caption = texts::kMenuPatternReverseTB,
     .button = ReversingTopAndBottom, .picture = "reverse_tb.xpm", .toolTip = texts::kToolTipReverseTB},
    {.id = PatternRotate, .in = Pattern, .caption = texts::kMenuPatternRotate,
     .button = Rotate, .picture = "rotate.xpm", .toolTip = texts::kToolTipRotate},
    {.kind = K::Separator, .id = Bar3, .in = Pattern},
    {.id = PatternExpand, .in = Pattern, .caption = texts::kMenuPatternExpand,
     .button = Expand, .picture = "expand.xpm", .toolTip = texts::kToolTipExpand, .buttonEnabled = true},
    {.id = PatternReduction, .in = Pattern, .caption = texts::kMenuPatternReduction,
     .button = Reduction, .picture = "reduction.xpm", .toolTip = texts::kToolTipReduction,
     .buttonEnabled = true},

    // How the board is drawn, and the graph window.
    {.kind = K::Menu, .id = View, .caption = texts::kMenuView},
    {.id = ViewRaised, .in = View, .caption = texts::kMenuViewRaised, .checked = true},
    {.id = ViewGraph, .in = View, .caption = texts::kMenuViewGraph, .key = "Ctrl+G"},
    // Always last on the menu bar.
    {.kind = K::Menu, .id = Help, .caption = texts::kMenuHelp},
    {.id = HelpKeys, .in = Help, .caption = texts::kMenuHelpKeys},
    {.id = HelpAbout, .in = Help, .caption = texts::kMenuHelpAbout},

    // Opened by a right click on the generation panel.
    {.kind = K::PopupMenu, .id = Popup1, .caption = texts::kMenuPopup1},
    {.id = Popup1Reset, .in = Popup1, .caption = texts::kMenuPopup1Reset},
    // clang-format on
};
}  // namespace command_table

// In menu order; the buttons, in this order, make the toolbar.
inline constexpr const auto& kCommands = command_table::kRows;

// The row of a menu entry or of a button (nullptr for Button::None).
constexpr const Command* FindCommand(Menu id) {
    for (const Command& c : kCommands)
        if (c.id == id) return &c;
    return nullptr;
}
constexpr const Command* FindCommand(Button button) {
    for (const Command& c : kCommands)
        if (button != Button::None && c.button == button) return &c;
    return nullptr;
}

// The menu of the menu bar (or the pop-up menu) an entry belongs to.
constexpr Menu MenuOf(Menu id) {
    const Command* c = FindCommand(id);
    while (c && c->in) c = FindCommand(*c->in);
    return c ? c->id : id;
}

// The menu entry whose enabled state a button copies: its own item, or the
// submenu the item sits in (both mirrors follow "反転(&V)", the registration
// button follows "登録済(&D)"): the entries the menu's opening enables.
constexpr Menu ButtonFollows(Button button) {
    const Command* c = FindCommand(button);
    if (!c) return Menu::File;
    const Command* parent = c->in ? FindCommand(*c->in) : nullptr;
    return parent && parent->in ? parent->id : c->id;
}

}  // namespace platform
