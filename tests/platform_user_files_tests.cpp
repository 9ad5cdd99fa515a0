// SPDX-License-Identifier: MIT
// The real user folders: every running copy keeps its own board; restoring
// takes the newest board of an ended copy before a running copy's; a copy
// that starts keeping removes older boards of ended copies, never a running
// copy's.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

#include "platform/qt/qt_user_files.h"

namespace {

// A kept board written `secondsAgo` seconds ago.
void keep(const std::string& path, int secondsAgo) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) &&
                file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-secondsAgo), QFile::FileModificationTime));
}

TEST(UserFolders, CopiesKeepTheirOwnBoardsAndTheNewestEndedOneComesBack) {
    using platform::qt::QtUserFiles;
    auto a = std::make_unique<QtUserFiles>(), c = std::make_unique<QtUserFiles>();
    QtUserFiles b;
    const std::string aBoard = a->keptBoardFile(), bBoard = b.keptBoardFile(), cBoard = c->keptBoardFile();
    keep(aBoard, 300), keep(cBoard, 100), keep(bBoard, 10);
    EXPECT_EQ(a->lastKeptBoard(), bBoard);  // the newest, never its own
    a.reset();  // ended, like C next: their boards come before B's
    EXPECT_EQ(b.lastKeptBoard(), aBoard);
    c.reset();
    QtUserFiles d;
    EXPECT_EQ(d.lastKeptBoard(), cBoard);
    d.keptBoardFile();
    const QDir folder(qEnvironmentVariable("XDG_STATE_HOME") + "/kaleidomat");
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 4);  // A's gone: B's and C's boards, B's and D's locks
}

}  // namespace
