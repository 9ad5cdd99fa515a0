// SPDX-License-Identifier: MIT
#include "cli/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace cli {

namespace {

// The permission bits a newly created file gets: 0666 less the umask. The
// umask can only be read by setting it, so that is done once, before any
// temporary of this process exists.
mode_t newFileMode() {
    static std::once_flag once;
    static mode_t mode = 0644;
    std::call_once(once, [] {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        mode = 0666 & ~mask;
    });
    return mode;
}

std::error_code lastError() { return std::error_code(errno, std::system_category()); }

// The folder the target lives in, as a path that names it ("." for a bare name).
std::string folderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// A new, empty temporary file in `folder`: mkstemp's O_CREAT | O_EXCL and a
// random name. The name stays short whatever the target is called.
int createTemporary(const std::string& folder, std::string& name) {
    std::string pattern = folder + "/.kaleidomat-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) name = pattern;
    return fd;
}

// Fills the temporary, gives it its final permission bits and puts it on disk.
std::error_code fill(int fd, const std::string& path, std::span<const uint8_t> bytes) {
    struct stat target {};
    const mode_t mode = ::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode) ? target.st_mode & 07777
                                                                                         : newFileMode();
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0) return lastError();
    return {};
}

// Makes the rename durable. Some file systems cannot flush a folder; the file
// is in place by then either way, so that is not a failure.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The file a write to `path` lands in: a symbolic link is followed, hop by
// hop, to the name it stands for (which need not exist yet), so that the link
// stays and the file it points to gets the new contents.
std::error_code resolveLinks(std::string& path) {
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return {};
        if (hops == 40) return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) return lastError();
        if (static_cast<std::size_t>(n) >= target.size()) return std::make_error_code(std::errc::filename_too_long);
        target.resize(static_cast<std::size_t>(n));
        path = target.front() == '/' ? target : folderOf(path) + "/" + target;
    }
}

// Only a regular file is replaced: a folder, a device, a FIFO or a socket
// standing at the target is left alone.
std::error_code checkTarget(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
    return std::make_error_code(S_ISDIR(st.st_mode) ? std::errc::is_a_directory : std::errc::operation_not_supported);
}

}  // namespace

bool IsNotRegularFile(std::error_code error) { return error == std::errc::operation_not_supported; }

std::error_code ReplaceFile(const std::string& target, std::span<const uint8_t> bytes) {
    std::string path = target;
    if (std::error_code error = resolveLinks(path)) return error;
    if (std::error_code error = checkTarget(path)) return error;
    const std::string folder = folderOf(path);
    std::string temporary;
    const int fd = createTemporary(folder, temporary);
    if (fd < 0) return lastError();

    std::error_code error = fill(fd, path, bytes);
    if (::close(fd) != 0 && !error) error = lastError();
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = lastError();
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    syncFolder(folder);
    return {};
}

}  // namespace cli
