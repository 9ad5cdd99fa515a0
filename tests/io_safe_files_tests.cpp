// SPDX-License-Identifier: MIT
// The writer and reader behind every file the window and kaleidomat-cli
// touch: whole files only, even with several writers of one target at once;
// nothing left behind; the target's permission bits kept; only regular files
// read or replaced, without waiting for a FIFO; nothing over 64 MiB read.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <set>
#include <thread>
#include <vector>

#include "io/safe_files.h"

namespace fs = std::filesystem;

namespace {

class SafeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::error_code write(const std::string& path, const std::string& text) {
        return io::ReplaceFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    }
    static mode_t mode(const std::string& path) {
        struct stat st {};
        EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
        return st.st_mode & 07777;
    }
    // Names in the folder other than `expected`: temporaries left behind.
    std::vector<std::string> strays(const std::set<std::string>& expected) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            if (!expected.count(entry.path().filename().string())) names.push_back(entry.path().filename().string());
        return names;
    }

    const fs::path dir_ = fs::temp_directory_path() / ("kaleidomat-safe-files-" + std::to_string(::getpid()) + "-" +
                                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

// Four writers replace one target with contents of their own, round after
// round: the target is always one writer's whole file, never a mix, a
// shortened file or a failure.
TEST_F(SafeFiles, ConcurrentWritersOfOneTargetEachLeaveAWholeFile) {
    constexpr int kWriters = 4, kRounds = 60;
    std::vector<std::string> contents;
    for (int w = 0; w < kWriters; ++w) contents.push_back(std::string(20000 + 3000 * w, static_cast<char>('a' + w)));
    const std::string target = path("board.hxa");
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::error_code> errors(kWriters);
        std::vector<std::thread> writers;
        for (int w = 0; w < kWriters; ++w)
            writers.emplace_back([&, w] { errors[w] = write(target, contents[w]); });
        for (auto& t : writers) t.join();
        for (const auto& e : errors) ASSERT_FALSE(e) << e.message();
        const std::string result = read(target);
        ASSERT_NE(std::find(contents.begin(), contents.end(), result), contents.end())
            << "round " << round << ": " << result.size() << " bytes";
    }
    EXPECT_EQ(strays({"board.hxa"}), std::vector<std::string>{});
}

// A target name as long as the file system allows still leaves room for the
// temporary's name; one byte more is refused with the system's reason.
TEST_F(SafeFiles, TakesTheLongestNamesAndRefusesLongerOnes) {
    const std::string longName = std::string(255 - 4, 'n') + ".hxa";
    ASSERT_FALSE(write(path(longName), "long")) << "a 255-byte name";
    EXPECT_EQ(read(path(longName)), "long");
    EXPECT_EQ(write(path("n" + longName), "longer"), std::errc::filename_too_long);
    EXPECT_EQ(strays({longName}), std::vector<std::string>{});
}

TEST_F(SafeFiles, KeepsTheTargetsPermissionsAndGivesNewFilesTheUmasks) {
    const std::string existing = path("shared.hxa");
    std::ofstream(existing) << "old";
    for (const mode_t bits : {0640, 0604, 0400}) {
        ASSERT_EQ(::chmod(existing.c_str(), bits), 0);
        ASSERT_FALSE(write(existing, "replaced"));
        EXPECT_EQ(mode(existing), bits);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    ASSERT_FALSE(write(path("new.hxa"), "new"));
    EXPECT_EQ(mode(path("new.hxa")), 0666 & ~mask);
}

// Failures at each stage: no folder to create the temporary in, a write cut
// short by a file-size limit (as by a full disk), a target that is a folder
// or a FIFO. The old target stays as it was, and no temporary is left
// behind. The limit works for root too, unlike permissions.
TEST_F(SafeFiles, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    EXPECT_EQ(write(path("missing/board.hxa"), "x"), std::errc::no_such_file_or_directory);

    const std::string target = path("board.hxa");
    std::ofstream(target) << "the old board";
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = ::signal(SIGXFSZ, SIG_DFL);
    io::IgnoreFileSizeSignal();
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::error_code tooBig = write(target, std::string(100000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(tooBig, std::errc::file_too_large);
    EXPECT_EQ(read(target), "the old board");

    fs::create_directory(path("folder.hxa"));
    EXPECT_EQ(write(path("folder.hxa"), "x"), std::errc::is_a_directory);
    EXPECT_TRUE(fs::is_directory(path("folder.hxa")));
    // A FIFO stands for every node that is not a file (a device, a socket),
    // reached directly or through a symbolic link: refused, left in place.
    ASSERT_EQ(::mkfifo(path("pipe.hxa").c_str(), 0600), 0);
    fs::create_symlink("pipe.hxa", path("to-pipe.hxa"));
    for (const char* name : {"pipe.hxa", "to-pipe.hxa"})
        EXPECT_EQ(write(path(name), "x"), io::FileError::NotRegularFile) << name;
    EXPECT_TRUE(fs::is_fifo(path("pipe.hxa")));
    EXPECT_EQ(strays({"board.hxa", "folder.hxa", "pipe.hxa", "to-pipe.hxa"}), std::vector<std::string>{});
}

// A symbolic link at the target is written through: the link stays, and the
// file it names (relative to the link's folder, over two hops) gets the
// contents and keeps its permission bits. Links or files planted at the
// temporary names an earlier writer used are neither followed nor disturbed.
TEST_F(SafeFiles, WritesThroughSymbolicLinksAndIgnoresPlantedTemporaries) {
    fs::create_directory(path("boards"));
    std::ofstream(path("boards/real.hxa")) << "old";
    ASSERT_EQ(::chmod(path("boards/real.hxa").c_str(), 0600), 0);
    fs::create_symlink("boards/real.hxa", path("hop.hxa"));
    fs::create_symlink("hop.hxa", path("link.hxa"));
    std::ofstream(path("victim.txt")) << "victim";
    for (const char* planted : {"link.hxa.kaleidomat-tmp", ".kaleidomat-tmp", ".kaleidomat-XXXXXX"})
        fs::create_symlink("victim.txt", path(planted));

    ASSERT_FALSE(write(path("link.hxa"), "new"));
    EXPECT_TRUE(fs::is_symlink(path("link.hxa")));
    EXPECT_TRUE(fs::is_symlink(path("hop.hxa")));
    EXPECT_EQ(read(path("boards/real.hxa")), "new");
    EXPECT_EQ(mode(path("boards/real.hxa")), 0600u);
    EXPECT_EQ(read(path("victim.txt")), "victim");
    // A link to a name that does not exist yet creates that file.
    fs::create_symlink("boards/later.hxa", path("dangling.hxa"));
    ASSERT_FALSE(write(path("dangling.hxa"), "later"));
    EXPECT_EQ(read(path("boards/later.hxa")), "later");
    EXPECT_EQ(strays({"boards", "hop.hxa", "link.hxa", "victim.txt", "dangling.hxa", "link.hxa.kaleidomat-tmp",
                      ".kaleidomat-tmp", ".kaleidomat-XXXXXX"}),
              std::vector<std::string>{});
}

// Reading: a FIFO (also behind a link) is refused at once instead of waiting
// for a writer; a folder is refused; a file over 64 MiB is refused unread,
// but its first bytes can still be had.
TEST_F(SafeFiles, OnlyRegularFilesUpTo64MiBAreRead) {
    ASSERT_EQ(::mkfifo(path("pipe.hxa").c_str(), 0600), 0);
    fs::create_symlink("pipe.hxa", path("to-pipe.hxa"));
    for (const char* name : {"pipe.hxa", "to-pipe.hxa"}) {
        auto reading = std::async(std::launch::async, [&] {
            std::vector<uint8_t> bytes;
            return io::ReadFile(path(name), bytes);
        });
        if (reading.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            ::close(::open(path("pipe.hxa").c_str(), O_RDWR));  // lets the reader go, so that the test ends
        EXPECT_EQ(reading.get(), io::FileError::NotRegularFile) << name;
    }
    std::vector<uint8_t> bytes{1};
    fs::create_directory(path("folder.hxa"));
    EXPECT_EQ(io::ReadFile(path("folder.hxa"), bytes), std::errc::is_a_directory);

    const std::string large = path("large.hxq");
    std::ofstream(large) << "head";
    fs::resize_file(large, io::kLargestFile);  // sparse: nothing to write
    ASSERT_FALSE(io::ReadFile(large, bytes));
    EXPECT_EQ(bytes.size(), io::kLargestFile);
    fs::resize_file(large, io::kLargestFile + 1);
    EXPECT_EQ(io::ReadFile(large, bytes), io::FileError::TooLarge);
    ASSERT_FALSE(io::ReadFileStart(large, 4, bytes));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{'h', 'e', 'a', 'd'}));
}

}  // namespace
