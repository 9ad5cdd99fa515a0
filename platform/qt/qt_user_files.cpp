// SPDX-License-Identifier: MIT
#include "platform/qt/qt_user_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/qt/qt_strings.h"

namespace platform::qt {

namespace {

const QString kBoardPrefix = QStringLiteral("board-");
const QString kBoardSuffix = QStringLiteral(".hxa");
const QString kLockSuffix = QStringLiteral(".lock");

QString LockOf(const QString& board) { return board.chopped(kBoardSuffix.size()) + kLockSuffix; }

// Opens and locks `path` without waiting; the descriptor, or -1 when another
// process holds the lock (or the file cannot be opened).
int TryLock(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether a running copy holds the lock of `board`. A free lock is removed
// (while held, so that no copy can be holding it).
bool HeldByRunningCopy(const QString& board) {
    const QString lock = LockOf(board);
    if (!QFileInfo::exists(lock)) return false;
    const int fd = TryLock(lock);
    if (fd < 0) return QFileInfo::exists(lock);
    ::unlink(QFile::encodeName(lock).constData());
    ::close(fd);
    return false;
}

struct KeptBoard {
    QString path;
    QDateTime written;
    bool running;
};

// The boards kept in `folder`, except `own`, newest first.
std::vector<KeptBoard> KeptBoards(const QString& folder, const QString& own) {
    std::vector<KeptBoard> boards;
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList({kBoardPrefix + QStringLiteral("*") + kBoardSuffix}, QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& info : entries) {
        const QString path = info.absoluteFilePath();
        if (path == own) continue;
        boards.push_back({path, info.lastModified(), HeldByRunningCopy(path)});
    }
    std::stable_sort(boards.begin(), boards.end(),
                     [](const KeptBoard& a, const KeptBoard& b) { return a.written > b.written; });
    return boards;
}

}  // namespace

QtUserFiles::QtUserFiles() = default;

QtUserFiles::~QtUserFiles() {
    if (lockDescriptor_ >= 0) {
        ::unlink(QFile::encodeName(LockOf(ownBoard_)).constData());
        ::close(lockDescriptor_);
    }
}

QString QtUserFiles::stateFolder() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation) +
                           QStringLiteral("/kaleidomat"));
#else
    // The XDG rule: $XDG_STATE_HOME when it is an absolute path, otherwise
    // ~/.local/state.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/kaleidomat"));
#endif
}

// Makes the folder, takes a name no other copy has and locks it, then clears
// away the boards of ended copies that are no longer the newest.
bool QtUserFiles::claimOwnFile() {
    const QString folder = stateFolder();
    if (!QDir().mkpath(folder)) return false;
    const QString base = folder + QLatin1Char('/') + kBoardPrefix +
                          QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
                          QString::number(QDateTime::currentMSecsSinceEpoch());
    for (int attempt = 0; attempt < 5 && lockDescriptor_ < 0; ++attempt) {
        const QString board = base + (attempt ? QLatin1Char('-') + QString::number(attempt) : QString()) + kBoardSuffix;
        // A name whose board is there belongs to a copy that has ended (in the
        // same millisecond, under the same process id): its board stays its own.
        if (QFileInfo::exists(board)) continue;
        const int fd = TryLock(LockOf(board));
        if (fd < 0) continue;
        // Another copy's cleaning may have removed the lock file between its
        // making and its locking: the lock counts only on the file in place.
        struct stat held {}, named {};
        if (::fstat(fd, &held) != 0 || ::stat(QFile::encodeName(LockOf(board)).constData(), &named) != 0 ||
            held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        lockDescriptor_ = fd;
        ownBoard_ = board;
    }
    if (lockDescriptor_ < 0) return false;

    bool newestEnded = true;
    for (const KeptBoard& kept : KeptBoards(folder, ownBoard_)) {
        if (kept.running) continue;
        if (!newestEnded) QFile::remove(kept.path);
        newestEnded = false;
    }
    return true;
}

std::string QtUserFiles::keptBoardFile() {
    if (ownBoard_.isEmpty() && !claimOwnFile()) return {};
    return toStdString(ownBoard_);
}

std::string QtUserFiles::lastKeptBoard() {
    const std::vector<KeptBoard> boards = KeptBoards(stateFolder(), ownBoard_);
    const auto ended = std::find_if(boards.begin(), boards.end(), [](const KeptBoard& b) { return !b.running; });
    if (ended != boards.end()) return toStdString(ended->path);
    return boards.empty() ? std::string() : toStdString(boards.front().path);
}

void QtUserFiles::callLater(int milliseconds, std::function<void()> due) {
    QTimer::singleShot(milliseconds, &timers_, std::move(due));
}

std::string QtUserFiles::patternFolder() {
    return toStdString(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/kaleidomat/patterns"));
}

bool QtUserFiles::makePatternFolder() { return QDir().mkpath(toQString(patternFolder())); }

}  // namespace platform::qt
