// Form1 on the real Qt main window and file system (offscreen platform): mouse
// events sent to the board widget, and board files on a disk where writes can
// really fail half-way.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "app/form1.h"
#include "ui/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_main_window.h"
#include "support/fakes.h"

using platform::PixelRect;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.begin(), bytes.end());
}

struct RealForm : ::testing::Test {
    platform::qt::QtMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    platform::qt::QtFileSystem files;
    std::unique_ptr<app::Form1> form;
    QTemporaryDir dir;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        form = std::make_unique<app::Form1>(app::Form1::Services{window, dialogs, clipboard, files},
                                            app::Form1::Options{"", 99});
        window.setEvents(form.get());
        ASSERT_TRUE(form->Form_Load());
        window.show();
        QApplication::processEvents();
    }
    void TearDown() override {
        window.setEvents(nullptr);
        form.reset();
    }

    // A mouse event on the middle of cell (x, y) of the 50 x 50 board: 9.6
    // pixels a cell, inside the two-pixel border.
    void mouse(QEvent::Type type, int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const double border = platform::qt::BoardView::kBorder;
        const QPointF at(border + (x + 0.5) * 9.6, border + (y + 0.5) * 9.6);
        const bool held = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, at, window.boardView()->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          held ? Qt::LeftButton : Qt::NoButton, modifiers);
        QApplication::sendEvent(window.boardView(), &event);
    }
    std::optional<PixelRect> focus() const { return window.boardView()->focusRect(); }
};

// The drag example: up and left from (10, 10) to (5, 20).
TEST_F(RealForm, DragSelectsInOrderAndShowsTheFocusRectangle) {
    const app::Selection& s = form->selection;
    auto box = [&] { return std::array{s.SelLeft, s.SelTop, s.SelRight, s.SelBottom}; };
    mouse(QEvent::MouseButtonPress, 10, 10);
    EXPECT_TRUE(s.Selecting);
    EXPECT_EQ(focus(), (PixelRect{96, 96, 106, 106}));  // 480 pixels for 50 cells: 9.6 a cell
    mouse(QEvent::MouseMove, 8, 14);
    mouse(QEvent::MouseMove, 5, 20);
    EXPECT_EQ(box(), (std::array{10, 10, 5, 20}));  // the moving corner, not yet in order
    mouse(QEvent::MouseButtonRelease, 5, 20);
    EXPECT_EQ(box(), (std::array{5, 10, 10, 20}));
    EXPECT_FALSE(s.Selecting);
    // Columns 5..10 and rows 10..20: edges 48, 96, 105.6 -> 106, 201.6 -> 202.
    EXPECT_EQ(focus(), (PixelRect{48, 96, 106, 202}));
    EXPECT_TRUE(window.buttonEnabled("Cut"));
    EXPECT_EQ(window.panelText(3), "x = 5, y = 20");
    form->ReDraw();  // a drawing keeps the rectangle
    EXPECT_EQ(focus(), (PixelRect{48, 96, 106, 202}));
    form->DrawFocus();  // DrawFocus alone takes it off and flips the flag
    EXPECT_FALSE(s.FocusShown);
    EXPECT_EQ(focus(), std::nullopt);
}

// The cell alone is selected, Modified stays, and the live-cell buttons
// show the cell as it was: the release that selected it ran before the toggle.
TEST_F(RealForm, ShiftClickTogglesTheCellBothWays) {
    for (auto& c : form->board.Cells) c = {};
    form->board.cell(7, 9) = {1, 1, 2, 3};
    form->board.Modified = false;
    for (auto [x, y] : {std::pair{7, 9}, {3, 4}}) {
        const uint64_t drawn = form->random.drawn();
        mouse(QEvent::MouseButtonPress, x, y, Qt::ShiftModifier);
        mouse(QEvent::MouseButtonRelease, x, y, Qt::ShiftModifier);
        EXPECT_EQ(form->selection.SelLeft, x);
        EXPECT_EQ(form->selection.SelTop, y);
        EXPECT_EQ(form->selection.SelRight, x);
        EXPECT_EQ(form->random.drawn() - drawn, x == 3 ? 3u : 0u);  // one random colour for the new cell
        EXPECT_EQ(window.buttonEnabled("Rotate"), x == 7);
    }
    EXPECT_EQ(form->board.cell(7, 9), engine::CellRecord{});
    EXPECT_EQ(form->board.cell(3, 4).State, 1);
    EXPECT_FALSE(form->board.Modified);
    EXPECT_EQ(window.panelText(2), "セル数 = 1");  // redrawn
}

TEST_F(RealForm, SaveCutShortKeepsTheOldFileByteForByte) {
    const QString file = dir.filePath("old.hxa");
    const Bytes old = {'C', 'h', 'r', 'o', 'm', 'a', 't', 'e', 's', 's', 'e', 'l', 'l', 'a', 't', 'o', 'r', ' ',
                       'D', 'a', 't', 'a', 49, 0, 0, 0};
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(old.data()), static_cast<qint64>(old.size()));
    out.close();
    form->FileName = file.toStdString();
    dialogs.answers.push_back(platform::MessageAnswer::Yes);
    const std::string caption = window.caption();

    // Files may grow to 40 bytes only: the seeded board's file cannot be
    // written whole. (This works for root too, unlike permissions.)
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 40;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    form->SaveData();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(readAll(file), old);
    EXPECT_TRUE(form->board.Modified);
    EXPECT_EQ(window.caption(), caption);
    ASSERT_EQ(dialogs.messages.size(), 2u);  // the overwrite question, then the failure
    EXPECT_EQ(dialogs.messages[1].text.rfind(std::string(texts::kSaveFailed) + "\n" + file.toStdString() + "\n", 0),
              0u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.hxa"});  // no temporary file stays
}

}  // namespace
