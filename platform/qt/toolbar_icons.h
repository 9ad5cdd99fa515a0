// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

namespace platform::qt {

// The 16 x 16 toolbar picture of that file of ui/icons/ (XPM text, built
// into the program as a resource), its silver (192, 192, 192) background
// turned into the transparent mask; a null pixmap for an unknown file.
QPixmap toolbarPicture(const char* file);

}  // namespace platform::qt
