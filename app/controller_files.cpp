// SPDX-License-Identifier: MIT
// Board data files, the file dialogs, and pattern files with their menu items.
//
// Files are always decoded completely before any state changes, so a refused
// or unreadable file leaves the board, the selection, FileName and Modified as
// they were. Writes go through FileSystem::writeFile, which replaces a file
// only once the new contents are safely written; a failed write is reported
// and changes nothing.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <variant>

#include "app/window_controller.h"
#include "ui/texts.h"
#include "io/formats.h"

namespace app {

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

// `text` without its last `count` characters (UTF-8 code points, so a name
// never loses half a character); empty when it has no more than that.
std::string DropLastCharacters(const std::string& text, int count) {
    std::size_t end = text.size();
    for (int i = 0; i < count && end > 0; ++i) {
        --end;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    }
    return text.substr(0, end);
}

}  // namespace

// ---- file names and dialogs ---------------------------------------------------

// The name as it is, blanks included: a pattern item named after it must
// stand for this very file.
std::string WindowController::FileTitle(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

namespace {

// The dialog settings of one kind of file; Mode 1 board file, 2 pattern file.
// `tr` gives a text in the window's language.
template <typename Translate>
platform::FileDialogRequest DialogRequest(int mode, bool open, const char* title, std::string initialDirectory,
                                          const Translate& tr) {
    platform::FileDialogRequest request;
    request.title = tr(title);
    const auto kindFilter = [](const std::string& name, const char* extension) {
        return platform::FileFilter{name, {std::string("*.") + extension}};
    };
    // "*" rather than "*.*": every file, also one without a dot in its name.
    const platform::FileFilter allFiles{tr(texts::kAllFilesFilterName), {"*"}};
    if (mode == kBoardFileMode && open) {
        // Life patterns open as new boards; they are never saved over.
        const platform::FileFilter lifePatterns{tr(texts::kLifePatternFilterName),
                                                {std::string("*.") + texts::kRleExtension,
                                                 std::string("*.") + texts::kPlaintextExtension}};
        const platform::FileFilter gollyPatterns{tr(texts::kGollyPatternFilterName),
                                                 {std::string("*.") + texts::kMacrocellExtension,
                                                  std::string("*.") + texts::kLife105Extension,
                                                  std::string("*.") + texts::kLife106Extension,
                                                  std::string("*.") + texts::kGzipExtension}};
        // First every kind 開く takes, so that a pattern beside the boards is in sight.
        platform::FileFilter openable{tr(texts::kOpenableFilterName),
                                      {std::string("*.") + texts::kBoardExtension,
                                       std::string("*.") + texts::kRleExtension,
                                       std::string("*.") + texts::kPlaintextExtension}};
        openable.patterns.insert(openable.patterns.end(), gollyPatterns.patterns.begin(), gollyPatterns.patterns.end());
        request.filters = {openable, kindFilter(tr(texts::kBoardFilterName), texts::kBoardExtension), lifePatterns,
                           gollyPatterns, allFiles};
        request.defaultExtension = texts::kBoardExtension;
    } else if (mode == kBoardFileMode) {
        request.filters = {kindFilter(tr(texts::kBoardFilterName), texts::kBoardExtension), allFiles};
        request.defaultExtension = texts::kBoardExtension;
    } else if (mode == kPatternFileMode) {
        request.filters = {kindFilter(tr(texts::kPatternFilterName), texts::kPatternExtension), allFiles};
        request.defaultExtension = texts::kPatternExtension;
    }
    request.initialDirectory = std::move(initialDirectory);
    return request;
}

}  // namespace

std::string WindowController::askOpenPath(int Mode) {
    // Any other Mode keeps the kind of the dialog's previous use.
    if (Mode == kBoardFileMode || Mode == kPatternFileMode) dialogMode_ = Mode;
    return services_.dialogs.openFile(DialogRequest(dialogMode_, true, texts::kOpenDialogTitle, DialogFolder(),
                                                     [this](const char* t) { return tr(t); }));
}

std::string WindowController::askSavePath(int Mode) {
    if (Mode == kBoardFileMode || Mode == kPatternFileMode) dialogMode_ = Mode;
    // Patterns are registered into the user's pattern folder, made when first
    // needed; the program's own folder is often not writable (/usr/bin).
    std::string folder = DialogFolder();
    platform::UserFiles* user = services_.userFiles;
    if (dialogMode_ == kPatternFileMode && user && user->makePatternFolder()) folder = user->patternFolder();
    return services_.dialogs.saveFile(DialogRequest(dialogMode_, false, texts::kSaveDialogTitle, std::move(folder),
                                                    [this](const char* t) { return tr(t); }));
}

void WindowController::SetFileCaption() {
    window().setCaption(std::string(texts::kCaptionPrefix) + FileName + texts::kCaptionSuffix);
}

// ---- board data file -------------------------------------------------------------

void WindowController::SaveData() {
    if (!FileName.empty() && services_.files.exists(FileName)) {
        const std::string question = "'" + FileName + tr(texts::kOverwriteSuffix);
        if (Message(question, MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::No) != MessageAnswer::Yes)
            return;
    }
    const std::string previousName = FileName;
    if (FileName.empty()) FileName = askSavePath(kBoardFileMode);
    if (FileName.empty()) return;

    const platform::Result<void> written = services_.files.writeFile(FileName, io::EncodeBoardFile(board));
    if (!written) {
        Message(tr(texts::kSaveFailed) + "\n" + FileName + "\n" + written.error().reason,
                MessageIcon::Exclamation);
        // A name that was just chosen and could not be written is not kept:
        // the next save asks again instead of failing on the same path.
        FileName = previousName;
        return;
    }
    board.Modified = false;
    SetFileCaption();
    RememberRecent(FileName);
}

bool WindowController::OpenFile(const std::string& NewFileName) {
    const platform::Result<std::vector<uint8_t>> bytes = services_.files.readFile(NewFileName);
    if (!bytes) {
        Message(tr(texts::kOpenFailed) + "\n" + NewFileName, MessageIcon::Exclamation);
        return false;
    }
    if (const std::optional<bool> imported = OpenLifePattern(NewFileName, *bytes)) return *imported;
    auto decoded = io::DecodeBoardFile(*bytes);
    if (std::holds_alternative<io::DecodeError>(decoded)) {
        Message(tr(texts::kNotOurData), MessageIcon::None);
        return false;
    }
    io::PutLoadedBoard(std::move(std::get<io::LoadedBoard>(decoded)), board);
    session_.restartLineage();
    ScalePictures();

    DropSelectionBeyond(board.GridMax);

    board.Modified = false;
    FileName = NewFileName;
    SetFileCaption();
    ApplySizeRule();
    BoardReplaced();
    return true;
}

// There is no way to cancel here: whatever the save does, the load goes on.
void WindowController::AskToSaveChanges() {
    if (board.Modified &&
        Message(tr(texts::kSaveChanges), MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes) ==
            MessageAnswer::Yes)
        SaveData();
}

void WindowController::openBoard() {
    AskToSaveChanges();
    const std::string path = askOpenPath(kBoardFileMode);
    if (path.empty()) return;
    if (OpenFile(path)) RememberRecent(path);
    ReDraw();
}

// A file dropped onto the window opens as through the Open command, with the
// same question first and the same refusal of a foreign file, and only while
// that command is available (not during a continuous run). Of several files
// the first is taken.
bool WindowController::canDropFiles() { return !closed_ && window().menuEnabled(platform::Menu::FileOpen); }

void WindowController::filesDropped(const std::vector<std::string>& paths) {
    if (paths.empty() || !canDropFiles()) return;
    runRecorded(UndoKind::Change, [&] {  // one undo step, as 開く
        AskToSaveChanges();
        if (OpenFile(paths.front())) RememberRecent(paths.front());
        ReDraw();
    });
    refreshCommands();
}

void WindowController::saveBoard() { SaveData(); }

// ---- pattern files -----------------------------------------------------------------

void WindowController::CreatePatternFile() {
    const Selection& s = selection;
    if (!HasSelection()) return;
    // A pattern file holds at most 200 x 200 cells; a larger selection is
    // refused before any dialog rather than saved cut.
    if (s.SelRight - s.SelLeft + 1 > io::kMaxBlockSide || s.SelBottom - s.SelTop + 1 > io::kMaxBlockSide) {
        Message(texts::kPatternTooLarge, MessageIcon::Exclamation);
        return;
    }
    const std::string path = askSavePath(kPatternFileMode);
    if (path.empty()) return;

    const io::CellBlock block = io::BlockFromBoard(board, s.SelLeft, s.SelTop, s.SelRight, s.SelBottom);
    const platform::Result<void> written = services_.files.writeFile(path, io::EncodePatternFile(block));
    if (!written) {
        Message(tr(texts::kSaveFailed) + "\n" + path + "\n" + written.error().reason,
                MessageIcon::Exclamation);
        return;
    }

    // The item is named after the file without its extension. A name too
    // short to have one gets no item (it could not stand for a file).
    const std::string title = DropLastCharacters(FileTitle(path), 4);
    if (title.empty()) return;
    platform::MainWindow& w = window();
    const int count = w.patternItemCount();
    patternFiles_.resize(count);
    for (int i = 0; i < count; ++i) {
        if (w.patternEntry(i).isItem(title)) {
            // No second item of that name; the item stamps what was just
            // registered under it.
            if (!patternFiles_[i].empty()) patternFiles_[i] = path;
            return;
        }
    }

    // The registration item stays last: the new last item takes its caption
    // and the item before it becomes the pattern, standing for the file
    // wherever it was saved.
    w.addPatternEntry(w.patternEntry(count - 1));
    w.setPatternEntry(count - 1, {.caption = title});
    patternFiles_.insert(patternFiles_.begin() + (count - 1), path);
}

std::string WindowController::PatternItemPath(int index) {
    if (index < static_cast<int>(patternFiles_.size()) && !patternFiles_[index].empty()) return patternFiles_[index];
    return services_.files.programDirectory() + "/" + window().patternEntry(index).caption + "." +
           texts::kPatternExtension;
}

void WindowController::ReadPatternFile(const std::string& Index) {
    platform::MainWindow& w = window();
    int index = -1;
    const auto [end, error] = std::from_chars(Index.data(), Index.data() + Index.size(), index);
    if (error != std::errc() || end != Index.data() + Index.size() || index < 0 || index >= w.patternItemCount())
        return;

    const std::string path = PatternItemPath(index);
    const auto removeItem = [&] {
        w.removePatternItem(index);
        if (index < static_cast<int>(patternFiles_.size())) patternFiles_.erase(patternFiles_.begin() + index);
    };
    if (!services_.files.exists(path)) {
        removeItem();
        return;
    }
    const platform::Result<std::vector<uint8_t>> bytes = services_.files.readFile(path);
    // A file that cannot be read just now keeps its item. One too large to
    // be a pattern is refused like any other file that is none.
    if (!bytes && !bytes.error().tooLarge) return;
    std::variant<io::CellBlock, io::DecodeError> decoded = io::DecodeError::BadSignature;
    if (bytes) decoded = io::DecodePatternFile(*bytes);
    if (std::holds_alternative<io::DecodeError>(decoded)) {
        Message(tr(texts::kNotOurData), MessageIcon::None);
        removeItem();
        return;
    }
    const io::CellBlock& block = std::get<io::CellBlock>(decoded);

    Selection& s = selection;
    if (!HasSelection()) return;
    s.SelRight = std::min(s.SelLeft + block.w - 1, board.GridMax);
    s.SelBottom = std::min(s.SelTop + block.h - 1, board.GridMax);
    io::BlockToBoard(block, board, s.SelLeft, s.SelTop, s.SelRight, s.SelBottom);
}

}  // namespace app
