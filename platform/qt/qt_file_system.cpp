// SPDX-License-Identifier: MIT
#include "platform/qt/qt_file_system.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <system_error>

#include "io/safe_files.h"
#include "platform/qt/qt_strings.h"

namespace platform::qt {

namespace {

// The reason the user reads: the system's words, or ours for the refusals of
// our own ("Not a regular file", "File too large").
Error errorOf(std::error_code error) { return Error{error.message(), error == io::FileError::TooLarge}; }

std::string localPath(const std::string& path) { return QFile::encodeName(toQString(path)).toStdString(); }

}  // namespace

bool QtFileSystem::exists(const std::string& path) {
    if (path.empty()) return false;
    return QFileInfo(toQString(path)).isFile();
}

// Only a regular file of at most 64 MiB, without waiting for a FIFO.
Result<std::vector<uint8_t>> QtFileSystem::readFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (const std::error_code error = io::ReadFile(localPath(path), bytes)) return errorOf(error);
    return bytes;
}

// All or nothing, through a temporary beside the target; a symbolic link is
// written through, anything but a regular file refused.
Result<void> QtFileSystem::writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (const std::error_code error = io::ReplaceFile(localPath(path), bytes)) return errorOf(error);
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
