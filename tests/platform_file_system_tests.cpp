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

}  // namespace
