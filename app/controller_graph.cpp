// SPDX-License-Identifier: MIT
// The graph window: opening and closing it, recording the generations it
// shows, and writing what it shows as CSV, PNG or SVG.

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
        graphOpen_ = false;
        graph->setVisible(false);
        return;
    }
    graphOpen_ = true;
    recorder_.restart(board);
    graph->seriesChanged();
    graph->setVisible(true);
}

void WindowController::graphClosed() { graphOpen_ = false; }

void WindowController::BoardReplaced() {
    if (!graphOpen_ || closed_) return;
    recorder_.restart(board);
    services_.graph->seriesChanged();
}

void WindowController::RecordGeneration() {
    if (!graphOpen_ || closed_) return;
    recorder_.generation(board, session_.run.RunMode == RunMode::SingleStep);
    services_.graph->seriesChanged();
}

void WindowController::graphExportRequested(GraphExport kind) {
    if (closed_ || !services_.graph) return;
    // Files are written while the board stands still: the click is answered
    // at once rather than leaving a save dialog to pop up later, unasked.
    if (session_.running()) {
        Message(texts::kGraphExportWhileRunning, MessageIcon::Information);
        return;
    }
    struct Kind {
        const char* filter;
        const char* extension;
    };
    const Kind k = kind == GraphExport::Csv   ? Kind{texts::kCsvFilterName, "csv"}
                   : kind == GraphExport::Png ? Kind{texts::kPngFilterName, "png"}
                                              : Kind{texts::kSvgFilterName, "svg"};
    platform::FileDialogRequest request;
    request.title = texts::kSaveDialogTitle;
    request.filters = {platform::FileFilter{k.filter, {std::string("*.") + k.extension}},
                       platform::FileFilter{texts::kAllFilesFilterName, {"*"}}};
    request.defaultExtension = k.extension;
    request.initialDirectory = DialogFolder();
    request.initialName = ExportName(k.extension);
    const std::string path = services_.dialogs.saveFile(request);
    if (path.empty()) return;

    std::vector<uint8_t> bytes;
    if (kind == GraphExport::Png) {
        bytes = services_.graph->picturePng();
    } else {
        const std::string text = kind == GraphExport::Csv ? analysis::StatisticsCsv(recorder_.rows(), true)
                                                          : analysis::StatisticsSvg(recorder_.rows());
        bytes.assign(text.begin(), text.end());
    }
    const platform::Result<void> written = services_.files.writeFile(path, bytes);
    if (!written)
        Message(std::string(texts::kSaveFailed) + "\n" + path + "\n" + written.error().reason, MessageIcon::Exclamation);
}

}  // namespace app
