// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <memory>

namespace cli {

namespace {

constexpr std::size_t kHelpColumn = 22;

// CLI11's formatter, without its own usage line at the top level: the
// program's description ends with the usage of every command instead.
class Formatter : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App* app, std::string name) const override {
        return app->get_parent() ? CLI::Formatter::make_usage(app, std::move(name)) : std::string();
    }
};

std::optional<uint64_t> wholeNumber(const std::string& text) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || stop != end) return std::nullopt;
    return value;
}

// The check CLI11 runs on an option's value as it parses it.
CLI::Validator validatorFor(const OptionEntry& entry) {
    if (entry.range) {
        const auto [low, high] = *entry.range;
        return CLI::Validator(
            [low, high](std::string& text) -> std::string {
                const std::optional<uint64_t> value = wholeNumber(text);
                if (value && *value >= low && *value <= high) return "";
                return "needs a whole number from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                       text + "'";
            },
            "");
    }
    const auto check = entry.check;
    return CLI::Validator([check](std::string& text) { return check ? check(text) : std::string(); }, "");
}

// One subcommand of the parser; what it is given lands in `arguments`, the
// options through `values` (one string per option, in table order).
void addCommand(CLI::App& app, const CommandEntry& entry, Arguments& arguments, std::vector<CLI::Option*>& options,
                std::vector<std::string>& values) {
    CLI::App* command = app.add_subcommand(entry.name, entry.help);
    command->group("Commands");
    arguments.files.resize(entry.files.size());
    // Extras are left to the caller, which names them better than "not expected".
    command->allow_extras();
    for (std::size_t i = 0; i < entry.files.size(); ++i)
        command->add_option(entry.files[i].name, arguments.files[i], entry.files[i].help)->required()->type_name("");
    values.resize(entry.options.size());
    for (std::size_t i = 0; i < entry.options.size(); ++i) {
        const OptionEntry& o = entry.options[i];
        // No placeholder: a flag, which takes no value ("--flat=no" is refused).
        CLI::Option* option = *o.placeholder == '\0'
                                  ? command->add_flag(o.name, o.help)->disable_flag_override()
                                  : command->add_option(o.name, values[i], o.help)
                                        ->type_name(o.placeholder)
                                        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
                                        ->check(validatorFor(o));
        if (o.required) option->required();
        options.push_back(option);
    }
}

std::string fullHelp(const CLI::App& app) { return app.help("", CLI::AppFormatMode::All); }

// What the parser leaves over: an option the command does not have, or more
// files than it takes, which a command that takes any number of files gets in
// `files`. "--" (after which everything is a file) is left over too.
void takeExtras(const CLI::App& command, const CommandEntry& entry, std::vector<std::string>& more) {
    const std::size_t wanted = entry.files.size();
    std::size_t files = wanted;
    bool optionsEnded = false;
    for (const std::string& extra : command.remaining()) {
        if (!optionsEnded && extra == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && extra.size() > 1 && extra[0] == '-') {
            throw UsageError("unknown option " + extra.substr(0, extra.find('=')) + " for " + entry.name);
        } else {
            ++files;
            more.push_back(extra);
        }
    }
    if (files > wanted && !entry.moreFiles)
        throw UsageError(std::string(entry.name) + " takes " + std::to_string(wanted) +
                         (wanted == 1 ? " file" : " files") + ", got " + std::to_string(files));
}

bool isCommand(const ProgramTable& program, const std::string& name) {
    for (const CommandEntry& command : program.commands)
        if (name == command.name) return true;
    return false;
}

}  // namespace

const std::string* Arguments::option(const std::string& name) const {
    const auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
}

std::optional<uint64_t> Arguments::number(const std::string& name) const {
    const std::string* text = option(name);
    return text ? wholeNumber(*text) : std::nullopt;
}

Request ParseCommandLine(const ProgramTable& program, const std::vector<std::string>& args) {
    if (args.empty()) throw UsageError("no command given");
    const bool help = args[0] == "help" || args[0] == "-h" || args[0] == "--help";
    if (!help && !isCommand(program, args[0])) throw UsageError("unknown command '" + args[0] + "'");

    std::string description = std::string(program.description) + "\n\n" + UsageLines(program);
    description.pop_back();  // the help adds the line's end
    CLI::App app(description, program.name);
    app.footer(program.footer);
    app.require_subcommand(1);
    const auto formatter = std::make_shared<Formatter>();
    formatter->column_width(kHelpColumn);
    formatter->label("REQUIRED", "");
    formatter->label("Positionals", "Files");
    app.formatter(formatter);

    const std::size_t count = program.commands.size();
    std::vector<Arguments> arguments(count);
    std::vector<std::vector<CLI::Option*>> options(count);
    std::vector<std::vector<std::string>> values(count);
    for (std::size_t c = 0; c < count; ++c) addCommand(app, program.commands[c], arguments[c], options[c], values[c]);

    if (args[0] == "help") return Request{nullptr, {}, fullHelp(app)};
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 takes them
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return Request{nullptr, {}, app.get_subcommands().empty() ? fullHelp(app) : app.help()};
    } catch (const CLI::ParseError& e) {
        throw UsageError(e.what());
    }
    for (std::size_t c = 0; c < count; ++c) {
        if (!app.got_subcommand(program.commands[c].name)) continue;
        takeExtras(*app.get_subcommand(program.commands[c].name), program.commands[c], arguments[c].files);
        for (std::size_t i = 0; i < options[c].size(); ++i)
            if (options[c][i]->count() > 0) arguments[c].options[program.commands[c].options[i].name] = values[c][i];
        return Request{&program.commands[c], std::move(arguments[c]), {}};
    }
    throw UsageError("no command given");
}

std::string UsageLines(const ProgramTable& program) {
    std::string lines = "Usage:\n";
    for (const CommandEntry& command : program.commands) {
        lines += std::string("  ") + program.name + " " + command.name;
        for (const FileEntry& file : command.files) lines += std::string(" ") + file.name;
        for (const OptionEntry& o : command.options) {
            const std::string option = *o.placeholder == '\0' ? o.name : std::string(o.name) + " " + o.placeholder;
            lines += o.required ? " " + option : " [" + option + "]";
        }
        lines += '\n';
    }
    return lines + "  " + program.name + " --help\n";
}

}  // namespace cli
