// SPDX-License-Identifier: MIT
// The real user folders: every running copy keeps its own board; restoring
// takes the newest readable board of an ended copy before a running copy's,
// newest by the order of keeping, not by the files' dates; a copy that starts
// keeping removes the other boards of ended copies, never the newest readable
// one and never a running copy's.

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

#include "io/formats.h"
#include "platform/qt/qt_user_files.h"

namespace {

using platform::qt::QtUserFiles;

QString stateFolder() { return QtUserFiles::stateFolder(); }

// Writes a board file whose board is `side` cells a side, cut short when
// `truncated`; the file is dated `secondsFromNow` from now.
void keep(const std::string& path, int side = 20, bool truncated = false, int secondsFromNow = 0) {
    engine::Board board;
    board.create(side - 1);
    board.cell(1, 2) = engine::CellRecord{1, 10, 20, 30};
    std::vector<uint8_t> bytes = io::EncodeBoardFile(board);
    if (truncated) bytes.resize(bytes.size() - 3);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
    // Written out before the date is set: a flush at closing would date the file now.
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(secondsFromNow), QFile::FileModificationTime));
}

std::string inFolder(const char* name) { return (stateFolder() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }
bool exists(const std::string& path) { return QFileInfo::exists(QString::fromStdString(path)); }

void clearFolder() { ASSERT_TRUE(QDir(stateFolder()).removeRecursively()); }

TEST(UserFolders, CopiesKeepTheirOwnBoardsAndTheLastKeptOfAnEndedCopyComesBack) {
    clearFolder();
    auto a = std::make_unique<QtUserFiles>(), c = std::make_unique<QtUserFiles>();
    QtUserFiles b;
    // Kept in the order A, C, B; the dates say otherwise and do not count.
    const std::string aBoard = a->keptBoardFile();
    keep(aBoard, 20, false, 300);
    const std::string cBoard = c->keptBoardFile();
    keep(cBoard, 20, false, -100);
    const std::string bBoard = b.keptBoardFile();
    keep(bBoard, 20, false, -200);
    EXPECT_EQ(a->lastKeptBoard(), bBoard);  // the newest, never its own
    a.reset();                              // ended, like C next: their boards come before B's
    EXPECT_EQ(b.lastKeptBoard(), aBoard);
    c.reset();
    QtUserFiles d;
    EXPECT_EQ(d.lastKeptBoard(), cBoard);
    (void)d.keptBoardFile();
    EXPECT_FALSE(exists(aBoard));
    EXPECT_EQ(QDir(stateFolder()).entryList(QDir::Files).size(), 4);  // B's and C's boards, B's and D's locks

    // B keeps again: its older board goes once the newer one is written. A
    // newer one that does not read as a board leaves the last good one be.
    const std::string bSecond = b.keptBoardFile();
    keep(bSecond);
    QCoreApplication::processEvents();
    EXPECT_FALSE(exists(bBoard));
    const std::string bThird = b.keptBoardFile();
    keep(bThird, 20, true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(exists(bSecond));
}

// The newest kept board may be damaged (a truncated file, one far too large)
// or dated in the future: restoring passes over what does not read and goes
// by the order of keeping; the clean-up keeps the board that restoring gives.
TEST(UserFolders, RestoringFindsTheNewestReadableBoardAndCleaningKeepsIt) {
    clearFolder();
    ASSERT_TRUE(QDir().mkpath(stateFolder()));
    const std::string good = inFolder("board-100-1-n5.hxa"), truncated = inFolder("board-101-1-n6.hxa"),
                      huge = inFolder("board-102-1-n7.hxa"), olderGood = inFolder("board-99-1-n4.hxa");
    keep(olderGood), keep(good), keep(truncated, 20, true);
    QFile large(QString::fromStdString(huge));
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize((qint64{64} << 20) + 1));
    large.close();
    // Named before the numbering: older than any numbered board, even dated
    // in the future; among themselves by date.
    const std::string future = inFolder("board-98-1.hxa"), past = inFolder("board-97-1.hxa");
    keep(future, 20, false, 5 * 365 * 24 * 3600), keep(past, 20, false, -3600);

    {
        QtUserFiles restoring;
        EXPECT_EQ(restoring.lastKeptBoard(), good);
        const std::string own = restoring.keptBoardFile();  // cleans up
        EXPECT_EQ(QFileInfo(QString::fromStdString(own)).fileName().section(QLatin1Char('-'), -1),
                  QStringLiteral("n6.hxa"));  // above every board left
        EXPECT_TRUE(exists(good));
        for (const std::string& gone : {truncated, huge, olderGood, future, past}) EXPECT_FALSE(exists(gone)) << gone;
        EXPECT_EQ(restoring.lastKeptBoard(), good);
    }

    // Only boards of the old naming: the later date wins; nothing readable at
    // all: nothing to restore, and the damaged board is not deleted.
    clearFolder();
    ASSERT_TRUE(QDir().mkpath(stateFolder()));
    keep(future, 20, false, 60), keep(past, 20, false, -3600);
    EXPECT_EQ(QtUserFiles().lastKeptBoard(), future);
    clearFolder();
    ASSERT_TRUE(QDir().mkpath(stateFolder()));
    keep(truncated, 20, true);
    QtUserFiles alone;
    EXPECT_EQ(alone.lastKeptBoard(), "");
    (void)alone.keptBoardFile();
    EXPECT_TRUE(exists(truncated));
}

}  // namespace
