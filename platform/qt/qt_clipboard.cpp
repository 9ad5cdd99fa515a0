#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/qt/qt_strings.h"

namespace platform::qt {

namespace {
// Numbers of registered formats start here, as private formats do elsewhere.
constexpr uint32_t kFirstFormat = 0xC000;
}  // namespace

uint32_t QtClipboard::registerFormat(const std::string& name) {
    const QString format = toQString(name);
    if (format.isEmpty()) return 0;
    for (const auto& [number, known] : names_)
        if (known == format) return number;
    const uint32_t number = kFirstFormat + static_cast<uint32_t>(names_.size());
    names_.emplace(number, format);
    return number;
}

QString QtClipboard::formatName(uint32_t format) const {
    auto it = names_.find(format);
    return it == names_.end() ? QString() : it->second;
}

bool QtClipboard::hasFormat(uint32_t format) {
    const QString name = formatName(format);
    if (name.isEmpty()) return false;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(name);
}

ClipboardFailure QtClipboard::put(uint32_t format, const std::vector<uint8_t>& data, const PixelImage* picture,
                                  const std::string& text) {
    const QString name = formatName(format);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (name.isEmpty() || !clipboard) return ClipboardFailure::Open;
    auto* mime = new QMimeData;
    mime->setData(name, QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())));
    if (picture && picture->width > 0 && picture->height > 0 &&
        picture->pixels.size() >= static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height)) {
        // A deep copy: the caller's pixels are not ours to keep.
        const QImage view(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->width, picture->height,
                          picture->width * 4, QImage::Format_RGB32);
        mime->setImageData(view.copy());
    }
    if (!text.empty()) mime->setText(toQString(text));
    clipboard->setMimeData(mime);  // the clipboard owns it now
    return ClipboardFailure::None;
}

ClipboardFailure QtClipboard::get(uint32_t format, std::vector<uint8_t>& data) {
    const QString name = formatName(format);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return ClipboardFailure::Open;
    const QMimeData* mime = clipboard->mimeData();
    if (name.isEmpty() || !mime || !mime->hasFormat(name)) return ClipboardFailure::GetData;
    const QByteArray bytes = mime->data(name);
    if (bytes.isEmpty()) return ClipboardFailure::Size;
    data.assign(bytes.begin(), bytes.end());
    return ClipboardFailure::None;
}

}  // namespace platform::qt
