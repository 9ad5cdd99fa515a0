// SPDX-License-Identifier: MIT
#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/qt/qt_strings.h"
#include "ui/texts.h"
#ifdef KALEIDOMAT_HAVE_XCB
#include "platform/qt/x11_selection.h"
#endif

namespace platform::qt {

#ifndef KALEIDOMAT_HAVE_XCB
class X11TextReader {};
#endif

QtClipboard::QtClipboard() = default;
QtClipboard::~QtClipboard() = default;

QString QtClipboard::cellFormat() { return toQString(texts::kClipboardFormatName); }

Result<void> QtClipboard::put(const ClipboardContents& contents) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* mime = new QMimeData;
    const bool block = !contents.cells.empty();
    if (block)
        mime->setData(cellFormat(), QByteArray(reinterpret_cast<const char*>(contents.cells.data()),
                                               static_cast<qsizetype>(contents.cells.size())));
    const PixelImage& picture = contents.picture;
    if (picture.width > 0 && picture.height > 0 &&
        picture.pixels.size() >= static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        // A deep copy: the caller's pixels are not ours to keep.
        const QImage view(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                          picture.width * 4, QImage::Format_RGB32);
        mime->setImageData(view.copy());
    }
    if (!contents.text.empty()) mime->setText(toQString(contents.text));
    clipboard->setMimeData(mime);  // the clipboard owns it now
    // Where the window system refuses to hand the clipboard over (on X11 the
    // selection owner cannot be set), Qt only warns; what the clipboard then
    // offers is still someone else's.
    // Without a cell block, the text put is what tells.
    const QMimeData* now = clipboard->mimeData();
    const bool ours = now && (block ? now->hasFormat(cellFormat())
                                    : !now->hasFormat(cellFormat()) && now->text() == toQString(contents.text));
    if (!ours) return Error{"The clipboard could not be taken over."};
    return {};
}

bool QtClipboard::hasCells() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(cellFormat());
}

Result<std::vector<uint8_t>> QtClipboard::getCells() {
    // The clipboard can change between asking and getting: its owner is
    // another program, which may have replaced it or ended.
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(cellFormat())) return Error{"The clipboard holds no cell block."};
    // An owner that does not answer in time gives no bytes. Qt tells no
    // size before it has fetched the whole block, so a block over the cap is
    // dropped once fetched, before it is copied: no block of cells comes near
    // it (200 x 200 cells take 160 kB).
    constexpr qsizetype kLargestBlock = 64 * 1024 * 1024;
    const QByteArray bytes = mime->data(cellFormat());
    if (bytes.size() > kLargestBlock) return Error{"The cell block is over 64 MiB.", true};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

bool QtClipboard::hasText() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasText();
}

std::string QtClipboard::getText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* mime = clipboard->mimeData();
    if (!mime || !mime->hasText()) return {};
    std::string text;
#ifdef KALEIDOMAT_HAVE_XCB
    // Another program's text on X11: its size is learnt before it is fetched.
    // Our own text is at hand in our own QMimeData.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !clipboard->ownsClipboard()) {
        if (!x11_) x11_ = std::make_unique<X11TextReader>();
        if (x11_->connected()) {
            X11TextReader::Fetched fetched = x11_->fetchText(kLargestClipboardText);
            text = std::move(fetched.text);
            return text.size() > kLargestClipboardText ? std::string() : text;
        }
    }
#endif
    // Elsewhere the window system tells no size: the text is fetched whole,
    // but a long one is dropped before it is copied again.
    const QString whole = mime->text();
    if (static_cast<std::size_t>(whole.size()) > kLargestClipboardText) return {};
    text = whole.toStdString();
    return text.size() > kLargestClipboardText ? std::string() : text;
}

}  // namespace platform::qt
