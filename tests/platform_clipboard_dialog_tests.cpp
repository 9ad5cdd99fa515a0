// SPDX-License-Identifier: MIT
// The Qt clipboard and file dialogs as other programs and the user meet them:
// the cell block under the MIME format that other running copies read, the
// picture and text beside it, and the file types' names shown byte for byte.

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_dialogs.h"

namespace {

TEST(QtClipboard, CellsTravelUnderTheSharedFormatWithAPictureAndText) {
    platform::qt::QtClipboard clipboard;
    platform::ClipboardContents contents{{2, 0, 1, 0, 1, 10, 20, 30, 0, 4, 5, 6}, {}, "x = 2, y = 1\nob!\n"};
    contents.picture.resize(3, 2);
    contents.picture.at(2, 1) = 0xFF123456u;
    ASSERT_TRUE(clipboard.put(contents));

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray block = mime->data(QStringLiteral("Chromatessellator CellData"));
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.end()), contents.cells);
    const QImage picture = qvariant_cast<QImage>(mime->imageData());
    ASSERT_EQ(picture.size(), QSize(3, 2));
    EXPECT_EQ(picture.pixel(2, 1), 0xFF123456u);
    EXPECT_EQ(mime->text(), QStringLiteral("x = 2, y = 1\nob!\n"));
    EXPECT_TRUE(clipboard.hasCells());
    EXPECT_EQ(clipboard.getCells().value(), contents.cells);

    // Another program's text replaces the block; nothing is read from it.
    QGuiApplication::clipboard()->setText(QStringLiteral("plain text"));
    EXPECT_FALSE(clipboard.hasCells());
    EXPECT_FALSE(clipboard.getCells());

    // A block of another program's with no bytes is handed over as it is.
    auto* empty = new QMimeData;
    empty->setData(QStringLiteral("Chromatessellator CellData"), QByteArray());
    QGuiApplication::clipboard()->setMimeData(empty);
    EXPECT_TRUE(clipboard.getCells().value().empty());

    // A block over 64 MiB is no block of cells: refused, not copied.
    empty->setData(QStringLiteral("Chromatessellator CellData"), QByteArray((64 << 20) + 1, '\0'));
    EXPECT_FALSE(clipboard.getCells());
}

// The dialog lists each file type by its name alone, byte for byte (the
// names carry parentheses of their own), and filters by its patterns.
TEST(QtDialogs, FileTypesShowTheirNamesAndMatchTheirPatterns) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(platform::qt::toNameFilters(
        {{"ライフデータファイル (*.hxa)", {"*.hxa"}}, {"すべてのファイル (*.*)", {"*"}}, {"", {"*.rle", "*.cells"}}}));
    const auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(types, nullptr);
    QStringList shown;
    for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("ライフデータファイル (*.hxa)"), QStringLiteral("すべてのファイル (*.*)"),
                                  QStringLiteral("*.rle *.cells")}));
    const auto* proxy = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->nameFilters(), QStringList{QStringLiteral("*.hxa")});
    dialog.selectNameFilter(dialog.nameFilters().at(1));
    EXPECT_EQ(proxy->nameFilters(), QStringList{QStringLiteral("*")});
}

}  // namespace
