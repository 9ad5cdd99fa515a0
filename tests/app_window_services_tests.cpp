// The Qt file system and message boxes. (The clipboard between two running
// copies is the end-to-end test e2e_clipboard_exchange.)

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
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

// Pattern files are listed by their exact suffix, folders left out; a failed
// write leaves what was there (a disk that fills up half-way is tested through
// Form1 in app_window_form_tests.cpp).
TEST(QtFileSystem, ReadsWritesAndListsFilesNotFolders) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::qt::QtFileSystem files;
    const std::string a = path(dir, "a.hxq");
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
    EXPECT_NE(files.writeFile(path(dir, "gone/board.hxa"), Bytes{1}), "");    // the folder vanished
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

TEST(QtDialogs, MessageBoxesShowPlainTextAndAnswerWithTheDefaultInJapanese) {
    QTranslator* translator = platform::qt::InstallJapaneseTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translations (qt6-translations-l10n) are missing";
    platform::qt::QtDialogs dialogs(nullptr);
    for (auto answer : {platform::MessageAnswer::Yes, platform::MessageAnswer::No}) {
        whenOpen<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "Kaleidomat");
            EXPECT_EQ(box->text(), "'<b>x</b>.hxa'");
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QString::fromUtf8("はい(&Y)"));
            QTest::keyClick(box, Qt::Key_Return);  // the default button
        });
        EXPECT_EQ(dialogs.message("'<b>x</b>.hxa'", "Kaleidomat", platform::MessageIcon::Question,
                                  platform::MessageButtons::YesNo, answer),
                  answer);
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

}  // namespace
