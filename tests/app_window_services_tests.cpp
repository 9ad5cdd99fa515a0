// The Qt clipboard, file system and dialogs.

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QTimer>
#include <QtTest/QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "app/texts.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_translations.h"

using platform::ClipboardFailure;

namespace {

std::string path(const QTemporaryDir& dir, const char* name) { return dir.filePath(name).toStdString(); }

std::vector<uint8_t> bytes(std::initializer_list<int> values) { return std::vector<uint8_t>(values.begin(), values.end()); }

// ------------------------------------------------------------- clipboard --

TEST(QtClipboard, FormatsAreNumberedByNameAndCarriedUnderThatName) {
    platform::qt::QtClipboard clipboard;
    const uint32_t cells = clipboard.registerFormat(texts::kClipboardFormatName);
    EXPECT_NE(cells, 0u);
    EXPECT_EQ(clipboard.registerFormat(texts::kClipboardFormatName), cells);
    const uint32_t other = clipboard.registerFormat("Something else");
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, cells);
    EXPECT_EQ(clipboard.registerFormat(""), 0u);

    platform::PixelImage picture;
    picture.resize(3, 2);
    picture.at(2, 1) = 0xFF123456u;
    const auto block = bytes({1, 0, 1, 0, 1, 255, 128, 7});
    ASSERT_EQ(clipboard.put(cells, block, &picture), ClipboardFailure::None);
    picture.at(2, 1) = 0;  // the clipboard keeps its own copy

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasFormat("Chromatessellator CellData"));
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(2, 1), 0xFF123456u);

    EXPECT_TRUE(clipboard.hasFormat(cells));
    EXPECT_FALSE(clipboard.hasFormat(other));
    std::vector<uint8_t> read;
    EXPECT_EQ(clipboard.get(cells, read), ClipboardFailure::None);
    EXPECT_EQ(read, block);
    EXPECT_EQ(clipboard.get(other, read), ClipboardFailure::GetData);
    EXPECT_EQ(clipboard.get(0xDEAD, read), ClipboardFailure::GetData);  // never registered
}

TEST(QtClipboard, ForeignOrEmptyContentsAreRefusedWithTheirOwnFailure) {
    platform::qt::QtClipboard clipboard;
    const uint32_t cells = clipboard.registerFormat(texts::kClipboardFormatName);
    std::vector<uint8_t> read{9};

    QGuiApplication::clipboard()->setText("text from another program");
    EXPECT_FALSE(clipboard.hasFormat(cells));
    EXPECT_EQ(clipboard.get(cells, read), ClipboardFailure::GetData);

    ASSERT_EQ(clipboard.put(cells, {}, nullptr), ClipboardFailure::None);
    EXPECT_TRUE(clipboard.hasFormat(cells));
    EXPECT_EQ(clipboard.get(cells, read), ClipboardFailure::Size);
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());  // no picture given
    EXPECT_EQ(read, std::vector<uint8_t>{9});
}

// ----------------------------------------------------------- file system --

TEST(QtFileSystem, ReadsWritesListsAndTellsFilesFromFolders) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::qt::QtFileSystem files;
    const std::string a = path(dir, "a.hxq");
    EXPECT_FALSE(files.exists(a));
    EXPECT_EQ(files.readFile(a), std::nullopt);
    ASSERT_EQ(files.writeFile(a, bytes({0, 1, 2, 255})), "");
    EXPECT_TRUE(files.exists(a));
    EXPECT_EQ(files.readFile(a), bytes({0, 1, 2, 255}));
    ASSERT_EQ(files.writeFile(a, {}), "");  // shorter contents replace longer ones
    EXPECT_EQ(files.readFile(a), std::vector<uint8_t>{});

    ASSERT_EQ(files.writeFile(path(dir, "日本語.hxq"), bytes({7})), "");
    ASSERT_EQ(files.writeFile(path(dir, "b.hxqx"), bytes({7})), "");
    ASSERT_EQ(files.writeFile(path(dir, "c.HXQ"), bytes({7})), "");
    ASSERT_EQ(files.writeFile(path(dir, "d.txt"), bytes({7})), "");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.hxq"));
    EXPECT_FALSE(files.exists(path(dir, "folder.hxq")));
    EXPECT_EQ(files.readFile(path(dir, "folder.hxq")), std::nullopt);
    EXPECT_FALSE(files.exists(""));

    std::vector<std::string> listed = files.list(dir.path().toStdString(), ".hxq");
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"a.hxq", "日本語.hxq"}));

    EXPECT_EQ(files.currentDirectory(), QDir::currentPath().toStdString());
    EXPECT_EQ(files.programDirectory(), QCoreApplication::applicationDirPath().toStdString());
}

TEST(QtFileSystem, AFailedWriteLeavesWhatWasThereAndNoLeftovers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::qt::QtFileSystem files;

    // The target is a folder: refused, the folder and its contents stay.
    ASSERT_TRUE(QDir(dir.path()).mkpath("board.hxa/inside"));
    EXPECT_NE(files.writeFile(path(dir, "board.hxa"), bytes({1, 2, 3})), "");
    EXPECT_TRUE(QDir(dir.filePath("board.hxa/inside")).exists());

    // The folder vanished after the name was chosen.
    EXPECT_NE(files.writeFile(path(dir, "gone/board.hxa"), bytes({1})), "");
    EXPECT_FALSE(QDir(dir.filePath("gone")).exists());

    // The disk fills up half-way (a file-size limit stands in for it): the
    // old file keeps its contents.
    const std::string target = path(dir, "kept.hxa");
    ASSERT_EQ(files.writeFile(target, bytes({4, 5, 6})), "");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::string reason = files.writeFile(target, std::vector<uint8_t>(100000, 0xAB));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_NE(reason, "");
    EXPECT_EQ(files.readFile(target), bytes({4, 5, 6}));

    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList{"kept.hxa"});  // no temporary file stays behind
}

// --------------------------------------------------------------- dialogs --

TEST(QtDialogs, FiltersShowTheDescriptionsAndStarDotStarMeansEveryFile) {
    EXPECT_EQ(platform::qt::toNameFilters(texts::kBoardFilter),
              (QStringList{QString::fromUtf8("ライフデータファイル (*.hxa) (*.hxa)"),
                           QString::fromUtf8("すべてのファイル (*.*) (*)")}));
    EXPECT_EQ(platform::qt::toNameFilters("Pictures|*.png;*.bmp|odd"), QStringList{"Pictures (*.png *.bmp)"});
    EXPECT_TRUE(platform::qt::toNameFilters("").isEmpty());
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
    QFile existing(dir.filePath("old.hxa"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    platform::qt::QtDialogs dialogs(nullptr);
    const platform::FileDialogRequest request{texts::kSaveDialogTitle, texts::kBoardFilter, texts::kBoardExtension,
                                              dir.path().toStdString()};

    QStringList shownFilters;
    whenOpen<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(texts::kSaveDialogTitle));
        EXPECT_EQ(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        if (types)
            for (int i = 0; i < types->count(); ++i) shownFilters << types->itemText(i);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText("new");
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.saveFile(request), dir.filePath("new.hxa").toStdString());  // default extension added
    EXPECT_EQ(shownFilters, (QStringList{QString::fromUtf8("ライフデータファイル (*.hxa)"),
                                         QString::fromUtf8("すべてのファイル (*.*)")}));

    whenOpen<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        name->setText("old.hxa");
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.openFile(request), dir.filePath("old.hxa").toStdString());

    whenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(dialogs.openFile(request), "");
}

TEST(QtDialogs, MessageBoxesShowPlainTextAndAnswerWithTheirButtons) {
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
            QTest::keyClick(box, Qt::Key_Return);  // the default button
        });
        EXPECT_EQ(dialogs.message("?", "Kaleidomat", platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                                  answer),
                  answer);
    }
}

TEST(QtDialogs, StandardButtonsSpeakJapanese) {
    QTranslator* translator = platform::qt::InstallJapaneseTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translations (qt6-translations-l10n) are missing";
    platform::qt::QtDialogs dialogs(nullptr);
    whenOpen<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QString::fromUtf8("はい(&Y)"));
        EXPECT_EQ(box->button(QMessageBox::No)->text(), QString::fromUtf8("いいえ(&N)"));
        QTest::keyClick(box, Qt::Key_Return);
    });
    dialogs.message("?", "Kaleidomat", platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                    platform::MessageAnswer::No);
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
    platform::ColorDialogResult result = dialogs.chooseColor(0x00030201, 259, custom);
    EXPECT_TRUE(result.accepted);
    EXPECT_EQ(result.color, 0x00FF0000);
    EXPECT_EQ(result.failureCode, 0);
    EXPECT_EQ(custom[5], 0x000000FF);
    EXPECT_EQ(custom[1], 0x00336699);

    whenOpen<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    result = dialogs.chooseColor(0, 259, custom);
    EXPECT_FALSE(result.accepted);
    EXPECT_EQ(custom[5], 0x000000FF);  // still there for the next use
}

}  // namespace
