// SPDX-License-Identifier: MIT
#include "platform/qt/qt_file_system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/qt/qt_strings.h"

namespace platform::qt {

namespace {

constexpr const char* kNotRegularFile = "Not a regular file";

Error systemError() { return Error{std::error_code(errno, std::system_category()).message()}; }

}  // namespace

bool QtFileSystem::exists(const std::string& path) {
    if (path.empty()) return false;
    return QFileInfo(toQString(path)).isFile();
}

Result<std::vector<uint8_t>> QtFileSystem::readFile(const std::string& path) {
    // No file of the program's is near this size (a full 200 x 200 board is
    // 280 kB); anything larger, or a device that never ends, is not read.
    constexpr std::size_t kLargestFile = 64 * 1024 * 1024;
    // Opened without waiting: a FIFO would otherwise hold the window until
    // some other program writes to it. Only a regular file is read.
    const QByteArray name = QFile::encodeName(toQString(path));
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return systemError();
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return systemError();
    if (S_ISDIR(st.st_mode)) return Error{std::make_error_code(std::errc::is_a_directory).message()};
    if (!S_ISREG(st.st_mode)) return Error{kNotRegularFile};
    const Error tooLarge{std::make_error_code(std::errc::file_too_large).message(), true};
    if (static_cast<std::size_t>(st.st_size) > kLargestFile) return tooLarge;
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return systemError();
        if (got == 0) return bytes;
        if (bytes.size() + static_cast<std::size_t>(got) > kLargestFile) return tooLarge;  // it grew meanwhile
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
}

Result<void> QtFileSystem::writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // QSaveFile writes a temporary file beside the target and renames it over
    // the target only when everything has been written, so a failure at any
    // point leaves the old file as it was. Writing straight into the target
    // (its fallback for folders without write permission) stays off.
    // QSaveFile writes through a symbolic link to the file it names; a
    // target that is there but no regular file (a folder, a FIFO, a device)
    // is not replaced.
    struct stat st {};
    if (::stat(QFile::encodeName(toQString(path)).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return Error{S_ISDIR(st.st_mode) ? std::make_error_code(std::errc::is_a_directory).message() : kNotRegularFile};
    QSaveFile file(toQString(path));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return Error{toStdString(file.errorString())};
    const auto size = static_cast<qint64>(bytes.size());
    const char* data = reinterpret_cast<const char*>(bytes.data());
    // A short write (a full disk, a file-size limit) is retried so that the
    // second attempt reports why. commit() itself ignores a failed flush of
    // buffered data and would put a short file in place of the old one, so
    // the data is flushed and its size checked before the commit.
    qint64 written = 0;
    while (written < size) {
        const qint64 n = file.write(data + written, size - written);
        if (n <= 0) break;
        written += n;
    }
    if (written != size || !file.flush() || file.size() != size) {
        const std::string reason = toStdString(file.errorString());
        file.cancelWriting();
        file.commit();  // only removes the temporary file
        return Error{reason};
    }
    if (!file.commit()) return Error{toStdString(file.errorString())};
    // commit() puts the file on disk before the rename; the folder is flushed
    // too, so that the rename lasts. A folder that cannot be flushed changes
    // nothing: the file is in place either way.
    const QString folder = QFileInfo(QFileInfo(toQString(path)).canonicalFilePath()).absolutePath();
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

std::vector<std::string> QtFileSystem::list(const std::string& directory, const std::string& suffix) {
    QDir dir(toQString(directory));
    dir.setFilter(QDir::Files | QDir::CaseSensitive);
    dir.setSorting(QDir::Unsorted);
    dir.setNameFilters({QStringLiteral("*") + toQString(suffix)});
    std::vector<std::string> names;
    const QString qsuffix = toQString(suffix);
    for (const QString& name : dir.entryList()) {
        if (name.endsWith(qsuffix, Qt::CaseSensitive)) names.push_back(toStdString(name));
    }
    return names;
}

std::string QtFileSystem::programDirectory() { return toStdString(QCoreApplication::applicationDirPath()); }

std::string QtFileSystem::currentDirectory() { return toStdString(QDir::currentPath()); }

}  // namespace platform::qt
