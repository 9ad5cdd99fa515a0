// SPDX-License-Identifier: MIT
#include "platform/qt/qt_file_system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <system_error>

#include "platform/qt/qt_strings.h"

namespace platform::qt {

bool QtFileSystem::exists(const std::string& path) {
    if (path.empty()) return false;
    return QFileInfo(toQString(path)).isFile();
}

Result<std::vector<uint8_t>> QtFileSystem::readFile(const std::string& path) {
    // No file of the program's is near this size (a full 200 x 200 board is
    // 280 kB); anything larger, or a device that never ends, is not read.
    constexpr qint64 kLargestFile = 64 * 1024 * 1024;
    QFile file(toQString(path));
    if (!file.open(QIODevice::ReadOnly)) return Error{toStdString(file.errorString())};
    const QByteArray bytes = file.read(kLargestFile + 1);
    if (file.error() != QFileDevice::NoError) return Error{toStdString(file.errorString())};
    if (bytes.size() > kLargestFile) return Error{std::make_error_code(std::errc::file_too_large).message()};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

Result<void> QtFileSystem::writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // QSaveFile writes a temporary file beside the target and renames it over
    // the target only when everything has been written, so a failure at any
    // point leaves the old file as it was. Writing straight into the target
    // (its fallback for folders without write permission) stays off.
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
