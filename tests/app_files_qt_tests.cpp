// Saving and loading board files through Form1 on the real file system (the
// Qt implementation), where writes can really fail half-way.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include "app/form1.h"
#include "app/texts.h"
#include "platform/qt/qt_file_system.h"
#include "support/fakes.h"

using platform::MessageAnswer;
using platform::MessageIcon;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return Bytes(bytes.begin(), bytes.end());
}

void writeAll(const QString& path, const Bytes& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

struct RealFiles : ::testing::Test {
    fakes::FakeMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    platform::qt::QtFileSystem files;
    std::unique_ptr<app::Form1> form;
    QTemporaryDir dir;

    void SetUp() override {
        static int argc = 1;
        static char name[] = "app_files_qt_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) static QCoreApplication application(argc, argv);
        ASSERT_TRUE(dir.isValid());
        form = std::make_unique<app::Form1>(app::Form1::Services{window, dialogs, clipboard, files},
                                            app::Form1::Options{"", 4321});
        window.setEvents(form.get());
        ASSERT_TRUE(form->Form_Load());
        ASSERT_GT(form->board.countLive(), 0);  // a seeded board: its file is larger than a few bytes
    }
    std::string path(const QString& name) { return dir.filePath(name).toStdString(); }
};

TEST_F(RealFiles, SaveAndLoadBack) {
    const std::string file = path("round.hxa");
    dialogs.filePaths.push_back(file);
    form->SaveData();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(form->board.Modified);
    EXPECT_EQ(readAll(QString::fromStdString(file)).size(), 26u + 7u * form->board.countLive());
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"round.hxa"});

    const auto cells = form->board.Cells;
    form->board.create(9);
    ASSERT_TRUE(form->OpenFile(file));
    EXPECT_TRUE(form->board.Cells == cells);
}

TEST_F(RealFiles, SaveIntoARemovedFolderFailsAndChangesNothing) {
    const QString folder = dir.filePath("gone");
    ASSERT_TRUE(QDir().mkdir(folder));
    const std::string file = (folder + "/a.hxa").toStdString();
    dialogs.filePaths.push_back(file);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    form->SaveData();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    const auto& m = dialogs.messages[0];
    const std::string head = std::string(texts::kSaveFailed) + "\n" + file + "\n";
    EXPECT_EQ(m.text.substr(0, head.size()), head);
    EXPECT_GT(m.text.size(), head.size());  // the reason follows
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(form->board.Modified);
    EXPECT_EQ(form->FileName, "");
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(RealFiles, SaveCutShortKeepsTheOldFileByteForByte) {
    const QString file = dir.filePath("old.hxa");
    const std::string signature = "Chromatessellator Data";
    Bytes old(signature.begin(), signature.end());
    old.insert(old.end(), {49, 0, 0, 0});
    writeAll(file, old);
    form->FileName = file.toStdString();
    dialogs.answers.push_back(MessageAnswer::Yes);
    const std::string caption = window.caption();

    // Files may grow to 40 bytes only: the new board file cannot be written
    // whole. (This works for root too, unlike permissions.)
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 40;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    form->SaveData();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(readAll(file), old);
    EXPECT_TRUE(form->board.Modified);
    EXPECT_EQ(window.caption(), caption);
    ASSERT_EQ(dialogs.messages.size(), 2u);  // the overwrite question, then the failure
    EXPECT_EQ(dialogs.messages[1].text.rfind(std::string(texts::kSaveFailed) + "\n" + file.toStdString() + "\n", 0),
              0u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.hxa"});
}

}  // namespace
