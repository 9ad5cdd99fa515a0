// SPDX-License-Identifier: MIT
// Every command of the window as one row of the registry: how the window
// shows it, its help line, how undo keeps it, its handler and the rules of
// its states. The dispatcher runs them, and refreshCommands() sets every
// state from the rules.

#include <array>

#include "app/window_controller.h"
#include "engine/board.h"
#include "ui/texts.h"

namespace app {

using platform::Menu;

void WindowController::registerCommands() {
    using enum Menu;
    using enum platform::Button;
    using K = platform::CommandKind;
    using U = UndoKind;
    CommandRegistry& r = commands_;
    const auto idle = [this] { return !session_.running(); };
    const auto runnable = [this] { return canRun(); };
    // clang-format off
    r.add({.kind = K::Menu, .id = File, .caption = texts::kMenuFile}, {.enabled = {}});
    r.add({.id = FileOpen, .in = File, .caption = texts::kMenuFileOpen, .key = "Ctrl+O",
           .button = Open, .picture = "open.xpm", .toolTip = texts::kToolTipOpen, .buttonEnabled = true},
          {.help = texts::kHelpFileOpen, .undo = U::Change, .run = [this] { openBoard(); }, .enabled = idle,
           .buttonEnabled = idle});
    r.add({.id = FileSave, .in = File, .caption = texts::kMenuFileSave, .key = "Ctrl+S",
           .button = Save, .picture = "save.xpm", .toolTip = texts::kToolTipSave, .buttonEnabled = true},
          {.help = texts::kHelpFileSave, .run = [this] { saveBoard(); }, .enabled = idle, .buttonEnabled = idle});
    r.add({.id = FileSaveAs, .in = File, .caption = texts::kMenuFileSaveAs, .key = "Ctrl+Shift+S"},
          {.help = texts::kHelpFileSaveAs, .run = [this] { saveBoardAs(); }, .enabled = idle});
    r.add({.id = FileRestore, .in = File, .caption = texts::kMenuFileRestore},
          {.help = texts::kHelpFileRestore, .undo = U::Change, .run = [this] { restoreKeptBoard(); }, .enabled = idle});
    // The recent files: a submenu of eight items, captioned and shown as the list says.
    const Menu recent = r.add({.kind = K::Menu, .id = Unassigned, .in = File, .caption = texts::kMenuFileRecent},
                              {.help = texts::kHelpFileRecent,
                               .enabled = [this] { return !session_.running() && !recentFiles_.empty(); }});
    for (std::size_t i = 0; i < recentItems_.size(); ++i)
        recentItems_[i] = r.add({.id = Unassigned, .in = recent},
                                {.undo = U::Change, .run = [this, i] { openRecent(i); }});
    r.add({.kind = K::Separator, .id = Bar1, .in = File}, {});
    r.add({.id = FileExit, .in = File, .caption = texts::kMenuFileExit},
          {.help = texts::kHelpFileExit, .run = [this] { quit(); }});

    r.add({.kind = K::Menu, .id = Exec, .caption = texts::kMenuExec}, {});
    r.add({.id = ExecStart, .in = Exec, .caption = texts::kMenuExecStart, .key = "F5",
           .button = Start, .separatorBefore = true, .picture = "start.xpm", .toolTip = texts::kToolTipStart,
           .buttonEnabled = true},
          {.help = texts::kHelpExecStart, .undo = U::StepOrRun, .run = [this] { startRun(); }, .enabled = runnable,
           .buttonEnabled = runnable});
    r.add({.id = ExecStop, .in = Exec, .caption = texts::kMenuExecStop, .key = "F6", .enabled = false,
           .button = Stop, .picture = "stop.xpm", .toolTip = texts::kToolTipStop},
          {.help = texts::kHelpExecStop, .run = [this] { stopRun(); }, .enabled = [this] { return session_.running(); },
           .buttonEnabled = [this] { return session_.running(); }});
    r.add({.id = ExecStep, .in = Exec, .caption = texts::kMenuExecStep, .key = "F8",
           .button = Step, .picture = "step.xpm", .toolTip = texts::kToolTipStep, .buttonEnabled = true},
          {.help = texts::kHelpExecStep, .undo = U::StepOrRun, .run = [this] { stepOnce(); }, .enabled = runnable,
           .buttonEnabled = runnable});
    r.add({.id = ExecStimulate, .in = Exec, .caption = texts::kMenuExecStimulate, .checked = true,
           .button = AutoStimulate, .picture = "auto_stimulate.xpm", .toolTip = texts::kToolTipAutoStimulate,
           .buttonEnabled = true, .buttonPressed = true},
          {.help = texts::kHelpExecStimulate, .run = [this] { toggleAutoStimulation(); },
           .checked = [this] { return session_.run.AutoStimulate; }});
    r.add({.id = ExecBack, .in = Exec, .caption = texts::kMenuExecBack, .key = "Shift+F8", .enabled = false},
          {.help = texts::kHelpExecBack, .run = [this] { stepBack(); }, .enabled = [this] { return session_.canGoBack(); }});
    r.add({.kind = K::Separator, .id = Bar10, .in = Exec}, {});
    // The rungs of the speed ladder; the one in use is checked.
    r.add({.kind = K::Menu, .id = ExecSpeed, .in = Exec, .caption = texts::kMenuExecSpeed}, {.help = texts::kHelpExecSpeed});
    constexpr std::array<std::pair<Menu, const char*>, kSpeedRungs.size()> kRungs{{
        {ExecSpeed1, texts::kMenuExecSpeed1}, {ExecSpeed2, texts::kMenuExecSpeed2}, {ExecSpeed5, texts::kMenuExecSpeed5},
        {ExecSpeed10, texts::kMenuExecSpeed10}, {ExecSpeed20, texts::kMenuExecSpeed20},
        {ExecSpeed50, texts::kMenuExecSpeed50}, {ExecSpeed100, texts::kMenuExecSpeed100},
        {ExecSpeed200, texts::kMenuExecSpeed200}, {ExecSpeed500, texts::kMenuExecSpeed500},
        {ExecSpeed1000, texts::kMenuExecSpeed1000}, {ExecSpeedMax, texts::kMenuExecSpeedMax},
    }};
    for (std::size_t i = 0; i < kRungs.size(); ++i) {
        const int rate = kSpeedRungs[i];
        r.add({.id = kRungs[i].first, .in = ExecSpeed, .caption = kRungs[i].second, .checked = rate == kUnlimitedRate,
               .radio = true},
              {.run = [this, rate] { SetSpeed(rate), NoticeSpeed(); }, .checked = [this, rate] { return Speed() == rate; }});
    }
    // One rung faster or slower, also during a run ("=" is "+" unshifted).
    r.add({.kind = K::KeyOnly, .id = ExecFaster, .in = Exec, .key = "+; =; Num++"},
          {.help = texts::kHelpExecFaster, .run = [this] { changeSpeed(+1); }});
    r.add({.kind = K::KeyOnly, .id = ExecSlower, .in = Exec, .key = "-; Num+-"},
          {.help = texts::kHelpExecSlower, .run = [this] { changeSpeed(-1); }});

    r.add({.kind = K::Menu, .id = Edit, .caption = texts::kMenuEdit}, {.enabled = idle});
    r.add({.id = EditCut, .in = Edit, .caption = texts::kMenuEditCut, .key = "Ctrl+X",
           .button = Cut, .separatorBefore = true, .picture = "cut.xpm", .toolTip = texts::kToolTipCut},
          {.help = texts::kHelpEditCut, .undo = U::Change, .run = [this] { cutSelection(); },
           .enabled = [this] { return editMenu_.cutCopy; }, .buttonEnabled = [this] { return editButtons_.cutCopy; }});
    r.add({.id = EditCopy, .in = Edit, .caption = texts::kMenuEditCopy, .key = "Ctrl+C",
           .button = Copy, .picture = "copy.xpm", .toolTip = texts::kToolTipCopy},
          {.help = texts::kHelpEditCopy, .run = [this] { copySelection(); },
           .enabled = [this] { return editMenu_.cutCopy; }, .buttonEnabled = [this] { return editButtons_.cutCopy; }});
    r.add({.id = EditPaste, .in = Edit, .caption = texts::kMenuEditPaste, .key = "Ctrl+V",
           .button = Paste, .picture = "paste.xpm", .toolTip = texts::kToolTipPaste},
          {.help = texts::kHelpEditPaste, .undo = U::Change, .run = [this] { pasteSelection(); },
           .enabled = [this] { return editMenu_.paste; }, .buttonEnabled = [this] { return editButtons_.paste; }});
    r.add({.kind = K::Separator, .id = Bar20, .in = Edit}, {});
    r.add({.id = EditUndo, .in = Edit, .caption = texts::kMenuEditUndo, .key = "Ctrl+Z", .enabled = false},
          {.help = texts::kHelpEditUndo, .run = [this] { undo(); }, .enabled = [this] { return session_.canUndo(); }});
    // Two keys, as the window system's own lists give them.
    r.add({.id = EditRedo, .in = Edit, .caption = texts::kMenuEditRedo, .key = "Ctrl+Y; Ctrl+Shift+Z", .enabled = false},
          {.help = texts::kHelpEditRedo, .run = [this] { redo(); }, .enabled = [this] { return session_.canRedo(); }});
    // The selection's keys, as in a paint program.
    r.add({.kind = K::KeyOnly, .id = Unassigned, .in = Edit, .key = "Del; Backspace"},
          {.help = texts::kHelpEditDelete, .undo = U::Change, .run = [this] { deleteSelection(); }});
    r.add({.kind = K::KeyOnly, .id = Unassigned, .in = Edit, .key = "Ctrl+A"},
          {.help = texts::kHelpEditSelectAll, .run = [this] { selectAll(); }});
    r.add({.kind = K::KeyOnly, .id = Unassigned, .in = Edit, .key = "Esc"},
          {.help = texts::kHelpEditDeselect, .run = [this] { deselect(); }});

    r.add({.kind = K::Menu, .id = Pattern, .caption = texts::kMenuPattern}, {.enabled = idle});
    // Its items are the pattern list, filled at start-up; the last one,
    // "パターン登録", registers the selection as a pattern file.
    r.add({.kind = K::Menu, .id = PatternCommon, .in = Pattern, .caption = texts::kMenuPatternCommon},
          {.help = texts::kHelpPatternCommon, .enabled = [this] { return patternMenu_.selected; }});
    r.add({.kind = K::ButtonOnly, .id = PatternRegister, .in = PatternCommon,
           .caption = texts::kRegisterPattern, .button = NewRegistration, .separatorBefore = true,
           .picture = "new_registration.xpm", .toolTip = texts::kToolTipNewRegistration},
          {.help = texts::kHelpPatternRegister, .run = [this] { registerPattern(); },
           .buttonEnabled = [this] { return patternButtons_.selected; }});
    r.add({.id = PatternRandom, .in = Pattern, .caption = texts::kMenuPatternRandom,
           .button = Random, .picture = "random.xpm", .toolTip = texts::kToolTipRandom, .buttonEnabled = true},
          {.help = texts::kHelpPatternRandom, .undo = U::Change, .run = [this] { fillRandom(); }, .buttonEnabled = idle});
    r.add({.id = PatternClear, .in = Pattern, .caption = texts::kMenuPatternClear,
           .button = Clear, .picture = "clear.xpm", .toolTip = texts::kToolTipClear, .buttonEnabled = true},
          {.help = texts::kHelpPatternClear, .undo = U::Change, .run = [this] { clearBoard(); }, .buttonEnabled = idle});
    const auto liveMenu = [this] { return patternMenu_.live; };
    const auto liveButton = [this] { return patternButtons_.live; };
    r.add({.id = PatternColor, .in = Pattern, .caption = texts::kMenuPatternColor,
           .button = Color, .picture = "color.xpm", .toolTip = texts::kToolTipColor},
          {.help = texts::kHelpPatternColor, .undo = U::Change, .run = [this] { chooseColour(); }, .enabled = liveMenu,
           .buttonEnabled = liveButton});
    r.add({.kind = K::Menu, .id = PatternReverse, .in = Pattern, .caption = texts::kMenuPatternReverse},
          {.help = texts::kHelpPatternReverse, .enabled = liveMenu});
    r.add({.id = PatternReverseRL, .in = PatternReverse, .caption = texts::kMenuPatternReverseRL,
           .button = ReversingRightAndLeft, .picture = "reverse_rl.xpm", .toolTip = texts::kToolTipReverseRL},
          {.help = texts::kHelpPatternReverseRL, .undo = U::Change, .run = [this] { mirrorLeftRight(); },
           .buttonEnabled = liveButton});
    r.add({.id = PatternReverseTB, .in = PatternReverse, .caption = texts::kMenuPatternReverseTB,
           .button = ReversingTopAndBottom, .picture = "reverse_tb.xpm", .toolTip = texts::kToolTipReverseTB},
          {.help = texts::kHelpPatternReverseTB, .undo = U::Change, .run = [this] { mirrorTopBottom(); },
           .buttonEnabled = liveButton});
    r.add({.id = PatternRotate, .in = Pattern, .caption = texts::kMenuPatternRotate,
           .button = Rotate, .picture = "rotate.xpm", .toolTip = texts::kToolTipRotate},
          {.help = texts::kHelpPatternRotate, .undo = U::Change, .run = [this] { rotateSelection(); },
           .enabled = liveMenu, .buttonEnabled = liveButton});
    r.add({.kind = K::Separator, .id = Bar3, .in = Pattern}, {});
    r.add({.id = PatternExpand, .in = Pattern, .caption = texts::kMenuPatternExpand,
           .button = Expand, .picture = "expand.xpm", .toolTip = texts::kToolTipExpand, .buttonEnabled = true},
          {.help = texts::kHelpPatternExpand, .undo = U::Change, .run = [this] { enlargeBoard(); },
           .enabled = [this] { return sizeMenu_.expand; }, .buttonEnabled = [this] { return sizeButtons_.expand; }});
    r.add({.id = PatternReduction, .in = Pattern, .caption = texts::kMenuPatternReduction,
           .button = Reduction, .picture = "reduction.xpm", .toolTip = texts::kToolTipReduction, .buttonEnabled = true},
          {.help = texts::kHelpPatternReduction, .undo = U::Change, .run = [this] { reduceBoard(); },
           .enabled = [this] { return sizeMenu_.reduce; }, .buttonEnabled = [this] { return sizeButtons_.reduce; }});
    // Any side from 10 to 2048, asked in a small dialog.
    r.add({.id = Unassigned, .in = Pattern, .caption = texts::kMenuPatternSize},
          {.help = texts::kHelpPatternSize, .undo = U::Change, .run = [this] { chooseBoardSize(); }});
    // Shown only when the menu pops up on the board: the selection's edit commands.
    popupEditItems_[0] = r.add({.kind = K::Separator, .id = Unassigned, .in = Pattern}, {});
    popupEditItems_[1] = r.add({.id = Unassigned, .in = Pattern, .caption = texts::kMenuPopupCut},
          {.help = texts::kHelpPopupCut, .undo = U::Change, .run = [this] { cutSelection(); },
           .enabled = [this] { return editMenu_.cutCopy; }});
    popupEditItems_[2] = r.add({.id = Unassigned, .in = Pattern, .caption = texts::kMenuPopupCopy},
          {.help = texts::kHelpPopupCopy, .run = [this] { copySelection(); }, .enabled = [this] { return editMenu_.cutCopy; }});
    popupEditItems_[3] = r.add({.id = Unassigned, .in = Pattern, .caption = texts::kMenuPopupPaste},
          {.help = texts::kHelpPopupPaste, .undo = U::Change, .run = [this] { pasteSelection(); },
           .enabled = [this] { return editMenu_.paste; }});
    popupEditItems_[4] = r.add({.id = Unassigned, .in = Pattern, .caption = texts::kMenuPopupRegister},
          {.help = texts::kHelpPopupRegister, .run = [this] { registerPattern(); },
           .enabled = [this] { return patternMenu_.selected; }});

    // How the board is drawn, and the graph window.
    r.add({.kind = K::Menu, .id = View, .caption = texts::kMenuView}, {});
    r.add({.id = ViewRaised, .in = View, .caption = texts::kMenuViewRaised, .checked = true},
          {.help = texts::kHelpViewRaised, .run = [this] { toggleRaisedCells(); }, .checked = [this] { return RaisedCells(); }});
    r.add({.id = ViewGraph, .in = View, .caption = texts::kMenuViewGraph, .key = "Ctrl+G"},
          {.help = texts::kHelpViewGraph, .run = [this] { toggleGraph(); }});
    registerLineageCommands();  // the 系譜 submenu (controller_lineage.cpp)
    registerViewCommands();     // zoom, the whole board, grid, the arrow keys (controller_zoom.cpp)
    registerLanguageCommands();  // the 言語 submenu (controller_language.cpp)
    // Last in 表示: the calm mode, for eyes sensitive to flashing.
    r.add({.id = Unassigned, .in = View, .caption = texts::kMenuViewCalm},
          {.help = texts::kHelpViewCalm, .run = [this] { toggleCalm(); }, .checked = [this] { return calm_; }});
    // Always last on the menu bar.
    r.add({.kind = K::Menu, .id = Help, .caption = texts::kMenuHelp}, {});
    r.add({.id = HelpKeys, .in = Help, .caption = texts::kMenuHelpKeys, .key = "F1"},
          {.help = texts::kHelpHelpKeys, .run = [this] { showKeysHelp(); }});
    r.add({.id = HelpAbout, .in = Help, .caption = texts::kMenuHelpAbout},
          {.help = texts::kHelpHelpAbout, .run = [this] { showAbout(); }});

    // Opened by a right click on the generation panel.
    r.add({.kind = K::PopupMenu, .id = Popup1, .caption = texts::kMenuPopup1}, {});
    r.add({.id = Popup1Reset, .in = Popup1, .caption = texts::kMenuPopup1Reset},
          {.help = texts::kHelpPopup1Reset, .run = [this] { resetGeneration(); }});
    // clang-format on
}

void WindowController::dispatch(Menu id) {
    if (closed_) return;
    const CommandRow* row = commands_.find(id);
    if (!row || !row->behaviour.run) return;  // menus, submenus and separators do nothing when chosen
    runRecorded(row->behaviour.undo, row->behaviour.run);
    refreshCommands();
}

void WindowController::runRecorded(UndoKind kind, const std::function<void()>& change) {
    finishStroke();  // a drag still drawing is a change of its own, before this one
    if (kind == UndoKind::None) return change();
    session_.beginChange(caption());
    change();
    if (!closed_) session_.endChange(caption(), kind == UndoKind::StepOrRun);
}

void WindowController::refreshCommands() {
    if (closed_) return;
    platform::MainWindow& w = window();
    for (const CommandRow& row : commands_.rows()) {
        const platform::Command& look = row.look;
        const CommandBehaviour& b = row.behaviour;
        if (b.enabled) w.setMenuEnabled(look.id, b.enabled());
        if (b.buttonEnabled && look.button != platform::Button::None) w.setButtonEnabled(look.button, b.buttonEnabled());
        if (b.checked) {
            const bool checked = b.checked();
            w.setMenuChecked(look.id, checked);
            if (look.button != platform::Button::None) w.setButtonPressed(look.button, checked);
        }
    }
}

}  // namespace app
