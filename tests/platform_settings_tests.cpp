// SPDX-License-Identifier: MIT
// The settings file through QSettings: values come back after a restart, and
// a damaged file or value reads as nothing.

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/qt/qt_settings.h"

namespace {

using platform::setting::kGeometry;
using platform::setting::kRaised;
using platform::setting::kSpeed;

TEST(QtSettings, ValuesComeBackInTheUsersConfigFolder) {
    // The test program's XDG_CONFIG_HOME is a folder of its own.
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/kaleidomat/kaleidomat.conf");
    {
        platform::qt::QtSettings settings;
        EXPECT_EQ(settings.readInt(kSpeed), std::nullopt);
        EXPECT_EQ(settings.readBool(kRaised), std::nullopt);
        settings.writeInt(kSpeed, 20);
        settings.writeBool(kRaised, false);
        settings.writeBytes(kGeometry, QByteArray("\x01\x00\xff", 3));
    }
    ASSERT_TRUE(QFile::exists(file));
    platform::qt::QtSettings again;
    EXPECT_EQ(again.readInt(kSpeed), 20);
    EXPECT_EQ(again.readBool(kRaised), false);
    EXPECT_EQ(again.readBytes(kGeometry), QByteArray("\x01\x00\xff", 3));
}

TEST(QtSettings, DamagedFilesAndValuesReadAsNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::pair<const char*, QByteArray> files[] = {
        {"binary", QByteArray("\x00\xff\xfe[\x01=\x02\n\x00", 9)},
        {"wrong types", "[run]\nspeed=@ByteArray(abc)\n[view]\nraised=1\n[window]\ngeometry=not bytes\n"},
        {"cut short", "[run]\nspeed=\n[view]\nraised=tr"},
        {"no value", "[run\nspeed"},
    };
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();
        platform::qt::QtSettings settings(path);
        EXPECT_EQ(settings.readInt(kSpeed), std::nullopt) << name;
        EXPECT_EQ(settings.readBool(kRaised), std::nullopt) << name;
        EXPECT_TRUE(settings.readBytes(kGeometry).isEmpty()) << name;
        // Values written over it are read back.
        settings.writeInt(kSpeed, 50);
        EXPECT_EQ(settings.readInt(kSpeed), 50) << name;
    }
}

}  // namespace
