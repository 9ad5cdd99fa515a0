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
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <variant>
#include <vector>

#include "io/formats.h"
#include "platform/qt/qt_strings.h"

namespace platform::qt {

namespace {

const QString kBoardPrefix = QStringLiteral("board-");
const QString kBoardSuffix = QStringLiteral(".hxa");
const QString kLockSuffix = QStringLiteral(".lock");

// No board file of the program comes near this; a larger one is not read.
constexpr off_t kLargestBoard = off_t{64} << 20;

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

// Whether a running copy holds the lock `lock`. A free lock is removed (while
// held, so that no copy can be holding it).
bool HeldByRunningCopy(const QString& lock) {
    if (!QFileInfo::exists(lock)) return false;
    const int fd = TryLock(lock);
    if (fd < 0) return QFileInfo::exists(lock);
    ::unlink(QFile::encodeName(lock).constData());
    ::close(fd);
    return false;
}

// Whether `path` is a regular file of at most 64 MiB that reads as a board.
// Opened without following a link and without waiting on a FIFO.
bool ReadableBoard(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool readable = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kLargestBoard) {
        std::vector<uint8_t> bytes(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<std::size_t>(got);
        }
        readable = done == bytes.size() && std::holds_alternative<io::LoadedBoard>(io::DecodeBoardFile(bytes));
    }
    ::close(fd);
    return readable;
}

struct KeptBoard {
    QString path;
    QString copy;         // board-<copy>: the lock is this plus ".lock"
    uint64_t number = 0;  // 0: named before the numbering
    QDateTime written;    // orders only the unnumbered ones
    bool running = false;
};

// Newest first: by number, the unnumbered after all numbered ones.
bool Newer(const KeptBoard& a, const KeptBoard& b) {
    if (a.number != b.number) return a.number > b.number;
    if (a.number == 0 && a.written != b.written) return a.written > b.written;
    return a.path > b.path;
}

// The boards kept in `folder`, newest first.
std::vector<KeptBoard> KeptBoards(const QString& folder) {
    static const QRegularExpression numbered(QStringLiteral("^(board-.+)-n([0-9]{1,18})\\.hxa$"));
    std::vector<KeptBoard> boards;
    const QFileInfoList entries =
        QDir(folder).entryInfoList({kBoardPrefix + QStringLiteral("*") + kBoardSuffix}, QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& info : entries) {
        KeptBoard board{info.absoluteFilePath(), info.completeBaseName(), 0, {}, false};
        const QRegularExpressionMatch match = numbered.match(info.fileName());
        if (match.hasMatch()) {
            board.copy = match.captured(1);
            board.number = match.captured(2).toULongLong();
        }
        if (board.number == 0) board.written = info.lastModified();
        boards.push_back(std::move(board));
    }
    std::sort(boards.begin(), boards.end(), Newer);
    return boards;
}

QString InFolder(const QString& folder, const QString& name) { return folder + QLatin1Char('/') + name; }

}  // namespace

QtUserFiles::QtUserFiles() = default;

QtUserFiles::~QtUserFiles() {
    if (lockDescriptor_ >= 0) {
        dropOwnOlderBoards();
        ::unlink(QFile::encodeName(InFolder(stateFolder(), ownCopy_ + kLockSuffix)).constData());
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
// away the boards of ended copies but the newest readable one.
bool QtUserFiles::claimOwnFile() {
    const QString folder = stateFolder();
    if (!QDir().mkpath(folder)) return false;
    const QString base = kBoardPrefix + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') +
                         QString::number(QDateTime::currentMSecsSinceEpoch());
    const std::vector<KeptBoard> before = KeptBoards(folder);
    for (int attempt = 0; attempt < 5 && lockDescriptor_ < 0; ++attempt) {
        const QString copy = base + (attempt ? QLatin1Char('-') + QString::number(attempt) : QString());
        // A name with boards belongs to a copy that has ended (in the same
        // millisecond, under the same process id): its boards stay its own.
        if (std::any_of(before.begin(), before.end(), [&](const KeptBoard& b) { return b.copy == copy; })) continue;
        const QString lock = InFolder(folder, copy + kLockSuffix);
        const int fd = TryLock(lock);
        if (fd < 0) continue;
        // Another copy's cleaning may have removed the lock file between its
        // making and its locking: the lock counts only on the file in place.
        struct stat held {}, named {};
        if (::fstat(fd, &held) != 0 || ::stat(QFile::encodeName(lock).constData(), &named) != 0 ||
            held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
            ::close(fd);
            continue;
        }
        lockDescriptor_ = fd;
        ownCopy_ = copy;
    }
    if (lockDescriptor_ < 0) return false;

    bool keptOne = false;
    std::vector<QString> unreadable;
    for (const KeptBoard& kept : before) {
        if (HeldByRunningCopy(InFolder(folder, kept.copy + kLockSuffix))) continue;
        if (keptOne) {
            QFile::remove(kept.path);
        } else if (ReadableBoard(kept.path)) {
            keptOne = true;
        } else {
            unreadable.push_back(kept.path);
        }
    }
    // Damaged boards newer than the one kept are of no use; with no readable
    // board at all they stay, as nothing better is there.
    if (keptOne)
        for (const QString& path : unreadable) QFile::remove(path);
    return true;
}

// Removes this copy's boards but its newest readable one.
void QtUserFiles::dropOwnOlderBoards() {
    bool keptOne = false;
    for (const KeptBoard& kept : KeptBoards(stateFolder())) {
        if (kept.copy != ownCopy_) continue;
        if (keptOne)
            QFile::remove(kept.path);
        else
            keptOne = ReadableBoard(kept.path);
    }
}

std::string QtUserFiles::keptBoardFile() {
    if (ownCopy_.isEmpty() && !claimOwnFile()) return {};
    const QString folder = stateFolder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) return {};
    uint64_t highest = lastNumber_;
    for (const KeptBoard& kept : KeptBoards(folder)) highest = std::max(highest, kept.number);
    lastNumber_ = highest + 1;
    // The caller writes the board as soon as it has the name; once the event
    // loop runs again, the board it wrote replaces this copy's older one.
    QTimer::singleShot(0, &timers_, [this] { dropOwnOlderBoards(); });
    return toStdString(InFolder(folder, ownCopy_ + QStringLiteral("-n") + QString::number(lastNumber_) + kBoardSuffix));
}

std::string QtUserFiles::lastKeptBoard() {
    const QString folder = stateFolder();
    const std::vector<KeptBoard> boards = KeptBoards(folder);
    std::vector<const KeptBoard*> running;
    for (const KeptBoard& kept : boards) {
        if (!ownCopy_.isEmpty() && kept.copy == ownCopy_) continue;
        if (HeldByRunningCopy(InFolder(folder, kept.copy + kLockSuffix)))
            running.push_back(&kept);
        else if (ReadableBoard(kept.path))
            return toStdString(kept.path);
    }
    for (const KeptBoard* kept : running)
        if (ReadableBoard(kept->path)) return toStdString(kept->path);
    return {};
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
