// SPDX-License-Identifier: MIT
// Undo and redo of every kind of change, the undo list's memory bound, and
// going back and forward through the generations of steps and runs.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/undo_history.h"
#include "support/controller_fixture.h"

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
    std::optional<engine::Lineage> lineage;
};

Snapshot take(ControllerFixture& f) {
    const engine::Lineage* lineage = f.session().lineage();
    return {f.board(),          f.box(),
            f.selection().FocusShown, f.fileName(),
            f.window.caption(), f.random().position(),
            lineage ? std::optional<engine::Lineage>(*lineage) : std::nullopt};
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
    EXPECT_TRUE(a.lineage == b.lineage);
}

void command(ControllerFixture& f, Menu item) { f.window.events->menuTriggered(item); }

bool enabled(ControllerFixture& f, Menu item) { return f.window.menuEnabled(item); }

// A board with a few live cells and a selection around some of them; a
// board file to open.
void prepare(ControllerFixture& f) {
    f.clearBoard();
    for (auto [x, y] : {std::pair{3, 3}, {4, 3}, {5, 3}, {5, 2}, {4, 1}, {20, 20}, {21, 20}, {48, 47}})
        f.setLive(x, y, 10 * x, 5 * y, 77);
    f.controller->ReDraw();
    f.drag(2, 1, 6, 4);
    f.files.files["/home/user/b.hxa"] = boardFile(19, {{1, 1}, {2, 2}});
}

struct Change {
    const char* name;
    std::function<void(ControllerFixture&)> make;
    std::function<void(ControllerFixture&)> setup = [](ControllerFixture&) {};
};

const Change kChanges[] = {
    {"shift+click", [](ControllerFixture& f) { f.click(30, 30, MouseButton::Left, kShift); }},
    {"stamped pattern", [](ControllerFixture& f) { f.window.events->patternItemTriggered(2); }},
    {"cut", [](ControllerFixture& f) { command(f, Menu::EditCut); }},
    {"paste", [](ControllerFixture& f) { command(f, Menu::EditPaste); },
     [](ControllerFixture& f) { command(f, Menu::EditCopy), f.click(30, 30); }},
    {"clear", [](ControllerFixture& f) { command(f, Menu::PatternClear); }},
    {"random", [](ControllerFixture& f) { command(f, Menu::PatternRandom); }},
    {"colour", [](ControllerFixture& f) { command(f, Menu::PatternColor); },
     [](ControllerFixture& f) { f.dialogs.colorAnswers.push_back(platform::RgbColour{0x56, 0x34, 0x12}); }},
    {"mirror left-right", [](ControllerFixture& f) { command(f, Menu::PatternReverseRL); }},
    {"mirror top-bottom", [](ControllerFixture& f) { command(f, Menu::PatternReverseTB); }},
    {"rotate", [](ControllerFixture& f) { command(f, Menu::PatternRotate); }},
    {"expand", [](ControllerFixture& f) { command(f, Menu::PatternExpand); }},
    {"reduce", [](ControllerFixture& f) { command(f, Menu::PatternReduction); }},
    {"open", [](ControllerFixture& f) { command(f, Menu::FileOpen); },
     [](ControllerFixture& f) { f.dialogs.filePaths.push_back("/home/user/b.hxa"); }},
    {"drop", [](ControllerFixture& f) { f.window.events->filesDropped({"/home/user/b.hxa"}); }},
    {"step", [](ControllerFixture& f) { command(f, Menu::ExecStep); }},
    {"run stopped", [](ControllerFixture& f) { command(f, Menu::ExecStart); },
     [](ControllerFixture& f) { f.window.onProcessEvents = [&f] { f.press(Button::Stop); }; }},
    {"run to extinction", [](ControllerFixture& f) { command(f, Menu::ExecStart); },
     [](ControllerFixture& f) { f.clearBoard(), f.click(10, 10, MouseButton::Left, kShift); }},
};

// Each kind of change is one step: undo gives back the state before it
// exactly, redo the state after it, and the enabling follows.
TEST(UndoRedo, EveryKindOfChangeIsUndoneAndRedoneExactly) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        ControllerFixture f;
        f.start();
        prepare(f);
        change.setup(f);
        const Snapshot before = take(f);
        change.make(f);
        const Snapshot after = take(f);
        ASSERT_TRUE(enabled(f, Menu::EditUndo));
        EXPECT_FALSE(enabled(f, Menu::EditRedo));
        command(f, Menu::EditUndo);
        expectSame(take(f), before, false, "undone");
        EXPECT_TRUE(enabled(f, Menu::EditRedo));
        command(f, Menu::EditRedo);
        expectSame(take(f), after, false, "redone");
        EXPECT_FALSE(enabled(f, Menu::EditRedo));
        // The picture shows the board put back: a full drawing is the same.
        const platform::PixelImage shown = f.window.shown;
        f.controller->ForgetDrawing();
        f.controller->ShowBoard();
        EXPECT_TRUE(f.window.shown.pixels == shown.pixels);
    }
}

// The board file of the command line is undone to an empty board; a new
// change after an undo drops what could have been redone; nothing of the
// history can be used during a run, and undoing a run ends its generations.
TEST(UndoRedo, StartUpFileNewChangesAndRuns) {
    ControllerFixture f;
    f.files.files["/home/user/s.hxa"] = boardFile(29, {{4, 4}});
    f.start("/home/user/s.hxa");
    command(f, Menu::EditUndo);
    EXPECT_EQ(f.board().GridMax, 49);
    EXPECT_EQ(f.board().countLive(), 0);
    EXPECT_EQ(f.fileName(), "");
    EXPECT_FALSE(enabled(f, Menu::EditUndo) || enabled(f, Menu::ExecBack));
    command(f, Menu::PatternRandom);
    EXPECT_FALSE(enabled(f, Menu::EditRedo));
    std::vector<bool> during;
    f.window.onProcessEvents = [&] {
        during = {enabled(f, Menu::EditUndo), enabled(f, Menu::EditRedo), enabled(f, Menu::ExecBack)};
        f.press(Button::Stop);
    };
    command(f, Menu::ExecStart);
    EXPECT_EQ(during, (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(enabled(f, Menu::EditUndo) && enabled(f, Menu::ExecBack));
    command(f, Menu::EditUndo);
    EXPECT_FALSE(enabled(f, Menu::ExecBack));
}

// The oldest steps go first, so at least 100 of the largest boards are kept
// and the list never holds more than 64 MiB.
TEST(UndoRedo, TheListKeepsItsMemoryBound) {
    app::UndoHistory history;
    std::mt19937 rng(7);
    engine::Board board;
    board.create(199);  // the largest board 拡大 makes
    for (auto& c : board.Cells) c = {int(rng() & 1), int(rng() & 255), int(rng() & 255), int(rng() & 255)};
    std::size_t changed = 0;
    auto image = [&] {  // a full board, different each time
        board.Cells[changed++].Blue ^= 1;
        app::EditorState s;
        s.board = app::BoardImage::capture(board);
        return s;
    };
    for (int i = 0; i < 300; ++i) history.push(image(), image());
    EXPECT_LE(history.bytes(), app::UndoHistory::kByteLimit);
    EXPECT_GE(history.steps(), 100u);
    EXPECT_LT(history.steps(), 300u);
    std::size_t undone = 0;
    while (history.canUndo()) history.undo(), ++undone;
    EXPECT_EQ(undone, history.steps());
}

// Generation lines with everything that changes later generations: the
// switch toggled, the counter reset and repaints (which stimulate after a
// step) between single steps or in the yields of a continuous run that is
// stimulated again and again. Going back passes the very same states down to
// the board before the first generation, forward again ends on the last one;
// neither is an undo step.
// With lineage on, every state's lineage comes back with it too.
TEST(GenerationBack, BackAndForwardPassTheSameStates) {
    int stimulated = 0;
    for (uint64_t way : {0u, 1u, 2u, 3u, 4u, 5u}) {  // 3 and 5: a run; 4 and 5: with lineage
        SCOPED_TRACE(way);
        const bool run = way == 3 || way == 5;
        ControllerFixture f;
        f.start("", way);
        f.board().create(way == 0 ? 9 : 19);
        command(f, Menu::PatternRandom);
        if (run) {  // a block and a blinker: settled at once
            f.clearBoard();
            for (auto [x, y] : {std::pair{4, 4}, {5, 4}, {4, 5}, {5, 5}, {12, 11}, {12, 12}, {12, 13}}) f.setLive(x, y);
            f.controller->ReDraw();
        }
        if (way >= 4) f.session().needLineage(true);
        std::vector<Snapshot> line{take(f)};
        std::mt19937 events(static_cast<unsigned>(way));
        auto between = [&] {
            const unsigned e = events() % 8;
            if (e == 0) command(f, Menu::ExecStimulate);
            if (e == 1) f.command(Menu::Popup1Reset);
            if (e >= 2 && e <= 4) f.window.events->boardExposed();
            line.push_back(take(f));
            const auto& [now, was] = std::pair{line.back().board.Generation, line[line.size() - 2].board.Generation};
            stimulated += now == 1 && was != 0;
            if (line.size() == 400) f.press(Button::Stop);
        };
        if (run) f.window.onProcessEvents = between;
        for (int i = 0; i < (run ? 1 : 120); ++i) {
            command(f, run ? Menu::ExecStart : Menu::ExecStep);
            if (!run) between();
        }
        f.window.onProcessEvents = nullptr;
        for (std::size_t i = line.size() - 1; i-- > 0;) {
            command(f, Menu::ExecBack);
            f.window.events->boardExposed();  // a repaint while looking back changes nothing
            expectSame(take(f), line[i], true, "back to " + std::to_string(i));
        }
        EXPECT_FALSE(enabled(f, Menu::ExecBack));
        for (std::size_t i = 1; i < line.size(); ++i) command(f, Menu::ExecStep);
        expectSame(take(f), line.back(), true, "forward again");
        command(f, Menu::EditUndo);  // the last step or the run, not a move along the line
        if (run) expectSame(take(f), line.front(), false, "run undone");
        if (!run) expectSame(take(f), line[line.size() - 2], false, "last step undone");
    }
    EXPECT_GT(stimulated, 0);
}

// The session's lineage is on while anyone wants it; an edit makes edit
// founders, and undo and redo put back the very lineage of the state brought
// back (going back a generation: above; against the rule: app_lineage_tests).
TEST(LineageInTheSession, FollowsEditsUndoRedoAndItsUsers) {
    ControllerFixture f;
    f.start("", 99);
    f.board().create(19);
    command(f, Menu::PatternRandom);
    app::Session& session = f.session();
    EXPECT_EQ(session.lineage(), nullptr);
    session.needLineage(true);
    session.needLineage(true);  // a second user
    for (int i = 0; i < 30; ++i) command(f, Menu::ExecStep);
    const engine::Lineage stepped = *session.lineage();
    int x = 0;
    while (f.board().cell(x, 0).live()) ++x;
    f.click(x, 0, platform::MouseButton::Left, {.shift = true});
    const engine::Founder* edit = session.lineage()->founder(session.lineage()->founderAt(x, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->kind, engine::FounderKind::Edit);
    const engine::Lineage edited = *session.lineage();
    command(f, Menu::ExecStep);
    command(f, Menu::EditUndo);
    EXPECT_TRUE(*session.lineage() == edited);
    command(f, Menu::EditUndo);
    EXPECT_TRUE(*session.lineage() == stepped);
    command(f, Menu::EditRedo);
    EXPECT_TRUE(*session.lineage() == edited);

    command(f, Menu::PatternRandom);  // starts it afresh
    EXPECT_EQ(session.lineage()->foundersMade(), static_cast<uint64_t>(f.board().countLive()));
    session.needLineage(false);
    EXPECT_NE(session.lineage(), nullptr);
    session.needLineage(false);
    EXPECT_EQ(session.lineage(), nullptr);
}

}  // namespace
