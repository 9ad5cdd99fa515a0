// SPDX-License-Identifier: MIT
#pragma once

#include "platform/services.h"

namespace platform::qt {

// Files read and written through io/safe_files.h, folders listed through QDir;
// paths are UTF-8.
class QtFileSystem : public platform::FileSystem {
public:
    bool exists(const std::string& path) override;
    Result<std::vector<uint8_t>> readFile(const std::string& path) override;
    Result<void> writeFile(const std::string& path, const std::vector<uint8_t>& bytes) override;
    std::vector<std::string> list(const std::string& directory, const std::string& suffix) override;
    std::string programDirectory() override;
    std::string currentDirectory() override;
};

}  // namespace platform::qt
