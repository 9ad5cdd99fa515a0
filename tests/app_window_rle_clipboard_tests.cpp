// Copy and Cut on the real Qt clipboard (offscreen): the selection goes out as
// the cell block, a picture and RLE text; Paste reads the cell block only.

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

#include "app/form1.h"
#include "ui/texts.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_main_window.h"
#include "support/fakes.h"

namespace {

TEST(RleClipboard, CopyAndCutOfferRleTextBesideTheCellsAndThePicture) {
    platform::qt::QtMainWindow window;
    fakes::FakeDialogs dialogs;
    platform::qt::QtClipboard clipboard;
    platform::qt::QtFileSystem files;
    app::Form1 form(app::Form1::Services{window, dialogs, clipboard, files}, app::Form1::Options{"", 7});
    window.setEvents(&form);
    ASSERT_TRUE(form.Form_Load());
    for (auto& c : form.board.Cells) c = {};
    // A glider at (11, 20) in a 4 x 3 selection: the right column is dead.
    for (auto [x, y] : {std::pair{11, 20}, {12, 21}, {10, 22}, {11, 22}, {12, 22}}) form.board.cell(x, y) = {1, 9, 8, 7};
    form.selection.SelLeft = 10, form.selection.SelTop = 20, form.selection.SelRight = 13, form.selection.SelBottom = 22;
    form.ReDraw();

    const char* rle = "x = 4, y = 3, rule = B3/S23\nbo$2bo$3o!\n";
    for (const bool cut : {false, true}) {
        cut ? form.mnuEditCut_Click() : form.mnuEditCopy_Click();
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(mime, nullptr);
        EXPECT_EQ(mime->text().toStdString(), rle) << cut;
        EXPECT_TRUE(mime->hasFormat(texts::kClipboardFormatName));
        EXPECT_TRUE(mime->hasImage());
    }
    EXPECT_EQ(form.board.countLive(), 0);

    // RLE text alone is not pasted.
    QGuiApplication::clipboard()->setText(rle);
    form.mnuEditPaste_Click();
    EXPECT_EQ(form.board.countLive(), 0);
    EXPECT_TRUE(dialogs.messages.empty());
    window.setEvents(nullptr);
}

}  // namespace
