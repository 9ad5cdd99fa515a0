// SPDX-License-Identifier: MIT
#pragma once

// Reading and replacing the user's files, for the window and kaleidomat-cli
// alike. Standard library and POSIX only.
//
// Reading: a file is read whole only when it is a regular file of at most
// 64 MiB; a FIFO, a device, a socket or a folder is refused without waiting
// for it (opened non-blocking, and checked before and after opening).
//
// Writing: the bytes go to a new temporary file beside the target, which is
// renamed over the target only once it is complete and on disk; see
// ReplaceFile.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <system_error>
#include <vector>

namespace io {

// No file of the program's is near this size (a full 200 x 200 board is
// 280 kB); anything larger, or a file that never ends, is not read.
inline constexpr std::size_t kLargestFile = 64u << 20;

// Refusals of our own, beside the system's errors. Their messages:
// NotRegularFile "Not a regular file", TooLarge "File too large".
enum class FileError { NotRegularFile = 1, TooLarge };
const std::error_category& FileErrorCategory();
std::error_code make_error_code(FileError error);

// The whole file into `bytes`. Fails with std::errc::is_a_directory for a
// folder, FileError::NotRegularFile for anything else that is not a regular
// file, FileError::TooLarge over kLargestFile, or the system's error.
std::error_code ReadFile(const std::string& path, std::vector<uint8_t>& bytes);

// Only the file's first `count` bytes at most (fewer when it is shorter),
// however large it is; the same refusals but TooLarge.
std::error_code ReadFileStart(const std::string& path, std::size_t count, std::vector<uint8_t>& bytes);

// Writes `bytes` to `path`, all or nothing:
//  - the temporary is created exclusively (O_CREAT | O_EXCL, so no symbolic
//    link or file already there is followed or reused) under a short unique
//    name of its own, so two writers of one target never share it and the
//    longest target name still leaves room for it;
//  - it is written, flushed to disk, given the target's permission bits (or
//    those a new file gets under the umask), renamed over the target, and the
//    folder is flushed so that the rename lasts;
//  - a target that is a symbolic link is written through: the link stays and
//    the file it points to is replaced (created when it does not exist);
//  - a target that exists but is no regular file is refused: a folder with
//    std::errc::is_a_directory, anything else (a device, a FIFO, a socket)
//    with FileError::NotRegularFile;
//  - a hard-linked target is replaced like any other, so it leaves the link:
//    writing into the shared file instead would not be all or nothing;
//  - on any failure the temporary is removed and the target is left as it
//    was. A file-size limit fails the write with std::errc::file_too_large
//    once SIGXFSZ is ignored (IgnoreFileSizeSignal), as a full disk does.
// Returns the error of the step that failed; an empty code on success.
std::error_code ReplaceFile(const std::string& path, std::span<const uint8_t> bytes);

// Makes a file-size limit a write error instead of the end of the process.
void IgnoreFileSizeSignal();

// On SIGTERM, SIGINT and SIGHUP, removes the temporaries ReplaceFile has open
// at that moment, then ends the process by the same signal, as it would have
// ended without this. A signal the process was started with ignored stays
// ignored.
void RemoveTemporariesOnSignals();

}  // namespace io

template <>
struct std::is_error_code_enum<io::FileError> : std::true_type {};
