// SPDX-License-Identifier: MIT
#include "io/safe_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace io {

namespace {

class FileErrors : public std::error_category {
public:
    const char* name() const noexcept override { return "kaleidomat file"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
            case FileError::NotRegularFile: return "Not a regular file";
            case FileError::TooLarge: return "File too large";
        }
        return "Unknown file error";
    }
};

std::error_code lastError() { return std::error_code(errno, std::system_category()); }

struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

// Only a regular file is read or replaced.
std::error_code regularOnly(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return std::make_error_code(std::errc::is_a_directory);
    return FileError::NotRegularFile;
}

// Reads at most `count` bytes; with `whole`, a file over kLargestFile is
// refused instead. The path is checked before it is opened, so that a device
// is not even opened, and the open file again, in case the name was swapped
// in between. O_NONBLOCK keeps a FIFO from holding the caller until some
// writer comes; O_NOCTTY keeps a terminal from becoming ours.
std::error_code readFrom(const std::string& path, std::size_t count, bool whole, std::vector<uint8_t>& bytes) {
    bytes.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return lastError();
    if (std::error_code error = regularOnly(st)) return error;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return lastError();
    const FileCloser closer{fd};
    if (::fstat(fd, &st) != 0) return lastError();
    if (std::error_code error = regularOnly(st)) return error;
    if (whole && static_cast<std::uintmax_t>(st.st_size) > kLargestFile) return FileError::TooLarge;
    bytes.reserve(std::min(static_cast<std::size_t>(st.st_size), count));  // one allocation for what is there
    uint8_t buffer[65536];
    while (bytes.size() < count) {
        const ssize_t got = ::read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return lastError();
        if (got == 0) break;
        // The file may have grown since it was measured.
        if (whole && bytes.size() + static_cast<std::size_t>(got) > kLargestFile) return FileError::TooLarge;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    return {};
}

// ------------------------------------------------------------ temporaries --

// The temporaries that exist at this moment, for the signal handler to
// remove: fixed slots, so that the handler neither allocates nor locks. A
// slot is Live only while its name is complete. More writers at once than
// slots still write; only their temporaries are not removed on a signal.
enum SlotState : int { Free, Filling, Live };
struct TemporarySlot {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slots");
constexpr int kSlots = 16;
TemporarySlot temporaries[kSlots];

TemporarySlot* remember(const std::string& path) {
    if (path.size() >= PATH_MAX) return nullptr;
    for (TemporarySlot& slot : temporaries) {
        int expected = Free;
        if (!slot.state.compare_exchange_strong(expected, Filling)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(Live);
        return &slot;
    }
    return nullptr;
}

void forget(TemporarySlot* slot) {
    if (slot) slot->state.store(Free);
}

extern "C" void removeTemporariesAndEnd(int signal) {
    for (TemporarySlot& slot : temporaries)
        if (slot.state.load() == Live) ::unlink(slot.path);
    // SA_RESETHAND has put the default action back: the signal, raised again,
    // ends the process as soon as this handler returns.
    ::raise(signal);
}

// The signals that remove temporaries, held back while a temporary is made
// and remembered, so that none can come in between.
struct EndingSignalsHeld {
    sigset_t previous{};
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&ending, signal);
        pthread_sigmask(SIG_BLOCK, &ending, &previous);
    }
    ~EndingSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }
};

// ----------------------------------------------------------------- writing --

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
// random name, which stays short whatever the target is called.
int createTemporary(const std::string& folder, std::string& name, TemporarySlot*& slot) {
    std::string pattern = folder + "/.kaleidomat-XXXXXX";
    const EndingSignalsHeld held;
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return fd;
    name = pattern;
    slot = remember(name);
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
    if (::stat(path.c_str(), &st) != 0) return {};  // not there yet, or the rename will say why
    return regularOnly(st);
}

}  // namespace

const std::error_category& FileErrorCategory() {
    static const FileErrors category;
    return category;
}

std::error_code make_error_code(FileError error) { return {static_cast<int>(error), FileErrorCategory()}; }

std::error_code ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    return readFrom(path, kLargestFile + 1, true, bytes);
}

std::error_code ReadFileStart(const std::string& path, std::size_t count, std::vector<uint8_t>& bytes) {
    return readFrom(path, count, false, bytes);
}

std::error_code ReplaceFile(const std::string& target, std::span<const uint8_t> bytes) {
    std::string path = target;
    if (std::error_code error = resolveLinks(path)) return error;
    if (std::error_code error = checkTarget(path)) return error;
    const std::string folder = folderOf(path);
    std::string temporary;
    TemporarySlot* slot = nullptr;
    const int fd = createTemporary(folder, temporary, slot);
    if (fd < 0) return lastError();

    std::error_code error = fill(fd, path, bytes);
    if (::close(fd) != 0 && !error) error = lastError();
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = lastError();
    if (error) ::unlink(temporary.c_str());
    forget(slot);
    if (!error) syncFolder(folder);
    return error;
}

void IgnoreFileSizeSignal() { ::signal(SIGXFSZ, SIG_IGN); }

void RemoveTemporariesOnSignals() {
    struct sigaction action {};
    action.sa_handler = removeTemporariesAndEnd;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&action.sa_mask, signal);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace io
