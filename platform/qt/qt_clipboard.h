// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "platform/services.h"

namespace platform::qt {

// The system clipboard through QClipboard. The cell block is a MIME format
// named exactly "Chromatessellator CellData": on X11 that name is the
// selection target, so every running copy (older ones too) and other tools
// find it there. The picture and the text go beside it in the same QMimeData.
class QtClipboard : public platform::Clipboard {
public:
    Result<void> put(const ClipboardContents& contents) override;
    bool hasCells() override;
    Result<std::vector<uint8_t>> getCells() override;
    std::string getText() override;

    // The MIME format of the cell block.
    static QString cellFormat();
};

}  // namespace platform::qt
