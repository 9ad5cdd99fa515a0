// SPDX-License-Identifier: MIT
// Everyday comforts: the speed readout and its notice, the recent files, the
// selection keys (Delete, Ctrl+A, Escape), the pointer's readout, and the calm
// mode that limits how often a run's picture reaches the screen.

#include <algorithm>
#include <array>
#include <filesystem>

#include "app/window_controller.h"
#include "ui/texts.h"

namespace app {

using platform::Menu;

namespace {

// The 速度 menu's caption of a rate.
const char* SpeedCaption(int rate) {
    constexpr std::array<const char*, kSpeedRungs.size()> kCaptions{
        texts::kMenuExecSpeed1,   texts::kMenuExecSpeed2,   texts::kMenuExecSpeed5,    texts::kMenuExecSpeed10,
        texts::kMenuExecSpeed20,  texts::kMenuExecSpeed50,  texts::kMenuExecSpeed100,  texts::kMenuExecSpeed200,
        texts::kMenuExecSpeed500, texts::kMenuExecSpeed1000, texts::kMenuExecSpeedMax};
    return kCaptions[SpeedRungOf(rate).value_or(kCaptions.size() - 1)];
}

// "&1 /path/to/file": the number is the access key; an "&" of the path is shown as such.
std::string RecentCaption(std::size_t index, const std::string& path) {
    std::string caption = "&" + std::to_string(index + 1) + " ";
    for (char c : path) caption += c == '&' ? std::string("&&") : std::string(1, c);
    return caption;
}

}  // namespace

void WindowController::startEveryday() {
    platform::MainWindow& w = window();
    // Nothing is under the pointer until it enters the board.
    w.setPanelText(platform::Panel::Pointer, "");
    w.setPanelText(platform::Panel::Colour, "");
    for (Menu m : popupEditItems_) w.setMenuVisible(m, false);  // only in the board's pop-up
    platform::Settings* settings = services_.settings;
    calm_ = settings && settings->readBool(platform::setting::kCalm).value_or(false);
    if (settings) recentFiles_ = settings->readStrings(platform::setting::kRecentFiles).value_or(recentFiles_);
    if (recentFiles_.size() > recentItems_.size()) recentFiles_.resize(recentItems_.size());
    ShowRecentFiles();
    ShowSpeed();
}

// ---- the speed in sight ------------------------------------------------------------

void WindowController::ShowSpeed() { window().setPanelText(platform::Panel::Speed, tr(SpeedCaption(Speed()))); }

void WindowController::NoticeSpeed() { window().showNotice(tr(texts::kNoticeSpeedPrefix) + tr(SpeedCaption(Speed()))); }

// ---- recent files ----------------------------------------------------------------------

void WindowController::RememberRecent(const std::string& path) {
    if (path.empty()) return;
    std::erase(recentFiles_, path);
    recentFiles_.insert(recentFiles_.begin(), path);
    if (recentFiles_.size() > recentItems_.size()) recentFiles_.resize(recentItems_.size());
    StoreRecentFiles();
}

void WindowController::StoreRecentFiles() {
    if (services_.settings) services_.settings->writeStrings(platform::setting::kRecentFiles, recentFiles_);
    ReportSettingsFailure();
    ShowRecentFiles();
}

void WindowController::ShowRecentFiles() {
    platform::MainWindow& w = window();
    for (std::size_t i = 0; i < recentItems_.size(); ++i) {
        const bool used = i < recentFiles_.size();
        if (used) w.setMenuCaption(recentItems_[i], RecentCaption(i, recentFiles_[i]));
        w.setMenuVisible(recentItems_[i], used);
    }
}

// Opens as 開く does, with the same question first; a file gone since is
// taken off the list, with a message.
void WindowController::openRecent(std::size_t index) {
    if (index >= recentFiles_.size()) return;
    const std::string path = recentFiles_[index];
    if (!services_.files.exists(path)) {
        Message(tr(texts::kRecentMissing) + "\n" + path, platform::MessageIcon::Exclamation);
        recentFiles_.erase(recentFiles_.begin() + static_cast<std::ptrdiff_t>(index));
        StoreRecentFiles();
        return;
    }
    AskToSaveChanges();
    if (OpenFile(path)) RememberRecent(path);
    ReDraw();
}

// ---- selection keys ------------------------------------------------------------------------

void WindowController::deleteSelection() {
    const Selection& s = selection;
    if (!HasSelection()) return;
    for (int32_t x = s.SelLeft; x <= s.SelRight; ++x)
        for (int32_t y = s.SelTop; y <= s.SelBottom; ++y) board.cell(x, y) = {};
    ReDraw();
    patternButtons_.live = false;
}

void WindowController::selectAll() {
    if (selection.FocusShown) DrawFocus();  // takes the old rectangle off
    selection.Selecting = false;
    selection.SelLeft = selection.SelTop = 0;
    selection.SelRight = selection.SelBottom = board.GridMax;
    DrawFocus();
    editButtons_ = {true, ClipboardCanPaste()};
    patternButtons_ = {true, SelectionHasLiveCell()};
}

void WindowController::deselect() {
    selection.Selecting = false;
    dropSelection();
    editButtons_.cutCopy = false;
    patternButtons_ = {false, false};
}

// ---- the pointer's readout -------------------------------------------------------------------

void WindowController::ShowPointerCell() {
    if (!pointerCell_ || !board.contains(pointerCell_->first, pointerCell_->second)) return;
    const engine::CellRecord& c = board.cell(pointerCell_->first, pointerCell_->second);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = texts::kColorPrefix;
    for (int32_t v : {c.Red, c.Green, c.Blue}) {
        const unsigned b = static_cast<unsigned>(v) & 0xFFu;
        text += kDigits[b >> 4];
        text += kDigits[b & 0xFu];
    }
    window().setPanelText(platform::Panel::Colour, text);
}

// ---- dialogs -----------------------------------------------------------------------------------

std::string WindowController::DialogFolder() {
    const std::filesystem::path folder = std::filesystem::path(FileName).parent_path();
    return FileName.empty() || folder.empty() ? services_.files.currentDirectory() : folder.string();
}

std::string WindowController::ExportName(const std::string& extension) const {
    const std::string stem = std::filesystem::path(FileName).stem().string();
    return (stem.empty() ? std::string(texts::kExportNameUnnamed) : stem + texts::kExportNameSuffix) + "." + extension;
}

// ---- the calm mode -----------------------------------------------------------------------------

void WindowController::toggleCalm() {
    calm_ = !calm_;
    if (services_.settings) services_.settings->writeBool(platform::setting::kCalm, calm_);
    ReportSettingsFailure();
    if (!calm_) FlushCalmPicture();
}

bool WindowController::CalmHoldsPicture() {
    if (!calm_ || !session_.running()) return false;
    const std::chrono::nanoseconds now = window().clock();
    if (calmShownOnce_ && now - calmShown_ < kCalmInterval) return calmPending_ = true;
    calmShown_ = now;
    calmShownOnce_ = true;
    if (!calmPending_) return false;
    // The window's picture is older than the last changes: it takes the whole one.
    calmPending_ = false;
    window().showBoard(picBuffer);
    return true;
}

void WindowController::FlushCalmPicture() {
    if (!calmPending_ || closed_) return;
    calmPending_ = false;
    window().showBoard(picBuffer);
}

}  // namespace app
