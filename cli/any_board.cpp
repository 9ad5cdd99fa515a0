// SPDX-License-Identifier: MIT
#include "cli/any_board.h"

#include <variant>

#include "engine/rules.h"
#include "io/golly_formats.h"
#include "io/life_import.h"

namespace cli {

std::optional<FileKind> KindOfContents(const std::string& path) {
    // The signatures are shorter than 64 bytes: a board or pattern file, and
    // a file named as a text pattern, are told without reading the rest.
    const std::vector<uint8_t> head = ReadWholeFile(path, 64);
    const auto startsWith = [&](std::string_view signature) {
        return head.size() >= signature.size() && std::equal(signature.begin(), signature.end(), head.begin());
    };
    if (startsWith(io::kBoardSignature)) return FileKind::Board;
    if (startsWith(io::kPatternSignature)) return FileKind::Pattern;
    const std::optional<FileKind> named = KindFromExtension(path);
    if (named && IsLifePattern(*named)) return named;
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    // gzip data is told by what it unpacks to, whatever the file's name.
    std::string unpacked;
    const std::string_view text = PatternText(path, bytes, unpacked);
    if (std::holds_alternative<io::LifeGrid>(io::ParseLifeText(text))) {
        switch (io::GuessLifeTextKind(text)) {
            case io::LifeTextKind::Rle: return FileKind::Rle;
            case io::LifeTextKind::Plaintext: return FileKind::Plaintext;
            case io::LifeTextKind::Macrocell: return FileKind::Macrocell;
            case io::LifeTextKind::Life105: return FileKind::Life105;
            case io::LifeTextKind::Life106: return FileKind::Life106;
        }
    }
    return named;
}

std::pair<int32_t, int32_t> PatternOrigin(int32_t side, int width, int height) {
    if (width > side || height > side) return {0, 0};
    return {io::CentredOffset(side, width), io::CentredOffset(side, height)};
}

engine::Board LoadAnyBoard(const std::string& path, engine::RandomSequence& random) {
    const std::optional<FileKind> kind = KindOfContents(path);
    if (!kind) throw Failure(path + ": not a board, pattern, RLE or plaintext file");
    if (*kind == FileKind::Board) return LoadBoard(path);

    LoadedCells cells = LoadCells(path, *kind, io::CellEntry{1, 0, 0, 0});
    if (IsLifePattern(*kind)) {
        for (io::CellEntry& entry : cells.block.entries) {
            if (!entry.State) continue;
            engine::CellRecord colour;
            engine::RandomColor(random, colour);
            entry = io::CellEntry{1, static_cast<uint8_t>(colour.Red), static_cast<uint8_t>(colour.Green),
                                  static_cast<uint8_t>(colour.Blue)};
        }
    }
    const int32_t side = cells.boardGridMax ? *cells.boardGridMax + 1
                                            : io::SmallestBoardSide(cells.block.w, cells.block.h);
    const auto [left, top] = PatternOrigin(side, cells.block.w, cells.block.h);
    return BoardFromBlock(cells.block, side - 1, path, left, top);
}

}  // namespace cli
