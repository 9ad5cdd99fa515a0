// SPDX-License-Identifier: MIT
// The graph window: opening and closing it, recording the generations it
// shows, and writing what it shows as CSV, PNG or SVG, and the lineage
// behind it as a phylogeny and a Muller table.

#include <algorithm>

#include "analysis/statistics.h"
#include "app/window_controller.h"
#include "ui/texts.h"

namespace app {

using platform::GraphExport;
using platform::MessageIcon;

void WindowController::toggleGraph() {
    platform::GraphWindow* graph = services_.graph;
    if (!graph) return;
    if (graphOpen_) {
        graph->setVisible(false);
        graphClosed();
        return;
    }
    graphOpen_ = true;
    // The graph shows the founders' shares: the lineage is on while it is
    // open, and the start of its record is a start of the lineage, so that
    // its tables hold every founder from there on. A lineage that was off
    // starts as it comes on; one already on (the lineage view) starts afresh.
    const bool lineageWasOn = session_.lineageOn();
    session_.needLineage(true);
    if (lineageWasOn) session_.restartLineage();
    recorder_.follow(session_.recordedLineage());
    recorder_.restart(board);
    graph->seriesChanged();
    graph->setVisible(true);
}

void WindowController::graphClosed() {
    if (!graphOpen_) return;
    graphOpen_ = false;
    recorder_.follow(nullptr);
    session_.needLineage(false);
}

void WindowController::BoardReplaced() {
    if (!graphOpen_ || closed_) return;
    recorder_.restart(board);
    services_.graph->seriesChanged();
}

void WindowController::RecordGeneration() {
    if (!graphOpen_ || closed_) return;
    recorder_.generation(board, session_.run.RunMode == RunMode::SingleStep,
                         session_.run.RunMode == RunMode::Continuous && session_.pacer.rate() == kUnlimitedRate);
    services_.graph->seriesChanged();
}

void WindowController::graphExportRequested(GraphExport kind) {
    if (closed_ || !services_.graph) return;
    // Files are written while the board stands still: the click is answered
    // at once rather than leaving a save dialog to pop up later, unasked.
    if (session_.running()) {
        Message(tr(texts::kGraphExportWhileRunning), MessageIcon::Information);
        return;
    }
    struct Kind {
        const char* filter;
        const char* extension;
    };
    const Kind k = kind == GraphExport::Csv || kind == GraphExport::Lineage ? Kind{texts::kCsvFilterName, "csv"}
                   : kind == GraphExport::Png                               ? Kind{texts::kPngFilterName, "png"}
                                                                            : Kind{texts::kSvgFilterName, "svg"};
    platform::FileDialogRequest request;
    request.title = tr(texts::kSaveDialogTitle);
    request.filters = {platform::FileFilter{tr(k.filter), {std::string("*.") + k.extension}},
                       platform::FileFilter{tr(texts::kAllFilesFilterName), {"*"}}};
    request.defaultExtension = k.extension;
    request.initialDirectory = DialogFolder();
    request.initialName = ExportName(k.extension);
    const std::string path = services_.dialogs.saveFile(request);
    if (path.empty()) return;
    if (kind == GraphExport::Lineage) return exportLineage(path);

    std::vector<uint8_t> bytes;
    if (kind == GraphExport::Png) {
        bytes = services_.graph->picturePng();
    } else {
        const std::string text =
            kind == GraphExport::Csv ? recorder_.csv() : analysis::StatisticsSvg(recorder_.rows());
        bytes.assign(text.begin(), text.end());
    }
    writeGraphFile(path, bytes);
}

bool WindowController::writeGraphFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const platform::Result<void> written = services_.files.writeFile(path, bytes);
    if (!written)
        Message(tr(texts::kSaveFailed) + "\n" + path + "\n" + written.error().reason, MessageIcon::Exclamation);
    return static_cast<bool>(written);
}

// The two files kaleidomat-cli lineage -o PREFIX writes, PREFIX.phylogeny.csv
// and PREFIX.muller.csv, from the name chosen (either of them, or PREFIX
// with or without .csv). The dialog asked about replacing the file chosen;
// the other one is asked about here.
void WindowController::exportLineage(const std::string& chosen) {
    std::string prefix = chosen;
    for (const std::string ending : {".csv", ".phylogeny", ".muller"})
        if (prefix.size() > ending.size() && prefix.ends_with(ending)) prefix.resize(prefix.size() - ending.size());
    const int channel = std::clamp(services_.graph->founderChannel(), 0, engine::kChannels - 1);
    const std::pair<std::string, std::string> files[] = {
        {prefix + ".phylogeny.csv", recorder_.phylogenyCsv()},
        {prefix + ".muller.csv", recorder_.mullerCsv(channel)},
    };
    for (const auto& [path, text] : files) {
        if (path != chosen && services_.files.exists(path) &&
            Message("'" + path + tr(texts::kOverwriteSuffix), MessageIcon::Question, platform::MessageButtons::YesNo,
                    platform::MessageAnswer::No) != platform::MessageAnswer::Yes)
            return;
    }
    for (const auto& [path, text] : files)
        if (!writeGraphFile(path, std::vector<uint8_t>(text.begin(), text.end()))) return;
}

}  // namespace app
