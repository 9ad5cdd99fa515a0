// The Qt clipboard, file system and dialogs.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "ui/texts.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_translations.h"

using platform::ClipboardFailure;
using Bytes = std::vector<uint8_t>;

namespace {

std::string path(const QTemporaryDir& dir, const char* name) { return dir.filePath(name).toStdString(); }

// Other programs see the private format by its name and a picture beside it.
TEST(QtClipboard, CellsGoUnderTheFormatNameWithAPictureForOtherPrograms) {
    platform::qt::QtClipboard clipboard;
    const uint32_t cells = clipboard.registerFormat(texts::kClipboardFormatName);
    EXPECT_NE(cells, 0u);
    EXPECT_EQ(clipboard.registerFormat(texts::kClipboardFormatName), cells);
    const uint32_t other = clipboard.registerFormat("Something else");
    EXPECT_NE(other, cells);

    platform::PixelImage picture;
    picture.resize(3, 2);
    picture.at(2, 1) = 0xFF123456u;
    const Bytes block{1, 0, 1, 0, 1, 255, 128, 7};
    ASSERT_EQ(clipboard.put(cells, block, &picture, ""), ClipboardFailure::None);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat("Chromatessellator CellData"));
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(2, 1), 0xFF123456u);
    Bytes read;
    EXPECT_EQ(clipboard.get(cells, read), ClipboardFailure::None);
    EXPECT_EQ(read, block);
    EXPECT_FALSE(clipboard.hasFormat(other));
    EXPECT_EQ(clipboard.get(other, read), ClipboardFailure::GetData);

    // Text from another program; then an empty block.
    QGuiApplication::clipboard()->setText("text from another program");
    EXPECT_FALSE(clipboard.hasFormat(cells));
    EXPECT_EQ(clipboard.get(cells, read), ClipboardFailure::GetData);
    ASSERT_EQ(clipboard.put(cells, {}, nullptr, ""), ClipboardFailure::None);
    EXPECT_EQ(clipboard.get(cells, read), ClipboardFailure::Size);
    EXPECT_EQ(read, block);
}

// Pattern files are listed by their exact suffix, folders left out; a failed
// write leaves what was there (a disk that fills up half-way is tested through
// Form1 in app_window_form_tests.cpp).
TEST(QtFileSystem, ReadsWritesAndListsFilesNotFolders) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::qt::QtFileSystem files;
    const std::string a = path(dir, "a.hxq");
    EXPECT_EQ(files.readFile(a), std::nullopt);
    ASSERT_EQ(files.writeFile(a, Bytes{0, 1, 2, 255}), "");
    ASSERT_EQ(files.writeFile(a, Bytes{7}), "");  // shorter contents replace longer ones
    EXPECT_EQ(files.readFile(a), Bytes{7});
    for (const char* name : {"日本語.hxq", "b.hxqx", "c.HXQ"}) ASSERT_EQ(files.writeFile(path(dir, name), {}), "");
    ASSERT_TRUE(QDir(dir.path()).mkpath("folder.hxq/inside"));
    EXPECT_FALSE(files.exists(path(dir, "folder.hxq")));
    EXPECT_EQ(files.readFile("/dev/zero"), std::nullopt);  // never ends: not read at all
    std::vector<std::string> listed = files.list(dir.path().toStdString(), ".hxq");
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"a.hxq", "日本語.hxq"}));

    EXPECT_NE(files.writeFile(path(dir, "folder.hxq"), Bytes{1, 2, 3}), "");  // the target is a folder
    EXPECT_TRUE(QDir(dir.filePath("folder.hxq/inside")).exists());
    EXPECT_NE(files.writeFile(path(dir, "gone/board.hxa"), Bytes{1}), "");  // the folder vanished
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

// Runs `inspect` on the modal dialog of type T once it is open.
template <typename T>
void whenOpen(std::function<void(T*)> inspect) {
    QTimer::singleShot(50, [inspect] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        inspect(dialog);
    });
}

TEST(QtDialogs, FileDialogsUseTheRequestAndReturnTheFullPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::qt::QtDialogs dialogs(nullptr);
    const platform::FileDialogRequest request{texts::kSaveDialogTitle, texts::kBoardFilter, texts::kBoardExtension,
                                              dir.path().toStdString()};
    QStringList shownFilters;
    whenOpen<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(texts::kSaveDialogTitle));
        EXPECT_EQ(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        if (auto* types = dialog->findChild<QComboBox*>("fileTypeCombo"))
            for (int i = 0; i < types->count(); ++i) shownFilters << types->itemText(i);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText("new");
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.saveFile(request), dir.filePath("new.hxa").toStdString());  // default extension added
    EXPECT_EQ(shownFilters.join("|").toStdString(), "ライフデータファイル (*.hxa)|すべてのファイル (*.*)");
    whenOpen<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        dialog->reject();
    });
    EXPECT_EQ(dialogs.openFile(request), "");
}

TEST(QtDialogs, MessageBoxesShowPlainTextAndAnswerWithTheDefaultInJapanese) {
    QTranslator* translator = platform::qt::InstallJapaneseTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translations (qt6-translations-l10n) are missing";
    platform::qt::QtDialogs dialogs(nullptr);
    whenOpen<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), "Kaleidomat");
        EXPECT_EQ(box->text(), "'<b>x</b>.hxa' is not found.");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.message("'<b>x</b>.hxa' is not found.", "Kaleidomat", platform::MessageIcon::Exclamation,
                              platform::MessageButtons::Ok, platform::MessageAnswer::Ok),
              platform::MessageAnswer::Ok);
    for (auto answer : {platform::MessageAnswer::Yes, platform::MessageAnswer::No}) {
        whenOpen<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QString::fromUtf8("はい(&Y)"));
            EXPECT_EQ(box->button(QMessageBox::No)->text(), QString::fromUtf8("いいえ(&N)"));
            QTest::keyClick(box, Qt::Key_Return);  // the default button
        });
        EXPECT_EQ(dialogs.message("?", "Kaleidomat", platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                                  answer),
                  answer);
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST(QtDialogs, ColourDialogStartsOnTheColourAndKeepsCustomColours) {
    platform::qt::QtDialogs dialogs(nullptr);
    std::array<int32_t, 16> custom{};
    custom[1] = 0x00336699;  // blue 0x33, green 0x66, red 0x99
    whenOpen<QColorDialog>([](QColorDialog* dialog) {
        EXPECT_EQ(dialog->currentColor(), QColor(0x01, 0x02, 0x03));
        EXPECT_EQ(QColorDialog::customColor(1), QColor(0x99, 0x66, 0x33));
        QColorDialog::setCustomColor(5, QColor(255, 0, 0));  // the user adds a custom colour
        dialog->setCurrentColor(QColor(0, 0, 255));
        dialog->accept();
    });
    const platform::ColorDialogResult result = dialogs.chooseColor(0x00030201, 259, custom);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.color, 0x00FF0000);
    EXPECT_EQ(custom[5], 0x000000FF);
    whenOpen<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(dialogs.chooseColor(0, 259, custom).accepted);
}

}  // namespace
