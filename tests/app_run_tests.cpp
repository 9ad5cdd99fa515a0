// SPDX-License-Identifier: MIT
// The controller's start-up, drawing, run control and stimulation, driven
// through its commands over the recording fakes.

#include <gtest/gtest.h>

#include <algorithm>

#include "io/formats.h"
#include "support/controller_fixture.h"
#include "ui/texts.h"

using platform::Menu;
using platform::MessageIcon;

namespace {

using Keys = std::vector<std::string>;
using Buttons = std::vector<Button>;
const Buttons kIdleButtons = {Button::Open,   Button::Save,  Button::Start,  Button::Step,     Button::AutoStimulate,
                              Button::Random, Button::Clear, Button::Expand, Button::Reduction};

// A 2 x 2 block (a still life) with its top left cell at (x, y), and nothing else.
void placeBlock(ControllerFixture& f, int x = 20, int y = 20) {
    f.clearBoard();
    for (int d = 0; d < 4; ++d) f.setLive(x + d % 2, y + d / 2);
}

using Startup = Started;
using Stimulation = Started;

// Pattern files are listed between the separator and the registration item
// in listing order; the seed fixes the board.
TEST_F(Startup, SeedsAndDrawsARandomBoardInTheDesignState) {
    ControllerFixture again;
    for (const char* name : {"b.hxq", "notes.txt", "a.hxq"}) again.files.addProgramFile(name, {1});
    again.start();
    EXPECT_EQ(f.board().Cells, again.board().Cells);
    EXPECT_EQ(f.board().GridMax, 49);
    EXPECT_TRUE(f.board().Modified);
    // Nothing is under the pointer before it enters the board.
    EXPECT_EQ(f.window.panels, (std::array<std::string, 6>{"", "世代 = 1", "セル数 = " + std::to_string(f.board().countLive()),
                                                           "", "", "最高速"}));
    EXPECT_EQ(f.window.enabledButtons(), kIdleButtons);
    EXPECT_EQ(f.window.disabledMenus(), std::vector<Menu>{Menu::ExecStop});
    EXPECT_EQ(again.window.patternItems,
              (Keys{"r-Pentomino", "Glider", "Glider gun", "Queen bee", "Spiral", "-", "b", "a", "パターン登録"}));
}

TEST(StartupFailure, CommandLineFile) {
    engine::Board saved;
    saved.create(99);
    saved.cell(3, 4) = {1, 255, 128, 1};
    const std::tuple<std::string, std::vector<uint8_t>, const char*, MessageIcon> cases[] = {
        {"\"my board.hxa\" x", {}, "'\"my board.hxa\" x' is not found.", MessageIcon::Warning},
        {"/data/notes.hxa", {'h', 'i'}, texts::kNotOurData, MessageIcon::None},
        {"/data/start.hxa", io::EncodeBoardFile(saved), nullptr, MessageIcon::None},
    };
    for (const auto& [commandLine, file, message, icon] : cases) {
        SCOPED_TRACE(commandLine);
        ControllerFixture f;
        if (!file.empty()) f.files.files[commandLine] = file;
        f.start(commandLine);
        if (message) expectOnlyMessage(f.dialogs.messages, message, icon);
        EXPECT_EQ(f.board().GridMax, message ? 49 : 99);  // a refused file leaves the random board
        EXPECT_EQ(f.board().Modified, message != nullptr);
        EXPECT_EQ(f.window.panels[2], "セル数 = " + std::to_string(f.board().countLive()));
    }
}

// A run disables everything that edits the board or touches a file; Stop
// gives back only what needs no selection, within the size limits. An empty
// board disables Start and Step.
TEST_F(Startup, EnablingDuringAndAfterARun) {
    f.board().create(9);  // the smallest board: no Reduction after the run
    placeBlock(f, 2, 2);
    for (auto& [key, state] : f.window.buttons) state.enabled = true;  // as if a selection had enabled them
    Buttons buttonsDuringRun;
    std::vector<Menu> menusDuringRun;
    f.window.onProcessEvents = [&] {
        buttonsDuringRun = f.window.enabledButtons();
        menusDuringRun = f.window.disabledMenus();
        f.press(Button::Stop);
    };
    f.press(Button::Start);
    EXPECT_EQ(buttonsDuringRun, (Buttons{Button::Stop, Button::AutoStimulate}));
    EXPECT_EQ(menusDuringRun, (std::vector<Menu>{Menu::FileOpen, Menu::FileSave, Menu::FileSaveAs, Menu::FileRestore,
                                                 Menu::ExecStart, Menu::ExecStep, Menu::Edit, Menu::Pattern}));
    Buttons idle = kIdleButtons;
    idle.erase(std::find(idle.begin(), idle.end(), Button::Reduction));
    EXPECT_EQ(f.window.enabledButtons(), idle);
    EXPECT_EQ(f.window.disabledMenus(), std::vector<Menu>{Menu::ExecStop});
    f.clearBoard();
    f.controller->ReDraw();
    EXPECT_EQ(f.window.disabledMenus(), (std::vector<Menu>{Menu::ExecStart, Menu::ExecStop, Menu::ExecStep}));
}

// A run ends with one message when all cells die, a step silently; both
// drop the selection.
TEST(RunEnabling, ExtinctionEndsARunWithOneMessageAndAStepSilently) {
    for (bool continuous : {true, false}) {
        ControllerFixture f;
        f.start();
        f.clearBoard();
        f.setLive(10, 10);
        f.drag(1, 1, 2, 2);
        f.press(continuous ? Button::Start : Button::Step);
        if (continuous) expectOnlyMessage(f.dialogs.messages, "全滅しました...", MessageIcon::Information);
        EXPECT_EQ(f.dialogs.messages.size(), continuous ? 1u : 0u);
        EXPECT_EQ(f.run().RunMode, continuous ? RunMode::Stopped : RunMode::SingleStep);
        EXPECT_EQ(f.selection().SelLeft, -1);
        for (Button b : {Button::Start, Button::Step, Button::Stop}) EXPECT_FALSE(f.window.buttonEnabled(b));
    }
}

// Ten drawings of one population (or of two alternating) bring one dead
// cell next to a live one to life and restart the generation count; a
// period of three never does.
TEST_F(Stimulation, StillOrAlternatingPopulationsGetOneTouchingCell) {
    const std::pair<std::array<int32_t, 10>, bool> cases[] = {  // newest first; fires
        {{4, 4, 4, 4, 4, 4, 4, 4, 4, 4}, true},
        {{7, 9, 7, 9, 7, 9, 7, 9, 7, 9}, true},
        {{4, 5, 6, 4, 5, 6, 4, 5, 6, 4}, false},
        {{7, 9, 7, 9, 7, 9, 7, 9, 7, 8}, false},
    };
    f.run().RunMode = RunMode::SingleStep;
    for (const auto& [history, fires] : cases) {
        placeBlock(f);
        const auto before = f.board().Cells;
        f.board().PopulationHistory = history;
        f.board().Generation = 50;
        f.controller->AutoStimulation();
        EXPECT_EQ(f.board().countLive(), fires ? 5 : 4);
        EXPECT_EQ(f.board().Generation, fires ? 1 : 50);
        EXPECT_EQ(f.board().PopulationHistory[0], history[0] + (fires ? 1 : 0));
        for (int x = 0; x <= 49; ++x)
            for (int y = 0; y <= 49; ++y)
                if (f.board().cell(x, y).State && !before[f.board().index(x, y)].State) {
                    EXPECT_TRUE(std::abs(x - 20.5) <= 2 && std::abs(y - 20.5) <= 2) << x << ", " << y;
                }
    }
}

TEST_F(Startup, ExitDuringARunEndsTheLoop) {
    int yields = 0;
    f.window.onProcessEvents = [&] {
        if (++yields == 3) f.controller->menuTriggered(Menu::FileExit);
    };
    f.press(Button::Start);
    EXPECT_EQ(yields, 3);
    EXPECT_TRUE(f.window.closed && f.controller->closed());
    EXPECT_EQ(f.run().RunMode, RunMode::Stopped);
    f.controller->boardExposed();  // late events from the window change nothing
    f.press(Button::Step);
}

}  // namespace
