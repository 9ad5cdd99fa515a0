// SPDX-License-Identifier: MIT
#include "cli/cell_files.h"

#include <filesystem>
#include <ostream>
#include <string_view>

#include "io/golly_formats.h"
#include "io/life_import.h"
#include "io/safe_files.h"

namespace cli {

namespace {

std::string lowered(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

[[noreturn]] void fail(const std::string& path, const std::string& what) { throw Failure(path + ": " + what); }

}  // namespace

std::optional<FileKind> KindFromExtension(const std::string& path) {
    const std::filesystem::path name(path);
    std::string ext = lowered(name.extension().string());
    const bool gzipped = ext == ".gz";
    if (gzipped) ext = lowered(name.stem().extension().string());
    if (ext == ".hxa" && !gzipped) return FileKind::Board;
    if (ext == ".hxq" && !gzipped) return FileKind::Pattern;
    if (ext == ".rle") return FileKind::Rle;
    if (ext == ".cells") return FileKind::Plaintext;
    if (ext == ".mc") return FileKind::Macrocell;
    if (ext == ".lif") return FileKind::Life105;
    if (ext == ".life") return FileKind::Life106;
    return std::nullopt;
}

const char* KindName(FileKind kind) {
    switch (kind) {
        case FileKind::Board: return "board";
        case FileKind::Pattern: return "pattern";
        case FileKind::Rle: return "RLE pattern";
        case FileKind::Plaintext: return "plaintext pattern";
        case FileKind::Macrocell: return "macrocell pattern";
        case FileKind::Life105: return "Life 1.05 pattern";
        case FileKind::Life106: return "Life 1.06 pattern";
    }
    return "file";
}

std::vector<uint8_t> ReadWholeFile(const std::string& path, std::size_t first) {
    std::vector<uint8_t> bytes;
    const std::error_code error =
        first == kWholeFile ? io::ReadFile(path, bytes) : io::ReadFileStart(path, first, bytes);
    if (!error) return bytes;
    if (error == std::errc::is_a_directory) fail(path, "is a directory");
    if (error == io::FileError::NotRegularFile) fail(path, "is not a regular file");
    if (error == io::FileError::TooLarge) fail(path, "file too large (over 64 MiB)");
    fail(path, (error == std::errc::io_error ? "cannot read: " : "cannot open: ") + error.message());
}

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    if (const std::error_code error = io::ReplaceFile(path, bytes))
        fail(path, error == io::FileError::NotRegularFile ? "cannot write: not a regular file"
                                                          : "cannot write: " + error.message());
}

void WriteOutput(const std::string& path, std::span<const uint8_t> bytes, std::ostream& out) {
    if (path != kStandardOutput) return WriteWholeFile(path, bytes);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) throw Failure("cannot write to standard output");
}

engine::Board LoadBoard(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    auto decoded = io::DecodeBoardFile(bytes);
    if (const auto* error = std::get_if<io::DecodeError>(&decoded)) {
        if (*error == io::DecodeError::BadSignature && io::DecodePatternFile(bytes).index() == 0)
            fail(path, "is a pattern file, not a board file");
        fail(path, io::describe(*error));
    }
    engine::Board board;
    io::PutLoadedBoard(std::move(std::get<io::LoadedBoard>(decoded)), board);
    board.Generation = 1;
    board.Population() = board.countLive();  // live cells: a repeated record counts once
    return board;
}

void SaveBoard(const std::string& path, const engine::Board& board) { WriteWholeFile(path, io::EncodeBoardFile(board)); }

namespace {

// The "#N", "#O", "#C" and "#c" lines before an RLE pattern's first line
// that is neither blank nor a comment (the parser has refused overlong ones).
std::string RleHeaderLines(std::string_view text) {
    std::string lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line[0] != '#') break;
        if (line.size() >= 2 && line[0] == '#' && std::string_view("NOCc").find(line[1]) != std::string_view::npos)
            lines.append(line).append("\n");
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

std::string_view PatternText(const std::string& path, const std::vector<uint8_t>& bytes, std::string& unpacked) {
    if (!io::IsGzip(bytes)) return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    auto text = io::Gunzip(bytes);
    if (const auto* error = std::get_if<io::TextError>(&text)) fail(path, error->message);
    unpacked = std::move(std::get<std::string>(text));
    return unpacked;
}

LoadedCells LoadCells(const std::string& path, FileKind kind, const io::CellEntry& liveColour) {
    LoadedCells result;
    if (kind == FileKind::Board) {
        const engine::Board board = LoadBoard(path);
        result.block = io::BlockOfWholeBoard(board);
        result.boardGridMax = board.GridMax;
        return result;
    }
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    if (kind == FileKind::Pattern) {
        auto decoded = io::DecodePatternFile(bytes);
        if (const auto* error = std::get_if<io::DecodeError>(&decoded)) {
            if (*error == io::DecodeError::BadSignature && io::DecodeBoardFile(bytes).index() == 0)
                fail(path, "is a board file, not a pattern file");
            fail(path, io::describe(*error));
        }
        result.block = std::move(std::get<io::CellBlock>(decoded));
        return result;
    }
    std::string unpacked;
    const std::string_view text = PatternText(path, bytes, unpacked);
    // A ".lif" file may hold either Life 1.0x version; its first line tells.
    const bool life106 = kind == FileKind::Life106 ||
                         (kind == FileKind::Life105 && io::GuessLifeTextKind(text) == io::LifeTextKind::Life106);
    auto parsed = kind == FileKind::Rle         ? io::ParseRle(text)
                  : kind == FileKind::Plaintext ? io::ParsePlaintext(text)
                  : kind == FileKind::Macrocell ? io::ParseMacrocell(text)
                  : life106                     ? io::ParseLife106(text)
                                                : io::ParseLife105(text);
    if (const auto* error = std::get_if<io::TextError>(&parsed)) fail(path, error->message);
    const io::LifeGrid& grid = std::get<io::LifeGrid>(parsed);
    if (kind == FileKind::Rle) result.rleHeaderLines = RleHeaderLines(text);
    if (grid.torusSide > 0) {
        result.boardGridMax = grid.torusSide - 1;
        result.fromTorusRule = true;
    }
    result.block.w = grid.width;
    result.block.h = grid.height;
    result.block.entries.resize(grid.cells.size());
    for (std::size_t i = 0; i < grid.cells.size(); ++i)
        if (grid.cells[i]) result.block.entries[i] = liveColour;
    return result;
}

engine::Board BoardFromBlock(const io::CellBlock& block, int32_t gridMax, const std::string& path, int32_t left,
                             int32_t top) {
    engine::Board board;
    board.create(gridMax);
    for (int dx = 0; dx < block.w; ++dx) {
        for (int dy = 0; dy < block.h; ++dy) {
            const io::CellEntry& e = block.at(dx, dy);
            if (e.State == 0) continue;  // a board file keeps live cells only
            if (!board.contains(left + dx, top + dy))
                fail(path, "live cell (" + std::to_string(dx) + ", " + std::to_string(dy) + ") lies outside a " +
                               std::to_string(board.side()) + " x " + std::to_string(board.side()) + " board");
            board.cell(left + dx, top + dy) = engine::CellRecord{1, e.Red, e.Green, e.Blue};
        }
    }
    board.Generation = 1;
    board.Population() = board.countLive();
    return board;
}

}  // namespace cli
