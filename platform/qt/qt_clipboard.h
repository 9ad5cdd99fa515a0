// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

#include "platform/services.h"

namespace platform::qt {

class X11TextReader;

// The system clipboard through QClipboard. The cell block is a MIME format
// named exactly "Chromatessellator CellData": on X11 that name is the
// selection target, so every running copy (older ones too) and other tools
// find it there. The picture and the text go beside it in the same QMimeData.
//
// What the clipboard offers is told from the list of its formats alone
// (hasCells, hasText); a text is fetched only when asked for, and on X11 its
// size is learnt first, so that a text over the cap is neither fetched nor
// copied (see X11TextReader).
class QtClipboard : public platform::Clipboard {
public:
    QtClipboard();
    ~QtClipboard() override;

    Result<void> put(const ClipboardContents& contents) override;
    bool hasCells() override;
    Result<std::vector<uint8_t>> getCells() override;
    bool hasText() override;
    std::string getText() override;

    // The MIME format of the cell block.
    static QString cellFormat();

private:
    std::unique_ptr<X11TextReader> x11_;  // made at the first text fetched from another program on X11
};

}  // namespace platform::qt
