#pragma once

#include <QPixmap>
#include <string>

namespace platform::qt {

// The 16 x 16 toolbar picture of a button key, its silver (192, 192, 192)
// background turned into the transparent mask; a null pixmap for an unknown
// key. The pictures are XPM text under ui/icons/.
QPixmap toolbarPicture(const std::string& key);

}  // namespace platform::qt
