// SPDX-License-Identifier: MIT
#include "cli/commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <new>
#include <optional>
#include <ostream>

#include "cli/any_board.h"
#include "cli/cell_files.h"
#include "cli/command_line.h"
#include "cli/picture_files.h"
#include "cli/tournament_commands.h"
#include "analysis/lineage_tables.h"
#include "analysis/statistics.h"
#include "analysis/tournament.h"
#include "display/board_renderer.h"
#include "engine/lineage.h"
#include "engine/rules.h"
#include "engine/stimulation.h"
#include "io/life_import.h"

namespace cli {

namespace {

constexpr const char* kProgram = "kaleidomat-cli";

// Longest runs of step, and of animate and stats: far beyond what a picture
// or a chart shows, and a stats table of this length still fits in memory.
constexpr uint64_t kMaxStepGenerations = std::numeric_limits<int32_t>::max() - 1;
constexpr uint64_t kMaxRunGenerations = 1000000;

// ---- option values ------------------------------------------------------------

// "RRGGBB" or "#RRGGBB" as a live cell of that colour.
std::optional<io::CellEntry> colourFrom(const std::string& text) {
    std::string_view hex = text;
    if (!hex.empty() && hex.front() == '#') hex.remove_prefix(1);
    unsigned value = 0;
    const auto [ptr, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
    if (hex.size() != 6 || ec != std::errc() || ptr != hex.data() + hex.size()) return std::nullopt;
    return io::CellEntry{1, static_cast<uint8_t>(value >> 16), static_cast<uint8_t>((value >> 8) & 0xFF),
                         static_cast<uint8_t>(value & 0xFF)};
}

std::string colourProblem(const std::string& text) {
    return colourFrom(text) ? "" : "needs six hexadecimal digits RRGGBB, not '" + text + "'";
}

uint64_t seedFrom(const Arguments& args) { return args.number("--seed").value_or(engine::RandomSequence::clockSeed()); }

std::optional<int32_t> sizeFrom(const Arguments& args) {
    if (const auto size = args.number("--size")) return static_cast<int32_t>(*size);
    return std::nullopt;
}

int32_t generationsFrom(const Arguments& args, int32_t fallback) {
    return static_cast<int32_t>(args.number("-n").value_or(static_cast<uint64_t>(fallback)));
}

// The format of an output file: only the four kinds convert writes.
FileKind kindOf(const std::string& path) {
    const auto kind = KindFromExtension(path);
    const bool gzipped = std::filesystem::path(path).extension() == ".gz" || std::filesystem::path(path).extension() == ".GZ";
    if (kind && !gzipped && (*kind == FileKind::Board || *kind == FileKind::Pattern || *kind == FileKind::Rle ||
                             *kind == FileKind::Plaintext))
        return *kind;
    throw UsageError("cannot tell the format of '" + path + "': use .hxa, .hxq, .rle or .cells");
}

void requireBoardName(const std::string& path) {
    if (KindFromExtension(path) != FileKind::Board) throw UsageError("'" + path + "' is not a board file name (.hxa)");
}

// An output's format comes from its name: `extension` (any case), or "-" for
// standard output where the command allows it.
void requireOutputName(const std::string& path, const char* kind, const char* extension, bool toStandardOutput) {
    if (toStandardOutput && path == kStandardOutput) return;
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    if (ext != extension)
        throw UsageError("'" + path + "' is not " + kind + " file name (" + extension + ")");
}

// An output that is an input under another name (the same name, a link)
// would be destroyed before it is read in full, or replaced by something
// else; only step rewrites its input on purpose.
void refuseSameFile(const std::string& in, const std::string& out) {
    struct stat a {}, b {};
    if (out == kStandardOutput || ::stat(in.c_str(), &a) != 0 || ::stat(out.c_str(), &b) != 0) return;
    if (a.st_dev == b.st_dev && a.st_ino == b.st_ino)
        throw UsageError("'" + out + "' is the input file '" + in + "'; write the output to another file");
}

std::string cellCount(int64_t n) { return std::to_string(n) + (n == 1 ? " live cell" : " live cells"); }

void writeText(const std::string& path, const std::string& text, std::ostream& out) {
    WriteOutput(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), out);
}

// How render and animate draw the board: the picture's pixels a side
// (--picture) and the cells' look (--flat).
struct PictureLayout {
    int size = display::kBoardPictureSize;
    display::CellLook look = display::CellLook::Raised;
};

PictureLayout layoutFrom(const Arguments& args) {
    PictureLayout layout;
    if (const auto size = args.number("--picture")) layout.size = static_cast<int>(*size);
    if (args.option("--flat")) layout.look = display::CellLook::Flat;
    return layout;
}

// The board as the window draws it on a picture of that size.
display::PixelImage picture(const engine::Board& board, const PictureLayout& layout) {
    display::PixelImage image;
    image.resize(layout.size, layout.size);
    display::RenderBoard(board, image, display::BevelColors{}, layout.look);
    return image;
}

// ---- step, info, random, render ------------------------------------------------

int stepCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    requireBoardName(args.files[1]);
    const int32_t generations = generationsFrom(args, 1);
    engine::RandomSequence random(seedFrom(args));
    engine::Board board = LoadAnyBoard(args.files[0], random);
    engine::Stepper stepper;
    stepper.useSecondThread(true);
    if (args.option("--as-window")) {
        // As the window's single steps after it has shown the loaded board.
        board.Generation = 0;
        engine::RecordPopulation(board, board.countLive());
        for (int32_t i = 0; i < generations; ++i) engine::StepAndStimulate(stepper, board, random);
    } else {
        for (int32_t i = 0; i < generations; ++i) stepper.ReCalc(board, random);
    }
    board.Population() = board.countLive();
    SaveBoard(args.files[1], board);
    out << "generation " << board.Generation << ", population " << board.Population() << '\n';
    return kExitOk;
}

int infoCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    const std::string& path = args.files[0];
    const std::optional<FileKind> kind = KindOfContents(path);
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

int randomCommand(const Arguments& args, std::ostream&, std::ostream&) {
    requireBoardName(args.files[0]);
    const int32_t side = sizeFrom(args).value_or(engine::kStartGridMax + 1);
    engine::RandomSequence random(seedFrom(args));
    engine::Board board;
    board.create(side - 1);
    engine::Init(board, random);
    SaveBoard(args.files[0], board);
    return kExitOk;
}

int renderCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    requireOutputName(args.files[1], "a PNG", ".png", true);
    refuseSameFile(args.files[0], args.files[1]);
    engine::RandomSequence random(seedFrom(args));
    WriteOutput(args.files[1], EncodePng(picture(LoadAnyBoard(args.files[0], random), layoutFrom(args))), out);
    return kExitOk;
}

// ---- convert ----------------------------------------------------------------------

// What convert is asked to do, its options checked against the two formats.
struct Conversion {
    std::string in, out;
    FileKind from, to;
    bool fromText;
    std::optional<int32_t> size;
};

// The input's kind is told by its contents: a name that says nothing is no
// hindrance, and the options are checked against what the file holds.
Conversion conversionFrom(const Arguments& args) {
    // Standard output carries RLE, the text format other Life programs read.
    const FileKind to = args.files[1] == kStandardOutput ? FileKind::Rle : kindOf(args.files[1]);
    if (sizeFrom(args) && to != FileKind::Board) throw UsageError("--size applies only to a board file (.hxa) as output");
    const auto checkColour = [&](std::optional<FileKind> from) {
        if (args.option("--color") && from && !IsLifePattern(*from))
            throw UsageError("--color applies only to .rle and .cells input; board and pattern files keep their colours");
    };
    checkColour(KindFromExtension(args.files[0]));  // before any file is read, where the name tells
    refuseSameFile(args.files[0], args.files[1]);
    const std::optional<FileKind> from = KindOfContents(args.files[0]);
    if (!from) throw Failure(args.files[0] + ": not a board, pattern, RLE or plaintext file");
    checkColour(from);
    Conversion c{args.files[0], args.files[1], *from, to, false, sizeFrom(args)};
    c.fromText = IsLifePattern(c.from);
    return c;
}

// The colour live cells of a text pattern take: --color, or one random
// colour drawn as the program draws them. Board and pattern files keep theirs.
io::CellEntry importColour(const Arguments& args, const Conversion& c) {
    if (const std::string* text = args.option("--color")) return *colourFrom(*text);
    if (!c.fromText) return io::CellEntry{1, 0, 0, 0};
    engine::RandomSequence random(seedFrom(args));
    engine::CellRecord drawn;
    engine::RandomColor(random, drawn);
    return io::CellEntry{1, static_cast<uint8_t>(drawn.Red), static_cast<uint8_t>(drawn.Green),
                         static_cast<uint8_t>(drawn.Blue)};
}

// The side of the written board: --size, the source's own world, or the
// smallest board the program makes that holds the pattern.
int32_t boardSide(const Conversion& c, const LoadedCells& cells) {
    if (c.size && cells.fromTorusRule && *c.size != *cells.boardGridMax + 1)
        throw Failure(c.in + ": its rule asks for a " + std::to_string(*cells.boardGridMax + 1) + " x " +
                      std::to_string(*cells.boardGridMax + 1) + " torus, not --size " + std::to_string(*c.size));
    if (c.size) return *c.size;
    if (cells.boardGridMax) return *cells.boardGridMax + 1;
    return io::SmallestBoardSide(cells.block.w, cells.block.h);
}

void writeLifeText(const Conversion& c, const LoadedCells& cells, std::ostream& out) {
    io::LifeGrid grid = io::GridFromBlock(cells.block);
    // A board is a world of its own: its RLE names the torus, so that other
    // Life programs run the same world. A pattern has none.
    if (cells.boardGridMax) grid.torusSide = *cells.boardGridMax + 1;
    writeText(c.out,
              c.to == FileKind::Rle ? cells.rleHeaderLines + io::WriteRle(grid)
                                    : io::WritePlaintext(grid, std::filesystem::path(c.out).stem().string()),
              out);
}

int convertCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    const Conversion c = conversionFrom(args);
    LoadedCells cells = LoadCells(c.in, c.from, importColour(args, c));
    switch (c.to) {
        case FileKind::Board: {
            // A board stays where it was; a pattern goes to the middle when it fits.
            const int32_t side = boardSide(c, cells);
            const auto [left, top] =
                c.from == FileKind::Board ? std::pair<int32_t, int32_t>{0, 0} : PatternOrigin(side, cells.block.w, cells.block.h);
            WriteOutput(c.out, io::EncodeBoardFile(BoardFromBlock(cells.block, side - 1, c.in, left, top)), out);
            break;
        }
        case FileKind::Pattern:
            if (cells.block.w == 0 || cells.block.h == 0) cells.block = io::CellBlock{1, 1, {io::CellEntry{}}};  // empty
            // The program reads no larger pattern file.
            if (cells.block.w > io::kMaxBlockSide || cells.block.h > io::kMaxBlockSide)
                throw Failure(c.in + ": " + std::to_string(cells.block.w) + " x " + std::to_string(cells.block.h) +
                              " cells do not fit a pattern file, which holds at most " +
                              std::to_string(io::kMaxBlockSide) + " x " + std::to_string(io::kMaxBlockSide));
            WriteOutput(c.out, io::EncodePatternFile(cells.block), out);
            break;
        case FileKind::Rle:
        case FileKind::Plaintext:
            writeLifeText(c, cells, out);
            break;
        case FileKind::Macrocell:
        case FileKind::Life105:
        case FileKind::Life106:
            break;  // kindOf refuses them as outputs
    }
    return kExitOk;
}

// ---- animate, stats -------------------------------------------------------------

int animateCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
    requireOutputName(args.files[1], "a WebP", ".webp", true);
    refuseSameFile(args.files[0], args.files[1]);
    const int32_t generations = generationsFrom(args, 0);
    const int32_t every = static_cast<int32_t>(args.number("--every").value_or(1));
    const int frameMs = static_cast<int>(args.number("--frame-ms").value_or(100));
    engine::RandomSequence random(seedFrom(args));
    engine::Board board = LoadAnyBoard(args.files[0], random);

    // Frame 0 is the board as loaded, then every K-th generation, and the
    // last generation in any case.
    const int32_t frames = 1 + generations / every + (generations % every != 0 ? 1 : 0);
    const bool showProgress = ::isatty(STDERR_FILENO) == 1;
    const PictureLayout layout = layoutFrom(args);
    WebpAnimation animation(layout.size, layout.size);
    animation.add(picture(board, layout), frameMs);
    engine::Stepper stepper;
    stepper.useSecondThread(true);
    for (int32_t g = 1, frame = 1; g <= generations; ++g) {
        stepper.ReCalc(board, random);
        if (g % every != 0 && g != generations) continue;
        animation.add(picture(board, layout), frameMs);
        if (showProgress) err << "\ranimate: frame " << ++frame << " of " << frames << std::flush;
    }
    if (showProgress && frames > 1) err << '\n';
    animation.finish(args.files[1], out);
    return kExitOk;
}

int statsCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    const std::string* csv = args.option("--csv");
    const std::string* svg = args.option("--svg");
    if (csv) requireOutputName(*csv, "a CSV", ".csv", true);
    if (svg) requireOutputName(*svg, "an SVG", ".svg", false);
    for (const std::string* output : {csv, svg})
        if (output) refuseSameFile(args.files[0], *output);
    engine::RandomSequence random(seedFrom(args));
    engine::Board board = LoadAnyBoard(args.files[0], random);
    const bool asWindow = args.option("--as-window") != nullptr;
    if (asWindow) board.Generation = 0;  // the window's counter when it opens a board at start-up
    const std::vector<analysis::GenerationStats> rows =
        analysis::RunStatistics(std::move(board), generationsFrom(args, 0), random, asWindow);
    if (csv) writeText(*csv, analysis::StatisticsCsv(rows, args.option("--families") != nullptr), out);
    if (svg) writeText(*svg, analysis::StatisticsSvg(rows), out);
    if (!csv && !svg) out << analysis::StatisticsSummary(rows);
    return kExitOk;
}

// ---- lineage ---------------------------------------------------------------------

int channelFrom(const std::string& name) {
    for (int c = 0; c < engine::kChannels; ++c)
        if (name == engine::ChannelName(c)) return c;
    return -1;
}

std::string channelProblem(const std::string& text) {
    return channelFrom(text) >= 0 ? "" : "needs red, green or blue, not '" + text + "'";
}

int lineageCommand(const Arguments& args, std::ostream& out, std::ostream&) {
    const std::string& prefix = *args.option("-o");
    const std::string phylogeny = prefix + ".phylogeny.csv", muller = prefix + ".muller.csv";
    for (const std::string* output : {&phylogeny, &muller}) refuseSameFile(args.files[0], *output);
    const int32_t generations = generationsFrom(args, 0);
    const std::string* channel = args.option("--channel");
    analysis::LineageRecorder recorder(channel ? channelFrom(*channel) : 0, args.number("--every").value_or(1));
    engine::RandomSequence random(seedFrom(args));
    engine::Board board = LoadAnyBoard(args.files[0], random);
    const bool asWindow = args.option("--as-window") != nullptr;
    if (asWindow) {
        // As the window after it has shown the loaded board (see step).
        board.Generation = 0;
        engine::RecordPopulation(board, board.countLive());
    }
    engine::Stepper stepper;
    engine::Lineage lineage;
    lineage.start(board);
    recorder.record(lineage);
    for (int32_t g = 0; g < generations; ++g) {
        if (asWindow) lineage.stepAndStimulate(stepper, board, random);
        else lineage.step(stepper, board, random);
        recorder.record(lineage);
    }
    writeText(phylogeny, recorder.phylogenyCsv(lineage), out);
    writeText(muller, recorder.mullerCsv(lineage), out);
    out << "generation " << board.Generation << ", population " << board.countLive() << ", founders "
        << lineage.foundersMade() << ", surviving red " << lineage.survivors(0) << " green " << lineage.survivors(1)
        << " blue " << lineage.survivors(2) << '\n';
    return kExitOk;
}

// ---- the command line -------------------------------------------------------------

const OptionEntry kSeed{"--seed", "S",
                       "seeds the random sequence of the mutations, so that\n"
                       "a run repeats exactly; without it the clock seeds it",
                       std::pair<uint64_t, uint64_t>{0, std::numeric_limits<uint64_t>::max()}};

// The picture of render and animate: from a few pixels a cell on the largest
// board down to a few cells a pixel; the largest picture is 64 MiB in memory.
constexpr std::pair<uint64_t, uint64_t> kPictureRange{16, 4096};
constexpr const char* kPictureHelp = "pixels a side of the picture, 16 to 4096 (default 480)";
constexpr const char* kFlatHelp = "live cells as flat squares of their colour, without\nthe raised rim";
// The switch --as-window of step and stats.
constexpr const char* kAsWindowHelp =
                           "runs as the window does after opening IN.hxa at\n"
                           "start-up (kaleidomat --seed S IN.hxa): the loaded\n"
                           "board is generation 0, and every generation is\n"
                           "followed by auto-stimulation (変化を促す): a\n"
                           "population standing still or alternating over ten\n"
                           "counts gets one new cell beside a live one, and the\n"
                           "generation restarts at 1";

OptionEntry runLength(const char* help, uint64_t most, bool required) {
    return OptionEntry{"-n", "N", help, std::pair<uint64_t, uint64_t>{0, most}, nullptr, required};
}

// New subcommands are added here; the parser, the usage and the help come from this table.
const ProgramTable& program() {
    static const ProgramTable table{
        kProgram,
        "kaleidomat-cli: Kaleidomat's boards (.hxa) and patterns (.hxq) without the\n"
        "window, and the Life community's text formats RLE (.rle) and plaintext (.cells);\n"
        "it also reads Golly's macrocell (.mc), Life 1.05/1.06 (.lif, .life) and any of\n"
        "these gzipped (.rle.gz, .mc.gz). Every command that reads a board also reads\n"
        "a pattern, told by its contents: it runs in the middle of its own torus (an\n"
        "RLE rule \"B3/S23:Tn,n\") or of the smallest of the boards 10, 20, ..., 200,\n"
        "256, 512, 1024, 2048 that holds it, the live cells of a Life pattern in random\n"
        "colours (--seed repeats them).\n"
        "'kaleidomat-cli COMMAND --help' describes one command; below, all of them.",
        "Exit status: 0 done; 1 a file could not be read, used or written (one line\n"
        "on stderr names the file and what is wrong); 2 the command line is wrong\n"
        "(the usage is printed on stderr).",
        {
            {"step", {{"IN.hxa", "the board (or pattern) to run"}, {"OUT.hxa", "where the result goes"}},
             {runLength("number of generations, 0 to 2147483646 (default 1;\n0 only rewrites the board)",
                        kMaxStepGenerations, false),
              kSeed, {"--as-window", "", kAsWindowHelp}},
             "Loads the board IN.hxa, runs N generations and writes the result to\n"
             "OUT.hxa, which may be IN.hxa. A generation is Conway's rule (B3/S23) on\n"
             "the torus with colour inheritance: a survivor keeps its colour, a newborn\n"
             "takes red, green and blue from its three parents in scan order, and one\n"
             "birth in a thousand mutates to a random colour. Auto-stimulation is\n"
             "applied only with --as-window; then N single steps of the window started\n"
             "with 'kaleidomat --seed S IN.hxa', saved, give the same file. The loaded\n"
             "board starts at generation 1 (files do not store the generation). Prints\n"
             "\"generation G, population P\" for the final board.",
             stepCommand},
            {"info", {{"FILE", "a board, pattern, RLE or plaintext file"}}, {},
             "Prints the kind, size and number of live cells of a board (.hxa), pattern\n"
             "(.hxq), RLE (.rle) or plaintext (.cells) file, for example \"board 50 x 50,\n"
             "512 live cells\". The kind is recognised by the contents; the extension\n"
             "decides only what they leave open.",
             infoCommand},
            {"convert", {{"IN", "the file to read"}, {"OUT", "the file to write, - for RLE on standard output"}},
             {{"--color", "RRGGBB",
               "colour of imported live cells as six hexadecimal\n"
               "digits, for example ff8001; only for .rle and .cells input",
               std::nullopt, colourProblem},
              {"--size", "N",
               "side of the written board, 10 to 2048; only for .hxa\n"
               "output. Default: the source board's own size, the\n"
               "torus of an RLE rule (a different --size is refused),\n"
               "or for a pattern the smallest of 10, 20, ..., 200 that\n"
               "holds it. A live cell that falls off the board is refused.",
               std::pair<uint64_t, uint64_t>{engine::kMinGridMax + 1, engine::kMaxGridMax + 1}},
              {"--seed", "S",
               "seeds the random colour of imported cells (ignored for\n"
               ".hxa and .hxq input, which keep their colours)",
               kSeed.range}},
             "Converts between board files (.hxa), pattern files (.hxq), RLE (.rle) and\n"
             "plaintext (.cells); the input's format is told by its contents, the output's\n"
             "by its extension (in any case).\n"
             "  .hxa to .hxq         the whole board becomes the pattern.\n"
             "  a pattern to .hxa    the pattern is placed in the middle of an otherwise\n"
             "                       empty board, as Golly centres it (one larger than the\n"
             "                       board keeps its top-left cell on (0, 0)); a board\n"
             "                       file keeps live cells only.\n"
             "  to .rle or .cells    only live and dead are written: COLOURS ARE LOST. RLE\n"
             "                       is written with the header \"x = W, y = H, rule =\n"
             "                       B3/S23\", lines of at most 70 characters and a closing\n"
             "                       \"!\". A board (.hxa) is written as its torus, rule\n"
             "                       \"B3/S23:Tn,n\" for a board of side n, so that other\n"
             "                       Life programs run the same world; a pattern (.hxq)\n"
             "                       keeps \"B3/S23\".\n"
             "  from .rle or .cells  every live cell takes one colour: the one given with\n"
             "                       --color, or else one random colour drawn as the\n"
             "                       program draws them (red and green 1 to 255; blue 1 to\n"
             "                       255 when red or green is above 128, otherwise 128 to\n"
             "                       255). Only Conway's rule is accepted (B3/S23, also\n"
             "                       written b3s23, S23/B3 or 23/3, or LifeHistory), and\n"
             "                       at most 2048 x 2048 cells. An RLE rule \"B3/S23:Tn,n\"\n"
             "                       (a square torus, n from 10 to 2048) makes a board of\n"
             "                       side n; an oblong torus \"Tw,h\" is repeated over the\n"
             "                       smallest square that copies of it fill; other\n"
             "                       bounded grids are refused. The RLE header's x, y and\n"
             "                       rule may come in any order, after \"#\" lines.",
             convertCommand},
            {"random", {{"OUT.hxa", "where the board goes"}},
             {{"--size", "N", "side of the board, 10 to 2048 (default 50)",
               std::pair<uint64_t, uint64_t>{engine::kMinGridMax + 1, engine::kMaxGridMax + 1}},
              {"--seed", "S", "makes the board repeatable", kSeed.range}},
             "Writes an N x N board seeded as the program's Random command seeds it:\n"
             "each cell is live with probability 1/5 and gets a random colour.",
             randomCommand},
            {"render", {{"IN.hxa", "the board (or pattern) to draw"}, {"OUT.png", "where the picture goes, - for standard output"}},
             {{"--picture", "N", kPictureHelp, kPictureRange}, {"--flat", "", kFlatHelp},
              {"--seed", "S", "seeds the random colours of a text pattern's live cells", kSeed.range}},
             "Draws the board as the window shows it (480 x 480 pixels unless --picture\n"
             "says otherwise, every live cell a square of its colour with a raised rim,\n"
             "or flat with --flat; dead cells black) and writes the picture as a PNG file.\n"
             "Each cell's edges are its index times N / side, rounded to the nearest pixel\n"
             "(a half to the even one).",
             renderCommand},
            {"animate", {{"IN.hxa", "the board (or pattern) to run"}, {"OUT.webp", "where the animation goes, - for standard output"}},
             {runLength("number of generations, 0 to 1000000 (required)", kMaxRunGenerations, true),
              {"--every", "K", "a frame every K-th generation, 1 to 1000000 (default 1)",
               std::pair<uint64_t, uint64_t>{1, kMaxRunGenerations}},
              {"--frame-ms", "MS", "how long each frame shows, 1 to 60000 milliseconds\n(default 100)",
               std::pair<uint64_t, uint64_t>{1, 60000}},
              kSeed, {"--picture", "N", kPictureHelp, kPictureRange}, {"--flat", "", kFlatHelp}},
             "Runs N generations and writes them as a lossless animated WebP, each frame\n"
             "drawn as render draws it, every colour exact: frame 0 is the loaded board,\n"
             "then every K-th generation and generation N. The animation loops. Frames\n"
             "are encoded as they are made; when stderr is a terminal the progress is\n"
             "shown there.",
             animateCommand},
            {"stats", {{"IN.hxa", "the board (or pattern) to run"}},
             {runLength("number of generations, 0 to 1000000 (required)", kMaxRunGenerations, true), kSeed,
              {"--csv", "OUT.csv",
               "writes the table: a header line \"generation,population,\n"
               "births,deaths,colours,top_colour_share\", then N + 1 rows\n"
               "(the loaded board is generation 1, as in step);\n"
               "- writes it to standard output"},
              {"--svg", "OUT.svg",
               "draws population and distinct colours over the\ngenerations as a line chart, the colour families\n"
               "below it as a band stacked to 100 %"},
              {"--families", "",
               "adds to the table one column per colour family:\n"
               "red, orange, yellow, chartreuse, green, spring, cyan,\n"
               "azure, blue, violet, magenta, rose (30 degrees of hue\n"
               "each) and grey, each its share of the live cells"},
              {"--as-window", "", kAsWindowHelp}},
             "Runs N generations and measures the loaded board and every generation:\n"
             "population, births and deaths since the previous generation, the number of\n"
             "distinct colours among the live cells and the share of the most common\n"
             "colour (0 to 1). Without --csv or --svg, prints one line of summary.",
             statsCommand},
            {"tournament", {},
             {{"--seeds", "LIST",
               "the seeds, one run each: A-B, or a list such as\n"
               "1-100,200,300-310 (each seed once)",
               std::nullopt, SeedsProblem, true},
              {"--groups", "K", "founder groups, 2 to 12, each its own colour\n(default 2)",
               std::pair<uint64_t, uint64_t>{analysis::kMinGroups, analysis::kMaxGroups}},
              {"--layout", "L",
               "where the groups start (default halves): halves (K\n"
               "bands side by side), quadrants (K rectangles in about\n"
               "√K rows), stripes (four columns wide, in turn),\n"
               "checker (4 x 4 squares), scatter (each founder picks\n"
               "a group at random)",
               std::nullopt, LayoutProblem},
              {"--density", "D", "share of live cells at the start, above 0 up to 1,\nat most four decimals (default 0.2)",
               std::nullopt, DensityProblem},
              {"--size", "N", "side of the board, 10 to 2048 (default 64)",
               std::pair<uint64_t, uint64_t>{engine::kMinGridMax + 1, engine::kMaxGridMax + 1}},
              {"--generations", "G", "the most generations a run lasts, 0 to 10000000\n(default 1000)",
               std::pair<uint64_t, uint64_t>{0, 10000000}},
              {"--as-window", "",
               "the window's rule: every generation is followed by\n"
               "auto-stimulation (変化を促す), as in step --as-window"},
              {"--threads", "T", "runs T seeds at once, 1 to 1024 (default: one per\ncore)",
               std::pair<uint64_t, uint64_t>{1, 1024}},
              {"--chunk", "i/N",
               "runs only the i-th of N equal slices of the seeds\n(1 <= i <= N), for one job of many",
               std::nullopt, ChunkProblem},
              {"--csv", "OUT.csv", "where the rows go (default: - for standard output)"},
              {"--no-header", "", "writes no header line"},
              {"--resume", "",
               "continues OUT.csv: seeds whose rows it holds are\n"
               "skipped, a last row cut off is made again, the rest\n"
               "is appended"},
              {"--progress", "", "shows the progress on stderr even when it is not\na terminal"}},
             "Runs one tournament per seed: K groups of founders, each its own colour,\n"
             "laid out on an N x N torus, run until every colour channel of every live\n"
             "cell descends from one group (fixation), the board dies out, or G\n"
             "generations have passed. A newborn's channel belongs to the group of the\n"
             "parent that gave it; a mutant keeps the groups it would have inherited; a\n"
             "cell that auto-stimulation brings to life takes the groups of its first\n"
             "live neighbour. Each seed gives one CSV row, the same bytes with any\n"
             "number of threads on any machine, in the order of the seeds: version,\n"
             "settings, seed, generations_run, end (fixation, extinction or limit),\n"
             "population, colours, shannon (diversity of the colours), per channel the\n"
             "group that holds it (0 for none) and since when, and per group its share of\n"
             "the live cells in each channel. Rows are appended as they are done, so a\n"
             "run that is stopped keeps them and --resume goes on from there. On a\n"
             "terminal the progress is shown on stderr.",
             TournamentCommand},
            {"summarize", {{"FILE...", "tables of tournament rows, with or without headers"}},
             {{"--svg", "OUT.svg", "also draws the win rates with their intervals"}},
             "Reads tournament tables in any order and prints, for each set of\n"
             "settings, how the runs ended and per group and channel how often the group\n"
             "came to hold the channel (the win rate, with its 95 % Wilson score\n"
             "interval) and after how many generations (mean and median). A seed that\n"
             "appears twice with the same settings is refused.",
             SummarizeCommand, true},
            {"lineage", {{"IN.hxa", "the board (or pattern) to run"}},
             {runLength("number of generations, 0 to 1000000 (required)", kMaxRunGenerations, true), kSeed,
              {"-o", "PREFIX",
               "writes PREFIX.phylogeny.csv and PREFIX.muller.csv", std::nullopt, nullptr, true},
              {"--channel", "C", "the Muller table's channel: red (default), green or blue", std::nullopt,
               channelProblem},
              {"--every", "K",
               "Muller table rows every K-th generation and the last,\n1 to 1000000 (default 1); a long run's table is\nbuilt in memory, a row per taxon alive each sampled\ngeneration, so sample long runs",
               std::pair<uint64_t, uint64_t>{1, kMaxRunGenerations}},
              {"--as-window", "", kAsWindowHelp}},
             "Runs N generations and follows where every live cell's red, green and blue\n"
             "came from. A founder is a cell that came to life other than by birth from\n"
             "three parents: the loaded board's live cells (start), cells brought to life\n"
             "by auto-stimulation (stimulation, only with --as-window) and newborns whose\n"
             "colour mutated (mutation). A newborn takes its red from its first parent in\n"
             "scan order, its green from the second, its blue from the third, and with\n"
             "each channel the founder that channel came from; so each channel's ancestry\n"
             "is a tree, whose taxa are the founders' channels, numbered 3 x founder +\n"
             "channel (red 0, green 1, blue 2). A mutation's ancestor in a channel is the\n"
             "taxon it would have inherited. Times are generations since the loaded board\n"
             "(0). Writes two tables:\n"
             "  PREFIX.phylogeny.csv  every taxon that ever lived, in the ALife phylogeny\n"
             "                        data standard: \"id,ancestor_list,origin_time,\n"
             "                        destruction_time,channel,value,kind,founder,\n"
             "                        generation,x,y\"; ancestor_list is [NONE] or [id],\n"
             "                        destruction_time the first generation without a\n"
             "                        live cell of the taxon (inf while it has one), value\n"
             "                        the channel's value 0 to 255, kind start,\n"
             "                        stimulation or mutation, generation the board's own\n"
             "                        counter, x and y the founder's cell.\n"
             "  PREFIX.muller.csv     \"Identity,Parent,Generation,Population\" for one\n"
             "                        channel: per generation the live cells of each taxon,\n"
             "                        and in the last every taxon that ever lived, under a\n"
             "                        root 0 (Parent empty). R's ggmuller draws it:\n"
             "                        d <- read.csv(\"PREFIX.muller.csv\")\n"
             "                        m <- get_Muller_df(get_edges(d), get_population_df(d))\n"
             "                        Muller_plot(m)\n"
             "Prints \"generation G, population P, founders F, surviving red R green G blue\n"
             "B\": the founders numbered and those still carried by a live cell per channel.\n"
             "The same seed gives the same files.",
             lineageCommand},
        }};
    return table;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        const Request request = ParseCommandLine(program(), args);
        if (!request.command) {
            out << request.help;
            return kExitOk;
        }
        return request.command->run(request.arguments, out, err);
    } catch (const UsageError& e) {
        err << kProgram << ": " << e.what() << '\n'
            << UsageLines(program()) << "Run 'kaleidomat-cli --help' for details.\n";
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
