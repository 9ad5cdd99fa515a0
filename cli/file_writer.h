// SPDX-License-Identifier: MIT
#pragma once

// Replacing a file safely: the bytes go to a new temporary file in the
// target's folder, which is renamed over the target only once it is complete
// and on disk. Standard library and POSIX only.

#include <cstdint>
#include <span>
#include <string>
#include <system_error>

namespace cli {

// Writes `bytes` to `path`, all or nothing:
//  - the temporary is created exclusively (O_CREAT | O_EXCL, so no symbolic
//    link or file already there is followed or reused) under a short unique
//    name of its own, so two writers of one target never share it and a long
//    target name still leaves room for it;
//  - it is written, flushed to disk, given the target's permission bits (or
//    those a new file gets under the umask), renamed over the target, and the
//    folder is flushed so that the rename lasts;
//  - a target that is a symbolic link is written through: the link stays and
//    the file it points to is replaced (created when it does not exist);
//  - a target that exists but is no regular file is refused: a folder with
//    std::errc::is_a_directory, anything else (a device, a FIFO, a socket)
//    with an error that IsNotRegularFile recognises;
//  - a hard-linked target is replaced like any other, so it leaves the link:
//    writing into the shared file instead would not be all or nothing;
//  - on any failure the temporary is removed and the target is left as it was.
// Returns the error of the step that failed; an empty code on success.
std::error_code ReplaceFile(const std::string& path, std::span<const uint8_t> bytes);

// Whether ReplaceFile refused a target that is neither a regular file nor a folder.
bool IsNotRegularFile(std::error_code error);

}  // namespace cli
