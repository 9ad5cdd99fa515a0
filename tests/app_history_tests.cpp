// SPDX-License-Identifier: MIT
// Undo and redo of every kind of change, the undo list's memory bound, and
// going back and forward through the generations of steps and runs.

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/undo_history.h"
#include "support/form_fixture.h"

namespace {

using platform::Menu;

// Everything undo must put back, and the random sequence's position (which
// undo leaves alone, but a generation gone back to must restore).
struct Snapshot {
    engine::Board board;
    SelectionBox box;
    bool focusShown;
    std::string fileName;
    std::string caption;
    engine::RandomSequence::Position random;
};

Snapshot take(FormFixture& f) {
    return {f.board(), f.box(), f.selection().FocusShown, f.fileName(), f.window.caption(), f.random().position()};
}

// Field by field, so a failure names what differs.
void expectSame(const Snapshot& a, const Snapshot& b, bool withRandom, const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(a.board.GridMax, b.board.GridMax);
    EXPECT_TRUE(a.board.Cells == b.board.Cells);
    EXPECT_EQ(a.board.Generation, b.board.Generation);
    EXPECT_EQ(a.board.PopulationHistory, b.board.PopulationHistory);
    EXPECT_EQ(a.board.Modified, b.board.Modified);
    EXPECT_EQ(a.box, b.box);
    EXPECT_EQ(a.focusShown, b.focusShown);
    EXPECT_EQ(a.fileName, b.fileName);
    EXPECT_EQ(a.caption, b.caption);
    if (withRandom) {
        EXPECT_EQ(a.random, b.random);
    }
}

void command(FormFixture& f, Menu item) { f.window.events->menuTriggered(item); }

bool enabled(FormFixture& f, Menu item) { return f.window.menuEnabled(item); }

// A board with a few live cells and a selection around some of them.
void prepare(FormFixture& f) {
    f.clearBoard();
    for (auto [x, y] : {std::pair{3, 3}, {4, 3}, {5, 3}, {5, 2}, {4, 1}, {20, 20}, {21, 20}, {48, 47}})
        f.setLive(x, y, 10 * x, 5 * y, 77);
    f.form->ReDraw();
    f.drag(2, 1, 6, 4);
}

struct Change {
    const char* name;
    std::function<void(FormFixture&)> make;
    std::function<void(FormFixture&)> setup = [](FormFixture&) {};
};

const Change kChanges[] = {
    {"shift+click", [](FormFixture& f) { f.click(30, 30, platform::kLeftButton, platform::kShiftKey); }},
    {"stamped pattern", [](FormFixture& f) { f.window.events->patternItemTriggered(2); }},
    {"cut", [](FormFixture& f) { command(f, Menu::EditCut); }},
    {"paste", [](FormFixture& f) { command(f, Menu::EditPaste); },
     [](FormFixture& f) {
         command(f, Menu::EditCopy);
         f.click(30, 30);
     }},
    {"clear", [](FormFixture& f) { command(f, Menu::PatternClear); }},
    {"random", [](FormFixture& f) { command(f, Menu::PatternRandom); }},
    {"colour",
     [](FormFixture& f) {
         f.dialogs.colorAnswers.push_back(0x00123456);
         command(f, Menu::PatternColor);
     }},
    {"mirror left-right", [](FormFixture& f) { command(f, Menu::PatternReverseRL); }},
    {"mirror top-bottom", [](FormFixture& f) { command(f, Menu::PatternReverseTB); }},
    {"rotate", [](FormFixture& f) { command(f, Menu::PatternRotate); }},
    {"expand", [](FormFixture& f) { command(f, Menu::PatternExpand); }},
    {"reduce", [](FormFixture& f) { command(f, Menu::PatternReduction); }},
    {"open",
     [](FormFixture& f) {
         f.files.files["/home/user/b.hxa"] = boardFile(19, {{1, 1}, {2, 2}});
         f.dialogs.filePaths.push_back("/home/user/b.hxa");
         command(f, Menu::FileOpen);
     }},
    {"drop",
     [](FormFixture& f) {
         f.files.files["/home/user/d.hxa"] = boardFile(29, {{5, 5}});
         f.window.events->filesDropped({"/home/user/d.hxa"});
     }},
    {"step", [](FormFixture& f) { command(f, Menu::ExecStep); }},
    {"run stopped",
     [](FormFixture& f) {
         f.window.onProcessEvents = [&f] {
             if (f.window.processEventsCount == 5) f.press(Button::Stop);
         };
         command(f, Menu::ExecStart);
     }},
    {"run to extinction",
     [](FormFixture& f) {
         command(f, Menu::PatternClear);
         f.click(10, 10, platform::kLeftButton, platform::kShiftKey);
         command(f, Menu::ExecStart);
     }},
};

// Each kind of change is one step: undo gives back the state before it
// exactly, redo the state after it, and the enabling follows.
TEST(UndoRedo, EveryKindOfChangeIsUndoneAndRedoneExactly) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        FormFixture f;
        f.start();
        prepare(f);
        change.setup(f);
        const bool twoSteps = std::string(change.name) == "run to extinction";  // a clear and a click first
        const Snapshot before = take(f);
        change.make(f);
        const Snapshot after = take(f);
        ASSERT_TRUE(enabled(f, Menu::EditUndo));
        EXPECT_FALSE(enabled(f, Menu::EditRedo));
        for (int i = 0; i < (twoSteps ? 3 : 1); ++i) command(f, Menu::EditUndo);
        expectSame(take(f), before, false, "undone");
        EXPECT_TRUE(enabled(f, Menu::EditRedo));
        for (int i = 0; i < (twoSteps ? 3 : 1); ++i) command(f, Menu::EditRedo);
        expectSame(take(f), after, false, "redone");
        EXPECT_FALSE(enabled(f, Menu::EditRedo));
        // The picture shows the board put back: a full drawing is the same.
        const platform::PixelImage shown = f.window.shown;
        f.form->ForgetDrawing();
        f.form->ShowBoard();
        EXPECT_TRUE(f.window.shown.pixels == shown.pixels);
    }
}

// The board file of the command line is undone to an empty board, and a new
// change after an undo drops what could have been redone.
TEST(UndoRedo, StartUpFileAndNewChangesAfterUndo) {
    FormFixture f;
    f.files.files["/home/user/s.hxa"] = boardFile(29, {{4, 4}});
    f.start("/home/user/s.hxa");
    const Snapshot opened = take(f);
    command(f, Menu::EditUndo);
    EXPECT_EQ(f.board().GridMax, 49);
    EXPECT_EQ(f.board().countLive(), 0);
    EXPECT_EQ(f.fileName(), "");
    EXPECT_FALSE(enabled(f, Menu::EditUndo));
    command(f, Menu::EditRedo);
    expectSame(take(f), opened, false, "file again");

    command(f, Menu::EditUndo);
    command(f, Menu::PatternRandom);
    EXPECT_FALSE(enabled(f, Menu::EditRedo));
    command(f, Menu::EditRedo);  // nothing to redo: the key does nothing
    EXPECT_EQ(f.fileName(), "");
}

// Undo, redo and back are off during a run, whatever there is to undo.
TEST(UndoRedo, NothingOfTheHistoryDuringARun) {
    FormFixture f;
    f.start();
    EXPECT_FALSE(enabled(f, Menu::EditUndo) || enabled(f, Menu::EditRedo) || enabled(f, Menu::ExecBack));
    command(f, Menu::PatternRandom);
    command(f, Menu::EditUndo);
    command(f, Menu::ExecStep);
    command(f, Menu::ExecStep);
    ASSERT_TRUE(enabled(f, Menu::ExecBack));
    std::vector<bool> during;
    f.window.onProcessEvents = [&] {
        during = {enabled(f, Menu::EditUndo), enabled(f, Menu::EditRedo), enabled(f, Menu::ExecBack)};
        const Snapshot now = take(f);
        command(f, Menu::EditUndo);  // a key pressed during the run does nothing
        command(f, Menu::ExecBack);
        expectSame(take(f), now, true, "keys during the run");
        f.press(Button::Stop);
    };
    command(f, Menu::ExecStart);
    EXPECT_EQ(during, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(enabled(f, Menu::EditUndo));
    EXPECT_TRUE(enabled(f, Menu::ExecBack));
    command(f, Menu::EditUndo);  // undoing a run ends its generation line
    EXPECT_FALSE(enabled(f, Menu::ExecBack));
}

// The oldest steps go first, so at least 100 of the largest boards are kept
// and the list never holds more than 64 MiB.
TEST(UndoRedo, TheListKeepsItsMemoryBound) {
    app::UndoHistory history;
    std::mt19937 rng(7);
    engine::Board board;
    board.create(engine::kMaxGridMax);
    for (auto& c : board.Cells) c = {int(rng() & 1), int(rng() & 255), int(rng() & 255), int(rng() & 255)};
    std::size_t changed = 0;
    auto image = [&] {  // a full board, different each time
        board.Cells[changed++].Blue ^= 1;
        app::EditorState s;
        s.board = app::BoardImage::capture(board);
        return s;
    };
    for (int i = 0; i < 300; ++i) {
        history.push(image(), image());
        ASSERT_LE(history.bytes(), app::UndoHistory::kByteLimit);
    }
    EXPECT_GE(history.steps(), 100u);
    EXPECT_LT(history.steps(), 300u);
    std::size_t undone = 0;
    while (history.canUndo()) history.undo(), ++undone;
    EXPECT_EQ(undone, history.steps());
}

// A generation line with everything that changes later generations: the
// switch toggled, the counter reset, repaints that stimulate after a step.
// Back N and forward N pass the very same states; back to the start is the
// board before the first step.
TEST(GenerationBack, BackAndForwardPassTheSameBoards) {
    for (uint64_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        FormFixture f;
        f.start("", seed);
        f.board().create(seed == 1 ? 9 : 19);  // small boards settle soon, so stimulation fires
        command(f, Menu::PatternRandom);
        std::vector<Snapshot> line{take(f)};
        std::mt19937 events(static_cast<unsigned>(seed));
        for (int i = 0; i < 120; ++i) {
            command(f, Menu::ExecStep);
            const unsigned e = events() % 8;
            if (e == 0) command(f, Menu::ExecStimulate);
            if (e == 1) f.form->mnuPopup1Reset_Click();
            if (e >= 2 && e <= 4) f.window.events->boardExposed();
            line.push_back(take(f));
        }
        const Snapshot end = line.back();
        for (int i = 119; i >= 0; --i) {
            ASSERT_TRUE(enabled(f, Menu::ExecBack));
            command(f, Menu::ExecBack);
            f.window.events->boardExposed();  // a repaint while looking back changes nothing
            expectSame(take(f), line[i], true, "back to " + std::to_string(i));
        }
        EXPECT_FALSE(enabled(f, Menu::ExecBack));
        for (int i = 1; i <= 120; ++i) command(f, Menu::ExecStep);
        expectSame(take(f), end, true, "forward again");
        // Going forward was no change: the undo list still ends with the last step.
        command(f, Menu::EditUndo);
        expectSame(take(f), line[119], false, "last step undone");
    }
}

// A continuous run with stimulation firing, the switch toggled and repaints
// in its yields goes back to the board before it and forward to its end.
TEST(GenerationBack, ARunGoesBackToItsStart) {
    FormFixture f;
    f.start("", 99);
    f.board().create(19);
    // A block and a blinker: the population settles at once, so the run is
    // stimulated again and again.
    for (auto [x, y] : {std::pair{4, 4}, {5, 4}, {4, 5}, {5, 5}, {12, 11}, {12, 12}, {12, 13}}) f.setLive(x, y);
    f.form->ReDraw();
    const Snapshot start = take(f);
    int stimulated = 0;
    f.window.onProcessEvents = [&] {
        const int n = f.window.processEventsCount;
        if (f.board().Generation == 1 && n > 1) ++stimulated;
        if (n % 37 == 0) command(f, Menu::ExecStimulate);
        if (n % 5 == 0) f.window.events->boardExposed();
        if (n == 600) f.press(Button::Stop);
    };
    command(f, Menu::ExecStart);
    f.window.onProcessEvents = nullptr;
    EXPECT_GT(stimulated, 0);
    const Snapshot end = take(f);
    const int generations = f.window.processEventsCount;
    for (int i = 0; i < generations; ++i) command(f, Menu::ExecBack);
    expectSame(take(f), start, true, "start");
    EXPECT_FALSE(enabled(f, Menu::ExecBack));
    for (int i = 0; i < generations; ++i) command(f, Menu::ExecStep);
    expectSame(take(f), end, true, "end");
    // A step from a generation gone back to leaves the later ones behind.
    command(f, Menu::ExecBack);
    command(f, Menu::ExecBack);
    command(f, Menu::PatternRandom);
    command(f, Menu::ExecStep);
    command(f, Menu::ExecBack);
    EXPECT_FALSE(enabled(f, Menu::ExecBack));
}

}  // namespace
