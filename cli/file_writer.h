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
//  - on any failure the temporary is removed and the target is left as it was.
// Returns the error of the step that failed; an empty code on success.
std::error_code ReplaceFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace cli
