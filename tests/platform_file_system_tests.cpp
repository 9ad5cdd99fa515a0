// SPDX-License-Identifier: MIT
// The real file system's writes: a write cut short (a full disk, a file-size
// limit) says why and leaves the old file byte for byte, with no temporary
// file beside it.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
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

// A FIFO is refused at once, for reading and for writing, instead of holding
// the window until another program opens its other end; a folder is refused
// too. A file over 64 MiB is refused as too large without being read.
TEST(RealFileSystem, OnlyRegularFilesAreReadOrReplaced) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::qt::QtFileSystem files;
    const std::string fifo = dir.filePath("pipe.hxa").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return files.readFile(fifo).ok(); });
    if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        ::close(::open(fifo.c_str(), O_RDWR | O_NONBLOCK));  // lets the blocked reader go
        FAIL() << "reading a FIFO blocks";
    }
    EXPECT_FALSE(reading.get());
    EXPECT_EQ(files.writeFile(fifo, {1}).error().reason, "Not a regular file");
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_FALSE(files.readFile(dir.path().toStdString()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.hxa"));
    EXPECT_FALSE(files.writeFile(dir.filePath("folder.hxa").toStdString(), {1}));
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.hxa")).isDir());

    const std::string large = dir.filePath("large.hxq").toStdString();
    QFile(QString::fromStdString(large)).open(QIODevice::WriteOnly);
    std::filesystem::resize_file(large, (64u << 20) + 1);  // sparse: nothing to write
    const auto refused = files.readFile(large);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().tooLarge);
    std::filesystem::resize_file(large, 64u << 20);
    EXPECT_TRUE(files.readFile(large));
}

// A symbolic link to a board stays a link and the board behind it keeps its
// permission bits.
TEST(RealFileSystem, SavesThroughALinkKeepingThePermissions) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::qt::QtFileSystem files;
    const std::string real = dir.filePath("real.hxa").toStdString(), link = dir.filePath("link.hxa").toStdString();
    ASSERT_TRUE(files.writeFile(real, {1, 2}));
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    std::filesystem::create_symlink("real.hxa", link);
    ASSERT_TRUE(files.writeFile(link, {3}));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(*files.readFile(real), std::vector<uint8_t>{3});
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
