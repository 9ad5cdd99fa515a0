// SPDX-License-Identifier: MIT
#pragma once

// The main window's logic: it owns all state of the program and has one
// handler per menu item, toolbar button and mouse event. It reaches the
// window system only through the interfaces of platform/.
//
// The handlers live in several files by subject:
//   form1.cpp           start-up, shutdown, event routing
//   form1_run.cpp       ReDraw, the run loop, run control, stimulation, toolbar
//   form1_mouse.cpp     mouse editing, selection, focus rectangle, menu enabling
//   form1_patterns.cpp  pattern menu, transformations, random/clear/colour, resize
//   form1_files.cpp     board files, file dialogs, pattern files
//   form1_clipboard.cpp cut, copy and paste
//   form1_keep.cpp      the kept board and its restoring, Save As
//   form1_history.cpp   undo and redo, one generation back
//   form1_view.cpp      how the board is drawn (the 表示 menu)
//   form1_import.cpp    Life text patterns (RLE, plaintext) from files and the clipboard
//   form1_help.cpp      the help menu (its texts: help_text.cpp)
//   form1_graph.cpp     the graph window: recording a run, exporting it

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/generation_line.h"
#include "app/undo_history.h"
#include "app/generation_pacer.h"
#include "app/run_recorder.h"
#include "display/board_renderer.h"
#include "engine/board.h"
#include "engine/generation_step.h"
#include "engine/random_sequence.h"
#include "io/formats.h"
#include "patterns/cell_rect.h"
#include "platform/commands.h"
#include "platform/services.h"

namespace app {

// Board data file or pattern file, for the file dialogs.
inline constexpr int kBoardFileMode = 1;
inline constexpr int kPatternFileMode = 2;

// Stopped (0); a single step (1), left standing after the step until a
// continuous run ends; a continuous run (2).
enum class RunMode : int32_t { Stopped = 0, SingleStep = 1, Continuous = 2 };

struct RunState {
    app::RunMode RunMode = app::RunMode::Stopped;
    bool AutoStimulate = false;
};

struct Selection {
    int32_t SelLeft = -1;  // -1: nothing selected
    int32_t SelTop = 0;
    int32_t SelRight = 0;
    int32_t SelBottom = 0;
    bool Selecting = false;   // a left drag is going on
    bool FocusShown = false;  // the focus rectangle is on the board
};

inline patterns::CellRect SelectionRect(const Selection& s) { return {s.SelLeft, s.SelTop, s.SelRight, s.SelBottom}; }

class Form1 : public platform::WindowEvents, public platform::GraphEvents {
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
    };
    struct Options {
        std::string commandLine;       // the whole argument text, one path
        std::optional<uint64_t> seed;  // fixed seed instead of the clock
    };

    Form1(Services services, Options options);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The state as the tests see it; defined by the tests only.
    struct TestAccess;

    // ---- start-up and shutdown ---------------------------------------------
    void Form_Load();
    void Form_Unload();
    void mnuFileExit_Click();
    bool unloaded() const { return unloaded_; }

    // ---- drawing -------------------------------------------------------------
    void ReDraw();
    // Draws the board, its panels and the Start/Step enabling; ReDraw's
    // part without the population history and stimulation (a board put
    // back as it was is shown with its own counts). `countPopulation` puts
    // the count in front of the history.
    void ShowBoard(bool countPopulation = false);
    void picDraw_Paint();
    void ScalePictures();  // both pictures to (0, 0)-(GridMax + 1, GridMax + 1)
    void ForgetDrawing() { painter_.forget(); }  // the next ReDraw paints the whole board

    // ---- view ------------------------------------------------------------------
    void mnuViewRaised_Click();
    // Live cells drawn raised (立体表示, the first state) or flat: sets the
    // check mark and redraws. May be called before Form_Load, to start in
    // a remembered look.
    void SetRaisedCells(bool raised);
    bool RaisedCells() const { return cellLook_ == display::CellLook::Raised; }

    // ---- run control ---------------------------------------------------------
    void Exec();
    void mnuExecStart_Click();
    void mnuExecStop_Click();
    void mnuExecStep_Click();
    void mnuExecStimulate_Click();
    void AutoStimulation();   // the last step of ReDraw
    bool StimulateOneCell();  // false when no cell qualifies
    void Toolbar1_ButtonClick(platform::Button button);
    void StatusBar1_MouseButton(int button, int shift, int x, int y);
    void mnuPopup1Reset_Click();

    // ---- undo and redo, one generation back -----------------------------------
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuExecBack_Click();
    // Enables undo, redo and one generation back as they can act now; their
    // keys work without their menu being opened, so this follows every change.
    void UpdateHistoryCommands();
    // ---- the speed ladder (form1_speed.cpp) -----------------------------------
    // Takes a rate of the ladder (generations a second, 0 for no limit;
    // anything else is no limit), checks its item and remembers it.
    void SetSpeed(int rate);
    int Speed() const { return pacer_.rate(); }
    void mnuExecSpeed_Click(platform::Menu item);
    void ChangeSpeed(int rungs);  // up (+) or down (-) the ladder, stopping at its ends
    void LoadSettings();          // the remembered values, at start-up

    // ---- mouse editing and selection ---------------------------------------
    void picDraw_MouseDown(int Button, int Shift, float X, float Y);
    void picDraw_MouseMove(int Button, int Shift, float X, float Y);
    void picDraw_MouseUp(int Button, int Shift, float X, float Y);
    void DrawFocus();
    void mnuEdit_Click();
    void mnuPattern_Click();
    bool SelectionHasLiveCell() const;

    // ---- patterns and transformations ---------------------------------------
    void mnuPatternCommonItem_Click(int Index);
    void mnuPatternReverseRL_Click();
    void mnuPatternReverseTB_Click();
    void mnuPatternRotate_Click();
    void ReverseRL();
    void ReverseTB();
    void Rotate();
    void mnuPatternRandom_Click();
    void mnuPatternClear_Click();
    void mnuPatternColor_Click();
    // The colour dialog starting on SelectColor; the confirmed colour, or
    // nothing when it was cancelled.
    std::optional<platform::ColorValue> ChooseColor(platform::ColorValue SelectColor);
    void mnuPatternExpand_Click();
    void mnuPatternReduction_Click();
    // Enables Expand and Reduction (menu items and buttons) by the size rule.
    void ApplySizeRule();
    // Drops a selection (and its focus rectangle) that reaches beyond a board
    // of `gridMax`.
    void DropSelectionBeyond(int32_t gridMax);

    // ---- files -----------------------------------------------------------------
    void SaveData();
    // Loads a board file; false when the file was refused (board unchanged).
    bool OpenFile(const std::string& NewFileName);
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    std::string GetOpenFileName(int Mode);
    std::string GetSaveFileName(int Mode);
    // The file's name without its folder, extension included.
    static std::string GetFileTitle(const std::string& TargetStr);
    void CreatePatternFile();
    void ReadPatternFile(const std::string& Index);
    // A Life text pattern (RLE or plaintext) as a new board: nothing when the
    // bytes are not one (the caller reads them as a board file), otherwise
    // whether it was taken (a refusal has been shown, the board unchanged).
    std::optional<bool> OpenLifePattern(const std::string& path, const std::vector<uint8_t>& bytes);

    // ---- the kept board and Save As --------------------------------------------
    void mnuFileSaveAs_Click();
    void mnuFileRestore_Click();
    // Writes the board to this copy's kept file when it differs from what was
    // kept last (not during a continuous run: its stop keeps the board).
    void KeepBoard();

    // ---- clipboard -------------------------------------------------------------
    void CopyToClipboard();
    void PasteFromClipboard();
    void mnuEditCopy_Click();
    void mnuEditCut_Click();
    void mnuEditPaste_Click();
    // The clipboard holds a cell block, or text that reads as a Life pattern.
    bool ClipboardCanPaste();

    // ---- help -------------------------------------------------------------------
    void mnuHelpKeys_Click();   // the list of commands, keys, mouse actions and files
    void mnuHelpAbout_Click();  // name, version, licence

    // ---- the graph window ------------------------------------------------------
    // Opens the graph window with a new record, or closes it.
    void mnuViewGraph_Click();
    // The board has been replaced as a whole (opened, ランダム, クリア, 拡大,
    // 縮小, undone or redone): an open graph starts a new record from it.
    void BoardReplaced();
    // After each generation of a run or a step: the open graph records it.
    void RecordGeneration();
    void graphExportRequested(platform::GraphExport kind) override;
    void graphClosed() override;

    // ---- platform::WindowEvents -------------------------------------------------
    void menuTriggered(platform::Menu item) override;
    void menuAboutToShow(platform::Menu menu) override;
    void patternItemTriggered(int index) override;
    void toolbarButtonClicked(platform::Button button) override;
    void boardMouseDown(int button, int shift, float x, float y) override;
    void boardMouseMove(int button, int shift, float x, float y) override;
    void boardMouseUp(int button, int shift, float x, float y) override;
    void boardExposed() override;
    void statusBarMouse(int button, int shift, int x, int y) override;
    void windowClosing() override;
    bool canDropFiles() override;
    void filesDropped(const std::vector<std::string>& paths) override;

private:
    // ---- state, owned here for the window's whole life --------------------
    engine::Board board;  // Cells, GridMax, Generation, PopulationHistory, Modified
    engine::Stepper stepper;  // ReCalc with its work space, kept between generations
    RunState run;
    Selection selection;
    std::string FileName;
    std::array<platform::ColorValue, 16> CustomColors{};  // the colour dialog's, kept while the window lives
    std::vector<engine::CellRecord> BoardCopy;
    engine::RandomSequence random;
    platform::PixelImage picBuffer;  // the off-screen picture of the board

    // ---- helpers -------------------------------------------------------------
    platform::MainWindow& window() { return services_.window; }
    // Something is selected (SelLeft = -1 means nothing is).
    bool HasSelection() const { return selection.SelLeft != -1; }
    // Shows a message box titled with the application title.
    platform::MessageAnswer Message(const std::string& text, platform::MessageIcon icon,
                                    platform::MessageButtons buttons = platform::MessageButtons::Ok,
                                    platform::MessageAnswer defaultButton = platform::MessageAnswer::Ok);
    void SetFileCaption();
    bool PutSelectionOnClipboard();  // false when the user was told it failed
    void AskToSaveChanges();  // before another board is loaded
    // The Life pattern in the clipboard's text as a cell block whose live
    // cells take random colours; nothing when the text holds none.
    std::optional<io::CellBlock> ClipboardLifePattern();
    void FillPatternMenu();
    // The pattern file a pattern item stands for.
    std::string PatternItemPath(int index);
    // Keeps the board within a second, once, however often it changes.
    void ScheduleKeeping();
    // Save As and restoring are available exactly when opening and saving are.
    void EnableSaveAsAndRestore(bool enabled);
    // Runs the handler of a menu item; its toolbar button runs the same.
    void RunCommand(platform::Menu item);
    // A toolbar button takes the enabled state that its menu entry (or
    // `source`) has now.
    void SyncButton(platform::Button button);
    void SyncButton(platform::Button button, platform::Menu source);
    // Every button of a menu of the menu bar takes the state of the whole menu.
    void SyncMenuButtons(platform::Menu menu);

    // ---- undo and redo, one generation back (form1_history.cpp) ----------------
    // Runs `change` as one step of the undo list, if it changed anything. A
    // step or run continues the generation line; anything else ends it.
    void RecordChange(const std::function<void()>& change, bool stepOrRun = false);
    // Runs a command that changes the board as a recorded change, and the
    // history's own commands; false for any other command.
    bool RunAsChange(platform::Menu item);
    // A board file given at start-up can be undone to an empty board.
    void RecordStartupOpen();
    // One generation of a step or run: computed, drawn, kept in the line.
    void StepOneGeneration();
    EditorState CaptureEditor() const;
    void RestoreEditor(const EditorState& state);
    // Enables the selection's buttons as the end of a drag does.
    void SyncSelectionButtons();

    Services services_;
    Options options_;
    bool unloaded_ = false;
    int dialogMode_ = 0; // the file dialogs keep the kind of their last use
    std::vector<std::string> patternFiles_;  // per pattern item its file's path; "" for the others
    std::vector<uint8_t> keptBytes_;  // the board file last kept (or found at start-up)
    bool keepingDue_ = false;         // a keeping is scheduled
    display::BoardPainter painter_;  // what picBuffer shows, so a drawing repaints only changes
    UndoHistory undo_;
    GenerationLine generations_;
    int changeDepth_ = 0;          // a recorded change is running
    bool computingGeneration_ = false;  // the drawing belongs to a generation of the line
    display::CellLook cellLook_ = display::CellLook::Raised;
    GenerationPacer pacer_;  // when a continuous run's next generation is due
    RunRecorder recorder_;           // what the graph window shows
    bool graphOpen_ = false;
};

}  // namespace app
