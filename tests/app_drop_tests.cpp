// Files dropped onto the window: Form1's decision over the fakes (the save
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
#include "support/form_fixture.h"

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

TEST(DroppedFiles, OpenLikeTheOpenCommand) {
    struct Case {
        const char* name;
        bool modified;
        MessageAnswer answer;  // to the save question
        std::vector<std::string> dropped;
        bool asked;            // the save question came first
        bool saveDialog;       // Yes: the save dialog (cancelled here)
        std::string loaded;    // "" when the board stays as it was
        const char* refusal;   // the message after the question, if any
    };
    const Case cases[] = {
        {"unchanged: no question; first of several", false, MessageAnswer::No, {"/d/a.hxa", "/d/b.hxa"}, false, false,
         "/d/a.hxa", nullptr},
        {"changed, No: loads without saving", true, MessageAnswer::No, {"/d/a.hxa"}, true, false, "/d/a.hxa", nullptr},
        {"changed, Yes: the save goes first, the load follows", true, MessageAnswer::Yes, {"/d/b.hxa"}, true, true,
         "/d/b.hxa", nullptr},
        {"a foreign file is refused", true, MessageAnswer::No, {"/d/p.hxq"}, true, false, "", texts::kNotOurData},
        {"nothing dropped", true, MessageAnswer::Yes, {}, false, false, "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFixture f;
        addFiles(f.files);
        f.start();
        f.board().Modified = c.modified;
        f.dialogs.answers.push_back(c.answer);
        const std::vector<engine::CellRecord> before = f.board().Cells;

        ASSERT_TRUE(f.window.events->canDropFiles());
        f.window.events->filesDropped(c.dropped);

        const auto& shown = f.dialogs.messages;
        ASSERT_EQ(shown.size(), size_t{c.asked} + (c.refusal != nullptr));
        if (c.asked)
            expectMessage(shown[0], texts::kSaveChanges, MessageIcon::Question, MessageButtons::YesNo,
                          MessageAnswer::Yes);
        if (c.refusal) expectMessage(shown.back(), c.refusal, MessageIcon::None);
        // Never the open dialog: the dropped file is the one to open.
        ASSERT_EQ(f.dialogs.fileDialogs.size(), size_t{c.saveDialog});
        if (c.saveDialog) {
            EXPECT_FALSE(f.dialogs.fileDialogs[0].open);
        }
        EXPECT_EQ(f.form->FileName, c.loaded);
        if (c.loaded.empty()) {
            EXPECT_EQ(f.board().Cells, before);
        } else {
            EXPECT_FALSE(f.board().Modified);
            EXPECT_EQ(f.window.panelText(2), "セル数 = 1");  // loaded and drawn
        }
    }
}

TEST(DroppedFiles, AreRefusedWhileOpenIsUnavailable) {
    FormFixture f;
    addFiles(f.files);
    f.start();
    bool dropped = false;
    f.window.onProcessEvents = [&] {
        if (dropped) return;
        dropped = true;
        EXPECT_FALSE(f.window.events->canDropFiles());
        f.window.events->filesDropped({"/d/a.hxa"});
        f.form->mnuExecStop_Click();
    };
    f.form->mnuExecStart_Click();
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.form->FileName, "");
    EXPECT_EQ(f.board().GridMax, 49);
    EXPECT_TRUE(f.window.events->canDropFiles());  // stopped: taken again

    f.form->mnuFileExit_Click();
    EXPECT_FALSE(f.window.events->canDropFiles());
}

TEST(DroppedFiles, TheWindowTakesLocalFilesAsACopyAndHandsThemOn) {
    platform::qt::QtMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    fakes::FakeFileSystem files;
    addFiles(files);
    app::Form1 form(app::Form1::Services{window, dialogs, clipboard, files}, app::Form1::Options{"", 5});
    window.setEvents(&form);
    ASSERT_TRUE(form.Form_Load());
    form.board.Modified = false;

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
    EXPECT_EQ(form.FileName, "/d/a.hxa");
    EXPECT_EQ(form.board.GridMax, 19);

    // The window shows the program's icon, in the desktop's sizes.
    EXPECT_TRUE(window.widget()->windowIcon().availableSizes().contains(QSize(256, 256)));
    window.setEvents(nullptr);
}

}  // namespace
