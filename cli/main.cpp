// SPDX-License-Identifier: MIT
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "io/safe_files.h"

int main(int argc, char** argv) {
    // A file-size limit fails the write that meets it (reported like a full
    // disk, the old file kept) instead of killing the program; an interrupted
    // write leaves no temporary file behind.
    io::IgnoreFileSizeSignal();
    io::RemoveTemporariesOnSignals();
    std::vector<std::string> args(argv + 1, argv + argc);
    int status = cli::kExitOk;
    if (args == std::vector<std::string>{"--version"})
        std::cout << "kaleidomat-cli " << KALEIDOMAT_VERSION << '\n';
    else
        status = cli::Run(args, std::cout, std::cerr);
    // What is still buffered goes out now; output that could not be written
    // (a full disk, a closed pipe) is a failure, not a success.
    std::cout.flush();
    bool failed = !std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout);
    int error = errno;
    if (std::fclose(stdout) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    if (failed) {
        std::cerr << "kaleidomat-cli: cannot write to standard output: " << std::strerror(error) << '\n';
        if (status == cli::kExitOk) status = cli::kExitFailure;
    }
    return status;
}
