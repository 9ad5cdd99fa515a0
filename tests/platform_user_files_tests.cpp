// SPDX-License-Identifier: MIT
// The user's folders of the real program: each running copy keeps its board
// in a file of its own; restoring takes the newest board of a copy that has
// ended before any running copy's; a copy that starts keeping clears away
// the older boards of ended copies and never a running copy's.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

#include "platform/qt/qt_file_system.h"
#include "platform/qt/qt_user_files.h"

namespace {

using platform::qt::QtUserFiles;

// Writes `text` as the kept board `path`, written `secondsAgo` seconds ago.
void keep(const std::string& path, const char* text, int secondsAgo) {
    platform::qt::QtFileSystem files;
    ASSERT_TRUE(files.writeFile(path, std::vector<uint8_t>(text, text + 2)));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-secondsAgo),
                                 QFileDevice::FileModificationTime));
}

bool exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

TEST(UserFolders, CopiesKeepTheirOwnBoardsAndTheNewestEndedOneComesBack) {
    const QString folder = QtUserFiles::stateFolder();
    ASSERT_EQ(folder, qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/kaleidomat"));
    QDir(folder).removeRecursively();

    auto a = std::make_unique<QtUserFiles>();
    QtUserFiles b;
    EXPECT_EQ(a->lastKeptBoard(), "");
    const std::string aBoard = a->keptBoardFile(), bBoard = b.keptBoardFile();
    ASSERT_NE(aBoard, bBoard);
    EXPECT_EQ(QFileInfo(QString::fromStdString(aBoard)).absolutePath(), folder);
    keep(aBoard, "A1", 300);
    keep(bBoard, "B1", 10);
    EXPECT_EQ(a->lastKeptBoard(), bBoard);  // never its own
    EXPECT_EQ(b.lastKeptBoard(), aBoard);

    a.reset();  // A ends: its board, though older, comes before B's
    auto c = std::make_unique<QtUserFiles>();
    EXPECT_EQ(c->lastKeptBoard(), aBoard);
    const std::string cBoard = c->keptBoardFile();
    keep(cBoard, "C1", 100);
    c.reset();

    QtUserFiles d;
    EXPECT_EQ(d.lastKeptBoard(), cBoard);
    const std::string dBoard = d.keptBoardFile();  // clears A's board away, the older of two ended
    EXPECT_FALSE(exists(aBoard));
    EXPECT_TRUE(exists(bBoard));
    EXPECT_TRUE(exists(cBoard));
    EXPECT_EQ(d.lastKeptBoard(), cBoard);
    EXPECT_EQ(QDir(folder).entryList({"*.lock"}, QDir::Files).size(), 2);  // B's and D's
    EXPECT_EQ(b.lastKeptBoard(), cBoard);
}

TEST(UserFolders, ThePatternFolderIsMadeWhenAskedFor) {
    QtUserFiles user;
    const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/kaleidomat/patterns");
    EXPECT_EQ(user.patternFolder(), folder.toStdString());
    QDir(folder).removeRecursively();
    EXPECT_TRUE(user.makePatternFolder());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

}  // namespace
