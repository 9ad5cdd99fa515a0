// SPDX-License-Identifier: MIT
// The real file system's writes: a write cut short (a full disk, a file-size
// limit) says why and leaves the old file byte for byte, with no temporary
// file beside it.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <future>

#include "platform/qt/qt_file_system.h"

namespace {

TEST(RealFileSystem, AWriteCutShortKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string file = dir.filePath("old.hxa").toStdString();
    platform::qt::QtFileSystem files;
    const std::vector<uint8_t> old(30, 'o'), large(1000, 'n');
    ASSERT_TRUE(files.writeFile(file, old));

    // Files may grow to 40 bytes only (this works for root too, unlike
    // permissions).
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 40;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const platform::Result<void> written = files.writeFile(file, large);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    ASSERT_FALSE(written);
    EXPECT_NE(written.error().reason, "");
    EXPECT_EQ(*files.readFile(file), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.hxa"});
    EXPECT_TRUE(files.writeFile(file, large));
    EXPECT_EQ(*files.readFile(file), large);
}

// A FIFO is refused at once, read or written, instead of holding the window
// until another program opens it; a file over 64 MiB is refused unread.
TEST(RealFileSystem, OnlyRegularFilesAreReadOrReplaced) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("pipe.hxa").toStdString(), large = dir.filePath("l.hxq").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    platform::qt::QtFileSystem files;
    auto reading = std::async(std::launch::async, [&] { return files.readFile(fifo).ok(); });
    if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
        QFile(dir.filePath("pipe.hxa")).open(QIODevice::ReadWrite);  // lets the reader go, so that the test ends
    EXPECT_FALSE(reading.get());
    EXPECT_FALSE(files.writeFile(fifo, {1}));
    ASSERT_TRUE(files.writeFile(large, {1}));
    QFile::resize(dir.filePath("l.hxq"), (64 << 20) + 1);  // sparse: nothing to write
    EXPECT_TRUE(files.readFile(large).error().tooLarge);
}

}  // namespace
