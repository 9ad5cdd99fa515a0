// SPDX-License-Identifier: MIT
// The Life community's patterns (RLE, plaintext, macrocell, Life 1.05/1.06,
// gzipped or not) in the window: opened as a new board from a file, or
// pasted from the clipboard's text. They carry live and dead only; every
// live cell takes a colour of the random colour rule, as a cell set with
// Shift+click does.

#include <filesystem>
#include <variant>

#include "app/window_controller.h"
#include "engine/rules.h"
#include "io/golly_formats.h"
#include "io/life_import.h"
#include "ui/texts.h"

namespace app {

namespace {

// The reader's reason in the window's language (the command line keeps the
// reader's English); `tr` gives a text in that language.
template <typename Translate>
std::string ReasonText(const io::TextError& error, const Translate& tr) {
    using io::TextProblem;
    const std::string& d = error.detail;
    const auto around = [&](const auto& parts) {  // the detail between the parts
        std::string text = tr(parts[0]);
        for (std::size_t i = 1; i < std::size(parts); ++i) text += d + tr(parts[i]);
        return text;
    };
    std::string reason;
    switch (error.problem) {
        case TextProblem::LineTooLong: reason = tr(texts::kLifeTextLineTooLong); break;
        case TextProblem::TooLarge: reason = around(texts::kLifeTextTooLarge); break;
        case TextProblem::NotConwaysRule: reason = around(texts::kLifeTextNotConway); break;
        case TextProblem::UnsupportedGrid: reason = around(texts::kLifeTextUnsupportedGrid); break;
        case TextProblem::BadHeader: reason = tr(texts::kLifeTextBadHeader); break;
        case TextProblem::BadRunCount: reason = tr(texts::kLifeTextBadRunCount); break;
        case TextProblem::UnexpectedCharacter: reason = around(texts::kLifeTextUnexpected); break;
        case TextProblem::DoesNotFitTorus: reason = around(texts::kLifeTextTorus); break;
        case TextProblem::Other: reason = tr(texts::kLifeTextUnreadable); break;
        case TextProblem::BadCompression: reason = tr(texts::kLifeTextBadCompression); break;
        case TextProblem::UnpackedTooLarge: reason = around(texts::kLifeTextUnpackedTooLarge); break;
        case TextProblem::BadNode: reason = tr(texts::kLifeTextBadNode); break;
        case TextProblem::BadCoordinates: reason = tr(texts::kLifeTextBadCoordinates); break;
    }
    if (error.line <= 0) return reason;
    std::string at = tr(texts::kLifeTextAtLine);
    if (const std::size_t mark = at.find("%1"); mark != std::string::npos) at.replace(mark, 2, std::to_string(error.line));
    return at + reason;
}

std::string lowered(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool HasLifeTextExtension(const std::string& path) {
    const std::string ext = lowered(std::filesystem::path(path).extension().string());
    for (const char* pattern : {texts::kRleExtension, texts::kPlaintextExtension, texts::kMacrocellExtension,
                                texts::kLife105Extension, texts::kLife106Extension, texts::kGzipExtension})
        if (ext == std::string(".") + pattern) return true;
    return false;
}

engine::CellRecord RandomLiveCell(engine::RandomSequence& random) {
    engine::CellRecord cell{1, 0, 0, 0};
    engine::RandomColor(random, cell);
    return cell;
}

// The Life pattern the clipboard's text holds, if it holds one with a live
// cell (ordinary text such as "!" reads as an empty pattern).
// The offered formats are asked first, so a clipboard without text is not
// fetched at all; longer texts are not read as patterns: the largest pattern
// a board holds is far shorter in either format.
std::optional<io::LifeGrid> ClipboardGrid(platform::Clipboard& clipboard) {
    if (!clipboard.hasText()) return std::nullopt;
    const std::string text = clipboard.getText();
    if (text.empty() || text.size() > platform::kLargestClipboardText) return std::nullopt;
    auto parsed = io::ParseLifeText(text);
    io::LifeGrid* grid = std::get_if<io::LifeGrid>(&parsed);
    if (!grid || grid->countLive() == 0) return std::nullopt;
    return std::move(*grid);
}

}  // namespace

std::optional<bool> WindowController::OpenLifePattern(const std::string& path, const std::vector<uint8_t>& bytes) {
    // The program's own files keep their own reading, whatever their name; a
    // file named as a pattern, or gzip data, is read as one, and so is any
    // other text that reads as one.
    if (io::HasProgramSignature(bytes)) return std::nullopt;
    const std::variant<io::LifeGrid, io::TextError> parsed = io::ReadLifePattern(bytes);
    if (!HasLifeTextExtension(path) && !io::IsGzip(bytes) && !std::holds_alternative<io::LifeGrid>(parsed))
        return std::nullopt;
    if (const auto* error = std::get_if<io::TextError>(&parsed)) {
        Message(tr(texts::kImportFailed) + "\n" + path + "\n" + ReasonText(*error, [this](const char* t) { return tr(t); }),
                platform::MessageIcon::Exclamation);
        return false;
    }
    const io::LifeGrid& grid = std::get<io::LifeGrid>(parsed);

    // A torus of its own gives the board's size; otherwise a pattern of up
    // to 200 a side keeps the board's size when it fits, and any other takes
    // the smallest board that holds it.
    const int32_t side = io::ImportBoardSide(grid, board.side());

    board.create(side - 1);
    const int32_t left = io::CentredOffset(side, grid.width);
    const int32_t top = io::CentredOffset(side, grid.height);
    for (int x = 0; x < grid.width; ++x)
        for (int y = 0; y < grid.height; ++y)
            if (grid.live(x, y)) board.cell(left + x, top + y) = RandomLiveCell(random);
    board.PopulationHistory.fill(0);
    board.Population() = board.countLive();
    session_.restartLineage();
    ScalePictures();
    DropSelectionBeyond(board.GridMax);

    // The board is not stored anywhere yet: the next save asks for a name,
    // so a board file never replaces the pattern.
    board.Modified = true;
    FileName.clear();
    window().setCaption(std::string(texts::kCaptionPrefix) + path + tr(texts::kImportedMark) + texts::kCaptionSuffix);
    ApplySizeRule();
    BoardReplaced();
    return true;
}

std::optional<io::CellBlock> WindowController::ClipboardLifePattern() {
    const std::optional<io::LifeGrid> grid = ClipboardGrid(services_.clipboard);
    if (!grid) return std::nullopt;
    io::CellBlock block{grid->width, grid->height, std::vector<io::CellEntry>(grid->cells.size())};
    for (int x = 0; x < grid->width; ++x) {
        for (int y = 0; y < grid->height; ++y) {
            if (!grid->live(x, y)) continue;
            const engine::CellRecord cell = RandomLiveCell(random);
            block.at(x, y) = io::CellEntry{1, static_cast<uint8_t>(cell.Red), static_cast<uint8_t>(cell.Green),
                                           static_cast<uint8_t>(cell.Blue)};
        }
    }
    return block;
}

bool WindowController::ClipboardCanPaste() {
    return services_.clipboard.hasCells() || ClipboardGrid(services_.clipboard).has_value();
}

}  // namespace app
