// SPDX-License-Identifier: MIT
// Files dropped onto the window: the controller's decision over the fakes (the save
// question, refusal of a foreign file and during a run, the first of several
// files), and the real Qt window's drag and drop events (offscreen).

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include "ui/texts.h"
#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "support/controller_fixture.h"

using platform::Menu;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using Bytes = std::vector<uint8_t>;

namespace {

void addFiles(fakes::FakeFileSystem& files) {
    files.files["/d/a.hxa"] = boardFile(19, {{2, 3}});
    files.files["/d/b.hxa"] = boardFile(29, {{2, 3}});
    const std::string pattern = "Chromatessellator PatternData";
    Bytes patternFile(pattern.begin(), pattern.end());
    patternFile.insert(patternFile.end(), {1, 0, 1, 0, 1, 9, 9, 9});
    files.files["/d/p.hxq"] = patternFile;
}

// A dropped file opens like the Open command without its dialog: the save
// question first for a changed board (Yes saves before the load), the first
// of several files, a foreign file refused; nothing dropped does nothing.
TEST(DroppedFiles, OpenLikeTheOpenCommand) {
    const std::tuple<std::vector<std::string>, MessageAnswer, std::string, const char*> cases[] = {
        {{"/d/a.hxa", "/d/b.hxa"}, MessageAnswer::No, "/d/a.hxa", nullptr},
        {{"/d/b.hxa"}, MessageAnswer::Yes, "/d/b.hxa", nullptr},  // the save dialog is cancelled
        {{"/d/p.hxq"}, MessageAnswer::No, "", texts::kNotOurData},
        {{}, MessageAnswer::Yes, "", nullptr},
    };
    for (const auto& [dropped, answer, loaded, refusal] : cases) {
        SCOPED_TRACE(dropped.empty() ? "nothing" : dropped[0]);
        ControllerFixture f;
        addFiles(f.files);
        f.start();
        f.dialogs.answers.push_back(answer);
        const std::vector<engine::CellRecord> before = f.board().Cells;
        ASSERT_TRUE(f.window.events->canDropFiles());
        f.window.events->filesDropped(dropped);

        const auto& shown = f.dialogs.messages;
        ASSERT_EQ(shown.size(), size_t{!dropped.empty()} + (refusal != nullptr));
        if (!dropped.empty())
            expectMessage(shown[0], texts::kSaveChanges, MessageIcon::Question, MessageButtons::YesNo,
                          MessageAnswer::Yes);
        if (refusal) expectMessage(shown.back(), refusal, MessageIcon::None);
        const bool saved = answer == MessageAnswer::Yes && !dropped.empty();  // the save dialog, never the open one
        ASSERT_EQ(f.dialogs.fileDialogs.size(), size_t{saved});
        EXPECT_TRUE(!saved || !f.dialogs.fileDialogs[0].open);
        EXPECT_EQ(f.fileName(), loaded);
        if (loaded.empty()) {
            EXPECT_EQ(f.board().Cells, before);
        } else {
            EXPECT_EQ(f.window.panelText(platform::Panel::Population), "セル数 = 1");  // loaded and drawn
        }
    }
}

TEST(DroppedFiles, AreRefusedWhileOpenIsUnavailable) {
    ControllerFixture f;
    addFiles(f.files);
    f.start();
    bool dropped = false;
    f.window.onProcessEvents = [&] {
        if (dropped) return;
        dropped = true;
        EXPECT_FALSE(f.window.events->canDropFiles());
        f.window.events->filesDropped({"/d/a.hxa"});
        f.command(Menu::ExecStop);
    };
    f.command(Menu::ExecStart);
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.fileName(), "");
    EXPECT_EQ(f.board().GridMax, 49);
    EXPECT_TRUE(f.window.events->canDropFiles());  // stopped: taken again

    f.command(Menu::FileExit);
    EXPECT_FALSE(f.window.events->canDropFiles());
}

TEST(DroppedFiles, TheWindowTakesLocalFilesAsACopyAndHandsThemOn) {
    platform::qt::QtMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    fakes::FakeFileSystem files;
    addFiles(files);
    app::WindowController form(app::WindowController::Services{window, dialogs, clipboard, files}, app::WindowController::Options{"", 5});
    window.setEvents(&form);
    form.start();
    using Access = app::WindowController::TestAccess;
    Access::board(form).Modified = false;

    const QUrl a = QUrl::fromLocalFile("/d/a.hxa");
    const QUrl web("https://example.org/b.hxa");
    // Drag events go to the board, the control under the pointer; the window
    // around it takes them. Returns the action taken, IgnoreAction if refused.
    auto enter = [&](const QList<QUrl>& urls, Qt::DropActions offered) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent event(QPoint(20, 20), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.boardView(), &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    };
    EXPECT_EQ(enter({a}, Qt::CopyAction | Qt::MoveAction), Qt::CopyAction);
    EXPECT_EQ(enter({web}, Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_EQ(enter({a}, Qt::MoveAction), Qt::IgnoreAction);  // a move would delete the source
    window.setMenuEnabled(Menu::FileOpen, false);              // as during a continuous run
    EXPECT_EQ(enter({a}, Qt::CopyAction), Qt::IgnoreAction);
    window.setMenuEnabled(Menu::FileOpen, true);

    ASSERT_EQ(enter({a}, Qt::CopyAction), Qt::CopyAction);
    QMimeData data;
    data.setUrls({web, a, QUrl::fromLocalFile("/d/b.hxa")});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.boardView(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    QApplication::processEvents();  // the load runs once the drop has returned
    EXPECT_EQ(Access::FileName(form), "/d/a.hxa");
    EXPECT_EQ(Access::board(form).GridMax, 19);
    EXPECT_TRUE(dialogs.messages.empty());  // an unchanged board: no save question

    // The window shows the program's icon, in the desktop's sizes.
    EXPECT_TRUE(window.widget()->windowIcon().availableSizes().contains(QSize(256, 256)));
    window.setEvents(nullptr);
}

}  // namespace
