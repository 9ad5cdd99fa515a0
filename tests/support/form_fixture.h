#pragma once

// Form1 over the recording fakes, started with a fixed seed.

#include <memory>
#include <string>

#include "app/form1.h"
#include "support/fakes.h"

struct FormFixture {
    fakes::FakeMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    fakes::FakeFileSystem files;
    std::unique_ptr<app::Form1> form;
    bool loaded = false;

    // Creates Form1 and runs its start-up; the fakes can be prepared first.
    app::Form1& start(const std::string& commandLine = "", uint64_t seed = 12345) {
        form = std::make_unique<app::Form1>(app::Form1::Services{window, dialogs, clipboard, files},
                                            app::Form1::Options{commandLine, seed});
        window.setEvents(form.get());
        loaded = form->Form_Load();
        return *form;
    }

    engine::Board& board() { return form->board; }
    app::Selection& selection() { return form->selection; }

    // Empties the board without drawing.
    void clearBoard() {
        for (auto& c : form->board.Cells) c = {};
    }
    void setLive(int x, int y, int r = 10, int g = 20, int b = 30) { form->board.cell(x, y) = {1, r, g, b}; }
};
