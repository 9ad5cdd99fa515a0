// SPDX-License-Identifier: MIT
// The window's file system (io/safe_files.h does the work and has the tests
// of its own): the reasons the user reads when a file cannot be read or
// written.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <system_error>

#include "platform/qt/qt_file_system.h"

namespace {

template <typename T>
std::string reasonOf(const platform::Result<T>& result) {
    return result ? "(it worked)" : result.error().reason;
}
std::string systemReason(std::errc error) { return std::make_error_code(error).message(); }

TEST(RealFileSystem, FailuresGiveTheReasonsTheUserReads) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string folder = dir.path().toStdString(), fifo = folder + "/pipe.hxa";
    platform::qt::QtFileSystem files;
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(reasonOf(files.readFile(fifo)), "Not a regular file");
    EXPECT_EQ(reasonOf(files.writeFile(fifo, {1})), "Not a regular file");
    EXPECT_EQ(reasonOf(files.readFile(folder)), systemReason(std::errc::is_a_directory));
    EXPECT_EQ(reasonOf(files.writeFile(folder, {1})), systemReason(std::errc::is_a_directory));
    EXPECT_EQ(reasonOf(files.readFile(folder + "/missing.hxa")), systemReason(std::errc::no_such_file_or_directory));
    // 255 bytes is the longest name a file can have: written; longer: said so.
    EXPECT_TRUE(files.writeFile(folder + "/" + std::string(251, 'n') + ".hxa", {1}));
    EXPECT_EQ(reasonOf(files.writeFile(folder + "/" + std::string(252, 'n') + ".hxa", {1})),
              systemReason(std::errc::filename_too_long));

    const std::string large = folder + "/large.hxq";
    ASSERT_TRUE(files.writeFile(large, {1}));
    QFile::resize(QString::fromStdString(large), (64 << 20) + 1);  // sparse: nothing to write
    const auto tooLarge = files.readFile(large);
    EXPECT_EQ(reasonOf(tooLarge), "File too large");
    EXPECT_TRUE(!tooLarge && tooLarge.error().tooLarge);
}

}  // namespace
