// SPDX-License-Identifier: MIT
#pragma once

// The window's controller over the recording fakes, started with a fixed
// seed, and the small helpers its tests share.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "app/window_controller.h"
#include "io/formats.h"
#include "support/fakes.h"
#include "support/controller_access.h"

using platform::Button;
using platform::Menu;
using platform::MouseButton;
inline constexpr platform::Modifiers kShift{true};
using app::RunMode;
using SelectionBox = std::array<int32_t, 4>;  // left, top, right, bottom

// A board file of the board 0..gridMax with live cells (x, y) coloured (x + 1, y + 1, 7).
inline std::vector<uint8_t> boardFile(int32_t gridMax, const std::vector<std::pair<int, int>>& live = {}) {
    engine::Board board;
    board.create(gridMax);
    for (auto [x, y] : live) board.cell(x, y) = {1, x + 1, y + 1, 7};
    return io::EncodeBoardFile(board);
}

struct ControllerFixture {
    fakes::FakeMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    fakes::FakeFileSystem files;
    fakes::FakeUserFiles userFiles;
    fakes::FakeSettings settings;
    platform::GraphWindow* graph = nullptr;  // none unless a test gives one
    platform::Translator* translator = nullptr;  // none: Japanese only
    std::optional<platform::Language> language;  // as --lang gives it
    std::unique_ptr<app::WindowController> controller;

    // Creates the controller without starting it: its commands can be added to.
    app::WindowController& create(const std::string& commandLine = "", uint64_t seed = 12345) {
        controller = std::make_unique<app::WindowController>(
            app::WindowController::Services{window, dialogs, clipboard, files, &userFiles, &settings, graph, translator},
            app::WindowController::Options{commandLine, seed, language});
        // One generation a slice, so that a test sees every generation of a run.
        controller->setSliceLimit(1);
        window.setEvents(controller.get());
        return *controller;
    }
    // Creates the controller (unless created already) and starts it; the
    // fakes can be prepared first.
    app::WindowController& start(const std::string& commandLine = "", uint64_t seed = 12345) {
        if (!controller) create(commandLine, seed);
        return controller->start(), window.runScheduled(), *controller;
    }
    // A command, as the window gives it.
    void command(platform::Menu item) { window.events->menuTriggered(item); }

    // The controller's state.
    using Access = app::WindowController::TestAccess;
    engine::Board& board() { return Access::board(*controller); }
    app::Selection& selection() { return Access::selection(*controller); }
    app::RunState& run() { return Access::run(*controller); }
    std::string& fileName() { return Access::FileName(*controller); }
    engine::RandomSequence& random() { return Access::random(*controller); }
    app::Session& session() { return Access::session(*controller); }
    const platform::PixelImage& picBuffer() { return Access::picBuffer(*controller); }
    SelectionBox box() {
        const app::Selection& s = selection();
        return {s.SelLeft, s.SelTop, s.SelRight, s.SelBottom};
    }

    // Empties the board without drawing.
    void clearBoard() {
        for (auto& c : board().Cells) c = {};
    }
    void setLive(int x, int y, int r = 10, int g = 20, int b = 30) { board().cell(x, y) = {1, r, g, b}; }

    // Mouse events over a cell, or beyond the board's edge (offBoard), as
    // the window reports them.
    static platform::PointedCell at(int x, int y) { return {x, y, true}; }
    static constexpr platform::PointedCell offBoard{};
    void down(platform::PointedCell c, MouseButton button = MouseButton::Left, platform::Modifiers keys = {}) {
        window.events->boardMouseDown({button, keys, c});
    }
    void move(platform::PointedCell c, MouseButton button = MouseButton::Left, platform::Modifiers keys = {}) {
        window.events->boardMouseMove({button, keys, c});
    }
    void up(platform::PointedCell c, MouseButton button = MouseButton::Left, platform::Modifiers keys = {}) {
        window.events->boardMouseUp({button, keys, c});
    }
    // A left drag from one cell to another.
    void drag(int x0, int y0, int x1, int y1) {
        down(at(x0, y0));
        move(at(x1, y1));
        up(at(x1, y1));
    }
    void click(int x, int y, MouseButton button = MouseButton::Left, platform::Modifiers keys = {}) {
        down(at(x, y), button, keys);
        up(at(x, y), button, keys);
    }
    void press(platform::Button button) { window.events->toolbarButtonClicked(button); }
};

// A test whose controller has started without a command line, with the fixed seed.
struct Started : ::testing::Test {
    ControllerFixture f;
    void SetUp() override { f.start(); }
};

// A message box with its text, icon, buttons and default, titled with the
// program's name.
inline void expectMessage(const fakes::ShownMessage& m, const std::string& text, platform::MessageIcon icon,
                          platform::MessageButtons buttons = platform::MessageButtons::Ok,
                          platform::MessageAnswer defaultButton = platform::MessageAnswer::Ok) {
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.title, "Kaleidomat");
    EXPECT_EQ(m.icon, icon);
    EXPECT_EQ(m.buttons, buttons);
    EXPECT_EQ(m.defaultButton, defaultButton);
}

// The one message box shown, as above.
inline void expectOnlyMessage(const std::vector<fakes::ShownMessage>& shown, const std::string& text,
                              platform::MessageIcon icon, platform::MessageButtons buttons = platform::MessageButtons::Ok,
                              platform::MessageAnswer defaultButton = platform::MessageAnswer::Ok) {
    ASSERT_EQ(shown.size(), 1u);
    expectMessage(shown[0], text, icon, buttons, defaultButton);
}
