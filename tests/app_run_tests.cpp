// Form1 start-up, drawing, run control and stimulation, driven through its
// handlers over the recording fakes.

#include <gtest/gtest.h>

#include "ui/texts.h"
#include "io/formats.h"
#include "support/form_fixture.h"

using platform::Menu;
using platform::MessageIcon;

namespace {

using Keys = std::vector<std::string>;
const Keys kIdleButtons = {"Open", "Save", "Start", "Step", "AutoStimulate", "Random", "Clear", "Expand", "Reduction"};

// A 2 x 2 block (a still life) with its top left cell at (x, y), and nothing else.
void placeBlock(FormFixture& f, int x = 20, int y = 20) {
    f.clearBoard();
    for (int d = 0; d < 4; ++d) f.setLive(x + d % 2, y + d / 2);
}

// A continuous run stopped from inside the yield once `stop` says so or
// after `limit` generations.
void runFor(FormFixture& f, int limit, const std::function<bool()>& stop = [] { return false; }) {
    int n = 0;
    f.window.onProcessEvents = [&] {
        if (++n >= limit || stop()) f.form->mnuExecStop_Click();
    };
    f.form->mnuExecStart_Click();
    f.window.onProcessEvents = nullptr;
}

using Startup = Started;
using RunControl = Started;
using Stimulation = Started;

TEST_F(Startup, SeedsAndDrawsARandomBoardInTheDesignState) {
    // Pattern files are listed between the separator and the registration
    // item in listing order; they have no say in the board.
    FormFixture again;
    for (const char* name : {"b.hxq", "notes.txt", "a.hxq"}) again.files.addProgramFile(name, {1});
    again.start();
    EXPECT_EQ(f.board().Cells, again.board().Cells);  // the seed fixes the board
    EXPECT_EQ(f.board().GridMax, 49);
    EXPECT_EQ(f.window.scale, 50);
    EXPECT_TRUE(f.board().Modified);
    EXPECT_TRUE(f.form->run.AutoStimulate);
    EXPECT_EQ(f.form->run.RunMode, 0);
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_EQ(f.clipboard.registered.at("Chromatessellator CellData"), f.form->ClipFormat);
    const int32_t live = f.board().countLive();
    EXPECT_GT(live, 0);
    EXPECT_EQ(f.window.panels, (std::array<std::string, 5>{"", "世代 = 1", "セル数 = " + std::to_string(live),
                                                           "x = 100, y = 100", "RGB = &HFFFFFF"}));
    EXPECT_EQ(f.window.showCount, 1);
    EXPECT_EQ(f.window.enabledButtons(), kIdleButtons);
    EXPECT_EQ(f.window.disabledMenus(), std::vector<Menu>{Menu::ExecStop});
    EXPECT_TRUE(f.window.menuChecked(Menu::ExecStimulate));
    EXPECT_TRUE(f.window.buttonPressed("AutoStimulate"));
    Keys items = {"r-Pentomino", "Glider", "Glider gun", "Queen bee", "Spiral", "-", "パターン登録"};
    EXPECT_EQ(f.window.patternItems, items);
    items.insert(items.end() - 1, {"b", "a"});
    EXPECT_EQ(again.window.patternItems, items);
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(StartupFailure, FailedClipboardRegistrationEndsAtOnce) {
    FormFixture f;
    f.clipboard.failRegistration = true;
    f.start();
    EXPECT_FALSE(f.loaded);
    expectOnlyMessage(f.dialogs.messages, "RegisterClipboardFormat failed!", MessageIcon::Warning);
    EXPECT_EQ(f.window.showCount, 0);
}

TEST(StartupFailure, CommandLineFileMissingRefusedOrLoaded) {
    engine::Board saved;
    saved.create(99);
    saved.cell(3, 4) = {1, 255, 128, 1};
    saved.cell(99, 99) = {1, 1, 2, 3};
    struct Case {
        std::string commandLine;    // one path, blanks and quotes kept
        std::vector<uint8_t> file;  // stored under that path unless empty
        const char* message;        // nullptr: the file is loaded
        MessageIcon icon;
    };
    const Case cases[] = {
        {"\"my board.hxa\" x", {}, "'\"my board.hxa\" x' is not found.", MessageIcon::Warning},
        {"/data/notes.hxa", {'h', 'e', 'l', 'l', 'o'}, texts::kNotOurData, MessageIcon::None},
        {"/data/start.hxa", io::EncodeBoardFile(saved), nullptr, MessageIcon::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        FormFixture f;
        if (!c.file.empty()) f.files.files[c.commandLine] = c.file;
        f.start(c.commandLine);
        const bool loaded = c.message == nullptr;
        if (loaded) {
            EXPECT_TRUE(f.dialogs.messages.empty());
            EXPECT_EQ(f.board().cell(3, 4), (engine::CellRecord{1, 255, 128, 1}));
        } else {
            expectOnlyMessage(f.dialogs.messages, c.message, c.icon);
        }
        EXPECT_EQ(f.board().Cells.size(), loaded ? 10000u : 2500u);
        EXPECT_EQ(f.window.scale, loaded ? 100 : 50);
        EXPECT_EQ(f.board().Modified, !loaded);  // a random board counts as modified
        EXPECT_EQ(f.window.panels[2], "セル数 = " + std::to_string(loaded ? 2 : f.board().countLive()));
        EXPECT_GT(f.board().countLive(), 0);
    }
}

TEST_F(Startup, PanelsUseThousandsSeparatorsAndAnEmptyBoardDisablesStartAndStep) {
    f.clearBoard();
    for (int x = 0; x < 50; ++x)
        for (int y = 0; y < 25; ++y) f.setLive(x, y);
    f.board().Generation = 12345;
    const int32_t before = f.board().PopulationHistory[0];
    f.form->ReDraw();
    EXPECT_EQ(f.window.panels[1], "世代 = 12,345");
    EXPECT_EQ(f.window.panels[2], "セル数 = 1,250");
    f.form->picDraw_Paint();  // every drawing shifts the history by one
    EXPECT_EQ(f.board().PopulationHistory[1], 1250);
    EXPECT_EQ(f.board().PopulationHistory[2], before);

    f.clearBoard();
    f.form->ReDraw();
    EXPECT_EQ(f.window.panels[2], "セル数 = 0");
    EXPECT_EQ(f.window.disabledMenus(), (std::vector<Menu>{Menu::ExecStart, Menu::ExecStop, Menu::ExecStep}));
    EXPECT_FALSE(f.window.buttonEnabled("Start"));
    EXPECT_FALSE(f.window.buttonEnabled("Step"));
}

// A run disables everything that edits the board or touches a file; Stop
// gives back only what needs no selection, within the size limits.
TEST(RunEnabling, DuringAndAfterARun) {
    for (int32_t gridMax : {49, 199, 9}) {
        SCOPED_TRACE(gridMax);
        FormFixture f;
        f.start();
        f.board().create(gridMax);
        placeBlock(f, 2, 2);
        for (auto& [key, state] : f.window.buttons) state.enabled = true;  // as if a selection had enabled them
        Keys buttonsDuringRun;
        std::vector<Menu> menusDuringRun;
        f.window.onProcessEvents = [&] {
            buttonsDuringRun = f.window.enabledButtons();
            menusDuringRun = f.window.disabledMenus();
            f.form->mnuExecStop_Click();
        };
        f.form->mnuExecStart_Click();
        EXPECT_EQ(buttonsDuringRun, (Keys{"Stop", "AutoStimulate"}));
        EXPECT_EQ(menusDuringRun, (std::vector<Menu>{Menu::FileOpen, Menu::FileSave, Menu::ExecStart, Menu::ExecStep,
                                                     Menu::Edit, Menu::Pattern}));
        EXPECT_EQ(f.form->run.RunMode, 0);
        EXPECT_EQ(f.window.processEventsCount, 1);
        Keys idle;
        for (const auto& key : kIdleButtons)
            if ((key != "Expand" || gridMax < 199) && (key != "Reduction" || gridMax > 9)) idle.push_back(key);
        EXPECT_EQ(f.window.enabledButtons(), idle);
        EXPECT_EQ(f.window.disabledMenus(), std::vector<Menu>{Menu::ExecStop});
    }
}

TEST(RunEnabling, ExtinctionEndsARunWithOneMessageAndAStepSilently) {
    for (bool continuous : {true, false}) {
        SCOPED_TRACE(continuous ? "run" : "step");
        FormFixture f;
        f.start();
        f.clearBoard();
        f.setLive(10, 10);  // a lone cell dies in one generation
        f.form->ReDraw();
        f.drag(1, 1, 2, 2);
        continuous ? f.form->mnuExecStart_Click() : f.form->mnuExecStep_Click();
        if (continuous) {
            expectOnlyMessage(f.dialogs.messages, "全滅しました...", MessageIcon::Information);
        } else {
            EXPECT_TRUE(f.dialogs.messages.empty());
            EXPECT_EQ(f.window.processEventsCount, 0);
        }
        EXPECT_EQ(f.form->run.RunMode, continuous ? 0 : 1);
        EXPECT_EQ(f.selection().SelLeft, -1);  // a run or step drops the selection
        for (const char* key : {"Start", "Step", "Stop"}) EXPECT_FALSE(f.window.buttonEnabled(key)) << key;
        for (Menu m : {Menu::ExecStart, Menu::ExecStep, Menu::ExecStop}) EXPECT_FALSE(f.window.menuEnabled(m));
    }
}

TEST_F(Stimulation, StillLifeGetsOneTouchingCellAndTheGenerationRestarts) {
    placeBlock(f);
    f.form->ReDraw();
    const auto before = f.board().Cells;
    runFor(f, 30, [&] { return f.board().Generation == 1; });
    ASSERT_EQ(f.board().Generation, 1);
    EXPECT_EQ(f.board().countLive(), 5);
    EXPECT_EQ(f.board().PopulationHistory[0], 5);
    for (int x = 0; x <= 49; ++x)
        for (int y = 0; y <= 49; ++y)
            if (f.board().cell(x, y).State && !before[f.board().index(x, y)].State) {
                EXPECT_LE(std::abs(x - 20.5), 2);  // next to the block, never on an edge
                EXPECT_LE(std::abs(y - 20.5), 2);
            }
}

// Both the menu item and the toolbar button invert the flag, the check mark
// and the pressed button together; switched off, a still life is left alone.
TEST_F(Stimulation, SwitchedOffLeavesAStillLifeAlone) {
    auto expectSwitch = [&](bool on) {
        EXPECT_EQ(f.form->run.AutoStimulate, on);
        EXPECT_EQ(f.window.menuChecked(Menu::ExecStimulate), on);
        EXPECT_EQ(f.window.buttonPressed("AutoStimulate"), on);
    };
    f.form->mnuExecStimulate_Click();
    expectSwitch(false);
    placeBlock(f);
    f.form->ReDraw();
    runFor(f, 40);
    EXPECT_EQ(f.board().countLive(), 4);
    EXPECT_EQ(f.board().Generation, 41);
    f.press("AutoStimulate");
    expectSwitch(true);
}

TEST_F(Stimulation, PeriodTwoFiresAndPeriodThreeNever) {
    const std::pair<std::array<int32_t, 10>, bool> cases[] = {  // newest first; fires
        {{7, 9, 7, 9, 7, 9, 7, 9, 7, 9}, true},
        {{4, 5, 6, 4, 5, 6, 4, 5, 6, 4}, false},
        {{7, 9, 7, 9, 7, 9, 7, 9, 7, 8}, false},
    };
    f.form->run.RunMode = 1;
    for (const auto& [history, fires] : cases) {
        placeBlock(f);
        f.board().PopulationHistory = history;
        f.board().Generation = 50;
        f.form->AutoStimulation();
        EXPECT_EQ(f.board().countLive(), fires ? 5 : 4);
        EXPECT_EQ(f.board().Generation, fires ? 1 : 50);
        EXPECT_EQ(f.board().PopulationHistory[0], history[0] + (fires ? 1 : 0));
    }
}

// A step leaves RunMode at 1, so repaints keep counting; after a run has
// ended they never stimulate. A stimulation without a candidate changes nothing.
TEST_F(Stimulation, RepaintsAfterASingleStepStimulateButNotAfterARun) {
    placeBlock(f);
    f.form->mnuExecStep_Click();
    for (int i = 0; i < 8; ++i) f.form->picDraw_Paint();
    EXPECT_EQ(f.board().countLive(), 4);
    f.form->picDraw_Paint();  // the tenth drawing of 4 since the step
    EXPECT_EQ(f.board().countLive(), 5);
    EXPECT_EQ(f.board().Generation, 1);

    f.clearBoard();
    for (int i = 0; i < 12; ++i) f.form->picDraw_Paint();
    EXPECT_EQ(f.board().countLive(), 0);
    for (int x = 1; x <= 48; ++x)  // the whole interior live: every candidate is taken
        for (int y = 1; y <= 48; ++y) f.setLive(x, y);
    const auto cells = f.board().Cells;
    for (int i = 0; i < 12; ++i) f.form->picDraw_Paint();
    EXPECT_EQ(f.board().Cells, cells);

    placeBlock(f);
    f.form->mnuExecStimulate_Click();
    runFor(f, 3);
    f.form->mnuExecStimulate_Click();
    for (int i = 0; i < 20; ++i) f.form->picDraw_Paint();
    EXPECT_EQ(f.board().countLive(), 4);
}

TEST_F(RunControl, RightClickOverTheGenerationPanelOffersReset) {
    const int panel2 = f.window.panelLefts[2];
    f.form->StatusBar1_MouseButton(platform::kLeftButton, 0, 5, 3);
    f.form->StatusBar1_MouseButton(platform::kRightButton, 0, panel2, 3);
    EXPECT_TRUE(f.window.popups.empty());
    f.window.onPopup = [&](platform::Popup p) {
        EXPECT_EQ(p, platform::Popup::Popup1);
        f.form->menuTriggered(Menu::Popup1Reset);
    };
    f.form->StatusBar1_MouseButton(platform::kRightButton, 0, panel2 - 1, 3);
    EXPECT_EQ(f.window.popups.size(), 1u);
    EXPECT_EQ(f.window.panels[1], "世代 = 0");
    f.form->mnuExecStep_Click();
    EXPECT_EQ(f.window.panels[1], "世代 = 1");
}

TEST_F(RunControl, ExitDuringARunEndsTheLoopWithoutTouchingTheBoard) {
    int yields = 0;
    f.window.onProcessEvents = [&] {
        if (++yields == 3) f.form->menuTriggered(Menu::FileExit);
    };
    f.form->mnuExecStart_Click();
    EXPECT_EQ(yields, 3);
    EXPECT_TRUE(f.window.closed);
    EXPECT_TRUE(f.form->unloaded());
    EXPECT_EQ(f.form->run.RunMode, 0);
    EXPECT_TRUE(f.board().Cells.empty());
    EXPECT_TRUE(f.dialogs.messages.empty());
    f.form->boardExposed();  // late events from the window change nothing
    f.press("Step");
}

TEST_F(RunControl, ToolbarKeysReachTheirHandlersExactlyAndUnknownKeysDoNothing) {
    f.press("Step");
    EXPECT_EQ(f.board().Generation, 2);
    EXPECT_EQ(f.window.disabledMenus(), std::vector<Menu>{Menu::ExecStop});  // Start and Step stay on
    for (const char* key : {"start", "Step ", ""}) f.press(key);  // keys are case-sensitive
    EXPECT_EQ(f.board().Generation, 2);
    f.window.onProcessEvents = [&] { f.press("Stop"); };
    f.press("Start");
    EXPECT_EQ(f.board().Generation, 3);
    EXPECT_EQ(f.form->run.RunMode, 0);
}

}  // namespace
