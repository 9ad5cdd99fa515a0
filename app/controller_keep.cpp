// SPDX-License-Identifier: MIT
// The kept board, which lets the last board survive any ending of the
// program, bringing it back, and saving under a new name.
//
// Every drawing schedules one keeping a second later; it writes the board to
// this copy's own file (through the same safe writer as a save) only when the
// board file would differ from the one kept last. A continuous run is not
// slowed by it: its stop keeps the board, and so does closing the window.

#include <utility>

#include "app/window_controller.h"
#include "io/formats.h"
#include "ui/texts.h"

namespace app {

using platform::MessageIcon;

namespace {
constexpr int kKeepingDelayMilliseconds = 1000;
}  // namespace

void WindowController::ScheduleKeeping() {
    platform::UserFiles* user = services_.userFiles;
    if (!user || keepingDue_ || closed_) return;
    keepingDue_ = true;
    user->callLater(kKeepingDelayMilliseconds, [this] {
        keepingDue_ = false;
        KeepBoard();
    });
}

void WindowController::KeepBoard() {
    platform::UserFiles* user = services_.userFiles;
    if (!user || closed_ || session_.running()) return;
    std::vector<uint8_t> bytes = io::EncodeBoardFile(board);
    if (bytes == keptBytes_) return;
    const std::string path = user->keptBoardFile();
    // A failed keeping is not worth a message box every second: the old kept
    // board stays whole, and the next change tries again. It is told once in
    // the status bar, and until a keeping works again closing asks whether
    // to save a changed board.
    const platform::Result<void> written =
        path.empty() ? platform::Result<void>(platform::Error{tr(texts::kNoStateFolder)}) : services_.files.writeFile(path, bytes);
    if (!written) {
        if (!std::exchange(keepFailing_, true))
            window().setPanelText(platform::Panel::Pointer, tr(texts::kKeepFailed) + written.error().reason);
        return;
    }
    keepFailing_ = false;
    keptBytes_ = std::move(bytes);
}

// Remembered settings that could not be saved are told once, like a failed keeping.
void WindowController::ReportSettingsFailure() {
    if (!services_.settings) return;
    if (const std::optional<platform::Error> failure = services_.settings->unreportedSaveFailure())
        window().setPanelText(platform::Panel::Pointer, tr(texts::kSettingsSaveFailed) + failure->reason);
}

// Opens the kept board as the open command opens a file, the same question
// first, but binds the window to no file: the next save asks for a name.
void WindowController::restoreKeptBoard() {
    const std::string path = services_.userFiles ? services_.userFiles->lastKeptBoard() : std::string();
    if (path.empty()) {
        Message(tr(texts::kNothingToRestore), MessageIcon::Information);
        return;
    }
    AskToSaveChanges();
    if (OpenFile(path)) {
        FileName.clear();
        window().setCaption(texts::kAppTitle);
    }
    ReDraw();
}

// Always asks for the name (the dialog itself asks before it returns an
// existing file), then saves as the save command does.
void WindowController::saveBoardAs() {
    const std::string path = askSavePath(kBoardFileMode);
    if (path.empty()) return;
    const platform::Result<void> written = services_.files.writeFile(path, io::EncodeBoardFile(board));
    if (!written) {
        Message(tr(texts::kSaveFailed) + "\n" + path + "\n" + written.error().reason,
                MessageIcon::Exclamation);
        return;  // the window stays bound to the file it had
    }
    FileName = path;
    board.Modified = false;
    SetFileCaption();
    RememberRecent(path);
}

}  // namespace app
