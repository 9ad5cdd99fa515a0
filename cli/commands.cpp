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
#include <unistd.h>

#include <cstdio>

#include "cli/picture_files.h"
#include "cli/statistics.h"
#include "display/board_renderer.h"
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
    "  kaleidomat-cli animate IN.hxa OUT.webp -n N [--every K] [--frame-ms MS] [--seed S]\n"
    "  kaleidomat-cli stats IN.hxa -n N [--seed S] [--csv OUT.csv] [--svg OUT.svg]\n"
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
    "                              70 characters and a closing \"!\". A board\n"
    "                              (.hxa) is written as its torus, rule\n"
    "                              \"B3/S23:Tn,n\" for a board of side n, so that\n"
    "                              other Life programs run the same world; a\n"
    "                              pattern (.hxq) keeps \"B3/S23\".\n"
    "        from .rle or .cells   every live cell takes one colour: the one given\n"
    "                              with --color, or else one random colour drawn\n"
    "                              as the program draws them (red and green 1 to\n"
    "                              255; blue 1 to 255 when red or green is above\n"
    "                              128, otherwise 128 to 255). Only Conway's rule\n"
    "                              is accepted (B3/S23, also written b3s23, S23/B3\n"
    "                              or 23/3), and at most 200 x 200 cells. An RLE\n"
    "                              rule \"B3/S23:Tn,n\" (a square torus, n from 10\n"
    "                              to 200) makes a board of side n; other bounded\n"
    "                              grids are refused. The RLE header's x, y and\n"
    "                              rule may come in any order, after \"#\" lines.\n"
    "      --color RRGGBB  colour of imported live cells as six hexadecimal\n"
    "                      digits, for example ff8001; only for .rle and .cells\n"
    "                      input.\n"
    "      --size N        side of the written board, 10 to 200; only for .hxa\n"
    "                      output. Default: the source board's own size, the\n"
    "                      torus of an RLE rule (a different --size is refused),\n"
    "                      or for a pattern the smallest of 10, 20, ..., 200 that\n"
    "                      holds it. A live cell that falls off the board is\n"
    "                      refused.\n"
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
    "  animate IN.hxa OUT.webp -n N [--every K] [--frame-ms MS] [--seed S]\n"
    "      Runs N generations (0 to 1000000) and writes them as a lossless\n"
    "      animated WebP, each frame drawn as render draws it, every colour\n"
    "      exact: frame 0 is the loaded board, then every K-th generation\n"
    "      (default 1) and generation N. Each frame shows for MS milliseconds\n"
    "      (1 to 60000, default 100); the animation loops. Frames are encoded\n"
    "      as they are made; when stderr is a terminal the progress is shown\n"
    "      there. --seed as for step.\n"
    "\n"
    "  stats IN.hxa -n N [--seed S] [--csv OUT.csv] [--svg OUT.svg]\n"
    "      Runs N generations (0 to 1000000) and measures the loaded board and\n"
    "      every generation: population, births and deaths since the previous\n"
    "      generation, the number of distinct colours among the live cells and\n"
    "      the share of the most common colour (0 to 1). --csv writes the table\n"
    "      (a header line \"generation,population,births,deaths,colours,\n"
    "      top_colour_share\", then N + 1 rows; the loaded board is generation\n"
    "      1, as in step); --svg draws population and distinct colours over the\n"
    "      generations as a line chart. Without either, prints one line of\n"
    "      summary. --seed as for step.\n"
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
    engine::Stepper stepper;
    for (int32_t i = 0; i < generations; ++i) stepper.ReCalc(board, random);
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
    out << KindName(*kind) << ' ' << cells.block.w << " x " << cells.block.h << ", " << cellCount(live);
    if (cells.fromTorusRule)
        out << ", on a " << *cells.boardGridMax + 1 << " x " << *cells.boardGridMax + 1 << " torus";
    out << '\n';
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
            if (size && cells.fromTorusRule && *size != *cells.boardGridMax + 1)
                throw Failure(in + ": its rule asks for a " + std::to_string(*cells.boardGridMax + 1) + " x " +
                              std::to_string(*cells.boardGridMax + 1) + " torus, not --size " + std::to_string(*size));
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
            io::LifeGrid grid = io::GridFromBlock(block);
            // A board is a world of its own: its RLE names the torus, so that other
            // Life programs run the same world. A pattern has none.
            if (cells.boardGridMax) grid.torusSide = *cells.boardGridMax + 1;
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

// The board as the window draws it.
display::PixelImage picture(const engine::Board& board) {
    display::PixelImage image;
    image.resize(kBoardPixels, kBoardPixels);
    display::RenderBoard(board, image, display::BevelColors{});
    return image;
}

int renderCommand(const std::vector<std::string>& argv, std::ostream&) {
    const Arguments args = parseArguments("render", argv, {}, 2);
    WriteWholeFile(args.positional[1], EncodePng(picture(LoadBoard(args.positional[0]))));
    return kExitOk;
}

// Longest runs of animate and stats: far beyond what a picture or a chart
// shows, and a stats table of this length still fits in memory easily.
constexpr int32_t kMaxRunGenerations = 1000000;

int32_t generationsFrom(const Arguments& args, const std::string& command) {
    const std::string* n = args.option("-n");
    if (!n) throw UsageError(command + " needs -n N, the number of generations");
    return parseNumber<int32_t>("-n", *n, 0, kMaxRunGenerations);
}

int animateCommand(const std::vector<std::string>& argv, std::ostream&, std::ostream& err) {
    const Arguments args = parseArguments("animate", argv, {"-n", "--every", "--frame-ms", "--seed"}, 2);
    const int32_t generations = generationsFrom(args, "animate");
    int32_t every = 1, frameMs = 100;
    if (const std::string* k = args.option("--every"))
        every = parseNumber<int32_t>("--every", *k, 1, kMaxRunGenerations);
    if (const std::string* ms = args.option("--frame-ms")) frameMs = parseNumber<int32_t>("--frame-ms", *ms, 1, 60000);
    engine::RandomSequence random(seedFrom(args));
    engine::Board board = LoadBoard(args.positional[0]);

    // Frame 0 is the board as loaded, then every K-th generation, and the
    // last generation in any case.
    const int32_t frames = 1 + generations / every + (generations % every != 0 ? 1 : 0);
    const bool showProgress = ::isatty(STDERR_FILENO) == 1;
    WebpAnimation animation(kBoardPixels, kBoardPixels);
    animation.add(picture(board), frameMs);
    engine::Stepper stepper;
    for (int32_t g = 1, frame = 1; g <= generations; ++g) {
        stepper.ReCalc(board, random);
        if (g % every != 0 && g != generations) continue;
        animation.add(picture(board), frameMs);
        if (showProgress) err << "\ranimate: frame " << ++frame << " of " << frames << std::flush;
    }
    if (showProgress && frames > 1) err << '\n';
    animation.finish(args.positional[1]);
    return kExitOk;
}

int statsCommand(const std::vector<std::string>& argv, std::ostream& out) {
    const Arguments args = parseArguments("stats", argv, {"-n", "--seed", "--csv", "--svg"}, 1);
    const int32_t generations = generationsFrom(args, "stats");
    engine::RandomSequence random(seedFrom(args));
    const std::vector<GenerationStats> rows = RunStatistics(LoadBoard(args.positional[0]), generations, random);
    const auto write = [](const std::string& path, const std::string& text) {
        WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
    };
    if (const std::string* csv = args.option("--csv")) write(*csv, StatisticsCsv(rows));
    if (const std::string* svg = args.option("--svg")) write(*svg, StatisticsSvg(rows));
    if (!args.option("--csv") && !args.option("--svg")) out << StatisticsSummary(rows);
    return kExitOk;
}

struct Command {
    const char* name;
    std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)> run;
};

// A command that writes no messages of its own.
template <int (*command)(const std::vector<std::string>&, std::ostream&)>
int quiet(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    return command(args, out);
}

// New subcommands are added here.
const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {"step", quiet<stepCommand>},
        {"info", quiet<infoCommand>},
        {"convert", quiet<convertCommand>},
        {"random", quiet<randomCommand>},
        {"render", quiet<renderCommand>},
        {"animate", animateCommand},
        {"stats", quiet<statsCommand>},
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
            if (args[0] == command.name) return command.run(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
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
