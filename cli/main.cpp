// SPDX-License-Identifier: MIT
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args == std::vector<std::string>{"--version"}) {
        std::cout << "kaleidomat-cli " << KALEIDOMAT_VERSION << '\n';
        return std::cout.flush() ? 0 : 1;
    }
    return cli::Run(args, std::cout, std::cerr);
}
