// SPDX-License-Identifier: MIT
// The settings file: values come back after a restart, and a damaged file or
// value reads as nothing; only a regular file is read or written.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <future>

#include "platform/qt/qt_settings.h"

namespace {

using namespace platform::setting;

TEST(QtSettings, ValuesComeBackAndDamagedOnesReadAsNothing) {
    {
        platform::qt::QtSettings settings;  // in the test program's own XDG_CONFIG_HOME
        settings.writeInt(kSpeed, 20);
        settings.writeBool(kRaised, false);
    }
    ASSERT_TRUE(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/kaleidomat/kaleidomat.conf"));
    platform::qt::QtSettings again;
    EXPECT_EQ(again.readInt(kSpeed), 20);
    EXPECT_EQ(again.readBool(kRaised), false);

    // Binary junk, and values of other types.
    QTemporaryDir dir;
    QFile file(dir.filePath("damaged.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x00\xff[\x01=\x02\n[run]\nspeed=@ByteArray(5)\n[view]\nraised=1\n", 49));
    file.close();
    platform::qt::QtSettings damaged(file.fileName());
    EXPECT_EQ(damaged.readInt(kSpeed), std::nullopt);
    EXPECT_EQ(damaged.readBool(kRaised), std::nullopt);
}

// Two running copies save their values into one file: neither loses the
// other's.
TEST(QtSettings, RunningCopiesKeepEachOthersValues) {
    QTemporaryDir dir;
    const QString file = dir.filePath("kaleidomat.conf");
    platform::qt::QtSettings first(file), second(file);
    first.writeInt(kSpeed, 20);
    second.writeBool(kRaised, false);
    first.writeBytes(kGeometry, QByteArray("\x01\x02", 2));
    platform::qt::QtSettings third(file);
    EXPECT_EQ(third.readInt(kSpeed), 20);
    EXPECT_EQ(third.readBool(kRaised), false);
    EXPECT_EQ(third.readBytes(kGeometry), QByteArray("\x01\x02", 2));
    EXPECT_EQ(first.unreportedSaveFailure(), std::nullopt);
}

// A FIFO as the settings file (it stands for a device too) neither holds
// start-up nor is replaced, reached directly or through a link: the values
// read as nothing and the failed save is told once. A link to a regular
// file is written through and stays.
TEST(QtSettings, OnlyARegularFileIsReadOrReplaced) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath("pipe.conf").toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink(fifo, dir.filePath("to-pipe.conf").toStdString());
    for (const char* name : {"pipe.conf", "to-pipe.conf"}) {
        auto starting = std::async(std::launch::async, [&] {
            platform::qt::QtSettings settings(dir.filePath(name));
            const std::optional<int> speed = settings.readInt(kSpeed);
            settings.writeInt(kSpeed, 5);
            settings.writeBool(kRaised, true);
            const std::optional<platform::Error> told = settings.unreportedSaveFailure();
            return std::tuple(speed, told, settings.unreportedSaveFailure());
        });
        if (starting.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            ::close(::open(fifo.c_str(), O_RDWR));  // lets it go, so that the test ends
        const auto [speed, told, toldAgain] = starting.get();
        EXPECT_EQ(speed, std::nullopt) << name;
        EXPECT_EQ(told, platform::Error{"Not a regular file"}) << name;
        EXPECT_EQ(toldAgain, std::nullopt) << name;
        EXPECT_TRUE(std::filesystem::is_fifo(fifo)) << name;
    }

    platform::qt::QtSettings(dir.filePath("real.conf")).writeInt(kSpeed, 7);
    std::filesystem::create_symlink("real.conf", dir.filePath("link.conf").toStdString());
    platform::qt::QtSettings linked(dir.filePath("link.conf"));
    EXPECT_EQ(linked.readInt(kSpeed), 7);
    linked.writeBool(kRaised, false);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.filePath("link.conf").toStdString()));
    EXPECT_EQ(platform::qt::QtSettings(dir.filePath("real.conf")).readBool(kRaised), false);
}

}  // namespace
