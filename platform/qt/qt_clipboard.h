#pragma once

#include <QString>
#include <map>

#include "platform/services.h"

namespace platform::qt {

// The system clipboard through QClipboard. A registered format is a MIME
// format named exactly as registered; on X11 that name is the selection
// target, so every running copy (and other tools) sees the same format. The
// numbers handed out are local to this process and stand for the names.
class QtClipboard : public platform::Clipboard {
public:
    uint32_t registerFormat(const std::string& name) override;
    bool hasFormat(uint32_t format) override;
    ClipboardFailure put(uint32_t format, const std::vector<uint8_t>& data, const PixelImage* picture,
                         const std::string& text) override;
    ClipboardFailure get(uint32_t format, std::vector<uint8_t>& data) override;

    // The MIME format of a registered number, or an empty text.
    QString formatName(uint32_t format) const;

private:
    std::map<uint32_t, QString> names_;
};

}  // namespace platform::qt
