// SPDX-License-Identifier: MIT
// The settings file through QSettings: values come back after a restart, and
// a damaged file or value reads as nothing.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

}  // namespace
