// SPDX-License-Identifier: MIT
// Loaded into a program with LD_PRELOAD: its first fsync waits until the FIFO
// named by KALEIDOMAT_TEST_FSYNC_GATE is opened for writing, so that a test can
// act while a file is being written (send a signal, say) without depending on
// timing.

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

extern "C" int fsync(int fd) {
    using Fsync = int (*)(int);
    static const Fsync real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    static bool waited = false;
    const char* gate = std::getenv("KALEIDOMAT_TEST_FSYNC_GATE");
    if (gate && !waited) {
        waited = true;
        const int opened = open(gate, O_RDONLY);  // returns once a writer opens the FIFO
        if (opened >= 0) close(opened);
    }
    return real(fd);
}
