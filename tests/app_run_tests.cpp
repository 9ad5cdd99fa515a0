// Form1 start-up, drawing and run control, driven through its handlers over
// the recording fakes.

#include <gtest/gtest.h>

#include "app/texts.h"
#include "engine/rules.h"
#include "io/formats.h"
#include "support/form_fixture.h"

using platform::Menu;
using platform::MessageIcon;

namespace {

const std::vector<std::string> kSelectionButtons = {
    "Cut", "Copy", "Paste", "New registration", "Color", "Reversing right and left", "Reversing top and bottom",
    "Rotate"};

// A board with a 2 x 2 block (a still life) in the middle and nothing else.
void placeBlock(FormFixture& f, int x = 20, int y = 20) {
    f.clearBoard();
    f.setLive(x, y), f.setLive(x + 1, y), f.setLive(x, y + 1), f.setLive(x + 1, y + 1);
}

}  // namespace

TEST(Startup, WithoutArgumentsSeedsAndDrawsARandomBoard) {
    FormFixture f;
    f.start();
    ASSERT_TRUE(f.loaded);
    EXPECT_EQ(f.board().GridMax, 49);
    EXPECT_EQ(f.window.scale, 50);
    EXPECT_TRUE(f.board().Modified);
    EXPECT_TRUE(f.form->run.AutoStimulate);
    EXPECT_EQ(f.form->run.RunMode, 0);
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_NE(f.form->ClipFormat, 0u);
    EXPECT_EQ(f.clipboard.registered.count("Chromatessellator CellData"), 1u);

    const int32_t live = f.board().countLive();
    EXPECT_GT(live, 0);
    EXPECT_EQ(f.board().Population(), live);
    EXPECT_EQ(f.window.panels[1], "世代 = 1");
    EXPECT_EQ(f.window.panels[2], "セル数 = " + std::to_string(live));
    EXPECT_EQ(f.window.panels[3], "x = 100, y = 100");
    EXPECT_EQ(f.window.panels[4], "RGB = &HFFFFFF");
    EXPECT_EQ(f.window.showCount, 1);

    EXPECT_TRUE(f.window.menuEnabled(Menu::ExecStart));
    EXPECT_TRUE(f.window.menuEnabled(Menu::ExecStep));
    EXPECT_FALSE(f.window.menuEnabled(Menu::ExecStop));
    EXPECT_TRUE(f.window.buttonEnabled("Start"));
    EXPECT_TRUE(f.window.buttonEnabled("Step"));
    EXPECT_FALSE(f.window.buttonEnabled("Stop"));
    for (const auto& key : kSelectionButtons) EXPECT_FALSE(f.window.buttonEnabled(key)) << key;
    EXPECT_TRUE(f.dialogs.messages.empty());
}

TEST(Startup, TheSameSeedGivesTheSameBoard) {
    FormFixture a, b;
    a.start("", 77);
    b.start("", 77);
    EXPECT_EQ(a.board().Cells, b.board().Cells);
}

TEST(Startup, FailedClipboardRegistrationEndsAtOnce) {
    FormFixture f;
    f.clipboard.failRegistration = true;
    f.start();
    EXPECT_FALSE(f.loaded);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "RegisterClipboardFormat failed!");
    EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(f.dialogs.messages[0].title, "Kaleidomat");
    EXPECT_EQ(f.window.showCount, 0);
    EXPECT_EQ(f.window.patternItems.size(), 1u);
}

TEST(Startup, MissingCommandLineFileWarnsAndStartsRandom) {
    FormFixture f;
    f.start("b.hxa");
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "'b.hxa' is not found.");
    EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(f.dialogs.messages[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(f.dialogs.messages[0].title, "Kaleidomat");
    EXPECT_GT(f.board().countLive(), 0);
    EXPECT_TRUE(f.board().Modified);
}

TEST(Startup, CommandLineIsOnePathWithBlanksAndQuotesKept) {
    FormFixture f;
    f.start("\"my board.hxa\" x");
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "'\"my board.hxa\" x' is not found.");
}

TEST(Startup, ExistingCommandLineFileIsLoadedInsteadOfARandomBoard) {
    FormFixture f;
    engine::Board saved;
    saved.create(99);
    saved.cell(3, 4) = {1, 255, 128, 1};
    saved.cell(99, 99) = {1, 1, 2, 3};
    f.files.files["/data/start.hxa"] = io::EncodeBoardFile(saved);
    f.files.addProgramFile("a.hxq", {});
    f.start("/data/start.hxa");
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.board().GridMax, 99);
    EXPECT_EQ(f.window.scale, 100);
    EXPECT_EQ(f.board().countLive(), 2);
    EXPECT_EQ(f.board().cell(3, 4), (engine::CellRecord{1, 255, 128, 1}));
    EXPECT_FALSE(f.board().Modified);
    EXPECT_EQ(f.window.panels[2], "セル数 = 2");
    EXPECT_EQ(f.window.patternItems.size(), 8u);
    EXPECT_EQ(f.window.patternItems.back(), "パターン登録");
}

TEST(Startup, RefusedCommandLineFileFallsBackToARandomBoard) {
    FormFixture f;
    f.files.files["/data/notes.hxa"] = {'h', 'e', 'l', 'l', 'o'};
    f.start("/data/notes.hxa");
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "このプログラムのデータではありません！");
    EXPECT_EQ(f.board().GridMax, 49);
    ASSERT_EQ(f.board().Cells.size(), 2500u);
    EXPECT_GT(f.board().countLive(), 0);
    EXPECT_EQ(f.window.scale, 50);
    EXPECT_TRUE(f.board().Modified);
}

TEST(Startup, PatternMenuHoldsBuiltinsSeparatorFilesInListingOrderAndRegistration) {
    FormFixture with, without;
    with.files.addProgramFile("b.hxq", {1});
    with.files.addProgramFile("notes.txt", {1});
    with.files.addProgramFile("a.hxq", {1});
    with.start();
    without.start();
    EXPECT_EQ(with.window.patternItems,
              (std::vector<std::string>{"r-Pentomino", "Glider", "Glider gun", "Queen bee", "Spiral", "-", "b", "a",
                                        "パターン登録"}));
    EXPECT_EQ(without.window.patternItems,
              (std::vector<std::string>{"r-Pentomino", "Glider", "Glider gun", "Queen bee", "Spiral", "-",
                                        "パターン登録"}));
}

TEST(Drawing, PanelsUseThousandsSeparatorsAndHistoryShiftsPerDrawing) {
    FormFixture f;
    f.start();
    f.clearBoard();
    for (int x = 0; x < 50; ++x)
        for (int y = 0; y < 25; ++y)
            f.setLive(x, y);
    const int32_t live = f.board().countLive();
    ASSERT_EQ(live, 1250);
    f.board().Generation = 12345;
    const int32_t before = f.board().PopulationHistory[0];
    f.form->ReDraw();
    EXPECT_EQ(f.window.panels[1], "世代 = 12,345");
    EXPECT_EQ(f.window.panels[2], "セル数 = 1,250");

    f.form->picDraw_Paint();
    EXPECT_EQ(f.board().PopulationHistory[1], live);
    EXPECT_EQ(f.board().PopulationHistory[2], before);
}

TEST(Drawing, EmptyBoardDisablesStartAndStep) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.form->ReDraw();
    EXPECT_EQ(f.window.panels[2], "セル数 = 0");
    EXPECT_FALSE(f.window.menuEnabled(Menu::ExecStart));
    EXPECT_FALSE(f.window.menuEnabled(Menu::ExecStep));
    EXPECT_FALSE(f.window.buttonEnabled("Start"));
    EXPECT_FALSE(f.window.buttonEnabled("Step"));
    for (uint32_t p : f.window.shown.pixels) ASSERT_EQ(p, 0xFF000000u);
}

TEST(RunControl, StartDisablesEditingAndStopRestoresWhatNeedsNoSelection) {
    FormFixture f;
    f.start();
    // Pretend a selection had enabled the selection-bound buttons.
    for (const auto& key : kSelectionButtons) f.window.setButtonEnabled(key, true);
    std::map<std::string, bool> duringRun;
    std::map<Menu, bool> menusDuringRun;
    f.window.onProcessEvents = [&] {
        for (auto& [key, state] : f.window.buttons) duringRun[key] = state.enabled;
        for (Menu m : {Menu::ExecStart, Menu::ExecStop, Menu::ExecStep, Menu::Pattern, Menu::FileOpen,
                       Menu::FileSave, Menu::Edit, Menu::ExecStimulate, Menu::FileExit})
            menusDuringRun[m] = f.window.menuEnabled(m);
        f.form->mnuExecStop_Click();
    };
    f.form->mnuExecStart_Click();

    for (auto& [key, enabled] : duringRun)
        EXPECT_EQ(enabled, key == "Stop" || key == "AutoStimulate") << key;
    EXPECT_FALSE(menusDuringRun[Menu::ExecStart]);
    EXPECT_TRUE(menusDuringRun[Menu::ExecStop]);
    EXPECT_FALSE(menusDuringRun[Menu::ExecStep]);
    EXPECT_FALSE(menusDuringRun[Menu::Pattern]);
    EXPECT_FALSE(menusDuringRun[Menu::FileOpen]);
    EXPECT_FALSE(menusDuringRun[Menu::FileSave]);
    EXPECT_FALSE(menusDuringRun[Menu::Edit]);
    EXPECT_TRUE(menusDuringRun[Menu::ExecStimulate]);
    EXPECT_TRUE(menusDuringRun[Menu::FileExit]);

    EXPECT_EQ(f.form->run.RunMode, 0);
    EXPECT_EQ(f.window.processEventsCount, 1);
    EXPECT_EQ(f.board().Generation, 2);
    for (const char* key : {"Start", "Step", "Random", "Clear", "Open", "Save", "Expand", "Reduction"})
        EXPECT_TRUE(f.window.buttonEnabled(key)) << key;
    EXPECT_FALSE(f.window.buttonEnabled("Stop"));
    for (const auto& key : kSelectionButtons) EXPECT_FALSE(f.window.buttonEnabled(key)) << key;
    for (Menu m : {Menu::Pattern, Menu::FileOpen, Menu::FileSave, Menu::Edit, Menu::ExecStart, Menu::ExecStep})
        EXPECT_TRUE(f.window.menuEnabled(m));
    EXPECT_FALSE(f.window.menuEnabled(Menu::ExecStop));
}

TEST(RunControl, StopAtTheSizeLimitsKeepsExpandOrReductionOff) {
    for (int32_t gridMax : {199, 9}) {
        FormFixture f;
        f.start();
        f.board().create(gridMax);
        f.setLive(1, 1);
        f.window.onProcessEvents = [&] { f.form->mnuExecStop_Click(); };
        f.form->mnuExecStart_Click();
        EXPECT_EQ(f.window.buttonEnabled("Expand"), gridMax < 199);
        EXPECT_EQ(f.window.buttonEnabled("Reduction"), gridMax > 9);
    }
}

TEST(RunControl, RunDropsTheSelection) {
    FormFixture f;
    f.start();
    f.selection() = {2, 3, 4, 5, false, true};
    f.window.focus = platform::PixelRect{1, 1, 2, 2};
    f.form->mnuExecStep_Click();
    EXPECT_EQ(f.selection().SelLeft, -1);
    EXPECT_FALSE(f.selection().FocusShown);
    EXPECT_FALSE(f.window.focus.has_value());
    EXPECT_EQ(f.form->run.RunMode, 1);
}

TEST(RunControl, ExtinctionShowsTheMessageOnceThenStops) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(10, 10);  // a lone cell dies in one generation
    f.form->ReDraw();
    f.form->mnuExecStart_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].text, "全滅しました...");
    EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(f.dialogs.messages[0].title, "Kaleidomat");
    EXPECT_EQ(f.form->run.RunMode, 0);
    EXPECT_FALSE(f.window.buttonEnabled("Start"));
    EXPECT_FALSE(f.window.buttonEnabled("Step"));
    EXPECT_FALSE(f.window.menuEnabled(Menu::ExecStart));
}

TEST(RunControl, SingleStepThatEmptiesTheBoardShowsNoMessage) {
    FormFixture f;
    f.start();
    f.clearBoard();
    f.setLive(10, 10);
    f.form->mnuExecStep_Click();
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_FALSE(f.window.buttonEnabled("Step"));
    EXPECT_EQ(f.window.processEventsCount, 0);
}

TEST(RunControl, StimulationSwitchKeepsFlagCheckAndButtonTogether) {
    FormFixture f;
    f.start();
    EXPECT_TRUE(f.window.menuChecked(Menu::ExecStimulate));
    EXPECT_TRUE(f.window.buttonPressed("AutoStimulate"));
    f.form->mnuExecStimulate_Click();
    EXPECT_FALSE(f.form->run.AutoStimulate);
    EXPECT_FALSE(f.window.menuChecked(Menu::ExecStimulate));
    EXPECT_FALSE(f.window.buttonPressed("AutoStimulate"));
    f.form->Toolbar1_ButtonClick("AutoStimulate");
    EXPECT_TRUE(f.form->run.AutoStimulate);
    EXPECT_TRUE(f.window.menuChecked(Menu::ExecStimulate));
    EXPECT_TRUE(f.window.buttonPressed("AutoStimulate"));
}

// Runs until `stop` says so, with at most `limit` generations.
void runFor(FormFixture& f, int limit, const std::function<bool()>& stop = [] { return false; }) {
    int n = 0;
    f.window.onProcessEvents = [&] {
        if (++n >= limit || stop()) f.form->mnuExecStop_Click();
    };
    f.form->mnuExecStart_Click();
    f.window.onProcessEvents = nullptr;
}

TEST(Stimulation, StillLifeGetsOneNeighbourAndGenerationRestarts) {
    FormFixture f;
    f.start();
    placeBlock(f);
    f.form->ReDraw();
    auto before = f.board().Cells;
    int32_t stimulatedAt = -1;
    int generations = 0;
    runFor(f, 30, [&] {
        ++generations;
        if (f.board().Generation == 1 && stimulatedAt < 0) stimulatedAt = generations;
        return stimulatedAt > 0;
    });
    // Ten drawings of the same population: the start-up drawing does not
    // count because it was a different board, so the tenth generation fires.
    ASSERT_GT(stimulatedAt, 0);
    EXPECT_EQ(f.board().countLive(), 5);
    EXPECT_EQ(f.board().PopulationHistory[0], 5);
    int found = 0;
    for (int x = 0; x <= 49; ++x)
        for (int y = 0; y <= 49; ++y)
            if (f.board().cell(x, y).State && !before[f.board().index(x, y)].State) {
                ++found;
                EXPECT_GE(x, 1);
                EXPECT_LE(x, 48);
                EXPECT_GE(y, 1);
                EXPECT_LE(y, 48);
                EXPECT_LE(std::abs(x - 20.5), 2);
                EXPECT_LE(std::abs(y - 20.5), 2);
                const auto& c = f.board().cell(x, y);
                EXPECT_EQ(c.State, 1);
                if (c.Red <= 128 && c.Green <= 128) {
                    EXPECT_GE(c.Blue, 128);
                }
            }
    EXPECT_EQ(found, 1);
}

TEST(Stimulation, SwitchedOffLeavesAStillLifeAlone) {
    FormFixture f;
    f.start();
    f.form->mnuExecStimulate_Click();
    placeBlock(f);
    f.form->ReDraw();
    runFor(f, 40);
    EXPECT_EQ(f.board().countLive(), 4);
    EXPECT_EQ(f.board().Generation, 41);
}

TEST(Stimulation, PeriodTwoFiresAndPeriodThreeNever) {
    // Population sequences written straight into the history.
    struct Case {
        std::array<int32_t, 10> history;
        bool fires;
    };
    const Case cases[] = {
        {{7, 9, 7, 9, 7, 9, 7, 9, 7, 9}, true},
        {{5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, true},
        {{4, 5, 6, 4, 5, 6, 4, 5, 6, 4}, false},
        {{7, 9, 7, 9, 7, 9, 7, 9, 7, 8}, false},
    };
    for (const Case& c : cases) {
        FormFixture f;
        f.start();
        placeBlock(f);
        f.form->run.RunMode = 1;
        f.board().PopulationHistory = c.history;
        f.board().Generation = 50;
        f.form->AutoStimulation();
        EXPECT_EQ(f.board().countLive(), c.fires ? 5 : 4);
        EXPECT_EQ(f.board().Generation, c.fires ? 1 : 50);
        EXPECT_EQ(f.board().PopulationHistory[0], c.history[0] + (c.fires ? 1 : 0));
    }
}

TEST(Stimulation, RepaintsAfterASingleStepStimulateButNotAfterARunEnded) {
    FormFixture f;
    f.start();
    placeBlock(f);
    f.form->mnuExecStep_Click();
    for (int i = 0; i < 8; ++i) f.form->picDraw_Paint();
    EXPECT_EQ(f.board().countLive(), 4);
    f.form->picDraw_Paint();  // tenth drawing of 4 since the step
    EXPECT_EQ(f.board().countLive(), 5);
    EXPECT_EQ(f.board().Generation, 1);

    FormFixture g;
    g.start();
    placeBlock(g);
    g.form->mnuExecStimulate_Click();  // no stimulation during the run
    runFor(g, 3);
    g.form->mnuExecStimulate_Click();
    for (int i = 0; i < 20; ++i) g.form->picDraw_Paint();
    EXPECT_EQ(g.board().countLive(), 4);
}

TEST(Stimulation, NoCandidateEndsWithoutChange) {
    FormFixture f;
    f.start();
    f.form->mnuExecStep_Click();
    f.clearBoard();
    for (int i = 0; i < 12; ++i) f.form->picDraw_Paint();
    EXPECT_EQ(f.board().countLive(), 0);

    // Whole interior live: every interior cell is taken.
    for (int x = 1; x <= 48; ++x)
        for (int y = 1; y <= 48; ++y) f.setLive(x, y);
    const auto cells = f.board().Cells;
    for (int i = 0; i < 12; ++i) f.form->picDraw_Paint();
    EXPECT_EQ(f.board().Cells, cells);
}

TEST(StatusBar, RightClickOverTheGenerationPanelOffersReset) {
    FormFixture f;
    f.start();
    const int panel2 = f.window.panelLefts[2];
    f.form->StatusBar1_MouseButton(platform::kLeftButton, 0, 5, 3);
    f.form->StatusBar1_MouseButton(platform::kRightButton, 0, panel2, 3);
    f.form->StatusBar1_MouseButton(platform::kRightButton, 0, panel2 + 200, 3);
    EXPECT_TRUE(f.window.popups.empty());
    f.window.onPopup = [&](platform::Popup p) {
        EXPECT_EQ(p, platform::Popup::Popup1);
        f.form->menuTriggered(Menu::Popup1Reset);
    };
    f.form->StatusBar1_MouseButton(platform::kRightButton, 0, panel2 - 1, 3);
    EXPECT_EQ(f.window.popups.size(), 1u);
    EXPECT_EQ(f.window.panels[1], "世代 = 0");
    EXPECT_EQ(f.board().Generation, 0);
    f.form->mnuExecStep_Click();
    EXPECT_EQ(f.window.panels[1], "世代 = 1");
}

TEST(Shutdown, ExitDuringARunEndsTheLoopWithoutTouchingTheBoard) {
    FormFixture f;
    f.start();
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
    // Late events from the window change nothing.
    f.form->boardExposed();
    f.form->toolbarButtonClicked("Step");
}

TEST(Toolbar, EveryKeyReachesItsHandlerAndUnknownKeysDoNothing) {
    FormFixture f;
    f.start();
    // Keys whose effect shows in the fakes without other preparation.
    f.form->Toolbar1_ButtonClick("Step");
    EXPECT_EQ(f.board().Generation, 2);
    f.form->Toolbar1_ButtonClick("Stop");
    EXPECT_EQ(f.form->run.RunMode, 0);
    f.form->Toolbar1_ButtonClick("start");  // keys are case-sensitive
    f.form->Toolbar1_ButtonClick("");
    EXPECT_EQ(f.board().Generation, 2);
    f.window.onProcessEvents = [&] { f.form->Toolbar1_ButtonClick("Stop"); };
    f.form->Toolbar1_ButtonClick("Start");
    EXPECT_EQ(f.board().Generation, 3);
    EXPECT_EQ(f.form->run.RunMode, 0);
}
