// Form1 on the real Qt main window and file system (offscreen platform): a
// board file on a disk where writes really fail half-way.

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
};

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
