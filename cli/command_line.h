// SPDX-License-Identifier: MIT
#pragma once

// kaleidomat-cli's command line: one table of commands, their files and their
// options gives the parser (CLI11), the check of every value, the short usage
// and the help text.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

// A wrong command line; exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The files and options one command was given.
struct Arguments {
    std::vector<std::string> files;
    std::map<std::string, std::string> options;  // given options by name, values as written

    const std::string* option(const std::string& name) const;
    // A whole-number option's value, already checked against its range.
    std::optional<uint64_t> number(const std::string& name) const;
};

struct OptionEntry {
    const char* name;         // "-n", "--seed"
    const char* placeholder;  // "N", shown in the usage and the help; "" for a flag without a value
    const char* help;
    // A whole number from low to high ...
    std::optional<std::pair<uint64_t, uint64_t>> range = std::nullopt;
    // ... or text, which this checks when set: why the value is wrong, "" when it is right.
    std::string (*check)(const std::string& value) = nullptr;
    bool required = false;
};

struct FileEntry {
    const char* name;  // "IN.hxa"
    const char* help;
};

struct CommandEntry {
    const char* name;
    std::vector<FileEntry> files;  // the files it takes, in order
    std::vector<OptionEntry> options;
    const char* help;
    std::function<int(const Arguments&, std::ostream& out, std::ostream& err)> run;
    bool moreFiles = false;  // any number of files after those listed (at least one of the last)
};

struct ProgramTable {
    const char* name;
    const char* description;  // the help's first lines
    const char* footer;       // the help's last lines
    std::vector<CommandEntry> commands;
};

// What a command line asks for: a command and its arguments, or (command
// null) the help text.
struct Request {
    const CommandEntry* command = nullptr;
    Arguments arguments;
    std::string help;
};

// "--help" or "-h" (or the command "help") asks for the help: of every
// command in full, or after a command's name of that command. Throws
// UsageError for anything the table does not allow.
Request ParseCommandLine(const ProgramTable& program, const std::vector<std::string>& args);

// One line per command: "  kaleidomat-cli step IN.hxa OUT.hxa [-n N] [--seed S]".
std::string UsageLines(const ProgramTable& program);

}  // namespace cli
