// SPDX-License-Identifier: MIT
#pragma once
// A test fixture that runs kaleidomat-cli's commands in-process, inside a
// temporary folder of its own that is removed after each test.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

class CliFixture : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir_); }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    // Runs one command line; without `err` a failure is reported with its message.
    int run(const std::vector<std::string>& args, std::string* out = nullptr, std::string* err = nullptr) {
        std::ostringstream o, e;
        const int status = cli::Run(args, o, e);
        if (out) *out = o.str();
        if (err) *err = e.str();
        EXPECT_TRUE(err || status == 0) << e.str();
        return status;
    }

    const std::filesystem::path dir_ =
        std::filesystem::temp_directory_path() /
        ("kaleidomat-cli-" + std::to_string(::getpid()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
};
