#include "cli/commands.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <new>
#include <optional>
#include <ostream>
#include <set>

#include "cli/cell_files.h"
#include "display/board_renderer.h"
#include "display/png_writer.h"
#include "engine/rules.h"

namespace cli {

namespace {

constexpr const char* kProgram = "kaleidomat-cli";

// The drawing area of the window's board picture.
constexpr int kBoardPixels = 480;

constexpr const char* kUsage =
    "Usage:\n"
    "  kaleidomat-cli step IN.hxa OUT.hxa [-n N] [--seed S]\n"
    "  kaleidomat-cli info FILE\n"
    "  kaleidomat-cli convert IN OUT [--color RRGGBB] [--size N] [--seed S]\n"
    "  kaleidomat-cli random OUT.hxa [--size N] [--seed S]\n"
    "  kaleidomat-cli render IN.hxa OUT.png\n"
    "  kaleidomat-cli --help\n";

constexpr const char* kHelp =
    "kaleidomat-cli: Kaleidomat's boards and patterns without the window.\n"
    "\n"
    "Commands:\n"
    "  step IN.hxa OUT.hxa [-n N] [--seed S]\n"
    "      Loads the board IN.hxa, runs N generations (default 1; 0 only rewrites\n"
    "      the board) and writes the result to OUT.hxa, which may be IN.hxa.\n"
    "      A generation is Conway's rule (B3/S23) on the torus with colour\n"
    "      inheritance: a survivor keeps its colour, a newborn takes red, green\n"
    "      and blue from its three parents in scan order, and one birth in a\n"
    "      thousand mutates to a random colour. Auto-stimulation is not applied.\n"
    "      The loaded board starts at generation 1 (files do not store the\n"
    "      generation). Prints \"generation G, population P\" for the final board.\n"
    "      -n N      number of generations, 0 to 2147483646.\n"
    "      --seed S  seeds the random sequence of the mutations with the whole\n"
    "                number S (0 to 18446744073709551615), so that a run repeats\n"
    "                exactly; without it the clock seeds it.\n"
    "\n"
    "  info FILE\n"
    "      Prints the kind, size and number of live cells of a board (.hxa),\n"
    "      pattern (.hxq), RLE (.rle) or plaintext (.cells) file, for example\n"
    "      \"board 50 x 50, 512 live cells\". Board and pattern files are\n"
    "      recognised by their contents, text patterns by their extension.\n"
    "\n"
    "  convert IN OUT [--color RRGGBB] [--size N] [--seed S]\n"
    "      Converts between board files (.hxa), pattern files (.hxq) and the\n"
    "      Life community's text formats RLE (.rle) and plaintext (.cells); the\n"
    "      extension of each file names its format (in any case).\n"
    "        .hxa to .hxq          the whole board becomes the pattern.\n"
    "        a pattern to .hxa     the pattern is placed with its top-left cell on\n"
    "                              (0, 0) of an otherwise empty board; a board\n"
    "                              file keeps live cells only.\n"
    "        to .rle or .cells     only live and dead are written: COLOURS ARE\n"
    "                              LOST. RLE is written with the header\n"
    "                              \"x = W, y = H, rule = B3/S23\", lines of at most\n"
    "                              70 characters and a closing \"!\".\n"
    "        from .rle or .cells   every live cell takes one colour: the one given\n"
    "                              with --color, or else one random colour drawn\n"
    "                              as the program draws them (red and green 1 to\n"
    "                              255; blue 1 to 255 when red or green is above\n"
    "                              128, otherwise 128 to 255). Only Conway's rule\n"
    "                              is accepted (B3/S23, also written 23/3), and at\n"
    "                              most 200 x 200 cells.\n"
    "      --color RRGGBB  colour of imported live cells as six hexadecimal\n"
    "                      digits, for example ff8001; only for .rle and .cells\n"
    "                      input.\n"
    "      --size N        side of the written board, 10 to 200; only for .hxa\n"
    "                      output. Default: the source board's own size, or for\n"
    "                      a pattern the smallest of 10, 20, ..., 200 that holds\n"
    "                      it. A live cell that falls off the board is refused.\n"
    "      --seed S        seeds the random colour of imported cells (ignored\n"
    "                      for .hxa and .hxq input, which keep their colours).\n"
    "\n"
    "  random OUT.hxa [--size N] [--seed S]\n"
    "      Writes an N x N board (default 50, 10 to 200) seeded as the program's\n"
    "      Random command seeds it: each cell is live with probability 1/5 and\n"
    "      gets a random colour. --seed makes the board repeatable.\n"
    "\n"
    "  render IN.hxa OUT.png\n"
    "      Draws the board as the window shows it (480 x 480 pixels, every live\n"
    "      cell a square of its colour with a raised rim, dead cells black) and\n"
    "      writes the picture as a PNG file.\n"
    "\n"
    "Exit status: 0 done; 1 a file could not be read, used or written (one line\n"
    "on stderr names the file and what is wrong); 2 the command line is wrong\n"
    "(the usage is printed on stderr).\n";

// A wrong command line; exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Positional arguments and "--name value" / "--name=value" options.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;

    const std::string* option(const std::string& name) const {
        const auto it = options.find(name);
        return it == options.end() ? nullptr : &it->second;
    }
};

Arguments parseArguments(const std::string& command, const std::vector<std::string>& args,
                         const std::set<std::string>& allowed, std::size_t positionalCount) {
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            parsed.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (const std::size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        }
        if (!allowed.count(name)) throw UsageError("unknown option " + name + " for " + command);
        if (!value) {
            if (i + 1 >= args.size()) throw UsageError("option " + name + " needs a value");
            value = args[++i];
        }
        parsed.options[name] = *value;
    }
    if (parsed.positional.size() != positionalCount)
        throw UsageError(command + " takes " + std::to_string(positionalCount) +
                         (positionalCount == 1 ? " file" : " files") + ", got " +
                         std::to_string(parsed.positional.size()));
    return parsed;
}

template <typename T>
T parseNumber(const std::string& option, const std::string& text, T low, T high) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
        throw UsageError(option + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                         ", not '" + text + "'");
    return value;
}

uint64_t seedFrom(const Arguments& args) {
    if (const std::string* s = args.option("--seed"))
        return parseNumber<uint64_t>("--seed", *s, 0, std::numeric_limits<uint64_t>::max());
    return engine::RandomSequence::clockSeed();
}

std::optional<int32_t> sizeFrom(const Arguments& args) {
    if (const std::string* s = args.option("--size"))
        return parseNumber<int32_t>("--size", *s, engine::kMinGridMax + 1, engine::kMaxGridMax + 1);
    return std::nullopt;
}

io::CellEntry parseColour(const std::string& text) {
    std::string_view hex = text;
    if (!hex.empty() && hex.front() == '#') hex.remove_prefix(1);
    unsigned value = 0;
    const auto [ptr, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (hex.size() != 6 || ec != std::errc() || ptr != hex.data() + hex.size())
        throw UsageError("--color needs six hexadecimal digits RRGGBB, not '" + text + "'");
    return io::CellEntry{1, static_cast<uint8_t>(value >> 16), static_cast<uint8_t>((value >> 8) & 0xFF),
                         static_cast<uint8_t>(value & 0xFF)};
}

FileKind kindOf(const std::string& path) {
    if (const auto kind = KindFromExtension(path)) return *kind;
    throw UsageError("cannot tell the format of '" + path + "': use .hxa, .hxq, .rle or .cells");
}

void requireBoardName(const std::string& path) {
    const auto kind = KindFromExtension(path);
    if (kind && *kind != FileKind::Board) throw UsageError("'" + path + "' is not a board file name (.hxa)");
}

std::string cellCount(int64_t n) { return std::to_string(n) + (n == 1 ? " live cell" : " live cells"); }

// ---- commands -----------------------------------------------------------------

int stepCommand(const std::vector<std::string>& argv, std::ostream& out) {
    const Arguments args = parseArguments("step", argv, {"-n", "--seed"}, 2);
    const std::string& in = args.positional[0];
    const std::string& outPath = args.positional[1];
    requireBoardName(outPath);
    int32_t generations = 1;
    if (const std::string* n = args.option("-n"))
        generations = parseNumber<int32_t>("-n", *n, 0, std::numeric_limits<int32_t>::max() - 1);
    engine::RandomSequence random(seedFrom(args));

    engine::Board board = LoadBoard(in);
    for (int32_t i = 0; i < generations; ++i) engine::ReCalc(board, random);
    board.Population() = board.countLive();
    SaveBoard(outPath, board);
    out << "generation " << board.Generation << ", population " << board.Population() << '\n';
    return kExitOk;
}

int infoCommand(const std::vector<std::string>& argv, std::ostream& out) {
    const Arguments args = parseArguments("info", argv, {}, 1);
    const std::string& path = args.positional[0];
    // Board and pattern files carry a signature; text patterns are told by name.
    const std::vector<uint8_t> head = ReadWholeFile(path);
    const auto startsWith = [&](const char* signature) {
        const std::string_view s(signature);
        return head.size() >= s.size() && std::equal(s.begin(), s.end(), head.begin());
    };
    std::optional<FileKind> kind;
    if (startsWith(io::kBoardSignature))
        kind = FileKind::Board;
    else if (startsWith(io::kPatternSignature))
        kind = FileKind::Pattern;
    else
        kind = KindFromExtension(path);
    if (!kind) throw Failure(path + ": not a board, pattern, RLE or plaintext file");
    const LoadedCells cells = LoadCells(path, *kind, io::CellEntry{1, 255, 255, 255});
    const auto live = std::count_if(cells.block.entries.begin(), cells.block.entries.end(),
                                    [](const io::CellEntry& e) { return e.State != 0; });
    out << KindName(*kind) << ' ' << cells.block.w << " x " << cells.block.h << ", " << cellCount(live) << '\n';
    return kExitOk;
}

int convertCommand(const std::vector<std::string>& argv, std::ostream&) {
    const Arguments args = parseArguments("convert", argv, {"--color", "--size", "--seed"}, 2);
    const std::string& in = args.positional[0];
    const std::string& outPath = args.positional[1];
    const FileKind from = kindOf(in);
    const FileKind to = kindOf(outPath);
    const bool fromText = from == FileKind::Rle || from == FileKind::Plaintext;
    const std::optional<int32_t> size = sizeFrom(args);
    if (size && to != FileKind::Board) throw UsageError("--size applies only to a board file (.hxa) as output");
    if (args.option("--color") && !fromText)
        throw UsageError("--color applies only to .rle and .cells input; board and pattern files keep their colours");

    io::CellEntry colour{1, 0, 0, 0};
    if (const std::string* c = args.option("--color")) {
        colour = parseColour(*c);
    } else if (fromText) {
        engine::RandomSequence random(seedFrom(args));
        engine::CellRecord drawn;
        engine::RandomColor(random, drawn);
        colour = io::CellEntry{1, static_cast<uint8_t>(drawn.Red), static_cast<uint8_t>(drawn.Green),
                               static_cast<uint8_t>(drawn.Blue)};
    }

    LoadedCells cells = LoadCells(in, from, colour);
    io::CellBlock& block = cells.block;
    switch (to) {
        case FileKind::Board: {
            int32_t side = 0;
            if (size)
                side = *size;
            else if (cells.boardGridMax)
                side = *cells.boardGridMax + 1;
            else  // the smallest board the program makes that holds the pattern
                side = std::max(10, (std::max(block.w, block.h) + 9) / 10 * 10);
            SaveBoard(outPath, BoardFromBlock(block, side - 1, in));
            break;
        }
        case FileKind::Pattern:
            if (block.w == 0 || block.h == 0) block = io::CellBlock{1, 1, {io::CellEntry{}}};  // an empty text pattern
            WriteWholeFile(outPath, io::EncodePatternFile(block));
            break;
        case FileKind::Rle:
        case FileKind::Plaintext: {
            const io::LifeGrid grid = GridFromBlock(block);
            const std::string text = to == FileKind::Rle
                                         ? io::WriteRle(grid)
                                         : io::WritePlaintext(grid, std::filesystem::path(outPath).stem().string());
            WriteWholeFile(outPath, std::vector<uint8_t>(text.begin(), text.end()));
            break;
        }
    }
    return kExitOk;
}

int randomCommand(const std::vector<std::string>& argv, std::ostream&) {
    const Arguments args = parseArguments("random", argv, {"--size", "--seed"}, 1);
    const std::string& outPath = args.positional[0];
    requireBoardName(outPath);
    const int32_t side = sizeFrom(args).value_or(engine::kStartGridMax + 1);
    engine::RandomSequence random(seedFrom(args));
    engine::Board board;
    board.create(side - 1);
    engine::Init(board, random);
    SaveBoard(outPath, board);
    return kExitOk;
}

int renderCommand(const std::vector<std::string>& argv, std::ostream&) {
    const Arguments args = parseArguments("render", argv, {}, 2);
    const engine::Board board = LoadBoard(args.positional[0]);
    platform::PixelImage image;
    image.resize(kBoardPixels, kBoardPixels);
    display::RenderBoard(board, image, platform::BevelColors{});
    WriteWholeFile(args.positional[1], display::EncodePng(image));
    return kExitOk;
}

struct Command {
    const char* name;
    std::function<int(const std::vector<std::string>&, std::ostream&)> run;
};

// New subcommands are added here.
const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"step", stepCommand},
        {"info", infoCommand},
        {"convert", convertCommand},
        {"random", randomCommand},
        {"render", renderCommand},
    };
    return table;
}

bool wantsHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (!args.empty() && (wantsHelp(args) || args[0] == "help")) {
            out << kHelp;
            return kExitOk;
        }
        if (args.empty()) throw UsageError("no command given");
        for (const Command& command : commands()) {
            if (args[0] == command.name) return command.run(std::vector<std::string>(args.begin() + 1, args.end()), out);
        }
        throw UsageError("unknown command '" + args[0] + "'");
    } catch (const UsageError& e) {
        err << kProgram << ": " << e.what() << '\n' << kUsage << "Run 'kaleidomat-cli --help' for details.\n";
        return kExitUsage;
    } catch (const Failure& e) {
        err << kProgram << ": " << e.what() << '\n';
        return kExitFailure;
    } catch (const std::bad_alloc&) {
        err << kProgram << ": out of memory\n";
        return kExitFailure;
    } catch (const std::exception& e) {
        err << kProgram << ": " << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace cli
