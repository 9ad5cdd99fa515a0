// SPDX-License-Identifier: MIT
// The graph window: opening and closing it, recording the generations it
// shows, and writing what it shows as CSV, PNG or SVG.

#include "analysis/statistics.h"
#include "app/form1.h"
#include "ui/texts.h"

namespace app {

using platform::GraphExport;
using platform::MessageIcon;

void Form1::mnuViewGraph_Click() {
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

void Form1::graphClosed() { graphOpen_ = false; }

void Form1::BoardReplaced() {
    if (!graphOpen_ || unloaded_) return;
    recorder_.restart(board);
    services_.graph->seriesChanged();
}

void Form1::RecordGeneration() {
    if (!graphOpen_ || unloaded_) return;
    recorder_.generation(board, run.RunMode == RunMode::SingleStep);
    services_.graph->seriesChanged();
}

void Form1::graphExportRequested(GraphExport kind) {
    // A file dialog would wait inside the run loop's yield: files are written
    // while the board stands still.
    if (unloaded_ || !services_.graph || run.RunMode == RunMode::Continuous) return;
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
    request.initialDirectory = services_.files.currentDirectory();
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
